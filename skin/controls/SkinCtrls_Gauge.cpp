// The skinned gauge: value and range, the filled part from the skin's bar picture (caps,
// tiled or stretched middle, the animation frame), the centred text and the looping
// progress animation.
#include <algorithm>
#include <cstdint>
#include <memory>

#include "platform/rtl/NumConv.h"
#include "platform/ui/GraphUtil.h"
#include "platform/ui/Timers.h"
#include "platform/win/Fonts.h"
#include "platform/win/Text.h"
#include "skin/controls/SkinCtrls.h"
#include "skin/core/bitmaps/spEffBmp_Effects.h"
#include "skin/core/drawing/SPUtils.h"

namespace {

// The plain look's fill of the progress.
constexpr TColor GaugePlainFill = static_cast<TColor>(0xD2BDB6);

// Part of Span for Value in Min..Max, truncated toward zero; 0 for an empty range. Whole
// numbers, so the truncation is exact (66 of 100 for 2 of 3, 29 of 100 for 29 of 100).
Integer GaugeShare(Integer Span, Integer Value, Integer Min, Integer Max) {
  if (Max == Min) return 0;
  const int64_t Num = static_cast<int64_t>(Span) * (static_cast<int64_t>(Value) - Min);
  return static_cast<Integer>(Num / (static_cast<int64_t>(Max) - Min));
}

TOwned<TBitmap> GaugePiece(Integer W, Integer H) {
  auto P = CreateOwned<TBitmap>();
  P->SetPixelFormat(pf24bit);
  P->SetSize(W, H);
  return P;
}

// Source rectangle Src of Picture copied (unscaled or stretched) to Dst of Target.
void GaugeCopy(TBitmap* Target, const TRect& Dst, TBitmap* Picture, const TRect& Src) {
  if (RectWidth(Dst) <= 0 || RectHeight(Dst) <= 0 || RectWidth(Src) <= 0 || RectHeight(Src) <= 0) return;
  Target->Canvas()->CopyRect(Dst, Picture->Canvas(), Src);
}

}  // namespace

TspSkinGauge::TspSkinGauge(TComponent* AOwner) : TspSkinCustomControl(AOwner) {
  FSkinDataName = "gauge";
  SetBounds(Left(), Top(), 100, 20);
}

void TspSkinGauge::BeforeDestruction() {
  StopProgressAnimation();
  TspSkinCustomControl::BeforeDestruction();
}

// --- Properties ---------------------------------------------------------------------------

void TspSkinGauge::SetMinValue(Integer Value) {
  FMinValue = Value;
  if (FValue < Value) FValue = Value;
  Invalidate();
}

void TspSkinGauge::SetMaxValue(Integer Value) {
  FMaxValue = Value;
  if (FValue > Value) FValue = Value;
  Invalidate();
}

void TspSkinGauge::SetValue(Integer AValue) {
  if (AValue > FMaxValue)
    AValue = FMaxValue;
  else if (AValue < FMinValue)
    AValue = FMinValue;
  if (AValue == FValue) return;
  FValue = AValue;
  Invalidate();
}

void TspSkinGauge::SetVertical(Boolean Value) {
  FVertical = Value;
  Invalidate();
  if (ComponentState().Contains(csDesigning) && !ComponentState().Contains(csLoading))
    SetSkinDataName(Value ? "vgauge" : "gauge");
}

void TspSkinGauge::SetProgressText(const String& Value) {
  FProgressText = Value;
  Invalidate();
}

void TspSkinGauge::SetShowProgressText(Boolean Value) {
  FShowProgressText = Value;
  Invalidate();
}

void TspSkinGauge::SetShowPercent(Boolean Value) {
  FShowPercent = Value;
  Invalidate();
}

void TspSkinGauge::SetTextAlphaBlend(Boolean Value) {
  FTextAlphaBlend = Value;
  if (FIndex != -1 && (FShowProgressText || FShowPercent)) Invalidate();
}

void TspSkinGauge::SetTextAlphaBlendValue(Byte Value) {
  FTextAlphaBlendValue = Value;
  if (FIndex != -1 && FTextAlphaBlend && (FShowProgressText || FShowPercent)) Invalidate();
}

void TspSkinGauge::SetProgressAnimationPause(Integer Value) {
  if (Value >= 0) FProgressAnimationPause = Value;
}

TRect TspSkinGauge::CalcProgressRect(TRect R, Boolean AVertical) {
  if (AVertical)
    R.Top = R.Bottom - GaugeShare(RectHeight(R), FValue, FMinValue, FMaxValue);
  else
    R.Right = R.Left + GaugeShare(RectWidth(R), FValue, FMinValue, FMaxValue);
  return R;
}

