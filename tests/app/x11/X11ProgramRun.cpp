// The built program started on the virtual X server beside a window manager, and what a
// test reads of its windows.
#include "tests/app/x11/X11ProgramRun.h"

#include <dirent.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <stdexcept>
#include <thread>

#include "platform/display/HeadlessPng.h"
#include "platform/win/Surface.h"
#include "tests/support/TestPaths.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>

extern char** environ;

namespace vantrel::x11apptest {

namespace {

using RunClock = std::chrono::steady_clock;

std::string StubFolder(const test::TTempDir& Home) { return Home.File("stubs"); }
std::string OpenedFile(const test::TTempDir& Home) { return Home.File("opened.txt"); }

std::string NameOfWindow(Display* Dpy, Window W) {
  char* Name = nullptr;
  std::string Result;
  if (XFetchName(Dpy, W, &Name) && Name) Result = Name;
  if (Name) XFree(Name);
  return Result;
}

// The first viewable window among W's children, or their children in turn down to Depth
// more levels, that AMatch accepts; 0: none.
Window FindViewable(Display* Dpy, Window W, int Depth, const std::function<bool(Window)>& AMatch) {
  Window RootOut = 0, Parent = 0, *Children = nullptr;
  unsigned Count = 0;
  Window Found = 0;
  if (!XQueryTree(Dpy, W, &RootOut, &Parent, &Children, &Count)) return 0;
  for (unsigned I = 0; I < Count && !Found; ++I) {
    XWindowAttributes A{};
    if (!XGetWindowAttributes(Dpy, Children[I], &A) || A.map_state != IsViewable) continue;
    if (AMatch(Children[I]))
      Found = Children[I];
    else if (Depth > 0)
      Found = FindViewable(Dpy, Children[I], Depth - 1, AMatch);
  }
  if (Children) XFree(Children);
  return Found;
}

// While it lives, X errors (a window that is gone) are ignored instead of ending the test
// program; the requests made meanwhile have reached the server when it ends.
class TXErrorTrap {
 public:
  explicit TXErrorTrap(Display* Dpy) : FDpy(Dpy) {
    XSync(FDpy, False);
    FPrevious = XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
  }
  ~TXErrorTrap() {
    XSync(FDpy, False);
    XSetErrorHandler(FPrevious);
  }
  TXErrorTrap(const TXErrorTrap&) = delete;
  TXErrorTrap& operator=(const TXErrorTrap&) = delete;

