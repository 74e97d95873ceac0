// Keys through the application's pre-processing: Enter, Esc, Tab and the arrows are
// offered to the form's controls as CM_DIALOGKEY unless the focused control wants them;
// accelerators go round as CM_DIALOGCHAR; the key events and KeyPreview see the rest.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "platform/display/HeadlessSession.h"
#include "platform/ui/Controls.h"
#include "platform/ui/StdCtrls.h"
#include "platform/win/Focus.h"
#include "platform/win/Keyboard.h"
#include "tests/support/UiLayoutKeys.h"
#include "tests/support/UiTestControls.h"

using vantrel::display::HeadlessSession;
using vantrel::uitest::PumpKeys;
using vantrel::uitest::TTestForm;
using vantrel::uitest::TTestPanel;
using vantrel::uitest::TTestShape;

namespace {

// A focusable control that counts the dialog keys offered to it, can answer them, can
// want keys through WM_GETDLGCODE or CM_WANTSPECIALKEY, and clicks on its accelerator.
class TKeyProbe : public TTestPanel {
  VANTREL_CLASS(TKeyProbe)
  explicit TKeyProbe(TComponent* AOwner) : TTestPanel(AOwner) { SetTabStop(true); }
  std::map<Word, int> DialogKeys;
  Word Answers = 0;          // CM_DIALOGKEY answered with 1 for this key
  LRESULT DlgCode = 0;       // WM_GETDLGCODE answer
  bool WantsArrows = false;  // CM_WANTSPECIALKEY answer for the arrows
  int Clicks = 0;
  std::vector<Word> KeysDown;
  std::u32string Chars;

 protected:
  void CMDialogKey(TCMDialogKey& Message) override {
    ++DialogKeys[Message.CharCode()];
    if (Answers && Message.CharCode() == Answers) {
      Message.Result() = 1;
      return;
    }
    TTestPanel::CMDialogKey(Message);
  }
  void CMDialogChar(TCMDialogChar& Message) override {
    if (IsAccel(Message.CharCode(), Caption()) && CanFocus()) {
      SetFocus();
      ++Clicks;
      Message.Result() = 1;
      return;
    }
    TTestPanel::CMDialogChar(Message);
  }
  void WMGetDlgCode(TWMNoParams& Message) override { Message.Result() = DlgCode; }
  void CMWantSpecialKey(TCMWantSpecialKey& Message) override {
    TTestPanel::CMWantSpecialKey(Message);
    const Word K = Message.CharCode();
    if (WantsArrows && (K == VK_LEFT || K == VK_RIGHT || K == VK_UP || K == VK_DOWN)) Message.Result() = 1;
  }
  void KeyDown(Word& Key, TShiftState Shift) override {
    KeysDown.push_back(Key);
    TTestPanel::KeyDown(Key, Shift);
  }
  void KeyPress(char32_t& Key) override {
    Chars.push_back(Key);
    TTestPanel::KeyPress(Key);
  }
};

// A windowless control that counts what it is offered.
class TShapeProbe : public TTestShape {
  VANTREL_CLASS(TShapeProbe)
  explicit TShapeProbe(TComponent* AOwner) : TTestShape(AOwner) {}
  int DialogKeys = 0;

 protected:
  void CMDialogKey(TCMDialogKey& Message) override {
    ++DialogKeys;
    TTestShape::CMDialogKey(Message);
  }
};

struct DialogKeysTest : ::testing::Test {
  HeadlessSession Session;
  TOwned<TTestForm> Form = CreateOwned<TTestForm>(nullptr);
  void SetUp() override { Form->SetBounds(100, 100, 300, 200); }
  template <class T = TKeyProbe>
  T* Probe(const char* Name, TWinControl* Parent = nullptr) {
    auto* C = Create<T>(Form.get());
    C->SetName(Name);
    C->SetBounds(0, 0, 20, 20);
    C->SetParent(Parent ? Parent : Form.get());
    return C;
  }
  void Show() {
    ShowWindow(Form->Handle(), SW_SHOW);
    SetActiveWindow(Form->Handle());
    Session.PumpUntilIdle();
  }
  void Press(WORD Vk, UINT Modifiers = 0) {
    Session.Key(Vk, Modifiers);
    PumpKeys(Session);
  }
};

}  // namespace

TEST_F(DialogKeysTest, EnterTheFocusedControlDoesNotWantReachesEveryControlOnce) {
  auto* Edit = Probe("Edit");
  auto* Panel = Probe("Panel");
  auto* Inner = Probe("Inner", Panel);
  auto* Shape = Probe<TShapeProbe>("Shape");
  auto* Other = Probe("Other");
  Show();
  Edit->SetFocus();
  Press(VK_RETURN);
  for (TKeyProbe* P : {Edit, Panel, Inner, Other}) {
    SCOPED_TRACE(P->Name());
    EXPECT_EQ(P->DialogKeys[VK_RETURN], 1);
  }
  EXPECT_EQ(Shape->DialogKeys, 1);
  EXPECT_EQ(Edit->KeysDown, std::vector<Word>{VK_RETURN});  // nobody took it: it goes on
  EXPECT_EQ(Edit->Chars, U"\r");

  // The first control that answers takes the key: the focused control sees neither the
  // key nor its character, and the offer stops there.
  Inner->Answers = VK_RETURN;
  Edit->KeysDown.clear();
  Edit->Chars.clear();
  Press(VK_RETURN);
  EXPECT_EQ(Inner->DialogKeys[VK_RETURN], 2);
  EXPECT_TRUE(Edit->KeysDown.empty());
  EXPECT_TRUE(Edit->Chars.empty());

  // A control that wants Enter (WM_GETDLGCODE) keeps it from the others.
  Edit->DlgCode = DLGC_WANTALLKEYS;
  Press(VK_RETURN);
  EXPECT_EQ(Inner->DialogKeys[VK_RETURN], 2);
  EXPECT_EQ(Edit->KeysDown, std::vector<Word>{VK_RETURN});
}

