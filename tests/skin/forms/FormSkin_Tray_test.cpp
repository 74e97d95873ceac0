// The frame and its tray icon: the icon gets the tray menu and a double click that brings
// the program back; the minimize-to-tray button sends the main form to the tray.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "platform/win/Focus.h"
#include "platform/win/Shell.h"
#include "skin/forms/FormSkin.h"
#include "skin/forms/FormSkinObjects.h"
#include "skin/forms/SkinMenus.h"
#include "skin/forms/TrayIcon.h"
#include "tests/support/UiFormsFixture.h"

using vantrel::win::RecordingTrayArea;

namespace {

class FrameTrayTest : public ::testing::Test {
 protected:
  vantrel::uitest::FormsSession S;
  RecordingTrayArea* Tray = nullptr;
  TForm* Main = nullptr;
  TForm* Other = nullptr;
  TspFormSkin* FS = nullptr;
  TspTrayIcon* Icon = nullptr;
  std::vector<std::string> Log;

  void SetUp() override {
    auto T = std::make_unique<RecordingTrayArea>();
    Tray = T.get();
    S.Session.Manager().Shell().SetTray(std::move(T));
    Application->CreateForm(Main);
    Main->SetBounds(100, 100, 400, 300);
    Main->SetCaption("Main");
    FS = Create<TspFormSkin>(Main);
    FS->SetBorderIcons({TspBorderIcon::biSystemMenu, TspBorderIcon::biMinimize, TspBorderIcon::biMinimizeToTray});
    FS->OnMinimizeToTray = [this](TObject* Sender) {
      EXPECT_EQ(Sender, FS);
      Log.push_back("to tray");
    };
    FS->OnRestoreFromTray = [this](TObject* Sender) {
      EXPECT_EQ(Sender, FS);
      Log.push_back("from tray");
    };
    Icon = Create<TspTrayIcon>(Main);
    Icon->Loaded();
    Application->CreateForm(Other);
    Other->SetBounds(600, 100, 200, 200);
  }

  TspSkinStdButtonObject* TrayButton() {
    for (TspActiveSkinObject* O : FS->ObjectList)
      if (auto* B = dynamic_cast<TspSkinStdButtonObject*>(O); B && B->Command == cmMinimizeToTray) return B;
    return nullptr;
  }
  bool IconShown() const { return Tray->Table.Find(Icon->Handle(), 1) != nullptr; }
  void DoubleClickIcon() {
    // The last release finds no icon when the double click took it out of the tray.
    for (UINT M : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP}) {
      Tray->Click(Icon->Handle(), 1, M);
      S.Session.PumpUntilIdle();
    }
  }
};

TEST_F(FrameTrayTest, LinkingTheIconHidesItAndGivesItTheTrayMenuAndTheRestoreHandler) {
  EXPECT_TRUE(IconShown());
  FS->SetTrayIcon(Icon);
  EXPECT_FALSE(IconShown());
  ASSERT_NE(Icon->PopupMenu(), nullptr);
  TMenuItem* Items = Icon->PopupMenu()->Items();
  ASSERT_EQ(Items->Count(), 3);
  EXPECT_EQ(Items->Items(0)->Caption(), "&Restore");
  EXPECT_EQ(Items->Items(1)->Caption(), "-");
  EXPECT_EQ(Items->Items(2)->Caption(), "&Close");
  EXPECT_TRUE(static_cast<bool>(Icon->OnDblClick));
  // The tray menu shows in the frame's skin.
  TOwned<TspSkinData> Skin = CreateOwned<TspSkinData>(nullptr);
  FS->SetSkinData(Skin.get());
  EXPECT_EQ(Icon->PopupMenu()->SkinData(), Skin.get());
  FS->SetSkinData(nullptr);

  // An icon with a menu and a double click of its own keeps both; with AlwaysShowInTray it
  // stays in the tray.
  auto* Second = Create<TspTrayIcon>(Main);
  auto* Own = Create<TspSkinPopupMenu>(Main);
  Second->SetPopupMenu(Own);
  Second->Loaded();
  FS->SetAlwaysShowInTray(true);
  FS->SetTrayIcon(Second);
  EXPECT_EQ(Second->PopupMenu(), Own);
  EXPECT_FALSE(static_cast<bool>(Second->OnDblClick));
  EXPECT_NE(Tray->Table.Find(Second->Handle(), 1), nullptr);
  Second->Free();
  EXPECT_EQ(FS->TrayIcon(), nullptr);
}

