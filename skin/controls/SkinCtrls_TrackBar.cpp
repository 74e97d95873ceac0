// The skinned track bar: the button's geometry and value arithmetic, dragging, the jump on
// click, keys and wheel while focused, and both looks.
#include "platform/rtl/NumConv.h"
#include "platform/ui/GraphUtil.h"
#include "platform/win/Input.h"
#include "skin/controls/SkinCtrls.h"
#include "skin/core/bitmaps/spEffBmp.h"
#include "skin/core/drawing/SPUtils.h"

namespace {

// Up and a wheel turn away from the user raise the value of a vertical bar; on a
// horizontal one the wheel lowers it.
TspArrowSteps TrackBarSteps(Boolean Vertical) { return {1, Vertical ? 1 : -1}; }

}  // namespace

TspSkinTrackBar::TspSkinTrackBar(TComponent* AOwner) : TspSkinCustomControl(AOwner) {
  ControlStyle.Exclude(csSetCaption);
  ControlStyle.Include(csOpaque);
  SetBounds(Left(), Top(), 100, 20);
  SetTabStop(false);
  FSkinDataName = "htrackbar";
}

void TspSkinTrackBar::SetMinValue(Integer Value) {
  FMinValue = Value;
  if (FValue < FMinValue) FValue = FMinValue;
  Repaint();
}

void TspSkinTrackBar::SetMaxValue(Integer Value) {
  FMaxValue = Value;
  if (FValue > FMaxValue) FValue = FMaxValue;
  Repaint();
}

void TspSkinTrackBar::SetValue(Integer AValue) {
  if (AValue > FMaxValue)
    AValue = FMaxValue;
  else if (AValue < FMinValue)
    AValue = FMinValue;
  if (AValue == FValue) return;
  FValue = AValue;
  Repaint();
  if (OnChange) OnChange(this);
}

void TspSkinTrackBar::SetVertical(Boolean Value) {
  FVertical = Value;
  Repaint();
  if (ComponentState().Contains(csDesigning) && !ComponentState().Contains(csLoading))
    FSkinDataName = Value ? "trackbar" : "htrackbar";
}

void TspSkinTrackBar::SetCanFocused(Boolean Value) {
  FCanFocused = Value;
  SetTabStop(Value);
}

Boolean TspSkinTrackBar::IsFocused() { return FCanFocused && Focused(); }

void TspSkinTrackBar::DoLastChange() {
  if (OnLastChange) OnLastChange(this);
}

void TspSkinTrackBar::GetSkinData() {
  TspSkinCustomControl::GetSkinData();
  if (FIndex == -1) return;
  auto* D = dynamic_cast<TspDataSkinTrackBarControl*>(FSD->CtrlList.Items(FIndex));
  if (!D) return;
  ActiveSkinRect = D->ActiveSkinRect;
  TrackArea = D->TrackArea;
  ButtonRect = D->ButtonRect;
  ActiveButtonRect = IsNullRect(D->ActiveButtonRect) ? ButtonRect : D->ActiveButtonRect;
  FVertical = D->Vertical;
  ButtonTransparent = D->ButtonTransparent;
  ButtonTransparentColor = D->ButtonTransparentColor;
}

void TspSkinTrackBar::CalcSize(Integer& AWidth, Integer& AHeight) {
  TspSkinCustomControl::CalcSize(AWidth, AHeight);
  NewTrackArea = TrackArea;
  if (ResizeMode <= 0) return;
  if (FVertical)
    NewTrackArea.Bottom += AHeight - RectHeight(SkinRect);
  else
    NewTrackArea.Right += AWidth - RectWidth(SkinRect);
}

TRect TspSkinTrackBar::CalcButtonRect(const TRect& R) {
  const Double K = FMaxValue == FMinValue ? 0.0
                                          : static_cast<Double>(FValue - FMinValue) / (FMaxValue - FMinValue);
  Integer W, H;
  if (FIndex != -1) {
    W = RectWidth(ButtonRect);
    H = RectHeight(ButtonRect);
  } else if (FVertical) {
    W = Width() - 4;
    H = W / 2;
  } else {
    H = Height() - 4;
    W = H / 2;
  }
  TRect B;
  if (FVertical) {
    Offset1 = R.Top + H / 2;
    Offset2 = R.Bottom - H / 2;
    BOffset = static_cast<Integer>(Round((Offset2 - Offset1) * K));
    B.Top = Offset2 - BOffset - H / 2;
    B.Bottom = B.Top + H;
    B.Left = R.Left + RectWidth(R) / 2 - W / 2;
    B.Right = B.Left + W;
  } else {
    Offset1 = R.Left + W / 2;
    Offset2 = R.Right - W / 2;
    BOffset = static_cast<Integer>(Round((Offset2 - Offset1) * K));
    B.Left = Offset1 + BOffset - W / 2;
    B.Right = B.Left + W;
    B.Top = R.Top + RectHeight(R) / 2 - H / 2;
    B.Bottom = B.Top + H;
  }
  return B;
}

Integer TspSkinTrackBar::CalcValue(Integer Offset) const {
  Double Q = Offset2 - Offset1 > 0 ? static_cast<Double>(Offset) / (Offset2 - Offset1) : 0.0;
  if (Q > 1) Q = 1;
  if (Q < 0) Q = 0;
  return FMinValue + static_cast<Integer>(Round((FMaxValue - FMinValue) * Q));
}

