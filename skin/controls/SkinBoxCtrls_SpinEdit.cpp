// The spin edit: a value kept in its bounds, shown as an integer or with fixed decimals in
// an inner numeric edit; typed numbers are taken at once, the buttons step and repeat.
#include <cmath>

#include "platform/rtl/NumConv.h"
#include "platform/ui/GraphUtil.h"
#include "platform/win/Gdi.h"
#include "platform/win/Input.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Text.h"
#include "platform/win/Timers.h"
#include "platform/win/WindowDc.h"
#include "platform/win/WindowManager.h"
#include "skin/controls/SkinBoxCtrls.h"

namespace {

constexpr UINT_PTR SpinTimerId = 1;
constexpr UINT SpinWaitMs = 500;
constexpr UINT SpinRepeatMs = 100;
constexpr UINT SpinReturnMs = 50;
constexpr char SpinDecimalSeparator = '.';

Integer SpinFontHeight(TFont* F) {
  HDC DC = GetDC(nullptr);
  const HGDIOBJ Old = SelectObject(DC, F->Handle());
  TEXTMETRIC Tm{};
  GetTextMetrics(DC, &Tm);
  SelectObject(DC, Old);
  ReleaseDC(nullptr, DC);
  return Tm.tmHeight;
}

}  // namespace

TspSkinSpinEdit::TspSkinSpinEdit(TComponent* AOwner) : TspSkinCustomControl(AOwner) {
  ControlStyle = {csAcceptsControls, csCaptureMouse, csOpaque, csDoubleClicks};
  FEdit = new TspSkinNumEdit(this);
  FEdit->FreeNotification(this);
  FEdit->SetColor(FDefaultColor);
  FEdit->Font()->Assign(DefaultFont());
  FEdit->SetParent(this);
  FEdit->SetAutoSize(false);
  FEdit->SetVisible(true);
  FEdit->SetEditTransparent(false);
  FEdit->OnChange = [this](TObject* S) { EditChange(S); };
  FEdit->OnUpClick = [this](TObject* S) { EditUpClick(S); };
  FEdit->OnDownClick = [this](TObject* S) { EditDownClick(S); };
  FEdit->OnKeyUp = [this](TObject* S, Word& K, TShiftState Sh) { EditKeyUp(S, K, Sh); };
  FEdit->OnKeyDown = [this](TObject* S, Word& K, TShiftState Sh) { EditKeyDown(S, K, Sh); };
  FEdit->OnKeyPress = [this](TObject* S, char32_t& K) { EditKeyPress(S, K); };
  FEdit->OnEnter = [this](TObject* S) { EditEnter(S); };
  FEdit->OnExit = [this](TObject* S) { EditExit(S); };
  FEdit->OnMouseEnter = [this](TObject* S) { EditMouseEnter(S); };
  FEdit->OnMouseLeave = [this](TObject* S) { EditMouseLeave(S); };
  StopCheck = true;
  SetText("0");
  StopCheck = false;
  SetBounds(Left(), Top(), 120, 20);
  FSkinDataName = "spinedit";
}

// The inner edit is a child and owned: it goes with the control.
TspSkinSpinEdit::~TspSkinSpinEdit() = default;

void TspSkinSpinEdit::Notification(TComponent* AComponent, TOperation Operation) {
  TspSkinCustomControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FEdit) FEdit = nullptr;
}

// --- value and text ------------------------------------------------------------------------

Double TspSkinSpinEdit::CheckValue(Double X) const {
  if (FMaxValue == 0 && FMinValue == 0) return X;
  if (X < FMinValue) return FMinValue;
  if (X > FMaxValue) return FMaxValue;
  return X;
}

String TspSkinSpinEdit::ValueText(Double V) {
  if (FValueType == vtFloat) return FloatToStrF(V, ffFixed, 15, FDecimal);
  return IntToStr(Round(V));
}

