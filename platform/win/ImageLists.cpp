// Image-list handles: the images live in a GDI-table object; drawing composes each image
// (mask, background colour, highlight blend) and blends it onto the DC.
#include "platform/win/ImageLists.h"

#include <algorithm>
#include <memory>

#include "platform/win/GdiObjects.h"
#include "platform/win/PixelBlend.h"
#include "platform/win/Resources.h"
#include "platform/win/SysColors.h"
#include "platform/win/WindowErrors.h"

namespace vantrel::win {

namespace {

constexpr DWORD OBJ_IMAGELIST_KIND = 0x101;

class ImageListObject : public GdiObject {
 public:
  static bool IsKind(DWORD K) { return K == OBJ_IMAGELIST_KIND; }
  ImageListObject() : GdiObject(OBJ_IMAGELIST_KIND) {}
  ImageListContent Content;
};

std::shared_ptr<ImageListObject> ImageListFind(HIMAGELIST List) {
  auto Obj = GdiCast<ImageListObject>(List);
  if (!Obj) SetLastError(ERROR_INVALID_PARAMETER);
  return Obj;
}

uint32_t ImageListRgb(COLORREF C) { return (uint32_t{GetRValue(C)} << 16) | (uint32_t{GetGValue(C)} << 8) | GetBValue(C); }

// The pixels of a bitmap as 0x00RRGGBB rows, top-down.
bool ImageListReadBitmap(HBITMAP Bitmap, int& W, int& H, std::vector<uint32_t>& Out) {
  BITMAP Info{};
  if (!Bitmap || !GetObject(Bitmap, sizeof Info, &Info)) return false;
  W = Info.bmWidth;
  H = std::abs(Info.bmHeight);
  BITMAPINFO Bi{};
  Bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  Bi.bmiHeader.biWidth = W;
  Bi.bmiHeader.biHeight = -H;
  Bi.bmiHeader.biPlanes = 1;
  Bi.bmiHeader.biBitCount = 32;
  Out.assign(static_cast<size_t>(W) * H, 0);
  HDC Dc = CreateCompatibleDC(nullptr);
  const int Lines = GetDIBits(Dc, Bitmap, 0, static_cast<UINT>(H), Out.data(), &Bi, DIB_RGB_COLORS);
  DeleteDC(Dc);
  for (uint32_t& P : Out) P &= 0xFFFFFF;
  return Lines == H;
}

int ImageListAddImages(HIMAGELIST List, HBITMAP Image, HBITMAP Mask, bool UseColor, COLORREF MaskColor) {
  auto Obj = ImageListFind(List);
  if (!Obj) return -1;
  ImageListContent& C = Obj->Content;
  int W = 0, H = 0, MW = 0, MH = 0;
  std::vector<uint32_t> Pixels, MaskPixels;
  if (!ImageListReadBitmap(Image, W, H, Pixels)) return -1;
  const bool HasMask = !UseColor && Mask && ImageListReadBitmap(Mask, MW, MH, MaskPixels);
  const uint32_t Key = ImageListRgb(MaskColor);
  const int First = static_cast<int>(C.Images.size());
  const int Count = std::max(1, W / C.Width);
  for (int I = 0; I < Count; ++I) {
    ImageListImage Img;
    Img.Pixels.assign(static_cast<size_t>(C.Width) * C.Height, 0);
    Img.Mask.assign(Img.Pixels.size(), 1);
    for (int Y = 0; Y < C.Height && Y < H; ++Y)
      for (int X = 0; X < C.Width; ++X) {
        const int SX = I * C.Width + X;
        if (SX >= W) break;
        const size_t At = static_cast<size_t>(Y) * C.Width + X;
        const uint32_t P = Pixels[static_cast<size_t>(Y) * W + SX];
        bool Transparent = false;
        if (UseColor)
          Transparent = P == Key;
        else if (HasMask && SX < MW && Y < MH)
          Transparent = MaskPixels[static_cast<size_t>(Y) * MW + SX] != 0;
        Img.Pixels[At] = Transparent && UseColor ? 0 : P;
        Img.Mask[At] = Transparent ? 1 : 0;
      }
    C.Images.push_back(std::move(Img));
  }
  return First;
}

uint32_t ImageListBlend(uint32_t P, uint32_t With, int Percent) {
  uint32_t R = 0;
  for (int Shift = 0; Shift < 24; Shift += 8) {
    const uint32_t A = (P >> Shift) & 0xFF, B = (With >> Shift) & 0xFF;
    R |= ((A * (100 - Percent) + B * Percent + 50) / 100) << Shift;
  }
  return R;
}

}  // namespace

ImageListContent* ImageListContentOf(HIMAGELIST List) {
  auto Obj = GdiCast<ImageListObject>(List);
  return Obj ? &Obj->Content : nullptr;
}

}  // namespace vantrel::win

