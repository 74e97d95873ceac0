// The class library's edit and memo on the native edit window, and the key table that a
// masked edit without a mask must pass unchanged.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "platform/display/HeadlessPng.h"
#include "platform/display/HeadlessSession.h"
#include "platform/ui/Mask.h"
#include "platform/win/Edit.h"
#include "platform/win/Focus.h"
#include "platform/win/Keyboard.h"
#include "platform/win/Scroll.h"
#include "platform/win/Text.h"
#include "platform/win/WindowDc.h"
#include "tests/support/UiLayoutKeys.h"
#include "tests/support/UiTestControls.h"

using vantrel::display::HeadlessSession;
using vantrel::uitest::PumpKeys;
using vantrel::uitest::TTestForm;

namespace {

struct EditsHost {
  HeadlessSession Session;
  TOwned<TTestForm> Form = CreateOwned<TTestForm>(nullptr);
  EditsHost() { Form->SetBounds(50, 50, 400, 300); }
  template <class T>
  T* Make(const char* Name, int Top = 10) {
    auto* E = Create<T>(Form.get());
    E->SetName(Name);
    E->SetBounds(10, Top, 200, 24);
    E->SetParent(Form.get());
    return E;
  }
  void Show() {
    ShowWindow(Form->Handle(), SW_SHOW);
    SetActiveWindow(Form->Handle());
    Session.PumpUntilIdle();
  }
};

using EditFactory = std::function<TCustomEdit*(EditsHost&)>;

struct EditKind {
  const char* Name;
  EditFactory Make;
};

class EditKeyTable : public ::testing::TestWithParam<EditKind> {};

}  // namespace

// Editing keys, selection and change events: the same table for every edit class.
TEST_P(EditKeyTable, KeysChangeTextSelectionAndRaiseOnChange) {
  struct Case {
    const char* Name;
    const char* Start;
    int SelStart, SelLength;
    std::function<void(HeadlessSession&)> Keys;
    const char* Text;
    int ResultStart, ResultLength;
    int Changes;
  } Cases[] = {
      {"Home", "hello", 3, 0, [](HeadlessSession& S) { S.Key(VK_HOME); }, "hello", 0, 0, 0},
      {"Shift+End", "hello", 1, 0, [](HeadlessSession& S) { S.Key(VK_END, MOD_SHIFT); }, "hello", 1, 4, 0},
      {"Ctrl+Left", "one two three", 13, 0, [](HeadlessSession& S) { S.Key(VK_LEFT, MOD_CONTROL); }, "one two three", 8, 0, 0},
      {"Backspace", "hello", 5, 0, [](HeadlessSession& S) { S.Key(VK_BACK); }, "hell", 4, 0, 1},
      {"Delete", "hello", 0, 0, [](HeadlessSession& S) { S.Key(VK_DELETE); }, "ello", 0, 0, 1},
      {"Typing over a selection", "hello", 1, 3, [](HeadlessSession& S) { S.Type("a"); }, "hao", 2, 0, 1},
      {"Typing three characters", "", 0, 0, [](HeadlessSession& S) { S.Type("abc"); }, "abc", 3, 0, 3},
      {"Ctrl+Z twice redoes", "hello", 5, 0,
       [](HeadlessSession& S) {
         S.Type("ab");
         S.Key('Z', MOD_CONTROL);
         S.Key('Z', MOD_CONTROL);
       },
       "helloab", 7, 0, 4},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    EditsHost H;
    TCustomEdit* E = GetParam().Make(H);
    H.Show();
    E->SetText(C.Start);
    E->SetFocus();
    E->SetSelStart(C.SelStart);
    E->SetSelLength(C.SelLength);
    int Changes = 0;
    E->OnChange = [&](TObject*) { ++Changes; };
    C.Keys(H.Session);
    PumpKeys(H.Session);
    EXPECT_EQ(E->Text(), C.Text);
    EXPECT_EQ(E->SelStart(), C.ResultStart);
    EXPECT_EQ(E->SelLength(), C.ResultLength);
    EXPECT_EQ(Changes, C.Changes);
  }
}

