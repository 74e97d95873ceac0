// Join mode: several inputs written one after another into one output through encoders
// that stay open, with continuous timestamps and a single trailer.
#include <algorithm>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "tests/media/TaskTestEngine.h"
#include "tests/support/TranscodeProbe.h"

using namespace vantrel::media;
using vantrel::test::FFProbeEntries;
using vantrel::test::TTaskTest;

namespace {

std::vector<double> Values(const std::string& AText) {
  std::vector<double> V;
  std::istringstream In(AText);
  std::string Line;
  while (std::getline(In, Line))
    if (!Line.empty() && Line != "N/A") V.push_back(std::strtod(Line.c_str(), nullptr));
  return V;
}

class JoinTest : public TTaskTest {
 protected:
  // Joins the inputs into AOutput with the record's codecs; true when it finished.
  bool Join(const std::vector<std::string>& AInputs, const std::string& AOutput, TOutputOptions O) {
    for (const std::string& In : AInputs)
      if (!OpenInput(Fixture(In.c_str()))) {
        ADD_FAILURE() << T->LastErrMsg();
        return false;
      }
    O.Join = true;
    if (!T->OpenOutput(AOutput, &O)) {
      ADD_FAILURE() << T->LastErrMsg();
      return false;
    }
    EXPECT_TRUE(T->JoinMode());
    T->OnProgress = [this](TObject*, Integer AFileIndex, Integer AFrame, Integer, Single, Single, Int64,
                           Int64 ACurrent, Int64 ATotal) {
      Files.push_back(AFileIndex);
      Frames.push_back(AFrame);
      Currents.push_back(ACurrent);
      Total = ATotal;
    };
    T->Clock = [this] { return ClockNow += 20000; };
    T->StartConvert(false);
    EXPECT_FALSE(T->FatalException()) << T->FatalMessage();
    return T->Finished();
  }
  static void ExpectIncreasing(const std::string& AFile, const std::string& AStream) {
    SCOPED_TRACE(AStream);
    const std::vector<double> Dts = Values(FFProbeEntries(AFile, "packet=dts_time", AStream));
    ASSERT_GT(Dts.size(), 10u);
    for (size_t i = 1; i < Dts.size(); ++i) ASSERT_GT(Dts[i], Dts[i - 1]) << "packet " << i;
  }

