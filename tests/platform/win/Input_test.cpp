#include <gtest/gtest.h>

#include "platform/display/HeadlessSession.h"
#include "platform/win/Input.h"
#include "platform/win/SysMetrics.h"
#include "platform/win/Timers.h"
#include "tests/support/WinMessageLog.h"

using vantrel::display::HeadlessSession;
using vantrel::test::LoggedMessage;
using vantrel::test::MessageLog;

namespace {

const std::vector<UINT> kButtons = {WM_LBUTTONDOWN,   WM_LBUTTONUP,     WM_LBUTTONDBLCLK, WM_RBUTTONDOWN,
                                    WM_RBUTTONUP,     WM_NCLBUTTONDOWN, WM_NCLBUTTONUP,   WM_NCLBUTTONDBLCLK,
                                    WM_NCRBUTTONDOWN, WM_NCRBUTTONUP};

// The messages of the given kinds that reached Wnd, in order.
std::vector<LoggedMessage> Got(MessageLog& Log, HWND Wnd, const std::vector<UINT>& Only) {
  std::vector<LoggedMessage> Out;
  for (const LoggedMessage& M : Log.Messages())
    if (M.Wnd == Wnd && std::find(Only.begin(), Only.end(), M.Msg) != Only.end()) Out.push_back(M);
  return Out;
}

POINT Pt(LPARAM L) { return {GET_X_LPARAM(L), GET_Y_LPARAM(L)}; }

}  // namespace

TEST(Input, HitCodesRouteNonClientPressesWithTheCodeAndClientPressesInClientCoordinates) {
  HeadlessSession S;
  MessageLog Log;
  // A frame of its own: 20-pixel caption, 5-pixel left border, the rest client area.
  Log.Handler() = [](HWND Wnd, UINT Msg, WPARAM, LPARAM LP) -> std::optional<LRESULT> {
    if (Msg == WM_NCHITTEST) {
      RECT R;
      GetWindowRect(Wnd, &R);
      const int X = GET_X_LPARAM(LP) - R.Left, Y = GET_Y_LPARAM(LP) - R.Top;
      if (Y < 20) return X >= 180 ? HTCLOSE : HTCAPTION;
      if (X < 5) return HTLEFT;
      return HTCLIENT;
    }
    if (Msg == WM_NCLBUTTONDOWN) return 0;  // no move or size loop here
    if (Msg == WM_NCCALCSIZE) {
      RECT& R = *reinterpret_cast<RECT*>(LP);
      R.Top += 20;
      R.Left += 5;
      return 0;
    }
    return std::nullopt;
  };
  HWND W = Log.Create(WS_POPUP | WS_VISIBLE, 100, 100, 200, 150);
  struct Case {
    int X, Y;
    UINT Down;
    WPARAM WParam;  // hit code for non-client messages
    POINT At;       // client or screen point
  } Cases[] = {
      {150, 110, WM_NCLBUTTONDOWN, HTCAPTION, {150, 110}},
      {290, 105, WM_NCLBUTTONDOWN, HTCLOSE, {290, 105}},
      {102, 200, WM_NCLBUTTONDOWN, HTLEFT, {102, 200}},
      {150, 160, WM_LBUTTONDOWN, MK_LBUTTON, {45, 40}},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(testing::Message() << C.X << "," << C.Y);
    Log.Clear();
    S.Press(C.X, C.Y);
    S.Release(C.X, C.Y);
    S.Clock().Advance(1000);  // no double clicks between the cases
    S.PumpUntilIdle();
    const auto M = Got(Log, W, kButtons);
    ASSERT_EQ(M.size(), 2u);
    EXPECT_EQ(M[0].Msg, C.Down);
    EXPECT_EQ(M[0].WParam, C.WParam);
    EXPECT_EQ(Pt(M[0].LParam), C.At);
    EXPECT_EQ(M[1].Msg, C.Down + 1);
  }
}

