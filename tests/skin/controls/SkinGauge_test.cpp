// The skinned gauge: the filled part and its percentage, the plain look, a vertical skin,
// the paint event and the looping progress animation on the virtual clock.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "skin/controls/SkinCtrls.h"
#include "tests/support/SkinFormFixture.h"

namespace sg = vantrel::skingen;
using vantrel::uitest::SkinFormFixture;

namespace {

sg::Colour GaugeColourOf(TColor C) { return static_cast<sg::Colour>(ColorToRGB(C)); }
constexpr sg::Colour PlainFill = sg::Rgb(182, 189, 210);

class SkinGaugeTest : public SkinFormFixture {
 protected:
  TspSkinGauge* AddGauge(bool Skinned, TRect R = Bounds(20, 20, 102, 20)) {
    auto* G = Create<TspSkinGauge>(Form.get());
    G->SetParent(Form.get());
    if (Skinned) G->SetSkinData(Skin);
    G->SetBoundsRect(R);
    return G;
  }
  // The gauge's text drawn on white, and the expected text drawn the same way by hand.
  static bool SameText(TspSkinGauge* G, const String& Expected) {
    auto Got = CreateOwned<TBitmap>();
    auto Want = CreateOwned<TBitmap>();
    for (TBitmap* B : {Got.get(), Want.get()}) {
      B->SetPixelFormat(pf24bit);
      B->SetSize(G->Width(), G->Height());
      B->Canvas()->Brush()->SetColor(clWhite);
      B->Canvas()->FillRect(Rect(0, 0, G->Width(), G->Height()));
    }
    G->DrawGaugeText(Got->Canvas());
    TCanvas* C = Want->Canvas();
    C->Font()->Assign(G->DefaultFont());
    C->Brush()->SetStyle(bsClear);
    C->TextOut(G->Width() / 2 - C->TextWidth(Expected) / 2, G->Height() / 2 - C->TextHeight(Expected) / 2, Expected);
    bool Inked = false;
    for (int Y = 0; Y < G->Height(); ++Y)
      for (int X = 0; X < G->Width(); ++X) {
        if (Got->Canvas()->Pixels(X, Y) != Want->Canvas()->Pixels(X, Y)) return false;
        Inked |= Got->Canvas()->Pixels(X, Y) != clWhite;
      }
    return Inked;
  }
};

TEST_F(SkinGaugeTest, TwoOfThreeFillsSixtySixPixelsAndShowsSixtySixPercent) {
  auto* G = AddGauge(false);
  G->SetMaxValue(3);
  G->SetValue(2);
  G->SetShowPercent(true);
  EXPECT_EQ(G->CalcProgressRect(Rect(0, 0, 100, 20), false), Rect(0, 0, 66, 20));
  EXPECT_EQ(G->CalcProgressRect(Rect(0, 0, 20, 100), true), Rect(0, 34, 20, 100));
  ShowForm();
  // The plain area is (1, 1)-(101, 19): 66 pixels filled from x = 1.
  EXPECT_EQ(PixelAt(G, 1, 3), PlainFill);
  EXPECT_EQ(PixelAt(G, 66, 3), PlainFill);
  EXPECT_EQ(PixelAt(G, 67, 3), GaugeColourOf(clWindow));
  EXPECT_EQ(PixelAt(G, 0, 3), GaugeColourOf(clBtnShadow));
  EXPECT_TRUE(SameText(G, "66%"));
  G->SetProgressText("Converting ");
  G->SetShowProgressText(true);
  EXPECT_TRUE(SameText(G, "Converting 66%"));
}

TEST_F(SkinGaugeTest, PercentagesAreTruncatedExactly) {
  auto* G = AddGauge(false);
  G->SetShowPercent(true);
  struct Case {
    int Min, Max, Value;
    const char* Text;
  } Cases[] = {{0, 100, 29, "29%"}, {0, 100, 57, "57%"}, {0, 3, 2, "66%"}, {10, 20, 10, "0%"},
               {5, 5, 5, "0%"},     {-50, 50, 0, "50%"}, {0, 7, 7, "100%"}};
  for (const Case& K : Cases) {
    SCOPED_TRACE(K.Text);
    G->SetMinValue(K.Min);
    G->SetMaxValue(K.Max);
    G->SetValue(K.Value);
    EXPECT_TRUE(SameText(G, K.Text));
  }
}

TEST_F(SkinGaugeTest, TheValueStaysInTheRange) {
  auto* G = AddGauge(false);
  G->SetValue(150);
  EXPECT_EQ(G->Value(), 100);
  G->SetValue(-4);
  EXPECT_EQ(G->Value(), 0);
  G->SetValue(70);
  G->SetMaxValue(40);
  EXPECT_EQ(G->Value(), 40);
  G->SetMinValue(45);
  EXPECT_EQ(G->Value(), 45);
}

TEST_F(SkinGaugeTest, AValueAtTheMinimumFillsNothing) {
  for (bool Skinned : {false, true}) {
    SCOPED_TRACE(Skinned ? "skinned" : "plain");
    auto* G = AddGauge(Skinned, Bounds(20, 20, 160, 16));
    G->SetValue(0);
    ShowForm();
    const sg::Colour Empty =
        Skinned ? sg::TestPieceColour(false, "gauge", "skinrect", sg::Piece::Fill) : GaugeColourOf(clWindow);
    const TControlShot Shot = ShotOf(G);
    for (int X = 5; X < 155; X += 10) EXPECT_EQ(Shot.At(X, 8), Empty);
    G->Free();
  }
}

TEST_F(SkinGaugeTest, ASkinnedGaugeFillsItsProgressAreaFromTheLeft) {
  auto* G = AddGauge(true, Bounds(20, 20, 160, 16));
  G->SetValue(50);
  ShowForm();
  // Area (2, 2)-(158, 14): 78 pixels, caps of 4 in the ring colour, the middle stretched.
  const sg::Colour Fill = sg::TestPieceColour(false, "gauge", "progressrect", sg::Piece::Fill);
  const sg::Colour Ring = sg::TestPieceColour(false, "gauge", "progressrect", sg::Piece::Ring);
  EXPECT_EQ(PixelAt(G, 3, 8), Ring);
  EXPECT_EQ(PixelAt(G, 40, 8), Fill);
  EXPECT_EQ(PixelAt(G, 79, 8), Ring);
  EXPECT_EQ(PixelAt(G, 81, 8), sg::TestPieceColour(false, "gauge", "skinrect", sg::Piece::Fill));
}

TEST_F(SkinGaugeTest, AVerticalSkinnedGaugeFillsUpwardFromTheBottom) {
  auto* G = AddGauge(true, Bounds(20, 20, 16, 160));
  G->SetSkinDataName("vgauge");
  G->ChangeSkinData();
  G->SetValue(25);
  ShowForm();
  EXPECT_TRUE(G->Vertical());
  // Area (2, 2)-(14, 158): 39 pixels from the bottom, rows 119..157.
  const sg::Colour Fill = sg::TestPieceColour(false, "vgauge", "progressrect", sg::Piece::Fill);
  const sg::Colour Ring = sg::TestPieceColour(false, "vgauge", "progressrect", sg::Piece::Ring);
  const sg::Colour Bed = sg::TestPieceColour(false, "vgauge", "skinrect", sg::Piece::Fill);
  EXPECT_EQ(PixelAt(G, 8, 156), Ring);
  EXPECT_EQ(PixelAt(G, 8, 140), Fill);
  EXPECT_EQ(PixelAt(G, 8, 120), Ring);
  EXPECT_EQ(PixelAt(G, 8, 117), Bed);
  EXPECT_EQ(PixelAt(G, 8, 40), Bed);
}

TEST_F(SkinGaugeTest, TheTiledMiddleIsCutAtTheFarEnd) {
  auto* D = dynamic_cast<TspDataSkinGaugeControl*>(Skin->CtrlList.Items(Skin->GetControlIndex("gauge")));
  ASSERT_NE(D, nullptr);
  D->ProgressStretch = false;
  auto* G = AddGauge(true, Bounds(20, 20, 160, 16));
  G->SetValue(100);
  ShowForm();
  // The middle of the picture is 32 wide: tiles at 4, 36, ... of the 156-pixel bar, all
  // the middle's colour, the end cap at 150..156.
  const sg::Colour Fill = sg::TestPieceColour(false, "gauge", "progressrect", sg::Piece::Fill);
  const sg::Colour Ring = sg::TestPieceColour(false, "gauge", "progressrect", sg::Piece::Ring);
  const TControlShot Shot = ShotOf(G);
  for (int X = 2 + 4; X < 2 + 152; ++X) EXPECT_EQ(Shot.At(X, 8), Fill) << X;
  EXPECT_EQ(PixelAt(G, 2 + 153, 8), Ring);
}

TEST_F(SkinGaugeTest, OnGaugePaintReplacesFillAndText) {
  for (bool Skinned : {false, true}) {
    SCOPED_TRACE(Skinned ? "skinned" : "plain");
    auto* G = AddGauge(Skinned, Bounds(20, 20, 160, 16));
    G->SetShowPercent(true);
    G->SetValue(100);
    TRect SeenArea, SeenBar;
    int Calls = 0;
    G->OnGaugePaint = [&](TCanvas*, const TRect& Area, const TRect& Bar) {
      ++Calls;
      SeenArea = Area;
      SeenBar = Bar;
    };
    ShowForm();
    EXPECT_GT(Calls, 0);
    const TRect Area = Skinned ? Rect(2, 2, 158, 14) : Rect(1, 1, 159, 15);
    EXPECT_EQ(SeenArea, Area);
    EXPECT_EQ(SeenBar, Area);
    const sg::Colour Empty =
        Skinned ? sg::TestPieceColour(false, "gauge", "skinrect", sg::Piece::Fill) : GaugeColourOf(clWindow);
    const TControlShot Shot = ShotOf(G);
    for (int X = 5; X < 155; ++X) EXPECT_EQ(Shot.At(X, 8), Empty) << X;
    G->Free();
  }
}

TEST_F(SkinGaugeTest, TheProgressAnimationRunsItsFramesThenPausesAndRepeats) {
  auto* G = AddGauge(true, Bounds(20, 20, 160, 16));
  G->SetValue(100);
  G->SetProgressAnimationPause(300);
  ShowForm();
  ASSERT_EQ(G->ProgressAnimationCountFrames, sg::AnimationFrames);
  ASSERT_EQ(G->ProgressAnimationTimerInterval, sg::AnimationInterval);
  const sg::Colour Frame = sg::TestPieceColour(false, "gauge", "progressanimationskinrect", sg::Piece::Fill);
  const sg::Colour Bar = sg::TestPieceColour(false, "gauge", "progressrect", sg::Piece::Fill);
  G->StartProgressAnimation();
  EXPECT_EQ(G->AnimationFrame(), 0);
  for (int Round = 0; Round < 2; ++Round) {
    SCOPED_TRACE(Round);
    for (int F = 1; F <= sg::AnimationFrames; ++F) {
      Session.Advance(sg::AnimationInterval - 1);
      EXPECT_EQ(G->AnimationFrame(), F - 1);
      Session.Advance(1);
      EXPECT_EQ(G->AnimationFrame(), F);
      EXPECT_EQ(PixelAt(G, 80, 8), Frame);
    }
    Session.Advance(sg::AnimationInterval);  // past the last frame: the pause
    EXPECT_EQ(G->AnimationFrame(), 0);
    EXPECT_EQ(PixelAt(G, 80, 8), Bar);
    Session.Advance(299);
    EXPECT_EQ(G->AnimationFrame(), 0);
    Session.Advance(1);  // the pause ends: the frames start again
  }
  G->StopProgressAnimation();
  Session.Advance(2000);
  EXPECT_EQ(G->AnimationFrame(), 0);
  EXPECT_EQ(PixelAt(G, 80, 8), Bar);
}

TEST_F(SkinGaugeTest, TheAnimationNeedsASkinWithAStripAndIgnoresANegativePause) {
  auto* Plain = AddGauge(false);
  Plain->StartProgressAnimation();
  Session.Advance(500);
  EXPECT_EQ(Plain->AnimationFrame(), 0);
  Plain->SetProgressAnimationPause(-5);
  EXPECT_EQ(Plain->ProgressAnimationPause(), 1000);
  // The vertical gauge of the test skin has no strip.
  auto* V = AddGauge(true, Bounds(200, 20, 16, 160));
  V->SetSkinDataName("vgauge");
  V->ChangeSkinData();
  V->StartProgressAnimation();
  Session.Advance(500);
  EXPECT_EQ(V->AnimationFrame(), 0);
}

TEST_F(SkinGaugeTest, BlendedTextFadesWithItsOpacity) {
  auto* G = AddGauge(true, Bounds(20, 20, 160, 16));
  G->SetValue(50);
  ShowForm();
  auto Row = [&] {
    // One capture of the screen, read at every pixel of the gauge.
    const vantrel::win::Surface S = Session.CaptureScreen();
    const TPoint Origin = G->ClientToScreen(Point(0, 0));
    std::vector<uint32_t> Pixels;
    for (int Y = 0; Y < 16; ++Y)
      for (int X = 0; X < 160; ++X) Pixels.push_back(SurfacePixel(S, Origin.X + X, Origin.Y + Y));
    return Pixels;
  };
  const auto Bare = Row();
  G->SetShowPercent(true);
  const auto Opaque = Row();
  EXPECT_NE(Opaque, Bare);
  G->SetTextAlphaBlend(true);
  G->SetTextAlphaBlendValue(255);
  EXPECT_EQ(Row(), Opaque);
  G->SetTextAlphaBlendValue(0);
  EXPECT_EQ(Row(), Bare);
  G->SetTextAlphaBlendValue(128);
  const auto Half = Row();
  EXPECT_NE(Half, Bare);
  EXPECT_NE(Half, Opaque);
}

TEST_F(SkinGaugeTest, AFixedSkinOfFreeSizeIsStretchedOverTheGauge) {
  // The test skin's gauge made a fixed picture of 160 x 16.
  auto* D = dynamic_cast<TspDataSkinGaugeControl*>(Skin->CtrlList.Items(Skin->GetControlIndex("gauge")));
  ASSERT_NE(D, nullptr);
  D->LTPoint = D->RTPoint = D->LBPoint = D->RBPoint = TPoint{};
  auto* Fitted = AddGauge(true, Bounds(20, 20, 320, 32));
  EXPECT_EQ(Fitted->Width(), 160);
  EXPECT_EQ(Fitted->Height(), 16);
  auto* G = Create<TspSkinGauge>(Form.get());
  G->SetParent(Form.get());
  G->SetUseSkinSize(false);
  G->SetSkinData(Skin);
  G->SetBounds(20, 60, 320, 32);
  G->SetValue(50);
  ShowForm();
  EXPECT_EQ(G->Width(), 320);
  EXPECT_EQ(G->Height(), 32);
  // Everything twice as large: the bar of 78 pixels from x = 2 ends at x = 160.
  EXPECT_EQ(PixelAt(G, 2, 2), sg::TestPieceColour(false, "gauge", "skinrect", sg::Piece::Ring));
  EXPECT_EQ(PixelAt(G, 80, 16), sg::TestPieceColour(false, "gauge", "progressrect", sg::Piece::Fill));
  EXPECT_EQ(PixelAt(G, 158, 16), sg::TestPieceColour(false, "gauge", "progressrect", sg::Piece::Ring));
  EXPECT_EQ(PixelAt(G, 164, 16), sg::TestPieceColour(false, "gauge", "skinrect", sg::Piece::Fill));
  // The text goes on the stretched image, at the gauge's own size.
  auto Middle = [&] {
    std::vector<sg::Colour> Pixels;
    const TControlShot Shot = ShotOf(G);
    for (int X = 120; X < 200; ++X) Pixels.push_back(Shot.At(X, 16));
    return Pixels;
  };
  const auto Bare = Middle();
  G->SetShowPercent(true);
  EXPECT_NE(Middle(), Bare);
}

}  // namespace
