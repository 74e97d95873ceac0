#include <gtest/gtest.h>

#include "platform/display/HeadlessSession.h"
#include "platform/win/SysMetrics.h"
#include "tests/support/WinMessageLog.h"

using vantrel::display::HeadlessDisplay;
using vantrel::display::HeadlessSession;
using vantrel::test::MessageLog;

TEST(WindowMetrics, MetricsSettingsAndMonitorsDescribeTheScreen) {
  HeadlessSession S(1024, 768);
  EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1024);
  EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 768);
  EXPECT_EQ(GetSystemMetrics(SM_CMONITORS), 1);
  EXPECT_EQ(GetSystemMetrics(SM_SWAPBUTTON), 0);
  EXPECT_EQ(GetSystemMetrics(SM_CXSMICON), 16);
  EXPECT_GT(GetSystemMetrics(SM_CYCURSOR), 0);
  RECT Work{};
  ASSERT_TRUE(SystemParametersInfo(SPI_GETWORKAREA, 0, &Work, 0));
  EXPECT_EQ(Work, Rect(0, 0, 1024, 768 - HeadlessDisplay::TaskbarHeight));
  BOOL Full = FALSE;
  ASSERT_TRUE(SystemParametersInfo(SPI_GETDRAGFULLWINDOWS, 0, &Full, 0));
  EXPECT_TRUE(Full);
  EXPECT_FALSE(SystemParametersInfo(0x9999, 0, &Full, 0));

  MessageLog Log;
  HWND W = Log.Create(WS_POPUP, 0, 0, 10, 10);
  HMONITOR M = MonitorFromWindow(W, MONITOR_DEFAULTTONEAREST);
  ASSERT_NE(M, nullptr);
  MONITORINFO Info{};
  Info.cbSize = sizeof Info;
  EXPECT_EQ(sizeof Info, 40u);
  ASSERT_TRUE(GetMonitorInfoA(M, &Info));
  EXPECT_EQ(Info.rcMonitor, Rect(0, 0, 1024, 768));
  EXPECT_EQ(Info.rcWork, Work);
  EXPECT_EQ(Info.dwFlags, MONITORINFOF_PRIMARY);

  const DWORD V = GetVersion();
  EXPECT_EQ(LOBYTE(V), 6);
  EXPECT_EQ(HIBYTE(LOWORD(V)), 1);
  BOOL Composition = TRUE;
  EXPECT_EQ(DwmIsCompositionEnabled(&Composition), S_OK);
  EXPECT_FALSE(Composition);
  EXPECT_NE(DwmEnableBlurBehindWindow(W, nullptr), S_OK);
}
