// A started application in a scratch program folder and home: the skin and the catalogue
// copied from the built program's folder (a test may remove or replace any file), the
// documents and settings in the scratch home.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "app/errordlg.h"
#include "app/log.h"
#include "app/main.h"
#include "platform/ui/Timers.h"
#include "platform/win/Shell.h"
#include "skin/controls/SkinCtrls.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestPaths.h"
#include "tests/support/UiFormsFixture.h"

namespace vantrel::apptest {

// Sets an environment variable for the fixture's lifetime.
class ScopedEnv {
 public:
  ScopedEnv(const char* Name, const std::string& Value) : FName(Name) {
    if (const char* Old = std::getenv(Name)) FOld = Old;
    setenv(Name, Value.c_str(), 1);
  }
  ~ScopedEnv() {
    if (FOld)
      setenv(FName, FOld->c_str(), 1);
    else
      unsetenv(FName);
  }
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  const char* FName;
  std::optional<std::string> FOld;
};

class MainWindowTest : public testing::Test {
 protected:
  MainWindowTest()
      : Home(Scratch.File("home")),
        Program(Scratch.File("program") + "/"),
        HomeEnv("HOME", Home),
        ConfigEnv("XDG_CONFIG_HOME", Home + "/.config") {
    auto L = std::make_unique<win::RecordingLauncher>();
    Launcher = L.get();
    S.Session.Manager().Shell().SetLauncher(std::move(L));
    namespace fs = std::filesystem;
    fs::create_directories(Home);
    const std::string Bin = test::BinDir() + "/";
    fs::create_directories(Program);
    fs::copy(Bin + "skin-laconic", Program + "skin-laconic", fs::copy_options::recursive);
    fs::copy(Bin + "video-converter-profiles", Program + "video-converter-profiles",
             fs::copy_options::recursive);
    vantrel::app::MainUnit() = vantrel::app::TMainUnitState{};
  }
  ~MainWindowTest() override { vantrel::app::MainUnit() = vantrel::app::TMainUnitState{}; }

  // Makes the eleven windows and runs the main window's creation steps.
  vantrel::app::TMainForm& Start(const std::optional<String>& FirstArg = String()) {
    vantrel::app::CreateApplicationForms(Program, FirstArg);
    Main = dynamic_cast<vantrel::app::TMainForm*>(Application->MainForm());
    EXPECT_NE(Main, nullptr);
    return *Main;
  }
  // Every "Error!" window that shows is cancelled (or sent); its text is kept.
  void CancelErrorReports(bool Send = false) {
    Answer = CreateOwned<TTimer>(nullptr);
    Answer->SetInterval(20);
    Answer->OnTimer = [this, Send](TObject*) {
      using vantrel::app::ErrorForm;
      if (!ErrorForm || !ErrorForm->Visible() || ErrorForm->ModalResult() != mrNone) return;
      ErrorTexts.push_back(ErrorForm->lblErrorText->Caption());
      const TPoint P = uitest::CentreOf(Send ? ErrorForm->PreviewButton : ErrorForm->spSkinButton1);
      S.Session.Press(P.X, P.Y);
      S.Session.Release(P.X, P.Y);
    };
  }
  // The addresses and files the shell was asked to open.
  std::vector<std::string> Opened() const {
    std::vector<std::string> R;
    for (const auto& C : Launcher->Calls) R.push_back(C.Argv.back());
    return R;
  }
  std::string Documents() const { return Home + "/Documents"; }
  void RemoveProgramFile(const std::string& Name) { std::filesystem::remove(Program + Name); }

  test::TTempDir Scratch;
  std::string Home;
  std::string Program;
  ScopedEnv HomeEnv;
  ScopedEnv ConfigEnv;
  uitest::FormsSession S;
  win::RecordingLauncher* Launcher = nullptr;
  TOwned<TTimer> Answer;
  std::vector<std::string> ErrorTexts;
  vantrel::app::TMainForm* Main = nullptr;
};

}  // namespace vantrel::apptest
