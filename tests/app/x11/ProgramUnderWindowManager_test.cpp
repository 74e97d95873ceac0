// The built program on a desktop with a window manager (openbox, when it is installed;
// else the test is skipped): the window manager manages the main window once and draws no
// frame of its own around our skinned one, leaves the fixed-size window at its size, a
// file dropped on it is taken, and its close request ends the program with its settings.
#include <gtest/gtest.h>

#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "tests/app/x11/X11ProgramRun.h"
#include "tests/platform/display/x11/XdndSource.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestPaths.h"

#include <X11/Xatom.h>

extern char** environ;

namespace {

using namespace vantrel::x11apptest;
using namespace vantrel::x11test;

// A window manager of its own on the test's display, ended with the test; Running() is
// false when none is installed or it did not take over the screen in time.
class TWindowManagerRun {
 public:
  explicit TWindowManagerRun(Display* Dpy) {
    std::vector<std::string> Env;
    for (char** E = environ; *E; ++E)
      if (std::string(*E).rfind("HOME=", 0) != 0) Env.push_back(*E);
    Env.push_back("HOME=" + FHome.Path());  // its caches go to the scratch home
    std::vector<char*> Envp;
    for (const std::string& E : Env) Envp.push_back(const_cast<char*>(E.c_str()));
    Envp.push_back(nullptr);
    char Name[] = "openbox", SmOff[] = "--sm-disable";
    char* Argv[] = {Name, SmOff, nullptr};
    if (posix_spawnp(&FPid, Name, nullptr, nullptr, Argv, Envp.data()) != 0) {
      FPid = -1;
      return;
    }
    const Atom Check = XInternAtom(Dpy, "_NET_SUPPORTING_WM_CHECK", False);
    for (int Try = 0; Try < 200 && !FRunning; ++Try) {
      int Ended = 0;
      if (waitpid(FPid, &Ended, WNOHANG) == FPid) {  // not installed or failed to start
        FPid = -1;
        return;
      }
      Atom Type = 0;
      int Format = 0;
      unsigned long Count = 0, After = 0;
      unsigned char* Data = nullptr;
      XGetWindowProperty(Dpy, DefaultRootWindow(Dpy), Check, 0, 1, False, XA_WINDOW, &Type, &Format, &Count, &After,
                         &Data);
      FRunning = Data && Count == 1;
      if (Data) XFree(Data);
      if (!FRunning) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
  }
  ~TWindowManagerRun() {
    if (FPid <= 0) return;
    kill(FPid, SIGTERM);
    waitpid(FPid, nullptr, 0);
  }
  TWindowManagerRun(const TWindowManagerRun&) = delete;
  TWindowManagerRun& operator=(const TWindowManagerRun&) = delete;
  bool Running() const { return FRunning; }

 private:
  vantrel::test::TTempDir FHome;
  pid_t FPid = -1;
  bool FRunning = false;
};

// A 32-bit property of W as numbers; empty when absent.
std::vector<long> WmCardinals(Display* Dpy, Window W, const char* AName, Atom AType) {
  Atom Type = 0;
  int Format = 0;
  unsigned long Count = 0, After = 0;
  unsigned char* Data = nullptr;
  std::vector<long> Out;
  if (XGetWindowProperty(Dpy, W, XInternAtom(Dpy, AName, False), 0, 64, False, AType, &Type, &Format, &Count, &After,
                         &Data) == Success &&
      Data && Format == 32)
    Out.assign(reinterpret_cast<long*>(Data), reinterpret_cast<long*>(Data) + Count);
  if (Data) XFree(Data);
  return Out;
}

// The size the server gives W.
std::pair<int, int> WmSizeOf(Display* Dpy, Window W) {
  XWindowAttributes A{};
  XGetWindowAttributes(Dpy, W, &A);
  return {A.width, A.height};
}

TEST(ProgramUnderWindowManager, IsManagedOnceWithoutAFrameKeepsItsSizeTakesADropAndCloses) {
  const TXConnection Connection = OpenTestDisplay();
  ASSERT_NE(Connection, nullptr) << "run under a virtual X server";
  Display* Dpy = Connection.get();
  const TWindowManagerRun Manager(Dpy);
  if (!Manager.Running()) GTEST_SKIP() << "no window manager (openbox) to run";

  TProgramRun Program;
  ASSERT_TRUE(Program.Started());
  const Window Main = WaitForWindow(Dpy, "Vantrel", 90);
  ASSERT_NE(Main, 0u) << "no mapped window named Vantrel";
  ASSERT_GE(WaitForPaintedCaption(Dpy, Main, 8), 8u);
  // The client area paints after the caption: until then its middle is the black of a
  // window without a background.
  TCapture Shown = CaptureWindow(Dpy, Main);
  for (int Try = 0; Try < 100 && Shown.Width > 0 && Shown.At(Shown.Width / 2, Shown.Height / 2) == 0; ++Try) {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    Shown = CaptureWindow(Dpy, Main);
  }
  SaveCapture(Shown, testing::TempDir() + "x11-window-manager.png");
  ASSERT_GT(Shown.Width, 0);
  EXPECT_NE(Shown.At(Shown.Width / 2, Shown.Height / 2), 0u) << "the client area was never painted";

  // Managed once, as a window of its own, with no frame of the window manager around it.
  const Window Root = DefaultRootWindow(Dpy);
  const std::vector<long> Clients = WmCardinals(Dpy, Root, "_NET_CLIENT_LIST", XA_WINDOW);
  EXPECT_EQ(std::count(Clients.begin(), Clients.end(), static_cast<long>(Main)), 1);
  std::vector<long> Extents;
  for (int Try = 0; Try < 50 && Extents.empty(); ++Try) {
    Extents = WmCardinals(Dpy, Main, "_NET_FRAME_EXTENTS", XA_CARDINAL);
    if (Extents.empty()) std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  EXPECT_EQ(Extents, (std::vector<long>{0, 0, 0, 0})) << "the window manager draws a frame of its own";

  // The main window has one size: asked to make it larger, the window manager keeps it.
  const std::pair<int, int> Size = WmSizeOf(Dpy, Main);
  XResizeWindow(Dpy, Main, static_cast<unsigned>(Size.first + 200), static_cast<unsigned>(Size.second + 100));
  XSync(Dpy, False);
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  EXPECT_EQ(WmSizeOf(Dpy, Main), Size);

  // A file dropped on the file list is taken.
  const std::string File = Program.Home().File("dropped.mp4");
  vantrel::test::CopyMediaFile(vantrel::test::FixturePath("v.mp4"), File);
  int X = 0, Y = 0;
  Window Child = 0;
  XTranslateCoordinates(Dpy, Main, Root, 300, 200, &X, &Y, &Child);
  const TXdndDropResult R = DropUriList(Dpy, Main, X, Y, FileUri(File) + "\r\n");
  EXPECT_TRUE(R.Accepted);
  EXPECT_TRUE(R.FinishedAccepted);

  AskToClose(Dpy, Main);
  EXPECT_EQ(Program.WaitExit(10), 0) << "the program did not end within 10 s";
  struct stat Info {};
  EXPECT_EQ(stat(Program.Home().File("config/vantrel/registry.ini").c_str(), &Info), 0) << "no settings were written";
}

}  // namespace
