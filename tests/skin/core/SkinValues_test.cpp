// Text forms of skin values: integers, booleans, points, rectangles, font styles, the
// keyword enumerations with their absent defaults and fallbacks, string and line lists,
// and JPEG skin pictures.
#include "skin/core/data/SkinValues.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/rtl/Exceptions.h"
#include "platform/ui/Jpeg.h"
#include "tests/skin/core/SkinDescriptors_TestKit.h"
#include "tests/support/TempDir.h"

using vantrel::test::IniFromText;
using vantrel::test::RectText;

namespace {

// [s] with "k=<Value>", or an empty [s] holding only another key when Value is null.
TOwned<TMemIniFile> OneKey(const char* Value) {
  return IniFromText(Value ? std::string("[s]\nk=") + Value : std::string("[s]\nother=1"));
}

TEST(SkinValues, IntegersTakeHexPrefixesAndFallBackToTheDefault) {
  struct Case {
    const char* Text;
    Integer Expected;
  } Cases[] = {{"0x1F", 31}, {"0X1f", 31}, {"$10", 16}, {"-12", -12}, {"abc", 7},
               {"", 7},      {nullptr, 7}, {"99999999999", 7}};
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Text ? C.Text : "(absent)");
    EXPECT_EQ(OneKey(C.Text)->ReadInteger("s", "k", 7), C.Expected);
  }
}

TEST(SkinValues, BooleanIsTrueOnlyForTheIntegerOne) {
  struct Case {
    const char* Text;
    bool Expected;
  } Cases[] = {{"1", true},  {"01", true},    {"0x1", true}, {"2", false},
               {"-1", false}, {"true", false}, {"", false},   {nullptr, false}};
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Text ? C.Text : "(absent)");
    auto Ini = OneKey(C.Text);
    EXPECT_EQ(ReadIniBoolean(Ini.get(), "s", "k"), C.Expected);
  }
  auto Ini = IniFromText("");
  WriteIniBoolean(Ini.get(), "s", "t", true);
  WriteIniBoolean(Ini.get(), "s", "f", false);
  EXPECT_EQ(Ini->ReadString("s", "t", "?"), "1");
  EXPECT_EQ(Ini->ReadString("s", "f", "?"), "0");
}

TEST(SkinValues, RectanglesKeepOnlyTheDigitsOfEachField) {
  struct Case {
    const char* Text;
    TRect Expected;
  } Cases[] = {
      {"10,20,30,40", {10, 20, 30, 40}},
      {"10,-20,30,40", {10, 20, 30, 40}},       // the sign is dropped
      {" 1 2 , 3,4 ,x5y", {12, 3, 4, 5}},        // blanks and letters dropped, digits join
      {"007,0,0,2147483647", {7, 0, 0, 2147483647}},
      {"1,2,3,4,5,6", {1, 2, 3, 4}},             // fields past the fourth are ignored
      {nullptr, {0, 0, 0, 0}},                   // absent key
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Text ? C.Text : "(absent)");
    auto Ini = OneKey(C.Text);
    TRect R{9, 9, 9, 9};
    ReadIniRect(Ini.get(), "s", "k", R);
    EXPECT_EQ(RectText(R), RectText(C.Expected));
  }
}

TEST(SkinValues, PointsKeepOnlyTheDigitsOfEachField) {
  auto Ini = IniFromText("[s]\na=-5,10\nb= 3 , 4 \nc=1,2,3");
  TPoint P{9, 9};
  ReadIniPoint(Ini.get(), "s", "a", P);
  EXPECT_TRUE(P == Point(5, 10));
  ReadIniPoint(Ini.get(), "s", "b", P);
  EXPECT_TRUE(P == Point(3, 4));
  ReadIniPoint(Ini.get(), "s", "c", P);
  EXPECT_TRUE(P == Point(1, 2));
  ReadIniPoint(Ini.get(), "s", "absent", P);
  EXPECT_TRUE(P == Point(0, 0));
}

