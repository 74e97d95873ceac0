// The skin menu engine: order of the closing notifications and the command, the submenu
// delay, keyboard selection, and openers or levels that go while the menu is open.
#include "tests/skin/forms/SkinMenus_TestKit.h"

using vantrel::menutest::MenuFixture;

namespace {

class SkinMenuEngineTest : public MenuFixture {};

TEST_F(SkinMenuEngineTest, ALeafClickedClosesEveryLevelBeforeItsCommandRuns) {
  Add("&Open");
  TMenuItem* More = Add("More");
  TMenuItem* Leaf = Add("Leaf", More);
  Integer LevelsSeenByClick = -1;
  Leaf->OnClick = [&](TObject*) {
    LevelsSeenByClick = Menu->LevelCount();
    Log.push_back("click");
  };
  Open();
  Menu->OnMenuClose = [&](TObject*) { Log.push_back("menu close"); };
  ItemOf(0, 1).MouseDown(0, 0);  // opens "More" at once
  ASSERT_EQ(Menu->LevelCount(), 2);
  ItemOf(1, 0).MouseDown(0, 0);
  EXPECT_EQ(Menu->LevelCount(), 0);
  EXPECT_FALSE(Menu->Visible());
  EXPECT_EQ(LevelsSeenByClick, 0);
  EXPECT_EQ(Log, (std::vector<std::string>{"opener closed", "menu close", "form closed", "click",
                                           "opener command"}));
}

TEST_F(SkinMenuEngineTest, RestingOnASubmenuItemOpensItAfterHalfASecond) {
  Add("First");
  TMenuItem* More = Add("More");
  Add("Inner", More);
  Open();
  ASSERT_EQ(Menu->LevelCount(), 1);
  Level(0)->TestActive(Centre(ItemOf(0, 1)).X, Centre(ItemOf(0, 1)).Y);
  S.Session.Advance(499);
  EXPECT_EQ(Menu->LevelCount(), 1);
  S.Session.Advance(1);
  ASSERT_EQ(Menu->LevelCount(), 2);
  EXPECT_TRUE(ItemOf(0, 1).Down);
  // Moving on to another item closes the deeper level.
  Level(0)->TestActive(Centre(ItemOf(0, 0)).X, Centre(ItemOf(0, 0)).Y);
  EXPECT_EQ(Menu->LevelCount(), 1);
}

TEST_F(SkinMenuEngineTest, MovingOnBeforeTheDelayCancelsTheSubmenu) {
  Add("First");
  TMenuItem* More = Add("More");
  Add("Inner", More);
  Open();
  Level(0)->TestActive(Centre(ItemOf(0, 1)).X, Centre(ItemOf(0, 1)).Y);
  S.Session.Advance(300);
  Level(0)->TestActive(Centre(ItemOf(0, 0)).X, Centre(ItemOf(0, 0)).Y);
  S.Session.Advance(1000);
  EXPECT_EQ(Menu->LevelCount(), 1);
  EXPECT_EQ(Menu->WItem, nullptr);
}

TEST_F(SkinMenuEngineTest, ClickingASubmenuItemOpensItAtOnceAfterItsOwnClick) {
  TMenuItem* More = Add("More");
  Integer LevelsAtClick = -1;
  More->OnClick = [&](TObject*) {
    LevelsAtClick = Menu->LevelCount();
    Add("Filled by the click", More);
  };
  Add("Placeholder", More);
  Open();
  ItemOf(0, 0).MouseDown(0, 0);
  EXPECT_EQ(LevelsAtClick, 1);
  ASSERT_EQ(Menu->LevelCount(), 2);
  EXPECT_EQ(Level(1)->ItemList.size(), 2u);
}

TEST_F(SkinMenuEngineTest, DownAndUpSkipSeparatorsAndDisabledItemsAndWrapOnlyFromTheLastItem) {
  Add("A");
  Add("-");
  Add("B")->SetEnabled(false);
  Add("C");
  Add("D");
  Add("E")->SetEnabled(false);
  Open();
  TspSkinPopupWindow* W = Level(0);
  EXPECT_EQ(W->ActiveItem, 0);
  W->PopupKeyDown(VK_DOWN);
  EXPECT_EQ(W->ActiveItem, 3);
  W->PopupKeyDown(VK_DOWN);
  EXPECT_EQ(W->ActiveItem, 4);
  W->PopupKeyDown(VK_DOWN);  // only a disabled item follows: the selection stays
  EXPECT_EQ(W->ActiveItem, 4);
  W->PopupKeyDown(VK_UP);
  EXPECT_EQ(W->ActiveItem, 3);
  W->PopupKeyDown(VK_UP);
  EXPECT_EQ(W->ActiveItem, 0);
  EXPECT_TRUE(ItemOf(0, 0).Active);
  EXPECT_FALSE(ItemOf(0, 3).Active);
}

TEST_F(SkinMenuEngineTest, DownWrapsFromTheVeryLastItem) {
  Add("Off")->SetEnabled(false);
  Add("A");
  Add("B");
  Open();
  TspSkinPopupWindow* W = Level(0);
  EXPECT_EQ(W->ActiveItem, 1);
  W->PopupKeyDown(VK_DOWN);
  EXPECT_EQ(W->ActiveItem, 2);
  W->PopupKeyDown(VK_DOWN);
  EXPECT_EQ(W->ActiveItem, 1);
}

TEST_F(SkinMenuEngineTest, RightOpensLeftAndEscCloseTheDeepestLevel) {
  TMenuItem* More = Add("More");
  Add("Inner", More);
  Open();
  Level(0)->PopupKeyDown(VK_RIGHT);
  ASSERT_EQ(Menu->LevelCount(), 2);
  Level(1)->PopupKeyDown(VK_LEFT);
  EXPECT_EQ(Menu->LevelCount(), 1);
  EXPECT_FALSE(ItemOf(0, 0).Down);
  Level(0)->PopupKeyDown(VK_LEFT);  // nothing with one level
  EXPECT_EQ(Menu->LevelCount(), 1);
  Level(0)->PopupKeyDown(VK_RIGHT);
  Level(1)->PopupKeyDown(VK_ESCAPE);
  EXPECT_EQ(Menu->LevelCount(), 1);
  EXPECT_TRUE(Log.empty());
}

TEST_F(SkinMenuEngineTest, EscOnTheOnlyLevelClosesWithoutTellingTheForm) {
  Add("A");
  Open();
  Menu->OnMenuClose = [&](TObject*) { Log.push_back("menu close"); };
  Level(0)->PopupKeyDown(VK_ESCAPE);
  EXPECT_EQ(Menu->LevelCount(), 0);
  EXPECT_EQ(Log, (std::vector<std::string>{"opener closed", "menu close"}));
}

TEST_F(SkinMenuEngineTest, AnAcceleratorRunsItsItem) {
  Add("&Alpha");
  bool Ran = false;
  Add("&Beta")->OnClick = [&](TObject*) { Ran = true; };
  Open();
  Level(0)->PopupKeyDown('B');
  EXPECT_TRUE(Ran);
  EXPECT_EQ(Menu->LevelCount(), 0);
}

TEST_F(SkinMenuEngineTest, EscWhileASubmenuWaitsStopsTheWait) {
  Add("First");
  TMenuItem* More = Add("More");
  TMenuItem* Deeper = Add("Deeper", More);
  Add("Inner", Deeper);
  Open();
  Level(0)->PopupKeyDown(VK_DOWN);
  Level(0)->PopupKeyDown(VK_RIGHT);
  ASSERT_EQ(Menu->LevelCount(), 2);
  Level(1)->TestActive(Centre(ItemOf(1, 0)).X, Centre(ItemOf(1, 0)).Y);
  Level(1)->TestActive(Centre(ItemOf(1, 0)).X, Centre(ItemOf(1, 0)).Y);  // the wait starts
  ASSERT_NE(Menu->WItem, nullptr);
  Level(1)->PopupKeyDown(VK_ESCAPE);
  EXPECT_EQ(Menu->WItem, nullptr);
  EXPECT_FALSE(Menu->WaitTimer()->Enabled());
  S.Session.Advance(1000);
  EXPECT_EQ(Menu->LevelCount(), 1);
}

TEST_F(SkinMenuEngineTest, ASubmenuItemWhoseClickClosesTheMenuOpensNothing) {
  TMenuItem* More = Add("More");
  Add("Inner", More);
  More->OnClick = [&](TObject*) { Menu->Hide(); };
  Open();
  ItemOf(0, 0).MouseDown(0, 0);
  EXPECT_EQ(Menu->LevelCount(), 0);
  EXPECT_FALSE(Menu->Visible());
}

TEST_F(SkinMenuEngineTest, ASecondMenuOverTheFirstTellsTheFirstOpenerOnly) {
  Add("A");
  auto* Second = Create<TCustomControl>(Form.get());
  Second->SetParent(Form.get());
  LogMessages(Second, "second");
  Open();
  Open(nullptr, Second);
  EXPECT_EQ(Log, (std::vector<std::string>{"opener closed"}));
  EXPECT_EQ(Menu->PopupCtrl(), Second);
  Menu->Hide();
  EXPECT_EQ(Log, (std::vector<std::string>{"opener closed", "second closed", "form closed"}));
}

TEST_F(SkinMenuEngineTest, AnOpenerFreedWhileItsMenuIsOpenHearsNothingMore) {
  Add("A");
  Open();
  FreeAndNil(Opener);
  EXPECT_EQ(Menu->PopupCtrl(), nullptr);
  ItemOf(0, 0).MouseDown(0, 0);
  EXPECT_EQ(Log, (std::vector<std::string>{"form closed"}));
}

TEST_F(SkinMenuEngineTest, MenuClosingMessages) {
  for (UINT M : {WM_MOVE, WM_SIZE, WM_ACTIVATE, WM_KILLFOCUS, WM_CANCELMODE, WM_MOUSEACTIVATE,
                 WM_NCLBUTTONDOWN, WM_NCRBUTTONDOWN, WM_NCMBUTTONDOWN, WM_LBUTTONDOWN, WM_RBUTTONDOWN,
                 WM_MBUTTONDOWN, WM_PARENTNOTIFY}) {
    SCOPED_TRACE(M);
    EXPECT_TRUE(TspSkinMenu::IsMenuCloseMessage(M));
  }
  for (UINT M : {WM_MOUSEMOVE, WM_PAINT, WM_KEYDOWN, WM_LBUTTONUP, WM_TIMER}) {
    SCOPED_TRACE(M);
    EXPECT_FALSE(TspSkinMenu::IsMenuCloseMessage(M));
  }
}

}  // namespace

