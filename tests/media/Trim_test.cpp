// Trimmed conversions: an output of a selection starts at its start and ends at its end,
// for pictures and for sound, although the seek lands on the key frame at 0. The source's
// picture and tone change every second, so the first and last moments of an output tell
// which second of the source they came from.
#include <cmath>
#include <cstdio>
#include <sstream>

#include "tests/media/TaskTestEngine.h"
#include "tests/support/TranscodeProbe.h"

using namespace vantrel::media;
using vantrel::test::FFProbeEntries;

namespace {

// Luma and tone of second S of the fixture.
double FixtureLuma(int S) { return 16 + 20 * S; }
double FixtureTone(int S) { return 200.0 * (S + 1); }

constexpr int SampleRate = 44100;

// The times of the pictures of the first video stream, as ffprobe reads them.
std::vector<double> PictureTimes(const std::string& AFile) {
  std::istringstream In(FFProbeEntries(AFile, "frame=pts_time", "v:0"));
  std::vector<double> Times;
  double Pts;
  while (In >> Pts) Times.push_back(Pts);
  return Times;
}

// The start and length (seconds) of each block of samples of the first audio stream, as
// ffprobe reads them.
std::vector<std::pair<double, double>> SoundBlocks(const std::string& AFile) {
  const double Rate = std::strtod(FFProbeEntries(AFile, "stream=sample_rate", "a:0").c_str(), nullptr);
  std::istringstream In(FFProbeEntries(AFile, "frame=pts_time,nb_samples", "a:0"));
  std::vector<std::pair<double, double>> Blocks;
  double Pts, Samples;
  while (Rate > 0 && In >> Pts >> Samples) Blocks.emplace_back(Pts, Samples / Rate);
  return Blocks;
}

// The sound of a file decoded by ffmpeg as mono 16-bit samples at SampleRate.
std::vector<int16_t> DecodedSound(const std::string& AFile) {
  const std::string Cmd = "ffmpeg -nostdin -v error -i '" + AFile + "' -f s16le -ac 1 -ar " +
                          std::to_string(SampleRate) + " -";
  std::vector<int16_t> Samples;
  std::FILE* P = ::popen(Cmd.c_str(), "r");
  if (!P) return Samples;
  int16_t Buf[4096];
  size_t N;
  while ((N = std::fread(Buf, sizeof Buf[0], 4096, P)) > 0) Samples.insert(Samples.end(), Buf, Buf + N);
  ::pclose(P);
  return Samples;
}

// The tone's frequency between two times (seconds) of the decoded sound, from the number
// of times it swings from clearly below zero to clearly above.
double ToneAt(const std::vector<int16_t>& ASamples, double AFrom, double ATo) {
  const size_t From = static_cast<size_t>(AFrom * SampleRate), To = static_cast<size_t>(ATo * SampleRate);
  int Swings = 0;
  bool Low = false;
  for (size_t I = From; I < To && I < ASamples.size(); ++I) {
    if (ASamples[I] < -3000) Low = true;
    if (ASamples[I] > 3000 && Low) {
      ++Swings;
      Low = false;
    }
  }
  return Swings / (ATo - AFrom);
}

class TrimTest : public vantrel::test::TTaskTest {};

TEST_F(TrimTest, OutputsStartAtTheSelectedStartAndEndAtTheSelectedEnd) {
  const struct {
    const char* Name;
    double Start, End;
    bool Video, Audio;
  } Cases[] = {
      {"trim.mp3", 3, 7, false, true},
      {"trim.mp4", 3, 7, true, false},
      {"short.mp4", 3.36, 5.56, true, false},
      {"both.mkv", 3.36, 5.56, true, true},
      {"short.mp3", 3.36, 5.56, false, true},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Name);
    T = CreateOwned<vantrel::test::TTestTask>(8);
    TInputOptions I;
    I.TimeStart = std::llround(C.Start * 1e6);
    ASSERT_TRUE(T->OpenInput(Fixture("trim-tones.mp4"), &I)) << T->LastErrMsg();
    TOutputOptions O;
    O.TimeLength = std::llround((C.End - C.Start) * 1e6);
    O.DisableVideo = !C.Video;
    O.DisableAudio = !C.Audio;
    O.VideoCodec = "mpeg4";
    O.AudioCodec = std::string(C.Name).ends_with(".mp3") ? "libmp3lame" : "aac";
    const std::string Out = Dir.File(C.Name);
    ASSERT_TRUE(T->OpenOutput(Out, &O)) << T->LastErrMsg();
    T->StartConvert(false);
    ASSERT_TRUE(T->Finished()) << T->FatalMessage();
    const double Length = C.End - C.Start;

    if (C.Video) {
      // Within one frame (1/25 s) at both ends, and the pictures of the selected seconds.
      const auto Frames = PictureTimes(Out);
      ASSERT_FALSE(Frames.empty());
      EXPECT_NEAR(Frames.front(), 0, 0.04);
      EXPECT_NEAR(Frames.back() + 0.04, Length, 0.04);
      EXPECT_NEAR(static_cast<double>(Frames.size()), Length * 25, 1);
      const auto Luma = vantrel::test::TranscodeFrameStats(Out, "YAVG");
      ASSERT_FALSE(Luma.empty());
      EXPECT_NEAR(Luma.front().second, FixtureLuma(static_cast<int>(C.Start)), 4);
      EXPECT_NEAR(Luma.back().second, FixtureLuma(static_cast<int>(C.End - 0.04)), 4);
    } else {
      EXPECT_TRUE(FFProbeEntries(Out, "stream=index", "v").empty());
    }
    if (C.Audio) {
      // Within 30 ms at both ends, and the tones of the selected seconds.
      const auto Frames = SoundBlocks(Out);
      ASSERT_FALSE(Frames.empty());
      EXPECT_NEAR(Frames.front().first, 0, 0.03);
      EXPECT_NEAR(Frames.back().first + Frames.back().second, Length, 0.03);
      const auto Sound = DecodedSound(Out);
      EXPECT_NEAR(static_cast<double>(Sound.size()) / SampleRate, Length, 0.03);
      EXPECT_NEAR(ToneAt(Sound, 0.05, 0.25), FixtureTone(static_cast<int>(C.Start)), 50);
      EXPECT_NEAR(ToneAt(Sound, Length - 0.25, Length - 0.05), FixtureTone(static_cast<int>(C.End - 0.05)), 50);
    }
  }
}

}  // namespace
