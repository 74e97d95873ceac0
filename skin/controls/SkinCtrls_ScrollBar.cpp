// The skinned scroll bar: range and page clamping, the layout of buttons, track and thumb,
// the held buttons and pages on window timer 1, dragging the thumb, keys and wheel while
// focused, and both looks.
#include "platform/rtl/NumConv.h"
#include "platform/ui/GraphUtil.h"
#include "platform/win/Input.h"
#include "platform/win/Timers.h"
#include "skin/controls/SkinCtrls.h"
#include "skin/core/bitmaps/spEffBmp.h"
#include "skin/core/drawing/SPUtils.h"

namespace {

constexpr UINT_PTR ScrollRepeatTimerId = 1;
constexpr UINT ScrollWaitMs = 500;
constexpr UINT ScrollRepeatMs = 50;
// The plain look: arrow buttons and the shortest thumb.
constexpr Integer PlainScrollButton = 16;

// Up, Left and a wheel turn away from the user move toward Min.
constexpr TspArrowSteps ScrollBarSteps{-1, -1};

bool ContainsForScrollBar(const TRect& R, Integer X, Integer Y) {
  return X >= R.Left && X < R.Right && Y >= R.Top && Y < R.Bottom;
}

TRect MovedForScrollBar(TRect R, Integer DX, Integer DY) {
  return Rect(R.Left + DX, R.Top + DY, R.Right + DX, R.Bottom + DY);
}

}  // namespace

TspSkinScrollBar::TspSkinScrollBar(TComponent* AOwner) : TspSkinCustomControl(AOwner) {
  ControlStyle.Exclude(csSetCaption);
  ControlStyle.Include(csOpaque);
  SetBounds(Left(), Top(), 200, 19);
  SetDefaultHeight(19);
  SetTabStop(false);
  FSkinDataName = "hscrollbar";
}

// --- Range and position ----------------------------------------------------------------

Integer TspSkinScrollBar::ClampPosition(Integer Value) const {
  // The upper bound first, then Min: a page larger than the range leaves Min.
  if (FPageSize != 0) {
    if (Value > FMax - FPageSize + 1) Value = FMax - FPageSize + 1;
  } else if (Value > FMax) {
    Value = FMax;
  }
  if (Value < FMin) Value = FMin;
  return Value;
}

void TspSkinScrollBar::SetMin(Integer Value) {
  FMin = Value;
  if (FPosition < FMin) FPosition = FMin;
  Repaint();
}

void TspSkinScrollBar::SetMax(Integer Value) {
  FMax = Value;
  FPosition = ClampPosition(FPosition);
  Repaint();
}

void TspSkinScrollBar::SetPosition(Integer Value) {
  Value = ClampPosition(Value);
  if (Value == FPosition) return;
  FPosition = Value;
  Repaint();
  if (OnChange) OnChange(this);
}

void TspSkinScrollBar::SetPageSize(Integer Value) {
  if ((FPosition - FMin) + Value <= FMax - FMin + 1) FPageSize = Value;
  Repaint();
}

void TspSkinScrollBar::SetSmallChange(Integer Value) {
  FSmallChange = Value;
  Repaint();
}

void TspSkinScrollBar::SetLargeChange(Integer Value) {
  FLargeChange = Value;
  Repaint();
}

void TspSkinScrollBar::SetRange(Integer AMin, Integer AMax, Integer APosition, Integer APageSize) {
  FMin = AMin;
  FMax = AMax;
  FPageSize = APageSize;
  FPosition = ClampPosition(APosition);
  Repaint();
}

void TspSkinScrollBar::SimplySetPosition(Integer AValue) {
  AValue = ClampPosition(AValue);
  if (AValue == FPosition) return;
  FPosition = AValue;
  Repaint();
}

// --- Other properties --------------------------------------------------------------------

void TspSkinScrollBar::SetKind(TScrollBarKind Value) {
  if (FKind == Value) return;
  FKind = Value;
  const TComponentState S = ComponentState();
  if (S.Contains(csDesigning) && !S.Contains(csLoading)) {
    const bool V = Value == sbVertical;
    FSkinDataName = V ? "vscrollbar" : "hscrollbar";
    if ((V && Height() < Width()) || (!V && Width() < Height())) SetBounds(Left(), Top(), Height(), Width());
    if (V) {
      FDefaultWidth = FDefaultHeight;
      FDefaultHeight = 0;
    } else {
      FDefaultHeight = FDefaultWidth;
      FDefaultWidth = 0;
    }
  }
  Repaint();
}

