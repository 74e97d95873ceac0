// The skinned popup menu (a class-library popup menu opened through a frame component's
// skin menu) and the main menu with a skin of its own.
#include "skin/forms/SkinMenus.h"

#include "skin/forms/FormSkin.h"

TspSkinPopupMenu::TspSkinPopupMenu(TComponent* AOwner) : TPopupMenu(AOwner) {}

void TspSkinPopupMenu::SetSkinData(TspSkinData* Value) {
  if (FSD && FSD != Value) FSD->RemoveFreeNotification(this);
  FSD = Value;
  if (FSD) FSD->FreeNotification(this);
}

void TspSkinPopupMenu::SetComponentForm(TForm* Value) {
  if (FComponentForm && FComponentForm != Value) FComponentForm->RemoveFreeNotification(this);
  FComponentForm = Value;
  if (FComponentForm) FComponentForm->FreeNotification(this);
}

void TspSkinPopupMenu::SetSkinComponent(TComponent* Value) {
  if (FSkinComponent && FSkinComponent != Value) FSkinComponent->RemoveFreeNotification(this);
  FSkinComponent = Value;
  if (FSkinComponent) FSkinComponent->FreeNotification(this);
}

void TspSkinPopupMenu::Notification(TComponent* AComponent, TOperation Operation) {
  TPopupMenu::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FSD) FSD = nullptr;
  if (AComponent == FComponentForm) FComponentForm = nullptr;
  if (AComponent == FSkinComponent) FSkinComponent = nullptr;
}

TspFormSkin* TspSkinPopupMenu::FindFormSkin(TComponent* AComponent) {
  if (!AComponent) return nullptr;
  for (Integer I = 0; I < AComponent->ComponentCount(); ++I)
    if (auto* F = dynamic_cast<TspFormSkin*>(AComponent->Components(I))) return F;
  return nullptr;
}

TspFormSkin* TspSkinPopupMenu::FindFrame() const {
  if (FSkinComponent) return dynamic_cast<TspFormSkin*>(FSkinComponent);
  if (FComponentForm) return FindFormSkin(FComponentForm);
  TComponent* Form = nullptr;
  if (dynamic_cast<TForm*>(Owner()))
    Form = Owner();
  else if (Owner() && dynamic_cast<TForm*>(Owner()->Owner()))
    Form = Owner()->Owner();
  TspFormSkin* F = FindFormSkin(Form);
  if (F && F->IsMDIChildForm()) F = FindFormSkin(Application->MainForm());
  return F;
}

void TspSkinPopupMenu::PopupAt(TControl* ACtrl, const TRect& R, Boolean Up, Boolean NeedsSkin) {
  if (OnPopup) OnPopup(this);
  TspFormSkin* F = FindFrame();
  // A control waiting for the menu to close (a menu button held down) is told at once
  // when no menu opens.
  const auto NothingOpens = [ACtrl] {
    if (ACtrl) ACtrl->Perform(WM_SKINMENU_CLOSED, 0, 0);
  };
  if (!F || !F->SkinMenu) return NothingOpens();
  if (!FSD) SetSkinData(F->MenuSkin());
  if (NeedsSkin && !FSD) return NothingOpens();
  if (F->SkinMenuVisible()) F->SkinMenuClose();
  F->SkinMenuOpen();
  FPopupPoint = Point(R.Left, R.Top);
  F->SkinMenu->Popup(ACtrl, FSD, 0, R, Items(), Up);
  if (OnMenuClose) F->SkinMenu->OnMenuClose = OnMenuClose;
}

void TspSkinPopupMenu::Popup(Integer X, Integer Y) { PopupAt(nullptr, Rect(X, Y, X, Y), false, false); }

void TspSkinPopupMenu::PopupFromRect(const TRect& R, Boolean APopupUp) { PopupAt(nullptr, R, APopupUp, false); }

void TspSkinPopupMenu::Popup2(TControl* ACtrl, Integer X, Integer Y) {
  PopupAt(ACtrl, Rect(X, Y, X, Y), false, true);
}

void TspSkinPopupMenu::PopupFromRect2(TControl* ACtrl, const TRect& R, Boolean APopupUp) {
  PopupAt(ACtrl, R, APopupUp, false);
}

void TspSkinMainMenu::SetSkinData(TspSkinData* Value) {
  if (FSD && FSD != Value) FSD->RemoveFreeNotification(this);
  FSD = Value;
  if (FSD) FSD->FreeNotification(this);
}

void TspSkinMainMenu::Notification(TComponent* AComponent, TOperation Operation) {
  TMainMenu::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FSD) FSD = nullptr;
}
