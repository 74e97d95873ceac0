#include <gtest/gtest.h>

#include <vector>

#include "skin/core/drawing/SPUtils.h"
#include "tests/support/SkinImageBitmaps.h"

using vantrel::test::Coded;
using vantrel::test::CodedBitmap;
using vantrel::test::NewBitmap;
using vantrel::test::PixelOf;

namespace {

// A skin rectangle of 20 x 16 at (3, 2) of a 30 x 24 picture, with bands of different
// thickness and corner points off the client rectangle's corners.
struct Skin {
  TRect R = Rect(3, 2, 23, 18);
  TPoint LT{6, 5}, RT{14, 4}, LB{7, 10}, RB{13, 11};
  TRect Cl = Rect(4, 3, 16, 12);
  TOwned<TBitmap> Source = CodedBitmap(30, 24);

  // Source pixel at (x, y) of R.
  uint32_t At(int X, int Y) const { return Coded(R.Left + X, R.Top + Y); }

  // The 9-part image at AW x AH with the New geometry derived as the callers do.
  void Compose(TBitmap* Dest, int AW, int AH, bool DrawClient, bool Left, bool Top, bool Right,
               bool Bottom, bool StretchEffect, TspStretchType Type) {
    const int dW = AW - RectWidth(R), dH = AH - RectHeight(R);
    CreateSkinImage(LT, RT, LB, RB, Cl, LT, TPoint{RT.X + dW, RT.Y}, TPoint{LB.X, LB.Y + dH},
                    TPoint{RB.X + dW, RB.Y + dH},
                    Rect(Cl.Left, Cl.Top, Cl.Right + dW, Cl.Bottom + dH), Dest, Source.get(), R, AW,
                    AH, DrawClient, Left, Top, Right, Bottom, StretchEffect, Type);
  }
};

// Source columns (red byte) of a row of Dest.
std::vector<int> Columns(TBitmap& B, int Y) {
  std::vector<int> cols;
  for (int x = 0; x < B.Width(); ++x) cols.push_back(static_cast<int>(PixelOf(B, x, Y) >> 16));
  return cols;
}

std::vector<int> Rows(TBitmap& B, int X) {
  std::vector<int> rows;
  for (int y = 0; y < B.Height(); ++y)
    rows.push_back(static_cast<int>((PixelOf(B, X, y) >> 8) & 0xFF));
  return rows;
}

}  // namespace

TEST(SkinImage, SameSizeNinePartImageReproducesItsSourceWhateverTheFlags) {
  Skin s;
  for (int flags = 0; flags < 32; ++flags)
    for (TspStretchType type : {spstFull, spstHorz, spstVert}) {
      SCOPED_TRACE(testing::Message() << "flags " << flags << " type " << int(type));
      TOwned<TBitmap> dest = CreateOwned<TBitmap>();
      s.Compose(dest.get(), 20, 16, true, flags & 1, flags & 2, flags & 4, flags & 8, flags & 16,
                type);
      ASSERT_EQ(dest->Width(), 20);
      ASSERT_EQ(dest->Height(), 16);
      int wrong = 0;
      for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 20; ++x) wrong += PixelOf(*dest, x, y) != s.At(x, y);
      EXPECT_EQ(wrong, 0);
    }
}

TEST(SkinImage, CreateSkinImage2DrawsTheSameImage) {
  Skin s;
  TOwned<TBitmap> a = CreateOwned<TBitmap>(), b = CreateOwned<TBitmap>();
  s.Compose(a.get(), 37, 29, true, false, true, false, true, false, spstFull);
  CreateSkinImage2(s.LT, s.RT, s.LB, s.RB, s.Cl, s.LT, TPoint{s.RT.X + 17, s.RT.Y},
                   TPoint{s.LB.X, s.LB.Y + 13}, TPoint{s.RB.X + 17, s.RB.Y + 13},
                   Rect(4, 3, 33, 25), b.get(), s.Source.get(), s.R, 37, 29, true, false, true,
                   false, true, false, spstFull);
  for (int y = 0; y < 29; ++y)
    for (int x = 0; x < 37; ++x) ASSERT_EQ(PixelOf(*a, x, y), PixelOf(*b, x, y)) << x << "," << y;
}

