// TWinControl: the window behind a control (created lazily through CreateParams ->
// CreateWnd -> CreateWindowHandle, destroyed and re-created keeping text, bounds and
// children), the thunk from the window procedure to WindowProc, the child lists and the
// notifications a parent hands back to its children.
#include <algorithm>

#include "platform/rtl/Format.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Controls_WinApi.h"

namespace {

// The control whose window is being created: the class procedure hands the window to it
// on the window's first message. GUI thread only; set for the span of CreateWindowHandle.
TWinControl* CreationControl = nullptr;

}  // namespace

// The procedure of every window class this library registers: the first message of a new
// window installs the creating control's own procedure, which takes this and every later
// message.
LRESULT InitControlWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  TWinControl* Control = CreationControl;
  if (!Control) return DefWindowProc(Wnd, Msg, WParam, LParam);
  CreationControl = nullptr;
  Control->FHandle = Wnd;
  vantrel::ui::detail::RegisterWindow(Wnd, Control);
  SetWindowLongPtr(Wnd, GWL_WNDPROC, WndProcToLong(Control->FObjectInstance));
  return CallWindowProc(Control->FObjectInstance, Wnd, Msg, WParam, LParam);
}

namespace {

WNDPROC InitProc() { return MakeWndProc(&InitControlWndProc); }
WNDPROC DefProc() { return MakeWndProc(&DefWindowProc); }

}  // namespace

TWinControl::TWinControl(TComponent* AOwner) : TControl(AOwner), FBrush(std::make_unique<TBrush>()) {
  FObjectInstance = MakeObjectInstance([this](TMessage& Message) { MainWndProc(Message); });
  FBrush->SetColor(Color());
}

TWinControl::~TWinControl() {
  // Deleted without Free: leave the parent's lists and the focus bookkeeping here, where
  // the control is still known to be windowed.
  if (FParent) {
    TWinControl* Root = FParent;
    while (Root->FParent) Root = Root->FParent;
    const auto Inside = [this](TWinControl* C) {
      for (; C; C = C->FParent)
        if (C == this) return true;
      return false;
    };
    if (Inside(Root->FActiveControl)) Root->FActiveControl = nullptr;
    if (Inside(Root->FFocusedControl)) Root->FFocusedControl = FParent;
    auto& Siblings = FParent->FWinControls;
    Siblings.erase(std::remove(Siblings.begin(), Siblings.end(), this), Siblings.end());
    auto& Tabs = FParent->FTabList;
    Tabs.erase(std::remove(Tabs.begin(), Tabs.end(), this), Tabs.end());
    FParent = nullptr;
  }
  if (FHandle && IsWindow(FHandle)) {
    // The window must not reach a half-destroyed object, so it goes without telling it.
    SetWindowLongPtr(FHandle, GWL_WNDPROC, WndProcToLong(DefProc()));
    vantrel::ui::detail::UnregisterWindow(FHandle);
    DestroyWindow(FHandle);
  }
  FHandle = nullptr;
  for (TControl* C : FControls) C->FParent = nullptr;
  for (TControl* C : FWinControls) C->FParent = nullptr;
  try {
    FreeObjectInstance(FObjectInstance);
  } catch (...) {  // still installed somewhere: a programming error already reported
  }
}

void TWinControl::BeforeDestruction() {
  Destroying();
  vantrel::ui::detail::ControlGone(this);
  // The focus leaves while the window can still hear of it.
  if (FParent) RemoveFocus(true);
  if (FHandle) DestroyWindowHandle();
  // The children go with their parent, topmost first.
  while (ControlCount() > 0) {
    TControl* Child = Controls(ControlCount() - 1);
    RemoveControl(Child);
    Child->Free();
  }
  TControl::BeforeDestruction();
}

// --- The window ----------------------------------------------------------------------------

HWND TWinControl::Handle() {
  HandleNeeded();
  return FHandle;
}

void TWinControl::ShowControl(TControl*) {
  if (Parent()) Parent()->ShowControl(this);
}

