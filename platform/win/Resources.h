// The program's own resources and icons: a small table of named bitmaps painted by our
// code on first use (the file-system glyphs, tool-button glyphs), the system icons, and
// the icon calls (LoadIcon, CopyImage, DrawIconEx, GetIconInfo, DestroyIcon).
#pragma once

#include <cstdint>

#include "platform/win/Gdi.h"

// Resource names: a string, or a small integer id in a pointer (MAKEINTRESOURCE).
inline LPCSTR MAKEINTRESOURCE(uintptr_t Id) { return reinterpret_cast<LPCSTR>(Id & 0xFFFF); }
inline bool IS_INTRESOURCE(LPCSTR Name) { return (reinterpret_cast<uintptr_t>(Name) >> 16) == 0; }

#define RT_CURSOR MAKEINTRESOURCE(1)
#define RT_BITMAP MAKEINTRESOURCE(2)
#define RT_ICON MAKEINTRESOURCE(3)
#define RT_RCDATA MAKEINTRESOURCE(10)
#define RT_GROUP_ICON MAKEINTRESOURCE(14)

#define IDI_APPLICATION MAKEINTRESOURCE(32512)
#define IDI_HAND MAKEINTRESOURCE(32513)
#define IDI_QUESTION MAKEINTRESOURCE(32514)
#define IDI_EXCLAMATION MAKEINTRESOURCE(32515)
#define IDI_ASTERISK MAKEINTRESOURCE(32516)
#define IDI_WINLOGO MAKEINTRESOURCE(32517)
#define IDI_SHIELD MAKEINTRESOURCE(32518)
#define IDI_WARNING IDI_EXCLAMATION
#define IDI_ERROR IDI_HAND
#define IDI_INFORMATION IDI_ASTERISK

constexpr UINT IMAGE_BITMAP = 0;
constexpr UINT IMAGE_ICON = 1;
constexpr UINT IMAGE_CURSOR = 2;
constexpr UINT LR_DEFAULTCOLOR = 0x0000;
constexpr UINT LR_MONOCHROME = 0x0001;
constexpr UINT LR_COPYRETURNORG = 0x0004;
constexpr UINT LR_COPYDELETEORG = 0x0008;
constexpr UINT LR_LOADFROMFILE = 0x0010;
constexpr UINT LR_DEFAULTSIZE = 0x0040;
constexpr UINT LR_CREATEDIBSECTION = 0x2000;
constexpr UINT LR_COPYFROMRESOURCE = 0x4000;
constexpr UINT LR_SHARED = 0x8000;

constexpr UINT DI_MASK = 0x0001;
constexpr UINT DI_IMAGE = 0x0002;
constexpr UINT DI_NORMAL = 0x0003;
constexpr UINT DI_COMPAT = 0x0004;
constexpr UINT DI_DEFAULTSIZE = 0x0008;

struct ICONINFO {
  BOOL fIcon;
  DWORD xHotspot;
  DWORD yHotspot;
  HBITMAP hbmMask;   // 1 bpp AND mask, owned by the caller
  HBITMAP hbmColor;  // 32 bpp colour with alpha, owned by the caller
};

// Resources of the program (any module handle, 0 included, searches the program's own
// table). The data of an RT_BITMAP resource is a packed DIB: BITMAPINFOHEADER then rows.
HRSRC FindResource(HMODULE Module, LPCSTR Name, LPCSTR Type);
inline HRSRC FindResourceA(HMODULE M, LPCSTR N, LPCSTR T) { return FindResource(M, N, T); }
inline HRSRC FindResourceW(HMODULE M, LPCSTR N, LPCSTR T) { return FindResource(M, N, T); }
using HGLOBAL = void*;
HGLOBAL LoadResource(HMODULE Module, HRSRC Resource);
LPVOID LockResource(HGLOBAL Data);
DWORD SizeofResource(HMODULE Module, HRSRC Resource);
BOOL FreeResource(HGLOBAL Data);

// A bitmap resource as a new 32 bpp device-dependent bitmap owned by the caller; 0 if absent.
HBITMAP LoadBitmap(HINSTANCE Instance, LPCSTR Name);
inline HBITMAP LoadBitmapA(HINSTANCE I, LPCSTR N) { return LoadBitmap(I, N); }
inline HBITMAP LoadBitmapW(HINSTANCE I, LPCSTR N) { return LoadBitmap(I, N); }

// Instance 0: the system icons (shared; DestroyIcon leaves them). Otherwise the
// program's icon resources (its main icon is "MAINICON" and id 1).
HICON LoadIcon(HINSTANCE Instance, LPCSTR Name);
inline HICON LoadIconA(HINSTANCE I, LPCSTR N) { return LoadIcon(I, N); }
inline HICON LoadIconW(HINSTANCE I, LPCSTR N) { return LoadIcon(I, N); }
HICON CreateIconIndirect(const ICONINFO* Info);
HICON CopyIcon(HICON Icon);
BOOL DestroyIcon(HICON Icon);
BOOL GetIconInfo(HICON Icon, ICONINFO* Info);
// IMAGE_ICON: a new icon of Width x Height (0: the source's size), nearest-pixel scaled.
// IMAGE_BITMAP: a new bitmap copy. LR_COPYDELETEORG deletes the source.
HANDLE CopyImage(HANDLE Image, UINT Type, int Width, int Height, UINT Flags);
// Width or Height 0: the icon's own size. DI_NORMAL blends by alpha (or the mask).
BOOL DrawIconEx(HDC Dc, int X, int Y, HICON Icon, int Width, int Height, UINT StepIfAniCur,
                HBRUSH FlickerFreeDraw, UINT Flags);
BOOL DrawIcon(HDC Dc, int X, int Y, HICON Icon);

namespace vantrel::win {
// A new icon (owned by the caller) of Width x Height pixels 0xAARRGGBB, alpha not
// premultiplied, rows top first; transparent where alpha is 0. nullptr for an empty size.
HICON CreateIconFromArgb(int Width, int Height, const uint32_t* Pixels);
}  // namespace vantrel::win
