// The skin library's utility unit: rectangle and point tests, integer minimum and maximum,
// Windows version tests, the screen and monitor areas, a screen grab, and the optional
// layered-window, monitor and composition entry points resolved once at start-up.
#pragma once

#include "platform/rtl/Types.h"
#include "platform/win/WinTypes.h"

class TBitmap;

// Rectangles and points. Width and height trap 32-bit overflow (EIntOverflow).
Integer RectWidth(const TRect& R);
Integer RectHeight(const TRect& R);
Boolean IsNullRect(const TRect& R);
TRect NullRect();
Boolean IsSameRect(const TRect& R1, const TRect& R2);
Boolean IsNullPoint(const TPoint& P);
// Right and bottom edges included.
Boolean IsPointInRect(const TRect& R, const TPoint& P);
// Both corners of Inner inside Outer by PtInRect (Outer's right and bottom excluded).
Boolean RectInRect(const TRect& Inner, const TRect& Outer);
inline Integer IntMax(Integer A, Integer B) { return A > B ? A : B; }
inline Integer IntMin(Integer A, Integer B) { return A < B ? A : B; }

// Windows version tests over GetVersion (major = lowest byte, minor = next byte).
void ReadWindowsVersion(Integer& Major, Integer& Minor);
Boolean IsWin2000OrLater();
Boolean IsXPOrLater();
Boolean IsVistaOrLater();
Boolean IsWindows7();

// Screen, monitors and windows.
Boolean IsMultiMonitor();
void GetScreenArea(Boolean WorkArea, TRect& R);
void GetMonitorArea(HWND Wnd, Boolean WorkArea, TRect& R);
void CopyScreenToBitmap(Integer X, Integer Y, TBitmap* Bitmap);
Boolean IsDwmCompositionEnabled();
void SetDwmTransitions(HWND Wnd, Boolean Enabled);
void SetWindowBlurBehind(HWND Wnd, Boolean Enable, HRGN Region);

namespace vantrel::skin {

// The source of the version tests; GetVersion of the platform by default. Tests replace
// it to see other Windows versions; nullptr restores the default.
using TVersionProvider = DWORD (*)();
void SetVersionProviderForTest(TVersionProvider Provider);

}  // namespace vantrel::skin
