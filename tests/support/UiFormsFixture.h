// The headless window system with the application's objects, for tests of forms, menus,
// hints and timers: message boxes are recorded instead of shown, and the session's idle
// step runs the application's idle work.
#pragma once

#include <string>
#include <vector>

#include "platform/display/HeadlessSession.h"
#include "platform/ui/Forms.h"
#include "platform/win/Shell.h"
#include "platform/win/WindowManager.h"

namespace vantrel::uitest {

struct FormsSession {
  display::HeadlessSession Session;
  TApplicationInstance App;
  std::vector<std::string> Boxes;  // texts of the message boxes shown

  FormsSession() {
    Session.Manager().Shell().MessageBoxResponder = [this](HWND, const std::string& Text, const std::string&, UINT) {
      Boxes.push_back(Text);
      return IDOK;
    };
    Session.OnIdle = [] { Application->DoApplicationIdle(); };
  }
};

// A button-like windowed control: a click sets its form's ModalResult, as a dialog's
// buttons do.
class TModalButton : public TCustomControl {
  VANTREL_CLASS(TModalButton)
  explicit TModalButton(TComponent* AOwner) : TCustomControl(AOwner) {}
  TModalResult ModalResult = mrNone;
  void Click() override {
    if (TCustomForm* Form = GetParentForm(this); Form && ModalResult != mrNone) Form->SetModalResult(ModalResult);
    TCustomControl::Click();
  }
};

// The screen point at the centre of a control.
inline TPoint CentreOf(TControl* Control) {
  return Control->ClientToScreen(Point(Control->Width() / 2, Control->Height() / 2));
}

}  // namespace vantrel::uitest
