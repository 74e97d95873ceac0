// The whole player, headless with SDL's dummy drivers: Open, the events it raises on the
// GUI thread, pausing, seeking and stopping.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "media/AVFormatAPI.h"
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

class PlayerPlayTest : public ::testing::Test {
 protected:
  void SetUp() override {
    vantrel::test::UseHeadlessSDL(Dir.File("audio.raw"));
    CopyMediaFile(SystemSDLFile(), Dir.File("libSDL-1.2.so.0"));
    ASSERT_TRUE(Player->LoadAVLib(Dir.Path(), true)) << Player->LastErrMsg();
    Player->OnState = [this](TObject*, TPlayState AState) {
      EXPECT_TRUE(IsMainThread());
      States.push_back(AState);
    };
    Player->OnPosition = [this](TObject*, Int64 APTS) { Positions.push_back(APTS); };
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
  bool Has(TPlayState AState) const {
    for (TPlayState S : States)
      if (S == AState) return true;
    return false;
  }
  TTempDir Dir;
  TOwned<TCustomPlayer> Player = CreateOwned<TDODodeve>(nullptr);
  std::vector<TPlayState> States;
  std::vector<Int64> Positions;
};

TEST_F(PlayerPlayTest, PlaysToTheEndWithEvents) {
  int Opened = 0;
  Int64 OpenDuration = 0;
  Integer FrameW = 0, FrameH = 0;
  Player->OnFileOpen = [&](TObject*, Int64 ADuration, Integer AW, Integer AH, Integer&, Integer&) {
    ++Opened;
    OpenDuration = ADuration;
    FrameW = AW;
    FrameH = AH;
  };
  ASSERT_TRUE(Player->Open(FixturePath("v.mp4"), 0, false)) << Player->LastErrMsg();
  EXPECT_EQ(Opened, 1);
  EXPECT_EQ(FrameW, 320);
  EXPECT_EQ(FrameH, 240);
  ASSERT_TRUE(PumpUntil([&] { return Has(psEnd); })) << "no end";
  EXPECT_EQ(States.front(), psPlay);
  // Positions go on to the end.
  ASSERT_TRUE(PumpUntil([&] { return !Positions.empty() && Positions.back() == OpenDuration; }, 5));
  // Steps over 10 ms, but for the end position, which is always reported. A picture
  // shown late (a loaded machine) may set the clock back a little once in a while, but
  // the positions as a whole run forwards.
  int Back = 0;
  for (size_t I = 1; I + 1 < Positions.size(); ++I) {
    EXPECT_GT(std::llabs(Positions[I] - Positions[I - 1]), 10000) << I;
    Back += Positions[I] < Positions[I - 1];
  }
  EXPECT_GT(Positions.size(), 20u);
  EXPECT_LE(Back * 10, static_cast<int>(Positions.size())) << Back << " steps back";
  Player->Stop(true);
  ASSERT_TRUE(PumpUntil([&] { return Has(psStop); }, 5));
  EXPECT_EQ(States.back(), psStop);
  EXPECT_EQ(Player->VideoState(), nullptr);
}

TEST_F(PlayerPlayTest, OpenedPausedShowsPicturesThenPauses) {
  ASSERT_TRUE(Player->Open(FixturePath("v.mp4"), 0, true)) << Player->LastErrMsg();
  ASSERT_TRUE(PumpUntil([&] { return Has(psPause); }, 10));
  EXPECT_TRUE(Player->Paused());
  EXPECT_EQ(Player->ScreenSurfaceWidth(), 320);
  Player->Resume();
  ASSERT_TRUE(PumpUntil([&] { return Has(psResume); }, 5));
  Player->Seek(1500000, {}, true);
  ASSERT_TRUE(PumpUntil([&] { return !Positions.empty() && Positions.back() >= 1500000; }, 10));
  Player->Stop(false);
  ASSERT_TRUE(PumpUntil([&] { return Has(psStop); }, 5));
}

// A pause asked for the moment Open returns (a marker grabbed at once) holds: the
// playing thread starting after it does not report playing over it.
TEST_F(PlayerPlayTest, APauseRightAfterOpenStaysPaused) {
  for (int Round = 0; Round < 5; ++Round) {
    States.clear();
    ASSERT_TRUE(Player->Open(FixturePath("v.mp4"), 0, false)) << Player->LastErrMsg();
    Player->Pause();
    PumpUntil([] { return false; }, 0.3);
    EXPECT_EQ(Player->PlayState(), psPause) << Round;
    ASSERT_FALSE(States.empty());
    EXPECT_EQ(States.back(), psPause) << Round;
    Player->Stop(true);
  }
}

TEST_F(PlayerPlayTest, AudioOnlyEndsOnceAndAgainAfterASeek) {
  ASSERT_TRUE(Player->Open(FixturePath("task-c.wav"), 0, false)) << Player->LastErrMsg();
  ASSERT_TRUE(PumpUntil([&] { return Has(psEnd); }));
  PumpUntil([] { return false; }, 0.3);
  int Ends = 0;
  for (TPlayState S : States) Ends += S == psEnd;
  EXPECT_EQ(Ends, 1);
  Player->Seek(1000000, {}, true);
  ASSERT_TRUE(PumpUntil([&] {
    int N = 0;
    for (TPlayState S : States) N += S == psEnd;
    return N == 2;
  }));
  Player.reset();
}

TEST_F(PlayerPlayTest, TwoOpensInARowAndDestroyAfterStop) {
  ASSERT_TRUE(Player->Open(FixturePath("v.mp4"), 0, false)) << Player->LastErrMsg();
  ASSERT_TRUE(Player->Open(FixturePath("task-c.wav"), 0, false)) << Player->LastErrMsg();
  ASSERT_TRUE(PumpUntil([&] { return Has(psPlay); }, 5));
  Player->Stop(false);
  Player.reset();
}

TEST_F(PlayerPlayTest, OptionTexts) {
  EXPECT_THROW(Player->SetForceFrameRate("abc"), Exception);
  try {
    Player->SetForceFormat("nosuch");
    ADD_FAILURE();
  } catch (const Exception& E) {
    EXPECT_EQ(String(E.what()), "Unknown input format: nosuch");
  }
  Player->SetForceFormat("wav");
  EXPECT_EQ(Player->ForceFormat(), "wav");
  Player->SetForceFormat("");
  EXPECT_EQ(Player->ForceFormat(), "");
}

TEST(PlayerEventRing, CoalescesAndDropsTheOldest) {
  TPlayEventRing R;
  using K = TPlayEventRing;
  R.Push({K::ekPosition, 1});
  R.Push({K::ekPosition, 2});
  R.Push({K::ekState, psPause});
  R.Push({K::ekPosition, 3});
  R.Push({K::ekPosition, 4});
  R.Push({K::ekState, psResume});
  std::vector<std::pair<Integer, Int64>> Got;
  for (K::TItem I; (I = R.Pop()).kind != K::ekNone;) Got.push_back({I.kind, I.value});
  EXPECT_EQ(Got, (std::vector<std::pair<Integer, Int64>>{
                     {K::ekPosition, 2}, {K::ekState, psPause}, {K::ekPosition, 4}, {K::ekState, psResume}}));
  // Ten alternating events: nine fit, the oldest goes.
  for (int I = 0; I < 10; ++I) R.Push({I % 2 ? K::ekState : K::ekPosition, I});
  Got.clear();
  for (K::TItem I; (I = R.Pop()).kind != K::ekNone;) Got.push_back({I.kind, I.value});
  ASSERT_EQ(Got.size(), 9u);
  EXPECT_EQ(Got.front().second, 1);
  EXPECT_EQ(Got.back().second, 9);
}

}  // namespace

