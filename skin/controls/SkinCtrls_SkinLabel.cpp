// The windowed skinned label: a skinned background, a one-line caption with glow or
// reflection, and a width that can follow the text.
#include "platform/win/DrawText.h"
#include "skin/controls/SkinCtrls.h"
#include "skin/core/drawing/SPUtils.h"

TspSkinLabel::TspSkinLabel(TComponent* AOwner) : TspSkinCustomControl(AOwner) {
  FSkinDataName = "label";
  SetBounds(Left(), Top(), 75, 21);
}

void TspSkinLabel::SetShadowEffect(Boolean Value) {
  if (FShadowEffect == Value) return;
  FShadowEffect = Value;
  Repaint();
}

void TspSkinLabel::SetShadowColor(TColor Value) {
  if (FShadowColor == Value) return;
  FShadowColor = Value;
  Repaint();
}

void TspSkinLabel::SetShadowOffset(Integer Value) {
  if (FShadowOffset == Value) return;
  FShadowOffset = Value;
  Repaint();
}

void TspSkinLabel::SetShadowSize(Integer Value) {
  if (FShadowSize == Value) return;
  FShadowSize = Value;
  Repaint();
}

void TspSkinLabel::SetReflectionEffect(Boolean Value) {
  if (FReflectionEffect == Value) return;
  FReflectionEffect = Value;
  Repaint();
}

void TspSkinLabel::SetReflectionOffset(Integer Value) {
  if (FReflectionOffset == Value) return;
  FReflectionOffset = Value;
  Repaint();
}

void TspSkinLabel::SetAlignment(TAlignment Value) {
  if (FAlignment == Value) return;
  FAlignment = Value;
  Repaint();
}

void TspSkinLabel::SetEllipsType(TspEllipsType2 Value) {
  if (FEllipsType == Value) return;
  FEllipsType = Value;
  Invalidate();
}

void TspSkinLabel::SetBorderStyle(TspSkinBorderStyle Value) {
  FBorderStyle = Value;
  if (FIndex == -1) {
    Repaint();
    Realign();
  }
}

void TspSkinLabel::SetAutoSize(Boolean Value) {
  FAutoSize = Value;
  if (Value) AdjustWidthToText();
}

void TspSkinLabel::AdjustWidthToText() {
  if (Align() == alTop || Align() == alBottom || Align() == alClient) return;
  if (const Integer Delta = GetAutoSizeDelta(); Delta != 0) SetWidth(Width() + Delta);
}

void TspSkinLabel::GetSkinData() {
  TspSkinCustomControl::GetSkinData();
  if (FIndex == -1) return;
  if (auto* D = dynamic_cast<TspDataSkinLabelControl*>(FSD->CtrlList.Items(FIndex))) {
    FontName = D->FontName;
    FontColor = D->FontColor;
    FontStyle = D->FontStyle;
    FontHeight = D->FontHeight;
  }
  if (ResizeMode == 0) FAutoSize = false;
}

Integer TspSkinLabel::GetAutoSizeDelta() {
  auto Measure = CreateOwned<TBitmap>();
  Measure->SetSize(1, 1);
  TCanvas* C = Measure->Canvas();
  if (FIndex == -1) {
    C->Font()->Assign(FDefaultFont.get());
    return C->TextWidth(Caption()) - Width() + 4;
  }
  if (ResizeMode == 0) return 0;
  if (FUseSkinFont) {
    C->Font()->SetName(FontName);
    C->Font()->SetStyle(FontStyle);
    C->Font()->SetHeight(FontHeight);
  } else {
    C->Font()->Assign(FDefaultFont.get());
  }
  return C->TextWidth(Caption()) - RectWidth(NewClRect);
}

void TspSkinLabel::CalcSize(Integer& AWidth, Integer& AHeight) {
  if (FUseSkinSize || ResizeMode == 1) {
    TspSkinCustomControl::CalcSize(AWidth, AHeight);
  } else {
    const Integer DW = AWidth - RectWidth(SkinRect);
    NewLTPoint = LTPt;
    NewRTPoint = Point(RTPt.X + DW, RTPt.Y);
    NewClRect = Rect(ClRect.Left, ClRect.Top, ClRect.Right + DW, ClRect.Bottom);
  }
  if (FAutoSize)
    if (const Integer Delta = GetAutoSizeDelta(); Delta > 0) AWidth += Delta;
}

