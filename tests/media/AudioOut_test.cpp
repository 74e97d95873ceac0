// Conversions that encode audio: durations next to the video's, resampling, Opus at
// 48 kHz, the volume step and silence for an input whose audio starts late, checked
// with ffprobe and ffmpeg's volumedetect.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "tests/media/TaskTestEngine.h"
#include "tests/support/TranscodeProbe.h"

using namespace vantrel::media;
using vantrel::test::FFProbeEntries;
using vantrel::test::TTaskTest;

namespace {

// The max_volume (dB) that ffmpeg's volumedetect reports for the first audio stream, over
// the first ASeconds when given; 1 when ffmpeg fails.
double MaxVolume(const std::string& AFile, double ASeconds = 0) {
  std::string Cmd = "ffmpeg -nostdin -hide_banner -nostats -i '" + AFile + "'";
  if (ASeconds > 0) Cmd += " -t " + std::to_string(ASeconds);
  Cmd += " -map 0:a:0 -af volumedetect -f null - 2>&1";
  FILE* P = ::popen(Cmd.c_str(), "r");
  if (!P) return 1;
  std::string Out;
  char Buf[512];
  while (std::fgets(Buf, sizeof Buf, P)) Out += Buf;
  ::pclose(P);
  const auto At = Out.find("max_volume:");
  if (At == std::string::npos) return 1;
  return std::strtod(Out.c_str() + At + 11, nullptr);
}

class AudioOutTest : public TTaskTest {
 protected:
  bool Convert(const std::string& AInput, const std::string& AOutput, const TOutputOptions& AOptions) {
    T = CreateOwned<vantrel::test::TTestTask>(8);
    if (!OpenInput(AInput)) {
      ADD_FAILURE() << T->LastErrMsg();
      return false;
    }
    TOutputOptions O = AOptions;
    if (!T->OpenOutput(AOutput, &O)) {
      ADD_FAILURE() << T->LastErrMsg();
      return false;
    }
    T->StartConvert(false);
    EXPECT_FALSE(T->FatalException()) << T->FatalMessage();
    return T->Finished() && !T->FatalException();
  }
  static double Seconds(const std::string& AFile, const std::string& AEntry, const std::string& AStream) {
    return std::strtod(FFProbeEntries(AFile, AEntry, AStream).c_str(), nullptr);
  }
};

TEST_F(AudioOutTest, H264AacMp4KeepsAudioAndVideoTogether) {
  TOutputOptions O;
  O.VideoCodec = "libx264";
  O.AudioCodec = "aac";
  const std::string Out = Dir.File("a.mp4");
  ASSERT_TRUE(Convert(Fixture("task-a.avi"), Out, O));
  EXPECT_EQ(FFProbeEntries(Out, "stream=codec_name", "a:0"), "aac\n");
  const double Video = Seconds(Out, "stream=duration", "v:0");
  const double Audio = Seconds(Out, "stream=duration", "a:0");
  EXPECT_NEAR(Video, 3.0, 0.1);
  EXPECT_NEAR(Audio, Video, 0.1);
  EXPECT_GT(vantrel::test::TranscodeCountPackets(Out, "a:0"), 100);  // 3 s of 1024-sample frames
}

// The output's rate is the one asked for (or the nearest the encoder takes: libopus only
// runs at 48 kHz); its length stays the input's, within one encoder frame (and Opus'
// pre-skip).
TEST_F(AudioOutTest, ResamplesToTheEncodersRateKeepingTheDuration) {
  const struct {
    const char* Input;
    const char* Output;
    const char* Codec;
    Integer Rate;
    const char* ExpectRate;
    double Tolerance;
  } Cases[] = {
      {"task-c.wav", "c44.m4a", "aac", 44100, "44100", 1024.0 / 44100},
      {"task-c.wav", "c48.wav", "pcm_s16le", 48000, "48000", 1.0 / 48000},
      {"task-c.wav", "c22.wav", "pcm_s16le", 22050, "22050", 16.0 / 22050},
      {"dec-mono.wav", "m.opus", "libopus", 44100, "48000", 0.020 + 312.0 / 48000},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Output);
    TOutputOptions O;
    O.AudioCodec = C.Codec;
    O.AudioSampleRate = C.Rate;
    O.DisableVideo = true;
    const std::string Out = Dir.File(C.Output);
    ASSERT_TRUE(Convert(Fixture(C.Input), Out, O));
    EXPECT_EQ(FFProbeEntries(Out, "stream=sample_rate", "a:0"), std::string(C.ExpectRate) + "\n");
    const double In = std::strtod(FFProbeEntries(Fixture(C.Input), "format=duration").c_str(), nullptr);
    EXPECT_NEAR(std::strtod(FFProbeEntries(Out, "format=duration").c_str(), nullptr), In, C.Tolerance);
  }
}

TEST_F(AudioOutTest, VolumeDoublesTheSamples) {
  TOutputOptions O;
  O.AudioCodec = "pcm_s16le";
  O.DisableVideo = true;
  const std::string Plain = Dir.File("plain.wav"), Loud = Dir.File("loud.wav");
  ASSERT_TRUE(Convert(Fixture("task-a.avi"), Plain, O));
  O.AudioVolume = 512;
  ASSERT_TRUE(Convert(Fixture("task-a.avi"), Loud, O));
  const double Before = MaxVolume(Plain), After = MaxVolume(Loud);
  ASSERT_LT(Before, 0.0);
  ASSERT_LT(After, 0.0);
  EXPECT_NEAR(After - Before, 6.0, 0.5);
  // Through a float encoder as well.
  O.AudioCodec = "aac";
  const std::string LoudAac = Dir.File("loud.m4a");
  ASSERT_TRUE(Convert(Fixture("task-a.avi"), LoudAac, O));
  EXPECT_NEAR(MaxVolume(LoudAac) - Before, 6.0, 0.5);
}

