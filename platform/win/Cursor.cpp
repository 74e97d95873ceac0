// Cursors: the standard shapes painted by our code (32 x 32, white with a black outline),
// cursor files, and the current shape.
#include "platform/win/Cursor.h"

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <mutex>
#include <vector>

#include "platform/win/GdiInternal.h"
#include "platform/win/Input.h"
#include "platform/win/Resources_Paint.h"
#include "platform/win/WindowManager.h"

namespace vantrel::win {

namespace {

using namespace paint;

constexpr int kSize = 32;
constexpr DWORD kErrorInvalidData = 13;
constexpr DWORD kErrorFileNotFound = 2;
constexpr DWORD kCursorAccessDenied = 5;
constexpr DWORD kErrorResourceNameNotFound = 1814;
const uint32_t Black = Px(0, 0, 0, 255);
const uint32_t White = Px(255, 255, 255, 255);

// A thick line: the black outline first, then the white core.
void Stroke(Surface& S, int X0, int Y0, int X1, int Y1) {
  for (int D = -1; D <= 1; ++D) Line(S, X0 + D, Y0, X1 + D, Y1, Black), Line(S, X0, Y0 + D, X1, Y1 + D, Black);
}

// A line with an arrow head at each end.
void DoubleArrow(Surface& S, int X0, int Y0, int X1, int Y1) {
  Stroke(S, X0, Y0, X1, Y1);
  const int DX = (X1 > X0) - (X1 < X0), DY = (Y1 > Y0) - (Y1 < Y0);
  for (int K = 1; K <= 4; ++K) {
    // Heads: short strokes across the line near each end.
    Line(S, X0 + DX * K - DY * K, Y0 + DY * K + DX * K, X0 + DX * K + DY * K, Y0 + DY * K - DX * K, Black);
    Line(S, X1 - DX * K - DY * K, Y1 - DY * K + DX * K, X1 - DX * K + DY * K, Y1 - DY * K - DX * K, Black);
  }
}

void Arrow(Surface& S) {
  for (int Y = 0; Y < 17; ++Y) {
    const int W = Y * 2 / 3 + 1;
    Fill(S, 0, Y, W, Y + 1, White);
    Dot(S, 0, Y, Black), Dot(S, W - 1, Y, Black);
  }
  Fill(S, 0, 16, 12, 17, Black);
  Fill(S, 5, 17, 9, 23, White);
  Frame(S, 4, 16, 10, 24, Black);
}

struct StandardShape {
  POINT Hotspot;
  void (*Paint)(Surface&);
};

const std::map<uintptr_t, StandardShape>& Shapes() {
  static const std::map<uintptr_t, StandardShape> M = {
      {32512, {{0, 0}, Arrow}},
      {32513,
       {{16, 16},
        [](Surface& S) {
          Fill(S, 15, 5, 18, 28, Black);
          Fill(S, 11, 4, 22, 6, Black);
          Fill(S, 11, 27, 22, 29, Black);
          Fill(S, 16, 6, 17, 27, White);
        }}},
      {32514,
       {{16, 16},
        [](Surface& S) {
          for (int Y = 4; Y < 28; ++Y) {
            const int H = Y < 16 ? 12 - (Y - 4) : Y - 16 + 1;
            Fill(S, 16 - H, Y, 16 + H, Y + 1, Black);
            if (H > 1) Fill(S, 17 - H, Y, 15 + H, Y + 1, White);
          }
        }}},
      {32515, {{16, 16}, [](Surface& S) { Stroke(S, 16, 4, 16, 28), Stroke(S, 4, 16, 28, 16); }}},
      {32516, {{16, 0}, [](Surface& S) { DoubleArrow(S, 16, 1, 16, 30), Fill(S, 13, 26, 20, 31, Px(0, 0, 0, 0)); }}},
      {32640, {{16, 16}, [](Surface& S) { DoubleArrow(S, 16, 2, 16, 29), DoubleArrow(S, 2, 16, 29, 16); }}},
      {32641, {{16, 16}, [](Surface& S) { Fill(S, 8, 8, 24, 24, White), Frame(S, 8, 8, 24, 24, Black); }}},
      {32642, {{16, 16}, [](Surface& S) { DoubleArrow(S, 5, 5, 26, 26); }}},
      {32643, {{16, 16}, [](Surface& S) { DoubleArrow(S, 26, 5, 5, 26); }}},
      {32644, {{16, 16}, [](Surface& S) { DoubleArrow(S, 2, 16, 29, 16); }}},
      {32645, {{16, 16}, [](Surface& S) { DoubleArrow(S, 16, 2, 16, 29); }}},
      {32646, {{16, 16}, [](Surface& S) { DoubleArrow(S, 16, 2, 16, 29), DoubleArrow(S, 2, 16, 29, 16); }}},
      {32648,
       {{16, 16},
        [](Surface& S) {
          Disk(S, 16, 16, 12, Black), Disk(S, 16, 16, 9, White);
          Stroke(S, 9, 9, 23, 23);
        }}},
      {32649,
       {{8, 0},
        [](Surface& S) {
          Fill(S, 6, 0, 11, 16, Black), Fill(S, 7, 1, 10, 16, White);
          Fill(S, 4, 12, 22, 26, Black), Fill(S, 5, 13, 21, 25, White);
        }}},
      {32650,
       {{0, 0},
        [](Surface& S) {
          Arrow(S);
          Disk(S, 24, 24, 6, Black), Disk(S, 24, 24, 4, White);
        }}},
      {32651,
       {{0, 0},
        [](Surface& S) {
          Arrow(S);
          Frame(S, 18, 4, 26, 12, Black), Fill(S, 21, 12, 23, 16, Black), Fill(S, 21, 18, 23, 20, Black);
        }}},
  };
  return M;
}

std::mutex& SharedLock() {
  static std::mutex M;
  return M;
}

// Shared standard cursors by id, made once and kept to exit; and the reverse lookup.
std::map<uintptr_t, HCURSOR>& SharedCursors() {
  static std::map<uintptr_t, HCURSOR> M;
  return M;
}

uint16_t U16(const uint8_t* P) { return static_cast<uint16_t>(P[0] | (P[1] << 8)); }
uint32_t U32(const uint8_t* P) { return P[0] | (P[1] << 8) | (P[2] << 16) | (static_cast<uint32_t>(P[3]) << 24); }

// One DIB image of a cursor file: colour rows, then the AND mask, both bottom-up and
// padded to 4 bytes; the header's height counts both.
std::shared_ptr<IconObject> DecodeImage(const uint8_t* P, size_t Size, POINT Hotspot) {
  if (Size < 40 || U32(P) < 40) return nullptr;
  const uint32_t HeaderSize = U32(P);
  const int32_t W = static_cast<int32_t>(U32(P + 4));
  const int32_t H2 = static_cast<int32_t>(U32(P + 8));
  const int Bits = U16(P + 14);
  const uint32_t Compression = U32(P + 16);
  uint32_t ClrUsed = U32(P + 32);
  if (W <= 0 || W > 256 || H2 <= 0 || H2 > 512 || Compression != 0) return nullptr;
  if (Bits != 1 && Bits != 4 && Bits != 8 && Bits != 24 && Bits != 32) return nullptr;
  const int H = H2 / 2;
  if (H <= 0) return nullptr;
  if (Bits <= 8 && ClrUsed == 0) ClrUsed = 1u << Bits;
  if (Bits > 8) ClrUsed = 0;
  const size_t Palette = HeaderSize, ColorRows = Palette + ClrUsed * 4;
  const size_t XorStride = ((static_cast<size_t>(W) * Bits + 31) / 32) * 4;
  const size_t AndStride = ((static_cast<size_t>(W) + 31) / 32) * 4;
  const size_t AndRows = ColorRows + XorStride * H;
  if (HeaderSize > Size || AndRows + AndStride * H > Size) return nullptr;
  auto I = std::make_shared<IconObject>(W, H);
  I->FIsIcon = false;
  I->FHotspot = Hotspot;
  bool AnyAlpha = false;
  for (int Y = 0; Y < H; ++Y) {
    const uint8_t* Row = P + ColorRows + XorStride * (H - 1 - Y);
    const uint8_t* Mask = P + AndRows + AndStride * (H - 1 - Y);
    for (int X = 0; X < W; ++X) {
      uint32_t C;
      if (Bits == 32) {
        C = U32(Row + X * 4);
      } else if (Bits == 24) {
        C = Row[X * 3] | (Row[X * 3 + 1] << 8) | (Row[X * 3 + 2] << 16);
      } else {
        const int PerByte = 8 / Bits;
        const int Index = (Row[X / PerByte] >> ((PerByte - 1 - X % PerByte) * Bits)) & ((1 << Bits) - 1);
        const uint8_t* Q = P + Palette + static_cast<size_t>(Index) * 4;
        C = static_cast<uint32_t>(Index) < ClrUsed ? (Q[0] | (Q[1] << 8) | (Q[2] << 16)) : 0;
      }
      if (C >> 24) AnyAlpha = true;
      const bool Transparent = (Mask[X / 8] >> (7 - X % 8)) & 1;
      I->FColor.Row(Y)[X] = C;
      I->SetMask(X, Y, Transparent);
    }
  }
  // Without an alpha channel the mask says what shows.
  for (int Y = 0; Y < H; ++Y)
    for (int X = 0; X < W; ++X) {
      uint32_t& C = I->FColor.Row(Y)[X];
      if (!AnyAlpha) C = I->MaskAt(X, Y) ? 0 : (C | 0xFF000000u);
    }
  if (AnyAlpha) I->MaskFromAlpha();
  return I;
}

}  // namespace

uintptr_t StandardCursorId(HCURSOR Cursor) {
  std::lock_guard G(SharedLock());
  for (auto& [Id, H] : SharedCursors())
    if (H == Cursor) return Id;
  return 0;
}

}  // namespace vantrel::win