TEST(SkinImage, HorizontalStripTilesTheMiddleAndCutsTheLastTile) {
  // R is 9 wide: left end 2 columns, middle 4 (source x 5..8), right end 3.
  TOwned<TBitmap> src = CodedBitmap(12, 3);
  const TRect R = Rect(3, 0, 12, 3);
  struct Case {
    int Width;
    std::vector<int> Cols;
  } cases[] = {
      // A run of 2.5 tiles: two whole tiles and half of the third, then the right end.
      {15, {3, 4, 5, 6, 7, 8, 5, 6, 7, 8, 5, 6, 9, 10, 11}},
      // A run of exactly two tiles (the third, empty tile draws nothing).
      {13, {3, 4, 5, 6, 7, 8, 5, 6, 7, 8, 9, 10, 11}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Width);
    TOwned<TBitmap> dest = CreateOwned<TBitmap>();
    CreateHSkinImage(2, 3, dest.get(), src.get(), R, c.Width, 99, false);
    EXPECT_EQ(dest->Height(), 3);  // the height of R, AHeight unused
    EXPECT_EQ(Columns(*dest, 1), c.Cols);
  }
}

TEST(SkinImage, HorizontalStripVariants) {
  TOwned<TBitmap> src = CodedBitmap(12, 3);
  const TRect R = Rect(3, 0, 12, 3);
  TOwned<TBitmap> dest = CreateOwned<TBitmap>();

  CreateHSkinImage(2, 3, dest.get(), src.get(), R, 13, 0, true);  // middle stretched 4 -> 8
  EXPECT_EQ(Columns(*dest, 0), (std::vector<int>{3, 4, 5, 5, 6, 6, 7, 7, 8, 8, 9, 10, 11}));

  CreateHSkinImageNoRight(2, 3, dest.get(), src.get(), R, 12, 0, false);
  EXPECT_EQ(Columns(*dest, 0), (std::vector<int>{3, 4, 5, 6, 7, 8, 5, 6, 7, 8, 5, 6}));

  // Only the middle, from x = 0, whatever LeftOffset says.
  CreateHSkinImageMiddle(2, 3, dest.get(), src.get(), R, 10, 0, false);
  EXPECT_EQ(Columns(*dest, 2), (std::vector<int>{5, 6, 7, 8, 5, 6, 7, 8, 5, 6}));
}

TEST(SkinImage, VerticalStripTilesAndStretchesDownward) {
  TOwned<TBitmap> src = CodedBitmap(4, 10);
  const TRect R = Rect(1, 1, 3, 10);  // top 1 row, middle rows 2..6, bottom 3 rows
  TOwned<TBitmap> dest = CreateOwned<TBitmap>();
  CreateVSkinImage(1, 3, dest.get(), src.get(), R, 77, 14, false);
  EXPECT_EQ(dest->Width(), 2);
  EXPECT_EQ(Rows(*dest, 0), (std::vector<int>{1, 2, 3, 4, 5, 6, 2, 3, 4, 5, 6, 7, 8, 9}));
  CreateVSkinImage(1, 3, dest.get(), src.get(), R, 0, 14, true);
  EXPECT_EQ(Rows(*dest, 1), (std::vector<int>{1, 2, 2, 3, 3, 4, 4, 5, 5, 6, 6, 7, 8, 9}));
}

TEST(SkinImage, CrossedCornersOverlapInDrawingOrder) {
  // 8 x 8 from a 20 x 16 skin: the new right points lie left of the left ones and the new
  // bottom points above the top ones, so no edge remains and the later corners win.
  Skin s;
  TOwned<TBitmap> dest = CreateOwned<TBitmap>();
  s.Compose(dest.get(), 8, 8, true, false, false, false, false, false, spstFull);
  // Top band: 4a puts source columns 0..5 at 0..5; 4c then puts 14..19 at 2..7.
  EXPECT_EQ(PixelOf(*dest, 1, 0), s.At(1, 0));
  EXPECT_EQ(PixelOf(*dest, 2, 0), s.At(14, 0));
  EXPECT_EQ(PixelOf(*dest, 5, 2), s.At(17, 2));
  // Left band: 4b (rows 3..4) is covered by 4e, which starts at new row 2 with source row 10.
  EXPECT_EQ(PixelOf(*dest, 0, 3), s.At(0, 11));
  EXPECT_EQ(PixelOf(*dest, 3, 3), s.At(3, 11));
  // Bottom band (new rows 4..7): 4g over 4f; right band: 4h over 4d.
  EXPECT_EQ(PixelOf(*dest, 4, 7), s.At(13 + 3, 15));
  EXPECT_EQ(PixelOf(*dest, 7, 3), s.At(19, 3 + 8));
}

