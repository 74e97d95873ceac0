// TCustomEdit: the class library's side of a native EDIT window. Properties go to the
// window as EM_* messages while it exists and are kept here otherwise; a recreated
// window gets back its text, selection and modified flag.
#include "platform/rtl/Utf8.h"
#include "platform/ui/Edits.h"
#include "platform/ui/NativeWinControl.h"
#include "platform/win/Edit.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/SysMetrics.h"
#include "platform/win/Text.h"
#include "platform/win/WindowDc.h"
#include "platform/win/WindowManager.h"

TCustomEdit::TCustomEdit(TComponent* AOwner) : TWinControl(AOwner) {
  ControlStyle = {csClickEvents, csSetCaption, csDoubleClicks, csFixedHeight};
  SetBounds(0, 0, 121, 25);
  SetTabStop(true);
  SetParentColor(false);
  SetColor(clWindow);
}

TCustomEdit::~TCustomEdit() = default;

void TCustomEdit::SetAutoSize(Boolean Value) {
  if (FEditAutoSize == Value) return;
  FEditAutoSize = Value;
  UpdateHeight();
}

void TCustomEdit::SetBorderStyle(TBorderStyle Value) {
  if (FBorderStyle == Value) return;
  FBorderStyle = Value;
  UpdateHeight();
  RecreateWnd();
}

void TCustomEdit::SetCharCase(TEditCharCase Value) {
  if (FCharCase == Value) return;
  FCharCase = Value;
  RecreateWnd();
}

void TCustomEdit::SetCtl3D(Boolean Value) {
  if (FCtl3D == Value) return;
  FCtl3D = Value;
  RecreateWnd();
}

void TCustomEdit::SetHideSelection(Boolean Value) {
  if (FHideSelection == Value) return;
  FHideSelection = Value;
  RecreateWnd();
}

void TCustomEdit::SetMaxLength(Integer Value) {
  if (Value < 0) Value = 0;
  FMaxLength = Value;
  if (HandleAllocated()) SendMessage(FHandle, EM_LIMITTEXT, static_cast<WPARAM>(Value), 0);
}

Boolean TCustomEdit::Modified() {
  return HandleAllocated() ? SendMessage(FHandle, EM_GETMODIFY, 0, 0) != 0 : FModified;
}

void TCustomEdit::SetModified(Boolean Value) {
  FModified = Value;
  if (HandleAllocated()) SendMessage(FHandle, EM_SETMODIFY, Value ? 1 : 0, 0);
}

void TCustomEdit::SetPasswordChar(char32_t Value) {
  if (FPasswordChar == Value) return;
  FPasswordChar = Value;
  // The password style decides what kind of window descendants make: make it again.
  RecreateWnd();
}

void TCustomEdit::SetReadOnly(Boolean Value) {
  if (FReadOnly == Value) return;
  FReadOnly = Value;
  if (HandleAllocated()) SendMessage(FHandle, EM_SETREADONLY, Value ? 1 : 0, 0);
}

Integer TCustomEdit::SelStart() {
  DWORD Start = 0, End = 0;
  SendMessage(Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&Start), reinterpret_cast<LPARAM>(&End));
  return static_cast<Integer>(Start);
}

void TCustomEdit::SetSelStart(Integer Value) {
  SendMessage(Handle(), EM_SETSEL, static_cast<WPARAM>(Value), Value);
}

Integer TCustomEdit::SelLength() {
  DWORD Start = 0, End = 0;
  SendMessage(Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&Start), reinterpret_cast<LPARAM>(&End));
  return static_cast<Integer>(End - Start);
}

void TCustomEdit::SetSelLength(Integer Value) {
  DWORD Start = 0, End = 0;
  SendMessage(Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&Start), reinterpret_cast<LPARAM>(&End));
  SendMessage(Handle(), EM_SETSEL, Start, static_cast<LPARAM>(Start) + Value);
  SendMessage(Handle(), EM_SCROLLCARET, 0, 0);
}

String TCustomEdit::SelText() {
  DWORD Start = 0, End = 0;
  SendMessage(Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&Start), reinterpret_cast<LPARAM>(&End));
  return Copy(Text(), static_cast<Integer>(Start) + 1, static_cast<Integer>(End - Start));
}

void TCustomEdit::SetSelText(const String& Value) {
  SendMessage(Handle(), EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(Value.c_str()));
}

Boolean TCustomEdit::CanUndo() { return HandleAllocated() && SendMessage(FHandle, EM_CANUNDO, 0, 0) != 0; }

void TCustomEdit::Undo() {
  if (HandleAllocated()) SendMessage(FHandle, WM_UNDO, 0, 0);
}

void TCustomEdit::ClearUndo() {
  if (HandleAllocated()) SendMessage(FHandle, EM_EMPTYUNDOBUFFER, 0, 0);
}

