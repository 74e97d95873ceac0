// Popup menu levels: size and place in the work area, scrolling, the pointer, and a look at
// an open level in the test skin and unskinned.
#include "tests/skin/forms/SkinMenus_TestKit.h"

using vantrel::menutest::MenuFixture;

namespace {

class SkinPopupWindowTest : public MenuFixture {
 protected:
  void AddMany(int N) {
    for (int I = 0; I < N; ++I) Add("Item " + std::to_string(I));
  }
};

TEST_F(SkinPopupWindowTest, AMenuTallerThanTheWorkAreaTakesItsHeightFromItsTopBesideTheRectangle) {
  AddMany(60);  // 60 x 20 pixels: more than the screen
  const TRect R = Rect(200, 150, 260, 170);
  Open(nullptr, nullptr, R);
  TspSkinPopupWindow* W = Level(0);
  const TRect& WA = Menu->WorkArea;
  EXPECT_EQ(W->Height(), WA.Bottom - WA.Top);
  EXPECT_EQ(W->Top(), WA.Top);
  EXPECT_EQ(W->Left(), R.Right + 1);
  EXPECT_TRUE(W->Scroll);
  EXPECT_FALSE(W->Scroll2);
  EXPECT_LT(W->VisibleCount, 60);
}

TEST_F(SkinPopupWindowTest, MaxItemsInWindowShowsThatManyItemsAndTheMarkers) {
  AddMany(8);
  Menu->MaxMenuItemsInWindow = 5;
  const TRect R = Rect(200, 150, 260, 170);
  Open(nullptr, nullptr, R);
  TspSkinPopupWindow* W = Level(0);
  EXPECT_EQ(W->VisibleCount, 5);
  EXPECT_EQ(W->Height(), 5 * 20 + 6 + 20);  // items, the plain frame, two markers
  EXPECT_EQ(W->Top(), R.Bottom);           // placed by the normal rules
  EXPECT_EQ(W->Left(), R.Left);
  EXPECT_TRUE(W->Scroll2);
}

TEST_F(SkinPopupWindowTest, HoldingOnTheDownMarkerScrollsAnItemEvery100MsToTheEnd) {
  AddMany(8);
  Menu->MaxMenuItemsInWindow = 5;
  Open();
  TspSkinPopupWindow* W = Level(0);
  PointAt(W, Point(W->Width() / 2, W->Height() - 6));
  EXPECT_EQ(W->ScrollCode, 2);
  EXPECT_EQ(W->VisibleStartIndex, 0);
  S.Session.Advance(100);
  EXPECT_EQ(W->VisibleStartIndex, 1);
  S.Session.Advance(100);
  EXPECT_EQ(W->VisibleStartIndex, 2);
  S.Session.Advance(100);
  EXPECT_EQ(W->VisibleStartIndex, 3);  // item 7 shows: the end
  S.Session.Advance(300);
  EXPECT_EQ(W->VisibleStartIndex, 3);
  EXPECT_EQ(W->ScrollCode, 0);
  EXPECT_TRUE(W->ItemList[7]->FVisible);
  EXPECT_FALSE(W->ItemList[2]->FVisible);
}

TEST_F(SkinPopupWindowTest, DownOnTheLastVisibleItemScrollsAndWrapsAtTheEnd) {
  AddMany(8);
  Menu->MaxMenuItemsInWindow = 5;
  Open();
  TspSkinPopupWindow* W = Level(0);
  for (int I = 0; I < 4; ++I) W->PopupKeyDown(VK_DOWN);
  EXPECT_EQ(W->ActiveItem, 4);
  EXPECT_EQ(W->VisibleStartIndex, 0);
  W->PopupKeyDown(VK_DOWN);
  EXPECT_EQ(W->ActiveItem, 5);
  EXPECT_EQ(W->VisibleStartIndex, 1);
  W->PopupKeyDown(VK_DOWN);
  W->PopupKeyDown(VK_DOWN);
  EXPECT_EQ(W->ActiveItem, 7);
  W->PopupKeyDown(VK_DOWN);
  EXPECT_EQ(W->ActiveItem, 0);
  EXPECT_EQ(W->VisibleStartIndex, 0);
}

TEST_F(SkinPopupWindowTest, ASubmenuNearTheRightEdgeOpensOnTheLeft) {
  TMenuItem* More = Add("More");
  Add("Inner item", More);
  const TRect& WA = Menu->GetMenuWorkArea();
  Open(nullptr, nullptr, Rect(WA.Right - 60, 100, WA.Right - 40, 120));
  TspSkinPopupWindow* W0 = Level(0);
  Level(0)->PopupKeyDown(VK_RIGHT);
  ASSERT_EQ(Menu->LevelCount(), 2);
  TspSkinPopupWindow* W1 = Level(1);
  EXPECT_EQ(W1->Left() + W1->Width() + 1, W0->Left() + ItemOf(0, 0).ObjectRect.Left);
  // The first item lines up with the parent item.
  EXPECT_EQ(W1->Top() + W1->NewItemsRect.Top, W0->Top() + ItemOf(0, 0).ObjectRect.Top);
}

TEST_F(SkinPopupWindowTest, RestingOnASeparatorKeepsTheOpenSubmenu) {
  TMenuItem* More = Add("More");
  Add("Inner", More);
  Add("-");
  Add("Last");
  Open();
  Level(0)->PopupKeyDown(VK_RIGHT);
  ASSERT_EQ(Menu->LevelCount(), 2);
  const TPoint P = Centre(ItemOf(0, 1));
  Level(0)->TestActive(P.X, P.Y);
  EXPECT_EQ(Menu->LevelCount(), 2);
  EXPECT_EQ(Level(0)->ActiveItem, 1);
}

TEST_F(SkinPopupWindowTest, TheFirstSelectableItemIsHotButItsSubmenuWaitsForTheMouse) {
  Add("Off")->SetEnabled(false);
  TMenuItem* More = Add("More");
  Add("Inner", More);
  Open();
  TspSkinPopupWindow* W = Level(0);
  EXPECT_EQ(W->ActiveItem, 1);
  EXPECT_TRUE(ItemOf(0, 1).Active);
  EXPECT_TRUE(ItemOf(0, 1).WaitCommand);
  S.Session.Advance(1000);
  EXPECT_EQ(Menu->LevelCount(), 1);
  PointAt(W, Centre(ItemOf(0, 1)));
  S.Session.Advance(500);
  EXPECT_EQ(Menu->LevelCount(), 2);
}

TEST_F(SkinPopupWindowTest, AClickedLeafRunsItsItemAfterTheMenuIsGone) {
  Add("A");
  bool Ran = false;
  Add("B")->OnClick = [&](TObject*) { Ran = Menu->LevelCount() == 0; };
  Open();
  TspSkinPopupWindow* W = Level(0);
  const TPoint P = W->ClientToScreen(Centre(ItemOf(0, 1)));
  S.Session.Move(P.X, P.Y);
  S.Session.Press(P.X, P.Y);
  S.Session.Release(P.X, P.Y);
  vantrel::testsupport::PumpApplication(S.Session);
  EXPECT_TRUE(Ran);
}

TEST_F(SkinPopupWindowTest, AnOpenLevelLooksRightSkinnedAndPlain) {
  UseTestSkin();
  TMenuItem* Open1 = Add("&Open...");
  Open1->SetShortCut(ShortCut('O', {ssCtrl}));
  Add("Save")->SetChecked(true);
  Add("-");
  Add("Disabled")->SetEnabled(false);
  TMenuItem* More = Add("More");
  Add("Inner", More);
  Open(Skin.get());
  TspSkinPopupWindow* W = Level(0);
  ASSERT_NE(W->PW, nullptr);
  ASSERT_NE(W->DSMI, nullptr);
  SaveLevel(W, "skin_menu_level_skinned.png");
  // The hot item shows the skin's hot picture, a normal one its normal picture.
  TBitmap* Pic = Skin->FActivePictures.Items(W->DSMI->ActivePictureIndex);
  const TRect& N = W->DSMI->SkinRect;
  const TRect& A = W->DSMI->ActiveSkinRect;
  const TColor NormalSkin = Pic->Canvas()->Pixels(N.Left + W->DSMI->ItemLO + 1, N.Top + 1);
  const TColor HotSkin = Pic->Canvas()->Pixels(A.Left + W->DSMI->ItemLO + 1, A.Top + 1);
  ASSERT_NE(NormalSkin, HotSkin);
  const TspSkinMenuItem& Hot = ItemOf(0, 0);
  const TspSkinMenuItem& Normal = ItemOf(0, 1);
  EXPECT_EQ(ScreenColour(W->ClientToScreen(Point(Hot.ObjectRect.Left + W->DSMI->ItemLO + 1, Hot.ObjectRect.Top + 1))),
            HotSkin);
  EXPECT_EQ(ScreenColour(W->ClientToScreen(
                Point(Normal.ObjectRect.Left + W->DSMI->ItemLO + 1, Normal.ObjectRect.Top + 1))),
            NormalSkin);
  EXPECT_EQ(RectHeight(ItemOf(0, 2).ObjectRect), RectHeight(W->DSMI->DividerRect));
  Menu->Hide();
  Open(nullptr);
  SaveLevel(Level(0), "skin_menu_level_plain.png");
  Menu->Hide();
  Skin->LoadFromFile(vantrel::test::BinDir() + "/" + vantrel::skingen::DefaultSkinFolder + "/" +
                    vantrel::skingen::SkinIniName);
  ASSERT_FALSE(Skin->Empty);
  Open(Skin.get());
  Level(0)->PopupKeyDown(VK_DOWN);
  Level(0)->PopupKeyDown(VK_DOWN);
  Level(0)->PopupKeyDown(VK_RIGHT);
  ASSERT_EQ(Menu->LevelCount(), 2);
  SaveLevel(Level(0), "skin_menu_default_level0.png");
  SaveLevel(Level(1), "skin_menu_default_level1.png");
  Menu->Hide();
  Menu->MaxMenuItemsInWindow = 3;
  Open(Skin.get());
  ASSERT_TRUE(Level(0)->Scroll);
  SaveLevel(Level(0), "skin_menu_default_scrolling.png");
}

}  // namespace

