// Applying the skin to the frame and the list of its skin objects.
#include "skin/forms/FormSkin.h"

void TspFormSkin::ApplySkinData() {}
void TspFormSkin::CreateSkinObjects() {}
void TspFormSkin::CreateMenuItemObjects() {}
void TspFormSkin::CreateDefaultCaptionButtons() {}
void TspFormSkin::ClearObjects() { ObjectList.clear(); }
void TspFormSkin::CalcObjectRects() {}
void TspFormSkin::UpdateMainMenu(Boolean) {}
void TspFormSkin::ApplySkinClientSize() {}
void TspFormSkin::ForceNCCalcSize() {}
void TspFormSkin::LinkSkinControlsToAreas() {}
