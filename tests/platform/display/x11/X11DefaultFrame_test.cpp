// Windows no skin draws on the X11 display: the desktop draws no decorations around our
// windows, so the message box shows the frame the default procedure paints (border,
// title, close button) and closes by its close button.
#include <gtest/gtest.h>

#include "platform/win/Input.h"
#include "platform/win/MessageBox.h"
#include "platform/win/SysColors.h"
#include "platform/win/SysMetrics.h"
#include "platform/win/Timers.h"
#include "tests/platform/display/x11/X11TestSession.h"

using namespace vantrel;
using namespace vantrel::x11test;

namespace {

struct FrameSeen {
  bool Found = false;
  uint32_t Corner = 0, Caption = 0;
  int CrossPixels = 0;
  int TitlePixels = 0;
  bool ClosedByHand = false;  // the click did not close it: the test closed it itself
};

X11Session* FrameSession = nullptr;
FrameSeen FrameSeenNow;

// Inside the box's loop: reads the box as the server shows it, then clicks its close
// button (the rightmost HTCLOSE point of its caption).
void FrameLookAndClose(HWND, UINT, UINT_PTR Id, DWORD) {
  KillTimer(nullptr, Id);
  const HWND Box = GetActiveWindow();
  RECT R{};
  if (!Box || !GetWindowRect(Box, &R)) return;
  const int Width = R.Right - R.Left, Height = R.Bottom - R.Top;
  const int Bar = GetSystemMetrics(SM_CYCAPTION);
  X11Session& S = *FrameSession;
  PumpUntil([&] { return S.Viewable(Box); });
  testsupport::PumpFor(200);
  const std::vector<uint32_t> Pixels = S.Peer.WindowPixels(S.XWindow(Box), Width, Height);
  if (Pixels.size() != static_cast<size_t>(Width) * Height) return;
  auto At = [&](int X, int Y) { return Pixels[static_cast<size_t>(Y) * Width + X] & 0xFFFFFF; };
  FrameSeenNow.Corner = At(0, 0);
  FrameSeenNow.Caption = At(Width / 2, 2);
  const uint32_t Text = ScreenColor(GetSysColor(COLOR_CAPTIONTEXT));
  for (int Y = 1; Y < Bar; ++Y)
    for (int X = 1; X < Width / 2; ++X) FrameSeenNow.TitlePixels += At(X, Y) == Text;
  int CloseX = -1;
  for (int X = Width - 1; X >= 0 && CloseX < 0; --X)
    if (SendMessage(Box, WM_NCHITTEST, 0, MAKELPARAM(R.Left + X, R.Top + Bar / 2)) == HTCLOSE) CloseX = X - 3;
  if (CloseX < 0) return;
  const uint32_t Glyph = ScreenColor(GetSysColor(COLOR_BTNTEXT));
  for (int Y = 2; Y < Bar - 1; ++Y)
    for (int X = CloseX - 12; X <= CloseX + 2; ++X) FrameSeenNow.CrossPixels += At(X, Y) == Glyph;
  FrameSeenNow.Found = true;
  S.Peer.MovePointer(R.Left + CloseX, R.Top + Bar / 2);
  S.Peer.Button(1, true);
  S.Peer.Button(1, false);
}

// Ends a box that the click left open.
void FrameCloseLeftOpen(HWND, UINT, UINT_PTR Id, DWORD) {
  KillTimer(nullptr, Id);
  FrameSeenNow.ClosedByHand = true;
  if (const HWND Box = GetActiveWindow()) PostMessage(Box, WM_CLOSE, 0, 0);
}

}  // namespace

TEST(X11DefaultFrame, TheMessageBoxShowsTitleBorderAndACloseButtonThatClosesIt) {
  X11Session S;
  FrameSession = &S;
  FrameSeenNow = {};
  SetTimer(nullptr, 0, 300, FrameLookAndClose);
  const UINT_PTR Fallback = SetTimer(nullptr, 0, 15000, FrameCloseLeftOpen);
  EXPECT_EQ(MessageBox(nullptr, "Something to say", "Box title", MB_OK), IDOK);
  KillTimer(nullptr, Fallback);
  FrameSession = nullptr;
  EXPECT_FALSE(FrameSeenNow.ClosedByHand) << "the close button did not close the box";
  ASSERT_TRUE(FrameSeenNow.Found) << "no close button on the box's caption";
  EXPECT_EQ(FrameSeenNow.Corner, ScreenColor(GetSysColor(COLOR_WINDOWFRAME)));
  EXPECT_EQ(FrameSeenNow.Caption, ScreenColor(GetSysColor(COLOR_ACTIVECAPTION)));
  EXPECT_GT(FrameSeenNow.TitlePixels, 20) << "the title";
  EXPECT_GT(FrameSeenNow.CrossPixels, 6) << "the close button's cross";
}
