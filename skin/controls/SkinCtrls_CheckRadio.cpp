// The skinned check box and radio button: check state and groups, mouse, keys and focus,
// the hover morph and the four looks (flat or framed, skinned or plain).
#include <algorithm>

#include "platform/ui/ActnList.h"
#include "platform/ui/Timers.h"
#include "platform/win/DrawText.h"
#include "platform/win/Focus.h"
#include "platform/win/Keyboard.h"
#include "skin/controls/SkinCtrls.h"
#include "skin/core/bitmaps/spEffBmp_EffectKinds.h"
#include "skin/core/drawing/SPUtils.h"

namespace {

constexpr Double CheckMorphStep = 0.2;
constexpr Integer CheckMorphInterval = 20;
// The plain looks: the box, the mark's place and where the text starts.
constexpr Integer PlainBoxLeft = 3, PlainBoxRight = 17, PlainBoxHalf = 7, PlainMarkLeft = 7;
constexpr Integer PlainTextLeft = 22, FramedPlainTextLeft = 19;

TRect RectOrCheckRadio(const TRect& R, const TRect& Fallback) { return IsNullRect(R) ? Fallback : R; }

// A bitmap holding rectangle R of Source.
TOwned<TBitmap> CheckRadioPiece(TBitmap* Source, const TRect& R) {
  auto P = CreateOwned<TBitmap>();
  P->SetPixelFormat(pf24bit);
  P->SetSize(RectWidth(R), RectHeight(R));
  P->Canvas()->CopyRect(Rect(0, 0, RectWidth(R), RectHeight(R)), Source->Canvas(), R);
  return P;
}

}  // namespace

TspSkinCheckRadioBox::TspSkinCheckRadioBox(TComponent* AOwner) : TspSkinCustomControl(AOwner) {
  FSkinDataName = "checkbox";
  SetBounds(Left(), Top(), 150, 25);
}

void TspSkinCheckRadioBox::BeforeDestruction() {
  StopMorph();
  TspSkinCustomControl::BeforeDestruction();
}

// --- Properties ---------------------------------------------------------------------------

void TspSkinCheckRadioBox::SetChecked(Boolean Value) {
  FChecked = Value;
  if (Value || FState == cbChecked) FState = Value ? cbChecked : cbUnchecked;
  Invalidate();
  if (FChecked && FGroupIndex != 0) UncheckGroupSiblings();
  if ((!FRadio || FChecked) && OnClick) OnClick(this);
}

void TspSkinCheckRadioBox::ActionChange(TObject* Sender) {
  TspSkinCustomControl::ActionChange(Sender);
  // The box follows its action's check mark; an unchanged mark raises no click.
  if (auto* A = dynamic_cast<TCustomAction*>(Sender); A && A->Checked() != FChecked) SetChecked(A->Checked());
}

void TspSkinCheckRadioBox::SetState(TCheckBoxState Value) {
  FState = Value;
  FChecked = Value == cbChecked;
  Invalidate();
  if (OnClick) OnClick(this);
}

void TspSkinCheckRadioBox::SetAllowGrayed(Boolean Value) {
  FAllowGrayed = Value;
  Invalidate();
}

void TspSkinCheckRadioBox::SetRadio(Boolean Value) {
  FRadio = Value;
  const bool Designing = ComponentState().Contains(csDesigning);
  if ((FIndex == -1 && FDrawDefault) || Designing) Invalidate();
  if (Designing && !ComponentState().Contains(csLoading)) {
    SetSkinDataName(Value ? "radiobox" : "checkbox");
    FGroupIndex = Value ? 1 : 0;
  }
}

void TspSkinCheckRadioBox::SetFlat(Boolean Value) {
  FFlat = Value;
  Invalidate();
}

void TspSkinCheckRadioBox::SetWordWrap(Boolean Value) {
  if (FWordWrap == Value) return;
  FWordWrap = Value;
  if (FFlat) Invalidate();
}

void TspSkinCheckRadioBox::SetImages(TCustomImageList* Value) {
  FImages = Value;
  if (Value) Value->FreeNotification(this);
  Invalidate();
}

