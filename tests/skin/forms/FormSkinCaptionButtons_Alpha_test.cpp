// The caption buttons' 32-bit looks for the layered full border, and the caption drawn on
// that border's image: alpha from grey mask pictures, opaque looks without one, the look
// of the moment chosen by the pointer and the form's state, clear pixels taking the
// border's own, and the caption's text keeping the image's alpha.
#include <gtest/gtest.h>

#include "platform/ui/ImgList.h"
#include "skin/core/bitmaps/spEffBmp.h"
#include "skin/core/bitmaps/sppngimagelist.h"
#include "skin/forms/FormSkinCaption.h"
#include "skin/forms/FormSkinQuickButtons.h"
#include "tests/skin/forms/FormFrame_TestKit.h"

using vantrel::frametest::FlatBitmap;
using vantrel::frametest::FrameFixture;

namespace {

// Pixels of a 32-bit image are 0xAARRGGBB.
constexpr TspColor Argb(unsigned A, unsigned R, unsigned G, unsigned B) { return (A << 24) | (R << 16) | (G << 8) | B; }

class CaptionButtonAlphaTest : public FrameFixture {
 protected:
  // Normal red, hover green, pressed blue, inactive grey, restore yellow: 20 x 20 each.
  TOwned<TBitmap> Looks = CreateOwned<TBitmap>();
  TOwned<TspBitmap> Border = CreateOwned<TspBitmap>();
  TspSkinStdButtonObject* B = nullptr;
  Integer GreyMaskIndex = -1;

  void SetUp() override {
    FrameFixture::SetUp();
    UseTestSkin();
    Looks->SetPixelFormat(pf24bit);
    Looks->SetSize(100, 20);
    const TColor Colours[5] = {RGB(200, 0, 0), RGB(0, 200, 0), RGB(0, 0, 200), RGB(90, 90, 90), RGB(200, 200, 0)};
    for (int I = 0; I < 5; ++I) {
      Looks->Canvas()->Brush()->SetColor(Colours[I]);
      Looks->Canvas()->FillRect(Rect(20 * I, 0, 20 * I + 20, 20));
    }
    // A grey mask: black in its first column, (30, 60, 91) elsewhere.
    auto Mask = FlatBitmap(20, 20, RGB(30, 60, 91));
    Mask->Canvas()->Brush()->SetColor(clBlack);
    Mask->Canvas()->FillRect(Rect(0, 0, 1, 20));
    GreyMaskIndex = Skin->FActivePictures.Add(std::move(Mask));

    B = new TspSkinStdButtonObject(FS, nullptr);  // the list owns it
    FS->ObjectList.push_back(B);
    B->FSkinSupport = true;
    B->SD = Skin.get();
    B->Command = cmRollUp;
    B->ActivePicture = Looks.get();
    B->SkinRect = Rect(0, 0, 20, 20);
    B->ActiveSkinRect = Rect(20, 0, 40, 20);
    B->DownRect = Rect(40, 0, 60, 20);
    B->RestoreRect = Rect(80, 0, 100, 20);
    B->ObjectRect = Rect(10, 5, 30, 25);
    FS->FFormActive = true;

    Border->SetSize(60, 40);
    Border->Clear(Argb(0x80, 0x10, 0x20, 0x30));
  }
  void DrawOnBorder() {
    Border->Clear(Argb(0x80, 0x10, 0x20, 0x30));
    B->DrawAlpha(Border->Canvas(), Border.get());
  }
  // The colour (without alpha) of a border pixel inside the button.
  TspColor ColourAt(int X, int Y) { return Border->GetPixelValue(X, Y) & 0x00FFFFFFu; }
};

TEST_F(CaptionButtonAlphaTest, ImagesTakeTheirAlphaFromTheGreyMaskOrAreOpaque) {
  B->AlphaMaskPictureIndex = GreyMaskIndex;  // normal and restore looks
  B->AlphaMaskActivePictureIndex = -1;       // hover and pressed looks
  B->InitAlphaImages();
  ASSERT_TRUE(B->FAlphaNormalImage);
  ASSERT_TRUE(B->FAlphaActiveImage);
  ASSERT_TRUE(B->FAlphaDownImage);
  ASSERT_TRUE(B->FAlphaRestoreNormalImage);
  // Looks the button does not have make no image.
  EXPECT_FALSE(B->FAlphaRestoreActiveImage);
  EXPECT_FALSE(B->FAlphaRestoreDownImage);
  EXPECT_FALSE(B->FAlphaInActiveImage);
  EXPECT_FALSE(B->FAlphaInActiveRestoreImage);
  // (30 + 60 + 91) div 3 = 60; the mask's black column is clear.
  EXPECT_EQ(B->FAlphaNormalImage->GetPixelValue(5, 5), Argb(60, 200, 0, 0));
  EXPECT_EQ(B->FAlphaNormalImage->GetPixelValue(0, 5) >> 24, 0u);
  EXPECT_EQ(B->FAlphaActiveImage->GetPixelValue(0, 5), Argb(255, 0, 200, 0));
  EXPECT_EQ(B->FAlphaDownImage->GetPixelValue(19, 19), Argb(255, 0, 0, 200));
  EXPECT_EQ(B->FAlphaRestoreNormalImage->GetPixelValue(5, 5), Argb(60, 200, 200, 0));
  // Called again, the images are made anew from the current rectangles.
  B->ActiveSkinRect = NullRect();
  B->InitAlphaImages();
  EXPECT_FALSE(B->FAlphaActiveImage);
}

TEST_F(CaptionButtonAlphaTest, TheLookOfTheMomentIsDrawnAndClearPixelsKeepTheBorder) {
  B->AlphaMaskPictureIndex = -1;
  B->AlphaMaskActivePictureIndex = -1;
  B->InActiveSkinRect = Rect(60, 0, 80, 20);
  B->AlphaMaskInActivePictureIndex = -1;
  B->InitAlphaImages();
  struct Case {
    const char* What;
    bool MouseIn, Down, FormActive, RolledUp;
    TspColor Expected;
  };
  const Case Cases[] = {
      {"normal", false, false, true, false, 0xC80000u},
      {"hover", true, false, true, false, 0x00C800u},
      {"pressed", true, true, true, false, 0x0000C8u},
      {"pressed, pointer away", false, true, true, false, 0xC80000u},
      {"inactive form", true, true, false, false, 0x5A5A5Au},
      {"restore look", false, false, true, true, 0xC8C800u},
      {"restore hover without its own image", true, false, true, true, 0x00C800u},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.What);
    B->FMouseIn = C.MouseIn;
    B->FDown = C.Down;
    FS->FFormActive = C.FormActive;
    FS->FRollUpState = C.RolledUp;
    DrawOnBorder();
    EXPECT_EQ(ColourAt(15, 10), C.Expected);
    EXPECT_EQ(ColourAt(9, 10), 0x102030u) << "the border beside the button is left alone";
  }
  FS->FRollUpState = false;
  FS->FFormActive = true;

