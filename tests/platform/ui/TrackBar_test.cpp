// The track bar: OnChange only on real changes, the hidden thumb, and the scroll codes a
// drag, a click on the channel and the keys send.
#include <gtest/gtest.h>

#include <vector>

#include "platform/display/HeadlessPng.h"
#include "platform/display/HeadlessSession.h"
#include "platform/ui/TrackBar.h"
#include "platform/win/Keyboard.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/SysColors.h"
#include "platform/win/TrackBar.h"
#include "tests/support/UiTestControls.h"

using vantrel::display::HeadlessSession;
using vantrel::uitest::RgbAt;
using vantrel::uitest::RgbOf;
using vantrel::uitest::TTestForm;

namespace {

struct TrackBarForm {
  HeadlessSession Session;
  TOwned<TTestForm> Form = CreateOwned<TTestForm>(nullptr);
  TTrackBar* Bar = nullptr;
  std::vector<WORD> Codes;
  int Changes = 0;

  TrackBarForm() {
    Form->SetBounds(20, 20, 260, 100);
    Bar = Create<TTrackBar>(Form.get());
    Bar->SetParent(Form.get());
    Bar->SetBounds(10, 10, 200, 40);
    Bar->SetMax(Bar->Width());
    Bar->SetFrequency(5);
    Bar->SetTickStyle(tsAuto);
    Bar->SetSelStart(0);
    Bar->SetSelEnd(0);
    Bar->OnChange = [this](TObject*) { ++Changes; };
    ShowWindow(Form->Handle(), SW_SHOW);
    Session.PumpUntilIdle();
    TWndMethod Old = Bar->WindowProc;
    Bar->WindowProc = [this, Old](TMessage& M) {
      if (M.Msg == CN_HSCROLL) Codes.push_back(LOWORD(M.WParam));
      Old(M);
    };
  }
  RECT Thumb() {
    RECT R{};
    SendMessage(Bar->Handle(), TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&R));
    return R;
  }
};

}  // namespace

TEST(TrackBar, PositionRunsOnChangeOnlyWhenItChanges) {
  TrackBarForm F;
  F.Bar->SetPosition(0);
  EXPECT_EQ(F.Changes, 0);
  F.Bar->SetPosition(50);
  EXPECT_EQ(F.Changes, 1);
  EXPECT_EQ(SendMessage(F.Bar->Handle(), TBM_GETPOS, 0, 0), 50);
  F.Bar->SetPosition(500);  // clamped to the maximum
  EXPECT_EQ(F.Bar->Position(), 200);
  EXPECT_EQ(SendMessage(F.Bar->Handle(), TBM_GETRANGEMAX, 0, 0), 200);
}

TEST(TrackBar, WithoutTheSliderNoThumbIsDrawn) {
  TrackBarForm F;
  F.Bar->SetPosition(100);
  const RECT T = F.Thumb();
  const int X = 10 + (T.Left + T.Right) / 2, Y = 10 + T.Top + 1;
  auto Shown = F.Session.Capture(F.Form->Handle());
  EXPECT_EQ(RgbAt(Shown, X, Y), RgbOf(ColorToRGB(clBtnFace)));  // the thumb's face
  EXPECT_EQ(RgbAt(Shown, 10 + T.Left, Y), RgbOf(static_cast<TColor>(GetSysColor(COLOR_3DDKSHADOW))));
  F.Bar->SetSliderVisible(false);
  auto Hidden = F.Session.Capture(F.Form->Handle());
  // Where the thumb's edge was, the bar shows its background, as at its left end.
  EXPECT_EQ(RgbAt(Hidden, 10 + T.Left, Y), RgbAt(Hidden, 11, Y));
  EXPECT_EQ(RgbAt(Hidden, X, Y), RgbAt(Hidden, 11, Y));
  vantrel::display::SavePng(Shown, testing::TempDir() + "trackbar.png");
  EXPECT_EQ(F.Bar->Position(), 100);  // kept across the new window
}

TEST(TrackBar, DraggingTheThumbTracksThenEnds) {
  TrackBarForm F;
  F.Bar->SetPosition(20);
  const RECT T = F.Thumb();
  const TPoint P = F.Bar->ClientToScreen(Point((T.Left + T.Right) / 2, (T.Top + T.Bottom) / 2));
  F.Session.Press(P.X, P.Y);
  F.Session.Move(P.X + 10, P.Y);
  F.Session.Move(P.X + 30, P.Y);
  F.Session.Release(P.X + 30, P.Y);
  F.Session.PumpUntilIdle();
  EXPECT_EQ(F.Codes, (std::vector<WORD>{TB_THUMBTRACK, TB_THUMBTRACK, TB_THUMBPOSITION, TB_ENDTRACK}));
  EXPECT_GT(F.Bar->Position(), 40);
  EXPECT_EQ(F.Changes, 3);  // the program's move, then two moves of the thumb
  // A click on the channel beyond the thumb pages; the keys step.
  F.Codes.clear();
  const TPoint End = F.Bar->ClientToScreen(Point(190, (T.Top + T.Bottom) / 2));
  F.Session.Press(End.X, End.Y);
  F.Session.Release(End.X, End.Y);
  F.Session.Key(VK_LEFT);
  F.Session.Key(VK_END);
  F.Session.PumpUntilIdle();
  EXPECT_EQ(F.Codes, (std::vector<WORD>{TB_PAGEDOWN, TB_ENDTRACK, TB_LINEUP, TB_ENDTRACK, TB_BOTTOM, TB_ENDTRACK}));
  EXPECT_EQ(F.Bar->Position(), 200);
}
