// The push button: state, mouse, keyboard, focus, default and cancel keys, groups,
// repeat, morphing and frame animation, and the glow frame.
#include "platform/win/Focus.h"
#include "platform/win/Keyboard.h"
#include "platform/win/MessageQueue.h"
#include "skin/controls/SkinCtrls.h"
#include "skin/forms/SkinMenus.h"

TspSkinButton::TspSkinButton(TComponent* AOwner) : TspSkinCustomControl(AOwner) {
  FLayerManager = ::Create<TspLayerManager>(this);
  FSkinDataName = "button";
  FGlyph = std::make_unique<TBitmap>();
  SetBounds(Left(), Top(), 75, 25);
}

TspSkinButton::~TspSkinButton() {
  StopRepeat();
  StopAnimate();
  StopMorph();
}

// --- properties ------------------------------------------------------------------------

void TspSkinButton::SetImageList(TCustomImageList* Value) {
  FImageList = Value;
  if (Value) Value->FreeNotification(this);
}

void TspSkinButton::SetImageIndex(Integer Value) {
  if (FImageIndex == Value) return;
  FImageIndex = Value;
  Repaint();
}

void TspSkinButton::SetCanFocused(Boolean Value) {
  FCanFocused = Value;
  SetTabStop(Value);
}

void TspSkinButton::SetGroupIndex(Integer Value) {
  FGroupIndex = Value;
  if (Value != 0) SetCanFocused(false);
}

void TspSkinButton::SetGlyph(TBitmap* Value) {
  FGlyph->Assign(Value);
  Repaint();
}

void TspSkinButton::SetNumGlyphs(TspNumGlyphs Value) {
  FNumGlyphs = Value;
  Repaint();
}

void TspSkinButton::SetMargin(Integer Value) {
  if (Value < -1 || Value == FMargin) return;
  FMargin = Value;
  Repaint();
}

void TspSkinButton::SetSpacing(Integer Value) {
  if (Value == FSpacing) return;
  FSpacing = Value;
  Repaint();
}

void TspSkinButton::SetLayout(TspButtonLayout Value) {
  if (Value == FLayout) return;
  FLayout = Value;
  Repaint();
}

void TspSkinButton::SetDefault(Boolean Value) {
  FDefault = Value;
  if (!HandleAllocated() || !FCanFocused || ComponentState().Contains(csDesigning)) return;
  // Every button of the form re-evaluates which one answers Enter now.
  if (TCustomForm* Form = GetParentForm(this))
    Form->Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(Form->ActiveControl()));
}

void TspSkinButton::SetDown(Boolean Value) {
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
    auto* Other = dynamic_cast<TspSkinButton*>(Parent()->Controls(I));
    if (Other && Other != this && Other->FGroupIndex == FGroupIndex && Other->FDown) Other->SetDown(false);
  }
}

void TspSkinButton::RefreshButton() {
  FMouseIn = false;
  FDown = false;
  if (MorphingEnabled()) FMorphKf = 0;
  if (SkinEffectsEnabled()) StopAnimate();
  Repaint();
}

void TspSkinButton::Notification(TComponent* AComponent, TOperation Operation) {
  TspSkinCustomControl::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FImageList) FImageList = nullptr;
  if (AComponent == FSkinImagesMenu) FSkinImagesMenu = nullptr;
}

// --- conditions ------------------------------------------------------------------------

Boolean TspSkinButton::SkinEffectsEnabled() const { return FSD && !FSD->Empty && FSD->EnableSkinEffects(); }

Boolean TspSkinButton::MorphingEnabled() const { return SkinEffectsEnabled() && Morphing; }

Boolean TspSkinButton::IsFocused() { return FCanFocused && Focused(); }

void TspSkinButton::ReDraw() {
  if (MorphingEnabled() && FIndex != -1)
    StartMorph();
  else
    Repaint();
}

// --- click -----------------------------------------------------------------------------

void TspSkinButton::ButtonClick() {
  if (FCanFocused)
    if (TCustomForm* Form = GetParentForm(this)) Form->SetModalResult(FModalResult);
  // A handler of the button's own wins over the linked action's.
  if (OnClick) {
    OnClick(this);
    return;
  }
  if (ActionLink() && Action() && !ComponentState().Contains(csDesigning)) ActionLink()->Execute(this);
}

