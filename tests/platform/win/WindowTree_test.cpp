#include <gtest/gtest.h>

#include <set>

#include "platform/display/HeadlessSession.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Timers.h"
#include "tests/support/WinMessageLog.h"

using vantrel::display::HeadlessSession;
using vantrel::test::MessageLog;

TEST(WindowTree, CreationAndDestructionMessagesComeInTreeOrder) {
  HeadlessSession S;
  MessageLog Log;
  const std::vector<UINT> Watched{WM_NCCREATE, WM_CREATE, WM_PARENTNOTIFY, WM_DESTROY, WM_NCDESTROY};
  HWND Top = Log.Create(WS_OVERLAPPEDWINDOW, 10, 10, 300, 200);
  HWND B = Log.Create(WS_CHILD | WS_VISIBLE, 0, 0, 100, 100, Top, 0, 5);
  HWND C = Log.Create(WS_CHILD, 0, 0, 50, 50, B, 0, 6);
  HWND D = Log.Create(WS_CHILD, 0, 0, 50, 50, Top, WS_EX_NOPARENTNOTIFY, 7);
  HWND Owned = Log.Create(WS_POPUP, 0, 0, 50, 50, B);  // owned by Top, B's top-level
  using P = std::pair<HWND, UINT>;
  EXPECT_EQ(Log.Trace(Watched),
            (std::vector<P>{{Top, WM_NCCREATE}, {Top, WM_CREATE},
                            {B, WM_NCCREATE}, {B, WM_CREATE}, {Top, WM_PARENTNOTIFY},
                            {C, WM_NCCREATE}, {C, WM_CREATE}, {B, WM_PARENTNOTIFY},
                            {D, WM_NCCREATE}, {D, WM_CREATE},
                            {Owned, WM_NCCREATE}, {Owned, WM_CREATE}}));
  // WM_PARENTNOTIFY carries the event and the child's id, and the child.
  const auto& First = *std::find_if(Log.Messages().begin(), Log.Messages().end(),
                                    [](const auto& M) { return M.Msg == WM_PARENTNOTIFY; });
  EXPECT_EQ(LOWORD(First.WParam), WM_CREATE);
  EXPECT_EQ(HIWORD(First.WParam), 5);
  EXPECT_EQ(reinterpret_cast<HWND>(First.LParam), B);
  EXPECT_EQ(GetWindow(Owned, GW_OWNER), Top);
  EXPECT_EQ(GetParent(Owned), Top);  // a popup's parent is its owner

  Log.Clear();
  ASSERT_TRUE(DestroyWindow(Top));
  // The owned window goes first, completely. Then WM_DESTROY reaches the window and
  // its children, parents first; WM_NCDESTROY ends each child before its parent. No
  // child notifies a parent that is being destroyed.
  EXPECT_EQ(Log.Trace(Watched), (std::vector<P>{{Owned, WM_DESTROY}, {Owned, WM_NCDESTROY},
                                               {Top, WM_DESTROY}, {B, WM_DESTROY},
                                               {C, WM_DESTROY}, {D, WM_DESTROY},
                                               {C, WM_NCDESTROY}, {B, WM_NCDESTROY},
                                               {D, WM_NCDESTROY}, {Top, WM_NCDESTROY}}));
  for (HWND H : {Top, B, C, D, Owned}) EXPECT_FALSE(IsWindow(H));
}

