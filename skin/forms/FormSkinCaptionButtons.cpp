// The frame's push buttons and caption buttons: their looks, groups, presses and the
// commands the caption buttons carry out; the plain caption buttons of a frame without
// a skin.
#include "platform/ui/Forms.h"
#include "platform/ui/Menus.h"
#include "skin/core/bitmaps/spEffBmp.h"
#include "skin/core/bitmaps/spEffBmp_EffectKinds.h"
#include "skin/core/drawing/SPUtils.h"
#include "skin/forms/FormSkin.h"
#include "skin/forms/FormSkinCaption.h"

namespace {

// Copies rectangle R of Source to Where on Cnvs, stretched when the sizes differ.
void FrameButtonCopyLook(TCanvas* Cnvs, TBitmap* Source, const TRect& Where, const TRect& R) {
  if (!Source || Source->Empty() || IsNullRect(R)) return;
  Cnvs->CopyRect(Where, Source->Canvas(), R);
}

TOwned<TBitmap> FrameButtonLookImage(TBitmap* Source, const TRect& R, Integer W, Integer H) {
  auto B = CreateOwned<TBitmap>();
  B->SetPixelFormat(pf24bit);
  B->SetSize(W, H);
  B->Canvas()->CopyRect(Rect(0, 0, W, H), Source->Canvas(), R);
  return B;
}

}  // namespace

// ---------------------------------------------------------------------------------------
// Push button

TspSkinButtonObject::TspSkinButtonObject(TspFormSkin* AParent, TspDataSkinButton* AData)
    : TspActiveSkinObject(AParent, AData) {
  if (!AData) return;
  DownRect = AData->DownRect;
  DisableSkinRect = AData->DisableSkinRect;
  GroupIndex = AData->GroupIndex;
}

TspLayerManager* TspSkinButtonObject::GlowLayers() const {
  return MenuItem ? Parent->FMenuLayerManager : Parent->FLayerManager;
}

void TspSkinButtonObject::Draw(TCanvas* Cnvs, Boolean UpDate) {
  if (!Skinned()) return;
  if (!Enabled && !IsNullRect(DisableSkinRect)) {
    CopyLook(Cnvs, ActivePicture, DisableSkinRect);
    return;
  }
  if (FDown && !IsNullRect(DownRect) && (GroupIndex != -1 || FMouseIn)) {
    CopyLook(Cnvs, ActivePicture, DownRect);
    return;
  }
  TspActiveSkinObject::Draw(Cnvs, UpDate);
}

Boolean TspSkinButtonObject::CanMorphing() {
  return TspActiveSkinObject::CanMorphing() && !(MenuItem && FDown);
}

void TspSkinButtonObject::ReleaseGroup() {
  if (GroupIndex == -1) return;
  for (Integer I = 0; I < Parent->ObjectCount(); ++I) {
    auto* B = dynamic_cast<TspSkinButtonObject*>(Parent->ObjectAt(I));
    if (B && B->IDName != IDName && B->GroupIndex == GroupIndex && B->FDown) {
      B->SetDown(false);
      return;
    }
  }
}

void TspSkinButtonObject::SetDown(Boolean Value) {
  FDown = Value;
  if (MenuItem && IsNullRect(DownRect)) {
    if (FDown) {
      FMouseIn = true;
      Active = true;
      if (EnableMorphing()) SetMorphKf(1);
      Parent->DrawSkinObject(this);
    } else {
      Parent->DrawSkinObject(this);
      if (EnableMorphing()) ReDraw();
    }
    return;
  }
  if (IsNullRect(DownRect)) {
    if (FDown) ReleaseGroup();
    return;
  }
  if (FDown) {
    if (EnableMorphing()) SetMorphKf(1);
    Parent->DrawSkinObject(this);
    ReleaseGroup();
    return;
  }
  if (GroupIndex != -1 || MenuItem) Active = false;
  if (EnableMorphing()) Parent->DrawSkinObject(this);
  ReDraw();
}

