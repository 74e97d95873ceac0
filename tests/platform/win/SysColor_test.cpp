// System colours and the class library's colour values.
#include <gtest/gtest.h>

#include "platform/win/Gdi.h"
#include "platform/win/SysColors.h"

TEST(SysColor, ColorToRGBResolvesOnlySystemColours) {
  EXPECT_EQ(ColorToRGB(clBtnFace), static_cast<TColor>(GetSysColor(COLOR_BTNFACE)));
  EXPECT_EQ(ColorToRGB(clHighlight), static_cast<TColor>(GetSysColor(COLOR_HIGHLIGHT)));
  EXPECT_EQ(ColorToRGB(0x00123456), 0x00123456);
  EXPECT_EQ(ColorToRGB(0x1FFFFFFF), 0x1FFFFFFF);  // "none" passes through
  EXPECT_LT(clWindow, 0);
  EXPECT_EQ(GetSysColor(COLOR_WINDOW), RGB(255, 255, 255));
  EXPECT_EQ(GetSysColor(999), 0u);
}

TEST(SysColor, SystemColourBrushesAreStock) {
  HBRUSH B = GetSysColorBrush(COLOR_BTNFACE);
  ASSERT_NE(B, nullptr);
  EXPECT_EQ(GetSysColorBrush(COLOR_BTNFACE), B);
  EXPECT_TRUE(DeleteObject(B));
  LOGBRUSH Lb{};
  ASSERT_EQ(GetObject(B, sizeof Lb, &Lb), static_cast<int>(sizeof Lb));
  EXPECT_EQ(Lb.lbColor, GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(GetSysColorBrush(-1), nullptr);
}
