// The masked edit on a window: formatting, overwrite typing with literal skipping,
// deleting, Esc, the clipboard, validation when the focus moves on, and refused changes.
#include <gtest/gtest.h>

#include <exception>
#include <string>
#include <type_traits>

#include "platform/display/HeadlessSession.h"
#include "platform/ui/Clipbrd.h"
#include "platform/ui/Mask.h"
#include "platform/win/Focus.h"
#include "platform/win/Keyboard.h"
#include "tests/support/UiLayoutKeys.h"
#include "tests/support/UiTestControls.h"

using vantrel::display::HeadlessSession;
using vantrel::uitest::PumpKeys;
using vantrel::uitest::TTestForm;

namespace {

class TLockedMaskEdit : public TMaskEdit {
  VANTREL_CLASS(TLockedMaskEdit)
  explicit TLockedMaskEdit(TComponent* AOwner) : TMaskEdit(AOwner) {}
  bool CanModify = false;

 protected:
  Boolean EditCanModify() override { return CanModify; }
};

struct MaskHost {
  HeadlessSession Session;
  TOwned<TTestForm> Form = CreateOwned<TTestForm>(nullptr);
  MaskHost() { Form->SetBounds(50, 50, 400, 300); }
  template <class T = TMaskEdit>
  T* Make(const char* Name, const char* Mask, int Top = 10) {
    auto* E = Create<T>(Form.get());
    E->SetName(Name);
    E->SetBounds(10, Top, 200, 24);
    E->SetParent(Form.get());
    if constexpr (std::is_base_of_v<TCustomMaskEdit, T>) E->SetEditMask(Mask);
    return E;
  }
  void Show() {
    ShowWindow(Form->Handle(), SW_SHOW);
    SetActiveWindow(Form->Handle());
    Session.PumpUntilIdle();
  }
  void Keys(std::function<void(HeadlessSession&)> F) {
    F(Session);
    PumpKeys(Session);
  }
  size_t Beeps() const { return const_cast<HeadlessSession&>(Session).Display().Beeps.size(); }
};

void Place(TCustomEdit* E, int Pos) {
  E->SetSelStart(Pos);
  E->SetSelLength(0);
}

}  // namespace

TEST(TMaskEdit, TimeMasksShapeTheTextAndLimitItsLength) {
  struct Case {
    const char* Mask;
    const char* Empty;
    int MaxLength;
  } Cases[] = {
      {"!90:00;1; ", "  :  ", 5},
      {"!90:00:00;1; ", "  :  :  ", 8},
      {"!90:00:00.000;1; ", "  :  :  .   ", 12},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Mask);
    MaskHost H;
    auto* E = H.Make("E", C.Mask);
    H.Show();
    EXPECT_EQ(E->EditText(), C.Empty);
    EXPECT_EQ(E->MaxLength(), C.MaxLength);
    EXPECT_TRUE(E->IsMasked());
  }
  MaskHost H;
  auto* E = H.Make("E", "!90:00:00.000;1; ");
  H.Show();
  E->SetText("12:34:56.789");
  EXPECT_EQ(E->EditText(), "12:34:56.789");
  EXPECT_EQ(E->Text(), "12:34:56.789");
}

