#include "platform/rtl/Utf8.h"

#include <gtest/gtest.h>

namespace {

// "Grüße, 日本 🎬": ü and ß take 2 bytes, the CJK letters 3, the clapper board 4.
const String Mixed =
    "Gr\xC3\xBC\xC3\x9F"
    "e, \xE6\x97\xA5\xE6\x9C\xAC \xF0\x9F\x8E\xAC";

TEST(Utf8, LengthCountsCodePointsAndEachInvalidByteOnce) {
  struct Case {
    String Text;
    Integer Length;
  } Cases[] = {
      {"", 0},
      {"abc", 3},
      {Mixed, 11},
      {"\xFF", 1},              // never a UTF-8 byte
      {"a\x80z", 3},            // stray continuation byte
      {"\xC3", 1},              // sequence cut at the end
      {"\xC3(", 2},             // lead byte without its continuation
      {"\xC0\xAF", 2},          // overlong '/'
      {"\xED\xA0\x80", 3},      // encoded surrogate
      {"\xF4\x90\x80\x80", 4},  // above U+10FFFF
      {"\xE6\x97", 2},          // 3-byte sequence cut short
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(testing::PrintToString(C.Text));
    EXPECT_EQ(Utf8Length(C.Text), C.Length);
  }
}

TEST(Utf8, CodePointRoundTripKeepsInvalidBytes) {
  const String Texts[] = {Mixed, "a\x80z\xFF", "\xC3", "\xED\xA0\x80x", String("nul\0in", 6)};
  for (const String& Text : Texts) {
    SCOPED_TRACE(testing::PrintToString(Text));
    const std::u32string Points = Utf8ToCodePoints(Text);
    EXPECT_EQ(static_cast<Integer>(Points.size()), Utf8Length(Text));
    EXPECT_EQ(CodePointsToUtf8(Points), Text);
  }
  EXPECT_EQ(Utf8ToCodePoints(Mixed)[2], U'\u00FC');
  EXPECT_EQ(Utf8ToCodePoints(Mixed)[10], U'\U0001F3AC');
  EXPECT_EQ(CodePointToUtf8(U'\u20AC'), "\xE2\x82\xAC");
  EXPECT_EQ(CodePointToUtf8(0xD800), "\xEF\xBF\xBD");  // a surrogate is not text
  EXPECT_EQ(CodePointToUtf8(0x110000), "\xEF\xBF\xBD");
}

TEST(Utf8, CopyPosDeleteInsertCountCodePointsFromOne) {
  EXPECT_EQ(Copy(Mixed, 3, 2), "\xC3\xBC\xC3\x9F");
  EXPECT_EQ(Copy(Mixed, 9, 100), "\xE6\x9C\xAC \xF0\x9F\x8E\xAC");
  EXPECT_EQ(Copy(Mixed, 0, 2), "Gr");  // an index below 1 counts as 1
  EXPECT_EQ(Copy(Mixed, 12, 1), "");
  EXPECT_EQ(Copy(Mixed, 2, 0), "");
  EXPECT_EQ(Copy(Mixed, 2, -1), "");

  EXPECT_EQ(Pos("\xE6\x9C\xAC", Mixed), 9);
  EXPECT_EQ(Pos(" \xF0\x9F\x8E\xAC", Mixed), 10);
  EXPECT_EQ(Pos("x", Mixed), 0);
  EXPECT_EQ(Pos("", Mixed), 0);
  EXPECT_EQ(PosEx("a", "abca", 2), 4);
  EXPECT_EQ(PosEx("a", "abca", 5), 0);
  // A stray byte must not match the inside of a longer character.
  EXPECT_EQ(Pos("\xBC", "\xC3\xBC\xBC"), 2);
  EXPECT_EQ(Pos("\xC3", "\xC3\xBC"), 0);

  String S = Mixed;
  Delete(S, 3, 2);
  EXPECT_EQ(S, "Gre, \xE6\x97\xA5\xE6\x9C\xAC \xF0\x9F\x8E\xAC");
  Delete(S, 5, 100);
  EXPECT_EQ(S, "Gre,");
  Delete(S, 0, 2);  // out of range: unchanged
  Delete(S, 5, 1);
  EXPECT_EQ(S, "Gre,");

  Insert("\xC3\xBC", S, 3);
  EXPECT_EQ(S,
            "Gr\xC3\xBC"
            "e,");
  Insert("!", S, 100);
  Insert("<", S, 0);
  EXPECT_EQ(S,
            "<Gr\xC3\xBC"
            "e,!");
}

TEST(Utf8, ByteAndCodePointIndexesConvert) {
  EXPECT_EQ(Utf8ByteOffset(Mixed, 1), 0u);
  EXPECT_EQ(Utf8ByteOffset(Mixed, 4), 4u);
  EXPECT_EQ(Utf8ByteOffset(Mixed, 11), 16u);
  EXPECT_EQ(Utf8ByteOffset(Mixed, 12), Mixed.size());
  EXPECT_EQ(Utf8ByteOffset(Mixed, 99), Mixed.size());
  EXPECT_EQ(Utf8CharIndex(Mixed, 0), 1);
  EXPECT_EQ(Utf8CharIndex(Mixed, 3), 3);  // second byte of ü
  EXPECT_EQ(Utf8CharIndex(Mixed, 4), 4);
  EXPECT_EQ(Utf8CharIndex(Mixed, Mixed.size()), 12);
}

TEST(Utf8, AsciiCaseHelpersLeaveOtherBytesAlone) {
  EXPECT_EQ(UpperCase("abc\xC3\xBCz"), "ABC\xC3\xBCZ");
  EXPECT_EQ(LowerCase("ABC\xC3\x9CZ"), "abc\xC3\x9Cz");
  EXPECT_TRUE(SameText("Video.MP4", "video.mp4"));
  EXPECT_FALSE(SameText("\xC3\xBC", "\xC3\x9C"));
  EXPECT_FALSE(SameText("abc", "abcd"));
  EXPECT_LT(CompareText("apple", "Banana"), 0);
  EXPECT_GT(CompareText("b", "A"), 0);
  EXPECT_LT(CompareText("ab", "abc"), 0);
  EXPECT_EQ(CompareText("ABC", "abc"), 0);
  EXPECT_GT(CompareStr("a", "B"), 0);         // byte order
  EXPECT_LT(CompareStr("a", "\xC3\xBC"), 0);  // bytes compare unsigned
  EXPECT_TRUE(StartsText("VIDEO", "video.mp4"));
  EXPECT_TRUE(EndsText(".MP4", "video.mp4"));
  EXPECT_FALSE(EndsText("long.mp4", "mp4"));
  EXPECT_TRUE(StartsStr("vid", "video"));
  EXPECT_FALSE(StartsStr("Vid", "video"));
  EXPECT_FALSE(EndsStr("video.mp4x", "mp4"));
}

TEST(Utf8, TrimRemovesSpacesAndControlsButNotMultibyteText) {
  EXPECT_EQ(Trim(" \t\r\n a b \x01"), "a b");
  EXPECT_EQ(TrimLeft("  x  "), "x  ");
  EXPECT_EQ(TrimRight("  x  "), "  x");
  EXPECT_EQ(Trim("\xC2\xA0x\xC2\xA0"), "\xC2\xA0x\xC2\xA0");
  EXPECT_EQ(Trim("   "), "");
}

TEST(Utf8, StringReplaceHonoursFlags) {
  struct Case {
    const char* Text;
    const char* Old;
    const char* New;
    TReplaceFlags Flags;
    const char* Result;
  } Cases[] = {
      {"a.b.c", ".", "::", {}, "a::b.c"},
      {"a.b.c", ".", "::", {rfReplaceAll}, "a::b::c"},
      {"Foo foo FOO", "foo", "x", {rfReplaceAll}, "Foo x FOO"},
      {"Foo foo FOO", "foo", "x", {rfReplaceAll, rfIgnoreCase}, "x x x"},
      {"Foo foo", "FOO", "x", {rfIgnoreCase}, "x foo"},
      {"aaa", "aa", "a", {rfReplaceAll}, "aa"},  // no re-scan of replaced text
      {"abc", "", "x", {rfReplaceAll}, "abc"},
      {"abc", "b", "", {rfReplaceAll}, "ac"},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Text + String(" / ") + C.Old);
    EXPECT_EQ(StringReplace(C.Text, C.Old, C.New, C.Flags), C.Result);
  }
}

