// The class library's GUI-thread bookkeeping: which control made which window, the
// control holding the mouse capture, the control under the pointer (CM_MOUSEENTER /
// CM_MOUSELEAVE), and the application's exception handler.
#include <cstdio>
#include <unordered_map>

#include "platform/ui/Controls.h"
#include "platform/ui/Controls_WinApi.h"

namespace {

// GUI thread only. The window table stands for the property a window of the class
// library carries; handles are never reused, so a stale entry cannot name another window.
struct ControlsState {
  std::unordered_map<HWND, TWinControl*> Windows;
  TControl* CaptureControl = nullptr;  // a windowless control whose parent holds the capture
  TControl* MouseControl = nullptr;
  TExceptionHandler ExceptionHandler;
};

ControlsState& State() {
  static ControlsState S;
  return S;
}

void SetMouseControl(TControl* Control) {
  ControlsState& S = State();
  if (S.MouseControl == Control) return;
  TControl* Old = S.MouseControl;
  S.MouseControl = Control;
  if (Old) Old->Perform(CM_MOUSELEAVE, 0, 0);
  // The leave handler may have changed things; enter only what is still current.
  if (Control && S.MouseControl == Control) Control->Perform(CM_MOUSEENTER, 0, 0);
}

}  // namespace

namespace vantrel::ui::detail {

void ControlGone(TControl* Control) {
  ControlsState& S = State();
  if (S.MouseControl == Control) S.MouseControl = nullptr;
  if (S.CaptureControl == Control) {
    S.CaptureControl = nullptr;
    if (vantrel::win::WindowManager::Instance()) ReleaseCapture();
  }
}

void ControlHidden(TControl* Control) {
  // The pointer is no longer over anything of a hidden control (a closed form, say): what
  // it was over hears so now, not at the next mouse message or idle time (a modal loop may
  // come first).
  for (TControl* C = State().MouseControl; C; C = C->Parent())
    if (C == Control) {
      SetMouseControl(nullptr);
      return;
    }
}

void RegisterWindow(HWND Handle, TWinControl* Control) { State().Windows[Handle] = Control; }

void UnregisterWindow(HWND Handle) { State().Windows.erase(Handle); }

TWinControl* ControlOfWindow(HWND Handle) {
  const auto& W = State().Windows;
  const auto It = W.find(Handle);
  return It == W.end() ? nullptr : It->second;
}

void TrackMouse(HWND Wnd, POINT Client) {
  POINT P = Client;
  if (!::ClientToScreen(Wnd, &P)) return;
  SetMouseControl(FindDragTarget(P, true));
}

}  // namespace vantrel::ui::detail

TControl* GetCaptureControl() {
  ControlsState& S = State();
  TWinControl* Window = TWinControl::FindControl(GetCapture());
  if (Window && S.CaptureControl && S.CaptureControl->Parent() == Window) return S.CaptureControl;
  return Window;
}

void SetCaptureControl(TControl* Control) {
  ControlsState& S = State();
  S.CaptureControl = nullptr;
  ReleaseCapture();
  if (!Control) return;
  auto* Windowed = dynamic_cast<TWinControl*>(Control);
  if (!Windowed) {
    if (!Control->Parent()) return;
    Windowed = Control->Parent();
    S.CaptureControl = Control;
  }
  SetCapture(Windowed->Handle());
}

TControl* MouseControl() { return State().MouseControl; }

TControl* FindDragTarget(const TPoint& Pos, Boolean AllowDisabled) {
  HWND Wnd = WindowFromPoint(Pos);
  TWinControl* Control = nullptr;
  while (Wnd && !(Control = TWinControl::FindControl(Wnd))) Wnd = GetParent(Wnd);
  if (!Control) return nullptr;
  TControl* Child = Control->ControlAtPos(Control->ScreenToClient(Pos), AllowDisabled);
  return Child ? Child : Control;
}

void DoMouseIdle() {
  vantrel::win::WindowManager* M = vantrel::win::WindowManager::Instance();
  if (!M) return;
  try {
    SetMouseControl(FindDragTarget(M->CursorPos(), true));
  } catch (...) {
    ApplicationHandleException(nullptr);
  }
}

void SetApplicationExceptionHandler(TExceptionHandler Handler) {
  State().ExceptionHandler = std::move(Handler);
}

void ApplicationHandleException(TObject* Sender) {
  std::exception_ptr Error = std::current_exception();
  if (!Error) return;
  const TExceptionHandler Handler = State().ExceptionHandler;  // may replace itself
  if (Handler) {
    Handler(Sender, Error);
    return;
  }
  try {
    std::rethrow_exception(Error);
  } catch (const EAbort&) {
    // A silent exception: nothing to show.
  } catch (const Exception& E) {
    std::fprintf(stderr, "%s: %s\n", E.ClassName(), E.Message().c_str());
  } catch (const std::exception& E) {
    std::fprintf(stderr, "Exception: %s\n", E.what());
  } catch (...) {
    std::fprintf(stderr, "Exception: unknown\n");
  }
}
