// Lines, rectangles, ellipses, polygons and pens, checked pixel by pixel.
#include <gtest/gtest.h>

#include "platform/win/Gdi.h"
#include "tests/platform/win/RasterTestUtil.h"

using namespace raster_test;

namespace {

struct LineCase {
  const char* Name;
  POINT From, To;
  std::vector<std::string> Expected;
};

}  // namespace

// A line covers its start and not its end, whichever way it runs; along the major axis
// every step sets one pixel and the minor coordinate rounds to nearest, halves toward
// the start.
TEST(Shapes, LineCoversStartButNotEnd) {
  const LineCase Cases[] = {
      {"horizontal", {1, 1}, {4, 1}, {"......", ".###..", "......"}},
      {"leftwards", {4, 1}, {1, 1}, {"......", "..###.", "......"}},
      {"vertical", {0, 0}, {0, 2}, {"#.....", "#.....", "......"}},
      {"diagonal", {0, 0}, {3, 3}, {"#.....", ".#....", "..#..."}},
      {"shallow", {0, 0}, {5, 2}, {"##....", "..##..", "....#."}},
      {"single point", {2, 1}, {2, 1}, {"......", "......", "......"}},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Name);
    Canvas Cv(6, 3);
    MoveToEx(Cv.Dc, C.From.X, C.From.Y, nullptr);
    LineTo(Cv.Dc, C.To.X, C.To.Y);
    EXPECT_PICTURE(Cv.Picture(kBlack), C.Expected);
    POINT P;
    GetCurrentPositionEx(Cv.Dc, &P);
    EXPECT_EQ(P, C.To);
  }
}

TEST(Shapes, PolylineDrawsEveryVertexOnceExceptTheLast) {
  Canvas Cv(5, 4);
  const POINT Pts[] = {{0, 0}, {3, 0}, {3, 3}, {0, 3}};
  SetROP2(Cv.Dc, R2_NOT);  // a vertex drawn twice would invert back to white
  Polyline(Cv.Dc, Pts, 4);
  EXPECT_PICTURE(Cv.Picture(kBlack), "####.", "...#.", "...#.", ".###.");
}

TEST(Shapes, RectangleCoversLeftToRightMinusOne) {
  HBRUSH Red = CreateSolidBrush(RGB(255, 0, 0));
  {
    Canvas Cv(7, 6);
    SelectObject(Cv.Dc, Red);
    Rectangle(Cv.Dc, 1, 1, 6, 5);
    EXPECT_PICTURE(Cv.Picture({{kBlack, '#'}, {kRed, 'r'}}), ".......", ".#####.", ".#rrr#.", ".#rrr#.", ".#####.",
                   ".......");
  }
  {
    // With a null pen the fill loses its right column and bottom row.
    Canvas Cv(7, 6);
    SelectObject(Cv.Dc, Red);
    SelectObject(Cv.Dc, GetStockObject(NULL_PEN));
    Rectangle(Cv.Dc, 1, 1, 6, 5);
    EXPECT_PICTURE(Cv.Picture({{kRed, 'r'}}), ".......", ".rrrr..", ".rrrr..", ".rrrr..", ".......", ".......");
  }
  {
    // Reversed corners draw the same rectangle.
    Canvas Cv(7, 6);
    SelectObject(Cv.Dc, GetStockObject(NULL_BRUSH));
    Rectangle(Cv.Dc, 6, 5, 1, 1);
    EXPECT_PICTURE(Cv.Picture(kBlack), ".......", ".#####.", ".#...#.", ".#...#.", ".#####.", ".......");
  }
  DeleteObject(Red);
}

TEST(Shapes, WideRectanglePenIsCentredOnTheBorderOrInsideTheFrame) {
  {
    Canvas Cv(10, 9);
    HPEN Pen = CreatePen(PS_SOLID, 3, RGB(0, 0, 0));
    SelectObject(Cv.Dc, Pen);
    SelectObject(Cv.Dc, GetStockObject(NULL_BRUSH));
    Rectangle(Cv.Dc, 2, 2, 8, 7);
    EXPECT_PICTURE(Cv.Picture(kBlack), "..........", ".########.", ".########.", ".########.", ".###..###.",
                   ".########.", ".########.", ".########.", "..........");
    SelectObject(Cv.Dc, GetStockObject(BLACK_PEN));
    DeleteObject(Pen);
  }
  {
    Canvas Cv(8, 7);
    HPEN Pen = CreatePen(PS_INSIDEFRAME, 2, RGB(0, 0, 0));
    SelectObject(Cv.Dc, Pen);
    SelectObject(Cv.Dc, GetStockObject(NULL_BRUSH));
    Rectangle(Cv.Dc, 1, 1, 7, 6);
    EXPECT_PICTURE(Cv.Picture(kBlack), "........", ".######.", ".######.", ".##..##.", ".######.", ".######.",
                   "........");
    SelectObject(Cv.Dc, GetStockObject(BLACK_PEN));
    DeleteObject(Pen);
  }
}

