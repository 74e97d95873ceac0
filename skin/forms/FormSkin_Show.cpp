// Showing the form (first placement, the alpha fade-in, the MDI client hook), keeping the
// frame geometry and region in step while the form is moved and sized, and the MDI client
// window's procedure.
#include "skin/forms/FormSkin.h"
#include "skin/forms/FormSkinLayerBorder.h"

#include "platform/win/Layered.h"
#include "platform/win/Paint.h"
#include "platform/win/Timers.h"

namespace {

void FormSkinSetLayered(HWND Wnd, bool On) {
  const LONG_PTR ExStyle = GetWindowLongPtr(Wnd, GWL_EXSTYLE);
  const bool Has = (ExStyle & WS_EX_LAYERED) != 0;
  if (On && !Has) SetWindowLongPtr(Wnd, GWL_EXSTYLE, ExStyle | WS_EX_LAYERED);
  if (!On && Has) SetWindowLongPtr(Wnd, GWL_EXSTYLE, ExStyle & ~static_cast<LONG_PTR>(WS_EX_LAYERED));
}

}  // namespace

// The window fades in on showing: an alpha value, a fade animation, or every window of
// the skin animated.
Boolean TspFormSkin::FadeWanted() const {
  const bool AllWindows = FSD && FSD->AnimationForAllWindows();
  return IsWin2000OrLater() && (FAlphaBlend || FAlphaBlendAnimation || AllWindows);
}

Boolean TspFormSkin::WMShowWindow(TMessage& Message) {
  const bool Showing = Message.WParam != 0;
  if (!Showing) {
    if (FLayerManager->IsVisible) FLayerManager->Hide();
    if (FMenuLayerManager->IsVisible) FMenuLayerManager->Hide();
    if (FSkinnableForm && IsMDIChildForm()) {
      DeleteChildFromMenu(FForm);
      DeleteChildFromBar(FForm);
    }
    if (FSkinnableForm) LayerWhileHiding();
    return true;
  }
  if (FStartShow && FPositionInMonitor == sppDefault) {
    FStartShow = false;
  } else if (FStartShow && FWindowState == wsNormal) {
    FStartShow = false;
    ApplyPositionInMonitor();
  }
  if (FSkinnableForm && FSD && FSD->AnimationForAllWindows() && FAlphaBlendValue == 0) FAlphaBlendValue = 255;
  const HWND Wnd = FForm->Handle();
  if (FadeWanted() || (FSkinnableForm && UseLayeredShow())) {
    if (FIsVistaOS && !DisableDWMAnimation) {
      SetDwmTransitions(Wnd, false);
      DisableDWMAnimation = true;
    }
    FormSkinSetLayered(Wnd, true);
    SetLayeredAlpha(Wnd, 0);
    if (UseLayeredBorder() && (FForm->Visible() || FForm->Tag() == -10000)) {
      FBorderLayer->CheckFormAlpha(0, false);
      FBorderLayer->ShowWithForm();
    }
    SetTimer(Wnd, 1, 1, nullptr);
  }
  if (IsMDIMainForm()) {
    HookMDIClient(false);
  } else if (FSkinnableForm && FSupportNCArea) {
    ForceNCCalcSize();
  }
  if (!FSkinnableForm) return true;
  if (IsMDIChildForm()) {
    AddChildToMenu(FForm);
    AddChildToBar(FForm);
  }
  if (!FSupportNCArea) UpdateLinkedControls();
  // Menus are shown by the skin instead.
  if (FForm->Menu()) FForm->SetMenu(nullptr);
  return true;
}

void TspFormSkin::WMShowWindowAfter(TMessage& Message) {
  if (Message.WParam == 0) {
    if (FBorderLayer->Visible()) FBorderLayer->Hide();
    return;
  }
  if (!UseLayeredBorder()) return;
  const bool AllWindows = FSD && FSD->AnimationForAllWindows();
  const bool Fading = IsWin2000OrLater() && (FAlphaBlendAnimation || FAlphaBlend || UseLayeredShow() || AllWindows);
  if (Fading || (!FForm->Visible() && FForm->Tag() != -10000)) return;
  const std::shared_ptr<bool> Alive = FAlive;
  Application->ProcessMessages();
  if (!*Alive || !UseLayeredBorder()) return;
  FBorderLayer->SetActive(true, false);
  FBorderLayer->ShowWithForm();
}

