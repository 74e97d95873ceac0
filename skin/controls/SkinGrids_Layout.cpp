// Where the grid's cells lie on the client area: the axis layouts, cell and range
// rectangles, hit-testing, the largest useful top-left cell and invalidation.
#include <algorithm>

#include "platform/rtl/NumConv.h"
#include "platform/win/Gdi.h"
#include "platform/win/Paint.h"
#include "skin/controls/SkinGrids.h"

namespace {

// Start pixel of cell Line on an axis; 0 when the cell is not shown.
Integer GridLinePos(const TGridAxisLayout& A, Integer Line) {
  Integer Result = 0;
  Integer Start;
  if (Line < A.FixedCellCount)
    Start = 0;
  else {
    Start = A.FirstGridCell;
    if (Line >= A.FirstGridCell) Result = A.FixedEnd;
  }
  for (Integer I = Start; I < Line; ++I) {
    Result = CheckedAdd(Result, CheckedAdd(A.CellExtent(I), A.LineWidth));
    if (Result > A.GridExtent) return 0;
  }
  return Result;
}

// Pixels SMin..SMax of cells GMin..GMax on an axis; false when the range is not shown.
bool GridAxisRange(const TGridAxisLayout& A, Integer GMin, Integer GMax, Boolean IncludeLine, Integer& SMin,
                   Integer& SMax) {
  if (A.FixedCellCount <= GMin && GMin < A.FirstGridCell) {
    if (GMax < A.FirstGridCell) return false;
    GMin = A.FirstGridCell;
  }
  if (GMax > A.LastFullVisibleCell) {
    GMax = A.LastFullVisibleCell;
    if (GMax < A.GridCellCount - 1) {
      ++GMax;
      if (GridLinePos(A, GMax) == 0) --GMax;
    }
  }
  SMin = GridLinePos(A, GMin);
  SMax = GridLinePos(A, GMax);
  if (SMax == 0)
    SMax = CheckedAdd(SMin, A.CellExtent(GMin));
  else
    SMax = CheckedAdd(SMax, A.CellExtent(GMax));
  SMax = std::min(SMax, A.GridExtent);
  if (IncludeLine) SMax = CheckedAdd(SMax, A.LineWidth);
  return true;
}

Integer GridAxisCellAt(const TGridAxisLayout& A, Integer N) {
  Integer Start, Stop, Line;
  if (N < A.FixedEnd) {
    Start = 0;
    Stop = A.FixedCellCount - 1;
    Line = 0;
  } else {
    Start = A.FirstGridCell;
    Stop = A.GridCellCount - 1;
    Line = A.FixedEnd;
  }
  for (Integer I = Start; I <= Stop; ++I) {
    Line = CheckedAdd(Line, CheckedAdd(A.CellExtent(I), A.LineWidth));
    if (N < Line) return I;
  }
  return -1;
}

Integer GridAxisMaxTopLeft(const TGridAxisLayout& A, Integer Start) {
  Integer Result = Start;
  Integer Line = CheckedAdd(A.GridExtent, A.LineWidth);
  for (Integer I = Start; I >= A.FixedCellCount; --I) {
    const Integer E = A.CellExtent(I);
    Line = CheckedSub(Line, CheckedAdd(E, A.LineWidth));
    if (Line < A.FixedEnd) break;
    if (E > 0) Result = I;
  }
  return Result;
}

void GridCompleteAxis(TGridAxisLayout& A, Integer Size) {
  A.GridExtent = Size;
  A.GridEnd = A.FixedEnd;
  A.FullVisibleEnd = A.FixedEnd;
  A.LastFullVisibleCell = A.FirstGridCell;
  for (Integer I = A.FirstGridCell; I < A.GridCellCount; ++I) {
    A.GridEnd = CheckedAdd(A.GridEnd, CheckedAdd(A.CellExtent(I), A.LineWidth));
    if (A.GridEnd > CheckedAdd(A.GridExtent, A.LineWidth)) {
      A.GridEnd = A.GridExtent;
      break;
    }
    A.LastFullVisibleCell = I;
    A.FullVisibleEnd = A.GridEnd;
  }
}

}  // namespace

void XorRects(const TRect& R1, const TRect& R2, TRect (&Result)[4]) {
  for (TRect& R : Result) R = TRect{0, 0, 0, 0};
  TRect I{}, U{};
  if (!IntersectRect(&I, &R1, &R2)) {
    Result[0] = R1;
    Result[1] = R2;
    return;
  }
  UnionRect(&U, &R1, &R2);
  auto Inside = [&](TPoint P) {
    auto In = [&](const TRect& R) { return P.X >= R.Left && P.X <= R.Right && P.Y >= R.Top && P.Y <= R.Bottom; };
    return In(R1) || In(R2);
  };
  auto Build = [&](TRect& R, TPoint P1, TPoint P2, TPoint P3) {
    if (Inside(P1)) {
      const TPoint E = Inside(P3) ? P3 : P2;
      R = TRect{P1.X, P1.Y, E.X, E.Y};
      return true;
    }
    if (Inside(P2)) {
      R = TRect{P2.X, P2.Y, P3.X, P3.Y};
      return true;
    }
    return false;
  };
  if (Build(Result[0], {U.Left, U.Top}, {U.Left, I.Top}, {U.Left, I.Bottom})) Result[0].Right = I.Left;
  if (Build(Result[1], {I.Left, U.Top}, {I.Right, U.Top}, {U.Right, U.Top})) Result[1].Bottom = I.Top;
  if (Build(Result[2], {U.Right, I.Top}, {U.Right, I.Bottom}, {U.Right, U.Bottom})) Result[2].Left = I.Right;
  if (Build(Result[3], {U.Left, U.Bottom}, {I.Left, U.Bottom}, {I.Right, U.Bottom})) Result[3].Top = I.Bottom;
}

