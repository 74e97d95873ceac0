// Magnetic snapping: a moved window jumps flush to an edge of its work area when it comes
// within MagneticSize pixels of it, and stays there until the cursor has gone more than
// that far from where it snapped.
#include "skin/forms/FormSkin.h"
#include "skin/forms/FormSkinLayerBorder.h"

#include <cstdlib>

#include "platform/win/Input.h"

namespace {

// One edge of one axis: Pos is the proposed coordinate, Flush the one that puts the edge
// on the work area's edge, Cursor and Anchor the cursor and the cursor at snapping time.
void FormSkinSnapEdge(Integer& Pos, Integer Flush, Boolean Near, Boolean& Snapped, Integer Cursor, Integer& Anchor,
                      Integer M) {
  if (Near && !Snapped) {
    Pos = Flush;
    Anchor = Cursor;
  } else if (Snapped) {
    Pos = std::abs(Cursor - Anchor) > M ? Flush + Cursor - Anchor : Flush;
  }
  Snapped = Near;
}

Boolean FormSkinNear(Integer Edge, Integer Pos, Integer M) { return Edge - M < Pos && Pos < Edge + M; }

}  // namespace

void TspFormSkin::MagneticMove(Integer& ALeft, Integer& ATop, Integer AWidth, Integer AHeight) {
  if (!FMagnetic) return;
  const Integer M = FMagneticSize;
  TRect R{};
  if (IsMDIChildForm()) {
    TForm* Main = Application ? Application->MainForm() : nullptr;
    if (!Main) return;
    GetMDIWorkArea(R);
    const TPoint Origin = Main->ClientToScreen(Point(0, 0));
    OffsetRect(&R, Origin.X, Origin.Y);
  } else {
    GetMonitorArea(FForm->HandleAllocated() ? FForm->Handle() : nullptr, true, R);
  }
  // A visible layered border with a sensitive band snaps by its outer edge.
  const TspDataSkinLayerFrame* LF = FBorderLayer->Data();
  const Boolean Outer = FBorderLayer->Visible() && LF && !IsRectEmpty(&LF->BorderRect) && UseLayeredBorder();
  const Integer LS = FBorderLayer->LeftSize, TS = FBorderLayer->TopSize;
  if (Outer) {
    ALeft -= LS;
    ATop -= TS;
    AWidth = LS + AWidth + FBorderLayer->RightSize;
    AHeight = TS + AHeight + FBorderLayer->BottomSize;
  }
  TPoint Cursor{};
  GetCursorPos(&Cursor);
  const Boolean NearLeft = FormSkinNear(R.Left, ALeft, M);
  const Boolean NearTop = FormSkinNear(R.Top, ATop, M);
  FormSkinSnapEdge(ALeft, R.Left, NearLeft, HMagnetized, Cursor.X, FOnMouseDownCoord.X, M);
  FormSkinSnapEdge(ATop, R.Top, NearTop, VMagnetized, Cursor.Y, FOnMouseDownCoord.Y, M);
  const Boolean NearRight = FormSkinNear(R.Right, ALeft + AWidth, M);
  const Boolean NearBottom = FormSkinNear(R.Bottom, ATop + AHeight, M);
  if (Outer) {
    if (NearBottom) AHeight -= TS;
    if (NearRight) AWidth -= LS;
  }
  FormSkinSnapEdge(ALeft, R.Right - AWidth, NearRight, HMagnetized2, Cursor.X, FOnMouseDownCoord.X, M);
  FormSkinSnapEdge(ATop, R.Bottom - AHeight, NearBottom, VMagnetized2, Cursor.Y, FOnMouseDownCoord.Y, M);
  if (Outer) {
    if (!NearRight) ALeft += LS;
    if (!NearBottom) ATop += TS;
  }
}
