// The tray icon's windows and timers: the hidden window the tray notifies, the watched
// application and owner windows, single-click detection, icon cycling and the menu.
#include <memory>

#include "platform/ui/Forms.h"
#include "platform/win/Focus.h"
#include "platform/win/Input.h"
#include "platform/win/Keyboard.h"
#include "platform/win/WindowManager.h"
#include "skin/forms/SkinMenus.h"
#include "skin/forms/TrayIcon.h"

namespace {

constexpr const char* TrayIconWindowClass = "TspTrayIconWindow";

// Registered once: a new tray announces itself with it.
UINT TaskbarCreatedMessage() {
  static const UINT Message = RegisterWindowMessageW("TaskbarCreated");
  return Message;
}

TShiftState TrayShiftState() {
  TShiftState Shift;
  if (GetAsyncKeyState(VK_SHIFT) < 0) Shift.Include(ssShift);
  if (GetAsyncKeyState(VK_CONTROL) < 0) Shift.Include(ssCtrl);
  if (GetAsyncKeyState(VK_MENU) < 0) Shift.Include(ssAlt);
  return Shift;
}

// Takes Ours out of Wnd: Old goes back when Ours is still the window's procedure, and
// Ours is freed. A procedure installed over Ours since still calls it; Ours then stays
// (forwarding to Old, as the component is gone) and is not freed.
void UnhookTrayProc(HWND Wnd, WNDPROC& Ours, WNDPROC Old) {
  if (!Ours) return;
  const bool Current = !Wnd || !IsWindow(Wnd) || GetWindowLongPtr(Wnd, GWL_WNDPROC) == WndProcToLong(Ours);
  if (Current && Wnd && IsWindow(Wnd)) SetWindowLongPtr(Wnd, GWL_WNDPROC, WndProcToLong(Old));
  if (Current) {
    try {
      FreeObjectInstance(Ours);
    } catch (...) {  // still installed in a window we no longer own: leave it alive
    }
  }
  Ours = nullptr;
}

}  // namespace

void TspTrayIcon::CreateHiddenWindow() {
  TaskbarCreatedMessage();
  WNDCLASS Existing{};
  if (!GetClassInfo(nullptr, TrayIconWindowClass, &Existing)) {
    WNDCLASS Class{};
    Class.lpfnWndProc = MakeWndProc(&DefWindowProc);
    Class.lpszClassName = TrayIconWindowClass;
    RegisterClass(&Class);
  }
  IconData.Wnd =
      CreateWindowEx(WS_EX_TOOLWINDOW, TrayIconWindowClass, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
  FHiddenProc = MakeObjectInstance([this](TMessage& Message) { WndProc(Message); });
  if (IconData.Wnd) SetWindowLongPtr(IconData.Wnd, GWL_WNDPROC, WndProcToLong(FHiddenProc));
}

// Each installed procedure forwards to the one it replaced once the component is gone,
// for a window that another procedure was installed on since.
void TspTrayIcon::Subclass() {
  const std::shared_ptr<bool> Alive = FAlive;
  if (Application) {
    const HWND Wnd = FAppWindow = Application->Handle();
    auto Old = std::make_shared<WNDPROC>();
    NewAppProc = MakeObjectInstance([this, Alive, Old, Wnd](TMessage& Message) {
      if (*Alive)
        AppWndProc(Message);
      else
        Message.Result = CallWindowProc(*Old, Wnd, Message.Msg, Message.WParam, Message.LParam);
    });
    *Old = OldAppProc = LongToWndProc(SetWindowLongPtr(Wnd, GWL_WNDPROC, WndProcToLong(NewAppProc)));
  }
  if (TWinControl* C = OwnerControl()) {
    const HWND Wnd = FWindowHandle = C->Handle();
    auto Old = std::make_shared<WNDPROC>();
    NewWndProc = MakeObjectInstance([this, Alive, Old, Wnd](TMessage& Message) {
      if (*Alive)
        ParentWndProc(Message);
      else
        Message.Result = CallWindowProc(*Old, Wnd, Message.Msg, Message.WParam, Message.LParam);
    });
    *Old = OldWndProc = LongToWndProc(SetWindowLongPtr(Wnd, GWL_WNDPROC, WndProcToLong(NewWndProc)));
  }
}

void TspTrayIcon::RemoveSubclass() {
  UnhookTrayProc(FAppWindow, NewAppProc, OldAppProc);
  UnhookTrayProc(FWindowHandle, NewWndProc, OldWndProc);
  FAppWindow = FWindowHandle = nullptr;
}

// --- the hidden window ---------------------------------------------------------------------

void TspTrayIcon::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_SPTRAYICON:
      if (FEnabled) HandleTrayMessage(Message.LParam);
      return;
    case WM_DESTROY:
    case WM_CLOSE:
    case WM_QUERYENDSESSION:
    case WM_QUIT:
    case WM_USERCHANGED:
    case WM_NCDESTROY:
      Message.Result = 1;
      return;
    default:
      Message.Result = DefWindowProc(IconData.Wnd, Message.Msg, Message.WParam, Message.LParam);
  }
}

