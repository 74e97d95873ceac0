// The plain message box: a small modal window with a text, an icon and the buttons the
// flags ask for. A responder of the shell services (Shell.h) may answer instead of the
// window; the headless session installs one that records each box.
#pragma once

#include <string>
#include <vector>

#include "platform/win/Messages.h"

// Buttons.
constexpr UINT MB_OK = 0x00000000;
constexpr UINT MB_OKCANCEL = 0x00000001;
constexpr UINT MB_ABORTRETRYIGNORE = 0x00000002;
constexpr UINT MB_YESNOCANCEL = 0x00000003;
constexpr UINT MB_YESNO = 0x00000004;
constexpr UINT MB_RETRYCANCEL = 0x00000005;
constexpr UINT MB_TYPEMASK = 0x0000000F;
// Icons.
constexpr UINT MB_ICONHAND = 0x00000010;
constexpr UINT MB_ICONQUESTION = 0x00000020;
constexpr UINT MB_ICONEXCLAMATION = 0x00000030;
constexpr UINT MB_ICONASTERISK = 0x00000040;
constexpr UINT MB_ICONERROR = MB_ICONHAND;
constexpr UINT MB_ICONSTOP = MB_ICONHAND;
constexpr UINT MB_ICONWARNING = MB_ICONEXCLAMATION;
constexpr UINT MB_ICONINFORMATION = MB_ICONASTERISK;
constexpr UINT MB_ICONMASK = 0x000000F0;
// The default button.
constexpr UINT MB_DEFBUTTON1 = 0x00000000;
constexpr UINT MB_DEFBUTTON2 = 0x00000100;
constexpr UINT MB_DEFBUTTON3 = 0x00000200;
constexpr UINT MB_DEFMASK = 0x00000F00;
// Modality (every box here is modal to its owner's top-level window).
constexpr UINT MB_APPLMODAL = 0x00000000;
constexpr UINT MB_SYSTEMMODAL = 0x00001000;
constexpr UINT MB_TASKMODAL = 0x00002000;

// Answers.
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDABORT = 3;
constexpr int IDRETRY = 4;
constexpr int IDIGNORE = 5;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

// Shows the box modal to Owner's top-level window (disabled meanwhile) and returns the
// answer: the button clicked, Enter for the default button, Esc or the close box for
// Cancel (OK when it is the only button; nothing when there is no way to cancel). 0 when
// no box could be shown or WM_QUIT ended the wait (the quit is posted again).
int MessageBox(HWND Owner, const std::string& Text, const std::string& Caption, UINT Flags);
inline int MessageBoxW(HWND O, const std::string& T, const std::string& C, UINT F) { return MessageBox(O, T, C, F); }
inline int MessageBoxA(HWND O, const std::string& T, const std::string& C, UINT F) { return MessageBox(O, T, C, F); }

namespace vantrel::win {

// A button of a box: its answer and caption.
struct MessageBoxButton {
  int Id;
  const char* Caption;
};
// The buttons of the flags, left to right.
std::vector<MessageBoxButton> MessageBoxButtons(UINT Flags);
// The answer Esc gives, or 0 when the box cannot be cancelled.
int MessageBoxCancelAnswer(UINT Flags);
// The answer Enter gives (the default button; the first when the flags name one past the end).
int MessageBoxDefaultAnswer(UINT Flags);

}  // namespace vantrel::win
