#include "platform/rtl/NumConv.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>

#include "platform/rtl/Exceptions.h"

TEST(NumConv, StrToIntAcceptsDecimalAndHexForms) {
  const struct {
    const char* Text;
    Integer Value;
  } Cases[] = {
      {"0", 0},         {"42", 42},          {"-42", -42},           {"+7", 7},
      {"  12", 12},     {"$1F", 31},         {"0x1F", 31},           {"0X1f", 31},
      {"-$10", -16},    {"2147483647", INT_MAX}, {"-2147483648", INT_MIN}, {"$FFFFFFFF", -1},
      {"007", 7},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Text);
    EXPECT_EQ(StrToInt(C.Text), C.Value);
  }
}

TEST(NumConv, StrToIntRejectsBadTextWithTheConversionMessage) {
  for (const char* Text : {"", " ", "-", "$", "0x", "12a", "1 2", "12 ", "1.5", "2147483648",
                           "-2147483649", "$100000000", "++1", "abc"}) {
    SCOPED_TRACE(Text);
    try {
      StrToInt(Text);
      ADD_FAILURE() << "no exception";
    } catch (const EConvertError& E) {
      EXPECT_EQ(E.Message(), "'" + String(Text) + "' is not a valid integer value");
    }
    EXPECT_EQ(StrToIntDef(Text, -99), -99);
  }
}

TEST(NumConv, StrToInt64CoversTheWholeRange) {
  EXPECT_EQ(StrToInt64("9223372036854775807"), LLONG_MAX);
  EXPECT_EQ(StrToInt64("-9223372036854775808"), LLONG_MIN);
  EXPECT_EQ(StrToInt64("$FFFFFFFFFFFFFFFF"), -1);
  EXPECT_THROW(StrToInt64("9223372036854775808"), EConvertError);
  Int64 V = 5;
  EXPECT_FALSE(TryStrToInt64("x", V));
  EXPECT_EQ(V, 5);
}

TEST(NumConv, StrToFloatUsesThePointAndRejectsOtherForms) {
  const struct {
    const char* Text;
    long double Value;
  } Good[] = {{"1.5", 1.5L}, {"-0.25", -0.25L}, {" 3 ", 3.0L}, {"1e3", 1000.0L},
              {"2.5E-1", 0.25L}, {".5", 0.5L}, {"5.", 5.0L}, {"+4", 4.0L}};
  for (const auto& C : Good) {
    SCOPED_TRACE(C.Text);
    EXPECT_EQ(StrToFloat(C.Text), C.Value);
  }
  for (const char* Text : {"", "1,5", "inf", "nan", "0x10", "1e", "e5", ".", "1.2.3", "1e99999"}) {
    SCOPED_TRACE(Text);
    try {
      StrToFloat(Text);
      ADD_FAILURE() << "no exception";
    } catch (const EConvertError& E) {
      EXPECT_EQ(E.Message(), "'" + String(Text) + "' is not a valid floating point value");
    }
  }
}

TEST(NumConv, FloatToStrFFormats) {
  const struct {
    long double Value;
    TFloatFormat Format;
    int Precision, Digits;
    const char* Text;
  } Cases[] = {
      {1.5L, ffFixed, 15, 2, "1.50"},
      {0.125L, ffFixed, 15, 2, "0.13"},        // halves away from zero
      {-0.125L, ffFixed, 15, 2, "-0.13"},
      {2.675, ffFixed, 15, 2, "2.67"},          // the double is 2.67499..
      {0.004L, ffFixed, 15, 2, "0.00"},         // no "-0.00"
      {-0.004L, ffFixed, 15, 2, "0.00"},
      {0.006L, ffFixed, 15, 2, "0.01"},
      {9.995L, ffFixed, 15, 2, "10.00"},
      {1234567.891L, ffNumber, 15, 2, "1,234,567.89"},
      {-1234.5L, ffCurrency, 15, 2, "-$1,234.50"},
      {12345.0L, ffFixed, 3, 2, "1.23E4"},      // too large for the precision
      {1234.5L, ffExponent, 4, 2, "1.235E+03"},
      {0.0L, ffGeneral, 15, 0, "0"},
      {0.1L, ffGeneral, 15, 0, "0.1"},
      {100.0L, ffGeneral, 15, 0, "100"},
      {1e20L, ffGeneral, 15, 0, "1E20"},
      {1.5e-10L, ffGeneral, 15, 0, "1.5E-10"},
      {0.00001L, ffGeneral, 15, 0, "0.00001"},
      {1.0L / 3, ffGeneral, 15, 0, "0.333333333333333"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Text);
    EXPECT_EQ(FloatToStrF(C.Value, C.Format, C.Precision, C.Digits), C.Text);
  }
  EXPECT_EQ(FloatToStr(NAN), "NAN");
  EXPECT_EQ(FloatToStr(-INFINITY), "-INF");
}

