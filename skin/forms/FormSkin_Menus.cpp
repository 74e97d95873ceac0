// Menu mode of the frame: entering and leaving it around every skin menu of the form,
// releasing the object that opened the menu, the application-message hook that takes the
// keys while a menu is open, the popups the component offers and the form's short cuts.
#include "skin/forms/FormSkin.h"

#include "platform/win/Input.h"
#include "platform/win/WindowManager.h"
#include "skin/forms/FormSkinLayerBorder.h"
#include "skin/forms/FormSkinFrameObjects.h"
#include "skin/forms/FormSkinObjects.h"
#include "skin/forms/SkinMenus.h"

namespace {

// The first object of the list that owns the open menu is released, and only that one.
void ReleaseMenuOwner(TspFormSkin* F) {
  for (TspActiveSkinObject* Obj : F->ObjectList) {
    if (auto* MI = dynamic_cast<TspSkinMainMenuItem*>(Obj); MI && MI->FDown) {
      MI->Active = false;
      MI->SetDown(false);
      return;
    }
    if (auto* B = dynamic_cast<TspSkinButtonObject*>(Obj); B && B->MenuItem && B->FDown) {
      B->SetDown(false);
      return;
    }
    if (auto* A = dynamic_cast<TspSkinAnimateObject*>(Obj); A && A->MenuItem && A->FMenuTracking) {
      A->Active = true;
      A->FFrame = A->CountFrames;
      A->FDown = false;
      A->FMenuTracking = false;
      A->Increment = false;
      if (!F->AnimateTimer->Enabled()) F->AnimateTimer->SetEnabled(true);
      return;
    }
  }
}

}  // namespace

TPoint TspFormSkin::FrameScreenOrigin() const {
  if (!IsMDIChildForm()) return Point(FForm->Left(), FForm->Top());
  TPoint Origin = FForm->ClientOrigin();
  if (IsSkinNCArea()) {
    Origin.X -= NewClRect.Left;
    Origin.Y -= NewClRect.Top;
  } else {
    Origin.X -= 3;
    Origin.Y -= GetDefCaptionHeight() + 3;
  }
  return Origin;
}

TPoint TspFormSkin::ObjectScreenOrigin() const {
  if (IsMDIChildForm() || !FullLayeredBorderShown() || !FBorderLayer->TopBorder) return FrameScreenOrigin();
  RECT R{};
  if (FBorderLayer->TopBorder->HandleAllocated()) {
    GetWindowRect(FBorderLayer->TopBorder->Handle(), &R);
    return Point(R.Left, R.Top);
  }
  return Point(FBorderLayer->TopBorder->Left(), FBorderLayer->TopBorder->Top());
}

void TspFormSkin::TrackObjectMenu(TMenuItem* Item, const TRect& AObjectRect, Boolean PopupUp, Boolean AMainMenuSkin) {
  TRect R = AObjectRect;
  const TPoint Origin = ObjectScreenOrigin();
  OffsetRect(&R, Origin.X, Origin.Y);
  TMenu* Menu = Item->GetParentMenu();
  if (auto* Popup = dynamic_cast<TspSkinPopupMenu*>(Menu)) {
    Popup->PopupFromRect(R, PopupUp);
    return;
  }
  TspSkinData* SD = MenuSkin();
  if (auto* Main = dynamic_cast<TspSkinMainMenu*>(Menu); AMainMenuSkin && Main && Main->SkinData())
    SD = Main->SkinData();
  SkinMenuOpen();
  SkinMenu->Popup(nullptr, SD, 0, R, Item, PopupUp);
}

void TspFormSkin::SkinMenuOpen() {
  if (!InMainMenu) HookAppMessages();
  if (InMenu) return;
  InMenu = true;
  if (OnSkinMenuOpen) OnSkinMenuOpen(this);
}

void TspFormSkin::SkinMenuClose() {
  if (FMenuLayerManager->IsVisible) FMenuLayerManager->Hide();
  InMenu = false;
  ReleaseMenuOwner(this);
  UnHookAppMessages();
  if (OnSkinMenuClose) OnSkinMenuClose(this);
  if (InMainMenu) {
    InMainMenu = false;
    if (FMainMenuBar) FMainMenuBar->ExitMenuMode();
    if (OnMainMenuExit) OnMainMenuExit(this);
  }
}

void TspFormSkin::ExitMainMenuMode() {
  InMainMenu = false;
  if (SkinMenuVisible()) SkinMenu->Hide();
  if (FMainMenuBar) {
    FMainMenuBar->ExitMenuMode();
  } else {
    for (TspActiveSkinObject* Obj : ObjectList)
      if (auto* MI = dynamic_cast<TspSkinMainMenuItem*>(Obj); MI && MI->Active) {
        MI->MouseLeave();
        break;
      }
  }
  UnHookAppMessages();
  if (OnMainMenuExit) OnMainMenuExit(this);
}

