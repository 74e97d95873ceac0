// TTimer on thread timers (no window): a table maps the running timer ids to their
// components, so a timer freed or re-armed inside its own OnTimer leaves nothing stale.
#include "platform/ui/Timers.h"

#include <unordered_map>

#include "platform/rtl/Format.h"
#include "platform/ui/Controls.h"
#include "platform/win/Timers.h"
#include "platform/win/WindowManager.h"

struct TTimerAccess {
  static void Fire(TTimer* T) { T->Timer(); }
};

namespace {

// GUI thread only: the running timers by thread-timer id.
std::unordered_map<UINT_PTR, TTimer*>& RunningTimers() {
  static std::unordered_map<UINT_PTR, TTimer*> Map;
  return Map;
}

void TimerProc(HWND, UINT, UINT_PTR Id, DWORD) {
  const auto It = RunningTimers().find(Id);
  if (It == RunningTimers().end()) return;
  TTimer* Timer = It->second;
  try {
    TTimerAccess::Fire(Timer);
  } catch (...) {
    ApplicationHandleException(Timer);
  }
}

}  // namespace

TTimer::TTimer(TComponent* AOwner) : TComponent(AOwner) { UpdateTimer(); }

TTimer::~TTimer() { StopTimer(); }

void TTimer::BeforeDestruction() {
  StopTimer();
  TComponent::BeforeDestruction();
}

void TTimer::SetEnabled(Boolean Value) {
  if (FEnabled == Value) return;
  FEnabled = Value;
  UpdateTimer();
}

void TTimer::SetInterval(Cardinal Value) {
  if (FInterval == Value) return;
  FInterval = Value;
  UpdateTimer();
}

void TTimer::StopTimer() {
  if (!FTimerId) return;
  RunningTimers().erase(FTimerId);
  KillTimer(nullptr, FTimerId);
  FTimerId = 0;
}

// Every change starts the period afresh, as a new timer does.
void TTimer::UpdateTimer() {
  StopTimer();
  if (!FEnabled || FInterval == 0 || ComponentState().Contains(csDestroying)) return;
  // Without a window system (a component made outside any GUI) there is nothing to run on.
  if (!vantrel::win::WindowManager::Instance()) return;
  const UINT_PTR Id = SetTimer(nullptr, 0, FInterval, &TimerProc);
  if (!Id) throw EOutOfResources("Not enough timers available");
  FTimerId = Id;
  RunningTimers()[Id] = this;
}

void TTimer::Timer() {
  if (OnTimer) OnTimer(this);
}
