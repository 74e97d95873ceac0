// System metrics and settings, monitors, the version the system reports (6.1) and the
// desktop-composition entry points, which report composition as absent so every
// fallback for that runs.
#pragma once

#include "platform/win/WinTypes.h"

constexpr int SM_CXSCREEN = 0;
constexpr int SM_CYSCREEN = 1;
constexpr int SM_CXVSCROLL = 2;
constexpr int SM_CYHSCROLL = 3;
constexpr int SM_CYCAPTION = 4;
constexpr int SM_CXBORDER = 5;
constexpr int SM_CYBORDER = 6;
constexpr int SM_CXDLGFRAME = 7;
constexpr int SM_CYDLGFRAME = 8;
constexpr int SM_CXFIXEDFRAME = SM_CXDLGFRAME;
constexpr int SM_CYFIXEDFRAME = SM_CYDLGFRAME;
constexpr int SM_CYVTHUMB = 9;
constexpr int SM_CXHTHUMB = 10;
constexpr int SM_CXICON = 11;
constexpr int SM_CYICON = 12;
constexpr int SM_CXCURSOR = 13;
constexpr int SM_CYCURSOR = 14;
constexpr int SM_CYMENU = 15;
constexpr int SM_CXFULLSCREEN = 16;
constexpr int SM_CYFULLSCREEN = 17;
constexpr int SM_MOUSEPRESENT = 19;
constexpr int SM_CYVSCROLL = 20;
constexpr int SM_CXHSCROLL = 21;
constexpr int SM_SWAPBUTTON = 23;
constexpr int SM_CXMIN = 28;
constexpr int SM_CYMIN = 29;
constexpr int SM_CXSIZE = 30;
constexpr int SM_CYSIZE = 31;
constexpr int SM_CXFRAME = 32;
constexpr int SM_CYFRAME = 33;
constexpr int SM_CXSIZEFRAME = SM_CXFRAME;
constexpr int SM_CYSIZEFRAME = SM_CYFRAME;
constexpr int SM_CXMINTRACK = 34;
constexpr int SM_CYMINTRACK = 35;
constexpr int SM_CXDOUBLECLK = 36;
constexpr int SM_CYDOUBLECLK = 37;
constexpr int SM_CMOUSEBUTTONS = 43;
constexpr int SM_CXEDGE = 45;
constexpr int SM_CYEDGE = 46;
constexpr int SM_CXSMICON = 49;
constexpr int SM_CYSMICON = 50;
constexpr int SM_CYSMCAPTION = 51;
constexpr int SM_CXSMSIZE = 52;
constexpr int SM_CYSMSIZE = 53;
constexpr int SM_CXMENUSIZE = 54;
constexpr int SM_CYMENUSIZE = 55;
constexpr int SM_CXMINIMIZED = 57;
constexpr int SM_CYMINIMIZED = 58;
constexpr int SM_CXMAXTRACK = 59;
constexpr int SM_CYMAXTRACK = 60;
constexpr int SM_CXMAXIMIZED = 61;
constexpr int SM_CYMAXIMIZED = 62;
constexpr int SM_CXDRAG = 68;
constexpr int SM_CYDRAG = 69;
constexpr int SM_CXMENUCHECK = 71;
constexpr int SM_CYMENUCHECK = 72;
constexpr int SM_MOUSEWHEELPRESENT = 75;
constexpr int SM_XVIRTUALSCREEN = 76;
constexpr int SM_YVIRTUALSCREEN = 77;
constexpr int SM_CXVIRTUALSCREEN = 78;
constexpr int SM_CYVIRTUALSCREEN = 79;
constexpr int SM_CMONITORS = 80;
constexpr int SM_SAMEDISPLAYFORMAT = 81;

constexpr UINT SPI_GETDRAGFULLWINDOWS = 0x0026;
constexpr UINT SPI_GETWORKAREA = 0x0030;
constexpr UINT SPI_GETWHEELSCROLLLINES = 0x0068;

constexpr DWORD MONITOR_DEFAULTTONULL = 0;
constexpr DWORD MONITOR_DEFAULTTOPRIMARY = 1;
constexpr DWORD MONITOR_DEFAULTTONEAREST = 2;
constexpr DWORD MONITORINFOF_PRIMARY = 1;

struct MONITORINFO {
  DWORD cbSize;  // sizeof(MONITORINFO) = 40
  RECT rcMonitor;
  RECT rcWork;
  DWORD dwFlags;
};
using LPMONITORINFO = MONITORINFO*;

// Metrics of the screen come from the display; the rest are this system's constants.
// 0 for an unknown index or without a window manager where the display is needed.
int GetSystemMetrics(int Index);
// SPI_GETWORKAREA (Param: RECT*), SPI_GETDRAGFULLWINDOWS (Param: BOOL*, TRUE),
// SPI_GETWHEELSCROLLLINES (Param: UINT*, 3). FALSE with ERROR_INVALID_PARAMETER for
// anything else.
BOOL SystemParametersInfo(UINT Action, UINT UiParam, LPVOID Param, UINT WinIni);
inline BOOL SystemParametersInfoW(UINT Action, UINT UiParam, LPVOID Param, UINT WinIni) {
  return SystemParametersInfo(Action, UiParam, Param, WinIni);
}

// One monitor: the screen.
HMONITOR MonitorFromWindow(HWND Wnd, DWORD Flags);
HMONITOR MonitorFromPoint(POINT Pt, DWORD Flags);
BOOL GetMonitorInfo(HMONITOR Monitor, LPMONITORINFO Info);
inline BOOL GetMonitorInfoA(HMONITOR Monitor, LPMONITORINFO Info) { return GetMonitorInfo(Monitor, Info); }
inline BOOL GetMonitorInfoW(HMONITOR Monitor, LPMONITORINFO Info) { return GetMonitorInfo(Monitor, Info); }

// 6.1: major version in the lowest byte, minor in the next.
DWORD GetVersion();

// Desktop composition: absent.
using HRESULT = LONG;
constexpr HRESULT S_OK = 0;
constexpr HRESULT DWM_E_COMPOSITIONDISABLED = static_cast<HRESULT>(0x80263001);
constexpr DWORD DWMWA_TRANSITIONS_FORCEDISABLED = 3;
constexpr DWORD DWM_BB_ENABLE = 0x1;
constexpr DWORD DWM_BB_BLURREGION = 0x2;
constexpr DWORD DWM_BB_TRANSITIONONMAXIMIZED = 0x4;
struct DWM_BLURBEHIND {
  DWORD dwFlags;
  BOOL fEnable;
  HRGN hRgnBlur;
  BOOL fTransitionOnMaximized;
};
// S_OK with *Enabled = FALSE.
HRESULT DwmIsCompositionEnabled(BOOL* Enabled);
// DWM_E_COMPOSITIONDISABLED, changing nothing.
HRESULT DwmSetWindowAttribute(HWND Wnd, DWORD Attribute, const void* Value, DWORD Size);
HRESULT DwmEnableBlurBehindWindow(HWND Wnd, const DWM_BLURBEHIND* BlurBehind);
