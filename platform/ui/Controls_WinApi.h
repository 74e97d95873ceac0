// Private to the control units: the window-system calls they use and the bookkeeping
// they share (which control made which window, the mouse and capture controls).
#pragma once

#include "platform/win/Capture.h"
#include "platform/win/Focus.h"
#include "platform/win/Gdi.h"
#include "platform/win/Paint.h"
#include "platform/win/WinTypes.h"
#include "platform/win/WindowDc.h"
#include "platform/win/WindowManager.h"

class TControl;
class TWinControl;

namespace vantrel::ui::detail {

// The control is going: forget it as the mouse or capture control.
void ControlGone(TControl* Control);
// The control was hidden: the control under the pointer, when it is that one or inside
// it, leaves.
void ControlHidden(TControl* Control);
// The windows of our controls.
void RegisterWindow(HWND Handle, TWinControl* Control);
void UnregisterWindow(HWND Handle);
TWinControl* ControlOfWindow(HWND Handle);
// A mouse message at Client (client coordinates of Wnd) was seen: bring the control
// under the pointer up to date.
void TrackMouse(HWND Wnd, POINT Client);

}  // namespace vantrel::ui::detail
