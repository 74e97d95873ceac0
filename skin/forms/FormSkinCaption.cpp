// The caption object: its text area, font and text effects, its pictures stretched like
// the frame, the activation animation and morph, and the mouse (client-mode dragging).
#include "skin/forms/FormSkinCaption.h"

#include <algorithm>

#include "platform/ui/Forms.h"
#include "platform/win/DrawText.h"
#include "platform/win/Input.h"
#include "platform/win/MessageQueue.h"
#include "skin/core/bitmaps/spEffBmp.h"
#include "skin/core/bitmaps/spEffBmp_EffectKinds.h"
#include "skin/core/drawing/SPUtils.h"
#include "skin/forms/FormSkin.h"
#include "skin/forms/FormSkinQuickButtons.h"

namespace {

constexpr UINT CaptionTextFlags = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;

TOwned<TBitmap> CaptionWorkBitmap() {
  auto B = CreateOwned<TBitmap>();
  B->SetPixelFormat(pf24bit);
  return B;
}

// Rectangle R of Source scaled to W x H.
void ScaleCaptionPiece(TBitmap* Dest, TBitmap* Source, const TRect& R, Integer W, Integer H) {
  Dest->SetSize(W, H);
  Dest->Canvas()->CopyRect(Rect(0, 0, W, H), Source->Canvas(), R);
}

}  // namespace

TspSkinCaptionObject::TspSkinCaptionObject(TspFormSkin* AParent, TspDataSkinCaption* AData)
    : TspActiveSkinObject(AParent, AData) {
  if (!AData) return;
  FontName = AData->FontName;
  FontStyle = AData->FontStyle;
  FontHeight = AData->FontHeight;
  FontColor = AData->FontColor;
  ActiveFontColor = AData->ActiveFontColor;
  ShadowColor = AData->ShadowColor;
  ActiveShadowColor = AData->ActiveShadowColor;
  Shadow = AData->Shadow;
  Alignment = AData->Alignment;
  TextRct = AData->TextRct;
  DefaultCaption = AData->DefaultCaption;
  FrameRect = AData->FrameRect;
  ActiveFrameRect = AData->ActiveFrameRect;
  FrameLeftOffset = AData->FrameLeftOffset;
  FrameRightOffset = AData->FrameRightOffset;
  FrameTextRect = AData->FrameTextRect;
  LightColor = AData->LightColor;
  ActiveLightColor = AData->ActiveLightColor;
  Light = AData->Light;
  StretchEffect = AData->StretchEffect;
  AnimateSkinRect = AData->AnimateSkinRect;
  FrameCount = AData->FrameCount;
  AnimateInterval = AData->AnimateInterval;
  InActiveAnimation = AData->InActiveAnimation;
  FullFrame = AData->FullFrame;
  VistaGlowEffect = AData->VistaGlowEffect;
  VistaGlowInActiveEffect = AData->VistaGlowInActiveEffect;
  GlowEffect = AData->GlowEffect;
  GlowInActiveEffect = AData->GlowInActiveEffect;
  GlowSize = AData->GlowSize;
  GlowOffset = AData->GlowOffset;
  GlowColor = AData->GlowColor;
  GlowActiveColor = AData->GlowActiveColor;
  ReflectionEffect = AData->ReflectionEffect;
  ReflectionColor = AData->ReflectionColor;
  ReflectionActiveColor = AData->ReflectionActiveColor;
  ReflectionOffset = AData->ReflectionOffset;
  DividerRect = AData->DividerRect;
  DividerTransparent = AData->DividerTransparent;
  DividerTransparentColor = AData->DividerTransparentColor;
}

void TspSkinCaptionObject::SetTextValue(const String& AValue) {
  FTextValue = AValue;
  Parent->DrawSkinObject(this);
}

Boolean TspSkinCaptionObject::EnableAnimation() const {
  // A strip without frames has nothing to show (and would divide by zero).
  return Skinned() && SD->EnableSkinEffects() && !IsNullRect(AnimateSkinRect) && FrameCount > 0 &&
         ActivePicture;
}

