// Destroying a player while its decoding or audio thread is inside a handler: the handler
// runs to its end on its own data, and no event is raised while destroying.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <numeric>
#include <string>
#include <thread>
#include <vector>

#include "media/FFPlay.h"
#include "tests/media/PlayerTestFixture.h"

using namespace vantrel::media;
using vantrel::test::FixturePath;

namespace {

// What the handlers share with the test.
struct TDestroySignals {
  std::atomic<bool> Entered{false}, Destroying{false};
  std::atomic<long> Sum{-1};
};

// A handler's body with data of its own (a copy lives in the handler): the first call
// waits until destruction is under way, gives it time to reach the handler, then reads
// that data. Were the handler dropped while it runs, the read would be of freed memory.
struct TBlockingBody {
  TDestroySignals* Signals;
  std::vector<long> Payload = std::vector<long>(4096, 3);
  void operator()() const {
    if (Signals->Entered.exchange(true)) return;
    const auto Give = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!Signals->Destroying.load() && std::chrono::steady_clock::now() < Give)
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    Signals->Sum.store(std::accumulate(Payload.begin(), Payload.end(), 0L));
  }
};

class PlayerDestroyTest : public vantrel::test::PlayerHeadlessTest {
 protected:
  // Opens AFile, waits for the handler to be entered, destroys the player meanwhile.
  void DestroyInsideTheHandler(const std::string& AFile) {
    std::atomic<int> Positions{0};
    Player->OnPosition = [&Positions](TObject*, Int64) { ++Positions; };
    ASSERT_TRUE(Player->Open(FixturePath(AFile), 0, false)) << Player->LastErrMsg();
    ASSERT_TRUE(PumpUntil([&] { return Signals.Entered.load(); }, 10));
    const size_t StatesBefore = States.size();
    const int PositionsBefore = Positions.load();
    Signals.Destroying.store(true);
    Player.reset();
    EXPECT_EQ(Signals.Sum.load(), 3L * 4096);
    EXPECT_EQ(States.size(), StatesBefore) << "a state event came while destroying";
    EXPECT_EQ(Positions.load(), PositionsBefore) << "a position event came while destroying";
  }
  TDestroySignals Signals;
};

TEST_F(PlayerDestroyTest, APictureHandlerRunningWhenDestroyBeginsFinishes) {
  Player->SetVideoHook(true);
  Player->OnVideoHook = [Body = TBlockingBody{&Signals}](TObject*, TBitmap*, Int64, bool&) { Body(); };
  DestroyInsideTheHandler("hook-light.avi");
}

TEST_F(PlayerDestroyTest, ASoundHandlerRunningWhenDestroyBeginsFinishes) {
  Player->SetAudioHook(true);
  Player->OnAudioHook = [Body = TBlockingBody{&Signals}](TObject*, Int64, uint8_t*, Integer, Integer, Integer) {
    Body();
  };
  DestroyInsideTheHandler("task-c.wav");
}

}  // namespace