void TspSkinButton::Click() {
  if (!Action()) TspSkinCustomControl::Click();
}

void TspSkinButton::ActionChange(TObject* Sender) {
  TspSkinCustomControl::ActionChange(Sender);
  if (GlyphFromAction(Sender, FGlyph.get())) Repaint();
}

// --- mouse -----------------------------------------------------------------------------

void TspSkinButton::CMMouseEnter(TWMNoParams& Message) {
  TspSkinCustomControl::CMMouseEnter(Message);
  if (ComponentState().Contains(csDesigning)) return;
  FMouseIn = true;
  const bool LookChanges = FGroupIndex != 0 ? !FDown : !(IsFocused() && !FDown);
  if (LookChanges) {
    if (FDown) {
      if (MorphingEnabled()) FMorphKf = 1;
      Repaint();
    } else {
      StartAnimate(true);
      ReDraw();
    }
  }
  if (FDown && FRepeatMode && FGroupIndex == 0) StartRepeat();
  if (HandleAllocated()) PostMessage(Handle(), WM_SKINBUTTON_SHOW_GLOW, 0, 0);
}

void TspSkinButton::CMMouseLeave(TWMNoParams& Message) {
  TspSkinCustomControl::CMMouseLeave(Message);
  if (ComponentState().Contains(csDesigning)) return;
  // A default button that answers Enter keeps its active look.
  if (!(FCanFocused && FDefault && FActive && !Focused())) FMouseIn = false;
  const bool LookChanges = FGroupIndex != 0 ? !FDown : !(IsFocused() && !FDown);
  if (LookChanges) {
    StartAnimate(false);
    ReDraw();
  }
  if (FDown && FRepeatMode && FGroupIndex == 0) StopRepeat();
  if (HandleAllocated()) PostMessage(Handle(), WM_SKINBUTTON_HIDE_GLOW, 0, 0);
}

void TspSkinButton::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TspSkinCustomControl::MouseDown(Button, Shift, X, Y);
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

void TspSkinButton::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
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
  if (HandleAllocated() && Visible()) TspSkinCustomControl::MouseUp(Button, Shift, X, Y);
}

// --- keyboard and focus ----------------------------------------------------------------

void TspSkinButton::WndProc(TMessage& Message) {
  if (FCanFocused && !ComponentState().Contains(csDesigning)) {
    if (DropClickWhileFocusing(this, Message, FClicksDisabled)) return;
    switch (Message.Msg) {
      case WM_KEYDOWN:
        if (Message.WParam == VK_SPACE && FSpaceSupport) {
          SetDown(true);
          if (FRepeatMode) ButtonClick();
        } else if (Message.WParam == VK_RETURN) {
          ButtonClick();
        }
        break;
      case WM_KEYUP:
        if (Message.WParam == VK_SPACE && FSpaceSupport) {
          SetDown(false);
          ButtonClick();
        }
        break;
      default:
        break;
    }
  }
  TspSkinCustomControl::WndProc(Message);
}

void TspSkinButton::CMDialogKey(TCMDialogKey& Message) {
  const Word Key = Message.CharCode();
  if (Key == VK_RETURN && FActive && Enabled()) {
    ButtonClick();
    Message.Result() = 1;
    return;
  }
  if (Key == VK_ESCAPE && FCancel && FCanFocused && CanFocus()) {
    const TShiftState S = KeyDataToShiftState(Message.KeyData());
    if (!S.Contains(ssShift) && !S.Contains(ssCtrl) && !S.Contains(ssAlt)) {
      ButtonClick();
      Message.Result() = 1;
      return;
    }
  }
  TspSkinCustomControl::CMDialogKey(Message);
}

void TspSkinButton::CMDialogChar(TCMDialogChar& Message) {
  if (IsAccel(Message.CharCode(), Caption()) && CanFocus() && FCanFocused) {
    SetFocus();
    ButtonClick();
    Message.Result() = 1;
    return;
  }
  TspSkinCustomControl::CMDialogChar(Message);
}

void TspSkinButton::CreateWnd() {
  TspSkinCustomControl::CreateWnd();
  FActive = FDefault;
}

