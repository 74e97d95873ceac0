// TCustomListView: columns and rows pushed into the native view, texts and images handed
// to it on request (LVN_GETDISPINFO) from the rows or, with OwnerData, from OnData, and
// the view's notifications turned into the control's events and hooks.
#include "platform/ui/ComCtrls.h"

#include <algorithm>
#include <cstring>

#include "platform/rtl/Format.h"
#include "platform/win/ListView.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/WindowManager.h"

namespace {

void ListViewCopyText(const String& S, LVITEM& Item) {
  if (!Item.pszText || Item.pszText == LPSTR_TEXTCALLBACK || Item.cchTextMax <= 0) return;
  size_t N = std::min(S.size(), static_cast<size_t>(Item.cchTextMax - 1));
  while (N > 0 && N < S.size() && (static_cast<unsigned char>(S[N]) & 0xC0) == 0x80) --N;
  std::memcpy(Item.pszText, S.data(), N);
  Item.pszText[N] = '\0';
}

[[noreturn]] void ListViewIndexError(Integer Index) {
  throw EListError(Format("List index out of bounds (%d)", {Index}));
}

}  // namespace

// --- Columns ---------------------------------------------------------------------------

void TListColumn::Push() {
  if (!FOwner->HandleAllocated()) return;
  LVCOLUMN C;
  C.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
  C.pszText = const_cast<char*>(FCaption.c_str());
  C.cx = FWidth;
  C.fmt = FAlignment == taRightJustify ? LVCFMT_RIGHT : FAlignment == taCenter ? LVCFMT_CENTER : LVCFMT_LEFT;
  SendMessage(FOwner->Handle(), LVM_SETCOLUMN, static_cast<WPARAM>(FIndex), reinterpret_cast<LPARAM>(&C));
}

void TListColumn::SetCaption(const String& Value) {
  FCaption = Value;
  Push();
}

Integer TListColumn::Width() {
  if (FOwner->HandleAllocated())
    FWidth = static_cast<Integer>(SendMessage(FOwner->Handle(), LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(FIndex), 0));
  return FWidth;
}

void TListColumn::SetWidth(Integer Value) {
  FWidth = std::max(0, Value);
  Push();
}

void TListColumn::SetAlignment(TAlignment Value) {
  FAlignment = Value;
  Push();
}

TListColumn* TListColumns::Add() {
  FItems.push_back(std::make_unique<TListColumn>(FOwner, Count()));
  TListColumn* C = FItems.back().get();
  if (FOwner->HandleAllocated()) {
    LVCOLUMN L;
    L.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
    L.pszText = const_cast<char*>(C->FCaption.c_str());
    L.cx = C->FWidth;
    SendMessage(FOwner->Handle(), LVM_INSERTCOLUMN, static_cast<WPARAM>(C->FIndex), reinterpret_cast<LPARAM>(&L));
  }
  return C;
}

void TListColumns::Clear() {
  if (FOwner->HandleAllocated())
    for (Integer I = Count() - 1; I >= 0; --I) SendMessage(FOwner->Handle(), LVM_DELETECOLUMN, static_cast<WPARAM>(I), 0);
  FItems.clear();
}

TListColumn* TListColumns::Items(Integer Index) const {
  if (Index < 0 || Index >= Count()) ListViewIndexError(Index);
  return FItems[static_cast<size_t>(Index)].get();
}

// --- Items -----------------------------------------------------------------------------

namespace {

TCustomListView* ListViewOfItem(TListItems* Items) { return Items->Owner(); }

}  // namespace

void TListItem::SetCaption(const String& Value) {
  FCaption = Value;
  TCustomListView* L = ListViewOfItem(FOwner);
  // An owner-data row is filled while the view draws it: nothing to redraw.
  if (L->HandleAllocated() && FIndex >= 0 && !L->OwnerData())
    SendMessage(L->Handle(), LVM_UPDATE, static_cast<WPARAM>(FIndex), 0);
}

