// The frame the default procedure paints for a window no skin draws: border,
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

// Child windows get their border painted too: WS_BORDER a line in the frame colour,
// WS_EX_CLIENTEDGE a sunken edge (shadow above and left, light below and right), both
// over the parent's green.
TEST(DefaultFrame, BorderedChildWindowsShowTheirBorderInsideTheParent) {
  HeadlessSession S;
  MessageLog Log;
  const COLORREF Green = RGB(0, 200, 0);
  HWND Parent = nullptr;
  Log.Handler() = [&](HWND W, UINT Msg, WPARAM WParam, LPARAM) -> std::optional<LRESULT> {
    if (Msg != WM_ERASEBKGND) return std::nullopt;
    RECT R;
    GetClientRect(W, &R);
    HBRUSH B = CreateSolidBrush(W == Parent ? Green : RGB(255, 255, 255));
    FillRect(reinterpret_cast<HDC>(WParam), &R, B);
    DeleteObject(B);
    return 1;
  };
  Parent = Log.Create(WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 100, 100, 240, 120);
  HWND Bordered = Log.Create(WS_CHILD | WS_VISIBLE | WS_BORDER, 20, 20, 60, 40, Parent);
  HWND Edged = Log.Create(WS_CHILD | WS_VISIBLE, 120, 20, 60, 40, Parent, WS_EX_CLIENTEDGE);
  ASSERT_NE(Bordered, nullptr);
  ASSERT_NE(Edged, nullptr);
  S.PumpUntilIdle();
  vantrel::win::Surface Shot = S.Capture(Parent);
  const uint32_t Frame = FramePixel(GetSysColor(COLOR_WINDOWFRAME));
  struct Spot {
    int X, Y;
    uint32_t Colour;
  };
  const Spot Spots[] = {
      {20, 20, Frame},  {79, 40, Frame},  {50, 59, Frame},  {21, 30, FramePixel(RGB(255, 255, 255))},
      {150, 20, FramePixel(GetSysColor(COLOR_BTNSHADOW))},    {120, 40, FramePixel(GetSysColor(COLOR_BTNSHADOW))},
      {150, 21, FramePixel(GetSysColor(COLOR_3DDKSHADOW))},   {150, 59, FramePixel(GetSysColor(COLOR_BTNHIGHLIGHT))},
      {179, 40, FramePixel(GetSysColor(COLOR_BTNHIGHLIGHT))}, {150, 58, FramePixel(GetSysColor(COLOR_3DLIGHT))},
      {10, 10, FramePixel(Green)},
  };
  for (const Spot& P : Spots) EXPECT_EQ(PixelAt(Shot, P.X, P.Y), P.Colour) << P.X << "," << P.Y;
  if (HasFailure()) vantrel::display::SavePng(Shot, testing::TempDir() + "DefaultFrameChildren.png");
}
