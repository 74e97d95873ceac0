#include <gtest/gtest.h>

#include <stdexcept>

#include "platform/display/HeadlessSession.h"
#include "platform/win/GdiInternal.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Paint.h"
#include "tests/support/WinPaintProbe.h"

using vantrel::display::HeadlessSession;
using vantrel::test::PaintProbe;
using vantrel::win::PixelOf;
using Painted = PaintProbe::Painted;

namespace {

using vantrel::test::Blue;
using vantrel::test::Green;
using vantrel::test::Red;

bool PaintPending(HeadlessSession& S) { return S.Manager().Queue().PaintPending(); }

}  // namespace

TEST(Paint, InvalidatingPartOfAChildRepaintsOnlyThatPart) {
  HeadlessSession S;
  PaintProbe P;
  HWND Top = P.Create(WS_POPUP | WS_VISIBLE, 10, 10, 200, 100);
  HWND A = P.Create(WS_CHILD | WS_VISIBLE, 10, 10, 50, 40, Top);
  HWND B = P.Create(WS_CHILD | WS_VISIBLE, 100, 10, 50, 40, Top);
  S.PumpUntilIdle();
  // The first paint reaches every window, parents first.
  ASSERT_EQ(P.Log.size(), 3u);
  EXPECT_EQ(P.Log[0].Wnd, Top);

  P.Log.clear();
  const RECT Part{2, 3, 7, 9};
  InvalidateRect(A, &Part, FALSE);
  S.PumpUntilIdle();
  EXPECT_EQ(P.Log, (std::vector<Painted>{{A, Part}}));

  // Two areas of one window come in one WM_PAINT for their bounding box.
  P.Log.clear();
  const RECT R1{0, 0, 5, 5}, R2{20, 30, 25, 35};
  InvalidateRect(B, &R1, FALSE);
  InvalidateRect(B, &R2, FALSE);
  S.PumpUntilIdle();
  EXPECT_EQ(P.Log, (std::vector<Painted>{{B, RECT{0, 0, 25, 35}}}));
  EXPECT_FALSE(PaintPending(S));
}

TEST(Paint, ParentInvalidationReachesChildrenUnlessItClipsThem) {
  struct Case {
    DWORD ParentStyle;
    UINT Flags;
    bool ChildPainted;
    const char* What;
  };
  const Case Cases[] = {
      {0, RDW_INVALIDATE, true, "a parent without WS_CLIPCHILDREN repaints the children under the area"},
      {WS_CLIPCHILDREN, RDW_INVALIDATE, false, "WS_CLIPCHILDREN keeps the children out"},
      {WS_CLIPCHILDREN, RDW_INVALIDATE | RDW_ALLCHILDREN, true, "RDW_ALLCHILDREN takes them in"},
      {0, RDW_INVALIDATE | RDW_NOCHILDREN, false, "RDW_NOCHILDREN leaves them out"},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.What);
    HeadlessSession S;
    PaintProbe P;
    HWND Top = P.Create(WS_POPUP | WS_VISIBLE | C.ParentStyle, 0, 0, 100, 100);
    HWND Under = P.Create(WS_CHILD | WS_VISIBLE, 10, 10, 20, 20, Top);
    HWND Away = P.Create(WS_CHILD | WS_VISIBLE, 60, 60, 20, 20, Top);
    S.PumpUntilIdle();
    P.Log.clear();
    const RECT Area{0, 0, 40, 40};
    RedrawWindow(Top, &Area, nullptr, C.Flags);
    S.PumpUntilIdle();
    EXPECT_EQ(P.PaintedOf(Top), (std::vector<Painted>{{Top, Area}}));
    // The child's part of the area, in its own coordinates.
    std::vector<Painted> Expected;
    if (C.ChildPainted) Expected.push_back({Under, RECT{0, 0, 20, 20}});
    EXPECT_EQ(P.PaintedOf(Under), Expected);
    EXPECT_TRUE(P.PaintedOf(Away).empty());
  }
}

