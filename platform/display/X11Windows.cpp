// Native windows on X: one undecorated X window per top-level HWND, made when the window
// is first shown (the application's hidden owner window never is), with the desktop's
// hints for its kind (a dialog stands over the form that owns it, a modal one over the
// form it blocks); popups that must never take the focus are override-redirect.
#include <unistd.h>

#include <algorithm>
#include <cstring>

#include "platform/display/X11Display.h"
#include "platform/win/Messages.h"
#include "platform/win/WindowManager.h"

#include "platform/display/X11Internal.h"

#include <X11/Xatom.h>
#include <X11/extensions/shape.h>

namespace vantrel::display {

namespace {

// Windows the desktop must neither decorate nor focus: menus, hints, drop-downs, layer
// windows and the sides of a layered border.
bool IsOverrideRedirect(DWORD Style, DWORD ExStyle) {
  if (ExStyle & WS_EX_NOACTIVATE) return true;
  const bool Popup = (Style & WS_POPUP) != 0;
  const bool Caption = (Style & WS_CAPTION) == WS_CAPTION;
  if (Popup && !Caption && (ExStyle & WS_EX_TOOLWINDOW)) return true;
  return Popup && !Caption && (ExStyle & WS_EX_LAYERED);
}

// The owner of Wnd when it is a form (a window that has a size); the application's
// hidden window, which owns every form, has none.
HWND FormOwner(HWND Wnd) {
  const HWND Owner = GetWindow(Wnd, GW_OWNER);
  if (!Owner) return nullptr;
  RECT R{};
  GetWindowRect(Owner, &R);
  return R.Right > R.Left && R.Bottom > R.Top ? Owner : nullptr;
}

// The form a window shown now stands over when its owner is no form: the topmost of our
// shown forms that is disabled, as every other form is while a modal dialog runs. Without
// it the desktop would let a click on the disabled form raise it over the dialog.
HWND ModalParent(const X11State& S, HWND Wnd) {
  for (HWND Other : S.Stacking) {
    if (Other == Wnd || IsWindowEnabled(Other)) continue;
    const X11Native* O = S.Find(Other);
    if (O && O->Xid && O->Mapped && !O->OverrideRedirect) return Other;
  }
  return nullptr;
}

void SetAtomList(::Display* Dpy, ::Window W, Atom Property, const std::vector<Atom>& Values) {
  if (Values.empty()) {
    XDeleteProperty(Dpy, W, Property);
    return;
  }
  XChangeProperty(Dpy, W, Property, XA_ATOM, 32, PropModeReplace, reinterpret_cast<const unsigned char*>(Values.data()),
                  static_cast<int>(Values.size()));
}

// Where the window stands, and for a window without a sizing border (a fixed-size form,
// or one whose skinned frame does its own sizing) its size as both the least and the
// most the desktop may give it: a window manager then offers no resizing or maximizing
// of its own. Our own moves set the new size here first.
void SetSizeHints(X11State& S, const X11Native& N) {
  XSizeHints Size{};
  Size.flags = USPosition | PPosition;
  Size.x = N.Rect.Left;
  Size.y = N.Rect.Top;
  const DWORD Style = static_cast<DWORD>(GetWindowLong(N.Wnd, GWL_STYLE));
  if (!N.OverrideRedirect && !(Style & WS_THICKFRAME)) {
    Size.flags |= PMinSize | PMaxSize;
    Size.min_width = Size.max_width = std::max(1, N.Width());
    Size.min_height = Size.max_height = std::max(1, N.Height());
  }
  XSetWMNormalHints(S.Dpy, N.Xid, &Size);
}

void SetTitle(X11State& S, X11Native& N) {
  XChangeProperty(S.Dpy, N.Xid, S.A.NetWmName, S.A.Utf8String, 8, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(N.Title.data()), static_cast<int>(N.Title.size()));
  // The old title property is Latin-1: ASCII passes, anything else shows as '?'.
  std::string Plain;
  for (unsigned char C : N.Title)
    if (C < 0x80)
      Plain += static_cast<char>(C);
    else if ((C & 0xC0) != 0x80)
      Plain += '?';
  XStoreName(S.Dpy, N.Xid, Plain.c_str());
}

void SetIcon(X11State& S, X11Native& N) {
  if (N.Icon.empty()) {
    XDeleteProperty(S.Dpy, N.Xid, S.A.NetWmIcon);
    return;
  }
  XChangeProperty(S.Dpy, N.Xid, S.A.NetWmIcon, XA_CARDINAL, 32, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(N.Icon.data()), static_cast<int>(N.Icon.size()));
}

}  // namespace

void X11State::MakeWindow(X11Native& N) {
  N.Style = static_cast<DWORD>(GetWindowLong(N.Wnd, GWL_STYLE));
  N.ExStyle = static_cast<DWORD>(GetWindowLong(N.Wnd, GWL_EXSTYLE));
  N.OverrideRedirect = IsOverrideRedirect(N.Style, N.ExStyle);
  N.Argb = ArgbVis && (N.ExStyle & WS_EX_LAYERED) && CompositorRunning();

  XSetWindowAttributes Attr{};
  Attr.background_pixmap = 0;  // None: nothing is drawn before we present
  Attr.border_pixel = 0;
  Attr.colormap = N.Argb ? ArgbCmap : Cmap;
  Attr.override_redirect = N.OverrideRedirect ? True : False;
  Attr.bit_gravity = NorthWestGravity;
  Attr.event_mask = ExposureMask | StructureNotifyMask | PropertyChangeMask | FocusChangeMask | KeyPressMask |
                    KeyReleaseMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask | EnterWindowMask |
                    LeaveWindowMask;
  const unsigned long Mask = CWBackPixmap | CWBorderPixel | CWColormap | CWOverrideRedirect | CWBitGravity | CWEventMask;
  N.Xid = XCreateWindow(Dpy, Root, N.Rect.Left, N.Rect.Top, static_cast<unsigned>(std::max(1, N.Width())),
                        static_cast<unsigned>(std::max(1, N.Height())), 0, N.Argb ? 32 : Depth, InputOutput,
                        N.Argb ? ArgbVis : Vis, Mask, &Attr);
  ByXid[N.Xid] = N.Wnd;
  N.Gc = XCreateGC(Dpy, N.Xid, 0, nullptr);
  N.Mapped = false;

  // No decorations: the frame is ours.
  const long Motif[5] = {2, 0, 0, 0, 0};
  XChangeProperty(Dpy, N.Xid, A.MotifWmHints, A.MotifWmHints, 32, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(Motif), 5);
  XClassHint Class{const_cast<char*>("vantrel"), const_cast<char*>("Vantrel")};
  XSetClassHint(Dpy, N.Xid, &Class);
  Atom Protocols[2] = {A.WmDeleteWindow, A.NetWmPing};
  XSetWMProtocols(Dpy, N.Xid, Protocols, 2);
  const long Pid = static_cast<long>(getpid());
  XChangeProperty(Dpy, N.Xid, A.NetWmPid, XA_CARDINAL, 32, PropModeReplace, reinterpret_cast<const unsigned char*>(&Pid),
                  1);
  SetSizeHints(*this, N);
  XWMHints Hints{};
  Hints.flags = InputHint | StateHint;
  Hints.input = N.OverrideRedirect ? False : True;
  Hints.initial_state = NormalState;
  XSetWMHints(Dpy, N.Xid, &Hints);
  ApplyWindowKind(N);
  if (N.Title.empty()) N.Title = GetWindowText(N.Wnd);
  SetTitle(*this, N);
  if (!N.Icon.empty()) SetIcon(*this, N);
  if (N.Alpha < 255 && !BlendsItself(N)) {
    const unsigned long Opacity = static_cast<unsigned long>(N.Alpha) * 0x01010101UL;
    XChangeProperty(Dpy, N.Xid, A.NetWmWindowOpacity, XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&Opacity), 1);
  }
  ApplyShape(N);
  DefineCursorOn(N);
  MakeInputContext(N);
  MarkDropTarget(N);
  N.ExpectedConfigures = 0;
}

