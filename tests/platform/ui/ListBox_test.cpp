// The class library's list box: owner drawing, clicks, keys and typing, scroll state,
// items kept across a new window, and the items' errors.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/display/HeadlessPng.h"
#include "platform/display/HeadlessSession.h"
#include "platform/ui/ListBox.h"
#include "platform/win/Keyboard.h"
#include "platform/win/ListBox.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Scroll.h"
#include "tests/support/UiTestControls.h"

using vantrel::display::HeadlessSession;
using vantrel::uitest::RgbAt;
using vantrel::uitest::RgbOf;
using vantrel::uitest::TTestForm;

namespace {

struct DrawnRow {
  Integer Index;
  TOwnerDrawState State;
};

struct ListBoxForm {
  HeadlessSession Session;
  TOwned<TTestForm> Form = CreateOwned<TTestForm>(nullptr);
  TListBox* List = nullptr;
  std::vector<DrawnRow> Drawn;
  int Clicks = 0, DblClicks = 0;

  explicit ListBoxForm(const std::vector<String>& Rows, TListBoxStyle Style = lbOwnerDrawFixed) {
    Form->SetBounds(20, 20, 240, 160);
    List = Create<TListBox>(Form.get());
    List->SetParent(Form.get());
    List->SetBorderStyle(bsNone);
    List->SetIntegralHeight(false);
    List->SetStyle(Style);
    List->SetItemHeight(16);
    List->SetBounds(10, 10, 120, 100);
    for (const String& R : Rows) List->Items()->Add(R);
    List->OnClick = [this](TObject*) { ++Clicks; };
    List->OnDblClick = [this](TObject*) { ++DblClicks; };
    List->OnDrawItem = [this](TWinControl*, Integer Index, const TRect& Rect, TOwnerDrawState State) {
      Drawn.push_back({Index, State});
      TCanvas* C = List->Canvas();
      C->Brush()->SetColor(State.Contains(odSelected) ? clNavy : (Index % 2 ? clSilver : clWhite));
      C->FillRect(Rect);
      C->Font()->SetColor(State.Contains(odSelected) ? clWhite : clBlack);
      C->TextOut(Rect.Left + 4, Rect.Top + 1, List->Items()->Get(Index));
    };
    ShowWindow(Form->Handle(), SW_SHOW);
    Session.PumpUntilIdle();
  }
  // Screen point of row Row's middle.
  TPoint RowPoint(Integer Row) { return List->ClientToScreen(Point(30, (Row - List->TopIndex()) * 16 + 8)); }
  void Click(Integer Row) {
    const TPoint P = RowPoint(Row);
    Session.Press(P.X, P.Y);
    Session.Release(P.X, P.Y);
    Session.PumpUntilIdle();
  }
};

std::vector<String> NumberedRows(int N) {
  std::vector<String> Rows;
  for (int I = 0; I < N; ++I) Rows.push_back("row " + std::to_string(I));
  return Rows;
}

}  // namespace

TEST(ListBox, OwnerDrawnRowsFromTheTopIndexIncludingThePartialLastOne) {
  ListBoxForm F(NumberedRows(20));
  EXPECT_EQ(F.List->ClientHeight(), 100);
  F.List->SetTopIndex(4);
  F.List->SetItemIndex(6);
  F.Session.PumpUntilIdle();
  F.Drawn.clear();
  F.List->Invalidate();
  F.Session.PumpUntilIdle();
  std::vector<Integer> Indexes;
  for (const DrawnRow& R : F.Drawn) Indexes.push_back(R.Index);
  EXPECT_EQ(Indexes, (std::vector<Integer>{4, 5, 6, 7, 8, 9, 10}));
  for (const DrawnRow& R : F.Drawn) {
    SCOPED_TRACE(R.Index);
    EXPECT_EQ(R.State.Contains(odSelected), R.Index == 6);
    EXPECT_FALSE(R.State.Contains(odFocused));
  }
  F.List->SetFocus();
  F.Drawn.clear();
  F.List->Invalidate();
  const auto S = F.Session.Capture(F.Form->Handle());
  ASSERT_GE(F.Drawn.size(), 3u);
  EXPECT_TRUE(F.Drawn[2].State.Contains(odFocused));
  EXPECT_TRUE(F.Drawn[2].State.Contains(odSelected));
  // Row 6 (third from the top) is navy, row 5 silver, row 4 white; the rows start at the
  // list's top-left corner (no border).
  EXPECT_EQ(RgbAt(S, 10 + 60, 10 + 2 * 16 + 8), RgbOf(clNavy));
  EXPECT_EQ(RgbAt(S, 10 + 60, 10 + 1 * 16 + 8), RgbOf(clSilver));
  EXPECT_EQ(RgbAt(S, 10 + 60, 10 + 0 * 16 + 8), RgbOf(clWhite));
  EXPECT_EQ(RgbAt(S, 10 + 60, 10 + 6 * 16 + 2), RgbOf(clWhite));  // the partial row 10
  vantrel::display::SavePng(S, testing::TempDir() + "listbox_ownerdraw.png");
}

TEST(ListBox, ClicksKeysAndDoubleClicks) {
  ListBoxForm F(NumberedRows(20));
  F.Click(2);
  EXPECT_EQ(F.List->ItemIndex(), 2);
  EXPECT_EQ(F.Clicks, 1);
  F.Session.Key(VK_DOWN);
  F.Session.PumpUntilIdle();
  EXPECT_EQ(F.List->ItemIndex(), 3);
  EXPECT_EQ(F.Clicks, 2);
  F.Session.Key(VK_NEXT);
  F.Session.PumpUntilIdle();
  EXPECT_EQ(F.List->ItemIndex(), 9);  // six whole rows a page
  F.Session.Advance(1000);
  const TPoint P = F.RowPoint(F.List->TopIndex());
  F.Session.Press(P.X, P.Y);
  F.Session.Release(P.X, P.Y);
  F.Session.Press(P.X, P.Y);
  F.Session.Release(P.X, P.Y);
  F.Session.PumpUntilIdle();
  EXPECT_EQ(F.DblClicks, 1);
}