TEST(Shapes, EllipseCoversPixelsWhoseCentresAreInside) {
  Canvas Cv(9, 7);
  HBRUSH Red = CreateSolidBrush(RGB(255, 0, 0));
  SelectObject(Cv.Dc, Red);
  Ellipse(Cv.Dc, 1, 1, 8, 6);
  EXPECT_PICTURE(Cv.Picture({{kBlack, '#'}, {kRed, 'r'}}), ".........", "..#####..", ".#rrrrr#.", ".#rrrrr#.",
                 ".#rrrrr#.", "..#####..", ".........");
  SelectObject(Cv.Dc, GetStockObject(WHITE_BRUSH));
  DeleteObject(Red);
}

TEST(Shapes, EllipticRegionMatchesTheEllipseFill) {
  Canvas A(12, 10), B(12, 10);
  SelectObject(A.Dc, GetStockObject(BLACK_BRUSH));
  Ellipse(A.Dc, 1, 2, 11, 9);
  HRGN R = CreateEllipticRgn(1, 2, 11, 9);
  FillRgn(B.Dc, R, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  EXPECT_EQ(Joined(A.Picture(kBlack)), Joined(B.Picture(kBlack)));
  DeleteObject(R);
}

TEST(Shapes, PolygonFillsPixelCentresInside) {
  Canvas Cv(7, 6);
  SelectObject(Cv.Dc, GetStockObject(NULL_PEN));
  SelectObject(Cv.Dc, GetStockObject(BLACK_BRUSH));
  const POINT Tri[] = {{0, 0}, {6, 0}, {0, 6}};
  Polygon(Cv.Dc, Tri, 3);
  EXPECT_PICTURE(Cv.Picture(kBlack), "#####..", "####...", "###....", "##.....", "#......", ".......");
}

TEST(Shapes, PolygonFillModeDecidesOverlaps) {
  // Two overlapping squares in one polygon list, the same winding direction.
  const POINT Pts[] = {{0, 0}, {4, 0}, {4, 4}, {0, 4}, {2, 2}, {6, 2}, {6, 6}, {2, 6}};
  const INT Counts[] = {4, 4};
  for (int Mode : {ALTERNATE, WINDING}) {
    SCOPED_TRACE(Mode);
    Canvas Cv(6, 6);
    SelectObject(Cv.Dc, GetStockObject(NULL_PEN));
    SelectObject(Cv.Dc, GetStockObject(BLACK_BRUSH));
    SetPolyFillMode(Cv.Dc, Mode);
    PolyPolygon(Cv.Dc, Pts, Counts, 2);
    EXPECT_EQ(Cv.At(3, 3) & 0xFFFFFF, Mode == ALTERNATE ? kWhite : kBlack);
    EXPECT_EQ(Cv.At(1, 1) & 0xFFFFFF, kBlack);
    EXPECT_EQ(Cv.At(5, 5) & 0xFFFFFF, kBlack);
  }
}

TEST(Shapes, XorPenDrawnTwiceLeavesThePictureUnchanged) {
  for (int Width : {1, 4}) {
    SCOPED_TRACE(Width);
    Canvas Cv(16, 12);
    for (int y = 0; y < 12; ++y)
      for (int x = 0; x < 16; ++x) Cv.At(x, y) = static_cast<uint32_t>(x * 16 + y * 0x1000 + 0x30000);
    std::vector<uint32_t> Before(Cv.Bits, Cv.Bits + 16 * 12);
    HPEN Pen = CreatePen(PS_SOLID, Width, RGB(0x5A, 0xA5, 0xFF));
    SelectObject(Cv.Dc, Pen);
    SetROP2(Cv.Dc, R2_XORPEN);
    const POINT Pts[] = {{1, 1}, {14, 3}, {2, 10}, {13, 10}, {13, 1}};
    Polyline(Cv.Dc, Pts, 5);
    EXPECT_NE(std::vector<uint32_t>(Cv.Bits, Cv.Bits + 16 * 12), Before);
    Polyline(Cv.Dc, Pts, 5);
    EXPECT_EQ(std::vector<uint32_t>(Cv.Bits, Cv.Bits + 16 * 12), Before);
    SelectObject(Cv.Dc, GetStockObject(BLACK_PEN));
    DeleteObject(Pen);
  }
}

TEST(Shapes, DottedPenAlternatesAndFillsGapsOnlyWhenOpaque) {
  HPEN Dot = CreatePen(PS_DOT, 1, RGB(0, 0, 0));
  for (int Mode : {TRANSPARENT, OPAQUE}) {
    SCOPED_TRACE(Mode);
    Canvas Cv(14, 1);
    SelectObject(Cv.Dc, Dot);
    SetBkMode(Cv.Dc, Mode);
    SetBkColor(Cv.Dc, RGB(0, 0, 255));
    MoveToEx(Cv.Dc, 0, 0, nullptr);
    LineTo(Cv.Dc, 13, 0);
    EXPECT_PICTURE(Cv.Picture({{kBlack, '#'}, {kBlue, 'b'}}),
                   Mode == OPAQUE ? "###bbb###bbb#." : "###...###...#.");
    SelectObject(Cv.Dc, GetStockObject(BLACK_PEN));
  }
  DeleteObject(Dot);
}

TEST(Shapes, DottedPenWiderThanOnePixelDrawsSolid) {
  Canvas Cv(12, 5);
  HPEN Pen = CreatePen(PS_DOT, 2, RGB(0, 0, 0));
  SelectObject(Cv.Dc, Pen);
  MoveToEx(Cv.Dc, 2, 2, nullptr);
  LineTo(Cv.Dc, 10, 2);
  for (int x = 2; x < 10; ++x) EXPECT_EQ(Cv.At(x, 2) & 0xFFFFFF, kBlack) << x;
  SelectObject(Cv.Dc, GetStockObject(BLACK_PEN));
  DeleteObject(Pen);
}

TEST(Shapes, GeometricPenWithFlatCapsAndMiterJoins) {
  LOGBRUSH Lb{BS_SOLID, RGB(0, 0, 0), 0};
  HPEN Pen = ExtCreatePen(PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_FLAT | PS_JOIN_MITER, 3, &Lb, 0, nullptr);
  ASSERT_NE(Pen, nullptr);
  {
    // Flat caps: the stroke starts at the first point and stops at the last.
    Canvas Cv(8, 5);
    SelectObject(Cv.Dc, Pen);
    MoveToEx(Cv.Dc, 1, 2, nullptr);
    LineTo(Cv.Dc, 6, 2);
    EXPECT_PICTURE(Cv.Picture(kBlack), "........", ".#####..", ".#####..", ".#####..", "........");
    SelectObject(Cv.Dc, GetStockObject(BLACK_PEN));
  }
  {
    // A right-angle corner gets its square miter.
    Canvas Cv(8, 6);
    SelectObject(Cv.Dc, Pen);
    const POINT L[] = {{1, 1}, {5, 1}, {5, 5}};
    Polyline(Cv.Dc, L, 3);
    EXPECT_PICTURE(Cv.Picture(kBlack), ".######.", ".######.", ".######.", "....###.", "....###.", "........");
    SelectObject(Cv.Dc, GetStockObject(BLACK_PEN));
  }
  EXTLOGPEN Info{};
  EXPECT_GT(GetObject(Pen, sizeof Info, &Info), 0);
  EXPECT_EQ(Info.elpWidth, 3u);
  EXPECT_EQ(Info.elpPenStyle & PS_ENDCAP_MASK, PS_ENDCAP_FLAT);
  DeleteObject(Pen);
}

TEST(Shapes, FillRectIgnoresTheMixModeAndTakesSystemColourIndexes) {
  Canvas Cv(5, 4);
  SetROP2(Cv.Dc, R2_XORPEN);
  HBRUSH Red = CreateSolidBrush(RGB(255, 0, 0));
  RECT R{1, 1, 4, 3};
  EXPECT_NE(FillRect(Cv.Dc, &R, Red), 0);
  EXPECT_PICTURE(Cv.Picture(kRed), ".....", ".###.", ".###.", ".....");
  RECT R2{0, 0, 5, 4};
  FrameRect(Cv.Dc, &R2, reinterpret_cast<HBRUSH>(static_cast<uintptr_t>(8 /* COLOR_WINDOWTEXT */ + 1)));
  EXPECT_PICTURE(Cv.Picture({{kBlack, '#'}, {kRed, 'r'}}), "#####", "#rrr#", "#rrr#", "#####");
  DeleteObject(Red);
}

TEST(Shapes, DrawingWithAnInvalidDcFails) {
  Canvas Cv(2, 2);
  HDC Dead = CreateCompatibleDC(nullptr);
  DeleteDC(Dead);
  EXPECT_FALSE(LineTo(Dead, 1, 1));
  EXPECT_FALSE(Rectangle(Dead, 0, 0, 1, 1));
  RECT R{0, 0, 1, 1};
  EXPECT_EQ(FillRect(Dead, &R, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH))), 0);
  EXPECT_FALSE(Polyline(Cv.Dc, nullptr, 3));
}
