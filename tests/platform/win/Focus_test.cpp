#include <gtest/gtest.h>

#include "platform/display/HeadlessSession.h"
#include "platform/win/Input.h"
#include "tests/support/WinMessageLog.h"

using vantrel::display::HeadlessSession;
using vantrel::test::LoggedMessage;
using vantrel::test::MessageLog;

namespace {

const std::vector<UINT> kActivation = {WM_NCACTIVATE, WM_ACTIVATE, WM_ACTIVATEAPP, WM_KILLFOCUS, WM_SETFOCUS};

using FocusStep = std::tuple<HWND, UINT, WPARAM>;

// The activation and focus messages in order, with their wParam.
std::vector<FocusStep> Steps(MessageLog& Log) {
  std::vector<FocusStep> Out;
  for (const LoggedMessage& M : Log.Messages())
    if (std::find(kActivation.begin(), kActivation.end(), M.Msg) != kActivation.end())
      Out.emplace_back(M.Wnd, M.Msg, M.WParam);
  return Out;
}

WPARAM WParamOf(HWND H) { return reinterpret_cast<WPARAM>(H); }

}  // namespace

TEST(Focus, KillFocusComesBeforeSetFocusAndEachNamesTheOther) {
  HeadlessSession S;
  MessageLog Log;
  HWND Top = Log.Create(WS_POPUP | WS_VISIBLE, 0, 0, 200, 200);
  HWND A = Log.Create(WS_CHILD | WS_VISIBLE, 0, 0, 50, 50, Top);
  HWND B = Log.Create(WS_CHILD | WS_VISIBLE, 60, 0, 50, 50, Top);
  EXPECT_EQ(SetFocus(A), Top);  // the shown window had given itself the focus
  HWND FocusDuringKill = nullptr;
  Log.Handler() = [&](HWND, UINT Msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (Msg == WM_KILLFOCUS) FocusDuringKill = GetFocus();
    return std::nullopt;
  };
  Log.Clear();
  EXPECT_EQ(SetFocus(B), A);
  EXPECT_EQ(Steps(Log), (std::vector<FocusStep>{{A, WM_KILLFOCUS, WParamOf(B)}, {B, WM_SETFOCUS, WParamOf(A)}}));
  EXPECT_EQ(FocusDuringKill, B);
  EXPECT_EQ(GetFocus(), B);
  Log.Clear();
  EXPECT_EQ(SetFocus(B), B);  // already there: nothing is sent
  EXPECT_TRUE(Steps(Log).empty());
  EXPECT_EQ(SetFocus(nullptr), B);
  EXPECT_EQ(Steps(Log), (std::vector<FocusStep>{{B, WM_KILLFOCUS, 0}}));
  EXPECT_EQ(GetFocus(), nullptr);
  EXPECT_EQ(SetFocus(reinterpret_cast<HWND>(0x12345)), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE);
}

TEST(Focus, ActivationMessagesComeInOrderAndTheAppIsToldOnce) {
  HeadlessSession S;
  MessageLog Log;
  HWND One = Log.Create(WS_POPUP, 0, 0, 100, 100);
  HWND Edit = Log.Create(WS_CHILD | WS_VISIBLE, 0, 0, 50, 50, One);
  HWND Two = Log.Create(WS_POPUP, 200, 0, 100, 100);
  Log.Clear();
  ShowWindow(One, SW_SHOW);
  EXPECT_EQ(Steps(Log), (std::vector<FocusStep>{{One, WM_ACTIVATEAPP, TRUE},
                                           {Two, WM_ACTIVATEAPP, TRUE},
                                           {One, WM_NCACTIVATE, TRUE},
                                           {One, WM_ACTIVATE, WA_ACTIVE},
                                           {One, WM_SETFOCUS, 0}}));
  SetFocus(Edit);
  Log.Clear();
  ShowWindow(Two, SW_SHOW);
  EXPECT_EQ(Steps(Log), (std::vector<FocusStep>{{One, WM_NCACTIVATE, FALSE},
                                           {One, WM_ACTIVATE, WA_INACTIVE},
                                           {Two, WM_NCACTIVATE, TRUE},
                                           {Two, WM_ACTIVATE, WA_ACTIVE},
                                           {Edit, WM_KILLFOCUS, WParamOf(Two)},
                                           {Two, WM_SETFOCUS, WParamOf(Edit)}}));
  EXPECT_EQ(GetActiveWindow(), Two);
  EXPECT_EQ(GetForegroundWindow(), Two);
  EXPECT_EQ(GetTopWindow(nullptr), Two);
  // Focusing a window inside an inactive top-level window activates that first.
  Log.Clear();
  SetFocus(Edit);
  EXPECT_EQ(GetActiveWindow(), One);
  EXPECT_EQ(GetFocus(), Edit);
  EXPECT_EQ(Log.Sequence(One, {WM_ACTIVATE}), std::vector<UINT>{WM_ACTIVATE});
  EXPECT_EQ(Log.Sequence(Edit, {WM_SETFOCUS}), std::vector<UINT>{WM_SETFOCUS});
  EXPECT_TRUE(SetForegroundWindow(Two));
  EXPECT_EQ(GetActiveWindow(), Two);
}

