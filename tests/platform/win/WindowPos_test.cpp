#include <gtest/gtest.h>

#include "platform/display/HeadlessSession.h"
#include "platform/win/SysMetrics.h"
#include "tests/support/WinMessageLog.h"

using vantrel::display::HeadlessSession;
using vantrel::test::MessageLog;

namespace {

RECT RectOfWindow(HWND W) {
  RECT R{};
  GetWindowRect(W, &R);
  return R;
}

RECT ClientRectOf(HWND W) {
  RECT R{};
  GetClientRect(W, &R);
  return R;
}

POINT ClientOriginOf(HWND W) {
  POINT P{0, 0};
  ClientToScreen(W, &P);
  return P;
}

// A procedure that keeps a 4-pixel border and a 20-pixel caption for itself.
std::optional<LRESULT> OwnFrame(HWND, UINT Msg, WPARAM WP, LPARAM LP) {
  if (Msg != WM_NCCALCSIZE) return std::nullopt;
  RECT& R = WP ? reinterpret_cast<NCCALCSIZE_PARAMS*>(LP)->rgrc[0] : *reinterpret_cast<RECT*>(LP);
  R = {R.Left + 4, R.Top + 4 + 20, R.Right - 4, R.Bottom - 4};
  return 0;
}

}  // namespace

TEST(WindowPos, TheClientRectangleIsWhatNcCalcSizeReturns) {
  HeadlessSession S;
  MessageLog Log;
  Log.Handler() = OwnFrame;
  HWND W = Log.Create(WS_POPUP, 100, 50, 200, 150);
  EXPECT_EQ(ClientRectOf(W), Rect(0, 0, 192, 122));
  EXPECT_EQ(ClientOriginOf(W), Point(104, 74));
  SetWindowPos(W, nullptr, 0, 0, 300, 100, SWP_NOMOVE | SWP_NOZORDER);  // the wParam TRUE form
  EXPECT_EQ(ClientRectOf(W), Rect(0, 0, 292, 72));
  // A child's client area is placed in its parent's client coordinates.
  HWND C = Log.Create(WS_CHILD, 10, 10, 50, 40, W);
  EXPECT_EQ(ClientOriginOf(C), Point(100 + 4 + 10 + 4, 50 + 24 + 10 + 24));
  EXPECT_EQ(RectOfWindow(C), Rect(114, 84, 164, 124));
}

TEST(WindowPos, TheDefaultFrameFollowsTheStyles) {
  HeadlessSession S;
  MessageLog Log;
  const int Cap = GetSystemMetrics(SM_CYCAPTION);
  struct Case {
    const char* Name;
    DWORD Style, ExStyle;
    RECT Client;  // of a 200 x 100 window
  } Cases[] = {
      {"popup", WS_POPUP, 0, {0, 0, 200, 100}},
      {"border", WS_POPUP | WS_BORDER, 0, {0, 0, 198, 98}},
      {"sizing frame", WS_POPUP | WS_THICKFRAME, 0, {0, 0, 192, 92}},
      {"caption", WS_OVERLAPPED | WS_CAPTION, 0, {0, 0, 198, 98 - Cap}},
      {"overlapped window", WS_OVERLAPPEDWINDOW, 0, {0, 0, 192, 92 - Cap}},
      {"client edge", WS_POPUP, WS_EX_CLIENTEDGE, {0, 0, 196, 96}},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    HWND W = Log.Create(C.Style, 0, 0, 200, 100, nullptr, C.ExStyle);
    EXPECT_EQ(ClientRectOf(W), C.Client);
    // A window too small for its frame has an empty client area, never a negative one.
    SetWindowPos(W, nullptr, 0, 0, 3, 3, SWP_NOMOVE | SWP_NOZORDER | SWP_NOSENDCHANGING);
    RECT R = ClientRectOf(W);
    EXPECT_GE(R.Right, 0);
    EXPECT_GE(R.Bottom, 0);
    DestroyWindow(W);
  }
}

