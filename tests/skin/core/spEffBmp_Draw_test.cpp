#include <gtest/gtest.h>

#include <vector>

#include "platform/ui/Graphics.h"
#include "skin/core/bitmaps/spEffBmp.h"

namespace {

// Pixel value that names its column and row: opaque, red = x, green = y.
constexpr TspColor At(Integer X, Integer Y) { return 0xFF000000u | (X << 16) | (Y << 8); }

void Paint(TspBitmap& B) {
  for (Integer y = 0; y < B.Height(); ++y)
    for (Integer x = 0; x < B.Width(); ++x) B.SetPixelValue(x, y, At(x, y));
}

// Source columns of one destination row, read back from the red byte.
std::vector<Integer> Columns(const std::vector<TspColor>& Row) {
  std::vector<Integer> cols;
  for (TspColor c : Row) cols.push_back(static_cast<Integer>((c >> 16) & 0xFF));
  return cols;
}

std::vector<TspColor> RowOf(TspBitmap& B, Integer Y) {
  return std::vector<TspColor>(B.GetScanLinePtr(Y), B.GetScanLinePtr(Y) + B.Width());
}

// A 32-bit bottom-up DIB section selected into a memory DC, as the tiling path finds it.
struct BottomUpDib {
  HDC DC = nullptr;
  HBITMAP Bitmap = nullptr;
  TspColor* Bits = nullptr;
  Integer Width, Height;
  BottomUpDib(Integer W, Integer H) : Width(W), Height(H) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = W;
    info.bmiHeader.biHeight = H;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    Bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    Bits = static_cast<TspColor*>(bits);
    DC = CreateCompatibleDC(nullptr);
    SelectObject(DC, Bitmap);
  }
  ~BottomUpDib() {
    DeleteDC(DC);
    DeleteObject(Bitmap);
  }
  TspColor Pixel(Integer X, Integer Y) const { return Bits[(Height - 1 - Y) * Width + X]; }
};

}  // namespace

TEST(TspBitmapDraw, UnscaledDrawCopiesExactlyTheSourceArea) {
  TspBitmap src, dst;
  src.SetSize(10, 10);
  Paint(src);
  dst.SetSize(20, 20);
  dst.Clear(0x11111111);
  src.Draw(&dst, 3, 4);
  for (Integer y = 0; y < 20; ++y)
    for (Integer x = 0; x < 20; ++x) {
      const bool inside = x >= 3 && x <= 12 && y >= 4 && y <= 13;
      ASSERT_EQ(dst.GetPixelValue(x, y), inside ? At(x - 3, y - 4) : 0x11111111u) << x << "," << y;
    }
}

TEST(TspBitmapDraw, TransparentDrawSkipsKeyPixelsAndMakesTheOthersOpaque) {
  TspBitmap src, dst;
  src.SetSize(3, 1);
  src.SetPixelValue(0, 0, 0x00102030);
  src.SetPixelValue(1, 0, 0xFF7F007F);
  src.SetPixelValue(2, 0, 0x407F007F);
  src.SetTransparent(true);
  dst.SetSize(3, 1);
  dst.Clear(0x55555555);
  src.Draw(&dst, 0, 0);
  EXPECT_EQ(RowOf(dst, 0), (std::vector<TspColor>{0xFF102030, 0x55555555, 0x55555555}));

  // Stretched, the keyed worker gives the same rule.
  dst.SetSize(6, 2);
  dst.Clear(0x55555555);
  src.Draw(&dst, Rect(0, 0, 6, 2));
  EXPECT_EQ(dst.GetPixelValue(0, 1), 0xFF102030u);
  EXPECT_EQ(dst.GetPixelValue(5, 1), 0x55555555u);
}

TEST(TspBitmapDraw, AlphaBlendDrawBlendsWithTheKernelTable) {
  TspBitmap src, dst;
  src.SetSize(2, 1);
  src.SetPixelValue(0, 0, 0x80FF0000);
  src.SetPixelValue(1, 0, 0x00FFFFFF);
  src.SetAlphaBlend(true);
  dst.SetSize(2, 1);
  dst.Clear(0xFF0000FF);
  src.Draw(&dst, 0, 0);
  EXPECT_EQ(dst.GetPixelValue(0, 0), PixelKernels.BlendPixel(0x80FF0000, 0xFF0000FF));
  EXPECT_EQ(dst.GetPixelValue(1, 0), 0xFF0000FFu);
}

