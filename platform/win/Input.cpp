// The input state of a window manager: routing raw events by kind, the window manager's
// hooks (show, placement, destruction), modifier keys, and the pointer calls.
#include "platform/win/Input.h"

#include "platform/win/MessageQueue.h"
#include "platform/win/Shell.h"
#include "platform/win/WindowManager.h"

namespace vantrel::win {

InputState::InputState(WindowManager& Manager) : FManager(Manager) {
  FManager.Queue().InputRouter = [this](RawInput&& E) { Route(std::move(E)); };
}

// The queue may outlive us (senders on other threads hold it): leave no router behind.
InputState::~InputState() { FManager.Queue().InputRouter = nullptr; }

void InputState::Route(RawInput&& E) {
  switch (E.Kind) {
    case RawInputKind::PointerMove:
    case RawInputKind::ButtonDown:
    case RawInputKind::ButtonUp:
      RouteMouse(E);
      break;
    case RawInputKind::Wheel: RouteWheel(E); break;
    case RawInputKind::KeyDown:
    case RawInputKind::KeyUp:
      RouteKey(E);
      break;
    case RawInputKind::Text: RouteText(E); break;
    case RawInputKind::Drop: RouteDrop(FManager, E); break;
    case RawInputKind::PointerLeft:
      FManager.SetCursorPos(E.Pos);
      CheckLeave(nullptr, HTNOWHERE, E.Pos);
      FPointerOutside = true;
      break;
    case RawInputKind::Activate: RouteDesktopActivation(E.Wnd); break;
    case RawInputKind::Deactivate: RouteDesktopDeactivation(); break;
  }
}

void InputState::RouteDesktopActivation(HWND Wnd) {
  Window* Top = FManager.Find(Wnd);
  if (!Top || !Top->IsTopLevel() || Top->Destroying) return;
  // A window behind a modal one hands the focus to the enabled window it owns.
  for (int Guard = 0; (Top->Style & WS_DISABLED) && Guard < 64; ++Guard) {
    Window* Owned = nullptr;
    for (Window* T : FManager.TopLevels())
      if (T->Owner == Top->Handle && !T->Destroying && (T->Style & WS_VISIBLE)) {
        Owned = T;
        break;
      }
    if (!Owned) return;
    Top = Owned;
  }
  if (Top->Handle == Active()) return;
  FDesktopActivation = true;
  Activate(Top, WA_ACTIVE);
  FDesktopActivation = false;
}

void InputState::RouteDesktopDeactivation() {
  // The releases of keys held now go to another program: they count as released here.
  for (int Vk = 8; Vk < 256; ++Vk)
    if (GetKeyState(Vk) < 0) {
      RawInput Up;
      Up.Kind = RawInputKind::KeyUp;
      Up.Vk = static_cast<WORD>(Vk);
      RouteKey(Up);
    }
  // Another program has the desktop now: a mode held by a capture (a menu, a drop-down, a
  // drag) ends.
  if (const HWND C = Capture()) SendMessage(C, WM_CANCELMODE, 0, 0);
  if (Active() || AppActive()) {
    FDesktopActivation = true;
    DeactivateAll();
    FDesktopActivation = false;
  }
}

void InputState::Post(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam, POINT Pt) {
  FManager.Queue().Post(MSG{Wnd, Msg, WParam, LParam, static_cast<DWORD>(FManager.GetClock().Now()), Pt});
}

// The modifier keys follow the event's MOD_* flags; the key of a key event itself counts
// as held while it is down.
void InputState::SyncModifiers(UINT Modifiers, int Vk, bool KeyDown, bool KeyUp) {
  auto Sync = [&](int Key, UINT Mod) {
    bool Down = (Modifiers & Mod) != 0;
    if (Vk == Key) Down = KeyDown || (Down && !KeyUp);
    SetKeyDown(Key, Down);
  };
  Sync(VK_SHIFT, MOD_SHIFT);
  Sync(VK_CONTROL, MOD_CONTROL);
  Sync(VK_MENU, MOD_ALT);
}

WPARAM InputState::MouseKeys() const {
  WPARAM K = 0;
  if (GetKeyState(VK_LBUTTON) < 0) K |= MK_LBUTTON;
  if (GetKeyState(VK_RBUTTON) < 0) K |= MK_RBUTTON;
  if (GetKeyState(VK_MBUTTON) < 0) K |= MK_MBUTTON;
  if (GetKeyState(VK_SHIFT) < 0) K |= MK_SHIFT;
  if (GetKeyState(VK_CONTROL) < 0) K |= MK_CONTROL;
  return K;
}

bool InputState::SetButtonsSwapped(bool Swap) {
  const bool Old = FSwapButtons;
  FSwapButtons = Swap;
  return Old;
}

HCURSOR InputState::SetCursorShape(HCURSOR Cursor) {
  const HCURSOR Old = FCursor;
  if (Cursor != Old) {
    FCursor = Cursor;
    FManager.GetDisplay().SetCursorShape(Cursor);
  }
  return Old;
}

void InputState::WindowShown(Window* W, int Cmd) {
  if (!W->IsTopLevel() || !FManager.IsVisible(W)) return;
  if (W->Style & WS_MINIMIZE) {
    if (W->Handle == FActive && (Cmd == SW_MINIMIZE || Cmd == SW_SHOWMINNOACTIVE)) ActivateNext(W);
    return;
  }
  const bool Activates = Cmd != SW_SHOWNA && Cmd != SW_SHOWNOACTIVATE && Cmd != SW_HIDE;
  if (Activates && !(W->ExStyle & WS_EX_NOACTIVATE) && W->Handle != FActive) Activate(W, WA_ACTIVE);
}

void InputState::PositionChanged(Window* W, UINT Flags, bool WasVisible) {
  const bool Visible = (W->Style & WS_VISIBLE) != 0;
  if (WasVisible && !Visible) {
    if (W->IsTopLevel() && W->Handle == FActive) ActivateNext(W);
    return;
  }
  if (Flags & SWP_NOACTIVATE) return;
  if (!W->IsTopLevel() || !Visible || (W->Style & WS_MINIMIZE) || (W->ExStyle & WS_EX_NOACTIVATE)) return;
  if (W->Handle != FActive) Activate(W, WA_ACTIVE);
}

void InputState::Forget(Window* W) {
  const HWND Wnd = W->Handle;
  if (FFocus == Wnd) FFocus = nullptr;
  if (FCapture == Wnd) {
    FCapture = nullptr;
    FManager.GetDisplay().SetNativeCapture(nullptr);
  }
  if (FTracking.hwndTrack == Wnd) FTracking = {};
  if (FLastClick && FLastClick->Wnd == Wnd) FLastClick.reset();
  if (FCaret.Owner == Wnd) FCaret = CaretState{.BlinkTime = FCaret.BlinkTime};
  if (FActive == Wnd) {
    // Destroyed while active without being hidden first: activation moves on.
    FActive = nullptr;
    ActivateNext(W);
  }
}

bool IsMouseButtonSwapped() {
  WindowManager* M = WindowManager::Instance();
  return M && M->Input().ButtonsSwapped();
}

bool FetchModalMessage(WindowManager& M, MSG& Out) {
  MessageQueue& Q = M.Queue();
  bool Got = Q.Fetch(Out, nullptr, 0, 0, true, false, true);
  if (!Got) {
    // On the virtual clock nothing arrives unless a test queues it: waiting would never
    // end, so the loop is told that its input is used up.
    if (M.GetClock().IsVirtual()) return false;
    Q.Fetch(Out, nullptr, 0, 0, true, true, true);
  }
  Q.LastMessage = Out;
  return true;
}

}  // namespace vantrel::win

