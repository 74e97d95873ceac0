// The panel's looks: the plain frame and caption band, the skinned caption with its check
// picture, arrow and frame picture, and the transparent group frame.
#include "skin/controls/SkinCtrls.h"
#include "skin/core/drawing/SPUtils.h"

namespace {

// Rectangle R of Source drawn at (X, Y) with the colour of its bottom-left pixel left out.
void DrawTransparentPiece(TCanvas* C, TBitmap* Source, const TRect& R, Integer X, Integer Y) {
  const Integer W = RectWidth(R), H = RectHeight(R);
  if (!Source || W <= 0 || H <= 0) return;
  auto Piece = CreateOwned<TBitmap>();
  Piece->SetPixelFormat(pf24bit);
  Piece->SetSize(W, H);
  Piece->Canvas()->CopyRect(Rect(0, 0, W, H), Source->Canvas(), R);
  Piece->SetTransparent(true);
  Piece->SetTransparentMode(tmAuto);
  C->Draw(X, Y, Piece.get());
}

constexpr Integer PanelArrowUp = 3;
constexpr Integer PanelArrowDown = 4;

}  // namespace

void TspSkinPanel::SetCaptionFont(TCanvas* C) {
  if (FIndex != -1 && FUseSkinFont) {
    C->Font()->SetName(FontName);
    C->Font()->SetHeight(FontHeight);
    C->Font()->SetStyle(FontStyle);
  } else {
    C->Font()->Assign(FDefaultFont.get());
  }
}

Boolean TspSkinPanel::HasListImage() const {
  return FCaptionImageList && FCaptionImageIndex >= 0 && FCaptionImageIndex < FCaptionImageList->Count();
}

Integer TspSkinPanel::CaptionImageWidth() const {
  if (HasListImage()) return FCaptionImageList->Width();
  if (!FGlyph->Empty()) return FGlyph->Width() / (FNumGlyphs > 0 ? FNumGlyphs : 1);
  return 0;
}

Integer TspSkinPanel::CaptionImageHeight() const {
  if (HasListImage()) return FCaptionImageList->Height();
  if (!FGlyph->Empty()) return FGlyph->Height();
  return 0;
}

Integer TspSkinPanel::CaptionContentWidth(TCanvas* C) {
  Integer W = C->TextWidth(Caption());
  if (!FGlyph->Empty()) W += CaptionImageWidth() + FSpacing;
  return W;
}

void TspSkinPanel::DrawCaptionImage(TCanvas* C, Integer X, Integer Y) {
  if (HasListImage()) {
    FCaptionImageList->Draw(C, X, Y, FCaptionImageIndex, Enabled());
  } else if (!FGlyph->Empty()) {
    const Integer Num = (!Enabled() && FNumGlyphs == 2) ? 2 : 1;
    DrawGlyph(C, X, Y, FGlyph.get(), FNumGlyphs, Num);
  }
}

