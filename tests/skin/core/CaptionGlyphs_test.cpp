// Check and radio marks and the caption-button glyphs, pixel by pixel in their cells.
#include <gtest/gtest.h>

#include "skin/core/drawing/SPUtils.h"
#include "tests/support/SkinLineArt.h"

using vantrel::test::ArtOf;
using vantrel::test::NewBitmap;

namespace {

constexpr uint32_t kCaptionWhite = 0xFFFFFF;
constexpr uint32_t kGrey = 0x808080;
using Art = std::vector<std::string>;
using Glyph = void (*)(TCanvas*, Integer, Integer, TColor);

// The glyph drawn at (1, 1) of a 13 x 12 grey cell, with a brush that would show if a
// hollow glyph filled its inside; the border row and column stay grey.
Art Drawn(Glyph G) {
  TOwned<TBitmap> B = NewBitmap(13, 12, kGrey);
  B->Canvas()->Brush()->SetColor(clYellow);
  G(B->Canvas(), 1, 1, clMaroon);
  Art A = ArtOf(*B, {{kGrey, '.'}, {0x800000, '#'}, {0xFFFF00, 'y'}});
  EXPECT_EQ(A.front(), std::string(13, '.'));
  for (const std::string& Row : A) EXPECT_EQ(Row[0], '.');
  // Drop the border so the expected pictures show the glyph's own cell.
  Art Cell;
  for (size_t y = 1; y < A.size(); ++y) Cell.push_back(A[y].substr(1));
  return Cell;
}

}  // namespace

TEST(CaptionGlyphs, EveryGlyphGivesItsPixels) {
  struct Case {
    const char* Name;
    Glyph G;
    Art Expected;
  } Cases[] = {
      {"close", DrawCloseImage,
       {"............", ".##.....##..", "..##...##...", "...##.##....", "....###.....", "....###.....",
        "...##.##....", "..##...##...", ".##.....##..", "............", "............"}},
      {"system menu", DrawSysMenuImage,
       {"............", "............", "............", ".########...", ".#......#...", ".########...",
        "............", "............", "............", "............", "............"}},
      {"minimize", DrawMinimizeImage,
       {"............", "............", "............", "............", "............", "............",
        "............", "............", ".########...", ".########...", "............"}},
      {"maximize", DrawMaximizeImage,
       {"###########.", "###########.", "#.........#.", "#.........#.", "#.........#.", "#.........#.",
        "#.........#.", "#.........#.", "#.........#.", "###########.", "............"}},
      {"restore", DrawRestoreImage,
       {"..########..", "..########..", "..#......#..", "..#......#..", "#######..#..", "##########..",
        "#.....#.....", "#.....#.....", "#.....#.....", "#######.....", "............"}},
      {"roll up", DrawRollUpImage,
       {"............", "............", "............", "....##......", "...####.....", "..######....",
        ".########...", "............", "............", "............", "............"}},
      {"roll down", DrawRollDownImage,
       {"............", "............", ".########...", "..######....", "...####.....", "....##......",
        "............", "............", "............", "............", "............"}},
      {"minimize to tray", DrawMinimizeToTrayImage,
       {"............", "............", "..#####.....", "..#####.....", "..#####.....", "..#####.....",
        "..#####.....", "............", "............", "............", "............"}},
      {"check", DrawCheckImage,
       {"............", "......#.....", ".....##.....", "#...###.....", "##.###......", "#####.......",
        ".###........", "..#.........", "............", "............", "............"}},
      {"radio", DrawRadioImage,
       {"######......", "######......", "######......", "######......", "######......", "######......",
        "............", "............", "............", "............", "............"}},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    EXPECT_EQ(Drawn(C.G), C.Expected);
  }
}

TEST(CaptionGlyphs, GlyphsKeepThePenWidthAndSetTheBrushOnlyWhereTheyFill) {
  TOwned<TBitmap> B = NewBitmap(13, 12, kGrey);
  TCanvas* C = B->Canvas();
  C->Brush()->SetColor(clYellow);
  C->Pen()->SetWidth(1);
  DrawCloseImage(C, 0, 0, clMaroon);
  EXPECT_EQ(C->Pen()->Color(), clMaroon);
  EXPECT_EQ(C->Brush()->Color(), clYellow);
  EXPECT_EQ(C->Brush()->Style(), bsSolid);
  DrawMaximizeImage(C, 0, 0, clNavy);
  EXPECT_EQ(C->Brush()->Style(), bsClear);
  DrawMinimizeToTrayImage(C, 0, 0, clNavy);
  EXPECT_EQ(C->Brush()->Color(), clNavy);
  EXPECT_EQ(C->Brush()->Style(), bsSolid);
}
