// The windowless menu button: a speed button whose press (or only its track part) opens a
// skinned popup menu and/or an images menu under it; its new style draws from the
// "resizetoolbutton" descriptor with a track strip at the right or the bottom.
#include "skin/controls/SkinCtrls.h"

TspSkinMenuSpeedButton::TspSkinMenuSpeedButton(TComponent* AOwner) : TspMenuTrackButton(AOwner) {}

void TspSkinMenuSpeedButton::SetNewStyle(Boolean Value) {
  FNewStyle = Value;
  if (Value) FSkinDataName = "resizetoolbutton";
}

void TspSkinMenuSpeedButton::SetTrackPosition(TspTrackPosition Value) {
  FTrackPosition = Value;
  Repaint();
}

TRect TspSkinMenuSpeedButton::TrackStrip() const {
  const Integer T = MenuButtonTrackSize;
  if (FNewStyle && FTrackPosition == sptpBottom) return Rect(0, Height() - T, Width(), Height());
  return Rect(Width() - T, 0, Width(), Height());
}

TRect TspSkinMenuSpeedButton::RestOfStrip() const {
  TRect R = Rect(0, 0, Width(), Height());
  if (FNewStyle && FTrackPosition == sptpBottom)
    R.Bottom -= MenuButtonTrackSize;
  else
    R.Right -= MenuButtonTrackSize;
  return R;
}

// No glow and no pointer test: the button rests after its menu closes.
void TspSkinMenuSpeedButton::TrackMenuClosed(Boolean ImagesMenu) {
  FMenuTracked = false;
  SetDown(false);
  if (!ImagesMenu) FMouseIn = false;
  if (OnHideTrackMenu) OnHideTrackMenu(this);
  FMouseIn = false;
  Repaint();
}
