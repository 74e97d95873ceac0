// Mouse capture.
#include "platform/win/Capture.h"

#include "platform/win/Input.h"
#include "platform/win/WindowManager.h"

namespace vantrel::win {

HWND InputState::Capture() const { return FCapture && FManager.IsLive(FCapture) ? FCapture : nullptr; }

HWND InputState::SetCaptureTo(HWND Wnd) {
  const HWND Old = Capture();
  FCapture = Wnd;
  // With a button down the desktop already sends us the pointer until its release.
  if (Window* W = FManager.Find(Wnd); W && FPhysicalButtons == 0) {
    while (W->Parent) W = W->Parent;
    FManager.GetDisplay().SetNativeCapture(W->Handle);
  }
  if (Old && Old != Wnd)
    if (Window* O = FManager.Find(Old)) FManager.Deliver(O, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(Wnd));
  return Old;
}

bool InputState::ReleaseCaptureNow() {
  const HWND Old = Capture();
  FCapture = nullptr;
  if (Old) FManager.GetDisplay().SetNativeCapture(nullptr);
  if (Old)
    if (Window* O = FManager.Find(Old)) FManager.Deliver(O, WM_CAPTURECHANGED, 0, 0);
  return true;
}

}  // namespace vantrel::win

using vantrel::win::WindowManager;

HWND SetCapture(HWND Wnd) {
  WindowManager* M = vantrel::win::OnGuiThread() ? WindowManager::Instance() : nullptr;
  if (!M) {
    SetLastError(ERROR_WINDOW_OF_OTHER_THREAD);
    return nullptr;
  }
  if (!Wnd) return M->Input().Capture();
  if (!M->FindOrFail(Wnd)) return nullptr;
  return M->Input().SetCaptureTo(Wnd);
}

BOOL ReleaseCapture() {
  WindowManager* M = vantrel::win::OnGuiThread() ? WindowManager::Instance() : nullptr;
  if (!M) {
    SetLastError(ERROR_WINDOW_OF_OTHER_THREAD);
    return FALSE;
  }
  return M->Input().ReleaseCaptureNow() ? TRUE : FALSE;
}

HWND GetCapture() {
  WindowManager* M = vantrel::win::OnGuiThread() ? WindowManager::Instance() : nullptr;
  return M ? M->Input().Capture() : nullptr;
}
