#include <gtest/gtest.h>

#include <cstring>

#include "platform/win/Gdi.h"
#include "skin/core/bitmaps/spEffBmp_Effects.h"
#include "tests/support/SkinEffectsBitmaps.h"

using namespace skin_effects_test;

namespace {

// 0xRRGGBB of a working bitmap's pixel.
Cardinal RGBAt(const TspBitmap& B, Integer x, Integer y) {
  return B.GetPixelValue(x, y) & 0xFFFFFF;
}

// Distinct pixels: red = 10x, green = 10y, blue = 1.
Cardinal EffectCoded(Integer x, Integer y) {
  return (Cardinal(10 * x) << 16) | (Cardinal(10 * y) << 8) | 1;
}

}  // namespace

TEST(TspEffectBmp, RowsTakeTheSmallestMultipleOfFourBytesAndStartZeroed) {
  const struct {
    Integer Width, Stride;
  } Cases[] = {{1, 4}, {2, 8}, {3, 12}, {4, 12}, {5, 16}, {6, 20}, {7, 24}};
  for (const auto& c : Cases) {
    SCOPED_TRACE(c.Width);
    TOwned<TspEffectBmp> B(TspEffectBmp::Create(c.Width, 3));
    EXPECT_EQ(B->RowStride(), c.Stride);
    EXPECT_EQ(B->Size, c.Stride * 3);
    ASSERT_NE(B->Bits, nullptr);
    ASSERT_NE(B->Handle, nullptr);
    for (Integer i = 0; i < B->Size; ++i) ASSERT_EQ(B->Bits[i], 0);
    EXPECT_EQ(B->BmpHeader.biSize, 40u);
    EXPECT_EQ(B->BmpHeader.biWidth, c.Width);
    EXPECT_EQ(B->BmpHeader.biHeight, -3);
    EXPECT_EQ(B->BmpHeader.biPlanes, 1);
    EXPECT_EQ(B->BmpHeader.biBitCount, 24);
    EXPECT_EQ(B->BmpHeader.biCompression, 0u);
    EXPECT_EQ(B->BmpInfo.bmiHeader.biHeight, -3);
  }
}

TEST(TspEffectBmp, PixelsAreBlueGreenRedInTopDownRows) {
  TOwned<TspEffectBmp> B(TspEffectBmp::Create(5, 2));
  B->SetPixelRGB(2, 1, 0x112233);
  const Byte* p = B->Bits + 16 + 2 * 3;
  EXPECT_EQ(p[0], 0x33);
  EXPECT_EQ(p[1], 0x22);
  EXPECT_EQ(p[2], 0x11);
  EXPECT_EQ(B->GetPixelRGB(2, 1), 0x112233u);
  EXPECT_EQ(B->ScanLinePtr(1), B->Bits + 16);

  Byte Line[15];
  B->GetScanLine(1, Line);
  EXPECT_EQ(Line[6], 0x33);
  B->SetScanLine(0, Line);
  EXPECT_EQ(B->GetPixelRGB(2, 0), 0x112233u);
}

TEST(TspEffectBmp, ZeroOrNegativeSizeGivesAnEmptyBitmapThatEveryOperationAccepts) {
  for (auto [w, h] : {std::pair{0, 4}, std::pair{4, 0}, std::pair{-3, 2}}) {
    TOwned<TspEffectBmp> B(TspEffectBmp::Create(w, h));
    EXPECT_EQ(B->Width, 0);
    EXPECT_EQ(B->Height, 0);
    EXPECT_EQ(B->Bits, nullptr);
    TOwned<TspEffectBmp> Other(TspEffectBmp::Create(4, 4));
    B->Morph(Other.get(), 0.5);
    B->MorphPush(B.get(), 0.5);
    B->CopyRect(Other.get(), Rect(0, 0, 4, 4), 0, 0);
    B->Resize(Other.get());
    B->Wave(1, 1, 3);
    B->Mosaic(2);
    B->GrayScale();
    TOwned<TspEffectBmp> Copy(TspEffectBmp::CreateCopy(B.get()));
    EXPECT_EQ(Copy->Bits, nullptr);
  }
}

TEST(TspEffectBmp, CopyHasItsOwnPixels) {
  auto B = MakeBmp(3, 2, EffectCoded);
  TOwned<TspEffectBmp> C(TspEffectBmp::CreateCopy(B.get()));
  EXPECT_NE(C->Handle, B->Handle);
  EXPECT_EQ(Pixels(*C), Pixels(*B));
  B->SetPixelRGB(0, 0, 0xFFFFFF);
  EXPECT_EQ(C->GetPixelRGB(0, 0), EffectCoded(0, 0));
}

