// The painting layer's per-window data: made on first use, released with the window.
#include "platform/win/PaintState.h"

#include "platform/win/GdiInternal.h"

namespace vantrel::win {

WindowPaintData::~WindowPaintData() {
  if (WindowRgn) {
    if (auto R = RegionOf(WindowRgn)) R->SetOwned(false);
    UnregisterGdiObject(WindowRgn);
  }
  // A DC outliving its window draws nowhere; ReleaseDC/EndPaint still free it.
  for (const WindowDcRec& Rec : Dcs)
    if (auto D = DcOf(Rec.Dc)) D->SetTarget(nullptr, POINT{0, 0}, Region());
}

WindowPaintData& PaintDataOf(Window* W) {
  if (!W->Paint) W->Paint = std::make_shared<WindowPaintData>();
  return *W->Paint;
}

const Region* WindowShape(const Window* W) {
  if (!W->Paint || !W->Paint->WindowRgn) return nullptr;
  auto R = RegionOf(W->Paint->WindowRgn);
  return R ? &R->FRegion : nullptr;
}

bool ShowsLayeredContents(const Window* W) {
  return W->Paint && W->Paint->UpdateLayered && (W->ExStyle & WS_EX_LAYERED) && W->IsTopLevel();
}

Window* TopLevelOf(Window* W) {
  while (W && W->Parent) W = W->Parent;
  return W;
}

void MarkDirty(Window* Top, const Region& Area) {
  if (!Top || Area.Empty()) return;
  PaintDataOf(Top).Dirty.Union(Area);
}

}  // namespace vantrel::win
