#include "platform/rtl/SyncObjs.h"

#include <chrono>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Threads.h"

namespace {

// Waits on Cond until Ready() holds or TimeoutMs passed; INFINITE never times out.
template <class Lock, class Pred>
bool WaitUntil(std::condition_variable& Cond, Lock& L, Cardinal TimeoutMs, Pred Ready) {
  if (TimeoutMs == INFINITE) {
    Cond.wait(L, Ready);
    return true;
  }
  return Cond.wait_for(L, std::chrono::milliseconds(TimeoutMs), Ready);
}

}  // namespace

void TEvent::SetEvent() {
  {
    std::lock_guard<std::mutex> L(FLock);
    FSignaled = true;
  }
  FChanged.notify_all();
}

void TEvent::ResetEvent() {
  std::lock_guard<std::mutex> L(FLock);
  FSignaled = false;
}

TWaitResult TEvent::WaitFor(Cardinal TimeoutMs) {
  std::unique_lock<std::mutex> L(FLock);
  if (!WaitUntil(FChanged, L, TimeoutMs, [this] { return FSignaled; })) return wrTimeout;
  if (!FManualReset) FSignaled = false;
  return wrSignaled;
}

TWaitResult TMutexTimed::WaitFor(Cardinal TimeoutMs) {
  const Cardinal Me = GetCurrentThreadId();
  std::unique_lock<std::mutex> L(FLock);
  if (!WaitUntil(FFreed, L, TimeoutMs, [&] { return FDepth == 0 || FOwner == Me; }))
    return wrTimeout;
  FOwner = Me;
  ++FDepth;
  return wrSignaled;
}

void TMutexTimed::Release() {
  {
    std::lock_guard<std::mutex> L(FLock);
    if (FDepth == 0 || FOwner != GetCurrentThreadId())
      throw ESyncObjectException("Attempt to release mutex not owned by caller");
    if (--FDepth > 0) return;
    FOwner = 0;
  }
  FFreed.notify_all();
}
