// Soft light around text and images: glow, halo and reflection text, red silhouettes of
// glyphs, list images and PNG pictures for image glows, and alpha bitmaps from PNG images
// and mask pictures. Each draws in pure red into a working bitmap, blurs it where a glow
// is wanted, turns the red into the alpha of the wanted colour and blends the result.
#include <algorithm>
#include <cmath>

#include "platform/rtl/NumConv.h"
#include "platform/rtl/Utf8.h"
#include "platform/ui/Graphics.h"
#include "platform/ui/ImgList.h"
#include "platform/ui/PngImage.h"
#include "platform/win/DrawText.h"
#include "skin/core/drawing/SPUtils.h"
#include "skin/core/bitmaps/spEffBmp.h"
#include "skin/core/bitmaps/sppngimagelist.h"


namespace {

// Pure opaque red (ColorToSpColor(clRed, 255)).
constexpr TspColor kRed = 0xFFFF0000;

// Text drawn through DrawTextW with the string's length, or through DrawWideText.
enum class TextKind { Plain, Wide };

Integer DrawTextOf(TextKind Kind, TCanvas* Canvas, const String& Text, TRect& R, UINT Flags) {
  if (Kind == TextKind::Wide) return DrawWideText(Canvas, Text, R, Flags);
  return DrawTextW(Canvas->Handle(), Text, Utf8Length(Text), &R, Flags);
}

// A zeroed working bitmap with the canvas's font in red and a clear brush; nil when the
// size is empty.
TOwned<TspBitmap> RedTextBitmap(TCanvas* Canvas, Integer W, Integer H) {
  if (W <= 0 || H <= 0) return nullptr;
  TOwned<TspBitmap> B = CreateOwned<TspBitmap>();
  B->SetSize(W, H);
  B->Clear(0);
  TCanvas* c = B->Canvas();
  c->Font()->Assign(Canvas->Font());
  c->Font()->SetColor(clRed);
  c->Brush()->SetStyle(bsClear);
  return B;
}

// Every pixel := Color with its red channel as alpha; then drawn blended at (X, Y).
void BlendRedAsAlpha(TspBitmap* B, TColor Color, TCanvas* Canvas, Integer X, Integer Y) {
  const TspColor rgb = ColorRefToSpColor(static_cast<COLORREF>(Color)) & 0x00FFFFFF;
  for (Integer y = 0; y < B->Height(); ++y) {
    TspColor* row = B->GetScanLinePtr(y);
    for (Integer x = 0; x < B->Width(); ++x) row[x] = rgb | (((row[x] >> 16) & 0xFF) << 24);
  }
  B->SetAlphaBlend(true);
  B->Draw(Canvas, X, Y);
}

TRect Moved(const TRect& R, Integer DX, Integer DY) {
  return Rect(R.Left + DX, R.Top + DY, R.Right + DX, R.Bottom + DY);
}

Integer GlowText(TextKind Kind, bool Thick, TCanvas* Canvas, const TRect& R, const String& Text,
                 Integer Flags, Integer Offset, TColor GlowColor, Integer GlowSize) {
  if (!Canvas) return 0;
  const Integer g = std::max(GlowSize, 0);
  if (TOwned<TspBitmap> B = RedTextBitmap(Canvas, RectWidth(R) + 2 * g, RectHeight(R) + 2 * g)) {
    const TRect T = Rect(g, g, B->Width() - g, B->Height() - g);
    TRect t = T;
    DrawTextOf(Kind, B->Canvas(), Text, t, static_cast<UINT>(Flags));
    if (Thick)
      for (const TPoint d : {TPoint{-1, 0}, TPoint{1, 0}, TPoint{0, -1}, TPoint{0, 1}}) {
        t = Moved(T, d.X, d.Y);
        DrawTextOf(Kind, B->Canvas(), Text, t, static_cast<UINT>(Flags));
      }
    StackBlur(B.get(), g);
    BlendRedAsAlpha(B.get(), GlowColor, Canvas, R.Left + Offset - g, R.Top + Offset - g);
  }
  Canvas->Brush()->SetStyle(bsClear);
  TRect r = R;
  return DrawTextOf(Kind, Canvas, Text, r, static_cast<UINT>(Flags));
}

Integer HaloText(bool Wide, TCanvas* Canvas, const TRect& R, const WideString& Text, Integer Flags,
                 TColor GlowColor) {
  if (!Canvas) return 0;
  const Integer p = Wide ? 12 : 10;
  if (TOwned<TspBitmap> B = RedTextBitmap(Canvas, RectWidth(R) + 2 * p, RectHeight(R) + 2 * p)) {
    const TRect T = Rect(p, p, B->Width() - p, B->Height() - p);
    TCanvas* c = B->Canvas();
    c->Brush()->SetColor(clRed);
    c->Brush()->SetStyle(bsSolid);
    c->FillRect(Wide ? Rect(T.Left - 3, T.Top + 2, T.Right + 3, T.Bottom - 2)
                     : Rect(T.Left + 3, T.Top + 3, T.Right - 3, T.Bottom - 3));
    c->Brush()->SetStyle(bsClear);
    for (const TPoint d : {TPoint{-1, -1}, TPoint{-2, -2}, TPoint{-1, 0}, TPoint{-2, 0},
                           TPoint{1, 0}, TPoint{2, 0}, TPoint{1, 1}, TPoint{2, 2}, TPoint{0, 0}}) {
      TRect t = Moved(T, d.X, d.Y);
      DrawWideText(c, Text, t, static_cast<Cardinal>(Flags));
    }
    StackBlur(B.get(), p / 2);
    StackBlur(B.get(), p / 2);
    BlendRedAsAlpha(B.get(), GlowColor, Canvas, R.Left - p, R.Top - p);
  }
  Canvas->Brush()->SetStyle(bsClear);
  TRect r = R;
  return DrawWideText(Canvas, Text, r, static_cast<Cardinal>(Flags));
}

Integer ReflectionText(TextKind Kind, TCanvas* Canvas, const TRect& R, const String& Text,
                       Integer Flags, Integer Gap, TColor ReflectionColor, Single MinFactor) {
  if (!Canvas) return 0;
  if (TOwned<TspBitmap> B = RedTextBitmap(Canvas, RectWidth(R), RectHeight(R))) {
    TRect T0 = Rect(0, 0, RectWidth(R), RectHeight(R));
    DrawTextOf(Kind, B->Canvas(), Text, T0, static_cast<UINT>(Flags));
    DrawTextOf(Kind, B->Canvas(), Text, T0, static_cast<UINT>(Flags) | DT_CALCRECT);
    TRect TR = R;
    DrawTextOf(Kind, Canvas, Text, TR, static_cast<UINT>(Flags) | DT_CALCRECT);
    if (T0.Bottom - T0.Top > 0) {
      const TspColor rgb = ColorRefToSpColor(static_cast<COLORREF>(ReflectionColor)) & 0x00FFFFFF;
      for (Integer i = 0; i < B->Height(); ++i) {
        TspColor* row = B->GetScanLinePtr(i);
        if (i < T0.Top || i > T0.Bottom) {
          std::fill(row, row + B->Width(), TspColor{0});
          continue;
        }
        const Single f = vantrel::skin::ReflectionFactor(i, T0.Top, T0.Bottom, MinFactor);
        for (Integer x = 0; x < B->Width(); ++x) {
          const Extended red = (row[x] >> 16) & 0xFF;
          const auto a = static_cast<TspColor>(std::trunc(red * f));
          row[x] = rgb | a << 24;
        }
      }
    }
    B->FlipVert();
    B->SetAlphaBlend(true);
    B->Draw(Canvas, R.Left, TR.Bottom + T0.Bottom - B->Height() + Gap);
  }
  Canvas->Brush()->SetStyle(bsClear);
  TRect r = R;
  return DrawTextOf(Kind, Canvas, Text, r, static_cast<UINT>(Flags));
}

// Red where the working bitmap differs from its pixel (0, 0), drawn keyed three times
// around (Offset, Offset).
void DrawBitmapGlowMask(TspBitmap* Bitmap, TBitmap* Source, Integer Offset) {
  if (!Bitmap || Bitmap->Empty() || !Source || Source->Empty()) return;
  TOwned<TspBitmap> temp = CreateOwned<TspBitmap>();
  temp->Assign(Source);
  if (temp->Empty()) return;
  const TspColor key = temp->GetPixelValue(0, 0);
  for (Integer y = 0; y < temp->Height(); ++y) {
    TspColor* row = temp->GetScanLinePtr(y);
    for (Integer x = 0; x < temp->Width(); ++x)
      if (row[x] != key) row[x] = kRed;
  }
  temp->CheckingTransparent(temp->GetPixelValue(0, 0));
  for (const Integer d : {0, -1, 1}) temp->Draw(Bitmap->Canvas(), Offset + d, Offset + d);
}

}  // namespace

