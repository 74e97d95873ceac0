// The panel that mutes an inactive form's client area.
#include <gtest/gtest.h>

#include "platform/ui/ExtCtrls.h"
#include "platform/win/Focus.h"
#include "platform/win/SysColors.h"
#include "skin/forms/ClientInActivePanel.h"
#include "tests/skin/forms/FormFrame_TestKit.h"

namespace vantrel::frametest {
namespace {

class FormSkinInActivePanelTest : public FrameFixture {
 protected:
  TPanel* Block = nullptr;
  TOwned<TForm> Other;

  void SetUp() override {
    FrameFixture::SetUp();
    Block = new TPanel(Form.get());
    Block->SetParent(Form.get());
    Block->SetColor(clRed);
    Block->SetBounds(20, 20, 100, 60);
    FS->SetClientInActiveEffect(true);
  }
  // Another form takes the activation.
  void Deactivate() {
    if (!Other) {
      Other = CreateOwned<TForm>(nullptr);
      Other->SetBounds(900, 500, 200, 150);
    }
    Other->Show();
    Other->BringToFront();
    SetActiveWindow(Other->Handle());
    S.Session.PumpUntilIdle();
  }
  void Activate() {
    SetActiveWindow(Form->Handle());
    S.Session.PumpUntilIdle();
  }
  int PanelCount() {
    int N = 0;
    for (Integer I = 0; I < Form->ControlCount(); ++I)
      if (dynamic_cast<TspClientInActivePanel*>(Form->Controls(I))) ++N;
    return N;
  }
  TColor ScreenPixelInClient(int X, int Y) {
    const TPoint P = Form->ClientToScreen(Point(X, Y));
    return SurfaceColour(S.Session.CaptureScreen(), P.X, P.Y);
  }
};

int InActiveChannel(TColor C, int Shift) { return static_cast<int>((C >> Shift) & 0xFF); }

TEST_F(FormSkinInActivePanelTest, SemiTransparentFadesTheControlsByTheBackground) {
  ShowForm();
  const TColor Control = ScreenPixelInClient(50, 40);
  const TColor Back = ScreenPixelInClient(250, 200);
  ASSERT_EQ(Control, ColorToRGB(clRed));
  Deactivate();
  ASSERT_NE(FS->FInActivePanel, nullptr);
  EXPECT_TRUE(FS->FInActivePanel->Visible());
  SaveCapture(S.Session.CaptureScreen(), "inactive-semi.png");
  const TColor Faded = ScreenPixelInClient(50, 40);
  for (int Shift : {0, 8, 16}) {
    SCOPED_TRACE(Shift);
    const int Want = (InActiveChannel(Control, Shift) * 85 + InActiveChannel(Back, Shift) * 170) / 255;
    EXPECT_NEAR(InActiveChannel(Faded, Shift), Want, 1);
  }
  EXPECT_EQ(ScreenPixelInClient(250, 200), Back);
  Activate();
  EXPECT_EQ(FS->FInActivePanel, nullptr);
  EXPECT_EQ(PanelCount(), 0);
  EXPECT_EQ(ScreenPixelInClient(50, 40), Control);
}

TEST_F(FormSkinInActivePanelTest, BlurShowsTheClientAreaBlurred) {
  FS->SetClientInActiveEffectType(spieBlur);
  ShowForm();
  Deactivate();
  ASSERT_NE(FS->FInActivePanel, nullptr);
  SaveCapture(S.Session.CaptureScreen(), "inactive-blur.png");
  // Inside the block it stays red; across its left edge red and the face run together.
  EXPECT_EQ(ScreenPixelInClient(70, 50), ColorToRGB(clRed));
  const TColor Edge = ScreenPixelInClient(20, 50);
  EXPECT_NE(Edge, ColorToRGB(clRed));
  EXPECT_NE(Edge, ColorToRGB(clBtnFace));
}

TEST_F(FormSkinInActivePanelTest, OnePanelAfterTwoDeactivationsAndNoneForAHiddenForm) {
  ShowForm();
  Deactivate();
  FS->ShowClientInActiveEffect();  // a second deactivation
  EXPECT_EQ(PanelCount(), 1);
  Activate();
  EXPECT_EQ(PanelCount(), 0);
  Form->Hide();
  S.Session.PumpUntilIdle();
  FS->ShowClientInActiveEffect();
  ASSERT_NE(FS->FInActivePanel, nullptr);
  EXPECT_FALSE(FS->FInActivePanel->Visible());
  EXPECT_EQ(FS->FInActivePanel->Buffer(), nullptr);
  FS->HideClientInActiveEffect();
  EXPECT_EQ(PanelCount(), 0);
}

}  // namespace
}  // namespace vantrel::frametest