void TListItem::SetImageIndex(Integer Value) {
  FImageIndex = Value;
  TCustomListView* L = ListViewOfItem(FOwner);
  // An owner-data row is filled while the view draws it: nothing to redraw.
  if (L->HandleAllocated() && FIndex >= 0 && !L->OwnerData())
    SendMessage(L->Handle(), LVM_UPDATE, static_cast<WPARAM>(FIndex), 0);
}

Boolean TListItem::Selected() {
  TCustomListView* L = ListViewOfItem(FOwner);
  return L->HandleAllocated() && SendMessage(L->Handle(), LVM_GETITEMSTATE, static_cast<WPARAM>(FIndex), LVIS_SELECTED) != 0;
}

void TListItem::SetSelected(Boolean Value) {
  LVITEM I;
  I.stateMask = LVIS_SELECTED;
  I.state = Value ? LVIS_SELECTED : 0;
  SendMessage(ListViewOfItem(FOwner)->Handle(), LVM_SETITEMSTATE, static_cast<WPARAM>(FIndex), reinterpret_cast<LPARAM>(&I));
}

Boolean TListItem::Focused() {
  TCustomListView* L = ListViewOfItem(FOwner);
  return L->HandleAllocated() && SendMessage(L->Handle(), LVM_GETITEMSTATE, static_cast<WPARAM>(FIndex), LVIS_FOCUSED) != 0;
}

void TListItem::SetFocused(Boolean Value) {
  LVITEM I;
  I.stateMask = LVIS_FOCUSED;
  I.state = Value ? LVIS_FOCUSED : 0;
  SendMessage(ListViewOfItem(FOwner)->Handle(), LVM_SETITEMSTATE, static_cast<WPARAM>(FIndex), reinterpret_cast<LPARAM>(&I));
}

TRect TListItem::DisplayRect(TDisplayCode Code) {
  RECT R{};
  R.Left = static_cast<int>(Code);
  SendMessage(ListViewOfItem(FOwner)->Handle(), LVM_GETITEMRECT, static_cast<WPARAM>(FIndex), reinterpret_cast<LPARAM>(&R));
  return R;
}

void TListItem::MakeVisible(Boolean PartialOK) {
  SendMessage(ListViewOfItem(FOwner)->Handle(), LVM_ENSUREVISIBLE, static_cast<WPARAM>(FIndex), PartialOK ? 1 : 0);
}

void TListItem::CancelEdit() {
  TCustomListView* L = ListViewOfItem(FOwner);
  if (L->HandleAllocated()) SendMessage(L->Handle(), LVM_EDITLABEL, static_cast<WPARAM>(-1), 0);
}

Boolean TListItem::EditCaption() {
  TCustomListView* L = ListViewOfItem(FOwner);
  return L->HandleAllocated() &&
         SendMessage(L->Handle(), LVM_EDITLABEL, static_cast<WPARAM>(FIndex), 0) != 0;
}

TListItems::~TListItems() = default;

void TListItems::Reindex() {
  for (size_t I = 0; I < FItems.size(); ++I) FItems[I]->FIndex = static_cast<Integer>(I);
}

TListItem* TListItems::Add() { return Insert(static_cast<Integer>(FItems.size())); }

TListItem* TListItems::Insert(Integer Index) {
  if (Index < 0 || Index > static_cast<Integer>(FItems.size())) ListViewIndexError(Index);
  auto Item = std::make_unique<TListItem>(this);
  TListItem* Raw = Item.get();
  FItems.insert(FItems.begin() + Index, std::move(Item));
  Reindex();
  if (FOwner->HandleAllocated()) {
    LVITEM L;
    L.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
    L.iItem = Index;
    L.pszText = LPSTR_TEXTCALLBACK;
    L.iImage = I_IMAGECALLBACK;
    L.lParam = reinterpret_cast<LPARAM>(Raw);
    SendMessage(FOwner->Handle(), LVM_INSERTITEM, 0, reinterpret_cast<LPARAM>(&L));
  }
  return Raw;
}

void TListItems::Delete(Integer Index) {
  if (Index < 0 || Index >= static_cast<Integer>(FItems.size())) ListViewIndexError(Index);
  if (FOwner->HandleAllocated()) SendMessage(FOwner->Handle(), LVM_DELETEITEM, static_cast<WPARAM>(Index), 0);
  FItems.erase(FItems.begin() + Index);
  Reindex();
}

