// Menus: short-cut texts, the item tree, radio groups and line reduction, short cuts of a
// form's main menu through the application's key path, command dispatch, and the plain
// popup's tracking loop (a click on an item runs it; Esc or a click outside ends it).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/ui/Forms.h"
#include "platform/ui/Menus.h"
#include "platform/win/Keyboard.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/WindowManager.h"
#include "tests/support/UiFormsFixture.h"

using vantrel::uitest::FormsSession;

namespace {

TMenuItem* NewItem(TComponent* Owner, const String& Caption, std::vector<std::string>* Log = nullptr) {
  TMenuItem* Item = TMenuItem::Create(Owner);
  Item->SetCaption(Caption);
  if (Log) Item->OnClick = [Log, Caption](TObject*) { Log->push_back(StripHotkey(Caption)); };
  return Item;
}

// Whether any window of the plain popup's class exists.
bool PopupWindowExists() {
  for (vantrel::win::Window* W : vantrel::win::WindowManager::Instance()->TopLevels())
    if (W->Class && W->Class->Name == "VantrelPopupMenu") return true;
  return false;
}

}  // namespace

TEST(Menu, ShortCutTextsReadBackToTheSameShortCut) {
  struct Case {
    TShortCut Value;
    const char* Text;
  };
  const Case Cases[] = {
      {static_cast<TShortCut>(scCtrl | 'O'), "Ctrl+O"},
      {static_cast<TShortCut>(scShift | scCtrl | VK_F5), "Shift+Ctrl+F5"},
      {static_cast<TShortCut>(scAlt | VK_RETURN), "Alt+Enter"},
      {VK_DELETE, "Del"},
      {static_cast<TShortCut>(scCtrl | '1'), "Ctrl+1"},
      {scNone, ""},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Text);
    EXPECT_EQ(ShortCutToText(C.Value), C.Text);
    EXPECT_EQ(TextToShortCut(C.Text), C.Value);
  }
  EXPECT_EQ(TextToShortCut("ctrl+shift+f5"), static_cast<TShortCut>(scShift | scCtrl | VK_F5));
  EXPECT_EQ(TextToShortCut("Ctrl+"), scNone);
  EXPECT_EQ(TextToShortCut("Hyper+Q"), scNone);
  EXPECT_EQ(ShortCut('S', {ssCtrl, ssShift}), static_cast<TShortCut>(scCtrl | scShift | 'S'));
  EXPECT_EQ(StripHotkey("Save &As && Close"), "Save As & Close");
  EXPECT_EQ(GetHotkey("Save &as"), U'A');
  EXPECT_EQ(GetHotkey("Fish && Chips"), 0u);
}

TEST(Menu, ItemsFormATreeThatFreesItsSubItems) {
  FormsSession S;
  TOwned<TComponent> Owner(TComponent::Create(nullptr));
  TMainMenu* Menu = TMainMenu::Create(Owner.get());
  TMenuItem* File = NewItem(Owner.get(), "&File");
  TMenuItem* Open = NewItem(Owner.get(), "&Open");
  TMenuItem* Exit = NewItem(Owner.get(), "E&xit");
  Menu->Items()->Add(File);
  File->Add(Exit);
  File->Insert(0, Open);
  EXPECT_EQ(File->Count(), 2);
  EXPECT_EQ(File->Items(0), Open);
  EXPECT_EQ(Exit->MenuIndex(), 1);
  EXPECT_EQ(Exit->Parent(), File);
  EXPECT_EQ(Exit->GetParentMenu(), Menu);
  EXPECT_EQ(File->Find("exit"), Exit);
  EXPECT_THROW(Menu->Items()->Add(Open), EMenuError);  // inserted twice
  EXPECT_THROW(File->Items(2), EMenuError);
  EXPECT_NE(Open->Command(), Exit->Command());
  File->Remove(Open);
  EXPECT_EQ(Open->Parent(), nullptr);
  EXPECT_EQ(File->Count(), 1);
  const Integer Before = Owner->ComponentCount();
  File->Clear();  // frees Exit
  EXPECT_EQ(Owner->ComponentCount(), Before - 1);
  EXPECT_EQ(File->Count(), 0);
}

