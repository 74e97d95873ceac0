// Playback: a 10 s 640x480 H.264/AAC clip played to its end by our player component
// (through the vantrel_play driver program) and by ffplay -autoexit -threads 1, both on
// SDL's dummy video and audio drivers, timed as whole processes (user + system CPU
// time), pinned to the same two cores, alternating, medians of 3 rounds after a warm-up.
// Both play in real time, so the wall times are about the clip's length; the CPU time is
// what playing costs.
// Last line: ratio <ours / ffplay in CPU time>.
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
#include <string>
#include <vector>

extern char** environ;

namespace {

constexpr int PlayerRounds = 3;

using PlayerArgs = std::vector<std::string>;

struct TPlayCost {
  double Wall = 0;  // seconds
  double Cpu = 0;   // user + system seconds of the process
};

// Runs a program (searched in PATH) with its output dropped; false when it cannot start
// or exits non-zero.
bool RunPlayer(const PlayerArgs& AArgs, TPlayCost& ACost) {
  posix_spawn_file_actions_t Actions;
  posix_spawn_file_actions_init(&Actions);
  posix_spawn_file_actions_addopen(&Actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&Actions, 1, "/dev/null", O_WRONLY, 0);
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
  if (!Ok) {
    std::string Line;
    for (const std::string& A : AArgs) Line += A + " ";
    std::fprintf(stderr, "failed: %s\n", Line.c_str());
  }
  return Ok;
}

double PlayerMedian(std::vector<double> V) {
  std::sort(V.begin(), V.end());
  return V[V.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  (void)argc;
  const std::filesystem::path Self = std::filesystem::canonical("/proc/self/exe");
  const std::string Driver = (Self.parent_path() / "vantrel_play").string();
  if (!std::filesystem::exists(Driver)) {
    std::fprintf(stderr, "%s: driver %s not built\n", argv[0], Driver.c_str());
    return 1;
  }
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  setenv("SDL_AUDIODRIVER", "dummy", 1);

  // Both sides on the same two cores (the children inherit the mask).
  const long Cores = sysconf(_SC_NPROCESSORS_ONLN);
  if (Cores >= 2) {
    cpu_set_t Set;
    CPU_ZERO(&Set);
    CPU_SET(static_cast<int>(Cores - 2), &Set);
    CPU_SET(static_cast<int>(Cores - 1), &Set);
    sched_setaffinity(0, sizeof Set, &Set);
  }

  std::string Dir = (std::filesystem::temp_directory_path() / "vantrel-bench-player-XXXXXX").string();
  if (!mkdtemp(Dir.data())) return 1;
  struct TCleanup {
    std::string Dir;
    ~TCleanup() { std::filesystem::remove_all(Dir); }
  } Cleanup{Dir};
  const std::string Clip = Dir + "/clip.mp4";
  TPlayCost Made;
  if (!RunPlayer({"ffmpeg", "-nostdin", "-y", "-loglevel", "error", "-f", "lavfi", "-i",
                  "testsrc2=size=640x480:rate=25:duration=10", "-f", "lavfi", "-i",
                  "sine=frequency=440:sample_rate=48000:duration=10", "-ac", "2", "-c:v", "libx264", "-preset",
                  "veryfast", "-pix_fmt", "yuv420p", "-c:a", "aac", "-shortest", Clip},
                 Made))
    return 1;

  const PlayerArgs Ours{Driver, Clip};
  const PlayerArgs Peer{"ffplay", "-hide_banner", "-loglevel", "error", "-autoexit", "-threads", "1", Clip};
  TPlayCost Warm;
  if (!RunPlayer(Ours, Warm) || !RunPlayer(Peer, Warm)) return 1;
  std::vector<double> OW, OC, PW, PC;
  for (int R = 0; R < PlayerRounds; ++R) {
    for (int Side = 0; Side < 2; ++Side) {
      // Alternating which side goes first.
      const bool OursNow = (Side == 0) == (R % 2 == 0);
      TPlayCost Cost;
      if (!RunPlayer(OursNow ? Ours : Peer, Cost)) return 1;
      (OursNow ? OW : PW).push_back(Cost.Wall);
      (OursNow ? OC : PC).push_back(Cost.Cpu);
    }
  }
  std::printf("player, 10 s 640x480 H.264/AAC to its end, SDL dummy drivers, medians of %d rounds after a warm-up\n",
              PlayerRounds);
  std::printf("%-10s %10s %10s\n", "", "wall", "cpu");
  std::printf("%-10s %9.3fs %9.3fs\n", "ours", PlayerMedian(OW), PlayerMedian(OC));
  std::printf("%-10s %9.3fs %9.3fs\n", "ffplay", PlayerMedian(PW), PlayerMedian(PC));
  std::printf("ratio %.3f\n", PlayerMedian(OC) / PlayerMedian(PC));
  return 0;
}
