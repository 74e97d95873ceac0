// The main window shown with a stub file list and its player on a private SDL copy with
// SDL's dummy drivers, and a wait that serves the player's main-thread calls and the
// window messages.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <functional>

#include "app/main.h"
#include "media/FFPlay.h"
#include "platform/rtl/Threads.h"
#include "tests/app/FileListStub.h"
#include "tests/media/PlayerTestKit.h"
#include "tests/support/TempDir.h"
#include "tests/support/UiFormsFixture.h"

namespace vantrel::apptest {

class PreviewWindowTest : public testing::Test {
 protected:
  void SetUp() override {
    test::UseHeadlessSDL();
    app::MainUnit().ErrorReports.clear();
    app::MainUnit().ActionLog.clear();
    app::MainUnit().JpegSnapshotCounter = app::MainUnit().BmpSnapshotCounter = 1;  // as at start-up
    Application->CreateForm(Main);
    Main->FileList = &Files;
    Main->SetBounds(0, 0, 800, 480);
    Main->Show();
    S.Session.PumpUntilIdle();
    ASSERT_TRUE(app::LoadPreviewSdl(app::MainUnit(), *Main->DODodeve, Temp.Path(), test::SystemSDLFile()));
  }
  void TearDown() override {
    if (Main && Main->DODodeve) Main->DODodeve->Stop(true);
  }
  // Serves the player's main-thread calls and the window messages until Pred holds.
  bool PumpUntil(const std::function<bool()>& Pred, double Seconds = 20) {
    const auto End = std::chrono::steady_clock::now() + std::chrono::duration<double>(Seconds);
    while (!Pred()) {
      if (std::chrono::steady_clock::now() > End) return false;
      CheckSynchronize(10);
      S.Session.PumpUntilIdle();
    }
    return true;
  }
  uitest::FormsSession S;
  test::TTempDir Temp;
  StubFileList Files;
  app::TMainForm* Main = nullptr;
};

}  // namespace vantrel::apptest