TEST_F(FrameTrayTest, WithoutATrayIconTheTrayCommandsDoNothing) {
  Main->Show();
  S.Session.PumpUntilIdle();
  FS->MinimizeToTray();
  FS->RestoreFromTray();
  S.Session.PumpUntilIdle();
  EXPECT_TRUE(Main->Visible());
  EXPECT_FALSE(IsIconic(Application->Handle()));
  EXPECT_TRUE(Log.empty());
}

TEST_F(FrameTrayTest, TheTrayButtonSendsTheMainFormToTheTrayAndADoubleClickBringsItBack) {
  for (bool AlwaysShow : {false, true}) {
    SCOPED_TRACE(AlwaysShow ? "always shown in the tray" : "shown while minimized");
    Log.clear();
    FS->SetAlwaysShowInTray(AlwaysShow);
    FS->SetTrayIcon(Icon);
    Main->Show();
    Other->Show();
    S.Session.PumpUntilIdle();
    SetForegroundWindow(Other->Handle());
    S.Session.PumpUntilIdle();

    TspSkinStdButtonObject* B = TrayButton();
    ASSERT_NE(B, nullptr);
    B->DoCommand();
    S.Session.PumpUntilIdle();
    EXPECT_FALSE(Main->Visible());
    EXPECT_TRUE(IconShown());
    EXPECT_TRUE(Icon->MinimizeToTray());
    EXPECT_EQ(Log, (std::vector<std::string>{"to tray"}));

    std::vector<UINT> MainMessages;
    TWndMethod Old = Main->WindowProc;
    Main->WindowProc = [&MainMessages, Old](TMessage& M) {
      MainMessages.push_back(M.Msg);
      Old(M);
    };
    DoubleClickIcon();
    Main->WindowProc = Old;
    EXPECT_TRUE(Main->Visible());
    EXPECT_FALSE(IsIconic(Application->Handle()));
    EXPECT_FALSE(Icon->MinimizeToTray());
    EXPECT_EQ(IconShown(), AlwaysShow);
    EXPECT_EQ(std::count(MainMessages.begin(), MainMessages.end(), 1426u), 1);
    EXPECT_EQ(GetForegroundWindow(), Main->Handle());
    EXPECT_EQ(Log, (std::vector<std::string>{"to tray", "from tray"}));
  }
}

TEST_F(FrameTrayTest, WithAlwaysMinimizeToTrayTheMinimizeButtonGoesToTheTray) {
  FS->SetTrayIcon(Icon);
  FS->SetAlwaysMinimizeToTray(true);
  Main->Show();
  S.Session.PumpUntilIdle();
  TspSkinStdButtonObject* Min = nullptr;
  for (TspActiveSkinObject* O : FS->ObjectList)
    if (auto* B = dynamic_cast<TspSkinStdButtonObject*>(O); B && B->Command == cmMinimize) Min = B;
  ASSERT_NE(Min, nullptr);
  Min->DoCommand();
  S.Session.PumpUntilIdle();
  EXPECT_FALSE(Main->Visible());
  EXPECT_TRUE(IconShown());
  // The tray menu's Restore item brings it back as the double click does.
  Icon->PopupMenu()->Items()->Items(0)->Click();
  S.Session.PumpUntilIdle();
  EXPECT_TRUE(Main->Visible());
  EXPECT_FALSE(IconShown());
  EXPECT_EQ(Log, (std::vector<std::string>{"to tray", "from tray"}));
}

}  // namespace
