#include "platform/rtl/Threads.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

namespace {

// A thread whose Execute is a function given at creation.
class TTestThread : public TThread {
  VANTREL_CLASS(TTestThread)
  using TBody = std::function<void(TTestThread&)>;

  TTestThread(bool CreateSuspended, TBody ABody, TEvent* ADestroyed = nullptr)
      : TThread(CreateSuspended), FBody(std::move(ABody)), FDestroyed(ADestroyed) {}
  ~TTestThread() override {
    if (FDestroyed) FDestroyed->SetEvent();
  }
  using TThread::Queue;
  using TThread::SetReturnValue;
  using TThread::Synchronize;

 protected:
  void Execute() override { FBody(*this); }

 private:
  TBody FBody;
  TEvent* FDestroyed;
};

using TThreadPtr = TOwned<TTestThread>;

TThreadPtr StartThread(TTestThread::TBody Body) {
  return TThreadPtr(TTestThread::Create(false, std::move(Body)));
}

// Serves main-thread calls until Done holds; a test deadline guards against a hang.
template <class Pred>
void ServeUntil(Pred Done) {
  for (int I = 0; I < 10000 && !Done(); ++I) CheckSynchronize(10);
  ASSERT_TRUE(Done());
}

TEST(Threads, IdsTellTheMainThreadFromWorkers) {
  EXPECT_EQ(GetCurrentThreadId(), static_cast<TThreadID>(getpid()));
  EXPECT_EQ(MainThreadID(), GetCurrentThreadId());
  EXPECT_TRUE(IsMainThread());
  std::atomic<TThreadID> WorkerId{0};
  std::atomic<bool> WorkerIsMain{true};
  TThreadPtr T = StartThread([&](TTestThread&) {
    WorkerId = GetCurrentThreadId();
    WorkerIsMain = IsMainThread();
  });
  T->WaitFor();
  EXPECT_EQ(T->ThreadID(), WorkerId.load());
  EXPECT_NE(WorkerId.load(), MainThreadID());
  EXPECT_FALSE(WorkerIsMain.load());
  EXPECT_TRUE(T->Finished());
}

TEST(Threads, MainThreadCallsRunAtOnceOnTheMainThread) {
  TThreadID RanOn = 0;
  CallInMainThread([&] { RanOn = GetCurrentThreadId(); });
  EXPECT_EQ(RanOn, MainThreadID());
  int Order = 0;
  TThread::Queue(nullptr, [&] { Order = 1; });
  EXPECT_EQ(Order, 1);
  EXPECT_FALSE(CheckSynchronize());  // nothing was left queued
}

TEST(Threads, SynchronizeFromAWorkerRunsOnTheMainThreadServedByCheckSynchronize) {
  std::vector<TThreadID> Ran;  // touched by the main thread only
  std::atomic<int> Calls{0};
  TThreadPtr T = StartThread([&](TTestThread& Self) {
    for (int I = 0; I < 3; ++I) {
      Self.Synchronize([&] { Ran.push_back(GetCurrentThreadId()); });
      ++Calls;  // after the main thread ran it: Synchronize blocks
    }
    CallInMainThread([&] { Ran.push_back(GetCurrentThreadId()); });
    Self.SetReturnValue(42);
  });
  ServeUntil([&] { return Ran.size() == 4; });
  EXPECT_EQ(Ran, std::vector<TThreadID>(4, MainThreadID()));
  EXPECT_EQ(T->WaitFor(), 42);
  EXPECT_EQ(Calls.load(), 3);
}

TEST(Threads, ExceptionOfAMainThreadCallIsRaisedInTheCaller) {
  String Caught;
  TThreadPtr T = StartThread([&](TTestThread&) {
    try {
      CallInMainThread([] { throw EConvertError("bad value"); });
    } catch (const EConvertError& E) {
      Caught = String(E.ClassName()) + ": " + E.Message();
    }
  });
  T->WaitFor();  // serves the call
  EXPECT_EQ(Caught, "EConvertError: bad value");
}

TEST(Threads, WaitForOnTheMainThreadServesSynchronizeAndOnTerminate) {
  std::vector<String> Log;  // main thread only
  TThreadPtr T(TTestThread::Create(true, [&](TTestThread& Self) {
    for (int I = 0; I < 20; ++I) Self.Synchronize([&, I] { Log.push_back(std::to_string(I)); });
    Self.SetReturnValue(7);
  }));
  T->OnTerminate = [&](TObject* Sender) {
    EXPECT_EQ(Sender, T.get());
    EXPECT_TRUE(IsMainThread());
    Log.push_back("terminated");
  };
  EXPECT_FALSE(T->Started());
  T->Start();
  EXPECT_THROW(T->Start(), EThread);
  EXPECT_EQ(T->WaitFor(), 7);
  ASSERT_EQ(Log.size(), 21u);
  EXPECT_EQ(Log.front(), "0");
  EXPECT_EQ(Log.back(), "terminated");
  EXPECT_EQ(T->WaitFor(), 7);  // again: still the same answer
}

TEST(Threads, ExceptionEscapingExecuteIsKept) {
  TThreadPtr T = StartThread([](TTestThread&) { throw EAbort("stopped"); });
  T->WaitFor();
  ASSERT_TRUE(T->FatalException());
  try {
    std::rethrow_exception(T->FatalException());
  } catch (const EAbort& E) {
    EXPECT_EQ(E.Message(), "stopped");
  }
}

TEST(Threads, FreeOnTerminateThreadFreesItselfAfterOnTerminate) {
  TEvent Destroyed;
  std::vector<String> Log;
  TTestThread* T = TTestThread::Create(
      true, [](TTestThread& Self) { Self.SetReturnValue(1); }, &Destroyed);
  T->SetFreeOnTerminate(true);
  T->OnTerminate = [&](TObject*) { Log.push_back("terminated"); };
  EXPECT_THROW(T->WaitFor(), EThread);
  T->Start();
  // The thread frees itself; ASan reports the object if it were lost.
  EXPECT_EQ(WaitServingMainThread(Destroyed, INFINITE, 5), wrSignaled);
  EXPECT_EQ(Log, std::vector<String>{"terminated"});
}

TEST(Threads, QueueDoesNotWaitAndQueuedCallsRunInOrder) {
  std::vector<int> Order;  // main thread only
  TEvent Queued;
  TThreadPtr T = StartThread([&](TTestThread& Self) {
    for (int I = 0; I < 50; ++I) Self.Queue([&, I] { Order.push_back(I); });
    TThread::Queue(nullptr, [&] { Order.push_back(50); });
    Queued.SetEvent();
  });
  // Not served yet, yet the worker got through all of its Queue calls.
  ASSERT_EQ(Queued.WaitFor(INFINITE), wrSignaled);
  EXPECT_TRUE(Order.empty());
  T->WaitFor();
  ServeUntil([&] { return Order.size() == 51; });
  for (int I = 0; I <= 50; ++I) EXPECT_EQ(Order[static_cast<size_t>(I)], I);
  EXPECT_FALSE(CheckSynchronize());
}

TEST(Threads, ExceptionOfAQueuedCallLeavesCheckSynchronizeAndKeepsTheRest) {
  std::vector<int> Ran;
  TEvent Queued;
  std::thread Worker([&] {
    TThread::Queue(nullptr, [&] { Ran.push_back(1); });
    TThread::Queue(nullptr, [] { throw EAbort("queued failure"); });
    TThread::Queue(nullptr, [&] { Ran.push_back(3); });
    Queued.SetEvent();
  });
  Worker.join();
  EXPECT_THROW(CheckSynchronize(), EAbort);
  EXPECT_EQ(Ran, std::vector<int>{1});
  EXPECT_TRUE(CheckSynchronize());
  EXPECT_EQ(Ran, (std::vector<int>{1, 3}));
}

TEST(Threads, CheckSynchronizeOffTheMainThreadRaises) {
  String Message;
  std::thread Worker([&] {
    try {
      CheckSynchronize();
    } catch (const EThread& E) {
      Message = E.Message();
    }
  });
  Worker.join();
  EXPECT_NE(Message.find("which is NOT the main thread"), String::npos) << Message;
}

TEST(Threads, FreeingARunningThreadTerminatesAndJoinsIt) {
  std::atomic<bool> SawTerminated{false};
  TEvent Running;
  TThreadPtr T = StartThread([&](TTestThread& Self) {
    Running.SetEvent();
    while (!Self.Terminated()) TThread::Sleep(1);
    SawTerminated = true;
  });
  Running.WaitFor(INFINITE);
  T.reset();
  EXPECT_TRUE(SawTerminated.load());
}

TEST(Threads, FreeingAThreadBlockedInSynchronizeServesItFirst) {
  TEvent InSync;
  bool Served = false;
  TThreadPtr T = StartThread([&](TTestThread& Self) {
    TThread::Queue(nullptr, [&] { InSync.SetEvent(); });
    Self.Synchronize([&] { Served = true; });
  });
  // Free only after the worker queued (so it is about to block in Synchronize).
  ServeUntil([&] { return InSync.WaitFor(0) == wrSignaled; });
  T.reset();
  EXPECT_TRUE(Served);
}

TEST(Threads, FailingMainThreadCallWhileFreeingAThreadIsRaisedLater) {
  TEvent Running;
  TThreadPtr T = StartThread([&](TTestThread& Self) {
    Running.SetEvent();
    TThread::Queue(nullptr, [] { throw EAbort("late failure"); });
    Self.Synchronize([] {});  // holds the thread until the main thread serves calls
  });
  Running.WaitFor(INFINITE);  // (a thread freed before it runs never runs Execute)
  T.reset();  // serves both calls; the failure must not escape the destructor
  try {
    CheckSynchronize();
    ADD_FAILURE() << "the failure was lost";
  } catch (const EAbort& E) {
    EXPECT_EQ(E.Message(), "late failure");
  }
}

TEST(Threads, FreeingAThreadDropsItsQueuedCalls) {
  bool Ran = false;
  TEvent Queued;
  TThreadPtr T = StartThread([&](TTestThread& Self) {
    Self.Queue([&] { Ran = true; });
    Queued.SetEvent();
  });
  Queued.WaitFor(INFINITE);
  T.reset();
  EXPECT_FALSE(CheckSynchronize());
  EXPECT_FALSE(Ran);
}

TEST(Threads, WakeupHookHearsEveryQueuedCall) {
  std::atomic<int> Wakeups{0};
  SetMainThreadWakeup([&] { ++Wakeups; });
  std::thread Worker([] {
    TThread::Queue(nullptr, [] {});
    TThread::Queue(nullptr, [] {});
  });
  Worker.join();
  SetMainThreadWakeup(nullptr);
  EXPECT_EQ(Wakeups.load(), 2);
  EXPECT_TRUE(CheckSynchronize());
}

TEST(Threads, WaitServingMainThreadTimesOutOrServesUntilSignalled) {
  TEvent Never;
  EXPECT_EQ(WaitServingMainThread(Never, 20, 5), wrTimeout);
  TEvent Done;
  TThreadPtr T = StartThread([&](TTestThread& Self) {
    int Value = 0;
    Self.Synchronize([&] { Value = 5; });
    if (Value == 5) Done.SetEvent();
  });
  EXPECT_EQ(WaitServingMainThread(Done, INFINITE, 5), wrSignaled);
}

}  // namespace