#include "platform/display/HeadlessSession.h"
#include "tests/support/WinMessageLog.h"

namespace {

TEST_F(PlayerPlayTest, AFourThreePictureOnAWideSurfaceHasBlackColumns) {
  Player->SetScreenWidth(320);
  Player->SetScreenHeight(180);
  ASSERT_TRUE(Player->Open(FixturePath("v.mp4"), 0, true)) << Player->LastErrMsg();
  ASSERT_TRUE(PumpUntil([&] { return Has(psPause); }, 10));
  Integer W = 0, H = 0;
  detail::PlayerSurfaceSize(*Player, W, H);
  ASSERT_EQ(W, 320);
  ASSERT_EQ(H, 180);
  // The pause comes once the first pictures are decoded; the display shows one soon after.
  PumpUntil([&] {
    uint8_t R = 0, G = 0, B = 0;
    return detail::PlayerSurfacePixel(*Player, 160, 90, R, G, B) && R + G + B > 30;
  }, 10);
  int Lit = 0;
  for (Integer X = 0; X < 320; ++X) {
    uint8_t R = 0, G = 0, B = 0;
    ASSERT_TRUE(detail::PlayerSurfacePixel(*Player, X, 90, R, G, B));
    if (X < 40 || X >= 280) {
      EXPECT_EQ(R + G + B, 0) << X;
    } else if (R + G + B > 30) {
      ++Lit;
    }
  }
  EXPECT_GT(Lit, 100);
  Player->Stop(true);
  EXPECT_TRUE(Has(psPause));
}

TEST_F(PlayerPlayTest, HostPanelSizesTheSurfaceAndFollowsItsResize) {
  vantrel::display::HeadlessSession Session;
  vantrel::test::MessageLog Log;
  HWND Top = Log.Create(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 400, 300);
  HWND Host = Log.Create(WS_CHILD | WS_VISIBLE, 0, 0, 320, 240, Top);
  ASSERT_TRUE(Player->Open(FixturePath("v.mp4"), Host, true)) << Player->LastErrMsg();
  EXPECT_EQ(Player->ScreenWidth(), 320);
  EXPECT_EQ(Player->ScreenHeight(), 240);
  ASSERT_TRUE(PumpUntil([&] { return Has(psPause); }, 10));
  SetWindowPos(Host, nullptr, 0, 0, 200, 150, SWP_NOZORDER | SWP_NOMOVE);
  Integer W = 0, H = 0;
  ASSERT_TRUE(PumpUntil([&] {
    detail::PlayerSurfaceSize(*Player, W, H);
    return W == 200 && H == 150;
  }, 5));
  EXPECT_EQ(Player->ScreenWidth(), 200);
  EXPECT_EQ(Player->ScreenHeight(), 150);
  const LONG_PTR Installed = GetWindowLongPtr(Host, GWL_WNDPROC);
  Player->Stop(true);
  EXPECT_NE(GetWindowLongPtr(Host, GWL_WNDPROC), Installed);
}

TEST_F(PlayerPlayTest, StopWaitingInsideTheEndHandler) {
  bool StoppedInHandler = false;
  Player->OnState = [&](TObject*, TPlayState AState) {
    States.push_back(AState);
    if (AState == psEnd) {
      const auto Start = std::chrono::steady_clock::now();
      Player->Stop(true);
      StoppedInHandler = std::chrono::steady_clock::now() - Start < std::chrono::seconds(2);
      EXPECT_EQ(Player->VideoState(), nullptr);
      EXPECT_FALSE(Has(psStop));
    }
  };
  ASSERT_TRUE(Player->Open(FixturePath("task-c.wav"), 0, false)) << Player->LastErrMsg();
  ASSERT_TRUE(PumpUntil([&] { return Has(psStop); }));
  EXPECT_TRUE(StoppedInHandler);
}

TEST_F(PlayerPlayTest, StepShowsOnePictureAndPausesAgain) {
  ASSERT_TRUE(Player->Open(FixturePath("v.mp4"), 0, true)) << Player->LastErrMsg();
  ASSERT_TRUE(PumpUntil([&] { return Has(psPause); }, 10));
  Player->StepToNextFrame();
  ASSERT_TRUE(PumpUntil([&] { return Has(psStep) && Player->Paused(); }, 5));
  Player->Stop(true);
}

}  // namespace

