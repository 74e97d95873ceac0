// Native child windows: the placement the display keeps them at.
#include "platform/win/NativeHost.h"

#include "platform/win/PaintState.h"
#include "platform/win/WindowManager.h"

namespace vantrel::win {

bool HostPlacementOf(HWND Wnd, HostPlacement& Out) {
  WindowManager* M = WindowManager::Instance();
  Window* W = M && M->IsGuiThread() ? M->Find(Wnd) : nullptr;
  if (!W || W->IsTopLevel() || W->Destroying) return false;
  Out.Top = TopLevelOf(W)->Handle;
  const POINT O = OffsetInTop(*M, W, true);
  Out.Client = {O.X, O.Y, O.X + W->ClientRect.Right - W->ClientRect.Left,
                O.Y + W->ClientRect.Bottom - W->ClientRect.Top};
  Out.Shown = M->IsVisible(W);
  Out.Visible.clear();
  if (Out.Shown) {
    Region R = VisibleRegion(*M, W, true, true);
    R.Translate(-O.X, -O.Y);
    Out.Visible = R.Rects();
  }
  return true;
}

}  // namespace vantrel::win

uintptr_t NativeWindowId(HWND Wnd) {
  vantrel::win::WindowManager* M = vantrel::win::WindowManager::Instance();
  if (!M || !M->IsGuiThread()) return 0;
  const vantrel::win::Window* W = M->Find(Wnd);
  if (!W || W->IsTopLevel()) return 0;
  return M->GetDisplay().NativeChildWindow(Wnd);
}
