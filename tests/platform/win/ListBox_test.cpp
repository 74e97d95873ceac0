// The native list box: its LB_* messages, scroll state, mouse and keys, and the rows its
// parent draws.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/display/HeadlessSession.h"
#include "platform/win/Input.h"
#include "platform/win/ListBox.h"
#include "platform/win/Scroll.h"
#include "tests/support/WinMessageLog.h"

using vantrel::display::HeadlessSession;
using vantrel::test::MessageLog;

namespace {

struct ListBoxFixture {
  HeadlessSession Session;
  MessageLog Log{"ListBoxParent"};
  HWND Parent = nullptr;
  HWND List = nullptr;

  explicit ListBoxFixture(DWORD Style, int Height = 80) {
    Parent = Log.Create(WS_POPUP | WS_VISIBLE, 10, 10, 300, 200);
    List = CreateWindowEx(0, "LISTBOX", "", WS_CHILD | WS_VISIBLE | Style, 0, 0, 120, Height, Parent,
                          reinterpret_cast<HMENU>(7), nullptr, nullptr);
  }
  LRESULT Send(UINT Msg, WPARAM W = 0, LPARAM L = 0) { return SendMessage(List, Msg, W, L); }
  LRESULT Text(UINT Msg, WPARAM W, const char* S) { return Send(Msg, W, reinterpret_cast<LPARAM>(S)); }
  std::string Get(int I) {
    char Buffer[64] = {};
    Send(LB_GETTEXT, static_cast<WPARAM>(I), reinterpret_cast<LPARAM>(Buffer));
    return Buffer;
  }
  std::vector<WORD> Notes() {
    std::vector<WORD> Out;
    for (const auto& M : Log.Messages())
      if (M.Msg == WM_COMMAND && reinterpret_cast<HWND>(M.LParam) == List) Out.push_back(HIWORD(M.WParam));
    return Out;
  }
  void Click(int X, int Y, UINT Mods = 0) {
    Session.Press(10 + X, 10 + Y, vantrel::win::rbLeft, Mods);
    Session.Release(10 + X, 10 + Y, vantrel::win::rbLeft, Mods);
    Session.PumpUntilIdle();
  }
};

struct ListBoxStep {
  UINT Msg;
  WPARAM W;
  const char* S;  // text argument, or nullptr for the number L
  LPARAM L;
  LRESULT Expected;
};

void RunSteps(ListBoxFixture& F, const std::vector<ListBoxStep>& Steps) {
  for (size_t I = 0; I < Steps.size(); ++I) {
    const ListBoxStep& S = Steps[I];
    SCOPED_TRACE("step " + std::to_string(I));
    const LRESULT R = S.S ? F.Text(S.Msg, S.W, S.S) : F.Send(S.Msg, S.W, S.L);
    EXPECT_EQ(R, S.Expected);
  }
}

constexpr WPARAM NoIndex = static_cast<WPARAM>(-1);

}  // namespace

TEST(ListBoxMessages, SortedAddsInsertDeleteAndSearches) {
  ListBoxFixture F(LBS_SORT | LBS_HASSTRINGS);
  RunSteps(F, {
                  {LB_ADDSTRING, 0, "pear", 0, 0},
                  {LB_ADDSTRING, 0, "Apple", 0, 0},
                  {LB_ADDSTRING, 0, "banana", 0, 1},
                  {LB_ADDSTRING, 0, "apricot", 0, 1},  // after "Apple", case ignored
                  {LB_INSERTSTRING, 0, "zulu", 0, 0},  // in place even in a sorted list
                  {LB_INSERTSTRING, NoIndex, "end", 0, 5},
                  {LB_INSERTSTRING, 9, "far", 0, LB_ERR},
                  {LB_GETCOUNT, 0, nullptr, 0, 6},
                  {LB_FINDSTRING, NoIndex, "AP", 0, 1},
                  {LB_FINDSTRING, 1, "ap", 0, 2},
                  {LB_FINDSTRING, 2, "ap", 0, 1},  // wraps
                  {LB_FINDSTRING, NoIndex, "kiwi", 0, LB_ERR},
                  {LB_FINDSTRINGEXACT, NoIndex, "APPLE", 0, 1},
                  {LB_FINDSTRINGEXACT, NoIndex, "app", 0, LB_ERR},
                  {LB_DELETESTRING, 0, nullptr, 0, 5},
                  {LB_DELETESTRING, 5, nullptr, 0, LB_ERR},
                  {LB_GETTEXTLEN, 0, nullptr, 0, 5},
                  {LB_GETTEXTLEN, 7, nullptr, 0, LB_ERR},
                  {LB_SETITEMDATA, 1, nullptr, 42, LB_OKAY},
                  {LB_GETITEMDATA, 1, nullptr, 0, 42},
                  {LB_SETITEMDATA, 8, nullptr, 42, LB_ERR},
                  {LB_SELECTSTRING, NoIndex, "pe", 0, 3},
                  {LB_GETCURSEL, 0, nullptr, 0, 3},
                  {LB_SETCURSEL, 12, nullptr, 0, LB_ERR},
                  {LB_GETCURSEL, 0, nullptr, 0, LB_ERR},  // out of range cleared it
                  {LB_GETSELCOUNT, 0, nullptr, 0, LB_ERR},
              });
  EXPECT_EQ(F.Get(0), "Apple");
  EXPECT_EQ(F.Get(1), "apricot");
  EXPECT_EQ(F.Get(4), "end");
  char Untouched[4] = {'x', 'x', 'x', 0};
  EXPECT_EQ(F.Send(LB_GETTEXT, 9, reinterpret_cast<LPARAM>(Untouched)), LB_ERR);
  EXPECT_STREQ(Untouched, "xxx");
}

