// The mouse wheel of every control: WM_MOUSEWHEEL becomes a turn down or up, told first
// to the control's events; what nobody handles goes on to the default handling.
#include "platform/ui/Controls.h"
#include "platform/win/Input.h"

Boolean TControl::DoMouseWheelDown(TShiftState Shift, TPoint MousePos) {
  Boolean Handled = false;
  if (OnMouseWheelDown) OnMouseWheelDown(this, Shift, MousePos, Handled);
  return Handled;
}

Boolean TControl::DoMouseWheelUp(TShiftState Shift, TPoint MousePos) {
  Boolean Handled = false;
  if (OnMouseWheelUp) OnMouseWheelUp(this, Shift, MousePos, Handled);
  return Handled;
}

void TControl::WMMouseWheel(TMessage& Message) {
  const SHORT Delta = GET_WHEEL_DELTA_WPARAM(Message.WParam);
  if (Delta != 0) {
    const TShiftState Shift = KeysToShiftState(GET_KEYSTATE_WPARAM(Message.WParam));
    const TPoint Pos = Point(static_cast<SHORT>(LOWORD(Message.LParam)), static_cast<SHORT>(HIWORD(Message.LParam)));
    if (Delta < 0 ? DoMouseWheelDown(Shift, Pos) : DoMouseWheelUp(Shift, Pos)) {
      Message.Result = 0;
      return;
    }
  }
  DefaultHandler(Message);
}
