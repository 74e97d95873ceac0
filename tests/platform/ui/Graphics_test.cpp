// TBitmap and TCanvas: pixel layout, drawing through the DC, transparency, assignment,
// resizing and format changes; the canvas on a foreign DC; font, pen and brush objects.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/ui/Graphics.h"
#include "platform/win/Gdi.h"
#include "platform/win/GdiObjects.h"
#include "platform/win/Resources.h"

namespace {

uint32_t& Px(TBitmap& B, int X, int Y) { return static_cast<uint32_t*>(B.ScanLine(Y))[X]; }

TEST(Bitmap, Pf32bitIsABottomUpDibWhoseScanLinesAreVisualRows) {
  TBitmap b;
  b.SetPixelFormat(pf32bit);
  b.SetSize(4, 3);
  EXPECT_EQ(b.HandleType(), bmDIB);
  DIBSECTION ds{};
  ASSERT_EQ(GetObject(b.Handle(), sizeof ds, &ds), static_cast<int>(sizeof ds));
  EXPECT_EQ(ds.dsBmih.biBitCount, 32);
  EXPECT_GT(ds.dsBmih.biHeight, 0);
  // The bits start with the bottom row; each visual row lies one stride below the next.
  EXPECT_EQ(ds.dsBm.bmBits, b.ScanLine(2));
  EXPECT_EQ(static_cast<uint8_t*>(b.ScanLine(0)) - static_cast<uint8_t*>(b.ScanLine(1)), 16);
  Px(b, 1, 0) = 0x00FF0000;  // red, top row
  EXPECT_EQ(b.Canvas()->Pixels(1, 0), clRed);
  b.Canvas()->SetPixels(2, 2, clBlue);
  EXPECT_EQ(Px(b, 2, 2) & 0xFFFFFF, 0x0000FFu);
}

TEST(Bitmap, ScanLineOutsideThePictureRaises) {
  TBitmap b;
  EXPECT_THROW(b.ScanLine(0), EInvalidGraphicOperation);
  b.SetSize(2, 2);
  EXPECT_THROW(b.ScanLine(2), EInvalidGraphicOperation);
  EXPECT_THROW(b.ScanLine(-1), EInvalidGraphicOperation);
}

TEST(Bitmap, ADeviceBitmapBecomesA32BitDibForScanLine) {
  TBitmap b;
  b.SetSize(3, 2);
  EXPECT_EQ(b.PixelFormat(), pfDevice);
  EXPECT_EQ(b.HandleType(), bmDDB);
  b.Canvas()->SetPixels(0, 1, clLime);
  const uint32_t p = static_cast<uint32_t*>(b.ScanLine(1))[0];
  EXPECT_EQ(b.HandleType(), bmDIB);
  EXPECT_EQ(b.PixelFormat(), pf32bit);
  EXPECT_EQ(p & 0xFFFFFF, 0x00FF00u);
}

// Drawing through the canvas lands in the scan lines at every depth, and pixels written
// into the scan lines are what the canvas reads and copies.
TEST(Bitmap, CanvasDrawingAndScanLinesSeeTheSamePixels) {
  for (TPixelFormat f : {pf24bit, pf32bit, pf16bit, pf8bit}) {
    SCOPED_TRACE(static_cast<int>(f));
    TBitmap b;
    b.SetPixelFormat(f);
    b.SetSize(6, 4);
    b.Canvas()->Brush()->SetColor(clBlack);
    b.Canvas()->FillRect(Rect(0, 0, 6, 4));
    b.Canvas()->Brush()->SetColor(clRed);
    b.Canvas()->FillRect(Rect(1, 1, 3, 3));
    EXPECT_EQ(b.Canvas()->Pixels(1, 1), clRed);
    EXPECT_EQ(b.Canvas()->Pixels(3, 1), clBlack);
    if (f == pf24bit) {
      const auto* row = static_cast<const uint8_t*>(b.ScanLine(2));
      EXPECT_EQ(row[2 * 3 + 2], 255);  // pixel (2, 2) is red
      EXPECT_EQ(row[3 * 3 + 2], 0);
      uint8_t* top = static_cast<uint8_t*>(b.ScanLine(0));
      top[5 * 3 + 0] = 255;  // (5, 0) blue by hand
      top[5 * 3 + 1] = top[5 * 3 + 2] = 0;
      EXPECT_EQ(b.Canvas()->Pixels(5, 0), clBlue);
      b.Canvas()->SetPixels(0, 3, clLime);  // a later GDI write keeps the hand-made pixel
      EXPECT_EQ(b.Canvas()->Pixels(5, 0), clBlue);
    }
  }
}

TEST(Bitmap, TakesOverHandlesAndGivesThemBack) {
  {
    SCOPED_TRACE("top-down 24 bpp DIB section");
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), 2, -2, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    static_cast<uint8_t*>(bits)[2] = 255;  // first stored row is the top: (0, 0) red
    TBitmap b;
    b.SetHandle(dib);
    EXPECT_EQ(b.Handle(), dib);
    EXPECT_EQ(b.PixelFormat(), pf24bit);
    EXPECT_EQ(b.ScanLine(0), bits);
    EXPECT_EQ(b.Canvas()->Pixels(0, 0), clRed);
    EXPECT_EQ(b.ReleaseHandle(), dib);
    EXPECT_TRUE(b.Empty());
    EXPECT_TRUE(DeleteObject(dib));  // ours again, exactly once
  }
  {
    SCOPED_TRACE("device bitmap");
    HDC screen = CreateDC("DISPLAY", nullptr, nullptr, nullptr);
    HBITMAP ddb = CreateCompatibleBitmap(screen, 3, 2);  // the screen's depth, 32 bpp
    DeleteDC(screen);
    HDC mem = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(mem, ddb);
    SetPixel(mem, 2, 1, RGB(0, 0, 255));
    SelectObject(mem, old);
    DeleteDC(mem);
    TBitmap b;
    b.SetHandle(ddb);
    EXPECT_EQ(b.PixelFormat(), pfDevice);
    EXPECT_EQ(b.Width(), 3);
    EXPECT_EQ(b.Canvas()->Pixels(2, 1), clBlue);
  }
}

