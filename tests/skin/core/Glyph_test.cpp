#include <gtest/gtest.h>

#include "platform/rtl/Utf8.h"
#include "platform/ui/ImgList.h"
#include "platform/win/DrawText.h"
#include "skin/core/drawing/SPUtils.h"
#include "tests/support/SkinImageBitmaps.h"

using vantrel::test::NewBitmap;
using vantrel::test::PixelOf;
using vantrel::test::SetPixelOf;

namespace {

constexpr uint32_t kGlyphWhite = 0xFFFFFF;
constexpr uint32_t kLime = 0x00FF00;

TOwned<TBitmap> Surface(int W, int H) {
  TOwned<TBitmap> b = NewBitmap(W, H, kGlyphWhite);
  b->Canvas()->Font()->SetName("Arial");
  b->Canvas()->Font()->SetHeight(-13);
  b->Canvas()->Font()->SetColor(clBlack);
  return b;
}

// A strip of four 8 x 6 glyphs on lime; glyph k has a 4 x 2 block of colour k * 0x30 in blue.
TOwned<TBitmap> GlyphStrip() {
  TOwned<TBitmap> b = NewBitmap(32, 6, kLime);
  for (int k = 0; k < 4; ++k)
    for (int y = 2; y < 4; ++y)
      for (int x = 2; x < 6; ++x)
        SetPixelOf(*b, 8 * k + x, y, static_cast<uint32_t>(0x30 * (k + 1)));
  return b;
}

// Caption size as the drawers measure it.
TSize Measure(TBitmap& B, const String& S, int Width) {
  TRect r = Rect(0, 0, Width, 1000);
  DrawTextW(B.Canvas()->Handle(), S, Utf8Length(S), &r,
            DT_CALCRECT | DT_EXPANDTABS | DT_WORDBREAK);
  return {r.Right - r.Left, r.Bottom - r.Top};
}

int Differences(TBitmap& A, TBitmap& B) {
  int n = 0;
  for (int y = 0; y < A.Height(); ++y)
    for (int x = 0; x < A.Width(); ++x) n += PixelOf(A, x, y) != PixelOf(B, x, y);
  return n;
}

}  // namespace

TEST(GlyphLayout, PlacesGlyphAndCaptionForEveryLayout) {
  const TRect R = Rect(0, 0, 100, 30);
  struct Case {
    TspButtonLayout Layout;
    int Margin, Spacing, GW, GH, TW, TH;
    int TextX, TextY, GlyphX, GlyphY;
  } cases[] = {
      {blGlyphLeft, -1, 4, 16, 16, 40, 13, 40, 9, 20, 7},
      {blGlyphRight, -1, 4, 16, 16, 40, 13, 20, 9, 64, 7},
      {blGlyphTop, -1, 2, 16, 16, 40, 13, 30, 17, 42, 0},
      {blGlyphBottom, -1, 2, 16, 16, 40, 13, 30, 0, 42, 14},
      {blGlyphLeft, 5, 4, 16, 16, 40, 13, 25, 9, 5, 7},
      {blGlyphRight, 5, 4, 16, 16, 40, 13, 35, 9, 79, 7},
      {blGlyphTop, 3, 2, 16, 10, 40, 13, 30, 15, 42, 3},
      {blGlyphBottom, 3, 2, 16, 10, 40, 13, 30, 2, 42, 17},
      // Without a glyph the spacing counts as 0: the caption is exactly centred.
      {blGlyphLeft, -1, 4, 0, 0, 40, 13, 30, 9, 30, 15},
      {blGlyphTop, -1, 4, 0, 0, 40, 13, 30, 8, 50, 9},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "layout " << int(c.Layout) << " margin " << c.Margin);
    Integer tx = -99, ty = -99, gx = -99, gy = -99;
    CalcGlyphAndTextLayout(c.Layout, R, c.GW, c.GH, c.TW, c.TH, c.Spacing, c.Margin, tx, ty, gx,
                           gy);
    EXPECT_EQ(tx, c.TextX);
    EXPECT_EQ(ty, c.TextY);
    EXPECT_EQ(gx, c.GlyphX);
    EXPECT_EQ(gy, c.GlyphY);
  }
  Integer tx = 1, ty = 2, gx = 3, gy = 4;
  CalcGlyphAndTextLayout(static_cast<TspButtonLayout>(4), R, 16, 16, 40, 13, 4, -1, tx, ty, gx, gy);
  EXPECT_EQ(tx + ty + gx + gy, 10);  // unknown layouts leave the outputs alone
}

