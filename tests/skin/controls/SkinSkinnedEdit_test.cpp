// The skinned edit: the plain frame and text area, the skin's height, frame and colours,
// the edit button and the image buttons in the frame, and the frame-paint requests.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/win/Gdi.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/SysColors.h"
#include "platform/win/WindowDc.h"
#include "platform/win/WindowManager.h"
#include "skin/controls/SkinBoxCtrls.h"
#include "tests/support/SkinFormFixture.h"

namespace sg = vantrel::skingen;
using vantrel::uitest::SkinFormFixture;

namespace {

TCustomImageList* EditImageList(TComponent* Owner, std::vector<TColor> Colours) {
  auto* L = Create<TCustomImageList>(Owner);
  L->SetWidth(12);
  L->SetHeight(12);
  auto B = CreateOwned<TBitmap>();
  B->SetSize(12 * static_cast<int>(Colours.size()), 12);
  for (size_t I = 0; I < Colours.size(); ++I) {
    B->Canvas()->Brush()->SetColor(Colours[I]);
    B->Canvas()->FillRect(Rect(12 * static_cast<int>(I), 0, 12 * static_cast<int>(I) + 12, 12));
  }
  L->Add(B.get(), nullptr);
  return L;
}

class SkinSkinnedEditTest : public SkinFormFixture {
 protected:
  std::vector<std::string> Log;

