// Layout of the control bases: the alignment of aligned children (with and without the
// parent's window), size constraints and AutoSize.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/display/HeadlessSession.h"
#include "platform/ui/Controls.h"
#include "tests/support/UiTestControls.h"

using vantrel::display::HeadlessSession;
using vantrel::uitest::TTestForm;
using vantrel::uitest::TTestPanel;
using vantrel::uitest::TTestShape;

namespace {

struct AlignTest : ::testing::Test {
  HeadlessSession Session;
  TOwned<TTestForm> Form = CreateOwned<TTestForm>(nullptr);
  void SetUp() override { Form->SetBounds(50, 50, 300, 200); }
  template <class T>
  T* Child(TRect R, TAlign Align, TWinControl* Parent = nullptr) {
    T* C = Create<T>(Form.get());
    C->SetBoundsRect(R);
    C->SetParent(Parent ? Parent : Form.get());
    C->SetAlign(Align);
    return C;
  }
};

struct Expected {
  const char* Name;
  TControl* Control;
  TRect Bounds;
};

void ExpectBounds(const std::vector<Expected>& Table) {
  for (const Expected& E : Table) {
    SCOPED_TRACE(E.Name);
    EXPECT_EQ(E.Control->BoundsRect(), E.Bounds);
  }
}

}  // namespace

// Two alTop, one alBottom, one alLeft, one alRight and one alClient child, windowed and
// windowless mixed; the alTop ones stack by their Top, not by creation.
TEST_F(AlignTest, EdgesTakeTheirRoomInOrderAndClientTakesTheRest) {
  for (const bool WithWindow : {false, true}) {
    SCOPED_TRACE(WithWindow ? "parent with its window" : "parent without a window");
    Form = CreateOwned<TTestForm>(nullptr);
    Form->SetBounds(50, 50, 300, 200);
    if (WithWindow) Form->HandleNeeded();
    Form->DisableAlign();
    auto* Second = Child<TTestPanel>(Bounds(0, 10, 10, 30), alTop);
    auto* First = Child<TTestShape>(Bounds(0, 0, 10, 20), alTop);
    auto* Bottom = Child<TTestPanel>(Bounds(0, 0, 10, 25), alBottom);
    auto* Left = Child<TTestShape>(Bounds(0, 0, 40, 10), alLeft);
    auto* Right = Child<TTestPanel>(Bounds(0, 0, 50, 10), alRight);
    auto* Client = Child<TTestPanel>(Bounds(5, 5, 5, 5), alClient);
    auto* Free = Child<TTestShape>(Bounds(7, 8, 9, 10), alNone);
    EXPECT_EQ(Client->BoundsRect(), Bounds(5, 5, 5, 5));  // nothing moves while disabled
    Form->EnableAlign();
    ExpectBounds({{"first top", First, Rect(0, 0, 300, 20)},
                  {"second top", Second, Rect(0, 20, 300, 50)},
                  {"bottom", Bottom, Rect(0, 175, 300, 200)},
                  {"left", Left, Rect(0, 50, 40, 175)},
                  {"right", Right, Rect(250, 50, 300, 175)},
                  {"client", Client, Rect(40, 50, 250, 175)},
                  {"not aligned", Free, Rect(7, 8, 16, 18)}});

    Form->SetBounds(50, 50, 400, 300);
    ExpectBounds({{"first top", First, Rect(0, 0, 400, 20)},
                  {"second top", Second, Rect(0, 20, 400, 50)},
                  {"bottom", Bottom, Rect(0, 275, 400, 300)},
                  {"left", Left, Rect(0, 50, 40, 275)},
                  {"right", Right, Rect(350, 50, 400, 275)},
                  {"client", Client, Rect(40, 50, 350, 275)},
                  {"not aligned", Free, Rect(7, 8, 16, 18)}});

    Second->Hide();
    ExpectBounds({{"first top", First, Rect(0, 0, 400, 20)},
                  {"bottom", Bottom, Rect(0, 275, 400, 300)},
                  {"left", Left, Rect(0, 20, 40, 275)},
                  {"right", Right, Rect(350, 20, 400, 275)},
                  {"client", Client, Rect(40, 20, 350, 275)}});
    if (WithWindow) {
      RECT W{};
      GetWindowRect(Client->Handle(), &W);
      EXPECT_EQ(W, Rect(90, 70, 400, 325));  // the window follows (screen coordinates)
    }

    // Freeing an aligned control gives its room back.
    Left->Free();
    EXPECT_EQ(Client->BoundsRect(), Rect(0, 20, 350, 275));
  }
}

