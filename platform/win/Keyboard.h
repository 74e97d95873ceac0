// The keyboard side of input: virtual-key codes, the key-message bits, dialog codes, the
// key-state calls, the caret and the beep. Keys reach the focus window (the active window
// with WM_SYS* messages when nothing has the focus); Alt chords come as WM_SYS* messages.
#pragma once

#include "platform/win/Messages.h"

// --- Virtual keys -----------------------------------------------------------------------
constexpr int VK_LBUTTON = 0x01;
constexpr int VK_RBUTTON = 0x02;
constexpr int VK_CANCEL = 0x03;
constexpr int VK_MBUTTON = 0x04;
constexpr int VK_XBUTTON1 = 0x05;
constexpr int VK_XBUTTON2 = 0x06;
constexpr int VK_BACK = 0x08;
constexpr int VK_TAB = 0x09;
constexpr int VK_CLEAR = 0x0C;
constexpr int VK_RETURN = 0x0D;
constexpr int VK_SHIFT = 0x10;
constexpr int VK_CONTROL = 0x11;
constexpr int VK_MENU = 0x12;
constexpr int VK_PAUSE = 0x13;
constexpr int VK_CAPITAL = 0x14;
constexpr int VK_ESCAPE = 0x1B;
constexpr int VK_SPACE = 0x20;
constexpr int VK_PRIOR = 0x21;
constexpr int VK_NEXT = 0x22;
constexpr int VK_END = 0x23;
constexpr int VK_HOME = 0x24;
constexpr int VK_LEFT = 0x25;
constexpr int VK_UP = 0x26;
constexpr int VK_RIGHT = 0x27;
constexpr int VK_DOWN = 0x28;
constexpr int VK_SELECT = 0x29;
constexpr int VK_PRINT = 0x2A;
constexpr int VK_EXECUTE = 0x2B;
constexpr int VK_SNAPSHOT = 0x2C;
constexpr int VK_INSERT = 0x2D;
constexpr int VK_DELETE = 0x2E;
constexpr int VK_HELP = 0x2F;
constexpr int VK_LWIN = 0x5B;
constexpr int VK_RWIN = 0x5C;
constexpr int VK_APPS = 0x5D;
constexpr int VK_NUMPAD0 = 0x60;
constexpr int VK_NUMPAD9 = 0x69;
constexpr int VK_MULTIPLY = 0x6A;
constexpr int VK_ADD = 0x6B;
constexpr int VK_SEPARATOR = 0x6C;
constexpr int VK_SUBTRACT = 0x6D;
constexpr int VK_DECIMAL = 0x6E;
constexpr int VK_DIVIDE = 0x6F;
constexpr int VK_F1 = 0x70;
constexpr int VK_F2 = 0x71;
constexpr int VK_F3 = 0x72;
constexpr int VK_F4 = 0x73;
constexpr int VK_F5 = 0x74;
constexpr int VK_F6 = 0x75;
constexpr int VK_F7 = 0x76;
constexpr int VK_F8 = 0x77;
constexpr int VK_F9 = 0x78;
constexpr int VK_F10 = 0x79;
constexpr int VK_F11 = 0x7A;
constexpr int VK_F12 = 0x7B;
constexpr int VK_NUMLOCK = 0x90;
constexpr int VK_SCROLL = 0x91;
constexpr int VK_LSHIFT = 0xA0;
constexpr int VK_RSHIFT = 0xA1;
constexpr int VK_LCONTROL = 0xA2;
constexpr int VK_RCONTROL = 0xA3;
constexpr int VK_LMENU = 0xA4;
constexpr int VK_RMENU = 0xA5;
constexpr int VK_OEM_1 = 0xBA;
constexpr int VK_OEM_PLUS = 0xBB;
constexpr int VK_OEM_COMMA = 0xBC;
constexpr int VK_OEM_MINUS = 0xBD;
constexpr int VK_OEM_PERIOD = 0xBE;
constexpr int VK_OEM_2 = 0xBF;
constexpr int VK_OEM_3 = 0xC0;
constexpr int VK_OEM_4 = 0xDB;
constexpr int VK_OEM_5 = 0xDC;
constexpr int VK_OEM_6 = 0xDD;
constexpr int VK_OEM_7 = 0xDE;
constexpr int VK_OEM_102 = 0xE2;  // the key between left Shift and Z on ISO keyboards

// Bits of a key message's lParam (the high word's flags).
constexpr WORD KF_EXTENDED = 0x0100;
constexpr WORD KF_ALTDOWN = 0x2000;
constexpr WORD KF_REPEAT = 0x4000;
constexpr WORD KF_UP = 0x8000;
// A key-down message whose character the display's keyboard layout gave carries it
// above the 32 bits of the flags (KeyCharGiven set, the code point from bit 32 on).
constexpr int KeyCharShift = 32;
constexpr LPARAM KeyCharGiven = LPARAM{1} << 62;

// --- WM_GETDLGCODE answers ----------------------------------------------------------------
constexpr LRESULT DLGC_WANTARROWS = 0x0001;
constexpr LRESULT DLGC_WANTTAB = 0x0002;
constexpr LRESULT DLGC_WANTALLKEYS = 0x0004;
constexpr LRESULT DLGC_WANTMESSAGE = 0x0004;
constexpr LRESULT DLGC_HASSETSEL = 0x0008;
constexpr LRESULT DLGC_DEFPUSHBUTTON = 0x0010;
constexpr LRESULT DLGC_UNDEFPUSHBUTTON = 0x0020;
constexpr LRESULT DLGC_RADIOBUTTON = 0x0040;
constexpr LRESULT DLGC_WANTCHARS = 0x0080;
constexpr LRESULT DLGC_STATIC = 0x0100;
constexpr LRESULT DLGC_BUTTON = 0x2000;

// --- Key state ----------------------------------------------------------------------------
// GetKeyState (MessageQueue.h) is the state as of the message being handled; the
// asynchronous state is the same for keys, and for mouse buttons it is the physical
// button (so with swapped buttons VK_LBUTTON is the physical left button).
SHORT GetKeyState(int VirtKey);
SHORT GetAsyncKeyState(int VirtKey);
// Copies the 256 key states (bit 7 down, bit 0 toggled).
BOOL GetKeyboardState(BYTE* KeyState);

// --- Caret (KeyboardCaret.cpp) -------------------------------------------------------------
// One caret for the GUI thread. It starts hidden; it blinks on the GUI thread's clock
// every GetCaretBlinkTime() ms while shown. Bitmap (HBITMAP)1 asks for a grey caret.
BOOL CreateCaret(HWND Wnd, HBITMAP Bitmap, int Width, int Height);
BOOL DestroyCaret();
// Wnd 0 or the caret's owner. Hides nest: as many ShowCaret as HideCaret calls.
BOOL ShowCaret(HWND Wnd);
BOOL HideCaret(HWND Wnd);
// Client coordinates of the owner.
BOOL SetCaretPos(int X, int Y);
BOOL GetCaretPos(LPPOINT Point);
UINT GetCaretBlinkTime();
BOOL SetCaretBlinkTime(UINT Ms);

// Asks the display to make a sound of the given kind (0 or an MB_ICON* value; the
// headless display records it).
BOOL MessageBeep(UINT Type);

namespace vantrel::win {

// The caret as the window system keeps it.
struct CaretState {
  HWND Owner = nullptr;
  HBITMAP Bitmap = nullptr;
  int Width = 0;
  int Height = 0;
  POINT Pos{};
  int HideLevel = 1;  // 0: shown
  bool On = false;    // the blink phase: drawn now
  UINT BlinkTime = 500;
};

}  // namespace vantrel::win
