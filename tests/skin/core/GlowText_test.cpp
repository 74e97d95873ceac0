#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "platform/rtl/Utf8.h"
#include "platform/win/DrawText.h"
#include "skin/core/drawing/SPUtils.h"
#include "skin/core/bitmaps/spEffBmp.h"
#include "skin/core/bitmaps/sppngimagelist.h"
#include "tests/support/SkinImageBitmaps.h"

using vantrel::test::NewBitmap;
using vantrel::test::SetPixelOf;

namespace {

constexpr UINT kFlags = DT_LEFT | DT_TOP | DT_SINGLELINE;

void UseFont(TCanvas* C, TColor Color) {
  C->Font()->SetName("Arial");
  C->Font()->SetHeight(-16);
  C->Font()->SetColor(Color);
}

// A black working bitmap to draw on, in black text: only glows and reflections show.
TOwned<TspBitmap> BlackTarget(int W, int H) {
  TOwned<TspBitmap> b = CreateOwned<TspBitmap>();
  b->SetSize(W, H);
  UseFont(b->Canvas(), clBlack);
  return b;
}

// The text drawn in red into Area of a zeroed W x H bitmap: the raw glow mask.
TOwned<TspBitmap> RedMask(const String& Text, int W, int H, TRect Area, UINT Flags = kFlags) {
  TOwned<TspBitmap> b = CreateOwned<TspBitmap>();
  b->SetSize(W, H);
  UseFont(b->Canvas(), clRed);
  b->Canvas()->Brush()->SetStyle(bsClear);
  DrawTextW(b->Canvas()->Handle(), Text, Utf8Length(Text), &Area, Flags);
  return b;
}

int Red(TspColor C) { return (C >> 16) & 0xFF; }

// White blended at alpha a onto black gives a channel of a or a - 1.
bool BlendedFrom(TspColor Pixel, int Alpha) {
  const int r = Red(Pixel), g = (Pixel >> 8) & 0xFF, b = Pixel & 0xFF;
  return r == g && g == b && r <= Alpha && r >= Alpha - 1;
}

// Pixels of Target at (X0 + x, Y0 + y) that do not carry Expected(x, y) as alpha.
template <class F>
int Mismatches(TspBitmap& Target, int X0, int Y0, int W, int H, F Expected) {
  int wrong = 0;
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x)
      wrong += !BlendedFrom(Target.GetPixelValue(X0 + x, Y0 + y), Expected(x, y));
  return wrong;
}

RECT InkBox(TspBitmap& B) {
  RECT r{B.Width(), B.Height(), 0, 0};
  for (int y = 0; y < B.Height(); ++y)
    for (int x = 0; x < B.Width(); ++x)
      if (B.GetPixelValue(x, y) & 0xFFFFFF) {
        r.Left = std::min(r.Left, x), r.Top = std::min(r.Top, y);
        r.Right = std::max(r.Right, x + 1), r.Bottom = std::max(r.Bottom, y + 1);
      }
  return r;
}

}  // namespace

TEST(GlowText, GlowSizeZeroIsASharpCopyMovedByOffset) {
  TOwned<TspBitmap> t = BlackTarget(100, 50);
  const TRect R = Rect(5, 5, 65, 25);
  DrawGlowText(t->Canvas(), R, "Glow", kFlags, 15, clWhite, 0);
  TOwned<TspBitmap> mask = RedMask("Glow", 60, 20, Rect(0, 0, 60, 20));
  ASSERT_GT(InkBox(*mask).Right, 0);
  // The mask at (20, 20) and nothing elsewhere.
  EXPECT_EQ(Mismatches(*t, 0, 0, 100, 50,
                       [&](int x, int y) {
                         const bool in = x >= 20 && y >= 20 && x < 80 && y < 40;
                         return in ? Red(mask->GetPixelValue(x - 20, y - 20)) : 0;
                       }),
            0);
}

