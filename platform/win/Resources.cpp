// The program's resource table: named bitmaps painted by our code on first use and kept
// as packed DIBs (BITMAPINFOHEADER + 24 bpp bottom-up rows), as a resource compiler
// would have stored them. Backgrounds are magenta, the key colour of the glyphs.
#include "platform/win/Resources.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <memory>
#include <mutex>
#include <string>
#include <strings.h>
#include <vector>

#include "platform/win/GdiInternal.h"
#include "platform/win/Resources_Paint.h"

namespace vantrel::win {

namespace {

using namespace paint;

constexpr uint32_t kKey = Px(255, 0, 255);
constexpr uint32_t kBlack = Px(0, 0, 0);
constexpr uint32_t kWhite = Px(255, 255, 255);
constexpr uint32_t kGrey = Px(128, 128, 128);
constexpr uint32_t kSilver = Px(192, 192, 192);
constexpr uint32_t kYellow = Px(255, 210, 80);
constexpr uint32_t kDarkYellow = Px(176, 128, 0);
constexpr uint32_t kGreen = Px(0, 160, 0);
constexpr uint32_t kBlue = Px(0, 64, 192);

// A folder in rows 1..13, leaving the bottom row to the background.
void Folder(Surface& S, bool Open) {
  Fill(S, 1, 2, 7, 4, kYellow);
  Frame(S, 0, 1, 8, 4, kDarkYellow);
  Fill(S, 1, 4, 15, 13, kYellow);
  Frame(S, 0, 3, 16, 14, kDarkYellow);
  if (Open) {
    Fill(S, 3, 7, 16, 13, Px(255, 236, 160));
    Line(S, 3, 7, 15, 7, kDarkYellow);
    Line(S, 3, 7, 1, 12, kDarkYellow);
  }
}

void Drive(Surface& S, uint32_t Body, uint32_t Light) {
  Fill(S, 1, 6, 15, 12, Body);
  Frame(S, 0, 5, 16, 13, kBlack);
  Fill(S, 11, 9, 13, 10, Light);
}

struct Entry {
  const char* Name;
  int Width, Height;
  void (*Paint)(Surface&);
};

const Entry kBitmaps[] = {
    {"SP_FLOPPY", 16, 16, [](Surface& S) {
       Fill(S, 2, 1, 14, 15, Px(40, 40, 40));
       Fill(S, 4, 1, 12, 6, kSilver);
       Fill(S, 9, 2, 11, 5, Px(40, 40, 40));
       Fill(S, 4, 9, 12, 15, kWhite);
     }},
    {"SP_HARD", 16, 16, [](Surface& S) { Drive(S, kSilver, kGreen); }},
    {"SP_NETWORK", 16, 16, [](Surface& S) {
       Drive(S, kSilver, kGreen);
       Line(S, 8, 13, 8, 15, kBlack);
       Line(S, 2, 15, 14, 15, kBlack);
     }},
    {"SP_CDROM", 16, 16, [](Surface& S) {
       Disk(S, 8, 8, 7.5, kSilver);
       Disk(S, 8, 8, 5, Px(200, 220, 255));
       Disk(S, 8, 8, 1.5, kKey);
     }},
    {"SP_RAM", 16, 11, [](Surface& S) {
       Fill(S, 0, 1, 16, 8, kGreen);
       for (int x = 2; x < 14; x += 4) Fill(S, x, 3, x + 2, 6, kBlack);
       for (int x = 1; x < 16; x += 2) Dot(S, x, 9, Px(200, 160, 0));
     }},
    {"SP_OPENFOLDER", 16, 15, [](Surface& S) { Folder(S, true); }},
    {"SP_CLOSEDFOLDER", 16, 15, [](Surface& S) { Folder(S, false); }},
    {"SP_CURRENTFOLDER", 16, 15, [](Surface& S) {
       Folder(S, true);
       Fill(S, 6, 9, 10, 13, kBlue);
     }},
    {"SP_BACK", 16, 16, [](Surface& S) {
       for (int i = 0; i < 6; ++i) Line(S, 2 + i, 8 - i, 2 + i, 8 + i, kGreen);
       Fill(S, 8, 6, 14, 11, kGreen);
     }},
    {"SP_UP", 16, 16, [](Surface& S) {
       Folder(S, false);
       for (int i = 0; i < 4; ++i) Line(S, 8 - i, 6 + i, 8 + i, 6 + i, kBlack);
       Fill(S, 7, 10, 10, 13, kBlack);
     }},
    {"SP_NEWFOLDER", 16, 16, [](Surface& S) {
       Folder(S, false);
       Line(S, 12, 0, 12, 6, kYellow);
       Line(S, 9, 3, 15, 3, kYellow);
     }},
    {"SP_LVSTYLE", 16, 16, [](Surface& S) {
       for (int y = 2; y < 14; y += 4) {
         Fill(S, 1, y, 4, y + 3, kBlue);
         Fill(S, 6, y + 1, 15, y + 2, kBlack);
       }
     }},
};

struct Loaded {
  std::once_flag Once;
  std::vector<uint8_t> Data;  // packed DIB
};

Loaded& Slot(size_t Index) {
  static Loaded Slots[std::size(kBitmaps)];
  return Slots[Index];
}

bool SameName(LPCSTR A, const char* B) {
  if (IS_INTRESOURCE(A)) return false;
  return strcasecmp(A, B) == 0;
}

// Resource handles point at the entries of our tables: bitmaps first, then icons.
const char* const kIconNames[] = {"MAINICON"};

std::unique_ptr<Surface> PaintBitmap(const Entry& E) {
  auto S = std::make_unique<Surface>(E.Width, E.Height, false);
  Fill(*S, 0, 0, E.Width, E.Height, kKey);
  E.Paint(*S);
  return S;
}

const std::vector<uint8_t>& BitmapData(size_t Index) {
  Loaded& L = Slot(Index);
  std::call_once(L.Once, [&] {
    const Entry& E = kBitmaps[Index];
    auto S = PaintBitmap(E);
    BITMAPINFOHEADER H{};
    H.biSize = sizeof H;
    H.biWidth = E.Width;
    H.biHeight = E.Height;
    H.biPlanes = 1;
    H.biBitCount = 24;
    H.biCompression = BI_RGB;
    const int Row = DibRowBytes(E.Width, 24);
    H.biSizeImage = static_cast<DWORD>(Row * E.Height);
    L.Data.resize(sizeof H + H.biSizeImage);
    std::memcpy(L.Data.data(), &H, sizeof H);
    for (int y = 0; y < E.Height; ++y) {
      uint8_t* Out = L.Data.data() + sizeof H + static_cast<size_t>(E.Height - 1 - y) * Row;
      for (int x = 0; x < E.Width; ++x) {
        uint32_t P = S->Row(y)[x];
        Out[3 * x] = static_cast<uint8_t>(P), Out[3 * x + 1] = static_cast<uint8_t>(P >> 8),
                Out[3 * x + 2] = static_cast<uint8_t>(P >> 16);
      }
    }
  });
  return L.Data;
}

int FindBitmap(LPCSTR Name) {
  if (!Name) return -1;
  for (size_t i = 0; i < std::size(kBitmaps); ++i)
    if (SameName(Name, kBitmaps[i].Name)) return static_cast<int>(i);
  return -1;
}

HRSRC HandleOf(size_t Index) { return reinterpret_cast<HRSRC>(static_cast<uintptr_t>(0x7000 + Index)); }
long IndexOf(HRSRC R) {
  auto V = static_cast<long>(reinterpret_cast<uintptr_t>(R)) - 0x7000;
  return V >= 0 && V < static_cast<long>(std::size(kBitmaps)) ? V : -1;
}

}  // namespace

// The program's own icons by resource name (Icons.cpp asks).
bool IsProgramIconName(LPCSTR Name) {
  if (!Name) return false;
  if (IS_INTRESOURCE(Name)) return reinterpret_cast<uintptr_t>(Name) == 1;
  for (const char* N : kIconNames)
    if (SameName(Name, N)) return true;
  return false;
}

}  // namespace vantrel::win

