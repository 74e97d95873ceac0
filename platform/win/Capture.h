// Mouse capture: while a window holds it, every mouse message goes to that window as a
// client message, wherever the pointer is. The window losing it gets WM_CAPTURECHANGED
// (lParam: the window taking it, or 0).
#pragma once

#include "platform/win/Messages.h"

// Returns the window that had the capture.
HWND SetCapture(HWND Wnd);
BOOL ReleaseCapture();
HWND GetCapture();