// --- Animation -----------------------------------------------------------------------------

Boolean TspSkinGauge::FrameTimerRunning() const { return FAnimationTimer && FAnimationTimer->Enabled(); }

void TspSkinGauge::StartProgressAnimation() {
  if (FIndex == -1 || IsNullRect(ProgressAnimationSkinRect)) return;
  FreeAndNil(FAnimationPauseTimer);
  FreeAndNil(FAnimationTimer);
  FAnimationPauseTimer = ::Create<TTimer>(this);
  FAnimationPauseTimer->SetEnabled(false);
  FAnimationPauseTimer->SetInterval(static_cast<Cardinal>(FProgressAnimationPause));
  FAnimationPauseTimer->OnTimer = [this](TObject* Sender) { OnAnimationPauseTimer(Sender); };
  FAnimationPauseTimer->SetEnabled(true);
  FAnimationTimer = ::Create<TTimer>(this);
  FAnimationTimer->SetEnabled(false);
  FAnimationTimer->SetInterval(static_cast<Cardinal>(std::max(ProgressAnimationTimerInterval, 0)));
  FAnimationTimer->OnTimer = [this](TObject* Sender) { OnAnimationTimer(Sender); };
  StartInternalAnimation();
}

void TspSkinGauge::StopProgressAnimation() {
  FAnimationFrame = 0;
  if (!FAnimationTimer) return;
  if (FAnimationPauseTimer) FAnimationPauseTimer->SetEnabled(false);
  FreeAndNil(FAnimationPauseTimer);
  FAnimationTimer->SetEnabled(false);
  FreeAndNil(FAnimationTimer);
}

void TspSkinGauge::StartInternalAnimation() {
  if (FAnimationPauseTimer) FAnimationPauseTimer->SetEnabled(false);
  FAnimationFrame = 0;
  if (FAnimationTimer) FAnimationTimer->SetEnabled(true);
  Invalidate();
}

void TspSkinGauge::StopInternalAnimation() {
  if (FAnimationPauseTimer) FAnimationPauseTimer->SetEnabled(true);
  if (FAnimationTimer) FAnimationTimer->SetEnabled(false);
  FAnimationFrame = 0;
  Invalidate();
}

void TspSkinGauge::OnAnimationPauseTimer(TObject*) { StartInternalAnimation(); }

void TspSkinGauge::OnAnimationTimer(TObject*) {
  ++FAnimationFrame;
  if (FAnimationFrame > ProgressAnimationCountFrames) StopInternalAnimation();
  Invalidate();
}

TRect TspSkinGauge::GetAnimationFrameRect() {
  const TRect& S = ProgressAnimationSkinRect;
  const Integer N = ProgressAnimationCountFrames;
  const Integer F = FAnimationFrame;
  if (N <= 0) return S;
  if (RectWidth(S) > RectWidth(ProgressRect)) {
    const Integer FW = RectWidth(S) / N;
    return Rect(S.Left + FW * (F - 1), S.Top, S.Left + FW * F, S.Bottom);
  }
  const Integer FH = RectHeight(S) / N;
  return Rect(S.Left, S.Top + FH * (F - 1), S.Right, S.Top + FH * F);
}

// --- Skin ------------------------------------------------------------------------------

void TspSkinGauge::GetSkinData() {
  TspSkinCustomControl::GetSkinData();
  if (FIndex == -1) return;
  auto* D = dynamic_cast<TspDataSkinGaugeControl*>(FSD->CtrlList.Items(FIndex));
  if (!D) {
    // A descriptor of another kind has no bar to draw from.
    FIndex = -1;
    return;
  }
  ProgressArea = D->ProgressArea;
  ProgressRect = D->ProgressRect;
  BeginOffset = D->BeginOffset;
  EndOffset = D->EndOffset;
  ProgressTransparent = D->ProgressTransparent;
  ProgressTransparentColor = D->ProgressTransparentColor;
  ProgressStretch = D->ProgressStretch;
  FontName = D->FontName;
  FontStyle = D->FontStyle;
  FontHeight = D->FontHeight;
  FontColor = D->FontColor;
  ProgressAnimationSkinRect = D->ProgressAnimationSkinRect;
  ProgressAnimationCountFrames = D->ProgressAnimationCountFrames;
  ProgressAnimationTimerInterval = D->ProgressAnimationTimerInterval;
  FVertical = D->Vertical;
  if (!FUseSkinSize && MaskPicture) MaskPicture = nullptr;
}

void TspSkinGauge::ChangeSkinData() {
  if (!FAnimationTimer) {
    TspSkinCustomControl::ChangeSkinData();
    return;
  }
  StopProgressAnimation();
  TspSkinCustomControl::ChangeSkinData();
  StartProgressAnimation();
}

