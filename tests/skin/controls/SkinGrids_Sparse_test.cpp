// Sparse cell storage: sections made on first write, the high bound, the walk, the list's
// counts and errors, the string list's items and change notices, and writes beyond the
// array's range.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "skin/controls/SkinGrids.h"

namespace {

int SparseA = 1, SparseB = 2, SparseC = 3;

template <class F>
void ExpectListError(F Step, const std::string& Text) {
  try {
    Step();
    ADD_FAILURE() << "no error, expected \"" << Text << "\"";
  } catch (const EListError& E) {
    EXPECT_EQ(E.Message(), Text);
  }
}

TEST(SparsePointerArray, MakesSectionsOnWriteAndTracksTheHighBound) {
  TSparsePointerArray A(SPASmall);
  EXPECT_EQ(A.GetAt(100), nullptr);
  EXPECT_EQ(A.SlotsInDir(), 0);
  A.PutAt(100, nullptr);
  EXPECT_EQ(A.SlotsInDir(), 0);
  A.PutAt(100, &SparseA);
  EXPECT_EQ(A.SlotsInDir(), 7);
  EXPECT_EQ(A.SectionCount(), 1);
  EXPECT_EQ(A.HighBound(), 100);
  EXPECT_EQ(A.GetAt(100), &SparseA);
  EXPECT_EQ(A.GetAt(101), nullptr);
  EXPECT_EQ(A.GetAt(-1), nullptr);
  A.PutAt(3, &SparseB);
  EXPECT_EQ(A.HighBound(), 100);
  A.PutAt(100, nullptr);
  EXPECT_EQ(A.HighBound(), 3);
  A.PutAt(3, nullptr);
  EXPECT_EQ(A.HighBound(), -1);
  EXPECT_EQ(A.SectionCount(), 2);
  EXPECT_EQ(A.GetAt(100), nullptr);
}

TEST(SparsePointerArray, TheWalkGoesUpAndStopsAtTheFirstNonZeroAnswer) {
  TSparsePointerArray A(SPALarge);
  A.PutAt(700, &SparseC);
  A.PutAt(5, &SparseA);
  A.PutAt(300, &SparseB);
  std::vector<Integer> Seen;
  EXPECT_EQ(A.ForAll([&](Integer I, void*) {
    Seen.push_back(I);
    return Seen.size() == 2 ? 5 : 0;
  }),
            5);
  EXPECT_EQ(Seen, (std::vector<Integer>{5, 300}));
  Seen.clear();
  EXPECT_EQ(A.ForAll([&](Integer I, void*) {
    Seen.push_back(I);
    return 0;
  }),
            0);
  EXPECT_EQ(Seen, (std::vector<Integer>{5, 300, 700}));
}

TEST(SparsePointerArray, AWriteBeyondTheRangeRaisesAndOverwritesNothing) {
  for (auto [Quantum, Last] : {std::pair{SPASmall, 1048559}, std::pair{SPALarge, 16776959}}) {
    SCOPED_TRACE(Last);
    TSparsePointerArray A(Quantum);
    A.PutAt(0, &SparseA);
    A.PutAt(Last, &SparseB);
    EXPECT_EQ(A.GetAt(Last), &SparseB);
    ExpectListError([&] { A.PutAt(Last + 1, &SparseC); }, "SListIndexError");
    ExpectListError([&] { A.PutAt(Quantum == SPASmall ? 1048576 : 16777216, &SparseC); }, "SListIndexError");
    EXPECT_EQ(A.GetAt(0), &SparseA);
    EXPECT_EQ(A.GetAt(Last + 1), nullptr);
    EXPECT_EQ(A.GetAt(1048576), nullptr);
    EXPECT_EQ(A.HighBound(), Last);
  }
}

TEST(SparseList, CountsFollowPutsInsertsAndDeletes) {
  TSparseList L(SPASmall);
  L.Put(0, &SparseA);
  L.Put(9, &SparseB);
  EXPECT_EQ(L.Count(), 10);
  L.Put(9, nullptr);
  EXPECT_EQ(L.Count(), 1);

  TSparseList M(SPASmall);
  M.Insert(20, &SparseA);
  EXPECT_EQ(M.Count(), 21);
  EXPECT_EQ(M.Get(20), &SparseA);
  EXPECT_EQ(M.Get(19), nullptr);
  M.Delete(25);
  EXPECT_EQ(M.Count(), 21);
  M.Move(3, 3);
  EXPECT_EQ(M.Count(), 21);
  M.Insert(0, &SparseB);
  EXPECT_EQ(M.Count(), 22);
  EXPECT_EQ(M.Get(21), &SparseA);
  M.Delete(0);
  EXPECT_EQ(M.Get(20), &SparseA);
  EXPECT_EQ(M.Get(21), nullptr);
  EXPECT_EQ(M.Count(), 21);
  M.Move(20, 2);
  EXPECT_EQ(M.Get(2), &SparseA);
  M.Exchange(2, 5);
  EXPECT_EQ(M.Get(5), &SparseA);
  EXPECT_EQ(M.Get(2), nullptr);
  M.Clear();
  EXPECT_EQ(M.Count(), 0);
  EXPECT_EQ(M.Get(5), nullptr);
}

TEST(SparseList, NegativeIndexesRaiseAndChangeNothing) {
  TSparseList L(SPASmall);
  L.Put(2, &SparseA);
  ExpectListError([&] { L.Get(-1); }, "ListIndexError");
  ExpectListError([&] { L.Put(-1, &SparseB); }, "SListIndexError");
  ExpectListError([&] { L.Insert(-1, &SparseB); }, "SListIndexError");
  L.Delete(-1);
  EXPECT_EQ(L.Count(), 3);
  EXPECT_EQ(L.Get(2), &SparseA);
}

class StringSparseListTest : public ::testing::Test {
 protected:
  TOwned<TStringSparseList> S{CreateOwned<TStringSparseList>(SPALarge)};
  TOwned<TObject> Obj{CreateOwned<TObject>()};
  int Changes = 0;
  void SetUp() override {
    S->OnChange = [this](TObject*) { ++Changes; };
  }
};

TEST_F(StringSparseListTest, AnItemLivesWhileItHoldsTextOrAnObject) {
  S->Put(3, "text");
  S->Put(5, "with object");
  S->PutObject(5, Obj.get());
  S->PutObject(7, Obj.get());
  EXPECT_EQ(S->Count(), 8);
  EXPECT_EQ(S->Get(3), "text");
  EXPECT_EQ(S->Get(4), "");
  EXPECT_EQ(S->GetObject(7), Obj.get());
  S->Put(3, "");
  EXPECT_EQ(S->List().Items().HighBound(), 7);
  EXPECT_EQ(const_cast<TSparseList&>(S->List()).Get(3), nullptr);
  S->Put(5, "");
  EXPECT_NE(const_cast<TSparseList&>(S->List()).Get(5), nullptr);
  EXPECT_EQ(S->GetObject(5), Obj.get());
  EXPECT_EQ(S->Get(5), "");
  S->PutObject(8, nullptr);
  EXPECT_EQ(S->Count(), 8);
}

TEST_F(StringSparseListTest, EveryChangeButAnExchangeTellsOnce) {
  struct Step {
    const char* Name;
    std::function<void(TStringSparseList&)> Run;
    int Notices;
  };
  TObject* O = Obj.get();
  for (const Step& K : {
           Step{"Put", [](TStringSparseList& L) { L.Put(1, "a"); }, 1},
           Step{"PutObject", [O](TStringSparseList& L) { L.PutObject(2, O); }, 1},
           Step{"Insert", [](TStringSparseList& L) { L.Insert(0, "b"); }, 1},
           Step{"Delete", [](TStringSparseList& L) { L.Delete(0); }, 1},
           Step{"Exchange", [](TStringSparseList& L) { L.Exchange(1, 2); }, 0},
           Step{"Clear", [](TStringSparseList& L) { L.Clear(); }, 1},
       }) {
    SCOPED_TRACE(K.Name);
    Changes = 0;
    K.Run(*S);
    EXPECT_EQ(Changes, K.Notices);
  }
  EXPECT_EQ(S->Count(), 0);
}

TEST_F(StringSparseListTest, ItemsAreFreedWhateverGoesFirst) {
  S->Put(0, "a");
  S->PutObject(1, Obj.get());
  S->Insert(1, "b");
  EXPECT_EQ(S->Get(1), "b");
  EXPECT_EQ(S->GetObject(2), Obj.get());
  Obj.reset();  // objects are not owned by the list
  S->OnChange = nullptr;
  S.reset();  // frees the remaining items (checked by the address sanitizer)
}

}  // namespace
