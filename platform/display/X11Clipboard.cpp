// The clipboard on X: our text is the CLIPBOARD selection, owned through a hidden window
// and handed out as UTF-8, Latin-1 or in chunks (INCR) when it is large; other
// programs' text is asked for and waited for at most a second, other events queuing
// up meanwhile. Whatever comes in is valid UTF-8 before anyone sees it. At exit a
// clipboard manager, when the desktop runs one, is handed a copy of our text.
#include <poll.h>

#include <chrono>
#include <cstring>
#include <vector>

#include "platform/display/X11Display.h"
#include "platform/rtl/Utf8.h"

#include "platform/display/X11Internal.h"

#include <X11/Xatom.h>

namespace vantrel::display {

namespace {

constexpr int ClipboardWaitMs = 1000;
// At exit, how long a clipboard manager may take to copy our text.
constexpr int ClipboardHandOverMs = 3000;

std::string Latin1ToUtf8(const std::string& S) {
  std::string Out;
  for (unsigned char C : S) Out += CodePointToUtf8(C);
  return Out;
}

std::string Utf8ToLatin1(const std::string& S) {
  std::string Out;
  for (char32_t C : Utf8ToCodePoints(S)) Out += C <= 0xFF ? static_cast<char>(C) : '?';
  return Out;
}

// Invalid bytes become U+FFFD.
std::string CleanUtf8(const std::string& S) {
  std::u32string Points = Utf8ToCodePoints(S);
  for (char32_t& C : Points)
    if (C >= 0xDC80 && C <= 0xDCFF) C = 0xFFFD;
  return CodePointsToUtf8(Points);
}

}  // namespace

void X11State::OpenClipboard() {
  XSetWindowAttributes Attr{};
  Attr.event_mask = PropertyChangeMask;
  SelWindow = XCreateWindow(Dpy, Root, -10, -10, 1, 1, 0, 0, InputOnly, CopyFromParent, CWEventMask, &Attr);
  const char* Names[] = {"CLIPBOARD", "TARGETS",  "TEXT",      "text/plain;charset=utf-8", "INCR",
                         "VANTREL_SELECTION", "MULTIPLE", "ATOM_PAIR", "CLIPBOARD_MANAGER", "SAVE_TARGETS",
                         "VANTREL_SAVE_TARGETS"};
  constexpr int Count = sizeof Names / sizeof Names[0];
  Atom Got[Count];
  XInternAtoms(Dpy, const_cast<char**>(Names), Count, False, Got);
  A.Clipboard = Got[0];
  A.Targets = Got[1];
  A.Text = Got[2];
  A.TextPlainUtf8 = Got[3];
  A.Incr = Got[4];
  A.SelectionProperty = Got[5];
  A.Multiple = Got[6];
  A.AtomPair = Got[7];
  A.ClipboardManager = Got[8];
  A.SaveTargets = Got[9];
  A.SaveProperty = Got[10];
  // A property change may carry at most this much; larger texts go in chunks.
  ChunkBytes = static_cast<size_t>(XMaxRequestSize(Dpy)) * 4 / 4;
}

void X11State::CloseClipboard() {
  if (SelWindow) XDestroyWindow(Dpy, SelWindow);
  SelWindow = 0;
}

bool X11State::PutSelection(::Window Requestor, Atom Target, Atom Property) {
  if (!Property) return false;
  if (Target == A.Targets) {
    const Atom Offered[] = {A.Targets, A.Multiple, A.Utf8String, XA_STRING, A.Text, A.TextPlainUtf8};
    XChangeProperty(Dpy, Requestor, Property, XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(Offered), 6);
    return true;
  }
  if (Target != A.Utf8String && Target != A.Text && Target != A.TextPlainUtf8 && Target != XA_STRING) return false;
  const bool Latin1 = Target == XA_STRING;
  std::string Data = Latin1 ? Utf8ToLatin1(ClipText) : ClipText;
  const Atom Type = Latin1 ? XA_STRING : (Target == A.TextPlainUtf8 ? A.TextPlainUtf8 : A.Utf8String);
  if (Data.size() > ChunkBytes) {
    // In chunks: each one when the requestor deleted the one before.
    const long Size = static_cast<long>(Data.size());
    XSelectInput(Dpy, Requestor, PropertyChangeMask);
    XChangeProperty(Dpy, Requestor, Property, A.Incr, 32, PropModeReplace, reinterpret_cast<const unsigned char*>(&Size),
                    1);
    Outgoing.push_back({Requestor, Property, Type, std::move(Data), 0});
  } else {
    XChangeProperty(Dpy, Requestor, Property, Type, 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(Data.data()), static_cast<int>(Data.size()));
  }
  return true;
}

void X11State::AnswerSelectionRequest(const XSelectionRequestEvent& R) {
  XSelectionEvent Reply{};
  Reply.type = SelectionNotify;
  Reply.display = Dpy;
  Reply.requestor = R.requestor;
  Reply.selection = R.selection;
  Reply.target = R.target;
  Reply.time = R.time;
  Reply.property = 0;
  const Atom Property = R.property ? R.property : R.target;  // old clients name no property
  if (R.selection == A.Clipboard && OwnClipboard) {
    if (R.target == A.Multiple && R.property) {
      // Several conversions at once: (target, property) pairs, a failed one's property
      // set to None.
      X11ErrorTrap Trap(Dpy);
      Atom Type = 0;
      int Format = 0;
      unsigned long Count = 0, After = 0;
      unsigned char* Data = nullptr;
      if (XGetWindowProperty(Dpy, R.requestor, R.property, 0, 0x10000, False, AnyPropertyType, &Type, &Format, &Count,
                             &After, &Data) == Success &&
          Data && Format == 32) {
        std::vector<Atom> Pairs(reinterpret_cast<const long*>(Data), reinterpret_cast<const long*>(Data) + Count);
        for (size_t I = 0; I + 1 < Pairs.size(); I += 2)
          if (!PutSelection(R.requestor, Pairs[I], Pairs[I + 1])) Pairs[I + 1] = 0;
        XChangeProperty(Dpy, R.requestor, R.property, A.AtomPair, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(Pairs.data()), static_cast<int>(Pairs.size()));
        Reply.property = R.property;
      }
      if (Data) XFree(Data);
    } else if (PutSelection(R.requestor, R.target, Property)) {
      Reply.property = Property;
    }
  }
  XSendEvent(Dpy, R.requestor, False, 0, reinterpret_cast<XEvent*>(&Reply));
  XFlush(Dpy);
}

void X11State::HandOverClipboard() {
  if (!OwnClipboard || XGetSelectionOwner(Dpy, A.Clipboard) != SelWindow) return;
  // Without a clipboard manager the text ends with us, as X has it for every program.
  if (!XGetSelectionOwner(Dpy, A.ClipboardManager)) return;
  const Atom Saved[] = {A.Utf8String, XA_STRING, A.Text, A.TextPlainUtf8};
  XChangeProperty(Dpy, SelWindow, A.SaveProperty, XA_ATOM, 32, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(Saved), 4);
  XConvertSelection(Dpy, A.ClipboardManager, A.SaveTargets, A.SaveProperty, SelWindow, CurrentTime);
  XFlush(Dpy);
  const auto End = std::chrono::steady_clock::now() + std::chrono::milliseconds(ClipboardHandOverMs);
  for (;;) {
    while (XPending(Dpy) > 0) {
      XEvent E;
      XNextEvent(Dpy, &E);
      switch (E.type) {
        case SelectionRequest: AnswerSelectionRequest(E.xselectionrequest); break;
        case PropertyNotify: ContinueOutgoing(E.xproperty); break;
        case SelectionClear:
          if (E.xselectionclear.selection == A.Clipboard) OwnClipboard = false;
          break;
        case SelectionNotify:
          // The manager has the text (or refused it): either way it is done with us.
          if (E.xselection.requestor == SelWindow && E.xselection.selection == A.ClipboardManager) return;
          break;
        default: break;  // the program is ending: nothing else matters now
      }
    }
    const auto Left = std::chrono::duration_cast<std::chrono::milliseconds>(End - std::chrono::steady_clock::now());
    if (Left.count() <= 0) return;
    pollfd P{ConnectionNumber(Dpy), POLLIN, 0};
    poll(&P, 1, static_cast<int>(std::min<long long>(Left.count(), 50)));
  }
}

bool X11State::ContinueOutgoing(const XPropertyEvent& E) {
  if (E.state != PropertyDelete) return false;
  for (auto It = Outgoing.begin(); It != Outgoing.end(); ++It) {
    if (It->Requestor != E.window || It->Property != E.atom) continue;
    const size_t Left = It->Data.size() - It->Sent;
    const size_t Now = std::min(Left, ChunkBytes);
    XChangeProperty(Dpy, It->Requestor, It->Property, It->Type, 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(It->Data.data() + It->Sent), static_cast<int>(Now));
    It->Sent += Now;
    if (Now == 0) Outgoing.erase(It);  // the empty chunk ends it
    XFlush(Dpy);
    return true;
  }
  return false;
}

bool X11State::WaitForWindowEvent(int Type, XEvent& Out, int TimeoutMs) {
  const auto End = std::chrono::steady_clock::now() + std::chrono::milliseconds(TimeoutMs);
  for (;;) {
    if (XCheckTypedWindowEvent(Dpy, SelWindow, Type, &Out)) return true;
    const auto Left = std::chrono::duration_cast<std::chrono::milliseconds>(End - std::chrono::steady_clock::now());
    if (Left.count() <= 0) return false;
    pollfd P{ConnectionNumber(Dpy), POLLIN, 0};
    poll(&P, 1, static_cast<int>(std::min<long long>(Left.count(), 50)));
    XEventsQueued(Dpy, QueuedAfterReading);
  }
}

int X11State::ReadSelection(const SelectionAsk& Ask, std::string& Out, bool& Chunked) {
  Out.clear();
  Chunked = false;
  XDeleteProperty(Dpy, SelWindow, Ask.Property);
  XConvertSelection(Dpy, Ask.Selection, Ask.Target, Ask.Property, SelWindow, Ask.When);
  XFlush(Dpy);
  XEvent E;
  if (!WaitForWindowEvent(SelectionNotify, E, Ask.WaitMs)) return -1;
  if (E.xselection.property == 0) return 0;  // refused
  Atom Type = 0;
  int Format = 0;
  unsigned long Count = 0, After = 0;
  unsigned char* Data = nullptr;
  XGetWindowProperty(Dpy, SelWindow, Ask.Property, 0, 0x7FFFFFFF, True, AnyPropertyType, &Type, &Format, &Count,
                     &After, &Data);
  if (Type == A.Incr) {
    if (Data) XFree(Data);
    // Chunks until an empty one; each read deletes the property and so asks for more.
    for (;;) {
      XEvent P;
      bool Got = false;
      const auto End = std::chrono::steady_clock::now() + std::chrono::milliseconds(Ask.WaitMs);
      while (std::chrono::steady_clock::now() < End) {
        if (!WaitForWindowEvent(PropertyNotify, P, Ask.WaitMs)) break;
        if (P.xproperty.atom == Ask.Property && P.xproperty.state == PropertyNewValue) {
          Got = true;
          break;
        }
      }
      if (!Got) return -1;
      Data = nullptr;
      XGetWindowProperty(Dpy, SelWindow, Ask.Property, 0, 0x7FFFFFFF, True, AnyPropertyType, &Type, &Format, &Count,
                         &After, &Data);
      if (Type == 0 || Type == A.Incr) {  // an early notice of a property already taken
        if (Data) XFree(Data);
        continue;
      }
      const size_t Bytes = Data && Format == 8 ? Count : 0;
      if (Data) {
        Out.append(reinterpret_cast<const char*>(Data), Bytes);
        XFree(Data);
      }
      if (Bytes == 0) break;
    }
    Chunked = true;
  } else {
    Out.assign(Data && Format == 8 ? reinterpret_cast<const char*>(Data) : "", Data && Format == 8 ? Count : 0);
    if (Data) XFree(Data);
  }
  if (Type == XA_STRING) Out = Latin1ToUtf8(Out);
  return 1;
}

void X11Display::SetClipboardText(const std::string& Text) {
  X11State& S = *F;
  S.ClipText = Text;
  XSetSelectionOwner(S.Dpy, S.A.Clipboard, S.SelWindow, CurrentTime);
  S.OwnClipboard = XGetSelectionOwner(S.Dpy, S.A.Clipboard) == S.SelWindow;
}

std::string X11Display::ClipboardText() {
  X11State& S = *F;
  if (S.OwnClipboard) return S.ClipText;
  if (!XGetSelectionOwner(S.Dpy, S.A.Clipboard)) return "";
  std::string Text;
  // An owner that never answers costs one wait, not two.
  int Got = S.ReadSelection({S.A.Clipboard, S.A.Utf8String, S.A.SelectionProperty, CurrentTime, ClipboardWaitMs}, Text,
                            S.UsedIncr);
  if (Got == 0)
    Got = S.ReadSelection({S.A.Clipboard, XA_STRING, S.A.SelectionProperty, CurrentTime, ClipboardWaitMs}, Text,
                          S.UsedIncr);
  return Got > 0 ? CleanUtf8(Text) : "";
}

bool X11Display::ClipboardUsedChunks() const { return F->UsedIncr; }

}  // namespace vantrel::display
