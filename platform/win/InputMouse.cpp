// Mouse routing: the capture window takes everything; otherwise WM_NCHITTEST down the
// z-order finds the target (regions and HTTRANSPARENT let the pointer through, a disabled
// top-level window answers HTERROR). A press asks WM_MOUSEACTIVATE of an inactive
// window and tells the parents (WM_PARENTNOTIFY); WM_SETCURSOR comes before the mouse
// message, which is posted in client coordinates for HTCLIENT and as the WM_NC* message
// with the hit code otherwise. Double clicks follow CS_DBLCLKS and the double-click time.
// The wheel goes to the window under the pointer.
#include <cstdlib>

#include "platform/win/Input.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/SysMetrics.h"
#include "platform/win/Timers.h"
#include "platform/win/WindowManager.h"
#include "platform/win/WindowRegion.h"

namespace vantrel::win {

namespace {

bool InRect(const RECT& R, POINT P) { return P.X >= R.Left && P.X < R.Right && P.Y >= R.Top && P.Y < R.Bottom; }

RECT ScreenRect(const WindowManager& M, const Window* W) {
  const POINT O = M.WindowOrigin(W);
  return {O.X, O.Y, O.X + W->Width(), O.Y + W->Height()};
}

RECT ScreenClient(const WindowManager& M, const Window* W) {
  const POINT O = M.ClientOrigin(W);
  return {O.X, O.Y, O.X + (W->ClientRect.Right - W->ClientRect.Left),
          O.Y + (W->ClientRect.Bottom - W->ClientRect.Top)};
}

// Kind: 0 down, 1 up, 2 double click.
UINT ButtonMessage(int Button, UINT Kind, bool NonClient) {
  const UINT Base = Button == rbRight    ? (NonClient ? WM_NCRBUTTONDOWN : WM_RBUTTONDOWN)
                    : Button == rbMiddle ? (NonClient ? WM_NCMBUTTONDOWN : WM_MBUTTONDOWN)
                                         : (NonClient ? WM_NCLBUTTONDOWN : WM_LBUTTONDOWN);
  return Base + Kind;
}

int VkOfButton(int Button) {
  return Button == rbRight ? VK_RBUTTON : Button == rbMiddle ? VK_MBUTTON : VK_LBUTTON;
}

bool Takes(const WindowManager& M, const Window* W, POINT P) {
  return !W->Destroying && (W->Style & WS_VISIBLE) && InRect(ScreenRect(M, W), P) && WindowTakesPoint(M, W, P);
}

}  // namespace

HitResult InputState::HitIn(Window* W, POINT P) {
  // A disabled child lets the pointer through to what lies below it.
  if (W->Style & WS_DISABLED) return W->IsTopLevel() ? HitResult{W, HTERROR} : HitResult{};
  const HWND H = W->Handle;
  if (InRect(ScreenClient(FManager, W), P)) {
    std::vector<HWND> Kids;
    for (Window* C : W->Children) Kids.push_back(C->Handle);
    for (HWND K : Kids) {
      Window* C = FManager.Find(K);
      if (!C || !Takes(FManager, C, P)) continue;
      const HitResult R = HitIn(C, P);
      if (R.W) return R;
      if (!FManager.IsLive(H)) return {};
    }
  }
  const LRESULT Code = FManager.Deliver(W, WM_NCHITTEST, 0, PointToLParam(P.X, P.Y));
  W = FManager.Find(H);
  if (!W || Code == HTTRANSPARENT) return {};
  return {W, Code};
}

HitResult InputState::HitTest(POINT P) {
  std::vector<HWND> Tops;
  for (Window* T : FManager.TopLevels()) Tops.push_back(T->Handle);
  for (HWND H : Tops) {
    Window* T = FManager.Find(H);
    if (!T || (T->Style & WS_MINIMIZE) || !Takes(FManager, T, P)) continue;
    const HitResult R = HitIn(T, P);
    if (R.W) return R;
  }
  return {};
}

void InputState::CheckLeave(Window* Target, LRESULT Code, POINT P) {
  if (!FTracking.hwndTrack) return;
  Window* T = FManager.Find(FTracking.hwndTrack);
  if (!T) {
    FTracking = {};
    return;
  }
  const bool NonClient = (FTracking.dwFlags & TME_NONCLIENT) != 0;
  bool Inside;
  if (Capture()) {  // where the pointer really is, not where the capture sends it
    const bool InClient = InRect(ScreenClient(FManager, T), P);
    Inside = NonClient ? InRect(ScreenRect(FManager, T), P) && !InClient : InClient;
  } else {
    Inside = Target == T && (NonClient ? Code != HTCLIENT : Code == HTCLIENT);
  }
  if (Inside) return;
  const HWND Left = FTracking.hwndTrack;
  FTracking = {};
  Post(Left, NonClient ? WM_NCMOUSELEAVE : WM_MOUSELEAVE, 0, 0, P);
}

bool InputState::Track(TRACKMOUSEEVENT& E) {
  if (E.dwFlags & TME_QUERY) {
    E = FTracking;
    E.cbSize = sizeof(TRACKMOUSEEVENT);
    return true;
  }
  if (E.dwFlags & TME_CANCEL) {
    if (FTracking.hwndTrack == E.hwndTrack && (E.dwFlags & TME_LEAVE)) FTracking = {};
    return true;
  }
  Window* W = FManager.FindOrFail(E.hwndTrack);
  if (!W) return false;
  if (!(E.dwFlags & TME_LEAVE)) return true;
  const POINT P = FManager.CursorPos();
  const bool NonClient = (E.dwFlags & TME_NONCLIENT) != 0;
  const bool InClient = InRect(ScreenClient(FManager, W), P);
  const bool Inside = FManager.WindowAt(P) == W && (NonClient ? !InClient : InClient);
  if (!Inside) {
    // Not there now: the leave comes at once.
    if (FTracking.hwndTrack == E.hwndTrack) FTracking = {};
    Post(E.hwndTrack, NonClient ? WM_NCMOUSELEAVE : WM_MOUSELEAVE, 0, 0, P);
    return true;
  }
  FTracking = E;
  FTracking.dwFlags &= TME_LEAVE | TME_NONCLIENT | TME_HOVER;
  return true;
}

void InputState::RouteMouse(RawInput& E) {
  const POINT P = E.Pos;
  FManager.SetCursorPos(P);
  FPointerOutside = false;
  SyncModifiers(E.Modifiers, 0, false, false);
  const bool Down = E.Kind == RawInputKind::ButtonDown, Up = E.Kind == RawInputKind::ButtonUp;
  int Button = E.Button;
  if (FSwapButtons && (Button == rbLeft || Button == rbRight)) Button = Button == rbLeft ? rbRight : rbLeft;
  if (Down) {
    FPhysicalButtons |= 1u << E.Button;
    SetKeyDown(VkOfButton(Button), true);
    FKeyMenuArmed = FKeyMenuPending = 0;
  } else if (Up) {
    FPhysicalButtons &= ~(1u << E.Button);
    SetKeyDown(VkOfButton(Button), false);
  }
  const UINT Kind = Up ? 1 : 0;
  const UINT ClientMsg = (Down || Up) ? ButtonMessage(Button, Kind, false) : WM_MOUSEMOVE;

  auto DoubleClick = [&](Window* W, bool NonClient, LRESULT Code) {
    const uint64_t Now = FManager.GetClock().Now();
    const Click& L = FLastClick ? *FLastClick : Click{};
    const bool Near = std::abs(P.X - L.Pos.X) <= GetSystemMetrics(SM_CXDOUBLECLK) / 2 &&
                      std::abs(P.Y - L.Pos.Y) <= GetSystemMetrics(SM_CYDOUBLECLK) / 2;
    // Non-client double clicks come whatever the class style says.
    if (FLastClick && L.Wnd == W->Handle && L.Button == Button && L.NonClient == NonClient && L.Code == Code &&
        Now - L.Time <= GetDoubleClickTime() && Near && (NonClient || (W->Class->Style & CS_DBLCLKS))) {
      FLastClick.reset();
      return true;
    }
    FLastClick = Click{W->Handle, Button, NonClient, Code, Now, P};
    return false;
  };

  if (const HWND C = Capture()) {
    Window* W = FManager.Find(C);
    CheckLeave(W, HTCLIENT, P);
    UINT Msg = ClientMsg;
    if (Down && DoubleClick(W, false, HTCLIENT)) Msg += 2;
    const POINT O = FManager.ClientOrigin(W);
    Post(C, Msg, MouseKeys(), PointToLParam(P.X - O.X, P.Y - O.Y), P);
    return;
  }

  const HitResult Hit = HitTest(P);
  if (!Hit.W) {
    CheckLeave(nullptr, HTNOWHERE, P);
    if (Down) FLastClick.reset();
    return;
  }
  const HWND Target = Hit.W->Handle;
  const LRESULT Code = Hit.Code;
  CheckLeave(Hit.W, Code, P);
  const LPARAM CursorQuestion = MAKELPARAM(static_cast<WORD>(static_cast<SHORT>(Code)), static_cast<WORD>(ClientMsg));
  if (Code == HTERROR) {  // a disabled window: the cursor question only (its default beeps on a press)
    FManager.Deliver(Hit.W, WM_SETCURSOR, reinterpret_cast<WPARAM>(Target), CursorQuestion);
    return;
  }
  bool Eat = false;
  if (Down) {
    Window* Top = Hit.W;
    while (Top->Parent) Top = Top->Parent;
    const HWND TopH = Top->Handle;
    if (TopH != Active()) {
      const LRESULT R = FManager.Deliver(Hit.W, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(TopH), CursorQuestion);
      Eat = R == MA_ACTIVATEANDEAT || R == MA_NOACTIVATEANDEAT;
      Top = FManager.Find(TopH);
      if (Top && R != MA_NOACTIVATE && R != MA_NOACTIVATEANDEAT && !(Top->ExStyle & WS_EX_NOACTIVATE))
        Activate(Top, WA_CLICKACTIVE);
      if (!FManager.IsLive(Target)) return;
    }
  }
  Window* W = FManager.Find(Target);
  FManager.Deliver(W, WM_SETCURSOR, reinterpret_cast<WPARAM>(Target), CursorQuestion);
  if (Eat || !(W = FManager.Find(Target))) return;
  const bool NonClient = Code != HTCLIENT;
  UINT Msg = (Down || Up) ? ButtonMessage(Button, Kind, NonClient) : (NonClient ? WM_NCMOUSEMOVE : WM_MOUSEMOVE);
  if (Down) {
    if (DoubleClick(W, NonClient, Code)) Msg += 2;
    // Every ancestor hears of a press on a child, up to one that asked not to.
    std::vector<HWND> Chain;
    for (Window* C = W; C->Parent && !(C->ExStyle & WS_EX_NOPARENTNOTIFY); C = C->Parent)
      Chain.push_back(C->Parent->Handle);
    for (HWND A : Chain)
      if (Window* Pa = FManager.Find(A)) {
        const POINT O = FManager.ClientOrigin(Pa);
        FManager.Deliver(Pa, WM_PARENTNOTIFY, MAKEWPARAM(static_cast<WORD>(ClientMsg), 0),
                         PointToLParam(P.X - O.X, P.Y - O.Y));
      }
    if (!(W = FManager.Find(Target))) return;
  }
  if (NonClient) {
    Post(Target, Msg, static_cast<WPARAM>(Code), PointToLParam(P.X, P.Y), P);
  } else {
    const POINT O = FManager.ClientOrigin(W);
    Post(Target, Msg, MouseKeys(), PointToLParam(P.X - O.X, P.Y - O.Y), P);
  }
}

void InputState::RouteWheel(RawInput& E) {
  FManager.SetCursorPos(E.Pos);
  SyncModifiers(E.Modifiers, 0, false, false);
  // The wheel scrolls what is under the pointer (the capture window while one holds the
  // mouse), focused or not; a window that does not scroll passes it to its parent.
  HWND T = Capture();
  if (!T) {
    const HitResult Hit = HitTest(E.Pos);
    if (!Hit.W || Hit.Code == HTERROR) return;  // not ours, or behind a modal window
    T = Hit.W->Handle;
  }
  Post(T, WM_MOUSEWHEEL,
       MAKEWPARAM(static_cast<WORD>(MouseKeys()), static_cast<WORD>(static_cast<SHORT>(E.WheelDelta))),
       PointToLParam(E.Pos.X, E.Pos.Y), E.Pos);
}

}  // namespace vantrel::win
