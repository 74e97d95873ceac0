// The unskinned grid on screen: lines in the line colour (grey on silver), wide lines
// filling the gap, lines whose option is off in the background colour, framed fixed
// cells, the space right of the last column, and DrawCell once per visible cell.
#include <gtest/gtest.h>

#include <map>
#include <utility>

#include "tests/skin/controls/SkinGridsRecorder.h"
#include "tests/support/SkinFormFixture.h"

namespace sg = vantrel::skingen;
using vantrel::gridtest::TRecordingGrid;
using vantrel::uitest::SkinFormFixture;

namespace {

class SkinGridPaintTest : public SkinFormFixture {
 protected:
  TRecordingGrid* G = nullptr;

  // A 5 x 5 grid of 64 x 24 cells on a 400 x 200 client area: the cells end at 325, 125.
  void AddGrid(TColor Back, TColor Lines) {
    G = Create<TRecordingGrid>(Form.get());
    G->SetParent(Form.get());
    G->SetBounds(0, 0, 400, 200);
    G->SetColor(Back);
    G->SetGridLineColor(Lines);
    ShowForm();
  }
  void Repaint() {
    G->Calls.clear();
    G->Invalidate();
    Session.PumpUntilIdle();
  }
  static sg::Colour Rgb(TColor C) { return static_cast<sg::Colour>(ColorToRGB(C)); }
};

TEST_F(SkinGridPaintTest, LinesLieAfterEachCellInTheLineColour) {
  AddGrid(clWhite, clRed);
  // The vertical line after column 1 (x 129) through a fixed and a body row, the
  // horizontal one after row 2 (y 74) through the fixed column and the body.
  EXPECT_EQ(PixelAt(G, 129, 10), Rgb(clRed));
  EXPECT_EQ(PixelAt(G, 129, 60), Rgb(clRed));
  EXPECT_EQ(PixelAt(G, 30, 74), Rgb(clRed));
  EXPECT_EQ(PixelAt(G, 200, 74), Rgb(clRed));
  EXPECT_EQ(PixelAt(G, 100, 60), Rgb(clWhite));
}

TEST_F(SkinGridPaintTest, ASilverGridDrawsGreyLines) {
  AddGrid(clSilver, clRed);
  EXPECT_EQ(PixelAt(G, 129, 60), static_cast<sg::Colour>(0x808080));
  EXPECT_EQ(PixelAt(G, 100, 60), Rgb(clSilver));
}

TEST_F(SkinGridPaintTest, AThreePixelLineFillsTheGapBetweenTwoCells) {
  AddGrid(clWhite, clRed);
  G->SetGridLineWidth(3);
  Repaint();
  // Column 1 runs from 67 to 130 in the body, its line covers 131 to 133.
  EXPECT_EQ(PixelAt(G, 130, 60), Rgb(clWhite));
  for (int X = 131; X <= 133; ++X) {
    SCOPED_TRACE(X);
    EXPECT_EQ(PixelAt(G, X, 60), Rgb(clRed));
  }
  EXPECT_EQ(PixelAt(G, 134, 60), Rgb(clWhite));
}

TEST_F(SkinGridPaintTest, ABodyLineWhoseOptionIsOffTakesTheGridColour) {
  AddGrid(clWhite, clRed);
  G->SetOptions(G->Options() - TGridOptions{goVertLine});
  Repaint();
  EXPECT_EQ(PixelAt(G, 129, 60), Rgb(clWhite));
  EXPECT_EQ(PixelAt(G, 129, 10), Rgb(clRed));
  EXPECT_EQ(PixelAt(G, 200, 74), Rgb(clRed));
}

TEST_F(SkinGridPaintTest, FixedCellsAreFramedAndTheSpaceRightOfTheCellsFilled) {
  AddGrid(clWhite, clRed);
  EXPECT_EQ(PixelAt(G, 0, 10), Rgb(clBtnHighlight));
  EXPECT_EQ(PixelAt(G, 10, 0), Rgb(clBtnHighlight));
  EXPECT_EQ(PixelAt(G, 63, 10), Rgb(clBtnShadow));
  EXPECT_EQ(PixelAt(G, 10, 23), Rgb(clBtnShadow));
  EXPECT_EQ(PixelAt(G, 30, 10), Rgb(clBtnFace));
  G->SetColor(clYellow);
  Repaint();
  EXPECT_EQ(PixelAt(G, 360, 10), Rgb(clYellow));
  EXPECT_EQ(PixelAt(G, 10, 160), Rgb(clYellow));
}

TEST_F(SkinGridPaintTest, EveryVisibleCellReachesDrawCellOnceWithItsState) {
  AddGrid(clWhite, clRed);
  Form->SetActiveControl(G);
  G->SetSelection({2, 1, 1, 2});  // anchor (2, 1), current cell (1, 2)
  Repaint();
  ASSERT_EQ(G->Calls.size(), 25u);
  std::map<std::pair<int, int>, TRecordingGrid::DrawCall> ByCell;
  for (const auto& C : G->Calls) ByCell[std::make_pair(C.Col, C.Row)] = C;
  auto StateOf = [&](int Col, int Row) { return ByCell[std::make_pair(Col, Row)].State; };
  ASSERT_EQ(ByCell.size(), 25u);
  EXPECT_EQ(StateOf(0, 0), (TGridDrawState{gdFixed}));
  EXPECT_EQ(StateOf(3, 0), (TGridDrawState{gdFixed}));
  EXPECT_EQ(StateOf(1, 2), (TGridDrawState{gdFocused, gdSelected}));
  EXPECT_EQ(StateOf(2, 1), (TGridDrawState{gdSelected}));
  EXPECT_EQ(StateOf(3, 3), TGridDrawState{});
  EXPECT_EQ(ByCell[std::make_pair(1, 2)].Rect, (TRect{65, 50, 129, 74}));
  // The selection shows in the highlight colour; the focused cell keeps the grid's.
  EXPECT_EQ(PixelAt(G, 150, 30), Rgb(clHighlight));
  EXPECT_EQ(PixelAt(G, 100, 60), Rgb(clWhite));
}

}  // namespace
