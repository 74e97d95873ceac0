// The windowless speed button: state, pointer, groups, repeat, morphing, animation, the
// flat resting look and the pictures it takes from a parent tool bar.
#include "platform/win/WindowManager.h"
#include "skin/controls/SkinCtrls.h"
#include "skin/forms/SkinMenus.h"

TspSkinSpeedButton::TspSkinSpeedButton(TComponent* AOwner) : TspGraphicSkinCustomControl(AOwner) {
  ControlStyle = TControlStyle{csCaptureMouse, csOpaque, csDoubleClicks};
  FSkinDataName = "toolbutton";
  FGlyph = std::make_unique<TBitmap>();
  SetBounds(Left(), Top(), 25, 25);
}

TspSkinSpeedButton::~TspSkinSpeedButton() {
  StopRepeat();
  StopAnimate();
  StopMorph();
}

// --- properties ------------------------------------------------------------------------

void TspSkinSpeedButton::SetImageList(TCustomImageList* Value) {
  FButtonImages = Value;
  if (Value) Value->FreeNotification(this);
}

void TspSkinSpeedButton::SetImageIndex(Integer Value) {
  FImageIndex = Value;
  if (dynamic_cast<TspSkinToolBar*>(Parent()) || FButtonImages) Repaint();
}

void TspSkinSpeedButton::SetFlat(Boolean Value) {
  FFlat = Value;
  if (Value)
    ControlStyle.Exclude(csOpaque);
  else
    ControlStyle.Include(csOpaque);
  Repaint();
}

void TspSkinSpeedButton::SetShowCaption(Boolean Value) {
  if (FShowCaption == Value) return;
  FShowCaption = Value;
  if (FWidthWithCaption > 0 && FWidthWithoutCaption > 0)
    SetWidth(Value ? FWidthWithCaption : FWidthWithoutCaption);
  else
    Repaint();
}

void TspSkinSpeedButton::SetGlyph(TBitmap* Value) {
  FGlyph->Assign(Value);
  Repaint();
}

void TspSkinSpeedButton::SetNumGlyphs(TspNumGlyphs Value) {
  FNumGlyphs = Value;
  Repaint();
}

void TspSkinSpeedButton::SetMargin(Integer Value) {
  if (Value < -1 || Value == FMargin) return;
  FMargin = Value;
  Repaint();
}

void TspSkinSpeedButton::SetSpacing(Integer Value) {
  if (Value == FSpacing) return;
  FSpacing = Value;
  Repaint();
}

void TspSkinSpeedButton::SetLayout(TspButtonLayout Value) {
  if (Value == FLayout) return;
  FLayout = Value;
  Repaint();
}

void TspSkinSpeedButton::SetDown(Boolean Value) {
  FDown = Value;
  if (MorphingEnabled()) {
    FMorphKf = 1;
    if (Value)
      StopMorph();
    else
      StartMorph();
  }
  Repaint();
  if (FGroupIndex == 0 || !FDown || FAllowAllUp || !Parent()) return;
  for (Integer I = 0; I < Parent()->ControlCount(); ++I) {
    auto* Other = dynamic_cast<TspSkinSpeedButton*>(Parent()->Controls(I));
    if (Other && Other != this && Other->FGroupIndex == FGroupIndex && Other->FDown) Other->SetDown(false);
  }
}

void TspSkinSpeedButton::RefreshButton() {
  FMouseIn = false;
  FDown = false;
  if (MorphingEnabled()) FMorphKf = 0;
  if (SkinEffectsEnabled()) StopAnimate();
  Repaint();
}

void TspSkinSpeedButton::Notification(TComponent* AComponent, TOperation Operation) {
  TspGraphicSkinCustomControl::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FButtonImages) FButtonImages = nullptr;
  if (AComponent == FSkinImagesMenu) FSkinImagesMenu = nullptr;
}

Boolean TspSkinSpeedButton::SkinEffectsEnabled() const { return FSD && !FSD->Empty && FSD->EnableSkinEffects(); }

Boolean TspSkinSpeedButton::MorphingEnabled() const { return SkinEffectsEnabled() && Morphing; }

Boolean TspSkinSpeedButton::ShowsPressed() const { return FDown && ((FMouseIn && FGroupIndex == 0) || FGroupIndex != 0); }

void TspSkinSpeedButton::ReDraw() {
  if (MorphingEnabled() && FIndex != -1)
    StartMorph();
  else
    Repaint();
}

// --- click and pointer -----------------------------------------------------------------

// The control's own OnClick, else the linked action.
void TspSkinSpeedButton::ButtonClick() { TspGraphicSkinCustomControl::Click(); }