TEST(WindowTree, WMDestroyFindsTheWholeTreeAndWMNCDestroyFindsTheParent) {
  HeadlessSession S;
  MessageLog Log;
  HWND Top = Log.Create(WS_OVERLAPPED, 0, 0, 100, 100);
  HWND Child = Log.Create(WS_CHILD, 0, 0, 10, 10, Top);
  HWND Grandchild = Log.Create(WS_CHILD, 0, 0, 5, 5, Child);
  HWND Owned = Log.Create(WS_POPUP, 0, 0, 10, 10, Top);
  std::vector<std::string> Seen;
  Log.Handler() = [&](HWND W, UINT Msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (Msg == WM_DESTROY && W == Top)
      Seen.push_back(std::string("top destroy: owned ") + (IsWindow(Owned) ? "alive" : "gone") + ", child " +
                     (GetWindow(Top, GW_CHILD) == Child ? "alive" : "gone") + ", grandchild " +
                     (IsWindow(Grandchild) ? "alive" : "gone"));
    if (Msg == WM_NCDESTROY && W == Grandchild)
      Seen.push_back(std::string("grandchild ncdestroy: child ") + (IsWindow(Child) ? "alive" : "gone") +
                     ", parent " + (GetParent(Grandchild) == Child ? "linked" : "unlinked"));
    if (Msg == WM_NCDESTROY && W == Top)
      Seen.push_back(std::string("top ncdestroy: child ") + (IsWindow(Child) ? "alive" : "gone"));
    return std::nullopt;
  };
  ASSERT_TRUE(DestroyWindow(Top));
  EXPECT_EQ(Seen, (std::vector<std::string>{"top destroy: owned gone, child alive, grandchild alive",
                                            "grandchild ncdestroy: child alive, parent linked",
                                            "top ncdestroy: child gone"}));
}

TEST(WindowTree, AChildThatDestroysItsParentWhileDyingEndsOnce) {
  HeadlessSession S;
  MessageLog Log;
  HWND Top = Log.Create(WS_OVERLAPPED, 0, 0, 100, 100);
  HWND Child = Log.Create(WS_CHILD, 0, 0, 10, 10, Top);
  HWND Other = Log.Create(WS_CHILD, 0, 0, 10, 10, Top);
  Log.Handler() = [&](HWND W, UINT Msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (W == Child && (Msg == WM_DESTROY || Msg == WM_NCDESTROY)) DestroyWindow(Top);
    return std::nullopt;
  };
  Log.Clear();
  EXPECT_TRUE(DestroyWindow(Child));
  using P = std::pair<HWND, UINT>;
  EXPECT_EQ(Log.Trace({WM_DESTROY, WM_NCDESTROY}),
            (std::vector<P>{{Child, WM_DESTROY}, {Top, WM_DESTROY}, {Other, WM_DESTROY},
                            {Child, WM_NCDESTROY}, {Other, WM_NCDESTROY}, {Top, WM_NCDESTROY}}));
  for (HWND H : {Top, Child, Other}) EXPECT_FALSE(IsWindow(H));
}

TEST(WindowTree, DestroyingAChildNotifiesItsParentFirst) {
  HeadlessSession S;
  MessageLog Log;
  HWND Top = Log.Create(WS_OVERLAPPED, 0, 0, 100, 100);
  HWND Child = Log.Create(WS_CHILD, 0, 0, 10, 10, Top, 0, 9);
  Log.Clear();
  DestroyWindow(Child);
  using P = std::pair<HWND, UINT>;
  EXPECT_EQ(Log.Trace({WM_PARENTNOTIFY, WM_DESTROY, WM_NCDESTROY}),
            (std::vector<P>{{Top, WM_PARENTNOTIFY}, {Child, WM_DESTROY}, {Child, WM_NCDESTROY}}));
  EXPECT_EQ(LOWORD(Log.Messages().front().WParam), WM_DESTROY);
  EXPECT_EQ(GetWindow(Top, GW_CHILD), nullptr);
}

