#include <gtest/gtest.h>

#include "skin/core/bitmaps/sppngimagelist.h"
#include "tests/support/SkinImageBitmaps.h"

using vantrel::test::NewBitmap;
using vantrel::test::PixelOf;

namespace {

// A W x H truecolour picture with alpha, every pixel Color with alpha Alpha.
TOwned<TspPngImage> SolidPng(int W, int H, TColor Color, Byte Alpha) {
  TOwned<TspPngImage> png = CreateOwned<TspPngImage>();
  png->CreateBlank(COLOR_RGBALPHA, 8, W, H);
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) {
      png->SetPixels(x, y, Color);
      png->AlphaScanline(y)[x] = Alpha;
    }
  return png;
}

}  // namespace

TEST(PngAlphaLevel, ScalesAlphaByLevelPlusOneOver256HalvesToEven) {
  const Byte alphas[] = {255, 200, 3, 1, 0, 2};
  const Byte expected[] = {128, 100, 2, 0, 0, 1};
  TOwned<TspPngImage> png = CreateOwned<TspPngImage>();
  png->CreateBlank(COLOR_RGBALPHA, 8, 6, 1);
  for (int i = 0; i < 6; ++i) png->AlphaScanline(0)[i] = alphas[i];
  ApplyPngAlphaLevel(png.get(), 127);
  for (int i = 0; i < 6; ++i)
    EXPECT_EQ(png->PixelAlpha(i, 0), expected[i]) << "alpha " << int(alphas[i]);
}

TEST(PngAlphaLevel, PicturesWithoutAlphaChannel) {
  // Truecolour with a transparent colour: that colour 0, the rest 128.
  TOwned<TspPngImage> rgb = CreateOwned<TspPngImage>();
  rgb->CreateBlank(COLOR_RGB, 8, 2, 1);
  rgb->SetPixels(0, 0, clLime);
  rgb->SetPixels(1, 0, clBlue);
  rgb->SetTransparentColor(clLime);
  ApplyPngAlphaLevel(rgb.get(), 127);
  EXPECT_EQ(rgb->PixelAlpha(0, 0), 0);
  EXPECT_EQ(rgb->PixelAlpha(1, 0), 128);
  EXPECT_EQ(rgb->Pixels(1, 0), clBlue);

  // Palette: Level itself outside the transparent entry, colours kept.
  TOwned<TspPngImage> pal = CreateOwned<TspPngImage>();
  pal->CreateBlank(COLOR_PALETTE, 8, 2, 1);
  pal->SetPaletteColors({clRed, clYellow});
  pal->SetPaletteAlpha(0, 0);
  static_cast<Byte*>(pal->Scanline(0))[0] = 0;
  static_cast<Byte*>(pal->Scanline(0))[1] = 1;
  ApplyPngAlphaLevel(pal.get(), 127);
  EXPECT_EQ(pal->PixelAlpha(0, 0), 0);
  EXPECT_EQ(pal->PixelAlpha(1, 0), 127);
  EXPECT_EQ(pal->Pixels(1, 0), clYellow);

  TOwned<TspPngImage> gray = CreateOwned<TspPngImage>();
  gray->CreateBlank(COLOR_GRAYSCALE, 8, 1, 1);
  ApplyPngAlphaLevel(gray.get(), 127);
  EXPECT_EQ(gray->PixelAlpha(0, 0), 127);
}

TEST(PngImageList, ItemsKeepOnePlaceholderEachWithTheirNames) {
  TOwned<TspPngImageList> list = CreateOwned<TspPngImageList>(nullptr);
  list->SetPngWidth(64);
  list->SetPngHeight(64);
  TspPngImageItem* first = list->PngImages()->Add();
  EXPECT_EQ(list->Count(), 1);
  EXPECT_EQ(first->Name(), "PngImage0");
  EXPECT_EQ(first->GetDisplayName(), "PngImage0");
  EXPECT_EQ(list->PngImages()->Add()->Name(), "PngImage1");
  EXPECT_EQ(list->Count(), 2);
  TOwned<TBitmap> image = CreateOwned<TBitmap>();
  ASSERT_TRUE(list->GetBitmap(0, image.get()));
  EXPECT_EQ(image->Width(), 64);
  EXPECT_EQ(image->Height(), 64);

  first->SetName("");
  EXPECT_EQ(first->GetDisplayName(), "TspPngImageItem");

  list->PngImages()->Delete(0);
  EXPECT_EQ(list->Count(), 1);
  EXPECT_EQ(list->PngImages()->Count(), 1);
  EXPECT_THROW(list->PngImages()->GetPngImageItem(1), EListError);
  EXPECT_THROW(list->PngImages()->GetPngImageItem(-1), EListError);
}

