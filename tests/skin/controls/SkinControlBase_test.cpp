// The windowed skinned control base: resize modes, composition, window regions, blending
// with what lies behind it, the background message and the skin-change steps.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "skin/controls/SkinCtrls.h"
#include "tests/support/SkinFormFixture.h"

namespace sg = vantrel::skingen;
using vantrel::uitest::SkinFormFixture;

namespace {

sg::Colour RingOf(bool Alt, const char* Name) {
  return sg::TestPieceColour(Alt, Name, "skinrect", sg::Piece::Ring);
}
sg::Colour FillOf(bool Alt, const char* Name) {
  return sg::TestPieceColour(Alt, Name, "skinrect", sg::Piece::Fill);
}

// Records the background message it receives.
class TLoggingSkinControl : public TspSkinCustomControl {
  VANTREL_CLASS(TLoggingSkinControl)
  explicit TLoggingSkinControl(TComponent* AOwner) : TspSkinCustomControl(AOwner) {}
  std::vector<std::string>* Log = nullptr;

 protected:
  void Dispatch(TMessage& Message) override {
    if (Message.Msg == WM_SKIN_CHECK_PARENT_BACKGROUND && Log) Log->push_back("windowed " + Name());
    TspSkinCustomControl::Dispatch(Message);
  }
};

class TLoggingShape : public TGraphicControl {
  VANTREL_CLASS(TLoggingShape)
  explicit TLoggingShape(TComponent* AOwner) : TGraphicControl(AOwner) {}
  std::vector<std::string>* Log = nullptr;
  void Dispatch(TMessage& Message) override {
    if (Message.Msg == WM_SKIN_CHECK_PARENT_BACKGROUND && Log) Log->push_back("windowless " + Name());
    TGraphicControl::Dispatch(Message);
  }
};

class SkinControlBaseTest : public SkinFormFixture {
 protected:
  TspSkinCustomControl* Add(const char* SkinName, int W = 300, int H = 300) {
    auto* C = Create<TspSkinCustomControl>(Form.get());
    C->SetSkinDataName(SkinName);
    C->SetParent(Form.get());
    C->SetSkinData(Skin);
    C->SetBounds(20, 20, W, H);
    return C;
  }
  // The skin-change steps as the form's frame component will run them.
  void ChangeSkin(TspSkinCustomControl* C, const char* Folder) {
    C->BeforeChangeSkinData();
    LoadSkin(Folder);
    C->ChangeSkinData();
  }
};

struct ResizeCase {
  const char* Name;
  int Width, Height;  // expected after SetBounds to 300 x 300
  int Mode;
};

class ResizeModeTest : public SkinControlBaseTest, public ::testing::WithParamInterface<ResizeCase> {};

TEST_P(ResizeModeTest, SetBoundsFitsTheSizeToTheSkin) {
  const ResizeCase& K = GetParam();
  auto* C = Add(K.Name, 100, 100);
  C->SetBounds(20, 20, 300, 300);
  EXPECT_EQ(C->Width(), K.Width);
  EXPECT_EQ(C->Height(), K.Height);
  EXPECT_EQ(C->GetResizeMode(), K.Mode);
}

INSTANTIATE_TEST_SUITE_P(
    TestSkin, ResizeModeTest,
    ::testing::Values(ResizeCase{sg::NinePartPanel, 300, 300, 1},
                      ResizeCase{sg::HStripPanel, 300, sg::MainSizes.ItemHeight, 2},
                      ResizeCase{sg::VStripPanel, sg::MainSizes.ItemHeight, 300, 3},
                      ResizeCase{sg::FixedPanel, sg::MainSizes.ButtonWidth, sg::MainSizes.ButtonHeight, 0},
                      ResizeCase{sg::EmptyPanel, 300, 300, -1}),
    [](const auto& Info) { return std::string(Info.param.Name); });

TEST_F(SkinControlBaseTest, AnEmptySkinRectDrawsNothing) {
  auto* C = Add(sg::EmptyPanel);
  Form->SetColor(clRed);
  ShowForm();
  EXPECT_NE(C->FIndex, -1);
  // Nothing composed: neither the plain face nor the skin's panel colours show.
  const sg::Colour Seen = PixelAt(C, 150, 150);
  EXPECT_NE(Seen, static_cast<sg::Colour>(ColorToRGB(clBtnFace)));
  EXPECT_NE(Seen, sg::TestPieceColour(false, "panel", "skinrect", sg::Piece::Fill));
}

TEST_F(SkinControlBaseTest, ARequestOfTheCurrentSizeKeepsTheRegion) {
  auto* C = Add(sg::MaskedPanel);
  ShowForm();
  const HRGN Before = C->Region();
  ASSERT_NE(Before, nullptr);
  C->SetBounds(40, 30, C->Width(), C->Height());
  EXPECT_EQ(C->Region(), Before);
  C->SetBounds(40, 30, 200, 200);  // fixed: fitted back, the region is rebuilt
  EXPECT_NE(C->Region(), Before);
}

TEST_F(SkinControlBaseTest, CalcNewRectMovesEachCornerZone) {
  auto* C = Add(sg::NinePartPanel);  // 60 x 60 skin, corners 4, now 300 x 300: +240 each way
  struct Case {
    TRect In, Out;
  };
  const Case Cases[] = {
      {Rect(0, 0, 2, 2), Rect(0, 0, 2, 2)},             // left-top
      {Rect(57, 0, 59, 2), Rect(297, 0, 299, 2)},       // right-top
      {Rect(0, 57, 2, 59), Rect(0, 297, 2, 299)},       // left-bottom
      {Rect(57, 57, 59, 59), Rect(297, 297, 299, 299)}, // right-bottom
      {Rect(1, 1, 58, 58), Rect(1, 1, 298, 298)},       // spans left-top to right-bottom
      {Rect(1, 1, 58, 3), Rect(1, 1, 298, 3)},          // along the top
      {Rect(1, 57, 58, 59), Rect(1, 297, 298, 299)},    // along the bottom
      {Rect(1, 1, 3, 58), Rect(1, 1, 3, 298)},          // down the left
      {Rect(57, 1, 59, 58), Rect(297, 1, 299, 298)},    // down the right
      {Rect(20, 20, 30, 30), Rect(20, 20, 30, 30)},     // the middle: unchanged
      // Flush with the skin's outer edges or the corner's inner edges: still in the corner.
      {Rect(56, 0, 60, 4), Rect(296, 0, 300, 4)},       // the whole right-top corner
      {Rect(0, 56, 4, 60), Rect(0, 296, 4, 300)},       // the whole left-bottom corner
      {Rect(56, 56, 60, 60), Rect(296, 296, 300, 300)}, // the whole right-bottom corner
      {Rect(57, 1, 59, 4), Rect(297, 1, 299, 4)},       // on the right-top corner's bottom edge
  };
  for (const Case& K : Cases) {
    SCOPED_TRACE(std::to_string(K.In.Left) + "," + std::to_string(K.In.Top));
    TRect Out;
    C->CalcNewRect(K.In, Out);
    EXPECT_EQ(Out.Left, K.Out.Left);
    EXPECT_EQ(Out.Top, K.Out.Top);
    EXPECT_EQ(Out.Right, K.Out.Right);
    EXPECT_EQ(Out.Bottom, K.Out.Bottom);
  }
}

TEST_F(SkinControlBaseTest, ANinePartControlShowsRingCornersAndFillCentre) {
  auto* C = Add(sg::NinePartPanel);
  ShowForm();
  const sg::Colour Ring = RingOf(false, sg::NinePartPanel);
  EXPECT_EQ(PixelAt(C, 1, 1), Ring);
  EXPECT_EQ(PixelAt(C, 298, 1), Ring);
  EXPECT_EQ(PixelAt(C, 1, 298), Ring);
  EXPECT_EQ(PixelAt(C, 298, 298), Ring);
  EXPECT_EQ(PixelAt(C, 150, 150), FillOf(false, sg::NinePartPanel));
}

TEST_F(SkinControlBaseTest, ATinyNinePartControlPaints) {
  auto* C = Add(sg::NinePartPanel, 5, 5);
  EXPECT_NO_THROW(ShowForm());
  EXPECT_EQ(C->Width(), 5);
}

TEST_F(SkinControlBaseTest, TheMaskCutsTheCornersOffTheWindow) {
  auto* C = Add(sg::MaskedPanel);
  std::vector<std::string> Hits;
  Form->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, Integer, Integer) { Hits.push_back("form"); };
  C->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, Integer, Integer) { Hits.push_back("control"); };
  ShowForm();
  const TPoint Corner = C->ClientToScreen(Point(0, 0));
  Session.Press(Corner.X, Corner.Y);
  Session.Release(Corner.X, Corner.Y);
  const TPoint Inside = C->ClientToScreen(Point(C->Width() / 2, C->Height() / 2));
  Session.Press(Inside.X, Inside.Y);
  Session.Release(Inside.X, Inside.Y);
  Session.PumpUntilIdle();
  EXPECT_EQ(Hits, (std::vector<std::string>{"form", "control"}));
}

