// TFormatConverter (pictures to RGB and bitmaps and back) and the vertical deinterlacer.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "media/AVUtilAPI.h"
#include "media/FFLoad.h"
#include "media/FFUtils.h"

using namespace vantrel::media;

namespace {

class ConverterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(FFLoader().Load(DecoderLibraries)) << FFLoader().LastErrMsg();
    Conv = CreateOwned<TFormatConverter>();
  }
  void TearDown() override {
    Conv.reset();
    FFLoader().Unload(DecoderLibraries);
  }
  TOwned<TFormatConverter> Conv;
};

// A planar picture in its own buffer, every sample of plane P set to AValues[P].
struct TTestPicture {
  std::vector<uint8_t> Buffer;
  AVPicture Pic;
  TTestPicture(AVPixelFormat AFormat, int AWidth, int AHeight, std::vector<uint8_t> AValues) {
    Buffer.resize(static_cast<size_t>(ff::av_image_get_buffer_size(AFormat, AWidth, AHeight, 1)));
    ff::av_image_fill_arrays(Pic.data, Pic.linesize, Buffer.data(), AFormat, AWidth, AHeight, 1);
    const AVPixFmtDescriptor* D = ff::av_pix_fmt_desc_get(AFormat);
    for (size_t P = 0; P < AValues.size(); ++P) {
      const int Rows = P == 0 ? AHeight : -((-AHeight) >> D->log2_chroma_h);
      std::memset(Pic.data[P], AValues[P], static_cast<size_t>(Pic.linesize[P]) * Rows);
    }
  }
};

}  // namespace

TEST_F(ConverterTest, RedYuvPictureBecomesAnUprightRedBitmap) {
  // Width 350: rows of 1050 pixel bytes, 1052 in the bitmap (the RGB picture's rows are
  // aligned further for the scaler).
  TTestPicture Red(AV_PIX_FMT_YUV420P, 350, 240, {81, 90, 240});
  // A darker first line tells up from down.
  std::memset(Red.Pic.data[0], 16, 350);
  ASSERT_TRUE(Conv->PictureToRGB(Red.Pic, AV_PIX_FMT_YUV420P, 350, 240, true)) << Conv->LastErrMsg();
  EXPECT_EQ(Conv->RGBPictureRef(), Conv->RGBPicture());
  EXPECT_GE(Conv->RGBPicture()->linesize[0], 1050);
  EXPECT_EQ(Conv->RGBPicture()->linesize[0] % 4, 0);
  EXPECT_EQ(Conv->DIB()->bmWidth, 350);
  EXPECT_EQ(Conv->DIB()->bmHeight, 240);
  EXPECT_EQ(Conv->DIB()->bmWidthBytes, Conv->RGBPicture()->linesize[0]);
  EXPECT_EQ(Conv->DIB()->bmBitsPixel, 24);
  TBitmap* B = Conv->Bitmap();
  ASSERT_EQ(B->Width(), 350);
  ASSERT_EQ(B->Height(), 240);
  EXPECT_EQ(B->PixelFormat(), pf24bit);
  for (int Y = 1; Y < 240; Y += 13) {
    const uint8_t* Row = static_cast<const uint8_t*>(B->ScanLine(Y));
    for (int X = 0; X < 350; X += 7) {
      SCOPED_TRACE(testing::Message() << X << "," << Y);
      // Bitmap rows are blue, green, red.
      ASSERT_LE(std::abs(Row[3 * X + 2] - 255), 2);
      ASSERT_LE(Row[3 * X + 1], 2);
      ASSERT_LE(Row[3 * X], 2);
    }
  }
  const uint8_t* Top = static_cast<const uint8_t*>(B->ScanLine(0));
  EXPECT_LT(Top[3 * 349 + 2], 200) << "the first line is on top";
}

TEST_F(ConverterTest, AlignedEvenBgrPictureIsUsedWithoutCopying) {
  // 24 bits: a width of 8 gives rows of 24 bytes, already whole words.
  TTestPicture Bgr(AV_PIX_FMT_BGR24, 8, 6, {0x40});
  ASSERT_TRUE(Conv->PictureToRGB(Bgr.Pic, AV_PIX_FMT_BGR24, 8, 6, true));
  ASSERT_NE(Conv->RGBPictureRef(), Conv->RGBPicture());
  EXPECT_EQ(Conv->RGBPictureRef()->data[0], Bgr.Pic.data[0]);
  EXPECT_EQ(Conv->DIB()->bmBits, Bgr.Pic.data[0]);
  EXPECT_EQ(static_cast<const uint8_t*>(Conv->Bitmap()->ScanLine(5))[23], 0x40);
  // Odd sizes, or rows that are not a bitmap's, always go through the scaler.
  const struct {
    int W, H;
  } Sizes[] = {{7, 6}, {8, 5}, {6, 6}};
  for (const auto& S : Sizes) {
    SCOPED_TRACE(testing::Message() << S.W << "x" << S.H);
    TTestPicture P(AV_PIX_FMT_BGR24, S.W, S.H, {0x40});
    ASSERT_TRUE(Conv->PictureToRGB(P.Pic, AV_PIX_FMT_BGR24, S.W, S.H, true));
    EXPECT_EQ(Conv->RGBPictureRef(), Conv->RGBPicture());
    EXPECT_EQ(static_cast<const uint8_t*>(Conv->Bitmap()->ScanLine(S.H - 1))[3 * S.W - 1], 0x40);
  }
}

