// A drag source of another program: the XDND messages and the selection it serves.
#include "tests/platform/display/x11/XdndSource.h"

#include <poll.h>

#include <algorithm>
#include <chrono>
#include <cstdio>

#include <X11/Xatom.h>

#include "tests/platform/display/x11/PeerTextSend.h"

namespace vantrel::x11test {

namespace {

constexpr long SourceXdndVersion = 5;
// How long the source waits for the target's next answer. A busy target (a sanitized build
// on a loaded machine) can take seconds; an answer ends the wait at once.
constexpr int SourceWaitMs = 30000;

// The next event of this connection within AMs.
bool SourceNextEvent(Display* Dpy, XEvent& E, int AMs) {
  const auto End = std::chrono::steady_clock::now() + std::chrono::milliseconds(AMs);
  for (;;) {
    if (XPending(Dpy)) {
      XNextEvent(Dpy, &E);
      return true;
    }
    const auto Left =
        std::chrono::duration_cast<std::chrono::milliseconds>(End - std::chrono::steady_clock::now()).count();
    if (Left <= 0) return false;
    pollfd P{ConnectionNumber(Dpy), POLLIN, 0};
    poll(&P, 1, static_cast<int>(Left));
  }
}

// A time stamp of the server (as a person's click carries), from a property change.
Time ServerTime(Display* Dpy, Window W) {
  const Atom Stamp = XInternAtom(Dpy, "VANTREL_TEST_STAMP", False);
  XChangeProperty(Dpy, W, Stamp, XA_STRING, 8, PropModeAppend, nullptr, 0);
  XEvent E;
  while (SourceNextEvent(Dpy, E, SourceWaitMs))
    if (E.type == PropertyNotify && E.xproperty.window == W && E.xproperty.atom == Stamp) return E.xproperty.time;
  return CurrentTime;
}

long AwareVersionOf(Display* Dpy, Window W) {
  Atom Type = None;
  int Format = 0;
  unsigned long Count = 0, After = 0;
  unsigned char* Data = nullptr;
  long Version = 0;
  if (XGetWindowProperty(Dpy, W, XInternAtom(Dpy, "XdndAware", False), 0, 1, False, XA_ATOM, &Type, &Format, &Count,
                         &After, &Data) == Success &&
      Data && Type == XA_ATOM && Format == 32 && Count == 1)
    Version = *reinterpret_cast<long*>(Data);
  if (Data) XFree(Data);
  return Version;
}

}  // namespace

std::string FileUri(const std::string& Path) {
  std::string Uri = "file://";
  for (const unsigned char C : Path) {
    const bool Plain = (C >= 'a' && C <= 'z') || (C >= 'A' && C <= 'Z') || (C >= '0' && C <= '9') || C == '-' ||
                       C == '_' || C == '.' || C == '~' || C == '/';
    if (Plain) {
      Uri += static_cast<char>(C);
    } else {
      char Escape[4];
      std::snprintf(Escape, sizeof Escape, "%%%02X", C);
      Uri += Escape;
    }
  }
  return Uri;
}

TXdndDropResult DropUriList(Display* Dpy, Window Target, int X, int Y, const std::string& AList,
                            const std::vector<std::string>& ATypes) {
  TXdndDropResult R;
  R.AwareVersion = AwareVersionOf(Dpy, Target);
  if (R.AwareVersion < 3) return R;  // no XDND window, or one too old for the drop's time stamp
  const long Version = std::min(R.AwareVersion, SourceXdndVersion);

  XSetWindowAttributes SA{};
  SA.event_mask = PropertyChangeMask;
  const Window Source = XCreateWindow(Dpy, DefaultRootWindow(Dpy), -10, -10, 1, 1, 0, 0, InputOnly, CopyFromParent,
                                      CWEventMask, &SA);
  const Time Stamp = ServerTime(Dpy, Source);
  const Atom Selection = XInternAtom(Dpy, "XdndSelection", False);
  const Atom UriList = XInternAtom(Dpy, "text/uri-list", False);
  const Atom Copy = XInternAtom(Dpy, "XdndActionCopy", False);
  XSetSelectionOwner(Dpy, Selection, Source, Stamp);

  std::vector<Atom> Types;
  for (const std::string& T : ATypes) Types.push_back(XInternAtom(Dpy, T.c_str(), False));
  const bool TypeList = Types.size() > 3;
  if (TypeList) {
    std::vector<long> Longs(Types.begin(), Types.end());
    XChangeProperty(Dpy, Source, XInternAtom(Dpy, "XdndTypeList", False), XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(Longs.data()), static_cast<int>(Longs.size()));
  }
  auto Send = [&](const char* Type, long L1, long L2, long L3, long L4) {
    XEvent E{};
    E.xclient.type = ClientMessage;
    E.xclient.window = Target;
    E.xclient.message_type = XInternAtom(Dpy, Type, False);
    E.xclient.format = 32;
    E.xclient.data.l[0] = static_cast<long>(Source);
    E.xclient.data.l[1] = L1;
    E.xclient.data.l[2] = L2;
    E.xclient.data.l[3] = L3;
    E.xclient.data.l[4] = L4;
    XSendEvent(Dpy, Target, False, NoEventMask, &E);
    XFlush(Dpy);
  };
  auto TypeSlot = [&](size_t I) { return !TypeList && I < Types.size() ? static_cast<long>(Types[I]) : 0L; };
  Send("XdndEnter", (Version << 24) | (TypeList ? 1 : 0), TypeSlot(0), TypeSlot(1), TypeSlot(2));
  Send("XdndPosition", 0, (static_cast<long>(X) << 16) | (Y & 0xFFFF), static_cast<long>(Stamp),
       static_cast<long>(Copy));

  const Atom StatusMsg = XInternAtom(Dpy, "XdndStatus", False);
  const Atom FinishedMsg = XInternAtom(Dpy, "XdndFinished", False);
  XEvent E;
  while (!R.StatusCame && SourceNextEvent(Dpy, E, SourceWaitMs))
    if (E.type == ClientMessage && E.xclient.message_type == StatusMsg &&
        static_cast<Window>(E.xclient.data.l[0]) == Target) {
      R.StatusCame = true;
      R.Accepted = (E.xclient.data.l[1] & 1) != 0;
      R.StatusAction = static_cast<Atom>(E.xclient.data.l[4]);
    }
  if (!R.Accepted) {
    Send("XdndLeave", 0, 0, 0, 0);
  } else {
    Send("XdndDrop", 0, static_cast<long>(Stamp), 0, 0);
    PeerTextSend ListSend{AList, UriList};
    while (!R.Finished && SourceNextEvent(Dpy, E, SourceWaitMs)) {
      if (ListSend.Continue(Dpy, E)) continue;
      if (E.type == SelectionRequest && E.xselectionrequest.selection == Selection) {
        const XSelectionRequestEvent& Q = E.xselectionrequest;
        XSelectionEvent Reply{};
        Reply.type = SelectionNotify;
        Reply.requestor = Q.requestor;
        Reply.selection = Q.selection;
        Reply.target = Q.target;
        Reply.time = Q.time;
        Reply.property = None;  // refused unless it is the list
        if (Q.target == UriList && Q.property != None) {
          R.ListAsked = true;
          R.SentInChunks |= ListSend.Start(Dpy, Q);
          Reply.property = Q.property;
        }
        XSendEvent(Dpy, Q.requestor, False, NoEventMask, reinterpret_cast<XEvent*>(&Reply));
        XFlush(Dpy);
      } else if (E.type == ClientMessage && E.xclient.message_type == FinishedMsg &&
                 static_cast<Window>(E.xclient.data.l[0]) == Target) {
        R.Finished = true;
        R.FinishedAccepted = (E.xclient.data.l[1] & 1) != 0;
        R.FinishedAction = static_cast<Atom>(E.xclient.data.l[2]);
      }
    }
  }
  XDestroyWindow(Dpy, Source);
  XSync(Dpy, False);
  return R;
}

}  // namespace vantrel::x11test
