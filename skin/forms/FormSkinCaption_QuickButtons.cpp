// The caption's quick buttons: a row of small image buttons at its left end, after an
// optional divider, with a hot face from the skin's tool-button look, pressed and clicked
// with the left button.
#include "platform/ui/ImgList.h"
#include "skin/controls/SkinGeometry.h"
#include "skin/core/drawing/SPUtils.h"
#include "skin/forms/FormSkin.h"
#include "skin/forms/FormSkinCaption.h"
#include "skin/forms/FormSkinQuickButtons.h"

namespace {

// The control descriptor whose hover and pressed looks dress a hot quick button.
TspDataSkinButtonControl* QuickButtonFaceData(TspSkinData* SD) {
  if (!SD || SD->Empty) return nullptr;
  for (const char* Name : {"officequickbutton", "resizetoolbutton"}) {
    const Integer I = SD->GetControlIndex(Name);
    if (I != -1) return dynamic_cast<TspDataSkinButtonControl*>(SD->CtrlList.Items(I));
  }
  return nullptr;
}

}  // namespace

Boolean TspSkinCaptionObject::QuickButtonsPresent() const {
  return Parent->SupportNCArea() && Parent->QuickButtons()->Count() > 0 && Parent->QuickImageList();
}

Integer TspSkinCaptionObject::QuickButtonsReserve() const {
  if (!QuickButtonsPresent()) return 0;
  const Integer Row = Parent->QuickButtons()->Count() * (Parent->QuickImageList()->Width() + 8);
  return IsNullRect(DividerRect) ? Row + 5 : RectWidth(DividerRect) + Row + 6;
}

Boolean TspSkinCaptionObject::DrawQuickButtonFace(TCanvas* Cnvs, const TRect& R, Boolean Down) {
  TspDataSkinButtonControl* D = QuickButtonFaceData(SD);
  TBitmap* Pic = D ? SkinActivePicture(SD, D->PictureIndex) : nullptr;
  if (!Pic) return false;
  const TRect Source = Down ? D->DownSkinRect : D->ActiveSkinRect;
  if (IsNullRect(Source) || RectWidth(R) <= 0 || RectHeight(R) <= 0) return false;
  auto Face = CreateOwned<TBitmap>();
  Face->SetPixelFormat(pf24bit);
  Face->SetSize(RectWidth(R), RectHeight(R));
  CreateStretchSkinImage(Face.get(), Pic, Source, D->ClRect, true);
  Cnvs->Draw(R.Left, R.Top, Face.get());
  return true;
}

TOwned<TBitmap> TspSkinCaptionObject::DividerPicture() const {
  if (IsNullRect(DividerRect) || !ActivePicture) return nullptr;
  auto Divider = CreateOwned<TBitmap>();
  Divider->SetPixelFormat(pf24bit);
  Divider->SetSize(RectWidth(DividerRect), RectHeight(DividerRect));
  Divider->Canvas()->CopyRect(Rect(0, 0, RectWidth(DividerRect), RectHeight(DividerRect)), ActivePicture->Canvas(),
                              DividerRect);
  if (DividerTransparent) {
    Divider->SetTransparentMode(tmFixed);
    Divider->SetTransparentColor(DividerTransparentColor);
    Divider->SetTransparent(true);
  }
  return Divider;
}

void TspSkinCaptionObject::DrawQuickButtons(TCanvas* Cnvs) {
  if (!QuickButtonsPresent()) return;
  TCustomImageList* Images = Parent->QuickImageList();
  const Integer IW = Images->Width(), IH = Images->Height();
  Integer X = ObjectRect.Left + 5;
  if (TOwned<TBitmap> Divider = DividerPicture()) {
    X = ObjectRect.Left + RectWidth(DividerRect) + 6;
    const Integer DY = ObjectRect.Top + RectHeight(TextRct) / 2 - RectHeight(DividerRect) / 2;
    Cnvs->Draw(ObjectRect.Left + 3, DY, Divider.get());
  }
  const Integer Y = ObjectRect.Top + RectHeight(ObjectRect) / 2 - IH / 2 - 2;
  TspQuickButtonItems* Items = Parent->QuickButtons();
  for (Integer I = 0; I < Items->Count(); ++I) {
    TspQuickButtonItem* Item = Items->Items(I);
    if (!Item->Visible()) continue;
    Item->ItemRect = Rect(X, Y, X + IW + 4, Y + IH + 4);
    if (Item->Active) DrawQuickButtonFace(Cnvs, Item->ItemRect, Item->Down);
    const Integer GX = Item->ItemRect.Left + RectWidth(Item->ItemRect) / 2 - IW / 2;
    const Integer GY = Item->ItemRect.Top + RectHeight(Item->ItemRect) / 2 - IH / 2;
    Images->Draw(Cnvs, GX, GY, Item->ImageIndex(), Item->Enabled());
    X += IW + 8;
  }
}

void TspSkinCaptionObject::TestActiveQuickButton(Integer X, Integer Y) {
  TspQuickButtonItems* Items = Parent->QuickButtons();
  if (Items->Count() == 0) return;
  OldActiveQuickButton = ActiveQuickButton;
  ActiveQuickButton = -1;
  const TPoint P = Point(X, Y);
  for (Integer I = 0; I < Items->Count(); ++I) {
    TspQuickButtonItem* Item = Items->Items(I);
    if (Item->Enabled() && Item->Visible() && PtInRect(&Item->ItemRect, P)) {
      ActiveQuickButton = I;
      break;
    }
  }
  Boolean FlagChanged = false;
  for (Integer I = 0; I < Items->Count(); ++I) {
    TspQuickButtonItem* Item = Items->Items(I);
    const Boolean Hot = I == ActiveQuickButton;
    if (Item->Active != Hot) FlagChanged = true;
    Item->Active = Hot;
  }
  const Boolean IndexChanged = ActiveQuickButton != OldActiveQuickButton;
  if (IndexChanged || FlagChanged) RepaintCaption();
  const Boolean HintShown = Parent->SkinHint() && Parent->QuickButtonsShowHint();
  if (IndexChanged && ActiveQuickButton != -1 && HintShown) {
    const String& Text = Items->Items(ActiveQuickButton)->Hint();
    if (!Text.empty()) Parent->ActivateObjectHint(Text);
  }
  if (FlagChanged && ActiveQuickButton == -1 && HintShown) Parent->HideObjectHint();
}

void TspSkinCaptionObject::QuickButtonDown(Integer X, Integer Y, TMouseButton Button) {
  TestActiveQuickButton(X, Y);
  TspQuickButtonItems* Items = Parent->QuickButtons();
  if (Button == mbLeft && ActiveQuickButton != -1) {
    for (Integer I = 0; I < Items->Count(); ++I) {
      TspQuickButtonItem* Item = Items->Items(I);
      Item->Down = I == ActiveQuickButton;
      if (I != ActiveQuickButton) Item->Active = false;
    }
    RepaintCaption();
  }
  if (Parent->QuickButtonsShowHint() && Parent->SkinHint()) Parent->HideObjectHint();
}

void TspSkinCaptionObject::QuickButtonUp(Integer X, Integer Y) {
  TestActiveQuickButton(X, Y);
  if (ActiveQuickButton == -1) return;
  TspQuickButtonItems* Items = Parent->QuickButtons();
  for (Integer I = 0; I < Items->Count(); ++I) Items->Items(I)->Down = false;
  RepaintCaption();
  // The handler may change the collection: the item is looked up again.
  if (ActiveQuickButton < Items->Count())
    if (TNotifyEvent Click = Items->Items(ActiveQuickButton)->OnClick) Click(this);
}
