#include "platform/rtl/SyncObjs.h"

#include <gtest/gtest.h>

#include <mutex>
#include <thread>

#include "platform/rtl/Exceptions.h"

namespace {

// Runs Body on another thread and waits for it.
template <class F>
auto OnOtherThread(F Body) {
  decltype(Body()) Result{};
  std::thread T([&] { Result = Body(); });
  T.join();
  return Result;
}

TEST(SyncObjs, CriticalSectionIsRecursiveAndExcludesOtherThreads) {
  TCriticalSection CS;
  CS.Enter();
  EXPECT_TRUE(CS.TryEnter());  // the holder enters again
  EXPECT_FALSE(OnOtherThread([&] { return CS.TryEnter(); }));
  CS.Leave();
  EXPECT_FALSE(OnOtherThread([&] { return CS.TryEnter(); }));  // still held once
  CS.Leave();
  EXPECT_TRUE(OnOtherThread([&] {
    const bool Got = CS.TryEnter();
    if (Got) CS.Leave();
    return Got;
  }));
  {
    std::lock_guard<TCriticalSection> Guard(CS);
    EXPECT_FALSE(OnOtherThread([&] { return CS.TryEnter(); }));
  }
}

TEST(SyncObjs, ManualResetEventStaysSignalledUntilReset) {
  TEvent E(true, false);
  EXPECT_EQ(E.WaitFor(0), wrTimeout);
  EXPECT_EQ(E.WaitFor(5), wrTimeout);
  E.SetEvent();
  EXPECT_EQ(E.WaitFor(0), wrSignaled);
  EXPECT_EQ(E.WaitFor(INFINITE), wrSignaled);
  EXPECT_EQ(OnOtherThread([&] { return E.WaitFor(0); }), wrSignaled);
  E.ResetEvent();
  EXPECT_EQ(E.WaitFor(0), wrTimeout);
  TEvent Initially(true, true);
  EXPECT_EQ(Initially.WaitFor(0), wrSignaled);
}

TEST(SyncObjs, AutoResetEventReleasesOneWaitPerSignal) {
  TEvent E(false, true);
  EXPECT_FALSE(E.ManualReset());
  EXPECT_EQ(E.WaitFor(0), wrSignaled);
  EXPECT_EQ(E.WaitFor(0), wrTimeout);
  E.SetEvent();
  E.SetEvent();  // signals do not add up
  EXPECT_EQ(E.WaitFor(0), wrSignaled);
  EXPECT_EQ(E.WaitFor(0), wrTimeout);
}

TEST(SyncObjs, EventWakesAThreadWaitingForEver) {
  TEvent Go, Woke;
  std::thread T([&] {
    if (Go.WaitFor(INFINITE) == wrSignaled) Woke.SetEvent();
  });
  EXPECT_EQ(Woke.WaitFor(0), wrTimeout);
  Go.SetEvent();
  EXPECT_EQ(Woke.WaitFor(INFINITE), wrSignaled);
  T.join();
}

TEST(SyncObjs, TimedMutexIsRecursiveTimesOutAndOnlyItsOwnerReleases) {
  TMutexTimed M;
  EXPECT_EQ(M.WaitFor(0), wrSignaled);
  EXPECT_EQ(M.WaitFor(INFINITE), wrSignaled);  // again, by its owner
  EXPECT_EQ(OnOtherThread([&] { return M.WaitFor(5); }), wrTimeout);
  EXPECT_TRUE(OnOtherThread([&] {
    try {
      M.Release();
      return false;
    } catch (const ESyncObjectException&) {
      return true;
    }
  }));
  M.Release();
  EXPECT_EQ(OnOtherThread([&] { return M.WaitFor(0); }), wrTimeout);  // one level left
  M.Release();
  EXPECT_THROW(M.Release(), ESyncObjectException);
  EXPECT_EQ(OnOtherThread([&] {
              const TWaitResult R = M.WaitFor(INFINITE);
              M.Release();
              return R;
            }),
            wrSignaled);
  std::lock_guard<TSyncMutex> Guard(M);
}

}  // namespace
