// Version, token stand-ins and the shut-down request through the power control.
#include "platform/win/Power.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>

#include "platform/win/Shell.h"
#include "platform/win/SysMetrics.h"
#include "platform/win/WindowManager.h"

extern char** environ;

namespace {

// Token handles carry no state; this one is told apart from null.
HANDLE const PowerProcessToken = reinterpret_cast<HANDLE>(static_cast<intptr_t>(0x7E57));
constexpr DWORD PowerShutdownLuid = 19;
constexpr int PowerCommandTimeoutMs = 10000;

// Closes a file descriptor when it goes.
struct PowerFd {
  int Fd = -1;
  ~PowerFd() {
    if (Fd >= 0) ::close(Fd);
  }
};

}  // namespace

BOOL GetVersionExW(OSVERSIONINFOW* Info) {
  if (!Info) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const DWORD V = GetVersion();
  Info->dwMajorVersion = V & 0xFF;
  Info->dwMinorVersion = (V >> 8) & 0xFF;
  Info->dwBuildNumber = V >> 16;
  Info->dwPlatformId = VER_PLATFORM_WIN32_NT;
  Info->szCSDVersion[0] = '\0';
  return TRUE;
}

HANDLE GetCurrentProcess() { return reinterpret_cast<HANDLE>(static_cast<intptr_t>(-1)); }

BOOL OpenProcessToken(HANDLE, DWORD, HANDLE* Token) {
  if (!Token) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  *Token = PowerProcessToken;
  SetLastError(ERROR_SUCCESS);
  return TRUE;
}

BOOL LookupPrivilegeValue(LPCSTR, LPCSTR Name, LUID* Luid) {
  if (!Name || !Luid) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (strcasecmp(Name, "SeShutdownPrivilege") != 0) {
    SetLastError(ERROR_NO_SUCH_PRIVILEGE);
    return FALSE;
  }
  Luid->LowPart = PowerShutdownLuid;
  Luid->HighPart = 0;
  SetLastError(ERROR_SUCCESS);
  return TRUE;
}

BOOL AdjustTokenPrivileges(HANDLE Token, BOOL, TOKEN_PRIVILEGES*, DWORD, TOKEN_PRIVILEGES*, DWORD* ReturnLength) {
  if (!Token) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (ReturnLength) *ReturnLength = 0;
  SetLastError(ERROR_SUCCESS);
  return TRUE;
}

BOOL ExitWindowsEx(UINT Flags, DWORD) {
  using vantrel::win::PowerAction;
  vantrel::win::WindowManager* M = vantrel::win::WindowManager::OnGui();
  if (!M) return FALSE;
  const UINT Kind = Flags & ~EWX_FORCE;  // never forced
  PowerAction Action;
  if (Kind & EWX_REBOOT)
    Action = PowerAction::Reboot;
  else if (Kind & (EWX_SHUTDOWN | EWX_POWEROFF))
    Action = PowerAction::PowerOff;
  else {
    SetLastError(ERROR_NOT_SUPPORTED);
    return FALSE;
  }
  vantrel::win::PowerControl& Control = M->Shell().Power();
  std::string Error;
  if (!Control.Request(Action, Error)) {
    Control.LastMessage = Error;
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  Control.LastMessage.clear();
  SetLastError(ERROR_SUCCESS);
  return TRUE;
}

namespace vantrel::win {

bool RunAndWait(const std::vector<std::string>& Argv, int TimeoutMs, std::string& Error) {
  if (Argv.empty()) {
    Error = "Nothing to run";
    return false;
  }
  int Pipe[2];
  if (::pipe2(Pipe, O_CLOEXEC) != 0) {
    Error = std::strerror(errno);
    return false;
  }
  PowerFd Read{Pipe[0]}, Write{Pipe[1]};
  std::vector<char*> Args;
  for (const std::string& A : Argv) Args.push_back(const_cast<char*>(A.c_str()));
  Args.push_back(nullptr);
  posix_spawn_file_actions_t Actions;
  posix_spawn_file_actions_init(&Actions);
  posix_spawn_file_actions_adddup2(&Actions, Write.Fd, 1);
  posix_spawn_file_actions_adddup2(&Actions, Write.Fd, 2);
  pid_t Pid = 0;
  const int Rc = posix_spawnp(&Pid, Args[0], &Actions, nullptr, Args.data(), environ);
  posix_spawn_file_actions_destroy(&Actions);
  ::close(Write.Fd);
  Write.Fd = -1;
  if (Rc != 0) {
    Error = Argv[0] + ": " + std::strerror(Rc);
    return false;
  }
  // Collect what it says until it closes its output or the time is up.
  std::string Output;
  const auto Deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(TimeoutMs);
  bool TimedOut = false;
  for (;;) {
    const auto Left = std::chrono::duration_cast<std::chrono::milliseconds>(Deadline - std::chrono::steady_clock::now());
    if (Left.count() <= 0) {
      TimedOut = true;
      break;
    }
    pollfd P{Read.Fd, POLLIN, 0};
    const int N = ::poll(&P, 1, static_cast<int>(Left.count()));
    if (N < 0 && errno == EINTR) continue;
    if (N <= 0) continue;
    char Buf[512];
    const ssize_t Got = ::read(Read.Fd, Buf, sizeof Buf);
    if (Got < 0 && errno == EINTR) continue;
    if (Got <= 0) break;
    if (Output.size() < 4096) Output.append(Buf, static_cast<size_t>(Got));
  }
  if (TimedOut) ::kill(Pid, SIGKILL);
  int Status = 0;
  while (::waitpid(Pid, &Status, 0) < 0 && errno == EINTR) {
  }
  while (!Output.empty() && (Output.back() == '\n' || Output.back() == '\r' || Output.back() == ' ')) Output.pop_back();
  if (TimedOut) {
    Error = Argv[0] + " did not answer in time";
    return false;
  }
  if (WIFEXITED(Status) && WEXITSTATUS(Status) == 0) return true;
  if (!Output.empty())
    Error = Output;
  else if (WIFEXITED(Status))
    Error = Argv[0] + " failed with exit code " + std::to_string(WEXITSTATUS(Status));
  else
    Error = Argv[0] + " ended abnormally";
  return false;
}

CommandPowerControl::CommandPowerControl()
    : CommandPowerControl({"systemctl", "poweroff"}, {"systemctl", "reboot"}) {}

CommandPowerControl::CommandPowerControl(std::vector<std::string> PowerOffArgv, std::vector<std::string> RebootArgv)
    : FPowerOff(std::move(PowerOffArgv)), FReboot(std::move(RebootArgv)) {}

const std::vector<std::string>& CommandPowerControl::Plan(PowerAction Action) const {
  return Action == PowerAction::Reboot ? FReboot : FPowerOff;
}

bool CommandPowerControl::Request(PowerAction Action, std::string& Error) {
  return RunAndWait(Plan(Action), PowerCommandTimeoutMs, Error);
}

bool RecordingPowerControl::Request(PowerAction Action, std::string& Error) {
  Calls.push_back(Action);
  if (Fail) Error = "Refused.";
  return !Fail;
}

}  // namespace vantrel::win