TEST(Focus, ShowingWithoutActivationLeavesTheActiveWindowAlone) {
  HeadlessSession S;
  MessageLog Log;
  HWND Main = Log.Create(WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
  struct Case {
    const char* Name;
    std::function<void(HWND)> Show;
    bool Activates;
  } Cases[] = {
      {"SW_SHOWNA", [](HWND H) { ShowWindow(H, SW_SHOWNA); }, false},
      {"SW_SHOWNOACTIVATE", [](HWND H) { ShowWindow(H, SW_SHOWNOACTIVATE); }, false},
      {"SWP_SHOWWINDOW | SWP_NOACTIVATE",
       [](HWND H) { SetWindowPos(H, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW | SWP_NOACTIVATE); },
       false},
      {"SWP_SHOWWINDOW",
       [](HWND H) { SetWindowPos(H, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW); }, true},
      {"SW_SHOW", [](HWND H) { ShowWindow(H, SW_SHOW); }, true},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    SetActiveWindow(Main);
    HWND Popup = Log.Create(WS_POPUP, 200, 0, 50, 50);
    C.Show(Popup);
    EXPECT_TRUE(IsWindowVisible(Popup));
    EXPECT_EQ(GetActiveWindow(), C.Activates ? Popup : Main);
    DestroyWindow(Popup);
  }
  // WS_EX_NOACTIVATE windows are never activated by showing.
  HWND Hint = Log.Create(WS_POPUP, 200, 0, 50, 50, nullptr, WS_EX_NOACTIVATE);
  ShowWindow(Hint, SW_SHOW);
  EXPECT_EQ(GetActiveWindow(), Main);
}

TEST(Focus, ActivationPassesToTheOwnerWhenTheActiveWindowGoes) {
  HeadlessSession S;
  MessageLog Log;
  HWND Other = Log.Create(WS_POPUP | WS_VISIBLE, 400, 0, 100, 100);
  HWND Main = Log.Create(WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
  HWND Dialog = Log.Create(WS_POPUP | WS_VISIBLE, 20, 20, 50, 50, Main);
  ASSERT_EQ(GetActiveWindow(), Dialog);
  // Hiding: the owner takes over, even though another window was active more recently.
  SetActiveWindow(Other);
  SetActiveWindow(Dialog);
  ShowWindow(Dialog, SW_HIDE);
  EXPECT_EQ(GetActiveWindow(), Main);
  EXPECT_EQ(GetFocus(), Main);
  // Destroying.
  ShowWindow(Dialog, SW_SHOW);
  ASSERT_EQ(GetActiveWindow(), Dialog);
  DestroyWindow(Dialog);
  EXPECT_EQ(GetActiveWindow(), Main);
  // Minimizing hands activation to the next window.
  ShowWindow(Main, SW_MINIMIZE);
  EXPECT_EQ(GetActiveWindow(), Other);
  // The last window gone: the program is no longer active.
  DestroyWindow(Main);
  Log.Clear();
  DestroyWindow(Other);
  EXPECT_EQ(GetActiveWindow(), nullptr);
  EXPECT_EQ(GetFocus(), nullptr);
  EXPECT_FALSE(S.Manager().Input().AppActive());
}