TEST(WindowTree, CreationFailsWhenTheProcedureRefusesOrTheRequestIsWrong) {
  HeadlessSession S;
  MessageLog Log;
  Log.Handler() = [](HWND, UINT Msg, WPARAM, LPARAM L) -> std::optional<LRESULT> {
    auto* CS = reinterpret_cast<CREATESTRUCT*>(L);
    if (Msg == WM_CREATE && std::string(CS->lpszName) == "refuse") return -1;
    if (Msg == WM_NCCREATE && std::string(CS->lpszName) == "refuse-nc") return FALSE;
    return std::nullopt;
  };
  EXPECT_EQ(Log.Create(WS_OVERLAPPED, 0, 0, 10, 10, nullptr, 0, 0, "refuse"), nullptr);
  EXPECT_EQ(Log.Count(Log.Messages().back().Wnd, WM_NCDESTROY), 1u);  // a refused window is torn down
  EXPECT_EQ(Log.Create(WS_OVERLAPPED, 0, 0, 10, 10, nullptr, 0, 0, "refuse-nc"), nullptr);
  EXPECT_EQ(Log.Create(WS_CHILD, 0, 0, 10, 10, nullptr), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_TLW_WITH_WSCHILD);
  EXPECT_EQ(CreateWindowEx(0, "NoSuchClass", "", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_CANNOT_FIND_WND_CLASS);
  EXPECT_TRUE(S.Manager().TopLevels().empty());
}

TEST(WindowTree, ADestroyedHandleIsInvalidEverywhereAndNeverReused) {
  HeadlessSession S;
  MessageLog Log;
  std::set<HWND> Seen;
  HWND Old = nullptr;
  for (int I = 0; I < 50; ++I) {
    HWND W = Log.Create(WS_OVERLAPPED, 0, 0, 10, 10);
    ASSERT_TRUE(Seen.insert(W).second) << "handle reused";
    DestroyWindow(W);
    Old = W;
  }
  EXPECT_FALSE(IsWindow(Old));
  SetLastError(0);
  EXPECT_EQ(GetWindowLongPtr(Old, GWL_STYLE), 0);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE);
  EXPECT_EQ(SendMessage(Old, WM_USER, 0, 0), 0);
  EXPECT_FALSE(PostMessage(Old, WM_USER, 0, 0));
  EXPECT_FALSE(DestroyWindow(Old));
  EXPECT_FALSE(ShowWindow(Old, SW_SHOW));
  RECT R;
  EXPECT_FALSE(GetWindowRect(Old, &R));
  EXPECT_FALSE(SetTimer(Old, 1, 100, nullptr));
  EXPECT_EQ(CreateWindowEx(0, Log.ClassName().c_str(), "", WS_CHILD, 0, 0, 1, 1, Old, nullptr, nullptr, nullptr),
            nullptr);
  // A message posted before the window died is dropped by DispatchMessage.
  HWND W = Log.Create(WS_OVERLAPPED, 0, 0, 10, 10);
  PostMessage(W, WM_USER + 5, 0, 0);
  DestroyWindow(W);
  Log.Clear();
  S.PumpUntilIdle();
  EXPECT_TRUE(Log.Messages().empty());
}

TEST(WindowTree, HandlersThatDestroyWindowsDuringDestructionDoNoHarm) {
  HeadlessSession S;
  MessageLog Log;
  HWND Top = Log.Create(WS_OVERLAPPED, 0, 0, 100, 100);
  HWND A = Log.Create(WS_CHILD, 0, 0, 10, 10, Top);
  HWND B = Log.Create(WS_CHILD, 0, 0, 10, 10, Top);
  Log.Handler() = [&](HWND W, UINT Msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (Msg == WM_DESTROY && W == A) {
      DestroyWindow(B);    // a sibling still waiting its turn
      DestroyWindow(Top);  // the window under destruction: ignored
      DestroyWindow(A);
    }
    return std::nullopt;
  };
  EXPECT_TRUE(DestroyWindow(Top));
  for (HWND H : {Top, A, B}) {
    EXPECT_FALSE(IsWindow(H));
    EXPECT_EQ(Log.Count(H, WM_NCDESTROY), 1u);
  }
}

