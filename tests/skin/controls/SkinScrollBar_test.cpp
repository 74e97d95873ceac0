// The skinned scroll bar: clamping and the silent setters its hosts use, the thumb's
// layout, held buttons and pages on the virtual clock, dragging, keys and wheel, and the
// pixels of both looks.
#include <gtest/gtest.h>

#include "platform/win/Keyboard.h"
#include "skin/controls/SkinCtrls.h"
#include "tests/support/SkinFormFixture.h"

namespace sg = vantrel::skingen;
using vantrel::uitest::SkinFormFixture;

namespace {

class SkinScrollBarTest : public SkinFormFixture {
 protected:
  int Changes = 0;

  // Unskinned unless Skinned; 234 pixels wide leaves a 200-pixel track between the
  // plain 17-pixel buttons.
  TspSkinScrollBar* AddBar(bool Skinned, int W = 234, int H = 19) {
    auto* B = Create<TspSkinScrollBar>(Form.get());
    B->SetParent(Form.get());
    if (Skinned) B->SetSkinData(Skin);
    B->SetBounds(10, 10, W, H);
    B->OnChange = [this](TObject*) { ++Changes; };
    return B;
  }
  TPoint Screen(TControl* C, int X, int Y) { return C->ClientToScreen(Point(X, Y)); }
  void Press(TControl* C, int X, int Y, int Button = vantrel::win::rbLeft) {
    const TPoint P = Screen(C, X, Y);
    Session.Move(P.X, P.Y);
    Session.Press(P.X, P.Y, Button);
    Session.PumpUntilIdle();
  }
  void MoveTo(TControl* C, int X, int Y) {
    const TPoint P = Screen(C, X, Y);
    Session.Move(P.X, P.Y);
    Session.PumpUntilIdle();
  }
  void Release(TControl* C, int X, int Y, int Button = vantrel::win::rbLeft) {
    const TPoint P = Screen(C, X, Y);
    Session.Release(P.X, P.Y, Button);
    Session.PumpUntilIdle();
  }
  static sg::Colour Piece(const char* Key, sg::Piece P = sg::Piece::Fill) {
    return sg::TestPieceColour(false, "hscrollbar", Key, P);
  }
  static sg::Colour Sys(TColor C) { return static_cast<sg::Colour>(ColorToRGB(C)); }
};

TEST_F(SkinScrollBarTest, APageOfTenInAHundredGivesATwentyPixelThumbAtTheEnd) {
  auto* B = AddBar(false);
  B->SetRange(0, 99, 90, 10);
  B->CalcRects();
  EXPECT_EQ(B->NewTrackArea.Left, 17);
  EXPECT_EQ(B->NewTrackArea.Right, 217);
  const TRect T = B->Buttons[TspSkinScrollBar::ThumbButton].R;
  EXPECT_EQ(T.Right - T.Left, 20);
  EXPECT_EQ(T.Right, 217);
  B->SetPosition(500);
  EXPECT_EQ(B->Position(), 90);
  EXPECT_EQ(Changes, 0);
}

struct ClampCase {
  int Min, Max, Page, Write, Stored;
};

TEST_F(SkinScrollBarTest, PositionStaysInsideTheRangeAndNeverBelowMin) {
  // A page larger than the range keeps Min (not Max - PageSize + 1 below it).
  for (const ClampCase& K : {ClampCase{0, 10, 20, 5, 0}, ClampCase{0, 99, 10, 95, 90}, ClampCase{0, 99, 0, 120, 99},
                             ClampCase{10, 50, 0, 3, 10}, ClampCase{100, 110, 5, 120, 106},
                             ClampCase{100, 110, 20, 105, 100}}) {
    SCOPED_TRACE(std::to_string(K.Min) + ".." + std::to_string(K.Max) + " page " + std::to_string(K.Page));
    auto* B = AddBar(false);
    B->SetRange(K.Min, K.Max, K.Min, K.Page);
    B->SetPosition(K.Write);
    EXPECT_EQ(B->Position(), K.Stored);
    B->SimplySetPosition(K.Write);
    EXPECT_EQ(B->Position(), K.Stored);
    B->SetRange(K.Min, K.Max, K.Write, K.Page);
    EXPECT_EQ(B->Position(), K.Stored);
    delete B;
  }
}

TEST_F(SkinScrollBarTest, TheSilentSettersNeverTellOnChange) {
  auto* B = AddBar(false);
  B->SetRange(0, 50, 80, 0);
  EXPECT_EQ(B->Position(), 50);
  B->SimplySetPosition(20);
  EXPECT_EQ(B->Position(), 20);
  B->SetPosition(80);
  EXPECT_EQ(B->Position(), 50);
  EXPECT_EQ(Changes, 1);
  B->SetPosition(80);
  EXPECT_EQ(Changes, 1);
}

TEST_F(SkinScrollBarTest, MinAndMaxPullThePositionInSilently) {
  auto* B = AddBar(false);
  B->SetPosition(60);
  Changes = 0;
  B->SetMax(40);
  EXPECT_EQ(B->Position(), 40);
  B->SetMin(45);
  EXPECT_EQ(B->Position(), 45);
  B->SetRange(100, 120, 115, 0);
  B->SetPageSize(5);
  B->SetMax(110);
  EXPECT_EQ(B->Position(), 106);
  EXPECT_EQ(Changes, 0);
}

TEST_F(SkinScrollBarTest, APageSizeIsTakenWhenItFitsAfterThePosition) {
  auto* B = AddBar(false);
  B->SetRange(100, 199, 150, 0);
  B->SetPageSize(50);
  EXPECT_EQ(B->PageSize(), 50);
  B->SetPageSize(51);
  EXPECT_EQ(B->PageSize(), 50);
  B->SetRange(0, 99, 0, 0);
  B->SetPageSize(100);
  EXPECT_EQ(B->PageSize(), 100);
}

TEST_F(SkinScrollBarTest, AHeldArrowStepsAtThePressAfter550MsThenEvery50) {
  auto* B = AddBar(false);
  ShowForm();
  Press(B, 226, 9);  // the up button at the right end
  EXPECT_EQ(B->Position(), 1);
  Session.Advance(549);
  EXPECT_EQ(B->Position(), 1);
  Session.Advance(1);
  EXPECT_EQ(B->Position(), 2);
  Session.Advance(49);
  EXPECT_EQ(B->Position(), 2);
  Session.Advance(1);
  EXPECT_EQ(B->Position(), 3);
  Session.Advance(100);
  EXPECT_EQ(B->Position(), 5);
  // Off the button the repeat pauses; back on it, it goes on.
  MoveTo(B, 100, 9);
  Session.Advance(200);
  EXPECT_EQ(B->Position(), 5);
  MoveTo(B, 226, 9);
  Session.Advance(50);
  EXPECT_EQ(B->Position(), 6);
  Release(B, 226, 9);
  Session.Advance(500);
  EXPECT_EQ(B->Position(), 6);
  EXPECT_EQ(Changes, 6);
}

TEST_F(SkinScrollBarTest, OnDownButtonClickReplacesTheStep) {
  auto* B = AddBar(false);
  B->SetPosition(50);
  Changes = 0;
  int Clicks = 0;
  B->OnDownButtonClick = [&](TObject*) { ++Clicks; };
  ShowForm();
  Press(B, 8, 9);
  EXPECT_EQ(Clicks, 1);
  Session.Advance(650);
  EXPECT_EQ(Clicks, 4);
  Release(B, 8, 9);
  EXPECT_EQ(B->Position(), 50);
  EXPECT_EQ(Changes, 0);
}

TEST_F(SkinScrollBarTest, PagingByAHeldPressStopsWhenTheThumbPassesThePointer) {
  auto* B = AddBar(false);
  B->SetLargeChange(10);
  int PageDowns = 0;
  B->OnPageDown = [&](TObject*) { ++PageDowns; };
  ShowForm();
  // Thumb 16 pixels on a 200-pixel track: position p puts its right edge at 33 + 1.84 p.
  Press(B, 120, 9);
  EXPECT_EQ(B->Position(), 10);
  EXPECT_EQ(PageDowns, 1);
  Session.Advance(2000);
  const TRect T = B->Buttons[TspSkinScrollBar::ThumbButton].R;
  EXPECT_GE(T.Right, 120);
  EXPECT_LT(T.Left, 120);
  EXPECT_EQ(B->Position(), 50);
  EXPECT_EQ(PageDowns, 5);
  Release(B, 120, 9);
}

TEST_F(SkinScrollBarTest, DraggingTheThumbFollowsThePointerAndTellsTheLastChange) {
  auto* B = AddBar(false);
  int Last = 0;
  B->OnLastChange = [&](TObject*) { ++Last; };
  ShowForm();
  // Thumb 17..33: centre offsets 0..184 map onto 0..100.
  Press(B, 25, 9);
  MoveTo(B, 25 + 92, 9);
  EXPECT_EQ(B->Position(), 50);
  MoveTo(B, 400, 9);
  EXPECT_EQ(B->Position(), 100);
  EXPECT_EQ(Last, 0);
  Release(B, 400, 9);
  EXPECT_EQ(Last, 1);
  EXPECT_EQ(Changes, 2);
}

TEST_F(SkinScrollBarTest, ARightPressOnlyTellsOnMouseDown) {
  auto* B = AddBar(false);
  int Downs = 0;
  B->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, Integer, Integer) { ++Downs; };
  ShowForm();
  Press(B, 226, 9, vantrel::win::rbRight);
  Release(B, 226, 9, vantrel::win::rbRight);
  Session.Advance(600);
  EXPECT_EQ(Downs, 1);
  EXPECT_EQ(B->Position(), 0);
}

