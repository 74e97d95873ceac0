// The default procedure's part in input: the non-client protocol (a press on the caption
// or a border starts the move/size loop, a caption double click maximizes or restores),
// the cursor shape from the hit code, activation giving the focus, context menus from
// right clicks, Shift+F10 and the menu key, wheel and mouse-activation questions passed to
// the parent, and the keyboard's window commands (Alt or F10 alone, Alt+letter, Alt+F4).
#pragma once

#include <vector>

#include "platform/win/Messages.h"

namespace vantrel::win {

class WindowManager;
struct Window;

// Called by DefWindowProc first: true when the message was handled here, with Result.
bool DefInputMessage(WindowManager& M, Window* W, UINT Msg, WPARAM WParam, LPARAM LParam, LRESULT& Result);

// The standard cursor DefWindowProc shows for a hit-test code (0 for HTCLIENT and the
// codes that keep the shape).
HCURSOR CursorForHitCode(LRESULT Code);

// The default frame (NonClientPaint.cpp): the caption buttons of a window's styles in
// window coordinates, right to left (close for WS_SYSMENU, then maximize and minimize
// where the styles ask for them).
struct CaptionButtonPlace {
  LRESULT Code;  // HTCLOSE, HTMAXBUTTON, HTMINBUTTON
  RECT Rect;
};
std::vector<CaptionButtonPlace> CaptionButtons(const Window* W);
// The caption button at a point in window coordinates, else HTNOWHERE.
LRESULT CaptionButtonAt(const Window* W, int X, int Y);
// Paints the border, the caption with the title and the caption buttons, in the active
// or inactive colours as the window's frame last heard (WM_NCACTIVATE).
void PaintDefaultFrame(Window* W);
// A press on a caption button: shown pressed while the pointer stays on it; released
// there, the button's window command (SC_CLOSE, SC_MINIMIZE, SC_MAXIMIZE or SC_RESTORE)
// is sent.
void TrackCaptionButton(WindowManager& M, HWND Wnd, LRESULT Code);

}  // namespace vantrel::win
