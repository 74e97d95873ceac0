// The main window's commands: each button and menu item reaches its action, the web
// addresses, the profile field that shows the chooser above it, Edit and Trim, and the
// Tools item whose program does not start.
#include <gtest/gtest.h>

#include <functional>

#include "app/MakerService.h"
#include "app/about.h"
#include "app/clip.h"
#include "app/crop.h"
#include "app/log.h"
#include "app/profilechoosing.h"
#include "app/settings.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/Menus.h"
#include "skin/controls/SkinBoxCtrls.h"
#include "skin/controls/SkinCtrls.h"
#include "skin/controls/SkinExCtrls.h"
#include "skin/controls/SkinGrids.h"
#include "skin/dialogs/SkinMessageDlg.h"
#include "tests/app/MainWindowFixture.h"

using namespace vantrel::app;

namespace {

class MainCommands : public vantrel::apptest::MainWindowTest {
 protected:
  // Starts the window, shown; every modal window that shows is recorded by class (and its
  // message when it is a message box) and closed.
  TMainForm& StartShown(const String& FirstArg = String()) {
    TMainForm& M = Start(FirstArg);
    Application->OnIdle = [this](TObject*, Boolean& Done) {
      Done = true;
      for (Integer I = 0; I < Screen->CustomFormCount(); ++I) {
        TCustomForm* F = Screen->CustomForms(I);
        if (!F->Visible() || !F->FormState().Contains(fsModal) || F->ModalResult() != mrNone) continue;
        Shown.push_back(F->ClassName());
        if (auto* Box = dynamic_cast<TspMessageForm*>(F)) Boxes.push_back(Box->Message->Caption());
        F->SetModalResult(mrCancel);
      }
    };
    M.Show();
    S.Session.PumpUntilIdle();
    return M;
  }
  void AddEntries(TMainForm& M, std::vector<String> Files) {
    M.RunOpenDialog = [Files](std::vector<String>& Chosen) {
      Chosen = Files;
      return true;
    };
    M.AddButtonClick(M.AddButton);
    S.Session.PumpUntilIdle();
  }
  std::vector<String> Shown;
  std::vector<String> Boxes;
};

}  // namespace

TEST(MainCommandAddresses, TheWebPagesAndTheSharingAddresses) {
  const String Site = MakerSite;
  EXPECT_EQ(HomePageAddress(), Site + "vantrel.htm");
  EXPECT_EQ(SupportAddress(), Site + "support.htm");
  EXPECT_EQ(LikeAddress(), "https://www.facebook.com/sharer.php?u=" + Site + "vantrel.htm");
  EXPECT_EQ(TweetAddress("Vantrel Video Converter"),
            "https://twitter.com/share?original_referer=" + Site + "vantrel.htm&text=Vantrel+Video+Converter");
}