void TspSkinButton::CMFocusChanged(TCMFocusChanged& Message) {
  TControl* Sender = Message.Sender();
  auto* SenderButton = dynamic_cast<TspSkinButton*>(Sender);
  FActive = SenderButton ? Sender == this : FDefault;
  if (FCanFocused && FDefault) {
    if (SenderButton && SenderButton != this) {
      FMouseIn = false;
      ReDraw();
    } else if (!SenderButton) {
      FMouseIn = true;
      if (MorphingEnabled()) FMorphKf = 1;
      Repaint();
    }
  }
  TspSkinCustomControl::CMFocusChanged(Message);
}

void TspSkinButton::CMEnabledChanged(TWMNoParams& Message) {
  TspSkinCustomControl::CMEnabledChanged(Message);
  if (MorphingEnabled()) {
    StopMorph();
    FMorphKf = 0;
  }
  FMouseIn = false;
  Repaint();
}

void TspSkinButton::CMTextChanged(TWMNoParams& Message) {
  TspSkinCustomControl::CMTextChanged(Message);
  if (FIndex != -1 || ComponentState().Contains(csDesigning) || FDrawDefault) Repaint();
}

void TspSkinButton::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_ERASEBKGND:
      if (!FromWMPaint && Message.WParam) {
        auto C = CreateOwned<TCanvas>();
        C->SetHandle(reinterpret_cast<HDC>(Message.WParam));
        PaintButton(C.get());
        C->SetHandle(nullptr);
      }
      Message.Result = 1;
      return;
    case WM_SETFOCUS:
      TspSkinCustomControl::Dispatch(Message);
      if (FCanFocused) {
        StartAnimate(true);
        ReDraw();
      }
      return;
    case WM_KILLFOCUS:
      StopRepeat();
      if (FGroupIndex == 0 && FDown) FDown = false;
      TspSkinCustomControl::Dispatch(Message);
      if (FCanFocused) {
        StartAnimate(false);
        if (MorphingEnabled() && FIndex != -1)
          StartMorph();
        else
          Invalidate();
      }
      return;
    case WM_SKINBUTTON_SHOW_GLOW:
      ShowLayer();
      return;
    case WM_SKINBUTTON_HIDE_GLOW:
      HideLayer();
      return;
    default:
      TspSkinCustomControl::Dispatch(Message);
  }
}

// --- timers ----------------------------------------------------------------------------

void TspSkinButton::StartMorph() {
  if (!MorphTimer) MorphTimer = StartButtonTimer(20, [this] { DoMorphing(); });
}

void TspSkinButton::StopMorph() { MorphTimer.reset(); }

void TspSkinButton::DoMorphing() {
  const Double Target = (FMouseIn || IsFocused()) ? 1 : 0;
  if (FIndex == -1 || !MorphingEnabled()) {
    FMorphKf = Target;
    StopMorph();
    return;
  }
  if (!StepMorph(FMorphKf, Target)) StopMorph();
  Repaint();
}

void TspSkinButton::StartAnimate(Boolean Forward) {
  if (FIndex == -1 || !SkinEffectsEnabled() || IsRectEmpty(&AnimateSkinRect) || FrameCount <= 0) return;
  StopAnimate();
  AnimateInc = Forward;
  CurrentFrame = Forward ? 1 : FrameCount;
  AnimateTimer = StartButtonTimer(AnimateInterval, [this] { DoAnimate(); });
}

void TspSkinButton::StopAnimate() {
  CurrentFrame = 0;
  AnimateTimer.reset();
}

void TspSkinButton::DoAnimate() {
  Boolean Changed = false;
  const Boolean More = StepAnimation(CurrentFrame, AnimateInc, FrameCount, Changed);
  if (Changed) Repaint();
  if (!More) StopAnimate();
}

void TspSkinButton::StartRepeat() {
  RepeatTimer = StartRepeatTimer(FRepeatInterval, [this] { ButtonClick(); });
}

void TspSkinButton::StopRepeat() { RepeatTimer.reset(); }

// --- skin ------------------------------------------------------------------------------

void TspSkinButton::GetSkinData() {
  TspSkinCustomControl::GetSkinData();
  if (FIndex == -1) {
    Morphing = false;
    AnimateSkinRect = TRect{};
    return;
  }
  if (auto* D = dynamic_cast<TspDataSkinButtonControl*>(FSD->CtrlList.Items(FIndex))) {
    if (!FUseSkinSize && D->MaskPictureIndex != -1) MaskPicture = nullptr;
    CopyButtonLook(*D);
  }
  // While a frame animation runs, every paint shows its current frame.
  if (SkinEffectsEnabled() && AnimateTimer && FrameCount > 0 && CurrentFrame >= 1 && CurrentFrame <= FrameCount) {
    if (AnimateInc)
      ActiveSkinRect = AnimationFrameRect(CurrentFrame, SkinRect);
    else
      SkinRect = AnimationFrameRect(CurrentFrame, SkinRect);
  }
}

