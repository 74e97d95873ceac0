// Starting the converter in a scratch program folder and home: what the main window shows
// after its creation steps, how a missing file or a failing library is reported, the Tools
// menu by the command line, and closing.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "media/FFEncode.h"
#include "media/FFLoad.h"
#include "platform/display/HeadlessPng.h"
#include "platform/rtl/FileUtils.h"
#include "platform/rtl/Registry.h"
#include "platform/ui/PngImage.h"
#include "platform/win/WindowManager.h"
#include "skin/controls/SkinBoxCtrls.h"
#include "skin/controls/SkinCtrls.h"
#include "skin/controls/SkinExCtrls.h"
#include "skin/dialogs/SkinShellDialogs.h"
#include "skin/forms/FormSkin.h"
#include "skin/forms/SkinHint.h"
#include "skin/forms/SkinMenus.h"
#include "app/MakerService.h"
#include "tests/app/MainWindowFixture.h"
#include "tests/support/TempDir.h"

using namespace vantrel::app;
using vantrel::apptest::MainWindowTest;

namespace {

// The colour of the first opaque pixel of a PNG file, as the screen holds it (0xRRGGBB).
uint32_t FirstOpaqueColour(const std::string& File) {
  TPngImage Png;
  Png.LoadFromFile(File);
  for (Integer Y = 0; Y < Png.Height(); ++Y)
    for (Integer X = 0; X < Png.Width(); ++X)
      if (Png.PixelAlpha(X, Y) == 255) {
        const TColor C = Png.Pixels(X, Y);
        return ((C & 0xFF) << 16) | (C & 0xFF00) | ((C >> 16) & 0xFF);
      }
  return 0xFFFFFFFF;
}

// How many pixels of the screen rectangle R hold Colour.
int CountColour(const vantrel::win::Surface& Screen, const TRect& R, uint32_t Colour) {
  int N = 0;
  for (int Y = R.Top; Y < R.Bottom; ++Y)
    for (int X = R.Left; X < R.Right; ++X)
      if ((Screen.Row(Y)[X] & 0xFFFFFF) == Colour) ++N;
  return N;
}

TRect ScreenRectOf(TControl* C) {
  const TPoint P = C->ClientToScreen(Point(0, 0));
  return Rect(P.X, P.Y, P.X + C->Width(), P.Y + C->Height());
}

}  // namespace

TEST_F(MainWindowTest, AStartShowsPicturesProfileOutputFolderLogAndLoadsTheLibraries) {
  TMainForm& M = Start();
  M.Show();
  S.Session.PumpUntilIdle();
  // The add button draws open.png, and open_over.png under the mouse.
  const uint32_t Normal = FirstOpaqueColour(Program + "skin-laconic/open.png");
  const uint32_t Hover = FirstOpaqueColour(Program + "skin-laconic/open_over.png");
  ASSERT_NE(Normal, Hover);
  const TRect Button = ScreenRectOf(M.AddButton);
  auto Shot = S.Session.CaptureScreen();
  EXPECT_GT(CountColour(Shot, Button, Normal), 50);
  EXPECT_EQ(CountColour(Shot, Button, Hover), 0);
  S.Session.Move((Button.Left + Button.Right) / 2, (Button.Top + Button.Bottom) / 2);
  S.Session.PumpUntilIdle();
  Shot = S.Session.CaptureScreen();
  EXPECT_GT(CountColour(Shot, Button, Hover), 50);
  EXPECT_EQ(CountColour(Shot, Button, Normal), 0);
  vantrel::display::SavePng(Shot, testing::TempDir() + "MainWindowHover.png");

  // The first format of the catalogue, the output folder under the documents.
  EXPECT_EQ(M.lblProfile->Caption(), "MP4 H.264/AAC");
  const std::string Output = Documents() + "/Quillmoor/Vantrel/Output";
  EXPECT_EQ(M.edDestinationFolder->Text(), Output);
  EXPECT_TRUE(DirectoryExists(Output));
  EXPECT_TRUE(DirectoryExists(Documents() + "/Quillmoor/Vantrel/Snapshots"));
  EXPECT_EQ(MainUnit().SnapshotFolder, Documents() + "/Quillmoor/Vantrel/Snapshots");
  EXPECT_EQ(MainUnit().JpegSnapshotCounter, 1);
  EXPECT_EQ(MainUnit().BmpSnapshotCounter, 1);
  EXPECT_TRUE(DirectoryExists(MainUnit().TempFolder));
  EXPECT_EQ(MainUnit().MediaLogHistory->Get(0), "FFLOGGER HISTORY:");
  EXPECT_EQ(M.dlgopen->Filter(), BuildOpenDialogFilter(MainUnit().AllFormats));
  // The program's own WebM outputs, from the catalogue, are among the supported files.
  EXPECT_NE(M.dlgopen->Filter().substr(0, M.dlgopen->Filter().find("|Video Formats|")).find("*.webm;"), String::npos);
  EXPECT_EQ(M.dlgopen->InitialDir(), Home + "/Videos");
  EXPECT_TRUE(DirectoryExists(Home + "/Videos"));
  // The libraries' load runs on while the window shows; adding files waits for it.
  M.WaitForMediaLibraries();
  EXPECT_TRUE(M.Tarnwell->AVLibLoaded());
  EXPECT_TRUE(M.GettingStartedPanel->Visible());
  EXPECT_TRUE(ErrorTexts.empty());
  // Every window of the application draws with the main window's skin.
  EXPECT_EQ(M.spSkinMainMenuBar1->SkinData(), M.spSkinData1);
  EXPECT_TRUE(M.spSkinHint1->Active());
  EXPECT_EQ(M.ClientWidth(), 792);
  EXPECT_EQ(M.ClientHeight(), 449);
  // (The other windows take it when they first show; here as they would then.)
  for (Integer I = 0; I < Screen->FormCount(); ++I) {
    TForm* F = Screen->Forms(I);
    SCOPED_TRACE(F->ClassName());
    auto* Frame = dynamic_cast<TspFormSkin*>(F->FindComponent("spFormSkin1"));
    if (!Frame) {  // the events log has no frame component of its own
      EXPECT_STREQ(F->ClassName(), "TLogForm");
      continue;
    }
    M.BindWindowSkin(F);
    EXPECT_EQ(Frame->SkinData(), M.spSkinData1);
    // The skin's borders leave the client size the window asks for.
    EXPECT_EQ(F->ClientWidth(), Frame->ClientWidth());
    EXPECT_EQ(F->ClientHeight(), Frame->ClientHeight());
  }
}

