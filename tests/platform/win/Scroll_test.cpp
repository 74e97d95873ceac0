#include <gtest/gtest.h>

#include "platform/display/HeadlessSession.h"
#include "platform/win/GdiInternal.h"
#include "platform/win/Scroll.h"
#include "tests/support/WinPaintProbe.h"

using vantrel::display::HeadlessSession;
using vantrel::test::PaintProbe;
using vantrel::test::PixelAt;
using vantrel::win::PixelOf;
using Painted = PaintProbe::Painted;

namespace {

// A distinct colour for every client pixel, so a moved pixel shows where it came from.
COLORREF Pattern(int X, int Y) { return RGB(X * 4, Y * 4, 100); }

// A 40 x 30 popup painting Pattern, painted once.
struct PatternWindow {
  HeadlessSession S;
  PaintProbe P;
  HWND W;
  PatternWindow() {
    P.OnPaint = [](HWND, HDC Dc) {
      for (int Y = 0; Y < 30; ++Y)
        for (int X = 0; X < 40; ++X) SetPixel(Dc, X, Y, Pattern(X, Y));
    };
    W = P.Create(WS_POPUP | WS_VISIBLE, 0, 0, 40, 30);
    S.PumpUntilIdle();
    P.Log.clear();
    P.Messages().Clear();
  }
};

}  // namespace

TEST(Scroll, ScrollWindowExMovesPixelsAndInvalidatesTheUncoveredStrip) {
  struct Case {
    int DX, DY;
    RECT Strip;
  };
  const Case Cases[] = {{0, -5, {0, 25, 40, 30}}, {0, 7, {0, 0, 40, 7}}, {-3, 0, {37, 0, 40, 30}}, {6, 0, {0, 0, 6, 30}}};
  for (const Case& C : Cases) {
    SCOPED_TRACE(testing::Message() << "by (" << C.DX << ", " << C.DY << ")");
    PatternWindow F;
    HRGN Rgn = CreateRectRgn(0, 0, 0, 0);
    RECT Update{};
    EXPECT_EQ(ScrollWindowEx(F.W, C.DX, C.DY, nullptr, nullptr, Rgn, &Update, SW_INVALIDATE), SIMPLEREGION);
    EXPECT_EQ(Update, C.Strip);
    RECT Box;
    GetRgnBox(Rgn, &Box);
    EXPECT_EQ(Box, C.Strip);
    // Before anything repaints: moved pixels came from (X - DX, Y - DY).
    vantrel::win::Surface* Store = F.S.Manager().BackingStoreOf(F.W);
    for (int Y = 0; Y < 30; ++Y)
      for (int X = 0; X < 40; ++X) {
        if (X >= C.Strip.Left && X < C.Strip.Right && Y >= C.Strip.Top && Y < C.Strip.Bottom) continue;
        ASSERT_EQ(Store->Row(Y)[X] & 0xFFFFFF, PixelOf(Pattern(X - C.DX, Y - C.DY))) << X << "," << Y;
      }
    F.S.PumpUntilIdle();
    EXPECT_EQ(F.P.Log, (std::vector<Painted>{{F.W, C.Strip}}));
    EXPECT_EQ(F.P.Messages().Count(F.W, WM_ERASEBKGND), 0u);
    DeleteObject(Rgn);
  }
}

