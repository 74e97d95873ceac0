// The player's audio output through SDL's disk writer: bytes as decoded at full volume,
// SDL's mixing at other volumes, silence when muted or paused, down-mixing, clock
// correction against an injected master clock.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "media/FFDecode.h"
#include "media/FFLog.h"
#include "media/FFPlay.h"
#include "tests/media/PlayerTestKit.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestPaths.h"

using namespace vantrel::media;
using vantrel::test::CopyMediaFile;
using vantrel::test::FixturePath;
using vantrel::test::ReadFileBytes;
using vantrel::test::SystemSDLFile;
using vantrel::test::TTempDir;

namespace {

// The samples of a 16-bit PCM WAV file's data chunk.
std::vector<int16_t> PlayerWavSamples(const std::string& AFile) {
  const std::string B = ReadFileBytes(AFile);
  size_t Pos = 12;
  while (Pos + 8 <= B.size()) {
    uint32_t Len;
    std::memcpy(&Len, B.data() + Pos + 4, 4);
    if (B.compare(Pos, 4, "data") == 0) {
      Len = std::min<uint32_t>(Len, static_cast<uint32_t>(B.size() - Pos - 8));
      std::vector<int16_t> S(Len / 2);
      std::memcpy(S.data(), B.data() + Pos + 8, S.size() * 2);
      return S;
    }
    Pos += 8 + Len + (Len & 1);
  }
  return {};
}

std::vector<int16_t> PlayerRawSamples(const std::string& AFile) {
  const std::string B = ReadFileBytes(AFile);
  std::vector<int16_t> S(B.size() / 2);
  if (!S.empty()) std::memcpy(S.data(), B.data(), S.size() * 2);
  return S;
}

class PlayerAudioTest : public ::testing::Test {
 protected:
  void SetUp() override {
    vantrel::test::UseHeadlessSDL(Out());
    CopyMediaFile(SystemSDLFile(), Dir.File("libSDL-1.2.so.0"));
    ASSERT_TRUE(Player->LoadAVLib(Dir.Path(), true)) << Player->LastErrMsg();
  }
  std::string Out() const { return Dir.File("audio.raw"); }
  // Plays the file until the writer has AMinSamples samples after its leading silence
  // (or 20 s passed); the samples after the silence.
  std::vector<int16_t> Play(const std::string& AFile, size_t AMinSamples, Integer AChannels = 2) {
    // Opened paused until the queue holds a good part of the file, so that a slow
    // demuxing thread cannot leave gaps of silence in what the writer gets.
    EXPECT_TRUE(detail::PlayerOpenStream(*Player, AFile, 0, true)) << Player->LastErrMsg();
    if (TVideoState* State = Player->VideoState()) {
      for (int I = 0; I < 500 && State->audioq.size() < 300000 && !State->IOEOFLog.load(); ++I)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
      Player->StreamPause();
    }
    std::vector<int16_t> S;
    for (int I = 0; I < 2000; ++I) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
      S = PlayerRawSamples(Out());
      size_t Lead = 0;
      while (Lead < S.size() && S[Lead] == 0) ++Lead;
      Lead -= Lead % AChannels;
      if (S.size() >= Lead + AMinSamples + 4096) {
        detail::PlayerCloseStream(*Player);
        return std::vector<int16_t>(S.begin() + Lead, S.begin() + Lead + AMinSamples);
      }
    }
    detail::PlayerCloseStream(*Player);
    ADD_FAILURE() << "the writer got " << S.size() << " samples";
    return {};
  }
  TTempDir Dir;
  TOwned<TCustomPlayer> Player = CreateOwned<TCustomPlayer>(nullptr);
};

TEST_F(PlayerAudioTest, VolumeTable) {
  const std::vector<int16_t> Source = PlayerWavSamples(FixturePath("play-stereo.wav"));
  ASSERT_EQ(Source.size(), 96000u);
  ASSERT_NE(Source[0], 0);
  struct Case {
    Integer Volume;
    bool Mute;
  };
  for (const Case& C : {Case{128, false}, Case{64, false}}) {
    SCOPED_TRACE(C.Volume);
    std::remove(Out().c_str());
    Player->SetAudioVolume(C.Volume);
    Player->SetMute(C.Mute);
    const std::vector<int16_t> Got = Play(FixturePath("play-stereo.wav"), Source.size());
    ASSERT_EQ(Got.size(), Source.size());
    size_t Bad = 0;
    for (size_t I = 0; I < Source.size(); ++I)
      if (Got[I] != (C.Volume == 128 ? Source[I] : static_cast<int16_t>(Source[I] / 2))) ++Bad;
    EXPECT_EQ(Bad, 0u);
  }
}

