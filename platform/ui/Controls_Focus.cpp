// The keyboard focus among controls: the tab order, moving the focus (SelectNext,
// SelectFirst, SetFocus) and the bookkeeping of a top-level control, which remembers its
// active control and tells the controls on the way CM_EXIT, CM_ENTER and then everyone
// CM_FOCUSCHANGED.
#include <algorithm>

#include "platform/ui/Controls.h"
#include "platform/ui/Controls_WinApi.h"
#include "platform/win/MessageQueue.h"

namespace {

constexpr const char* SCannotFocus = "Cannot focus a disabled or invisible window";

// The top-level window of Wnd is the active one.
bool TopIsActive(HWND Wnd) {
  if (!Wnd) return false;
  HWND Top = Wnd;
  while (HWND P = GetParent(Top)) {
    if (!(GetWindowLong(Top, GWL_STYLE) & WS_CHILD)) break;
    Top = P;
  }
  return GetActiveWindow() == Top;
}

}  // namespace

TWinControl* TopLevelControl(TControl* Control) {
  if (!Control) return nullptr;
  TWinControl* Root = Control->Parent() ? Control->Parent() : dynamic_cast<TWinControl*>(Control);
  while (Root && Root->Parent()) Root = Root->Parent();
  return Root;
}

// --- Tab order -----------------------------------------------------------------------------

TTabOrder TWinControl::TabOrder() const {
  if (!FParent) return -1;
  const auto& List = FParent->FTabList;
  const auto It = std::find(List.begin(), List.end(), this);
  return It == List.end() ? -1 : static_cast<TTabOrder>(It - List.begin());
}

void TWinControl::SetTabOrder(TTabOrder Value) {
  if (!FParent) return;
  auto& List = FParent->FTabList;
  const auto It = std::find(List.begin(), List.end(), this);
  if (It == List.end()) return;
  List.erase(It);
  if (Value < 0 || static_cast<size_t>(Value) >= List.size())
    List.push_back(this);
  else
    List.insert(List.begin() + Value, this);
}

void TWinControl::SetTabStop(Boolean Value) {
  if (FTabStop == Value) return;
  FTabStop = Value;
  Perform(CM_TABSTOPCHANGED, 0, 0);
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& List) {
  for (TWinControl* C : std::vector<TWinControl*>(FTabList)) {
    List.push_back(C);
    C->GetTabOrderList(List);
  }
}

TWinControl* TWinControl::FindNextControl(TWinControl* CurControl, Boolean GoForward, Boolean CheckTabStop,
                                          Boolean CheckParent) {
  std::vector<TWinControl*> List;
  GetTabOrderList(List);
  if (List.empty()) return nullptr;
  const size_t Count = List.size();
  const auto Found = std::find(List.begin(), List.end(), CurControl);
  size_t Start = Found != List.end() ? static_cast<size_t>(Found - List.begin()) : (GoForward ? Count - 1 : 0);
  size_t I = Start;
  do {
    I = GoForward ? (I + 1) % Count : (I + Count - 1) % Count;
    TWinControl* C = List[I];
    if (C->CanFocus() && (!CheckTabStop || C->FTabStop) && (!CheckParent || C->FParent == this)) return C;
  } while (I != Start);
  return nullptr;
}

void TWinControl::SelectNext(TWinControl* CurControl, Boolean GoForward, Boolean CheckTabStop) {
  if (TWinControl* Next = FindNextControl(CurControl, GoForward, CheckTabStop, !CheckTabStop)) Next->SetFocus();
}

void TWinControl::SelectFirst() {
  TWinControl* Root = TopLevelControl(this);
  if (!Root) return;
  TWinControl* C = FindNextControl(nullptr, true, true, false);
  if (!C) C = FindNextControl(nullptr, true, false, false);
  if (C) Root->SetActiveControl(C);
}

// --- Moving the focus ----------------------------------------------------------------------

Boolean TWinControl::Focused() { return FHandle && GetFocus() == FHandle; }

