// The frame's track bars and switches.
#include <algorithm>
#include <cstdlib>

#include "platform/rtl/NumConv.h"
#include "skin/core/drawing/SPUtils.h"
#include "skin/forms/FormSkinFrameObjects.h"

namespace {

Boolean TrackPointInRect(const TRect& R, TPoint P) {
  return P.X >= R.Left && P.X < R.Right && P.Y >= R.Top && P.Y < R.Bottom;
}

// A part of the work bitmap copied from a picture; nothing for an empty or missing one.
void TrackCopyPart(TBitmap* Dest, const TRect& D, TBitmap* Source, const TRect& S) {
  if (!Source || Source->Empty() || D.Right <= D.Left || D.Bottom <= D.Top) return;
  Dest->Canvas()->CopyRect(D, Source->Canvas(), S);
}

}  // namespace

TspSkinTrackBarObject::TspSkinTrackBarObject(TspFormSkin* AParent, TspDataSkinObject* AData)
    : TspActiveSkinObject(AParent, AData) {
  if (auto* D = dynamic_cast<TspDataSkinTrackBar*>(AData)) {
    ButtonRect = D->ButtonRect;
    ActiveButtonRect = D->ActiveButtonRect;
    BeginPoint = D->BeginPoint;
    EndPoint = D->EndPoint;
    MinValue = D->MinValue;
    MaxValue = D->MaxValue;
    MouseDownChangeValue = D->MouseDownChangeValue;
    ButtonTransparent = D->ButtonTransparent;
    ButtonTransparentColor = D->ButtonTransparentColor;
  }
  TrackKind = std::abs(BeginPoint.Y - EndPoint.Y) >= std::abs(EndPoint.X - BeginPoint.X) ? tkVertical : tkHorizontal;
  FValue = MinValue;
  FButtonPos = FOldButtonPos = CalcButtonPos();
}

Boolean TspSkinTrackBarObject::CanMapTrack() const {
  if (MaxValue == MinValue) return false;
  return TrackKind == tkHorizontal ? EndPoint.X != BeginPoint.X : BeginPoint.Y != EndPoint.Y;
}

TPoint TspSkinTrackBarObject::CalcButtonPos() const {
  // A track without range or length keeps its button at the start.
  if (!CanMapTrack()) return BeginPoint;
  const Double X = static_cast<Double>(FValue - MinValue) / (static_cast<Double>(MaxValue) - MinValue);
  if (TrackKind == tkHorizontal)
    return Point(BeginPoint.X + static_cast<Integer>(Round((EndPoint.X - BeginPoint.X) * X)), BeginPoint.Y);
  return Point(BeginPoint.X, EndPoint.Y + static_cast<Integer>(Round((BeginPoint.Y - EndPoint.Y) * (1 - X))));
}

Integer TspSkinTrackBarObject::CalcValue() const {
  if (!CanMapTrack()) return MinValue;
  Double X;
  if (TrackKind == tkHorizontal)
    X = static_cast<Double>(FButtonPos.X - BeginPoint.X) / (EndPoint.X - BeginPoint.X);
  else
    X = 1 - static_cast<Double>(FButtonPos.Y - EndPoint.Y) / (BeginPoint.Y - EndPoint.Y);
  return MinValue + static_cast<Integer>(Round((static_cast<Double>(MaxValue) - MinValue) * X));
}

TRect TspSkinTrackBarObject::CalcButtonRect(TPoint P) const {
  const Integer W = RectWidth(ButtonRect), H = RectHeight(ButtonRect);
  return Rect(P.X - W / 2, P.Y - H / 2, P.X - W / 2 + W, P.Y - H / 2 + H);
}

void TspSkinTrackBarObject::SetButtonPos(TPoint P) {
  if (!CanMapTrack()) P = BeginPoint;
  if (P == FButtonPos) return;
  FOldButtonPos = FButtonPos;
  FButtonPos = P;
  FValue = CalcValue();
  Parent->DrawSkinObject(this);
  Parent->DoTrackBarChangeValueEvent(IDName, FValue);
}

void TspSkinTrackBarObject::StoreValue(Integer AValue) {
  // A track without range or length stays at its minimum.
  FValue = CanMapTrack() ? std::clamp(AValue, std::min(MinValue, MaxValue), std::max(MinValue, MaxValue)) : MinValue;
  FOldButtonPos = FButtonPos;
  FButtonPos = CalcButtonPos();
}

void TspSkinTrackBarObject::SetValue(Integer AValue) {
  if (AValue == FValue) return;
  StoreValue(AValue);
  Parent->DrawSkinObject(this);
  Parent->DoTrackBarChangeValueEvent(IDName, FValue);
}

void TspSkinTrackBarObject::SimplySetValue(Integer AValue) {
  StoreValue(AValue);
  Parent->DoTrackBarChangeValueEvent(IDName, FValue);
}

