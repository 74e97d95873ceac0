// A list box's items: LB_* messages to the window while it exists, the saved string list
// while it does not.
#include <algorithm>

#include "platform/rtl/Utf8.h"
#include "platform/ui/ListBox.h"
#include "platform/win/ListBox.h"
#include "platform/win/MessageQueue.h"

namespace {

LRESULT ListBoxSend(TCustomListBox* L, UINT Msg, WPARAM WParam, LPARAM LParam) {
  return SendMessage(L->Handle(), Msg, WParam, LParam);
}

}  // namespace

void TListBoxStrings::CheckIndex(Integer Index) const {
  if (Index < 0 || Index >= Count()) Error("List index out of bounds (%d)", Index);
}

Integer TListBoxStrings::Count() const {
  if (FListBox->HandleAllocated()) return static_cast<Integer>(ListBoxSend(FListBox, LB_GETCOUNT, 0, 0));
  return FListBox->FSaveItems->Count();
}

String TListBoxStrings::Get(Integer Index) const {
  CheckIndex(Index);
  if (!FListBox->HandleAllocated()) return FListBox->FSaveItems->Get(Index);
  const LRESULT Len = ListBoxSend(FListBox, LB_GETTEXTLEN, static_cast<WPARAM>(Index), 0);
  if (Len < 0) Error("List index out of bounds (%d)", Index);
  std::string Buffer(static_cast<size_t>(Len) + 1, '\0');
  ListBoxSend(FListBox, LB_GETTEXT, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(Buffer.data()));
  Buffer.resize(static_cast<size_t>(Len));
  return Buffer;
}

void TListBoxStrings::Put(Integer Index, const String& S) {
  CheckIndex(Index);
  const Integer Selected = FListBox->ItemIndex();
  TObject* Obj = GetObject(Index);
  Delete(Index);
  InsertObject(Index, S, Obj);
  if (Selected >= 0) FListBox->SetItemIndex(Selected);
}

TObject* TListBoxStrings::GetObject(Integer Index) const {
  CheckIndex(Index);
  if (!FListBox->HandleAllocated()) return FListBox->FSaveItems->GetObject(Index);
  return reinterpret_cast<TObject*>(ListBoxSend(FListBox, LB_GETITEMDATA, static_cast<WPARAM>(Index), 0));
}

void TListBoxStrings::PutObject(Integer Index, TObject* AObject) {
  CheckIndex(Index);
  if (!FListBox->HandleAllocated()) {
    FListBox->FSaveItems->PutObject(Index, AObject);
    return;
  }
  ListBoxSend(FListBox, LB_SETITEMDATA, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(AObject));
}

Integer TListBoxStrings::Add(const String& S) {
  if (FListBox->HandleAllocated()) {
    const LRESULT Index = ListBoxSend(FListBox, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(S.c_str()));
    if (Index < 0) throw EOutOfResources("Failed to insert list item");
    return static_cast<Integer>(Index);
  }
  TStringList* Saved = FListBox->FSaveItems.get();
  Integer Index = Saved->Count();
  if (FListBox->Sorted()) {
    Index = 0;
    while (Index < Saved->Count() && CompareText(Saved->Get(Index), S) <= 0) ++Index;
  }
  Saved->Insert(Index, S);
  return Index;
}

Integer TListBoxStrings::AddObject(const String& S, TObject* AObject) {
  const Integer Index = Add(S);
  PutObject(Index, AObject);
  return Index;
}

void TListBoxStrings::Insert(Integer Index, const String& S) {
  if (Index < 0 || Index > Count()) Error("List index out of bounds (%d)", Index);
  if (!FListBox->HandleAllocated()) {
    FListBox->FSaveItems->Insert(Index, S);
    return;
  }
  if (ListBoxSend(FListBox, LB_INSERTSTRING, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(S.c_str())) < 0)
    throw EOutOfResources("Failed to insert list item");
}

void TListBoxStrings::Delete(Integer Index) {
  CheckIndex(Index);
  if (!FListBox->HandleAllocated()) {
    FListBox->FSaveItems->Delete(Index);
    return;
  }
  ListBoxSend(FListBox, LB_DELETESTRING, static_cast<WPARAM>(Index), 0);
}

void TListBoxStrings::Clear() {
  if (!FListBox->HandleAllocated()) {
    FListBox->FSaveItems->Clear();
    return;
  }
  ListBoxSend(FListBox, LB_RESETCONTENT, 0, 0);
}

Integer TListBoxStrings::IndexOf(const String& S) const {
  if (!FListBox->HandleAllocated()) return FListBox->FSaveItems->IndexOf(S);
  return static_cast<Integer>(
      ListBoxSend(FListBox, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(S.c_str())));
}

void TListBoxStrings::SetUpdateState(bool Updating) {
  if (!FListBox->HandleAllocated()) return;
  ListBoxSend(FListBox, WM_SETREDRAW, Updating ? 0 : 1, 0);
  if (!Updating) FListBox->Invalidate();
}
