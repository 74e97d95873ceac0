// The edit base and the numeric edit: the own read-only mode, Enter and Esc routed to the
// form, one line only, the edit menu's items and captions, the numeric key filter and the
// up and down notifications.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/ui/Clipbrd.h"
#include "platform/win/Edit.h"
#include "platform/win/Keyboard.h"
#include "platform/win/MessageQueue.h"
#include "skin/controls/SkinBoxCtrls.h"
#include "skin/forms/FormSkin.h"
#include "tests/support/SkinFormFixture.h"
#include "tests/support/UiLayoutKeys.h"

using vantrel::uitest::PumpKeys;
using vantrel::uitest::SkinFormFixture;

namespace {

class SkinEditBaseTest : public SkinFormFixture {
 protected:
  std::vector<std::string> Log;

  template <class T = TspSkinEdit>
  T* AddEditor(int Top = 20) {
    auto* E = Create<T>(Form.get());
    E->SetParent(Form.get());
    E->SetBounds(20, Top, 160, 20);
    return E;
  }
  void Keys(const std::function<void()>& F) {
    F();
    PumpKeys(Session);
  }
  size_t Beeps() { return Session.Display().Beeps.size(); }
  // Enabled flags of the menu's eight items.
  std::vector<bool> MenuEnabled(TspSkinPopupMenu* M) {
    std::vector<bool> R;
    for (Integer I = 0; I < M->Items()->Count(); ++I) R.push_back(M->Items()->Items(I)->Enabled());
    return R;
  }
};

TEST_F(SkinEditBaseTest, ReadOnlyRefusesChangesWhileEnterAndEscReachTheForm) {
  auto* E = AddEditor();
  auto* Ok = Create<TspSkinButton>(Form.get());
  Ok->SetParent(Form.get());
  Ok->SetBounds(20, 60, 80, 25);
  Ok->SetDefault(true);
  Ok->OnClick = [this](TObject*) { Log.push_back("default"); };
  E->OnKeyPress = [this](TObject*, char32_t& K) {
    Log.push_back("key " + std::to_string(static_cast<int>(K)));
    K = 0;  // ignored for Enter and Esc
  };
  ShowForm();
  E->SetText("clip.mkv");
  E->SetReadOnly(true);
  E->SetFocus();
  E->SetSelStart(0);
  E->SetSelLength(4);
  Clipboard()->SetAsText("other");
  Keys([&] { Session.Type("x"); });
  Keys([&] { Session.Key(VK_DELETE); });
  for (UINT Msg : {WM_CUT, WM_PASTE, WM_CLEAR, WM_UNDO}) SendMessage(E->Handle(), Msg, 0, 0);
  EXPECT_EQ(E->Text(), "clip.mkv");
  Log.clear();
  Keys([&] { Session.Key(VK_RETURN); });
  EXPECT_EQ(Log, (std::vector<std::string>{"key 13", "default"}));
  Log.clear();
  Keys([&] { Session.Key(VK_ESCAPE); });
  EXPECT_EQ(Log, (std::vector<std::string>{"key 27"}));
  // Writable again, the same keys change the text.
  E->SetReadOnly(false);
  E->OnKeyPress = nullptr;
  E->SetFocus();
  E->SetSelStart(0);
  E->SetSelLength(4);
  Keys([&] { Session.Type("x"); });
  EXPECT_EQ(E->Text(), "x.mkv");
}

TEST_F(SkinEditBaseTest, OneLineStaysOneLine) {
  auto* E = AddEditor();
  ShowForm();
  E->SetFocus();
  E->SetText("ab");
  E->SetSelStart(1);
  SendMessage(E->Handle(), WM_CHAR, 10, 0);  // Ctrl+Enter
  EXPECT_EQ(E->Text(), "ab");
  Clipboard()->SetAsText("x\ny");
  SendMessage(E->Handle(), WM_PASTE, 0, 0);
  EXPECT_EQ(E->Text(), "axb");
  Clipboard()->SetAsText("\r\nz");
  SendMessage(E->Handle(), WM_PASTE, 0, 0);
  EXPECT_EQ(E->Text(), "axb");
  EXPECT_EQ(SendMessage(E->Handle(), EM_GETLINECOUNT, 0, 0), 1);
  // Text given by the program stays as it is.
  E->SetText("p\nq");
  EXPECT_EQ(SendMessage(E->Handle(), EM_GETLINECOUNT, 0, 0), 2);
}

// Whatever font the edit gets, its text starts two pixels in from the left edge.
TEST_F(SkinEditBaseTest, TheTextStartsTwoPixelsInWhateverTheFont) {
  auto* E = AddEditor<TspCustomEdit>();
  ShowForm();
  E->SetText("ab");
  for (int Height : {11, 20}) {
    SCOPED_TRACE(Height);
    E->Font()->SetHeight(Height);
    Session.PumpUntilIdle();
    EXPECT_EQ(SendMessage(E->Handle(), EM_GETMARGINS, 0, 0), MAKELRESULT(2, 0));
    EXPECT_EQ(LOWORD(SendMessage(E->Handle(), EM_POSFROMCHAR, 0, 0)), 2);
  }
}

TEST_F(SkinEditBaseTest, TheMenuEnablesItsItemsByState) {
  auto* E = AddEditor();
  ShowForm();
  struct Case {
    const char* Name;
    bool ReadOnly;
    const char* Text;
    int SelStart, SelLength;
    const char* Clip;
    // Undo, -, Cut, Copy, Paste, Delete, -, Select All
    std::vector<bool> Enabled;
  } Cases[] = {
      {"selection", false, "clip.mkv", 1, 3, "x", {false, true, true, true, true, true, true, true}},
      {"read-only", true, "clip.mkv", 1, 3, "x", {false, true, false, true, false, false, true, true}},
      {"no selection, empty clipboard", false, "clip.mkv", 2, 0, "", {false, true, false, false, false, false, true, true}},
      {"all selected", false, "clip.mkv", 0, 8, "", {false, true, true, true, false, true, true, false}},
      {"empty text", false, "", 0, 0, "x", {false, true, false, false, true, false, true, false}},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    E->SetReadOnly(C.ReadOnly);
    E->SetText(C.Text);
    E->ClearUndo();
    E->SetSelStart(C.SelStart);
    E->SetSelLength(C.SelLength);
    Clipboard()->SetAsText(C.Clip);
    E->CreateSysPopupMenu();
    ASSERT_NE(E->SysPopupMenu(), nullptr);
    EXPECT_EQ(MenuEnabled(E->SysPopupMenu()), C.Enabled);
  }
  // Undo follows the edit's undo state.
  E->SetReadOnly(false);
  E->OnKeyPress = nullptr;
  E->SetFocus();
  Keys([&] { Session.Type("z"); });
  E->CreateSysPopupMenu();
  EXPECT_TRUE(E->SysPopupMenu()->Items()->Items(0)->Enabled());
  // The items run the edit's commands.
  E->SetText("clip.mkv");
  E->SetSelStart(0);
  E->SetSelLength(4);
  E->CreateSysPopupMenu();
  E->SysPopupMenu()->Items()->Items(5)->Click();  // Delete
  EXPECT_EQ(E->Text(), ".mkv");
  E->SysPopupMenu()->Items()->Items(7)->Click();  // Select All
  EXPECT_EQ(E->SelLength(), 4);
}

TEST_F(SkinEditBaseTest, CaptionsComeFromTheSkinsStringsOrAreBuiltIn) {
  auto* E = AddEditor();
  ShowForm();
  E->CreateSysPopupMenu();
  std::vector<std::string> Captions;
  for (Integer I = 0; I < 8; ++I) Captions.push_back(E->SysPopupMenu()->Items()->Items(I)->Caption());
  EXPECT_EQ(Captions, (std::vector<std::string>{"Undo", "-", "Cut", "Copy", "Paste", "Delete", "-", "Select All"}));
  auto* FS = Create<TspFormSkin>(Form.get());
  FS->SetSkinData(Skin);
  auto* Strings = Create<TspResourceStrData>(Form.get());
  auto Lines = CreateOwned<TStringList>();
  Lines->Add("EDIT_UNDO=Zurück");
  Lines->Add("EDIT_COPY=Kopieren");
  Strings->SetResStrings(Lines.get());
  Skin->SetResourceStrData(Strings);
  E->CreateSysPopupMenu();
  TMenuItem* Items = E->SysPopupMenu()->Items();
  EXPECT_EQ(Items->Items(0)->Caption(), "Zurück");
  EXPECT_EQ(Items->Items(3)->Caption(), "Kopieren");
  EXPECT_EQ(Items->Items(2)->Caption(), "");  // no entry: no caption of its own
  EXPECT_EQ(Items->Items(1)->Caption(), "-");
}

TEST_F(SkinEditBaseTest, TheContextMenuKeyOpensAtTheCentreAndAnAssignedMenuWins) {
  auto* E = AddEditor();
  Create<TspFormSkin>(Form.get())->SetSkinData(Skin);
  ShowForm();
  SendMessage(E->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(E->Handle()), MAKELPARAM(0xFFFF, 0xFFFF));
  Session.PumpUntilIdle();
  ASSERT_NE(E->SysPopupMenu(), nullptr);
  const TPoint Origin = E->ClientToScreen(Point(0, 0));
  EXPECT_EQ(E->SysPopupMenu()->PopupPointOfMenu(), Point(Origin.X + E->Width() / 2, Origin.Y + E->Height() / 2));
  EXPECT_EQ(E->SysPopupMenu()->Items()->Count(), 8);
  // A right click opens it at the pointer.
  SendMessage(E->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(E->Handle()), MAKELPARAM(100, 60));
  Session.PumpUntilIdle();
  EXPECT_EQ(E->SysPopupMenu()->PopupPointOfMenu(), Point(100, 60));
  // So does a click of the right button.
  const TPoint Click = E->ClientToScreen(Point(30, 8));
  Session.Move(Click.X, Click.Y);
  Session.Press(Click.X, Click.Y, vantrel::win::rbRight);
  Session.Release(Click.X, Click.Y, vantrel::win::rbRight);
  Session.PumpUntilIdle();
  EXPECT_EQ(E->SysPopupMenu()->PopupPointOfMenu(), Click);
  // The command notice frees it.
  SendMessage(E->Handle(), WM_SKINMENU_COMMAND, 0, 0);
  EXPECT_EQ(E->SysPopupMenu(), nullptr);
  auto* Own = Create<TPopupMenu>(Form.get());
  E->SetPopupMenu(Own);
  SendMessage(E->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(E->Handle()), MAKELPARAM(100, 60));
  Session.PumpUntilIdle();
  EXPECT_EQ(E->SysPopupMenu(), nullptr);
}

TEST_F(SkinEditBaseTest, TheContextMenuOpensSkinnedThroughTheFormsFrame) {
  auto* E = AddEditor();
  auto* FS = Create<TspFormSkin>(Form.get());
  FS->SetSkinData(Skin);
  ShowForm();
  const TPoint Click = E->ClientToScreen(Point(30, 8));
  Session.Move(Click.X, Click.Y);
  Session.Press(Click.X, Click.Y, vantrel::win::rbRight);
  Session.Release(Click.X, Click.Y, vantrel::win::rbRight);
  Session.PumpUntilIdle();
  ASSERT_NE(E->SysPopupMenu(), nullptr);
  EXPECT_EQ(E->SysPopupMenu()->ComponentForm(), Form.get());
  // The frame's skin menu shows the edit's eight items in a skinned window at the pointer.
  ASSERT_TRUE(FS->SkinMenuVisible());
  ASSERT_EQ(FS->SkinMenu->LevelCount(), 1);
  TspSkinPopupWindow* Level = FS->SkinMenu->Level(0);
  EXPECT_EQ(Level->ItemList.size(), 8u);
  EXPECT_EQ(Level->ItemList[0]->MenuItem, E->SysPopupMenu()->Items()->Items(0));
  EXPECT_EQ(Level->Left(), Click.X);
  EXPECT_EQ(Level->Top(), Click.Y);
  FS->HideSkinMenu();
}

// --- the numeric edit ----------------------------------------------------------------------

TEST_F(SkinEditBaseTest, TheNumericFilterTakesDigitsASignAndOneSeparator) {
  auto* N = AddEditor<TspSkinNumEdit>();
  ShowForm();
  struct Case {
    bool Float, EditorEnabled;
    const char* Text;
    char32_t Key;
    bool Valid;
  } Cases[] = {
      {false, true, "12", U'7', true},   {false, true, "-12", U'-', false}, {false, true, "12", U'-', true},
      {true, true, "1.5", U'.', false},  {true, true, "15", U'.', true},    {false, true, "15", U'.', false},
      {false, true, "1", U'+', false},   {false, true, "1", U'a', false},   {false, true, "1", 8, true},
      {false, true, "1", 13, false},     {false, false, "1", U'7', false},  {false, false, "1", 8, false},
      {false, false, "1", 3, true},      {true, true, "1", U'\u00e9', false},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(std::string(C.Text) + " + " + std::to_string(static_cast<int>(C.Key)));
    N->Float = C.Float;
    N->SetEditorEnabled(C.EditorEnabled);
    N->SetText(C.Text);
    EXPECT_EQ(N->IsValidChar(C.Key), C.Valid);
  }
  // Typed: a refused character beeps and changes nothing, an accepted one goes in.
  N->Float = false;
  N->SetEditorEnabled(true);
  N->SetText("12");
  N->SetFocus();
  N->SetSelStart(2);
  const size_t Before = Beeps();
  Keys([&] { Session.Type("+a"); });
  EXPECT_EQ(N->Text(), "12");
  EXPECT_EQ(Beeps(), Before + 2);
  Keys([&] { Session.Type("3"); });
  EXPECT_EQ(N->Text(), "123");
  EXPECT_EQ(Beeps(), Before + 2);
}

TEST_F(SkinEditBaseTest, ArrowsAndTheWheelBecomeUpAndDown) {
  auto* N = AddEditor<TspSkinNumEdit>();
  N->OnUpClick = [this](TObject*) { Log.push_back("up"); };
  N->OnDownClick = [this](TObject*) { Log.push_back("down"); };
  N->OnKeyDown = [this](TObject*, Word& K, TShiftState) { Log.push_back("keydown " + std::to_string(K)); };
  ShowForm();
  N->SetFocus();
  Keys([&] { Session.Key(VK_UP); });
  Keys([&] { Session.Key(VK_DOWN); });
  const TPoint P = N->ClientToScreen(Point(5, 5));
  Session.Move(P.X, P.Y);
  Session.Wheel(P.X, P.Y, 120);  // away from the user
  Session.PumpUntilIdle();
  Session.Wheel(P.X, P.Y, -120);
  Session.PumpUntilIdle();
  EXPECT_EQ(Log, (std::vector<std::string>{"up", "down", "down", "up"}));
}

}  // namespace
