// The window system's rectangle helpers.
#include <algorithm>

#include "platform/win/Gdi.h"

BOOL SetRect(LPRECT R, int Left, int Top, int Right, int Bottom) {
  if (!R) return FALSE;
  *R = {Left, Top, Right, Bottom};
  return TRUE;
}

BOOL SetRectEmpty(LPRECT R) {
  if (!R) return FALSE;
  *R = {};
  return TRUE;
}

BOOL CopyRect(LPRECT Dest, const RECT* Src) {
  if (!Dest || !Src) return FALSE;
  *Dest = *Src;
  return TRUE;
}

BOOL InflateRect(LPRECT R, int DX, int DY) {
  if (!R) return FALSE;
  *R = {R->Left - DX, R->Top - DY, R->Right + DX, R->Bottom + DY};
  return TRUE;
}

BOOL OffsetRect(LPRECT R, int DX, int DY) {
  if (!R) return FALSE;
  *R = {R->Left + DX, R->Top + DY, R->Right + DX, R->Bottom + DY};
  return TRUE;
}

BOOL IsRectEmpty(const RECT* R) { return !R || R->Right <= R->Left || R->Bottom <= R->Top; }

BOOL PtInRect(const RECT* R, POINT P) {
  return R && P.X >= R->Left && P.X < R->Right && P.Y >= R->Top && P.Y < R->Bottom;
}

BOOL IntersectRect(LPRECT Dest, const RECT* A, const RECT* B) {
  if (!Dest || !A || !B) return FALSE;
  RECT R{std::max(A->Left, B->Left), std::max(A->Top, B->Top), std::min(A->Right, B->Right),
         std::min(A->Bottom, B->Bottom)};
  if (IsRectEmpty(&R)) {
    *Dest = {};
    return FALSE;
  }
  *Dest = R;
  return TRUE;
}

BOOL UnionRect(LPRECT Dest, const RECT* A, const RECT* B) {
  if (!Dest || !A || !B) return FALSE;
  if (IsRectEmpty(A) && IsRectEmpty(B)) {
    *Dest = {};
    return FALSE;
  }
  if (IsRectEmpty(A)) {
    *Dest = *B;
    return TRUE;
  }
  if (IsRectEmpty(B)) {
    *Dest = *A;
    return TRUE;
  }
  *Dest = {std::min(A->Left, B->Left), std::min(A->Top, B->Top), std::max(A->Right, B->Right),
           std::max(A->Bottom, B->Bottom)};
  return TRUE;
}

// A - B when the result is a rectangle (B covers A fully across one side); else A.
BOOL SubtractRect(LPRECT Dest, const RECT* A, const RECT* B) {
  if (!Dest || !A || !B) return FALSE;
  RECT R = *A;
  RECT I;
  if (IntersectRect(&I, A, B)) {
    if (I.Left <= R.Left && I.Right >= R.Right) {
      if (I.Top <= R.Top) R.Top = I.Bottom;
      else if (I.Bottom >= R.Bottom) R.Bottom = I.Top;
    } else if (I.Top <= R.Top && I.Bottom >= R.Bottom) {
      if (I.Left <= R.Left) R.Left = I.Right;
      else if (I.Right >= R.Right) R.Right = I.Left;
    }
  }
  if (IsRectEmpty(&R)) {
    *Dest = {};
    return FALSE;
  }
  *Dest = R;
  return TRUE;
}

BOOL EqualRect(const RECT* A, const RECT* B) { return A && B && *A == *B; }
