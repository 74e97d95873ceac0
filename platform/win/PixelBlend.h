// Blending straight-alpha pixels onto a device context, through its clip and origins.
#pragma once

#include <cstdint>

#include "platform/win/Gdi.h"

namespace vantrel::win {

// Blends Width x Height pixels (0xAARRGGBB, top-down rows) onto Dc, stretched into Dest
// (logical coordinates) by the nearest pixel: each channel = (src * a + dst * (255 - a)
// + 127) / 255. Raises EOutOfResources when no buffer can be made.
void BlendPixelsOnDc(HDC Dc, const RECT& Dest, int Width, int Height, const uint32_t* Pixels);

}  // namespace vantrel::win
