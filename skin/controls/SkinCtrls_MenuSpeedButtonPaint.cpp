// The menu speed button's looks: the tool and nine-part styles, the new style from the
// "resizetoolbutton" descriptor with its track strip, the flat resting look with its
// marker and the plain look without a skin.
#include "skin/controls/SkinCtrls.h"

void TspSkinMenuSpeedButton::Paint() {
  if (Width() <= 0 || Height() <= 0) return;
  GetSkinData();
  if (FMouseIn || FDown || FMenuTracked || !FFlat)
    PaintStateImage();
  else
    PaintFlatMenu();
}

void TspSkinMenuSpeedButton::DrawButtonImage(TBitmap* B, TRect R, Boolean ADown, Boolean AMouseIn) {
  if (FNewStyle && FSkinDataName == "resizetoolbutton") {
    DrawNewStyle(B, ADown, AMouseIn);
    return;
  }
  switch (MenuButtonPartsStyle(FSkinDataName)) {
    case 1:
      DrawPartsStyle(B, true, ADown, AMouseIn);
      return;
    case 2:
      DrawPartsStyle(B, false, ADown, AMouseIn);
      return;
    default:
      break;
  }
  if (DrawTrackedImage(B)) return;
  TspSkinSpeedButton::DrawButtonImage(B, R, ADown, AMouseIn);
}

void TspSkinMenuSpeedButton::DrawPartsStyle(TBitmap* B, Boolean Stretch, Boolean ADown, Boolean AMouseIn) {
  const TRect N = SkinRect;
  const TRect A = IsRectEmpty(&ActiveSkinRect) ? N : ActiveSkinRect;
  const TRect P = IsRectEmpty(&DownSkinRect) ? A : DownSkinRect;
  const Boolean Pressed = ADown && AMouseIn, Active = AMouseIn;
  // A flat button that is not active gets no picture at all.
  const Boolean Pictured = Pressed || Active || !FFlat;
  const TRect Whole = Pressed ? P : Active ? A : N;
  if (FTrackButtonMode && (FMenuTracked || Pictured)) {
    ComposeTrackParts(B, FMenuTracked ? A : Whole, FMenuTracked ? P : Whole, Stretch);
  } else if (!FTrackButtonMode && Pictured) {
    ComposePart(B, Picture, Whole, Width(), Height(), Stretch);
  }
  TCanvas* C = B->Canvas();
  SetButtonFont(C, ADown, AMouseIn);
  TRect TextRect = NewClRect;
  TextRect.Right -= MenuButtonTrackSize;
  DrawButtonContent(C, TextRect, ADown, AMouseIn, true);
  const TRect M = MarkerRect(false);
  if (FDrawStandardArrow)
    DrawArrow(C, M, C->Font()->Color(), FArrowType);
  else if (!IsRectEmpty(&MenuMarkerRect))
    DrawMenuMarker(Picture, C, M, Active, Pressed || FMenuTracked, false);
  else
    DrawDropDownArrow(C, M, FMenuTracked ? DownFontColor : C->Font()->Color());
}

namespace {

// Part R of a canvas drawn from descriptor D: its pressed, active or normal picture in
// nine pieces moved to R's size.
void DrawMenuSpeedDescriptorPart(TspSkinData* SD, TspDataSkinButtonControl* D, TCanvas* C, Boolean Pressed,
                                 Boolean Active, const TRect& R) {
  TBitmap* Pic = SkinActivePicture(SD, D->PictureIndex);
  const Integer W = RectWidth(R), H = RectHeight(R);
  if (!Pic || W <= 0 || H <= 0) return;
  const TRect ActiveR = IsRectEmpty(&D->ActiveSkinRect) ? D->SkinRect : D->ActiveSkinRect;
  const TRect DownR = IsRectEmpty(&D->DownSkinRect) ? ActiveR : D->DownSkinRect;
  const TRect Src = Pressed && Active ? DownR : Active ? ActiveR : D->SkinRect;
  const Integer DW = W - RectWidth(D->SkinRect), DH = H - RectHeight(D->SkinRect);
  auto Part = CreateOwned<TBitmap>();
  Part->SetSize(W, H);
  CreateSkinImage(D->LTPoint, D->RTPoint, D->LBPoint, D->RBPoint, D->ClRect, D->LTPoint,
                  Point(D->RTPoint.X + DW, D->RTPoint.Y), Point(D->LBPoint.X, D->LBPoint.Y + DH),
                  Point(D->RBPoint.X + DW, D->RBPoint.Y + DH),
                  Rect(D->ClRect.Left, D->ClRect.Top, D->ClRect.Right + DW, D->ClRect.Bottom + DH), Part.get(), Pic,
                  Src, W, H, true, D->LeftStretch, D->TopStretch, D->RightStretch, D->BottomStretch,
                  D->StretchEffect, D->StretchType);
  C->Draw(R.Left, R.Top, Part.get());
}

TspDataSkinButtonControl* MenuSpeedDescriptor(TspSkinData* SD, const char* Name) {
  const Integer I = SD->GetControlIndex(Name);
  return I == -1 ? nullptr : dynamic_cast<TspDataSkinButtonControl*>(SD->CtrlList.Items(I));
}

}  // namespace

