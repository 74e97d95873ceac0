// DefWindowProc's share of painting: WM_PAINT validates, WM_ERASEBKGND fills with the
// class background brush, WM_SYNCPAINT sends the frame and erase messages that are due.
// WM_NCPAINT draws nothing: frames are drawn by the windows that have them.
#include "platform/win/Paint.h"
#include "platform/win/PaintState.h"

namespace vantrel::win {

bool DefPaintMessage(WindowManager& M, Window* W, UINT Msg, WPARAM WParam, LPARAM, LRESULT& Result) {
  Result = 0;
  switch (Msg) {
    case WM_PAINT:
      // With a DC in WParam the caller paints into it; nothing is due here.
      if (!WParam) {
        PAINTSTRUCT Ps;
        if (BeginPaint(W->Handle, &Ps)) EndPaint(W->Handle, &Ps);
      }
      return true;
    case WM_ERASEBKGND: {
      HBRUSH Brush = W->Class ? W->Class->Background : nullptr;
      if (!Brush || !WParam) return true;
      RECT R;
      GetClientRect(W->Handle, &R);
      FillRect(reinterpret_cast<HDC>(WParam), &R, Brush);
      Result = 1;
      return true;
    }
    case WM_SYNCPAINT:
      EraseNow(M, W);
      return true;
    default:
      return false;
  }
}

}  // namespace vantrel::win