TEST(Scroll, ScrollAndClipRectanglesLimitWhatChanges) {
  const RECT Scroll{10, 0, 30, 30};
  const RECT Clip{0, 0, 40, 20};
  RECT Update{};
  {
    PatternWindow F;
    ScrollWindowEx(F.W, 0, 4, &Scroll, &Clip, nullptr, &Update, SW_INVALIDATE | SW_ERASE);
    // Only the scroll area moves, and only pixels inside the clip change.
    EXPECT_EQ(Update, (RECT{10, 0, 30, 4}));
    vantrel::win::Surface* Store = F.S.Manager().BackingStoreOf(F.W);
    EXPECT_EQ(Store->Row(10)[15] & 0xFFFFFF, PixelOf(Pattern(15, 6)));
    EXPECT_EQ(Store->Row(10)[5] & 0xFFFFFF, PixelOf(Pattern(5, 10)));    // outside the scroll area
    EXPECT_EQ(Store->Row(25)[15] & 0xFFFFFF, PixelOf(Pattern(15, 25)));  // outside the clip
    F.S.PumpUntilIdle();
    EXPECT_EQ(F.P.Messages().Sequence(F.W, {WM_ERASEBKGND, WM_PAINT}), (std::vector<UINT>{WM_PAINT, WM_ERASEBKGND}));
  }
  // Pixels from outside the clip move in; nothing inside it is left uncovered.
  PatternWindow G;
  EXPECT_EQ(ScrollWindowEx(G.W, 0, -4, &Scroll, &Clip, nullptr, &Update, SW_INVALIDATE), NULLREGION);
  EXPECT_EQ(G.S.Manager().BackingStoreOf(G.W)->Row(17)[15] & 0xFFFFFF, PixelOf(Pattern(15, 21)));
}

TEST(Scroll, WithoutInvalidateTheStripIsOnlyReported) {
  PatternWindow F;
  RECT Update{};
  EXPECT_EQ(ScrollWindowEx(F.W, 0, 3, nullptr, nullptr, nullptr, &Update, 0), SIMPLEREGION);
  EXPECT_EQ(Update, (RECT{0, 0, 40, 3}));
  RECT U;
  EXPECT_FALSE(GetUpdateRect(F.W, &U, FALSE));
  EXPECT_EQ(ScrollWindowEx(F.W, 0, 0, nullptr, nullptr, nullptr, &Update, SW_INVALIDATE), NULLREGION);
  EXPECT_EQ(ScrollWindowEx(reinterpret_cast<HWND>(0x999), 0, 3, nullptr, nullptr, nullptr, nullptr, 0), ERROR);
  EXPECT_EQ(ScrollWindowEx(F.W, 0, 3, nullptr, nullptr, reinterpret_cast<HRGN>(0x999), nullptr, 0), ERROR);
}

