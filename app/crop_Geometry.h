// The crop selection's geometry as plain numbers: where the source picture lies in the
// source preview, the mappings between source and preview pixels, the eight handles and
// the four lines of the selection, the rules of a handle drag, and the zoom that makes
// the selected area fill the output preview.
#pragma once

#include <array>

#include "platform/rtl/Types.h"

namespace vantrel::app {

// The handles by their drag code.
enum TCropHandle {
  chLeftTop, chRightBottom, chLeftBottom, chRightTop,
  chTopMiddle, chBottomMiddle, chLeftMiddle, chRightMiddle
};
constexpr Integer CropHandleCount = 8;
// Half a handle: a handle's reference point is its left + 4, top + 4.
constexpr Integer CropHandleHalf = 4;
// The least distance between the lefts (tops) of opposite handles.
constexpr Integer CropHandleGap = 8;

// The lines of the selection in their order.
enum TCropLine { clLeft, clRight, clTop, clBottom };

// A control's place: left, top, width, height.
struct TCropBox {
  Integer Left = 0, Top = 0, Width = 0, Height = 0;
  friend bool operator==(const TCropBox&, const TCropBox&) = default;
};

// The crop rectangle in source pixels, as the four edits hold it.
struct TCropEdits {
  Integer Left = 0, Top = 0, Width = 0, Height = 0;
  friend bool operator==(const TCropEdits&, const TCropEdits&) = default;
};

// The source picture in the preview: scale and offsets.
struct TPicturePlacement {
  double S = 0;
  double OX = 0;
  double OY = 0;
  bool HeightFit = false;
  // Source to preview.
  double ToPreviewX(double X) const { return X * S + OX; }
  double ToPreviewY(double Y) const { return Y * S + OY; }
  // Preview to source, rounded halves to even.
  Integer ToSourceX(double PX) const;
  Integer ToSourceY(double PY) const;
};

// The handles' lefts and tops (by TCropHandle) and the lines' boxes (by TCropLine).
struct TCropSelection {
  std::array<TPoint, CropHandleCount> Handles{};
  std::array<TCropBox, 4> Lines{};
};

// Rounds halves to even into an Integer; a value that is not finite or leaves the
// Integer range raises (EInvalidOp, EIntOverflow).
Integer RoundToInt(double Value);

// A W x H picture shown in its own proportions in a PW x PH window.
TPicturePlacement PlacePicture(Integer W, Integer H, Integer PW, Integer PH);
// Where that picture lies: left, top, right, bottom.
TRect PictureBounds(const TPicturePlacement& P, Integer W, Integer H);

// The selection of the edits: the corners from the edits, the rest completed.
TCropSelection SelectionFromEdits(const TPicturePlacement& P, const TCropEdits& E);
// Places the middles and the lines from the four corners.
void CompleteSelection(TCropSelection& Sel);
// The edits of the selection (before the edits clamp them to their range).
TCropEdits EditsFromSelection(const TPicturePlacement& P, const TCropSelection& Sel);

// The least width and height of a crop, in source pixels.
constexpr Integer CropMinSize = 2;
// The crop E kept inside a W x H picture: each corner within 0..W and 0..H, the width and
// height at least CropMinSize (a crop too small grows right and down, or left and up at
// the picture's edge).
TCropEdits ClampCropEdits(const TCropEdits& E, Integer W, Integer H);

// Whether a drag may move the handle to Candidate (left, top; a middle handle uses only
// the coordinate it moves): every condition of the handle must hold.
bool CropHandleMoveAllowed(const TCropSelection& Sel, TCropHandle Handle, TPoint Candidate);
// Moves the handle to Candidate and completes the drag: the picture bounds, the least
// gap to the opposite handles (which wins), the handles sharing its edges, the middles
// and the lines. The move must be allowed.
void DragCropHandle(TCropSelection& Sel, TCropHandle Handle, TPoint Candidate, const TRect& Bounds);

// The output preview's zoom: the clipping panel's place inside its outer panel and the
// drawing window's place inside the clipping panel.
struct TPreviewZoom {
  TCropBox Clip;     // the clipping panel (Panel2)
  TCropBox Picture;  // the drawing window (panPreview2)
};
// The largest side of the output preview's drawing window: the player draws the whole
// picture at that size, so a selection too small to fill the box at it shows some of
// what lies around it.
constexpr Integer CropZoomMaxSide = 4096;
// A W x H source, a PW x PH preview window inside an OuterW x OuterH outer panel, the
// output aspect ratio A (0: the source's own, -1: fill the window, else width / height)
// and the selected area E. Raises when a position or size is not a finite Integer.
TPreviewZoom PreviewZoom(Integer W, Integer H, Integer PW, Integer PH, Integer OuterW,
                         Integer OuterH, double A, const TCropEdits& E);

}  // namespace vantrel::app
