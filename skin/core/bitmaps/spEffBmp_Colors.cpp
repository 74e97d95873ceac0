// Colour values of the working bitmap and the hue, saturation and brightness changes done
// per pixel through HSL. Expressions are evaluated in extended precision and take single
// precision where they are stored in a single, as the original arithmetic does.
#include <algorithm>
#include <cmath>
#include <cstdint>

#include "skin/core/bitmaps/spEffBmp.h"

namespace {

using Ext = long double;

// Nearest, ties to even; far out-of-range values (only from extreme deltas) saturate.
inline Integer Rnd(Ext X) {
  const Ext r = std::rint(X);  // default rounding mode: nearest, ties to even
  if (!(r > -2147483648.0L)) return INT32_MIN;
  if (r > 2147483647.0L) return INT32_MAX;
  return static_cast<Integer>(r);
}

inline SmallInt ClampToSmall(Integer V) {
  return static_cast<SmallInt>(V < -32768 ? -32768 : (V > 32767 ? 32767 : V));
}

Integer HueToChannel(Single M1, Single M2, Single H) {
  H = static_cast<Single>(H - std::floor(static_cast<Ext>(H)));
  Ext v;
  if (6 * static_cast<Ext>(H) < 1)
    v = M1 + (static_cast<Ext>(M2) - M1) * H * 6;
  else if (2 * static_cast<Ext>(H) < 1)
    v = M2;
  else if (3 * static_cast<Ext>(H) < 2)
    v = M1 + (static_cast<Ext>(M2) - M1) * (Ext(2) / 3 - H) * 6;
  else
    v = M1;
  return Rnd(255 * v);
}

// h := rnd(x * 255) + Delta, wrapped once by 255 at either end, back to 0..1.
Single ShiftComponent(Single X, Integer Delta) {
  Int64 h = static_cast<Int64>(Rnd(static_cast<Ext>(X) * 255)) + Delta;
  if (h >= 256)
    h -= 255;
  else if (h < 0)
    h += 255;
  return static_cast<Single>(static_cast<Ext>(h) / 255);
}

}  // namespace

TspColor ColorRefToSpColor(COLORREF C) {
  return 0xFF000000u | ((C & 0xFF) << 16) | (C & 0xFF00) | ((C >> 16) & 0xFF);
}

TspColor ColorToSpColor(TColor Color, Byte Alpha) {
  const TspColor c = ColorRefToSpColor(static_cast<COLORREF>(ColorToRGB(Color)));
  return (c & 0x00FFFFFF) | (static_cast<TspColor>(Alpha) << 24);
}

TspColor MakeSpColor(SmallInt R, SmallInt G, SmallInt B, Byte A) {
  auto clamp = [](SmallInt v) -> TspColor { return v < 0 ? 0 : (v > 255 ? 255 : v); };
  return (static_cast<TspColor>(A) << 24) | (clamp(R) << 16) | (clamp(G) << 8) | clamp(B);
}

void SpColorToHSL(TspColor C, Single& H, Single& S, Single& L) {
  const Single r = static_cast<Single>(static_cast<Ext>((C >> 16) & 0xFF) / 255);
  const Single g = static_cast<Single>(static_cast<Ext>((C >> 8) & 0xFF) / 255);
  const Single b = static_cast<Single>(static_cast<Ext>(C & 0xFF) / 255);
  const Single mx = std::max(r, std::max(g, b));
  const Single mn = std::min(r, std::min(g, b));
  L = static_cast<Single>((static_cast<Ext>(mx) + mn) / 2);
  if (mx == mn) {
    H = 0;
    S = 0;
    return;
  }
  const Single d = static_cast<Single>(static_cast<Ext>(mx) - mn);
  if (L < 0.5f)
    S = static_cast<Single>(d / (static_cast<Ext>(mx) + mn));
  else
    S = static_cast<Single>(d / (2 - static_cast<Ext>(mx) - mn));
  if (r == mx)
    H = static_cast<Single>((static_cast<Ext>(g) - b) / d);
  else if (g == mx)
    H = static_cast<Single>(2 + (static_cast<Ext>(b) - r) / d);
  else
    H = static_cast<Single>(4 + (static_cast<Ext>(r) - g) / d);
  H = static_cast<Single>(static_cast<Ext>(H) / 6);
  if (H < 0) H = static_cast<Single>(static_cast<Ext>(H) + 1);
}

