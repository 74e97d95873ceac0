// The logical left mouse button (the right one when the buttons are swapped) and times of
// day in microseconds.
#include <gtest/gtest.h>

#include "app/main.h"
#include "platform/win/Input.h"
#include "tests/support/UiFormsFixture.h"

using namespace vantrel::app;

TEST(MainInput, TheLogicalLeftButtonFollowsTheSwap) {
  struct Case {
    bool Swapped;
    int Physical;
    bool Down;
  } Cases[] = {
      {false, vantrel::win::rbLeft, true},
      {false, vantrel::win::rbRight, false},
      {true, vantrel::win::rbLeft, false},
      {true, vantrel::win::rbRight, true},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(testing::Message() << "swapped " << C.Swapped << ", button " << C.Physical);
    vantrel::uitest::FormsSession S;
    SwapMouseButton(C.Swapped);
    EXPECT_FALSE(IsLeftButtonDown());
    S.Session.Press(10, 10, C.Physical);
    S.Session.PumpUntilIdle();
    EXPECT_EQ(IsLeftButtonDown(), C.Down);
    S.Session.Release(10, 10, C.Physical);
    S.Session.PumpUntilIdle();
    EXPECT_FALSE(IsLeftButtonDown());
    SwapMouseButton(false);
  }
}

TEST(MainInput, TimeOfDayInMicrosecondsNeedsSixtyFourBits) {
  struct Case {
    TDateTime T;
    Int64 Expected;
  } Cases[] = {
      {EncodeTime(0, 0, 0, 0), 0},
      {EncodeTime(1, 2, 3, 4), 3723004000LL},
      {EncodeTime(0, 35, 47, 484), 2147484000LL},  // just past 32 bits
      {EncodeTime(23, 59, 59, 999), 86399999000LL},
      {2.5, 43200000000LL},  // the date part is left out
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Expected);
    EXPECT_EQ(TimeToMicroseconds(C.T), C.Expected);
  }
}
