// The grid under queued mouse input: the sizing zones, sizing by a header edge (also of a
// column cut at the client's edge), auto-scroll on the virtual clock, dragging columns and
// rows by their header cells, and the XOR sizing line.
#include <gtest/gtest.h>

#include "platform/ui/Forms.h"
#include "platform/win/Cursor.h"
#include "platform/win/Display.h"
#include "platform/win/MessageQueue.h"
#include "tests/skin/controls/SkinGridsRecorder.h"
#include "tests/support/SkinFormFixture.h"

using vantrel::gridtest::TRecordingGrid;
using vantrel::uitest::SkinFormFixture;

namespace {

class SkinGridMouseTest : public SkinFormFixture {
 protected:
  TRecordingGrid* G = nullptr;

  void AddGrid(int W = 400, int H = 200, TGridOptions Add = {}) {
    G = Create<TRecordingGrid>(Form.get());
    G->SetParent(Form.get());
    G->SetBounds(0, 0, W, H);
    G->SetOptions(G->Options() + Add);
    ShowForm();
  }
  TPoint Screen(int X, int Y) { return G->ClientToScreen(Point(X, Y)); }
  // Each press comes a second after the last one: never a double click.
  void Press(int X, int Y) {
    Session.Advance(1000);
    const TPoint P = Screen(X, Y);
    Session.Move(P.X, P.Y);
    Session.Press(P.X, P.Y);
    Session.PumpUntilIdle();
  }
  void MoveTo(int X, int Y) {
    const TPoint P = Screen(X, Y);
    Session.Move(P.X, P.Y);
    Session.PumpUntilIdle();
  }
  void Release(int X, int Y) {
    const TPoint P = Screen(X, Y);
    Session.Release(P.X, P.Y);
    Session.PumpUntilIdle();
  }
};

TEST_F(SkinGridMouseTest, TheSizingZoneSpansTheLineAndAFewPixelsAroundTheEdge) {
  AddGrid(400, 200, {goColSizing});
  struct ZoneCase {
    Integer LineWidth, First, Last;
  };
  // Column 1 ends at 129 with 1-pixel lines (3 before, 4 after: 8 pixels) and at 137
  // with 9-pixel lines (from the end to 9 after it).
  for (const ZoneCase& K : {ZoneCase{1, 126, 133}, ZoneCase{9, 137, 146}}) {
    SCOPED_TRACE(K.LineWidth);
    G->SetGridLineWidth(K.LineWidth);
    EXPECT_FALSE(G->IsSizingZone(K.First - 1, 10));
    EXPECT_TRUE(G->IsSizingZone(K.First, 10));
    EXPECT_TRUE(G->IsSizingZone(K.Last, 10));
    EXPECT_FALSE(G->IsSizingZone(K.Last + 1, 10));
    // Only the fixed row has zones.
    EXPECT_FALSE(G->IsSizingZone(K.First, 60));
  }
}

TEST_F(SkinGridMouseTest, AHeaderEdgeSizesItsColumnWithoutOnMouseDown) {
  AddGrid(400, 200, {goColSizing});
  int Downs = 0, Ups = 0;
  G->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, Integer, Integer) { ++Downs; };
  G->OnMouseUp = [&](TObject*, TMouseButton, TShiftState, Integer, Integer) { ++Ups; };
  Press(129, 10);
  EXPECT_EQ(G->GridState(), gsColSizing);
  MoveTo(66, 10);
  Release(66, 10);
  EXPECT_EQ(G->GridState(), gsNormal);
  EXPECT_EQ(Downs, 0);
  EXPECT_EQ(Ups, 1);
  // One pixel right of the column's start: too narrow, the width stays.
  EXPECT_EQ(G->GetColWidths(1), 64);
  Press(129, 10);
  MoveTo(150, 10);
  Release(150, 10);
  EXPECT_EQ(G->GetColWidths(1), 85);
}

TEST_F(SkinGridMouseTest, TheColumnCutAtTheEdgeIsSizedFromTheEdge) {
  AddGrid(100, 200, {goColSizing});
  Press(99, 10);
  ASSERT_EQ(G->GridState(), gsColSizing);
  MoveTo(80, 10);
  Release(80, 10);
  // The pointer was 1 pixel left of the edge: the line follows at 81.
  EXPECT_EQ(G->GetColWidths(1), 16);
  EXPECT_EQ(G->GetColWidths(2), 64);
}

