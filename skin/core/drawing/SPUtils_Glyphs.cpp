// Glyph and caption drawing shared by the skinned buttons: the layout rule, the four
// drawers (image list or glyph strip, with or without glow), colour markers, and the small
// text helpers (end ellipsis, wide-string drawing and measuring, centred text).
#include "platform/rtl/Utf8.h"
#include "platform/ui/Graphics.h"
#include "platform/ui/ImgList.h"
#include "platform/win/DrawText.h"
#include "skin/core/drawing/SPUtils.h"
#include "skin/core/bitmaps/spEffBmp.h"


void CalcGlyphAndTextLayout(TspButtonLayout Layout, const TRect& R, Integer GlyphWidth,
                            Integer GlyphHeight, Integer TextWidth, Integer TextHeight,
                            Integer Spacing, Integer Margin, Integer& TextX, Integer& TextY,
                            Integer& GlyphX, Integer& GlyphY) {
  const Integer GW = GlyphWidth, GH = GlyphHeight, TW = TextWidth, TH = TextHeight;
  const Integer CX = R.Left + RectWidth(R) / 2, CY = R.Top + RectHeight(R) / 2;
  if (GW == 0) Spacing = 0;
  if (Margin == -1) {
    switch (Layout) {
      case blGlyphLeft:
      case blGlyphRight: {
        const Integer B = (GW + TW + Spacing) / 2;
        if (Layout == blGlyphLeft) {
          GlyphX = CX - B;
          TextX = CX + B - TW;
        } else {
          TextX = CX - B;
          GlyphX = CX + B - GW;
        }
        GlyphY = CY - GH / 2;
        TextY = CY - TH / 2;
        break;
      }
      case blGlyphTop:
      case blGlyphBottom: {
        const Integer V = (TH + GH + Spacing) / 2;
        if (Layout == blGlyphTop) {
          GlyphY = CY - V;
          TextY = CY + V - TH;
        } else {
          TextY = CY - V;
          GlyphY = CY + V - GH;
        }
        GlyphX = CX - GW / 2;
        TextX = CX - TW / 2;
        break;
      }
    }
    return;
  }
  switch (Layout) {
    case blGlyphLeft:
      GlyphX = R.Left + Margin;
      TextX = GlyphX + GW + Spacing;
      GlyphY = CY - GH / 2;
      TextY = CY - TH / 2;
      break;
    case blGlyphRight:
      GlyphX = R.Right - GW - Margin;
      TextX = GlyphX - Spacing - TW;
      GlyphY = CY - GH / 2;
      TextY = CY - TH / 2;
      break;
    case blGlyphTop:
      GlyphY = R.Top + Margin;
      TextY = GlyphY + GH + Spacing;
      GlyphX = CX - GW / 2;
      TextX = CX - TW / 2;
      break;
    case blGlyphBottom:
      GlyphY = R.Bottom - GH - Margin;
      TextY = GlyphY - Spacing - TH;
      GlyphX = CX - GW / 2;
      TextX = CX - TW / 2;
      break;
  }
}

