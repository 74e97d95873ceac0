// Blending a layered window's pixel over what lies below it. Each channel of a window
// with constant alpha a: (src * a + dst * (255 - a) + 127) / 255. Per-pixel alpha takes
// premultiplied pixels: with pixel alpha A and constant alpha C, a = (A * C + 127) / 255
// and each channel is (src * C + dst * (255 - a) + 127) / 255.
#pragma once

#include <algorithm>
#include <cstdint>

namespace vantrel::display {

inline uint32_t LayerChannel(uint32_t P, int Shift) { return (P >> Shift) & 0xFF; }

inline uint32_t BlendConstantAlpha(uint32_t Src, uint32_t Dst, uint32_t A) {
  uint32_t Out = 0;
  for (int Shift : {0, 8, 16})
    Out |= ((LayerChannel(Src, Shift) * A + LayerChannel(Dst, Shift) * (255 - A) + 127) / 255) << Shift;
  return Out;
}

inline uint32_t BlendPremultipliedAlpha(uint32_t Src, uint32_t Dst, uint32_t C) {
  const uint32_t A = (LayerChannel(Src, 24) * C + 127) / 255;
  uint32_t Out = 0;
  for (int Shift : {0, 8, 16})
    Out |= std::min<uint32_t>(255, (LayerChannel(Src, Shift) * C + LayerChannel(Dst, Shift) * (255 - A) + 127) / 255)
           << Shift;
  return Out;
}

// One pixel of a window over Dst as the screen shows it (0x00RRGGBB).
inline uint32_t BlendLayerPixel(uint32_t Src, uint32_t Dst, uint32_t Alpha, bool PerPixel) {
  if (PerPixel) return BlendPremultipliedAlpha(Src, Dst, Alpha);
  if (Alpha == 255) return Src & 0xFFFFFF;
  return BlendConstantAlpha(Src, Dst, Alpha);
}

}  // namespace vantrel::display