// The fade-in: the first tick of timer 1 after showing runs it to its end. It handles
// pending messages once, which may free the form or this component; it stops at once
// when that happened.
Boolean TspFormSkin::WMFadeTimer(TMessage&) {
  const HWND Wnd = FForm->Handle();
  if (UseLayeredShow()) {
    KillTimer(Wnd, 1);
    FormSkinSetLayered(Wnd, false);
    if (UseLayeredBorder() && (FForm->Visible() || FForm->Tag() == -10000)) {
      FBorderLayer->SetActive(FForm->Active(), false);
      FBorderLayer->CheckFormAlpha(255, true);
    }
    return true;
  }
  if (FadeWanted() && UseLayeredBorder()) FBorderLayer->SetActive(FForm->Active(), false);
  if (!FadeWanted()) return true;
  KillTimer(Wnd, 1);
  const bool AllWindows = FSD && FSD->AnimationForAllWindows();
  const Integer Target = (FAlphaBlendAnimation || AllWindows) && !FAlphaBlend ? 255 : FAlphaBlendValue;
  if (FAlphaBlendAnimation || AllWindows) {
    const Integer Step = IntMax(1, Target / 15);
    const std::shared_ptr<bool> Alive = FAlive;
    Application->ProcessMessages();
    if (!*Alive || !IsWindow(Wnd)) return false;
    Integer Value = 0;
    DWORD Last = GetTickCount();
    bool First = true;
    while (Value < Target) {
      const DWORD Now = GetTickCount();
      if (First || Now - Last > 5) {
        First = false;
        Value = IntMin(Value + Step, Target);
        SetLayeredAlpha(Wnd, Value);
        if (FBorderLayer->Visible() && UseLayeredBorder()) FBorderLayer->CheckFormAlpha(Value, true);
        Last = Now;
      }
      if (Value >= Target) break;
      Sleep(1);
      if (!*Alive || !IsWindow(Wnd)) return false;
    }
  } else if (Target != 255) {
    SetLayeredAlpha(Wnd, FAlphaBlendValue);
    if (FBorderLayer->Visible() && UseLayeredBorder()) FBorderLayer->CheckFormAlpha(FAlphaBlendValue, true);
  }
  if (Target == 255) {
    FormSkinSetLayered(Wnd, false);
    if (FBorderLayer->Visible() && UseLayeredBorder()) FBorderLayer->CheckFormAlpha(255, true);
  }
  return true;
}

Boolean TspFormSkin::WMSizing(TMessage& Message) {
  if (!FSizeMove || !FFullDrag) return true;
  FSizing = true;
  FBorderLayerChangeSize = false;
  HMagnetized = VMagnetized = HMagnetized2 = VMagnetized2 = false;
  const std::shared_ptr<bool> Alive = FAlive;
  if (OldWindowProc) OldWindowProc(Message);
  if (!*Alive) return false;
  const RECT& R = *reinterpret_cast<RECT*>(Message.LParam);
  FFormWidth = IntMax(R.Right - R.Left, GetMinWidth());
  FFormHeight = IntMax(R.Bottom - R.Top, GetMinHeight());
  if (!FSD || (FSD->Empty && FSkinnableForm && FSupportNCArea)) {
    UpdateFormRegion(true);
  } else if (FSupportNCArea && FSkinnableForm && FForm->Width() >= GetMinWidth() &&
             FForm->Height() >= GetMinHeight() &&
             (FForm->Width() != FFormWidth || FForm->Height() != FFormHeight)) {
    UpdateFrameGeometry(true);
    if (FBorderLayer->Visible() && UseLayeredBorder() && FFormTop == FOldFormTop && FFormLeft == FOldFormLeft)
      FBorderLayer->SetBoundsWithForm3(FFormLeft, FFormTop, FFormWidth, FFormHeight);
    FOldFormTop = FFormTop;
    FOldFormLeft = FFormLeft;
  }
  return false;
}