TEST(SkinValues, AFieldWithoutDigitsFailsWithTheConversionError) {
  struct Case {
    const char* Text;
    bool IsRect;
    const char* Message;
  } Cases[] = {
      {"10,20,30", true, "'' is not a valid integer value"},        // three numbers
      {"", true, "'' is not a valid integer value"},                // present but empty
      {"a,b,c,d", true, "'' is not a valid integer value"},
      {"1,2,,4", true, "'' is not a valid integer value"},
      {"1,2,3,99999999999", true, "'99999999999' is not a valid integer value"},
      {"1,2,3,2147483648", true, "'2147483648' is not a valid integer value"},
      {"5", false, "'' is not a valid integer value"},              // a point needs two
      {"-,-", false, "'' is not a valid integer value"},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Text);
    auto Ini = OneKey(C.Text);
    try {
      if (C.IsRect) {
        TRect R;
        ReadIniRect(Ini.get(), "s", "k", R);
      } else {
        TPoint P;
        ReadIniPoint(Ini.get(), "s", "k", P);
      }
      ADD_FAILURE() << "no error";
    } catch (const EConvertError& E) {
      EXPECT_EQ(E.Message(), C.Message);
    }
  }
}

TEST(SkinValues, WrittenRectanglesAndPointsKeepTheSignButReadBackWithoutIt) {
  auto Ini = IniFromText("");
  WriteIniRect(Ini.get(), "s", "r", Rect(-1, 2, -3, 4));
  WriteIniPoint(Ini.get(), "s", "p", Point(-7, 8));
  EXPECT_EQ(Ini->ReadString("s", "r", ""), "-1,2,-3,4");
  EXPECT_EQ(Ini->ReadString("s", "p", ""), "-7,8");
  EXPECT_EQ(RectToStr(Rect(0, 10, 200, 3000)), "0,10,200,3000");
  TRect R;
  TPoint P;
  ReadIniRect(Ini.get(), "s", "r", R);
  ReadIniPoint(Ini.get(), "s", "p", P);
  EXPECT_EQ(RectText(R), "1,2,3,4");
  EXPECT_TRUE(P == Point(7, 8));
}

TEST(SkinValues, FontStylesAreFoundAsWordsAnywhereAndWrittenInOrder) {
  struct Case {
    const char* Text;
    TFontStyles Expected;
  } Cases[] = {
      {"fsitalic,fsbold", {fsBold, fsItalic}},
      {"xfsunderlinex fsstrikeout", {fsUnderline, fsStrikeOut}},
      {"FSBOLD", {}},  // case matters
      {"", {}},
      {nullptr, {}},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Text ? C.Text : "(absent)");
    auto Ini = OneKey(C.Text);
    EXPECT_EQ(ReadIniFontStyles(Ini.get(), "s", "k").Bits(), C.Expected.Bits());
  }
  auto Ini = IniFromText("");
  WriteIniFontStyles(Ini.get(), "s", "two", {fsItalic, fsBold});
  WriteIniFontStyles(Ini.get(), "s", "all", {fsStrikeOut, fsUnderline, fsItalic, fsBold});
  WriteIniFontStyles(Ini.get(), "s", "none", {});
  EXPECT_EQ(Ini->ReadString("s", "two", "?"), "fsbold,fsitalic");
  EXPECT_EQ(Ini->ReadString("s", "all", "?"), "fsbold,fsitalic,fsunderline,fsstrikeout");
  EXPECT_EQ(Ini->ReadString("s", "none", "?"), "");
}

TEST(SkinValues, KeywordsReadExactlyWithTheirAbsentDefaultAndOtherFallback) {
  struct Case {
    const char* Text;
    TAlignment Alignment;
    TspStretchType Stretch;
    TMorphKind Morph;
    TspInActiveEffect Effect;
  } Cases[] = {
      {nullptr, taCenter, spstFull, mkDefault, ieBrightness},  // absent
      {"", taRightJustify, spstHorz, mkDefault, ieGrayScale},  // present, matches nothing
      {"Tacenter", taRightJustify, spstHorz, mkDefault, ieGrayScale},
      {"iegreyscale", taRightJustify, spstHorz, mkDefault, ieGrayScale},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Text ? C.Text : "(absent)");
    auto Ini = OneKey(C.Text);
    EXPECT_EQ(ReadIniAlignment(Ini.get(), "s", "k"), C.Alignment);
    EXPECT_EQ(ReadIniStretchType(Ini.get(), "s", "k"), C.Stretch);
    EXPECT_EQ(ReadIniMorphKind(Ini.get(), "s", "k"), C.Morph);
    EXPECT_EQ(ReadIniInActiveEffect(Ini.get(), "s", "k"), C.Effect);
  }
  // The words in enumeration order.
  auto Ini = IniFromText(
      "[s]\na=taleftjustify\nb=tarightjustify\nc=tacenter\nd=stfull\ne=sthorz\nf=stvert\n"
      "g=mkpush\nh=mkleftslide\ni=ieinvert\nj=iedarkness\nk=ienoise");
  EXPECT_EQ(ReadIniAlignment(Ini.get(), "s", "a"), taLeftJustify);
  EXPECT_EQ(ReadIniAlignment(Ini.get(), "s", "b"), taRightJustify);
  EXPECT_EQ(ReadIniAlignment(Ini.get(), "s", "c"), taCenter);
  EXPECT_EQ(ReadIniStretchType(Ini.get(), "s", "d"), spstFull);
  EXPECT_EQ(ReadIniStretchType(Ini.get(), "s", "e"), spstHorz);
  EXPECT_EQ(ReadIniStretchType(Ini.get(), "s", "f"), spstVert);
  EXPECT_EQ(ReadIniMorphKind(Ini.get(), "s", "g"), mkPush);
  EXPECT_EQ(ReadIniMorphKind(Ini.get(), "s", "h"), mkLeftSlide);
  EXPECT_EQ(ReadIniInActiveEffect(Ini.get(), "s", "i"), ieInvert);
  EXPECT_EQ(ReadIniInActiveEffect(Ini.get(), "s", "j"), ieDarkness);
  EXPECT_EQ(ReadIniInActiveEffect(Ini.get(), "s", "k"), ieNoise);
}