namespace {

class SkinMenuEngineMoreTest : public MenuFixture {};

TEST_F(SkinMenuEngineMoreTest, AMergedLevelShowsBothItemListsFromTheStartIndex) {
  Add("A0");
  Add("A1");
  auto* Other = Create<TPopupMenu>(Form.get());
  for (const char* C : {"B0", "B1", "B2"}) {
    auto* I = Create<TMenuItem>(Other);
    I->SetCaption(C);
    Other->Items()->Add(I);
  }
  auto Shown = [&](Integer StartIndex) {
    Menu->Popup2(Opener, nullptr, StartIndex, Rect(200, 150, 260, 170), PM->Items(), Other->Items(), false);
    std::vector<String> Captions;
    if (Menu->LevelCount() == 1)
      for (const auto& It : Level(0)->ItemList) Captions.push_back(It->MenuItem->Caption());
    Menu->Hide();
    return Captions;
  };
  // The second list starts at the start index less the first list's length.
  EXPECT_EQ(Shown(1), (std::vector<String>{"A1", "B0", "B1", "B2"}));
  EXPECT_EQ(Shown(3), (std::vector<String>{"B1", "B2"}));
  Menu->Popup2(Opener, nullptr, 5, Rect(200, 150, 260, 170), PM->Items(), Other->Items(), false);
  EXPECT_EQ(Menu->LevelCount(), 0);  // past both lists: nothing shown
}

TEST_F(SkinMenuEngineMoreTest, FreeingTheEngineClosesAnOpenMenuWithItsNotifications) {
  Add("A");
  Open();
  bool Closed = false;
  Menu->OnMenuClose = [&](TObject*) { Closed = true; };
  FreeAndNil(Menu);
  EXPECT_TRUE(Closed);
  EXPECT_EQ(Log, (std::vector<std::string>{"opener closed"}));
}

TEST_F(SkinMenuEngineMoreTest, AnItemWithoutSubItemsOrAStartIndexPastThemShowsNothing) {
  Add("A");
  Menu->Popup(Opener, nullptr, 1, Rect(200, 150, 260, 170), PM->Items(), false);
  EXPECT_EQ(Menu->LevelCount(), 0);
  EXPECT_FALSE(Menu->Visible());
  Menu->Popup(Opener, nullptr, 0, Rect(200, 150, 260, 170), PM->Items()->Items(0), false);
  EXPECT_EQ(Menu->LevelCount(), 0);
}

}  // namespace
