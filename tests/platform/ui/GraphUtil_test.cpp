// Frame3D: which pixels of a ring take which colour, and what is left of the rectangle.
#include <gtest/gtest.h>

#include "platform/ui/GraphUtil.h"

namespace {

TEST(Frame3D, TopLeftEdgesTakeTheFirstColourBottomRightTheSecond) {
  TBitmap b;
  b.SetPixelFormat(pf32bit);
  b.SetSize(6, 5);
  b.Canvas()->Brush()->SetColor(clWhite);
  b.Canvas()->FillRect(Rect(0, 0, 6, 5));
  TRect r = Rect(0, 0, 6, 5);
  b.Canvas()->Brush()->SetColor(clYellow);
  Frame3D(b.Canvas(), r, clRed, clBlue, 1);
  EXPECT_EQ(r, Rect(1, 1, 5, 4));
  EXPECT_EQ(b.Canvas()->Brush()->Color(), clYellow);  // the caller's brush is kept
  struct { int x, y; TColor c; } cases[] = {
      {0, 0, clRed},  {3, 0, clRed},   {0, 3, clRed},    // top row and left column
      {5, 0, clBlue}, {5, 2, clBlue},  {0, 4, clBlue},   // corners shared with bottom/right
      {3, 4, clBlue}, {5, 4, clBlue},  {2, 2, clWhite},  // bottom row; the inside untouched
  };
  for (auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.x << "," << c.y);
    EXPECT_EQ(b.Canvas()->Pixels(c.x, c.y), c.c);
  }
}

TEST(Frame3D, EachRingOfAWideFrameShrinksTheRectangle) {
  TBitmap b;
  b.SetPixelFormat(pf32bit);
  b.SetSize(8, 8);
  b.Canvas()->Brush()->SetColor(clWhite);
  b.Canvas()->FillRect(Rect(0, 0, 8, 8));
  TRect r = Rect(0, 0, 8, 8);
  Frame3D(b.Canvas(), r, clRed, clBlue, 2);
  EXPECT_EQ(r, Rect(2, 2, 6, 6));
  EXPECT_EQ(b.Canvas()->Pixels(1, 1), clRed);
  EXPECT_EQ(b.Canvas()->Pixels(6, 6), clBlue);
  EXPECT_EQ(b.Canvas()->Pixels(2, 2), clWhite);
  TRect tiny = Rect(0, 0, 1, 1);
  Frame3D(b.Canvas(), tiny, clRed, clBlue, 3);  // more rings than room: no crash
  EXPECT_EQ(tiny, Rect(3, 3, -2, -2));
}

}  // namespace
