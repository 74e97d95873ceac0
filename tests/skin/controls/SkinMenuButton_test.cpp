// The menu buttons: a press opens the skinned popup menu (and the images menu), keeps the
// button down without a click until the menu closes; the track part of track-button mode;
// the new style of the menu speed button.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/display/HeadlessPng.h"
#include "skin/controls/SkinCtrls.h"
#include "skin/forms/FormSkin.h"
#include "skin/forms/SkinMenus.h"
#include "tests/support/GlyphInk.h"
#include "tests/support/SkinFormFixture.h"

using vantrel::uitest::SkinFormFixture;

namespace {

class SkinMenuButtonTest : public SkinFormFixture {
 protected:
  std::vector<std::string> Log;
  TspFormSkin* FS = nullptr;
  TspSkinPopupMenu* Menu = nullptr;

  void SetUp() override {
    SkinFormFixture::SetUp();
    FS = Create<TspFormSkin>(Form.get());
    FS->SetSkinData(Skin);
    Menu = Create<TspSkinPopupMenu>(Form.get());
    auto* Item = Create<TMenuItem>(Menu);
    Item->SetCaption("Open");
    Menu->Items()->Add(Item);
  }
  template <class T>
  T* Watch(T* B) {
    B->SetSkinData(Skin);
    B->OnClick = [this](TObject*) { Log.push_back("click"); };
    B->OnShowTrackMenu = [this](TObject*) { Log.push_back("show"); };
    B->OnHideTrackMenu = [this](TObject*) { Log.push_back("hide"); };
    return B;
  }
  TspSkinMenuButton* AddButton() {
    auto* B = Create<TspSkinMenuButton>(Form.get());
    B->SetParent(Form.get());
    B->SetBounds(20, 20, 90, 25);
    return Watch(B);
  }
  TspSkinMenuSpeedButton* AddSpeed() {
    auto* B = Create<TspSkinMenuSpeedButton>(Form.get());
    B->SetParent(Form.get());
    B->SetBounds(20, 80, 60, 50);
    return Watch(B);
  }
  void PressAt(TControl* C, int X, int Y) {
    const TPoint P = C->ClientToScreen(Point(X, Y));
    Session.Move(P.X, P.Y);
    Session.Press(P.X, P.Y);
    Session.PumpUntilIdle();
  }
  void ReleaseAt(TControl* C, int X, int Y) {
    const TPoint P = C->ClientToScreen(Point(X, Y));
    Session.Release(P.X, P.Y);
    Session.PumpUntilIdle();
  }
  void CloseMenu() {
    FS->HideSkinMenu();
    Session.PumpUntilIdle();
  }
};

TEST_F(SkinMenuButtonTest, APressAnywhereOpensTheMenuKeepsTheButtonDownAndNeverClicks) {
  auto* B = AddButton();
  B->SetSkinPopupMenu(Menu);
  ShowForm();
  PressAt(B, 10, 10);
  EXPECT_TRUE(FS->SkinMenuVisible());
  EXPECT_TRUE(B->Down());
  EXPECT_TRUE(B->MenuTracked());
  ReleaseAt(B, 10, 10);
  EXPECT_TRUE(B->Down());
  EXPECT_EQ(Log, (std::vector<std::string>{"show"}));
  // The menu drops below the button.
  const TPoint Origin = B->ClientToScreen(Point(0, 0));
  EXPECT_EQ(FS->SkinMenu->Level(0)->Top(), Origin.Y + B->Height());
  CloseMenu();
  EXPECT_FALSE(B->Down());
  EXPECT_FALSE(B->MenuTracked());
  EXPECT_EQ(Log, (std::vector<std::string>{"show", "hide"}));
}

TEST_F(SkinMenuButtonTest, InTrackModeOnlyTheRightFifteenPixelsOfAToolButtonOpenTheMenu) {
  auto* B = AddButton();
  B->SetSkinDataName("toolbutton");
  B->SetSkinPopupMenu(Menu);
  B->SetTrackButtonMode(true);
  ShowForm();
  const int W = B->Width();
  for (int X : {0, W - 16}) {
    SCOPED_TRACE(X);
    EXPECT_FALSE(B->IsTrackPoint(X, 5));
  }
  for (int X : {W - 15, W - 1}) {
    SCOPED_TRACE(X);
    EXPECT_TRUE(B->IsTrackPoint(X, 5));
  }
  // The main part clicks on release and opens nothing.
  PressAt(B, 10, 10);
  EXPECT_FALSE(FS->SkinMenuVisible());
  ReleaseAt(B, 10, 10);
  EXPECT_EQ(Log, (std::vector<std::string>{"click"}));
  PressAt(B, W - 5, 10);
  EXPECT_TRUE(FS->SkinMenuVisible());
  ReleaseAt(B, W - 5, 10);
  CloseMenu();
  EXPECT_EQ(Log, (std::vector<std::string>{"click", "show", "hide"}));
  // Once the menu is gone, the main part clicks again.
  PressAt(B, 10, 10);
  ReleaseAt(B, 10, 10);
  EXPECT_EQ(Log.back(), "click");
}

TEST_F(SkinMenuButtonTest, WithAnImagesMenuTooBothOpenAndTheShowEventFiresTwice) {
  auto* B = AddButton();
  auto* Images = Create<TspSkinImagesMenu>(Form.get());
  Images->SetSkinData(Skin);
  auto* List = Create<TCustomImageList>(Form.get());
  List->SetWidth(16);
  List->SetHeight(16);
  auto Pic = CreateOwned<TBitmap>();
  Pic->SetSize(16, 16);
  List->Add(Pic.get(), nullptr);
  Images->SetImages(List);
  Images->ImagesItems()->Add()->SetCaption("One");
  B->SetSkinPopupMenu(Menu);
  B->SetSkinImagesMenu(Images);
  ShowForm();
  PressAt(B, 10, 10);
  EXPECT_EQ(Log, (std::vector<std::string>{"show", "show"}));
  EXPECT_NE(Images->PopupWindow(), nullptr);
  Images->Hide();
  Session.PumpUntilIdle();
  EXPECT_FALSE(B->Down());
  EXPECT_EQ(Log.back(), "hide");
}

TEST_F(SkinMenuButtonTest, WithoutAMenuTheMenuButtonIsAPlainPushButton) {
  auto* B = AddButton();
  ShowForm();
  EXPECT_FALSE(B->IsTrackPoint(10, 10));
  PressAt(B, 10, 10);
  ReleaseAt(B, 10, 10);
  EXPECT_EQ(Log, (std::vector<std::string>{"click"}));
  // A menu freed elsewhere is forgotten.
  B->SetSkinPopupMenu(Menu);
  Menu->Free();
  EXPECT_EQ(B->SkinPopupMenu(), nullptr);
}

TEST_F(SkinMenuButtonTest, TheSpaceBarOpensTheMenuOfAFocusedButton) {
  auto* B = AddButton();
  B->SetSkinPopupMenu(Menu);
  ShowForm();
  B->SetFocus();
  SendMessage(B->Handle(), WM_KEYDOWN, VK_SPACE, 0);
  Session.PumpUntilIdle();
  EXPECT_TRUE(FS->SkinMenuVisible());
  EXPECT_TRUE(B->Down());
  CloseMenu();
  EXPECT_EQ(Log, (std::vector<std::string>{"show", "hide"}));
}

TEST_F(SkinMenuButtonTest, TheMenuSpeedButtonOpensItsMenuAndComesUpWhenItCloses) {
  auto* B = AddSpeed();
  B->SetSkinPopupMenu(Menu);
  ShowForm();
  PressAt(B, 10, 10);
  EXPECT_TRUE(FS->SkinMenuVisible());
  EXPECT_TRUE(B->Down());
  ReleaseAt(B, 10, 10);
  CloseMenu();
  EXPECT_FALSE(B->Down());
  EXPECT_EQ(Log, (std::vector<std::string>{"show", "hide"}));
}

TEST_F(SkinMenuButtonTest, NewStyleRenamesTheDescriptorAndABottomTrackOpensOnlyFromTheBottomStrip) {
  auto* B = AddSpeed();
  EXPECT_EQ(B->SkinDataName(), "toolmenubutton");
  B->SetNewStyle(true);
  EXPECT_EQ(B->SkinDataName(), "resizetoolbutton");
  B->SetNewStyle(false);
  EXPECT_EQ(B->SkinDataName(), "resizetoolbutton");
  B->SetNewStyle(true);
  B->SetTrackPosition(sptpBottom);
  B->SetTrackButtonMode(true);
  B->SetSkinPopupMenu(Menu);
  ShowForm();
  const int H = B->Height();
  EXPECT_FALSE(B->IsTrackPoint(5, H - 16));
  EXPECT_TRUE(B->IsTrackPoint(5, H - 15));
  EXPECT_TRUE(B->IsTrackPoint(B->Width() - 1, H - 1));
  PressAt(B, 5, 5);
  EXPECT_FALSE(FS->SkinMenuVisible());
  ReleaseAt(B, 5, 5);
  EXPECT_EQ(Log, (std::vector<std::string>{"click"}));
  PressAt(B, 5, H - 5);
  EXPECT_TRUE(FS->SkinMenuVisible());
  CloseMenu();
}

TEST_F(SkinMenuButtonTest, UnskinnedTheTrackPartShowsPressedWhileTheMenuIsOpen) {
  auto* B = AddButton();
  B->SetSkinData(nullptr);
  B->SetSkinPopupMenu(Menu);
  B->SetTrackButtonMode(true);
  ShowForm();
  const int W = B->Width();
  PressAt(B, W - 7, 12);
  ASSERT_TRUE(B->MenuTracked());
  // Pressed fill $B59385 in the track part, the hot fill $D2BDB6 in the main part.
  EXPECT_EQ(PixelAt(B, W - 3, 3), 0xB59385u);
  EXPECT_EQ(PixelAt(B, 10, 3), 0xD2BDB6u);
  CloseMenu();
}

// Unskinned, a pressed menu speed button shows its glyph one pixel right and down.
TEST_F(SkinMenuButtonTest, UnskinnedAPressedMenuSpeedButtonShiftsItsGlyph) {
  auto* B = AddSpeed();
  B->SetSkinData(nullptr);
  auto Glyph = CreateOwned<TBitmap>();
  Glyph->SetSize(8, 8);
  Glyph->Canvas()->Brush()->SetColor(clWhite);  // the bottom-left pixel's colour is see-through
  Glyph->Canvas()->FillRect(Rect(0, 0, 8, 8));
  Glyph->Canvas()->Brush()->SetColor(clRed);
  Glyph->Canvas()->FillRect(Rect(1, 1, 7, 7));
  B->SetGlyph(Glyph.get());
  ShowForm();
  // The top-left red pixel of the button.
  auto RedCorner = [&] {
    const auto Shot = ShotOf(B);
    for (int Y = 0; Y < B->Height(); ++Y)
      for (int X = 0; X < B->Width(); ++X)
        if (Shot.At(X, Y) == static_cast<vantrel::skingen::Colour>(ColorToRGB(clRed))) return Point(X, Y);
    return Point(-1, -1);
  };
  PressAt(B, 5, 5);
  ReleaseAt(B, 5, 5);
  const TPoint Up = RedCorner();
  ASSERT_GE(Up.X, 0);
  PressAt(B, 5, 5);
  ASSERT_TRUE(B->Down());
  const TPoint Down = RedCorner();
  EXPECT_EQ(Down.X, Up.X + 1);
  EXPECT_EQ(Down.Y, Up.Y + 1);
  ReleaseAt(B, 5, 5);
}

TEST_F(SkinMenuButtonTest, TheDefaultSkinsMenuButtonsShowTheirLooksWhileTheMenuIsOpen) {
  LoadSkin(vantrel::skingen::DefaultSkinFolder);
  auto* B = AddButton();
  B->SetCaption("Player");
  B->SetSkinPopupMenu(Menu);
  auto* T = AddButton();
  T->SetSkinDataName("toolbutton");
  T->SetCaption("Tools");
  T->SetTop(50);
  T->SetSkinPopupMenu(Menu);
  T->SetTrackButtonMode(true);
  auto* Sp = AddSpeed();
  Sp->SetTop(90);
  Sp->SetNewStyle(true);
  Sp->SetCaption("New");
  Sp->SetSkinPopupMenu(Menu);
  ShowForm();
  PressAt(T, T->Width() - 5, 10);
  ASSERT_TRUE(T->MenuTracked());
  const std::string File = testing::TempDir() + "skin-menu-buttons-laconic.png";
  ASSERT_TRUE(vantrel::display::SavePng(Session.CaptureScreen(), File));
  CloseMenu();
  EXPECT_FALSE(T->Down());
}

// With the default skin, a track-button menu button drawn from its own picture (the
// main window's snapshot button: "toolmenubutton", wider than the picture) shows the
// drop-down arrow in its track part, opens the menu only from there, and while the menu
// is open shows the pressed picture's track part beside the active picture's main part.
TEST_F(SkinMenuButtonTest, WithTheDefaultSkinTheTrackPartShowsTheArrowAndOpensTheMenu) {
  LoadSkin(vantrel::skingen::DefaultSkinFolder);
  auto* B = AddButton();
  B->SetBounds(20, 20, 41, 24);
  B->SetSkinPopupMenu(Menu);
  B->SetTrackButtonMode(true);
  ShowForm();
  auto* D = dynamic_cast<TspDataSkinMenuButtonControl*>(Skin->CtrlList.Items(Skin->GetControlIndex("toolmenubutton")));
  ASSERT_NE(D, nullptr);
  TBitmap* Pic = SkinActivePicture(Skin, D->PictureIndex);
  ASSERT_NE(Pic, nullptr);
  const int W = B->Width(), H = B->Height();
  const int TrackW = D->TrackButtonRect.Right - D->TrackButtonRect.Left;
  const TRect Track = Rect(W - TrackW, 0, W, H);
  EXPECT_EQ(B->GetTrackPartRect(), Track);
  {
    const auto Shot = ShotOf(B);
    const auto Pixel = [&Shot](int X, int Y) { return Shot.At(X, Y); };
    EXPECT_TRUE(vantrel::test::IsDownArrowInk(vantrel::test::GlyphInkRows(Pixel, Track)));
    EXPECT_TRUE(vantrel::test::GlyphInkRows(Pixel, Rect(0, 0, Track.Left, H)).empty());
  }
  EXPECT_TRUE(B->IsTrackPoint(Track.Left, 5));
  EXPECT_TRUE(B->IsTrackPoint(W - 1, H - 1));
  EXPECT_FALSE(B->IsTrackPoint(Track.Left - 1, 5));
  PressAt(B, 5, 10);
  EXPECT_FALSE(FS->SkinMenuVisible());
  ReleaseAt(B, 5, 10);
  EXPECT_EQ(Log, (std::vector<std::string>{"click"}));
  PressAt(B, W - 4, 10);
  ASSERT_TRUE(FS->SkinMenuVisible());
  ASSERT_TRUE(B->MenuTracked());
  const auto Shot = ShotOf(B);
  const TRect& Down = D->DownSkinRect;
  for (int Y = 0; Y < H; ++Y)
    for (int X = Track.Left; X < W; ++X) {
      SCOPED_TRACE(std::to_string(X) + "," + std::to_string(Y));
      ASSERT_EQ(Shot.At(X, Y),
                Pic->Canvas()->Pixels(Down.Left + D->TrackButtonRect.Left + X - Track.Left, Down.Top + Y));
    }
  // The main part's fixed left end comes from the active picture.
  const TRect& Active = D->ActiveSkinRect;
  for (int Y = 0; Y < H; ++Y) EXPECT_EQ(Shot.At(1, Y), Pic->Canvas()->Pixels(Active.Left + 1, Active.Top + Y)) << Y;
  ReleaseAt(B, W - 4, 10);
  CloseMenu();
  EXPECT_EQ(Log, (std::vector<std::string>{"click", "show", "hide"}));
}

}  // namespace
