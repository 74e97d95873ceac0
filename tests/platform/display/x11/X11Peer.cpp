// The other program's side of the x11 tests, on its own connection.
#include "tests/platform/display/x11/X11Peer.h"

#include <poll.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <thread>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/XKBlib.h>
#include <X11/extensions/XTest.h>
#include <X11/extensions/shape.h>

#include "tests/platform/display/x11/PeerTextSend.h"
#include "tests/platform/display/x11/XdndSource.h"

namespace vantrel::x11test {

namespace {

::Display* Dpy(void* P) { return static_cast<::Display*>(P); }

int& PeerErrorCode() {
  static int Code = 0;
  return Code;
}

// Errors on the peer's requests (a window that is gone) are answers, not faults.
struct PeerTrap {
  ::Display* D;
  XErrorHandler Old;
  explicit PeerTrap(::Display* Dp) : D(Dp) {
    XSync(D, False);
    PeerErrorCode() = 0;
    Old = XSetErrorHandler([](::Display*, XErrorEvent* E) {
      PeerErrorCode() = E->error_code;
      return 0;
    });
  }
  bool Failed() {
    XSync(D, False);
    return PeerErrorCode() != 0;
  }
  ~PeerTrap() {
    XSync(D, False);
    XSetErrorHandler(Old);
  }
};

}  // namespace

X11Peer::X11Peer() : FDpy(XOpenDisplay(std::getenv("DISPLAY"))) {}

X11Peer::~X11Peer() {
  if (FDpy) XCloseDisplay(Dpy(FDpy));
}

bool X11Peer::Viewable(unsigned long W) {
  XWindowAttributes A{};
  PeerTrap T(Dpy(FDpy));
  return W && XGetWindowAttributes(Dpy(FDpy), W, &A) && !T.Failed() && A.map_state == IsViewable;
}

bool X11Peer::Unmapped(unsigned long W) {
  XWindowAttributes A{};
  PeerTrap T(Dpy(FDpy));
  return W && XGetWindowAttributes(Dpy(FDpy), W, &A) && !T.Failed() && A.map_state == IsUnmapped;
}

bool X11Peer::Exists(unsigned long W) {
  XWindowAttributes A{};
  PeerTrap T(Dpy(FDpy));
  const Status Ok = XGetWindowAttributes(Dpy(FDpy), W, &A);
  return !T.Failed() && Ok;
}

bool X11Peer::OverrideRedirect(unsigned long W) {
  XWindowAttributes A{};
  XGetWindowAttributes(Dpy(FDpy), W, &A);
  return A.override_redirect;
}

POINT X11Peer::RootOrigin(unsigned long W) {
  int X = 0, Y = 0;
  ::Window Child = 0;
  XTranslateCoordinates(Dpy(FDpy), W, DefaultRootWindow(Dpy(FDpy)), 0, 0, &X, &Y, &Child);
  return {X, Y};
}

RECT X11Peer::Geometry(unsigned long W) {
  ::Window Root = 0;
  int X = 0, Y = 0;
  unsigned Wd = 0, H = 0, B = 0, D = 0;
  XGetGeometry(Dpy(FDpy), W, &Root, &X, &Y, &Wd, &H, &B, &D);
  return {X, Y, X + static_cast<int>(Wd), Y + static_cast<int>(H)};
}

unsigned long X11Peer::Parent(unsigned long W) {
  ::Window Root = 0, Parent = 0, *Children = nullptr;
  unsigned Count = 0;
  XQueryTree(Dpy(FDpy), W, &Root, &Parent, &Children, &Count);
  if (Children) XFree(Children);
  return Parent;
}

unsigned long X11Peer::TransientFor(unsigned long W) {
  ::Window For = 0;
  return XGetTransientForHint(Dpy(FDpy), W, &For) ? For : 0;
}

std::string X11Peer::ClassName(unsigned long W) {
  XClassHint Class{};
  if (!XGetClassHint(Dpy(FDpy), W, &Class)) return "";
  std::string Out = Class.res_class ? Class.res_class : "";
  XFree(Class.res_name);
  XFree(Class.res_class);
  return Out;
}

std::string X11Peer::Utf8Property(unsigned long W, const char* Name) {
  ::Atom Type = 0;
  int Format = 0;
  unsigned long Count = 0, After = 0;
  unsigned char* Data = nullptr;
  XGetWindowProperty(Dpy(FDpy), W, AtomOf(Name), 0, 1024, False, AtomOf("UTF8_STRING"), &Type, &Format, &Count, &After,
                     &Data);
  std::string Out = Data ? std::string(reinterpret_cast<char*>(Data), Count) : "";
  if (Data) XFree(Data);
  return Out;
}

std::vector<long> X11Peer::Property(unsigned long W, const char* Name, const char* TypeName) {
  ::Atom Type = 0;
  int Format = 0;
  unsigned long Count = 0, After = 0;
  unsigned char* Data = nullptr;
  std::vector<long> Out;
  if (XGetWindowProperty(Dpy(FDpy), W, AtomOf(Name), 0, 64, False, AtomOf(TypeName), &Type, &Format, &Count, &After,
                         &Data) == Success &&
      Data && Format == 32)
    Out.assign(reinterpret_cast<long*>(Data), reinterpret_cast<long*>(Data) + Count);
  if (Data) XFree(Data);
  return Out;
}

unsigned long X11Peer::AtomOf(const char* Name) { return XInternAtom(Dpy(FDpy), Name, False); }

std::vector<RECT> X11Peer::Shape(unsigned long W, bool Input) {
  int Count = 0, Ordering = 0;
  XRectangle* R = XShapeGetRectangles(Dpy(FDpy), W, Input ? ShapeInput : ShapeBounding, &Count, &Ordering);
  std::vector<RECT> Out;
  for (int I = 0; I < Count; ++I) Out.push_back({R[I].x, R[I].y, R[I].x + R[I].width, R[I].y + R[I].height});
  if (R) XFree(R);
  return Out;
}

uint32_t X11Peer::ScreenPixel(int X, int Y) {
  XImage* I = XGetImage(Dpy(FDpy), DefaultRootWindow(Dpy(FDpy)), X, Y, 1, 1, AllPlanes, ZPixmap);
  if (!I) return 0xFFFFFFFF;
  const uint32_t P = static_cast<uint32_t>(XGetPixel(I, 0, 0)) & 0xFFFFFF;
  XDestroyImage(I);
  return P;
}

std::vector<uint32_t> X11Peer::WindowPixels(unsigned long W, int Width, int Height) {
  std::vector<uint32_t> Out;
  XImage* I = XGetImage(Dpy(FDpy), W, 0, 0, static_cast<unsigned>(Width), static_cast<unsigned>(Height), AllPlanes,
                        ZPixmap);
  if (!I) return Out;
  for (int Y = 0; Y < Height; ++Y)
    for (int X = 0; X < Width; ++X) Out.push_back(static_cast<uint32_t>(XGetPixel(I, X, Y)) & 0xFFFFFF);
  XDestroyImage(I);
  return Out;
}

void X11Peer::SetRootCardinals(const char* Name, const std::vector<long>& Values) {
  XChangeProperty(Dpy(FDpy), DefaultRootWindow(Dpy(FDpy)), AtomOf(Name), XA_CARDINAL, 32, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(Values.data()), static_cast<int>(Values.size()));
  XFlush(Dpy(FDpy));
}

void X11Peer::DeleteRootProperty(const char* Name) {
  XDeleteProperty(Dpy(FDpy), DefaultRootWindow(Dpy(FDpy)), AtomOf(Name));
  XFlush(Dpy(FDpy));
}

void X11Peer::ExposeAll(unsigned long W) {
  XClearArea(Dpy(FDpy), W, 0, 0, 0, 0, True);
  XFlush(Dpy(FDpy));
}

void X11Peer::MovePointer(int X, int Y) {
  XTestFakeMotionEvent(Dpy(FDpy), -1, X, Y, CurrentTime);
  XSync(Dpy(FDpy), False);
}

void X11Peer::Button(unsigned B, bool Press) {
  XTestFakeButtonEvent(Dpy(FDpy), B, Press ? True : False, CurrentTime);
  XSync(Dpy(FDpy), False);
}

void X11Peer::Key(unsigned long Keysym, bool Press) {
  const KeyCode Code = XKeysymToKeycode(Dpy(FDpy), Keysym);
  XTestFakeKeyEvent(Dpy(FDpy), Code, Press ? True : False, CurrentTime);
  XSync(Dpy(FDpy), False);
}

void X11Peer::PressCode(unsigned Code, bool Press) {
  XTestFakeKeyEvent(Dpy(FDpy), Code, Press ? True : False, CurrentTime);
  XSync(Dpy(FDpy), False);
}

unsigned long X11Peer::KeysymAt(unsigned Code, int Level) {
  ::Display* D = XOpenDisplay(nullptr);  // a fresh copy of the map
  if (!D) return 0;
  const unsigned long S = XkbKeycodeToKeysym(D, static_cast<::KeyCode>(Code), 0, Level);
  XCloseDisplay(D);
  return S;
}

bool X11Peer::FindKey(unsigned long Keysym, unsigned& Code, int& Level) {
  ::Display* D = XOpenDisplay(nullptr);
  if (!D) return false;
  int Min = 0, Max = 0;
  XDisplayKeycodes(D, &Min, &Max);
  bool Found = false;
  for (int L = 0; L < 4 && !Found; ++L)
    for (int C = Min; C <= Max && !Found; ++C)
      if (XkbKeycodeToKeysym(D, static_cast<::KeyCode>(C), 0, L) == Keysym) {
        Code = static_cast<unsigned>(C);
        Level = L;
        Found = true;
      }
  XCloseDisplay(D);
  return Found;
}

unsigned X11Peer::BindSpareKey(unsigned long Keysym) {
  ::Display* D = Dpy(FDpy);
  int Min = 0, Max = 0, Per = 0;
  XDisplayKeycodes(D, &Min, &Max);
  KeySym* Map = XGetKeyboardMapping(D, static_cast<::KeyCode>(Min), Max - Min + 1, &Per);
  unsigned Spare = 0;
  for (int C = Max; C >= Min && !Spare; --C) {
    bool Empty = true;
    for (int I = 0; I < Per; ++I) Empty = Empty && Map[(C - Min) * Per + I] == NoSymbol;
    if (Empty) Spare = static_cast<unsigned>(C);
  }
  XFree(Map);
  if (!Spare) return 0;
  KeySym Syms[2] = {Keysym, Keysym};
  XChangeKeyboardMapping(D, static_cast<int>(Spare), 2, Syms, 1);
  XSync(D, False);
  return Spare;
}

void X11Peer::UnbindKey(unsigned Code) {
  KeySym None2[2] = {NoSymbol, NoSymbol};
  XChangeKeyboardMapping(Dpy(FDpy), static_cast<int>(Code), 2, None2, 1);
  XSync(Dpy(FDpy), False);
}

void X11Peer::SetAutoRepeat(unsigned DelayMs, unsigned IntervalMs) {
  XkbSetAutoRepeatRate(Dpy(FDpy), XkbUseCoreKbd, DelayMs, IntervalMs);
  XAutoRepeatOn(Dpy(FDpy));
  XSync(Dpy(FDpy), False);
}

unsigned long X11Peer::OpenWindow(RECT R, bool TakeFocus) {
  ::Display* D = Dpy(FDpy);
  XSetWindowAttributes A{};
  A.background_pixel = 0x808080;
  A.override_redirect = False;
  A.event_mask = KeyPressMask | ButtonPressMask | StructureNotifyMask;
  const ::Window W = XCreateWindow(D, DefaultRootWindow(D), R.Left, R.Top, static_cast<unsigned>(R.Right - R.Left),
                                   static_cast<unsigned>(R.Bottom - R.Top), 0, CopyFromParent, InputOutput,
                                   CopyFromParent, CWBackPixel | CWOverrideRedirect | CWEventMask, &A);
  XMapRaised(D, W);
  XEvent E;
  do XWindowEvent(D, W, StructureNotifyMask, &E);
  while (E.type != MapNotify);
  if (TakeFocus) XSetInputFocus(D, W, RevertToParent, CurrentTime);
  XSync(D, False);
  return W;
}

unsigned long X11Peer::FocusWindow() {
  ::Window W = 0;
  int Revert = 0;
  XGetInputFocus(Dpy(FDpy), &W, &Revert);
  return W;
}

int X11Peer::TryGrabPointer() {
  ::Display* D = Dpy(FDpy);
  const int R = XGrabPointer(D, DefaultRootWindow(D), False, ButtonPressMask, GrabModeAsync, GrabModeAsync, 0, 0,
                             CurrentTime);
  if (R == GrabSuccess) XUngrabPointer(D, CurrentTime);
  XSync(D, False);
  return R;
}

namespace {

bool NextEvent(::Display* D, XEvent& E, int TimeoutMs) {
  const auto End = std::chrono::steady_clock::now() + std::chrono::milliseconds(TimeoutMs);
  while (!XPending(D)) {
    if (std::chrono::steady_clock::now() > End) return false;
    pollfd P{ConnectionNumber(D), POLLIN, 0};
    poll(&P, 1, 20);
  }
  XNextEvent(D, &E);
  return true;
}


}  // namespace

std::string X11Peer::ReadClipboard(const char* Target, bool& Chunked) {
  ::Display* D = Dpy(FDpy);
  Chunked = false;
  XSetWindowAttributes A{};
  A.event_mask = PropertyChangeMask;
  const ::Window W = XCreateWindow(D, DefaultRootWindow(D), 0, 0, 1, 1, 0, 0, InputOnly, CopyFromParent, CWEventMask, &A);
  const ::Atom Prop = AtomOf("PEER_SELECTION");
  XConvertSelection(D, AtomOf("CLIPBOARD"), AtomOf(Target), Prop, W, CurrentTime);
  XFlush(D);
  std::string Out;
  XEvent E;
  bool Notified = false;
  while (!Notified && NextEvent(D, E, 5000)) Notified = E.type == SelectionNotify;
  if (Notified && E.xselection.property) {
    ::Atom Type = 0;
    int Format = 0;
    unsigned long Count = 0, After = 0;
    unsigned char* Data = nullptr;
    XGetWindowProperty(D, W, Prop, 0, 0x7FFFFFFF, True, AnyPropertyType, &Type, &Format, &Count, &After, &Data);
    if (Type == AtomOf("INCR")) {
      Chunked = true;
      if (Data) XFree(Data);
      for (;;) {
        bool Got = false;
        while (NextEvent(D, E, 5000))
          if (E.type == PropertyNotify && E.xproperty.atom == Prop && E.xproperty.state == PropertyNewValue) {
            Got = true;
            break;
          }
        if (!Got) break;
        Data = nullptr;
        XGetWindowProperty(D, W, Prop, 0, 0x7FFFFFFF, True, AnyPropertyType, &Type, &Format, &Count, &After, &Data);
        if (Type == 0 || Type == AtomOf("INCR")) {  // a notice of a property already taken
          if (Data) XFree(Data);
          continue;
        }
        if (Data) {
          Out.append(reinterpret_cast<char*>(Data), Count);
          XFree(Data);
        }
        if (Count == 0) break;
      }
    } else if (Data) {
      Out.assign(reinterpret_cast<char*>(Data), Count);
      XFree(Data);
    }
  }
  XDestroyWindow(D, W);
  XSync(D, False);
  return Out;
}

void X11Peer::ServeClipboard(const std::string& Text, bool Answer, const bool& Stop) {
  ::Display* D = Dpy(FDpy);
  const ::Window W = XCreateWindow(D, DefaultRootWindow(D), 0, 0, 1, 1, 0, 0, InputOnly, CopyFromParent, 0, nullptr);
  XSetSelectionOwner(D, AtomOf("CLIPBOARD"), W, CurrentTime);
  XSync(D, False);
  PeerTextSend Send{Text, AtomOf("UTF8_STRING")};
  while (!Stop) {
    XEvent E;
    if (!NextEvent(D, E, 50) || !Answer) continue;
    if (E.type == SelectionRequest) {
      const XSelectionRequestEvent& R = E.xselectionrequest;
      XSelectionEvent Reply{};
      Reply.type = SelectionNotify;
      Reply.requestor = R.requestor;
      Reply.selection = R.selection;
      Reply.target = R.target;
      Reply.time = R.time;
      if (R.target == AtomOf("UTF8_STRING")) {
        FServedChunks |= Send.Start(D, R);
        Reply.property = R.property;
      }
      XSendEvent(D, R.requestor, False, 0, reinterpret_cast<XEvent*>(&Reply));
      XFlush(D);
    } else {
      Send.Continue(D, E);
    }
  }
  XDestroyWindow(D, W);
  XSync(D, False);
}

std::string X11Peer::KeepClipboard(std::atomic<bool>& Ready, bool ThroughMultiple, int TimeoutMs) {
  ::Display* D = Dpy(FDpy);
  XSetWindowAttributes A{};
  A.event_mask = PropertyChangeMask;
  const ::Window W = XCreateWindow(D, DefaultRootWindow(D), 0, 0, 1, 1, 0, 0, InputOnly, CopyFromParent, CWEventMask, &A);
  XSetSelectionOwner(D, AtomOf("CLIPBOARD_MANAGER"), W, CurrentTime);
  XSync(D, False);
  Ready = true;
  XEvent E;
  XSelectionRequestEvent Save{};
  bool Asked = false;
  const auto End = std::chrono::steady_clock::now() + std::chrono::milliseconds(TimeoutMs);
  while (!Asked && std::chrono::steady_clock::now() < End && NextEvent(D, E, 50))
    if (E.type == SelectionRequest && E.xselectionrequest.target == AtomOf("SAVE_TARGETS")) {
      Save = E.xselectionrequest;
      Asked = true;
    }
  if (!Asked) {
    XDestroyWindow(D, W);
    return "<no request>";
  }
  const ::Atom Copy = AtomOf("PEER_KEPT");
  if (ThroughMultiple) {
    const ::Atom Pairs[2] = {AtomOf("UTF8_STRING"), Copy};
    const ::Atom Multi = AtomOf("PEER_MULTIPLE");
    XChangeProperty(D, W, Multi, AtomOf("ATOM_PAIR"), 32, PropModeReplace, reinterpret_cast<const unsigned char*>(Pairs),
                    2);
    XConvertSelection(D, AtomOf("CLIPBOARD"), AtomOf("MULTIPLE"), Multi, W, CurrentTime);
  } else {
    XConvertSelection(D, AtomOf("CLIPBOARD"), AtomOf("UTF8_STRING"), Copy, W, CurrentTime);
  }
  XFlush(D);
  std::string Out;
  bool Notified = false;
  while (!Notified && NextEvent(D, E, 5000)) Notified = E.type == SelectionNotify;
  if (Notified && E.xselection.property) {
    ::Atom Type = 0;
    int Format = 0;
    unsigned long Count = 0, After = 0;
    unsigned char* Data = nullptr;
    XGetWindowProperty(D, W, Copy, 0, 0x7FFFFFFF, True, AnyPropertyType, &Type, &Format, &Count, &After, &Data);
    if (Data) {
      Out.assign(reinterpret_cast<char*>(Data), Count);
      XFree(Data);
    }
  }
  XSelectionEvent Reply{};
  Reply.type = SelectionNotify;
  Reply.requestor = Save.requestor;
  Reply.selection = Save.selection;
  Reply.target = Save.target;
  Reply.property = Save.property;
  Reply.time = Save.time;
  XSendEvent(D, Save.requestor, False, 0, reinterpret_cast<XEvent*>(&Reply));
  XDestroyWindow(D, W);
  XSync(D, False);
  return Out;
}

X11Peer::DragResult X11Peer::DragFiles(unsigned long Target, int X, int Y, const std::string& List) {
  const TXdndDropResult R = DropUriList(Dpy(FDpy), static_cast<::Window>(Target), X, Y, List);
  return DragResult{R.StatusCame, R.Accepted, R.Finished, R.FinishedAccepted, R.SentInChunks};
}

unsigned long X11Peer::BecomeTray(RECT R) {
  ::Display* D = Dpy(FDpy);
  const ::Window Root = DefaultRootWindow(D);
  XSetWindowAttributes A{};
  A.background_pixel = 0x204060;
  A.override_redirect = True;
  A.event_mask = StructureNotifyMask;
  FTray = XCreateWindow(D, Root, R.Left, R.Top, static_cast<unsigned>(R.Right - R.Left),
                        static_cast<unsigned>(R.Bottom - R.Top), 0, CopyFromParent, InputOutput, CopyFromParent,
                        CWBackPixel | CWOverrideRedirect | CWEventMask, &A);
  XMapRaised(D, FTray);
  const std::string Name = "_NET_SYSTEM_TRAY_S" + std::to_string(DefaultScreen(D));
  const Atom Selection = XInternAtom(D, Name.c_str(), False);
  XSetSelectionOwner(D, Selection, FTray, CurrentTime);
  XClientMessageEvent M{};
  M.type = ClientMessage;
  M.window = Root;
  M.message_type = XInternAtom(D, "MANAGER", False);
  M.format = 32;
  M.data.l[0] = CurrentTime;
  M.data.l[1] = static_cast<long>(Selection);
  M.data.l[2] = static_cast<long>(FTray);
  XSendEvent(D, Root, False, StructureNotifyMask, reinterpret_cast<XEvent*>(&M));
  XSync(D, False);
  return FTray;
}

unsigned long X11Peer::AcceptDock(int TimeoutMs) {
  ::Display* D = Dpy(FDpy);
  const Atom Opcode = XInternAtom(D, "_NET_SYSTEM_TRAY_OPCODE", False);
  const auto End = std::chrono::steady_clock::now() + std::chrono::milliseconds(TimeoutMs);
  XEvent E;
  while (std::chrono::steady_clock::now() < End && NextEvent(D, E, 50)) {
    if (E.type != ClientMessage || E.xclient.message_type != Opcode || E.xclient.data.l[1] != 0) continue;
    const ::Window Icon = static_cast<::Window>(E.xclient.data.l[2]);
    XReparentWindow(D, Icon, FTray, 0, 0);
    XResizeWindow(D, Icon, 24, 24);
    XMapWindow(D, Icon);
    XSync(D, False);
    return Icon;
  }
  return 0;
}

std::string X11Peer::ReadBalloon(int TimeoutMs) {
  ::Display* D = Dpy(FDpy);
  const Atom Opcode = XInternAtom(D, "_NET_SYSTEM_TRAY_OPCODE", False);
  const Atom Data = XInternAtom(D, "_NET_SYSTEM_TRAY_MESSAGE_DATA", False);
  const auto End = std::chrono::steady_clock::now() + std::chrono::milliseconds(TimeoutMs);
  long Length = -1;
  std::string Text;
  XEvent E;
  while (std::chrono::steady_clock::now() < End && NextEvent(D, E, 50)) {
    if (E.type != ClientMessage) continue;
    if (E.xclient.message_type == Opcode && E.xclient.data.l[1] == 1) {
      Length = E.xclient.data.l[3];
      Text.clear();
    } else if (E.xclient.message_type == Data && Length >= 0) {
      Text.append(E.xclient.data.b, std::min<size_t>(20, static_cast<size_t>(Length) - Text.size()));
    }
    if (Length >= 0 && Text.size() >= static_cast<size_t>(Length)) return Text;
  }
  return "";
}

void X11Peer::EndTray() {
  if (!FTray) return;
  XDestroyWindow(Dpy(FDpy), FTray);
  XSync(Dpy(FDpy), False);
  FTray = 0;
}

}  // namespace vantrel::x11test
