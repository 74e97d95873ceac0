// Window states of the frame: a skinned window has no system caption buttons, so the
// frame minimizes, maximizes and restores its form itself, remembering the bounds to come
// back to; and it keeps the window's footprint when the layered border comes or goes.
#include "skin/controls/SkinCtrls.h"
#include "skin/forms/FormSkin.h"
#include "skin/forms/FormSkinLayerBorder.h"

namespace {

Boolean FormSkinIsMainForm(const TCustomForm* Form) {
  return Application && Form && Application->MainForm() == Form;
}

void FormSkinSendToMainForm(UINT Msg) {
  if (!Application) return;
  TForm* Main = Application->MainForm();
  if (Main && Main->HandleAllocated()) SendMessage(Main->Handle(), Msg, 0, 0);
}

}  // namespace

void TspFormSkin::SetWindowState(TWindowState Value) {
  if (FWindowState == Value) return;
  const TWindowState Before = FWindowState;
  const Boolean KeepState = Value == wsMinimized && (FormSkinIsMainForm(FForm) || FMinimizeDefault);
  if (!KeepState) {
    OldWindowState = FWindowState;
    FWindowState = Value;
  }
  switch (Value) {
    case wsNormal:
      if (Before == wsMaximized && FRollUpState && !FRollUpBeforeMaximize) {
        // The roll-up happened while maximized: roll down before going back.
        SetRollUpState(false);
      }
      FRollUpBeforeMaximize = false;
      RestoreFrame();
      break;
    case wsMinimized:
      MinimizeFrame();
      break;
    case wsMaximized:
      FRollUpBeforeMaximize = FRollUpState;
      MaximizeFrame();
      break;
  }
}

void TspFormSkin::MinimizeFrame() {
  if (FormSkinIsMainForm(FForm) || !FSupportNCArea) {
    if (FSupportNCArea && Application && Application->MainFormOnTaskBar() && FBorderLayer->Visible())
      FBorderLayer->Hide();
    if (Application) Application->Minimize();
  } else if (FMinimizeDefault) {
    FForm->SetWindowState(wsMinimized);
  } else {
    if (IsNullRect(OldBoundsRect)) OldBoundsRect = FForm->BoundsRect();
    TPoint P{};
    FindMinimizedPos(P);
    const TspFormLayerBorder& B = *FBorderLayer;
    if (B.Visible() && B.FullBorder())
      FForm->SetBounds(P.X + B.LeftSize, P.Y - B.BottomSize - B.Data()->RollUpFormHeight + 10, GetMinWidth(),
                       GetMinHeight());
    else
      FForm->SetBounds(P.X, P.Y, GetMinWidth(), GetMinHeight());
    if (IsMDIChildForm() && !IsMaximizedMDIChild()) FormSkinSendToMainForm(WM_MDICHILD_RESTORED);
  }
  if (OnMinimize) OnMinimize(this);
}

void TspFormSkin::MaximizeFrame() {
  if (IsNullRect(OldBoundsRect)) OldBoundsRect = FForm->BoundsRect();
  if (IsMDIChildForm()) {
    MouseTimer->SetEnabled(false);
    TestActiveObject(-1, -1, false);
    TRect R{};
    GetMDIWorkArea(R);
    const Boolean SameSize = FForm->Width() == RectWidth(R) && FForm->Height() == RectHeight(R);
    FForm->SetBounds(0, 0, RectWidth(R), RectHeight(R));
    if (SameSize) ForceNCCalcSize();
    FormSkinSendToMainForm(WM_MDICHILD_MAXIMIZED);
  } else {
    const HWND Wnd = FForm->HandleAllocated() ? FForm->Handle() : nullptr;
    TRect R{};
    GetMonitorArea(Wnd, !FMaximizeOnFullScreen, R);
    if (!FMaximizeOnFullScreen) {
      TRect Whole{}, Screen{};
      GetMonitorArea(Wnd, false, Whole);
      GetScreenArea(false, Screen);
      // A taskbar that hides itself leaves the work area the whole screen: keep a pixel
      // free on every side so it can still come up.
      if (RectWidth(R) == RectWidth(Whole) && RectHeight(R) == RectHeight(Whole) && Whole == Screen)
        InflateRect(&R, -1, -1);
    }
    const TspFormLayerBorder& B = *FBorderLayer;
    if (B.FullBorder() && UseLayeredBorder())
      FForm->SetBounds(R.Left + B.LeftSize, R.Top + B.TopSize, RectWidth(R) - B.LeftSize - B.RightSize,
                       RectHeight(R) - B.TopSize - B.BottomSize);
    else
      FForm->SetBounds(R.Left, R.Top, RectWidth(R), RectHeight(R));
  }
  if (FStatusBar && FStatusBar->SizeGrip()) FStatusBar->SetShowGrip(false);
  if (FBorderLayer->Visible() && !FBorderLayer->FullBorder()) FBorderLayer->Hide();
  if (OnMaximize) OnMaximize(this);
}