TEST(Input, TransparentRegionsAndDisabledWindowsLetThePressThrough) {
  HeadlessSession S;
  MessageLog Log;
  HWND Below = Log.Create(WS_POPUP | WS_VISIBLE, 0, 0, 300, 300, nullptr, 0, 0, "below");
  HWND Above = Log.Create(WS_POPUP | WS_VISIBLE, 50, 50, 100, 100, nullptr, 0, 0, "above");
  HWND Child = Log.Create(WS_CHILD | WS_VISIBLE, 200, 200, 50, 50, Below);
  Log.Handler() = [&](HWND Wnd, UINT Msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (Msg == WM_NCHITTEST && Wnd == Above) return HTTRANSPARENT;
    return std::nullopt;
  };
  // The top window answers HTTRANSPARENT: the window below gets the press.
  S.Press(60, 60);
  S.Release(60, 60);
  S.PumpUntilIdle();
  EXPECT_EQ(Log.Count(Above, WM_LBUTTONDOWN), 0u);
  ASSERT_EQ(Got(Log, Below, {WM_LBUTTONDOWN}).size(), 1u);
  EXPECT_EQ(Pt(Got(Log, Below, {WM_LBUTTONDOWN})[0].LParam), Point(60, 60));

  // A disabled child passes the press to its parent.
  EnableWindow(Child, FALSE);
  Log.Clear();
  S.Clock().Advance(1000);
  S.Press(210, 220);
  S.PumpUntilIdle();
  EXPECT_EQ(Log.Count(Child, WM_LBUTTONDOWN), 0u);
  ASSERT_EQ(Got(Log, Below, {WM_LBUTTONDOWN}).size(), 1u);
  EXPECT_EQ(Pt(Got(Log, Below, {WM_LBUTTONDOWN})[0].LParam), Point(210, 220));
  S.Release(210, 220);
  S.PumpUntilIdle();

  // A disabled top-level window takes no press: the cursor question says HTERROR and
  // the default procedure beeps.
  EnableWindow(Below, FALSE);
  Log.Clear();
  S.Press(20, 20);
  S.Release(20, 20);
  S.PumpUntilIdle();
  for (UINT M : kButtons) EXPECT_EQ(Log.Count(Below, M), 0u) << M;
  const auto Cursor = Got(Log, Below, {WM_SETCURSOR});
  ASSERT_FALSE(Cursor.empty());
  EXPECT_EQ(static_cast<SHORT>(LOWORD(Cursor[0].LParam)), HTERROR);
  EXPECT_EQ(HIWORD(Cursor[0].LParam), WM_LBUTTONDOWN);
  EXPECT_EQ(S.Display().Beeps.size(), 1u);
}

