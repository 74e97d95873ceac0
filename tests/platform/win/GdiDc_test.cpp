// Device contexts: selected objects, SaveDC/RestoreDC, capabilities, DCs on surfaces
// and the screen.
#include <gtest/gtest.h>

#include "platform/win/GdiInternal.h"
#include "tests/platform/win/RasterTestUtil.h"

using namespace raster_test;
using vantrel::win::Surface;

TEST(GdiDc, SelectObjectReturnsThePreviousObjectOfEachKind) {
  Canvas Cv(2, 2);
  HPEN Pen = CreatePen(PS_SOLID, 1, RGB(1, 2, 3));
  HBRUSH Brush = CreateSolidBrush(RGB(4, 5, 6));
  EXPECT_EQ(SelectObject(Cv.Dc, Pen), GetStockObject(BLACK_PEN));
  EXPECT_EQ(SelectObject(Cv.Dc, Brush), GetStockObject(WHITE_BRUSH));
  EXPECT_EQ(GetCurrentObject(Cv.Dc, OBJ_PEN), Pen);
  EXPECT_EQ(GetCurrentObject(Cv.Dc, OBJ_BRUSH), Brush);
  EXPECT_EQ(SelectObject(Cv.Dc, GetStockObject(BLACK_PEN)), Pen);
  EXPECT_EQ(SelectObject(Cv.Dc, nullptr), nullptr);
  SelectObject(Cv.Dc, GetStockObject(WHITE_BRUSH));
  DeleteObject(Pen);
  DeleteObject(Brush);
}

TEST(GdiDc, DeletingASelectedPenKeepsTheDcDrawing) {
  Canvas Cv(4, 1);
  HPEN Pen = CreatePen(PS_SOLID, 1, RGB(255, 0, 0));
  SelectObject(Cv.Dc, Pen);
  EXPECT_TRUE(DeleteObject(Pen));
  EXPECT_EQ(GetObjectType(Pen), 0u);
  MoveToEx(Cv.Dc, 0, 0, nullptr);
  LineTo(Cv.Dc, 2, 0);
  EXPECT_PICTURE(Cv.Picture(kRed), "##..");
}

TEST(GdiDc, RestoreDCBringsBackEverySavedSetting) {
  Canvas Cv(4, 4);
  HPEN Pen = CreatePen(PS_SOLID, 1, RGB(255, 0, 0));
  EXPECT_EQ(SaveDC(Cv.Dc), 1);
  SelectObject(Cv.Dc, Pen);
  SetTextColor(Cv.Dc, RGB(1, 1, 1));
  SetROP2(Cv.Dc, R2_XORPEN);
  SetWindowOrgEx(Cv.Dc, 5, 5, nullptr);
  IntersectClipRect(Cv.Dc, 5, 5, 6, 6);
  EXPECT_EQ(SaveDC(Cv.Dc), 2);
  SetTextColor(Cv.Dc, RGB(2, 2, 2));
  EXPECT_TRUE(RestoreDC(Cv.Dc, -1));
  EXPECT_EQ(GetTextColor(Cv.Dc), RGB(1, 1, 1));
  EXPECT_FALSE(RestoreDC(Cv.Dc, 2));  // level 2 is gone
  EXPECT_TRUE(RestoreDC(Cv.Dc, 1));
  EXPECT_EQ(GetCurrentObject(Cv.Dc, OBJ_PEN), GetStockObject(BLACK_PEN));
  EXPECT_EQ(GetTextColor(Cv.Dc), RGB(0, 0, 0));
  EXPECT_EQ(GetROP2(Cv.Dc), R2_COPYPEN);
  POINT Org;
  GetWindowOrgEx(Cv.Dc, &Org);
  EXPECT_EQ(Org, (POINT{0, 0}));
  RECT Box;
  EXPECT_EQ(GetClipBox(Cv.Dc, &Box), SIMPLEREGION);
  EXPECT_EQ(Box, (RECT{0, 0, 4, 4}));
  EXPECT_FALSE(RestoreDC(Cv.Dc, -1));
  DeleteObject(Pen);
}

TEST(GdiDc, DeviceCapsDescribeA32BitDisplay) {
  HDC Dc = CreateCompatibleDC(nullptr);
  EXPECT_EQ(GetDeviceCaps(Dc, BITSPIXEL), 32);
  EXPECT_EQ(GetDeviceCaps(Dc, PLANES), 1);
  EXPECT_EQ(GetDeviceCaps(Dc, LOGPIXELSY), 96);
  DeleteDC(Dc);
  EXPECT_EQ(GetDeviceCaps(Dc, BITSPIXEL), 0);
}

TEST(GdiDc, DcOnASurfaceDrawsInsideItsOriginAndBaseClip) {
  Surface S(10, 8, false);
  vantrel::win::Region Visible(RECT{3, 2, 8, 6});
  HDC Dc = vantrel::win::CreateDcOnSurface(&S, POINT{3, 2}, Visible);
  RECT All{0, 0, 100, 100};
  FillRect(Dc, &All, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  int Painted = 0;
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 10; ++x) {
      bool Inside = x >= 3 && x < 8 && y >= 2 && y < 6;
      EXPECT_EQ(S.Row(y)[x] == 0 && Inside, Inside) << x << "," << y;
      Painted += Inside;
    }
  EXPECT_EQ(Painted, 20);
  // The clip box is reported in the DC's own coordinates.
  RECT Box;
  GetClipBox(Dc, &Box);
  EXPECT_EQ(Box, (RECT{0, 0, 5, 4}));
  // A pixel at the DC's (0, 0) is the surface's (3, 2).
  S.Row(2)[3] = 0x00ABCDEF;
  EXPECT_EQ(GetPixel(Dc, 0, 0), RGB(0xAB, 0xCD, 0xEF));
  EXPECT_EQ(GetPixel(Dc, -1, 0), CLR_INVALID);
  DeleteDC(Dc);
}

TEST(GdiDc, ScreenDcReadsTheInstalledScreenSurface) {
  Surface Screen(40, 30, false);
  Screen.Row(5)[7] = 0x00102030;
  vantrel::win::SetScreenSurfaceProvider([&] { return &Screen; });
  HDC Dc = CreateDC("DISPLAY", nullptr, nullptr, nullptr);
  EXPECT_EQ(GetDeviceCaps(Dc, HORZRES), 40);
  Canvas Cv(2, 2);
  BitBlt(Cv.Dc, 0, 0, 2, 2, Dc, 6, 5, SRCCOPY);  // as copying the screen into a bitmap
  EXPECT_EQ(Cv.At(1, 0), 0x00102030u);
  DeleteDC(Dc);
  vantrel::win::SetScreenSurfaceProvider(nullptr);
  EXPECT_EQ(vantrel::win::ScreenSurface()->Width(), 1024);
  EXPECT_EQ(CreateDC("PRINTER", nullptr, nullptr, nullptr), nullptr);
}

TEST(GdiDc, ObjectsDoNotLeakHandles) {
  DeleteDC(CreateCompatibleDC(nullptr));  // stock objects and the default font are made once
  size_t Before = vantrel::win::GdiObjectCount();
  {
    Canvas Cv(8, 8);
    HPEN P = CreatePen(PS_DASH, 1, 0);
    SelectObject(Cv.Dc, P);
    Rectangle(Cv.Dc, 0, 0, 5, 5);
    SelectObject(Cv.Dc, GetStockObject(BLACK_PEN));
    DeleteObject(P);
  }
  EXPECT_EQ(vantrel::win::GdiObjectCount(), Before);
}