TEST_F(MainWindowTest, WithoutTheProfileFileTheReportShowsAndStartUpGoesOn) {
  RemoveProgramFile("video-converter-profiles/Profiles.dat");
  CancelErrorReports();
  TMainForm& M = Start();
  EXPECT_EQ(ErrorTexts, (std::vector<std::string>{"Error loading profiles"}));
  ASSERT_EQ(MainUnit().Profiles.size(), 1u);
  EXPECT_EQ(MainUnit().Profiles[0].Title, "All Profiles");
  // The later steps ran: folders, formats, libraries.
  EXPECT_FALSE(MainUnit().AllFormats.empty());
  EXPECT_EQ(M.edDestinationFolder->Text(), Documents() + "/Quillmoor/Vantrel/Output");
  M.WaitForMediaLibraries();
  EXPECT_TRUE(M.Tarnwell->AVLibLoaded());
}

TEST_F(MainWindowTest, AMissingButtonPictureStopsTheStepsWithTheDefaultErrorBox) {
  RemoveProgramFile("skin-laconic/convert.png");
  TMainForm& M = Start();
  ASSERT_EQ(S.Boxes.size(), 1u);
  EXPECT_NE(S.Boxes[0].find("convert.png"), std::string::npos) << S.Boxes[0];
  // No catalogue, no folders; the main window still shows.
  EXPECT_TRUE(MainUnit().Profiles.empty());
  EXPECT_TRUE(MainUnit().AllFormats.empty());
  EXPECT_FALSE(DirectoryExists(Documents() + "/Quillmoor"));
  M.Show();
  S.Session.PumpUntilIdle();
  EXPECT_TRUE(M.Visible());
}

TEST_F(MainWindowTest, WithoutTheGettingStartedPictureItsPanelIsHidden) {
  RemoveProgramFile("skin-laconic/gettingstarted.bmp");
  TMainForm& M = Start();
  EXPECT_FALSE(M.GettingStartedPanel->Visible());
  EXPECT_FALSE(MainUnit().AllFormats.empty());
}

