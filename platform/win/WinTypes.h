// The Windows-style scalar, handle and geometry types of our window system and raster
// core. Handles are opaque pointer-sized values handed out by our own handle tables and
// never reused while the process runs, so a stale handle is detectably invalid.
#pragma once

#include <cstdint>

#include "platform/rtl/LastError.h"  // GetLastError, SetLastError
#include "platform/rtl/Types.h"

using BOOL = int32_t;
using BYTE = uint8_t;
using WORD = uint16_t;
using DWORD = uint32_t;
using UINT = uint32_t;
using INT = int32_t;
using LONG = int32_t;
using ULONG = uint32_t;
using SHORT = int16_t;
using USHORT = uint16_t;
using WCHAR = char32_t;
using LONG_PTR = intptr_t;
using ULONG_PTR = uintptr_t;
using UINT_PTR = uintptr_t;
using DWORD_PTR = uintptr_t;
using WPARAM = uintptr_t;
using LPARAM = intptr_t;
using LRESULT = intptr_t;
using ATOM = uint16_t;
using COLORREF = uint32_t;  // 0x00BBGGRR
using LPVOID = void*;
using LPCSTR = const char*;
using LPSTR = char*;

constexpr BOOL TRUE = 1;
constexpr BOOL FALSE = 0;

#define VANTREL_DECLARE_HANDLE(name) \
  struct name##__;                   \
  using name = name##__*

using HANDLE = void*;
VANTREL_DECLARE_HANDLE(HWND);
VANTREL_DECLARE_HANDLE(HDC);
using HGDIOBJ = void*;  // any GDI object handle
VANTREL_DECLARE_HANDLE(HBITMAP);
VANTREL_DECLARE_HANDLE(HBRUSH);
VANTREL_DECLARE_HANDLE(HPEN);
VANTREL_DECLARE_HANDLE(HFONT);
VANTREL_DECLARE_HANDLE(HRGN);
VANTREL_DECLARE_HANDLE(HPALETTE);
VANTREL_DECLARE_HANDLE(HICON);
using HCURSOR = HICON;
VANTREL_DECLARE_HANDLE(HMENU);
VANTREL_DECLARE_HANDLE(HINSTANCE);
using HMODULE = HINSTANCE;
VANTREL_DECLARE_HANDLE(HMONITOR);
VANTREL_DECLARE_HANDLE(HRSRC);
VANTREL_DECLARE_HANDLE(HDROP);
VANTREL_DECLARE_HANDLE(HDWP);

using RECT = TRect;
using POINT = TPoint;
using SIZE = TSize;
using LPRECT = RECT*;
using LPPOINT = POINT*;

struct POINTS {
  SHORT x;
  SHORT y;
};

constexpr WORD LOWORD(uintptr_t v) { return static_cast<WORD>(v & 0xFFFF); }
constexpr WORD HIWORD(uintptr_t v) { return static_cast<WORD>((v >> 16) & 0xFFFF); }
constexpr BYTE LOBYTE(uintptr_t v) { return static_cast<BYTE>(v & 0xFF); }
constexpr BYTE HIBYTE(uintptr_t v) { return static_cast<BYTE>((v >> 8) & 0xFF); }
constexpr LONG MAKELONG(WORD lo, WORD hi) {
  return static_cast<LONG>(static_cast<DWORD>(lo) | (static_cast<DWORD>(hi) << 16));
}
constexpr LPARAM MAKELPARAM(WORD lo, WORD hi) { return MAKELONG(lo, hi); }
constexpr WPARAM MAKEWPARAM(WORD lo, WORD hi) { return static_cast<DWORD>(MAKELONG(lo, hi)); }
constexpr LRESULT MAKELRESULT(WORD lo, WORD hi) { return MAKELONG(lo, hi); }
// Points in an LPARAM: signed low and high words of its low 32 bits.
constexpr int GET_X_LPARAM(LPARAM lp) { return static_cast<SHORT>(LOWORD(static_cast<uintptr_t>(lp))); }
constexpr int GET_Y_LPARAM(LPARAM lp) { return static_cast<SHORT>(HIWORD(static_cast<uintptr_t>(lp))); }
inline LPARAM PointToLParam(int x, int y) {
  return MAKELPARAM(static_cast<WORD>(static_cast<SHORT>(x)), static_cast<WORD>(static_cast<SHORT>(y)));
}

constexpr COLORREF RGB(BYTE r, BYTE g, BYTE b) {
  return static_cast<COLORREF>(r) | (static_cast<COLORREF>(g) << 8) | (static_cast<COLORREF>(b) << 16);
}
constexpr BYTE GetRValue(COLORREF c) { return static_cast<BYTE>(c & 0xFF); }
constexpr BYTE GetGValue(COLORREF c) { return static_cast<BYTE>((c >> 8) & 0xFF); }
constexpr BYTE GetBValue(COLORREF c) { return static_cast<BYTE>((c >> 16) & 0xFF); }
