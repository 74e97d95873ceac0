// The play-time end point: stop there, or go back to the start and play on.
#include <gtest/gtest.h>

#include <atomic>
#include <vector>

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

}  // namespace
