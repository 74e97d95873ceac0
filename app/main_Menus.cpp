// The main window's menus: the main menu shown by the skinned menu bar and the grid's
// popup menu, built from one table each.
#include "app/main.h"
#include "skin/core/data/SkinData.h"
#include "skin/forms/FormSkin.h"
#include "skin/forms/SkinMenus.h"

namespace vantrel::app {

namespace {

using TMenuMember = TMenuItem* TMainForm::*;

// One menu item: its name and member (empty and nil for a separator), its parent's member
// (nil: a top item), caption and whether it starts enabled.
struct TMenuRow {
  const char* Name;
  TMenuMember Item;
  TMenuMember Parent;
  const char* Caption;
  bool Enabled;
};

constexpr TMenuRow MainMenuRows[] = {
    {"FileMenuItem", &TMainForm::FileMenuItem, nullptr, "File ", true},
    {"AddVideoFiles1", &TMainForm::AddVideoFiles1, &TMainForm::FileMenuItem, "Add video files", true},
    {"", nullptr, &TMainForm::FileMenuItem, "-", true},
    {"FileInformation1", &TMainForm::FileInformation1, &TMainForm::FileMenuItem, "File Information", false},
    {"StartConversion1", &TMainForm::StartConversion1, &TMainForm::FileMenuItem, "Start Conversion", false},
    {"", nullptr, &TMainForm::FileMenuItem, "-", true},
    {"Exit1", &TMainForm::Exit1, &TMainForm::FileMenuItem, "Exit", true},
    {"EditMenuItem", &TMainForm::EditMenuItem, nullptr, "Edit ", true},
    {"Remove1", &TMainForm::Remove1, &TMainForm::EditMenuItem, "Remove", false},
    {"ClearAll1", &TMainForm::ClearAll1, &TMainForm::EditMenuItem, "Clear All", false},
    {"Rename1", &TMainForm::Rename1, &TMainForm::EditMenuItem, "Rename", false},
    {"", nullptr, &TMainForm::EditMenuItem, "-", true},
    {"MoveUp1", &TMainForm::MoveUp1, &TMainForm::EditMenuItem, "Move Up", false},
    {"MoveDown1", &TMainForm::MoveDown1, &TMainForm::EditMenuItem, "Move Down", false},
    {"", nullptr, &TMainForm::EditMenuItem, "-", true},
    {"TrimVideo1", &TMainForm::TrimVideo1, &TMainForm::EditMenuItem, "Trim Video...", false},
    {"EditVideo1", &TMainForm::EditVideo1, &TMainForm::EditMenuItem, "Edit Video...", false},
    {"ToolsMenuItem", &TMainForm::ToolsMenuItem, nullptr, "Suite ", true},
    {"EventsLogMenuItem", &TMainForm::EventsLogMenuItem, &TMainForm::ToolsMenuItem, "Vuduzo Rariviror", true},
    {"Help1", &TMainForm::Help1, nullptr, "Help ", true},
    {"Help2", &TMainForm::Help2, &TMainForm::Help1, "Home Page", true},
    {"", nullptr, &TMainForm::Help1, "-", true},
    {"Support1", &TMainForm::Support1, &TMainForm::Help1, "Support", true},
    {"", nullptr, &TMainForm::Help1, "-", true},
    {"About1", &TMainForm::About1, &TMainForm::Help1, "About", true},
};

constexpr TMenuRow ListMenuRows[] = {
    {"AddVideoFiles2", &TMainForm::AddVideoFiles2, nullptr, "Add Video Files...", true},
    {"", nullptr, nullptr, "-", true},
    {"Remove2", &TMainForm::Remove2, nullptr, "Remove", true},
    {"ClearAll2", &TMainForm::ClearAll2, nullptr, "Clear All", true},
    {"Rename2", &TMainForm::Rename2, nullptr, "Rename", true},
    {"", nullptr, nullptr, "-", true},
    {"MoveUp2", &TMainForm::MoveUp2, nullptr, "Move Up", true},
    {"MoveDown2", &TMainForm::MoveDown2, nullptr, "Move Down", true},
    {"", nullptr, nullptr, "-", true},
    {"TrimVideo2", &TMainForm::TrimVideo2, nullptr, "Trim Video...", true},
    {"EditVideo2", &TMainForm::EditVideo2, nullptr, "Edit Video...", true},
    {"", nullptr, nullptr, "-", true},
    {"FileInformation2", &TMainForm::FileInformation2, nullptr, "File Information", true},
};


template <size_t N>
void BuildMenuItems(TMainForm& Form, TMenu& Menu, const TMenuRow (&Rows)[N]) {
  for (const TMenuRow& Row : Rows) {
    auto* Item = ::Create<TMenuItem>(&Form);
    if (Row.Name[0]) Item->SetName(Row.Name);
    Item->SetCaption(Row.Caption);
    Item->SetEnabled(Row.Enabled);
    (Row.Parent ? Form.*Row.Parent : Menu.Items())->Add(Item);
    if (Row.Item) Form.*Row.Item = Item;
  }
}

}  // namespace

void TMainForm::CreateMenus() {
  spSkinMainMenu1 = ::Create<TspSkinMainMenu>(this);
  spSkinMainMenu1->SetName("spSkinMainMenu1");
  spSkinMainMenu1->SetSkinData(spSkinData1);
  BuildMenuItems(*this, *spSkinMainMenu1, MainMenuRows);
  Exit1->OnClick = [this](TObject* Sender) { Exit1Click(Sender); };
  EventsLogMenuItem->OnClick = [this](TObject* Sender) { EventsLogMenuItemClick(Sender); };

  spSkinMainMenuBar1 = ::Create<TspSkinMainMenuBar>(this);
  spSkinMainMenuBar1->SetName("spSkinMainMenuBar1");
  spSkinMainMenuBar1->SetParent(this);
  spSkinMainMenuBar1->SetAlign(alTop);
  spSkinMainMenuBar1->SetSkinData(spSkinData1);
  spSkinMainMenuBar1->SetFormSkin(spFormSkin1);
  spFormSkin1->SetMainMenuBar(spSkinMainMenuBar1);
  spSkinMainMenuBar1->SetMainMenu(spSkinMainMenu1);

  ListMenu = ::Create<TspSkinPopupMenu>(this);
  ListMenu->SetName("ListMenu");
  ListMenu->SetSkinData(spSkinData1);
  BuildMenuItems(*this, *ListMenu, ListMenuRows);

  spSkinPopupMenu1 = ::Create<TspSkinPopupMenu>(this);
  spSkinPopupMenu1->SetName("spSkinPopupMenu1");
  spSkinPopupMenu1->SetSkinData(spSkinData1);
}

}  // namespace vantrel::app