TEST(Input, CaptureKeepsMouseMessagesOnTheCapturingWindow) {
  HeadlessSession S;
  MessageLog Log;
  HWND A = Log.Create(WS_POPUP | WS_VISIBLE, 100, 100, 100, 100);
  HWND B = Log.Create(WS_POPUP | WS_VISIBLE, 300, 100, 100, 100);
  EXPECT_EQ(SetCapture(A), nullptr);
  EXPECT_EQ(GetCapture(), A);
  Log.Clear();
  S.Move(350, 150);  // over B
  S.Move(10, 20);    // over nothing
  S.Press(10, 20);
  S.Release(10, 20);
  S.PumpUntilIdle();
  EXPECT_TRUE(Got(Log, B, {WM_MOUSEMOVE, WM_NCMOUSEMOVE, WM_LBUTTONDOWN, WM_SETCURSOR}).empty());
  const auto M = Got(Log, A, {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP});
  ASSERT_EQ(M.size(), 4u);
  EXPECT_EQ(M[0].Msg, static_cast<UINT>(WM_MOUSEMOVE));
  EXPECT_EQ(Pt(M[0].LParam), Point(250, 50));
  EXPECT_EQ(Pt(M[1].LParam), Point(-90, -80));  // outside: negative client coordinates
  EXPECT_EQ(M[2].Msg, static_cast<UINT>(WM_LBUTTONDOWN));
  EXPECT_EQ(M[3].Msg, static_cast<UINT>(WM_LBUTTONUP));

  // Taking the capture away tells the loser who took it; releasing tells it 0.
  Log.Clear();
  EXPECT_EQ(SetCapture(B), A);
  ASSERT_EQ(Got(Log, A, {WM_CAPTURECHANGED}).size(), 1u);
  EXPECT_EQ(Got(Log, A, {WM_CAPTURECHANGED})[0].LParam, reinterpret_cast<LPARAM>(B));
  EXPECT_TRUE(ReleaseCapture());
  ASSERT_EQ(Got(Log, B, {WM_CAPTURECHANGED}).size(), 1u);
  EXPECT_EQ(Got(Log, B, {WM_CAPTURECHANGED})[0].LParam, 0);
  EXPECT_EQ(GetCapture(), nullptr);

  // A destroyed capture window holds nothing any more.
  SetCapture(B);
  DestroyWindow(B);
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST(Input, DoubleClicksNeedTheClassStyleAndTheDoubleClickTime) {
  HeadlessSession S;
  MessageLog Dbl("DblWindow", CS_DBLCLKS);
  MessageLog Plain("PlainWindow");
  HWND D = Dbl.Create(WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
  HWND P = Plain.Create(WS_POPUP | WS_VISIBLE, 200, 0, 100, 100);
  struct Case {
    const char* Name;
    MessageLog* Log;
    HWND Wnd;
    int X;
    int SecondDX;
    uint64_t Gap;
    std::vector<UINT> Expected;
  } Cases[] = {
      {"quick pair", &Dbl, D, 10, 1, 100, {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP}},
      {"too slow", &Dbl, D, 10, 0, GetDoubleClickTime() + 1,
       {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDOWN, WM_LBUTTONUP}},
      {"too far", &Dbl, D, 10, 10, 0, {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDOWN, WM_LBUTTONUP}},
      {"no CS_DBLCLKS", &Plain, P, 210, 0, 0, {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDOWN, WM_LBUTTONUP}},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    S.Clock().Advance(10000);
    C.Log->Clear();
    S.Press(C.X, 10);
    S.Release(C.X, 10);
    S.PumpUntilIdle();
    S.Clock().Advance(C.Gap);
    S.Press(C.X + C.SecondDX, 10);
    S.Release(C.X + C.SecondDX, 10);
    S.PumpUntilIdle();
    EXPECT_EQ(C.Log->Sequence(C.Wnd, kButtons), C.Expected);
  }
  // A third quick click starts over.
  S.Clock().Advance(10000);
  Dbl.Clear();
  for (int I = 0; I < 3; ++I) {
    S.Press(10, 10);
    S.Release(10, 10);
  }
  S.PumpUntilIdle();
  EXPECT_EQ(Dbl.Sequence(D, {WM_LBUTTONDOWN, WM_LBUTTONDBLCLK}),
            (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONDBLCLK, WM_LBUTTONDOWN}));
}

TEST(Input, NonClientDoubleClicksComeWithoutTheClassStyle) {
  HeadlessSession S;
  MessageLog Log;
  Log.Handler() = [](HWND, UINT Msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (Msg == WM_NCHITTEST) return HTCAPTION;
    if (Msg == WM_NCLBUTTONDOWN || Msg == WM_NCLBUTTONDBLCLK) return 0;
    return std::nullopt;
  };
  HWND W = Log.Create(WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
  S.Press(10, 10);
  S.Release(10, 10);
  S.Press(10, 10);
  S.Release(10, 10);
  S.PumpUntilIdle();
  EXPECT_EQ(Log.Sequence(W, kButtons),
            (std::vector<UINT>{WM_NCLBUTTONDOWN, WM_NCLBUTTONUP, WM_NCLBUTTONDBLCLK, WM_NCLBUTTONUP}));
}

TEST(Input, APressOnAChildReachesEveryParentAsParentNotify) {
  HeadlessSession S;
  MessageLog Log;
  HWND Top = Log.Create(WS_POPUP | WS_VISIBLE, 100, 100, 300, 300);
  HWND Mid = Log.Create(WS_CHILD | WS_VISIBLE, 10, 20, 200, 200, Top);
  HWND Leaf = Log.Create(WS_CHILD | WS_VISIBLE, 5, 5, 50, 50, Mid);
  Log.Clear();
  S.Press(120, 130, vantrel::win::rbRight);
  S.PumpUntilIdle();
  const auto Trace = Log.Trace({WM_PARENTNOTIFY, WM_RBUTTONDOWN});
  ASSERT_EQ(Trace.size(), 3u);
  EXPECT_EQ(Trace[0], std::make_pair(Mid, static_cast<UINT>(WM_PARENTNOTIFY)));
  EXPECT_EQ(Trace[1], std::make_pair(Top, static_cast<UINT>(WM_PARENTNOTIFY)));
  EXPECT_EQ(Trace[2], std::make_pair(Leaf, static_cast<UINT>(WM_RBUTTONDOWN)));
  const auto ToMid = Got(Log, Mid, {WM_PARENTNOTIFY});
  const auto ToTop = Got(Log, Top, {WM_PARENTNOTIFY});
  EXPECT_EQ(LOWORD(ToMid[0].WParam), WM_RBUTTONDOWN);
  EXPECT_EQ(Pt(ToMid[0].LParam), Point(10, 10));  // in each parent's own client coordinates
  EXPECT_EQ(Pt(ToTop[0].LParam), Point(20, 30));
  S.Release(120, 130, vantrel::win::rbRight);

  // WS_EX_NOPARENTNOTIFY on the child stops the chain.
  SetWindowLong(Leaf, GWL_EXSTYLE, WS_EX_NOPARENTNOTIFY);
  S.Clock().Advance(1000);
  S.PumpUntilIdle();
  Log.Clear();
  S.Press(120, 130);
  S.PumpUntilIdle();
  EXPECT_TRUE(Log.Trace({WM_PARENTNOTIFY}).empty());
  EXPECT_EQ(Log.Count(Leaf, WM_LBUTTONDOWN), 1u);
}

TEST(Input, ContextMenusComeFromRightClicksShiftF10AndTheMenuKey) {
  HeadlessSession S;
  MessageLog Log;
  HWND Top = Log.Create(WS_POPUP | WS_VISIBLE, 100, 100, 300, 300);
  HWND Child = Log.Create(WS_CHILD | WS_VISIBLE, 10, 10, 100, 100, Top);
  SetFocus(Child);
  const auto Menus = [&] { return Got(Log, Top, {WM_CONTEXTMENU}); };
  Log.Clear();
  S.Press(130, 140, vantrel::win::rbRight);
  S.Release(130, 140, vantrel::win::rbRight);
  S.PumpUntilIdle();
  // The child's default procedure passes it to the parent, naming the child.
  ASSERT_EQ(Menus().size(), 1u);
  EXPECT_EQ(Menus()[0].WParam, reinterpret_cast<WPARAM>(Child));
  EXPECT_EQ(Pt(Menus()[0].LParam), Point(130, 140));  // screen coordinates

  for (auto [Vk, Mods] : {std::pair{VK_F10, MOD_SHIFT}, std::pair{VK_APPS, 0u}}) {
    SCOPED_TRACE(Vk);
    Log.Clear();
    S.Key(static_cast<WORD>(Vk), Mods);
    S.PumpUntilIdle();
    ASSERT_EQ(Menus().size(), 1u);
    EXPECT_EQ(Menus()[0].WParam, reinterpret_cast<WPARAM>(Child));
    EXPECT_EQ(Pt(Menus()[0].LParam), Point(-1, -1));
  }
}

TEST(Input, ClicksActivateUnlessTheWindowAnswersNoActivate) {
  HeadlessSession S;
  MessageLog Log;
  HWND Main = Log.Create(WS_POPUP | WS_VISIBLE, 0, 0, 200, 200);
  HWND Popup = Log.Create(WS_POPUP | WS_VISIBLE, 300, 0, 100, 100, nullptr, 0, 0, "popup");
  HWND Eater = Log.Create(WS_POPUP | WS_VISIBLE, 500, 0, 100, 100, nullptr, 0, 0, "eater");
  Log.Handler() = [&](HWND Wnd, UINT Msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (Msg == WM_MOUSEACTIVATE && Wnd == Popup) return MA_NOACTIVATE;
    if (Msg == WM_MOUSEACTIVATE && Wnd == Eater) return MA_ACTIVATEANDEAT;
    return std::nullopt;
  };
  SetActiveWindow(Main);
  Log.Clear();
  S.Press(310, 10);
  S.Release(310, 10);
  S.PumpUntilIdle();
  EXPECT_EQ(GetActiveWindow(), Main);
  EXPECT_EQ(Log.Count(Popup, WM_LBUTTONDOWN), 1u);
  EXPECT_EQ(Log.Count(Main, WM_ACTIVATE), 0u);
  const auto Ask = Got(Log, Popup, {WM_MOUSEACTIVATE});
  ASSERT_EQ(Ask.size(), 1u);
  EXPECT_EQ(Ask[0].WParam, reinterpret_cast<WPARAM>(Popup));
  EXPECT_EQ(LOWORD(Ask[0].LParam), HTCLIENT);
  EXPECT_EQ(HIWORD(Ask[0].LParam), WM_LBUTTONDOWN);

  // MA_ACTIVATEANDEAT: activated, and the press is dropped.
  S.Press(510, 10);
  S.Release(510, 10);
  S.PumpUntilIdle();
  EXPECT_EQ(GetActiveWindow(), Eater);
  EXPECT_EQ(Log.Count(Eater, WM_LBUTTONDOWN), 0u);

  // The default answer activates with WA_CLICKACTIVE; an active window is not asked.
  Log.Clear();
  S.Press(10, 10);
  S.Release(10, 10);
  S.Press(20, 10);
  S.PumpUntilIdle();
  EXPECT_EQ(GetActiveWindow(), Main);
  EXPECT_EQ(Log.Count(Main, WM_MOUSEACTIVATE), 1u);
  const auto Act = Got(Log, Main, {WM_ACTIVATE});
  ASSERT_EQ(Act.size(), 1u);
  EXPECT_EQ(LOWORD(Act[0].WParam), WA_CLICKACTIVE);
  EXPECT_EQ(Act[0].LParam, reinterpret_cast<LPARAM>(Eater));
}

TEST(Input, TheWheelGoesToTheWindowUnderThePointerAndUpToItsParents) {
  HeadlessSession S;
  MessageLog Log;
  HWND Top = Log.Create(WS_POPUP | WS_VISIBLE, 0, 0, 300, 300);
  HWND Child = Log.Create(WS_CHILD | WS_VISIBLE, 10, 10, 50, 50, Top);
  HWND Other = Log.Create(WS_CHILD | WS_VISIBLE, 100, 100, 50, 50, Top);
  SetFocus(Child);
  Log.Clear();
  S.Wheel(120, 120, -240, MOD_CONTROL);  // over a window without the focus: that one scrolls
  S.PumpUntilIdle();
  EXPECT_EQ(Log.Count(Child, WM_MOUSEWHEEL), 0u);
  const auto ToOther = Got(Log, Other, {WM_MOUSEWHEEL});
  ASSERT_EQ(ToOther.size(), 1u);
  EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(ToOther[0].WParam), -240);
  EXPECT_EQ(GET_KEYSTATE_WPARAM(ToOther[0].WParam), MK_CONTROL);
  EXPECT_EQ(Pt(ToOther[0].LParam), Point(120, 120));
  EXPECT_EQ(Log.Count(Top, WM_MOUSEWHEEL), 1u);  // passed up by the default procedure

  // Over the parent itself only the parent hears it; a window holding the mouse takes it
  // wherever the pointer is.
  Log.Clear();
  S.Wheel(200, 40, 120);
  S.PumpUntilIdle();
  EXPECT_EQ(Log.Count(Top, WM_MOUSEWHEEL), 1u);
  EXPECT_EQ(Log.Count(Child, WM_MOUSEWHEEL) + Log.Count(Other, WM_MOUSEWHEEL), 0u);
  SetCapture(Child);
  Log.Clear();
  S.Wheel(120, 120, 120);
  S.PumpUntilIdle();
  EXPECT_EQ(Log.Count(Child, WM_MOUSEWHEEL), 1u);
  EXPECT_EQ(Log.Count(Other, WM_MOUSEWHEEL), 0u);
  ReleaseCapture();
}

TEST(Input, TheWheelOverAWindowDisabledByAModalOneGoesNowhere) {
  HeadlessSession S;
  MessageLog Log;
  HWND Main = Log.Create(WS_POPUP | WS_VISIBLE, 0, 0, 300, 300);
  HWND List = Log.Create(WS_CHILD | WS_VISIBLE, 10, 10, 100, 100, Main);
  HWND Dialog = Log.Create(WS_POPUP | WS_VISIBLE, 400, 0, 100, 100);
  EnableWindow(Main, FALSE);
  SetFocus(Dialog);
  Log.Clear();
  S.Wheel(50, 50, -120);
  S.PumpUntilIdle();
  EXPECT_EQ(Log.Count(List, WM_MOUSEWHEEL) + Log.Count(Main, WM_MOUSEWHEEL) + Log.Count(Dialog, WM_MOUSEWHEEL), 0u);
}

TEST(Input, TheCursorShapeFollowsTheHitCode) {
  HeadlessSession S;
  MessageLog Log;
  HWND W = Log.Create(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300, 200);
  HCURSOR Beam = LoadCursor(nullptr, IDC_IBEAM);
  SetClassLongPtr(W, GCLP_HCURSOR, reinterpret_cast<LONG_PTR>(Beam));
  struct Case {
    int X, Y;
    LPCSTR Shape;
  } Cases[] = {{101, 200, IDC_SIZEWE},   {200, 299, IDC_SIZENS},  {399, 299, IDC_SIZENWSE},
               {101, 101, IDC_SIZENWSE}, {398, 101, IDC_SIZENESW}, {200, 110, IDC_ARROW},
               {200, 200, IDC_IBEAM}};
  for (const Case& C : Cases) {
    SCOPED_TRACE(testing::Message() << C.X << "," << C.Y);
    S.Move(C.X, C.Y);
    S.PumpUntilIdle();
    EXPECT_EQ(GetCursor(), LoadCursor(nullptr, C.Shape));
    EXPECT_EQ(S.Display().CursorShape, GetCursor());
  }
}

TEST(Input, TrackMouseEventPostsOneLeave) {
  HeadlessSession S;
  MessageLog Log;
  HWND W = Log.Create(WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
  S.Move(50, 50);
  S.PumpUntilIdle();
  TRACKMOUSEEVENT T;
  T.dwFlags = TME_LEAVE;
  T.hwndTrack = W;
  ASSERT_TRUE(TrackMouseEvent(&T));
  TRACKMOUSEEVENT Q;
  Q.dwFlags = TME_QUERY;
  TrackMouseEvent(&Q);
  EXPECT_EQ(Q.hwndTrack, W);
  S.Move(60, 60);
  S.Move(300, 300);
  S.Move(60, 60);
  S.Move(300, 300);
  S.PumpUntilIdle();
  EXPECT_EQ(Log.Count(W, WM_MOUSELEAVE), 1u);

  // Not over the window when asked: the leave comes at once.
  Log.Clear();
  TrackMouseEvent(&T);
  S.PumpUntilIdle();
  EXPECT_EQ(Log.Count(W, WM_MOUSELEAVE), 1u);
}

TEST(Input, SwappedButtonsSwapTheMessagesButNotTheAsyncState) {
  HeadlessSession S;
  MessageLog Log;
  HWND W = Log.Create(WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
  EXPECT_FALSE(SwapMouseButton(TRUE));
  EXPECT_TRUE(vantrel::win::IsMouseButtonSwapped());
  Log.Clear();
  MSG Seen{};
  Log.Handler() = [&](HWND, UINT Msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (Msg == WM_RBUTTONDOWN) {
      Seen.wParam = (GetKeyState(VK_RBUTTON) < 0) | (GetAsyncKeyState(VK_LBUTTON) < 0) << 1;
    }
    return std::nullopt;
  };
  S.Press(10, 10, vantrel::win::rbLeft, MOD_SHIFT);
  S.PumpUntilIdle();
  EXPECT_EQ(Log.Sequence(W, kButtons), std::vector<UINT>{WM_RBUTTONDOWN});
  EXPECT_EQ(Seen.wParam, 3u);  // logical right down, physical left down
  EXPECT_EQ(Got(Log, W, {WM_RBUTTONDOWN})[0].WParam, MK_RBUTTON | MK_SHIFT);
  S.Release(10, 10);
  S.PumpUntilIdle();
  EXPECT_EQ(GetAsyncKeyState(VK_LBUTTON), 0);
  EXPECT_EQ(GetKeyState(VK_RBUTTON) & 0x8000, 0);
  POINT P;
  ASSERT_TRUE(GetCursorPos(&P));
  EXPECT_EQ(P, Point(10, 10));
}
