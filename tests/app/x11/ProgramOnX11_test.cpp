// The built program on a real (virtual) X server: its main window appears with the skin's
// frame, closes when the window manager asks, and leaves its settings and the page it
// opens at exit behind. The page opener is a stub `xdg-open` first in PATH.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <string>

#include "app/MakerService.h"
#include "tests/app/x11/X11ProgramRun.h"

namespace {

using vantrel::x11apptest::TProgramRun;

TEST(ProgramOnX11, ShowsTheSkinnedMainWindowAndClosesWithSettingsAndThePageItOpensAtExit) {
  const vantrel::x11apptest::TXConnection Connection = vantrel::x11apptest::OpenTestDisplay();
  ASSERT_NE(Connection, nullptr) << "run under a virtual X server";
  Display* Dpy = Connection.get();
  TProgramRun Program;
  ASSERT_TRUE(Program.Started());
  const Window Main = vantrel::x11apptest::WaitForWindow(Dpy, "Vantrel", 90);
  ASSERT_NE(Main, 0u) << "no mapped window named Vantrel";
  // The skin's frame paints the caption band in many shades; an unpainted window is one.
  EXPECT_GE(vantrel::x11apptest::WaitForPaintedCaption(Dpy, Main, 8), 8u);

  vantrel::x11apptest::AskToClose(Dpy, Main);
  EXPECT_EQ(Program.WaitExit(10), 0) << "the program did not end within 10 s";

  struct stat Info {};
  EXPECT_EQ(stat(Program.Home().File("config/vantrel/registry.ini").c_str(), &Info), 0) << "no settings were written";
  EXPECT_NE(Program.OpenedPages().find(vantrel::app::RecommendationPage), std::string::npos)
      << "opened: " << Program.OpenedPages();
}

}  // namespace
