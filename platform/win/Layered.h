// Layered top-level windows (WS_EX_LAYERED): a constant alpha over what lies below
// (SetLayeredWindowAttributes), or contents given as premultiplied 32-bit pixels with a
// constant alpha on top (UpdateLayeredWindow; such a window gets no WM_PAINT).
#pragma once

#include "platform/win/Gdi.h"

constexpr DWORD LWA_ALPHA = 0x00000002;

constexpr DWORD ULW_ALPHA = 0x00000002;
constexpr DWORD ULW_OPAQUE = 0x00000004;

constexpr BYTE AC_SRC_OVER = 0x00;
constexpr BYTE AC_SRC_ALPHA = 0x01;

struct BLENDFUNCTION {
  BYTE BlendOp;
  BYTE BlendFlags;
  BYTE SourceConstantAlpha;
  BYTE AlphaFormat;
};
using PBLENDFUNCTION = BLENDFUNCTION*;

// Flags other than LWA_ALPHA are refused. Fails for a window without WS_EX_LAYERED and
// for child windows.
BOOL SetLayeredWindowAttributes(HWND Wnd, COLORREF Key, BYTE Alpha, DWORD Flags);
// Places the window (Dest, Size: either may be nullptr to keep it) and, with a source DC,
// takes Size pixels from (SrcPos) of it as its contents. Flags: ULW_ALPHA (the blend's
// SourceConstantAlpha, per-pixel premultiplied alpha with AC_SRC_ALPHA) or ULW_OPAQUE.
// Fails for a window that took SetLayeredWindowAttributes, as on Windows.
BOOL UpdateLayeredWindow(HWND Wnd, HDC DestDc, const POINT* Dest, const SIZE* Size, HDC SrcDc,
                         const POINT* SrcPos, COLORREF Key, const BLENDFUNCTION* Blend, DWORD Flags);