void TWinControl::ScrollBy(Integer DeltaX, Integer DeltaY) {
  if (DeltaX == 0 && DeltaY == 0) return;
  for (Integer I = 0; I < ControlCount(); ++I) {
    TControl* C = Controls(I);
    C->SetBounds(C->Left() + DeltaX, C->Top() + DeltaY, C->Width(), C->Height());
  }
  Invalidate();
}

void TWinControl::HandleNeeded() {
  if (FHandle) return;
  if (FParent) FParent->HandleNeeded();
  CreateHandle();
}

void TWinControl::SetParentWindow(HWND Value) {
  if (FParent || FParentWindow == Value) return;
  if (FHandle && Value)
    ::SetParent(FHandle, Value);
  else if (FHandle)
    DestroyHandle();
  FParentWindow = Value;
  UpdateControlState();
}

void TWinControl::CreateParams(TCreateParams& Params) {
  Params = TCreateParams{};
  Params.Caption = FText;
  Params.Style = WS_CHILD | WS_CLIPSIBLINGS;
  if (ControlStyle.Contains(csAcceptsControls)) {
    Params.Style |= WS_CLIPCHILDREN;
    Params.ExStyle |= WS_EX_CONTROLPARENT;
  }
  if (Visible()) Params.Style |= WS_VISIBLE;
  if (!Enabled()) Params.Style |= WS_DISABLED;
  Params.X = FLeft;
  Params.Y = FTop;
  Params.Width = FWidth;
  Params.Height = FHeight;
  Params.WndParent = FParent ? FParent->Handle() : FParentWindow;
  Params.WindowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
  Params.WindowClass.lpfnWndProc = DefProc();
  Params.WinClassName = ClassName();
}

void TWinControl::CreateSubClass(TCreateParams& Params, const char* ControlClassName) {
  WNDCLASS Native{};
  if (!GetClassInfo(nullptr, ControlClassName, &Native))
    throw EOutOfResources(Format("Error creating window class %s", {String(ControlClassName)}));
  Native.lpszClassName = nullptr;
  Native.lpszMenuName = nullptr;
  Params.WindowClass = Native;
}

void TWinControl::CreateHandle() {
  if (FHandle) return;
  CreateWnd();
  Perform(WM_SETFONT, reinterpret_cast<WPARAM>(Font()->Handle()), 1);
  // Each new window goes below the ones made before it: topmost first keeps the order.
  const std::vector<TControl*> Children(FWinControls.rbegin(), FWinControls.rend());
  for (TControl* C : Children)
    if (C->FParent == this) static_cast<TWinControl*>(C)->UpdateControlState();
  // The client area is now the window's (a frame may take part of it): the anchored
  // children keep their places in it and the aligned ones fill it.
  for (Integer I = 0; I < ControlCount(); ++I) Controls(I)->UpdateAnchorRules();
  Realign();
}

void TWinControl::CreateWnd() {
  TCreateParams Params;
  CreateParams(Params);
  if ((Params.Style & WS_CHILD) && !Params.WndParent)
    throw EInvalidOperation(Format("Control '%s' has no parent window", {Name()}));
  FDefWndProc = Params.WindowClass.lpfnWndProc ? Params.WindowClass.lpfnWndProc : DefProc();
  WNDCLASS Existing{};
  const bool Registered = GetClassInfo(Params.WindowClass.hInstance, Params.WinClassName.c_str(), &Existing);
  if (!Registered || Existing.lpfnWndProc != InitProc()) {
    if (Registered) UnregisterClass(Params.WinClassName.c_str(), Params.WindowClass.hInstance);
    WNDCLASS Class = Params.WindowClass;
    Class.lpfnWndProc = InitProc();
    Class.lpszClassName = Params.WinClassName.c_str();
    if (!RegisterClass(&Class))
      throw EOutOfResources(Format("Error creating window class %s", {Params.WinClassName}));
  }
  CreationControl = this;
  try {
    CreateWindowHandle(Params);
  } catch (...) {
    CreationControl = nullptr;
    throw;
  }
  CreationControl = nullptr;
  if (!FHandle) throw EOutOfResources(Format("Error creating window for control '%s'", {Name()}));
}

