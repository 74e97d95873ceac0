// The player's opening and demuxing: packet queues, stream choice, failures with their
// texts, time-outs and cancelling, the read-ahead limit while paused.
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "media/AVCodecAPI.h"
#include "media/FFLog.h"
#include "media/FFPlay.h"
#include "tests/media/PlayerTestKit.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestPaths.h"

using namespace vantrel::media;
using vantrel::test::CopyMediaFile;
using vantrel::test::FixturePath;
using vantrel::test::SystemSDLFile;
using vantrel::test::TTempDir;

namespace {

std::string PlayerProbe(const std::string& AArgs) {
  std::string Out;
  if (FILE* P = popen(("ffprobe -v error " + AArgs).c_str(), "r")) {
    char Buf[256];
    while (fgets(Buf, sizeof Buf, P)) Out += Buf;
    pclose(P);
  }
  while (!Out.empty() && Out.back() == '\n') Out.pop_back();
  return Out;
}

class PlayerOpenTest : public ::testing::Test {
 protected:
  void SetUp() override {
    vantrel::test::UseHeadlessSDL(Dir.File("audio.raw"));
    CopyMediaFile(SystemSDLFile(), Dir.File("libSDL-1.2.so.0"));
    ASSERT_TRUE(Player->LoadAVLib(Dir.Path(), true)) << Player->LastErrMsg();
  }
  TTempDir Dir;
  TOwned<TCustomPlayer> Player = CreateOwned<TCustomPlayer>(nullptr);
};

TEST_F(PlayerOpenTest, DefaultsAfterConstruction) {
  EXPECT_EQ(Player->Version(), "3.0");
  EXPECT_EQ(Player->ReadTimeout(), 10000);
  EXPECT_EQ(Player->AudioVolume(), 128);
  EXPECT_TRUE(Player->HijackWndProc());
  EXPECT_TRUE(Player->TriggerEventInMainThread());
  EXPECT_EQ(Player->ShowAudio(), saWave);
  EXPECT_EQ(Player->CurrentPTS(), -1);
  EXPECT_EQ(Player->RepeatType, rtStop);
  EXPECT_TRUE(Player->AVLibLoaded());
  EXPECT_TRUE(Player->SDLLibLoaded());
  Player->UnloadSDLLib();
  EXPECT_FALSE(Player->SDLLibLoaded());
  EXPECT_FALSE(detail::PlayerOpenStream(*Player, FixturePath("v.mp4"), 0, false));
  EXPECT_EQ(Player->LastErrMsg(), "sdl not loaded.");
}

TEST_F(PlayerOpenTest, PacketQueueCountsAndOrder) {
  TPacketQueue Q;
  Q.Init();
  AVPacket* P = ff::av_packet_alloc();
  bool Flush = true;
  EXPECT_EQ(Q.Get(P, Flush, false), 0);
  for (int Size : {0, 100, 5000}) {
    AVPacket* In = ff::av_packet_alloc();
    if (Size) {
      ASSERT_EQ(ff::av_new_packet(In, Size), 0);
    }
    In->stream_index = Size;
    ASSERT_EQ(Q.Put(In), 0);
    ff::av_packet_free(&In);
  }
  EXPECT_EQ(Q.size(), 5316);
  EXPECT_EQ(Q.nb_packets(), 3);
  Q.PutFlush();
  for (int Size : {0, 100, 5000}) {
    ASSERT_EQ(Q.Get(P, Flush, false), 1);
    EXPECT_FALSE(Flush);
    EXPECT_EQ(P->size, Size);
    EXPECT_EQ(P->stream_index, Size);
  }
  ASSERT_EQ(Q.Get(P, Flush, true), 1);
  EXPECT_TRUE(Flush);
  EXPECT_EQ(Q.size(), 0);
  // Abort wakes a blocked get; every later get gives -1.
  std::thread Aborter([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    Q.Abort();
  });
  EXPECT_EQ(Q.Get(P, Flush, true), -1);
  Aborter.join();
  EXPECT_EQ(Q.Get(P, Flush, false), -1);
  ff::av_packet_free(&P);
}

TEST_F(PlayerOpenTest, OpensVideoAndAudioStreams) {
  ASSERT_TRUE(detail::PlayerOpenStream(*Player, FixturePath("v.mp4"), 0, false)) << Player->LastErrMsg();
  TVideoState* S = Player->VideoState();
  ASSERT_NE(S, nullptr);
  EXPECT_EQ(S->video_stream, 0);
  EXPECT_EQ(S->audio_stream, 1);
  const double Probed = std::stod(PlayerProbe("-show_entries format=duration -of csv=p=0 " + FixturePath("v.mp4")));
  EXPECT_NEAR(S->Duration / 1e6, Probed, 1e-6);
  EXPECT_EQ(S->filename, FixturePath("v.mp4"));
  EXPECT_NEAR(S->frame_delay, 0.04, 1e-9);
  detail::PlayerCloseStream(*Player);
  EXPECT_EQ(Player->VideoState(), nullptr);
}

TEST_F(PlayerOpenTest, FailuresCarryTheirTexts) {
  struct Case {
    std::string File;
    std::string Text;
  };
  const std::string Missing = Dir.File("no such.mp4");
  for (const Case& C : {Case{FixturePath("play-subonly.mkv"),
                             FixturePath("play-subonly.mkv") + ": could not open codecs, no stream to play."},
                        Case{Missing, Missing + ": No such file or directory"}}) {
    SCOPED_TRACE(C.File);
    EXPECT_FALSE(detail::PlayerOpenStream(*Player, C.File, 0, false));
    EXPECT_EQ(Player->LastErrMsg(), C.Text);
    EXPECT_EQ(Player->VideoState(), nullptr);
  }
  // Usable again afterwards.
  EXPECT_TRUE(detail::PlayerOpenStream(*Player, FixturePath("task-c.wav"), 0, false)) << Player->LastErrMsg();
  detail::PlayerCloseStream(*Player);
}

// A local TCP server that accepts and never sends anything.
class TSilentServer {
 public:
  TSilentServer() {
    FSock = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in A{};
    A.sin_family = AF_INET;
    A.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(FSock, reinterpret_cast<sockaddr*>(&A), sizeof A);
    listen(FSock, 4);
    socklen_t L = sizeof A;
    getsockname(FSock, reinterpret_cast<sockaddr*>(&A), &L);
    FPort = ntohs(A.sin_port);
  }
  ~TSilentServer() { close(FSock); }
  std::string Url() const { return "tcp://127.0.0.1:" + std::to_string(FPort); }

