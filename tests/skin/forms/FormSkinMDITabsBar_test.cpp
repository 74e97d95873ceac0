// The MDI tabs bar on a headless MDI main form: the layout of the tabs, the hidden-tabs
// button and its menu, dragging a tab, closing through a tab's close button, the
// child's system menu on a right click, the list menu, the frame's accept event, the
// hover after a tab goes, and the looks without and with the test skin.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "skin/controls/SkinGeometry.h"
#include "skin/forms/FormSkinMDITabsBar.h"
#include "skin/forms/SkinMenus.h"
#include "tests/skin/forms/FormFrame_TestKit.h"

namespace vantrel::frametest {
namespace {

class MDITabsBarTest : public ::testing::Test {
 protected:
  uitest::FormsSession S;
  TForm* Main = nullptr;
  TspFormSkin* MainSkin = nullptr;
  TspSkinMDITabsBar* Bar = nullptr;
  std::vector<TForm*> Children;
  std::vector<TspFormSkin*> ChildSkins;
  TOwned<TspSkinData> Skin = CreateOwned<TspSkinData>(nullptr);

  // An MDI main form W pixels wide inside with the bar along its top.
  void MakeMain(int W) {
    Application->CreateForm(Main);
    Main->SetFormStyle(fsMDIForm);
    Main->SetBounds(0, 0, W + 40, 400);
    MainSkin = Create<TspFormSkin>(Main);
    Bar = Create<TspSkinMDITabsBar>(Main);
    Bar->SetParent(Main);
    Bar->SetAlign(alTop);
    Bar->SetFormSkin(MainSkin);
    MainSkin->SetMDITabsBar(Bar);
    Main->Show();
    S.Session.PumpUntilIdle();
    Main->SetClientWidth(W);
    S.Session.PumpUntilIdle();
  }

  TForm* AddChild(const String& Name, const TspOnAcceptToMDITabsBar& Accept = nullptr) {
    TForm* Child = nullptr;
    Application->CreateForm(Child);
    Child->SetName(Name);
    Child->SetCaption(Name);
    Child->SetFormStyle(fsMDIChild);
    Child->SetBounds(10, 10, 200, 150);
    TspFormSkin* F = Create<TspFormSkin>(Child);
    F->OnAcceptToMDITabsBar = Accept;
    ChildSkins.push_back(F);
    Child->Show();
    S.Session.PumpUntilIdle();
    Children.push_back(Child);
    return Child;
  }

  void Paint() {
    Bar->Repaint();
    S.Session.PumpUntilIdle();
  }