TEST(Bitmap, LoadsBitmapResourcesByName) {
  TBitmap b;
  b.LoadFromResourceName(nullptr, "SP_FLOPPY");
  ASSERT_FALSE(b.Empty());
  TBitmap viaHandle;
  viaHandle.SetHandle(LoadBitmap(nullptr, "SP_FLOPPY"));
  ASSERT_EQ(b.Width(), viaHandle.Width());
  ASSERT_EQ(b.Height(), viaHandle.Height());
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x)
      ASSERT_EQ(b.Canvas()->Pixels(x, y), viaHandle.Canvas()->Pixels(x, y)) << x << "," << y;
  try {
    b.LoadFromResourceName(nullptr, "NO_SUCH_PICTURE");
    ADD_FAILURE() << "no exception";
  } catch (const EResNotFound& e) {
    EXPECT_STREQ(e.what(), "Resource NO_SUCH_PICTURE not found");
  }
}

TEST(Bitmap, NewPixelsAreWhiteAndResizingKeepsTheTopLeft) {
  TBitmap b;
  b.SetPixelFormat(pf24bit);
  b.SetSize(2, 2);
  EXPECT_EQ(b.Canvas()->Pixels(1, 1), clWhite);
  b.Canvas()->SetPixels(0, 0, clRed);
  b.Canvas()->SetPixels(1, 1, clBlue);
  b.SetSize(3, 4);
  EXPECT_EQ(b.Canvas()->Pixels(0, 0), clRed);
  EXPECT_EQ(b.Canvas()->Pixels(1, 1), clBlue);
  EXPECT_EQ(b.Canvas()->Pixels(2, 3), clWhite);
  b.SetSize(1, 1);
  EXPECT_EQ(b.Canvas()->Pixels(0, 0), clRed);
  b.SetWidth(0);
  EXPECT_TRUE(b.Empty());
  EXPECT_EQ(b.Height(), 1);
}

