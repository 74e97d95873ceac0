// The progress report of whole conversions in the caller's thread, driven by an
// injected clock: the figures of audio-only and video runs, the report interval, the
// last report and the logged line and summary when nobody listens.
#include <algorithm>
#include <string>
#include <vector>

#include "tests/media/TaskTestEngine.h"

using namespace vantrel::media;
using vantrel::test::TTaskTest;

namespace {

struct TReport {
  Integer FileIndex;
  Integer Frame;
  Integer Fps;
  Single Quality;
  Int64 Size;
  Int64 Current;
  Int64 Total;
  Int64 At;  // the injected clock when it was raised
};

class ProgressTest : public TTaskTest {
 protected:
  // A clock that moves AStep microseconds every time the engine reads it.
  void UseClock(Int64 AStep) {
    T->Clock = [this, AStep] { return ClockNow += AStep; };
  }
  void Listen() {
    T->OnProgress = [this](TObject*, Integer AFileIndex, Integer AFrame, Integer AFps, Single AQuality, Single,
                           Int64 ASize, Int64 ACurrent, Int64 ATotal) {
      Reports.push_back({AFileIndex, AFrame, AFps, AQuality, ASize, ACurrent, ATotal, ClockNow});
    };
  }
  bool Run(const std::string& AInput, const std::string& AOutput, TOutputOptions O) {
    if (!OpenInput(AInput) || !T->OpenOutput(AOutput, &O)) {
      ADD_FAILURE() << T->LastErrMsg();
      return false;
    }
    T->StartConvert(false);
    EXPECT_FALSE(T->FatalException()) << T->FatalMessage();
    return T->Finished();
  }
  static TOutputOptions AudioOnly(const char* ACodec) {
    TOutputOptions O;
    O.AudioCodec = ACodec;
    O.DisableVideo = true;
    return O;
  }

  Int64 ClockNow = 1000000;  // (0 is the read time-out's "cancelled" mark)
  std::vector<TReport> Reports;
};

// MP2 pads its last frame: its output ends after the input, yet the reported duration
// stops at the total. With a report after every packet, AAC's first reports come before
// its first packet is written: 0, not a start value.
TEST_F(ProgressTest, AudioOnlyRunReportsNoVideoFiguresAndStaysWithinTheTotal) {
  const struct {
    const char* Output;
    const char* Codec;
    Int64 Step;
    bool FirstBeforeOutput;
  } Cases[] = {{"c.m4a", "aac", 600000, true}, {"c.mp2", "mp2", 200000, false}};
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Output);
    T = CreateOwned<vantrel::test::TTestTask>(8);
    Reports.clear();
    UseClock(C.Step);
    Listen();
    ASSERT_TRUE(Run(Fixture("task-c.wav"), Dir.File(C.Output), AudioOnly(C.Codec)));
    ASSERT_GE(Reports.size(), 3u);
    if (C.FirstBeforeOutput) {
      EXPECT_EQ(Reports.front().Current, 0);
    }
    const Int64 Total = Reports.back().Total;
    EXPECT_NEAR(static_cast<double>(Total), 2000000.0, 20000.0);
    for (size_t i = 0; i < Reports.size(); ++i) {
      SCOPED_TRACE(i);
      const TReport& R = Reports[i];
      EXPECT_EQ(R.Frame, -1);
      EXPECT_EQ(R.Fps, -1);
      EXPECT_EQ(R.Quality, -1.0f);
      EXPECT_GE(R.Current, 0);
      EXPECT_LE(R.Current, Total);
      EXPECT_EQ(R.FileIndex, i + 1 == Reports.size() ? -1 : 0);
      if (i > 0) {
        EXPECT_GE(R.Current, Reports[i - 1].Current);
        EXPECT_GE(R.Size, Reports[i - 1].Size);
      }
    }
    EXPECT_GT(Reports.back().Size, 0);
    EXPECT_NEAR(static_cast<double>(Reports.back().Current), static_cast<double>(Total), 40000.0);
  }
}

