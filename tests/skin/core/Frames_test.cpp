// The dotted focus frame and the two-colour frame, pixel by pixel.
#include <gtest/gtest.h>

#include "skin/core/drawing/SPUtils.h"
#include "tests/support/SkinLineArt.h"

using vantrel::test::ArtOf;
using vantrel::test::NewBitmap;

namespace {

constexpr uint32_t kFrameWhite = 0xFFFFFF;
using Art = std::vector<std::string>;

Art FocusArt(int W, int H, const TRect& R) {
  TOwned<TBitmap> B = NewBitmap(W, H, kFrameWhite);
  B->Canvas()->Font()->SetColor(clBlue);
  B->Canvas()->Pen()->SetColor(clRed);
  DrawSkinFocusRect(B->Canvas(), R);
  EXPECT_EQ(B->Canvas()->Pen()->Color(), clBlue);  // the pen keeps the font colour
  return ArtOf(*B, {{kFrameWhite, '.'}, {0x0000FF, '#'}});
}

}  // namespace

TEST(FocusRect, DotsRunOnUnbrokenAroundTheCorners) {
  struct Case {
    TRect R;
    int W, H;
    Art Expected;
  } Cases[] = {
      // 4 x 4 inner walk (both even): starts with a gap.
      {Rect(0, 0, 5, 5), 5, 5, {".#.#.", "#...#", ".....", "#...#", ".#.#."}},
      // An odd side: starts with a dot, and the walk ends where it began.
      {Rect(0, 0, 4, 6), 4, 6, {"#.#.", "...#", "#...", "...#", "#...", ".#.#"}},
      // Away from the origin.
      {Rect(1, 1, 6, 4), 7, 5, {".......", "..#.#..", ".#...#.", "..#.#..", "......."}},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(testing::PrintToString(C.Expected));
    EXPECT_EQ(FocusArt(C.W, C.H, C.R), C.Expected);
  }
}

TEST(FocusRect, ThinRectStaysInItsRowOrColumnAndEmptyDrawsNothing) {
  const Art Column = FocusArt(5, 5, Rect(2, 0, 3, 5));
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 5; ++x)
      if (x != 2) {
        EXPECT_EQ(Column[y][x], '.') << x << "," << y;
      }
  const Art Row = FocusArt(5, 3, Rect(0, 1, 5, 2));
  EXPECT_EQ(Row[0], ".....");
  EXPECT_EQ(Row[2], ".....");
  const Art Blank(5, ".....");
  for (const TRect& R : {Rect(0, 0, 0, 5), Rect(0, 0, 5, 0), Rect(4, 4, 1, 1)}) {
    SCOPED_TRACE(testing::PrintToString(R));
    EXPECT_EQ(FocusArt(5, 5, R), Blank);
  }
}

TEST(Frame3D, TopLeftInOneColourBottomRightInTheOther) {
  struct Case {
    TRect R;
    Art Expected;
  } Cases[] = {
      {Rect(0, 0, 3, 3), {"ttb..", "t.b..", "bbb..", ".....", "....."}},
      {Rect(1, 1, 5, 4), {".....", ".tttb", ".t..b", ".bbbb", "....."}},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(testing::PrintToString(C.R));
    TOwned<TBitmap> B = NewBitmap(5, 5, kFrameWhite);
    B->Canvas()->Pen()->SetWidth(3);
    Draw3DFrame(B->Canvas(), C.R, clRed, clBlue);
    EXPECT_EQ(ArtOf(*B, {{kFrameWhite, '.'}, {0xFF0000, 't'}, {0x0000FF, 'b'}}), C.Expected);
    EXPECT_EQ(B->Canvas()->Pen()->Width(), 1);
  }
}
