#include "platform/rtl/Classes.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using TLog = std::vector<String>;

// Records what it hears into a shared log.
class TProbe : public TComponent {
  VANTREL_CLASS(TProbe)

  explicit TProbe(TComponent* AOwner, TLog* ALog = nullptr) : TComponent(AOwner), FLog(ALog) {}
  ~TProbe() override { Note("~" + Name()); }
  void AfterConstruction() override {
    TComponent::AfterConstruction();
    Note(String("built ") + ClassName());  // the most derived class's, unlike in a constructor
  }
  void BeforeDestruction() override {
    Note("before " + Name() + " owns " + std::to_string(ComponentCount()) +
         (ComponentState().Contains(csDestroying) ? " destroying" : ""));
    TComponent::BeforeDestruction();
  }
  void SetLog(TLog* ALog) { FLog = ALog; }

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override {
    TComponent::Notification(AComponent, Operation);
    Note(Name() + (Operation == opInsert ? " +" : " -") + AComponent->Name());
  }

 private:
  void Note(const String& S) {
    if (FLog) FLog->push_back(S);
  }
  TLog* FLog;
};

class TSpecialProbe : public TProbe {
  VANTREL_CLASS(TSpecialProbe)
  using TProbe::TProbe;
};

// A named probe that logs from now on.
TProbe* NewProbe(TComponent* Owner, const String& Name, TLog& Log) {
  TProbe* P = TProbe::Create(Owner, nullptr);
  P->SetName(Name);
  P->SetLog(&Log);
  return P;
}

TEST(Classes, ClassNamesAndTwoPhaseConstructionAndDestruction) {
  TLog Log;
  TProbe* P = TSpecialProbe::Create(nullptr, &Log);
  EXPECT_STREQ(P->ClassName(), "TSpecialProbe");
  EXPECT_TRUE(P->ClassNameIs("tspecialprobe"));
  EXPECT_FALSE(P->ClassNameIs("TProbe"));
  EXPECT_STREQ(ComponentClassOf<TComponent>().ClassName, "TComponent");
  P->SetName("P");
  P->Free();
  EXPECT_EQ(Log, (TLog{"built TSpecialProbe", "before P owns 0", "~P"}));

  TOwned<TList> List = CreateOwned<TList>();
  EXPECT_STREQ(List->ClassName(), "TList");
  TComponent* FromRef = ComponentClassOf<TSpecialProbe>().Create(nullptr);
  EXPECT_STREQ(FromRef->ClassName(), "TSpecialProbe");
  FreeAndNil(FromRef);
  EXPECT_EQ(FromRef, nullptr);
  FreeAndNil(FromRef);  // nil: nothing to do
}

class TExploding : public TComponent {
  VANTREL_CLASS(TExploding)
  using TComponent::TComponent;
  void AfterConstruction() override { throw EAbort("boom"); }
};

TEST(Classes, FailedAfterConstructionFreesTheObjectAndLeavesTheOwner) {
  TOwned<TComponent> Owner(TComponent::Create(nullptr));
  EXPECT_THROW(TExploding::Create(Owner.get()), EAbort);
  EXPECT_EQ(Owner->ComponentCount(), 0);  // and ASan sees no leak
}

// Copies a number from another TNumber; TText can take a TNumber through AssignTo.
class TNumber : public TPersistent {
  VANTREL_CLASS(TNumber)
  int Value = 0;
  void Assign(TPersistent* Source) override {
    if (auto* N = dynamic_cast<TNumber*>(Source)) {
      Value = N->Value;
      return;
    }
    TPersistent::Assign(Source);
  }

 protected:
  void AssignTo(TPersistent* Dest) override;
};

class TText : public TPersistent {
  VANTREL_CLASS(TText)
  String Text;
};

void TNumber::AssignTo(TPersistent* Dest) {
  if (auto* T = dynamic_cast<TText*>(Dest)) {
    T->Text = std::to_string(Value);
    return;
  }
  TPersistent::AssignTo(Dest);
}