void TspSkinSpeedButton::ActionChange(TObject* Sender) {
  TspGraphicSkinCustomControl::ActionChange(Sender);
  if (GlyphFromAction(Sender, FGlyph.get())) Repaint();
}

void TspSkinSpeedButton::CMMouseEnter(TWMNoParams& Message) {
  TspGraphicSkinCustomControl::CMMouseEnter(Message);
  if (ComponentState().Contains(csDesigning)) return;
  FMouseIn = true;
  if (Enabled() && (FGroupIndex == 0 || !FDown)) {
    if (FDown) {
      if (MorphingEnabled()) FMorphKf = 1;
      Repaint();
    } else {
      StartAnimate(true);
      ReDraw();
    }
  }
  if (FDown && FRepeatMode && FGroupIndex == 0) StartRepeat();
}

void TspSkinSpeedButton::CMMouseLeave(TWMNoParams& Message) {
  TspGraphicSkinCustomControl::CMMouseLeave(Message);
  if (ComponentState().Contains(csDesigning)) return;
  FMouseIn = false;
  if (Enabled() && (FGroupIndex == 0 || !FDown)) {
    StartAnimate(false);
    ReDraw();
  }
  if (FDown && FRepeatMode && FGroupIndex == 0) StopRepeat();
}

void TspSkinSpeedButton::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TspGraphicSkinCustomControl::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft) return;
  StopAnimate();
  FMouseDown = true;
  if (!FDown) {
    FMouseIn = true;
    SetDown(true);
    if (FRepeatMode && FGroupIndex == 0)
      StartRepeat();
    else if (FGroupIndex != 0)
      ButtonClick();
    FAllowAllUpCheck = false;
  } else if (FGroupIndex != 0) {
    FAllowAllUpCheck = true;
  }
}

void TspSkinSpeedButton::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  if (Button == mbLeft) {
    FMouseDown = false;
    const TRect R = ClientRect();
    const bool Over = PtInRect(&R, Point(X, Y));
    if (FGroupIndex == 0) {
      if (Over) {
        const bool WasDown = FDown;
        SetDown(false);
        StopRepeat();
        if (WasDown) ButtonClick();
      } else {
        FDown = false;
        StopRepeat();
      }
    } else if (FDown && FAllowAllUp && FAllowAllUpCheck && Over) {
      SetDown(false);
      ButtonClick();
    }
  }
  TspGraphicSkinCustomControl::MouseUp(Button, Shift, X, Y);
}

void TspSkinSpeedButton::CMDialogChar(TCMDialogChar& Message) {
  TWinControl* P = Parent();
  const bool ParentShowing = P && P->HandleAllocated() && IsWindowVisible(P->Handle());
  if (IsAccel(Message.CharCode(), Caption()) && Enabled() && Visible() && ParentShowing) {
    ButtonClick();
    Message.Result() = 1;
    return;
  }
  TspGraphicSkinCustomControl::CMDialogChar(Message);
}

void TspSkinSpeedButton::CMEnabledChanged(TWMNoParams& Message) {
  TspGraphicSkinCustomControl::CMEnabledChanged(Message);
  if (MorphingEnabled()) {
    StopMorph();
    FMorphKf = 0;
  }
  FMouseIn = false;
  Repaint();
}

void TspSkinSpeedButton::CMTextChanged(TWMNoParams& Message) {
  TspGraphicSkinCustomControl::CMTextChanged(Message);
  if (FIndex != -1 || ComponentState().Contains(csDesigning) || FDrawDefault) Repaint();
}

void TspSkinSpeedButton::Dispatch(TMessage& Message) { TspGraphicSkinCustomControl::Dispatch(Message); }

// --- timers ----------------------------------------------------------------------------

void TspSkinSpeedButton::StartMorph() {
  if (!MorphTimer) MorphTimer = StartButtonTimer(20, [this] { DoMorphing(); });
}

void TspSkinSpeedButton::StopMorph() { MorphTimer.reset(); }

void TspSkinSpeedButton::DoMorphing() {
  const Double Target = FMouseIn ? 1 : 0;
  if (FIndex == -1 || !MorphingEnabled()) {
    FMorphKf = Target;
    StopMorph();
    return;
  }
  if (!StepMorph(FMorphKf, Target)) StopMorph();
  Repaint();
}

void TspSkinSpeedButton::StartAnimate(Boolean Forward) {
  if (FFlat || FIndex == -1 || !SkinEffectsEnabled() || IsRectEmpty(&AnimateSkinRect) || FrameCount <= 0) return;
  StopAnimate();
  AnimateInc = Forward;
  CurrentFrame = Forward ? 1 : FrameCount;
  AnimateTimer = StartButtonTimer(AnimateInterval, [this] { DoAnimate(); });
}

