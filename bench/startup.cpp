// Start-up time to the first painted window: `vantrel` against `ffplay -an` showing a
// short clip, the program here that loads the same FFmpeg libraries and shows its first
// picture in an X window. The benchmark starts its own virtual X server, makes its clip,
// and per round spawns the program with a fresh HOME, then measures from the spawn to
// the moment a top-level window is mapped and shows pixels of more than one colour.
// One warm-up each, then alternating rounds; prints both medians and, last,
// ratio <vantrel / ffplay>.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <vector>

// Before Xlib, whose macros (Status) would clash with the kit's names.
#include "bench/BenchKit.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using vantrel::bench::ProcessArgs;

constexpr int Rounds = 7;
constexpr double RoundLimitSeconds = 30;

// A child process that is ended (TERM, then KILL) when it goes out of scope.
class TChild {
 public:
  TChild(const ProcessArgs& AArgs, const std::vector<std::string>& AEnv) {
    posix_spawn_file_actions_t Actions;
    posix_spawn_file_actions_init(&Actions);
    posix_spawn_file_actions_addopen(&Actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&Actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&Actions, 2, "/dev/null", O_WRONLY, 0);
    std::vector<char*> Argv, Envp;
    for (const std::string& A : AArgs) Argv.push_back(const_cast<char*>(A.c_str()));
    Argv.push_back(nullptr);
    for (const std::string& E : AEnv) Envp.push_back(const_cast<char*>(E.c_str()));
    Envp.push_back(nullptr);
    if (posix_spawnp(&FPid, Argv[0], &Actions, nullptr, Argv.data(), Envp.data()) != 0) FPid = -1;
    posix_spawn_file_actions_destroy(&Actions);
  }
  ~TChild() {
    if (FPid <= 0) return;
    kill(FPid, SIGTERM);
    for (int I = 0; I < 200; ++I) {
      if (waitpid(FPid, nullptr, WNOHANG) == FPid) return;
      usleep(10000);
    }
    kill(FPid, SIGKILL);
    waitpid(FPid, nullptr, 0);
  }
  TChild(const TChild&) = delete;
  TChild& operator=(const TChild&) = delete;
  bool Ok() const { return FPid > 0; }
  bool Exited() {
    if (FPid <= 0) return true;
    if (waitpid(FPid, nullptr, WNOHANG) != FPid) return false;
    FPid = -1;
    return true;
  }

 private:
  pid_t FPid = -1;
};

// The virtual X server of the run; it tells its display number through a pipe.
class TVirtualServer {
 public:
  TVirtualServer() {
    int Pipe[2];
    if (pipe(Pipe) != 0) return;
    const std::string Fd = std::to_string(Pipe[1]);
    std::vector<std::string> Env;
    for (char** E = environ; *E; ++E) Env.emplace_back(*E);
    FServer.emplace(ProcessArgs{"Xvfb", "-displayfd", Fd, "-screen", "0", "1280x800x24", "-nolisten", "tcp"}, Env);
    close(Pipe[1]);
    std::string Number;
    pollfd P{Pipe[0], POLLIN, 0};
    char C = 0;
    while (poll(&P, 1, 10000) > 0 && read(Pipe[0], &C, 1) == 1 && C != '\n') Number += C;
    close(Pipe[0]);
    if (!Number.empty()) FName = ":" + Number;
  }
  const std::string& Name() const { return FName; }

 private:
  std::optional<TChild> FServer;
  std::string FName;
};

// Whether a window shows more than one colour (a blank new window is one colour).
bool ShowsPicture(Display* Dpy, Window W) {
  XWindowAttributes A{};
  if (!XGetWindowAttributes(Dpy, W, &A) || A.map_state != IsViewable || A.width < 2 || A.height < 2) return false;
  XImage* Image = XGetImage(Dpy, W, 0, 0, A.width, A.height, AllPlanes, ZPixmap);
  if (!Image) return false;
  const unsigned long First = XGetPixel(Image, 0, 0);
  bool Differs = false;
  for (int Y = 0; Y < A.height && !Differs; Y += 3)
    for (int X = 0; X < A.width; X += 3)
      if (XGetPixel(Image, X, Y) != First) {
        Differs = true;
        break;
      }
  XDestroyImage(Image);
  return Differs;
}

int IgnoreXErrors(Display*, XErrorEvent*) { return 0; }