Integer TspSkinCustomGrid::ExtentOf(Boolean Horz, Integer Index) const {
  return Horz ? GetColWidths(Index) : GetRowHeights(Index);
}

void TspSkinCustomGrid::CalcFixedLayout(TGridLayout& Layout) const {
  auto Fill = [this](TGridAxisLayout& A, Boolean Horz) {
    const TGridOptions LineOptions =
        Horz ? TGridOptions{goFixedVertLine, goVertLine} : TGridOptions{goFixedHorzLine, goHorzLine};
    A.LineWidth = (FOptions * LineOptions).Empty() ? 0 : FGridLineWidth;
    A.FixedCellCount = Horz ? FFixedCols : FFixedRows;
    A.FirstGridCell = Horz ? FTopLeft.X : FTopLeft.Y;
    A.GridCellCount = Horz ? FColCount : FRowCount;
    A.CellExtent = [this, Horz](Integer I) { return ExtentOf(Horz, I); };
    A.FixedEnd = 0;
    for (Integer I = 0; I < A.FixedCellCount; ++I)
      A.FixedEnd = CheckedAdd(A.FixedEnd, CheckedAdd(A.CellExtent(I), A.LineWidth));
  };
  Fill(Layout.Horz, true);
  Fill(Layout.Vert, false);
}

void TspSkinCustomGrid::CalcLayoutXY(TGridLayout& Layout, Integer UseWidth, Integer UseHeight) const {
  CalcFixedLayout(Layout);
  GridCompleteAxis(Layout.Horz, UseWidth);
  GridCompleteAxis(Layout.Vert, UseHeight);
}

void TspSkinCustomGrid::CalcLayout(TGridLayout& Layout) { CalcLayoutXY(Layout, ClientWidth(), ClientHeight()); }

void TspSkinCustomGrid::GridRectToClientRect(const TGridRect& AGridRect, TRect& R, Boolean IncludeLine) {
  R = TRect{0, 0, 0, 0};
  if (AGridRect.Left > AGridRect.Right || AGridRect.Top > AGridRect.Bottom) return;
  TGridLayout L;
  CalcLayout(L);
  if (AGridRect.Left > CheckedAdd(L.Horz.LastFullVisibleCell, 1) ||
      AGridRect.Top > CheckedAdd(L.Vert.LastFullVisibleCell, 1))
    return;
  TRect Out{0, 0, 0, 0};
  if (!GridAxisRange(L.Horz, AGridRect.Left, AGridRect.Right, IncludeLine, Out.Left, Out.Right)) return;
  if (!GridAxisRange(L.Vert, AGridRect.Top, AGridRect.Bottom, IncludeLine, Out.Top, Out.Bottom)) return;
  R = Out;
}

TRect TspSkinCustomGrid::RangeRect(Integer ALeft, Integer ATop, Integer ARight, Integer ABottom) {
  TRect R;
  GridRectToClientRect({ALeft, ATop, ARight, ABottom}, R, false);
  return R;
}

TRect TspSkinCustomGrid::CellRect(Integer ACol, Integer ARow) { return RangeRect(ACol, ARow, ACol, ARow); }

TGridCoord TspSkinCustomGrid::CellAtPoint(Integer X, Integer Y, const TGridLayout& Layout) const {
  return {GridAxisCellAt(Layout.Horz, X), GridAxisCellAt(Layout.Vert, Y)};
}

TGridCoord TspSkinCustomGrid::MouseCoord(Integer X, Integer Y) {
  TGridLayout L;
  CalcLayout(L);
  TGridCoord C = CellAtPoint(X, Y, L);
  if (C.X == -1 || C.Y == -1) C = {-1, -1};
  return C;
}

TGridCoord TspSkinCustomGrid::CalcMaxTopLeft(TGridCoord Coord, const TGridLayout& Layout) const {
  return {GridAxisMaxTopLeft(Layout.Horz, Coord.X), GridAxisMaxTopLeft(Layout.Vert, Coord.Y)};
}

Integer TspSkinCustomGrid::VisibleColCount() {
  TGridLayout L;
  CalcLayout(L);
  return CheckedAdd(CheckedSub(L.Horz.LastFullVisibleCell, FTopLeft.X), 1);
}

Integer TspSkinCustomGrid::VisibleRowCount() {
  TGridLayout L;
  CalcLayout(L);
  return CheckedAdd(CheckedSub(L.Vert.LastFullVisibleCell, FTopLeft.Y), 1);
}

Integer TspSkinCustomGrid::GridWidth() {
  TGridLayout L;
  CalcLayout(L);
  return L.Horz.GridEnd;
}

Integer TspSkinCustomGrid::GridHeight() {
  TGridLayout L;
  CalcLayout(L);
  return L.Vert.GridEnd;
}

void TspSkinCustomGrid::InvalidateGridRect(const TGridRect& AGridRect) {
  if (!HandleAllocated()) return;
  TRect R;
  GridRectToClientRect(AGridRect, R, true);
  InvalidateRect(Handle(), &R, false);
}

void TspSkinCustomGrid::InvalidateCell(Integer ACol, Integer ARow) { InvalidateGridRect({ACol, ARow, ACol, ARow}); }

void TspSkinCustomGrid::InvalidateGrid() { Invalidate(); }
