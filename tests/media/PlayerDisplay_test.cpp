// What the player draws: deinterlaced pictures, the spectrum of the sound, and the
// picture drawn again when the host window repaints while paused.
#include <gtest/gtest.h>

#include <mutex>
#include <string>
#include <vector>

#include "media/FFLog.h"
#include "media/FFPlay.h"
#include "platform/display/HeadlessSession.h"
#include "platform/ui/Graphics.h"
#include "platform/win/Paint.h"
#include "tests/media/PlayerTestFixture.h"
#include "tests/support/WinMessageLog.h"

using namespace vantrel::media;
using vantrel::test::FixturePath;

namespace {

class PlayerDisplayLog {
 public:
  PlayerDisplayLog() {
    GetFFLogger()->SetTriggerEventInMainThread(false);
    GetFFLogger()->OnLog = [this](TObject*, Cardinal, TLogLevel ALevel, const String& AMsg) {
      std::lock_guard<std::mutex> G(FLock);
      FLines.push_back({ALevel, AMsg});
    };
  }
  ~PlayerDisplayLog() { GetFFLogger()->OnLog = nullptr; }
  bool Has(TLogLevel ALevel, const std::string& AText) {
    std::lock_guard<std::mutex> G(FLock);
    for (const auto& [Level, Line] : FLines)
      if (Level == ALevel && Line == AText) return true;
    return false;
  }

