// The push button's looks: the state image chosen from hover, press, focus and enabled
// state, the morph frame between the normal and the active image, glyph and caption, and
// the plain look without a skin.
#include "skin/controls/SkinCtrls.h"
#include "skin/forms/SkinMenus.h"

void TspSkinButton::Paint() { PaintButton(Canvas()); }

void TspSkinButton::PaintButton(TCanvas* Target) {
  if (Width() <= 0 || Height() <= 0) return;
  GetSkinData();
  auto B = CreateControlImage(Width(), Height());
  if (FIndex == -1) {
    if (FDrawDefault) DrawDefaultImage(B.get());
  } else if (MorphingEnabled() && FMorphKf != 0 && FMorphKf != 1 && Enabled()) {
    auto B2 = CreateControlImage(Width(), Height());
    DrawButtonImage(B.get(), SkinRect, false, false);
    DrawButtonImage(B2.get(), ActiveSkinRect, false, true);
    MorphBitmaps(B.get(), B2.get(), MorphKind, FMorphKf);
  } else {
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
    DrawButtonImage(B.get(), R, ADown, AMouseIn);
  }
  if (FAlphaBlend)
    DrawBlendedOverBackground(this, B.get(), FAlphaBlendValue, Target);
  else
    Target->Draw(0, 0, B.get());
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
  TFont* F = C->Font();
  if (FUseSkinFont && FIndex != -1) {
    F->SetName(FontName);
    F->SetHeight(FontHeight);
    F->SetStyle(FontStyle);
  } else {
    F->Assign(DefaultFont());
  }
  F->SetCharset(FSD && FSD->ResourceStrData() ? FSD->ResourceStrData()->CharSet() : DefaultFont()->Charset());
  F->SetColor(StateFontColor(Enabled(), FUseSkinFontColor, DefaultFont()->Color(), ADown, AMouseIn));
  C->Brush()->SetStyle(bsClear);
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
  C->Font()->Assign(DefaultFont());
  C->Font()->SetCharset(FSD && FSD->ResourceStrData() ? FSD->ResourceStrData()->CharSet()
                                                      : DefaultFont()->Charset());
  if (!Enabled()) C->Font()->SetColor(clBtnShadow);
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
