// The skinned panel family: roll-up, checked mode, the plain caption band, the status
// bar's grip and the paint panel's event.
#include <gtest/gtest.h>

#include "platform/win/MessageQueue.h"
#include "platform/win/WndProc.h"
#include "skin/controls/SkinCtrls.h"
#include "tests/support/SkinFormFixture.h"
#include "tests/support/UiTestControls.h"

namespace sg = vantrel::skingen;
using vantrel::uitest::SkinFormFixture;

namespace {

class SkinPanelTest : public SkinFormFixture {
 protected:
  template <class T = TspSkinPanel>
  T* AddPanel(bool Skinned, TRect R = Bounds(20, 20, 200, 160)) {
    auto* P = Create<T>(Form.get());
    P->SetParent(Form.get());
    if (Skinned) P->SetSkinData(Skin);
    P->SetBoundsRect(R);
    return P;
  }
  static sg::Colour Sys(TColor C) { return static_cast<sg::Colour>(ColorToRGB(C)); }
};

TEST_F(SkinPanelTest, RollingUpLeavesTheFrameAndRollsDownToTheStoredHeight) {
  auto* P = AddPanel(true);
  P->SetCaptionMode(true);
  P->SetRollUpMode(true);
  auto* Child = Create<TspSkinPanel>(Form.get());
  Child->SetParent(P);
  ShowForm();
  P->SetRollUpState(true);
  EXPECT_EQ(P->Height(), 2 * sg::MainSizes.Corner);
  EXPECT_EQ(P->RealHeight(), 160);
  EXPECT_FALSE(Child->Visible());
  P->DoRollUp(true);  // already up: nothing changes
  EXPECT_EQ(P->Height(), 2 * sg::MainSizes.Corner);
  P->SetRollUpState(false);
  EXPECT_EQ(P->Height(), 160);
  EXPECT_EQ(P->RealHeight(), -1);
  EXPECT_TRUE(Child->Visible());
}

TEST_F(SkinPanelTest, ASkinChangeWhileRolledUpCollapsesToTheNewFrame) {
  auto* P = AddPanel(true);
  P->SetRollUpMode(true);
  P->SetRollUpState(true);
  P->BeforeChangeSkinData();
  LoadSkin(sg::TestSkinAltFolder);
  P->ChangeSkinData();
  EXPECT_EQ(P->Height(), 2 * sg::AltSizes.Corner);
  P->SetRollUpState(false);
  EXPECT_EQ(P->Height(), 160);
}

TEST_F(SkinPanelTest, UncheckingWithAutoEnabledControlsDisablesEveryChild) {
  auto* P = AddPanel(true);
  P->SetCaptionMode(true);
  P->SetCheckedMode(true);
  P->SetChecked(true);
  auto* Inner = Create<TspSkinPanel>(Form.get());
  Inner->SetParent(P);
  auto* Shape = Create<vantrel::uitest::TTestShape>(Form.get());
  Shape->SetParent(P);
  int Events = 0;
  P->OnChecked = [&](TObject*) { ++Events; };
  P->SetChecked(false);
  EXPECT_FALSE(Inner->Enabled());
  EXPECT_FALSE(Shape->Enabled());
  EXPECT_EQ(Events, 1);
  P->SetAutoEnabledControls(false);
  P->SetChecked(true);
  EXPECT_FALSE(Inner->Enabled());
}

TEST_F(SkinPanelTest, ThePlainCaptionBandCarriesTheBoxAndTheArrow) {
  auto* P = AddPanel(false);
  P->SetCaptionMode(true);
  P->SetCheckedMode(true);
  P->SetChecked(true);
  P->SetRollUpMode(true);
  ShowForm();
  // Outer frame, then the band's two frames from (1, 1) to (Width - 1, 22).
  EXPECT_EQ(PixelAt(P, 0, 0), Sys(clBtnShadow));
  EXPECT_EQ(PixelAt(P, 1, 5), Sys(clBtnShadow));
  EXPECT_EQ(PixelAt(P, 2, 5), Sys(clBtnHighlight));
  EXPECT_EQ(PixelAt(P, 198, 5), Sys(clBtnHighlight));
  // The box: 14 x 14 at (5, 11 - 7) inside the band (3, 3)-(197, 19).
  EXPECT_EQ(PixelAt(P, 5, 4), Sys(clBtnShadow));
  EXPECT_EQ(PixelAt(P, 18, 17), Sys(clBtnShadow));
  // The arrow: a 10-pixel box at the right end of the band holds clBtnText.
  bool ArrowSeen = false;
  const TControlShot Shot = ShotOf(P);
  for (int X = 187; X < 197; ++X)
    for (int Y = 3; Y < 19; ++Y) ArrowSeen |= Shot.At(X, Y) == Sys(clBtnText);
  EXPECT_TRUE(ArrowSeen);
  // Rolled up unskinned: the band and one pixel.
  P->SetRollUpState(true);
  EXPECT_EQ(P->Height(), 23);
}

TEST_F(SkinPanelTest, TheStatusBarGripAnswersTheHitTest) {
  auto* Bar = AddPanel<TspSkinStatusBar>(true);
  Bar->SetSizeGrip(true);
  ShowForm();
  const TRect G = Bar->GripRect();
  auto HitAt = [&](int X, int Y) {
    const TPoint S = Bar->ClientToScreen(Point(X, Y));
    return SendMessage(Bar->Handle(), WM_NCHITTEST, 0, MAKELPARAM(S.X, S.Y));
  };
  EXPECT_EQ(HitAt(G.Left, G.Top), HTBOTTOMRIGHT);
  EXPECT_EQ(HitAt(G.Right, G.Bottom), HTBOTTOMRIGHT);
  EXPECT_EQ(HitAt(G.Left - 1, G.Top), HTCLIENT);
  EXPECT_EQ(HitAt(2, 2), HTCLIENT);
  Bar->SetShowGrip(false);
  EXPECT_NE(HitAt(G.Left, G.Top), HTBOTTOMRIGHT);
}

TEST_F(SkinPanelTest, DraggingTheGripSizesTheForm) {
  auto* Bar = AddPanel<TspSkinStatusBar>(true);
  Bar->SetSizeGrip(true);
  ShowForm();
  const int BarW = Bar->Width();
  const TRect G = Bar->GripRect();
  const TPoint P = Bar->ClientToScreen(Point((G.Left + G.Right) / 2, (G.Top + G.Bottom) / 2));
  Session.Press(P.X, P.Y);
  Session.Move(P.X + 30, P.Y + 20);
  Session.Release(P.X + 30, P.Y + 20);
  Session.PumpUntilIdle();
  EXPECT_EQ(Form->Width(), 430);
  EXPECT_EQ(Form->Height(), 420);
  EXPECT_EQ(Bar->Width(), BarW + 30);  // aligned to the bottom of the grown form
}

TEST_F(SkinPanelTest, APaintPanelsEventGetsTheSkinClientRectangle) {
  auto* P = AddPanel<TspSkinPaintPanel>(true);
  TRect Seen = Rect(-1, -1, -1, -1);
  P->OnPanelPaint = [&](TCanvas* C, TRect R) {
    Seen = R;
    C->Brush()->SetColor(clLime);
    C->FillRect(R);
  };
  ShowForm();
  const int C = sg::MainSizes.Corner;
  EXPECT_EQ(Seen.Left, C);
  EXPECT_EQ(Seen.Top, C);
  EXPECT_EQ(Seen.Right, 200 - C);
  EXPECT_EQ(Seen.Bottom, 160 - C);
  EXPECT_EQ(PixelAt(P, 100, 80), sg::Rgb(0, 255, 0));
  EXPECT_EQ(PixelAt(P, 1, 1), sg::TestPieceColour(false, "panel", "skinrect", sg::Piece::Ring));
}

TEST_F(SkinPanelTest, ABlendedFramedPanelComposesItsFrame) {
  auto* P = AddPanel(true);
  P->SetAlphaBlend(true);
  P->SetAlphaBlendValue(255);
  ShowForm();
  EXPECT_EQ(PixelAt(P, 1, 1), sg::TestPieceColour(false, "panel", "skinrect", sg::Piece::Ring));
  EXPECT_EQ(PixelAt(P, 100, 80), sg::TestPieceColour(false, "panel", "skinrect", sg::Piece::Fill));
}

}  // namespace