TEST(Paint, ClipChildrenKeepsAParentFromPaintingOverItsChildren) {
  HeadlessSession S;
  PaintProbe P;
  HWND Top = P.Create(WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 60, 40);
  HWND Child = P.Create(WS_CHILD | WS_VISIBLE, 10, 10, 20, 10, Top);
  P.Client[Top] = Red;
  P.Client[Child] = Blue;
  S.PumpUntilIdle();
  P.Log.clear();
  InvalidateRect(Top, nullptr, TRUE);
  vantrel::win::Surface Shot = S.Capture(Top);
  EXPECT_EQ(P.PaintedOf(Child).size(), 0u);  // the child was not repainted...
  vantrel::test::ExpectPixels(Shot,
                              {{5, 5, PixelOf(Red), "parent"},
                               {15, 15, PixelOf(Blue), "child kept its pixels"},
                               {29, 19, PixelOf(Blue), "child's last pixel"},
                               {30, 20, PixelOf(Red), "parent just past the child"}},
                              "clip_children");
}

TEST(Paint, NcPaintEraseAndPaintComeInOrderAndOnlyWhenDue) {
  struct Case {
    UINT Flags;
    std::vector<UINT> Expected;
    const char* What;
  };
  // WM_ERASEBKGND comes from BeginPaint, inside WM_PAINT.
  const Case Cases[] = {
      {RDW_INVALIDATE | RDW_FRAME | RDW_ERASE, {WM_NCPAINT, WM_PAINT, WM_ERASEBKGND}, "frame, paint and erase"},
      {RDW_INVALIDATE | RDW_ERASE, {WM_PAINT, WM_ERASEBKGND}, "no frame without RDW_FRAME"},
      {RDW_INVALIDATE, {WM_PAINT}, "no erase without RDW_ERASE"},
      {RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW, {WM_NCPAINT, WM_PAINT}, "RDW_UPDATENOW"},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.What);
    HeadlessSession S;
    PaintProbe P;
    HWND W = P.Create(WS_POPUP | WS_BORDER | WS_VISIBLE, 0, 0, 50, 50);
    S.PumpUntilIdle();
    P.Messages().Clear();
    RedrawWindow(W, nullptr, nullptr, C.Flags);
    if (C.Flags & RDW_UPDATENOW) {
      // Painted before RedrawWindow returns.
      EXPECT_EQ(P.Messages().Sequence(W, {WM_NCPAINT, WM_ERASEBKGND, WM_PAINT}), C.Expected);
      EXPECT_FALSE(PaintPending(S));
    }
    S.PumpUntilIdle();
    EXPECT_EQ(P.Messages().Sequence(W, {WM_NCPAINT, WM_ERASEBKGND, WM_PAINT}), C.Expected);
  }
}

