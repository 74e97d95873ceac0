// The window procedure's handling of the skin library's own messages: skin changes, menu
// and MDI notices, and the requests other windows make of the frame.
#include "skin/forms/FormSkin.h"
#include "skin/forms/FormSkinLayerBorder.h"
#include "skin/forms/SkinMenus.h"

#include "platform/win/Focus.h"
#include "platform/win/Paint.h"

// Keeps the form's bounds for after a skin or border change.
// A visible full layered border keeps its outer rectangle.
void TspFormSkin::KeepBoundsForChange() {
  const TspFormLayerBorder& B = *FBorderLayer;
  if (B.Visible() && B.FullBorder()) {
    FOldFormBounds = Rect(FForm->Left() - B.LeftSize, FForm->Top() - B.TopSize,
                          FForm->Width() + B.LeftSize + B.RightSize, FForm->Height() + B.TopSize + B.BottomSize);
    FOldFullBorder = 1;
    return;
  }
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
      if (FForm->Tag() != -10000) return true;
      if (UseLayeredBorder()) {
        if (Application->MainForm() && Application->MainForm()->HandleAllocated())
          SetForegroundWindow(Application->MainForm()->Handle());
        if (HWND Top = FindStayOnTopForm()) SetForegroundWindow(Top);
      }
      FForm->SetTag(0);
      return true;
    case WM_SKIN_LAYERED_BORDERS_CHANGED:
      WMSkinLayeredBordersChanged();
      return true;
    case WM_SKIN_AEROBLUR_CHANGED:
      if (FBorderLayer->Visible() && UseLayeredBorder()) {
        FBorderLayer->Hide();
        FBorderLayer->ShowWithForm();
      }
      return true;
    case CM_SKIN_QUERY_SKINNED:
      Message.Result = !FSkinnableForm && FIsVistaOS ? SKIN_ANSWER_NOT_SKINNED : SKIN_ANSWER_SKINNED;
      return false;
    case CM_SKIN_EFFECTS_BEGIN:
      FSmartEffectsShow = true;
      return true;
    case CM_SKIN_EFFECTS_END:
      if (!FSmartEffectsShow) return true;
      FSmartEffectsShow = false;
      if ((FForm->Visible() || FForm->Tag() == -10000) && UseLayeredBorder()) {
        const std::shared_ptr<bool> Alive = FAlive;
        Application->ProcessMessages();
        if (!*Alive || !UseLayeredBorder()) return false;
        FBorderLayer->SetActive(true, false);
        FBorderLayer->ShowWithFormAnimation();
        if (!*Alive) return false;
      }
      return true;
    default:
      return true;
  }
}

// The skin switched its layered borders on or off: the border comes or goes and the form
// keeps the footprint it had.
void TspFormSkin::WMSkinLayeredBordersChanged() {
  KeepBoundsForChange();
  if (UseLayeredBorder()) {
    if (!FForm->Visible() || FBorderLayer->Visible()) return;
    if (FIsVistaOS && !DisableDWMAnimation) {
      SetDwmTransitions(FForm->Handle(), false);
      DisableDWMAnimation = true;
    }
    FBorderLayer->SetActive(FFormActive, false);
    FBorderLayer->ShowWithForm();
    KeepBoundsOnBorderChange();
    FForm->Show();
  } else if (FBorderLayer->Visible()) {
    FBorderLayer->Hide();
    KeepBoundsOnBorderChange();
    if (DisableDWMAnimation) {
      SetDwmTransitions(FForm->Handle(), true);
      DisableDWMAnimation = false;
    }
    if (FBorderLayer->FIsAeroEnabled && FBorderLayer->Data() && FBorderLayer->Data()->BlurMaskPictureIndex != -1)
      ApplySkinData();
  }
}
