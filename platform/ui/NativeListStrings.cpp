// A native list's items: messages to the window while it exists, the saved string list
// while it does not.
#include "platform/ui/NativeListStrings.h"

#include "platform/rtl/Utf8.h"
#include "platform/win/MessageQueue.h"

LRESULT TNativeListStrings::Send(UINT Msg, WPARAM WParam, LPARAM LParam) const {
  return SendMessage(FControl->Handle(), Msg, WParam, LParam);
}

void TNativeListStrings::CheckIndex(Integer Index) const {
  if (Index < 0 || Index >= Count()) Error(SListIndexError, Index);
}

Integer TNativeListStrings::Count() const {
  if (FControl->HandleAllocated()) return static_cast<Integer>(Send(FMessages.Count, 0, 0));
  return FSaved->Count();
}

String TNativeListStrings::Get(Integer Index) const {
  CheckIndex(Index);
  if (!FControl->HandleAllocated()) return FSaved->Get(Index);
  const LRESULT Len = Send(FMessages.GetTextLen, static_cast<WPARAM>(Index), 0);
  if (Len < 0) Error(SListIndexError, Index);
  std::string Buffer(static_cast<size_t>(Len) + 1, '\0');
  Send(FMessages.GetText, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(Buffer.data()));
  Buffer.resize(static_cast<size_t>(Len));
  return Buffer;
}

void TNativeListStrings::Put(Integer Index, const String& S) {
  CheckIndex(Index);
  const Integer Selected = GetSelected ? GetSelected() : -1;
  TObject* Obj = GetObject(Index);
  Delete(Index);
  InsertObject(Index, S, Obj);
  if (Selected >= 0 && SetSelected) SetSelected(Selected);
}

TObject* TNativeListStrings::GetObject(Integer Index) const {
  CheckIndex(Index);
  if (!FControl->HandleAllocated()) return FSaved->GetObject(Index);
  return reinterpret_cast<TObject*>(Send(FMessages.GetData, static_cast<WPARAM>(Index), 0));
}

void TNativeListStrings::PutObject(Integer Index, TObject* AObject) {
  CheckIndex(Index);
  if (!FControl->HandleAllocated()) {
    FSaved->PutObject(Index, AObject);
    return;
  }
  Send(FMessages.SetData, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(AObject));
}

Integer TNativeListStrings::Add(const String& S) {
  if (FControl->HandleAllocated()) {
    const LRESULT Index = Send(FMessages.Add, 0, reinterpret_cast<LPARAM>(S.c_str()));
    if (Index < 0) throw EOutOfResources("Failed to insert list item");
    return static_cast<Integer>(Index);
  }
  TStringList* Saved = FSaved;
  Integer Index = Saved->Count();
  if (FSorted && FSorted()) {
    Index = 0;
    while (Index < Saved->Count() && CompareText(Saved->Get(Index), S) <= 0) ++Index;
  }
  Saved->Insert(Index, S);
  return Index;
}

Integer TNativeListStrings::AddObject(const String& S, TObject* AObject) {
  const Integer Index = Add(S);
  PutObject(Index, AObject);
  return Index;
}

void TNativeListStrings::Insert(Integer Index, const String& S) {
  if (Index < 0 || Index > Count()) Error(SListIndexError, Index);
  if (!FControl->HandleAllocated()) {
    FSaved->Insert(Index, S);
    return;
  }
  if (Send(FMessages.Insert, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(S.c_str())) < 0)
    throw EOutOfResources("Failed to insert list item");
}

void TNativeListStrings::Delete(Integer Index) {
  CheckIndex(Index);
  if (!FControl->HandleAllocated()) {
    FSaved->Delete(Index);
    return;
  }
  Send(FMessages.Delete, static_cast<WPARAM>(Index), 0);
}

void TNativeListStrings::Clear() {
  if (!FControl->HandleAllocated()) {
    FSaved->Clear();
    return;
  }
  Send(FMessages.Reset, 0, 0);
}

Integer TNativeListStrings::IndexOf(const String& S) const {
  if (!FControl->HandleAllocated()) return FSaved->IndexOf(S);
  return static_cast<Integer>(
      Send(FMessages.FindExact, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(S.c_str())));
}

void TNativeListStrings::SetUpdateState(bool Updating) {
  if (!FControl->HandleAllocated()) return;
  Send(WM_SETREDRAW, Updating ? 0 : 1, 0);
  if (!Updating) FControl->Invalidate();
}