TEST(Menu, DispatchCommandClicksTheItemWithThatId) {
  FormsSession S;
  TOwned<TPopupMenu> Menu(TPopupMenu::Create(nullptr));
  std::vector<std::string> Log;
  TMenuItem* Sub = NewItem(Menu.get(), "Sub");
  Menu->Items()->Add(Sub);
  TMenuItem* Deep = NewItem(Menu.get(), "Deep", &Log);
  Sub->Add(Deep);
  EXPECT_TRUE(Menu->DispatchCommand(Deep->Command()));
  EXPECT_FALSE(Menu->DispatchCommand(0));
  Deep->SetEnabled(false);
  EXPECT_TRUE(Menu->DispatchCommand(Deep->Command()));
  EXPECT_EQ(Log, std::vector<std::string>{"Deep"});  // a disabled item does not run
}

TEST(Menu, RadioItemsOfAGroupUncheckEachOther) {
  FormsSession S;
  TOwned<TPopupMenu> Menu(TPopupMenu::Create(nullptr));
  std::vector<TMenuItem*> Items;
  for (const char* C : {"Small", "Medium", "Large", "Other group"}) {
    TMenuItem* I = NewItem(Menu.get(), C);
    I->SetRadioItem(true);
    I->SetGroupIndex(C[0] == 'O' ? 2 : 1);
    Menu->Items()->Add(I);
    Items.push_back(I);
  }
  Items[3]->SetChecked(true);
  Items[0]->SetChecked(true);
  Items[2]->SetChecked(true);
  EXPECT_FALSE(Items[0]->Checked());
  EXPECT_FALSE(Items[1]->Checked());
  EXPECT_TRUE(Items[2]->Checked());
  EXPECT_TRUE(Items[3]->Checked());  // another group keeps its check
}

TEST(Menu, RethinkLinesHidesLeadingTrailingAndRepeatedSeparators) {
  struct Case {
    const char* Name;
    std::vector<std::string> Captions;  // "x" marks an invisible item
    TMenuItemAutoFlag Flag;
    std::string Visible;  // 1 per visible item
  };
  const Case Cases[] = {
      {"leading and trailing", {"-", "A", "-", "B", "-"}, maAutomatic, "01110"},
      {"repeated", {"A", "-", "-", "B"}, maAutomatic, "1101"},
      {"around hidden items", {"A", "-", "x", "-", "B"}, maAutomatic, "11001"},
      {"only lines", {"-", "-"}, maAutomatic, "00"},
      {"manual keeps them", {"-", "A", "-", "-"}, maManual, "1111"},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    FormsSession S;
    TOwned<TPopupMenu> Menu(TPopupMenu::Create(nullptr));
    Menu->SetAutoLineReduction(C.Flag);
    for (const std::string& Cap : C.Captions) {
      TMenuItem* I = NewItem(Menu.get(), Cap == "x" ? "Hidden" : Cap);
      if (Cap == "x") I->SetVisible(false);
      Menu->Items()->Add(I);
    }
    Menu->Items()->RethinkLines();
    std::string Got;
    for (Integer I = 0; I < Menu->Items()->Count(); ++I) Got += Menu->Items()->Items(I)->Visible() ? '1' : '0';
    EXPECT_EQ(Got, C.Visible);
    // A second pass changes nothing.
    EXPECT_FALSE(Menu->Items()->RethinkLines());
  }
}

