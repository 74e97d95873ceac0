#include <gtest/gtest.h>

#include "platform/display/HeadlessSession.h"
#include "platform/win/GdiInternal.h"
#include "platform/win/Paint.h"
#include "platform/win/WindowDc.h"
#include "tests/support/WinPaintProbe.h"

using vantrel::display::HeadlessSession;
using vantrel::test::ExpectPixels;
using vantrel::test::PaintProbe;
using vantrel::test::PixelAt;
using vantrel::win::PixelOf;

namespace {

using vantrel::test::Blue;
using vantrel::test::Green;
using vantrel::test::Magenta;
using vantrel::test::Red;
using vantrel::test::Yellow;

void Fill(HDC Dc, RECT R, COLORREF Color) {
  HBRUSH B = CreateSolidBrush(Color);
  FillRect(Dc, &R, B);
  DeleteObject(B);
}

}  // namespace

TEST(WindowDc, CaptureShowsFrameClientAndChildrenAsTheirProceduresPaintThem) {
  HeadlessSession S;
  PaintProbe P;
  // A 1-pixel border, 3 more for the sizing frame, a caption: the client starts at
  // (4, 4 + caption).
  HWND Top = P.Create(WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_THICKFRAME | WS_CLIPCHILDREN, 100, 50, 160, 120);
  // The first child is above the second; the second clips its higher sibling away.
  HWND Upper = P.Create(WS_CHILD | WS_VISIBLE, 10, 10, 40, 30, Top);
  HWND Lower = P.Create(WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 30, 20, 40, 30, Top);
  P.Frame[Top] = Green;
  P.Client[Top] = Red;
  P.Client[Upper] = Blue;
  P.Client[Lower] = Yellow;
  POINT C{0, 0};
  ClientToScreen(Top, &C);
  const int CX = C.X - 100, CY = C.Y - 50;
  ASSERT_GT(CY, CX);
  vantrel::win::Surface Shot = S.Capture(Top);
  ASSERT_EQ(Shot.Width(), 160);
  ASSERT_EQ(Shot.Height(), 120);
  ExpectPixels(Shot,
               {{0, 0, PixelOf(Green), "frame corner"},
                {80, CY - 1, PixelOf(Green), "caption"},
                {159, 119, PixelOf(Green), "far frame corner"},
                {CX, CY, PixelOf(Red), "client corner"},
                {CX + 100, CY + 80, PixelOf(Red), "client"},
                {CX + 15, CY + 15, PixelOf(Blue), "upper child"},
                {CX + 45, CY + 35, PixelOf(Blue), "overlap shows the upper child"},
                {CX + 60, CY + 45, PixelOf(Yellow), "lower child"}},
               "window_capture");
  // A child alone: its own rectangle of the top-level's pixels.
  vantrel::win::Surface Child = S.Capture(Lower);
  ASSERT_EQ(Child.Width(), 40);
  EXPECT_EQ(PixelAt(Child, 0, 0), PixelOf(Blue));   // under the upper child
  EXPECT_EQ(PixelAt(Child, 39, 29), PixelOf(Yellow));
}

TEST(WindowDc, GetDcIsClippedToWhatOfTheWindowShows) {
  struct Case {
    DWORD ParentStyle;
    DWORD LowerStyle;
    bool DrawOnParent;
    uint32_t ChildPixel;    // where only a child lies
    uint32_t OverlapPixel;  // where both children lie
    const char* What;
  };
  const Case Cases[] = {
      {WS_CLIPCHILDREN, 0, true, PixelOf(Blue), PixelOf(Blue), "WS_CLIPCHILDREN cuts the children out"},
      {0, 0, true, PixelOf(Magenta), PixelOf(Magenta), "without it the parent draws over them"},
      {0, WS_CLIPSIBLINGS, false, PixelOf(Blue), PixelOf(Blue), "WS_CLIPSIBLINGS cuts the higher sibling out"},
      {0, 0, false, PixelOf(Blue), PixelOf(Magenta), "without it a lower sibling draws over it"},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.What);
    HeadlessSession S;
    PaintProbe P;
    HWND Top = P.Create(WS_POPUP | WS_VISIBLE | C.ParentStyle, 0, 0, 100, 100);
    HWND Upper = P.Create(WS_CHILD | WS_VISIBLE, 10, 10, 40, 40, Top);
    HWND Lower = P.Create(WS_CHILD | WS_VISIBLE | C.LowerStyle, 30, 30, 40, 40, Top);
    P.Client[Top] = Red;
    P.Client[Upper] = Blue;
    P.Client[Lower] = Blue;
    S.PumpUntilIdle();
    HWND Target = C.DrawOnParent ? Top : Lower;
    HDC Dc = GetDC(Target);
    ASSERT_NE(Dc, nullptr);
    Fill(Dc, RECT{0, 0, 100, 100}, Magenta);
    EXPECT_EQ(ReleaseDC(Target, Dc), 1);
    vantrel::win::Surface Shot = S.Capture(Top);
    EXPECT_EQ(PixelAt(Shot, 15, 15), C.DrawOnParent ? C.ChildPixel : PixelOf(Blue));
    EXPECT_EQ(PixelAt(Shot, 40, 40), C.OverlapPixel);
    if (C.DrawOnParent) {
      EXPECT_EQ(PixelAt(Shot, 90, 5), PixelOf(Magenta));
    }
  }
}

