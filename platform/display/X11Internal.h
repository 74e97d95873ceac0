// What the X11*.cpp files share: the connection, its atoms and visuals, and a record per
// native window. Included by those files only, after every header of ours: Xlib's
// macros (None, Bool, Status, ...) would change what follows it.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/display/X11Display.h"
#include "platform/display/X11Keys.h"
#include "platform/win/Regions.h"
#include "platform/win/Surface.h"
#include "platform/win/TrayArea.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>

namespace vantrel::display {

// A window-sized image in the server's pixel layout, in shared memory when the server
// takes it, else in our own memory for XPutImage.
struct X11Frame {
  X11Frame() = default;
  ~X11Frame();
  X11Frame(const X11Frame&) = delete;
  X11Frame& operator=(const X11Frame&) = delete;

  ::Display* Dpy = nullptr;
  XImage* Image = nullptr;
  XShmSegmentInfo Shm{};
  bool Shared = false;
  int InFlight = 0;  // shared puts whose completion has not come yet

  int Width() const { return Image ? Image->width : 0; }
  int Height() const { return Image ? Image->height : 0; }
  uint32_t* Row(int Y) { return reinterpret_cast<uint32_t*>(Image->data + static_cast<size_t>(Y) * Image->bytes_per_line); }
};

struct X11Native {
  HWND Wnd = nullptr;
  ::Window Xid = 0;
  RECT Rect{};  // screen
  DWORD Style = 0;
  DWORD ExStyle = 0;
  std::string Title;
  // _NET_WM_ICON's contents: per picture its width, height and ARGB pixels (one long each).
  std::vector<unsigned long> Icon;
  bool Visible = false;  // as the HWND wants it
  bool Mapped = false;
  bool OverrideRedirect = false;
  bool Argb = false;       // made on the 32-bit visual
  bool Iconified = false;  // minimized: iconified, or unmapped without a window manager
  BYTE Alpha = 255;
  bool PerPixel = false;
  bool CompositorBlends = false;  // a compositing manager blends it (else we do)
  std::optional<std::vector<RECT>> Shape;  // window coordinates
  GC Gc = nullptr;
  XIC Ic = nullptr;  // its input context: the layout's characters for its keys
  std::unique_ptr<X11Frame> Frame;
  // Layered windows that we blend ourselves: the window's own pixels as last presented.
  std::unique_ptr<win::Surface> Source;
  std::vector<XRectangle> AlphaRuns;  // its pixels with alpha above 0, by row
  unsigned long ExpectedConfigures = 0;  // our own moves whose ConfigureNotify is due

  int Width() const { return Rect.Right - Rect.Left; }
  int Height() const { return Rect.Bottom - Rect.Top; }
};

// A native child window over a child HWND's client area.
struct X11Host {
  HWND Wnd = nullptr;
  HWND Top = nullptr;
  ::Window Xid = 0;
  ::Window ParentXid = 0;
  RECT Client{};
  std::vector<RECT> Shape;
  bool Mapped = false;
};

struct X11State;

// The notification area on X: icons docked in the tray of the desktop (the owner of the
// system-tray selection), their clicks posted to their windows, balloons sent to the
// tray as messages. Without a tray no icon can be added.
class X11TrayArea final : public win::TrayArea {
 public:
  explicit X11TrayArea(X11State& S);
  ~X11TrayArea() override;
  X11TrayArea(const X11TrayArea&) = delete;
  X11TrayArea& operator=(const X11TrayArea&) = delete;
  bool Notify(DWORD Message, const NOTIFYICONDATAW& Data) override;
  // Events of the icon windows and of the tray's coming and going; false: not the tray's.
  bool HandleEvent(const XEvent& E);

 private:
  struct IconWindow {
    HWND Wnd = nullptr;
    UINT Id = 0;
    ::Window Xid = 0;
    Visual* Vis = nullptr;
    int Width = 1, Height = 1;
    unsigned LastButton = 0;  // the last press, for double clicks
    Time LastPressTime = 0;
    int LastX = 0, LastY = 0;
  };
  ::Window TrayOwner() const;
  bool Dock(IconWindow& I, ::Window Tray);
  void Paint(IconWindow& I);
  void SetTitle(const IconWindow& I, const std::string& Tip);
  void ShowBalloon(const IconWindow& I, const win::TrayIcon& Icon);
  void Pointer(IconWindow& I, const XEvent& E);
  void DropIcons();
  IconWindow* FindIcon(::Window Xid);

