// Smaller behaviours of an open player: the audio display switched while a file plays,
// the frame-rate warning only for rates that differ, the surface in full screen, the
// display or overlay that SDL cannot give, and filters that move the pictures' times.
#include <gtest/gtest.h>

#include <cstdlib>
#include <mutex>
#include <string>
#include <vector>

#include "media/FFLog.h"
#include "media/FFPlay.h"
#include "media/libsdl.h"
#include "tests/media/PlayerTestFixture.h"

using namespace vantrel::media;
using vantrel::test::FixturePath;

namespace {

using PlayerGapsTest = vantrel::test::PlayerHeadlessTest;

TEST_F(PlayerGapsTest, TheAudioDisplaySwitchesAnOpenFile) {
  ASSERT_TRUE(Player->Open(FixturePath("task-c.wav"), 0, false)) << Player->LastErrMsg();
  ASSERT_NE(Player->VideoState(), nullptr);
  for (TShowAudio Kind : {saNone, saRDFT, saWave}) {
    SCOPED_TRACE(Kind);
    Player->SetShowAudio(Kind);
    EXPECT_EQ(Player->VideoState()->show_audio, static_cast<Integer>(Kind));
  }
  Player->Stop(true);
}

TEST_F(PlayerGapsTest, AnH264StreamGivesNoFrameRateWarning) {
  std::mutex Lock;
  std::vector<std::string> Lines;
  GetFFLogger()->SetTriggerEventInMainThread(false);
  GetFFLogger()->OnLog = [&](TObject*, Cardinal, TLogLevel, const String& AMsg) {
    std::lock_guard<std::mutex> G(Lock);
    Lines.push_back(AMsg);
  };
  ASSERT_TRUE(Player->Open(FixturePath("v.mp4"), 0, true)) << Player->LastErrMsg();
  ASSERT_TRUE(PumpUntil([&] { return Has(psPause); }, 10));
  Player->Stop(true);
  GetFFLogger()->OnLog = nullptr;
  for (const std::string& L : Lines) EXPECT_EQ(L.find("codec frame rate differs"), std::string::npos) << L;
}

// The surface's size: the screen size given, the display's in full screen, the picture's
// in full screen on a display of unknown size.
const SDL_VideoInfo* GapsDisplay800x600() {
  static SDL_VideoInfo Info{};
  Info.current_w = 800;
  Info.current_h = 600;
  return &Info;
}
const SDL_VideoInfo* GapsDisplayUnknown() {
  static SDL_VideoInfo Info{};
  return &Info;
}

TEST_F(PlayerGapsTest, FullScreenTakesTheDisplaySize) {
  struct TCase {
    const char* Name;
    bool FullScreen;
    const SDL_VideoInfo* (*Display)();
    Integer WantW, WantH;
  };
  const TCase Cases[] = {
      {"windowed: the screen size", false, GapsDisplay800x600, 200, 100},
      {"full screen: the display's size", true, GapsDisplay800x600, 800, 600},
      {"full screen, display size unknown: the picture's", true, GapsDisplayUnknown, 320, 240},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    detail::PlayerSDL(*Player)->SDL_GetVideoInfo = C.Display;
    Player->is_full_screen = C.FullScreen;
    Player->SetScreenWidth(200);
    Player->SetScreenHeight(100);
    States.clear();
    ASSERT_TRUE(Player->Open(FixturePath("v.mp4"), 0, true)) << Player->LastErrMsg();
    ASSERT_TRUE(PumpUntil([&] { return Has(psPause); }, 10));
    Integer W = 0, H = 0;
    detail::PlayerSurfaceSize(*Player, W, H);
    EXPECT_EQ(W, C.WantW);
    EXPECT_EQ(H, C.WantH);
    Player->Stop(true);
  }
}

TEST_F(PlayerGapsTest, AnUnreadableDisplayEndsTheOpen) {
  detail::PlayerSDL(*Player)->SDL_GetVideoInfo = []() -> const SDL_VideoInfo* { return nullptr; };
  bool OnMain = false;
  const Integer QuitsBefore = detail::PlayerSDLQuits(*Player, OnMain);
  EXPECT_FALSE(Player->Open(FixturePath("v.mp4"), 0, false));
  EXPECT_EQ(Player->LastErrMsg(), "SDL_GetVideoInfo() failed");
  EXPECT_EQ(Player->VideoState(), nullptr);
  EXPECT_EQ(detail::PlayerSDLQuits(*Player, OnMain), QuitsBefore + 1);
  // Without a display nothing asks for its size.
  Player->SetDisableDisplay(true);
  EXPECT_TRUE(Player->Open(FixturePath("task-c.wav"), 0, true)) << Player->LastErrMsg();
  Player->Stop(true);
}

TEST_F(PlayerGapsTest, AnOverlayThatCannotBeMadeClosesThePlayerAndSaysWhy) {
  detail::PlayerSDL(*Player)->SDL_CreateYUVOverlay = [](int, int, Uint32, SDL_Surface*) -> SDL_Overlay* {
    return nullptr;
  };
  ASSERT_TRUE(Player->Open(FixturePath("v.mp4"), 0, false)) << Player->LastErrMsg();
  EXPECT_TRUE(PumpUntil([&] { return Has(psStop); }, 10)) << "the player never reported its end";
  EXPECT_EQ(Player->LastErrMsg(),
            "Error: the video system does not support an image size of 320x240 pixels. Try using -lowres or "
            "-vf \"scale=w:h\" to reduce the image size.");
  EXPECT_TRUE(PumpUntil([&] { return Player->VideoState() == nullptr; }, 5));
  Player->Stop(true);
}

// A filter that moves the pictures' times: what is shown carries the filter's time.
TEST_F(PlayerGapsTest, FilteredPicturesTakeTheFilterOutputTime) {
  std::mutex Lock;
  std::vector<double> Shown;
  detail::SetPlayerShowHook(*Player, [&](double APTS, Int64) {
    std::lock_guard<std::mutex> G(Lock);
    Shown.push_back(APTS);
  });
  Player->SetVideoFilters("setpts=PTS+1/TB");
  ASSERT_TRUE(Player->Open(FixturePath("v.mp4"), 0, true)) << Player->LastErrMsg();
  ASSERT_TRUE(PumpUntil([&] { return Has(psPause); }, 10));
  PumpFor(0.2);
  const double Start = Player->VideoState()->StartTime / 1e6;
  Player->Stop(true);
  detail::SetPlayerShowHook(*Player, nullptr);
  std::lock_guard<std::mutex> G(Lock);
  ASSERT_FALSE(Shown.empty());
  EXPECT_NEAR(Shown.front() - Start, 1.0, 0.001);
}

// The decoder's rate against the container's, compared once the decoder knows it: a
// stream whose own headers say 30 pictures a second in a 25 a second container.
TEST_F(PlayerGapsTest, TheDecoderRateIsComparedOnceKnown) {
  const std::string Clip = Dir.File("rate30in25.mp4");
  const std::string Cmd =
      "ffmpeg -nostdin -loglevel error -y -f lavfi -i testsrc=size=160x120:rate=25:duration=2 -c:v libx264 "
      "-pix_fmt yuv420p -bsf:v h264_metadata=tick_rate=60 '" + Clip + "'";
  ASSERT_EQ(std::system(Cmd.c_str()), 0);
  std::mutex Lock;
  std::vector<std::string> Lines;
  GetFFLogger()->SetTriggerEventInMainThread(false);
  GetFFLogger()->OnLog = [&](TObject*, Cardinal, TLogLevel, const String& AMsg) {
    std::lock_guard<std::mutex> G(Lock);
    Lines.push_back(AMsg);
  };
  struct TCase {
    bool AutoAdjust;
    double WantDelay;
    bool WantWarning;
  };
  for (const TCase C : {TCase{true, 1 / 25.0, true}, TCase{false, 1 / 30.0, false}}) {
    SCOPED_TRACE(C.AutoAdjust);
    {
      std::lock_guard<std::mutex> G(Lock);
      Lines.clear();
    }
    States.clear();
    Player->SetAutoAdjustFrameRate(C.AutoAdjust);
    ASSERT_TRUE(Player->Open(Clip, 0, true)) << Player->LastErrMsg();
    ASSERT_TRUE(PumpUntil([&] { return Has(psPause); }, 10));
    EXPECT_NEAR(Player->VideoState()->frame_delay, C.WantDelay, 1e-9);
    Player->Stop(true);
    std::lock_guard<std::mutex> G(Lock);
    int Warnings = 0;
    for (const std::string& L : Lines)
      if (L.find("Seems stream 0 codec frame rate differs from container frame rate:") != std::string::npos) {
        ++Warnings;
        EXPECT_NE(L.find("-> 25.00 (25/1)"), std::string::npos) << L;
      }
    EXPECT_EQ(Warnings, C.WantWarning ? 1 : 0);
  }
  GetFFLogger()->OnLog = nullptr;
}

}  // namespace