 private:
  Display* FDpy;
  int (*FPrevious)(Display*, XErrorEvent*) = nullptr;
};

}  // namespace

TProgramRun::TProgramRun() : TProgramRun(TProgramOptions{}) {}

TProgramRun::TProgramRun(const TProgramOptions& AOptions) {
  const std::string Stubs = StubFolder(FHome);
  if (mkdir(Stubs.c_str(), 0700) != 0) throw std::runtime_error("cannot make " + Stubs);
  test::WriteFileBytes(Stubs + "/xdg-open", "#!/bin/sh\necho \"$@\" >> '" + OpenedFile(FHome) + "'\n");
  if (chmod((Stubs + "/xdg-open").c_str(), 0700) != 0) throw std::runtime_error("cannot make the stub runnable");

  std::vector<std::string> Env;
  for (char** E = environ; *E; ++E) {
    const std::string Var = *E;
    if (Var.rfind("HOME=", 0) == 0 || Var.rfind("PATH=", 0) == 0 || Var.rfind("XDG_", 0) == 0) continue;
    Env.push_back(Var);
  }
  const char* Path = std::getenv("PATH");
  Env.push_back("PATH=" + Stubs + ":" + (Path ? Path : "/usr/bin:/bin"));
  Env.push_back("HOME=" + FHome.Path());
  Env.push_back("XDG_CONFIG_HOME=" + FHome.File("config"));
  Env.push_back("XDG_DATA_HOME=" + FHome.File("data"));
  Env.push_back("XDG_CACHE_HOME=" + FHome.File("cache"));
  Env.push_back("XDG_RUNTIME_DIR=" + FHome.Path());
  for (const std::string& Entry : AOptions.Env) {
    const std::string Name = Entry.substr(0, Entry.find('=') + 1);
    std::erase_if(Env, [&](const std::string& Var) { return Var.rfind(Name, 0) == 0; });
    Env.push_back(Entry);
  }

  const std::string Program = test::BinDir() + "/vantrel";
  std::vector<char*> Argv{const_cast<char*>(Program.c_str())};
  for (const std::string& A : AOptions.Args) Argv.push_back(const_cast<char*>(A.c_str()));
  Argv.push_back(nullptr);
  std::vector<char*> Envp;
  for (const std::string& E : Env) Envp.push_back(const_cast<char*>(E.c_str()));
  Envp.push_back(nullptr);
  if (posix_spawn(&FPid, Program.c_str(), nullptr, nullptr, Argv.data(), Envp.data()) != 0) FPid = -1;
}

TProgramRun::~TProgramRun() {
  if (FPid > 0) {
    kill(FPid, SIGKILL);
    waitpid(FPid, nullptr, 0);
  }
}

int TProgramRun::WaitExit(double ASeconds) {
  if (FPid <= 0) return -1;
  const auto End = RunClock::now() + std::chrono::duration<double>(ASeconds);
  do {
    int ExitStatus = 0;
    if (waitpid(FPid, &ExitStatus, WNOHANG) == FPid) {
      FPid = -1;
      return WIFEXITED(ExitStatus) ? WEXITSTATUS(ExitStatus) : -1;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  } while (RunClock::now() < End);
  return -1;
}

std::string TProgramRun::OpenedPages() const { return test::ReadFileBytes(OpenedFile(FHome)); }

TXConnection OpenTestDisplay() {
  const char* Name = std::getenv("DISPLAY");
  return TXConnection(Name ? XOpenDisplay(Name) : nullptr, XCloseDisplay);
}

Window FindWindow(Display* Dpy, const std::string& ATitle) { return FindOtherWindow(Dpy, ATitle, 0); }

Window FindOtherWindow(Display* Dpy, const std::string& ATitle, Window AExcept) {
  return FindTopLevel(Dpy, [&](Window W) { return W != AExcept && NameOfWindow(Dpy, W) == ATitle; });
}

Window FindTopLevel(Display* Dpy, const std::function<bool(Window)>& AMatch) {
  XGrabServer(Dpy);
  const Window Found = FindViewable(Dpy, DefaultRootWindow(Dpy), 2, AMatch);
  XUngrabServer(Dpy);
  XSync(Dpy, False);
  return Found;
}

Window WaitForWindow(Display* Dpy, const std::string& AName, double ASeconds) {
  Window Found = 0;
  WaitUntil([&] { return (Found = FindWindow(Dpy, AName)) != 0; }, ASeconds);
  return Found;
}

bool WaitForUnmap(Display* Dpy, Window W, double ASeconds) {
  return WaitUntil(
      [&] {
        const TXErrorTrap Trap(Dpy);
        XWindowAttributes A{};
        return !XGetWindowAttributes(Dpy, W, &A) || A.map_state != IsViewable;
      },
      ASeconds);
}

bool WaitUntil(const std::function<bool()>& ACondition, double ASeconds) {
  const auto End = RunClock::now() + std::chrono::duration<double>(ASeconds);
  for (;;) {
    if (ACondition()) return true;
    if (RunClock::now() >= End) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
}

bool WaitForFocus(Display* Dpy, Window W, double ASeconds) {
  return WaitUntil(
      [&] {
        const TXErrorTrap Trap(Dpy);
        Window Focus = 0;
        int Revert = 0;
        XGetInputFocus(Dpy, &Focus, &Revert);
        for (int Depth = 0; Focus != None && Focus != PointerRoot && Depth < 16; ++Depth) {
          if (Focus == W) return true;
          Window Root = 0, Parent = 0, *Children = nullptr;
          unsigned Count = 0;
          if (!XQueryTree(Dpy, Focus, &Root, &Parent, &Children, &Count)) return false;
          if (Children) XFree(Children);
          if (Parent == Root) return false;
          Focus = Parent;
        }
        return false;
      },
      ASeconds);
}

std::pair<int, int> RootOrigin(Display* Dpy, Window W) {
  int X = 0, Y = 0;
  Window Child = 0;
  XTranslateCoordinates(Dpy, W, DefaultRootWindow(Dpy), 0, 0, &X, &Y, &Child);
  return {X, Y};
}

TCapture CaptureScreen(Display* Dpy) { return CaptureWindow(Dpy, DefaultRootWindow(Dpy)); }

size_t WaitForPaintedCaption(Display* Dpy, Window W, size_t AColours) {
  size_t Colours = 0;
  for (int Try = 0; Try < 100 && Colours < AColours; ++Try) {
    const TCapture C = CaptureWindow(Dpy, W);
    std::set<uint32_t> Seen;
    for (int Y = 0; Y < std::min(C.Height, 24); ++Y)
      for (int X = 0; X < C.Width; ++X) Seen.insert(C.At(X, Y));
    Colours = Seen.size();
    if (Colours < AColours) std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  return Colours;
}

void AskToClose(Display* Dpy, Window W) {
  const TXErrorTrap Trap(Dpy);  // the window may be gone with a program that ended
  XEvent E{};
  E.xclient.type = ClientMessage;
  E.xclient.window = W;
  E.xclient.message_type = XInternAtom(Dpy, "WM_PROTOCOLS", False);
  E.xclient.format = 32;
  E.xclient.data.l[0] = static_cast<long>(XInternAtom(Dpy, "WM_DELETE_WINDOW", False));
  E.xclient.data.l[1] = CurrentTime;
  XSendEvent(Dpy, W, False, NoEventMask, &E);
}

std::vector<std::string> FolderEntries(const std::string& AFolder) {
  std::vector<std::string> Names;
  if (DIR* D = opendir(AFolder.c_str())) {
    while (const dirent* E = readdir(D)) {
      const std::string Name = E->d_name;
      if (Name != "." && Name != "..") Names.push_back(Name);
    }
    closedir(D);
  }
  std::sort(Names.begin(), Names.end());
  return Names;
}

TWindowSize WindowSize(Display* Dpy, Window W) {
  const TXErrorTrap Trap(Dpy);
  XWindowAttributes A{};
  if (!XGetWindowAttributes(Dpy, W, &A)) return {};
  return {A.width, A.height};
}

TClientOrigin ClientOrigin(Display* Dpy, Window W, int AClientWidth, int AClientHeight) {
  const TWindowSize S = WindowSize(Dpy, W);
  const int Border = (S.Width - AClientWidth) / 2;
  return {Border, S.Height - AClientHeight - Border};
}

TCapture CaptureWindow(Display* Dpy, Window W) {
  TCapture C;
  XWindowAttributes A{};
  XImage* Image = nullptr;
  {
    // A window that is not viewable or not whole on the screen (just mapped, going, or
    // being moved) cannot be read: that capture is empty, and a caller that waits asks again.
    TXErrorTrap Trap(Dpy);
    if (!XGetWindowAttributes(Dpy, W, &A) || A.map_state != IsViewable) return C;
    Image = XGetImage(Dpy, W, 0, 0, static_cast<unsigned>(A.width), static_cast<unsigned>(A.height), AllPlanes,
                      ZPixmap);
  }
  if (!Image) return C;
  C.Width = A.width;
  C.Height = A.height;
  C.Pixels.resize(static_cast<size_t>(C.Width) * C.Height);
  for (int Y = 0; Y < C.Height; ++Y)
    for (int X = 0; X < C.Width; ++X)
      C.Pixels[static_cast<size_t>(Y) * C.Width + X] = static_cast<uint32_t>(XGetPixel(Image, X, Y)) & 0xFFFFFF;
  XDestroyImage(Image);
  return C;
}

bool SaveCapture(const TCapture& C, const std::string& FileName) {
  win::Surface S(C.Width, C.Height, false);
  for (int Y = 0; Y < C.Height; ++Y)
    for (int X = 0; X < C.Width; ++X) S.Row(Y)[X] = 0xFF000000u | C.At(X, Y);
  return display::SavePng(S, FileName);
}

namespace {

// The main window's client area and, in it, the "Add Video" button; the open dialog's
// bottom band (at the bottom of its client area) with the "File name" field from x 70,
// 10 below the band's top, 21 high, and Open 80 from the right edge, 70 x 25. Both windows
// have the skin's frame around their client area: the same border left, right and below.
constexpr int KitMainClientWidth = 792, KitMainClientHeight = 449;
constexpr int KitAddVideoX = 45, KitAddVideoY = 29 + 45;
constexpr int KitDialogBandHeight = 80;
constexpr int KitNameFieldX = 70 + 40, KitNameFieldY = 10 + 10;
constexpr int KitOpenFromRight = 80 - 35, KitOpenY = 10 + 12;

bool KitOpenDialogFailed(Display* Dpy, const std::string& AWhy) {
  SaveCapture(CaptureScreen(Dpy), testing::TempDir() + "x11-open-dialog-failed.png");
  std::fprintf(stderr, "AddThroughOpenDialog: %s\n", AWhy.c_str());
  return false;
}

}  // namespace

bool AddThroughOpenDialog(Display* Dpy, Window Main, const std::string& AFile) {
  const TClientOrigin M = ClientOrigin(Dpy, Main, KitMainClientWidth, KitMainClientHeight);
  const int Border = M.Border, ClientTop = M.Top;
  if (Border < 0 || ClientTop < Border) return KitOpenDialogFailed(Dpy, "the main window has not its usual size");
  ClickAt(Dpy, Main, Border + KitAddVideoX, ClientTop + KitAddVideoY);
  const Window Dialog = WaitForWindow(Dpy, "Open file", 20);
  if (!Dialog) return KitOpenDialogFailed(Dpy, "\"Add Video\" opened no open dialog");
  WaitForPaintedCaption(Dpy, Dialog, 8);
  const TWindowSize D = WindowSize(Dpy, Dialog);
  const int BandTop = D.Height - Border - KitDialogBandHeight;
  const int OpenX = D.Width - Border - KitOpenFromRight, OpenY = BandTop + KitOpenY;
  // Until its controls are painted, the Open button's place is black.
  if (!WaitUntil([&] { return CaptureWindow(Dpy, Dialog).At(OpenX, OpenY) != 0; }, 10))
    return KitOpenDialogFailed(Dpy, "the open dialog's controls were never painted");
  ClickAt(Dpy, Dialog, Border + KitNameFieldX, BandTop + KitNameFieldY);
  if (!WaitForFocus(Dpy, Dialog, 10))
    return KitOpenDialogFailed(Dpy, "the open dialog never took the keyboard focus");
  const int FieldX = Border + KitNameFieldX, FieldY = BandTop + KitNameFieldY;
  auto FieldInk = [&] {  // the field's dark (text) pixels; selected text is light on blue
    const TCapture C = CaptureWindow(Dpy, Dialog);
    int Ink = 0;
    for (int Y = FieldY - 6; Y <= FieldY + 6; ++Y)
      for (int X = FieldX - 30; X < FieldX + 120; ++X) Ink += (C.At(X, Y) & 0xFF) < 0x60;
    return Ink;
  };
  // What the field holds is selected whole (or it is empty) before the name goes over it:
  // a person looks, and selects again when a key did not take.
  bool Selected = false;
  for (int Try = 0; Try < 3 && !Selected; ++Try) {
    PressKeys(Dpy, "End");
    PressKeys(Dpy, "shift+Home");
    Selected = WaitUntil([&] { return FieldInk() <= 20; }, 3);
  }
  if (!Selected) return KitOpenDialogFailed(Dpy, "the \"File name\" field's text cannot be selected");
  if (!TypeText(Dpy, AFile)) return KitOpenDialogFailed(Dpy, "the name cannot be typed with this keyboard layout");
  if (!WaitUntil([&] { return FieldInk() > 50; }, 10))
    return KitOpenDialogFailed(Dpy, "the typed name does not show in the \"File name\" field");
  ClickAt(Dpy, Dialog, OpenX, OpenY);
  if (!WaitForUnmap(Dpy, Dialog, 20)) return KitOpenDialogFailed(Dpy, "Open left the dialog up");
  return true;
}

TWindowManagerRun::TWindowManagerRun(Display* Dpy) {
  std::vector<std::string> Env;
  for (char** E = environ; *E; ++E)
    if (std::string(*E).rfind("HOME=", 0) != 0) Env.push_back(*E);
  Env.push_back("HOME=" + FHome.Path());  // its caches go to the scratch home
  std::vector<char*> Envp;
  for (const std::string& E : Env) Envp.push_back(const_cast<char*>(E.c_str()));
  Envp.push_back(nullptr);
  // A manager that ran on this display before (an earlier test's) leaves its check window's
  // property behind: cleared, it shows only when this one has taken the display.
  const Atom Check = XInternAtom(Dpy, "_NET_SUPPORTING_WM_CHECK", False);
  XDeleteProperty(Dpy, DefaultRootWindow(Dpy), Check);
  XSync(Dpy, False);
  char Name[] = "openbox", SmOff[] = "--sm-disable";
  char* Argv[] = {Name, SmOff, nullptr};
  if (posix_spawnp(&FPid, Name, nullptr, nullptr, Argv, Envp.data()) != 0) {
    FPid = -1;
    return;
  }
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

TWindowManagerRun::~TWindowManagerRun() {
  if (FPid <= 0) return;
  kill(FPid, SIGTERM);
  waitpid(FPid, nullptr, 0);
}

void UserLevelTest::SetUp() {
  FConnection = OpenTestDisplay();
  ASSERT_NE(FConnection, nullptr) << "run under a virtual X server";
  Dpy = FConnection.get();
  FManager = std::make_unique<TWindowManagerRun>(Dpy);
  if (!FManager->Running()) {
    const char* Ci = std::getenv("CI");
    if (Ci && *Ci) FAIL() << "no window manager (openbox) to run: CI installs it (scripts/setup-deps)";
    GTEST_SKIP() << "no window manager (openbox) to run";
  }
  Program = std::make_unique<TProgramRun>(Options());
  ASSERT_TRUE(Program->Started()) << "vantrel did not start";
  Main = WaitForWindow(Dpy, "Vantrel", 90);
  ASSERT_NE(Main, 0u) << "no mapped window named Vantrel";
  ASSERT_GE(WaitForPaintedCaption(Dpy, Main, 8), 8u) << "the caption was never painted";
  // The client area paints after the caption: until then its middle is the black of a
  // window without a background.
  ASSERT_TRUE(WaitUntil(
      [&] {
        const TCapture C = CaptureWindow(Dpy, Main);
        return C.Width > 0 && C.At(C.Width / 2, C.Height / 2) != 0;
      },
      10))
      << "the client area was never painted";
}

void UserLevelTest::TearDown() {
  if (Program && Program->Started()) {
    const int Early = Program->WaitExit(0);
    if (!Program->Started())
      ADD_FAILURE() << "the program ended during the test (exit code " << Early << ")";
    else if (Main) {
      AskToClose(Dpy, Main);
      const int Code = Program->WaitExit(10);
      if (Code > 0) ADD_FAILURE() << "the program ended with exit code " << Code << " when asked to close";
    }
  }
  Program.reset();  // kills a program that did not end
  FManager.reset();
  FConnection.reset();
  Dpy = nullptr;
}

bool WaitForJobEnd(Display* Dpy, Window Main, Window AProgress, double ASeconds, bool* ANoticed,
                   const std::string& ACaptureName) {
  bool Seen = false, Acknowledged = false;
  const bool Ended = WaitUntil(
      [&] {
        if (!Acknowledged) {
          const Window Notice = FindOtherWindow(Dpy, "Vantrel", Main);
          if (Notice && WaitForPaintedCaption(Dpy, Notice, 2) >= 2) {
            Seen = true;
            if (!ACaptureName.empty()) SaveCapture(CaptureScreen(Dpy), testing::TempDir() + ACaptureName);
            ClickAt(Dpy, Notice, 12, WindowSize(Dpy, Notice).Height / 3);  // on its text: the box has the keys
            if (WaitForFocus(Dpy, Notice, 5)) {
              PressKeys(Dpy, "Return");
              Acknowledged = true;
            }
          }
        }
        return WaitForUnmap(Dpy, AProgress, 0);
      },
      ASeconds);
  if (ANoticed) *ANoticed = Seen;
  return Ended;
}

}  // namespace vantrel::x11apptest
