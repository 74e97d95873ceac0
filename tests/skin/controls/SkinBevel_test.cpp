// The skinned bevel: edge colours by shape, style and divider mode, and the return to the
// platform's colours without a skin.
#include <gtest/gtest.h>

#include <string>

#include "skin/controls/SkinCtrls.h"
#include "tests/support/SkinFormFixture.h"

namespace sg = vantrel::skingen;
using vantrel::uitest::SkinFormFixture;

namespace {

constexpr int BevelW = 40, BevelH = 30;

struct BevelCase {
  TBevelShape Shape;
  bool Divider;
  // The pixel that carries the first colour (dark when lowered) and the one that carries
  // the second.
  int X1, Y1, X2, Y2;
};

class SkinBevelTest : public SkinFormFixture, public ::testing::WithParamInterface<std::tuple<BevelCase, TBevelStyle>> {};

TEST_P(SkinBevelTest, EdgesTakeTheSkinsColours) {
  const auto& [K, Style] = GetParam();
  auto* B = Create<TspSkinBevel>(Form.get());
  B->SetParent(Form.get());
  B->SetBounds(30, 30, BevelW, BevelH);
  B->SetShape(K.Shape);
  B->SetStyle(Style);
  B->SetDividerMode(K.Divider);
  B->SetSkinData(Skin);
  ShowForm();
  const sg::Colour Light = sg::TestFontColour(false, "bevel", "fontcolor");
  const sg::Colour Dark = sg::TestFontColour(false, "bevel", "activefontcolor");
  const sg::Colour First = Style == bsLowered ? Dark : Light;
  const sg::Colour Second = Style == bsLowered ? Light : Dark;
  EXPECT_EQ(PixelAt(B, K.X1, K.Y1), First);
  EXPECT_EQ(PixelAt(B, K.X2, K.Y2), Second);
  EXPECT_EQ(PixelAt(B, BevelW / 2 + 5, BevelH / 2 + 5), sg::Rgb(255, 255, 255));  // the form shows inside
}

INSTANTIATE_TEST_SUITE_P(
    ShapesAndStyles, SkinBevelTest,
    ::testing::Combine(::testing::Values(BevelCase{bsBox, false, 0, 10, BevelW - 1, 10},
                                         BevelCase{bsFrame, false, 0, 10, 1, 10},
                                         BevelCase{bsTopLine, false, 10, 0, 10, 1},
                                         BevelCase{bsBottomLine, false, 10, BevelH - 2, 10, BevelH - 1},
                                         BevelCase{bsLeftLine, false, 0, 10, 1, 10},
                                         BevelCase{bsRightLine, false, BevelW - 2, 10, BevelW - 1, 10},
                                         BevelCase{bsTopLine, true, 10, BevelH / 2 - 1, 10, BevelH / 2},
                                         BevelCase{bsBox, true, BevelW / 2 - 1, 10, BevelW / 2, 10}),
                       ::testing::Values(bsLowered, bsRaised)));

class SkinBevelColoursTest : public SkinFormFixture {};

TEST_F(SkinBevelColoursTest, NoSkinRestoresThePlatformColoursAtOnce) {
  auto* B = Create<TspSkinBevel>(Form.get());
  B->SetSkinData(Skin);
  EXPECT_EQ(B->LightColor, static_cast<TColor>(sg::TestFontColour(false, "bevel", "fontcolor")));
  B->SetSkinData(nullptr);
  EXPECT_EQ(B->LightColor, clBtnHighlight);
  EXPECT_EQ(B->DarkColor, clBtnShadow);
}

TEST_F(SkinBevelColoursTest, ADescriptorOfAnotherKindKeepsTheColours) {
  auto* B = Create<TspSkinBevel>(Form.get());
  B->SetSkinData(Skin);
  const TColor Light = B->LightColor;
  B->SetSkinDataName("panel");
  B->ChangeSkinData();
  EXPECT_NE(B->FIndex, -1);
  EXPECT_EQ(B->LightColor, Light);
}

// A bevel in a tool bar stays centred across the bar whatever top it is given, also in a bar
// that does not line up its other controls.
TEST_F(SkinBevelColoursTest, InAToolBarTheBevelIsCentred) {
  for (bool Adjust : {true, false}) {
    SCOPED_TRACE(Adjust);
    auto* Bar = Create<TspSkinToolBar>(Form.get());
    Bar->SetParent(Form.get());
    Bar->AdjustControls = Adjust;
    Bar->SetBounds(0, Adjust ? 0 : 100, 300, 40);
    auto* B = Create<TspSkinBevel>(Form.get());
    B->SetParent(Bar);
    B->SetBounds(10, 0, 4, 10);
    TRect R;
    Bar->GetSkinClientRect(R);
    ASSERT_EQ(RectHeight(R), 40);  // a plain bar without a frame
    EXPECT_EQ(B->Top(), R.Top + 15);
    B->SetTop(33);
    EXPECT_EQ(B->Top(), R.Top + 15);
  }
}

}  // namespace
