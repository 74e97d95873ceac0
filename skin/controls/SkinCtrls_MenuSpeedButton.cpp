// The windowless menu button: a speed button whose press (or only its track part) opens a
// skinned popup menu and/or an images menu under it; its new style draws from the
// "resizetoolbutton" descriptor with a track strip at the right or the bottom.
#include "skin/controls/SkinCtrls.h"
#include "skin/forms/SkinMenus.h"

TspSkinMenuSpeedButton::TspSkinMenuSpeedButton(TComponent* AOwner) : TspSkinSpeedButton(AOwner) {
  FSkinDataName = "toolmenubutton";
}

TspSkinMenuSpeedButton::~TspSkinMenuSpeedButton() {
  if (FSkinImagesMenu) {
    FSkinImagesMenu->OnInternalChange = nullptr;
    FSkinImagesMenu->OnInternalMenuClose = nullptr;
  }
}

// --- properties ------------------------------------------------------------------------

void TspSkinMenuSpeedButton::SetNewStyle(Boolean Value) {
  FNewStyle = Value;
  if (Value) FSkinDataName = "resizetoolbutton";
}

void TspSkinMenuSpeedButton::SetTrackPosition(TspTrackPosition Value) {
  FTrackPosition = Value;
  Repaint();
}

void TspSkinMenuSpeedButton::SetSkinImagesMenu(TspSkinImagesMenu* Value) {
  if (FSkinImagesMenu && FSkinImagesMenu != Value) FSkinImagesMenu->OnInternalChange = nullptr;
  FSkinImagesMenu = Value;
  if (Value) {
    Value->FreeNotification(this);
    Value->OnInternalChange = [this](TObject*) { Repaint(); };
  }
  Repaint();
}

void TspSkinMenuSpeedButton::SetSkinPopupMenu(TspSkinPopupMenu* Value) {
  FSkinPopupMenu = Value;
  if (Value) Value->FreeNotification(this);
}

void TspSkinMenuSpeedButton::SetTrackButtonMode(Boolean Value) {
  FTrackButtonMode = Value;
  if (FIndex == -1) Repaint();
}

void TspSkinMenuSpeedButton::Notification(TComponent* AComponent, TOperation Operation) {
  TspSkinSpeedButton::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FSkinPopupMenu) FSkinPopupMenu = nullptr;
}

void TspSkinMenuSpeedButton::GetSkinData() {
  TspSkinSpeedButton::GetSkinData();
  if (FIndex == -1) return;
  if (auto* D = dynamic_cast<TspDataSkinMenuButtonControl*>(FSD->CtrlList.Items(FIndex)))
    TrackButtonRect = D->TrackButtonRect;
}

// --- track part ------------------------------------------------------------------------

TRect TspSkinMenuSpeedButton::GetTrackPartRect() const {
  TRect R = TrackButtonRect;
  switch (CalcResizeMode()) {
    case 2:
      OffsetRect(&R, Width() - RectWidth(SkinRect), 0);
      break;
    case 3:
      OffsetRect(&R, 0, Height() - RectHeight(SkinRect));
      break;
    default:
      break;
  }
  return R;
}

TRect TspSkinMenuSpeedButton::TrackStrip() const {
  const Integer T = MenuButtonTrackSize;
  if (FTrackPosition == sptpBottom) return Rect(0, Height() - T, Width(), Height());
  return Rect(Width() - T, 0, Width(), Height());
}

Boolean TspSkinMenuSpeedButton::IsTrackPoint(Integer X, Integer Y) {
  if (!HasMenu()) return false;
  if (!FTrackButtonMode) return true;
  if (FIndex != -1 && MenuButtonPartsStyle(FSkinDataName) == 0) return PointOnOrInRect(GetTrackPartRect(), X, Y);
  const Integer T = MenuButtonTrackSize;
  if (FNewStyle && FTrackPosition == sptpBottom)
    return PointOnOrInRect(Rect(0, Height() - T, Width(), Height()), X, Y);
  return PointOnOrInRect(Rect(Width() - T, 0, Width(), Height()), X, Y);
}

// --- the menus -------------------------------------------------------------------------

void TspSkinMenuSpeedButton::PopupTrackMenu() {
  const TPoint P = ClientToScreen(Point(0, 0));
  const TRect R = Rect(P.X, P.Y, P.X + Width(), P.Y + Height());
  if (FSkinPopupMenu) {
    if (OnShowTrackMenu) OnShowTrackMenu(this);
    FSkinPopupMenu->PopupFromRect2(this, R, false);
  }
  if (FSkinImagesMenu) {
    if (OnShowTrackMenu) OnShowTrackMenu(this);
    FSkinImagesMenu->OnInternalMenuClose = [this](TObject* Sender) { ImagesMenuClosed(Sender); };
    FSkinImagesMenu->PopupFromRect(R);
  }
}

void TspSkinMenuSpeedButton::ImagesMenuClosed(TObject*) {
  FMenuTracked = false;
  SetDown(false);
  if (OnHideTrackMenu) OnHideTrackMenu(this);
  FMouseIn = false;
  Repaint();
}

void TspSkinMenuSpeedButton::Dispatch(TMessage& Message) {
  if (Message.Msg == WM_SKINMENU_CLOSED) {
    FMenuTracked = false;
    SetDown(false);
    FMouseIn = false;
    if (OnHideTrackMenu) OnHideTrackMenu(this);
    Repaint();
    return;
  }
  TspSkinSpeedButton::Dispatch(Message);
}

// --- pointer ---------------------------------------------------------------------------

void TspSkinMenuSpeedButton::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  if (Button == mbLeft) {
    FMenuTracked = IsTrackPoint(X, Y);
    FMouseIn = true;
    if (FMenuTracked) {
      if (!FDown) SetDown(true);
      PopupTrackMenu();
      return;
    }
  }
  TspSkinSpeedButton::MouseDown(Button, Shift, X, Y);
}

void TspSkinMenuSpeedButton::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  if (Button == mbLeft && FMenuTracked) return;
  TspSkinSpeedButton::MouseUp(Button, Shift, X, Y);
}

void TspSkinMenuSpeedButton::CMMouseEnter(TWMNoParams& Message) {
  if (!FMenuTracked) {
    TspSkinSpeedButton::CMMouseEnter(Message);
    return;
  }
  TspGraphicSkinCustomControl::CMMouseEnter(Message);
  if (!ComponentState().Contains(csDesigning)) FMouseIn = true;
}

void TspSkinMenuSpeedButton::CMMouseLeave(TWMNoParams& Message) {
  if (!FMenuTracked) {
    TspSkinSpeedButton::CMMouseLeave(Message);
    return;
  }
  TspGraphicSkinCustomControl::CMMouseLeave(Message);
  if (!ComponentState().Contains(csDesigning)) FMouseIn = false;
}
