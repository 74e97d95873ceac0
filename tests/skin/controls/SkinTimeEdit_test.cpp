// The time edit: typing that keeps the time valid, stepping with wrap-around, the text
// forms, the milliseconds count and the up-down button.
#include <gtest/gtest.h>

#include <string>

#include "platform/win/Keyboard.h"
#include "skin/controls/SkinBoxCtrls.h"
#include "tests/support/SkinFormFixture.h"
#include "tests/support/UiLayoutKeys.h"

using vantrel::uitest::PumpKeys;
using vantrel::uitest::SkinFormFixture;

namespace {

class SkinTimeEditTest : public SkinFormFixture {
 protected:
  TspSkinTimeEdit* AddTime() {
    auto* T = Create<TspSkinTimeEdit>(Form.get());
    T->SetParent(Form.get());
    T->SetBounds(20, 20, 120, 20);
    return T;
  }
  void TypeInto(TspSkinTimeEdit* T, int Caret, const char* Text) {
    T->SetFocus();
    T->SetSelStart(Caret);
    T->SetSelLength(0);
    Session.Type(Text);
    PumpKeys(Session);
  }
};

TEST_F(SkinTimeEditTest, TypingKeepsTheTimeValid) {
  auto* T = AddTime();
  ShowForm();
  EXPECT_EQ(T->Time(), "00:00:00");
  T->SetTime("12:34:56");
  TypeInto(T, 0, "3");  // hour 32
  EXPECT_EQ(T->Time(), "12:34:56");
  TypeInto(T, 0, "2");
  EXPECT_EQ(T->Time(), "22:34:56");
  TypeInto(T, 3, "7");  // minute 74
  EXPECT_EQ(T->Time(), "22:34:56");
  TypeInto(T, 3, "5");
  EXPECT_EQ(T->Time(), "22:54:56");
  // 24:00:00 is a time that can be typed.
  T->SetTime("14:00:00");
  TypeInto(T, 0, "2");
  TypeInto(T, 1, "4");
  EXPECT_EQ(T->Time(), "24:00:00");
  // Letters never fit the mask.
  TypeInto(T, 6, "a");
  EXPECT_EQ(T->Time(), "24:00:00");
}

TEST_F(SkinTimeEditTest, StepsWrapAroundInTheFieldAtTheCaret) {
  auto* T = AddTime();
  ShowForm();
  struct Case {
    const char* From;
    int Caret;
    bool Up;
    const char* To;
  } Cases[] = {
      {"23:10:20", 1, true, "00:10:20"}, {"00:10:20", 0, false, "23:10:20"}, {"05:00:20", 4, false, "05:59:20"},
      {"05:59:20", 3, true, "05:00:20"}, {"05:10:59", 7, true, "05:10:00"}, {"24:00:00", 3, true, "23:01:00"},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(std::string(C.From) + (C.Up ? " up" : " down"));
    T->SetTime(C.From);
    T->SetFocus();
    T->SetSelStart(C.Caret);
    T->SetSelLength(0);
    if (C.Up)
      T->IncTimePart();
    else
      T->DecTimePart();
    EXPECT_EQ(T->Time(), C.To);
    EXPECT_EQ(T->SelStart(), C.Caret);
  }
  // The wheel turned away steps up.
  T->SetTime("05:10:20");
  T->SetSelStart(0);
  const TPoint P = T->ClientToScreen(Point(5, 5));
  Session.Move(P.X, P.Y);
  Session.Wheel(P.X, P.Y, 120);
  Session.PumpUntilIdle();
  EXPECT_EQ(T->Time(), "06:10:20");
}

TEST_F(SkinTimeEditTest, MillisecondsFollowTheTextForms) {
  auto* T = AddTime();
  ShowForm();
  const int Count = 3723004;  // 1 h 2 min 3 s 4 ms
  T->SetMilliseconds(Count);
  EXPECT_EQ(T->Time(), "01:02:03");
  T->SetShowMSec(true);
  EXPECT_EQ(T->Time(), "00:00:00.000");
  T->SetMilliseconds(Count);
  EXPECT_EQ(T->Time(), "01:02:03.004");
  EXPECT_EQ(T->Milliseconds(), Count);
  // Counts outside a day name no time: the text is reset.
  for (int Bad : {-1, 24 * 3600 * 1000 + 1}) {
    SCOPED_TRACE(Bad);
    T->SetMilliseconds(Count);
    T->SetMilliseconds(Bad);
    EXPECT_EQ(T->Time(), "00:00:00.000");
  }
  T->SetMilliseconds(24 * 3600 * 1000);
  EXPECT_EQ(T->Time(), "24:00:00.000");
  T->SetShowMSec(false);
  T->SetShowSec(false);
  EXPECT_EQ(T->Time(), "00:00");
  T->SetTime("01:02");
  EXPECT_EQ(T->Time(), "01:02");
  EXPECT_EQ(T->Milliseconds(), 0);
  T->SetShowSec(true);
  EXPECT_EQ(T->Time(), "00:00:00");
}

TEST_F(SkinTimeEditTest, TheUpDownIsAClientHighSquareAtTheRight) {
  auto* T = AddTime();
  T->SetShowUpDown(true);
  ShowForm();
  TspSkinIntUpDown* U = T->UpDown();
  ASSERT_NE(U, nullptr);
  EXPECT_EQ(U->Parent(), T);
  EXPECT_EQ(U->BoundsRect(), Rect(T->ClientWidth() - T->ClientHeight(), 0, T->ClientWidth(), T->ClientHeight()));
  T->SetBounds(20, 20, 150, 20);
  EXPECT_EQ(U->Left(), T->ClientWidth() - T->ClientHeight());
  T->SetTime("10:20:30");
  T->SetFocus();
  T->SetSelStart(3);
  const TPoint P = U->ClientToScreen(Point(U->Width() / 2, 2));
  Session.Move(P.X, P.Y);
  Session.Press(P.X, P.Y);
  Session.Release(P.X, P.Y);
  Session.PumpUntilIdle();
  EXPECT_EQ(T->Time(), "10:21:30");
  T->SetShowUpDown(false);
  EXPECT_EQ(T->UpDown(), nullptr);
}

TEST_F(SkinTimeEditTest, LeavingWithAnIncompleteTimeRaisesNothing) {
  auto* T = AddTime();
  auto* Other = AddTime();
  Other->SetTop(60);
  ShowForm();
  T->SetFocus();
  T->SetSelStart(0);
  T->SetSelLength(2);
  SendMessage(T->Handle(), WM_CLEAR, 0, 0);
  T->SetModified(true);
  EXPECT_NO_THROW(Other->SetFocus());
  EXPECT_TRUE(Other->Focused());
}

}  // namespace

