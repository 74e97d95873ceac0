// The keys and the wheel of the focusable range controls (track bar, scroll bar).
#include "platform/win/Input.h"
#include "platform/win/Keyboard.h"
#include "skin/controls/SkinCtrls.h"

Integer ArrowKeyStep(Word Key, const TspArrowSteps& Steps) {
  switch (Key) {
    case VK_LEFT: return -1;
    case VK_RIGHT: return 1;
    case VK_UP: return Steps.UpStep;
    case VK_DOWN: return -Steps.UpStep;
    default: return 0;
  }
}

Boolean DispatchArrowSteps(TControl* Control, TMessage& Message, const TspArrowSteps& Steps, Boolean CanFocused,
                           Boolean Focused, const std::function<void(Integer)>& Step,
                           const std::function<void(TMessage&)>& Inherited) {
  switch (Message.Msg) {
    case WM_MOUSEWHEEL:
      if (!Focused) return false;
      Step(GET_WHEEL_DELTA_WPARAM(Message.WParam) > 0 ? Steps.WheelAwayStep : -Steps.WheelAwayStep);
      return true;
    case CM_WANTSPECIALKEY:
      Inherited(Message);
      if (CanFocused && ArrowKeyStep(static_cast<Word>(Message.WParam), Steps) != 0) Message.Result = 1;
      return true;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      Inherited(Message);
      if (CanFocused) Control->Repaint();
      return true;
    default:
      return false;
  }
}
