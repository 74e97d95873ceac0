#include "platform/rtl/Classes.h"

#include <algorithm>

#include "platform/rtl/Format.h"
#include "platform/rtl/Utf8.h"

namespace {

bool IsValidIdent(const String& S) {
  auto Alpha = [](char C) { return (C >= 'A' && C <= 'Z') || (C >= 'a' && C <= 'z') || C == '_'; };
  if (S.empty() || !Alpha(S[0])) return false;
  return std::all_of(S.begin() + 1, S.end(),
                     [&](char C) { return Alpha(C) || (C >= '0' && C <= '9'); });
}

[[noreturn]] void ListError(Integer Index) {
  throw EListError(Format(SListIndexError, {Index}));
}

void EraseOne(std::vector<TComponent*>& List, TComponent* Item) {
  const auto It = std::find(List.begin(), List.end(), Item);
  if (It != List.end()) List.erase(It);
}

}  // namespace

// TObject

bool TObject::ClassNameIs(const String& Name) const { return SameText(ClassName(), Name); }

void TObject::Free() {
  BeforeDestruction();
  delete this;
}

void FreeObject(TObject* Obj) {
  if (Obj) Obj->Free();
}

// TPersistent

void TPersistent::Assign(TPersistent* Source) {
  if (Source)
    Source->AssignTo(this);
  else
    AssignError(nullptr);
}

void TPersistent::AssignTo(TPersistent* Dest) { Dest->AssignError(this); }

void TPersistent::AssignError(TPersistent* Source) {
  const String SourceName = Source ? Source->ClassName() : "nil";
  throw EConvertError(Format("Cannot assign a %s to a %s", {SourceName, ClassName()}));
}

// TComponent

TComponent::TComponent(TComponent* AOwner) {
  if (AOwner) AOwner->InsertComponent(this);
}

TComponent::~TComponent() { Teardown(); }

void TComponent::BeforeDestruction() {
  TPersistent::BeforeDestruction();
  Teardown();
}

// Runs once with the whole object (from Free) or, when deleted directly, from the
// destructor; a second run finds nothing left to do.
void TComponent::Teardown() {
  Destroying();
  while (!FFreeNotifies.empty()) {
    TComponent* Client = FFreeNotifies.back();
    FFreeNotifies.pop_back();
    EraseOne(Client->FFreeNotifies, this);
    Client->Notification(this, opRemove);
  }
  DestroyComponents();
  if (FOwner) FOwner->RemoveComponent(this);
}

TComponent* TComponent::Components(Integer Index) const {
  if (Index < 0 || Index >= ComponentCount()) ListError(Index);
  return FComponents[static_cast<size_t>(Index)];
}

Integer TComponent::ComponentIndex() const {
  if (!FOwner) return -1;
  const auto& List = FOwner->FComponents;
  const auto It = std::find(List.begin(), List.end(), this);
  return It == List.end() ? -1 : static_cast<Integer>(It - List.begin());
}

TComponent* TComponent::FindComponent(const String& AName) const {
  if (AName.empty()) return nullptr;
  for (TComponent* C : FComponents)
    if (SameText(C->FName, AName)) return C;
  return nullptr;
}

void TComponent::SetName(const String& NewName) {
  if (FName == NewName) return;
  if (!NewName.empty() && !IsValidIdent(NewName))
    throw EComponentError(Format("'%s' is not a valid component name", {NewName}));
  if (FOwner)
    FOwner->ValidateRename(this, FName, NewName);
  else
    ValidateRename(nullptr, FName, NewName);
  FName = NewName;
}

void TComponent::ValidateRename(TComponent* AComponent, const String& CurName,
                                const String& NewName) {
  if (AComponent && !NewName.empty() && !SameText(CurName, NewName)) {
    TComponent* Other = FindComponent(NewName);
    if (Other && Other != AComponent)
      throw EComponentError(Format("A component named %s already exists", {NewName}));
  }
}

void TComponent::InsertComponent(TComponent* AComponent) {
  if (!AComponent || AComponent->FOwner == this) return;
  ValidateRename(AComponent, "", AComponent->FName);
  if (AComponent->FOwner) AComponent->FOwner->RemoveComponent(AComponent);
  FComponents.push_back(AComponent);
  AComponent->FOwner = this;
  Notification(AComponent, opInsert);
}

void TComponent::RemoveComponent(TComponent* AComponent) {
  if (!AComponent || AComponent->FOwner != this) return;
  Notification(AComponent, opRemove);
  EraseOne(FComponents, AComponent);
  AComponent->FOwner = nullptr;
}