TEST(TspBitmapDraw, StretchIndexTablesTruncateForBitmapsAndRoundForDibs) {
  TspBitmap src;
  src.SetSize(2, 1);
  Paint(src);

  TspBitmap dst;
  dst.SetSize(4, 1);
  src.Draw(&dst, Rect(0, 0, 4, 1));
  EXPECT_EQ(Columns(RowOf(dst, 0)), (std::vector<Integer>{0, 0, 0, 1}));  // ratio 1/3, truncated

  BottomUpDib dib(4, 1);
  DrawRoutines.DIBCopy(dib.Bits, Rect(0, 0, 4, 1), Rect(0, 0, 4, 1), 4, 1, &src, Rect(0, 0, 2, 1));
  std::vector<TspColor> row(dib.Bits, dib.Bits + 4);
  EXPECT_EQ(Columns(row), (std::vector<Integer>{0, 0, 1, 1}));  // 0.667 rounds to 1

  // Rows follow the same rules.
  TspBitmap tall;
  tall.SetSize(1, 2);
  Paint(tall);
  TspBitmap column;
  column.SetSize(1, 4);
  tall.Draw(&column, Rect(0, 0, 1, 4));
  EXPECT_EQ(column.GetPixelValue(0, 2), At(0, 0));
  EXPECT_EQ(column.GetPixelValue(0, 3), At(0, 1));
}

TEST(TspBitmapDraw, OnePixelDestinationTakesTheMiddleSourcePixel) {
  TspBitmap src, dst;
  src.SetSize(6, 5);
  Paint(src);
  dst.SetSize(1, 1);
  src.Draw(&dst, Rect(0, 0, 1, 1), Rect(1, 0, 6, 5));
  EXPECT_EQ(dst.GetPixelValue(0, 0), At(3, 2));  // (1 + 6 - 1) div 2, (0 + 5 - 1) div 2
}

TEST(TspBitmapDraw, SourceRectangleOutsideTheSourceDrawsNothing) {
  TspBitmap src, dst;
  src.SetSize(4, 4);
  Paint(src);
  dst.SetSize(8, 8);
  dst.Clear(0x22222222);
  for (const TRect& r : {Rect(0, 0, 5, 4), Rect(-1, 0, 3, 3), Rect(0, 2, 4, 5), Rect(2, 2, 2, 4)}) {
    SCOPED_TRACE(testing::Message() << r.Left << "," << r.Top << "," << r.Right << "," << r.Bottom);
    src.Draw(&dst, Rect(0, 0, 8, 8), r);
    src.Draw(&dst, 0, 0, r);
    for (Integer i = 0; i < 64; ++i) ASSERT_EQ(dst.Bits()[i], 0x22222222u);
  }
}

TEST(TspBitmapDraw, ClippedStretchTakesEachPixelFromItsUndisturbedPlace) {
  TspBitmap src;
  src.SetSize(4, 2);
  Paint(src);
  // Reference: 4 -> 8 columns fully inside an 8-pixel DIB.
  BottomUpDib whole(8, 2), cut(8, 2);
  DrawRoutines.DIBCopy(whole.Bits, Rect(0, 0, 8, 2), Rect(0, 0, 8, 2), 8, 2, &src,
                       Rect(0, 0, 4, 2));
  // The same draw moved 3 pixels out on the left.
  DrawRoutines.DIBCopy(cut.Bits, Rect(-3, 0, 5, 2), Rect(-3, 0, 5, 2), 8, 2, &src,
                       Rect(0, 0, 4, 2));
  for (Integer y = 0; y < 2; ++y) {
    for (Integer x = 0; x < 5; ++x) EXPECT_EQ(cut.Pixel(x, y), whole.Pixel(x + 3, y)) << x;
    for (Integer x = 5; x < 8; ++x) EXPECT_EQ(cut.Pixel(x, y), 0u) << x;
  }
  EXPECT_EQ(whole.Pixel(0, 0), At(0, 0));  // rows are stored bottom-up
  EXPECT_EQ(whole.Bits[0], At(0, 1));
}

TEST(TspBitmapDraw, TilingCutsTheLastTileFromTheSourcesTopLeft) {
  TspBitmap src;
  src.SetSize(10, 4);
  Paint(src);
  for (Integer width : {30, 25}) {
    SCOPED_TRACE(width);
    TspBitmap dst;
    dst.SetSize(40, 6);
    dst.Clear(0x33333333);
    src.Tile(&dst, Rect(0, 0, width, 6), Rect(0, 0, 10, 4));
    for (Integer x = 0; x < 40; ++x) {
      SCOPED_TRACE(x);
      EXPECT_EQ(dst.GetPixelValue(x, 0), x < width ? At(x % 10, 0) : 0x33333333u);
      EXPECT_EQ(dst.GetPixelValue(x, 5), x < width ? At(x % 10, 1) : 0x33333333u);
    }
  }
}