void TspSkinGauge::CalcSize(Integer& AWidth, Integer& AHeight) {
  const Integer ReqW = AWidth, ReqH = AHeight;
  TspSkinCustomControl::CalcSize(AWidth, AHeight);
  NewProgressArea = ProgressArea;
  if (ResizeMode > 0) {
    if (FVertical)
      NewProgressArea.Bottom += AHeight - RectHeight(SkinRect);
    else
      NewProgressArea.Right += AWidth - RectWidth(SkinRect);
  }
  if (!FUseSkinSize) {
    AWidth = ReqW;
    AHeight = ReqH;
  }
}

// --- Drawing ---------------------------------------------------------------------------

String TspSkinGauge::GaugeText() {
  String S;
  if (FShowProgressText) S = FProgressText;
  if (FShowPercent) S += IntToStr(GaugeShare(100, FValue, FMinValue, FMaxValue)) + "%";
  return S;
}

void TspSkinGauge::DrawGaugeText(TCanvas* Cnvs) {
  TFont* F = Cnvs->Font();
  if (FIndex == -1) {
    F->Assign(FDefaultFont.get());
  } else if (!FUseSkinFont) {
    F->Assign(FDefaultFont.get());
    F->SetColor(FontColor);
  } else {
    F->SetName(FontName);
    F->SetHeight(FontHeight);
    F->SetStyle(FontStyle);
    F->SetColor(FontColor);
  }
  if (FSD && FSD->ResourceStrData())
    F->SetCharset(FSD->ResourceStrData()->CharSet());
  else
    F->SetCharset(FDefaultFont->Charset());
  const String Text = GaugeText();
  if (Text.empty()) return;
  const Integer TW = Cnvs->TextWidth(Text), TH = Cnvs->TextHeight(Text);
  Cnvs->Brush()->SetStyle(bsClear);
  if (!FVertical) {
    Cnvs->TextOut(Width() / 2 - TW / 2, Height() / 2 - TH / 2, Text);
    return;
  }
  // The same font turned a quarter, reading upward.
  LOGFONT LF;
  if (!GetFontObject(F->Handle(), &LF)) return;
  LF.lfEscapement = 900;
  HFONT Turned = CreateFontIndirect(&LF);
  if (!Turned) return;
  const HDC DC = Cnvs->Handle();
  const HGDIOBJ Old = SelectObject(DC, Turned);
  SetBkMode(DC, TRANSPARENT);
  SetTextColor(DC, static_cast<COLORREF>(ColorToRGB(F->Color())));
  TextOut(DC, Width() / 2 - TH / 2, Height() / 2 + TW / 2, Text, -1);
  SelectObject(DC, Old);
  DeleteObject(Turned);
}

Boolean TspSkinGauge::DrawSkinProgress(TBitmap* B, const TRect& PR) {
  if (!Picture) return true;
  const Integer PW = RectWidth(PR), PH = RectHeight(PR);
  auto P = GaugePiece(PW, PH);
  const bool Animated = FrameTimerRunning() && FAnimationFrame != 0;
  TRect S = Animated && ProgressAnimationCountFrames != 0 ? GetAnimationFrameRect() : ProgressRect;
  const Integer BO = BeginOffset, EO = EndOffset;
  const TRect& PRc = ProgressRect;
  if (!FVertical) {
    if (PW - BO - EO > 0) {
      const TRect D = Rect(BO, 0, PW - EO, PH);
      S.Left += BO;
      S.Right -= EO;
      const Integer W = RectWidth(S);
      if (W <= 0) return false;
      if (ProgressStretch || Animated) {
        GaugeCopy(P.get(), D, Picture, S);
      } else {
        const Integer DW = RectWidth(D);
        for (Integer I = 0; I <= DW / W; ++I) {
          const Integer R = (I + 1) * W <= DW ? 0 : (I + 1) * W - DW;
          GaugeCopy(P.get(), Rect(D.Left + I * W, D.Top, D.Left + (I + 1) * W - R, D.Bottom), Picture,
                    Rect(S.Left, S.Top, S.Right - R, S.Bottom));
        }
      }
    }
    GaugeCopy(P.get(), Rect(0, 0, BO, PH), Picture, Rect(PRc.Left, PRc.Top, PRc.Left + BO, PRc.Bottom));
    GaugeCopy(P.get(), Rect(PW - EO, 0, PW, PH), Picture, Rect(PRc.Right - EO, PRc.Top, PRc.Right, PRc.Bottom));
  } else {
    if (PH - BO - EO > 0) {
      const TRect D = Rect(0, BO, PW, PH - EO);
      S.Top += BO;
      S.Bottom -= EO;
      const Integer H = RectHeight(S);
      if (H <= 0) return false;
      if (ProgressStretch || Animated) {
        GaugeCopy(P.get(), D, Picture, S);
      } else {
        const Integer DH = RectHeight(D);
        for (Integer I = 0; I <= DH / H; ++I) {
          const Integer R = (I + 1) * H <= DH ? 0 : (I + 1) * H - DH;
          GaugeCopy(P.get(), Rect(D.Left, D.Bottom - ((I + 1) * H - R), D.Right, D.Bottom - I * H), Picture,
                    Rect(S.Left, S.Top + R, S.Right, S.Bottom));
        }
      }
    }
    GaugeCopy(P.get(), Rect(0, 0, PW, BO), Picture, Rect(PRc.Left, PRc.Top, PRc.Right, PRc.Top + BO));
    GaugeCopy(P.get(), Rect(0, PH - EO, PW, PH), Picture, Rect(PRc.Left, PRc.Bottom - EO, PRc.Right, PRc.Bottom));
  }
  if (ProgressTransparent) {
    P->SetTransparentMode(tmFixed);
    P->SetTransparentColor(ProgressTransparentColor);
    P->SetTransparent(true);
  }
  B->Canvas()->Draw(PR.Left, PR.Top, P.get());
  return true;
}