void TspSkinCaptionObject::RepaintCaption() {
  if (Parent->UseFullLayeredBorder())
    ReDraw();
  else if (Parent->FForm->HandleAllocated())
    SendMessage(Parent->FForm->Handle(), WM_NCPAINT, 0, 0);
}

String TspSkinCaptionObject::CaptionText() {
  String S = !Parent->SupportNCArea() && !DefaultCaption ? FTextValue : Parent->FForm->Caption();
  if (Parent->IsMDIMainForm())
    if (TCustomForm* Child = Parent->GetMaximizedMDIChild()) S += " - [" + Child->Caption() + "]";
  return S;
}

Integer TspSkinCaptionObject::Placement() const {
  if (RectWidth(ObjectRect) == RectWidth(SkinRect) && RectHeight(ObjectRect) == RectHeight(SkinRect)) return 0;
  if (!SD) return 4;
  if (SkinRect.Top <= SD->LTPoint.Y && SkinRect.Bottom < SD->RTPoint.Y) return 1;
  if (SkinRect.Top >= SD->LBPoint.Y && SkinRect.Bottom > SD->RBPoint.Y) return 2;
  if (SkinRect.Top <= SD->LTPoint.Y && SkinRect.Bottom > SD->LBPoint.Y) return 3;
  return 4;
}

void TspSkinCaptionObject::MakeCaptionPicture(TBitmap* Dest, TBitmap* Source, const TRect& R) {
  const Integer W = RectWidth(ObjectRect), H = RectHeight(ObjectRect);
  const Integer Where = Placement();
  if (!Parent->IsSkinResizable()) return ScaleCaptionPiece(Dest, Source, R, W, H);
  if (Where <= 2) {
    Integer L = 0, Rt = 0;
    if (Where == 1) {
      L = SD->LTPoint.X - SkinRect.Left;
      Rt = SkinRect.Right - SD->RTPoint.X;
    } else if (Where == 2) {
      L = SD->LBPoint.X - SkinRect.Left;
      Rt = SkinRect.Right - SD->RBPoint.X;
    }
    L = std::max<Integer>(L, 0);
    Rt = std::max<Integer>(Rt, 0);
    if (L == 0 && Rt == 0) return ScaleCaptionPiece(Dest, Source, R, W, H);
    CreateHSkinImage(L, Rt, Dest, Source, R, W, H, StretchEffect);
    return;
  }
  Integer T = Where == 3 ? SD->LTPoint.Y - SkinRect.Top : SD->RTPoint.Y - SkinRect.Top;
  Integer B = Where == 3 ? SkinRect.Bottom - SD->LBPoint.Y : SkinRect.Bottom - SD->RBPoint.Y;
  T = std::max<Integer>(T, 0);
  B = std::max<Integer>(B, 0);
  if (T == 0 && B == 0) return ScaleCaptionPiece(Dest, Source, R, W, H);
  CreateVSkinImage(T, B, Dest, Source, R, W, H, StretchEffect);
}

TRect TspSkinCaptionObject::AnimationFrameRect(Integer Index) const {
  TRect R = AnimateSkinRect;
  if (RectHeight(SkinRect) < RectHeight(AnimateSkinRect)) {
    const Integer Band = RectHeight(AnimateSkinRect) / FrameCount;
    R.Top = AnimateSkinRect.Top + (Index - 1) * Band;
    R.Bottom = R.Top + Band;
  } else {
    const Integer Band = RectWidth(AnimateSkinRect) / FrameCount;
    R.Left = AnimateSkinRect.Left + (Index - 1) * Band;
    R.Right = R.Left + Band;
  }
  return R;
}

TRect TspSkinCaptionObject::TextArea() const {
  TRect R = TextRct;
  if (IsNullRect(R)) return R;
  const Integer RightMargin = RectWidth(SkinRect) - TextRct.Right;
  R.Left += QuickButtonsReserve();
  R.Right = RectWidth(ObjectRect) - RightMargin;
  if (!IsNullRect(FrameRect)) {
    R.Top += FrameTextRect.Top;
    R.Left += FrameTextRect.Left;
    R.Right -= RectWidth(FrameRect) - FrameTextRect.Right;
  }
  return R;
}

