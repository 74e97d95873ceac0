// Native child windows for code that draws into a child HWND itself (the video player):
// an X child of the top-level's X window over the HWND's client area, black where the
// picture does not reach, shaped to the part that shows so the HWND's own children and
// the siblings above it stay visible over the picture. It takes only exposures; the
// pointer goes through to the top-level window and so to the HWND.
#include <algorithm>

#include "platform/display/X11Display.h"
#include "platform/win/NativeHost.h"

#include "platform/display/X11Internal.h"

#include <X11/extensions/shape.h>

namespace vantrel::display {

namespace {

bool SameHostRect(const RECT& A, const RECT& B) {
  return A.Left == B.Left && A.Top == B.Top && A.Right == B.Right && A.Bottom == B.Bottom;
}

bool SameHostShape(const std::vector<RECT>& A, const std::vector<RECT>& B) {
  return A.size() == B.size() && std::equal(A.begin(), A.end(), B.begin(), SameHostRect);
}

void ShapeHost(X11State& S, X11Host& H) {
  if (!S.ShapeAvailable) return;
  std::vector<XRectangle> Rects;
  for (const RECT& R : H.Shape)
    Rects.push_back({static_cast<short>(R.Left), static_cast<short>(R.Top), static_cast<unsigned short>(R.Right - R.Left),
                     static_cast<unsigned short>(R.Bottom - R.Top)});
  XShapeCombineRectangles(S.Dpy, H.Xid, ShapeBounding, 0, 0, Rects.data(), static_cast<int>(Rects.size()), ShapeSet,
                          YXBanded);
  // The pointer never stops at it.
  XShapeCombineRectangles(S.Dpy, H.Xid, ShapeInput, 0, 0, nullptr, 0, ShapeSet, Unsorted);
}

// Opaque black in the pixels of Top's visual (a 32-bit one keeps alpha in the bits the
// colours leave free).
unsigned long HostBlack(const X11State& S, const X11Native& Top) {
  const Visual* V = Top.Argb ? S.ArgbVis : S.Vis;
  const int Depth = Top.Argb ? 32 : S.Depth;
  if (!V || Depth != 32) return 0;
  return ~(V->red_mask | V->green_mask | V->blue_mask) & 0xFFFFFFFFul;
}

// Brings H to its HWND's placement; false when the HWND is gone (H is then destroyed).
bool PlaceHost(X11State& S, X11Host& H) {
  win::HostPlacement P;
  if (!win::HostPlacementOf(H.Wnd, P)) {
    if (H.Xid) XDestroyWindow(S.Dpy, H.Xid);
    H.Xid = 0;
    return false;
  }
  X11Native* Top = S.Find(P.Top);
  if (!Top) return true;
  S.EnsureWindow(*Top);
  const int W = std::max(1, static_cast<int>(P.Client.Right - P.Client.Left));
  const int Ht = std::max(1, static_cast<int>(P.Client.Bottom - P.Client.Top));
  if (!H.Xid) {
    XSetWindowAttributes Attr{};
    // The server fills what shows anew (mapped, uncovered, grown) with black, the colour
    // around a picture narrower or lower than the window; the exposure then has the
    // picture drawn again. Without a fill such parts kept whatever the screen had there.
    Attr.background_pixel = HostBlack(S, *Top);
    Attr.event_mask = ExposureMask;
    Attr.bit_gravity = NorthWestGravity;
    H.Xid = XCreateWindow(S.Dpy, Top->Xid, P.Client.Left, P.Client.Top, static_cast<unsigned>(W),
                          static_cast<unsigned>(Ht), 0, CopyFromParent, InputOutput, CopyFromParent,
                          CWBackPixel | CWEventMask | CWBitGravity, &Attr);
    H.ParentXid = Top->Xid;
    H.Client = P.Client;
    H.Shape = P.Visible;
    H.Top = P.Top;
    H.Mapped = false;
    ShapeHost(S, H);
  } else {
    if (H.ParentXid != Top->Xid) {
      XReparentWindow(S.Dpy, H.Xid, Top->Xid, P.Client.Left, P.Client.Top);
      H.ParentXid = Top->Xid;
      H.Top = P.Top;
    }
    if (!SameHostRect(H.Client, P.Client)) {
      XMoveResizeWindow(S.Dpy, H.Xid, P.Client.Left, P.Client.Top, static_cast<unsigned>(W), static_cast<unsigned>(Ht));
      H.Client = P.Client;
    }
    if (!SameHostShape(H.Shape, P.Visible)) {
      H.Shape = P.Visible;
      ShapeHost(S, H);
    }
  }
  const bool Want = P.Shown && !P.Visible.empty() && P.Client.Right > P.Client.Left && P.Client.Bottom > P.Client.Top;
  if (Want && !H.Mapped) XMapWindow(S.Dpy, H.Xid);
  if (!Want && H.Mapped) XUnmapWindow(S.Dpy, H.Xid);
  H.Mapped = Want;
  return true;
}

}  // namespace

void X11State::SyncHosts(HWND Top) {
  for (auto It = Hosts.begin(); It != Hosts.end();) {
    X11Host& H = It->second;
    if (H.Top != Top) {
      ++It;
      continue;
    }
    It = PlaceHost(*this, H) ? std::next(It) : Hosts.erase(It);
  }
}

void X11State::DropHostsOf(HWND Top) {
  // They go with their parent's X window.
  std::erase_if(Hosts, [Top](const auto& Entry) { return Entry.second.Top == Top; });
}

uintptr_t X11Display::NativeChildWindow(HWND Child) {
  X11State& S = *F;
  auto It = S.Hosts.find(Child);
  if (It == S.Hosts.end()) {
    X11Host H;
    H.Wnd = Child;
    It = S.Hosts.emplace(Child, H).first;
  }
  if (!PlaceHost(S, It->second) || !It->second.Xid) {
    S.Hosts.erase(It);
    return 0;
  }
  XSync(S.Dpy, False);  // the id is good for another connection at once
  return It->second.Xid;
}

}  // namespace vantrel::display
