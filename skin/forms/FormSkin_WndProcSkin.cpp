// The window procedure's handling of the skin library's own messages: skin changes, menu
// and MDI notices, and the requests other windows make of the frame.
#include "skin/forms/FormSkin.h"
#include "skin/forms/SkinMenus.h"

#include "platform/win/Paint.h"

// Keeps the form's bounds for after a skin or border change.
void TspFormSkin::KeepBoundsForChange() {
  FOldFormBounds = Rect(FForm->Left(), FForm->Top(), FForm->Width(), FForm->Height());
  FOldFullBorder = 0;
}

Boolean TspFormSkin::WMSkinMessage(TMessage& Message) {
  auto* Sender = reinterpret_cast<TspSkinData*>(Message.WParam);
  switch (Message.Msg) {
    case WM_SKIN_BEFORE_CHANGE:
      if (Sender && Sender == FSD) {
        KeepBoundsForChange();
        FStopPainting = true;
        FSkinSupport = false;
        MouseTimer->SetEnabled(false);
        MorphTimer->SetEnabled(false);
        AnimateTimer->SetEnabled(false);
        ActiveObject = OldActiveObject = MouseCaptureObject = -1;
        ClearObjects();
      }
      // Controls bound to any store forget their descriptors before it reloads: they hold
      // pictures of that store, which it frees meanwhile.
      SendBeforeChangeToControls(Sender, FForm);
      SendBeforeChangeToComponents(Sender);
      return true;
    case WM_SKIN_CHANGED:
      FStopPainting = false;
      if (Sender && Sender == FSD) ApplySkinData();
      SendChangeToControls(Sender, FForm);
      SendChangeToComponents(Sender);
      return true;
    case WM_SKIN_AFTER_CHANGE:
      if (Sender && Sender == FSD && IsMDIMainForm()) RefitMDIChildren();
      return true;
    case WM_SKINMENU_CLOSED:
      SkinMenuClose();
      return true;
    case WM_MDICHILD_REFIT:
      if (IsMaximizedMDIChild()) {
        TRect R{};
        GetMDIWorkArea(R);
        FForm->SetBounds(0, 0, RectWidth(R), RectHeight(R));
      }
      return true;
    case WM_MDICHILD_MAXIMIZED:
      if (IsMDIMainForm()) {
        FMDIChildMaximized = true;
        UpDateFormNC();
        if (FMainMenuBar) FMainMenuBar->MDIChildMaximize();
      }
      return true;
    case WM_MDICHILD_RESTORED:
      if (IsMDIMainForm()) {
        FMDIChildMaximized = GetMaximizedMDIChild() != nullptr;
        UpDateFormNC();
        if (FMainMenuBar) FMainMenuBar->MDIChildRestore();
      }
      return true;
    case WM_SKIN_STRINGS_CHANGED:
      UpdateObjectHints();
      return true;
    case WM_SKIN_FORMSKINNABLE_CHANGED:
      if (!FUseRibbon && FSD && Sender == FSD && !IsMDIChildForm()) SetSkinnableForm(FSD->SkinnableForm());
      return true;
    case WM_SKIN_RESTORE_FOREGROUND:
      if (FForm->Tag() == -10000) FForm->SetTag(0);
      return true;
    case WM_SKIN_LAYERED_BORDERS_CHANGED:
      KeepBoundsForChange();
      return true;
    case WM_SKIN_AEROBLUR_CHANGED:
      return true;
    case CM_SKIN_QUERY_SKINNED:
      Message.Result = !FSkinnableForm && FIsVistaOS ? SKIN_ANSWER_NOT_SKINNED : SKIN_ANSWER_SKINNED;
      return false;
    case CM_SKIN_EFFECTS_BEGIN:
      FSmartEffectsShow = true;
      return true;
    case CM_SKIN_EFFECTS_END:
      FSmartEffectsShow = false;
      return true;
    default:
      return true;
  }
}
