// DIB sections of several depths, GetObject, GetDIBits/SetDIBits and the DIB blits.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/win/Gdi.h"
#include "tests/platform/win/RasterTestUtil.h"

using namespace raster_test;

namespace {

// A BITMAPINFO with room for a full colour table.
struct Info {
  alignas(BITMAPINFO) uint8_t Store[sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD)]{};
  BITMAPINFO* Get() { return reinterpret_cast<BITMAPINFO*>(Store); }
  Info(int W, int H, int Bpp) {
    auto& Hd = Get()->bmiHeader;
    Hd.biSize = sizeof(BITMAPINFOHEADER);
    Hd.biWidth = W;
    Hd.biHeight = H;
    Hd.biPlanes = 1;
    Hd.biBitCount = static_cast<WORD>(Bpp);
  }
};

}  // namespace

TEST(Dib, BottomUp32BitRowsAreStoredLastRowFirst) {
  Info I(3, 4, 32);
  void* Bits = nullptr;
  HBITMAP Bm = CreateDIBSection(nullptr, I.Get(), DIB_RGB_COLORS, &Bits, nullptr, 0);
  ASSERT_NE(Bm, nullptr);
  ASSERT_NE(Bits, nullptr);
  auto* P = static_cast<uint32_t*>(Bits);
  for (int i = 0; i < 12; ++i) EXPECT_EQ(P[i], 0u);  // a fresh DIB is all zero
  HDC Dc = CreateCompatibleDC(nullptr);
  HGDIOBJ Old = SelectObject(Dc, Bm);
  SetPixel(Dc, 1, 0, RGB(255, 0, 0));  // visual row 0
  SetPixel(Dc, 2, 3, RGB(0, 0, 255));  // visual row 3
  EXPECT_EQ(P[3 * 3 + 1], 0x00FF0000u);  // memory row 3 holds visual row 0, pixels B,G,R,A
  EXPECT_EQ(P[0 * 3 + 2], 0x000000FFu);
  RECT Band{0, 1, 3, 2};  // visual row 1 = memory row 2
  FillRect(Dc, &Band, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
  for (int x = 0; x < 3; ++x) EXPECT_EQ(P[2 * 3 + x], 0x00808080u);
  EXPECT_EQ(P[1 * 3 + 0], 0u);
  P[1 * 3 + 0] = 0x00123456;  // memory row 1 = visual row 2
  EXPECT_EQ(GetPixel(Dc, 0, 2), RGB(0x12, 0x34, 0x56));

  DIBSECTION Ds{};
  EXPECT_EQ(GetObject(Bm, sizeof Ds, &Ds), static_cast<int>(sizeof Ds));
  EXPECT_EQ(Ds.dsBm.bmBits, Bits);
  EXPECT_EQ(Ds.dsBm.bmWidthBytes, 12);
  EXPECT_EQ(Ds.dsBm.bmHeight, 4);
  EXPECT_EQ(Ds.dsBm.bmBitsPixel, 32);
  EXPECT_EQ(Ds.dsBmih.biHeight, 4);
  BITMAP B{};
  EXPECT_EQ(GetObject(Bm, sizeof B, &B), static_cast<int>(sizeof B));
  EXPECT_EQ(B.bmWidth, 3);
  EXPECT_EQ(GetObject(Bm, 0, nullptr), static_cast<int>(sizeof(BITMAP)));
  SelectObject(Dc, Old);
  DeleteDC(Dc);
  DeleteObject(Bm);
}

TEST(Dib, TopDownRowsAreStoredFirstRowFirst) {
  Canvas Cv(3, 2, 0);
  SetPixel(Cv.Dc, 1, 0, RGB(0, 255, 0));
  EXPECT_EQ(Cv.Bits[1], 0x0000FF00u);
  DIBSECTION Ds{};
  GetObject(Cv.Bitmap, sizeof Ds, &Ds);
  EXPECT_EQ(Ds.dsBmih.biHeight, -2);
}

TEST(Dib, DrawingOn24BitRowsKeepsTheirPadding) {
  Info I(3, 2, 24);  // 9 bytes of pixels, rows of 12
  void* Bits = nullptr;
  HBITMAP Bm = CreateDIBSection(nullptr, I.Get(), DIB_RGB_COLORS, &Bits, nullptr, 0);
  ASSERT_NE(Bm, nullptr);
  auto* P = static_cast<uint8_t*>(Bits);
  HDC Dc = CreateCompatibleDC(nullptr);
  HGDIOBJ Old = SelectObject(Dc, Bm);
  RECT R{0, 0, 3, 1};  // visual row 0 = the second row in memory
  HBRUSH Br = CreateSolidBrush(RGB(0x10, 0x20, 0x30));
  FillRect(Dc, &R, Br);
  for (int x = 0; x < 3; ++x) {
    EXPECT_EQ(P[12 + 3 * x], 0x30);
    EXPECT_EQ(P[12 + 3 * x + 1], 0x20);
    EXPECT_EQ(P[12 + 3 * x + 2], 0x10);
  }
  for (int i = 0; i < 12; ++i) EXPECT_EQ(P[i], 0) << i;      // row 1 untouched
  for (int i = 21; i < 24; ++i) EXPECT_EQ(P[i], 0) << i;     // padding
  P[0] = 0xFF;  // the caller writes row 1's first blue byte; GDI sees it
  EXPECT_EQ(GetPixel(Dc, 0, 1), RGB(0, 0, 0xFF));
  SelectObject(Dc, Old);
  DeleteDC(Dc);
  DeleteObject(Br);
  DeleteObject(Bm);
}

TEST(Dib, BlitsOnA16BitSectionWriteTheirOwnRowsReadBackAsStoredAndSeeTheCallersWrites) {
  // 4 x 3, 5-5-5, top-down: rows of 8 bytes.
  Info I(4, -3, 16);
  void* Bits = nullptr;
  HBITMAP Bm = CreateDIBSection(nullptr, I.Get(), DIB_RGB_COLORS, &Bits, nullptr, 0);
  ASSERT_NE(Bm, nullptr);
  auto* P = static_cast<uint16_t*>(Bits);
  HDC Dc = CreateCompatibleDC(nullptr);
  HGDIOBJ Old = SelectObject(Dc, Bm);
  HDC SrcDc = CreateCompatibleDC(nullptr);
  HBITMAP Src = CreateCompatibleBitmap(Dc, 4, 3);
  HGDIOBJ OldSrc = SelectObject(SrcDc, Src);
  RECT All{0, 0, 4, 3};
  HBRUSH Br = CreateSolidBrush(RGB(0x13, 0x57, 0x9B));
  FillRect(SrcDc, &All, Br);
  P[0] = 0x7C00;  // the caller paints row 0's first pixel red
  ASSERT_TRUE(BitBlt(Dc, 1, 1, 2, 1, SrcDc, 0, 0, SRCCOPY));
  // 0x13 >> 3 = 2, 0x57 >> 3 = 10, 0x9B >> 3 = 19 in the blit's two pixels alone.
  const uint16_t Stored = (2 << 10) | (10 << 5) | 19;
  const uint16_t Expected[12] = {0x7C00, 0, 0, 0, 0, Stored, Stored, 0, 0, 0, 0, 0};
  for (int i = 0; i < 12; ++i) EXPECT_EQ(P[i], Expected[i]) << i;
  // What a read gives is what the bits hold, not the finer colour drawn.
  EXPECT_EQ(GetPixel(Dc, 1, 1), RGB(2 << 3 | 2 >> 2, 10 << 3 | 10 >> 2, 19 << 3 | 19 >> 2));
  EXPECT_EQ(GetPixel(Dc, 0, 0), RGB(255, 0, 0));
  P[11] = 0x03E0;  // the caller writes again, after the blit: the next blit sees it
  ASSERT_TRUE(BitBlt(SrcDc, 0, 0, 4, 3, Dc, 0, 0, SRCCOPY));
  EXPECT_EQ(GetPixel(SrcDc, 3, 2), RGB(0, 255, 0));
  SelectObject(SrcDc, OldSrc);
  SelectObject(Dc, Old);
  DeleteDC(SrcDc);
  DeleteDC(Dc);
  DeleteObject(Src);
  DeleteObject(Br);
  DeleteObject(Bm);
}

TEST(Dib, OneBitSectionMapsToItsColourTable) {
  Info I(10, 1, 1);
  I.Get()->bmiColors[0] = {0, 0, 0, 0};
  reinterpret_cast<RGBQUAD*>(I.Get()->bmiColors)[1] = {255, 255, 255, 0};
  void* Bits = nullptr;
  HBITMAP Bm = CreateDIBSection(nullptr, I.Get(), DIB_RGB_COLORS, &Bits, nullptr, 0);
  ASSERT_NE(Bm, nullptr);
  HDC Dc = CreateCompatibleDC(nullptr);
  HGDIOBJ Old = SelectObject(Dc, Bm);
  RECT R{1, 0, 9, 1};
  FillRect(Dc, &R, static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH)));  // nearest: white
  auto* P = static_cast<uint8_t*>(Bits);
  EXPECT_EQ(P[0], 0x7F);
  EXPECT_EQ(P[1], 0x80);
  EXPECT_EQ(GetPixel(Dc, 2, 0), RGB(255, 255, 255));
  SelectObject(Dc, Old);
  DeleteDC(Dc);
  DeleteObject(Bm);
}