TEST(Classes, AssignUsesEitherSideOrRaisesWithBothClassNames) {
  TOwned<TNumber> A = CreateOwned<TNumber>(), B = CreateOwned<TNumber>();
  TOwned<TText> T = CreateOwned<TText>();
  A->Value = 7;
  B->Assign(A.get());
  EXPECT_EQ(B->Value, 7);
  T->Assign(A.get());  // TText knows nothing of TNumber: the source's AssignTo does it
  EXPECT_EQ(T->Text, "7");

  struct Case {
    TPersistent* Dest;
    TPersistent* Source;
    const char* Message;
  } Cases[] = {
      {A.get(), T.get(), "Cannot assign a TText to a TNumber"},
      {T.get(), nullptr, "Cannot assign a nil to a TText"},
      {A.get(), nullptr, "Cannot assign a nil to a TNumber"},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Message);
    try {
      C.Dest->Assign(C.Source);
      ADD_FAILURE() << "no exception";
    } catch (const EConvertError& E) {
      EXPECT_EQ(E.Message(), C.Message);
    }
  }
}

TEST(Classes, OwnerFreesItsComponentsLastFirstAfterMarkingThemDestroying) {
  TLog Log;
  TProbe* Root = NewProbe(nullptr, "Root", Log);
  TProbe* A = NewProbe(Root, "A", Log);
  NewProbe(Root, "B", Log);
  NewProbe(A, "A1", Log);
  ASSERT_EQ(Root->ComponentCount(), 2);
  EXPECT_EQ(Root->Components(0), A);
  EXPECT_EQ(A->Owner(), Root);
  EXPECT_EQ(A->ComponentIndex(), 0);
  EXPECT_EQ(Root->FindComponent("b")->Name(), "B");
  EXPECT_EQ(Root->FindComponent("A1"), nullptr);  // only its own components
  EXPECT_EQ(Root->FindComponent(""), nullptr);
  Log.clear();

  Root->Free();
  // Owned components are destroyed quietly (no notifications), the last one first,
  // while the whole family is flagged csDestroying.
  EXPECT_EQ(Log, (TLog{"before Root owns 2", "before B owns 0 destroying", "~B",
                       "before A owns 1 destroying", "before A1 owns 0 destroying", "~A1", "~A",
                       "~Root"}));
}

TEST(Classes, InsertAndRemoveAreNotifiedToTheWholeFamily) {
  TLog Log;
  TOwned<TProbe> Root(NewProbe(nullptr, "Root", Log));
  TProbe* A = NewProbe(Root.get(), "A", Log);
  NewProbe(A, "A1", Log);
  Log.clear();

  TProbe* B = TProbe::Create(nullptr, nullptr);
  B->SetName("B");
  Root->InsertComponent(B);
  EXPECT_EQ(Log, (TLog{"A1 +B", "A +B", "Root +B"}));  // down the owned tree, then the owner
  Log.clear();

  // Freeing an owned component removes it from its owner with opRemove to everyone.
  B->Free();
  EXPECT_EQ(Log, (TLog{"A1 -B", "A -B", "Root -B"}));
  EXPECT_EQ(Root->ComponentCount(), 1);
  Log.clear();

  // Moving a component to another owner: removed there, inserted here.
  TOwned<TProbe> Other(NewProbe(nullptr, "Other", Log));
  Other->InsertComponent(A);
  EXPECT_EQ(A->Owner(), Other.get());
  EXPECT_EQ(Root->ComponentCount(), 0);
  EXPECT_EQ(Log, (TLog{"A1 -A", "A -A", "Root -A", "A1 +A", "A +A", "Other +A"}));
  Other->RemoveComponent(A);
  EXPECT_EQ(A->Owner(), nullptr);
  A->SetLog(nullptr);
  A->Free();
}

