#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "skin/core/drawing/SPUtils.h"
#include "tests/support/SkinImageBitmaps.h"

using vantrel::test::MaskFromArt;
using vantrel::test::NewBitmap;
using vantrel::test::PixelOf;
using vantrel::test::SetPixelOf;

namespace {

std::vector<RECT> RectsOf(const TRegionData& Data) {
  const auto* rects = reinterpret_cast<const RECT*>(Data->Buffer);
  return std::vector<RECT>(rects, rects + Data->rdh.nCount);
}

// Region handle owned by the test.
struct OwnedRgn {
  HRGN H = nullptr;
  ~OwnedRgn() {
    if (H) DeleteObject(H);
  }
};

// Every pixel of a W x H area is in Rgn exactly where Inside says.
template <class F>
int Mismatches(HRGN Rgn, int W, int H, F Inside) {
  int wrong = 0;
  for (int y = -1; y <= H; ++y)
    for (int x = -1; x <= W; ++x) wrong += (PtInRegion(Rgn, x, y) != 0) != Inside(x, y);
  return wrong;
}

}  // namespace

TEST(MaskRegion, RunsOfSmallMasks) {
  struct Case {
    const char* Name;
    std::vector<std::string> Art;
    std::vector<RECT> Rects;  // at offset (10, 20)
  } cases[] = {
      {"all black",
       {"####", "####", "####"},
       {{10, 20, 14, 21}, {10, 21, 14, 22}, {10, 22, 14, 23}}},
      {"columns 2 to 5 of every row", {"..####.", "..####."}, {{12, 20, 16, 21}, {12, 21, 16, 22}}},
      {"ring",
       {"#####", "#...#", "#...#", "#####"},
       {{10, 20, 15, 21},
        {10, 21, 11, 22},
        {14, 21, 15, 22},
        {10, 22, 11, 23},
        {14, 22, 15, 23},
        {10, 23, 15, 24}}},
      {"run closed at the last column", {"#.##"}, {{10, 20, 11, 21}, {12, 20, 14, 21}}},
      {"no black pixel", {"...", "..."}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    TOwned<TBitmap> mask = MaskFromArt(c.Art);
    TRegionData data;
    const Integer size = BuildMaskRegionData(mask.get(), 10, 20, data);
    ASSERT_TRUE(data);
    EXPECT_EQ(size, 32 + 16 * static_cast<Integer>(c.Rects.size()));
    EXPECT_EQ(data->rdh.dwSize, 32u);
    EXPECT_EQ(data->rdh.iType, RDH_RECTANGLES);
    EXPECT_EQ(data->rdh.nRgnSize, 0u);
    EXPECT_EQ(data->rdh.rcBound, Rect(10, 20, 10 + mask->Width(), 20 + mask->Height()));
    EXPECT_EQ(RectsOf(data), c.Rects);
  }
}

TEST(MaskRegion, EmptyMaskGivesNoDataAndNoRegion) {
  TOwned<TBitmap> empty = CreateOwned<TBitmap>();
  TRegionData data;
  EXPECT_EQ(BuildMaskRegionData(empty.get(), 0, 0, data), 0);
  EXPECT_FALSE(data);
  HRGN rgn = reinterpret_cast<HRGN>(1);
  CreateRegionFromMask(rgn, empty.get());
  EXPECT_EQ(rgn, nullptr);

  // A mask without black pixels is an empty region, not the absence of one.
  OwnedRgn white;
  CreateRegionFromMask(white.H, MaskFromArt({"..", ".."}).get());
  ASSERT_NE(white.H, nullptr);
  RECT box{};
  EXPECT_EQ(GetRgnBox(white.H, &box), NULLREGION);
}

TEST(MaskRegion, RegionOfAShapeHoldsExactlyItsBlackPixels) {
  TOwned<TBitmap> mask = NewBitmap(40, 30);
  auto inside = [](int x, int y) {
    const int dx = x - 20, dy = y - 15;
    return x >= 0 && y >= 0 && x < 40 && y < 30 &&
           (dx * dx * 9 + dy * dy * 16 <= 3600 || (y == 29 && x > 35));
  };
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 40; ++x)
      if (inside(x, y)) SetPixelOf(*mask, x, y, 0);
  OwnedRgn rgn;
  CreateRegionFromMask(rgn.H, mask.get());
  ASSERT_NE(rgn.H, nullptr);
  EXPECT_EQ(Mismatches(rgn.H, 40, 30, inside), 0);
  RECT box{};
  GetRgnBox(rgn.H, &box);
  EXPECT_EQ(box.Right, 40);
  EXPECT_EQ(box.Bottom, 30);
}

