// The spin edit: typed numbers taken at once and kept in range, the text of a value by
// type, the increment rounded for integers, the buttons' repeat on the virtual clock, the
// change events and the layout of the buttons.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/win/Keyboard.h"
#include "platform/display/HeadlessPng.h"
#include "skin/controls/SkinBoxCtrls.h"
#include "tests/support/SkinFormFixture.h"
#include "tests/support/UiLayoutKeys.h"

using vantrel::uitest::PumpKeys;
using vantrel::uitest::SkinFormFixture;

namespace {

class SkinSpinEditTest : public SkinFormFixture {
 protected:
  std::vector<std::string> Log;

  TspSkinSpinEdit* AddSpin(bool Skinned = false) {
    auto* S = Create<TspSkinSpinEdit>(Form.get());
    S->SetParent(Form.get());
    S->SetBounds(20, 20, 120, 20);
    if (Skinned) S->SetSkinData(Skin);
    S->OnChange = [this](TObject*) { Log.push_back("change"); };
    S->OnUpButtonClick = [this](TObject*) { Log.push_back("up"); };
    S->OnDownButtonClick = [this](TObject*) { Log.push_back("down"); };
    return S;
  }
  void TypeNumber(TspSkinSpinEdit* S, const char* Text) {
    S->FEdit->SetFocus();
    S->FEdit->SelectAll();
    Session.Type(Text);
    PumpKeys(Session);
  }
};

TEST_F(SkinSpinEditTest, TypedNumbersAreTakenAndKeptInRange) {
  auto* S = AddSpin();
  S->SetMaxValue(5000);
  auto* Other = AddSpin();
  Other->SetTop(60);
  ShowForm();
  TypeNumber(S, "6000");
  EXPECT_EQ(S->FEdit->Text(), "5000");
  EXPECT_EQ(S->Value(), 5000);
  TypeNumber(S, "12");
  EXPECT_EQ(S->FEdit->Text(), "12");
  EXPECT_EQ(S->Value(), 12);
  // A number still short of the range stays as typed; leaving shows the value.
  S->SetMinValue(10);
  S->SetMaxValue(100);
  TypeNumber(S, "5");
  EXPECT_EQ(S->FEdit->Text(), "5");
  EXPECT_EQ(S->Value(), 10);
  Other->FEdit->SetFocus();
  Session.PumpUntilIdle();
  EXPECT_EQ(S->FEdit->Text(), "10");
  // Texts that are no number leave the value alone.
  S->SetValue(50);
  for (const char* Bad : {"-", "--5", "5-"}) {
    SCOPED_TRACE(Bad);
    S->SetText(Bad);
    EXPECT_EQ(S->Value(), 50);
  }
  // Without bounds anything goes, negative numbers too.
  S->SetMinValue(0);
  S->SetMaxValue(0);
  TypeNumber(S, "-7");
  EXPECT_EQ(S->Value(), -7);
}

TEST_F(SkinSpinEditTest, TheTextOfAValueFollowsTheType) {
  auto* S = AddSpin();
  ShowForm();
  S->SetValueType(vtFloat);
  S->SetDecimal(2);
  S->SetValue(3.14159);
  EXPECT_EQ(S->FEdit->Text(), "3.14");
  EXPECT_FALSE(S->IsNumText(".5"));
  EXPECT_FALSE(S->IsNumText("1.2.3"));
  EXPECT_TRUE(S->IsNumText("-1.25"));
  struct Case {
    double Increment, Rounded;
  } Increments[] = {{0.4, 1}, {2.6, 3}, {2.5, 2}};
  for (const Case& C : Increments) {
    SCOPED_TRACE(C.Increment);
    S->SetValueType(vtFloat);
    S->SetIncrement(C.Increment);
    S->SetValueType(vtInteger);
    EXPECT_EQ(S->Increment(), C.Rounded);
  }
  for (auto [V, Text] : {std::pair{2.5, "2"}, std::pair{3.5, "4"}}) {
    SCOPED_TRACE(Text);
    S->SetValue(V);
    EXPECT_EQ(S->FEdit->Text(), Text);
  }
  EXPECT_FALSE(S->IsNumText("1.5"));
}

TEST_F(SkinSpinEditTest, ValueWritesTellTheChangeOnceSimpleOnesNever) {
  auto* S = AddSpin();
  ShowForm();
  S->SetValue(7);
  EXPECT_EQ(Log, std::vector<std::string>{"change"});
  EXPECT_EQ(S->Text(), "7");
  EXPECT_EQ(S->FEdit->Text(), "7");
  Log.clear();
  S->SimpleSetValue(9);
  EXPECT_TRUE(Log.empty());
  EXPECT_EQ(S->FEdit->Text(), "9");
  S->SetMaxValue(3);
  EXPECT_EQ(S->Value(), 3);
  EXPECT_EQ(Log, std::vector<std::string>{"change"});
  // Up and Down in the edit step and tell the button events.
  S->SetMaxValue(10);
  Log.clear();
  S->FEdit->SetFocus();
  Session.Key(VK_UP);
  PumpKeys(Session);
  EXPECT_EQ(S->Value(), 4);
  EXPECT_EQ(Log, (std::vector<std::string>{"change", "up"}));
}

TEST_F(SkinSpinEditTest, AHeldButtonRepeatsAndTheReleaseStepsOnceMore) {
  auto* S = AddSpin();
  ShowForm();
  ASSERT_EQ(S->Buttons[0].R, Rect(120 - 17, 2, 120 - 2, 10));
  ASSERT_EQ(S->Buttons[1].R, Rect(120 - 17, 10, 120 - 2, 18));
  const TPoint P = S->ClientToScreen(Point(110, 5));
  Session.Move(P.X, P.Y);
  Session.Press(P.X, P.Y);
  Session.PumpUntilIdle();
  Session.Advance(599);
  EXPECT_EQ(S->Value(), 0);
  Session.Advance(1);
  EXPECT_EQ(S->Value(), 1);
  Session.Advance(300);
  EXPECT_EQ(S->Value(), 4);
  EXPECT_EQ(std::count(Log.begin(), Log.end(), "up"), 0);
  Session.Release(P.X, P.Y);
  Session.PumpUntilIdle();
  EXPECT_EQ(S->Value(), 5);
  EXPECT_EQ(std::count(Log.begin(), Log.end(), "up"), 1);
  // The lower button steps down.
  const TPoint Q = S->ClientToScreen(Point(110, 14));
  Session.Move(Q.X, Q.Y);
  Session.Press(Q.X, Q.Y);
  Session.Release(Q.X, Q.Y);
  Session.PumpUntilIdle();
  EXPECT_EQ(S->Value(), 4);
  EXPECT_EQ(Log.back(), "down");
}

TEST_F(SkinSpinEditTest, AStretchedSkinnedPairIsSplitInItsMiddle) {
  auto* S = AddSpin(true);
  ShowForm();
  const TRect Up = S->Buttons[0].R, Down = S->Buttons[1].R;
  ASSERT_EQ(S->Height(), vantrel::skingen::MainSizes.EditHeight);
  S->SetUseSkinSize(false);
  S->SetBounds(20, 20, 120, 40);
  ASSERT_EQ(S->Height(), 40);
  const TRect U0 = S->Buttons[0].R, U1 = S->Buttons[1].R;
  const int Dy = 40 - vantrel::skingen::MainSizes.EditHeight;
  EXPECT_EQ(U0.Top, Up.Top);
  EXPECT_EQ(U1.Bottom, Down.Bottom + Dy);
  EXPECT_EQ(U0.Bottom, U1.Top);
  EXPECT_EQ(U0.Bottom, (Up.Top + Down.Bottom + Dy) / 2);
  EXPECT_LE(std::abs((U0.Bottom - U0.Top) - (U1.Bottom - U1.Top)), 1);
}

}  // namespace