namespace {

DWORD gMenuTestVersion = 0;
DWORD MenuTestVersion() { return gMenuTestVersion; }

class SkinPopupTranslucencyTest : public MenuFixture {
 protected:
  void TearDown() override { vantrel::skin::SetVersionProviderForTest(nullptr); }
  // The colour of a level's pixel as drawn by the window and as the screen shows it.
  std::pair<TColor, TColor> OwnAndScreen(TspSkinPopupWindow* W, TPoint P) {
    const vantrel::win::Surface Own = S.Session.Capture(W->Handle());
    const uint32_t V = Own.Row(P.Y)[P.X];
    const TColor OwnC = static_cast<TColor>(((V >> 16) & 0xFF) | (V & 0xFF00) | ((V & 0xFF) << 16));
    return {OwnC, ScreenColour(W->ClientToScreen(P))};
  }
};

TEST_F(SkinPopupTranslucencyTest, TheFirstLevelFadesInToTheMenusTranslucency) {
  Form->SetColor(clBlack);
  Add("First");
  Add("Second");
  Menu->AlphaBlend = true;
  Menu->AlphaBlendAnimation = true;
  Menu->AlphaBlendValue = 128;
  Open(nullptr, nullptr, Rect(150, 100, 160, 110));
  ASSERT_EQ(Menu->LevelCount(), 1);
  TspSkinPopupWindow* W = Level(0);
  EXPECT_TRUE(W->Visible());
  EXPECT_NE(GetWindowLongPtr(W->Handle(), GWL_EXSTYLE) & WS_EX_LAYERED, 0);
  EXPECT_EQ(W->ActiveItem, 0);
  const TRect& R = ItemOf(0, 1).ObjectRect;
  const auto [Own, Screen] = OwnAndScreen(W, Point(R.Right - 3, R.Top + 2));
  EXPECT_EQ(Own, ColorToRGB(clWindow));
  EXPECT_NE(Screen, Own);  // the black form shows through
}

TEST_F(SkinPopupTranslucencyTest, WithoutLayeredWindowsTheLevelShowsLaterOverACaptureOfTheScreen) {
  vantrel::skin::SetVersionProviderForTest(MenuTestVersion);
  gMenuTestVersion = 0x00000004;
  Form->SetColor(clBlack);
  Add("First");
  Add("Second");
  Menu->AlphaBlend = true;
  Menu->AlphaBlendValue = 128;
  Open(nullptr, nullptr, Rect(150, 100, 160, 110));
  TspSkinPopupWindow* W = Level(0);
  EXPECT_FALSE(W->Visible());
  S.Session.Advance(100);
  EXPECT_TRUE(W->Visible());
  EXPECT_EQ(W->ActiveItem, 0);
  EXPECT_EQ(GetWindowLongPtr(W->Handle(), GWL_EXSTYLE) & WS_EX_LAYERED, 0);
  const TRect& R = ItemOf(0, 1).ObjectRect;
  const TColor Pixel = ScreenColour(W->ClientToScreen(Point(R.Right - 3, R.Top + 2)));
  EXPECT_NE(Pixel, ColorToRGB(clWindow));  // pre-blended with the black under it
  EXPECT_NE(Pixel, clBlack);
}

}  // namespace