TEST(SkinValues, EveryKeywordValueReadsBackAsWritten) {
  auto Ini = IniFromText("");
  for (int v = taLeftJustify; v <= taCenter; ++v) {
    WriteIniAlignment(Ini.get(), "s", "k", static_cast<TAlignment>(v));
    EXPECT_EQ(ReadIniAlignment(Ini.get(), "s", "k"), v);
  }
  for (int v = spstFull; v <= spstVert; ++v) {
    WriteIniStretchType(Ini.get(), "s", "k", static_cast<TspStretchType>(v));
    EXPECT_EQ(ReadIniStretchType(Ini.get(), "s", "k"), v);
  }
  for (int v = mkDefault; v <= mkPush; ++v) {
    WriteIniMorphKind(Ini.get(), "s", "k", static_cast<TMorphKind>(v));
    EXPECT_EQ(ReadIniMorphKind(Ini.get(), "s", "k"), v);
  }
  for (int v = ieBrightness; v <= ieInvert; ++v) {
    WriteIniInActiveEffect(Ini.get(), "s", "k", static_cast<TspInActiveEffect>(v));
    EXPECT_EQ(ReadIniInActiveEffect(Ini.get(), "s", "k"), v);
  }
  WriteIniStretchType(Ini.get(), "s", "k", spstVert);
  EXPECT_EQ(Ini->ReadString("s", "k", ""), "stvert");
  WriteIniInActiveEffect(Ini.get(), "s", "k", ieSplitBlur);
  EXPECT_EQ(Ini->ReadString("s", "k", ""), "iesplitblur");
}

std::vector<std::string> Items(const TStrings& L) {
  std::vector<std::string> R;
  for (Integer i = 0; i < L.Count(); ++i) R.push_back(L.Get(i));
  return R;
}

TEST(SkinValues, StringListsReadTheirCountOfNumberedKeysAndAppend) {
  auto Ini = IniFromText(
      "[CURSORS]\ncursorsCount=2\n0=a.cur\n1=b.cur\n2=unread.cur\n"
      "[neg]\ncursorscount=-3\n0=x\n"
      "[gap]\ncursorscount=3\n0=x\n2=z\nother=1\n");
  TStringList L;
  L.Add("kept");
  ReadIniStrings(Ini.get(), "cursors", "cursors", &L);
  EXPECT_EQ(Items(L), (std::vector<std::string>{"kept", "a.cur", "b.cur"}));

  TStringList Neg;
  ReadIniStrings(Ini.get(), "neg", "cursors", &Neg);
  EXPECT_EQ(Neg.Count(), 0);

  TStringList Gap;  // a missing line within the count reads as empty
  ReadIniStrings(Ini.get(), "gap", "cursors", &Gap);
  EXPECT_EQ(Items(Gap), (std::vector<std::string>{"x", "", "z"}));
}

