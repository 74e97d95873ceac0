// Join mode: several inputs written one after another into one output through encoders
// that stay open, with continuous timestamps and a single trailer.
#include <algorithm>
#include <cstdio>
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

double Seconds(const std::string& AText) { return std::strtod(AText.c_str(), nullptr); }

// The output of a shell command (its error output too).
std::string JoinShell(const std::string& ACommand) {
  std::string Out;
  if (std::FILE* P = ::popen((ACommand + " 2>&1").c_str(), "r")) {
    char Buf[4096];
    size_t N;
    while ((N = std::fread(Buf, 1, sizeof Buf, P)) > 0) Out.append(Buf, N);
    ::pclose(P);
  }
  return Out;
}

// The loudest sample (dB below full scale) of the sound of AFile from AFrom on for ALength
// seconds, as ffmpeg's volumedetect measures it; digital silence reads about -91.
double JoinMaxVolume(const std::string& AFile, double AFrom, double ALength) {
  const std::string Out = JoinShell("ffmpeg -nostdin -hide_banner -ss " + std::to_string(AFrom) + " -t " +
                                    std::to_string(ALength) + " -i '" + AFile +
                                    "' -map a:0 -af volumedetect -f null -");
  const size_t At = Out.find("max_volume:");
  return At == std::string::npos ? 0 : std::strtod(Out.c_str() + At + 11, nullptr);
}

class JoinTest : public TTaskTest {
 protected:
  // Makes AName in the test's folder with ffmpeg from a picture of ASeconds at 25 per
  // second and, with ASoundRate not 0, a tone of that sample rate in AAudioCodec.
  std::string Clip(const std::string& AName, double ASeconds, int ASoundRate, const std::string& AAudioCodec = "aac") {
    const std::string File = Dir.File(AName);
    const std::string Length = std::to_string(ASeconds);
    std::string Cmd =
        "ffmpeg -nostdin -hide_banner -loglevel error -y -f lavfi -i testsrc=size=320x240:rate=25:duration=" + Length;
    if (ASoundRate)
      Cmd += " -f lavfi -i sine=frequency=440:sample_rate=" + std::to_string(ASoundRate) + ":duration=" + Length +
             " -c:a " + AAudioCodec + " -shortest";
    Cmd += " -c:v libx264 -pix_fmt yuv420p '" + File + "'";
    EXPECT_EQ(std::system(Cmd.c_str()), 0) << Cmd;
    return File;
  }

  // Joins the inputs (fixtures, or files given by their full path) into AOutput with the
  // record's codecs; true when it finished.
  bool Join(const std::vector<std::string>& AInputs, const std::string& AOutput, TOutputOptions O) {
    for (const std::string& In : AInputs)
      if (!OpenInput(In[0] == '/' ? In : Fixture(In.c_str()))) {
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

// Clips whose sound runs a little past their pictures (AAC fills its last frame), of
// other rates and codecs: the joined file lasts as long as the clips together, within one
// picture, in both streams; no seam adds time.
TEST_F(JoinTest, TheJoinLastsAsLongAsItsClips) {
  const std::vector<std::string> Clips = {Clip("a.mp4", 1, 44100), Clip("b.mp4", 1.4, 48000),
                                          Clip("c.mkv", 0.6, 22050, "libmp3lame"), Clip("d.mp4", 1, 44100)};
  double Sum = 0;
  for (const std::string& C : Clips) Sum += Seconds(FFProbeEntries(C, "format=duration"));
  ASSERT_NEAR(Sum, 4.0, 0.1);
  TOutputOptions O;
  O.VideoCodec = "mpeg4";
  O.AudioCodec = "aac";
  const std::string Out = Dir.File("joined.mp4");
  ASSERT_TRUE(Join(Clips, Out, O));
  EXPECT_NEAR(Seconds(FFProbeEntries(Out, "format=duration")), Sum, 0.04);
  EXPECT_NEAR(Seconds(FFProbeEntries(Out, "stream=duration", "v:0")), Sum, 0.04);
  EXPECT_NEAR(Seconds(FFProbeEntries(Out, "stream=duration", "a:0")), Sum, 0.04);
  EXPECT_NEAR(vantrel::test::TranscodeCountFrames(Out), Sum * 25, 1);
  ExpectIncreasing(Out, "a:0");
}

// A clip without sound between and after clips with sound: the output keeps its sound
// track, silent for as long as each silent clip lasts.
TEST_F(JoinTest, AClipWithoutSoundIsJoinedWithSilence) {
  const std::string Sound = Clip("sound.mp4", 1, 44100);
  const std::string Silent = Clip("silent.mp4", 1, 0);
  ASSERT_EQ(FFProbeEntries(Silent, "stream=codec_type"), "video\n");
  TOutputOptions O;
  O.VideoCodec = "mpeg4";
  O.AudioCodec = "aac";
  const std::string Out = Dir.File("joined.mp4");
  ASSERT_TRUE(Join({Sound, Silent, Sound, Silent}, Out, O));
  EXPECT_EQ(FFProbeEntries(Out, "stream=codec_type"), "video\naudio\n");
  EXPECT_NEAR(Seconds(FFProbeEntries(Out, "format=duration")), 4.0, 0.04);
  EXPECT_NEAR(Seconds(FFProbeEntries(Out, "stream=duration", "a:0")), 4.0, 0.04);
  EXPECT_EQ(vantrel::test::TranscodeCountFrames(Out), 100);
  ExpectIncreasing(Out, "a:0");
  const struct {
    double From;
    bool Loud;
  } Parts[] = {{0.1, true}, {1.1, false}, {2.1, true}, {3.1, false}};
  for (const auto& P : Parts) {
    SCOPED_TRACE(P.From);
    const double Max = JoinMaxVolume(Out, P.From, 0.8);
    if (P.Loud) EXPECT_GT(Max, -20);
    else EXPECT_LT(Max, -80);
  }
}

}  // namespace
