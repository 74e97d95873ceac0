#include <gtest/gtest.h>

#include "skin/core/bitmaps/spEffBmp.h"

TEST(TspBitmapFills, FillRectIsClippedAndSetsAllFourBytesWithoutAlphaBlend) {
  TspBitmap b;
  b.SetSize(4, 4);
  b.Clear(0xFF101010);
  b.FillRect(Rect(-5, -5, 2, 2), 0x20304050);
  for (Integer y = 0; y < 4; ++y)
    for (Integer x = 0; x < 4; ++x)
      EXPECT_EQ(b.GetPixelValue(x, y), (x < 2 && y < 2) ? 0x20304050u : 0xFF101010u);
  b.FillRect(Rect(3, 3, 3, 9), 0);   // empty
  b.FillRect(Rect(9, 0, 12, 4), 0);  // outside
  EXPECT_EQ(b.GetPixelValue(3, 3), 0xFF101010u);
}

TEST(TspBitmapFills, FillRectBlendsWithAlphaBlend) {
  TspBitmap b;
  b.SetSize(3, 1);
  b.Clear(0xFF0000FF);
  b.SetAlphaBlend(true);
  b.FillRect(Rect(0, 0, 3, 1), 0x00FFFFFF);
  EXPECT_EQ(b.GetPixelValue(1, 0), 0xFF0000FFu);
  b.FillRect(Rect(1, 0, 9, 1), 0x80FF0000);
  EXPECT_EQ(b.GetPixelValue(0, 0), 0xFF0000FFu);
  EXPECT_EQ(b.GetPixelValue(2, 0), PixelKernels.BlendPixel(0x80FF0000, 0xFF0000FF));
  b.FillRect(Rect(0, 0, 1, 1), 0xFF00FF00);
  EXPECT_EQ(b.GetPixelValue(0, 0), 0xFF00FF00u);
}

TEST(TspBitmapFills, MergeDrawPutsTheSourceBehindTheExistingPixels) {
  TspBitmap src, dst;
  src.SetSize(2, 1);
  src.Clear(0x40AABBCC);
  dst.SetSize(3, 1);
  dst.SetPixelValue(0, 0, 0xFF112233);
  dst.SetPixelValue(1, 0, 0x00445566);
  dst.SetPixelValue(2, 0, 0x80FF0000);
  dst.MergeDraw(&src, 0, 0, Rect(0, 0, 2, 1));
  dst.MergeDraw(&src, 2, 0, Rect(0, 0, 2, 1));      // second pixel falls outside
  EXPECT_EQ(dst.GetPixelValue(0, 0), 0xFF112233u);  // opaque kept
  EXPECT_EQ(dst.GetPixelValue(1, 0), 0x40AABBCCu);  // source as is
  EXPECT_EQ(dst.GetPixelValue(2, 0), PixelKernels.BlendPixel(0x80FF0000, 0x40AABBCC));  // D over S
}

TEST(TspBitmapFills, MergeDrawPlacesByTheUnclippedSourceRectangle) {
  TspBitmap src, dst;
  src.SetSize(2, 2);
  src.SetPixelValue(0, 0, 0xFF000001);
  src.SetPixelValue(1, 1, 0xFF000002);
  dst.SetSize(8, 4);
  dst.MergeDraw(&src, 1, 0, Rect(-3, -1, 2, 2));
  EXPECT_EQ(dst.GetPixelValue(4, 1), 0xFF000001u);  // column 0 lands at X + 3, row 0 at Y + 1
  EXPECT_EQ(dst.GetPixelValue(5, 2), 0xFF000002u);
  Integer written = 0;
  for (Integer i = 0; i < 32; ++i) written += dst.Bits()[i] != 0;
  EXPECT_EQ(written, 2);
}

TEST(TspBitmapFills, ReflectionsFlipAndFadeToTheMiddle) {
  struct Case {
    void (TspBitmap::*Fn)();
    TspColor Alphas[6];
  } cases[] = {
      {&TspBitmap::Reflection, {85, 68, 51, 34, 17, 0}},
      {&TspBitmap::Reflection2, {63, 51, 38, 25, 12, 0}},
      {&TspBitmap::Reflection3, {127, 102, 76, 51, 25, 0}},
  };
  for (const Case& c : cases) {
    TspBitmap b;
    b.SetSize(2, 10);
    for (Integer y = 0; y < 10; ++y) {
      b.SetPixelValue(0, y, 0xFF000000u | y);
      b.SetPixelValue(1, y, 0x00ABCDEFu);
    }
    (b.*c.Fn)();
    for (Integer y = 0; y < 10; ++y) {
      SCOPED_TRACE(y);
      EXPECT_EQ(b.GetPixelValue(0, y), (c.Alphas[std::min(y, 5)] << 24) | (9u - y));
      EXPECT_EQ(b.GetPixelValue(1, y), 0x00ABCDEFu);
    }
  }
}

TEST(TspBitmapFills, ReflectionScalesPartialAlphaWithTiesToEven) {
  TspBitmap b;
  b.SetSize(2, 4);  // step 0.5: factors 1, 0.5, 0, -0.5
  for (Integer y = 0; y < 4; ++y) {
    b.SetPixelValue(0, y, 0x05000000);
    b.SetPixelValue(1, y, 0x0B000000);
  }
  b.Reflection();
  EXPECT_EQ(b.GetPixelValue(0, 0) >> 24, 1u);  // 5 div 3
  EXPECT_EQ(b.GetPixelValue(1, 0) >> 24, 3u);  // 11 div 3
  EXPECT_EQ(b.GetPixelValue(0, 1) >> 24, 0u);  // round(2.5) = 2, not 3
  EXPECT_EQ(b.GetPixelValue(1, 1) >> 24, 2u);  // round(5.5) = 6, not 5
  EXPECT_EQ(b.GetPixelValue(0, 3) >> 24, 0u);  // negative factor: 0
  EXPECT_EQ(b.GetPixelValue(1, 3) >> 24, 0u);
}
