// The keysym and key-code tables of the X keyboard.
#include "platform/display/X11Keys.h"

#include "platform/rtl/Utf8.h"
#include "platform/win/Keyboard.h"

namespace vantrel::display {

namespace {

struct KeysymVk {
  unsigned long Keysym;
  int Vk;
  int Side;
};

// Keysyms of keys that are not characters (X11/keysymdef.h values).
constexpr KeysymVk X11KeysymTable[] = {
    {0xff08, VK_BACK, 0},       {0xff09, VK_TAB, 0},         {0xfe20, VK_TAB, 0},  // ISO_Left_Tab
    {0xff0d, VK_RETURN, 0},     {0xff13, VK_PAUSE, 0},       {0xff14, VK_SCROLL, 0},
    {0xff1b, VK_ESCAPE, 0},     {0xffff, VK_DELETE, 0},      {0xff50, VK_HOME, 0},
    {0xff51, VK_LEFT, 0},       {0xff52, VK_UP, 0},          {0xff53, VK_RIGHT, 0},
    {0xff54, VK_DOWN, 0},       {0xff55, VK_PRIOR, 0},       {0xff56, VK_NEXT, 0},
    {0xff57, VK_END, 0},        {0xff63, VK_INSERT, 0},      {0xff67, VK_APPS, 0},
    {0xff61, VK_SNAPSHOT, 0},
    {0xff7f, VK_NUMLOCK, 0},    {0xffe5, VK_CAPITAL, 0},     {0x0020, VK_SPACE, 0},
    // Keypad: digits with NumLock, navigation without.
    {0xff8d, VK_RETURN, 0},     {0xff95, VK_HOME, 0},        {0xff96, VK_LEFT, 0},
    {0xff97, VK_UP, 0},         {0xff98, VK_RIGHT, 0},       {0xff99, VK_DOWN, 0},
    {0xff9a, VK_PRIOR, 0},      {0xff9b, VK_NEXT, 0},        {0xff9c, VK_END, 0},
    {0xff9d, VK_CLEAR, 0},      {0xff9e, VK_INSERT, 0},      {0xff9f, VK_DELETE, 0},
    {0xffaa, VK_MULTIPLY, 0},   {0xffab, VK_ADD, 0},         {0xffac, VK_SEPARATOR, 0},
    {0xffad, VK_SUBTRACT, 0},   {0xffae, VK_DECIMAL, 0},     {0xffaf, VK_DIVIDE, 0},
    // Modifiers, with their sides.
    {0xffe1, VK_SHIFT, VK_LSHIFT},     {0xffe2, VK_SHIFT, VK_RSHIFT},
    {0xffe3, VK_CONTROL, VK_LCONTROL}, {0xffe4, VK_CONTROL, VK_RCONTROL},
    {0xffe9, VK_MENU, VK_LMENU},       {0xffea, VK_MENU, VK_RMENU},
    {0xffe7, VK_MENU, VK_LMENU},       {0xffe8, VK_MENU, VK_RMENU},  // Meta
    {0xffeb, VK_LWIN, 0},              {0xffec, VK_RWIN, 0},
};

// The third-level shift (AltGr) and the older group switch that layouts use the same way.
constexpr unsigned long X11AltGrKeysyms[] = {0xfe03, 0xff7e};

// The punctuation keys by the character they give unshifted.
constexpr struct {
  char Char;
  int Vk;
} X11PunctuationChars[] = {
    {';', VK_OEM_1},     {'=', VK_OEM_PLUS}, {'+', VK_OEM_PLUS},  {',', VK_OEM_COMMA}, {'-', VK_OEM_MINUS},
    {'.', VK_OEM_PERIOD}, {'/', VK_OEM_2},   {'`', VK_OEM_3},     {'[', VK_OEM_4},     {'\\', VK_OEM_5},
    {']', VK_OEM_6},     {'\'', VK_OEM_7},
};

// Key codes (evdev numbering, as X servers use) of a US keyboard's letters, digits and
// punctuation.
constexpr struct {
  unsigned KeyCode;
  int Vk;
} X11UsKeys[] = {
    {24, 'Q'}, {25, 'W'}, {26, 'E'}, {27, 'R'}, {28, 'T'}, {29, 'Y'}, {30, 'U'}, {31, 'I'}, {32, 'O'}, {33, 'P'},
    {38, 'A'}, {39, 'S'}, {40, 'D'}, {41, 'F'}, {42, 'G'}, {43, 'H'}, {44, 'J'}, {45, 'K'}, {46, 'L'},
    {52, 'Z'}, {53, 'X'}, {54, 'C'}, {55, 'V'}, {56, 'B'}, {57, 'N'}, {58, 'M'},
    {10, '1'}, {11, '2'}, {12, '3'}, {13, '4'}, {14, '5'}, {15, '6'}, {16, '7'}, {17, '8'}, {18, '9'}, {19, '0'},
    {47, VK_OEM_1},      {21, VK_OEM_PLUS}, {59, VK_OEM_COMMA}, {20, VK_OEM_MINUS}, {60, VK_OEM_PERIOD},
    {61, VK_OEM_2},      {49, VK_OEM_3},    {34, VK_OEM_4},     {51, VK_OEM_5},     {35, VK_OEM_6},
    {48, VK_OEM_7},      {94, VK_OEM_102},
};

WORD LatinVk(unsigned long Keysym) {
  if (Keysym >= 'a' && Keysym <= 'z') return static_cast<WORD>(Keysym - 'a' + 'A');
  if ((Keysym >= 'A' && Keysym <= 'Z') || (Keysym >= '0' && Keysym <= '9')) return static_cast<WORD>(Keysym);
  return 0;
}

}  // namespace

X11KeyMeaning KeyMeaningOf(unsigned long Level1, unsigned long Level2, unsigned KeyCode) {
  if (Level1 >= 0xffbe && Level1 <= 0xffd5) return {static_cast<WORD>(VK_F1 + (Level1 - 0xffbe)), 0};  // F1..F24
  if (Level1 >= 0xffb0 && Level1 <= 0xffb9) return {static_cast<WORD>(VK_NUMPAD0 + (Level1 - 0xffb0)), 0};
  for (const KeysymVk& K : X11KeysymTable)
    if (K.Keysym == Level1) return {static_cast<WORD>(K.Vk), static_cast<WORD>(K.Side)};
  for (unsigned long A : X11AltGrKeysyms)
    if (A == Level1) return {static_cast<WORD>(VK_MENU), static_cast<WORD>(VK_RMENU), true};
  if (const WORD Vk = LatinVk(Level1)) return {Vk, 0};
  if (const WORD Vk = LatinVk(Level2)) return {Vk, 0};
  for (const auto& P : X11PunctuationChars)
    if (Level1 == static_cast<unsigned char>(P.Char)) return {static_cast<WORD>(P.Vk), 0};
  for (const auto& U : X11UsKeys)
    if (U.KeyCode == KeyCode) return {static_cast<WORD>(U.Vk), 0};
  return {};
}

char32_t KeyCharOf(WORD Vk, const std::string& Text, bool Ctrl) {
  switch (Vk) {
    case VK_BACK: return Ctrl ? 0x7F : 0x08;
    case VK_TAB: return Ctrl ? 0 : 0x09;
    case VK_RETURN: return Ctrl ? 0x0A : 0x0D;
    case VK_ESCAPE: return 0x1B;
    default: break;
  }
  if (Ctrl) {
    if (Vk >= 'A' && Vk <= 'Z') return static_cast<char32_t>(Vk - 'A' + 1);
    if (Vk == VK_OEM_4) return 0x1B;
    if (Vk == VK_OEM_5) return 0x1C;
    if (Vk == VK_OEM_6) return 0x1D;
  }
  const std::u32string Points = Utf8ToCodePoints(Text);
  if (Points.empty()) return 0;
  const char32_t C = Points.front();
  if (C < 0x20 || C == 0x7F) return 0;  // Delete and other control keys type nothing
  return C;
}

}  // namespace vantrel::display