 private:
  int FSock;
  int FPort;
};

class PlayerLogCapture {
 public:
  PlayerLogCapture() {
    GetFFLogger()->SetTriggerEventInMainThread(false);
    GetFFLogger()->OnLog = [this](TObject*, Cardinal, TLogLevel, const String& AMsg) {
      std::lock_guard<std::mutex> G(FLock);
      FLines.push_back(AMsg);
    };
  }
  ~PlayerLogCapture() { GetFFLogger()->OnLog = nullptr; }
  bool Has(const std::string& AText) {
    std::lock_guard<std::mutex> G(FLock);
    for (const auto& L : FLines)
      if (L == AText) return true;
    return false;
  }

 private:
  std::mutex FLock;
  std::vector<std::string> FLines;
};

TEST_F(PlayerOpenTest, ASilentServerTimesOut) {
  TSilentServer Server;
  PlayerLogCapture Log;
  Player->SetReadTimeout(300);
  EXPECT_FALSE(detail::PlayerOpenStream(*Player, Server.Url(), 0, false));
  EXPECT_TRUE(Log.Has("connecting/reading timeout"));
  EXPECT_EQ(Player->VideoState(), nullptr);
}

TEST_F(PlayerOpenTest, CancelQueuedToTheMainThreadEndsTheOpen) {
  for (Integer Timeout : {10000, 0}) {
    SCOPED_TRACE(Timeout);
    TSilentServer Server;
    PlayerLogCapture Log;
    Player->SetReadTimeout(Timeout);
    std::chrono::steady_clock::time_point Cancelled;
    std::thread Canceller([&] {
      std::this_thread::sleep_for(std::chrono::milliseconds(300));
      TThread::Queue(nullptr, [&] {
        Cancelled = std::chrono::steady_clock::now();
        Player->Stop(false);
      });
    });
    EXPECT_FALSE(detail::PlayerOpenStream(*Player, Server.Url(), 0, false));
    const auto Took = std::chrono::steady_clock::now() - Cancelled;
    Canceller.join();
    EXPECT_LT(Took, std::chrono::seconds(1));
    EXPECT_TRUE(Log.Has("connecting/reading canceled"));
  }
}

TEST_F(PlayerOpenTest, PausedReadingStopsAtTheAudioLimit) {
  ASSERT_TRUE(detail::PlayerOpenStream(*Player, FixturePath("play-10s.wav"), 0, true)) << Player->LastErrMsg();
  TVideoState* S = Player->VideoState();
  int Stable = 0, Last = -1;
  for (int I = 0; I < 300 && Stable < 10; ++I) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    const int Now = S->audioq.size();
    Stable = Now == Last ? Stable + 1 : 0;
    Last = Now;
  }
  // WAV packets of this file are 4096 bytes.
  EXPECT_GT(Last, 327680);
  EXPECT_LE(Last, 327680 + 4096 + 72);
  detail::PlayerCloseStream(*Player);
}

}  // namespace
