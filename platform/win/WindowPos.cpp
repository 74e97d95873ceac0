// Placement: SetWindowPos with its messages, ShowWindow with minimize/maximize/restore,
// z-order with the topmost band and owned windows above their owner, and mapping
// between window, client and screen coordinates.
#include <algorithm>

#include "platform/win/Input.h"
#include "platform/win/PaintState.h"
#include "platform/win/SysMetrics.h"
#include "platform/win/WindowIcon.h"
#include "platform/win/WindowManager.h"
#include "platform/win/WindowRegion.h"

namespace vantrel::win {

namespace {

RECT Offset(RECT R, int DX, int DY) { return {R.Left + DX, R.Top + DY, R.Right + DX, R.Bottom + DY}; }

bool Contains(const RECT& R, POINT P) { return P.X >= R.Left && P.X < R.Right && P.Y >= R.Top && P.Y < R.Bottom; }

}  // namespace

POINT WindowManager::WindowOrigin(const Window* W) const {
  if (!W->Parent) return {W->Rect.Left, W->Rect.Top};
  POINT P = ClientOrigin(W->Parent);
  return {P.X + W->Rect.Left, P.Y + W->Rect.Top};
}

POINT WindowManager::ClientOrigin(const Window* W) const {
  POINT P = WindowOrigin(W);
  return {P.X + W->ClientRect.Left, P.Y + W->ClientRect.Top};
}

bool WindowManager::IsVisible(const Window* W) const {
  for (; W; W = W->Parent)
    if (!(W->Style & WS_VISIBLE)) return false;
  return true;
}

RECT WindowManager::CalcClient(Window* W, const RECT& NewRect, const RECT& OldRect, WINDOWPOS* Pos, bool Valid) {
  RECT Client;
  if (!Valid) {
    RECT R = NewRect;
    Deliver(W, WM_NCCALCSIZE, FALSE, reinterpret_cast<LPARAM>(&R));
    Client = R;
  } else {
    NCCALCSIZE_PARAMS P{{NewRect, OldRect, Offset(W->ClientRect, OldRect.Left, OldRect.Top)}, Pos};
    Deliver(W, WM_NCCALCSIZE, TRUE, reinterpret_cast<LPARAM>(&P));
    Client = P.rgrc[0];
  }
  // Relative to the window, and never outside it.
  const int Wd = NewRect.Right - NewRect.Left, Ht = NewRect.Bottom - NewRect.Top;
  Client = Offset(Client, -NewRect.Left, -NewRect.Top);
  Client.Left = std::clamp(Client.Left, 0, Wd);
  Client.Top = std::clamp(Client.Top, 0, Ht);
  Client.Right = std::clamp(Client.Right, Client.Left, Wd);
  Client.Bottom = std::clamp(Client.Bottom, Client.Top, Ht);
  return Client;
}

void WindowManager::ResizeBackingStore(Window* W) {
  if (!W->BackingStore) return;
  if (W->BackingStore->Width() == W->Width() && W->BackingStore->Height() == W->Height()) return;
  W->BackingStore = std::make_unique<Surface>(W->Width(), W->Height(), false);
}

void WindowManager::SyncStacking() {
  std::vector<HWND> Order;
  for (Window* T : FTopLevels)
    if (T->HasNative) Order.push_back(T->Handle);
  FDisplay->RestackNativeWindows(Order);
}

void WindowManager::Restack(Window* W, HWND InsertAfter) {
  auto& Sib = SiblingList(W);
  auto Old = std::find(Sib.begin(), Sib.end(), W);
  if (Old == Sib.end()) return;
  const size_t OldIndex = static_cast<size_t>(Old - Sib.begin());
  Sib.erase(Old);
  const bool Top = W->IsTopLevel();
  size_t At = 0;
  if (InsertAfter == HWND_TOPMOST) {
    if (Top) W->ExStyle |= WS_EX_TOPMOST;
  } else if (InsertAfter == HWND_NOTOPMOST) {
    if (Top) W->ExStyle &= ~WS_EX_TOPMOST;
  } else if (InsertAfter == HWND_BOTTOM) {
    if (Top) W->ExStyle &= ~WS_EX_TOPMOST;
    At = Sib.size();
  } else if (InsertAfter != HWND_TOP) {
    auto It = std::find_if(Sib.begin(), Sib.end(), [&](Window* S) { return S->Handle == InsertAfter; });
    At = It == Sib.end() ? OldIndex : static_cast<size_t>(It - Sib.begin()) + 1;
  }
  Sib.insert(Sib.begin() + static_cast<std::ptrdiff_t>(std::min(At, Sib.size())), W);
  if (!Top) return;
  // Owned windows stay above their owner (unless the owner went to the bottom).
  if (InsertAfter != HWND_BOTTOM) {
    std::vector<Window*> Owned;
    std::vector<HWND> Owners{W->Handle};
    for (size_t I = 0; I < Owners.size(); ++I)
      for (Window* T : Sib)
        if (T->Owner == Owners[I] && std::find(Owned.begin(), Owned.end(), T) == Owned.end()) {
          Owned.push_back(T);
          Owners.push_back(T->Handle);
        }
    if (!Owned.empty()) {
      std::vector<Window*> Kept;
      for (Window* T : Sib)
        if (std::find(Owned.begin(), Owned.end(), T) == Owned.end()) Kept.push_back(T);
      std::vector<Window*> Ordered;  // owned ones in their present order
      for (Window* T : Sib)
        if (std::find(Owned.begin(), Owned.end(), T) != Owned.end()) Ordered.push_back(T);
      auto Pos = std::find(Kept.begin(), Kept.end(), W);
      Kept.insert(Pos, Ordered.begin(), Ordered.end());
      Sib = std::move(Kept);
    }
  }
  std::stable_partition(Sib.begin(), Sib.end(), [](Window* T) { return (T->ExStyle & WS_EX_TOPMOST) != 0; });
  SyncStacking();
}

bool WindowManager::SetPos(Window* W, HWND InsertAfter, int X, int Y, int CX, int CY, UINT Flags) {
  if (!IsGuiThread()) {
    SetLastError(ERROR_WINDOW_OF_OTHER_THREAD);
    return false;
  }
  const HWND Handle = W->Handle;
  WINDOWPOS Pos{Handle, InsertAfter, X, Y, CX, CY, Flags};
  if (Flags & SWP_NOMOVE) Pos.x = W->Rect.Left, Pos.y = W->Rect.Top;
  if (Flags & SWP_NOSIZE) Pos.cx = W->Width(), Pos.cy = W->Height();
  if (!(Flags & SWP_NOSENDCHANGING)) {
    Deliver(W, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&Pos));
    if (!IsLive(Handle)) return false;
  }
  // The handler may have changed anything, flags included.
  Flags = Pos.flags;
  if (Flags & SWP_NOMOVE) Pos.x = W->Rect.Left, Pos.y = W->Rect.Top;
  if (Flags & SWP_NOSIZE) Pos.cx = W->Width(), Pos.cy = W->Height();
  Pos.cx = std::max(Pos.cx, 0);
  Pos.cy = std::max(Pos.cy, 0);
  const RECT OldRect = W->Rect;
  const RECT OldClient = Offset(W->ClientRect, OldRect.Left, OldRect.Top);
  const RECT NewRect{Pos.x, Pos.y, Pos.x + Pos.cx, Pos.y + Pos.cy};
  const bool Sized = NewRect.Right - NewRect.Left != OldRect.Right - OldRect.Left ||
                     NewRect.Bottom - NewRect.Top != OldRect.Bottom - OldRect.Top;
  const bool Moved = NewRect.Left != OldRect.Left || NewRect.Top != OldRect.Top;
  RECT NewClient = W->ClientRect;
  if (Sized || (Flags & SWP_FRAMECHANGED)) {
    NewClient = CalcClient(W, NewRect, OldRect, &Pos, true);
    if (!IsLive(Handle)) return false;
  }
  W->Rect = NewRect;
  W->ClientRect = NewClient;
  if (!(Flags & SWP_NOZORDER)) Restack(W, Pos.hwndInsertAfter);
  const bool WasVisible = (W->Style & WS_VISIBLE) != 0;
  if ((Flags & SWP_SHOWWINDOW) && !WasVisible) W->Style |= WS_VISIBLE;
  else if ((Flags & SWP_HIDEWINDOW) && !(Flags & SWP_SHOWWINDOW) && WasVisible) W->Style &= ~WS_VISIBLE;
  if (W->HasNative) {
    if (Sized) ResizeBackingStore(W);
    if (Sized || Moved) FDisplay->MoveNativeWindow(Handle, W->Rect);
    if (((W->Style & WS_VISIBLE) != 0) != WasVisible) FDisplay->ShowNativeWindow(Handle, !WasVisible);
  }
  AfterWindowPlaced(*this, W, OldRect, WasVisible, Flags);
  const RECT NewClientAbs = Offset(NewClient, NewRect.Left, NewRect.Top);
  if (NewClientAbs.Right - NewClientAbs.Left == OldClient.Right - OldClient.Left &&
      NewClientAbs.Bottom - NewClientAbs.Top == OldClient.Bottom - OldClient.Top)
    Pos.flags |= SWP_NOCLIENTSIZE;
  if (NewClientAbs.Left == OldClient.Left && NewClientAbs.Top == OldClient.Top) Pos.flags |= SWP_NOCLIENTMOVE;
  Deliver(W, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&Pos));
  if (IsLive(Handle)) FInput->PositionChanged(W, Flags, WasVisible);
  return IsLive(Handle);
}