TEST_F(ConverterTest, BitsPixelSelectsTheBitmapFormatAndForgetsThePicture) {
  const struct {
    int Bits;
    int ReadBack;
    TPixelFormat Format;
    AVPixelFormat AV;
  } Cases[] = {{8, 8, pf8bit, AV_PIX_FMT_BGR8},
               {15, 16, pf15bit, AV_PIX_FMT_BGR555LE},
               {16, 16, pf16bit, AV_PIX_FMT_BGR565LE},
               {32, 32, pf32bit, AV_PIX_FMT_BGRA},
               {24, 24, pf24bit, AV_PIX_FMT_BGR24}};
  TTestPicture Grey(AV_PIX_FMT_YUV420P, 16, 16, {128, 128, 128});
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Bits);
    ASSERT_TRUE(Conv->PictureToRGB(Grey.Pic, AV_PIX_FMT_YUV420P, 16, 16, true));
    Conv->SetBitsPixel(C.Bits);
    EXPECT_EQ(Conv->BitsPixel(), C.ReadBack);
    EXPECT_EQ(Conv->BMPPixFmt(), C.Format);
    EXPECT_EQ(Conv->AVPixFmt(), C.AV);
    EXPECT_EQ(Conv->Bitmap()->PixelFormat(), C.Format);
    EXPECT_EQ(Conv->RGBPictureRef(), nullptr);
    EXPECT_THROW(Conv->RGBToBitmap(), EInvalidOperation);
  }
  try {
    Conv->SetBitsPixel(12);
    ADD_FAILURE() << "no exception";
  } catch (const Exception& E) {
    EXPECT_EQ(E.Message(), "Invalid BitsPixel 12");
  }
  EXPECT_EQ(Conv->BitsPixel(), 24);
}

TEST_F(ConverterTest, BitmapChangesGoBackIntoThePicture) {
  Conv->SetBitsPixel(32);
  TTestPicture Grey(AV_PIX_FMT_YUV420P, 20, 10, {126, 128, 128});
  ASSERT_TRUE(Conv->PictureToRGB(Grey.Pic, AV_PIX_FMT_YUV420P, 20, 10, true));
  // Paint the bitmap's top half white, then back into RGB and into a YUV picture.
  for (int Y = 0; Y < 4; ++Y) std::memset(Conv->Bitmap()->ScanLine(Y), 0xFF, 20 * 4);
  Conv->BitmapToRGB();
  TTestPicture Out(AV_PIX_FMT_YUV420P, 20, 10, {0, 0, 0});
  ASSERT_TRUE(Conv->RGBToPicture(Out.Pic, AV_PIX_FMT_YUV420P, 20, 10)) << Conv->LastErrMsg();
  EXPECT_GE(Out.Pic.data[0][0], 233);
  EXPECT_NEAR(Out.Pic.data[0][9 * Out.Pic.linesize[0] + 19], 126, 3);
  EXPECT_NEAR(Out.Pic.data[1][0], 128, 2);
}

TEST(Deinterlace, KeepsEvenLinesAndFiltersOddOnes) {
  // 8x8 grey picture whose lines hold their own number squared, and 4x4 chroma planes.
  constexpr int W = 8, H = 8;
  std::vector<uint8_t> Src(W * H + 2 * 16), Dst(Src.size(), 0);
  for (int Y = 0; Y < H; ++Y) std::memset(&Src[Y * W], Y * Y * 3, W);
  for (int I = 0; I < 32; ++I) Src[W * H + I] = static_cast<uint8_t>(I * 7);
  auto Planes = [](std::vector<uint8_t>& B) {
    AVPicture P;
    P.data[0] = B.data();
    P.data[1] = B.data() + W * H;
    P.data[2] = B.data() + W * H + 16;
    P.linesize[0] = W;
    P.linesize[1] = P.linesize[2] = 4;
    return P;
  };
  AVPicture S = Planes(Src), D = Planes(Dst);
  ASSERT_EQ(DeinterlacePicture(D, S, AV_PIX_FMT_YUV420P, W, H), 0);
  auto Line = [&](int Y) { return static_cast<int>(Src[std::clamp(Y, 0, H - 1) * W]); };
  for (int Y = 0; Y < H; ++Y) {
    const int Expected =
        Y % 2 == 0 ? Line(Y)
                   : std::clamp((-Line(Y - 2) + 4 * Line(Y - 1) + 2 * Line(Y) + 4 * Line(Y + 1) -
                                 Line(Y + 2) + 4) >> 3,
                                0, 255);
    EXPECT_EQ(Dst[Y * W + 3], Expected) << "line " << Y;
  }
  // Chroma 4x4: line 1 of U from U lines 0, 0, 1, 2, 3.
  const auto U = [&](int Y) { return static_cast<int>(Src[W * H + std::clamp(Y, 0, 3) * 4]); };
  EXPECT_EQ(Dst[W * H + 4], (-U(0) + 4 * U(0) + 2 * U(1) + 4 * U(2) - U(3) + 4) >> 3);
  // In place gives the same picture.
  AVPicture Same = Planes(Src);
  ASSERT_EQ(DeinterlacePicture(Same, Same, AV_PIX_FMT_YUV420P, W, H), 0);
  EXPECT_EQ(Src, Dst);
  // Formats it cannot handle, and sizes that are not multiples of 4.
  EXPECT_EQ(DeinterlacePicture(D, S, AV_PIX_FMT_NV12, W, H), -1);
  EXPECT_EQ(DeinterlacePicture(D, S, AV_PIX_FMT_YUV420P, 6, H), -1);
  EXPECT_EQ(DeinterlacePicture(D, S, AV_PIX_FMT_YUV420P, W, 6), -1);
}
