// The caret's pixels: computed from the caret state, flipped only in what is presented.
#include "platform/win/CaretPaint.h"

#include <algorithm>

#include "platform/win/Input.h"
#include "platform/win/PaintState.h"

namespace vantrel::win {

namespace {

// The caret's rectangle in its top-level window's coordinates, unclipped.
bool CaretBox(WindowManager& M, Window*& Top, RECT& Box) {
  const CaretState& C = M.Input().Caret();
  Window* Owner = C.Owner ? M.Find(C.Owner) : nullptr;
  if (!Owner) return false;
  Top = TopLevelOf(Owner);
  const POINT O = OffsetInTop(M, Owner, true);
  Box = RECT{O.X + C.Pos.X, O.Y + C.Pos.Y, O.X + C.Pos.X + C.Width, O.Y + C.Pos.Y + C.Height};
  return true;
}

}  // namespace

Region CaretShowingIn(WindowManager& M, Window* Top, uint32_t& Xor) {
  const CaretState& C = M.Input().Caret();
  Window* CaretTop = nullptr;
  RECT Box{};
  if (!C.On || C.HideLevel != 0 || !CaretBox(M, CaretTop, Box) || CaretTop != Top) return Region();
  Region Shown = VisibleRegion(M, M.Find(C.Owner), true, true);
  Shown.IntersectRect(Box);
  Xor = C.Bitmap == reinterpret_cast<HBITMAP>(1) ? 0x808080u : 0xFFFFFFu;
  return Shown;
}

void InvertCaret(Surface& S, const Region& Area, uint32_t Xor) {
  for (const RECT& R : Area.Rects())
    for (int Y = std::max(0, static_cast<int>(R.Top)); Y < std::min(S.Height(), static_cast<int>(R.Bottom)); ++Y) {
      uint32_t* Row = S.Row(Y);
      for (int X = std::max(0, static_cast<int>(R.Left)); X < std::min(S.Width(), static_cast<int>(R.Right)); ++X)
        Row[X] ^= Xor;
    }
}

void MarkCaretDirty(WindowManager& M) {
  Window* Top = nullptr;
  RECT Box{};
  if (CaretBox(M, Top, Box)) MarkDirty(Top, Region(Box));
}

}  // namespace vantrel::win
