// Scrolling the grid through its external bars: the 0..127 scale, bars shown and hidden as
// the rows fit or not, the pull-back of a top row beyond the last useful one, a single
// wide column scrolled by pixels, thumb tracking, the both-bars look, and what a scroll
// leaves to repaint.
#include <gtest/gtest.h>

#include "platform/win/Gdi.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Paint.h"
#include "platform/win/Scroll.h"
#include "platform/win/UpdateRegion.h"
#include "tests/skin/controls/SkinGridsRecorder.h"
#include "tests/support/SkinFormFixture.h"

using vantrel::gridtest::TRecordingGrid;
using vantrel::uitest::SkinFormFixture;

namespace {

class SkinGridScrollTest : public SkinFormFixture {
 protected:
  TRecordingGrid* G = nullptr;

  // Cells of 64 x 24 with 1-pixel lines: a 150-pixel client shows the fixed row and five
  // more rows.
  void AddGrid(Integer Rows, int W = 400, int H = 150) {
    G = Create<TRecordingGrid>(Form.get());
    G->SetParent(Form.get());
    G->SetBounds(0, 0, W, H);
    G->SetRowCount(Rows);
  }
  TspSkinScrollBar* AddBar(TScrollBarKind Kind) {
    auto* B = Create<TspSkinScrollBar>(Form.get());
    B->SetParent(Form.get());
    B->SetKind(Kind);
    if (Kind == sbVertical)
      B->SetBounds(G->Width(), 0, 19, G->Height());
    else
      B->SetBounds(0, G->Height(), G->Width(), 19);
    return B;
  }
  void Scroll(UINT Msg, WORD Code, WORD Pos = 0) {
    SendMessage(G->Handle(), Msg, static_cast<WPARAM>(Pos) << 16 | Code, 0);
  }
};

TEST_F(SkinGridScrollTest, TheVerticalBarRunsFromZeroTo127OverTheUsefulTopRows) {
  AddGrid(20);
  auto* V = AddBar(sbVertical);
  G->SetVScrollBar(V);
  ShowForm();
  EXPECT_TRUE(V->Visible());
  EXPECT_EQ(V->Min(), 0);
  EXPECT_EQ(V->Max(), 127);
  for (auto [Top, Pos] : {std::pair{15, 127}, std::pair{1, 0}, std::pair{8, 64}}) {
    SCOPED_TRACE(Top);
    G->SetTopRow(Top);
    EXPECT_EQ(V->Position(), Pos);
  }
  // The scale back: position 64 shows row 1 + round(64 * 14 / 127) = 8.
  Scroll(WM_VSCROLL, SB_THUMBPOSITION, 64);
  EXPECT_EQ(G->TopRow(), 8);
  Scroll(WM_VSCROLL, SB_BOTTOM);
  EXPECT_EQ(G->TopRow(), 15);
  Scroll(WM_VSCROLL, SB_LINEDOWN);
  EXPECT_EQ(G->TopRow(), 15);
  // A page back: rows 11..15 are the page that ends with row 15.
  Scroll(WM_VSCROLL, SB_PAGEUP);
  EXPECT_EQ(G->TopRow(), 11);
}

TEST_F(SkinGridScrollTest, RowsThatAllFitHideTheBarAndMoreRowsShowItAgain) {
  AddGrid(20);
  auto* V = AddBar(sbVertical);
  G->SetVScrollBar(V);
  ShowForm();
  G->SetTopRow(10);
  G->SetRowCount(5);
  Session.PumpUntilIdle();
  EXPECT_FALSE(V->Visible());
  EXPECT_EQ(V->Max(), 0);
  EXPECT_EQ(G->TopRow(), 1);
  G->SetRowCount(8);
  Session.PumpUntilIdle();
  EXPECT_TRUE(V->Visible());
  EXPECT_EQ(V->Max(), 127);
}

TEST_F(SkinGridScrollTest, ATopRowBeyondTheLastUsefulOneIsPulledBackByThePaint) {
  AddGrid(10);
  ShowForm();
  G->SetTopRow(1000);
  EXPECT_EQ(G->TopRow(), 1000);
  Session.PumpUntilIdle();
  // Rows 5 to 9 take the 125 pixels below the fixed row.
  EXPECT_EQ(G->TopRow(), 5);
}

TEST_F(SkinGridScrollTest, OneWideColumnScrollsByPixels) {
  AddGrid(5, 300);
  G->SetColCount(1);
  G->SetColWidths(0, 400);
  auto* H = AddBar(sbHorizontal);
  G->SetHScrollBar(H);
  ShowForm();
  EXPECT_TRUE(H->Visible());
  EXPECT_EQ(H->Max(), 100);
  Scroll(WM_HSCROLL, SB_LINEDOWN);
  const Integer Zero = G->Canvas()->TextWidth("0");
  ASSERT_GT(Zero, 0);
  EXPECT_EQ(G->ColOffset(), Zero);
  EXPECT_EQ(H->Position(), Zero);
  Scroll(WM_HSCROLL, SB_PAGEDOWN);
  EXPECT_EQ(G->ColOffset(), 100);
  EXPECT_EQ(H->Position(), 100);
  Scroll(WM_HSCROLL, SB_PAGEUP);
  EXPECT_EQ(G->ColOffset(), 0);
  Scroll(WM_HSCROLL, SB_BOTTOM);
  EXPECT_EQ(G->ColOffset(), 100);
  // A wider client pulls the offset back so that the column still ends at the edge.
  G->SetBounds(0, 0, 350, 150);
  Session.PumpUntilIdle();
  EXPECT_EQ(H->Max(), 50);
  EXPECT_EQ(G->ColOffset(), 50);
  EXPECT_EQ(H->Position(), 50);
  // Wider than the column: nothing left to scroll, the column stays at the left edge.
  G->SetBounds(0, 0, 450, 150);
  Session.PumpUntilIdle();
  EXPECT_FALSE(H->Visible());
  EXPECT_EQ(G->ColOffset(), 0);
  Scroll(WM_HSCROLL, SB_BOTTOM);
  EXPECT_EQ(G->ColOffset(), 0);
}

// A thumb drag moves the bar's position at every step and tells the last change at the
// release: the grid follows every step only when it was tracking when the bar was attached.
TEST_F(SkinGridScrollTest, TheThumbScrollsAtTheReleaseUnlessTracking) {
  for (bool Tracking : {false, true}) {
    SCOPED_TRACE(Tracking);
    AddGrid(40, 300);  // the bar beside it lies inside the form
    if (Tracking) G->SetOptions(G->Options() + TGridOptions{goThumbTracking});
    auto* V = AddBar(sbVertical);
    G->SetVScrollBar(V);
    G->SetOptions(G->Options() - TGridOptions{goThumbTracking});
    ShowForm();
    const TRect T = V->Buttons[TspSkinScrollBar::ThumbButton].R;
    ASSERT_FALSE(IsRectEmpty(&T));
    const TPoint From = V->ClientToScreen(Point(T.Left + RectWidth(T) / 2, T.Top + RectHeight(T) / 2));
    Session.Move(From.X, From.Y);
    Session.Press(From.X, From.Y);
    Session.PumpUntilIdle();
    for (int Step = 1; Step <= 4; ++Step) {
      Session.Move(From.X, From.Y + 10 * Step);
      Session.PumpUntilIdle();
    }
    EXPECT_GT(V->Position(), 0);
    EXPECT_EQ(G->TopRow() > 1, Tracking);
    const Integer Shown = G->TopRow();
    Session.Release(From.X, From.Y + 40);
    Session.PumpUntilIdle();
    EXPECT_GT(G->TopRow(), 1);
    if (Tracking) {
      EXPECT_EQ(G->TopRow(), Shown);
    }
    G->Free();
    V->Free();
  }
}

TEST_F(SkinGridScrollTest, TheHorizontalBarLeavesTheCornerWhileTheVerticalOneShows) {
  AddGrid(20);
  G->SetColCount(20);
  auto* V = AddBar(sbVertical);
  auto* H = AddBar(sbHorizontal);
  G->SetVScrollBar(V);
  G->SetHScrollBar(H);
  ShowForm();
  EXPECT_TRUE(V->Visible());
  EXPECT_TRUE(H->Both());
  G->SetRowCount(3);
  Session.PumpUntilIdle();
  EXPECT_FALSE(V->Visible());
  EXPECT_FALSE(H->Both());
  // The bars follow the grid's own visibility.
  G->SetVisible(false);
  EXPECT_FALSE(H->Visible());
  G->SetVisible(true);
  EXPECT_TRUE(H->Visible());
  EXPECT_TRUE(V->Visible());
}

TEST_F(SkinGridScrollTest, AOneRowScrollLeavesOnlyTheUncoveredRowToRepaint) {
  AddGrid(20);
  ShowForm();
  auto Invalid = [&](int X, int Y) {
    HRGN R = CreateRectRgn(0, 0, 0, 0);
    GetUpdateRgn(G->Handle(), R, false);
    const bool In = PtInRegion(R, X, Y);
    DeleteObject(R);
    return In;
  };
  G->SetTopRow(2);
  EXPECT_FALSE(Invalid(100, 60));
  EXPECT_FALSE(Invalid(100, 10));
  EXPECT_TRUE(Invalid(100, 140));
  EXPECT_TRUE(Invalid(360, 60));
  Session.PumpUntilIdle();
  EXPECT_EQ(G->TopRow(), 2);
  // Rows 2..6 and 15..19 share no row: the whole client is repainted.
  G->SetTopRow(15);
  EXPECT_TRUE(Invalid(100, 60));
  EXPECT_TRUE(Invalid(30, 60));
}

TEST_F(SkinGridScrollTest, AFreedBarIsForgottenAndAFreedGridNoLongerHearsItsBar) {
  AddGrid(20);
  auto* V = AddBar(sbVertical);
  G->SetVScrollBar(V);
  ShowForm();
  V->Free();
  EXPECT_EQ(G->VScrollBar(), nullptr);
  G->SetTopRow(4);
  auto* V2 = AddBar(sbVertical);
  G->SetVScrollBar(V2);
  G->Free();
  V2->SetPosition(50);
  EXPECT_EQ(V2->Position(), 50);
}

// Bars made after the grid go before it when their owner goes, freed (children first)
// or deleted (owned components only); a sibling freed earlier changes nothing.
TEST_F(SkinGridScrollTest, BarsMadeAfterTheGridMayGoFirst) {
  for (const bool Deleted : {false, true}) {
    SCOPED_TRACE(Deleted);
    Form = CreateOwned<TForm>(nullptr);
    AddGrid(20);
    G->SetVScrollBar(AddBar(sbVertical));
    G->SetHScrollBar(AddBar(sbHorizontal));
    ShowForm();
    AddBar(sbVertical)->Free();
    if (Deleted)
      delete Form.release();
    else
      Form.reset();
  }
}

}  // namespace