void TspSkinCaptionObject::SetCaptionFont(TCanvas* Cnvs, Boolean AActive) {
  TFont* F = Cnvs->Font();
  F->SetName(FontName);
  F->SetStyle(FontStyle);
  F->SetHeight(FontHeight);
  F->SetColor(AActive ? ActiveFontColor : FontColor);
  if (SD && SD->ResourceStrData())
    F->SetCharset(SD->ResourceStrData()->CharSet());
  else
    F->SetCharset(Parent->DefCaptionFont()->Charset());
}

void TspSkinCaptionObject::DrawCaptionText(TCanvas* Cnvs, Integer X, Integer Y, const TRect& Area,
                                          Boolean AActive, TCanvas* /*PaintCanvas*/) {
  // The application draws the caption itself: no plate and no text (its drawing goes on
  // top of the caption picture, see Draw).
  if (Parent->OnCaptionPaint) return;
  WideString S = CaptionText();
  if (S.empty() || IsNullRect(TextRct)) return;
  SetCaptionFont(Cnvs, AActive);
  FitWideTextToWidth(Cnvs, S, RectWidth(Area));
  const Integer TW = WideTextWidth(Cnvs, S);
  const Integer TH = WideTextHeight(Cnvs, S);
  Integer TX = Area.Left;
  // Beside quick buttons the text is centred, whatever the skin's alignment.
  if (Parent->SupportNCArea() && Parent->QuickButtons()->Count() > 0)
    TX = Area.Left + RectWidth(Area) / 2 - TW / 2;
  else if (Alignment == taRightJustify)
    TX = Area.Right - TW;
  else if (Alignment == taCenter)
    TX = Area.Left + RectWidth(Area) / 2 - TW / 2;
  Integer TY = Area.Top + RectHeight(Area) / 2 - TH / 2;
  TX += X;
  TY += Y;
  Cnvs->Brush()->SetStyle(bsClear);

  // The plate behind the text.
  if (!IsNullRect(FrameRect) && ActivePicture) {
    const TRect Source = AActive && !IsNullRect(ActiveFrameRect) ? ActiveFrameRect : FrameRect;
    const Integer W = FullFrame ? RectWidth(ObjectRect) - 2 * SD->ButtonsOffset
                                : RectWidth(FrameRect) + TW - RectWidth(FrameTextRect);
    if (W > 0) {
      auto Plate = CaptionWorkBitmap();
      CreateHSkinImage(FrameLeftOffset, FrameRightOffset, Plate.get(), ActivePicture, Source, W,
                       RectHeight(FrameRect), false);
      if (FullFrame)
        Cnvs->Draw(X + SD->ButtonsOffset, TY - FrameTextRect.Top, Plate.get());
      else
        Cnvs->Draw(TX - FrameTextRect.Left, TY - FrameTextRect.Top, Plate.get());
      Cnvs->Brush()->SetStyle(bsClear);
    }
  }

  const TColor TextColour = Cnvs->Font()->Color();
  const auto Copy = [&](Integer DX, Integer DY, TColor Colour) {
    TRect R = Rect(TX + DX, TY + DY, TX + DX, TY + DY);
    Cnvs->Font()->SetColor(Colour);
    DrawWideText(Cnvs, S, R, CaptionTextFlags | DT_CALCRECT);
    DrawWideText(Cnvs, S, R, CaptionTextFlags);
    Cnvs->Font()->SetColor(TextColour);
  };
  if (Light) Copy(-1, -1, AActive ? ActiveLightColor : LightColor);
  if (Shadow) Copy(1, 1, AActive ? ActiveShadowColor : ShadowColor);

  TRect TR = Rect(TX, TY, TX, TY);
  DrawWideText(Cnvs, S, TR, CaptionTextFlags | DT_CALCRECT);
  const TColor Glow = AActive ? GlowActiveColor : GlowColor;
  if (ReflectionEffect)
    DrawReflectionTextW(Cnvs, TR, S, static_cast<Integer>(CaptionTextFlags), ReflectionOffset,
                        AActive ? ReflectionActiveColor : ReflectionColor);
  else if (VistaGlowEffect && (AActive || VistaGlowInActiveEffect))
    DrawWideHaloText(Cnvs, TR, S, static_cast<Integer>(CaptionTextFlags), Glow);
  else if (GlowEffect && (AActive || GlowInActiveEffect))
    DrawGlowTextW(Cnvs, TR, S, static_cast<Integer>(CaptionTextFlags), GlowOffset, Glow, GlowSize);
  else
    DrawWideText(Cnvs, S, TR, CaptionTextFlags);
}