// Layered while it goes, the window leaves no picture behind its border.
void TspFormSkin::LayerWhileHiding() {
  if (FBorderLayer->Visible() && FIsVistaOS && FSupportNCArea && FForm->HandleAllocated())
    FormSkinSetLayered(FForm->Handle(), true);
}

void TspFormSkin::WMWindowPosChanged(TMessage& Message) {
  const auto* Pos = reinterpret_cast<const WINDOWPOS*>(Message.LParam);
  if (!Pos) return;
  if (Pos->flags & SWP_HIDEWINDOW) LayerWhileHiding();
  if (!(Pos->flags & SWP_NOMOVE)) {
    FFormLeft = Pos->x;
    FFormTop = Pos->y;
  }
  if (!FSizing && FBorderLayerChangeSize && !(Pos->flags & SWP_NOSIZE)) {
    FFormWidth = Pos->cx;
    FFormHeight = Pos->cy;
  }
  const bool Moved = !(Pos->flags & SWP_NOMOVE);
  if (FSizing && Moved && FBorderLayer->Visible() && UseLayeredBorder())
    FBorderLayer->SetBoundsWithForm3(FFormLeft, FFormTop, FFormWidth, FFormHeight);
  if (!FSizing && !FBorderLayerChangeSize) {
    if (FBorderLayer->Visible() && UseLayeredBorder()) FBorderLayer->MoveWithForm2(FFormLeft, FFormTop);
    FOldFormLeft = FFormLeft;
    FOldFormTop = FFormTop;
  }
  // The main form names the topmost shown child as its active one: a child brought to
  // the top (as a newly shown one is, after it was shown) becomes the checked and
  // marked one.
  if (IsMDIChildForm() && !(Pos->flags & SWP_NOZORDER) && FForm->Visible()) {
    UpdateActiveMDIBarTab();
    UpDateChildActiveInMenu();
  }
}

Boolean TspFormSkin::WMSize(TMessage& Message) {
  if (FSizeMove && FFullDrag) {
    if (FSupportNCArea && !FLogoBitMap->Empty() && !IsMDIMainForm()) FForm->Invalidate();
    return true;
  }
  const std::shared_ptr<bool> Alive = FAlive;
  if (!FBorderLayerChangeSize) {
    if (OldWindowProc) OldWindowProc(Message);
    if (!*Alive) return false;
    FFormWidth = FForm->Width();
    FFormHeight = FForm->Height();
  }
  HMagnetized = VMagnetized = HMagnetized2 = VMagnetized2 = false;
  if (!FSkinSupport && FSupportNCArea) {
    if (FForm->HandleAllocated()) SendMessage(FForm->Handle(), WM_NCPAINT, 0, 0);
    UpdateFormRegion(true);
  } else if (FSkinSupport && FSupportNCArea && FSkinnableForm) {
    if (FFormWidth >= GetMinWidth() && FFormHeight >= GetMinHeight()) {
      if (FBorderLayer->Visible() && UseLayeredBorder()) {
        if (FBorderLayerChangeSize)
          FBorderLayer->SetBoundsWithForm3(FFormLeft, FFormTop, FFormWidth, FFormHeight);
        else
          FBorderLayer->SetBoundsWithForm();
      }
      UpdateFrameGeometry(true);
    }
  } else if (FSkinSupport && !FSupportNCArea && !FRollUpState) {
    const Boolean R = IsSkinResizable();
    if (R || (FForm->ClientWidth() == FSD->FPicture->Width() && FForm->ClientHeight() == FSD->FPicture->Height())) {
      if (FBorderLayer->Visible() && UseLayeredBorder()) FBorderLayer->SetBoundsWithForm();
      UpdateFrameGeometry(R);
    }
  }
  if (FBorderLayerChangeSize && OldWindowProc) {
    OldWindowProc(Message);
    if (!*Alive) return false;
  }
  if (FAlphaBlend && FAlphaBlendValue < 255 && IsWin2000OrLater() && FSupportNCArea) {
    if (FForm->HandleAllocated()) SendMessage(FForm->Handle(), WM_NCPAINT, 0, 0);
    FForm->Invalidate();
  }
  if (FSupportNCArea && !FLogoBitMap->Empty() && !IsMDIMainForm()) FForm->Invalidate();
  return false;
}

