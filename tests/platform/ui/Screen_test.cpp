// The screen: forms and custom forms in creation order, cursors (standard shapes and the
// writable slots), the screen's and the work area's size.
#include <gtest/gtest.h>

#include "platform/ui/Forms.h"
#include "platform/win/Cursor.h"
#include "platform/win/Focus.h"
#include "tests/support/UiFormsFixture.h"

using vantrel::uitest::FormsSession;

TEST(Screen, ListsFormsAndCustomFormsInCreationOrder) {
  FormsSession S;
  TForm* A = nullptr;
  Application->CreateForm(A);
  TCustomForm* Custom = TCustomForm::Create(Application);
  TForm* B = nullptr;
  Application->CreateForm(B);
  EXPECT_EQ(Screen->FormCount(), 2);
  EXPECT_EQ(Screen->CustomFormCount(), 3);
  EXPECT_EQ(Screen->CustomForms(1), Custom);
  EXPECT_EQ(Screen->Forms(1), B);
  A->Show();
  EXPECT_EQ(Screen->ActiveForm(), A);
  EXPECT_EQ(Screen->ActiveCustomForm(), A);
  A->Free();
  EXPECT_EQ(Screen->ActiveForm(), nullptr);
  EXPECT_EQ(Screen->Forms(0), B);
  EXPECT_EQ(Application->MainForm(), nullptr);
}

TEST(Screen, CursorsGiveStandardShapesAndKeepTheSkinsSlots) {
  FormsSession S;
  EXPECT_EQ(Screen->Cursors(crDefault), LoadCursor(nullptr, IDC_ARROW));
  EXPECT_EQ(Screen->Cursors(crHandPoint), LoadCursor(nullptr, IDC_HAND));
  EXPECT_EQ(Screen->Cursors(crIBeam), LoadCursor(nullptr, IDC_IBEAM));
  EXPECT_EQ(Screen->Cursors(crNone), nullptr);
  // An unset slot gives the arrow; a set one gives what was put there.
  EXPECT_EQ(Screen->Cursors(Screen->StartCursorIndex), LoadCursor(nullptr, IDC_ARROW));
  const HCURSOR Own = CopyCursor(LoadCursor(nullptr, IDC_CROSS));
  Screen->SetCursors(Screen->StartCursorIndex + 2, Own);
  EXPECT_EQ(Screen->Cursors(Screen->StartCursorIndex + 2), Own);
  Screen->SetCursor(crHourGlass);
  EXPECT_EQ(GetCursor(), LoadCursor(nullptr, IDC_WAIT));
}

TEST(Screen, SizesComeFromTheDisplay) {
  FormsSession S;
  EXPECT_EQ(Screen->Width(), 1280);
  EXPECT_EQ(Screen->Height(), 800);
  const TRect Work = Screen->WorkAreaRect();
  const RECT Display = S.Session.Display().WorkArea();
  EXPECT_EQ(Work, TRect(Display));
  EXPECT_EQ(Screen->WorkAreaHeight(), Display.Bottom - Display.Top);
  TForm* F = nullptr;
  Application->CreateForm(F);
  EXPECT_NE(Screen->MonitorFromWindow(F->Handle()), nullptr);
}

TEST(Screen, ThePointerTakesTheControlsCursorUnlessTheScreenSetsOne) {
  FormsSession S;
  TForm* F = nullptr;
  Application->CreateForm(F);
  F->SetBorderStyle(bsNone);
  F->SetBounds(0, 0, 400, 300);
  vantrel::uitest::TModalButton* Link = vantrel::uitest::TModalButton::Create(F);
  Link->SetBounds(10, 10, 100, 20);
  Link->SetCursor(crHandPoint);
  Link->SetParent(F);
  F->Show();
  S.Session.Move(50, 20);
  S.Session.PumpUntilIdle();
  EXPECT_EQ(GetCursor(), LoadCursor(nullptr, IDC_HAND));
  S.Session.Move(200, 200);
  S.Session.PumpUntilIdle();
  EXPECT_EQ(GetCursor(), LoadCursor(nullptr, IDC_ARROW));
  Screen->SetCursor(crHourGlass);
  S.Session.Move(50, 20);
  S.Session.PumpUntilIdle();
  EXPECT_EQ(GetCursor(), LoadCursor(nullptr, IDC_WAIT));
}

TEST(Screen, TheActiveControlFollowsTheFocusAndComesBackWithItsForm) {
  FormsSession S;
  TForm* A = nullptr;
  TForm* B = nullptr;
  Application->CreateForm(A);
  Application->CreateForm(B);
  auto* First = vantrel::uitest::TModalButton::Create(A);
  auto* Second = vantrel::uitest::TModalButton::Create(A);
  First->SetBounds(0, 0, 50, 20);
  Second->SetBounds(0, 30, 50, 20);
  First->SetParent(A);
  Second->SetParent(A);
  A->Show();
  Second->SetFocus();
  EXPECT_EQ(A->ActiveControl(), Second);
  EXPECT_EQ(Screen->ActiveControl(), Second);
  B->Show();
  EXPECT_EQ(Screen->ActiveForm(), B);
  EXPECT_EQ(Screen->ActiveControl(), nullptr);
  B->Hide();  // activation returns to A, and A gives the focus back to Second
  EXPECT_EQ(Screen->ActiveForm(), A);
  EXPECT_EQ(GetFocus(), Second->Handle());
  EXPECT_EQ(Screen->ActiveControl(), Second);
}
