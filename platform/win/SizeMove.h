// The modal move/size loop of SC_MOVE and SC_SIZE: the window follows the pointer (its
// whole contents, as with full-window drag) until the button is released (kept) or Esc
// is pressed (put back). WM_ENTERSIZEMOVE, then per step WM_MOVING or WM_SIZING with a
// rectangle the window may change, the size held within WM_GETMINMAXINFO's tracking
// limits, and WM_EXITSIZEMOVE. Other messages are dispatched as usual meanwhile.
#pragma once

#include "platform/win/Messages.h"

// WM_SIZING wParam: the edge being dragged; SC_SIZE + WMSZ_* starts a size loop on it.
constexpr WPARAM WMSZ_LEFT = 1;
constexpr WPARAM WMSZ_RIGHT = 2;
constexpr WPARAM WMSZ_TOP = 3;
constexpr WPARAM WMSZ_TOPLEFT = 4;
constexpr WPARAM WMSZ_TOPRIGHT = 5;
constexpr WPARAM WMSZ_BOTTOM = 6;
constexpr WPARAM WMSZ_BOTTOMLEFT = 7;
constexpr WPARAM WMSZ_BOTTOMRIGHT = 8;

namespace vantrel::win {

class WindowManager;

// Runs the loop for WM_SYSCOMMAND Command (SC_MOVE or SC_SIZE with the edge in the low
// four bits; SC_MOVE | HTCAPTION from a caption press) started at the screen point in
// Pos. Nothing happens for a minimized or maximized window, for a command from the
// keyboard (no edge) or when the left button is no longer down.
void RunSizeMoveLoop(WindowManager& M, HWND Wnd, WPARAM Command, LPARAM Pos);

}  // namespace vantrel::win
