// The panel: a container filled with its colour, its caption in the middle, and its
// border width kept free of aligned children.
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/display/HeadlessSession.h"
#include "platform/ui/ExtCtrls.h"
#include "tests/support/UiTestControls.h"

using vantrel::display::HeadlessSession;
using vantrel::uitest::RgbAt;
using vantrel::uitest::RgbOf;
using vantrel::uitest::TTestForm;
using vantrel::uitest::TTestShape;

TEST(Panel, BorderWidthKeepsAlignedChildrenOffTheEdges) {
  HeadlessSession Session;
  auto Form = CreateOwned<TTestForm>(nullptr);
  Form->SetBounds(0, 0, 300, 200);
  auto* Panel = Create<TPanel>(Form.get());
  EXPECT_TRUE(Panel->ControlStyle.Contains(csAcceptsControls));
  Panel->SetParent(Form.get());
  Panel->SetBounds(10, 10, 100, 60);
  auto* Client = Create<TTestShape>(Form.get());
  Client->SetParent(Panel);
  Client->SetAlign(alClient);
  EXPECT_EQ(Client->BoundsRect(), Rect(0, 0, 100, 60));
  Panel->SetBorderWidth(6);
  EXPECT_EQ(Client->BoundsRect(), Rect(6, 6, 94, 54));
  EXPECT_THROW(Panel->SetBorderWidth(-1), ERangeError);
  EXPECT_EQ(Panel->BorderWidth(), 6);
  // AutoSize keeps the border around the children.
  Client->SetAlign(alNone);
  Client->SetBounds(6, 6, 30, 20);
  Panel->SetAutoSize(true);
  EXPECT_EQ(Panel->BoundsRect(), Bounds(10, 10, 42, 32));
}

TEST(Panel, PaintsItsColourAndCentredCaption) {
  HeadlessSession Session;
  auto Form = CreateOwned<TTestForm>(nullptr);
  Form->SetBounds(0, 0, 300, 200);
  auto* Panel = Create<TPanel>(Form.get());
  Panel->SetParent(Form.get());
  Panel->SetBounds(10, 10, 120, 40);
  Panel->Font()->SetColor(clBlack);
  Panel->SetCaption("HIH");
  ShowWindow(Form->Handle(), SW_SHOW);
  const auto S = Session.Capture(Form->Handle());
  EXPECT_EQ(RgbAt(S, 12, 12), RgbOf(ColorToRGB(clBtnFace)));
  // The dark pixels of the caption lie around the middle.
  int Left = 1000, Right = -1, Top = 1000, Bottom = -1;
  for (int Y = 10; Y < 50; ++Y)
    for (int X = 10; X < 130; ++X)
      if ((RgbAt(S, X, Y) & 0xFF) < 0x80) {
        Left = std::min(Left, X);
        Right = std::max(Right, X);
        Top = std::min(Top, Y);
        Bottom = std::max(Bottom, Y);
      }
  ASSERT_GE(Right, 0) << "no caption drawn";
  EXPECT_LE(std::abs((Left + Right) / 2 - 70), 2);
  EXPECT_LE(std::abs((Top + Bottom) / 2 - 30), 3);
}
