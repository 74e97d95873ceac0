// The update region of a window copied into a region object.
#include "platform/win/UpdateRegion.h"

#include "platform/win/GdiInternal.h"
#include "platform/win/PaintState.h"

using namespace vantrel::win;

int GetUpdateRgn(HWND Wnd, HRGN Rgn, BOOL Erase) {
  WindowManager* M = WindowManager::Instance();
  Window* W = M ? M->FindOrFail(Wnd) : nullptr;
  auto Out = RegionOf(Rgn);
  if (!W || !Out) return ERROR;
  if (Erase) {
    EraseNow(*M, W);
    if (!(W = M->Find(Wnd))) return ERROR;
  }
  Out->FRegion = PaintDataOf(W).Update;
  return Out->FRegion.Complexity();
}
