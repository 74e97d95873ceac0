// The X keyboard's keysym and key-code table and the characters keys give, without any
// X server: keysyms and key codes are numbers.
#include <gtest/gtest.h>

#include "platform/display/X11Keys.h"
#include "platform/win/Keyboard.h"

using vantrel::display::KeyCharOf;
using vantrel::display::KeyMeaningOf;

TEST(X11Keys, KeysymsAndKeyPositionsGiveTheVirtualKeys) {
  struct Case {
    unsigned long Level1, Level2;  // without and with Shift
    unsigned KeyCode;
    int Vk;
    int Side;
  };
  const Case Cases[] = {
      {'a', 'A', 38, 'A', 0},                  // a letter, by its keysym
      {'z', 'Z', 29, 'Z', 0},                  // wherever the layout puts it (German Z)
      {'a', 'A', 24, 'A', 0},                  // French A on the US Q key
      {'7', '/', 16, '7', 0},
      {0xe9, '2', 11, '2', 0},                 // French e-acute over 2: the digit
      {0xe0, '0', 19, '0', 0},                 // French a-grave over 0
      {'&', '1', 10, '1', 0},
      {0x6c6, 0x6e6, 38, 'A', 0},              // Cyrillic ef: the US key at its place
      {0x6ca, 0x6ea, 24, 'Q', 0},              // Cyrillic short i
      {0x6c2, 0x6e2, 58, 'M', 0},              // Cyrillic be on the US M key
      {',', '?', 58, VK_OEM_COMMA, 0},         // French comma on the US M key
      {0xe9, 0, 200, 0, 0},                    // a key remapped on the fly: no virtual key
      {0xffbe, 0, 67, VK_F1, 0},               // F1
      {0xffd5, 0, 0, 0x87, 0},                 // F24
      {0xff51, 0, 113, VK_LEFT, 0},
      {0xff55, 0, 112, VK_PRIOR, 0},
      {0xffb5, 0, 84, VK_NUMPAD0 + 5, 0},      // keypad 5 with NumLock
      {0xff9d, 0, 84, VK_CLEAR, 0},            // and without
      {0xff95, 0, 79, VK_HOME, 0},             // keypad 7 without NumLock
      {0xff8d, 0, 104, VK_RETURN, 0},          // keypad Enter
      {0xffe1, 0, 50, VK_SHIFT, VK_LSHIFT},
      {0xffe2, 0, 62, VK_SHIFT, VK_RSHIFT},
      {0xffe3, 0, 37, VK_CONTROL, VK_LCONTROL},
      {0xffe4, 0, 105, VK_CONTROL, VK_RCONTROL},
      {0xffe9, 0, 64, VK_MENU, VK_LMENU},
      {0xffea, 0, 108, VK_MENU, VK_RMENU},     // right Alt
      {0xffeb, 0, 133, VK_LWIN, 0},            // Super
      {0xff67, 0, 135, VK_APPS, 0},            // Menu
      {0xff1b, 0, 9, VK_ESCAPE, 0},
      {0xffff, 0, 119, VK_DELETE, 0},
      {' ', ' ', 65, VK_SPACE, 0},
      {';', ':', 47, VK_OEM_1, 0},
      {0xf6, 0xd6, 47, VK_OEM_1, 0},           // o-umlaut on the US semicolon key
      {'-', '_', 20, VK_OEM_MINUS, 0},
      {0xdf, '?', 20, VK_OEM_MINUS, 0},        // sharp s on the US minus key
      {'+', '*', 35, VK_OEM_PLUS, 0},          // German plus
      {0xfe52, 0xb0, 49, VK_OEM_3, 0},         // German dead circumflex
      {'/', '?', 61, VK_OEM_2, 0},
      {'`', '~', 49, VK_OEM_3, 0},
      {'\'', '"', 48, VK_OEM_7, 0},
      {'<', '>', 94, VK_OEM_102, 0},
      {0x1234567, 0, 250, 0, 0},               // nothing we know
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(testing::Message() << std::hex << "keysym 0x" << C.Level1 << std::dec << " code " << C.KeyCode);
    const auto M = KeyMeaningOf(C.Level1, C.Level2, C.KeyCode);
    EXPECT_EQ(M.Vk, C.Vk);
    EXPECT_EQ(M.Side, C.Side);
    EXPECT_FALSE(M.AltGr);
  }
}

TEST(X11Keys, AltGrIsTheRightAltThatCountsAsCtrlAndAlt) {
  for (unsigned long Keysym : {0xfe03ul /* ISO_Level3_Shift */, 0xff7eul /* Mode_switch */}) {
    const auto M = KeyMeaningOf(Keysym, 0, 108);
    EXPECT_EQ(M.Vk, VK_MENU);
    EXPECT_EQ(M.Side, VK_RMENU);
    EXPECT_TRUE(M.AltGr);
  }
}

TEST(X11Keys, ControlCharactersAreTheOnesWindowsGives) {
  struct Case {
    int Vk;
    const char* Text;
    bool Ctrl;
    char32_t Char;
  };
  const Case Cases[] = {
      {VK_BACK, "\b", false, 8},    {VK_TAB, "\t", false, 9},     {VK_RETURN, "\r", false, 13},
      {VK_ESCAPE, "\x1b", false, 27}, {'C', "\x03", true, 3},     {'V', "v", true, 22},
      {'X', "\x18", true, 24},      {'Z', "", true, 26},          {'A', "", true, 1},
      {'M', "\r", true, 13},        {'A', "a", false, 'a'},       {'B', "B", false, 'B'},
      {'E', "\xc3\xa9", false, 0xE9},  // a layout's letter
      {VK_DELETE, "\x7f", false, 0},   // Delete types nothing
      {VK_F1, "", false, 0},        {VK_SHIFT, "", false, 0},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(testing::Message() << "vk " << C.Vk << " ctrl " << C.Ctrl);
    EXPECT_EQ(KeyCharOf(static_cast<WORD>(C.Vk), C.Text, C.Ctrl), C.Char);
  }
}
