// The shape control: its figure inside its bounds with its own pen and brush.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/display/HeadlessSession.h"
#include "platform/ui/ExtCtrls.h"
#include "tests/support/UiTestControls.h"

using vantrel::display::HeadlessSession;
using vantrel::uitest::RgbAt;
using vantrel::uitest::RgbOf;
using vantrel::uitest::TTestForm;

TEST(Shape, FiguresFitTheBoundsWithPenAndBrush) {
  struct Pixel {
    int X, Y;
    TColor Expected;
  };
  struct Case {
    const char* Name;
    TShapeType Type;
    std::vector<Pixel> Pixels;  // in a 20 x 10 shape: white background, black pen, red brush
  };
  const Case Cases[] = {
      {"rectangle", stRectangle, {{0, 0, clBlack}, {19, 9, clBlack}, {10, 5, clRed}}},
      // A square of the smaller side, centred: x 5..14.
      {"square", stSquare, {{4, 5, clWhite}, {5, 5, clBlack}, {10, 5, clRed}, {14, 5, clBlack}, {15, 5, clWhite}}},
      {"ellipse", stEllipse, {{0, 0, clWhite}, {19, 9, clWhite}, {10, 5, clRed}}},
      {"circle", stCircle, {{3, 5, clWhite}, {16, 5, clWhite}, {10, 5, clRed}}},
      {"round rectangle", stRoundRect, {{10, 0, clBlack}, {10, 5, clRed}}},
  };
  HeadlessSession Session;
  auto Form = CreateOwned<TTestForm>(nullptr);
  Form->SetBounds(0, 0, 100, 50);
  auto* Shape = Create<TShape>(Form.get());
  EXPECT_EQ(Shape->Shape(), stRectangle);
  Shape->SetBounds(10, 10, 20, 10);
  Shape->SetParent(Form.get());
  Shape->Brush()->SetColor(clRed);
  Shape->Pen()->SetColor(clBlack);
  ShowWindow(Form->Handle(), SW_SHOW);
  for (const Case& K : Cases) {
    Shape->SetShape(K.Type);
    const auto S = Session.Capture(Form->Handle());
    for (const Pixel& P : K.Pixels) {
      SCOPED_TRACE(std::string(K.Name) + " at " + std::to_string(P.X) + "," + std::to_string(P.Y));
      EXPECT_EQ(RgbAt(S, 10 + P.X, 10 + P.Y), RgbOf(P.Expected));
    }
  }
  // A clear brush shows what lies behind; a wider pen stays inside the bounds.
  Shape->SetShape(stRectangle);
  Shape->Brush()->SetStyle(bsClear);
  Shape->Pen()->SetWidth(3);
  const auto S = Session.Capture(Form->Handle());
  EXPECT_EQ(RgbAt(S, 20, 15), RgbOf(clWhite));
  EXPECT_EQ(RgbAt(S, 10, 10), RgbOf(clBlack));
  EXPECT_EQ(RgbAt(S, 29, 19), RgbOf(clBlack));
  EXPECT_EQ(RgbAt(S, 30, 15), RgbOf(clWhite));
}