void TspSkinScrollBar::SetBoth(Boolean Value) {
  if (FBoth == Value) return;
  FBoth = Value;
  if (!ComponentState().Contains(csDesigning)) {
    if (Value) {
      FNormalSkinDataName = FSkinDataName;
      FSkinDataName = BothSkinDataName;
    } else if (!FNormalSkinDataName.empty()) {
      FSkinDataName = FNormalSkinDataName;
    }
  }
  if (FIndex == -1)
    Repaint();
  else
    ChangeSkinData();
}

void TspSkinScrollBar::SetBothMarkerWidth(Integer Value) {
  if (Value < 0) return;
  FBothMarkerWidth = Value;
  if (FIndex == -1) Repaint();
}

void TspSkinScrollBar::SetCanFocused(Boolean Value) {
  FCanFocused = Value;
  SetTabStop(Value);
}

Boolean TspSkinScrollBar::IsFocused() { return FCanFocused && Focused(); }

void TspSkinScrollBar::GetSkinData() {
  TspSkinCustomControl::GetSkinData();
  if (FIndex == -1) return;
  auto* D = dynamic_cast<TspDataSkinScrollBarControl*>(FSD->CtrlList.Items(FIndex));
  if (!D) return;
  TrackArea = D->TrackArea;
  UpButtonRect = D->UpButtonRect;
  ActiveUpButtonRect = D->ActiveUpButtonRect;
  DownUpButtonRect = IsNullRect(D->DownUpButtonRect) ? ActiveUpButtonRect : D->DownUpButtonRect;
  DownButtonRect = D->DownButtonRect;
  ActiveDownButtonRect = D->ActiveDownButtonRect;
  DownDownButtonRect = IsNullRect(D->DownDownButtonRect) ? ActiveDownButtonRect : D->DownDownButtonRect;
  ThumbRect = D->ThumbRect;
  ActiveThumbRect = IsNullRect(D->ActiveThumbRect) ? ThumbRect : D->ActiveThumbRect;
  DownThumbRect = IsNullRect(D->DownThumbRect) ? ActiveThumbRect : D->DownThumbRect;
  ThumbOffset1 = D->ThumbOffset1;
  ThumbOffset2 = D->ThumbOffset2;
  ThumbTransparent = D->ThumbTransparent;
  ThumbTransparentColor = D->ThumbTransparentColor;
  GlyphRect = D->GlyphRect;
  ActiveGlyphRect = IsNullRect(D->ActiveGlyphRect) ? GlyphRect : D->ActiveGlyphRect;
  DownGlyphRect = IsNullRect(D->DownGlyphRect) ? ActiveGlyphRect : D->DownGlyphRect;
  GlyphTransparent = D->GlyphTransparent;
  GlyphTransparentColor = D->GlyphTransparentColor;
  ThumbStretchEffect = D->ThumbStretchEffect;
  ThumbMinSize = D->ThumbMinSize;
  ThumbMinPageSize = D->ThumbMinPageSize;
}

// --- Layout ------------------------------------------------------------------------------

void TspSkinScrollBar::CalcSize(Integer& AWidth, Integer& AHeight) {
  TspSkinCustomControl::CalcSize(AWidth, AHeight);
  CalcRects();
}

Integer TspSkinScrollBar::ThumbLength(Integer TrackLength) {
  const bool V = FKind == sbVertical;
  Integer Base = PlainScrollButton, Least = PlainScrollButton;
  if (FIndex != -1) {
    const Integer Picture = V ? RectHeight(ThumbRect) : RectWidth(ThumbRect);
    Least = ThumbMinSize != 0 ? ThumbMinSize : Picture;
    Base = Least;
    if (FPageSize == 0 && ThumbMinPageSize != 0) Base = ThumbMinPageSize;
  }
  if (FPageSize == 0) return Base;
  const Integer Span = FMax - FMin + 1;
  Integer T = Span == 0 ? 0 : static_cast<Integer>(Round(static_cast<Double>(TrackLength) * FPageSize / Span));
  if (T < Least) T = Least;
  return T;
}

