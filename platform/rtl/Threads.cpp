#include "platform/rtl/Threads.h"

#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <deque>
#include <future>
#include <memory>
#include <mutex>
#include <system_error>

#include "platform/rtl/Format.h"

namespace {

// A call handed to the main thread.
struct TSyncCall {
  TThreadMethod Method;
  TThread* Thread = nullptr;  // whose Queue'd call this is (RemoveQueuedEvents)
  bool Blocking = false;      // a caller waits for Done
  bool Done = false;          // guarded by TMainQueue::Lock
  std::exception_ptr Error;   // of a blocking call, for its caller
};

struct TMainQueue {
  std::mutex Lock;  // guards Calls, TSyncCall::Done and TThread's end-of-run flag
  // Signalled when a call is queued, a blocking call is done, or a thread ends.
  std::condition_variable Changed;
  std::deque<std::shared_ptr<TSyncCall>> Calls;
  std::mutex WakeupLock;  // guards Wakeup
  std::function<void()> Wakeup;
};

TMainQueue& MainQueue() {
  static TMainQueue Queue;
  return Queue;
}

std::atomic<TThreadID> gMainThreadOverride{0};

void Post(std::shared_ptr<TSyncCall> Call) {
  TMainQueue& Q = MainQueue();
  {
    std::lock_guard<std::mutex> L(Q.Lock);
    Q.Calls.push_back(std::move(Call));
  }
  Q.Changed.notify_all();
  std::function<void()> Wakeup;
  {
    std::lock_guard<std::mutex> L(Q.WakeupLock);
    Wakeup = Q.Wakeup;
  }
  if (Wakeup) Wakeup();
}

void RunOnMain(TThread* AThread, const TThreadMethod& Method, bool Blocking) {
  if (IsMainThread()) {
    Method();
    return;
  }
  auto Call = std::make_shared<TSyncCall>();
  Call->Method = Method;
  Call->Thread = AThread;
  Call->Blocking = Blocking;
  Post(Call);
  if (!Blocking) return;
  TMainQueue& Q = MainQueue();
  {
    std::unique_lock<std::mutex> L(Q.Lock);
    Q.Changed.wait(L, [&] { return Call->Done; });
  }
  if (Call->Error) std::rethrow_exception(Call->Error);
}

}  // namespace

TThreadID GetCurrentThreadId() { return static_cast<TThreadID>(::gettid()); }

TThreadID MainThreadID() {
  const TThreadID ID = gMainThreadOverride.load();
  // The main thread's kernel id is the process id.
  return ID ? ID : static_cast<TThreadID>(::getpid());
}

void SetMainThreadID(TThreadID ID) { gMainThreadOverride.store(ID); }

bool IsMainThread() { return GetCurrentThreadId() == MainThreadID(); }

void CallInMainThread(const TThreadMethod& Method) { RunOnMain(nullptr, Method, true); }

bool CheckSynchronize(Cardinal TimeoutMs) {
  if (!IsMainThread())
    throw EThread(Format("CheckSynchronize called from thread $%x, which is NOT the main thread",
                         {GetCurrentThreadId()}));
  TMainQueue& Q = MainQueue();
  size_t Pending;
  {
    std::unique_lock<std::mutex> L(Q.Lock);
    auto Queued = [&] { return !Q.Calls.empty(); };
    if (TimeoutMs == INFINITE)
      Q.Changed.wait(L, Queued);
    else if (TimeoutMs > 0)
      Q.Changed.wait_for(L, std::chrono::milliseconds(TimeoutMs), Queued);
    Pending = Q.Calls.size();
  }
  // Take the calls one by one, so a call that frees a thread also drops that thread's
  // later calls; calls queued meanwhile wait for the next round.
  bool Ran = false;
  for (; Pending > 0; --Pending) {
    std::shared_ptr<TSyncCall> Call;
    {
      std::lock_guard<std::mutex> L(Q.Lock);
      if (Q.Calls.empty()) break;
      Call = std::move(Q.Calls.front());
      Q.Calls.pop_front();
    }
    Ran = true;
    std::exception_ptr Error;
    try {
      Call->Method();
    } catch (...) {
      Error = std::current_exception();
    }
    if (!Call->Blocking) {
      if (Error) std::rethrow_exception(Error);
      continue;
    }
    {
      std::lock_guard<std::mutex> L(Q.Lock);
      Call->Error = Error;
      Call->Done = true;
    }
    Q.Changed.notify_all();
  }
  return Ran;
}

void SetMainThreadWakeup(std::function<void()> Wakeup) {
  TMainQueue& Q = MainQueue();
  std::lock_guard<std::mutex> L(Q.WakeupLock);
  Q.Wakeup = std::move(Wakeup);
}

TWaitResult WaitServingMainThread(TEvent& Event, Cardinal TimeoutMs, Cardinal StepMs) {
  if (!IsMainThread()) return Event.WaitFor(TimeoutMs);
  using Clock = std::chrono::steady_clock;
  const auto Deadline = Clock::now() + std::chrono::milliseconds(TimeoutMs);
  if (StepMs == 0) StepMs = 1;
  for (;;) {
    CheckSynchronize();
    Cardinal Wait = StepMs;
    if (TimeoutMs != INFINITE) {
      const auto Left =
          std::chrono::duration_cast<std::chrono::milliseconds>(Deadline - Clock::now()).count();
      Wait = Left <= 0 ? 0 : std::min<Cardinal>(StepMs, static_cast<Cardinal>(Left));
    }
    if (Event.WaitFor(Wait) == wrSignaled) return wrSignaled;
    if (TimeoutMs != INFINITE && Clock::now() >= Deadline) return wrTimeout;
  }
}