  TPoint OnScreen(int X, int Y) { return Bar->ClientToScreen(Point(X, Y)); }
  void Press(int X, int Y, int Button = win::rbLeft) {
    const TPoint P = OnScreen(X, Y);
    S.Session.Move(P.X, P.Y);
    S.Session.PumpUntilIdle();
    S.Session.Press(P.X, P.Y, Button);
    S.Session.PumpUntilIdle();
  }
  void MoveTo(int X, int Y) {
    const TPoint P = OnScreen(X, Y);
    S.Session.Move(P.X, P.Y);
    S.Session.PumpUntilIdle();
  }
  void Release(int X, int Y, int Button = win::rbLeft) {
    const TPoint P = OnScreen(X, Y);
    S.Session.Release(P.X, P.Y, Button);
    S.Session.PumpUntilIdle();
  }
  std::vector<String> TabOrder() const {
    std::vector<String> Names;
    for (Integer I = 0; I < Bar->TabCount(); ++I) Names.push_back(Bar->Tabs(I)->Child->Name());
    return Names;
  }
  void UseTestSkin() {
    Skin->LoadFromFile(test::TestSkinDir(skingen::TestSkinFolder) + "/" + skingen::SkinIniName);
    ASSERT_FALSE(Skin->Empty);
    Bar->SetSkinData(Skin.get());
    S.Session.PumpUntilIdle();
  }
};

TEST_F(MDITabsBarTest, TabsShareTheBarUpToTheirWidthAndHideWhatHasNoRoom) {
  const struct {
    int BarWidth, Tabs, MinTabWidth;
    int TabWidth, LastRight, Hidden;
  } Cases[] = {{515, 5, 0, 100, 515, 0}, {318, 5, 0, 60, 318, 0}, {350, 8, 80, 80, 15 + 4 * 80, 4}};
  MakeMain(600);
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.BarWidth);
    for (TForm* Child : Children) Child->Hide();
    S.Session.PumpUntilIdle();
    ASSERT_EQ(Bar->TabCount(), 0);
    EXPECT_EQ(Bar->ListButton(), nullptr);
    for (int I = static_cast<int>(Children.size()); I < C.Tabs; ++I) AddChild("Doc" + std::to_string(I + 1));
    for (int I = 0; I < C.Tabs; ++I) Children[static_cast<size_t>(I)]->Show();
    Main->SetClientWidth(C.BarWidth);
    S.Session.PumpUntilIdle();
    ASSERT_EQ(Bar->Width(), C.BarWidth);
    Bar->SetMinTabWidth(C.MinTabWidth);
    Paint();
    ASSERT_EQ(Bar->TabCount(), C.Tabs);
    int Shown = 0;
    for (int I = 0; I < C.Tabs; ++I) {
      const TspMDITab* T = Bar->Tabs(I);
      if (!T->Visible) {
        EXPECT_TRUE(IsRectEmpty(&T->ObjectRect));
        continue;
      }
      ++Shown;
      EXPECT_EQ(T->ObjectRect.Left, 15 + I * C.TabWidth);
      if (I < C.Tabs - 1 - C.Hidden) {
        EXPECT_EQ(RectWidth(T->ObjectRect), C.TabWidth);
      }
    }
    EXPECT_EQ(Shown, C.Tabs - C.Hidden);
    EXPECT_EQ(Bar->Tabs(Shown - 1)->ObjectRect.Right, C.LastRight);
    EXPECT_EQ(Bar->InVisibleCount(), C.Hidden);
    ASSERT_NE(Bar->ListButton(), nullptr);
    EXPECT_EQ(Bar->ListButton()->Width(), 15);
    EXPECT_EQ(Bar->HideListButton() != nullptr, C.Hidden > 0);
    if (Bar->HideListButton()) {
      EXPECT_EQ(Bar->HideListButton()->Left(), C.BarWidth - 15);
    }
  }
  // The hidden-tabs button's menu lists the four tabs without room.
  TspSkinMenuSpeedButton* Hide = Bar->HideListButton();
  ASSERT_NE(Hide, nullptr);
  Press(Hide->Left() + 7, 10);
  Release(Hide->Left() + 7, 10);
  TMenuItem* Items = Bar->HideListMenu()->Items();
  ASSERT_EQ(Items->Count(), 4);
  for (int I = 0; I < 4; ++I) {
    SCOPED_TRACE(I);
    const String Name = Bar->Tabs(4 + I)->Child->Name();
    EXPECT_EQ(Items->Items(I)->Name(), Name + "_DSFCHILDITEMBARHIDE");
    EXPECT_EQ(Items->Items(I)->Caption(), Name);
  }
  MainSkin->HideSkinMenu();
}

TEST_F(MDITabsBarTest, DraggingTheSecondTabPastTheMiddleOfTheFourthMakesItTheLast) {
  MakeMain(415);
  for (const char* N : {"A", "B", "C", "D"}) AddChild(N);
  Paint();
  ASSERT_EQ(Bar->Tabs(1)->ObjectRect, Rect(115, 0, 215, Bar->Height()));
  Press(165, 10);
  MoveTo(200, 10);
  MoveTo(325, 10);  // right edge 375, past the fourth tab's middle at 365
  Release(325, 10);
  EXPECT_EQ(TabOrder(), (std::vector<String>{"A", "C", "D", "B"}));
  // A short drag that passes no middle keeps the order.
  Press(65, 10);
  MoveTo(90, 10);
  Release(90, 10);
  EXPECT_EQ(TabOrder(), (std::vector<String>{"A", "C", "D", "B"}));
}

TEST_F(MDITabsBarTest, ReleasingOnACloseButtonClosesThatTabsChild) {
  MakeMain(415);
  for (const char* N : {"A", "B", "C"}) AddChild(N);
  std::vector<String> Closed;
  for (TForm* C : Children)
    C->OnClose = [&Closed, C](TObject*, TCloseAction& Action) {
      Closed.push_back(C->Name());
      Action = caHide;
    };
  Bar->SetShowCloseButtons(true);
  Paint();
  const TspMDITab* B = Bar->Tabs(1);
  ASSERT_FALSE(IsRectEmpty(&B->ButtonRect));
  const int BX = B->ObjectRect.Left + (B->ButtonRect.Left + B->ButtonRect.Right) / 2;
  const int BY = B->ObjectRect.Top + (B->ButtonRect.Top + B->ButtonRect.Bottom) / 2;
  // Released outside every close button: nothing closes.
  Press(BX, BY);
  Release(40, 10);
  EXPECT_TRUE(Closed.empty());
  Press(BX, BY);
  Release(BX, BY);
  EXPECT_EQ(Closed, (std::vector<String>{"B"}));
  EXPECT_FALSE(Children[1]->Visible());
  EXPECT_EQ(TabOrder(), (std::vector<String>{"A", "C"}));
}

