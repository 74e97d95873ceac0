// Scrolling: the scroll state of a window's standard bars (kept, not drawn), the SB_*
// codes of WM_HSCROLL/WM_VSCROLL, and ScrollWindowEx, which moves a window's pixels and
// reports (or invalidates) the strip it uncovers.
#pragma once

#include "platform/win/Gdi.h"
#include "platform/win/Messages.h"

// Bars.
constexpr int SB_HORZ = 0;
constexpr int SB_VERT = 1;
constexpr int SB_CTL = 2;
constexpr int SB_BOTH = 3;

// Request codes of WM_HSCROLL / WM_VSCROLL (low word of wParam).
constexpr WORD SB_LINEUP = 0;
constexpr WORD SB_LINELEFT = 0;
constexpr WORD SB_LINEDOWN = 1;
constexpr WORD SB_LINERIGHT = 1;
constexpr WORD SB_PAGEUP = 2;
constexpr WORD SB_PAGELEFT = 2;
constexpr WORD SB_PAGEDOWN = 3;
constexpr WORD SB_PAGERIGHT = 3;
constexpr WORD SB_THUMBPOSITION = 4;
constexpr WORD SB_THUMBTRACK = 5;
constexpr WORD SB_TOP = 6;
constexpr WORD SB_LEFT = 6;
constexpr WORD SB_BOTTOM = 7;
constexpr WORD SB_RIGHT = 7;
constexpr WORD SB_ENDSCROLL = 8;

constexpr UINT SIF_RANGE = 0x0001;
constexpr UINT SIF_PAGE = 0x0002;
constexpr UINT SIF_POS = 0x0004;
constexpr UINT SIF_DISABLENOSCROLL = 0x0008;
constexpr UINT SIF_TRACKPOS = 0x0010;
constexpr UINT SIF_ALL = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS;

struct SCROLLINFO {
  UINT cbSize = sizeof(SCROLLINFO);
  UINT fMask = 0;
  int nMin = 0;
  int nMax = 0;
  UINT nPage = 0;
  int nPos = 0;
  int nTrackPos = 0;
};
using LPSCROLLINFO = SCROLLINFO*;
using LPCSCROLLINFO = const SCROLLINFO*;

// A window without WS_HSCROLL/WS_VSCROLL has no scroll state until one is set.
constexpr DWORD ERROR_NO_SCROLLBARS = 1447;

// Returns the position after the change (clamped to the range less the page).
int SetScrollInfo(HWND Wnd, int Bar, LPCSCROLLINFO Info, BOOL Redraw);
BOOL GetScrollInfo(HWND Wnd, int Bar, LPSCROLLINFO Info);
int GetScrollPos(HWND Wnd, int Bar);
// Returns the previous position.
int SetScrollPos(HWND Wnd, int Bar, int Pos, BOOL Redraw);
BOOL GetScrollRange(HWND Wnd, int Bar, int* MinPos, int* MaxPos);
BOOL SetScrollRange(HWND Wnd, int Bar, int MinPos, int MaxPos, BOOL Redraw);

// ScrollWindowEx flags.
constexpr UINT SW_SCROLLCHILDREN = 0x0001;
constexpr UINT SW_INVALIDATE = 0x0002;
constexpr UINT SW_ERASE = 0x0004;
constexpr UINT SW_SMOOTHSCROLL = 0x0010;

// Moves the client pixels inside Scroll (client coordinates; nullptr: the whole client
// area) by (DX, DY); only pixels inside Clip change. The uncovered strip goes to
// UpdateRgn/UpdateRect and, with SW_INVALIDATE, into the update region (SW_ERASE: with
// erase). SW_SCROLLCHILDREN moves the children inside Scroll along. Returns the strip's
// complexity (NULLREGION, SIMPLEREGION, COMPLEXREGION) or ERROR.
int ScrollWindowEx(HWND Wnd, int DX, int DY, const RECT* Scroll, const RECT* Clip, HRGN UpdateRgn,
                   LPRECT UpdateRect, UINT Flags);
// ScrollWindowEx with invalidation and erase; Scroll nullptr also moves the children.
BOOL ScrollWindow(HWND Wnd, int DX, int DY, const RECT* Scroll, const RECT* Clip);
