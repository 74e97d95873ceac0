// The program's bitmap resources and the icon calls.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/win/Resources.h"
#include "tests/platform/win/RasterTestUtil.h"

using namespace raster_test;

TEST(Resource, NamedBitmapsArePackedDibsOfTheirSizes) {
  struct Case {
    const char* Name;
    int W, H;
  };
  const Case Cases[] = {{"SP_FLOPPY", 16, 16},       {"SP_HARD", 16, 16},         {"SP_NETWORK", 16, 16},
                        {"SP_CDROM", 16, 16},        {"SP_RAM", 16, 11},          {"SP_OPENFOLDER", 16, 15},
                        {"SP_CLOSEDFOLDER", 16, 15}, {"SP_CURRENTFOLDER", 16, 15}, {"SP_BACK", 16, 16},
                        {"SP_UP", 16, 16},           {"SP_NEWFOLDER", 16, 16},    {"sp_lvstyle", 16, 16}};
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Name);
    HRSRC R = FindResource(nullptr, C.Name, RT_BITMAP);
    ASSERT_NE(R, nullptr);
    const auto* Data = static_cast<const uint8_t*>(LockResource(LoadResource(nullptr, R)));
    ASSERT_NE(Data, nullptr);
    BITMAPINFOHEADER H;
    std::memcpy(&H, Data, sizeof H);
    EXPECT_EQ(H.biSize, sizeof H);
    EXPECT_EQ(H.biWidth, C.W);
    EXPECT_EQ(H.biHeight, C.H);
    EXPECT_EQ(H.biBitCount, 24);
    EXPECT_EQ(SizeofResource(nullptr, R), sizeof H + static_cast<DWORD>(DibRowBytes(C.W, 24) * C.H));

    HBITMAP B = LoadBitmap(nullptr, C.Name);
    ASSERT_NE(B, nullptr);
    BITMAP Bm{};
    GetObject(B, sizeof Bm, &Bm);
    EXPECT_EQ(Bm.bmWidth, C.W);
    EXPECT_EQ(Bm.bmHeight, C.H);
    // The bottom-left pixel is the glyph's background, magenta.
    HDC Dc = CreateCompatibleDC(nullptr);
    HGDIOBJ Old = SelectObject(Dc, B);
    EXPECT_EQ(GetPixel(Dc, 0, C.H - 1), RGB(255, 0, 255));
    // Something is painted on it.
    int Ink = 0;
    for (int y = 0; y < C.H; ++y)
      for (int x = 0; x < C.W; ++x) Ink += GetPixel(Dc, x, y) != RGB(255, 0, 255);
    EXPECT_GT(Ink, 10);
    SelectObject(Dc, Old);
    DeleteDC(Dc);
    DeleteObject(B);
  }
  EXPECT_EQ(FindResource(nullptr, "SP_NOTHING", RT_BITMAP), nullptr);
  EXPECT_EQ(FindResource(nullptr, "SP_BACK", RT_RCDATA), nullptr);
  EXPECT_EQ(LoadBitmap(nullptr, "SP_NOTHING"), nullptr);
}

TEST(Resource, SystemIconsAreSharedAndSurviveDestroyIcon) {
  HICON App = LoadIcon(nullptr, IDI_APPLICATION);
  ASSERT_NE(App, nullptr);
  EXPECT_EQ(LoadIcon(nullptr, IDI_APPLICATION), App);
  for (LPCSTR Id : {IDI_HAND, IDI_QUESTION, IDI_EXCLAMATION, IDI_ASTERISK, IDI_WARNING, IDI_ERROR, IDI_INFORMATION})
    EXPECT_NE(LoadIcon(nullptr, Id), nullptr);
  EXPECT_EQ(LoadIcon(nullptr, MAKEINTRESOURCE(123)), nullptr);
  EXPECT_TRUE(DestroyIcon(App));
  ICONINFO Info{};
  EXPECT_TRUE(GetIconInfo(App, &Info));
  DeleteObject(Info.hbmColor);
  DeleteObject(Info.hbmMask);
  EXPECT_FALSE(DeleteObject(App));  // icons are not GDI objects to delete
}

TEST(Resource, CopyImageScalesAnIconAndGetIconInfoGivesColourAndMask) {
  HICON Copy = static_cast<HICON>(CopyImage(LoadIcon(nullptr, IDI_HAND), IMAGE_ICON, 16, 16, LR_COPYFROMRESOURCE));
  ASSERT_NE(Copy, nullptr);
  ICONINFO Info{};
  ASSERT_TRUE(GetIconInfo(Copy, &Info));
  EXPECT_TRUE(Info.fIcon);
  BITMAP Color{}, Mask{};
  GetObject(Info.hbmColor, sizeof Color, &Color);
  GetObject(Info.hbmMask, sizeof Mask, &Mask);
  EXPECT_EQ(Color.bmWidth, 16);
  EXPECT_EQ(Color.bmBitsPixel, 32);
  EXPECT_EQ(Mask.bmHeight, 16);
  EXPECT_EQ(Mask.bmBitsPixel, 1);
  // The disc's corner is transparent in the mask, its centre opaque.
  HDC Dc = CreateCompatibleDC(nullptr);
  HGDIOBJ Old = SelectObject(Dc, Info.hbmMask);
  EXPECT_EQ(GetPixel(Dc, 0, 0), RGB(255, 255, 255));
  EXPECT_EQ(GetPixel(Dc, 8, 8), RGB(0, 0, 0));
  SelectObject(Dc, Old);
  DeleteDC(Dc);
  DeleteObject(Info.hbmColor);
  DeleteObject(Info.hbmMask);
  EXPECT_TRUE(DestroyIcon(Copy));
  EXPECT_FALSE(DestroyIcon(Copy));
}

TEST(Resource, DrawIconExDrawsAtTheIconsOwnSizeKeepingTransparentPixels) {
  Canvas Cv(40, 40, kGreen);
  HICON I = LoadIcon(nullptr, IDI_HAND);
  EXPECT_TRUE(DrawIconEx(Cv.Dc, 4, 4, I, 0, 0, 0, nullptr, DI_NORMAL));
  EXPECT_EQ(Cv.At(4, 4) & 0xFFFFFF, kGreen);    // the corner outside the disc
  EXPECT_NE(Cv.At(20, 20) & 0xFFFFFF, kGreen);  // the disc, 32 x 32 at (4, 4)
  EXPECT_EQ(Cv.At(37, 20) & 0xFFFFFF, kGreen);  // right of the icon
  // An icon made from bitmaps round-trips through CreateIconIndirect.
  ICONINFO Info{};
  GetIconInfo(I, &Info);
  HICON Made = CreateIconIndirect(&Info);
  ASSERT_NE(Made, nullptr);
  Canvas Cv2(40, 40, kGreen);
  DrawIconEx(Cv2.Dc, 4, 4, Made, 0, 0, 0, nullptr, DI_NORMAL);
  EXPECT_EQ(Joined(Cv.Picture(kGreen)), Joined(Cv2.Picture(kGreen)));
  DeleteObject(Info.hbmColor);
  DeleteObject(Info.hbmMask);
  DestroyIcon(Made);
}