// Nothing saved (a client-mode form minimized through the application) keeps the form
// where it is instead of shrinking it to nothing.
void TspFormSkin::RestoreFrame() {
  MaxRollUpState = false;
  const Boolean HaveBounds = !IsNullRect(OldBoundsRect);
  if (FSupportNCArea) {
    const Integer W0 = FForm->Width(), H0 = FForm->Height();
    if (!FBorderLayer->Visible() && UseLayeredBorder()) FBorderLayer->ShowWithForm();
    if (FStartShow && HaveBounds) {
      FStartShow = false;
      const Integer W = RectWidth(OldBoundsRect), H = RectHeight(OldBoundsRect);
      const TPoint P = GetPositionInMonitor(OldBoundsRect.Left, OldBoundsRect.Top, W, H);
      FForm->SetBounds(P.X, P.Y, W, H);
    } else if (HaveBounds) {
      if (FBorderLayer->Visible())
        FBorderLayer->SetBoundsWithForm3(OldBoundsRect.Left, OldBoundsRect.Top, RectWidth(OldBoundsRect),
                                         RectHeight(OldBoundsRect));
      FForm->SetBounds(OldBoundsRect.Left, OldBoundsRect.Top, RectWidth(OldBoundsRect), RectHeight(OldBoundsRect));
    }
    MouseTimer->SetEnabled(true);
    if (FForm->Width() == W0 && FForm->Height() == H0) ForceNCCalcSize();
    FForm->Invalidate();
    if (IsMDIChildForm() && !IsMaximizedMDIChild()) FormSkinSendToMainForm(WM_MDICHILD_RESTORED);
    OldBoundsRect = TRect{};
  } else {
    if (!FBorderLayer->Visible() && UseLayeredBorder()) FBorderLayer->ShowWithForm();
    if (HaveBounds)
      FForm->SetBounds(OldBoundsRect.Left, OldBoundsRect.Top, RectWidth(OldBoundsRect), RectHeight(OldBoundsRect));
    OldBoundsRect = TRect{};
    MouseTimer->SetEnabled(true);
  }
  if (FStatusBar && FStatusBar->SizeGrip()) FStatusBar->SetShowGrip(true);
  if (OnRestore) OnRestore(this);
}

// Border plus form cover the rectangle kept before the change.
void TspFormSkin::KeepBoundsOnBorderChange() {
  const TRect& B = FOldFormBounds;  // left, top, width, height
  const TspFormLayerBorder& L = *FBorderLayer;
  if (FullLayeredBorderShown() && FOldFullBorder != -1) {
    FForm->SetBounds(B.Left + L.LeftSize, B.Top + L.TopSize, B.Right - L.LeftSize - L.RightSize,
                     B.Bottom - L.TopSize - L.BottomSize);
    return;
  }
  if (FOldFullBorder != 1) return;
  FForm->SetBounds(B.Left, B.Top, B.Right, FRollUpState ? GetMinHeight() : B.Bottom);
}
