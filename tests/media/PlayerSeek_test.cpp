// Seeking lands on the picture at the asked time, also in a clip whose only key frame is
// its first picture: the picture shown, the position reported and the sound all start
// there.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <mutex>
#include <string>
#include <vector>

#include "media/FFPlay.h"
#include "platform/ui/Graphics.h"
#include "tests/media/PlayerTestFixture.h"

using namespace vantrel::media;

namespace {

// A 4 s clip at 25 pictures a second with one key frame and a sine tone; picture n is a
// flat grey of luma 16 + 2n, so its grey level tells which picture is on screen.
std::string MakeOneKeyFrameClip(const std::string& AFolder) {
  const std::string Clip = AFolder + "/onekey.mp4";
  const std::string Cmd =
      "ffmpeg -nostdin -loglevel error -y -f lavfi -i 'color=c=black:size=64x48:rate=25:duration=4,"
      "format=yuv420p,geq=lum=16+2*N:cb=128:cr=128' -f lavfi -i 'sine=frequency=440:sample_rate=44100:duration=4' "
      "-c:v libx264 -qp 0 -g 1000 -keyint_min 1000 -sc_threshold 0 -c:a aac -shortest '" + Clip + "'";
  return std::system(Cmd.c_str()) == 0 ? Clip : std::string();
}

// The number of the picture a bitmap shows, from its grey (RGB of luma 16 + 2n).
int PictureNumberOf(TBitmap* ABmp) {
  const auto* Row = static_cast<const uint8_t*>(ABmp->ScanLine(ABmp->Height() / 2));
  const double Grey = Row[3 * (ABmp->Width() / 2) + 1];
  const double Luma = Grey * 219.0 / 255.0 + 16;
  return static_cast<int>(std::lround((Luma - 16) / 2));
}

class PlayerSeekTest : public vantrel::test::PlayerHeadlessTest {
 protected:
  void SetUp() override {
    PlayerHeadlessTest::SetUp();
    Clip = MakeOneKeyFrameClip(Dir.Path());
    ASSERT_FALSE(Clip.empty());
    detail::SetPlayerShowHook(*Player, [this](double APTS, Int64) {
      std::lock_guard<std::mutex> G(Lock);
      Shown.push_back(APTS);
    });
    Player->OnPosition = [this](TObject*, Int64 APTS) { Positions.push_back(APTS); };
  }
  void TearDown() override {
    Player->Stop(true);
    detail::SetPlayerShowHook(*Player, nullptr);
  }
  std::vector<double> ShownSince(size_t AFrom) {
    std::lock_guard<std::mutex> G(Lock);
    return std::vector<double>(Shown.begin() + static_cast<long>(std::min(AFrom, Shown.size())), Shown.end());
  }
  size_t ShownCount() {
    std::lock_guard<std::mutex> G(Lock);
    return Shown.size();
  }
  std::string Clip;
  std::mutex Lock;
  std::vector<double> Shown;
  std::vector<Int64> Positions;
  std::mutex SoundLock;
  std::vector<Int64> Sound;  // the times of the decoded sound blocks
};

// Paused, a seek shows the picture at the target and reports its time; past the last
// picture, the last one.
TEST_F(PlayerSeekTest, APausedSeekShowsThePictureAtTheTarget) {
  struct TCase {
    Int64 Target;    // microseconds
    int Picture;     // the picture that must be on screen
  };
  // The picture at a time is the last one starting at or before it.
  const TCase Cases[] = {{2000000, 50}, {2500000, 62}, {3000000, 75}, {1000000, 25}, {3990000, 99}, {4000000, 99}};
  ASSERT_TRUE(Player->Open(Clip, 0, true)) << Player->LastErrMsg();
  ASSERT_TRUE(PumpUntil([&] { return Has(psPause); }, 10));
  // The pause comes once the first pictures are decoded; the first is on screen soon after.
  ASSERT_TRUE(PumpUntil([&] { return ShownCount() > 0; }, 10));
  PumpFor(0.2);
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Target);
    const size_t Before = ShownCount();
    Player->Seek(C.Target, {}, true);
    ASSERT_TRUE(PumpUntil([&] { return ShownCount() > Before; }, 10));
    PumpFor(0.2);
    const std::vector<double> After = ShownSince(Before);
    ASSERT_EQ(After.size(), 1u);
    EXPECT_NEAR(After[0], C.Picture * 0.04, 0.001);
    Int64 Pts = -1;
    TBitmap* Bmp = Player->CurrentFrame(Pts);
    ASSERT_GT(Bmp->Width(), 0);
    EXPECT_EQ(PictureNumberOf(Bmp), C.Picture);
    EXPECT_NEAR(double(Pts), C.Picture * 40000.0, 1000);
    ASSERT_FALSE(Positions.empty());
    EXPECT_NEAR(double(Positions.back()), C.Picture * 40000.0, 1000);
    EXPECT_TRUE(Player->Paused());
    EXPECT_FALSE(Player->Seeking());
  }
}

