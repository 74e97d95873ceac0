// Keys of an X keyboard as the window manager's virtual keys and characters. No Xlib
// here: keysyms and key codes are plain numbers, so the tables are tested headless.
#pragma once

#include <string>

#include "platform/win/WinTypes.h"

namespace vantrel::display {

struct X11KeyMeaning {
  WORD Vk = 0;    // the virtual key of the message; 0: the key has none (it may still type)
  WORD Side = 0;  // VK_LSHIFT, VK_RCONTROL, ... for a modifier, else 0
  bool AltGr = false;  // the layout's third-level shift: it counts as Ctrl+Alt
};

// Level1, Level2: the keysyms the key gives without and with Shift in the layout in force;
// KeyCode: the server's key code. A key's virtual key is the Latin letter or digit its
// layout gives at either level (AZERTY "e-acute/2" is VK_2), else the punctuation key of
// its unshifted character, else the key at its place on a US keyboard (the Cyrillic
// "ef" is VK_A). Keys no US keyboard has (one remapped on the fly) have none.
X11KeyMeaning KeyMeaningOf(unsigned long Level1, unsigned long Level2, unsigned KeyCode);

// The WM_CHAR a key press gives (0: none), from the text the input method made of it
// (UTF-8) and whether Ctrl was held: Backspace 8, Tab 9, Enter 13, Escape 27 and
// Ctrl+letter 1 to 26 as on Windows; other control characters give none.
char32_t KeyCharOf(WORD Vk, const std::string& Text, bool Ctrl);

}  // namespace vantrel::display