void TspSkinScrollBar::CalcRects() {
  const bool V = FKind == sbVertical;
  TspCBButtonX& Up = Buttons[UpButton];
  TspCBButtonX& Down = Buttons[DownButton];
  TspCBButtonX& Thumb = Buttons[ThumbButton];
  Integer Thick0 = 0, Thick1 = 0;  // the thumb across the axis
  if (FIndex == -1) {
    const Integer W = Width(), H = Height(), B = PlainScrollButton;
    if (V) {
      Down.R = Rect(1, 1, W - 1, B + 1);
      Up.R = Rect(1, H - B - 1, W - 1, H - 1);
      NewTrackArea = Rect(1, B + 1, W - 1, H - B - 1);
      Thick0 = NewTrackArea.Left;
      Thick1 = NewTrackArea.Right;
    } else {
      const Integer C = FBoth ? W - FBothMarkerWidth : W;
      Down.R = Rect(1, 1, B + 1, H - 1);
      Up.R = Rect(C - B - 1, 1, C - 1, H - 1);
      NewTrackArea = Rect(B + 1, 1, C - B - 1, H - 1);
      Thick0 = NewTrackArea.Top;
      Thick1 = NewTrackArea.Bottom;
    }
  } else if (V) {
    // A button from the stretch point on lies in the fixed far end and moves with it.
    const Integer D = Height() - RectHeight(SkinRect);
    NewTrackArea = TrackArea;
    NewTrackArea.Bottom += D;
    Up.R = UpButtonRect.Top >= LBPt.Y ? MovedForScrollBar(UpButtonRect, 0, D) : UpButtonRect;
    Down.R = DownButtonRect.Top >= LBPt.Y ? MovedForScrollBar(DownButtonRect, 0, D) : DownButtonRect;
    Thick0 = NewTrackArea.Left + RectWidth(NewTrackArea) / 2 - RectWidth(ThumbRect) / 2;
    Thick1 = Thick0 + RectWidth(ThumbRect);
  } else {
    const Integer D = Width() - RectWidth(SkinRect);
    NewTrackArea = TrackArea;
    NewTrackArea.Right += D;
    Up.R = UpButtonRect.Left >= RTPt.X ? MovedForScrollBar(UpButtonRect, D, 0) : UpButtonRect;
    Down.R = DownButtonRect.Left >= RTPt.X ? MovedForScrollBar(DownButtonRect, D, 0) : DownButtonRect;
    Thick0 = NewTrackArea.Top + RectHeight(NewTrackArea) / 2 - RectHeight(ThumbRect) / 2;
    Thick1 = Thick0 + RectHeight(ThumbRect);
  }
  const Integer Start = V ? NewTrackArea.Top : NewTrackArea.Left;
  const Integer End = V ? NewTrackArea.Bottom : NewTrackArea.Right;
  const Integer T = ThumbLength(End - Start);
  Double K;
  if (FPageSize == 0) {
    K = FMax == FMin ? 0.0 : static_cast<Double>(FPosition - FMin) / (FMax - FMin);
  } else if (FMax - FPageSize + 1 > FMin) {
    K = static_cast<Double>(FPosition - FMin) / (FMax - FPageSize + 1 - FMin);
  } else {
    K = V ? 0.0 : 1.0;
  }
  const Integer Half = T / 2;
  Offset1 = Start + Half;
  Offset2 = End - Half;
  BOffset = static_cast<Integer>(Round((Offset2 - Offset1) * K));
  const Integer A0 = Offset1 + BOffset - Half, A1 = Offset1 + BOffset + Half;
  Thumb.R = V ? Rect(Thick0, A0, Thick1, A1) : Rect(A0, Thick0, A1, Thick1);
}

Integer TspSkinScrollBar::CalcPosition(Integer Offset) {
  const bool V = FKind == sbVertical;
  Integer O1 = Offset1, O2 = Offset2, Range = FMax - FMin;
  if (FPageSize != 0) {
    const TRect& R = Buttons[ThumbButton].R;
    const Integer Half = (V ? RectHeight(R) : RectWidth(R)) / 2;
    O1 = (V ? NewTrackArea.Top : NewTrackArea.Left) + Half;
    O2 = (V ? NewTrackArea.Bottom : NewTrackArea.Right) - Half;
    Range = FMax - FMin - FPageSize + 1;
  }
  Double Q = O2 - O1 > 0 ? static_cast<Double>(Offset) / (O2 - O1) : 0.0;
  if (Q > 1) Q = 1;
  if (Q < 0) Q = 0;
  return FMin + static_cast<Integer>(Round(Range * Q));
}

// --- Buttons, timer and mouse ------------------------------------------------------------