void TspSkinLabel::SetControlRegion() {
  if (FUseSkinSize) TspSkinCustomControl::SetControlRegion();
}

void TspSkinLabel::DrawDefaultImage(TBitmap* B) {
  TspSkinCustomControl::DrawDefaultImage(B);
  TCanvas* C = B->Canvas();
  const TRect R = Rect(0, 0, Width(), Height());
  switch (FBorderStyle) {
    case bvFrame: Draw3DFrame(C, R, clBtnShadow, clBtnShadow); break;
    case bvRaised: Draw3DFrame(C, R, clBtnHighlight, clBtnShadow); break;
    case bvLowered: Draw3DFrame(C, R, clBtnShadow, clBtnHighlight); break;
    case bvNone: break;
  }
  DrawLabelCaption(C, Rect(3, 3, Width() - 3, Height() - 3));
}

void TspSkinLabel::DrawSkinImage(TBitmap* B) {
  if (FUseSkinSize || ResizeMode == 1) {
    TspSkinCustomControl::DrawSkinImage(B);
    DrawLabelCaption(B->Canvas(), NewClRect);
    return;
  }
  if (Picture) CreateStretchSkinImage(B, Picture, SkinRect, ClRect, true);
  TRect R = NewClRect;
  R.Bottom += Height() - RectHeight(SkinRect);
  DrawLabelCaption(B->Canvas(), R);
}

void TspSkinLabel::DrawLabelCaption(TCanvas* C, TRect R) {
  const bool Skinned = FIndex != -1;
  if (Skinned && FUseSkinFont) {
    C->Font()->SetName(FontName);
    C->Font()->SetStyle(FontStyle);
    C->Font()->SetHeight(FontHeight);
    C->Font()->SetColor(FontColor);
  } else {
    C->Font()->Assign(FDefaultFont.get());
    if (Skinned) C->Font()->SetColor(FontColor);
  }
  String Text = Caption();
  if (FEllipsType == spetEllips) FitTextToWidth(C, Text, RectWidth(R));
  const Integer TW = C->TextWidth(Text);
  const Integer TY = R.Top + RectHeight(R) / 2 - C->TextHeight(Text) / 2;
  Integer TX = R.Left;
  if (FAlignment == taRightJustify)
    TX = R.Right - TW;
  else if (FAlignment == taCenter)
    TX = R.Left + RectWidth(R) / 2 - TW / 2;
  C->Brush()->SetStyle(bsClear);
  if (!FUseSkinFontColor) C->Font()->SetColor(FDefaultFont->Color());
  const Integer Flag = FAlignment == taRightJustify ? DT_RIGHT : FAlignment == taCenter ? DT_CENTER : DT_LEFT;
  if (FShadowEffect) {
    const TColor Glow = (Skinned && FUseSkinFontColor)
                            ? static_cast<TColor>(DarkerColor(FSD->SkinColors()->cBtnFace(), 70))
                            : FShadowColor;
    R.Top = TY;
    DrawGlowText(C, R, Text, Flag, FShadowOffset, Glow, FShadowSize);
  } else if (FReflectionEffect) {
    DrawReflectionText(C, R, Text, Flag, FReflectionOffset, C->Font()->Color());
  } else {
    C->TextRect(R, TX, TY, Text);
  }
}

void TspSkinLabel::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_ERASEBKGND:
      if (!FromWMPaint) PaintWholeImageTo(reinterpret_cast<HDC>(Message.WParam));
      Message.Result = 1;
      return;
    case CM_TEXTCHANGED:
      TspSkinCustomControl::Dispatch(Message);
      if (FAutoSize) AdjustWidthToText();
      Repaint();
      return;
    default:
      TspSkinCustomControl::Dispatch(Message);
  }
}
