// The grid's model: counts, fixed columns and rows, per-cell extents, the current cell and
// the selection, moving and deleting columns and rows.
#include <algorithm>
#include <utility>

#include "platform/rtl/NumConv.h"
#include "platform/win/Messages.h"
#include "platform/win/Paint.h"
#include "skin/controls/SkinGrids.h"

namespace {

const char* const GridIndexErrorText = "Grid index out of range";
const char* const GridTooManyDeletedText = "Too many rows or columns deleted";
const char* const GridTooLargeText = "Grid too large for operation";
const char* const GridFixedColsText = "Fixed column count must be less than column count";
const char* const GridFixedRowsText = "Fixed row count must be less than row count";

// A position that follows a moved column or row.
void GridMoveAdjust(Integer& CellPos, Integer FromIndex, Integer ToIndex) {
  if (CellPos == FromIndex)
    CellPos = ToIndex;
  else if (CellPos >= std::min(FromIndex, ToIndex) && CellPos <= std::max(FromIndex, ToIndex))
    CellPos += ToIndex >= FromIndex ? -1 : 1;
}

}  // namespace

void InvalidOp(const String& Msg) { throw EInvalidGridOperation(Msg); }

TGridRect GridRect(TGridCoord Coord1, TGridCoord Coord2) {
  return {std::min(Coord1.X, Coord2.X), std::min(Coord1.Y, Coord2.Y), std::max(Coord1.X, Coord2.X),
          std::max(Coord1.Y, Coord2.Y)};
}

Boolean PointInGridRect(Integer Col, Integer Row, const TGridRect& Rect) {
  return Col >= Rect.Left && Col <= Rect.Right && Row >= Rect.Top && Row <= Rect.Bottom;
}

void TGridExtents::Modify(Integer Index, Integer Amount, Integer Default) {
  if (Amount == 0) return;
  const Integer OldSize = Count();
  if (Index < 0 || Index > OldSize) InvalidOp(GridIndexErrorText);
  const Int64 NewSize = static_cast<Int64>(OldSize) + Amount;
  if (NewSize < 0) InvalidOp(GridTooManyDeletedText);
  if (NewSize > MaxCount) InvalidOp(GridTooLargeText);
  FValues.resize(static_cast<size_t>(NewSize));
  FExists = NewSize > 0;
  for (Integer I = Index; I < NewSize; ++I) FValues[static_cast<size_t>(I)] = Default;
}

void TGridExtents::Move(Integer FromCell, Integer ToCell) {
  if (!FExists) return;
  const Integer N = Count();
  if (FromCell < 0 || FromCell >= N || ToCell < 0 || ToCell >= N) InvalidOp(GridIndexErrorText);
  const Integer Value = FValues[static_cast<size_t>(FromCell)];
  FValues.erase(FValues.begin() + FromCell);
  FValues.insert(FValues.begin() + ToCell, Value);
}

TspSkinCustomGrid::TspSkinCustomGrid(TComponent* AOwner) : TspSkinControl(AOwner) {
  FWallpaper = CreateOwned<TBitmap>();
  ControlStyle = TControlStyle{csCaptureMouse, csOpaque, csDoubleClicks};
  SetColor(clWindow);
  SetParentColor(false);
  SetTabStop(true);
  SetBounds(Left(), Top(), FColCount * FDefaultColWidth, FRowCount * FDefaultRowHeight);
  InitializeCurrent();
  FSkinDataName = "grid";
}

TspSkinCustomGrid::~TspSkinCustomGrid() {
  // The bars belong to someone else: they only lose their link to the grid.
  DetachScrollBar(FHScrollBar);
  DetachScrollBar(FVScrollBar);
  // The editor goes first, while the grid it reports to is still whole.
  delete std::exchange(FInplaceEdit, nullptr);
}

void TspSkinCustomGrid::CreateParams(TCreateParams& Params) {
  TspSkinControl::CreateParams(Params);
  Params.Style = (Params.Style | WS_TABSTOP) & ~(WS_HSCROLL | WS_VSCROLL);
  Params.WindowClass.style |= CS_DBLCLKS;
}

