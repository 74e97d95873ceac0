// System metrics of this window system: a flat 1-pixel border, 3 more pixels for a
// sizing frame, a 20-pixel caption; screen and work area from the display.
#include "platform/win/SysMetrics.h"
#include "platform/win/Input.h"

#include "platform/win/Timers.h"
#include "platform/win/WindowManager.h"

using vantrel::win::WindowManager;

namespace {

constexpr int BorderWidth = 1;
constexpr int FrameWidth = 4;  // border + 3
constexpr int CaptionHeight = 20;
constexpr int CaptionButton = 18;
const HMONITOR PrimaryMonitor = reinterpret_cast<HMONITOR>(0x10001);

TSize ScreenForMetrics() {
  WindowManager* M = WindowManager::Instance();
  return M ? M->GetDisplay().ScreenSize() : TSize{0, 0};
}

RECT Work() {
  WindowManager* M = WindowManager::Instance();
  return M ? M->GetDisplay().WorkArea() : RECT{};
}

}  // namespace

int GetSystemMetrics(int Index) {
  switch (Index) {
    case SM_CXSCREEN:
    case SM_CXVIRTUALSCREEN:
      return ScreenForMetrics().cx;
    case SM_CYSCREEN:
    case SM_CYVIRTUALSCREEN:
      return ScreenForMetrics().cy;
    case SM_XVIRTUALSCREEN:
    case SM_YVIRTUALSCREEN:
      return 0;
    case SM_CXFULLSCREEN: {
      RECT R = Work();
      return R.Right - R.Left;
    }
    case SM_CYFULLSCREEN: {
      RECT R = Work();
      return R.Bottom - R.Top - CaptionHeight;
    }
    case SM_CXMAXIMIZED: {
      RECT R = Work();
      return R.Right - R.Left + 2 * FrameWidth;
    }
    case SM_CYMAXIMIZED: {
      RECT R = Work();
      return R.Bottom - R.Top + 2 * FrameWidth;
    }
    case SM_CXMAXTRACK: return ScreenForMetrics().cx + 2 * FrameWidth;
    case SM_CYMAXTRACK: return ScreenForMetrics().cy + 2 * FrameWidth;
    case SM_CMONITORS: return WindowManager::Instance() ? 1 : 0;
    case SM_CXVSCROLL:
    case SM_CYHSCROLL:
    case SM_CYVSCROLL:
    case SM_CXHSCROLL:
    case SM_CYVTHUMB:
    case SM_CXHTHUMB:
      return 17;
    case SM_CYCAPTION: return CaptionHeight;
    case SM_CXBORDER:
    case SM_CYBORDER:
      return BorderWidth;
    case SM_CXDLGFRAME:
    case SM_CYDLGFRAME:
      return BorderWidth + 2;
    case SM_CXFRAME:
    case SM_CYFRAME:
      return FrameWidth;
    case SM_CXEDGE:
    case SM_CYEDGE:
      return 2;
    case SM_CXICON:
    case SM_CYICON:
    case SM_CXCURSOR:
    case SM_CYCURSOR:
      return 32;
    case SM_CXSMICON:
    case SM_CYSMICON:
      return 16;
    case SM_CYMENU: return 19;
    case SM_CXSIZE:
    case SM_CYSIZE:
      return CaptionButton;
    case SM_CYSMCAPTION: return 17;
    case SM_CXSMSIZE:
    case SM_CYSMSIZE:
    case SM_CXMENUSIZE:
    case SM_CYMENUSIZE:
      return 16;
    case SM_CXMENUCHECK:
    case SM_CYMENUCHECK:
      return 13;
    case SM_CXMIN: return 112;
    case SM_CYMIN: return CaptionHeight + 2 * FrameWidth;
    case SM_CXMINTRACK: return 112;
    case SM_CYMINTRACK: return CaptionHeight + 2 * FrameWidth;
    case SM_CXMINIMIZED: return 160;
    case SM_CYMINIMIZED: return CaptionHeight + 2 * FrameWidth;
    case SM_CXDOUBLECLK:
    case SM_CYDOUBLECLK:
      return 4;
    case SM_CXDRAG:
    case SM_CYDRAG:
      return 4;
    case SM_MOUSEPRESENT:
    case SM_MOUSEWHEELPRESENT:
    case SM_SAMEDISPLAYFORMAT:
      return 1;
    case SM_CMOUSEBUTTONS: return 3;
    case SM_SWAPBUTTON: return vantrel::win::IsMouseButtonSwapped() ? 1 : 0;
    default: return 0;
  }
}

BOOL SystemParametersInfo(UINT Action, UINT, LPVOID Param, UINT) {
  if (!Param) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  switch (Action) {
    case SPI_GETWORKAREA:
      if (!WindowManager::Instance()) break;
      *static_cast<RECT*>(Param) = Work();
      return TRUE;
    case SPI_GETDRAGFULLWINDOWS:
      *static_cast<BOOL*>(Param) = TRUE;
      return TRUE;
    case SPI_GETWHEELSCROLLLINES:
      *static_cast<UINT*>(Param) = 3;
      return TRUE;
    default:
      break;
  }
  SetLastError(ERROR_INVALID_PARAMETER);
  return FALSE;
}

HMONITOR MonitorFromWindow(HWND Wnd, DWORD Flags) {
  if (!WindowManager::Instance()) return nullptr;
  if (!IsWindow(Wnd) && Flags == MONITOR_DEFAULTTONULL) return nullptr;
  return PrimaryMonitor;
}

HMONITOR MonitorFromPoint(POINT Pt, DWORD Flags) {
  if (!WindowManager::Instance()) return nullptr;
  const TSize S = ScreenForMetrics();
  if (Flags == MONITOR_DEFAULTTONULL && (Pt.X < 0 || Pt.Y < 0 || Pt.X >= S.cx || Pt.Y >= S.cy)) return nullptr;
  return PrimaryMonitor;
}

BOOL GetMonitorInfo(HMONITOR Monitor, LPMONITORINFO Info) {
  if (Monitor != PrimaryMonitor || !Info || Info->cbSize < sizeof(MONITORINFO) || !WindowManager::Instance()) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const TSize S = ScreenForMetrics();
  Info->rcMonitor = {0, 0, S.cx, S.cy};
  Info->rcWork = Work();
  Info->dwFlags = MONITORINFOF_PRIMARY;
  return TRUE;
}

DWORD GetVersion() {
  constexpr DWORD Major = 6, Minor = 1, Build = 7601;
  return Major | (Minor << 8) | (Build << 16);
}

HRESULT DwmIsCompositionEnabled(BOOL* Enabled) {
  if (Enabled) *Enabled = FALSE;
  return S_OK;
}

HRESULT DwmSetWindowAttribute(HWND, DWORD, const void*, DWORD) { return DWM_E_COMPOSITIONDISABLED; }

HRESULT DwmEnableBlurBehindWindow(HWND, const DWM_BLURBEHIND*) { return DWM_E_COMPOSITIONDISABLED; }