TEST(ListBox, TypingFindsRowsWithAndWithoutAutoComplete) {
  ListBoxForm F({"apple", "bean", "cherry", "banana", "date", "blueberry"});
  F.Click(2);
  F.List->SetAutoComplete(false);
  F.Session.Type("b");
  F.Session.PumpUntilIdle();
  EXPECT_EQ(F.List->ItemIndex(), 3);
  F.Session.Type("b");
  F.Session.PumpUntilIdle();
  EXPECT_EQ(F.List->ItemIndex(), 5);
  F.Session.Type("b");
  F.Session.PumpUntilIdle();
  EXPECT_EQ(F.List->ItemIndex(), 1);  // wrapped
  F.List->SetAutoComplete(true);
  F.Session.Advance(1000);
  const int Before = F.Clicks;
  F.Session.Type("b");
  F.Session.PumpUntilIdle();
  F.Session.Advance(100);
  F.Session.Type("a");
  F.Session.PumpUntilIdle();
  EXPECT_EQ(F.List->ItemIndex(), 3);  // "ba": banana
  EXPECT_EQ(F.Clicks, Before + 2);
  F.Session.Advance(500);
  F.Session.Type("b");
  F.Session.PumpUntilIdle();
  EXPECT_EQ(F.List->ItemIndex(), 1);  // a new search: the first "b" row
}

TEST(ListBox, ScrollStateAndItemsSurviveANewWindow) {
  ListBoxForm F(NumberedRows(20));
  F.List->SetHeight(80);  // five rows
  int Min = -1, Max = -1;
  GetScrollRange(F.List->Handle(), SB_VERT, &Min, &Max);
  EXPECT_EQ(Min, 0);
  EXPECT_EQ(Max, 19);
  SCROLLINFO Info;
  Info.fMask = SIF_PAGE;
  GetScrollInfo(F.List->Handle(), SB_VERT, &Info);
  EXPECT_EQ(Info.nPage, 5u);
  SendMessage(F.List->Handle(), WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 10), 0);
  EXPECT_EQ(F.List->TopIndex(), 10);
  EXPECT_EQ(GetScrollPos(F.List->Handle(), SB_VERT), 10);
  TObject Tag;
  F.List->Items()->PutObject(12, &Tag);
  F.List->SetItemIndex(12);
  const HWND Old = F.List->Handle();
  F.List->RecreateWnd();
  EXPECT_NE(F.List->Handle(), Old);
  EXPECT_EQ(F.List->Count(), 20);
  EXPECT_EQ(F.List->Items()->Get(12), "row 12");
  EXPECT_EQ(F.List->Items()->GetObject(12), &Tag);
  EXPECT_EQ(F.List->ItemIndex(), 12);
  EXPECT_EQ(F.List->TopIndex(), 10);
  // Multiple selection survives too.
  F.List->SetMultiSelect(true);
  F.List->SetSelected(3, true);
  F.List->SetSelected(7, true);
  F.List->RecreateWnd();
  EXPECT_EQ(F.List->SelCount(), 3);  // row 12 was selected before the switch
  EXPECT_TRUE(F.List->Selected(7));
  EXPECT_TRUE(F.List->Selected(12));
}

TEST(ListBox, ItemsWithoutAWindowAndOutOfRangeIndexes) {
  HeadlessSession Session;
  auto Form = CreateOwned<TTestForm>(nullptr);
  auto* List = Create<TListBox>(Form.get());
  List->SetSorted(true);
  List->Items()->Add("pear");
  List->Items()->Add("apple");
  EXPECT_FALSE(List->HandleAllocated());
  EXPECT_EQ(List->Items()->Get(0), "apple");
  List->SetParent(Form.get());
  List->HandleNeeded();
  EXPECT_EQ(SendMessage(List->Handle(), LB_GETCOUNT, 0, 0), 2);
  List->Items()->Insert(0, "Subtitle#-1");
  EXPECT_EQ(List->Items()->IndexOf("subtitle#-1"), 0);
  EXPECT_EQ(List->Items()->IndexOf("kiwi"), -1);
  try {
    (void)List->Items()->Get(5);
    FAIL() << "no exception";
  } catch (const EStringListError& E) {
    EXPECT_STREQ(E.what(), "List index out of bounds (5)");
  }
  EXPECT_THROW(List->Items()->Delete(-1), EStringListError);
  List->SetItemHeight(0);  // ignored
  EXPECT_GT(List->ItemHeight(), 0);
  EXPECT_EQ(List->ItemAtPos(Point(5, 5), true), 0);
  EXPECT_EQ(List->ItemAtPos(Point(5, 90), true), -1);
  EXPECT_EQ(List->ItemAtPos(Point(5, 90), false), 3);
}

TEST(ListBox, IntegralHeightShowsOnlyWholeRows) {
  ListBoxForm F({"a", "b", "c"});
  EXPECT_EQ(F.List->Height(), 100);  // IntegralHeight false: as set
  F.List->SetIntegralHeight(true);
  F.Session.PumpUntilIdle();
  EXPECT_EQ(F.List->Height(), 96);  // six whole 16-pixel rows
  EXPECT_EQ(F.List->ClientHeight(), 96);
  F.List->SetHeight(75);
  F.Session.PumpUntilIdle();
  EXPECT_EQ(F.List->Height(), 64);
}
