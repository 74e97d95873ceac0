// The tray icon: creation and destruction, its properties, and the calls that add,
// change and remove the icon in the tray.
#include "skin/forms/TrayIcon.h"

#include <algorithm>

#include "platform/ui/Forms.h"
#include "platform/win/Resources.h"
#include "platform/win/Timers.h"
#include "platform/win/WindowManager.h"
#include "skin/controls/SkinMessages.h"
#include "skin/forms/SkinMenus.h"

namespace {

TOwned<TTimer> MakeTrayTimer(Cardinal Interval, TNotifyEvent Tick) {
  auto T = CreateOwned<TTimer>(nullptr);
  T->SetEnabled(false);
  T->SetInterval(Interval);
  T->OnTimer = std::move(Tick);
  return T;
}

}  // namespace

TspTrayIcon::TspTrayIcon(TComponent* AOwner) : TComponent(AOwner) {
  FIcon = CreateOwned<TIcon>();
  CreateHiddenWindow();
  IconData.cbSize = sizeof(NOTIFYICONDATAW);
  IconData.uID = 1;
  IconData.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  IconData.uCallbackMessage = WM_SPTRAYICON;
  FAnimateTimer = MakeTrayTimer(FAnimateTimerInterval, [this](TObject* Sender) { TimerCycle(Sender); });
  FClickTimer = MakeTrayTimer(GetDoubleClickTime(), [this](TObject* Sender) { TimerClick(Sender); });
  if (Designing()) return;
  // An icon-less tray icon shows the program's icon, or the system's when it has none.
  if (!FIcon->HandleAllocated() && LoadDefaultIcon()) {
    if (Application && Application->Icon()->HandleAllocated())
      FIcon->Assign(Application->Icon());
    else
      FIcon->SetHandle(LoadIcon(nullptr, IDI_APPLICATION));
  }
  Subclass();
}

TspTrayIcon::~TspTrayIcon() {
  *FAlive = false;
  SetIconVisible(false);
  SetDesignPreview(false);
  FAnimateTimer.reset();
  FClickTimer.reset();
  if (!Designing()) RemoveSubclass();
  if (IconData.Wnd && IsWindow(IconData.Wnd)) DestroyWindow(IconData.Wnd);
  IconData.Wnd = nullptr;
  try {
    FreeObjectInstance(FHiddenProc);
  } catch (...) {  // still installed somewhere: leave the object alive
  }
}

void TspTrayIcon::Loaded() {
  TComponent::Loaded();
  if (OwnerControl() && FMinimizedOnStart && !Designing()) {
    FIconVisible = true;
    FMinimizeToTray = true;
    if (Application) {
      Application->SetShowMainForm(false);
      ShowWindow(Application->Handle(), SW_HIDE);
    }
  }
  ModifyIcon();
  SetIconVisible(FIconVisible);
}

void TspTrayIcon::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FIconList) FIconList = nullptr;
  if (AComponent == FPopupMenu) FPopupMenu = nullptr;
}

TWinControl* TspTrayIcon::OwnerControl() const { return dynamic_cast<TWinControl*>(Owner()); }

// --- properties ------------------------------------------------------------------------

void TspTrayIcon::SetIcon(TIcon* Value) {
  FIcon->Assign(Value);
  ModifyIcon();
}

void TspTrayIcon::SetIconVisible(Boolean Value) {
  if (Value)
    ShowIcon();
  else
    HideIcon();
}

void TspTrayIcon::SetIconList(TCustomImageList* Value) {
  if (FIconList && FIconList != Value) FIconList->RemoveFreeNotification(this);
  FIconList = Value;
  if (FIconList) FIconList->FreeNotification(this);
  SetIconIndex(0);
}

// An empty list has no icon to take: the index stays 0 and the icon is kept.
void TspTrayIcon::SetIconIndex(Integer Value) {
  if (FIconList && FIconList->Count() > 0) {
    FIconIndex = std::clamp<Integer>(Value, 0, FIconList->Count() - 1);
    FIconList->GetIcon(FIconIndex, FIcon.get());
  } else {
    FIconIndex = 0;
  }
  ModifyIcon();
}

void TspTrayIcon::SetCycleIcons(Boolean Value) {
  FCycleIcons = Value;
  if (Value) SetIconIndex(0);
  FAnimateTimer->SetEnabled(Value);
}

void TspTrayIcon::SetAnimateTimerInterval(Cardinal Value) {
  FAnimateTimerInterval = Value;
  FAnimateTimer->SetInterval(Value);
}

void TspTrayIcon::SetHint(const String& Value) {
  FHint = Value;
  ModifyIcon();
}

