// The up-down button pairs: position and range, hover and capture of the two buttons, the
// step on release, the repeat of a held button on window timer 1, and both looks.
#include "platform/win/Timers.h"
#include "skin/controls/SkinCtrls.h"
#include "skin/core/drawing/SPUtils.h"

namespace {

constexpr UINT_PTR UpDownTimerId = 1;
constexpr UINT UpDownWaitMs = 500;
constexpr UINT UpDownRepeatMs = 100;
// Back over a held button: the next tick comes soon and ends the wait or steps.
constexpr UINT UpDownReturnMs = 50;

TspDataSkinButtonControl* UpDownButtonDescriptor(TspSkinData* SD, const String& Name, const String& Fallback) {
  if (!SD || SD->Empty) return nullptr;
  Integer I = SD->GetControlIndex(Name);
  if (I == -1 && !Fallback.empty()) I = SD->GetControlIndex(Fallback);
  if (I == -1) return nullptr;
  return dynamic_cast<TspDataSkinButtonControl*>(SD->CtrlList.Items(I));
}

}  // namespace

TspSkinCustomUpDown::TspSkinCustomUpDown(TComponent* AOwner) : TspSkinCustomControl(AOwner) {
  ControlStyle.Exclude(csSetCaption);
  ControlStyle.Include(csOpaque);
  FSkinDataName = "hupdown";
  SetBounds(Left(), Top(), 50, 25);
}

void TspSkinCustomUpDown::SetOrientation(TUDOrientation Value) {
  FOrientation = Value;
  CalcButtonRects();
  Repaint();
  if (ComponentState().Contains(csDesigning) && !ComponentState().Contains(csLoading))
    FSkinDataName = Value == udVertical ? "vupdown" : "hupdown";
}

void TspSkinCustomUpDown::SetPosition(Integer Value) {
  if (Value < FMin || Value > FMax) return;
  FPosition = Value;
  if (OnChange && !ComponentState().Contains(csDesigning)) OnChange(this);
}

void TspSkinCustomUpDown::SetMin(Integer Value) {
  FMin = Value;
  if (FPosition < FMin) FPosition = FMin;
}

void TspSkinCustomUpDown::SetMax(Integer Value) {
  FMax = Value;
  if (FPosition > FMax) FPosition = FMax;
}

void TspSkinCustomUpDown::GetSkinData() {
  TspSkinCustomControl::GetSkinData();
  if (FIndex != -1) {
    if (auto* D = dynamic_cast<TspDataSkinUpDownControl*>(FSD->CtrlList.Items(FIndex))) {
      UpButtonRect = D->UpButtonRect;
      ActiveUpButtonRect = D->ActiveUpButtonRect;
      DownUpButtonRect = IsNullRect(D->DownUpButtonRect) ? ActiveUpButtonRect : D->DownUpButtonRect;
      DownButtonRect = D->DownButtonRect;
      ActiveDownButtonRect = D->ActiveDownButtonRect;
      DownDownButtonRect = IsNullRect(D->DownDownButtonRect) ? ActiveDownButtonRect : D->DownDownButtonRect;
      // The pair's picture is used at its own size.
      LTPt = RTPt = LBPt = RBPt = Point(0, 0);
      ClRect = TRect{};
      ResizeMode = TspSkinGeometry::CalcResizeMode();
    }
  }
  CalcButtonRects();
}

void TspSkinCustomUpDown::CalcButtonRects() {
  const Integer W = Width(), H = Height();
  if (FOrientation == udVertical) {
    Buttons[0].R = Rect(0, 0, W, H / 2);
    Buttons[1].R = Rect(0, H / 2, W, H);
  } else {
    Buttons[1].R = Rect(0, 0, W / 2, H);
    Buttons[0].R = Rect(W / 2, 0, W, H);
  }
}

Integer TspSkinCustomUpDown::ArrowDirection(Integer I) const {
  const bool V = FOrientation == udVertical;
  if (I == 0) return V ? 3 : 2;
  return V ? 4 : 1;
}

// --- Mouse and timer ---------------------------------------------------------------------

void TspSkinCustomUpDown::ButtonEnter(Integer I) {
  Buttons[1 - I].MouseIn = false;
  Buttons[I].MouseIn = true;
  Repaint();
  if (FIncrement != 0 && Buttons[I].Down) SetTimer(Handle(), UpDownTimerId, UpDownReturnMs, nullptr);
}

void TspSkinCustomUpDown::ButtonLeave(Integer I) {
  Buttons[I].MouseIn = false;
  Repaint();
  if (FIncrement != 0 && Buttons[I].Down) KillTimer(Handle(), UpDownTimerId);
}

void TspSkinCustomUpDown::HitTestButtons(Integer X, Integer Y) {
  OldActiveButton = ActiveButton;
  ActiveButton = -1;
  for (Integer I = 0; I < 2; ++I)
    if (IsPointInRect(Buttons[I].R, Point(X, Y))) {
      ActiveButton = I;
      break;
    }
  if (CaptureButton != -1 && ActiveButton != CaptureButton) ActiveButton = -1;
  if (ActiveButton == OldActiveButton) return;
  if (OldActiveButton != -1) ButtonLeave(OldActiveButton);
  if (ActiveButton != -1) ButtonEnter(ActiveButton);
}