void TspSkinCustomGrid::SetTransparent(Boolean Value) {
  if (FTransparent == Value) return;
  FTransparent = Value;
  Invalidate();
}

void TspSkinCustomGrid::SetGridLineColor(TColor Value) {
  FGridLineColor = Value;
  if (FIndex < 0) Repaint();
}

void TspSkinCustomGrid::SetBorderStyle(TFormBorderStyle Value) {
  if (FBorderStyle == Value) return;
  FBorderStyle = Value;
  RecreateWnd();
}

void TspSkinCustomGrid::SetFixedColor(TColor Value) {
  if (FFixedColor == Value) return;
  FFixedColor = Value;
  InvalidateGrid();
}

void TspSkinCustomGrid::SetGridLineWidth(Integer Value) {
  if (FGridLineWidth == Value) return;
  FGridLineWidth = Value;
  InvalidateGrid();
}

void TspSkinCustomGrid::SetFixedCols(Integer Value) {
  if (FFixedCols == Value) return;
  if (Value < 0) InvalidOp(GridIndexErrorText);
  if (Value >= FColCount) InvalidOp(GridFixedColsText);
  FFixedCols = Value;
  InitializeCurrent();
  InvalidateGrid();
}

void TspSkinCustomGrid::SetFixedRows(Integer Value) {
  if (FFixedRows == Value) return;
  if (Value < 0) InvalidOp(GridIndexErrorText);
  if (Value >= FRowCount) InvalidOp(GridFixedRowsText);
  FFixedRows = Value;
  InitializeCurrent();
  InvalidateGrid();
}

void TspSkinCustomGrid::SetColCount(Integer Value) {
  if (FColCount == Value) return;
  if (Value < 1) Value = 1;
  if (FFixedCols >= Value) SetFixedCols(Value - 1);
  ChangeSize(Value, FRowCount);
  if (FOptions.Contains(goRowSelect)) {
    FAnchor.X = FColCount - 1;
    Invalidate();
  }
}

void TspSkinCustomGrid::SetRowCount(Integer Value) {
  if (FRowCount == Value) return;
  if (Value < 1) Value = 1;
  if (FFixedRows >= Value) SetFixedRows(Value - 1);
  ChangeSize(FColCount, Value);
}

void TspSkinCustomGrid::ChangeSize(Integer NewColCount, Integer NewRowCount) {
  TGridLayout OldLayout;
  if (HandleAllocated()) CalcLayout(OldLayout);
  const Integer OldColCount = FColCount;
  const Integer OldRowCount = FRowCount;
  FColCount = NewColCount;
  FRowCount = NewRowCount;
  if (NewColCount < FFixedCols) FFixedCols = NewColCount - 1;
  if (NewRowCount < FFixedRows) FFixedRows = NewRowCount - 1;
  auto Apply = [&] {
    if (FColWidths.Exists()) {
      FColWidths.Update(FColCount, FDefaultColWidth);
      FTabStops.Update(FColCount, 1);
    }
    if (FRowHeights.Exists()) FRowHeights.Update(FRowCount, FDefaultRowHeight);
    TGridCoord C = FCurrent;
    if (C.X >= FColCount) C.X = FColCount - 1;
    if (C.Y >= FRowCount) C.Y = FRowCount - 1;
    if (!(C == FCurrent)) MoveCurrent(C.X, C.Y, true, true);
    if (!(FAnchor == C)) MoveAnchor(C);
    if (VirtualView || (HandleAllocated() && (FTopLeft.X != OldLayout.Horz.FirstGridCell ||
                                              FTopLeft.Y != OldLayout.Vert.FirstGridCell)))
      InvalidateGrid();
    else if (HandleAllocated()) {
      TGridLayout NewLayout;
      CalcLayout(NewLayout);
      const Integer FirstCol =
          std::min(OldLayout.Horz.LastFullVisibleCell, NewLayout.Horz.LastFullVisibleCell);
      TRect R = CellRect(FirstCol, 0);
      R.Right = Width();
      R.Bottom = Height();
      InvalidateRect(Handle(), &R, false);
      const Integer FirstRow =
          std::min(OldLayout.Vert.LastFullVisibleCell, NewLayout.Vert.LastFullVisibleCell);
      R = CellRect(0, FirstRow);
      R.Right = Width();
      R.Bottom = Height();
      InvalidateRect(Handle(), &R, false);
    }
    UpdateScrollRange(true);
    SizeChanged(OldColCount, OldRowCount);
  };
  try {
    Apply();
  } catch (...) {
    FColCount = OldColCount;
    FRowCount = OldRowCount;
    Apply();
    InvalidateGrid();
    throw;
  }
}