TEST(SkinImage, LargerImageStretchesOrTilesEveryEdgeAndKeepsCorners) {
  Skin s;
  TOwned<TBitmap> dest = CreateOwned<TBitmap>();
  s.Compose(dest.get(), 44, 40, true, false, true, false, false, false, spstFull);
  // Corners unscaled at the four corners.
  EXPECT_EQ(PixelOf(*dest, 0, 0), s.At(0, 0));
  EXPECT_EQ(PixelOf(*dest, 43, 0), s.At(19, 0));
  EXPECT_EQ(PixelOf(*dest, 0, 39), s.At(0, 15));
  EXPECT_EQ(PixelOf(*dest, 43, 39), s.At(19, 15));
  // Top edge stretched from 8 to 32 columns: each source column four times.
  EXPECT_EQ(PixelOf(*dest, 6, 1), s.At(6, 1));
  EXPECT_EQ(PixelOf(*dest, 9, 1), s.At(6, 1));
  EXPECT_EQ(PixelOf(*dest, 10, 1), s.At(7, 1));
  // Left edge tiled: rows 5..9 repeat with period 5.
  EXPECT_EQ(PixelOf(*dest, 1, 5 + 5), s.At(1, 5));
  EXPECT_EQ(PixelOf(*dest, 1, 5 + 12), s.At(1, 7));
  // Client tiled from NewClRect's top-left with period 12 x 9.
  EXPECT_EQ(PixelOf(*dest, 4 + 12, 3 + 9), s.At(4, 3));
  EXPECT_EQ(PixelOf(*dest, 4 + 13, 3 + 10), s.At(5, 4));
}

TEST(SkinImage, ClientStretchModes) {
  Skin s;  // client piece 12 x 9
  TOwned<TBitmap> dest = CreateOwned<TBitmap>();
  // New client 36 x 27: tripled each way.
  s.Compose(dest.get(), 44, 34, true, true, true, true, true, true, spstFull);
  EXPECT_EQ(PixelOf(*dest, 4 + 3 * 5 + 1, 3 + 3 * 4 + 2), s.At(4 + 5, 3 + 4));

  // spstHorz: stretched to the client height, repeated across every 12 columns, and held
  // inside NewClRect (the right band beside it stays).
  s.Compose(dest.get(), 44, 34, true, true, true, true, true, true, spstHorz);
  EXPECT_EQ(PixelOf(*dest, 4 + 2, 3 + 3 * 4), s.At(4 + 2, 3 + 4));
  EXPECT_EQ(PixelOf(*dest, 4 + 24 + 2, 3 + 3 * 4), s.At(4 + 2, 3 + 4));
  EXPECT_EQ(PixelOf(*dest, 40, 20) >> 16, unsigned(s.R.Left + 16));  // right band column

  // spstVert: stretched to the client width, repeated downward every 9 rows.
  s.Compose(dest.get(), 44, 34, true, true, true, true, true, true, spstVert);
  EXPECT_EQ(PixelOf(*dest, 4 + 3 * 5, 3 + 9 + 2), s.At(4 + 5, 3 + 2));
  EXPECT_EQ(PixelOf(*dest, 20, 32) >> 8 & 0xFF, unsigned(s.R.Top + 14));  // bottom band row
}

TEST(SkinImage, WithoutDrawClientTheClientAreaStaysAsItWas) {
  Skin s;
  TOwned<TBitmap> dest = NewBitmap(30, 20, 0x123456);
  s.Compose(dest.get(), 30, 20, false, false, false, false, false, false, spstFull);
  EXPECT_EQ(PixelOf(*dest, 5, 4), 0x123456u);
  EXPECT_EQ(PixelOf(*dest, 25, 15), 0x123456u);
  EXPECT_EQ(PixelOf(*dest, 0, 0), s.At(0, 0));
}

