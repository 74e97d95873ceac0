// The built program on a desktop with a window manager (openbox; where it is missing the
// test is skipped, or fails in CI): the window manager manages the main window once and
// draws no frame of its own around our skinned one, leaves the fixed-size window at its
// size, a file dropped on it is taken, and its close request ends the program with its
// settings.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "tests/app/x11/X11ProgramRun.h"
#include "tests/platform/display/x11/XdndSource.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestPaths.h"

#include <X11/Xatom.h>

namespace {

using namespace vantrel::x11apptest;
using namespace vantrel::x11test;

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

using ProgramUnderWindowManager = UserLevelTest;

TEST_F(ProgramUnderWindowManager, IsManagedOnceWithoutAFrameKeepsItsSizeTakesADropAndCloses) {
  // The fixture has started openbox and the program and waited for its painted window.
  const TCapture Shown = CaptureWindow(Dpy, Main);
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
  const TWindowSize Size = WindowSize(Dpy, Main);
  XResizeWindow(Dpy, Main, static_cast<unsigned>(Size.Width + 200), static_cast<unsigned>(Size.Height + 100));
  XSync(Dpy, False);
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  EXPECT_EQ(WindowSize(Dpy, Main).Width, Size.Width);
  EXPECT_EQ(WindowSize(Dpy, Main).Height, Size.Height);

  // A file dropped on the file list is taken.
  const std::string File = Program->Home().File("dropped.mp4");
  vantrel::test::CopyMediaFile(vantrel::test::FixturePath("v.mp4"), File);
  int X = 0, Y = 0;
  Window Child = 0;
  XTranslateCoordinates(Dpy, Main, Root, 300, 200, &X, &Y, &Child);
  const TXdndDropResult R = DropUriList(Dpy, Main, X, Y, FileUri(File) + "\r\n");
  EXPECT_TRUE(R.Accepted);
  EXPECT_TRUE(R.FinishedAccepted);

  AskToClose(Dpy, Main);
  EXPECT_EQ(Program->WaitExit(10), 0) << "the program did not end within 10 s";
  struct stat Info {};
  EXPECT_EQ(stat(Program->Home().File("config/vantrel/registry.ini").c_str(), &Info), 0) << "no settings were written";
}

}  // namespace
