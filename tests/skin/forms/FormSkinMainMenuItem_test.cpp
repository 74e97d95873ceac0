// The form's main menu drawn in the frame: items that do not fit, the open submenu moving
// from item to item, disabled items, the mouse events, the keyboard, and a skin whose item
// picture has no middle part.
#include <gtest/gtest.h>

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

class FrameMainMenuTest : public FrameFixture {
 protected:
  TMainMenu* Main = nullptr;
  std::vector<std::string> Events;

  void SetUp() override {
    FrameFixture::SetUp();
    Main = Create<TMainMenu>(Form.get());
  }
  TMenuItem* Title(const String& Name, const String& Caption, Boolean WithSub = true) {
    auto* T = Create<TMenuItem>(Main);
    T->SetName(Name);
    T->SetCaption(Caption);
    Main->Items()->Add(T);
    if (WithSub) {
      auto* Sub = Create<TMenuItem>(Main);
      Sub->SetCaption(Caption + " item");
      T->Add(Sub);
    }
    return T;
  }
  void ShowSkinned(Integer Width = 400) {
    Skin->LoadFromFile(vantrel::test::TestSkinDir(vantrel::skingen::TestSkinFolder) + "/" +
                       vantrel::skingen::SkinIniName);
    ASSERT_FALSE(Skin->Empty);
    // The test skin lays its menu band over the top of the client area; here the client
    // area starts below it, so that the band is part of the frame.
    Skin->ClRect.Top = Skin->MainMenuRect.Bottom;
    Form->SetBounds(100, 80, Width, 300);
    FS->SetMainMenu(Main);
    FS->SetSkinData(Skin.get());
    FS->OnMouseEnterEvent = [this](const String& N) { Events.push_back("enter " + N); };
    FS->OnMouseLeaveEvent = [this](const String& N) { Events.push_back("leave " + N); };
    ShowForm();
  }
  std::vector<TspSkinMainMenuItem*> Items() {
    std::vector<TspSkinMainMenuItem*> R;
    for (TspActiveSkinObject* O : FS->ObjectList)
      if (auto* MI = dynamic_cast<TspSkinMainMenuItem*>(O)) R.push_back(MI);
    return R;
  }
  TPoint OnScreen(TspSkinMainMenuItem* MI) {
    return Point(Form->Left() + (MI->ObjectRect.Left + MI->ObjectRect.Right) / 2,
                 Form->Top() + (MI->ObjectRect.Top + MI->ObjectRect.Bottom) / 2);
  }
  void Hover(TspSkinMainMenuItem* MI) {
    const TPoint P = OnScreen(MI);
    S.Session.Move(P.X, P.Y);
    S.Session.PumpUntilIdle();
    S.Session.Advance(100);
  }
  void Press(TspSkinMainMenuItem* MI) {
    Hover(MI);
    const TPoint P = OnScreen(MI);
    S.Session.Press(P.X, P.Y);
    S.Session.Release(P.X, P.Y);
    S.Session.PumpUntilIdle();
  }
  void Key(WORD Vk) {
    S.Session.Key(Vk);
    vantrel::testsupport::PumpApplication(S.Session);
  }
};

TEST_F(FrameMainMenuTest, AnItemThatDoesNotFitIsHiddenAndCannotBeHoveredUntilTheFormWidens) {
  Title("a", "A rather long first title");
  Title("b", "A rather long second title");
  Title("c", "A rather long third title");
  ShowSkinned();
  ASSERT_EQ(Items().size(), 3u);
  TspSkinMainMenuItem* Last = Items()[2];
  EXPECT_TRUE(Items()[0]->Visible);
  EXPECT_FALSE(Last->Visible);
  EXPECT_FALSE(Last->Enabled);
  TRect Where = Last->ObjectRect;
  S.Session.Move(Form->Left() + (Where.Left + FS->NewMainMenuRect.Right) / 2, Form->Top() + Where.Top + 5);
  S.Session.PumpUntilIdle();
  S.Session.Advance(100);
  EXPECT_FALSE(Last->Active);
  Form->SetBounds(100, 80, 700, 300);
  S.Session.PumpUntilIdle();
  EXPECT_TRUE(Last->Visible);
  EXPECT_TRUE(Last->Enabled);
}

