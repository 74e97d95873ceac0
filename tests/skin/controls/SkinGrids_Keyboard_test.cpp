// The grid at the keyboard: queued keys through the application's loop move the current
// cell and the view, Tab wraps (or moves the focus on without goTabs), Shift extends the
// range, and the grid claims only the keys its options ask for.
#include <gtest/gtest.h>

#include "platform/win/Display.h"
#include "platform/win/Focus.h"
#include "platform/win/Keyboard.h"
#include "platform/win/MessageQueue.h"
#include "tests/skin/controls/SkinGridsRecorder.h"
#include "tests/support/AppPump.h"
#include "tests/support/SkinFormFixture.h"

using vantrel::gridtest::TRecordingGrid;
using vantrel::uitest::SkinFormFixture;

namespace {

class SkinGridKeyboardTest : public SkinFormFixture {
 protected:
  TRecordingGrid* G = nullptr;
  TRecordingGrid* Next = nullptr;

  // 10 columns and 30 rows of 64 x 24 in a 400 x 276 client: the fixed row and rows 1 to
  // 10 show fully (11 x 25 = 275), columns 1 to 5 (6 x 65 = 390).
  void SetUp() override {
    SkinFormFixture::SetUp();
    G = Create<TRecordingGrid>(Form.get());
    G->SetParent(Form.get());
    G->SetBounds(0, 0, 400, 276);
    G->SetColCount(10);
    G->SetRowCount(30);
    Next = Create<TRecordingGrid>(Form.get());
    Next->SetParent(Form.get());
    Next->SetBounds(0, 300, 100, 50);
    ShowForm();
    G->SetFocus();
    Session.PumpUntilIdle();
  }
  void Key(WORD Vk, UINT Mods = 0) {
    Session.Key(Vk, Mods);
    vantrel::testsupport::PumpApplication(Session);
  }
  static TGridCoord At(Integer X, Integer Y) { return {X, Y}; }
  TGridCoord Current() const { return {G->Col(), G->Row()}; }
};

TEST_F(SkinGridKeyboardTest, KeysMoveTheCurrentCellAndTheView) {
  ASSERT_EQ(GetFocus(), G->Handle());
  Key(VK_END, MOD_CONTROL);
  EXPECT_EQ(Current(), At(9, 29));
  Key(VK_HOME, MOD_CONTROL);
  EXPECT_EQ(Current(), At(1, 1));
  EXPECT_EQ(G->TopRow(), 1);
  Key(VK_NEXT);
  EXPECT_EQ(Current(), At(1, 10));
  EXPECT_EQ(G->TopRow(), 10);
  Key(VK_DOWN, MOD_CONTROL);
  EXPECT_EQ(Current(), At(1, 10));
  EXPECT_EQ(G->TopRow(), 11);
  Key(VK_PRIOR, MOD_CONTROL);
  EXPECT_EQ(Current(), At(1, 11));
  Key(VK_END);
  EXPECT_EQ(Current(), At(9, 11));
  Key(VK_HOME);
  EXPECT_EQ(Current(), At(1, 11));
  Key(VK_LEFT);
  EXPECT_EQ(Current(), At(1, 11));
  Key(VK_UP);
  EXPECT_EQ(Current(), At(1, 10));
  // The view never scrolls past the last useful top row.
  Key(VK_DOWN, MOD_CONTROL);
  for (int I = 0; I < 30; ++I) Key(VK_DOWN, MOD_CONTROL);
  EXPECT_EQ(G->TopRow(), 20);
}

TEST_F(SkinGridKeyboardTest, RowSelectMovesRowsWithLeftRightHomeAndEnd) {
  G->SetOptions(G->Options() + TGridOptions{goRowSelect});
  G->SetRow(5);
  for (auto [Vk, Row] : {std::pair{VK_LEFT, 4}, std::pair{VK_RIGHT, 5}, std::pair{VK_END, 29}, std::pair{VK_HOME, 1}}) {
    SCOPED_TRACE(Vk);
    Key(static_cast<WORD>(Vk));
    EXPECT_EQ(Current(), At(1, Row));
    EXPECT_EQ(G->Selection(), (TGridRect{1, Row, 9, Row}));
  }
}

TEST_F(SkinGridKeyboardTest, TabWrapsAroundTheGridAndShiftTabLeavesNoRange) {
  G->SetOptions(G->Options() + TGridOptions{goTabs});
  G->SetCol(9);
  G->SetRow(29);
  Key(VK_TAB);
  EXPECT_EQ(Current(), At(1, 1));
  EXPECT_EQ(GetFocus(), G->Handle());
  Key(VK_TAB, MOD_SHIFT);
  EXPECT_EQ(Current(), At(9, 29));
  EXPECT_EQ(G->Selection(), (TGridRect{9, 29, 9, 29}));
  Key(VK_TAB, MOD_SHIFT);
  EXPECT_EQ(Current(), At(8, 29));
}

TEST_F(SkinGridKeyboardTest, ShiftDownExtendsTheRange) {
  G->SetRow(2);
  Key(VK_DOWN, MOD_SHIFT);
  Key(VK_DOWN, MOD_SHIFT);
  EXPECT_EQ(Current(), At(1, 4));
  EXPECT_EQ(G->Selection(), (TGridRect{1, 2, 1, 4}));
  Key(VK_DOWN);
  EXPECT_EQ(G->Selection(), (TGridRect{1, 5, 1, 5}));
}

TEST_F(SkinGridKeyboardTest, WithoutGoTabsTabMovesTheFocusOn) {
  Key(VK_TAB);
  EXPECT_EQ(Current(), At(1, 1));
  EXPECT_EQ(GetFocus(), Next->Handle());
}

TEST_F(SkinGridKeyboardTest, TheDialogCodeFollowsTheOptions) {
  struct DlgCase {
    TGridOptions Add;
    LRESULT Code;
  };
  const TGridOptions Base = G->Options();
  for (const DlgCase& K : {DlgCase{{}, DLGC_WANTARROWS}, DlgCase{{goTabs}, DLGC_WANTARROWS | DLGC_WANTTAB},
                           DlgCase{{goEditing}, DLGC_WANTARROWS | DLGC_WANTCHARS},
                           DlgCase{{goTabs, goEditing, goRowSelect}, DLGC_WANTARROWS}}) {
    SCOPED_TRACE(K.Code);
    G->SetOptions(Base + K.Add);
    EXPECT_EQ(SendMessage(G->Handle(), WM_GETDLGCODE, 0, 0), K.Code);
  }
}

TEST_F(SkinGridKeyboardTest, AKeyTheGridRefusesOrAHandlerClearsDoesNothing) {
  G->OnKeyDown = [](TObject*, Word& K, TShiftState) {
    if (K == VK_DOWN) K = 0;
  };
  Key(VK_DOWN);
  EXPECT_EQ(Current(), At(1, 1));
  Key(VK_RIGHT);
  EXPECT_EQ(Current(), At(2, 1));
}

TEST_F(SkinGridKeyboardTest, ReturnTogglesEditingAndF2SwitchesItOn) {
  G->SetOptions(G->Options() + TGridOptions{goEditing});
  EXPECT_EQ(SendMessage(G->Handle(), CM_WANTSPECIALKEY, VK_RETURN, 0), 1);
  Key(VK_RETURN);
  EXPECT_TRUE(G->EditorMode());
  Key(VK_RETURN);
  EXPECT_FALSE(G->EditorMode());
  Key(VK_F2);
  EXPECT_TRUE(G->EditorMode());
  // Moving to another cell ends editing.
  Key(VK_DOWN);
  EXPECT_FALSE(G->EditorMode());
  G->SetOptions(G->Options() + TGridOptions{goAlwaysShowEditor});
  EXPECT_TRUE(G->EditorMode());
  Key(VK_RETURN);
  EXPECT_TRUE(G->EditorMode());
}

}  // namespace