TOwned<TBitmap> TspSkinCaptionObject::ComposedPicture(TBitmap* Source, const TRect& R, const TRect& Area,
                                                      Boolean AActive, TCanvas* PaintCanvas) {
  auto B = CaptionWorkBitmap();
  MakeCaptionPicture(B.get(), Source, R);
  DrawCaptionText(B->Canvas(), 0, 0, Area, AActive, PaintCanvas);
  return B;
}

void TspSkinCaptionObject::PutPicture(TCanvas* Cnvs, TBitmap* Image, Boolean WithInActiveEffect) {
  if (WithInActiveEffect) {
    auto E = CreateOwned<TspEffectBmp>(Image->Handle());
    vantrel::skin::ApplyInActiveEffect(E.get(), SD->InActiveEffect);
    E->Draw(Cnvs->Handle(), ObjectRect.Left, ObjectRect.Top);
    return;
  }
  Cnvs->Draw(ObjectRect.Left, ObjectRect.Top, Image);
}

void TspSkinCaptionObject::Draw(TCanvas* Cnvs, Boolean UpDate) {
  if (!Skinned()) return;
  Active = Parent->GetFormActive();
  const TRect Area = TextArea();
  const Boolean NCMode = Parent->SupportNCArea();
  const Integer W = RectWidth(ObjectRect), H = RectHeight(ObjectRect);
  // The quick buttons, the divider and what the application draws on the caption lie on
  // top of whatever the caption shows.
  const auto Finish = [&] {
    DrawQuickButtons(Cnvs);
    if (Parent->OnCaptionPaint) Parent->OnCaptionPaint(Cnvs, ObjectRect, Active);
  };
  if (W <= 0 || H <= 0) return;
  // The look the frame shows for the caption when it is not active: the inactive frame
  // picture where the skin has one.
  TBitmap* InActiveSource = SkinRectInAPicture ? ActivePicture : Picture;
  if (!Active && !SkinRectInAPicture && Picture == SD->FPicture.get() && !SD->FInActivePicture->Empty())
    InActiveSource = SD->FInActivePicture.get();

  if (EnableAnimation() && CurrentFrame >= 1 && CurrentFrame <= FrameCount) {
    // The text keeps the look of the state being left until the last frame.
    auto B = CaptionWorkBitmap();
    const TRect Frame = AnimationFrameRect(CurrentFrame);
    if (NCMode) {
      const Integer Where = Placement();
      Integer L = 0, Rt = 0;
      if (Where == 1) {
        L = std::max<Integer>(SD->LTPoint.X - SkinRect.Left, 0);
        Rt = std::max<Integer>(SkinRect.Right - SD->RTPoint.X, 0);
      } else if (Where == 2) {
        L = std::max<Integer>(SD->LBPoint.X - SkinRect.Left, 0);
        Rt = std::max<Integer>(SkinRect.Right - SD->RBPoint.X, 0);
      }
      if (L == 0 && Rt == 0)
        ScaleCaptionPiece(B.get(), ActivePicture, Frame, W, H);
      else
        CreateHSkinImage(L, Rt, B.get(), ActivePicture, Frame, W, H, StretchEffect);
    } else {
      MakeCaptionPicture(B.get(), ActivePicture, Frame);
    }
    DrawCaptionText(B->Canvas(), 0, 0, Area, !Active, Cnvs);
    PutPicture(Cnvs, B.get(), false);
    return Finish();
  }

  if (NCMode && IsNullRect(ActiveSkinRect) && !UpDate) {
    DrawCaptionText(Cnvs, ObjectRect.Left, ObjectRect.Top, Area, Active, Cnvs);
    return Finish();
  }

  if (!IsNullRect(ActiveSkinRect) && ActivePicture && (Active || (MorphKf() != 0 && EnableMorphing()))) {
    TOwned<TBitmap> ActiveImage = ComposedPicture(ActivePicture, ActiveSkinRect, Area, true, Cnvs);
    if (Active && (MorphKf() == 1 || (MorphKf() == 0 && !EnableMorphing()))) {
      PutPicture(Cnvs, ActiveImage.get(), false);
      return Finish();
    }
    TOwned<TBitmap> Normal = ComposedPicture(InActiveSource, SkinRect, Area, false, Cnvs);
    auto NormalEffect = CreateOwned<TspEffectBmp>(Normal->Handle());
    auto ActiveEffect = CreateOwned<TspEffectBmp>(ActiveImage->Handle());
    vantrel::skin::MorphByKind(NormalEffect.get(), ActiveEffect.get(), MorphKind, MorphKf());
    if (Parent->GetAutoRenderingInActiveImage() && !Active)
      vantrel::skin::ApplyInActiveEffect(NormalEffect.get(), SD->InActiveEffect);
    NormalEffect->Draw(Cnvs->Handle(), ObjectRect.Left, ObjectRect.Top);
    return Finish();
  }

  if (UpDate) {
    // Drawn by itself over the painted frame: the picture under the text goes down
    // first, so a changed text never lands on the old one.
    if (!InActiveSource || InActiveSource->Empty()) return Finish();
    TOwned<TBitmap> Image = ComposedPicture(InActiveSource, SkinRect, Area, Active, Cnvs);
    PutPicture(Cnvs, Image.get(), !Active && Parent->GetAutoRenderingInActiveImage());
    return Finish();
  }
  DrawCaptionText(Cnvs, ObjectRect.Left, ObjectRect.Top, Area, Active, Cnvs);
  Finish();
}

