// The image control: where the picture goes (as it is, centred, stretched), AutoSize,
// transparency and drawing on its bitmap canvas.
#include <gtest/gtest.h>

#include <string>

#include "platform/display/HeadlessSession.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/PngImage.h"
#include "tests/support/UiTestControls.h"

using vantrel::display::HeadlessSession;
using vantrel::uitest::RgbAt;
using vantrel::uitest::RgbOf;
using vantrel::uitest::TTestForm;

namespace {

struct ImageTest : ::testing::Test {
  HeadlessSession Session;
  TOwned<TTestForm> Form = CreateOwned<TTestForm>(nullptr);
  TImage* Image = nullptr;
  TOwned<TBitmap> Picture = CreateOwned<TBitmap>();
  // The image at (10, 10) 40 x 30 on a white form; the picture is 4 x 2:
  // blue with a red top-left pixel.
  void SetUp() override {
    Form->SetBounds(0, 0, 100, 60);
    Image = Create<TImage>(Form.get());
    EXPECT_EQ(Image->BoundsRect(), Bounds(0, 0, 105, 105));
    Image->SetBounds(10, 10, 40, 30);
    Image->SetParent(Form.get());
    Picture->SetSize(4, 2);
    Picture->Canvas()->Brush()->SetColor(clBlue);
    Picture->Canvas()->FillRect(Rect(0, 0, 4, 2));
    Picture->Canvas()->SetPixels(0, 0, clRed);
    ShowWindow(Form->Handle(), SW_SHOW);
  }
  uint32_t At(int X, int Y) {
    const auto S = Session.Capture(Form->Handle());
    return RgbAt(S, 10 + X, 10 + Y);
  }
};

}  // namespace

TEST_F(ImageTest, PictureIsDrawnAsItIsCentredOrStretched) {
  Image->Picture()->SetGraphic(Picture.get());
  EXPECT_EQ(At(0, 0), RgbOf(clRed));
  EXPECT_EQ(At(3, 1), RgbOf(clBlue));
  EXPECT_EQ(At(4, 0), RgbOf(clWhite));
  EXPECT_EQ(Image->DestRect(), Rect(0, 0, 4, 2));

  Image->SetCenter(true);  // (40 - 4) / 2, (30 - 2) / 2
  EXPECT_EQ(Image->DestRect(), Bounds(18, 14, 4, 2));
  EXPECT_EQ(At(18, 14), RgbOf(clRed));
  EXPECT_EQ(At(0, 0), RgbOf(clWhite));

  Image->SetStretch(true);  // 10 x 15 pixels per picture pixel
  EXPECT_EQ(Image->DestRect(), Rect(0, 0, 40, 30));
  EXPECT_EQ(At(9, 14), RgbOf(clRed));
  EXPECT_EQ(At(10, 14), RgbOf(clBlue));
  EXPECT_EQ(At(39, 29), RgbOf(clBlue));
  EXPECT_TRUE(Image->ControlStyle.Contains(csOpaque));  // covers the whole control
  Image->SetStretch(false);
  EXPECT_FALSE(Image->ControlStyle.Contains(csOpaque));
}

TEST_F(ImageTest, AutoSizeTakesThePictureSize) {
  Image->SetAutoSize(true);
  EXPECT_EQ(Image->BoundsRect(), Bounds(10, 10, 40, 30));  // no picture: no change
  Image->Picture()->SetGraphic(Picture.get());
  EXPECT_EQ(Image->BoundsRect(), Bounds(10, 10, 4, 2));
  Image->SetBounds(10, 10, 100, 100);
  EXPECT_EQ(Image->BoundsRect(), Bounds(10, 10, 4, 2));
  // Aligned at the top it keeps the width its alignment gives and takes the height.
  Image->SetAlign(alTop);
  EXPECT_EQ(Image->BoundsRect(), Bounds(0, 0, 100, 2));
}

TEST_F(ImageTest, TransparentPictureLeavesItsTransparentColourOut) {
  Picture->SetTransparentColor(clBlue);
  Picture->SetTransparentMode(tmFixed);
  Image->Picture()->SetGraphic(Picture.get());
  EXPECT_EQ(At(1, 0), RgbOf(clBlue));
  Image->SetTransparent(true);
  EXPECT_EQ(At(1, 0), RgbOf(clWhite));
  EXPECT_EQ(At(0, 0), RgbOf(clRed));
}

TEST_F(ImageTest, CanvasDrawsOnTheBitmapAndRefusesOtherPictures) {
  TCanvas* C = Image->Canvas();  // an empty picture becomes a bitmap of the image's size
  EXPECT_EQ(Image->Picture()->Width(), 40);
  EXPECT_EQ(Image->Picture()->Height(), 30);
  C->Brush()->SetColor(clLime);
  C->FillRect(Rect(0, 0, 40, 30));
  Image->Invalidate();
  EXPECT_EQ(At(20, 20), RgbOf(clLime));

  auto Png = CreateOwned<TPngImage>();
  Png->Assign(Picture.get());
  Image->Picture()->SetGraphic(Png.get());
  try {
    Image->Canvas();
    FAIL() << "no error";
  } catch (const EInvalidOperation& E) {
    EXPECT_EQ(E.Message(), "Can only modify an image if it contains a bitmap");
  }
}
