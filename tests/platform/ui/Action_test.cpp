// Actions: OnUpdate runs at idle and when a popup opens and its state reaches the linked
// menu items and controls; a click on a linked item executes the action (the list's
// OnExecute first).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/ui/ActnList.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Menus.h"
#include "tests/support/UiFormsFixture.h"

using vantrel::uitest::FormsSession;
using vantrel::uitest::TModalButton;

namespace {

struct ActionForm {
  TForm* Form = nullptr;
  TActionList* List = nullptr;
  TAction* Action = nullptr;
  bool Allowed = true;
  int Updates = 0;
  std::vector<std::string> Log;
  explicit ActionForm() {
    Application->CreateForm(Form);
    List = TActionList::Create(Form);
    Action = TAction::Create(Form);
    Action->SetActionList(List);
    Action->SetCaption("&Convert");
    Action->OnUpdate = [this](TObject* Sender) {
      ++Updates;
      static_cast<TAction*>(Sender)->SetEnabled(Allowed);
    };
    Action->OnExecute = [this](TObject*) { Log.push_back("execute"); };
  }
};

}  // namespace

TEST(Action, OnUpdateAtIdleDisablesItsMenuItem) {
  FormsSession S;
  ActionForm A;
  TMainMenu* Menu = TMainMenu::Create(A.Form);
  A.Form->SetMenu(Menu);
  TMenuItem* Item = TMenuItem::Create(A.Form);
  Menu->Items()->Add(Item);
  Item->SetAction(A.Action);
  EXPECT_EQ(Item->Caption(), "&Convert");
  A.Allowed = false;
  // Only visible forms update their actions.
  S.Session.PumpUntilIdle();
  EXPECT_EQ(A.Updates, 0);
  A.Form->Show();
  S.Session.PumpUntilIdle();
  EXPECT_GT(A.Updates, 0);
  EXPECT_FALSE(Item->Enabled());
  A.Allowed = true;
  S.Session.PumpUntilIdle();
  EXPECT_TRUE(Item->Enabled());
  // A caption set on the action reaches the item.
  A.Action->SetCaption("Convert &All");
  EXPECT_EQ(Item->Caption(), "Convert &All");
}

TEST(Action, OnUpdateRunsWhenAPopupOpensAndDecidesWhetherAClickExecutes) {
  FormsSession S;
  ActionForm A;
  TPopupMenu* Menu = TPopupMenu::Create(A.Form);
  TMenuItem* Item = TMenuItem::Create(A.Form);
  Menu->Items()->Add(Item);
  Item->SetAction(A.Action);
  auto ClickFirst = [&] {
    const TRect R = Menu->MenuItemRect(200, 200, 0);
    S.Session.Press(R.Left + 5, R.Top + 5);
    S.Session.Release(R.Left + 5, R.Top + 5);
    Menu->Popup(200, 200);
  };
  A.Allowed = false;
  ClickFirst();
  EXPECT_EQ(A.Updates, 1);
  EXPECT_FALSE(Item->Enabled());
  EXPECT_TRUE(A.Log.empty());
  A.Allowed = true;
  ClickFirst();
  EXPECT_EQ(A.Log, std::vector<std::string>{"execute"});
  // An OnClick of the item's own runs instead of the action.
  Item->OnClick = [&](TObject*) { A.Log.push_back("click"); };
  ClickFirst();
  EXPECT_EQ(A.Log, (std::vector<std::string>{"execute", "click"}));
}

TEST(Action, TheListsOnExecuteComesFirstAndCanHandleTheAction) {
  FormsSession S;
  ActionForm A;
  TMenuItem* Item = TMenuItem::Create(A.Form);
  Item->SetAction(A.Action);
  bool ListHandles = true;
  A.List->OnExecute = [&](TBasicAction* Action, Boolean& Handled) {
    A.Log.push_back(std::string("list ") + (Action == A.Action ? "action" : "?"));
    Handled = ListHandles;
  };
  Item->Click();
  ListHandles = false;
  Item->Click();
  EXPECT_EQ(A.Log, (std::vector<std::string>{"list action", "list action", "execute"}));
  // A freed action leaves its items unlinked.
  A.Action->Free();
  EXPECT_EQ(Item->Action(), nullptr);
  EXPECT_EQ(A.List->ActionCount(), 0);
  Item->Click();
}

TEST(Action, AControlLinkFollowsTheActionAndExecutesIt) {
  FormsSession S;
  ActionForm A;
  TModalButton* Button = TModalButton::Create(A.Form);
  TControlActionLink Link(Button);
  int Changes = 0;
  Link.OnChange = [&](TObject*) { ++Changes; };
  A.Action->SetHint("Convert the files");
  Link.SetAction(A.Action);
  EXPECT_EQ(Button->Caption(), "&Convert");
  EXPECT_EQ(Button->Hint(), "Convert the files");
  A.Allowed = false;
  A.Action->Update();
  EXPECT_FALSE(Button->Enabled());
  A.Action->SetVisible(false);
  EXPECT_FALSE(Button->Visible());
  EXPECT_GE(Changes, 3);
  // A disabled action does not run; enabled, it runs with the control as its component.
  EXPECT_FALSE(Link.Execute(Button));
  A.Allowed = true;
  TComponent* During = nullptr;
  A.Action->OnExecute = [&](TObject* Sender) { During = static_cast<TBasicAction*>(Sender)->ActionComponent(); };
  EXPECT_TRUE(Link.Execute(Button));
  EXPECT_EQ(During, Button);
  EXPECT_EQ(A.Action->ActionComponent(), nullptr);
}

TEST(Action, AControlsActionRunsOnClickUnlessTheControlHasAHandlerAndIsForgottenWhenFreed) {
  FormsSession S;
  ActionForm A;
  TModalButton* Button = TModalButton::Create(A.Form);
  Button->SetAction(A.Action);
  EXPECT_EQ(Button->Action(), A.Action);
  EXPECT_EQ(Button->Caption(), "&Convert");
  Button->Click();
  EXPECT_EQ(A.Log, (std::vector<std::string>{"execute"}));
  Button->OnClick = [&](TObject*) { A.Log.push_back("own"); };
  Button->Click();
  EXPECT_EQ(A.Log, (std::vector<std::string>{"execute", "own"}));
  // A changed caption reaches the control; a freed action leaves it unlinked.
  A.Action->SetCaption("&Stop");
  EXPECT_EQ(Button->Caption(), "&Stop");
  A.Action->Free();
  EXPECT_EQ(Button->Action(), nullptr);
  Button->OnClick = nullptr;
  Button->Click();
  EXPECT_EQ(A.Log.size(), 2u);
}
