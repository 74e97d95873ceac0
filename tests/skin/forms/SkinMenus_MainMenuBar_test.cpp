// The main menu bar: titles merged with an MDI child's menu, hover and clicks, the
// keyboard in menu mode, titles pushed out of a narrow bar, a maximized child's buttons,
// the titles' looks and their frame animation.
#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

#include "platform/win/Input.h"
#include "platform/win/Messages.h"
#include "skin/forms/SkinMenus.h"
#include "tests/skin/forms/FormFrame_TestKit.h"
#include "tests/support/AppPump.h"

using vantrel::frametest::FrameFixture;
using vantrel::frametest::SurfaceColour;

namespace {

class MainMenuBarTest : public FrameFixture {
 protected:
  TMainMenu* Main = nullptr;
  TspSkinMainMenuBar* Bar = nullptr;
  std::vector<std::string> Clicks;

  TMenuItem* Item(TMenu* M, TMenuItem* Parent, const String& Caption, Byte Group = 0) {
    auto* I = Create<TMenuItem>(M);
    I->SetCaption(Caption);
    I->SetGroupIndex(Group);
    I->OnClick = [this, Caption](TObject*) { Clicks.push_back(Caption); };
    (Parent ? Parent : M->Items())->Add(I);
    return I;
  }
  // A title with two sub-items, named after its caption (titles are told apart by name).
  TMenuItem* Title(TMenu* M, const String& Caption, Byte Group = 0) {
    TMenuItem* T = Item(M, nullptr, Caption, Group);
    String Name = "Title";
    for (char C : Caption)
      if (std::isalnum(static_cast<unsigned char>(C))) Name += C;
    T->SetName(Name);
    Item(M, T, Caption + " one");
    Item(M, T, Caption + " two");
    return T;
  }