#include "media/FFDecode.h"
#include "platform/ui/Graphics.h"

namespace {

TEST_F(PlayerPlayTest, CurrentFrameIsTheShownPicture) {
  Int64 Pts = 0;
  EXPECT_EQ(Player->CurrentFrame(Pts)->Width(), 0);
  EXPECT_EQ(Pts, -1);
  ASSERT_TRUE(Player->Open(FixturePath("v.mp4"), 0, true)) << Player->LastErrMsg();
  ASSERT_TRUE(PumpUntil([&] { return Has(psPause); }, 10));
  PumpUntil([] { return false; }, 0.2);
  TBitmap* Bmp = Player->CurrentFrame(Pts);
  ASSERT_EQ(Bmp->Width(), 320);
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
  for (int Y : {10, 120, 200}) {
    const auto* A = static_cast<const uint8_t*>(Bmp->ScanLine(Y));
    const auto* B = static_cast<const uint8_t*>(Want->ScanLine(Y));
    for (int X = 0; X < 320 * 3; ++X) Worst = std::max(Worst, std::abs(int(A[X]) - int(B[X])));
  }
  EXPECT_LE(Worst, 4);
  Player->Stop(true);
  EXPECT_EQ(Player->CurrentFrame(Pts)->Width(), 0);
}

TEST_F(PlayerPlayTest, AnInvertingHookInvertsTheSurfaceUnlessItSaysNo) {
  // The surface's own YUV to RGB conversion shifts the grey: the two readings add up to
  // about white.
  uint8_t Seen[2] = {};
  for (bool Update : {true, false}) {
    SCOPED_TRACE(Update);
    States.clear();
    int Calls = 0, Unlocked = 0;
    Player->SetVideoHook(true);
    Player->OnVideoHook = [&](TObject*, TBitmap* ABitmap, Int64, bool& AUpdate) {
      ++Calls;
      // The handler draws on a canvas nobody else draws on meanwhile.
      if (ABitmap->Canvas()->LockCount() <= 0) ++Unlocked;
      for (Integer Y = 0; Y < ABitmap->Height(); ++Y) {
        auto* Row = static_cast<uint8_t*>(ABitmap->ScanLine(Y));
        for (Integer X = 0; X < ABitmap->Width() * 3; ++X) Row[X] = static_cast<uint8_t>(255 - Row[X]);
      }
      AUpdate = Update;
    };
    ASSERT_TRUE(Player->Open(FixturePath("hook-light.avi"), 0, true)) << Player->LastErrMsg();
    ASSERT_TRUE(PumpUntil([&] { return Has(psPause); }, 10));
    PumpUntil([] { return false; }, 0.2);
    uint8_t R = 0, G = 0, B = 0;
    ASSERT_TRUE(detail::PlayerSurfacePixel(*Player, 80, 60, R, G, B));
    EXPECT_GE(Calls, 2);
    EXPECT_EQ(Unlocked, 0);
    Seen[Update ? 0 : 1] = R;
    Player->Stop(true);
  }
  EXPECT_LT(Seen[0], 80);
  EXPECT_GT(Seen[1], 170);
  EXPECT_NEAR(Seen[0] + Seen[1], 255, 12);
}

}  // namespace

