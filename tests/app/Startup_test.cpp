// Start-up: the eleven windows in their order, the main window's shape, and its creation
// steps run once the error and log windows exist.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/errordlg.h"
#include "app/log.h"
#include "app/main.h"
#include "tests/app/MainWindowFixture.h"

using namespace vantrel::app;

namespace {

// In a scratch program folder and home.
class Startup : public vantrel::apptest::MainWindowTest {};

}  // namespace

TEST_F(Startup, TheElevenWindowsAreMadeInOrderBeforeTheMainWindowsSteps) {
  Start();
  std::vector<std::string> Classes;
  for (Integer I = 0; I < Screen->FormCount(); ++I) Classes.push_back(Screen->Forms(I)->ClassName());
  const std::vector<std::string> Expected = {"TMainForm",  "Tproform",   "Tsettingsform", "TClipForm",
                                             "TCropForm",  "TLogForm",   "TConvForm",     "TAboutForm",
                                             "TFileInfoForm", "TErrorForm", "TSurveyForm"};
  EXPECT_EQ(Classes, Expected);
  auto* Main = dynamic_cast<TMainForm*>(Application->MainForm());
  ASSERT_NE(Main, nullptr);
  EXPECT_EQ(Main->Caption(), "Vantrel");
  EXPECT_EQ(Application->Title(), "Vantrel");
  EXPECT_EQ(Main->ClientWidth(), 792);
  EXPECT_EQ(Main->ClientHeight(), 449);
  EXPECT_NE(LogForm, nullptr);
  EXPECT_NE(ErrorForm, nullptr);
  ASSERT_TRUE(MainUnit().MediaLogHistory);
  EXPECT_EQ(MainUnit().MediaLogHistory->Get(0), "FFLOGGER HISTORY:");
  // The main window's logger feeds the history.
  Main->FFLogger->SetTriggerEventInMainThread(false);
  Main->FFLogger->LogAVLine(1234, 24, "x");  // FFmpeg's warning level
  EXPECT_EQ(MainUnit().MediaLogHistory->Get(MainUnit().MediaLogHistory->Count() - 1), "#1234.4: x");
}