void TspSkinGauge::DrawSkinImage(TBitmap* B) {
  TspSkinCustomControl::DrawSkinImage(B);
  const TRect PR = CalcProgressRect(NewProgressArea, FVertical);
  if (OnGaugePaint) {
    OnGaugePaint(B->Canvas(), NewProgressArea, PR);
    return;
  }
  if (RectWidth(PR) > 0 && RectHeight(PR) > 0 && !DrawSkinProgress(B, PR)) return;
  if (!FUseSkinSize) return;
  if (FTextAlphaBlend && (FShowProgressText || FShowPercent)) {
    TOwned<TspEffectBmp> Under(TspEffectBmp::CreateFromhWnd(B->Handle()));
    DrawGaugeText(B->Canvas());
    TOwned<TspEffectBmp> WithText(TspEffectBmp::CreateFromhWnd(B->Handle()));
    WithText->Morph(Under.get(), 1.0 - FTextAlphaBlendValue / 255.0);
    WithText->Draw(B->Canvas()->Handle(), 0, 0);
  } else {
    DrawGaugeText(B->Canvas());
  }
}

void TspSkinGauge::DrawDefaultImage(TBitmap* B) {
  TCanvas* C = B->Canvas();
  C->Brush()->SetColor(clWindow);
  C->FillRect(Rect(0, 0, Width(), Height()));
  TRect Frame = Rect(0, 0, Width(), Height());
  Frame3D(C, Frame, clBtnShadow, clBtnShadow, 1);
  const TRect Area = Rect(1, 1, Width() - 1, Height() - 1);
  const TRect PR = CalcProgressRect(Area, FVertical);
  if (OnGaugePaint) {
    OnGaugePaint(C, Area, PR);
    return;
  }
  if (RectWidth(PR) > 0 && RectHeight(PR) > 0) {
    C->Brush()->SetColor(GaugePlainFill);
    C->FillRect(PR);
  }
  DrawGaugeText(C);
}

void TspSkinGauge::Paint() {
  if (Width() <= 0 || Height() <= 0) return;
  GetSkinData();
  if (FUseSkinSize || FIndex == -1) {
    TspSkinCustomControl::Paint();
    return;
  }
  // A gauge of free size: the skin image at its fitted size stretched over the control.
  Integer W = Width(), H = Height();
  CalcSize(W, H);
  auto Img = CreateOwned<TBitmap>();
  Img->SetPixelFormat(pf24bit);
  Img->SetSize(Width(), Height());
  DrawSkinImage(Img.get());
  auto Full = GaugePiece(Width(), Height());
  Full->Canvas()->StretchDraw(Rect(0, 0, Width(), Height()), Img.get());
  if (!OnGaugePaint) DrawGaugeText(Full->Canvas());
  if (FAlphaBlend)
    DrawBlendedOverBackground(this, Full.get(), FAlphaBlendValue, Canvas());
  else
    Canvas()->Draw(0, 0, Full.get());
}

void TspSkinGauge::Dispatch(TMessage& Message) {
  if (Message.Msg == WM_ERASEBKGND) {
    if (!FromWMPaint) PaintWindow(reinterpret_cast<HDC>(Message.WParam));
    Message.Result = 1;
    return;
  }
  TspSkinCustomControl::Dispatch(Message);
}