TEST(Scroll, ChildrenMoveOnlyWithScrollChildren) {
  for (bool Children : {true, false}) {
    SCOPED_TRACE(Children ? "SW_SCROLLCHILDREN" : "no flag");
    HeadlessSession S;
    PaintProbe P;
    HWND Top = P.Create(WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
    HWND Child = P.Create(WS_CHILD | WS_VISIBLE, 10, 20, 10, 10, Top);
    S.PumpUntilIdle();
    ScrollWindowEx(Top, 5, -10, nullptr, nullptr, nullptr, nullptr, SW_INVALIDATE | (Children ? SW_SCROLLCHILDREN : 0));
    RECT R;
    GetWindowRect(Child, &R);
    EXPECT_EQ(R, Children ? (RECT{15, 10, 25, 20}) : (RECT{10, 20, 20, 30}));
  }
}

TEST(Scroll, ScrollInfoRoundTripsTheMaskedFieldsAndClampsThePosition) {
  HeadlessSession S;
  PaintProbe P;
  HWND W = P.Create(WS_POPUP | WS_VISIBLE, 0, 0, 40, 40);
  SCROLLINFO Si;
  // No bar until one is set.
  Si.fMask = SIF_ALL;
  SetLastError(0);
  EXPECT_FALSE(GetScrollInfo(W, SB_VERT, &Si));
  EXPECT_EQ(GetLastError(), ERROR_NO_SCROLLBARS);

  Si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  Si.nMin = 0;
  Si.nMax = 99;
  Si.nPage = 10;
  Si.nPos = 95;  // past max - page + 1
  EXPECT_EQ(SetScrollInfo(W, SB_VERT, &Si, TRUE), 90);

  struct Case {
    UINT Mask;
    SCROLLINFO Expected;
  };
  const int Unset = -7;
  auto Info = [&](UINT Mask, int Min, int Max, UINT Page, int Pos, int Track) {
    SCROLLINFO R;
    R.fMask = Mask;
    R.nMin = Min;
    R.nMax = Max;
    R.nPage = Page;
    R.nPos = Pos;
    R.nTrackPos = Track;
    return R;
  };
  const Case Cases[] = {
      {SIF_RANGE, Info(SIF_RANGE, 0, 99, 7, Unset, Unset)},
      {SIF_PAGE, Info(SIF_PAGE, Unset, Unset, 10, Unset, Unset)},
      {SIF_POS, Info(SIF_POS, Unset, Unset, 7, 90, Unset)},
      {SIF_TRACKPOS, Info(SIF_TRACKPOS, Unset, Unset, 7, Unset, 90)},
      {SIF_ALL, Info(SIF_ALL, 0, 99, 10, 90, 90)},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(testing::Message() << "mask " << C.Mask);
    SCROLLINFO Got = Info(C.Mask, Unset, Unset, 7, Unset, Unset);
    ASSERT_TRUE(GetScrollInfo(W, SB_VERT, &Got));
    EXPECT_EQ(Got.nMin, C.Expected.nMin);
    EXPECT_EQ(Got.nMax, C.Expected.nMax);
    EXPECT_EQ(Got.nPage, C.Expected.nPage);
    EXPECT_EQ(Got.nPos, C.Expected.nPos);
    EXPECT_EQ(Got.nTrackPos, C.Expected.nTrackPos);
  }

  // The page never exceeds the range; the position follows a smaller range.
  Si.fMask = SIF_PAGE;
  Si.nPage = 500;
  EXPECT_EQ(SetScrollInfo(W, SB_VERT, &Si, FALSE), 0);
  EXPECT_TRUE(SetScrollRange(W, SB_VERT, 5, 20, FALSE));
  int Min = 0, Max = 0;
  EXPECT_TRUE(GetScrollRange(W, SB_VERT, &Min, &Max));
  EXPECT_EQ(Min, 5);
  EXPECT_EQ(Max, 20);
  Si.fMask = SIF_PAGE;
  Si.nPage = 0;
  SetScrollInfo(W, SB_VERT, &Si, FALSE);
  EXPECT_EQ(SetScrollPos(W, SB_VERT, 12, TRUE), 5);
  EXPECT_EQ(GetScrollPos(W, SB_VERT), 12);
  EXPECT_EQ(SetScrollPos(W, SB_VERT, 50, TRUE), 12);
  EXPECT_EQ(GetScrollPos(W, SB_VERT), 20);
  // The other bar is separate.
  EXPECT_FALSE(GetScrollRange(W, SB_HORZ, &Min, &Max));
  EXPECT_EQ(Min, 0);
  EXPECT_EQ(Max, 0);
}

TEST(Scroll, ScrollInfoRefusesBadRequests) {
  HeadlessSession S;
  PaintProbe P;
  HWND W = P.Create(WS_POPUP | WS_VISIBLE | WS_HSCROLL, 0, 0, 40, 40);
  SCROLLINFO Si;
  Si.fMask = SIF_ALL;
  EXPECT_TRUE(GetScrollInfo(W, SB_HORZ, &Si));  // the style brings an empty bar
  EXPECT_EQ(Si.nMax, 0);
  SCROLLINFO Bad = Si;
  Bad.cbSize = 4;
  EXPECT_FALSE(GetScrollInfo(W, SB_HORZ, &Bad));
  EXPECT_EQ(SetScrollInfo(W, SB_HORZ, &Bad, TRUE), 0);
  EXPECT_FALSE(GetScrollInfo(W, SB_CTL, &Si));
  EXPECT_FALSE(GetScrollInfo(reinterpret_cast<HWND>(0x777), SB_HORZ, &Si));
  EXPECT_FALSE(SetScrollRange(W, SB_HORZ, 10, 5, TRUE));
}
