// Keyboard focus and activation of top-level windows. The program is the only one on
// its display, so it is active whenever one of its windows is.
#pragma once

#include "platform/win/Messages.h"

// WM_KILLFOCUS goes to the window losing the focus, then WM_SETFOCUS to the new one; a
// window in an inactive top-level window activates that window first. Returns the
// window that had the focus.
HWND SetFocus(HWND Wnd);
HWND GetFocus();
// Top-level windows only (a child stands for its top-level window). WM_NCACTIVATE and
// WM_ACTIVATE go to the window losing activation, WM_ACTIVATEAPP when the program
// becomes active, then WM_NCACTIVATE and WM_ACTIVATE to the new one, whose default
// procedure gives itself the focus.
HWND SetActiveWindow(HWND Wnd);
HWND GetActiveWindow();
// The program is the only one on its display: the foreground window is the active one.
BOOL SetForegroundWindow(HWND Wnd);
HWND GetForegroundWindow();