namespace {

TEST_F(PlayerPlayTest, SwitchingTheAudioStreamWhilePlaying) {
  std::atomic<Integer> Rate{0};
  Player->SetAudioHook(true);
  Player->OnAudioHook = [&](TObject*, Int64, uint8_t*, Integer, Integer ARate, Integer) { Rate = ARate; };
  ASSERT_TRUE(Player->Open(FixturePath("probe-2audio.mkv"), 0, false)) << Player->LastErrMsg();
  ASSERT_EQ(Player->AudioStreamIndex(), 1);
  for (int I = 0; I < 20; ++I) {
    const Integer Index = I % 2 ? 1 : 2;
    ASSERT_TRUE(Player->SwitchStream(AVMEDIA_TYPE_AUDIO, Index)) << Player->LastErrMsg();
    EXPECT_EQ(Player->AudioStreamIndex(), Index);
    Rate = 0;
    // The short file may be read to its end already: read it again for the new stream.
    Player->Seek(0, {}, true);
    ASSERT_TRUE(PumpUntil([&] { return Rate != 0; }, 5));
    EXPECT_EQ(Rate, Index == 1 ? 48000 : 22050);
  }
  // Streams: 0 video, 1 and 2 audio, no subtitle (its current index is -1, valid for
  // subtitles only); audio stream 1 plays now. "" means the switch succeeds.
  struct Case {
    Integer Type, Index;
    std::string Text;
  };
  for (const Case& C : {Case{AVMEDIA_TYPE_AUDIO, 7, "the stream index is not valid."},
                        Case{AVMEDIA_TYPE_AUDIO, -1, "the stream index is not valid."},
                        Case{AVMEDIA_TYPE_AUDIO, 0, "the stream type is not matched."},
                        Case{AVMEDIA_TYPE_AUDIO, 1, ""},
                        Case{AVMEDIA_TYPE_VIDEO, 2, "the stream type is not matched."},
                        Case{AVMEDIA_TYPE_SUBTITLE, -2, "the stream index is not valid."},
                        Case{AVMEDIA_TYPE_SUBTITLE, 0, "the stream type is not matched."},
                        Case{AVMEDIA_TYPE_SUBTITLE, -1, ""},
                        Case{AVMEDIA_TYPE_DATA, 0, "the current stream is not valid."}}) {
    SCOPED_TRACE(std::to_string(C.Type) + " " + std::to_string(C.Index));
    EXPECT_EQ(Player->SwitchStream(C.Type, C.Index), C.Text.empty());
    if (!C.Text.empty()) {
      EXPECT_EQ(Player->LastErrMsg(), C.Text);
    }
  }
  EXPECT_EQ(Player->AudioStreamIndex(), 1);
  Player->Stop(true);
}

TEST_F(PlayerPlayTest, SeekBackToTheStartOfAFileWithAStartTime) {
  ASSERT_TRUE(Player->Open(FixturePath("task-b.ts"), 0, false)) << Player->LastErrMsg();
  Player->Seek(5000000, {}, true);
  ASSERT_TRUE(PumpUntil([&] { return !Positions.empty() && Positions.back() >= 5000000; }, 10));
  Player->Seek(0, {}, true);
  ASSERT_TRUE(PumpUntil([&] { return !Positions.empty() && Positions.back() < 1000000; }, 10));
  Player->Stop(true);
}

}  // namespace

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include "tests/support/TempDir.h"

