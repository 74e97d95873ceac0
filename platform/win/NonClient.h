// The default procedure's part in input: the non-client protocol (a press on the caption
// or a border starts the move/size loop, a caption double click maximizes or restores),
// the cursor shape from the hit code, activation giving the focus, context menus from
// right clicks, Shift+F10 and the menu key, wheel and mouse-activation questions passed to
// the parent, and the keyboard's window commands (Alt or F10 alone, Alt+letter, Alt+F4).
#pragma once

#include "platform/win/Messages.h"

namespace vantrel::win {

class WindowManager;
struct Window;

// Called by DefWindowProc first: true when the message was handled here, with Result.
bool DefInputMessage(WindowManager& M, Window* W, UINT Msg, WPARAM WParam, LPARAM LParam, LRESULT& Result);

// The standard cursor DefWindowProc shows for a hit-test code (0 for HTCLIENT and the
// codes that keep the shape).
HCURSOR CursorForHitCode(LRESULT Code);

}  // namespace vantrel::win