void TspSkinSpinEdit::SetValue(Double X) {
  FValue = CheckValue(X);
  const Boolean Was = StopCheck;
  StopCheck = true;
  if (Was)
    FEdit->SetText(ValueText(CheckValue(X)));
  else
    SetText(ValueText(CheckValue(X)));
  StopCheck = false;
  if (!Was) Change();
}

void TspSkinSpinEdit::SimpleSetValue(Double AValue) {
  FValue = CheckValue(AValue);
  StopCheck = true;
  SetText(ValueText(FValue));
  StopCheck = false;
}

void TspSkinSpinEdit::SetMinValue(Double Value) {
  FMinValue = Value;
  if (FValue < Value) SetValue(Value);
}

void TspSkinSpinEdit::SetMaxValue(Double Value) {
  FMaxValue = Value;
  if (FValue > Value) SetValue(Value);
}

void TspSkinSpinEdit::SetValueType(TspValueType Value) {
  if (FValueType == Value) return;
  FValueType = Value;
  if (Value == vtInteger) {
    FIncrement = static_cast<Double>(Round(FIncrement));
    if (FIncrement == 0) FIncrement = 1;
  }
  FEdit->Float = Value == vtFloat;
}

void TspSkinSpinEdit::SetDefaultColor(TColor Value) {
  FDefaultColor = Value;
  if (FIndex == -1) FEdit->SetColor(Value);
}

void TspSkinSpinEdit::Change() {
  StopCheck = true;
  if (OnChange) OnChange(this);
  StopCheck = false;
}

Boolean TspSkinSpinEdit::IsNumText(const String& AText) {
  if (AText.empty() || AText == "-") return false;
  const String Allowed = FValueType == vtFloat ? String("01234567890-") + SpinDecimalSeparator : String("01234567890-");
  Integer Minus = 0, Seps = 0;
  for (size_t I = 0; I < AText.size(); ++I) {
    const char C = AText[I];
    if (Allowed.find(C) == String::npos) return false;
    if (C == '-' && (I != 0 || ++Minus > 1)) return false;
    if (FValueType == vtFloat && C == SpinDecimalSeparator && (I == 0 || ++Seps > 1)) return false;
  }
  return true;
}

void TspSkinSpinEdit::CMTextChanged(TWMNoParams& Message) {
  TspSkinCustomControl::CMTextChanged(Message);
  if (!FEdit) return;
  if (!FromEdit) FEdit->SetText(Text());
  if (StopCheck || !IsNumText(FEdit->Text())) return;
  const Double N = FValueType == vtFloat ? static_cast<Double>(StrToFloat(FEdit->Text()))
                                         : static_cast<Double>(StrToInt(FEdit->Text()));
  const Double V = CheckValue(N);
  if (V != FValue) {
    FValue = V;
    Change();
  }
  Boolean Rewrite;
  if (N < 0 && V < 0 && V > N)
    Rewrite = true;
  else
    Rewrite = V < N;
  if ((FMinValue > 0 && N < 0) || (FMaxValue < 0 && N > 0)) Rewrite = true;
  if (!Rewrite) return;
  StopCheck = true;
  FEdit->SetText(ValueText(FValueType == vtFloat ? V : FValue));
  StopCheck = false;
}

// --- the inner edit's events -----------------------------------------------------------------

void TspSkinSpinEdit::EditChange(TObject*) {
  FromEdit = true;
  SetText(FEdit->Text());
  FromEdit = false;
}

void TspSkinSpinEdit::EditUpClick(TObject*) {
  SetValue(FValue + FIncrement);
  if (OnUpButtonClick) OnUpButtonClick(this);
}

void TspSkinSpinEdit::EditDownClick(TObject*) {
  SetValue(FValue - FIncrement);
  if (OnDownButtonClick) OnDownButtonClick(this);
}

void TspSkinSpinEdit::EditKeyDown(TObject*, Word& Key, TShiftState Shift) {
  if (OnEditKeyDown) OnEditKeyDown(this, Key, Shift);
}