TEST(Classes, DeletingAComponentDirectlyStillLeavesItsOwnerAndFreesItsOwn) {
  TLog Log;
  TOwned<TProbe> Root(NewProbe(nullptr, "Root", Log));
  TProbe* A = NewProbe(Root.get(), "A", Log);
  NewProbe(A, "A1", Log);
  Log.clear();
  delete A;  // no Free: the base class still cleans up
  EXPECT_EQ(Root->ComponentCount(), 0);
  EXPECT_EQ(Log.front(), "~A");
  EXPECT_NE(std::find(Log.begin(), Log.end(), "~A1"), Log.end());
}

TEST(Classes, FreeNotificationReachesComponentsOfOtherOwnersBothWays) {
  TLog Log;
  TOwned<TProbe> FormA(NewProbe(nullptr, "FormA", Log));
  TOwned<TProbe> FormB(NewProbe(nullptr, "FormB", Log));
  TProbe* Watcher = NewProbe(FormA.get(), "Watcher", Log);
  TProbe* Watched = NewProbe(FormB.get(), "Watched", Log);
  TProbe* Sibling = NewProbe(FormB.get(), "Sibling", Log);
  Watched->FreeNotification(Watcher);
  EXPECT_TRUE(Watched->ComponentState().Contains(csFreeNotification));
  Log.clear();

  Watched->Free();
  // The watcher of another form hears it; the sibling hears it through its owner.
  EXPECT_NE(std::find(Log.begin(), Log.end(), "Watcher -Watched"), Log.end());
  EXPECT_NE(std::find(Log.begin(), Log.end(), "Sibling -Watched"), Log.end());

  // Registration is mutual, and forgetting it stops the message.
  TProbe* Other = NewProbe(FormB.get(), "Other", Log);
  Watcher->FreeNotification(Other);
  Other->RemoveFreeNotification(Watcher);
  Log.clear();
  Watcher->Free();
  EXPECT_EQ(std::find(Log.begin(), Log.end(), "Other -Watcher"), Log.end());

  // A freed partner is forgotten: freeing the survivor later touches nothing stale.
  TProbe* P1 = NewProbe(FormA.get(), "P1", Log);
  TProbe* P2 = NewProbe(FormB.get(), "P2", Log);
  P1->FreeNotification(P2);
  P2->Free();
  P1->Free();
  (void)Sibling;
}

TEST(Classes, ASiblingThatAskedToBeWatchedIsHeardGoingWithItsOwner) {
  // Watched is made after Watcher, so their owner frees it first; siblings coming and
  // going before must not turn its request off.
  for (const bool Deleted : {false, true}) {
    SCOPED_TRACE(Deleted);
    TLog Log;
    TProbe* Root = NewProbe(nullptr, "Root", Log);
    TProbe* Watcher = NewProbe(Root, "Watcher", Log);
    TProbe* Watched = NewProbe(Root, "Watched", Log);
    Watched->FreeNotification(Watcher);
    TProbe* Gone = NewProbe(Root, "Gone", Log);
    Gone->FreeNotification(Watcher);
    Gone->Free();
    NewProbe(Root, "Last", Log);
    EXPECT_TRUE(Watched->ComponentState().Contains(csFreeNotification));
    Log.clear();
    if (Deleted)
      delete Root;
    else
      Root->Free();
    const auto At = [&Log](const char* Line) { return std::find(Log.begin(), Log.end(), Line) - Log.begin(); };
    EXPECT_LT(At("Watcher -Watched"), At("~Watched"));
  }
}