// TThread

TThread::TThread(bool CreateSuspended) : FCreateSuspended(CreateSuspended) {}

TThread::~TThread() { StopAndJoin(); }

void TThread::AfterConstruction() {
  TObject::AfterConstruction();
  if (!FCreateSuspended) Start();
}

void TThread::BeforeDestruction() {
  StopAndJoin();
  TObject::BeforeDestruction();
}

void TThread::Start() {
  if (FStarted) throw EThread("Cannot call Start on a running or terminated thread");
  FStarted = true;
  // The new thread reports its id, then waits until FThread is set here, so that it
  // cannot end (and free itself) while this function still uses the object.
  std::promise<void> Go;
  std::promise<TThreadID> Id;
  std::future<TThreadID> IdReady = Id.get_future();
  try {
    FThread = std::thread([this, Id = std::move(Id), Ready = Go.get_future()]() mutable {
      Id.set_value(GetCurrentThreadId());
      Ready.wait();
      Run();
    });
  } catch (const std::system_error& E) {
    FStarted = false;
    throw EThread(Format("Thread creation error: %s", {E.what()}));
  }
  FThreadID.store(IdReady.get());
  Go.set_value();
}

void TThread::Resume() {
  if (!FStarted) Start();
}

void TThread::Terminate() { FTerminated.store(true); }

void TThread::Run() {
  try {
    if (!Terminated()) Execute();
  } catch (...) {
    FFatalException = std::current_exception();
  }
  const bool FreeThread = FFreeOnTerminate.load();
  FFinished.store(true);
  try {
    DoTerminate();
  } catch (...) {
    if (!FFatalException) FFatalException = std::current_exception();
  }
  if (FreeThread) {
    Free();
    return;
  }
  TMainQueue& Q = MainQueue();
  {
    std::lock_guard<std::mutex> L(Q.Lock);
    FRunDone = true;
  }
  // From here on the object may be gone (a waiter may free it at once).
  Q.Changed.notify_all();
}

void TThread::DoTerminate() {
  if (OnTerminate) Synchronize([this] { OnTerminate(this); });
}

void TThread::WaitUntilFinished(bool Destroying) {
  TMainQueue& Q = MainQueue();
  const bool Main = IsMainThread();
  std::exception_ptr Deferred;
  for (;;) {
    {
      std::unique_lock<std::mutex> L(Q.Lock);
      Q.Changed.wait(L, [&] { return FRunDone || (Main && !Q.Calls.empty()); });
      if (FRunDone) break;
    }
    if (!Destroying) {
      CheckSynchronize();
      continue;
    }
    // Freeing must not fail half-way: an exception of a queued call goes back to the
    // queue and leaves the next CheckSynchronize instead.
    try {
      CheckSynchronize();
    } catch (...) {
      if (!Deferred) Deferred = std::current_exception();
    }
  }
  if (FThread.joinable()) FThread.join();
  if (Deferred) {
    auto Call = std::make_shared<TSyncCall>();
    Call->Method = [Deferred] { std::rethrow_exception(Deferred); };
    Post(Call);
  }
}

Integer TThread::WaitFor() {
  if (FFreeOnTerminate.load()) throw EThread("Cannot call WaitFor on a FreeOnTerminate thread");
  if (FStarted && std::this_thread::get_id() == FThread.get_id())
    throw EThread("Cannot call WaitFor on the thread itself");
  if (!FStarted) throw EThread("Cannot call WaitFor on a thread that was not started");
  WaitUntilFinished(false);
  return ReturnValue();
}

// Calls the thread queued before it is freed are dropped; those it queues while it is
// being stopped may run during the wait, when the object is still whole.
void TThread::StopAndJoin() {
  RemoveQueuedEvents(this);
  if (FStarted) {
    if (std::this_thread::get_id() == FThread.get_id()) {
      FThread.detach();  // a FreeOnTerminate thread freeing itself
    } else if (FThread.joinable()) {
      Terminate();
      WaitUntilFinished(true);
    }
  }
  RemoveQueuedEvents(this);
}

void TThread::Synchronize(TThread* AThread, const TThreadMethod& Method) {
  RunOnMain(AThread, Method, true);
}

void TThread::Queue(TThread* AThread, const TThreadMethod& Method) {
  RunOnMain(AThread, Method, false);
}

void TThread::RemoveQueuedEvents(TThread* AThread) {
  TMainQueue& Q = MainQueue();
  std::lock_guard<std::mutex> L(Q.Lock);
  std::erase_if(Q.Calls, [&](const std::shared_ptr<TSyncCall>& C) {
    return !C->Blocking && C->Thread == AThread;
  });
}

void TThread::Sleep(Cardinal Ms) { std::this_thread::sleep_for(std::chrono::milliseconds(Ms)); }
