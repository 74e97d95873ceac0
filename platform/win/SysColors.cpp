// The standard desktop colour scheme and its stock brushes.
#include "platform/win/SysColors.h"

#include <mutex>

#include "platform/win/GdiInternal.h"

namespace {

constexpr COLORREF kColors[COLOR_COUNT] = {
    RGB(200, 200, 200),  // SCROLLBAR
    RGB(0, 0, 0),        // BACKGROUND
    RGB(153, 180, 209),  // ACTIVECAPTION
    RGB(191, 205, 219),  // INACTIVECAPTION
    RGB(240, 240, 240),  // MENU
    RGB(255, 255, 255),  // WINDOW
    RGB(100, 100, 100),  // WINDOWFRAME
    RGB(0, 0, 0),        // MENUTEXT
    RGB(0, 0, 0),        // WINDOWTEXT
    RGB(0, 0, 0),        // CAPTIONTEXT
    RGB(180, 180, 180),  // ACTIVEBORDER
    RGB(244, 247, 252),  // INACTIVEBORDER
    RGB(171, 171, 171),  // APPWORKSPACE
    RGB(51, 153, 255),   // HIGHLIGHT
    RGB(255, 255, 255),  // HIGHLIGHTTEXT
    RGB(240, 240, 240),  // BTNFACE
    RGB(160, 160, 160),  // BTNSHADOW
    RGB(109, 109, 109),  // GRAYTEXT
    RGB(0, 0, 0),        // BTNTEXT
    RGB(67, 78, 84),     // INACTIVECAPTIONTEXT
    RGB(255, 255, 255),  // BTNHIGHLIGHT
    RGB(105, 105, 105),  // 3DDKSHADOW
    RGB(227, 227, 227),  // 3DLIGHT
    RGB(0, 0, 0),        // INFOTEXT
    RGB(255, 255, 225),  // INFOBK
    RGB(181, 181, 181),  // (unused)
    RGB(0, 102, 204),    // HOTLIGHT
    RGB(185, 209, 234),  // GRADIENTACTIVECAPTION
    RGB(215, 228, 242),  // GRADIENTINACTIVECAPTION
    RGB(51, 153, 255),   // MENUHILIGHT
    RGB(240, 240, 240),  // MENUBAR
};

}  // namespace

DWORD GetSysColor(int Index) { return Index >= 0 && Index < COLOR_COUNT ? kColors[Index] : 0; }

HBRUSH GetSysColorBrush(int Index) {
  using namespace vantrel::win;
  if (Index < 0 || Index >= COLOR_COUNT) return nullptr;
  static std::once_flag Once;
  static HBRUSH Brushes[COLOR_COUNT];
  std::call_once(Once, [] {
    for (int i = 0; i < COLOR_COUNT; ++i)
      Brushes[i] = RegisterAs<BrushObject, HBRUSH>(std::make_shared<BrushObject>(BS_SOLID, kColors[i], 0), true);
  });
  return Brushes[Index];
}

TColor ColorToRGB(TColor Color) {
  if (Color < 0) return static_cast<TColor>(GetSysColor(Color & 0xFF));
  return Color;
}
