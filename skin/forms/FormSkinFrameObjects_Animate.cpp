// The frame's animations: filmstrips stepped on the frame's animate timer, played freely
// or as animated buttons that perform a caption command.
#include "platform/ui/Forms.h"
#include "platform/ui/Menus.h"
#include "platform/ui/Timers.h"
#include "skin/controls/SkinGeometry.h"
#include "skin/core/drawing/SPUtils.h"
#include "skin/forms/FormSkinFrameObjects.h"

TspSkinAnimateObject::TspSkinAnimateObject(TspFormSkin* AParent, TspDataSkinObject* AData)
    : TspActiveSkinObject(AParent, AData) {
  if (auto* D = dynamic_cast<TspDataSkinAnimate*>(AData)) {
    TimerInterval = D->TimerInterval < 25 ? 25 : D->TimerInterval;
    CountFrames = D->CountFrames;
    Cycle = D->Cycle;
    ButtonStyle = D->ButtonStyle;
    Command = D->Command;
    DownSkinRect = D->DownSkinRect;
    RestoreRect = D->RestoreRect;
    RestoreActiveRect = D->RestoreActiveRect;
    RestoreDownRect = D->RestoreDownRect;
    RestoreInActiveRect = D->RestoreInActiveRect;
    RestoreHint = D->RestoreHint;
    FTempHint = D->Hint;
  }
}

Boolean TspSkinAnimateObject::UseRestore() const {
  switch (Command) {
    case cmMaximize: return Parent->WindowState() == wsMaximized;
    case cmMinimize: return Parent->WindowState() == wsMinimized;
    case cmRollUp: return Parent->RollUpState();
    default: return false;
  }
}

Boolean TspSkinAnimateObject::HeldDown() const { return FDown && !IsNullRect(DownSkinRect); }

void TspSkinAnimateObject::Start() {
  FInc = 25;
  FFrame = 1;
  Active = true;
  if (!Parent->AnimateTimer->Enabled()) Parent->AnimateTimer->SetEnabled(true);
}

void TspSkinAnimateObject::Stop() {
  SetFrame(1);
  Active = false;
  FInc = 25;
}

void TspSkinAnimateObject::SetFrame(Integer Value) {
  if (Increment && Value > CountFrames) Value = 1;
  if (!Increment && Value <= 0) Value = CountFrames;
  FFrame = Value;
  Parent->DrawSkinObject(this);
}

void TspSkinAnimateObject::ChangeFrame() {
  if (FInc < TimerInterval) {
    FInc += 25;
    return;
  }
  if (Increment) {
    SetFrame(FFrame + 1);
    if (!Cycle && FFrame == CountFrames) Active = false;
  } else {
    SetFrame(FFrame - 1);
    if (FFrame == 1) Active = false;
  }
  FInc = 25;
}

void TspSkinAnimateObject::Draw(TCanvas* Cnvs, Boolean) {
  if (!Skinned()) return;
  const Boolean Restore = !IsNullRect(RestoreRect) && UseRestore();
  const TRect S = Restore ? RestoreRect : SkinRect;
  const TRect A = Restore ? RestoreActiveRect : ActiveSkinRect;
  const TRect D = Restore ? RestoreDownRect : DownSkinRect;
  const TRect I = Restore ? RestoreInActiveRect : InActiveSkinRect;
  const Integer FW = RectWidth(S), FH = RectHeight(S);
  const auto FrameRect = [&](Integer K) {
    const Integer X = A.Left + (K - 1) * FW;
    return Rect(X, A.Top, X + FW, A.Top + FH);
  };
  TRect R;
  if (FMenuTracking) {
    if (!IsNullRect(D)) {
      R = D;
    } else {
      FFrame = CountFrames;
      R = FrameRect(FFrame);
    }
  } else if (!Parent->GetFormActive() && !IsNullRect(I)) {
    R = I;
  } else if (FDown && FMouseIn && !IsNullRect(D)) {
    R = D;
  } else {
    R = FrameRect(FFrame);
  }
  CopyLook(Cnvs, ActivePicture, R);
}

void TspSkinAnimateObject::MouseEnter() {
  if (Command != cmDefault) Hint = !RestoreHint.empty() && UseRestore() ? RestoreHint : FTempHint;
  FMouseIn = true;
  if (FMenuTracking) return;
  if (ButtonStyle) {
    Active = true;
    Increment = true;
    if (HeldDown())
      Parent->DrawSkinObject(this);
    else
      Parent->AnimateTimer->SetEnabled(true);
  }
  Parent->DoMouseEnterEvent(IDName);
  ShowLayer();
}

