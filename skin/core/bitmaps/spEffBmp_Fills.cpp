// Fills, merging behind the existing pixels, and the reflection fades of the working bitmap.
#include <algorithm>
#include <cmath>
#include <vector>

#include "skin/core/bitmaps/spEffBmp.h"

void TspBitmap::FillRect(const TRect& R, TspColor Color) {
  if (!FBits) return;
  const Integer left = std::max(R.Left, 0), top = std::max(R.Top, 0);
  const Integer right = std::min(R.Right, FWidth), bottom = std::min(R.Bottom, FHeight);
  if (right <= left || bottom <= top) return;
  if (FAlphaBlend) {
    const std::vector<TspColor> run(static_cast<size_t>(right - left), Color);
    for (Integer y = top; y < bottom; ++y)
      PixelKernels.BlendRow(run.data(), GetPixelPtr(left, y), right - left);
    EmptyMMXState();
  } else {
    PixelKernels.FillPixelRect(FBits, FWidth, FHeight, left, top, right - 1, bottom - 1, Color);
  }
}

void TspBitmap::MergeDraw(TspBitmap* Bitmap, Integer X, Integer Y, const TRect& SrcRect) {
  if (!FBits || !Bitmap || !Bitmap->Bits()) return;
  const Integer left = std::max(SrcRect.Left, 0), top = std::max(SrcRect.Top, 0);
  const Integer right = std::min(SrcRect.Right, Bitmap->Width());
  const Integer bottom = std::min(SrcRect.Bottom, Bitmap->Height());
  for (Integer sy = top; sy < bottom; ++sy) {
    // Destination coordinates in 64 bits: far-off X, Y and SrcRect must not wrap.
    const Int64 dy = static_cast<Int64>(Y) + sy - SrcRect.Top;
    if (dy < 0 || dy >= FHeight) continue;
    const TspColor* src = Bitmap->GetScanLinePtr(sy);
    TspColor* dst = GetScanLinePtr(static_cast<Integer>(dy));
    for (Integer sx = left; sx < right; ++sx) {
      const Int64 dx = static_cast<Int64>(X) + sx - SrcRect.Left;
      if (dx < 0 || dx >= FWidth) continue;
      TspColor& d = dst[dx];
      const TspColor a = d >> 24;
      if (a == 0)
        d = src[sx];
      else if (a != 255)
        d = PixelKernels.BlendPixel(d, src[sx]);
    }
  }
  EmptyMMXState();
}

void TspBitmap::ReflectionWith(Integer Divisor) {
  if (!FBits) return;
  FlipVert();
  double f = 1.0;
  const double step = (1.0 / FHeight) * 2;
  for (Integer y = 0; y < FHeight; ++y) {
    TspColor* row = GetScanLinePtr(y);
    for (Integer x = 0; x < FWidth; ++x) {
      const TspColor a = row[x] >> 24;
      if (a == 0) continue;
      const auto n = static_cast<Int64>(std::rint(static_cast<long double>(a) * f));
      const Int64 alpha = std::max<Int64>(0, n / Divisor);
      row[x] = (row[x] & 0x00FFFFFF) | (static_cast<TspColor>(alpha) << 24);
    }
    f -= step;
  }
}

void TspBitmap::Reflection() { ReflectionWith(3); }
void TspBitmap::Reflection2() { ReflectionWith(4); }
void TspBitmap::Reflection3() { ReflectionWith(2); }
