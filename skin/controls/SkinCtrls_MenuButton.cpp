// The menu button: a push button whose press (or only its track part) opens a skinned
// popup menu and/or an images menu under it, and stays down until the menu closes. The
// keyboard opens the menu too; a closing menu hides the glow unless the pointer is back.
#include "platform/win/Input.h"
#include "platform/win/WindowManager.h"
#include "skin/controls/SkinCtrls.h"

Integer MenuButtonPartsStyle(const String& SkinDataName) {
  if (SkinDataName == "toolbutton" || SkinDataName == "bigtoolbutton") return 1;
  if (SkinDataName == "resizebutton" || SkinDataName == "resizetoolbutton") return 2;
  return 0;
}

TspSkinMenuButton::TspSkinMenuButton(TComponent* AOwner) : TspMenuTrackButton(AOwner) {
  // The space bar opens the menu instead of pressing the button.
  FSpaceSupport = false;
}

void TspSkinMenuButton::TrackPressStarting() {
  if (FIndex != -1 && !IsRectEmpty(&AnimateSkinRect)) StopAnimate();
}

void TspSkinMenuButton::TrackMenuClosed(Boolean ImagesMenu) {
  FMenuTracked = false;
  SetDown(false);
  POINT P{};
  GetCursorPos(&P);
  FMouseIn = HandleAllocated() && WindowFromPoint(P) == Handle();
  if (OnHideTrackMenu) OnHideTrackMenu(this);
  if (FLayerManager && FLayerManager->IsVisible && !FMouseIn) HideLayer();
  if (ImagesMenu)
    ReDraw();
  else
    Repaint();
}

// --- keyboard --------------------------------------------------------------------------

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
  TspMenuTrackButton::WndProc(Message);
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
  TspMenuTrackButton::CMDialogChar(Message);
}
