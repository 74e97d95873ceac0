// Keys of an X keyboard as the window manager's virtual keys and characters. No Xlib
// here: keysyms and key codes are plain numbers, so the tables are tested headless.
#pragma once

#include <string>

#include "platform/win/WinTypes.h"

namespace vantrel::display {

struct X11KeyMeaning {
  WORD Vk = 0;    // the virtual key of the message; 0: the key means nothing to us
  WORD Side = 0;  // VK_LSHIFT, VK_RCONTROL, ... for a modifier, else 0
};

// Keysym: the key's keysym without Shift (letters and digits go by it, so every layout's
// letters are VK_A..VK_Z); KeyCode: the server's key code, which places the punctuation
// keys where they sit on a US keyboard (VK_OEM_*).
X11KeyMeaning KeyMeaningOf(unsigned long Keysym, unsigned KeyCode);

// The WM_CHAR a key press gives (0: none), from the text the input method made of it
// (UTF-8) and whether Ctrl was held: Backspace 8, Tab 9, Enter 13, Escape 27 and
// Ctrl+letter 1 to 26 as on Windows; other control characters give none.
char32_t KeyCharOf(WORD Vk, const std::string& Text, bool Ctrl);

}  // namespace vantrel::display