void TspSkinMenuSpeedButton::DrawNewStyle(TBitmap* B, Boolean ADown, Boolean AMouseIn) {
  TspDataSkinButtonControl* Body = MenuSpeedDescriptor(FSD, "resizetoolbutton");
  if (!Body) Body = MenuSpeedDescriptor(FSD, "resizebutton");
  if (!Body) return;
  const Boolean Bottom = FTrackPosition == sptpBottom;
  const TRect Strip = TrackStrip();
  const TRect Rest = RestOfStrip();
  TRect BodyR = ClientRect();
  TspDataSkinButtonControl* Track = nullptr;
  if (AMouseIn && FTrackButtonMode) {
    Track = MenuSpeedDescriptor(FSD, Bottom ? "htracktoolbutton" : "vtracktoolbutton");
    if (!Track) {
      Track = Body;
      BodyR = Rest;
    }
  }
  TCanvas* C = B->Canvas();
  const Boolean BodyPressed = ADown && AMouseIn && !(FTrackButtonMode && FMenuTracked);
  DrawMenuSpeedDescriptorPart(FSD, Body, C, BodyPressed, AMouseIn, BodyR);
  if (Track) DrawMenuSpeedDescriptorPart(FSD, Track, C, FMenuTracked, true, Strip);
  SetButtonFont(C, BodyPressed, AMouseIn);
  DrawButtonContent(C, Rest, ADown, AMouseIn, true);
  if (!IsRectEmpty(&MenuMarkerRect))
    DrawMenuMarker(Picture, C, Strip, AMouseIn, false, false);
  else
    DrawDropDownArrow(C, Strip, FMenuTracked ? DownFontColor : C->Font()->Color());
}

void TspSkinMenuSpeedButton::PaintFlatMenu() {
  const Boolean Skinned = FIndex != -1;
  const Boolean OwnPicture = Skinned && MenuButtonPartsStyle(FSkinDataName) == 0;
  TRect TextR = RestOfStrip(), MarkR = TrackStrip();
  if (OwnPicture) {
    TextR = NewClRect;
    MarkR = Rect(TextR.Right, TextR.Top, Width(), TextR.Bottom);
  }
  TCanvas* C = Canvas();
  TFont* F = C->Font();
  if (Skinned && FUseSkinFont) {
    F->SetName(FontName);
    F->SetStyle(FontStyle);
    F->SetHeight(FontHeight);
  } else {
    F->Assign(DefaultFont());
  }
  F->SetCharset(FSD && FSD->ResourceStrData() ? FSD->ResourceStrData()->CharSet() : DefaultFont()->Charset());
  if (Skinned)
    F->SetColor(!Enabled()            ? FSD->SkinColors()->cBtnShadow()
                : FUseSkinFontColor ? FSD->SkinColors()->cBtnText()
                                    : DefaultFont()->Color());
  if (!Enabled()) F->SetColor(clBtnShadow);
  C->Brush()->SetStyle(bsClear);
  DrawButtonContent(C, TextR, FDown, FMouseIn, false);
  if (!Skinned)
    DrawDropDownArrow(C, MarkR, clBtnText);
  else if (!IsRectEmpty(&MenuMarkerFlatRect))
    DrawMenuMarker(Picture, C, MarkR, false, false, true);
  else
    DrawDropDownArrow(C, MarkR, FSD->SkinColors()->cBtnText());
}

void TspSkinMenuSpeedButton::DrawDefaultImage(TBitmap* B) {
  TCanvas* C = BeginPlainImage(B);
  const TRect Whole = ClientRect();
  if (FNewStyle) {
    const TRect Strip = TrackStrip();
    const TRect Rest = RestOfStrip();
    if (FTrackButtonMode && FMouseIn) {
      DrawPlainFace(C, Rest, FMenuTracked ? spfsHot : FDown ? spfsPressed : spfsHot);
      DrawPlainFace(C, Strip, FMenuTracked ? spfsPressed : spfsHot);
    } else if (FDown && FMouseIn) {
      DrawPlainFace(C, Whole, spfsPressed);
    } else if (FMouseIn) {
      DrawPlainFace(C, Whole, spfsHot);
    } else if (!FFlat) {
      DrawPlainFace(C, Whole, spfsNormal);
    }
    C->Brush()->SetStyle(bsClear);
    DrawButtonContent(C, Rest, FDown, FMouseIn, true);
    DrawDropDownArrow(C, Strip, clBtnText);
    return;
  }
  Boolean Shift = false;
  if (FTrackButtonMode) {
    Shift = DrawPlainTrackParts(C, FMouseIn);
  } else {
    Shift = FDown && FMouseIn;
    DrawPlainFace(C, Whole, Shift ? spfsPressed : FMouseIn ? spfsHot : spfsNormal);
  }
  C->Brush()->SetStyle(bsClear);
  DrawButtonContent(C, RestOfStrip(), Shift, FMouseIn, true, Shift);
  DrawDropDownArrow(C, MarkerRect(Shift || FMenuTracked), clBtnText);
}