void TspSkinSpeedButton::StopAnimate() {
  CurrentFrame = 0;
  AnimateTimer.reset();
}

void TspSkinSpeedButton::DoAnimate() {
  Boolean Changed = false;
  const Boolean More = StepAnimation(CurrentFrame, AnimateInc, FrameCount, Changed);
  if (Changed) Repaint();
  if (!More) StopAnimate();
}

void TspSkinSpeedButton::StartRepeat() {
  RepeatTimer = StartRepeatTimer(FRepeatInterval, [this] { ButtonClick(); });
}

void TspSkinSpeedButton::StopRepeat() { RepeatTimer.reset(); }

// --- skin ------------------------------------------------------------------------------

void TspSkinSpeedButton::GetSkinData() {
  TspGraphicSkinCustomControl::GetSkinData();
  if (FIndex == -1) {
    Morphing = false;
    return;
  }
  if (auto* D = dynamic_cast<TspDataSkinButtonControl*>(FSD->CtrlList.Items(FIndex))) {
    CopyButtonLook(*D);
    if (FFlat) Morphing = false;
    if (IsRectEmpty(&MenuMarkerFlatRect)) MenuMarkerFlatRect = MenuMarkerRect;
  }
  if (SkinEffectsEnabled() && AnimateTimer && FrameCount > 0 && CurrentFrame >= 1 && CurrentFrame <= FrameCount) {
    if (AnimateInc)
      ActiveSkinRect = AnimationFrameRect(CurrentFrame, SkinRect);
    else
      SkinRect = AnimationFrameRect(CurrentFrame, SkinRect);
  }
}

void TspSkinSpeedButton::CalcSize(Integer& AWidth, Integer& AHeight) {
  if (FUseSkinSize || ResizeMode == 1 || FIndex == -1) {
    TspGraphicSkinCustomControl::CalcSize(AWidth, AHeight);
    return;
  }
  NewClRect = ClRect;
  NewClRect.Right += AWidth - RectWidth(SkinRect);
  NewClRect.Bottom += AHeight - RectHeight(SkinRect);
}

void TspSkinSpeedButton::ChangeSkinData() {
  StopAnimate();
  StopMorph();
  TspGraphicSkinCustomControl::ChangeSkinData();
  if (MorphingEnabled() && FIndex != -1 && FMouseIn) FMorphKf = 1;
}

// --- painting --------------------------------------------------------------------------

void TspSkinSpeedButton::Paint() {
  if (Width() <= 0 || Height() <= 0) return;
  GetSkinData();
  const bool Resting = FFlat && !FMouseIn && !(FDown && FGroupIndex != 0);
  if (FIndex == -1) {
    if (ShowsPressed() || !Resting)
      TspGraphicSkinCustomControl::Paint();
    else
      PaintFlat(false);
    return;
  }
  if (Resting) {
    PaintFlat(true);
    return;
  }
  PaintStateImage();
}

void TspSkinSpeedButton::PaintStateImage() {
  if (FIndex == -1) {
    TspGraphicSkinCustomControl::Paint();
    return;
  }
  TRect R = SkinRect;
  Boolean ADown = false, AMouseIn = false;
  if (!Enabled() && !IsRectEmpty(&DisabledSkinRect)) {
    R = DisabledSkinRect;
  } else if (ShowsPressed()) {
    R = DownSkinRect;
    ADown = AMouseIn = true;
  } else if (FMouseIn || (MorphingEnabled() && FMorphKf == 1)) {
    R = ActiveSkinRect;
    AMouseIn = true;
  }
  const Boolean Morph = MorphingEnabled() && FMorphKf != 0 && FMorphKf != 1 && Enabled();
  const auto Draw = [this](TBitmap* B, const TRect& AR, Boolean D, Boolean M) { DrawButtonImage(B, AR, D, M); };
  PaintStates(this, Canvas(), Draw, Morph, FMorphKf, SkinRect, R, ADown, AMouseIn, FAlphaBlend, FAlphaBlendValue);
}

