#include "platform/ui/Collection.h"

#include <algorithm>

#include "platform/rtl/Format.h"

namespace {

[[noreturn]] void ListError(Integer Index) {
  throw EListError(Format(SListIndexError, {Index}));
}

}  // namespace

// TCollectionItem

TCollectionItem::TCollectionItem(TCollection* Collection) { SetCollection(Collection); }

TCollectionItem::~TCollectionItem() { SetCollection(nullptr); }

void TCollectionItem::BeforeDestruction() {
  TPersistent::BeforeDestruction();
  SetCollection(nullptr);
}

void TCollectionItem::SetCollection(TCollection* Value) {
  if (FCollection == Value) return;
  if (FCollection) FCollection->RemoveItem(this);
  if (Value) Value->InsertItem(this);
}

Integer TCollectionItem::Index() const {
  if (!FCollection) return -1;
  const auto& Items = FCollection->FItems;
  const auto It = std::find(Items.begin(), Items.end(), this);
  return It == Items.end() ? -1 : static_cast<Integer>(It - Items.begin());
}

void TCollectionItem::SetIndex(Integer Value) {
  if (FCollection && Value != Index()) FCollection->MoveItem(this, Value);
}

void TCollectionItem::Changed(Boolean AllItems) {
  if (FCollection && FCollection->FUpdateCount == 0) FCollection->Update(AllItems ? nullptr : this);
}

// TCollection

TCollection::TCollection(TCollectionItemClass ItemClass) : FItemClass(ItemClass) {
  if (!FItemClass) throw EInvalidOperation("A collection needs an item class");
}

TCollection::~TCollection() {
  FUpdateCount = 1;  // no Update calls while the items go
  Clear();
}

void TCollection::Assign(TPersistent* Source) {
  auto* Other = dynamic_cast<TCollection*>(Source);
  if (!Other) {
    TPersistent::Assign(Source);
    return;
  }
  BeginUpdate();
  try {
    Clear();
    for (TCollectionItem* Item : Other->FItems) Add()->Assign(Item);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

TCollectionItem* TCollection::Add() {
  TCollectionItem* Item = FItemClass.Create(this);
  // A factory that made the item outside this collection still hands it over here.
  if (Item->FCollection != this) Item->SetCollection(this);
  return Item;
}

TCollectionItem* TCollection::Insert(Integer Index) {
  TCollectionItem* Item = Add();
  Item->SetIndex(Index);
  return Item;
}

void TCollection::Delete(Integer Index) {
  TCollectionItem* Item = Items(Index);
  Notify(Item, cnDeleting);
  Item->Free();
}

void TCollection::Clear() {
  if (FItems.empty()) return;
  BeginUpdate();
  try {
    while (!FItems.empty()) FItems.back()->Free();
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

TCollectionItem* TCollection::Items(Integer Index) const {
  if (Index < 0 || Index >= Count()) ListError(Index);
  return FItems[static_cast<size_t>(Index)];
}

TCollectionItem* TCollection::FindItemID(Integer ID) const {
  for (TCollectionItem* Item : FItems)
    if (Item->FID == ID) return Item;
  return nullptr;
}

void TCollection::BeginUpdate() { ++FUpdateCount; }

void TCollection::EndUpdate() {
  if (FUpdateCount > 0) --FUpdateCount;
  Changed();
}

void TCollection::Update(TCollectionItem*) {}

void TCollection::Notify(TCollectionItem*, TCollectionNotification) {}

void TCollection::Changed() {
  if (FUpdateCount == 0) Update(nullptr);
}

void TCollection::InsertItem(TCollectionItem* Item) {
  FItems.push_back(Item);
  Item->FCollection = this;
  Item->FID = FNextID++;
  Notify(Item, cnAdded);
  Changed();
}

void TCollection::RemoveItem(TCollectionItem* Item) {
  Notify(Item, cnExtracting);
  FItems.erase(std::remove(FItems.begin(), FItems.end(), Item), FItems.end());
  Item->FCollection = nullptr;
  Changed();
}

void TCollection::MoveItem(TCollectionItem* Item, Integer NewIndex) {
  const Integer Old = Item->Index();
  if (Old < 0) return;
  NewIndex = std::clamp(NewIndex, 0, Count() - 1);
  FItems.erase(FItems.begin() + Old);
  FItems.insert(FItems.begin() + NewIndex, Item);
  Changed();
}
