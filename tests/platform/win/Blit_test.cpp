// BitBlt, StretchBlt, TransparentBlt and PatBlt: raster operations, the nearest-pixel
// rule, key colours, monochrome conversion, clipping with moved origins.
#include <gtest/gtest.h>

#include "platform/win/GdiInternal.h"
#include "tests/platform/win/RasterTestUtil.h"

using namespace raster_test;

namespace {

// A one-row canvas holding the given pixels.
void SetRow(Canvas& Cv, std::initializer_list<uint32_t> Pixels, int Y = 0) {
  int x = 0;
  for (uint32_t P : Pixels) Cv.At(x++, Y) = P;
}

std::vector<uint32_t> Row(Canvas& Cv, int Y = 0) {
  std::vector<uint32_t> R;
  for (int x = 0; x < Cv.W; ++x) R.push_back(Cv.At(x, Y) & 0xFFFFFF);
  return R;
}

constexpr uint32_t A = 0x111111, B = 0x222222, C = 0x333333, D = 0x444444, W = kWhite;

}  // namespace

// COLORONCOLOR takes, for each destination pixel, the source pixel under its centre:
// destination i of N samples source floor((2i + 1) * M / (2N)) of M.
TEST(Blit, StretchBltPicksTheNearestPixel) {
  struct Case {
    const char* Name;
    std::vector<uint32_t> Src;
    int DestX, DestW;
    std::vector<uint32_t> Expected;
  };
  const Case Cases[] = {
      {"2 to 4", {A, B}, 0, 4, {A, A, B, B}},
      {"4 to 2", {A, B, C, D}, 0, 2, {B, D, W, W}},
      {"3 to 2", {A, B, C}, 0, 2, {A, C, W, W}},
      {"4 to 4 mirrored", {A, B, C, D}, 4, -4, {D, C, B, A}},
  };
  for (const auto& K : Cases) {
    SCOPED_TRACE(K.Name);
    Canvas Src(static_cast<int>(K.Src.size()), 1), Dst(4, 1);
    for (size_t i = 0; i < K.Src.size(); ++i) Src.At(static_cast<int>(i), 0) = K.Src[i];
    SetStretchBltMode(Dst.Dc, COLORONCOLOR);
    EXPECT_TRUE(StretchBlt(Dst.Dc, K.DestX, 0, K.DestW, 1, Src.Dc, 0, 0, Src.W, 1, SRCCOPY));
    EXPECT_EQ(Row(Dst), K.Expected);
  }
}

TEST(Blit, StretchBltScalesRowsAlike) {
  Canvas Src(2, 2), Dst(4, 4);
  SetRow(Src, {A, B}, 0);
  SetRow(Src, {C, D}, 1);
  StretchBlt(Dst.Dc, 0, 0, 4, 4, Src.Dc, 0, 0, 2, 2, SRCCOPY);
  EXPECT_EQ(Row(Dst, 0), (std::vector<uint32_t>{A, A, B, B}));
  EXPECT_EQ(Row(Dst, 1), (std::vector<uint32_t>{A, A, B, B}));
  EXPECT_EQ(Row(Dst, 2), (std::vector<uint32_t>{C, C, D, D}));
  EXPECT_EQ(Row(Dst, 3), (std::vector<uint32_t>{C, C, D, D}));
}

TEST(Blit, TransparentBltSkipsTheKeyColour) {
  constexpr uint32_t Key = 0xFF00FF;
  Canvas Src(3, 1), Dst(6, 2, kBlue);
  SetRow(Src, {A, Key, B});
  EXPECT_TRUE(TransparentBlt(Dst.Dc, 0, 0, 3, 1, Src.Dc, 0, 0, 3, 1, RGB(255, 0, 255)));
  EXPECT_EQ(Row(Dst, 0), (std::vector<uint32_t>{A, kBlue, B, kBlue, kBlue, kBlue}));
  // Stretched, the key is tested on the source pixel each destination pixel samples.
  EXPECT_TRUE(TransparentBlt(Dst.Dc, 0, 1, 6, 1, Src.Dc, 0, 0, 3, 1, RGB(255, 0, 255)));
  EXPECT_EQ(Row(Dst, 1), (std::vector<uint32_t>{A, A, kBlue, kBlue, B, B}));
  EXPECT_FALSE(TransparentBlt(Dst.Dc, 0, 0, -3, 1, Src.Dc, 0, 0, 3, 1, 0));
}

