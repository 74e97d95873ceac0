// Window regions: SetWindowRgn gives a window a shape (window coordinates) that clips its
// drawing, its hit testing and, for a top-level window, what the display shows of it.
// The window owns the region afterwards: deleting that handle fails harmlessly, and the
// window frees it when it gets another one or is destroyed.
#pragma once

#include "platform/win/Gdi.h"

// Rgn 0 removes the shape. Redraw repaints the window (and what it uncovered).
int SetWindowRgn(HWND Wnd, HRGN Rgn, BOOL Redraw);
// Copies the window's region into Rgn; its complexity, or ERROR when the window has none.
int GetWindowRgn(HWND Wnd, HRGN Rgn);

namespace vantrel::win {

class WindowManager;
struct Window;

// Whether a pointer at Screen may hit W: inside its region (when it has one) and W is
// not a layered window that lets clicks through (WS_EX_LAYERED with WS_EX_TRANSPARENT).
// The rectangle test is the caller's.
bool WindowTakesPoint(const WindowManager& M, const Window* W, POINT Screen);

}  // namespace vantrel::win
