#include "platform/rtl/DateUtils.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

#include "platform/rtl/Exceptions.h"

namespace {

// A zone with daylight saving from the last Sunday of March to the last Sunday of October,
// given as a rule so the test does not depend on the time-zone database.
void UseCentralEuropeanTime() {
  setenv("TZ", "CET-1CEST,M3.5.0,M10.5.0/3", 1);
  tzset();
}

}  // namespace

TEST(DateUtils, EncodeAndDecodeRoundTripAroundTheEpochs) {
  const struct {
    Word Y, M, D;
    double Serial;
  } Cases[] = {
      {1899, 12, 30, 0},  {1899, 12, 29, -1}, {1900, 1, 1, 2},       {1970, 1, 1, 25569},
      {2000, 2, 29, 36585}, {2024, 12, 31, 45657}, {1, 1, 1, -693593}, {9999, 12, 31, 2958465},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(testing::Message() << C.Y << "-" << C.M << "-" << C.D);
    EXPECT_EQ(EncodeDate(C.Y, C.M, C.D), C.Serial);
    Word Y, M, D;
    DecodeDate(C.Serial, Y, M, D);
    EXPECT_EQ(Y, C.Y);
    EXPECT_EQ(M, C.M);
    EXPECT_EQ(D, C.D);
  }
}

TEST(DateUtils, NegativeDateKeepsItsTimeOfDayAsTheFractionsMagnitude) {
  // -1.25 is 1899-12-29 06:00, as the class library reads it.
  Word Y, M, D, H, N, S, Z;
  DecodeDateTime(-1.25, Y, M, D, H, N, S, Z);
  EXPECT_EQ(D, 29);
  EXPECT_EQ(H, 6);
  EXPECT_EQ(EncodeDateTime(1899, 12, 29, 6, 0, 0, 0), -1.25);
}

TEST(DateUtils, InvalidPartsAreRefused) {
  TDateTime T;
  EXPECT_FALSE(TryEncodeDate(2023, 2, 29, T));
  EXPECT_TRUE(TryEncodeDate(2000, 2, 29, T));
  EXPECT_FALSE(TryEncodeDate(1900, 2, 29, T));
  EXPECT_FALSE(TryEncodeDate(2024, 13, 1, T));
  EXPECT_FALSE(TryEncodeDate(0, 1, 1, T));
  EXPECT_FALSE(TryEncodeTime(24, 0, 0, 0, T));
  EXPECT_FALSE(TryEncodeTime(0, 0, 0, 1000, T));
  EXPECT_THROW(EncodeDate(2024, 4, 31), EConvertError);
  EXPECT_THROW(EncodeTime(0, 60, 0, 0), EConvertError);
}

TEST(DateUtils, DecodeTimeRoundsToTheMillisecond) {
  Word H, M, S, Ms;
  DecodeTime(EncodeTime(23, 59, 59, 999), H, M, S, Ms);
  EXPECT_EQ(H, 23);
  EXPECT_EQ(M, 59);
  EXPECT_EQ(S, 59);
  EXPECT_EQ(Ms, 999);
  DecodeTime(EncodeTime(1, 2, 3, 4) + 0.4 / MSecsPerDay, H, M, S, Ms);
  EXPECT_EQ(Ms, 4);
}

TEST(DateUtils, FormatDateTimeSpecifiers) {
  const TDateTime V = EncodeDateTime(2024, 3, 7, 14, 5, 9, 42);  // a Thursday
  const struct {
    const char* Fmt;
    const char* Text;
  } Cases[] = {
      {"hh:nn:ss", "14:05:09"},
      {"hhnnss", "140509"},
      {"yyyy-mm-dd hh:nn:ss", "2024-03-07 14:05:09"},
      {"h:m", "14:5"},              // m after h is minutes
      {"hh:mm:ss", "14:05:09"},
      {"mm:ss", "05:09"},           // m before s is minutes
      {"d/m/yy", "7/3/24"},
      {"ddd dddd mmm mmmm", "Thu Thursday Mar March"},
      {"zzz z", "042 42"},
      {"h:nn am/pm", "2:05 pm"},
      {"hh AM/PM", "02 PM"},
      {"h a/p", "2 p"},
      {"'hh' \"nn\" hh", "hh nn 14"},
      {"c", "2024-03-07 14:05:09"},
      {"ddddd", "2024-03-07"},
      {"t", "14:05"},
      {"tt", "14:05:09"},
      {"yyyy\\x", "2024\\x"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Fmt);
    EXPECT_EQ(FormatDateTime(C.Fmt, V), C.Text);
  }
  EXPECT_EQ(FormatDateTime("h am/pm", EncodeTime(0, 30, 0, 0)), "12 am");
  EXPECT_EQ(DateTimeToStr(EncodeDate(2024, 1, 2)), "2024-01-02");
  EXPECT_EQ(TimeToStr(EncodeTime(9, 8, 7, 0)), "09:08:07");
}

