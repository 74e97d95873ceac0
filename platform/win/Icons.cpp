// Icons: the system icons and the program's icon (painted by our code, 32 x 32, alpha
// 255 inside and 0 outside with the matching AND mask), CopyImage, DrawIconEx,
// GetIconInfo, CreateIconIndirect.
#include <algorithm>
#include <cstring>
#include <map>
#include <mutex>

#include "platform/win/GdiInternal.h"
#include "platform/win/Resources.h"
#include "platform/win/Resources_Paint.h"
#include "platform/win/WindowIcon.h"

namespace vantrel::win {

bool IsProgramIconName(LPCSTR Name);

namespace {

using namespace paint;

constexpr int kIconSize = 32;
constexpr uintptr_t kProgramIconId = 1;

// Sets the mask from the alpha: transparent where alpha is 0.
// Paints a small glyph (3 x 5 cells of 3 px) centred on the icon.
void Glyph(Surface& S, const char* Rows[5], uint32_t C) {
  for (int r = 0; r < 5; ++r)
    for (int c = 0; c < 3; ++c)
      if (Rows[r][c] == '#') Fill(S, 11 + c * 3, 8 + r * 3, 14 + c * 3, 11 + r * 3, C);
}

std::shared_ptr<IconObject> Paint(uintptr_t Id) {
  auto I = std::make_shared<IconObject>(kIconSize, kIconSize);
  Surface& S = I->FColor;
  const uint32_t White = Px(255, 255, 255, 255);
  switch (Id) {
    case 32513: {  // hand / error: a red disc with a white cross
      Disk(S, 16, 16, 15, Px(200, 30, 30, 255));
      for (int d = -6; d <= 6; ++d)
        for (int w = -1; w <= 1; ++w) Dot(S, 16 + d + w, 16 + d, White), Dot(S, 16 + d + w, 16 - d, White);
      break;
    }
    case 32514: {  // question
      Disk(S, 16, 16, 15, Px(40, 90, 200, 255));
      const char* Q[5] = {"###", "  #", " ##", "   ", " # "};
      Glyph(S, Q, White);
      break;
    }
    case 32515: {  // exclamation: a yellow triangle
      for (int y = 2; y < 30; ++y) {
        int Half = (y - 2) / 2 + 1;
        Fill(S, 16 - Half, y, 16 + Half, y + 1, Px(240, 200, 20, 255));
      }
      Fill(S, 15, 10, 17, 22, Px(0, 0, 0, 255));
      Fill(S, 15, 24, 17, 27, Px(0, 0, 0, 255));
      break;
    }
    case 32516: {  // asterisk / information
      Disk(S, 16, 16, 15, Px(40, 90, 200, 255));
      const char* Info[5] = {" # ", "   ", "## ", " # ", "###"};
      Glyph(S, Info, White);
      break;
    }
    case 32518: {  // shield
      for (int y = 3; y < 29; ++y) {
        int Half = y < 18 ? 12 : 12 - (y - 18);
        Fill(S, 16 - Half, y, 16 + Half, y + 1, y < 16 ? Px(40, 90, 200, 255) : Px(240, 200, 20, 255));
      }
      break;
    }
    default: {  // application (and the program's icon): a small window
      Fill(S, 2, 4, 30, 28, Px(255, 255, 255, 255));
      Fill(S, 2, 4, 30, 9, Px(40, 90, 200, 255));
      Frame(S, 2, 4, 30, 28, Px(0, 0, 0, 255));
      if (Id == kProgramIconId) {
        // A play mark: the program converts video.
        for (int x = 0; x < 10; ++x) Line(S, 12 + x, 12 + x / 2, 12 + x, 24 - x / 2, Px(0, 140, 60, 255));
      }
      break;
    }
  }
  I->MaskFromAlpha();
  return I;
}

// Shared icons by id, made once and kept to exit.
HICON SharedIcon(uintptr_t Id) {
  static std::mutex Lock;  // guards Icons
  static std::map<uintptr_t, HICON> Icons;
  std::lock_guard<std::mutex> G(Lock);
  auto It = Icons.find(Id);
  if (It != Icons.end()) return It->second;
  auto I = Paint(Id);
  I->FShared = true;
  HICON H = RegisterAs<IconObject, HICON>(std::move(I), true);
  Icons.emplace(Id, H);
  return H;
}

bool HasAlpha(const Surface& S) {
  for (int y = 0; y < S.Height(); ++y)
    for (int x = 0; x < S.Width(); ++x)
      if (S.Row(y)[x] >> 24) return true;
  return false;
}

std::shared_ptr<IconObject> Scaled(const IconObject& Src, int W, int H) {
  auto I = std::make_shared<IconObject>(W, H);
  for (int y = 0; y < H; ++y) {
    int sy = static_cast<int>((2 * int64_t{y} + 1) * Src.Height() / (2 * int64_t{H}));
    for (int x = 0; x < W; ++x) {
      int sx = static_cast<int>((2 * int64_t{x} + 1) * Src.Width() / (2 * int64_t{W}));
      I->FColor.Row(y)[x] = Src.FColor.Row(sy)[sx];
      I->SetMask(x, y, Src.MaskAt(sx, sy));
    }
  }
  I->FIsIcon = Src.FIsIcon;
  I->FHotspot = Src.FHotspot;
  return I;
}

}  // namespace

HICON CreateIconFromArgb(int Width, int Height, const uint32_t* Pixels) {
  if (Width <= 0 || Height <= 0 || !Pixels) return nullptr;
  auto I = std::make_shared<IconObject>(Width, Height);
  for (int y = 0; y < Height; ++y)
    std::memcpy(I->FColor.Row(y), Pixels + static_cast<size_t>(y) * Width, static_cast<size_t>(Width) * 4);
  I->MaskFromAlpha();
  return RegisterAs<IconObject, HICON>(std::move(I));
}

bool IconPictureOf(HICON Icon, IconPicture& Out) {
  auto I = IconOf(Icon);
  if (!I || I->Width() <= 0 || I->Height() <= 0) return false;
  // Colour without alpha shows where the mask lets it through.
  const bool Alpha = HasAlpha(I->FColor);
  Out.Width = I->Width();
  Out.Height = I->Height();
  Out.Pixels.clear();
  Out.Pixels.reserve(static_cast<size_t>(Out.Width) * static_cast<size_t>(Out.Height));
  for (int y = 0; y < Out.Height; ++y)
    for (int x = 0; x < Out.Width; ++x) {
      const uint32_t C = I->FColor.Row(y)[x];
      Out.Pixels.push_back(Alpha ? C : (C & 0xFFFFFFu) | (I->MaskAt(x, y) ? 0u : 0xFF000000u));
    }
  return true;
}

}  // namespace vantrel::win

