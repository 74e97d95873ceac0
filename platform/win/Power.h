// The system's version and the shut-down request. There is no privilege model here:
// the token calls succeed, and whether the machine may be switched off is the session
// manager's decision, asked through the replaceable power control of the shell
// services (Shell.h): `systemctl` by default, a recorder in tests.
#pragma once

#include <string>
#include <vector>

#include "platform/win/Messages.h"
#include "platform/rtl/FileUtils.h"  // ERROR_ACCESS_DENIED
#include "platform/rtl/WaitObjects.h"

constexpr DWORD VER_PLATFORM_WIN32_NT = 2;

struct OSVERSIONINFOW {
  DWORD dwOSVersionInfoSize = sizeof(OSVERSIONINFOW);
  DWORD dwMajorVersion = 0;
  DWORD dwMinorVersion = 0;
  DWORD dwBuildNumber = 0;
  DWORD dwPlatformId = 0;
  char szCSDVersion[128 * 4] = {};  // the service-pack text, UTF-8
};
using OSVERSIONINFO = OSVERSIONINFOW;
// The version GetVersion reports: platform 2, 6.1, build 7601, no service pack.
BOOL GetVersionExW(OSVERSIONINFOW* Info);
inline BOOL GetVersionEx(OSVERSIONINFOW* Info) { return GetVersionExW(Info); }

constexpr DWORD TOKEN_QUERY = 0x0008;
constexpr DWORD TOKEN_ADJUST_PRIVILEGES = 0x0020;
constexpr DWORD SE_PRIVILEGE_ENABLED = 0x00000002;
constexpr DWORD ERROR_NO_SUCH_PRIVILEGE = 1313;
constexpr DWORD ERROR_NOT_SUPPORTED = 50;

struct LUID {
  DWORD LowPart = 0;
  LONG HighPart = 0;
};
struct LUID_AND_ATTRIBUTES {
  LUID Luid;
  DWORD Attributes = 0;
};
struct TOKEN_PRIVILEGES {
  DWORD PrivilegeCount = 0;
  LUID_AND_ATTRIBUTES Privileges[1];
};

// This process.
HANDLE GetCurrentProcess();
// A token that stands for the process; last error 0.
BOOL OpenProcessToken(HANDLE Process, DWORD DesiredAccess, HANDLE* Token);
// "SeShutdownPrivilege" is known; other names fail with ERROR_NO_SUCH_PRIVILEGE.
BOOL LookupPrivilegeValue(LPCSTR SystemName, LPCSTR Name, LUID* Luid);
inline BOOL LookupPrivilegeValueW(LPCSTR S, LPCSTR N, LUID* L) { return LookupPrivilegeValue(S, N, L); }
// Succeeds with last error 0; nothing changes.
BOOL AdjustTokenPrivileges(HANDLE Token, BOOL DisableAll, TOKEN_PRIVILEGES* NewState, DWORD BufferLength,
                           TOKEN_PRIVILEGES* PreviousState, DWORD* ReturnLength);
// CloseHandle (WaitObjects.h) closes the token with TRUE.

constexpr UINT EWX_LOGOFF = 0x00;
constexpr UINT EWX_SHUTDOWN = 0x01;
constexpr UINT EWX_REBOOT = 0x02;
constexpr UINT EWX_FORCE = 0x04;
constexpr UINT EWX_POWEROFF = 0x08;

// Asks the power control to switch off (EWX_SHUTDOWN, EWX_POWEROFF) or restart
// (EWX_REBOOT). EWX_FORCE is ignored: other programs are always let to save and close.
// Logging off is not supported (FALSE, ERROR_NOT_SUPPORTED). FALSE with
// ERROR_ACCESS_DENIED when the request is refused; the control's LastMessage says why.
BOOL ExitWindowsEx(UINT Flags, DWORD Reason);

namespace vantrel::win {

enum class PowerAction { PowerOff, Reboot };

class PowerControl {
 public:
  virtual ~PowerControl() = default;
  // False with Error set when the request is refused or fails.
  virtual bool Request(PowerAction Action, std::string& Error) = 0;
  // The message of the last refused request.
  std::string LastMessage;
};

// Runs a command (an argument vector, no shell) and waits for it, 10 seconds at most:
// "systemctl poweroff" / "systemctl reboot" by default, which the session manager
// grants or refuses.
class CommandPowerControl final : public PowerControl {
 public:
  CommandPowerControl();
  CommandPowerControl(std::vector<std::string> PowerOffArgv, std::vector<std::string> RebootArgv);
  bool Request(PowerAction Action, std::string& Error) override;
  const std::vector<std::string>& Plan(PowerAction Action) const;

 private:
  std::vector<std::string> FPowerOff, FReboot;
};

// Records each request and switches nothing off; Fail refuses with "Refused.".
class RecordingPowerControl final : public PowerControl {
 public:
  bool Request(PowerAction Action, std::string& Error) override;
  std::vector<PowerAction> Calls;
  bool Fail = false;
};

// Runs Argv and waits up to TimeoutMs; true when it exits with 0. Otherwise Error
// holds what the program wrote (or how it ended).
bool RunAndWait(const std::vector<std::string>& Argv, int TimeoutMs, std::string& Error);

}  // namespace vantrel::win
