// The frame's filmstrip objects: the strip base, the level gauge and the regulator (knob
// or linear slider) the user drags in steps.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>

#include "skin/core/drawing/SPUtils.h"
#include "skin/forms/FormSkinFrameObjects.h"

// ---------------------------------------------------------------------------------------
// Strip base

void TspSkinFrameObject::CalcFrameSize() {
  if (CountFrames <= 0) return;
  if (FramesPlacement == fpHorizontal) {
    FrameW = RectWidth(ActiveSkinRect) / CountFrames;
    FrameH = RectHeight(ActiveSkinRect);
  } else {
    FrameH = RectHeight(ActiveSkinRect) / CountFrames;
    FrameW = RectWidth(ActiveSkinRect);
  }
}

Integer TspSkinFrameObject::FrameOfValue(Integer AValue, Integer AMin, Integer AMax) const {
  if (CountFrames < 2) return 1;
  const Integer Step = (AMax - AMin) / (CountFrames - 1);
  if (Step == 0) return 1;
  // A range that is not a multiple of the frame count ends on the last frame.
  return std::min(std::abs(AValue - AMin) / std::abs(Step) + 1, CountFrames);
}

void TspSkinFrameObject::SetFrame(Integer Value) {
  if (Value >= 1 && Value <= CountFrames) FFrame = Value;
  Parent->DrawSkinObject(this);
}

void TspSkinFrameObject::Draw(TCanvas* Cnvs, Boolean) {
  if (!Skinned()) return;
  TRect R;
  if (FramesPlacement == fpHorizontal) {
    const Integer X = ActiveSkinRect.Left + (FFrame - 1) * FrameW;
    R = Rect(X, ActiveSkinRect.Top, X + FrameW, ActiveSkinRect.Top + FrameH);
  } else {
    const Integer Y = ActiveSkinRect.Top + (FFrame - 1) * FrameH;
    R = Rect(ActiveSkinRect.Left, Y, ActiveSkinRect.Left + FrameW, Y + FrameH);
  }
  CopyLook(Cnvs, ActivePicture, R);
}

// ---------------------------------------------------------------------------------------
// Level gauge

TspSkinFrameGaugeObject::TspSkinFrameGaugeObject(TspFormSkin* AParent, TspDataSkinObject* AData)
    : TspSkinFrameObject(AParent, AData) {
  if (auto* D = dynamic_cast<TspDataSkinFrameGaugeObject*>(AData)) {
    MinValue = D->MinValue;
    MaxValue = D->MaxValue;
    CountFrames = D->CountFrames;
    FramesPlacement = D->FramesPlacement;
  }
  CalcFrameSize();
}

Integer TspSkinFrameGaugeObject::CalcFrame() const { return FrameOfValue(FValue, MinValue, MaxValue); }

void TspSkinFrameGaugeObject::SimplySetValue(Integer AValue) {
  if (AValue != FValue && AValue >= MinValue && AValue <= MaxValue) FValue = AValue;
}

void TspSkinFrameGaugeObject::SetValue(Integer AValue) {
  if (AValue == FValue || AValue < MinValue || AValue > MaxValue) return;
  FValue = AValue;
  Parent->DrawSkinObject(this);
}

void TspSkinFrameGaugeObject::Draw(TCanvas* Cnvs, Boolean UpDate) {
  FFrame = CountFrames < 2 ? 1 : CalcFrame();
  TspSkinFrameObject::Draw(Cnvs, UpDate);
}

void TspSkinFrameGaugeObject::MouseEnter() {
  FMouseIn = true;
  Active = true;
  Parent->DoMouseEnterEvent(IDName);
}

void TspSkinFrameGaugeObject::MouseLeave() {
  FMouseIn = false;
  Active = false;
  Parent->DoMouseLeaveEvent(IDName);
}

// ---------------------------------------------------------------------------------------
// Regulator

TspSkinFrameRegulatorObject::TspSkinFrameRegulatorObject(TspFormSkin* AParent, TspDataSkinObject* AData)
    : TspSkinFrameObject(AParent, AData) {
  if (auto* D = dynamic_cast<TspDataSkinFrameRegulatorObject*>(AData)) {
    MinValue = D->MinValue;
    MaxValue = D->MaxValue;
    CountFrames = D->CountFrames;
    FramesPlacement = D->FramesPlacement;
    Kind = D->Kind;
  }
  CalcFrameSize();
  FValue = TempValue = std::clamp(0, std::min(MinValue, MaxValue), std::max(MinValue, MaxValue));
}

Integer TspSkinFrameRegulatorObject::CalcFrame() const { return FrameOfValue(FValue, MinValue, MaxValue); }

void TspSkinFrameRegulatorObject::SimplySetValue(Integer AValue) {
  if (AValue == FValue || AValue < MinValue || AValue > MaxValue) return;
  FValue = AValue;
  Parent->DoFrameRegulatorChangeValueEvent(IDName, FValue);
}

