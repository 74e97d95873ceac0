// Helpers shared by the native control classes (list box, combo box, track bar, list
// view, header): each window keeps its state object in its first extra bytes, made at
// WM_NCCREATE and freed at WM_NCDESTROY, and tells its parent what happens through
// WM_COMMAND and WM_NOTIFY.
#pragma once

#include <memory>

#include "platform/win/MessageQueue.h"
#include "platform/win/Paint.h"
#include "platform/win/Messages.h"
#include "platform/win/WindowManager.h"

namespace vantrel::win {

// Bytes of window extra a native control class asks for: its state pointer.
constexpr int NativeStateBytes = static_cast<int>(sizeof(LONG_PTR));

// The state object of a native control window (nullptr before WM_NCCREATE and after
// WM_NCDESTROY, or when the window is of another class).
template <class T>
T* NativeState(HWND Wnd) {
  return reinterpret_cast<T*>(GetWindowLongPtr(Wnd, 0));
}

// Makes the state at WM_NCCREATE; false when the window has no room for it.
template <class T, class... Args>
T* AttachNativeState(HWND Wnd, Args&&... A) {
  auto State = std::make_unique<T>(std::forward<Args>(A)...);
  SetLastError(0);
  SetWindowLongPtr(Wnd, 0, reinterpret_cast<LONG_PTR>(State.get()));
  if (GetWindowLongPtr(Wnd, 0) != reinterpret_cast<LONG_PTR>(State.get())) return nullptr;
  return State.release();
}

// Frees the state at WM_NCDESTROY.
template <class T>
void DetachNativeState(HWND Wnd) {
  std::unique_ptr<T> State(NativeState<T>(Wnd));
  SetWindowLongPtr(Wnd, 0, 0);
}

// WM_PAINT and WM_PRINTCLIENT: paints into the DC the message carries, else between
// BeginPaint and EndPaint. Answers 0.
template <class TState>
LRESULT PaintNativeControl(HWND Wnd, WPARAM WParam, TState& State) {
  if (HDC Dc = reinterpret_cast<HDC>(WParam)) {
    State.Paint(Dc);
    return 0;
  }
  PAINTSTRUCT Ps{};
  if (HDC Dc = BeginPaint(Wnd, &Ps)) {
    State.Paint(Dc);
    EndPaint(Wnd, &Ps);
  }
  return 0;
}

// The control's id as its parent knows it.
inline UINT_PTR ControlId(HWND Wnd) { return static_cast<UINT_PTR>(GetWindowLongPtr(Wnd, GWL_ID)); }

// WM_COMMAND with a notification code to the parent.
inline void NotifyParentCommand(HWND Wnd, WORD Code) {
  if (HWND Parent = GetParent(Wnd))
    SendMessage(Parent, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(ControlId(Wnd)), Code),
                reinterpret_cast<LPARAM>(Wnd));
}

// WM_NOTIFY to the parent: fills the record's header (which it must start with) and
// returns the parent's answer.
template <class TRecord>
LRESULT NotifyParent(HWND Wnd, UINT Code, TRecord& Record) {
  NMHDR& Hdr = reinterpret_cast<NMHDR&>(Record);
  Hdr.hwndFrom = Wnd;
  Hdr.idFrom = ControlId(Wnd);
  Hdr.code = Code;
  HWND Parent = GetParent(Wnd);
  return Parent ? SendMessage(Parent, WM_NOTIFY, Hdr.idFrom, reinterpret_cast<LPARAM>(&Record)) : 0;
}

}  // namespace vantrel::win