void TWinControl::CreateWindowHandle(const TCreateParams& Params) {
  const HWND Made = CreateWindowEx(Params.ExStyle, Params.WinClassName.c_str(), Params.Caption.c_str(),
                                   Params.Style, Params.X, Params.Y, Params.Width, Params.Height,
                                   Params.WndParent, nullptr, Params.WindowClass.hInstance, Params.Param);
  if (!Made && FHandle && !IsWindow(FHandle)) FHandle = nullptr;
}

void TWinControl::DestroyHandle() {
  if (!FHandle) return;
  for (TControl* C : std::vector<TControl*>(FWinControls)) static_cast<TWinControl*>(C)->DestroyHandle();
  DestroyWnd();
}

void TWinControl::DestroyWnd() {
  ReadWindowText();
  DestroyWindowHandle();
}

void TWinControl::DestroyWindowHandle() {
  ControlState.Include(csDestroyingHandle);
  try {
    DestroyWindow(FHandle);
  } catch (...) {
    ControlState.Exclude(csDestroyingHandle);
    if (FHandle && !IsWindow(FHandle)) FHandle = nullptr;
    throw;
  }
  ControlState.Exclude(csDestroyingHandle);
  if (FHandle && !IsWindow(FHandle)) {
    vantrel::ui::detail::UnregisterWindow(FHandle);
    FHandle = nullptr;
  }
}

void TWinControl::RecreateWnd() {
  if (!FHandle) return;
  ControlState.Include(csRecreating);
  try {
    DestroyHandle();
    HandleNeeded();
  } catch (...) {
    ControlState.Exclude(csRecreating);
    throw;
  }
  ControlState.Exclude(csRecreating);
}

void TWinControl::UpdateControlState() {
  if (FHandle || !Visible() || ComponentState().Contains(csDestroying)) return;
  if (FParent ? FParent->HandleAllocated() : FParentWindow != nullptr) CreateHandle();
}

void TWinControl::ReadWindowText() {
  if (FHandle) FText = GetWindowText(FHandle);
}

TWinControl* TWinControl::FindControl(HWND Handle) {
  return Handle ? vantrel::ui::detail::ControlOfWindow(Handle) : nullptr;
}

// --- Children ------------------------------------------------------------------------------

Integer TWinControl::ControlCount() const {
  return static_cast<Integer>(FControls.size() + FWinControls.size());
}

TControl* TWinControl::Controls(Integer Index) const {
  if (Index < 0 || Index >= ControlCount())
    throw EListError(Format("List index out of bounds (%d)", {Index}));
  const size_t I = static_cast<size_t>(Index);
  return I < FControls.size() ? FControls[I] : FWinControls[I - FControls.size()];
}

void TWinControl::InsertControl(TControl* AControl) {
  if (!AControl || AControl->FParent == this) return;
  for (TWinControl* P = this; P; P = P->FParent)
    if (P == AControl) throw EInvalidOperation("A control cannot be placed inside itself");
  auto* Windowed = dynamic_cast<TWinControl*>(AControl);
  // A new window goes below its siblings, a new windowless control above the others.
  if (Windowed)
    FWinControls.insert(FWinControls.begin(), AControl);
  else
    FControls.push_back(AControl);
  AControl->FParent = this;
  if (Windowed) FTabList.push_back(Windowed);
  AControl->Perform(CM_PARENTCOLORCHANGED, 0, 0);
  AControl->Perform(CM_PARENTFONTCHANGED, 0, 0);
  AControl->Perform(CM_PARENTSHOWHINTCHANGED, 0, 0);
  if (Windowed) {
    if (Windowed->FHandle && FHandle)
      ::SetParent(Windowed->FHandle, FHandle);
    else if (Windowed->FHandle)
      Windowed->DestroyHandle();
    Windowed->UpdateControlState();
  } else {
    AControl->Invalidate();
  }
  if (AControl->FAlign != alNone || AutoSize()) Realign();
}