TEST(MaskRegion, MaskWithMoreThanTenThousandRunsKeepsThemAll) {
  // A 200 x 101 checkerboard has 10100 one-pixel runs; none may be dropped.
  TOwned<TBitmap> mask = NewBitmap(200, 101);
  for (int y = 0; y < 101; ++y)
    for (int x = (y & 1); x < 200; x += 2) SetPixelOf(*mask, x, y, 0);
  TRegionData data;
  EXPECT_EQ(BuildMaskRegionData(mask.get(), 0, 0, data), 32 + 16 * 10100);
  EXPECT_EQ(data->rdh.nCount, 10100u);
  EXPECT_EQ(RectsOf(data).back(), Rect(198, 100, 199, 101));

  OwnedRgn rgn;
  CreateRegionFromMask(rgn.H, mask.get());
  EXPECT_EQ(Mismatches(rgn.H, 200, 101,
                       [](int x, int y) {
                         return x >= 0 && y >= 0 && x < 200 && y < 101 && ((x + y) & 1) == 0;
                       }),
            0);
}

TEST(MaskRegion, FBitmapHoldsA24BitTopDownCopy) {
  TOwned<TBitmap> bmp = NewBitmap(5, 3, 0x102030);
  SetPixelOf(*bmp, 4, 0, 0xA1B2C3);
  TOwned<TFBitmap> fb = CreateOwned<TFBitmap>(bmp->Handle());
  EXPECT_EQ(fb->Width, 5);
  EXPECT_EQ(fb->Height, 3);
  EXPECT_EQ(fb->Gap, 1);
  EXPECT_EQ(fb->RowInc, 16);
  EXPECT_EQ(fb->Size, 48);
  EXPECT_EQ(fb->bmHeader.biHeight, -3);
  const Byte* p = fb->Pixels[0] + 3 * 4;
  EXPECT_EQ(p[0], 0xC3);  // blue, green, red
  EXPECT_EQ(p[1], 0xB2);
  EXPECT_EQ(p[2], 0xA1);
  EXPECT_EQ(fb->Pixels[2][0], 0x30);
}

namespace {

// A 20 x 20 mask: black except the three pixels at each corner that round it off, with
// the inner rectangle (4, 4, 16, 16).
TOwned<TBitmap> RoundedMask() {
  std::vector<std::string> art(20, std::string(20, '#'));
  for (auto [x, y] : {std::pair{0, 0}, {1, 0}, {0, 1}}) {
    art[y][x] = art[y][19 - x] = art[19 - y][x] = art[19 - y][19 - x] = '.';
  }
  return MaskFromArt(art);
}

bool RoundedInside(int x, int y, int W, int H) {
  if (x < 0 || y < 0 || x >= W || y >= H) return false;
  const int cx = x < W / 2 ? x : W - 1 - x, cy = y < H / 2 ? y : H - 1 - y;
  return !(cx + cy <= 1);
}

}  // namespace

TEST(MaskRegion, SkinRegionFitsTheMaskToANewSize) {
  TOwned<TBitmap> mask = RoundedMask();
  const TPoint LT{4, 4}, RT{16, 4}, LB{4, 16}, RB{16, 16};
  const TRect A = Rect(4, 4, 16, 16);
  struct Size {
    int W, H;
  } sizes[] = {{20, 20}, {40, 30}, {21, 57}};
  for (Size s : sizes) {
    SCOPED_TRACE(testing::Message() << s.W << "x" << s.H);
    const int dW = s.W - 20, dH = s.H - 20;
    OwnedRgn rgn;
    CreateSkinRegion(rgn.H, LT, RT, LB, RB, A, LT, TPoint{RT.X + dW, RT.Y}, TPoint{LB.X, LB.Y + dH},
                     TPoint{RB.X + dW, RB.Y + dH}, Rect(4, 4, 16 + dW, 16 + dH), mask.get(), s.W,
                     s.H);
    ASSERT_NE(rgn.H, nullptr);
    EXPECT_EQ(
        Mismatches(rgn.H, s.W, s.H, [&](int x, int y) { return RoundedInside(x, y, s.W, s.H); }),
        0);
  }
}

