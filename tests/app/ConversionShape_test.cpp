// Conversion jobs of real files, read back with ffprobe and frame grabs: the shape of the
// picture in the output frame (crop and aspect choices, sources of other sample shapes,
// joins of clips of different shapes) and the notice about left-out sound at the end.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "app/MakerService.h"
#include "media/FFDecode.h"
#include "tests/app/ConversionFixture.h"

using namespace vantrel::app;
using vantrel::apptest::ConversionProbe;
using vantrel::apptest::ConversionShell;
using vantrel::apptest::ConversionStreamTypes;
using vantrel::apptest::ConversionVideoFormat;

namespace {

// width,height,sample aspect,display aspect of the first video stream.
std::string ShapeOfVideo(const std::string& File) {
  return ConversionProbe(File,
                         "-select_streams v:0 -show_entries stream=width,height,sample_aspect_ratio,display_aspect_ratio");
}

// Makes File with ffmpeg from lavfi sources and output options.
void ShapeMakeClip(const std::string& File, const std::string& Args) {
  const std::string Cmd = "ffmpeg -nostdin -hide_banner -loglevel error -y " + Args + " '" + File + "'";
  ASSERT_EQ(std::system(Cmd.c_str()), 0) << Cmd;
}

// The dark run at each end of the middle row of the picture shown at Seconds: the bars'
// widths in pixels (luma below 48 is a bar; the test pictures are white).
struct TShapeBars {
  Integer Left = -1, Right = -1, Top = -1;
};
TShapeBars ShapeBarsAt(const std::string& File, double Seconds, Integer W, Integer H) {
  char At[32];
  std::snprintf(At, sizeof At, "%.3f", Seconds);
  const std::string Gray = ConversionShell("ffmpeg -nostdin -hide_banner -loglevel error -ss " + std::string(At) +
                                           " -i '" + File + "' -frames:v 1 -f rawvideo -pix_fmt gray -");
  TShapeBars B;
  if (Gray.size() != static_cast<size_t>(W) * H) return B;
  auto Dark = [&](Integer X, Integer Y) { return static_cast<unsigned char>(Gray[Y * W + X]) < 48; };
  B.Left = B.Right = B.Top = 0;
  while (B.Left < W && Dark(B.Left, H / 2)) ++B.Left;
  while (B.Right < W && Dark(W - 1 - B.Right, H / 2)) ++B.Right;
  while (B.Top < H && Dark(W / 2, B.Top)) ++B.Top;
  return B;
}

// Jobs of files added to the list as the program adds them, into 1280 x 720 MP4 (format
// 0), 640 x 360 MP4 (1) or MP3 (2).
class ConversionShape : public vantrel::apptest::ConversionJobTest {
 protected:
  vantrel::test::TTempDir Src;
  TOwned<vantrel::media::TFFDecoder> Probe;

  void SetUp() override {
    ConversionJobTest::SetUp();
    if (HasFatalFailure()) return;
    Probe = CreateOwned<vantrel::media::TFFDecoder>(nullptr);
    State.Profiles.push_back({"Profile", "id", "icon",
                              {ConversionVideoFormat("1280", "720"), ConversionVideoFormat("640", "360"),
                               vantrel::apptest::ConversionMp3Format()}});
  }
  void TearDown() override {
    Probe.reset();
    ConversionJobTest::TearDown();
  }

  // Adds File to the list as the program does, converted by format FormatInd to Title.
  TVideoFile& AddFile(const std::string& File, Integer FormatInd, const String& Title) {
    State.CurrentFormatInd = FormatInd;
    EXPECT_TRUE(AddMediaFile(State, *Probe, File, *this)) << File;
    TVideoFile& E = State.VideoFiles.back();
    E.DestinationTitle = Title;
    return E;
  }
};

}  // namespace

TEST_F(ConversionShape, ACropAtEachAspectFillsTheFrameWithSquareSamples) {
  const std::string Wide = Src.File("white-640x360.mp4");
  ShapeMakeClip(Wide, "-f lavfi -i color=c=white:size=640x360:rate=25:duration=0.4 -c:v libx264 -pix_fmt yuv420p");
  // 720 x 576 shown 4:3.
  const std::string Pal = Src.File("white-pal.mp4");
  ShapeMakeClip(Pal, "-f lavfi -i color=c=white:size=720x576:rate=25:duration=0.4 -vf setsar=16/15 -c:v libx264 "
                     "-pix_fmt yuv420p");
  struct Case {
    const char* Title;
    bool FromPal;
    Integer Aspect;
    double SideBar;  // each side, in the 1280 x 720 output
  };
  const Case Cases[] = {
      // 4:3 at the full height of 720 is 960 wide.
      {"crop-4x3", false, 2, 160},
      {"crop-16x9", false, 3, 0},
      {"crop-own", false, 1, 0},
      // 400:280 at the full height is 1028.6 wide.
      {"crop-keep", false, 0, (1280 - 720 * 400.0 / 280) / 2},
      {"pal-keep", true, 0, 160},
  };
  for (const Case& C : Cases) {
    TVideoFile& E = AddFile(C.FromPal ? Pal : Wide, 0, C.Title);
    E.AspectRatio = C.Aspect;
    if (C.FromPal) continue;
    // A 400 x 280 area in the middle.
    E.CropLeft = E.CropRight = 120;
    E.CropTop = E.CropBottom = 40;
  }
  Run();
  EXPECT_TRUE(State.ErrorReports.empty()) << State.ErrorReports[0].Text;
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Title);
    const std::string File = Out.File(std::string(C.Title) + ".mp4");
    EXPECT_EQ(ShapeOfVideo(File), "1280,720,1:1,16:9");
    const TShapeBars B = ShapeBarsAt(File, 0.2, 1280, 720);
    EXPECT_NEAR(B.Left, C.SideBar, 3);
    EXPECT_NEAR(B.Right, C.SideBar, 3);
    EXPECT_EQ(B.Top, 0);
  }
}

