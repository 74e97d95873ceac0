#include <gtest/gtest.h>

#include "platform/display/HeadlessSession.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Timers.h"
#include "tests/support/WinMessageLog.h"

using vantrel::display::EHeadlessStall;
using vantrel::display::HeadlessSession;
using vantrel::test::MessageLog;

namespace {

struct Fired {
  UINT_PTR Id;
  uint64_t At;  // virtual ms since the test's start
  friend bool operator==(const Fired&, const Fired&) = default;
};

std::ostream& operator<<(std::ostream& O, const Fired& F) { return O << "{" << F.Id << "@" << F.At << "}"; }

}  // namespace

TEST(Timer, TimersFireAtTheirVirtualTimesInOrder) {
  HeadlessSession S;
  MessageLog Log;
  HWND W = Log.Create(WS_POPUP, 0, 0, 10, 10);
  const uint64_t Start = S.Now();
  EXPECT_EQ(Start, 1000000u);
  std::vector<Fired> Got;
  Log.Handler() = [&](HWND, UINT Msg, WPARAM WP, LPARAM) -> std::optional<LRESULT> {
    if (Msg == WM_TIMER) Got.push_back({WP, S.Now() - Start});
    return std::nullopt;
  };
  SetTimer(W, 2, 150, nullptr);
  SetTimer(W, 1, 100, nullptr);
  S.Advance(450);
  // Ties fire in the order the timers were set.
  EXPECT_EQ(Got, (std::vector<Fired>{{1, 100}, {2, 150}, {1, 200}, {2, 300}, {1, 300}, {1, 400}, {2, 450}}));
  EXPECT_EQ(S.Now() - Start, 450u);

  // Setting a timer again restarts it; killing stops it.
  Got.clear();
  SetTimer(W, 1, 100, nullptr);  // next at 550 (not 500)
  ASSERT_TRUE(KillTimer(W, 2));
  EXPECT_FALSE(KillTimer(W, 2));
  S.Advance(150);
  EXPECT_EQ(Got, (std::vector<Fired>{{1, 550}}));
  DestroyWindow(W);  // a destroyed window's timers die with it
  S.Advance(1000);
  EXPECT_EQ(Got.size(), 1u);
}

TEST(Timer, ATimerKilledInItsOwnHandlerStops) {
  HeadlessSession S;
  MessageLog Log;
  HWND W = Log.Create(WS_POPUP, 0, 0, 10, 10);
  int Count = 0;
  Log.Handler() = [&](HWND H, UINT Msg, WPARAM WP, LPARAM) -> std::optional<LRESULT> {
    if (Msg == WM_TIMER) {
      ++Count;
      KillTimer(H, WP);
    }
    return std::nullopt;
  };
  SetTimer(W, 7, 50, nullptr);
  S.Advance(1000);
  EXPECT_EQ(Count, 1);
}

TEST(Timer, BusyWaitsOnTheTickCountEndInsideHandlersOnly) {
  HeadlessSession S;
  MessageLog Log;
  HWND W = Log.Create(WS_POPUP, 0, 0, 10, 10);
  Log.Handler() = [&](HWND, UINT Msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (Msg != WM_USER) return std::nullopt;
    const DWORD Begin = GetTickCount();
    while (GetTickCount() - Begin < 300) {
    }
    return static_cast<LRESULT>(GetTickCount() - Begin);
  };
  const uint64_t Before = S.Now();
  EXPECT_GE(SendMessage(W, WM_USER, 0, 0), 300);
  EXPECT_GE(S.Now() - Before, 300u);
  // Outside a handler reading the clock does not move it.
  EXPECT_EQ(GetTickCount(), GetTickCount());
  // Sleep on the GUI thread moves virtual time by its amount.
  const uint64_t T = S.Now();
  Sleep(250);
  EXPECT_EQ(S.Now(), T + 250);
}

TEST(Timer, PumpingNeverFiresATimerOrMovesTime) {
  HeadlessSession S;
  MessageLog Log;
  HWND W = Log.Create(WS_POPUP, 0, 0, 10, 10);
  SetTimer(W, 1, 10, nullptr);
  PostMessage(W, WM_USER, 0, 0);
  const uint64_t T = S.Now();
  S.PumpUntilIdle();
  S.PumpUntilIdle();
  EXPECT_EQ(S.Now(), T);
  EXPECT_EQ(Log.Count(W, WM_TIMER), 0u);
  EXPECT_EQ(Log.Count(W, WM_USER), 1u);
  MSG M;
  EXPECT_FALSE(PeekMessage(&M, nullptr, 0, 0, PM_REMOVE));  // not due yet
}

TEST(Timer, RunUntilReachesATimerDrivenConditionAndFailsFastOnAnImpossibleOne) {
  HeadlessSession S;
  MessageLog Log;
  HWND W = Log.Create(WS_POPUP, 0, 0, 10, 10);
  bool Flag = false;
  Log.Handler() = [&](HWND, UINT Msg, WPARAM WP, LPARAM) -> std::optional<LRESULT> {
    if (Msg == WM_TIMER && WP == 3) Flag = true;
    return std::nullopt;
  };
  const uint64_t Start = S.Now();
  SetTimer(W, 3, 250, nullptr);
  S.RunUntil([&] { return Flag; });
  EXPECT_EQ(S.Now() - Start, 250u);

  KillTimer(W, 3);
  EXPECT_THROW(S.RunUntil([] { return false; }), EHeadlessStall);  // nothing can change
  SetTimer(W, 4, 1000, nullptr);  // a timer that never makes it true: stops at the deadline
  const uint64_t T = S.Now();
  EXPECT_THROW(S.RunUntil([] { return false; }, 5000), EHeadlessStall);
  EXPECT_LE(S.Now() - T, 5000u);
}

TEST(Timer, CallbackTimersRunThroughDispatchAndForgedOnesDoNot) {
  HeadlessSession S;
  static int Calls;
  static UINT_PTR SeenId;
  Calls = 0;
  TIMERPROC Proc = [](HWND Wnd, UINT Msg, UINT_PTR Id, DWORD) {
    EXPECT_EQ(Wnd, nullptr);
    EXPECT_EQ(Msg, WM_TIMER);
    SeenId = Id;
    ++Calls;
  };
  UINT_PTR Id = SetTimer(nullptr, 0, 100, Proc);
  ASSERT_NE(Id, 0u);
  UINT_PTR Other = SetTimer(nullptr, 0, 100, Proc);
  EXPECT_NE(Other, Id);  // thread timers get ids of their own
  KillTimer(nullptr, Other);
  S.Advance(100);
  EXPECT_EQ(Calls, 1);
  EXPECT_EQ(SeenId, Id);
  // A posted WM_TIMER naming a callback that is no timer's is not called.
  PostMessage(nullptr, WM_TIMER, 99, reinterpret_cast<LPARAM>(+[](HWND, UINT, UINT_PTR, DWORD) { ++Calls; }));
  S.PumpUntilIdle();
  EXPECT_EQ(Calls, 1);
}

TEST(Timer, ABlockingLoopWaitsOnTheVirtualClockForItsNextTimer) {
  HeadlessSession S;
  MessageLog Log;
  HWND W = Log.Create(WS_POPUP, 0, 0, 10, 10);
  const uint64_t Start = S.Now();
  SetTimer(W, 1, 40, nullptr);
  MSG M;
  int Timers = 0;
  while (Timers < 3 && GetMessage(&M, nullptr, 0, 0) > 0) {
    if (M.message == WM_TIMER) ++Timers;
    DispatchMessage(&M);
  }
  EXPECT_EQ(S.Now() - Start, 120u);
}
