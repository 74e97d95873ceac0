// Queued input handled as the application's own loop handles it: through
// Application->ProcessMessages (OnMessage and the key checks included), then the headless
// session goes idle (paints and idle work). The session's own pumps dispatch input without
// OnMessage.
#pragma once

#include "platform/display/HeadlessSession.h"
#include "platform/ui/Forms.h"

namespace vantrel::testsupport {

inline void PumpApplication(display::HeadlessSession& Session) {
  Application->ProcessMessages();
  Session.PumpUntilIdle();
}

}  // namespace vantrel::testsupport
