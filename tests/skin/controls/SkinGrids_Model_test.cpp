// The grid engine's model without a window: counts, fixed cells, extents, the current
// cell and selection, moving and deleting, and the errors with their texts.
#include <gtest/gtest.h>

#include "platform/rtl/Exceptions.h"
#include "tests/skin/controls/SkinGridsRecorder.h"

using vantrel::gridtest::ExpectGridError;
using vantrel::gridtest::TRecordingGrid;

namespace {

class SkinGridModelTest : public ::testing::Test {
 protected:
  TOwned<TRecordingGrid> G{TRecordingGrid::Create(nullptr)};
  static TGridCoord At(Integer X, Integer Y) { return {X, Y}; }
};

TEST_F(SkinGridModelTest, StartsAsAFiveByFiveGridWithOneFixedColumnAndRow) {
  EXPECT_EQ(G->ColCount(), 5);
  EXPECT_EQ(G->RowCount(), 5);
  EXPECT_EQ(G->FixedCols(), 1);
  EXPECT_EQ(G->FixedRows(), 1);
  EXPECT_EQ(G->DefaultColWidth(), 64);
  EXPECT_EQ(G->DefaultRowHeight(), 24);
  EXPECT_EQ(G->Width(), 320);
  EXPECT_EQ(G->Height(), 120);
  EXPECT_EQ(G->TopLeft(), At(1, 1));
  EXPECT_EQ(G->Selection(), (TGridRect{1, 1, 1, 1}));
  EXPECT_TRUE(G->TabStop());
  EXPECT_EQ(G->SkinDataName(), "grid");
  EXPECT_EQ(G->Options(), (TGridOptions{goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect}));
}

TEST_F(SkinGridModelTest, AZeroColumnCountLeavesOneColumnAndMovesEverythingToTheCorner) {
  G->SetColCount(0);
  EXPECT_EQ(G->ColCount(), 1);
  EXPECT_EQ(G->FixedCols(), 0);
  EXPECT_EQ(G->TopLeft(), At(0, 1));
  EXPECT_EQ(G->Selection(), (TGridRect{0, 1, 0, 1}));
}

TEST_F(SkinGridModelTest, FixedCountsOutsideTheGridRaiseTheirTexts) {
  ExpectGridError([&] { G->SetFixedCols(5); }, "Fixed column count must be less than column count");
  ExpectGridError([&] { G->SetFixedCols(-1); }, "Grid index out of range");
  ExpectGridError([&] { G->SetFixedRows(5); }, "Fixed row count must be less than row count");
  ExpectGridError([&] { G->SetFixedRows(-1); }, "Grid index out of range");
  EXPECT_EQ(G->FixedCols(), 1);
  EXPECT_EQ(G->FixedRows(), 1);
}

TEST_F(SkinGridModelTest, AWidthBeyondTheLastColumnRaisesYetStoresTheDefaults) {
  ExpectGridError([&] { G->SetColWidths(5, 10); }, "Grid index out of range");
  ASSERT_TRUE(G->StoredColWidths().Exists());
  ASSERT_EQ(G->StoredColWidths().Count(), 5);
  for (Integer I = 0; I < 5; ++I) EXPECT_EQ(G->StoredColWidths()[I], 64);
}

TEST_F(SkinGridModelTest, ANewDefaultWidthDropsStoredWidths) {
  G->SetColWidths(0, 10);
  EXPECT_EQ(G->GetColWidths(0), 10);
  G->SetDefaultColWidth(80);
  EXPECT_FALSE(G->StoredColWidths().Exists());
  for (Integer I = 0; I < 5; ++I) EXPECT_EQ(G->GetColWidths(I), 80);
  G->SetRowHeights(2, 7);
  G->SetDefaultRowHeight(30);
  EXPECT_EQ(G->GetRowHeights(2), 30);
}

TEST_F(SkinGridModelTest, RowSelectDropsTheAlwaysShownEditorAndSpansTheRow) {
  G->SetRow(3);
  G->SetOptions(G->Options() + TGridOptions{goRowSelect, goAlwaysShowEditor});
  EXPECT_TRUE(G->Options().Contains(goRowSelect));
  EXPECT_FALSE(G->Options().Contains(goAlwaysShowEditor));
  EXPECT_EQ(G->Col(), 1);
  EXPECT_EQ(G->Selection(), (TGridRect{1, 3, 4, 3}));
  G->SetCol(3);
  EXPECT_EQ(G->Col(), 1);
}

TEST_F(SkinGridModelTest, MovingAColumnCarriesTheCurrentColumn) {
  struct Case {
    Integer Before, After;
  };
  for (const Case& K : {Case{1, 2}, Case{2, 0}, Case{3, 3}, Case{0, 1}}) {
    SCOPED_TRACE("current column " + std::to_string(K.Before));
    TOwned<TRecordingGrid> H{TRecordingGrid::Create(nullptr)};
    H->SetFixedCols(0);
    H->SetCol(K.Before);
    H->MoveColumn(2, 0);
    EXPECT_EQ(H->Col(), K.After);
  }
}

TEST_F(SkinGridModelTest, MovingAColumnCarriesItsWidth) {
  G->SetColWidths(2, 99);
  G->MoveColumn(2, 4);
  EXPECT_EQ(G->GetColWidths(2), 64);
  EXPECT_EQ(G->GetColWidths(4), 99);
}

TEST_F(SkinGridModelTest, ARefusedCellChangesNothing) {
  G->SetSelection({1, 1, 2, 2});
  G->Refuse = [](Integer C, Integer R) { return C == 3 && R == 3; };
  G->MoveCurrent(3, 3, true, true);
  EXPECT_EQ(G->Col(), 2);
  EXPECT_EQ(G->Row(), 2);
  EXPECT_EQ(G->Anchor(), At(1, 1));
  G->MoveCurrent(3, 2, true, true);
  EXPECT_EQ(G->Selection(), (TGridRect{3, 2, 3, 2}));
}

TEST_F(SkinGridModelTest, GrowingTheRowCountCollapsesARange) {
  G->SetSelection({1, 1, 3, 3});
  EXPECT_EQ(G->Selection(), (TGridRect{1, 1, 3, 3}));
  G->SetRowCount(10);
  EXPECT_EQ(G->Selection(), (TGridRect{3, 3, 3, 3}));
}

TEST_F(SkinGridModelTest, DeletingTheCurrentLastRowMakesTheNewLastRowCurrent) {
  G->SetRow(4);
  G->DeleteRow(4);
  EXPECT_EQ(G->RowCount(), 4);
  EXPECT_EQ(G->Row(), 3);
}

TEST_F(SkinGridModelTest, IndexesOutsideTheGridReadDefaultsAndRefuseWrites) {
  G->SetColWidths(1, 30);
  G->SetRowHeights(1, 40);
  EXPECT_EQ(G->GetColWidths(-1), 64);
  EXPECT_EQ(G->GetRowHeights(-1), 24);
  EXPECT_EQ(G->GetColWidths(5), 64);
  EXPECT_TRUE(G->GetTabStops(-1));
  EXPECT_TRUE(G->GetTabStops(2));
  ExpectGridError([&] { G->SetColWidths(-1, 5); }, "Grid index out of range");
  ExpectGridError([&] { G->SetRowHeights(-1, 5); }, "Grid index out of range");
  ExpectGridError([&] { G->MoveColumn(7, 0); }, "Grid index out of range");
  ExpectGridError([&] { G->MoveRow(1, -2); }, "Grid index out of range");
  ExpectGridError([&] { G->DeleteColumn(5); }, "Grid index out of range");
  ExpectGridError([&] { G->DeleteRow(-1); }, "Grid index out of range");
  ExpectGridError([&] { G->MoveCurrent(5, 1, true, true); }, "Grid index out of range");
  EXPECT_EQ(G->ColCount(), 5);
  EXPECT_EQ(G->RowCount(), 5);
  EXPECT_EQ(G->GetColWidths(1), 30);
  EXPECT_EQ(G->GetRowHeights(1), 40);
}

TEST_F(SkinGridModelTest, TheFirstScrollableCellNeverLiesAmongTheFixedOnes) {
  G->SetFixedCols(2);
  G->SetLeftCol(0);
  G->SetTopRow(-3);
  EXPECT_EQ(G->TopLeft(), At(2, 1));
  G->SetTopRow(3);
  EXPECT_EQ(G->TopRow(), 3);
}

TEST_F(SkinGridModelTest, ALayoutSummingPastTheIntegerRangeRaisesOverflow) {
  // Rows of 805306368 pixels: one fixed row and the first scrollable one still fit the
  // integer range, a second fixed row pushes the sum past it.
  G->SetDefaultRowHeight(0x30000000);
  TGridLayout L;
  EXPECT_NO_THROW(G->CalcLayoutXY(L, 100, 100));
  G->SetFixedRows(2);
  EXPECT_THROW(G->CalcLayoutXY(L, 100, 100), EIntOverflow);
}

TEST(SkinGridExtents, ResizingResetsTheValuesFromTheIndexOn) {
  TGridExtents E;
  EXPECT_FALSE(E.Exists());
  E.Update(4, 10);
  ASSERT_EQ(E.Count(), 4);
  for (Integer I = 0; I < 4; ++I) E[I] = I;
  E.Modify(2, 1, 77);
  ASSERT_EQ(E.Count(), 5);
  EXPECT_EQ(E[1], 1);
  for (Integer I = 2; I < 5; ++I) EXPECT_EQ(E[I], 77);
  E.Move(0, 4);
  EXPECT_EQ(E[0], 1);
  EXPECT_EQ(E[4], 0);
  E.Update(0, 0);
  EXPECT_FALSE(E.Exists());
  EXPECT_EQ(E.Count(), 0);
}

TEST(SkinGridExtents, LimitsRaiseTheirTexts) {
  TGridExtents E;
  E.Update(3, 1);
  ExpectGridError([&] { E.Modify(4, 1, 0); }, "Grid index out of range");
  ExpectGridError([&] { E.Modify(-1, 1, 0); }, "Grid index out of range");
  ExpectGridError([&] { E.Modify(0, -4, 0); }, "Too many rows or columns deleted");
  ExpectGridError([&] { E.Modify(3, TGridExtents::MaxCount - 2, 0); }, "Grid too large for operation");
  EXPECT_EQ(E.Count(), 3);
}

TEST(SkinGridRects, XorOfTwoOverlappingRectanglesCoversTheirDifference) {
  TRect Out[4];
  XorRects({0, 0, 10, 10}, {20, 20, 30, 30}, Out);
  EXPECT_EQ(Out[0], (TRect{0, 0, 10, 10}));
  EXPECT_EQ(Out[1], (TRect{20, 20, 30, 30}));
  EXPECT_EQ(Out[2], (TRect{0, 0, 0, 0}));
  // The second lies inside the first and shares its left, top and bottom: only the
  // strip right of it remains.
  XorRects({0, 0, 20, 10}, {0, 0, 10, 10}, Out);
  EXPECT_EQ(Out[2], (TRect{10, 0, 20, 10}));
  EXPECT_EQ(GridRect({3, 1}, {1, 4}), (TGridRect{1, 1, 3, 4}));
  EXPECT_TRUE(PointInGridRect(3, 4, {1, 1, 3, 4}));
  EXPECT_FALSE(PointInGridRect(0, 4, {1, 1, 3, 4}));
}

}  // namespace