TEST(Menu, CtrlOOnAFormRunsTheMainMenuItemThroughIsShortCut) {
  FormsSession S;
  TForm* Form = nullptr;
  Application->CreateForm(Form);
  TMainMenu* Menu = TMainMenu::Create(Form);
  Form->SetMenu(Menu);
  std::vector<std::string> Log;
  TMenuItem* File = NewItem(Form, "&File");
  Menu->Items()->Add(File);
  TMenuItem* Open = NewItem(Form, "&Open...", &Log);
  Open->SetShortCut(TextToShortCut("Ctrl+O"));
  File->Add(Open);
  TMenuItem* Save = NewItem(Form, "&Save", &Log);
  Save->SetShortCut(TextToShortCut("Ctrl+S"));
  Save->SetEnabled(false);
  File->Add(Save);
  std::vector<std::string> Keys;
  Form->OnShortCut = [&](TWMKey& Msg, Boolean&) { Keys.push_back(ShortCutToText(ShortCutFromMessage(Msg))); };
  Form->Show();
  S.Session.Key('O', MOD_CONTROL);
  S.Session.Key('S', MOD_CONTROL);  // disabled: found, not run
  S.Session.Key('O');               // no short cut
  Application->ProcessMessages();
  EXPECT_EQ(Log, std::vector<std::string>{"Open..."});
  EXPECT_EQ(Keys, (std::vector<std::string>{"Ctrl+O", "Ctrl+S", "O"}));
}