using namespace vantrel::win;

HICON LoadIcon(HINSTANCE Instance, LPCSTR Name) {
  if (!Name) return nullptr;
  if (!Instance) {
    if (!IS_INTRESOURCE(Name)) return nullptr;
    const uintptr_t Id = reinterpret_cast<uintptr_t>(Name);
    if (Id < 32512 || Id > 32518) return nullptr;
    return SharedIcon(Id == 32517 ? 32512 : Id);
  }
  return IsProgramIconName(Name) ? SharedIcon(kProgramIconId) : nullptr;
}

HICON CreateIconIndirect(const ICONINFO* Info) {
  if (!Info) return nullptr;
  auto Mask = BitmapOf(Info->hbmMask);
  if (!Mask) return nullptr;
  auto Color = BitmapOf(Info->hbmColor);
  Mask->Pull();
  if (Color) Color->Pull();
  const int W = Mask->Width();
  // A monochrome icon has no colour bitmap: its mask is twice as high (AND over XOR).
  const int H = Color ? Mask->Height() : Mask->Height() / 2;
  if (W <= 0 || H <= 0) return nullptr;
  auto I = std::make_shared<IconObject>(W, H);
  I->FIsIcon = Info->fIcon != 0;
  I->FHotspot = {static_cast<int>(Info->xHotspot), static_cast<int>(Info->yHotspot)};
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) {
      bool Transparent = (Mask->Pixels().Row(y)[x] & 0xFFFFFF) != 0;
      I->SetMask(x, y, Transparent);
      uint32_t C = 0;
      if (Color && x < Color->Width() && y < Color->Height()) C = Color->Pixels().Row(y)[x];
      else if (!Color) C = Mask->Pixels().Row(y + H)[x] & 0xFFFFFF;
      I->FColor.Row(y)[x] = C;
    }
  // Colour without alpha: opaque where the mask shows it.
  if (!HasAlpha(I->FColor))
    for (int y = 0; y < H; ++y)
      for (int x = 0; x < W; ++x)
        if (!I->MaskAt(x, y)) I->FColor.Row(y)[x] |= 0xFF000000u;
  return RegisterAs<IconObject, HICON>(std::move(I));
}