  X11State& S;
  win::TrayIconTable FTable;
  std::vector<IconWindow> FIcons;
  ::Window FTray = 0;  // the tray our icons are docked in
  long FNextBalloon = 1;
  Atom FSelection = 0, FOpcode = 0, FManager = 0, FXembedInfo = 0, FMessageData = 0, FTrayVisual = 0;
};

struct X11State {
  static constexpr uint32_t DesktopPixel = 0x3A6EA5;  // the colour under all windows
  ::Display* Dpy = nullptr;
  int Screen = 0;
  ::Window Root = 0;
  Visual* Vis = nullptr;
  int Depth = 24;
  Colormap Cmap = 0;
  Visual* ArgbVis = nullptr;  // nullptr: none
  Colormap ArgbCmap = 0;
  bool ShmAvailable = false;
  int ShmEventType = -1;  // event type of shared-put completions
  bool ShapeAvailable = false;
  bool WindowManagerRunning = false;
  RECT Work{};
  std::map<HWND, X11Native> Windows;
  std::map<::Window, HWND> ByXid;
  std::vector<HWND> Stacking;  // topmost first
  std::map<HWND, X11Host> Hosts;
  std::map<HCURSOR, Cursor> Cursors;
  Cursor EmptyCursor = 0;
  HCURSOR CurrentCursor = nullptr;
  bool CursorSet = false;
  XIM Im = nullptr;
  WORD KeyVks[256] = {};    // by key code: the virtual key its press gave
  WORD KeySides[256] = {};
  bool KeyAltGr[256] = {};
  unsigned AltGrMask = 0;  // the modifier bits of the layout's AltGr
  X11TrayArea* Tray = nullptr;  // while the tray area lives
  bool FocusLeaving = false;  // a FocusOut with no FocusIn on ours after it yet
  HWND Grabbing = nullptr;    // the top-level window holding our pointer grab
  // Clipboard (X11Clipboard.cpp).
  ::Window SelWindow = 0;
  std::string ClipText;
  bool OwnClipboard = false;
  bool UsedIncr = false;  // the last read came in chunks
  size_t ChunkBytes = 0;
  struct OutgoingText {
    ::Window Requestor;
    Atom Property;
    Atom Type;
    std::string Data;
    size_t Sent;
  };
  std::vector<OutgoingText> Outgoing;
  void OpenClipboard();
  void CloseClipboard();
  void AnswerSelectionRequest(const XSelectionRequestEvent& R);
  // Writes our text to Property of Requestor as Target asks; false for a target we do not
  // offer.
  bool PutSelection(::Window Requestor, Atom Target, Atom Property);
  // At exit: a clipboard manager, when one runs, takes a copy of our text (we answer its
  // requests until it says it is done, a few seconds at most).
  void HandOverClipboard();
  // The next chunk for a requestor that took the last one; false: not one of ours.
  bool ContinueOutgoing(const XPropertyEvent& E);
  bool WaitForWindowEvent(int Type, XEvent& Out, int TimeoutMs);
  // Asks Selection's owner for it as Target, into Property of our selection window, and
  // waits WaitMs at most for each answer.
  struct SelectionAsk {
    Atom Selection, Target, Property;
    Time When;
    int WaitMs;
  };
  // 1: read (Chunked: it came in INCR chunks); 0: refused; -1: no answer in time.
  int ReadSelection(const SelectionAsk& Ask, std::string& Out, bool& Chunked);

  // Drops from other programs (X11Drops.cpp).
  struct DragState {
    ::Window Source = 0;
    bool OffersFiles = false;
    bool Accepted = false;
    POINT Pos{};
  } Drag;
  void OpenDrops();
  void MarkDropTarget(X11Native& N);
  // False for client messages that are not part of a drag.
  bool HandleDrag(const XClientMessageEvent& E, win::DisplayEvents& Events);
  void Ungrab();