TEST(Bitmap, TransparentColorAutoIsTheBottomLeftPixelAndDrawingSkipsIt) {
  TBitmap src;
  src.SetPixelFormat(pf24bit);
  src.SetSize(2, 2);
  src.Canvas()->Brush()->SetColor(clFuchsia);
  src.Canvas()->FillRect(Rect(0, 0, 2, 2));
  src.Canvas()->SetPixels(1, 0, clGreen);
  EXPECT_EQ(src.TransparentMode(), tmAuto);
  EXPECT_EQ(src.TransparentColor(), clFuchsia);
  src.SetTransparent(true);

  TBitmap dst;
  dst.SetPixelFormat(pf24bit);
  dst.SetSize(2, 2);
  dst.Canvas()->Brush()->SetColor(clYellow);
  dst.Canvas()->FillRect(Rect(0, 0, 2, 2));
  dst.Canvas()->Draw(0, 0, &src);
  EXPECT_EQ(dst.Canvas()->Pixels(1, 0), clGreen);
  EXPECT_EQ(dst.Canvas()->Pixels(0, 0), clYellow);
  EXPECT_EQ(dst.Canvas()->Pixels(1, 1), clYellow);

  src.SetTransparentColor(clGreen);
  EXPECT_EQ(src.TransparentMode(), tmFixed);
  dst.Canvas()->Draw(0, 0, &src);
  EXPECT_EQ(dst.Canvas()->Pixels(0, 0), clFuchsia);
  src.SetTransparentMode(tmAuto);
  EXPECT_EQ(src.TransparentColor(), clFuchsia);
}

TEST(Bitmap, AssignMakesAnIndependentCopyOfPixelsFormatAndTransparency) {
  TBitmap src;
  src.SetPixelFormat(pf32bit);
  src.SetSize(3, 2);
  Px(src, 2, 1) = 0x80123456;
  src.SetTransparent(true);
  src.SetTransparentColor(clRed);
  TBitmap copy;
  copy.Assign(&src);
  EXPECT_EQ(copy.PixelFormat(), pf32bit);
  EXPECT_EQ(copy.Width(), 3);
  EXPECT_EQ(copy.Height(), 2);
  EXPECT_EQ(Px(copy, 2, 1), 0x80123456u);
  EXPECT_TRUE(copy.Transparent());
  EXPECT_EQ(copy.TransparentColor(), clRed);
  Px(copy, 2, 1) = 0;
  EXPECT_EQ(Px(src, 2, 1), 0x80123456u);
  copy.Assign(nullptr);
  EXPECT_TRUE(copy.Empty());
}

TEST(Bitmap, PixelFormatChangesKeepColoursTheTableHolds) {
  TBitmap b;
  b.SetPixelFormat(pf32bit);
  b.SetSize(3, 1);
  b.Canvas()->SetPixels(0, 0, clRed);
  b.Canvas()->SetPixels(1, 0, clWhite);
  b.Canvas()->SetPixels(2, 0, clBlack);
  for (TPixelFormat f : {pf8bit, pf24bit, pf15bit, pf1bit, pf32bit}) {
    SCOPED_TRACE(static_cast<int>(f));
    b.SetPixelFormat(f);
    EXPECT_EQ(b.PixelFormat(), f);
    EXPECT_EQ(b.Canvas()->Pixels(1, 0), clWhite);
    EXPECT_EQ(b.Canvas()->Pixels(2, 0), clBlack);
    if (f != pf1bit) {
      EXPECT_EQ(b.Canvas()->Pixels(0, 0), f == pf32bit ? clBlack : clRed);
    }
  }
  EXPECT_THROW(b.SetPixelFormat(pfCustom), EInvalidGraphic);
}

