// Painting windows: update regions, invalidation and validation, the paint cycle
// (WM_NCPAINT, WM_ERASEBKGND, WM_PAINT with BeginPaint/EndPaint) and painting at once
// (UpdateWindow, RedrawWindow). Painted pixels land in the top-level window's backing
// store and reach the display when the queue runs dry.
#pragma once

#include "platform/win/Gdi.h"
#include "platform/win/Messages.h"

// RedrawWindow flags.
constexpr UINT RDW_INVALIDATE = 0x0001;
constexpr UINT RDW_INTERNALPAINT = 0x0002;
constexpr UINT RDW_ERASE = 0x0004;
constexpr UINT RDW_VALIDATE = 0x0008;
constexpr UINT RDW_NOINTERNALPAINT = 0x0010;
constexpr UINT RDW_NOERASE = 0x0020;
constexpr UINT RDW_NOCHILDREN = 0x0040;
constexpr UINT RDW_ALLCHILDREN = 0x0080;
constexpr UINT RDW_UPDATENOW = 0x0100;
constexpr UINT RDW_ERASENOW = 0x0200;
constexpr UINT RDW_FRAME = 0x0400;
constexpr UINT RDW_NOFRAME = 0x0800;

struct PAINTSTRUCT {
  HDC hdc;
  BOOL fErase;  // TRUE: WM_ERASEBKGND left the background to the painter
  RECT rcPaint;  // client coordinates
  BOOL fRestore;
  BOOL fIncUpdate;
  BYTE rgbReserved[32];
};
using LPPAINTSTRUCT = PAINTSTRUCT*;

// Rect is in client coordinates (nullptr: the whole client area). Without WS_CLIPCHILDREN
// on the window the children under the area are invalidated too. Wnd 0: every window.
BOOL InvalidateRect(HWND Wnd, const RECT* Rect, BOOL Erase);
BOOL InvalidateRgn(HWND Wnd, HRGN Rgn, BOOL Erase);
BOOL ValidateRect(HWND Wnd, const RECT* Rect);
BOOL ValidateRgn(HWND Wnd, HRGN Rgn);
// The bounding box of the update region (client coordinates); TRUE when it is not empty.
// Erase: WM_NCPAINT and WM_ERASEBKGND go out first when they are due.
BOOL GetUpdateRect(HWND Wnd, LPRECT Rect, BOOL Erase);
// Paints the window and its children at once when they have anything to paint.
BOOL UpdateWindow(HWND Wnd);
// Rect (client coordinates) or Rgn select the area; neither: the whole window.
BOOL RedrawWindow(HWND Wnd, const RECT* Rect, HRGN Rgn, UINT Flags);

// Validates the update region and returns a DC clipped to it, after WM_NCPAINT (frame
// due) and WM_ERASEBKGND (erase due) have gone out. EndPaint releases the DC.
HDC BeginPaint(HWND Wnd, LPPAINTSTRUCT Paint);
BOOL EndPaint(HWND Wnd, const PAINTSTRUCT* Paint);
