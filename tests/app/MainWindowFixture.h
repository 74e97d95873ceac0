// A started application in a scratch program folder and home: the skin and the catalogue
// copied from the built program's folder (a test may remove or replace any file), the
// documents and settings in the scratch home.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "app/main.h"
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
  vantrel::app::TMainForm& Start() {
    vantrel::app::CreateApplicationForms(Program);
    Main = dynamic_cast<vantrel::app::TMainForm*>(Application->MainForm());
    EXPECT_NE(Main, nullptr);
    return *Main;
  }
  std::string Documents() const { return Home + "/Documents"; }
  void RemoveProgramFile(const std::string& Name) { std::filesystem::remove(Program + Name); }

  test::TTempDir Scratch;
  std::string Home;
  std::string Program;
  ScopedEnv HomeEnv;
  ScopedEnv ConfigEnv;
  uitest::FormsSession S;
  vantrel::app::TMainForm* Main = nullptr;
};

}  // namespace vantrel::apptest
