// The off-screen display's records of native windows.
#include "platform/display/HeadlessDisplay.h"

#include <algorithm>
#include <cstring>

namespace vantrel::display {

HeadlessDisplay::HeadlessDisplay(int Width, int Height) : FWidth(Width), FHeight(Height) {}

void HeadlessDisplay::CreateNativeWindow(HWND Wnd, const RECT& ScreenRect, DWORD Style, DWORD ExStyle) {
  NativeWindow& N = FWindows[Wnd];
  N.Rect = ScreenRect;
  N.Style = Style;
  N.ExStyle = ExStyle;
  N.Presented = std::make_unique<win::Surface>(ScreenRect.Right - ScreenRect.Left,
                                               ScreenRect.Bottom - ScreenRect.Top, false);
}

void HeadlessDisplay::DestroyNativeWindow(HWND Wnd) {
  FWindows.erase(Wnd);
  std::erase(FStacking, Wnd);
}

void HeadlessDisplay::ShowNativeWindow(HWND Wnd, bool Visible) {
  auto It = FWindows.find(Wnd);
  if (It != FWindows.end()) It->second.Visible = Visible;
}

void HeadlessDisplay::MoveNativeWindow(HWND Wnd, const RECT& ScreenRect) {
  auto It = FWindows.find(Wnd);
  if (It == FWindows.end()) return;
  NativeWindow& N = It->second;
  const int W = ScreenRect.Right - ScreenRect.Left, H = ScreenRect.Bottom - ScreenRect.Top;
  if (W != N.Rect.Right - N.Rect.Left || H != N.Rect.Bottom - N.Rect.Top)
    N.Presented = std::make_unique<win::Surface>(W, H, false);
  N.Rect = ScreenRect;
}

void HeadlessDisplay::RestackNativeWindows(const std::vector<HWND>& TopFirst) { FStacking = TopFirst; }

void HeadlessDisplay::SetNativeWindowShape(HWND Wnd, const std::vector<RECT>* Shape) {
  auto It = FWindows.find(Wnd);
  if (It == FWindows.end()) return;
  if (Shape)
    It->second.Shape = *Shape;
  else
    It->second.Shape.reset();
}

void HeadlessDisplay::SetNativeWindowAlpha(HWND Wnd, BYTE ConstantAlpha, bool PerPixel) {
  auto It = FWindows.find(Wnd);
  if (It == FWindows.end()) return;
  It->second.Alpha = ConstantAlpha;
  It->second.PerPixelAlpha = PerPixel;
}

void HeadlessDisplay::SetNativeWindowIcon(HWND Wnd, const std::vector<win::IconPicture>& Icon) {
  auto It = FWindows.find(Wnd);
  if (It != FWindows.end()) It->second.Icon = Icon;
}

void HeadlessDisplay::Present(HWND Wnd, const win::Surface& BackingStore, const RECT& Area) {
  auto It = FWindows.find(Wnd);
  if (It == FWindows.end()) return;
  win::Surface& Dst = *It->second.Presented;
  const int Left = std::max({0, static_cast<int>(Area.Left)});
  const int Top = std::max(0, static_cast<int>(Area.Top));
  const int Right = std::min({static_cast<int>(Area.Right), Dst.Width(), BackingStore.Width()});
  const int Bottom = std::min({static_cast<int>(Area.Bottom), Dst.Height(), BackingStore.Height()});
  for (int Y = Top; Y < Bottom; ++Y)
    if (Right > Left)
      std::memcpy(Dst.Row(Y) + Left, BackingStore.Row(Y) + Left, static_cast<size_t>(Right - Left) * 4);
  ++It->second.PresentCount;
}

const HeadlessDisplay::NativeWindow* HeadlessDisplay::Native(HWND Wnd) const {
  auto It = FWindows.find(Wnd);
  return It == FWindows.end() ? nullptr : &It->second;
}

}  // namespace vantrel::display
