// The masked edit that can let its parent show through: with Transparent on it paints no
// background and repaints the parent below it after every change.
#include "platform/win/Gdi.h"
#include "platform/win/Paint.h"
#include "platform/win/WindowManager.h"
#include "skin/controls/SkinGrids.h"

TspSkinTransparentMaskEdit::TspSkinTransparentMaskEdit(TComponent* AOwner) : TCustomMaskEdit(AOwner) {
  ControlStyle.Include(csOpaque);
}

void TspSkinTransparentMaskEdit::SetTransparent(Boolean Value) {
  if (FTransparent == Value) return;
  FTransparent = Value;
  RecreateWnd();
}

void TspSkinTransparentMaskEdit::CreateParams(TCreateParams& Params) {
  TCustomMaskEdit::CreateParams(Params);
  if (FTransparent) Params.ExStyle |= WS_EX_TRANSPARENT;
}

void TspSkinTransparentMaskEdit::Invalidate() {
  if (FTransparent)
    RedrawTransparent();
  else
    TCustomMaskEdit::Invalidate();
}

void TspSkinTransparentMaskEdit::RedrawTransparent() {
  if (!Parent() || !HandleAllocated()) return;
  RECT R;
  GetClientRect(Handle(), &R);
  MapWindowRect(Handle(), Parent()->Handle(), &R);
  InvalidateRect(Parent()->Handle(), &R, true);
  RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME);
}

void TspSkinTransparentMaskEdit::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CN_CTLCOLOREDIT: {
      if (!FTransparent) break;
      const HDC DC = reinterpret_cast<HDC>(Message.WParam);
      SetBkMode(DC, TRANSPARENT);
      SetTextColor(DC, static_cast<COLORREF>(ColorToRGB(Font()->Color())));
      Message.Result = reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
      return;
    }
    case WM_ERASEBKGND:
      if (!FTransparent) break;
      Invalidate();
      Message.Result = 1;
      return;
    case CM_ENTER:
    case CM_EXIT:
    case WM_KEYDOWN:
    case WM_SETTEXT:
    case WM_MOVE:
    case WM_CUT:
    case WM_PASTE:
    case WM_CLEAR:
    case WM_UNDO:
      TCustomMaskEdit::Dispatch(Message);
      if (FTransparent) Invalidate();
      return;
    case WM_LBUTTONDOWN:
      TCustomMaskEdit::Dispatch(Message);
      FDown = true;
      if (FTransparent) Invalidate();
      return;
    case WM_MOUSEMOVE:
      TCustomMaskEdit::Dispatch(Message);
      if (FDown) Invalidate();
      return;
    case WM_LBUTTONUP:
      TCustomMaskEdit::Dispatch(Message);
      FDown = false;
      return;
    default:
      break;
  }
  TCustomMaskEdit::Dispatch(Message);
}
