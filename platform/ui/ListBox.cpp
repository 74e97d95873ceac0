// The class library's list box: window parameters from the properties, the items saved
// across a new window, owner drawing on the control's canvas, the reflected
// notifications, and typing to find a row.
#include "platform/ui/ListBox.h"

#include <algorithm>

#include "platform/rtl/Format.h"
#include "platform/rtl/Utf8.h"
#include "platform/win/FocusRect.h"
#include "platform/win/ListBox.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Timers.h"

namespace {

// Typed characters further apart than this start a new search.
constexpr UInt64 ListBoxTypeAheadMs = 500;

constexpr TNativeListMessages ListBoxMessageTable{LB_ADDSTRING,  LB_INSERTSTRING,   LB_DELETESTRING, LB_RESETCONTENT,
                                                  LB_GETCOUNT,   LB_GETTEXT,        LB_GETTEXTLEN,   LB_GETITEMDATA,
                                                  LB_SETITEMDATA, LB_FINDSTRINGEXACT};

}  // namespace

TCustomListBox::TCustomListBox(TComponent* AOwner)
    : TNativeWinControl(AOwner),
      FSaveItems(std::make_unique<TStringList>()),
      FCanvas(std::make_unique<TControlCanvas>()) {
  FItems = std::make_unique<TNativeListStrings>(this, FSaveItems.get(), ListBoxMessageTable, [this] { return FSorted; });
  FItems->GetSelected = [this] { return ItemIndex(); };
  FItems->SetSelected = [this](Integer I) { SetItemIndex(I); };
  FCanvas->SetControl(this);
  ControlStyle = {csSetCaption, csDoubleClicks, csOpaque};
  SetBounds(0, 0, 121, 97);
  SetTabStop(true);
  SetParentColor(false);
  SetColor(clWindow);
}

TCustomListBox::~TCustomListBox() = default;

void TCustomListBox::CreateParams(TCreateParams& Params) {
  TNativeWinControl::CreateParams(Params);
  CreateSubClass(Params, "LISTBOX");
  Params.Style |= WS_HSCROLL | WS_VSCROLL | LBS_HASSTRINGS | LBS_NOTIFY;
  if (FSorted) Params.Style |= LBS_SORT;
  if (FStyle == lbOwnerDrawFixed) Params.Style |= LBS_OWNERDRAWFIXED;
  if (FMultiSelect) Params.Style |= FExtendedSelect ? LBS_EXTENDEDSEL : LBS_MULTIPLESEL;
  if (FColumns > 0) Params.Style |= LBS_MULTICOLUMN;
  if (!FIntegralHeight) Params.Style |= LBS_NOINTEGRALHEIGHT;
  if (TabStop()) Params.Style |= WS_TABSTOP;
  Params.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
}

void TCustomListBox::CreateWnd() {
  TNativeWinControl::CreateWnd();
  const HWND Wnd = Handle();
  if (FStyle == lbOwnerDrawFixed) SendMessage(Wnd, LB_SETITEMHEIGHT, 0, FItemHeight);
  if (FColumns > 0) SendMessage(Wnd, LB_SETCOLUMNWIDTH, static_cast<WPARAM>(std::max(1, Width() / FColumns)), 0);
  if (FSaveItems->Count() > 0) {
    SendMessage(Wnd, WM_SETREDRAW, 0, 0);
    for (Integer I = 0; I < FSaveItems->Count(); ++I) {
      const String S = FSaveItems->Get(I);
      const LRESULT At = FSorted ? SendMessage(Wnd, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(S.c_str()))
                                 : SendMessage(Wnd, LB_INSERTSTRING, static_cast<WPARAM>(-1),
                                               reinterpret_cast<LPARAM>(S.c_str()));
      if (At >= 0)
        SendMessage(Wnd, LB_SETITEMDATA, static_cast<WPARAM>(At), reinterpret_cast<LPARAM>(FSaveItems->GetObject(I)));
    }
    SendMessage(Wnd, WM_SETREDRAW, 1, 0);
    FSaveItems->Clear();
  }
  if (FMultiSelect)
    for (Integer I : FSaveSelection) SendMessage(Wnd, LB_SETSEL, 1, I);
  FSaveSelection.clear();
  if (FSaveItemIndex >= 0) SetItemIndex(FSaveItemIndex);
  if (FSaveTopIndex > 0) SendMessage(Wnd, LB_SETTOPINDEX, static_cast<WPARAM>(FSaveTopIndex), 0);
  FSaveItemIndex = -1;
  FSaveTopIndex = 0;
}

void TCustomListBox::DestroyWnd() {
  if (HandleAllocated()) {
    const HWND Wnd = Handle();
    FSaveItems->Clear();
    const Integer N = Count();
    for (Integer I = 0; I < N; ++I) FSaveItems->AddObject(FItems->Get(I), FItems->GetObject(I));
    FSaveSelection.clear();
    if (FMultiSelect)
      for (Integer I = 0; I < N; ++I)
        if (SendMessage(Wnd, LB_GETSEL, static_cast<WPARAM>(I), 0) > 0) FSaveSelection.push_back(I);
    FSaveItemIndex = ItemIndex();
    FSaveTopIndex = static_cast<Integer>(SendMessage(Wnd, LB_GETTOPINDEX, 0, 0));
  }
  TNativeWinControl::DestroyWnd();
}