 private:
  std::mutex FLock;
  std::vector<std::pair<TLogLevel, std::string>> FLines;
};

using PlayerDisplayTest = vantrel::test::PlayerHeadlessTest;

// The largest difference of one colour value between two rows of the bitmap.
int PlayerRowDifference(TBitmap* ABmp, int AY1, int AY2) {
  const auto* A = static_cast<const uint8_t*>(ABmp->ScanLine(AY1));
  const auto* B = static_cast<const uint8_t*>(ABmp->ScanLine(AY2));
  int Worst = 0;
  for (int X = 0; X < ABmp->Width() * 3; ++X) Worst = std::max(Worst, std::abs(int(A[X]) - int(B[X])));
  return Worst;
}

// Rows alternately light and dark: deinterlaced, each dark row becomes its light
// neighbours' level, (-16 + 4 * 235 + 2 * 16 + 4 * 235 - 16 + 4) / 8 = 235.
TEST_F(PlayerDisplayTest, DeinterlacingBlendsTheOddRows) {
  for (bool On : {false, true}) {
    SCOPED_TRACE(On);
    States.clear();
    Player->SetDeinterlace(On);
    ASSERT_TRUE(Player->Open(FixturePath("play-stripes.nut"), 0, true)) << Player->LastErrMsg();
    ASSERT_TRUE(PumpUntil([&] { return Has(psPause); }, 10));
    PumpFor(0.2);
    Int64 Pts = -1;
    TBitmap* Bmp = Player->CurrentFrame(Pts);
    ASSERT_EQ(Bmp->Width(), 320);
    ASSERT_GE(Pts, 0);
    if (On) {
      EXPECT_LE(PlayerRowDifference(Bmp, 100, 101), 6);
      EXPECT_LE(PlayerRowDifference(Bmp, 101, 102), 6);
      EXPECT_TRUE(Player->Deinterlace());
    } else {
      EXPECT_GT(PlayerRowDifference(Bmp, 100, 101), 150);
    }
    Player->Stop(true);
  }
}

TEST_F(PlayerDisplayTest, APictureTheDeinterlacerRefusesIsShownAsDecoded) {
  PlayerDisplayLog Log;
  Player->SetDeinterlace(true);
  ASSERT_TRUE(Player->Open(FixturePath("play-stripes-318.nut"), 0, true)) << Player->LastErrMsg();
  ASSERT_TRUE(PumpUntil([&] { return Has(psPause); }, 10));
  PumpFor(0.2);
  EXPECT_TRUE(Log.Has(llError, "deinterlacing failed."));
  EXPECT_FALSE(Player->Deinterlace());
  Int64 Pts = -1;
  TBitmap* Bmp = Player->CurrentFrame(Pts);
  ASSERT_EQ(Bmp->Width(), 318);
  EXPECT_GT(PlayerRowDifference(Bmp, 100, 101), 150);
  Player->Stop(true);
}

// 48 kHz, a 240-row surface: 512-sample transforms, 93.75 Hz a row; 3 kHz is row 32,
// drawn 32 rows above the bottom.
TEST_F(PlayerDisplayTest, ASpectrumShowsAToneInItsRow) {
  Player->SetScreenWidth(320);
  Player->SetScreenHeight(240);
  Player->SetShowAudio(saRDFT);
  setenv("SDL_DISKAUDIODELAY", "21", 1);  // the sound at its own pace: 1024 samples a call
  ASSERT_TRUE(Player->Open(FixturePath("play-3khz.wav"), 0, false)) << Player->LastErrMsg();
  // A column a refresh.
  ASSERT_TRUE(PumpUntil([&] { return Player->VideoState()->xpos > 40; }, 10));
  std::vector<int> Rows(240);
  for (Integer Y = 0; Y < 240; ++Y)
    for (Integer X = 0; X < 320; ++X) {
      uint8_t R = 0, G = 0, B = 0;
      ASSERT_TRUE(detail::PlayerSurfacePixel(*Player, X, Y, R, G, B));
      Rows[Y] += R + G + B;
    }
  const auto Peak = std::max_element(Rows.begin(), Rows.end()) - Rows.begin();
  EXPECT_EQ(Peak, 240 - 32);
  EXPECT_GT(Rows[Peak], 20 * 3 * 200) << "at least twenty bright columns";
  Player->Stop(true);
}

TEST_F(PlayerDisplayTest, TogglingTheAudioDisplayCyclesAndClears) {
  Player->SetScreenWidth(320);
  Player->SetScreenHeight(240);
  ASSERT_TRUE(Player->Open(FixturePath("play-3khz.wav"), 0, false)) << Player->LastErrMsg();
  ASSERT_EQ(Player->VideoState()->show_audio, saWave);
  ASSERT_TRUE(PumpUntil([&] { return Player->CurrentPTS() > 300000; }, 10));
  Player->ToggleAudioDisplay();
  EXPECT_EQ(Player->VideoState()->show_audio, saRDFT);
  Player->ToggleAudioDisplay();
  EXPECT_EQ(Player->VideoState()->show_audio, saNone);
  // Nothing draws over the cleared area now.
  PumpFor(0.2);
  for (Integer Y : {10, 60, 120, 200}) {
    uint8_t R = 1, G = 1, B = 1;
    ASSERT_TRUE(detail::PlayerSurfacePixel(*Player, 100, Y, R, G, B));
    EXPECT_EQ(R + G + B, 0) << Y;
  }
  Player->ToggleAudioDisplay();
  EXPECT_EQ(Player->VideoState()->show_audio, saWave);
  Player->Stop(true);
}

// Whether or not the player keeps the host window's close and clicks, a paused
// picture is drawn again when the host repaints.
TEST_F(PlayerDisplayTest, APausedPictureIsDrawnAgainWhenTheHostRepaints) {
  vantrel::display::HeadlessSession Session;
  vantrel::test::MessageLog Log;
  HWND Top = Log.Create(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 400, 300);
  HWND Host = Log.Create(WS_CHILD | WS_VISIBLE, 0, 0, 320, 240, Top);
  auto Lit = [&] {
    uint8_t R = 0, G = 0, B = 0;
    return detail::PlayerSurfacePixel(*Player, 160, 120, R, G, B) && R + G + B > 30;
  };
  for (bool Hijack : {true, false}) {
    SCOPED_TRACE(Hijack);
    States.clear();
    Player->SetHijackWndProc(Hijack);
    ASSERT_TRUE(Player->Open(FixturePath("v.mp4"), Host, true)) << Player->LastErrMsg();
    ASSERT_TRUE(PumpUntil([&] { return Has(psPause); }, 10));
    // The pictures decoded for the paused start are shown.
    ASSERT_TRUE(PumpUntil([&] {
      TVideoState* S = Player->VideoState();
      std::lock_guard<std::mutex> G(S->pictq_mutex);
      return S->pictq_size == 0;
    }, 5));
    PumpFor(0.1);
    ASSERT_TRUE(Lit());
    detail::PlayerClearSurface(*Player);
    PumpFor(0.1);
    ASSERT_FALSE(Lit()) << "paused: nothing draws by itself";
    InvalidateRect(Host, nullptr, TRUE);
    UpdateWindow(Host);
    EXPECT_TRUE(PumpUntil(Lit, 5));
    Player->Stop(true);
  }
}

}  // namespace