namespace vantrel::skin {

Single ReflectionFactor(Integer I, Integer Top, Integer Bottom, Single MinFactor) {
  const Extended ratio =
      static_cast<Extended>(Bottom - (I - Top)) / static_cast<Extended>(Bottom - Top);
  const Single f = static_cast<Single>(0.7L - ratio);
  return f < MinFactor ? MinFactor : f;
}

}  // namespace vantrel::skin

COLORREF DarkerColor(TColor Color, Byte Percent) {
  const COLORREF c = static_cast<COLORREF>(ColorToRGB(Color));
  auto darker = [Percent](Integer v) {
    return static_cast<BYTE>((v - MulDiv(v, Percent, 100)) & 0xFF);
  };
  return RGB(darker(GetRValue(c)), darker(GetGValue(c)), darker(GetBValue(c)));
}

void MakeAlphaBitmap(TBitmap* Image, TBitmap* Mask, TspBitmap* Dest) {
  if (!Dest) return;
  Dest->Assign(Image);
  TOwned<TspBitmap> temp = CreateOwned<TspBitmap>();
  temp->Assign(Mask);
  SetAlphaFromGray(Dest, temp.get());
  Dest->CheckRGBA();
}

void DrawGlyphGlowMask(TspBitmap* Bitmap, TBitmap* Glyph, Integer Offset) {
  DrawBitmapGlowMask(Bitmap, Glyph, Offset);
}

