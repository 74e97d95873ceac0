// Where the grid's cells lie on a headless form: axis layouts, cell rectangles, hit tests,
// the largest useful top-left cell.
#include <gtest/gtest.h>

#include "platform/win/WindowManager.h"
#include "tests/skin/controls/SkinGridsRecorder.h"
#include "tests/support/SkinFormFixture.h"

using vantrel::gridtest::TRecordingGrid;
using vantrel::uitest::SkinFormFixture;

namespace {

class SkinGridLayoutTest : public SkinFormFixture {
 protected:
  TRecordingGrid* AddGrid(int W, int H) {
    auto* G = Create<TRecordingGrid>(Form.get());
    G->SetParent(Form.get());
    G->SetBounds(0, 0, W, H);
    return G;
  }
};

TEST_F(SkinGridLayoutTest, AHundredPixelGridShowsOneCutScrollableColumn) {
  auto* G = AddGrid(100, 120);
  TGridLayout L;
  G->CalcLayout(L);
  EXPECT_EQ(L.Horz.LineWidth, 1);
  EXPECT_EQ(L.Horz.FixedEnd, 65);
  EXPECT_EQ(L.Horz.GridEnd, 100);
  EXPECT_EQ(L.Horz.LastFullVisibleCell, 1);
  EXPECT_EQ(G->VisibleColCount(), 1);
  EXPECT_EQ(G->GridWidth(), 100);
}

struct GridCellRectCase {
  const char* Name;
  int Width;
  TGridOptions Options;
  Integer LeftCol, Col, Row;
  TRect Expected;
};

TEST_F(SkinGridLayoutTest, CellRectangles) {
  const TGridOptions Lines{goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect};
  for (const GridCellRectCase& K : {
           GridCellRectCase{"fixed corner", 400, Lines, 1, 0, 0, {0, 0, 64, 24}},
           GridCellRectCase{"second column, third row", 400, Lines, 1, 1, 2, {65, 50, 129, 74}},
           GridCellRectCase{"cut at the client edge", 100, Lines, 1, 1, 0, {65, 0, 100, 24}},
           GridCellRectCase{"two past the last fully shown", 100, Lines, 1, 3, 0, {0, 0, 0, 0}},
           GridCellRectCase{"scrolled out to the left", 400, Lines, 3, 2, 1, {0, 0, 0, 0}},
           GridCellRectCase{"first after a scroll", 400, Lines, 3, 3, 1, {65, 25, 129, 49}},
           GridCellRectCase{"no line options: cells abut", 400, TGridOptions{goRangeSelect}, 1, 1, 1, {64, 24, 128, 48}},
       }) {
    SCOPED_TRACE(K.Name);
    auto* G = AddGrid(K.Width, 120);
    G->SetOptions(K.Options);
    G->SetLeftCol(K.LeftCol);
    EXPECT_EQ(G->CellRect(K.Col, K.Row), K.Expected);
    G->Free();
  }
}

TEST_F(SkinGridLayoutTest, WithoutLineOptionsNoAxisHasALine) {
  auto* G = AddGrid(400, 200);
  G->SetOptions(TGridOptions{goRangeSelect});
  TGridLayout L;
  G->CalcLayout(L);
  EXPECT_EQ(L.Horz.LineWidth, 0);
  EXPECT_EQ(L.Vert.LineWidth, 0);
  EXPECT_EQ(L.Horz.FixedEnd, 64);
  // Only the vertical lines on: the rows abut, the columns keep their gap.
  G->SetOptions(TGridOptions{goVertLine});
  G->CalcLayout(L);
  EXPECT_EQ(L.Horz.LineWidth, 1);
  EXPECT_EQ(L.Vert.LineWidth, 0);
}

struct GridHitCase {
  int X, Y;
  TGridCoord Expected;
};

TEST_F(SkinGridLayoutTest, MouseCoordinates) {
  // Five columns of 64 and rows of 24, each followed by a one-pixel line: column 3 runs
  // from 195 to 258 with its line at 259; the cells end at 325 and 125.
  auto* G = AddGrid(400, 200);
  for (const GridHitCase& K : {GridHitCase{0, 0, {0, 0}}, GridHitCase{64, 24, {0, 0}}, GridHitCase{65, 25, {1, 1}},
                           GridHitCase{259, 10, {3, 0}}, GridHitCase{260, 10, {4, 0}}, GridHitCase{330, 10, {-1, -1}},
                           GridHitCase{10, 130, {-1, -1}}, GridHitCase{324, 124, {4, 4}}}) {
    SCOPED_TRACE(std::to_string(K.X) + "," + std::to_string(K.Y));
    EXPECT_EQ(G->MouseCoord(K.X, K.Y), K.Expected);
  }
  // After a scroll, the first scrollable column starts right after the fixed one.
  G->SetColCount(8);
  G->SetLeftCol(4);
  EXPECT_EQ(G->MouseCoord(70, 10), (TGridCoord{4, 0}));
}

TEST_F(SkinGridLayoutTest, TheLargestTopRowStillShowingTheLastRowFully) {
  auto* G = AddGrid(400, 100);
  G->SetRowCount(10);
  G->SetDefaultRowHeight(20);
  TGridLayout L;
  G->CalcLayout(L);
  EXPECT_EQ(L.Vert.FixedEnd, 21);
  EXPECT_EQ(G->CalcMaxTopLeft({1, 9}, L).Y, 7);
  // A start among the fixed rows comes back unchanged; rows of no height are skipped.
  EXPECT_EQ(G->CalcMaxTopLeft({1, 0}, L).Y, 0);
  G->SetRowHeights(7, 0);
  G->CalcLayout(L);
  EXPECT_EQ(G->CalcMaxTopLeft({1, 9}, L).Y, 6);
}

}  // namespace

namespace {

TEST_F(SkinGridLayoutTest, MakingAHiddenRowCurrentScrollsItIntoView) {
  // Rows of 20 under a 21-pixel fixed row: rows 7 to 9 are the last that fit in 100.
  auto* G = AddGrid(400, 100);
  G->SetRowCount(10);
  G->SetDefaultRowHeight(20);
  ShowForm();
  G->SetRow(9);
  EXPECT_EQ(G->TopRow(), 7);
  G->SetRow(2);
  EXPECT_EQ(G->TopRow(), 2);
  // A visible row leaves the scroll where it is.
  G->SetRow(3);
  EXPECT_EQ(G->TopRow(), 2);
}

}  // namespace

namespace {

TEST_F(SkinGridLayoutTest, TheWindowIsATabStopWithoutScrollBarsAndTakesDoubleClicks) {
  auto* G = AddGrid(200, 100);
  ShowForm();
  const DWORD Style = static_cast<DWORD>(GetWindowLong(G->Handle(), GWL_STYLE));
  EXPECT_NE(Style & WS_TABSTOP, 0u);
  EXPECT_EQ(Style & (WS_HSCROLL | WS_VSCROLL), 0u);
  EXPECT_NE(GetClassLong(G->Handle(), GCL_STYLE) & CS_DBLCLKS, 0u);
}

}  // namespace