HICON CopyIcon(HICON Icon) {
  auto I = IconOf(Icon);
  if (!I) return nullptr;
  return RegisterAs<IconObject, HICON>(Scaled(*I, I->Width(), I->Height()));
}

BOOL DestroyIcon(HICON Icon) {
  auto I = IconOf(Icon);
  if (!I) return FALSE;
  if (I->FShared) return TRUE;
  return UnregisterGdiObject(Icon) ? TRUE : FALSE;
}

BOOL GetIconInfo(HICON Icon, ICONINFO* Info) {
  auto I = IconOf(Icon);
  if (!I || !Info) return FALSE;
  const int W = I->Width(), H = I->Height();
  auto Mask = BitmapObject::CreateDdb(W, H, 1);
  BITMAPINFO Bi{};
  Bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  Bi.bmiHeader.biWidth = W;
  Bi.bmiHeader.biHeight = -H;
  Bi.bmiHeader.biPlanes = 1;
  Bi.bmiHeader.biBitCount = 32;
  auto Color = BitmapObject::CreateDib(&Bi);
  if (!Mask || !Color) return FALSE;
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) {
      Mask->Pixels().Row(y)[x] = I->MaskAt(x, y) ? 0xFFFFFF : 0;
      Color->Pixels().Row(y)[x] = I->FColor.Row(y)[x];
    }
  Info->fIcon = I->FIsIcon ? TRUE : FALSE;
  Info->xHotspot = static_cast<DWORD>(I->FIsIcon ? W / 2 : I->FHotspot.X);
  Info->yHotspot = static_cast<DWORD>(I->FIsIcon ? H / 2 : I->FHotspot.Y);
  Info->hbmMask = RegisterAs<BitmapObject, HBITMAP>(std::move(Mask));
  Info->hbmColor = RegisterAs<BitmapObject, HBITMAP>(std::move(Color));
  return TRUE;
}

HANDLE CopyImage(HANDLE Image, UINT Type, int Width, int Height, UINT Flags) {
  if (Width < 0 || Height < 0) return nullptr;
  HANDLE Out = nullptr;
  if (Type == IMAGE_ICON || Type == IMAGE_CURSOR) {
    auto I = IconOf(static_cast<HICON>(Image));
    if (!I) return nullptr;
    int W = Width ? Width : (Flags & LR_DEFAULTSIZE) ? kIconSize : I->Width();
    int H = Height ? Height : (Flags & LR_DEFAULTSIZE) ? kIconSize : I->Height();
    Out = RegisterAs<IconObject, HICON>(Scaled(*I, W, H));
    if (Flags & LR_COPYDELETEORG) DestroyIcon(static_cast<HICON>(Image));
  } else if (Type == IMAGE_BITMAP) {
    auto B = BitmapOf(static_cast<HBITMAP>(Image));
    if (!B) return nullptr;
    B->Pull();
    const int W = Width ? Width : B->Width(), H = Height ? Height : B->Height();
    std::shared_ptr<BitmapObject> C;
    if (B->IsDib() || (Flags & LR_CREATEDIBSECTION)) {
      std::vector<uint8_t> Store(sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD));
      auto* Bi = reinterpret_cast<BITMAPINFO*>(Store.data());
      Bi->bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
      Bi->bmiHeader.biWidth = W;
      Bi->bmiHeader.biHeight = B->BottomUp() || !B->IsDib() ? H : -H;
      Bi->bmiHeader.biPlanes = 1;
      Bi->bmiHeader.biBitCount = static_cast<WORD>(B->IsDib() ? B->BitCount() : 32);
      const auto& T = B->ColorTable();
      if (B->IsDib() && !T.empty()) {
        Bi->bmiHeader.biClrUsed = static_cast<DWORD>(T.size());
        std::memcpy(Bi->bmiColors, T.data(), T.size() * sizeof(RGBQUAD));
      }
      C = BitmapObject::CreateDib(Bi);
    } else {
      C = BitmapObject::CreateDdb(W, H, B->BitCount());
    }
    if (!C) return nullptr;
    for (int y = 0; y < H; ++y) {
      int sy = static_cast<int>((2 * int64_t{y} + 1) * B->Height() / (2 * int64_t{H}));
      for (int x = 0; x < W; ++x) {
        int sx = static_cast<int>((2 * int64_t{x} + 1) * B->Width() / (2 * int64_t{W}));
        C->Pixels().Row(y)[x] = B->Pixels().Row(sy)[sx];
      }
    }
    C->Push();
    Out = RegisterAs<BitmapObject, HBITMAP>(std::move(C));
    if (Flags & LR_COPYDELETEORG) DeleteObject(Image);
  }
  return Out;
}