  Int64 ClockNow = 1000000;
  std::vector<Integer> Files, Frames;
  std::vector<Int64> Currents;
  Int64 Total = 0;
};

// A (MPEG-4 and 44.1 kHz MP3, 3 s) then an H.264 clip of the same size with 48 kHz AAC
// (2 s): one file of 5 s with one stream of each kind.
TEST_F(JoinTest, TwoInputsBecomeOneContinuousFile) {
  TOutputOptions O;
  O.VideoCodec = "libx264";
  O.AudioCodec = "aac";
  const std::string Out = Dir.File("joined.mp4");
  ASSERT_TRUE(Join({"task-a.avi", "v.mp4"}, Out, O));
  EXPECT_EQ(FFProbeEntries(Out, "stream=codec_type"), "video\naudio\n");
  EXPECT_NEAR(std::strtod(FFProbeEntries(Out, "format=duration").c_str(), nullptr), 5.0, 0.1);
  EXPECT_NEAR(std::strtod(FFProbeEntries(Out, "stream=duration", "a:0").c_str(), nullptr), 5.0, 0.1);
  EXPECT_NEAR(vantrel::test::TranscodeCountFrames(Out), 125, 1);
  ExpectIncreasing(Out, "v:0");
  ExpectIncreasing(Out, "a:0");

  // The reports follow the segments; frame numbers go on; the total is both inputs'.
  ASSERT_GE(Files.size(), 3u);
  EXPECT_EQ(Files.front(), 0);
  EXPECT_EQ(Files.back(), -1);
  EXPECT_NE(std::find(Files.begin(), Files.end(), 1), Files.end());
  for (size_t i = 1; i < Frames.size(); ++i) EXPECT_GE(Frames[i], Frames[i - 1]);
  EXPECT_NEAR(Frames.back(), 125, 1);
  EXPECT_NEAR(static_cast<double>(Total), 5000000.0, 100000.0);
  for (Int64 C : Currents) EXPECT_LE(C, Total);
}

// Audio only, three inputs (one of another rate): the samples follow one another.
TEST_F(JoinTest, AudioInputsFollowOneAnother) {
  TOutputOptions O;
  O.AudioCodec = "pcm_s16le";
  O.AudioSampleRate = 48000;
  O.DisableVideo = true;
  const std::string Out = Dir.File("joined.wav");
  ASSERT_TRUE(Join({"task-c.wav", "dec-mono.wav", "task-c.wav"}, Out, O));
  EXPECT_NEAR(std::strtod(FFProbeEntries(Out, "format=duration").c_str(), nullptr), 6.0, 0.03);
}

// The output has the first input's size; the second input is smaller: its pictures are
// scaled to the output's size.
TEST_F(JoinTest, AnInputOfAnotherSizeIsScaledToTheFirst) {
  TOutputOptions O;
  O.VideoCodec = "libx264";
  O.FrameSize = "320x240";
  O.DisableAudio = true;
  const std::string Out = Dir.File("sizes.mp4");
  ASSERT_TRUE(Join({"task-a.avi", "hook-light.avi"}, Out, O));
  EXPECT_EQ(FFProbeEntries(Out, "stream=width,height", "v:0"), "320\n240\n");
  EXPECT_NEAR(vantrel::test::TranscodeCountFrames(Out), 100, 1);
  EXPECT_NEAR(std::strtod(FFProbeEntries(Out, "format=duration").c_str(), nullptr), 4.0, 0.1);
  ExpectIncreasing(Out, "v:0");
}

TEST_F(JoinTest, AnInputWithoutAMatchingStreamFailsClearly) {
  TOutputOptions O;
  O.VideoCodec = "libx264";
  O.AudioCodec = "aac";
  ASSERT_TRUE(OpenInput(Fixture("task-a.avi")));
  ASSERT_TRUE(OpenInput(Fixture("task-c.wav")));  // no video
  O.Join = true;
  ASSERT_TRUE(T->OpenOutput(Dir.File("bad.mp4"), &O)) << T->LastErrMsg();
  T->StartConvert(false);
  EXPECT_TRUE(T->FatalException());
  EXPECT_EQ(T->FatalMessage(), "Could not find input stream matching output stream #0.0 (Video) in input file #1");
}

// Nothing set by the task: the output takes the first clip's size, rate and channels, in
// either order, and lasts as long as both clips.
TEST_F(JoinTest, OutputTakesTheFirstClipsPictureAndSound) {
  const struct {
    const char* First;
    const char* Second;
    const char* Video;  // width, height, rate
    const char* Audio;  // sample rate, channels
  } Cases[] = {{"join-big.mkv", "join-small.mkv", "320\n240\n25/1\n", "48000\n2\n"},
               {"join-small.mkv", "join-big.mkv", "160\n120\n30/1\n", "44100\n6\n"}};
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.First);
    T = CreateOwned<vantrel::test::TTestTask>(8);
    TOutputOptions O;
    O.VideoCodec = "mpeg4";
    O.AudioCodec = "pcm_s16le";
    const std::string Out = Dir.File(std::string("joined-") + C.First);
    ASSERT_TRUE(Join({C.First, C.Second}, Out, O));
    EXPECT_EQ(FFProbeEntries(Out, "stream=width,height,r_frame_rate", "v:0"), C.Video);
    EXPECT_EQ(FFProbeEntries(Out, "stream=sample_rate,channels", "a:0"), C.Audio);
    const double Duration = std::strtod(FFProbeEntries(Out, "format=duration").c_str(), nullptr);
    EXPECT_NEAR(Duration, 2.0, 0.05);
  }
}

}  // namespace