namespace {

TEST_F(SkinSpinEditTest, TheInnerEditTakesTheSkinFontAndItsStateColours) {
  auto* S = AddSpin(true);
  ShowForm();
  namespace sg = vantrel::skingen;
  EXPECT_EQ(S->FEdit->Font()->Name(), sg::SkinFontName);
  EXPECT_EQ(S->FEdit->Font()->Color(), static_cast<TColor>(sg::TestFontColour(false, "spinedit", "fontcolor")));
  EXPECT_TRUE(S->FEdit->EditTransparent());
  S->SetEnabled(false);
  EXPECT_EQ(S->FEdit->Font()->Color(),
            static_cast<TColor>(sg::TestFontColour(false, "spinedit", "disabledfontcolor")));
  S->SetEnabled(true);
  S->FEdit->SetFocus();
  Session.PumpUntilIdle();
  EXPECT_EQ(S->FEdit->Font()->Color(),
            static_cast<TColor>(sg::TestFontColour(false, "spinedit", "activefontcolor")));
  // Unskinned the edit shows the default font on the default colour.
  auto* Plain = AddSpin(false);
  Plain->SetTop(60);
  EXPECT_FALSE(Plain->FEdit->EditTransparent());
  EXPECT_EQ(Plain->FEdit->Color(), clWindow);
}

}  // namespace