TEST(GlyphDrawing, StripGlyphIsDrawnTransparentAtItsLayoutPlace) {
  TOwned<TBitmap> strip = GlyphStrip();
  for (bool down : {false, true}) {
    SCOPED_TRACE(down);
    TOwned<TBitmap> s = Surface(100, 30);
    DrawGlyphAndText(s->Canvas(), Rect(0, 0, 100, 30), -1, 4, blGlyphLeft, "", strip.get(), 4, 2,
                     down, false, clBlue);
    // B = (8 + 4) div 2 = 6: glyph at (44, 12), one further right and down when pressed.
    const int gx = 44 + down, gy = 12 + down;
    EXPECT_EQ(PixelOf(*s, gx + 2, gy + 2), 0x60u);  // glyph 2's block
    EXPECT_EQ(PixelOf(*s, gx + 5, gy + 3), 0x60u);
    EXPECT_EQ(PixelOf(*s, gx, gy), kGlyphWhite);  // the lime background is transparent
    int lime = 0;
    for (int y = 0; y < 30; ++y)
      for (int x = 0; x < 100; ++x) lime += PixelOf(*s, x, y) == kLime;
    EXPECT_EQ(lime, 0);
  }
}

TEST(GlyphDrawing, ColourMarkerOfAStripSpansTheWholeStrip) {
  TOwned<TBitmap> strip = GlyphStrip();
  TOwned<TBitmap> s = Surface(100, 30);
  DrawGlyphAndText(s->Canvas(), Rect(0, 0, 100, 30), -1, 4, blGlyphLeft, "", strip.get(), 4, 1,
                   false, true, clBlue);
  for (int y : {16, 17, 18}) {
    SCOPED_TRACE(y);
    EXPECT_EQ(PixelOf(*s, 44, y), 0x0000FFu);
    EXPECT_EQ(PixelOf(*s, 44 + 31, y), 0x0000FFu);  // four glyph widths
    EXPECT_EQ(PixelOf(*s, 44 + 32, y), kGlyphWhite);
    EXPECT_EQ(PixelOf(*s, 43, y), kGlyphWhite);
  }
  EXPECT_EQ(PixelOf(*s, 50, 19), kGlyphWhite);
}

TEST(GlyphDrawing, ColourMarkerWithoutGlyphOrCaptionFillsAPatch) {
  for (bool down : {false, true}) {
    SCOPED_TRACE(down);
    TOwned<TBitmap> s = Surface(40, 20);
    DrawImageAndText(s->Canvas(), Rect(0, 0, 40, 20), -1, 0, blGlyphLeft, "", -1, nullptr, down,
                     true, true, clRed);
    const int top = down ? 5 : 4, bottom = down ? 17 : 16;
    EXPECT_EQ(PixelOf(*s, 4, top), 0xFF0000u);
    EXPECT_EQ(PixelOf(*s, 37, bottom - 1), 0xFF0000u);
    EXPECT_EQ(PixelOf(*s, 38, top), kGlyphWhite);
    EXPECT_EQ(PixelOf(*s, 4, top - 1), kGlyphWhite);
    EXPECT_EQ(PixelOf(*s, 4, bottom), kGlyphWhite);
  }
}

TEST(GlyphDrawing, CaptionAloneIsCentredWhateverTheSpacing) {
  const TRect R = Rect(0, 0, 120, 40);
  const String caption = "Convert";
  TOwned<TBitmap> expected = Surface(120, 40);
  const TSize t = Measure(*expected, caption, 120);
  ASSERT_GT(t.cx, 0);
  const int x = 60 + t.cx / 2 - t.cx, y = 20 - t.cy / 2;
  TRect tr = Rect(x, y, x + t.cx + 2, y + t.cy);
  expected->Canvas()->Brush()->SetStyle(bsClear);
  DrawTextW(expected->Canvas()->Handle(), caption, -1, &tr,
            DT_EXPANDTABS | DT_WORDBREAK | DT_VCENTER | DT_CENTER);
  for (int spacing : {0, 4}) {
    SCOPED_TRACE(spacing);
    TOwned<TBitmap> s = Surface(120, 40);
    TOwned<TBitmap> empty = CreateOwned<TBitmap>();
    DrawGlyphAndText(s->Canvas(), R, -1, spacing, blGlyphLeft, caption, empty.get(), 1, 1, false,
                     false, clNone);
    EXPECT_EQ(Differences(*s, *expected), 0);
  }
}

