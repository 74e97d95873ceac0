// The frame without skin: caption-button layout, the 3D rings and caption stripes in the
// system colours, the caption hook, the plain backgrounds and the logo.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/skin/forms/FormFrame_TestKit.h"

using vantrel::frametest::FlatBitmap;
using vantrel::frametest::FrameFixture;
using vantrel::frametest::SurfaceColour;

namespace {

constexpr TColor DefTargetColour = 0xFF00FF;

class DefaultFrameTest : public FrameFixture {
 protected:
  TspSkinStdButtonObject* AddButton(const char* Name, TStdCommand Command) {
    auto* B = new TspSkinStdButtonObject(FS, nullptr);  // the list owns it
    B->IDName = Name;
    B->Command = Command;
    B->SkinRectInAPicture = true;
    B->SkinRect = B->ActiveSkinRect = Rect(0, 0, 1, 1);
    FS->ObjectList.push_back(B);
    return B;
  }
  void AddAllButtons() {
    AddButton("closebutton", cmClose);
    AddButton("maxbutton", cmMaximize);
    AddButton("minbutton", cmMinimize);
    AddButton("rollupbutton", cmRollUp);
    AddButton("sysmenubutton", cmSysMenu);
    AddButton("traybutton", cmMinimizeToTray);
  }
  // The default frame painted into a bitmap of the form's size.
  TOwned<TBitmap> PaintedFrame() {
    FS->FFormWidth = Form->Width();
    FS->FFormHeight = Form->Height();
    auto B = FlatBitmap(Form->Width(), Form->Height(), DefTargetColour);
    FS->PaintNCDefault(B->Canvas()->Handle(), true);
    return B;
  }
  static TColor Sys(TColor C) { return ColorToRGB(C); }
};

TEST_F(DefaultFrameTest, CaptionButtonsLineUpFromTheRight) {
  AddAllButtons();
  FS->FFormWidth = 400;
  FS->FFormHeight = 300;
  FS->CalcDefRects();
  const struct {
    Integer Index;
    TRect R;
  } Cases[] = {{0, Rect(380, 4, 397, 21)}, {1, Rect(363, 4, 380, 21)}, {2, Rect(346, 4, 363, 21)},
               {3, Rect(329, 4, 346, 21)}, {5, Rect(312, 4, 329, 21)}, {4, Rect(3, 4, 20, 21)}};
  for (const auto& C : Cases) {
    SCOPED_TRACE(FS->ObjectAt(C.Index)->IDName);
    EXPECT_EQ(FS->ObjectAt(C.Index)->ObjectRect, C.R);
  }
  EXPECT_EQ(FS->NewDefCaptionRect, Rect(20, 3, 312, 19));
}

TEST_F(DefaultFrameTest, AToolWindowHasSmallerCaptionAndButtons) {
  Form->SetBorderStyle(bsToolWindow);
  AddButton("closebutton", cmClose);
  FS->FFormWidth = 200;
  FS->CalcDefRects();
  EXPECT_EQ(FS->GetDefCaptionHeight(), 15);
  EXPECT_EQ(FS->ObjectAt(0)->ObjectRect, Rect(184, 4, 197, 17));
  EXPECT_EQ(FS->NewDefCaptionRect, Rect(3, 3, 184, 15));
}

TEST_F(DefaultFrameTest, HiddenButtonsTakeNoRoom) {
  AddAllButtons();
  FS->ObjectAt(1)->Visible = false;  // maximize
  FS->FFormWidth = 400;
  FS->CalcDefRects();
  EXPECT_EQ(FS->ObjectAt(2)->ObjectRect, Rect(363, 4, 380, 21));
}

TEST_F(DefaultFrameTest, RingsAndStripesAreDrawnInTheSystemColours) {
  auto B = PaintedFrame();
  TCanvas* C = B->Canvas();
  const struct {
    Integer X, Y;
    TColor Colour;
  } Cases[] = {{0, 150, Sys(cl3DLight)},       {200, 0, Sys(cl3DLight)},     {399, 150, Sys(cl3DDkShadow)},
               {200, 299, Sys(cl3DDkShadow)},  {1, 150, Sys(clBtnHighlight)}, {398, 150, Sys(clBtnShadow)},
               {2, 150, Sys(clBtnFace)},       {397, 150, Sys(clBtnFace)},   {30, 5, Sys(clBtnHighlight)},
               {30, 6, Sys(clBtnShadow)},      {30, 7, Sys(clBtnHighlight)}, {30, 3, Sys(clBtnFace)},
               {200, 150, DefTargetColour}};
  for (const auto& K : Cases) {
    SCOPED_TRACE(std::to_string(K.X) + "," + std::to_string(K.Y));
    EXPECT_EQ(C->Pixels(K.X, K.Y), K.Colour);
  }
}

TEST_F(DefaultFrameTest, TheCaptionHookReplacesTheText) {
  std::vector<TRect> Calls;
  FS->OnCaptionPaint = [&](TCanvas* Cnvs, TRect R, Boolean) {
    Calls.push_back(R);
    Cnvs->Brush()->SetColor(clRed);
    Cnvs->FillRect(Rect(R.Left, 0, R.Left + 4, 4));
  };
  auto B = PaintedFrame();
  ASSERT_EQ(Calls.size(), 1u);
  // Bitmap coordinates: from the caption's left (right of the system-menu button) to its
  // right end (left of the four other buttons the default border icons show: close,
  // maximize, minimize, roll-up) less 3.
  EXPECT_EQ(Calls[0], Rect(20 - 3, 0, 400 - 3 - 4 * 17 - 3, 19));
  EXPECT_EQ(B->Canvas()->Pixels(22, 4), clRed);
  // The stripes are still there where no text clears them.
  EXPECT_EQ(B->Canvas()->Pixels(200, 5), Sys(clBtnHighlight));
}

TEST_F(DefaultFrameTest, TheCaptionTextClearsTheStripesBehindIt) {
  Form->SetCaption("Frame");
  auto B = PaintedFrame();
  Integer Face = 0;
  for (Integer X = 150; X < 250; ++X)
    if (B->Canvas()->Pixels(X, 5) == Sys(clBtnFace)) ++Face;
  EXPECT_GT(Face, 20) << "the text's box is cleared to the button face";
  EXPECT_EQ(B->Canvas()->Pixels(30, 5), Sys(clBtnHighlight));
}

TEST_F(DefaultFrameTest, BackgroundsAndTheLogo) {
  Form->HandleNeeded();
  const TRect Cl = Form->ClientRect();
  auto B = FlatBitmap(Cl.Right, Cl.Bottom, DefTargetColour);
  FS->PaintBGDefault(B->Canvas()->Handle());
  EXPECT_EQ(B->Canvas()->Pixels(Cl.Right / 2, Cl.Bottom / 2), Sys(clBtnFace));
  FS->PaintMDIBGDefault(B->Canvas()->Handle());
  EXPECT_EQ(B->Canvas()->Pixels(Cl.Right / 2, Cl.Bottom / 2), Sys(clAppWorkSpace));

  // A logo smaller than the client area sits at its bottom-right corner; a larger one at
  // the origin.
  auto Small = FlatBitmap(10, 10, clRed);
  FS->SetLogoBitMap(Small.get());
  FS->PaintBGDefault(B->Canvas()->Handle());
  EXPECT_EQ(B->Canvas()->Pixels(Cl.Right - 1, Cl.Bottom - 1), clRed);
  EXPECT_EQ(B->Canvas()->Pixels(Cl.Right - 11, Cl.Bottom - 11), Sys(clBtnFace));
  auto Large = FlatBitmap(Cl.Right + 50, Cl.Bottom + 50, clBlue);
  FS->SetLogoBitMap(Large.get());
  FS->PaintBGDefault(B->Canvas()->Handle());
  EXPECT_EQ(B->Canvas()->Pixels(0, 0), clBlue);
  FS->PaintBGDefault(nullptr);  // no DC: nothing
}

TEST_F(DefaultFrameTest, TheWindowShowsTheDefaultFrame) {
  Form->SetCaption("Vantrel default frame");
  ShowForm();
  const vantrel::win::Surface Shot = S.Session.Capture(Form->Handle());
  SaveCapture(Shot, "default_frame.png");
  ASSERT_EQ(Shot.Width(), 400);
  EXPECT_EQ(SurfaceColour(Shot, 0, 150), Sys(cl3DLight));
  EXPECT_EQ(SurfaceColour(Shot, 399, 150), Sys(cl3DDkShadow));
  EXPECT_EQ(SurfaceColour(Shot, 30, 5), Sys(clBtnHighlight));
  // The client area starts under the caption and inside the rings.
  EXPECT_EQ(Form->ClientRect(), Rect(0, 0, 394, 300 - 19 - 6));
}

TEST_F(DefaultFrameTest, TheFrameIconComesFromTheSystemWhenTheFormHasNone) {
  Integer W = 0, H = 0;
  FS->GetIconSize(W, H);
  EXPECT_GT(W, 0);
  EXPECT_GT(H, 0);
  auto B = FlatBitmap(W, H, DefTargetColour);
  FS->DrawFormIcon(B->Canvas(), 0, 0);
  ASSERT_TRUE(FS->FIcon && FS->FIcon->HandleAllocated());
  EXPECT_EQ(FS->FIcon->Width(), W);
  Integer Changed = 0;
  for (Integer Y = 0; Y < H; ++Y)
    for (Integer X = 0; X < W; ++X)
      if (B->Canvas()->Pixels(X, Y) != DefTargetColour) ++Changed;
  EXPECT_GT(Changed, 0);
}

}  // namespace
