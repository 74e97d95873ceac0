// The grid's in-place editor: typing opens it over the current cell and every change
// reaches the cell at once, Return stores and hides, a read-only cell refuses every
// change, a press on the grid stores the text first, and a right click builds the
// editing menu.
#include <map>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "platform/ui/Clipbrd.h"
#include "platform/win/Focus.h"
#include "platform/win/Keyboard.h"
#include "platform/win/Messages.h"
#include "skin/forms/FormSkin.h"
#include "skin/forms/SkinMenus.h"
#include "tests/skin/controls/SkinGridsRecorder.h"
#include "tests/support/AppPump.h"
#include "tests/support/SkinFormFixture.h"

using vantrel::gridtest::TRecordingGrid;
using vantrel::uitest::SkinFormFixture;

namespace {

// A grid that keeps its cells' texts and tells which the editor stored; Limit is the
// editor's length limit (-1: read-only).
class TEditingGrid : public TRecordingGrid {
  VANTREL_CLASS(TEditingGrid)
  using TRecordingGrid::TRecordingGrid;

  std::map<std::pair<Integer, Integer>, String> Texts;
  std::vector<std::pair<std::pair<Integer, Integer>, String>> Stored;
  Integer Limit = 0;
  Integer Loads = 0;

  String GetEditText(Integer ACol, Integer ARow) override {
    ++Loads;
    return Texts[{ACol, ARow}];
  }
  void SetEditText(Integer ACol, Integer ARow, const String& Value) override {
    Texts[{ACol, ARow}] = Value;
    Stored.push_back({{ACol, ARow}, Value});
  }
  Integer GetEditLimit() override { return Limit; }
};

class SkinGridEditorTest : public SkinFormFixture {
 protected:
  TEditingGrid* G = nullptr;

