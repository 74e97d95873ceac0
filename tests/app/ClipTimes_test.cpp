// The trim editor's numbers: typed times and the markers' places on the track bar.
#include <gtest/gtest.h>

#include "app/clip_Times.h"
#include "platform/rtl/Exceptions.h"

using namespace vantrel::app;

TEST(ClipTimes, TypedTimesReadHoursMinutesAndSeconds) {
  struct Case {
    const char* Text;
    Int64 Us;
  } Good[] = {{"00:01:30", 90000000},   {"25:00:00", 90000000000}, {"99:59:59", 359999000000},
              {" 1:02:03", 3723000000}, {"00:00:00", 0}};
  for (const Case& C : Good) {
    SCOPED_TRACE(C.Text);
    EXPECT_EQ(TypedTimeToMicroseconds(C.Text), C.Us);
  }
  for (const char* Bad : {"12:61:00", "00:00:60", "100:00:00", "", "1:2", "aa:00:00", "00:00:00:00", "-1:00:00"}) {
    SCOPED_TRACE(Bad);
    try {
      TypedTimeToMicroseconds(Bad);
      ADD_FAILURE() << "no error";
    } catch (const EConvertError& E) {
      EXPECT_EQ(E.Message(), "'" + String(Bad) + "' is not a valid time");
    }
  }
}

TEST(ClipTimes, MarkersFollowTheTrackBarsScale) {
  // 60 s on a 456-pixel bar: 15 s is value 250, left 250 x 456 div 1000 + 10.
  EXPECT_EQ(TrimMarkerLeft(15000000, 60000000, 456), 124);
  EXPECT_EQ(TrimMarkerLeft(0, 60000000, 456), 10);
  EXPECT_EQ(TrimMarkerLeft(60000000, 60000000, 456), 466);
  // Back from a left: (124 - 10) x 1000 / 456 = 250 exactly.
  EXPECT_EQ(TrimMarkerTime(124, 60000000, 456), 15000000);
  EXPECT_EQ(TrimMarkerTime(466, 60000000, 456), 60000000);
}
