// The list box's rows and selection: adding (sorted or in place), inserting, deleting,
// searching, and the single, multiple and extended selection with caret and anchor.
#include <algorithm>

#include "platform/rtl/Utf8.h"
#include "platform/win/ListBox_State.h"
#include "platform/win/NativeControl.h"

namespace vantrel::win {

ListBoxState::ListBoxState(HWND Wnd, DWORD Style) : FWnd(Wnd), FStyle(Style) {}

ListBoxState* ListBoxOf(HWND Wnd) { return NativeState<ListBoxState>(Wnd); }

bool ListBoxState::InsertItem(int Index, ListBoxItem Item) {
  FItems.insert(FItems.begin() + Index, std::move(Item));
  ShiftAfterInsert(Index);
  UpdateScroll();
  InvalidateAll();
  return true;
}

LRESULT ListBoxState::Add(const std::string& Text, ULONG_PTR Data) {
  int Index = Count();
  if ((FStyle & LBS_SORT) && HasStrings()) {
    auto It = std::upper_bound(FItems.begin(), FItems.end(), Text, [](const std::string& T, const ListBoxItem& I) {
      return CompareText(T, I.Text) < 0;
    });
    Index = static_cast<int>(It - FItems.begin());
  }
  InsertItem(Index, ListBoxItem{Text, Data, false});
  return Index;
}

LRESULT ListBoxState::Insert(int Index, const std::string& Text, ULONG_PTR Data) {
  if (Index == -1) Index = Count();
  if (Index < 0 || Index > Count()) return LB_ERR;
  InsertItem(Index, ListBoxItem{Text, Data, false});
  return Index;
}

void ListBoxState::ShiftAfterInsert(int Index) {
  if (FCurrent >= Index) ++FCurrent;
  if (FCaret >= Index && Count() > 1) ++FCaret;
  if (FAnchor >= Index) ++FAnchor;
}

LRESULT ListBoxState::Remove(int Index) {
  if (!Valid(Index)) return LB_ERR;
  FItems.erase(FItems.begin() + Index);
  ShiftAfterRemove(Index);
  FTop = std::clamp(FTop, 0, MaxTop());
  UpdateScroll();
  InvalidateAll();
  return Count();
}

void ListBoxState::ShiftAfterRemove(int Index) {
  if (FCurrent == Index)
    FCurrent = -1;
  else if (FCurrent > Index)
    --FCurrent;
  if (FCaret > Index) --FCaret;
  FCaret = std::clamp(FCaret, 0, std::max(0, Count() - 1));
  if (FAnchor == Index)
    FAnchor = -1;
  else if (FAnchor > Index)
    --FAnchor;
}

void ListBoxState::Reset() {
  FItems.clear();
  FCurrent = -1;
  FCaret = 0;
  FAnchor = -1;
  FTop = 0;
  FHorzPos = 0;
  UpdateScroll();
  InvalidateAll();
}

LRESULT ListBoxState::Find(int Start, const std::string& Text, bool Exact) const {
  const int N = Count();
  if (N == 0 || !HasStrings()) return LB_ERR;
  if (Start < -1 || Start >= N) Start = -1;
  for (int Step = 1; Step <= N; ++Step) {
    const int I = (Start + Step) % N;
    const std::string& T = Item(I).Text;
    if (Exact ? SameText(T, Text) : StartsText(Text, T)) return I;
  }
  return LB_ERR;
}

bool ListBoxState::IsSelected(int Index) const {
  if (!Valid(Index)) return false;
  return MultiSel() ? Item(Index).Selected : Index == FCurrent;
}

bool ListBoxState::SetCurrent(int Index) {
  if (!Valid(Index)) Index = -1;
  if (Index == FCurrent) return false;
  const int Old = FCurrent;
  FCurrent = Index;
  const int OldCaret = FCaret;
  if (Index >= 0) FCaret = Index;
  InvalidateItem(Old);
  InvalidateItem(OldCaret);
  InvalidateItem(Index);
  return true;
}

void ListBoxState::SelectRange(int First, int Last, bool Select) {
  if (Count() == 0) return;
  if (First > Last) std::swap(First, Last);
  First = std::max(First, 0);
  Last = std::min(Last, Count() - 1);
  for (int I = First; I <= Last; ++I)
    if (Item(I).Selected != Select) {
      Item(I).Selected = Select;
      InvalidateItem(I);
    }
}

void ListBoxState::SelectOnly(int Index) {
  for (int I = 0; I < Count(); ++I)
    if (Item(I).Selected != (I == Index)) {
      Item(I).Selected = I == Index;
      InvalidateItem(I);
    }
}

int ListBoxState::SelCount() const {
  return static_cast<int>(std::count_if(FItems.begin(), FItems.end(), [](const ListBoxItem& I) { return I.Selected; }));
}

void ListBoxState::SetCaret(int Index) {
  if (!Valid(Index) || Index == FCaret) return;
  InvalidateItem(FCaret);
  FCaret = Index;
  InvalidateItem(FCaret);
}

std::vector<int> ListBoxState::SelectionSnapshot() const {
  std::vector<int> Out;
  if (!MultiSel()) {
    Out.push_back(FCurrent);
    return Out;
  }
  for (int I = 0; I < Count(); ++I)
    if (Item(I).Selected) Out.push_back(I);
  return Out;
}

void ListBoxState::Notify(WORD Code) {
  const bool Always = Code == LBN_SETFOCUS || Code == LBN_KILLFOCUS || Code == LBN_ERRSPACE;
  if (Always || (FStyle & LBS_NOTIFY)) NotifyParentCommand(FWnd, Code);
}

}  // namespace vantrel::win
