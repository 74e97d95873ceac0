// The skinned track bar: value arithmetic, dragging, the jump on click, keys and wheel
// only while focusable and focused, and the pixels of both looks.
#include <gtest/gtest.h>

#include "platform/win/Keyboard.h"
#include "skin/controls/SkinCtrls.h"
#include "tests/support/SkinFormFixture.h"

namespace sg = vantrel::skingen;
using vantrel::uitest::SkinFormFixture;

namespace {

class SkinTrackBarTest : public SkinFormFixture {
 protected:
  int Changes = 0, LastChanges = 0, Starts = 0;

  // Unskinned unless Skinned; counts its events.
  TspSkinTrackBar* AddBar(bool Skinned, int W, int H, bool Vertical = false) {
    auto* T = Create<TspSkinTrackBar>(Form.get());
    if (Vertical) T->SetSkinDataName("trackbar");
    T->SetParent(Form.get());
    T->SetVertical(Vertical);
    if (Skinned) T->SetSkinData(Skin);
    T->SetBounds(10, 10, W, H);
    T->OnChange = [this](TObject*) { ++Changes; };
    T->OnLastChange = [this](TObject*) { ++LastChanges; };
    T->OnStartDragButton = [this](TObject*) { ++Starts; };
    return T;
  }
  TPoint Screen(TControl* C, int X, int Y) { return C->ClientToScreen(Point(X, Y)); }
  void Press(TControl* C, int X, int Y) {
    const TPoint P = Screen(C, X, Y);
    Session.Move(P.X, P.Y);
    Session.Press(P.X, P.Y);
    Session.PumpUntilIdle();
  }
  void MoveTo(TControl* C, int X, int Y) {
    const TPoint P = Screen(C, X, Y);
    Session.Move(P.X, P.Y);
    Session.PumpUntilIdle();
  }
  void Release(TControl* C, int X, int Y) {
    const TPoint P = Screen(C, X, Y);
    Session.Release(P.X, P.Y);
    Session.PumpUntilIdle();
  }
  static sg::Colour Fill(const char* Name, const char* Key) {
    return sg::TestPieceColour(false, Name, Key, sg::Piece::Fill);
  }
  static sg::Colour Sys(TColor C) { return static_cast<sg::Colour>(ColorToRGB(C)); }
};

TEST_F(SkinTrackBarTest, ADragOverFiveHundredPixelsMovesTwoPerPixel) {
  // skin-test's htrackbar: track 5..115 of 120, button 11 wide; 520 wide gives 500 pixels
  // between the button centre's ends.
  auto* T = AddBar(true, 520, 22);
  T->SetMaxValue(1000);
  T->SetValue(0);
  ShowForm();
  ASSERT_NE(T->FIndex, -1);
  const TRect B = T->CalcButtonRect(T->NewTrackArea);
  ASSERT_EQ(B.Left, 5);
  Changes = 0;
  const int X = B.Left + 5, Y = 11;
  Press(T, X, Y);
  EXPECT_EQ(Starts, 1);
  MoveTo(T, X + 1, Y);
  EXPECT_EQ(T->Value(), 2);
  MoveTo(T, X + 250, Y + 7);
  EXPECT_EQ(T->Value(), 500);
  MoveTo(T, X + 900, Y);
  EXPECT_EQ(T->Value(), 1000);
  MoveTo(T, X + 950, Y);
  EXPECT_EQ(Changes, 3);
  EXPECT_EQ(LastChanges, 0);
  Release(T, X + 950, Y);
  EXPECT_EQ(LastChanges, 1);
  EXPECT_EQ(T->Value(), 1000);
}

struct HalfCase {
  int Max, Expected;
};

TEST_F(SkinTrackBarTest, CalcValueRoundsHalvesToEven) {
  // Unskinned, 512 x 20: button 8 wide on track 2..510 gives 500 pixels.
  auto* T = AddBar(false, 512, 20);
  for (const HalfCase& K : {HalfCase{5, 2}, HalfCase{7, 4}, HalfCase{1000, 500}, HalfCase{3, 2}}) {
    SCOPED_TRACE(K.Max);
    T->SetMaxValue(K.Max);
    T->CalcButtonRect(Rect(2, 2, 510, 18));
    EXPECT_EQ(T->CalcValue(250), K.Expected);
  }
  EXPECT_EQ(T->CalcValue(-40), 0);
  EXPECT_EQ(T->CalcValue(900), 3);
}

TEST_F(SkinTrackBarTest, AnEmptyRangeKeepsTheButtonAtTheMinimum) {
  auto* T = AddBar(false, 200, 20);
  T->SetMinValue(7);
  T->SetMaxValue(7);
  const TRect B = T->CalcButtonRect(Rect(2, 2, 198, 18));
  EXPECT_EQ(B.Left, 2);
  EXPECT_EQ(T->CalcValue(0), 7);
  EXPECT_EQ(T->CalcValue(150), 7);
}

TEST_F(SkinTrackBarTest, BoundsPullTheValueInWithoutAnEvent) {
  auto* T = AddBar(false, 200, 20);
  T->SetValue(80);
  EXPECT_EQ(Changes, 1);
  T->SetMaxValue(60);
  EXPECT_EQ(T->Value(), 60);
  T->SetMinValue(70);
  EXPECT_EQ(T->Value(), 70);
  T->SetValue(500);
  EXPECT_EQ(T->Value(), 60);
  EXPECT_EQ(Changes, 2);
}

TEST_F(SkinTrackBarTest, ArrowAtTheMaximumTellsTheLastChangeOnly) {
  auto* T = AddBar(false, 200, 20);
  T->SetCanFocused(true);
  EXPECT_TRUE(T->TabStop());
  T->SetValue(100);
  ShowForm();
  T->SetFocus();
  Session.PumpUntilIdle();
  Changes = 0;
  Session.Key(VK_RIGHT);
  Session.PumpUntilIdle();
  EXPECT_EQ(T->Value(), 100);
  EXPECT_EQ(Changes, 0);
  EXPECT_EQ(LastChanges, 1);
  Session.Key(VK_LEFT);
  Session.Key(VK_DOWN);
  Session.PumpUntilIdle();
  EXPECT_EQ(T->Value(), 98);
  EXPECT_EQ(Changes, 2);
  EXPECT_EQ(LastChanges, 3);
  Session.Key(VK_UP);
  Session.PumpUntilIdle();
  EXPECT_EQ(T->Value(), 99);
}

struct WheelCase {
  bool Vertical;
  int Delta, Step;
};

TEST_F(SkinTrackBarTest, TheWheelStepsByOrientation) {
  for (const WheelCase& K : {WheelCase{true, 120, 1}, WheelCase{true, -120, -1}, WheelCase{false, 120, -1},
                             WheelCase{false, -120, 1}}) {
    SCOPED_TRACE(std::to_string(K.Vertical) + " " + std::to_string(K.Delta));
    auto* T = AddBar(false, K.Vertical ? 20 : 200, K.Vertical ? 200 : 20, K.Vertical);
    T->SetCanFocused(true);
    ShowForm();
    T->SetFocus();
    Session.PumpUntilIdle();
    LastChanges = 0;
    const TPoint P = Screen(T, 5, 5);
    Session.Wheel(P.X, P.Y, K.Delta);
    Session.PumpUntilIdle();
    EXPECT_EQ(T->Value(), 50 + K.Step);
    EXPECT_EQ(LastChanges, 1);
    delete T;
  }
}

TEST_F(SkinTrackBarTest, WithoutCanFocusedKeysWheelAndClicksLeaveTheFocus) {
  auto* Other = Create<TspSkinTrackBar>(Form.get());
  Other->SetParent(Form.get());
  Other->SetBounds(10, 100, 200, 20);
  Other->SetCanFocused(true);
  auto* T = AddBar(false, 200, 20);
  ShowForm();
  Other->SetFocus();
  Session.PumpUntilIdle();
  Press(T, 150, 10);
  Release(T, 150, 10);
  EXPECT_TRUE(Other->Focused());
  EXPECT_FALSE(T->Focused());
  const TPoint P = Screen(T, 5, 5);
  Session.Wheel(P.X, P.Y, 120);
  Session.PumpUntilIdle();
  T->Perform(WM_MOUSEWHEEL, MAKEWPARAM(0, 120), 0);
  Word Key = VK_RIGHT;
  T->Perform(WM_KEYDOWN, Key, 0);
  EXPECT_EQ(T->Value(), 50);
  EXPECT_EQ(LastChanges, 0);
}

TEST_F(SkinTrackBarTest, AClickTakesTheFocusWhenFocusable) {
  auto* T = AddBar(false, 200, 20);
  T->SetCanFocused(true);
  ShowForm();
  EXPECT_FALSE(T->Focused());
  Press(T, 150, 10);
  Release(T, 150, 10);
  EXPECT_TRUE(T->Focused());
}

TEST_F(SkinTrackBarTest, AClickOnTheTrackJumpsOnlyWithJumpWhenClick) {
  // Unskinned 512 x 20: offsets 0..500 from x = 6; a click at x jumps to offset x - 4 - 2.
  auto* T = AddBar(false, 512, 20);
  T->SetMaxValue(1000);
  T->SetValue(0);
  ShowForm();
  Changes = 0;
  Press(T, 256, 10);
  Release(T, 256, 10);
  EXPECT_EQ(T->Value(), 0);
  T->JumpWhenClick = true;
  Press(T, 256, 10);
  Release(T, 256, 10);
  EXPECT_EQ(T->Value(), 500);
  EXPECT_EQ(Changes, 1);
  EXPECT_EQ(LastChanges, 0);
}

TEST_F(SkinTrackBarTest, TheSkinnedBarFillsThePassedTrackAndShowsTheButton) {
  auto* T = AddBar(true, 220, 22);
  ShowForm();
  const TRect B = T->CalcButtonRect(T->NewTrackArea);
  const int Mid = (B.Left + B.Right) / 2;
  EXPECT_EQ(PixelAt(T, Mid, 11), Fill("htrackbar", "buttonrect"));
  EXPECT_EQ(PixelAt(T, Mid - 20, 11), Fill("htrackbar", "activeskinrect"));
  EXPECT_EQ(PixelAt(T, Mid + 20, 11), Fill("htrackbar", "skinrect"));
  T->SetCanFocused(true);
  T->SetFocus();
  Session.PumpUntilIdle();
  EXPECT_EQ(PixelAt(T, Mid, 11), Fill("htrackbar", "activebuttonrect"));
}

TEST_F(SkinTrackBarTest, AVerticalBarHasItsMinimumAtTheBottom) {
  auto* T = AddBar(true, 22, 220, true);
  T->SetValue(0);
  ShowForm();
  ASSERT_NE(T->FIndex, -1);
  EXPECT_TRUE(T->Vertical());
  const TRect B = T->CalcButtonRect(T->NewTrackArea);
  // The 11-pixel button's centre sits at the last offset, half a button above the end.
  EXPECT_EQ(B.Top + 5, T->NewTrackArea.Bottom - 5);
  EXPECT_EQ(PixelAt(T, 11, (B.Top + B.Bottom) / 2), Fill("trackbar", "buttonrect"));
  EXPECT_EQ(PixelAt(T, 11, 40), Fill("trackbar", "skinrect"));
}

TEST_F(SkinTrackBarTest, ThePlainLookShowsTheButtonByState) {
  auto* T = AddBar(false, 200, 20);
  T->SetCanFocused(true);
  ShowForm();
  const TRect B = T->CalcButtonRect(Rect(2, 2, 198, 18));
  const int X = (B.Left + B.Right) / 2, Y = (B.Top + B.Bottom) / 2;
  EXPECT_EQ(PixelAt(T, 0, 0), Sys(clBtnShadow));
  EXPECT_EQ(PixelAt(T, B.Left, B.Top), Sys(clBtnShadow));
  EXPECT_EQ(PixelAt(T, X, Y), Sys(clBtnFace));
  Press(T, X, Y);
  EXPECT_EQ(PixelAt(T, B.Left, B.Top), Sys(clNavy));
  EXPECT_EQ(PixelAt(T, X, Y), sg::Rgb(133, 147, 181));
  Release(T, X, Y);
  EXPECT_EQ(PixelAt(T, X, Y), sg::Rgb(182, 189, 210));
}

}  // namespace
