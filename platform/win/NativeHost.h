// Native child windows for code that draws into a window itself (the video player): the
// display makes one over a child window's client area and keeps it where that area shows.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/win/WinTypes.h"

// The id of the native window that shows Wnd's client area (a child window), or 0 when
// the display has none (the headless one, or Wnd is not a live child window).
uintptr_t NativeWindowId(HWND Wnd);

namespace vantrel::win {

// Where a child window's client area lies in its top-level window and which part of it
// shows (WS_CLIPSIBLINGS and WS_CLIPCHILDREN cut it as they cut a DC).
struct HostPlacement {
  HWND Top = nullptr;
  RECT Client{};                // in the top-level window's coordinates
  std::vector<RECT> Visible;    // relative to Client's top-left corner; empty: nothing shows
  bool Shown = false;           // the window and all its ancestors are visible
};

// False when Wnd is not a live child window. GUI thread.
bool HostPlacementOf(HWND Wnd, HostPlacement& Out);

}  // namespace vantrel::win
