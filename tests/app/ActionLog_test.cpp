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
#include "platform/display/HeadlessPng.h"
#include "platform/win/Edit.h"
#include "platform/win/Keyboard.h"
#include "skin/core/data/SkinData.h"
#include "tests/support/TestPaths.h"
#include "tests/support/UiFormsFixture.h"
#include "tests/support/UiTestControls.h"
#include "tools/skingen/SkinGenSpec.h"

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
  // The memo and its two skinned bars share the memo's place: the vertical bar along the
  // right edge, the horizontal one along the bottom.
  const TRect Memo = Log->mmoLog->BoundsRect(), V = Log->mmoLogBars.Vertical->BoundsRect(),
              H = Log->mmoLogBars.Horizontal->BoundsRect();
  EXPECT_EQ(Rect(Memo.Left, Memo.Top, V.Right, H.Bottom), Rect(8, 14, 392, 257));
  EXPECT_EQ(V, Rect(Memo.Right, Memo.Top, 392, Memo.Bottom));
  EXPECT_EQ(H, Rect(Memo.Left, Memo.Bottom, 392, 257));
  EXPECT_GE(V.Right - V.Left, 10);
  EXPECT_GE(H.Bottom - H.Top, 10);
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

// A long log shows its vertical bar; the wheel over the memo, the bar and the keys scroll it.
TEST(ActionLog, ALongLogScrollsByWheelBarAndKeys) {
  vantrel::uitest::FormsSession S;
  TLogForm* Log = nullptr;
  Application->CreateForm(Log);
  TOwned<TspSkinData> Skin = CreateOwned<TspSkinData>(nullptr);
  Skin->LoadFromFile(vantrel::test::BinDir() + "/" + vantrel::skingen::DefaultSkinFolder + "/" +
                     vantrel::skingen::SkinIniName);
  Log->BindSkin(Skin.get());
  for (int I = 1; I <= 60; ++I) Log->AddLine("line " + std::to_string(I));
  Log->Show();
  S.Session.PumpUntilIdle();
  TspSkinScrollBar* Bar = Log->mmoLogBars.Vertical;
  const auto FirstLine = [&] { return SendMessage(Log->mmoLog->Handle(), EM_GETFIRSTVISIBLELINE, 0, 0); };
  EXPECT_TRUE(Bar->Visible());
  EXPECT_TRUE(Bar->Enabled());
  EXPECT_GT(Bar->Max(), Bar->PageSize());
  ASSERT_EQ(FirstLine(), 0);
  // The pointer over the memo, which holds the focus as a click into it gives.
  Log->mmoLog->SetFocus();
  const TPoint Over = vantrel::uitest::CentreOf(Log->mmoLog);
  S.Session.Move(Over.X, Over.Y);
  S.Session.Wheel(Over.X, Over.Y, -120 * 3);
  S.Session.PumpUntilIdle();
  EXPECT_GT(FirstLine(), 0);
  EXPECT_EQ(Bar->Position(), FirstLine());
  // The bar's down button scrolls the memo on.
  const Integer Before = FirstLine();
  const TPoint Down = Bar->ClientToScreen(Point(Bar->Width() / 2, Bar->Height() - 4));
  S.Session.Press(Down.X, Down.Y);
  S.Session.Release(Down.X, Down.Y);
  S.Session.PumpUntilIdle();
  EXPECT_GT(FirstLine(), Before);
  // Ctrl+End takes the caret, and the view, to the last line.
  S.Session.Key(VK_END, MOD_CONTROL);
  S.Session.PumpUntilIdle();
  EXPECT_GT(FirstLine(), 30);
  EXPECT_EQ(Bar->Position(), FirstLine());
  vantrel::display::SavePng(S.Session.CaptureScreen(), testing::TempDir() + "EventsLogLong.png");
  Log->Hide();
  Log->Free();
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