TEST_F(ProgressTest, ReportsComeAtTheIntervalOfTheInjectedClock) {
  // A clock that stands still gives only the last report; a moving one a report each
  // time more than the interval has passed since the one before.
  const struct {
    Int64 Step;
    Int64 Interval;
  } Cases[] = {{0, 500000}, {1000, 20000}, {5000, 20000}};
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Step);
    T = CreateOwned<vantrel::test::TTestTask>(8);
    Reports.clear();
    ClockNow = 1000000;
    UseClock(C.Step);
    T->ReportInterval = C.Interval;
    Listen();
    ASSERT_TRUE(Run(Fixture("task-c.wav"), Dir.File("c.wav"), AudioOnly("pcm_s16le")));
    ASSERT_FALSE(Reports.empty());
    EXPECT_EQ(Reports.back().FileIndex, -1);
    if (C.Step == 0) {
      EXPECT_EQ(Reports.size(), 1u);
      continue;
    }
    ASSERT_GE(Reports.size(), 3u);
    for (size_t i = 1; i + 1 < Reports.size(); ++i) {
      const Int64 Gap = Reports[i].At - Reports[i - 1].At;
      EXPECT_GT(Gap, C.Interval);
      // The loop looks at the clock after every packet: never much later than due.
      EXPECT_LE(Gap, C.Interval + 20 * C.Step);
    }
  }
}

TEST_F(ProgressTest, VideoRunCountsFramesAndItsRate) {
  TOutputOptions O;
  O.VideoCodec = "libx264";
  O.DisableAudio = true;
  // 100 ms of the clock per read: the rate is frames over clock seconds.
  UseClock(100000);
  T->ReportInterval = 1000000;
  Listen();
  ASSERT_TRUE(Run(Fixture("task-a.avi"), Dir.File("a.mp4"), O));
  ASSERT_GE(Reports.size(), 2u);
  for (size_t i = 0; i < Reports.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_GE(Reports[i].Frame, 1);
    EXPECT_GE(Reports[i].Quality, 0.0f);
    if (i > 0) {
      EXPECT_GE(Reports[i].Frame, Reports[i - 1].Frame);
    }
  }
  const TReport& Last = Reports.back();
  EXPECT_EQ(Last.FileIndex, -1);
  EXPECT_EQ(Last.Frame, 75);
  EXPECT_GT(Last.Fps, 0);
  EXPECT_LE(Last.Current, Last.Total);
  EXPECT_NEAR(static_cast<double>(Last.Current), 3000000.0, 100000.0);

  // During the first second of the clock the rate is 0.
  T = CreateOwned<vantrel::test::TTestTask>(8);
  Reports.clear();
  UseClock(0);
  Listen();
  ASSERT_TRUE(Run(Fixture("task-a.avi"), Dir.File("b.mp4"), O));
  ASSERT_EQ(Reports.size(), 1u);
  EXPECT_EQ(Reports[0].Fps, 0);
  EXPECT_EQ(Reports[0].Frame, 75);
}

TEST_F(ProgressTest, WithoutAHandlerOnlyTheLastReportIsLoggedWithTheSummary) {
  T->SetVerbose(0);
  UseClock(200000);
  ASSERT_TRUE(Run(Fixture("task-c.wav"), Dir.File("c.m4a"), AudioOnly("aac")));
  std::lock_guard<std::mutex> L(LinesLock);
  const auto Count = [this](const char* AText) {
    return std::count_if(Lines.begin(), Lines.end(),
                         [AText](const std::string& S) { return S.find(AText) != std::string::npos; });
  };
  EXPECT_EQ(Count("bitrate="), 1);
  EXPECT_EQ(Count("muxing overhead"), 1);
  EXPECT_EQ(Count("time=2.0"), 1);
}

}  // namespace
