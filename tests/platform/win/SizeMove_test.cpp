#include <gtest/gtest.h>

#include "platform/display/HeadlessSession.h"
#include "platform/win/Input.h"
#include "platform/win/SizeMove.h"
#include "platform/win/SysMetrics.h"
#include "tests/support/WinMessageLog.h"

using vantrel::display::HeadlessSession;
using vantrel::test::LoggedMessage;
using vantrel::test::MessageLog;

namespace {

RECT WindowRectOf(HWND W) {
  RECT R{};
  GetWindowRect(W, &R);
  return R;
}

const std::vector<UINT> kLoop = {WM_ENTERSIZEMOVE, WM_EXITSIZEMOVE, WM_LBUTTONUP, WM_NCLBUTTONUP, WM_CAPTURECHANGED};

}  // namespace

TEST(SizeMove, PressingOnTheCaptionAndMovingDragsTheWindow) {
  HeadlessSession S;
  MessageLog Log;
  HWND W = Log.Create(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300, 200);
  std::vector<RECT> Moving;
  Log.Handler() = [&](HWND, UINT Msg, WPARAM, LPARAM LP) -> std::optional<LRESULT> {
    if (Msg == WM_MOVING) Moving.push_back(*reinterpret_cast<RECT*>(LP));
    return std::nullopt;
  };
  Log.Clear();
  S.Press(150, 110);  // on the caption
  S.Move(170, 130);
  S.Move(200, 150);
  S.Release(200, 150);
  S.PumpUntilIdle();
  EXPECT_EQ(WindowRectOf(W), Rect(150, 140, 450, 340));
  ASSERT_EQ(Moving.size(), 2u);
  EXPECT_EQ(Moving[0], Rect(120, 120, 420, 320));
  EXPECT_EQ(Log.Count(W, WM_NCLBUTTONDOWN), 1u);
  // The loop took the release: the window never saw it.
  EXPECT_EQ(Log.Sequence(W, kLoop), (std::vector<UINT>{WM_ENTERSIZEMOVE, WM_CAPTURECHANGED, WM_EXITSIZEMOVE}));
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_FALSE(S.Manager().Input().InSizeMove());
}

TEST(SizeMove, TheBottomRightCornerResizesWithinTheMinMaxInfoLimits) {
  struct Case {
    const char* Name;
    int ToX, ToY;
    RECT Expected;
  } Cases[] = {
      {"grows", 450, 360, Rect(100, 100, 450, 360)},
      {"stops at the largest size", 900, 900, Rect(100, 100, 500, 400)},
      {"stops at the smallest size", 110, 110, Rect(100, 100, 250, 220)},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    HeadlessSession S;
    MessageLog Log;
    // A skinned frame: no sizing border of its own styles, its own hit test and limits.
    Log.Handler() = [](HWND Wnd, UINT Msg, WPARAM, LPARAM LP) -> std::optional<LRESULT> {
      if (Msg == WM_NCHITTEST) {
        RECT R;
        GetWindowRect(Wnd, &R);
        return GET_X_LPARAM(LP) >= R.Right - 8 && GET_Y_LPARAM(LP) >= R.Bottom - 8 ? HTBOTTOMRIGHT : HTCLIENT;
      }
      if (Msg == WM_GETMINMAXINFO) {
        auto* Info = reinterpret_cast<MINMAXINFO*>(LP);
        Info->ptMinTrackSize = {150, 120};
        Info->ptMaxTrackSize = {400, 300};
        return 0;
      }
      return std::nullopt;
    };
    HWND W = Log.Create(WS_POPUP | WS_VISIBLE, 100, 100, 300, 200);
    Log.Clear();
    S.Press(398, 298);
    S.Move(C.ToX - 2, C.ToY - 2);
    S.Release(C.ToX - 2, C.ToY - 2);
    S.PumpUntilIdle();
    EXPECT_EQ(WindowRectOf(W), C.Expected);
    const auto Sizing = Log.Sequence(W, {WM_SIZING});
    EXPECT_EQ(Sizing.size(), 1u);
    for (const LoggedMessage& M : Log.Messages())
      if (M.Msg == WM_SIZING) {
        EXPECT_EQ(M.WParam, WMSZ_BOTTOMRIGHT);
      }
  }
}