TEST_F(SkinGridMouseTest, HoldingTheSelectionBelowTheRowsScrollsOneRowPer60Ms) {
  AddGrid(400, 150);
  G->SetRowCount(30);
  Session.PumpUntilIdle();
  Press(100, 60);
  ASSERT_EQ(G->GridState(), gsSelecting);
  MoveTo(100, 170);
  const Integer Top = G->TopRow();
  Session.Advance(60);
  EXPECT_EQ(G->TopRow(), Top + 1);
  Session.Advance(59);
  EXPECT_EQ(G->TopRow(), Top + 1);
  Session.Advance(1);
  EXPECT_EQ(G->TopRow(), Top + 2);
  // The release takes the cell under the pointer as the anchor, then the scrolling stops.
  Release(100, 170);
  EXPECT_EQ(G->GridState(), gsNormal);
  const Integer Released = G->TopRow();
  Session.Advance(120);
  EXPECT_EQ(G->TopRow(), Released);
}

TEST_F(SkinGridMouseTest, AColumnDroppedOnItselfIsAskedAboutAndStays) {
  AddGrid(400, 200, {goColMoving});
  Press(100, 10);
  ASSERT_EQ(G->GridState(), gsColMoving);
  Release(100, 10);
  EXPECT_EQ(G->ColumnDrops, (std::vector<std::pair<Integer, Integer>>{{1, 1}}));
  Press(100, 10);
  MoveTo(230, 60);
  Release(230, 60);
  EXPECT_EQ(G->ColumnDrops.back(), (std::pair<Integer, Integer>{1, 3}));
}

TEST_F(SkinGridMouseTest, AFixedColumnPressStartsARowDragWhenOnlyRowsMove) {
  AddGrid(400, 200, {goColSizing, goRowMoving});
  Press(30, 60);
  EXPECT_EQ(G->GridState(), gsRowMoving);
  Release(30, 60);
  EXPECT_EQ(G->GridState(), gsNormal);
}

TEST_F(SkinGridMouseTest, TheSizingLineDrawnTwiceLeavesThePixelsAsBefore) {
  AddGrid(400, 200, {goColSizing});
  G->SetFocus();
  Session.PumpUntilIdle();
  const vantrel::win::Surface Before = Session.CaptureScreen();
  const TPoint Line = Screen(129, 60);
  Press(129, 10);
  const vantrel::win::Surface During = Session.CaptureScreen();
  int Changed = 0;
  for (int Y = Line.Y - 50; Y < Line.Y + 100; ++Y)
    Changed += SurfacePixel(During, Line.X, Y) != SurfacePixel(Before, Line.X, Y) ? 1 : 0;
  EXPECT_GT(Changed, 20);
  SendMessage(G->Handle(), WM_CANCELMODE, 0, 0);
  Session.PumpUntilIdle();
  EXPECT_EQ(G->GridState(), gsNormal);
  const vantrel::win::Surface After = Session.CaptureScreen();
  for (int Y = Line.Y - 50; Y < Line.Y + 100; ++Y)
    ASSERT_EQ(SurfacePixel(After, Line.X, Y), SurfacePixel(Before, Line.X, Y)) << Y;
  Release(129, 10);
}

TEST_F(SkinGridMouseTest, TheWheelMovesTheCurrentRowAndCountsAsHandledOnTheLastRow) {
  AddGrid(400, 200, {goRowSelect});
  G->SetFocus();
  const TPoint P = Screen(100, 60);
  Session.Wheel(P.X, P.Y, -120);
  Session.PumpUntilIdle();
  EXPECT_EQ(G->Row(), 2);
  EXPECT_EQ(G->Selection(), (TGridRect{1, 2, 4, 2}));
  Session.Wheel(P.X, P.Y, 120);
  Session.Wheel(P.X, P.Y, 120);
  Session.PumpUntilIdle();
  EXPECT_EQ(G->Row(), 1);
  G->SetRow(4);
  EXPECT_TRUE(G->DoMouseWheelDown({}, P));
  EXPECT_EQ(G->Row(), 4);
  int Asked = 0;
  G->OnMouseWheelUp = [&](TObject*, TShiftState, TPoint, Boolean& Handled) {
    ++Asked;
    Handled = true;
  };
  EXPECT_TRUE(G->DoMouseWheelUp({}, P));
  EXPECT_EQ(Asked, 1);
  EXPECT_EQ(G->Row(), 4);
}

TEST_F(SkinGridMouseTest, AHeaderEdgeShowsTheSplitCursor) {
  AddGrid(400, 200, {goColSizing, goRowSizing});
  auto CursorAt = [&](int X, int Y) {
    const TPoint P = Screen(X, Y);
    SendMessage(G->Handle(), WM_NCHITTEST, 0, MAKELPARAM(P.X, P.Y));
    SetCursor(nullptr);
    SendMessage(G->Handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(G->Handle()), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    return GetCursor();
  };
  EXPECT_EQ(CursorAt(129, 10), ::Screen->Cursors(crHSplit));
  EXPECT_EQ(CursorAt(30, 49), ::Screen->Cursors(crVSplit));
  EXPECT_NE(CursorAt(100, 60), ::Screen->Cursors(crHSplit));
}

}  // namespace