TEST(Paint, UpdateWindowPaintsTheWindowAndItsChildrenAtOnce) {
  HeadlessSession S;
  PaintProbe P;
  HWND Top = P.Create(WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
  HWND Child = P.Create(WS_CHILD | WS_VISIBLE, 10, 10, 20, 20, Top);
  UpdateWindow(Top);
  EXPECT_EQ(P.Log, (std::vector<Painted>{{Top, RECT{0, 0, 100, 100}}, {Child, RECT{0, 0, 20, 20}}}));
  EXPECT_FALSE(PaintPending(S));
  P.Log.clear();
  UpdateWindow(Top);  // nothing due: nothing sent
  EXPECT_TRUE(P.Log.empty());
}

TEST(Paint, AHandlerThatThrowsOrIgnoresThePaintDoesNotRepaintForever) {
  struct Case {
    bool BeginFirst;
    bool Throw;
    const char* What;
  };
  const Case Cases[] = {
      {true, true, "throws between BeginPaint and EndPaint"},
      {false, true, "throws before BeginPaint"},
      {false, false, "returns without painting"},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.What);
    HeadlessSession S;
    vantrel::test::MessageLog Log;
    int Paints = 0;
    Log.Handler() = [&](HWND Wnd, UINT Msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
      if (Msg != WM_PAINT) return std::nullopt;
      ++Paints;
      PAINTSTRUCT Ps;
      if (C.BeginFirst) BeginPaint(Wnd, &Ps);
      if (C.Throw) throw std::runtime_error("paint failed");
      return 0;
    };
    HWND W = Log.Create(WS_POPUP | WS_VISIBLE, 0, 0, 30, 30);
    ReleaseDC(W, GetDC(W));  // stock objects are made on first use: count after them
    const size_t Objects = vantrel::win::GdiObjectCount();
    if (C.Throw)
      EXPECT_THROW(S.PumpUntilIdle(), std::runtime_error);
    else
      S.PumpUntilIdle();
    S.PumpUntilIdle();
    EXPECT_EQ(Paints, 1);
    EXPECT_FALSE(PaintPending(S));
    EXPECT_EQ(vantrel::win::GdiObjectCount(), Objects);  // the paint's DC was released
    RECT U;
    EXPECT_FALSE(GetUpdateRect(W, &U, FALSE));
  }
}

