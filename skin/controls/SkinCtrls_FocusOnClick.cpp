// A left press on an unfocused focusable skinned control takes the focus first.
#include "platform/win/Focus.h"
#include "skin/controls/SkinCtrls.h"

Boolean DropClickWhileFocusing(TWinControl* Control, TMessage& Message, Boolean& ClicksDisabled) {
  if (Message.Msg == CN_COMMAND) return ClicksDisabled;
  if (Message.Msg != WM_LBUTTONDOWN && Message.Msg != WM_LBUTTONDBLCLK) return false;
  if (Control->Focused() || Control->ComponentState().Contains(csDesigning)) return false;
  ClicksDisabled = true;
  ::SetFocus(Control->Handle());
  ClicksDisabled = false;
  return !Control->Focused();
}
