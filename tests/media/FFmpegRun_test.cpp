// Run control of the transcoder: one termination per task whatever happens, a stop in
// every phase of a threaded run, the read time-out check and the release of outputs.
#include <filesystem>
#include <semaphore>
#include <thread>

#include "media/AVFormatAPI.h"
#include "media/UnicodeProtocol.h"
#include "platform/rtl/FileUtils.h"
#include "tests/media/FFmpegTestEngine.h"
#include "tests/support/TempDir.h"

using namespace vantrel::media;

namespace {

// A transcoder whose conversion is a fake held by latches: it reports that it runs,
// then passes the pause gate until it is stopped (or fails when asked to).
class TFakeEngine : public vantrel::test::TTestEngine {
 public:
  using TTestEngine::TTestEngine;
  using TCustomFFmpeg::FReadTimeout;
  using TCustomFFmpeg::Fnb_input_files;
  using TCustomFFmpeg::Fnb_output_files;
  using TCustomFFmpeg::OpenOutputFiles;

  std::binary_semaphore Running{0};
  std::atomic<bool> Fail{false};
  std::atomic<int> Passes{0};

 protected:
  void Transcode() override {
    Running.release();
    if (Fail) throw FFmpegException("fake failure");
    while (!Broken()) {
      WaitWhilePaused();
      ++Passes;
      std::this_thread::yield();
    }
    FFinished = !Broken();
  }
};

class RunTest : public vantrel::test::TEngineTest {
 protected:
  void SetUp() override {
    TEngineTest::SetUp();
    E = CreateOwned<TFakeEngine>(2);
    TObject* Engine = E.get();
    E->OnTerminate = [this, Engine](TObject* Sender) {
      EXPECT_EQ(Sender, Engine);
      TerminateThread = GetCurrentThreadId();
      ++Terminations;
      Terminated.release();
    };
  }
  void TearDown() override {
    E.reset();
    TEngineTest::TearDown();
  }
  void PretendFiles() {
    E->Fnb_input_files = 1;
    E->Fnb_output_files = 1;
  }

