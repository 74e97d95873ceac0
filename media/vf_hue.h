// "nativehue": rotates the hue and scales the saturation of the chroma planes of planar
// YUV pictures, from fixed values or from live values the application changes while
// pictures flow.
#pragma once

#include <cstdint>

#include "media/FFUtils.h"

namespace vantrel::media {

// Arguments: "hue:saturation" or "hue:saturation:hue id:saturation id", each value
// -100..100 (0 neutral; hue -100..100 spans -180..180 degrees; out of range values are
// clamped and reported), an id naming a registered live value (0 or absent: none).
extern const TNativeFilterDef HueFilter;

// Registers "nativehue"; calling it again is harmless.
void RegisterHueFilter();

// In place on ARows rows of AWidth samples of the U and V planes (both AStride bytes a row).
void HueProcess(uint8_t* U, uint8_t* V, Integer AStride, Integer AWidth, Integer ARows,
                Integer AHue, Integer ASat);

}  // namespace vantrel::media