TEST_F(SkinScrollBarTest, KeysAndWheelNeedCanFocused) {
  auto* B = AddBar(false);
  B->SetSmallChange(5);
  B->SetPosition(50);
  ShowForm();
  B->Perform(WM_KEYDOWN, VK_RIGHT, 0);
  B->Perform(WM_MOUSEWHEEL, MAKEWPARAM(0, 120), 0);
  EXPECT_EQ(B->Position(), 50);
  B->SetCanFocused(true);
  B->SetFocus();
  Session.PumpUntilIdle();
  Session.Key(VK_RIGHT);
  Session.Key(VK_DOWN);
  Session.PumpUntilIdle();
  EXPECT_EQ(B->Position(), 60);
  Session.Key(VK_UP);
  Session.PumpUntilIdle();
  EXPECT_EQ(B->Position(), 55);
  const TPoint P = Screen(B, 100, 9);
  Session.Wheel(P.X, P.Y, 120);
  Session.PumpUntilIdle();
  EXPECT_EQ(B->Position(), 50);
  Session.Wheel(P.X, P.Y, -120);
  Session.PumpUntilIdle();
  EXPECT_EQ(B->Position(), 55);
}

TEST_F(SkinScrollBarTest, APressTakesTheFocusOnlyWhenFocusable) {
  auto* B = AddBar(false);
  auto* F = AddBar(false);
  F->SetTop(60);
  F->SetCanFocused(true);
  ShowForm();
  Press(B, 100, 9);
  Release(B, 100, 9);
  EXPECT_FALSE(B->Focused());
  Press(F, 100, 9);
  Release(F, 100, 9);
  EXPECT_TRUE(F->Focused());
  EXPECT_EQ(F->Position(), 1);
}