namespace {

constexpr UINT kMeasureFlags = DT_CALCRECT | DT_EXPANDTABS | DT_WORDBREAK;
constexpr UINT kCaptionFlags = DT_EXPANDTABS | DT_WORDBREAK | DT_VCENTER | DT_CENTER;

// Where the glyph comes from: an image of an image list, or one glyph of a strip.
struct TGlyphSource {
  TCustomImageList* ImageList = nullptr;
  Integer ImageIndex = -1;
  Boolean Enabled = true;
  TBitmap* Glyph = nullptr;
  Integer NumGlyphs = 1;
  Integer GlyphNum = 1;
  bool Strip = false;
};

struct TGlow {
  bool Enabled = false;
  TColor Color = 0;
  Integer Size = 0;
};

// Draws the blurred silhouette of the glyph in GlowColor behind where the glyph goes.
void DrawGlyphGlow(TCanvas* Canvas, const TGlyphSource& Src, Integer GW, Integer GH, Integer GlyphX,
                   Integer GlyphY, const TGlow& Glow) {
  const Integer g = Glow.Size;
  TOwned<TspBitmap> G = CreateOwned<TspBitmap>();
  if (Src.Strip)
    G->SetSize(Src.Glyph->Width() + 2 * g, Src.Glyph->Height() + 2 * g);
  else
    G->SetSize(GW + 2 * g, GH + 2 * g);
  if (G->Empty()) return;
  if (Src.Strip)
    DrawGlyphGlowMask(G.get(), Src.Glyph, g);
  else
    DrawImageGlowMask(G.get(), Src.ImageList, Src.ImageIndex, g);
  StackBlur(G.get(), g);
  const TspColor color = ColorRefToSpColor(static_cast<COLORREF>(Glow.Color)) & 0x00FFFFFF;
  for (Integer y = 0; y < G->Height(); ++y) {
    TspColor* row = G->GetScanLinePtr(y);
    for (Integer x = 0; x < G->Width(); ++x) row[x] = color | (((row[x] >> 16) & 0xFF) << 24);
  }
  G->SetAlphaBlend(true);
  G->Draw(Canvas, GlyphX - g, GlyphY - g);
}

void DrawGlyphCaption(TCanvas* Canvas, const TRect& R, Integer Margin, Integer Spacing,
                      TspButtonLayout Layout, const String& Caption, const TGlyphSource& Src,
                      Boolean ADown, Boolean ADrawColorMarker, TColor AColorMarkerValue,
                      const TGlow& Glow) {
  if (!Canvas) return;
  const bool strip = Src.Strip;
  const Integer numGlyphs = Src.NumGlyphs < 1 ? 1 : Src.NumGlyphs;

  // 1. Glyph size.
  Integer GW = 0, GH = 0;
  bool hasGlyph = false;
  if (!strip) {
    if (Src.ImageList && Src.ImageIndex >= 0 && Src.ImageIndex < Src.ImageList->Count()) {
      GW = Src.ImageList->Width();
      GH = Src.ImageList->Height();
    }
    hasGlyph = GW != 0;
  } else if (Src.Glyph && !Src.Glyph->Empty()) {
    GW = Src.Glyph->Width() / numGlyphs;
    GH = Src.Glyph->Height();
    hasGlyph = true;
  }

  // 2. Caption size, word-wrapped in what the glyph leaves of R.
  Integer TW = 0, TH = 0;
  if (!Caption.empty()) {
    TRect TR = Rect(0, 0, RectWidth(R), RectHeight(R));
    if (Layout == blGlyphLeft || Layout == blGlyphRight)
      TR.Right -= GW;
    else
      TR.Bottom -= GH;
    DrawTextW(Canvas->Handle(), Caption, Utf8Length(Caption), &TR, kMeasureFlags);
    TW = TR.Right - TR.Left;
    TH = TR.Bottom - TR.Top;
  }

  // 3. - 5.
  if (!strip || !Caption.empty()) Canvas->Brush()->SetStyle(bsClear);
  Integer TextX = 0, TextY = 0, GlyphX = 0, GlyphY = 0;
  CalcGlyphAndTextLayout(Layout, R, GW, GH, TW, TH, Spacing, Margin, TextX, TextY, GlyphX, GlyphY);
  if (ADown) {
    ++TextX, ++TextY, ++GlyphX, ++GlyphY;
  }

  // 6. Glow behind the glyph.
  if (Glow.Enabled && hasGlyph) DrawGlyphGlow(Canvas, Src, GW, GH, GlyphX, GlyphY, Glow);

  // 7. Caption.
  TRect TR = Rect(TextX, TextY, TextX + TW + 2, TextY + TH);
  if (!Caption.empty()) {
    if (Glow.Enabled)
      DrawThickGlowText(Canvas, TR, Caption, kCaptionFlags, 0, Glow.Color, Glow.Size);
    else
      DrawTextW(Canvas->Handle(), Caption, Utf8Length(Caption), &TR, kCaptionFlags);
  }

  // 8. Glyph.
  if (hasGlyph) {
    if (strip)
      DrawGlyph(Canvas, GlyphX, GlyphY, Src.Glyph, numGlyphs, Src.GlyphNum);
    else
      Src.ImageList->Draw(Canvas, GlyphX, GlyphY, Src.ImageIndex, Src.Enabled);
  }

  // 9. Colour marker: under the glyph (a strip's whole width), under the caption, or a
  // filled patch.
  if (!ADrawColorMarker) return;
  if (hasGlyph) {
    const Integer L = strip ? Src.Glyph->Width() : Src.ImageList->Width();
    Canvas->Pen()->SetColor(AColorMarkerValue);
    for (Integer y = GlyphY + GH - 2; y <= GlyphY + GH; ++y) {
      Canvas->MoveTo(GlyphX, y);
      Canvas->LineTo(GlyphX + L, y);
    }
  } else if (!Caption.empty()) {
    Canvas->Pen()->SetColor(AColorMarkerValue);
    for (Integer y = TR.Bottom - 1; y <= TR.Bottom + 1; ++y) {
      Canvas->MoveTo(TR.Left, y);
      Canvas->LineTo(TR.Right, y);
    }
  } else {
    Canvas->Brush()->SetStyle(bsSolid);
    Canvas->Brush()->SetColor(AColorMarkerValue);
    Canvas->FillRect(ADown ? Rect(R.Left + 4, R.Top + 5, R.Right - 2, R.Bottom - 3)
                           : Rect(R.Left + 4, R.Top + 4, R.Right - 2, R.Bottom - 4));
  }
}

TGlyphSource ImageSource(TCustomImageList* ImageList, Integer ImageIndex, Boolean AEnabled) {
  TGlyphSource s;
  s.ImageList = ImageList;
  s.ImageIndex = ImageIndex;
  s.Enabled = AEnabled;
  return s;
}

TGlyphSource StripSource(TBitmap* Glyph, Integer NumGlyphs, Integer GlyphNum) {
  TGlyphSource s;
  s.Glyph = Glyph;
  s.NumGlyphs = NumGlyphs;
  s.GlyphNum = GlyphNum;
  s.Strip = true;
  return s;
}

}  // namespace