  TspSkinEdit* AddSkinEdit(bool Skinned, bool ButtonMode = false) {
    auto* E = Create<TspSkinEdit>(Form.get());
    if (ButtonMode) {
      E->SetSkinDataName("buttonedit");
      E->SetButtonMode(true);
    }
    E->SetParent(Form.get());
    E->SetBounds(20, 20, 160, 20);
    if (Skinned) E->SetSkinData(Skin);
    E->OnButtonClick = [this](TObject*) { Log.push_back("button"); };
    return E;
  }
  // A pixel of the edit's window (frame included) as the screen shows it.
  sg::Colour WindowPixel(TWinControl* C, int X, int Y) {
    RECT R{};
    GetWindowRect(C->Handle(), &R);
    const vantrel::win::Surface S = Session.CaptureScreen();
    return static_cast<sg::Colour>(SurfacePixel(S, R.Left + X, R.Top + Y));
  }
  TPoint WindowScreen(TWinControl* C, int X, int Y) {
    RECT R{};
    GetWindowRect(C->Handle(), &R);
    return Point(R.Left + X, R.Top + Y);
  }
  static sg::Colour Sys(int Index) { return static_cast<sg::Colour>(GetSysColor(Index)); }
};

TEST_F(SkinSkinnedEditTest, ThePlainEditHasATwoLineFrameAndAButtonSquare) {
  auto* E = AddSkinEdit(false);
  auto* B = AddSkinEdit(false, true);
  B->SetTop(60);
  ShowForm();
  ASSERT_EQ(E->Height(), 20);
  EXPECT_EQ(E->EditRect(), Rect(2, 2, E->Width() - 2, 18));
  EXPECT_EQ(E->ClientWidth(), E->Width() - 4);
  EXPECT_EQ(E->ClientHeight(), 16);
  for (const TPoint P : {Point(0, 10), Point(80, 0), Point(159, 10), Point(80, 19)}) {
    SCOPED_TRACE(std::to_string(P.X) + "," + std::to_string(P.Y));
    EXPECT_EQ(WindowPixel(E, P.X, P.Y), Sys(COLOR_BTNSHADOW));
  }
  for (const TPoint P : {Point(1, 10), Point(80, 1), Point(158, 10), Point(80, 18)}) {
    SCOPED_TRACE(std::to_string(P.X) + "," + std::to_string(P.Y));
    EXPECT_EQ(WindowPixel(E, P.X, P.Y), Sys(COLOR_BTNFACE));
  }
  EXPECT_EQ(WindowPixel(E, 150, 10), Sys(COLOR_WINDOW));  // the text area, right of the text
  EXPECT_EQ(B->EditButtonRect(), Rect(140, 0, 160, 20));
  EXPECT_EQ(B->EditRect(), Rect(2, 2, 138, 18));
  EXPECT_EQ(B->ClientWidth(), 160 - 20 - 4);
  EXPECT_EQ(WindowPixel(B, 150, 10), Sys(COLOR_BTNFACE));
  EXPECT_EQ(WindowPixel(B, 140, 10), Sys(COLOR_BTNSHADOW));
}

TEST_F(SkinSkinnedEditTest, TheSkinSetsHeightFrameAndColours) {
  auto* E = AddSkinEdit(true);
  ShowForm();
  EXPECT_EQ(E->Height(), sg::MainSizes.EditHeight);
  E->SetBounds(20, 20, 160, 40);
  EXPECT_EQ(E->Height(), sg::MainSizes.EditHeight);
  E->SetBounds(30, 25, 160, 40);  // a size change asks again; a move keeps it
  EXPECT_EQ(E->Height(), sg::MainSizes.EditHeight);
  EXPECT_EQ(E->Left(), 30);
  Session.PumpUntilIdle();
  const int Mid = E->Height() / 2;
  EXPECT_EQ(WindowPixel(E, 0, Mid), sg::TestPieceColour(false, "edit", "skinrect", sg::Piece::Ring));
  EXPECT_EQ(WindowPixel(E, E->Width() - 8, Mid), sg::TestPieceColour(false, "edit", "skinrect", sg::Piece::Fill));
  EXPECT_EQ(E->Font()->Color(), static_cast<TColor>(sg::TestFontColour(false, "edit", "fontcolor")));
  const TPoint P = E->ClientToScreen(Point(E->ClientWidth() - 8, 3));
  Session.Move(P.X, P.Y);
  Session.PumpUntilIdle();
  EXPECT_TRUE(E->MouseIn());
  EXPECT_EQ(WindowPixel(E, 0, Mid), sg::TestPieceColour(false, "edit", "activeskinrect", sg::Piece::Ring));
  EXPECT_EQ(WindowPixel(E, E->Width() - 8, Mid), sg::TestPieceColour(false, "edit", "activeskinrect", sg::Piece::Fill));
  EXPECT_EQ(E->Font()->Color(), static_cast<TColor>(sg::TestFontColour(false, "edit", "activefontcolor")));
  // The native text lies over the skin's client picture.
  E->SetText("MMMMMMMM");
  Session.Move(5, 5);
  Session.PumpUntilIdle();
  const sg::Colour Fill = sg::TestPieceColour(false, "edit", "skinrect", sg::Piece::Fill);
  int Inked = 0;
  const vantrel::win::Surface S = Session.CaptureScreen();
  for (int X = 0; X < 40; ++X)
    for (int Y = 0; Y < E->ClientHeight(); ++Y) {
      const TPoint Q = E->ClientToScreen(Point(X, Y));
      Inked += static_cast<sg::Colour>(SurfacePixel(S, Q.X, Q.Y)) != Fill;
    }
  EXPECT_GT(Inked, 20);
  EXPECT_EQ(WindowPixel(E, E->Width() - 8, Mid), Fill);
}

TEST_F(SkinSkinnedEditTest, TheEditButtonClicksOnlyOnARelease) {
  auto* E = AddSkinEdit(false, true);
  ShowForm();
  const TPoint Button = WindowScreen(E, 150, 10);
  EXPECT_EQ(SendMessage(E->Handle(), WM_NCHITTEST, 0, MAKELPARAM(Button.X, Button.Y)),
            TspSkinCustomEdit::HitEditButton);
  const TPoint Text = E->ClientToScreen(Point(10, 8));
  EXPECT_EQ(SendMessage(E->Handle(), WM_NCHITTEST, 0, MAKELPARAM(Text.X, Text.Y)), HTCLIENT);
  Session.Move(Button.X, Button.Y);
  Session.Press(Button.X, Button.Y);
  Session.PumpUntilIdle();
  Session.Move(5, 300);
  Session.Release(5, 300);
  Session.PumpUntilIdle();
  EXPECT_TRUE(Log.empty());
  // A release over the button clicks, also without a press on it first.
  SendMessage(E->Handle(), WM_NCLBUTTONUP, TspSkinCustomEdit::HitEditButton, MAKELPARAM(Button.X, Button.Y));
  EXPECT_EQ(Log, std::vector<std::string>{"button"});
  EXPECT_TRUE(E->Focused());
}

TEST_F(SkinSkinnedEditTest, AnImageButtonClicksWithoutMovingTheCaret) {
  auto* E = AddSkinEdit(false);
  E->SetImages(EditImageList(Form.get(), {clRed, clLime}));
  E->SetLeftImageIndex(0);
  E->LeftImageHotIndex = 1;
  E->OnLeftButtonClick = [this](TObject*) { Log.push_back("left"); };
  ShowForm();
  E->SetText("abcdef");
  E->SetFocus();
  E->SetSelStart(3);
  E->SetSelLength(0);
  Session.PumpUntilIdle();
  EXPECT_EQ(E->LeftButton.R, Rect(0, 0, 12, E->ClientHeight()));
  EXPECT_EQ(PixelAt(E, 5, E->ClientHeight() / 2), sg::Colour(0x0000FF));
  const TPoint P = E->ClientToScreen(Point(5, 8));
  Session.Move(P.X, P.Y);
  Session.PumpUntilIdle();
  EXPECT_EQ(PixelAt(E, 5, E->ClientHeight() / 2), sg::Colour(0x00FF00));  // the hot picture
  Session.Press(P.X, P.Y);
  Session.Release(P.X, P.Y);
  Session.PumpUntilIdle();
  EXPECT_EQ(Log, std::vector<std::string>{"left"});
  EXPECT_EQ(E->SelStart(), 3);
  // The list going away takes the buttons with it.
  delete E->Images();
  EXPECT_EQ(E->Images(), nullptr);
  E->Invalidate();
  Session.PumpUntilIdle();
}

TEST_F(SkinSkinnedEditTest, FramePaintRequestsAnswerWithTheirCodes) {
  auto* E = AddSkinEdit(true);
  ShowForm();
  EXPECT_EQ(SendMessage(E->Handle(), CM_SKIN_PAINT_FRAME, 0, 0), 0);
  auto B = CreateOwned<TBitmap>();
  B->SetSize(E->Width(), E->Height());
  B->Canvas()->Brush()->SetColor(clWhite);
  B->Canvas()->FillRect(Rect(0, 0, E->Width(), E->Height()));
  const auto DC = reinterpret_cast<WPARAM>(B->Canvas()->Handle());
  EXPECT_EQ(SendMessage(E->Handle(), CM_SKIN_PAINT_FRAME, DC, 0), SKIN_ANSWER_FRAME_PAINTED);
  EXPECT_EQ(static_cast<sg::Colour>(B->Canvas()->Pixels(0, E->Height() / 2)),
            sg::TestPieceColour(false, "edit", "skinrect", sg::Piece::Ring));
  EXPECT_EQ(SendMessage(E->Handle(), CN_SKIN_PAINT_FRAME, 0, SKIN_PAINT_KEY), SKIN_PAINT_KEY);
  EXPECT_EQ(SendMessage(E->Handle(), CN_SKIN_PAINT_FRAME, DC, SKIN_PAINT_KEY), SKIN_PAINT_KEY);
  EXPECT_EQ(SendMessage(E->Handle(), CN_SKIN_PAINT_FRAME, DC, 0), 0);
}

}  // namespace

namespace {

TEST_F(SkinSkinnedEditTest, ADisabledEditDrawsItsTextInTheDisabledColour) {
  for (bool Skinned : {false, true}) {
    SCOPED_TRACE(Skinned ? "skinned" : "plain");
    auto* E = AddSkinEdit(Skinned);
    ShowForm();
    E->SetText("MMMM llll");
    const sg::Colour Grey = Skinned ? sg::TestFontColour(false, "edit", "disabledfontcolor")
                                    : static_cast<sg::Colour>(GetSysColor(COLOR_GRAYTEXT));
    E->SetEnabled(false);
    Session.PumpUntilIdle();
    EXPECT_EQ(E->Font()->Color(), Skinned ? static_cast<TColor>(Grey) : clGrayText);
    int N = 0;
    const vantrel::win::Surface S = Session.CaptureScreen();
    for (int Y = 0; Y < E->ClientHeight(); ++Y)
      for (int X = 0; X < E->ClientWidth(); ++X) {
        const TPoint P = E->ClientToScreen(Point(X, Y));
        N += static_cast<sg::Colour>(SurfacePixel(S, P.X, P.Y)) == Grey;
      }
    EXPECT_GT(N, 10);
    delete E;
  }
}

}  // namespace