TEST(Blit, RasterOperationsCombinePatternSourceAndDestination) {
  constexpr uint32_t S = 0x0F0F33, Dd = 0x00FF55, P = 0x3C3C0F;
  struct Case {
    const char* Name;
    DWORD Rop;
    uint32_t Expected;
  };
  const Case Cases[] = {
      {"SRCCOPY", SRCCOPY, S},
      {"SRCAND", SRCAND, S & Dd},
      {"SRCPAINT", SRCPAINT, S | Dd},
      {"SRCINVERT", SRCINVERT, S ^ Dd},
      {"SRCERASE", SRCERASE, S & ~Dd & 0xFFFFFF},
      {"NOTSRCCOPY", NOTSRCCOPY, ~S & 0xFFFFFF},
      {"MERGECOPY", MERGECOPY, P & S},
      {"MERGEPAINT", MERGEPAINT, (~S | Dd) & 0xFFFFFF},
      {"PATCOPY", PATCOPY, P},
      {"PATINVERT", PATINVERT, P ^ Dd},
      {"DSTINVERT", DSTINVERT, ~Dd & 0xFFFFFF},
      {"BLACKNESS", BLACKNESS, 0},
      {"WHITENESS", WHITENESS, 0xFFFFFF},
  };
  for (const auto& K : Cases) {
    SCOPED_TRACE(K.Name);
    Canvas Src(1, 1, S), Dst(1, 1, Dd);
    HBRUSH Br = CreateSolidBrush(vantrel::win::ColorOfPixel(P));
    SelectObject(Dst.Dc, Br);
    EXPECT_TRUE(BitBlt(Dst.Dc, 0, 0, 1, 1, Src.Dc, 0, 0, K.Rop));
    EXPECT_EQ(Dst.At(0, 0) & 0xFFFFFF, K.Expected);
    SelectObject(Dst.Dc, GetStockObject(WHITE_BRUSH));
    DeleteObject(Br);
  }
}

TEST(Blit, SrcCopyKeepsTheSourceAlpha) {
  Canvas Src(1, 1, 0x80123456), Dst(1, 1, 0);
  BitBlt(Dst.Dc, 0, 0, 1, 1, Src.Dc, 0, 0, SRCCOPY);
  EXPECT_EQ(Dst.At(0, 0), 0x80123456u);
}

TEST(Blit, MonochromeBitmapsUseTextAndBackgroundColours) {
  // Source bits 0,1 -> the destination's text and background colours.
  const uint8_t Bits[2] = {0x40, 0};
  HBITMAP Mono = CreateBitmap(2, 1, 1, 1, Bits);
  HDC MonoDc = CreateCompatibleDC(nullptr);
  HGDIOBJ Old = SelectObject(MonoDc, Mono);
  Canvas Dst(2, 1);
  SetTextColor(Dst.Dc, RGB(255, 0, 0));
  SetBkColor(Dst.Dc, RGB(0, 255, 0));
  BitBlt(Dst.Dc, 0, 0, 2, 1, MonoDc, 0, 0, SRCCOPY);
  EXPECT_EQ(Row(Dst), (std::vector<uint32_t>{kRed, kGreen}));

  // Colour to monochrome: the source's background colour becomes white, the rest black.
  Canvas Src(2, 1);
  SetRow(Src, {kBlue, kRed});
  SetBkColor(Src.Dc, RGB(0, 0, 255));
  BitBlt(MonoDc, 0, 0, 2, 1, Src.Dc, 0, 0, SRCCOPY);
  EXPECT_EQ(GetPixel(MonoDc, 0, 0), RGB(255, 255, 255));
  EXPECT_EQ(GetPixel(MonoDc, 1, 0), RGB(0, 0, 0));
  SelectObject(MonoDc, Old);
  DeleteDC(MonoDc);
  DeleteObject(Mono);
}