  // A look with clear pixels: they take the border's pixels, colour and alpha.
  B->FMouseIn = false;
  B->FDown = false;
  B->AlphaMaskPictureIndex = GreyMaskIndex;
  B->InitAlphaImages();
  DrawOnBorder();
  EXPECT_EQ(B->FAlphaNormalImage->GetPixelValue(0, 10), Argb(0x80, 0x10, 0x20, 0x30));
  EXPECT_EQ(ColourAt(10, 10), 0x102030u);
  // Without images nothing is drawn.
  B->FAlphaNormalImage.reset();
  DrawOnBorder();
  EXPECT_EQ(Border->GetPixelValue(15, 10), Argb(0x80, 0x10, 0x20, 0x30));
}

TEST_F(CaptionButtonAlphaTest, TheCaptionWritesItsTextAndKeepsTheBordersAlpha) {
  FS->SetSkinData(Skin.get());
  TspSkinCaptionObject* C = nullptr;
  for (TspActiveSkinObject* O : FS->ObjectList)
    if (auto* Caption = dynamic_cast<TspSkinCaptionObject*>(O)) C = Caption;
  ASSERT_NE(C, nullptr);
  Form->SetCaption("Vantrel");
  FS->FFormActive = true;
  auto Image = CreateOwned<TspBitmap>();
  Image->SetSize(C->ObjectRect.Right + 10, C->ObjectRect.Bottom + 10);
  const TspColor Background = Argb(0x40, 0xF0, 0xF0, 0xF0);
  Image->Clear(Background);
  C->DrawAlpha(Image->Canvas(), Image.get());
  int Ink = 0;
  for (int Y = 0; Y < Image->Height(); ++Y)
    for (int X = 0; X < Image->Width(); ++X) {
      const TspColor P = Image->GetPixelValue(X, Y);
      EXPECT_EQ(P >> 24, 0x40u) << "alpha kept at " << X << "," << Y;
      if ((P & 0xFFFFFFu) != (Background & 0xFFFFFFu)) {
        ++Ink;
        EXPECT_TRUE(PtInRect(&C->ObjectRect, Point(X, Y))) << "ink outside the caption at " << X << "," << Y;
      }
      if (::testing::Test::HasFailure()) return;
    }
  EXPECT_GT(Ink, 20) << "the caption's text is written";
}

}  // namespace