namespace {

// Serves the first bytes of a file to one client, then stalls until freed.
class TStallingServer {
 public:
  TStallingServer(const std::string& AFile, size_t ABytes) {
    FData = vantrel::test::ReadFileBytes(AFile).substr(0, ABytes);
    FSock = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in A{};
    A.sin_family = AF_INET;
    A.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(FSock, reinterpret_cast<sockaddr*>(&A), sizeof A);
    listen(FSock, 4);
    socklen_t L = sizeof A;
    getsockname(FSock, reinterpret_cast<sockaddr*>(&A), &L);
    FPort = ntohs(A.sin_port);
    FThread = std::thread([this] {
      const int C = accept(FSock, nullptr, nullptr);
      if (C < 0) return;
      for (size_t Sent = 0; Sent < FData.size();) {
        const ssize_t N = send(C, FData.data() + Sent, FData.size() - Sent, MSG_NOSIGNAL);
        if (N <= 0) break;
        Sent += static_cast<size_t>(N);
      }
      while (!FDone.load()) std::this_thread::sleep_for(std::chrono::milliseconds(10));
      close(C);
    });
  }
  ~TStallingServer() {
    FDone.store(true);
    shutdown(FSock, SHUT_RDWR);
    close(FSock);
    FThread.join();
  }
  std::string Url() const { return "tcp://127.0.0.1:" + std::to_string(FPort); }

 private:
  std::string FData;
  int FSock = -1;
  int FPort = 0;
  std::atomic<bool> FDone{false};
  std::thread FThread;
};

TEST_F(PlayerPlayTest, StopWaitingWhileAReadStallsReturnsSoon) {
  TStallingServer Server(FixturePath("task-b.ts"), 200000);
  Player->SetForceFormat("mpegts");
  ASSERT_TRUE(Player->Open(Server.Url(), 0, false)) << Player->LastErrMsg();
  ASSERT_TRUE(PumpUntil([&] { return Player->VideoState() && Player->VideoState()->Reading.load() && Has(psPlay); }, 10));
  PumpUntil([] { return false; }, 0.3);
  const auto Start = std::chrono::steady_clock::now();
  Player->Stop(true);
  EXPECT_LT(std::chrono::steady_clock::now() - Start, std::chrono::seconds(2));
  EXPECT_EQ(Player->VideoState(), nullptr);
  ASSERT_TRUE(PumpUntil([&] { return Has(psStop); }, 5));
}

TEST_F(PlayerPlayTest, StopWithoutWaitingReturnsAtOnce) {
  ASSERT_TRUE(Player->Open(FixturePath("v.mp4"), 0, false)) << Player->LastErrMsg();
  const auto Start = std::chrono::steady_clock::now();
  Player->Stop(false);
  EXPECT_LT(std::chrono::steady_clock::now() - Start, std::chrono::milliseconds(100));
  ASSERT_TRUE(PumpUntil([&] { return Has(psStop); }, 5));
}

}  // namespace

namespace {

TEST_F(PlayerPlayTest, AFilterChainSizesThePictures) {
  Player->SetVideoFilters("scale=160:120");
  ASSERT_TRUE(Player->Open(FixturePath("v.mp4"), 0, true)) << Player->LastErrMsg();
  ASSERT_TRUE(PumpUntil([&] { return Has(psPause); }, 10));
  PumpUntil([] { return false; }, 0.2);
  Int64 Pts = -1;
  TBitmap* Bmp = Player->CurrentFrame(Pts);
  EXPECT_EQ(Bmp->Width(), 160);
  EXPECT_EQ(Bmp->Height(), 120);
  EXPECT_GE(Pts, 0);
  Integer W = 0, H = 0;
  detail::PlayerSurfaceSize(*Player, W, H);
  EXPECT_EQ(W, 160);
  EXPECT_EQ(H, 120);
  Player->Stop(true);
}

TEST_F(PlayerPlayTest, ABadFilterChainShowsNothingWhileTheAudioPlaysOn) {
  std::atomic<int> AudioCalls{0};
  Player->SetAudioHook(true);
  Player->OnAudioHook = [&](TObject*, Int64, uint8_t*, Integer, Integer, Integer) { ++AudioCalls; };
  Player->SetVideoFilters("nosuchfilter");
  ASSERT_TRUE(Player->Open(FixturePath("v.mp4"), 0, false)) << Player->LastErrMsg();
  ASSERT_TRUE(PumpUntil([&] { return AudioCalls.load() > 20; }, 10));
  Int64 Pts = 0;
  Player->CurrentFrame(Pts);
  EXPECT_EQ(Pts, -1);
  Player->Stop(true);
}

}  // namespace

