// Drawing of popup menu items: the plain hot look, the frame's named glyphs, headers, and
// a skin whose menu-item picture is missing.
#include <algorithm>

#include "tests/skin/forms/SkinMenus_TestKit.h"

using vantrel::menutest::MenuFixture;

namespace {

class SkinMenuItemTest : public MenuFixture {
 protected:
  // The item drawn alone, at its own size.
  std::vector<TColor> Drawn(TspSkinMenuItem& It) {
    TBitmap B;
    B.SetPixelFormat(pf24bit);
    B.SetSize(It.ObjectRect.Right, It.ObjectRect.Bottom);
    It.Draw(B.Canvas());
    std::vector<TColor> Px;
    for (Integer Y = It.ObjectRect.Top; Y < It.ObjectRect.Bottom; ++Y)
      for (Integer X = It.ObjectRect.Left; X < It.ObjectRect.Right; ++X) Px.push_back(B.Canvas()->Pixels(X, Y));
    return Px;
  }
};

TEST_F(SkinMenuItemTest, APlainHotItemHasTheNavyFrameAndTheLightFill) {
  Add("First");
  Add("Second");
  Open();
  TspSkinPopupWindow* W = Level(0);
  const TspSkinMenuItem& Hot = ItemOf(0, 0);
  ASSERT_TRUE(Hot.Active);
  const TRect& R = Hot.ObjectRect;
  EXPECT_EQ(ScreenColour(W->ClientToScreen(Point(R.Left, R.Top))), static_cast<TColor>(0x800000));
  EXPECT_EQ(ScreenColour(W->ClientToScreen(Point(R.Right - 1, R.Bottom - 1))), static_cast<TColor>(0x800000));
  EXPECT_EQ(ScreenColour(W->ClientToScreen(Point(R.Left + 1, R.Top + 1))), RGB(182, 189, 210));
  const TRect& N = ItemOf(0, 1).ObjectRect;
  EXPECT_EQ(ScreenColour(W->ClientToScreen(Point(N.Right - 2, N.Top + 1))), ColorToRGB(clWindow));
}

TEST_F(SkinMenuItemTest, TheCloseItemShowsItsGlyphAlsoWhenChecked) {
  for (bool Skinned : {false, true}) {
    SCOPED_TRACE(Skinned ? "skinned" : "plain");
    if (Skinned) UseTestSkin();
    PM->Items()->Clear();
    Add("First");
    TMenuItem* Close = Add("Close");
    Close->SetName("DSF_CLOSE");
    TMenuItem* Other = Add("Other");
    Open(Skinned ? Skin.get() : nullptr);
    const std::vector<TColor> Unchecked = Drawn(ItemOf(0, 1));
    const std::vector<TColor> OtherUnchecked = Drawn(ItemOf(0, 2));
    Close->SetChecked(true);
    Other->SetChecked(true);
    EXPECT_EQ(Drawn(ItemOf(0, 1)), Unchecked);
    EXPECT_NE(Drawn(ItemOf(0, 2)), OtherUnchecked);  // an ordinary item shows its check mark
    Menu->Hide();
  }
}

TEST_F(SkinMenuItemTest, ADisabledWordBetweenDashesIsAHeaderInASkinnedLevel) {
  UseTestSkin();
  Add("First");
  Add("-Word-")->SetEnabled(false);
  Add("Word")->SetEnabled(false);
  Open(Skin.get());
  // The header is written in the header label's font colour, the disabled item in the
  // item's disabled colour.
  const Integer H = Skin->GetControlIndex("menuheader");
  ASSERT_GE(H, 0);
  auto* L = dynamic_cast<TspDataSkinLabelControl*>(Skin->CtrlList.Items(H));
  ASSERT_NE(L, nullptr);
  const TColor Disabled = Level(0)->DSMI->UnEnabledFontColor;
  ASSERT_NE(ColorToRGB(L->FontColor), ColorToRGB(Disabled));
  auto Has = [](const std::vector<TColor>& Px, TColor C) {
    return std::find(Px.begin(), Px.end(), ColorToRGB(C)) != Px.end();
  };
  const std::vector<TColor> Header = Drawn(ItemOf(0, 1)), Plain = Drawn(ItemOf(0, 2));
  EXPECT_TRUE(Has(Header, L->FontColor));
  EXPECT_FALSE(Has(Header, Disabled));
  EXPECT_TRUE(Has(Plain, Disabled));
  // Without a skin it is an ordinary disabled item.
  Menu->Hide();
  Open();
  EXPECT_EQ(ItemOf(0, 1).MenuItem->Caption(), "-Word-");
}

TEST_F(SkinMenuItemTest, AMissingItemPictureLeavesTheSharedDescriptorAsTheSkinHasIt) {
  UseTestSkin();
  const Integer I = Skin->GetIndex("menuitem");
  ASSERT_GE(I, 0);
  auto* D = dynamic_cast<TspDataSkinMenuItem*>(Skin->ObjectList.Items(I));
  ASSERT_NE(D, nullptr);
  const TRect SkinRect = D->SkinRect, ActiveRect = D->ActiveSkinRect;
  D->ActivePictureIndex = Skin->FActivePictures.Count() + 3;
  Add("First");
  Add("Second");
  Open(Skin.get());
  EXPECT_EQ(ItemOf(0, 0).ActivePicture, nullptr);
  EXPECT_FALSE(Drawn(ItemOf(0, 0)).empty());
  Menu->Hide();
  EXPECT_TRUE(IsSameRect(D->SkinRect, SkinRect));
  EXPECT_TRUE(IsSameRect(D->ActiveSkinRect, ActiveRect));
}

TEST_F(SkinMenuItemTest, MenuGlyphShapes) {
  TBitmap B;
  B.SetPixelFormat(pf24bit);
  B.SetSize(20, 20);
  TCanvas* C = B.Canvas();
  C->Brush()->SetColor(clWhite);
  C->FillRect(Rect(0, 0, 20, 20));
  DrawMenuSubArrow(C, 5, 5, clBlack);
  // A right-pointing triangle 4 pixels wide and 7 high.
  EXPECT_EQ(C->Pixels(5, 5), clBlack);
  EXPECT_EQ(C->Pixels(5, 11), clBlack);
  EXPECT_EQ(C->Pixels(5, 12), clWhite);
  EXPECT_EQ(C->Pixels(8, 8), clBlack);
  EXPECT_EQ(C->Pixels(8, 7), clWhite);
  EXPECT_EQ(C->Pixels(9, 8), clWhite);
  C->FillRect(Rect(0, 0, 20, 20));
  DrawMenuCheckMark(C, 5, 5, clBlack);
  EXPECT_EQ(C->Pixels(5, 10), clBlack);  // (X, Y+5)
  EXPECT_EQ(C->Pixels(7, 12), clBlack);  // (X+2, Y+7)
  EXPECT_EQ(C->Pixels(7, 10), clBlack);  // the third line, two pixels higher
}

}  // namespace

