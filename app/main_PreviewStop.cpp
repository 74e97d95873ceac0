// Stopping the preview before the main window closes or a dialog opens over it. Nothing
// plays until the main window has its preview player.
#include "app/main.h"

namespace vantrel::app {

void TMainForm::StopPreview() {}

}  // namespace vantrel::app
