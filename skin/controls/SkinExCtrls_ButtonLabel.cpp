// The button label: a flat, hover-aware glyph and caption that shifts while pressed.
#include "skin/controls/SkinExCtrls.h"

TspSkinButtonLabel::TspSkinButtonLabel(TComponent* AOwner)
    : TGraphicControl(AOwner), FGlyph(std::make_unique<TBitmap>()) {
  ControlStyle.Exclude(csOpaque);
  ControlStyle.Include(csSetCaption);
  FDefaultFont->SetName("Arial");
  FDefaultFont->SetHeight(14);
  SetBounds(Left(), Top(), 100, 50);
}

void TspSkinButtonLabel::SetDoubleBuffered(Boolean Value) {
  FDoubleBuffered = Value;
  if (Value)
    ControlStyle.Include(csOpaque);
  else
    ControlStyle.Exclude(csOpaque);
}

void TspSkinButtonLabel::SetWebStyle(Boolean Value) {
  FWebStyle = Value;
  if (ComponentState().Contains(csDesigning)) SetCursor(Value ? crHandPoint : crDefault);
}

void TspSkinButtonLabel::SetSkinData(TspSkinData* Value) {
  FSD = Value;
  if (Value) {
    Value->FreeNotification(this);
    ChangeSkinData();
  }
}

void TspSkinButtonLabel::SetDefaultFont(TFont* Value) {
  FDefaultFont->Assign(Value);
  Repaint();
}

void TspSkinButtonLabel::SetGlyph(TBitmap* Value) {
  FGlyph->Assign(Value);
  Repaint();
}

void TspSkinButtonLabel::SetNumGlyphs(TspNumGlyphs Value) {
  FNumGlyphs = Value;
  Repaint();
}

void TspSkinButtonLabel::SetMargin(Integer Value) {
  if (Value == FMargin || Value < -1) return;
  FMargin = Value;
  Repaint();
}

void TspSkinButtonLabel::SetSpacing(Integer Value) {
  if (Value == FSpacing) return;
  FSpacing = Value;
  Repaint();
}

void TspSkinButtonLabel::SetLayout(TspButtonLayout Value) {
  if (Value == FLayout) return;
  FLayout = Value;
  Repaint();
}

void TspSkinButtonLabel::SetImageList(TCustomImageList* Value) {
  FImageList = Value;
  if (Value) Value->FreeNotification(this);
}

void TspSkinButtonLabel::SetImageIndex(Integer Value) {
  if (Value == FImageIndex) return;
  FImageIndex = Value;
  Repaint();
}

void TspSkinButtonLabel::ChangeSkinData() {
  LookUpLabelFont();
  Repaint();
}

void TspSkinButtonLabel::Notification(TComponent* AComponent, TOperation Operation) {
  TGraphicControl::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FSD) FSD = nullptr;
  if (AComponent == FImageList) FImageList = nullptr;
}

Integer TspSkinButtonLabel::GlyphNumber() const {
  if (FDown && FMouseIn && FNumGlyphs > 2) return 3;
  if (FMouseIn && FNumGlyphs > 3) return 4;
  if (Enabled() || FNumGlyphs < 2) return 1;
  return 2;
}

void TspSkinButtonLabel::CMMouseEnter(TWMNoParams& Message) {
  TGraphicControl::CMMouseEnter(Message);
  if (ComponentState().Contains(csDesigning) || !Enabled()) return;
  FMouseIn = true;
  Repaint();
}

void TspSkinButtonLabel::CMMouseLeave(TWMNoParams& Message) {
  TGraphicControl::CMMouseLeave(Message);
  if (ComponentState().Contains(csDesigning) || !Enabled()) return;
  FMouseIn = false;
  Repaint();
}

void TspSkinButtonLabel::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  FDown = true;
  if (!FWebStyle) Repaint();
  TGraphicControl::MouseDown(Button, Shift, X, Y);
}

void TspSkinButtonLabel::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  FDown = false;
  if (!FWebStyle) Repaint();
  TGraphicControl::MouseUp(Button, Shift, X, Y);
}

void TspSkinButtonLabel::Dispatch(TMessage& Message) {
  TGraphicControl::Dispatch(Message);
  if (Message.Msg == CM_TEXTCHANGED) Repaint();
}

void TspSkinButtonLabel::Paint() {
  if (!FDoubleBuffered) {
    DrawLabel(Canvas());
    return;
  }
  auto B = CreateOwned<TBitmap>();
  B->SetPixelFormat(pf24bit);
  B->SetSize(Width(), Height());
  CopyParentImage(this, B->Canvas());
  DrawLabel(B->Canvas());
  Canvas()->Draw(0, 0, B.get());
}

void TspSkinButtonLabel::DrawLabel(TCanvas* C) {
  const bool Skinned = FIndex != -1;
  if (!Skinned) {
    C->Font()->Assign(FDefaultFont.get());
    if (FMouseIn) C->Font()->SetColor(FDefaultActiveFontColor);
  } else {
    if (FUseSkinFont) {
      C->Font()->SetName(FontName);
      C->Font()->SetHeight(FontHeight);
      C->Font()->SetStyle(FontStyle);
    } else {
      C->Font()->Assign(FDefaultFont.get());
    }
    C->Font()->SetColor(FMouseIn && !FGlowEffect ? ActiveFontColor : FontColor);
  }
  const TColor GlowColour = (!Skinned || FUseCustomGlowColor) ? FCustomGlowColor : ActiveFontColor;
  if (FWebStyle) {
    TFontStyles S = C->Font()->Style();
    if (FMouseIn)
      S.Include(fsUnderline);
    else
      S.Exclude(fsUnderline);
    C->Font()->SetStyle(S);
  }
  Integer Image = -1;
  if (FImageList) {
    if (FMouseIn && FActiveImageIndex >= 0 && FActiveImageIndex < FImageList->Count())
      Image = FActiveImageIndex;
    else if (FImageIndex >= 0 && FImageIndex < FImageList->Count())
      Image = FImageIndex;
  }
  if (!Enabled()) C->Font()->SetColor(Skinned ? FSD->SkinColors()->cBtnShadow() : static_cast<TColor>(0x00808080));
  const TRect R = ClientRect();
  const Boolean Pressed = FDown && !FWebStyle;
  const bool Glow = FGlowEffect && FMouseIn && Enabled();
  C->Brush()->SetStyle(bsClear);
  if (Image != -1) {
    if (Glow)
      DrawImageAndTextGlow(C, R, FMargin, FSpacing, FLayout, Caption(), Image, FImageList, Pressed, Enabled(), false,
                           clBlack, GlowColour, FGlowSize);
    else
      DrawImageAndText(C, R, FMargin, FSpacing, FLayout, Caption(), Image, FImageList, Pressed, Enabled(), false,
                       clBlack);
  } else if (Glow) {
    DrawGlyphAndTextGlow(C, R, FMargin, FSpacing, FLayout, Caption(), FGlyph.get(), FNumGlyphs, GlyphNumber(), Pressed,
                         false, clBlack, GlowColour, FGlowSize);
  } else {
    DrawGlyphAndText(C, R, FMargin, FSpacing, FLayout, Caption(), FGlyph.get(), FNumGlyphs, GlyphNumber(), Pressed,
                     false, clBlack);
  }
}
