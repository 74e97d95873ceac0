// The notification area: icons of windows with a tip and a balloon, whose mouse
// messages come back to the window as its callback message (wParam = the icon's id,
// lParam = the mouse message). Shell_NotifyIconW goes to the replaceable tray of the
// shell services (Shell.h): the display's when it speaks to the desktop's tray (x11),
// else none (every call answers FALSE); a recorder in tests.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "platform/win/Messages.h"

constexpr DWORD NIM_ADD = 0;
constexpr DWORD NIM_MODIFY = 1;
constexpr DWORD NIM_DELETE = 2;

constexpr UINT NIF_MESSAGE = 0x01;
constexpr UINT NIF_ICON = 0x02;
constexpr UINT NIF_TIP = 0x04;
constexpr UINT NIF_INFO = 0x10;

constexpr DWORD NIIF_NONE = 0;
constexpr DWORD NIIF_INFO = 1;
constexpr DWORD NIIF_WARNING = 2;
constexpr DWORD NIIF_ERROR = 3;

constexpr UINT NIN_BALLOONSHOW = WM_USER + 2;
constexpr UINT NIN_BALLOONHIDE = WM_USER + 3;
constexpr UINT NIN_BALLOONTIMEOUT = WM_USER + 4;
constexpr UINT NIN_BALLOONUSERCLICK = WM_USER + 5;

// The limits of the text fields in characters (code points), and their UTF-8 buffers.
constexpr size_t NOTIFY_TIP_CHARS = 127;
constexpr size_t NOTIFY_INFO_CHARS = 255;
constexpr size_t NOTIFY_INFOTITLE_CHARS = 63;

// Text fields hold UTF-8 ending in a NUL; cbSize is not checked.
struct NOTIFYICONDATAW {
  DWORD cbSize = sizeof(NOTIFYICONDATAW);
  HWND Wnd = nullptr;
  UINT uID = 0;
  UINT uFlags = 0;
  UINT uCallbackMessage = 0;
  HICON hIcon = nullptr;
  char szTip[(NOTIFY_TIP_CHARS + 1) * 4] = {};
  DWORD dwState = 0;
  DWORD dwStateMask = 0;
  char szInfo[(NOTIFY_INFO_CHARS + 1) * 4] = {};
  UINT uTimeout = 0;
  char szInfoTitle[(NOTIFY_INFOTITLE_CHARS + 1) * 4] = {};
  DWORD dwInfoFlags = 0;
};
using NOTIFYICONDATA = NOTIFYICONDATAW;
using PNOTIFYICONDATAW = NOTIFYICONDATAW*;

// Adds, changes or removes the icon (Wnd, uID). FALSE when there is no tray, when an
// added icon exists already or a changed or removed one does not.
BOOL Shell_NotifyIconW(DWORD Message, const NOTIFYICONDATAW* Data);
inline BOOL Shell_NotifyIcon(DWORD Message, const NOTIFYICONDATAW* Data) { return Shell_NotifyIconW(Message, Data); }

namespace vantrel::win {

// The text of a field: up to its NUL (or its end), at most MaxChars characters, never
// a part of one.
std::string NotifyFieldText(const char* Field, size_t Size, size_t MaxChars);
// Fills a field with Text cut to whole characters so that it holds its NUL.
void SetNotifyField(char* Field, size_t Size, size_t MaxChars, const std::string& Text);
template <size_t N>
void SetNotifyField(char (&Field)[N], const std::string& Text) {
  SetNotifyField(Field, N, N / 4 - 1, Text);
}

// An icon as the tray keeps it.
struct TrayIcon {
  HWND Wnd = nullptr;
  UINT Id = 0;
  UINT CallbackMessage = 0;  // 0: the window is not told of clicks
  HICON Icon = nullptr;
  std::string Tip;
  std::string Info, InfoTitle;  // the balloon; Info empty: none
  DWORD InfoFlags = NIIF_NONE;
};

class TrayArea {
 public:
  virtual ~TrayArea() = default;
  virtual bool Notify(DWORD Message, const NOTIFYICONDATAW& Data) = 0;
};

// No notification area: every call fails.
class NoTrayArea final : public TrayArea {
 public:
  bool Notify(DWORD, const NOTIFYICONDATAW&) override { return false; }
};

// The icons of a tray, changed as Shell_NotifyIconW asks.
class TrayIconTable {
 public:
  bool Apply(DWORD Message, const NOTIFYICONDATAW& Data);
  const TrayIcon* Find(HWND Wnd, UINT Id) const;
  const std::vector<TrayIcon>& Icons() const { return FIcons; }

 private:
  std::vector<TrayIcon> FIcons;
};

// Keeps the icons and shows nothing; a test clicks them and announces a new tray.
class RecordingTrayArea final : public TrayArea {
 public:
  bool Notify(DWORD Message, const NOTIFYICONDATAW& Data) override { return Table.Apply(Message, Data); }
  // Posts the icon's callback message with MouseMessage (WM_LBUTTONDOWN, ...); false
  // when there is no such icon or it has no callback message.
  bool Click(HWND Wnd, UINT Id, UINT MouseMessage);
  // A new tray took over: icons are gone and every top-level window gets the
  // registered "TaskbarCreated" message to add its icon again.
  void AnnounceNewTray();
  TrayIconTable Table;
};

// Posts "TaskbarCreated" to every top-level window of the window manager.
void PostTaskbarCreated();

}  // namespace vantrel::win