void TspSkinPanel::DrawDefaultImage(TBitmap* B) {
  TspSkinCustomControl::DrawDefaultImage(B);
  TCanvas* C = B->Canvas();
  const Integer W = Width(), H = Height();
  switch (FBorderStyle) {
    case bvFrame: Draw3DFrame(C, Rect(0, 0, W, H), clBtnShadow, clBtnShadow); break;
    case bvRaised: Draw3DFrame(C, Rect(0, 0, W, H), clBtnHighlight, clBtnShadow); break;
    case bvLowered: Draw3DFrame(C, Rect(0, 0, W, H), clBtnShadow, clBtnHighlight); break;
    case bvNone: break;
  }
  if (!FCaptionMode) return;
  TRect R;
  const Integer CH = FDefaultCaptionHeight;
  if (FBorderStyle != bvNone) {
    R = FRibbonStyle ? Rect(1, H - CH - 1, W - 1, H - 1) : Rect(1, 1, W - 1, CH);
    Draw3DFrame(C, R, clBtnShadow, clBtnHighlight);
    R = Rect(R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1);
    Draw3DFrame(C, R, clBtnHighlight, clBtnShadow);
  } else {
    R = FRibbonStyle ? Rect(0, H - CH, W, H) : Rect(0, 0, W, CH);
    Draw3DFrame(C, R, clBtnShadow, clBtnShadow);
    R = Rect(R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1);
    Draw3DFrame(C, R, clBtnHighlight, clBtnFace);
  }
  R = Rect(R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1);
  if (FCheckedMode) R.Left += 20;
  if (FRollUpMode) R.Right -= 10;
  C->Font()->Assign(FDefaultFont.get());
  const String Text = Caption();
  const Integer TY = R.Top + RectHeight(R) / 2 - C->TextHeight(Text) / 2;
  const Integer CW = CaptionContentWidth(C);
  Integer TX = R.Left + 2;
  if (FDefaultAlignment == taRightJustify)
    TX = R.Right - CW;
  else if (FDefaultAlignment == taCenter)
    TX = R.Left + 2 + RectWidth(R) / 2 - CW / 2;
  if (FCheckedMode) {
    const TRect Box = Bounds(5, R.Top + RectHeight(R) / 2 - 7, 14, 14);
    Draw3DFrame(C, Box, clBtnShadow, clBtnShadow);
    if (FChecked) DrawCheckImage(C, Box.Left + 3, Box.Top + 2, clBtnText);
  }
  Integer IX = 0, IY = 0;
  const Integer IW = CaptionImageWidth();
  if (IW > 0) {
    IY = R.Top + RectHeight(R) / 2 - CaptionImageHeight() / 2;
    IX = TX;
    TX += IW + FSpacing;
  }
  C->Brush()->SetStyle(bsClear);
  C->TextRect(R, TX, TY, Text);
  if (IW > 0) DrawCaptionImage(C, IX, IY);
  if (FRollUpMode)
    DrawArrow(C, Rect(R.Right, R.Top, R.Right + 10, R.Bottom), clBtnText, FRollUpState ? PanelArrowDown : PanelArrowUp);
}

void TspSkinPanel::DrawSkinImage(TBitmap* B) {
  if (FBorderStyle == bvNone && ResizeMode == 1 && !FCaptionMode && !StretchEffect) {
    PaintClientTile(B->Canvas(), false);
    return;
  }
  if (FAlphaBlend && FForceBackground && ResizeMode == 1)
    // A blended panel has no direct path: compose frame and client here.
    ComposeImage(B, Picture, SkinRect, Width(), Height(), true);
  else
    TspSkinCustomControl::DrawSkinImage(B);
  if (ResizeMode < 1)
    NewCaptionRect = CaptionRect;
  else
    CalcNewRect(CaptionRect, NewCaptionRect);
  const String Text = Caption();
  if (Text.empty() || IsNullRect(CaptionRect) || RectWidth(CaptionRect) <= 0) return;
  TCanvas* C = B->Canvas();
  TRect R = NewCaptionRect;
  if (FRollUpMode) R.Right -= 12;
  if (FCheckedMode) {
    const TRect Pic = FChecked ? CheckImageRect : UnCheckImageRect;
    DrawTransparentPiece(C, Picture, Pic, R.Left, R.Top + RectHeight(R) / 2 - RectHeight(Pic) / 2);
    R.Left += RectWidth(Pic) + 2;
  }
  SetCaptionFont(C);
  C->Font()->SetColor(FontColor);
  const Integer TY = R.Top + RectHeight(R) / 2 - C->TextHeight(Text) / 2;
  const Integer CW = CaptionContentWidth(C);
  const Integer TextW = C->TextWidth(Text);
  Integer TX = R.Left;
  if (Alignment == taRightJustify)
    TX = R.Right - CW;
  else if (Alignment == taCenter)
    TX = R.Left + RectWidth(R) / 2 - CW / 2;
  const Integer IW = CaptionImageWidth();
  Integer IX = 0, IY = 0;
  if (IW > 0) {
    IY = R.Top + RectHeight(R) / 2 - CaptionImageHeight() / 2;
    if (FImagePosition == spipDefault) {
      IX = TX;
      TX += IW + FSpacing;
    } else {
      IX = R.Left + 2;
      TX = IX + IW + FSpacing;
      if (Alignment == taRightJustify)
        TX = IntMax(R.Right - TextW, IX + IW + FSpacing);
      else if (Alignment == taCenter)
        TX = IntMax(R.Left + RectWidth(R) / 2 - TextW / 2, IX + IW + FSpacing);
    }
  }
  if (FRollUpMode) {
    const TRect A = Rect(R.Right, R.Top, R.Right + 10, R.Bottom);
    if (!IsNullRect(MarkFrameRect) && Picture)
      C->CopyRect(Bounds(A.Left, A.Top, RectWidth(MarkFrameRect), RectHeight(MarkFrameRect)), Picture->Canvas(),
                  MarkFrameRect);
    DrawArrow(C, A, FontColor, FRollUpState ? PanelArrowDown : PanelArrowUp);
  }
  if (!IsNullRect(FrameRect) && Picture) {
    const Integer D = RectWidth(FrameRect) - RectWidth(FrameTextRect);
    auto Frame = CreateOwned<TBitmap>();
    Frame->SetPixelFormat(pf24bit);
    CreateHSkinImage(FrameLeftOffset, FrameRightOffset, Frame.get(), Picture, FrameRect, D + TextW,
                     RectHeight(FrameRect), false);
    Integer FX = TX;
    if (Alignment == taLeftJustify) {
      FX = TX;
      TX = FX + FrameTextRect.Left;
    } else if (Alignment == taRightJustify) {
      FX = TX - D;
      TX = FX + FrameTextRect.Left;
      IX -= D;
    } else {
      FX = TX - FrameTextRect.Left - 2;
      IX -= FrameTextRect.Left;
      TX -= 2;
    }
    C->Draw(FX, CaptionRect.Top, Frame.get());
  }
  C->Brush()->SetStyle(bsClear);
  C->TextRect(R, TX, TY, Text);
  if (IW > 0) DrawCaptionImage(C, IX, IY);
}

