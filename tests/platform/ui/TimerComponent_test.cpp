// TTimer on the virtual clock: it fires every Interval, and OnTimer may change the
// interval, stop the timer or free it without harm.
#include <gtest/gtest.h>

#include <vector>

#include "platform/ui/Timers.h"
#include "platform/win/Timers.h"
#include "tests/support/UiFormsFixture.h"

using vantrel::uitest::FormsSession;

TEST(TimerComponent, FiresEveryIntervalWhileEnabled) {
  FormsSession S;
  TOwned<TTimer> Timer(TTimer::Create(nullptr));
  std::vector<uint64_t> Fired;
  const uint64_t Start = S.Session.Now();
  Timer->SetInterval(100);
  Timer->OnTimer = [&](TObject*) { Fired.push_back(S.Session.Now() - Start); };
  S.Session.Advance(350);
  EXPECT_EQ(Fired, (std::vector<uint64_t>{100, 200, 300}));
  Timer->SetEnabled(false);
  S.Session.Advance(500);
  EXPECT_EQ(Fired.size(), 3u);
  // Enabling again starts a full period from now; Interval 0 stops it.
  Timer->SetEnabled(true);
  S.Session.Advance(99);
  EXPECT_EQ(Fired.size(), 3u);
  S.Session.Advance(1);
  EXPECT_EQ(Fired.size(), 4u);
  Timer->SetInterval(0);
  S.Session.Advance(1000);
  EXPECT_EQ(Fired.size(), 4u);
}

TEST(TimerComponent, ChangesItsIntervalAndThenFreesItselfInsideOnTimer) {
  FormsSession S;
  TTimer* Timer = TTimer::Create(nullptr);
  std::vector<uint64_t> Fired;
  const uint64_t Start = S.Session.Now();
  Timer->SetInterval(100);
  Timer->OnTimer = [&](TObject* Sender) {
    Fired.push_back(S.Session.Now() - Start);
    auto* T = static_cast<TTimer*>(Sender);
    if (Fired.size() == 1)
      T->SetInterval(300);
    else
      T->Free();
  };
  S.Session.Advance(2000);
  EXPECT_EQ(Fired, (std::vector<uint64_t>{100, 400}));
}

TEST(TimerComponent, AnOwnedTimerGoesWithItsOwnerAndAFailingHandlerKeepsItRunning) {
  FormsSession S;
  TOwned<TComponent> Owner(TComponent::Create(nullptr));
  TTimer* Timer = TTimer::Create(Owner.get());
  int Calls = 0;
  Timer->SetInterval(100);
  Timer->OnTimer = [&](TObject*) {
    ++Calls;
    throw EInvalidOperation("Timer handler failed");
  };
  S.Session.Advance(250);
  EXPECT_EQ(Calls, 2);
  EXPECT_EQ(S.Boxes, (std::vector<std::string>{"Timer handler failed.", "Timer handler failed."}));
  Owner.reset();
  S.Session.Advance(1000);
  EXPECT_EQ(Calls, 2);
  EXPECT_EQ(S.Session.Manager().Timers().EarliestDue(), vantrel::win::NoDeadline);
}