TEST(Dib, ReadsFollowTheCallersBitsAndColourTableAfterEveryChange) {
  // An 8-bit section: pixel 0 uses entry 1, which starts red.
  Info I(4, 1, 8);
  auto* Table = reinterpret_cast<RGBQUAD*>(I.Get()->bmiColors);
  Table[1] = {0, 0, 255, 0};
  Table[2] = {0, 255, 0, 0};
  I.Get()->bmiHeader.biClrUsed = 3;
  void* Bits = nullptr;
  HBITMAP Bm = CreateDIBSection(nullptr, I.Get(), DIB_RGB_COLORS, &Bits, nullptr, 0);
  ASSERT_NE(Bm, nullptr);
  auto* P = static_cast<uint8_t*>(Bits);
  HDC Dc = CreateCompatibleDC(nullptr);
  HGDIOBJ Old = SelectObject(Dc, Bm);
  P[0] = 1;
  EXPECT_EQ(GetPixel(Dc, 0, 0), RGB(255, 0, 0));
  EXPECT_EQ(GetPixel(Dc, 0, 0), RGB(255, 0, 0));  // read again, nothing changed
  P[0] = 2;                                       // the caller writes the bits
  EXPECT_EQ(GetPixel(Dc, 0, 0), RGB(0, 255, 0));
  const RGBQUAD Blue{255, 0, 0, 0};
  EXPECT_EQ(SetDIBColorTable(Dc, 2, 1, &Blue), 1u);  // the colours change, the bits do not
  EXPECT_EQ(GetPixel(Dc, 0, 0), RGB(0, 0, 255));
  SetPixel(Dc, 1, 0, RGB(0, 0, 255));  // drawing goes through the table
  EXPECT_EQ(P[1], 2);
  EXPECT_EQ(GetPixel(Dc, 1, 0), RGB(0, 0, 255));
  SelectObject(Dc, Old);
  DeleteDC(Dc);
  DeleteObject(Bm);
}