void TspSkinCustomUpDown::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  HitTestButtons(X, Y);
  Buttons[ActiveButton == 0 ? 1 : 0].MouseIn = false;
  if (ActiveButton != -1) {
    CaptureButton = ActiveButton;
    Buttons[ActiveButton].MouseIn = true;
    Buttons[ActiveButton].Down = true;
    Repaint();
    if (FIncrement != 0) {
      TimerMode = ActiveButton == 0 ? 2 : 1;
      WaitMode = true;
      SetTimer(Handle(), UpDownTimerId, UpDownWaitMs, nullptr);
    }
  }
  TspSkinCustomControl::MouseDown(Button, Shift, X, Y);
}

void TspSkinCustomUpDown::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  HitTestButtons(X, Y);
  TspSkinCustomControl::MouseMove(Shift, X, Y);
}

void TspSkinCustomUpDown::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  if (CaptureButton != -1) {
    const Integer I = CaptureButton;
    CaptureButton = -1;
    ButtonRelease(I);
  }
  TspSkinCustomControl::MouseUp(Button, Shift, X, Y);
}

void TspSkinCustomUpDown::ButtonRelease(Integer I) {
  if (FIncrement != 0) {
    KillTimer(Handle(), UpDownTimerId);
    TimerMode = 0;
  }
  Buttons[I].Down = false;
  if (I != ActiveButton) Buttons[I].MouseIn = false;
  Repaint();
  if (!Buttons[I].MouseIn && !StepsWhenAway()) return;
  // An increment of 0 steps nothing; the click is still told.
  if (I == 0) {
    if (FIncrement != 0) SetPosition(FPosition + FIncrement);
    if (OnUpButtonClick) OnUpButtonClick(this);
  } else {
    if (FIncrement != 0) SetPosition(FPosition - FIncrement);
    if (OnDownButtonClick) OnDownButtonClick(this);
  }
}

void TspSkinCustomUpDown::RepeatStep() {
  if (TimerMode == 1)
    SetPosition(FPosition - FIncrement);
  else if (TimerMode == 2)
    SetPosition(FPosition + FIncrement);
}

void TspSkinCustomUpDown::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_SIZE:
      TspSkinCustomControl::Dispatch(Message);
      CalcButtonRects();
      return;
    case WM_TIMER:
      TspSkinCustomControl::Dispatch(Message);
      if (WaitMode) {
        WaitMode = false;
        SetTimer(Handle(), UpDownTimerId, UpDownRepeatMs, nullptr);
      } else {
        RepeatStep();
      }
      return;
    case CM_MOUSEENTER:
      ActiveButton = OldActiveButton = -1;
      TspSkinCustomControl::Dispatch(Message);
      return;
    case CM_MOUSELEAVE: {
      if (LeaveForgetsActive()) ActiveButton = OldActiveButton = -1;
      TspSkinCustomControl::Dispatch(Message);
      bool Changed = false;
      for (TspCBButtonX& B : Buttons)
        if (B.MouseIn) {
          B.MouseIn = false;
          Changed = true;
          // The pointer may leave the control before its move reaches it: a held button
          // pauses its repeat here as it does when left inside the control.
          if (FIncrement != 0 && B.Down) KillTimer(Handle(), UpDownTimerId);
        }
      if (Changed) Repaint();
      return;
    }
    default:
      TspSkinCustomControl::Dispatch(Message);
  }
}

// --- Painting ----------------------------------------------------------------------------

void TspSkinCustomUpDown::DrawDefaultImage(TBitmap* B) {
  TspSkinCustomControl::DrawDefaultImage(B);
  CalcButtonRects();
  TCanvas* C = B->Canvas();
  for (Integer I = 0; I < 2; ++I) {
    const TspCBButtonX& Bt = Buttons[I];
    DrawPlainFace(C, Bt.R, Bt.Down && Bt.MouseIn ? spfsPressed : Bt.MouseIn ? spfsHot : spfsNormal);
    DrawArrow(C, Bt.R, clBlack, ArrowDirection(I));
  }
}