TEST(SkinValues, ListsWriteTheirCountAndLinesAndReadThemBack) {
  auto Ini = IniFromText("");
  TStringList L;
  for (const char* S : {"one", "two", "three"}) L.Add(S);
  WriteIniStrings(Ini.get(), "p", "activepictures", &L);
  WriteIniLines(Ini.get(), "b", "symbols", &L);
  EXPECT_EQ(vantrel::test::SectionKeys(*Ini, "p"),
            (std::vector<std::string>{"activepicturescount", "0", "1", "2"}));
  EXPECT_EQ(vantrel::test::SectionKeys(*Ini, "b"),
            (std::vector<std::string>{"symbolslinecount", "symbolsline0", "symbolsline1",
                                      "symbolsline2"}));
  TStringList S, Lines;
  ReadIniStrings(Ini.get(), "p", "activepictures", &S);
  ReadIniLines(Ini.get(), "b", "symbols", &Lines);
  EXPECT_EQ(Items(S), Items(L));
  EXPECT_EQ(Items(Lines), Items(L));
}

TEST(SkinValues, AHugeListCountReadsOnlyTheLinesPresent) {
  // The count promises billions of lines; reading them all would exhaust memory.
  auto Ini = IniFromText(
      "[s]\nxcount=2147483647\n0=a\n1=b\n"
      "[t]\nsymbolslinecount=2000000000\nsymbolsline0=a\nSYMBOLSLINE3=d\nsymbolsline00=no\n"
      "[u]\nxcount=1000000000\n");
  TStringList S, T, U;
  ReadIniStrings(Ini.get(), "s", "x", &S);
  ReadIniLines(Ini.get(), "t", "symbols", &T);
  ReadIniStrings(Ini.get(), "u", "x", &U);
  EXPECT_EQ(Items(S), (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(Items(T), (std::vector<std::string>{"a", "", "", "d"}));
  EXPECT_EQ(U.Count(), 0);
}

TEST(SkinValues, JpegNamesAreRecognisedByTheirEndingAnywhereWithCase) {
  struct Case {
    const char* Name;
    bool Jpeg;
  } Cases[] = {{"skin.jpg", true},      {"skin.jpeg", true}, {"a.jpg.bmp", true},
               {"SKIN.JPG", false},     {"skin.bmp", false}, {"skin.jpe", false},
               {"jpg", false},          {"", false}};
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    EXPECT_EQ(IsJpegFileName(C.Name), C.Jpeg);
  }
}

TEST(SkinValues, JpegPictureIsDrawnIntoTheBitmapKeepingItsPixelFormat) {
  vantrel::test::TTempDir Dir;
  TBitmap Source;
  Source.SetPixelFormat(pf24bit);
  Source.SetSize(40, 24);
  Source.Canvas()->Brush()->SetColor(clRed);
  Source.Canvas()->FillRect(Rect(0, 0, 20, 24));
  Source.Canvas()->Brush()->SetColor(clBlue);
  Source.Canvas()->FillRect(Rect(20, 0, 40, 24));
  TJPEGImage Jpeg;
  Jpeg.Assign(&Source);
  const std::string Name = Dir.File("pic.jpg");
  Jpeg.SaveToFile(Name);

  TBitmap Target;
  Target.SetPixelFormat(pf32bit);
  Target.SetSize(3, 3);
  LoadJpegToBitmap(&Target, Name);
  EXPECT_EQ(Target.Width(), 40);
  EXPECT_EQ(Target.Height(), 24);
  EXPECT_EQ(Target.PixelFormat(), pf32bit);
  const COLORREF Left = static_cast<COLORREF>(Target.Canvas()->Pixels(5, 12));
  const COLORREF Right = static_cast<COLORREF>(Target.Canvas()->Pixels(35, 12));
  EXPECT_GT(GetRValue(Left), 200);
  EXPECT_LT(GetBValue(Left), 50);
  EXPECT_GT(GetBValue(Right), 200);
  EXPECT_LT(GetRValue(Right), 50);
}

TEST(SkinValues, MissingOrDamagedJpegRaisesThePlatformError) {
  vantrel::test::TTempDir Dir;
  TBitmap Target;
  EXPECT_THROW(LoadJpegToBitmap(&Target, Dir.File("missing.jpg")), EFOpenError);
  vantrel::test::WriteFileBytes(Dir.File("bad.jpg"), "not a jpeg at all");
  EXPECT_THROW(LoadJpegToBitmap(&Target, Dir.File("bad.jpg")), EInvalidGraphic);
  vantrel::test::WriteFileBytes(Dir.File("empty.jpg"), "");
  EXPECT_THROW(LoadJpegToBitmap(&Target, Dir.File("empty.jpg")), EInvalidGraphic);
  EXPECT_TRUE(Target.Empty());
}

}  // namespace
