// Pumping for the key tests: the application's loop hands every key message to its
// control first (IsControlKeyMsg) and translates and dispatches only what that left.
#pragma once

#include "platform/display/HeadlessSession.h"
#include "platform/ui/Controls.h"
#include "platform/win/MessageQueue.h"

namespace vantrel::uitest {

inline void PumpKeys(display::HeadlessSession& Session) {
  MSG M{};
  while (PeekMessage(&M, nullptr, 0, 0, PM_REMOVE)) {
    if (M.message == WM_QUIT) continue;
    if (IsControlKeyMsg(M)) continue;
    TranslateMessage(&M);
    DispatchMessage(&M);
  }
  Session.PumpUntilIdle();
}

}  // namespace vantrel::uitest
