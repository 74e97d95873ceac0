// Smaller behaviours of an open player: the audio display switched while a file plays,
// and no frame-rate warning for a stream whose decoder has no rate of its own yet.
#include <gtest/gtest.h>

#include <mutex>
#include <string>
#include <vector>

#include "media/FFLog.h"
#include "media/FFPlay.h"
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

}  // namespace