void TComponent::DestroyComponents() {
  FComponentState.Include(csDestroying);
  while (!FComponents.empty()) {
    TComponent* Instance = FComponents.back();
    // A component that asked for free-notification leaves with a notification to its
    // siblings; the others leave quietly, as the whole family is going.
    if (Instance->FComponentState.Contains(csFreeNotification)) {
      RemoveComponent(Instance);
    } else {
      FComponents.pop_back();
      Instance->FOwner = nullptr;
    }
    Instance->Free();
  }
}

void TComponent::Destroying() {
  if (FComponentState.Contains(csDestroying)) return;
  FComponentState.Include(csDestroying);
  for (TComponent* C : FComponents) C->Destroying();
}

void TComponent::FreeNotification(TComponent* AComponent) {
  if (!AComponent || AComponent == this) return;
  if (!FOwner || AComponent->FOwner != FOwner) {
    if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), AComponent) == FFreeNotifies.end()) {
      FFreeNotifies.push_back(AComponent);
      AComponent->FreeNotification(this);
    }
  }
  FComponentState.Include(csFreeNotification);
}

void TComponent::RemoveFreeNotification(TComponent* AComponent) {
  RemoveNotification(AComponent);
  if (AComponent) AComponent->RemoveNotification(this);
}

void TComponent::RemoveNotification(TComponent* AComponent) {
  // A request from a component of the same owner is kept by no list: it stands until the
  // component goes, however often others come and go.
  if (FFreeNotifies.empty()) return;
  EraseOne(FFreeNotifies, AComponent);
  if (FFreeNotifies.empty()) FComponentState.Exclude(csFreeNotification);
}

void TComponent::Notification(TComponent* AComponent, TOperation Operation) {
  if (Operation == opRemove && AComponent) RemoveFreeNotification(AComponent);
  // A handler may free components of this list: walk down and re-check the bounds.
  for (size_t I = FComponents.size(); I-- > 0;) {
    if (I >= FComponents.size()) continue;
    FComponents[I]->Notification(AComponent, Operation);
  }
}

void TComponent::Loaded() { FComponentState.Exclude(csLoading); }

// TList

void TList::CheckIndex(Integer Index) const {
  if (Index < 0 || Index >= Count()) ListError(Index);
}

Integer TList::Add(void* Item) {
  FList.push_back(Item);
  return Count() - 1;
}

void TList::Insert(Integer Index, void* Item) {
  if (Index < 0 || Index > Count()) ListError(Index);
  FList.insert(FList.begin() + Index, Item);
}

void TList::Delete(Integer Index) {
  CheckIndex(Index);
  FList.erase(FList.begin() + Index);
}

Integer TList::Remove(void* Item) {
  const Integer Index = IndexOf(Item);
  if (Index >= 0) Delete(Index);
  return Index;
}

void* TList::Extract(void* Item) { return Remove(Item) >= 0 ? Item : nullptr; }

Integer TList::IndexOf(void* Item) const {
  const auto It = std::find(FList.begin(), FList.end(), Item);
  return It == FList.end() ? -1 : static_cast<Integer>(It - FList.begin());
}

void TList::Clear() {
  FList.clear();
  FList.shrink_to_fit();
}

void TList::SetCount(Integer NewCount) {
  if (NewCount < 0) throw EListError(Format("List count out of bounds (%d)", {NewCount}));
  FList.resize(static_cast<size_t>(NewCount), nullptr);
}

void TList::SetCapacity(Integer NewCapacity) {
  if (NewCapacity < Count())
    throw EListError(Format("List capacity out of bounds (%d)", {NewCapacity}));
  if (NewCapacity > Capacity())
    FList.reserve(static_cast<size_t>(NewCapacity));
  else
    FList.shrink_to_fit();
}

void* TList::Items(Integer Index) const {
  CheckIndex(Index);
  return FList[static_cast<size_t>(Index)];
}

void TList::Put(Integer Index, void* Item) {
  CheckIndex(Index);
  FList[static_cast<size_t>(Index)] = Item;
}

void*& TList::operator[](Integer Index) {
  CheckIndex(Index);
  return FList[static_cast<size_t>(Index)];
}

void* TList::First() const { return Items(0); }
void* TList::Last() const { return Items(Count() - 1); }

void TList::Exchange(Integer Index1, Integer Index2) {
  CheckIndex(Index1);
  CheckIndex(Index2);
  std::swap(FList[static_cast<size_t>(Index1)], FList[static_cast<size_t>(Index2)]);
}

void TList::Move(Integer CurIndex, Integer NewIndex) {
  if (CurIndex == NewIndex) return;
  CheckIndex(NewIndex);
  void* Item = Items(CurIndex);
  FList.erase(FList.begin() + CurIndex);
  FList.insert(FList.begin() + NewIndex, Item);
}

void TList::Sort(const TListSortCompare& Compare) {
  std::stable_sort(FList.begin(), FList.end(), [&](void* A, void* B) { return Compare(A, B) < 0; });
}

void TList::Pack() { std::erase(FList, nullptr); }