void TspSkinCheckRadioBox::SetImageIndex(Integer Value) {
  FImageIndex = Value;
  Invalidate();
}

void TspSkinCheckRadioBox::SetCanFocused(Boolean Value) {
  FCanFocused = Value;
  SetTabStop(Value);
}

void TspSkinCheckRadioBox::Notification(TComponent* AComponent, TOperation Operation) {
  TspSkinCustomControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FImages) FImages = nullptr;
}

// --- Checking ------------------------------------------------------------------------------

void TspSkinCheckRadioBox::Toggle() {
  if (!FRadio)
    SetChecked(!FChecked);
  else if (!FChecked)
    SetChecked(true);
}

void TspSkinCheckRadioBox::UncheckGroupSiblings() {
  TWinControl* P = Parent();
  if (!P) return;
  for (Integer I = 0; I < P->ControlCount(); ++I) {
    auto* Box = dynamic_cast<TspSkinCheckRadioBox*>(P->Controls(I));
    if (Box && Box != this && Box->FGroupIndex == FGroupIndex && Box->FChecked) Box->SetChecked(false);
  }
}

Boolean TspSkinCheckRadioBox::IsFocused() { return FCanFocused && Focused(); }

// --- Mouse, keys and focus -------------------------------------------------------------

void TspSkinCheckRadioBox::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  if (Button == mbLeft) {
    FDown = true;
    if (!FMouseIn) {
      FMouseIn = true;
      ReDraw();
    }
  }
  TspSkinCustomControl::MouseDown(Button, Shift, X, Y);
}

void TspSkinCheckRadioBox::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TspSkinCustomControl::MouseUp(Button, Shift, X, Y);
  if (Button != mbLeft) return;
  // Every left release ends the press, so a later release alone never clicks.
  const bool Pressed = FDown;
  FDown = false;
  if (!FMouseIn || !Pressed) return;
  if (FAllowGrayed && !FRadio && FState == cbUnchecked) {
    FState = cbGrayed;
    Invalidate();
    if (OnClick) OnClick(this);
  } else {
    Toggle();
  }
}

void TspSkinCheckRadioBox::WndProc(TMessage& Message) {
  if (FCanFocused) {
    if (DropClickWhileFocusing(this, Message, FClicksDisabled)) return;
    if (Message.Msg == WM_KEYUP && Message.WParam == static_cast<WPARAM>(VK_SPACE) && IsFocused()) Toggle();
  }
  TspSkinCustomControl::WndProc(Message);
}

void TspSkinCheckRadioBox::CMDialogChar(TCMDialogChar& Message) {
  if (IsAccel(Message.CharCode(), Caption()) && CanFocus() && FCanFocused) {
    SetFocus();
    Toggle();
    Message.Result() = 1;
    return;
  }
  TspSkinCustomControl::CMDialogChar(Message);
}

void TspSkinCheckRadioBox::WMSetFocus(TWMSetFocus& Message) {
  TspSkinCustomControl::WMSetFocus(Message);
  if (FCanFocused) ReDraw();
}

void TspSkinCheckRadioBox::WMKillFocus(TWMKillFocus& Message) {
  TspSkinCustomControl::WMKillFocus(Message);
  if (FCanFocused) ReDraw();
}

void TspSkinCheckRadioBox::CMTextChanged(TWMNoParams& Message) {
  TspSkinCustomControl::CMTextChanged(Message);
  if (FIndex != -1 || FDrawDefault || ComponentState().Contains(csDesigning)) Invalidate();
}

void TspSkinCheckRadioBox::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_ERASEBKGND:
      if (!FromWMPaint && !FFlat) PaintWindow(reinterpret_cast<HDC>(Message.WParam));
      Message.Result = 1;
      return;
    case WM_MOVE:
      TspSkinCustomControl::Dispatch(Message);
      Invalidate();
      return;
    default:
      TspSkinCustomControl::Dispatch(Message);
  }
}

// --- Hover and morph ---------------------------------------------------------------------

