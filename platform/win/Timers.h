// Window timers and time on the GUI thread's clock. A due timer becomes a WM_TIMER when
// the queue has nothing else; its next due time counts from that moment, so a slow
// handler never makes a timer fire in bursts. Ties fire in the order the timers were set.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/win/Messages.h"

namespace vantrel::win {

class TimerTable {
 public:
  struct Timer {
    HWND Wnd;
    UINT_PTR Id;
    UINT Elapse;
    TIMERPROC Proc;
    uint64_t Due;
    uint64_t Seq;
  };

  // Returns the timer's id (a new one for Wnd 0).
  UINT_PTR Set(HWND Wnd, UINT_PTR Id, UINT Elapse, TIMERPROC Proc, uint64_t Now);
  bool Kill(HWND Wnd, UINT_PTR Id);
  void KillAll(HWND Wnd);
  // The earliest timer due at Now that Accept takes (nullptr: none).
  template <typename Pred>
  Timer* NextDue(uint64_t Now, Pred Accept) {
    Timer* Best = nullptr;
    for (Timer& T : FTimers)
      if (T.Due <= Now && Accept(T) && (!Best || T.Due < Best->Due || (T.Due == Best->Due && T.Seq < Best->Seq)))
        Best = &T;
    return Best;
  }
  // The earliest due time of any timer, or NoDeadline.
  uint64_t EarliestDue() const;
  // Whether Proc is the callback of the timer (Wnd, Id).
  bool IsTimerProc(HWND Wnd, UINT_PTR Id, LPARAM Proc) const;
  bool Empty() const { return FTimers.empty(); }
  void Fired(Timer& T, uint64_t Now);

 private:
  std::vector<Timer> FTimers;
  uint64_t FSeq = 0;
  UINT_PTR FNextThreadTimer = 0x7FF0;
};

}  // namespace vantrel::win

constexpr UINT USER_TIMER_MINIMUM = 0x0000000A;
constexpr UINT USER_TIMER_MAXIMUM = 0x7FFFFFFF;

UINT_PTR SetTimer(HWND Wnd, UINT_PTR IDEvent, UINT Elapse, TIMERPROC TimerFunc);
BOOL KillTimer(HWND Wnd, UINT_PTR IDEvent);
// Milliseconds of the GUI thread's clock (real time on other threads). On a virtual
// clock each read while a message is being dispatched moves time on by 1 ms, so
// busy-waits on it end.
DWORD GetTickCount();
uint64_t GetTickCount64();
// On the GUI thread with a virtual clock: moves time on by Ms and yields briefly.
// Elsewhere a real sleep.
void Sleep(DWORD Ms);
// 500 ms.
UINT GetDoubleClickTime();