void TspSkinCustomUpDown::DrawToolButton(TCanvas* C, Integer I, const String& SkinName, const String& Fallback,
                                         Boolean Marked) {
  const TspCBButtonX& Bt = Buttons[I];
  const Integer W = RectWidth(Bt.R), H = RectHeight(Bt.R);
  if (W <= 0 || H <= 0) return;
  auto Bmp = CreateOwned<TBitmap>();
  Bmp->SetPixelFormat(pf24bit);
  Bmp->SetSize(W, H);
  TspDataSkinButtonControl* D = UpDownButtonDescriptor(FSD, SkinName, Fallback);
  if (!D) {
    C->Draw(Bt.R.Left, Bt.R.Top, Bmp.get());
    return;
  }
  const bool Pressed = Bt.Down && Bt.MouseIn;
  const TRect Active = IsNullRect(D->ActiveSkinRect) ? D->SkinRect : D->ActiveSkinRect;
  const TRect Down = IsNullRect(D->DownSkinRect) ? Active : D->DownSkinRect;
  const TRect Src = Pressed ? Down : Bt.MouseIn ? Active : D->SkinRect;
  const Integer DX = W - RectWidth(D->SkinRect), DY = H - RectHeight(D->SkinRect);
  const TRect NewCl = Rect(D->ClRect.Left, D->ClRect.Top, D->ClRect.Right + DX, D->ClRect.Bottom + DY);
  TBitmap* Source = SkinActivePicture(FSD, D->PictureIndex);
  if (Source)
    CreateSkinImage(D->LTPoint, D->RTPoint, D->LBPoint, D->RBPoint, D->ClRect, D->LTPoint,
                    Point(D->RTPoint.X + DX, D->RTPoint.Y), Point(D->LBPoint.X, D->LBPoint.Y + DY),
                    Point(D->RBPoint.X + DX, D->RBPoint.Y + DY), NewCl, Bmp.get(), Source, Src, W, H, true,
                    D->LeftStretch, D->TopStretch, D->RightStretch, D->BottomStretch, D->StretchEffect,
                    D->StretchType);
  TColor ArrowColour = Pressed ? D->DownFontColor : Bt.MouseIn ? D->ActiveFontColor : D->FontColor;
  if (Marked) {
    TRect M = D->MenuMarkerRect;
    if (Pressed && !IsNullRect(D->MenuMarkerDownRect))
      M = D->MenuMarkerDownRect;
    else if (Bt.MouseIn && !IsNullRect(D->MenuMarkerActiveRect))
      M = D->MenuMarkerActiveRect;
    if (!IsNullRect(M) && Source) ArrowColour = Source->Canvas()->Pixels(M.Left + RectWidth(M) / 2, M.Top + 3);
  }
  C->Draw(Bt.R.Left, Bt.R.Top, Bmp.get());
  TRect A = Bt.R;
  if (Pressed) {
    A.Left += 2;
    A.Top += 2;
  }
  if (Marked)
    DrawSmallArrow(C, A, ArrowColour, ArrowDirection(I));
  else
    DrawArrow(C, A, ArrowColour, ArrowDirection(I));
}

// --- The two controls ----------------------------------------------------------------------

TspSkinIntUpDown::TspSkinIntUpDown(TComponent* AOwner) : TspSkinCustomUpDown(AOwner) {}

void TspSkinIntUpDown::CalcSize(Integer&, Integer&) {}

void TspSkinIntUpDown::SetControlRegion() {}

void TspSkinIntUpDown::DrawSkinImage(TBitmap* B) {
  for (Integer I = 0; I < 2; ++I) DrawToolButton(B->Canvas(), I, "combobutton", "resizetoolbutton", true);
}

void TspSkinIntUpDown::RepeatStep() {
  TspSkinCustomUpDown::RepeatStep();
  // Told also when the step was refused at a bound.
  if (TimerMode == 1 && FOnDownChange)
    FOnDownChange(this);
  else if (TimerMode == 2 && FOnUpChange)
    FOnUpChange(this);
}

TspSkinUpDown::TspSkinUpDown(TComponent* AOwner) : TspSkinCustomUpDown(AOwner) { SetBounds(Left(), Top(), 25, 50); }

void TspSkinUpDown::CalcSize(Integer& AWidth, Integer& AHeight) {
  if (UseSkinSize) TspSkinCustomControl::CalcSize(AWidth, AHeight);
}

void TspSkinUpDown::SetControlRegion() {
  if (UseSkinSize) TspSkinCustomControl::SetControlRegion();
}

void TspSkinUpDown::CalcButtonRects() {
  if (FIndex != -1 && UseSkinSize) {
    Buttons[0].R = UpButtonRect;
    Buttons[1].R = DownButtonRect;
  } else {
    TspSkinCustomUpDown::CalcButtonRects();
  }
}

void TspSkinUpDown::DrawSkinImage(TBitmap* B) {
  if (!UseSkinSize) {
    for (Integer I = 0; I < 2; ++I) DrawToolButton(B->Canvas(), I, "resizebutton", "", false);
    return;
  }
  TspSkinCustomControl::DrawSkinImage(B);
  if (!Picture) return;
  for (Integer I = 0; I < 2; ++I) {
    const TspCBButtonX& Bt = Buttons[I];
    if (!Bt.MouseIn) continue;
    const TRect Src = Bt.Down ? (I == 0 ? DownUpButtonRect : DownDownButtonRect)
                              : (I == 0 ? ActiveUpButtonRect : ActiveDownButtonRect);
    if (!IsNullRect(Src)) B->Canvas()->CopyRect(Bt.R, Picture->Canvas(), Src);
  }
}
