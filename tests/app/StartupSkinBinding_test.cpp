// The windows other than the main one take the skin when they first show: each first
// showing looks as it does when every window was bound to the skin at start-up.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "app/about.h"
#include "app/conversion.h"
#include "app/errordlg.h"
#include "app/fileinfo.h"
#include "app/log.h"
#include "app/main.h"
#include "app/profilechoosing.h"
#include "app/settings.h"
#include "platform/display/HeadlessPng.h"
#include "skin/forms/FormSkin.h"
#include "tests/app/MainWindowFixture.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestPaths.h"
#include "tests/support/UiFormsFixture.h"

using namespace vantrel::app;

namespace {

// A window's pixels as the screen shows them, with its place and size.
struct TWindowShot {
  TRect Bounds;
  std::vector<uint32_t> Pixels;
};

struct TDialogCase {
  const char* Name;
  std::function<TForm*()> Window;
};

// Every window but the main one. Trim and Edit show their frame and controls without a
// file to edit (no picture, which would differ from run to run); the survey window is
// never shown by the program, but takes the skin like the others if it is.
std::vector<TDialogCase> DialogCases() {
  auto FormOf = [](const char* Class) {
    return [Class]() -> TForm* {
      for (Integer I = 0; I < Screen->FormCount(); ++I)
        if (std::string(Screen->Forms(I)->ClassName()) == Class) return Screen->Forms(I);
      return nullptr;
    };
  };
  return {{"chooser", FormOf("Tproform")},        {"settings", FormOf("Tsettingsform")},
          {"trim", FormOf("TClipForm")},          {"edit", FormOf("TCropForm")},
          {"events log", FormOf("TLogForm")},     {"conversion", FormOf("TConvForm")},
          {"about", FormOf("TAboutForm")},        {"file information", FormOf("TFileInfoForm")},
          {"error report", FormOf("TErrorForm")}, {"survey", FormOf("TSurveyForm")}};
}

class StartupSkinBinding : public testing::Test {
 protected:
  StartupSkinBinding()
      : Home(Scratch.File("home")),
        Program(Scratch.File("program") + "/"),
        HomeEnv("HOME", Home),
        ConfigEnv("XDG_CONFIG_HOME", Home + "/.config") {
    namespace fs = std::filesystem;
    fs::create_directories(Home);
    fs::create_directories(Program);
    const std::string Bin = vantrel::test::BinDir() + "/";
    fs::copy(Bin + "skin-laconic", Program + "skin-laconic", fs::copy_options::recursive);
    fs::copy(Bin + "video-converter-profiles", Program + "video-converter-profiles", fs::copy_options::recursive);
  }

  // Starts the application in a session of its own and shows each dialog once, after the
  // main window; Prepare runs right after the start-up steps. The shots of the first
  // showings, in the order of DialogCases.
  std::vector<TWindowShot> FirstShowings(const std::function<void(TMainForm&)>& Prepare) {
    MainUnit() = TMainUnitState{};
    std::vector<TWindowShot> Shots;
    {
      vantrel::uitest::FormsSession S;
      CreateApplicationForms(Program, String());
      auto* Main = dynamic_cast<TMainForm*>(Application->MainForm());
      EXPECT_NE(Main, nullptr);
      if (!Main) return Shots;
      // One case for each window besides the main one.
      EXPECT_EQ(DialogCases().size() + 1, static_cast<size_t>(Screen->FormCount()));
      Prepare(*Main);
      Main->Show();
      S.Session.PumpUntilIdle();
      Main->WaitForMediaLibraries();
      // The chooser opens on "All Profiles", whose formats need its scroll bar.
      EXPECT_EQ(MainUnit().Profiles.back().Title, "All Profiles");
      MainUnit().CurrentProfileInd = static_cast<Integer>(MainUnit().Profiles.size()) - 1;
      for (const TDialogCase& C : DialogCases()) {
        TForm* W = C.Window();
        EXPECT_NE(W, nullptr) << C.Name;
        if (!W) continue;
        W->Show();
        S.Session.PumpUntilIdle();
        const vantrel::win::Surface Screen = S.Session.CaptureScreen();
        TWindowShot Shot{W->BoundsRect(), {}};
        for (Integer Y = std::max(0, Shot.Bounds.Top); Y < std::min(Shot.Bounds.Bottom, Screen.Height()); ++Y)
          for (Integer X = std::max(0, Shot.Bounds.Left); X < std::min(Shot.Bounds.Right, Screen.Width()); ++X)
            Shot.Pixels.push_back(Screen.Row(Y)[X] & 0xFFFFFF);
        vantrel::display::SavePng(Screen, testing::TempDir() + "FirstShowing-" + C.Name + ".png");
        Shots.push_back(std::move(Shot));
        W->Hide();
        S.Session.PumpUntilIdle();
      }
    }
    MainUnit() = TMainUnitState{};
    return Shots;
  }

  vantrel::test::TTempDir Scratch;
  std::string Home;
  std::string Program;
  vantrel::apptest::ScopedEnv HomeEnv;
  vantrel::apptest::ScopedEnv ConfigEnv;
};

}  // namespace

TEST_F(StartupSkinBinding, EachDialogsFirstShowingLooksAsWithTheSkinBoundAtStartUp) {
  bool NoneBoundBeforeShowing = true;
  const std::vector<TWindowShot> Late = FirstShowings([&](TMainForm& Main) {
    // Only the main window's frame has the skin before anything shows.
    for (Integer I = 0; I < Screen->FormCount(); ++I)
      if (auto* Frame = dynamic_cast<TspFormSkin*>(Screen->Forms(I)->FindComponent("spFormSkin1")))
        if (Screen->Forms(I) != &Main && Frame->SkinData()) NoneBoundBeforeShowing = false;
  });
  const std::vector<TWindowShot> Early = FirstShowings([](TMainForm& Main) {
    for (Integer I = 0; I < Screen->FormCount(); ++I) Main.BindWindowSkin(Screen->Forms(I));
  });
  EXPECT_TRUE(NoneBoundBeforeShowing);
  const std::vector<TDialogCase> Cases = DialogCases();
  ASSERT_EQ(Late.size(), Cases.size());
  ASSERT_EQ(Early.size(), Cases.size());
  for (size_t I = 0; I < Cases.size(); ++I) {
    SCOPED_TRACE(Cases[I].Name);
    EXPECT_EQ(Late[I].Bounds, Early[I].Bounds);
    // Each window reports on its own.
    if (Late[I].Pixels.size() != Early[I].Pixels.size()) {
      ADD_FAILURE() << "the first showing has another size";
      continue;
    }
    size_t Differing = 0;
    for (size_t P = 0; P < Late[I].Pixels.size(); ++P) Differing += Late[I].Pixels[P] != Early[I].Pixels[P];
    EXPECT_EQ(Differing, 0u);
    // A skinned window is not one plain colour.
    bool Varied = false;
    for (uint32_t P : Late[I].Pixels) Varied = Varied || P != Late[I].Pixels.front();
    EXPECT_TRUE(Varied);
  }
}
