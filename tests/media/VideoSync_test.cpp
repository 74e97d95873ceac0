// Video sync at a constant output rate: every picture is first shown within one output
// frame of its own time, never early; a gap in the input is filled with the picture
// before it; a video that starts after its sound keeps its start; doubling the rate
// repeats every picture and halving it drops every other one.
#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "tests/media/TaskTestEngine.h"
#include "tests/support/TranscodeProbe.h"

using namespace vantrel::media;
using vantrel::test::FFProbeEntries;
using vantrel::test::TranscodeCountFrames;
using vantrel::test::TranscodeFrameStats;

namespace {

constexpr double SyncFrame = 0.040;  // one output frame at 25 fps
constexpr double SyncSlack = 0.001;  // the millisecond times of Matroska

// A picture as ffprobe sees it: its time and its number (the fixtures' luma is 16 + 8 n).
struct ShownPicture {
  double Time;
  int Number;
};

std::vector<ShownPicture> ShownPictures(const std::string& AFile) {
  std::vector<ShownPicture> Pictures;
  for (const auto& [Time, Luma] : TranscodeFrameStats(AFile, "YAVG"))
    Pictures.push_back({Time, static_cast<int>(std::lround((Luma - 16) / 8))});
  return Pictures;
}

double ProbedStartTime(const std::string& AFile, const char* AStream) {
  return std::strtod(FFProbeEntries(AFile, "stream=start_time", AStream).c_str(), nullptr);
}

class VideoSyncTest : public vantrel::test::TTaskTest {
 protected:
  // Converts AInput to AOutput as MPEG-4 at AFrameRate with the video sync method ASync
  // (-1: automatic) and the sound as AAudio (nil: none).
  void Convert(const char* AInput, const std::string& AOutput, const char* AFrameRate, const char* AAudio,
               Integer ASync = -1) {
    ASSERT_TRUE(OpenInput(Fixture(AInput))) << T->LastErrMsg();
    TOutputOptions O;
    O.VideoCodec = "mpeg4";
    O.FrameRate = AFrameRate;
    O.ExtOptions = "qscale=2";
    O.VideoSyncMethod = ASync;
    if (AAudio)
      O.AudioCodec = AAudio;
    else
      O.DisableAudio = true;
    ASSERT_TRUE(T->OpenOutput(AOutput, &O)) << T->LastErrMsg();
    T->StartConvert(false);
    ASSERT_TRUE(T->Finished()) << T->FatalMessage();
  }

  // Each input picture is first shown within one output frame of its own time (both
  // counted from the sound's start, AInStart and AOutStart).
  static void ExpectShownOnTime(const std::vector<ShownPicture>& AIn, double AInStart,
                                const std::vector<ShownPicture>& AOut, double AOutStart) {
    std::map<int, double> FirstShown;
    for (const ShownPicture& P : AOut) FirstShown.emplace(P.Number, P.Time - AOutStart);
    for (const ShownPicture& P : AIn) {
      SCOPED_TRACE("picture " + std::to_string(P.Number));
      const auto Shown = FirstShown.find(P.Number);
      ASSERT_NE(Shown, FirstShown.end());
      EXPECT_NEAR(Shown->second, P.Time - AInStart, SyncFrame + SyncSlack);
    }
  }
};

// Pictures 10 to 14 are missing (0.40 s to 0.60 s): the MP4 output (a constant rate by
// default) shows picture 9 there and picture 15 from 0.60 s.
TEST_F(VideoSyncTest, GapShowsThePictureBeforeIt) {
  const std::string Out = Dir.File("gap.mp4");
  Convert("sync-gap.mkv", Out, "25", nullptr);
  const auto In = ShownPictures(Fixture("sync-gap.mkv"));
  const auto Shown = ShownPictures(Out);
  EXPECT_EQ(In.size(), 20u);
  EXPECT_EQ(Shown.size(), 25u);
  ExpectShownOnTime(In, 0, Shown, 0);
  for (const ShownPicture& P : Shown)
    if (P.Time > 0.40 - SyncSlack && P.Time < 0.60 - SyncSlack) {
      SCOPED_TRACE(P.Time);
      EXPECT_EQ(P.Number, 9);
    }
}

// The pictures start 46 ms after the sound: the output's pictures start within one frame
// of that, and each is shown on time; in MP4 (a constant rate by default) and in
// Matroska with a constant rate asked for.
TEST_F(VideoSyncTest, LateVideoKeepsItsStart) {
  const struct {
    const char* Name;
    const char* Audio;
    Integer Sync;
  } Cases[] = {{"late.mp4", "aac", -1}, {"late.mkv", "pcm_s16le", 1}};
  const std::string In = Fixture("sync-late.mkv");
  const double InAudio = ProbedStartTime(In, "a:0");
  EXPECT_NEAR(ProbedStartTime(In, "v:0") - InAudio, 0.046, SyncSlack);
  const auto InPictures = ShownPictures(In);
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Name);
    T = CreateOwned<vantrel::test::TTestTask>(8);
    const std::string Out = Dir.File(C.Name);
    Convert("sync-late.mkv", Out, "25", C.Audio, C.Sync);
    const double OutAudio = ProbedStartTime(Out, "a:0");
    EXPECT_NEAR(ProbedStartTime(Out, "v:0") - OutAudio, 0.046, SyncFrame + SyncSlack);
    const auto Shown = ShownPictures(Out);
    EXPECT_EQ(Shown.size(), 25u);
    ExpectShownOnTime(InPictures, InAudio, Shown, OutAudio);
  }
}

// 25 fps at 50 fps repeats every picture; at 12.5 fps every other picture is dropped.
TEST_F(VideoSyncTest, RateChangesRepeatOrDropPictures) {
  const struct {
    const char* Rate;
    int Frames, Dup, Drop;
  } Cases[] = {{"50", 50, 25, 0}, {"12.5", 13, 0, 12}};
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Rate);
    T = CreateOwned<vantrel::test::TTestTask>(8);
    const std::string Out = Dir.File(std::string("rate-") + C.Rate + ".mp4");
    Convert("hook-light.avi", Out, C.Rate, nullptr);
    EXPECT_EQ(TranscodeCountFrames(Out), C.Frames);
    EXPECT_EQ(T->Fnb_frames_dup, C.Dup);
    EXPECT_EQ(T->Fnb_frames_drop, C.Drop);
  }
}

}  // namespace
