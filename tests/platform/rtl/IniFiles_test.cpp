#include "platform/rtl/IniFiles.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/rtl/Exceptions.h"
#include "tests/support/TempDir.h"

using vantrel::test::ReadFileBytes;
using vantrel::test::TTempDir;
using vantrel::test::WriteFileBytes;

namespace {

std::vector<String> Items(const TStrings& L) {
  std::vector<String> R;
  for (Integer i = 0; i < L.Count(); ++i) R.push_back(L[i]);
  return R;
}
using V = std::vector<String>;

std::unique_ptr<TMemIniFile> FromText(const String& Text) {
  auto Ini = std::make_unique<TMemIniFile>("");
  TStringList L;
  L.SetText(Text);
  Ini->SetStrings(L);
  return Ini;
}

}  // namespace

TEST(IniFiles, LineRules) {
  TMemIniFile Ini("");
  TStringList L;
  L.SetText(
      "orphan=before any section\n"
      "  [ Main ]  \n"
      "  key =  spaced value  \n"
      "; comment=not a key\n"
      "Dup=first\n"
      "dup=second\n"
      "noequals\n"
      "empty=\n"
      "a=b=c\n"
      "\n"
      "[main]\n"
      "other=in the second [main]\n"
      "[Next]\n"
      "x=1\n");
  Ini.SetStrings(L);
  const struct {
    const char* Section;
    const char* Key;
    const char* Value;
  } Cases[] = {
      {"Main", "key", "spaced value"},       // both sides trimmed
      {"MAIN", "KEY", "spaced value"},       // names ignore case
      {"Main", "dup", "first"},              // first of two keys wins
      {"Main", "; comment", "<default>"},    // comments are no keys
      {"Main", "noequals", "<default>"},     // a line without "=" never matches
      {"Main", "empty", ""},                 // present but empty is not the default
      {"Main", "a", "b=c"},                  // the key ends at the first "="
      {"Main", "other", "<default>"},        // only the first [main] is read
      {"", "orphan", "<default>"},           // nothing before the first section is read
      {"next", "X", "1"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(String(C.Section) + "/" + C.Key);
    EXPECT_EQ(Ini.ReadString(C.Section, C.Key, "<default>"), C.Value);
  }
  TStringList Keys;
  Ini.ReadSection("main", Keys);
  EXPECT_EQ(Items(Keys), (V{"key", "Dup", "empty", "a"}));
  Ini.ReadSections(&Keys);
  EXPECT_EQ(Items(Keys), (V{"Main", "Next"}));
  Ini.ReadSectionValues("next", Keys);
  EXPECT_EQ(Items(Keys), (V{"x=1"}));
}

TEST(IniFiles, SectionExistsOnlyWithAKey) {
  auto Owned = FromText("[Empty]\n; just a comment\nnot a key\n[Full]\nk=v\n");
  TMemIniFile& Ini = *Owned;
  EXPECT_FALSE(Ini.SectionExists("Empty"));
  EXPECT_TRUE(Ini.SectionExists("FULL"));
  EXPECT_FALSE(Ini.SectionExists("Missing"));
  EXPECT_TRUE(Ini.ValueExists("full", "K"));
  EXPECT_FALSE(Ini.ValueExists("full", "v"));
}

TEST(IniFiles, TypedReadsAndWrites) {
  auto Owned = FromText("[S]\nhex=0x1F\ndollar=$10\nword=abc\nneg=-5\none=1\ntwo=2\nzero=0\nf=2.5\n");
  TMemIniFile& Ini = *Owned;
  EXPECT_EQ(Ini.ReadInteger("S", "hex", 0), 31);
  EXPECT_EQ(Ini.ReadInteger("S", "dollar", 0), 16);
  EXPECT_EQ(Ini.ReadInteger("S", "word", 7), 7);
  EXPECT_EQ(Ini.ReadInteger("S", "neg", 0), -5);
  EXPECT_EQ(Ini.ReadInteger("S", "absent", 9), 9);
  EXPECT_TRUE(Ini.ReadBool("S", "one", false));
  EXPECT_TRUE(Ini.ReadBool("S", "two", false));
  EXPECT_FALSE(Ini.ReadBool("S", "zero", true));
  EXPECT_TRUE(Ini.ReadBool("S", "word", true));  // unreadable: the default
  EXPECT_EQ(Ini.ReadFloat("S", "f", 0), 2.5);
  Ini.WriteInteger("S", "n", -12);
  Ini.WriteBool("S", "b", true);
  Ini.WriteFloat("S", "g", 0.5);
  EXPECT_EQ(Ini.ReadString("S", "n", ""), "-12");
  EXPECT_EQ(Ini.ReadString("S", "b", ""), "1");
  EXPECT_EQ(Ini.ReadString("S", "g", ""), "0.5");
}

TEST(IniFiles, EraseAndWriteAppendAtTheEnd) {
  auto Owned = FromText("[A]\na=1\n[B]\nb=1\nc=2\n[a]\nsecond=1\n[C]\nc=1\n");
  TMemIniFile& Ini = *Owned;
  Ini.WriteString("b", "C", "changed");  // keeps its place and the stored key's spelling
  Ini.WriteString("B", "new", "x");      // appended to its section
  Ini.EraseSection("a");                 // every [A] goes
  Ini.WriteString("A", "a", "again");    // back, at the end
  Ini.DeleteKey("B", "b");
  Ini.DeleteKey("B", "missing");
  TStringList Out;
  Ini.GetStrings(Out);
  EXPECT_EQ(Items(Out),
            (V{"[B]", "c=changed", "new=x", "", "[C]", "c=1", "", "[A]", "a=again", ""}));
}

TEST(IniFiles, UpdateFileKeepsUnknownSectionsCommentsAndWritesCrLf) {
  TTempDir Dir;
  const String Name = Dir.File("skin.ini");
  WriteFileBytes(Name, "; made by hand\n[OLD]\n; keep me\nx=1\n[VERSION]\nver=1\n");
  {
    TMemIniFile Ini(Name);
    Ini.EraseSection("VERSION");
    Ini.WriteInteger("VERSION", "ver", 2);
    Ini.WriteString("PICTURES", "picture", "frame.bmp");
    EXPECT_EQ(ReadFileBytes(Name).find("ver=2"), String::npos);  // nothing written yet
    Ini.UpdateFile();
  }
  EXPECT_EQ(ReadFileBytes(Name),
            "; made by hand\r\n[OLD]\r\n; keep me\r\nx=1\r\n\r\n[VERSION]\r\nver=2\r\n\r\n"
            "[PICTURES]\r\npicture=frame.bmp\r\n\r\n");
}

TEST(IniFiles, UpdateFileKeepsTheFilesEncoding) {
  TTempDir Dir;
  const String Name = Dir.File("u16.ini");
  WriteFileBytes(Name, String("\xFF\xFE[\0S\0]\0\n\0k\0=\0\xE9\0", 16));
  TMemIniFile Ini(Name);
  EXPECT_EQ(Ini.ReadString("S", "k", ""), "\xC3\xA9");
  EXPECT_EQ(Ini.Encoding(), teUTF16LE);
  Ini.WriteString("S", "k", "x");
  Ini.UpdateFile();
  EXPECT_EQ(ReadFileBytes(Name),
            String("\xFF\xFE[\0S\0]\0\r\0\n\0k\0=\0x\0\r\0\n\0\r\0\n\0", 26));
}

TEST(IniFiles, EntriesThatWouldNotReadBackAreRefused) {
  TMemIniFile Ini("");
  const struct {
    const char* Section;
    const char* Key;
    const char* Value;
  } Cases[] = {
      {"S", "k", "two\nlines"},
      {"S", "k", "cr\rhere"},
      {"S", "a=b", "v"},
      {"S", ";k", "v"},
      {"S\n[Evil]", "k", "v"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Key);
    EXPECT_THROW(Ini.WriteString(C.Section, C.Key, C.Value), EIniFileException);
  }
  TStringList Out;
  Ini.GetStrings(Out);
  EXPECT_EQ(Out.Count(), 0);
}

TEST(IniFiles, MissingFileReadsEmptyAndUnwritableFileRaises) {
  TTempDir Dir;
  TMemIniFile Ini(Dir.File("none.ini"));
  EXPECT_EQ(Ini.ReadString("S", "k", "d"), "d");
  WriteFileBytes(Dir.File("plain"), "x");
  TMemIniFile Bad(Dir.File("plain") + "/sub.ini");  // a path through a file
  Bad.WriteString("S", "k", "v");
  EXPECT_THROW(Bad.UpdateFile(), EFCreateError);
}

TEST(IniFiles, IniFileWritesThroughAndSeesOtherWriters) {
  TTempDir Dir;
  const String Name = Dir.File("live.ini");
  TIniFile A(Name);
  A.WriteString("S", "k", "1");
  EXPECT_EQ(ReadFileBytes(Name), "[S]\r\nk=1\r\n\r\n");  // at once
  TIniFile B(Name);
  EXPECT_EQ(B.ReadString("S", "k", ""), "1");
  B.WriteString("S", "other", "2");
  EXPECT_EQ(A.ReadString("S", "other", ""), "2");  // A re-reads the changed file
  A.EraseSection("S");
  EXPECT_FALSE(B.SectionExists("S"));
}

TEST(IniFiles, IniFileCutsLongValuesLikeTheProfileReader) {
  TTempDir Dir;
  const String Name = Dir.File("long.ini");
  WriteFileBytes(Name, "[S]\nk=" + String(3000, 'v') + "\n");
  TIniFile Ini(Name);
  EXPECT_EQ(Ini.ReadString("S", "k", "").size(), 2047u);
  TMemIniFile Mem(Name);
  EXPECT_EQ(Mem.ReadString("S", "k", "").size(), 3000u);
}