void TspSkinScrollBar::StopTimer() {
  if (HandleAllocated()) KillTimer(Handle(), ScrollRepeatTimerId);
  TimerMode = 0;
}

void TspSkinScrollBar::StartWaitTimer() { SetTimer(Handle(), ScrollRepeatTimerId, ScrollWaitMs, nullptr); }

void TspSkinScrollBar::StartRepeatTimer() { SetTimer(Handle(), ScrollRepeatTimerId, ScrollRepeatMs, nullptr); }

void TspSkinScrollBar::ButtonDown(Integer I, Integer X, Integer Y) {
  Buttons[I].Down = true;
  Repaint();
  if (I == UpButton) {
    if (OnUpButtonClick)
      OnUpButtonClick(this);
    else
      SetPosition(FPosition + FSmallChange);
    TimerMode = 2;
    StartWaitTimer();
  } else if (I == DownButton) {
    if (OnDownButtonClick)
      OnDownButtonClick(this);
    else
      SetPosition(FPosition - FSmallChange);
    TimerMode = 1;
    StartWaitTimer();
  } else {
    OMPos = FKind == sbVertical ? Y : X;
    OldBOffset = BOffset;
    FDown = true;
    Repaint();
  }
}

void TspSkinScrollBar::ButtonUp(Integer I) {
  Buttons[I].Down = false;
  if (I != ActiveButton) Buttons[I].MouseIn = false;
  if (I == ThumbButton) FDown = false;
  Repaint();
  if (I != ThumbButton) StopTimer();
}

void TspSkinScrollBar::ButtonEnter(Integer I) {
  Buttons[I].MouseIn = true;
  Repaint();
  if (I != ThumbButton && Buttons[I].Down) StartRepeatTimer();
}

void TspSkinScrollBar::ButtonLeave(Integer I) {
  Buttons[I].MouseIn = false;
  Repaint();
  // The mode stays: the repeat resumes when the pointer comes back.
  if (I != ThumbButton && Buttons[I].Down && HandleAllocated()) KillTimer(Handle(), ScrollRepeatTimerId);
}

void TspSkinScrollBar::UpdateActiveButton(Integer X, Integer Y) {
  Integer Found = -1;
  for (Integer I = 0; I < 3; ++I)
    if (ContainsForScrollBar(Buttons[I].R, X, Y)) {
      Found = I;
      break;
    }
  if (CaptureButton != -1 && Found != CaptureButton) Found = -1;
  OldActiveButton = ActiveButton;
  ActiveButton = Found;
  if (ActiveButton == OldActiveButton) return;
  if (OldActiveButton != -1) ButtonLeave(OldActiveButton);
  if (ActiveButton != -1) ButtonEnter(ActiveButton);
}

void TspSkinScrollBar::RepeatStep() {
  const bool V = FKind == sbVertical;
  switch (TimerMode) {
    case 1:
      if (OnDownButtonClick)
        OnDownButtonClick(this);
      else
        SetPosition(FPosition - FSmallChange);
      break;
    case 2:
      if (OnUpButtonClick)
        OnUpButtonClick(this);
      else
        SetPosition(FPosition + FSmallChange);
      break;
    case 3: {
      UpdateActiveButton(MX, MY);
      CalcRects();
      const TRect& T = Buttons[ThumbButton].R;
      if (V ? MY < T.Top : MX < T.Left) {
        SetPosition(FPosition - FLargeChange);
        if (OnPageUp) OnPageUp(this);
      } else {
        StopTimer();
      }
      break;
    }
    case 4: {
      UpdateActiveButton(MX, MY);
      CalcRects();
      const TRect& T = Buttons[ThumbButton].R;
      if (V ? MY > T.Bottom : MX > T.Right) {
        SetPosition(FPosition + FLargeChange);
        if (OnPageDown) OnPageDown(this);
      } else {
        StopTimer();
      }
      break;
    }
    default:
      break;
  }
}

void TspSkinScrollBar::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TspSkinCustomControl::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft) return;
  MouseD = true;
  MX = X;
  MY = Y;
  CalcRects();
  TimerMode = 0;
  WaitMode = true;
  for (Integer I = 0; I < 3; ++I)
    if (ContainsForScrollBar(Buttons[I].R, X, Y)) {
      CaptureButton = I;
      ButtonDown(I, X, Y);
      return;
    }
  if (!ContainsForScrollBar(NewTrackArea, X, Y)) return;
  const TRect& T = Buttons[ThumbButton].R;
  if (FKind == sbVertical ? Y < T.Top : X < T.Left) {
    SetPosition(FPosition - FLargeChange);
    TimerMode = 3;
    StartWaitTimer();
    if (OnPageUp) OnPageUp(this);
  } else {
    SetPosition(FPosition + FLargeChange);
    TimerMode = 4;
    StartWaitTimer();
    if (OnPageDown) OnPageDown(this);
  }
}

