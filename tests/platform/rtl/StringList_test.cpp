#include "platform/rtl/StringList.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Streams.h"
#include "tests/support/TempDir.h"

namespace {

std::vector<String> ListItems(const TStrings& L) {
  std::vector<String> R;
  for (Integer i = 0; i < L.Count(); ++i) R.push_back(L[i]);
  return R;
}

using V = std::vector<String>;

// Counts its own destructions, to see what an owning list frees.
struct TCounted : TObject {
  explicit TCounted(int& Count) : FCount(Count) {}
  ~TCounted() override { ++FCount; }
  int& FCount;
};

}  // namespace

TEST(StringList, EditsKeepLinesAndObjectsTogether) {
  TStringList L;
  TObject A, B;
  L.Add("one");
  L.AddObject("two", &A);
  L.Insert(0, "zero");
  L.InsertObject(3, "three", &B);
  EXPECT_EQ(ListItems(L), (V{"zero", "one", "two", "three"}));
  L.Move(3, 1);
  EXPECT_EQ(ListItems(L), (V{"zero", "three", "one", "two"}));
  EXPECT_EQ(L.Objects(1), &B);
  L.Exchange(0, 3);
  EXPECT_EQ(ListItems(L), (V{"two", "three", "one", "zero"}));
  EXPECT_EQ(L.Objects(0), &A);
  L.Delete(1);
  EXPECT_EQ(ListItems(L), (V{"two", "one", "zero"}));
  EXPECT_EQ(L.IndexOfObject(&B), -1);
  L.Put(1, "uno");
  EXPECT_EQ(L.Strings(1), "uno");
  L.Clear();
  EXPECT_EQ(L.Count(), 0);
}

TEST(StringList, BadIndexesRaiseTheListErrorAndChangeNothing) {
  TStringList L;
  L.SetCommaText("a,b");
  const struct {
    std::function<void()> Op;
    const char* Message;
  } Cases[] = {
      {[&] { L.Get(2); }, "List index out of bounds (2)"},
      {[&] { L.Delete(-1); }, "List index out of bounds (-1)"},
      {[&] { L.Insert(3, "x"); }, "List index out of bounds (3)"},
      {[&] { L.Move(0, 5); }, "List index out of bounds (5)"},
      {[&] { L.Exchange(0, 2); }, "List index out of bounds (2)"},
      {[&] { L.PutObject(9, nullptr); }, "List index out of bounds (9)"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Message);
    try {
      C.Op();
      ADD_FAILURE() << "no exception";
    } catch (const EStringListError& E) {
      EXPECT_EQ(E.Message(), C.Message);
    }
    EXPECT_EQ(ListItems(L), (V{"a", "b"}));
  }
}

TEST(StringList, IndexOfAndNamesIgnoreCaseUnlessAsked) {
  TStringList L;
  L.SetText("Alpha\nKey=Value\nbeta");
  EXPECT_EQ(L.IndexOf("ALPHA"), 0);
  EXPECT_EQ(L.IndexOfName("KEY"), 1);
  EXPECT_EQ(L.Values("key"), "Value");
  EXPECT_EQ(L.Names(0), "");
  EXPECT_EQ(L.ValueFromIndex(1), "Value");
  L.SetValues("new", "x");
  L.SetValues("KEY", "");  // an empty value deletes the line
  EXPECT_EQ(ListItems(L), (V{"Alpha", "beta", "new=x"}));
  L.SetCaseSensitive(true);
  EXPECT_EQ(L.IndexOf("ALPHA"), -1);
  EXPECT_EQ(L.IndexOf("Alpha"), 0);
}

