// Whole-image filters of the effect bitmap: the inactive-window looks (brightness,
// darkness, greyscale, inversion, split blur, noise), mosaic, rotations, wave and the
// mask-driven blur, edge smoothing and colour fill. Rows from the top, pixels from the left.
#include <algorithm>
#include <cmath>
#include <random>

#include "platform/rtl/Classes.h"
#include "platform/win/SysColors.h"
#include "skin/core/bitmaps/spEffBmp_EffectMath.h"
#include "skin/core/bitmaps/spEffBmp_Effects.h"

using vantrel::skin::detail::LimitFactor;
using vantrel::skin::detail::RoundChannel;

namespace {

constexpr Integer BlueByte = 0, GreenByte = 1, RedByte = 2;

Integer ClampIndex(Int64 i, Integer Count) {
  return static_cast<Integer>(std::clamp<Int64>(i, 0, Count - 1));
}

// The neighbour lines of the split blur: Amount before (the line itself when that is
// negative) and Amount after (Count - i when that is past the end). Kept inside 0..Count - 1,
// which only matters when Amount reaches the size or is negative.
Integer LineBefore(Integer i, Integer Amount, Integer Count) {
  Int64 u = Int64{i} - Amount;
  if (u < 0) u = i;
  return ClampIndex(u, Count);
}

Integer LineAfter(Integer i, Integer Amount, Integer Count, Integer Size) {
  Int64 d = Int64{i} + Amount;
  if (d >= Count) d = Int64{Size} - i;
  return ClampIndex(d, Count);
}

Boolean IsWhite(const TspEffectBmp& Msk, Integer x, Integer y) {
  return (Msk.GetPixelRGB(x, y) & 0xFFFFFF) == 0xFFFFFF;
}

// The average of the four diagonal neighbours, read from the bitmap's current state.
void AverageNeighbours(TspEffectBmp& B, Integer x, Integer y, Integer l, Integer r, Integer u,
                       Integer d) {
  const Byte* lu = B.ScanLinePtr(u) + l * 3;
  const Byte* ld = B.ScanLinePtr(d) + l * 3;
  const Byte* ru = B.ScanLinePtr(u) + r * 3;
  const Byte* rd = B.ScanLinePtr(d) + r * 3;
  Byte* p = B.ScanLinePtr(y) + x * 3;
  for (Integer c = 0; c < 3; ++c) p[c] = static_cast<Byte>((lu[c] + ld[c] + ru[c] + rd[c]) / 4);
}

inline Byte AddClamped(Byte c, Integer v) {
  return static_cast<Byte>(std::clamp<Int64>(Int64{c} + v, 0, 255));
}

// rnd(v) limited to 0..Count - 1.
Integer RoundIndex(long double v, Integer Count) {
  const long double r = std::nearbyintl(v);
  if (!(r > 0)) return 0;
  if (r >= Count - 1) return Count - 1;
  return static_cast<Integer>(r);
}

}  // namespace

namespace vantrel::skin {

Integer ProcessRandom(Integer Range) {
  if (Range <= 0) return 0;
  thread_local std::mt19937 Generator{std::random_device{}()};
  return std::uniform_int_distribution<Integer>(0, Range - 1)(Generator);
}

}  // namespace vantrel::skin

void TspEffectBmp::ChangeBrightness(Double Kf) {
  const long double K = LimitFactor(Kf);
  for (Integer i = 0; i < Size; ++i) Bits[i] = RoundChannel((1.0L - K) * Bits[i] + K * 255);
}

void TspEffectBmp::ChangeDarkness(Double Kf) {
  const long double K = LimitFactor(Kf);
  for (Integer i = 0; i < Size; ++i) Bits[i] = RoundChannel((1.0L - K) * Bits[i]);
}

void TspEffectBmp::Invert() {
  for (Integer y = 0; y < Height; ++y) {
    Byte* Row = ScanLinePtr(y);
    for (Integer i = 0; i < Width * 3; ++i) Row[i] = static_cast<Byte>(255 - Row[i]);
  }
}

void TspEffectBmp::GrayScale() {
  for (Integer y = 0; y < Height; ++y) {
    Byte* p = ScanLinePtr(y);
    for (Integer x = 0; x < Width; ++x, p += 3) {
      const Byte g = RoundChannel(0.3L * p[RedByte] + 0.59L * p[GreenByte] + 0.11L * p[BlueByte]);
      p[0] = p[1] = p[2] = g;
    }
  }
}

void TspEffectBmp::SplitBlur(Integer Amount) {
  if (Amount == 0) return;
  for (Integer y = 0; y < Height; ++y) {
    const Integer u = LineBefore(y, Amount, Height);
    const Integer d = LineAfter(y, Amount, Height, Height);
    for (Integer x = 0; x < Width; ++x)
      AverageNeighbours(*this, x, y, LineBefore(x, Amount, Width),
                        LineAfter(x, Amount, Width, Width), u, d);
  }
}

void TspEffectBmp::Mosaic(Integer ASize) {
  if (ASize <= 1) return;
  for (Integer y = 0; y < Height; ++y)
    for (Integer x = 0; x < Width; ++x)
      SetPixelRGB(x, y, GetPixelRGB(x - x % ASize, y - y % ASize));
}

