// The base of the class library's wrappers of native control windows (list box, combo
// box, track bar, list view): the native window sees the mouse too, before the control's
// own mouse handling runs its events.
#pragma once

#include "platform/ui/Controls.h"
#include "platform/ui/Forms.h"

// The mouse messages a native control window handles itself (focus, caret, selection,
// capture) before the class library's mouse handling runs its events.
Boolean NativeWindowSeesMouse(UINT Msg);

// The border of a control: bsNone or bsSingle (a sunken edge with Ctl3D, else a line).
using TBorderStyle = TFormBorderStyle;

class TNativeWinControl : public TWinControl {
  VANTREL_CLASS(TNativeWinControl)
  explicit TNativeWinControl(TComponent* AOwner) : TWinControl(AOwner) {}

  void Dispatch(TMessage& Message) override;

  Boolean Ctl3D() const { return FCtl3D; }
  void SetCtl3D(Boolean Value);
  TBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle Value);

 protected:
  // The border's window styles (WS_BORDER or WS_EX_CLIENTEDGE) by BorderStyle and Ctl3D.
  void CreateParams(TCreateParams& Params) override;

 private:
  Boolean FCtl3D = true;
  TBorderStyle FBorderStyle = bsSingle;
};