TEST(Blit, OverlappingCopyWithinOneBitmapScrolls) {
  Canvas Cv(6, 1);
  SetRow(Cv, {1, 2, 3, 4, 5, 6});
  BitBlt(Cv.Dc, 1, 0, 5, 1, Cv.Dc, 0, 0, SRCCOPY);
  EXPECT_EQ(Row(Cv), (std::vector<uint32_t>{1, 1, 2, 3, 4, 5}));
  BitBlt(Cv.Dc, 0, 0, 5, 1, Cv.Dc, 1, 0, SRCCOPY);
  EXPECT_EQ(Row(Cv), (std::vector<uint32_t>{1, 2, 3, 4, 5, 5}));
}

// A block copied within one bitmap reads the pixels as they were before the copy, whether
// the two areas are apart or overlap in any direction.
TEST(Blit, CopiesWithinOneBitmapReadThePixelsAsTheyWereBefore) {
  struct Case {
    const char* Name;
    int X, Y, XSrc, YSrc;  // a 2 x 2 block
    std::vector<std::string> Expected;
  } Cases[] = {
      {"apart", 2, 2, 0, 0, {"AB..", "CD..", "..AB", "..CD"}},
      {"down right, overlapping", 1, 1, 0, 0, {"AB..", "CAB.", ".CD.", "...."}},
      {"up left, overlapping", 0, 0, 1, 1, {"D...", "....", "....", "...."}},
      {"beside, overlapping", 1, 0, 0, 0, {"AAB.", "CCD.", "....", "...."}},
      {"below, overlapping", 0, 1, 0, 0, {"AB..", "AB..", "CD..", "...."}},
  };
  for (const Case& K : Cases) {
    SCOPED_TRACE(K.Name);
    Canvas Cv(4, 4);
    Cv.At(0, 0) = A, Cv.At(1, 0) = B, Cv.At(0, 1) = C, Cv.At(1, 1) = D;
    BitBlt(Cv.Dc, K.X, K.Y, 2, 2, Cv.Dc, K.XSrc, K.YSrc, SRCCOPY);
    EXPECT_EQ(Cv.Picture({{A, 'A'}, {B, 'B'}, {C, 'C'}, {D, 'D'}}), K.Expected);
  }
}

// A plain copy keeps the picture upright between bitmaps stored top-down and bottom-up in
// any pairing, and rows the source does not have leave the destination as it was.
TEST(Blit, PlainCopiesKeepThePictureUprightWhateverTheRowOrder) {
  for (const bool SrcBottomUp : {false, true})
    for (const bool DstBottomUp : {false, true}) {
      SCOPED_TRACE(testing::Message() << "source " << (SrcBottomUp ? "bottom-up" : "top-down") << ", destination "
                                      << (DstBottomUp ? "bottom-up" : "top-down"));
      Canvas Src(3, 5, kWhite, SrcBottomUp), Dst(4, 5, kWhite, DstBottomUp);
      SetRow(Src, {A, B, C}, 0);
      SetRow(Src, {D, A, B}, 1);
      SetRow(Src, {C, D, A}, 2);
      SetRow(Src, {B, C, D}, 3);
      SetRow(Src, {D, D, D}, 4);
      BitBlt(Dst.Dc, 1, 0, 2, 3, Src.Dc, 1, -1, SRCCOPY);  // source rows -1 .. 1
      BitBlt(Dst.Dc, 1, 3, 2, 2, Src.Dc, 1, 4, SRCCOPY);   // source rows 4 .. 5
      EXPECT_EQ(Dst.Picture({{A, 'A'}, {B, 'B'}, {C, 'C'}, {D, 'D'}}),
                (std::vector<std::string>{"....", ".BC.", ".AB.", ".DD.", "...."}));
    }
}

TEST(Blit, SourceOutsideItsBitmapLeavesTheDestination) {
  Canvas Src(2, 1), Dst(4, 1, kBlue);
  SetRow(Src, {A, B});
  BitBlt(Dst.Dc, 0, 0, 4, 1, Src.Dc, -1, 0, SRCCOPY);
  EXPECT_EQ(Row(Dst), (std::vector<uint32_t>{kBlue, A, B, kBlue}));
}