INSTANTIATE_TEST_SUITE_P(EditClasses, EditKeyTable,
                         ::testing::Values(EditKind{"TEdit", [](EditsHost& H) -> TCustomEdit* { return H.Make<TEdit>("E"); }},
                                           EditKind{"TMaskEdit", [](EditsHost& H) -> TCustomEdit* { return H.Make<TMaskEdit>("E"); }}),
                         [](const ::testing::TestParamInfo<EditKind>& I) { return std::string(I.param.Name); });

TEST(TEdit, TextAssignmentRunsChangeOnceAndClearsModified) {
  EditsHost H;
  auto* E = H.Make<TEdit>("E");
  auto* M = H.Make<TMemo>("M", 60);
  int EChanges = 0, MChanges = 0;
  E->OnChange = [&](TObject*) { ++EChanges; };
  M->OnChange = [&](TObject*) { ++MChanges; };
  // Without a window yet.
  E->SetText("early");
  EXPECT_EQ(EChanges, 1);
  H.Show();
  E->SetText("one");
  M->SetText("one");
  EXPECT_EQ(EChanges, 2);
  EXPECT_EQ(MChanges, 1) << "a multi-line window sends no EN_CHANGE, yet Text := runs Change";
  E->SetFocus();
  H.Session.Type("x");
  PumpKeys(H.Session);
  EXPECT_EQ(EChanges, 3);
  EXPECT_TRUE(E->Modified());
  E->SetText("two");
  EXPECT_FALSE(E->Modified());
}

TEST(TEdit, RecreatingTheWindowKeepsTextSelectionAndModified) {
  EditsHost H;
  auto* E = H.Make<TEdit>("E");
  H.Show();
  E->SetText("keep me");
  E->SetFocus();
  E->SetSelStart(0);
  H.Session.Type("!");
  PumpKeys(H.Session);
  E->SetSelStart(2);
  E->SetSelLength(3);
  const HWND Before = E->Handle();
  E->SetCharCase(ecUpperCase);  // makes the window again
  EXPECT_NE(E->Handle(), Before);
  EXPECT_EQ(E->Text(), "!keep me");
  EXPECT_EQ(E->SelStart(), 2);
  EXPECT_EQ(E->SelLength(), 3);
  EXPECT_TRUE(E->Modified());
  E->SetSelStart(8);
  E->SetFocus();
  H.Session.Type("a");
  PumpKeys(H.Session);
  EXPECT_EQ(E->Text(), "!keep meA");
}

TEST(TEdit, PropertiesReachTheWindow) {
  EditsHost H;
  auto* E = H.Make<TEdit>("E");
  E->SetMaxLength(3);
  E->SetPasswordChar(U'#');
  H.Show();
  EXPECT_EQ(SendMessage(E->Handle(), EM_GETLIMITTEXT, 0, 0), 3);
  EXPECT_EQ(SendMessage(E->Handle(), EM_GETPASSWORDCHAR, 0, 0), '#');
  E->SetText("abc");
  E->SelectAll();
  EXPECT_EQ(E->SelText(), "abc");
  E->SetReadOnly(true);
  EXPECT_TRUE(GetWindowLongPtr(E->Handle(), GWL_STYLE) & ES_READONLY);
  E->SetFocus();
  H.Session.Type("z");
  PumpKeys(H.Session);
  EXPECT_EQ(E->Text(), "abc");
  E->SetReadOnly(false);
  E->SetSelStart(1);
  E->SetSelLength(1);
  E->SetSelText("XY");
  EXPECT_EQ(E->Text(), "aXc") << "a replacement takes what fits the limit";
  EXPECT_FALSE(E->CanUndo()) << "SelText is not undone";
  E->SetSelStart(1);
  E->SetSelLength(1);
  E->SetFocus();
  H.Session.Type("b");
  PumpKeys(H.Session);
  EXPECT_EQ(E->Text(), "abc");
  EXPECT_TRUE(E->CanUndo());
  E->Undo();
  EXPECT_EQ(E->Text(), "aXc");
  E->ClearUndo();
  EXPECT_FALSE(E->CanUndo());
  // AutoSize keeps the height to the font.
  const int Tall = E->Height();
  E->Font()->SetHeight(-30);
  HDC Dc = GetDC(nullptr);
  SelectObject(Dc, E->Font()->Handle());
  TEXTMETRIC Tm{};
  GetTextMetrics(Dc, &Tm);
  ReleaseDC(nullptr, Dc);
  EXPECT_GT(E->Height(), Tall) << Tm.tmHeight;
}

