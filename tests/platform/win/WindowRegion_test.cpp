#include <gtest/gtest.h>

#include "platform/display/HeadlessSession.h"
#include "platform/win/GdiInternal.h"
#include "platform/win/WindowRegion.h"
#include "tests/support/WinPaintProbe.h"

using vantrel::display::HeadlessDisplay;
using vantrel::display::HeadlessSession;
using vantrel::test::ExpectPixels;
using vantrel::test::PaintProbe;
using vantrel::win::PixelOf;

namespace {

using vantrel::test::Blue;
using vantrel::test::Red;
constexpr uint32_t DesktopPixel = HeadlessDisplay::DefaultDesktopColor;

}  // namespace

TEST(WindowRegion, AShapedTopLevelIsDrawnAndHitOnlyInsideItsRegion) {
  HeadlessSession S(200, 150);
  PaintProbe P;
  HWND W = P.Create(WS_POPUP | WS_VISIBLE, 20, 30, 60, 40);
  P.Client[W] = Red;
  // An L: the top band and the left column.
  HRGN Shape = CreateRectRgn(0, 0, 60, 10);
  HRGN Column = CreateRectRgn(0, 0, 15, 40);
  CombineRgn(Shape, Shape, Column, RGN_OR);
  DeleteObject(Column);
  ASSERT_TRUE(SetWindowRgn(W, Shape, TRUE));
  ExpectPixels(S.CaptureScreen(),
               {{25, 35, PixelOf(Red), "top band"},
                {79, 39, PixelOf(Red), "top band's far end"},
                {25, 65, PixelOf(Red), "left column"},
                {50, 55, DesktopPixel, "cut away"},
                {79, 69, DesktopPixel, "cut away corner"}},
               "shaped_top_level");
  EXPECT_EQ(WindowFromPoint(POINT{25, 65}), W);
  EXPECT_EQ(WindowFromPoint(POINT{50, 55}), nullptr);
  // The display knows the shape.
  const auto* N = S.Display().Native(W);
  ASSERT_TRUE(N && N->Shape);
  // Without a region the whole rectangle is back.
  SetWindowRgn(W, nullptr, TRUE);
  EXPECT_EQ(vantrel::test::PixelAt(S.CaptureScreen(), 50, 55), PixelOf(Red));
  EXPECT_EQ(WindowFromPoint(POINT{50, 55}), W);
  EXPECT_FALSE(N->Shape);
}

TEST(WindowRegion, AShapedChildShowsItsParentWhereItIsCutAway) {
  HeadlessSession S;
  PaintProbe P;
  HWND Top = P.Create(WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 100, 100);
  HWND Child = P.Create(WS_CHILD | WS_VISIBLE, 20, 20, 40, 40, Top);
  P.Client[Top] = Blue;
  P.Client[Child] = Red;
  S.PumpUntilIdle();
  SetWindowRgn(Child, CreateRectRgn(0, 0, 20, 20), TRUE);
  ExpectPixels(S.Capture(Top),
               {{25, 25, PixelOf(Red), "inside the child's region"},
                {50, 50, PixelOf(Blue), "cut away: the parent repainted it"}},
               "shaped_child");
  EXPECT_EQ(WindowFromPoint(POINT{25, 25}), Child);
  EXPECT_EQ(WindowFromPoint(POINT{50, 50}), Top);
}

TEST(WindowRegion, TheWindowOwnsItsRegion) {
  HeadlessSession S;
  PaintProbe P;
  HWND W = P.Create(WS_POPUP | WS_VISIBLE, 0, 0, 50, 50);
  HWND Other = P.Create(WS_POPUP | WS_VISIBLE, 0, 0, 50, 50);
  const size_t Before = vantrel::win::GdiObjectCount();
  HRGN First = CreateEllipticRgn(0, 0, 50, 50);
  ASSERT_TRUE(SetWindowRgn(W, First, FALSE));
  EXPECT_FALSE(DeleteObject(First));         // owned: a harmless failure
  EXPECT_FALSE(SetWindowRgn(Other, First, FALSE));  // and not given away twice
  HRGN Copy = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(GetWindowRgn(W, Copy), COMPLEXREGION);
  EXPECT_TRUE(PtInRegion(Copy, 25, 25));
  EXPECT_FALSE(PtInRegion(Copy, 1, 1));
  // A new region frees the old one.
  HRGN Second = CreateRectRgn(0, 0, 10, 10);
  ASSERT_TRUE(SetWindowRgn(W, Second, FALSE));
  EXPECT_EQ(GetObjectType(First), 0u);
  EXPECT_EQ(GetWindowRgn(W, Copy), SIMPLEREGION);
  // Removing it, or destroying the window, frees it too.
  SetWindowRgn(W, nullptr, FALSE);
  EXPECT_EQ(GetObjectType(Second), 0u);
  EXPECT_EQ(GetWindowRgn(W, Copy), ERROR);
  HRGN Third = CreateRectRgn(0, 0, 10, 10);
  SetWindowRgn(W, Third, FALSE);
  DestroyWindow(W);
  EXPECT_EQ(GetObjectType(Third), 0u);
  DeleteObject(Copy);
  EXPECT_EQ(vantrel::win::GdiObjectCount(), Before);
  EXPECT_FALSE(SetWindowRgn(Other, reinterpret_cast<HRGN>(0x4444), FALSE));
}