void TspSkinCaptionObject::MouseEnter() {
  FMouseIn = true;
  Parent->DoMouseEnterEvent(IDName);
}

void TspSkinCaptionObject::MouseLeave() {
  FMouseIn = false;
  Parent->DoMouseLeaveEvent(IDName);
  if (!QuickButtonsPresent()) return;
  ActiveQuickButton = -1;
  OldActiveQuickButton = -1;
  TestActiveQuickButton(-1, -1);
}

void TspSkinCaptionObject::MouseMove(Integer X, Integer Y) {
  Parent->DoMouseMoveEvent(IDName, X, Y, ObjectRect);
  if (QuickButtonsPresent()) TestActiveQuickButton(X, Y);
}

void TspSkinCaptionObject::MouseDown(Integer X, Integer Y, TMouseButton Button) {
  if (!Parent->SupportNCArea() && Parent->WindowState() != wsMaximized && Button == mbLeft)
    Parent->StartDragging(X, Y);
  Parent->DoMouseDownEvent(IDName, X, Y, ObjectRect, Button);
  if (QuickButtonsPresent()) QuickButtonDown(X, Y, Button);
}

void TspSkinCaptionObject::MouseUp(Integer X, Integer Y, TMouseButton Button) {
  if (!Parent->SupportNCArea()) Parent->StopDragging();
  Parent->DoMouseUpEvent(IDName, X, Y, ObjectRect, Button);
  if (!Parent->SupportNCArea()) return;
  if (QuickButtonsPresent() && Button == mbLeft) {
    QuickButtonUp(X, Y);
  } else if (QuickButtonsPresent()) {
    TestActiveQuickButton(X, Y);
  } else {
    ActiveQuickButton = -1;
  }
  if (Parent->UseFullLayeredBorder() && Button == mbRight && !Parent->DisableSystemMenu() && ActiveQuickButton == -1) {
    TPoint P;
    GetCursorPos(&P);
    Parent->PopupSystemMenu(P.X, P.Y);
  }
}
