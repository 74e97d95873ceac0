// Real conversions through the encoder component, in conversion threads with the main
// thread's call queue pumped as a GUI loop would: one file to H.264/AAC MP4 with the
// codec preset the application applies to every libx264 output, and two inputs joined
// into one output.
#include <filesystem>

#include "tests/media/EncoderTestEncoder.h"
#include "tests/support/TranscodeProbe.h"

using namespace vantrel::media;
using vantrel::test::FFProbeEntries;
using vantrel::test::TranscodeCountFrames;

namespace {

class EncoderEndToEndTest : public vantrel::test::TEncoderTest {
 protected:
  void SetUp() override {
    TEncoderTest::SetUp();
    Real = CreateOwned<TFFEncoder>(nullptr);
    Component = Real.get();
    Real->OnTerminate = E->OnTerminate;
    Real->OnProgress = E->OnProgress;
  }
  void TearDown() override {
    Real.reset();
    TEncoderTest::TearDown();
  }
  static TOutputOptions H264() {
    TOutputOptions O;
    ResetOutputOptions(O);
    O.VideoCodec = "libx264";
    O.VideoPreset = "libx264-default";
    O.DisableAudio = true;
    return O;
  }
  static Int64 DurationOf(const std::string& AFile) {
    return static_cast<Int64>(std::llround(std::strtod(FFProbeEntries(AFile, "format=duration").c_str(), nullptr) * 1e6));
  }
  // Starts in one conversion thread and serves the main thread until the final event.
  void RunAll() {
    Real->Start(1);
    PumpUntil([this] { return FinalSeen(); });
    for (const auto& T : Terms) {
      EXPECT_TRUE(T.Info.Finished) << T.Info.TaskIndex << ": " << T.Info.ExceptionMsg;
      EXPECT_FALSE(T.Info.Exception) << T.Info.ExceptionMsg;
    }
  }

  TOwned<TFFEncoder> Real;  // real transcoders for every task
};

TEST_F(EncoderEndToEndTest, ConvertsOneFileToH264AndAacWithTheDefaultCodecPreset) {
  const std::string In = Fixture("task-a.avi");
  const std::string Out = Dir.File("a.mp4");
  TInputOptions I;
  ResetInputOptions(I);
  ASSERT_EQ(Real->AddTask(In, &I), 0) << Real->LastErrMsg();
  TOutputOptions O = H264();
  O.DisableAudio = false;
  O.AudioCodec = "aac";
  O.AudioBitrate = 128000;
  O.AudioSampleRate = 44100;
  O.AudioChannels = 2;
  ASSERT_TRUE(Real->SetOutputFile(0, Out, &O)) << Real->LastErrMsg();
  RunAll();
  EXPECT_EQ(TermIndexes(), (std::vector<Integer>{0, -1}));
  // Progress came on the main thread, for task 0, before its termination.
  ASSERT_FALSE(Progress.empty());
  for (size_t K = 0; K < Progress.size(); ++K) {
    EXPECT_EQ(Progress[K].TaskIndex, 0);
    EXPECT_EQ(ProgressThreads[K], MainThreadID());
  }
  EXPECT_GT(Progress.back().CurrentDuration, 0);
  EXPECT_EQ(FFProbeEntries(Out, "stream=codec_name"), "h264\naac\n");
  EXPECT_EQ(TranscodeCountFrames(Out), TranscodeCountFrames(In));
  EXPECT_NEAR(DurationOf(Out), DurationOf(In), 100000);
}

TEST_F(EncoderEndToEndTest, JoinsTwoInputsIntoOneOutput) {
  const std::string In = Fixture("task-a.avi");
  const std::string Out = Dir.File("joined.mp4");
  ASSERT_EQ(Real->AddTask(In, static_cast<TInputOptions*>(nullptr)), 0) << Real->LastErrMsg();
  ASSERT_TRUE(Real->AddInputFile(0, In, static_cast<TInputOptions*>(nullptr))) << Real->LastErrMsg();
  TOutputOptions O = H264();
  O.DisableAudio = false;
  O.AudioCodec = "aac";
  O.Join = true;
  ASSERT_TRUE(Real->SetOutputFile(0, Out, &O)) << Real->LastErrMsg();
  RunAll();
  EXPECT_EQ(FFProbeEntries(Out, "stream=codec_name"), "h264\naac\n");
  // The second input starts where the first one's longer stream (its sound) ended; the
  // frame that bridges a gap of more than half a frame repeats the first one's last picture.
  EXPECT_NEAR(TranscodeCountFrames(Out), 2 * TranscodeCountFrames(In), 1);
  EXPECT_NEAR(DurationOf(Out), 2 * DurationOf(In), 100000);
}

// The first task reads at its native rate (3 s) and is stopped from the test's body once
// its first progress event has come; the other two never convert.
TEST_F(EncoderEndToEndTest, StopDuringTheFirstOfThreeRealTasks) {
  const std::string In = Fixture("task-a.avi");
  for (int K = 0; K < 3; ++K) {
    TInputOptions I;
    ResetInputOptions(I);
    if (K == 0) I.ExtOptions = "re=1";
    ASSERT_EQ(Real->AddTask(In, &I), K) << Real->LastErrMsg();
    TOutputOptions O = H264();
    ASSERT_TRUE(Real->SetOutputFile(K, Dir.File("stop" + std::to_string(K) + ".mp4"), &O)) << Real->LastErrMsg();
  }
  Real->Start(1);
  PumpUntil([this] { return ProgressCount() > 0; });
  Real->Stop(true);
  PumpUntil([this] { return FinalSeen(); });
  EXPECT_EQ(TermIndexes(), (std::vector<Integer>{0, 1, 2, -1}));
  for (const auto& T : Terms) {
    EXPECT_FALSE(T.Info.Finished) << T.Info.TaskIndex;
    EXPECT_FALSE(T.Info.Exception) << T.Info.TaskIndex << ": " << T.Info.ExceptionMsg;
  }
  // The stopped task leaves no partial file; the others never wrote one.
  EXPECT_TRUE(std::filesystem::is_empty(Dir.Path()));
}

}  // namespace