Integer TCustomListBox::ItemIndex() {
  if (!HandleAllocated()) return FSaveItemIndex;
  const LRESULT R = SendMessage(Handle(), FMultiSelect ? LB_GETCARETINDEX : LB_GETCURSEL, 0, 0);
  return R < 0 ? -1 : static_cast<Integer>(R);
}

void TCustomListBox::SetItemIndex(Integer Value) {
  if (!HandleAllocated()) {
    FSaveItemIndex = Value;
    return;
  }
  if (ItemIndex() == Value) return;
  SendMessage(Handle(), FMultiSelect ? LB_SETCARETINDEX : LB_SETCURSEL, static_cast<WPARAM>(Value), 0);
}

Integer TCustomListBox::ItemHeight() {
  if (FStyle == lbOwnerDrawFixed || !HandleAllocated()) return FItemHeight;
  return static_cast<Integer>(SendMessage(Handle(), LB_GETITEMHEIGHT, 0, 0));
}

void TCustomListBox::SetItemHeight(Integer Value) {
  if (Value < 1 || Value > 255 || FItemHeight == Value) return;
  FItemHeight = Value;
  if (HandleAllocated() && FStyle == lbOwnerDrawFixed) SendMessage(Handle(), LB_SETITEMHEIGHT, 0, Value);
}

Integer TCustomListBox::TopIndex() {
  if (!HandleAllocated()) return FSaveTopIndex;
  return static_cast<Integer>(SendMessage(Handle(), LB_GETTOPINDEX, 0, 0));
}

void TCustomListBox::SetTopIndex(Integer Value) {
  if (!HandleAllocated()) {
    FSaveTopIndex = Value;
    return;
  }
  if (TopIndex() != Value) SendMessage(Handle(), LB_SETTOPINDEX, static_cast<WPARAM>(Value), 0);
}

void TCustomListBox::SetStyle(TListBoxStyle Value) {
  if (FStyle == Value) return;
  FStyle = Value;
  RecreateWnd();
}

void TCustomListBox::SetSorted(Boolean Value) {
  if (FSorted == Value) return;
  FSorted = Value;
  if (HandleAllocated()) {
    RecreateWnd();
  } else if (Value) {
    TStringList* Saved = FSaveItems.get();
    std::vector<std::pair<String, TObject*>> Rows;
    for (Integer I = 0; I < Saved->Count(); ++I) Rows.emplace_back(Saved->Get(I), Saved->GetObject(I));
    std::stable_sort(Rows.begin(), Rows.end(), [](const auto& A, const auto& B) { return CompareText(A.first, B.first) < 0; });
    Saved->Clear();
    for (const auto& R : Rows) Saved->AddObject(R.first, R.second);
  }
}

void TCustomListBox::SetMultiSelect(Boolean Value) {
  if (FMultiSelect == Value) return;
  FMultiSelect = Value;
  RecreateWnd();
}

void TCustomListBox::SetExtendedSelect(Boolean Value) {
  if (FExtendedSelect == Value) return;
  FExtendedSelect = Value;
  RecreateWnd();
}

void TCustomListBox::SetColumns(Integer Value) {
  Value = std::max(0, Value);
  if (FColumns == Value) return;
  const bool Recreate = (FColumns == 0) != (Value == 0);
  FColumns = Value;
  if (Recreate)
    RecreateWnd();
  else if (HandleAllocated())
    SendMessage(Handle(), LB_SETCOLUMNWIDTH, static_cast<WPARAM>(std::max(1, Width() / FColumns)), 0);
}

void TCustomListBox::SetIntegralHeight(Boolean Value) {
  if (FIntegralHeight == Value) return;
  FIntegralHeight = Value;
  RecreateWnd();
}

Integer TCustomListBox::SelCount() {
  if (!HandleAllocated()) return FMultiSelect ? static_cast<Integer>(FSaveSelection.size()) : -1;
  return static_cast<Integer>(SendMessage(Handle(), LB_GETSELCOUNT, 0, 0));
}

Boolean TCustomListBox::Selected(Integer Index) {
  const LRESULT R = SendMessage(Handle(), LB_GETSEL, static_cast<WPARAM>(Index), 0);
  if (R < 0) throw EListError(Format(SListIndexError, {Index}));
  return R != 0;
}

void TCustomListBox::SetSelected(Integer Index, Boolean Value) {
  if (Index < 0 || Index >= Count()) throw EListError(Format(SListIndexError, {Index}));
  if (FMultiSelect) {
    SendMessage(Handle(), LB_SETSEL, Value ? 1 : 0, Index);
  } else if (Value) {
    SetItemIndex(Index);
  } else if (ItemIndex() == Index) {
    SetItemIndex(-1);
  }
}