// Children aligned before the parent has its window fill the client area the window
// really has once it is made (here inside a frame).
TEST_F(AlignTest, MakingTheWindowRealignsToItsClientArea) {
  class TFramedForm : public TTestForm {
   public:
    using TTestForm::TTestForm;

   protected:
    void CreateParams(TCreateParams& Params) override {
      TTestForm::CreateParams(Params);
      Params.Style |= WS_CAPTION | WS_THICKFRAME;
    }
  };
  auto Framed = CreateOwned<TFramedForm>(nullptr);
  Framed->SetBounds(50, 50, 300, 200);
  auto* Client = Create<TTestShape>(Framed.get());
  Client->SetParent(Framed.get());
  Client->SetAlign(alClient);
  auto* Corner = Create<TTestShape>(Framed.get());
  Corner->SetBounds(250, 150, 10, 10);
  Corner->SetParent(Framed.get());
  Corner->SetAnchors({akRight, akBottom});
  EXPECT_EQ(Client->BoundsRect(), Rect(0, 0, 300, 200));
  RECT C{};
  GetClientRect(Framed->Handle(), &C);
  ASSERT_LT(C.Right, 300);  // the frame takes its part
  EXPECT_EQ(Client->BoundsRect(), Rect(0, 0, C.Right, C.Bottom));
  EXPECT_EQ(Corner->BoundsRect(), Bounds(250, 150, 10, 10));
  Framed->SetBounds(50, 50, 340, 230);
  EXPECT_EQ(Corner->BoundsRect(), Bounds(290, 180, 10, 10));
}

TEST_F(AlignTest, ChangingTheAlignmentSwapsThicknessAndSetsTheAnchors) {
  auto* C = Child<TTestShape>(Bounds(0, 0, 80, 20), alTop);
  EXPECT_EQ(C->BoundsRect(), Rect(0, 0, 300, 20));
  EXPECT_EQ(C->Anchors(), (TAnchors{akLeft, akTop, akRight}));
  C->SetAlign(alLeft);  // a 20-pixel row becomes a 20-pixel column
  EXPECT_EQ(C->BoundsRect(), Rect(0, 0, 20, 200));
  EXPECT_EQ(C->Anchors(), (TAnchors{akLeft, akTop, akBottom}));
  C->SetAlign(alNone);
  EXPECT_EQ(C->Anchors(), (TAnchors{akLeft, akTop}));
  Form->SetBounds(50, 50, 500, 400);
  EXPECT_EQ(C->BoundsRect(), Rect(0, 0, 20, 200));  // no longer follows the parent
}

// A parent whose AdjustClientRect keeps a margin aligns inside it.
TEST_F(AlignTest, AlignmentStaysInsideTheAdjustedClientRect) {
  class TMarginPanel : public TTestPanel {
   public:
    using TTestPanel::TTestPanel;
    void AdjustClientRect(TRect& Rect) override { InflateRect(&Rect, -5, -7); }
  };
  auto* Panel = Child<TMarginPanel>(Bounds(0, 0, 100, 80), alNone);
  auto* Top = Child<TTestShape>(Bounds(0, 0, 1, 10), alTop, Panel);
  auto* Client = Child<TTestShape>(Bounds(0, 0, 1, 1), alClient, Panel);
  EXPECT_EQ(Top->BoundsRect(), Rect(5, 7, 95, 17));
  EXPECT_EQ(Client->BoundsRect(), Rect(5, 17, 95, 73));
}

