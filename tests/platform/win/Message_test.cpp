#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "platform/display/HeadlessSession.h"
#include "platform/rtl/Threads.h"
#include "platform/win/MessageQueue.h"
#include "tests/support/WinMessageLog.h"

using vantrel::display::HeadlessSession;
using vantrel::test::MessageLog;

namespace {

constexpr UINT WM_PING = WM_USER + 1;
constexpr UINT WM_PONG = WM_USER + 2;
constexpr UINT WM_DONE = WM_USER + 3;

// Runs GetMessage/DispatchMessage until a message Last arrives (dispatching it too).
void LoopUntil(UINT Last) {
  MSG M;
  while (GetMessage(&M, nullptr, 0, 0) > 0) {
    TranslateMessage(&M);
    DispatchMessage(&M);
    if (M.message == Last) return;
  }
}

}  // namespace

TEST(Message, SendMessageNestsReentrantCallsAndReturnsEachResult) {
  HeadlessSession S;
  MessageLog Log;
  HWND A = Log.Create(WS_OVERLAPPED, 0, 0, 50, 50);
  HWND B = Log.Create(WS_OVERLAPPED, 0, 0, 50, 50);
  std::vector<std::string> Steps;
  Log.Handler() = [&](HWND W, UINT Msg, WPARAM WP, LPARAM) -> std::optional<LRESULT> {
    if (Msg != WM_PING) return std::nullopt;
    const std::string Name = W == A ? "A" : "B";
    Steps.push_back("enter " + Name + std::to_string(WP));
    LRESULT R = static_cast<LRESULT>(WP);
    if (WP < 3) R += SendMessage(WP % 2 ? A : B, WM_PING, WP + 1, 0);  // A -> B -> A -> B
    Steps.push_back("leave " + Name + std::to_string(WP));
    return R;
  };
  EXPECT_EQ(SendMessage(A, WM_PING, 0, 0), 0 + 1 + 2 + 3);
  EXPECT_EQ(Steps, (std::vector<std::string>{"enter A0", "enter B1", "enter A2", "enter B3", "leave B3",
                                             "leave A2", "leave B1", "leave A0"}));
}

TEST(Message, PostedMessagesArriveInPostOrderAndFiltersSkipWithoutReordering) {
  HeadlessSession S;
  MessageLog Log;
  HWND A = Log.Create(WS_OVERLAPPED, 0, 0, 50, 50);
  HWND B = Log.Create(WS_OVERLAPPED, 0, 0, 50, 50);
  ASSERT_TRUE(PostMessage(A, WM_USER + 10, 1, 0));
  ASSERT_TRUE(PostMessage(B, WM_USER + 20, 2, 0));
  ASSERT_TRUE(PostMessage(nullptr, WM_USER + 30, 3, 0));  // a message for the thread
  ASSERT_TRUE(PostMessage(A, WM_USER + 11, 4, 0));
  ASSERT_TRUE(PostMessage(B, WM_USER + 21, 5, 0));

  MSG M;
  // Peeking without removing leaves the queue as it is.
  ASSERT_TRUE(PeekMessage(&M, nullptr, 0, 0, PM_NOREMOVE));
  EXPECT_EQ(M.message, WM_USER + 10);
  // A window filter and a range filter take the first match; the rest keep their order.
  ASSERT_TRUE(PeekMessage(&M, B, 0, 0, PM_REMOVE));
  EXPECT_EQ(M.wParam, 2u);
  ASSERT_TRUE(PeekMessage(&M, nullptr, WM_USER + 21, WM_USER + 29, PM_REMOVE));
  EXPECT_EQ(M.wParam, 5u);
  std::vector<WPARAM> Order;
  while (PeekMessage(&M, nullptr, 0, 0, PM_REMOVE)) Order.push_back(M.wParam);
  EXPECT_EQ(Order, (std::vector<WPARAM>{1, 3, 4}));
  EXPECT_FALSE(PeekMessage(&M, nullptr, 0, 0, PM_REMOVE));
}

TEST(Message, QuitComesAfterPostedMessagesAndNestedLoopsLoseNothing) {
  HeadlessSession S;
  MessageLog Log;
  HWND A = Log.Create(WS_OVERLAPPED, 0, 0, 50, 50);
  std::vector<WPARAM> Seen;
  Log.Handler() = [&](HWND, UINT Msg, WPARAM WP, LPARAM) -> std::optional<LRESULT> {
    if (Msg != WM_PING) return std::nullopt;
    Seen.push_back(WP);
    if (WP == 1) LoopUntil(WM_DONE);  // a modal loop inside a handler
    return 0;
  };
  PostQuitMessage(7);
  PostMessage(A, WM_PING, 1, 0);
  PostMessage(A, WM_PING, 2, 0);
  PostMessage(A, WM_DONE, 0, 0);
  PostMessage(A, WM_PING, 3, 0);
  MSG M;
  int Loops = 0;
  BOOL R;
  while ((R = GetMessage(&M, nullptr, 0, 0)) > 0) {
    DispatchMessage(&M);
    ++Loops;
  }
  EXPECT_EQ(R, FALSE);
  EXPECT_EQ(M.message, WM_QUIT);
  EXPECT_EQ(M.wParam, 7u);
  EXPECT_EQ(Seen, (std::vector<WPARAM>{1, 2, 3}));
  EXPECT_EQ(Loops, 2);  // the outer loop dispatched 1 and 3; the nested one 2 and WM_DONE
  EXPECT_FALSE(PeekMessage(&M, nullptr, 0, 0, PM_REMOVE));  // the quit was taken once
}

