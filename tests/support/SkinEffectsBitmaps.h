// Helpers of the effect-bitmap tests: effect bitmaps filled from a function of the pixel
// position, whole images and rows as vectors of 0xRRGGBB values for comparison.
#pragma once

#include <functional>
#include <vector>

#include "skin/core/bitmaps/spEffBmp_Effects.h"

namespace skin_effects_test {

using Image = std::vector<std::vector<Cardinal>>;  // [y][x]

inline TOwned<TspEffectBmp> MakeBmp(Integer W, Integer H,
                                    const std::function<Cardinal(Integer x, Integer y)>& Pixel) {
  TOwned<TspEffectBmp> B(TspEffectBmp::Create(W, H));
  for (Integer y = 0; y < H; ++y)
    for (Integer x = 0; x < W; ++x) B->SetPixelRGB(x, y, Pixel(x, y));
  return B;
}

// Every channel of every pixel V.
inline Cardinal Grey(Cardinal V) { return V | (V << 8) | (V << 16); }

inline TOwned<TspEffectBmp> Solid(Integer W, Integer H, Cardinal Pixel) {
  return MakeBmp(W, H, [Pixel](Integer, Integer) { return Pixel; });
}

inline Image Pixels(const TspEffectBmp& B) {
  Image Out(static_cast<size_t>(B.Height), std::vector<Cardinal>(static_cast<size_t>(B.Width)));
  for (Integer y = 0; y < B.Height; ++y)
    for (Integer x = 0; x < B.Width; ++x) Out[y][x] = B.GetPixelRGB(x, y);
  return Out;
}

inline std::vector<Cardinal> Row(const TspEffectBmp& B, Integer y) { return Pixels(B)[y]; }

inline std::vector<Cardinal> Column(const TspEffectBmp& B, Integer x) {
  std::vector<Cardinal> Out;
  for (Integer y = 0; y < B.Height; ++y) Out.push_back(B.GetPixelRGB(x, y));
  return Out;
}

}  // namespace skin_effects_test
