// Making the application's windows at start-up.
#include "app/about.h"
#include "app/clip.h"
#include "app/conversion.h"
#include "app/crop.h"
#include "app/errordlg.h"
#include "app/fileinfo.h"
#include "app/log.h"
#include "app/main.h"
#include "app/profilechoosing.h"
#include "app/settings.h"
#include "app/survey.h"
#include "platform/rtl/SysEnv.h"

namespace vantrel::app {

void CreateApplicationForms(const String& ProgramFolder, const std::optional<String>& FirstArg) {
  TMainForm* MainWindow = nullptr;
  Tproform* Chooser = nullptr;
  Tsettingsform* Settings = nullptr;
  TClipForm* Clip = nullptr;
  TCropForm* Crop = nullptr;
  TAboutForm* About = nullptr;
  TFileInfoForm* FileInfo = nullptr;
  TSurveyForm* Survey = nullptr;
  Application->CreateForm(MainWindow);
  Application->CreateForm(Chooser);
  Application->CreateForm(Settings);
  Application->CreateForm(Clip);
  Application->CreateForm(Crop);
  Application->CreateForm(LogForm);
  Application->CreateForm(ConvForm);
  Application->CreateForm(About);
  Application->CreateForm(FileInfo);
  Application->CreateForm(ErrorForm);
  Application->CreateForm(Survey);
  if (!ProgramFolder.empty()) MainWindow->ProgramFolder = IncludeTrailingPathDelimiter(ProgramFolder);
  MainWindow->CommandLineArg = FirstArg ? *FirstArg : ParamStr(1);
  // The steps report failures through the error and log windows, made above.
  try {
    MainWindow->FormCreate(MainWindow);
  } catch (...) {
    Application->HandleException(MainWindow, std::current_exception());
  }
}

}  // namespace vantrel::app