TEST(StringList, SortedListsFindInsertAndHandleDuplicates) {
  TStringList L;
  L.SetText("pear\nApple\nfig");
  L.SetSorted(true);
  EXPECT_EQ(ListItems(L), (V{"Apple", "fig", "pear"}));
  EXPECT_EQ(L.Add("banana"), 1);
  Integer Index = -1;
  EXPECT_TRUE(L.Find("FIG", Index));
  EXPECT_EQ(Index, 2);
  EXPECT_FALSE(L.Find("cherry", Index));
  EXPECT_EQ(Index, 2);

  EXPECT_EQ(L.Add("APPLE"), 0);  // dupIgnore: the existing line's index, nothing added
  EXPECT_EQ(L.Count(), 4);
  L.SetDuplicates(dupError);
  try {
    L.Add("pear");
    ADD_FAILURE() << "no exception";
  } catch (const EStringListError& E) {
    EXPECT_EQ(E.Message(), "String list does not allow duplicates");
  }
  L.SetDuplicates(dupAccept);
  L.Add("Pear");
  EXPECT_EQ(L.Count(), 5);

  for (auto Op : {std::function<void()>([&] { L.Insert(0, "x"); }),
                  std::function<void()>([&] { L.Put(0, "x"); }),
                  std::function<void()>([&] { L.Move(0, 3); })}) {
    try {
      Op();
      ADD_FAILURE() << "no exception";
    } catch (const EStringListError& E) {
      EXPECT_EQ(E.Message(), "Operation not allowed on sorted list");
    }
  }
  // A refused move loses nothing.
  EXPECT_EQ(L.Count(), 5);
  EXPECT_EQ(L[0], "Apple");
}

TEST(StringList, CustomSortIsStableAndSurvivesAnInconsistentCompare) {
  TStringList L;
  L.SetCommaText("b1,a1,b2,a2,c1");
  L.CustomSort([](TStringList* List, Integer A, Integer B) {
    return static_cast<Integer>((*List)[A][0]) - static_cast<Integer>((*List)[B][0]);
  });
  EXPECT_EQ(ListItems(L), (V{"a1", "a2", "b1", "b2", "c1"}));
  for (int i = 0; i < 200; ++i) L.Add(std::to_string(i));
  L.CustomSort([](TStringList*, Integer, Integer) { return -1; });  // claims everything is less
  EXPECT_EQ(L.Count(), 205);
}

TEST(StringList, TextSplitsAtEveryLineBreakKind) {
  const struct {
    const char* In;
    V Lines;
  } Cases[] = {
      {"", {}},
      {"a", {"a"}},
      {"a\n", {"a"}},
      {"a\r\nb\rc\nd", {"a", "b", "c", "d"}},
      {"a\n\nb", {"a", "", "b"}},
      {"a\n\r\nb", {"a", "", "b"}},
      {"\n", {""}},
      {"a\r\r\n", {"a", ""}},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(testing::PrintToString(String(C.In)));
    TStringList L;
    L.SetText(C.In);
    EXPECT_EQ(ListItems(L), C.Lines);
  }
  TStringList L;
  L.SetText("x\r\ny");
  EXPECT_EQ(L.Text(), "x\ny\n");
  L.SetLineBreak("\r\n");
  EXPECT_EQ(L.Text(), "x\r\ny\r\n");
}

TEST(StringList, CommaAndDelimitedTextRoundTrip) {
  TStringList L;
  L.SetCommaText("a, \"b c\",\"say \"\"hi\"\"\",,d,");
  EXPECT_EQ(ListItems(L), (V{"a", "b c", "say \"hi\"", "", "d", ""}));
  TStringList Back;
  Back.SetCommaText(L.CommaText());
  EXPECT_EQ(ListItems(Back), ListItems(L));

  TStringList S;
  S.SetDelimiter(';');
  S.SetStrictDelimiter(true);
  S.SetDelimitedText("one two;three");
  EXPECT_EQ(ListItems(S), (V{"one two", "three"}));
  EXPECT_EQ(S.DelimitedText(), "one two;three");
}

TEST(StringList, ChangeEventsFollowUpdates) {
  TStringList L;
  std::vector<String> Events;
  L.OnChanging = [&](TObject* Sender) {
    EXPECT_EQ(Sender, &L);
    Events.push_back("changing");
  };
  L.OnChange = [&](TObject*) { Events.push_back("change"); };
  L.Add("a");
  EXPECT_EQ(Events, (V{"changing", "change"}));
  Events.clear();
  L.BeginUpdate();
  L.Add("b");
  L.Add("c");
  L.BeginUpdate();
  L.Delete(0);
  L.EndUpdate();
  EXPECT_EQ(Events, (V{"changing"}));
  L.EndUpdate();
  EXPECT_EQ(Events, (V{"changing", "change"}));
}

