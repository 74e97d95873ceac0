// Painting of the control bases: a windowed control's WM_PAINT paints the window's own
// content and then its windowless children; a control can also paint itself into a
// foreign DC (csPaintCopy). TCustomControl and TGraphicControl paint through a canvas.
#include <vector>

#include "platform/ui/Controls.h"
#include "platform/ui/Controls_WinApi.h"

using vantrel::win::SavedDC;

namespace {

// Moves the DC's logical origin so that (0, 0) lands at (DX, DY) of the current one.
void MoveWindowOrg(HDC DC, int DX, int DY) {
  POINT P{};
  GetWindowOrgEx(DC, &P);
  SetWindowOrgEx(DC, P.X - DX, P.Y - DY, nullptr);
}

// Ends a paint begun with BeginPaint on every path, so a handler that throws still
// validates its update region.
class PaintScope {
 public:
  PaintScope(HWND Wnd, HDC& DC) : FWnd(Wnd) {
    if (!DC) {
      DC = BeginPaint(Wnd, &FPaint);
      FBegun = true;
    }
  }
  ~PaintScope() {
    if (FBegun) EndPaint(FWnd, &FPaint);
  }
  PaintScope(const PaintScope&) = delete;
  PaintScope& operator=(const PaintScope&) = delete;

 private:
  HWND FWnd;
  PAINTSTRUCT FPaint{};
  bool FBegun = false;
};

// Sets a control-state flag for a scope and clears it again on every path.
class StateFlag {
 public:
  StateFlag(TControl* Control, TControlStateItem Item, bool Set = true)
      : FControl(Control), FItem(Item), FSet(Set) {
    if (FSet) FControl->ControlState.Include(FItem);
  }
  ~StateFlag() {
    if (FSet) FControl->ControlState.Exclude(FItem);
  }
  StateFlag(const StateFlag&) = delete;
  StateFlag& operator=(const StateFlag&) = delete;

 private:
  TControl* FControl;
  TControlStateItem FItem;
  bool FSet;
};

// Lends a paint DC to a canvas for a scope.
class CanvasOnDC {
 public:
  CanvasOnDC(TControlCanvas* Canvas, HDC DC) : FCanvas(Canvas) {
    FCanvas->Lock();
    FCanvas->FreeHandle();
    FCanvas->SetHandle(DC);
  }
  ~CanvasOnDC() {
    FCanvas->SetHandle(nullptr);
    FCanvas->Unlock();
  }
  CanvasOnDC(const CanvasOnDC&) = delete;
  CanvasOnDC& operator=(const CanvasOnDC&) = delete;

 private:
  TControlCanvas* FCanvas;
};

}  // namespace

// --- TWinControl ---------------------------------------------------------------------------

void TWinControl::WMPaint(TWMPaint& Message) { PaintHandler(Message); }

void TWinControl::PaintHandler(TWMPaint& Message) {
  HDC DC = Message.DC();
  if (!DC && !FHandle) return;
  PaintScope Scope(FHandle, DC);
  if (!DC) return;
  if (FControls.empty()) {
    PaintWindow(DC);
    return;
  }
  {
    SavedDC Saved(DC);
    // Opaque windowless children cover their area; the window's own painting skips it.
    for (TControl* C : FControls)
      if (C->Visible() && C->ControlStyle.Contains(csOpaque))
        ExcludeClipRect(DC, C->Left(), C->Top(), C->Left() + C->Width(), C->Top() + C->Height());
    PaintWindow(DC);
  }
  PaintControls(DC, nullptr);
}

void TWinControl::PaintWindow(HDC DC) {
  TMessage Message{WM_PAINT, reinterpret_cast<WPARAM>(DC), 0, 0};
  DefaultHandler(Message);
}

void TWinControl::PaintControls(HDC DC, TControl* First) {
  const std::vector<TControl*> List(FControls);
  size_t I = 0;
  if (First)
    for (size_t J = 0; J < List.size(); ++J)
      if (List[J] == First) I = J;
  for (; I < List.size(); ++I) {
    TControl* C = List[I];
    if (C->FParent != this || !C->Visible()) continue;
    const RECT R = C->BoundsRect();
    if (!RectVisible(DC, &R)) continue;
    StateFlag Copy(C, csPaintCopy, ControlState.Contains(csPaintCopy));
    SavedDC Saved(DC);
    MoveWindowOrg(DC, C->Left(), C->Top());
    IntersectClipRect(DC, 0, 0, C->Width(), C->Height());
    C->Perform(WM_PAINT, reinterpret_cast<WPARAM>(DC), 0);
  }
}

