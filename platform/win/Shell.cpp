// ShellExecute through the window manager's launcher, and the launchers.
#include "platform/win/Shell.h"
#include "platform/win/ShellFolder.h"

#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <thread>

#include "platform/rtl/Utf8.h"
#include "platform/win/WindowManager.h"

extern char** environ;

namespace vantrel::win {

namespace {

// "scheme:rest" with a scheme of two or more letters (so "C:..." is not one).
bool IsUrl(const std::string& S) {
  size_t I = 0;
  while (I < S.size() && (std::isalnum(static_cast<unsigned char>(S[I])) || S[I] == '+' || S[I] == '-' || S[I] == '.'))
    ++I;
  return I >= 2 && I < S.size() && S[I] == ':' && std::isalpha(static_cast<unsigned char>(S[0]));
}

// A file the system can run: executable for us and a binary or a script (so a document
// on a file system that marks every file executable is still opened, not run).
bool IsProgram(const std::string& Path) {
  if (::access(Path.c_str(), X_OK) != 0) return false;
  char Head[4] = {};
  FILE* F = std::fopen(Path.c_str(), "rb");
  if (!F) return false;
  const size_t N = std::fread(Head, 1, sizeof Head, F);
  std::fclose(F);
  return (N >= 4 && std::memcmp(Head, "\x7f" "ELF", 4) == 0) || (N >= 2 && Head[0] == '#' && Head[1] == '!');
}

}  // namespace

std::vector<std::string> SplitCommandLine(const std::string& Line) {
  std::vector<std::string> Out;
  size_t I = 0;
  const size_t N = Line.size();
  for (;;) {
    while (I < N && (Line[I] == ' ' || Line[I] == '\t')) ++I;
    if (I >= N) break;
    std::string Word;
    bool Quoted = false;
    while (I < N && (Quoted || (Line[I] != ' ' && Line[I] != '\t'))) {
      if (Line[I] == '\\') {
        size_t Slashes = 0;
        while (I < N && Line[I] == '\\') ++Slashes, ++I;
        if (I < N && Line[I] == '"') {
          Word.append(Slashes / 2, '\\');
          if (Slashes % 2) {
            Word += '"';
            ++I;
          }
        } else {
          Word.append(Slashes, '\\');
        }
        continue;
      }
      if (Line[I] == '"') {
        Quoted = !Quoted;
        ++I;
        continue;
      }
      Word += Line[I++];
    }
    Out.push_back(std::move(Word));
  }
  return Out;
}

LaunchPlan PlanShellExecute(const char* Operation, const char* File, const char* Parameters) {
  LaunchPlan Plan;
  const std::string Verb = Operation ? LowerCase(Operation) : "";
  if (!Verb.empty() && Verb != "open" && Verb != "explore") {
    Plan.Error = SE_ERR_NOASSOC;
    return Plan;
  }
  const std::string Target = File ? File : "";
  if (Target.empty()) {
    Plan.Error = SE_ERR_FNF;
    return Plan;
  }
  if (IsUrl(Target)) {
    Plan.Argv = {"xdg-open", Target};
    return Plan;
  }
  struct stat St {};
  if (::stat(Target.c_str(), &St) == 0) {
    if (!S_ISDIR(St.st_mode) && IsProgram(Target)) {
      // A program: run it directly, its parameters split as a command line.
      Plan.Argv = {Target};
      for (auto& A : SplitCommandLine(Parameters ? Parameters : "")) Plan.Argv.push_back(std::move(A));
    } else {
      // A folder or a document; a name that looks like an option is made a path.
      Plan.Argv = {"xdg-open", Target[0] == '-' ? "./" + Target : Target};
    }
    return Plan;
  }
  if (Target.find('/') == std::string::npos) {
    // A bare name: a program looked up in PATH by the launcher.
    Plan.Argv = {Target};
    for (auto& A : SplitCommandLine(Parameters ? Parameters : "")) Plan.Argv.push_back(std::move(A));
    return Plan;
  }
  const std::string Dir = Target.substr(0, Target.rfind('/'));
  struct stat DirSt {};
  Plan.Error = (Dir.empty() || (::stat(Dir.c_str(), &DirSt) == 0 && S_ISDIR(DirSt.st_mode))) ? SE_ERR_FNF : SE_ERR_PNF;
  return Plan;
}

bool SpawnLauncher::Launch(const std::vector<std::string>& Argv, const std::string& Directory, std::string& Error) {
  if (Argv.empty()) {
    Error = "Nothing to start";
    return false;
  }
  std::vector<char*> Args;
  for (const std::string& A : Argv) Args.push_back(const_cast<char*>(A.c_str()));
  Args.push_back(nullptr);
  posix_spawn_file_actions_t Actions;
  posix_spawn_file_actions_init(&Actions);
  if (!Directory.empty()) posix_spawn_file_actions_addchdir_np(&Actions, Directory.c_str());
  pid_t Pid = 0;
  const int Rc = posix_spawnp(&Pid, Args[0], &Actions, nullptr, Args.data(), environ);
  posix_spawn_file_actions_destroy(&Actions);
  if (Rc != 0) {
    Error = std::strerror(Rc);
    return false;
  }
  // Nobody waits for what was started: reap it in the background.
  std::thread([Pid] {
    int Status = 0;
    while (::waitpid(Pid, &Status, 0) < 0 && errno == EINTR) {
    }
  }).detach();
  return true;
}

bool RecordingLauncher::Launch(const std::vector<std::string>& Argv, const std::string& Directory, std::string& Error) {
  Calls.push_back({Argv, Directory});
  if (Fail) Error = "Launching is switched off";
  return !Fail;
}

ShellServices::ShellServices() : FLauncher(std::make_unique<SpawnLauncher>()) {}

std::unique_ptr<Launcher> ShellServices::SetLauncher(std::unique_ptr<Launcher> L) {
  std::unique_ptr<Launcher> Old = std::move(FLauncher);
  FLauncher = L ? std::move(L) : std::make_unique<SpawnLauncher>();
  return Old;
}

std::unique_ptr<TrayArea> ShellServices::SetTray(std::unique_ptr<TrayArea> T) {
  std::unique_ptr<TrayArea> Old = std::move(FTray);
  FTray = T ? std::move(T) : std::make_unique<NoTrayArea>();
  return Old;
}

std::unique_ptr<PowerControl> ShellServices::SetPower(std::unique_ptr<PowerControl> P) {
  std::unique_ptr<PowerControl> Old = std::move(FPower);
  FPower = P ? std::move(P) : std::make_unique<CommandPowerControl>();
  return Old;
}

}  // namespace vantrel::win

