// Running the encoder's task list: order and threads of the events, one or several tasks
// at once or synchronously, failing tasks, a stop during a run, the final notification
// after the last task, and destroying the component while a task runs.
#include <sys/stat.h>

#include "tests/media/EncoderTestEncoder.h"

using namespace vantrel::media;
using vantrel::test::fmFail;
using vantrel::test::fmFinish;
using vantrel::test::fmHold;
using vantrel::test::TEncoderTest;

namespace {

bool Exists(const std::string& APath) {
  struct stat St;
  return ::stat(APath.c_str(), &St) == 0;
}

class EncoderRunTest : public TEncoderTest {};

TEST_F(EncoderRunTest, OneThreadRunsTasksOneAfterAnotherThenTheFinalNotification) {
  for (int I = 0; I < 3; ++I) AddFakeTask(fmFinish);
  E->Start(1);
  EXPECT_TRUE(E->Working());
  PumpUntil([this] { return FinalSeen(); });

  EXPECT_EQ(TermIndexes(), (std::vector<Integer>{0, 1, 2, -1}));
  for (const auto& T : Terms) {
    SCOPED_TRACE(T.Info.TaskIndex);
    EXPECT_TRUE(T.Info.Finished);
    EXPECT_FALSE(T.Info.Exception);
    EXPECT_NE(T.Thread, MainThreadID());  // not on the GUI thread
  }
  EXPECT_EQ(E->MaxActive, 1);
  for (auto* Task : E->Made) {
    EXPECT_TRUE(Task->Converted);
    EXPECT_NE(Task->ConvertThread, MainThreadID());
  }
  // Progress came on the main thread with the reporting task's index.
  ASSERT_EQ(Progress.size(), 3u);
  for (size_t I = 0; I < Progress.size(); ++I) {
    EXPECT_EQ(Progress[I].TaskIndex, static_cast<Integer>(I));
    EXPECT_EQ(Progress[I].FrameNumber, 1);
    EXPECT_EQ(Progress[I].TotalDuration, 3000000);
    EXPECT_EQ(ProgressThreads[I], MainThreadID());
  }
  EXPECT_TRUE(E->Terminated());
  EXPECT_TRUE(E->Working());
}

TEST_F(EncoderRunTest, SynchronousRunDeliversEverythingInTheCallersThreadBeforeStartReturns) {
  AddFakeTask(fmFinish);
  AddFakeTask(fmFinish);
  E->Start(0);
  EXPECT_EQ(TermIndexes(), (std::vector<Integer>{0, 1, -1}));
  for (const auto& T : Terms) EXPECT_EQ(T.Thread, GetCurrentThreadId());
  EXPECT_TRUE(Terms.back().Info.Finished);
  EXPECT_EQ(E->Made[0]->ConvertThread, GetCurrentThreadId());
  EXPECT_EQ(Progress.size(), 2u);
  EXPECT_TRUE(E->Terminated());
}

TEST_F(EncoderRunTest, TwoThreadsRunTwoTasksAtOnceAndStartTheThirdWhenOneEnds) {
  for (int I = 0; I < 3; ++I) AddFakeTask(fmHold);
  E->SetTriggerEventInMainThread(false);
  E->Start(2);
  E->Made[0]->Running.acquire();
  E->Made[1]->Running.acquire();
  EXPECT_FALSE(E->Made[2]->Converted);
  E->Made[1]->Release.SetEvent();
  E->Made[2]->Running.acquire();
  E->Made[0]->Release.SetEvent();
  E->Made[2]->Release.SetEvent();
  PumpUntil([this] { return FinalSeen(); });
  EXPECT_EQ(E->MaxActive, 2);
  const auto Order = TermIndexes();
  ASSERT_EQ(Order.size(), 4u);
  EXPECT_EQ(Order[0], 1);  // released first
  EXPECT_EQ(Order.back(), -1);
  // Without the main-thread hand-over, progress came in the conversion threads.
  for (TThreadID T : ProgressThreads) EXPECT_NE(T, MainThreadID());
}

// A task that fails, in its conversion or at once when started (no output), reports its
// error; the next task still runs and the final notification comes last.
TEST_F(EncoderRunTest, FailingTaskReportsItsErrorAndTheNextTaskStillRuns) {
  const struct {
    const char* Name;
    int FailingIndex;
    bool FailsAtStart;
    Integer Threads;
    const char* Message;
  } Cases[] = {
      {"conversion fails, thread mode", 1, false, 1, "fake failure"},
      {"conversion fails, synchronous", 1, false, 0, "fake failure"},
      {"no output, started from the ending worker", 1, true, 1, "At least one output file must be specified"},
      {"no output, started from Start", 0, true, 1, "At least one output file must be specified"},
      {"no output, synchronous", 1, true, 0, "At least one output file must be specified"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Name);
    if (E->Working()) E->ClearTasks();
    E->Made.clear();
    E->Modes.clear();
    Terms.clear();
    for (int I = 0; I < 3; ++I) AddFakeTask(I == C.FailingIndex && !C.FailsAtStart ? fmFail : fmFinish,
                                            !(I == C.FailingIndex && C.FailsAtStart));
    E->Start(C.Threads);
    PumpUntil([this] { return FinalSeen(); });
    EXPECT_EQ(TermIndexes(), (std::vector<Integer>{0, 1, 2, -1}));
    for (const auto& T : Terms) {
      const bool Failing = T.Info.TaskIndex == C.FailingIndex;
      EXPECT_EQ(T.Info.Exception, Failing) << T.Info.TaskIndex;
      EXPECT_EQ(T.Info.ExceptionMsg, Failing ? C.Message : "") << T.Info.TaskIndex;
      if (T.Info.TaskIndex >= 0) {
        EXPECT_EQ(T.Info.Finished, !Failing) << T.Info.TaskIndex;
      }
    }
    EXPECT_TRUE(Terms.back().Info.Finished);
    EXPECT_TRUE(E->Made[2]->Converted);
  }
}

// The first of three tasks is held; the test stops the run from its own body once the
// first progress event has come.
TEST_F(EncoderRunTest, StopDuringTheFirstTaskEndsAllUnfinishedAndTheFinalSaysNotFinished) {
  for (bool Wait : {true, false}) {
    SCOPED_TRACE(Wait ? "Stop(True)" : "Stop(False)");
    if (E->Working()) E->ClearTasks();
    E->Made.clear();
    E->Modes.clear();
    Terms.clear();
    Progress.clear();
    for (int I = 0; I < 3; ++I) AddFakeTask(I == 0 ? fmHold : fmFinish);
    E->Start(1);
    PumpUntil([this] { return ProgressCount() > 0; });
    E->Stop(Wait);
    if (Wait) {
      EXPECT_TRUE(E->Made[0]->Ended);  // returned after the worker's conversion ended
    }
    PumpUntil([this] { return FinalSeen(); });

    EXPECT_EQ(TermIndexes(), (std::vector<Integer>{0, 1, 2, -1}));
    for (const auto& T : Terms) {
      EXPECT_FALSE(T.Info.Finished) << T.Info.TaskIndex;
      EXPECT_FALSE(T.Info.Exception) << T.Info.TaskIndex;
    }
    EXPECT_FALSE(E->Made[1]->Converted);
    EXPECT_FALSE(E->Made[2]->Converted);
    // The unstarted tasks let their files go: no empty output stays behind.
    EXPECT_FALSE(Exists(OutputName(1)));
    EXPECT_FALSE(Exists(OutputName(2)));
    EXPECT_TRUE(E->Terminated());
  }
}

TEST_F(EncoderRunTest, StopAfterTheRunChangesNothing) {
  AddFakeTask(fmFinish);
  E->Start(0);
  E->Stop(true);
  EXPECT_EQ(TermIndexes(), (std::vector<Integer>{0, -1}));
  EXPECT_TRUE(Terms.back().Info.Finished);
}

// A slow handler of the first notification must not let the final one overtake the
// notifications of the later tasks.
TEST_F(EncoderRunTest, FinalNotificationComesAfterEveryTaskNotificationEvenBehindASlowHandler) {
  std::binary_semaphore Go{0};
  std::atomic<bool> Waiting{false};
  auto Record = E->OnTerminate;
  E->OnTerminate = [&](TObject* Sender, const TTerminateInfo& Info) {
    if (Info.TaskIndex == 0) {
      Waiting = true;
      Go.acquire();
    }
    Record(Sender, Info);
  };
  for (int I = 0; I < 3; ++I) AddFakeTask(fmFinish);
  E->SetTriggerEventInMainThread(false);
  E->Start(1);
  PumpUntil([&] { return Waiting && E->Terminated(); });  // every task has ended
  Go.release();
  PumpUntil([this] { return FinalSeen(); });
  EXPECT_EQ(TermIndexes(), (std::vector<Integer>{0, 1, 2, -1}));
}

// A handler that raises costs neither the run's bookkeeping nor the later notifications.
TEST_F(EncoderRunTest, RaisingTerminateHandlerDoesNotLoseTheNotificationsAfterIt) {
  auto Record = E->OnTerminate;
  E->OnTerminate = [&](TObject* Sender, const TTerminateInfo& Info) {
    Record(Sender, Info);
    if (Info.TaskIndex == 0) throw Exception("handler failure");
  };
  for (Integer Threads : {0, 1}) {
    SCOPED_TRACE(Threads);
    if (E->Working()) E->ClearTasks();
    E->Made.clear();
    E->Modes.clear();
    Terms.clear();
    AddFakeTask(fmFinish);
    AddFakeTask(fmFinish);
    E->Start(Threads);
    PumpUntil([this] { return FinalSeen(); });
    EXPECT_EQ(TermIndexes(), (std::vector<Integer>{0, 1, -1}));
    EXPECT_TRUE(E->Terminated());
  }
}

TEST_F(EncoderRunTest, ClearTasksIsRefusedUntilTheFinalNotificationThenResetsTheRun) {
  AddFakeTask(fmHold);
  E->Start(1);
  E->Made[0]->Running.acquire();
  try {
    E->ClearTasks();
    ADD_FAILURE() << "ClearTasks while working";
  } catch (const Exception& Ex) {
    EXPECT_EQ(Ex.Message(), "Cannot ClearTasks while working.");
  }
  E->Made[0]->Release.SetEvent();
  PumpUntil([this] { return FinalSeen(); });
  E->ClearTasks();
  EXPECT_EQ(E->TasksCount(), 0);
  EXPECT_FALSE(E->Working());
  EXPECT_FALSE(E->Terminated());
  E->Made.clear();
  EXPECT_EQ(AddFakeTask(fmFinish), 0);  // the list takes tasks again
}

TEST_F(EncoderRunTest, EmptyListEndsTheRunAtOnce) {
  for (Integer Threads : {0, 1}) {
    SCOPED_TRACE(Threads);
    Terms.clear();
    E->Start(Threads);
    PumpUntil([this] { return FinalSeen(); });
    EXPECT_EQ(TermIndexes(), (std::vector<Integer>{-1}));
    EXPECT_TRUE(E->Terminated());
    E->ClearTasks();
  }
}

TEST_F(EncoderRunTest, PauseAndResumeReachTheRunningTasks) {
  AddFakeTask(fmHold);
  E->Pause();  // not working: nothing
  EXPECT_FALSE(E->Paused());
  E->Start(1);
  E->Made[0]->Running.acquire();
  E->Pause();
  EXPECT_TRUE(E->Paused());
  EXPECT_TRUE(E->Made[0]->Paused());
  E->Resume();
  EXPECT_FALSE(E->Paused());
  EXPECT_FALSE(E->Made[0]->Paused());
  // A paused run still stops.
  E->Pause();
  E->Stop(true);
  EXPECT_FALSE(E->Made[0]->Paused());
  PumpUntil([this] { return FinalSeen(); });
  EXPECT_FALSE(Terms.back().Info.Finished);
}

// The worker may be waiting for the GUI thread inside the progress path (holding its
// lock) when the GUI thread destroys the component: the destruction serves it, waits for
// the worker and raises no event afterwards.
TEST_F(EncoderRunTest, DestroyingTheEncoderWhileATaskRunsWaitsForItsWorker) {
  AddFakeTask(fmHold);
  AddFakeTask(fmFinish);
  std::atomic<bool> Ended{false};
  E->Made[0]->OnEnded = [&Ended] { Ended = true; };
  E->Start(1);
  PumpUntil([this] { return ProgressCount() > 0; });
  E->Made[0]->SecondReport.acquire();  // its second report now waits for this thread
  E.reset();
  EXPECT_TRUE(Ended);
  std::lock_guard<std::mutex> L(Lock);
  EXPECT_TRUE(Terms.empty());
}

}  // namespace
