// Channel arithmetic shared by the effect bitmap's morphs and filters: mixing runs in
// extended precision and rounds half to even before the channel is clamped to 0..255.
#pragma once

#include <cmath>

#include "platform/rtl/Types.h"

namespace vantrel::skin::detail {

// rnd(v) clamped to a channel; a value that is not a number gives 0.
inline Byte RoundChannel(long double v) {
  if (!(v > 0.0L)) return 0;
  if (v >= 255.0L) return 255;
  return static_cast<Byte>(std::nearbyintl(v));
}

// A factor limited to 0..1, not a number counting as 0.
inline double LimitFactor(double Kf) {
  if (!(Kf > 0.0)) return 0.0;
  return Kf > 1.0 ? 1.0 : Kf;
}

// rnd(n * Kf) with the product in extended precision; Kf must be limited.
inline Integer RoundScaled(Integer n, double Kf) {
  return static_cast<Integer>(std::nearbyintl(static_cast<long double>(n) * Kf));
}

}  // namespace vantrel::skin::detail
