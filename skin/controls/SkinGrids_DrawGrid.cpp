// The owner-drawn grid: each hook of the engine raised as an event.
#include "skin/controls/SkinGrids.h"

void TspSkinDrawGrid::MouseToCell(Integer X, Integer Y, Integer& ACol, Integer& ARow) {
  const TGridCoord C = MouseCoord(X, Y);
  ACol = C.X;
  ARow = C.Y;
}

void TspSkinDrawGrid::DrawCell(Integer ACol, Integer ARow, TRect ARect, TGridDrawState AState) {
  if (OnDrawCell) OnDrawCell(this, ACol, ARow, ARect, AState);
}

Boolean TspSkinDrawGrid::SelectCell(Integer ACol, Integer ARow) {
  Boolean CanSelect = true;
  if (OnSelectCell) OnSelectCell(this, ACol, ARow, CanSelect);
  return CanSelect;
}

String TspSkinDrawGrid::GetEditMask(Integer ACol, Integer ARow) {
  String Value;
  if (OnGetEditMask) OnGetEditMask(this, ACol, ARow, Value);
  return Value;
}

String TspSkinDrawGrid::GetEditText(Integer ACol, Integer ARow) {
  String Value;
  if (OnGetEditText) OnGetEditText(this, ACol, ARow, Value);
  return Value;
}

void TspSkinDrawGrid::SetEditText(Integer ACol, Integer ARow, const String& Value) {
  if (OnSetEditText) OnSetEditText(this, ACol, ARow, Value);
}

void TspSkinDrawGrid::ColumnMoved(Integer FromIndex, Integer ToIndex) {
  if (OnColumnMoved) OnColumnMoved(this, FromIndex, ToIndex);
}

void TspSkinDrawGrid::RowMoved(Integer FromIndex, Integer ToIndex) {
  if (OnRowMoved) OnRowMoved(this, FromIndex, ToIndex);
}

void TspSkinDrawGrid::TopLeftChanged() {
  TspSkinCustomGrid::TopLeftChanged();
  if (OnTopLeftChanged) OnTopLeftChanged(this);
}
