// The logger: level mapping and filtering, the single instance, and FFmpeg's lines
// through the callback (pieces joined per thread, repeats collapsed, long and UTF-8
// lines whole, delivery on the main thread without deadlocks).
#include "media/FFLog.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <semaphore>
#include <string>
#include <thread>
#include <vector>

#include "media/AVFormatAPI.h"
#include "media/AVUtilAPI.h"
#include "media/FFLoad.h"
#include "platform/rtl/Threads.h"
#include "tests/support/OwnProcess.h"

using namespace vantrel::media;

namespace {

struct TLine {
  TObject* Sender;
  Cardinal ThreadID;
  TLogLevel Level;
  std::string Text;
  bool OnMainThread;
};

// A placed logger recording what OnLog receives.
class LoggerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Logger = CreateOwned<TFFLogger>(nullptr);
    Logger->OnLog = [this](TObject* Sender, Cardinal Tid, TLogLevel Level, const String& Msg) {
      Lines.push_back({Sender, Tid, Level, Msg, IsMainThread()});
    };
  }
  void LoadAVUtil() {
    ASSERT_TRUE(FFLoader().Load(avUtil)) << FFLoader().LastErrMsg();
  }
  void TearDown() override {
    FFLoader().Unload(avUtil);
  }
  std::vector<std::string> Texts() const {
    std::vector<std::string> R;
    for (const TLine& L : Lines) R.push_back(L.Text);
    return R;
  }

  TOwned<TFFLogger> Logger;
  std::vector<TLine> Lines;
};

using TTexts = std::vector<std::string>;

}  // namespace

TEST(FFLogLevels, MapToAndFromFFmpegLevels) {
  const struct {
    Integer AV;
    TLogLevel Level;
  } Cases[] = {{-100, llQuiet}, {-9, llQuiet},  {-8, llQuiet},  {-7, llPanic},    {0, llPanic},
               {7, llPanic},    {8, llFatal},   {15, llFatal},  {16, llError},    {23, llError},
               {24, llWarning}, {32, llInfo},   {39, llInfo},   {40, llVerbose},  {47, llVerbose},
               {48, llDebug},   {56, llDebug},  {1000, llDebug}};
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.AV);
    EXPECT_EQ(AVLogLevelToLogLevel(C.AV), C.Level);
  }
  const Integer Levels[] = {-8, 0, 8, 16, 24, 32, 40, 48};
  for (Integer I = 0; I < 8; ++I) EXPECT_EQ(LogLevelToAVLogLevel(TLogLevel(I)), Levels[I]);
}

TEST_F(LoggerTest, OptLogLevelTakesNamesAndNumbers) {
  const struct {
    const char* Arg;
    TLogLevel Level;
  } Cases[] = {{"Debug", llDebug}, {"QUIET", llQuiet}, {"warning", llWarning},
               {"20", llError},    {"100", llDebug},   {"-8", llQuiet}};
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Arg);
    Logger->OptLogLevel(C.Arg);
    EXPECT_EQ(Logger->LogLevel(), C.Level);
  }
  EXPECT_THROW(Logger->OptLogLevel("loud"), EConvertError);
}

TEST_F(LoggerTest, LogFiltersByLevelAndKeepsTheSender) {
  Logger->SetTriggerEventInMainThread(false);
  TObject Sender;
  const struct {
    TLogLevel LoggerLevel;
    TLogLevel MsgLevel;
    bool Delivered;
  } Cases[] = {{llQuiet, llVerbose, false}, {llQuiet, llQuiet, true},    {llError, llVerbose, true},
               {llError, llWarning, false}, {llError, llInfo, false},    {llError, llError, true},
               {llInfo, llDebug, false},    {llDebug, llDebug, true}};
  for (const auto& C : Cases) {
    SCOPED_TRACE(testing::Message() << C.LoggerLevel << "/" << C.MsgLevel);
    Lines.clear();
    Logger->SetLogLevel(C.LoggerLevel);
    Logger->Log(&Sender, C.MsgLevel, "%s #%d", {"text", 7});
    ASSERT_EQ(Lines.size(), C.Delivered ? 1u : 0u);
    if (C.Delivered) {
      EXPECT_EQ(Lines[0].Sender, &Sender);
      EXPECT_EQ(Lines[0].Level, C.MsgLevel);
      EXPECT_EQ(Lines[0].Text, "text #7");
      EXPECT_EQ(Lines[0].ThreadID, GetCurrentThreadId());
    }
  }
}