TEST(WindowDc, WindowDcStartsAtTheFrameAndClientDcAtTheClientArea) {
  HeadlessSession S;
  PaintProbe P;
  HWND W = P.Create(WS_POPUP | WS_VISIBLE | WS_BORDER, 0, 0, 20, 20);
  S.PumpUntilIdle();
  HDC Whole = GetWindowDC(W);
  SetPixel(Whole, 0, 0, Green);
  ReleaseDC(W, Whole);
  HDC Client = GetDC(W);
  SetPixel(Client, 0, 0, Red);
  SetPixel(Client, -1, -1, Blue);  // the frame is outside a client DC
  ReleaseDC(W, Client);
  vantrel::win::Surface Shot = S.Capture(W);
  EXPECT_EQ(PixelAt(Shot, 0, 0), PixelOf(Green));
  EXPECT_EQ(PixelAt(Shot, 1, 1), PixelOf(Red));
  // Released DCs reach the display.
  S.PumpUntilIdle();
  const auto* N = S.Display().Native(W);
  ASSERT_NE(N, nullptr);
  EXPECT_EQ(PixelAt(*N->Presented, 1, 1), PixelOf(Red));
}

TEST(WindowDc, ReleaseDcTakesOnlyWindowAndScreenDcs) {
  HeadlessSession S;
  PaintProbe P;
  HWND W = P.Create(WS_POPUP | WS_VISIBLE, 0, 0, 20, 20);
  HDC Mem = CreateCompatibleDC(nullptr);
  EXPECT_EQ(ReleaseDC(W, Mem), 0);
  EXPECT_TRUE(DeleteDC(Mem));
  HDC Screen = GetDC(nullptr);
  ASSERT_NE(Screen, nullptr);
  EXPECT_EQ(ReleaseDC(nullptr, Screen), 1);
  EXPECT_EQ(ReleaseDC(nullptr, Screen), 0);  // twice: harmless
  InvalidateRect(W, nullptr, FALSE);
  PAINTSTRUCT Ps;
  HDC Paint = BeginPaint(W, &Ps);
  EXPECT_EQ(ReleaseDC(W, Paint), 0);  // a paint DC ends with EndPaint
  EXPECT_TRUE(EndPaint(W, &Ps));
  EXPECT_FALSE(EndPaint(W, &Ps));
  EXPECT_EQ(GetDC(reinterpret_cast<HWND>(0x4321)), nullptr);
}

TEST(WindowDc, ScreenDcReadsTheComposedScreen) {
  HeadlessSession S(200, 100);
  PaintProbe P;
  HWND W = P.Create(WS_POPUP | WS_VISIBLE, 50, 20, 30, 30);
  P.Client[W] = Red;
  S.PumpUntilIdle();
  BITMAPINFO Bi{};
  Bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  Bi.bmiHeader.biWidth = 200;
  Bi.bmiHeader.biHeight = -100;
  Bi.bmiHeader.biPlanes = 1;
  Bi.bmiHeader.biBitCount = 32;
  void* Bits = nullptr;
  HBITMAP Bmp = CreateDIBSection(nullptr, &Bi, DIB_RGB_COLORS, &Bits, nullptr, 0);
  HDC Mem = CreateCompatibleDC(nullptr);
  HGDIOBJ Old = SelectObject(Mem, Bmp);
  HDC Screen = GetDC(nullptr);
  EXPECT_EQ(GetDeviceCaps(Screen, HORZRES), 200);
  BitBlt(Mem, 0, 0, 200, 100, Screen, 0, 0, SRCCOPY);
  ReleaseDC(nullptr, Screen);
  const auto* Px = static_cast<const uint32_t*>(Bits);
  EXPECT_EQ(Px[5 * 200 + 5] & 0xFFFFFF, vantrel::display::HeadlessDisplay::DefaultDesktopColor);
  EXPECT_EQ(Px[30 * 200 + 60] & 0xFFFFFF, PixelOf(Red));
  SelectObject(Mem, Old);
  DeleteDC(Mem);
  DeleteObject(Bmp);
}

TEST(WindowDc, AnOpenDcFollowsItsWindowAndOutlivesItHarmlessly) {
  HeadlessSession S;
  PaintProbe P;
  HWND Top = P.Create(WS_POPUP | WS_VISIBLE, 0, 0, 50, 50);
  HWND Child = P.Create(WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, Top);
  P.Client[Top] = Red;
  S.PumpUntilIdle();
  HDC TopDc = GetDC(Top);
  HDC ChildDc = GetDC(Child);
  // The top-level grows (a new backing store) and the child moves: both DCs draw where
  // their windows are now.
  MoveWindow(Top, 0, 0, 80, 80, TRUE);
  MoveWindow(Child, 30, 30, 10, 10, TRUE);
  S.PumpUntilIdle();
  Fill(ChildDc, RECT{0, 0, 10, 10}, Blue);
  SetPixel(TopDc, 79, 79, Green);
  vantrel::win::Surface Shot = S.Capture(Top);
  EXPECT_EQ(PixelAt(Shot, 35, 35), PixelOf(Blue));
  EXPECT_EQ(PixelAt(Shot, 5, 5), PixelOf(Red));
  EXPECT_EQ(PixelAt(Shot, 79, 79), PixelOf(Green));
  // Once its window is gone a DC draws nothing, and is still released.
  DestroyWindow(Child);
  Fill(ChildDc, RECT{0, 0, 10, 10}, Yellow);
  EXPECT_EQ(ReleaseDC(Child, ChildDc), 1);
  DestroyWindow(Top);
  SetPixel(TopDc, 1, 1, Green);
  EXPECT_EQ(ReleaseDC(Top, TopDc), 1);
}
