// The hint window of the class library.
#include "platform/ui/HintWindow.h"

#include "platform/win/DrawText.h"
#include "platform/win/Gdi.h"
#include "platform/win/SysColors.h"
#include "platform/win/SysMetrics.h"
#include "platform/win/WindowManager.h"

namespace {
constexpr Integer HintMarginX = 4;  // text inset from the border, each side
constexpr Integer HintMarginY = 2;
}  // namespace

THintWindow::THintWindow(TComponent* AOwner) : TCustomControl(AOwner) {
  SetColor(clInfoBk);
  Font()->SetColor(clInfoText);
  SetVisible(false);
}

void THintWindow::CreateParams(TCreateParams& Params) {
  TCustomControl::CreateParams(Params);
  Params.Style = WS_POPUP | WS_BORDER;
  Params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE;
  Params.WindowClass.style |= CS_SAVEBITS | CS_DROPSHADOW;
  Params.WndParent = nullptr;
}

void THintWindow::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_NCHITTEST:
      Message.Result = HTTRANSPARENT;  // the pointer reaches what lies below
      return;
    case WM_MOUSEACTIVATE:
      Message.Result = MA_NOACTIVATE;
      return;
    default:
      TCustomControl::WndProc(Message);
  }
}

TRect THintWindow::CalcHintRect(Integer MaxWidth, const String& AHint, void*) {
  RECT R{0, 0, MaxWidth, 0};
  TBitmap Probe;
  Probe.Canvas()->Font()->Assign(Font());
  DrawText(Probe.Canvas()->Handle(), AHint, -1, &R, DT_CALCRECT | DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
  return Rect(0, 0, R.Right + 2 * HintMarginX + 2, R.Bottom + 2 * HintMarginY + 2);
}

void THintWindow::ActivateHint(const TRect& Rect, const String& AHint) {
  SetCaption(AHint);
  // Kept on the screen.
  TRect R = Rect;
  const Integer ScreenW = GetSystemMetrics(SM_CXSCREEN), ScreenH = GetSystemMetrics(SM_CYSCREEN);
  if (R.Right > ScreenW) OffsetRect(&R, ScreenW - R.Right, 0);
  if (R.Bottom > ScreenH) OffsetRect(&R, 0, ScreenH - R.Bottom);
  if (R.Left < 0) OffsetRect(&R, -R.Left, 0);
  if (R.Top < 0) OffsetRect(&R, 0, -R.Top);
  SetBoundsRect(R);
  SetWindowPos(Handle(), HWND_TOPMOST, R.Left, R.Top, R.Right - R.Left, R.Bottom - R.Top,
               SWP_SHOWWINDOW | SWP_NOACTIVATE);
  Invalidate();
}

void THintWindow::ActivateHintData(const TRect& Rect, const String& AHint, void*) { ActivateHint(Rect, AHint); }

void THintWindow::ReleaseHandle() {
  if (HandleAllocated()) DestroyHandle();
}

Boolean THintWindow::IsHintShowing() { return HandleAllocated() && IsWindowVisible(FHandle); }

void THintWindow::Paint() {
  TRect R = ClientRect();
  InflateRect(&R, -HintMarginX, -HintMarginY);
  Canvas()->Font()->Assign(Font());
  Canvas()->Brush()->SetStyle(bsClear);
  RECT T = R;
  DrawText(Canvas()->Handle(), Caption(), -1, &T, DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
}