TEST(SkinImage, EmptySourceOrCoincidingCornersOnlyResize) {
  Skin s;
  TOwned<TBitmap> dest = NewBitmap(5, 5, 0x123456);
  TOwned<TBitmap> empty = CreateOwned<TBitmap>();
  CreateSkinImage(s.LT, s.RT, s.LB, s.RB, s.Cl, s.LT, s.RT, s.LB, s.RB, s.Cl, dest.get(),
                  empty.get(), s.R, 20, 16, true, true, true, true, true, true, spstFull);
  EXPECT_EQ(dest->Width(), 20);
  EXPECT_EQ(PixelOf(*dest, 2, 2), 0x123456u);

  // A stretched image whose client rectangle has no width draws nothing and keeps Dest's size.
  TOwned<TBitmap> d2 = NewBitmap(31, 21, 0x654321);
  CreateStretchSkinImage(d2.get(), s.Source.get(), s.R, Rect(5, 3, 5, 12), true);
  EXPECT_EQ(d2->Width(), 31);
  EXPECT_EQ(d2->Height(), 21);
  EXPECT_EQ(PixelOf(*d2, 0, 0), 0x654321u);
}

TEST(SkinImage, StretchSkinImageKeepsCornersAndStretchesTheRest) {
  Skin s;
  TOwned<TBitmap> dest = NewBitmap(32, 25);  // bands: left 4, right 4, top 3, bottom 4
  CreateStretchSkinImage(dest.get(), s.Source.get(), s.R, s.Cl, true);
  EXPECT_EQ(dest->Width(), 32);
  EXPECT_EQ(PixelOf(*dest, 3, 2), s.At(3, 2));
  EXPECT_EQ(PixelOf(*dest, 31, 24), s.At(19, 15));
  EXPECT_EQ(PixelOf(*dest, 28, 0), s.At(16, 0));
  // Client 12 x 9 stretched to 24 x 18.
  EXPECT_EQ(PixelOf(*dest, 4 + 2 * 3, 3 + 2 * 5), s.At(4 + 3, 3 + 5));
  EXPECT_EQ(PixelOf(*dest, 4 + 2 * 3 + 1, 3 + 2 * 5 + 1), s.At(4 + 3, 3 + 5));
}

TEST(SkinImage, NoRightVariantRunsEdgesAndClientToTheRightEdge) {
  Skin s;
  TOwned<TBitmap> dest = CreateOwned<TBitmap>();
  const int dW = 10;
  CreateSkinImageNoRight(s.LT, s.RT, s.LB, s.RB, s.Cl, s.LT, TPoint{s.RT.X + dW, s.RT.Y}, s.LB,
                         TPoint{s.RB.X + dW, s.RB.Y}, Rect(4, 3, 16 + dW, 12), dest.get(),
                         s.Source.get(), s.R, 30, 16, true, false, false, false, false, false,
                         spstFull);
  // Top edge tiled from x = 6 to 30 with period 8; the client from x = 4 to 30 with period 12.
  EXPECT_EQ(PixelOf(*dest, 29, 1), s.At(6 + (29 - 6) % 8, 1));
  EXPECT_EQ(PixelOf(*dest, 29, 5), s.At(4 + (29 - 4) % 12, 5));
  // Bottom edge from x = 7 to 30 with period 6.
  EXPECT_EQ(PixelOf(*dest, 28, 14), s.At(7 + (28 - 7) % 6, 14));
}

TEST(SkinImage, ClientImageTilesFromTheOrigin) {
  Skin s;
  TOwned<TBitmap> dest = CreateOwned<TBitmap>();
  CreateSkinClientImage(s.Cl, Rect(0, 0, 30, 20), dest.get(), s.Source.get(), s.R, 30, 20, false,
                        spstFull);
  EXPECT_EQ(PixelOf(*dest, 0, 0), s.At(4, 3));
  EXPECT_EQ(PixelOf(*dest, 29, 19), s.At(4 + 29 % 12, 3 + 19 % 9));
}