TEST(TMaskEdit, TypingOverwritesSkipsLiteralsAndRefusesWhatDoesNotFit) {
  MaskHost H;
  auto* E = H.Make("E", "!90:00:00;1; ");
  H.Show();
  E->SetText("12:34:56");
  E->SetFocus();
  Place(E, 0);
  H.Keys([](HeadlessSession& S) { S.Type("2"); });
  EXPECT_EQ(E->EditText(), "22:34:56");
  EXPECT_EQ(E->SelStart(), 1);
  const size_t Beeps = H.Beeps();
  H.Keys([](HeadlessSession& S) { S.Type("x"); });
  EXPECT_EQ(E->EditText(), "22:34:56");
  EXPECT_EQ(H.Beeps(), Beeps + 1);
  Place(E, 1);
  H.Keys([](HeadlessSession& S) { S.Type("5"); });
  EXPECT_EQ(E->EditText(), "25:34:56");
  EXPECT_EQ(E->SelStart(), 3);
  H.Keys([](HeadlessSession& S) { S.Key(VK_BACK); });
  EXPECT_EQ(E->EditText(), "2 :34:56");
  EXPECT_EQ(E->SelStart(), 1);
  // Delete blanks the position at the caret and moves nothing.
  Place(E, 3);
  H.Keys([](HeadlessSession& S) { S.Key(VK_DELETE); });
  EXPECT_EQ(E->EditText(), "2 : 4:56");
  EXPECT_EQ(E->SelStart(), 3);
  // The arrows and Home and End step over the literals.
  Place(E, 1);
  H.Keys([](HeadlessSession& S) { S.Key(VK_RIGHT); });
  EXPECT_EQ(E->SelStart(), 3);
  H.Keys([](HeadlessSession& S) { S.Key(VK_LEFT); });
  EXPECT_EQ(E->SelStart(), 1);
  H.Keys([](HeadlessSession& S) { S.Key(VK_END); });
  EXPECT_EQ(E->SelStart(), 8);
  H.Keys([](HeadlessSession& S) { S.Key(VK_HOME); });
  EXPECT_EQ(E->SelStart(), 0);
  // A selection of more than one character is blanked before the key goes in.
  E->SetSelStart(0);
  E->SetSelLength(5);
  H.Keys([](HeadlessSession& S) { S.Type("7"); });
  EXPECT_EQ(E->EditText(), "7 :  :56");
}

TEST(TMaskEdit, CtrlASelectsAllAndTheNextKeyReplacesIt) {
  MaskHost H;
  auto* Plain = H.Make<TMaskEdit>("Plain", "", 50);
  auto* Masked = H.Make("Masked", "!90:00:00;1; ");
  H.Show();
  Plain->SetText("hello");
  Plain->SetFocus();
  Place(Plain, 2);
  H.Keys([](HeadlessSession& S) {
    S.Key('A', MOD_CONTROL);
    S.Type("bye");
  });
  EXPECT_EQ(Plain->Text(), "bye");

  Masked->SetText("12:34:56");
  Masked->SetFocus();
  Place(Masked, 3);
  H.Keys([](HeadlessSession& S) { S.Key('A', MOD_CONTROL); });
  EXPECT_EQ(Masked->SelStart(), 0);
  EXPECT_EQ(Masked->SelLength(), 8);
  H.Keys([](HeadlessSession& S) { S.Type("7"); });
  EXPECT_EQ(Masked->EditText(), "7 :  :  ");
}

TEST(TMaskEdit, EveryMaskCharacterAtWork) {
  struct Case {
    const char* Mask;
    const char* Typed;
    const char* Shown;
    const char* Text;
  } Cases[] = {
      {"!>LL-0000;0;_", "ab1234", "AB-1234", "AB1234"},
      {"<ll;1;_", "XY", "xy", "xy"},
      {"AAaa;1;_", "a1b2", "a1b2", "a1b2"},
      {"CCcc;1;_", "%& !", "%& !", "%& !"},
      {"00/99;1;_", "1234", "12/34", "12/34"},
      {"###;1;_", "-+5", "-+5", "-+5"},
      {"\\A0_0;1;_", "12", "A1 2", "A1 2"},
      {"L0;1;_", "1a2", "a2", "a2"},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Mask);
    MaskHost H;
    auto* E = H.Make("E", C.Mask);
    H.Show();
    E->SetFocus();
    Place(E, 0);
    H.Keys([&](HeadlessSession& S) { S.Type(C.Typed); });
    EXPECT_EQ(E->EditText(), C.Shown);
    EXPECT_EQ(E->Text(), C.Text);
  }
}