TEST(WindowPos, SetWindowPosChangesWhatEachFlagSaysAndSendsItsMessages) {
  HeadlessSession S;
  MessageLog Log;
  HWND Parent = Log.Create(WS_POPUP | WS_VISIBLE, 0, 0, 400, 400);
  const std::vector<UINT> Watched{WM_WINDOWPOSCHANGING, WM_NCCALCSIZE, WM_WINDOWPOSCHANGED, WM_SIZE, WM_MOVE};
  struct Case {
    const char* Name;
    UINT Flags;
    RECT Expect;  // in the parent's client coordinates, starting from (10, 10, 60, 40)
    bool Visible;
    std::vector<UINT> Messages;
  } Cases[] = {
      {"move and size", 0, {20, 30, 120, 90}, false,
       {WM_WINDOWPOSCHANGING, WM_NCCALCSIZE, WM_WINDOWPOSCHANGED, WM_SIZE, WM_MOVE}},
      {"no size", SWP_NOSIZE, {20, 30, 70, 60}, false, {WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED, WM_MOVE}},
      {"no move", SWP_NOMOVE, {10, 10, 110, 70}, false,
       {WM_WINDOWPOSCHANGING, WM_NCCALCSIZE, WM_WINDOWPOSCHANGED, WM_SIZE}},
      {"nothing", SWP_NOMOVE | SWP_NOSIZE, {10, 10, 60, 40}, false, {WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED}},
      {"frame changed", SWP_NOMOVE | SWP_NOSIZE | SWP_FRAMECHANGED, {10, 10, 60, 40}, false,
       {WM_WINDOWPOSCHANGING, WM_NCCALCSIZE, WM_WINDOWPOSCHANGED}},
      {"no changing", SWP_NOSIZE | SWP_NOSENDCHANGING, {20, 30, 70, 60}, false, {WM_WINDOWPOSCHANGED, WM_MOVE}},
      {"show", SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW, {10, 10, 60, 40}, true,
       {WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED}},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    HWND W = Log.Create(WS_CHILD, 10, 10, 50, 30, Parent);
    Log.Clear();
    ASSERT_TRUE(SetWindowPos(W, nullptr, 20, 30, 100, 60, C.Flags | SWP_NOZORDER));
    POINT P{0, 0};
    MapWindowPoints(Parent, nullptr, &P, 1);
    RECT R = RectOfWindow(W);
    EXPECT_EQ(Rect(R.Left - P.X, R.Top - P.Y, R.Right - P.X, R.Bottom - P.Y), C.Expect);
    EXPECT_EQ(IsWindowVisible(W) != FALSE, C.Visible);
    EXPECT_EQ(Log.Sequence(W, Watched), C.Messages);
    DestroyWindow(W);
  }
  // Hiding.
  HWND W = Log.Create(WS_CHILD | WS_VISIBLE, 10, 10, 50, 30, Parent);
  SetWindowPos(W, nullptr, 0, 0, 0, 0, SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
  EXPECT_FALSE(IsWindowVisible(W));
}

TEST(WindowPos, WindowPosChangingMayRewriteTheRequest) {
  HeadlessSession S;
  MessageLog Log;
  WINDOWPOS Final{};
  Log.Handler() = [&](HWND, UINT Msg, WPARAM, LPARAM LP) -> std::optional<LRESULT> {
    auto* P = reinterpret_cast<WINDOWPOS*>(LP);
    if (Msg == WM_WINDOWPOSCHANGED) Final = *P;
    if (Msg != WM_WINDOWPOSCHANGING) return std::nullopt;
    P->cx = std::min(P->cx, 80);  // a maximum width
    P->flags |= SWP_NOMOVE;       // and no moving
    return 0;
  };
  HWND W = Log.Create(WS_POPUP, 5, 5, 50, 50);
  SetWindowPos(W, nullptr, 100, 100, 300, 60, SWP_NOZORDER);
  EXPECT_EQ(RectOfWindow(W), Rect(5, 5, 85, 65));
  EXPECT_EQ(Final.cx, 80);
  EXPECT_EQ(Final.cy, 60);
  EXPECT_TRUE(Final.flags & SWP_NOMOVE);
  EXPECT_TRUE(Final.flags & SWP_NOCLIENTMOVE);
  EXPECT_FALSE(Final.flags & SWP_NOCLIENTSIZE);
}

TEST(WindowPos, ZOrderFollowsInsertAfterTopmostBandsAndOwners) {
  HeadlessSession S;
  MessageLog Log;
  HWND P = Log.Create(WS_POPUP, 0, 0, 100, 100);
  HWND A = Log.Create(WS_CHILD, 0, 0, 10, 10, P);
  HWND B = Log.Create(WS_CHILD, 0, 0, 10, 10, P);
  HWND C = Log.Create(WS_CHILD, 0, 0, 10, 10, P);
  auto Children = [&] {
    std::vector<HWND> Out;
    for (HWND H = GetWindow(P, GW_CHILD); H; H = GetWindow(H, GW_HWNDNEXT)) Out.push_back(H);
    return Out;
  };
  EXPECT_EQ(Children(), (std::vector<HWND>{A, B, C}));  // creation order, first on top
  SetWindowPos(C, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  EXPECT_EQ(Children(), (std::vector<HWND>{C, A, B}));
  SetWindowPos(C, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  EXPECT_EQ(Children(), (std::vector<HWND>{A, B, C}));
  SetWindowPos(A, B, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);  // just below B
  EXPECT_EQ(Children(), (std::vector<HWND>{B, A, C}));
  SetWindowPos(A, C, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
  EXPECT_EQ(Children(), (std::vector<HWND>{B, A, C}));

  // Top-level windows: new ones on top, topmost ones above the rest, owned ones above
  // their owner; the display stacks its windows the same way.
  HWND X = Log.Create(WS_POPUP, 0, 0, 10, 10);
  HWND Y = Log.Create(WS_POPUP, 0, 0, 10, 10);
  HWND Owned = Log.Create(WS_POPUP, 0, 0, 10, 10, X);
  auto Tops = [&] {
    std::vector<HWND> Out;
    for (HWND H = GetTopWindow(nullptr); H; H = GetWindow(H, GW_HWNDNEXT)) Out.push_back(H);
    return Out;
  };
  EXPECT_EQ(Tops(), (std::vector<HWND>{Owned, Y, X, P}));
  SetWindowPos(P, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  EXPECT_TRUE(GetWindowLongPtr(P, GWL_EXSTYLE) & WS_EX_TOPMOST);
  SetWindowPos(X, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  EXPECT_EQ(Tops(), (std::vector<HWND>{P, Owned, X, Y}));
  EXPECT_EQ(S.Display().Stacking(), Tops());
  SetWindowPos(P, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  EXPECT_FALSE(GetWindowLongPtr(P, GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_EQ(Tops(), (std::vector<HWND>{P, Owned, X, Y}));
  SetWindowPos(Y, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  SetWindowPos(X, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);  // stays below the topmost one
  EXPECT_EQ(Tops(), (std::vector<HWND>{Y, Owned, X, P}));
  EXPECT_EQ(S.Display().Stacking(), Tops());
}

TEST(WindowPos, ShowWindowShowsHidesMaximizesAndRestores) {
  HeadlessSession S;
  MessageLog Log;
  HWND W = Log.Create(WS_OVERLAPPEDWINDOW, 30, 40, 300, 200);
  HWND C = Log.Create(WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, W);
  EXPECT_FALSE(IsWindowVisible(C));  // its parent is hidden
  EXPECT_FALSE(ShowWindow(W, SW_SHOW));
  EXPECT_TRUE(IsWindowVisible(C));
  EXPECT_TRUE(S.Display().Native(W)->Visible);
  EXPECT_EQ(Log.Count(W, WM_SHOWWINDOW), 1u);
  EXPECT_TRUE(ShowWindow(W, SW_SHOW));  // already visible: no message
  EXPECT_EQ(Log.Count(W, WM_SHOWWINDOW), 1u);

  Log.Clear();
  ShowWindow(W, SW_SHOWMAXIMIZED);
  EXPECT_TRUE(IsZoomed(W));
  RECT Work;
  SystemParametersInfo(SPI_GETWORKAREA, 0, &Work, 0);
  const int F = GetSystemMetrics(SM_CXFRAME);
  EXPECT_EQ(RectOfWindow(W), Rect(Work.Left - F, Work.Top - F, Work.Right + F, Work.Bottom + F));
  EXPECT_EQ(S.Display().Native(W)->Rect, RectOfWindow(W));
  auto Size = std::find_if(Log.Messages().begin(), Log.Messages().end(), [](const auto& M) { return M.Msg == WM_SIZE; });
  ASSERT_NE(Size, Log.Messages().end());
  EXPECT_EQ(Size->WParam, SIZE_MAXIMIZED);

  ShowWindow(W, SW_MINIMIZE);
  EXPECT_TRUE(IsIconic(W));
  EXPECT_FALSE(IsZoomed(W));
  ShowWindow(W, SW_RESTORE);
  EXPECT_FALSE(IsIconic(W));
  EXPECT_EQ(RectOfWindow(W), Rect(30, 40, 330, 240));

  Log.Clear();
  EXPECT_TRUE(ShowWindow(W, SW_HIDE));
  EXPECT_FALSE(IsWindowVisible(C));
  EXPECT_FALSE(S.Display().Native(W)->Visible);
  EXPECT_EQ(Log.Sequence(W, {WM_SHOWWINDOW}), (std::vector<UINT>{WM_SHOWWINDOW}));
  EXPECT_EQ(Log.Messages().front().WParam, static_cast<WPARAM>(FALSE));
}

TEST(WindowPos, PointsMapBetweenWindowsClientsAndTheScreen) {
  HeadlessSession S;
  MessageLog Log;
  HWND Top = Log.Create(WS_POPUP | WS_BORDER | WS_VISIBLE, 100, 200, 300, 300);
  HWND Mid = Log.Create(WS_CHILD | WS_VISIBLE, 10, 20, 200, 200, Top);
  HWND Leaf = Log.Create(WS_CHILD | WS_VISIBLE, 5, 5, 50, 50, Mid);
  HWND Hidden = Log.Create(WS_CHILD, 0, 0, 300, 300, Top);
  POINT P{1, 2};
  ClientToScreen(Leaf, &P);
  EXPECT_EQ(P, Point(100 + 1 + 10 + 5 + 1, 200 + 1 + 20 + 5 + 2));
  ScreenToClient(Mid, &P);
  EXPECT_EQ(P, Point(6, 7));
  POINT Pts[2] = {{0, 0}, {3, 4}};
  const int Delta = MapWindowPoints(Leaf, Top, Pts, 2);
  EXPECT_EQ(Pts[1], Point(18, 29));
  EXPECT_EQ(GET_X_LPARAM(Delta), 15);
  EXPECT_EQ(GET_Y_LPARAM(Delta), 25);
  // A rectangle maps by its two corners, between windows and from the screen.
  RECT R = Rect(0, 0, 3, 4);
  EXPECT_EQ(MapWindowRect(Leaf, Top, &R), Delta);
  EXPECT_EQ(R, Rect(15, 25, 18, 29));
  R = Rect(100 + 1 + 10 + 5, 200 + 1 + 20 + 5, 100 + 1 + 10 + 5 + 40, 200 + 1 + 20 + 5 + 30);
  MapWindowRect(HWND_DESKTOP, Leaf, &R);
  EXPECT_EQ(R, Rect(0, 0, 40, 30));
  // A window that is gone: nothing moves, and the error says why.
  HWND Gone = Log.Create(WS_CHILD, 0, 0, 10, 10, Top);
  DestroyWindow(Gone);
  R = Rect(1, 2, 3, 4);
  EXPECT_EQ(MapWindowRect(Gone, Top, &R), 0);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE);
  EXPECT_EQ(R, Rect(1, 2, 3, 4));
  // Hidden windows are not hit; the deepest visible one is.
  EXPECT_EQ(WindowFromPoint({100 + 1 + 10 + 5 + 3, 200 + 1 + 20 + 5 + 3}), Leaf);
  EXPECT_EQ(WindowFromPoint({100 + 1 + 10 + 100, 200 + 1 + 20 + 100}), Mid);
  EXPECT_EQ(WindowFromPoint({100, 200}), Top);  // the border belongs to the window
  EXPECT_EQ(WindowFromPoint({99, 200}), nullptr);
  EnableWindow(Leaf, FALSE);
  EXPECT_EQ(WindowFromPoint({100 + 1 + 10 + 5 + 3, 200 + 1 + 20 + 5 + 3}), Mid);
  (void)Hidden;
}

TEST(WindowPos, SetParentMovesAWindowBetweenTreesAndTheDisplay) {
  HeadlessSession S;
  MessageLog Log;
  HWND A = Log.Create(WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
  HWND B = Log.Create(WS_POPUP | WS_VISIBLE, 200, 0, 100, 100);
  HWND C = Log.Create(WS_CHILD | WS_VISIBLE, 1, 2, 10, 10, A);
  EXPECT_EQ(SetParent(C, B), A);
  EXPECT_TRUE(IsChild(B, C));
  EXPECT_FALSE(IsChild(A, C));
  EXPECT_EQ(RectOfWindow(C), Rect(201, 2, 211, 12));
  EXPECT_EQ(SetParent(B, C), nullptr);  // a window cannot go under its own child
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(SetParent(C, nullptr), B);  // now a top-level window with a native window
  ASSERT_NE(S.Display().Native(C), nullptr);
  EXPECT_TRUE(S.Display().Native(C)->Visible);
  EXPECT_EQ(SetParent(C, A), nullptr);
  EXPECT_EQ(S.Display().Native(C), nullptr);
}

TEST(WindowPos, ADeferredBatchPlacesItsWindowsInOrderWhenItEnds) {
  HeadlessSession S;
  MessageLog Log;
  HWND Parent = Log.Create(WS_POPUP | WS_VISIBLE, 0, 0, 400, 400);
  HWND A = Log.Create(WS_CHILD, 0, 0, 10, 10, Parent);
  HWND B = Log.Create(WS_CHILD, 0, 0, 10, 10, Parent);
  Log.Clear();
  HDWP Batch = BeginDeferWindowPos(2);
  ASSERT_NE(Batch, nullptr);
  Batch = DeferWindowPos(Batch, B, nullptr, 50, 60, 70, 80, SWP_NOZORDER | SWP_NOACTIVATE);
  ASSERT_NE(Batch, nullptr);
  Batch = DeferWindowPos(Batch, A, nullptr, 5, 6, 7, 8, SWP_NOZORDER | SWP_NOACTIVATE);
  ASSERT_NE(Batch, nullptr);
  // Nothing moves before the end.
  EXPECT_EQ(Log.Count(A, WM_WINDOWPOSCHANGED) + Log.Count(B, WM_WINDOWPOSCHANGED), 0u);
  EXPECT_EQ(RectOfWindow(B), Rect(0, 0, 10, 10));
  EXPECT_TRUE(EndDeferWindowPos(Batch));
  EXPECT_EQ(RectOfWindow(B), Rect(50, 60, 120, 140));
  EXPECT_EQ(RectOfWindow(A), Rect(5, 6, 12, 14));
  const auto Order = Log.Trace({WM_WINDOWPOSCHANGED});
  ASSERT_EQ(Order.size(), 2u);
  EXPECT_EQ(Order[0].first, B);
  EXPECT_EQ(Order[1].first, A);
  // An ended batch is gone.
  EXPECT_FALSE(EndDeferWindowPos(Batch));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_DWP_HANDLE);
}

TEST(WindowPos, ADeferredBatchRefusesDeadWindowsAndSkipsOnesDestroyedMeanwhile) {
  HeadlessSession S;
  MessageLog Log;
  HWND Parent = Log.Create(WS_POPUP | WS_VISIBLE, 0, 0, 400, 400);
  HWND A = Log.Create(WS_CHILD, 0, 0, 10, 10, Parent);
  HWND Gone = Log.Create(WS_CHILD, 0, 0, 10, 10, Parent);
  DestroyWindow(Gone);
  EXPECT_EQ(BeginDeferWindowPos(-1), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  // A dead window fails the call and frees the batch.
  HDWP Batch = BeginDeferWindowPos(1);
  EXPECT_EQ(DeferWindowPos(Batch, Gone, nullptr, 1, 1, 1, 1, SWP_NOZORDER), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE);
  EXPECT_FALSE(EndDeferWindowPos(Batch));
  // A window destroyed after it was recorded is skipped; the others still move.
  HWND Later = Log.Create(WS_CHILD, 0, 0, 10, 10, Parent);
  Batch = BeginDeferWindowPos(2);
  Batch = DeferWindowPos(Batch, Later, nullptr, 1, 1, 1, 1, SWP_NOZORDER);
  Batch = DeferWindowPos(Batch, A, nullptr, 30, 30, 10, 10, SWP_NOZORDER);
  DestroyWindow(Later);
  EXPECT_FALSE(EndDeferWindowPos(Batch));
  EXPECT_EQ(RectOfWindow(A), Rect(30, 30, 40, 40));
}
