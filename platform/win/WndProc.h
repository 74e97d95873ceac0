// Window procedures as objects: a WNDPROC is an opaque pointer to a callable object of
// ours, so a procedure can carry the object it serves (the class library's controls, the
// frame component's hooks). Procedures are handed around as LONG_PTR through
// GetWindowLongPtr/SetWindowLongPtr(GWL_WNDPROC) and called with CallWindowProc.
#pragma once

#include <functional>

#include "platform/win/WinTypes.h"

// The class library's message record: the same four fields for every message.
struct TMessage {
  UINT Msg = 0;
  WPARAM WParam = 0;
  LPARAM LParam = 0;
  LRESULT Result = 0;
};

// An object's message method, as MakeObjectInstance wraps it.
using TWndMethod = std::function<void(TMessage& Message)>;

namespace vantrel::win {
class WndProcObject;
}

// Opaque: only the window system looks inside.
using WNDPROC = vantrel::win::WndProcObject*;
using WNDPROCFUNC = LRESULT (*)(HWND, UINT, WPARAM, LPARAM);

// A procedure object for a plain function. The same function always gives the same
// object, which lives as long as the process and needs no freeing.
WNDPROC MakeWndProc(WNDPROCFUNC Proc);
// A procedure object for a closure that is told the window (as a class library thunk
// is). Freed with FreeObjectInstance.
WNDPROC MakeWndProcInstance(std::function<LRESULT(HWND, UINT, WPARAM, LPARAM)> Proc);
// A procedure object for an object's message method: the message arrives as a TMessage
// and its Result is the procedure's result. Freed with FreeObjectInstance.
WNDPROC MakeObjectInstance(TWndMethod Method);
// Frees an object made by MakeObjectInstance/MakeWndProcInstance. Freeing one that is
// still installed in a window or class is a programming error: it raises
// EInvalidOperation and the object stays alive. nullptr and function procedures are
// ignored.
void FreeObjectInstance(WNDPROC Proc);
// Calls any procedure object. A pointer that is not a live procedure object calls nothing
// and gives 0 with ERROR_INVALID_PARAMETER (a subclasser holding a stale pointer fails
// harmlessly).
LRESULT CallWindowProc(WNDPROC Proc, HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);
inline LRESULT CallWindowProcW(WNDPROC Proc, HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  return CallWindowProc(Proc, Wnd, Msg, WParam, LParam);
}
// LONG_PTR <-> WNDPROC, for the values that GWL_WNDPROC hands around.
inline LONG_PTR WndProcToLong(WNDPROC Proc) { return reinterpret_cast<LONG_PTR>(Proc); }
inline WNDPROC LongToWndProc(LONG_PTR Value) { return reinterpret_cast<WNDPROC>(Value); }

namespace vantrel::win {

// Bookkeeping used by the window manager: a procedure object is "installed" while a
// window or class uses it, and must be live to be installed.
bool IsLiveWndProc(WNDPROC Proc);
void AddWndProcUse(WNDPROC Proc);
void ReleaseWndProcUse(WNDPROC Proc);

}  // namespace vantrel::win
