// Stack blur of the working bitmap (the base of every glow) and alpha from the grey levels
// of a mask picture.
#include <algorithm>
#include <cstdlib>
#include <vector>

#include "skin/core/bitmaps/spEffBmp.h"

namespace {

struct Rgb {
  Int64 R = 0, G = 0, B = 0;
  Rgb& operator+=(const Rgb& O) {
    R += O.R, G += O.G, B += O.B;
    return *this;
  }
  Rgb& operator-=(const Rgb& O) {
    R -= O.R, G -= O.G, B -= O.B;
    return *this;
  }
  Rgb operator*(Int64 W) const { return {R * W, G * W, B * W}; }
};

Rgb Channels(TspColor C) { return {(C >> 16) & 0xFF, (C >> 8) & 0xFF, C & 0xFF}; }

// One sliding pass over Count values (Read(k) for k in 0..Count-1, edges repeated);
// Write(k, sum) receives the weighted sum at each position. The running sums follow the
// classic stack formulation: the stack holds the window, insum the incoming half and
// outsum the outgoing half.
template <class ReadF, class WriteF>
void BlurLine(Integer Count, Integer Radius, std::vector<Rgb>& Stack, ReadF Read, WriteF Write) {
  const Integer n = 2 * Radius + 1;
  Rgb sum, insum, outsum;
  for (Integer i = -Radius; i <= Radius; ++i) {
    const Rgb p = Read(std::min(Count - 1, std::max(i, 0)));
    Stack[i + Radius] = p;
    sum += p * (Radius + 1 - std::abs(i));
    if (i > 0)
      insum += p;
    else
      outsum += p;
  }
  Integer sp = Radius;
  for (Integer k = 0; k < Count; ++k) {
    Write(k, sum);
    sum -= outsum;
    const Integer start = (sp - Radius + n) % n;
    outsum -= Stack[start];
    const Rgb p = Read(std::min(k + Radius + 1, Count - 1));
    Stack[start] = p;
    insum += p;
    sum += insum;
    sp = (sp + 1) % n;
    outsum += Stack[sp];
    insum -= Stack[sp];
  }
}

}  // namespace

void StackBlur(TspBitmap* Bitmap, Integer Radius) {
  if (!Bitmap || Radius <= 0 || Bitmap->Empty()) return;
  const Integer w = Bitmap->Width(), h = Bitmap->Height();
  const Int64 divsum = static_cast<Int64>(Radius + 1) * (Radius + 1);
  std::vector<Rgb> planes(static_cast<size_t>(w) * h);
  std::vector<Rgb> stack(static_cast<size_t>(2) * Radius + 1);

  for (Integer y = 0; y < h; ++y) {
    const TspColor* row = Bitmap->GetScanLinePtr(y);
    Rgb* out = planes.data() + static_cast<size_t>(y) * w;
    BlurLine(
        w, Radius, stack, [&](Integer x) { return Channels(row[x]); },
        [&](Integer x, const Rgb& s) {
          out[x] = {s.R / divsum, s.G / divsum, s.B / divsum};
        });
  }
  for (Integer x = 0; x < w; ++x) {
    BlurLine(
        h, Radius, stack, [&](Integer y) { return planes[static_cast<size_t>(y) * w + x]; },
        [&](Integer y, const Rgb& s) {
          Bitmap->GetScanLinePtr(y)[x] = 0xFF000000u | static_cast<TspColor>(s.R / divsum) << 16 |
                                         static_cast<TspColor>(s.G / divsum) << 8 |
                                         static_cast<TspColor>(s.B / divsum);
        });
  }
}

void SetAlphaFromGray(TspBitmap* Bitmap, TspBitmap* Mask) {
  if (!Bitmap || !Mask || Bitmap->Empty() || Mask->Empty()) return;
  // A smaller mask would be read past its end: only the pixels it covers change.
  const Integer w = std::min(Bitmap->Width(), Mask->Width());
  const Integer h = std::min(Bitmap->Height(), Mask->Height());
  for (Integer y = 0; y < h; ++y) {
    TspColor* row = Bitmap->GetScanLinePtr(y);
    const TspColor* mask = Mask->GetScanLinePtr(y);
    for (Integer x = 0; x < w; ++x) {
      const TspColor m = mask[x];
      const TspColor gray = (((m >> 16) & 0xFF) + ((m >> 8) & 0xFF) + (m & 0xFF)) / 3;
      row[x] = (row[x] & 0x00FFFFFF) | gray << 24;
    }
  }
}
