// Finding the frame components of the MDI children, and the panel that mutes an inactive
// form's client area.
#include "skin/forms/FormSkin.h"

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