void TspTrayIcon::HandleTrayMessage(LPARAM MouseMessage) {
  POINT P{};
  GetCursorPos(&P);
  TShiftState Shift = TrayShiftState();
  const auto With = [Shift](TShiftStateItem Item) {
    TShiftState S = Shift;
    S.Include(Item);
    return S;
  };
  switch (static_cast<UINT>(MouseMessage)) {
    case WM_MOUSEMOVE:
      MouseMove(Shift, P.X, P.Y);
      break;
    case WM_LBUTTONDOWN:
      FClickTimer->SetEnabled(true);
      MouseDown(mbLeft, With(ssLeft), P.X, P.Y);
      FClickStart = true;
      if (FPopupByLeftButton) PopupAtCursor();
      break;
    case WM_LBUTTONUP:
      if (FClickStart) {
        FClickReady = true;
        if (!FClickTimer->Enabled()) {
          FClickStart = FClickReady = false;
          Click();
        }
      }
      FClickStart = false;
      MouseUp(mbLeft, With(ssLeft), P.X, P.Y);
      break;
    case WM_LBUTTONDBLCLK:
      FClickReady = false;
      IsDblClick = true;
      DblClick();
      if (FPopupMenu && FPopupMenu->AutoPopup() && !FPopupByLeftButton) ClickDefaultItem();
      break;
    case WM_RBUTTONDOWN:
      MouseDown(mbRight, With(ssRight), P.X, P.Y);
      PopupAtCursor();
      break;
    case WM_RBUTTONUP:
      MouseUp(mbRight, With(ssRight), P.X, P.Y);
      break;
    case WM_MBUTTONDOWN:
      MouseDown(mbMiddle, With(ssMiddle), P.X, P.Y);
      break;
    case WM_MBUTTONUP:
      MouseUp(mbMiddle, With(ssMiddle), P.X, P.Y);
      break;
    case NIN_BALLOONUSERCLICK:
      if (OnBalloonHintClick) OnBalloonHintClick(this);
      break;
    default:
      break;
  }
}

void TspTrayIcon::ClickDefaultItem() {
  TMenuItem* Items = FPopupMenu->Items();
  for (Integer I = 0; I < Items->Count(); ++I)
    if (Items->Items(I)->Default()) {
      Items->Items(I)->Click();
      return;
    }
}

// Handling the pending messages first may free the icon or its menu: both are checked
// again before the menu opens.
void TspTrayIcon::PopupAtCursor() {
  if (!FPopupMenu || !FPopupMenu->AutoPopup()) return;
  POINT P{};
  if (!GetCursorPos(&P)) return;
  const std::shared_ptr<bool> Alive = FAlive;
  if (Application) Application->ProcessMessages();
  if (!*Alive || !FPopupMenu) return;
  SetForegroundWindow(IconData.Wnd);
  TWinControl* C = OwnerControl();
  if (C) SetForegroundWindow(C->Handle());
  FPopupMenu->SetPopupComponent(this);
  FPopupMenu->Popup(P.X, P.Y);
  if (*Alive && C) PostMessage(C->Handle(), WM_NULL, 0, 0);
}

// --- timers -----------------------------------------------------------------------------

void TspTrayIcon::TimerClick(TObject*) {
  FClickTimer->SetEnabled(false);
  if (!IsDblClick && FClickReady) {
    FClickReady = false;
    Click();
  }
  IsDblClick = false;
}

void TspTrayIcon::TimerCycle(TObject*) {
  if (!FIconList || FIconList->Count() == 0) return;
  FIconList->GetIcon(FIconIndex, FIcon.get());
  CycleIcon();
  ModifyIcon();
  SetIconIndex(FIconIndex >= FIconList->Count() - 1 ? 0 : FIconIndex + 1);
}

// --- the watched windows -------------------------------------------------------------------

void TspTrayIcon::AppWndProc(TMessage& Message) {
  if (Message.Msg == WM_SIZE && Message.WParam == SIZE_MINIMIZED && FMinimizeToTray) DoMinimizeToTray();
  if (Message.Msg == WM_WINDOWPOSCHANGED && SettingMDIForm && Application && Application->MainForm()) {
    if (Application->MainForm()->FormStyle() == fsMDIForm && FMinimizedOnStart) ShowWindow(FAppWindow, SW_HIDE);
    SettingMDIForm = false;
  }
  if (Message.Msg == TaskbarCreatedMessage() && FIconVisible) ShowIcon();
  Message.Result = CallWindowProc(OldAppProc, FAppWindow, Message.Msg, Message.WParam, Message.LParam);
}

void TspTrayIcon::ParentWndProc(TMessage& Message) {
  const HWND Wnd = FWindowHandle;
  if (Message.Msg == WM_ACTIVATE && (LOWORD(Message.WParam) == WA_ACTIVE || LOWORD(Message.WParam) == WA_CLICKACTIVE) &&
      Screen && Screen->ActiveControl()) {
    TWinControl* Active = Screen->ActiveControl();
    TWinControl* Holder = Active->Parent() ? Active->Parent() : Active;
    if (reinterpret_cast<HWND>(Message.LParam) != Holder->Handle()) ::SetFocus(Active->Handle());
  }
  if (Message.Msg == WM_SHOWWINDOW && Message.WParam == 1 && Message.LParam == 0) {
    ShowWindow(FAppWindow, SW_RESTORE);
    SetForegroundWindow(FAppWindow);
    SetForegroundWindow(Wnd);
  }
  Message.Result = CallWindowProc(OldWndProc, Wnd, Message.Msg, Message.WParam, Message.LParam);
}
