// Modal loops on the headless session that wait in real time: while one lives, the
// application's idle step sleeps a moment and asks to be called again instead of letting
// the loop wait on the virtual clock, so work that other threads hand to the GUI thread
// (synchronized calls, posted messages) arrives as it would in the program. Past the
// deadline the test fails and OnDeadline may end the loop (close the modal form).
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <thread>

#include "platform/ui/Forms.h"

namespace vantrel::testsupport {

class RealTimeModal {
 public:
  explicit RealTimeModal(std::chrono::milliseconds Deadline = std::chrono::milliseconds(60000))
      : FEnd(std::chrono::steady_clock::now() + Deadline), FSaved(Application->OnIdle) {
    Application->OnIdle = [this](TObject*, Boolean& Done) {
      Done = false;
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
      if (OnStep) OnStep();
      if (FLate || std::chrono::steady_clock::now() < FEnd) return;
      FLate = true;
      ADD_FAILURE() << "RealTimeModal: the modal loop still runs at the deadline";
      if (OnDeadline) OnDeadline();
    };
  }
  ~RealTimeModal() { Application->OnIdle = FSaved; }
  RealTimeModal(const RealTimeModal&) = delete;
  RealTimeModal& operator=(const RealTimeModal&) = delete;

  // Runs at every idle step of a loop (the test's moves inside a modal dialog).
  std::function<void()> OnStep;
  std::function<void()> OnDeadline;

 private:
  std::chrono::steady_clock::time_point FEnd;
  TIdleEvent FSaved;
  bool FLate = false;
};

}  // namespace vantrel::testsupport
