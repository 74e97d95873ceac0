// Focus rectangles drawn by inverting a checkered line along the edge.
#include "platform/win/FocusRect.h"
#include "platform/win/WindowErrors.h"

namespace {

void InvertFocusDot(HDC Dc, int X, int Y) {
  const COLORREF C = GetPixel(Dc, X, Y);
  if (C != CLR_INVALID) SetPixelV(Dc, X, Y, C ^ 0x00FFFFFF);
}

}  // namespace

BOOL DrawFocusRect(HDC Dc, const RECT* R) {
  if (!Dc || !R) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (R->Right <= R->Left || R->Bottom <= R->Top) return TRUE;
  const int L = R->Left, T = R->Top, Rt = R->Right - 1, B = R->Bottom - 1;
  for (int X = L; X <= Rt; ++X) {
    if (((X - L) & 1) == 0) InvertFocusDot(Dc, X, T);
    if (B != T && ((X - L + B - T) & 1) == 0) InvertFocusDot(Dc, X, B);
  }
  for (int Y = T + 1; Y < B; ++Y) {
    if (((Y - T) & 1) == 0) InvertFocusDot(Dc, L, Y);
    if (Rt != L && ((Y - T + Rt - L) & 1) == 0) InvertFocusDot(Dc, Rt, Y);
  }
  return TRUE;
}