void TspSkinFrameRegulatorObject::SetValue(Integer AValue) {
  if (AValue == FValue || AValue < MinValue || AValue > MaxValue) return;
  FValue = AValue;
  Parent->DrawSkinObject(this);
  Parent->DoFrameRegulatorChangeValueEvent(IDName, FValue);
}

void TspSkinFrameRegulatorObject::Draw(TCanvas* Cnvs, Boolean UpDate) {
  FFrame = CountFrames < 2 ? 1 : CalcFrame();
  TspSkinFrameObject::Draw(Cnvs, UpDate);
}

Integer TspSkinFrameRegulatorObject::CalcAngle(Integer X, Integer Y) {
  const Integer W = RectWidth(ObjectRect), H = RectHeight(ObjectRect);
  X = std::clamp(X, 0, std::max(W, 0));
  Y = std::clamp(Y, 0, std::max(H, 0));
  const Integer CX = W / 2, CY = H / 2;
  const Double DX = CX - X, DY = CY - Y;
  const Double R = std::sqrt(DX * DX + DY * DY);
  // At the very centre the direction is undefined: the knob keeps its last angle.
  if (R == 0) return FLastAngle;
  Integer Base = 0;
  if (X <= CX && Y < CY) Base = 90;
  if (X < CX && Y >= CY) Base = 180;
  if (X >= CX && Y > CY) Base = 270;
  if (X > CX && Y <= CY) Base = 0;
  const Double M = std::clamp((Base == 0 || Base == 180 ? std::abs(DY) : std::abs(DX)) / R, 0.0, 1.0);
  const Integer Theta = static_cast<Integer>(Base + std::asin(M) * 180 / std::numbers::pi);
  Integer Result = 270 - Theta;
  if (Result < 0) Result += 360;
  FLastAngle = Result;
  return Result;
}

Integer TspSkinFrameRegulatorObject::TrackedCoordinate(Integer X, Integer Y) {
  switch (Kind) {
    case rkRound: return CalcAngle(X, Y);
    case rkHorizontal: return X;
    case rkVertical: return -Y;  // up raises the value
  }
  return X;
}

void TspSkinFrameRegulatorObject::StepTempValue(Boolean Upward) {
  StartV = CurV;
  TempValue += Upward ? FValInc : -FValInc;
  TempValue = std::clamp(TempValue, std::min(MinValue, MaxValue), std::max(MinValue, MaxValue));
  SetValue(TempValue);
}

void TspSkinFrameRegulatorObject::CalcLinearValue() {
  // A strip of fewer than two frames has no steps to take.
  if (CountFrames < 2) return;
  const Integer Size = Kind == rkHorizontal ? FrameW : FrameH;
  FPixInc = Size / (CountFrames - 1);
  FValInc = (MaxValue - MinValue) / (CountFrames - 1);
  if (FPixInc == 0) FPixInc = 1;
  if (FValInc == 0) FValInc = 1;
  const Boolean Upward = StartV <= CurV;
  if (std::abs(CurV - StartV) < FPixInc) return;
  StepTempValue(Upward);
}

void TspSkinFrameRegulatorObject::CalcRoundValue() {
  // One turn covers the range as one frame's travel does for the sliders.
  const Integer N = std::max(CountFrames - 1, 1);
  FPixInc = 360 / N;
  FValInc = (MaxValue - MinValue) / N;
  if (FPixInc == 0) FPixInc = 1;
  if (FValInc == 0) FValInc = 1;
  if (std::abs(CurV - OldCurV) > 300) {
    // Through 0/360 between two moves: clockwise when the angle dropped.
    StepTempValue(CurV < OldCurV);
    return;
  }
  const Boolean Upward = CurV >= StartV;
  if (std::abs(CurV - StartV) < FPixInc) return;
  StepTempValue(Upward);
}

void TspSkinFrameRegulatorObject::MouseDown(Integer X, Integer Y, TMouseButton Button) {
  const Integer PX = X - ObjectRect.Left, PY = Y - ObjectRect.Top;
  FDown = true;
  TempValue = FValue;
  FLastAngle = 0;
  StartV = TrackedCoordinate(PX, PY);
  if (Kind == rkRound) OldCurV = StartV;
  TspActiveSkinObject::MouseDown(X, Y, Button);
}

void TspSkinFrameRegulatorObject::MouseMove(Integer X, Integer Y) {
  if (FDown) {
    CurV = TrackedCoordinate(X - ObjectRect.Left, Y - ObjectRect.Top);
    if (Kind == rkRound)
      CalcRoundValue();
    else
      CalcLinearValue();
    OldCurV = CurV;
  }
  TspActiveSkinObject::MouseMove(X, Y);
}

void TspSkinFrameRegulatorObject::MouseUp(Integer X, Integer Y, TMouseButton Button) {
  FDown = false;
  TspActiveSkinObject::MouseUp(X, Y, Button);
}