namespace {

TEST_F(PlayerPlayTest, StereoWaveDisplayHasTwoBandsAndASeparator) {
  Player->SetScreenWidth(320);
  Player->SetScreenHeight(240);
  ASSERT_TRUE(Player->Open(FixturePath("play-10s.wav"), 0, false)) << Player->LastErrMsg();
  PumpUntil([] { return false; }, 0.5);
  Player->Pause();
  PumpUntil([] { return false; }, 0.1);
  auto White = [&](Integer X, Integer Y) {
    uint8_t R = 0, G = 0, B = 0;
    return detail::PlayerSurfacePixel(*Player, X, Y, R, G, B) && R == 255 && G == 255 && B == 255;
  };
  int Separator = 0, Upper = 0, Lower = 0;
  for (Integer X = 0; X < 320; ++X) {
    Separator += White(X, 120);
    for (Integer Y = 0; Y < 120; ++Y) Upper += White(X, Y);
    for (Integer Y = 121; Y < 240; ++Y) Lower += White(X, Y);
  }
  EXPECT_EQ(Separator, 320);
  EXPECT_GT(Upper, 320);
  EXPECT_GT(Lower, 320);
  Player->Stop(true);
}

}  // namespace

namespace {

TEST_F(PlayerPlayTest, StopWaitingInsideThePositionHandler) {
  bool Stopped = false;
  Player->OnPosition = [&](TObject*, Int64 APTS) {
    if (APTS > 300000 && !Stopped) {
      Stopped = true;
      Player->Stop(true);
      EXPECT_EQ(Player->VideoState(), nullptr);
    }
  };
  ASSERT_TRUE(Player->Open(FixturePath("v.mp4"), 0, false)) << Player->LastErrMsg();
  ASSERT_TRUE(PumpUntil([&] { return Has(psStop); }));
  EXPECT_TRUE(Stopped);
}

}  // namespace

namespace {

// rotate-90.mp4 stores 160x120 pictures with a display matrix turning them a quarter
// clockwise: the player shows them 120x160, as the frame decoder and the conversion do.
TEST_F(PlayerPlayTest, ATurnedClipIsShownUpright) {
  Integer FrameW = 0, FrameH = 0;
  Player->OnFileOpen = [&](TObject*, Int64, Integer AW, Integer AH, Integer&, Integer&) {
    FrameW = AW;
    FrameH = AH;
  };
  ASSERT_TRUE(Player->Open(FixturePath("rotate-90.mp4"), 0, true)) << Player->LastErrMsg();
  EXPECT_EQ(FrameW, 120);
  EXPECT_EQ(FrameH, 160);
  ASSERT_TRUE(PumpUntil([&] { return Has(psPause); }, 10));
  PumpUntil([] { return false; }, 0.2);
  Integer W = 0, H = 0;
  detail::PlayerSurfaceSize(*Player, W, H);
  EXPECT_EQ(W, 120);
  EXPECT_EQ(H, 160);
  Int64 Pts = -1;
  TBitmap* Bmp = Player->CurrentFrame(Pts);
  ASSERT_EQ(Bmp->Width(), 120);
  ASSERT_EQ(Bmp->Height(), 160);
  ASSERT_GE(Pts, 0);
  TOwned<TFFDecoder> Dec = CreateOwned<TFFDecoder>(nullptr);
  ASSERT_TRUE(Dec->LoadAVLib(""));
  ASSERT_TRUE(Dec->LoadFile(FixturePath("rotate-90.mp4")));
  while (Dec->Decode() && Dec->FrameInfo().PTS < Pts) {
  }
  ASSERT_EQ(Dec->FrameInfo().PTS, Pts);
  TOwned<TBitmap> Want = CreateOwned<TBitmap>();
  ASSERT_TRUE(Dec->CopyToBitmap(Want.get()));
  ASSERT_EQ(Want->Width(), 120);
  ASSERT_EQ(Want->Height(), 160);
  int Worst = 0;
  for (int Y : {5, 40, 80, 120, 155}) {
    SCOPED_TRACE(Y);
    const auto* A = static_cast<const uint8_t*>(Bmp->ScanLine(Y));
    const auto* B = static_cast<const uint8_t*>(Want->ScanLine(Y));
    for (int X = 0; X < 120 * 3; ++X) Worst = std::max(Worst, std::abs(int(A[X]) - int(B[X])));
  }
  EXPECT_LE(Worst, 8);
  Player->Stop(true);
}

// The user's filters work on the upright picture: a crop taller than the stored
// picture (120 rows) fits the upright one (160 rows).
TEST_F(PlayerPlayTest, FiltersOfATurnedClipSeeTheUprightPicture) {
  Player->SetVideoFilters("crop=100:150:0:0");
  ASSERT_TRUE(Player->Open(FixturePath("rotate-90.mp4"), 0, true)) << Player->LastErrMsg();
  ASSERT_TRUE(PumpUntil([&] { return Has(psPause); }, 10));
  PumpUntil([] { return false; }, 0.2);
  Int64 Pts = -1;
  TBitmap* Bmp = Player->CurrentFrame(Pts);
  EXPECT_EQ(Bmp->Width(), 100);
  EXPECT_EQ(Bmp->Height(), 150);
  EXPECT_GE(Pts, 0);
  Player->Stop(true);
}

}  // namespace