using vantrel::win::InputState;
using vantrel::win::WindowManager;

BOOL GetCursorPos(LPPOINT Point) {
  WindowManager* M = WindowManager::Instance();
  if (!M || !Point) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  *Point = M->CursorPos();
  // The desktop's pointer, where the display can tell (also outside our windows).
  unsigned Buttons = 0;
  POINT Live{};
  if (M->IsGuiThread() && M->GetDisplay().QueryPointer(Live, Buttons)) *Point = Live;
  return TRUE;
}

BOOL SetCursorPos(int X, int Y) {
  WindowManager* M = WindowManager::OnGui();
  if (!M) return FALSE;
  M->SetCursorPos(POINT{X, Y});
  vantrel::win::RawInput E;
  E.Kind = vantrel::win::RawInputKind::PointerMove;
  E.Pos = {X, Y};
  M->RawInputArrived(std::move(E));
  return TRUE;
}

BOOL SwapMouseButton(BOOL Swap) {
  WindowManager* M = WindowManager::OnGui();
  return M && M->Input().SetButtonsSwapped(Swap != FALSE) ? TRUE : FALSE;
}

BOOL TrackMouseEvent(LPTRACKMOUSEEVENT EventTrack) {
  WindowManager* M = WindowManager::OnGui();
  if (!M || !EventTrack || EventTrack->cbSize != sizeof(TRACKMOUSEEVENT)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  return M->Input().Track(*EventTrack) ? TRUE : FALSE;
}