void TspFormSkin::ReleaseMainMenuItem() {
  InMenu = false;
  if (FMainMenuBar) {
    FMainMenuBar->ReleaseDownItem();
  } else {
    for (TspActiveSkinObject* Obj : ObjectList)
      if (auto* MI = dynamic_cast<TspSkinMainMenuItem*>(Obj); MI && MI->FDown) {
        MI->SetDown(false);
        MI->MouseEnter();
        break;
      }
  }
  if (OnSkinMenuClose) OnSkinMenuClose(this);
}

void TspFormSkin::SetMainMenuBar(TspSkinMainMenuBar* Value) {
  if (FMainMenuBar && FMainMenuBar != Value) FMainMenuBar->RemoveFreeNotification(this);
  FMainMenuBar = Value;
  if (FMainMenuBar) FMainMenuBar->FreeNotification(this);
}

void TspFormSkin::HookAppMessages() {
  if (FInAppHook) return;
  OldAppMessage = Application->OnMessage;
  Application->OnMessage = [this](MSG& Msg, Boolean& Handled) { MenuAppMessageHook(Msg, Handled); };
  FInAppHook = true;
}

void TspFormSkin::UnHookAppMessages() {
  if (!FInAppHook) return;
  FInAppHook = false;
  Application->OnMessage = OldAppMessage;
  OldAppMessage = nullptr;
}

void TspFormSkin::PopupSkinMenu(TMenu* Menu, TPoint P) {
  SkinMenuOpen();
  SkinMenu->Popup(nullptr, MenuSkin(), 0, Rect(P.X, P.Y, P.X, P.Y), Menu->Items(), false);
}

void TspFormSkin::PopupSkinMenu1(TMenu* Menu, const TRect& R, Boolean PopupUp) {
  SkinMenuOpen();
  SkinMenu->Popup(nullptr, MenuSkin(), 0, R, Menu->Items(), PopupUp);
}

void TspFormSkin::DoPopupMenu(TPopupMenu* Menu, Integer X, Integer Y) {
  if (Menu->OnPopup) Menu->OnPopup(this);
  if (SkinMenuVisible()) SkinMenuClose();
  SkinMenuOpen();
  SkinMenu->Popup(nullptr, FSD, 0, Rect(X, Y, X, Y), Menu->Items(), false);
}

void TspFormSkin::FormShortCut(TWMKey& Msg, Boolean& Handled) {
  if (OnShortCut) {
    OnShortCut(Msg, Handled);
    if (Handled) return;
  }
  const Boolean Alt = KeyDataToShiftState(Msg.KeyData()) == TShiftState{ssAlt};
  if (Alt && Msg.CharCode() == VK_SPACE) {
    PopupSysMenuFromButton();
    FInShortCut = false;
    Handled = true;
    return;
  }
  if (FInShortCut) {
    FInShortCut = false;
    Handled = false;
  }
  TMainMenu* Main = FMainMenuBar && FMainMenuBar->MainMenu() ? FMainMenuBar->MainMenu() : FMainMenu;
  if (Main) {
    if (Alt && Msg.CharCode() != VK_F4 && CheckMainMenuHotKey(Msg.CharCode())) {
      Handled = true;
    } else {
      FInShortCut = Main->IsShortCut(Msg);
      Handled = FInShortCut;
    }
  }
  if (Handled || !FMainMenuBar) return;
  TMainMenu* Child = FMainMenuBar->ChildMenuIn ? FMainMenuBar->GetChildMainMenu() : nullptr;
  if (!Child) return;
  if (Alt && FMainMenuBar->CheckHotKey(Msg.CharCode())) {
    Handled = true;
  } else {
    FInShortCut = Child->IsShortCut(Msg);
    Handled = FInShortCut;
  }
}

void TspFormSkin::HideSkinMenu() {
  if (SkinMenu) SkinMenu->Hide();
}

Boolean TspFormSkin::SkinMenuVisible() const { return SkinMenu && SkinMenu->Visible(); }

void TspFormSkin::UpdateMDIMainMenuBar() {
  TspFormSkin* Main = FindSkinFormComponent(Application->MainForm());
  TspSkinMainMenuBar* Bar = Main ? Main->FMainMenuBar : nullptr;
  if (Bar && (Bar->GetChildMainMenu() || Bar->ChildMenuIn)) Bar->UpDateItems();
}