// Clip rectangles are given in logical coordinates and kept in device coordinates, so
// origins moved afterwards move the drawing but not the clip.
TEST(Blit, ClipFollowsWindowAndViewportOrigins) {
  Canvas Cv(8, 6);
  SetWindowOrgEx(Cv.Dc, 2, 0, nullptr);    // logical x 2 -> device 0
  SetViewportOrgEx(Cv.Dc, 0, 1, nullptr);  // logical y 0 -> device 1
  EXPECT_EQ(IntersectClipRect(Cv.Dc, 2, 0, 7, 3), SIMPLEREGION);  // device (0,1)-(5,4)
  EXPECT_EQ(ExcludeClipRect(Cv.Dc, 4, 1, 5, 2), COMPLEXREGION);   // device (2,2)
  RECT Box;
  EXPECT_EQ(GetClipBox(Cv.Dc, &Box), COMPLEXREGION);
  EXPECT_EQ(Box, (RECT{2, 0, 7, 3}));
  RECT All{-100, -100, 100, 100};
  FillRect(Cv.Dc, &All, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  EXPECT_PICTURE(Cv.Picture(kBlack), "........", "#####...", "##.##...", "#####...", "........", "........");

  // Moving the window origin shifts what is drawn, the clip stays put on the device.
  Canvas Cv2(8, 6);
  IntersectClipRect(Cv2.Dc, 0, 0, 4, 4);
  SetWindowOrgEx(Cv2.Dc, -2, -2, nullptr);  // logical (0,0) -> device (2,2)
  RECT R{0, 0, 3, 3};
  FillRect(Cv2.Dc, &R, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  EXPECT_PICTURE(Cv2.Picture(kBlack), "........", "........", "..##....", "..##....", "........", "........");
}

TEST(Blit, SelectedClipRegionIsInDeviceCoordinates) {
  Canvas Src(4, 4, kRed), Dst(6, 4);
  HRGN Rgn = CreateRectRgn(1, 1, 3, 3);
  SetViewportOrgEx(Dst.Dc, 1, 0, nullptr);
  EXPECT_EQ(SelectClipRgn(Dst.Dc, Rgn), SIMPLEREGION);
  DeleteObject(Rgn);  // the DC keeps its own copy
  BitBlt(Dst.Dc, 0, 0, 4, 4, Src.Dc, 0, 0, SRCCOPY);
  EXPECT_PICTURE(Dst.Picture(kRed), "......", ".##...", ".##...", "......");
  // Removing the clip lets the whole blit through.
  SelectClipRgn(Dst.Dc, nullptr);
  BitBlt(Dst.Dc, 0, 0, 4, 4, Src.Dc, 0, 0, SRCCOPY);
  EXPECT_PICTURE(Dst.Picture(kRed), ".####.", ".####.", ".####.", ".####.");
}

TEST(Blit, PatBltPaintsTheBrush) {
  Canvas Cv(4, 2, 0x00FF00);
  SelectObject(Cv.Dc, GetStockObject(BLACK_BRUSH));
  EXPECT_TRUE(PatBlt(Cv.Dc, 1, 0, 2, 1, PATCOPY));
  EXPECT_TRUE(PatBlt(Cv.Dc, 0, 1, 4, 1, DSTINVERT));
  EXPECT_FALSE(PatBlt(Cv.Dc, 0, 0, 1, 1, SRCCOPY));  // needs a source
  EXPECT_PICTURE(Cv.Picture({{kBlack, '#'}, {kGreen, 'g'}, {0xFF00FF, 'm'}}), "g##g", "mmmm");
}

TEST(Blit, BlitFromAStaleDcFails) {
  Canvas Dst(2, 2);
  HDC Gone = CreateCompatibleDC(nullptr);
  DeleteDC(Gone);
  EXPECT_FALSE(BitBlt(Dst.Dc, 0, 0, 2, 2, Gone, 0, 0, SRCCOPY));
  EXPECT_FALSE(DeleteDC(Gone));
  // A raster operation without a source does not need one.
  EXPECT_TRUE(BitBlt(Dst.Dc, 0, 0, 2, 2, Gone, 0, 0, BLACKNESS));
}
