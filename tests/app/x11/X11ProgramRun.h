// The built program on the virtual X server, as a person's desktop starts it: a scratch
// home with its own XDG folders, and a PATH whose first folder holds a stub `xdg-open`
// that records the pages it is asked to open. Plus what a test reads of its windows.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "tests/support/TempDir.h"

#include <X11/Xlib.h>

namespace vantrel::x11apptest {

class TProgramRun {
 public:
  TProgramRun();  // starts `vantrel`; Started() tells whether it did
  ~TProgramRun();  // kills the program when a test leaves it running
  TProgramRun(const TProgramRun&) = delete;
  TProgramRun& operator=(const TProgramRun&) = delete;

  bool Started() const { return FPid > 0; }
  // The exit code once the program ends within ASeconds; -1 when it does not (or dies of
  // a signal).
  int WaitExit(double ASeconds);
  const test::TTempDir& Home() const { return FHome; }
  // What the stub `xdg-open` was given, one call a line.
  std::string OpenedPages() const;

 private:
  test::TTempDir FHome;
  pid_t FPid = -1;
};

// A connection to the X server the test runs on (DISPLAY), closed with it; empty when
// there is none.
using TXConnection = std::unique_ptr<Display, int (*)(Display*)>;
TXConnection OpenTestDisplay();

// The mapped top-level window called AName (inside its frame when a window manager runs),
// or 0 when none appears within ASeconds.
Window WaitForWindow(Display* Dpy, const std::string& AName, double ASeconds);
// Waits (up to 10 s) until the window's top band (its caption bar) shows at least
// AColours different colours: a painted skin frame does, an unpainted window shows one.
size_t WaitForPaintedCaption(Display* Dpy, Window W, size_t AColours);
// Sends the window manager's close request (WM_DELETE_WINDOW).
void AskToClose(Display* Dpy, Window W);

// A window's pixels as the server shows them, 0x00RRGGBB, rows top to bottom.
struct TCapture {
  int Width = 0;
  int Height = 0;
  std::vector<uint32_t> Pixels;
  uint32_t At(int X, int Y) const { return Pixels[static_cast<size_t>(Y) * Width + X]; }
};
TCapture CaptureWindow(Display* Dpy, Window W);
// Saves a capture as a PNG to look at (false when it cannot be written).
bool SaveCapture(const TCapture& C, const std::string& FileName);

}  // namespace vantrel::x11apptest