MINMAXINFO WindowManager::MinMaxInfo(Window* W) {
  RECT Area;
  if (W->Parent) {
    const RECT& C = W->Parent->ClientRect;
    Area = {0, 0, C.Right - C.Left, C.Bottom - C.Top};
  } else {
    Area = FDisplay->WorkArea();
  }
  const RECT F = DefaultFrame(W->Style, W->ExStyle);
  MINMAXINFO Info{};
  // The sizing border goes off the area's edges; the caption stays inside.
  Info.ptMaxSize = {Area.Right - Area.Left + F.Left + F.Right, Area.Bottom - Area.Top + 2 * F.Bottom};
  Info.ptMaxPosition = {-F.Left, -F.Bottom};
  Info.ptMinTrackSize = {GetSystemMetrics(SM_CXMINTRACK), GetSystemMetrics(SM_CYMINTRACK)};
  Info.ptMaxTrackSize = {GetSystemMetrics(SM_CXMAXTRACK), GetSystemMetrics(SM_CYMAXTRACK)};
  Deliver(W, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&Info));
  // ptMaxPosition is relative to the work area's corner.
  Info.ptMaxPosition.X += Area.Left;
  Info.ptMaxPosition.Y += Area.Top;
  return Info;
}

bool WindowManager::Show(Window* W, int Cmd) {
  if (!IsGuiThread()) {
    SetLastError(ERROR_WINDOW_OF_OTHER_THREAD);
    return false;
  }
  const HWND Handle = W->Handle;
  const bool WasVisible = (W->Style & WS_VISIBLE) != 0;
  const UINT Quiet = SWP_NOZORDER | SWP_NOACTIVATE;
  auto ShowIt = [&](UINT Extra) {
    if (!IsLive(Handle)) return;
    if (!(W->Style & WS_VISIBLE)) {
      Deliver(W, WM_SHOWWINDOW, TRUE, 0);
      if (!IsLive(Handle)) return;
      SetPos(W, nullptr, 0, 0, 0, 0, SWP_SHOWWINDOW | SWP_NOMOVE | SWP_NOSIZE | Extra);
    }
  };
  auto Place = [&](DWORD State, const RECT& R) {
    if (!(W->Style & (WS_MINIMIZE | WS_MAXIMIZE))) W->NormalRect = W->Rect;
    W->Style = (W->Style & ~(WS_MINIMIZE | WS_MAXIMIZE)) | State;
    UINT Flags = SWP_FRAMECHANGED | Quiet;
    if (!(W->Style & WS_VISIBLE)) {
      Deliver(W, WM_SHOWWINDOW, TRUE, 0);
      if (!IsLive(Handle)) return;
      Flags |= SWP_SHOWWINDOW;
    }
    SetPos(W, nullptr, R.Left, R.Top, R.Right - R.Left, R.Bottom - R.Top, Flags);
  };
  const bool Activate = Cmd != SW_SHOWNA && Cmd != SW_SHOWNOACTIVATE && Cmd != SW_SHOWMINNOACTIVE &&
                        Cmd != SW_MINIMIZE && Cmd != SW_HIDE;
  switch (Cmd) {
    case SW_HIDE:
      if (!WasVisible) return false;
      Deliver(W, WM_SHOWWINDOW, FALSE, 0);
      if (IsLive(Handle))
        SetPos(W, nullptr, 0, 0, 0, 0, SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | Quiet);
      break;
    case SW_SHOWMINIMIZED:
    case SW_MINIMIZE:
    case SW_SHOWMINNOACTIVE: {
      if (W->Style & WS_MINIMIZE) {
        ShowIt(Quiet);
        break;
      }
      const int CX = GetSystemMetrics(SM_CXMINIMIZED), CY = GetSystemMetrics(SM_CYMINIMIZED);
      Place(WS_MINIMIZE, RECT{-32000, -32000, -32000 + CX, -32000 + CY});
      break;
    }
    case SW_SHOWMAXIMIZED: {
      if (W->Style & WS_MAXIMIZE) {
        ShowIt(Quiet);
        break;
      }
      const RECT Saved = (W->Style & WS_MINIMIZE) ? W->NormalRect : W->Rect;
      const MINMAXINFO Info = MinMaxInfo(W);
      if (!IsLive(Handle)) return WasVisible;
      W->NormalRect = Saved;
      W->Style &= ~WS_MINIMIZE;
      Place(WS_MAXIMIZE, RECT{Info.ptMaxPosition.X, Info.ptMaxPosition.Y, Info.ptMaxPosition.X + Info.ptMaxSize.X,
                              Info.ptMaxPosition.Y + Info.ptMaxSize.Y});
      break;
    }
    case SW_RESTORE:
    case SW_SHOWNORMAL:
    case SW_SHOWDEFAULT:
      if (W->Style & (WS_MINIMIZE | WS_MAXIMIZE)) {
        const RECT R = W->NormalRect;
        W->Style &= ~(WS_MINIMIZE | WS_MAXIMIZE);
        W->NormalRect = R;
        UINT Flags = SWP_FRAMECHANGED | Quiet;
        if (!(W->Style & WS_VISIBLE)) {
          Deliver(W, WM_SHOWWINDOW, TRUE, 0);
          if (!IsLive(Handle)) return WasVisible;
          Flags |= SWP_SHOWWINDOW;
        }
        SetPos(W, nullptr, R.Left, R.Top, R.Right - R.Left, R.Bottom - R.Top, Flags);
        break;
      }
      ShowIt(Quiet);
      break;
    default:  // SW_SHOW, SW_SHOWNA, SW_SHOWNOACTIVATE and unknown values
      ShowIt(Quiet);
      break;
  }
  // Activation of top-level windows belongs to the focus layer; this is its hook.
  (void)Activate;
  if (IsLive(Handle)) FInput->WindowShown(W, Cmd);
  return WasVisible;
}