TEST(Dib, ANewSectionReadsAsItsZeroBitsUntilTheCallerWritesThem) {
  // Zero bits are black at 16 and 24 bits and the first table entry at 8 bits; a large
  // section shows the same as a small one.
  struct Case {
    int Bpp, Width;
    COLORREF Zero;
  };
  for (const Case& C : {Case{24, 3, RGB(0, 0, 0)}, Case{24, 700, RGB(0, 0, 0)}, Case{16, 500, RGB(0, 0, 0)},
                        Case{8, 600, RGB(255, 255, 0)}}) {
    SCOPED_TRACE(testing::Message() << C.Bpp << " bpp, " << C.Width << " wide");
    Info I(C.Width, 200, C.Bpp);
    if (C.Bpp == 8) {
      auto* Table = reinterpret_cast<RGBQUAD*>(I.Get()->bmiColors);
      Table[0] = {0, 255, 255, 0};
      Table[1] = {255, 0, 0, 0};
      I.Get()->bmiHeader.biClrUsed = 2;
    }
    void* Bits = nullptr;
    HBITMAP Bm = CreateDIBSection(nullptr, I.Get(), DIB_RGB_COLORS, &Bits, nullptr, 0);
    ASSERT_NE(Bm, nullptr);
    HDC Dc = CreateCompatibleDC(nullptr);
    HGDIOBJ Old = SelectObject(Dc, Bm);
    EXPECT_EQ(GetPixel(Dc, C.Width - 1, 199), C.Zero);
    // The first pixel of the last stored row is the top left of a bottom-up section.
    auto* P = static_cast<uint8_t*>(Bits);
    const int RowBytes = ((C.Width * C.Bpp + 31) / 32) * 4;
    uint8_t* TopLeft = P + static_cast<size_t>(RowBytes) * 199;
    if (C.Bpp == 24) TopLeft[0] = 255;          // blue
    if (C.Bpp == 16) TopLeft[0] = 0x1F;         // blue in 5-5-5
    if (C.Bpp == 8) TopLeft[0] = 1;             // entry 1: blue
    EXPECT_EQ(GetPixel(Dc, 0, 0), RGB(0, 0, 255));
    EXPECT_EQ(GetPixel(Dc, 1, 0), C.Zero);
    SelectObject(Dc, Old);
    DeleteDC(Dc);
    DeleteObject(Bm);
  }
}