TspColor HSLToSpColor(Single H, Single S, Single L) {
  if (S == 0) {
    const SmallInt v = ClampToSmall(Rnd(255 * static_cast<Ext>(L)));
    return MakeSpColor(v, v, v, 255);
  }
  Single m2;
  if (L <= 0.5f)
    m2 = static_cast<Single>(static_cast<Ext>(L) * (1 + static_cast<Ext>(S)));
  else
    m2 = static_cast<Single>(static_cast<Ext>(L) + S - static_cast<Ext>(L) * S);
  const Single m1 = static_cast<Single>(2 * static_cast<Ext>(L) - m2);
  const Integer r = HueToChannel(m1, m2, static_cast<Single>(H + Ext(1) / 3));
  const Integer g = HueToChannel(m1, m2, H);
  const Integer b = HueToChannel(m1, m2, static_cast<Single>(H - Ext(1) / 3));
  return MakeSpColor(ClampToSmall(r), ClampToSmall(g), ClampToSmall(b), 255);
}

TspColor SetColorHue(TspColor C, Integer Hue) {
  Single h, s, l;
  SpColorToHSL(C, h, s, l);
  const Integer clamped = Hue < 0 ? 0 : (Hue > 255 ? 255 : Hue);
  h = static_cast<Single>(static_cast<Ext>(clamped) / 255);
  return HSLToSpColor(h, s, l);
}

TspColor ChangeColorHue(TspColor C, Integer Delta) {
  Single h, s, l;
  SpColorToHSL(C, h, s, l);
  return HSLToSpColor(ShiftComponent(h, Delta), s, l);
}

TspColor ChangeColorSat(TspColor C, Integer Delta) {
  Single h, s, l;
  SpColorToHSL(C, h, s, l);
  return HSLToSpColor(h, ShiftComponent(s, Delta), l);
}

TspColor ChangeColorBrightness(TspColor C, Integer Delta) {
  // The sums are 16-bit signed values, as in the original: they wrap, they are not clamped.
  auto add = [Delta](TspColor channel) {
    return static_cast<SmallInt>(static_cast<uint16_t>(channel + static_cast<uint32_t>(Delta)));
  };
  return MakeSpColor(add((C >> 16) & 0xFF), add((C >> 8) & 0xFF), add(C & 0xFF), 255);
}

template <class Adjust>
void TspBitmap::AdjustColors(Adjust adjust) {
  if (!FBits) return;
  const Int64 n = static_cast<Int64>(FWidth) * FHeight;
  for (Int64 i = 0; i < n; ++i) {
    const TspColor c = FBits[i];
    if ((c >> 24) == 0) continue;
    FBits[i] = (adjust(c) & 0x00FFFFFF) | (c & 0xFF000000);
  }
}

void TspBitmap::SetBitmapHue(Integer Hue) {
  AdjustColors([Hue](TspColor c) { return SetColorHue(c, Hue); });
}

void TspBitmap::ChangeBitmapHue(Integer DeltaHue) {
  if (DeltaHue == 0) return;
  AdjustColors([DeltaHue](TspColor c) { return ChangeColorHue(c, DeltaHue); });
}

void TspBitmap::ChangeBitmapSat(Integer DeltaSat) {
  if (DeltaSat == 0) return;
  AdjustColors([DeltaSat](TspColor c) { return ChangeColorSat(c, DeltaSat); });
}

void TspBitmap::ChangeBitmapBrightness(Integer DeltaBrightness) {
  if (DeltaBrightness == 0) return;
  AdjustColors([DeltaBrightness](TspColor c) { return ChangeColorBrightness(c, DeltaBrightness); });
}
