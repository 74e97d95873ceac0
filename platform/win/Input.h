// Input as the window manager delivers it: raw pointer, key, text and drop events from
// the display are routed one at a time when a message loop takes them. The state behind
// it (focus, activation, capture, buttons, double clicks, mouse tracking, the cursor, the
// caret, the pending key-menu key) lives in one InputState per window manager.
#pragma once

#include <cstdint>
#include <optional>

#include "platform/win/Capture.h"
#include "platform/win/Cursor.h"
#include "platform/win/Display.h"
#include "platform/win/Focus.h"
#include "platform/win/Keyboard.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Messages.h"

// --- Mouse API ----------------------------------------------------------------------------
constexpr WPARAM MK_XBUTTON1 = 0x0020;
constexpr WPARAM MK_XBUTTON2 = 0x0040;
constexpr int WHEEL_DELTA = 120;
inline SHORT GET_WHEEL_DELTA_WPARAM(WPARAM W) { return static_cast<SHORT>(HIWORD(W)); }
inline WORD GET_KEYSTATE_WPARAM(WPARAM W) { return LOWORD(W); }

constexpr DWORD TME_HOVER = 0x00000001;
constexpr DWORD TME_LEAVE = 0x00000002;
constexpr DWORD TME_NONCLIENT = 0x00000010;
constexpr DWORD TME_QUERY = 0x40000000;
constexpr DWORD TME_CANCEL = 0x80000000;
constexpr DWORD HOVER_DEFAULT = 0xFFFFFFFF;

struct TRACKMOUSEEVENT {
  DWORD cbSize = sizeof(TRACKMOUSEEVENT);
  DWORD dwFlags = 0;
  HWND hwndTrack = nullptr;
  DWORD dwHoverTime = 0;
};
using LPTRACKMOUSEEVENT = TRACKMOUSEEVENT*;

// TME_LEAVE: one WM_MOUSELEAVE (WM_NCMOUSELEAVE with TME_NONCLIENT) when the pointer
// leaves the window's client area (its frame); at once when it is not there now.
// TME_HOVER is accepted and never fires. TME_CANCEL ends tracking; TME_QUERY fills the
// record with what is tracked.
BOOL TrackMouseEvent(LPTRACKMOUSEEVENT EventTrack);
inline BOOL _TrackMouseEvent(LPTRACKMOUSEEVENT E) { return TrackMouseEvent(E); }

BOOL GetCursorPos(LPPOINT Point);
// Moves the pointer; the window under it gets a mouse move when a loop takes it.
BOOL SetCursorPos(int X, int Y);
// Swaps the meaning of the left and right buttons; returns the previous setting.
// GetSystemMetrics(SM_SWAPBUTTON) should report it too (see IsMouseButtonSwapped).
BOOL SwapMouseButton(BOOL Swap);

namespace vantrel::win {

class WindowManager;
struct Window;

// What a pointer position hits: the window and its WM_NCHITTEST answer.
struct HitResult {
  Window* W = nullptr;
  LRESULT Code = HTNOWHERE;
};

class InputState {
 public:
  // Installs itself as the queue's input router.
  explicit InputState(WindowManager& Manager);
  ~InputState();
  InputState(const InputState&) = delete;
  InputState& operator=(const InputState&) = delete;

  // One raw event, on the GUI thread inside a message fetch (Input.cpp, InputMouse.cpp,
  // InputKeys.cpp).
  void Route(RawInput&& Event);

  // Hooks of the window manager.
  // After ShowWindow: activates a top-level window that a showing command asks for.
  void WindowShown(Window* W, int Cmd);
  // After SetWindowPos: hidden active windows hand activation on; a visible top-level
  // window placed without SWP_NOACTIVATE becomes active.
  void PositionChanged(Window* W, UINT Flags, bool WasVisible);
  // The window is gone: no message of ours may reach it any more.
  void Forget(Window* W);

