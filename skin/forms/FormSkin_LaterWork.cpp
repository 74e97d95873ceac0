// Calls into frame work that is not built yet (the MDI tabs and main menu bar, skin
// menus, caption-button states, object hints): each does nothing, or the least that keeps
// the frame consistent.
#include "skin/forms/FormSkin.h"

void TspFormSkin::UpdateMDIMainMenuBar() {}
void TspFormSkin::UpdateActiveMDIBarTab() {}
void TspFormSkin::AddChildToBar(TCustomForm*) {}
void TspFormSkin::DeleteChildFromBar(TCustomForm*) {}
void TspFormSkin::RefreshMDIBarTab(TCustomForm*) {}
void TspFormSkin::SendBeforeChangeToComponents(TspSkinData*) {}
void TspFormSkin::SendChangeToComponents(TspSkinData*) {}
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