TEST_F(PlayerAudioTest, MuteAndVolumeZeroWriteZeros) {
  for (int Round = 0; Round < 2; ++Round) {
    SCOPED_TRACE(Round);
    std::remove(Out().c_str());
    Player->SetAudioVolume(Round == 0 ? 0 : 128);
    Player->SetMute(Round == 1);
    ASSERT_TRUE(detail::PlayerOpenStream(*Player, FixturePath("play-stereo.wav"), 0, false));
    std::vector<int16_t> S;
    for (int I = 0; I < 2000 && S.size() < 200000; ++I) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
      S = PlayerRawSamples(Out());
    }
    detail::PlayerCloseStream(*Player);
    ASSERT_GE(S.size(), 200000u);
    for (int16_t V : S) ASSERT_EQ(V, 0);
  }
}

TEST_F(PlayerAudioTest, SixChannelsPlayAsTwo) {
  ASSERT_TRUE(detail::PlayerOpenStream(*Player, FixturePath("play-6ch.wav"), 0, false));
  TVideoState* S = Player->VideoState();
  EXPECT_EQ(S->audio_tgt_channels, 2);
  Integer HookChannels = 0;
  Player->SetAudioHook(true);
  Player->OnAudioHook = [&](TObject*, Int64, uint8_t*, Integer, Integer, Integer AChannels) { HookChannels = AChannels; };
  for (int I = 0; I < 500 && HookChannels == 0; ++I) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  detail::PlayerCloseStream(*Player);
  EXPECT_EQ(HookChannels, 2);
}

TEST_F(PlayerAudioTest, Mp3EqualsTheFrameDecoder) {
  TOwned<TFFDecoder> Dec = CreateOwned<TFFDecoder>(nullptr);
  ASSERT_TRUE(Dec->LoadAVLib(""));
  ASSERT_TRUE(Dec->LoadFile(FixturePath("probe-title.mp3")));
  Dec->SetDesireAudioChannels(1);
  Dec->SetDesireAudioSampleRate(44100);
  std::vector<int16_t> Want;
  std::vector<uint8_t> Buf(4096);
  for (Integer N; (N = Dec->ReadAudio(Buf.data(), 4096)) > 0;) {
    const size_t Old = Want.size();
    Want.resize(Old + N / 2);
    std::memcpy(Want.data() + Old, Buf.data(), N & ~1);
  }
  size_t Lead = 0;
  while (Lead < Want.size() && Want[Lead] == 0) ++Lead;
  ASSERT_GT(Want.size(), Lead + 40000);
  const std::vector<int16_t> Expected(Want.begin() + Lead, Want.begin() + Lead + 40000);
  EXPECT_EQ(Play(FixturePath("probe-title.mp3"), 40000, 1), Expected);
}

TEST_F(PlayerAudioTest, PausedWritesSilenceAndTheClockStands) {
  ASSERT_TRUE(detail::PlayerOpenStream(*Player, FixturePath("play-stereo.wav"), 0, true));
  TVideoState* S = Player->VideoState();
  std::vector<int16_t> Got;
  for (int I = 0; I < 500 && Got.size() < 20000; ++I) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    Got = PlayerRawSamples(Out());
  }
  EXPECT_EQ(S->audio_buf_size, 1024u);
  EXPECT_EQ(S->audio_clock, 0.0);
  detail::PlayerCloseStream(*Player);
  ASSERT_GE(Got.size(), 20000u);
  for (int16_t V : Got) ASSERT_EQ(V, 0);
}

class PlayerSyncTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(Player->LoadAVLib(""));
    S.Owner = Player.get();
    S.av_sync_type = AV_SYNC_EXTERNAL_CLOCK;
    S.audio_tgt_channels = 2;
    S.audio_tgt_freq = 48000;
    S.audio_diff_avg_coef = std::exp(std::log10(0.01) / 20);
    S.audio_diff_threshold = 2048.0 / 48000;
    S.audio_clock = 5.0;
    Buffer.assign(4096 + 4096 / 10 + 8, 0);
    for (size_t I = 0; I < 4096; ++I) Buffer[I] = static_cast<uint8_t>(I * 7);
  }
  TOwned<TCustomPlayer> Player = CreateOwned<TCustomPlayer>(nullptr);
  TVideoState S;
  std::vector<uint8_t> Buffer;
};