Boolean TspSkinCheckRadioBox::EnableMorphing() const {
  return Morphing && FSD && !FSD->Empty && FSD->EnableSkinEffects();
}

void TspSkinCheckRadioBox::ReDraw() {
  if (EnableMorphing() && FIndex != -1)
    StartMorph();
  else
    Invalidate();
}

void TspSkinCheckRadioBox::StartMorph() {
  if (MorphTimer) return;
  MorphTimer = ::Create<TTimer>(this);
  MorphTimer->SetInterval(CheckMorphInterval);
  MorphTimer->OnTimer = [this](TObject*) { DoMorphing(); };
  MorphTimer->SetEnabled(true);
}

void TspSkinCheckRadioBox::StopMorph() {
  if (!MorphTimer) return;
  MorphTimer->SetEnabled(false);
  FreeAndNil(MorphTimer);
}

void TspSkinCheckRadioBox::DoMorphing() {
  const bool Active = FMouseIn || IsFocused();
  if (FIndex == -1 || !EnableMorphing()) {
    FMorphKf = Active ? 1 : 0;
    StopMorph();
    return;
  }
  if (Active && FMorphKf < 1) {
    FMorphKf = std::min(1.0, FMorphKf + CheckMorphStep);
  } else if (!Active && FMorphKf > 0) {
    FMorphKf = std::max(0.0, FMorphKf - CheckMorphStep);
  } else {
    FMorphKf = Active ? 1 : 0;
    StopMorph();
  }
  Invalidate();
}

void TspSkinCheckRadioBox::CMMouseEnter(TWMNoParams& Message) {
  TspSkinCustomControl::CMMouseEnter(Message);
  if (ComponentState().Contains(csDesigning)) return;
  FMouseIn = true;
  ReDraw();
}

void TspSkinCheckRadioBox::CMMouseLeave(TWMNoParams& Message) {
  TspSkinCustomControl::CMMouseLeave(Message);
  if (ComponentState().Contains(csDesigning)) return;
  FMouseIn = false;
  ReDraw();
}

void TspSkinCheckRadioBox::CMEnabledChanged(TWMNoParams& Message) {
  TspSkinCustomControl::CMEnabledChanged(Message);
  if (EnableMorphing()) {
    StopMorph();
    FMorphKf = 0;
  }
  FMouseIn = false;
  Invalidate();
}

// --- Skin ------------------------------------------------------------------------------

void TspSkinCheckRadioBox::GetSkinData() {
  TspSkinCustomControl::GetSkinData();
  if (FIndex != -1) {
    auto* D = dynamic_cast<TspDataSkinCheckRadioControl*>(FSD->CtrlList.Items(FIndex));
    if (!D) {
      // A descriptor of another kind has nothing to draw a box from.
      FIndex = -1;
    } else {
      FontName = D->FontName;
      FontStyle = D->FontStyle;
      FontHeight = D->FontHeight;
      FontColor = D->FontColor;
      ActiveFontColor = D->ActiveFontColor;
      FrameFontColor = D->FrameFontColor;
      UnEnabledFontColor = D->UnEnabledFontColor;
      ActiveSkinRect = RectOrCheckRadio(D->ActiveSkinRect, SkinRect);
      CheckImageArea = D->CheckImageArea;
      TextArea = D->TextArea;
      CheckImageRect = D->CheckImageRect;
      UnCheckImageRect = D->UnCheckImageRect;
      ActiveCheckImageRect = RectOrCheckRadio(D->ActiveCheckImageRect, CheckImageRect);
      ActiveUnCheckImageRect = RectOrCheckRadio(D->ActiveUnCheckImageRect, UnCheckImageRect);
      UnEnabledCheckImageRect = RectOrCheckRadio(D->UnEnabledCheckImageRect, CheckImageRect);
      UnEnabledUnCheckImageRect = RectOrCheckRadio(D->UnEnabledUnCheckImageRect, UnCheckImageRect);
      GrayedCheckImageRect = D->GrayedCheckImageRect;
      ActiveGrayedCheckImageRect = D->ActiveGrayedCheckImageRect;
      Morphing = D->Morphing;
      MorphKind = D->MorphKind;
      if (FFlat) {
        Morphing = false;
        MaskPicture = nullptr;
      }
    }
  }
  if (FIndex == -1) {
    Morphing = false;
    FMorphKf = 0;
  }
}