namespace {

// Quick buttons on the layered caption: a PNG glyph keeps its own alpha, a greyed one and
// a plain image list's glyph are drawn over the image's pixels.
TEST_F(CaptionButtonAlphaTest, QuickButtonGlyphsKeepThePngsAlphaOnTheLayeredCaption) {
  FS->SetSkinData(Skin.get());
  TspSkinCaptionObject* C = nullptr;
  for (TspActiveSkinObject* O : FS->ObjectList)
    if (auto* Caption = dynamic_cast<TspSkinCaptionObject*>(O)) C = Caption;
  ASSERT_NE(C, nullptr);
  // A 4 x 4 PNG: opaque red top row, half-transparent blue second row, clear below.
  auto Png = CreateOwned<TspPngImage>();
  Png->CreateBlank(COLOR_RGBALPHA, 8, 4, 4);
  for (Integer X = 0; X < 4; ++X) {
    Png->SetPixels(X, 0, RGB(255, 0, 0));
    Png->AlphaScanline(0)[X] = 255;
    Png->SetPixels(X, 1, RGB(0, 0, 255));
    Png->AlphaScanline(1)[X] = 128;
  }
  auto PngList = CreateOwned<TspPngImageList>(nullptr);
  PngList->SetPngWidth(4);
  PngList->SetPngHeight(4);
  PngList->PngImages()->Add()->SetPngImage(Png.get());
  // The same size in a plain list: a green 2 x 2 square in a masked-out field.
  auto Plain = CreateOwned<TImageList>(nullptr);
  Plain->SetWidth(4);
  Plain->SetHeight(4);
  auto Pic = FlatBitmap(4, 4, RGB(0, 200, 0));
  auto Mask = FlatBitmap(4, 4, clWhite);
  Mask->Canvas()->Brush()->SetColor(clBlack);
  Mask->Canvas()->FillRect(Rect(0, 0, 2, 2));
  Plain->Add(Pic.get(), Mask.get());
  FS->QuickButtons()->Add()->SetImageIndex(0);
  FS->FFormActive = true;

  const TspColor Background = Argb(0x40, 0x10, 0x20, 0x30);
  auto Draw = [&](TCustomImageList* L, Boolean Enabled) {
    FS->SetQuickImageList(L);
    FS->QuickButtons()->Items(0)->SetEnabled(Enabled);
    auto Image = CreateOwned<TspBitmap>();
    Image->SetSize(C->ObjectRect.Right + 10, C->ObjectRect.Bottom + 10);
    Image->Clear(Background);
    C->DrawAlpha(Image->Canvas(), Image.get());
    return Image;
  };
  auto GlyphAt = [&](Integer X, Integer Y) {
    const TRect R = FS->QuickButtons()->Items(0)->ItemRect;
    return Point(R.Left + 2 + X, R.Top + 2 + Y);
  };
  {
    SCOPED_TRACE("enabled PNG");
    auto Image = Draw(PngList.get(), true);
    const TPoint Opaque = GlyphAt(1, 0), Half = GlyphAt(1, 1), Clear = GlyphAt(1, 3);
    EXPECT_EQ(Image->GetPixelValue(Opaque.X, Opaque.Y), Argb(0xFF, 0xFF, 0, 0));
    // Half blue over a quarter-opaque background: alpha 128 + 64 * 127 / 255 = 159, the
    // colour weighted 128 : 31.
    const TspColor H = Image->GetPixelValue(Half.X, Half.Y);
    EXPECT_EQ(H >> 24, 159u);
    EXPECT_NEAR(static_cast<int>(H & 0xFF), (0xFF * 128 + 0x30 * 31) / 159, 1);
    EXPECT_NEAR(static_cast<int>((H >> 16) & 0xFF), (0x10 * 31) / 159, 1);
    EXPECT_EQ(Image->GetPixelValue(Clear.X, Clear.Y), Background);
  }
  {
    SCOPED_TRACE("greyed PNG");
    auto Image = Draw(PngList.get(), false);
    const TPoint Opaque = GlyphAt(1, 0);
    EXPECT_EQ(Image->GetPixelValue(Opaque.X, Opaque.Y) >> 24, 0x40u);
    EXPECT_NE(Image->GetPixelValue(Opaque.X, Opaque.Y), Background) << "the greyed glyph is drawn";
  }
  {
    SCOPED_TRACE("plain list");
    auto Image = Draw(Plain.get(), true);
    const TPoint In = GlyphAt(0, 0), Out = GlyphAt(3, 3);
    EXPECT_EQ(Image->GetPixelValue(In.X, In.Y), Argb(0xFF, 0, 200, 0));
    EXPECT_EQ(Image->GetPixelValue(Out.X, Out.Y), Background);
  }
  FS->SetQuickImageList(nullptr);
}

}  // namespace