void TspSkinButtonObject::TrackMenu() {
  if (!MenuItem || MenuItem->Count() == 0) return;
  if (Parent->FLayerManager->IsVisible) Parent->FLayerManager->Hide();
  if (Parent->FMenuLayerManager->IsVisible) Parent->FMenuLayerManager->Hide();
  if (FMouseIn) ShowLayer();
  Parent->TrackObjectMenu(MenuItem, ObjectRect, FPopupUp, true);
}

void TspSkinButtonObject::MouseDown(Integer X, Integer Y, TMouseButton Button) {
  if (!Enabled) return;
  if (Button == mbLeft && !FDown) {
    SetDown(true);
    TrackMenu();
  }
  TspActiveSkinObject::MouseDown(X, Y, Button);
}

void TspSkinButtonObject::MouseUp(Integer X, Integer Y, TMouseButton Button) {
  if (!Enabled) return;
  if (Button == mbLeft && FDown && GroupIndex == -1 && !MenuItem) SetDown(false);
  TspActiveSkinObject::MouseUp(X, Y, Button);
}

void TspSkinButtonObject::MouseEnter() {
  FMouseIn = true;
  Active = true;
  const Boolean PressedLook = FDown && !IsNullRect(DownRect);
  if (!PressedLook) {
    if (!IsNullRect(ActiveSkinRect)) ReDraw();
    if (MenuItem) ShowLayer();
  } else if (GroupIndex == -1) {
    Parent->DrawSkinObject(this);
  }
  Parent->DoMouseEnterEvent(IDName);
  if (!MenuItem) ShowLayer();
}

void TspSkinButtonObject::MouseLeave() {
  FMouseIn = false;
  const Boolean PressedLook = FDown && !IsNullRect(DownRect);
  if (MenuItem && FDown && IsNullRect(DownRect)) {
    Active = false;
  } else if (PressedLook && (MenuItem || GroupIndex != -1)) {
    // Keeps its pressed state and look.
  } else {
    Active = false;
    if (EnableMorphing() && FDown) SetMorphKf(1);
    if (!IsNullRect(ActiveSkinRect) || (!IsNullRect(DownRect) && GroupIndex == -1)) ReDraw();
    if (MenuItem) HideLayer();
  }
  Parent->DoMouseLeaveEvent(IDName);
  if (!MenuItem) HideLayer();
}

// ---------------------------------------------------------------------------------------
// Caption button

TspSkinStdButtonObject::TspSkinStdButtonObject(TspFormSkin* AParent, TspDataSkinStdButton* AData)
    : TspSkinButtonObject(AParent, AData) {
  if (!AData) return;
  FSkinSupport = true;
  Command = AData->Command;
  RestoreRect = AData->RestoreRect;
  RestoreActiveRect = AData->RestoreActiveRect;
  RestoreDownRect = AData->RestoreDownRect;
  RestoreInActiveRect = AData->RestoreInActiveRect;
  RestoreHint = AData->RestoreHint;
  FTempHint = AData->Hint;
  AlphaMaskPictureIndex = AData->AlphaMaskPictureIndex;
  AlphaMaskActivePictureIndex = AData->AlphaMaskActivePictureIndex;
  AlphaMaskInActivePictureIndex = AData->AlphaMaskInActivePictureIndex;
}

Boolean TspSkinStdButtonObject::RestoreState() const {
  const TWindowState S = Parent->WindowState();
  return (Command == cmMaximize && S == wsMaximized) || (Command == cmMinimize && S == wsMinimized) ||
         (Command == cmRollUp && Parent->RollUpState());
}

Boolean TspSkinStdButtonObject::IsIconButton() const {
  return FSkinSupport && Command == cmSysMenu && SkinRectInAPicture && Parent->ShowIcon();
}

Boolean TspSkinStdButtonObject::ShowsInActiveLook() const {
  return FSkinSupport && !Parent->FFormActive && !IsNullRect(InActiveSkinRect);
}