TEST_F(MainCommands, EveryButtonAndMenuItemReachesItsAction) {
  TMainForm& M = StartShown();
  AddEntries(M, {vantrel::test::FixturePath("v.mp4")});
  ASSERT_EQ(MainUnit().VideoFiles.size(), 1u);
  const String Site = MakerSite;
  struct Case {
    const char* Name;
    std::function<void()> Trigger;
    const char* Opened;  // the address or file the shell opens, or
    const char* Dialog;  // the window shown modally
  };
  const auto Item = [](TMenuItem* I) { return [I] { I->Click(); }; };
  // A click of the mouse, apart from the one before.
  const auto Control = [this](TControl* C) {
    return [this, C] {
      S.Session.Advance(1000);
      const TPoint P = vantrel::uitest::CentreOf(C);
      S.Session.Press(P.X, P.Y);
      S.Session.PumpUntilIdle();
      S.Session.Release(P.X, P.Y);
    };
  };
  const std::string Output = M.DestinationFolder();
  const std::string Home = Site + "vantrel.htm";
  const std::string Like = "https://www.facebook.com/sharer.php?u=" + Home;
  const std::string Tweet = "https://twitter.com/share?original_referer=" + Home + "&text=Vantrel";
  const std::string Support = Site + "support.htm";
  const Case Cases[] = {
      {"Home Page", Item(M.Help2), Home.c_str(), nullptr},
      {"Support", Item(M.Support1), Support.c_str(), nullptr},
      {"Like", Control(M.LikeButton), Like.c_str(), nullptr},
      {"Tweet", Control(M.TweetButton), Tweet.c_str(), nullptr},
      {"Find target", Control(M.FindTargetButton), Output.c_str(), nullptr},
      {"About", Item(M.About1), nullptr, "TAboutForm"},
      {"Advanced...", Control(M.SettingsButton), nullptr, "Tsettingsform"},
      {"Trim", Control(M.ClipButton), nullptr, "TClipForm"},
      {"Trim Video... (main menu)", Item(M.TrimVideo1), nullptr, "TClipForm"},
      {"Trim Video... (list menu)", Item(M.TrimVideo2), nullptr, "TClipForm"},
      {"Edit", Control(M.EditButton), nullptr, "TCropForm"},
      {"Edit (the menu itself)", Item(M.EditMenuItem), nullptr, "TCropForm"},
      {"Edit Video... (main menu)", Item(M.EditVideo1), nullptr, "TCropForm"},
      {"Edit Video... (list menu)", Item(M.EditVideo2), nullptr, "TCropForm"},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    Launcher->Calls.clear();
    Shown.clear();
    C.Trigger();
    S.Session.PumpUntilIdle();
    if (C.Opened) {
      ASSERT_EQ(Opened().size(), 1u);
      EXPECT_EQ(Opened()[0], C.Opened);
      EXPECT_TRUE(Shown.empty());
    } else {
      EXPECT_TRUE(Opened().empty());
      ASSERT_EQ(Shown.size(), 1u);
      EXPECT_EQ(Shown[0], C.Dialog);
    }
  }
  EXPECT_EQ(M.LikeButton->PopupMenu(), M.spSkinPopupMenu1);
  EXPECT_EQ(M.TweetButton->PopupMenu(), M.spSkinPopupMenu1);
  EXPECT_EQ(M.spSkinMenuButton1->SkinPopupMenu(), M.spSkinPopupMenu1);
}

TEST_F(MainCommands, TheProfileFieldShowsTheChooserAboveItOnlyWithFiles) {
  TMainForm& M = StartShown();
  auto* Chooser = dynamic_cast<Tproform*>([] {
    for (Integer I = 0; I < Screen->FormCount(); ++I)
      if (dynamic_cast<Tproform*>(Screen->Forms(I))) return Screen->Forms(I);
    return static_cast<TForm*>(nullptr);
  }());
  ASSERT_NE(Chooser, nullptr);
  const TPoint Field = vantrel::uitest::CentreOf(M.imgProfileField);
  S.Session.Press(Field.X, Field.Y);
  S.Session.Release(Field.X, Field.Y);
  S.Session.PumpUntilIdle();
  EXPECT_FALSE(Chooser->Visible());

  AddEntries(M, {vantrel::test::FixturePath("v.mp4")});
  S.Session.Advance(1000);
  S.Session.Press(Field.X, Field.Y);
  S.Session.Release(Field.X, Field.Y);
  S.Session.PumpUntilIdle();
  ASSERT_TRUE(Chooser->Visible());
  EXPECT_FALSE(Chooser->FormState().Contains(fsModal));
  EXPECT_GT(MainUnit().ChooserHeight, 0);
  EXPECT_EQ(Chooser->Height(), MainUnit().ChooserHeight);
  const TPoint FieldTopLeft = M.imgProfileField->ClientToScreen(Point(0, 0));
  EXPECT_EQ(Chooser->Left(), FieldTopLeft.X);
  EXPECT_EQ(Chooser->Top() + Chooser->Height(), FieldTopLeft.Y);
  EXPECT_EQ(Chooser->sgProfiles->DefaultRowHeight(), 25);  // under the program's skin
  EXPECT_EQ(Chooser->sgFormats->DefaultRowHeight(), 50);
}