BOOL DrawIconEx(HDC Dc, int X, int Y, HICON Icon, int Width, int Height, UINT, HBRUSH FlickerFreeDraw, UINT Flags) {
  auto D = DcOf(Dc);
  auto I = IconOf(Icon);
  if (!D || !I) return FALSE;
  if (Flags & DI_DEFAULTSIZE) {
    if (!Width) Width = kIconSize;
    if (!Height) Height = kIconSize;
  }
  const int W = Width ? Width : I->Width(), H = Height ? Height : I->Height();
  if (W <= 0 || H <= 0) return FALSE;
  if (FlickerFreeDraw) {
    RECT R{X, Y, X + W, Y + H};
    FillRect(Dc, &R, FlickerFreeDraw);
  }
  Surface* S = D->Begin();
  if (!S) return TRUE;
  const bool Alpha = HasAlpha(I->FColor);
  const bool Image = Flags & DI_IMAGE, Mask = Flags & DI_MASK;
  const POINT O = D->ToSurface(POINT{X, Y});
  for (int y = 0; y < H; ++y) {
    const int sy = static_cast<int>((2 * int64_t{y} + 1) * I->Height() / (2 * int64_t{H}));
    for (int x = 0; x < W; ++x) {
      const int dx = O.X + x, dy = O.Y + y;
      if (!D->Visible(dx, dy)) continue;
      const int sx = static_cast<int>((2 * int64_t{x} + 1) * I->Width() / (2 * int64_t{W}));
      uint32_t& P = S->Row(dy)[dx];
      const uint32_t C = I->FColor.Row(sy)[sx];
      const bool Transparent = I->MaskAt(sx, sy);
      if (Alpha && Image) {
        const uint32_t A = C >> 24;
        if (!Mask) {
          P = C;
          continue;
        }
        uint32_t Out = 0;
        for (int Sh = 0; Sh < 24; Sh += 8) {
          const uint32_t s = (C >> Sh) & 0xFF, d = (P >> Sh) & 0xFF;
          Out |= ((s * A + d * (255 - A) + 127) / 255) << Sh;
        }
        const uint32_t DA = P >> 24;
        P = Out | ((A + (DA * (255 - A) + 127) / 255) << 24);
        continue;
      }
      if (Mask && !Transparent) P &= 0xFF000000u;  // AND with the mask's 0 bits
      if (Mask && Transparent && !Image) continue;
      if (Image) P ^= (C & 0xFFFFFF);
    }
  }
  D->Commit();
  return TRUE;
}

BOOL DrawIcon(HDC Dc, int X, int Y, HICON Icon) { return DrawIconEx(Dc, X, Y, Icon, 0, 0, 0, nullptr, DI_NORMAL); }