TEST(Dib, BitsWrittenBeforeTheFirstReadAreWhatDrawingSeesAndKeeps) {
  // A loader fills a section's bits before anything reads them: every read shows them, and
  // drawing one pixel keeps all the others.
  struct Case {
    int Bpp, Width;
    std::vector<uint8_t> Blue, Red, Green;  // one pixel in the section's depth
  };
  const Case Cases[] = {{24, 3, {0xFF, 0, 0}, {0, 0, 0xFF}, {0, 0xFF, 0}},
                        {24, 700, {0xFF, 0, 0}, {0, 0, 0xFF}, {0, 0xFF, 0}},
                        {16, 5, {0x1F, 0x00}, {0x00, 0x7C}, {0xE0, 0x03}},
                        {8, 600, {1}, {2}, {3}}};
  for (const Case& C : Cases) {
    SCOPED_TRACE(testing::Message() << C.Bpp << " bpp, " << C.Width << " wide");
    const int H = 120;
    Info I(C.Width, H, C.Bpp);
    if (C.Bpp == 8) {
      auto* Table = reinterpret_cast<RGBQUAD*>(I.Get()->bmiColors);
      Table[1] = {255, 0, 0, 0};
      Table[2] = {0, 0, 255, 0};
      Table[3] = {0, 255, 0, 0};
      I.Get()->bmiHeader.biClrUsed = 4;
    }
    void* Bits = nullptr;
    HBITMAP Bm = CreateDIBSection(nullptr, I.Get(), DIB_RGB_COLORS, &Bits, nullptr, 0);
    ASSERT_NE(Bm, nullptr);
    auto* P = static_cast<uint8_t*>(Bits);
    const size_t Px = C.Blue.size(), RowBytes = ((C.Width * C.Bpp + 31) / 32) * 4;
    uint8_t* TopLeft = P + RowBytes * (H - 1);               // bottom-up: the last stored row
    uint8_t* BottomRight = P + (C.Width - 1) * Px;           // the first stored row
    std::copy(C.Blue.begin(), C.Blue.end(), TopLeft);
    std::copy(C.Red.begin(), C.Red.end(), BottomRight);

    Canvas Copy(C.Width, H, 0);
    HDC Dc = CreateCompatibleDC(nullptr);
    HGDIOBJ Old = SelectObject(Dc, Bm);
    ASSERT_TRUE(BitBlt(Copy.Dc, 0, 0, C.Width, H, Dc, 0, 0, SRCCOPY));
    EXPECT_EQ(Copy.At(0, 0) & 0xFFFFFF, 0x0000FFu);
    EXPECT_EQ(Copy.At(C.Width - 1, H - 1) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(Copy.At(1, 1) & 0xFFFFFF, 0u);  // zero bits: black, and entry 0 is black

    SetPixel(Dc, 1, 0, RGB(0, 255, 0));
    EXPECT_TRUE(std::equal(C.Blue.begin(), C.Blue.end(), TopLeft));
    EXPECT_TRUE(std::equal(C.Green.begin(), C.Green.end(), TopLeft + Px));
    EXPECT_TRUE(std::equal(C.Red.begin(), C.Red.end(), BottomRight));
    EXPECT_EQ(GetPixel(Dc, C.Width - 1, H - 1), RGB(255, 0, 0));
    SelectObject(Dc, Old);
    DeleteDC(Dc);
    DeleteObject(Bm);
  }
}

TEST(Dib, InvalidHeadersAreRefused) {
  struct Case {
    const char* Name;
    int W, H, Bpp;
  };
  for (const Case& C : {Case{"zero width", 0, 4, 32}, Case{"zero height", 4, 0, 32}, Case{"12 bpp", 4, 4, 12},
                        Case{"huge", 1 << 20, 1 << 20, 32}}) {
    SCOPED_TRACE(C.Name);
    Info I(C.W, C.H, C.Bpp);
    void* Bits = reinterpret_cast<void*>(1);
    EXPECT_EQ(CreateDIBSection(nullptr, I.Get(), DIB_RGB_COLORS, &Bits, nullptr, 0), nullptr);
    EXPECT_EQ(Bits, nullptr);
  }
}

TEST(Dib, GetDIBitsConvertsToTheRequestedDepthAndOrder) {
  HDC Screen = CreateDC("DISPLAY", nullptr, nullptr, nullptr);
  HBITMAP Bm = CreateCompatibleBitmap(Screen, 2, 3);
  HDC Dc = CreateCompatibleDC(Screen);
  HGDIOBJ Old = SelectObject(Dc, Bm);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 2; ++x) SetPixel(Dc, x, y, RGB(10 * x, 100 + y, 7));
  SelectObject(Dc, Old);

  Info Query(0, 0, 0);
  EXPECT_NE(GetDIBits(Screen, Bm, 0, 0, nullptr, Query.Get(), DIB_RGB_COLORS), 0);
  EXPECT_EQ(Query.Get()->bmiHeader.biWidth, 2);
  EXPECT_EQ(Query.Get()->bmiHeader.biHeight, 3);
  EXPECT_EQ(Query.Get()->bmiHeader.biBitCount, 32);

  Info I(2, 3, 24);  // bottom-up: scan line 0 is the last visual row
  uint8_t Bits[8 * 3];
  std::memset(Bits, 0xEE, sizeof Bits);
  EXPECT_EQ(GetDIBits(Screen, Bm, 0, 3, Bits, I.Get(), DIB_RGB_COLORS), 3);
  for (int Line = 0; Line < 3; ++Line) {
    const uint8_t* Row = Bits + Line * 8;
    const int y = 2 - Line;
    EXPECT_EQ(Row[0], 7);
    EXPECT_EQ(Row[1], 100 + y);
    EXPECT_EQ(Row[2], 0);
    EXPECT_EQ(Row[5], 10);
  }
  // Lines from a start scan line only.
  uint8_t One[8];
  EXPECT_EQ(GetDIBits(Screen, Bm, 2, 5, One, I.Get(), DIB_RGB_COLORS), 1);
  EXPECT_EQ(One[1], 100);  // scan line 2 = visual row 0
  DeleteDC(Dc);
  DeleteObject(Bm);
  DeleteDC(Screen);
}