TEST_F(MainWindowTest, AFailingLibraryIsReportedWithItsMarkAndLogged) {
  std::filesystem::create_directories(Program + "LibAV");
  const std::string Stub = Program + "LibAV/" + vantrel::media::FFLoader().GetLibraryFileName(vantrel::media::avUtil);
  vantrel::test::WriteFileBytes(Stub, "not a library");
  CancelErrorReports(/*Send=*/true);
  TMainForm& M = Start();
  // The failure is reported once the load has ended.
  M.WaitForMediaLibraries();
  ASSERT_FALSE(M.Tarnwell->AVLibLoaded());
  const String Text = M.Tarnwell->LastErrMsg();
  EXPECT_NE(Text.find("libavutil"), String::npos) << Text;
  EXPECT_EQ(ErrorTexts, (std::vector<std::string>{Text}));
  // The events log ends with the stamped text; the mail link (no relay) names the mark.
  const String Last = LogForm->mmoLog->Lines()->Get(LogForm->mmoLog->Lines()->Count() - 1);
  ASSERT_GE(Last.size(), 11u);
  EXPECT_EQ(Last.substr(2, 1) + Last.substr(5, 1), "::");
  EXPECT_EQ(Last.substr(8), "-> " + Text);
  const std::vector<std::string> Opened = this->Opened();
  ASSERT_EQ(Opened.size(), 2u);  // the mail link, then the recommendation page
  EXPECT_EQ(Opened[0].rfind("mailto:", 0), 0u);
  EXPECT_NE(Opened[0].find(CLM_FFAVLibLoad), std::string::npos) << Opened[0];
}

TEST_F(MainWindowTest, TheToolsMenuFollowsTheFirstArgument) {
  vantrel::test::WriteFileBytes(Program + "sibling", "");
  vantrel::test::WriteFileBytes(Scratch.File("outside"), "");
  struct Case {
    const char* Arg;
    const char* Menu;
    const char* Item;
  } Cases[] = {
      {"", "Tools", "Events Log"},
      {"sibling", "Suite ", "Vuduzo Rariviror"},
      {"../outside", "Tools", "Events Log"},
      {"missing", "Tools", "Events Log"},
      {"skin-laconic", "Tools", "Events Log"},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Arg);
    MainUnit() = TMainUnitState{};
    TMainForm& M = Start(String(C.Arg));
    EXPECT_EQ(M.ToolsMenuItem->Caption(), C.Menu);
    EXPECT_EQ(M.EventsLogMenuItem->Caption(), C.Item);
    while (Screen->FormCount() > 0) delete Screen->Forms(0);
  }
}

TEST_F(MainWindowTest, EventsLogOpensTheLogModally) {
  TMainForm& M = Start(String());
  M.Show();
  bool SeenModal = false;
  TOwned<TTimer> Close = CreateOwned<TTimer>(nullptr);
  Close->SetInterval(20);
  Close->OnTimer = [&](TObject*) {
    if (!LogForm->Visible()) return;
    SeenModal = (LogForm->FormState().Contains(fsModal));
    LogForm->SetModalResult(mrCancel);
  };
  M.EventsLogMenuItem->Click();
  EXPECT_TRUE(SeenModal);
  EXPECT_FALSE(LogForm->Visible());
}

TEST_F(MainWindowTest, TheSiblingItemStartsItAndClosingSavesAndOpensTheExitPage) {
  vantrel::test::WriteFileBytes(Program + "sibling", "");
  TMainForm& M = Start(String("sibling"));
  M.Show();
  S.Session.PumpUntilIdle();
  ASSERT_TRUE(GetWindowLong(M.Handle(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
  M.EventsLogMenuItem->Click();
  S.Session.PumpUntilIdle();
  const std::vector<std::string> Opened = this->Opened();
  ASSERT_EQ(Opened.size(), 2u);
  EXPECT_EQ(Opened[0], Program + "sibling");
  EXPECT_EQ(Opened[1], std::string(RecommendationPage));
  EXPECT_FALSE(GetWindowLong(M.Handle(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
  EXPECT_TRUE(S.Session.QuitCode.has_value());  // the message loop ends
  TRegistry Reg;
  ASSERT_TRUE(Reg.OpenKeyReadOnly(SettingsKeyPath));
  EXPECT_EQ(Reg.ReadString("OutputPath"), Documents() + "/Quillmoor/Vantrel/Output");
}

TEST_F(MainWindowTest, AnOutputFolderThatCannotBeMadeLeavesTheFieldEmpty) {
  std::filesystem::create_directories(Documents() + "/Quillmoor/Vantrel");
  vantrel::test::WriteFileBytes(Documents() + "/Quillmoor/Vantrel/Output", "a file in the way");
  TMainForm& M = Start();
  EXPECT_EQ(M.edDestinationFolder->Text(), "");
  // The other folder is made all the same.
  EXPECT_EQ(MainUnit().SnapshotFolder, Documents() + "/Quillmoor/Vantrel/Snapshots");
  M.WaitForMediaLibraries();
  EXPECT_TRUE(M.Tarnwell->AVLibLoaded());
}