namespace {

// A user clicks the field, goes to its start with Home and types a whole time, the
// separators included: the click gives the edit the focus, the typed separators step over
// the mask's, with the test skin and the default one.
TEST_F(SkinTimeEditTest, AClickedFieldTakesAWholeTypedTime) {
  for (const char* Folder : {static_cast<const char*>(nullptr), vantrel::skingen::DefaultSkinFolder}) {
    SCOPED_TRACE(Folder ? Folder : "test skin");
    if (Folder) LoadSkin(Folder);
    auto* T = AddTime();
    T->SetSkinData(Skin);
    T->SetBounds(20, 20, 88, 21);
    T->SetTime("00:00:04");
    auto* Other = AddTime();
    Other->SetTop(60);
    ShowForm();
    Other->SetFocus();
    Session.PumpUntilIdle();
    const TPoint P = T->ClientToScreen(Point(T->ClientWidth() / 2, T->ClientHeight() / 2));
    Session.Move(P.X, P.Y);
    Session.Press(P.X, P.Y);
    Session.Release(P.X, P.Y);
    Session.PumpUntilIdle();
    EXPECT_TRUE(T->Focused());
    Session.Key(VK_HOME);
    Session.Type("00:01:02");
    PumpKeys(Session);
    EXPECT_EQ(T->Time(), "00:01:02");
    delete T;
    delete Other;
    Session.PumpUntilIdle();
  }
}

}  // namespace
