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
  if (FMenuTracked && FTrackButtonMode && !IsRectEmpty(&TrackButtonRect) && !IsRectEmpty(&DownSkinRect)) {
    TspSkinButton::DrawButtonImage(B, ActiveSkinRect, false, true);
    PasteTrackPart(B, Picture, TrackButtonRect, GetTrackPartRect());
    return;
  }
  TspSkinButton::DrawButtonImage(B, R, ADown, AMouseIn);
}

void TspSkinMenuButton::DrawPartsStyle(TBitmap* B, Boolean Stretch) {
  const TRect N = SkinRect;
  const TRect A = IsRectEmpty(&ActiveSkinRect) ? N : ActiveSkinRect;
  const TRect P = IsRectEmpty(&DownSkinRect) ? A : DownSkinRect;
  const Integer W = Width(), H = Height(), T = MenuButtonTrackSize;
  const Boolean Shift = FDown && FMouseIn;
  if (FTrackButtonMode) {
    const TRect Main = FMenuTracked ? A : Shift ? P : FMouseIn ? A : N;
    const TRect Track = FMenuTracked ? P : Main;
    auto Part = CreateOwned<TBitmap>();
    ComposePart(Part.get(), Picture, Main, W - T, H, Stretch);
    B->Canvas()->Draw(0, 0, Part.get());
    ComposePart(Part.get(), Picture, Track, T, H, Stretch);
    B->Canvas()->Draw(W - T, 0, Part.get());
  } else {
    ComposePart(B, Picture, Shift ? P : FMouseIn ? A : N, W, H, Stretch);
  }
  TRect TextRect = NewClRect;
  TextRect.Right -= T;
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
  TRect R = ClientRect();
  R.Left = Width() - MenuButtonTrackSize;
  if ((FDown && FMouseIn) || FMenuTracked) {
    R.Top += 2;
    R.Left = Width() - 13;
  }
  if (!Skinned)
    DrawDropDownArrow(C, R, clBtnText);
  else if (IsRectEmpty(&MenuMarkerRect))
    DrawDropDownArrow(C, R, FMenuTracked ? DownFontColor : C->Font()->Color());
  else
    DrawMenuMarker(Picture, C, R, FMouseIn, FMenuTracked || (FDown && FMouseIn), false);
}

void TspSkinMenuButton::DrawDefaultImage(TBitmap* B) {
  TspSkinCustomControl::DrawDefaultImage(B);
  TCanvas* C = B->Canvas();
  C->Font()->Assign(DefaultFont());
  C->Font()->SetCharset(FSD && FSD->ResourceStrData() ? FSD->ResourceStrData()->CharSet()
                                                      : DefaultFont()->Charset());
  if (!Enabled()) C->Font()->SetColor(clBtnShadow);
  const Integer W = Width(), H = Height(), T = MenuButtonTrackSize;
  const Boolean Hot = FMouseIn || IsFocused();
  Boolean Shift = false;
  if (FTrackButtonMode) {
    TspPlainFaceState Main = Hot ? spfsHot : spfsNormal, Track = Main;
    if (FMenuTracked) {
      Main = spfsHot;
      Track = spfsPressed;
    } else if (FDown && FMouseIn) {
      Main = Track = spfsPressed;
      Shift = true;
    }
    DrawPlainFace(C, Rect(0, 0, W - T, H), Main);
    DrawPlainFace(C, Rect(W - T, 0, W, H), Track);
  } else {
    DrawPlainFace(C, ClientRect(), FDown && FMouseIn ? spfsPressed : Hot ? spfsHot : spfsNormal);
  }
  C->Brush()->SetStyle(bsClear);
  TRect TextRect = ClientRect();
  TextRect.Right -= T;
  DrawButtonContent(C, TextRect, FDown, FMouseIn, Shift, Shift);
  DrawMarker(C, false);
}
