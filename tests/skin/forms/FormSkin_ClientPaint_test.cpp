// The client-area painters: background pictures tiled or stretched in strips, the plain
// fill of a skin without a client part, and the client-mode window with its roll-up
// objects and size grip.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/skin/forms/FormFrame_TestKit.h"

namespace vantrel::frametest {
namespace {

// A W x H picture whose left half is Left and right half Right.
TOwned<TBitmap> TwoColourPicture(int W, int H, TColor Left, TColor Right) {
  auto B = CreateOwned<TBitmap>();
  B->SetPixelFormat(pf24bit);
  B->SetSize(W, H);
  B->Canvas()->Brush()->SetColor(Left);
  B->Canvas()->FillRect(Rect(0, 0, W / 2, H));
  B->Canvas()->Brush()->SetColor(Right);
  B->Canvas()->FillRect(Rect(W / 2, 0, W, H));
  return B;
}

class FormSkinClientPaintTest : public FrameFixture {
 protected:
  TOwned<TBitmap> Target = CreateOwned<TBitmap>();

  void SetUp() override {
    FrameFixture::SetUp();
    UseTestSkin();
    Target->SetPixelFormat(pf24bit);
    Target->SetSize(Form->ClientWidth(), Form->ClientHeight());
    Target->Canvas()->Brush()->SetColor(clWhite);
    Target->Canvas()->FillRect(Rect(0, 0, Target->Width(), Target->Height()));
  }
  // Picture P becomes the skin's background picture.
  void UseBackground(TOwned<TBitmap> P, bool Stretch, TspStretchType Kind) {
    Skin->BGPictureIndex = Skin->FActivePictures.Add(std::move(P));
    Skin->StretchEffect = Stretch;
    Skin->StretchType = Kind;
  }
  TColor At(int X, int Y) { return Target->Canvas()->Pixels(X, Y); }
};

TEST_F(FormSkinClientPaintTest, ABackgroundPictureIsTiledUnscaledFromTheTopLeft) {
  UseBackground(TwoColourPicture(30, 20, clRed, clBlue), false, spstFull);
  FS->PaintBG2(Target->Canvas()->Handle());
  EXPECT_EQ(At(0, 0), clRed);
  EXPECT_EQ(At(20, 0), clBlue);
  EXPECT_EQ(At(30, 20), clRed);  // the next tile, right and below
  EXPECT_EQ(At(Target->Width() - 1, Target->Height() - 1), (Target->Width() - 1) % 30 < 15 ? clRed : clBlue);
  // A picture larger than the client area is laid once.
  UseBackground(TwoColourPicture(2000, 1000, clLime, clYellow), false, spstFull);
  FS->PaintBG2(Target->Canvas()->Handle());
  EXPECT_EQ(At(Target->Width() - 1, 0), clLime);
}

TEST_F(FormSkinClientPaintTest, HorizontalStripsRepeatAcrossAndTheLastOneIsCut) {
  UseBackground(TwoColourPicture(50, 10, clRed, clBlue), true, spstHorz);
  FS->FFormWidth = 101;
  FS->FFormHeight = 40;
  FS->PaintBG2(Target->Canvas()->Handle());
  EXPECT_EQ(At(10, 35), clRed);   // stretched to the frame's height
  EXPECT_EQ(At(60, 5), clRed);    // the second strip
  EXPECT_EQ(At(100, 5), clRed);   // one more strip for the extra pixel
  EXPECT_EQ(At(130, 5), clBlue);  // laid whole: only the window's edge cuts it
}

TEST_F(FormSkinClientPaintTest, FullAndVerticalStretchesCoverTheFrameSize) {
  // A 20 x 10 picture, red on the left and blue on the right, in a 120 x 50 frame.
  struct Case {
    TspStretchType Kind;
    int X, Y;
    TColor Expected;
  };
  const Case Cases[] = {
      {spstFull, 59, 49, clRed},    // stretched to the frame: red up to the middle
      {spstFull, 60, 0, clBlue},
      {spstVert, 59, 5, clRed},     // a strip as wide as the frame
      {spstVert, 61, 5, clBlue},
      {spstVert, 59, 45, clRed},    // the strip repeated downward
      {spstVert, 119, 49, clBlue},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(testing::Message() << "kind " << static_cast<int>(C.Kind) << " at " << C.X << "," << C.Y);
    UseBackground(TwoColourPicture(20, 10, clRed, clBlue), true, C.Kind);
    FS->FFormWidth = 120;
    FS->FFormHeight = 50;
    Target->Canvas()->Brush()->SetColor(clWhite);
    Target->Canvas()->FillRect(Rect(0, 0, Target->Width(), Target->Height()));
    FS->PaintBG2(Target->Canvas()->Handle());
    EXPECT_EQ(At(C.X, C.Y), C.Expected);
  }
}

TEST_F(FormSkinClientPaintTest, AnEmptyBackgroundPictureLaysNothingButTheLogo) {
  UseBackground(CreateOwned<TBitmap>(), false, spstFull);  // a picture that failed to load
  auto Logo = TwoColourPicture(20, 20, clLime, clLime);
  FS->SetLogoBitMap(Logo.get());
  FS->PaintBG2(Target->Canvas()->Handle());
  EXPECT_EQ(At(0, 0), clWhite);
  EXPECT_EQ(At(Target->Width() - 5, Target->Height() - 5), clLime);
  UseBackground(CreateOwned<TBitmap>(), true, spstHorz);
  FS->PaintBG2(Target->Canvas()->Handle());
  EXPECT_EQ(At(0, 0), clWhite);
}

TEST_F(FormSkinClientPaintTest, WithoutAClientPartTheAreaIsPlainAndTheLogoIsLeftOut) {
  Skin->ClRect = TRect{};
  auto Logo = TwoColourPicture(20, 20, clLime, clLime);
  FS->SetLogoBitMap(Logo.get());
  FS->PaintBG(Target->Canvas()->Handle());
  EXPECT_EQ(At(Target->Width() - 5, Target->Height() - 5), ColorToRGB(clBtnFace));
  EXPECT_EQ(At(0, 0), ColorToRGB(clBtnFace));
}

TEST_F(FormSkinClientPaintTest, TheClientModeWindowDrawsTheObjectsOfItsRollUpStateAndTheGripOnlyWhenNormal) {
  std::vector<std::string> Drawn;
  FS->OnPaintEvent = [&](const String& Name, TCanvas*, TRect) { Drawn.push_back(Name); };
  AddUserObject("open", Rect(10, 10, 20, 20));
  AddUserObject("rolled", Rect(10, 10, 20, 20))->RollUp = true;
  MapFrameAtPictureSize();
  Target->SetSize(FS->FFormWidth, FS->FFormHeight);
  FS->Paint(Target->Canvas()->Handle());
  EXPECT_EQ(Drawn, (std::vector<std::string>{"open"}));
  const TRect Grip = FS->FSizeGripArea;
  auto GripPixels = [&] {
    std::vector<TColor> Out;
    for (int Y = Grip.Top; Y < Grip.Bottom; ++Y)
      for (int X = Grip.Left; X < Grip.Right; ++X) Out.push_back(At(X, Y));
    return Out;
  };
  const auto WithGrip = GripPixels();
  FS->FWindowState = wsMaximized;
  FS->Paint(Target->Canvas()->Handle());
  EXPECT_NE(GripPixels(), WithGrip);
  FS->FWindowState = wsNormal;
  FS->FRollUpState = true;
  Drawn.clear();
  FS->Paint(Target->Canvas()->Handle());
  EXPECT_EQ(Drawn, (std::vector<std::string>{"rolled"}));
}

}  // namespace
}  // namespace vantrel::frametest