void TWinControl::RemoveControl(TControl* AControl) {
  if (!AControl || AControl->FParent != this) return;
  auto* Windowed = dynamic_cast<TWinControl*>(AControl);
  if (Windowed) {
    Windowed->RemoveFocus(true);
    if (Windowed->FHandle && !Windowed->ComponentState().Contains(csDestroying)) Windowed->DestroyHandle();
    FTabList.erase(std::remove(FTabList.begin(), FTabList.end(), Windowed), FTabList.end());
  } else {
    AControl->Invalidate();
  }
  auto& List = Windowed ? FWinControls : FControls;
  List.erase(std::remove(List.begin(), List.end(), AControl), List.end());
  AControl->FParent = nullptr;
  if (AControl->FAlign != alNone || AutoSize()) Realign();
}

// The control itself counts as contained.
Boolean TWinControl::ContainsControl(TControl* Control) const {
  if (Control == this) return true;
  for (TWinControl* P = Control ? Control->FParent : nullptr; P; P = P->FParent)
    if (P == this) return true;
  return false;
}

TControl* TWinControl::ControlAtPos(const TPoint& Pos, Boolean AllowDisabled, Boolean AllowWinControls) {
  auto Hit = [&](TControl* C) {
    const TRect R = C->BoundsRect();
    return C->Visible() && (C->Enabled() || AllowDisabled) && PtInRect(&R, Pos);
  };
  if (AllowWinControls)
    for (auto It = FWinControls.rbegin(); It != FWinControls.rend(); ++It)
      if (Hit(*It)) return *It;
  for (auto It = FControls.rbegin(); It != FControls.rend(); ++It)
    if (Hit(*It)) return *It;
  return nullptr;
}

void TWinControl::Broadcast(TMessage& Message) {
  for (Integer I = 0; I < ControlCount(); ++I) {
    Controls(I)->WindowProc(Message);
    if (Message.Result != 0) return;
  }
}

void TWinControl::NotifyControls(UINT Msg) {
  TMessage Message{Msg, 0, 0, 0};
  Broadcast(Message);
}

// --- Geometry ------------------------------------------------------------------------------

TRect TWinControl::ClientRect() {
  if (!FHandle) return TControl::ClientRect();
  RECT R{};
  GetClientRect(FHandle, &R);
  return R;
}

TPoint TWinControl::ClientOrigin() {
  if (FHandle) {
    POINT P{0, 0};
    ::ClientToScreen(FHandle, &P);
    return P;
  }
  if (!FParent) return {FLeft, FTop};
  return TControl::ClientOrigin();
}

void TWinControl::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) {
  if (!CheckNewSize(AWidth, AHeight)) return;
  if (ALeft == FLeft && ATop == FTop && AWidth == FWidth && AHeight == FHeight) return;
  if (!FHandle) {
    const bool Sized = AWidth != FWidth || AHeight != FHeight;
    FLeft = ALeft;
    FTop = ATop;
    FWidth = AWidth;
    FHeight = AHeight;
    if (Sized) Realign();
    UpdateAnchorRules();
    RequestAlign();
    if (Sized) Resize();
    return;
  }
  // WM_WINDOWPOSCHANGED brings the fields in step with what the window became.
  SetWindowPos(FHandle, nullptr, ALeft, ATop, AWidth, AHeight, SWP_NOZORDER | SWP_NOACTIVATE);
  RequestAlign();
}

void TWinControl::SetClientSize(Integer AWidth, Integer AHeight) {
  const TRect C = ClientRect();
  SetBounds(FLeft, FTop, FWidth - (C.Right - C.Left) + AWidth, FHeight - (C.Bottom - C.Top) + AHeight);
}