TEST_F(AlignTest, ConstraintsLimitEverySizeChange) {
  auto* C = Child<TTestShape>(Bounds(10, 10, 60, 20), alNone);
  C->Constraints()->SetMinWidth(30);
  C->Constraints()->SetMaxWidth(100);
  C->Constraints()->SetMinHeight(10);
  C->Constraints()->SetMaxHeight(50);
  struct Case {
    int W, H, ExpectedW, ExpectedH;
  };
  for (const Case& K : {Case{200, 5, 100, 10}, Case{10, 80, 30, 50}, Case{60, 20, 60, 20}, Case{30, 50, 30, 50}}) {
    SCOPED_TRACE(std::to_string(K.W) + "x" + std::to_string(K.H));
    C->SetBounds(10, 10, K.W, K.H);
    EXPECT_EQ(C->Width(), K.ExpectedW);
    EXPECT_EQ(C->Height(), K.ExpectedH);
  }
  // New constraints apply to the present size at once.
  C->Constraints()->SetMaxWidth(40);
  EXPECT_EQ(C->Width(), 30);
  C->Constraints()->SetMinWidth(45);
  EXPECT_EQ(C->Constraints()->MaxWidth(), 45);  // the pair stays ordered
  EXPECT_EQ(C->Width(), 45);
  EXPECT_THROW(C->Constraints()->SetMinHeight(-1), ERangeError);

  // A window sized from outside the control keeps its constraints too.
  auto* Windowed = Child<TTestPanel>(Bounds(0, 0, 40, 40), alNone);
  Windowed->Constraints()->SetMaxWidth(50);
  SetWindowPos(Windowed->Handle(), nullptr, 0, 0, 200, 20, SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_EQ(Windowed->BoundsRect(), Bounds(0, 0, 50, 20));
  RECT R{};
  GetClientRect(Windowed->Handle(), &R);
  EXPECT_EQ(R.Right, 50);
  Windowed->Free();

  // An aligned control that cannot take the room gives the rest to the next one.
  auto* Top = Child<TTestPanel>(Bounds(0, 0, 10, 40), alTop);
  auto* Client = Child<TTestPanel>(Bounds(0, 0, 10, 10), alClient);
  Top->Constraints()->SetMaxWidth(120);
  Top->Constraints()->SetMaxHeight(30);
  EXPECT_EQ(Top->BoundsRect(), Rect(0, 0, 120, 30));
  EXPECT_EQ(Client->BoundsRect(), Rect(0, 30, 300, 200));
}

TEST_F(AlignTest, AutoSizeContainerFitsItsVisibleChildren) {
  auto* Panel = Child<TTestPanel>(Bounds(10, 10, 200, 150), alNone);
  Panel->SetAutoSize(true);
  EXPECT_EQ(Panel->BoundsRect(), Bounds(10, 10, 200, 150));  // nothing inside: keeps its size
  auto* A = Child<TTestShape>(Bounds(10, 10, 50, 30), alNone, Panel);
  EXPECT_EQ(Panel->BoundsRect(), Bounds(10, 10, 60, 40));
  auto* B = Child<TTestPanel>(Bounds(40, 5, 70, 10), alNone, Panel);
  EXPECT_EQ(Panel->BoundsRect(), Bounds(10, 10, 110, 40));
  B->Hide();
  EXPECT_EQ(Panel->BoundsRect(), Bounds(10, 10, 60, 40));
  A->SetBounds(10, 10, 50, 90);
  EXPECT_EQ(Panel->BoundsRect(), Bounds(10, 10, 60, 100));
  // A size request is answered with the size of the children.
  Panel->SetBounds(10, 10, 500, 500);
  EXPECT_EQ(Panel->BoundsRect(), Bounds(10, 10, 60, 100));
  Panel->SetAutoSize(false);
  Panel->SetBounds(10, 10, 500, 500);
  EXPECT_EQ(Panel->BoundsRect(), Bounds(10, 10, 500, 500));
}