// The input's audio begins 0.5 s after its video. With sync method 1 the output begins
// with 0.5 s of silence; with method 0 nothing is added (a WAV has no timestamps, so
// the late start is lost).
TEST_F(AudioOutTest, AudioSyncInsertsSilenceForALateStart) {
  const struct {
    Integer Method;
    double Duration;
  } Cases[] = {{1, 2.0}, {0, 1.5}};
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Method);
    TOutputOptions O;
    O.AudioCodec = "pcm_s16le";
    O.AudioSyncMethod = C.Method;
    O.DisableVideo = true;
    const std::string Out = Dir.File("late" + std::to_string(C.Method) + ".wav");
    ASSERT_TRUE(Convert(Fixture("audio-late.mkv"), Out, O));
    EXPECT_NEAR(std::strtod(FFProbeEntries(Out, "format=duration").c_str(), nullptr), C.Duration, 0.03);
    if (C.Method == 1) {
      EXPECT_LT(MaxVolume(Out, 0.45), -80.0);  // silence
      EXPECT_GT(MaxVolume(Out), -30.0);       // then the tone
    }
  }
}

// Audio that starts 40 samples after the video is left as it is; 60 samples late is
// beyond the tolerance of 50 and is filled with silence.
TEST_F(AudioOutTest, AudioSyncToleratesADriftUnderFiftySamples) {
  const struct {
    const char* File;
    int Samples;
  } Cases[] = {{"sync-40.nut", 48000}, {"sync-60.nut", 48060}};
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.File);
    TOutputOptions O;
    O.AudioCodec = "pcm_s16le";
    O.AudioSyncMethod = 1;
    O.DisableVideo = true;
    const std::string Out = Dir.File(std::string(C.File) + ".wav");
    ASSERT_TRUE(Convert(Fixture(C.File), Out, O));
    EXPECT_EQ(std::atoi(FFProbeEntries(Out, "stream=duration_ts", "a:0").c_str()), C.Samples);
  }
}

// The input's timestamps run 1 % slower than its samples: within the drift threshold,
// sync method 100 stretches the audio through the resampler (also at the same rate and
// format), by at most 100 samples a second; method 0 leaves the samples alone.
TEST_F(AudioOutTest, AudioSyncCompensatesASmallDriftThroughTheResampler) {
  double Duration[2] = {};
  for (Integer Method : {0, 100}) {
    SCOPED_TRACE(Method);
    TOutputOptions O;
    O.AudioCodec = "pcm_s16le";
    O.AudioSampleRate = 48000;
    O.AudioSyncMethod = Method;
    const std::string Out = Dir.File("drift" + std::to_string(Method) + ".wav");
    {
      std::lock_guard<std::mutex> L(LinesLock);
      Lines.clear();
    }
    T = CreateOwned<vantrel::test::TTestTask>(8);
    ASSERT_TRUE(OpenInput(Fixture("audio-drift.mkv")));
    T->SetVerbose(3);
    ASSERT_TRUE(T->OpenOutput(Out, &O)) << T->LastErrMsg();
    T->StartConvert(false);
    ASSERT_TRUE(T->Finished()) << T->FatalMessage();
    EXPECT_EQ(Logged("compensating audio timestamp drift"), Method == 100);
    Duration[Method ? 1 : 0] = std::strtod(FFProbeEntries(Out, "format=duration").c_str(), nullptr);
  }
  EXPECT_NEAR(Duration[0], 2.0, 0.001);
  EXPECT_GT(Duration[1], Duration[0] + 0.002);
  EXPECT_LT(Duration[1], Duration[0] + 2 * 100.0 / 48000 + 0.002);
}

TEST_F(AudioOutTest, AudioHookSeesInterleavedSamples) {
  TOutputOptions O;
  O.AudioCodec = "pcm_s16le";
  O.DisableVideo = true;
  T = CreateOwned<vantrel::test::TTestTask>(8);
  ASSERT_TRUE(OpenInput(Fixture("task-a.avi")));
  ASSERT_TRUE(T->OpenOutput(Dir.File("hook.wav"), &O));
  Int64 Bytes = 0;
  Integer Format = -1, Channels = 0;
  T->OnAudioHook = [&](TObject*, Int64, Byte*, Integer ASize, Integer, Integer AChannels, Integer AFormat) {
    Bytes += ASize;
    Format = AFormat;
    Channels = AChannels;
  };
  T->StartConvert(false);
  ASSERT_TRUE(T->Finished()) << T->FatalMessage();
  // MP3 decodes to planar float: the hook gets packed float for both channels.
  EXPECT_EQ(Format, AV_SAMPLE_FMT_FLT);
  EXPECT_EQ(Channels, 2);
  EXPECT_NEAR(static_cast<double>(Bytes) / (4 * 2 * 44100), 3.0, 0.1);
}

}  // namespace
