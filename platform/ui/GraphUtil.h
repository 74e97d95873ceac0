// Small drawing helpers shared by controls that paint their own frames.
#pragma once

#include "platform/ui/Graphics.h"

// Draws Width nested one-pixel rings inside Rect: the top and left edges of each ring in
// TopColor, the bottom and right edges (both corners they share with the others included)
// in BottomColor. Rect comes back shrunk by Width on every side, ready for the content.
void Frame3D(TCanvas* Canvas, TRect& Rect, TColor TopColor, TColor BottomColor, Integer Width);
