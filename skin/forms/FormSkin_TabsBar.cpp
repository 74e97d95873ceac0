// The frame's side of the MDI tabs bar: the main form's bar gets a tab for every shown
// child, loses it when the child goes, and marks the active child's tab.
#include "skin/forms/FormSkin.h"
#include "skin/forms/FormSkinMDITabsBar.h"

namespace {

// The tabs bar of the main form's frame; nil without one.
TspSkinMDITabsBar* MainFormTabsBar() {
  TForm* Main = Application ? Application->MainForm() : nullptr;
  TspFormSkin* F = Main ? FindSkinFormComponent(Main) : nullptr;
  return F ? F->MDITabsBar() : nullptr;
}

}  // namespace

void TspFormSkin::SetMDITabsBar(TspSkinMDITabsBar* Value) {
  if (FMDITabsBar && FMDITabsBar != Value) FMDITabsBar->RemoveFreeNotification(this);
  FMDITabsBar = Value;
  if (FMDITabsBar) FMDITabsBar->FreeNotification(this);
}

void TspFormSkin::AddChildToBar(TCustomForm* Child) {
  TspSkinMDITabsBar* Bar = MainFormTabsBar();
  if (!Bar || !Child) return;
  Boolean Accept = true;
  if (OnAcceptToMDITabsBar) OnAcceptToMDITabsBar(Accept);
  if (Accept) Bar->AddTab(Child);
}

void TspFormSkin::DeleteChildFromBar(TCustomForm* Child) {
  if (TspSkinMDITabsBar* Bar = MainFormTabsBar()) Bar->DeleteTab(Child);
}

void TspFormSkin::RefreshMDIBarTab(TCustomForm* Child) {
  TspSkinMDITabsBar* Bar = MainFormTabsBar();
  if (!Bar || !Bar->HandleAllocated()) return;
  for (Integer I = 0; I < Bar->TabCount(); ++I)
    if (Bar->Tabs(I)->Child == Child) Bar->Tabs(I)->Draw(Bar->Canvas());
}

void TspFormSkin::UpdateActiveMDIBarTab() {
  if (TspSkinMDITabsBar* Bar = MainFormTabsBar()) Bar->UpdateActiveTab();
}