Integer TspSkinCustomGrid::GetColWidths(Integer Index) const {
  if (!FColWidths.Exists() || Index < 0 || Index >= FColCount) return FDefaultColWidth;
  return FColWidths[Index];
}

Integer TspSkinCustomGrid::GetRowHeights(Integer Index) const {
  if (!FRowHeights.Exists() || Index < 0 || Index >= FRowCount) return FDefaultRowHeight;
  return FRowHeights[Index];
}

Boolean TspSkinCustomGrid::GetTabStops(Integer Index) const {
  if (!FTabStops.Exists() || Index < 0 || Index >= FTabStops.Count()) return true;
  return FTabStops[Index] != 0;
}

void TspSkinCustomGrid::SetColWidths(Integer Index, Integer Value) {
  if (!FColWidths.Exists()) FColWidths.Update(FColCount, FDefaultColWidth);
  if (Index < 0 || Index >= FColCount) InvalidOp(GridIndexErrorText);
  if (Value == FColWidths[Index]) return;
  InvalidateGrid();
  FColWidths[Index] = Value;
  ColWidthsChanged();
}

void TspSkinCustomGrid::SetRowHeights(Integer Index, Integer Value) {
  if (!FRowHeights.Exists()) FRowHeights.Update(FRowCount, FDefaultRowHeight);
  if (Index < 0 || Index >= FRowCount) InvalidOp(GridIndexErrorText);
  if (Value == FRowHeights[Index]) return;
  InvalidateGrid();
  FRowHeights[Index] = Value;
  RowHeightsChanged();
}

void TspSkinCustomGrid::SetDefaultColWidth(Integer Value) {
  FColWidths.Update(0, 0);
  FDefaultColWidth = Value;
  ColWidthsChanged();
  InvalidateGrid();
}

void TspSkinCustomGrid::SetDefaultRowHeight(Integer Value) {
  FRowHeights.Update(0, 0);
  FDefaultRowHeight = Value;
  RowHeightsChanged();
  InvalidateGrid();
}

void TspSkinCustomGrid::InitializeCurrent() {
  FTopLeft = {FFixedCols, FFixedRows};
  FCurrent = FTopLeft;
  FAnchor = FCurrent;
  if (FOptions.Contains(goRowSelect)) FAnchor.X = FColCount - 1;
}

void TspSkinCustomGrid::SetOptions(TGridOptions Value) {
  if (FOptions == Value) return;
  if (Value.Contains(goRowSelect)) Value.Exclude(goAlwaysShowEditor);
  FOptions = Value;
  if (!FEditorMode) {
    if (Value.Contains(goAlwaysShowEditor))
      ShowEditor();
    else
      HideEditor();
  }
  if (Value.Contains(goRowSelect)) MoveCurrent(Col(), Row(), true, false);
  InvalidateGrid();
}

void TspSkinCustomGrid::SetCol(Integer Value) {
  if (Value != FCurrent.X) FocusCell(Value, FCurrent.Y, true);
}

void TspSkinCustomGrid::SetRow(Integer Value) {
  if (Value != FCurrent.Y) FocusCell(FCurrent.X, Value, true);
}

// Values below the fixed count would put fixed cells into the scrolled part.
void TspSkinCustomGrid::SetLeftCol(Integer Value) { MoveTopLeft(std::max(Value, FFixedCols), FTopLeft.Y); }

void TspSkinCustomGrid::SetTopRow(Integer Value) { MoveTopLeft(FTopLeft.X, std::max(Value, FFixedRows)); }

TGridRect TspSkinCustomGrid::Selection() const { return GridRect(FCurrent, FAnchor); }

