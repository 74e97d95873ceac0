#include <gtest/gtest.h>

#include "platform/display/HeadlessSession.h"
#include "platform/win/GdiInternal.h"
#include "platform/win/Layered.h"
#include "tests/support/WinPaintProbe.h"

using vantrel::display::HeadlessSession;
using vantrel::test::PaintProbe;

namespace {

// A memory DC with a W x H top-down 32 bpp DIB, every pixel Fill (alpha included).
struct Pixels {
  HDC Dc;
  HBITMAP Bmp;
  HGDIOBJ Old;
  uint32_t* Bits = nullptr;
  Pixels(int W, int H, uint32_t Fill) {
    BITMAPINFO Bi{};
    Bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    Bi.bmiHeader.biWidth = W;
    Bi.bmiHeader.biHeight = -H;
    Bi.bmiHeader.biPlanes = 1;
    Bi.bmiHeader.biBitCount = 32;
    void* P = nullptr;
    Bmp = CreateDIBSection(nullptr, &Bi, DIB_RGB_COLORS, &P, nullptr, 0);
    Bits = static_cast<uint32_t*>(P);
    std::fill_n(Bits, W * H, Fill);
    Dc = CreateCompatibleDC(nullptr);
    Old = SelectObject(Dc, Bmp);
  }
  ~Pixels() {
    SelectObject(Dc, Old);
    DeleteDC(Dc);
    DeleteObject(Bmp);
  }
};

const BLENDFUNCTION PerPixel{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};

}  // namespace

TEST(Layered, AttributesNeedALayeredTopLevelWindowAndOnlyConstantAlpha) {
  HeadlessSession S;
  PaintProbe P;
  HWND Plain = P.Create(WS_POPUP | WS_VISIBLE, 0, 0, 20, 20);
  HWND Layered = P.Create(WS_POPUP | WS_VISIBLE, 0, 0, 20, 20, nullptr, WS_EX_LAYERED);
  HWND Child = P.Create(WS_CHILD | WS_VISIBLE, 0, 0, 5, 5, Layered, WS_EX_LAYERED);
  EXPECT_FALSE(SetLayeredWindowAttributes(Plain, 0, 128, LWA_ALPHA));
  EXPECT_FALSE(SetLayeredWindowAttributes(Child, 0, 128, LWA_ALPHA));
  EXPECT_FALSE(SetLayeredWindowAttributes(Layered, 0, 128, LWA_ALPHA | 1));
  ASSERT_TRUE(SetLayeredWindowAttributes(Layered, 0, 128, LWA_ALPHA));
  const auto* N = S.Display().Native(Layered);
  ASSERT_NE(N, nullptr);
  EXPECT_EQ(N->Alpha, 128);
  EXPECT_FALSE(N->PerPixelAlpha);
  // Taking WS_EX_LAYERED away makes the window opaque again.
  SetWindowLongPtr(Layered, GWL_EXSTYLE, 0);
  S.PumpUntilIdle();
  EXPECT_EQ(N->Alpha, 255);
}

TEST(Layered, UpdateLayeredWindowPlacesTheWindowAndTakesItsContents) {
  HeadlessSession S;
  PaintProbe P;
  HWND W = P.Create(WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, nullptr, WS_EX_LAYERED | WS_EX_TOOLWINDOW);
  S.PumpUntilIdle();
  Pixels Src(30, 20, 0x80402010);  // premultiplied: alpha 0x80
  const POINT Dest{40, 50}, From{0, 0};
  const SIZE Size{30, 20};
  ASSERT_TRUE(UpdateLayeredWindow(W, nullptr, &Dest, &Size, Src.Dc, &From, 0, &PerPixel, ULW_ALPHA));
  RECT R;
  GetWindowRect(W, &R);
  EXPECT_EQ(R, (RECT{40, 50, 70, 70}));
  const auto* N = S.Display().Native(W);
  ASSERT_NE(N, nullptr);
  EXPECT_TRUE(N->PerPixelAlpha);
  EXPECT_EQ(N->Alpha, 255);
  EXPECT_EQ(N->Presented->Row(19)[29], 0x80402010u);  // presented at once, alpha kept
  // Given contents are never painted over.
  P.Log.clear();
  InvalidateRect(W, nullptr, TRUE);
  S.PumpUntilIdle();
  EXPECT_TRUE(P.PaintedOf(W).empty());
  EXPECT_EQ(N->Presented->Row(0)[0], 0x80402010u);
  // A source outside the source DC gives transparent pixels.
  const POINT Shifted{25, 0};
  ASSERT_TRUE(UpdateLayeredWindow(W, nullptr, nullptr, &Size, Src.Dc, &Shifted, 0, &PerPixel, ULW_ALPHA));
  EXPECT_EQ(N->Presented->Row(0)[4], 0x80402010u);
  EXPECT_EQ(N->Presented->Row(0)[5], 0u);
}

