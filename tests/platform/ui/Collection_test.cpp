#include "platform/ui/Collection.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class TNamedItem : public TCollectionItem {
  VANTREL_CLASS(TNamedItem)
  explicit TNamedItem(TCollection* Collection) : TCollectionItem(Collection) {}
  String Caption;
  void Assign(TPersistent* Source) override {
    if (auto* Other = dynamic_cast<TNamedItem*>(Source)) {
      Caption = Other->Caption;
      return;
    }
    TCollectionItem::Assign(Source);
  }
  void Touch() { Changed(false); }
};

// Records what the collection reports.
class TRecordingCollection : public TCollection {
  VANTREL_CLASS(TRecordingCollection)
  TRecordingCollection() : TCollection(CollectionItemClassOf<TNamedItem>()) {}
  std::vector<std::string> Events;

 protected:
  void Update(TCollectionItem* Item) override {
    Events.push_back(Item ? "update " + static_cast<TNamedItem*>(Item)->Caption : "update all");
  }
  void Notify(TCollectionItem* Item, TCollectionNotification Action) override {
    static const char* Names[] = {"added", "extracting", "deleting"};
    Events.push_back(std::string(Names[Action]) + " " + std::to_string(Item->ID()));
  }
};

TNamedItem* AddNamed(TCollection& C, const String& Caption) {
  auto* Item = static_cast<TNamedItem*>(C.Add());
  Item->Caption = Caption;
  return Item;
}

std::vector<String> Captions(const TCollection& C) {
  std::vector<String> Out;
  for (Integer I = 0; I < C.Count(); ++I) Out.push_back(static_cast<TNamedItem*>(C.Items(I))->Caption);
  return Out;
}

}  // namespace

TEST(Collection, AddMakesItemsOfTheItemClassWithUniqueIds) {
  auto C = CreateOwned<TRecordingCollection>();
  TCollectionItem* A = C->Add();
  TCollectionItem* B = C->Add();
  EXPECT_STREQ(A->ClassName(), "TNamedItem");
  EXPECT_STREQ(C->ItemClass().ClassName, "TNamedItem");
  EXPECT_EQ(A->Collection(), C.get());
  EXPECT_EQ(A->Index(), 0);
  EXPECT_EQ(B->Index(), 1);
  EXPECT_NE(A->ID(), B->ID());
  EXPECT_EQ(C->FindItemID(B->ID()), B);
  EXPECT_EQ(C->FindItemID(12345), nullptr);
}

TEST(Collection, IdsAreNeverReusedAfterDelete) {
  auto C = CreateOwned<TRecordingCollection>();
  C->Add();
  const Integer Second = C->Add()->ID();
  C->Delete(1);
  EXPECT_GT(C->Add()->ID(), Second);
}

TEST(Collection, ItemsOutOfRangeRaiseListError) {
  auto C = CreateOwned<TRecordingCollection>();
  C->Add();
  for (Integer Bad : {-1, 1, 7}) {
    SCOPED_TRACE(Bad);
    EXPECT_THROW(C->Items(Bad), EListError);
    EXPECT_THROW(C->Delete(Bad), EListError);
  }
  try {
    C->Items(3);
  } catch (const EListError& E) {
    EXPECT_EQ(E.Message(), "List index out of bounds (3)");
  }
}

TEST(Collection, SetIndexAndInsertReorderItems) {
  auto C = CreateOwned<TRecordingCollection>();
  AddNamed(*C, "a");
  AddNamed(*C, "b");
  TNamedItem* Last = AddNamed(*C, "c");
  Last->SetIndex(0);
  EXPECT_EQ(Captions(*C), (std::vector<String>{"c", "a", "b"}));
  Last->SetIndex(99);  // clamped to the end
  EXPECT_EQ(Captions(*C), (std::vector<String>{"a", "b", "c"}));
  static_cast<TNamedItem*>(C->Insert(1))->Caption = "x";
  EXPECT_EQ(Captions(*C), (std::vector<String>{"a", "x", "b", "c"}));
}

TEST(Collection, FreeingAnItemTakesItOutOfItsCollection) {
  auto C = CreateOwned<TRecordingCollection>();
  AddNamed(*C, "a");
  TNamedItem* B = AddNamed(*C, "b");
  AddNamed(*C, "c");
  B->Free();
  EXPECT_EQ(Captions(*C), (std::vector<String>{"a", "c"}));
}

TEST(Collection, MovingAnItemToAnotherCollection) {
  auto From = CreateOwned<TRecordingCollection>();
  auto To = CreateOwned<TRecordingCollection>();
  TNamedItem* Item = AddNamed(*From, "moved");
  Item->SetCollection(To.get());
  EXPECT_EQ(From->Count(), 0);
  ASSERT_EQ(To->Count(), 1);
  EXPECT_EQ(To->Items(0), Item);
  Item->SetCollection(nullptr);
  EXPECT_EQ(To->Count(), 0);
  TOwned<TNamedItem> Loose(Item);  // no collection owns it now
}

TEST(Collection, UpdatesAreBatchedBetweenBeginAndEndUpdate) {
  auto C = CreateOwned<TRecordingCollection>();
  TNamedItem* A = AddNamed(*C, "a");
  C->Events.clear();
  A->Touch();
  EXPECT_EQ(C->Events, (std::vector<std::string>{"update a"}));
  C->Events.clear();
  C->BeginUpdate();
  C->BeginUpdate();
  C->Add();
  A->Touch();
  C->EndUpdate();
  EXPECT_EQ(C->Events, (std::vector<std::string>{"added 1"}));
  C->EndUpdate();
  EXPECT_EQ(C->Events, (std::vector<std::string>{"added 1", "update all"}));
}

TEST(Collection, DeleteNotifiesBeforeTheItemGoes) {
  auto C = CreateOwned<TRecordingCollection>();
  C->Add();
  C->Events.clear();
  C->Delete(0);
  EXPECT_EQ(C->Events, (std::vector<std::string>{"deleting 0", "extracting 0", "update all"}));
}

TEST(Collection, AssignCopiesItemsOfAnotherCollection) {
  auto Source = CreateOwned<TRecordingCollection>();
  AddNamed(*Source, "one");
  AddNamed(*Source, "two");
  auto Dest = CreateOwned<TRecordingCollection>();
  AddNamed(*Dest, "old");
  Dest->Assign(Source.get());
  EXPECT_EQ(Captions(*Dest), (std::vector<String>{"one", "two"}));
  EXPECT_NE(Dest->Items(0), Source->Items(0));

  auto Other = CreateOwned<TPersistent>();
  EXPECT_THROW(Dest->Assign(Other.get()), EConvertError);
}

TEST(Collection, OwnedCollectionReportsItsOwner) {
  auto Owner = CreateOwned<TComponent>(nullptr);
  auto C = CreateOwned<TOwnedCollection>(Owner.get(), CollectionItemClassOf<TNamedItem>());
  EXPECT_EQ(C->Owner(), Owner.get());
  EXPECT_THROW(TCollection(TCollectionItemClass{}), EInvalidOperation);
}