TEST_F(FrameMainMenuTest, TheOpenSubmenuMovesToTheNextItemAndTheEventsAreLeavesOnly) {
  Title("file", "&File");
  Title("edit", "&Edit");
  ShowSkinned();
  const std::vector<TspSkinMainMenuItem*> I = Items();
  Hover(I[0]);
  EXPECT_TRUE(I[0]->Active);
  Press(I[0]);
  ASSERT_TRUE(FS->SkinMenuVisible());
  EXPECT_TRUE(FS->InMainMenu);
  EXPECT_EQ(FS->SkinMenu->Level(0)->ItemList.front()->MenuItem->Caption(), "&File item");
  Hover(I[1]);
  EXPECT_FALSE(I[0]->FDown);
  EXPECT_TRUE(I[1]->FDown);
  EXPECT_EQ(FS->SkinMenu->Level(0)->ItemList.front()->MenuItem->Caption(), "&Edit item");
  for (const std::string& E : Events) EXPECT_EQ(E.rfind("enter", 0), std::string::npos) << E;
  EXPECT_NE(std::find(Events.begin(), Events.end(), "leave file"), Events.end());
  FS->HideSkinMenu();
  S.Session.PumpUntilIdle();
  EXPECT_FALSE(I[1]->FDown);
  EXPECT_FALSE(FS->InMainMenu);
}

TEST_F(FrameMainMenuTest, ADisabledItemIsDrawnInItsColourAndIgnoresPresses) {
  Title("file", "&File")->SetEnabled(false);
  ShowSkinned();
  TspSkinMainMenuItem* MI = Items()[0];
  EXPECT_FALSE(MI->Enabled);
  Press(MI);
  EXPECT_FALSE(FS->SkinMenuVisible());
  EXPECT_FALSE(MI->FDown);
  const vantrel::win::Surface Shot = S.Session.Capture(Form->Handle());
  SaveCapture(Shot, "frame-mainmenu-disabled.png");
  Boolean Found = false;
  for (int Y = MI->ObjectRect.Top; Y < MI->ObjectRect.Bottom && !Found; ++Y)
    for (int X = MI->ObjectRect.Left; X < MI->ObjectRect.Right && !Found; ++X)
      Found = SurfaceColour(Shot, X, Y) == MI->UnEnabledFontColor;
  EXPECT_TRUE(Found);
}

TEST_F(FrameMainMenuTest, AltEntersMainMenuModeAndTheAcceleratorOpensItsItem) {
  Title("file", "&File");
  Title("edit", "&Edit");
  Title("go", "&Go", false)->OnClick = [this](TObject*) { Events.push_back("go"); };
  ShowSkinned();
  Integer Entered = 0;
  FS->OnMainMenuEnter = [&](TObject*) { ++Entered; };
  SendMessage(Form->Handle(), WM_SYSCOMMAND, SC_KEYMENU, 0);
  vantrel::testsupport::PumpApplication(S.Session);
  EXPECT_EQ(Entered, 1);
  EXPECT_TRUE(FS->InMainMenu);
  EXPECT_TRUE(Items()[0]->Active);
  Key(VK_RIGHT);
  EXPECT_TRUE(Items()[1]->Active);
  EXPECT_FALSE(Items()[0]->Active);
  Key('F');
  ASSERT_TRUE(FS->SkinMenuVisible());
  EXPECT_TRUE(Items()[0]->FDown);
  Key(VK_ESCAPE);
  EXPECT_FALSE(FS->SkinMenuVisible());
  EXPECT_TRUE(FS->InMainMenu);
  Key(VK_ESCAPE);
  EXPECT_FALSE(FS->InMainMenu);
  // A leaf's accelerator runs it at once.
  SendMessage(Form->Handle(), WM_SYSCOMMAND, SC_KEYMENU, 0);
  vantrel::testsupport::PumpApplication(S.Session);
  Key('G');
  EXPECT_NE(std::find(Events.begin(), Events.end(), "go"), Events.end());
  EXPECT_FALSE(FS->InMainMenu);
}

TEST_F(FrameMainMenuTest, AnItemPictureWithoutAMiddlePartDrawsWithoutHanging) {
  Title("file", "&File");
  ShowSkinned();
  TspSkinMainMenuItem* MI = Items()[0];
  MI->LO = RectWidth(MI->SkinRect) / 2;
  MI->RO = RectWidth(MI->SkinRect) - MI->LO;
  Form->Invalidate();
  SendMessage(Form->Handle(), WM_NCPAINT, 0, 0);
  S.Session.PumpUntilIdle();
  EXPECT_TRUE(MI->Visible);
}

}  // namespace