TEST(MaskRegion, SkinRegionWithoutATopBandKeepsTheOtherStrips) {
  // 10 x 8 mask, inner rectangle (2, 0, 8, 6): left, right and bottom bands only; the
  // bottom-left pixel is cut away.
  TOwned<TBitmap> mask = MaskFromArt({"##########", "##########", "##########", "##########",
                                      "##########", "##########", "##########", ".#########"});
  const TPoint LT{2, 0}, RT{8, 0}, LB{2, 6}, RB{8, 6};
  OwnedRgn rgn;
  CreateSkinRegion(rgn.H, LT, RT, LB, RB, Rect(2, 0, 8, 6), LT, TPoint{18, 0}, TPoint{2, 11},
                   TPoint{18, 11}, Rect(2, 0, 18, 11), mask.get(), 20, 13);
  ASSERT_NE(rgn.H, nullptr);
  EXPECT_EQ(Mismatches(rgn.H, 20, 13,
                       [](int x, int y) {
                         return x >= 0 && y >= 0 && x < 20 && y < 13 && !(x == 0 && y == 12);
                       }),
            0);
}

TEST(MaskRegion, CrossedPointsOrEmptyInnerRectGiveNoRegion) {
  TOwned<TBitmap> mask = RoundedMask();
  const TPoint LT{4, 4}, RT{16, 4}, LB{4, 16}, RB{16, 16};
  HRGN rgn = reinterpret_cast<HRGN>(1);
  CreateSkinRegion(rgn, LT, RT, LB, RB, Rect(4, 4, 16, 16), LT, TPoint{3, 4}, LB, TPoint{3, 16},
                   Rect(4, 4, 3, 16), mask.get(), 7, 20);
  EXPECT_EQ(rgn, nullptr);
  rgn = reinterpret_cast<HRGN>(1);
  CreateSkinRegion(rgn, LT, RT, LB, RB, Rect(4, 4, 16, 16), LT, TPoint{4, 4}, TPoint{4, 4},
                   TPoint{4, 4}, Rect(4, 4, 4, 4), mask.get(), 8, 8);
  EXPECT_EQ(rgn, nullptr);
}

TEST(MaskRegion, MaskStripsStartTheTilesAtTheStripTop) {
  // LTPoint.Y = A.Top: no top end piece, the tiled rows begin at the strip's row 0.
  TOwned<TBitmap> mask = MaskFromArt({"....", "#...", "....", "#...", "....", "...."});
  const TPoint LT{1, 1}, RT{3, 1}, LB{1, 3}, RB{3, 3};
  const TRect A = Rect(1, 1, 3, 5);
  TOwned<TBitmap> top = CreateOwned<TBitmap>(), left = CreateOwned<TBitmap>(),
                  right = CreateOwned<TBitmap>(), bottom = CreateOwned<TBitmap>();
  CreateSkinMaskStrips(LT, RT, LB, RB, A, LT, RT, LB, RB, Rect(1, 1, 3, 9), mask.get(), top.get(),
                       left.get(), right.get(), bottom.get(), 4, 10);
  ASSERT_EQ(left->Width(), 1);
  ASSERT_EQ(left->Height(), 8);
  // Rows 1..3 of the mask (black, white) repeat from row 0; the last two rows are the end
  // piece rows 3..5 (black, white).
  std::vector<uint32_t> col;
  for (int y = 0; y < 8; ++y) col.push_back(PixelOf(*left, 0, y));
  EXPECT_EQ(col, (std::vector<uint32_t>{0, 0xFFFFFF, 0, 0xFFFFFF, 0, 0xFFFFFF, 0, 0xFFFFFF}));
  EXPECT_EQ(top->Width(), 4);
  EXPECT_EQ(top->Height(), 1);
}