TEST(Bitmap, OnChangeFiresForCanvasDrawingAndResizing) {
  TBitmap b;
  int changes = 0;
  b.OnChange = [&](TObject* Sender) {
    EXPECT_EQ(Sender, &b);
    ++changes;
  };
  b.SetSize(2, 2);
  EXPECT_EQ(changes, 1);
  b.Canvas()->FillRect(Rect(0, 0, 1, 1));
  EXPECT_EQ(changes, 2);
  EXPECT_TRUE(b.Modified());
}

TEST(Canvas, WorksOnAForeignDcAndLeavesItCleanWhenDetached) {
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), 4, 4, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, dib);
  {
    TCanvas canvas;
    canvas.SetHandle(dc);
    EXPECT_TRUE(canvas.HandleAllocated());
    canvas.Brush()->SetColor(clRed);
    canvas.FillRect(Rect(0, 0, 2, 2));
    EXPECT_EQ(GetPixel(dc, 1, 1), static_cast<COLORREF>(clRed));
    HGDIOBJ selected = GetCurrentObject(dc, OBJ_BRUSH);
    EXPECT_EQ(selected, canvas.Brush()->Handle());
    canvas.Brush()->SetColor(clBlue);  // the old brush leaves the DC before it is deleted
    EXPECT_NE(GetCurrentObject(dc, OBJ_BRUSH), selected);
    canvas.FillRect(Rect(2, 2, 4, 4));
    EXPECT_EQ(GetPixel(dc, 3, 3), static_cast<COLORREF>(clBlue));
    canvas.SetHandle(nullptr);
    EXPECT_FALSE(canvas.HandleAllocated());
    EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), GetStockObject(HOLLOW_BRUSH));
    EXPECT_THROW(canvas.FillRect(Rect(0, 0, 1, 1)), EInvalidOperation);
  }
  // The canvas never owned the DC.
  EXPECT_EQ(SelectObject(dc, old), static_cast<HGDIOBJ>(dib));
  EXPECT_TRUE(DeleteDC(dc));
  EXPECT_TRUE(DeleteObject(dib));
}

TEST(Canvas, ShapesUseThePenAndBrush) {
  TBitmap b;
  b.SetPixelFormat(pf32bit);
  b.SetSize(8, 8);
  TCanvas* c = b.Canvas();
  c->Brush()->SetColor(clWhite);
  c->FillRect(Rect(0, 0, 8, 8));
  c->Pen()->SetColor(clRed);
  c->Brush()->SetColor(clBlue);
  c->Rectangle(1, 1, 5, 5);
  EXPECT_EQ(c->Pixels(1, 1), clRed);   // outline
  EXPECT_EQ(c->Pixels(4, 4), clRed);
  EXPECT_EQ(c->Pixels(2, 2), clBlue);  // fill
  EXPECT_EQ(c->Pixels(5, 5), clWhite);
  c->Pen()->SetColor(clLime);
  c->MoveTo(0, 7);
  c->LineTo(4, 7);
  EXPECT_EQ(c->Pixels(3, 7), clLime);
  EXPECT_EQ(c->Pixels(4, 7), clWhite);  // the end point is not drawn
  EXPECT_EQ(c->PenPos(), Point(4, 7));
  c->Brush()->SetStyle(bsClear);
  c->Pen()->SetColor(clBlack);
  c->Rectangle(5, 0, 8, 3);
  EXPECT_EQ(c->Pixels(6, 1), clWhite);  // a clear brush leaves the inside alone
}

TEST(Canvas, CopyRectStretchesWithTheCopyMode) {
  TBitmap src, dst;
  src.SetPixelFormat(pf32bit);
  dst.SetPixelFormat(pf32bit);
  src.SetSize(2, 1);
  dst.SetSize(4, 1);
  src.Canvas()->SetPixels(0, 0, clRed);
  src.Canvas()->SetPixels(1, 0, clBlue);
  dst.Canvas()->CopyRect(Rect(0, 0, 4, 1), src.Canvas(), Rect(0, 0, 2, 1));
  EXPECT_EQ(dst.Canvas()->Pixels(1, 0), clRed);
  EXPECT_EQ(dst.Canvas()->Pixels(2, 0), clBlue);
  dst.Canvas()->SetCopyMode(cmWhiteness);
  dst.Canvas()->CopyRect(Rect(0, 0, 1, 1), src.Canvas(), Rect(0, 0, 1, 1));
  EXPECT_EQ(dst.Canvas()->Pixels(0, 0), clWhite);
}

