// Window regions: ownership of the handle, the display's shape of a top-level window,
// and the point test that hit testing uses.
#include "platform/win/WindowRegion.h"

#include "platform/win/GdiInternal.h"
#include "platform/win/Paint.h"
#include "platform/win/PaintState.h"

namespace vantrel::win {

bool WindowTakesPoint(const WindowManager& M, const Window* W, POINT Screen) {
  if (W->IsTopLevel() && (W->ExStyle & WS_EX_LAYERED) && (W->ExStyle & WS_EX_TRANSPARENT)) return false;
  const Region* Shape = WindowShape(W);
  if (!Shape) return true;
  const POINT O = M.WindowOrigin(W);
  return Shape->Contains(Screen.X - O.X, Screen.Y - O.Y);
}

}  // namespace vantrel::win

using namespace vantrel::win;

int SetWindowRgn(HWND Wnd, HRGN Rgn, BOOL Redraw) {
  WindowManager* M = WindowManager::Instance();
  Window* W = M ? M->FindOrFail(Wnd) : nullptr;
  if (!W) {
    if (!M) SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  WindowPaintData& D = PaintDataOf(W);
  std::shared_ptr<RegionObject> New;
  if (Rgn) {
    New = RegionOf(Rgn);
    // A region another window owns cannot be given away again.
    if (!New || (New->Owned() && Rgn != D.WindowRgn)) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return 0;
    }
  }
  const RECT OldArea = W->Rect;
  if (Rgn != D.WindowRgn) {
    if (D.WindowRgn) {
      if (auto Old = RegionOf(D.WindowRgn)) Old->SetOwned(false);
      DeleteObject(D.WindowRgn);
    }
    D.WindowRgn = Rgn;
    if (New) New->SetOwned(true);
  }
  if (W->IsTopLevel() && W->HasNative) {
    if (New) {
      const std::vector<RECT> Rects = New->FRegion.Rects();
      M->GetDisplay().SetNativeWindowShape(Wnd, &Rects);
    } else {
      M->GetDisplay().SetNativeWindowShape(Wnd, nullptr);
    }
  }
  RefreshWindowDcs(*M, TopLevelOf(W));
  if (Redraw && M->IsVisible(W)) {
    RedrawTree(*M, W, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    if (W->Parent) {
      // What the new shape cut away shows the parent again.
      Region Exposed(OldArea);
      RedrawTree(*M, W->Parent, &Exposed, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    }
  }
  return 1;
}

int GetWindowRgn(HWND Wnd, HRGN Rgn) {
  WindowManager* M = WindowManager::Instance();
  Window* W = M ? M->FindOrFail(Wnd) : nullptr;
  if (!W) return ERROR;
  auto Out = RegionOf(Rgn);
  const Region* Shape = WindowShape(W);
  if (!Out || !Shape) return ERROR;
  Out->FRegion = *Shape;
  return Out->FRegion.Complexity();
}
