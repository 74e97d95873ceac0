// Painting what lies under a control into a canvas: the parent's background and content,
// then the windowless controls under it.
#include <gtest/gtest.h>

#include <string>

#include "platform/display/HeadlessSession.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Graphics.h"
#include "skin/core/drawing/SPUtils.h"
#include "tests/support/UiTestControls.h"

using vantrel::display::HeadlessSession;
using vantrel::uitest::RgbOf;
using vantrel::uitest::TTestForm;
using vantrel::uitest::TTestPanel;
using vantrel::uitest::TTestShape;

namespace {

// A form whose own content (a red band at the top) must not be copied.
class TPaintingForm : public TTestForm {
  VANTREL_CLASS(TPaintingForm)
  explicit TPaintingForm(TComponent* AOwner) : TTestForm(AOwner) {}

 protected:
  void Paint() override {
    Canvas()->Brush()->SetColor(clRed);
    Canvas()->FillRect(Rect(0, 0, Width(), 10));
  }
};

class TThrowingShape : public TTestShape {
  VANTREL_CLASS(TThrowingShape)
  explicit TThrowingShape(TComponent* AOwner) : TTestShape(AOwner) {}

 protected:
  void Paint() override { throw EInvalidOperation("no paint"); }
};

uint32_t At(TBitmap* B, int X, int Y) { return static_cast<const uint32_t*>(B->ScanLine(Y))[X] & 0xFFFFFF; }

struct CopyParentImageTest : ::testing::Test {
  HeadlessSession Session;
  TOwned<TPaintingForm> Form = CreateOwned<TPaintingForm>(nullptr);
  TTestPanel* Panel = nullptr;
  TOwned<TBitmap> Image = CreateOwned<TBitmap>();

  // Panel: blue, its own content a red square at (0, 0)-(10, 10) of its client area.
  void SetUp() override {
    Form->SetBounds(0, 0, 200, 150);
    Panel = Create<TTestPanel>(Form.get());
    Panel->SetBounds(20, 20, 100, 100);
    Panel->SetColor(clBlue);
    Panel->FillColor = clRed;
    Panel->FillRect = Rect(0, 0, 10, 10);
    Panel->SetParent(Form.get());
    Image->SetPixelFormat(pf32bit);
    Form->Handle();
  }
  template <class T>
  T* Add(TWinControl* Parent, TRect R, TColor Color) {
    T* C = Create<T>(Form.get());
    C->SetBoundsRect(R);
    C->FillColor = Color;
    C->SetParent(Parent);
    return C;
  }
  void Copy(TControl* Control) {
    Image->SetSize(Control->Width(), Control->Height());
    Image->Canvas()->Brush()->SetColor(clBlack);
    Image->Canvas()->FillRect(Rect(0, 0, Control->Width(), Control->Height()));
    CopyParentImage(Control, Image->Canvas());
  }
};

}  // namespace

TEST_F(CopyParentImageTest, AWindowlessControlSeesTheParentAndTheControlsBeforeIt) {
  Add<TTestShape>(Panel, Bounds(0, 0, 15, 15), clLime);               // before: under it
  auto* Target = Add<TTestShape>(Panel, Bounds(5, 5, 20, 20), clGray);
  Add<TTestShape>(Panel, Bounds(10, 10, 10, 10), clYellow);           // after: above it
  Copy(Target);
  struct Case {
    int X, Y;
    TColor Color;
  } Cases[] = {{0, 0, clLime}, {9, 9, clLime}, {10, 10, clBlue}, {19, 19, clBlue}, {12, 3, clBlue}};
  for (const Case& C : Cases) {
    SCOPED_TRACE(std::to_string(C.X) + "," + std::to_string(C.Y));
    EXPECT_EQ(At(Image.get(), C.X, C.Y), RgbOf(C.Color));
  }
}

TEST_F(CopyParentImageTest, AWindowedControlSeesEveryOverlappingWindowlessSibling) {
  Add<TTestShape>(Panel, Bounds(0, 0, 15, 15), clLime);
  auto* Hidden = Add<TTestShape>(Panel, Bounds(0, 0, 100, 100), clFuchsia);
  Hidden->SetVisible(false);
  auto* Target = Add<TTestPanel>(Panel, Bounds(5, 5, 20, 20), clGray);
  Add<TTestShape>(Panel, Bounds(10, 10, 10, 10), clYellow);  // later in the list, still windowless
  Copy(Target);
  struct Case {
    int X, Y;
    TColor Color;
  } Cases[] = {{0, 0, clLime}, {4, 4, clLime}, {5, 5, clYellow}, {14, 14, clYellow}, {15, 15, clBlue}};
  for (const Case& C : Cases) {
    SCOPED_TRACE(std::to_string(C.X) + "," + std::to_string(C.Y));
    EXPECT_EQ(At(Image.get(), C.X, C.Y), RgbOf(C.Color));
  }
}

TEST_F(CopyParentImageTest, TheParentsContentIsCopiedUnlessItIsAForm) {
  auto* OnPanel = Add<TTestShape>(Panel, Bounds(0, 0, 20, 20), clLime);
  OnPanel->SetVisible(false);  // only the panel below it
  Copy(OnPanel);
  EXPECT_EQ(At(Image.get(), 2, 2), RgbOf(clRed));  // the panel's Paint
  EXPECT_EQ(At(Image.get(), 15, 15), RgbOf(clBlue));

  auto* OnForm = Add<TTestShape>(Form.get(), Bounds(150, 0, 20, 20), clLime);
  Copy(OnForm);
  EXPECT_EQ(At(Image.get(), 2, 2), RgbOf(clWhite));  // background only, no red band
}

TEST_F(CopyParentImageTest, ThePaintCopyFlagIsClearedAlsoWhenAPainterThrows) {
  Add<TThrowingShape>(Panel, Bounds(0, 0, 30, 30), clLime);
  auto* Target = Add<TTestShape>(Panel, Bounds(5, 5, 10, 10), clGray);
  EXPECT_THROW(Copy(Target), EInvalidOperation);
  EXPECT_FALSE(Panel->ControlState.Contains(csPaintCopy));
  for (Integer I = 0; I < Panel->ControlCount(); ++I)
    EXPECT_FALSE(Panel->Controls(I)->ControlState.Contains(csPaintCopy));
}

TEST_F(CopyParentImageTest, NothingWithoutAControlOrAParent) {
  auto Loose = CreateOwned<TTestShape>(nullptr);
  Loose->SetBounds(0, 0, 4, 4);
  Copy(Loose.get());
  EXPECT_EQ(At(Image.get(), 1, 1), RgbOf(clBlack));
  EXPECT_NO_THROW(CopyParentImage(nullptr, Image->Canvas()));
}
