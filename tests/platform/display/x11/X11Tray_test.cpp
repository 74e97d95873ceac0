// The notification area on X: icons docked in the desktop's tray (played by the test's
// second connection), their clicks as callback messages, balloons, and trays coming and
// going.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "platform/win/Resources.h"
#include "platform/win/TrayArea.h"
#include "tests/platform/display/x11/X11TestSession.h"

using namespace vantrel;
using namespace vantrel::x11test;

namespace {

constexpr UINT TrayCallback = WM_APP + 7;
constexpr RECT TrayPlace{600, 0, 700, 30};

// A hidden window that keeps the tray's callback messages and what else it is posted.
struct TrayOwner {
  std::vector<std::pair<UINT, LPARAM>> Got;  // message, lParam
  WNDPROC Proc = nullptr;
  HWND Wnd = nullptr;
  TrayOwner() {
    Proc = MakeWndProcInstance([this](HWND W, UINT Msg, WPARAM WP, LPARAM LP) -> LRESULT {
      if (Msg == TrayCallback && WP == 3) Got.emplace_back(Msg, LP);
      if (Msg >= 0xC000) Got.emplace_back(Msg, LP);  // registered messages
      return DefWindowProc(W, Msg, WP, LP);
    });
    Wnd = CreateWindowEx(0, FillClass, "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    SetWindowLongPtr(Wnd, GWL_WNDPROC, WndProcToLong(Proc));
  }
  ~TrayOwner() {
    if (IsWindow(Wnd)) DestroyWindow(Wnd);
    FreeObjectInstance(Proc);
  }
  bool Has(UINT Msg, LPARAM LParam) const {
    for (const auto& [M, L] : Got)
      if (M == Msg && L == LParam) return true;
    return false;
  }
};

// A 16 x 16 icon of one opaque colour (0x00RRGGBB).
HICON SolidIcon(uint32_t Rgb) {
  std::vector<uint32_t> Pixels(16 * 16, 0xFF000000u | Rgb);
  ICONINFO Info{};
  Info.fIcon = TRUE;
  Info.hbmColor = CreateBitmap(16, 16, 1, 32, Pixels.data());
  std::vector<uint8_t> MaskBits(16 * 2, 0);
  Info.hbmMask = CreateBitmap(16, 16, 1, 1, MaskBits.data());
  HICON Icon = CreateIconIndirect(&Info);
  DeleteObject(Info.hbmColor);
  DeleteObject(Info.hbmMask);
  return Icon;
}

NOTIFYICONDATAW IconData(HWND Wnd, HICON Icon, const char* Tip) {
  NOTIFYICONDATAW D;
  D.cbSize = 956;
  D.Wnd = Wnd;
  D.uID = 3;
  D.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  D.uCallbackMessage = TrayCallback;
  D.hIcon = Icon;
  win::SetNotifyField(D.szTip, Tip);
  return D;
}

}  // namespace

TEST(X11Tray, WithoutATrayNoIconCanBeAdded) {
  X11Session S;
  TrayOwner Owner;
  const NOTIFYICONDATAW D = IconData(Owner.Wnd, nullptr, "Vantrel");
  EXPECT_FALSE(Shell_NotifyIconW(NIM_ADD, &D));
  EXPECT_FALSE(Shell_NotifyIconW(NIM_MODIFY, &D));
}

TEST(X11Tray, TheTrayDocksTheIconAndItsClicksComeBackAsTheCallbackMessage) {
  X11Session S;
  TrayOwner Owner;
  const unsigned long Tray = S.Peer.BecomeTray(TrayPlace);
  HICON Red = SolidIcon(0xFF0000);
  const NOTIFYICONDATAW D = IconData(Owner.Wnd, Red, "Vantrel: converting");
  ASSERT_TRUE(Shell_NotifyIconW(NIM_ADD, &D));
  const unsigned long Icon = S.Peer.AcceptDock(3000);
  ASSERT_NE(Icon, 0u);
  EXPECT_EQ(S.Peer.Parent(Icon), Tray);
  EXPECT_EQ(S.Peer.Property(Icon, "_XEMBED_INFO", "_XEMBED_INFO"), (std::vector<long>{0, 1}));
  EXPECT_EQ(S.Peer.Utf8Property(Icon, "_NET_WM_NAME"), "Vantrel: converting");
  // Painted at the size the tray gave it.
  PumpUntil([&] { return S.Peer.ScreenPixel(TrayPlace.Left + 12, 12) == 0xFF0000; });

  S.Peer.MovePointer(TrayPlace.Left + 12, 12);
  S.Peer.Button(1, true);
  S.Peer.Button(1, false);
  auto Buttons = [&] {
    std::vector<LPARAM> Out;
    for (const auto& [M, L] : Owner.Got)
      if (M == TrayCallback && L != WM_MOUSEMOVE) Out.push_back(L);
    return Out;
  };
  PumpUntil([&] { return Buttons().size() == 2; });
  EXPECT_EQ(Buttons(), (std::vector<LPARAM>{WM_LBUTTONDOWN, WM_LBUTTONUP}));
  // A second click at once is a double click.
  S.Peer.Button(1, true);
  S.Peer.Button(1, false);
  PumpUntil([&] { return Buttons().size() == 4; });
  EXPECT_EQ(Buttons(), (std::vector<LPARAM>{WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP}));
  S.Peer.Button(3, true);
  S.Peer.Button(3, false);
  PumpUntil([&] { return Owner.Has(TrayCallback, WM_RBUTTONUP); });
  EXPECT_TRUE(Owner.Has(TrayCallback, WM_RBUTTONDOWN));

  // A balloon goes to the tray as a tray message.
  NOTIFYICONDATAW B = D;
  B.uFlags = NIF_INFO;
  win::SetNotifyField(B.szInfoTitle, "Vantrel");
  win::SetNotifyField(B.szInfo, "All 3 files are converted and waiting in the output folder.");
  ASSERT_TRUE(Shell_NotifyIconW(NIM_MODIFY, &B));
  EXPECT_EQ(S.Peer.ReadBalloon(3000), "Vantrel\nAll 3 files are converted and waiting in the output folder.");

  ASSERT_TRUE(Shell_NotifyIconW(NIM_DELETE, &D));
  PumpUntil([&] { return !S.Peer.Exists(Icon); });
  DestroyIcon(Red);
}

TEST(X11Tray, ANewTrayAsksEveryWindowToAddItsIconAgainAndAGoneTrayTakesTheIcons) {
  X11Session S;
  TrayOwner Owner;
  S.Peer.BecomeTray(TrayPlace);
  const NOTIFYICONDATAW D = IconData(Owner.Wnd, nullptr, "Vantrel");
  ASSERT_TRUE(Shell_NotifyIconW(NIM_ADD, &D));
  ASSERT_NE(S.Peer.AcceptDock(3000), 0u);

  S.Peer.EndTray();
  S.Peer.BecomeTray(TrayPlace);
  const UINT TaskbarCreated = RegisterWindowMessage("TaskbarCreated");
  PumpUntil([&] { return Owner.Has(TaskbarCreated, 0); });
  // The icon went with the old tray: it is added again, not changed.
  EXPECT_FALSE(Shell_NotifyIconW(NIM_MODIFY, &D));
  ASSERT_TRUE(Shell_NotifyIconW(NIM_ADD, &D));
  EXPECT_NE(S.Peer.AcceptDock(3000), 0u);

  S.Peer.EndTray();
  PumpUntil([&] { return !Shell_NotifyIconW(NIM_MODIFY, &D); });
  EXPECT_FALSE(Shell_NotifyIconW(NIM_ADD, &D));
}
