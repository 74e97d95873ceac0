// Keyboard routing: key events become WM_KEYDOWN/UP for the focus window, WM_SYSKEYDOWN/UP
// for Alt chords, F10 and when no window has the focus (then the active window takes
// them); text events become WM_CHAR per code point. Alt or F10 pressed and released with
// nothing in between is marked for the default procedure's SC_KEYMENU.
#include "platform/rtl/Utf8.h"
#include "platform/win/Input.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/WindowManager.h"

namespace vantrel::win {

void InputState::RouteKey(RawInput& E) {
  const int Vk = E.Vk;
  const bool Down = E.Kind == RawInputKind::KeyDown;
  const bool WasDown = GetKeyState(Vk) < 0;
  SyncModifiers(E.Modifiers, Vk, Down, !Down);
  SetKeyDown(Vk, Down);
  const bool Alt = GetKeyState(VK_MENU) < 0 || (!Down && Vk == VK_MENU);
  const bool Ctrl = GetKeyState(VK_CONTROL) < 0;
  const bool Shift = GetKeyState(VK_SHIFT) < 0;
  if (Down) {
    // Alt alone, or F10 with no modifier, may open the menu when released untouched.
    if (Vk == VK_MENU && !Ctrl && !Shift)
      FKeyMenuArmed = VK_MENU;
    else if (Vk == VK_F10 && !Ctrl && !Shift && !Alt)
      FKeyMenuArmed = VK_F10;
    else if (!(Vk == VK_MENU && FKeyMenuArmed == VK_MENU))
      FKeyMenuArmed = 0;
    FKeyMenuPending = 0;
  } else if (static_cast<WPARAM>(Vk) == FKeyMenuArmed) {
    FKeyMenuPending = FKeyMenuArmed;
    FKeyMenuArmed = 0;
  } else {
    FKeyMenuArmed = 0;
  }
  HWND Target = Focus();
  const bool NoFocus = !Target;
  if (NoFocus) Target = Active();
  if (!Target) return;
  const bool Sys = NoFocus || Vk == VK_F10 || (Alt && !Ctrl);
  const UINT Msg = Down ? (Sys ? WM_SYSKEYDOWN : WM_KEYDOWN) : (Sys ? WM_SYSKEYUP : WM_KEYUP);
  DWORD Flags = 1;  // repeat count
  if (Alt && !Ctrl) Flags |= static_cast<DWORD>(KF_ALTDOWN) << 16;
  if (Down ? WasDown : true) Flags |= static_cast<DWORD>(KF_REPEAT) << 16;
  if (!Down) Flags |= static_cast<DWORD>(KF_UP) << 16;
  LPARAM LParam = static_cast<LPARAM>(static_cast<LONG>(Flags));
  if (Down && E.LayoutChar) LParam |= KeyCharGiven | (static_cast<LPARAM>(E.Char & 0x1FFFFF) << KeyCharShift);
  Post(Target, Msg, static_cast<WPARAM>(Vk), LParam, FManager.CursorPos());
}

void InputState::RouteText(RawInput& E) {
  const HWND Target = Focus();
  if (!Target) return;
  FKeyMenuArmed = FKeyMenuPending = 0;
  for (char32_t C : Utf8ToCodePoints(E.Text)) Post(Target, WM_CHAR, C, 1, FManager.CursorPos());
}

}  // namespace vantrel::win

using vantrel::win::WindowManager;

SHORT GetAsyncKeyState(int VirtKey) {
  WindowManager* M = WindowManager::Instance();
  if (!M || VirtKey < 0 || VirtKey > 255) return 0;
  vantrel::win::InputState& I = M->Input();
  // Mouse buttons: the physical ones.
  int Physical = -1;
  if (VirtKey == VK_LBUTTON) Physical = vantrel::win::rbLeft;
  if (VirtKey == VK_RBUTTON) Physical = vantrel::win::rbRight;
  if (VirtKey == VK_MBUTTON) Physical = vantrel::win::rbMiddle;
  if (Physical >= 0) {
    // A release made outside our windows counts too, where the display can tell.
    unsigned Buttons = 0;
    POINT Pos{};
    if (M->IsGuiThread() && M->GetDisplay().QueryPointer(Pos, Buttons))
      return ((Buttons >> Physical) & 1) ? static_cast<SHORT>(0x8000) : 0;
    return I.PhysicalButtonDown(Physical) ? static_cast<SHORT>(0x8000) : 0;
  }
  return (M->Queue().KeyStates[VirtKey] & 0x80) ? static_cast<SHORT>(0x8000) : 0;
}

BOOL GetKeyboardState(BYTE* KeyState) {
  WindowManager* M = vantrel::win::OnGuiThread() ? WindowManager::Instance() : nullptr;
  if (!M || !KeyState) return FALSE;
  for (int I = 0; I < 256; ++I) KeyState[I] = M->Queue().KeyStates[I];
  return TRUE;
}

BOOL MessageBeep(UINT Type) {
  WindowManager* M = WindowManager::Instance();
  if (!M) return FALSE;
  M->GetDisplay().Beep(Type);
  return TRUE;
}