Boolean TspSkinStdButtonObject::PointInMask(Integer X, Integer Y) {
  return IsIconButton() || TspActiveSkinObject::PointInMask(X, Y);
}

void TspSkinStdButtonObject::ShowLayer() {
  if (IsIconButton() || ShowsInActiveLook()) return;
  TspSkinButtonObject::ShowLayer();
}

void TspSkinStdButtonObject::HideLayer() {
  if (IsIconButton() || ShowsInActiveLook()) return;
  TspSkinButtonObject::HideLayer();
}

Boolean TspSkinStdButtonObject::CanMorphing() {
  return !IsIconButton() && TspSkinButtonObject::CanMorphing();
}

void TspSkinStdButtonObject::Draw(TCanvas* Cnvs, Boolean UpDate) {
  if (!FSkinSupport) return DefaultDraw(Cnvs);
  if (!Skinned()) return;
  if (IsIconButton()) {
    Parent->DrawFormIcon(Cnvs, ObjectRect.Left, ObjectRect.Top);
    SetMorphKf(0);
    return;
  }
  if (Enabled && RestoreState() && !IsNullRect(RestoreRect) && ActivePicture) {
    TRect R = RestoreRect;
    if (!Parent->FFormActive && !IsNullRect(RestoreInActiveRect)) {
      R = RestoreInActiveRect;
    } else if (FDown && FMouseIn && !IsNullRect(RestoreDownRect)) {
      R = RestoreDownRect;
    } else if (EnableMorphing() && ((Active && MorphKf() != 1) || (!Active && MorphKf() != 0)) &&
               !IsNullRect(RestoreActiveRect)) {
      const Integer W = RectWidth(ObjectRect), H = RectHeight(ObjectRect);
      if (W <= 0 || H <= 0) return;
      TOwned<TBitmap> Normal = FrameButtonLookImage(ActivePicture, RestoreRect, W, H);
      TOwned<TBitmap> Hot = FrameButtonLookImage(ActivePicture, RestoreActiveRect, W, H);
      auto NormalEffect = CreateOwned<TspEffectBmp>(Normal->Handle());
      auto HotEffect = CreateOwned<TspEffectBmp>(Hot->Handle());
      vantrel::skin::MorphByKind(NormalEffect.get(), HotEffect.get(), MorphKind, MorphKf());
      NormalEffect->Draw(Cnvs->Handle(), ObjectRect.Left, ObjectRect.Top);
      return;
    } else if (Active && !IsNullRect(RestoreActiveRect)) {
      R = RestoreActiveRect;
    }
    FrameButtonCopyLook(Cnvs, ActivePicture, ObjectRect, R);
    return;
  }
  TspSkinButtonObject::Draw(Cnvs, UpDate);
}