  // Focus and activation (Focus.cpp).
  HWND Focus() const;
  HWND Active() const;
  HWND SetFocusTo(HWND Wnd);
  // Makes Top (a top-level window) the active window; How is WA_ACTIVE or
  // WA_CLICKACTIVE. False when it could not (gone meanwhile).
  bool Activate(Window* Top, WPARAM How);
  // Activation leaves Leaving: its owner or the next top-level window in z-order takes it,
  // or no window is active any more.
  void ActivateNext(Window* Leaving);
  // No window is active any more (WM_ACTIVATEAPP FALSE; the focus is dropped).
  void DeactivateAll();
  bool AppActive() const { return FAppActive; }

  // Capture (Capture.cpp).
  HWND Capture() const;
  HWND SetCaptureTo(HWND Wnd);
  bool ReleaseCaptureNow();

  // Mouse.
  bool ButtonsSwapped() const { return FSwapButtons; }
  bool SetButtonsSwapped(bool Swap);
  bool PhysicalButtonDown(int Button) const { return (FPhysicalButtons >> Button) & 1; }
  // Hit test at a screen point (sends WM_NCHITTEST down the z-order, honouring regions,
  // disabled windows and HTTRANSPARENT).
  HitResult HitTest(POINT Screen);
  bool Track(TRACKMOUSEEVENT& E);

  // The pointer is over a window that is not ours (the display said so).
  bool PointerOutside() const { return FPointerOutside; }

  // Cursor shape.
  HCURSOR Cursor() const { return FCursor; }
  HCURSOR SetCursorShape(HCURSOR Cursor);

  // Keyboard: the Alt or F10 key that was pressed and released alone (0: none); the
  // default procedure turns its WM_SYSKEYUP into SC_KEYMENU.
  WPARAM PendingKeyMenu() const { return FKeyMenuPending; }
  void ClearPendingKeyMenu() { FKeyMenuPending = 0; }

  CaretState& Caret() { return FCaret; }

  // Move/size loop in progress.
  bool InSizeMove() const { return FInSizeMove; }
  void SetInSizeMove(bool V) { FInSizeMove = V; }

 private:
  void RouteMouse(RawInput& E);
  void RouteWheel(RawInput& E);
  void RouteKey(RawInput& E);
  void RouteText(RawInput& E);
  void RouteDesktopActivation(HWND Wnd);
  void RouteDesktopDeactivation();
  void SyncModifiers(UINT Modifiers, int Vk, bool KeyDown, bool KeyUp);
  WPARAM MouseKeys() const;
  void Post(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam, POINT Pt);
  HitResult HitIn(Window* W, POINT Screen);
  void CheckLeave(Window* Target, LRESULT Code, POINT Screen);
  void SendActivationMessages(Window* Top, HWND Old, WPARAM How);
  void SendActivateApp(bool Active);

  WindowManager& FManager;
  HWND FFocus = nullptr;
  HWND FActive = nullptr;
  bool FAppActive = false;
  HWND FCapture = nullptr;
  HCURSOR FCursor = nullptr;
  bool FSwapButtons = false;
  unsigned FPhysicalButtons = 0;  // bit per RawButton
  struct Click {
    HWND Wnd = nullptr;
    int Button = 0;
    bool NonClient = false;
    LRESULT Code = 0;
    uint64_t Time = 0;
    POINT Pos{};
  };
  std::optional<Click> FLastClick;  // the first click of a possible double click
  TRACKMOUSEEVENT FTracking{};    // hwndTrack 0: nothing tracked
  WPARAM FKeyMenuArmed = 0;       // VK_MENU or VK_F10 pressed with nothing else yet
  WPARAM FKeyMenuPending = 0;
  CaretState FCaret;
  bool FInSizeMove = false;
  bool FPointerOutside = false;
  bool FDesktopActivation = false;  // the desktop's focus change is being followed
};

// True when the buttons are swapped (for SM_SWAPBUTTON).
bool IsMouseButtonSwapped();

// A message for a modal loop of the window system (move/size): what GetMessage would
// return, except that on a virtual clock it returns false instead of waiting when
// nothing is queued, so a headless loop ends when its queued input is used up.
bool FetchModalMessage(WindowManager& M, MSG& Out);

}  // namespace vantrel::win