TEST(Classes, NamesAreIdentifiersUniqueWithinTheOwner) {
  TOwned<TComponent> Owner(TComponent::Create(nullptr));
  TComponent* A = TComponent::Create(Owner.get());
  TComponent* B = TComponent::Create(Owner.get());
  A->SetName("Button1");
  A->SetName("BUTTON1");  // a change of case is no clash with itself
  A->SetTag(-5);
  EXPECT_EQ(A->Tag(), -5);

  struct Case {
    const char* Name;
    const char* Message;
  } Cases[] = {
      {"button1", "A component named button1 already exists"},
      {"1st", "'1st' is not a valid component name"},
      {"has space", "'has space' is not a valid component name"},
      {"\xC3\xBC", "'\xC3\xBC' is not a valid component name"},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    try {
      B->SetName(C.Name);
      ADD_FAILURE() << "no exception";
    } catch (const EComponentError& E) {
      EXPECT_EQ(E.Message(), C.Message);
    }
  }
  B->SetName("_ok2");
  B->SetName("");
  EXPECT_EQ(B->Name(), "");

  // Inserting a component whose name clashes is refused before anything changes.
  TOwned<TComponent> Loose(TComponent::Create(nullptr));
  Loose->SetName("button1");
  EXPECT_THROW(Owner->InsertComponent(Loose.get()), EComponentError);
  EXPECT_EQ(Loose->Owner(), nullptr);
  EXPECT_EQ(Owner->ComponentCount(), 2);

  try {
    Owner->Components(2);
    ADD_FAILURE() << "no exception";
  } catch (const EListError& E) {
    EXPECT_EQ(E.Message(), "List index out of bounds (2)");
  }
}

TEST(Classes, ListKeepsOrderAndChecksIndexes) {
  int V[5];
  TList L;
  for (int& X : V) L.Add(&X);
  L.Insert(0, nullptr);
  L.Insert(6, nullptr);
  EXPECT_EQ(L.Count(), 7);
  L.Pack();
  EXPECT_EQ(L.Count(), 5);
  EXPECT_EQ(L.First(), &V[0]);
  EXPECT_EQ(L.Last(), &V[4]);
  L.Exchange(0, 4);
  EXPECT_EQ(L[0], &V[4]);
  L.Move(0, 2);  // V4 V1 V2 V3 V0 -> V1 V2 V4 V3 V0
  EXPECT_EQ(L.IndexOf(&V[4]), 2);
  EXPECT_EQ(L.Remove(&V[1]), 0);
  EXPECT_EQ(L.Remove(&V[1]), -1);
  EXPECT_EQ(L.Extract(&V[2]), &V[2]);
  EXPECT_EQ(L.Extract(&V[2]), nullptr);
  L.Sort([](void* A, void* B) {
    return static_cast<Integer>(static_cast<int*>(A) - static_cast<int*>(B));
  });
  EXPECT_EQ(std::vector<void*>(L.begin(), L.end()), (std::vector<void*>{&V[0], &V[3], &V[4]}));
  L.Put(1, nullptr);
  L[2] = &V[1];
  EXPECT_EQ(L.Items(2), &V[1]);
  L.SetCount(5);
  EXPECT_EQ(L.Items(4), nullptr);
  L.SetCapacity(100);
  EXPECT_GE(L.Capacity(), 100);
  L.Clear();
  EXPECT_EQ(L.Count(), 0);

  struct Case {
    const char* What;
    std::function<void(TList&)> Call;
    const char* Message;
  } Cases[] = {
      {"First of empty", [](TList& X) { X.First(); }, "List index out of bounds (0)"},
      {"Last of empty", [](TList& X) { X.Last(); }, "List index out of bounds (-1)"},
      {"Items",
       [](TList& X) {
         X.Add(nullptr);
         X.Items(1);
       },
       "List index out of bounds (1)"},
      {"Delete", [](TList& X) { X.Delete(-1); }, "List index out of bounds (-1)"},
      {"Insert", [](TList& X) { X.Insert(1, nullptr); }, "List index out of bounds (1)"},
      {"Move",
       [](TList& X) {
         X.Add(nullptr);
         X.Move(0, 3);
       },
       "List index out of bounds (3)"},
      {"Exchange", [](TList& X) { X.Exchange(0, 0); }, "List index out of bounds (0)"},
      {"operator[]", [](TList& X) { X[0] = nullptr; }, "List index out of bounds (0)"},
      {"SetCount", [](TList& X) { X.SetCount(-1); }, "List count out of bounds (-1)"},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.What);
    TList X;
    try {
      C.Call(X);
      ADD_FAILURE() << "no exception";
    } catch (const EListError& E) {
      EXPECT_EQ(E.Message(), C.Message);
    }
  }
}

}  // namespace
