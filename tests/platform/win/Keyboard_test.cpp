#include <gtest/gtest.h>

#include "platform/display/HeadlessSession.h"
#include "platform/win/Input.h"
#include "tests/support/WinMessageLog.h"

using vantrel::display::HeadlessSession;
using vantrel::test::LoggedMessage;
using vantrel::test::MessageLog;

namespace {

const std::vector<UINT> kKeys = {WM_KEYDOWN, WM_KEYUP, WM_CHAR, WM_SYSKEYDOWN, WM_SYSKEYUP, WM_SYSCHAR};

// WM_SYSCOMMAND SC_KEYMENU messages to Wnd: their lParam values.
std::vector<LPARAM> KeyMenus(MessageLog& Log, HWND Wnd) {
  std::vector<LPARAM> Out;
  for (const LoggedMessage& M : Log.Messages())
    if (M.Wnd == Wnd && M.Msg == WM_SYSCOMMAND && (M.WParam & 0xFFF0) == SC_KEYMENU) Out.push_back(M.LParam);
  return Out;
}

struct Fixture {
  HeadlessSession S;
  MessageLog Log;
  HWND Top = Log.Create(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300, 200);
  HWND Edit = Log.Create(WS_CHILD | WS_VISIBLE, 10, 10, 100, 20, Top);
};

}  // namespace

TEST(Keyboard, KeysReachTheFocusWindowAndTranslateMessageMakesTheirCharacters) {
  Fixture F;
  SetFocus(F.Edit);
  F.Log.Clear();
  F.S.Key('A', MOD_SHIFT);
  F.S.Key('1');
  F.S.Type("\xC3\xA9!");
  F.S.PumpUntilIdle();
  EXPECT_EQ(F.Log.Sequence(F.Top, kKeys), std::vector<UINT>{});
  std::vector<std::pair<UINT, WPARAM>> Got;
  for (const LoggedMessage& M : F.Log.Messages())
    if (M.Wnd == F.Edit && std::find(kKeys.begin(), kKeys.end(), M.Msg) != kKeys.end())
      Got.emplace_back(M.Msg, M.WParam);
  const std::vector<std::pair<UINT, WPARAM>> Expected = {
      {WM_KEYDOWN, 'A'}, {WM_CHAR, 'A'}, {WM_KEYUP, 'A'}, {WM_KEYDOWN, '1'},
      {WM_CHAR, '1'},    {WM_KEYUP, '1'}, {WM_CHAR, 0xE9}, {WM_CHAR, '!'}};
  EXPECT_EQ(Got, Expected);
  // Key-up messages carry the transition and previous-state bits.
  for (const LoggedMessage& M : F.Log.Messages())
    if (M.Msg == WM_KEYUP) {
      EXPECT_EQ(HIWORD(M.LParam) & (KF_UP | KF_REPEAT), KF_UP | KF_REPEAT);
    }
}

TEST(Keyboard, AltChordsAreSystemKeysAndAltLettersAskForTheMenu) {
  Fixture F;
  SetFocus(F.Edit);
  F.Log.Clear();
  F.S.Key('F', MOD_ALT);
  F.S.PumpUntilIdle();
  EXPECT_EQ(F.Log.Sequence(F.Edit, kKeys), (std::vector<UINT>{WM_SYSKEYDOWN, WM_SYSCHAR, WM_SYSKEYUP}));
  for (const LoggedMessage& M : F.Log.Messages())
    if (M.Msg == WM_SYSKEYDOWN) {
      EXPECT_TRUE(HIWORD(M.LParam) & KF_ALTDOWN);
    }
  // Alt+letter goes to the top-level window as SC_KEYMENU with the letter; no plain
  // SC_KEYMENU, since another key came between Alt's press and release.
  EXPECT_EQ(KeyMenus(F.Log, F.Top), std::vector<LPARAM>{'f'});
}