void TspSkinTrackBarObject::Draw(TCanvas* Cnvs, Boolean) {
  if (!Skinned()) return;
  const TRect Button = MoveActive && !IsNullRect(ActiveButtonRect) ? ActiveButtonRect : ButtonRect;
  const Integer W = RectWidth(SkinRect), H = RectHeight(SkinRect);
  if (W <= 0 || H <= 0) return;
  auto B = CreateOwned<TBitmap>();
  B->SetPixelFormat(pf24bit);
  B->SetSize(W, H);
  const TPoint P = FButtonPos;
  if (IsNullRect(ActiveSkinRect)) {
    TrackCopyPart(B.get(), Rect(0, 0, W, H), Picture, SkinRect);
  } else if (TrackKind == tkHorizontal) {
    const Integer Cut = std::clamp(P.X, 0, W);
    TrackCopyPart(B.get(), Rect(0, 0, Cut, H), ActivePicture,
                  Rect(ActiveSkinRect.Left, ActiveSkinRect.Top, ActiveSkinRect.Left + Cut, ActiveSkinRect.Bottom));
    TrackCopyPart(B.get(), Rect(Cut, 0, W, H), Picture,
                  Rect(SkinRect.Left + Cut, SkinRect.Top, SkinRect.Right, SkinRect.Bottom));
  } else {
    const Integer Cut = std::clamp(P.Y, 0, H);
    TrackCopyPart(B.get(), Rect(0, 0, W, Cut), Picture,
                  Rect(SkinRect.Left, SkinRect.Top, SkinRect.Right, SkinRect.Top + Cut));
    TrackCopyPart(B.get(), Rect(0, Cut, W, H), ActivePicture,
                  Rect(ActiveSkinRect.Left, ActiveSkinRect.Top + Cut, ActiveSkinRect.Right, ActiveSkinRect.Bottom));
  }
  const TRect BR = CalcButtonRect(P);
  if (ActivePicture && !ActivePicture->Empty() && !IsNullRect(Button)) {
    if (ButtonTransparent) {
      auto Btn = CreateOwned<TBitmap>();
      Btn->SetPixelFormat(pf24bit);
      Btn->SetSize(RectWidth(Button), RectHeight(Button));
      Btn->Canvas()->CopyRect(Rect(0, 0, Btn->Width(), Btn->Height()), ActivePicture->Canvas(), Button);
      Btn->SetTransparentMode(tmFixed);
      Btn->SetTransparentColor(ButtonTransparentColor);
      Btn->SetTransparent(true);
      B->Canvas()->Draw(BR.Left, BR.Top, Btn.get());
    } else {
      B->Canvas()->CopyRect(BR, ActivePicture->Canvas(), Button);
    }
  }
  Cnvs->Draw(ObjectRect.Left, ObjectRect.Top, B.get());
}

void TspSkinTrackBarObject::MouseDown(Integer X, Integer Y, TMouseButton Button) {
  const TPoint P = Point(X - ObjectRect.Left, Y - ObjectRect.Top);
  if (TrackPointInRect(CalcButtonRect(FButtonPos), P) && Button == mbLeft) {
    MoveActive = true;
    FOldMPoint = P;
    if (!IsNullRect(ActiveButtonRect)) Parent->DrawSkinObject(this);
  } else if (Button == mbLeft && MouseDownChangeValue) {
    if (TrackKind == tkHorizontal)
      SetButtonPos(Point(std::clamp(P.X, std::min(BeginPoint.X, EndPoint.X), std::max(BeginPoint.X, EndPoint.X)),
                         BeginPoint.Y));
    else
      SetButtonPos(Point(BeginPoint.X,
                         std::clamp(P.Y, std::min(EndPoint.Y, BeginPoint.Y), std::max(EndPoint.Y, BeginPoint.Y))));
  }
  TspActiveSkinObject::MouseDown(X, Y, Button);
}

void TspSkinTrackBarObject::MouseMove(Integer X, Integer Y) {
  const TPoint P = Point(X - ObjectRect.Left, Y - ObjectRect.Top);
  if (MoveActive) {
    if (TrackKind == tkHorizontal) {
      const Integer C = FButtonPos.X + P.X - FOldMPoint.X;
      if (C >= BeginPoint.X && C <= EndPoint.X) SetButtonPos(Point(C, FButtonPos.Y));
    } else {
      const Integer C = FButtonPos.Y + P.Y - FOldMPoint.Y;
      if (C >= EndPoint.Y && C <= BeginPoint.Y) SetButtonPos(Point(FButtonPos.X, C));
    }
    FOldMPoint = P;
  }
  TspActiveSkinObject::MouseMove(X, Y);
}

void TspSkinTrackBarObject::MouseUp(Integer X, Integer Y, TMouseButton Button) {
  if (Button == mbLeft && MoveActive) {
    MoveActive = false;
    if (!IsNullRect(ActiveButtonRect)) Parent->DrawSkinObject(this);
  }
  TspActiveSkinObject::MouseUp(X, Y, Button);
}

// ---------------------------------------------------------------------------------------

void TspSkinSwitchObject::SetState(TSwitchState Value) {
  FState = Value;
  Active = Value == swsOn;
  ReDraw();
  Parent->DoSwitchChangeStateEvent(IDName, FState);
}

void TspSkinSwitchObject::SimpleSetState(TSwitchState Value) {
  FState = Value;
  Active = Value == swsOn;
  if (Active) SetMorphKf(1);
}

void TspSkinSwitchObject::MouseDown(Integer X, Integer Y, TMouseButton Button) {
  if (Button == mbLeft) SetState(FState == swsOn ? swsOff : swsOn);
  TspActiveSkinObject::MouseDown(X, Y, Button);
}

void TspSkinSwitchObject::MouseEnter() {
  FMouseIn = true;
  Parent->DoMouseEnterEvent(IDName);
}

void TspSkinSwitchObject::MouseLeave() {
  FMouseIn = false;
  Parent->DoMouseLeaveEvent(IDName);
}
