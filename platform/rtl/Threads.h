// Threads and calls into the main (GUI) thread. Worker threads hand methods to the
// main thread with Synchronize/CallInMainThread (blocking) or Queue (not blocking);
// the main thread runs them in CheckSynchronize, which the message loop calls when the
// wake-up hook tells it something was queued.
#pragma once

#include <atomic>
#include <exception>
#include <functional>
#include <thread>

#include "platform/rtl/Classes.h"
#include "platform/rtl/SyncObjs.h"
#include "platform/rtl/Types.h"

using TThreadID = Cardinal;

// The kernel's id of the calling thread (gettid).
TThreadID GetCurrentThreadId();
// The process's main thread (the one that started the program) unless the window
// system named another with SetMainThreadID.
TThreadID MainThreadID();
void SetMainThreadID(TThreadID ID);
bool IsMainThread();

// Runs Method on the main thread and waits for it; called on the main thread, runs it
// at once. An exception of Method is raised again in the calling thread.
void CallInMainThread(const TThreadMethod& Method);
// Main thread only (else EThread): waits up to TimeoutMs for queued calls, then runs
// the calls queued so far, in order. Returns whether it ran any. An exception of a
// Queue'd call leaves CheckSynchronize (the calls after it stay queued).
bool CheckSynchronize(Cardinal TimeoutMs = 0);
// Called (on the queuing thread) each time a call is queued for the main thread, so a
// message loop blocked elsewhere can wake and call CheckSynchronize. Empty: none.
void SetMainThreadWakeup(std::function<void()> Wakeup);
// Waits for Event in steps of StepMs, serving queued calls between the steps when
// called on the main thread; TimeoutMs in all (INFINITE: for ever).
TWaitResult WaitServingMainThread(TEvent& Event, Cardinal TimeoutMs, Cardinal StepMs = 10);

// A thread object. Derive, override Execute, and make it with Create<T>(...) (or
// T::Create): a thread not created suspended starts in AfterConstruction, once the
// object is whole. Free it with Free/TOwned: freeing a running thread terminates it
// and waits for it (serving main-thread calls when freed on the main thread).
class TThread : public TObject {
  VANTREL_CLASS(TThread)

  explicit TThread(bool CreateSuspended);
  ~TThread() override;

  void AfterConstruction() override;
  void BeforeDestruction() override;

  // Starts a thread made suspended; EThread "Cannot call Start on a running or
  // terminated thread" when it already started.
  void Start();
  // Starts the thread when it has not started yet.
  void Resume();
  // Asks Execute to stop: sets Terminated.
  void Terminate();
  bool Terminated() const { return FTerminated.load(); }
  // Waits until the thread ends and returns ReturnValue; on the main thread it keeps
  // running queued calls meanwhile, so a thread that Synchronizes cannot deadlock it.
  // EThread when called from the thread itself or on a FreeOnTerminate thread.
  Integer WaitFor();

  bool FreeOnTerminate() const { return FFreeOnTerminate.load(); }
  void SetFreeOnTerminate(bool Value) { FFreeOnTerminate.store(Value); }
  TThreadID ThreadID() const { return FThreadID.load(); }
  bool Started() const { return FStarted; }
  bool Finished() const { return FFinished.load(); }
  Integer ReturnValue() const { return FReturnValue.load(); }
  // The exception that escaped Execute (or OnTerminate), kept; null when none.
  std::exception_ptr FatalException() const { return FFatalException; }

  // Runs on the main thread (through Synchronize) after Execute.
  TNotifyEvent OnTerminate;

  // Blocking and non-blocking calls into the main thread, done at once on the main
  // thread. Calls queued for AThread are dropped when it is freed.
  static void Synchronize(TThread* AThread, const TThreadMethod& Method);
  static void Queue(TThread* AThread, const TThreadMethod& Method);
  // Drops the not yet run Queue'd calls of AThread.
  static void RemoveQueuedEvents(TThread* AThread);
  static void Sleep(Cardinal Ms);

  void Synchronize(const TThreadMethod& Method) { Synchronize(this, Method); }
  void Queue(const TThreadMethod& Method) { Queue(this, Method); }

 protected:
  virtual void Execute() = 0;
  // Runs OnTerminate through Synchronize.
  virtual void DoTerminate();
  void SetReturnValue(Integer Value) { FReturnValue.store(Value); }

 private:
  void Run();
  void WaitUntilFinished(bool Destroying);
  void StopAndJoin();

  std::thread FThread;
  bool FCreateSuspended;
  bool FStarted = false;
  std::atomic<bool> FTerminated{false};
  std::atomic<bool> FFinished{false};
  std::atomic<bool> FFreeOnTerminate{false};
  std::atomic<TThreadID> FThreadID{0};
  std::atomic<Integer> FReturnValue{0};
  std::exception_ptr FFatalException;  // written by the thread before FFinished
  bool FRunDone = false;  // the thread's work is over; guarded by the main-call queue's lock
};