TEST(WindowTree, SubclassingWithAProcedureObjectCallsTheOldProcedure) {
  HeadlessSession S;
  MessageLog Log;
  HWND W = Log.Create(WS_OVERLAPPED, 0, 0, 100, 100, nullptr, 0, 0, "plain");
  WNDPROC Old = nullptr;
  std::vector<UINT> Hooked;
  WNDPROC Hook = MakeObjectInstance([&](TMessage& M) {
    Hooked.push_back(M.Msg);
    if (M.Msg == WM_SETTEXT) {  // change what the old procedure stores
      std::string T = reinterpret_cast<const char*>(M.LParam);
      T += "!";
      M.Result = CallWindowProc(Old, W, M.Msg, M.WParam, reinterpret_cast<LPARAM>(T.c_str()));
      return;
    }
    M.Result = CallWindowProc(Old, W, M.Msg, M.WParam, M.LParam);
  });
  Old = LongToWndProc(SetWindowLongPtr(W, GWL_WNDPROC, WndProcToLong(Hook)));
  ASSERT_NE(Old, nullptr);
  EXPECT_EQ(LongToWndProc(GetWindowLongPtr(W, GWL_WNDPROC)), Hook);
  // The LONG form refuses to cut a pointer.
  SetLastError(0);
  EXPECT_EQ(GetWindowLong(W, GWL_WNDPROC), 0);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_INDEX);

  Log.Clear();
  SetWindowText(W, "hooked");
  EXPECT_EQ(GetWindowText(W), "hooked!");
  EXPECT_EQ(Hooked.front(), WM_SETTEXT);
  EXPECT_EQ(Log.Sequence(W).front(), WM_SETTEXT);  // the old procedure still ran

  // Freeing an installed object is refused; once removed it frees, and a stale pointer
  // is called harmlessly.
  EXPECT_THROW(FreeObjectInstance(Hook), EInvalidOperation);
  SetWindowLongPtr(W, GWL_WNDPROC, WndProcToLong(Old));
  FreeObjectInstance(Hook);
  SetLastError(0);
  EXPECT_EQ(CallWindowProc(Hook, W, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("x")), 0);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(GetWindowText(W), "hooked!");
  EXPECT_EQ(SetWindowLongPtr(W, GWL_WNDPROC, WndProcToLong(Hook)), 0);  // not installable any more
}

TEST(WindowTree, AHookMayUnhookAndFreeItselfWhileItRuns) {
  HeadlessSession S;
  MessageLog Log;
  HWND W = Log.Create(WS_OVERLAPPED, 0, 0, 100, 100);
  WNDPROC Old = nullptr;
  WNDPROC Hook = nullptr;
  int Calls = 0;
  Hook = MakeWndProcInstance([&](HWND H, UINT Msg, WPARAM WP, LPARAM LP) -> LRESULT {
    ++Calls;
    if (Msg == WM_USER) {
      SetWindowLongPtr(H, GWL_WNDPROC, WndProcToLong(Old));
      FreeObjectInstance(Hook);  // deleted once this call returns
    }
    return CallWindowProc(Old, H, Msg, WP, LP);
  });
  Old = LongToWndProc(SetWindowLongPtr(W, GWL_WNDPROC, WndProcToLong(Hook)));
  SendMessage(W, WM_USER, 0, 0);
  SendMessage(W, WM_USER + 1, 0, 0);
  EXPECT_EQ(Calls, 1);
  EXPECT_EQ(Log.Count(W, WM_USER + 1), 1u);
}

TEST(WindowTree, AHandlerThatThrowsLeavesNoHalfMadeOrHalfDestroyedWindow) {
  HeadlessSession S;
  MessageLog Log;
  bool ThrowOnCreate = true;
  Log.Handler() = [&](HWND, UINT Msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (Msg == WM_CREATE && ThrowOnCreate) throw EInvalidOperation("create failed");
    if (Msg == WM_DESTROY) throw EInvalidOperation("destroy failed");
    return std::nullopt;
  };
  EXPECT_THROW(Log.Create(WS_POPUP, 0, 0, 10, 10), EInvalidOperation);
  EXPECT_TRUE(S.Manager().TopLevels().empty());
  ThrowOnCreate = false;
  HWND Top = Log.Create(WS_POPUP, 0, 0, 10, 10);
  HWND Child = Log.Create(WS_CHILD, 0, 0, 5, 5, Top);
  EXPECT_THROW(DestroyWindow(Top), EInvalidOperation);
  EXPECT_FALSE(IsWindow(Top));
  EXPECT_FALSE(IsWindow(Child));
  EXPECT_EQ(Log.Count(Top, WM_NCDESTROY), 1u);
  EXPECT_EQ(Log.Count(Child, WM_NCDESTROY), 1u);
}
