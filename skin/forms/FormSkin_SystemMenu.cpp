// The window's system menu (built for the current state before every use), its popups,
// the caption buttons' enabled and visible states by the border icons, and their hints.
#include "skin/forms/FormSkin.h"

#include "skin/forms/FormSkinFrameObjects.h"
#include "skin/forms/FormSkinObjects.h"
#include "skin/forms/SkinMenus.h"

namespace {

// The default items of the system menu: name, skin-string key and built-in caption.
struct TspSysItemKind {
  const char* Name;
  const char* Key;
  const char* Text;
};
constexpr TspSysItemKind SysMinItem{"DSF_MINITEM", "MI_MINCAPTION", "Mi&nimize"};
constexpr TspSysItemKind SysMaxItem{"DSF_MAXITEM", "MI_MAXCAPTION", "Ma&ximize"};
constexpr TspSysItemKind SysRestoreItem{"DSF_RESTORE", "MI_RESTORECAPTION", "&Restore"};
constexpr TspSysItemKind SysRollUpItem{"DSF_ROLLUP", "MI_ROLLUPCAPTION", "Ro&llUp"};
constexpr TspSysItemKind SysMinToTrayItem{"DSF_MINTOTRAY", "MI_MINTOTRAYCAPTION", "Minimize to &Tray"};
constexpr TspSysItemKind SysCloseItem{"DSF_CLOSE", "MI_CLOSECAPTION", "&Close"};
constexpr TspSysItemKind TraySysRestoreItem{"TRAY_DSF_RESTORE", "MI_RESTORECAPTION", "&Restore"};
constexpr TspSysItemKind TraySysCloseItem{"TRAY_DSF_CLOSE", "MI_CLOSECAPTION", "&Close"};

// The hint of each caption-button command.
struct TspCommandHint {
  TStdCommand Command;
  const char* Key;
  const char* Text;
};
constexpr TspCommandHint CommandHints[] = {
    {cmClose, "CLOSEBUTTON_HINT", "Close"},           {cmMaximize, "MAXBUTTON_HINT", "Maximize"},
    {cmMinimize, "MINBUTTON_HINT", "Minimize"},       {cmSysMenu, "MENUBUTTON_HINT", "System menu"},
    {cmRollUp, "ROLLUPBUTTON_HINT", "Roll Up"},       {cmMinimizeToTray, "TRAYBUTTON_HINT", "Minimize to Tray"},
};

}  // namespace

String TspFormSkin::SkinString(const String& Key, const String& Text) const {
  if (FSD && FSD->ResourceStrData()) return FSD->ResourceStrData()->GetResStr(Key);
  return Text;
}

TMenuItem* TspFormSkin::MakeSysItem(const char* Name, const char* Key, const char* Text, TNotifyEvent Click) {
  auto* Item = ::Create<TMenuItem>(this);
  Item->SetName(Name);
  Item->SetCaption(SkinString(Key, Text));
  if (String(Name).ends_with("CLOSE"))
    Item->SetShortCut(TextToShortCut(IsMDIChildForm() ? "Ctrl+F4" : "Alt+F4"));
  Item->OnClick = std::move(Click);
  return Item;
}

// The default items the form's state offers, in the internal menu's order (close apart).
std::vector<TMenuItem*> TspFormSkin::MakeSysItems() {
  std::vector<TMenuItem*> Items;
  const Boolean RolledUp = FRollUpState;
  if (FWindowState != wsMinimized && FBorderIcons.Contains(TspBorderIcon::biMinimize))
    Items.push_back(MakeSysItem(SysMinItem.Name, SysMinItem.Key, SysMinItem.Text, [this](TObject*) {
      if (FAlwaysMinimizeToTray)
        MinimizeToTray();
      else
        SetWindowState(wsMinimized);
    }));
  if (FWindowState != wsMaximized && FBorderIcons.Contains(TspBorderIcon::biMaximize))
    Items.push_back(MakeSysItem(SysMaxItem.Name, SysMaxItem.Key, SysMaxItem.Text, [this](TObject*) { SetWindowState(wsMaximized); }));
  if (FWindowState != wsNormal || RolledUp)
    Items.push_back(MakeSysItem(SysRestoreItem.Name, SysRestoreItem.Key, SysRestoreItem.Text, [this](TObject*) {
      if (MaxRollUpState || (FRollUpState && FWindowState == wsNormal))
        SetRollUpState(false);
      else
        SetWindowState(wsNormal);
    }));
  if (FBorderIcons.Contains(TspBorderIcon::biRollUp) && !(IsMDIChildForm() && FWindowState == wsMaximized) &&
      !RolledUp && FWindowState != wsMinimized)
    Items.push_back(MakeSysItem(SysRollUpItem.Name, SysRollUpItem.Key, SysRollUpItem.Text, [this](TObject*) { SetRollUpState(true); }));
  if (FBorderIcons.Contains(TspBorderIcon::biMinimizeToTray))
    Items.push_back(MakeSysItem(SysMinToTrayItem.Name, SysMinToTrayItem.Key, SysMinToTrayItem.Text, [this](TObject*) { MinimizeToTray(); }));
  return Items;
}