void TspSkinSpinEdit::EditKeyUp(TObject*, Word& Key, TShiftState Shift) {
  if (OnEditKeyUp) OnEditKeyUp(this, Key, Shift);
}

void TspSkinSpinEdit::EditKeyPress(TObject*, char32_t& Key) {
  if (OnEditKeyPress) OnEditKeyPress(this, Key);
}

void TspSkinSpinEdit::SetEditFontColor(TColor C) {
  if (FEdit) FEdit->Font()->SetColor(C);
}

void TspSkinSpinEdit::EditEnter(TObject*) {
  if (OnEditEnter) OnEditEnter(this);
  FEditFocused = true;
  if (!Skinned()) return;
  if (!IsNullRect(ActiveSkinRect)) Invalidate();
  if (ActiveFontColor != FontColor) SetEditFontColor(ActiveFontColor);
}

void TspSkinSpinEdit::EditExit(TObject*) {
  if (OnEditExit) OnEditExit(this);
  FEditFocused = false;
  if (Skinned() && !IsNullRect(ActiveSkinRect)) Invalidate();
  if (Skinned() && ActiveFontColor != FontColor && !FMouseIn) SetEditFontColor(FontColor);
  // A number typed short of the range shows the value it gave.
  StopCheck = true;
  FEdit->SetText(ValueText(FValue));
  StopCheck = false;
}

void TspSkinSpinEdit::EditMouseEnter(TObject*) {
  FMouseIn = true;
  if (!Skinned() || FEditFocused) return;
  if (!IsNullRect(ActiveSkinRect)) Invalidate();
  if (ActiveFontColor != FontColor) SetEditFontColor(ActiveFontColor);
}

void TspSkinSpinEdit::EditMouseLeave(TObject*) {
  FMouseIn = false;
  if (!Skinned() || FEditFocused) return;
  if (!IsNullRect(ActiveSkinRect)) Invalidate();
  if (ActiveFontColor != FontColor) SetEditFontColor(FontColor);
}

// --- skin, layout --------------------------------------------------------------------------

void TspSkinSpinEdit::GetSkinData() {
  TspSkinCustomControl::GetSkinData();
  if (FIndex == -1) return;
  auto* D = dynamic_cast<TspDataSkinSpinEditControl*>(FSD->CtrlList.Items(FIndex));
  if (!D) return;
  ActiveSkinRect = D->ActiveSkinRect;
  FontName = D->FontName;
  FontStyle = D->FontStyle;
  FontHeight = D->FontHeight;
  FontColor = D->FontColor;
  ActiveFontColor = D->ActiveFontColor;
  DisabledFontColor = D->DisabledFontColor;
  UpButtonRect = D->UpButtonRect;
  ActiveUpButtonRect = D->ActiveUpButtonRect;
  DownUpButtonRect = IsNullRect(D->DownUpButtonRect) ? ActiveUpButtonRect : D->DownUpButtonRect;
  DownButtonRect = D->DownButtonRect;
  ActiveDownButtonRect = D->ActiveDownButtonRect;
  DownDownButtonRect = IsNullRect(D->DownDownButtonRect) ? ActiveDownButtonRect : D->DownDownButtonRect;
  LOffset = LTPt.X;
  ROffset = RectWidth(SkinRect) - RTPt.X;
}

void TspSkinSpinEdit::CalcSize(Integer& AWidth, Integer& AHeight) {
  if (FUseSkinSize) {
    TspSkinCustomControl::CalcSize(AWidth, AHeight);
    return;
  }
  const Integer DX = AWidth - RectWidth(SkinRect);
  NewLTPoint = LTPt;
  NewRTPoint = Point(RTPt.X + DX, RTPt.Y);
  NewClRect = ClRect;
  NewClRect.Right += DX;
}

void TspSkinSpinEdit::SetControlRegion() {
  if (FUseSkinSize) TspSkinCustomControl::SetControlRegion();
}

