// The whole update region of a window (GetUpdateRect gives only its bounding box).
#pragma once

#include "platform/win/Gdi.h"

// Copies the update region (client coordinates) into Rgn; the region's complexity, or
// ERROR for an unknown window or region. Erase: WM_NCPAINT and WM_ERASEBKGND go out
// first when they are due.
int GetUpdateRgn(HWND Wnd, HRGN Rgn, BOOL Erase);
