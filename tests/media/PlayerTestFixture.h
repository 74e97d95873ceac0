// A player on SDL's dummy video and disk-writer audio, with the states it reported and
// a real-time wait that serves main-thread calls.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <vector>

#include "media/FFPlay.h"
#include "tests/media/PlayerTestKit.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestPaths.h"

namespace vantrel::test {

class PlayerHeadlessTest : public ::testing::Test {
 protected:
  void SetUp() override {
    UseHeadlessSDL(Dir.File("audio.raw"));
    CopyMediaFile(SystemSDLFile(), Dir.File("libSDL-1.2.so.0"));
    ASSERT_TRUE(Player->LoadAVLib(Dir.Path(), true)) << Player->LastErrMsg();
    Player->OnState = [this](TObject*, media::TPlayState AState) { States.push_back(AState); };
  }
  // Serves main-thread calls until APred holds or ASeconds passed.
  bool PumpUntil(const std::function<bool()>& APred, double ASeconds = 20) {
    const auto End = std::chrono::steady_clock::now() + std::chrono::duration<double>(ASeconds);
    while (!APred()) {
      if (std::chrono::steady_clock::now() > End) return false;
      CheckSynchronize(10);
    }
    return true;
  }
  void PumpFor(double ASeconds) {
    PumpUntil([] { return false; }, ASeconds);
  }
  bool Has(media::TPlayState AState) const {
    for (media::TPlayState S : States)
      if (S == AState) return true;
    return false;
  }
  TTempDir Dir;
  TOwned<media::TCustomPlayer> Player = CreateOwned<media::TDODodeve>(nullptr);
  std::vector<media::TPlayState> States;
};

}  // namespace vantrel::test
