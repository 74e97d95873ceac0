#include <gtest/gtest.h>

#include "platform/display/HeadlessSession.h"
#include "tests/support/WinMessageLog.h"

using vantrel::display::HeadlessSession;
using vantrel::test::MessageLog;

TEST(WindowProps, ClassesRegisterOnceAndKeepTheirData) {
  HeadlessSession S;
  MessageLog Log("Panel", CS_DBLCLKS | CS_HREDRAW);
  WNDCLASS Again;
  Again.lpszClassName = "panel";  // names compare without case
  Again.lpfnWndProc = MakeWndProc(&DefWindowProc);
  EXPECT_EQ(RegisterClass(&Again), 0);
  EXPECT_EQ(GetLastError(), ERROR_CLASS_ALREADY_EXISTS);
  Again.lpfnWndProc = nullptr;
  Again.lpszClassName = "Other";
  EXPECT_EQ(RegisterClass(&Again), 0);  // no procedure

  HWND W = Log.Create(WS_POPUP, 0, 0, 10, 10);
  EXPECT_EQ(GetClassName(W), "Panel");
  char Buf[4];
  EXPECT_EQ(GetClassName(W, Buf, sizeof Buf), 3);
  EXPECT_STREQ(Buf, "Pan");
  EXPECT_EQ(GetClassLong(W, GCL_STYLE), CS_DBLCLKS | CS_HREDRAW);
  EXPECT_EQ(SetClassLong(W, GCL_STYLE, CS_DBLCLKS | CS_DROPSHADOW), CS_DBLCLKS | CS_HREDRAW);
  HWND W2 = Log.Create(WS_POPUP, 0, 0, 10, 10);
  EXPECT_EQ(GetClassLong(W2, GCL_STYLE), CS_DBLCLKS | CS_DROPSHADOW);  // shared by the class
  EXPECT_FALSE(UnregisterClass("Panel", nullptr));
  EXPECT_EQ(GetLastError(), ERROR_CLASS_HAS_WINDOWS);
  DestroyWindow(W);
  DestroyWindow(W2);
  EXPECT_TRUE(UnregisterClass("Panel", nullptr));
  EXPECT_EQ(Log.Create(WS_POPUP, 0, 0, 10, 10), nullptr);
}

TEST(WindowProps, WindowLongsReadAndWriteTheirFields) {
  HeadlessSession S;
  MessageLog Log("Extra", 0, 16);
  HWND Owner = Log.Create(WS_POPUP, 0, 0, 10, 10);
  HWND W = Log.Create(WS_POPUP | WS_BORDER, 0, 0, 10, 10, nullptr, WS_EX_TOOLWINDOW);
  HWND C = Log.Create(WS_CHILD, 0, 0, 5, 5, W, 0, 42);
  EXPECT_EQ(GetWindowLong(W, GWL_STYLE), static_cast<LONG>(WS_POPUP | WS_BORDER));
  EXPECT_EQ(GetWindowLong(W, GWL_EXSTYLE), static_cast<LONG>(WS_EX_TOOLWINDOW));
  EXPECT_EQ(GetWindowLongPtr(C, GWL_ID), 42);
  EXPECT_EQ(GetWindowLongPtr(C, GWL_HWNDPARENT), reinterpret_cast<LONG_PTR>(W));

  // Style changes are announced before and after, and the handler may edit them.
  Log.Handler() = [](HWND, UINT Msg, WPARAM WP, LPARAM LP) -> std::optional<LRESULT> {
    if (Msg == WM_STYLECHANGING && static_cast<int>(WP) == GWL_STYLE)
      reinterpret_cast<STYLESTRUCT*>(LP)->styleNew |= WS_CLIPCHILDREN;
    return std::nullopt;
  };
  Log.Clear();
  EXPECT_EQ(SetWindowLong(W, GWL_STYLE, static_cast<LONG>(WS_POPUP | WS_THICKFRAME)),
            static_cast<LONG>(WS_POPUP | WS_BORDER));
  EXPECT_EQ(Log.Sequence(W), (std::vector<UINT>{WM_STYLECHANGING, WM_STYLECHANGED}));
  EXPECT_EQ(static_cast<DWORD>(GetWindowLong(W, GWL_STYLE)), WS_POPUP | WS_THICKFRAME | WS_CLIPCHILDREN);
  // Making the frame take effect is the caller's SWP_FRAMECHANGED.
  RECT R;
  GetClientRect(W, &R);
  EXPECT_EQ(R.Right, 8);
  SetWindowPos(W, nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
  GetClientRect(W, &R);
  EXPECT_EQ(R.Right, 2);

  EXPECT_EQ(SetWindowLongPtr(W, GWL_USERDATA, 1234), 0);
  EXPECT_EQ(GetWindowLongPtr(W, GWL_USERDATA), 1234);
  EXPECT_EQ(SetWindowLongPtr(W, GWL_HWNDPARENT, reinterpret_cast<LONG_PTR>(Owner)), 0);
  EXPECT_EQ(GetWindow(W, GW_OWNER), Owner);
  EXPECT_EQ(SetWindowLongPtr(Owner, GWL_HWNDPARENT, reinterpret_cast<LONG_PTR>(W)), 0);  // no owner cycles

  // Extra bytes, bounds-checked.
  EXPECT_EQ(SetWindowLongPtr(W, 8, -5), 0);
  EXPECT_EQ(GetWindowLongPtr(W, 8), -5);
  EXPECT_EQ(SetWindowLong(W, 12, 77), -1);  // the high half of -5
  SetLastError(0);
  EXPECT_EQ(GetWindowLongPtr(W, 9), 0);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_INDEX);
  EXPECT_EQ(GetWindowLong(W, 16), 0);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_INDEX);
}