void TListItems::Clear() {
  if (FOwner->HandleAllocated()) SendMessage(FOwner->Handle(), LVM_DELETEALLITEMS, 0, 0);
  FItems.clear();
  FCount = 0;
}

Integer TListItems::Count() const {
  if (FOwner->OwnerData()) return FCount;
  return static_cast<Integer>(FItems.size());
}

void TListItems::SetCount(Integer Value) {
  if (!FOwner->OwnerData()) return;
  FCount = std::max(0, Value);
  if (FOwner->HandleAllocated()) SendMessage(FOwner->Handle(), LVM_SETITEMCOUNT, static_cast<WPARAM>(FCount), 0);
}

TListItem* TListItems::Item(Integer Index) {
  if (Index < 0 || Index >= Count()) ListViewIndexError(Index);
  if (!FOwner->OwnerData()) return FItems[static_cast<size_t>(Index)].get();
  if (!FTemp) FTemp = std::make_unique<TListItem>(this);
  FTemp->FIndex = Index;
  FTemp->FCaption.clear();
  FTemp->FSubItems->Clear();
  FTemp->FImageIndex = -1;
  FTemp->FData = nullptr;
  FOwner->OwnerDataFetch(FTemp.get());
  return FTemp.get();
}

void TListItems::BeginUpdate() {
  if (FUpdate++ == 0 && FOwner->HandleAllocated()) SendMessage(FOwner->Handle(), WM_SETREDRAW, 0, 0);
}

void TListItems::EndUpdate() {
  if (FUpdate > 0 && --FUpdate == 0 && FOwner->HandleAllocated()) SendMessage(FOwner->Handle(), WM_SETREDRAW, 1, 0);
}

// --- The view --------------------------------------------------------------------------

TCustomListView::TCustomListView(TComponent* AOwner)
    : TNativeWinControl(AOwner),
      FColumns(std::make_unique<TListColumns>(this)),
      FItems(std::make_unique<TListItems>(this)) {
  ControlStyle.Exclude(csCaptureMouse);
  SetBounds(0, 0, 250, 150);
  SetTabStop(true);
  SetParentColor(false);
  SetColor(clWindow);
}

TCustomListView::~TCustomListView() = default;

void TCustomListView::CreateParams(TCreateParams& Params) {
  TNativeWinControl::CreateParams(Params);
  CreateSubClass(Params, WC_LISTVIEW);
  static constexpr DWORD Views[] = {LVS_ICON, LVS_SMALLICON, LVS_LIST, LVS_REPORT};
  Params.Style |= Views[FViewStyle] | LVS_SHAREIMAGELISTS;
  if (!FMultiSelect) Params.Style |= LVS_SINGLESEL;
  if (!FHideSelection) Params.Style |= LVS_SHOWSELALWAYS;
  if (!FReadOnly) Params.Style |= LVS_EDITLABELS;
  if (FOwnerData) Params.Style |= LVS_OWNERDATA;
  if (!FShowColumnHeaders) Params.Style |= LVS_NOCOLUMNHEADER;
  if (!FColumnClick) Params.Style |= LVS_NOSORTHEADER;
  if (FAutoArrange) Params.Style |= LVS_AUTOARRANGE;
  if (!FWrapText) Params.Style |= LVS_NOLABELWRAP;
  if (TabStop()) Params.Style |= WS_TABSTOP;
  Params.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
}

void TCustomListView::CreateWnd() {
  TNativeWinControl::CreateWnd();
  const HWND Wnd = Handle();
  DWORD Ex = 0;
  if (FRowSelect) Ex |= LVS_EX_FULLROWSELECT;
  if (FFullDrag) Ex |= LVS_EX_HEADERDRAGDROP;
  SendMessage(Wnd, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, Ex);
  PushImages();
  PushColumns();
  PushItems();
  if (FSaveTop > 0) {
    SendMessage(Wnd, LVM_ENSUREVISIBLE, static_cast<WPARAM>(Items()->Count() - 1), 0);
    SendMessage(Wnd, LVM_ENSUREVISIBLE, static_cast<WPARAM>(FSaveTop), 0);
  }
  FSaveTop = 0;
}

