// What the push and speed buttons take from a button descriptor, the small rules both
// apply to it, and the paint steps they share: state image, morph, blend and fonts.
#include "skin/controls/SkinCtrls.h"

void TspButtonSkinLook::CopyButtonLook(const TspDataSkinButtonControl& D) {
  FontName = D.FontName;
  FontColor = D.FontColor;
  ActiveFontColor = D.ActiveFontColor;
  DownFontColor = D.DownFontColor;
  FontStyle = D.FontStyle;
  FontHeight = D.FontHeight;
  ActiveSkinRect = D.ActiveSkinRect;
  DownSkinRect = D.DownSkinRect;
  Morphing = D.Morphing;
  MorphKind = D.MorphKind;
  if (IsRectEmpty(&ActiveSkinRect)) ActiveSkinRect = D.SkinRect;
  if (IsRectEmpty(&DownSkinRect)) DownSkinRect = ActiveSkinRect;
  DisabledSkinRect = D.DisabledSkinRect;
  FocusedSkinRect = D.FocusedSkinRect;
  DisabledFontColor = D.DisabledFontColor;
  AnimateSkinRect = D.AnimateSkinRect;
  FrameCount = D.FrameCount;
  AnimateInterval = D.AnimateInterval;
  ShowFocus = D.ShowFocus;
  MenuMarkerRect = D.MenuMarkerRect;
  MenuMarkerActiveRect = D.MenuMarkerActiveRect;
  MenuMarkerDownRect = D.MenuMarkerDownRect;
  MenuMarkerFlatRect = D.MenuMarkerFlatRect;
  MenuMarkerTransparentColor = D.MenuMarkerTransparentColor;
  if (IsRectEmpty(&MenuMarkerActiveRect)) MenuMarkerActiveRect = MenuMarkerRect;
  if (IsRectEmpty(&MenuMarkerDownRect)) MenuMarkerDownRect = MenuMarkerActiveRect;
  if (DisabledFontColor == FontColor) DisabledFontColor = static_cast<TColor>(0x808080);
  GlowLayerPictureIndex = D.GlowLayerPictureIndex;
  GlowLayerMaskPictureIndex = D.GlowLayerMaskPictureIndex;
  GlowLayerOffsetLeft = D.GlowLayerOffsetLeft;
  GlowLayerOffsetRight = D.GlowLayerOffsetRight;
  GlowLayerOffsetTop = D.GlowLayerOffsetTop;
  GlowLayerOffsetBottom = D.GlowLayerOffsetBottom;
  GlowLayerShowOffsetX = D.GlowLayerShowOffsetX;
  GlowLayerShowOffsetY = D.GlowLayerShowOffsetY;
  GlowLayerAlphaBlendValue = D.GlowLayerAlphaBlendValue;
}

TRect TspButtonSkinLook::AnimationFrameRect(Integer N, const TRect& NormalRect) const {
  const TRect& A = AnimateSkinRect;
  if (FrameCount <= 0) return A;
  if (RectWidth(A) > RectWidth(NormalRect)) {
    const Integer W = RectWidth(A) / FrameCount;
    return Rect(A.Left + (N - 1) * W, A.Top, A.Left + N * W, A.Bottom);
  }
  const Integer H = RectHeight(A) / FrameCount;
  return Rect(A.Left, A.Top + (N - 1) * H, A.Right, A.Top + N * H);
}

Integer TspButtonSkinLook::GlyphNumber(Integer NumGlyphs, Boolean ADown, Boolean AMouseIn, Boolean AEnabled) {
  if (ADown && AMouseIn && NumGlyphs >= 3) return 3;
  if (AMouseIn && NumGlyphs >= 4) return 4;
  if (!AEnabled && NumGlyphs >= 2) return 2;
  return 1;
}

TColor TspButtonSkinLook::StateFontColor(Boolean AEnabled, Boolean UseSkinColor, TColor DefaultColor, Boolean ADown,
                                         Boolean AMouseIn) const {
  if (AEnabled && !UseSkinColor) return DefaultColor;
  if (!AEnabled) return DisabledFontColor;
  if (ADown && AMouseIn) return DownFontColor;
  if (AMouseIn) return ActiveFontColor;
  return FontColor;
}

void TspButtonSkinLook::DrawFreeSizeImage(TBitmap* Picture, Integer ResizeMode, const TRect& ClRect, TBitmap* B,
                                          const TRect& R, TRect& TextRect) {
  if (Picture && ResizeMode == 0)
    B->Canvas()->CopyRect(Rect(0, 0, B->Width(), B->Height()), Picture->Canvas(), R);
  else if (Picture && (ResizeMode == 2 || ResizeMode == 3))
    CreateStretchSkinImage(B, Picture, R, ClRect, true);
  TextRect = ClRect;
  TextRect.Right += B->Width() - RectWidth(R);
  TextRect.Bottom += B->Height() - RectHeight(R);
}

Boolean TspButtonSkinLook::GlyphFromAction(TObject* Action, TBitmap* Glyph) {
  auto* A = dynamic_cast<TCustomAction*>(Action);
  if (!A || !Glyph->Empty() || !A->ActionList()) return false;
  TCustomImageList* Images = A->ActionList()->Images();
  if (!Images || A->ImageIndex() < 0 || A->ImageIndex() >= Images->Count()) return false;
  Glyph->SetSize(Images->Width(), Images->Height());
  Glyph->Canvas()->Brush()->SetColor(static_cast<TColor>(0xFF00FF));
  Glyph->Canvas()->FillRect(Rect(0, 0, Glyph->Width(), Glyph->Height()));
  Images->Draw(Glyph->Canvas(), 0, 0, A->ImageIndex(), true);
  return true;
}

