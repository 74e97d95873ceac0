// Composing the off-screen display's screen from the pixels last presented for each
// native window, blended as LayerBlend.h says.
#include <algorithm>

#include "platform/display/HeadlessDisplay.h"
#include "platform/display/LayerBlend.h"
#include "platform/win/Regions.h"

namespace vantrel::display {

bool HeadlessDisplay::ComposeScreen(win::Surface& Out) const {
  const uint32_t Desktop = DesktopColor() & 0xFFFFFF;
  for (int Y = 0; Y < Out.Height(); ++Y) std::fill_n(Out.Row(Y), Out.Width(), Desktop);
  for (auto It = FStacking.rbegin(); It != FStacking.rend(); ++It) {
    auto Found = FWindows.find(*It);
    if (Found == FWindows.end()) continue;
    const NativeWindow& N = Found->second;
    if (!N.Visible || !N.Presented || N.Alpha == 0) continue;
    const win::Surface& Src = *N.Presented;
    win::Region Area(RECT{0, 0, Src.Width(), Src.Height()});
    if (N.Shape) Area.Intersect(win::Region(N.Shape->data(), N.Shape->size()));
    // To screen coordinates, and onto the screen.
    Area.Translate(N.Rect.Left, N.Rect.Top);
    Area.IntersectRect(RECT{0, 0, Out.Width(), Out.Height()});
    for (const RECT& R : Area.Rects())
      for (int Y = R.Top; Y < R.Bottom; ++Y) {
        const uint32_t* S = Src.Row(Y - N.Rect.Top);
        uint32_t* D = Out.Row(Y);
        for (int X = R.Left; X < R.Right; ++X) {
          D[X] = BlendLayerPixel(S[X - N.Rect.Left], D[X], N.Alpha, N.PerPixelAlpha);
        }
      }
  }
  return true;
}

}  // namespace vantrel::display
