// The base of the frame's skin objects: construction from a descriptor, the mask test,
// the three looks and the morph between them, the hover glow and the mouse events that
// go out through the frame component.
#include "skin/forms/FormSkinObjects.h"

#include "platform/ui/Forms.h"
#include "platform/ui/Timers.h"
#include "skin/controls/SkinGeometry.h"
#include "skin/core/bitmaps/spEffBmp.h"
#include "skin/core/drawing/SPUtils.h"
#include "skin/forms/FormSkin.h"

namespace {

// The looks of an object as two work images of the object's size, cross-faded by a
// morph kind.
void MorphObjectImage(TspEffectBmp* Normal, TspEffectBmp* Target, TMorphKind Kind, Double Kf) {
  switch (Kind) {
    case mkDefault: Normal->Morph(Target, Kf); break;
    case mkGradient: Normal->MorphGrad(Target, Kf); break;
    case mkLeftGradient: Normal->MorphLeftGrad(Target, Kf); break;
    case mkRightGradient: Normal->MorphRightGrad(Target, Kf); break;
    case mkLeftSlide: Normal->MorphLeftSlide(Target, Kf); break;
    case mkRightSlide: Normal->MorphRightSlide(Target, Kf); break;
    case mkPush: Normal->MorphPush(Target, Kf); break;
  }
}

// A 24-bit bitmap of W x H holding rectangle R of Source (stretched to fit).
TOwned<TBitmap> ObjectLookImage(TBitmap* Source, const TRect& R, Integer W, Integer H) {
  auto B = CreateOwned<TBitmap>();
  B->SetPixelFormat(pf24bit);
  B->SetSize(W, H);
  if (Source) B->Canvas()->CopyRect(Rect(0, 0, W, H), Source->Canvas(), R);
  return B;
}

}  // namespace

TspActiveSkinObject::TspActiveSkinObject(TspFormSkin* AParent, TspDataSkinObject* AData)
    : Parent(AParent), SD(AParent ? AParent->SkinData() : nullptr) {
  if (AData) {
    IDName = AData->IDName;
    Hint = AData->Hint;
    SkinRectInAPicture = AData->SkinRectInAPicture;
    SkinRect = AData->SkinRect;
    ActiveSkinRect = AData->ActiveSkinRect;
    InActiveSkinRect = AData->InActiveSkinRect;
    Morphing = AData->Morphing;
    MorphKind = AData->MorphKind;
    CursorIndex = AData->CursorIndex;
    RollUp = AData->RollUp;
    GlowLayerPictureIndex = AData->GlowLayerPictureIndex;
    GlowLayerMaskPictureIndex = AData->GlowLayerMaskPictureIndex;
    GlowLayerOffsetX = AData->GlowLayerOffsetX;
    GlowLayerOffsetY = AData->GlowLayerOffsetY;
    GlowLayerAlphaBlendValue = AData->GlowLayerAlphaBlendValue;
    ActivePicture = SkinActivePicture(SD, AData->ActivePictureIndex);
    if (!ActivePicture) ActiveSkinRect = NullRect();
    ActiveMaskPicture = SkinActivePicture(SD, AData->ActiveMaskPictureIndex);
  }
  ObjectRect = SkinRect;
  if (SD) Picture = RollUp ? SD->FRollUpPicture.get() : SD->FPicture.get();
}

Boolean TspActiveSkinObject::Skinned() const { return SD && !SD->Empty; }

Boolean TspActiveSkinObject::PointInMask(Integer X, Integer Y) {
  if (!Skinned() || !ActiveMaskPicture || ActiveMaskPicture->Empty()) return true;
  // The last column and row of the rectangle lie outside the mask picture.
  if (X < 0 || Y < 0 || X >= ActiveMaskPicture->Width() || Y >= ActiveMaskPicture->Height())
    return false;
  return ColorToRGB(ActiveMaskPicture->Canvas()->Pixels(X, Y)) == 0;
}

void TspActiveSkinObject::CopyLook(TCanvas* Cnvs, TBitmap* Source, const TRect& R) {
  // A look whose picture the skin does not give is not drawn.
  if (!Source || Source->Empty() || IsNullRect(R)) return;
  Cnvs->CopyRect(ObjectRect, Source->Canvas(), R);
}