  void MakeBar(Integer Width = 360) {
    Form->SetBounds(100, 80, 400, 300);
    Main = Create<TMainMenu>(Form.get());
    Bar = Create<TspSkinMainMenuBar>(Form.get());
    Bar->SetParent(Form.get());
    Bar->SetAlign(alNone);
    Bar->SetBounds(10, 10, Width, 22);
    Bar->SetFormSkin(FS);
    FS->SetMainMenuBar(Bar);
  }
  void Show() {
    Bar->SetMainMenu(Main);
    ShowForm();
  }
  std::vector<std::string> TitleCaptions() {
    std::vector<std::string> C;
    for (TspMenuBarObject* O : Bar->ObjectList)
      if (auto* T = dynamic_cast<TspSkinMainMenuBarItem*>(O)) C.push_back(T->MenuItem->Caption());
    return C;
  }
  TspSkinMainMenuBarItem* TitleAt(Integer I) {
    Integer K = 0;
    for (TspMenuBarObject* O : Bar->ObjectList)
      if (auto* T = dynamic_cast<TspSkinMainMenuBarItem*>(O))
        if (K++ == I) return T;
    return nullptr;
  }
  TPoint CentreOf(TspMenuBarObject* O) {
    return Bar->ClientToScreen(
        Point((O->ObjectRect.Left + O->ObjectRect.Right) / 2, (O->ObjectRect.Top + O->ObjectRect.Bottom) / 2));
  }
  void Hover(TspMenuBarObject* O) {
    const TPoint P = CentreOf(O);
    S.Session.Move(P.X, P.Y);
    S.Session.PumpUntilIdle();
    S.Session.Advance(50);
  }
  void Click(TspMenuBarObject* O) {
    Hover(O);
    const TPoint P = CentreOf(O);
    S.Session.Press(P.X, P.Y);
    S.Session.Release(P.X, P.Y);
    S.Session.PumpUntilIdle();
  }
  void Key(WORD Vk) {
    S.Session.Key(Vk);
    vantrel::testsupport::PumpApplication(S.Session);
  }
  void AltAlone() {
    SendMessage(Form->Handle(), WM_SYSCOMMAND, SC_KEYMENU, 0);
    vantrel::testsupport::PumpApplication(S.Session);
  }
  // The title highlighted (or pressed) now; -1 for none.
  Integer HotTitle() {
    for (Integer I = 0; TspSkinMainMenuBarItem* T = TitleAt(I); ++I)
      if (T->Active || T->FDown) return I;
    return -1;
  }
  Boolean MenuOpen() { return FS->SkinMenuVisible(); }
  // The first caption of the open top level.
  std::string OpenFirstCaption() {
    if (!MenuOpen()) return "";
    return FS->SkinMenu->Level(0)->ItemList.front()->MenuItem->Caption();
  }
};

TEST_F(MainMenuBarTest, AMergedChildMenuTakesThePlaceOfTitlesOfItsGroups) {
  MakeBar();
  Title(Main, "File", 0);
  Title(Main, "Window", 9);
  Title(Main, "Help", 10);
  auto* Child = Create<TMainMenu>(Form.get());
  Title(Child, "Edit", 1);
  Title(Child, "Child help", 10);
  Show();
  EXPECT_TRUE(Bar->ScrollMenu());
  Bar->Merge(Child);
  EXPECT_EQ(TitleCaptions(), (std::vector<std::string>{"File", "Edit", "Window", "Child help"}));
  EXPECT_FALSE(Bar->ScrollMenu());
  EXPECT_TRUE(Bar->ChildMenuIn);
  Bar->UnMerge();
  EXPECT_EQ(TitleCaptions(), (std::vector<std::string>{"File", "Window", "Help"}));
}

TEST_F(MainMenuBarTest, HoverClickAndMovingTheOpenMenuFromTitleToTitle) {
  MakeBar();
  Title(Main, "File");
  Title(Main, "Edit");
  Item(Main, nullptr, "Go");
  Show();
  Hover(TitleAt(0));
  EXPECT_EQ(HotTitle(), 0);
  Click(TitleAt(0));
  ASSERT_TRUE(MenuOpen());
  EXPECT_EQ(OpenFirstCaption(), "File one");
  const TRect Title0 = TitleAt(0)->ObjectRect;
  EXPECT_EQ(FS->SkinMenu->Level(0)->Top(), Bar->ClientToScreen(Point(0, Title0.Bottom)).Y);
  EXPECT_TRUE(FS->InMainMenu);
  // The open menu follows the pointer to the neighbour.
  Hover(TitleAt(1));
  EXPECT_FALSE(TitleAt(0)->FDown);
  EXPECT_TRUE(TitleAt(1)->FDown);
  EXPECT_EQ(OpenFirstCaption(), "Edit one");
  // Off the bar the highlight stays.
  S.Session.Move(Form->Left() + 200, Form->Top() + 250);
  S.Session.PumpUntilIdle();
  S.Session.Advance(100);
  EXPECT_EQ(HotTitle(), 1);
  FS->HideSkinMenu();
  S.Session.PumpUntilIdle();
  EXPECT_FALSE(FS->InMainMenu);
  // A title without sub-items runs its command at once and ends main-menu mode.
  Click(TitleAt(2));
  EXPECT_EQ(Clicks, std::vector<std::string>{"Go"});
  EXPECT_FALSE(MenuOpen());
  EXPECT_FALSE(FS->InMainMenu);
  EXPECT_FALSE(FS->InMenu);
}

TEST_F(MainMenuBarTest, TheKeyboardDrivesTheBarInMenuMode) {
  MakeBar();
  Title(Main, "&File");
  TMenuItem* Edit = Title(Main, "&Edit");
  TMenuItem* More = Item(Main, Edit, "More");
  Item(Main, More, "Deeper");
  Title(Main, "&View")->SetEnabled(false);
  Title(Main, "&Help");
  Show();
  // Alt takes the title under the pointer when there is one.
  Hover(TitleAt(1));
  AltAlone();
  EXPECT_TRUE(FS->InMainMenu);
  EXPECT_EQ(HotTitle(), 1);
  AltAlone();
  EXPECT_FALSE(FS->InMainMenu);
  S.Session.Move(Form->Left() + 200, Form->Top() + 250);
  S.Session.PumpUntilIdle();
  S.Session.Advance(100);
  AltAlone();
  EXPECT_TRUE(FS->InMainMenu);
  EXPECT_EQ(HotTitle(), 0);
  Key(VK_LEFT);  // wraps from the first to the last usable title, past the disabled one
  EXPECT_EQ(HotTitle(), 3);
  Key(VK_RIGHT);
  EXPECT_EQ(HotTitle(), 0);
  Key(VK_RIGHT);
  EXPECT_EQ(HotTitle(), 1);
  Key(VK_RIGHT);
  EXPECT_EQ(HotTitle(), 3);
  Key(VK_DOWN);
  ASSERT_TRUE(MenuOpen());
  EXPECT_EQ(OpenFirstCaption(), "&Help one");
  // Right on a leaf moves the open menu to the next title.
  Key(VK_RIGHT);
  EXPECT_EQ(HotTitle(), 0);
  EXPECT_EQ(OpenFirstCaption(), "&File one");
  // Esc closes the drop-down and keeps the title highlighted; a second Esc leaves.
  Key(VK_ESCAPE);
  EXPECT_FALSE(MenuOpen());
  EXPECT_TRUE(FS->InMainMenu);
  EXPECT_EQ(HotTitle(), 0);
  EXPECT_FALSE(TitleAt(0)->FDown);
  Key(VK_ESCAPE);
  EXPECT_FALSE(FS->InMainMenu);
  EXPECT_EQ(HotTitle(), -1);
  EXPECT_FALSE(Application->OnMessage);
  // The accelerator opens its title; Right on an item with a submenu opens the submenu.
  AltAlone();
  Key('E');
  ASSERT_TRUE(MenuOpen());
  EXPECT_EQ(OpenFirstCaption(), "&Edit one");
  Key(VK_UP);  // onto "More", the last item
  Key(VK_RIGHT);
  EXPECT_EQ(FS->SkinMenu->LevelCount(), 2);
  Key(VK_RETURN);
  // The parent item's own click runs when its submenu opens.
  EXPECT_EQ(Clicks, (std::vector<std::string>{"More", "Deeper"}));
  EXPECT_FALSE(MenuOpen());
  // Enter on a highlighted title opens it; Alt again leaves main-menu mode.
  AltAlone();
  Key(VK_RETURN);
  EXPECT_TRUE(MenuOpen());
  AltAlone();
  EXPECT_FALSE(FS->InMainMenu);
  EXPECT_FALSE(MenuOpen());
}

TEST_F(MainMenuBarTest, WhileAMenuIsOpenKeysAndTheWheelNeverReachTheFocusedControl) {
  MakeBar();
  Title(Main, "File");
  Show();
  auto* Focused = Create<TCustomControl>(Form.get());
  Focused->SetParent(Form.get());
  Focused->SetBounds(20, 60, 100, 40);
  Focused->SetTabStop(true);
  std::vector<UINT> Seen;
  TWndMethod Old = Focused->WindowProc;
  Focused->WindowProc = [&, Old](TMessage& M) {
    if (M.Msg == WM_KEYDOWN || M.Msg == WM_CHAR || M.Msg == WM_MOUSEWHEEL) Seen.push_back(M.Msg);
    Old(M);
  };
  Focused->SetFocus();
  S.Session.PumpUntilIdle();
  Click(TitleAt(0));
  ASSERT_TRUE(MenuOpen());
  S.Session.Key('X');
  S.Session.Key('Y');
  vantrel::testsupport::PumpApplication(S.Session);
  const TPoint P = Focused->ClientToScreen(Point(5, 5));
  S.Session.Wheel(P.X, P.Y, -120);
  vantrel::testsupport::PumpApplication(S.Session);
  EXPECT_TRUE(Seen.empty());
  EXPECT_TRUE(MenuOpen());
  Focused->WindowProc = Old;
}

TEST_F(MainMenuBarTest, ANarrowBarPushesOutTitlesBehindAMarkerThatOpensThem) {
  MakeBar(150);
  Title(Main, "First");
  Title(Main, "Second");
  Title(Main, "Third");
  Title(Main, "Fourth");
  Show();
  Integer Fitting = 0;
  for (Integer I = 0; TspSkinMainMenuBarItem* T = TitleAt(I); ++I) {
    if (T->Visible) {
      ++Fitting;
      EXPECT_TRUE(T->Enabled);
    } else {
      EXPECT_FALSE(T->Enabled);
    }
  }
  ASSERT_GT(Fitting, 0);
  ASSERT_LT(Fitting, 4);
  EXPECT_TRUE(Bar->Scroll);
  const TRect M = Bar->GetMarkerRect();
  EXPECT_EQ(RectWidth(M), 5);
  EXPECT_EQ(M.Right, Bar->NewItemsRect.Right);
  // A click on the marker opens the titles that did not fit.
  const TPoint P = Bar->ClientToScreen(Point(M.Left + 2, (M.Top + M.Bottom) / 2));
  S.Session.Move(P.X, P.Y);
  S.Session.Press(P.X, P.Y);
  S.Session.Release(P.X, P.Y);
  S.Session.PumpUntilIdle();
  ASSERT_TRUE(MenuOpen());
  EXPECT_EQ(static_cast<Integer>(FS->SkinMenu->Level(0)->ItemList.size()), 4 - Fitting);
  FS->HideSkinMenu();
  // Widened, every title is back with its Enabled.
  Bar->SetBounds(10, 10, 380, 22);
  S.Session.PumpUntilIdle();
  for (Integer I = 0; I < 4; ++I) {
    SCOPED_TRACE(I);
    EXPECT_TRUE(TitleAt(I)->Visible);
    EXPECT_TRUE(TitleAt(I)->Enabled);
  }
}

TEST_F(MainMenuBarTest, TitlesWithTheSameItemNameDoNotReleaseEachOther) {
  MakeBar();
  Title(Main, "One")->SetName("");
  Title(Main, "Two")->SetName("");
  Show();
  Click(TitleAt(0));
  ASSERT_TRUE(TitleAt(0)->FDown);
  Hover(TitleAt(1));
  // Both items are unnamed: the second title does not take the open menu over.
  EXPECT_TRUE(TitleAt(0)->FDown);
  EXPECT_FALSE(TitleAt(1)->FDown);
  FS->HideSkinMenu();
}

TEST_F(MainMenuBarTest, ATitleWithInActiveAnimationPlaysBackFromItsLastFrame) {
  UseTestSkin();
  FS->SetSkinData(Skin.get());
  MakeBar();
  Bar->SetSkinData(Skin.get());
  Title(Main, "File");
  Show();
  TspSkinMainMenuBarItem* T = TitleAt(0);
  T->AnimateSkinRect = T->SkinRect;
  T->FrameCount = 1;
  T->InActiveAnimation = true;
  T->FDown = true;
  T->SetDown(false);
  EXPECT_EQ(T->CurrentFrame, 2);
  EXPECT_TRUE(Bar->AnimateTimer->Enabled());
  S.Session.Advance(100);
  EXPECT_EQ(T->CurrentFrame, 0);
}

// --- Looks ---------------------------------------------------------------------------------------

class MainMenuBarLookTest : public MainMenuBarTest {
 protected:
  // The colour of a pixel of the skin's controls picture.
  TColor SkinPixel(const TRect& R) {
    return Skin->FActivePictures[0]->Canvas()->Pixels((R.Left + R.Right) / 2, R.Top + 2);
  }
  TColor BarPixel(TspMenuBarObject* O) {
    const vantrel::win::Surface Shot = S.Session.Capture(Bar->Handle());
    return SurfaceColour(Shot, (O->ObjectRect.Left + O->ObjectRect.Right) / 2, O->ObjectRect.Top + 2);
  }
};

TEST_F(MainMenuBarLookTest, TitlesShowTheirNormalHotAndPressedLooks) {
  UseTestSkin();
  FS->SetSkinData(Skin.get());
  MakeBar();
  Bar->SetSkinData(Skin.get());
  Title(Main, "File");
  Title(Main, "Edit");
  Show();
  TspSkinMainMenuBarItem* T = TitleAt(0);
  EXPECT_EQ(BarPixel(T), SkinPixel(T->SkinRect));
  Hover(T);
  Bar->Repaint();
  S.Session.PumpUntilIdle();
  EXPECT_EQ(BarPixel(T), SkinPixel(T->ActiveSkinRect));
  Click(T);
  Bar->Repaint();
  S.Session.PumpUntilIdle();
  EXPECT_EQ(BarPixel(T), SkinPixel(T->DownRect));
  SaveCapture(S.Session.Capture(Bar->Handle()), "mainmenubar-pressed.png");
  FS->HideSkinMenu();
}

// --- MDI child buttons ---------------------------------------------------------------------------

class MainMenuBarMDITest : public ::testing::Test {
 protected:
  vantrel::uitest::FormsSession S;
  TForm* MainForm = nullptr;
  TspFormSkin* MainSkin = nullptr;
  TspSkinMainMenuBar* Bar = nullptr;
  TForm* Child = nullptr;
  TspFormSkin* ChildSkin = nullptr;