Integer TCustomListBox::ItemAtPos(const TPoint& Pos, Boolean Existing) {
  const TRect C = ClientRect();
  if (PtInRect(&C, Pos) && Count() > 0) {
    const LRESULT R = SendMessage(Handle(), LB_ITEMFROMPOINT, 0, PointToLParam(Pos.X, Pos.Y));
    if (HIWORD(static_cast<uintptr_t>(R)) == 0) return static_cast<Integer>(LOWORD(static_cast<uintptr_t>(R)));
    if (!Existing) return Count();
  } else if (PtInRect(&C, Pos) && !Existing) {
    return Count();
  }
  return -1;
}

TRect TCustomListBox::ItemRect(Integer Index) {
  const Integer N = Count();
  TRect R{};
  if (Index == 0 || Index < N) {
    SendMessage(Handle(), LB_GETITEMRECT, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(&R));
  } else if (Index == N) {
    SendMessage(Handle(), LB_GETITEMRECT, static_cast<WPARAM>(Index - 1), reinterpret_cast<LPARAM>(&R));
    const Integer H = R.Bottom - R.Top;
    R.Top += H;
    R.Bottom += H;
  }
  return R;
}

void TCustomListBox::ClearSelection() {
  if (FMultiSelect)
    SendMessage(Handle(), LB_SETSEL, 0, -1);
  else
    SetItemIndex(-1);
}

void TCustomListBox::SelectAll() {
  if (FMultiSelect) SendMessage(Handle(), LB_SETSEL, 1, -1);
}

void TCustomListBox::DeleteSelected() {
  if (FMultiSelect) {
    for (Integer I = Count() - 1; I >= 0; --I)
      if (Selected(I)) FItems->Delete(I);
  } else if (const Integer I = ItemIndex(); I >= 0) {
    FItems->Delete(I);
  }
}

void TCustomListBox::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CN_DRAWITEM: { TWMDrawItem M(Message); CNDrawItem(M); return; }
    case CN_COMMAND: { TWMCommand M(Message); CNCommand(M); return; }
    default: TNativeWinControl::Dispatch(Message); return;
  }
}

void TCustomListBox::CNCommand(TWMCommand& Message) {
  switch (Message.NotifyCode()) {
    case LBN_SELCHANGE: Click(); break;
    case LBN_DBLCLK: DblClick(); break;
    default: break;
  }
}

void TCustomListBox::CNDrawItem(TWMDrawItem& Message) {
  DRAWITEMSTRUCT* Item = Message.DrawItemStruct();
  if (!Item) return;
  const TOwnerDrawState State = TOwnerDrawState::FromBits(LOWORD(Item->itemState));
  TCanvas* C = FCanvas.get();
  C->SetHandle(Item->hDC);
  try {
    C->SetFont(Font());
    C->SetBrush(Brush());
    const Integer Index = static_cast<Integer>(Item->itemID);
    if (Index >= 0 && State.Contains(odSelected)) {
      C->Brush()->SetColor(clHighlight);
      C->Font()->SetColor(clHighlightText);
    }
    if (Index >= 0)
      DrawItem(Index, Item->rcItem, State);
    else
      C->FillRect(Item->rcItem);
    if (State.Contains(odFocused)) DrawFocusRect(Item->hDC, &Item->rcItem);
  } catch (...) {
    C->SetHandle(nullptr);
    throw;
  }
  C->SetHandle(nullptr);
  Message.Result() = 1;
}

void TCustomListBox::DrawItem(Integer Index, const TRect& Rect, TOwnerDrawState State) {
  if (OnDrawItem) {
    OnDrawItem(this, Index, Rect, State);
    return;
  }
  FCanvas->FillRect(Rect);
  if (Index < Count()) FCanvas->TextOut(Rect.Left + 2, Rect.Top, FItems->Get(Index));
}

void TCustomListBox::KeyPress(char32_t& Key) {
  TNativeWinControl::KeyPress(Key);
  if (!FAutoComplete || Key == 0) return;
  const UInt64 Now = GetTickCount64();
  if (Now - FLastTime >= ListBoxTypeAheadMs) FFilter.clear();
  FLastTime = Now;
  if (Key == U'\b') {
    if (!FFilter.empty()) {
      std::u32string Chars = Utf8ToCodePoints(FFilter);
      Chars.pop_back();
      FFilter = CodePointsToUtf8(Chars);
    }
  } else if (Key >= 0x20 && Key != 0x7F) {
    FFilter += CodePointToUtf8(Key);
  } else {
    return;  // Enter, Esc, Tab and the like go on to the list
  }
  if (!FFilter.empty() && HandleAllocated()) {
    const LRESULT Found =
        SendMessage(Handle(), LB_FINDSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(FFilter.c_str()));
    if (Found != LB_ERR) {
      if (FMultiSelect) {
        ClearSelection();
        SendMessage(Handle(), LB_SETSEL, 1, Found);
      }
      SetItemIndex(static_cast<Integer>(Found));
      Click();
    }
  }
  Key = 0;
}