TEST(DateUtils, StrToTimeReadsTimesAndRejectsOthers) {
  const struct {
    const char* Text;
    Word H, M, S, Ms;
  } Good[] = {
      {"12:34:56", 12, 34, 56, 0}, {"1:02", 1, 2, 0, 0},      {"7", 7, 0, 0, 0},
      {" 23:59:59.999 ", 23, 59, 59, 999}, {"12:00 am", 0, 0, 0, 0}, {"1:15 PM", 13, 15, 0, 0},
  };
  for (const auto& C : Good) {
    SCOPED_TRACE(C.Text);
    EXPECT_EQ(StrToTime(C.Text), EncodeTime(C.H, C.M, C.S, C.Ms));
  }
  for (const char* Text : {"", "24:00:00", "12:60", "12:30:61", "ab", "12:", "12:30x", "13:00 pm",
                           "123456:00"}) {
    SCOPED_TRACE(Text);
    try {
      StrToTime(Text);
      ADD_FAILURE() << "no exception";
    } catch (const EConvertError& E) {
      EXPECT_EQ(E.Message(), "'" + String(Text) + "' is not a valid time");
    }
  }
  EXPECT_EQ(StrToDateTime("2024-03-07 14:05:09"), EncodeDateTime(2024, 3, 7, 14, 5, 9, 0));
  EXPECT_THROW(StrToDate("2024-02-30"), EConvertError);
}

TEST(DateUtils, UnixSecondsConvertBothWays) {
  EXPECT_EQ(UnixToDateTime(0), 25569.0);
  EXPECT_EQ(UnixToDateTime(86400 + 43200), 25570.5);
  EXPECT_EQ(UnixToDateTime(-43200), 25568.5);
  for (Int64 Secs : {Int64{0}, Int64{1}, Int64{-1}, Int64{1700000000}, Int64{-2209161600}}) {
    SCOPED_TRACE(Secs);
    EXPECT_EQ(DateTimeToUnix(UnixToDateTime(Secs)), Secs);
  }
}

TEST(DateUtils, LocalTimeAppliesDaylightSaving) {
  UseCentralEuropeanTime();
  const Int64 Winter = 1704110400;  // 2024-01-01 12:00 UTC
  const Int64 Summer = 1719835200;  // 2024-07-01 12:00 UTC
  EXPECT_EQ(LocalTimeBiasMinutes(Winter), -60);
  EXPECT_EQ(LocalTimeBiasMinutes(Summer), -120);
  EXPECT_EQ(StandardTimeBiasMinutes(), -60);
  EXPECT_EQ(FormatDateTime("yyyy-mm-dd hh:nn", UnixToLocalDateTime(Winter)), "2024-01-01 13:00");
  EXPECT_EQ(FormatDateTime("yyyy-mm-dd hh:nn", UnixToLocalDateTime(Summer)), "2024-07-01 14:00");
  EXPECT_EQ(LocalDateTimeToUnix(UnixToLocalDateTime(Summer)), Summer);
}

TEST(DateUtils, NowFollowsTheLocalClock) {
  UseCentralEuropeanTime();
  const time_t Before = time(nullptr);
  const TDateTime N = Now();
  const time_t After = time(nullptr);
  const Int64 Back = LocalDateTimeToUnix(N);
  EXPECT_GE(Back, Before - 1);
  EXPECT_LE(Back, After + 1);
  const TDateTime D = Date();
  EXPECT_EQ(D, static_cast<double>(static_cast<Int64>(D)));
  EXPECT_GE(Time(), 0.0);
  EXPECT_LT(Time(), 1.0);
}
