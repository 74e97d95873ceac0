// The effect bitmap's transitions: this image (factor 0) moves toward another of the same
// size (factor 1) by a plain mix, gradients, slides or a push. Each row goes through a
// one-row buffer, so a bitmap can also be morphed with itself.
#include <algorithm>
#include <cstring>
#include <vector>

#include "skin/core/bitmaps/spEffBmp_EffectMath.h"
#include "skin/core/bitmaps/spEffBmp_Effects.h"

using vantrel::skin::detail::LimitFactor;
using vantrel::skin::detail::RoundChannel;
using vantrel::skin::detail::RoundScaled;

namespace {

Boolean SameSize(const TspEffectBmp& Self, const TspEffectBmp* BMP) {
  return BMP && Self.Bits && BMP->Bits && BMP->Width == Self.Width && BMP->Height == Self.Height;
}

// rnd((1 - Kf) * s + Kf * b).
inline Byte Mix(Byte s, Byte b, double Kf) {
  const long double K = Kf;
  return RoundChannel((1.0L - K) * s + K * b);
}

// Weight t: 1 keeps this image, 0 gives BMP's.
inline Byte Blend(Byte s, Byte b, double t) {
  const long double T = t;
  return RoundChannel(s * T + (1.0L - T) * b);
}

// Every row through the buffer: Op(Row, BMPRow, y) changes the copy of row y.
template <class RowOp>
void ForEachRow(TspEffectBmp& Self, const TspEffectBmp& BMP, RowOp Op) {
  const size_t Bytes = static_cast<size_t>(Self.Width) * 3;
  std::vector<Byte> Row(Bytes);
  for (Integer y = 0; y < Self.Height; ++y) {
    Self.GetScanLine(y, Row.data());
    Op(Row.data(), BMP.ScanLinePtr(y), y);
    Self.SetScanLine(y, Row.data());
  }
}

// Each column (or row) blended with its own weight.
void BlendColumns(TspEffectBmp& Self, const TspEffectBmp& BMP, const std::vector<double>& t) {
  ForEachRow(Self, BMP, [&](Byte* Row, const Byte* B, Integer) {
    for (Integer x = 0; x < Self.Width; ++x)
      for (Integer c = 0; c < 3; ++c) Row[x * 3 + c] = Blend(Row[x * 3 + c], B[x * 3 + c], t[x]);
  });
}

void BlendRows(TspEffectBmp& Self, const TspEffectBmp& BMP, const std::vector<double>& t) {
  ForEachRow(Self, BMP, [&](Byte* Row, const Byte* B, Integer y) {
    for (Integer i = 0; i < Self.Width * 3; ++i) Row[i] = Blend(Row[i], B[i], t[y]);
  });
}

// The weights of a gradient centred on a band First..Last of N lines: 0 inside the band,
// then growing by Step from each end of the band toward the edges, at most 1.
std::vector<double> CentredGradient(Integer N, Integer First, Integer Last, double Step) {
  std::vector<double> w(static_cast<size_t>(N), 0.0);
  double t = 0;
  for (Integer i = First; i >= 0; --i) {
    w[i] = t;
    t = std::min(t + Step, 1.0);
  }
  t = 0;
  for (Integer i = Last; i < N; ++i) {
    w[i] = t;
    t = std::min(t + Step, 1.0);
  }
  return w;
}

void CopyPixels(Byte* Dst, const Byte* Src, Integer Count) {
  if (Count > 0) std::memmove(Dst, Src, static_cast<size_t>(Count) * 3);
}

}  // namespace

void TspEffectBmp::Morph(const TspEffectBmp* BMP, Double Kf) {
  if (!SameSize(*this, BMP)) return;
  const double K = LimitFactor(Kf);
  ForEachRow(*this, *BMP, [&](Byte* Row, const Byte* B, Integer) {
    for (Integer i = 0; i < Width * 3; ++i) Row[i] = Mix(Row[i], B[i], K);
  });
}

void TspEffectBmp::MorphRect(const TspEffectBmp* BMP, Double Kf, const TRect& Rct, Integer StartX,
                             Integer StartY) {
  if (!BMP || !Bits || !BMP->Bits) return;
  const double K = LimitFactor(Kf);
  const Integer Top = std::max(Rct.Top, 0), Bottom = std::min(Rct.Bottom, Height);
  const Integer Left = std::max(Rct.Left, 0), Right = std::min(Rct.Right, Width);
  for (Integer y = Top; y < Bottom; ++y) {
    const Int64 sy = Int64{StartY} + y - Rct.Top;
    if (sy < 0 || sy >= BMP->Height) continue;
    Byte* Row = ScanLinePtr(y);
    const Byte* B = BMP->ScanLinePtr(static_cast<Integer>(sy));
    for (Integer x = Left; x < Right; ++x) {
      const Int64 sx = Int64{StartX} + x - Rct.Left;
      if (sx < 0 || sx >= BMP->Width) continue;
      for (Integer c = 0; c < 3; ++c) Row[x * 3 + c] = Mix(Row[x * 3 + c], B[sx * 3 + c], K);
    }
  }
}