void WindowManager::SetParentOf(Window* W, Window* NewParent) {
  Window* const OldParent = W->Parent;
  auto& Old = SiblingList(W);
  Old.erase(std::remove(Old.begin(), Old.end(), W), Old.end());
  if (W->HasNative && NewParent) {
    FDisplay->DestroyNativeWindow(W->Handle);
    W->HasNative = false;
    W->BackingStore.reset();
  }
  W->Parent = NewParent;
  if (NewParent) {
    W->Owner = nullptr;
    NewParent->Children.insert(NewParent->Children.begin(), W);
  } else {
    auto Pos = std::find_if(FTopLevels.begin(), FTopLevels.end(),
                            [](Window* T) { return !(T->ExStyle & WS_EX_TOPMOST); });
    if (W->ExStyle & WS_EX_TOPMOST) Pos = FTopLevels.begin();
    FTopLevels.insert(Pos, W);
    if (!W->HasNative) {
      W->BackingStore = std::make_unique<Surface>(W->Width(), W->Height(), false);
      FDisplay->CreateNativeWindow(W->Handle, W->Rect, W->Style, W->ExStyle);
      W->HasNative = true;
      ShowNativeIcon(*this, W);
      if (W->Style & WS_VISIBLE) FDisplay->ShowNativeWindow(W->Handle, true);
    }
  }
  SyncStacking();
  AfterParentChanged(*this, W, OldParent);
}