TEST_F(PlayerSyncTest, CorrectionTable) {
  struct Case {
    double Master;  // audio clock 5.0
    Integer Min, Max;
  };
  // 1024 frames of 4 bytes; 90 % = 921 frames, 110 % = 1126 frames.
  for (const Case& C : {Case{5.05, 3684, 3684}, Case{4.95, 4504, 4504}, Case{15.0, 4096, 4096},
                        Case{-5.0, 4096, 4096}}) {
    SCOPED_TRACE(C.Master);
    S.audio_diff_cum = 0;
    S.audio_diff_avg_count = 0;
    detail::SetPlayerMasterClock(*Player, [&] { return C.Master; });
    for (int I = 0; I < 20; ++I) EXPECT_EQ(Player->SynchronizeAudio(&S, Buffer.data(), 4096, 0), 4096);
    const Integer Size = Player->SynchronizeAudio(&S, Buffer.data(), 4096, 0);
    EXPECT_GE(Size, C.Min);
    EXPECT_LE(Size, C.Max);
    // Added bytes repeat the last frame.
    for (Integer I = 4096; I < Size; ++I) EXPECT_EQ(Buffer[I], Buffer[4092 + (I % 4)]);
  }
}

TEST_F(PlayerSyncTest, AudioMasterNeverCorrects) {
  S.av_sync_type = AV_SYNC_AUDIO_MASTER;
  detail::SetPlayerMasterClock(*Player, [] { return 6.0; });
  for (int I = 0; I < 30; ++I) EXPECT_EQ(Player->SynchronizeAudio(&S, Buffer.data(), 4096, 0), 4096);
}

}  // namespace

namespace {

TEST_F(PlayerAudioTest, TwoPlayersOnTwoCopiesPlayAtOnce) {
  CopyMediaFile(SystemSDLFile(), Dir.File("libSDL-second.so"));
  TOwned<TCustomPlayer> Second = CreateOwned<TCustomPlayer>(nullptr);
  ASSERT_TRUE(Second->LoadAVLib(Dir.Path()));
  ASSERT_TRUE(Second->LoadSDLLib(Dir.Path(), "libSDL-second.so")) << Second->LastErrMsg();
  std::atomic<Integer> RateA{0}, RateB{0};
  Player->SetAudioHook(true);
  Second->SetAudioHook(true);
  Player->OnAudioHook = [&](TObject*, Int64, uint8_t*, Integer, Integer ARate, Integer) { RateA = ARate; };
  Second->OnAudioHook = [&](TObject*, Int64, uint8_t*, Integer, Integer ARate, Integer) { RateB = ARate; };
  ASSERT_TRUE(detail::PlayerOpenStream(*Player, FixturePath("play-stereo.wav"), 0, false));
  ASSERT_TRUE(detail::PlayerOpenStream(*Second, FixturePath("play-10s.wav"), 0, false)) << Second->LastErrMsg();
  for (int I = 0; I < 500 && (RateA == 0 || RateB == 0); ++I)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  detail::PlayerCloseStream(*Second);
  detail::PlayerCloseStream(*Player);
  EXPECT_EQ(RateA, 48000);
  EXPECT_EQ(RateB, 44100);
}

TEST_F(PlayerAudioTest, ClosingWhileTheAudioThreadLogsNeverHangs) {
  // An MP3 whose middle is garbage: the decoder complains from SDL's audio thread.
  std::string Bytes = ReadFileBytes(FixturePath("probe-title.mp3"));
  for (size_t I = Bytes.size() / 4; I < Bytes.size() * 3 / 4; I += 7) Bytes[I] = static_cast<char>(I * 31);
  vantrel::test::WriteFileBytes(Dir.File("damaged.mp3"), Bytes);
  std::atomic<int> Lines{0};
  GetFFLogger()->OnLog = [&](TObject*, Cardinal, TLogLevel, const String&) { ++Lines; };
  for (int Round = 0; Round < 20; ++Round) {
    SCOPED_TRACE(Round);
    ASSERT_TRUE(detail::PlayerOpenStream(*Player, Dir.File("damaged.mp3"), 0, false)) << Player->LastErrMsg();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    detail::PlayerCloseStream(*Player);
  }
  GetFFLogger()->OnLog = nullptr;
  EXPECT_GT(Lines.load(), 0);
}

}  // namespace

namespace {

std::vector<int16_t> PlayerDecodedByTool(const std::string& AFile) {
  std::vector<int16_t> S;
  if (FILE* P = popen(("ffmpeg -v error -i '" + AFile + "' -f s16le -acodec pcm_s16le -").c_str(), "r")) {
    int16_t Buf[4096];
    for (size_t N; (N = fread(Buf, 2, 4096, P)) > 0;) S.insert(S.end(), Buf, Buf + N);
    pclose(P);
  }
  return S;
}

TEST_F(PlayerAudioTest, PacketsLargerThanTheBufferPlayWhole) {
  const std::vector<int16_t> Source = PlayerDecodedByTool(FixturePath("play-bigpkt.mkv"));
  ASSERT_EQ(Source.size(), 4u * 48000 * 2);
  ASSERT_NE(Source[0], 0);
  EXPECT_EQ(Play(FixturePath("play-bigpkt.mkv"), Source.size()), Source);
}

}  // namespace