void TspSkinTrackBar::DrawSkinImage(TBitmap* B) {
  TspSkinCustomControl::DrawSkinImage(B);
  BR = CalcButtonRect(NewTrackArea);
  if (!IsNullRect(ActiveSkinRect) && Picture) {
    auto Filled = CreateOwned<TBitmap>();
    Filled->SetPixelFormat(pf24bit);
    CreateSkinControlImage(Filled.get(), Picture, ActiveSkinRect);
    if (FVertical) {
      const Integer Top = BR.Top + RectHeight(BR) / 2;
      if (Top < B->Height())
        B->Canvas()->CopyRect(Rect(0, Top, B->Width(), B->Height()), Filled->Canvas(),
                              Rect(0, Top, B->Width(), B->Height()));
    } else {
      const Integer Right = BR.Left + RectWidth(BR) / 2;
      if (Right > 0)
        B->Canvas()->CopyRect(Rect(0, 0, Right, B->Height()), Filled->Canvas(), Rect(0, 0, Right, B->Height()));
    }
  }
  if (!Picture || IsNullRect(BR)) return;
  const TRect Src = FDown || IsFocused() ? ActiveButtonRect : ButtonRect;
  auto Button = CreateOwned<TBitmap>();
  Button->SetPixelFormat(pf24bit);
  Button->SetSize(RectWidth(BR), RectHeight(BR));
  Button->Canvas()->CopyRect(Rect(0, 0, RectWidth(BR), RectHeight(BR)), Picture->Canvas(), Src);
  if (!FAlphaBlend || ButtonTransparent) {
    if (ButtonTransparent) {
      Button->SetTransparentMode(tmFixed);
      Button->SetTransparentColor(ButtonTransparentColor);
      Button->SetTransparent(true);
    }
    B->Canvas()->Draw(BR.Left, BR.Top, Button.get());
    return;
  }
  // The button blended with the track under it; Paint then blends the whole control.
  auto Under = CreateOwned<TBitmap>();
  Under->SetPixelFormat(pf24bit);
  Under->SetSize(RectWidth(BR), RectHeight(BR));
  Under->Canvas()->CopyRect(Rect(0, 0, RectWidth(BR), RectHeight(BR)), B->Canvas(), BR);
  auto Ef = CreateOwned<TspEffectBmp>(Button->Handle());
  auto UnderEf = CreateOwned<TspEffectBmp>(Under->Handle());
  Ef->Morph(UnderEf.get(), 1.0 - static_cast<Double>(FAlphaBlendValue) / 255.0);
  Ef->Draw(B->Canvas()->Handle(), BR.Left, BR.Top);
}

void TspSkinTrackBar::DrawDefaultImage(TBitmap* B) {
  TspSkinCustomControl::DrawDefaultImage(B);
  TCanvas* C = B->Canvas();
  const Integer W = Width(), H = Height();
  TRect Client = Rect(0, 0, W, H);
  Frame3D(C, Client, clBtnShadow, clBtnShadow, 1);
  const TRect Track = Rect(2, 2, W - 2, H - 2);
  TRect Groove = FVertical ? Rect(W / 2 - 1, 4, W / 2 + 1, H - 4) : Rect(4, H / 2 - 1, W - 4, H / 2 + 1);
  Frame3D(C, Groove, clBtnShadow, clBtnHighlight, 1);
  BR = CalcButtonRect(Track);
  C->Brush()->SetColor(clBtnFace);
  C->FillRect(BR);
  DrawPlainFace(C, BR, FDown ? spfsPressed : IsFocused() ? spfsHot : spfsNormal);
}

void TspSkinTrackBar::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TspSkinCustomControl::MouseDown(Button, Shift, X, Y);
  if (!MouseSupport || !IsPointInRect(BR, Point(X, Y))) return;
  OMPos = FVertical ? Y : X;
  OldBOffset = BOffset;
  FDown = true;
  Repaint();
  if (OnStartDragButton) OnStartDragButton(this);
}

void TspSkinTrackBar::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  if (MouseSupport && FDown) {
    const Integer D = FVertical ? OMPos - Y : X - OMPos;
    SetValue(CalcValue(OldBOffset + D));
  }
  TspSkinCustomControl::MouseMove(Shift, X, Y);
}

void TspSkinTrackBar::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TspSkinCustomControl::MouseUp(Button, Shift, X, Y);
  if (!MouseSupport) return;
  if (FDown) {
    FDown = false;
    Repaint();
    DoLastChange();
    return;
  }
  if (!JumpWhenClick) return;
  const Integer M = FIndex == -1 ? 2 : FVertical ? NewTrackArea.Top : NewTrackArea.Left;
  const Integer Offset = FVertical ? (Height() - Y) - RectHeight(BR) / 2 - M : X - RectWidth(BR) / 2 - M;
  SetValue(CalcValue(Offset));
}

void TspSkinTrackBar::KeyDown(Word& Key, TShiftState Shift) {
  TspSkinCustomControl::KeyDown(Key, Shift);
  const Integer Step = ArrowKeyStep(Key, TrackBarSteps(FVertical));
  if (!FCanFocused || Step == 0) return;
  SetValue(FValue + Step);
  DoLastChange();
}

void TspSkinTrackBar::WndProc(TMessage& Message) {
  if (FCanFocused && DropClickWhileFocusing(this, Message, FClicksDisabled)) return;
  TspSkinCustomControl::WndProc(Message);
}

void TspSkinTrackBar::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_ERASEBKGND:
      if (!FromWMPaint) PaintWindow(reinterpret_cast<HDC>(Message.WParam));
      Message.Result = 1;
      return;
    default:
      break;
  }
  const auto Step = [this](Integer N) {
    SetValue(FValue + N);
    DoLastChange();
  };
  const auto Inherited = [this](TMessage& M) { TspSkinCustomControl::Dispatch(M); };
  if (DispatchArrowSteps(this, Message, TrackBarSteps(FVertical), FCanFocused, IsFocused(), Step, Inherited)) return;
  TspSkinCustomControl::Dispatch(Message);
}