TEST(TspEffectBmp, FromBitmapHandleTakesTheBitmapsPixels) {
  TspBitmap Source;
  Source.SetSize(4, 3);
  for (Integer y = 0; y < 3; ++y)
    for (Integer x = 0; x < 4; ++x) Source.SetPixelValue(x, y, 0xFF000000 | EffectCoded(x, y));
  TOwned<TspEffectBmp> B(TspEffectBmp::CreateFromhWnd(Source.Handle()));
  ASSERT_EQ(B->Width, 4);
  ASSERT_EQ(B->Height, 3);
  for (Integer y = 0; y < 3; ++y)
    for (Integer x = 0; x < 4; ++x) EXPECT_EQ(B->GetPixelRGB(x, y), EffectCoded(x, y)) << x << "," << y;
  // The working bitmap keeps drawing through its own DC.
  EXPECT_EQ(FindBitmapByDC(Source.DC()), &Source);

  TOwned<TspEffectBmp> None(TspEffectBmp::CreateFromhWnd(HBITMAP{}));
  EXPECT_EQ(None->Width, 0);
  EXPECT_EQ(None->Bits, nullptr);
}

TEST(TspEffectBmp, DrawStretchAndDrawRectPutThePixelsOnADeviceContext) {
  auto B = MakeBmp(3, 2, EffectCoded);
  TspBitmap Target;

  Target.SetSize(8, 8);
  B->Draw(Target.DC(), 2, 1);
  for (Integer y = 0; y < 2; ++y)
    for (Integer x = 0; x < 3; ++x) EXPECT_EQ(RGBAt(Target, 2 + x, 1 + y), EffectCoded(x, y));
  EXPECT_EQ(RGBAt(Target, 1, 1), 0u);
  EXPECT_EQ(RGBAt(Target, 5, 1), 0u);

  Target.Clear(0);
  B->Stretch(Target.DC(), 0, 0, 6, 4);
  for (Integer y = 0; y < 4; ++y)
    for (Integer x = 0; x < 6; ++x) EXPECT_EQ(RGBAt(Target, x, y), EffectCoded(x / 2, y / 2));

  // The 2 x 2 part at (1, 0) unscaled at (4, 5).
  auto Big = MakeBmp(4, 3, EffectCoded);
  Target.Clear(0);
  Big->DrawRect(Target.DC(), 4, 5, 1, 0, 2, 2);
  for (Integer y = 0; y < 2; ++y)
    for (Integer x = 0; x < 2; ++x) EXPECT_EQ(RGBAt(Target, 4 + x, 5 + y), EffectCoded(1 + x, y));
  EXPECT_EQ(RGBAt(Target, 6, 5), 0u);
  EXPECT_EQ(RGBAt(Target, 4, 7), 0u);
}

TEST(TspEffectBmp, ResizeEnlargesByBlockCopies) {
  // kx = ky = 1.5: each source pixel covers rnd(1.5) + 1 = 3 columns and rows from
  // rnd(x * 1.5), the next pixel overwriting the overlap; nothing is written past Dst.
  auto B = MakeBmp(2, 2, EffectCoded);
  auto Dst = Solid(4, 4, 0x777777);
  B->Resize(Dst.get());
  const Image Expected = {{EffectCoded(0, 0), EffectCoded(0, 0), EffectCoded(1, 0), EffectCoded(1, 0)},
                          {EffectCoded(0, 0), EffectCoded(0, 0), EffectCoded(1, 0), EffectCoded(1, 0)},
                          {EffectCoded(0, 1), EffectCoded(0, 1), EffectCoded(1, 1), EffectCoded(1, 1)},
                          {EffectCoded(0, 1), EffectCoded(0, 1), EffectCoded(1, 1), EffectCoded(1, 1)}};
  EXPECT_EQ(Pixels(*Dst), Expected);
}

TEST(TspEffectBmp, CopyRectTakesInclusiveEdgesLimitedToTheBitmap) {
  auto Src = MakeBmp(4, 4, EffectCoded);
  {
    SCOPED_TRACE("whole bitmap");
    auto B = Solid(4, 4, 0);
    B->CopyRect(Src.get(), Rect(0, 0, 4, 4), 0, 0);
    EXPECT_EQ(Pixels(*B), Pixels(*Src));
  }
  {
    SCOPED_TRACE("(1, 1, 2, 2) is 2 x 2 pixels, from (2, 0)");
    auto B = Solid(4, 4, 0);
    B->CopyRect(Src.get(), Rect(1, 1, 2, 2), 2, 0);
    const Image Expected = {{0, 0, 0, 0},
                            {0, EffectCoded(2, 0), EffectCoded(3, 0), 0},
                            {0, EffectCoded(2, 1), EffectCoded(3, 1), 0},
                            {0, 0, 0, 0}};
    EXPECT_EQ(Pixels(*B), Expected);
  }
  {
    SCOPED_TRACE("source area reaching past the source");
    auto B = Solid(4, 4, 0);
    // Columns -2 and -1 are outside the bitmap; columns 2 and 3 would read source
    // columns 4 and 5: all of them are skipped.
    B->CopyRect(Src.get(), Rect(-2, 0, 3, 0), 0, 3);
    EXPECT_EQ(Row(*B, 0), (std::vector<Cardinal>{EffectCoded(2, 3), EffectCoded(3, 3), 0, 0}));
    EXPECT_EQ(Row(*B, 1), (std::vector<Cardinal>{0, 0, 0, 0}));
  }
}
