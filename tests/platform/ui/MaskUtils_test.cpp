// Edit masks without windows: reading, formatting, position checks and literal skipping.
#include <gtest/gtest.h>

#include "platform/ui/MaskUtils.h"

TEST(MaskUtils, FormatsValuesIntoTheShownText) {
  struct Case {
    const char* Mask;
    const char* Value;
    const char* Shown;
    const char* Text;
  } Cases[] = {
      {"!90:00;1; ", "", "  :  ", "  :  "},
      {"!90:00:00;1; ", "", "  :  :  ", "  :  :  "},
      {"!90:00:00.000;1; ", "", "  :  :  .   ", "  :  :  .   "},
      {"!90:00:00.000;1; ", "12:34:56.789", "12:34:56.789", "12:34:56.789"},
      {"!90:00:00;1; ", "5:06:07", " 5:06:07", " 5:06:07"},
      {"!>LL-0000;0;_", "ab1234", "AB-1234", "AB1234"},
      {"!>LL-0000;0;_", "", "__-____", "      "},
      {"<LL;1;_", "AB", "ab", "ab"},
      {">l<l<>l;1;_", "abC", "AbC", "AbC"},
      {"00/00;1;_", "1x/34", "1_/34", "1 /34"},
      {"aaa;1;*", "a1", "a1*", "a1 "},
      {"###;1;_", "+-5", "+-5", "+-5"},
      {"CCc;1;_", "?! ", "?!_", "?! "},
      {"\\L0_0;1;_", "L12", "L1 2", "L1 2"},
      {"00\\", "12\\", "12\\", "12\\"},
      {"", "free text", "free text", "free text"},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Mask);
    const TMaskInfo M = ParseEditMask(C.Mask);
    EXPECT_EQ(FormatMaskText(C.Mask, C.Value), C.Shown);
    EXPECT_EQ(MaskEditTextToText(M, C.Shown), C.Text);
  }
}

TEST(MaskUtils, PositionsTakeTheCharactersTheirMaskCharacterAllows) {
  const TMaskInfo M = ParseEditMask("LlAaCc09#:/_-;1;_");
  ASSERT_EQ(M.Count(), 13);
  struct Case {
    int Pos;
    char32_t Ch;
    bool Fits;
  } Cases[] = {
      {0, U'a', true},  {0, U'1', false}, {1, U'Z', true},  {2, U'7', true},  {2, U'-', false},
      {3, U'q', true},  {4, U'%', true},  {5, U' ', true},  {6, U'5', true},  {6, U'a', false},
      {7, U'0', true},  {8, U'-', true},  {8, U'+', true},  {8, U'x', false}, {9, U':', false},
      {10, U'/', false}, {11, U' ', false}, {13, U'1', false},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Pos);
    EXPECT_EQ(MaskCharFits(M, C.Pos, C.Ch), C.Fits);
  }
  const bool Required[] = {true, false, true, false, true, false, true, false, false, false, false, false, false};
  for (int I = 0; I < 13; ++I) EXPECT_EQ(MaskIsRequired(M, I), Required[I]) << I;
  EXPECT_EQ(MaskEmptyChar(M, 9), U':');
  EXPECT_EQ(MaskEmptyChar(M, 10), U'/');
  EXPECT_EQ(MaskEmptyChar(M, 11), U' ');
  EXPECT_EQ(MaskEmptyChar(M, 0), U'_');
}

TEST(MaskUtils, LiteralsAreSkippedBothWays) {
  const TMaskInfo M = ParseEditMask("!90:00:00.000;1; ");
  EXPECT_EQ(MaskNextInput(M, 2), 3);
  EXPECT_EQ(MaskNextInput(M, 3), 3);
  EXPECT_EQ(MaskNextInput(M, 12), 12);
  EXPECT_EQ(MaskPrevInput(M, 2), 1);
  EXPECT_EQ(MaskPrevInput(M, 8), 7);
  EXPECT_EQ(MaskPrevInput(M, -1), -1);
  const TMaskInfo Lead = ParseEditMask("--0;1;_");
  EXPECT_EQ(MaskPrevInput(Lead, 1), -1);
  EXPECT_EQ(MaskNextInput(Lead, 0), 2);
}

TEST(MaskUtils, ValidationFindsTheFirstBlankRequiredPosition) {
  const TMaskInfo M = ParseEditMask("!>LL-0000;0;_");
  Integer Pos = -1;
  EXPECT_FALSE(MaskValidate(M, "A_-____", Pos));
  EXPECT_EQ(Pos, 1);
  EXPECT_FALSE(MaskValidate(M, "AB-12_4", Pos));
  EXPECT_EQ(Pos, 5);
  EXPECT_TRUE(MaskValidate(M, "AB-1234", Pos));
  // Optional positions may stay blank.
  EXPECT_TRUE(MaskValidate(ParseEditMask("!90:00;1; "), " 1:23", Pos));
}

TEST(MaskUtils, MaskFieldsAndTheirDefaults) {
  const TMaskInfo Plain = ParseEditMask("00");
  EXPECT_TRUE(Plain.SaveLiterals);
  EXPECT_EQ(Plain.Blank, U'_');
  EXPECT_FALSE(Plain.Reverse);
  const TMaskInfo Escaped = ParseEditMask("0\\;0;0;*");
  EXPECT_EQ(Escaped.Count(), 3);
  EXPECT_FALSE(Escaped.SaveLiterals);
  EXPECT_EQ(Escaped.Blank, U'*');
  EXPECT_FALSE(ParseEditMask("").IsMasked());
}

TEST(MaskUtils, LettersAndCaseBeyondAscii) {
  const TMaskInfo M = ParseEditMask(">LL;1;_");
  EXPECT_TRUE(MaskCharFits(M, 0, U'\u00e9'));
  EXPECT_EQ(MaskApplyCase(M, 0, U'\u00e9'), U'\u00c9');
  EXPECT_FALSE(MaskCharFits(M, 0, U'\u20ac'));
  EXPECT_EQ(FormatMaskText(">LL;1;_", "\xC3\xA9z"), "\xC3\x89Z");
}
