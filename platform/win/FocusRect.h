// The dotted focus rectangle: every other pixel of the rectangle's edge inverted, so a
// second call with the same rectangle takes it away again.
#pragma once

#include "platform/win/Gdi.h"

BOOL DrawFocusRect(HDC Dc, const RECT* R);
