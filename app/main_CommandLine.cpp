// The Tools menu by the command line: without a sibling program to switch to it opens the
// events log, with one it starts that program and closes this one.
#include "app/log.h"
#include "app/main.h"
#include "platform/rtl/FileUtils.h"
#include "platform/win/Shell.h"

namespace vantrel::app {

String SiblingProgramArg(const String& ProgramFolder, const String& FirstArg) {
  // Only the plain name of a file next to the program may be started.
  if (FirstArg.empty() || FirstArg.find('/') != String::npos || FirstArg == "." || FirstArg == "..")
    return String();
  return FileExists(IncludeTrailingPathDelimiter(ProgramFolder) + FirstArg) ? FirstArg : String();
}

void TMainForm::ApplyCommandLine(const String& FirstArg) {
  CommandLineArg = SiblingProgramArg(ProgramFolder, FirstArg);
  if (!CommandLineArg.empty()) return;
  ToolsMenuItem->SetCaption("Tools");
  EventsLogMenuItem->SetCaption("Events Log");
  EventsLogMenuItem->OnClick = [this](TObject* Sender) { MenuClickEventsLog(Sender); };
}

void TMainForm::MenuClickEventsLog(TObject*) {
  if (LogForm) LogForm->ShowModal();
}

void TMainForm::EventsLogMenuItemClick(TObject*) {
  const String Sibling = IncludeTrailingPathDelimiter(ProgramFolder) + CommandLineArg;
  ShellExecute(nullptr, nullptr, Sibling.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
  Close();
}

}  // namespace vantrel::app
