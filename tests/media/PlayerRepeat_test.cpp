// The play-time end point: stop there, or go back to the start and play on; a seek into
// a stream without a duration.
#include <gtest/gtest.h>

#include <atomic>
#include <vector>

#include "media/AVFormatAPI.h"
#include "media/FFPlay.h"
#include "tests/media/PlayerTestFixture.h"

using namespace vantrel::media;
using vantrel::test::FixturePath;

namespace {

using PlayerRepeatTest = vantrel::test::PlayerHeadlessTest;

TEST_F(PlayerRepeatTest, PlayTimeWithStopEndsThere) {
  std::vector<Int64> Positions;
  Player->OnPosition = [&](TObject*, Int64 APTS) { Positions.push_back(APTS); };
  Player->PlayTime = 500000;
  Player->RepeatType = rtStop;
  ASSERT_TRUE(Player->Open(FixturePath("v.mp4"), 0, false)) << Player->LastErrMsg();
  ASSERT_TRUE(PumpUntil([&] { return Has(psStop); }, 10));
  EXPECT_FALSE(Has(psEnd)) << "stopped before the end of the 2 s file";
  ASSERT_FALSE(Positions.empty());
  EXPECT_GE(Positions.back(), 500000);
  EXPECT_LT(Positions.back(), 1000000);
  EXPECT_EQ(Player->PlayTime, NoPTSValue) << "every stop clears it";
}

TEST_F(PlayerRepeatTest, PlayTimeWithLoopRestartsAndPlaysOn) {
  std::vector<Int64> Positions;
  Player->OnPosition = [&](TObject*, Int64 APTS) { Positions.push_back(APTS); };
  Player->PlayTime = 600000;
  Player->RepeatType = rtLoop;
  ASSERT_TRUE(Player->Open(FixturePath("v.mp4"), 0, false)) << Player->LastErrMsg();
  // Back near the start twice, rising again after each time.
  int Restarts = 0;
  size_t Seen = 0;
  ASSERT_TRUE(PumpUntil([&] {
    for (; Seen < Positions.size(); ++Seen)
      if (Seen > 0 && Positions[Seen] < 300000 && Positions[Seen - 1] >= 600000) ++Restarts;
    return Restarts >= 2;
  }, 10));
  EXPECT_FALSE(Has(psStop));
  EXPECT_FALSE(Has(psEnd));
  Player->Stop(true);
}

// Without a known duration the target is not bounded by it.
TEST_F(PlayerRepeatTest, ASeekIntoARawStreamAsksForItsTarget) {
  ASSERT_TRUE(Player->Open(FixturePath("play-raw.h264"), 0, true)) << Player->LastErrMsg();
  TVideoState* S = Player->VideoState();
  ASSERT_EQ(S->Duration, -1);
  ASSERT_TRUE(PumpUntil([&] { return Has(psPause); }, 10));
  Player->Seek(1000000, {}, true);
  const Int64 Start = S->ic && S->ic->start_time != AV_NOPTS_VALUE ? S->ic->start_time : 0;
  EXPECT_EQ(S->seek_pos - Start, 1000000);
  Player->Stop(true);
}

}  // namespace