// Playing, the first picture after the seek is the target's, and the sound starts there
// too: its first decoded block after the seek begins at the target.
TEST_F(PlayerSeekTest, APlayingSeekStartsPictureAndSoundAtTheTarget) {
  Player->SetAudioHook(true);
  Player->OnAudioHook = [&](TObject*, Int64 APTS, uint8_t*, Integer, Integer, Integer) {
    std::lock_guard<std::mutex> G(SoundLock);
    Sound.push_back(APTS);
  };
  ASSERT_TRUE(Player->Open(Clip, 0, false)) << Player->LastErrMsg();
  ASSERT_TRUE(PumpUntil([&] { return ShownCount() > 2; }, 10));
  size_t SoundBefore;
  {
    std::lock_guard<std::mutex> G(SoundLock);
    SoundBefore = Sound.size();
  }
  const size_t Before = ShownCount();
  Player->Seek(2500000, {}, true);
  ASSERT_TRUE(PumpUntil([&] { return ShownCount() > Before + 5; }, 10));
  // Pictures from before the seek are near the start; the first one past them is the
  // one on screen at 2.5 s, picture 62 (2.48 s to 2.52 s).
  double First = -1;
  for (double P : ShownSince(Before))
    if (P > 1.0) {
      First = P;
      break;
    }
  EXPECT_NEAR(First, 2.48, 0.001);
  std::lock_guard<std::mutex> G(SoundLock);
  Int64 FirstSound = -1;
  for (size_t I = SoundBefore; I < Sound.size(); ++I)
    if (Sound[I] > 1000000) {
      FirstSound = Sound[I];
      break;
    }
  EXPECT_NEAR(double(FirstSound), 2500000.0, 1000);
}

}  // namespace

namespace {

// A relative seek goes from the picture on screen (the master clock, here the video's)
// forwards or backwards; past either end it shows the first or the last picture.
TEST_F(PlayerSeekTest, ARelativeSeekMovesFromThePictureOnScreen) {
  struct TCase {
    double Delta;  // seconds
    int Picture;   // on screen afterwards
  };
  const TCase Cases[] = {{1.0, 75}, {-1.5, 37}, {-5.0, 0}, {10.0, 99}};
  Player->set_av_sync_type(AV_SYNC_VIDEO_MASTER);
  ASSERT_TRUE(Player->Open(Clip, 0, true)) << Player->LastErrMsg();
  ASSERT_TRUE(PumpUntil([&] { return Has(psPause); }, 10));
  Player->Seek(2000000, {}, true);
  ASSERT_TRUE(PumpUntil([&] { return !Positions.empty() && Positions.back() == 2000000; }, 10));
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Delta);
    const size_t Before = ShownCount();
    Player->Seek(C.Delta, {}, true);
    ASSERT_TRUE(PumpUntil([&] { return ShownCount() > Before; }, 10));
    PumpFor(0.2);
    Int64 Pts = -1;
    TBitmap* Bmp = Player->CurrentFrame(Pts);
    ASSERT_GT(Bmp->Width(), 0);
    EXPECT_EQ(PictureNumberOf(Bmp), C.Picture);
    EXPECT_NEAR(double(Pts), C.Picture * 40000.0, 1000);
  }
}

// A relative byte seek: the bytes the file's bit rate gives for the seconds, from where
// the input stands.
TEST(PlayerByteSeek, TheTargetFollowsTheBitRate) {
  struct TCase {
    const char* Name;
    Int64 Here;
    double Delta;
    Int64 BitRate;
    Int64 Want;
  };
  const TCase Cases[] = {
      {"forward", 1000000, 2.0, 800000, 1200000},
      {"backward", 1000000, -2.0, 800000, 800000},
      {"no bit rate: 180000 bytes a second", 1000000, 1.5, 0, 1270000},
      {"rounded to the nearest byte", 10, 1.0, 12, 12},
      {"past the start: the first byte", 100000, -10.0, 800000, 0},
      {"past the end: left to the demuxer", 1000, 1000.0, 8000, 1001000},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    EXPECT_EQ(RelativeByteSeekTarget(C.Here, C.Delta, C.BitRate), C.Want);
  }
}

// The same clip in MPEG-TS, which can be sought by bytes: far past either end the player
// lands on the first picture, or at the end, and plays on from there.
TEST_F(PlayerSeekTest, ByteSeeksPastEitherEnd) {
  const std::string Ts = Dir.File("onekey.ts");
  ASSERT_EQ(std::system(("ffmpeg -nostdin -loglevel error -y -i '" + Clip + "' -c copy -an '" + Ts + "'").c_str()), 0);
  Player->set_av_sync_type(AV_SYNC_VIDEO_MASTER);
  ASSERT_TRUE(Player->Open(Ts, 0, true)) << Player->LastErrMsg();
  ASSERT_TRUE(PumpUntil([&] { return Has(psPause); }, 10));
  Player->Seek(2000000, {}, true);
  PumpFor(0.2);
  for (double Delta : {1000.0, -1000.0}) {
    SCOPED_TRACE(Delta);
    Player->Seek(Delta, TSeekFlags{sfByte}, true);  // returns: the seek ended
    PumpFor(0.3);
  }
  Int64 Pts = -1;
  TBitmap* Bmp = Player->CurrentFrame(Pts);
  ASSERT_GT(Bmp->Width(), 0);
  EXPECT_EQ(PictureNumberOf(Bmp), 0);
  // It plays on from the start.
  Player->Resume();
  EXPECT_TRUE(PumpUntil([&] {
    Int64 P = -1;
    TBitmap* Now = Player->CurrentFrame(P);
    return Now->Width() > 0 && PictureNumberOf(Now) > 10;
  }, 10));
}

}  // namespace