TEST(Paint, ValidationAndTheUpdateRectangle) {
  HeadlessSession S;
  PaintProbe P;
  HWND W = P.Create(WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
  S.PumpUntilIdle();
  P.Log.clear();
  RECT U;
  EXPECT_FALSE(GetUpdateRect(W, &U, FALSE));
  const RECT A{10, 10, 20, 20}, B{50, 60, 70, 80};
  InvalidateRect(W, &A, FALSE);
  InvalidateRect(W, &B, FALSE);
  ASSERT_TRUE(GetUpdateRect(W, &U, FALSE));
  EXPECT_EQ(U, (RECT{10, 10, 70, 80}));
  ValidateRect(W, &B);
  ASSERT_TRUE(GetUpdateRect(W, &U, FALSE));
  EXPECT_EQ(U, A);
  // A DC in WParam is painted into by the caller: the update region stays.
  HDC Mem = CreateCompatibleDC(nullptr);
  DefWindowProc(W, WM_PAINT, reinterpret_cast<WPARAM>(Mem), 0);
  DeleteDC(Mem);
  EXPECT_TRUE(GetUpdateRect(W, &U, FALSE));
  ValidateRect(W, nullptr);
  EXPECT_FALSE(GetUpdateRect(W, &U, FALSE));
  S.PumpUntilIdle();
  EXPECT_TRUE(P.Log.empty());
  // Bad handles fail.
  EXPECT_FALSE(InvalidateRect(reinterpret_cast<HWND>(0x12345), nullptr, TRUE));
  EXPECT_FALSE(InvalidateRgn(W, reinterpret_cast<HRGN>(0x12345), TRUE));
}

TEST(Paint, MovingOrHidingAChildRepaintsWhatItUncovers) {
  HeadlessSession S;
  PaintProbe P;
  HWND Top = P.Create(WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 100, 100);
  HWND Child = P.Create(WS_CHILD | WS_VISIBLE, 10, 10, 20, 20, Top);
  P.Client[Top] = Red;
  P.Client[Child] = Blue;
  S.PumpUntilIdle();
  P.Log.clear();
  MoveWindow(Child, 50, 10, 20, 20, TRUE);
  S.PumpUntilIdle();
  EXPECT_EQ(P.PaintedOf(Top), (std::vector<Painted>{{Top, RECT{10, 10, 30, 30}}}));
  EXPECT_EQ(P.PaintedOf(Child), (std::vector<Painted>{{Child, RECT{0, 0, 20, 20}}}));
  vantrel::test::ExpectPixels(S.Capture(Top),
                              {{15, 15, PixelOf(Red), "old place"}, {55, 15, PixelOf(Blue), "new place"}},
                              "moved_child");
  P.Log.clear();
  ShowWindow(Child, SW_HIDE);
  S.PumpUntilIdle();
  EXPECT_EQ(P.Log, (std::vector<Painted>{{Top, RECT{50, 10, 70, 30}}}));
  EXPECT_EQ(vantrel::test::PixelAt(S.Capture(Top), 55, 15), PixelOf(Red));
}

TEST(Paint, TransparentChildIsPaintedAfterTheSiblingsBelowIt) {
  HeadlessSession S;
  PaintProbe P;
  HWND Top = P.Create(WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
  // Created first, so on top of its later siblings; it still paints last.
  HWND Glass = P.Create(WS_CHILD | WS_VISIBLE, 0, 0, 60, 60, Top, WS_EX_TRANSPARENT);
  HWND Below1 = P.Create(WS_CHILD | WS_VISIBLE, 0, 0, 30, 30, Top);
  HWND Below2 = P.Create(WS_CHILD | WS_VISIBLE, 30, 30, 30, 30, Top);
  S.PumpUntilIdle();
  ASSERT_EQ(P.Log.size(), 4u);
  EXPECT_EQ(P.Log[0].Wnd, Top);
  EXPECT_EQ(P.Log[3].Wnd, Glass);
  EXPECT_NE(P.Log[1].Wnd, Glass);
  (void)Below1;
  (void)Below2;
}

TEST(Paint, ClassBackgroundBrushErasesThroughDefWindowProc) {
  HeadlessSession S;
  PaintProbe P;
  P.EraseHandled = false;  // DefWindowProc erases
  HWND W = P.Create(WS_POPUP | WS_VISIBLE, 0, 0, 20, 20);
  HBRUSH Brush = CreateSolidBrush(Green);
  SetClassLongPtr(W, GCLP_HBRBACKGROUND, reinterpret_cast<LONG_PTR>(Brush));
  InvalidateRect(W, nullptr, TRUE);
  EXPECT_EQ(vantrel::test::PixelAt(S.Capture(W), 10, 10), PixelOf(Green));
  SetClassLongPtr(W, GCLP_HBRBACKGROUND, 0);
  DeleteObject(Brush);
}

TEST(Paint, PaintMessagesComeAfterPostedOnesAndOnlyForAFilterThatTakesThem) {
  HeadlessSession S;
  PaintProbe P;
  HWND W = P.Create(WS_POPUP | WS_VISIBLE, 0, 0, 20, 20);
  S.PumpUntilIdle();
  InvalidateRect(W, nullptr, FALSE);
  PostMessage(W, WM_USER, 0, 0);
  MSG M;
  EXPECT_FALSE(PeekMessage(&M, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE));
  ASSERT_TRUE(PeekMessage(&M, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(M.message, WM_USER);
  for (int I = 0; I < 2; ++I) {  // not removed: still there
    ASSERT_TRUE(PeekMessage(&M, W, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(M.message, WM_PAINT);
  }
  ASSERT_TRUE(PeekMessage(&M, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE));
  EXPECT_EQ(M.hwnd, W);
  DispatchMessage(&M);
  EXPECT_EQ(P.PaintedOf(W).size(), 2u);
  EXPECT_FALSE(PeekMessage(&M, nullptr, 0, 0, PM_REMOVE));
}

TEST(Paint, AFrameThatInvalidatesItselfForeverIsReportedInsteadOfHanging) {
  HeadlessSession S;
  vantrel::test::MessageLog Log;
  Log.Handler() = [](HWND Wnd, UINT Msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (Msg == WM_NCPAINT) RedrawWindow(Wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME);
    return std::nullopt;
  };
  Log.Create(WS_POPUP | WS_BORDER | WS_VISIBLE, 0, 0, 20, 20);
  EXPECT_THROW(S.PumpUntilIdle(), vantrel::display::EHeadlessStall);
}