TEST(FFLoggerInstance, PlacedLoggerReplacesAutoCreatedAndIsTheOnlyOne) {
  if (vantrel::test::RanAloneInChild()) return;  // counts process-wide state
  TFFLogger* Auto = GetFFLogger();
  ASSERT_NE(Auto, nullptr);
  EXPECT_TRUE(Auto->AutoCreated());
  EXPECT_EQ(GetFFLogger(), Auto);

  TOwned<TComponent> Owner = CreateOwned<TComponent>(nullptr);
  TFFLogger* Placed = TFFLogger::Create(Owner.get());
  EXPECT_EQ(GetFFLogger(), Placed);
  EXPECT_FALSE(Placed->AutoCreated());
  EXPECT_TRUE(Placed->TriggerEventInMainThread());
  EXPECT_EQ(Placed->LogLevel(), llInfo);
  try {
    TFFLogger::Create(Owner.get());
    ADD_FAILURE() << "a second logger was made";
  } catch (const Exception& E) {
    EXPECT_STREQ(E.what(), "Allow creating only one instance of TFFLogger.");
  }
  EXPECT_EQ(Owner->ComponentCount(), 1);
  EXPECT_EQ(GetFFLogger(), Placed);

  Owner.reset();  // frees the placed logger
  TFFLogger* Next = GetFFLogger();
  EXPECT_TRUE(Next->AutoCreated());
}

TEST_F(LoggerTest, FFmpegPiecesBecomeWholeLines) {
  LoadAVUtil();
  Logger->SetTriggerEventInMainThread(false);
  ff::av_log(nullptr, AV_LOG_INFO, "no line feed yet, ");
  EXPECT_TRUE(Lines.empty());
  ff::av_log(nullptr, AV_LOG_WARNING, "%s\n", "now it ends");
  ff::av_log(nullptr, AV_LOG_ERROR, "two\nlines\n");
  EXPECT_EQ(Texts(), (TTexts{"no line feed yet, now it ends", "two", "lines"}));
  ASSERT_EQ(Lines.size(), 3u);
  EXPECT_EQ(Lines[0].Sender, Logger.get());
  EXPECT_EQ(Lines[0].Level, llWarning);  // the level of the piece that ended the line
  EXPECT_EQ(Lines[2].Level, llError);
}

TEST_F(LoggerTest, RepeatedFFmpegLinesCollapse) {
  LoadAVUtil();
  Logger->SetTriggerEventInMainThread(false);
  for (int I = 0; I < 3; ++I) ff::av_log(nullptr, AV_LOG_INFO, "same\n");
  ff::av_log(nullptr, AV_LOG_INFO, "other\n");
  EXPECT_EQ(Texts(), (TTexts{"same", "    Last message repeated 2 times", "other"}));
}

TEST_F(LoggerTest, FFmpegLinesKeepPrefixUtf8AndLength) {
  LoadAVUtil();
  ASSERT_TRUE(FFLoader().Load(DecoderLibraries)) << FFLoader().LastErrMsg();
  Logger->SetTriggerEventInMainThread(false);
  AVFormatContext* Ctx = ff::avformat_alloc_context();
  const std::string Long(5000, 'x');
  ff::av_log(Ctx, AV_LOG_INFO, "%s|%s\n", "Файл «東京» café", Long.c_str());
  ff::av_log(nullptr, AV_LOG_INFO, "%s\n", Long.c_str());
  ff::avformat_free_context(Ctx);
  FFLoader().Unload(DecoderLibraries);

  ASSERT_EQ(Lines.size(), 2u);
  char Prefix[64];
  std::snprintf(Prefix, sizeof Prefix, "[NULL @ %p] ", static_cast<void*>(Ctx));
  EXPECT_EQ(Lines[0].Text, std::string(Prefix) + "Файл «東京» café|" + Long);
  EXPECT_EQ(Lines[1].Text, Long);
}