TEST(Message, MessagesFromAWorkerThreadAreHandledOnTheGuiThread) {
  HeadlessSession S;
  MessageLog Log;
  HWND A = Log.Create(WS_OVERLAPPED, 0, 0, 50, 50);
  const TThreadID Gui = GetCurrentThreadId();
  std::atomic<TThreadID> HandledOn{0};
  Log.Handler() = [&](HWND, UINT Msg, WPARAM WP, LPARAM) -> std::optional<LRESULT> {
    if (Msg != WM_PING) return std::nullopt;
    HandledOn = GetCurrentThreadId();
    return static_cast<LRESULT>(WP * 2);
  };
  std::atomic<LRESULT> Result{0};
  std::atomic<int> MainCalls{0};
  std::thread Worker([&] {
    Result = SendMessage(A, WM_PING, 21, 0);
    CallInMainThread([&] { MainCalls += IsMainThread() ? 1 : 100; });
    PostMessage(A, WM_DONE, 0, 0);
  });
  LoopUntil(WM_DONE);  // blocks in GetMessage; the send and the call wake it
  Worker.join();
  EXPECT_EQ(Result.load(), 42);
  EXPECT_EQ(HandledOn.load(), Gui);
  EXPECT_EQ(MainCalls.load(), 1);
}

TEST(Message, SendFromAWorkerFailsCleanlyForDeadWindowsAndWhenTheSessionEnds) {
  auto S = std::make_unique<HeadlessSession>();
  MessageLog Log;
  HWND A = Log.Create(WS_OVERLAPPED, 0, 0, 50, 50);
  HWND Gone = Log.Create(WS_OVERLAPPED, 0, 0, 50, 50);
  DestroyWindow(Gone);
  LRESULT ToDead = -1;
  std::thread([&] { ToDead = SendMessage(Gone, WM_PING, 0, 0); }).join();
  EXPECT_EQ(ToDead, 0);

  // A sender still waiting when the window system goes away is released with 0.
  std::atomic<LRESULT> Late{-1};
  std::thread Worker([&] { Late = SendMessage(A, WM_PING, 0, 0); });
  while (!S->Manager().Queue().HasPosted()) std::this_thread::yield();
  S.reset();
  Worker.join();
  EXPECT_EQ(Late.load(), 0);
}

TEST(Message, MessagePosAndTimeDescribeTheLastRetrievedMessage) {
  HeadlessSession S;
  MessageLog Log;
  HWND A = Log.Create(WS_OVERLAPPED, 0, 0, 50, 50);
  S.Manager().SetCursorPos({12, -34});
  PostMessage(A, WM_PING, 0, 0);
  S.Clock().Advance(500);
  MSG M;
  ASSERT_TRUE(PeekMessage(&M, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(GetMessageTime(), static_cast<LONG>(S.Now() - 500));
  const DWORD Pos = GetMessagePos();
  EXPECT_EQ(GET_X_LPARAM(Pos), 12);
  EXPECT_EQ(GET_Y_LPARAM(Pos), -34);
}

TEST(Message, TranslateMessagePostsTheCharacterOfAKey) {
  HeadlessSession S;
  MessageLog Log;
  HWND A = Log.Create(WS_OVERLAPPED, 0, 0, 50, 50);
  struct Case {
    WPARAM Vk;
    bool Shift;
    bool Ctrl;
    WPARAM Char;  // 0: none
  } Cases[] = {{'A', false, false, 'a'}, {'A', true, false, 'A'}, {'A', false, true, 1},
               {'1', true, false, '!'}, {0x0D, false, false, 13}, {0x25 /* left */, false, false, 0}};
  for (const Case& C : Cases) {
    SCOPED_TRACE(testing::Message() << "vk " << C.Vk << " shift " << C.Shift << " ctrl " << C.Ctrl);
    vantrel::win::SetKeyDown(0x10, C.Shift);
    vantrel::win::SetKeyDown(0x11, C.Ctrl);
    MSG Key{A, WM_KEYDOWN, C.Vk, 1, 0, {}};
    EXPECT_EQ(TranslateMessage(&Key) != FALSE, C.Char != 0);
    MSG M;
    if (C.Char) {
      ASSERT_TRUE(PeekMessage(&M, nullptr, 0, 0, PM_REMOVE));
      EXPECT_EQ(M.message, WM_CHAR);
      EXPECT_EQ(M.wParam, C.Char);
      EXPECT_EQ(M.hwnd, A);
    }
    EXPECT_FALSE(PeekMessage(&M, nullptr, 0, 0, PM_REMOVE));
  }
}
