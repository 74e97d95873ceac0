// The frame's menus: menu mode around every skin menu, the object that opened a menu
// released when it closes, the system menu per window state, its popups (right click,
// Alt+Space), the form's short cuts, caption-button states and hints, and the skinned
// popup menu.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/win/Input.h"
#include "platform/win/Messages.h"
#include "skin/forms/SkinMenus.h"
#include "tests/skin/forms/FormFrame_TestKit.h"
#include "tests/support/AppPump.h"

using vantrel::frametest::FrameFixture;

namespace {

class FrameMenusTest : public FrameFixture {
 protected:
  std::vector<std::string> Captions(TMenuItem* Root) {
    std::vector<std::string> C;
    for (Integer I = 0; I < Root->Count(); ++I) C.push_back(Root->Items(I)->Caption());
    return C;
  }
  TMenuItem* AddItem(TMenu* M, const String& Caption) {
    auto* I = Create<TMenuItem>(M);
    I->SetCaption(Caption);
    M->Items()->Add(I);
    return I;
  }
  // A key message as the form's short-cut hook sees it; Alt held when asked.
  Boolean ShortCut(Word Key, Boolean Alt) {
    TMessage M{WM_KEYDOWN, Key, Alt ? LPARAM{0x20000000} : LPARAM{0}, 0};
    TWMKey K(M);
    Boolean Handled = false;
    Form->OnShortCut(K, Handled);
    return Handled;
  }
};

TEST_F(FrameMenusTest, ASecondMenuOpenRaisesTheOpenEventOnceAndTheCloseGivesBackTheOldMessageHandler) {
  Integer Opened = 0, Closed = 0;
  Integer OwnHandlerCalls = 0;
  Application->OnMessage = [&](MSG&, Boolean&) { ++OwnHandlerCalls; };
  FS->OnSkinMenuOpen = [&](TObject*) { ++Opened; };
  FS->OnSkinMenuClose = [&](TObject*) { ++Closed; };
  FS->SkinMenuOpen();
  FS->SkinMenuOpen();
  EXPECT_EQ(Opened, 1);
  EXPECT_TRUE(FS->InMenu);
  FS->SkinMenuClose();
  EXPECT_EQ(Closed, 1);
  EXPECT_FALSE(FS->InMenu);
  ASSERT_TRUE(Application->OnMessage);
  MSG Msg{};
  Boolean Handled = false;
  Application->OnMessage(Msg, Handled);
  EXPECT_EQ(OwnHandlerCalls, 1);
  Application->OnMessage = nullptr;
}

TEST_F(FrameMenusTest, ClosingTheMenuReleasesOnlyTheFirstPressedMenuButton) {
  ShowForm();
  auto* PM = Create<TPopupMenu>(Form.get());
  AddItem(PM, "One");
  std::vector<TspSkinButtonObject*> Buttons;
  for (const char* Name : {"first", "second"}) {
    auto* B = new TspSkinButtonObject(FS, nullptr);  // the list owns it
    B->IDName = Name;
    B->MenuItem = PM->Items();
    B->FDown = true;
    FS->ObjectList.push_back(B);
    Buttons.push_back(B);
  }
  FS->SkinMenuOpen();
  FS->SkinMenuClose();
  EXPECT_FALSE(Buttons[0]->FDown);
  EXPECT_TRUE(Buttons[1]->FDown);
}

TEST_F(FrameMenusTest, APressedMenuButtonOpensItsMenuAndIsReleasedWhenTheMenuCloses) {
  ShowForm();
  auto* PM = Create<TPopupMenu>(Form.get());
  AddItem(PM, "One");
  auto* B = new TspSkinButtonObject(FS, nullptr);  // the list owns it
  B->IDName = "menubutton";
  B->ObjectRect = Rect(10, 30, 40, 50);
  FS->ObjectList.push_back(B);
  FS->LinkMenu("menubutton", PM, false);
  B->MouseDown(15, 35, mbLeft);
  S.Session.PumpUntilIdle();
  ASSERT_TRUE(FS->SkinMenuVisible());
  EXPECT_TRUE(B->FDown);
  // Below the button on the screen.
  EXPECT_EQ(FS->SkinMenu->Level(0)->Top(), Form->Top() + 50);
  S.Session.Key(VK_ESCAPE);
  vantrel::testsupport::PumpApplication(S.Session);
  EXPECT_FALSE(FS->SkinMenuVisible());
  EXPECT_FALSE(B->FDown);
  EXPECT_FALSE(FS->InMenu);
}

struct SysMenuCase {
  const char* Name;
  TWindowState State;
  Boolean RolledUp;
  Boolean MDIChild;
  std::vector<std::string> Captions;
  const char* CloseKey;
};

TEST_F(FrameMenusTest, TheSystemMenuOffersWhatTheWindowStateAllows) {
  const SysMenuCase Cases[] = {
      {"normal", wsNormal, false, false, {"Mi&nimize", "Ma&ximize", "Ro&llUp", "-", "&Close"}, "Alt+F4"},
      {"maximized", wsMaximized, false, false, {"Mi&nimize", "&Restore", "Ro&llUp", "-", "&Close"}, "Alt+F4"},
      {"rolled up", wsNormal, true, false, {"Mi&nimize", "Ma&ximize", "&Restore", "-", "&Close"}, "Alt+F4"},
      {"maximized MDI child", wsMaximized, false, true, {"Mi&nimize", "&Restore", "-", "&Close"}, "Ctrl+F4"},
  };
  TForm* Main = nullptr;
  Application->CreateForm(Main);
  Main->SetFormStyle(fsMDIForm);
  Main->Show();
  for (const SysMenuCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    TForm* F = nullptr;
    Application->CreateForm(F);
    if (C.MDIChild) F->SetFormStyle(fsMDIChild);
    auto* Frame = Create<TspFormSkin>(F);
    Frame->FWindowState = C.State;
    Frame->FRollUpState = C.RolledUp;
    TMenuItem* Root = Frame->GetSystemMenuItems();
    EXPECT_EQ(Captions(Root), C.Captions);
    EXPECT_EQ(ShortCutToText(Root->Items(Root->Count() - 1)->ShortCut()), C.CloseKey);
    F->Free();
  }
  Main->Free();
}

TEST_F(FrameMenusTest, RestoreOfARolledUpFormRollsItDown) {
  Form->SetBounds(100, 80, 400, 300);
  ShowForm();
  FS->SetRollUpState(true);
  TMenuItem* Root = FS->GetSystemMenuItems();
  TMenuItem* Restore = nullptr;
  for (Integer I = 0; I < Root->Count(); ++I)
    if (Root->Items(I)->Name() == "DSF_RESTORE") Restore = Root->Items(I);
  ASSERT_NE(Restore, nullptr);
  Restore->Click();
  EXPECT_FALSE(FS->RollUpState());
  EXPECT_EQ(FS->WindowState(), wsNormal);
}

TEST_F(FrameMenusTest, APublishedSystemMenuKeepsOneCopyOfEachDefaultItem) {
  auto* Own = Create<TPopupMenu>(Form.get());
  AddItem(Own, "Own item");
  FS->SetSystemMenu(Own);
  FS->SetBorderIcons({TspBorderIcon::biSystemMenu, TspBorderIcon::biMinimize, TspBorderIcon::biMaximize,
                      TspBorderIcon::biRollUp, TspBorderIcon::biMinimizeToTray});
  const std::vector<std::string> Expected = {"Mi&nimize",         "Ma&ximize", "Ro&llUp",
                                             "Minimize to &Tray", "Own item",  "&Close"};
  EXPECT_EQ(Captions(FS->GetSystemMenuItems()), Expected);
  EXPECT_EQ(Captions(FS->GetSystemMenuItems()), Expected);
}

TEST_F(FrameMenusTest, ARightClickOnTheCaptionOpensTheSystemMenuAtTheCursor) {
  ShowForm();
  const TPoint P = Point(Form->Left() + 60, Form->Top() + 8);
  S.Session.Move(P.X, P.Y);
  S.Session.PumpUntilIdle();
  S.Session.Press(P.X, P.Y, vantrel::win::rbRight);
  S.Session.PumpUntilIdle();
  ASSERT_TRUE(FS->SkinMenuVisible());
  EXPECT_EQ(FS->SkinMenu->Level(0)->Left(), P.X);
  EXPECT_EQ(FS->SkinMenu->Level(0)->Top(), P.Y);
  EXPECT_TRUE(FS->InMenu);
  FS->HideSkinMenu();
  S.Session.PumpUntilIdle();
  EXPECT_FALSE(FS->InMenu);
  S.Session.Release(P.X, P.Y, vantrel::win::rbRight);
  S.Session.PumpUntilIdle();

  FS->SetDisableSystemMenu(true);
  S.Session.Press(P.X, P.Y, vantrel::win::rbRight);
  S.Session.PumpUntilIdle();
  EXPECT_FALSE(FS->SkinMenuVisible());
  S.Session.Release(P.X, P.Y, vantrel::win::rbRight);
  S.Session.PumpUntilIdle();
}

TEST_F(FrameMenusTest, AltSpaceOpensTheSystemMenuBelowItsButtonUnlessDisabled) {
  ShowForm();
  TspActiveSkinObject* SysButton = nullptr;
  for (TspActiveSkinObject* O : FS->ObjectList)
    if (auto* B = dynamic_cast<TspSkinStdButtonObject*>(O); B && B->Command == cmSysMenu) SysButton = B;
  ASSERT_NE(SysButton, nullptr);
  EXPECT_TRUE(ShortCut(VK_SPACE, true));
  ASSERT_TRUE(FS->SkinMenuVisible());
  EXPECT_EQ(FS->SkinMenu->Level(0)->Top(), Form->Top() + SysButton->ObjectRect.Bottom);
  FS->HideSkinMenu();

  FS->SetDisableSystemMenu(true);
  EXPECT_TRUE(ShortCut(VK_SPACE, true));
  EXPECT_FALSE(FS->SkinMenuVisible());

  // The component's own short-cut handler comes first and may take the key.
  FS->SetDisableSystemMenu(false);
  FS->OnShortCut = [](TWMKey&, Boolean& Handled) { Handled = true; };
  EXPECT_TRUE(ShortCut(VK_SPACE, true));
  EXPECT_FALSE(FS->SkinMenuVisible());
}

TEST_F(FrameMenusTest, AltF4IsNoMainMenuHotKeyButFallsToTheMenusShortCuts) {
  auto* Main = Create<TMainMenu>(Form.get());
  TMenuItem* File = AddItem(Main, "&File4");
  Integer Closed = 0;
  auto* CloseItem = Create<TMenuItem>(Main);
  CloseItem->SetCaption("Close");
  CloseItem->SetShortCut(TextToShortCut("Alt+F4"));
  CloseItem->OnClick = [&](TObject*) { ++Closed; };
  File->Add(CloseItem);
  FS->SetMainMenu(Main);
  ShowForm();
  EXPECT_TRUE(ShortCut(VK_F4, true));
  EXPECT_EQ(Closed, 1);
  EXPECT_FALSE(FS->SkinMenuVisible());
}

TEST_F(FrameMenusTest, CaptionButtonsFollowTheBorderIconsAndHideCaptionButtons) {
  ShowForm();
  auto StateOf = [&](TStdCommand Command) {
    for (TspActiveSkinObject* O : FS->ObjectList)
      if (auto* B = dynamic_cast<TspSkinStdButtonObject*>(O); B && B->Command == Command)
        return std::make_pair(B->Enabled, B->Visible);
    return std::make_pair(false, false);
  };
  FS->SetBorderIcons({TspBorderIcon::biSystemMenu, TspBorderIcon::biMinimize});
  EXPECT_EQ(StateOf(cmMinimize), std::make_pair(true, true));
  EXPECT_EQ(StateOf(cmMaximize).first, false);
  EXPECT_EQ(StateOf(cmRollUp).first, false);
  EXPECT_EQ(StateOf(cmClose), std::make_pair(true, true));
  FS->SetDisableSystemMenu(true);
  FS->UpdateCaptionButtonStates();
  EXPECT_FALSE(StateOf(cmSysMenu).first);

  FS->SetHideCaptionButtons(true);
  FS->UpdateCaptionButtonStates();
  for (TStdCommand C : {cmClose, cmMinimize, cmMaximize}) {
    SCOPED_TRACE(static_cast<int>(C));
    EXPECT_FALSE(StateOf(C).first);
  }
}

TEST_F(FrameMenusTest, ACustomButtonShowsOnlyWhenTheEventSaysSo) {
  auto* Custom = new TspSkinStdButtonObject(FS, nullptr);  // the list owns it
  Custom->IDName = "mine";
  Custom->Command = cmDefault;
  FS->ObjectList.push_back(Custom);
  FS->UpdateCaptionButtonStates();
  EXPECT_FALSE(Custom->Visible);
  std::vector<std::string> Asked;
  FS->OnActivateCustomObject = [&](const String& IDName, Boolean& Visible) {
    Asked.push_back(IDName);
    Visible = true;
  };
  FS->UpdateCaptionButtonStates();
  EXPECT_TRUE(Custom->Visible);
  EXPECT_EQ(Asked, std::vector<std::string>{"mine"});
}

TEST_F(FrameMenusTest, HintsFollowTheSkinsStringsAfterTheyChange) {
  UseTestSkin();
  FS->SetSkinData(Skin.get());
  ShowForm();
  TspSkinStdButtonObject* Close = nullptr;
  for (TspActiveSkinObject* O : FS->ObjectList)
    if (auto* B = dynamic_cast<TspSkinStdButtonObject*>(O); B && B->Command == cmClose) Close = B;
  ASSERT_NE(Close, nullptr);
  auto* Strings = Create<TspResourceStrData>(Form.get());
  Strings->ResStrings()->Clear();
  Strings->ResStrings()->Add("CLOSEBUTTON_HINT=Shut the window");
  Skin->SetResourceStrData(Strings);
  SendMessage(Form->Handle(), WM_SKIN_STRINGS_CHANGED, 0, 0);
  EXPECT_EQ(Close->Hint, "Shut the window");
  EXPECT_EQ(Close->FTempHint, "Shut the window");
}

TEST_F(FrameMenusTest, ThePopupOperationsTakeTheMenusSkinOrTheFramesAsTheyShould) {
  UseTestSkin();
  FS->SetSkinData(Skin.get());
  auto MenusSkin = CreateOwned<TspSkinData>(nullptr);
  FS->SetMenusSkinData(MenusSkin.get());
  ShowForm();
  auto* PM = Create<TPopupMenu>(Form.get());
  AddItem(PM, "One");
  TObject* PopupSender = nullptr;
  PM->OnPopup = [&](TObject* Sender) { PopupSender = Sender; };
  FS->PopupSkinMenu(PM, Point(300, 200));
  ASSERT_TRUE(FS->SkinMenuVisible());
  EXPECT_EQ(FS->SkinMenu->SkinData, MenusSkin.get());
  EXPECT_EQ(FS->SkinMenu->Level(0)->Top(), 200);
  FS->PopupSkinMenu1(PM, Rect(300, 200, 340, 220), true);
  EXPECT_EQ(FS->SkinMenu->Level(0)->Top() + FS->SkinMenu->Level(0)->Height(), 200);
  FS->DoPopupMenu(PM, 300, 200);
  EXPECT_EQ(PopupSender, FS);
  EXPECT_EQ(FS->SkinMenu->SkinData, Skin.get());
  EXPECT_TRUE(FS->InMenu);
  FS->HideSkinMenu();
  EXPECT_FALSE(FS->InMenu);
  FS->SetMenusSkinData(nullptr);
}

// --- The skinned popup menu --------------------------------------------------------------------

TEST_F(FrameMenusTest, ASkinnedPopupMenuOpensThroughItsFormsFrameAndTakesItsSkin) {
  UseTestSkin();
  FS->SetSkinData(Skin.get());
  ShowForm();
  auto* PM = Create<TspSkinPopupMenu>(Form.get());
  AddItem(PM, "One");
  Integer Popups = 0, Closes = 0;
  PM->OnPopup = [&](TObject*) { ++Popups; };
  PM->OnMenuClose = [&](TObject*) { ++Closes; };
  PM->Popup(300, 200);
  S.Session.PumpUntilIdle();
  ASSERT_TRUE(FS->SkinMenuVisible());
  EXPECT_EQ(PM->SkinData(), Skin.get());
  EXPECT_EQ(FS->SkinMenu->Level(0)->Left(), 300);
  EXPECT_EQ(Popups, 1);
  FS->HideSkinMenu();
  EXPECT_EQ(Closes, 1);
}

TEST_F(FrameMenusTest, Popup2WithoutAnySkinOpensNothingAndAnotherKindOfComponentIsNoFrame) {
  ShowForm();
  auto* PM = Create<TspSkinPopupMenu>(Form.get());
  AddItem(PM, "One");
  PM->Popup2(Form.get(), 300, 200);
  EXPECT_FALSE(FS->SkinMenuVisible());
  PM->Popup(300, 200);
  EXPECT_TRUE(FS->SkinMenuVisible());
  FS->HideSkinMenu();

  auto* NotAFrame = Create<TPopupMenu>(Form.get());
  PM->SetSkinComponent(NotAFrame);
  Integer Popups = 0;
  PM->OnPopup = [&](TObject*) { ++Popups; };
  PM->Popup(300, 200);
  EXPECT_EQ(Popups, 1);
  EXPECT_FALSE(FS->SkinMenuVisible());
  NotAFrame->Free();
  EXPECT_EQ(PM->SkinComponent(), nullptr);
}

TEST_F(FrameMenusTest, ASkinnedPopupMenuOfAnMDIChildOpensThroughTheMainForm) {
  TForm* Main = nullptr;
  Application->CreateForm(Main);
  Main->SetFormStyle(fsMDIForm);
  Main->SetBounds(0, 0, 800, 600);
  auto* MainSkin = Create<TspFormSkin>(Main);
  Main->Show();
  TForm* Child = nullptr;
  Application->CreateForm(Child);
  Child->SetFormStyle(fsMDIChild);
  auto* ChildSkin = Create<TspFormSkin>(Child);
  Child->Show();
  S.Session.PumpUntilIdle();
  auto* PM = Create<TspSkinPopupMenu>(Child);
  AddItem(PM, "One");
  PM->Popup(100, 100);
  EXPECT_TRUE(MainSkin->SkinMenuVisible());
  EXPECT_FALSE(ChildSkin->SkinMenuVisible());
  MainSkin->HideSkinMenu();
  Child->Free();
  Main->Free();
}

TEST_F(FrameMenusTest, AControlsSkinnedContextMenuOpensSkinnedFromTheRightClick) {
  ShowForm();
  auto* PM = Create<TspSkinPopupMenu>(Form.get());
  AddItem(PM, "One");
  auto* Panel = Create<TCustomControl>(Form.get());
  Panel->SetParent(Form.get());
  Panel->SetBounds(20, 20, 100, 60);
  Panel->SetPopupMenu(PM);
  S.Session.PumpUntilIdle();
  const TPoint P = Panel->ClientToScreen(Point(10, 10));
  S.Session.Move(P.X, P.Y);
  S.Session.Press(P.X, P.Y, vantrel::win::rbRight);
  S.Session.Release(P.X, P.Y, vantrel::win::rbRight);
  S.Session.PumpUntilIdle();
  EXPECT_TRUE(FS->SkinMenuVisible());
  FS->HideSkinMenu();
}

}  // namespace
