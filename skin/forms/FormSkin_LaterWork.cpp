// Calls into frame work that is not built yet (window states, snapping, the MDI window
// menu and tabs, skin-change walks, linked controls, client painters, skin menus, object
// hints): each does nothing, or the least that keeps the frame consistent.
#include "skin/forms/FormSkin.h"

#include "platform/win/Gdi.h"

void TspFormSkin::UpdateMDIMainMenuBar() {}
void TspFormSkin::UpdateActiveMDIBarTab() {}
void TspFormSkin::AddChildToBar(TCustomForm*) {}
void TspFormSkin::DeleteChildFromBar(TCustomForm*) {}
void TspFormSkin::RefreshMDIBarTab(TCustomForm*) {}
void TspFormSkin::SendBeforeChangeToComponents(TspSkinData*) {}
void TspFormSkin::SendChangeToComponents(TspSkinData*) {}
// Until the skin's backgrounds are laid, the client area is filled with the skin's face
// colour, so the form never shows what lay in its surface before.
void TspFormSkin::PaintBG(HDC DC) {
  if (!DC) return;
  const TColor Face = HasSkin() ? FSD->SkinColors()->cBtnFace() : clBtnFace;
  const HBRUSH Brush = CreateSolidBrush(ColorToRGB(Face));
  const TRect R = FForm->ClientRect();
  FillRect(DC, &R, Brush);
  DeleteObject(Brush);
}
void TspFormSkin::PaintBG2(HDC DC) { PaintBG(DC); }
void TspFormSkin::PaintBG3(HDC DC) { PaintBG(DC); }
void TspFormSkin::Paint(HDC DC) { PaintBG(DC); }
void TspFormSkin::UpdateCaptionButtonStates() {}
void TspFormSkin::UpdateFormBorderIcons() {}
void TspFormSkin::UpdateObjectHints() {}
void TspFormSkin::SkinMenuOpen() { InMenu = true; }
void TspFormSkin::SkinMenuClose() { InMenu = false; }
void TspFormSkin::ExitMainMenuMode() { InMainMenu = false; }
void TspFormSkin::EnterFrameMainMenu() {}
void TspFormSkin::PopupSystemMenu(Integer, Integer) {}
void TspFormSkin::CancelControlsDropDown() {}
void TspFormSkin::HideSkinMenu() {}
Boolean TspFormSkin::SkinMenuVisible() const { return false; }
void TspFormSkin::HideObjectHint() {}
void TspFormSkin::ActivateObjectHint(const String&) {}