void TspSkinStdButtonObject::DefaultDraw(TCanvas* Cnvs) {
  if (Command == cmSysMenu && Parent->ShowIcon()) {
    Parent->DrawFormIcon(Cnvs, ObjectRect.Left, ObjectRect.Top);
    return;
  }
  const Integer W = RectWidth(ObjectRect), H = RectHeight(ObjectRect);
  if (W <= 0 || H <= 0) return;
  auto B = CreateOwned<TBitmap>();
  B->SetPixelFormat(pf24bit);
  B->SetSize(W, H);
  TCanvas* C = B->Canvas();
  const TRect R = Rect(0, 0, W, H);
  const Boolean Pressed = FDown && FMouseIn;
  if (Pressed || FMouseIn) {
    C->Brush()->SetColor(clNavy);
    C->FillRect(R);
    C->Brush()->SetColor(Pressed ? RGB(133, 147, 181) : RGB(182, 189, 210));
    C->FillRect(Rect(1, 1, W - 1, H - 1));
  } else {
    C->Brush()->SetColor(clBtnFace);
    C->FillRect(R);
  }
  Integer X = W / 2 - 5, Y = H / 2 - 4;
  if (Pressed) {
    ++X;
    ++Y;
  }
  const TColor Glyph = Enabled ? clBtnText : clBtnShadow;
  const TWindowState S = Parent->WindowState();
  switch (Command) {
    case cmClose: DrawCloseImage(C, X, Y, Glyph); break;
    case cmMaximize:
      if (S == wsMaximized)
        DrawRestoreImage(C, X, Y, Glyph);
      else
        DrawMaximizeImage(C, X, Y, Glyph);
      break;
    case cmMinimize:
      if (S == wsMinimized)
        DrawRestoreImage(C, X, Y, Glyph);
      else
        DrawMinimizeImage(C, X, Y, Glyph);
      break;
    case cmSysMenu: DrawSysMenuImage(C, X, Y, Glyph); break;
    case cmRollUp:
      if (Parent->RollUpState())
        DrawRollDownImage(C, X, Y, Glyph);
      else
        DrawRollUpImage(C, X, Y, Glyph);
      break;
    case cmMinimizeToTray: DrawMinimizeToTrayImage(C, X, Y, Glyph); break;
    case cmDefault: break;
  }
  Cnvs->Draw(ObjectRect.Left, ObjectRect.Top, B.get());
}

void TspSkinStdButtonObject::DoClose() { Parent->FForm->Close(); }

void TspSkinStdButtonObject::DoMax() {
  if (Parent->SupportNCArea()) HideLayer();
  Parent->SetWindowState(Parent->WindowState() == wsMaximized ? wsNormal : wsMaximized);
}

void TspSkinStdButtonObject::DoMin() {
  if (Parent->SupportNCArea()) {
    HideLayer();
    Parent->SetWindowState(Parent->WindowState() == wsMinimized ? wsNormal : wsMinimized);
  } else {
    Parent->SetWindowState(wsMinimized);
  }
}

void TspSkinStdButtonObject::DoRollUp() { Parent->SetRollUpState(!Parent->RollUpState()); }

void TspSkinStdButtonObject::DoMinToTray() { Parent->MinimizeToTray(); }

void TspSkinStdButtonObject::DoCommand() {
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
    case cmRollUp: DoRollUp(); break;
    case cmMinimizeToTray:
      Parent->TestActiveObject(-1, -1, false);
      DoMinToTray();
      break;
    case cmSysMenu:
    case cmDefault: break;
  }
}

void TspSkinStdButtonObject::DblClick() {
  if (Command == cmSysMenu) DoClose();
}

// The plain look of a frame without a skin follows hover and press at once (it has no
// skin looks whose redraws would show them).
void TspSkinStdButtonObject::RedrawPlain() {
  if (!FSkinSupport) Parent->DrawSkinObject(this);
}

void TspSkinStdButtonObject::MouseDown(Integer, Integer, TMouseButton Button) {
  if (!Enabled || Button != mbLeft || FDown) return;
  if (Command == cmSysMenu) MenuItem = Parent->GetSystemMenuItems();
  SetDown(true);
  RedrawPlain();
  if (Command == cmSysMenu) TrackMenu();
}

void TspSkinStdButtonObject::MouseUp(Integer X, Integer Y, TMouseButton Button) {
  const Boolean Click = Active && Button == mbLeft;
  if (Command == cmClose) {
    TspSkinButtonObject::MouseUp(X, Y, Button);
    RedrawPlain();
    if (Click && Enabled) DoCommand();
    return;
  }
  if (Click && Enabled) DoCommand();
  TspSkinButtonObject::MouseUp(X, Y, Button);
  RedrawPlain();
}

void TspSkinStdButtonObject::MouseEnter() {
  if (Command != cmDefault) Hint = !RestoreHint.empty() && RestoreState() ? RestoreHint : FTempHint;
  TspSkinButtonObject::MouseEnter();
  RedrawPlain();
}

void TspSkinStdButtonObject::MouseLeave() {
  TspSkinButtonObject::MouseLeave();
  RedrawPlain();
}