  void SetUp() override {
    SkinFormFixture::SetUp();
    G = Create<TEditingGrid>(Form.get());
    G->SetParent(Form.get());
    G->SetBounds(0, 0, 400, 200);
    G->SetOptions(G->Options() + TGridOptions{goEditing});
    ShowForm();
    G->SetFocus();
    Session.PumpUntilIdle();
  }
  void Pump() { vantrel::testsupport::PumpApplication(Session); }
  void Key(WORD Vk, UINT Mods = 0) {
    Session.Key(Vk, Mods);
    Pump();
  }
  void Type(const std::string& Text) {
    Session.Type(Text);
    Pump();
  }
  TspSkinInplaceEdit* Editor() const { return G->InplaceEditor(); }
  Boolean EditorShown() const { return Editor() && Editor()->Visible(); }
  // Each press a second after the last: never a double click.
  void Press(Integer X, Integer Y) {
    Session.Advance(1000);
    const TPoint P = G->ClientToScreen(Point(X, Y));
    Session.Move(P.X, P.Y);
    Session.Press(P.X, P.Y);
    Session.Release(P.X, P.Y);
    Pump();
  }
};

TEST_F(SkinGridEditorTest, TypingOpensTheEditorAndReturnStoresAndHidesIt) {
  G->Texts[{1, 1}] = "old";
  ASSERT_FALSE(EditorShown());
  Type("a");
  ASSERT_TRUE(EditorShown());
  EXPECT_EQ(Editor()->Text(), "a");
  EXPECT_EQ(GetFocus(), Editor()->Handle());
  EXPECT_TRUE(Editor()->PosEqual(G->CellRect(1, 1)));
  ASSERT_FALSE(G->Stored.empty());
  EXPECT_EQ(G->Stored.back(), std::make_pair(std::make_pair(1, 1), String("a")));
  Type("b");
  EXPECT_EQ(G->Texts[std::make_pair(1, 1)], "ab");
  Key(VK_RETURN);
  EXPECT_FALSE(EditorShown());
  EXPECT_FALSE(G->EditorMode());
  EXPECT_EQ(G->Texts[std::make_pair(1, 1)], "ab");
  EXPECT_EQ(GetFocus(), G->Handle());
}

TEST_F(SkinGridEditorTest, ReturnKeepsTheEditorWithAlwaysShowEditorAndTogglesSelectAll) {
  G->Texts[{1, 1}] = "abc";
  G->SetOptions(G->Options() + TGridOptions{goAlwaysShowEditor});
  Pump();
  ASSERT_TRUE(EditorShown());
  // Loaded with the whole text selected; Return takes the selection away, Return again
  // selects it all.
  EXPECT_EQ(Editor()->SelStart(), 0);
  EXPECT_EQ(Editor()->SelLength(), 3);
  Key(VK_RETURN);
  EXPECT_TRUE(EditorShown());
  EXPECT_EQ(Editor()->SelStart(), 3);
  EXPECT_EQ(Editor()->SelLength(), 0);
  Key(VK_RETURN);
  EXPECT_EQ(Editor()->SelStart(), 0);
  EXPECT_EQ(Editor()->SelLength(), 3);
}

TEST_F(SkinGridEditorTest, AReadOnlyCellRefusesEveryChangeButCopies) {
  G->Texts[{1, 1}] = "abc";
  G->Limit = -1;
  Key(VK_F2);
  ASSERT_TRUE(EditorShown());
  EXPECT_FALSE(G->CanEditModify());
  Clipboard()->SetAsText("zz");
  struct Step {
    const char* Name;
    std::function<void()> Run;
  };
  const Step Steps[] = {
      {"letter", [&] { Type("x"); }},
      {"euro", [&] { Type("\xE2\x82\xAC"); }},
      {"CJK", [&] { Type("\xE6\xBC\xA2"); }},
      {"Ctrl+V", [&] { Key('V', MOD_CONTROL); }},
      {"Ctrl+X", [&] { Key('X', MOD_CONTROL); }},
      {"Backspace", [&] { Key(VK_BACK); }},
      {"Delete", [&] { Key(VK_DELETE); }},
      {"Shift+Delete", [&] { Key(VK_DELETE, MOD_SHIFT); }},
      {"Shift+Insert", [&] { Key(VK_INSERT, MOD_SHIFT); }},
  };
  for (const Step& S : Steps) {
    Editor()->SelectAll();
    S.Run();
    EXPECT_EQ(Editor()->Text(), "abc") << S.Name;
  }
  EXPECT_EQ(Clipboard()->AsText(), "zz");
  Editor()->SelectAll();
  Key('C', MOD_CONTROL);
  EXPECT_EQ(Clipboard()->AsText(), "abc");
}

TEST_F(SkinGridEditorTest, RightAndCtrlRightLeaveTheCellOnlyWithAlwaysShowEditor) {
  G->Texts[{1, 1}] = "abc";
  struct Case {
    Boolean Always;
    UINT Mods;
    Integer Col;
  };
  // Plain Right from the text's end, Ctrl+Right from its start. Ctrl+Right is the grid's
  // page step: columns 1 to 5 show, so it goes 4 columns on, held at the last one (4).
  for (const Case& C : {Case{true, 0, 2}, Case{true, MOD_CONTROL, 4}, Case{false, 0, 1}, Case{false, MOD_CONTROL, 1}}) {
    G->SetCol(1);
    G->SetOptions(C.Always ? G->Options() + TGridOptions{goAlwaysShowEditor}
                           : G->Options() - TGridOptions{goAlwaysShowEditor});
    G->SetEditorMode(true);
    Pump();
    ASSERT_TRUE(EditorShown());
    Editor()->SetSelStart(C.Mods ? 0 : 3);
    Editor()->SetSelLength(0);
    Key(VK_RIGHT, C.Mods);
    EXPECT_EQ(G->Col(), C.Col) << C.Always << " " << C.Mods;
  }
}

TEST_F(SkinGridEditorTest, F2WithAHandlerThatClearsTheKeyLeavesTheSelection) {
  G->Texts[{1, 1}] = "abc";
  Key(VK_F2);
  ASSERT_TRUE(EditorShown());
  Editor()->SelectAll();
  G->OnKeyDown = [](TObject*, Word& K, TShiftState) {
    if (K == VK_F2) K = 0;
  };
  Key(VK_F2);
  EXPECT_EQ(Editor()->SelStart(), 0);
  EXPECT_EQ(Editor()->SelLength(), 3);
  G->OnKeyDown = nullptr;
  Key(VK_F2);
  EXPECT_EQ(Editor()->SelStart(), 3);
  EXPECT_EQ(Editor()->SelLength(), 0);
}

// F2 (and switching editing on from the program) opens the editor with the caret after the
// text and nothing selected, so what is typed is added to the cell's text.
TEST_F(SkinGridEditorTest, F2PutsTheCaretAfterTheTextAndTypingAddsToIt) {
  G->Texts[{1, 1}] = "abc";
  Key(VK_F2);
  ASSERT_TRUE(EditorShown());
  EXPECT_EQ(Editor()->SelStart(), 3);
  EXPECT_EQ(Editor()->SelLength(), 0);
  Type("d");
  EXPECT_EQ(G->Texts[std::make_pair(1, 1)], "abcd");
  Key(VK_RETURN);
  ASSERT_FALSE(EditorShown());
  G->SetCol(2);
  G->Texts[{2, 1}] = "xy";
  G->SetEditorMode(true);
  Pump();
  ASSERT_TRUE(EditorShown());
  EXPECT_EQ(Editor()->Text(), "xy");
  EXPECT_EQ(Editor()->SelStart(), 2);
  EXPECT_EQ(Editor()->SelLength(), 0);
}

TEST_F(SkinGridEditorTest, APressStoresTheEditorsTextFirst) {
  Type("q");
  ASSERT_TRUE(EditorShown());
  // The text goes past the change notice, so only the press can store it.
  Editor()->Perform(WM_SETTEXT, 0, reinterpret_cast<LPARAM>("typed"));
  G->Stored.clear();
  std::vector<String> AtMouseDown;
  G->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, Integer, Integer) {
    AtMouseDown.push_back(G->Texts[std::make_pair(1, 1)]);
  };
  const TRect R = G->CellRect(3, 3);
  Press(R.Left + 5, R.Top + 5);
  ASSERT_FALSE(G->Stored.empty());
  EXPECT_EQ(G->Stored.front(), std::make_pair(std::make_pair(1, 1), String("typed")));
  ASSERT_EQ(AtMouseDown.size(), 1u);
  EXPECT_EQ(AtMouseDown[0], "typed");
  EXPECT_FALSE(EditorShown());
}