  void Make(TspBorderIcons ChildIcons) {
    Application->CreateForm(MainForm);
    MainForm->SetFormStyle(fsMDIForm);
    MainForm->SetBounds(0, 0, 800, 600);
    MainSkin = Create<TspFormSkin>(MainForm);
    auto* Menu = Create<TMainMenu>(MainForm);
    auto* File = Create<TMenuItem>(Menu);
    File->SetCaption("&File");
    Menu->Items()->Add(File);
    for (const char* Caption : {"Open", "Save"}) {
      auto* Sub = Create<TMenuItem>(Menu);
      Sub->SetCaption(Caption);
      File->Add(Sub);
    }
    Bar = Create<TspSkinMainMenuBar>(MainForm);
    Bar->SetParent(MainForm);
    Bar->SetFormSkin(MainSkin);
    MainSkin->SetMainMenuBar(Bar);
    Bar->SetMainMenu(Menu);
    MainForm->Show();
    Application->CreateForm(Child);
    Child->SetFormStyle(fsMDIChild);
    Child->SetBounds(10, 10, 300, 200);
    ChildSkin = Create<TspFormSkin>(Child);
    ChildSkin->SetBorderIcons(ChildIcons);
    Child->Show();
    S.Session.PumpUntilIdle();
  }
  void TearDown() override {
    if (Child) Child->Free();
    if (MainForm) MainForm->Free();
  }
  TspSkinMainMenuBarButton* Button(TStdCommand C) {
    for (Integer I = 0; I < Bar->ButtonsCount; ++I)
      if (auto* B = dynamic_cast<TspSkinMainMenuBarButton*>(Bar->ObjectAt(I)); B && B->Command == C) return B;
    return nullptr;
  }
};

TEST_F(MainMenuBarMDITest, AMaximizedChildsButtonsActByTheirRoleAlsoWithoutSkinObjects) {
  Make({TspBorderIcon::biSystemMenu, TspBorderIcon::biMaximize});
  ChildSkin->SetWindowState(wsMaximized);
  S.Session.PumpUntilIdle();
  ASSERT_EQ(Bar->ButtonsCount, 4);
  const TStdCommand Order[] = {cmSysMenu, cmClose, cmMaximize, cmMinimize};
  for (Integer I = 0; I < 4; ++I) {
    SCOPED_TRACE(I);
    EXPECT_EQ(static_cast<TspSkinMainMenuBarButton*>(Bar->ObjectAt(I))->Command, Order[I]);
  }
  EXPECT_FALSE(Button(cmMinimize)->Enabled);
  EXPECT_TRUE(Button(cmClose)->Enabled);
  // System menu at the left end, the others from the right end leftwards.
  EXPECT_LT(Button(cmSysMenu)->ObjectRect.Right, Bar->NewItemsRect.Left + 1);
  EXPECT_GT(Button(cmClose)->ObjectRect.Left, Button(cmMaximize)->ObjectRect.Left);
  EXPECT_GT(Button(cmMaximize)->ObjectRect.Left, Button(cmMinimize)->ObjectRect.Left);
  vantrel::display::SavePng(S.Session.Capture(Bar->Handle()), ::testing::TempDir() + "mainmenubar-mdi.png");
  // The restore button restores the child.
  TspSkinMainMenuBarButton* Restore = Button(cmMaximize);
  const TPoint P = Bar->ClientToScreen(Point((Restore->ObjectRect.Left + Restore->ObjectRect.Right) / 2,
                                             (Restore->ObjectRect.Top + Restore->ObjectRect.Bottom) / 2));
  S.Session.Move(P.X, P.Y);
  S.Session.PumpUntilIdle();
  S.Session.Advance(50);
  S.Session.Press(P.X, P.Y);
  S.Session.Release(P.X, P.Y);
  S.Session.PumpUntilIdle();
  EXPECT_EQ(ChildSkin->WindowState(), wsNormal);
  EXPECT_EQ(Bar->ButtonsCount, 0);
}

TEST_F(MainMenuBarMDITest, AButtonTheSkinLacksDrawsPlainlyAndActsByItsRole) {
  Make({TspBorderIcon::biSystemMenu, TspBorderIcon::biMinimize, TspBorderIcon::biMaximize});
  auto Skin = CreateOwned<TspSkinData>(nullptr);
  Skin->LoadFromFile(vantrel::test::TestSkinDir(vantrel::skingen::TestSkinFolder) + "/" +
                     vantrel::skingen::SkinIniName);
  ASSERT_FALSE(Skin->Empty);
  Bar->SetSkinData(Skin.get());
  Bar->MinButton = "nosuchbutton";
  ChildSkin->SetWindowState(wsMaximized);
  S.Session.PumpUntilIdle();
  ASSERT_EQ(Bar->ButtonsCount, 4);
  TspSkinMainMenuBarButton* Min = Button(cmMinimize);
  ASSERT_NE(Min, nullptr);
  EXPECT_FALSE(Min->FSkinSupport);
  EXPECT_TRUE(Button(cmClose)->FSkinSupport);
  Min->MouseDown(0, 0, mbLeft);
  Min->Active = true;
  Min->MouseUp(0, 0, mbLeft);
  S.Session.PumpUntilIdle();
  EXPECT_EQ(ChildSkin->WindowState(), wsMinimized);
  EXPECT_NE(Child->Handle(), nullptr);
  Bar->SetSkinData(nullptr);
}

TEST_F(MainMenuBarMDITest, TheSystemMenuButtonDropsTheChildsSystemMenuAndIsReleasedWithIt) {
  Make({TspBorderIcon::biSystemMenu, TspBorderIcon::biMinimize, TspBorderIcon::biMaximize});
  ChildSkin->SetWindowState(wsMaximized);
  S.Session.PumpUntilIdle();
  TspSkinMainMenuBarButton* Sys = Button(cmSysMenu);
  ASSERT_NE(Sys, nullptr);
  const TPoint P = Bar->ClientToScreen(
      Point((Sys->ObjectRect.Left + Sys->ObjectRect.Right) / 2, (Sys->ObjectRect.Top + Sys->ObjectRect.Bottom) / 2));
  S.Session.Move(P.X, P.Y);
  S.Session.PumpUntilIdle();
  S.Session.Advance(50);
  S.Session.Press(P.X, P.Y);
  S.Session.Release(P.X, P.Y);
  S.Session.PumpUntilIdle();
  ASSERT_TRUE(MainSkin->SkinMenuVisible());
  EXPECT_TRUE(Sys->FDown);
  // The maximized child's menu: minimize, restore, close.
  TspSkinPopupWindow* Level = MainSkin->SkinMenu->Level(0);
  ASSERT_EQ(Level->ItemList.size(), 4u);
  EXPECT_EQ(Level->ItemList.back()->MenuItem->Caption(), "&Close");
  EXPECT_EQ(Level->Top(), Bar->ClientToScreen(Point(0, Sys->ObjectRect.Bottom)).Y);
  S.Session.Key(VK_ESCAPE);
  vantrel::testsupport::PumpApplication(S.Session);
  EXPECT_FALSE(MainSkin->SkinMenuVisible());
  EXPECT_FALSE(Sys->FDown);
  EXPECT_FALSE(MainSkin->InMenu);
}

TEST_F(MainMenuBarMDITest, KeysTypedInAChildGoToTheMainFormsOpenMenu) {
  Make({TspBorderIcon::biSystemMenu, TspBorderIcon::biMinimize, TspBorderIcon::biMaximize});
  auto* Edit = Create<TCustomControl>(Child);
  Edit->SetParent(Child);
  Edit->SetBounds(10, 10, 100, 24);
  Edit->SetTabStop(true);
  std::vector<UINT> Seen;
  TWndMethod Old = Edit->WindowProc;
  Edit->WindowProc = [&, Old](TMessage& M) {
    if (M.Msg == WM_KEYDOWN) Seen.push_back(M.Msg);
    Old(M);
  };
  Edit->SetFocus();
  S.Session.PumpUntilIdle();
  SendMessage(MainForm->Handle(), WM_SYSCOMMAND, SC_KEYMENU, 0);
  vantrel::testsupport::PumpApplication(S.Session);
  ASSERT_TRUE(MainSkin->InMainMenu);
  for (WORD K : {WORD(VK_DOWN), WORD(VK_DOWN)}) {
    S.Session.Key(K);
    vantrel::testsupport::PumpApplication(S.Session);
  }
  ASSERT_TRUE(MainSkin->SkinMenuVisible());
  EXPECT_EQ(MainSkin->SkinMenu->Level(0)->ActiveItem, 1);
  EXPECT_TRUE(Seen.empty());
  MainSkin->ExitMainMenuMode();
  Edit->WindowProc = Old;
}

}  // namespace