void X11State::ApplyWindowKind(X11Native& N) {
  if (!N.Xid || N.Mapped) return;
  HWND Parent = N.OverrideRedirect ? nullptr : FormOwner(N.Wnd);
  if (!N.OverrideRedirect && !Parent) Parent = ModalParent(*this, N.Wnd);
  ::Window ParentXid = 0;
  if (X11Native* P = Parent ? Find(Parent) : nullptr) {
    EnsureWindow(*P);
    ParentXid = P->Xid;
  }
  std::vector<Atom> State;
  if (N.ExStyle & WS_EX_TOPMOST) State.push_back(A.NetWmStateAbove);
  if ((N.ExStyle & WS_EX_TOOLWINDOW) || ParentXid) State.push_back(A.NetWmStateSkipTaskbar);
  if (ParentXid && !IsWindowEnabled(Parent)) State.push_back(A.NetWmStateModal);
  SetAtomList(Dpy, N.Xid, A.NetWmState, State);
  if (N.OverrideRedirect)
    SetAtomList(Dpy, N.Xid, A.NetWmWindowType, {A.NetWmWindowTypePopupMenu});
  else
    SetAtomList(Dpy, N.Xid, A.NetWmWindowType, {ParentXid ? A.NetWmWindowTypeDialog : A.NetWmWindowTypeNormal});
  if (ParentXid)
    XSetTransientForHint(Dpy, N.Xid, ParentXid);
  else
    XDeleteProperty(Dpy, N.Xid, XA_WM_TRANSIENT_FOR);
}