void DrawImageAndText(TCanvas* Canvas, const TRect& R, Integer Margin, Integer Spacing,
                      TspButtonLayout Layout, const String& Caption, Integer ImageIndex,
                      TCustomImageList* ImageList, Boolean ADown, Boolean AEnabled,
                      Boolean ADrawColorMarker, TColor AColorMarkerValue) {
  DrawGlyphCaption(Canvas, R, Margin, Spacing, Layout, Caption,
                   ImageSource(ImageList, ImageIndex, AEnabled), ADown, ADrawColorMarker,
                   AColorMarkerValue, {});
}

void DrawGlyphAndText(TCanvas* Canvas, const TRect& R, Integer Margin, Integer Spacing,
                      TspButtonLayout Layout, const String& Caption, TBitmap* Glyph,
                      Integer NumGlyphs, Integer GlyphNum, Boolean ADown, Boolean ADrawColorMarker,
                      TColor AColorMarkerValue) {
  DrawGlyphCaption(Canvas, R, Margin, Spacing, Layout, Caption,
                   StripSource(Glyph, NumGlyphs, GlyphNum), ADown, ADrawColorMarker,
                   AColorMarkerValue, {});
}

void DrawImageAndTextGlow(TCanvas* Canvas, const TRect& R, Integer Margin, Integer Spacing,
                          TspButtonLayout Layout, const String& Caption, Integer ImageIndex,
                          TCustomImageList* ImageList, Boolean ADown, Boolean AEnabled,
                          Boolean ADrawColorMarker, TColor AColorMarkerValue, TColor GlowColor,
                          Integer GlowSize) {
  DrawGlyphCaption(Canvas, R, Margin, Spacing, Layout, Caption,
                   ImageSource(ImageList, ImageIndex, AEnabled), ADown, ADrawColorMarker,
                   AColorMarkerValue, {true, GlowColor, GlowSize});
}