Window* WindowManager::WindowAt(POINT Screen) const {
  for (Window* T : FTopLevels) {
    if (!(T->Style & WS_VISIBLE) || (T->Style & WS_DISABLED) || (T->Style & WS_MINIMIZE)) continue;
    if (!Contains(T->Rect, Screen) || !WindowTakesPoint(*this, T, Screen)) continue;
    Window* Hit = T;
    for (bool Deeper = true; Deeper;) {
      Deeper = false;
      const POINT CO = ClientOrigin(Hit);
      const POINT Local{Screen.X - CO.X, Screen.Y - CO.Y};
      for (Window* C : Hit->Children) {
        if (!(C->Style & WS_VISIBLE) || (C->Style & WS_DISABLED)) continue;
        if (Contains(C->Rect, Local) && WindowTakesPoint(*this, C, Screen)) {
          Hit = C;
          Deeper = true;
          break;
        }
      }
    }
    return Hit;
  }
  return nullptr;
}

}  // namespace vantrel::win

using vantrel::win::Window;
using vantrel::win::WindowManager;

namespace {

}  // namespace

BOOL SetWindowPos(HWND Wnd, HWND InsertAfter, int X, int Y, int CX, int CY, UINT Flags) {
  WindowManager* M;
  Window* W = WindowManager::Lookup(Wnd, &M);
  return W && M->SetPos(W, InsertAfter, X, Y, CX, CY, Flags) ? TRUE : FALSE;
}

