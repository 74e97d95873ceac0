// skin.ini as a skin load reads it: every read gives what the class library's profile
// reader (TIniFile) gives for the same file, whatever the file's line ends, encoding, case,
// comments and repeated names; a missing file reads as empty and writes are refused.
#include "skin/core/data/SkinIniFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/IniFiles.h"
#include "platform/rtl/NumConv.h"
#include "skin/core/data/SkinDescriptors.h"
#include "tests/support/TempDir.h"

using vantrel::skin::SkinIniFile;
using vantrel::test::TTempDir;
using vantrel::test::WriteFileBytes;

namespace {

std::vector<std::string> ListOf(TStrings& L) {
  std::vector<std::string> R;
  for (Integer i = 0; i < L.Count(); ++i) R.push_back(L.Get(i));
  return R;
}

// Every section and key name the text could be asked for, in other cases too, and names it
// does not hold.
void ExpectSameReads(SkinIniFile& Skin, TIniFile& Profile, const std::vector<std::string>& Sections,
                     const std::vector<std::string>& Keys) {
  TStringList A, B;
  Skin.ReadSections(A);
  Profile.ReadSections(B);
  EXPECT_EQ(ListOf(A), ListOf(B)) << "sections";
  for (const std::string& S : Sections) {
    SCOPED_TRACE("section [" + S + "]");
    EXPECT_EQ(Skin.SectionExists(S), Profile.SectionExists(S));
    Skin.ReadSection(S, A);
    Profile.ReadSection(S, B);
    EXPECT_EQ(ListOf(A), ListOf(B)) << "keys";
    Skin.ReadSectionValues(S, A);
    Profile.ReadSectionValues(S, B);
    EXPECT_EQ(ListOf(A), ListOf(B)) << "values";
    for (const std::string& K : Keys) {
      EXPECT_EQ(Skin.ReadString(S, K, "(absent)"), Profile.ReadString(S, K, "(absent)")) << "key " << K;
      EXPECT_EQ(Skin.ReadInteger(S, K, -99), Profile.ReadInteger(S, K, -99)) << "number " << K;
    }
  }
}

}  // namespace

TEST(SkinIniFile, ReadsEveryFileAsTheProfileReaderDoes) {
  const std::string Long(3000, 'x');
  const std::string Umlauts = std::string(2046, 'a') + "\xC3\xA4\xC3\xB6";  // cut inside the text
  struct Case {
    const char* Name;
    std::string Bytes;
  } Cases[] = {
      {"line ends", "[A]\r\nk=1\r\n[B]\nk=2\n\r[C]\rk=3\rj = 4"},
      {"blanks and tabs", "  [ Spaced ]  \n\t key \t=\t value with  inner  blanks \t\n"},
      {"case of names", "[Main]\nKey=upper\n[main]\nkey=second section\n[OTHER]\nkEy=x\nKEY=y\n"},
      {"comments and stray lines", "k=before any section\n[s]\n;k=comment\nno equals sign\n k = v \n[x\n"},
      {"repeated section", "[s]\na=1\n[t]\nb=2\n[S]\na=3\nc=4\n"},
      {"values holding = and ;", "[s]\nk==a=b\ne=\n=empty key\nsemi=;x\n"},
      {"empty sections", "[empty]\n[comments only]\n;x=1\n[s]\nk=1\n[]\nk=2\n"},
      {"UTF-8 mark", "\xEF\xBB\xBF[s]\nk=\xC3\xA9t\xC3\xA9\n"},
      {"UTF-16 LE mark", std::string("\xFF\xFE[\0s\0]\0\n\0k\0=\0v\0", 16)},
      {"UTF-16 BE mark", std::string("\xFE\xFF\0[\0s\0]\0\n\0k\0=\0w", 16)},
      {"long values", "[s]\nlong=" + Long + "\nutf8=" + Umlauts + "\n"},
      {"no final line end", "[s]\nk=last"},
      {"numbers", "[s]\na=12\nb= -7 \nc=$1F\nk=abc\ne=\nj=99999999999\nkey=+3\nlong=" + std::string(2050, '0') + "5\n"},
      {"empty file", ""},
  };
  const std::vector<std::string> Sections = {"A", "b", "C", "Spaced", "Main", "MAIN", "other", "s", "S", "t",
                                             "x", "empty", "comments only", "", "missing"};
  const std::vector<std::string> Keys = {"k", "K", "j", "key", "Key", "KEY", "a", "b", "c", "e", "",
                                         "semi", "long", "utf8", ";k", "no equals sign", "missing"};
  TTempDir Dir;
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    const std::string File = Dir.File("skin.ini");
    WriteFileBytes(File, C.Bytes);
    SkinIniFile Skin(File);
    TIniFile Profile(File);
    ExpectSameReads(Skin, Profile, Sections, Keys);
  }
}