void DrawGlyphAndTextGlow(TCanvas* Canvas, const TRect& R, Integer Margin, Integer Spacing,
                          TspButtonLayout Layout, const String& Caption, TBitmap* Glyph,
                          Integer NumGlyphs, Integer GlyphNum, Boolean ADown,
                          Boolean ADrawColorMarker, TColor AColorMarkerValue, TColor GlowColor,
                          Integer GlowSize) {
  DrawGlyphCaption(Canvas, R, Margin, Spacing, Layout, Caption,
                   StripSource(Glyph, NumGlyphs, GlyphNum), ADown, ADrawColorMarker,
                   AColorMarkerValue, {true, GlowColor, GlowSize});
}

void DrawGlyph(TCanvas* Canvas, Integer X, Integer Y, TBitmap* Glyph, Integer NumGlyphs,
               Integer GlyphNum) {
  if (!Canvas || !Glyph || Glyph->Empty()) return;
  const Integer GW = Glyph->Width() / (NumGlyphs < 1 ? 1 : NumGlyphs);
  if (GW <= 0) return;
  TOwned<TBitmap> B = CreateOwned<TBitmap>();
  B->SetSize(GW, Glyph->Height());
  B->Canvas()->CopyRect(Rect(0, 0, GW, Glyph->Height()), Glyph->Canvas(),
                        Rect(GW * (GlyphNum - 1), 0, GW * GlyphNum, Glyph->Height()));
  B->SetTransparent(true);
  Canvas->Draw(X, Y, B.get());
}

namespace {

// Drops the last code point of S.
void DeleteLastChar(String& S) {
  while (!S.empty() && (static_cast<unsigned char>(S.back()) & 0xC0) == 0x80) S.pop_back();
  if (!S.empty()) S.pop_back();
}

}  // namespace

namespace vantrel::skin {

void FitToWidth(String& S, Integer Width, const std::function<Integer(const String&)>& Measure) {
  if (Measure(S) <= Width) return;
  do {
    DeleteLastChar(S);
  } while (!S.empty() && Measure(S + "...") > Width);
  S += "...";
}

}  // namespace vantrel::skin

using vantrel::skin::FitToWidth;

void FitTextToWidth(TCanvas* Canvas, String& S, Integer Width) {
  if (!Canvas) return;
  FitToWidth(S, Width, [Canvas](const String& T) { return Canvas->TextWidth(T); });
}

void FitWideTextToWidth(TCanvas* Canvas, WideString& S, Integer Width) {
  if (!Canvas) return;
  FitToWidth(S, Width, [Canvas](const String& T) { return WideTextWidth(Canvas, T); });
}

Integer DrawWideText(TCanvas* Canvas, const WideString& Text, TRect& R, Cardinal Flags) {
  if (!Canvas) return 0;
  return DrawTextW(Canvas->Handle(), Text, Utf8Length(Text), &R, Flags);
}

Integer WideTextWidth(TCanvas* Canvas, const WideString& Text) {
  TRect R = Rect(0, 0, 0, 0);
  DrawWideText(Canvas, Text, R, DT_CALCRECT);
  return R.Right;
}

Integer WideTextHeight(TCanvas* Canvas, const WideString& Text) {
  TRect R = Rect(0, 0, 0, 0);
  DrawWideText(Canvas, Text, R, DT_CALCRECT);
  return R.Bottom;
}

void DrawSingleLineText(TCanvas* Canvas, const String& S, const TRect& R) {
  if (!Canvas || S.empty()) return;
  TRect TR = R;
  DrawTextW(Canvas->Handle(), S, Utf8Length(S), &TR, DT_SINGLELINE | DT_VCENTER);
}

void DrawVCenteredText(TCanvas* Canvas, const String& S, const TRect& R) {
  DrawVCenteredTextAt(Canvas, S, R, 0);
}

void DrawVCenteredTextAt(TCanvas* Canvas, const String& S, const TRect& R, Integer Offset) {
  if (!Canvas || S.empty()) return;
  Canvas->TextRect(R, R.Left + Offset + 2, R.Top + RectHeight(R) / 2 - Canvas->TextHeight(S) / 2,
                   S);
}