TEST(WindowProps, TextIsUtf8AndCountsCodePoints) {
  HeadlessSession S;
  MessageLog Log;
  HWND W = Log.Create(WS_POPUP, 0, 0, 10, 10, nullptr, 0, 0, "Caf\xC3\xA9");
  EXPECT_EQ(GetWindowText(W), "Caf\xC3\xA9");
  EXPECT_EQ(GetWindowTextLength(W), 4);
  ASSERT_TRUE(SetWindowText(W, "\xE2\x82\xAC" "5"));  // euro sign and a digit
  EXPECT_EQ(GetWindowTextLength(W), 2);
  char Buf[3];  // too small for the euro sign: nothing is cut in half
  EXPECT_EQ(GetWindowText(W, Buf, sizeof Buf), 0);
  EXPECT_STREQ(Buf, "");
  char Big[8];
  EXPECT_EQ(GetWindowText(W, Big, sizeof Big), 2);
  EXPECT_STREQ(Big, "\xE2\x82\xAC" "5");
  SetWindowText(W, nullptr);
  EXPECT_EQ(GetWindowText(W), "");
}

TEST(WindowProps, EnablingSendsWmEnableOnlyOnAChange) {
  HeadlessSession S;
  MessageLog Log;
  HWND W = Log.Create(WS_POPUP, 0, 0, 10, 10);
  Log.Clear();
  EXPECT_FALSE(EnableWindow(W, FALSE));  // was enabled
  EXPECT_FALSE(IsWindowEnabled(W));
  EXPECT_TRUE(EnableWindow(W, FALSE));  // was disabled already: no message
  EXPECT_TRUE(EnableWindow(W, TRUE));
  EXPECT_TRUE(IsWindowEnabled(W));
  EXPECT_EQ(Log.Sequence(W), (std::vector<UINT>{WM_ENABLE, WM_ENABLE}));
}

TEST(WindowProps, EnumerationAndFindingSeeLiveWindowsOnly) {
  HeadlessSession S;
  MessageLog Log;
  HWND A = Log.Create(WS_POPUP, 0, 0, 10, 10, nullptr, 0, 0, "first");
  HWND B = Log.Create(WS_POPUP, 0, 0, 10, 10, nullptr, 0, 0, "second");
  HWND C1 = Log.Create(WS_CHILD, 0, 0, 5, 5, A);
  HWND C2 = Log.Create(WS_CHILD, 0, 0, 5, 5, C1);
  EXPECT_EQ(FindWindow("loggedwindow", "first"), A);
  EXPECT_EQ(FindWindow(nullptr, "second"), B);
  EXPECT_EQ(FindWindow("ProgMan", nullptr), nullptr);
  std::vector<HWND> Found;
  auto Collect = [](HWND H, LPARAM P) -> BOOL {
    reinterpret_cast<std::vector<HWND>*>(P)->push_back(H);
    return TRUE;
  };
  EnumChildWindows(A, Collect, reinterpret_cast<LPARAM>(&Found));
  EXPECT_EQ(Found, (std::vector<HWND>{C1, C2}));
  // A callback that destroys a window not yet visited: it is skipped.
  Found.clear();
  static HWND Victim;
  Victim = A;
  EnumWindows(
      [](HWND H, LPARAM P) -> BOOL {
        reinterpret_cast<std::vector<HWND>*>(P)->push_back(H);
        if (H != Victim) DestroyWindow(Victim);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&Found));
  EXPECT_EQ(Found, (std::vector<HWND>{B}));
}
