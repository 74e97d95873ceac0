// Mouse messages reach the native window before the class library's handlers.
#include "platform/ui/NativeWinControl.h"

Boolean NativeWindowSeesMouse(UINT Msg) {
  switch (Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MBUTTONDBLCLK:
    case WM_MOUSEMOVE:
      return true;
    default:
      return false;
  }
}

void TNativeWinControl::Dispatch(TMessage& Message) {
  if (NativeWindowSeesMouse(Message.Msg)) DefaultHandler(Message);
  TWinControl::Dispatch(Message);
}

void TNativeWinControl::SetCtl3D(Boolean Value) {
  if (FCtl3D == Value) return;
  FCtl3D = Value;
  RecreateWnd();
}

void TNativeWinControl::SetBorderStyle(TBorderStyle Value) {
  if (Value != bsNone) Value = bsSingle;
  if (FBorderStyle == Value) return;
  FBorderStyle = Value;
  RecreateWnd();
}

void TNativeWinControl::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  if (FBorderStyle == bsSingle) {
    if (FCtl3D)
      Params.ExStyle |= WS_EX_CLIENTEDGE;
    else
      Params.Style |= WS_BORDER;
  }
}
