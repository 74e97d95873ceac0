// The events log window with its stamped lines, and the media log history fed by the
// media engine's logger.
#include <gtest/gtest.h>

#include <cctype>

#include "app/log.h"
#include "app/main.h"
#include "media/FFLog.h"
#include "platform/ui/Timers.h"
#include "skin/controls/SkinBoxCtrls.h"
#include "skin/controls/SkinCtrls.h"
#include "tests/support/UiFormsFixture.h"

using namespace vantrel::app;
using namespace vantrel::media;

namespace {

// Whether Text matches Pattern, where '9' stands for any digit and '*' for any digits.
bool MatchesDigits(const std::string& Text, const std::string& Pattern) {
  size_t T = 0;
  for (char P : Pattern) {
    if (P == '*') {
      if (T >= Text.size() || !std::isdigit(static_cast<unsigned char>(Text[T]))) return false;
      while (T < Text.size() && std::isdigit(static_cast<unsigned char>(Text[T]))) ++T;
    } else if (P == '9') {
      if (T >= Text.size() || !std::isdigit(static_cast<unsigned char>(Text[T++]))) return false;
    } else if (T >= Text.size() || Text[T++] != P) {
      return false;
    }
  }
  return T == Text.size();
}

}  // namespace

TEST(ActionLog, StampedLinesCarryTheLongTimeFormat) {
  EXPECT_EQ(StampedLine(EncodeTime(14, 3, 22, 0), "File added: /v/a.avi"), "14:03:22-> File added: /v/a.avi");
  EXPECT_EQ(StampedLine(EncodeDate(2026, 12, 11) + EncodeTime(0, 0, 5, 999), "x"), "00:00:05-> x");
}

TEST(ActionLog, LinesGoToTheEventsLogWindowWhichOkCloses) {
  vantrel::uitest::FormsSession S;
  TLogForm* Log = nullptr;
  Application->CreateForm(Log);
  ASSERT_EQ(LogForm, Log);
  EXPECT_EQ(Log->Caption(), "Events Log");
  EXPECT_EQ(Log->ClientWidth(), 400);
  EXPECT_EQ(Log->ClientHeight(), 304);
  EXPECT_EQ(Log->mmoLog->BoundsRect(), Rect(8, 14, 392, 257));
  EXPECT_EQ(Log->btnOK->BoundsRect(), Rect(294, 271, 378, 296));
  TMainUnitState State;
  AddActionLogLine(State, "Started Conversion");
  EXPECT_TRUE(State.ActionLog.empty());
  ASSERT_EQ(Log->mmoLog->Lines()->Count(), 1);
  EXPECT_TRUE(MatchesDigits(Log->mmoLog->Lines()->Get(0), "99:99:99-> Started Conversion"));
  TTimer* Click = Create<TTimer>(Log);
  Click->SetInterval(20);
  Click->OnTimer = [&](TObject*) {
    if (!Log->Visible()) return;
    Click->SetEnabled(false);
    const TPoint P = vantrel::uitest::CentreOf(Log->btnOK);
    S.Session.Press(P.X, P.Y);
    S.Session.Release(P.X, P.Y);
  };
  EXPECT_EQ(Log->ShowModal(), 2);
}

TEST(ActionLog, LoggerEventsJoinTheMediaLogHistory) {
  TMainUnitState State;
  StartMediaLogHistory(State);
  TOwned<TComponent> Owner = CreateOwned<TComponent>(nullptr);
  TFFLogger* Logger = Create<TFFLogger>(Owner.get());
  Logger->SetTriggerEventInMainThread(false);
  Logger->OnLog = [&](TObject*, Cardinal ThreadID, TLogLevel Level, const String& Msg) {
    FFLoggerLog(State, ThreadID, Level, Msg);
  };
  Logger->LogAVLine(1234, 24, "x");  // FFmpeg's warning level
  Logger->Log(Logger, llError, "y");
  ASSERT_EQ(State.MediaLogHistory->Count(), 3);
  EXPECT_EQ(State.MediaLogHistory->Get(0), "FFLOGGER HISTORY:");
  EXPECT_EQ(State.MediaLogHistory->Get(1), "#1234.4: x");
  EXPECT_TRUE(MatchesDigits(State.MediaLogHistory->Get(2), "#*.3: y"));
}
