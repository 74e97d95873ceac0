// Showing a framed form: what the screen shows of the skinned and the default frame, and
// the alpha fade-in.
#include <gtest/gtest.h>

#include "platform/display/HeadlessDisplay.h"
#include "platform/ui/Timers.h"
#include "platform/win/SysColors.h"
#include "platform/win/Timers.h"
#include "tests/skin/forms/FormFrame_TestKit.h"

namespace vantrel::frametest {
namespace {

class FormSkinShowTest : public FrameFixture {
 protected:
  bool Layered() { return (GetWindowLongPtr(Form->Handle(), GWL_EXSTYLE) & WS_EX_LAYERED) != 0; }
  static int DesktopChannel(int Shift) {
    // The desktop colour is 0xRRGGBB.
    return static_cast<int>((display::HeadlessDisplay::DefaultDesktopColor >> Shift) & 0xFF);
  }
};

TEST_F(FormSkinShowTest, SkinnedAndDefaultFramesAsCaptured) {
  ShowForm();
  const win::Surface Plain = S.Session.Capture(Form->Handle());
  SaveCapture(Plain, "framea-default.png");
  // The default frame's outer ring, left and top edges.
  EXPECT_EQ(SurfaceColour(Plain, 0, 150), ColorToRGB(cl3DLight));
  EXPECT_EQ(SurfaceColour(Plain, 399, 150), ColorToRGB(cl3DDkShadow));
  Skin->LoadFromFile(test::TestSkinDir(skingen::TestSkinFolder) + "/" + skingen::SkinIniName);
  FS->SetSkinData(Skin.get());
  S.Session.PumpUntilIdle();
  const win::Surface Skinned = S.Session.Capture(Form->Handle());
  SaveCapture(Skinned, "framea-skinned.png");
  // The left border strip comes from the skin's frame picture.
  EXPECT_EQ(SurfaceColour(Skinned, 1, 150), Skin->FPicture->Canvas()->Pixels(1, 150));
  EXPECT_EQ(SurfaceColour(Skinned, 200, 298), Skin->FPicture->Canvas()->Pixels(200, 298));
  // The program's own skin, for a look.
  Skin->LoadFromFile(test::BinDir() + "/" + skingen::DefaultSkinFolder + "/" + skingen::SkinIniName);
  S.Session.PumpUntilIdle();
  ASSERT_FALSE(Skin->Empty);
  SaveCapture(S.Session.CaptureScreen(), "framea-default-skin-screen.png");
}

TEST_F(FormSkinShowTest, AnotherActiveFormTurnsTheFrameToTheInactivePicture) {
  Skin->LoadFromFile(test::TestSkinDir(skingen::TestSkinFolder) + "/" + skingen::SkinIniName);
  FS->SetSkinData(Skin.get());
  ShowForm();
  ASSERT_TRUE(FS->GetFormActive());
  // The close button's middle, drawn in both pictures.
  const int X = 379, Y = 15;
  ASSERT_NE(Skin->FPicture->Canvas()->Pixels(X, Y), Skin->FInActivePicture->Canvas()->Pixels(X, Y));
  EXPECT_EQ(SurfaceColour(S.Session.Capture(Form->Handle()), X, Y), Skin->FPicture->Canvas()->Pixels(X, Y));
  TOwned<TForm> Other = CreateOwned<TForm>(nullptr);
  Other->SetBounds(700, 400, 200, 150);
  Other->Show();
  S.Session.PumpUntilIdle();
  EXPECT_FALSE(FS->GetFormActive());
  EXPECT_EQ(SurfaceColour(S.Session.Capture(Form->Handle()), X, Y), Skin->FInActivePicture->Canvas()->Pixels(X, Y));
}

TEST_F(FormSkinShowTest, AFadeAnimationEndsOpaqueAndNotLayered) {
  FS->SetAlphaBlendAnimation(true);
  const uint64_t Start = S.Session.Now();
  Form->Show();
  S.Session.PumpUntilIdle();
  EXPECT_TRUE(Layered());  // at alpha 0 until the fade's timer
  S.Session.RunUntil([&] { return !Layered(); }, 5000);
  // Fifteen steps of 17, each more than 5 ms after the one before.
  EXPECT_GE(S.Session.Now() - Start, 14u * 6u);
  const win::Surface Shot = S.Session.CaptureScreen();
  EXPECT_EQ(SurfaceColour(Shot, 300, 230), ColorToRGB(clBtnFace));
}

TEST_F(FormSkinShowTest, AnAlphaValueStaysLayeredOverTheDesktop) {
  FS->SetAlphaBlend(true);
  FS->SetAlphaBlendValue(200);
  Form->Show();
  S.Session.Advance(20);
  EXPECT_TRUE(Layered());
  const win::Surface Shot = S.Session.CaptureScreen();
  const TColor Face = ColorToRGB(clBtnFace);
  const TColor Seen = SurfaceColour(Shot, 300, 230);
  const int Shifts[3] = {0, 8, 16};          // red, green, blue of a TColor
  const int DesktopShifts[3] = {16, 8, 0};  // of the 0xRRGGBB desktop colour
  for (int I = 0; I < 3; ++I) {
    const int Src = (Face >> Shifts[I]) & 0xFF;
    const int Dst = DesktopChannel(DesktopShifts[I]);
    EXPECT_EQ((Seen >> Shifts[I]) & 0xFF, (Src * 200 + Dst * 55 + 127) / 255) << "channel " << I;
  }
}

TEST_F(FormSkinShowTest, AFormReleasedDuringItsFadeIsLeftAlone) {
  FS->SetAlphaBlendAnimation(true);
  TForm* F = Form.release();
  // Due with the fade's timer: it asks the form to go while the fade handles messages.
  TOwned<TTimer> Trigger = CreateOwned<TTimer>(nullptr);
  Trigger->SetEnabled(false);
  Trigger->SetInterval(1);
  bool Asked = false;
  bool DuringFade = false;
  Trigger->OnTimer = [&](TObject*) {
    Trigger->SetEnabled(false);
    if (Asked) return;
    // The fade has taken its timer away and the window is still layered.
    const HWND Wnd = F->Handle();
    DuringFade = !KillTimer(Wnd, 1) && (GetWindowLongPtr(Wnd, GWL_EXSTYLE) & WS_EX_LAYERED) != 0;
    F->Release();
    Asked = true;
  };
  F->Show();
  Trigger->SetEnabled(true);
  S.Session.Advance(200);
  EXPECT_TRUE(Asked);
  EXPECT_TRUE(DuringFade);
  EXPECT_EQ(Screen->FormCount(), 0);
  FS = nullptr;
}

}  // namespace
}  // namespace vantrel::frametest