TEST(GlowText, GlowIsTheBlurredMaskAroundTheText) {
  const int g = 3;
  TOwned<TspBitmap> t = BlackTarget(110, 60);
  const TRect R = Rect(5, 5, 65, 25);
  DrawGlowText(t->Canvas(), R, "Glow", kFlags, 30, clWhite, g);
  TOwned<TspBitmap> mask = RedMask("Glow", 60 + 2 * g, 20 + 2 * g, Rect(g, g, 60 + g, 20 + g));
  StackBlur(mask.get(), g);
  EXPECT_EQ(Mismatches(*t, 5 + 30 - g, 5 + 30 - g, 60 + 2 * g, 20 + 2 * g,
                       [&](int x, int y) { return Red(mask->GetPixelValue(x, y)); }),
            0);
}

TEST(GlowText, ThickGlowWidensTheMaskByOnePixelEachWay) {
  TOwned<TspBitmap> plain = BlackTarget(100, 60), thick = BlackTarget(100, 60);
  const TRect R = Rect(5, 5, 65, 25);
  // Centred, so no copy of the text is cut by the glow bitmap's edges.
  const UINT flags = kFlags | DT_CENTER;
  DrawGlowText(plain->Canvas(), R, "Wide", flags, 25, clWhite, 0);
  DrawThickGlowText(thick->Canvas(), R, "Wide", flags, 25, clWhite, 0);
  RECT a = InkBox(*plain), b = InkBox(*thick);
  InflateRect(&a, 1, 1);
  EXPECT_EQ(a, b);
  // The wide variant draws the same glow and returns the text height.
  TOwned<TspBitmap> wide = BlackTarget(100, 60);
  const Integer h = DrawGlowTextW(wide->Canvas(), R, "Wide", flags, 25, clWhite, 0);
  EXPECT_EQ(InkBox(*wide), InkBox(*plain));
  TRect m = R;
  EXPECT_EQ(h, DrawWideText(wide->Canvas(), "Wide", m, flags | DT_CALCRECT));
}

TEST(GlowText, HaloCoversTheCaptionAreaAndReturnsTheTextHeight) {
  for (bool wideHalo : {true, false}) {
    SCOPED_TRACE(wideHalo);
    TOwned<TspBitmap> t = BlackTarget(120, 60);
    const TRect R = Rect(30, 20, 90, 40);
    const Integer h = wideHalo ? DrawWideHaloText(t->Canvas(), R, "Halo", kFlags, clWhite)
                               : DrawNarrowHaloText(t->Canvas(), R, "Halo", kFlags, clWhite);
    TRect m = Rect(0, 0, 0, 0);
    EXPECT_EQ(h, DrawWideText(t->Canvas(), "Halo", m, DT_CALCRECT));
    // The filled patch under the caption glows in the middle of R; nothing reaches past
    // the pad around R.
    EXPECT_GT(Red(t->GetPixelValue(80, 30)), 100);
    const int p = wideHalo ? 12 : 10;
    const RECT ink = InkBox(*t);
    EXPECT_GE(ink.Left, R.Left - p);
    EXPECT_LE(ink.Right, R.Right + p);
    EXPECT_GE(ink.Top, R.Top - p);
    EXPECT_LE(ink.Bottom, R.Bottom + p);
  }
}

TEST(ReflectionText, FadingFactorFollowsTheFormula) {
  using vantrel::skin::ReflectionFactor;
  // Text 10 rows high with its top at 0: the row next to the text (row 9) gets 0.6, the
  // 0.7 of the formula falls on row 10, below the text.
  EXPECT_FLOAT_EQ(ReflectionFactor(9, 0, 10, 0.05f), 0.6f);
  EXPECT_FLOAT_EQ(ReflectionFactor(10, 0, 10, 0.05f), 0.7f);
  EXPECT_FLOAT_EQ(ReflectionFactor(5, 0, 10, 0.05f), 0.2f);
  EXPECT_FLOAT_EQ(ReflectionFactor(0, 0, 10, 0.05f), 0.05f);
  EXPECT_FLOAT_EQ(ReflectionFactor(0, 0, 10, 0.0f), 0.0f);
  EXPECT_FLOAT_EQ(ReflectionFactor(2, 0, 10, 0.0f), 0.0f);
  // A text whose top is not 0 mixes absolute and relative rows exactly as written.
  EXPECT_FLOAT_EQ(ReflectionFactor(4, 2, 12, 0.05f), 0.05f);
  EXPECT_FLOAT_EQ(ReflectionFactor(10, 2, 12, 0.05f), 0.3f);
}