TEST(Utf8, IntToHexUsesTheValuesOwnWidth) {
  EXPECT_EQ(IntToHex(255, 4), "00FF");
  EXPECT_EQ(IntToHex(0, 0), "0");
  EXPECT_EQ(IntToHex(0x1234ABCD, 2), "1234ABCD");
  EXPECT_EQ(IntToHex(Integer{-1}, 2), "FFFFFFFF");
  EXPECT_EQ(IntToHex(Int64{-2}, 1), "FFFFFFFFFFFFFFFE");
  EXPECT_EQ(IntToHex(Byte{0xAB}, 1), "AB");
  EXPECT_EQ(StringOfChar('-', 3), "---");
  EXPECT_EQ(StringOfChar('-', -3), "");
}

}  // namespace

TEST(Utf8, CaseOfOneCodePointFollowsUnicode) {
  struct Case {
    char32_t In, Upper, Lower;
    bool Letter;
  } Cases[] = {
      {U'a', U'A', U'a', true},           {U'\u00e9', U'\u00c9', U'\u00e9', true},
      {U'\u0416', U'\u0416', U'\u0436', true}, {U'7', U'7', U'7', false},
      {U'\u20ac', U'\u20ac', U'\u20ac', false},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(static_cast<unsigned>(C.In));
    EXPECT_EQ(UpperCaseChar(C.In), C.Upper);
    EXPECT_EQ(LowerCaseChar(C.In), C.Lower);
    EXPECT_EQ(IsLetterChar(C.In), C.Letter);
  }
}