TEST(ListBoxMessages, SelectionCountsInMultipleAndExtendedLists) {
  for (DWORD Style : {LBS_MULTIPLESEL, LBS_EXTENDEDSEL}) {
    SCOPED_TRACE(Style);
    ListBoxFixture F(Style | LBS_HASSTRINGS);
    for (const char* S : {"a", "b", "c", "d", "e", "f"}) F.Text(LB_ADDSTRING, 0, S);
    RunSteps(F, {
                    {LB_SETCURSEL, 1, nullptr, 0, LB_ERR},
                    {LB_SETSEL, 1, nullptr, 1, LB_OKAY},
                    {LB_SELITEMRANGE, 1, nullptr, MAKELPARAM(3, 4), LB_OKAY},
                    {LB_GETSELCOUNT, 0, nullptr, 0, 3},
                    {LB_GETSEL, 3, nullptr, 0, 1},
                    {LB_GETSEL, 2, nullptr, 0, 0},
                    {LB_GETSEL, 6, nullptr, 0, LB_ERR},
                    {LB_SELITEMRANGEEX, 4, nullptr, 3, LB_OKAY},  // reversed: clears 3..4
                    {LB_GETSELCOUNT, 0, nullptr, 0, 1},
                    {LB_SETSEL, 1, nullptr, -1, LB_OKAY},
                    {LB_GETSELCOUNT, 0, nullptr, 0, 6},
                    {LB_SETSEL, 0, nullptr, 2, LB_OKAY},
                    {LB_SETSEL, 0, nullptr, 9, LB_ERR},
                });
    int Items[10] = {};
    ASSERT_EQ(F.Send(LB_GETSELITEMS, 3, reinterpret_cast<LPARAM>(Items)), 3);
    EXPECT_EQ(std::vector<int>(Items, Items + 3), (std::vector<int>{0, 1, 3}));
    EXPECT_EQ(F.Send(LB_GETSELITEMS, 10, reinterpret_cast<LPARAM>(Items)), 5);
  }
}