using namespace vantrel::win;

HCURSOR LoadCursor(HINSTANCE Instance, LPCSTR Name) {
  if (Instance || !Name || !IS_INTRESOURCE(Name)) {
    SetLastError(kErrorResourceNameNotFound);
    return nullptr;
  }
  const uintptr_t Id = reinterpret_cast<uintptr_t>(Name);
  auto It = Shapes().find(Id);
  if (It == Shapes().end()) {
    SetLastError(kErrorResourceNameNotFound);
    return nullptr;
  }
  std::lock_guard G(SharedLock());
  auto& Shared = SharedCursors();
  if (auto S = Shared.find(Id); S != Shared.end()) return S->second;
  auto I = std::make_shared<IconObject>(kSize, kSize);
  I->FIsIcon = false;
  I->FHotspot = It->second.Hotspot;
  It->second.Paint(I->FColor);
  I->MaskFromAlpha();
  I->FShared = true;
  HCURSOR H = RegisterAs<IconObject, HICON>(std::move(I), true);
  Shared.emplace(Id, H);
  return H;
}

HCURSOR CreateCursorFromFileData(const void* Data, size_t Size) {
  const auto* P = static_cast<const uint8_t*>(Data);
  if (!P || Size < 6 || U16(P) != 0 || (U16(P + 2) != 2 && U16(P + 2) != 1)) {
    SetLastError(kErrorInvalidData);
    return nullptr;
  }
  const bool IsCursor = U16(P + 2) == 2;
  const int Count = U16(P + 4);
  if (Count == 0 || 6 + static_cast<size_t>(Count) * 16 > Size) {
    SetLastError(kErrorInvalidData);
    return nullptr;
  }
  // The entry whose size is nearest 32 x 32.
  int Best = -1, BestDist = 0;
  for (int K = 0; K < Count; ++K) {
    const uint8_t* E = P + 6 + K * 16;
    const int W = E[0] ? E[0] : 256;
    const int Dist = std::abs(W - kSize);
    if (Best < 0 || Dist < BestDist) Best = K, BestDist = Dist;
  }
  const uint8_t* E = P + 6 + Best * 16;
  const uint32_t Bytes = U32(E + 8), Offset = U32(E + 12);
  if (Offset > Size || Bytes > Size - Offset) {
    SetLastError(kErrorInvalidData);
    return nullptr;
  }
  const int W = E[0] ? E[0] : 256, H = E[1] ? E[1] : 256;
  const POINT Hotspot = IsCursor ? POINT{U16(E + 4), U16(E + 6)} : POINT{W / 2, H / 2};
  auto I = DecodeImage(P + Offset, Bytes, Hotspot);
  if (!I) {
    SetLastError(kErrorInvalidData);
    return nullptr;
  }
  return RegisterAs<IconObject, HICON>(std::move(I));
}