void TWinControl::UpdateBounds() {
  RECT R{};
  if (!GetWindowRect(FHandle, &R)) return;
  const HWND ParentWnd = GetParent(FHandle);
  if (ParentWnd && (GetWindowLong(FHandle, GWL_STYLE) & WS_CHILD))
    MapWindowRect(nullptr, ParentWnd, &R);
  const bool Sized = R.Right - R.Left != FWidth || R.Bottom - R.Top != FHeight;
  FLeft = R.Left;
  FTop = R.Top;
  FWidth = R.Right - R.Left;
  FHeight = R.Bottom - R.Top;
  UpdateAnchorRules();
  if (Sized) {
    Realign();
    Resize();
  }
}

void TWinControl::SetZOrder(Boolean TopMost) {
  if (FParent) {
    auto& List = FParent->FWinControls;
    const auto It = std::find(List.begin(), List.end(), this);
    if (It != List.end()) {
      List.erase(It);
      if (TopMost)
        List.push_back(this);
      else
        List.insert(List.begin(), this);
    }
  }
  if (FHandle)
    SetWindowPos(FHandle, TopMost ? HWND_TOP : HWND_BOTTOM, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

// --- Painting ------------------------------------------------------------------------------

void TWinControl::Invalidate() {
  if (FHandle) InvalidateRect(FHandle, nullptr, ControlStyle.Contains(csOpaque) ? FALSE : TRUE);
}

void TWinControl::Update() {
  if (FHandle) UpdateWindow(FHandle);
}

void TWinControl::Repaint() {
  Invalidate();
  Update();
}


// --- Messages ------------------------------------------------------------------------------

void TWinControl::MainWndProc(TMessage& Message) {
  try {
    WindowProc(Message);
  } catch (...) {
    ApplicationHandleException(this);
  }
}

void TWinControl::WndProc(TMessage& Message) {
  if (Message.Msg >= WM_MOUSEFIRST && Message.Msg <= WM_MOUSELAST && Message.Msg != WM_MOUSEWHEEL &&
      Message.Msg != WM_MOUSEHWHEEL) {
    TWMMouse Mouse(Message);
    if (FHandle) vantrel::ui::detail::TrackMouse(FHandle, Mouse.Pos());
    if (IsControlMouseMsg(Mouse)) {
      if (Message.Result == 0 && FHandle)
        Message.Result = DefWindowProc(FHandle, Message.Msg, Message.WParam, Message.LParam);
      return;
    }
  } else if (Message.Msg == WM_SETFOCUS) {
    // The top-level control hears of the focus before the control's own handler runs.
    TWinControl* Root = TopLevelControl(this);
    if (Root == this && FActiveControl && FActiveControl != this && FActiveControl->CanFocus()) {
      // Activation gave the top-level window the focus: it goes on to the active control.
      ::SetFocus(FActiveControl->Handle());
      return;
    }
    if (Root && !Root->SetFocusedControl(this)) return;
  } else if (Message.Msg == WM_KILLFOCUS) {
    if (ControlState.Contains(csFocusing)) return;
  }
  TControl::WndProc(Message);
}

// A mouse message over (or captured by) a windowless child goes to that child, in its
// own coordinates.
Boolean TWinControl::IsControlMouseMsg(TWMMouse& Message) {
  TControl* Control = nullptr;
  if (FHandle && GetCapture() == FHandle) {
    TControl* Captured = GetCaptureControl();
    if (Captured && Captured != this && Captured->FParent == this) Control = Captured;
  } else {
    Control = ControlAtPos(Message.Pos(), false);
  }
  if (!Control || dynamic_cast<TWinControl*>(Control)) return false;
  Message.Result() = Control->Perform(Message.Msg(), Message.M.WParam,
                                      PointToLParam(Message.XPos() - Control->Left(),
                                                    Message.YPos() - Control->Top()));
  return true;
}

void TWinControl::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_PAINT: { TWMPaint M(Message); WMPaint(M); return; }
    case WM_ERASEBKGND: { TWMEraseBkgnd M(Message); WMEraseBkgnd(M); return; }
    case WM_WINDOWPOSCHANGED: { TWMWindowPosChanged M(Message); WMWindowPosChanged(M); return; }
    case WM_WINDOWPOSCHANGING: { TWMWindowPosChanging M(Message); WMWindowPosChanging(M); return; }
    case WM_COMMAND: { TWMCommand M(Message); WMCommand(M); return; }
    case WM_NOTIFY: { TWMNotify M(Message); WMNotify(M); return; }
    case WM_DRAWITEM: { TWMDrawItem M(Message); WMDrawItem(M); return; }
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC: { TWMCtlColor M(Message); WMCtlColor(M); return; }
    case WM_HSCROLL:
    case WM_VSCROLL: { TWMScroll M(Message); WMScroll(M); return; }
    case WM_DESTROY: { TWMNoParams M(Message); WMDestroy(M); return; }
    case WM_NCDESTROY: { TWMNoParams M(Message); WMNCDestroy(M); return; }
    case WM_SETTEXT: { TWMSetText M(Message); WMSetText(M); return; }
    case CN_CTLCOLORMSGBOX:
    case CN_CTLCOLOREDIT:
    case CN_CTLCOLORLISTBOX:
    case CN_CTLCOLORBTN:
    case CN_CTLCOLORDLG:
    case CN_CTLCOLORSCROLLBAR:
    case CN_CTLCOLORSTATIC: { TWMCtlColor M(Message); CNCtlColor(M); return; }
    case CM_SHOWHINTCHANGED: { TWMNoParams M(Message); CMShowHintChanged(M); return; }
    case WM_KEYDOWN: { TWMKey M(Message); WMKeyDown(M); return; }
    case WM_KEYUP: { TWMKey M(Message); WMKeyUp(M); return; }
    case WM_CHAR: { TWMKey M(Message); WMChar(M); return; }
    case WM_SYSKEYDOWN: { TWMKey M(Message); WMSysKeyDown(M); return; }
    case WM_SYSKEYUP: { TWMKey M(Message); WMSysKeyUp(M); return; }
    case WM_GETDLGCODE: { TWMNoParams M(Message); WMGetDlgCode(M); return; }
    case WM_SETFOCUS: { TWMSetFocus M(Message); WMSetFocus(M); return; }
    case WM_KILLFOCUS: { TWMKillFocus M(Message); WMKillFocus(M); return; }
    case CN_KEYDOWN: { TWMKey M(Message); CNKeyDown(M); return; }
    case CN_CHAR: { TWMKey M(Message); CNChar(M); return; }
    case CN_SYSKEYDOWN: { TWMKey M(Message); CNSysKeyDown(M); return; }
    case CN_SYSCHAR: { TWMKey M(Message); CNSysChar(M); return; }
    case CM_ENTER: { TWMNoParams M(Message); CMEnter(M); return; }
    case CM_EXIT: { TWMNoParams M(Message); CMExit(M); return; }
    case CM_WANTSPECIALKEY: { TCMWantSpecialKey M(Message); CMWantSpecialKey(M); return; }
    case CM_CHILDKEY: { TCMChildKey M(Message); CMChildKey(M); return; }
    default: TControl::Dispatch(Message); return;
  }
}