using namespace vantrel::win;

HRSRC FindResource(HMODULE, LPCSTR Name, LPCSTR Type) {
  if (Type != RT_BITMAP) return nullptr;
  int I = FindBitmap(Name);
  return I < 0 ? nullptr : HandleOf(static_cast<size_t>(I));
}

HGLOBAL LoadResource(HMODULE, HRSRC Resource) {
  long I = IndexOf(Resource);
  if (I < 0) return nullptr;
  return const_cast<uint8_t*>(BitmapData(static_cast<size_t>(I)).data());
}

LPVOID LockResource(HGLOBAL Data) { return Data; }

DWORD SizeofResource(HMODULE, HRSRC Resource) {
  long I = IndexOf(Resource);
  return I < 0 ? 0 : static_cast<DWORD>(BitmapData(static_cast<size_t>(I)).size());
}

BOOL FreeResource(HGLOBAL) { return FALSE; }

HBITMAP LoadBitmap(HINSTANCE, LPCSTR Name) {
  int I = FindBitmap(Name);
  if (I < 0) return nullptr;
  const auto& Data = BitmapData(static_cast<size_t>(I));
  const auto* Info = reinterpret_cast<const BITMAPINFO*>(Data.data());
  auto B = BitmapObject::CreateDdb(Info->bmiHeader.biWidth, Info->bmiHeader.biHeight, 32);
  if (!B) return nullptr;
  HBITMAP H = RegisterAs<BitmapObject, HBITMAP>(std::move(B));
  SetDIBits(nullptr, H, 0, static_cast<UINT>(Info->bmiHeader.biHeight), Data.data() + sizeof(BITMAPINFOHEADER), Info,
            DIB_RGB_COLORS);
  return H;
}
