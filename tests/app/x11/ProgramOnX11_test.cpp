// The built program on a real (virtual) X server: its main window appears with the skin's
// frame, closes when the window manager asks, and leaves its settings and the page it
// opens at exit behind. The page opener is a stub `xdg-open` first in PATH.
#include <gtest/gtest.h>

#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "app/MakerService.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestPaths.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

// The program under test, killed if a test leaves it running.
class TProgramProcess {
 public:
  TProgramProcess(const std::string& AProgram, const std::vector<std::string>& AEnv) {
    std::vector<char*> Argv{const_cast<char*>(AProgram.c_str()), nullptr};
    std::vector<char*> Envp;
    for (const std::string& E : AEnv) Envp.push_back(const_cast<char*>(E.c_str()));
    Envp.push_back(nullptr);
    if (posix_spawn(&FPid, AProgram.c_str(), nullptr, nullptr, Argv.data(), Envp.data()) != 0) FPid = -1;
  }
  ~TProgramProcess() {
    if (FPid > 0) {
      kill(FPid, SIGKILL);
      waitpid(FPid, nullptr, 0);
    }
  }
  TProgramProcess(const TProgramProcess&) = delete;
  TProgramProcess& operator=(const TProgramProcess&) = delete;
  bool Started() const { return FPid > 0; }
  // The exit code once the program ends within ASeconds; -1 when it does not (or dies of
  // a signal).
  int WaitExit(double ASeconds) {
    const auto End = Clock::now() + std::chrono::duration<double>(ASeconds);
    while (Clock::now() < End) {
      int ExitStatus = 0;
      if (waitpid(FPid, &ExitStatus, WNOHANG) == FPid) {
        FPid = -1;
        return WIFEXITED(ExitStatus) ? WEXITSTATUS(ExitStatus) : -1;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return -1;
  }

 private:
  pid_t FPid = -1;
};

std::string WindowName(Display* Dpy, Window W) {
  char* Name = nullptr;
  std::string Result;
  if (XFetchName(Dpy, W, &Name) && Name) Result = Name;
  if (Name) XFree(Name);
  return Result;
}

// The mapped top-level window called AName, or 0 when none appears within ASeconds.
Window WaitForWindow(Display* Dpy, const std::string& AName, double ASeconds) {
  const Window Root = DefaultRootWindow(Dpy);
  const auto End = Clock::now() + std::chrono::duration<double>(ASeconds);
  while (Clock::now() < End) {
    Window RootOut = 0, Parent = 0, *Children = nullptr;
    unsigned Count = 0;
    XGrabServer(Dpy);
    Window Found = 0;
    if (XQueryTree(Dpy, Root, &RootOut, &Parent, &Children, &Count)) {
      for (unsigned I = 0; I < Count && !Found; ++I) {
        XWindowAttributes A{};
        if (XGetWindowAttributes(Dpy, Children[I], &A) && A.map_state == IsViewable &&
            WindowName(Dpy, Children[I]) == AName)
          Found = Children[I];
      }
      if (Children) XFree(Children);
    }
    XUngrabServer(Dpy);
    XSync(Dpy, False);
    if (Found) return Found;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return 0;
}

// How many different colours the top band of a window shows (its caption bar).
size_t CaptionColours(Display* Dpy, Window W) {
  XWindowAttributes A{};
  if (!XGetWindowAttributes(Dpy, W, &A)) return 0;
  const int Band = std::min(A.height, 24);
  XImage* Image = XGetImage(Dpy, W, 0, 0, A.width, Band, AllPlanes, ZPixmap);
  if (!Image) return 0;
  std::set<unsigned long> Colours;
  for (int Y = 0; Y < Band; ++Y)
    for (int X = 0; X < A.width; ++X) Colours.insert(XGetPixel(Image, X, Y));
  XDestroyImage(Image);
  return Colours.size();
}

void AskToClose(Display* Dpy, Window W) {
  XEvent E{};
  E.xclient.type = ClientMessage;
  E.xclient.window = W;
  E.xclient.message_type = XInternAtom(Dpy, "WM_PROTOCOLS", False);
  E.xclient.format = 32;
  E.xclient.data.l[0] = static_cast<long>(XInternAtom(Dpy, "WM_DELETE_WINDOW", False));
  E.xclient.data.l[1] = CurrentTime;
  XSendEvent(Dpy, W, False, NoEventMask, &E);
  XFlush(Dpy);
}

TEST(ProgramOnX11, ShowsTheSkinnedMainWindowAndClosesWithSettingsAndThePageItOpensAtExit) {
  const char* DisplayName = std::getenv("DISPLAY");
  ASSERT_NE(DisplayName, nullptr) << "run under a virtual X server";
  vantrel::test::TTempDir Home;
  const std::string Stubs = Home.File("stubs"), Opened = Home.File("opened.txt");
  ASSERT_EQ(mkdir(Stubs.c_str(), 0700), 0);
  vantrel::test::WriteFileBytes(Stubs + "/xdg-open", "#!/bin/sh\necho \"$@\" >> '" + Opened + "'\n");
  ASSERT_EQ(chmod((Stubs + "/xdg-open").c_str(), 0700), 0);

  std::vector<std::string> Env;
  for (char** E = environ; *E; ++E) {
    const std::string Var = *E;
    if (Var.rfind("HOME=", 0) == 0 || Var.rfind("PATH=", 0) == 0 || Var.rfind("XDG_", 0) == 0) continue;
    Env.push_back(Var);
  }
  const char* Path = std::getenv("PATH");
  Env.push_back("PATH=" + Stubs + ":" + (Path ? Path : "/usr/bin:/bin"));
  Env.push_back("HOME=" + Home.Path());
  Env.push_back("XDG_CONFIG_HOME=" + Home.File("config"));
  Env.push_back("XDG_DATA_HOME=" + Home.File("data"));
  Env.push_back("XDG_CACHE_HOME=" + Home.File("cache"));
  Env.push_back("XDG_RUNTIME_DIR=" + Home.Path());

  Display* Dpy = XOpenDisplay(DisplayName);
  ASSERT_NE(Dpy, nullptr);
  TProgramProcess Program(vantrel::test::BinDir() + "/vantrel", Env);
  ASSERT_TRUE(Program.Started());
  const Window Main = WaitForWindow(Dpy, "Vantrel", 90);
  ASSERT_NE(Main, 0u) << "no mapped window named Vantrel";
  // The skin's frame paints the caption band in many shades; an unpainted window is one.
  size_t Colours = 0;
  for (int Try = 0; Try < 100 && Colours < 8; ++Try) {
    Colours = CaptionColours(Dpy, Main);
    if (Colours < 8) std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  EXPECT_GE(Colours, 8u);

  AskToClose(Dpy, Main);
  EXPECT_EQ(Program.WaitExit(10), 0) << "the program did not end within 10 s";
  XCloseDisplay(Dpy);

  struct stat Info {};
  EXPECT_EQ(stat(Home.File("config/vantrel/registry.ini").c_str(), &Info), 0) << "no settings were written";
  EXPECT_NE(vantrel::test::ReadFileBytes(Opened).find(vantrel::app::RecommendationPage), std::string::npos)
      << "opened: " << vantrel::test::ReadFileBytes(Opened);
}

}  // namespace