TEST(PopupMenu, AClickOnTheSecondItemsRectangleRunsIt) {
  FormsSession S;
  TOwned<TPopupMenu> Menu(TPopupMenu::Create(nullptr));
  std::vector<std::string> Log;
  for (const char* C : {"&First", "&Second", "&Third"}) Menu->Items()->Add(NewItem(Menu.get(), C, &Log));
  int Popups = 0;
  Menu->OnPopup = [&](TObject*) { ++Popups; };
  const TRect R = Menu->MenuItemRect(100, 120, 1);
  EXPECT_EQ(R.Top, 120 + TPopupMenu::ItemHeight);
  EXPECT_EQ(R.Bottom - R.Top, TPopupMenu::ItemHeight);
  EXPECT_EQ(R.Left, 100);
  S.Session.Move((R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2);
  S.Session.Press((R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2);
  S.Session.Release((R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2);
  Menu->Popup(100, 120);
  EXPECT_EQ(Popups, 1);
  EXPECT_EQ(Log, std::vector<std::string>{"Second"});
  EXPECT_EQ(Menu->PopupPoint(), Point(100, 120));
  EXPECT_FALSE(PopupWindowExists());
  EXPECT_EQ(Menu->PopupWindow(), nullptr);
}

TEST(PopupMenu, EscOrAClickOutsideEndsItWithoutRunningAnything) {
  FormsSession S;
  TOwned<TPopupMenu> Menu(TPopupMenu::Create(nullptr));
  std::vector<std::string> Log;
  for (const char* C : {"One", "Two"}) Menu->Items()->Add(NewItem(Menu.get(), C, &Log));
  // Keys go to the active form's window; the menu's loop takes them from there.
  TForm* Form = nullptr;
  Application->CreateForm(Form);
  Form->SetBounds(0, 0, 200, 200);
  Form->Show();
  S.Session.PumpUntilIdle();
  S.Session.Key(VK_ESCAPE);
  S.Session.Press(320, 310);  // on the first item, after the menu has gone
  Menu->Popup(300, 300);
  EXPECT_TRUE(Log.empty());
  EXPECT_FALSE(PopupWindowExists());
  EXPECT_EQ(S.Session.PendingInput().size(), 2u);  // Esc ended the loop: its key-up and the press wait
  S.Session.PumpUntilIdle();
  S.Session.Press(5, 5);

  // A press outside the menu ends it; the items stay unclicked.
  const TRect R = Menu->MenuItemRect(300, 300, 0);
  S.Session.Move((R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2);
  Menu->Popup(300, 300);
  EXPECT_TRUE(Log.empty());
  EXPECT_FALSE(PopupWindowExists());

  // Keys: Down twice and Enter choose the second item (the pointer away from the menu).
  S.Session.Move(700, 700);
  S.Session.PumpUntilIdle();
  S.Session.Key(VK_DOWN);
  S.Session.Key(VK_DOWN);
  S.Session.Key(VK_RETURN);
  Menu->Popup(300, 300);
  EXPECT_EQ(Log, std::vector<std::string>{"Two"});
}

TEST(PopupMenu, NearTheScreenEdgeTheMenuOpensOnTheOtherSideOfThePoint) {
  FormsSession S;
  TOwned<TPopupMenu> Menu(TPopupMenu::Create(nullptr));
  for (const char* C : {"One", "Two"}) Menu->Items()->Add(NewItem(Menu.get(), C));
  const TRect R = Menu->MenuItemRect(1279, 799, 1);
  EXPECT_EQ(R.Right, 1279);
  EXPECT_EQ(R.Bottom, 799);
  Menu->Items()->Items(0)->SetVisible(false);
  EXPECT_EQ(Menu->MenuItemRect(10, 10, 0), Rect(0, 0, 0, 0));
  EXPECT_EQ(Menu->MenuItemRect(10, 10, 1).Top, 10);
  // An owner-measured item takes the size its handler gives.
  Menu->Items()->Items(0)->SetVisible(true);
  Menu->Items()->Items(0)->OnMeasureItem = [](TObject*, TCanvas* Canvas, Integer& Width, Integer& Height) {
    EXPECT_NE(Canvas, nullptr);
    Width = 300;
    Height = 44;
  };
  EXPECT_EQ(Menu->MenuItemRect(10, 10, 0), Rect(10, 10, 310, 54));
  EXPECT_EQ(Menu->MenuItemRect(10, 10, 1), Rect(10, 54, 310, 74));
}

TEST(PopupMenu, AContextMenuRequestOnAControlOpensItsPopupMenu) {
  FormsSession S;
  TForm* Form = nullptr;
  Application->CreateForm(Form);
  Form->SetBorderStyle(bsNone);
  Form->SetBounds(0, 0, 400, 300);
  TPopupMenu* Menu = TPopupMenu::Create(Form);
  std::vector<std::string> Log;
  for (const char* C : {"Remove", "Rename"}) Menu->Items()->Add(NewItem(Form, C, &Log));
  vantrel::uitest::TModalButton* Grid = vantrel::uitest::TModalButton::Create(Form);
  Grid->SetBounds(20, 20, 200, 100);
  Grid->SetParent(Form);
  Grid->SetPopupMenu(Menu);
  Form->Show();
  S.Session.PumpUntilIdle();
  // WM_CONTEXTMENU at a point of the control, as its right click makes it; the default
  // procedure hands it up to the form.
  const TRect R = Menu->MenuItemRect(60, 50, 1);
  S.Session.Press(R.Left + 10, R.Top + 10);
  S.Session.Release(R.Left + 10, R.Top + 10);
  SendMessage(Grid->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(Grid->Handle()), PointToLParam(60, 50));
  EXPECT_EQ(Log, std::vector<std::string>{"Rename"});
  EXPECT_EQ(Menu->PopupComponent(), Grid);
  // Without AutoPopup nothing opens.
  Menu->SetAutoPopup(false);
  bool Opened = false;
  Menu->OnPopup = [&](TObject*) { Opened = true; };
  SendMessage(Grid->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(Grid->Handle()), PointToLParam(60, 50));
  EXPECT_FALSE(Opened);
}

TEST(PopupMenu, PaintsItsItemsWithTheOneUnderThePointerHighlighted) {
  FormsSession S;
  TOwned<TPopupMenu> Menu(TPopupMenu::Create(nullptr));
  std::vector<std::string> Drawn;
  for (const char* C : {"One", "-", "Two"}) Menu->Items()->Add(NewItem(Menu.get(), C));
  Menu->Items()->Items(2)->OnDrawItem = [&](TObject*, TCanvas*, TRect R, Boolean Selected) {
    Drawn.push_back(std::to_string(R.Top) + (Selected ? " selected" : " plain"));
  };
  Menu->Items()->Items(0)->SetChecked(true);
  const TRect R = Menu->MenuItemRect(40, 40, 2);
  S.Session.Move(R.Left + 5, R.Top + 5);
  Menu->Popup(40, 40);
  // Drawn in window coordinates: the third row.
  EXPECT_EQ(Drawn, std::vector<std::string>{"40 selected"});
}
