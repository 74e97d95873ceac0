// Closing the main window: no more drops, the preview stopped, the settings saved, the
// recommendation page.
#include "app/MakerService.h"
#include "app/main.h"
#include "platform/win/DragDrop.h"
#include "platform/win/Shell.h"

namespace vantrel::app {

void TMainForm::FormClose(TObject*, TCloseAction&) {
  DragAcceptFiles(Handle(), false);
  if (StopPreview) StopPreview();
  SaveSettings(MainUnit(), *this);
  ShellExecute(Handle(), "open", RecommendationPage, nullptr, nullptr, SW_SHOWNORMAL);
}

void TMainForm::Exit1Click(TObject*) { Close(); }

}  // namespace vantrel::app