Boolean TWinControl::CanFocus() {
  for (TControl* C = this; C; C = C->FParent)
    if (!C->Visible() || !C->Enabled()) return false;
  return true;
}

void TWinControl::SetFocus() {
  TWinControl* Root = TopLevelControl(this);
  if (Root == this && !CanFocus()) throw EInvalidOperation(SCannotFocus);
  Root->FocusControl(this);
}

void TWinControl::SetActiveControl(TWinControl* Control) {
  if (Control == this) Control = nullptr;
  if (FActiveControl == Control) return;
  if (Control && (!ContainsControl(Control) || !Control->CanFocus())) throw EInvalidOperation(SCannotFocus);
  FActiveControl = Control;
  if (FHandle && !ComponentState().Contains(csDestroying) && TopIsActive(FHandle)) {
    const HWND Target = Control ? Control->Handle() : FHandle;
    if (GetFocus() != Target) ::SetFocus(Target);
  }
}

void TWinControl::FocusControl(TWinControl* Control) {
  if (Control == this) Control = nullptr;
  SetActiveControl(Control);
  const HWND Target = Control ? Control->Handle() : Handle();
  if (GetFocus() != Target) ::SetFocus(Target);
}

Boolean TWinControl::SendFocusMessage(TWinControl* Control, UINT Msg, HWND FocusWnd) {
  if (Control->HandleAllocated())
    SendMessage(Control->FHandle, Msg, 0, 0);
  else
    Control->Perform(Msg, 0, 0);
  return GetFocus() == FocusWnd;
}

Boolean TWinControl::SetFocusedControl(TWinControl* Control) {
  if (!Control || !ContainsControl(Control) || Control->ControlState.Contains(csFocusing)) return false;
  FActiveControl = Control != this ? Control : nullptr;
  const HWND FocusWnd = GetFocus();
  Control->ControlState.Include(csFocusing);
  struct ClearFocusing {
    TWinControl* C;
    ~ClearFocusing() { C->ControlState.Exclude(csFocusing); }
  } Clear{Control};
  if (!FFocusedControl) FFocusedControl = this;
  if (FFocusedControl == Control) return true;
  while (FFocusedControl && !FFocusedControl->ContainsControl(Control)) {
    TWinControl* Leaving = FFocusedControl;
    FFocusedControl = Leaving->FParent;
    if (!SendFocusMessage(Leaving, CM_EXIT, FocusWnd)) return false;
  }
  while (FFocusedControl != Control) {
    TWinControl* Entering = Control;
    while (Entering->FParent != FFocusedControl) Entering = Entering->FParent;
    FFocusedControl = Entering;
    if (!SendFocusMessage(Entering, CM_ENTER, FocusWnd)) return false;
  }
  Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(Control));
  return true;
}

void TWinControl::DefocusControl(TWinControl* Control, Boolean Removing) {
  if (Removing && FFocusedControl && Control->ContainsControl(FFocusedControl)) FFocusedControl = Control->FParent;
  if (FActiveControl && Control->ContainsControl(FActiveControl)) SetActiveControl(nullptr);
}

void TWinControl::RemoveFocus(Boolean Removing) {
  TWinControl* Root = TopLevelControl(this);
  if (Root && Root != this) Root->DefocusControl(this, Removing);
}

void TWinControl::DoEnter() {
  if (OnEnter) OnEnter(this);
}

void TWinControl::DoExit() {
  if (OnExit) OnExit(this);
}

void TWinControl::CMEnter(TWMNoParams&) { DoEnter(); }

void TWinControl::CMExit(TWMNoParams&) { DoExit(); }

void TWinControl::CMFocusChanged(TCMFocusChanged& Message) { Broadcast(Message.M); }

void TWinControl::WMSetFocus(TWMSetFocus& Message) { DefaultHandler(Message.M); }

void TWinControl::WMKillFocus(TWMKillFocus& Message) { DefaultHandler(Message.M); }