TOwned<TTimer> TspButtonSkinLook::StartButtonTimer(Integer Interval, std::function<void()> Tick) {
  auto T = CreateOwned<TTimer>(nullptr);
  T->SetInterval(static_cast<Cardinal>(std::max<Integer>(Interval, 1)));
  T->OnTimer = [Tick = std::move(Tick)](TObject*) { Tick(); };
  T->SetEnabled(true);
  return T;
}

TOwned<TTimer> TspButtonSkinLook::StartRepeatTimer(Integer RepeatInterval, std::function<void()> Click) {
  auto T = CreateOwned<TTimer>(nullptr);
  TTimer* Raw = T.get();
  T->SetInterval(500);
  // The first tick only ends the wait; every later one clicks.
  T->OnTimer = [Raw, RepeatInterval, Click = std::move(Click), Waiting = true](TObject*) mutable {
    if (Waiting) {
      Waiting = false;
      Raw->SetInterval(static_cast<Cardinal>(std::max<Integer>(RepeatInterval, 1)));
      return;
    }
    Click();
  };
  T->SetEnabled(true);
  return T;
}

Boolean TspButtonSkinLook::StepMorph(Double& Kf, Double Target) {
  if (Target == 1 && Kf < 1) {
    Kf += 0.2;
    return true;
  }
  if (Target == 0 && Kf > 0) {
    Kf -= 0.2;
    return true;
  }
  Kf = Target;
  return false;
}

Boolean TspButtonSkinLook::StepAnimation(Integer& Frame, Boolean Forward, Integer Count, Boolean& Changed) {
  Changed = false;
  if (Forward) {
    if (Frame <= Count) {
      ++Frame;
      Changed = true;
    }
    return Frame <= Count;
  }
  if (Frame >= 0) {
    --Frame;
    Changed = true;
  }
  return Frame > 0;
}

void TspButtonSkinLook::DrawMenuMarker(TBitmap* Picture, TCanvas* C, const TRect& R, Boolean AActive, Boolean ADown,
                                       Boolean AFlat) const {
  if (!Picture) return;
  const TRect Src = ADown ? MenuMarkerDownRect
                    : AActive ? MenuMarkerActiveRect
                    : AFlat   ? MenuMarkerFlatRect
                              : MenuMarkerRect;
  const Integer W = RectWidth(Src), H = RectHeight(Src);
  if (W <= 0 || H <= 0) return;
  auto M = CreateOwned<TBitmap>();
  M->SetSize(W, H);
  M->Canvas()->CopyRect(Rect(0, 0, W, H), Picture->Canvas(), Src);
  M->SetTransparentMode(tmFixed);
  M->SetTransparentColor(MenuMarkerTransparentColor);
  M->SetTransparent(true);
  C->Draw(R.Left + RectWidth(R) / 2 - W / 2, R.Top + RectHeight(R) / 2 - H / 2, M.get());
}

void TspButtonSkinLook::PasteTrackPart(TBitmap* B, TBitmap* Picture, const TRect& TrackRect,
                                       const TRect& Dest) const {
  if (!Picture) return;
  TRect Src = TrackRect;
  OffsetRect(&Src, DownSkinRect.Left, DownSkinRect.Top);
  B->Canvas()->CopyRect(Dest, Picture->Canvas(), Src);
}

void TspButtonSkinLook::PaintStates(TControl* Self, TCanvas* Target, const TspDrawStateImage& Draw,
                                    Boolean Morphing, Double MorphKf, const TRect& NormalRect, const TRect& R,
                                    Boolean ADown, Boolean AMouseIn, Boolean AlphaBlend, Byte AlphaValue) const {
  auto B = CreateControlImage(Self->Width(), Self->Height());
  if (Morphing) {
    auto B2 = CreateControlImage(Self->Width(), Self->Height());
    Draw(B.get(), NormalRect, false, false);
    Draw(B2.get(), ActiveSkinRect, false, true);
    MorphBitmaps(B.get(), B2.get(), MorphKind, MorphKf);
  } else {
    Draw(B.get(), R, ADown, AMouseIn);
  }
  if (AlphaBlend)
    DrawBlendedOverBackground(Self, B.get(), AlphaValue, Target);
  else
    Target->Draw(0, 0, B.get());
}

Integer TspButtonSkinLook::ButtonCharset(TspSkinData* SD, TFont* Default) {
  return SD && SD->ResourceStrData() ? SD->ResourceStrData()->CharSet() : Default->Charset();
}

void TspButtonSkinLook::SetStateFont(TCanvas* C, TspSkinData* SD, TFont* Default, Boolean UseSkinFont,
                                     Boolean UseSkinFontColor, Boolean AEnabled, Boolean ADown,
                                     Boolean AMouseIn) const {
  TFont* F = C->Font();
  if (UseSkinFont) {
    F->SetName(FontName);
    F->SetHeight(FontHeight);
    F->SetStyle(FontStyle);
  } else {
    F->Assign(Default);
  }
  F->SetCharset(ButtonCharset(SD, Default));
  F->SetColor(StateFontColor(AEnabled, UseSkinFontColor, Default->Color(), ADown, AMouseIn));
  C->Brush()->SetStyle(bsClear);
}

void TspButtonSkinLook::SetPlainFont(TCanvas* C, TspSkinData* SD, TFont* Default, Boolean AEnabled) {
  C->Font()->Assign(Default);
  C->Font()->SetCharset(ButtonCharset(SD, Default));
  if (!AEnabled) C->Font()->SetColor(clBtnShadow);
}