TEST(Canvas, TextIsMeasuredWithTheCanvasFont) {
  TBitmap b;
  b.SetSize(10, 10);
  TCanvas* c = b.Canvas();
  c->Font()->SetName("Arial");
  c->Font()->SetHeight(-11);
  const int small = c->TextWidth("Hello");
  c->Font()->SetHeight(-22);
  const int large = c->TextWidth("Hello");
  EXPECT_GT(small, 0);
  EXPECT_GT(large, small);
  EXPECT_EQ(c->TextWidth(""), 0);
  c->TextOut(1, 1, "Hello");
  EXPECT_EQ(c->PenPos(), Point(1 + large, 1));
}

TEST(Font, SizeAndHeightConvertAtTheScreenResolution) {
  TFont f;
  struct {
    Integer Size, Height;
  } cases[] = {{8, -11}, {10, -13}, {12, -16}, {9, -12}};
  for (auto c : cases) {
    SCOPED_TRACE(c.Size);
    f.SetSize(c.Size);
    EXPECT_EQ(f.Height(), c.Height);
    EXPECT_EQ(f.Size(), c.Size);
  }
}

TEST(Font, AssignCopiesEveryPropertyAndSignalsOnce) {
  TFont a, b;
  a.SetName("Arial");
  a.SetHeight(-20);
  a.SetStyle({fsBold, fsUnderline});
  a.SetColor(clRed);
  a.SetCharset(204);
  int changes = 0;
  b.OnChange = [&](TObject*) { ++changes; };
  b.Assign(&a);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(b.Name(), "Arial");
  EXPECT_EQ(b.Height(), -20);
  EXPECT_TRUE(b.Style() == (TFontStyles{fsBold, fsUnderline}));
  EXPECT_EQ(b.Color(), clRed);
  EXPECT_EQ(b.Charset(), 204);
  LOGFONT lf{};
  ASSERT_TRUE(GetFontObject(b.Handle(), &lf));
  EXPECT_EQ(lf.lfHeight, -20);
  EXPECT_EQ(lf.lfWeight, FW_BOLD);
  EXPECT_EQ(lf.lfUnderline, 1);
  EXPECT_STREQ(lf.lfFaceName, "Arial");
  TPen pen;
  EXPECT_THROW(b.Assign(&pen), EConvertError);
}

TEST(Brush, ColourMakesAClearBrushSolid) {
  TBrush b;
  b.SetStyle(bsClear);
  b.SetColor(clRed);
  EXPECT_EQ(b.Style(), bsSolid);
}

// Every GDI object a bitmap, its canvas and their pen, brush and font make is freed again
// (stock objects made on first use are counted after a first round).
TEST(Bitmap, LeavesNoGdiObjectsBehind) {
  const auto round = [] {
    TBitmap a;
    a.SetSize(8, 8);
    a.Canvas()->Pen()->SetColor(clRed);
    a.Canvas()->Font()->SetHeight(-14);
    a.Canvas()->Rectangle(0, 0, 4, 4);
    a.Canvas()->TextOut(0, 0, "x");
    a.SetPixelFormat(pf8bit);
    a.SetSize(4, 4);
    a.Canvas()->Brush()->SetColor(clBlue);
    a.Canvas()->FillRect(Rect(0, 0, 2, 2));
    TBitmap b;
    b.Assign(&a);
    b.Canvas()->Draw(1, 1, &a);
    HBITMAP released = b.ReleaseHandle();
    DeleteObject(released);
  };
  round();
  const size_t before = vantrel::win::GdiObjectCount();
  round();
  EXPECT_EQ(vantrel::win::GdiObjectCount(), before);
}

}  // namespace