TEST(ListBoxMessages, TopIndexClampsSoTheLastPageStaysFullAndScrollStateFollows) {
  ListBoxFixture F(LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT | LBS_OWNERDRAWFIXED, 80);
  ASSERT_EQ(F.Send(LB_SETITEMHEIGHT, 0, 16), LB_OKAY);
  for (int I = 0; I < 20; ++I) F.Text(LB_ADDSTRING, 0, ("row " + std::to_string(I)).c_str());
  int Min = -1, Max = -1;
  ASSERT_TRUE(GetScrollRange(F.List, SB_VERT, &Min, &Max));
  EXPECT_EQ(Min, 0);
  EXPECT_EQ(Max, 19);
  SCROLLINFO Info;
  Info.fMask = SIF_ALL;
  GetScrollInfo(F.List, SB_VERT, &Info);
  EXPECT_EQ(Info.nPage, 5u);
  RunSteps(F, {
                  {LB_SETTOPINDEX, 18, nullptr, 0, LB_OKAY},
                  {LB_GETTOPINDEX, 0, nullptr, 0, 15},
                  {LB_SETTOPINDEX, 25, nullptr, 0, LB_ERR},
                  {LB_SETITEMHEIGHT, 0, nullptr, 0, LB_ERR},
                  {LB_SETITEMHEIGHT, 0, nullptr, 256, LB_ERR},
                  {LB_GETITEMHEIGHT, 0, nullptr, 0, 16},
              });
  EXPECT_EQ(GetScrollPos(F.List, SB_VERT), 15);
  F.Send(WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 10), 0);
  EXPECT_EQ(F.Send(LB_GETTOPINDEX), 10);
  EXPECT_EQ(GetScrollPos(F.List, SB_VERT), 10);
  F.Send(WM_VSCROLL, SB_LINEUP, 0);
  F.Send(WM_VSCROLL, SB_PAGEDOWN, 0);
  EXPECT_EQ(F.Send(LB_GETTOPINDEX), 14);
  F.Send(WM_VSCROLL, SB_BOTTOM, 0);
  EXPECT_EQ(F.Send(LB_GETTOPINDEX), 15);
  F.Send(WM_VSCROLL, SB_TOP, 0);
  EXPECT_EQ(F.Send(LB_GETTOPINDEX), 0);
  RECT R{};
  EXPECT_EQ(F.Send(LB_GETITEMRECT, 3, reinterpret_cast<LPARAM>(&R)), 1);
  EXPECT_EQ(R, (RECT{0, 48, 120, 64}));
  const LRESULT Hit = F.Send(LB_ITEMFROMPOINT, 0, PointToLParam(5, 40));
  EXPECT_EQ(LOWORD(static_cast<uintptr_t>(Hit)), 2);
  EXPECT_EQ(HIWORD(static_cast<uintptr_t>(Hit)), 0);
  // The wheel scrolls three rows a notch.
  SetFocus(F.List);
  F.Session.Wheel(20, 20, -WHEEL_DELTA);
  F.Session.PumpUntilIdle();
  EXPECT_EQ(F.Send(LB_GETTOPINDEX), 3);
}

TEST(ListBoxMessages, MultiColumnListsScrollInColumns) {
  ListBoxFixture F(LBS_HASSTRINGS | LBS_MULTICOLUMN | LBS_OWNERDRAWFIXED | LBS_NOINTEGRALHEIGHT, 80);
  F.Send(LB_SETITEMHEIGHT, 0, 20);  // 4 rows a column
  F.Send(LB_SETCOLUMNWIDTH, 40);    // 3 columns visible
  for (int I = 0; I < 22; ++I) F.Text(LB_ADDSTRING, 0, "x");
  int Min = -1, Max = -1;
  GetScrollRange(F.List, SB_HORZ, &Min, &Max);
  EXPECT_EQ(Max, 5);  // 6 columns
  F.Send(WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 2), 0);
  EXPECT_EQ(F.Send(LB_GETTOPINDEX), 8);
  RECT R{};
  F.Send(LB_GETITEMRECT, 13, reinterpret_cast<LPARAM>(&R));
  EXPECT_EQ(R, (RECT{40, 20, 80, 40}));
}

TEST(ListBoxInput, ClicksKeysAndTypingSelectAndNotify) {
  ListBoxFixture F(LBS_HASSTRINGS | LBS_NOTIFY | LBS_OWNERDRAWFIXED | LBS_NOINTEGRALHEIGHT, 80);
  F.Send(LB_SETITEMHEIGHT, 0, 16);
  for (const char* S : {"apple", "banana", "cherry", "blueberry", "date", "fig", "grape", "bean"})
    F.Text(LB_INSERTSTRING, NoIndex, S);
  F.Click(10, 2 * 16 + 4);
  EXPECT_EQ(F.Send(LB_GETCURSEL), 2);
  EXPECT_EQ(GetFocus(), F.List);
  EXPECT_EQ(F.Notes(), (std::vector<WORD>{LBN_SETFOCUS, LBN_SELCHANGE}));
  F.Log.Clear();
  F.Session.Key(VK_DOWN);
  F.Session.PumpUntilIdle();
  EXPECT_EQ(F.Send(LB_GETCURSEL), 3);
  F.Session.Key(VK_NEXT);
  F.Session.PumpUntilIdle();
  EXPECT_EQ(F.Send(LB_GETCURSEL), 7);  // a page of 5 rows, stopped at the last row
  EXPECT_EQ(F.Send(LB_GETTOPINDEX), 3);
  F.Session.Key(VK_HOME);
  F.Session.Type("b");
  F.Session.PumpUntilIdle();
  EXPECT_EQ(F.Send(LB_GETCURSEL), 1);
  F.Session.Type("b");
  F.Session.PumpUntilIdle();
  EXPECT_EQ(F.Send(LB_GETCURSEL), 3);
  F.Session.Key(VK_END);
  F.Session.Type("b");
  F.Session.PumpUntilIdle();
  EXPECT_EQ(F.Send(LB_GETCURSEL), 1);  // wrapped past the end
  F.Log.Clear();
  F.Session.Advance(1000);
  F.Click(10, 16 + 5);
  F.Click(10, 16 + 5);
  EXPECT_EQ(F.Notes(), (std::vector<WORD>{LBN_SELCHANGE, LBN_DBLCLK}));
}