int MixChannel(int Control, int Back, int Value) {
  return static_cast<int>(std::nearbyint(Value / 255.0 * Control + (1 - Value / 255.0) * Back));
}

TEST_F(SkinControlBaseTest, BlendingMixesWithTheParentsColour) {
  auto* C = Add(sg::NinePartPanel);
  const sg::Colour Back = sg::Rgb(200, 40, 10);
  Form->SetColor(static_cast<TColor>(Back));
  C->SetAlphaBlend(true);
  const sg::Colour Fill = FillOf(false, sg::NinePartPanel);
  struct Case {
    int Value;
    sg::Colour Expected;
  };
  const Case Cases[] = {
      {255, Fill},
      {0, Back},
      {200, sg::Rgb(MixChannel(sg::RedOf(Fill), sg::RedOf(Back), 200),
                    MixChannel(sg::GreenOf(Fill), sg::GreenOf(Back), 200),
                    MixChannel(sg::BlueOf(Fill), sg::BlueOf(Back), 200))},
  };
  ShowForm();
  for (const Case& K : Cases) {
    SCOPED_TRACE(K.Value);
    C->SetAlphaBlendValue(static_cast<Byte>(K.Value));
    Session.PumpUntilIdle();
    EXPECT_EQ(PixelAt(C, 150, 150), K.Expected);
  }
}