void X11State::EnsureWindow(X11Native& N) {
  if (!N.Xid) MakeWindow(N);
}

void X11State::DropWindow(X11Native& N) {
  if (Grabbing == N.Wnd) Ungrab();  // a grab kept would freeze the desktop's pointer
  if (!N.Xid) return;
  DropHostsOf(N.Wnd);
  N.Frame.reset();
  if (N.Ic) XDestroyIC(N.Ic);
  N.Ic = nullptr;
  if (N.Gc) XFreeGC(Dpy, N.Gc);
  N.Gc = nullptr;
  ByXid.erase(N.Xid);
  XDestroyWindow(Dpy, N.Xid);
  N.Xid = 0;
  N.Mapped = false;
}

void X11State::UpdateMapping(X11Native& N) {
  if (!N.Xid) return;
  bool Want = N.Visible && N.Width() > 0 && N.Height() > 0;
  const bool Iconify = Want && N.Iconified && WindowManagerRunning && !N.OverrideRedirect;
  if (N.Iconified && !Iconify) Want = false;  // no one to show an icon: it goes away
  if (Want && !N.Mapped) {
    XMapWindow(Dpy, N.Xid);
    N.Mapped = true;
  } else if (!Want && N.Mapped) {
    if (N.OverrideRedirect)
      XUnmapWindow(Dpy, N.Xid);
    else
      XWithdrawWindow(Dpy, N.Xid, Screen);
    N.Mapped = false;
  }
  if (Iconify) XIconifyWindow(Dpy, N.Xid, Screen);
}

void X11State::ApplyShape(X11Native& N) {
  if (!N.Xid || !ShapeAvailable) return;
  if (N.Shape) {
    std::vector<XRectangle> Rects;
    for (const RECT& R : *N.Shape)
      if (R.Right > R.Left && R.Bottom > R.Top)
        Rects.push_back({static_cast<short>(R.Left), static_cast<short>(R.Top), static_cast<unsigned short>(R.Right - R.Left),
                         static_cast<unsigned short>(R.Bottom - R.Top)});
    XShapeCombineRectangles(Dpy, N.Xid, ShapeBounding, 0, 0, Rects.data(), static_cast<int>(Rects.size()), ShapeSet,
                            Unsorted);
  } else {
    XShapeCombineMask(Dpy, N.Xid, ShapeBounding, 0, 0, 0, ShapeSet);
  }
  if (N.PerPixel && N.Source && BlendsItself(N))  // alpha-0 pixels are cut out
    XShapeCombineRectangles(Dpy, N.Xid, ShapeBounding, 0, 0, N.AlphaRuns.data(), static_cast<int>(N.AlphaRuns.size()),
                            ShapeIntersect, YXBanded);
  N.ExStyle = static_cast<DWORD>(GetWindowLong(N.Wnd, GWL_EXSTYLE));
  if (N.ExStyle & WS_EX_TRANSPARENT)  // clicks pass through
    XShapeCombineRectangles(Dpy, N.Xid, ShapeInput, 0, 0, nullptr, 0, ShapeSet, Unsorted);
  else
    XShapeCombineMask(Dpy, N.Xid, ShapeInput, 0, 0, 0, ShapeSet);
}

void X11Display::CreateNativeWindow(HWND Wnd, const RECT& ScreenRect, DWORD Style, DWORD ExStyle) {
  X11Native& N = F->Windows[Wnd];
  N.Wnd = Wnd;
  N.Rect = ScreenRect;
  N.Style = Style;
  N.ExStyle = ExStyle;
}