// Seconds from the spawn of AArgs to its first painted top-level window; -1 on failure.
double TimeToFirstPicture(const std::string& ADisplay, const ProcessArgs& AArgs) {
  Display* Dpy = XOpenDisplay(ADisplay.c_str());
  if (!Dpy) return -1;
  const Window Root = DefaultRootWindow(Dpy);
  XSelectInput(Dpy, Root, SubstructureNotifyMask);
  XSync(Dpy, False);
  vantrel::bench::TScratchDir Home("vantrel-bench-home");
  std::vector<std::string> Env;
  for (char** E = environ; *E; ++E) {
    const std::string Var = *E;
    if (Var.rfind("HOME=", 0) == 0 || Var.rfind("DISPLAY=", 0) == 0 || Var.rfind("XDG_", 0) == 0) continue;
    Env.push_back(Var);
  }
  Env.push_back("HOME=" + Home.Path());
  Env.push_back("DISPLAY=" + ADisplay);
  Env.push_back("XDG_CONFIG_HOME=" + Home.Path() + "/.config");
  Env.push_back("XDG_DATA_HOME=" + Home.Path() + "/.local/share");
  Env.push_back("XDG_CACHE_HOME=" + Home.Path() + "/.cache");
  Env.push_back("XDG_RUNTIME_DIR=" + Home.Path());
  Env.push_back("SDL_AUDIODRIVER=dummy");
  const auto T0 = Clock::now();
  TChild Program(AArgs, Env);
  double Seconds = -1;
  std::set<Window> Mapped;
  while (Program.Ok() && Seconds < 0) {
    while (XPending(Dpy)) {
      XEvent E;
      XNextEvent(Dpy, &E);
      if (E.type == MapNotify && E.xmap.event == Root) Mapped.insert(E.xmap.window);
      if (E.type == DestroyNotify) Mapped.erase(E.xdestroywindow.window);
    }
    for (Window W : Mapped)
      if (ShowsPicture(Dpy, W)) {
        Seconds = std::chrono::duration<double>(Clock::now() - T0).count();
        break;
      }
    if (Seconds >= 0) break;
    if (Program.Exited() || std::chrono::duration<double>(Clock::now() - T0).count() > RoundLimitSeconds) break;
    pollfd P{ConnectionNumber(Dpy), POLLIN, 0};
    poll(&P, 1, 2);
  }
  XCloseDisplay(Dpy);
  return Seconds;
}

std::string ProgramFolder() {
  std::error_code Ec;
  return fs::read_symlink("/proc/self/exe", Ec).parent_path().string();
}

}  // namespace

int main() {
  vantrel::bench::PinToLastTwoCores();
  XSetErrorHandler(IgnoreXErrors);
  const std::string Ours = ProgramFolder() + "/vantrel";
  if (!fs::exists(Ours)) {
    std::fprintf(stderr, "no program at %s\n", Ours.c_str());
    return 1;
  }
  vantrel::bench::TScratchDir Work("vantrel-bench-startup");
  const std::string Clip = Work.Path() + "/clip.mp4";
  vantrel::bench::TProcessCost Cost;
  if (!vantrel::bench::RunProcess({"ffmpeg", "-v", "error", "-f", "lavfi", "-i", "testsrc=size=320x240:rate=25:duration=2",
                                   "-c:v", "libx264", "-pix_fmt", "yuv420p", "-y", Clip},
                                  Cost))
    return 1;
  TVirtualServer Server;
  if (Server.Name().empty()) {
    std::fprintf(stderr, "the virtual X server did not start\n");
    return 1;
  }
  const ProcessArgs OursArgs{Ours};
  const ProcessArgs PeerArgs{"ffplay", "-an", "-loglevel", "quiet", Clip};
  // Warm-up: loads the libraries into the page cache.
  if (TimeToFirstPicture(Server.Name(), OursArgs) < 0 || TimeToFirstPicture(Server.Name(), PeerArgs) < 0) {
    std::fprintf(stderr, "a program showed no window\n");
    return 1;
  }
  std::vector<double> OursTimes, PeerTimes;
  for (int R = 0; R < Rounds; ++R) {
    const double A = TimeToFirstPicture(Server.Name(), OursArgs);
    const double B = TimeToFirstPicture(Server.Name(), PeerArgs);
    if (A < 0 || B < 0) {
      std::fprintf(stderr, "round %d: a program showed no window\n", R + 1);
      return 1;
    }
    OursTimes.push_back(A);
    PeerTimes.push_back(B);
  }
  const double OursMedian = vantrel::bench::Median(OursTimes);
  const double PeerMedian = vantrel::bench::Median(PeerTimes);
  std::printf("vantrel to first painted window: %.1f ms (median of %d)\n", OursMedian * 1000, Rounds);
  std::printf("ffplay to first picture:         %.1f ms (median of %d)\n", PeerMedian * 1000, Rounds);
  std::printf("ratio %.2f\n", OursMedian / PeerMedian);
  return 0;
}
