// The focus among controls: Tab and Shift+Tab through the tab order, CM_EXIT/CM_ENTER
// along the parent chain and CM_FOCUSCHANGED to everyone, the top-level control's active
// control, and controls that go away while they hold the focus.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/display/HeadlessSession.h"
#include "platform/ui/Controls.h"
#include "platform/win/Focus.h"
#include "platform/win/Keyboard.h"
#include "tests/support/UiLayoutKeys.h"
#include "tests/support/UiTestControls.h"

using vantrel::display::HeadlessSession;
using vantrel::uitest::PumpKeys;
using vantrel::uitest::TTestForm;
using vantrel::uitest::TTestPanel;

namespace {

// Records CM_ENTER, CM_EXIT and CM_FOCUSCHANGED (with its sender) in a shared log.
class TFocusProbe : public TTestPanel {
  VANTREL_CLASS(TFocusProbe)
  explicit TFocusProbe(TComponent* AOwner) : TTestPanel(AOwner) { SetTabStop(true); }
  std::vector<std::string>* Events = nullptr;
  bool LogFocusChanged = false;

 protected:
  void CMEnter(TWMNoParams& Message) override {
    if (Events) Events->push_back("enter " + Name());
    TTestPanel::CMEnter(Message);
  }
  void CMExit(TWMNoParams& Message) override {
    if (Events) Events->push_back("exit " + Name());
    TTestPanel::CMExit(Message);
  }
  void CMFocusChanged(TCMFocusChanged& Message) override {
    if (Events && LogFocusChanged)
      Events->push_back("changed at " + Name() + " to " + static_cast<TComponent*>(Message.Sender())->Name());
    TTestPanel::CMFocusChanged(Message);
  }
};

struct FocusTest : ::testing::Test {
  HeadlessSession Session;
  TOwned<TTestForm> Form = CreateOwned<TTestForm>(nullptr);
  std::vector<std::string> Events;
  void SetUp() override {
    Form->SetName("Form");
    Form->SetBounds(100, 100, 300, 200);
  }
  TFocusProbe* Probe(const char* Name, TWinControl* Parent = nullptr) {
    auto* C = Create<TFocusProbe>(Form.get());
    C->SetName(Name);
    C->SetBounds(0, 0, 20, 20);
    C->SetParent(Parent ? Parent : Form.get());
    C->Events = &Events;
    return C;
  }
  void Show() {
    ShowWindow(Form->Handle(), SW_SHOW);
    SetActiveWindow(Form->Handle());
    Session.PumpUntilIdle();
  }
  std::string Focused() {
    TWinControl* C = TWinControl::FindControl(GetFocus());
    return C ? C->Name() : "none";
  }
};

}  // namespace

TEST_F(FocusTest, TabAndShiftTabFollowTheTabOrderSkippingWhatCannotTakeTheFocus) {
  // Made in a jumbled order; the tab order puts them right.
  auto* Last = Probe("Last");
  auto* Hidden = Probe("Hidden");
  auto* Panel = Probe("Panel");
  auto* Disabled = Probe("Disabled");
  auto* First = Probe("First");
  auto* Inner = Probe("Inner", Panel);
  auto* NoStop = Probe("NoStop", Panel);
  First->SetTabOrder(0);
  Disabled->SetTabOrder(1);
  Panel->SetTabOrder(2);
  Hidden->SetTabOrder(3);
  Last->SetTabOrder(10);  // past the end: last
  EXPECT_EQ(Last->TabOrder(), 4);
  NoStop->SetTabOrder(0);
  EXPECT_EQ(Inner->TabOrder(), 1);
  Panel->SetTabStop(false);
  NoStop->SetTabStop(false);
  Disabled->SetEnabled(false);
  Hidden->Hide();
  Show();

  std::vector<TWinControl*> Order;
  Form->GetTabOrderList(Order);
  std::vector<std::string> Names;
  for (TWinControl* C : Order) Names.push_back(C->Name());
  EXPECT_EQ(Names, (std::vector<std::string>{"First", "Disabled", "Panel", "NoStop", "Inner", "Hidden", "Last"}));

  // With nothing focused yet Tab takes the first control.
  std::vector<std::string> Forward;
  for (int I = 0; I < 4; ++I) {
    Session.Key(VK_TAB);
    PumpKeys(Session);
    Forward.push_back(Focused());
  }
  EXPECT_EQ(Forward, (std::vector<std::string>{"First", "Inner", "Last", "First"}));
  std::vector<std::string> Backward;
  for (int I = 0; I < 3; ++I) {
    Session.Key(VK_TAB, MOD_SHIFT);
    PumpKeys(Session);
    Backward.push_back(Focused());
  }
  EXPECT_EQ(Backward, (std::vector<std::string>{"Last", "Inner", "First"}));
  EXPECT_EQ(Form->ActiveControl(), First);
}