void TspSkinCustomGrid::SetSelection(const TGridRect& Value) {
  const TGridRect OldSel = Selection();
  FAnchor = Value.TopLeft();
  FCurrent = Value.BottomRight();
  SelectionMoved(OldSel);
}

void TspSkinCustomGrid::MoveCurrent(Integer ACol, Integer ARow, Boolean MoveAnchor, Boolean Show) {
  if (ACol < 0 || ARow < 0 || ACol >= FColCount || ARow >= FRowCount) InvalidOp(GridIndexErrorText);
  if (!SelectCell(ACol, ARow)) return;
  const TGridRect OldSel = Selection();
  const TGridCoord OldCurrent = FCurrent;
  FCurrent = {ACol, ARow};
  if (!FOptions.Contains(goAlwaysShowEditor)) HideEditor();
  if (MoveAnchor || !FOptions.Contains(goRangeSelect)) {
    FAnchor = FCurrent;
    if (FOptions.Contains(goRowSelect)) FAnchor.X = FColCount - 1;
  }
  if (FOptions.Contains(goRowSelect)) FCurrent.X = FFixedCols;
  if (Show) ScrollIntoView(FCurrent);
  SelectionMoved(OldSel);
  InvalidateCell(OldCurrent.X, OldCurrent.Y);
  InvalidateCell(ACol, ARow);
}

void TspSkinCustomGrid::MoveAnchor(TGridCoord NewAnchor) {
  if (FOptions.Contains(goRangeSelect) && !FOptions.Contains(goEditing)) {
    const TGridRect OldSel = Selection();
    FAnchor = NewAnchor;
    if (FOptions.Contains(goRowSelect)) FAnchor.X = FColCount - 1;
    ScrollIntoView(NewAnchor);
    SelectionMoved(OldSel);
  } else
    MoveCurrent(NewAnchor.X, NewAnchor.Y, true, true);
}

void TspSkinCustomGrid::FocusCell(Integer ACol, Integer ARow, Boolean MoveAnchor) {
  MoveCurrent(ACol, ARow, MoveAnchor, true);
  UpdateEdit();
  Click();
}

void TspSkinCustomGrid::SelectionMoved(const TGridRect& OldSel) {
  if (!HandleAllocated()) return;
  TRect OldRect, NewRect;
  GridRectToClientRect(OldSel, OldRect, true);
  GridRectToClientRect(Selection(), NewRect, true);
  TRect Parts[4];
  XorRects(OldRect, NewRect, Parts);
  for (const TRect& R : Parts) InvalidateRect(Handle(), &R, false);
}

void TspSkinCustomGrid::ScrollIntoView(TGridCoord Coord) {
  if (!HandleAllocated()) return;
  TGridLayout L;
  CalcLayout(L);
  if (Coord.X >= FTopLeft.X && Coord.Y >= FTopLeft.Y && Coord.X <= L.Horz.LastFullVisibleCell &&
      Coord.Y <= L.Vert.LastFullVisibleCell)
    return;
  const TGridCoord OldTopLeft = FTopLeft;
  const TGridCoord M = CalcMaxTopLeft(Coord, L);
  Update();
  if (Coord.X < FTopLeft.X)
    FTopLeft.X = Coord.X;
  else if (Coord.X > L.Horz.LastFullVisibleCell)
    FTopLeft.X = M.X;
  if (Coord.Y < FTopLeft.Y)
    FTopLeft.Y = Coord.Y;
  else if (Coord.Y > L.Vert.LastFullVisibleCell)
    FTopLeft.Y = M.Y;
  TopLeftMoved(OldTopLeft);
}

void TspSkinCustomGrid::MoveColumn(Integer FromIndex, Integer ToIndex) {
  if (FromIndex == ToIndex) return;
  if (FromIndex < 0 || FromIndex >= FColCount || ToIndex < 0 || ToIndex >= FColCount)
    InvalidOp(GridIndexErrorText);
  if (FColWidths.Exists()) {
    FColWidths.Move(FromIndex, ToIndex);
    FTabStops.Move(FromIndex, ToIndex);
  }
  GridMoveAdjust(FCurrent.X, FromIndex, ToIndex);
  GridMoveAdjust(FAnchor.X, FromIndex, ToIndex);
  GridMoveAdjust(FInplaceCol, FromIndex, ToIndex);
  InvalidateGridRect({std::min(FromIndex, ToIndex), 0, std::max(FromIndex, ToIndex), VisibleRowCount()});
  ColumnMoved(FromIndex, ToIndex);
  if (FColWidths.Exists()) ColWidthsChanged();
  UpdateEdit();
}