void DrawImageGlowMask(TspBitmap* Bitmap, TCustomImageList* ImageList, Integer Index,
                       Integer Offset) {
  if (!ImageList) return;
  if (auto* png = dynamic_cast<TspPngImageList*>(ImageList)) {
    if (Index >= 0 && Index < png->PngImages()->Count())
      DrawPngGlowMask(Bitmap, png->PngImages()->GetPngImageItem(Index)->PngImage(), Offset);
    return;
  }
  TOwned<TBitmap> image = CreateOwned<TBitmap>();
  if (ImageList->GetBitmap(Index, image.get())) DrawBitmapGlowMask(Bitmap, image.get(), Offset);
}

void DrawPngGlowMask(TspBitmap* Bitmap, TPngImage* Png, Integer Offset) {
  if (!Bitmap || !Png || Png->Empty()) return;
  // A picture without an alpha channel counts by its transparent colour, else as opaque.
  for (Integer y = 0; y < Png->Height(); ++y)
    for (Integer x = 0; x < Png->Width(); ++x)
      if (Png->PixelAlpha(x, y) != 0) Bitmap->SetPixelValue(Offset + x, Offset + y, kRed);
  Bitmap->CheckingAlphaBlend();
}

void AssignPngToBitmap(TspBitmap* Bitmap, TPngImage* Png) {
  if (!Bitmap || !Png || Png->Empty()) return;
  Bitmap->SetSize(Png->Width(), Png->Height());
  for (Integer y = 0; y < Png->Height(); ++y) {
    TspColor* row = Bitmap->GetScanLinePtr(y);
    for (Integer x = 0; x < Png->Width(); ++x)
      row[x] = ColorToSpColor(Png->Pixels(x, y), Png->PixelAlpha(x, y));
  }
  Bitmap->CheckingAlphaBlend();
}

void DrawGlowText(TCanvas* Canvas, const TRect& R, const String& Text, Integer Flags,
                  Integer Offset, TColor GlowColor, Integer GlowSize) {
  GlowText(TextKind::Plain, false, Canvas, R, Text, Flags, Offset, GlowColor, GlowSize);
}

void DrawThickGlowText(TCanvas* Canvas, const TRect& R, const String& Text, Integer Flags,
                       Integer Offset, TColor GlowColor, Integer GlowSize) {
  GlowText(TextKind::Plain, true, Canvas, R, Text, Flags, Offset, GlowColor, GlowSize);
}

Integer DrawGlowTextW(TCanvas* Canvas, const TRect& R, const WideString& Text, Integer Flags,
                      Integer Offset, TColor GlowColor, Integer GlowSize) {
  return GlowText(TextKind::Wide, false, Canvas, R, Text, Flags, Offset, GlowColor, GlowSize);
}

Integer DrawWideHaloText(TCanvas* Canvas, const TRect& R, const WideString& Text, Integer Flags,
                         TColor GlowColor) {
  return HaloText(true, Canvas, R, Text, Flags, GlowColor);
}

Integer DrawNarrowHaloText(TCanvas* Canvas, const TRect& R, const WideString& Text, Integer Flags,
                           TColor GlowColor) {
  return HaloText(false, Canvas, R, Text, Flags, GlowColor);
}

void DrawReflectionText(TCanvas* Canvas, const TRect& R, const String& Text, Integer Flags,
                        Integer Gap, TColor ReflectionColor) {
  ReflectionText(TextKind::Plain, Canvas, R, Text, Flags, Gap, ReflectionColor, 0.05f);
}

Integer DrawReflectionTextW(TCanvas* Canvas, const TRect& R, const WideString& Text, Integer Flags,
                            Integer Gap, TColor ReflectionColor) {
  return ReflectionText(TextKind::Wide, Canvas, R, Text, Flags, Gap, ReflectionColor, 0.0f);
}
