// Rectangle, point, integer, version and screen helpers of the skin library's utility
// unit, and its optional monitor, layered-window and composition entry points.
#include "skin/core/drawing/SPUtils.h"

#include "platform/rtl/NumConv.h"
#include "platform/ui/Graphics.h"
#include "platform/win/Gdi.h"
#include "platform/win/SysMetrics.h"

namespace {

DWORD DefaultVersion() { return GetVersion(); }

// Constant-initialized, so the kernels' start-up may run the version tests before this
// unit's own dynamic initializers.
vantrel::skin::TVersionProvider VersionProvider = DefaultVersion;

}  // namespace

namespace vantrel::skin {

void SetVersionProviderForTest(TVersionProvider Provider) {
  VersionProvider = Provider ? Provider : DefaultVersion;
}

}  // namespace vantrel::skin

Integer RectWidth(const TRect& R) { return CheckedSub(R.Right, R.Left); }
Integer RectHeight(const TRect& R) { return CheckedSub(R.Bottom, R.Top); }

Boolean IsNullRect(const TRect& R) { return RectWidth(R) <= 0 || RectHeight(R) <= 0; }

TRect NullRect() { return Rect(0, 0, 0, 0); }

Boolean IsSameRect(const TRect& R1, const TRect& R2) {
  return R1.Left == R2.Left && R1.Top == R2.Top && R1.Right == R2.Right && R1.Bottom == R2.Bottom;
}

Boolean IsNullPoint(const TPoint& P) { return P.X == 0 || P.Y == 0; }

Boolean IsPointInRect(const TRect& R, const TPoint& P) {
  return P.X >= R.Left && P.X <= R.Right && P.Y >= R.Top && P.Y <= R.Bottom;
}

Boolean RectInRect(const TRect& Inner, const TRect& Outer) {
  return PtInRect(&Outer, Inner.TopLeft()) && PtInRect(&Outer, Inner.BottomRight());
}

void ReadWindowsVersion(Integer& Major, Integer& Minor) {
  const DWORD v = VersionProvider();
  Major = static_cast<Integer>(v & 0xFF);
  Minor = static_cast<Integer>((v >> 8) & 0xFF);
}

Boolean IsWin2000OrLater() {
  Integer major = 0, minor = 0;
  ReadWindowsVersion(major, minor);
  return major > 5 || (major == 5 && minor >= 0 && minor <= 2);
}

Boolean IsXPOrLater() {
  Integer major = 0, minor = 0;
  ReadWindowsVersion(major, minor);
  return major > 5 || (major == 5 && minor == 1);
}

Boolean IsVistaOrLater() {
  Integer major = 0, minor = 0;
  ReadWindowsVersion(major, minor);
  return major > 5;
}

Boolean IsWindows7() {
  Integer major = 0, minor = 0;
  ReadWindowsVersion(major, minor);
  return major == 6 && minor == 1;
}

// ---------------------------------------------------------------------------------------
// Optional entry points. On this platform they are the layer's own functions; the
// composition ones report composition as absent.

namespace {

using TMonitorFromWindow = HMONITOR (*)(HWND, DWORD);
using TGetMonitorInfo = BOOL (*)(HMONITOR, LPMONITORINFO);
using TDwmIsCompositionEnabled = HRESULT (*)(BOOL*);
using TDwmSetWindowAttribute = HRESULT (*)(HWND, DWORD, const void*, DWORD);
using TDwmEnableBlurBehindWindow = HRESULT (*)(HWND, const DWM_BLURBEHIND*);

struct TEntryPoints {
  TMonitorFromWindow MonitorFromWindow = nullptr;
  TGetMonitorInfo GetMonitorInfoA = nullptr;
  TDwmIsCompositionEnabled DwmIsCompositionEnabled = nullptr;
  TDwmSetWindowAttribute DwmSetWindowAttribute = nullptr;
  TDwmEnableBlurBehindWindow DwmEnableBlurBehindWindow = nullptr;
};

// Constant-initialized (all nil) and filled by the unit's start-up below.
TEntryPoints EntryPoints;

void LoadDwmApi() {
  EntryPoints.DwmIsCompositionEnabled = ::DwmIsCompositionEnabled;
  EntryPoints.DwmSetWindowAttribute = ::DwmSetWindowAttribute;
  EntryPoints.DwmEnableBlurBehindWindow = ::DwmEnableBlurBehindWindow;
}

struct TSPUtilsUnit {
  TSPUtilsUnit() {
    EntryPoints.MonitorFromWindow = ::MonitorFromWindow;
    EntryPoints.GetMonitorInfoA = ::GetMonitorInfoA;
    LoadDwmApi();
  }
  ~TSPUtilsUnit() { EntryPoints = TEntryPoints{}; }
};
const TSPUtilsUnit SPUtilsUnitInit;

}  // namespace

Boolean IsMultiMonitor() {
  return GetSystemMetrics(SM_CMONITORS) > 1 && EntryPoints.MonitorFromWindow &&
         EntryPoints.GetMonitorInfoA;
}

void GetScreenArea(Boolean WorkArea, TRect& R) {
  if (WorkArea)
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &R, 0);
  else
    R = Rect(0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
}

void GetMonitorArea(HWND Wnd, Boolean WorkArea, TRect& R) {
  if (!IsMultiMonitor()) {
    GetScreenArea(WorkArea, R);
    return;
  }
  HMONITOR monitor = EntryPoints.MonitorFromWindow(Wnd, MONITOR_DEFAULTTONEAREST);
  MONITORINFO info{};
  info.cbSize = 40;
  if (EntryPoints.GetMonitorInfoA(monitor, &info)) R = WorkArea ? info.rcWork : info.rcMonitor;
}

void CopyScreenToBitmap(Integer X, Integer Y, TBitmap* Bitmap) {
  if (!Bitmap) return;
  HDC screen = CreateDC("DISPLAY", nullptr, nullptr, nullptr);
  BitBlt(Bitmap->Canvas()->Handle(), 0, 0, Bitmap->Width(), Bitmap->Height(), screen, X, Y,
         SRCCOPY);
  DeleteDC(screen);
}

Boolean IsDwmCompositionEnabled() {
  if (!EntryPoints.DwmIsCompositionEnabled) return false;
  BOOL enabled = FALSE;
  EntryPoints.DwmIsCompositionEnabled(&enabled);
  return enabled != FALSE;
}

void SetDwmTransitions(HWND Wnd, Boolean Enabled) {
  if (!EntryPoints.DwmSetWindowAttribute) return;
  const BOOL value = Enabled ? 0 : -1;
  EntryPoints.DwmSetWindowAttribute(Wnd, DWMWA_TRANSITIONS_FORCEDISABLED, &value, 4);
}

void SetWindowBlurBehind(HWND Wnd, Boolean Enable, HRGN Region) {
  if (!EntryPoints.DwmEnableBlurBehindWindow) return;
  DWM_BLURBEHIND blur{};
  blur.dwFlags = DWM_BB_ENABLE | (Region ? DWM_BB_BLURREGION : 0);
  blur.fEnable = Enable;
  blur.hRgnBlur = Region;
  blur.fTransitionOnMaximized = FALSE;
  EntryPoints.DwmEnableBlurBehindWindow(Wnd, &blur);
}
