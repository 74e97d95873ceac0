// A title of the form's main menu drawn in the frame's menu band.
#include "skin/forms/FormSkinObjects.h"

#include "platform/win/DrawText.h"
#include "skin/core/drawing/SPUtils.h"
#include "skin/forms/FormSkin.h"
#include "skin/forms/SkinMenus.h"

TspSkinMainMenuItem::TspSkinMainMenuItem(TspFormSkin* AParent, TspDataSkinMainMenuItem* AData)
    : TspActiveSkinObject(AParent, AData) {
  if (AData) {
    FontName = AData->FontName;
    FontHeight = AData->FontHeight;
    FontStyle = AData->FontStyle;
    FontColor = AData->FontColor;
    ActiveFontColor = AData->ActiveFontColor;
    DownFontColor = AData->DownFontColor;
    UnEnabledFontColor = AData->UnEnabledFontColor;
    TextRct = AData->TextRct;
    DownRect = AData->DownRect;
    LO = AData->ItemLO;
    RO = AData->ItemRO;
    if (IsNullRect(DownRect)) DownRect = IsNullRect(ActiveSkinRect) ? SkinRect : ActiveSkinRect;
    if (IsNullRect(ActiveSkinRect)) Morphing = false;
  }
  OldEnabled = Enabled;
  Visible = true;
}

void TspSkinMainMenuItem::SetItemFont(TCanvas* Cnvs) const {
  TFont* F = Cnvs->Font();
  F->SetName(FontName);
  F->SetStyle(FontStyle);
  F->SetHeight(FontHeight);
}

TRect TspSkinMainMenuItem::ItemRect(TCanvas* Cnvs) {
  const Integer Fixed = RectWidth(SkinRect) + TextRct.Left - TextRct.Right;
  SetItemFont(Cnvs);
  TRect T = Rect(0, 0, 0, 0);
  DrawWideText(Cnvs, MenuItem ? MenuItem->Caption() : String(), T, DT_CALCRECT | DT_CENTER);
  const Integer TW = RectWidth(T);
  Integer Left = 0;
  for (TspActiveSkinObject* Obj : Parent->ObjectList) {
    if (Obj == this) break;
    if (auto* Prior = dynamic_cast<TspSkinMainMenuItem*>(Obj)) Left = Prior->ObjectRect.Right;
  }
  if (Left == 0) Left = Parent->NewMainMenuRect.Left;
  const Integer Top = Parent->NewMainMenuRect.Top;
  return Rect(Left, Top, Left + Fixed + TW + 2, Top + RectHeight(SkinRect));
}