void TCustomListView::DestroyWnd() {
  if (HandleAllocated()) {
    for (auto& C : FColumns->FItems) C->Width();
    FSaveTop = static_cast<Integer>(SendMessage(Handle(), LVM_GETTOPINDEX, 0, 0));
  }
  TNativeWinControl::DestroyWnd();
}

void TCustomListView::PushColumns() {
  for (auto& C : FColumns->FItems) {
    LVCOLUMN L;
    L.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
    L.pszText = const_cast<char*>(C->FCaption.c_str());
    L.cx = C->FWidth;
    L.fmt = C->FAlignment == taRightJustify ? LVCFMT_RIGHT : C->FAlignment == taCenter ? LVCFMT_CENTER : LVCFMT_LEFT;
    SendMessage(Handle(), LVM_INSERTCOLUMN, static_cast<WPARAM>(C->FIndex), reinterpret_cast<LPARAM>(&L));
  }
}

void TCustomListView::PushItems() {
  if (FOwnerData) {
    SendMessage(Handle(), LVM_SETITEMCOUNT, static_cast<WPARAM>(FItems->FCount), 0);
    return;
  }
  for (auto& I : FItems->FItems) {
    LVITEM L;
    L.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
    L.iItem = I->FIndex;
    L.pszText = LPSTR_TEXTCALLBACK;
    L.iImage = I_IMAGECALLBACK;
    L.lParam = reinterpret_cast<LPARAM>(I.get());
    SendMessage(Handle(), LVM_INSERTITEM, 0, reinterpret_cast<LPARAM>(&L));
  }
}

void TCustomListView::PushImages() {
  if (!HandleAllocated()) return;
  SendMessage(Handle(), LVM_SETIMAGELIST, LVSIL_NORMAL, reinterpret_cast<LPARAM>(HandleOf(FLargeImages)));
  SendMessage(Handle(), LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(HandleOf(FSmallImages)));
  SendMessage(Handle(), LVM_SETIMAGELIST, LVSIL_STATE, reinterpret_cast<LPARAM>(HandleOf(FStateImages)));
}

void TCustomListView::UpdateStyle() {
  if (!HandleAllocated()) return;
  TCreateParams Params;
  CreateParams(Params);
  SetWindowLong(Handle(), GWL_STYLE, static_cast<LONG>(Params.Style));
}

void TCustomListView::SetViewStyle(TViewStyle Value) {
  if (FViewStyle == Value) return;
  FViewStyle = Value;
  UpdateStyle();
}

void TCustomListView::SetLargeImages(TCustomImageList* Value) { FLargeImages = Value; PushImages(); }
void TCustomListView::SetSmallImages(TCustomImageList* Value) { FSmallImages = Value; PushImages(); }
void TCustomListView::SetStateImages(TCustomImageList* Value) { FStateImages = Value; PushImages(); }

void TCustomListView::SetShowColumnHeaders(Boolean Value) {
  if (FShowColumnHeaders == Value) return;
  FShowColumnHeaders = Value;
  RecreateWnd();
}

void TCustomListView::SetColumnClick(Boolean Value) {
  FColumnClick = Value;
  UpdateStyle();
}

void TCustomListView::SetMultiSelect(Boolean Value) {
  FMultiSelect = Value;
  UpdateStyle();
}

void TCustomListView::SetReadOnly(Boolean Value) {
  FReadOnly = Value;
  UpdateStyle();
}

void TCustomListView::SetRowSelect(Boolean Value) {
  FRowSelect = Value;
  if (HandleAllocated())
    SendMessage(Handle(), LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, Value ? LVS_EX_FULLROWSELECT : 0);
}

void TCustomListView::SetHideSelection(Boolean Value) {
  FHideSelection = Value;
  UpdateStyle();
}

void TCustomListView::SetAutoArrange(Boolean Value) {
  FAutoArrange = Value;
  UpdateStyle();
}

void TCustomListView::SetWrapText(Boolean Value) {
  FWrapText = Value;
  UpdateStyle();
}

