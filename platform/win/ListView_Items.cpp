// The list view's rows (kept, or counted for owner data and fetched from the parent),
// their selection and focus with the parent told of every change, searching, columns
// mirrored into the header, and image lists.
#include <algorithm>
#include <cstring>

#include "platform/rtl/Utf8.h"
#include "platform/win/ListView_State.h"
#include "platform/win/NativeControl.h"

namespace vantrel::win {

namespace {

constexpr int ListViewTextBuffer = 260;

// The parent's text, at most Max - 1 bytes and cut at a whole UTF-8 character.
std::string ListViewTakeText(const char* Text, const char* Buffer, int Max) {
  if (!Text || Text == LPSTR_TEXTCALLBACK) return {};
  size_t N = Text == Buffer ? strnlen(Text, static_cast<size_t>(Max)) : std::strlen(Text);
  if (N > static_cast<size_t>(Max - 1)) {
    N = static_cast<size_t>(Max - 1);
    while (N > 0 && (static_cast<unsigned char>(Text[N]) & 0xC0) == 0x80) --N;
  }
  return std::string(Text, N);
}

// Text into a caller's buffer of Max bytes (Max > 0), cut at a whole UTF-8 character.
void ListViewCopyOut(const std::string& Text, char* Out, int Max) {
  size_t N = std::min(Text.size(), static_cast<size_t>(Max - 1));
  while (N > 0 && N < Text.size() && (static_cast<unsigned char>(Text[N]) & 0xC0) == 0x80) --N;
  std::memcpy(Out, Text.data(), N);
  Out[N] = '\0';
}

}  // namespace

ListViewState::ListViewState(HWND Wnd, DWORD Style) : FWnd(Wnd), FStyle(Style), FBkColor(CLR_NONE) {}

ListViewState* ListViewOf(HWND Wnd) { return NativeState<ListViewState>(Wnd); }

int ListViewState::Count() const { return OwnerData() ? FOwnerCount : static_cast<int>(FRows.size()); }

NMLISTVIEW ListViewState::ItemRecord(int Index) const {
  NMLISTVIEW N{};
  N.iItem = Index;
  if (!OwnerData() && Valid(Index)) N.lParam = FRows[static_cast<size_t>(Index)].Param;
  return N;
}

LRESULT ListViewState::InsertItem(const LVITEM& Item) {
  if (OwnerData()) return -1;
  const int At = std::clamp(Item.iItem, 0, Count());
  ListViewRow Row;
  if (Item.mask & LVIF_TEXT) {
    if (Item.pszText == LPSTR_TEXTCALLBACK)
      Row.Callback = true;
    else if (Item.pszText)
      Row.Text = Item.pszText;
  }
  if (Item.mask & LVIF_IMAGE) Row.Image = Item.iImage;
  if (Item.mask & LVIF_PARAM) Row.Param = Item.lParam;
  FRows.insert(FRows.begin() + At, std::move(Row));
  FSelected.insert(FSelected.begin() + At, false);
  if (FFocus >= At) ++FFocus;
  if (FAnchor >= At) ++FAnchor;
  if ((Item.mask & LVIF_STATE) && Item.stateMask) SetState(At, Item.state, Item.stateMask);
  LabelChanged(At);
  UpdateScroll();
  Invalidate();
  return At;
}

bool ListViewState::DeleteItem(int Index) {
  if (!Valid(Index) || OwnerData()) return false;
  NMLISTVIEW N = ItemRecord(Index);
  RowsVanish(Index);
  NotifyParent(FWnd, LVN_DELETEITEM, N);
  FRows.erase(FRows.begin() + Index);
  FSelected.erase(FSelected.begin() + Index);
  if (FFocus == Index)
    FFocus = -1;
  else if (FFocus > Index)
    --FFocus;
  if (FAnchor == Index)
    FAnchor = -1;
  else if (FAnchor > Index)
    --FAnchor;
  ClampScroll();
  UpdateScroll();
  Invalidate();
  return true;
}

void ListViewState::DeleteAll() {
  NMLISTVIEW N = ItemRecord(-1);
  NotifyParent(FWnd, LVN_DELETEALLITEMS, N);
  FRows.clear();
  FOwnerCount = 0;
  FSelected.clear();
  FFocus = FAnchor = -1;
  RowsVanish(-1);
  LabelsChanged();
  FTop = FTopColumn = FXPos = FYPos = 0;
  UpdateScroll();
  Invalidate();
}

void ListViewState::SetItemCount(int NewCount) {
  if (!OwnerData()) return;
  NewCount = std::max(0, NewCount);
  FOwnerCount = NewCount;
  // Rows that are gone lose their selection and focus.
  FSelected.resize(static_cast<size_t>(NewCount), false);
  if (FFocus >= NewCount) FFocus = -1;
  if (FAnchor >= NewCount) FAnchor = -1;
  RowsVanish(-1);
  LabelsChanged();
  ClampScroll();
  UpdateScroll();
  Invalidate();
}

bool ListViewState::SetItem(const LVITEM& Item) {
  if (!Valid(Item.iItem)) return false;
  if (!OwnerData()) {
    ListViewRow& Row = FRows[static_cast<size_t>(Item.iItem)];
    if (Item.mask & LVIF_TEXT) {
      const std::string Text = Item.pszText && Item.pszText != LPSTR_TEXTCALLBACK ? Item.pszText : "";
      if (Item.iSubItem == 0) {
        Row.Callback = Item.pszText == LPSTR_TEXTCALLBACK;
        Row.Text = Text;
      } else if (Item.iSubItem > 0) {
        if (Row.SubItems.size() < static_cast<size_t>(Item.iSubItem)) Row.SubItems.resize(static_cast<size_t>(Item.iSubItem));
        Row.SubItems[static_cast<size_t>(Item.iSubItem - 1)] = Text;
      }
    }
    if (Item.mask & LVIF_IMAGE) Row.Image = Item.iImage;
    if (Item.mask & LVIF_PARAM) Row.Param = Item.lParam;
  }
  if ((Item.mask & LVIF_STATE) && Item.stateMask) SetState(Item.iItem, Item.state, Item.stateMask);
  if ((Item.mask & LVIF_TEXT) && Item.iSubItem == 0) LabelChanged(Item.iItem);
  InvalidateItem(Item.iItem);
  return true;
}

bool ListViewState::GetItem(LVITEM& Item) {
  if (!Valid(Item.iItem)) return false;
  if ((Item.mask & LVIF_TEXT) && Item.pszText && Item.cchTextMax > 0) {
    ListViewCopyOut(CellText(Item.iItem, Item.iSubItem), Item.pszText, Item.cchTextMax);
  }
  if (Item.mask & LVIF_IMAGE) Item.iImage = CellImage(Item.iItem);
  if ((Item.mask & LVIF_PARAM) && !OwnerData()) Item.lParam = FRows[static_cast<size_t>(Item.iItem)].Param;
  if (Item.mask & LVIF_STATE) Item.state = State(Item.iItem) & Item.stateMask;
  return true;
}

std::string ListViewState::CellText(int Index, int SubItem) {
  if (!Valid(Index)) return {};
  if (!OwnerData()) {
    const ListViewRow& Row = FRows[static_cast<size_t>(Index)];
    // A row whose caption the parent keeps is asked for its sub-items too.
    if (!Row.Callback) {
      if (SubItem <= 0) return Row.Text;
      return static_cast<size_t>(SubItem) <= Row.SubItems.size() ? Row.SubItems[static_cast<size_t>(SubItem - 1)] : "";
    }
  }
  char Buffer[ListViewTextBuffer] = {};
  NMLVDISPINFO Info{};
  Info.item.mask = LVIF_TEXT;
  Info.item.iItem = Index;
  Info.item.iSubItem = SubItem;
  Info.item.pszText = Buffer;
  Info.item.cchTextMax = ListViewTextBuffer;
  if (!OwnerData()) Info.item.lParam = FRows[static_cast<size_t>(Index)].Param;
  NotifyParent(FWnd, LVN_GETDISPINFO, Info);
  return ListViewTakeText(Info.item.pszText, Buffer, ListViewTextBuffer);
}

int ListViewState::CellImage(int Index) {
  if (!Valid(Index)) return -1;
  if (!OwnerData() && FRows[static_cast<size_t>(Index)].Image != I_IMAGECALLBACK) return FRows[static_cast<size_t>(Index)].Image;
  NMLVDISPINFO Info{};
  Info.item.mask = LVIF_IMAGE;
  Info.item.iItem = Index;
  Info.item.iImage = -1;
  if (!OwnerData()) Info.item.lParam = FRows[static_cast<size_t>(Index)].Param;
  NotifyParent(FWnd, LVN_GETDISPINFO, Info);
  return Info.item.iImage;
}

UINT ListViewState::State(int Index) const {
  if (!Valid(Index)) return 0;
  UINT S = 0;
  if (static_cast<size_t>(Index) < FSelected.size() && FSelected[static_cast<size_t>(Index)]) S |= LVIS_SELECTED;
  if (Index == FFocus) S |= LVIS_FOCUSED;
  return S;
}

void ListViewState::SetState(int Index, UINT NewState, UINT Mask) {
  Mask &= LVIS_SELECTED | LVIS_FOCUSED;
  if (Index == -1) {
    for (int I = 0; I < Count(); ++I) SetState(I, NewState, Mask & LVIS_SELECTED);
    return;
  }
  if (!Valid(Index) || !Mask) return;
  if (FSelected.size() < static_cast<size_t>(Count())) FSelected.resize(static_cast<size_t>(Count()), false);
  if ((Mask & LVIS_SELECTED) && (NewState & LVIS_SELECTED) && (FStyle & LVS_SINGLESEL))
    for (int I = 0; I < Count(); ++I)
      if (I != Index && FSelected[static_cast<size_t>(I)]) SetState(I, 0, LVIS_SELECTED);
  if ((Mask & LVIS_FOCUSED) && (NewState & LVIS_FOCUSED) && FFocus >= 0 && FFocus != Index)
    SetState(FFocus, 0, LVIS_FOCUSED);
  const UINT Old = State(Index);
  const UINT New = (Old & ~Mask) | (NewState & Mask);
  if (Old == New) return;
  NMLISTVIEW N = ItemRecord(Index);
  N.uOldState = Old;
  N.uNewState = New;
  N.uChanged = LVIF_STATE;
  if (!OwnerData() && NotifyParent(FWnd, LVN_ITEMCHANGING, N)) return;  // refused
  FSelected[static_cast<size_t>(Index)] = (New & LVIS_SELECTED) != 0;
  if (New & LVIS_FOCUSED)
    FFocus = Index;
  else if (FFocus == Index)
    FFocus = -1;
  InvalidateItem(Index);
  N = ItemRecord(Index);
  N.uOldState = Old;
  N.uNewState = New;
  N.uChanged = LVIF_STATE;
  NotifyParent(FWnd, LVN_ITEMCHANGED, N);
}

int ListViewState::SelectedCount() const {
  int N = 0;
  for (int I = 0; I < Count() && static_cast<size_t>(I) < FSelected.size(); ++I) N += FSelected[static_cast<size_t>(I)];
  return N;
}

int ListViewState::NextItem(int Start, UINT Flags) const {
  for (int I = std::max(0, Start + 1); I < Count(); ++I) {
    const UINT S = State(I);
    if ((Flags & LVNI_SELECTED) && !(S & LVIS_SELECTED)) continue;
    if ((Flags & LVNI_FOCUSED) && !(S & LVIS_FOCUSED)) continue;
    return I;
  }
  return -1;
}

LRESULT ListViewState::FindItem(int Start, const LVFINDINFO& Find) {
  const int N = Count();
  if (N == 0) return -1;
  if (OwnerData()) {
    NMLVFINDITEM F{};
    F.iStart = Start + 1 < N ? std::max(0, Start + 1) : 0;  // where the search begins
    F.lvfi = Find;
    const LRESULT R = NotifyParent(FWnd, LVN_ODFINDITEM, F);
    return R >= 0 && R < N ? R : -1;
  }
  const std::string Key = Find.psz ? Find.psz : "";
  const int From = std::clamp(Start + 1, 0, N);
  const int Steps = (Find.flags & LVFI_WRAP) ? N : N - From;
  for (int S = 0; S < Steps; ++S) {
    const int I = (From + S) % N;
    if (Find.flags & LVFI_PARAM) {
      if (FRows[static_cast<size_t>(I)].Param == Find.lParam) return I;
      continue;
    }
    const std::string T = CellText(I, 0);
    if ((Find.flags & LVFI_PARTIAL) ? StartsText(Key, T) : SameText(Key, T)) return I;
  }
  return -1;
}

LRESULT ListViewState::InsertColumn(int Index, const LVCOLUMN& Column) {
  const int At = std::clamp(Index, 0, ColumnCount());
  ListViewColumn C;
  if ((Column.mask & LVCF_TEXT) && Column.pszText) C.Text = Column.pszText;
  if (Column.mask & LVCF_WIDTH) C.Width = std::max(0, Column.cx);
  if (Column.mask & LVCF_FMT) C.Fmt = Column.fmt;
  C.SubItem = (Column.mask & LVCF_SUBITEM) ? Column.iSubItem : At;
  if (Column.mask & LVCF_IMAGE) C.Image = Column.iImage;
  FColumns.insert(FColumns.begin() + At, C);
  for (int& O : FOrder)
    if (O >= At) ++O;
  FOrder.insert(FOrder.begin() + std::min<int>(At, static_cast<int>(FOrder.size())), At);
  if (FHeader) {
    HDITEM H;
    H.mask = HDI_TEXT | HDI_WIDTH | HDI_FORMAT;
    H.pszText = const_cast<char*>(C.Text.c_str());
    H.cxy = C.Width;
    H.fmt = C.Fmt | HDF_STRING;
    SendMessage(FHeader, HDM_INSERTITEM, static_cast<WPARAM>(At), reinterpret_cast<LPARAM>(&H));
  }
  UpdateScroll();
  Invalidate();
  return At;
}

bool ListViewState::DeleteColumn(int Index) {
  if (Index < 0 || Index >= ColumnCount()) return false;
  FColumns.erase(FColumns.begin() + Index);
  FOrder.erase(std::find(FOrder.begin(), FOrder.end(), Index));
  for (int& O : FOrder)
    if (O > Index) --O;
  if (FHeader) SendMessage(FHeader, HDM_DELETEITEM, static_cast<WPARAM>(Index), 0);
  UpdateScroll();
  Invalidate();
  return true;
}

bool ListViewState::SetColumn(int Index, const LVCOLUMN& Column) {
  if (Index < 0 || Index >= ColumnCount()) return false;
  ListViewColumn& C = FColumns[static_cast<size_t>(Index)];
  HDITEM H;
  if ((Column.mask & LVCF_TEXT) && Column.pszText) {
    C.Text = Column.pszText;
    H.mask |= HDI_TEXT;
    H.pszText = const_cast<char*>(C.Text.c_str());
  }
  if (Column.mask & LVCF_WIDTH) {
    C.Width = std::max(0, Column.cx);
    H.mask |= HDI_WIDTH;
    H.cxy = C.Width;
  }
  if (Column.mask & LVCF_FMT) {
    C.Fmt = Column.fmt;
    H.mask |= HDI_FORMAT;
    H.fmt = C.Fmt | HDF_STRING;
  }
  if (Column.mask & LVCF_IMAGE) C.Image = Column.iImage;
  if (FHeader && H.mask) SendMessage(FHeader, HDM_SETITEM, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(&H));
  UpdateScroll();
  Invalidate();
  return true;
}

bool ListViewState::GetColumn(int Index, LVCOLUMN& Column) const {
  if (Index < 0 || Index >= ColumnCount()) return false;
  const ListViewColumn& C = FColumns[static_cast<size_t>(Index)];
  if ((Column.mask & LVCF_TEXT) && Column.pszText && Column.cchTextMax > 0) {
    ListViewCopyOut(C.Text, Column.pszText, Column.cchTextMax);
  }
  if (Column.mask & LVCF_WIDTH) Column.cx = ColumnWidth(Index);
  if (Column.mask & LVCF_FMT) Column.fmt = C.Fmt;
  if (Column.mask & LVCF_SUBITEM) Column.iSubItem = C.SubItem;
  if (Column.mask & LVCF_IMAGE) Column.iImage = C.Image;
  if (Column.mask & LVCF_ORDER) {
    const std::vector<int> Order = ColumnOrder();
    Column.iOrder = static_cast<int>(std::find(Order.begin(), Order.end(), Index) - Order.begin());
  }
  return true;
}

int ListViewState::ColumnWidth(int Index) const {
  if (ViewType() == LVS_LIST) return ListColumnWidth();
  if (Index < 0 || Index >= ColumnCount()) return 0;
  return FColumns[static_cast<size_t>(Index)].Width;
}

bool ListViewState::SetColumnWidth(int Index, int Width) {
  if (ViewType() == LVS_LIST) return Index == 0 && SetListColumnWidth(Width);
  LVCOLUMN C;
  C.mask = LVCF_WIDTH;
  C.cx = Width;
  return SetColumn(Index, C);
}

std::vector<int> ListViewState::ColumnOrder() const {
  if (!FHeader) return FOrder;
  std::vector<int> Order(FColumns.size());
  if (!Order.empty())
    SendMessage(FHeader, HDM_GETORDERARRAY, Order.size(), reinterpret_cast<LPARAM>(Order.data()));
  return Order;
}

bool ListViewState::SetColumnOrder(const std::vector<int>& Order) {
  if (Order.size() != FColumns.size()) return false;
  std::vector<int> Sorted(Order);
  std::sort(Sorted.begin(), Sorted.end());
  for (size_t I = 0; I < Sorted.size(); ++I)
    if (Sorted[I] != static_cast<int>(I)) return false;
  FOrder = Order;
  if (FHeader) SendMessage(FHeader, HDM_SETORDERARRAY, Order.size(), reinterpret_cast<LPARAM>(Order.data()));
  Invalidate();
  return true;
}

void ListViewState::HeaderNotify(const NMHEADER& N) {
  switch (N.hdr.code) {
    case HDN_ITEMCHANGED:
      if (N.pitem && (N.pitem->mask & HDI_WIDTH) && N.iItem >= 0 && N.iItem < ColumnCount())
        FColumns[static_cast<size_t>(N.iItem)].Width = N.pitem->cxy;
      if (FHeader) FOrder = ColumnOrder();
      UpdateScroll();
      Invalidate();
      break;
    case HDN_ITEMCLICK: {
      NMLISTVIEW L = ItemRecord(-1);
      L.iSubItem = N.iItem;
      NotifyParent(FWnd, LVN_COLUMNCLICK, L);
      break;
    }
    default: break;
  }
}

HIMAGELIST ListViewState::ImageList(WPARAM Which) const {
  return Which == LVSIL_NORMAL ? FLarge : Which == LVSIL_SMALL ? FSmall : Which == LVSIL_STATE ? FStateImages : nullptr;
}

HIMAGELIST ListViewState::SetImageList(WPARAM Which, HIMAGELIST List) {
  HIMAGELIST* Slot = Which == LVSIL_NORMAL ? &FLarge : Which == LVSIL_SMALL ? &FSmall : Which == LVSIL_STATE ? &FStateImages : nullptr;
  if (!Slot) return nullptr;
  HIMAGELIST Old = *Slot;
  *Slot = List;
  LabelsChanged();
  UpdateScroll();
  Invalidate();
  return Old;
}

DWORD ListViewState::SetExStyle(DWORD Mask, DWORD Style) {
  const DWORD Old = FExStyle;
  if (Mask == 0) Mask = 0xFFFFFFFF;
  FExStyle = (FExStyle & ~Mask) | (Style & Mask);
  if (FHeader) {
    const DWORD H = static_cast<DWORD>(GetWindowLong(FHeader, GWL_STYLE));
    SetWindowLong(FHeader, GWL_STYLE,
                  static_cast<LONG>((FExStyle & LVS_EX_HEADERDRAGDROP) ? (H | HDS_DRAGDROP) : (H & ~HDS_DRAGDROP)));
  }
  Invalidate();
  return Old;
}

}  // namespace vantrel::win