void TspSkinAnimateObject::MouseLeave() {
  if (!FMouseIn) return;
  FMouseIn = false;
  if (FMenuTracking) return;
  if (ButtonStyle) {
    Active = true;
    Increment = false;
    if (HeldDown())
      Parent->DrawSkinObject(this);
    else
      Parent->AnimateTimer->SetEnabled(true);
  }
  Parent->DoMouseLeaveEvent(IDName);
  HideLayer();
}

void TspSkinAnimateObject::MouseDown(Integer X, Integer Y, TMouseButton Button) {
  TspActiveSkinObject::MouseDown(X, Y, Button);
  if (Button == mbLeft && !IsNullRect(DownSkinRect)) {
    FFrame = CountFrames;
    FDown = true;
    Parent->DrawSkinObject(this);
  }
  if (Command == cmSysMenu && ButtonStyle && Button == mbLeft && FMouseIn) DoCommand();
}

void TspSkinAnimateObject::MouseUp(Integer X, Integer Y, TMouseButton Button) {
  TspActiveSkinObject::MouseUp(X, Y, Button);
  if (FMenuTracking) return;
  if (Button == mbLeft && !IsNullRect(DownSkinRect)) {
    FDown = false;
    Parent->DrawSkinObject(this);
    Parent->AnimateTimer->SetEnabled(true);
  }
  if (Command != cmSysMenu && ButtonStyle && Button == mbLeft && FMouseIn) DoCommand();
}

void TspSkinAnimateObject::DblClick() {
  if (Command == cmSysMenu) DoClose();
}

void TspSkinAnimateObject::DoCommand() {
  switch (Command) {
    case cmClose:
      Parent->TestActiveObject(-1, -1, false);
      DoClose();
      break;
    case cmMaximize:
      Parent->TestActiveObject(-1, -1, false);
      DoMax();
      break;
    case cmMinimize:
      Parent->TestActiveObject(-1, -1, false);
      if (Parent->AlwaysMinimizeToTray())
        DoMinToTray();
      else
        DoMin();
      break;
    case cmSysMenu:
      MenuItem = Parent->GetSystemMenuItems();
      TrackMenu();
      break;
    case cmDefault:
      if (MenuItem) TrackMenu();
      break;
    case cmRollUp: DoRollUp(); break;
    case cmMinimizeToTray:
      Parent->TestActiveObject(-1, -1, false);
      DoMinToTray();
      break;
  }
}

void TspSkinAnimateObject::DoClose() { Parent->FForm->Close(); }

void TspSkinAnimateObject::DoMax() {
  Parent->SetWindowState(Parent->WindowState() == wsMaximized ? wsNormal : wsMaximized);
}

void TspSkinAnimateObject::DoMin() {
  if (Parent->WindowState() == wsMinimized && Parent->SupportNCArea())
    Parent->SetWindowState(wsNormal);
  else
    Parent->SetWindowState(wsMinimized);
}

void TspSkinAnimateObject::DoRollUp() { Parent->SetRollUpState(!Parent->RollUpState()); }

void TspSkinAnimateObject::DoMinToTray() { Parent->MinimizeToTray(); }

void TspSkinAnimateObject::TrackMenu() {
  if (!MenuItem || MenuItem->Count() == 0) return;
  FMenuTracking = true;
  if (Parent->FLayerManager->IsVisible) Parent->FLayerManager->Hide();
  if (Parent->FMenuLayerManager->IsVisible) Parent->FMenuLayerManager->Hide();
  if (FMouseIn) ShowLayer();
  Parent->TrackObjectMenu(MenuItem, ObjectRect, FPopupUp, false);
}

TPoint TspSkinAnimateObject::LayerOrigin() const { return Parent->ObjectScreenOrigin(); }

void TspSkinAnimateObject::ShowLayer() {
  if (!Skinned() || GlowLayerPictureIndex == -1 || !IsWin2000OrLater() || !SD->ShowCaptionButtonGlowFrames())
    return;
  TBitmap* Image = SkinActivePicture(SD, GlowLayerPictureIndex);
  TBitmap* Mask = SkinActivePicture(SD, GlowLayerMaskPictureIndex);
  const TPoint Origin = LayerOrigin();
  TspLayerManager* Layer = MenuItem ? Parent->FMenuLayerManager : Parent->FLayerManager;
  Layer->Show(ObjectRect.Left + Origin.X - GlowLayerOffsetX, ObjectRect.Top + Origin.Y - GlowLayerOffsetY, Image,
              Mask, GlowLayerAlphaBlendValue);
}

void TspSkinAnimateObject::HideLayer() {
  if (!Skinned() || GlowLayerPictureIndex == -1 || !IsWin2000OrLater() || !SD->ShowCaptionButtonGlowFrames())
    return;
  (MenuItem ? Parent->FMenuLayerManager : Parent->FLayerManager)->Hide();
}