void TspSkinScrollBar::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  MX = X;
  MY = Y;
  UpdateActiveButton(X, Y);
  if (FDown) {
    const Integer D = (FKind == sbVertical ? Y : X) - OMPos;
    SetPosition(CalcPosition(OldBOffset + D));
  }
  TspSkinCustomControl::MouseMove(Shift, X, Y);
}

void TspSkinScrollBar::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TspSkinCustomControl::MouseUp(Button, Shift, X, Y);
  MouseD = false;
  if (TimerMode >= 3) StopTimer();
  const Integer Captured = CaptureButton;
  if (Captured != -1) ButtonUp(Captured);
  CaptureButton = -1;
  if (Button == mbLeft && Captured == ThumbButton && OnLastChange) OnLastChange(this);
}

void TspSkinScrollBar::KeyDown(Word& Key, TShiftState Shift) {
  TspSkinCustomControl::KeyDown(Key, Shift);
  const Integer Step = ArrowKeyStep(Key, ScrollBarSteps);
  if (FCanFocused && Step != 0) SetPosition(FPosition + Step * FSmallChange);
}

void TspSkinScrollBar::WndProc(TMessage& Message) {
  if (FCanFocused && DropClickWhileFocusing(this, Message, FClicksDisabled)) return;
  TspSkinCustomControl::WndProc(Message);
}

void TspSkinScrollBar::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_ERASEBKGND:
      if (!FromWMPaint) PaintWindow(reinterpret_cast<HDC>(Message.WParam));
      Message.Result = 1;
      return;
    case CM_ENABLEDCHANGED:
      TspSkinCustomControl::Dispatch(Message);
      Repaint();
      return;
    case WM_TIMER:
      TspSkinCustomControl::Dispatch(Message);
      if (WaitMode) {
        // The first tick after a press only ends the wait.
        WaitMode = false;
        StartRepeatTimer();
      } else {
        RepeatStep();
      }
      return;
    case CM_MOUSELEAVE:
      TspSkinCustomControl::Dispatch(Message);
      if (ComponentState().Contains(csDesigning)) return;
      if (ActiveButton != -1 && CaptureButton == -1 && !FDown) {
        Buttons[ActiveButton].MouseIn = false;
        Repaint();
        ActiveButton = -1;
      }
      if (MouseD && TimerMode == 4) StopTimer();
      return;
    default:
      break;
  }
  const auto Step = [this](Integer N) { SetPosition(FPosition + N * FSmallChange); };
  const auto Inherited = [this](TMessage& M) { TspSkinCustomControl::Dispatch(M); };
  if (DispatchArrowSteps(this, Message, ScrollBarSteps, FCanFocused, IsFocused(), Step, Inherited)) return;
  TspSkinCustomControl::Dispatch(Message);
}

// --- Painting ----------------------------------------------------------------------------

void TspSkinScrollBar::DrawSkinImage(TBitmap* B) {
  TspSkinCustomControl::DrawSkinImage(B);
  CalcRects();
  DrawButton(B->Canvas(), UpButton);
  DrawButton(B->Canvas(), DownButton);
  if (Enabled()) DrawButton(B->Canvas(), ThumbButton);
}

void TspSkinScrollBar::DrawDefaultImage(TBitmap* B) {
  CalcRects();
  TCanvas* C = B->Canvas();
  TRect R = Rect(0, 0, Width(), Height());
  C->Brush()->SetColor(clBtnFace);
  C->FillRect(R);
  Frame3D(C, R, clBtnFace, clBtnFace, 1);
  if (Enabled()) DrawButton(C, ThumbButton);
  DrawButton(C, UpButton);
  DrawButton(C, DownButton);
}