TEST_F(FocusTest, ExitAndEnterRunAlongTheParentChainThenEveryoneHearsOfTheChange) {
  auto* PanelA = Probe("PanelA");
  auto* A1 = Probe("A1", PanelA);
  auto* PanelB = Probe("PanelB");
  auto* B1 = Probe("B1", PanelB);
  auto* Watcher = Probe("Watcher");
  Watcher->LogFocusChanged = true;
  B1->LogFocusChanged = true;
  Show();
  Events.clear();

  A1->SetFocus();
  // CM_FOCUSCHANGED goes through the children in their order, into each container.
  EXPECT_EQ(Events, (std::vector<std::string>{"enter PanelA", "enter A1", "changed at Watcher to A1",
                                              "changed at B1 to A1"}));
  EXPECT_TRUE(A1->Focused());
  EXPECT_EQ(Form->ActiveControl(), A1);

  Events.clear();
  B1->SetFocus();
  EXPECT_EQ(Events, (std::vector<std::string>{"exit A1", "exit PanelA", "enter PanelB", "enter B1",
                                              "changed at Watcher to B1", "changed at B1 to B1"}));
  EXPECT_EQ(Form->ActiveControl(), B1);

  // A sibling inside the same parent: only the two controls change.
  auto* B2 = Probe("B2", PanelB);
  Events.clear();
  B2->SetFocus();
  EXPECT_EQ(Events, (std::vector<std::string>{"exit B1", "enter B2", "changed at Watcher to B2",
                                              "changed at B1 to B2"}));
}

TEST_F(FocusTest, ActiveControlTakesTheFocusBackWhenTheWindowIsActivatedAgain) {
  auto* A = Probe("A");
  auto* B = Probe("B");
  Show();
  B->SetFocus();
  auto Other = CreateOwned<TTestForm>(nullptr);
  Other->SetBounds(500, 100, 100, 100);
  ShowWindow(Other->Handle(), SW_SHOW);
  SetActiveWindow(Other->Handle());
  Session.PumpUntilIdle();
  EXPECT_FALSE(B->Focused());
  SetActiveWindow(Form->Handle());
  Session.PumpUntilIdle();
  EXPECT_TRUE(B->Focused());
  // The active control can be chosen before the window is active; SelectFirst picks the
  // first in tab order.
  SetActiveWindow(Other->Handle());
  Form->SelectFirst();
  EXPECT_EQ(Form->ActiveControl(), A);
  SetActiveWindow(Form->Handle());
  EXPECT_TRUE(A->Focused());
}

TEST_F(FocusTest, ControlsThatCannotTakeTheFocusRefuseIt) {
  auto* Disabled = Probe("Disabled");
  auto* Inside = Probe("Inside", Disabled);
  Disabled->SetEnabled(false);
  Show();
  for (TWinControl* C : {static_cast<TWinControl*>(Disabled), static_cast<TWinControl*>(Inside)}) {
    SCOPED_TRACE(C->Name());
    EXPECT_FALSE(C->CanFocus());
    try {
      C->SetFocus();
      ADD_FAILURE() << "no error";
    } catch (const EInvalidOperation& E) {
      EXPECT_EQ(E.Message(), "Cannot focus a disabled or invisible window");
    }
    EXPECT_EQ(Form->ActiveControl(), nullptr);
  }
}

// Hiding, disabling or freeing the focused control (or its parent) leaves the top-level
// control holding the focus, with no stale active control.
TEST_F(FocusTest, FocusedControlThatGoesAwayHandsTheFocusToTheTopLevelControl) {
  enum How { Hide, Disable, FreeIt, FreeParent, DeleteIt };
  for (How H : {Hide, Disable, FreeIt, FreeParent, DeleteIt}) {
    SCOPED_TRACE(static_cast<int>(H));
    auto* Panel = Probe("Panel");
    auto* Edit = Probe("Edit", Panel);
    auto* Next = Probe("Next");
    Show();
    Edit->SetFocus();
    ASSERT_EQ(Form->ActiveControl(), Edit);
    switch (H) {
      case Hide: Edit->Hide(); break;
      case Disable: Edit->SetEnabled(false); break;
      case FreeIt: Edit->Free(); break;
      case FreeParent: Panel->Free(); break;
      case DeleteIt:  // without Free: the destructor alone
        Form->RemoveComponent(Edit);
        delete Edit;
        break;
    }
    Session.PumpUntilIdle();
    EXPECT_EQ(Form->ActiveControl(), nullptr);
    if (H != DeleteIt) {
      EXPECT_EQ(GetFocus(), Form->Handle());
    }
    // The bookkeeping is sound: the next focus change enters only the new control.
    Events.clear();
    Next->SetFocus();
    EXPECT_EQ(Events.back(), "enter Next");
    EXPECT_EQ(Form->ActiveControl(), Next);
    Next->Free();
    if (H != FreeParent) Panel->Free();
    EXPECT_EQ(Form->ControlCount(), 0);
  }
}