TEST(SizeMove, TheMovingRectangleIsTheWindowsToChangeAndEscapePutsItBack) {
  HeadlessSession S;
  MessageLog Log;
  HWND W = Log.Create(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300, 200);
  // Snap to the left edge of the screen when near it.
  Log.Handler() = [&](HWND, UINT Msg, WPARAM, LPARAM LP) -> std::optional<LRESULT> {
    if (Msg == WM_MOVING) {
      RECT& R = *reinterpret_cast<RECT*>(LP);
      if (R.Left < 20) {
        R.Right -= R.Left;
        R.Left = 0;
      }
      return TRUE;
    }
    return std::nullopt;
  };
  S.Press(150, 110);
  S.Move(60, 110);
  S.Release(60, 110);
  S.PumpUntilIdle();
  EXPECT_EQ(WindowRectOf(W), Rect(0, 100, 300, 300));

  S.Clock().Advance(1000);  // not a double click
  S.Press(150, 110);
  S.Move(400, 300);
  S.Key(VK_ESCAPE);
  S.Release(100, 200);
  S.PumpUntilIdle();
  EXPECT_EQ(WindowRectOf(W), Rect(0, 100, 300, 300));
  EXPECT_EQ(Log.Count(W, WM_EXITSIZEMOVE), 2u);
  // After the loop the release reaches the window as usual.
  EXPECT_EQ(Log.Count(W, WM_LBUTTONUP), 1u);
}

TEST(SizeMove, AWindowDraggedByItsOwnNcLButtonDownFollowsThePointer) {
  HeadlessSession S;
  MessageLog Log;
  // A captionless window that moves when its client area is dragged: it sends itself a
  // caption press at the message's own position.
  Log.Handler() = [](HWND Wnd, UINT Msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (Msg == WM_LBUTTONDOWN) {
      SendMessage(Wnd, WM_NCLBUTTONDOWN, HTCAPTION, static_cast<LPARAM>(static_cast<LONG>(GetMessagePos())));
      return 0;
    }
    return std::nullopt;
  };
  HWND W = Log.Create(WS_POPUP | WS_VISIBLE, 300, 300, 160, 120);
  S.Press(350, 350);
  S.Move(340, 330);
  S.Move(250, 200);
  S.Release(250, 200);
  S.PumpUntilIdle();
  EXPECT_EQ(WindowRectOf(W), Rect(200, 150, 360, 270));
  EXPECT_EQ(Log.Count(W, WM_LBUTTONUP), 0u);
}

TEST(SizeMove, NoLoopForAMaximizedWindowOrAReleasedButton) {
  HeadlessSession S;
  MessageLog Log;
  HWND W = Log.Create(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300, 200);
  // A caption press arriving after the button went up (sent, not from input).
  SendMessage(W, WM_NCLBUTTONDOWN, HTCAPTION, PointToLParam(150, 110));
  EXPECT_EQ(Log.Count(W, WM_ENTERSIZEMOVE), 0u);
  ShowWindow(W, SW_MAXIMIZE);
  const RECT Max = WindowRectOf(W);
  S.Press(200, 10);
  S.Move(300, 300);
  S.Release(300, 300);
  S.PumpUntilIdle();
  EXPECT_EQ(WindowRectOf(W), Max);
  EXPECT_EQ(Log.Count(W, WM_ENTERSIZEMOVE), 0u);
}

TEST(SizeMove, CaptionDoubleClickAndSystemCommandsChangeTheWindowState) {
  HeadlessSession S;
  MessageLog Log;
  HWND W = Log.Create(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300, 200);
  RECT Work;
  SystemParametersInfo(SPI_GETWORKAREA, 0, &Work, 0);
  S.Press(150, 110);
  S.Release(150, 110);
  S.Press(150, 110);
  S.Release(150, 110);
  S.PumpUntilIdle();
  ASSERT_TRUE(IsZoomed(W));
  RECT Client;
  GetClientRect(W, &Client);
  EXPECT_EQ(Client.Right, Work.Right - Work.Left);  // the client area fills the work area
  // Restored to where it was.
  SendMessage(W, WM_SYSCOMMAND, SC_RESTORE, 0);
  EXPECT_FALSE(IsZoomed(W));
  EXPECT_EQ(WindowRectOf(W), Rect(100, 100, 400, 300));
  SendMessage(W, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  EXPECT_TRUE(IsIconic(W));
  SendMessage(W, WM_SYSCOMMAND, SC_RESTORE, 0);
  EXPECT_EQ(WindowRectOf(W), Rect(100, 100, 400, 300));
  SendMessage(W, WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_EQ(Log.Count(W, WM_CLOSE), 1u);
  EXPECT_FALSE(IsWindow(W));
}