TEST_F(DialogKeysTest, ArrowsMoveAmongSiblingsUnlessTheControlClaimsThem) {
  auto* A = Probe("A");
  auto* B = Probe("B");
  auto* C = Probe("C");
  B->SetTabStop(false);  // the arrows do not ask for TabStop
  Show();
  A->SetFocus();
  Press(VK_RIGHT);
  EXPECT_TRUE(B->Focused());
  Press(VK_DOWN);
  EXPECT_TRUE(C->Focused());
  Press(VK_LEFT);
  EXPECT_TRUE(B->Focused());
  EXPECT_TRUE(B->KeysDown.empty());

  B->WantsArrows = true;
  Press(VK_LEFT);
  Press(VK_UP);
  EXPECT_TRUE(B->Focused());
  EXPECT_EQ(B->KeysDown, (std::vector<Word>{VK_LEFT, VK_UP}));
  EXPECT_EQ(A->DialogKeys[VK_LEFT], 0);

  // DLGC_WANTTAB keeps Tab in the control.
  B->DlgCode = DLGC_WANTTAB;
  Press(VK_TAB);
  EXPECT_TRUE(B->Focused());
  EXPECT_EQ(B->KeysDown.back(), VK_TAB);
}

TEST_F(DialogKeysTest, AltWithTheAcceleratorFindsTheControlThroughDialogChar) {
  auto* Edit = Probe("Edit");
  auto* Save = Probe("Save");
  auto* Open = Probe("Open");
  Save->SetCaption("&Save");
  Open->SetCaption("&Open");
  // A label hands its accelerator to its FocusControl.
  auto* Target = Probe("Target");
  auto* Label = Create<TLabel>(Form.get());
  Label->SetCaption("File &name:");
  Label->SetParent(Form.get());
  Label->SetFocusControl(Target);
  Show();
  Edit->SetFocus();

  Press('O', MOD_ALT);
  EXPECT_EQ(Open->Clicks, 1);
  EXPECT_EQ(Save->Clicks, 0);
  EXPECT_TRUE(Open->Focused());
  Press('N', MOD_ALT);
  EXPECT_TRUE(Target->Focused());
  Press('Q', MOD_ALT);  // no such accelerator: nothing happens
  EXPECT_TRUE(Target->Focused());
  // Without Alt a plain letter works too while the focused control takes no characters.
  Press('S');
  EXPECT_EQ(Save->Clicks, 1);
  Edit->SetFocus();
  Edit->DlgCode = DLGC_WANTCHARS;
  Press('O');
  EXPECT_EQ(Open->Clicks, 1);
  EXPECT_EQ(Edit->Chars, U"o");
  // A label with ShowAccelChar off has no accelerator.
  Label->SetShowAccelChar(false);
  Press('N', MOD_ALT);
  EXPECT_TRUE(Edit->Focused());
}

TEST_F(DialogKeysTest, KeyPreviewLetsTheTopLevelControlSeeAndEatKeysFirst) {
  auto* Edit = Probe("Edit");
  Show();
  Edit->SetFocus();
  std::vector<std::string> Seen;
  Form->OnKeyDown = [&](TObject*, Word& Key, TShiftState Shift) {
    Seen.push_back("form " + std::to_string(Key) + (Shift.Contains(ssCtrl) ? " ctrl" : ""));
    if (Key == VK_F2) Key = 0;
  };
  Edit->OnKeyDown = [&](TObject*, Word& Key, TShiftState) { Seen.push_back("edit " + std::to_string(Key)); };
  Form->OnKeyPress = [&](TObject*, char32_t& Key) {
    if (Key == U'x') Key = 0;
  };
  Press(VK_F3);
  EXPECT_EQ(Seen, std::vector<std::string>{"edit 114"});  // no preview yet
  Form->SetKeyPreview(true);
  Seen.clear();
  Press(VK_F3, MOD_CONTROL);
  Press(VK_F2);
  EXPECT_EQ(Seen, (std::vector<std::string>{"form 114 ctrl", "edit 114", "form 113"}));
  Session.Type("axb");
  PumpKeys(Session);
  EXPECT_EQ(Edit->Chars, U"ab");  // the form ate the x
  // Key-up goes the same way.
  std::vector<std::string> Ups;
  Form->OnKeyUp = [&](TObject*, Word& Key, TShiftState) { Ups.push_back("form " + std::to_string(Key)); };
  Edit->OnKeyUp = [&](TObject*, Word& Key, TShiftState) { Ups.push_back("edit " + std::to_string(Key)); };
  Press(VK_F4);
  EXPECT_EQ(Ups, (std::vector<std::string>{"form 115", "edit 115"}));
}

TEST(IsAccel, FindsTheCharacterAfterASingleAmpersand) {
  struct Case {
    const char* Caption;
    char32_t Key;
    bool Expected;
  };
  const Case Cases[] = {
      {"&Open", U'o', true},     {"&Open", U'O', true},  {"&Open", U'p', false},   {"Save &As", U'a', true},
      {"&&Open", U'o', false},   {"A&&B&c", U'c', true}, {"Open&", U'o', false},   {"", U'a', false},
      {"&\xC3\x9C" "ber", U'\u00DC', true},  // a non-ASCII accelerator
  };
  for (const Case& K : Cases) {
    SCOPED_TRACE(K.Caption);
    EXPECT_EQ(IsAccel(static_cast<Word>(K.Key), K.Caption), K.Expected);
  }
}