TEST(TMemo, LinesAddDeleteAndTextRoundTrip) {
  for (bool WithWindow : {false, true}) {
    SCOPED_TRACE(WithWindow ? "with a window" : "without a window");
    EditsHost H;
    auto* M = H.Make<TMemo>("M");
    M->SetBounds(10, 10, 200, 100);
    if (WithWindow) H.Show();
    TStrings* L = M->Lines();
    EXPECT_EQ(L->Count(), 0);
    L->Add("first");
    L->Add("second");
    L->Add("third");
    EXPECT_EQ(L->Count(), 3);
    EXPECT_EQ(M->Text(), "first\r\nsecond\r\nthird\r\n");
    L->Delete(1);
    EXPECT_EQ(L->Count(), 2);
    EXPECT_EQ((*L)[1], "third");
    L->Insert(0, "zero");
    L->SetStrings(2, "last");
    EXPECT_EQ(L->Text(), "zero\nfirst\nlast\n");
    L->SetText("a\nb\r\nc");
    EXPECT_EQ(M->Text(), "a\r\nb\r\nc");
    EXPECT_EQ(L->Count(), 3);
    EXPECT_EQ((*L)[2], "c");
    if (WithWindow) {
      EXPECT_EQ(SendMessage(M->Handle(), EM_GETLINECOUNT, 0, 0), 3);
    }
    L->Clear();
    EXPECT_EQ(L->Count(), 0);
    EXPECT_EQ(M->Text(), "");
  }
}

TEST(TMemo, StylesFollowWordWrapScrollBarsAndAlignment) {
  EditsHost H;
  auto* M = H.Make<TMemo>("M");
  H.Show();
  auto Style = [&] { return static_cast<DWORD>(GetWindowLongPtr(M->Handle(), GWL_STYLE)); };
  EXPECT_TRUE(Style() & ES_MULTILINE);
  EXPECT_FALSE(Style() & ES_AUTOHSCROLL);
  M->SetWordWrap(false);
  EXPECT_TRUE(Style() & ES_AUTOHSCROLL);
  M->SetScrollBars(ssBoth);
  EXPECT_EQ(Style() & (WS_HSCROLL | WS_VSCROLL), WS_HSCROLL | WS_VSCROLL);
  M->SetAlignment(taRightJustify);
  EXPECT_TRUE(Style() & ES_RIGHT);
  M->SetWantTabs(true);
  EXPECT_TRUE(SendMessage(M->Handle(), WM_GETDLGCODE, 0, 0) & DLGC_WANTTAB);
  M->SetWantReturns(false);
  EXPECT_FALSE(SendMessage(M->Handle(), WM_GETDLGCODE, 0, 0) & DLGC_WANTALLKEYS);
  M->SetText("x");
  M->SetFocus();
  M->SetSelStart(1);
  H.Session.Key(VK_RETURN);
  PumpKeys(H.Session);
  EXPECT_EQ(M->Text(), "x");
}

TEST(TEdit, PaintsInItsColourAndFontColourThroughTheReflectedColourRequest) {
  EditsHost H;
  auto* E = H.Make<TEdit>("E");
  E->SetColor(clLime);
  E->Font()->SetColor(clRed);
  E->Font()->SetHeight(-24);
  E->SetText("IIII");
  H.Show();
  E->SetFocus();
  E->SetSelStart(1);
  E->SetSelLength(2);
  vantrel::win::Surface Shot = H.Session.Capture(E->Handle());
  vantrel::display::SavePng(Shot, testing::TempDir() + "tedit-colours.png");
  // The client edge takes two pixels on each side.
  EXPECT_EQ(Shot.Row(10)[E->Width() - 10] & 0xFFFFFF, 0x00FF00u);
  int Red = 0;
  for (int Y = 0; Y < Shot.Height(); ++Y)
    for (int X = 0; X < Shot.Width(); ++X)
      if ((Shot.Row(Y)[X] & 0xFFFFFF) == 0xFF0000) ++Red;
  EXPECT_GT(Red, 20);
  // A read-only edit asks for the static colours and still gets the control's brush.
  E->SetReadOnly(true);
  E->Invalidate();
  Shot = H.Session.Capture(E->Handle());
  EXPECT_EQ(Shot.Row(10)[E->Width() - 10] & 0xFFFFFF, 0x00FF00u);
}

