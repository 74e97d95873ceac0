// Where top-level windows end up. The window manager is the only user: it creates a
// native window for each top-level HWND, keeps it shown, placed, stacked and shaped like
// the HWND, presents the backing store, and takes raw pointer, key and drop events back.
// Two implementations: headless (tests) and x11 (the program).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/win/Surface.h"
#include "platform/win/TrayArea.h"
#include "platform/win/WinTypes.h"

// Modifier flags of raw key and pointer events (Windows' hot-key values).
constexpr UINT MOD_ALT = 0x0001;
constexpr UINT MOD_CONTROL = 0x0002;
constexpr UINT MOD_SHIFT = 0x0004;

namespace vantrel::win {

// PointerLeft: the pointer went over a window that is not ours. Activate: the desktop
// gave the focus to a top-level window (Wnd); Deactivate: to none of ours.
enum class RawInputKind {
  PointerMove,
  ButtonDown,
  ButtonUp,
  Wheel,
  KeyDown,
  KeyUp,
  Text,
  Drop,
  PointerLeft,
  Activate,
  Deactivate
};

enum RawButton { rbLeft = 0, rbRight = 1, rbMiddle = 2 };

// One raw event as a display reports it, in screen coordinates. The window manager
// routes it to a window when a message loop takes it.
// One picture of a window's icon: Width x Height pixels 0xAARRGGBB (alpha not
// premultiplied), rows top first.
struct IconPicture {
  int Width = 0;
  int Height = 0;
  std::vector<uint32_t> Pixels;
};

struct RawInput {
  RawInputKind Kind = RawInputKind::PointerMove;
  POINT Pos{};                      // pointer events and drops
  int Button = rbLeft;              // ButtonDown, ButtonUp
  int WheelDelta = 0;               // Wheel: multiples of 120, positive away from the user
  WORD Vk = 0;                      // KeyDown, KeyUp
  UINT Modifiers = 0;               // MOD_* held with the event
  // KeyDown: the display's keyboard layout gave the character (Char, 0: none), which
  // TranslateMessage then uses instead of its own table.
  bool LayoutChar = false;
  char32_t Char = 0;
  HWND Wnd = nullptr;               // Activate
  std::string Text;                 // Text: UTF-8
  std::vector<std::string> Paths;   // Drop
};

// What a display calls back into (the window manager).
class DisplayEvents {
 public:
  virtual ~DisplayEvents() = default;
  virtual void RawInputArrived(RawInput Event) = 0;
  // Part of a native window's pixels were lost and must be presented again (window
  // coordinates).
  virtual void Exposed(HWND Wnd, const RECT& Area) = 0;
  // The desktop placed a native window itself (a window manager's move); ScreenRect is
  // its new window rectangle, which the HWND takes on.
  virtual void NativeWindowMoved(HWND Wnd, const RECT& ScreenRect) = 0;
  // True when a drop of files at the screen point would be taken (the window there or
  // one of its ancestors accepts files).
  virtual bool AcceptsFilesAt(POINT Screen) = 0;
};

class Display {
 public:
  virtual ~Display() = default;

  virtual const char* Name() const = 0;
  virtual TSize ScreenSize() const = 0;
  // The part of the screen that windows may cover (screen minus panels).
  virtual RECT WorkArea() const = 0;
  // The colour under all windows (0x00RRGGBB pixel value).
  virtual uint32_t DesktopColor() const = 0;

  // Native windows, one per top-level HWND; ScreenRect is the HWND's window rectangle.
  virtual void CreateNativeWindow(HWND Wnd, const RECT& ScreenRect, DWORD Style, DWORD ExStyle) = 0;
  virtual void DestroyNativeWindow(HWND Wnd) = 0;
  virtual void ShowNativeWindow(HWND Wnd, bool Visible) = 0;
  virtual void MoveNativeWindow(HWND Wnd, const RECT& ScreenRect) = 0;
  // All top-level HWNDs that have native windows, topmost first.
  virtual void RestackNativeWindows(const std::vector<HWND>& TopFirst) = 0;
  // Shape in window coordinates as a list of rectangles; nullptr: the whole rectangle.
  virtual void SetNativeWindowShape(HWND Wnd, const std::vector<RECT>* Shape) = 0;
  // Constant alpha 0..255; PerPixel: the backing store's alpha channel (premultiplied).
  virtual void SetNativeWindowAlpha(HWND Wnd, BYTE ConstantAlpha, bool PerPixel) = 0;
  // Shows Area (window coordinates) of the window's backing store.
  virtual void Present(HWND Wnd, const Surface& BackingStore, const RECT& Area) = 0;
  // Fills Out (from the screen's top-left corner) with what the screen shows; false
  // when the display cannot read it back.
  virtual bool ComposeScreen(Surface& Out) const {
    (void)Out;
    return false;
  }

  // The top-level window's text changed (its title on the desktop).
  virtual void SetNativeWindowText(HWND, const std::string&) {}
  // The top-level window's icon as the desktop shows it (task list, window switcher), one
  // picture per size; empty: none of its own.
  virtual void SetNativeWindowIcon(HWND, const std::vector<IconPicture>&) {}
  // The id of a native child window that shows Child's client area, for code that draws
  // there itself (a video player); 0 when the display has none.
  virtual uintptr_t NativeChildWindow(HWND Child) {
    (void)Child;
    return 0;
  }

  // Where the pointer is and which buttons (bit per RawButton) are down now, wherever it
  // is on the desktop; false when the display cannot tell. GUI thread.
  virtual bool QueryPointer(POINT& Pos, unsigned& Buttons) {
    (void)Pos;
    (void)Buttons;
    return false;
  }
  // Capture taken without a button down (Top: the capturing window's top-level window)
  // must see clicks outside our windows too; nullptr: capture ended.
  virtual void SetNativeCapture(HWND Top) { (void)Top; }
  // The window manager made Wnd (a top-level window) the active window itself: the
  // desktop's focus follows.
  virtual void ActivateNativeWindow(HWND) {}

  // The desktop's notification area, when the display speaks to one; nullptr: none (the
  // window manager keeps the tray it has).
  virtual std::unique_ptr<TrayArea> MakeTrayArea() { return nullptr; }

  virtual void SetCursorShape(HCURSOR) {}
  // A sound for MessageBeep (Type: 0 or an MB_ICON* value).
  virtual void Beep(UINT) {}
  virtual std::string ClipboardText() { return FClipboard; }
  virtual void SetClipboardText(const std::string& Text) { FClipboard = Text; }

  // A descriptor the message loop polls with its wake-up (-1: none), and the call that
  // turns whatever arrived on it into DisplayEvents calls. GUI thread only.
  virtual int EventFd() const { return -1; }
  virtual void ProcessEvents(DisplayEvents&) {}
  // True when events were already read from the descriptor and wait in the display's own
  // queue, so a wait on EventFd would not see them.
  virtual bool EventsPending() const { return false; }

 private:
  std::string FClipboard;
};

}  // namespace vantrel::win