void TspEffectBmp::MorphHGrad(const TspEffectBmp* BMP, Double Kf) {
  if (!SameSize(*this, BMP)) return;
  const Integer W = Width;
  const Integer k = RoundScaled(W, LimitFactor(Kf));
  const Integer g = (W - k) / 2;
  const double Step = g == 0 ? 1.0 : 1.0 / g;
  const Integer L = std::max(W / 2 - k / 2, 0);
  const Integer R = std::min(W / 2 + k / 2, W - 1);
  BlendColumns(*this, *BMP, CentredGradient(W, L, R, Step));
}

void TspEffectBmp::MorphVGrad(const TspEffectBmp* BMP, Double Kf) {
  if (!SameSize(*this, BMP)) return;
  const Integer H = Height;
  const Integer k = RoundScaled(H, LimitFactor(Kf));
  const Integer g = (H - 1 - k) / 2;
  const double Step = g == 0 ? 0.0 : 1.0 / g;
  const Integer T = std::max(H / 2 - k / 2, 0);
  const Integer B = std::min(H / 2 + k / 2, H - 1);
  BlendRows(*this, *BMP, CentredGradient(H, T, B, Step));
}

void TspEffectBmp::MorphGrad(const TspEffectBmp* BMP, Double Kf) {
  if (Width < Height)
    MorphVGrad(BMP, Kf);
  else
    MorphHGrad(BMP, Kf);
}

void TspEffectBmp::MorphLeftGrad(const TspEffectBmp* BMP, Double Kf) {
  if (!SameSize(*this, BMP)) return;
  const Integer W = Width;
  Integer b = std::max(RoundScaled(W, LimitFactor(Kf)), 1);
  b = std::min(b, W - 1);
  const double Step = b <= 0 ? 1.0 : 1.0 / b;
  std::vector<double> w(static_cast<size_t>(W), 1.0);
  double t = 0;
  for (Integer x = 0; x <= b; ++x) {
    w[x] = t;
    t = std::min(t + Step, 1.0);
  }
  BlendColumns(*this, *BMP, w);
}

void TspEffectBmp::MorphRightGrad(const TspEffectBmp* BMP, Double Kf) {
  if (!SameSize(*this, BMP)) return;
  const Integer W = Width;
  Integer c = std::max(W - RoundScaled(W, LimitFactor(Kf)), 0);
  c = std::min(c, W - 1);
  const double Step = W - c <= 0 ? 1.0 : 1.0 / (W - c);
  std::vector<double> w(static_cast<size_t>(W), 1.0);
  double t = 0;
  for (Integer x = W - 1; x >= c; --x) {
    w[x] = t;
    t = std::min(t + Step, 1.0);
  }
  BlendColumns(*this, *BMP, w);
}

void TspEffectBmp::MorphLeftSlide(const TspEffectBmp* BMP, Double Kf) {
  if (!SameSize(*this, BMP)) return;
  const Integer W = Width;
  const Integer b = std::min(std::max(RoundScaled(W, LimitFactor(Kf)), 1), W - 1);
  ForEachRow(*this, *BMP, [&](Byte* Row, const Byte* B, Integer) {
    CopyPixels(Row, B + static_cast<ptrdiff_t>(W - b) * 3, b);
  });
}

void TspEffectBmp::MorphRightSlide(const TspEffectBmp* BMP, Double Kf) {
  if (!SameSize(*this, BMP)) return;
  const Integer W = Width;
  const Integer b = std::min(std::max(RoundScaled(W, LimitFactor(Kf)), 1), W - 1);
  ForEachRow(*this, *BMP, [&](Byte* Row, const Byte* B, Integer) {
    CopyPixels(Row + static_cast<ptrdiff_t>(W - b) * 3, B, b);
  });
}

void TspEffectBmp::MorphPush(const TspEffectBmp* BMP, Double Kf) {
  if (!SameSize(*this, BMP)) return;
  const Integer W = Width;
  const Integer b = std::min(std::max(RoundScaled(W, LimitFactor(Kf)), 0), W - 1);
  const Integer s = std::max(W - b - 1, 0);
  ForEachRow(*this, *BMP, [&](Byte* Row, const Byte* B, Integer) {
    // The old image moves right by b + 1 columns (from the right end, so every source
    // column is read before it is overwritten).
    for (Integer j = W - 1; j >= b; --j)
      CopyPixels(Row + j * 3, Row + std::max(j - b - 1, 0) * 3, 1);
    for (Integer x = 0; x <= b; ++x) CopyPixels(Row + x * 3, B + std::min(s + x, W - 1) * 3, 1);
  });
}