#include <condition_variable>

namespace {

// Holds the play thread's event loop, once armed, until released.
class TPlayerLoopGate {
 public:
  std::function<void()> Hook() {
    return [this] {
      std::unique_lock<std::mutex> L(FLock);
      if (!FArmed) return;
      FHeld = true;
      FCond.wait(L, [this] { return FOpen; });
    };
  }
  void Arm() {
    std::lock_guard<std::mutex> L(FLock);
    FArmed = true;
  }
  bool Held() {
    std::lock_guard<std::mutex> L(FLock);
    return FHeld;
  }
  void Release() {
    std::lock_guard<std::mutex> L(FLock);
    FOpen = true;
    FCond.notify_all();
  }

 private:
  std::mutex FLock;
  std::condition_variable FCond;
  bool FArmed = false, FHeld = false, FOpen = false;
};

// An event loop that does not answer: Stop(True) closes the file itself, after about a
// second while a read blocks, about two otherwise, gives the host its procedure back and
// leaves SDL to the play thread, which ends it once its loop goes on.
TEST_F(PlayerPlayTest, AHeldEventLoopIsClosedByForce) {
  vantrel::display::HeadlessSession Session;
  vantrel::test::MessageLog Log;
  HWND Top = Log.Create(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 400, 300);
  HWND Host = Log.Create(WS_CHILD | WS_VISIBLE, 0, 0, 320, 240, Top);
  for (bool Stall : {false, true}) {
    SCOPED_TRACE(Stall);
    States.clear();
    TPlayerLoopGate Gate;
    detail::SetPlayerEventGate(*Player, Gate.Hook());
    std::unique_ptr<TStallingServer> Server;
    if (Stall) {
      Server = std::make_unique<TStallingServer>(FixturePath("task-b.ts"), 200000);
      Player->SetForceFormat("mpegts");
      ASSERT_TRUE(Player->Open(Server->Url(), Host, false)) << Player->LastErrMsg();
      ASSERT_TRUE(PumpUntil([&] { return Player->VideoState()->Reading.load() && Has(psPlay); }, 10));
    } else {
      Player->SetForceFormat("");
      ASSERT_TRUE(Player->Open(FixturePath("v.mp4"), Host, false)) << Player->LastErrMsg();
      ASSERT_TRUE(PumpUntil([&] { return Has(psPlay); }, 10));
    }
    const LONG_PTR Installed = GetWindowLongPtr(Host, GWL_WNDPROC);
    bool OnMain = false;
    const Integer QuitsBefore = detail::PlayerSDLQuits(*Player, OnMain);
    Gate.Arm();
    ASSERT_TRUE(PumpUntil([&] { return Gate.Held(); }, 5));
    const auto Start = std::chrono::steady_clock::now();
    Player->Stop(true);
    const double Took = std::chrono::duration<double>(std::chrono::steady_clock::now() - Start).count();
    if (Stall) {
      EXPECT_LT(Took, 1.7);
    } else {
      EXPECT_GT(Took, 1.5);
      EXPECT_LT(Took, 4.0);
    }
    EXPECT_EQ(Player->VideoState(), nullptr);
    EXPECT_NE(GetWindowLongPtr(Host, GWL_WNDPROC), Installed) << "the host has its own procedure back";
    EXPECT_EQ(detail::PlayerSDLQuits(*Player, OnMain), QuitsBefore) << "SDL is left to the play thread";
    Gate.Release();
    ASSERT_TRUE(PumpUntil([&] { return Has(psStop); }, 5));
    ASSERT_TRUE(PumpUntil([&] { return detail::PlayerSDLQuits(*Player, OnMain) == QuitsBefore + 1; }, 5));
    EXPECT_FALSE(OnMain);
    // The next Open (or Destroy) joins the play thread.
    detail::SetPlayerEventGate(*Player, nullptr);
  }
  Player.reset();
}

}  // namespace

