// Moving the grid's top-left cell. The external scroll bars are not attached yet: the
// range and position updates have no bar to drive.
#include "skin/controls/SkinGrids.h"

void TspSkinCustomGrid::MoveTopLeft(Integer ALeft, Integer ATop) {
  if (ALeft == FTopLeft.X && ATop == FTopLeft.Y) return;
  Update();
  const TGridCoord OldTopLeft = FTopLeft;
  FTopLeft = {ALeft, ATop};
  TopLeftMoved(OldTopLeft);
}

void TspSkinCustomGrid::TopLeftMoved(TGridCoord OldTopLeft) {
  if (OldTopLeft == FTopLeft) return;
  UpdateScrollPos(true);
  InvalidateGrid();
  TopLeftChanged();
}

void TspSkinCustomGrid::UpdateScrollPos(Boolean) {}
void TspSkinCustomGrid::UpdateScrollRange(Boolean) {}
