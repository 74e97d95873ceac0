// The calls that leave the process, each behind a replaceable object of the window
// manager's shell services: the launcher (ShellExecute "open" of folders, documents, web
// pages, "mailto:" links and programs; through xdg-open or the program itself, spawned
// with an argument vector, never a shell), file drops (DragDrop.h) and the clipboard
// (Clipboard.h). Tests put a RecordingLauncher in place and read what was asked.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/win/Clipboard.h"
#include "platform/win/DragDrop.h"
#include "platform/win/Messages.h"
#include "platform/win/Power.h"
#include "platform/win/TrayArea.h"

constexpr ULONG SEE_MASK_DEFAULT = 0x00000000;
constexpr ULONG SEE_MASK_IDLIST = 0x00000004;
constexpr ULONG SEE_MASK_INVOKEIDLIST = 0x0000000C;
constexpr ULONG SEE_MASK_NOCLOSEPROCESS = 0x00000040;
constexpr ULONG SEE_MASK_NOASYNC = 0x00000100;
constexpr ULONG SEE_MASK_FLAG_NO_UI = 0x00000400;

// ShellExecute results of 32 and below: failure codes.
constexpr uintptr_t SE_ERR_FNF = 2;
constexpr uintptr_t SE_ERR_PNF = 3;
constexpr uintptr_t SE_ERR_ACCESSDENIED = 5;
constexpr uintptr_t SE_ERR_OOM = 8;
constexpr uintptr_t SE_ERR_NOASSOC = 31;

struct SHELLEXECUTEINFO {
  DWORD cbSize = sizeof(SHELLEXECUTEINFO);
  ULONG fMask = 0;
  HWND hwnd = nullptr;
  LPCSTR lpVerb = nullptr;
  LPCSTR lpFile = nullptr;
  LPCSTR lpParameters = nullptr;
  LPCSTR lpDirectory = nullptr;
  int nShow = 0;
  HINSTANCE hInstApp = nullptr;  // out: > 32 on success, else an SE_ERR_* code
  LPVOID lpIDList = nullptr;
  LPCSTR lpClass = nullptr;
  HANDLE hkeyClass = nullptr;
  DWORD dwHotKey = 0;
  HANDLE hIcon = nullptr;
  HANDLE hProcess = nullptr;  // out: always 0 (no process handles on this system)
};
using SHELLEXECUTEINFOW = SHELLEXECUTEINFO;
using LPSHELLEXECUTEINFO = SHELLEXECUTEINFO*;

// Verbs: null, "open" and "explore" open; anything else fails with SE_ERR_NOASSOC. The
// file is a URL ("scheme:..."), a folder or a document (opened with xdg-open), or a
// program (an executable file, or a name found in PATH) run with Parameters split as a
// command line (double quotes group words). Directory is the working folder of what is
// started. Returns a value > 32 on success.
HINSTANCE ShellExecute(HWND Wnd, LPCSTR Operation, LPCSTR File, LPCSTR Parameters, LPCSTR Directory, int ShowCmd);
inline HINSTANCE ShellExecuteW(HWND W, LPCSTR O, LPCSTR F, LPCSTR P, LPCSTR D, int S) {
  return ShellExecute(W, O, F, P, D, S);
}
// lpFile names what is opened; with SEE_MASK_IDLIST (or INVOKEIDLIST) an absolute item id
// list in lpIDList names it by its path instead.
BOOL ShellExecuteEx(SHELLEXECUTEINFO* Info);
inline BOOL ShellExecuteExW(SHELLEXECUTEINFO* Info) { return ShellExecuteEx(Info); }

namespace vantrel::win {

// Starts a program. Argv[0] is searched in PATH when it has no slash.
class Launcher {
 public:
  virtual ~Launcher() = default;
  // Directory empty: ours. False with Error set when the program could not be started.
  virtual bool Launch(const std::vector<std::string>& Argv, const std::string& Directory, std::string& Error) = 0;
};

// posix_spawnp with the argument vector; the child is reaped in the background.
class SpawnLauncher final : public Launcher {
 public:
  bool Launch(const std::vector<std::string>& Argv, const std::string& Directory, std::string& Error) override;
};

// Records every launch and starts nothing; Fail makes launches fail.
class RecordingLauncher final : public Launcher {
 public:
  struct Call {
    std::vector<std::string> Argv;
    std::string Directory;
  };
  bool Launch(const std::vector<std::string>& Argv, const std::string& Directory, std::string& Error) override;
  std::vector<Call> Calls;
  bool Fail = false;
};

// The window manager's services outside the process.
class ShellServices {
 public:
  ShellServices();
  Launcher& GetLauncher() { return *FLauncher; }
  // Returns the launcher it replaces (nullptr puts a SpawnLauncher back).
  std::unique_ptr<Launcher> SetLauncher(std::unique_ptr<Launcher> L);
  DropStore& Drops() { return FDrops; }
  ClipboardState& Clipboard() { return FClipboard; }
  TrayArea& Tray() { return *FTray; }
  PowerControl& Power() { return *FPower; }
  // Returns the control it replaces (nullptr puts a CommandPowerControl back).
  std::unique_ptr<PowerControl> SetPower(std::unique_ptr<PowerControl> P);
  // Returns the tray it replaces (nullptr puts a NoTrayArea back).
  std::unique_ptr<TrayArea> SetTray(std::unique_ptr<TrayArea> T);
  // Answers message boxes instead of showing them when set (MessageBox.h).
  std::function<int(HWND Owner, const std::string& Text, const std::string& Caption, UINT Flags)> MessageBoxResponder;

 private:
  std::unique_ptr<Launcher> FLauncher;
  std::unique_ptr<TrayArea> FTray = std::make_unique<NoTrayArea>();
  std::unique_ptr<PowerControl> FPower = std::make_unique<CommandPowerControl>();
  DropStore FDrops;
  ClipboardState FClipboard;
};

// What ShellExecute would start for (Operation, File, Parameters): the argument vector,
// or an SE_ERR_* code. For tests of the mapping and for ShellExecute itself.
struct LaunchPlan {
  std::vector<std::string> Argv;
  uintptr_t Error = 0;
};
LaunchPlan PlanShellExecute(const char* Operation, const char* File, const char* Parameters);
// Splits a command line as the Windows runtime does: blanks separate words, double
// quotes group them, \" is a quote, backslashes before a quote pair up.
std::vector<std::string> SplitCommandLine(const std::string& Line);

}  // namespace vantrel::win