void TspSkinButton::CalcSize(Integer& AWidth, Integer& AHeight) {
  if (FUseSkinSize || ResizeMode == 1 || FIndex == -1) {
    TspSkinCustomControl::CalcSize(AWidth, AHeight);
    return;
  }
  NewClRect = ClRect;
  NewClRect.Right += AWidth - RectWidth(SkinRect);
  NewClRect.Bottom += AHeight - RectHeight(SkinRect);
}

void TspSkinButton::ChangeSkinData() {
  StopMorph();
  StopAnimate();
  FMorphKf = 0;
  TspSkinCustomControl::ChangeSkinData();
  if (MorphingEnabled() && FIndex != -1 && (IsFocused() || FMouseIn)) FMorphKf = 1;
  if (FMouseIn && HandleAllocated()) PostMessage(Handle(), WM_SKINBUTTON_SHOW_GLOW, 0, 0);
}

void TspSkinButton::BeforeChangeSkinData() {
  TspSkinCustomControl::BeforeChangeSkinData();
  if (FLayerManager->IsVisible) FLayerManager->Hide();
}

// --- glow ------------------------------------------------------------------------------

Boolean TspSkinButton::GlowAllowed() {
  if (!FSD || FSD->Empty || !IsWin2000OrLater()) return false;
  if (!FSD->ShowButtonGlowFrames() && !FAlwaysShowGlowFrame) return false;
  if (GlowLayerPictureIndex == -1) return false;
  return ResizeMode == 0 || ResizeMode == 1 || (ResizeMode == 2 && FUseSkinSize);
}

Boolean TspSkinButton::GlowPictures(TOwned<TBitmap>& G, TOwned<TBitmap>& M, TBitmap*& GP, TBitmap*& MP) {
  TBitmap* SG = SkinActivePicture(FSD, GlowLayerPictureIndex);
  TBitmap* SM = SkinActivePicture(FSD, GlowLayerMaskPictureIndex);
  if (!SG || !SM) return false;
  const Integer DW = Width() - RectWidth(SkinRect), DH = Height() - RectHeight(SkinRect);
  // Stretches (mode 1) or widens (mode 2) one picture to the button's size.
  auto Fit = [&](TBitmap* Src) {
    auto Out = CreateOwned<TBitmap>();
    const Integer W = Src->Width(), H = Src->Height();
    if (ResizeMode == 1) {
      Out->SetSize(W + DW, H + DH);
      CreateStretchSkinImage(Out.get(), Src, Rect(0, 0, W, H),
                             Rect(GlowLayerOffsetLeft, GlowLayerOffsetTop, W - GlowLayerOffsetRight,
                                  H - GlowLayerOffsetBottom),
                             true);
    } else {
      CreateHSkinImage(GlowLayerOffsetLeft, GlowLayerOffsetRight, Out.get(), Src, Rect(0, 0, W, H), W + DW, H,
                       true);
    }
    return Out;
  };
  if (ResizeMode == 0) {
    GP = SG;
    MP = SM;
    return true;
  }
  G = Fit(SG);
  M = Fit(SM);
  GP = G.get();
  MP = M.get();
  return true;
}

void TspSkinButton::ShowLayer() {
  if (!GlowAllowed()) return;
  TCustomForm* Form = GetParentForm(this);
  FLayerManager->TopMostMode = Form && Form->FormStyle() == fsStayOnTop;
  TOwned<TBitmap> G, M;
  TBitmap* GP = nullptr;
  TBitmap* MP = nullptr;
  if (!GlowPictures(G, M, GP, MP)) return;
  const TPoint P = ClientToScreen(Point(0, 0));
  FLayerManager->Show(P.X - GlowLayerShowOffsetX, P.Y - GlowLayerShowOffsetY, GP, MP, GlowLayerAlphaBlendValue);
}

void TspSkinButton::HideLayer() {
  if (GlowAllowed()) FLayerManager->Hide();
}
