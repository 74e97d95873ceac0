// Finding the frame components of the MDI children, and the panel that mutes an inactive
// form's client area.
#include "skin/forms/FormSkin.h"

#include "skin/forms/ClientInActivePanel.h"

TspFormSkin* FindMaximizedChildSkinForm() {
  TForm* Main = Application ? Application->MainForm() : nullptr;
  if (!Main) return nullptr;
  for (Integer I = 0; I < Main->MDIChildCount(); ++I) {
    TspFormSkin* S = FindSkinFormComponent(Main->MDIChildren(I));
    if (S && S->WindowState() == wsMaximized) return S;
  }
  return nullptr;
}

TspFormSkin* FindActiveChildSkinForm() {
  TForm* Main = Application ? Application->MainForm() : nullptr;
  if (!Main || !Main->ActiveMDIChild()) return nullptr;
  return FindSkinFormComponent(Main->ActiveMDIChild());
}

// A new snapshot on every deactivation: a panel still shown from the last one goes first.
void TspFormSkin::ShowClientInActiveEffect() {
  HideClientInActiveEffect();
  FInActivePanel = new TspClientInActivePanel(this);
  FClientInActiveDraw = true;
  FInActivePanel->ShowPanel(dynamic_cast<TForm*>(FForm), FClientInActiveEffectType);
  FClientInActiveDraw = false;
}

void TspFormSkin::HideClientInActiveEffect() {
  if (!FInActivePanel) return;
  FInActivePanel->HidePanel();
  TspClientInActivePanel* Panel = FInActivePanel;
  FInActivePanel = nullptr;
  Panel->Free();
}
