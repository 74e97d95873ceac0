// Synchronisation objects of the class library: a recursive critical section, events
// (manual- or auto-reset) with timed waits, and a timed recursive mutex.
#pragma once

#include <condition_variable>
#include <mutex>

#include "platform/rtl/Types.h"

// Wait for ever.
constexpr Cardinal INFINITE = 0xFFFFFFFF;

enum TWaitResult { wrSignaled, wrTimeout, wrAbandoned, wrError, wrIOCompletion };

// Recursive: the thread that holds it may enter again. Usable with std::lock_guard.
class TCriticalSection {
 public:
  TCriticalSection() = default;
  TCriticalSection(const TCriticalSection&) = delete;
  TCriticalSection& operator=(const TCriticalSection&) = delete;

  void Enter() { FMutex.lock(); }
  void Leave() { FMutex.unlock(); }
  bool TryEnter() { return FMutex.try_lock(); }
  void Acquire() { Enter(); }
  void Release() { Leave(); }

  void lock() { Enter(); }
  void unlock() { Leave(); }
  bool try_lock() { return TryEnter(); }

 private:
  std::recursive_mutex FMutex;
};

// An event: signalled by SetEvent; a manual-reset event stays signalled until
// ResetEvent, an auto-reset event lets exactly one waiter through and resets itself.
class TEvent {
 public:
  explicit TEvent(bool ManualReset = true, bool InitialState = false)
      : FManualReset(ManualReset), FSignaled(InitialState) {}
  TEvent(const TEvent&) = delete;
  TEvent& operator=(const TEvent&) = delete;

  void SetEvent();
  void ResetEvent();
  // wrSignaled when the event is (or becomes) signalled within TimeoutMs, else
  // wrTimeout; a timeout of 0 only tests, INFINITE waits for ever.
  TWaitResult WaitFor(Cardinal TimeoutMs = INFINITE);
  bool ManualReset() const { return FManualReset; }

 private:
  const bool FManualReset;
  std::mutex FLock;  // guards FSignaled
  std::condition_variable FChanged;
  bool FSignaled;
};
using TSimpleEvent = TEvent;

// A recursive mutex with timed waits, owned by the thread that acquired it.
class TMutexTimed {
 public:
  TMutexTimed() = default;
  TMutexTimed(const TMutexTimed&) = delete;
  TMutexTimed& operator=(const TMutexTimed&) = delete;

  // wrSignaled once the calling thread owns the mutex (once more when it already
  // did), wrTimeout when TimeoutMs passed first.
  TWaitResult WaitFor(Cardinal TimeoutMs = INFINITE);
  void Acquire() { WaitFor(INFINITE); }
  // Gives up one level of ownership; raises ESyncObjectException when the calling
  // thread does not own the mutex.
  void Release();

  void lock() { Acquire(); }
  void unlock() { Release(); }
  bool try_lock() { return WaitFor(0) == wrSignaled; }

 private:
  std::mutex FLock;  // guards FOwner and FDepth
  std::condition_variable FFreed;
  Cardinal FOwner = 0;
  Cardinal FDepth = 0;
};
using TSyncMutex = TMutexTimed;