namespace {

class SkinMenuItemMotionTest : public MenuFixture {
 protected:
  TspDataSkinMenuItem* D = nullptr;
  void SetUp() override {
    MenuFixture::SetUp();
    UseTestSkin();
    D = dynamic_cast<TspDataSkinMenuItem*>(Skin->ObjectList.Items(Skin->GetIndex("menuitem")));
    ASSERT_NE(D, nullptr);
    Add("First");
    Add("Second");
  }
};

TEST_F(SkinMenuItemMotionTest, MorphingTakesFiveStepsOf20MsEachWay) {
  D->Morphing = true;
  Open(Skin.get());
  TspSkinPopupWindow* W = Level(0);
  TspSkinMenuItem& First = ItemOf(0, 0);
  ASSERT_TRUE(First.Active);
  ASSERT_TRUE(W->MorphTimer()->Enabled());
  for (int Step = 1; Step <= 5; ++Step) {
    S.Session.Advance(20);
    SCOPED_TRACE(Step);
    EXPECT_NEAR(First.MorphKf(), 0.2 * Step, 1e-9);
  }
  S.Session.Advance(20);
  EXPECT_FALSE(W->MorphTimer()->Enabled());
  W->PopupKeyDown(VK_DOWN);  // the first item goes back, the second comes up
  S.Session.Advance(100);
  EXPECT_NEAR(First.MorphKf(), 0.0, 1e-9);
  EXPECT_NEAR(ItemOf(0, 1).MorphKf(), 1.0, 1e-9);
}

TEST_F(SkinMenuItemMotionTest, AHotItemPlaysItsFramesAndCountsBackWhenLeft) {
  D->AnimateSkinRect = D->SkinRect;  // three frames side by side in the normal picture
  D->FrameCount = 3;
  D->AnimateInterval = 30;
  D->InActiveAnimation = true;
  Open(Skin.get());
  TspSkinPopupWindow* W = Level(0);
  TspSkinMenuItem& First = ItemOf(0, 0);
  EXPECT_EQ(W->MorphTimer()->Interval(), 30u);
  std::vector<Integer> Frames;
  for (int I = 0; I < 5; ++I) {
    S.Session.Advance(30);
    Frames.push_back(First.CurrentFrame);
  }
  EXPECT_EQ(Frames, (std::vector<Integer>{1, 2, 3, 4, 4}));
  EXPECT_FALSE(W->MorphTimer()->Enabled());
  W->PopupKeyDown(VK_DOWN);
  EXPECT_EQ(First.CurrentFrame, 4);
  Frames.clear();
  for (int I = 0; I < 4; ++I) {
    S.Session.Advance(30);
    Frames.push_back(First.CurrentFrame);
  }
  EXPECT_EQ(Frames, (std::vector<Integer>{3, 2, 1, 0}));
}

}  // namespace