void TspSkinScrollBar::DrawButton(TCanvas* C, Integer I) {
  if (FIndex != -1) {
    if (I == ThumbButton)
      DrawSkinThumb(C);
    else
      DrawSkinButton(C, I);
    return;
  }
  const TspCBButtonX& Bt = Buttons[I];
  if (IsNullRect(Bt.R)) return;
  const bool Pressed = I == ThumbButton ? Bt.Down || IsFocused() : Bt.Down && Bt.MouseIn;
  DrawPlainFace(C, Bt.R, Pressed ? spfsPressed : Bt.MouseIn ? spfsHot : spfsNormal);
  if (I == ThumbButton) return;
  const bool V = FKind == sbVertical;
  const Integer Direction = I == UpButton ? (V ? 4 : 2) : (V ? 3 : 1);
  DrawArrow(C, Bt.R, clBlack, Direction);
}

void TspSkinScrollBar::DrawSkinButton(TCanvas* C, Integer I) {
  const TspCBButtonX& Bt = Buttons[I];
  if (!Picture || !Bt.MouseIn || IsNullRect(Bt.R)) return;
  const bool Up = I == UpButton;
  const TRect Src = Bt.Down ? (Up ? DownUpButtonRect : DownDownButtonRect) : (Up ? ActiveUpButtonRect : ActiveDownButtonRect);
  if (IsNullRect(Src)) return;
  C->CopyRect(Bt.R, Picture->Canvas(), Src);
}

void TspSkinScrollBar::DrawSkinThumb(TCanvas* C) {
  const TspCBButtonX& Bt = Buttons[ThumbButton];
  const Integer W = RectWidth(Bt.R), H = RectHeight(Bt.R);
  if (!Picture || W <= 0 || H <= 0 || IsNullRect(ThumbRect)) return;
  const bool Pressed = FDown || IsFocused();
  const TRect Src = Pressed ? DownThumbRect : Bt.MouseIn ? ActiveThumbRect : ThumbRect;
  const TRect Grip = Pressed ? DownGlyphRect : Bt.MouseIn ? ActiveGlyphRect : GlyphRect;
  auto Thumb = CreateOwned<TBitmap>();
  Thumb->SetPixelFormat(pf24bit);
  if (FPageSize != 0 || ThumbMinPageSize != 0) {
    if (FKind == sbVertical)
      CreateVSkinImage(ThumbOffset1, ThumbOffset2, Thumb.get(), Picture, Src, W, H, ThumbStretchEffect);
    else
      CreateHSkinImage(ThumbOffset1, ThumbOffset2, Thumb.get(), Picture, Src, W, H, ThumbStretchEffect);
  } else {
    Thumb->SetSize(W, H);
    Thumb->Canvas()->CopyRect(Rect(0, 0, W, H), Picture->Canvas(), Src);
  }
  if (!IsNullRect(Grip)) {
    auto G = CreateOwned<TBitmap>();
    G->SetPixelFormat(pf24bit);
    G->SetSize(RectWidth(Grip), RectHeight(Grip));
    G->Canvas()->CopyRect(Rect(0, 0, RectWidth(Grip), RectHeight(Grip)), Picture->Canvas(), Grip);
    if (GlyphTransparent) {
      G->SetTransparentMode(tmFixed);
      G->SetTransparentColor(GlyphTransparentColor);
      G->SetTransparent(true);
    }
    Thumb->Canvas()->Draw(Thumb->Width() / 2 - RectWidth(Grip) / 2, Thumb->Height() / 2 - RectHeight(Grip) / 2, G.get());
  }
  if (FAlphaBlend) {
    auto Under = CreateOwned<TBitmap>();
    Under->SetPixelFormat(pf24bit);
    Under->SetSize(Thumb->Width(), Thumb->Height());
    Under->Canvas()->CopyRect(Rect(0, 0, Thumb->Width(), Thumb->Height()), C,
                              Bounds(Bt.R.Left, Bt.R.Top, Thumb->Width(), Thumb->Height()));
    auto Ef = CreateOwned<TspEffectBmp>(Thumb->Handle());
    auto UnderEf = CreateOwned<TspEffectBmp>(Under->Handle());
    Ef->Morph(UnderEf.get(), 1.0 - static_cast<Double>(FAlphaBlendValue) / 255.0);
    Ef->Draw(Thumb->Canvas()->Handle(), 0, 0);
  }
  if (ThumbTransparent) {
    Thumb->SetTransparentMode(tmFixed);
    Thumb->SetTransparentColor(ThumbTransparentColor);
    Thumb->SetTransparent(true);
  }
  C->Draw(Bt.R.Left, Bt.R.Top, Thumb.get());
}
