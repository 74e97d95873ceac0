// Keys while a skin menu is open or the frame is in main-menu mode: the application-message
// hook takes key presses from the focused control and gives them to the menu; arrows,
// Enter, Esc and accelerators move over the main menu (the bar's titles or the frame's own
// main-menu items) and everything else goes to the deepest open level.
#include "skin/forms/FormSkin.h"

#include "platform/win/Input.h"
#include "skin/forms/FormSkinObjects.h"
#include "skin/forms/SkinMenus.h"

namespace {

std::vector<TspSkinMainMenuItem*> FrameMenuItems(const TspFormSkin* F) {
  std::vector<TspSkinMainMenuItem*> Items;
  for (TspActiveSkinObject* Obj : F->ObjectList)
    if (auto* MI = dynamic_cast<TspSkinMainMenuItem*>(Obj)) Items.push_back(MI);
  return Items;
}

Boolean FrameMenuItemUsable(const TspSkinMainMenuItem* MI) { return MI->Enabled && MI->Visible; }

// The deepest open level of the frame's skin menu, nil when none is open.
TspSkinPopupWindow* DeepestLevel(const TspFormSkin* F) {
  if (!F->SkinMenu || F->SkinMenu->LevelCount() == 0) return nullptr;
  return F->SkinMenu->Level(F->SkinMenu->LevelCount() - 1);
}

}  // namespace

void TspFormSkin::MenuAppMessageHook(MSG& Msg, Boolean& Handled) {
  if (Msg.message == WM_KEYDOWN) {
    // The key handling may end the hook (and with it this closure); work on copies.
    const WPARAM WParam = Msg.wParam;
    const LPARAM LParam = Msg.lParam;
    Msg.message = 0;
    Handled = true;
    MenuKeyDown(WParam, LParam);
  } else if (Msg.message == WM_MOUSEWHEEL) {
    Msg.message = 0;
    Handled = true;
  }
}

void TspFormSkin::MenuKeyDown(WPARAM WParam, LPARAM LParam) {
  const Word Key = static_cast<Word>(WParam & 0xFFFF);
  if (IsMDIChildForm()) {
    TspFormSkin* Main = FindSkinFormComponent(Application->MainForm());
    if (Main && Main != this && (Main->InMenu || Main->InMainMenu || Main->SkinMenuVisible()))
      Main->MenuKeyDown(WParam, LParam);
    return;
  }
  if (InMainMenu && CheckMainMenuHotKey(Key)) return;
  const Boolean LevelOpen = SkinMenuVisible() && SkinMenu->LevelCount() > 0;
  if (Key == VK_ESCAPE && InMainMenu && !LevelOpen) {
    ExitMainMenuMode();
    return;
  }
  if (Key == VK_LEFT && InMainMenu && CanPriorFrameMainMenuItem()) {
    if (FMainMenuBar)
      FMainMenuBar->PriorMainMenuItem();
    else
      PriorFrameMainMenuItem();
    return;
  }
  if (Key == VK_RIGHT && InMainMenu && CanNextFrameMainMenuItem()) {
    if (FMainMenuBar)
      FMainMenuBar->NextMainMenuItem();
    else
      NextFrameMainMenuItem();
    return;
  }
  if (Key == VK_RETURN || Key == VK_DOWN) {
    if (PressFrameMainMenuItem()) return;
    if (TspSkinPopupWindow* W = DeepestLevel(this); W && SkinMenuVisible()) W->PopupKeyDown(Key);
    return;
  }
  if (TspSkinPopupWindow* W = DeepestLevel(this); W && SkinMenuVisible()) W->PopupKeyDown(Key);
  if (Key == VK_ESCAPE && SkinMenu->LevelCount() == 0) {
    if (InMainMenu)
      ReleaseMainMenuItem();
    else
      SkinMenuClose();
  }
}

Boolean TspFormSkin::CheckMainMenuHotKey(Word Key) {
  if (FMainMenuBar) return FMainMenuBar->CheckHotKey(Key);
  for (TspSkinMainMenuItem* MI : FrameMenuItems(this)) {
    if (!FrameMenuItemUsable(MI) || !MI->MenuItem || !IsAccel(Key, MI->MenuItem->Caption())) continue;
    MI->MouseEnter();
    if (!(InMenu && MI->MenuItem->Count() > 0)) MI->MouseDown(0, 0, mbLeft);
    return true;
  }
  return false;
}

Boolean TspFormSkin::CanPriorFrameMainMenuItem() const { return !SkinMenu || SkinMenu->LevelCount() <= 1; }

Boolean TspFormSkin::CanNextFrameMainMenuItem() const {
  TspSkinPopupWindow* W = DeepestLevel(this);
  if (!W) return true;
  if (W->ActiveItem < 0 || W->ActiveItem >= static_cast<Integer>(W->ItemList.size())) return true;
  return !W->ItemList[static_cast<size_t>(W->ActiveItem)]->HasSubItems();
}

void TspFormSkin::NextFrameMainMenuItem() {
  std::vector<TspSkinMainMenuItem*> C;
  for (TspSkinMainMenuItem* MI : FrameMenuItems(this))
    if (FrameMenuItemUsable(MI)) C.push_back(MI);
  if (C.empty()) return;
  for (size_t I = 0; I < C.size(); ++I) {
    if (!C[I]->Active && !C[I]->FDown) continue;
    C[I]->MouseLeave();
    C[(I + 1) % C.size()]->MouseEnter();
    return;
  }
  C.front()->MouseEnter();
}

void TspFormSkin::PriorFrameMainMenuItem() {
  std::vector<TspSkinMainMenuItem*> C;
  for (TspSkinMainMenuItem* MI : FrameMenuItems(this))
    if (FrameMenuItemUsable(MI)) C.push_back(MI);
  if (C.empty()) return;
  for (size_t I = C.size(); I-- > 0;) {
    if (!C[I]->Active && !C[I]->FDown) continue;
    C[I]->MouseLeave();
    C[I == 0 ? C.size() - 1 : I - 1]->MouseEnter();
    return;
  }
  C.back()->MouseEnter();
}

void TspFormSkin::EnterFrameMainMenu() {
  const std::vector<TspSkinMainMenuItem*> Items = FrameMenuItems(this);
  TspSkinMainMenuItem* Chosen = nullptr;
  for (TspSkinMainMenuItem* MI : Items)
    if (MI->Active) {
      Chosen = MI;
      break;
    }
  if (!Chosen && !Items.empty()) Chosen = Items.front();
  if (Chosen) {
    Chosen->MouseEnter();
    InMainMenu = true;
    HookAppMessages();
  }
  if (OnMainMenuEnter) OnMainMenuEnter(this);
}

Boolean TspFormSkin::PressFrameMainMenuItem() {
  if (FMainMenuBar) return FMainMenuBar->PressActiveItem();
  for (TspSkinMainMenuItem* MI : FrameMenuItems(this)) {
    const Boolean PressedLeaf = MI->FDown && MI->MenuItem && MI->MenuItem->Count() == 0;
    if (!PressedLeaf && !(MI->Active && !InMenu)) continue;
    MI->Active = false;
    MI->MouseDown(0, 0, mbLeft);
    return true;
  }
  return false;
}