TEST_F(SkinGridEditorTest, FocusBetweenGridAndEditorNeitherHidesNorReloads) {
  G->Texts[{1, 1}] = "abc";
  Key(VK_F2);
  ASSERT_TRUE(EditorShown());
  ASSERT_EQ(GetFocus(), Editor()->Handle());
  const Integer Loads = G->Loads;
  G->Calls.clear();
  ::SetFocus(G->Handle());
  Pump();
  EXPECT_EQ(G->Loads, Loads);
  Session.PumpUntilIdle();
  EXPECT_TRUE(G->Calls.empty());
  ::SetFocus(Editor()->Handle());
  Pump();
  EXPECT_TRUE(EditorShown());
  EXPECT_EQ(G->Loads, Loads);
}

TEST_F(SkinGridEditorTest, MovingToAnEmptyRectangleHides) {
  Key(VK_F2);
  ASSERT_TRUE(EditorShown());
  Editor()->Move(TRect{0, 0, 0, 0});
  EXPECT_FALSE(EditorShown());
  Editor()->UpdateLoc(G->CellRect(1, 1));
  EXPECT_TRUE(EditorShown());
}

TEST_F(SkinGridEditorTest, AClickSoonAfterTheGridsPressIsADoubleClick) {
  G->Texts[{1, 1}] = "abc";
  Integer DoubleClicks = 0;
  G->OnDblClick = [&](TObject*) { ++DoubleClicks; };
  Key(VK_F2);
  ASSERT_TRUE(EditorShown());
  // Within the double-click time of the grid's press, and a second later.
  for (auto [Delay, Expected] : {std::pair{100, 1}, std::pair{2000, 1}}) {
    Editor()->FClickTime = GetMessageTime();
    Session.Advance(Delay);
    const TRect R = G->CellRect(1, 1);
    const TPoint P = G->ClientToScreen(Point(R.Left + 5, R.Top + 5));
    Session.Move(P.X, P.Y);
    Session.Press(P.X, P.Y);
    Session.Release(P.X, P.Y);
    Pump();
    EXPECT_EQ(DoubleClicks, Expected) << Delay;
    EXPECT_EQ(Editor()->FClickTime, 0);
  }
}

TEST_F(SkinGridEditorTest, TheContextMenuHoldsTheEditingCommands) {
  Key(VK_F2);
  ASSERT_TRUE(EditorShown());
  Clipboard()->SetAsText("clip");
  const TPoint P = Editor()->ClientToScreen(Point(5, 5));
  Editor()->Perform(WM_CONTEXTMENU, 0, MAKELPARAM(P.X, P.Y));
  Pump();
  TspSkinPopupMenu* M = Editor()->SysPopupMenu();
  ASSERT_NE(M, nullptr);
  const std::pair<const char*, bool> Expected[] = {{"Undo", false}, {"-", true},      {"Cut", false},
                                                   {"Copy", false}, {"Paste", true},  {"Delete", false},
                                                   {"-", true},     {"Select All", false}};
  ASSERT_EQ(M->Items()->Count(), 8);
  for (Integer I = 0; I < 8; ++I) {
    EXPECT_EQ(M->Items()->Items(I)->Caption(), Expected[I].first) << I;
    if (String(Expected[I].first) != "-") {
      EXPECT_EQ(M->Items()->Items(I)->Enabled(), Expected[I].second) << I;
    }
  }
  Key(VK_ESCAPE);
}