TEST(Keyboard, AltOrF10AloneOpensTheMenuOfTheTopLevelWindow) {
  struct Case {
    const char* Name;
    std::function<void(HeadlessSession&)> Input;
    std::vector<LPARAM> Expected;
  } Cases[] = {
      {"Alt alone", [](HeadlessSession& S) { S.Key(VK_MENU); }, {0}},
      {"F10 alone", [](HeadlessSession& S) { S.Key(VK_F10); }, {0}},
      {"Alt with a key between",
       [](HeadlessSession& S) {
         S.KeyDown(VK_MENU);
         S.Key(VK_LEFT, MOD_ALT);
         S.KeyUp(VK_MENU);
       },
       {}},
      {"Alt with a click between",
       [](HeadlessSession& S) {
         S.KeyDown(VK_MENU);
         S.Press(150, 150, vantrel::win::rbLeft, MOD_ALT);
         S.Release(150, 150, vantrel::win::rbLeft, MOD_ALT);
         S.KeyUp(VK_MENU);
       },
       {}},
      {"Ctrl+F10", [](HeadlessSession& S) { S.Key(VK_F10, MOD_CONTROL); }, {}},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    Fixture F;
    SetFocus(F.Edit);
    F.Log.Clear();
    C.Input(F.S);
    F.S.PumpUntilIdle();
    EXPECT_EQ(KeyMenus(F.Log, F.Top), C.Expected);
    EXPECT_TRUE(KeyMenus(F.Log, F.Edit).empty());
  }
}

TEST(Keyboard, WithoutAFocusWindowTheActiveWindowGetsSystemKeys) {
  Fixture F;
  SetFocus(nullptr);
  F.Log.Clear();
  F.S.Key('Q');
  F.S.PumpUntilIdle();
  EXPECT_EQ(F.Log.Sequence(F.Top, kKeys), (std::vector<UINT>{WM_SYSKEYDOWN, WM_SYSCHAR, WM_SYSKEYUP}));
  EXPECT_TRUE(F.Log.Sequence(F.Edit, kKeys).empty());
}

TEST(Keyboard, AltF4ClosesTheTopLevelWindow) {
  Fixture F;
  SetFocus(F.Edit);
  F.S.Key(VK_F4, MOD_ALT);
  F.S.PumpUntilIdle();
  EXPECT_EQ(F.Log.Count(F.Top, WM_CLOSE), 1u);
  EXPECT_FALSE(IsWindow(F.Top));
}

TEST(Keyboard, TheCaretBlinksOnTheClockWhileShown) {
  Fixture F;
  vantrel::win::CaretState& C = F.S.Manager().Input().Caret();
  ASSERT_TRUE(CreateCaret(F.Edit, nullptr, 1, 16));
  EXPECT_FALSE(C.On);  // created hidden
  ASSERT_TRUE(SetCaretPos(5, 2));
  ASSERT_TRUE(ShowCaret(F.Edit));
  EXPECT_TRUE(C.On);
  F.S.Advance(GetCaretBlinkTime());
  EXPECT_FALSE(C.On);
  F.S.Advance(GetCaretBlinkTime());
  EXPECT_TRUE(C.On);
  // Hides nest; a hidden caret stays off however long time runs.
  HideCaret(nullptr);
  HideCaret(nullptr);
  ShowCaret(nullptr);
  F.S.Advance(5 * GetCaretBlinkTime());
  EXPECT_FALSE(C.On);
  ShowCaret(nullptr);
  EXPECT_TRUE(C.On);
  POINT P;
  ASSERT_TRUE(GetCaretPos(&P));
  EXPECT_EQ(P, Point(5, 2));
  EXPECT_FALSE(ShowCaret(F.Top));  // not the owner
  // The owner's end takes the caret with it.
  DestroyWindow(F.Edit);
  EXPECT_EQ(C.Owner, nullptr);
  EXPECT_FALSE(GetCaretPos(&P));
}

TEST(Keyboard, MessageBeepIsRecordedByTheDisplay) {
  HeadlessSession S;
  MessageBeep(0);
  MessageBeep(0x30);
  EXPECT_EQ(S.Display().Beeps, (std::vector<UINT>{0, 0x30}));
}