void TCustomListView::SetOwnerData(Boolean Value) {
  if (FOwnerData == Value) return;
  FItems->Clear();
  FOwnerData = Value;
  RecreateWnd();
}

void TCustomListView::SetFullDrag(Boolean Value) {
  FFullDrag = Value;
  if (HandleAllocated())
    SendMessage(Handle(), LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_HEADERDRAGDROP, Value ? LVS_EX_HEADERDRAGDROP : 0);
}

TListItem* TCustomListView::ItemOfIndex(Integer Index) {
  return Index >= 0 && Index < FItems->Count() ? FItems->Item(Index) : nullptr;
}

TListItem* TCustomListView::Selected() {
  return ItemOfIndex(static_cast<Integer>(SendMessage(Handle(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED)));
}

void TCustomListView::SetSelected(TListItem* Value) {
  LVITEM I;
  I.stateMask = LVIS_SELECTED;
  SendMessage(Handle(), LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&I));
  if (Value) Value->SetSelected(true);
}

TListItem* TCustomListView::ItemFocused() {
  return ItemOfIndex(static_cast<Integer>(SendMessage(Handle(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED)));
}

void TCustomListView::SetItemFocused(TListItem* Value) {
  if (Value) Value->SetFocused(true);
}

Integer TCustomListView::ItemIndex() {
  return static_cast<Integer>(SendMessage(Handle(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void TCustomListView::SetItemIndex(Integer Value) {
  LVITEM I;
  I.stateMask = LVIS_SELECTED;
  SendMessage(Handle(), LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&I));
  if (Value < 0 || Value >= FItems->Count()) return;
  I.state = I.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessage(Handle(), LVM_SETITEMSTATE, static_cast<WPARAM>(Value), reinterpret_cast<LPARAM>(&I));
}

Boolean TCustomListView::IsEditing() {
  return HandleAllocated() && SendMessage(Handle(), LVM_GETEDITCONTROL, 0, 0) != 0;
}

Integer TCustomListView::SelCount() { return static_cast<Integer>(SendMessage(Handle(), LVM_GETSELECTEDCOUNT, 0, 0)); }

TListItem* TCustomListView::TopItem() {
  return ItemOfIndex(static_cast<Integer>(SendMessage(Handle(), LVM_GETTOPINDEX, 0, 0)));
}

Integer TCustomListView::VisibleRowCount() {
  return static_cast<Integer>(SendMessage(Handle(), LVM_GETCOUNTPERPAGE, 0, 0));
}

TListItem* TCustomListView::GetItemAt(Integer X, Integer Y) {
  LVHITTESTINFO Info;
  Info.pt = POINT{X, Y};
  return ItemOfIndex(static_cast<Integer>(SendMessage(Handle(), LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&Info))));
}

void TCustomListView::Scroll(Integer DX, Integer DY) { SendMessage(Handle(), LVM_SCROLL, static_cast<WPARAM>(DX), DY); }

void TCustomListView::Dispatch(TMessage& Message) {
  if (Message.Msg == CN_NOTIFY) {
    TWMNotify M(Message);
    CNNotify(M);
    return;
  }
  if (Message.Msg == WM_CONTEXTMENU) {
    TPoint P{GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)};
    if (P.X != -1 || P.Y != -1) P = ScreenToClient(P);
    Boolean Handled = false;
    DoContextPopup(P, Handled);
    if (Handled) return;
  }
  TNativeWinControl::Dispatch(Message);
}

void TCustomListView::CNNotify(TWMNotify& Message) {
  NMHDR* Hdr = Message.NMHdr();
  if (!Hdr) return;
  switch (Hdr->code) {
    case LVN_GETDISPINFO: {
      LVITEM& Item = reinterpret_cast<NMLVDISPINFO*>(Hdr)->item;
      TListItem* Row = FOwnerData ? ItemOfIndex(Item.iItem) : reinterpret_cast<TListItem*>(Item.lParam);
      if (!Row) return;
      if (Item.mask & LVIF_TEXT) {
        if (Item.iSubItem == 0)
          ListViewCopyText(Row->Caption(), Item);
        else if (Item.iSubItem - 1 < Row->SubItems()->Count())
          ListViewCopyText(Row->SubItems()->Get(Item.iSubItem - 1), Item);
        else
          ListViewCopyText(String(), Item);
      }
      if (Item.mask & LVIF_IMAGE) Item.iImage = Row->ImageIndex();
      return;
    }
    case LVN_ODFINDITEM: {
      auto* F = reinterpret_cast<NMLVFINDITEM*>(Hdr);
      const TItemFind Kind = (F->lvfi.flags & LVFI_PARAM) ? ifData
                             : (F->lvfi.flags & LVFI_PARTIAL) ? ifPartialString
                                                              : ifExactString;
      Message.Result() = OwnerDataFind(Kind, F->lvfi.psz ? F->lvfi.psz : "", F->lvfi.pt,
                                       reinterpret_cast<void*>(F->lvfi.lParam), F->iStart, sdAll,
                                       (F->lvfi.flags & LVFI_WRAP) != 0);
      return;
    }
    case LVN_ITEMCHANGED: {
      auto* N = reinterpret_cast<NMLISTVIEW*>(Hdr);
      Change(N->iItem >= 0 && !FOwnerData ? reinterpret_cast<TListItem*>(N->lParam) : ItemOfIndex(N->iItem), 0);
      return;
    }
    case LVN_ODSTATECHANGED: Change(nullptr, 0); return;
    case LVN_BEGINLABELEDIT: {
      const LVITEM& Item = reinterpret_cast<NMLVDISPINFO*>(Hdr)->item;
      TListItem* Row = FOwnerData ? ItemOfIndex(Item.iItem) : reinterpret_cast<TListItem*>(Item.lParam);
      Message.Result() = Row && CanEdit(Row) ? 0 : 1;
      return;
    }
    case LVN_ENDLABELEDIT: {
      const LVITEM& Item = reinterpret_cast<NMLVDISPINFO*>(Hdr)->item;
      if (!Item.pszText) return;  // cancelled
      TListItem* Row = FOwnerData ? ItemOfIndex(Item.iItem) : reinterpret_cast<TListItem*>(Item.lParam);
      String S = Item.pszText;
      Edit(Row, S);
      return;  // the hook set the caption itself
    }
    case LVN_COLUMNCLICK: {
      auto* N = reinterpret_cast<NMLISTVIEW*>(Hdr);
      if (FColumnClick && N->iSubItem >= 0 && N->iSubItem < FColumns->Count()) ColClick(FColumns->Items(N->iSubItem));
      return;
    }
    default: return;
  }
}

Boolean TCustomListView::OwnerDataFetch(TListItem* Item) {
  if (OnData) OnData(this, Item);
  return true;
}

Integer TCustomListView::OwnerDataFind(TItemFind Find, const String& FindString, const TPoint& FindPosition,
                                       void* FindData, Integer StartIndex, TSearchDirection Direction, Boolean Wrap) {
  Integer Index = -1;
  if (OnDataFind) OnDataFind(this, Find, FindString, FindPosition, FindData, StartIndex, Direction, Wrap, Index);
  return Index;
}

void TCustomListView::ColClick(TListColumn* Column) {
  if (OnColumnClick) OnColumnClick(this, Column);
}

void TCustomListView::Change(TListItem* Item, Integer ChangeKind) {
  if (OnChange) OnChange(this, Item, ChangeKind);
}

Boolean TCustomListView::CanEdit(TListItem* Item) {
  Boolean Allow = !FReadOnly;
  if (OnEditing) OnEditing(this, Item, Allow);
  return Allow;
}

void TCustomListView::Edit(TListItem* Item, String& S) {
  if (OnEdited) OnEdited(this, Item, S);
  if (Item) Item->SetCaption(S);
}

void TCustomListView::DoContextPopup(const TPoint& MousePos, Boolean& Handled) {
  if (OnContextPopup) OnContextPopup(this, MousePos, Handled);
}

void TCustomListView::KeyDown(Word& Key, TShiftState Shift) { TNativeWinControl::KeyDown(Key, Shift); }

void TCustomListView::DblClick() { TNativeWinControl::DblClick(); }
