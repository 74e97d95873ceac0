// Arrows of scroll bars, spin buttons and combo boxes, pixel by pixel.
#include <gtest/gtest.h>

#include <functional>

#include "skin/core/drawing/SPUtils.h"
#include "tests/support/SkinLineArt.h"

using vantrel::test::ArtOf;
using vantrel::test::NewBitmap;

namespace {

constexpr uint32_t kWhite = 0xFFFFFF;
using Art = std::vector<std::string>;
using Drawer = std::function<void(TCanvas*)>;

Art Draw(int W, int H, const Drawer& D) {
  TOwned<TBitmap> B = NewBitmap(W, H, kWhite);
  D(B->Canvas());
  return ArtOf(*B, {{kWhite, '.'}, {0x00FF00, '#'}});
}

}  // namespace

TEST(Arrows, EveryDirectionAndSizeCentresOnTheTruncatedMiddle) {
  struct Case {
    const char* Name;
    Drawer D;
    Art Expected;
  } Cases[] = {
      {"left", [](TCanvas* C) { DrawArrow(C, Rect(0, 0, 9, 9), clLime, 1); },
       {".........", ".....#...", "....##...", "...###...", "..####...", "...###...", "....##...",
        ".....#...", "........."}},
      {"right", [](TCanvas* C) { DrawArrow(C, Rect(0, 0, 9, 9), clLime, 2); },
       {".........", "...#.....", "...##....", "...###...", "...####..", "...###...", "...##....",
        "...#.....", "........."}},
      {"up", [](TCanvas* C) { DrawArrow(C, Rect(0, 0, 9, 9), clLime, 3); },
       {".........", ".........", "....#....", "...###...", "..#####..", ".#######.", ".........",
        ".........", "........."}},
      {"down", [](TCanvas* C) { DrawArrow(C, Rect(0, 0, 9, 9), clLime, 4); },
       {".........", ".........", ".........", ".#######.", "..#####..", "...###...", "....#....",
        ".........", "........."}},
      // An even-sized rectangle away from the origin: centre (1 + 4, 2 + 3) = (5, 5).
      {"down, even size", [](TCanvas* C) { DrawArrow(C, Rect(1, 2, 9, 8), clLime, 4); },
       {".........", ".........", ".........", ".........", "..#######", "...#####.", "....###..",
        ".....#...", "........."}},
      {"small left", [](TCanvas* C) { DrawSmallArrow(C, Rect(0, 0, 7, 7), clLime, 1); },
       {".......", "....#..", "...##..", "..###..", "...##..", "....#..", "......."}},
      {"small right", [](TCanvas* C) { DrawSmallArrow(C, Rect(0, 0, 7, 7), clLime, 2); },
       {".......", "..#....", "..##...", "..###..", "..##...", "..#....", "......."}},
      {"small up", [](TCanvas* C) { DrawSmallArrow(C, Rect(0, 0, 7, 7), clLime, 3); },
       {".......", ".......", "...#...", "..###..", ".#####.", ".......", "......."}},
      {"small down", [](TCanvas* C) { DrawSmallArrow(C, Rect(0, 0, 7, 7), clLime, 4); },
       {".......", ".......", ".#####.", "..###..", "...#...", ".......", "......."}},
      {"drop-down", [](TCanvas* C) { DrawDropDownArrow(C, Rect(0, 0, 7, 7), clLime); },
       {".......", ".......", ".......", ".#####.", "..###..", "...#...", "......."}},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    EXPECT_EQ(Draw(static_cast<int>(C.Expected[0].size()), static_cast<int>(C.Expected.size()), C.D),
              C.Expected);
  }
}

TEST(Arrows, UnknownDirectionOnlySetsThePenColour) {
  for (Integer Direction : {0, 5, -1}) {
    SCOPED_TRACE(Direction);
    TOwned<TBitmap> B = NewBitmap(9, 9, kWhite);
    DrawArrow(B->Canvas(), Rect(0, 0, 9, 9), clLime, Direction);
    DrawSmallArrow(B->Canvas(), Rect(0, 0, 9, 9), clLime, Direction);
    EXPECT_EQ(ArtOf(*B, {{kWhite, '.'}}), Art(9, "........."));
    EXPECT_EQ(B->Canvas()->Pen()->Color(), clLime);
  }
}