TEST(ReflectionText, MirrorStartsGapPixelsBelowTheTextAndFades) {
  for (bool wide : {false, true}) {
    SCOPED_TRACE(wide);
    TOwned<TspBitmap> t = BlackTarget(100, 120);
    const TRect R = Rect(10, 5, 90, 45);
    const int gap = 3;
    if (wide)
      DrawReflectionTextW(t->Canvas(), R, "Mirror", kFlags, gap, clWhite);
    else
      DrawReflectionText(t->Canvas(), R, "Mirror", kFlags, gap, clWhite);
    TRect ext = Rect(0, 0, 80, 40);
    TOwned<TspBitmap> mask = RedMask("Mirror", 80, 40, ext);
    DrawTextW(mask->Canvas()->Handle(), "Mirror", -1, &ext, kFlags | DT_CALCRECT);
    const int th = ext.Bottom;
    ASSERT_GT(th, 5);
    const Single minF = wide ? 0.0f : 0.05f;
    // Source row i lands on row R.Top + th + gap + (th - 1 - i).
    const int wrong = Mismatches(*t, 10, 5 + th + gap, 80, th, [&](int x, int y) {
      const int i = th - 1 - y;
      const Single f = vantrel::skin::ReflectionFactor(i, 0, th, minF);
      return static_cast<int>(
          std::trunc(Red(mask->GetPixelValue(x, i)) * static_cast<long double>(f)));
    });
    EXPECT_EQ(wrong, 0);
    // The gap between text and mirror stays empty.
    for (int y = 5 + th; y < 5 + th + gap; ++y)
      for (int x = 0; x < 100; ++x)
        ASSERT_EQ(t->GetPixelValue(x, y) & 0xFFFFFF, 0u) << x << "," << y;
  }
}

TEST(GlowMasks, PngMaskMarksEveryPixelWithAnyAlpha) {
  TOwned<TspPngImage> png = CreateOwned<TspPngImage>();
  png->CreateBlank(COLOR_RGBALPHA, 8, 3, 1);
  png->AlphaScanline(0)[0] = 0;
  png->AlphaScanline(0)[1] = 1;
  png->AlphaScanline(0)[2] = 255;
  TspBitmap b;
  b.SetSize(7, 5);
  DrawPngGlowMask(&b, png.get(), 2);
  EXPECT_EQ(b.GetPixelValue(2, 2), 0u);
  EXPECT_EQ(b.GetPixelValue(3, 2), 0xFFFF0000u);
  EXPECT_EQ(b.GetPixelValue(4, 2), 0xFFFF0000u);
  EXPECT_FALSE(b.AlphaBlend());
}

TEST(GlowMasks, GlyphMaskIsTheNonBackgroundShapeDrawnThreeTimes) {
  TOwned<TBitmap> glyph = NewBitmap(6, 6, 0x00FF00);
  for (int y = 2; y < 4; ++y)
    for (int x = 2; x < 4; ++x) SetPixelOf(*glyph, x, y, 0x0000FF);
  TspBitmap b;
  b.SetSize(10, 10);
  DrawGlyphGlowMask(&b, glyph.get(), 2);
  // The 2 x 2 block at (2, 2) of the glyph, moved by 1, 2 and 3 along the diagonal.
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x) {
      bool in = false;
      for (int d : {1, 2, 3}) in |= x >= 2 + d && x < 4 + d && y >= 2 + d && y < 4 + d;
      EXPECT_EQ(b.GetPixelValue(x, y), in ? 0xFFFF0000u : 0u) << x << "," << y;
    }
}

