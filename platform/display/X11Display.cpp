// The X connection: opening it (threads first, a TrueColor visual or nothing), error
// handling that never ends the program for a protocol error, the screen and its work
// area, and turning X events into the window manager's calls.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/display/X11Display.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Messages.h"
#include "platform/win/WindowManager.h"

#include "platform/display/X11Internal.h"

#include <X11/Xatom.h>
#include <X11/extensions/shape.h>

namespace vantrel::display {

namespace {

// The trap that catches errors now (nullptr: errors are logged). The X error handler is
// process-wide by nature; only the GUI thread makes requests on our connection.
int* GX11Trap = nullptr;

int LogX11Error(::Display* Dpy, XErrorEvent* E) {
  if (GX11Trap) {
    if (*GX11Trap == 0) *GX11Trap = E->error_code;
    return 0;
  }
  // A request on a window that went away meanwhile is a race, not a reason to stop.
  char Text[256] = "";
  XGetErrorText(Dpy, E->error_code, Text, sizeof Text);
  std::fprintf(stderr, "X error: %s (request %d.%d, resource 0x%lx)\n", Text, E->request_code, E->minor_code,
               E->resourceid);
  return 0;
}

[[noreturn]] int LoseX11Connection(::Display*) {
  std::fprintf(stderr, "Lost the connection to the X display\n");
  std::exit(1);
}

bool HasRgbMasks(const Visual* V) {
  return V->red_mask == 0xFF0000 && V->green_mask == 0xFF00 && V->blue_mask == 0xFF;
}

bool Has32BitPixels(::Display* Dpy, int Depth) {
  int Count = 0;
  XPixmapFormatValues* Formats = XListPixmapFormats(Dpy, &Count);
  bool Found = false;
  for (int I = 0; I < Count; ++I)
    if (Formats[I].depth == Depth && Formats[I].bits_per_pixel == 32) Found = true;
  if (Formats) XFree(Formats);
  return Found;
}

}  // namespace

X11ErrorTrap::X11ErrorTrap(::Display* Dpy) : FDpy(Dpy), FOuter(GX11Trap) { GX11Trap = &FError; }

X11ErrorTrap::~X11ErrorTrap() {
  XSync(FDpy, False);
  GX11Trap = FOuter;
}

int X11ErrorTrap::Sync() {
  XSync(FDpy, False);
  return FError;
}

X11Display::X11Display(const std::string& DisplayName) : F(std::make_unique<X11State>()) {
  // The media engine's player draws through Xlib from its own threads.
  XInitThreads();
  XSetErrorHandler(LogX11Error);
  XSetIOErrorHandler(LoseX11Connection);
  errno = 0;
  ::Display* Dpy = XOpenDisplay(DisplayName.c_str());
  if (!Dpy) {
    const int Err = errno;
    throw EDisplayUnavailable("Cannot open the X display \"" + DisplayName + "\" named by DISPLAY: " +
                              (Err ? std::string(std::strerror(Err)) : std::string("the server refused the connection")));
  }
  X11State& S = *F;
  S.Dpy = Dpy;
  S.Screen = DefaultScreen(Dpy);
  S.Root = RootWindow(Dpy, S.Screen);
  XVisualInfo Info{};
  const Visual* Default = DefaultVisual(Dpy, S.Screen);
  const int DefaultDepthValue = DefaultDepth(Dpy, S.Screen);
  if (Default->c_class == TrueColor && (DefaultDepthValue == 24 || DefaultDepthValue == 32) && HasRgbMasks(Default) &&
      Has32BitPixels(Dpy, DefaultDepthValue)) {
    S.Vis = const_cast<Visual*>(Default);
    S.Depth = DefaultDepthValue;
    S.Cmap = DefaultColormap(Dpy, S.Screen);
  } else if (XMatchVisualInfo(Dpy, S.Screen, 24, TrueColor, &Info) && HasRgbMasks(Info.visual) &&
             Has32BitPixels(Dpy, 24)) {
    S.Vis = Info.visual;
    S.Depth = 24;
    S.Cmap = XCreateColormap(Dpy, S.Root, S.Vis, AllocNone);
  } else {
    XCloseDisplay(Dpy);
    S.Dpy = nullptr;
    throw EDisplayUnavailable("Cannot open the X display \"" + DisplayName +
                              "\" named by DISPLAY: its screen offers no 24- or 32-bit TrueColor visual");
  }
  if (XMatchVisualInfo(Dpy, S.Screen, 32, TrueColor, &Info) && HasRgbMasks(Info.visual) && Has32BitPixels(Dpy, 32)) {
    S.ArgbVis = Info.visual;
    S.ArgbCmap = XCreateColormap(Dpy, S.Root, S.ArgbVis, AllocNone);
  }
  int Major = 0, Minor = 0;
  Bool Pixmaps = False;
  S.ShmAvailable = XShmQueryExtension(Dpy) && XShmQueryVersion(Dpy, &Major, &Minor, &Pixmaps);
  if (S.ShmAvailable) S.ShmEventType = XShmGetEventBase(Dpy) + ShmCompletion;
  int ShapeEvent = 0, ShapeError = 0;
  S.ShapeAvailable = XShapeQueryExtension(Dpy, &ShapeEvent, &ShapeError);

  struct Name {
    Atom* Slot;
    const char* Text;
  };
  X11State::Atoms& A = S.A;
  const std::string CmName = "_NET_WM_CM_S" + std::to_string(S.Screen);
  const Name Names[] = {
      {&A.WmProtocols, "WM_PROTOCOLS"},
      {&A.WmDeleteWindow, "WM_DELETE_WINDOW"},
      {&A.NetWmPing, "_NET_WM_PING"},
      {&A.NetWmName, "_NET_WM_NAME"},
      {&A.NetWmIcon, "_NET_WM_ICON"},
      {&A.Utf8String, "UTF8_STRING"},
      {&A.MotifWmHints, "_MOTIF_WM_HINTS"},
      {&A.NetWmState, "_NET_WM_STATE"},
      {&A.NetWmStateAbove, "_NET_WM_STATE_ABOVE"},
      {&A.NetWmStateSkipTaskbar, "_NET_WM_STATE_SKIP_TASKBAR"},
      {&A.NetWmStateModal, "_NET_WM_STATE_MODAL"},
      {&A.NetWmWindowType, "_NET_WM_WINDOW_TYPE"},
      {&A.NetWmWindowTypeNormal, "_NET_WM_WINDOW_TYPE_NORMAL"},
      {&A.NetWmWindowTypeDialog, "_NET_WM_WINDOW_TYPE_DIALOG"},
      {&A.NetWmWindowTypePopupMenu, "_NET_WM_WINDOW_TYPE_POPUP_MENU"},
      {&A.NetWorkarea, "_NET_WORKAREA"},
      {&A.NetCurrentDesktop, "_NET_CURRENT_DESKTOP"},
      {&A.NetWmWindowOpacity, "_NET_WM_WINDOW_OPACITY"},
      {&A.NetSupportingWmCheck, "_NET_SUPPORTING_WM_CHECK"},
      {&A.NetWmPid, "_NET_WM_PID"},
      {&A.NetWmCmS, CmName.c_str()},
  };
  std::vector<char*> Texts;
  for (const Name& N : Names) Texts.push_back(const_cast<char*>(N.Text));
  std::vector<Atom> Got(Texts.size());
  XInternAtoms(Dpy, Texts.data(), static_cast<int>(Texts.size()), False, Got.data());
  for (size_t I = 0; I < Got.size(); ++I) *Names[I].Slot = Got[I];

  // The root tells us when the work area or the window manager changes, and when a
  // tray starts (a MANAGER message).
  XSelectInput(Dpy, S.Root, PropertyChangeMask | StructureNotifyMask);
  S.RefreshWorkArea();
  S.RefreshWindowManager();
  S.OpenInputMethod();
  S.OpenClipboard();
  S.OpenDrops();
  XFlush(Dpy);
}

X11Display::~X11Display() {
  X11State& S = *F;
  if (!S.Dpy) return;
  S.HandOverClipboard();
  for (auto& [Wnd, N] : S.Windows) S.DropWindow(N);
  S.CloseInputMethod();
  S.CloseClipboard();
  for (auto& [C, XC] : S.Cursors) XFreeCursor(S.Dpy, XC);
  if (S.EmptyCursor) XFreeCursor(S.Dpy, S.EmptyCursor);
  S.Windows.clear();
  XCloseDisplay(S.Dpy);
}

X11Native* X11State::Find(HWND Wnd) {
  auto It = Windows.find(Wnd);
  return It == Windows.end() ? nullptr : &It->second;
}

const X11Native* X11State::Find(HWND Wnd) const {
  auto It = Windows.find(Wnd);
  return It == Windows.end() ? nullptr : &It->second;
}

X11Native* X11State::FindX(::Window Xid) {
  auto It = ByXid.find(Xid);
  return It == ByXid.end() ? nullptr : Find(It->second);
}

namespace {

// A property of 32-bit items as longs (Xlib's format 32); empty when absent.
std::vector<long> ReadCardinals(::Display* Dpy, ::Window W, Atom Property, Atom Type) {
  Atom ActualType = 0;
  int Format = 0;
  unsigned long Count = 0, After = 0;
  unsigned char* Data = nullptr;
  std::vector<long> Out;
  if (XGetWindowProperty(Dpy, W, Property, 0, 1024, False, Type, &ActualType, &Format, &Count, &After, &Data) ==
          Success &&
      Data && Format == 32) {
    const long* Items = reinterpret_cast<const long*>(Data);
    Out.assign(Items, Items + Count);
  }
  if (Data) XFree(Data);
  return Out;
}

}  // namespace

void X11State::RefreshWorkArea() {
  const int W = DisplayWidth(Dpy, Screen), H = DisplayHeight(Dpy, Screen);
  Work = {0, 0, W, H};
  const std::vector<long> Desk = ReadCardinals(Dpy, Root, A.NetCurrentDesktop, XA_CARDINAL);
  const size_t Index = Desk.empty() || Desk[0] < 0 ? 0 : static_cast<size_t>(Desk[0]);
  const std::vector<long> Areas = ReadCardinals(Dpy, Root, A.NetWorkarea, XA_CARDINAL);
  if (Areas.size() >= 4 * (Index + 1)) {
    const long* R = &Areas[4 * Index];
    if (R[2] > 0 && R[3] > 0)
      Work = {static_cast<int>(R[0]), static_cast<int>(R[1]), static_cast<int>(R[0] + R[2]),
              static_cast<int>(R[1] + R[3])};
  }
}

void X11State::RefreshWindowManager() {
  WindowManagerRunning = false;
  const std::vector<long> Check = ReadCardinals(Dpy, Root, A.NetSupportingWmCheck, XA_WINDOW);
  if (Check.empty()) return;
  X11ErrorTrap Trap(Dpy);
  const std::vector<long> Self = ReadCardinals(Dpy, static_cast<::Window>(Check[0]), A.NetSupportingWmCheck, XA_WINDOW);
  WindowManagerRunning = Trap.Sync() == 0 && !Self.empty() && Self[0] == Check[0];
}

bool X11State::CompositorRunning() const { return XGetSelectionOwner(Dpy, A.NetWmCmS) != 0; }

TSize X11Display::ScreenSize() const { return {DisplayWidth(F->Dpy, F->Screen), DisplayHeight(F->Dpy, F->Screen)}; }

RECT X11Display::WorkArea() const { return F->Work; }

uint32_t X11Display::DesktopColor() const { return X11State::DesktopPixel; }

std::unique_ptr<win::TrayArea> X11Display::MakeTrayArea() { return std::make_unique<X11TrayArea>(*F); }

void X11Display::Beep(UINT) {
  XBell(F->Dpy, 0);
  XFlush(F->Dpy);
}

int X11Display::EventFd() const { return ConnectionNumber(F->Dpy); }

bool X11Display::EventsPending() const { return XEventsQueued(F->Dpy, QueuedAlready) > 0; }

void* X11Display::Connection() const { return F->Dpy; }

unsigned long X11Display::XWindowOf(HWND Wnd) const {
  const X11Native* N = F->Find(Wnd);
  return N ? N->Xid : 0;
}

bool X11Display::UsesSharedMemory() const { return F->ShmAvailable; }

namespace {

// A window's screen rectangle from a ConfigureNotify, whatever window the desktop put it
// in.
RECT ConfiguredRect(X11State& S, const XConfigureEvent& E) {
  int X = E.x, Y = E.y;
  if (!E.send_event) {
    ::Window Child = 0;
    XTranslateCoordinates(S.Dpy, E.window, S.Root, 0, 0, &X, &Y, &Child);
  }
  return {X, Y, X + E.width, Y + E.height};
}

void HandleClientMessage(X11State& S, const XClientMessageEvent& E) {
  X11Native* N = S.FindX(E.window);
  if (!N || E.message_type != S.A.WmProtocols || E.format != 32) return;
  const Atom Protocol = static_cast<Atom>(E.data.l[0]);
  if (Protocol == S.A.WmDeleteWindow) {
    PostMessage(N->Wnd, WM_SYSCOMMAND, SC_CLOSE, 0);
  } else if (Protocol == S.A.NetWmPing) {
    XClientMessageEvent Reply = E;
    Reply.window = S.Root;
    XSendEvent(S.Dpy, S.Root, False, SubstructureNotifyMask | SubstructureRedirectMask,
               reinterpret_cast<XEvent*>(&Reply));
  }
}

}  // namespace

void X11Display::ProcessEvents(win::DisplayEvents& Events) {
  X11State& S = *F;
  while (XPending(S.Dpy) > 0) {
    XEvent E;
    XNextEvent(S.Dpy, &E);
    if (XFilterEvent(&E, 0)) continue;  // the input method's (a dead key, say)
    if (S.Tray && S.Tray->HandleEvent(E)) continue;
    if (S.HandleInput(E, Events)) continue;
    if (S.ShmAvailable && E.type == S.ShmEventType) {
      const auto& C = reinterpret_cast<const XShmCompletionEvent&>(E);
      if (X11Native* N = S.FindX(C.drawable); N && N->Frame && N->Frame->InFlight > 0) --N->Frame->InFlight;
      continue;
    }
    switch (E.type) {
      case Expose: {
        const XExposeEvent& X = E.xexpose;
        const RECT Area{X.x, X.y, X.x + X.width, X.y + X.height};
        if (X11Native* N = S.FindX(X.window)) {
          Events.Exposed(N->Wnd, Area);
        } else {
          for (auto& [Wnd, H] : S.Hosts)
            if (H.Xid == X.window) {
              // The child's own pixels are gone: its painting puts them back.
              RECT WinR{};
              POINT Origin{0, 0};
              GetWindowRect(Wnd, &WinR);
              ClientToScreen(Wnd, &Origin);
              const int DX = Origin.X - WinR.Left, DY = Origin.Y - WinR.Top;
              Events.Exposed(Wnd, RECT{Area.Left + DX, Area.Top + DY, Area.Right + DX, Area.Bottom + DY});
              break;
            }
        }
        break;
      }
      case ConfigureNotify: {
        X11Native* N = S.FindX(E.xconfigure.window);
        if (!N) break;
        const RECT R = ConfiguredRect(S, E.xconfigure);
        const RECT Was = N->Rect;
        if (R.Left == Was.Left && R.Top == Was.Top && R.Right == Was.Right && R.Bottom == Was.Bottom) {
          N->ExpectedConfigures = 0;  // in step with what we asked for
          break;
        }
        if (N->ExpectedConfigures > 0) {  // an earlier move of ours
          --N->ExpectedConfigures;
          break;
        }
        // Only a window manager moves our windows; a zero-size window's 1 x 1 stand-in
        // says nothing about its size.
        if (!S.WindowManagerRunning || N->OverrideRedirect || N->Iconified || N->Width() == 0 || N->Height() == 0)
          break;
        Events.NativeWindowMoved(N->Wnd, R);
        break;
      }
      case MapNotify:
        if (X11Native* N = S.FindX(E.xmap.window); N && N->Iconified) {
          // The desktop brought a minimized window back.
          N->Iconified = false;
          N->Mapped = true;
          PostMessage(N->Wnd, WM_SYSCOMMAND, SC_RESTORE, 0);
        }
        break;
      case ClientMessage:
        if (!S.HandleDrag(E.xclient, Events)) HandleClientMessage(S, E.xclient);
        break;
      case SelectionRequest:
        S.AnswerSelectionRequest(E.xselectionrequest);
        break;
      case SelectionClear:
        if (E.xselectionclear.selection == S.A.Clipboard) S.OwnClipboard = false;
        break;
      case PropertyNotify:
        if (S.ContinueOutgoing(E.xproperty)) break;
        if (E.xproperty.window == S.Root) {
          if (E.xproperty.atom == S.A.NetWorkarea || E.xproperty.atom == S.A.NetCurrentDesktop)
            S.RefreshWorkArea();
          else if (E.xproperty.atom == S.A.NetSupportingWmCheck)
            S.RefreshWindowManager();
        }
        break;
      default:
        break;
    }
  }
  S.FinishFocusChanges(Events);
}

std::unique_ptr<win::Display> OpenProgramDisplay() {
  const char* Name = std::getenv("DISPLAY");
  if (!Name || !*Name)
    throw EDisplayUnavailable(
        "Vantrel needs an X11 display, but the DISPLAY environment variable is not set. Start it from a graphical "
        "desktop or under xvfb-run.");
  return std::make_unique<X11Display>(Name);
}

}  // namespace vantrel::display