TEST(NumConv, RoundGoesHalfToEvenAndRejectsWhatDoesNotFit) {
  const struct {
    long double In;
    Int64 Out;
  } Cases[] = {{0.5L, 0}, {1.5L, 2}, {2.5L, 2}, {3.5L, 4}, {-0.5L, 0}, {-1.5L, -2},
               {-2.5L, -2}, {2.4999L, 2}, {2.5001L, 3}, {-7.0L, -7}};
  for (const auto& C : Cases) {
    SCOPED_TRACE(static_cast<double>(C.In));
    EXPECT_EQ(Round(C.In), C.Out);
  }
  EXPECT_EQ(Trunc(-2.9L), -2);
  EXPECT_THROW(Round(NAN), EInvalidOp);
  EXPECT_THROW(Round(1e30L), EInvalidOp);
  EXPECT_THROW(Trunc(INFINITY), EInvalidOp);
}

TEST(NumConv, CheckedArithmeticRaisesIntOverflow) {
  EXPECT_EQ(CheckedAdd(INT_MAX - 1, 1), INT_MAX);
  EXPECT_EQ(CheckedMul(-65536, 32768), INT_MIN);
  try {
    CheckedAdd(INT_MAX, 1);
    ADD_FAILURE() << "no exception";
  } catch (const EIntOverflow& E) {
    EXPECT_EQ(E.Message(), "Integer overflow");
  }
  EXPECT_THROW(CheckedSub(INT_MIN, 1), EIntOverflow);
  EXPECT_THROW(CheckedMul(65536, 32768), EIntOverflow);
  EXPECT_THROW(CheckedAdd(Int64{LLONG_MAX}, Int64{1}), EIntOverflow);
  EXPECT_THROW(CheckedSub(Int64{LLONG_MIN}, Int64{1}), EIntOverflow);
  EXPECT_THROW(CheckedMul(Int64{1} << 32, Int64{1} << 31), EIntOverflow);
  EXPECT_THROW(CheckedInt(Int64{INT_MAX} + 1), EIntOverflow);
}

TEST(NumConv, MulDivRoundsHalfAwayFromZero) {
  const struct {
    Integer A, B, C, R;
  } Cases[] = {
      {10, 3, 4, 8},            // 7.5
      {-10, 3, 4, -8},          // -7.5
      {10, -3, -4, 8},
      {5, 1, 3, 2},             // 1.67
      {1, 1, 3, 0},
      {65536, 65536, 65536, 65536},  // intermediate beyond 32 bits
      {INT_MAX, INT_MAX, INT_MAX, INT_MAX},
      {7, 7, 0, -1},            // division by zero
      {INT_MAX, 2, 1, -1},      // result does not fit
      {INT_MIN, 1, 1, INT_MIN},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(testing::Message() << C.A << "*" << C.B << "/" << C.C);
    EXPECT_EQ(MulDiv(C.A, C.B, C.C), C.R);
  }
}

TEST(NumConv, IntToStrPrintsEveryIntegerType) {
  EXPECT_EQ(IntToStr(-5), "-5");
  EXPECT_EQ(IntToStr(Int64{LLONG_MIN}), "-9223372036854775808");
  EXPECT_EQ(IntToStr(size_t{18}), "18");
}
