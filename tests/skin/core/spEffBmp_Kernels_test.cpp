#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "skin/core/bitmaps/spEffBmp.h"

using namespace vantrel::skin;

namespace {

struct BlendCase {
  const char* What;
  TspColor F, B, Plain, MMX;
};

// Reference of the MMX form written independently of the kernels: every byte blended with
// weights a and 256 - a.
TspColor MMXReference(TspColor F, TspColor B) {
  const uint32_t a = F >> 24;
  TspColor r = 0;
  for (int i = 0; i < 4; ++i) {
    const uint32_t f = (F >> (8 * i)) & 0xFF, b = (B >> (8 * i)) & 0xFF;
    r |= ((f * a + b * (256 - a)) / 256) << (8 * i);
  }
  return r;
}

}  // namespace

TEST(PixelKernels, BlendPixelFormsGiveTheirOwnValuesAtTheEdges) {
  const BlendCase cases[] = {
      {"red a128 over opaque blue", 0x80FF0000, 0xFF0000FF, 0xFF7F007E, 0xBF7F007F},
      {"alpha 255: plain copies, MMX gives 254", 0xFFFFFFFF, 0x00000000, 0xFFFFFFFF, 0xFEFEFEFE},
      {"alpha 0 keeps the background", 0x00FFFFFF, 0x80102030, 0x80102030, 0x80102030},
      {"alpha 1", 0x01FFFFFF, 0xFF000000, 0xFF000000, 0xFE000000},
      {"alpha 254", 0xFEFFFFFF, 0xFF000000, 0xFFFDFDFD, 0xFEFDFDFD},
      {"red and blue lanes stay apart", 0x80FF00FF, 0xFFFF00FF, 0xFFFE00FE, 0xBFFF00FF},
  };
  for (const BlendCase& c : cases) {
    SCOPED_TRACE(c.What);
    EXPECT_EQ(BlendPixelPlain(c.F, c.B), c.Plain);
    EXPECT_EQ(BlendPixelMMX(c.F, c.B), c.MMX);
  }
}

TEST(PixelKernels, BlendRowSkipsAlphaZeroCopiesAlpha255AndBlendsTheRestInBothForms) {
  // 11 pixels: two vector blocks and a scalar tail.
  const std::vector<TspColor> src = {0x00FFFFFF, 0xFF123456, 0x80FF0000, 0x00000000,
                                     0x01FFFFFF, 0xFE00FF00, 0x7F7F007F, 0xFFABCDEF,
                                     0x00112233, 0x40FFFFFF, 0xFF000001};
  const std::vector<TspColor> dst(src.size(), 0x806080A0);
  for (bool mmx : {false, true}) {
    SCOPED_TRACE(mmx ? "MMX" : "plain");
    std::vector<TspColor> out = dst;
    (mmx ? BlendRowMMX : BlendRowPlain)(src.data(), out.data(), static_cast<Integer>(src.size()));
    for (size_t i = 0; i < src.size(); ++i) {
      SCOPED_TRACE(i);
      const uint32_t a = src[i] >> 24;
      const TspColor expected = a == 0     ? dst[i]
                                : a == 255 ? src[i]
                                : mmx      ? MMXReference(src[i], dst[i])
                                           : BlendPixelPlain(src[i], dst[i]);
      EXPECT_EQ(out[i], expected);
    }
  }
}

TEST(PixelKernels, VectorBlendRowMatchesTheScalarFormulaOnRandomPixels) {
  std::mt19937 rng(7);
  std::vector<TspColor> src(1027), dst(1027);
  for (size_t i = 0; i < src.size(); ++i) {
    src[i] = rng();
    dst[i] = rng();
  }
  // Runs of equal alpha so the all-transparent and all-opaque blocks are taken too.
  for (size_t i = 0; i < 64; ++i) src[i] &= 0x00FFFFFF;
  for (size_t i = 64; i < 128; ++i) src[i] |= 0xFF000000;
  // A block mixing transparent, opaque and partial pixels.
  const uint32_t Mixed[] = {0, 255, 1, 254, 0, 255, 128, 255};
  for (size_t i = 0; i < 8; ++i) src[128 + i] = (src[128 + i] & 0x00FFFFFF) | (Mixed[i] << 24);
  // The SSE2 row, and the AVX2 row (which is the SSE2 one on a processor without AVX2).
  for (auto Row : {BlendRowMMX, BlendRowAVX2}) {
    SCOPED_TRACE(Row == BlendRowMMX ? "sse2" : "avx2");
    std::vector<TspColor> out = dst;
    Row(src.data(), out.data(), static_cast<Integer>(out.size()));
    for (size_t i = 0; i < src.size(); ++i) {
      const uint32_t a = src[i] >> 24;
      const TspColor expected = a == 0 ? dst[i] : a == 255 ? src[i] : MMXReference(src[i], dst[i]);
      ASSERT_EQ(out[i], expected) << "pixel " << i;
      ASSERT_EQ(BlendPixelMMX(src[i], dst[i]), MMXReference(src[i], dst[i])) << "pixel " << i;
    }
  }
}

