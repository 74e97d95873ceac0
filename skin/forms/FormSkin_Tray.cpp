// The frame's side of the tray icon: the icon it is linked to gets the tray menu and
// brings the program back on a double click; the frame's minimize-to-tray commands send
// the program there.
#include "skin/forms/FormSkin.h"
#include "skin/forms/SkinMenus.h"
#include "skin/forms/TrayIcon.h"

void TspFormSkin::SetTrayIcon(TspTrayIcon* Value) {
  if (FTrayIcon && FTrayIcon != Value) FTrayIcon->RemoveFreeNotification(this);
  FTrayIcon = Value;
  const Boolean Designing = ComponentState().Contains(csDesigning) && !ComponentState().Contains(csLoading);
  if (!FTrayIcon) {
    if (Designing) FBorderIcons.Exclude(TspBorderIcon::biMinimizeToTray);
    return;
  }
  FTrayIcon->FreeNotification(this);
  if (!FAlwaysShowInTray) FTrayIcon->SetIconVisible(false);
  const TComponentState IconState = FTrayIcon->ComponentState();
  const Boolean IconDesigned = IconState.Contains(csDesigning);
  if (IconDesigned && !IconState.Contains(csLoading)) FBorderIcons.Include(TspBorderIcon::biMinimizeToTray);
  if (IconDesigned || FTrayIcon->PopupMenu()) return;
  FTrayIcon->SetPopupMenu(FSysTrayMenu);
  // The icon may outlive the frame: the handler then does nothing.
  if (!FTrayIcon->OnDblClick)
    FTrayIcon->OnDblClick = [this, Alive = FAlive](TObject*) {
      if (*Alive) RestoreFromTray();
    };
}

void TspFormSkin::MinimizeToTray() {
  if (!FTrayIcon) return;
  FTrayIcon->SetMinimizeToTray(true);
  if (Application) Application->Minimize();
  if (OnMinimizeToTray) OnMinimizeToTray(this);
}

void TspFormSkin::RestoreFromTray() {
  if (!FTrayIcon) return;
  FTrayIcon->SetMinimizeToTray(false);
  FTrayIcon->ShowMainForm();
  if (Application) Application->Restore();
  if (!FAlwaysShowInTray) FTrayIcon->SetIconVisible(false);
  if (OnRestoreFromTray) OnRestoreFromTray(this);
}
