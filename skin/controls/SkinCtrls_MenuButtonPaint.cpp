// The menu button's looks: its own skin picture with the pressed track part laid over it,
// the tool and nine-part styles composed part by part, the drop-down marker and the plain
// look without a skin.
#include "skin/controls/SkinCtrls.h"

void TspSkinMenuButton::DrawButtonImage(TBitmap* B, TRect R, Boolean ADown, Boolean AMouseIn) {
  switch (MenuButtonPartsStyle(FSkinDataName)) {
    case 1:
      DrawPartsStyle(B, true);
      return;
    case 2:
      DrawPartsStyle(B, false);
      return;
    default:
      break;
  }
  if (DrawTrackedImage(B)) return;
  TspSkinButton::DrawButtonImage(B, R, ADown, AMouseIn);
}

void TspSkinMenuButton::DrawPartsStyle(TBitmap* B, Boolean Stretch) {
  const TRect N = SkinRect;
  const TRect A = IsRectEmpty(&ActiveSkinRect) ? N : ActiveSkinRect;
  const TRect P = IsRectEmpty(&DownSkinRect) ? A : DownSkinRect;
  const Boolean Shift = FDown && FMouseIn;
  if (FTrackButtonMode) {
    const TRect Main = FMenuTracked ? A : Shift ? P : FMouseIn ? A : N;
    ComposeTrackParts(B, Main, FMenuTracked ? P : Main, Stretch);
  } else {
    ComposePart(B, Picture, Shift ? P : FMouseIn ? A : N, Width(), Height(), Stretch);
  }
  TRect TextRect = NewClRect;
  TextRect.Right -= MenuButtonTrackSize;
  TCanvas* C = B->Canvas();
  SetButtonFont(C, Shift, FMouseIn);
  if (ShowFocus && Focused()) {
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(FSD->SkinColors()->cBtnFace());
    DrawSkinFocusRect(C, NewClRect);
    C->Brush()->SetStyle(bsClear);
  }
  DrawButtonContent(C, TextRect, FDown, FMouseIn, Shift, Shift);
  DrawMarker(C, true);
}

void TspSkinMenuButton::DrawMarker(TCanvas* C, Boolean Skinned) {
  const TRect R = MarkerRect((FDown && FMouseIn) || FMenuTracked);
  if (!Skinned)
    DrawDropDownArrow(C, R, clBtnText);
  else if (IsRectEmpty(&MenuMarkerRect))
    DrawDropDownArrow(C, R, FMenuTracked ? DownFontColor : C->Font()->Color());
  else
    DrawMenuMarker(Picture, C, R, FMouseIn, FMenuTracked || (FDown && FMouseIn), false);
}

void TspSkinMenuButton::DrawDefaultImage(TBitmap* B) {
  TCanvas* C = BeginPlainImage(B);
  const Boolean Hot = FMouseIn || IsFocused();
  // Only a pressed track-button face shifts its content.
  Boolean Shift = false;
  if (FTrackButtonMode)
    Shift = DrawPlainTrackParts(C, Hot);
  else
    DrawPlainFace(C, ClientRect(), FDown && FMouseIn ? spfsPressed : Hot ? spfsHot : spfsNormal);
  C->Brush()->SetStyle(bsClear);
  TRect TextRect = ClientRect();
  TextRect.Right -= MenuButtonTrackSize;
  DrawButtonContent(C, TextRect, FDown, FMouseIn, Shift, Shift);
  DrawMarker(C, false);
}