void TspSkinCheckRadioBox::ChangeSkinData() {
  if (FFlat) {
    GetSkinData();
    Invalidate();
    return;
  }
  StopMorph();
  TspSkinCustomControl::ChangeSkinData();
  if (EnableMorphing() && FIndex != -1 && (IsFocused() || FMouseIn)) FMorphKf = 1;
}

void TspSkinCheckRadioBox::CheckParentBackground() {
  if (FFlat)
    Invalidate();
  else
    TspSkinCustomControl::CheckParentBackground();
}

void TspSkinCheckRadioBox::CalcSize(Integer& AWidth, Integer& AHeight) {
  if (FFlat) return;
  TspSkinCustomControl::CalcSize(AWidth, AHeight);
  if (FIndex == -1) return;
  const Integer D = AWidth - RectWidth(SkinRect);
  NewTextArea = TextArea;
  NewTextArea.Right += D;
  TRect R = CheckImageArea;
  if (TextArea.Right < CheckImageArea.Right) OffsetRect(&R, D, 0);
  const Integer W = RectWidth(CheckImageRect), H = RectHeight(CheckImageRect);
  CIRect.Left = R.Left + RectWidth(R) / 2 - W / 2;
  CIRect.Top = R.Top + RectHeight(R) / 2 - H / 2;
  CIRect.Right = CIRect.Left + W;
  CIRect.Bottom = CIRect.Top + H;
}

// --- Drawing ---------------------------------------------------------------------------

void TspSkinCheckRadioBox::DrawTransparentImage(Integer X, Integer Y, TCanvas* Cnvs, const TRect& R) {
  if (!Picture || IsNullRect(R)) return;
  auto P = CheckRadioPiece(Picture, R);
  P->SetTransparentMode(tmAuto);
  P->SetTransparent(true);
  Cnvs->Draw(X, Y, P.get());
}

void TspSkinCheckRadioBox::DrawGrayedImage(Integer X, Integer Y, TCanvas* Cnvs, const TRect& BaseRect) {
  if (!IsNullRect(GrayedCheckImageRect)) {
    const bool Hot = FMouseIn && !IsNullRect(ActiveGrayedCheckImageRect);
    DrawTransparentImage(X, Y, Cnvs, Hot ? ActiveGrayedCheckImageRect : GrayedCheckImageRect);
    return;
  }
  if (!Picture || IsNullRect(BaseRect)) return;
  auto P = CheckRadioPiece(Picture, BaseRect);
  TOwned<TspEffectBmp> E(TspEffectBmp::CreateFromhWnd(P->Handle()));
  E->ChangeBrightness(0.5);
  E->Draw(P->Canvas()->Handle(), 0, 0);
  P->SetTransparentMode(tmAuto);
  P->SetTransparent(true);
  Cnvs->Draw(X, Y, P.get());
}

void TspSkinCheckRadioBox::DrawCheckPicture(TCanvas* Cnvs, Integer X, Integer Y) {
  TRect Unchecked, CheckedR;
  if (!Enabled()) {
    Unchecked = UnEnabledUnCheckImageRect;
    CheckedR = UnEnabledCheckImageRect;
  } else if (FMouseIn) {
    Unchecked = ActiveUnCheckImageRect;
    CheckedR = ActiveCheckImageRect;
  } else {
    Unchecked = UnCheckImageRect;
    CheckedR = CheckImageRect;
  }
  if (FState == cbGrayed)
    DrawGrayedImage(X, Y, Cnvs, CheckedR);
  else
    DrawTransparentImage(X, Y, Cnvs, FChecked ? CheckedR : Unchecked);
}

