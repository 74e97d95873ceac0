// The user-level tests' keyboard: text typed through the layout in force reaches a window
// as that very text, read the way a program reads keys (an input context of the locale,
// so dead keys compose), on the plain layout and on one with AltGr levels and dead keys.
#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <string>

#include "tests/app/x11/X11ProgramRun.h"

#include <X11/Xutil.h>

namespace {

using namespace vantrel::x11apptest;

// A window of the test's own that has the keyboard focus and collects the text of the key
// presses it gets.
class TTextWindow {
 public:
  explicit TTextWindow(Display* Dpy) : FDpy(Dpy) {
    std::setlocale(LC_CTYPE, "");
    XSetLocaleModifiers("");
    FIm = XOpenIM(FDpy, nullptr, nullptr, nullptr);
    FWindow = XCreateSimpleWindow(FDpy, DefaultRootWindow(FDpy), 10, 10, 200, 100, 0, 0, 0xFFFFFF);
    XSelectInput(FDpy, FWindow, KeyPressMask | KeyReleaseMask | StructureNotifyMask);
    XMapWindow(FDpy, FWindow);
    XEvent E{};
    do XWindowEvent(FDpy, FWindow, StructureNotifyMask, &E);
    while (E.type != MapNotify);
    XSetInputFocus(FDpy, FWindow, RevertToParent, CurrentTime);
    if (FIm)
      FIc = XCreateIC(FIm, XNInputStyle, XIMPreeditNothing | XIMStatusNothing, XNClientWindow, FWindow, XNFocusWindow,
                      FWindow, nullptr);
    XSync(FDpy, False);
  }
  ~TTextWindow() {
    if (FIc) XDestroyIC(FIc);
    if (FIm) XCloseIM(FIm);
    XDestroyWindow(FDpy, FWindow);
    XSync(FDpy, False);
  }
  TTextWindow(const TTextWindow&) = delete;
  TTextWindow& operator=(const TTextWindow&) = delete;

  bool HasInputContext() const { return FIc != nullptr; }

  // The text of the key presses that have arrived.
  std::string Text() {
    XSync(FDpy, False);
    std::string Out;
    while (XPending(FDpy)) {
      XEvent E{};
      XNextEvent(FDpy, &E);
      if (XFilterEvent(&E, None) || E.type != KeyPress) continue;
      char Buffer[64] = {};
      KeySym Sym = NoSymbol;
      Status Got = 0;
      const int Length = Xutf8LookupString(FIc, &E.xkey, Buffer, sizeof Buffer - 1, &Sym, &Got);
      if (Got == XLookupChars || Got == XLookupBoth) Out.append(Buffer, static_cast<size_t>(Length));
    }
    return Out;
  }

 private:
  Display* FDpy;
  XIM FIm = nullptr;
  XIC FIc = nullptr;
  Window FWindow = 0;
};

// The keyboard layout ALayout for the test's life; the plain one again after it.
class TLayout {
 public:
  explicit TLayout(const std::string& ALayout) { FSet = std::system(("setxkbmap -layout " + ALayout).c_str()) == 0; }
  ~TLayout() {
    if (std::system("setxkbmap -layout us") != 0) ADD_FAILURE() << "the plain layout could not be restored";
  }
  TLayout(const TLayout&) = delete;
  TLayout& operator=(const TLayout&) = delete;
  bool Set() const { return FSet; }

 private:
  bool FSet = false;
};

TEST(UserKeyboard, TypesTextThroughTheLevelsAndDeadKeysOfTheLayoutInForce) {
  const TXConnection Connection = OpenTestDisplay();
  ASSERT_NE(Connection, nullptr) << "run under a virtual X server";
  Display* Dpy = Connection.get();
  struct TCase {
    const char* Layout;
    std::string Text;  // typed, and read back as it stands
  };
  const TCase Cases[] = {
      {"us", "Hello, World! ~|{}\"<>?_+ 0129"},        // the plain and the Shift level
      {"de", "Grüße @ 5 € µ zyZY"},                     // AltGr levels; Y and Z swapped
      {"de", "café â ^"},                                // dead keys, and one with a space
      {"fr", "àéèç azerty AZERTY 1234"},                 // digits on the Shift level
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(std::string(C.Layout) + ": " + C.Text);
    const TLayout Layout(C.Layout);
    ASSERT_TRUE(Layout.Set()) << "setxkbmap (x11-xkb-utils) is needed";
    TTextWindow Window(Dpy);
    ASSERT_TRUE(Window.HasInputContext());
    EXPECT_TRUE(TypeText(Dpy, C.Text));
    EXPECT_EQ(Window.Text(), C.Text);
  }
}

TEST(UserKeyboard, StopsAtACharacterTheLayoutCannotTypeAndSaysSo) {
  const TXConnection Connection = OpenTestDisplay();
  ASSERT_NE(Connection, nullptr) << "run under a virtual X server";
  Display* Dpy = Connection.get();
  const TLayout Layout("us");
  ASSERT_TRUE(Layout.Set()) << "setxkbmap (x11-xkb-utils) is needed";
  TTextWindow Window(Dpy);
  EXPECT_FALSE(TypeText(Dpy, "ab\xE4\xB8\xAD" "c"));  // a CJK character: no key on this layout
  EXPECT_EQ(Window.Text(), "ab");
}

TEST(UserKeyboard, PressesChordsWithTheirModifiers) {
  const TXConnection Connection = OpenTestDisplay();
  ASSERT_NE(Connection, nullptr) << "run under a virtual X server";
  Display* Dpy = Connection.get();
  const TLayout Layout("de");
  ASSERT_TRUE(Layout.Set()) << "setxkbmap (x11-xkb-utils) is needed";
  TTextWindow Window(Dpy);
  PressKeys(Dpy, "shift+a");
  PressKeys(Dpy, "altgr+q");
  PressKeys(Dpy, "b");
  EXPECT_EQ(Window.Text(), "A@b");
  EXPECT_THROW(PressKeys(Dpy, "ctrl+NoSuchKey"), std::invalid_argument);
  EXPECT_THROW(PressKeys(Dpy, "hyper+a"), std::invalid_argument);
}

}  // namespace
