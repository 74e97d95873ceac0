#include <gtest/gtest.h>

#include "platform/display/HeadlessSession.h"
#include "platform/win/GdiInternal.h"
#include "platform/win/Layered.h"
#include "tests/support/WinPaintProbe.h"

using vantrel::display::HeadlessDisplay;
using vantrel::display::HeadlessSession;
using vantrel::test::ExpectPixels;
using vantrel::test::PaintProbe;
using vantrel::test::PixelAt;
using vantrel::win::PixelOf;

namespace {

constexpr uint32_t Desktop = HeadlessDisplay::DefaultDesktopColor;

uint32_t Ch(uint32_t P, int Shift) { return (P >> Shift) & 0xFF; }

// The composition rule, written out per channel: constant alpha A over Dst.
uint32_t Over(uint32_t Src, uint32_t Dst, uint32_t A) {
  uint32_t Out = 0;
  for (int S : {0, 8, 16}) Out |= ((Ch(Src, S) * A + Ch(Dst, S) * (255 - A) + 127) / 255) << S;
  return Out;
}

// Premultiplied Src (with its alpha) under constant alpha C over Dst.
uint32_t OverPremultiplied(uint32_t Src, uint32_t Dst, uint32_t C) {
  const uint32_t A = (Ch(Src, 24) * C + 127) / 255;
  uint32_t Out = 0;
  for (int S : {0, 8, 16}) Out |= ((Ch(Src, S) * C + Ch(Dst, S) * (255 - A) + 127) / 255) << S;
  return Out;
}

}  // namespace

TEST(HeadlessComposite, ScreenShowsTheDesktopAndWindowsInTheirStackingOrder) {
  HeadlessSession S(120, 80);
  PaintProbe P;
  HWND Back = P.Create(WS_POPUP | WS_VISIBLE, 10, 10, 50, 40);
  HWND Topmost = P.Create(WS_POPUP | WS_VISIBLE, 40, 20, 30, 30, nullptr, WS_EX_TOPMOST);
  HWND Front = P.Create(WS_POPUP | WS_VISIBLE, 30, 30, 40, 40);  // later, yet below the topmost one
  HWND Hidden = P.Create(WS_POPUP, 0, 0, 120, 80);
  P.Client[Back] = RGB(255, 0, 0);
  P.Client[Topmost] = RGB(0, 255, 0);
  P.Client[Front] = RGB(0, 0, 255);
  P.Client[Hidden] = RGB(255, 255, 255);
  ExpectPixels(S.CaptureScreen(),
               {{2, 2, Desktop, "desktop"},
                {15, 15, 0xFF0000, "back window"},
                {35, 45, 0x0000FF, "front over back"},
                {45, 35, 0x00FF00, "topmost over front"},
                {69, 49, 0x00FF00, "topmost's last pixel"},
                {69, 50, 0x0000FF, "front under nothing"}},
               "stacking");
}

TEST(HeadlessComposite, ConstantAlphaBlendsOverWhatLiesBelow) {
  HeadlessSession S(100, 60);
  PaintProbe P;
  HWND Under = P.Create(WS_POPUP | WS_VISIBLE, 0, 0, 40, 60);
  HWND Glass = P.Create(WS_POPUP | WS_VISIBLE, 20, 10, 60, 30, nullptr, WS_EX_LAYERED);
  P.Client[Under] = RGB(200, 30, 0);
  P.Client[Glass] = RGB(10, 100, 250);
  ASSERT_TRUE(SetLayeredWindowAttributes(Glass, 0, 128, LWA_ALPHA));
  const uint32_t G = PixelOf(RGB(10, 100, 250)), U = PixelOf(RGB(200, 30, 0));
  ExpectPixels(S.CaptureScreen(),
               {{30, 20, Over(G, U, 128), "over the window below"},
                {60, 20, Over(G, Desktop, 128), "over the desktop"},
                {10, 5, U, "outside the layered window"}},
               "constant_alpha");
  // Alpha 0 hides the window; 255 shows it as it is.
  SetLayeredWindowAttributes(Glass, 0, 0, LWA_ALPHA);
  EXPECT_EQ(PixelAt(S.CaptureScreen(), 60, 20), Desktop);
  SetLayeredWindowAttributes(Glass, 0, 255, LWA_ALPHA);
  EXPECT_EQ(PixelAt(S.CaptureScreen(), 60, 20), G);
}

TEST(HeadlessComposite, PerPixelAlphaCompositesPremultipliedPixels) {
  struct Case {
    uint32_t Pixel;  // premultiplied, alpha in the top byte
    BYTE Constant;
    const char* What;
  };
  const Case Cases[] = {
      {0xFF204080, 255, "opaque pixel"},
      {0x00000000, 255, "transparent pixel"},
      {0x80102040, 255, "half-transparent pixel"},
      {0xFF204080, 128, "opaque pixel at constant alpha 128"},
      {0x80102040, 64, "half-transparent pixel at constant alpha 64"},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.What);
    HeadlessSession S(50, 50);
    PaintProbe P;
    HWND W = P.Create(WS_POPUP | WS_VISIBLE, 10, 10, 4, 4, nullptr, WS_EX_LAYERED);
    BITMAPINFO Bi{};
    Bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    Bi.bmiHeader.biWidth = 4;
    Bi.bmiHeader.biHeight = -4;
    Bi.bmiHeader.biPlanes = 1;
    Bi.bmiHeader.biBitCount = 32;
    void* Bits = nullptr;
    HBITMAP Bmp = CreateDIBSection(nullptr, &Bi, DIB_RGB_COLORS, &Bits, nullptr, 0);
    std::fill_n(static_cast<uint32_t*>(Bits), 16, C.Pixel);
    HDC Dc = CreateCompatibleDC(nullptr);
    HGDIOBJ Old = SelectObject(Dc, Bmp);
    const SIZE Size{4, 4};
    const POINT From{0, 0};
    const BLENDFUNCTION Blend{AC_SRC_OVER, 0, C.Constant, AC_SRC_ALPHA};
    ASSERT_TRUE(UpdateLayeredWindow(W, nullptr, nullptr, &Size, Dc, &From, 0, &Blend, ULW_ALPHA));
    EXPECT_EQ(PixelAt(S.CaptureScreen(), 11, 11), OverPremultiplied(C.Pixel, Desktop, C.Constant));
    SelectObject(Dc, Old);
    DeleteDC(Dc);
    DeleteObject(Bmp);
  }
}