void TCustomEdit::Clear() { SetText(""); }

void TCustomEdit::ClearSelection() { SendMessage(Handle(), WM_CLEAR, 0, 0); }

void TCustomEdit::CopyToClipboard() { SendMessage(Handle(), WM_COPY, 0, 0); }

void TCustomEdit::CutToClipboard() { SendMessage(Handle(), WM_CUT, 0, 0); }

void TCustomEdit::PasteFromClipboard() { SendMessage(Handle(), WM_PASTE, 0, 0); }

void TCustomEdit::SelectAll() { SendMessage(Handle(), EM_SETSEL, 0, -1); }

void TCustomEdit::Change() {
  ++FChanges;
  if (OnChange) OnChange(this);
}

void TCustomEdit::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  CreateSubClass(Params, "EDIT");
  Params.Style |= ES_AUTOHSCROLL | ES_AUTOVSCROLL;
  if (FBorderStyle == bsSingle) Params.Style |= WS_BORDER;
  if (FPasswordChar != 0) Params.Style |= ES_PASSWORD;
  if (FReadOnly) Params.Style |= ES_READONLY;
  if (FCharCase == ecUpperCase) Params.Style |= ES_UPPERCASE;
  if (FCharCase == ecLowerCase) Params.Style |= ES_LOWERCASE;
  if (!FHideSelection) Params.Style |= ES_NOHIDESEL;
  if (FCtl3D && FBorderStyle == bsSingle) {
    Params.Style &= ~WS_BORDER;
    Params.ExStyle |= WS_EX_CLIENTEDGE;
  }
}

void TCustomEdit::CreateWnd() {
  TWinControl::CreateWnd();
  SendMessage(FHandle, EM_LIMITTEXT, static_cast<WPARAM>(FMaxLength), 0);
  if (FPasswordChar != 0 && (GetWindowLongPtr(FHandle, GWL_STYLE) & ES_PASSWORD))
    SendMessage(FHandle, EM_SETPASSWORDCHAR, FPasswordChar, 0);
  SendMessage(FHandle, EM_SETMODIFY, FModified ? 1 : 0, 0);
  if (FSavedSelStart >= 0) {
    SendMessage(FHandle, EM_SETSEL, static_cast<WPARAM>(FSavedSelStart), FSavedSelStart + FSavedSelLength);
    FSavedSelStart = -1;
  }
  UpdateHeight();
}

void TCustomEdit::DestroyWnd() {
  FModified = Modified();
  FSavedSelStart = SelStart();
  FSavedSelLength = SelLength();
  TWinControl::DestroyWnd();
}

void TCustomEdit::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_SETTEXT: {
      // Every Text assignment runs Change once, also where the window sends no
      // EN_CHANGE (a multi-line window, or none at all).
      const int Before = FChanges;
      TWinControl::Dispatch(Message);
      if (!HandleAllocated()) FModified = false;
      if (FChanges == Before) Change();
      return;
    }
    case CN_COMMAND: {
      TWMCommand M(Message);
      CNCommand(M);
      return;
    }
    default:
      // A press puts the focus and the caret where it lands; a drag selects.
      if (NativeWindowSeesMouse(Message.Msg)) DefaultHandler(Message);
      TWinControl::Dispatch(Message);
  }
}

void TCustomEdit::CNCommand(TWMCommand& Message) {
  if (Message.NotifyCode() == EN_CHANGE) Change();
}

void TCustomEdit::CMEnter(TWMNoParams& Message) {
  if (FAutoSelect && !ControlState.Contains(csLButtonDown) && HandleAllocated() &&
      !(GetWindowLongPtr(FHandle, GWL_STYLE) & ES_MULTILINE))
    SelectAll();
  TWinControl::CMEnter(Message);
}

void TCustomEdit::CMFontChanged(TWMNoParams& Message) {
  TWinControl::CMFontChanged(Message);
  UpdateHeight();
}

void TCustomEdit::UpdateHeight() {
  if (FEditAutoSize && FBorderStyle == bsSingle) {
    ControlStyle.Include(csFixedHeight);
    AdjustHeight();
  } else {
    ControlStyle.Exclude(csFixedHeight);
  }
}

void TCustomEdit::AdjustHeight() {
  HDC Dc = GetDC(nullptr);
  if (!Dc) return;
  const HGDIOBJ Old = SelectObject(Dc, Font()->Handle());
  TEXTMETRIC Tm{};
  const BOOL Ok = GetTextMetrics(Dc, &Tm);
  SelectObject(Dc, Old);
  ReleaseDC(nullptr, Dc);
  if (!Ok) return;
  const int Border = GetSystemMetrics(SM_CYBORDER) * (FCtl3D ? 8 : 6);
  SetHeight(Tm.tmHeight + Border);
}
