// The headless window system for tests (RAII): a window manager on the off-screen
// display with a virtual clock starting at 1,000,000 ms. The test drives it: queued
// input, pumping, moving time, reading pixels. Tear-down destroys every window, so tests
// never see each other's windows.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/display/HeadlessDisplay.h"
#include "platform/rtl/Exceptions.h"
#include "platform/win/Clock.h"
#include "platform/win/Display.h"
#include "platform/win/Surface.h"
#include "platform/win/WindowManager.h"

namespace vantrel::display {

// A wait that can never end: nothing queued and no timer due (or none before the
// deadline), or a loop that never goes idle.
VANTREL_EXCEPTION(EHeadlessStall, Exception);

class HeadlessSession {
 public:
  explicit HeadlessSession(int ScreenWidth = HeadlessDisplay::DefaultWidth,
                           int ScreenHeight = HeadlessDisplay::DefaultHeight);
  ~HeadlessSession();
  HeadlessSession(const HeadlessSession&) = delete;
  HeadlessSession& operator=(const HeadlessSession&) = delete;

  win::WindowManager& Manager() { return *FManager; }

  // Message boxes answered by the session instead of shown: each is recorded and gets
  // its first button (IDOK for MB_OK). Clearing the shell's responder shows them.
  struct MessageBoxRecord {
    HWND Owner;
    std::string Text, Caption;
    UINT Flags;
  };
  std::vector<MessageBoxRecord> MessageBoxes;
  HeadlessDisplay& Display() { return *FDisplay; }
  win::VirtualClock& Clock() { return *FClock; }
  uint64_t Now() const { return FClock->Now(); }

  // Runs the loop until nothing is queued and no paint is pending, then the idle work;
  // again while the idle work queued more. Never fires a timer and never moves time
  // (handlers that poll GetTickCount aside).
  void PumpUntilIdle();
  // Moves time on by Ms, stopping at each due timer in turn (earliest first, ties in
  // the order they were set) to fire it and handle what it caused.
  void Advance(uint64_t Ms);
  // Pumps, and moves time to the next due timer, until Pred holds. Raises
  // EHeadlessStall at once when it would wait with nothing queued and no timer due, or
  // when the next timer lies beyond DeadlineMs from now.
  void RunUntil(const std::function<bool()>& Pred, uint64_t DeadlineMs = 60000);

  // The application's idle work (mouse enter/leave, hints, action updates), run by
  // PumpUntilIdle once the queue is empty.
  std::function<void()> OnIdle;
  // The exit code of a WM_QUIT that PumpUntilIdle took off the queue.
  std::optional<int> QuitCode;

  // Queued input in screen coordinates, routed when a message loop takes it.
  void Press(int X, int Y, int Button = win::rbLeft, UINT Modifiers = 0);
  void Release(int X, int Y, int Button = win::rbLeft, UINT Modifiers = 0);
  void Move(int X, int Y, UINT Modifiers = 0);
  void Wheel(int X, int Y, int Delta, UINT Modifiers = 0);
  // Key down and up.
  void Key(WORD Vk, UINT Modifiers = 0);
  void KeyDown(WORD Vk, UINT Modifiers = 0);
  void KeyUp(WORD Vk, UINT Modifiers = 0);
  void Type(const std::string& Text);
  void Drop(const std::vector<std::string>& Paths, int X, int Y);
  std::deque<win::RawInput> PendingInput() const;

  // The window (frame included) as it is drawn, after pending paints are done.
  win::Surface Capture(HWND Wnd);
  // The whole screen as the display composes it, after pending paints are done.
  win::Surface CaptureScreen();

 private:
  void Dispatch(MSG& M);
  // Sends every pending WM_NCPAINT/WM_PAINT and presents what they drew.
  void FlushPaints();
  void FireNextTimer();
  void Record(win::RawInput E);

  HeadlessDisplay* FDisplay;
  win::VirtualClock* FClock;
  std::unique_ptr<win::WindowManager> FManager;
};

}  // namespace vantrel::display
