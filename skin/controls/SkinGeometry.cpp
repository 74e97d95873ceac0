// Geometry arithmetic of the resizable skinned controls: resize mode, size fitting,
// rectangle mapping and image composition.
#include "skin/controls/SkinGeometry.h"
#include "skin/core/bitmaps/spEffBmp.h"
#include "skin/core/bitmaps/spEffBmp_EffectKinds.h"
#include "skin/core/drawing/SPUtils.h"

namespace {

TRect MovedRectForGeometry(TRect R, Integer DX, Integer DY) {
  return Rect(R.Left + DX, R.Top + DY, R.Right + DX, R.Bottom + DY);
}

// R lies in Zone: both its corners on or inside the zone's edges. R's right and bottom are
// just past its last pixel, so a rectangle flush with a zone's right or bottom edge (the
// skin's outer edge, or where the corner meets the middle) still lies in that zone.
bool InZoneForGeometry(const TRect& Zone, const TRect& R) {
  return IsPointInRect(Zone, Point(R.Left, R.Top)) && IsPointInRect(Zone, Point(R.Right, R.Bottom));
}

// A point in a zone with all four edges included.
bool OnZoneForGeometry(const TRect& Zone, TPoint P) {
  return P.X >= Zone.Left && P.X <= Zone.Right && P.Y >= Zone.Top && P.Y <= Zone.Bottom;
}

}  // namespace

TBitmap* SkinActivePicture(TspSkinData* SD, Integer Index) {
  if (!SD || Index < 0 || Index >= SD->FActivePictures.Count()) return nullptr;
  return SD->FActivePictures.Items(Index);
}

void DrawBlendedOverBackground(TControl* Control, TBitmap* Image, Byte Value, TCanvas* Target) {
  auto Back = CreateOwned<TBitmap>();
  Back->SetPixelFormat(pf24bit);
  Back->SetSize(Image->Width(), Image->Height());
  CopyParentImage(Control, Back->Canvas());
  auto Ef = CreateOwned<TspEffectBmp>(Image->Handle());
  auto BackEf = CreateOwned<TspEffectBmp>(Back->Handle());
  Ef->Morph(BackEf.get(), 1.0 - static_cast<Double>(Value) / 255.0);
  Ef->Draw(Target->Handle(), 0, 0);
}

TOwned<TBitmap> CreateControlImage(Integer W, Integer H) {
  auto B = CreateOwned<TBitmap>();
  B->SetPixelFormat(pf24bit);
  B->SetSize(W, H);
  return B;
}

void MorphBitmaps(TBitmap* Image, TBitmap* Active, TMorphKind Kind, Double Kf) {
  auto Ef = CreateOwned<TspEffectBmp>(Image->Handle());
  auto ActiveEf = CreateOwned<TspEffectBmp>(Active->Handle());
  vantrel::skin::MorphByKind(Ef.get(), ActiveEf.get(), Kind, Kf);
  Ef->Draw(Image->Canvas()->Handle(), 0, 0);
}

void TspSkinGeometry::CopyGeometryFrom(const TspDataSkinCustomControl& D, Boolean WithStretchType) {
  LTPt = D.LTPoint;
  RTPt = D.RTPoint;
  LBPt = D.LBPoint;
  RBPt = D.RBPoint;
  SkinRect = D.SkinRect;
  ClRect = D.ClRect;
  StretchEffect = D.StretchEffect;
  LeftStretch = D.LeftStretch;
  TopStretch = D.TopStretch;
  RightStretch = D.RightStretch;
  BottomStretch = D.BottomStretch;
  if (WithStretchType) StretchType = D.StretchType;
}

Integer TspSkinGeometry::CalcResizeMode() const {
  if (RectWidth(SkinRect) <= 0 || RectHeight(SkinRect) <= 0) return -1;
  if (RBPt.X != 0 && RBPt.Y != 0) return 1;
  if (RTPt.X != 0 || RTPt.Y != 0) return 2;
  if (LBPt.X != 0 || LBPt.Y != 0) return 3;
  return 0;
}

void TspSkinGeometry::FitGeometry(Boolean Skinned, Integer& AWidth, Integer& AHeight) {
  const Integer DW = AWidth - RectWidth(SkinRect);
  const Integer DH = AHeight - RectHeight(SkinRect);
  if (ResizeMode > 0) {
    NewLTPoint = LTPt;
    switch (ResizeMode) {
      case 1:
        NewRTPoint = Point(RTPt.X + DW, RTPt.Y);
        NewLBPoint = Point(LBPt.X, LBPt.Y + DH);
        NewRBPoint = Point(RBPt.X + DW, RBPt.Y + DH);
        NewClRect = Rect(ClRect.Left, ClRect.Top, ClRect.Right + DW, ClRect.Bottom + DH);
        break;
      case 2:
        AHeight = RectHeight(SkinRect);
        NewRTPoint = Point(RTPt.X + DW, RTPt.Y);
        NewClRect = Rect(ClRect.Left, ClRect.Top, ClRect.Right + DW, ClRect.Bottom);
        break;
      case 3:
        AWidth = RectWidth(SkinRect);
        NewLBPoint = Point(LBPt.X, LBPt.Y + DH);
        NewClRect = Rect(ClRect.Left, ClRect.Top, ClRect.Right, ClRect.Bottom + DH);
        break;
      default:
        break;
    }
  } else if (ResizeMode == 0 && Skinned) {
    AWidth = RectWidth(SkinRect);
    AHeight = RectHeight(SkinRect);
    NewClRect = ClRect;
  }
}