TEST(SkinImage, EveryPixelOfAWideImageRepeatsItsPieceWhateverThePieceSize) {
  // Pieces of 1, 2, 3 and 7 pixels tiled over runs that are no multiple of them: each
  // pixel is the piece's pixel at its offset from the run's start, modulo the piece.
  TOwned<TBitmap> src = CodedBitmap(16, 12);
  for (int piece : {1, 2, 3, 7}) {
    SCOPED_TRACE(piece);
    const TRect R = Rect(0, 0, 2 + piece + 2, 2 + piece + 2);
    const TRect Cl = Rect(2, 2, 2 + piece, 2 + piece);
    TOwned<TBitmap> dest = CreateOwned<TBitmap>();
    CreateSkinClientImage(Cl, Rect(0, 0, 301, 97), dest.get(), src.get(), R, 301, 97, false,
                          spstFull);
    int wrong = 0;
    for (int y = 0; y < 97; ++y)
      for (int x = 0; x < 301; ++x)
        wrong += PixelOf(*dest, x, y) != Coded(2 + x % piece, 2 + y % piece);
    EXPECT_EQ(wrong, 0);

    // A strip: left end 2 columns, the middle piece tiled, right end 2 columns.
    CreateHSkinImage(2, 2, dest.get(), src.get(), R, 203, 0, false);
    std::vector<int> expected;
    for (int x = 0; x < 203; ++x)
      expected.push_back(x < 2 ? x : x >= 201 ? 2 + piece + (x - 201) : 2 + (x - 2) % piece);
    EXPECT_EQ(Columns(*dest, 1), expected);
  }
}

TEST(SkinImage, BorderStripsOfAFrame) {
  Skin s;
  const int AW = 40, AH = 30, dW = 20, dH = 14;
  TOwned<TBitmap> L = CreateOwned<TBitmap>(), T = CreateOwned<TBitmap>(),
                  Rb = CreateOwned<TBitmap>(), B = CreateOwned<TBitmap>();
  CreateSkinBorderStrips(s.LT, s.RT, s.LB, s.RB, s.Cl, s.LT, TPoint{s.RT.X + dW, s.RT.Y},
                         TPoint{s.LB.X, s.LB.Y + dH}, TPoint{s.RB.X + dW, s.RB.Y + dH},
                         Rect(4, 3, 16 + dW, 12 + dH), L.get(), T.get(), Rb.get(), B.get(),
                         s.Source.get(), s.R, AW, AH, false, false, false, false);
  EXPECT_EQ(T->Width(), AW);
  EXPECT_EQ(T->Height(), 3);
  EXPECT_EQ(B->Height(), 4);
  EXPECT_EQ(L->Width(), 4);
  EXPECT_EQ(L->Height(), AH - 3 - 4);
  EXPECT_EQ(Rb->Width(), 4);
  EXPECT_EQ(PixelOf(*T, 0, 0), s.At(0, 0));
  EXPECT_EQ(PixelOf(*T, 39, 2), s.At(19, 2));
  EXPECT_EQ(PixelOf(*B, 39, 3), s.At(19, 15));
  // The left strip: the middle tiled from its top, then rows ClRect.Top..LTPoint.Y over it.
  EXPECT_EQ(PixelOf(*L, 1, 0), s.At(1, 3));
  EXPECT_EQ(PixelOf(*L, 1, 2), s.At(1, 7));
  EXPECT_EQ(PixelOf(*L, 1, 22), s.At(1, 11));
  EXPECT_EQ(PixelOf(*Rb, 0, 0), s.At(16, 3));
}

TEST(SkinImage, BorderStripsWithoutATopBandKeepTheOldTopStrip) {
  Skin s;
  s.Cl.Top = 0;
  s.LT.Y = s.RT.Y = 0;
  TOwned<TBitmap> L = CreateOwned<TBitmap>(), Rb = CreateOwned<TBitmap>(),
                  B = CreateOwned<TBitmap>();
  TOwned<TBitmap> T = NewBitmap(50, 4, 0x123456);
  CreateSkinBorderStrips(s.LT, s.RT, s.LB, s.RB, s.Cl, s.LT, TPoint{s.RT.X + 20, 0}, s.LB,
                         TPoint{s.RB.X + 20, s.RB.Y}, Rect(4, 0, 36, 12), L.get(), T.get(),
                         Rb.get(), B.get(), s.Source.get(), s.R, 40, 16, false, false, false,
                         false);
  EXPECT_EQ(T->Width(), 50);
  EXPECT_EQ(PixelOf(*T, 0, 0), 0x123456u);
  EXPECT_EQ(L->Height(), 16 - 4 - 4);  // the old top strip's height still counts
}