TEST(PixelKernels, CopyRowKeyedMakesCopiesOpaqueAndSkipsKeyPixelsWhateverTheirAlpha) {
  const TspColor src[] = {0x00102030, 0x007F007F, 0xFF7F007F, 0x807F0080};
  TspColor dst[] = {1, 2, 3, 4};
  CopyRowKeyed(src, dst, 4);
  EXPECT_EQ(dst[0], 0xFF102030u);
  EXPECT_EQ(dst[1], 2u);
  EXPECT_EQ(dst[2], 3u);
  EXPECT_EQ(dst[3], 0xFF7F0080u);
}

TEST(PixelKernels, RectangleKernelsAreInclusiveAndIgnoreInvertedRectangles) {
  std::vector<TspColor> bits(4 * 3, 0x11223344);
  FillPixelRect(bits.data(), 4, 3, 2, 1, 2, 1, 0xAABBCCDD);
  for (size_t i = 0; i < bits.size(); ++i)
    EXPECT_EQ(bits[i], i == 1 * 4 + 2 ? 0xAABBCCDDu : 0x11223344u) << i;

  FillPixelRect(bits.data(), 4, 3, 2, 0, 1, 2, 0);  // X2 < X1
  FillPixelRect(bits.data(), 4, 3, 0, 2, 3, 1, 0);  // Y2 < Y1
  SetRectAlpha(bits.data(), 4, 3, 3, 0, 2, 2, 0);
  EXPECT_EQ(std::count(bits.begin(), bits.end(), 0x11223344u), 11);

  SetRectAlpha(bits.data(), 4, 3, 1, 0, 3, 1, 0x05);
  EXPECT_EQ(bits[0], 0x11223344u);
  EXPECT_EQ(bits[1], 0x05223344u);
  EXPECT_EQ(bits[6], 0x05BBCCDDu);
  EXPECT_EQ(bits[9], 0x11223344u);
}

TEST(PixelKernels, RowKernelsDoNothingForCountsBelowOne) {
  TspColor a[2] = {1, 2}, b[2] = {3, 4};
  for (Integer count : {0, -5}) {
    BlendRowPlain(a, b, count);
    BlendRowMMX(a, b, count);
    BlendRowAVX2(a, b, count);
    CopyRowKeyed(a, b, count);
    MoveRow(a, b, count);
    FillRow(b, count, 9);
    SetRowAlpha(b, count, 9);
  }
  EXPECT_EQ(b[0], 3u);
  EXPECT_EQ(b[1], 4u);
}

TEST(PixelKernels, StartUpSelectsTheMMXBlendsOnThisProcessor) {
  EXPECT_TRUE(IsMMXSupported());  // every x86-64 processor has MMX
  EXPECT_TRUE(MMXEnabled);
  EXPECT_EQ(PixelKernels.BlendPixel, &BlendPixelMMX);
  EXPECT_EQ(PixelKernels.BlendRow, HasAVX2() ? &BlendRowAVX2 : &BlendRowMMX);
  SelectBlendForms(false);
  EXPECT_EQ(PixelKernels.BlendPixel(0x80FF0000, 0xFF0000FF), 0xFF7F007Eu);
  EXPECT_TRUE(InitPixelKernels());
  EXPECT_EQ(PixelKernels.BlendPixel(0x80FF0000, 0xFF0000FF), 0xBF7F007Fu);
}
