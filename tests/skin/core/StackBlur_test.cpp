#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <random>
#include <vector>

#include "skin/core/bitmaps/spEffBmp.h"

namespace {

Byte RedOf(TspColor C) { return (C >> 16) & 0xFF; }

// Triangle-weighted mean along rows, then columns, edges repeated, each pass truncated:
// an independent statement of what the sliding sums must produce.
std::vector<TspColor> ReferenceBlur(const std::vector<TspColor>& In, int W, int H, int Radius) {
  const int divsum = (Radius + 1) * (Radius + 1);
  std::vector<int> pass(static_cast<size_t>(W) * H * 3);
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x)
      for (int c = 0; c < 3; ++c) {
        long sum = 0;
        for (int i = -Radius; i <= Radius; ++i) {
          const int xx = std::clamp(x + i, 0, W - 1);
          sum += static_cast<long>((In[y * W + xx] >> (8 * c)) & 0xFF) * (Radius + 1 - std::abs(i));
        }
        pass[(y * W + x) * 3 + c] = static_cast<int>(sum / divsum);
      }
  std::vector<TspColor> out(In.size());
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) {
      TspColor v = 0xFF000000;
      for (int c = 0; c < 3; ++c) {
        long sum = 0;
        for (int i = -Radius; i <= Radius; ++i) {
          const int yy = std::clamp(y + i, 0, H - 1);
          sum += static_cast<long>(pass[(yy * W + x) * 3 + c]) * (Radius + 1 - std::abs(i));
        }
        v |= static_cast<TspColor>(sum / divsum) << (8 * c);
      }
      out[y * W + x] = v;
    }
  return out;
}

std::vector<TspColor> PixelsOf(const TspBitmap& B) {
  return std::vector<TspColor>(B.Bits(), B.Bits() + B.Width() * B.Height());
}

}  // namespace

TEST(StackBlur, SinglePixelSpreadsWithTriangleWeights) {
  TspBitmap b;
  b.SetSize(5, 5);
  b.Clear(0xFF000000);
  b.SetPixelValue(2, 2, 0xFFFF0000);
  StackBlur(&b, 1);
  EXPECT_EQ(RedOf(b.GetPixelValue(2, 2)), 63);
  for (auto [x, y] : {std::pair{1, 2}, {3, 2}, {2, 1}, {2, 3}})
    EXPECT_EQ(RedOf(b.GetPixelValue(x, y)), 31);
  for (auto [x, y] : {std::pair{1, 1}, {3, 1}, {1, 3}, {3, 3}})
    EXPECT_EQ(RedOf(b.GetPixelValue(x, y)), 15);
  EXPECT_EQ(RedOf(b.GetPixelValue(0, 2)), 0);
  for (TspColor c : PixelsOf(b)) EXPECT_EQ(c >> 24, 255u);
}

TEST(StackBlur, MatchesTheSeparableTriangleFilterIncludingEdges) {
  std::mt19937 rng(7);
  struct Case {
    int W, H, Radius;
  } cases[] = {{9, 7, 1}, {13, 11, 2}, {16, 5, 4}, {6, 4, 9}, {1, 8, 3}, {8, 1, 3}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.W << "x" << c.H << " r" << c.Radius);
    TspBitmap b;
    b.SetSize(c.W, c.H);
    for (int y = 0; y < c.H; ++y)
      for (int x = 0; x < c.W; ++x) b.SetPixelValue(x, y, static_cast<TspColor>(rng()));
    const std::vector<TspColor> expected = ReferenceBlur(PixelsOf(b), c.W, c.H, c.Radius);
    StackBlur(&b, c.Radius);
    EXPECT_EQ(PixelsOf(b), expected);
  }
}

TEST(StackBlur, UniformColourStaysAndAlphaBecomesOpaque) {
  for (int radius : {1, 3, 12}) {
    SCOPED_TRACE(radius);
    TspBitmap b;
    b.SetSize(10, 6);
    b.Clear(0x20C08040);
    StackBlur(&b, radius);
    for (TspColor c : PixelsOf(b)) EXPECT_EQ(c, 0xFFC08040u);
  }
}

TEST(StackBlur, RadiusZeroOrNegativeChangesNothing) {
  TspBitmap b;
  b.SetSize(3, 3);
  b.Clear(0x10203040);
  b.SetPixelValue(1, 1, 0x00FF0000);
  const std::vector<TspColor> before = PixelsOf(b);
  StackBlur(&b, 0);
  StackBlur(&b, -2);
  EXPECT_EQ(PixelsOf(b), before);
}

TEST(SetAlphaFromGray, AlphaIsTheTruncatedMeanOfTheMaskPixel) {
  struct Case {
    TspColor Mask;
    Byte Alpha;
  } cases[] = {{0xFFFFFF, 255}, {0x010102, 1}, {0x000000, 0}, {0xFFFFFE, 254}, {0x808080, 128}};
  TspBitmap b, mask;
  b.SetSize(5, 1);
  b.Clear(0x00123456);
  mask.SetSize(5, 1);
  for (int i = 0; i < 5; ++i) mask.SetPixelValue(i, 0, cases[i].Mask);
  SetAlphaFromGray(&b, &mask);
  for (int i = 0; i < 5; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(b.GetPixelValue(i, 0) >> 24, cases[i].Alpha);
    EXPECT_EQ(b.GetPixelValue(i, 0) & 0xFFFFFF, 0x123456u);
  }
}

TEST(SetAlphaFromGray, SmallerMaskChangesOnlyThePixelsItCovers) {
  TspBitmap b, mask;
  b.SetSize(4, 3);
  b.Clear(0x7F010203);
  mask.SetSize(2, 2);
  mask.Clear(0xFFFFFFFF);
  SetAlphaFromGray(&b, &mask);
  EXPECT_EQ(b.GetPixelValue(1, 1), 0xFF010203u);
  EXPECT_EQ(b.GetPixelValue(2, 1), 0x7F010203u);
  EXPECT_EQ(b.GetPixelValue(0, 2), 0x7F010203u);
}