BOOL MoveWindow(HWND Wnd, int X, int Y, int Width, int Height, BOOL Repaint) {
  return SetWindowPos(Wnd, nullptr, X, Y, Width, Height,
                      SWP_NOZORDER | SWP_NOACTIVATE | (Repaint ? 0 : SWP_NOREDRAW));
}

BOOL BringWindowToTop(HWND Wnd) { return SetWindowPos(Wnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE); }

BOOL ShowWindow(HWND Wnd, int Cmd) {
  WindowManager* M;
  Window* W = WindowManager::Lookup(Wnd, &M);
  return W && M->Show(W, Cmd) ? TRUE : FALSE;
}

BOOL IsIconic(HWND Wnd) {
  Window* W = WindowManager::Lookup(Wnd);
  return W && (W->Style & WS_MINIMIZE) ? TRUE : FALSE;
}

BOOL IsZoomed(HWND Wnd) {
  Window* W = WindowManager::Lookup(Wnd);
  return W && (W->Style & WS_MAXIMIZE) ? TRUE : FALSE;
}

BOOL GetWindowRect(HWND Wnd, LPRECT Rect) {
  WindowManager* M;
  Window* W = WindowManager::Lookup(Wnd, &M);
  if (!W || !Rect) return FALSE;
  const POINT O = M->WindowOrigin(W);
  *Rect = {O.X, O.Y, O.X + W->Width(), O.Y + W->Height()};
  return TRUE;
}

