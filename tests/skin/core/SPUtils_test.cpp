#include <gtest/gtest.h>

#include <climits>

#include "platform/display/HeadlessSession.h"
#include "platform/rtl/Exceptions.h"
#include "platform/ui/Graphics.h"
#include "skin/core/drawing/SPUtils.h"

using vantrel::skin::SetVersionProviderForTest;

TEST(SPUtils, RectangleAndPointTestsFollowTheirEdgeRules) {
  EXPECT_TRUE(IsNullRect(Rect(10, 10, 10, 20)));
  EXPECT_FALSE(IsNullRect(Rect(10, 10, 11, 11)));
  EXPECT_TRUE(IsNullRect(Rect(10, 10, 5, 20)));  // Right < Left
  EXPECT_TRUE(IsNullRect(NullRect()));
  EXPECT_EQ(RectWidth(Rect(-5, 0, 7, 3)), 12);
  EXPECT_EQ(RectHeight(Rect(0, 9, 1, 3)), -6);

  EXPECT_TRUE(IsNullPoint(Point(0, 5)));
  EXPECT_TRUE(IsNullPoint(Point(5, 0)));
  EXPECT_FALSE(IsNullPoint(Point(3, 4)));

  EXPECT_TRUE(IsSameRect(Rect(1, 2, 3, 4), Rect(1, 2, 3, 4)));
  EXPECT_FALSE(IsSameRect(Rect(1, 2, 3, 4), Rect(1, 2, 3, 5)));

  // IsPointInRect includes the right and bottom edges; RectInRect goes by PtInRect, which
  // excludes them.
  EXPECT_TRUE(IsPointInRect(Rect(0, 0, 10, 10), Point(10, 10)));
  EXPECT_FALSE(IsPointInRect(Rect(0, 0, 10, 10), Point(11, 10)));
  EXPECT_FALSE(RectInRect(Rect(0, 0, 10, 10), Rect(0, 0, 10, 10)));
  EXPECT_TRUE(RectInRect(Rect(0, 0, 9, 9), Rect(0, 0, 10, 10)));
  EXPECT_FALSE(RectInRect(Rect(-1, 0, 5, 5), Rect(0, 0, 10, 10)));

  EXPECT_EQ(IntMax(-3, 2), 2);
  EXPECT_EQ(IntMin(-3, 2), -3);
}

TEST(SPUtils, WidthAndHeightThatDoNotFitRaiseIntegerOverflow) {
  EXPECT_THROW(RectWidth(Rect(INT_MIN, 0, INT_MAX, 0)), EIntOverflow);
  EXPECT_THROW(RectHeight(Rect(0, -2, 0, INT_MAX)), EIntOverflow);
  EXPECT_THROW(IsNullRect(Rect(1, 0, INT_MIN, 10)), EIntOverflow);
}

namespace {
DWORD gVersion = 0;
DWORD TestVersion() { return gVersion; }
}  // namespace

TEST(SPUtils, VersionTestsSplitMajorAndMinorFromGetVersion) {
  struct Case {
    DWORD Version;
    bool Win2000, XP, Vista, Win7;
  } cases[] = {
      {0x00000004, false, false, false, false},  // 4.0
      {0x00000005, true, false, false, false},   // 5.0
      {0x00000105, true, true, false, false},    // 5.1
      {0x00000205, true, false, false, false},   // 5.2: server generation, not "XP or later"
      {0x00000305, false, false, false, false},  // 5.3
      {0x00000006, true, true, true, false},     // 6.0
      {0x1DB10106, true, true, true, true},      // 6.1 with a build number in the high word
  };
  SetVersionProviderForTest(TestVersion);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Version);
    gVersion = c.Version;
    Integer major = 0, minor = 0;
    ReadWindowsVersion(major, minor);
    EXPECT_EQ(major, static_cast<Integer>(c.Version & 0xFF));
    EXPECT_EQ(minor, static_cast<Integer>((c.Version >> 8) & 0xFF));
    EXPECT_EQ(IsWin2000OrLater(), c.Win2000);
    EXPECT_EQ(IsXPOrLater(), c.XP);
    EXPECT_EQ(IsVistaOrLater(), c.Vista);
    EXPECT_EQ(IsWindows7(), c.Win7);
  }
  SetVersionProviderForTest(nullptr);
}

TEST(SPUtils, ThePlatformReportsWindows7) {
  Integer major = 0, minor = 0;
  ReadWindowsVersion(major, minor);
  EXPECT_EQ(major, 6);
  EXPECT_EQ(minor, 1);
  EXPECT_TRUE(IsWin2000OrLater() && IsXPOrLater() && IsVistaOrLater() && IsWindows7());
}

TEST(SPUtils, SingleMonitorAreaIsTheScreenAreaForAnyWindow) {
  vantrel::display::HeadlessSession session(800, 600);
  ASSERT_FALSE(IsMultiMonitor());
  TRect full, work;
  GetScreenArea(false, full);
  GetScreenArea(true, work);
  EXPECT_EQ(full, Rect(0, 0, 800, 600));
  EXPECT_EQ(work, session.Display().WorkArea());
  for (bool workArea : {false, true}) {
    SCOPED_TRACE(workArea);
    for (HWND wnd : {static_cast<HWND>(nullptr), reinterpret_cast<HWND>(0x1234)}) {
      TRect monitor = Rect(-1, -1, -1, -1);
      GetMonitorArea(wnd, workArea, monitor);
      EXPECT_EQ(monitor, workArea ? work : full);
    }
  }
}

TEST(SPUtils, CopyScreenToBitmapGrabsTheScreenAtThePoint) {
  vantrel::display::HeadlessSession session(320, 200);
  HDC screen = CreateDC("DISPLAY", nullptr, nullptr, nullptr);
  SetPixel(screen, 317, 198, RGB(0x12, 0x34, 0x56));
  auto bmp = CreateOwned<TBitmap>();
  bmp->SetPixelFormat(pf32bit);
  bmp->SetSize(4, 3);
  CopyScreenToBitmap(316, 197, bmp.get());
  EXPECT_EQ(bmp->Canvas()->Pixels(1, 1), static_cast<TColor>(RGB(0x12, 0x34, 0x56)));
  for (Integer y = 0; y < 3; ++y)
    for (Integer x = 0; x < 4; ++x)
      EXPECT_EQ(bmp->Canvas()->Pixels(x, y),
                static_cast<TColor>(GetPixel(screen, 316 + x, 197 + y)))
          << x << "," << y;
  DeleteDC(screen);
}

TEST(SPUtils, WithoutCompositionTheDwmHelpersDoNothing) {
  EXPECT_FALSE(IsDwmCompositionEnabled());
  SetDwmTransitions(nullptr, false);
  SetWindowBlurBehind(nullptr, true, nullptr);
  EXPECT_FALSE(IsDwmCompositionEnabled());
}
