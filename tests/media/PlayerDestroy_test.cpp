// Destroying a player while its decoding thread is inside the picture handler: the
// handler runs to its end on its own data, and no event is raised while destroying.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <numeric>
#include <thread>
#include <vector>

#include "media/FFPlay.h"
#include "tests/media/PlayerTestFixture.h"

using namespace vantrel::media;
using vantrel::test::FixturePath;

namespace {

using PlayerDestroyTest = vantrel::test::PlayerHeadlessTest;

TEST_F(PlayerDestroyTest, AHandlerRunningWhenDestroyBeginsFinishesOnItsOwnData) {
  std::atomic<bool> Entered{false}, Destroying{false};
  std::atomic<long> Sum{-1};
  Player->SetVideoHook(true);
  // The handler's own data lives in the handler: were the handler dropped while it runs,
  // the sum below would read freed memory.
  Player->OnVideoHook = [Payload = std::vector<long>(4096, 3), &Entered, &Destroying, &Sum](TObject*, TBitmap*,
                                                                                             Int64, bool&) {
    if (Entered.exchange(true)) return;
    const auto Give = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!Destroying.load() && std::chrono::steady_clock::now() < Give)
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    // Destruction is under way: give it time to reach the handler, then use the data.
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    Sum.store(std::accumulate(Payload.begin(), Payload.end(), 0L));
  };
  std::atomic<int> Positions{0};
  Player->OnPosition = [&Positions](TObject*, Int64) { ++Positions; };
  ASSERT_TRUE(Player->Open(FixturePath("hook-light.avi"), 0, false)) << Player->LastErrMsg();
  ASSERT_TRUE(PumpUntil([&] { return Entered.load(); }, 10));

  const size_t StatesBefore = States.size();
  const int PositionsBefore = Positions.load();
  Destroying.store(true);
  Player.reset();
  EXPECT_EQ(Sum.load(), 3L * 4096);
  EXPECT_EQ(States.size(), StatesBefore) << "a state event came while destroying";
  EXPECT_EQ(Positions.load(), PositionsBefore) << "a position event came while destroying";
}

}  // namespace