BOOL GetClientRect(HWND Wnd, LPRECT Rect) {
  Window* W = WindowManager::Lookup(Wnd);
  if (!W || !Rect) return FALSE;
  *Rect = {0, 0, W->ClientRect.Right - W->ClientRect.Left, W->ClientRect.Bottom - W->ClientRect.Top};
  return TRUE;
}

BOOL ClientToScreen(HWND Wnd, LPPOINT Point) {
  WindowManager* M;
  Window* W = WindowManager::Lookup(Wnd, &M);
  if (!W || !Point) return FALSE;
  const POINT O = M->ClientOrigin(W);
  Point->X += O.X;
  Point->Y += O.Y;
  return TRUE;
}

BOOL ScreenToClient(HWND Wnd, LPPOINT Point) {
  WindowManager* M;
  Window* W = WindowManager::Lookup(Wnd, &M);
  if (!W || !Point) return FALSE;
  const POINT O = M->ClientOrigin(W);
  Point->X -= O.X;
  Point->Y -= O.Y;
  return TRUE;
}

int MapWindowPoints(HWND From, HWND To, LPPOINT Points, UINT Count) {
  WindowManager* M = WindowManager::Instance();
  if (!M) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  POINT A{0, 0}, B{0, 0};
  if (From) {
    Window* W = M->FindOrFail(From);
    if (!W) return 0;
    A = M->ClientOrigin(W);
  }
  if (To) {
    Window* W = M->FindOrFail(To);
    if (!W) return 0;
    B = M->ClientOrigin(W);
  }
  const int DX = A.X - B.X, DY = A.Y - B.Y;
  for (UINT I = 0; Points && I < Count; ++I) {
    Points[I].X += DX;
    Points[I].Y += DY;
  }
  SetLastError(0);
  return MAKELONG(static_cast<WORD>(DX), static_cast<WORD>(DY));
}

int MapWindowRect(HWND From, HWND To, LPRECT Rect) {
  POINT Corners[2]{};
  if (Rect) {
    Corners[0] = {Rect->Left, Rect->Top};
    Corners[1] = {Rect->Right, Rect->Bottom};
  }
  const int Offset = MapWindowPoints(From, To, Rect ? Corners : nullptr, Rect ? 2 : 0);
  if (Rect) {
    Rect->Left = Corners[0].X;
    Rect->Top = Corners[0].Y;
    Rect->Right = Corners[1].X;
    Rect->Bottom = Corners[1].Y;
  }
  return Offset;
}

HWND WindowFromPoint(POINT Point) {
  WindowManager* M = WindowManager::Instance();
  // Where the pointer is over another program's window, none of ours is under it.
  if (M && M->Input().PointerOutside()) {
    POINT C{};
    GetCursorPos(&C);
    if (C.X == Point.X && C.Y == Point.Y) return nullptr;
  }
  Window* W = M ? M->WindowAt(Point) : nullptr;
  return W ? W->Handle : nullptr;
}

HWND ChildWindowFromPoint(HWND Parent, POINT Point) {
  Window* P = WindowManager::Lookup(Parent);
  if (!P) return nullptr;
  const RECT C{0, 0, P->ClientRect.Right - P->ClientRect.Left, P->ClientRect.Bottom - P->ClientRect.Top};
  if (!(Point.X >= C.Left && Point.X < C.Right && Point.Y >= C.Top && Point.Y < C.Bottom)) return nullptr;
  for (Window* Ch : P->Children)
    if (Point.X >= Ch->Rect.Left && Point.X < Ch->Rect.Right && Point.Y >= Ch->Rect.Top && Point.Y < Ch->Rect.Bottom)
      return Ch->Handle;
  return Parent;
}