void TspSkinCheckRadioBox::DrawPlainMark(TCanvas* Cnvs) {
  const Integer H2 = Height() / 2;
  Cnvs->Brush()->SetColor(FMouseIn ? clNavy : clBtnShadow);
  Cnvs->FrameRect(Rect(PlainBoxLeft, H2 - PlainBoxHalf, PlainBoxRight, H2 + PlainBoxHalf));
  Cnvs->Brush()->SetStyle(bsClear);
  if (FState == cbGrayed && !FRadio) {
    DrawCheckImage(Cnvs, PlainMarkLeft, H2 - 4, clGrayText);
  } else if (FChecked) {
    const TColor C = Enabled() ? clBlack : clBtnShadow;
    if (FRadio)
      DrawRadioImage(Cnvs, PlainMarkLeft, H2 - 3, C);
    else
      DrawCheckImage(Cnvs, PlainMarkLeft, H2 - 4, C);
  }
}

void TspSkinCheckRadioBox::SetTextFont(TCanvas* Cnvs) {
  if (FIndex != -1 && FUseSkinFont) {
    Cnvs->Font()->SetName(FontName);
    Cnvs->Font()->SetHeight(FontHeight);
    Cnvs->Font()->SetStyle(FontStyle);
  } else {
    Cnvs->Font()->Assign(FDefaultFont.get());
  }
  if (FSD && FSD->ResourceStrData())
    Cnvs->Font()->SetCharset(FSD->ResourceStrData()->CharSet());
  else
    Cnvs->Font()->SetCharset(FDefaultFont->Charset());
}

void TspSkinCheckRadioBox::DrawDefaultImage(TBitmap* B) {
  TspSkinCustomControl::DrawDefaultImage(B);
  TCanvas* C = B->Canvas();
  if (IsFocused() || FMouseIn) {
    C->Brush()->SetColor(clBtnShadow);
    C->FrameRect(Rect(0, 0, Width(), Height()));
  }
  SetTextFont(C);
  if (!Enabled()) C->Font()->SetColor(clBtnShadow);
  DrawPlainMark(C);
  C->Brush()->SetStyle(bsClear);
  DrawSingleLineText(C, Caption(), Rect(FramedPlainTextLeft, 0, Width(), Height()));
}

void TspSkinCheckRadioBox::PaintFlat(Boolean Skinned) {
  const Integer W = Width(), H = Height();
  auto B = CreateOwned<TBitmap>();
  B->SetPixelFormat(pf24bit);
  B->SetSize(W, H);
  TCanvas* C = B->Canvas();
  CopyParentImage(this, C);
  SetTextFont(C);
  if (Skinned) {
    if (!Enabled())
      C->Font()->SetColor(UnEnabledFontColor);
    else
      C->Font()->SetColor(FrameFontColor);
    if (!FUseSkinFontColor) C->Font()->SetColor(FDefaultFont->Color());
  } else if (!Enabled()) {
    C->Font()->SetColor(clBtnShadow);
  }
  C->Brush()->SetStyle(bsClear);
  const Integer TextLeft = Skinned ? RectWidth(CheckImageRect) + 7 : PlainTextLeft;
  const Integer ImageGap = Skinned ? 8 : 5;
  const bool HasImage = FImages && FImageIndex >= 0 && FImageIndex < FImages->Count();
  const String Text = Caption();
  TRect TR, WR;
  if (!FWordWrap) {
    TR = Rect(0, 0, 0, 0);
    DrawText(C->Handle(), Text, -1, &TR, DT_CALCRECT);
    OffsetRect(&TR, TextLeft, H / 2 - RectHeight(TR) / 2);
  } else {
    WR = Rect(TextLeft + (HasImage ? FImages->Width() + ImageGap : 0), 0, W, H);
    TRect M = WR;
    DrawText(C->Handle(), Text, -1, &M, DT_CALCRECT | DT_EXPANDTABS | DT_WORDBREAK);
    const Integer MH = RectHeight(M);
    WR.Top = std::max(H / 2 - MH / 2, 0);
    WR.Bottom = WR.Top + MH;
    TR = Rect(0, 0, W, H);
    OffsetRect(&TR, TextLeft, 0);
  }
  TR.Right = std::min(TR.Right, W - 2);
  TRect ImageR;
  if (HasImage) {
    ImageR = Bounds(TR.Left, H / 2 - FImages->Height() / 2, FImages->Width(), FImages->Height());
    FImages->Draw(C, ImageR.Left, ImageR.Top, FImageIndex, Enabled());
    OffsetRect(&TR, FImages->Width() + ImageGap, 0);
  }
  if (FWordWrap)
    DrawText(C->Handle(), Text, -1, &WR, DT_EXPANDTABS | DT_WORDBREAK);
  else
    DrawSingleLineText(C, Text, TR);
  if (Skinned)
    DrawCheckPicture(C, 3, H / 2 - RectHeight(CheckImageRect) / 2);
  else
    DrawPlainMark(C);
  if (IsFocused()) {
    C->Brush()->SetColor(Skinned ? FSD->SkinColors()->cBtnFace() : clBtnFace);
    if (!Text.empty()) {
      const TRect Around = FWordWrap ? Rect(WR.Left - 2, WR.Top - 1, WR.Right + 2, WR.Bottom + 1)
                                     : Rect(TR.Left - 2, TR.Top - 1, TR.Right + 3, TR.Bottom + 1);
      DrawSkinFocusRect(C, Around);
    } else if (HasImage) {
      DrawSkinFocusRect(C, Rect(ImageR.Left - 1, ImageR.Top - 1, ImageR.Right + 1, ImageR.Bottom + 1));
    }
  }
  Canvas()->Draw(0, 0, B.get());
}

