#include <gtest/gtest.h>

#include "platform/display/HeadlessSession.h"
#include "platform/win/Input.h"
#include "platform/win/NonClient.h"
#include "tests/support/WinMessageLog.h"

using vantrel::display::HeadlessSession;
using vantrel::test::MessageLog;

TEST(NonClient, TheDefaultHitTestFindsThePlainFramesAreas) {
  HeadlessSession S;
  MessageLog Log;
  HWND W = Log.Create(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300, 200);
  HWND Fixed = Log.Create(WS_POPUP | WS_CAPTION | WS_VISIBLE, 500, 100, 200, 100);
  struct Case {
    HWND Wnd;
    int X, Y;
    LRESULT Code;
  } Cases[] = {
      {W, 250, 200, HTCLIENT},     {W, 250, 110, HTCAPTION},     {W, 101, 200, HTLEFT},
      {W, 398, 200, HTRIGHT},      {W, 250, 101, HTTOP},         {W, 250, 298, HTBOTTOM},
      {W, 100, 100, HTTOPLEFT},    {W, 399, 110, HTTOPRIGHT},    {W, 105, 299, HTBOTTOMLEFT},
      {W, 399, 299, HTBOTTOMRIGHT}, {W, 99, 200, HTNOWHERE},      {Fixed, 500, 150, HTBORDER},
      {Fixed, 600, 110, HTCAPTION}, {Fixed, 600, 150, HTCLIENT},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(testing::Message() << C.X << "," << C.Y);
    EXPECT_EQ(SendMessage(C.Wnd, WM_NCHITTEST, 0, PointToLParam(C.X, C.Y)), C.Code);
  }
}

TEST(NonClient, TheParentDecidesTheCursorBeforeTheChild) {
  HeadlessSession S;
  MessageLog Log;
  HWND Top = Log.Create(WS_POPUP | WS_VISIBLE, 0, 0, 200, 200);
  HWND Child = Log.Create(WS_CHILD | WS_VISIBLE, 10, 10, 50, 50, Top);
  HCURSOR Beam = LoadCursor(nullptr, IDC_IBEAM), Hand = LoadCursor(nullptr, IDC_HAND);
  SetClassLongPtr(Child, GCLP_HCURSOR, reinterpret_cast<LONG_PTR>(Beam));
  bool ParentTakes = true;
  Log.Handler() = [&](HWND Wnd, UINT Msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (Msg == WM_SETCURSOR && Wnd == Top && ParentTakes) {
      SetCursor(Hand);
      return TRUE;
    }
    return std::nullopt;
  };
  S.Move(20, 20);
  S.PumpUntilIdle();
  EXPECT_EQ(GetCursor(), Hand);
  ParentTakes = false;
  S.Move(21, 20);
  S.PumpUntilIdle();
  EXPECT_EQ(GetCursor(), Beam);
  EXPECT_EQ(vantrel::win::CursorForHitCode(HTBOTTOMLEFT), LoadCursor(nullptr, IDC_SIZENESW));
}
