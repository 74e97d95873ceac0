// TCustomForm: the top-level window of a form (styles from BorderStyle, BorderIcons and
// FormStyle; placement by Position on the first show), showing and closing with their
// events, the modal loop, activation, short cuts, the auto popup of context menus and
// the MDI client window.
#include <algorithm>

#include "platform/rtl/Format.h"
#include "platform/ui/Controls_WinApi.h"
#include "platform/ui/Forms.h"
#include "platform/win/Cursor.h"
#include "platform/win/Input.h"
#include "platform/win/Keyboard.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/SysColors.h"
#include "platform/win/SysMetrics.h"

namespace {
constexpr const char* MDIClientClassName = "VantrelMDIClient";
}  // namespace

TCustomForm* GetParentForm(TControl* Control) {
  while (Control && Control->Parent()) Control = Control->Parent();
  return dynamic_cast<TCustomForm*>(Control);
}

TCustomForm::TCustomForm(TComponent* AOwner) : TWinControl(AOwner), FIcon(std::make_unique<TIcon>()) {
  FFormState.Include(fsCreating);
  ControlStyle = {csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
  SetVisible(false);
  SetColor(clBtnFace);
  FWidth = 320;
  FHeight = 240;
  FIcon->OnChange = [this](TObject*) { IconChanged(); };
  if (Screen) Screen->AddForm(this);
}

TCustomForm::~TCustomForm() {
  if (Screen) Screen->RemoveForm(this);
  if (Application && Application->FMainForm == this) Application->FMainForm = nullptr;
}

void TCustomForm::AfterConstruction() {
  TWinControl::AfterConstruction();
  // CreateForm's reference is set before OnCreate runs, so the handler may use it.
  if (Application && Application->FPendingReference && Application->FPendingClass == ClassName()) {
    const TApplication::TReferenceSetter Set = std::move(Application->FPendingReference);
    Application->FPendingReference = nullptr;
    Set(this);
  }
  try {
    DoCreate();
  } catch (...) {
    if (Application)
      Application->HandleException(this);
    else
      ApplicationHandleException(this);
  }
  FFormState.Exclude(fsCreating);
}

void TCustomForm::BeforeDestruction() {
  try {
    if (OnDestroy) OnDestroy(this);
  } catch (...) {
    ApplicationHandleException(this);
  }
  if (Screen) Screen->RemoveForm(this);
  if (Application && Application->FMainForm == this) Application->FMainForm = nullptr;
  TWinControl::BeforeDestruction();
}

void TCustomForm::DoCreate() {
  if (OnCreate) OnCreate(this);
}

void TCustomForm::DoShow() {
  if (OnShow) OnShow(this);
}

void TCustomForm::DoHide() {
  if (OnHide) OnHide(this);
}

void TCustomForm::DoClose(TCloseAction& Action) {
  if (OnClose) OnClose(this, Action);
}

void TCustomForm::Activate() {
  if (OnActivate) OnActivate(this);
}

void TCustomForm::Deactivate() {
  if (OnDeactivate) OnDeactivate(this);
}

// --- Styles ----------------------------------------------------------------------------------

void TCustomForm::SetBorderStyle(TFormBorderStyle Value) {
  if (FBorderStyle == Value) return;
  FBorderStyle = Value;
  RefreshStyles();
}

void TCustomForm::SetBorderIcons(TBorderIcons Value) {
  if (FBorderIcons == Value) return;
  FBorderIcons = Value;
  RefreshStyles();
}

void TCustomForm::SetFormStyle(TFormStyle Value) {
  if (FFormStyle == Value) return;
  const bool WasTopMost = FFormStyle == fsStayOnTop;
  FFormStyle = Value;
  if (HandleAllocated() && (Value == fsMDIChild || Value == fsMDIForm || FClientHandle)) {
    RecreateWnd();
    return;
  }
  if (HandleAllocated() && WasTopMost != (Value == fsStayOnTop))
    SetWindowPos(FHandle, Value == fsStayOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

// A changed frame takes a new window, as the styles decide the non-client area.
void TCustomForm::RefreshStyles() {
  if (HandleAllocated()) RecreateWnd();
}

void TCustomForm::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  Params.Style &= ~(WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_DISABLED);
  Params.Style |= WS_CLIPCHILDREN;
  Params.ExStyle &= ~WS_EX_CONTROLPARENT;
  if (!Enabled()) Params.Style |= WS_DISABLED;
  DWORD Icons = 0;
  if (FBorderIcons.Contains(biSystemMenu)) {
    Icons |= WS_SYSMENU;
    if (FBorderIcons.Contains(biMinimize)) Icons |= WS_MINIMIZEBOX;
    if (FBorderIcons.Contains(biMaximize)) Icons |= WS_MAXIMIZEBOX;
  }
  switch (FBorderStyle) {
    case bsNone:
      Params.Style |= WS_POPUP;
      break;
    case bsSingle:
      Params.Style |= WS_CAPTION | WS_BORDER | Icons;
      break;
    case bsSizeable:
      Params.Style |= WS_CAPTION | WS_THICKFRAME | Icons;
      break;
    case bsDialog:
      Params.Style |= WS_POPUP | WS_CAPTION | (Icons & WS_SYSMENU);
      Params.ExStyle |= WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;
      break;
    case bsToolWindow:
      Params.Style |= WS_CAPTION | (Icons & WS_SYSMENU);
      Params.ExStyle |= WS_EX_TOOLWINDOW;
      break;
    case bsSizeToolWin:
      Params.Style |= WS_CAPTION | WS_THICKFRAME | (Icons & WS_SYSMENU);
      Params.ExStyle |= WS_EX_TOOLWINDOW;
      break;
  }
  if (FBorderStyle != bsNone && FBorderIcons.Contains(biHelp)) Params.ExStyle |= WS_EX_CONTEXTHELP;
  if (FFormStyle == fsStayOnTop) Params.ExStyle |= WS_EX_TOPMOST;
  if (FWindowState == wsMinimized) Params.Style |= WS_MINIMIZE;
  if (FWindowState == wsMaximized) Params.Style |= WS_MAXIMIZE;
  Params.WindowClass.style = CS_DBLCLKS;
  Params.WindowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
  Params.WndParent = nullptr;
  if (FFormStyle == fsMDIChild) {
    TForm* Main = Application ? Application->MainForm() : nullptr;
    if (!Main || Main->FFormStyle != fsMDIForm || !Main->ClientHandle())
      throw EInvalidOperation("Cannot create form. No MDI forms are currently active");
    Params.Style = (Params.Style & ~WS_POPUP) | WS_CHILD | WS_CLIPSIBLINGS;
    Params.ExStyle |= WS_EX_MDICHILD;
    Params.WndParent = Main->ClientHandle();
  } else if (Application) {
    // Owned by the application's hidden window; with MainFormOnTaskBar the main form
    // stands alone and owns the others.
    TForm* Main = Application->MainForm();
    if (!Application->MainFormOnTaskBar())
      Params.WndParent = Application->Handle();
    else if (Main && Main != this && Main->HandleAllocated())
      Params.WndParent = Main->Handle();
  }
}

LRESULT TCustomForm::ClientWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  return DefWindowProc(Wnd, Msg, WParam, LParam);
}

HICON TCustomForm::GetIconHandle() const {
  if (FIcon->HandleAllocated()) return FIcon->Handle();
  return Application && Application->Icon() ? Application->Icon()->Handle() : nullptr;
}

void TCustomForm::IconChanged() {
  if (HandleAllocated()) SendMessage(FHandle, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(GetIconHandle()));
}

void TCustomForm::CreateWnd() {
  TWinControl::CreateWnd();
  IconChanged();
  // A window made anew for a new frame shows again where the old one was.
  if (ControlState.Contains(csRecreating) && Visible()) ShowWindow(FHandle, SW_SHOWNA);
  if (FFormStyle != fsMDIForm) return;
  WNDCLASS Existing{};
  if (!GetClassInfo(nullptr, MDIClientClassName, &Existing)) {
    WNDCLASS Class{};
    Class.lpfnWndProc = MakeWndProc(&ClientWndProc);
    Class.hbrBackground = GetSysColorBrush(COLOR_APPWORKSPACE);
    Class.lpszClassName = MDIClientClassName;
    RegisterClass(&Class);
  }
  const TRect C = ClientRect();
  FClientHandle = CreateWindowEx(WS_EX_CLIENTEDGE, MDIClientClassName, "",
                                 WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 0, 0, C.Right,
                                 C.Bottom, FHandle, nullptr, nullptr, nullptr);
}

void TCustomForm::DestroyWindowHandle() {
  // The MDI children's windows live in the client window: they go first.
  if (FClientHandle && Screen)
    for (Integer I = 0; I < Screen->CustomFormCount(); ++I) {
      TCustomForm* F = Screen->CustomForms(I);
      if (F->FFormStyle == fsMDIChild && F->HandleAllocated() && GetParent(F->FHandle) == FClientHandle)
        F->DestroyHandle();
    }
  FClientHandle = nullptr;
  TWinControl::DestroyWindowHandle();
}

// --- Showing and placing ---------------------------------------------------------------------

void TCustomForm::PlaceOnShow() {
  if (FPlaced) return;
  FPlaced = true;
  TCustomForm* Center = nullptr;
  switch (FPosition) {
    case poMainFormCenter:
      Center = Application ? Application->MainForm() : nullptr;
      break;
    case poOwnerFormCenter:
      Center = dynamic_cast<TCustomForm*>(Owner());
      if (!Center && Application) Center = Application->MainForm();
      break;
    case poScreenCenter:
    case poDesktopCenter:
      break;
    default:
      return;
  }
  if (Center == this || (Center && !Center->Visible())) Center = nullptr;
  TRect Area;
  if (Center)
    Area = Center->BoundsRect();
  else
    Area = Rect(0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
  Integer X = Area.Left + (Area.Right - Area.Left - Width()) / 2;
  Integer Y = Area.Top + (Area.Bottom - Area.Top - Height()) / 2;
  // Centred on a form, the window stays on the screen.
  if (Center) {
    X = std::max(0, std::min(X, GetSystemMetrics(SM_CXSCREEN) - Width()));
    Y = std::max(0, std::min(Y, GetSystemMetrics(SM_CYSCREEN) - Height()));
  }
  SetBounds(X, Y, Width(), Height());
}

void TCustomForm::CMVisibleChanged(TWMNoParams&) {
  if (Visible()) {
    FFormState.Include(fsShowing);
    try {
      DoShow();
    } catch (...) {
      FFormState.Exclude(fsShowing);
      throw;
    }
    FFormState.Exclude(fsShowing);
    if (!Visible()) return;  // OnShow hid it again
    HandleNeeded();
    PlaceOnShow();
    int Cmd = SW_SHOWNORMAL;
    if (FWindowState == wsMaximized) Cmd = SW_SHOWMAXIMIZED;
    if (FWindowState == wsMinimized) Cmd = SW_SHOWMINIMIZED;
    if (FFormStyle == fsMDIChild) Cmd = SW_SHOWNA;
    ShowWindow(FHandle, Cmd);
    FFormState.Include(fsVisible);
  } else {
    FFormState.Exclude(fsVisible);
    DoHide();
    if (HandleAllocated()) ShowWindow(FHandle, SW_HIDE);
  }
}

void TCustomForm::Show() {
  SetVisible(true);
  BringToFront();
}

void TCustomForm::BringToFront() {
  if (!HandleAllocated() || !Visible()) return;
  if (FFormStyle == fsMDIChild)
    SetWindowPos(FHandle, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  else
    SetWindowPos(FHandle, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

void TCustomForm::SetWindowState(TWindowState Value) {
  if (FWindowState == Value) return;
  FWindowState = Value;
  if (!HandleAllocated() || !Visible()) return;
  static constexpr int Cmds[] = {SW_RESTORE, SW_MINIMIZE, SW_MAXIMIZE};
  ShowWindow(FHandle, Cmds[Value]);
}

void TCustomForm::SetMenu(TMainMenu* Value) {
  if (FMenu == Value) return;
  if (FMenu) FMenu->RemoveFreeNotification(this);
  FMenu = Value;
  if (FMenu) FMenu->FreeNotification(this);
}

void TCustomForm::SetWindowMenu(TMenuItem* Value) {
  if (FWindowMenu == Value) return;
  if (FWindowMenu) FWindowMenu->RemoveFreeNotification(this);
  FWindowMenu = Value;
  if (FWindowMenu) FWindowMenu->FreeNotification(this);
}

Boolean TCustomForm::SetFocusedControl(TWinControl* Control) {
  const Boolean Result = TWinControl::SetFocusedControl(Control);
  if (Screen && FActive) Screen->SetFocusedControl(ActiveControl());
  return Result;
}

void TCustomForm::Notification(TComponent* AComponent, TOperation Operation) {
  TWinControl::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FMenu) FMenu = nullptr;
  if (AComponent == FWindowMenu) FWindowMenu = nullptr;
}

// --- Closing ---------------------------------------------------------------------------------

Boolean TCustomForm::CloseQuery() {
  // MDI children are asked first; any of them can keep the main window open.
  if (FFormStyle == fsMDIForm)
    for (Integer I = 0; I < MDIChildCount(); ++I)
      if (!MDIChildren(I)->CloseQuery()) return false;
  Boolean CanClose = true;
  if (OnCloseQuery) OnCloseQuery(this, CanClose);
  return CanClose;
}

void TCustomForm::Close() {
  if (FFormState.Contains(fsModal)) {
    FModalResult = mrCancel;
    return;
  }
  if (!CloseQuery()) return;
  TCloseAction Action = caHide;
  if (FFormStyle == fsMDIChild) Action = FBorderIcons.Contains(biMinimize) ? caMinimize : caNone;
  DoClose(Action);
  if (Action == caNone) return;
  if (Application && Application->MainForm() == this) {
    Application->Terminate();
    return;
  }
  switch (Action) {
    case caHide: Hide(); break;
    case caMinimize: SetWindowState(wsMinimized); break;
    case caFree: Release(); break;
    default: break;
  }
}

// The message goes to the application's window: a form must not free itself inside its
// own window procedure.
void TCustomForm::Release() {
  if (Application) PostMessage(Application->Handle(), vantrel::ui::FormReleaseMessage, 0, reinterpret_cast<LPARAM>(this));
}

void TCustomForm::CloseModal() {
  try {
    TCloseAction Action = caNone;
    if (CloseQuery()) {
      Action = caHide;
      DoClose(Action);
    }
    if (Action == caNone) FModalResult = mrNone;
    if (Action == caFree) Release();
  } catch (...) {
    FModalResult = mrNone;
    if (Application) Application->HandleException(this);
  }
}

namespace {

// The top-level windows that were enabled and visible when a modal form opened.
struct DisabledWindows {
  std::vector<HWND> List;
};

BOOL CollectEnabled(HWND Wnd, LPARAM Param) {
  auto* D = reinterpret_cast<DisabledWindows*>(Param);
  if (IsWindowVisible(Wnd) && IsWindowEnabled(Wnd)) D->List.push_back(Wnd);
  return TRUE;
}

}  // namespace

TModalResult TCustomForm::ShowModal() {
  if (Visible() || !Enabled() || FFormState.Contains(fsModal) || FFormStyle == fsMDIChild)
    throw EInvalidOperation("Cannot make a visible window modal");
  if (!Application) throw EInvalidOperation("Cannot make a visible window modal");
  if (GetCapture()) SendMessage(GetCapture(), WM_CANCELMODE, 0, 0);
  ReleaseCapture();
  Application->ModalStarted();
  FFormState.Include(fsModal);
  const HWND ActiveBefore = GetActiveWindow();
  DisabledWindows Disabled;
  EnumWindows(&CollectEnabled, reinterpret_cast<LPARAM>(&Disabled));
  for (HWND W : Disabled.List) EnableWindow(W, FALSE);
  auto Restore = [&] {
    // The other windows come back before this one hides, so activation can return to one.
    for (HWND W : Disabled.List)
      if (IsWindow(W)) EnableWindow(W, TRUE);
    if (ActiveBefore && IsWindow(ActiveBefore) && IsWindowVisible(ActiveBefore)) SetActiveWindow(ActiveBefore);
  };
  TModalResult Result = mrNone;
  try {
    Show();
    FModalResult = mrNone;
    do {
      Application->HandleMessage();
      if (Application->Terminated())
        FModalResult = mrCancel;
      else if (FModalResult != mrNone)
        CloseModal();
    } while (FModalResult == mrNone);
    Result = FModalResult;
    Restore();
    Hide();
  } catch (...) {
    Restore();
    try {
      Hide();
    } catch (...) {
    }
    FFormState.Exclude(fsModal);
    Application->ModalFinished();
    if (FReleasePending) {
      FReleasePending = false;
      Release();
    }
    throw;
  }
  FFormState.Exclude(fsModal);
  Application->ModalFinished();
  if (FReleasePending) {
    FReleasePending = false;
    Release();
  }
  return Result;
}

// --- Short cuts and actions ------------------------------------------------------------------

Boolean TCustomForm::IsShortCut(TWMKey& Message) {
  Boolean Handled = false;
  if (OnShortCut) OnShortCut(Message, Handled);
  if (!Handled && FMenu) Handled = FMenu->IsShortCut(Message);
  return Handled;
}

void TCustomForm::UpdateActions() {
  for (Integer I = 0; I < ComponentCount(); ++I)
    if (auto* List = dynamic_cast<TCustomActionList*>(Components(I))) List->UpdateActions();
}

// --- MDI -------------------------------------------------------------------------------------

Integer TCustomForm::MDIChildCount() const {
  if (FFormStyle != fsMDIForm || !Screen) return 0;
  Integer N = 0;
  for (Integer I = 0; I < Screen->FormCount(); ++I)
    if (Screen->Forms(I)->FFormStyle == fsMDIChild) ++N;
  return N;
}

TForm* TCustomForm::MDIChildren(Integer Index) const {
  if (FFormStyle == fsMDIForm && Screen)
    for (Integer I = 0, N = 0; I < Screen->FormCount(); ++I)
      if (Screen->Forms(I)->FFormStyle == fsMDIChild && N++ == Index) return Screen->Forms(I);
  throw EListError(Format(SListIndexError, {Index}));
}

// The topmost visible child window of the client is the active MDI child.
TForm* TCustomForm::ActiveMDIChild() const {
  if (FFormStyle != fsMDIForm || !FClientHandle) return nullptr;
  for (HWND W = GetWindow(FClientHandle, GW_CHILD); W; W = GetWindow(W, GW_HWNDNEXT)) {
    if (!IsWindowVisible(W)) continue;
    if (auto* F = dynamic_cast<TForm*>(TWinControl::FindControl(W)); F && F->FFormStyle == fsMDIChild) return F;
  }
  return nullptr;
}

// --- Messages --------------------------------------------------------------------------------

void TCustomForm::WMActivate(TMessage& Message) {
  DefaultHandler(Message);
  const bool Now = LOWORD(Message.WParam) != WA_INACTIVE;
  if (Now == FActive) return;
  FActive = Now;
  if (Now) {
    FFormState.Include(fsActivated);
    if (Screen) Screen->SetActiveForm(this);
    // The control that had the focus when the form was left gets it back.
    if (TWinControl* C = ActiveControl(); C && C->CanFocus() && GetFocus() != C->Handle()) ::SetFocus(C->Handle());
    Activate();
  } else {
    Deactivate();
  }
}

void TCustomForm::WMClose(TMessage&) { Close(); }

void TCustomForm::WMContextMenu(TMessage& Message) {
  const POINT Pt{GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)};
  const bool FromKeyboard = Message.LParam == -1;
  TControl* Control = nullptr;
  if (FromKeyboard)
    Control = TWinControl::FindControl(GetFocus());
  else
    Control = FindDragTarget(Pt, false);
  if (Control && GetParentForm(Control) != this) Control = nullptr;
  for (TControl* C = Control ? Control : this; C; C = C->Parent()) {
    TPopupMenu* Menu = C->PopupMenu();
    if (!Menu || !Menu->AutoPopup()) continue;
    TPoint At = Pt;
    if (FromKeyboard) At = C->ClientToScreen(Point(0, 0));
    Menu->SetPopupComponent(C);
    Menu->Popup(At.X, At.Y);
    Message.Result = 1;
    return;
  }
  DefaultHandler(Message);
}

// Over the client area of the form or any of its windows: the screen's cursor when one is
// set, else the cursor of the control under the pointer; crDefault leaves the window
// class's cursor. The default procedure asks the parents first, so the form decides.
Boolean TCustomForm::WMSetCursor(TMessage& Message) {
  if (!Screen || static_cast<SHORT>(LOWORD(static_cast<uintptr_t>(Message.LParam))) != HTCLIENT) return false;
  TCursor Cursor = Screen->Cursor();
  if (Cursor == crDefault) {
    POINT P{};
    GetCursorPos(&P);
    TControl* Control = FindDragTarget(P, true);
    if (Control && GetParentForm(Control) == this) Cursor = Control->Cursor();
  }
  if (Cursor == crDefault) return false;
  ::SetCursor(Screen->Cursors(Cursor));
  Message.Result = TRUE;
  return true;
}

void TCustomForm::WMSysCommand(TMessage& Message) {
  DefaultHandler(Message);
  if (!HandleAllocated()) return;
  // A form restored from outside while the application is minimized restores it all.
  if ((Message.WParam & 0xFFF0) == SC_RESTORE && Application && IsIconic(Application->Handle()))
    Application->Restore();
  if (IsIconic(FHandle))
    FWindowState = wsMinimized;
  else if (IsZoomed(FHandle))
    FWindowState = wsMaximized;
  else
    FWindowState = wsNormal;
}

void TCustomForm::AlignControls(TControl* AControl, TRect& Rect) {
  TWinControl::AlignControls(AControl, Rect);
  if (FClientHandle)
    SetWindowPos(FClientHandle, nullptr, Rect.Left, Rect.Top, std::max(0, Rect.Right - Rect.Left),
                 std::max(0, Rect.Bottom - Rect.Top), SWP_NOZORDER | SWP_NOACTIVATE);
}

void TCustomForm::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_ACTIVATE:
      WMActivate(Message);
      return;
    case WM_CLOSE:
      WMClose(Message);
      return;
    case WM_CONTEXTMENU:
      WMContextMenu(Message);
      return;
    case WM_SYSCOMMAND:
      WMSysCommand(Message);
      return;
    case WM_SETCURSOR:
      if (WMSetCursor(Message)) return;
      break;
    case WM_SIZE:
      if (Message.WParam == SIZE_MINIMIZED)
        FWindowState = wsMinimized;
      else if (Message.WParam == SIZE_MAXIMIZED)
        FWindowState = wsMaximized;
      else if (Message.WParam == SIZE_RESTORED)
        FWindowState = wsNormal;
      // The client window takes the room the aligned controls leave.
      if (FClientHandle) Realign();
      break;
    default:
      break;
  }
  TWinControl::WndProc(Message);
}
