// The player's host window: its subclass while SDL runs (close and clicks as asked,
// repaint and resize handed to SDL), the host's own procedure given back, the
// process's signal handling kept; and the desktop icon view lookup.
#include <gtest/gtest.h>
#include <signal.h>

#include <cstdlib>

#include "media/FFPlay.h"
#include "platform/display/HeadlessSession.h"
#include "platform/win/Focus.h"
#include "platform/win/MessageQueue.h"
#include "tests/media/PlayerTestKit.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestPaths.h"
#include "tests/support/WinMessageLog.h"

using namespace vantrel::media;
using vantrel::display::HeadlessSession;
using vantrel::test::CopyMediaFile;
using vantrel::test::FixturePath;
using vantrel::test::MessageLog;
using vantrel::test::SystemSDLFile;
using vantrel::test::TTempDir;

namespace {

void PlayerTestSignal(int) {}

class PlayerHostTest : public ::testing::Test {
 protected:
  void SetUp() override {
    vantrel::test::UseHeadlessSDL(Dir.File("audio.raw"));
    CopyMediaFile(SystemSDLFile(), Dir.File("libSDL-1.2.so.0"));
    ASSERT_TRUE(Player->LoadAVLib(Dir.Path(), true)) << Player->LastErrMsg();
    Log.Handler() = [](HWND, UINT Msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
      if (Msg == WM_CLOSE) return 0;  // kept alive
      return std::nullopt;
    };
    Top = Log.Create(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 400, 300);
    Host = Log.Create(WS_CHILD | WS_VISIBLE, 0, 0, 320, 240, Top);
    Own = GetWindowLongPtr(Host, GWL_WNDPROC);
  }
  HeadlessSession Session;
  MessageLog Log;
  TTempDir Dir;
  TOwned<TCustomPlayer> Player = CreateOwned<TCustomPlayer>(nullptr);
  HWND Top = nullptr, Host = nullptr;
  LONG_PTR Own = 0;
};

TEST_F(PlayerHostTest, HijackedHostSwallowsCloseAndTakesFocusOnClicks) {
  ASSERT_TRUE(detail::PlayerOpenStream(*Player, FixturePath("task-c.wav"), Host, false)) << Player->LastErrMsg();
  EXPECT_NE(GetWindowLongPtr(Host, GWL_WNDPROC), Own);
  Log.Clear();
  SendMessage(Host, WM_CLOSE, 0, 0);
  EXPECT_EQ(Log.Count(Host, WM_CLOSE), 0u);
  SetFocus(Top);
  SendMessage(Host, WM_LBUTTONDOWN, 0, 0);
  EXPECT_EQ(GetFocus(), Host);
  EXPECT_EQ(Log.Count(Host, WM_LBUTTONDOWN), 1u);
  detail::PlayerCloseStream(*Player);
  EXPECT_EQ(GetWindowLongPtr(Host, GWL_WNDPROC), Own);
}

TEST_F(PlayerHostTest, WithoutHijackCloseArrivesAndFocusStays) {
  Player->SetHijackWndProc(false);
  ASSERT_TRUE(detail::PlayerOpenStream(*Player, FixturePath("task-c.wav"), Host, false)) << Player->LastErrMsg();
  Log.Clear();
  SendMessage(Host, WM_CLOSE, 0, 0);
  EXPECT_EQ(Log.Count(Host, WM_CLOSE), 1u);
  SetFocus(Top);
  SendMessage(Host, WM_LBUTTONDOWN, 0, 0);
  EXPECT_EQ(GetFocus(), Top);
  // The subclass is there all the same: a resize still reaches SDL.
  EXPECT_NE(GetWindowLongPtr(Host, GWL_WNDPROC), Own);
  SetWindowPos(Host, nullptr, 0, 0, 200, 100, SWP_NOZORDER | SWP_NOMOVE);
  EXPECT_EQ(Log.Count(Host, WM_WINDOWPOSCHANGED), 1u);
  Player.reset();
  EXPECT_EQ(GetWindowLongPtr(Host, GWL_WNDPROC), Own);
  Log.Clear();
  SendMessage(Host, WM_CLOSE, 0, 0);
  EXPECT_EQ(Log.Count(Host, WM_CLOSE), 1u);
}

TEST_F(PlayerHostTest, SignalsAndWindowIdAreLeftAsTheyWere) {
  struct sigaction Mine {};
  Mine.sa_handler = PlayerTestSignal;
  sigaction(SIGINT, &Mine, nullptr);
  sigaction(SIGTERM, &Mine, nullptr);
  detail::SetPlayerNativeWindowId([](HWND) { return 12345ul; });
  ASSERT_TRUE(detail::PlayerOpenStream(*Player, FixturePath("task-c.wav"), Host, false)) << Player->LastErrMsg();
  detail::SetPlayerNativeWindowId(nullptr);
  EXPECT_EQ(std::getenv("SDL_WINDOWID"), nullptr);
  for (int Sig : {SIGINT, SIGTERM}) {
    struct sigaction Now {};
    sigaction(Sig, nullptr, &Now);
    EXPECT_EQ(Now.sa_handler, PlayerTestSignal) << Sig;
  }
  detail::PlayerCloseStream(*Player);
  signal(SIGINT, SIG_DFL);
  signal(SIGTERM, SIG_DFL);
}

TEST(PlayerDesktopListView, ProgManChainFolderViewFallbackAndNone) {
  HeadlessSession Session;
  EXPECT_EQ(FindDesktopListView(), nullptr);
  MessageLog Shell("WorkerW"), DefView("SHELLDLL_DefView");
  HWND Desk = Shell.Create(WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
  HWND View = DefView.Create(WS_CHILD | WS_VISIBLE, 0, 0, 100, 100, Desk);
  // The window system's own list view class stands for the desktop's icon view.
  HWND Folder = CreateWindowEx(0, "SysListView32", "FolderView", WS_CHILD | WS_VISIBLE, 0, 0, 100,
                               100, View, nullptr, nullptr, nullptr);
  EXPECT_EQ(FindDesktopListView(), Folder);
  MessageLog ProgMan("ProgMan"), Child("ProgManChild");
  HWND P = ProgMan.Create(WS_POPUP, 0, 0, 10, 10);
  HWND C1 = Child.Create(WS_CHILD, 0, 0, 10, 10, P);
  HWND C2 = Child.Create(WS_CHILD, 0, 0, 10, 10, C1);
  EXPECT_EQ(FindDesktopListView(), C2);
}

}  // namespace
