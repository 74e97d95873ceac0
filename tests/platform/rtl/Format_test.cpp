#include "platform/rtl/Format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "platform/rtl/Exceptions.h"

namespace {

struct FormatCase {
  const char* Fmt;
  std::initializer_list<TVarRec> Args;
  const char* Expected;
};

TEST(Format, FollowsTheClassLibraryRules) {
  const String Name = "clip.mp4";
  const FormatCase Cases[] = {
      // integers
      {"%d", {42}, "42"},
      {"%d", {-42}, "-42"},
      {"%5d|%-5d|", {7, 7}, "    7|7    |"},
      {"%2.2d:%2.2d:%2.2d.%3.3d", {1, 2, 3, 4}, "01:02:03.004"},
      {"%.2d", {123}, "123"},
      {"%.3d", {-5}, "-005"},
      {"%d", {Int64{-9000000000}}, "-9000000000"},
      {"%d", {std::numeric_limits<Int64>::min()}, "-9223372036854775808"},
      {"%d", {UInt64{18446744073709551615u}}, "18446744073709551615"},
      {"%u", {-1}, "4294967295"},
      {"%u", {Int64{-1}}, "18446744073709551615"},
      {"%x|%X", {255, 255}, "FF|FF"},
      {"%.4x", {0xAB}, "00AB"},
      {"%x", {-1}, "FFFFFFFF"},
      {"%x", {short{-1}}, "FFFF"},
      {"%x", {Int64{-1}}, "FFFFFFFFFFFFFFFF"},
      {"%d", {'A' + 0}, "65"},
      // floating point
      {"%f", {3.14159}, "3.14"},
      {"%f", {2.0f}, "2.00"},
      {"%.0f", {2.5}, "2"},          // to nearest, ties to even as the C library does
      {"%0.3f", {1.0005}, "1.000"},  // 1.0005 is just below the tie as a double
      {"%1.0f", {99.6}, "100"},
      {"%8.0f|%7.1f", {1234.4, -0.25}, "    1234|   -0.2"},
      {"%.2f", {-0.001}, "0.00"},  // no minus without a digit to show
      {"%.2f", {1e20}, "100000000000000000000.00"},
      {"%f", {std::numeric_limits<double>::infinity()}, "INF"},
      {"%f", {-std::numeric_limits<double>::infinity()}, "-INF"},
      {"%f", {std::nan("")}, "NAN"},
      {"%.20f", {0.5}, "0.500000000000000000"},  // at most 18 decimals
      {"%e", {1234.5}, "1.23450000000000E+003"},
      {"%.3e", {-0.000123456}, "-1.23E-004"},
      {"%g", {1234.5}, "1234.5"},
      {"%g", {0.5}, "0.5"},
      {"%g", {100.0}, "100"},
      {"%g", {1e20}, "1E020"},
      {"%g", {0.000001}, "1E-006"},
      {"%.3g", {1234.5}, "1.23E003"},
      {"%g", {0.0}, "0"},
      {"%n", {1234567.891}, "1,234,567.89"},
      {"%.0n", {-1234.0}, "-1,234"},
      {"%n", {999.0}, "999.00"},
      {"%m", {1234.5}, "1,234.50"},
      {"%.20f", {1.0L / 3}, "0.333333333333333333"},
      // strings, characters, pointers
      {"%s", {Name}, "clip.mp4"},
      {"[%10s][%-10s]", {"abc", "abc"}, "[       abc][abc       ]"},
      {"%.3s", {"abcdef"}, "abc"},
      {"%.2s|%4s|", {"\xC3\xBC\xC3\x9Fx", "\xC3\xBC"}, "\xC3\xBC\xC3\x9F|   \xC3\xBC|"},
      {"%s", {'x'}, "x"},
      {"%s", {U'\u00FC'}, "\xC3\xBC"},
      {"%s", {static_cast<const char*>(nullptr)}, ""},
      {"%p", {reinterpret_cast<const void*>(0xBEEF)}, "000000000000BEEF"},
      {"%p", {nullptr}, "0000000000000000"},
      // indexes, "*", "%%", letters of any case
      {"%1:s %0:s %s", {"a", "b"}, "b a b"},
      {"%0:d-%0:d", {5}, "5-5"},
      {"%*d|%-*d|%.*f", {4, 1, 3, 2, 2, 1.005}, "   1|2  |1.00"},
      {"%*d", {-4, 1}, "1   "},
      {"100%% of %D%S", {5, "x"}, "100% of 5x"},
      {"", {}, ""},
      {"no conversions", {1}, "no conversions"},
  };
  for (const FormatCase& C : Cases) {
    SCOPED_TRACE(C.Fmt);
    EXPECT_EQ(Format(C.Fmt, C.Args), C.Expected);
  }
}

TEST(Format, BadFormatsAndArgumentsRaiseConvertErrorWithTheFormatText) {
  const FormatCase Invalid[] = {
      {"%d", {1.5}, nullptr},     {"%f", {1}, nullptr}, {"%s", {1}, nullptr},
      {"%x", {"a"}, nullptr},     {"%p", {1}, nullptr}, {"%d", {"1"}, nullptr},
      {"50%", {1}, nullptr},      {"%5", {1}, nullptr}, {"%c", {'a'}, nullptr},
      {"%*d", {"w", 1}, nullptr}, {"%q", {1}, nullptr},
  };
  for (const FormatCase& C : Invalid) {
    SCOPED_TRACE(C.Fmt);
    try {
      Format(C.Fmt, C.Args);
      ADD_FAILURE() << "no exception";
    } catch (const EConvertError& E) {
      EXPECT_EQ(E.Message(),
                "Format '" + String(C.Fmt) + "' invalid or incompatible with argument");
    }
  }
  const FormatCase Missing[] = {{"%d %d", {1}, nullptr},
                                {"%s", {}, nullptr},
                                {"%2:d", {1, 2}, nullptr},
                                {"%*d", {3}, nullptr}};
  for (const FormatCase& C : Missing) {
    SCOPED_TRACE(C.Fmt);
    try {
      Format(C.Fmt, C.Args);
      ADD_FAILURE() << "no exception";
    } catch (const EConvertError& E) {
      EXPECT_EQ(E.Message(), "No argument for format '" + String(C.Fmt) + "'");
    }
  }
}

TEST(Format, StringArgumentsKeepEmbeddedNulsAndFixedFloatHelperRounds) {
  const String WithNul("a\0b", 3);
  EXPECT_EQ(Format("[%s]", {WithNul}), String("[a\0b]", 5));
  EXPECT_EQ(FormatFloatFixed(2.675, 2), "2.67");  // 2.675 is below the tie as a double
  // A long double keeps digits a double would lose.
  EXPECT_EQ(FormatFloatFixed(1.0L + 0x1p-60L, 18), "1.000000000000000001");
  EXPECT_EQ(Format("%.18f", {static_cast<double>(1.0L + 0x1p-60L)}), "1.000000000000000000");
  EXPECT_EQ(FormatFloatFixed(-1.5, 0), "-2");
  EXPECT_EQ(FormatFloatFixed(12.0, -1), "12");
}

}  // namespace
