// Typing into the program's edits through the keyboard layouts users have: French, German
// (AltGr and a dead key), Russian, and a character an input tool types through a key it
// remaps on the fly. The open dialog's "File name" field takes the text; Ctrl+A then
// Ctrl+C hands it to the clipboard, where the test reads exactly what the field holds.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

#include "tests/app/x11/X11ProgramRun.h"

#include <X11/XKBlib.h>
#include <X11/Xatom.h>

namespace {

using namespace vantrel::x11apptest;

// The main window's client size and the "Add Video" button in it; the open dialog's
// "File name" field in its bottom band (80 high).
constexpr int KbMainClientWidth = 792, KbMainClientHeight = 449;
constexpr int KbAddVideoX = 45, KbAddVideoY = 29 + 45;
constexpr int KbDialogBandHeight = 80;
constexpr int KbNameFieldX = 70 + 40, KbNameFieldY = 10 + 10;

// The server's layout for the test's life (the US one after it), checked first: the key
// that layout moves must give the layout's keysym.
class TKbServerLayout {
 public:
  TKbServerLayout(const std::string& AName, unsigned AKeyCode, int ALevel, unsigned long AKeysym) {
    if (std::system(("setxkbmap -layout " + AName).c_str()) != 0) return;
    Display* D = XOpenDisplay(nullptr);  // a fresh copy of the map
    if (!D) return;
    FSet = XkbKeycodeToKeysym(D, static_cast<KeyCode>(AKeyCode), 0, ALevel) == AKeysym;
    XCloseDisplay(D);
  }
  ~TKbServerLayout() {
    if (std::system("setxkbmap -layout us") != 0) ADD_FAILURE() << "the US layout could not be restored";
  }
  TKbServerLayout(const TKbServerLayout&) = delete;
  TKbServerLayout& operator=(const TKbServerLayout&) = delete;
  bool Set() const { return FSet; }