void TspSkinCheckRadioBox::DrawSkinnedBox(TBitmap* B, const TRect& R, Boolean AActive) {
  CreateSkinControlImage(B, Picture, R);
  TCanvas* C = B->Canvas();
  DrawCheckPicture(C, CIRect.Left, CIRect.Top + RectHeight(CIRect) / 2 - RectHeight(CheckImageRect) / 2);
  SetTextFont(C);
  if (!Enabled())
    C->Font()->SetColor(UnEnabledFontColor);
  else
    C->Font()->SetColor(AActive ? ActiveFontColor : FontColor);
  C->Brush()->SetStyle(bsClear);
  DrawSingleLineText(C, Caption(), NewTextArea);
}

void TspSkinCheckRadioBox::PaintSkinnedFramed() {
  Integer W = Width(), H = Height();
  CalcSize(W, H);
  auto B = CreateOwned<TBitmap>();
  B->SetPixelFormat(pf24bit);
  if (EnableMorphing() && FMorphKf > 0 && FMorphKf < 1) {
    auto Active = CreateOwned<TBitmap>();
    Active->SetPixelFormat(pf24bit);
    DrawSkinnedBox(B.get(), SkinRect, false);
    DrawSkinnedBox(Active.get(), ActiveSkinRect, true);
    TOwned<TspEffectBmp> From(TspEffectBmp::CreateFromhWnd(B->Handle()));
    TOwned<TspEffectBmp> To(TspEffectBmp::CreateFromhWnd(Active->Handle()));
    vantrel::skin::MorphByKind(From.get(), To.get(), MorphKind, FMorphKf);
    From->Draw(B->Canvas()->Handle(), 0, 0);
  } else {
    const bool Active = FMouseIn || IsFocused();
    DrawSkinnedBox(B.get(), Active ? ActiveSkinRect : SkinRect, Active);
  }
  if (FAlphaBlend)
    DrawBlendedOverBackground(this, B.get(), FAlphaBlendValue, Canvas());
  else
    Canvas()->Draw(0, 0, B.get());
}

void TspSkinCheckRadioBox::Paint() {
  if (Width() <= 0 || Height() <= 0) return;
  GetSkinData();
  if (FFlat)
    PaintFlat(FIndex != -1);
  else if (FIndex == -1)
    TspSkinCustomControl::Paint();
  else
    PaintSkinnedFramed();
}