void X11Display::DestroyNativeWindow(HWND Wnd) {
  X11Native* N = F->Find(Wnd);
  if (!N) return;
  const RECT Was = N->Rect;
  const bool WasMapped = N->Mapped;
  F->DropWindow(*N);
  F->Windows.erase(Wnd);
  if (WasMapped) F->ReblendAbove(nullptr, Was);
  std::erase(F->Stacking, Wnd);
  XFlush(F->Dpy);
}

void X11Display::ShowNativeWindow(HWND Wnd, bool Visible) {
  X11Native* N = F->Find(Wnd);
  if (!N) return;
  N->Visible = Visible;
  if (Visible) {
    F->EnsureWindow(*N);
    F->ApplyWindowKind(*N);  // shown modal or not, this time
    F->ApplyShape(*N);
  }
  const bool WasMapped = N->Mapped;
  if (!Visible && F->Grabbing == Wnd) F->Ungrab();
  F->UpdateMapping(*N);
  if (WasMapped && !N->Mapped) F->ReblendAbove(Wnd, N->Rect);
  XFlush(F->Dpy);
}

void X11Display::MoveNativeWindow(HWND Wnd, const RECT& ScreenRect) {
  X11Native* N = F->Find(Wnd);
  if (!N) return;
  const RECT Was = N->Rect;
  N->Rect = ScreenRect;
  const bool Minimized = (static_cast<DWORD>(GetWindowLong(Wnd, GWL_STYLE)) & WS_MINIMIZE) != 0;
  if (Minimized) {
    // Iconified where it stood instead of parked far off the screen.
    N->Rect = Was;
    if (!N->Iconified) {
      N->Iconified = true;
      F->UpdateMapping(*N);
    }
    XFlush(F->Dpy);
    return;
  }
  N->Iconified = false;
  if (N->Xid) {
    ++N->ExpectedConfigures;
    if (N->Width() != Was.Right - Was.Left || N->Height() != Was.Bottom - Was.Top) SetSizeHints(*F, *N);
    XMoveResizeWindow(F->Dpy, N->Xid, ScreenRect.Left, ScreenRect.Top, static_cast<unsigned>(std::max(1, N->Width())),
                      static_cast<unsigned>(std::max(1, N->Height())));
    F->UpdateMapping(*N);
    F->SyncHosts(Wnd);
    F->ReblendAbove(Wnd, Was);
  }
  XFlush(F->Dpy);
}

void X11Display::RestackNativeWindows(const std::vector<HWND>& TopFirst) {
  F->Stacking = TopFirst;
  std::vector<::Window> Order;
  for (HWND Wnd : TopFirst)
    if (X11Native* N = F->Find(Wnd); N && N->Xid && (N->OverrideRedirect || !F->WindowManagerRunning))
      Order.push_back(N->Xid);
  if (Order.empty()) return;
  if (F->WindowManagerRunning) {
    // Managed windows are stacked by the window manager; our popups go above them.
    for (auto It = Order.rbegin(); It != Order.rend(); ++It) XRaiseWindow(F->Dpy, *It);
  } else {
    XRaiseWindow(F->Dpy, Order.front());
    XRestackWindows(F->Dpy, Order.data(), static_cast<int>(Order.size()));
  }
  XFlush(F->Dpy);
}

void X11Display::SetNativeWindowShape(HWND Wnd, const std::vector<RECT>* Shape) {
  X11Native* N = F->Find(Wnd);
  if (!N) return;
  if (Shape)
    N->Shape = *Shape;
  else
    N->Shape.reset();
  F->ApplyShape(*N);
  if (N->Mapped) F->ReblendAbove(Wnd, N->Rect);
  XFlush(F->Dpy);
}

void X11Display::SetNativeWindowText(HWND Wnd, const std::string& Text) {
  X11Native* N = F->Find(Wnd);
  if (!N) return;
  N->Title = Text;
  if (N->Xid) SetTitle(*F, *N);
  XFlush(F->Dpy);
}

void X11Display::SetNativeWindowIcon(HWND Wnd, const std::vector<win::IconPicture>& Icon) {
  X11Native* N = F->Find(Wnd);
  if (!N) return;
  N->Icon.clear();
  for (const win::IconPicture& I : Icon) {
    N->Icon.push_back(static_cast<unsigned long>(I.Width));
    N->Icon.push_back(static_cast<unsigned long>(I.Height));
    N->Icon.insert(N->Icon.end(), I.Pixels.begin(), I.Pixels.end());
  }
  if (!N->Xid) return;
  SetIcon(*F, *N);
  XFlush(F->Dpy);
}

}  // namespace vantrel::display