using vantrel::win::ImageListContent;
using vantrel::win::ImageListContentOf;

HIMAGELIST ImageList_Create(int CX, int CY, UINT Flags, int, int) {
  if (CX <= 0 || CY <= 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto Obj = std::make_shared<vantrel::win::ImageListObject>();
  Obj->Content.Width = CX;
  Obj->Content.Height = CY;
  Obj->Content.Masked = (Flags & ILC_MASK) != 0;
  return vantrel::win::RegisterAs<vantrel::win::ImageListObject, HIMAGELIST>(std::move(Obj));
}

BOOL ImageList_Destroy(HIMAGELIST List) {
  if (!vantrel::win::ImageListFind(List)) return FALSE;
  return vantrel::win::UnregisterGdiObject(List) ? TRUE : FALSE;
}

int ImageList_Add(HIMAGELIST List, HBITMAP Image, HBITMAP Mask) {
  return vantrel::win::ImageListAddImages(List, Image, Mask, false, 0);
}

int ImageList_AddMasked(HIMAGELIST List, HBITMAP Image, COLORREF MaskColor) {
  return vantrel::win::ImageListAddImages(List, Image, nullptr, true, MaskColor);
}

BOOL ImageList_Remove(HIMAGELIST List, int Index) {
  ImageListContent* C = ImageListContentOf(List);
  if (!C) return FALSE;
  if (Index == -1) {
    C->Images.clear();
    return TRUE;
  }
  if (Index < 0 || Index >= static_cast<int>(C->Images.size())) return FALSE;
  C->Images.erase(C->Images.begin() + Index);
  return TRUE;
}

int ImageList_GetImageCount(HIMAGELIST List) {
  ImageListContent* C = ImageListContentOf(List);
  return C ? static_cast<int>(C->Images.size()) : 0;
}

BOOL ImageList_GetIconSize(HIMAGELIST List, int* CX, int* CY) {
  ImageListContent* C = ImageListContentOf(List);
  if (!C || !CX || !CY) return FALSE;
  *CX = C->Width;
  *CY = C->Height;
  return TRUE;
}

COLORREF ImageList_SetBkColor(HIMAGELIST List, COLORREF Color) {
  ImageListContent* C = ImageListContentOf(List);
  if (!C) return CLR_NONE;
  const COLORREF Old = C->BkColor;
  C->BkColor = Color;
  return Old;
}

COLORREF ImageList_GetBkColor(HIMAGELIST List) {
  ImageListContent* C = ImageListContentOf(List);
  return C ? C->BkColor : CLR_NONE;
}

BOOL ImageList_Draw(HIMAGELIST List, int Index, HDC Dc, int X, int Y, UINT Style) {
  return ImageList_DrawEx(List, Index, Dc, X, Y, 0, 0, CLR_DEFAULT, CLR_DEFAULT, Style);
}

BOOL ImageList_DrawEx(HIMAGELIST List, int Index, HDC Dc, int X, int Y, int DX, int DY, COLORREF Bk, COLORREF Fg,
                      UINT Style) {
  ImageListContent* C = ImageListContentOf(List);
  if (!C || !Dc || Index < 0 || Index >= static_cast<int>(C->Images.size())) return FALSE;
  const vantrel::win::ImageListImage& Img = C->Images[static_cast<size_t>(Index)];
  if (Bk == CLR_DEFAULT) Bk = C->BkColor;
  if (Style & ILD_TRANSPARENT) Bk = CLR_NONE;
  const COLORREF Blend = Fg == CLR_DEFAULT || Fg == CLR_NONE ? GetSysColor(COLOR_HIGHLIGHT) : Fg;
  const int Percent = (Style & ILD_BLEND50) ? 50 : (Style & ILD_BLEND25) ? 25 : 0;
  const int W = DX > 0 ? std::min(DX, C->Width) : C->Width, H = DY > 0 ? std::min(DY, C->Height) : C->Height;
  std::vector<uint32_t> Argb(static_cast<size_t>(W) * H, 0);
  for (int Py = 0; Py < H; ++Py)
    for (int Px = 0; Px < W; ++Px) {
      const size_t At = static_cast<size_t>(Py) * C->Width + Px;
      const bool Transparent = C->Masked && Img.Mask[At] != 0;
      uint32_t& Out = Argb[static_cast<size_t>(Py) * W + Px];
      if (Style & ILD_MASK) {
        Out = 0xFF000000u | (Transparent ? 0xFFFFFFu : 0);
      } else if (!Transparent) {
        uint32_t P = Img.Pixels[At];
        if (Percent) P = vantrel::win::ImageListBlend(P, vantrel::win::ImageListRgb(Blend), Percent);
        Out = 0xFF000000u | P;
      } else if (Bk != CLR_NONE) {
        Out = 0xFF000000u | vantrel::win::ImageListRgb(Bk);
      }
    }
  vantrel::win::BlendPixelsOnDc(Dc, RECT{X, Y, X + W, Y + H}, W, H, Argb.data());
  return TRUE;
}

HICON ImageList_GetIcon(HIMAGELIST List, int Index, UINT) {
  ImageListContent* C = ImageListContentOf(List);
  if (!C || Index < 0 || Index >= static_cast<int>(C->Images.size())) return nullptr;
  const vantrel::win::ImageListImage& Img = C->Images[static_cast<size_t>(Index)];
  BITMAPINFO Bi{};
  Bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  Bi.bmiHeader.biWidth = C->Width;
  Bi.bmiHeader.biHeight = -C->Height;
  Bi.bmiHeader.biPlanes = 1;
  Bi.bmiHeader.biBitCount = 32;
  void* Bits = nullptr;
  HBITMAP Color = CreateDIBSection(nullptr, &Bi, DIB_RGB_COLORS, &Bits, nullptr, 0);
  const int MaskRow = ((C->Width + 15) / 16) * 2;  // word-aligned rows of CreateBitmap
  std::vector<uint8_t> MaskBits(static_cast<size_t>(MaskRow) * C->Height, 0);
  if (!Color || !Bits) {
    if (Color) DeleteObject(Color);
    return nullptr;
  }
  auto* Out = static_cast<uint32_t*>(Bits);
  for (int Y = 0; Y < C->Height; ++Y)
    for (int X = 0; X < C->Width; ++X) {
      const size_t At = static_cast<size_t>(Y) * C->Width + X;
      const bool Transparent = C->Masked && Img.Mask[At];
      Out[At] = Transparent ? 0 : (0xFF000000u | Img.Pixels[At]);
      if (Transparent) MaskBits[static_cast<size_t>(Y) * MaskRow + X / 8] |= static_cast<uint8_t>(0x80 >> (X % 8));
    }
  HBITMAP Mask = CreateBitmap(C->Width, C->Height, 1, 1, MaskBits.data());
  ICONINFO Info{};
  Info.fIcon = TRUE;
  Info.hbmColor = Color;
  Info.hbmMask = Mask;
  HICON Icon = CreateIconIndirect(&Info);
  DeleteObject(Color);
  if (Mask) DeleteObject(Mask);
  return Icon;
}
