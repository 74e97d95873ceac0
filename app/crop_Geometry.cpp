// The crop selection's geometry as plain numbers
#include "app/crop_Geometry.h"

#include <algorithm>

#include "platform/rtl/NumConv.h"

namespace vantrel::app {

namespace {

// What a drag of one handle moves, what it must keep clear of, and whom it carries along.
// A side of -1 is the left (top) side of the rectangle, +1 the right (bottom) side, 0 an
// axis the handle does not move; NoHandle ends a carry list.
constexpr Integer NoHandle = -1;
struct THandleRule {
  Integer XSide, YSide;
  Integer MoveRefX, MoveRefY;  // the handle a move must not pass
  Integer GapRefX, GapRefY;    // the handle to keep CropHandleGap pixels from
  std::array<Integer, 2> CarryX, CarryY;  // handles taking the new left, the new top
};

constexpr std::array<THandleRule, CropHandleCount> HandleRules = {{
    /* chLeftTop */ {-1, -1, chRightBottom, chRightBottom, chRightTop, chLeftBottom,
                     {chLeftBottom, NoHandle}, {chRightTop, NoHandle}},
    /* chRightBottom */ {1, 1, chLeftTop, chLeftTop, chLeftTop, chLeftTop,
                         {chRightTop, NoHandle}, {chLeftBottom, NoHandle}},
    /* chLeftBottom */ {-1, 1, chRightTop, chRightTop, chRightBottom, chLeftTop,
                        {chLeftTop, NoHandle}, {chRightBottom, NoHandle}},
    /* chRightTop */ {1, -1, chLeftBottom, chLeftBottom, chLeftTop, chRightBottom,
                      {chRightBottom, NoHandle}, {chLeftTop, NoHandle}},
    /* chTopMiddle */ {0, -1, NoHandle, chBottomMiddle, NoHandle, chRightBottom,
                       {NoHandle, NoHandle}, {chLeftTop, chRightTop}},
    /* chBottomMiddle */ {0, 1, NoHandle, chTopMiddle, NoHandle, chTopMiddle,
                          {NoHandle, NoHandle}, {chLeftBottom, chRightBottom}},
    /* chLeftMiddle */ {-1, 0, chRightMiddle, NoHandle, chRightMiddle, NoHandle,
                        {chLeftTop, chLeftBottom}, {NoHandle, NoHandle}},
    /* chRightMiddle */ {1, 0, chLeftMiddle, NoHandle, chLeftMiddle, NoHandle,
                         {chRightTop, chRightBottom}, {NoHandle, NoHandle}},
}};

// Whether Value lies on the Side of Ref: -1 below, +1 above.
bool CropOnSide(Integer Value, Integer Side, Integer Ref) {
  return Side < 0 ? Value < Ref : Value > Ref;
}

// Keeps a handle coordinate within the bound of its side.
Integer CropKeepInBound(Integer Pos, Integer Side, Integer LowBound, Integer HighBound) {
  const Integer Ref = Pos + CropHandleHalf;
  if (Side < 0 && Ref < LowBound) return LowBound - CropHandleHalf;
  if (Side > 0 && Ref > HighBound) return HighBound - CropHandleHalf;
  return Pos;
}

// Keeps a handle coordinate CropHandleGap from the opposite one.
Integer CropKeepGap(Integer Pos, Integer Side, Integer Opposite) {
  if (Side < 0) return std::min(Pos, Opposite - CropHandleGap);
  return std::max(Pos, Opposite + CropHandleGap);
}

}  // namespace

Integer RoundToInt(double Value) { return CheckedInt(Round(Value)); }

Integer TPicturePlacement::ToSourceX(double PX) const { return RoundToInt((PX - OX) / S); }
Integer TPicturePlacement::ToSourceY(double PY) const { return RoundToInt((PY - OY) / S); }

TPicturePlacement PlacePicture(Integer W, Integer H, Integer PW, Integer PH) {
  TPicturePlacement P;
  P.S = double(PH) / H;
  if (PW > W * P.S) {
    P.HeightFit = true;
    P.OX = (PW - W * P.S) / 2;
  } else {
    P.S = double(PW) / W;
    P.OY = (PH - H * P.S) / 2;
  }
  return P;
}

TRect PictureBounds(const TPicturePlacement& P, Integer W, Integer H) {
  if (P.HeightFit)
    return {RoundToInt(P.OX), 0, RoundToInt(W * P.S + P.OX), RoundToInt(H * P.S)};
  return {0, RoundToInt(P.OY), RoundToInt(W * P.S), RoundToInt(H * P.S + P.OY)};
}

TCropSelection SelectionFromEdits(const TPicturePlacement& P, const TCropEdits& E) {
  TCropSelection Sel;
  auto& H = Sel.Handles;
  H[chLeftTop] = {RoundToInt(P.ToPreviewX(E.Left)) - CropHandleHalf,
                  RoundToInt(P.ToPreviewY(E.Top)) - CropHandleHalf};
  H[chRightBottom] = {RoundToInt(P.ToPreviewX(double(E.Left) + E.Width)) - CropHandleHalf,
                      RoundToInt(P.ToPreviewY(double(E.Top) + E.Height)) - CropHandleHalf};
  H[chLeftBottom] = {H[chLeftTop].X, H[chRightBottom].Y};
  H[chRightTop] = {H[chRightBottom].X, H[chLeftTop].Y};
  CompleteSelection(Sel);
  return Sel;
}

void CompleteSelection(TCropSelection& Sel) {
  auto& H = Sel.Handles;
  const TPoint LT = H[chLeftTop], RT = H[chRightTop], LB = H[chLeftBottom], RB = H[chRightBottom];
  H[chLeftMiddle] = {LT.X, LT.Y + (LB.Y - LT.Y) / 2};
  H[chTopMiddle] = {LT.X + (RT.X - LT.X) / 2, LT.Y};
  H[chBottomMiddle] = {LB.X + (RB.X - LB.X) / 2, LB.Y};
  H[chRightMiddle] = {RT.X, RT.Y + (RB.Y - RT.Y) / 2};
  const Integer Across = RT.X - LT.X;
  Sel.Lines[clLeft] = {LT.X + CropHandleHalf, LT.Y + CropHandleHalf, 1, LB.Y - LT.Y};
  Sel.Lines[clRight] = {RT.X + CropHandleHalf, RT.Y + CropHandleHalf, 1, RB.Y - RT.Y};
  Sel.Lines[clTop] = {LT.X + CropHandleHalf, LT.Y + CropHandleHalf, Across, 1};
  Sel.Lines[clBottom] = {LB.X + CropHandleHalf, LB.Y + CropHandleHalf, Across, 1};
}

TCropEdits EditsFromSelection(const TPicturePlacement& P, const TCropSelection& Sel) {
  const TPoint LT = Sel.Handles[chLeftTop], RB = Sel.Handles[chRightBottom];
  const Integer X1 = P.ToSourceX(LT.X + CropHandleHalf), Y1 = P.ToSourceY(LT.Y + CropHandleHalf);
  const Integer X2 = P.ToSourceX(RB.X + CropHandleHalf), Y2 = P.ToSourceY(RB.Y + CropHandleHalf);
  return {X1, Y1, CheckedSub(X2, X1), CheckedSub(Y2, Y1)};
}

TCropEdits ClampCropEdits(const TCropEdits& E, Integer W, Integer H) {
  // One axis: the near corner Pos and the far one Pos + Size, kept inside 0..Limit.
  auto Axis = [](Integer Pos, Integer Size, Integer Limit, Integer& NewPos, Integer& NewSize) {
    const Int64 Far = std::clamp<Int64>(Int64{Pos} + Size, 0, Limit);
    const Int64 Near = std::clamp<Int64>(Pos, 0, std::max(0, Limit - CropMinSize));
    NewPos = static_cast<Integer>(Near);
    NewSize = static_cast<Integer>(std::min<Int64>(std::max<Int64>(Far, Near + CropMinSize), Limit) - Near);
  };
  TCropEdits C;
  Axis(E.Left, E.Width, W, C.Left, C.Width);
  Axis(E.Top, E.Height, H, C.Top, C.Height);
  return C;
}

bool CropHandleMoveAllowed(const TCropSelection& Sel, TCropHandle Handle, TPoint Candidate) {
  const THandleRule& R = HandleRules[Handle];
  const auto& H = Sel.Handles;
  if (R.XSide != 0 && !CropOnSide(Candidate.X, R.XSide, H[R.MoveRefX].X)) return false;
  if (R.YSide != 0 && !CropOnSide(Candidate.Y, R.YSide, H[R.MoveRefY].Y)) return false;
  return true;
}

void DragCropHandle(TCropSelection& Sel, TCropHandle Handle, TPoint Candidate, const TRect& Bounds) {
  const THandleRule& R = HandleRules[Handle];
  auto& H = Sel.Handles;
  TPoint& Moved = H[Handle];
  if (R.XSide != 0) {
    Moved.X = CropKeepInBound(Candidate.X, R.XSide, Bounds.Left, Bounds.Right);
    Moved.X = CropKeepGap(Moved.X, R.XSide, H[R.GapRefX].X);
    for (Integer Other : R.CarryX)
      if (Other != NoHandle) H[Other].X = Moved.X;
  }
  if (R.YSide != 0) {
    Moved.Y = CropKeepInBound(Candidate.Y, R.YSide, Bounds.Top, Bounds.Bottom);
    Moved.Y = CropKeepGap(Moved.Y, R.YSide, H[R.GapRefY].Y);
    for (Integer Other : R.CarryY)
      if (Other != NoHandle) H[Other].Y = Moved.Y;
  }
  CompleteSelection(Sel);
}

TPreviewZoom PreviewZoom(Integer W, Integer H, Integer PW, Integer PH, Integer OuterW,
                         Integer OuterH, double A, const TCropEdits& E) {
  const double R = double(W) / H;
  const double F0 = A == 0 ? 1.0 : A / R;
  const double SY = double(PH) / H;
  const double Window = double(PW) / PH;
  const double L = E.Left, T = E.Top, Wd = E.Width, Ht = E.Height;
  double Left, Top, Width, Height;
  if (PW > W * SY * F0) {
    // The output fills the box's height.
    double D = W, F = 1;
    if (A == -1) {
      D = double(RoundToInt(H * Window));
      F = Window / R;
    } else if (A != 0) {
      D = double(RoundToInt(H * A));
      F = A / R;
    }
    const double MX = PW - D * SY;
    Left = L * SY * F + MX / 2;
    Top = T * SY;
    Width = (L + Wd) * SY * F + MX / 2 - Left;
    Height = (T + Ht) * SY - Top;
  } else {
    // The output fills the box's width.
    const double SX = double(PW) / W;
    double D = H, F = 1;
    if (A == -1) {
      D = double(RoundToInt(W / Window));
      F = Window / R;
    } else if (A != 0) {
      D = double(RoundToInt(W / A));
      F = A / R;
    }
    const double MY = PH - D * SX;
    Left = L * SX;
    Top = T * SX / F + MY / 2;
    Width = (L + Wd) * SX - Left;
    Height = (T + Ht) * SX / F + MY / 2 - Top;
  }
  TPreviewZoom Z;
  double K;
  if (Window < Width / Height) {
    K = PW / Width;
    Z.Clip.Left = 0;
    Z.Clip.Width = OuterW;
    Z.Clip.Height = RoundToInt(OuterW * Height / Width);
    Z.Clip.Top = RoundToInt(OuterH / 2.0 - Z.Clip.Height / 2.0);
  } else {
    K = PH / Height;
    Z.Clip.Top = 0;
    Z.Clip.Height = OuterH;
    Z.Clip.Width = RoundToInt(OuterH * Width / Height);
    Z.Clip.Left = RoundToInt(OuterW / 2.0 - Z.Clip.Width / 2.0);
  }
  // A tiny selection is zoomed no further than the drawing window's largest size.
  K = std::min(K, double(CropZoomMaxSide) / std::max(PW, PH));
  Z.Picture.Height = RoundToInt(PH * K);
  Z.Picture.Width = RoundToInt(PW * K);
  Z.Picture.Left = -RoundToInt((PW * K) * Left / PW);
  Z.Picture.Top = -RoundToInt((PH * K) * Top / PH);
  return Z;
}

}  // namespace vantrel::app