void TspEffectBmp::AddMonoNoise(Integer Amount) {
  AddMonoNoise(Amount, vantrel::skin::ProcessRandom);
}

void TspEffectBmp::AddMonoNoise(Integer Amount, const vantrel::skin::TRandomFunc& Random) {
  for (Integer y = 0; y < Height; ++y) {
    Byte* p = ScanLinePtr(y);
    for (Integer x = 0; x < Width; ++x, p += 3) {
      const Integer v = Random(Amount) - Amount / 2;
      for (Integer c = 0; c < 3; ++c) p[c] = AddClamped(p[c], v);
    }
  }
}

void TspEffectBmp::AddColorNoise(Integer Amount) {
  AddColorNoise(Amount, vantrel::skin::ProcessRandom);
}

void TspEffectBmp::AddColorNoise(Integer Amount, const vantrel::skin::TRandomFunc& Random) {
  for (Integer y = 0; y < Height; ++y) {
    Byte* p = ScanLinePtr(y);
    for (Integer x = 0; x < Width; ++x, p += 3)
      for (Integer c : {RedByte, GreenByte, BlueByte})
        p[c] = AddClamped(p[c], Random(Amount) - Amount / 2);
  }
}

void TspEffectBmp::Rotate90_1(TspEffectBmp* Dst) const {
  if (!Dst || !Bits || Dst->Width != Height || Dst->Height != Width) return;
  for (Integer y = 0; y < Height; ++y)
    for (Integer x = 0; x < Width; ++x) Dst->SetPixelRGB(y, Width - 1 - x, GetPixelRGB(x, y));
}

void TspEffectBmp::Rotate90_2(TspEffectBmp* Dst) const {
  if (!Dst || !Bits || Dst->Width != Height || Dst->Height != Width) return;
  for (Integer y = 0; y < Height; ++y)
    for (Integer x = 0; x < Width; ++x) Dst->SetPixelRGB(Height - 1 - y, x, GetPixelRGB(x, y));
}

void TspEffectBmp::FlipVert(TspEffectBmp* Dst) const {
  if (!Dst || !Bits || Dst->Width != Width || Dst->Height != Height) return;
  for (Integer y = 0; y < Height; ++y)
    for (Integer x = 0; x < Width; ++x) Dst->SetPixelRGB(x, Height - 1 - y, GetPixelRGB(x, y));
}

void TspEffectBmp::Wave(Integer XDIV, Integer YDIV, Integer RatioVal) {
  if (XDIV == 0 || YDIV == 0 || !Bits) return;
  TOwned<TspEffectBmp> C(CreateCopy(this));
  for (Integer y = 0; y < Height; ++y) {
    const long double dx = std::sin(static_cast<long double>(y) / YDIV) * RatioVal;
    for (Integer x = 0; x < Width; ++x) {
      const Integer sx = RoundIndex(dx + x, Width);
      const Integer sy =
          RoundIndex(std::sin(static_cast<long double>(x) / XDIV) * RatioVal + y, Height);
      SetPixelRGB(x, y, C->GetPixelRGB(sx, sy));
    }
  }
}

void TspEffectBmp::MaskFilter(const TspEffectBmp* Msk, Integer Amount, Boolean EdgesOnly) {
  if (Amount == 0 || Width == 0 || Height == 0 || !Msk || Msk->Width != Width ||
      Msk->Height < Height)
    return;
  for (Integer y = 0; y < Height; ++y) {
    const Integer u = LineBefore(y, Amount, Height);
    const Integer d = LineAfter(y, Amount, Height, Height);
    const Integer md = LineAfter(y, Amount, Msk->Height, Height);
    for (Integer x = 0; x < Width; ++x) {
      if (IsWhite(*Msk, x, y)) continue;
      const Integer l = LineBefore(x, Amount, Width);
      const Integer r = LineAfter(x, Amount, Width, Width);
      if (EdgesOnly && !(IsWhite(*Msk, l, u) || IsWhite(*Msk, l, md) || IsWhite(*Msk, r, u) ||
                         IsWhite(*Msk, r, md)))
        continue;
      AverageNeighbours(*this, x, y, l, r, u, d);
    }
  }
}

void TspEffectBmp::MaskAntialiasing(const TspEffectBmp* Msk, Integer Amount) {
  MaskFilter(Msk, Amount, true);
}

void TspEffectBmp::MaskBlur(const TspEffectBmp* Msk, Integer Amount) {
  MaskFilter(Msk, Amount, false);
}

void TspEffectBmp::MaskFillColor(const TspEffectBmp* Msk, TColor C, Double kf) {
  if (Width == 0 || Height == 0 || !Msk || Msk->Width != Width || Msk->Height < Height) return;
  const TColor RGB = ColorToRGB(C);
  // Blue, green, red as the pixels store them.
  const Byte Fill[3] = {static_cast<Byte>(RGB >> 16), static_cast<Byte>(RGB >> 8),
                        static_cast<Byte>(RGB)};
  const long double K = kf;
  for (Integer y = 0; y < Height; ++y) {
    Byte* p = ScanLinePtr(y);
    for (Integer x = 0; x < Width; ++x, p += 3) {
      if (IsWhite(*Msk, x, y)) continue;
      for (Integer c = 0; c < 3; ++c) p[c] = RoundChannel((1.0L - K) * p[c] + K * Fill[c]);
    }
  }
}
