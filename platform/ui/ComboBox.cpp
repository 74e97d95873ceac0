// TCustomComboBox: window parameters, rows kept across a new window, and the reflected
// notifications turned into events.
#include "platform/ui/ComboBox.h"

#include "platform/win/ComboBox.h"
#include "platform/win/MessageQueue.h"

namespace {

constexpr UINT ComboSetMinVisible = 0x1701;

constexpr TNativeListMessages ComboMessageTable{CB_ADDSTRING,   CB_INSERTSTRING, CB_DELETESTRING, CB_RESETCONTENT,
                                                CB_GETCOUNT,    CB_GETLBTEXT,    CB_GETLBTEXTLEN, CB_GETITEMDATA,
                                                CB_SETITEMDATA, CB_FINDSTRINGEXACT};

}  // namespace

TCustomComboBox::TCustomComboBox(TComponent* AOwner)
    : TNativeWinControl(AOwner), FSaveItems(std::make_unique<TStringList>()) {
  FItems = std::make_unique<TNativeListStrings>(this, FSaveItems.get(), ComboMessageTable, [] { return false; });
  FItems->GetSelected = [this] { return ItemIndex(); };
  FItems->SetSelected = [this](Integer I) { SetItemIndex(I); };
  ControlStyle = {csSetCaption, csDoubleClicks, csFixedHeight};
  SetBorderStyle(bsNone);
  SetBounds(0, 0, 145, 21);
  SetTabStop(true);
  SetParentColor(false);
  SetColor(clWindow);
}

TCustomComboBox::~TCustomComboBox() = default;

void TCustomComboBox::CreateParams(TCreateParams& Params) {
  TNativeWinControl::CreateParams(Params);
  CreateSubClass(Params, "COMBOBOX");
  Params.Style |= CBS_DROPDOWNLIST | CBS_HASSTRINGS | WS_VSCROLL;
  if (TabStop()) Params.Style |= WS_TABSTOP;
  Params.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
}

void TCustomComboBox::CreateWnd() {
  TNativeWinControl::CreateWnd();
  const HWND Wnd = Handle();
  SendMessage(Wnd, ComboSetMinVisible, static_cast<WPARAM>(FDropDownCount), 0);
  for (Integer I = 0; I < FSaveItems->Count(); ++I) {
    const String S = FSaveItems->Get(I);
    const LRESULT At =
        SendMessage(Wnd, CB_INSERTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(S.c_str()));
    if (At >= 0)
      SendMessage(Wnd, CB_SETITEMDATA, static_cast<WPARAM>(At), reinterpret_cast<LPARAM>(FSaveItems->GetObject(I)));
  }
  FSaveItems->Clear();
  if (FSaveItemIndex >= 0) SendMessage(Wnd, CB_SETCURSEL, static_cast<WPARAM>(FSaveItemIndex), 0);
  FSaveItemIndex = -1;
}

void TCustomComboBox::DestroyWnd() {
  if (HandleAllocated()) {
    FSaveItems->Clear();
    for (Integer I = 0; I < FItems->Count(); ++I) FSaveItems->AddObject(FItems->Get(I), FItems->GetObject(I));
    FSaveItemIndex = ItemIndex();
  }
  TNativeWinControl::DestroyWnd();
}

Integer TCustomComboBox::ItemIndex() {
  if (!HandleAllocated()) return FSaveItemIndex;
  const LRESULT R = SendMessage(Handle(), CB_GETCURSEL, 0, 0);
  return R < 0 ? -1 : static_cast<Integer>(R);
}

void TCustomComboBox::SetItemIndex(Integer Value) {
  if (!HandleAllocated()) {
    FSaveItemIndex = Value;
    return;
  }
  if (ItemIndex() == Value) return;
  SendMessage(Handle(), CB_SETCURSEL, static_cast<WPARAM>(Value), 0);
}

void TCustomComboBox::SetStyle(TComboBoxStyle Value) {
  if (Value != csDropDownList) throw EInvalidOperation("Only drop-down lists are supported");
  FStyle = Value;
}

void TCustomComboBox::SetDropDownCount(Integer Value) {
  if (Value < 1 || FDropDownCount == Value) return;
  FDropDownCount = Value;
  if (HandleAllocated()) SendMessage(Handle(), ComboSetMinVisible, static_cast<WPARAM>(Value), 0);
}

Boolean TCustomComboBox::DroppedDown() {
  return HandleAllocated() && SendMessage(Handle(), CB_GETDROPPEDSTATE, 0, 0) != 0;
}

void TCustomComboBox::SetDroppedDown(Boolean Value) { SendMessage(Handle(), CB_SHOWDROPDOWN, Value ? 1 : 0, 0); }

void TCustomComboBox::Dispatch(TMessage& Message) {
  if (Message.Msg != CN_COMMAND) {
    TNativeWinControl::Dispatch(Message);
    return;
  }
  switch (HIWORD(Message.WParam)) {
    case CBN_SELCHANGE:
      Click();
      Change();
      break;
    case CBN_DROPDOWN: DropDown(); break;
    case CBN_CLOSEUP: CloseUp(); break;
    default: break;
  }
}

void TCustomComboBox::Change() {
  if (OnChange) OnChange(this);
}

void TCustomComboBox::DropDown() {
  if (OnDropDown) OnDropDown(this);
}

void TCustomComboBox::CloseUp() {
  if (OnCloseUp) OnCloseUp(this);
}