void TspSkinGeometry::MapRect(const TRect& R, TRect& NewR, Integer AW, Integer AH) const {
  const Integer SW = RectWidth(SkinRect), SH = RectHeight(SkinRect);
  const Integer DW = AW - SW, DH = AH - SH;
  NewR = R;
  if (ResizeMode == 1) {
    const TRect LT = Rect(0, 0, LTPt.X, LTPt.Y);
    const TRect RT = Rect(RTPt.X, 0, SW, RTPt.Y);
    const TRect LB = Rect(0, LBPt.Y, LBPt.X, SH);
    const TRect RB = Rect(RBPt.X, RBPt.Y, SW, SH);
    const TPoint TL = Point(R.Left, R.Top), BR = Point(R.Right, R.Bottom);
    if (InZoneForGeometry(LT, R)) return;
    if (InZoneForGeometry(RT, R)) {
      NewR = MovedRectForGeometry(R, DW, 0);
    } else if (InZoneForGeometry(LB, R)) {
      NewR = MovedRectForGeometry(R, 0, DH);
    } else if (InZoneForGeometry(RB, R)) {
      NewR = MovedRectForGeometry(R, DW, DH);
    } else if (OnZoneForGeometry(LT, TL) && OnZoneForGeometry(RB, BR)) {
      NewR.Right += DW;
      NewR.Bottom += DH;
    } else if (OnZoneForGeometry(LT, TL) && OnZoneForGeometry(RT, BR)) {
      NewR.Right += DW;
    } else if (OnZoneForGeometry(LB, TL) && OnZoneForGeometry(RB, BR)) {
      NewR.Right += DW;
      NewR = MovedRectForGeometry(NewR, 0, DH);
    } else if (OnZoneForGeometry(LT, TL) && OnZoneForGeometry(LB, BR)) {
      NewR.Bottom += DH;
    } else if (OnZoneForGeometry(RT, TL) && OnZoneForGeometry(RB, BR)) {
      NewR = MovedRectForGeometry(R, DW, 0);
      NewR.Bottom += DH;
    }
  } else if (ResizeMode == 2) {
    if (R.Left <= LTPt.X && R.Right >= RTPt.X)
      NewR.Right += DW;
    else if (R.Left >= RTPt.X && R.Right > RTPt.X)
      NewR = MovedRectForGeometry(R, DW, 0);
  } else if (ResizeMode == 3) {
    if (R.Top <= LTPt.Y && R.Bottom >= LBPt.Y)
      NewR.Bottom += DH;
    else if (R.Top >= LBPt.Y && R.Bottom > LBPt.Y)
      NewR = MovedRectForGeometry(R, 0, DH);
  }
}

void TspSkinGeometry::ComposeImage(TBitmap* B, TBitmap* SkinPicture, const TRect& R, Integer AW, Integer AH,
                                   Boolean DrawNine) const {
  if (!SkinPicture) return;
  switch (ResizeMode) {
    case 0:
      B->SetSize(RectWidth(R), RectHeight(R));
      B->Canvas()->CopyRect(Rect(0, 0, RectWidth(R), RectHeight(R)), SkinPicture->Canvas(), R);
      break;
    case 1:
      if (DrawNine)
        CreateSkinImage(LTPt, RTPt, LBPt, RBPt, ClRect, NewLTPoint, NewRTPoint, NewLBPoint, NewRBPoint,
                        NewClRect, B, SkinPicture, R, AW, AH, true, LeftStretch, TopStretch,
                        RightStretch, BottomStretch, StretchEffect, StretchType);
      break;
    case 2:
      CreateHSkinImage(LTPt.X, RectWidth(SkinRect) - RTPt.X, B, SkinPicture, R, AW, AH,
                       StretchEffect);
      break;
    case 3:
      CreateVSkinImage(LTPt.Y, RectHeight(SkinRect) - LBPt.Y, B, SkinPicture, R, AW, AH,
                       StretchEffect);
      break;
    default:
      break;
  }
}

void TspSkinGeometry::ComposePart(TBitmap* B, TBitmap* SkinPicture, const TRect& R, Integer AW, Integer AH,
                                  Boolean Stretch) const {
  B->SetSize(AW, AH);
  if (!SkinPicture || AW <= 0 || AH <= 0) return;
  if (Stretch) {
    CreateStretchSkinImage(B, SkinPicture, R, ClRect, true);
    return;
  }
  const Integer DW = AW - RectWidth(SkinRect), DH = AH - RectHeight(SkinRect);
  CreateSkinImage(LTPt, RTPt, LBPt, RBPt, ClRect, LTPt, Point(RTPt.X + DW, RTPt.Y), Point(LBPt.X, LBPt.Y + DH),
                  Point(RBPt.X + DW, RBPt.Y + DH), Rect(ClRect.Left, ClRect.Top, ClRect.Right + DW, ClRect.Bottom + DH),
                  B, SkinPicture, R, AW, AH, true, LeftStretch, TopStretch, RightStretch, BottomStretch,
                  StretchEffect, StretchType);
}