TEST(TMaskEdit, LeavingWithARequiredPositionBlankIsRefused) {
  MaskHost H;
  auto* E = H.Make("E", "!>LL-0000;0;_");
  auto* Other = H.Make<TEdit>("Other", "", 60);
  H.Show();
  std::string Error;
  SetApplicationExceptionHandler([&](TObject*, std::exception_ptr P) {
    try {
      std::rethrow_exception(P);
    } catch (const EDBEditError& X) {
      Error = X.what();
    } catch (...) {
      Error = "another exception";
    }
  });
  E->SetFocus();
  Place(E, 0);
  H.Keys([](HeadlessSession& S) { S.Type("a"); });
  EXPECT_EQ(E->EditText(), "A_-____");
  Other->SetFocus();
  H.Session.PumpUntilIdle();
  SetApplicationExceptionHandler(nullptr);
  EXPECT_EQ(Error, "Invalid input value.  Use escape key to abandon changes");
  EXPECT_EQ(GetFocus(), E->Handle());
  EXPECT_EQ(E->SelStart(), 1);
  EXPECT_EQ(E->SelLength(), 0);
  // Esc abandons the changes; then the focus may go.
  H.Keys([](HeadlessSession& S) { S.Key(VK_ESCAPE); });
  EXPECT_EQ(E->EditText(), "__-____");
  EXPECT_FALSE(E->Modified());
  Other->SetFocus();
  EXPECT_EQ(GetFocus(), Other->Handle());
}

TEST(TMaskEdit, SwitchingToAnotherProgramValidatesNothing) {
  MaskHost H;
  auto* E = H.Make("E", "!>LL-0000;0;_");
  H.Show();
  E->SetFocus();
  Place(E, 0);
  H.Keys([](HeadlessSession& S) { S.Type("a"); });
  bool Raised = false;
  SetApplicationExceptionHandler([&](TObject*, std::exception_ptr) { Raised = true; });
  ::SetFocus(nullptr);
  H.Session.PumpUntilIdle();
  SetApplicationExceptionHandler(nullptr);
  EXPECT_FALSE(Raised);
}

TEST(TMaskEdit, EscRestoresTheTextTheEditHadWhenItGotTheFocus) {
  MaskHost H;
  auto* E = H.Make("E", "!90:00;1; ");
  H.Show();
  E->SetText("11:22");
  E->SetFocus();
  Place(E, 0);
  H.Keys([](HeadlessSession& S) {
    S.Type("99");
    S.Key(VK_BACK);
  });
  EXPECT_EQ(E->EditText(), "9 :22");
  H.Keys([](HeadlessSession& S) { S.Key(VK_ESCAPE); });
  EXPECT_EQ(E->EditText(), "11:22");
  EXPECT_FALSE(E->Modified());
}

TEST(TMaskEdit, PasteFillsPositionsFromTheCaretAndStopsAtWhatDoesNotFit) {
  struct Case {
    const char* Clip;
    int At;
    const char* Shown;
  } Cases[] = {
      {"1234567", 0, "12:34"},  // longer than the mask: the rest is dropped
      {"1a3", 0, "1 :  "},      // stops at the refused letter
      {"12:34", 0, "12:34"},    // its literals fall on the mask's
      {"9", 3, "  :9 "},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Clip);
    MaskHost H;
    auto* E = H.Make("E", "!90:00;1; ");
    H.Show();
    Clipboard()->SetAsText(C.Clip);
    E->SetFocus();
    Place(E, C.At);
    H.Keys([](HeadlessSession& S) { S.Key('V', MOD_CONTROL); });
    EXPECT_EQ(E->EditText(), C.Shown);
    EXPECT_EQ(E->MaxLength(), 5);
  }
}

TEST(TMaskEdit, NoChangeWhenTheEditMayNotBeModified) {
  MaskHost H;
  auto* E = H.Make<TLockedMaskEdit>("E", "!90:00;1; ");
  H.Show();
  E->CanModify = true;
  E->SetText("12:34");
  E->CanModify = false;
  Clipboard()->SetAsText("99");
  E->SetFocus();
  struct MaskStep {
    const char* Name;
    std::function<void(HeadlessSession&)> Keys;
  } Steps[] = {
      {"typing", [](HeadlessSession& S) { S.Type("5"); }},
      {"Backspace", [](HeadlessSession& S) { S.Key(VK_BACK); }},
      {"Delete", [](HeadlessSession& S) { S.Key(VK_DELETE); }},
      {"Ctrl+X", [](HeadlessSession& S) { S.Key('X', MOD_CONTROL); }},
      {"Ctrl+V", [](HeadlessSession& S) { S.Key('V', MOD_CONTROL); }},
  };
  for (const MaskStep& St : Steps) {
    SCOPED_TRACE(St.Name);
    E->SetSelStart(1);
    E->SetSelLength(2);
    H.Keys(St.Keys);
    EXPECT_EQ(E->EditText(), "12:34");
  }
}