TEST_F(SkinScrollBarTest, ThePlainBarDrawsButtonsAndThumbAndNoThumbWhenDisabled) {
  auto* B = AddBar(false);
  B->SetPosition(50);
  ShowForm();
  const TRect T = B->Buttons[TspSkinScrollBar::ThumbButton].R;
  EXPECT_EQ(PixelAt(B, T.Left, 9), Sys(clBtnShadow));
  EXPECT_EQ(PixelAt(B, 1, 1), Sys(clBtnShadow));
  // The up button's arrow is black.
  bool Arrow = false;
  const TControlShot Shot = ShotOf(B);
  for (int X = 218; X < 232; ++X) Arrow |= Shot.At(X, 9) == sg::Rgb(0, 0, 0);
  EXPECT_TRUE(Arrow);
  MoveTo(B, 226, 9);
  EXPECT_EQ(PixelAt(B, 226, 4), sg::Rgb(182, 189, 210));
  B->SetEnabled(false);
  Session.PumpUntilIdle();
  EXPECT_EQ(PixelAt(B, T.Left, 9), Sys(clBtnFace));
}

TEST_F(SkinScrollBarTest, TheSkinnedBarShowsItsPicturesByState) {
  auto* B = AddBar(true, 200, 16);
  B->SetPosition(50);
  ShowForm();
  ASSERT_NE(B->FIndex, -1);
  const TRect T = B->Buttons[TspSkinScrollBar::ThumbButton].R;
  const TRect Up = B->Buttons[TspSkinScrollBar::UpButton].R;
  EXPECT_EQ(Up.Left, 184);
  // Normal buttons are the picture's ends.
  EXPECT_EQ(PixelAt(B, 192, 8), Piece("skinrect", sg::Piece::Ring));
  EXPECT_EQ(PixelAt(B, 8, 8), Piece("skinrect", sg::Piece::Ring));
  EXPECT_EQ(PixelAt(B, 40, 1), Piece("skinrect"));
  EXPECT_EQ(PixelAt(B, (T.Left + T.Right) / 2, 2), Piece("thumbrect"));
  MoveTo(B, 192, 8);
  EXPECT_EQ(PixelAt(B, 192, 8), Piece("activeupbuttonrect"));
  Press(B, 192, 8);
  EXPECT_EQ(PixelAt(B, 192, 8), Piece("downupbuttonrect"));
  Release(B, 192, 8);
  MoveTo(B, (T.Left + T.Right) / 2, 8);
  EXPECT_EQ(PixelAt(B, (T.Left + T.Right) / 2, 2), Piece("activethumbrect"));
  B->SetEnabled(false);
  Session.PumpUntilIdle();
  EXPECT_EQ(PixelAt(B, (T.Left + T.Right) / 2, 2), Piece("skinrect"));
}

TEST_F(SkinScrollBarTest, BothSwitchesTheSkinNameAtRunTime) {
  auto* B = AddBar(true, 200, 16);
  B->SetBoth(true);
  EXPECT_EQ(B->SkinDataName(), "bothhscrollbar");
  EXPECT_NE(B->FIndex, -1);
  B->SetBoth(false);
  EXPECT_EQ(B->SkinDataName(), "hscrollbar");
  // Unskinned, a marker at the right end stays free.
  auto* P = AddBar(false);
  P->SetBothMarkerWidth(-3);
  EXPECT_EQ(P->BothMarkerWidth(), 0);
  P->FBoth = true;
  P->SetBothMarkerWidth(20);
  P->CalcRects();
  EXPECT_EQ(P->Buttons[TspSkinScrollBar::UpButton].R.Right, 213);
}

}  // namespace