void TspSkinSpinEdit::DefaultFontChanged() {
  if ((FIndex != -1 && FUseSkinFont) || !FEdit) return;
  FEdit->Font()->Assign(DefaultFont());
  AdjustEditHeight();
}

void TspSkinSpinEdit::AdjustEditHeight() { FEdit->SetHeight(SpinFontHeight(FEdit->Font())); }

void TspSkinSpinEdit::ArrangeParts() {
  if (!FEdit) return;
  const Integer W = Width(), H = Height();
  TRect ER;
  if (FIndex == -1) {
    Buttons[0].R = Rect(W - 17, 2, W - 2, H / 2);
    Buttons[1].R = Rect(W - 17, H / 2, W - 2, H - 2);
    ER = Rect(2, 2, W - 17, H - 2);
  } else {
    const Integer DX = W - RectWidth(SkinRect);
    Buttons[0].R = UpButtonRect;
    Buttons[1].R = DownButtonRect;
    for (TspCBButtonX& B : Buttons)
      if (B.R.Left > RTPt.X) OffsetRect(&B.R, DX, 0);
    ER = ClRect;
    ER.Right += DX;
    if (!FUseSkinSize) {
      const Integer DY = H - RectHeight(SkinRect);
      ER.Bottom += DY;
      if (Buttons[1].R.Bottom < Buttons[0].R.Bottom) {
        Buttons[0].R.Bottom += DY;
        Buttons[1].R.Bottom += DY;
      } else {
        TRect U = Rect(Buttons[0].R.Left, Buttons[0].R.Top, Buttons[1].R.Right, Buttons[1].R.Bottom);
        U.Bottom += DY;
        // The middle of the pair, wherever the pair begins.
        const Integer M = (U.Top + U.Bottom) / 2;
        Buttons[0].R = Rect(U.Left, U.Top, U.Right, M);
        Buttons[1].R = Rect(U.Left, M, U.Right, U.Bottom);
      }
    }
  }
  const Integer EH = SpinFontHeight(FEdit->Font());
  FEdit->SetBounds(ER.Left, ER.Top + RectHeight(ER) / 2 - EH / 2, RectWidth(ER), EH);
}

void TspSkinSpinEdit::ChangeSkinData() {
  TspSkinCustomControl::ChangeSkinData();
  if (!FEdit) return;
  TFont* F = FEdit->Font();
  if (FIndex == -1) {
    F->Assign(DefaultFont());
  } else if (FUseSkinFont) {
    F->SetStyle(FontStyle);
    F->SetColor(FontColor);
    F->SetHeight(FontHeight);
    F->SetName(FontName);
  } else {
    F->Assign(DefaultFont());
    F->SetColor(FontColor);
  }
  F->SetCharset(FSD && FSD->ResourceStrData() ? FSD->ResourceStrData()->CharSet() : DefaultFont()->Charset());
  FEdit->SetEditTransparent(FIndex != -1);
  if (FIndex == -1) FEdit->SetColor(FDefaultColor);
  if (FIndex != -1 && FUseSkinSize) SetHeight(RectHeight(SkinRect));
  ArrangeParts();
  if (Enabled())
    F->SetColor(FIndex == -1 ? DefaultFont()->Color() : (FMouseIn || FEditFocused) ? ActiveFontColor : FontColor);
  else
    F->SetColor(FIndex == -1 ? clGrayText : DisabledFontColor);
  Invalidate();
}

void TspSkinSpinEdit::Invalidate() {
  TspSkinCustomControl::Invalidate();
  if (FIndex != -1 && FEdit) FEdit->Invalidate();
}

// --- painting ------------------------------------------------------------------------------