TEST(ListBoxInput, ExtendedSelectionWithShiftCtrlAndDragging) {
  ListBoxFixture F(LBS_HASSTRINGS | LBS_NOTIFY | LBS_EXTENDEDSEL | LBS_OWNERDRAWFIXED | LBS_NOINTEGRALHEIGHT, 160);
  F.Send(LB_SETITEMHEIGHT, 0, 16);
  for (int I = 0; I < 8; ++I) F.Text(LB_ADDSTRING, 0, "r");
  F.Click(10, 1 * 16 + 4);
  F.Click(10, 4 * 16 + 4, MOD_SHIFT);
  EXPECT_EQ(F.Send(LB_GETSELCOUNT), 4);
  F.Click(10, 6 * 16 + 4, MOD_CONTROL);
  EXPECT_EQ(F.Send(LB_GETSELCOUNT), 5);
  EXPECT_EQ(F.Send(LB_GETANCHORINDEX), 6);
  F.Session.Advance(1000);
  // A drag from row 0 to row 2 selects those rows alone.
  F.Session.Press(20, 10 + 4);
  F.Session.Move(20, 10 + 2 * 16 + 4);
  F.Session.Release(20, 10 + 2 * 16 + 4);
  F.Session.PumpUntilIdle();
  int Items[8] = {};
  ASSERT_EQ(F.Send(LB_GETSELITEMS, 8, reinterpret_cast<LPARAM>(Items)), 3);
  EXPECT_EQ(Items[2], 2);
}

TEST(ListBoxInput, ClicksToggleRowsOfAMultipleSelection) {
  ListBoxFixture M(LBS_HASSTRINGS | LBS_MULTIPLESEL | LBS_NOINTEGRALHEIGHT);
  for (int I = 0; I < 4; ++I) M.Text(LB_ADDSTRING, 0, "r");
  const int H = static_cast<int>(M.Send(LB_GETITEMHEIGHT));
  M.Click(10, H + 2);
  M.Session.Advance(1000);
  M.Click(10, 2 * H + 2);
  M.Session.Advance(1000);
  M.Click(10, H + 2);
  EXPECT_EQ(M.Send(LB_GETSELCOUNT), 1);
  EXPECT_EQ(M.Send(LB_GETSEL, 2), 1);
}

TEST(ListBox, WithoutNoIntegralHeightTheWindowHoldsWholeRows) {
  struct Case {
    DWORD Style;
    int Height;
    int Expected;  // client height after sizing to Height with 16-pixel rows
  };
  for (const Case& C : {Case{LBS_HASSTRINGS, 90, 80}, Case{LBS_HASSTRINGS, 96, 96}, Case{LBS_HASSTRINGS, 10, 10},
                        Case{LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT, 90, 90},
                        Case{LBS_HASSTRINGS | LBS_MULTICOLUMN, 90, 80}}) {
    SCOPED_TRACE(std::to_string(C.Style) + "/" + std::to_string(C.Height));
    ListBoxFixture F(C.Style, 200);
    ASSERT_EQ(F.Send(LB_SETITEMHEIGHT, 0, 16), LB_OKAY);
    SetWindowPos(F.List, nullptr, 0, 0, 120, C.Height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    RECT R{};
    GetClientRect(F.List, &R);
    EXPECT_EQ(R.Bottom, C.Expected);
  }
  // A taller row cuts the list again.
  ListBoxFixture F(LBS_HASSTRINGS, 200);
  F.Send(LB_SETITEMHEIGHT, 0, 16);
  SetWindowPos(F.List, nullptr, 0, 0, 120, 96, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  F.Send(LB_SETITEMHEIGHT, 0, 20);
  RECT R{};
  GetClientRect(F.List, &R);
  EXPECT_EQ(R.Bottom, 80);
}