  struct Atoms {
    Atom WmProtocols, WmDeleteWindow, NetWmPing, NetWmName, NetWmIcon, Utf8String, MotifWmHints, NetWmState,
        NetWmStateAbove, NetWmStateSkipTaskbar, NetWmStateModal, NetWmWindowType, NetWmWindowTypeNormal, NetWmWindowTypeDialog,
        NetWmWindowTypePopupMenu, NetWorkarea, NetCurrentDesktop, NetWmWindowOpacity, NetSupportingWmCheck,
        NetWmPid, NetWmCmS, Clipboard, Targets, Text, TextPlainUtf8, Incr, SelectionProperty, Multiple, AtomPair,
        ClipboardManager, SaveTargets, SaveProperty, XdndAware, XdndEnter,
        XdndPosition, XdndStatus, XdndLeave, XdndDrop, XdndFinished, XdndSelection, XdndTypeList, XdndActionCopy,
        UriList, DropProperty;
  } A{};

  X11Native* Find(HWND Wnd);
  const X11Native* Find(HWND Wnd) const;
  X11Native* FindX(::Window Xid);

  // The X window of N, made now when it has none yet.
  void EnsureWindow(X11Native& N);
  void MakeWindow(X11Native& N);
  // What the desktop is told of a window's kind before it is shown: its type, its state
  // and the form it stands over (a shown window's state belongs to the desktop).
  void ApplyWindowKind(X11Native& N);
  void DropWindow(X11Native& N);
  void UpdateMapping(X11Native& N);
  void ApplyShape(X11Native& N);
  // Finds the pixels with alpha above 0 of a per-pixel window we blend ourselves; true
  // when they changed (its shape must be applied again).
  bool UpdateAlphaRuns(X11Native& N);
  bool CompositorRunning() const;
  bool BlendsItself(const X11Native& N) const;
  void RefreshWorkArea();
  void RefreshWindowManager();

  // Presenting (X11Present.cpp): Area in window coordinates.
  void EnsureFrame(X11Native& N);
  void PutFrame(X11Native& N, const RECT& Area);
  void WaitForFrame(X11Native& N);
  // Recomputes the blended pixels of a window we blend ourselves over ScreenArea.
  void Reblend(X11Native& N, const RECT& ScreenArea);
  // Re-blends the layered windows above Under that meet ScreenArea.
  void ReblendAbove(HWND Under, const RECT& ScreenArea);
  struct Beneath {
    const X11Native* Native;
    std::optional<win::Region> Shape;
  };
  // Our shown windows below Wnd that meet ScreenArea, topmost first.
  std::vector<Beneath> WindowsBelow(HWND Wnd, const RECT& ScreenArea) const;
  // What the screen shows at (X, Y) under a window whose lower windows are Under.
  uint32_t ScreenPixelBelow(const std::vector<Beneath>& Under, int X, int Y) const;

  // Native child windows (X11Hosts.cpp).
  void SyncHosts(HWND Top);
  void DropHostsOf(HWND Top);

  // Input (X11Input.cpp).
  void OpenInputMethod();
  void CloseInputMethod();
  void MakeInputContext(X11Native& N);
  // False for events that are not input.
  bool HandleInput(XEvent& E, win::DisplayEvents& Events);
  void HandleKey(X11Native* N, XKeyEvent& E, win::DisplayEvents& Events);
  void SendKey(const X11KeyMeaning& Meaning, bool Down, UINT Modifiers, char32_t Char, win::DisplayEvents& Events);
  // Reads what the keyboard map makes of AltGr (at start and whenever the map changes).
  void RefreshKeyboardMap();
  // After a batch of events: the focus went to no window of ours.
  void FinishFocusChanges(win::DisplayEvents& Events);

  Cursor CursorFor(HCURSOR C);
  void DefineCursorOn(X11Native& N);
};

// An icon's or cursor's pixels as premultiplied ARGB, top row first; empty when
// unreadable.
std::vector<uint32_t> X11IconPixels(HICON Icon, int& W, int& H, int& HotX, int& HotY);

// Catches X errors of the requests made while it lives instead of logging them.
class X11ErrorTrap {
 public:
  explicit X11ErrorTrap(::Display* Dpy);
  ~X11ErrorTrap();
  X11ErrorTrap(const X11ErrorTrap&) = delete;
  X11ErrorTrap& operator=(const X11ErrorTrap&) = delete;
  // Waits for the server to handle every request so far; the first error code, or 0.
  int Sync();

 private:
  ::Display* FDpy;
  int FError = 0;
  int* FOuter;
};

}  // namespace vantrel::display