void TspSkinPanel::DrawGroupFrame(TCanvas* C) {
  C->Pen()->SetColor(FSD->SkinColors()->cBtnShadow());
  C->Pen()->SetWidth(1);
  C->Brush()->SetStyle(bsClear);
  SetCaptionFont(C);
  const String Text = Caption();
  const Integer TH = C->TextHeight(Text);
  TRect R = Rect(5, 0, Width(), TH + 5);
  NewCaptionRect = R;
  Integer X = 5;
  if (FCheckedMode) {
    const TRect Pic = FChecked ? CheckImageRect : UnCheckImageRect;
    DrawTransparentPiece(C, Picture, Pic, 5, R.Top + RectHeight(R) / 2 - RectHeight(Pic) / 2);
    X = RectWidth(Pic) + 10;
  }
  Integer TextStart = X;
  if (const Integer IW = CaptionImageWidth(); IW > 0) {
    DrawCaptionImage(C, X, R.Top + RectHeight(R) / 2 - CaptionImageHeight() / 2);
    TextStart = X + IW + 2;
  }
  R = Rect(TextStart, 0, Width(), TH + 5);
  TColor Colour = FSD->SkinColors()->cBtnText();
  const Integer LabelIndex = FSD->GetControlIndex("stdlabel");
  if (LabelIndex != -1)
    if (auto* L = dynamic_cast<TspDataSkinStdLabelControl*>(FSD->CtrlList.Items(LabelIndex))) Colour = L->FontColor;
  C->Font()->SetColor(Colour);
  DrawSingleLineText(C, Text, R);
  const Integer TW = C->TextWidth(Text);
  const Integer Y = RectHeight(R) / 2;
  if (FRollUpMode) {
    DrawArrow(C, Rect(R.Left + TW + 3, R.Top, R.Left + TW + 10, R.Bottom), Colour,
              FRollUpState ? PanelArrowDown : PanelArrowUp);
    C->MoveTo(R.Left + TW + 12, Y);
  } else {
    C->MoveTo(R.Left + TW + 3, Y);
  }
  C->LineTo(Width(), Y);
  C->MoveTo(0, Y);
  C->LineTo(4, Y);
  C->MoveTo(Width() - 1, Y);
  C->LineTo(Width() - 1, Height() - 1);
  C->LineTo(0, Height() - 1);
  C->LineTo(0, Y);
}