void TspSkinSpinEdit::DrawDefaultImage(TBitmap* B) {
  TCanvas* C = B->Canvas();
  TRect R = Rect(0, 0, Width(), Height());
  C->Brush()->SetColor(FDefaultColor);
  C->FillRect(R);
  Frame3D(C, R, clBtnShadow, clBtnShadow, 1);
  Frame3D(C, R, clBtnFace, clBtnFace, 1);
  for (Integer I = 0; I < 2; ++I) {
    const TspCBButtonX& Bt = Buttons[I];
    if (Bt.Down && Bt.MouseIn)
      DrawPlainFace(C, Bt.R, spfsPressed);
    else if (Bt.MouseIn)
      DrawPlainFace(C, Bt.R, spfsHot);
    else {
      C->Brush()->SetColor(clBtnFace);
      C->FillRect(Bt.R);
    }
    DrawArrow(C, Bt.R, clBlack, I == 0 ? 3 : 4);
  }
}

void TspSkinSpinEdit::DrawSpinButton(TCanvas* C, Integer I) {
  const TspCBButtonX& Bt = Buttons[I];
  DrawSkinEditButton(C, FSD, Bt.R, Bt.Down && Bt.MouseIn, Bt.MouseIn, I == 0 ? 3 : 4);
}

void TspSkinSpinEdit::DrawSkinImage(TBitmap* B) {
  const Boolean Hot = FEditFocused || FMouseIn;
  if (!FUseSkinSize) {
    const TRect& Src = Hot && !IsNullRect(ActiveSkinRect) ? ActiveSkinRect : SkinRect;
    if (Picture) CreateStretchSkinImage(B, Picture, Src, ClRect, true);
    for (Integer I = 0; I < 2; ++I) DrawSpinButton(B->Canvas(), I);
    return;
  }
  if (!Hot || IsNullRect(ActiveSkinRect))
    TspSkinCustomControl::DrawSkinImage(B);
  else if (Picture)
    CreateHSkinImage(LOffset, ROffset, B, Picture, ActiveSkinRect, Width(), RectHeight(ActiveSkinRect), StretchEffect);
  if (!Picture) return;
  const TRect Pressed[2] = {DownUpButtonRect, DownDownButtonRect};
  const TRect Active[2] = {ActiveUpButtonRect, ActiveDownButtonRect};
  for (Integer I = 0; I < 2; ++I) {
    const TspCBButtonX& Bt = Buttons[I];
    if (!Bt.MouseIn) continue;
    const TRect& Src = Bt.Down ? Pressed[I] : Active[I];
    if (!IsNullRect(Src)) B->Canvas()->CopyRect(Bt.R, Picture->Canvas(), Src);
  }
}

// --- buttons -------------------------------------------------------------------------------

void TspSkinSpinEdit::HitTestButtons(Integer X, Integer Y) {
  OldActiveButton = ActiveButton;
  ActiveButton = -1;
  for (Integer I = 0; I < 2; ++I)
    if (PtInRect(&Buttons[I].R, Point(X, Y))) {
      ActiveButton = I;
      break;
    }
  if (CaptureButton != -1 && ActiveButton != CaptureButton) ActiveButton = -1;
  if (ActiveButton == OldActiveButton) return;
  if (OldActiveButton != -1) {
    TspCBButtonX& B = Buttons[OldActiveButton];
    B.MouseIn = false;
    Invalidate();
    if (B.Down && HandleAllocated()) KillTimer(Handle(), SpinTimerId);
  }
  if (ActiveButton != -1) {
    TspCBButtonX& B = Buttons[ActiveButton];
    B.MouseIn = true;
    Invalidate();
    if (B.Down && HandleAllocated()) SetTimer(Handle(), SpinTimerId, SpinReturnMs, nullptr);
  }
}

void TspSkinSpinEdit::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  HitTestButtons(X, Y);
  if (ActiveButton != -1 && Button == mbLeft) {
    CaptureButton = ActiveButton;
    TspCBButtonX& B = Buttons[ActiveButton];
    B.MouseIn = true;
    B.Down = true;
    Invalidate();
    TimerMode = ActiveButton == 0 ? 2 : 1;
    WaitMode = true;
    SetTimer(Handle(), SpinTimerId, SpinWaitMs, nullptr);
  }
  TspSkinCustomControl::MouseDown(Button, Shift, X, Y);
}