namespace {

// The generated default skin: the spin edit's pair and the button edit's button lie in
// the control's right end, show their normal look and take clicks.
TEST_F(SkinSpinEditTest, TheDefaultSkinsButtonsShowAndTakeClicks) {
  LoadSkin(vantrel::skingen::DefaultSkinFolder);
  auto* S = AddSpin(true);
  S->SetMaxValue(5000);
  S->SetValue(7);
  auto* E = Create<TspSkinEdit>(Form.get());
  E->SetParent(Form.get());
  E->SetSkinData(Skin);
  E->SetSkinDataName("buttonedit");
  E->SetButtonMode(true);
  E->SetBounds(20, 70, 160, 23);
  E->OnButtonClick = [this](TObject*) { Log.push_back("button"); };
  ShowForm();
  Log.clear();
  const TRect Client = S->ClientRect();
  for (const TRect& R : {S->Buttons[0].R, S->Buttons[1].R}) {
    EXPECT_TRUE(R.Left >= Client.Right - 20 && R.Right <= Client.Right && R.Top >= 0 && R.Bottom <= Client.Bottom)
        << R.Left << "," << R.Top << "," << R.Right << "," << R.Bottom;
  }
  // Each button shows its frame: its middle differs from the text area's ground.
  const auto Shot = ShotOf(S);
  const TPoint UpC = Point((S->Buttons[0].R.Left + S->Buttons[0].R.Right) / 2, S->Buttons[0].R.Top + 1);
  EXPECT_NE(Shot.At(UpC.X, UpC.Y), Shot.At(S->Width() / 2, S->Height() / 2));
  const TPoint P = S->ClientToScreen(
      Point((S->Buttons[0].R.Left + S->Buttons[0].R.Right) / 2, (S->Buttons[0].R.Top + S->Buttons[0].R.Bottom) / 2));
  Session.Move(P.X, P.Y);
  Session.Press(P.X, P.Y);
  Session.Release(P.X, P.Y);
  Session.PumpUntilIdle();
  EXPECT_EQ(S->Value(), 8);
  EXPECT_NE(std::find(Log.begin(), Log.end(), "up"), Log.end());
  const TRect BR = E->EditButtonRect();
  EXPECT_TRUE(BR.Right <= E->Width() && BR.Left >= E->Width() - 25 && BR.Top >= 0 && BR.Bottom <= E->Height());
  const TPoint Q = E->ClientToScreen(Point(0, 0));
  const TPoint Bc = Point(Q.X + (BR.Left + BR.Right) / 2, Q.Y + (BR.Top + BR.Bottom) / 2);
  Session.Move(Bc.X, Bc.Y);
  Session.Press(Bc.X, Bc.Y);
  Session.Release(Bc.X, Bc.Y);
  Session.PumpUntilIdle();
  EXPECT_EQ(Log.back(), "button");
  const std::string File = testing::TempDir() + "skin-spin-and-button-edit-laconic.png";
  ASSERT_TRUE(vantrel::display::SavePng(Session.Capture(Form->Handle()), File));
}

}  // namespace

namespace {

// A user clicks the number field, clears it with the keys and types a number: the click
// gives the inner edit the focus and the caret, with every look of the control.
TEST_F(SkinSpinEditTest, AClickInTheFieldLetsTheUserTypeANumber) {
  struct Look {
    const char* Name;
    bool Skinned;
    const char* Folder;
  } Looks[] = {{"unskinned", false, nullptr},
               {"test skin", true, nullptr},
               {"default skin", true, vantrel::skingen::DefaultSkinFolder}};
  for (const Look& L : Looks) {
    SCOPED_TRACE(L.Name);
    if (L.Folder) LoadSkin(L.Folder);
    auto* S = AddSpin(L.Skinned);
    S->SetBounds(20, 20, 66, S->Height());
    S->SetMaxValue(5000);
    S->SimpleSetValue(320);
    auto* Other = AddSpin(L.Skinned);
    Other->SetTop(80);
    ShowForm();
    Other->FEdit->SetFocus();
    Session.PumpUntilIdle();
    const TPoint P = S->ClientToScreen(Point(S->Width() / 2 - 8, S->Height() / 2));
    Session.Move(P.X, P.Y);
    Session.Press(P.X, P.Y);
    Session.Release(P.X, P.Y);
    Session.PumpUntilIdle();
    EXPECT_TRUE(S->FEdit->Focused());
    Session.Key(VK_HOME);
    Session.Key(VK_END, MOD_SHIFT);
    Session.Key(VK_DELETE);
    Session.Type("16");
    PumpKeys(Session);
    EXPECT_EQ(S->FEdit->Text(), "16");
    EXPECT_EQ(S->Value(), 16);
    delete S;
    delete Other;
    Session.PumpUntilIdle();
  }
}

}  // namespace