HCURSOR LoadCursorFromFile(LPCSTR FileName) {
  if (!FileName) {
    SetLastError(kErrorFileNotFound);
    return nullptr;
  }
  // A folder opens as a stream on Linux and then fails to read; it is no file at all.
  std::error_code Ec;
  if (std::filesystem::is_directory(FileName, Ec)) {
    SetLastError(kCursorAccessDenied);
    return nullptr;
  }
  std::ifstream F(FileName, std::ios::binary);
  if (!F) {
    SetLastError(kErrorFileNotFound);
    return nullptr;
  }
  std::vector<uint8_t> Data;
  try {
    Data.assign(std::istreambuf_iterator<char>(F), std::istreambuf_iterator<char>());
  } catch (const std::ios_base::failure&) {
    // The stream buffer raises on a failing read (a vanished or unreadable device).
    SetLastError(kCursorAccessDenied);
    return nullptr;
  }
  return CreateCursorFromFileData(Data.data(), Data.size());
}

HCURSOR CopyCursor(HCURSOR Cursor) { return CopyIcon(Cursor); }

BOOL DestroyCursor(HCURSOR Cursor) { return DestroyIcon(Cursor); }

HCURSOR SetCursor(HCURSOR Cursor) {
  WindowManager* M = OnGuiThread() ? WindowManager::Instance() : nullptr;
  return M ? M->Input().SetCursorShape(Cursor) : nullptr;
}

HCURSOR GetCursor() {
  WindowManager* M = OnGuiThread() ? WindowManager::Instance() : nullptr;
  return M ? M->Input().Cursor() : nullptr;
}