TEST(TspBitmapDraw, TileClipDrawsOnlyWholeTilesThatMeetTheClip) {
  TspBitmap src, dst;
  src.SetSize(4, 4);
  Paint(src);
  dst.SetSize(12, 4);
  dst.Clear(0);
  src.TileClip(&dst, Rect(0, 0, 12, 4), Rect(5, 1, 6, 2), Rect(0, 0, 4, 4));
  EXPECT_EQ(dst.GetPixelValue(3, 0), 0u);
  EXPECT_EQ(dst.GetPixelValue(4, 0), At(0, 0));  // the whole middle tile
  EXPECT_EQ(dst.GetPixelValue(7, 3), At(3, 3));
  EXPECT_EQ(dst.GetPixelValue(8, 0), 0u);

  src.TileClip(&dst, Rect(0, 0, 12, 4), Rect(0, 0, 0, 0), Rect(0, 0, 4, 4));  // empty: all
  EXPECT_EQ(dst.GetPixelValue(11, 3), At(3, 3));
}

TEST(TspBitmapDraw, DrawingOnAWorkingBitmapsDCHonoursItsWindowOrigin) {
  TspBitmap src, dst;
  src.SetSize(2, 2);
  Paint(src);
  dst.SetSize(10, 10);
  SetWindowOrgEx(dst.DC(), 5, 7, nullptr);
  src.Draw(dst.DC(), 8, 9);
  EXPECT_EQ(dst.GetPixelValue(3, 2), At(0, 0));
  EXPECT_EQ(dst.GetPixelValue(4, 3), At(1, 1));

  dst.Clear(0);
  src.Tile(dst.Canvas(), Rect(6, 8, 10, 10), Rect(0, 0, 2, 2));
  EXPECT_EQ(dst.GetPixelValue(1, 1), At(0, 0));
  EXPECT_EQ(dst.GetPixelValue(4, 2), At(1, 1));
}

TEST(TspBitmapDraw, TilingIntoABottomUpDibWritesItsPixelsDirectly) {
  TspBitmap src;
  src.SetSize(3, 2);
  Paint(src);
  BottomUpDib dib(8, 4);
  SetWindowOrgEx(dib.DC, 1, 0, nullptr);
  src.Tile(dib.DC, Rect(1, 0, 8, 4), Rect(0, 0, 3, 2));
  // Logical x 1 is pixel 0; the third column of tiles is cut to 1 pixel.
  const std::vector<std::pair<Integer, Integer>> expected = {{0, 0}, {2, 2}, {3, 0}, {6, 0}};
  for (auto [x, sx] : expected) {
    SCOPED_TRACE(x);
    EXPECT_EQ(dib.Pixel(x, 0), At(sx, 0));
    EXPECT_EQ(dib.Pixel(x, 3), At(sx, 1));
  }
  EXPECT_EQ(dib.Pixel(7, 0), 0u);

  // The same onto the canvas of a platform 32-bit bitmap (a bottom-up DIB as well).
  auto bmp = CreateOwned<TBitmap>();
  bmp->SetPixelFormat(pf32bit);
  bmp->SetSize(6, 2);
  src.Tile(bmp->Canvas(), Rect(0, 0, 6, 2), Rect(0, 0, 3, 2));
  EXPECT_EQ(static_cast<TspColor*>(bmp->ScanLine(1))[4], At(1, 1));
}

TEST(TspBitmapDraw, DrawOntoAForeignDeviceContextByTheBitmapsFlags) {
  TspBitmap src;
  src.SetSize(2, 1);
  src.SetPixelValue(0, 0, 0x80FF0000);
  src.SetPixelValue(1, 0, 0xFF7F007F);
  for (int mode = 0; mode < 3; ++mode) {
    SCOPED_TRACE(mode);
    src.SetAlphaBlend(mode == 1);
    src.SetTransparent(mode == 2);
    BottomUpDib dib(2, 1);
    dib.Bits[0] = dib.Bits[1] = 0xFF0000FF;
    src.Draw(dib.DC, 0, 0);
    switch (mode) {
      case 0:  // copy
        EXPECT_EQ(dib.Pixel(0, 0) & 0xFFFFFF, 0xFF0000u);
        EXPECT_EQ(dib.Pixel(1, 0) & 0xFFFFFF, 0x7F007Fu);
        break;
      case 1:  // blended through a working bitmap
        EXPECT_EQ(dib.Pixel(0, 0), PixelKernels.BlendPixel(0x80FF0000, 0xFF0000FF));
        EXPECT_EQ(dib.Pixel(1, 0) & 0xFFFFFF, 0x7F007Fu);
        break;
      case 2:  // key colour left out
        EXPECT_EQ(dib.Pixel(0, 0) & 0xFFFFFF, 0xFF0000u);
        EXPECT_EQ(dib.Pixel(1, 0), 0xFF0000FFu);
        break;
    }
  }
}
