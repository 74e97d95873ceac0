// The built program on the virtual X server, as a person's desktop starts it: a scratch
// home with its own XDG folders, and a PATH whose first folder holds a stub `xdg-open`
// that records the pages it is asked to open. A window manager (openbox) beside it, the
// pointer and the keyboard as a person uses them (XTest: events the server takes for the
// real devices, never calls into the program), and what a test reads of the windows.
#pragma once

#include <sys/types.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/TempDir.h"

#include <X11/Xlib.h>

namespace vantrel::x11apptest {

// Program start options: extra command-line arguments, and environment entries
// "NAME=value" that are added to (or replace) the test's own.
struct TProgramOptions {
  std::vector<std::string> Args;
  std::vector<std::string> Env;
};

class TProgramRun {
 public:
  TProgramRun();  // starts `vantrel`; Started() tells whether it did
  // Starts `vantrel` with AOptions.Args after the program's name and AOptions.Env over the
  // scratch environment (an entry replaces the variable of the same name, HOME included).
  explicit TProgramRun(const TProgramOptions& AOptions);
  ~TProgramRun();  // kills the program when a test leaves it running
  TProgramRun(const TProgramRun&) = delete;
  TProgramRun& operator=(const TProgramRun&) = delete;

  // True from a successful start until WaitExit has seen the program end.
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

// openbox on the test's display for the test's life, with a scratch home of its own for
// its caches; ended (SIGTERM) with the object. Running() is false when it is not
// installed or did not take over the screen (_NET_SUPPORTING_WM_CHECK) within 10 s.
class TWindowManagerRun {
 public:
  explicit TWindowManagerRun(Display* Dpy);
  ~TWindowManagerRun();
  TWindowManagerRun(const TWindowManagerRun&) = delete;
  TWindowManagerRun& operator=(const TWindowManagerRun&) = delete;
  bool Running() const { return FRunning; }

 private:
  test::TTempDir FHome;
  pid_t FPid = -1;
  bool FRunning = false;
};

// The fixture every user-level test derives from. SetUp opens the test display, starts
// openbox (when it cannot: the test fails where the environment has CI set, as a CI run
// must not pass a test it never ran, and is skipped elsewhere), starts the program with
// Options() and waits (up to 90 s) for the mapped main window "Vantrel" with its caption
// and client area painted. TearDown closes the program (AskToClose, then kill) unless the
// test ended it (WaitExit saw it end), then ends the window manager.
class UserLevelTest : public ::testing::Test {
 protected:
  // What the program is started with; a test overrides it for arguments or environment.
  virtual TProgramOptions Options() const { return {}; }
  void SetUp() override;
  void TearDown() override;

  Display* Dpy = nullptr;
  Window Main = 0;  // the main window (inside the manager's frame)
  std::unique_ptr<TProgramRun> Program;

