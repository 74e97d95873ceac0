#include <gtest/gtest.h>

#include <cmath>

#include "platform/ui/Graphics.h"
#include "skin/core/bitmaps/spEffBmp.h"

TEST(SpColors, ConversionsFromPlatformColours) {
  EXPECT_EQ(ColorRefToSpColor(255), 0xFFFF0000u);
  EXPECT_EQ(ColorRefToSpColor(0x00332211), 0xFF112233u);
  EXPECT_EQ(ColorToSpColor(clRed, 128), 0x80FF0000u);
  EXPECT_EQ(ColorToSpColor(clRed, 0), 0x00FF0000u);
  // A system colour is resolved first.
  EXPECT_EQ(
      ColorToSpColor(clBtnFace, 7),
      (ColorRefToSpColor(static_cast<COLORREF>(ColorToRGB(clBtnFace))) & 0xFFFFFF) | 0x07000000u);
}

TEST(SpColors, MakeSpColorClampsEachChannel) {
  EXPECT_EQ(MakeSpColor(300, -4, 17, 9), 0x09FF0011u);
  EXPECT_EQ(MakeSpColor(-32768, 255, 32767, 255), 0xFF00FFFFu);
}

TEST(SpColors, HslOfThePrimariesAndGrey) {
  struct Case {
    TspColor C;
    float H, S, L;
  } cases[] = {
      {0xFFFF0000, 0.0f, 1.0f, 0.5f},
      {0xFF00FF00, 1.0f / 3, 1.0f, 0.5f},
      {0xFF0000FF, 2.0f / 3, 1.0f, 0.5f},
      {0xFFFF00FF, 5.0f / 6, 1.0f, 0.5f},  // negative hue wrapped by + 1
      {0xFF808080, 0.0f, 0.0f, 128.0f / 255},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.C);
    Single h, s, l;
    SpColorToHSL(c.C, h, s, l);
    EXPECT_FLOAT_EQ(h, c.H);
    EXPECT_FLOAT_EQ(s, c.S);
    EXPECT_FLOAT_EQ(l, c.L);
  }
}

TEST(SpColors, HslRoundTripIsExactForEveryColour) {
  unsigned mismatches = 0;
  for (TspColor c = 0; c < 0x1000000; ++c) {
    Single h, s, l;
    SpColorToHSL(c, h, s, l);
    if (HSLToSpColor(h, s, l) != (c | 0xFF000000) && ++mismatches < 5)
      ADD_FAILURE() << std::hex << c << " -> " << HSLToSpColor(h, s, l);
  }
  EXPECT_EQ(mismatches, 0u);
}

TEST(SpColors, GreyStaysGreyUnderHueChanges) {
  for (TspColor grey : {0xFF000000u, 0xFF7F7F7Fu, 0xFFFFFFFFu}) {
    SCOPED_TRACE(grey);
    EXPECT_EQ(SetColorHue(grey, 100), grey);
    EXPECT_EQ(ChangeColorHue(grey, 77), grey);
  }
}

TEST(SpColors, HueAndSaturationShiftsWrapAroundInsteadOfStopping) {
  // A colour whose saturation is 230/255 on the 0..255 scale.
  TspColor c = 0;
  Single h = 0, s = 0, l = 0;
  for (TspColor v = 1; v < 0x1000000; v += 97) {
    SpColorToHSL(v, h, s, l);
    if (std::nearbyint(s * 255.0L) == 230) {
      c = v | 0xFF000000;
      break;
    }
  }
  ASSERT_NE(c, 0u);
  // 230 + 50 = 280 >= 256, so 280 - 255 = 25.
  EXPECT_EQ(ChangeColorSat(c, 50), HSLToSpColor(h, 25.0f / 255, l));

  // Pure red has hue 0: minus 10 wraps to 245.
  EXPECT_EQ(ChangeColorHue(0xFFFF0000, -10), HSLToSpColor(245.0f / 255, 1, 0.5f));
  EXPECT_EQ(SetColorHue(0xFFFF0000, 85), HSLToSpColor(85.0f / 255, 1, 0.5f));
  EXPECT_EQ(SetColorHue(0xFFFF0000, 999), SetColorHue(0xFFFF0000, 255));  // clamped
}

TEST(SpColors, BitmapAdjustmentsSkipTransparentPixelsAndKeepAlpha) {
  TspBitmap b;
  b.SetSize(4, 1);
  b.SetPixelValue(0, 0, 0xFFE61020);  // red 230
  b.SetPixelValue(1, 0, 0x00E61020);  // fully transparent
  b.SetPixelValue(2, 0, 0x80F0F0F0);
  b.SetPixelValue(3, 0, 0xFF000000);
  b.ChangeBitmapBrightness(40);
  EXPECT_EQ(b.GetPixelValue(0, 0), 0xFFFF3848u);
  EXPECT_EQ(b.GetPixelValue(1, 0), 0x00E61020u);
  EXPECT_EQ(b.GetPixelValue(2, 0), 0x80FFFFFFu);
  EXPECT_EQ(b.GetPixelValue(3, 0), 0xFF282828u);

  b.ChangeBitmapBrightness(-100);
  EXPECT_EQ(b.GetPixelValue(3, 0), 0xFF000000u);

  b.SetPixelValue(2, 0, 0x80FF0000);
  b.SetBitmapHue(85);
  EXPECT_EQ(b.GetPixelValue(2, 0), (HSLToSpColor(85.0f / 255, 1, 0.5f) & 0xFFFFFF) | 0x80000000u);
  EXPECT_EQ(b.GetPixelValue(1, 0), 0x00E61020u);

  const TspColor before = b.GetPixelValue(2, 0);
  b.ChangeBitmapHue(0);
  b.ChangeBitmapSat(0);
  EXPECT_EQ(b.GetPixelValue(2, 0), before);
  b.ChangeBitmapSat(-255);
  const TspColor grey = b.GetPixelValue(2, 0);
  EXPECT_EQ(grey >> 24, 0x80u);
  EXPECT_EQ((grey >> 16) & 0xFF, grey & 0xFF);
}
