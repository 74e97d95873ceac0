// Sparse cell storage: a sectioned pointer array with a one-entry read cache, a list on
// it, and the string list of text-and-object items the string grid keeps per row and per
// column.
#include <cstdint>

#include "skin/controls/SkinGrids.h"

namespace {

const char* const SparseGetIndexText = "ListIndexError";
const char* const SparsePutIndexText = "SListIndexError";

[[noreturn]] void SparseIndexError(const char* Text) { throw EListError(Text); }

}  // namespace

TSparsePointerArray::TSparsePointerArray(TSPAQuantum Quantum)
    : FIndexMask(Quantum == SPASmall ? 15 : 255),
      FSecShift(Quantum == SPASmall ? 4 : 8),
      FSectionSize(Quantum == SPASmall ? 16 : 256) {}

void* TSparsePointerArray::GetAt(Integer Index) {
  if (Index == FCachedIndex) return FCachedPointer;
  // A negative index, taken as unsigned, lies beyond every section.
  const uint32_t Section = static_cast<uint32_t>(Index) >> FSecShift;
  void* Item = nullptr;
  if (Section < FSecDir.size() && FSecDir[Section]) Item = FSecDir[Section][Index & FIndexMask];
  FCachedIndex = Index;
  FCachedPointer = Item;
  return Item;
}

void** TSparsePointerArray::MakeAt(Integer Index) {
  // The directory has room for MaxSections sections; an index beyond would need a
  // section number it cannot hold.
  if (Index < 0 || Index > MaxIndex()) SparseIndexError(SparsePutIndexText);
  const size_t Section = static_cast<size_t>(Index) >> FSecShift;
  if (Section >= FSecDir.size()) FSecDir.resize(Section + 1);
  if (!FSecDir[Section]) FSecDir[Section] = std::make_unique<void*[]>(static_cast<size_t>(FSectionSize));
  if (Index > FHighBound) FHighBound = Index;
  FCachedIndex = -1;
  return &FSecDir[Section][Index & FIndexMask];
}

void TSparsePointerArray::PutAt(Integer Index, void* Item) {
  if (!Item && !GetAt(Index)) return;
  *MakeAt(Index) = Item;
  if (!Item) ResetHighBound();
}

Integer TSparsePointerArray::ForAll(const TSPAApply& Apply) const {
  Integer Result = 0;
  for (size_t S = 0; S < FSecDir.size() && Result == 0; ++S) {
    if (!FSecDir[S]) continue;
    for (Integer J = 0; J < FSectionSize && Result == 0; ++J) {
      void* Item = FSecDir[S][J];
      if (Item) Result = Apply((static_cast<Integer>(S) << FSecShift) + J, Item);
    }
  }
  return Result;
}

void TSparsePointerArray::ResetHighBound() {
  Integer NewHighBound = -1;
  ForAll([&](Integer Index, void*) {
    if (Index > FHighBound) return 1;
    NewHighBound = Index;
    return 0;
  });
  FHighBound = NewHighBound;
}

Integer TSparsePointerArray::SectionCount() const {
  Integer N = 0;
  for (const auto& S : FSecDir) N += S ? 1 : 0;
  return N;
}

TSparseList::TSparseList(TSPAQuantum Quantum)
    : FList(std::make_unique<TSparsePointerArray>(Quantum)), FQuantum(Quantum) {}

void* TSparseList::Get(Integer Index) {
  if (Index < 0) SparseIndexError(SparseGetIndexText);
  return FList->GetAt(Index);
}

void TSparseList::Put(Integer Index, void* Item) {
  if (Index < 0) SparseIndexError(SparsePutIndexText);
  FList->PutAt(Index, Item);
  FCount = FList->HighBound() + 1;
}

void TSparseList::Insert(Integer Index, void* Item) {
  if (Index < 0) SparseIndexError(SparsePutIndexText);
  // The last item moves up by one: it must still fit before anything moves.
  if (std::max(FCount, Index) > FList->MaxIndex()) SparseIndexError(SparsePutIndexText);
  for (Integer I = FCount; I > Index; --I) FList->PutAt(I, FList->GetAt(I - 1));
  FList->PutAt(Index, Item);
  if (FCount < Index) FCount = Index;
  ++FCount;
}

void TSparseList::Delete(Integer Index) {
  if (Index < 0 || Index >= FCount) return;
  for (Integer I = Index; I < FCount; ++I) FList->PutAt(I, FList->GetAt(I + 1));
  FList->PutAt(FCount, nullptr);
  --FCount;
}

void TSparseList::Exchange(Integer Index1, Integer Index2) {
  void* T = Get(Index1);
  Put(Index1, Get(Index2));
  Put(Index2, T);
}

void TSparseList::Move(Integer CurIndex, Integer NewIndex) {
  if (CurIndex == NewIndex) return;
  void* T = Get(CurIndex);
  Delete(CurIndex);
  Insert(NewIndex, T);
}

void TSparseList::Clear() {
  FList = std::make_unique<TSparsePointerArray>(FQuantum);
  FCount = 0;
}

TStringSparseList::TStringSparseList(TSPAQuantum Quantum) : FList(std::make_unique<TSparseList>(Quantum)) {}

TStringSparseList::~TStringSparseList() {
  if (FList) Clear();
}

String TStringSparseList::Get(Integer Index) const {
  const TStrItem* P = ItemAt(Index);
  return P ? P->FString : String();
}

TObject* TStringSparseList::GetObject(Integer Index) const {
  const TStrItem* P = ItemAt(Index);
  return P ? P->FObject : nullptr;
}

void TStringSparseList::Put(Integer Index, const String& S) {
  std::unique_ptr<TStrItem> Old(ItemAt(Index));
  TObject* Obj = Old ? Old->FObject : nullptr;
  if (!S.empty() || Obj) {
    auto Item = std::make_unique<TStrItem>(TStrItem{Obj, S});
    FList->Put(Index, Item.get());
    Item.release();
  } else {
    try {
      FList->Put(Index, nullptr);
    } catch (...) {
      Old.release();
      throw;
    }
  }
  Changed();
}

void TStringSparseList::PutObject(Integer Index, TObject* AObject) {
  if (TStrItem* P = ItemAt(Index))
    P->FObject = AObject;
  else if (AObject) {
    auto Item = std::make_unique<TStrItem>(TStrItem{AObject, String()});
    FList->Put(Index, Item.get());
    Item.release();
  }
  Changed();
}

void TStringSparseList::Insert(Integer Index, const String& S) {
  auto Item = std::make_unique<TStrItem>(TStrItem{nullptr, S});
  FList->Insert(Index, Item.get());
  Item.release();
  Changed();
}

void TStringSparseList::Delete(Integer Index) {
  if (Index >= 0 && Index < FList->Count()) {
    delete ItemAt(Index);
    FList->Delete(Index);
  }
  Changed();
}

void TStringSparseList::Exchange(Integer Index1, Integer Index2) { FList->Exchange(Index1, Index2); }

void TStringSparseList::DisposeItems() {
  FList->ForAll([](Integer, void* Item) {
    delete static_cast<TStrItem*>(Item);
    return 0;
  });
}

void TStringSparseList::Clear() {
  DisposeItems();
  FList->Clear();
  Changed();
}

void TStringSparseList::Changed() {
  if (OnChange) OnChange(this);
}

void TStringSparseList::Move(Integer CurIndex, Integer NewIndex) {
  if (CurIndex == NewIndex) return;
  FList->Move(CurIndex, NewIndex);
  Changed();
}