TEST_F(SkinGridEditorTest, TypingDoesNotReloadTheEditorButCellsFromCodeDoes) {
  auto* S = Create<TspSkinStringGrid>(Form.get());
  S->SetParent(Form.get());
  S->SetBounds(0, 210, 300, 100);
  S->SetOptions(S->Options() + TGridOptions{goEditing});
  S->SetFocus();
  Pump();
  Session.Type("ab");
  Pump();
  ASSERT_NE(S->InplaceEditor(), nullptr);
  EXPECT_EQ(S->InplaceEditor()->Text(), "ab");
  // Reloading on each stored character would select the text, and "b" would replace "a".
  EXPECT_EQ(S->InplaceEditor()->SelLength(), 0);
  EXPECT_EQ(S->Cells(1, 1), "ab");
  S->SetCells(1, 1, "from code");
  Pump();
  EXPECT_EQ(S->InplaceEditor()->Text(), "from code");
}

}  // namespace

TEST_F(SkinGridEditorTest, TheMenuKeyOpensTheEditingMenuAtTheEditorsCentre) {
  Create<TspFormSkin>(Form.get())->SetSkinData(Skin);  // the skinned menus open on a skinned form
  G->SetFocus();
  Pump();
  for (const auto& [Name, Vk, Mods] : {std::tuple{"menu key", WORD{VK_APPS}, UINT{0}},
                                       std::tuple{"Shift+F10", WORD{VK_F10}, UINT{MOD_SHIFT}}}) {
    SCOPED_TRACE(Name);
    G->Texts[{1, 1}] = "cell";
    G->SetCol(1);
    G->SetRow(1);
    Key(VK_F2);
    ASSERT_TRUE(EditorShown());
    ASSERT_TRUE(Editor()->Focused());
    Clipboard()->SetAsText("clip");
    Editor()->SelectAll();
    Key(Vk, Mods);
    TspSkinPopupMenu* M = Editor()->SysPopupMenu();
    ASSERT_NE(M, nullptr);
    const TPoint Origin = Editor()->ClientToScreen(Point(0, 0));
    EXPECT_EQ(M->PopupPointOfMenu(), Point(Origin.X + Editor()->Width() / 2, Origin.Y + Editor()->Height() / 2));
    // The whole text selected, nothing typed: everything but Undo and Select All.
    const bool Enabled[] = {false, true, true, true, true, true, true, false};
    for (Integer I = 0; I < 8; ++I) {
      if (M->Items()->Items(I)->Caption() != "-") {
        EXPECT_EQ(M->Items()->Items(I)->Enabled(), Enabled[I]) << I;
      }
    }
    Key(VK_ESCAPE);
    Key(VK_ESCAPE);
    G->SetFocus();
    Pump();
  }
}

TEST_F(SkinGridEditorTest, TheMenuTakesItsCaptionsFromTheGridsSkinTextTable) {
  Create<TspFormSkin>(Form.get())->SetSkinData(Skin);
  G->SetFocus();
  Pump();
  G->SetSkinData(Skin);
  auto* Strings = Create<TspResourceStrData>(Form.get());
  auto Lines = CreateOwned<TStringList>();
  for (const char* L : {"EDIT_UNDO=Zurück", "EDIT_CUT=Ausschneiden", "EDIT_COPY=Kopieren", "EDIT_PASTE=Einfügen",
                        "EDIT_DELETE=Löschen", "EDIT_SELECTALL=Alles markieren"})
    Lines->Add(L);
  Strings->SetResStrings(Lines.get());
  Skin->SetResourceStrData(Strings);
  Key(VK_F2);
  ASSERT_TRUE(EditorShown());
  const TPoint P = Editor()->ClientToScreen(Point(5, 5));
  Session.Move(P.X, P.Y);
  Session.Press(P.X, P.Y, vantrel::win::rbRight);
  Session.Release(P.X, P.Y, vantrel::win::rbRight);
  Pump();
  TspSkinPopupMenu* M = Editor()->SysPopupMenu();
  ASSERT_NE(M, nullptr);
  EXPECT_EQ(M->PopupPointOfMenu(), P);
  std::vector<std::string> Captions;
  for (Integer I = 0; I < M->Items()->Count(); ++I) Captions.push_back(M->Items()->Items(I)->Caption());
  EXPECT_EQ(Captions, (std::vector<std::string>{"Zurück", "-", "Ausschneiden", "Kopieren", "Einfügen", "Löschen", "-",
                                                "Alles markieren"}));
  Key(VK_ESCAPE);
  Skin->SetResourceStrData(nullptr);
}