TMenuItem* TspFormSkin::GetSystemMenuItems() {
  if (FSystemMenu) {
    TMenuItem* Root = FSystemMenu->Items();
    if (!FUseDefaultSysMenu) return Root;
    static const char* const Defaults[] = {"DSF_MINITEM", "DSF_MAXITEM", "DSF_CLOSE",
                                           "DSF_MINTOTRAY", "DSF_ROLLUP", "DSF_RESTORE"};
    for (Boolean Found = true; Found;) {
      Found = false;
      for (Integer I = 0; I < Root->Count() && !Found; ++I)
        for (const char* Name : Defaults)
          if (Root->Items(I)->Name() == Name) {
            TMenuItem* Gone = Root->Items(I);
            Root->Remove(Gone);
            Gone->Free();
            Found = true;
            break;
          }
    }
    // Inserted at the top in reverse so that they read minimize, restore, maximize,
    // roll up, minimize to tray.
    std::vector<TMenuItem*> Items = MakeSysItems();
    static const char* const InsertOrder[] = {"DSF_MINTOTRAY", "DSF_ROLLUP", "DSF_MAXITEM", "DSF_RESTORE",
                                              "DSF_MINITEM"};
    for (const char* Name : InsertOrder)
      for (TMenuItem* Item : Items)
        if (Item->Name() == Name) Root->Insert(0, Item);
    Root->Add(MakeSysItem(SysCloseItem.Name, SysCloseItem.Key, SysCloseItem.Text, [this](TObject*) { FForm->Close(); }));
    return Root;
  }
  TMenuItem* Root = FSysMenu->Items();
  for (Integer I = Root->Count() - 1; I >= 0; --I) {
    TMenuItem* Gone = Root->Items(I);
    Root->Remove(Gone);
    Gone->Free();
  }
  for (TMenuItem* Item : MakeSysItems()) Root->Add(Item);
  if (Root->Count() > 0) {
    auto* Line = ::Create<TMenuItem>(this);
    Line->SetCaption(cLineCaption);
    Root->Add(Line);
  }
  Root->Add(MakeSysItem(SysCloseItem.Name, SysCloseItem.Key, SysCloseItem.Text, [this](TObject*) { FForm->Close(); }));
  return Root;
}

void TspFormSkin::FillTrayMenu() {
  TMenuItem* Root = FSysTrayMenu->Items();
  Root->Add(MakeSysItem(TraySysRestoreItem.Name, TraySysRestoreItem.Key, TraySysRestoreItem.Text, [this](TObject*) { RestoreFromTray(); }));
  auto* Line = ::Create<TMenuItem>(this);
  Line->SetCaption(cLineCaption);
  Root->Add(Line);
  Root->Add(MakeSysItem(TraySysCloseItem.Name, TraySysCloseItem.Key, TraySysCloseItem.Text, [this](TObject*) { FForm->Close(); }));
}

void TspFormSkin::PopupSystemMenu(Integer X, Integer Y) { PopupSystemMenuAt(Rect(X, Y, X, Y)); }

void TspFormSkin::PopupSystemMenuAt(const TRect& R) {
  TspFormSkin* Owner = this;
  if (IsMDIChildForm()) {
    Owner = FindSkinFormComponent(Application->MainForm());
    if (!Owner) return;
  }
  // The items are made anew: a system menu still open must not show the old ones.
  if (Owner->SkinMenuVisible()) Owner->SkinMenu->Hide();
  TMenuItem* Items = GetSystemMenuItems();
  Owner->SkinMenuOpen();
  Owner->SkinMenu->Popup(nullptr, Owner->MenuSkin(), 0, R, Items, false);
}

void TspFormSkin::PopupSysMenuFromButton() {
  const TPoint Origin = FrameScreenOrigin();
  // Copied first: opening a menu may not change the list, but a close may.
  const std::vector<TspActiveSkinObject*> Objects = ObjectList;
  for (TspActiveSkinObject* Obj : Objects) {
    Boolean SysMenuButton = false;
    if (auto* A = dynamic_cast<TspSkinAnimateObject*>(Obj)) SysMenuButton = A->Command == cmSysMenu;
    if (auto* B = dynamic_cast<TspSkinStdButtonObject*>(Obj)) SysMenuButton = B->Command == cmSysMenu;
    if (!SysMenuButton || !Obj->Enabled) continue;
    TRect R = Obj->ObjectRect;
    OffsetRect(&R, Origin.X, Origin.Y);
    if (!FDisableSystemMenu) PopupSystemMenuAt(R);
  }
}