TEST(PngImageList, NewSizeRemovesItemsSameSizeKeepsThem) {
  TOwned<TspPngImageList> list = CreateOwned<TspPngImageList>(nullptr);
  list->SetPngWidth(64);
  list->PngImages()->Add();
  list->PngImages()->Add();
  list->SetPngWidth(64);
  EXPECT_EQ(list->PngImages()->Count(), 2);
  EXPECT_EQ(list->Count(), 2);
  list->SetPngWidth(32);
  EXPECT_EQ(list->PngWidth(), 32);
  EXPECT_EQ(list->PngImages()->Count(), 0);
  EXPECT_EQ(list->Count(), 0);
  list->PngImages()->Add();
  list->SetPngHeight(20);
  EXPECT_EQ(list->PngImages()->Count(), 0);
}

TEST(PngImageList, FreeingAnItemBeyondTheImageCountDeletesNoImage) {
  TOwned<TspPngImageList> list = CreateOwned<TspPngImageList>(nullptr);
  list->PngImages()->Add();
  list->PngImages()->Add();
  list->Delete(1);
  ASSERT_EQ(list->Count(), 1);
  list->PngImages()->Delete(1);
  EXPECT_EQ(list->Count(), 1);
  list->PngImages()->Clear();
  EXPECT_EQ(list->Count(), 0);
}

TEST(PngImageList, AssignCopiesPictureAndNameOnlyFromItems) {
  TOwned<TspPngImageList> list = CreateOwned<TspPngImageList>(nullptr);
  TspPngImageItem* a = list->PngImages()->Add();
  TspPngImageItem* b = list->PngImages()->Add();
  a->SetName("play");
  a->SetPngImage(SolidPng(3, 2, clRed, 200).get());
  b->Assign(a);
  EXPECT_EQ(b->Name(), "play");
  EXPECT_EQ(b->PngImage()->Width(), 3);
  EXPECT_EQ(b->PngImage()->PixelAlpha(1, 1), 200);
  EXPECT_THROW(b->Assign(list->PngImages()), EConvertError);

  TOwned<TspPngImageList> copy = CreateOwned<TspPngImageList>(nullptr);
  copy->SetPngImages(list->PngImages());
  EXPECT_EQ(copy->PngImages()->Count(), 2);
  EXPECT_EQ(copy->Count(), 2);
  EXPECT_EQ(copy->PngImages()->GetPngImageItem(1)->Name(), "play");
}

TEST(PngImageList, DrawsByAlphaAndDisabledAtHalfOpacity) {
  TOwned<TspPngImageList> list = CreateOwned<TspPngImageList>(nullptr);
  list->SetPngWidth(4);
  list->SetPngHeight(4);
  TspPngImageItem* item = list->PngImages()->Add();
  TOwned<TspPngImage> png = SolidPng(4, 4, clRed, 255);
  png->AlphaScanline(0)[0] = 0;  // one transparent pixel
  item->SetPngImage(png.get());

  TOwned<TBitmap> canvas = NewBitmap(12, 4, 0xFFFFFF);
  list->Draw(canvas->Canvas(), 0, 0, 0, true);
  list->Draw(canvas->Canvas(), 6, 0, 0, false);
  EXPECT_EQ(PixelOf(*canvas, 1, 1), 0xFF0000u);
  EXPECT_EQ(PixelOf(*canvas, 0, 0), 0xFFFFFFu);
  // Red at alpha 128 over white.
  const uint32_t half = PixelOf(*canvas, 7, 1);
  EXPECT_EQ(half >> 16, 0xFFu);
  EXPECT_NEAR(static_cast<int>(half & 0xFF), 127, 1);
  EXPECT_EQ(PixelOf(*canvas, 6, 0), 0xFFFFFFu);
  // The item's own picture is not changed by drawing.
  EXPECT_EQ(item->PngImage()->PixelAlpha(1, 1), 255);
  // Outside the items nothing is drawn.
  list->Draw(canvas->Canvas(), 0, 0, 5, true);
}
