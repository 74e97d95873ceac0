// Files dropped from other programs (the XDND protocol, version 5): every managed window
// says it takes drops; while a drag moves over us we accept it where a window takes
// files and a file list is offered, and a drop reads that list (two seconds at most for
// each answer, in chunks when it is long) and queues the local paths as a drop at the
// last position.
#include <unistd.h>

#include <cstring>

#include "platform/display/X11Display.h"
#include "platform/display/X11UriList.h"

#include "platform/display/X11Internal.h"

#include <X11/Xatom.h>

namespace vantrel::display {

namespace {

constexpr long XdndVersion = 5;
constexpr int DropWaitMs = 2000;

int HexValue(char C) {
  if (C >= '0' && C <= '9') return C - '0';
  if (C >= 'a' && C <= 'f') return C - 'a' + 10;
  if (C >= 'A' && C <= 'F') return C - 'A' + 10;
  return -1;
}

}  // namespace

std::vector<std::string> LocalPathsOfUriList(const std::string& List, const std::string& HostName) {
  std::vector<std::string> Paths;
  size_t Start = 0;
  while (Start < List.size()) {
    size_t End = List.find('\n', Start);
    if (End == std::string::npos) End = List.size();
    std::string Line = List.substr(Start, End - Start);
    Start = End + 1;
    if (!Line.empty() && Line.back() == '\r') Line.pop_back();
    if (Line.empty() || Line[0] == '#') continue;
    if (Line.compare(0, 5, "file:") != 0) continue;
    size_t Slash = 5;  // "file:/path", with no host part, is a file of this machine too
    if (Line.compare(5, 2, "//") == 0) {
      Slash = Line.find('/', 7);
      if (Slash == std::string::npos) continue;
      const std::string Host = Line.substr(7, Slash - 7);
      if (!Host.empty() && Host != "localhost" && Host != HostName) continue;  // another machine's file
    } else if (Line.compare(5, 1, "/") != 0) {
      continue;
    }
    std::string Path;
    bool Valid = true;
    for (size_t I = Slash; I < Line.size(); ++I) {
      if (Line[I] != '%') {
        Path += Line[I];
        continue;
      }
      const int Hi = I + 2 < Line.size() ? HexValue(Line[I + 1]) : -1;
      const int Lo = I + 2 < Line.size() ? HexValue(Line[I + 2]) : -1;
      if (Hi < 0 || Lo < 0) {
        Valid = false;
        break;
      }
      Path += static_cast<char>(Hi * 16 + Lo);
      I += 2;
    }
    if (Valid && Path.find('\0') == std::string::npos) Paths.push_back(Path);
  }
  return Paths;
}

void X11State::OpenDrops() {
  const char* Names[] = {"XdndAware",      "XdndEnter",      "XdndPosition",   "XdndStatus",  "XdndLeave",
                         "XdndDrop",       "XdndFinished",   "XdndSelection",  "XdndTypeList", "XdndActionCopy",
                         "text/uri-list", "VANTREL_DROP"};
  Atom Got[12];
  XInternAtoms(Dpy, const_cast<char**>(Names), 12, False, Got);
  Atom* Slots[] = {&A.XdndAware, &A.XdndEnter,    &A.XdndPosition,  &A.XdndStatus,       &A.XdndLeave,
                   &A.XdndDrop,  &A.XdndFinished, &A.XdndSelection, &A.XdndTypeList,     &A.XdndActionCopy,
                   &A.UriList,   &A.DropProperty};
  for (int I = 0; I < 12; ++I) *Slots[I] = Got[I];
}

void X11State::MarkDropTarget(X11Native& N) {
  if (N.OverrideRedirect) return;
  const long Version = XdndVersion;
  XChangeProperty(Dpy, N.Xid, A.XdndAware, XA_ATOM, 32, PropModeReplace, reinterpret_cast<const unsigned char*>(&Version),
                  1);
}

namespace {

void SendXdnd(X11State& S, ::Window To, Atom Type, long L0, long L1, long L2, long L3, long L4) {
  XEvent E{};
  E.xclient.type = ClientMessage;
  E.xclient.display = S.Dpy;
  E.xclient.window = To;
  E.xclient.message_type = Type;
  E.xclient.format = 32;
  E.xclient.data.l[0] = L0;
  E.xclient.data.l[1] = L1;
  E.xclient.data.l[2] = L2;
  E.xclient.data.l[3] = L3;
  E.xclient.data.l[4] = L4;
  XSendEvent(S.Dpy, To, False, NoEventMask, &E);
  XFlush(S.Dpy);
}

}  // namespace

bool X11State::HandleDrag(const XClientMessageEvent& E, win::DisplayEvents& Events) {
  const Atom T = E.message_type;
  if (T != A.XdndEnter && T != A.XdndPosition && T != A.XdndLeave && T != A.XdndDrop) return false;
  X11Native* N = FindX(E.window);
  const ::Window Source = static_cast<::Window>(E.data.l[0]);
  if (T == A.XdndEnter) {
    Drag = {};
    Drag.Source = Source;
    if (E.data.l[1] & 1) {  // more types than fit: the source's list
      Atom Type = 0;
      int Format = 0;
      unsigned long Count = 0, After = 0;
      unsigned char* Data = nullptr;
      X11ErrorTrap Trap(Dpy);
      XGetWindowProperty(Dpy, Source, A.XdndTypeList, 0, 1024, False, XA_ATOM, &Type, &Format, &Count, &After, &Data);
      if (Data && Format == 32) {
        const long* Types = reinterpret_cast<const long*>(Data);
        for (unsigned long I = 0; I < Count; ++I) Drag.OffersFiles |= static_cast<Atom>(Types[I]) == A.UriList;
      }
      if (Data) XFree(Data);
    } else {
      for (int I = 2; I <= 4; ++I) Drag.OffersFiles |= static_cast<Atom>(E.data.l[I]) == A.UriList;
    }
    return true;
  }
  if (Source != Drag.Source) return true;  // not the drag we know
  if (T == A.XdndLeave) {
    Drag = {};
    return true;
  }
  if (T == A.XdndPosition) {
    Drag.Pos = {static_cast<int>((E.data.l[2] >> 16) & 0xFFFF), static_cast<int>(E.data.l[2] & 0xFFFF)};
    Drag.Accepted = N && Drag.OffersFiles && Events.AcceptsFilesAt(Drag.Pos);
    // Position updates always (an empty rectangle), copy where files are taken.
    SendXdnd(*this, Source, A.XdndStatus, static_cast<long>(E.window), Drag.Accepted ? 3 : 2, 0, 0,
             Drag.Accepted ? static_cast<long>(A.XdndActionCopy) : 0);
    return true;
  }
  // The drop.
  bool Took = false;
  if (Drag.Accepted) {
    std::string List;
    bool Chunked = false;
    if (ReadSelection({A.XdndSelection, A.UriList, A.DropProperty, static_cast<Time>(E.data.l[2]), DropWaitMs}, List,
                      Chunked) > 0) {
      char Host[256] = "";
      gethostname(Host, sizeof Host - 1);
      std::vector<std::string> Paths = LocalPathsOfUriList(List, Host);
      if (!Paths.empty()) {
        win::RawInput D;
        D.Kind = win::RawInputKind::Drop;
        D.Pos = Drag.Pos;
        D.Paths = std::move(Paths);
        Events.RawInputArrived(std::move(D));
        Took = true;
      }
    }
  }
  SendXdnd(*this, Source, A.XdndFinished, static_cast<long>(E.window), Took ? 1 : 0,
           Took ? static_cast<long>(A.XdndActionCopy) : 0, 0, 0);
  Drag = {};
  return true;
}

}  // namespace vantrel::display