TEST(StringList, AssignAndAddStringsCopyLinesAndObjects) {
  TStringList A;
  TObject O;
  A.AddObject("x", &O);
  A.Add("y");
  A.SetSorted(true);
  TStringList B;
  B.Add("old");
  B.Assign(&A);
  EXPECT_EQ(ListItems(B), (V{"x", "y"}));
  EXPECT_EQ(B.Objects(0), &O);
  B.AddStrings(B);  // a list added to itself doubles once
  EXPECT_EQ(B.Count(), 4);
  EXPECT_TRUE(A.Equals(A));
  EXPECT_FALSE(A.Equals(B));
  EXPECT_THROW(B.Assign(static_cast<TPersistent*>(nullptr)), EConvertError);
}

TEST(StringList, OwningListFreesRemovedObjects) {
  int Freed = 0;
  {
    TStringList L(true);
    L.AddObject("a", new TCounted(Freed));
    L.AddObject("b", new TCounted(Freed));
    L.AddObject("c", new TCounted(Freed));
    L.Delete(0);
    EXPECT_EQ(Freed, 1);
    L.PutObject(0, new TCounted(Freed));
    EXPECT_EQ(Freed, 2);
  }
  EXPECT_EQ(Freed, 4);
}

TEST(StringList, LoadDetectsByteOrderMarks) {
  const struct {
    const char* Name;
    String Bytes;
    TTextEncoding Encoding;
  } Cases[] = {
      {"plain", "h\xC3\xA9\r\nz", teUTF8},
      {"utf8 mark", "\xEF\xBB\xBFh\xC3\xA9\r\nz", teUTF8BOM},
      {"utf16le", String("\xFF\xFEh\0\xE9\0\r\0\n\0z\0", 12), teUTF16LE},
      {"utf16be", String("\xFE\xFF\0h\0\xE9\0\r\0\n\0z", 12), teUTF16BE},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Name);
    TStringStream S(C.Bytes);
    TStringList L;
    L.LoadFromStream(S);
    EXPECT_EQ(ListItems(L), (V{"h\xC3\xA9", "z"}));
    EXPECT_EQ(L.Encoding(), C.Encoding);
    // Saving writes the same encoding back.
    TStringStream Out;
    L.SetLineBreak("\r\n");
    L.SaveToStream(Out);
    EXPECT_EQ(Out.DataString(), C.Bytes + (C.Encoding == teUTF16LE   ? String("\r\0\n\0", 4)
                                           : C.Encoding == teUTF16BE ? String("\0\r\0\n", 4)
                                                                     : String("\r\n")));
  }
}

TEST(StringList, Utf16SurrogatesAndBrokenInputDecode) {
  // U+1F600 as a surrogate pair, then a lone high surrogate, then an odd last byte.
  TStringStream S(String("\xFF\xFE\x3D\xD8\x00\xDE\x3D\xD8" "a\0" "b", 11));
  TStringList L;
  L.LoadFromStream(S);
  ASSERT_EQ(L.Count(), 1);
  EXPECT_EQ(L[0], "\xF0\x9F\x98\x80\xEF\xBF\xBD" "a\xEF\xBF\xBD");
}

TEST(StringList, FilesRoundTrip) {
  vantrel::test::TTempDir Dir;
  TStringList L;
  L.SetText("first\nsecond");
  L.SaveToFile(Dir.File("list.txt"));
  EXPECT_EQ(vantrel::test::ReadFileBytes(Dir.File("list.txt")), "first\nsecond\n");
  TStringList Back;
  Back.LoadFromFile(Dir.File("list.txt"));
  EXPECT_TRUE(Back.Equals(L));
  EXPECT_THROW(Back.LoadFromFile(Dir.File("none.txt")), EFOpenError);
}