TEST(TMemo, ScrollStateIsThereForOutsideBars) {
  EditsHost H;
  auto* M = H.Make<TMemo>("M");
  M->SetBounds(10, 10, 200, 60);
  M->SetScrollBars(ssBoth);
  M->SetWordWrap(false);
  H.Show();
  for (int I = 0; I < 20; ++I) M->Lines()->Add("line " + std::to_string(I));
  SCROLLINFO Info;
  Info.fMask = SIF_ALL;
  ASSERT_TRUE(GetScrollInfo(M->Handle(), SB_VERT, &Info));
  EXPECT_EQ(Info.nMax, 20);  // twenty lines and the empty one after the last break
  EXPECT_LT(static_cast<int>(Info.nPage), Info.nMax + 1);
  SendMessage(M->Handle(), WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 4), 0);
  GetScrollInfo(M->Handle(), SB_VERT, &Info);
  EXPECT_EQ(Info.nPos, 4);
  ASSERT_TRUE(GetScrollInfo(M->Handle(), SB_HORZ, &Info));
  EXPECT_GT(Info.nMax, 0);
}

// A press in an edit gives it the focus and puts the caret where it lands, a drag selects,
// and the class library's mouse events still run: for every edit class.
TEST(TEdit, APressFocusesAndPlacesTheCaretADragSelects) {
  struct Kind {
    const char* Name;
    std::function<TCustomEdit*(EditsHost&)> Make;
  } Kinds[] = {{"TEdit", [](EditsHost& H) -> TCustomEdit* { return H.Make<TEdit>("E"); }},
               {"TMaskEdit", [](EditsHost& H) -> TCustomEdit* { return H.Make<TMaskEdit>("E"); }},
               {"TMemo", [](EditsHost& H) -> TCustomEdit* { return H.Make<TMemo>("E"); }}};
  for (const Kind& K : Kinds) {
    SCOPED_TRACE(K.Name);
    EditsHost H;
    TCustomEdit* E = K.Make(H);
    auto* Other = H.Make<TEdit>("Other", 60);
    int Downs = 0, Clicks = 0;
    E->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, Integer, Integer) { ++Downs; };
    E->OnClick = [&](TObject*) { ++Clicks; };
    H.Show();
    E->SetText("hello");
    Other->SetFocus();
    H.Session.PumpUntilIdle();
    ASSERT_TRUE(Other->Focused());
    // Past the end of the text: the caret goes after the last letter.
    const TPoint End = E->ClientToScreen(Point(E->ClientWidth() - 4, E->ClientHeight() / 2));
    H.Session.Press(End.X, End.Y);
    H.Session.Release(End.X, End.Y);
    H.Session.PumpUntilIdle();
    EXPECT_TRUE(E->Focused());
    EXPECT_EQ(E->SelStart(), 5);
    EXPECT_EQ(E->SelLength(), 0);
    EXPECT_EQ(Downs, 1);
    EXPECT_EQ(Clicks, 1);
    H.Session.Type("!");
    PumpKeys(H.Session);
    EXPECT_EQ(E->Text(), "hello!");
    // From before the first letter to past the last: all of it selected.
    H.Session.Advance(1000);
    const TPoint Start = E->ClientToScreen(Point(0, E->ClientHeight() / 2));
    H.Session.Press(Start.X, Start.Y);
    H.Session.Move(End.X, End.Y);
    H.Session.Release(End.X, End.Y);
    H.Session.PumpUntilIdle();
    EXPECT_EQ(E->SelStart(), 0);
    EXPECT_EQ(E->SelLength(), 6);
  }
}