TEST(SkinIniFile, AFileThatCannotBeReadIsEmptyAndWritesAreRefused) {
  TTempDir Dir;
  for (const std::string& Name : {Dir.File("missing.ini"), Dir.Path(), std::string()}) {
    SCOPED_TRACE(Name);
    SkinIniFile Ini(Name);
    TStringList Sections;
    Ini.ReadSections(Sections);
    EXPECT_EQ(Sections.Count(), 0);
    EXPECT_EQ(Ini.ReadString("VERSION", "ver", "none"), "none");
    EXPECT_THROW(Ini.WriteString("VERSION", "ver", "2"), EIniFileException);
    EXPECT_THROW(Ini.EraseSection("VERSION"), EIniFileException);
    EXPECT_THROW(Ini.DeleteKey("VERSION", "ver"), EIniFileException);
  }
  // The file is never written.
  const std::string File = Dir.File("skin.ini");
  WriteFileBytes(File, "[s]\nk=1\n");
  SkinIniFile Ini(File);
  EXPECT_THROW(Ini.WriteString("s", "k", "2"), EIniFileException);
  Ini.UpdateFile();
  EXPECT_EQ(vantrel::test::ReadFileBytes(File), "[s]\nk=1\n");
  EXPECT_EQ(Ini.ReadString("s", "k", ""), "1");
}

namespace {

// What a descriptor holds after loading the file through Ini: its section as it saves it,
// or the message of the error the load raised.
template <class Create>
std::string LoadedThrough(TCustomIniFile& Ini, Create New) {
  auto D = New();
  try {
    D->LoadFromFile(&Ini);
  } catch (const Exception& E) {
    return "error: " + E.Message();
  }
  TMemIniFile Saved("");
  D->SaveToFile(&Saved);
  TStringList Values;
  Saved.ReadSectionValues("d", Values);
  return Values.Text();
}

// Text for every key of a descriptor in the shape its own value has (rectangle, point,
// number, other text), taken in turn from odd forms of each, starting Shift forms on;
// every seventh key is left out.
std::string SectionFor(TCustomIniFile& Defaults, int Shift) {
  const std::string Long(3000, 'x');
  const std::vector<std::string> Rects = {"1,2,3,4", " 10 , -20,30,40 ", "1,2,3,4,5", "$1,2,3,4", "0,0,0,0"};
  const std::vector<std::string> Points = {"5,6", " 7 , 8 ", "1,2,3", "-4,9"};
  const std::vector<std::string> Numbers = {"12", " -7 ", "$1F", "abc", "", "1", "+3", "99999999999",
                                            std::string(2050, '0') + "5", "0x10"};
  const std::vector<std::string> Texts = {"text", "", "fsbold,fsitalic", Long, "tacenter", "stvert", " padded "};
  TStringList Keys;
  Defaults.ReadSection("d", Keys);
  std::string Text = "[d]\n";
  for (Integer i = 0; i < Keys.Count(); ++i) {
    if ((i + Shift) % 7 == 6) continue;
    const std::string Key = Keys.Get(i);
    const std::string Default = Defaults.ReadString("d", Key, "");
    const auto Commas = std::count(Default.begin(), Default.end(), ',');
    Integer Number;
    const std::vector<std::string>& Forms = Commas == 3 ? Rects : Commas == 1 ? Points
                                            : TryStrToInt(Default, Number) ? Numbers : Texts;
    Text += Key + "=" + Forms[static_cast<size_t>(i + Shift) % Forms.size()] + "\n";
  }
  return Text;
}

template <class Kinds, class Create>
void ExpectSameDescriptors(const Kinds& AKinds, Create New, TTempDir& Dir) {
  for (const auto& Kind : AKinds) {
    SCOPED_TRACE(Kind.Keyword);
    TMemIniFile Defaults("");
    New(Kind)->SaveToFile(&Defaults);
    // Each key's forms shift by one file to the next, so every key meets every form.
    for (int Shift = 0; Shift < 10; ++Shift) {
      SCOPED_TRACE(Shift);
      const std::string File = Dir.File("skin.ini");
      WriteFileBytes(File, SectionFor(Defaults, Shift));
      SkinIniFile Skin(File);
      TIniFile Profile(File);
      EXPECT_EQ(LoadedThrough(Skin, [&] { return New(Kind); }), LoadedThrough(Profile, [&] { return New(Kind); }));
    }
  }
}

}  // namespace

// A descriptor reads the skin's ini straight from its index: every kind, with its keys in
// odd forms, ends up as it does when read through the class library's profile reader.
TEST(SkinIniFile, EveryDescriptorLoadsAsThroughTheProfileReader) {
  TTempDir Dir;
  ExpectSameDescriptors(vantrel::skin::SkinControlKinds(),
                        [](const vantrel::skin::SkinControlKind& K) { return vantrel::skin::CreateSkinControl(K.Keyword, "d"); },
                        Dir);
  ExpectSameDescriptors(vantrel::skin::SkinObjectKinds(),
                        [](const vantrel::skin::SkinObjectKind& K) { return vantrel::skin::CreateSkinObject(K.Keyword, "d"); },
                        Dir);
}
