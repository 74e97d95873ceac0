// Calls into frame work that is not built yet (the MDI tabs, the tray icon, object
// hints): each does nothing, or the least that keeps the frame consistent.
#include "skin/forms/FormSkin.h"

void TspFormSkin::UpdateActiveMDIBarTab() {}
void TspFormSkin::AddChildToBar(TCustomForm*) {}
void TspFormSkin::DeleteChildFromBar(TCustomForm*) {}
void TspFormSkin::RefreshMDIBarTab(TCustomForm*) {}
void TspFormSkin::SendBeforeChangeToComponents(TspSkinData*) {}
void TspFormSkin::SendChangeToComponents(TspSkinData*) {}
// Without a tray icon there is nowhere to minimize to or restore from.
void TspFormSkin::MinimizeToTray() {}
void TspFormSkin::RestoreFromTray() {}