 private:
  bool FSet = false;
};

// The CLIPBOARD as UTF-8 text, asked of its owner by a window of the test's own; empty
// when nobody answers within 5 s.
std::string KbClipboardText(Display* Dpy) {
  const Atom Clipboard = XInternAtom(Dpy, "CLIPBOARD", False);
  const Atom Utf8 = XInternAtom(Dpy, "UTF8_STRING", False);
  const Atom Into = XInternAtom(Dpy, "VANTREL_TEST_PASTE", False);
  const Window W = XCreateSimpleWindow(Dpy, DefaultRootWindow(Dpy), 0, 0, 1, 1, 0, 0, 0);
  XConvertSelection(Dpy, Clipboard, Utf8, Into, W, CurrentTime);
  XFlush(Dpy);
  std::string Text;
  const auto End = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (std::chrono::steady_clock::now() < End) {
    XEvent E{};
    if (!XCheckTypedWindowEvent(Dpy, W, SelectionNotify, &E)) {
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
      continue;
    }
    if (E.xselection.property == None) break;
    Atom Type = 0;
    int Format = 0;
    unsigned long Count = 0, After = 0;
    unsigned char* Data = nullptr;
    if (XGetWindowProperty(Dpy, W, Into, 0, 1 << 20, True, AnyPropertyType, &Type, &Format, &Count, &After, &Data) ==
            Success &&
        Data) {
      Text.assign(reinterpret_cast<char*>(Data), Count);
      XFree(Data);
    }
    break;
  }
  XDestroyWindow(Dpy, W);
  return Text;
}

class UserKeyboardLayouts : public UserLevelTest {
 protected:
  // Opens the open dialog from "Add Video"; its "File name" field's point in it.
  Window OpenDialog(int& FieldX, int& FieldY) {
    const auto [Border, ClientTop] = ClientOrigin(Dpy, Main, KbMainClientWidth, KbMainClientHeight);
    ClickAt(Dpy, Main, Border + KbAddVideoX, ClientTop + KbAddVideoY);
    const Window Dialog = WaitForWindow(Dpy, "Open file", 20);
    if (!Dialog) return 0;
    WaitForPaintedCaption(Dpy, Dialog, 8);
    FieldX = Border + KbNameFieldX;
    FieldY = WindowSize(Dpy, Dialog).Height - Border - KbDialogBandHeight + KbNameFieldY;
    // Until its controls are painted, the field's place is black.
    WaitUntil([&] { return CaptureWindow(Dpy, Dialog).At(FieldX, FieldY) != 0; }, 10);
    return Dialog;
  }
  // What the field holds, by Ctrl+A and Ctrl+C (the chords as the layout in force names
  // those keys).
  std::string FieldText(const char* ASelectAll = "ctrl+a", const char* ACopy = "ctrl+c") {
    // The test holds the clipboard first, so the copy shows as the program taking it.
    const Atom Clipboard = XInternAtom(Dpy, "CLIPBOARD", False);
    const Window Holder = XCreateSimpleWindow(Dpy, DefaultRootWindow(Dpy), 0, 0, 1, 1, 0, 0, 0);
    XSetSelectionOwner(Dpy, Clipboard, Holder, CurrentTime);
    XSync(Dpy, False);
    PressKeys(Dpy, ASelectAll);
    PressKeys(Dpy, ACopy);
    const bool Copied = WaitUntil([&] { return XGetSelectionOwner(Dpy, Clipboard) != Holder; }, 5);
    XDestroyWindow(Dpy, Holder);
    return Copied ? KbClipboardText(Dpy) : std::string("<nothing copied>");
  }
};

TEST_F(UserKeyboardLayouts, EachLayoutsCharactersReachTheFieldAndCtrlAReplacesItsText) {
  int FieldX = 0, FieldY = 0;
  const Window Dialog = OpenDialog(FieldX, FieldY);
  ASSERT_NE(Dialog, 0u) << "\"Add Video\" opened no open dialog";
  ClickAt(Dpy, Dialog, FieldX, FieldY);
  ASSERT_TRUE(WaitForFocus(Dpy, Dialog, 10)) << "the open dialog never took the keyboard focus";
  ASSERT_TRUE(TypeText(Dpy, "old name"));
  ASSERT_EQ(FieldText(), "old name");

  struct TCase {
    const char* Layout;
    unsigned KeyCode;  // a key the layout moves, and what it gives there
    int Level;
    unsigned long Keysym;
    const char* Text;  // typed over the whole field after Ctrl+A
    const char* SelectAll = "ctrl+a";
    const char* Copy = "ctrl+c";
  };
  const TCase Cases[] = {
      {"fr", 11, 0, 0xe9, "\xC3\xA9" "1\xC3\xA0"},       // e-acute, Shift+& is 1, a-grave
      {"fr", 19, 2, '@', "a@b"},                         // AltGr+a-grave
      {"de", 26, 2, 0x20ac, "\xE2\x82\xAC" "5"},         // AltGr+E: the euro sign
      {"de", 49, 0, 0xfe52, "\xC3\xAA"},                 // dead circumflex, then e
      // Cyrillic letters; Ctrl with the keys of US A and C is still Ctrl+A and Ctrl+C.
      {"ru", 38, 0, 0x6c6, "\xD1\x84\xD0\xB8\xD0\xBB", "ctrl+Cyrillic_ef", "ctrl+Cyrillic_es"},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(std::string(C.Layout) + ": " + C.Text);
    const TKbServerLayout Layout(C.Layout, C.KeyCode, C.Level, C.Keysym);
    ASSERT_TRUE(Layout.Set()) << "the layout did not take effect on the server";
    ClickAt(Dpy, Dialog, FieldX, FieldY);
    PressKeys(Dpy, C.SelectAll);
    ASSERT_TRUE(TypeText(Dpy, C.Text));
    EXPECT_EQ(FieldText(C.SelectAll, C.Copy), C.Text);
  }

  // An input tool types a character the US layout lacks by remapping a spare key for it.
  ClickAt(Dpy, Dialog, FieldX, FieldY);
  PressKeys(Dpy, "ctrl+a");
  ASSERT_EQ(std::system("xdotool type --delay 200 'x\xC3\xA9y'"), 0) << "xdotool is needed";
  EXPECT_EQ(FieldText(), "x\xC3\xA9y");
  PressKeys(Dpy, "Escape");
}

}  // namespace