void TspSkinCustomGrid::MoveRow(Integer FromIndex, Integer ToIndex) {
  if (FromIndex < 0 || FromIndex >= FRowCount || ToIndex < 0 || ToIndex >= FRowCount)
    InvalidOp(GridIndexErrorText);
  if (FRowHeights.Exists()) FRowHeights.Move(FromIndex, ToIndex);
  GridMoveAdjust(FCurrent.Y, FromIndex, ToIndex);
  GridMoveAdjust(FAnchor.Y, FromIndex, ToIndex);
  GridMoveAdjust(FInplaceRow, FromIndex, ToIndex);
  RowMoved(FromIndex, ToIndex);
  if (FRowHeights.Exists()) RowHeightsChanged();
  UpdateEdit();
}

void TspSkinCustomGrid::DeleteColumn(Integer ACol) {
  MoveColumn(ACol, FColCount - 1);
  SetColCount(FColCount - 1);
}

void TspSkinCustomGrid::DeleteRow(Integer ARow) {
  MoveRow(ARow, FRowCount - 1);
  SetRowCount(FRowCount - 1);
}

void TspSkinCustomGrid::InsertDeleteCells(Integer Index, Integer Amount, Boolean Rows) {
  if (Amount == 0) return;
  TGridCoord NewCurrent = FCurrent;
  const Integer OldColCount = FColCount;
  const Integer OldRowCount = FRowCount;
  Integer& Count = Rows ? FRowCount : FColCount;
  TGridExtents& Extents = Rows ? FRowHeights : FColWidths;
  const Integer NewCount = CheckedAdd(Count, Amount);
  if (NewCount < Index) InvalidOp(GridTooManyDeletedText);
  if (Extents.Exists()) Extents.Modify(Index, Amount, Rows ? FDefaultRowHeight : FDefaultColWidth);
  Count = NewCount;
  Integer& Pos = Rows ? NewCurrent.Y : NewCurrent.X;
  if (Pos >= Index) {
    if (Amount < 0 && Pos < Index - Amount)
      Pos = Index;
    else
      Pos += Amount;
  }
  InvalidateGrid();
  SizeChanged(OldColCount, OldRowCount);
  if (!(NewCurrent == FCurrent)) MoveCurrent(NewCurrent.X, NewCurrent.Y, true, true);
}

Boolean TspSkinCustomGrid::SelectCell(Integer, Integer) { return true; }
void TspSkinCustomGrid::ColumnMoved(Integer, Integer) {}
void TspSkinCustomGrid::RowMoved(Integer, Integer) {}
void TspSkinCustomGrid::SizeChanged(Integer, Integer) {}

void TspSkinCustomGrid::ColWidthsChanged() {
  UpdateScrollRange(true);
  UpdateEdit();
}

void TspSkinCustomGrid::RowHeightsChanged() {
  UpdateScrollRange(true);
  UpdateEdit();
}

Boolean TspSkinCustomGrid::CanEditAcceptKey(char32_t) { return true; }
Boolean TspSkinCustomGrid::CanGridAcceptKey(Word, TShiftState) { return true; }
Boolean TspSkinCustomGrid::CanEditModify() { return FCanEditModify; }
String TspSkinCustomGrid::GetEditText(Integer, Integer) { return String(); }
void TspSkinCustomGrid::SetEditText(Integer, Integer, const String&) {}
String TspSkinCustomGrid::GetEditMask(Integer, Integer) { return String(); }
Integer TspSkinCustomGrid::GetEditLimit() { return 0; }

void TspSkinCustomGrid::InvalidateEditor() {
  FInplaceCol = -1;
  FInplaceRow = -1;
  UpdateEdit();
}
