// The application's hints on the virtual clock: a hint shows HintPause after the pointer
// comes to rest over a control with a hint and ShowHint, hides after HintHidePause or when
// the pointer leaves, OnShowHint may change or refuse it, and switching ShowHint rebuilds
// the window from HintWindowClass.
#include <gtest/gtest.h>

#include <string>

#include "platform/ui/Forms.h"
#include "platform/win/SysMetrics.h"
#include "tests/support/UiFormsFixture.h"
#include "tests/support/UiTestControls.h"

using vantrel::uitest::FormsSession;
using vantrel::uitest::TModalButton;

namespace {

// A form at the screen's corner with one control at (50, 50, 100 x 30) carrying a hint.
struct HintForm {
  TForm* Form = nullptr;
  TModalButton* Control = nullptr;
  explicit HintForm(FormsSession& S) {
    Application->CreateForm(Form);
    Form->SetBorderStyle(bsNone);
    Form->SetBounds(0, 0, 400, 300);
    Control = TModalButton::Create(Form);
    Control->SetBounds(50, 50, 100, 30);
    Control->SetHint("Open a file|Adds video files to the list");
    Control->SetShowHint(true);
    Control->SetParent(Form);
    Form->Show();
    S.Session.PumpUntilIdle();
  }
};

bool HintShowing() { return Application->HintWindow() && Application->HintWindow()->IsHintShowing(); }

class TTallHintWindow : public THintWindow {
  VANTREL_CLASS(TTallHintWindow)
  explicit TTallHintWindow(TComponent* AOwner) : THintWindow(AOwner) {}
};

}  // namespace

TEST(Hint, ShowsAfterHintPauseAndHidesAfterHintHidePause) {
  FormsSession S;
  HintForm F(S);
  S.Session.Move(100, 65);
  S.Session.PumpUntilIdle();
  EXPECT_EQ(Application->Hint(), "Adds video files to the list");
  S.Session.Advance(Application->HintPause() - 1);
  EXPECT_FALSE(HintShowing());
  S.Session.Advance(1);
  ASSERT_TRUE(HintShowing());
  EXPECT_EQ(Application->HintWindow()->Caption(), "Open a file");
  RECT R{};
  GetWindowRect(Application->HintWindow()->Handle(), &R);
  EXPECT_EQ(R.Left, 100);
  EXPECT_EQ(R.Top, 65 + GetSystemMetrics(SM_CYCURSOR));
  // Painted on the hint colour, right of the text.
  const vantrel::win::Surface Shot = S.Session.Capture(Application->HintWindow()->Handle());
  EXPECT_EQ(vantrel::uitest::RgbAt(Shot, Shot.Width() - 3, Shot.Height() / 2),
            vantrel::uitest::RgbOf(ColorToRGB(clInfoBk)));
  S.Session.Advance(Application->HintHidePause() - 1);
  EXPECT_TRUE(HintShowing());
  S.Session.Advance(1);
  EXPECT_FALSE(HintShowing());
  // Resting on the same control does not bring it back.
  S.Session.Advance(5000);
  EXPECT_FALSE(HintShowing());
}

TEST(Hint, LeavingTheControlHidesTheHintAndAControlWithoutHintShowsNone) {
  FormsSession S;
  HintForm F(S);
  S.Session.Move(100, 65);
  S.Session.Advance(Application->HintPause());
  ASSERT_TRUE(HintShowing());
  S.Session.Move(300, 200);  // the form itself: no hint
  S.Session.PumpUntilIdle();
  EXPECT_FALSE(HintShowing());
  S.Session.Advance(10000);
  EXPECT_FALSE(HintShowing());
  // A control with ShowHint off shows nothing either.
  F.Control->SetShowHint(false);
  S.Session.Move(100, 65);
  S.Session.Advance(10000);
  EXPECT_FALSE(HintShowing());
}

TEST(Hint, MovingFromOneHintToTheNextWaitsOnlyTheShortPause) {
  FormsSession S;
  HintForm F(S);
  TModalButton* Other = TModalButton::Create(F.Form);
  Other->SetBounds(200, 50, 100, 30);
  Other->SetHint("Trim");
  Other->SetShowHint(true);
  Other->SetParent(F.Form);
  S.Session.Move(100, 65);
  S.Session.Advance(Application->HintPause());
  ASSERT_TRUE(HintShowing());
  S.Session.Move(250, 65);
  S.Session.PumpUntilIdle();
  EXPECT_FALSE(HintShowing());
  S.Session.Advance(Application->HintShortPause());
  ASSERT_TRUE(HintShowing());
  EXPECT_EQ(Application->HintWindow()->Caption(), "Trim");
}

TEST(Hint, OnShowHintCanChangeTheTextOrRefuse) {
  FormsSession S;
  HintForm F(S);
  bool Allow = true;
  TControl* Seen = nullptr;
  Application->OnShowHint = [&](String& HintStr, Boolean& CanShow, THintInfo& Info) {
    Seen = Info.HintControl;
    HintStr = "Changed: " + HintStr;
    CanShow = Allow;
  };
  S.Session.Move(100, 65);
  S.Session.Advance(Application->HintPause());
  ASSERT_TRUE(HintShowing());
  EXPECT_EQ(Seen, F.Control);
  EXPECT_EQ(Application->HintWindow()->Caption(), "Changed: Open a file");

  Allow = false;
  S.Session.Move(300, 200);
  S.Session.PumpUntilIdle();
  S.Session.Move(100, 65);
  S.Session.Advance(Application->HintPause() * 2);
  EXPECT_FALSE(HintShowing());
}

TEST(Hint, TogglingShowHintRebuildsTheWindowFromHintWindowClass) {
  FormsSession S;
  const THintWindowClass Saved = TApplication::HintWindowClass;
  TApplication::HintWindowClass = ComponentClassOf<TTallHintWindow>();
  EXPECT_STREQ(Application->HintWindow()->ClassName(), "THintWindow");
  Application->SetShowHint(false);
  EXPECT_EQ(Application->HintWindow(), nullptr);
  Application->SetShowHint(true);
  EXPECT_STREQ(Application->HintWindow()->ClassName(), "TTallHintWindow");
  TApplication::HintWindowClass = Saved;
  // With hints off nothing shows.
  HintForm F(S);
  Application->SetShowHint(false);
  S.Session.Move(100, 65);
  S.Session.Advance(5000);
  EXPECT_EQ(Application->HintWindow(), nullptr);
}