void TspTrayIcon::SetShowHint(Boolean Value) {
  FShowHint = Value;
  ModifyIcon();
}

void TspTrayIcon::SetPopupMenu(TspSkinPopupMenu* Value) {
  if (FPopupMenu && FPopupMenu != Value) FPopupMenu->RemoveFreeNotification(this);
  FPopupMenu = Value;
  if (FPopupMenu) FPopupMenu->FreeNotification(this);
}

void TspTrayIcon::SetDesignPreview(Boolean Value) {
  FDesignPreview = Value;
  SettingPreview = true;
  SetIconVisible(Value);
  SettingPreview = false;
}

// --- the tray ---------------------------------------------------------------------------

Boolean TspTrayIcon::PrepareIconData() {
  if (Designing() && !FDesignPreview && !SettingPreview) return false;
  IconData.hIcon = FIcon->Handle();
  vantrel::win::SetNotifyField(IconData.szTip, !FHint.empty() && FShowHint ? FHint : String());
  return true;
}

void TspTrayIcon::Notify(DWORD Message) {
  if ((!Designing() || SettingPreview) && PrepareIconData()) Shell_NotifyIconW(Message, &IconData);
}

void TspTrayIcon::ShowIcon() {
  if (!SettingPreview) FIconVisible = true;
  Notify(NIM_ADD);
}

void TspTrayIcon::HideIcon() {
  if (!SettingPreview) FIconVisible = false;
  Notify(NIM_DELETE);
}

void TspTrayIcon::ModifyIcon() {
  if (PrepareIconData()) Shell_NotifyIconW(NIM_MODIFY, &IconData);
}

void TspTrayIcon::ShowBalloonHint(const String& Title, const String& Text, TspBalloonHintIcon IconType) {
  HideBalloonHint();
  IconData.uFlags |= NIF_INFO;
  vantrel::win::SetNotifyField(IconData.szInfo, Text);
  vantrel::win::SetNotifyField(IconData.szInfoTitle, Title);
  static constexpr DWORD InfoFlags[] = {NIIF_NONE, NIIF_INFO, NIIF_WARNING, NIIF_ERROR};
  IconData.dwInfoFlags = InfoFlags[IconType];
  ModifyIcon();
  IconData.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
}

void TspTrayIcon::HideBalloonHint() {
  IconData.uFlags |= NIF_INFO;
  vantrel::win::SetNotifyField(IconData.szInfo, String());
  ModifyIcon();
}

Boolean TspTrayIcon::BitmapToIcon(TBitmap* Bitmap, TIcon* Icon, TColor MaskColor) {
  auto List = CreateOwned<TImageList>(nullptr);
  List->SetWidth(16);
  List->SetHeight(16);
  List->AddMasked(Bitmap, MaskColor);
  List->GetIcon(0, Icon);
  return true;
}

// --- the main form ---------------------------------------------------------------------

void TspTrayIcon::ShowMainForm() {
  if (!OwnerControl() || !Application || !Application->MainForm()) return;
  TForm* Main = Application->MainForm();
  Main->SetTag(-10000);
  ShowWindow(Application->Handle(), SW_RESTORE);
  Main->SetVisible(true);
  if (Main->WindowState() == wsMinimized) Main->SetWindowState(wsNormal);
  PostMessage(Main->Handle(), WM_SKIN_RESTORE_FOREGROUND, 0, 0);
}

void TspTrayIcon::HideMainForm() {
  if (!OwnerControl() || !Application || !Application->MainForm()) return;
  Application->MainForm()->SetVisible(false);
  ShowWindow(Application->Handle(), SW_HIDE);
}

// --- events ----------------------------------------------------------------------------

void TspTrayIcon::Click() {
  if (OnClick) OnClick(this);
}

void TspTrayIcon::DblClick() {
  if (OnDblClick) OnDblClick(this);
}

// The index the cycle shows next: after the last icon it starts again at 0.
void TspTrayIcon::CycleIcon() {
  const Integer Count = FIconList ? FIconList->Count() : 0;
  if (OnCycle) OnCycle(this, FIconIndex < Count - 1 ? FIconIndex + 1 : 0);
}

void TspTrayIcon::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  if (OnMouseDown) OnMouseDown(this, Button, Shift, X, Y);
}

void TspTrayIcon::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  if (OnMouseUp) OnMouseUp(this, Button, Shift, X, Y);
}

void TspTrayIcon::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  if (OnMouseMove) OnMouseMove(this, Shift, X, Y);
}

void TspTrayIcon::DoMinimizeToTray() {
  HideMainForm();
  SetIconVisible(true);
}
