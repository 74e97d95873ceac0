// Composing the off-screen display's screen from the pixels last presented for each
// native window. Each channel of a window with constant alpha a over what lies below:
// (src * a + dst * (255 - a) + 127) / 255. Per-pixel alpha takes premultiplied pixels:
// with pixel alpha A and constant alpha C, a = (A * C + 127) / 255 and each channel is
// (src * C + dst * (255 - a) + 127) / 255.
#include <algorithm>

#include "platform/display/HeadlessDisplay.h"
#include "platform/win/Regions.h"

namespace vantrel::display {

namespace {

uint32_t Channel(uint32_t P, int Shift) { return (P >> Shift) & 0xFF; }

uint32_t BlendConstant(uint32_t Src, uint32_t Dst, uint32_t A) {
  uint32_t Out = 0;
  for (int Shift : {0, 8, 16})
    Out |= ((Channel(Src, Shift) * A + Channel(Dst, Shift) * (255 - A) + 127) / 255) << Shift;
  return Out;
}

uint32_t BlendPremultiplied(uint32_t Src, uint32_t Dst, uint32_t C) {
  const uint32_t A = (Channel(Src, 24) * C + 127) / 255;
  uint32_t Out = 0;
  for (int Shift : {0, 8, 16})
    Out |= std::min<uint32_t>(255, (Channel(Src, Shift) * C + Channel(Dst, Shift) * (255 - A) + 127) / 255) << Shift;
  return Out;
}

}  // namespace

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
          const uint32_t P = S[X - N.Rect.Left];
          if (N.PerPixelAlpha)
            D[X] = BlendPremultiplied(P, D[X], N.Alpha);
          else if (N.Alpha == 255)
            D[X] = P & 0xFFFFFF;
          else
            D[X] = BlendConstant(P, D[X], N.Alpha);
        }
      }
  }
  return true;
}

}  // namespace vantrel::display