#include "media/vf_eq.h"
#include "media/vf_hue.h"

namespace {

// Our own filter steps, once registered (as the editing dialog does), run in the player's
// chain as in a conversion: brightness raises every channel of the shown picture,
// saturation -100 leaves it grey.
TEST_F(PlayerPlayTest, OurOwnFilterStepsChangeTheShownPicture) {
  RegisterEqFilter();
  RegisterHueFilter();
  // The average of each channel of a bitmap's rows, and the largest channel spread of a
  // pixel.
  struct PictureStats {
    double Mean[3] = {0, 0, 0};
    int Spread = 0;
  };
  auto Measure = [](TBitmap* ABmp) {
    PictureStats St;
    long Sum[3] = {0, 0, 0};
    for (int Y = 0; Y < ABmp->Height(); ++Y) {
      const auto* Row = static_cast<const uint8_t*>(ABmp->ScanLine(Y));
      for (int X = 0; X < ABmp->Width(); ++X) {
        const uint8_t* P = Row + X * 3;
        for (int C = 0; C < 3; ++C) Sum[C] += P[C];
        St.Spread = std::max({St.Spread, std::abs(P[0] - P[1]), std::abs(P[1] - P[2]), std::abs(P[0] - P[2])});
      }
    }
    const double N = static_cast<double>(ABmp->Width()) * ABmp->Height();
    for (int C = 0; C < 3; ++C) St.Mean[C] = Sum[C] / N;
    return St;
  };
  auto ShownWith = [&](const String& AFilters) {
    TOwned<TCustomPlayer> P = CreateOwned<TDODodeve>(nullptr);
    EXPECT_TRUE(P->LoadAVLib(Dir.Path(), true)) << P->LastErrMsg();
    bool Paused = false;
    P->OnState = [&](TObject*, TPlayState AState) { Paused = Paused || AState == psPause; };
    P->SetVideoFilters(AFilters);
    EXPECT_TRUE(P->Open(FixturePath("v.mp4"), 0, true)) << P->LastErrMsg();
    EXPECT_TRUE(PumpUntil([&] { return Paused; }, 10));
    PumpUntil([] { return false; }, 0.2);
    Int64 Pts = -1;
    const PictureStats St = Measure(P->CurrentFrame(Pts));
    EXPECT_GE(Pts, 0);
    P->Stop(true);
    return St;
  };
  Player.reset();
  const PictureStats Plain = ShownWith("scale=160:120");
  ASSERT_GT(Plain.Spread, 100);  // a colourful picture
  const PictureStats Brighter = ShownWith("scale=160:120,nativeeq=20:0");
  for (int C = 0; C < 3; ++C) EXPECT_GT(Brighter.Mean[C], Plain.Mean[C] + 10) << C;
  const PictureStats Grey = ShownWith("scale=160:120,nativehue=0:-100");
  EXPECT_LE(Grey.Spread, 8);
}

}  // namespace

#include <dirent.h>

namespace {

// The threads of this process.
int PlayerProcessThreads() {
  int N = 0;
  if (DIR* D = opendir("/proc/self/task")) {
    while (const dirent* E = readdir(D))
      if (E->d_name[0] != '.') ++N;
    closedir(D);
  }
  return N;
}

// Without any handler the event thread still ends with the stop: after Stop(True) the
// process has the threads it had before the file was opened (a first player, freed,
// starts what lives on, such as the platform's own helpers).
TEST_F(PlayerPlayTest, WithoutHandlersStopEndsEveryPlayerThread) {
  auto Round = [&](TCustomPlayer& P) {
    ASSERT_TRUE(P.Open(FixturePath("v.mp4"), 0, false)) << P.LastErrMsg();
    PumpUntil([] { return false; }, 0.3);
    P.Stop(true);
  };
  Round(*Player);
  Player.reset();
  TOwned<TCustomPlayer> Bare = CreateOwned<TDODodeve>(nullptr);
  ASSERT_TRUE(Bare->LoadAVLib(Dir.Path(), true)) << Bare->LastErrMsg();
  const int Before = PlayerProcessThreads();
  Round(*Bare);
  EXPECT_TRUE(PumpUntil([&] { return PlayerProcessThreads() <= Before; }, 2))
      << PlayerProcessThreads() << " threads, " << Before << " before";
}

}  // namespace