 private:
  TXConnection FConnection{nullptr, XCloseDisplay};
  std::unique_ptr<TWindowManagerRun> FManager;
};

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
  // Outside the capture (an empty one included) 0, black as a window not painted yet, so
  // a wait for a painted point asks again.
  uint32_t At(int X, int Y) const {
    return X < 0 || Y < 0 || X >= Width || Y >= Height ? 0 : Pixels[static_cast<size_t>(Y) * Width + X];
  }
};
// Empty (Width 0) while the window cannot be read: not viewable, or not whole on the screen.
TCapture CaptureWindow(Display* Dpy, Window W);
// Saves a capture as a PNG to look at (false when it cannot be written).
bool SaveCapture(const TCapture& C, const std::string& FileName);

// Pointer. Points are in window W's own coordinates (0, 0 = its top-left corner, inside
// any frame); each call waits until the server has taken its events (XSync).
// Moves the pointer to (X, Y) of W.
void MovePointerTo(Display* Dpy, Window W, int X, int Y);
// Moves there, then presses and releases the button (1 left, 2 middle, 3 right).
void ClickAt(Display* Dpy, Window W, int X, int Y, unsigned Button = 1);
// Two clicks of button 1 at (X, Y), one right after the other.
void DoubleClickAt(Display* Dpy, Window W, int X, int Y);
// Button 1 pressed at (X0, Y0), moved in steps to (X1, Y1), released.
void DragFromTo(Display* Dpy, Window W, int X0, int Y0, int X1, int Y1);
// Notches > 0 turns the wheel down (button 5), < 0 up (button 4), with the pointer at (X, Y).
void TurnWheel(Display* Dpy, Window W, int X, int Y, int Notches);

// Keyboard. The events go to the window that has the keyboard focus.
// A chord of X keysym names joined by '+', with the modifiers ctrl, shift, alt, altgr:
// "Return", "Escape", "Down", "F2", "ctrl+a", "alt+f", "shift+Tab". The modifiers are
// pressed in order, then the key that carries the keysym (at whatever level), then all
// are released in reverse. Throws std::invalid_argument for a name X does not know or a
// keysym no key carries.
void PressKeys(Display* Dpy, const std::string& AChord);
// Types UTF-8 text through the keyboard map in force (the current group): each character
// by its keycode and level (Shift; AltGr = ISO_Level3_Shift for levels 3/4), or by a dead
// key and then the base character (as the compose rules of the locale, LC_ALL, LC_CTYPE
// or LANG, combine them) when the layout has no key of its own for it. "\n" is Return,
// "\t" Tab. False (having typed the characters before it) when a character cannot be
// typed with this layout.
bool TypeText(Display* Dpy, const std::string& AUtf8);

// Window helpers.
// The viewable top-level window called ATitle (inside its frame when a window manager
// runs) now, else 0.
Window FindWindow(Display* Dpy, const std::string& ATitle);
// The same for a window called ATitle other than AExcept: a second window of that name,
// such as a message box titled like the main window.
Window FindOtherWindow(Display* Dpy, const std::string& ATitle, Window AExcept);
// The first viewable window that AMatch accepts among the root's children and theirs in
// turn, two levels down (a top-level window, or one inside the window manager's frame),
// looked at with the server held still; 0: none now.
Window FindTopLevel(Display* Dpy, const std::function<bool(Window)>& AMatch);
// W's size (its own, without the window manager's frame); 0 x 0 when W is gone.
struct TWindowSize {
  int Width = 0;
  int Height = 0;
};
TWindowSize WindowSize(Display* Dpy, Window W);
// Where the client area of the program's window W starts, for a client area of
// AClientWidth x AClientHeight: the skin's frame has the same border left, right and
// below (Border), and the caption above the client area (Top: the client area's top).
struct TClientOrigin {
  int Border = 0;
  int Top = 0;
};
TClientOrigin ClientOrigin(Display* Dpy, Window W, int AClientWidth, int AClientHeight);
// True once W is no longer viewable (unmapped, or inside an unmapped frame) or destroyed,
// within ASeconds.
bool WaitForUnmap(Display* Dpy, Window W, double ASeconds);
// Calls ACondition every 50 ms until it holds (true) or ASeconds have passed (false).
bool WaitUntil(const std::function<bool()>& ACondition, double ASeconds);
// True once the keyboard focus is on W (or a window inside it), within ASeconds. A window
// that has just opened gets the focus when the window manager gets round to it (a click
// into it too): keys sent before then go to the window that had it.
bool WaitForFocus(Display* Dpy, Window W, double ASeconds);
// The whole screen (the root window) as the server shows it.
TCapture CaptureScreen(Display* Dpy);
// W's top-left corner in screen (root window) coordinates.
std::pair<int, int> RootOrigin(Display* Dpy, Window W);

// The names in AFolder, hidden ones too (not "." and ".."), sorted; none when it cannot
// be read.
std::vector<std::string> FolderEntries(const std::string& AFolder);

// Steps of the program's own windows.
// Adds a file as a user does: "Add Video" on the main window Main (the window UserLevelTest
// finds); in the open dialog, once painted, a click into its "File name" field and, once
// the dialog has the keyboard focus, End and Shift+Home to select what the field still
// holds from the last time and AFile typed over it (TypeText: any name the layout in force
// can type); Open once the field shows text. True once the dialog has closed. False when
// no dialog opened, it never took the focus, the name could not be typed or does not show,
// or the dialog stayed up for 20 s after Open: the reason goes to stderr, a capture of the
// screen to x11-open-dialog-failed.png in the test's temporary folder.
bool AddThroughOpenDialog(Display* Dpy, Window Main, const std::string& AFile);
// Waits up to ASeconds for the conversion window AProgress to go, acknowledging as a user
// does the message box a job may end with (titled like the main window Main): once it is
// painted, a click on its text and, once it has the keyboard focus, Return. With
// ACaptureName the screen showing the box is saved under that name in the test's temporary
// folder. True once AProgress has gone; ANoticed (when given) tells whether a box came.
bool WaitForJobEnd(Display* Dpy, Window Main, Window AProgress, double ASeconds, bool* ANoticed = nullptr,
                   const std::string& ACaptureName = "");

}  // namespace vantrel::x11apptest