void TWinControl::PaintTo(HDC DC, Integer X, Integer Y) {
  StateFlag Copy(this, csPaintCopy);
  // The client area starts inside the frame of a window that has one.
  POINT ClientOffset{0, 0};
  if (FHandle) {
    RECT W{};
    POINT C{0, 0};
    GetWindowRect(FHandle, &W);
    ::ClientToScreen(FHandle, &C);
    ClientOffset = {C.X - W.Left, C.Y - W.Top};
  }
  const TRect Client = ClientRect();
  {
    SavedDC Saved(DC);
    MoveWindowOrg(DC, X + ClientOffset.X, Y + ClientOffset.Y);
    IntersectClipRect(DC, 0, 0, Client.Right - Client.Left, Client.Bottom - Client.Top);
    Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(DC), 0);
    Perform(WM_PAINT, reinterpret_cast<WPARAM>(DC), 0);
  }
  // Windowed children, bottom of the z-order first.
  std::vector<TWinControl*> Children;
  if (FHandle) {
    for (HWND H = GetWindow(FHandle, GW_CHILD); H; H = GetWindow(H, GW_HWNDNEXT))
      if (TWinControl* C = FindControl(H); C && C->FParent == this) Children.insert(Children.begin(), C);
  } else {
    for (TControl* C : FWinControls) Children.push_back(static_cast<TWinControl*>(C));
  }
  for (TWinControl* C : Children) {
    if (!C->Visible()) continue;
    SavedDC Saved(DC);
    MoveWindowOrg(DC, X + ClientOffset.X, Y + ClientOffset.Y);
    IntersectClipRect(DC, 0, 0, Client.Right - Client.Left, Client.Bottom - Client.Top);
    C->PaintTo(DC, C->Left(), C->Top());
  }
}

// --- TControlCanvas ------------------------------------------------------------------------

TControlCanvas::~TControlCanvas() { FreeHandle(); }

void TControlCanvas::SetControl(TControl* Value) {
  if (FControl == Value) return;
  FreeHandle();
  FControl = Value;
}

void TControlCanvas::CreateHandle() {
  if (!FControl || FDeviceContext) return;
  if (auto* Windowed = dynamic_cast<TWinControl*>(FControl)) {
    FWindowHandle = Windowed->Handle();
    FDeviceContext = GetDC(FWindowHandle);
  } else {
    TWinControl* Parent = FControl->Parent();
    if (!Parent) return;
    FWindowHandle = Parent->Handle();
    FDeviceContext = GetDC(FWindowHandle);
    if (!FDeviceContext) return;
    SetWindowOrgEx(FDeviceContext, -FControl->Left(), -FControl->Top(), nullptr);
    IntersectClipRect(FDeviceContext, 0, 0, FControl->Width(), FControl->Height());
  }
  if (FDeviceContext) SetHandle(FDeviceContext);
}

void TControlCanvas::FreeHandle() {
  if (!FDeviceContext) return;
  SetHandle(nullptr);
  // The window may be gone already; the DC must go all the same.
  if (!ReleaseDC(FWindowHandle, FDeviceContext)) DeleteDC(FDeviceContext);
  FDeviceContext = nullptr;
  FWindowHandle = nullptr;
}

// --- TCustomControl ------------------------------------------------------------------------

TCustomControl::TCustomControl(TComponent* AOwner)
    : TWinControl(AOwner), FCanvas(std::make_unique<TControlCanvas>()) {
  FCanvas->SetControl(this);
}

TCustomControl::~TCustomControl() { FCanvas->SetControl(nullptr); }

void TCustomControl::WMPaint(TWMPaint& Message) {
  StateFlag Custom(this, csCustomPaint);
  TWinControl::WMPaint(Message);
}

void TCustomControl::PaintWindow(HDC DC) {
  CanvasOnDC Lend(FCanvas.get(), DC);
  Paint();
}

// --- TGraphicControl -----------------------------------------------------------------------

TGraphicControl::TGraphicControl(TComponent* AOwner)
    : TControl(AOwner), FCanvas(std::make_unique<TControlCanvas>()) {
  FCanvas->SetControl(this);
}

TGraphicControl::~TGraphicControl() { FCanvas->SetControl(nullptr); }

void TGraphicControl::Dispatch(TMessage& Message) {
  if (Message.Msg == WM_PAINT) {
    TWMPaint M(Message);
    WMPaint(M);
    return;
  }
  TControl::Dispatch(Message);
}

void TGraphicControl::WMPaint(TWMPaint& Message) {
  if (!Message.DC()) return;
  CanvasOnDC Lend(FCanvas.get(), Message.DC());
  Paint();
}