void TspActiveSkinObject::Draw(TCanvas* Cnvs, Boolean UpDate) {
  if (!Skinned()) return;
  TBitmap* NormalPicture = SkinRectInAPicture ? ActivePicture : Picture;
  if (Enabled && !Parent->GetFormActive() && !IsNullRect(InActiveSkinRect) && ActivePicture) {
    CopyLook(Cnvs, ActivePicture, InActiveSkinRect);
    return;
  }
  if (EnableMorphing() && ((Active && FMorphKf != 1) || (!Active && FMorphKf != 0)) &&
      ActivePicture && NormalPicture && !IsNullRect(ActiveSkinRect)) {
    const Integer W = RectWidth(ObjectRect), H = RectHeight(ObjectRect);
    if (W <= 0 || H <= 0) return;
    TOwned<TBitmap> NormalImage = ObjectLookImage(NormalPicture, SkinRect, W, H);
    TOwned<TBitmap> ActiveImage = ObjectLookImage(ActivePicture, ActiveSkinRect, W, H);
    DrawMorphed(Cnvs, NormalImage.get(), ActiveImage.get());
    return;
  }
  if (Active && !IsNullRect(ActiveSkinRect)) {
    CopyLook(Cnvs, ActivePicture, ActiveSkinRect);
    return;
  }
  if (!UpDate && !SkinRectInAPicture) return;
  CopyLook(Cnvs, NormalPicture, SkinRect);
}

void TspActiveSkinObject::DrawMorphed(TCanvas* Cnvs, TBitmap* Normal, TBitmap* Target) {
  auto NormalEffect = CreateOwned<TspEffectBmp>(Normal->Handle());
  auto TargetEffect = CreateOwned<TspEffectBmp>(Target->Handle());
  MorphObjectImage(NormalEffect.get(), TargetEffect.get(), MorphKind, FMorphKf);
  NormalEffect->Draw(Cnvs->Handle(), ObjectRect.Left, ObjectRect.Top);
}

Boolean TspActiveSkinObject::EnableMorphing() {
  if (!Morphing || !SD || !SD->EnableSkinEffects()) return false;
  return !Parent->UseFullLayeredBorder();
}

Boolean TspActiveSkinObject::CanMorphing() {
  return (Active && FMorphKf < 1) || (!Active && FMorphKf > 0);
}

void TspActiveSkinObject::SetMorphKf(Double Value) {
  FMorphKf = Value;
  if (FMorphKf < 0) FMorphKf = 0;
  if (FMorphKf > 1) FMorphKf = 1;
}

void TspActiveSkinObject::DoMorphing() {
  SetMorphKf(Active ? FMorphKf + 0.2 : FMorphKf - 0.2);
  Parent->DrawSkinObject(this);
}

void TspActiveSkinObject::ReDraw() {
  if (EnableMorphing())
    Parent->MorphTimer->SetEnabled(true);
  else
    Parent->DrawSkinObject(this);
}

void TspActiveSkinObject::ShowLayer() {
  if (!Skinned() || GlowLayerPictureIndex == -1 || !IsWin2000OrLater() ||
      !SD->ShowCaptionButtonGlowFrames())
    return;
  TBitmap* Image = SkinActivePicture(SD, GlowLayerPictureIndex);
  TBitmap* Mask = SkinActivePicture(SD, GlowLayerMaskPictureIndex);
  const TPoint Origin = Parent->ObjectScreenOrigin();
  TRect R = ObjectRect;
  OffsetRect(&R, Origin.X, Origin.Y);
  GlowLayers()->Show(R.Left - GlowLayerOffsetX, R.Top - GlowLayerOffsetY, Image, Mask,
                              GlowLayerAlphaBlendValue);
}

void TspActiveSkinObject::HideLayer() {
  if (!Skinned() || GlowLayerPictureIndex == -1 || !IsWin2000OrLater() ||
      !SD->ShowCaptionButtonGlowFrames())
    return;
  GlowLayers()->Hide();
}

TspLayerManager* TspActiveSkinObject::GlowLayers() const { return Parent->FLayerManager; }

void TspActiveSkinObject::MouseDown(Integer X, Integer Y, TMouseButton Button) {
  Parent->DoMouseDownEvent(IDName, X, Y, ObjectRect, Button);
}

void TspActiveSkinObject::MouseUp(Integer X, Integer Y, TMouseButton Button) {
  if (FMouseIn) Parent->DoMouseUpEvent(IDName, X, Y, ObjectRect, Button);
}

void TspActiveSkinObject::MouseMove(Integer X, Integer Y) {
  Parent->DoMouseMoveEvent(IDName, X, Y, ObjectRect);
}

void TspActiveSkinObject::MouseEnter() {
  FMouseIn = true;
  Active = true;
  if (!IsNullRect(ActiveSkinRect)) ReDraw();
  Parent->DoMouseEnterEvent(IDName);
  ShowLayer();
}

void TspActiveSkinObject::MouseLeave() {
  FMouseIn = false;
  Active = false;
  if (!IsNullRect(ActiveSkinRect)) ReDraw();
  Parent->DoMouseLeaveEvent(IDName);
  HideLayer();
}

void TspUserObject::Draw(TCanvas* Cnvs, Boolean) {
  Parent->DoPaintEvent(IDName, Cnvs, ObjectRect);
}