TEST_F(MDITabsBarTest, ARightClickOpensTheChildsSystemMenuAtTheCursor) {
  MakeMain(415);
  for (const char* N : {"A", "B"}) AddChild(N);
  Paint();
  std::vector<TMouseButton> Downs;
  Bar->OnTabMouseDown = [&](TMouseButton Button, TShiftState, TspMDITab* Tab) {
    EXPECT_EQ(Tab, Bar->Tabs(1));
    Downs.push_back(Button);
  };
  Press(150, 10, win::rbRight);
  EXPECT_EQ(Downs, (std::vector<TMouseButton>{mbRight}));
  ASSERT_TRUE(MainSkin->SkinMenuVisible());
  const TPoint P = OnScreen(150, 10);
  EXPECT_EQ(MainSkin->SkinMenu->Level(0)->Left(), P.X);
  EXPECT_EQ(MainSkin->SkinMenu->Level(0)->Top(), P.Y);
  Release(150, 10, win::rbRight);
  MainSkin->HideSkinMenu();
  // Without child menus only the event comes.
  Bar->SetSupportChildMenus(false);
  Press(150, 10, win::rbRight);
  EXPECT_FALSE(MainSkin->SkinMenuVisible());
  EXPECT_EQ(Downs.size(), 2u);
}

TEST_F(MDITabsBarTest, TheListMenuChecksTheActiveChildAndItsItemsBringTheirChildBack) {
  MakeMain(415);
  for (const char* N : {"A", "B", "C"}) AddChild(N);
  Paint();
  ASSERT_NE(Bar->ListButton(), nullptr);
  Press(7, 10);
  Release(7, 10);
  TMenuItem* Items = Bar->ListMenu()->Items();
  ASSERT_EQ(Items->Count(), 3);
  TForm* Active = Main->ActiveMDIChild();
  ASSERT_NE(Active, nullptr);
  for (Integer I = 0; I < 3; ++I) {
    SCOPED_TRACE(I);
    EXPECT_EQ(Items->Items(I)->Name(), Children[static_cast<size_t>(I)]->Name() + "_DSFCHILDITEMBAR");
    EXPECT_TRUE(Items->Items(I)->RadioItem());
    EXPECT_EQ(Items->Items(I)->Checked(), Children[static_cast<size_t>(I)] == Active);
  }
  MainSkin->HideSkinMenu();
  ChildSkins[0]->SetWindowState(wsMinimized);
  S.Session.PumpUntilIdle();
  Items->Items(0)->Click();
  S.Session.PumpUntilIdle();
  EXPECT_EQ(ChildSkins[0]->WindowState(), wsNormal);
  EXPECT_TRUE(Children[0]->Visible());
  // A left press on a tab shows its child and restores it as well.
  ChildSkins[1]->SetWindowState(wsMinimized);
  S.Session.PumpUntilIdle();
  Paint();
  Press(165, 10);
  Release(165, 10);
  EXPECT_EQ(ChildSkins[1]->WindowState(), wsNormal);
}

TEST_F(MDITabsBarTest, ARefusedChildGetsNoTabButItsWindowMenuItem) {
  MakeMain(415);
  TMenuItem* Window = TMenuItem::Create(Main);
  Main->SetWindowMenu(Window);
  AddChild("A");
  AddChild("B", [](Boolean& Accept) { Accept = false; });
  EXPECT_EQ(TabOrder(), (std::vector<String>{"A"}));
  EXPECT_EQ(Window->Count(), 2);
}

