// Window timers and the GUI thread's time.
#include "platform/win/Timers.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include "platform/win/MessageQueue.h"
#include "platform/win/WindowManager.h"

namespace vantrel::win {

UINT_PTR TimerTable::Set(HWND Wnd, UINT_PTR Id, UINT Elapse, TIMERPROC Proc, uint64_t Now) {
  Elapse = std::clamp(Elapse, USER_TIMER_MINIMUM, USER_TIMER_MAXIMUM);
  auto It = std::find_if(FTimers.begin(), FTimers.end(),
                         [&](const Timer& T) { return T.Wnd == Wnd && T.Id == Id; });
  if (It == FTimers.end() && !Wnd) {
    Id = ++FNextThreadTimer;  // a thread timer gets a new id unless it names a live one
    It = FTimers.end();
  }
  if (It != FTimers.end()) {
    It->Elapse = Elapse;
    It->Proc = Proc;
    It->Due = Now + Elapse;
    It->Seq = ++FSeq;
  } else {
    FTimers.push_back({Wnd, Id, Elapse, Proc, Now + Elapse, ++FSeq});
  }
  return Id ? Id : 1;
}

bool TimerTable::Kill(HWND Wnd, UINT_PTR Id) {
  auto It = std::find_if(FTimers.begin(), FTimers.end(),
                         [&](const Timer& T) { return T.Wnd == Wnd && T.Id == Id; });
  if (It == FTimers.end()) return false;
  FTimers.erase(It);
  return true;
}

void TimerTable::KillAll(HWND Wnd) {
  std::erase_if(FTimers, [&](const Timer& T) { return T.Wnd == Wnd; });
}

uint64_t TimerTable::EarliestDue() const {
  uint64_t Best = NoDeadline;
  for (const Timer& T : FTimers) Best = std::min(Best, T.Due);
  return Best;
}

bool TimerTable::IsTimerProc(HWND Wnd, UINT_PTR Id, LPARAM Proc) const {
  return std::any_of(FTimers.begin(), FTimers.end(), [&](const Timer& T) {
    return T.Wnd == Wnd && T.Id == Id && T.Proc && reinterpret_cast<LPARAM>(T.Proc) == Proc;
  });
}

void TimerTable::Fired(Timer& T, uint64_t Now) { T.Due = Now + T.Elapse; }

}  // namespace vantrel::win

using vantrel::win::WindowManager;

UINT_PTR SetTimer(HWND Wnd, UINT_PTR IDEvent, UINT Elapse, TIMERPROC TimerFunc) {
  WindowManager* M = WindowManager::Instance();
  if (!M || !M->IsGuiThread()) {
    SetLastError(ERROR_WINDOW_OF_OTHER_THREAD);
    return 0;
  }
  if (Wnd && !M->FindOrFail(Wnd)) return 0;
  return M->Timers().Set(Wnd, IDEvent, Elapse, TimerFunc, M->GetClock().Now());
}

BOOL KillTimer(HWND Wnd, UINT_PTR IDEvent) {
  WindowManager* M = WindowManager::Instance();
  if (!M || !M->IsGuiThread()) return FALSE;
  if (M->Timers().Kill(Wnd, IDEvent)) return TRUE;
  SetLastError(ERROR_INVALID_PARAMETER);
  return FALSE;
}

uint64_t GetTickCount64() {
  if (!vantrel::win::OnGuiThread()) return vantrel::win::RealMilliseconds();
  WindowManager* M = WindowManager::Instance();
  vantrel::win::Clock& C = M->GetClock();
  const uint64_t T = C.Now();
  // A busy-wait on the tick count inside a handler must end under a virtual clock.
  if (C.IsVirtual() && M->InDispatch()) C.Advance(1);
  return T;
}

DWORD GetTickCount() { return static_cast<DWORD>(GetTickCount64()); }

void Sleep(DWORD Ms) {
  if (vantrel::win::OnGuiThread()) {
    vantrel::win::Clock& C = WindowManager::Instance()->GetClock();
    if (C.IsVirtual()) {
      C.Advance(Ms);
      std::this_thread::yield();
      return;
    }
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(Ms));
}

UINT GetDoubleClickTime() { return 500; }