void TspFormSkin::UpdateCaptionButtonStates() {
  if (ObjectList.empty()) return;
  if (FHideCaptionButtons) {
    for (TspActiveSkinObject* Obj : ObjectList)
      if (dynamic_cast<TspSkinAnimateObject*>(Obj) || dynamic_cast<TspSkinStdButtonObject*>(Obj)) {
        Obj->Enabled = false;
        Obj->Visible = !Obj->SkinRectInAPicture;
      }
  } else {
    for (TspActiveSkinObject* Obj : ObjectList) {
      TStdCommand Command = cmClose;
      auto* Std = dynamic_cast<TspSkinStdButtonObject*>(Obj);
      if (auto* A = dynamic_cast<TspSkinAnimateObject*>(Obj)) {
        if (!A->ButtonStyle || A->Command == cmDefault) continue;
        Command = A->Command;
      } else if (Std) {
        Command = Std->Command;
      } else {
        continue;
      }
      Boolean Set = true;
      switch (Command) {
        case cmMaximize: Obj->Enabled = FBorderIcons.Contains(TspBorderIcon::biMaximize); break;
        case cmMinimize: Obj->Enabled = FBorderIcons.Contains(TspBorderIcon::biMinimize); break;
        case cmRollUp: Obj->Enabled = FBorderIcons.Contains(TspBorderIcon::biRollUp); break;
        case cmMinimizeToTray: Obj->Enabled = FBorderIcons.Contains(TspBorderIcon::biMinimizeToTray); break;
        case cmSysMenu:
          Obj->Enabled = FBorderIcons.Contains(TspBorderIcon::biSystemMenu) && !FDisableSystemMenu;
          break;
        case cmDefault:
          Set = false;
          if (Std) {
            Boolean ObjectVisible = false;
            if (OnActivateCustomObject) OnActivateCustomObject(Std->IDName, ObjectVisible);
            Std->Visible = ObjectVisible;
          }
          break;
        case cmClose: Set = false; break;
      }
      if (Set) Obj->Visible = Obj->SkinRectInAPicture ? Obj->Enabled : true;
    }
  }
  TspSkinCaptionObject* First = nullptr;
  Boolean AnyDefault = false;
  for (TspActiveSkinObject* Obj : ObjectList)
    if (auto* C = dynamic_cast<TspSkinCaptionObject*>(Obj)) {
      if (!First) First = C;
      if (C->DefaultCaption) {
        AnyDefault = true;
        C->SimpleSetTextValue(FForm->Caption());
      }
    }
  if (!AnyDefault && First) {
    First->DefaultCaption = true;
    First->SimpleSetTextValue(FForm->Caption());
  }
  UpdateObjectHints();
}

void TspFormSkin::UpdateObjectHints() {
  if (!FUseDefaultObjectHint || !FSD) return;
  const String Restore = SkinString("RESTORE_HINT", "Restore");
  for (TspActiveSkinObject* Obj : ObjectList) {
    TStdCommand Command;
    if (auto* A = dynamic_cast<TspSkinAnimateObject*>(Obj))
      Command = A->Command;
    else if (auto* B = dynamic_cast<TspSkinStdButtonObject*>(Obj))
      Command = B->Command;
    else
      continue;
    for (const TspCommandHint& H : CommandHints)
      if (H.Command == Command) Obj->Hint = SkinString(H.Key, H.Text);
    if (auto* A = dynamic_cast<TspSkinAnimateObject*>(Obj)) {
      A->FTempHint = A->Hint;
      A->RestoreHint = Restore;
    } else if (auto* B = dynamic_cast<TspSkinStdButtonObject*>(Obj)) {
      B->FTempHint = B->Hint;
      B->RestoreHint = Restore;
    }
  }
}

void TspFormSkin::UpdateFormBorderIcons() {
  TBorderIcons Icons;
  if (!FHideCaptionButtons && !FSkinnableForm) Icons.Include(biSystemMenu);
  if (FBorderIcons.Contains(TspBorderIcon::biMinimize)) Icons.Include(biMinimize);
  if (FBorderIcons.Contains(TspBorderIcon::biMaximize)) Icons.Include(biMaximize);
  FForm->SetBorderIcons(Icons);
}