void TspSkinSpeedButton::PaintFlat(Boolean Skinned) {
  TCanvas* C = Canvas();
  TFont* F = C->Font();
  if (Skinned && FUseSkinFont) {
    F->SetName(FontName);
    F->SetStyle(FontStyle);
    F->SetHeight(FontHeight);
  } else {
    F->Assign(DefaultFont());
  }
  F->SetCharset(ButtonCharset(FSD, DefaultFont()));
  if (!Skinned)
    F->SetColor(Enabled() ? DefaultFont()->Color() : clBtnShadow);
  else if (!Enabled())
    F->SetColor(FSD->SkinColors()->cBtnShadow());
  else
    F->SetColor(FUseSkinFontColor ? FSD->SkinColors()->cBtnText() : DefaultFont()->Color());
  C->Brush()->SetStyle(bsClear);
  const TRect R = Skinned ? NewClRect : ClientRect();
  Boolean DrawContent = true;
  if (OnPaint) OnPaint(this, C, R, FDown, FMouseIn, DrawContent);
  if (DrawContent) DrawButtonContent(C, R, FDown, FMouseIn, false);
}

void TspSkinSpeedButton::DrawButtonImage(TBitmap* B, TRect R, Boolean ADown, Boolean AMouseIn) {
  TRect TextRect = NewClRect;
  if (!FUseSkinSize && ResizeMode != 1)
    DrawFreeSizeImage(Picture, ResizeMode, ClRect, B, R, TextRect);
  else
    CreateSkinControlImage(B, Picture, R);
  TCanvas* C = B->Canvas();
  SetButtonFont(C, ADown, AMouseIn);
  Boolean DrawContent = true;
  if (OnPaint) OnPaint(this, C, TextRect, ADown, AMouseIn, DrawContent);
  if (DrawContent) DrawButtonContent(C, TextRect, ADown, AMouseIn, true);
}

void TspSkinSpeedButton::SetButtonFont(TCanvas* C, Boolean ADown, Boolean AMouseIn) {
  SetStateFont(C, FSD, DefaultFont(), FUseSkinFont, FUseSkinFontColor, Enabled(), ADown, AMouseIn);
}

void TspSkinSpeedButton::DrawButtonContent(TCanvas* C, const TRect& R, Boolean ADown, Boolean AMouseIn,
                                           Boolean ToolBarHot, Boolean Shift) {
  TspImagesMenuItem* Sel = FSkinImagesMenu && FUseImagesMenuImage ? FSkinImagesMenu->SelectedItem() : nullptr;
  if (Sel && FSkinImagesMenu->Images()) {
    DrawImageAndText(C, R, FMargin, FSpacing, FLayout, FUseImagesMenuCaption ? Sel->Caption() : CaptionToDraw(),
                     Sel->ImageIndex(), FSkinImagesMenu->Images(), false, Enabled(), FDrawColorMarker,
                     FColorMarkerValue);
    return;
  }
  auto* Bar = dynamic_cast<TspSkinToolBar*>(Parent());
  if (FGlyph->Empty() && Bar) {
    TCustomImageList* List = nullptr;
    Boolean ListEnabled = Enabled();
    if (Enabled() || !Bar->DisabledImages()) {
      List = ToolBarHot && (ADown || AMouseIn) && Bar->HotImages() ? Bar->HotImages() : Bar->Images();
    } else {
      List = Bar->DisabledImages();
      ListEnabled = true;  // it already is the disabled picture
    }
    if (List) {
      DrawImageAndText(C, R, FMargin, FSpacing, FLayout, CaptionToDraw(), FImageIndex, List, false, ListEnabled,
                       FDrawColorMarker, FColorMarkerValue);
      return;
    }
  }
  if (FGlyph->Empty() && FButtonImages) {
    DrawImageAndText(C, R, FMargin, FSpacing, FLayout, CaptionToDraw(), FImageIndex, FButtonImages, Shift, Enabled(),
                     FDrawColorMarker, FColorMarkerValue);
    return;
  }
  DrawGlyphAndText(C, R, FMargin, FSpacing, FLayout, CaptionToDraw(), FGlyph.get(), FNumGlyphs,
                   GlyphNumber(FNumGlyphs, ADown, AMouseIn, Enabled()), Shift, FDrawColorMarker, FColorMarkerValue);
}

void TspSkinSpeedButton::DrawDefaultImage(TBitmap* B) {
  TspGraphicSkinCustomControl::DrawDefaultImage(B);
  TCanvas* C = B->Canvas();
  SetPlainFont(C, FSD, DefaultFont(), Enabled());
  const TRect R = ClientRect();
  DrawPlainFace(C, R, ShowsPressed() ? spfsPressed : FMouseIn ? spfsHot : spfsNormal);
  C->Brush()->SetStyle(bsClear);
  Boolean DrawContent = true;
  if (OnPaint) OnPaint(this, C, R, FDown, FMouseIn, DrawContent);
  if (DrawContent) DrawButtonContent(C, R, FDown, FMouseIn, true);
}
