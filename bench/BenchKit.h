// What the benchmark programs share: running a program and measuring it, the median of
// rounds, pinning to two cores and a scratch folder.
#pragma once

#include <fcntl.h>
#include <sched.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

extern char** environ;

namespace vantrel::bench {

using ProcessArgs = std::vector<std::string>;

struct TProcessCost {
  double Wall = 0;  // seconds
  double Cpu = 0;   // user + system seconds of the process
};

// Runs a program (searched in PATH), its standard output into AStdout when given (else
// dropped), standard error dropped. False when it cannot start or exits non-zero.
inline bool RunProcess(const ProcessArgs& AArgs, TProcessCost& ACost, std::string* AStdout = nullptr) {
  std::string OutFile;
  if (AStdout) {
    char Name[] = "/tmp/vantrel-bench-out-XXXXXX";
    const int Fd = mkstemp(Name);
    if (Fd < 0) return false;
    close(Fd);
    OutFile = Name;
  }
  posix_spawn_file_actions_t Actions;
  posix_spawn_file_actions_init(&Actions);
  posix_spawn_file_actions_addopen(&Actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&Actions, 1, AStdout ? OutFile.c_str() : "/dev/null", O_WRONLY | O_TRUNC, 0);
  posix_spawn_file_actions_addopen(&Actions, 2, "/dev/null", O_WRONLY, 0);
  std::vector<char*> Argv;
  for (const std::string& A : AArgs) Argv.push_back(const_cast<char*>(A.c_str()));
  Argv.push_back(nullptr);
  const auto T0 = std::chrono::steady_clock::now();
  pid_t Pid = 0;
  const int Err = posix_spawnp(&Pid, Argv[0], &Actions, nullptr, Argv.data(), environ);
  posix_spawn_file_actions_destroy(&Actions);
  int Status = 0;
  rusage Usage{};
  const bool Ok = Err == 0 && wait4(Pid, &Status, 0, &Usage) == Pid && WIFEXITED(Status) && WEXITSTATUS(Status) == 0;
  ACost.Wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - T0).count();
  ACost.Cpu = Usage.ru_utime.tv_sec + Usage.ru_utime.tv_usec / 1e6 + Usage.ru_stime.tv_sec + Usage.ru_stime.tv_usec / 1e6;
  if (AStdout) {
    std::ifstream In(OutFile);
    std::stringstream S;
    S << In.rdbuf();
    *AStdout = S.str();
    std::filesystem::remove(OutFile);
  }
  if (!Ok) {
    std::string Line;
    for (const std::string& A : AArgs) Line += A + " ";
    std::fprintf(stderr, "failed: %s\n", Line.c_str());
  }
  return Ok;
}

inline double Median(std::vector<double> V) {
  std::sort(V.begin(), V.end());
  return V[V.size() / 2];
}

// This process and the children it starts run on the machine's last two cores, so ours
// and the peer share the same ones (nothing to pin on a single core).
inline void PinToLastTwoCores() {
  const long Cores = sysconf(_SC_NPROCESSORS_ONLN);
  if (Cores < 2) return;
  cpu_set_t Set;
  CPU_ZERO(&Set);
  CPU_SET(static_cast<int>(Cores - 2), &Set);
  CPU_SET(static_cast<int>(Cores - 1), &Set);
  sched_setaffinity(0, sizeof Set, &Set);
}

// A fresh folder under the temporary directory, removed with its contents at the end of
// the scope; Ok() is false when none could be made.
class TScratchDir {
 public:
  explicit TScratchDir(const std::string& APrefix)
      : FPath((std::filesystem::temp_directory_path() / (APrefix + "-XXXXXX")).string()) {
    FOk = mkdtemp(FPath.data()) != nullptr;
  }
  ~TScratchDir() {
    if (FOk) std::filesystem::remove_all(FPath);
  }
  TScratchDir(const TScratchDir&) = delete;
  TScratchDir& operator=(const TScratchDir&) = delete;
  bool Ok() const { return FOk; }
  const std::string& Path() const { return FPath; }

 private:
  std::string FPath;
  bool FOk = false;
};

}  // namespace vantrel::bench
