// Details drawn from lines where a skin has no picture for them: the dotted focus frame,
// the two-colour frame, arrows, check and radio marks and the caption-button glyphs.
// Lines cover their start and exclude their end, so an inclusive run ends one further.
#include "platform/ui/Graphics.h"
#include "skin/core/drawing/SPUtils.h"

namespace {

// A horizontal run X1..X2 (inclusive) on row Y.
void HLine(TCanvas* Canvas, Integer X1, Integer X2, Integer Y) {
  Canvas->MoveTo(X1, Y);
  Canvas->LineTo(X2 + 1, Y);
}

// A vertical run Y1..Y2 (inclusive) in column X.
void VLine(TCanvas* Canvas, Integer X, Integer Y1, Integer Y2) {
  Canvas->MoveTo(X, Y1);
  Canvas->LineTo(X, Y2 + 1);
}

void Line(TCanvas* Canvas, Integer X1, Integer Y1, Integer X2, Integer Y2) {
  Canvas->MoveTo(X1, Y1);
  Canvas->LineTo(X2, Y2);
}

Integer CenterX(const TRect& R) { return R.Left + RectWidth(R) / 2; }
Integer CenterY(const TRect& R) { return R.Top + RectHeight(R) / 2; }

}  // namespace

void DrawSkinFocusRect(TCanvas* Canvas, const TRect& R) {
  const TColor C = Canvas->Font()->Color();
  Canvas->Pen()->SetColor(C);
  if (R.Right <= R.Left || R.Bottom <= R.Top) return;
  const Integer L = R.Left, T = R.Top, Rt = R.Right - 1, B = R.Bottom - 1;
  bool Draw = !((Rt - L) % 2 == 0 && (B - T) % 2 == 0);
  auto Visit = [&](Integer X, Integer Y) {
    if (Draw) Canvas->SetPixels(X, Y, C);
    Draw = !Draw;
  };
  // Each side after the first starts on the corner the previous one ended on, which keeps
  // the decision already taken for it, so the dots run on unbroken around the corners.
  for (Integer X = L; X <= Rt; ++X) Visit(X, T);
  for (Integer Y = T + 1; Y <= B; ++Y) Visit(Rt, Y);
  for (Integer X = Rt - 1; X >= L; --X) Visit(X, B);
  for (Integer Y = B - 1; Y >= T; --Y) Visit(L, Y);
}

void Draw3DFrame(TCanvas* Canvas, const TRect& R, TColor TopColor, TColor BottomColor) {
  Canvas->Pen()->SetWidth(1);
  const Integer L = R.Left, T = R.Top, Rt = R.Right - 1, B = R.Bottom - 1;
  Canvas->Pen()->SetColor(TopColor);
  Canvas->Polyline({Point(L, B), Point(L, T), Point(Rt, T)});
  Canvas->Pen()->SetColor(BottomColor);
  Canvas->Polyline({Point(Rt, T), Point(Rt, B), Point(L - 1, B)});
}

namespace {

// Lines of 1, 3, ... 2 * Last + 1 pixels with the tip (the 1-pixel line) Last - 1 before
// the centre, pointing the way Direction says.
void DrawArrowLines(TCanvas* Canvas, const TRect& R, TColor Color, Integer Direction, Integer Last) {
  Canvas->Pen()->SetColor(Color);
  const Integer CX = CenterX(R), CY = CenterY(R);
  const Integer Tip = Last - 1;
  switch (Direction) {
    case 1:
      for (Integer i = 0; i <= Last; ++i) VLine(Canvas, CX - Tip + i, CY - i, CY + i);
      break;
    case 2:
      for (Integer i = Last; i >= 0; --i) VLine(Canvas, CX + Tip - i, CY - i, CY + i);
      break;
    case 3:
      for (Integer i = 0; i <= Last; ++i) HLine(Canvas, CX - i, CX + i, CY - Tip + i);
      break;
    case 4:
      for (Integer i = Last; i >= 0; --i) HLine(Canvas, CX - i, CX + i, CY + Tip - i);
      break;
    default:
      break;
  }
}

}  // namespace

void DrawArrow(TCanvas* Canvas, const TRect& R, TColor Color, Integer Direction) {
  DrawArrowLines(Canvas, R, Color, Direction, 3);
}

void DrawSmallArrow(TCanvas* Canvas, const TRect& R, TColor Color, Integer Direction) {
  DrawArrowLines(Canvas, R, Color, Direction, 2);
}