using vantrel::win::WindowManager;

namespace {

// Runs a plan; returns the ShellExecute result value.
uintptr_t Execute(const char* Operation, const char* File, const char* Parameters, const char* Directory) {
  WindowManager* M = WindowManager::Instance();
  if (!M) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return SE_ERR_OOM;
  }
  const vantrel::win::LaunchPlan Plan = vantrel::win::PlanShellExecute(Operation, File, Parameters);
  if (Plan.Error) {
    SetLastError(Plan.Error == SE_ERR_NOASSOC ? 1155 : static_cast<DWORD>(Plan.Error));
    return Plan.Error;
  }
  std::string Error;
  if (!M->Shell().GetLauncher().Launch(Plan.Argv, Directory ? Directory : "", Error)) {
    SetLastError(static_cast<DWORD>(SE_ERR_FNF));
    return SE_ERR_FNF;
  }
  return 42;  // any value above 32 means success
}

}  // namespace

HINSTANCE ShellExecute(HWND, LPCSTR Operation, LPCSTR File, LPCSTR Parameters, LPCSTR Directory, int) {
  return reinterpret_cast<HINSTANCE>(Execute(Operation, File, Parameters, Directory));
}

BOOL ShellExecuteEx(SHELLEXECUTEINFO* Info) {
  // An item id list names the item by its path (items outside the file system have none).
  std::string ListPath;
  const bool ByList = Info && (Info->fMask & SEE_MASK_IDLIST) && Info->lpIDList &&
                      vantrel::win::ShellPathOf(static_cast<LPCITEMIDLIST>(Info->lpIDList), ListPath);
  if (!Info || Info->cbSize != sizeof(SHELLEXECUTEINFO) || (!Info->lpFile && !ByList)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    if (Info) Info->hInstApp = reinterpret_cast<HINSTANCE>(SE_ERR_FNF);
    return FALSE;
  }
  const uintptr_t R = Execute(Info->lpVerb, ByList ? ListPath.c_str() : Info->lpFile, Info->lpParameters,
                              Info->lpDirectory);
  Info->hInstApp = reinterpret_cast<HINSTANCE>(R);
  Info->hProcess = nullptr;
  return R > 32 ? TRUE : FALSE;
}
