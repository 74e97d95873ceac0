// The push button's looks: the state image chosen from hover, press, focus and enabled
// state, the morph frame between the normal and the active image, glyph and caption, and
// the plain look without a skin.
#include "skin/controls/SkinCtrls.h"
#include "skin/forms/SkinMenus.h"

void TspSkinButton::Paint() { PaintButton(Canvas()); }

void TspSkinButton::PaintButton(TCanvas* Target) {
  if (Width() <= 0 || Height() <= 0) return;
  GetSkinData();
  if (FIndex == -1) {
    const auto Plain = [this](TBitmap* B, const TRect&, Boolean, Boolean) {
      if (FDrawDefault) DrawDefaultImage(B);
    };
    PaintStates(this, Target, Plain, false, 0, SkinRect, SkinRect, false, false, FAlphaBlend, FAlphaBlendValue);
    return;
  }
  TRect R = SkinRect;
  Boolean ADown = false, AMouseIn = false;
  const bool Focus = IsFocused();
  if (!Enabled() && !IsRectEmpty(&DisabledSkinRect)) {
    R = DisabledSkinRect;
  } else if (FDown && (FGroupIndex != 0 || FMouseIn || (Focus && !FMouseDown))) {
    R = DownSkinRect;
    ADown = AMouseIn = true;
  } else if (Focus && !IsRectEmpty(&FocusedSkinRect) && !AnimateTimer) {
    R = FocusedSkinRect;
    AMouseIn = true;
  } else if (Focus || FMouseIn || (MorphingEnabled() && FMorphKf == 1)) {
    R = ActiveSkinRect;
    AMouseIn = true;
  }
  const Boolean Morph = MorphingEnabled() && FMorphKf != 0 && FMorphKf != 1 && Enabled();
  const auto Draw = [this](TBitmap* B, const TRect& AR, Boolean D, Boolean M) { DrawButtonImage(B, AR, D, M); };
  PaintStates(this, Target, Draw, Morph, FMorphKf, SkinRect, R, ADown, AMouseIn, FAlphaBlend, FAlphaBlendValue);
}

void TspSkinButton::DrawButtonImage(TBitmap* B, TRect R, Boolean ADown, Boolean AMouseIn) {
  TRect TextRect = NewClRect;
  if (!FUseSkinSize && ResizeMode != 1)
    DrawFreeSizeImage(Picture, ResizeMode, ClRect, B, R, TextRect);
  else
    CreateSkinControlImage(B, Picture, R);
  TCanvas* C = B->Canvas();
  SetButtonFont(C, ADown, AMouseIn);
  if (ShowFocus && Focused()) {
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(FSD->SkinColors()->cBtnFace());
    DrawSkinFocusRect(C, TextRect);
    C->Brush()->SetStyle(bsClear);
  }
  Boolean DrawContent = true;
  if (OnPaint) OnPaint(this, C, TextRect, ADown, AMouseIn, DrawContent);
  if (!DrawContent) return;
  const Boolean Shift = ADown && AMouseIn;
  DrawButtonContent(C, TextRect, ADown, AMouseIn, Shift, Shift);
}

void TspSkinButton::SetButtonFont(TCanvas* C, Boolean ADown, Boolean AMouseIn) {
  SetStateFont(C, FSD, DefaultFont(), FUseSkinFont && FIndex != -1, FUseSkinFontColor, Enabled(), ADown, AMouseIn);
}

Integer TspSkinButton::GetGlyphNum(Boolean ADown, Boolean AMouseIn) {
  return GlyphNumber(FNumGlyphs, ADown, AMouseIn, Enabled());
}

void TspSkinButton::DrawButtonContent(TCanvas* C, const TRect& R, Boolean ADown, Boolean AMouseIn,
                                      Boolean ImageShift, Boolean GlyphShift) {
  TspImagesMenuItem* Sel = FSkinImagesMenu && FUseImagesMenuImage ? FSkinImagesMenu->SelectedItem() : nullptr;
  if (Sel && FSkinImagesMenu->Images())
    DrawImageAndText(C, R, FMargin, FSpacing, FLayout, FUseImagesMenuCaption ? Sel->Caption() : Caption(),
                     Sel->ImageIndex(), FSkinImagesMenu->Images(), ImageShift, Enabled(), false, 0);
  else if (FImageList && FImageIndex >= 0 && FImageIndex < FImageList->Count())
    DrawImageAndText(C, R, FMargin, FSpacing, FLayout, Caption(), FImageIndex, FImageList, ImageShift, Enabled(),
                     false, 0);
  else
    DrawGlyphAndText(C, R, FMargin, FSpacing, FLayout, Caption(), FGlyph.get(), FNumGlyphs,
                     GetGlyphNum(ADown, AMouseIn), GlyphShift, false, 0);
}

void TspSkinButton::DrawDefaultImage(TBitmap* B) {
  TspSkinCustomControl::DrawDefaultImage(B);
  TCanvas* C = B->Canvas();
  SetPlainFont(C, FSD, DefaultFont(), Enabled());
  const TRect R = ClientRect();
  const bool Focus = IsFocused();
  const bool Pressed = FDown && (FGroupIndex != 0 || FMouseIn || (Focus && !FMouseDown));
  DrawPlainFace(C, R, Pressed ? spfsPressed : (FMouseIn || Focus) ? spfsHot : spfsNormal);
  C->Brush()->SetStyle(bsClear);
  Boolean DrawContent = true;
  if (OnPaint) OnPaint(this, C, R, FDown, FMouseIn, DrawContent);
  if (!DrawContent) return;
  DrawButtonContent(C, R, FDown, FMouseIn, FDown && FMouseIn, Pressed);
}