#include "media/FFDecode.h"

namespace {

// Flipped, the shown picture is the decoded one upside down.
TEST_F(PlayerDisplayTest, VerticalFlipMirrorsTheCurrentFrame) {
  Player->SetVerticalFlip(true);
  ASSERT_TRUE(Player->Open(FixturePath("v.mp4"), 0, true)) << Player->LastErrMsg();
  ASSERT_TRUE(PumpUntil([&] { return Has(psPause); }, 10));
  PumpFor(0.2);
  Int64 Pts = -1;
  TBitmap* Bmp = Player->CurrentFrame(Pts);
  ASSERT_EQ(Bmp->Height(), 240);
  ASSERT_GE(Pts, 0);
  TOwned<TFFDecoder> Dec = CreateOwned<TFFDecoder>(nullptr);
  ASSERT_TRUE(Dec->LoadAVLib(""));
  ASSERT_TRUE(Dec->LoadFile(FixturePath("v.mp4")));
  while (Dec->Decode() && Dec->FrameInfo().PTS < Pts) {
  }
  ASSERT_EQ(Dec->FrameInfo().PTS, Pts);
  TOwned<TBitmap> Want = CreateOwned<TBitmap>();
  ASSERT_TRUE(Dec->CopyToBitmap(Want.get()));
  int Worst = 0;
  for (int Y : {10, 100, 200}) {
    const auto* A = static_cast<const uint8_t*>(Bmp->ScanLine(Y));
    const auto* B = static_cast<const uint8_t*>(Want->ScanLine(239 - Y));
    for (int X = 0; X < 320 * 3; ++X) Worst = std::max(Worst, std::abs(int(A[X]) - int(B[X])));
  }
  EXPECT_LE(Worst, 8);
  Player->Stop(true);
  EXPECT_FALSE(Player->VerticalFlip()) << "every stop clears it";
}

// A 4:3 picture on a 320 x 180 surface: filled with AspectRatio -1; set back to 0 while
// paused, the picture is drawn again with black columns at the sides.
TEST_F(PlayerDisplayTest, AspectRatioFillsAndRedrawsWhilePaused) {
  Player->SetScreenWidth(320);
  Player->SetScreenHeight(180);
  Player->SetAspectRatio(-1);
  ASSERT_TRUE(Player->Open(FixturePath("v.mp4"), 0, true)) << Player->LastErrMsg();
  ASSERT_TRUE(PumpUntil([&] { return Has(psPause); }, 10));
  auto Sum = [&](Integer X) {
    uint8_t R = 0, G = 0, B = 0;
    detail::PlayerSurfacePixel(*Player, X, 90, R, G, B);
    return R + G + B;
  };
  // testsrc's left edge is not black.
  ASSERT_TRUE(PumpUntil([&] { return Sum(5) > 30 && Sum(315) > 30; }, 5));
  Player->SetAspectRatio(0);
  EXPECT_TRUE(PumpUntil([&] { return Sum(5) == 0 && Sum(315) == 0 && Sum(160) > 30; }, 5));
  Player->Stop(true);
}

// A seek while paused shows the first picture after the target, and no more.
TEST_F(PlayerDisplayTest, ASeekWhilePausedShowsOnePicture) {
  std::mutex Lock;
  std::vector<double> Shown;
  detail::SetPlayerShowHook(*Player, [&](double APTS, Int64) {
    std::lock_guard<std::mutex> G(Lock);
    Shown.push_back(APTS);
  });
  ASSERT_TRUE(Player->Open(FixturePath("v.mp4"), 0, true)) << Player->LastErrMsg();
  ASSERT_TRUE(PumpUntil([&] { return Has(psPause); }, 10));
  PumpFor(0.3);
  size_t Before;
  {
    std::lock_guard<std::mutex> G(Lock);
    Before = Shown.size();
  }
  Player->Seek(1000000, {}, true);
  PumpFor(0.5);
  {
    std::lock_guard<std::mutex> G(Lock);
    ASSERT_EQ(Shown.size(), Before + 1);
    EXPECT_GE(Shown.back(), 0.7);
    EXPECT_LE(Shown.back(), 1.05);
  }
  EXPECT_TRUE(Player->Paused());
  EXPECT_FALSE(Has(psResume));
  Player->Stop(true);
  detail::SetPlayerShowHook(*Player, nullptr);
}

}  // namespace
