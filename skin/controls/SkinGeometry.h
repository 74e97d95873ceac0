// The geometry a resizable skinned control copies from its descriptor, and the arithmetic
// that moves it to the control's size and composes the image. Windowed and windowless
// skinned controls both carry it.
#pragma once

#include "platform/ui/Controls.h"
#include "platform/ui/Graphics.h"
#include "skin/core/data/SkinData.h"

class TspSkinGeometry {
 public:
  // The resize mode of the current geometry: -1 no image, 1 nine pieces, 2 width only,
  // 3 height only, 0 fixed size.
  Integer CalcResizeMode() const;

 protected:
  // Copies the geometry of D; WithStretchType also takes its client stretch kind.
  void CopyGeometryFrom(const TspDataSkinCustomControl& D, Boolean WithStretchType);
  // Fits a requested size by resize mode and moves the New* geometry (Skinned: the
  // control has a descriptor).
  void FitGeometry(Boolean Skinned, Integer& AWidth, Integer& AHeight);
  // R in skin-rectangle coordinates mapped to a control of AW x AH.
  void MapRect(const TRect& R, TRect& NewR, Integer AW, Integer AH) const;
  // Rectangle R of SkinPicture composed into B at AW x AH; DrawNine false skips the
  // nine-piece composition.
  void ComposeImage(TBitmap* B, TBitmap* SkinPicture, const TRect& R, Integer AW, Integer AH,
                    Boolean DrawNine) const;
  // Rectangle R of SkinPicture composed as one part of AW x AH: stretched around the
  // corners of ClRect (Stretch), else in nine pieces whose right and bottom points move by
  // the size difference to the skin rectangle.
  void ComposePart(TBitmap* B, TBitmap* SkinPicture, const TRect& R, Integer AW, Integer AH,
                   Boolean Stretch) const;

  TPoint LTPt, RTPt, LBPt, RBPt;
  TRect SkinRect;
  TRect ClRect;
  TPoint NewLTPoint, NewRTPoint, NewLBPoint, NewRBPoint;
  TRect NewClRect;
  TBitmap* Picture = nullptr;
  Integer ResizeMode = 0;
  Boolean StretchEffect = false;
  Boolean LeftStretch = false, TopStretch = false, RightStretch = false, BottomStretch = false;
  TspStretchType StretchType = spstFull;
};

// Picture number Index of the skin's active pictures; nil when there is none.
TBitmap* SkinActivePicture(TspSkinData* SD, Integer Index);
// Draws Image on Target over what lies behind Control, each channel
// Value / 255 of the image and the rest of the background, rounded.
void DrawBlendedOverBackground(TControl* Control, TBitmap* Image, Byte Value, TCanvas* Target);
// An off-screen 24-bit picture of W x H for composing a control's image.
TOwned<TBitmap> CreateControlImage(Integer W, Integer H);
// Cross-fades Image toward Active (same size) by Kf, 0 leaving Image as it is and 1
// giving Active, with the transition Kind names; the result is left in Image.
void MorphBitmaps(TBitmap* Image, TBitmap* Active, TMorphKind Kind, Double Kf);