void TWinControl::DefaultHandler(TMessage& Message) {
  if (!FHandle) {
    TControl::DefaultHandler(Message);
    return;
  }
  Message.Result = CallWindowProc(FDefWndProc, FHandle, Message.Msg, Message.WParam, Message.LParam);
}

Boolean TWinControl::DoControlMsg(HWND Child, TMessage& Message) {
  TWinControl* Control = FindControl(Child);
  if (!Control || Control == this) return false;
  Message.Result = Control->Perform(CN_BASE + Message.Msg, Message.WParam, Message.LParam);
  return true;
}

void TWinControl::WMCommand(TWMCommand& Message) {
  if (!DoControlMsg(Message.Ctl(), Message.M)) DefaultHandler(Message.M);
}

void TWinControl::WMNotify(TWMNotify& Message) {
  NMHDR* Hdr = Message.NMHdr();
  if (!Hdr || !DoControlMsg(Hdr->hwndFrom, Message.M)) DefaultHandler(Message.M);
}

void TWinControl::WMDrawItem(TWMDrawItem& Message) {
  DRAWITEMSTRUCT* Item = Message.DrawItemStruct();
  if (!Item || Item->CtlType == ODT_MENU || !DoControlMsg(Item->hwndItem, Message.M)) DefaultHandler(Message.M);
}