  TOwned<TFakeEngine> E;
  std::atomic<int> Terminations{0};
  std::atomic<TThreadID> TerminateThread{0};
  std::binary_semaphore Terminated{0};
};

TEST_F(RunTest, StartWithoutOutputTerminatesOnceAsFatal) {
  EXPECT_EQ(E->StartConvert(true), nullptr);
  EXPECT_EQ(Terminations, 1);
  EXPECT_TRUE(E->FatalException());
  EXPECT_EQ(E->FatalMessage(), "At least one output file must be specified");
  EXPECT_FALSE(E->Finished());
  EXPECT_TRUE(Logged("At least one output file must be specified"));
  // A task converts once.
  EXPECT_EQ(E->StartConvert(false), nullptr);
  E->StopOrTerminate(true);
  EXPECT_EQ(Terminations, 1);
}

TEST_F(RunTest, StartWithoutInputNamesTheInput) {
  E->Fnb_output_files = 1;
  E->StartConvert(false);
  EXPECT_EQ(E->FatalMessage(), "At least one input file must be specified");
  EXPECT_EQ(Terminations, 1);
}

TEST_F(RunTest, StopOrTerminateOfANeverStartedTaskTerminatesOnceFromItsOwnThread) {
  E->StopOrTerminate(true);
  E->StopOrTerminate(true);
  EXPECT_EQ(Terminations, 1);
  EXPECT_NE(TerminateThread, GetCurrentThreadId());
  EXPECT_FALSE(E->FatalException());
  EXPECT_EQ(E->StartConvert(true), nullptr);
}

TEST_F(RunTest, FailingConversionInTheCallersThreadStillTerminates) {
  PretendFiles();
  E->Fnb_input_files = 1;  // the fake conversion reads none
  E->Fail = true;
  EXPECT_EQ(E->StartConvert(false), nullptr);
  EXPECT_EQ(Terminations, 1);
  EXPECT_EQ(TerminateThread, GetCurrentThreadId());
  EXPECT_TRUE(E->FatalException());
  EXPECT_EQ(E->FatalMessage(), "fake failure");
  EXPECT_FALSE(E->Converting());
}

// Each phase of a threaded run in which the owner stops it.
TEST_F(RunTest, StopBeforeTheThreadStarts) {
  PretendFiles();
  TThread* Worker = E->StartConvert(true);
  ASSERT_NE(Worker, nullptr);
  EXPECT_FALSE(Worker->Started());
  E->Stop(true);
  EXPECT_EQ(Terminations, 1);
  EXPECT_FALSE(E->Converting());
  EXPECT_FALSE(E->Finished());
}

TEST_F(RunTest, StopWhileConvertingWaitsForTheEnd) {
  PretendFiles();
  E->StartConvert(true)->Start();
  E->Running.acquire();
  E->Stop(true);
  EXPECT_EQ(Terminations, 1);
  EXPECT_NE(TerminateThread, GetCurrentThreadId());
  EXPECT_FALSE(E->Finished());
  EXPECT_FALSE(E->FatalException());
}

TEST_F(RunTest, StopOfAPausedConversionResumesIt) {
  PretendFiles();
  E->StartConvert(true)->Start();
  E->Running.acquire();
  E->Pause();
  EXPECT_TRUE(E->Paused());
  E->Resume();
  EXPECT_FALSE(E->Paused());
  E->Pause();
  E->Stop(true);
  EXPECT_EQ(Terminations, 1);
  EXPECT_FALSE(E->Paused());
}

TEST_F(RunTest, StopWhileTheTaskEndsWaitsForItsTermination) {
  PretendFiles();
  std::binary_semaphore Ending{0}, Release{0};
  E->OnTerminate = [&](TObject*) {
    Ending.release();
    Release.acquire();
    ++Terminations;
  };
  E->StartConvert(true)->Start();
  E->Running.acquire();
  std::atomic<bool> Broken{false};
  // The conversion ends on its own (as if its input were exhausted) and is held in
  // OnTerminate while the owner stops it.
  std::thread Ender([&] {
    Ending.acquire();
    std::thread Stopper([&] {
      E->Stop(true);
      Broken = Terminations == 1;
    });
    Release.release();
    Stopper.join();
  });
  E->Stop(false);
  Ender.join();
  EXPECT_TRUE(Broken);
  EXPECT_EQ(Terminations, 1);
  E.reset();  // joins the finished thread
}

TEST_F(RunTest, EngineFreedWhileRunningStopsAndJoins) {
  PretendFiles();
  E->StartConvert(true)->Start();
  E->Running.acquire();
  E.reset();
  EXPECT_EQ(Terminations, 1);
}

TEST_F(RunTest, ReadTimeoutCheckCancelsOrTimesOut) {
  Int64 Clock = 1000000000;
  E->Clock = [&] { return Clock; };
  E->FReadTimeout = 10000;
  E->FLastRead = INT64_MAX;
  EXPECT_FALSE(TCustomFFmpeg::ReadTimeoutCheck(E.get()));
  E->FLastRead = Clock;
  Clock += 10000 * 1000;
  EXPECT_FALSE(TCustomFFmpeg::ReadTimeoutCheck(E.get()));
  Clock += 1;
  EXPECT_TRUE(TCustomFFmpeg::ReadTimeoutCheck(E.get()));
  EXPECT_TRUE(Logged("connecting/reading/writing timeout"));
  // A stop without a worker cancels the next blocking open.
  E->FLastRead = INT64_MAX;
  E->Stop(false);
  EXPECT_TRUE(E->Broken());
  EXPECT_TRUE(TCustomFFmpeg::ReadTimeoutCheck(E.get()));
  EXPECT_TRUE(Logged("connecting/reading/writing canceled"));
  EXPECT_TRUE(TCustomFFmpeg::BrokenCheck(E.get()));
  TObject Other;
  EXPECT_FALSE(TCustomFFmpeg::ReadTimeoutCheck(&Other));
  EXPECT_FALSE(TCustomFFmpeg::BrokenCheck(&Other));
}

TEST_F(RunTest, OutputsOfARunThatDidNotFinishGoWhetherWrittenOrNot) {
  vantrel::test::TTempDir Dir;
  const std::string Empty = Dir.File("empty.mkv"), Written = Dir.File("written.mkv");
  ASSERT_EQ(E->OpenOutputFile(Empty, false), 1) << E->LastErrMsg();
  ASSERT_EQ(E->OpenOutputFile(Written, false), 2) << E->LastErrMsg();
  E->OpenOutputFiles();
  ASSERT_NE(E->Foutput_files[1]->pb, nullptr);
  ff::avio_write(E->Foutput_files[1]->pb, reinterpret_cast<const unsigned char*>("data"), 4);
  // Written under part names in the output's folder until the run finishes.
  EXPECT_FALSE(FileExists(Written));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(Dir.Path()), {}), 2);
  E->FreeState();
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(Dir.Path()), {}), 0);
  EXPECT_EQ(E->Fnb_output_files, 0);
}

TEST_F(RunTest, EmptyFileThatWasThereBeforeSurvivesAFailedTask) {
  vantrel::test::TTempDir Dir;
  const std::string Before = Dir.File("before.mkv"), Fresh = Dir.File("fresh.mkv");
  vantrel::test::WriteFileBytes(Before, "");
  ASSERT_EQ(E->OpenOutputFile(Before, false), 1) << E->LastErrMsg();
  ASSERT_EQ(E->OpenOutputFile(Fresh, false), 2) << E->LastErrMsg();
  E->Fnb_input_files = 1;  // the fake conversion reads none
  E->Fail = true;
  EXPECT_EQ(E->StartConvert(false), nullptr);
  EXPECT_TRUE(E->FatalException());
  EXPECT_EQ(E->FatalMessage(), "fake failure");
  // The file that was there stays as it was; the one the task made and never wrote goes.
  EXPECT_TRUE(FileExists(Before));
  EXPECT_FALSE(FileExists(Fresh));
}

TEST_F(RunTest, MaxFilesOutsideItsRangeIsRefused) {
  EXPECT_THROW(CreateOwned<TFakeEngine>(0), FFmpegException);
  EXPECT_THROW(CreateOwned<TFakeEngine>(513), FFmpegException);
  EXPECT_NO_THROW(CreateOwned<TFakeEngine>(512));
}

}  // namespace