TEST_F(MDITabsBarTest, DeletingATabLeftOfTheHoveredOneKeepsTheHoverOnTheRightTab) {
  MakeMain(415);
  for (const char* N : {"A", "B", "C", "D"}) AddChild(N);
  Paint();
  std::vector<String> Events;
  Bar->OnTabMouseEnter = [&](TspMDITab* T) { Events.push_back("enter " + T->Child->Name()); };
  Bar->OnTabMouseLeave = [&](TspMDITab* T) { Events.push_back("leave " + T->Child->Name()); };
  MoveTo(365, 10);  // over D, the last tab
  ASSERT_EQ(Events, (std::vector<String>{"enter D"}));
  Children[0]->Hide();
  S.Session.PumpUntilIdle();
  Paint();
  ASSERT_EQ(TabOrder(), (std::vector<String>{"B", "C", "D"}));
  MoveTo(366, 10);  // past every tab now
  MoveTo(200, 10);  // over C
  EXPECT_EQ(Events, (std::vector<String>{"enter D", "leave D", "enter C"}));
  // Deleting the hovered tab itself tells it the mouse left.
  Children[2]->Hide();
  S.Session.PumpUntilIdle();
  EXPECT_EQ(Events.back(), "leave C");
  MoveTo(30, 10);
  EXPECT_EQ(Events.back(), "enter B");
  Bar->OnTabMouseEnter = Bar->OnTabMouseLeave = nullptr;
}

TEST_F(MDITabsBarTest, TheLooksFollowTheTabsStateWithoutAndWithTheTestSkin) {
  MakeMain(415);
  for (const char* N : {"A", "B", "C"}) AddChild(N);
  ASSERT_EQ(Main->ActiveMDIChild(), Children[2]);
  // The first tab plain, the second hovered, the third (the active child's) active.
  const int Xs[] = {25, 125, 225};
  const auto Look = [&](const char* File) {
    Paint();
    MoveTo(165, 15);
    const win::Surface Shot = S.Session.Capture(Main->Handle());
    display::SavePng(Shot, ::testing::TempDir() + File);
    const TPoint Origin = OnScreen(0, 0);
    std::vector<TColor> Colours;
    for (int X : Xs) Colours.push_back(SurfaceColour(Shot, Origin.X - Main->Left() + X, Origin.Y - Main->Top() + 3));
    return Colours;
  };
  EXPECT_EQ(Look("mdi_tabs_default.png"), (std::vector<TColor>{ColorToRGB(clBtnFace), static_cast<TColor>(RGB(182, 190, 210)),
                                                                static_cast<TColor>(RGB(133, 148, 181))}));
  Bar->SetShowCloseButtons(true);
  Look("mdi_tabs_default_close.png");
  Bar->SetShowCloseButtons(false);

  // The test skin: the bar is the tab's height plus the strip under the tabs, and each
  // tab shows its state's picture.
  UseTestSkin();
  EXPECT_EQ(Bar->Height(), 26 + 4);
  auto* D = dynamic_cast<TspDataSkinTabControl*>(Skin->CtrlList.Items(Skin->GetControlIndex("tab")));
  ASSERT_NE(D, nullptr);
  TBitmap* Picture = SkinActivePicture(Skin.get(), D->PictureIndex);
  ASSERT_NE(Picture, nullptr);
  const auto PictureAt = [&](const TRect& R) { return Picture->Canvas()->Pixels(R.Left + 10, R.Top + 3); };
  EXPECT_EQ(Look("mdi_tabs_skinned.png"),
            (std::vector<TColor>{PictureAt(D->TabRect), PictureAt(D->MouseInTabRect), PictureAt(D->ActiveTabRect)}));
  // With close buttons, and in the button look, the tabs keep their state colours at
  // their left ends.
  Bar->SetShowCloseButtons(true);
  EXPECT_EQ(Look("mdi_tabs_skinned_close.png"),
            (std::vector<TColor>{PictureAt(D->TabRect), PictureAt(D->MouseInTabRect), PictureAt(D->ActiveTabRect)}));
  // The drawing-parameters event comes in every look but the skinned tab look at the
  // skin's size.
  Integer DrawParams = 0;
  Bar->OnTabGetDrawParamsEvent = [&DrawParams](TspMDITab*, TCanvas*) { ++DrawParams; };
  Look("mdi_tabs_skinned_close.png");
  EXPECT_EQ(DrawParams, 0);
  Bar->SetTabKind(sptkButton);
  EXPECT_EQ(Bar->Height(), 26);
  Look("mdi_tabs_buttons_close.png");
  EXPECT_GT(DrawParams, 0);
  DrawParams = 0;
  Bar->SetTabKind(sptkTab);
  Bar->SetUseSkinSize(false);
  Bar->SetHeight(34);
  Look("mdi_tabs_resized.png");
  EXPECT_GT(DrawParams, 0);
  Bar->OnTabGetDrawParamsEvent = nullptr;
}

}  // namespace
}  // namespace vantrel::frametest
