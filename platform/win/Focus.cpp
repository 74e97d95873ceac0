// Focus and activation: which window takes the keys and which top-level window is
// active, with their messages in the order the class library and the frame expect.
#include "platform/win/Focus.h"

#include "platform/win/Input.h"
#include "platform/win/WindowManager.h"

namespace vantrel::win {

HWND InputState::Focus() const { return FFocus && FManager.IsLive(FFocus) ? FFocus : nullptr; }

HWND InputState::Active() const { return FActive && FManager.IsLive(FActive) ? FActive : nullptr; }

HWND InputState::SetFocusTo(HWND Wnd) {
  const HWND Before = Focus();
  if (!Wnd) {
    if (Before) {
      FFocus = nullptr;
      if (Window* L = FManager.Find(Before)) FManager.Deliver(L, WM_KILLFOCUS, 0, 0);
    }
    return Before;
  }
  Window* W = FManager.FindOrFail(Wnd);
  if (!W || W->Destroying) return nullptr;
  Window* Top = W;
  while (Top->Parent) Top = Top->Parent;
  if (Top->Handle != Active()) {
    if (!Activate(Top, WA_ACTIVE)) return Before;
    // Activation may have given the focus to the top-level window already.
    if (!FManager.IsLive(Wnd)) return Before;
  }
  const HWND Losing = Focus();
  if (Losing == Wnd) return Before;
  // GetFocus already answers the new window while the old one hears it lost the focus.
  FFocus = Wnd;
  if (Losing)
    if (Window* L = FManager.Find(Losing)) FManager.Deliver(L, WM_KILLFOCUS, reinterpret_cast<WPARAM>(Wnd), 0);
  if (FFocus != Wnd) return Before;  // the handler moved the focus on
  W = FManager.Find(Wnd);
  if (!W) return Before;
  FManager.Deliver(W, WM_SETFOCUS, reinterpret_cast<WPARAM>(Losing), 0);
  return Before;
}

void InputState::SendActivateApp(bool Active) {
  FAppActive = Active;
  std::vector<HWND> Tops;
  for (Window* T : FManager.TopLevels()) Tops.push_back(T->Handle);
  for (HWND H : Tops)
    if (Window* T = FManager.Find(H); T && !T->Destroying)
      FManager.Deliver(T, WM_ACTIVATEAPP, Active ? TRUE : FALSE, 0);
}

bool InputState::Activate(Window* Top, WPARAM How) {
  const HWND New = Top->Handle;
  const HWND Old = Active();
  if (New == Old) return true;
  FActive = New;
  if (!FDesktopActivation) FManager.GetDisplay().ActivateNativeWindow(New);
  // The window comes to the top of its band first.
  FManager.SetPos(Top, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  if (Old)
    if (Window* O = FManager.Find(Old); O && !O->Destroying) {
      const WORD Minimized = (O->Style & WS_MINIMIZE) ? 1 : 0;
      FManager.Deliver(O, WM_NCACTIVATE, FALSE, reinterpret_cast<LPARAM>(New));
      if ((O = FManager.Find(Old)))
        FManager.Deliver(O, WM_ACTIVATE, MAKEWPARAM(static_cast<WORD>(WA_INACTIVE), Minimized),
                         reinterpret_cast<LPARAM>(New));
    }
  if (FActive != New || !FManager.IsLive(New)) return false;
  if (!FAppActive) SendActivateApp(true);
  Top = FManager.Find(New);
  if (FActive != New || !Top) return false;
  const WORD Minimized = (Top->Style & WS_MINIMIZE) ? 1 : 0;
  FManager.Deliver(Top, WM_NCACTIVATE, TRUE, reinterpret_cast<LPARAM>(Old));
  if (!(Top = FManager.Find(New))) return false;
  FManager.Deliver(Top, WM_ACTIVATE, MAKEWPARAM(static_cast<WORD>(How), Minimized), reinterpret_cast<LPARAM>(Old));
  // Keys never go to a window that is no longer active: a focus the new window did not
  // take over is dropped.
  const HWND F = Focus();
  if (F && FActive == New && F != New && !IsChild(New, F)) {
    FFocus = nullptr;
    if (Window* L = FManager.Find(F)) FManager.Deliver(L, WM_KILLFOCUS, 0, 0);
  }
  return FManager.IsLive(New);
}

void InputState::DeactivateAll() {
  const HWND Old = Active();
  FActive = nullptr;
  if (Old)
    if (Window* O = FManager.Find(Old); O && !O->Destroying) {
      FManager.Deliver(O, WM_NCACTIVATE, FALSE, 0);
      if ((O = FManager.Find(Old))) FManager.Deliver(O, WM_ACTIVATE, WA_INACTIVE, 0);
    }
  if (FAppActive) SendActivateApp(false);
  if (const HWND F = Focus()) {
    FFocus = nullptr;
    if (Window* L = FManager.Find(F)) FManager.Deliver(L, WM_KILLFOCUS, 0, 0);
  }
}

void InputState::ActivateNext(Window* Leaving) {
  auto Eligible = [&](Window* T) {
    return T != Leaving && !T->Destroying && FManager.IsVisible(T) && !(T->Style & (WS_DISABLED | WS_MINIMIZE)) &&
           !(T->ExStyle & (WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW));
  };
  Window* Next = nullptr;
  if (Leaving->Owner)
    if (Window* O = FManager.Find(Leaving->Owner); O && Eligible(O)) Next = O;
  if (!Next)
    for (Window* T : FManager.TopLevels())
      if (Eligible(T)) {
        Next = T;
        break;
      }
  if (Next)
    Activate(Next, WA_ACTIVE);
  else
    DeactivateAll();
}

}  // namespace vantrel::win

using vantrel::win::Window;
using vantrel::win::WindowManager;

HWND SetFocus(HWND Wnd) {
  WindowManager* M = WindowManager::OnGui();
  return M ? M->Input().SetFocusTo(Wnd) : nullptr;
}

HWND GetFocus() {
  WindowManager* M = WindowManager::OnGui();
  return M ? M->Input().Focus() : nullptr;
}

HWND SetActiveWindow(HWND Wnd) {
  WindowManager* M = WindowManager::OnGui();
  if (!M) return nullptr;
  vantrel::win::InputState& I = M->Input();
  const HWND Old = I.Active();
  if (!Wnd) {
    I.DeactivateAll();
    return Old;
  }
  Window* W = M->FindOrFail(Wnd);
  if (!W) return nullptr;
  while (W->Parent) W = W->Parent;
  I.Activate(W, WA_ACTIVE);
  return Old;
}

HWND GetActiveWindow() {
  WindowManager* M = WindowManager::OnGui();
  return M ? M->Input().Active() : nullptr;
}

BOOL SetForegroundWindow(HWND Wnd) {
  WindowManager* M = WindowManager::OnGui();
  if (!M || !M->FindOrFail(Wnd)) return FALSE;
  SetActiveWindow(Wnd);
  // The desktop's focus comes back to us even where we thought the window active.
  if (vantrel::win::Window* W = M->Find(Wnd)) {
    while (W->Parent) W = W->Parent;
    if (W->Handle == GetActiveWindow()) M->GetDisplay().ActivateNativeWindow(W->Handle);
  }
  return TRUE;
}

HWND GetForegroundWindow() { return GetActiveWindow(); }