TEST(GlyphDrawing, ImageListGlyphBesideAWordWrappedCaption) {
  TOwned<TImageList> list = CreateOwned<TImageList>(nullptr);
  TOwned<TBitmap> image = NewBitmap(16, 16, 0x3366CC);
  list->Add(image.get(), nullptr);
  const TRect R = Rect(10, 0, 110, 40);
  const String caption = "Add files";
  TOwned<TBitmap> s = Surface(130, 40);
  const TSize t = Measure(*s, caption, 100 - 16);
  DrawImageAndText(s->Canvas(), R, 5, 3, blGlyphRight, caption, 0, list.get(), false, true, false,
                   0);
  // Glyph at R.Right - 16 - 5 = 89, caption ending Spacing before it.
  EXPECT_EQ(PixelOf(*s, 89, 12), 0x3366CCu);
  EXPECT_EQ(PixelOf(*s, 104, 27), 0x3366CCu);
  EXPECT_EQ(PixelOf(*s, 105, 12), kGlyphWhite);
  const int textX = 89 - 3 - t.cx, textY = 20 - t.cy / 2;
  int inkLeft = 999, inkRight = -1, inkTop = 999, inkBottom = -1;
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 89; ++x)
      if (PixelOf(*s, x, y) != kGlyphWhite) {
        inkLeft = std::min(inkLeft, x), inkRight = std::max(inkRight, x);
        inkTop = std::min(inkTop, y), inkBottom = std::max(inkBottom, y);
      }
  EXPECT_GE(inkLeft, textX);
  EXPECT_LE(inkLeft, textX + 3);
  EXPECT_LE(inkRight, textX + t.cx + 2);
  EXPECT_GE(inkTop, textY);
  EXPECT_LE(inkBottom, textY + t.cy);
}

TEST(TextFit, EllipsisWithAFixedWidthMeasurer) {
  auto tenPerChar = [](const String& S) { return 10 * Utf8Length(S); };
  struct Case {
    String In;
    int Width;
    String Out;
  } cases[] = {
      {"Hello", 50, "Hello"},
      {"Hello", 49, "H..."},
      {"Hello", 60, "Hello"},
      {"Hello world", 80, "Hello..."},
      {"Hello", 10, "..."},
      // Whole code points are dropped.
      {"\xC3\x84\xC3\xB6\xC3\xBC\xC3\x9Fx", 45, "\xC3\x84..."},
      {"", 0, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.In + " @ " + std::to_string(c.Width));
    String s = c.In;
    vantrel::skin::FitToWidth(s, c.Width, tenPerChar);
    EXPECT_EQ(s, c.Out);
  }
}

TEST(TextFit, EllipsisWithTheRealFont) {
  TOwned<TBitmap> s = Surface(10, 10);
  TCanvas* c = s->Canvas();
  const String text = "Conversion of every selected file";
  String fits = text;
  FitTextToWidth(c, fits, c->TextWidth(text));
  EXPECT_EQ(fits, text);

  const int width = c->TextWidth(text) / 2;
  String cut = text;
  FitTextToWidth(c, cut, width);
  ASSERT_GT(cut.size(), 3u);
  EXPECT_EQ(cut.substr(cut.size() - 3), "...");
  EXPECT_LE(c->TextWidth(cut), width);
  const String prefix = cut.substr(0, cut.size() - 3);
  EXPECT_EQ(text.compare(0, prefix.size(), prefix), 0);
  EXPECT_GT(c->TextWidth(text.substr(0, prefix.size() + 1) + "..."), width);

  WideString wide = text;
  FitWideTextToWidth(c, wide, width);
  EXPECT_EQ(wide, cut);
  String tiny = text;
  FitTextToWidth(c, tiny, 2);
  EXPECT_EQ(tiny, "...");
}

TEST(TextHelpers, WideTextMeasuresAndCentredTextDraws) {
  TOwned<TBitmap> s = Surface(120, 40);
  TCanvas* c = s->Canvas();
  EXPECT_EQ(WideTextWidth(c, "Play"), c->TextWidth("Play"));
  EXPECT_EQ(WideTextHeight(c, "Play"), c->TextHeight("Play"));
  TRect r = Rect(0, 0, 0, 0);
  EXPECT_EQ(DrawWideText(c, "Play", r, DT_CALCRECT), c->TextHeight("Play"));

  // Nothing for empty text; otherwise ink inside the rectangle.
  DrawSingleLineText(c, "", Rect(0, 0, 120, 40));
  DrawVCenteredText(c, "", Rect(0, 0, 120, 40));
  int ink = 0;
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 120; ++x) ink += PixelOf(*s, x, y) != kGlyphWhite;
  EXPECT_EQ(ink, 0);
  c->Brush()->SetStyle(bsClear);
  DrawVCenteredTextAt(c, "Stop", Rect(0, 0, 120, 40), 30);
  int left = 999;
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 120; ++x)
      if (PixelOf(*s, x, y) != kGlyphWhite) left = std::min(left, x);
  EXPECT_GE(left, 32);
  EXPECT_LE(left, 34);
}