TEST_F(LoggerTest, FFmpegThresholdFollowsLogLevel) {
  LoadAVUtil();
  Logger->SetTriggerEventInMainThread(false);
  Logger->SetLogLevel(llWarning);
  EXPECT_EQ(ff::av_log_get_level(), AV_LOG_WARNING);
  ff::av_log(nullptr, AV_LOG_INFO, "dropped\n");
  ff::av_log(nullptr, AV_LOG_WARNING, "kept\n");
  EXPECT_EQ(Texts(), (TTexts{"kept"}));
}

TEST_F(LoggerTest, PiecesFromTwoThreadsArriveWholeOnTheMainThread) {
  LoadAVUtil();
  // The two threads write their pieces alternately: A1 B1 A2 B2.
  std::binary_semaphore ATurn{1}, BTurn{0};
  std::atomic<Cardinal> AId{0}, BId{0};
  std::atomic<int> Done{0};
  std::thread A([&] {
    AId = GetCurrentThreadId();
    ATurn.acquire();
    ff::av_log(nullptr, AV_LOG_WARNING, "alpha one, ");
    BTurn.release();
    ATurn.acquire();
    BTurn.release();  // B may go on while this thread waits for the main thread
    ff::av_log(nullptr, AV_LOG_WARNING, "alpha two\n");
    ++Done;
  });
  std::thread B([&] {
    BId = GetCurrentThreadId();
    BTurn.acquire();
    ff::av_log(nullptr, AV_LOG_ERROR, "beta one, ");
    ATurn.release();
    BTurn.acquire();
    ff::av_log(nullptr, AV_LOG_ERROR, "beta two\n");
    ++Done;
  });
  while (Done < 2) CheckSynchronize(10);
  A.join();
  B.join();

  ASSERT_EQ(Lines.size(), 2u);
  for (const TLine& L : Lines) {
    EXPECT_TRUE(L.OnMainThread);
    if (L.ThreadID == AId) {
      EXPECT_EQ(L.Text, "alpha one, alpha two");
      EXPECT_EQ(L.Level, llWarning);
    } else {
      EXPECT_EQ(L.ThreadID, BId.load());
      EXPECT_EQ(L.Text, "beta one, beta two");
      EXPECT_EQ(L.Level, llError);
    }
  }
}

TEST_F(LoggerTest, LinesLoggedUnderTheCodecLockArriveAfterItIsLeft) {
  LoadAVUtil();
  Logger->SetLogLevel(llDebug);
  TEvent Logged;
  std::atomic<bool> Finished{false};
  std::thread Worker([&] {
    {
      TCodecLockGuard Guard;
      ff::av_log(nullptr, AV_LOG_INFO, "opening codec\n");
      Logger->Log(nullptr, llInfo, "engine line");
      Logged.SetEvent();  // without the deferral this thread would wait for the main thread
    }
    Finished = true;
  });
  // The main thread does not serve calls here: it waits for the worker, then for the
  // codec lock, as a GUI thread opening a codec would.
  if (Logged.WaitFor(30000) != wrSignaled) {
    while (!Finished) CheckSynchronize(10);
    Worker.join();
    FAIL() << "the worker waited for the main thread while holding the codec lock";
  }
  { std::lock_guard<TCriticalSection> G(CodecLock()); }
  EXPECT_TRUE(Lines.empty());
  while (!Finished) CheckSynchronize(10);
  Worker.join();
  EXPECT_EQ(Texts(), (TTexts{"opening codec", "engine line"}));
  for (const TLine& L : Lines) EXPECT_TRUE(L.OnMainThread);
}
