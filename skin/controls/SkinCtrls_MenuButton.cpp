// The menu button: a push button whose press (or only its track part) opens a skinned
// popup menu and/or an images menu under it, and stays down until the menu closes.
#include "platform/win/Input.h"
#include "platform/win/WindowManager.h"
#include "skin/controls/SkinCtrls.h"
#include "skin/forms/SkinMenus.h"

Integer MenuButtonPartsStyle(const String& SkinDataName) {
  if (SkinDataName == "toolbutton" || SkinDataName == "bigtoolbutton") return 1;
  if (SkinDataName == "resizebutton" || SkinDataName == "resizetoolbutton") return 2;
  return 0;
}

TspSkinMenuButton::TspSkinMenuButton(TComponent* AOwner) : TspSkinButton(AOwner) {
  FSkinDataName = "toolmenubutton";
  // The space bar opens the menu instead of pressing the button.
  FSpaceSupport = false;
}

TspSkinMenuButton::~TspSkinMenuButton() {
  // The images menu must not call back into a button that is gone.
  if (FSkinImagesMenu) {
    FSkinImagesMenu->OnInternalChange = nullptr;
    FSkinImagesMenu->OnInternalMenuClose = nullptr;
  }
}

// --- properties ------------------------------------------------------------------------

void TspSkinMenuButton::SetSkinImagesMenu(TspSkinImagesMenu* Value) {
  if (FSkinImagesMenu && FSkinImagesMenu != Value) FSkinImagesMenu->OnInternalChange = nullptr;
  FSkinImagesMenu = Value;
  if (Value) {
    Value->FreeNotification(this);
    Value->OnInternalChange = [this](TObject*) { Repaint(); };
  }
  Repaint();
}

void TspSkinMenuButton::SetSkinPopupMenu(TspSkinPopupMenu* Value) {
  FSkinPopupMenu = Value;
  if (Value) Value->FreeNotification(this);
}

void TspSkinMenuButton::SetTrackButtonMode(Boolean Value) {
  FTrackButtonMode = Value;
  if (FIndex == -1) Repaint();
}

void TspSkinMenuButton::Notification(TComponent* AComponent, TOperation Operation) {
  TspSkinButton::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FSkinPopupMenu) FSkinPopupMenu = nullptr;
}

void TspSkinMenuButton::GetSkinData() {
  TspSkinButton::GetSkinData();
  if (FIndex == -1) return;
  if (auto* D = dynamic_cast<TspDataSkinMenuButtonControl*>(FSD->CtrlList.Items(FIndex)))
    TrackButtonRect = D->TrackButtonRect;
}

// --- track part ------------------------------------------------------------------------

TRect TspSkinMenuButton::GetTrackPartRect() const {
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

Boolean TspSkinMenuButton::IsTrackPoint(Integer X, Integer Y) {
  if (!HasMenu()) return false;
  if (!FTrackButtonMode) return true;
  if (FIndex != -1 && MenuButtonPartsStyle(FSkinDataName) == 0) return PointOnOrInRect(GetTrackPartRect(), X, Y);
  return PointOnOrInRect(Rect(Width() - MenuButtonTrackSize, 0, Width(), Height()), X, Y);
}

// --- the menus -------------------------------------------------------------------------

void TspSkinMenuButton::PopupTrackMenu() {
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

void TspSkinMenuButton::TrackMenuClosed() {
  FMenuTracked = false;
  SetDown(false);
  POINT P{};
  GetCursorPos(&P);
  FMouseIn = HandleAllocated() && WindowFromPoint(P) == Handle();
  if (OnHideTrackMenu) OnHideTrackMenu(this);
  if (FLayerManager && FLayerManager->IsVisible && !FMouseIn) HideLayer();
}

void TspSkinMenuButton::ImagesMenuClosed(TObject*) {
  TrackMenuClosed();
  ReDraw();
}

void TspSkinMenuButton::Dispatch(TMessage& Message) {
  if (Message.Msg == WM_SKINMENU_CLOSED) {
    TrackMenuClosed();
    Repaint();
    return;
  }
  TspSkinButton::Dispatch(Message);
}

// --- mouse and keyboard ----------------------------------------------------------------

void TspSkinMenuButton::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  if (Button == mbLeft) {
    FMenuTracked = IsTrackPoint(X, Y);
    FMouseIn = true;
    if (FIndex != -1 && !IsRectEmpty(&AnimateSkinRect)) StopAnimate();
    if (FMenuTracked) {
      if (!FDown) SetDown(true);
      PopupTrackMenu();
      return;
    }
  }
  TspSkinButton::MouseDown(Button, Shift, X, Y);
}

void TspSkinMenuButton::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  if (Button == mbLeft && FMenuTracked) return;
  TspSkinButton::MouseUp(Button, Shift, X, Y);
}

void TspSkinMenuButton::CMMouseEnter(TWMNoParams& Message) {
  if (!FMenuTracked) {
    TspSkinButton::CMMouseEnter(Message);
    return;
  }
  TspSkinCustomControl::CMMouseEnter(Message);
  if (!ComponentState().Contains(csDesigning)) FMouseIn = true;
}

void TspSkinMenuButton::CMMouseLeave(TWMNoParams& Message) {
  if (!FMenuTracked) {
    TspSkinButton::CMMouseLeave(Message);
    return;
  }
  TspSkinCustomControl::CMMouseLeave(Message);
  if (!ComponentState().Contains(csDesigning)) FMouseIn = false;
}

void TspSkinMenuButton::WndProc(TMessage& Message) {
  if (FCanFocused && FSkinPopupMenu && !ComponentState().Contains(csDesigning)) {
    if (Message.Msg == WM_KEYDOWN && Message.WParam == VK_SPACE && !FTrackButtonMode) {
      FMenuTracked = true;
      SetDown(true);
      PopupTrackMenu();
      return;
    }
    if (Message.Msg == WM_KEYUP && Message.WParam == VK_SPACE && !FMenuTracked) {
      SetDown(false);
      if (OnClick) OnClick(this);
      return;
    }
    // Enter clicks once, on key-down in the push button's handling.
  }
  TspSkinButton::WndProc(Message);
}

void TspSkinMenuButton::CMDialogChar(TCMDialogChar& Message) {
  if (!FTrackButtonMode && HasMenu() && IsAccel(Message.CharCode(), Caption()) && CanFocus() && FCanFocused) {
    SetFocus();
    FMenuTracked = true;
    SetDown(true);
    PopupTrackMenu();
    Message.Result() = 1;
    return;
  }
  TspSkinButton::CMDialogChar(Message);
}