TEST(Layered, UpdateLayeredWindowRefusesWhatItCannotDo) {
  HeadlessSession S;
  PaintProbe P;
  HWND Plain = P.Create(WS_POPUP | WS_VISIBLE, 0, 0, 10, 10);
  HWND W = P.Create(WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, nullptr, WS_EX_LAYERED);
  Pixels Src(10, 10, 0xFF000000);
  const SIZE Size{10, 10}, Empty{0, 10};
  const POINT From{0, 0};
  EXPECT_FALSE(UpdateLayeredWindow(Plain, nullptr, nullptr, &Size, Src.Dc, &From, 0, &PerPixel, ULW_ALPHA));
  EXPECT_FALSE(UpdateLayeredWindow(W, nullptr, nullptr, nullptr, Src.Dc, &From, 0, &PerPixel, ULW_ALPHA));
  EXPECT_FALSE(UpdateLayeredWindow(W, nullptr, nullptr, &Empty, Src.Dc, &From, 0, &PerPixel, ULW_ALPHA));
  EXPECT_FALSE(UpdateLayeredWindow(W, nullptr, nullptr, &Size, Src.Dc, &From, 0, nullptr, ULW_ALPHA));
  EXPECT_FALSE(UpdateLayeredWindow(W, nullptr, nullptr, &Size, Src.Dc, &From, 0, &PerPixel, 1));  // colour key
  EXPECT_FALSE(UpdateLayeredWindow(W, nullptr, nullptr, &Size, reinterpret_cast<HDC>(0x5555), &From, 0,
                                   &PerPixel, ULW_ALPHA));
  // A window on constant alpha stays on it; switching back to painting works.
  ASSERT_TRUE(SetLayeredWindowAttributes(W, 0, 200, LWA_ALPHA));
  EXPECT_FALSE(UpdateLayeredWindow(W, nullptr, nullptr, &Size, Src.Dc, &From, 0, &PerPixel, ULW_ALPHA));
}

TEST(Layered, SetAttributesAfterGivenContentsPaintsTheWindowAgain) {
  HeadlessSession S;
  PaintProbe P;
  HWND W = P.Create(WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, nullptr, WS_EX_LAYERED);
  P.Client[W] = RGB(0, 255, 0);
  Pixels Src(10, 10, 0xFF0000FF);
  const SIZE Size{10, 10};
  const POINT From{0, 0};
  ASSERT_TRUE(UpdateLayeredWindow(W, nullptr, nullptr, &Size, Src.Dc, &From, 0, &PerPixel, ULW_ALPHA));
  S.PumpUntilIdle();
  ASSERT_TRUE(SetLayeredWindowAttributes(W, 0, 255, LWA_ALPHA));
  S.PumpUntilIdle();
  EXPECT_FALSE(S.Display().Native(W)->PerPixelAlpha);
  EXPECT_EQ(vantrel::test::PixelAt(*S.Display().Native(W)->Presented, 5, 5), 0x00FF00u);
}

TEST(Layered, ATransparentLayeredPopupLetsClicksThrough) {
  HeadlessSession S;
  PaintProbe P;
  HWND Below = P.Create(WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
  HWND Glass = P.Create(WS_POPUP | WS_VISIBLE, 10, 10, 50, 50, nullptr, WS_EX_LAYERED | WS_EX_TRANSPARENT);
  HWND Solid = P.Create(WS_POPUP | WS_VISIBLE, 60, 60, 30, 30, nullptr, WS_EX_LAYERED);
  EXPECT_EQ(WindowFromPoint(POINT{20, 20}), Below);
  EXPECT_EQ(WindowFromPoint(POINT{70, 70}), Solid);
  (void)Glass;
}