TEST(Dib, SetDIBitsToDeviceAndStretchDIBitsDrawBottomUpImagesUpright) {
  // A 2 x 2 bottom-up 24 bpp image: top row red, blue; bottom row green, white.
  Info I(2, 2, 24);
  const uint8_t Bits[16] = {0, 255, 0, 255, 255, 255, 0, 0,   // bottom row (scan line 0)
                            0, 0, 255, 255, 0, 0, 0, 0};      // top row
  {
    Canvas Cv(4, 3, 0);
    EXPECT_EQ(SetDIBitsToDevice(Cv.Dc, 1, 1, 2, 2, 0, 0, 0, 2, Bits, I.Get(), DIB_RGB_COLORS), 2);
    EXPECT_PICTURE(Cv.Picture({{kRed, 'r'}, {kBlue, 'b'}, {kGreen, 'g'}, {kWhite, 'w'}}, 0), "....", ".rb.", ".gw.");
  }
  {
    Canvas Cv(4, 4, 0);
    EXPECT_EQ(StretchDIBits(Cv.Dc, 0, 0, 4, 4, 0, 0, 2, 2, Bits, I.Get(), DIB_RGB_COLORS, SRCCOPY), 2);
    EXPECT_PICTURE(Cv.Picture({{kRed, 'r'}, {kBlue, 'b'}, {kGreen, 'g'}, {kWhite, 'w'}}, 0), "rrbb", "rrbb", "ggww",
                   "ggww");
  }
  {
    // The source rectangle of a bottom-up DIB counts rows from the bottom: row 1 is the top.
    Canvas Cv(2, 1, 0);
    StretchDIBits(Cv.Dc, 0, 0, 2, 1, 0, 1, 2, 1, Bits, I.Get(), DIB_RGB_COLORS, SRCCOPY);
    EXPECT_PICTURE(Cv.Picture({{kRed, 'r'}, {kBlue, 'b'}}, 0), "rb");
  }
}

TEST(Dib, SelectingABitmapIntoASecondDcOrDeletingItWhileSelectedFails) {
  Canvas Cv(2, 2);
  HDC Other = CreateCompatibleDC(nullptr);
  EXPECT_EQ(SelectObject(Other, Cv.Bitmap), nullptr);
  EXPECT_FALSE(DeleteObject(Cv.Bitmap));
  EXPECT_EQ(GetObjectType(Cv.Bitmap), OBJ_BITMAP);
  EXPECT_EQ(GetCurrentObject(Cv.Dc, OBJ_BITMAP), Cv.Bitmap);
  DeleteDC(Other);
}
