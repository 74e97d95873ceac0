// The up-down pairs: position writes, the step on release, the repeat of a held button on
// the virtual clock, the twins' difference after dragging off a button, and the pixels of
// both looks.
#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "skin/controls/SkinCtrls.h"
#include "tests/support/SkinFormFixture.h"

namespace sg = vantrel::skingen;
using vantrel::uitest::SkinFormFixture;

namespace {

class SkinUpDownTest : public SkinFormFixture {
 protected:
  int Changes = 0, UpClicks = 0, DownClicks = 0, UpRepeats = 0, DownRepeats = 0;

  template <class T>
  T* AddPair(bool Skinned, TUDOrientation O = udHorizontal) {
    auto* U = Create<T>(Form.get());
    U->SetParent(Form.get());
    U->SetOrientation(O);
    U->SetBounds(10, 10, 40, 20);
    if (Skinned) U->SetSkinData(Skin);
    U->OnChange = [this](TObject*) { ++Changes; };
    U->OnUpButtonClick = [this](TObject*) { ++UpClicks; };
    U->OnDownButtonClick = [this](TObject*) { ++DownClicks; };
    return U;
  }
  TspSkinIntUpDown* AddInt(bool Skinned, TUDOrientation O = udHorizontal) {
    auto* U = AddPair<TspSkinIntUpDown>(Skinned, O);
    U->FOnUpChange = [this](TObject*) { ++UpRepeats; };
    U->FOnDownChange = [this](TObject*) { ++DownRepeats; };
    return U;
  }
  TPoint Screen(TControl* C, int X, int Y) { return C->ClientToScreen(Point(X, Y)); }
  void MoveTo(TControl* C, int X, int Y) {
    const TPoint P = Screen(C, X, Y);
    Session.Move(P.X, P.Y);
    Session.PumpUntilIdle();
  }
  void Press(TControl* C, int X, int Y) {
    MoveTo(C, X, Y);
    const TPoint P = Screen(C, X, Y);
    Session.Press(P.X, P.Y);
    Session.PumpUntilIdle();
  }
  void Release(TControl* C, int X, int Y) {
    const TPoint P = Screen(C, X, Y);
    Session.Release(P.X, P.Y);
    Session.PumpUntilIdle();
  }
  // The colours inside R of Control.
  std::set<sg::Colour> ColoursIn(TControl* C, const TRect& R) {
    std::set<sg::Colour> Seen;
    const vantrel::win::Surface S = Session.CaptureScreen();
    for (int Y = R.Top; Y < R.Bottom; ++Y)
      for (int X = R.Left; X < R.Right; ++X) {
        const TPoint P = C->ClientToScreen(Point(X, Y));
        Seen.insert(static_cast<sg::Colour>(SurfacePixel(S, P.X, P.Y)));
      }
    return Seen;
  }
  // Black pixels in the first and in the last column of R that hold any: an arrow is
  // widest at its back.
  std::pair<int, int> BlackEnds(TControl* C, const TRect& R) {
    const vantrel::win::Surface S = Session.CaptureScreen();
    std::vector<int> Columns;
    for (int X = R.Left; X < R.Right; ++X) {
      int N = 0;
      for (int Y = R.Top; Y < R.Bottom; ++Y) {
        const TPoint P = C->ClientToScreen(Point(X, Y));
        N += SurfacePixel(S, P.X, P.Y) == 0;
      }
      if (N) Columns.push_back(N);
    }
    if (Columns.empty()) return {0, 0};
    return {Columns.front(), Columns.back()};
  }
  static sg::Colour Sys(TColor C) { return static_cast<sg::Colour>(ColorToRGB(C)); }
};

TEST_F(SkinUpDownTest, AStepPastMaxIsRefusedButTheClickIsTold) {
  auto* U = AddInt(false);
  U->SetIncrement(3);
  U->SetPosition(99);
  Changes = 0;
  ShowForm();
  Press(U, 30, 10);  // button 0: the right half
  Release(U, 30, 10);
  EXPECT_EQ(U->Position(), 99);
  EXPECT_EQ(UpClicks, 1);
  EXPECT_EQ(Changes, 0);
  Press(U, 10, 10);
  Release(U, 10, 10);
  EXPECT_EQ(U->Position(), 96);
  EXPECT_EQ(DownClicks, 1);
  EXPECT_EQ(Changes, 1);
}

TEST_F(SkinUpDownTest, PositionWritesOutsideTheRangeAreIgnoredAndBoundsPullSilently) {
  auto* U = AddInt(false);
  U->SetPosition(10);
  U->SetPosition(10);
  EXPECT_EQ(Changes, 2);
  U->SetPosition(101);
  U->SetPosition(-1);
  EXPECT_EQ(U->Position(), 10);
  EXPECT_EQ(Changes, 2);
  U->SetMin(50);
  EXPECT_EQ(U->Position(), 50);
  U->SetMax(40);
  EXPECT_EQ(U->Position(), 40);
  EXPECT_EQ(Changes, 2);
}

TEST_F(SkinUpDownTest, AHeldButtonRepeatsFrom600MsEvery100) {
  auto* U = AddInt(false);
  U->SetPosition(10);
  Changes = 0;
  ShowForm();
  Press(U, 10, 10);  // button 1: the left half
  EXPECT_EQ(U->Position(), 10);
  Session.Advance(500);
  EXPECT_EQ(U->Position(), 10);
  Session.Advance(99);
  EXPECT_EQ(U->Position(), 10);
  Session.Advance(1);
  EXPECT_EQ(U->Position(), 9);
  EXPECT_EQ(DownRepeats, 1);
  Session.Advance(300);
  EXPECT_EQ(U->Position(), 6);
  EXPECT_EQ(DownRepeats, 4);
  EXPECT_EQ(Changes, 4);
  // The release over the button steps once more and tells the click.
  Release(U, 10, 10);
  EXPECT_EQ(U->Position(), 5);
  EXPECT_EQ(DownClicks, 1);
  Session.Advance(500);
  EXPECT_EQ(U->Position(), 5);
  EXPECT_EQ(UpRepeats, 0);
}

TEST_F(SkinUpDownTest, RepeatsAtTheMinimumStillTellTheChange) {
  auto* U = AddInt(false);
  U->SetPosition(1);
  ShowForm();
  Press(U, 10, 10);
  Session.Advance(800);
  EXPECT_EQ(U->Position(), 0);
  EXPECT_EQ(DownRepeats, 3);
  Release(U, 10, 10);
}

TEST_F(SkinUpDownTest, LeavingAHeldButtonPausesTheRepeat) {
  auto* U = AddInt(false);
  U->SetPosition(10);
  ShowForm();
  Press(U, 30, 10);
  MoveTo(U, 100, 100);
  Session.Advance(1000);
  EXPECT_EQ(U->Position(), 10);
  MoveTo(U, 30, 10);
  Session.Advance(50);  // ends the wait
  Session.Advance(100);
  EXPECT_EQ(U->Position(), 11);
  Release(U, 30, 10);
}

TEST_F(SkinUpDownTest, AfterDraggingOffOnlyTheUpDownSteps) {
  auto* I = AddInt(false);
  I->SetPosition(10);
  auto* U = AddPair<TspSkinUpDown>(false);
  U->SetTop(50);
  U->SetPosition(10);
  Changes = 0;
  ShowForm();
  Press(I, 30, 10);
  MoveTo(I, 30, 200);
  Release(I, 30, 200);
  EXPECT_EQ(I->Position(), 10);
  EXPECT_EQ(UpClicks, 0);
  Press(U, 30, 10);
  MoveTo(U, 30, 200);
  Release(U, 30, 200);
  EXPECT_EQ(U->Position(), 11);
  EXPECT_EQ(UpClicks, 1);
  EXPECT_EQ(Changes, 1);
}

TEST_F(SkinUpDownTest, AnIncrementOfZeroStepsNothingButTellsTheClick) {
  auto* U = AddInt(false);
  U->SetIncrement(0);
  U->SetPosition(10);
  Changes = 0;
  ShowForm();
  Press(U, 30, 10);
  Session.Advance(1000);
  Release(U, 30, 10);
  EXPECT_EQ(U->Position(), 10);
  EXPECT_EQ(Changes, 0);
  EXPECT_EQ(UpRepeats, 0);
  EXPECT_EQ(UpClicks, 1);
}

TEST_F(SkinUpDownTest, OrientationPlacesButtonZeroAndItsArrow) {
  auto* H = AddInt(false, udHorizontal);
  auto* V = AddInt(false, udVertical);
  V->SetBounds(10, 50, 20, 40);
  ShowForm();
  EXPECT_EQ(H->Buttons[0].R.Left, 20);
  EXPECT_EQ(H->Buttons[1].R.Right, 20);
  EXPECT_EQ(V->Buttons[0].R.Bottom, 20);
  EXPECT_EQ(V->Buttons[1].R.Top, 20);
  // A right arrow is wide on its left; a left arrow on its right.
  auto [RL, RR] = BlackEnds(H, H->Buttons[0].R);
  EXPECT_GT(RL, RR);
  auto [LL, LR] = BlackEnds(H, H->Buttons[1].R);
  EXPECT_LT(LL, LR);
  EXPECT_EQ(PixelAt(H, 20, 0), Sys(clBtnShadow));
  MoveTo(H, 30, 10);
  EXPECT_EQ(PixelAt(H, 22, 2), sg::Rgb(182, 189, 210));
  // Up in the upper half of the vertical pair: more black in its lower rows.
  const TRect Up = V->Buttons[0].R;
  int Top = 0, Bottom = 0;
  const vantrel::win::Surface S = Session.CaptureScreen();
  for (int Y = Up.Top; Y < Up.Bottom; ++Y)
    for (int X = Up.Left; X < Up.Right; ++X) {
      const TPoint P = V->ClientToScreen(Point(X, Y));
      if (SurfacePixel(S, P.X, P.Y) == 0) (Y < (Up.Top + Up.Bottom) / 2 ? Top : Bottom)++;
    }
  EXPECT_LT(Top, Bottom);
}

TEST_F(SkinUpDownTest, SkinnedButtonsComeFromTheComboButton) {
  auto* U = AddInt(true);
  ShowForm();
  ASSERT_NE(U->FIndex, -1);
  auto Fill = [](const char* Key) { return sg::TestPieceColour(false, "combobutton", Key, sg::Piece::Fill); };
  EXPECT_EQ(PixelAt(U, 30, 5), Fill("skinrect"));
  EXPECT_TRUE(ColoursIn(U, U->Buttons[0].R).count(sg::TestFontColour(false, "combobutton", "fontcolor")));
  MoveTo(U, 30, 10);
  EXPECT_EQ(PixelAt(U, 30, 5), Fill("activeskinrect"));
  EXPECT_EQ(PixelAt(U, 10, 5), Fill("skinrect"));
  Press(U, 30, 10);
  EXPECT_EQ(PixelAt(U, 30, 5), Fill("downskinrect"));
  EXPECT_TRUE(ColoursIn(U, U->Buttons[0].R).count(sg::TestFontColour(false, "combobutton", "downfontcolor")));
  Release(U, 30, 10);
}

TEST_F(SkinUpDownTest, WithoutTheButtonPicturesTheButtonsAreBlank) {
  for (const char* Name : {"combobutton", "resizetoolbutton"})
    Skin->CtrlList.Items(Skin->GetControlIndex(Name))->IDName = String("gone") + Name;
  auto* U = AddInt(true);
  ShowForm();
  ASSERT_NE(U->FIndex, -1);
  EXPECT_EQ(ColoursIn(U, U->Buttons[0].R).size(), 1u);
  EXPECT_EQ(ColoursIn(U, U->Buttons[1].R).size(), 1u);
  EXPECT_EQ(ColoursIn(U, U->Buttons[0].R), ColoursIn(U, U->Buttons[1].R));
}

TEST_F(SkinUpDownTest, TheUpDownWithoutSkinSizeUsesTheResizeButton) {
  auto* U = AddPair<TspSkinUpDown>(false, udVertical);
  U->UseSkinSize = false;
  U->SetSkinData(Skin);
  U->SetBounds(10, 10, 20, 40);
  ShowForm();
  EXPECT_EQ(U->Width(), 20);
  EXPECT_EQ(U->Height(), 40);
  EXPECT_EQ(PixelAt(U, 5, 5), sg::TestPieceColour(false, "resizebutton", "skinrect", sg::Piece::Fill));
  EXPECT_EQ(PixelAt(U, 10, 10), sg::TestFontColour(false, "resizebutton", "fontcolor"));
}

}  // namespace
