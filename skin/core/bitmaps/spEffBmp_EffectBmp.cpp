// The effect bitmap's life cycle, row access, drawing onto device contexts, and the block
// copies between effect bitmaps.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "platform/rtl/Exceptions.h"
#include "skin/core/bitmaps/spEffBmp_Effects.h"

namespace {

// Larger DIBs are refused by the raster core anyway; checking first keeps the size
// arithmetic in range.
constexpr Int64 MaxEffectBmpBytes = std::numeric_limits<Integer>::max();

Boolean Inside(const TspEffectBmp& B, Int64 x, Int64 y) {
  return x >= 0 && y >= 0 && x < B.Width && y < B.Height;
}

}  // namespace

static_assert(sizeof(BITMAPINFOHEADER) == 40, "the DIB header is 40 bytes");

TspEffectBmp::TspEffectBmp(Integer cx, Integer cy) { Allocate(cx, cy); }

TspEffectBmp::TspEffectBmp(HBITMAP hBmp) {
  BITMAP Bm{};
  if (!hBmp || GetObjectType(hBmp) != OBJ_BITMAP || GetObjectW(hBmp, sizeof(Bm), &Bm) == 0) {
    Allocate(0, 0);
    return;
  }
  Allocate(Bm.bmWidth, std::abs(Bm.bmHeight));
  if (!Bits) return;
  HDC DC = CreateDCW("DISPLAY", nullptr, nullptr, nullptr);
  // A display context takes no bitmap (the selection fails, harmlessly); GetDIBits reads
  // the handle itself.
  HGDIOBJ Old = SelectObject(DC, hBmp);
  GetDIBits(DC, hBmp, 0, static_cast<UINT>(Height), Bits, &BmpInfo, DIB_RGB_COLORS);
  if (Old) SelectObject(DC, Old);
  DeleteDC(DC);
  // GetDIBits fills in the image size; the header stays as made.
  BmpInfo.bmiHeader = BmpHeader;
}

TspEffectBmp::TspEffectBmp(const TspEffectBmp* hBmp) {
  if (!hBmp) {
    Allocate(0, 0);
    return;
  }
  Allocate(hBmp->Width, hBmp->Height);
  if (Bits && hBmp->Bits) std::memcpy(Bits, hBmp->Bits, static_cast<size_t>(Size));
}

TspEffectBmp::~TspEffectBmp() {
  if (Handle) DeleteObject(Handle);
}

void TspEffectBmp::Allocate(Integer cx, Integer cy) {
  if (cx <= 0 || cy <= 0) cx = cy = 0;
  const Int64 Stride = Int64{cx} * 3 + cx % 4;
  if (Stride * cy > MaxEffectBmpBytes) throw EOutOfResources("Out of system resources");
  Width = cx;
  Height = cy;
  Size = static_cast<Integer>(Stride * cy);
  BmpHeader = BITMAPINFOHEADER{};
  BmpHeader.biSize = sizeof(BITMAPINFOHEADER);
  BmpHeader.biWidth = Width;
  BmpHeader.biHeight = -Height;
  BmpHeader.biPlanes = 1;
  BmpHeader.biBitCount = 24;
  BmpHeader.biCompression = BI_RGB;
  BmpInfo = BITMAPINFO{};
  BmpInfo.bmiHeader = BmpHeader;
  if (Size == 0) return;
  void* P = nullptr;
  Handle = CreateDIBSection(nullptr, &BmpInfo, DIB_RGB_COLORS, &P, nullptr, 0);
  if (!Handle || !P) throw EOutOfResources("Out of system resources");
  Bits = static_cast<Byte*>(P);
}

void TspEffectBmp::GetScanLine(Integer y, void* Line) const {
  std::memcpy(Line, ScanLinePtr(y), static_cast<size_t>(Width) * 3);
}

void TspEffectBmp::SetScanLine(Integer y, const void* Line) {
  std::memcpy(ScanLinePtr(y), Line, static_cast<size_t>(Width) * 3);
}

void TspEffectBmp::Draw(HDC hDC, Integer x, Integer y) const {
  if (!Bits) return;
  SetDIBitsToDevice(hDC, x, y, static_cast<DWORD>(Width), static_cast<DWORD>(Height), 0, 0, 0,
                    static_cast<UINT>(Height), Bits, &BmpInfo, DIB_RGB_COLORS);
}

void TspEffectBmp::Stretch(HDC hDC, Integer x, Integer y, Integer cx, Integer cy) const {
  if (!Bits) return;
  StretchDIBits(hDC, x, y, cx, cy, 0, 0, Width, Height, Bits, &BmpInfo, DIB_RGB_COLORS, SRCCOPY);
}

void TspEffectBmp::DrawRect(HDC hDC, Integer hx, Integer hy, Integer x, Integer y, Integer cx,
                            Integer cy) const {
  if (!Bits) return;
  // Our raster core counts a top-down DIB's source rows from the top, so the part is
  // addressed directly rather than through the mirrored bottom-up arguments.
  StretchDIBits(hDC, hx, hy, cx, cy, x, y, cx, cy, Bits, &BmpInfo, DIB_RGB_COLORS, SRCCOPY);
}

void TspEffectBmp::Resize(TspEffectBmp* Dst) const {
  if (!Dst || !Bits || !Dst->Bits) return;
  const double kx = static_cast<double>(Dst->Width - 1) / Width;
  const double ky = static_cast<double>(Dst->Height - 1) / Height;
  const Integer ni = static_cast<Integer>(std::nearbyint(kx));
  const Integer nj = static_cast<Integer>(std::nearbyint(ky));
  for (Integer y = 0; y < Height; ++y) {
    const Integer dy = static_cast<Integer>(std::nearbyintl(static_cast<long double>(y) * ky));
    for (Integer x = 0; x < Width; ++x) {
      const Integer dx = static_cast<Integer>(std::nearbyintl(static_cast<long double>(x) * kx));
      const Cardinal P = GetPixelRGB(x, y);
      for (Integer j = 0; j <= nj; ++j)
        for (Integer i = 0; i <= ni; ++i)
          if (Inside(*Dst, dx + i, dy + j)) Dst->SetPixelRGB(dx + i, dy + j, P);
    }
  }
}

void TspEffectBmp::CopyRect(const TspEffectBmp* BMP, const TRect& Rct, Integer StartX,
                            Integer StartY) {
  if (!BMP || !Bits || !BMP->Bits) return;
  const Integer Right = std::min(Rct.Right, Width - 1);
  const Integer Bottom = std::min(Rct.Bottom, Height - 1);
  for (Integer y = std::max(Rct.Top, 0); y <= Bottom; ++y) {
    const Int64 sy = Int64{StartY} + y - Rct.Top;
    for (Integer x = std::max(Rct.Left, 0); x <= Right; ++x) {
      const Int64 sx = Int64{StartX} + x - Rct.Left;
      if (Inside(*BMP, sx, sy))
        SetPixelRGB(x, y, BMP->GetPixelRGB(static_cast<Integer>(sx), static_cast<Integer>(sy)));
    }
  }
}
