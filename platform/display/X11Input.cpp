// Pointer, keys and focus from X as the window manager's raw input: buttons and wheel at
// root coordinates, keys as virtual keys with the character the keyboard layout (through
// the input method) gives them, the desktop's focus as activation.
#include <clocale>
#include <cstring>

#include <langinfo.h>

#include "platform/display/X11Display.h"
#include "platform/display/X11Keys.h"
#include "platform/win/Keyboard.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/WindowManager.h"

#include "platform/display/X11Internal.h"

#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/keysym.h>

namespace vantrel::display {

namespace {

// AltGr (the third-level shift, AltGrMask) counts as Ctrl+Alt, as on Windows.
UINT ModifiersOf(unsigned State, unsigned AltGrMask) {
  UINT M = 0;
  if (State & ShiftMask) M |= MOD_SHIFT;
  if (State & ControlMask) M |= MOD_CONTROL;
  if (State & Mod1Mask) M |= MOD_ALT;
  if (State & AltGrMask) M |= MOD_CONTROL | MOD_ALT;
  return M;
}

win::RawInput PointerEvent(win::RawInputKind Kind, int X, int Y, unsigned State, unsigned AltGrMask) {
  win::RawInput R;
  R.Kind = Kind;
  R.Pos = {X, Y};
  R.Modifiers = ModifiersOf(State, AltGrMask);
  return R;
}

bool IsUtf8Codeset() {
  const char* Codeset = nl_langinfo(CODESET);
  return Codeset && (std::strcmp(Codeset, "UTF-8") == 0 || std::strcmp(Codeset, "utf8") == 0);
}

}  // namespace

void X11State::OpenInputMethod() {
  // The user's keyboard layout and input method type the characters.
  std::setlocale(LC_CTYPE, "");
  // Without a UTF-8 locale the input method would compose only the characters of the
  // locale's own character set.
  if (!IsUtf8Codeset() || !XSupportsLocale()) std::setlocale(LC_CTYPE, "C.UTF-8");
  XSetLocaleModifiers("");
  Im = XOpenIM(Dpy, nullptr, nullptr, nullptr);
  Bool Supported = False;
  XkbSetDetectableAutoRepeat(Dpy, True, &Supported);
  RefreshKeyboardMap();
}

void X11State::RefreshKeyboardMap() {
  AltGrMask = XkbKeysymToModifiers(Dpy, XK_ISO_Level3_Shift) | XkbKeysymToModifiers(Dpy, XK_Mode_switch);
  AltGrMask &= ~static_cast<unsigned>(ShiftMask | LockMask | ControlMask | Mod1Mask);
}

void X11State::CloseInputMethod() {
  if (Im) XCloseIM(Im);
  Im = nullptr;
}

void X11State::MakeInputContext(X11Native& N) {
  if (!Im || N.Ic || N.OverrideRedirect) return;
  N.Ic = XCreateIC(Im, XNInputStyle, XIMPreeditNothing | XIMStatusNothing, XNClientWindow, N.Xid, XNFocusWindow,
                   N.Xid, nullptr);
}

void X11State::SendKey(const X11KeyMeaning& Meaning, bool Down, UINT Modifiers, char32_t Char,
                       win::DisplayEvents& Events) {
  if (Meaning.Side) win::SetKeyDown(Meaning.Side, Down);
  win::RawInput K;
  K.Kind = Down ? win::RawInputKind::KeyDown : win::RawInputKind::KeyUp;
  K.Vk = Meaning.Vk;
  K.Modifiers = Modifiers;
  if (Down) {
    K.LayoutChar = true;
    K.Char = Char;
  }
  Events.RawInputArrived(std::move(K));
}

void X11State::HandleKey(X11Native* N, XKeyEvent& E, win::DisplayEvents& Events) {
  const bool Down = E.type == KeyPress;
  const unsigned Code = E.keycode & 0xFF;
  // The key's virtual key goes by what the layout in force gives it without and with Shift.
  const unsigned Group = XkbGroupForCoreState(E.state);
  auto SymAt = [&](unsigned Level) {
    KeySym S = Code ? XkbKeycodeToKeysym(Dpy, static_cast<KeyCode>(Code), static_cast<int>(Group), static_cast<int>(Level)) : 0;
    if (!S && Group && Code) S = XkbKeycodeToKeysym(Dpy, static_cast<KeyCode>(Code), 0, static_cast<int>(Level));
    return static_cast<unsigned long>(S);
  };
  X11KeyMeaning Meaning = KeyMeaningOf(SymAt(0), SymAt(1), Code);
  const bool Ctrl = (E.state & ControlMask) != 0;
  UINT Modifiers = ModifiersOf(E.state, AltGrMask);
  char Buffer[64] = "";
  KeySym Sym = 0;
  int Length = 0;
  Status LookupStatus = XLookupNone;
  if (Down) {
    if (N && N->Ic)
      Length = Xutf8LookupString(N->Ic, &E, Buffer, sizeof Buffer - 1, &Sym, &LookupStatus);
    else {
      Length = XLookupString(&E, Buffer, sizeof Buffer - 1, &Sym, nullptr);
      LookupStatus = Length > 0 ? XLookupBoth : XLookupKeySym;
    }
    if (Length < 0 || LookupStatus == XBufferOverflow) Length = 0;
    Buffer[Length] = 0;
    const std::string Text(Buffer, static_cast<size_t>(Length));
    // Keypad keys go by what NumLock makes of them.
    if (Sym >= 0xff80 && Sym <= 0xffbd) Meaning = KeyMeaningOf(Sym, 0, Code);
    // Text the input method committed without a key of its own (a dead key's or the
    // compose key's character), and keys no keyboard of Windows has (remapped on the fly
    // by input tools): their characters only.
    if (LookupStatus == XLookupChars || Code == 0 || !Meaning.Vk) {
      KeyVks[Code] = 0;
      if (KeyCharOf(0, Text, false)) {
        win::RawInput T;
        T.Kind = win::RawInputKind::Text;
        T.Text = Text;
        Events.RawInputArrived(std::move(T));
      }
      return;
    }
    KeyVks[Code] = Meaning.Vk;
    KeySides[Code] = Meaning.Side;
    KeyAltGr[Code] = Meaning.AltGr;
    if (Meaning.AltGr) {
      // AltGr is Ctrl and Alt held together: a character key under it types (WM_CHAR),
      // and it never opens a menu.
      SendKey({static_cast<WORD>(VK_CONTROL), static_cast<WORD>(VK_LCONTROL)}, true, Modifiers | MOD_CONTROL, 0,
              Events);
      Modifiers |= MOD_CONTROL | MOD_ALT;
    }
    SendKey(Meaning, true, Modifiers, KeyCharOf(Meaning.Vk, Text, Ctrl), Events);
    return;
  }
  // The release ends the key the press began, whatever the layout says now.
  Meaning.Vk = KeyVks[Code];
  Meaning.Side = KeySides[Code];
  Meaning.AltGr = KeyAltGr[Code];
  KeyVks[Code] = 0;
  if (!Meaning.Vk) return;
  if (Meaning.AltGr) {
    // The state still holds the AltGr key itself: Ctrl stays down until the key is up.
    const UINT Rest = ModifiersOf(E.state & ~AltGrMask, AltGrMask);
    SendKey(Meaning, false, Rest | MOD_CONTROL, 0, Events);
    if (!(Rest & MOD_CONTROL))
      SendKey({static_cast<WORD>(VK_CONTROL), static_cast<WORD>(VK_LCONTROL)}, false, Rest, 0, Events);
    return;
  }
  SendKey(Meaning, false, Modifiers, 0, Events);
}

bool X11State::HandleInput(XEvent& E, win::DisplayEvents& Events) {
  switch (E.type) {
    case ButtonPress:
    case ButtonRelease: {
      const XButtonEvent& B = E.xbutton;
      if (!FindX(B.window)) return true;
      const bool Press = E.type == ButtonPress;
      if (B.button == Button4 || B.button == Button5) {
        if (!Press) return true;
        win::RawInput W = PointerEvent(win::RawInputKind::Wheel, B.x_root, B.y_root, B.state, AltGrMask);
        W.WheelDelta = B.button == Button4 ? 120 : -120;
        Events.RawInputArrived(std::move(W));
        return true;
      }
      int Button = -1;
      if (B.button == Button1) Button = win::rbLeft;
      if (B.button == Button2) Button = win::rbMiddle;
      if (B.button == Button3) Button = win::rbRight;
      if (Button < 0) return true;  // other buttons mean nothing to us
      win::RawInput R = PointerEvent(Press ? win::RawInputKind::ButtonDown : win::RawInputKind::ButtonUp, B.x_root,
                                     B.y_root, B.state, AltGrMask);
      R.Button = Button;
      Events.RawInputArrived(std::move(R));
      return true;
    }
    case MotionNotify: {
      // Only the latest of a run of moves counts.
      XEvent Next;
      while (XCheckTypedWindowEvent(Dpy, E.xmotion.window, MotionNotify, &Next)) E = Next;
      const XMotionEvent& M = E.xmotion;
      if (FindX(M.window))
        Events.RawInputArrived(PointerEvent(win::RawInputKind::PointerMove, M.x_root, M.y_root, M.state, AltGrMask));
      return true;
    }
    case EnterNotify:
      if (FindX(E.xcrossing.window))
        Events.RawInputArrived(
            PointerEvent(win::RawInputKind::PointerMove, E.xcrossing.x_root, E.xcrossing.y_root, E.xcrossing.state, AltGrMask));
      return true;
    case LeaveNotify: {
      const XCrossingEvent& C = E.xcrossing;
      if (!FindX(C.window) || C.detail == NotifyInferior || C.mode != NotifyNormal) return true;
      // Into one of ours, an EnterNotify follows at once.
      XEvent Next;
      if (XCheckTypedEvent(Dpy, EnterNotify, &Next)) {
        XPutBackEvent(Dpy, &Next);
        if (FindX(Next.xcrossing.window)) return true;
      }
      Events.RawInputArrived(PointerEvent(win::RawInputKind::PointerLeft, C.x_root, C.y_root, C.state, AltGrMask));
      return true;
    }
    case MappingNotify:
      // Another layout, or keys remapped on the fly: their keysyms are read anew.
      XRefreshKeyboardMapping(&E.xmapping);
      RefreshKeyboardMap();
      return true;
    case KeyPress:
    case KeyRelease:
      HandleKey(FindX(E.xkey.window), E.xkey, Events);
      return true;
    case FocusIn: {
      const XFocusChangeEvent& F = E.xfocus;
      if (F.mode == NotifyGrab || F.mode == NotifyUngrab || F.detail == NotifyPointer) return true;
      X11Native* N = FindX(F.window);
      if (!N) return true;
      FocusLeaving = false;
      if (N->Ic) XSetICFocus(N->Ic);
      win::RawInput A;
      A.Kind = win::RawInputKind::Activate;
      A.Wnd = N->Wnd;
      Events.RawInputArrived(std::move(A));
      return true;
    }
    case FocusOut: {
      const XFocusChangeEvent& F = E.xfocus;
      if (F.mode == NotifyGrab || F.mode == NotifyUngrab || F.detail == NotifyPointer || F.detail == NotifyInferior)
        return true;
      X11Native* N = FindX(F.window);
      if (!N) return true;
      if (N->Ic) XUnsetICFocus(N->Ic);
      FocusLeaving = true;  // unless a FocusIn on another of ours follows
      return true;
    }
    default:
      return false;
  }
}

void X11State::FinishFocusChanges(win::DisplayEvents& Events) {
  if (!FocusLeaving) return;
  FocusLeaving = false;
  ::Window Focused = 0;
  int Revert = 0;
  XGetInputFocus(Dpy, &Focused, &Revert);
  if (FindX(Focused)) return;
  win::RawInput D;
  D.Kind = win::RawInputKind::Deactivate;
  Events.RawInputArrived(std::move(D));
}

bool X11Display::QueryPointer(POINT& Pos, unsigned& Buttons) {
  ::Window Root = 0, Child = 0;
  int RX = 0, RY = 0, WX = 0, WY = 0;
  unsigned Mask = 0;
  if (!XQueryPointer(F->Dpy, F->Root, &Root, &Child, &RX, &RY, &WX, &WY, &Mask)) return false;
  Pos = {RX, RY};
  Buttons = 0;
  if (Mask & Button1Mask) Buttons |= 1u << win::rbLeft;
  if (Mask & Button2Mask) Buttons |= 1u << win::rbMiddle;
  if (Mask & Button3Mask) Buttons |= 1u << win::rbRight;
  return true;
}

void X11Display::ActivateNativeWindow(HWND Wnd) {
  X11State& S = *F;
  X11Native* N = S.Find(Wnd);
  if (!N || !N->Xid || !N->Mapped || N->OverrideRedirect) return;
  if (S.WindowManagerRunning) {
    XEvent E{};
    E.xclient.type = ClientMessage;
    E.xclient.window = N->Xid;
    E.xclient.message_type = XInternAtom(S.Dpy, "_NET_ACTIVE_WINDOW", False);
    E.xclient.format = 32;
    E.xclient.data.l[0] = 1;  // from an application
    E.xclient.data.l[1] = CurrentTime;
    XSendEvent(S.Dpy, S.Root, False, SubstructureNotifyMask | SubstructureRedirectMask, &E);
  } else {
    X11ErrorTrap Trap(S.Dpy);  // not viewable yet: nothing to focus
    XSetInputFocus(S.Dpy, N->Xid, RevertToParent, CurrentTime);
  }
  XFlush(S.Dpy);
}

void X11State::Ungrab() {
  if (!Grabbing) return;
  Grabbing = nullptr;
  XUngrabPointer(Dpy, CurrentTime);
  XSync(Dpy, False);  // done before anyone else asks for the pointer
}

void X11Display::SetNativeCapture(HWND Top) {
  X11State& S = *F;
  X11Native* N = Top ? S.Find(Top) : nullptr;
  if (!N || !N->Xid || !N->Mapped) {
    S.Ungrab();
    return;
  }
  // Owner events: our windows get their events as usual, a click anywhere else comes to
  // the capturing window (and so closes a menu or a drop-down).
  const unsigned Mask = ButtonPressMask | ButtonReleaseMask | PointerMotionMask | EnterWindowMask | LeaveWindowMask;
  if (XGrabPointer(S.Dpy, N->Xid, True, Mask, GrabModeAsync, GrabModeAsync, 0, 0, CurrentTime) == GrabSuccess)
    S.Grabbing = Top;
  XFlush(S.Dpy);
}

}  // namespace vantrel::display