TEST_F(ConversionShape, AJoinKeepsTheShapeOfEachClip) {
  const std::string Sound = "-f lavfi -i sine=frequency=440:sample_rate=44100:duration=1 -c:a aac -shortest";
  auto Clip = [&](const std::string& Name, const std::string& Size, const std::string& More) {
    const std::string File = Src.File(Name);
    ShapeMakeClip(File, "-f lavfi -i color=c=white:size=" + Size + ":rate=25:duration=1 " + Sound + " " + More +
                            " -c:v libx264 -pix_fmt yuv420p");
    return File;
  };
  const std::string Wide = Clip("wide.mp4", "640x360", "");
  const std::string Pal = Clip("pal.mp4", "720x576", "-vf setsar=16/15");
  const std::string Portrait = Clip("portrait.mp4", "360x640", "");
  // A phone clip: 1280 x 720 stored, shown turned a quarter (720 x 1280).
  const std::string Stored = Clip("phone-stored.mp4", "1280x720", "");
  const std::string Phone = Src.File("phone.mp4");
  ShapeMakeClip(Phone, "-i '" + Stored + "' -c copy -metadata:s:v:0 rotate=90");
  ASSERT_NE(ConversionProbe(Phone, "-show_entries stream_side_data=rotation"), "");

  for (const std::string& File : {Wide, Pal, Portrait, Phone}) AddFile(File, 1, "part");
  Merge = true;
  Run();
  ASSERT_TRUE(State.ErrorReports.empty()) << State.ErrorReports[0].Text;
  const std::string Joined = Out.File("Joined.mp4");
  EXPECT_EQ(ShapeOfVideo(Joined), "640,360,1:1,16:9");
  // Four seconds of 25 pictures each, within one picture, though the sound of each source
  // runs on for part of an AAC frame past its pictures.
  EXPECT_NEAR(std::atof(ConversionProbe(Joined, "-select_streams v:0 -show_entries stream=nb_frames").c_str()), 100, 1);
  EXPECT_NEAR(vantrel::apptest::ConversionDuration(Joined), 4.0, 0.04);
  EXPECT_EQ(ConversionStreamTypes(Joined), "video,audio");
  // Bars at the sides of each clip: 4:3 at the height of 360 is 480 wide; 9:16 is 202.5.
  const struct {
    double At, SideBar;
  } Parts[] = {{0.5, 0}, {1.5, 80}, {2.5, (640 - 202.5) / 2}, {3.5, (640 - 202.5) / 2}};
  for (const auto& P : Parts) {
    SCOPED_TRACE(P.At);
    const TShapeBars B = ShapeBarsAt(Joined, P.At, 640, 360);
    EXPECT_NEAR(B.Left, P.SideBar, 3);
    EXPECT_NEAR(B.Right, P.SideBar, 3);
    EXPECT_EQ(B.Top, 0);
  }
}

TEST_F(ConversionShape, TheNoticeOfLeftOutSoundShowsOnlyWhenSoundWasLeftOut) {
  const std::string Silent = Src.File("silent.mp4");
  ShapeMakeClip(Silent, "-f lavfi -i color=c=white:size=320x240:rate=25:duration=0.4 -c:v libx264 -pix_fmt yuv420p");
  const std::string Song = Src.File("song.mp3");
  ShapeMakeClip(Song, "-f lavfi -i sine=frequency=440:sample_rate=44100:duration=0.4 -c:a libmp3lame");
  const std::string WithSound = vantrel::test::FixturePath("v.mp4");
  struct Case {
    const char* Name;
    std::vector<std::pair<std::string, Integer>> Files;  // source, format (1 MP4, 2 MP3)
    bool Join;
    bool Notice;
  };
  const Case Cases[] = {
      {"all to MP3", {{WithSound, 2}, {Song, 2}}, false, false},
      {"video with sound to MP4", {{WithSound, 1}}, false, true},
      {"video without sound to MP4", {{Silent, 1}}, false, false},
      {"one of two with sound to MP4", {{Silent, 1}, {WithSound, 1}}, false, true},
      {"a song to MP4", {{Song, 1}}, false, false},
      {"joined with sound", {{WithSound, 1}, {WithSound, 1}}, true, false},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    State.VideoFiles.clear();
    for (const auto& [File, Format] : C.Files) AddFile(File, Format, C.Name);
    Merge = C.Join;
    S.Boxes.clear();
    Launcher->Calls.clear();
    Run();
    ASSERT_TRUE(State.ErrorReports.empty()) << State.ErrorReports[0].Text;
    EXPECT_EQ(S.Boxes, C.Notice ? std::vector<std::string>{NoAudioNoticeText} : std::vector<std::string>{});
    // The recommendation page opens either way, then the folder.
    EXPECT_EQ(Opened(), (std::vector<std::string>{RecommendationPage, Out.Path()}));
  }
  // The MP3 outputs do hold their sound.
  EXPECT_EQ(ConversionStreamTypes(Out.File("all to MP3.mp3")), "audio");
}
