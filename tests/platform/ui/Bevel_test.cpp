// The bevel's edges: which pixels each shape paints in the dark and the light colour,
// for the lowered and the raised style.
#include <gtest/gtest.h>

#include <vector>

#include "platform/display/HeadlessSession.h"
#include "platform/ui/ExtCtrls.h"
#include "tests/support/UiTestControls.h"

using vantrel::display::HeadlessSession;
using vantrel::uitest::RgbAt;
using vantrel::uitest::RgbOf;
using vantrel::uitest::TTestForm;

namespace {

enum Ink { Back, First, Second };  // background; Color1 (left/top); Color2 (right/bottom)

struct Pixel {
  int X, Y;
  Ink Expected;
};

struct ShapeCase {
  const char* Name;
  TBevelShape Shape;
  std::vector<Pixel> Pixels;  // in a 20 x 12 bevel
};

}  // namespace

TEST(Bevel, ShapesPaintTheirEdgesInTheStyleColours) {
  const ShapeCase Cases[] = {
      {"box", bsBox,
       {{0, 5, First}, {5, 0, First}, {0, 11, First}, {19, 0, Second}, {19, 5, Second}, {5, 11, Second},
        {19, 11, Second}, {5, 5, Back}}},
      {"frame", bsFrame,
       {{0, 5, First}, {1, 5, Second}, {5, 0, First}, {5, 1, Second}, {18, 5, First}, {19, 5, Second},
        {5, 10, First}, {5, 11, Second}, {19, 0, Back}, {5, 5, Back}}},
      {"top line", bsTopLine, {{0, 0, First}, {19, 0, First}, {7, 1, Second}, {7, 2, Back}, {7, 11, Back}}},
      {"bottom line", bsBottomLine, {{0, 10, First}, {19, 11, Second}, {7, 9, Back}, {7, 0, Back}}},
      {"left line", bsLeftLine, {{0, 0, First}, {0, 11, First}, {1, 6, Second}, {2, 6, Back}}},
      {"right line", bsRightLine, {{18, 0, First}, {19, 11, Second}, {17, 6, Back}, {0, 6, Back}}},
      {"spacer", bsSpacer, {{0, 0, Back}, {19, 11, Back}, {5, 5, Back}}},
  };
  HeadlessSession Session;
  auto Form = CreateOwned<TTestForm>(nullptr);
  Form->SetBounds(0, 0, 100, 50);
  Form->SetColor(clNavy);
  auto* Bevel = Create<TBevel>(Form.get());
  EXPECT_EQ(Bevel->BoundsRect(), Bounds(0, 0, 50, 50));
  EXPECT_EQ(Bevel->Shape(), bsBox);
  EXPECT_EQ(Bevel->Style(), bsLowered);
  Bevel->SetBounds(10, 10, 20, 12);
  Bevel->SetParent(Form.get());
  ShowWindow(Form->Handle(), SW_SHOW);
  const uint32_t Shadow = RgbOf(ColorToRGB(clBtnShadow));
  const uint32_t Highlight = RgbOf(ColorToRGB(clBtnHighlight));
  for (const TBevelStyle Style : {bsLowered, bsRaised}) {
    Bevel->SetStyle(Style);
    // Lowered: dark on the left and top; raised: light there.
    const uint32_t Ink1 = Style == bsLowered ? Shadow : Highlight;
    const uint32_t Ink2 = Style == bsLowered ? Highlight : Shadow;
    for (const ShapeCase& K : Cases) {
      Bevel->SetShape(K.Shape);
      const auto S = Session.Capture(Form->Handle());
      for (const Pixel& P : K.Pixels) {
        SCOPED_TRACE(std::string(K.Name) + (Style == bsLowered ? " lowered at " : " raised at ") +
                     std::to_string(P.X) + "," + std::to_string(P.Y));
        const uint32_t Want = P.Expected == Back ? RgbOf(clNavy) : P.Expected == First ? Ink1 : Ink2;
        EXPECT_EQ(RgbAt(S, 10 + P.X, 10 + P.Y), Want);
      }
    }
  }
}