HWND GetParent(HWND Wnd) {
  Window* W = WindowManager::Lookup(Wnd);
  if (!W) return nullptr;
  if (W->Parent) return W->Parent->Handle;
  return (W->Style & WS_POPUP) ? W->Owner : nullptr;
}

HWND SetParent(HWND Child, HWND NewParent) {
  WindowManager* M;
  Window* W = WindowManager::Lookup(Child, &M);
  if (!W) return nullptr;
  Window* P = nullptr;
  if (NewParent) {
    P = M->FindOrFail(NewParent);
    if (!P) return nullptr;
    for (Window* A = P; A; A = A->Parent)
      if (A == W) {  // would make a cycle
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
      }
  }
  Window* Old = W->Parent;
  if (Old != P) M->SetParentOf(W, P);
  return Old ? Old->Handle : nullptr;
}

HWND GetAncestor(HWND Wnd, UINT Flags) {
  WindowManager* M;
  Window* W = WindowManager::Lookup(Wnd, &M);
  if (!W) return nullptr;
  switch (Flags) {
    case GA_PARENT: return W->Parent ? W->Parent->Handle : nullptr;
    case GA_ROOT:
      while (W->Parent) W = W->Parent;
      return W->Handle;
    case GA_ROOTOWNER:
      for (;;) {
        while (W->Parent) W = W->Parent;
        Window* O = W->Owner ? M->Find(W->Owner) : nullptr;
        if (!O) return W->Handle;
        W = O;
      }
    default: SetLastError(ERROR_INVALID_PARAMETER); return nullptr;
  }
}

HWND GetWindow(HWND Wnd, UINT Cmd) {
  WindowManager* M;
  Window* W = WindowManager::Lookup(Wnd, &M);
  if (!W) return nullptr;
  auto& Sib = M->SiblingList(W);
  auto It = std::find(Sib.begin(), Sib.end(), W);
  switch (Cmd) {
    case GW_HWNDFIRST: return Sib.empty() ? nullptr : Sib.front()->Handle;
    case GW_HWNDLAST: return Sib.empty() ? nullptr : Sib.back()->Handle;
    case GW_HWNDNEXT: return It != Sib.end() && It + 1 != Sib.end() ? (*(It + 1))->Handle : nullptr;
    case GW_HWNDPREV: return It != Sib.end() && It != Sib.begin() ? (*(It - 1))->Handle : nullptr;
    case GW_OWNER: return W->Owner;
    case GW_CHILD: return W->Children.empty() ? nullptr : W->Children.front()->Handle;
    case GW_ENABLEDPOPUP: return nullptr;
    default: SetLastError(ERROR_INVALID_PARAMETER); return nullptr;
  }
}

HWND GetTopWindow(HWND Wnd) {
  WindowManager* M = WindowManager::Instance();
  if (!M) return nullptr;
  if (!Wnd) return M->TopLevels().empty() ? nullptr : M->TopLevels().front()->Handle;
  return GetWindow(Wnd, GW_CHILD);
}

BOOL IsChild(HWND Parent, HWND Wnd) {
  Window* W = WindowManager::Lookup(Wnd);
  if (!W) return FALSE;
  for (Window* A = W->Parent; A; A = A->Parent)
    if (A->Handle == Parent) return TRUE;
  return FALSE;
}

BOOL IsWindowVisible(HWND Wnd) {
  WindowManager* M;
  Window* W = WindowManager::Lookup(Wnd, &M);
  return W && M->IsVisible(W) ? TRUE : FALSE;
}
