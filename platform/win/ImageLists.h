// Image lists as handles: rows of same-sized images with masks, kept in the GDI handle
// table (handles are never reused) so list views, tree views and the shell can share
// them. Values follow Windows.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/win/Gdi.h"

VANTREL_DECLARE_HANDLE(HIMAGELIST);

// ImageList_Create flags.
constexpr UINT ILC_MASK = 0x0001;
constexpr UINT ILC_COLOR = 0x0000;
constexpr UINT ILC_COLOR24 = 0x0018;
constexpr UINT ILC_COLOR32 = 0x0020;

// Draw styles.
constexpr UINT ILD_NORMAL = 0x0000;
constexpr UINT ILD_TRANSPARENT = 0x0001;
constexpr UINT ILD_BLEND25 = 0x0002;
constexpr UINT ILD_FOCUS = 0x0002;
constexpr UINT ILD_BLEND50 = 0x0004;
constexpr UINT ILD_SELECTED = 0x0004;
constexpr UINT ILD_BLEND = 0x0004;
constexpr UINT ILD_MASK = 0x0010;
constexpr UINT ILD_IMAGE = 0x0020;

// No background colour: masked pixels stay transparent.
constexpr COLORREF CLR_NONE = 0xFFFFFFFF;
constexpr COLORREF CLR_DEFAULT = 0xFF000000;

HIMAGELIST ImageList_Create(int CX, int CY, UINT Flags, int Initial, int Grow);
BOOL ImageList_Destroy(HIMAGELIST List);
// Adds the Image bitmap cut into images of the list's width; non-black mask pixels are
// transparent (no mask: opaque). Returns the first new index or -1.
int ImageList_Add(HIMAGELIST List, HBITMAP Image, HBITMAP Mask);
// As ImageList_Add; pixels of MaskColor are transparent (and turn black).
int ImageList_AddMasked(HIMAGELIST List, HBITMAP Image, COLORREF MaskColor);
// Removes image Index; -1 removes all.
BOOL ImageList_Remove(HIMAGELIST List, int Index);
int ImageList_GetImageCount(HIMAGELIST List);
BOOL ImageList_GetIconSize(HIMAGELIST List, int* CX, int* CY);
COLORREF ImageList_SetBkColor(HIMAGELIST List, COLORREF Color);
COLORREF ImageList_GetBkColor(HIMAGELIST List);
BOOL ImageList_Draw(HIMAGELIST List, int Index, HDC Dc, int X, int Y, UINT Style);
// Bk: the background colour for masked pixels (CLR_NONE transparent, CLR_DEFAULT the
// list's); Fg: the colour blended in by ILD_FOCUS/ILD_SELECTED (CLR_DEFAULT: highlight).
// DX/DY 0 draw the whole image.
BOOL ImageList_DrawEx(HIMAGELIST List, int Index, HDC Dc, int X, int Y, int DX, int DY, COLORREF Bk,
                      COLORREF Fg, UINT Style);
// An icon of image Index (with its mask); free it with DestroyIcon.
HICON ImageList_GetIcon(HIMAGELIST List, int Index, UINT Flags);

namespace vantrel::win {

// One image: 0x00RRGGBB pixels, top-down, and a mask (1 = transparent).
struct ImageListImage {
  std::vector<uint32_t> Pixels;
  std::vector<uint8_t> Mask;
};

// The content behind a handle, for the class library's image list, which cuts and keeps
// its images there itself.
struct ImageListContent {
  int Width = 16;
  int Height = 16;
  bool Masked = true;
  COLORREF BkColor = CLR_NONE;
  std::vector<ImageListImage> Images;
};

// The content of a live handle, or nullptr.
ImageListContent* ImageListContentOf(HIMAGELIST List);

}  // namespace vantrel::win
