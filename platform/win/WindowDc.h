// Device contexts on windows: GetDC (the client area) and GetWindowDC (frame included)
// draw into the top-level window's backing store, clipped to what of the window shows
// (children cut out with WS_CLIPCHILDREN, higher siblings with WS_CLIPSIBLINGS, window
// regions honoured). GetDC(0) is the screen as the display composes it.
#pragma once

#include "platform/win/Gdi.h"

HDC GetDC(HWND Wnd);
HDC GetWindowDC(HWND Wnd);
// 1 when the DC was a window or screen DC and is released, else 0.
int ReleaseDC(HWND Wnd, HDC Dc);