void DrawDropDownArrow(TCanvas* Canvas, const TRect& R, TColor Color) {
  Canvas->Pen()->SetColor(Color);
  const Integer CX = CenterX(R), CY = CenterY(R);
  for (Integer i = 2; i >= 0; --i) HLine(Canvas, CX - i, CX + i, CY + 2 - i);
}

void DrawCheckImage(TCanvas* Canvas, Integer X, Integer Y, TColor Color) {
  Canvas->Pen()->SetColor(Color);
  for (Integer i = 0; i <= 2; ++i) {
    Canvas->MoveTo(X, Y + 5 - i);
    Canvas->LineTo(X + 2, Y + 7 - i);
    Canvas->LineTo(X + 7, Y + 2 - i);
  }
}

void DrawRadioImage(TCanvas* Canvas, Integer X, Integer Y, TColor Color) {
  Canvas->Pen()->SetColor(Color);
  Canvas->Brush()->SetColor(Color);
  Canvas->Brush()->SetStyle(bsSolid);
  Canvas->Rectangle(X, Y, X + 6, Y + 6);
}

void DrawCloseImage(TCanvas* Canvas, Integer X, Integer Y, TColor Color) {
  Canvas->Pen()->SetColor(Color);
  Line(Canvas, X + 1, Y + 1, X + 9, Y + 9);
  Line(Canvas, X + 9, Y + 1, X + 1, Y + 9);
  Line(Canvas, X + 2, Y + 1, X + 10, Y + 9);
  Line(Canvas, X + 8, Y + 1, X, Y + 9);
}

void DrawSysMenuImage(TCanvas* Canvas, Integer X, Integer Y, TColor Color) {
  Canvas->Pen()->SetColor(Color);
  Canvas->Brush()->SetStyle(bsClear);
  Canvas->Rectangle(X + 1, Y + 3, X + 9, Y + 6);
}

void DrawMinimizeImage(TCanvas* Canvas, Integer X, Integer Y, TColor Color) {
  Canvas->Pen()->SetColor(Color);
  Line(Canvas, X + 1, Y + 8, X + 9, Y + 8);
  Line(Canvas, X + 1, Y + 9, X + 9, Y + 9);
}

void DrawMaximizeImage(TCanvas* Canvas, Integer X, Integer Y, TColor Color) {
  Canvas->Pen()->SetColor(Color);
  Canvas->Brush()->SetStyle(bsClear);
  Canvas->Rectangle(X, Y, X + 11, Y + 10);
  Canvas->Rectangle(X, Y, X + 11, Y + 2);
}

void DrawRestoreImage(TCanvas* Canvas, Integer X, Integer Y, TColor Color) {
  Canvas->Pen()->SetColor(Color);
  Canvas->Brush()->SetStyle(bsClear);
  Canvas->Rectangle(X + 2, Y, X + 10, Y + 6);
  Canvas->Rectangle(X + 2, Y, X + 10, Y + 2);
  Canvas->Rectangle(X, Y + 4, X + 7, Y + 10);
  Canvas->Rectangle(X, Y + 4, X + 7, Y + 6);
}

void DrawRollUpImage(TCanvas* Canvas, Integer X, Integer Y, TColor Color) {
  Canvas->Pen()->SetColor(Color);
  HLine(Canvas, X + 4, X + 5, Y + 3);
  HLine(Canvas, X + 3, X + 6, Y + 4);
  HLine(Canvas, X + 2, X + 7, Y + 5);
  HLine(Canvas, X + 1, X + 8, Y + 6);
}

void DrawRollDownImage(TCanvas* Canvas, Integer X, Integer Y, TColor Color) {
  Canvas->Pen()->SetColor(Color);
  HLine(Canvas, X + 1, X + 8, Y + 2);
  HLine(Canvas, X + 2, X + 7, Y + 3);
  HLine(Canvas, X + 3, X + 6, Y + 4);
  HLine(Canvas, X + 4, X + 5, Y + 5);
}

void DrawMinimizeToTrayImage(TCanvas* Canvas, Integer X, Integer Y, TColor Color) {
  Canvas->Pen()->SetColor(Color);
  Canvas->Brush()->SetColor(Color);
  Canvas->Brush()->SetStyle(bsSolid);
  Canvas->Rectangle(X + 2, Y + 2, X + 7, Y + 7);
}