namespace {

class SkinPopupPlacementTest : public MenuFixture {};

TEST_F(SkinPopupPlacementTest, ALevelWithoutRoomBelowItsRectangleOpensAboveIt) {
  for (int I = 0; I < 10; ++I) Add("Item " + std::to_string(I));  // 206 pixels high
  const TRect WA = Menu->GetMenuWorkArea();
  struct Case {
    const char* Name;
    TRect R;
    bool Up;
    int ExpectTop;  // -1 above R, -2 below R
  } Cases[] = {
      {"below", Rect(100, 100, 150, 120), false, -2},
      {"no room below", Rect(100, WA.Bottom - 50, 150, WA.Bottom - 30), false, -1},
      {"up", Rect(100, 400, 150, 420), true, -1},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    Menu->Popup(Opener, nullptr, 0, C.R, PM->Items(), C.Up);
    TspSkinPopupWindow* W = Level(0);
    if (C.ExpectTop == -1) {
      EXPECT_EQ(W->Top() + W->Height(), C.R.Top);
    } else {
      EXPECT_EQ(W->Top(), C.R.Bottom);
    }
    EXPECT_EQ(W->Left(), C.R.Left);
    Menu->Hide();
  }
}

TEST_F(SkinPopupPlacementTest, ASubmenuNearTheBottomLinesUpItsLastItemWithTheParentItem) {
  TMenuItem* Parent = nullptr;
  for (int I = 0; I < 3; ++I) Add("Item " + std::to_string(I));
  Parent = Add("More");
  for (int I = 0; I < 10; ++I) Add("Sub " + std::to_string(I), Parent);
  const TRect WA = Menu->GetMenuWorkArea();
  Open(nullptr, nullptr, Rect(300, WA.Bottom - 120, 340, WA.Bottom - 100));
  TspSkinPopupWindow* W0 = Level(0);
  ASSERT_GT(W0->Top(), WA.Top + (WA.Bottom - WA.Top) / 2);
  for (int I = 0; I < 3; ++I) W0->PopupKeyDown(VK_DOWN);
  W0->PopupKeyDown(VK_RIGHT);
  ASSERT_EQ(Menu->LevelCount(), 2);
  TspSkinPopupWindow* W1 = Level(1);
  const TspSkinMenuItem& P = ItemOf(0, 3);
  const TspSkinMenuItem& Last = *W1->ItemList.back();
  EXPECT_EQ(W1->Top() + Last.ObjectRect.Bottom, W0->Top() + P.ObjectRect.Bottom);
  EXPECT_EQ(W1->Left(), W0->Left() + P.ObjectRect.Right + 1);
}

}  // namespace