TEST_F(SkinControlBaseTest, ABlendedControlRepaintsAfterAMove) {
  auto* C = Add(sg::NinePartPanel, 100, 100);
  C->SetAlphaBlend(true);
  C->SetAlphaBlendValue(0);
  Form->SetColor(clRed);
  ShowForm();
  // A blue band on the form where the control moves to: a repaint shows it through.
  auto* Band = Create<TLoggingShape>(Form.get());
  Band->SetColor(clBlue);
  Band->SetBounds(200, 200, 150, 150);
  Band->SetParent(Form.get());
  Session.PumpUntilIdle();
  Form->SetColor(clLime);
  C->SetBounds(220, 220, 100, 100);
  Session.PumpUntilIdle();
  EXPECT_EQ(PixelAt(C, 50, 50), sg::Rgb(0, 255, 0));
}

TEST_F(SkinControlBaseTest, CheckControlsBackgroundReachesEveryChild) {
  auto* C = Add(sg::NinePartPanel);
  std::vector<std::string> Log;
  auto* Windowed = Create<TLoggingSkinControl>(Form.get());
  Windowed->SetName("inner");
  Windowed->Log = &Log;
  Windowed->SetParent(C);
  auto* Windowless = Create<TLoggingShape>(Form.get());
  Windowless->SetName("shape");
  Windowless->Log = &Log;
  Windowless->SetParent(C);
  C->CheckControlsBackground();
  // In the parent's index order: the windowless children come before the windowed ones.
  std::vector<std::string> Expected;
  for (int I = 0; I < C->ControlCount(); ++I)
    Expected.push_back(C->Controls(I) == Windowed ? "windowed inner" : "windowless shape");
  EXPECT_EQ(Log.size(), 2u);
  EXPECT_EQ(Log, Expected);
}

TEST_F(SkinControlBaseTest, ASkinChangeBringsTheNewSizesAndColours) {
  auto* Nine = Add(sg::NinePartPanel);
  auto* Fixed = Add(sg::FixedPanel);
  ShowForm();
  ChangeSkin(Nine, sg::TestSkinAltFolder);
  Fixed->BeforeChangeSkinData();
  Fixed->ChangeSkinData();
  Session.PumpUntilIdle();
  EXPECT_EQ(Fixed->Width(), sg::AltSizes.ButtonWidth);
  EXPECT_EQ(Fixed->Height(), sg::AltSizes.ButtonHeight);
  EXPECT_EQ(Nine->Width(), 300);
  EXPECT_EQ(PixelAt(Nine, 150, 150), FillOf(true, sg::NinePartPanel));
  EXPECT_EQ(PixelAt(Nine, 1, 1), RingOf(true, sg::NinePartPanel));
}

TEST_F(SkinControlBaseTest, ANameMissingInTheNewSkinDrawsThePlainLook) {
  auto* C = Add(sg::AltMissingNames[0], 50, 50);
  C->SetDefaultWidth(90);
  C->SetDefaultHeight(33);
  ShowForm();
  ASSERT_NE(C->FIndex, -1);
  ChangeSkin(C, sg::TestSkinAltFolder);
  Session.PumpUntilIdle();
  EXPECT_EQ(C->FIndex, -1);
  EXPECT_EQ(C->Width(), 90);
  EXPECT_EQ(C->Height(), 33);
  EXPECT_EQ(PixelAt(C, 45, 16), static_cast<sg::Colour>(ColorToRGB(clBtnFace)));
}

TEST_F(SkinControlBaseTest, ANameOfAnotherKindKeepsThePreviousGeometry) {
  auto* C = Add("panel", 200, 150);
  const TRect Before = C->RealClientRect();
  C->SetSkinDataName("stdlabel");  // a descriptor without frame geometry
  C->BeforeChangeSkinData();
  C->ChangeSkinData();
  EXPECT_NE(C->FIndex, -1);
  EXPECT_EQ(C->GetResizeMode(), 0);
  // The panel's geometry stays: a fixed control of the panel picture's size.
  EXPECT_EQ(C->Width(), sg::MainSizes.PanelSize);
  EXPECT_EQ(C->Height(), sg::MainSizes.PanelSize);
  EXPECT_EQ(C->RealClientRect().Left, Before.Left);
  EXPECT_EQ(C->RealClientRect().Top, Before.Top);
}

TEST_F(SkinControlBaseTest, FreeingTheSkinLeavesTheControlPlainAtTheNextPaint) {
  auto* C = Add(sg::NinePartPanel);
  ShowForm();
  delete Skin;
  Skin = nullptr;
  EXPECT_EQ(C->SkinData(), nullptr);
  C->Invalidate();
  Session.PumpUntilIdle();
  EXPECT_EQ(C->FIndex, -1);
  EXPECT_EQ(PixelAt(C, 150, 150), static_cast<sg::Colour>(ColorToRGB(clBtnFace)));
}

}  // namespace