TEST_F(MainCommands, EditRefusesAnAudioEntryAndTrimOpensForIt) {
  TMainForm& M = StartShown();
  AddEntries(M, {vantrel::test::FixturePath("probe-title.mp3")});
  ASSERT_EQ(MainUnit().VideoFiles.size(), 1u);
  ASSERT_TRUE(MainUnit().VideoFiles[0].isSourceAudioFormat);
  M.sgList->SetRow(1);
  M.EditButtonClick(M.EditButton);
  S.Session.PumpUntilIdle();
  ASSERT_EQ(Boxes.size(), 1u);
  EXPECT_EQ(Boxes[0], "Can't edit audio formats. You can click \"Trim\" button.");
  EXPECT_EQ(Shown, std::vector<String>{"TspMessageForm"});
  Shown.clear();
  M.ClipButtonClick(M.ClipButton);
  S.Session.PumpUntilIdle();
  EXPECT_EQ(Shown, std::vector<String>{"TClipForm"});
}

TEST_F(MainCommands, EditAndTrimDoNothingWithAnEmptyList) {
  TMainForm& M = StartShown();
  M.EditButtonClick(M.EditButton);
  M.ClipButtonClick(M.ClipButton);
  S.Session.PumpUntilIdle();
  EXPECT_TRUE(Shown.empty());
}

TEST_F(MainCommands, AToolsProgramThatDoesNotStartLeavesTheWindowOpenWithALogLine) {
  vantrel::test::WriteFileBytes(Program + "sibling", "");
  TMainForm& M = StartShown(String("sibling"));
  Launcher->Fail = true;
  M.EventsLogMenuItem->Click();
  S.Session.PumpUntilIdle();
  EXPECT_TRUE(M.Visible());
  EXPECT_FALSE(S.Session.QuitCode.has_value());
  bool Logged = false;
  for (Integer I = 0; I < LogForm->mmoLog->Lines()->Count(); ++I)
    Logged = Logged || LogForm->mmoLog->Lines()->Get(I).find("-> Could not start " + Program + "sibling") != String::npos;
  EXPECT_TRUE(Logged);
}
TEST_F(MainCommands, ThePlaceholderPictureCoversThePreviewWhileNothingPlays) {
  TMainForm& M = StartShown();
  TBitmap Placeholder;
  Placeholder.LoadFromFile(Program + "skin-laconic/preview.bmp");
  ASSERT_GT(Placeholder.Width(), 20);
  // A pixel of the picture's left edge, away from its centre mark, stretched over the panel.
  const TColor Expected = Placeholder.Canvas()->Pixels(10, Placeholder.Height() / 2);
  const TPoint At = M.panPlayerArea->ClientToScreen(Point(10, M.panPlayerArea->Height() / 2));
  const vantrel::win::Surface Shot = S.Session.CaptureScreen();
  const uint32_t Pixel = Shot.Row(At.Y)[At.X];
  EXPECT_EQ(((Pixel >> 16) & 0xFF) | (Pixel & 0xFF00) | ((Pixel & 0xFF) << 16), static_cast<uint32_t>(Expected));
  EXPECT_NE(Pixel & 0xFFFFFF, 0u);  // not the player's black window
}

TEST_F(MainCommands, SettingsOkReestimatesEveryEntry) {
  TMainForm& M = StartShown();
  AddEntries(M, {vantrel::test::FixturePath("v.mp4"), vantrel::test::FixturePath("probe-title.mp3")});
  ASSERT_EQ(MainUnit().VideoFiles.size(), 2u);
  for (TVideoFile& E : MainUnit().VideoFiles) E.EstimatedSize = -5;  // stale
  Application->OnIdle = [](TObject*, Boolean& Done) {
    Done = true;
    for (Integer I = 0; I < Screen->FormCount(); ++I)
      if (auto* F = dynamic_cast<Tsettingsform*>(Screen->Forms(I)); F && F->Visible() && F->ModalResult() == mrNone)
        F->spSkinButton1Click(F->spSkinButton1);
  };
  const TPoint Advanced = vantrel::uitest::CentreOf(M.SettingsButton);
  S.Session.Press(Advanced.X, Advanced.Y);
  S.Session.PumpUntilIdle();
  S.Session.Release(Advanced.X, Advanced.Y);
  S.Session.PumpUntilIdle();
  for (const TVideoFile& E : MainUnit().VideoFiles) {
    SCOPED_TRACE(E.Source);
    EXPECT_GT(E.EstimatedSize, 0);
  }
}