void TspSkinMainMenuItem::CreateItemImage(TBitmap* B, const TRect& R, Boolean AActive) {
  // The normal look lies in the frame picture unless the skin says it is in the active
  // picture, as for the frame's other objects. The composer leaves the middle empty when
  // the picture has none.
  TBitmap* Source = R == SkinRect && !SkinRectInAPicture && Picture ? Picture : ActivePicture;
  CreateHSkinImage(LO, RO, B, Source, R, RectWidth(ObjectRect), RectHeight(ObjectRect), false);
  TCanvas* C = B->Canvas();
  SetItemFont(C);
  C->Brush()->SetStyle(bsClear);
  TColor Colour = UnEnabledFontColor;
  if (FDown)
    Colour = DownFontColor;
  else if (AActive)
    Colour = ActiveFontColor;
  else if (MenuItem && MenuItem->Enabled())
    Colour = FontColor;
  C->Font()->SetColor(Colour);
  const String Caption = MenuItem ? MenuItem->Caption() : String();
  TRect T = Rect(TextRct.Left, TextRct.Top, TextRct.Left, TextRct.Top);
  DrawWideText(C, Caption, T, DT_CALCRECT | DT_CENTER);
  T.Right += 2;
  T.Bottom = std::max(T.Bottom, TextRct.Bottom);
  DrawWideText(C, Caption, T, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

void TspSkinMainMenuItem::Draw(TCanvas* Cnvs, Boolean UpDate) {
  if (IsNullRect(SkinRect) || IsNullRect(TextRct) || !ActivePicture) return;
  TBitmap Work;
  ObjectRect = ItemRect(Work.Canvas());
  TempObjectRect = Rect(0, 0, 0, 0);
  if (ObjectRect.Right > Parent->NewMainMenuRect.Right) {
    if (Visible) {
      OldEnabled = Enabled;
      Enabled = false;
      Visible = false;
    }
    return;
  }
  if (!Visible) {
    Visible = true;
    Enabled = OldEnabled;
  }
  if (Parent->FSupportNCArea && !UpDate && Parent->NewClRect.Bottom < ObjectRect.Top) {
    TempObjectRect = ObjectRect;
    OffsetRect(&ObjectRect, 0, -Parent->NewClRect.Bottom);
  }
  const Boolean Still =
      !EnableMorphing() || (Active && MorphKf() == 1) || (!Active && MorphKf() == 0);
  TBitmap B;
  if (FDown) {
    CreateItemImage(&B, DownRect, true);
    Cnvs->Draw(ObjectRect.Left, ObjectRect.Top, &B);
  } else if (Still) {
    if (Active)
      CreateItemImage(&B, IsNullRect(ActiveSkinRect) ? SkinRect : ActiveSkinRect, true);
    else
      CreateItemImage(&B, SkinRect, false);
    Cnvs->Draw(ObjectRect.Left, ObjectRect.Top, &B);
  } else {
    TBitmap Hot;
    CreateItemImage(&B, SkinRect, false);
    CreateItemImage(&Hot, ActiveSkinRect, true);
    DrawMorphed(Cnvs, &B, &Hot);
  }
  if (!IsNullRect(TempObjectRect)) ObjectRect = TempObjectRect;
}

void TspSkinMainMenuItem::SetDown(Boolean Value) {
  FDown = Value;
  if (FDown) {
    Parent->DrawSkinObject(this);
    TrackMenu();
    if (!Parent->InMainMenu) {
      Parent->InMainMenu = true;
      if (Parent->OnMainMenuEnter) Parent->OnMainMenuEnter(Parent);
    }
  } else {
    Active = false;
    if (EnableMorphing()) SetMorphKf(1);
    ReDraw();
  }
}

void TspSkinMainMenuItem::TrackMenu() {
  Parent->SkinMenuOpen();
  TRect R = ObjectRect;
  const TPoint Origin = Parent->FrameScreenOrigin();
  OffsetRect(&R, Origin.X, Origin.Y);
  auto* Main = MenuItem ? dynamic_cast<TspSkinMainMenu*>(MenuItem->GetParentMenu()) : nullptr;
  if (Main && Main->SkinData()) {
    Parent->SkinMenu->Popup(nullptr, Main->SkinData(), 0, R, MenuItem, Main->SkinData()->MainMenuPopupUp);
  } else {
    TspSkinData* Own = Parent->SkinData();
    Parent->SkinMenu->Popup(nullptr, Parent->MenuSkin(), 0, R, MenuItem, Own && Own->MainMenuPopupUp);
  }
}

void TspSkinMainMenuItem::LeaveOtherItem() {
  for (TspActiveSkinObject* Obj : Parent->ObjectList) {
    auto* Other = dynamic_cast<TspSkinMainMenuItem*>(Obj);
    if (!Other || Other->IDName == IDName) continue;
    if (Other->Active) {
      Other->MouseLeave();
      return;
    }
  }
}

Boolean TspSkinMainMenuItem::ReleaseOtherItem() {
  for (TspActiveSkinObject* Obj : Parent->ObjectList) {
    auto* Other = dynamic_cast<TspSkinMainMenuItem*>(Obj);
    if (!Other || Other->IDName == IDName) continue;
    if (Other->FDown) {
      Other->SetDown(false);
      return true;
    }
  }
  return false;
}

void TspSkinMainMenuItem::MouseDown(Integer X, Integer Y, TMouseButton Button) {
  if (!Enabled) return;
  if (Button == mbLeft && MenuItem) {
    if (MenuItem->Count() > 0) {
      SetDown(true);
    } else {
      SetDown(false);
      Parent->InMenu = false;
      if (Parent->InMainMenu) Parent->ExitMainMenuMode();
      if (TMenu* Menu = MenuItem->GetParentMenu()) Menu->DispatchCommand(MenuItem->Command());
    }
  }
  TspActiveSkinObject::MouseDown(X, Y, Button);
}

void TspSkinMainMenuItem::MouseEnter() {
  if (ReleaseOtherItem()) {
    Active = true;
    FMouseIn = true;
    if (EnableMorphing()) SetMorphKf(1);
    SetDown(true);
    return;
  }
  LeaveOtherItem();
  FMouseIn = true;
  Active = true;
  ReDraw();
}

void TspSkinMainMenuItem::MouseLeave() {
  Active = false;
  FMouseIn = false;
  if (EnableMorphing() && FDown) SetMorphKf(0);
  ReDraw();
  Parent->DoMouseLeaveEvent(IDName);
}