TEST(GlowMasks, PngImageListItemsGiveTheirSilhouette) {
  TOwned<TspPngImageList> list = CreateOwned<TspPngImageList>(nullptr);
  list->SetPngWidth(2);
  list->SetPngHeight(2);
  TOwned<TspPngImage> png = CreateOwned<TspPngImage>();
  png->CreateBlank(COLOR_RGBALPHA, 8, 2, 2);
  png->AlphaScanline(1)[1] = 90;
  list->PngImages()->Add()->SetPngImage(png.get());
  TspBitmap b;
  b.SetSize(6, 6);
  DrawImageGlowMask(&b, list.get(), 0, 1);
  EXPECT_EQ(b.GetPixelValue(2, 2), 0xFFFF0000u);
  EXPECT_EQ(b.GetPixelValue(1, 1), 0u);
  DrawImageGlowMask(&b, list.get(), 3, 1);  // no such item: nothing
}

TEST(AlphaImages, PngToBitmapKeepsStraightAlpha) {
  TOwned<TspPngImage> png = CreateOwned<TspPngImage>();
  png->CreateBlank(COLOR_RGBALPHA, 8, 2, 1);
  png->SetPixels(0, 0, clRed);
  png->SetPixels(1, 0, clBlue);
  png->AlphaScanline(0)[0] = 128;
  png->AlphaScanline(0)[1] = 255;
  TspBitmap b;
  AssignPngToBitmap(&b, png.get());
  EXPECT_EQ(b.GetPixelValue(0, 0), 0x80FF0000u);
  EXPECT_EQ(b.GetPixelValue(1, 0), 0xFF0000FFu);
  EXPECT_TRUE(b.AlphaBlend());
}

TEST(AlphaImages, AlphaBitmapFromImageAndGreyMask) {
  TOwned<TBitmap> image = NewBitmap(2, 1, 0x204060);
  SetPixelOf(*image, 1, 0, 0xFFFFFF);
  TOwned<TBitmap> mask = NewBitmap(2, 1, 0x808080);
  SetPixelOf(*mask, 1, 0, 0x000000);
  TspBitmap dest;
  MakeAlphaBitmap(image.get(), mask.get(), &dest);
  EXPECT_EQ(dest.GetPixelValue(0, 0), 0x80204060u);
  EXPECT_EQ(dest.GetPixelValue(1, 0), 0u);  // colours held to the alpha
}

TEST(GlowText, DarkerColorRoundsHalvesAwayFromZero) {
  EXPECT_EQ(DarkerColor(RGB(200, 255, 0), 70), RGB(60, 76, 0));
  EXPECT_EQ(DarkerColor(RGB(10, 20, 30), 0), RGB(10, 20, 30));
  EXPECT_EQ(DarkerColor(RGB(10, 20, 30), 100), RGB(0, 0, 0));
}

TEST(GlowText, GlowDrawerLightsAroundTheGlyph) {
  TOwned<TBitmap> strip = NewBitmap(8, 8, 0x00FF00);
  for (int y = 1; y < 7; ++y)
    for (int x = 1; x < 7; ++x) SetPixelOf(*strip, x, y, 0x000001);
  TOwned<TspBitmap> t = BlackTarget(60, 40);
  DrawGlyphAndTextGlow(t->Canvas(), Rect(0, 0, 60, 40), -1, 0, blGlyphLeft, "", strip.get(), 1, 1,
                       false, false, clNone, clWhite, 3);
  // Glyph at (26, 16): the glow shows just outside its drawn pixels, not far away.
  EXPECT_GT(Red(t->GetPixelValue(26, 20)), 0);
  EXPECT_EQ(t->GetPixelValue(10, 20) & 0xFFFFFF, 0u);
}
