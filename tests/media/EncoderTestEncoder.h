// An encoder component whose tasks convert with a fake held by latches (finish at once,
// hold until stopped or released, or fail), and a fixture that records its events and
// pumps the main thread's call queue as a GUI loop would.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <mutex>
#include <semaphore>
#include <string>
#include <vector>

#include "media/FFEncode.h"
#include "tests/media/TaskTestEngine.h"

namespace vantrel::test {

enum TFakeMode { fmFinish, fmHold, fmFail };

class TTestEncoder;

// A task whose conversion reports once and then finishes, waits (passing the pause gate)
// until it is stopped or released, or raises.
class TFakeTask : public TTestTask {
 public:
  TFakeTask(Integer AMaxFiles, TFakeMode AMode, TTestEncoder* AOwner)
      : TTestTask(AMaxFiles), Mode(AMode), Owner(AOwner) {}

  const TFakeMode Mode;
  TTestEncoder* const Owner;
  std::atomic<bool> Converted{false};
  std::atomic<bool> Ended{false};
  std::atomic<TThreadID> ConvertThread{0};
  std::binary_semaphore Running{0};      // released when the conversion begins
  std::binary_semaphore SecondReport{0};  // released before a held task's second report
  TEvent Release{true, false};           // lets a held conversion finish
  std::function<void()> OnEnded;         // called when the conversion ends

 protected:
  void Transcode() override;
};

class TTestEncoder : public media::TFFEncoder {
 public:
  using TFFEncoder::TFFEncoder;

  // The mode of each task AddTask makes, in order (fmFinish beyond the list).
  std::vector<TFakeMode> Modes;
  // The tasks made, in order (owned by the list).
  std::vector<TFakeTask*> Made;
  std::atomic<int> Active{0};
  std::atomic<int> MaxActive{0};

 protected:
  media::TFFmpeg* CreateTask(Integer AMaxFiles) override {
    const size_t N = Made.size();
    auto* Task = ::Create<TFakeTask>(AMaxFiles, N < Modes.size() ? Modes[N] : fmFinish, this);
    Made.push_back(Task);
    return Task;
  }
};

inline void TFakeTask::Transcode() {
  Converted = true;
  ConvertThread = GetCurrentThreadId();
  const int Now = ++Owner->Active;
  for (int Max = Owner->MaxActive; Now > Max && !Owner->MaxActive.compare_exchange_weak(Max, Now);) {
  }
  Running.release();
  struct TLeave {
    TFakeTask* T;
    ~TLeave() {
      --T->Owner->Active;
      T->Ended = true;
      if (T->OnEnded) T->OnEnded();
    }
  } Leave{this};
  if (Mode == fmFail) throw media::FFmpegException("fake failure");
  if (OnProgress) OnProgress(this, 0, 1, 25, 2.0f, 64.0f, 1000, 40000, 3000000);
  if (Mode == fmHold) {
    SecondReport.release();
    if (OnProgress) OnProgress(this, 0, 2, 25, 2.0f, 64.0f, 2000, 80000, 3000000);
    while (!Broken() && Release.WaitFor(5) != wrSignaled) WaitWhilePaused();
  }
  FFinished = !Broken();
}

struct TRecordedTermination {
  media::TTerminateInfo Info;
  TThreadID Thread = 0;
};

class TEncoderTest : public TEngineTest {
 protected:
  void SetUp() override {
    TEngineTest::SetUp();
    E = CreateOwned<TTestEncoder>(nullptr);
    Component = E.get();
    E->OnTerminate = [this](TObject* Sender, const media::TTerminateInfo& Info) {
      EXPECT_EQ(Sender, Component);
      std::lock_guard<std::mutex> L(Lock);
      Terms.push_back({Info, GetCurrentThreadId()});
    };
    E->OnProgress = [this](TObject* Sender, media::PProgressInfo Info) {
      EXPECT_EQ(Sender, Component);
      std::lock_guard<std::mutex> L(Lock);
      Progress.push_back(*Info);
      ProgressThreads.push_back(GetCurrentThreadId());
    };
  }
  void TearDown() override {
    E.reset();
    TEngineTest::TearDown();
  }

  static std::string Fixture(const char* AName) { return FixturePath(AName); }

  // A task over the WAV fixture with an output in the temp folder: its index.
  Integer AddFakeTask(TFakeMode AMode, bool AWithOutput = true) {
    E->Modes.resize(E->Made.size());
    E->Modes.push_back(AMode);
    const Integer I = E->AddTask(Fixture("task-c.wav"), static_cast<media::TInputOptions*>(nullptr));
    EXPECT_GE(I, 0) << E->LastErrMsg();
    if (I >= 0 && AWithOutput) {
      EXPECT_TRUE(E->SetOutputFile(I, OutputName(I), static_cast<media::TOutputOptions*>(nullptr)))
          << E->LastErrMsg();
    }
    return I;
  }
  std::string OutputName(Integer AIndex) const { return Dir.File("out" + std::to_string(AIndex) + ".wav"); }

  // Serves the main thread's call queue until Done holds (fails after 30 s).
  void PumpUntil(const std::function<bool()>& Done) {
    const auto Deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!Done()) {
      CheckSynchronize(10);
      if (std::chrono::steady_clock::now() > Deadline) {
        ADD_FAILURE() << "timed out waiting";
        return;
      }
    }
  }
  bool FinalSeen() {
    std::lock_guard<std::mutex> L(Lock);
    return !Terms.empty() && Terms.back().Info.TaskIndex == -1;
  }
  size_t ProgressCount() {
    std::lock_guard<std::mutex> L(Lock);
    return Progress.size();
  }
  std::vector<Integer> TermIndexes() {
    std::lock_guard<std::mutex> L(Lock);
    std::vector<Integer> R;
    for (const auto& T : Terms) R.push_back(T.Info.TaskIndex);
    return R;
  }

  TOwned<TTestEncoder> E;
  TObject* Component = nullptr;  // the Sender the recording handlers expect
  TTempDir Dir;
  std::mutex Lock;  // guards the records below
  std::vector<TRecordedTermination> Terms;
  std::vector<media::TProgressInfo> Progress;
  std::vector<TThreadID> ProgressThreads;
};

}  // namespace vantrel::test