void TspFormSkin::WMExitSizeMove(TMessage&) {
  if (FSizing && (FForm->Width() != FFormWidth || FForm->Height() != FFormHeight)) {
    FFormLeft = FForm->Left();
    FFormTop = FForm->Top();
    FFormWidth = FForm->Width();
    FFormHeight = FForm->Height();
    UpdateFrameGeometry(true);
  }
  MouseTimer->SetEnabled(false);
  ActiveObject = OldActiveObject = MouseCaptureObject = -1;
  FSizeMove = false;
  FSizing = false;
  if (HasSkin() && FForm->HandleAllocated()) SendMessage(FForm->Handle(), WM_NCPAINT, 0, 0);
  if (FBorderLayer->Visible() && UseLayeredBorder()) FBorderLayer->SetBoundsWithForm();
}

// Puts MDIClientWindowProc on the MDI client window, once; with AReplace a new thunk
// takes the place of the one installed, which is freed after the change.
void TspFormSkin::HookMDIClient(Boolean AReplace) {
  const HWND Client = FForm->ClientHandle();
  if (!Client) return;
  if (FClientInstance && !AReplace) return;
  const LONG_PTR Current = GetWindowLongPtr(Client, GWL_WNDPROC);
  if (!FClientInstance || Current != WndProcToLong(FClientInstance)) FPrevClientProc = LongToWndProc(Current);
  WNDPROC Old = FClientInstance;
  FClientInstance = MakeObjectInstance([this](TMessage& Message) { MDIClientWindowProc(Message); });
  SetWindowLongPtr(Client, GWL_WNDPROC, WndProcToLong(FClientInstance));
  if (Old) FreeObjectInstance(Old);
  ForceNCCalcSize();
}

void TspFormSkin::MDIClientWindowProc(TMessage& Message) {
  const HWND Client = FForm->ClientHandle();
  const auto PassOn = [&] {
    Message.Result = CallWindowProc(FPrevClientProc, Client, Message.Msg, Message.WParam, Message.LParam);
  };
  switch (Message.Msg) {
    case WM_NCCALCSIZE:
    case WM_NCPAINT:
      Message.Result = 0;
      return;
    case WM_NCACTIVATE:
      Message.Result = 1;
      return;
    case WM_SIZE: {
      PassOn();
      RefitMDIChildren();
      const bool Stretching =
          HasSkin() && ((FSD->StretchEffect && FSD->MDIBGPictureIndex == -1) ||
                        (FSD->MDIBGStretchEffect && FSD->MDIBGPictureIndex != -1));
      if (!FLogoBitMap->Empty() || Stretching) {
        const TRect R = Rect(0, 0, FForm->ClientWidth(), FForm->ClientHeight());
        RedrawWindow(Client, &R, nullptr, RDW_ERASE | RDW_INVALIDATE);
      }
      return;
    }
    case WM_ERASEBKGND: {
      const HDC DC = reinterpret_cast<HDC>(Message.WParam);
      if (!HasSkin())
        PaintMDIBGDefault(DC);
      else if (FSD->MDIBGPictureIndex != -1)
        PaintBG3(DC);
      else if (FSD->BGPictureIndex == -1)
        PaintBG(DC);
      else
        PaintBG2(DC);
      Message.Result = 1;
      return;
    }
    default:
      PassOn();
      return;
  }
}