void TWinControl::WMCtlColor(TWMCtlColor& Message) {
  if (!DoControlMsg(Message.ChildWnd(), Message.M)) DefaultHandler(Message.M);
}

void TWinControl::WMScroll(TWMScroll& Message) {
  if (!Message.ScrollBar() || !DoControlMsg(Message.ScrollBar(), Message.M)) DefaultHandler(Message.M);
}

void TWinControl::CNCtlColor(TWMCtlColor& Message) {
  const HDC DC = Message.ChildDC();
  SetTextColor(DC, static_cast<COLORREF>(ColorToRGB(Font()->Color())));
  SetBkColor(DC, static_cast<COLORREF>(ColorToRGB(FBrush->Color())));
  Message.Result() = reinterpret_cast<LRESULT>(FBrush->Handle());
}

void TWinControl::WMWindowPosChanged(TWMWindowPosChanged& Message) {
  if (FHandle) UpdateBounds();
  DefaultHandler(Message.M);
}

void TWinControl::WMWindowPosChanging(TWMWindowPosChanging& Message) {
  WINDOWPOS* Pos = Message.WindowPos();
  if (Pos && !(Pos->flags & SWP_NOSIZE) && !ComponentState().Contains(csDestroying)) {
    Integer W = Pos->cx;
    Integer H = Pos->cy;
    if (CheckNewSize(W, H)) {
      Pos->cx = W;
      Pos->cy = H;
    } else {
      Pos->flags |= SWP_NOSIZE;
    }
  }
  DefaultHandler(Message.M);
}

void TWinControl::WMDestroy(TWMNoParams& Message) { DefaultHandler(Message.M); }

void TWinControl::WMNCDestroy(TWMNoParams& Message) {
  DefaultHandler(Message.M);
  if (FHandle) vantrel::ui::detail::UnregisterWindow(FHandle);
  FHandle = nullptr;
}

void TWinControl::WMSetText(TWMSetText& Message) {
  FText = Message.Text() ? Message.Text() : "";
  DefaultHandler(Message.M);
}

void TWinControl::WMEraseBkgnd(TWMEraseBkgnd& Message) {
  const RECT R = ClientRect();
  ::FillRect(Message.DC(), &R, FBrush->Handle());
  Message.Result() = 1;
}

void TWinControl::CMEnabledChanged(TWMNoParams&) {
  if (!Enabled() && FParent) RemoveFocus(false);
  if (FHandle) EnableWindow(FHandle, Enabled() ? TRUE : FALSE);
}

void TWinControl::CMVisibleChanged(TWMNoParams&) {
  if (!Visible() && FParent) RemoveFocus(false);
  if (FHandle)
    ShowWindow(FHandle, Visible() ? SW_SHOWNA : SW_HIDE);
  else
    UpdateControlState();
}

void TWinControl::CMFontChanged(TWMNoParams& Message) {
  TControl::CMFontChanged(Message);
  if (FHandle) Perform(WM_SETFONT, reinterpret_cast<WPARAM>(Font()->Handle()), 0);
  NotifyControls(CM_PARENTFONTCHANGED);
}

void TWinControl::CMColorChanged(TWMNoParams& Message) {
  FBrush->SetColor(Color());
  TControl::CMColorChanged(Message);
  NotifyControls(CM_PARENTCOLORCHANGED);
}

void TWinControl::CMShowHintChanged(TWMNoParams&) { NotifyControls(CM_PARENTSHOWHINTCHANGED); }