void TspSkinSpinEdit::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  TspSkinCustomControl::MouseMove(Shift, X, Y);
  HitTestButtons(X, Y);
}

void TspSkinSpinEdit::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  if (CaptureButton != -1) ButtonRelease(CaptureButton);
  CaptureButton = -1;
  TspSkinCustomControl::MouseUp(Button, Shift, X, Y);
}

void TspSkinSpinEdit::ButtonRelease(Integer I) {
  if (HandleAllocated()) KillTimer(Handle(), SpinTimerId);
  TimerMode = 0;
  TspCBButtonX& B = Buttons[I];
  B.Down = false;
  if (I != ActiveButton) B.MouseIn = false;
  Invalidate();
  if (!B.MouseIn) return;
  if (I == 0) {
    SetValue(FValue + FIncrement);
    if (OnUpButtonClick) OnUpButtonClick(this);
  } else {
    SetValue(FValue - FIncrement);
    if (OnDownButtonClick) OnDownButtonClick(this);
  }
}

// --- messages ------------------------------------------------------------------------------

void TspSkinSpinEdit::CMMouseEnter(TWMNoParams& Message) {
  TspSkinCustomControl::CMMouseEnter(Message);
  HitTestButtons(-1, -1);
  if (!Skinned() || FEditFocused) return;
  if (!IsNullRect(ActiveSkinRect)) {
    FMouseIn = true;
    Invalidate();
  }
  if (ActiveFontColor != FontColor) SetEditFontColor(ActiveFontColor);
}

void TspSkinSpinEdit::CMMouseLeave(TWMNoParams& Message) {
  TspSkinCustomControl::CMMouseLeave(Message);
  for (TspCBButtonX& B : Buttons)
    if (B.MouseIn) {
      B.MouseIn = false;
      Invalidate();
    }
  POINT P{};
  GetCursorPos(&P);
  if (FEdit && FEdit->HandleAllocated() && WindowFromPoint(P) == FEdit->Handle()) return;
  if (!Skinned() || FEditFocused) return;
  if (!IsNullRect(ActiveSkinRect)) {
    FMouseIn = false;
    Invalidate();
  }
  if (ActiveFontColor != FontColor) SetEditFontColor(FontColor);
}

void TspSkinSpinEdit::CMEnabledChanged(TWMNoParams& Message) {
  TspSkinCustomControl::CMEnabledChanged(Message);
  if (Enabled())
    SetEditFontColor(Skinned() ? FontColor : DefaultFont()->Color());
  else
    SetEditFontColor(Skinned() ? DisabledFontColor : clGrayText);
}

void TspSkinSpinEdit::CMFocusChanged(TCMFocusChanged& Message) {
  TspSkinCustomControl::CMFocusChanged(Message);
  if (Focused() && FEdit && FEdit->HandleAllocated()) FEdit->SetFocus();
}

void TspSkinSpinEdit::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_SIZE:
      TspSkinCustomControl::Dispatch(Message);
      ArrangeParts();
      return;
    case WM_TIMER:
      TspSkinCustomControl::Dispatch(Message);
      if (WaitMode) {
        WaitMode = false;
        SetTimer(Handle(), SpinTimerId, SpinRepeatMs, nullptr);
        return;
      }
      if (TimerMode == 1) SetValue(FValue - FIncrement);
      if (TimerMode == 2) SetValue(FValue + FIncrement);
      return;
    case WM_ERASEBKGND: {
      if (FInPaint) break;
      PaintWholeImageWithEdit(reinterpret_cast<HDC>(Message.WParam), FEdit);
      Message.Result = 1;
      return;
    }
    case WM_PAINT:
      FInPaint = true;
      TspSkinCustomControl::Dispatch(Message);
      FInPaint = false;
      return;
    default:
      break;
  }
  TspSkinCustomControl::Dispatch(Message);
}
