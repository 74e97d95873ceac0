// TCustomLabel: text drawing, auto-size by DT_CALCRECT and the accelerator.
#include "platform/ui/StdCtrls.h"

#include "platform/ui/Controls_WinApi.h"
#include "platform/win/DrawText.h"
#include "platform/win/Keyboard.h"
#include "platform/win/SysColors.h"

namespace {

// Lends a DC to a control's canvas for a scope (a measurement outside painting).
class LentCanvas {
 public:
  LentCanvas(TCanvas* Canvas, HDC DC) : FCanvas(dynamic_cast<TControlCanvas*>(Canvas)) {
    if (!FCanvas) return;
    FCanvas->Lock();
    FCanvas->FreeHandle();
    FCanvas->SetHandle(DC);
  }
  ~LentCanvas() {
    if (!FCanvas) return;
    FCanvas->SetHandle(nullptr);
    FCanvas->Unlock();
  }
  LentCanvas(const LentCanvas&) = delete;
  LentCanvas& operator=(const LentCanvas&) = delete;

 private:
  TControlCanvas* FCanvas;
};

// The screen DC for a scope.
class ScreenDC {
 public:
  ScreenDC() : FDC(GetDC(nullptr)) {}
  ~ScreenDC() {
    if (FDC) ReleaseDC(nullptr, FDC);
  }
  ScreenDC(const ScreenDC&) = delete;
  ScreenDC& operator=(const ScreenDC&) = delete;
  HDC Handle() const { return FDC; }

 private:
  HDC FDC;
};

constexpr Integer AlignmentFlags[] = {DT_LEFT, DT_RIGHT, DT_CENTER};

}  // namespace

TCustomLabel::TCustomLabel(TComponent* AOwner) : TGraphicControl(AOwner) {
  ControlStyle.Include(csReplicatable);
  ControlStyle.Include(csOpaque);
  SetBounds(0, 0, 65, 17);
  // Nothing to measure yet: the size follows the first caption.
  TControl::SetAutoSize(true);
}

TCustomLabel::~TCustomLabel() {
  if (FFocusControl) FFocusControl->RemoveFreeNotification(this);
}

String TCustomLabel::GetLabelText() { return Caption(); }

void TCustomLabel::DoDrawText(TRect& Rect, Integer Flags) {
  String Text = GetLabelText();
  if ((Flags & DT_CALCRECT) && (Text.empty() || (FShowAccelChar && Text == "&"))) Text += ' ';
  if (!FShowAccelChar) Flags |= DT_NOPREFIX;
  TCanvas* C = Canvas();
  C->SetFont(Font());
  const UINT Format = static_cast<UINT>(Flags);
  if (!Enabled()) {
    OffsetRect(&Rect, 1, 1);
    C->Font()->SetColor(clBtnHighlight);
    DrawText(C->Handle(), Text, -1, &Rect, Format);
    OffsetRect(&Rect, -1, -1);
    C->Font()->SetColor(clBtnShadow);
    DrawText(C->Handle(), Text, -1, &Rect, Format);
  } else {
    DrawText(C->Handle(), Text, -1, &Rect, Format);
  }
}

void TCustomLabel::Paint() {
  TCanvas* C = Canvas();
  const TRect Client = ClientRect();
  if (!Transparent()) {
    C->Brush()->SetColor(Color());
    C->Brush()->SetStyle(bsSolid);
    C->FillRect(Client);
  }
  C->Brush()->SetStyle(bsClear);
  TRect R = Client;
  const Integer DrawStyle = DT_EXPANDTABS | (FWordWrap ? DT_WORDBREAK : 0) | AlignmentFlags[FAlignment];
  if (FLayout != tlTop) {
    TRect Calc = R;
    DoDrawText(Calc, DrawStyle | DT_CALCRECT);
    const Integer Offset = Height() - Calc.Bottom;
    OffsetRect(&R, 0, FLayout == tlBottom ? Offset : Offset / 2);
  }
  DoDrawText(R, DrawStyle);
}

void TCustomLabel::AdjustBounds() {
  if (!AutoSize() || ComponentState().Contains(csLoading) || ComponentState().Contains(csDestroying)) return;
  TRect R = ClientRect();
  {
    ScreenDC DC;
    if (!DC.Handle()) return;
    LentCanvas Lend(Canvas(), DC.Handle());
    DoDrawText(R, DT_EXPANDTABS | DT_CALCRECT | (FWordWrap ? DT_WORDBREAK : 0));
  }
  Integer X = Left();
  if (FAlignment == taRightJustify) X += Width() - R.Right;
  SetBounds(X, Top(), R.Right, R.Bottom);
}

void TCustomLabel::SetAlignment(TAlignment Value) {
  if (FAlignment == Value) return;
  FAlignment = Value;
  Invalidate();
}

void TCustomLabel::SetAutoSize(Boolean Value) {
  if (AutoSize() == Value) return;
  TGraphicControl::SetAutoSize(Value);
  AdjustBounds();
}

void TCustomLabel::SetFocusControl(TWinControl* Value) {
  if (FFocusControl == Value) return;
  if (FFocusControl) FFocusControl->RemoveFreeNotification(this);
  FFocusControl = Value;
  if (Value) Value->FreeNotification(this);
}

void TCustomLabel::SetLayout(TTextLayout Value) {
  if (FLayout == Value) return;
  FLayout = Value;
  Invalidate();
}

void TCustomLabel::SetShowAccelChar(Boolean Value) {
  if (FShowAccelChar == Value) return;
  FShowAccelChar = Value;
  Invalidate();
}

void TCustomLabel::SetTransparent(Boolean Value) {
  if (Transparent() == Value) return;
  if (Value)
    ControlStyle.Exclude(csOpaque);
  else
    ControlStyle.Include(csOpaque);
  Invalidate();
}

void TCustomLabel::SetWordWrap(Boolean Value) {
  if (FWordWrap == Value) return;
  FWordWrap = Value;
  AdjustBounds();
  Invalidate();
}

void TCustomLabel::Notification(TComponent* AComponent, TOperation Operation) {
  TGraphicControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent && AComponent == FFocusControl) FFocusControl = nullptr;
}

void TCustomLabel::CMTextChanged(TWMNoParams& Message) {
  TGraphicControl::CMTextChanged(Message);
  Invalidate();
  AdjustBounds();
}

void TCustomLabel::CMFontChanged(TWMNoParams& Message) {
  TGraphicControl::CMFontChanged(Message);
  AdjustBounds();
}

void TCustomLabel::CMDialogChar(TCMDialogChar& Message) {
  if (FFocusControl && Enabled() && FShowAccelChar && IsAccel(Message.CharCode(), Caption()) &&
      FFocusControl->CanFocus()) {
    FFocusControl->SetFocus();
    Message.Result() = 1;
    return;
  }
  TGraphicControl::CMDialogChar(Message);
}
