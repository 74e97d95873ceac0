// Painting of the control bases: a custom control paints through Paint, a windowless
// control is painted by its parent after the background and gets its clicks, and a
// control painted into a foreign DC gives the same pixels as on screen.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/display/HeadlessSession.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Graphics.h"
#include "tests/support/UiTestControls.h"

using vantrel::display::HeadlessSession;
using vantrel::uitest::RgbAt;
using vantrel::uitest::RgbOf;
using vantrel::uitest::TTestForm;
using vantrel::uitest::TTestPanel;
using vantrel::uitest::TTestShape;

namespace {

// Remembers whether it was painted as a copy.
class TCopyAwareShape : public TTestShape {
  VANTREL_CLASS(TCopyAwareShape)
  explicit TCopyAwareShape(TComponent* AOwner) : TTestShape(AOwner) {}
  std::vector<bool> PaintCopies;

 protected:
  void Paint() override {
    PaintCopies.push_back(ControlState.Contains(csPaintCopy));
    TTestShape::Paint();
  }
};

class TFailingPaint : public TCustomControl {
  VANTREL_CLASS(TFailingPaint)
  explicit TFailingPaint(TComponent* AOwner) : TCustomControl(AOwner) {}
  int Paints = 0;

 protected:
  void Paint() override {
    ++Paints;
    throw EInvalidOperation("cannot paint");
  }
};

struct GraphicControlTest : ::testing::Test {
  HeadlessSession Session;
  TOwned<TTestForm> Form = CreateOwned<TTestForm>(nullptr);
  TTestPanel* Panel = nullptr;
  TCopyAwareShape* OnPanel = nullptr;
  TTestShape* OnForm = nullptr;

  // Form (white) 120x80 at (40, 30); Panel (blue, a red square at 5..15) at (10, 10)
  // 60x40 with a lime shape at (20, 20) 30x10; a yellow shape on the form at (80, 50).
  void SetUp() override {
    Form->SetBounds(40, 30, 120, 80);
    Panel = Create<TTestPanel>(Form.get());
    Panel->SetBounds(10, 10, 60, 40);
    Panel->SetColor(clBlue);
    Panel->FillColor = clRed;
    Panel->FillRect = Rect(5, 5, 15, 15);
    Panel->SetParent(Form.get());
    OnPanel = Create<TCopyAwareShape>(Form.get());
    OnPanel->SetBounds(20, 20, 30, 10);
    OnPanel->FillColor = clLime;
    OnPanel->SetParent(Panel);
    OnForm = Create<TTestShape>(Form.get());
    OnForm->SetBounds(80, 50, 20, 20);
    OnForm->FillColor = clYellow;
    OnForm->SetParent(Form.get());
    ShowWindow(Form->Handle(), SW_SHOW);
    Session.PumpUntilIdle();
  }
};

}  // namespace

TEST_F(GraphicControlTest, ControlsPaintInTheirPlaces) {
  const vantrel::win::Surface S = Session.Capture(Form->Handle());
  struct Case {
    int X, Y;
    TColor Color;
  } Cases[] = {
      {2, 2, clWhite},     // the form's background
      {12, 12, clBlue},    // the panel's background
      {17, 17, clRed},     // the panel's Paint
      {31, 31, clLime},    // the windowless child of the panel, over its background
      {85, 55, clYellow},  // the windowless child of the form
      {79, 49, clWhite},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(std::to_string(C.X) + "," + std::to_string(C.Y));
    EXPECT_EQ(RgbAt(S, C.X, C.Y), RgbOf(C.Color));
  }
  EXPECT_FALSE(OnPanel->PaintCopies.empty());
  for (bool Copy : OnPanel->PaintCopies) EXPECT_FALSE(Copy);
}

TEST_F(GraphicControlTest, AWindowlessControlIsRepaintedThroughItsParent) {
  const int Before = OnForm->Paints;
  OnForm->FillColor = clFuchsia;
  OnForm->Repaint();
  EXPECT_GT(OnForm->Paints, Before);
  EXPECT_EQ(RgbAt(Session.Capture(Form->Handle()), 90, 60), RgbOf(clFuchsia));
  OnForm->SetVisible(false);
  Session.PumpUntilIdle();
  EXPECT_EQ(RgbAt(Session.Capture(Form->Handle()), 90, 60), RgbOf(clWhite));
}

TEST_F(GraphicControlTest, AWindowlessControlGetsItsClicks) {
  std::vector<std::string> Clicks;
  OnPanel->OnClick = [&](TObject*) { Clicks.push_back("panel shape"); };
  OnForm->OnClick = [&](TObject*) { Clicks.push_back("form shape"); };
  Panel->OnClick = [&](TObject*) { Clicks.push_back("panel"); };
  // Screen points: form client (40, 30); panel client (50, 40).
  for (POINT P : {POINT{50 + 25, 40 + 25}, POINT{40 + 90, 30 + 60}, POINT{50 + 2, 40 + 2}}) {
    Session.Move(P.X, P.Y);
    Session.Press(P.X, P.Y);
    Session.Release(P.X, P.Y);
    Session.PumpUntilIdle();
  }
  EXPECT_EQ(Clicks, (std::vector<std::string>{"panel shape", "form shape", "panel"}));
}

TEST_F(GraphicControlTest, PaintingIntoABitmapUnderAnOffsetGivesTheSamePixels) {
  const vantrel::win::Surface Screen = Session.Capture(Form->Handle());
  OnPanel->PaintCopies.clear();
  constexpr int DX = 7, DY = 5;
  auto Bitmap = CreateOwned<TBitmap>();
  Bitmap->SetPixelFormat(pf32bit);
  Bitmap->SetSize(Form->Width() + DX, Form->Height() + DY);
  const HDC DC = Bitmap->Canvas()->Handle();
  SetViewportOrgEx(DC, DX, DY, nullptr);
  Form->PaintTo(DC, 0, 0);
  SetViewportOrgEx(DC, 0, 0, nullptr);
  int Different = 0;
  for (int Y = 0; Y < Form->Height(); ++Y)
    for (int X = 0; X < Form->Width(); ++X)
      if ((static_cast<const uint32_t*>(Bitmap->ScanLine(Y + DY))[X + DX] & 0xFFFFFF) != RgbAt(Screen, X, Y))
        ++Different;
  EXPECT_EQ(Different, 0);
  ASSERT_FALSE(OnPanel->PaintCopies.empty());
  for (bool Copy : OnPanel->PaintCopies) EXPECT_TRUE(Copy);
  EXPECT_FALSE(Form->ControlState.Contains(csPaintCopy));
  EXPECT_FALSE(OnPanel->ControlState.Contains(csPaintCopy));
}

TEST_F(GraphicControlTest, APaintHandlerThatThrowsStillEndsItsPaint) {
  auto* Bad = Create<TFailingPaint>(Form.get());
  Bad->SetBounds(0, 0, 5, 5);
  std::vector<std::string> Caught;
  SetApplicationExceptionHandler([&](TObject*, std::exception_ptr E) {
    try {
      std::rethrow_exception(E);
    } catch (const Exception& X) {
      Caught.push_back(X.Message());
    }
  });
  Bad->SetParent(Form.get());
  Session.PumpUntilIdle();  // would never go idle if the failed paint stayed due
  SetApplicationExceptionHandler(nullptr);
  EXPECT_EQ(Bad->Paints, 1);
  EXPECT_EQ(Caught, (std::vector<std::string>{"cannot paint"}));
}
