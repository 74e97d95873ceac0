// The frame the default procedure paints for a top-level window no skin draws: border,
// caption with the title in the active or inactive colours, and the caption buttons the
// styles ask for, with their hit codes and window commands.
#include <gtest/gtest.h>

#include "platform/display/HeadlessPng.h"
#include "platform/display/HeadlessSession.h"
#include "platform/win/Focus.h"
#include "platform/win/Input.h"
#include "platform/win/SysColors.h"
#include "platform/win/SysMetrics.h"
#include "tests/support/WinMessageLog.h"
#include "tests/support/WinPaintProbe.h"

using vantrel::display::HeadlessSession;
using vantrel::test::MessageLog;
using vantrel::test::PixelAt;

namespace {

// 0x00BBGGRR as a surface's 0x00RRGGBB.
uint32_t FramePixel(COLORREF C) { return ((C & 0xFF) << 16) | (C & 0xFF00) | ((C >> 16) & 0xFF); }

LRESULT FrameHitAt(HWND W, int X, int Y) {
  RECT R;
  GetWindowRect(W, &R);
  return SendMessage(W, WM_NCHITTEST, 0, MAKELPARAM(R.Left + X, R.Top + Y));
}

// The window point (in window coordinates) where a hit code answers, scanning the caption
// band from the right; (-1, -1) when none.
POINT FrameFindHit(HWND W, LRESULT Code) {
  RECT R;
  GetWindowRect(W, &R);
  const int Y = GetSystemMetrics(SM_CYCAPTION) / 2 + 1;
  for (int X = R.Right - R.Left - 1; X >= 0; --X)
    if (FrameHitAt(W, X, Y) == Code) return {X - 3, Y};  // a few pixels inside its right edge
  return {-1, -1};
}

int FrameCountPixels(const vantrel::win::Surface& S, RECT Area, uint32_t Color) {
  int N = 0;
  for (int Y = Area.Top; Y < Area.Bottom; ++Y)
    for (int X = Area.Left; X < Area.Right; ++X) N += PixelAt(S, X, Y) == Color;
  return N;
}

}  // namespace

TEST(DefaultFrame, APlainWindowShowsBorderTitleAndCloseButtonActiveOrNot) {
  HeadlessSession S;
  MessageLog Log;
  HWND W = Log.Create(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, 100, 100, 300, 200, nullptr, 0, 0,
                      "Plain window");
  SetActiveWindow(W);
  S.PumpUntilIdle();
  vantrel::win::Surface Active = S.Capture(W);
  const int Bar = GetSystemMetrics(SM_CYCAPTION);
  EXPECT_EQ(PixelAt(Active, 0, 0), FramePixel(GetSysColor(COLOR_WINDOWFRAME)));
  EXPECT_EQ(PixelAt(Active, 150, Active.Height() - 1), FramePixel(GetSysColor(COLOR_WINDOWFRAME)));
  const uint32_t ActiveBar = FramePixel(GetSysColor(COLOR_ACTIVECAPTION));
  EXPECT_EQ(PixelAt(Active, 200, 2), ActiveBar);
  // The title: text-coloured pixels at the caption's left, none of them without a title.
  const RECT TitleArea{1, 1, 120, Bar};
  EXPECT_GT(FrameCountPixels(Active, TitleArea, FramePixel(GetSysColor(COLOR_CAPTIONTEXT))), 20);
  // The close button at the right end answers HTCLOSE and shows its cross.
  const POINT Close = FrameFindHit(W, HTCLOSE);
  ASSERT_GE(Close.X, 250) << "the close button sits at the right end";
  EXPECT_EQ(FrameHitAt(W, 150, Bar / 2), HTCAPTION);
  EXPECT_GT(FrameCountPixels(Active, {Close.X - 12, 2, Close.X + 3, Bar - 1}, FramePixel(GetSysColor(COLOR_BTNTEXT))), 6);
  if (HasFailure()) vantrel::display::SavePng(Active, testing::TempDir() + "DefaultFrameActive.png");

  // Another window active: the caption takes the inactive colour.
  HWND Other = Log.Create(WS_POPUP | WS_VISIBLE, 500, 100, 100, 100);
  SetActiveWindow(Other);
  S.PumpUntilIdle();
  vantrel::win::Surface Inactive = S.Capture(W);
  EXPECT_NE(GetSysColor(COLOR_ACTIVECAPTION), GetSysColor(COLOR_INACTIVECAPTION));
  EXPECT_EQ(PixelAt(Inactive, 200, 2), FramePixel(GetSysColor(COLOR_INACTIVECAPTION)));
  EXPECT_GT(FrameCountPixels(Inactive, TitleArea, FramePixel(GetSysColor(COLOR_INACTIVECAPTIONTEXT))), 20);
}

TEST(DefaultFrame, CaptionButtonsFollowTheStylesAndRunTheirCommands) {
  HeadlessSession S;
  MessageLog Log;
  HWND Full = Log.Create(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 300, 200, nullptr, 0, 0, "Full");
  HWND NoMenu = Log.Create(WS_POPUP | WS_CAPTION | WS_VISIBLE, 400, 50, 300, 200, nullptr, 0, 0, "No menu");
  S.PumpUntilIdle();
  for (LRESULT Code : {HTCLOSE, HTMAXBUTTON, HTMINBUTTON}) {
    SCOPED_TRACE(Code);
    EXPECT_GE(FrameFindHit(Full, Code).X, 0);
    EXPECT_LT(FrameFindHit(NoMenu, Code).X, 0) << "no WS_SYSMENU: no caption buttons";
  }
  const POINT Close = FrameFindHit(Full, HTCLOSE), Max = FrameFindHit(Full, HTMAXBUTTON), Min = FrameFindHit(Full, HTMINBUTTON);
  EXPECT_LT(Max.X, Close.X);
  EXPECT_LT(Min.X, Max.X);

  // Pressed on a button and released elsewhere: nothing happens.
  Log.Clear();
  S.Press(50 + Max.X, 50 + Max.Y);
  S.Release(50 + 150, 50 + Max.Y);
  S.PumpUntilIdle();
  EXPECT_EQ(Log.Count(Full, WM_SYSCOMMAND), 0u);
  EXPECT_FALSE(IsZoomed(Full));
  // Clicked: maximize, then restore from the same button, then close.
  S.Press(50 + Max.X, 50 + Max.Y);
  S.Release(50 + Max.X, 50 + Max.Y);
  S.PumpUntilIdle();
  EXPECT_TRUE(IsZoomed(Full));
  RECT R;
  GetWindowRect(Full, &R);
  const POINT Restore = FrameFindHit(Full, HTMAXBUTTON);
  S.Press(R.Left + Restore.X, R.Top + Restore.Y);
  S.Release(R.Left + Restore.X, R.Top + Restore.Y);
  S.PumpUntilIdle();
  EXPECT_FALSE(IsZoomed(Full));
  GetWindowRect(Full, &R);
  const POINT CloseNow = FrameFindHit(Full, HTCLOSE);
  S.Press(R.Left + CloseNow.X, R.Top + CloseNow.Y);
  S.Release(R.Left + CloseNow.X, R.Top + CloseNow.Y);
  S.PumpUntilIdle();
  EXPECT_FALSE(IsWindow(Full));
}
