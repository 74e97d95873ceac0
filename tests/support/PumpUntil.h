// Waiting in real time for something the GUI thread's work brings about: pumps window
// messages (paints included) and the calls queued for the main thread until a condition
// holds or a deadline passes. Works on the headless display as on a real one.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <thread>

#include "platform/rtl/Threads.h"
#include "platform/win/MessageQueue.h"

namespace vantrel::testsupport {

// True once Pred holds; false, with a test failure, when it still fails at the deadline.
inline bool PumpUntil(const std::function<bool()>& Pred,
                      std::chrono::milliseconds Deadline = std::chrono::milliseconds(5000)) {
  const auto End = std::chrono::steady_clock::now() + Deadline;
  for (;;) {
    MSG M;
    while (PeekMessage(&M, nullptr, 0, 0, PM_REMOVE)) {
      if (M.message == WM_QUIT) continue;
      TranslateMessage(&M);
      DispatchMessage(&M);
    }
    CheckSynchronize(0);
    if (Pred()) return true;
    if (std::chrono::steady_clock::now() > End) {
      ADD_FAILURE() << "PumpUntil: the condition still fails at the deadline";
      return false;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
}

// Pumps for Ms of real time (for things that must not happen).
inline void PumpFor(int Ms) {
  const auto End = std::chrono::steady_clock::now() + std::chrono::milliseconds(Ms);
  PumpUntil([&] { return std::chrono::steady_clock::now() > End; }, std::chrono::milliseconds(Ms + 5000));
}

}  // namespace vantrel::testsupport
