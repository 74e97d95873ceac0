// The Windows-style GDI API of our raster core: DIB sections, device contexts, blits,
// pens, brushes, shapes and regions on 32-bit pixel surfaces. Values, names and fields
// follow Windows; structure sizes are our own platform's. Fonts and text are declared in
// Fonts.h / Text.h / DrawText.h on top of this.
#pragma once

#include <cstdint>

#include "platform/win/WinTypes.h"

// ---------------------------------------------------------------------------------------
// Object kinds (GetObjectType)
constexpr DWORD OBJ_PEN = 1;
constexpr DWORD OBJ_BRUSH = 2;
constexpr DWORD OBJ_DC = 3;
constexpr DWORD OBJ_METADC = 4;
constexpr DWORD OBJ_PAL = 5;
constexpr DWORD OBJ_FONT = 6;
constexpr DWORD OBJ_BITMAP = 7;
constexpr DWORD OBJ_REGION = 8;
constexpr DWORD OBJ_METAFILE = 9;
constexpr DWORD OBJ_MEMDC = 10;
constexpr DWORD OBJ_EXTPEN = 11;
constexpr DWORD OBJ_ENHMETADC = 12;
constexpr DWORD OBJ_ENHMETAFILE = 13;
constexpr DWORD OBJ_COLORSPACE = 14;

constexpr COLORREF CLR_INVALID = 0xFFFFFFFF;
constexpr int GDI_ERROR_INT = -1;
#define HGDI_ERROR (reinterpret_cast<HGDIOBJ>(static_cast<intptr_t>(-1)))

// ---------------------------------------------------------------------------------------
// Bitmaps and DIBs
constexpr DWORD BI_RGB = 0;
constexpr DWORD BI_RLE8 = 1;
constexpr DWORD BI_RLE4 = 2;
constexpr DWORD BI_BITFIELDS = 3;
constexpr UINT DIB_RGB_COLORS = 0;
constexpr UINT DIB_PAL_COLORS = 1;

#pragma pack(push, 1)
struct RGBQUAD {
  BYTE rgbBlue;
  BYTE rgbGreen;
  BYTE rgbRed;
  BYTE rgbReserved;
};

struct RGBTRIPLE {
  BYTE rgbtBlue;
  BYTE rgbtGreen;
  BYTE rgbtRed;
};

struct BITMAPFILEHEADER {
  WORD bfType;
  DWORD bfSize;
  WORD bfReserved1;
  WORD bfReserved2;
  DWORD bfOffBits;
};
#pragma pack(pop)

struct BITMAPINFOHEADER {
  DWORD biSize;
  LONG biWidth;
  LONG biHeight;  // > 0 bottom-up, < 0 top-down
  WORD biPlanes;
  WORD biBitCount;
  DWORD biCompression;
  DWORD biSizeImage;
  LONG biXPelsPerMeter;
  LONG biYPelsPerMeter;
  DWORD biClrUsed;
  DWORD biClrImportant;
};

// A header followed by its colour table; the table is declared with one entry as on
// Windows and callers allocate room for more (up to 256).
struct BITMAPINFO {
  BITMAPINFOHEADER bmiHeader;
  RGBQUAD bmiColors[1];
};

struct BITMAP {
  LONG bmType;
  LONG bmWidth;
  LONG bmHeight;
  LONG bmWidthBytes;
  WORD bmPlanes;
  WORD bmBitsPixel;
  LPVOID bmBits;  // DIB sections only
};

struct DIBSECTION {
  BITMAP dsBm;
  BITMAPINFOHEADER dsBmih;
  DWORD dsBitfields[3];
  HANDLE dshSection;
  DWORD dsOffset;
};

// Bytes of one DIB row: 4-byte aligned.
constexpr int DibRowBytes(int Width, int BitCount) { return ((Width * BitCount + 31) / 32) * 4; }

// ---------------------------------------------------------------------------------------
// Raster operations
constexpr DWORD SRCCOPY = 0x00CC0020;
constexpr DWORD SRCPAINT = 0x00EE0086;
constexpr DWORD SRCAND = 0x008800C6;
constexpr DWORD SRCINVERT = 0x00660046;
constexpr DWORD SRCERASE = 0x00440328;
constexpr DWORD NOTSRCCOPY = 0x00330008;
constexpr DWORD NOTSRCERASE = 0x001100A6;
constexpr DWORD MERGECOPY = 0x00C000CA;
constexpr DWORD MERGEPAINT = 0x00BB0226;
constexpr DWORD PATCOPY = 0x00F00021;
constexpr DWORD PATPAINT = 0x00FB0A09;
constexpr DWORD PATINVERT = 0x005A0049;
constexpr DWORD DSTINVERT = 0x00550009;
constexpr DWORD BLACKNESS = 0x00000042;
constexpr DWORD WHITENESS = 0x00FF0062;
constexpr DWORD NOMIRRORBITMAP = 0x80000000;
constexpr DWORD CAPTUREBLT = 0x40000000;

// Pen mix modes
constexpr int R2_BLACK = 1;
constexpr int R2_NOTMERGEPEN = 2;
constexpr int R2_MASKNOTPEN = 3;
constexpr int R2_NOTCOPYPEN = 4;
constexpr int R2_MASKPENNOT = 5;
constexpr int R2_NOT = 6;
constexpr int R2_XORPEN = 7;
constexpr int R2_NOTMASKPEN = 8;
constexpr int R2_MASKPEN = 9;
constexpr int R2_NOTXORPEN = 10;
constexpr int R2_NOP = 11;
constexpr int R2_MERGENOTPEN = 12;
constexpr int R2_COPYPEN = 13;
constexpr int R2_MERGEPENNOT = 14;
constexpr int R2_MERGEPEN = 15;
constexpr int R2_WHITE = 16;

// Stretch modes
constexpr int BLACKONWHITE = 1;
constexpr int WHITEONBLACK = 2;
constexpr int COLORONCOLOR = 3;
constexpr int HALFTONE = 4;
constexpr int STRETCH_ANDSCANS = BLACKONWHITE;
constexpr int STRETCH_ORSCANS = WHITEONBLACK;
constexpr int STRETCH_DELETESCANS = COLORONCOLOR;
constexpr int STRETCH_HALFTONE = HALFTONE;

// Background modes
constexpr int TRANSPARENT = 1;
constexpr int OPAQUE = 2;

// Polygon fill modes
constexpr int ALTERNATE = 1;
constexpr int WINDING = 2;

// Map modes (only MM_TEXT is supported)
constexpr int MM_TEXT = 1;

// ---------------------------------------------------------------------------------------
// Pens and brushes
constexpr UINT PS_SOLID = 0;
constexpr UINT PS_DASH = 1;
constexpr UINT PS_DOT = 2;
constexpr UINT PS_DASHDOT = 3;
constexpr UINT PS_DASHDOTDOT = 4;
constexpr UINT PS_NULL = 5;
constexpr UINT PS_INSIDEFRAME = 6;
constexpr UINT PS_USERSTYLE = 7;
constexpr UINT PS_ALTERNATE = 8;
constexpr UINT PS_STYLE_MASK = 0x0000000F;
constexpr UINT PS_ENDCAP_ROUND = 0x00000000;
constexpr UINT PS_ENDCAP_SQUARE = 0x00000100;
constexpr UINT PS_ENDCAP_FLAT = 0x00000200;
constexpr UINT PS_ENDCAP_MASK = 0x00000F00;
constexpr UINT PS_JOIN_ROUND = 0x00000000;
constexpr UINT PS_JOIN_BEVEL = 0x00001000;
constexpr UINT PS_JOIN_MITER = 0x00002000;
constexpr UINT PS_JOIN_MASK = 0x0000F000;
constexpr UINT PS_COSMETIC = 0x00000000;
constexpr UINT PS_GEOMETRIC = 0x00010000;
constexpr UINT PS_TYPE_MASK = 0x000F0000;

constexpr UINT BS_SOLID = 0;
constexpr UINT BS_NULL = 1;
constexpr UINT BS_HOLLOW = BS_NULL;
constexpr UINT BS_HATCHED = 2;
constexpr UINT BS_PATTERN = 3;
constexpr UINT BS_DIBPATTERN = 5;

constexpr int HS_HORIZONTAL = 0;
constexpr int HS_VERTICAL = 1;
constexpr int HS_FDIAGONAL = 2;
constexpr int HS_BDIAGONAL = 3;
constexpr int HS_CROSS = 4;
constexpr int HS_DIAGCROSS = 5;

struct LOGPEN {
  UINT lopnStyle;
  POINT lopnWidth;  // X is the width
  COLORREF lopnColor;
};

struct LOGBRUSH {
  UINT lbStyle;
  COLORREF lbColor;
  ULONG_PTR lbHatch;
};

struct EXTLOGPEN {
  DWORD elpPenStyle;
  DWORD elpWidth;
  UINT elpBrushStyle;
  COLORREF elpColor;
  ULONG_PTR elpHatch;
  DWORD elpNumEntries;
  DWORD elpStyleEntry[1];
};

// Stock objects
constexpr int WHITE_BRUSH = 0;
constexpr int LTGRAY_BRUSH = 1;
constexpr int GRAY_BRUSH = 2;
constexpr int DKGRAY_BRUSH = 3;
constexpr int BLACK_BRUSH = 4;
constexpr int NULL_BRUSH = 5;
constexpr int HOLLOW_BRUSH = NULL_BRUSH;
constexpr int WHITE_PEN = 6;
constexpr int BLACK_PEN = 7;
constexpr int NULL_PEN = 8;
constexpr int OEM_FIXED_FONT = 10;
constexpr int ANSI_FIXED_FONT = 11;
constexpr int ANSI_VAR_FONT = 12;
constexpr int SYSTEM_FONT = 13;
constexpr int DEVICE_DEFAULT_FONT = 14;
constexpr int DEFAULT_PALETTE = 15;
constexpr int SYSTEM_FIXED_FONT = 16;
constexpr int DEFAULT_GUI_FONT = 17;
constexpr int DC_BRUSH = 18;
constexpr int DC_PEN = 19;

// ---------------------------------------------------------------------------------------
// Regions
constexpr int RGN_AND = 1;
constexpr int RGN_OR = 2;
constexpr int RGN_XOR = 3;
constexpr int RGN_DIFF = 4;
constexpr int RGN_COPY = 5;

// Region complexity (also ERROR = 0)
constexpr int ERROR = 0;
constexpr int NULLREGION = 1;
constexpr int SIMPLEREGION = 2;
constexpr int COMPLEXREGION = 3;

constexpr DWORD RDH_RECTANGLES = 1;

struct RGNDATAHEADER {
  DWORD dwSize;  // sizeof(RGNDATAHEADER)
  DWORD iType;   // RDH_RECTANGLES
  DWORD nCount;
  DWORD nRgnSize;
  RECT rcBound;
};

// A header followed by nCount rectangles.
struct RGNDATA {
  RGNDATAHEADER rdh;
  char Buffer[1];
};

struct XFORM {
  float eM11, eM12, eM21, eM22, eDx, eDy;
};

// ---------------------------------------------------------------------------------------
// Device capabilities
constexpr int DRIVERVERSION = 0;
constexpr int TECHNOLOGY = 2;
constexpr int HORZSIZE = 4;
constexpr int VERTSIZE = 6;
constexpr int HORZRES = 8;
constexpr int VERTRES = 10;
constexpr int BITSPIXEL = 12;
constexpr int PLANES = 14;
constexpr int NUMBRUSHES = 16;
constexpr int NUMPENS = 18;
constexpr int NUMFONTS = 22;
constexpr int NUMCOLORS = 24;
constexpr int RASTERCAPS = 38;
constexpr int LOGPIXELSX = 88;
constexpr int LOGPIXELSY = 90;
constexpr int SIZEPALETTE = 104;
constexpr int COLORRES = 108;
constexpr int DESKTOPVERTRES = 117;
constexpr int DESKTOPHORZRES = 118;
constexpr int SHADEBLENDCAPS = 45;
constexpr int DT_RASDISPLAY = 1;
constexpr int RC_BITBLT = 1;
constexpr int RC_DI_BITMAP = 0x0080;
constexpr int RC_STRETCHBLT = 0x0800;
constexpr int RC_STRETCHDIB = 0x2000;

// ---------------------------------------------------------------------------------------
// Device contexts
HDC CreateCompatibleDC(HDC Dc);  // Dc == 0: compatible with the screen
BOOL DeleteDC(HDC Dc);
// A device context on the display (Driver "DISPLAY"); other drivers fail.
HDC CreateDCA(LPCSTR Driver, LPCSTR Device, LPCSTR Output, const void* InitData);
inline HDC CreateDC(LPCSTR Driver, LPCSTR Device, LPCSTR Output, const void* InitData) {
  return CreateDCA(Driver, Device, Output, InitData);
}
inline HDC CreateDCW(LPCSTR Driver, LPCSTR Device, LPCSTR Output, const void* InitData) {
  return CreateDCA(Driver, Device, Output, InitData);
}
int SaveDC(HDC Dc);
BOOL RestoreDC(HDC Dc, int SavedDc);  // > 0: that level; < 0: relative
int GetDeviceCaps(HDC Dc, int Index);

HGDIOBJ SelectObject(HDC Dc, HGDIOBJ Obj);  // a region selects a copy as the clip
HGDIOBJ GetCurrentObject(HDC Dc, UINT Type);
HGDIOBJ GetStockObject(int Index);
BOOL DeleteObject(HGDIOBJ Obj);
DWORD GetObjectType(HGDIOBJ Obj);
int GetObject(HGDIOBJ Obj, int Size, LPVOID Out);  // Out == nullptr: the size needed
inline int GetObjectA(HGDIOBJ Obj, int Size, LPVOID Out) { return GetObject(Obj, Size, Out); }
inline int GetObjectW(HGDIOBJ Obj, int Size, LPVOID Out) { return GetObject(Obj, Size, Out); }
BOOL GdiFlush();

// Coordinates: device = logical - window origin + viewport origin.
BOOL SetWindowOrgEx(HDC Dc, int X, int Y, LPPOINT Old);
BOOL GetWindowOrgEx(HDC Dc, LPPOINT Out);
BOOL OffsetWindowOrgEx(HDC Dc, int DX, int DY, LPPOINT Old);
BOOL SetViewportOrgEx(HDC Dc, int X, int Y, LPPOINT Old);
BOOL GetViewportOrgEx(HDC Dc, LPPOINT Out);
BOOL OffsetViewportOrgEx(HDC Dc, int DX, int DY, LPPOINT Old);
BOOL LPtoDP(HDC Dc, LPPOINT Points, int Count);
BOOL DPtoLP(HDC Dc, LPPOINT Points, int Count);
BOOL SetBrushOrgEx(HDC Dc, int X, int Y, LPPOINT Old);
BOOL GetBrushOrgEx(HDC Dc, LPPOINT Out);
int SetMapMode(HDC Dc, int Mode);
int GetMapMode(HDC Dc);

// Clipping. Rectangles are logical; regions are in device coordinates.
int IntersectClipRect(HDC Dc, int Left, int Top, int Right, int Bottom);
int ExcludeClipRect(HDC Dc, int Left, int Top, int Right, int Bottom);
int SelectClipRgn(HDC Dc, HRGN Rgn);  // Rgn == 0 removes the clip
int ExtSelectClipRgn(HDC Dc, HRGN Rgn, int Mode);
int OffsetClipRgn(HDC Dc, int DX, int DY);
int GetClipBox(HDC Dc, LPRECT Out);  // logical
int GetClipRgn(HDC Dc, HRGN Out);    // 1 copied, 0 no clip, -1 error
BOOL PtVisible(HDC Dc, int X, int Y);
BOOL RectVisible(HDC Dc, const RECT* R);

// State. The text colour, background and alignment are read by the text functions.
COLORREF SetTextColor(HDC Dc, COLORREF Color);
COLORREF GetTextColor(HDC Dc);
COLORREF SetBkColor(HDC Dc, COLORREF Color);
COLORREF GetBkColor(HDC Dc);
int SetBkMode(HDC Dc, int Mode);
int GetBkMode(HDC Dc);
UINT SetTextAlign(HDC Dc, UINT Align);
UINT GetTextAlign(HDC Dc);
int SetTextCharacterExtra(HDC Dc, int Extra);
int GetTextCharacterExtra(HDC Dc);
int SetROP2(HDC Dc, int Mode);
int GetROP2(HDC Dc);
int SetStretchBltMode(HDC Dc, int Mode);
int GetStretchBltMode(HDC Dc);
int SetPolyFillMode(HDC Dc, int Mode);
int GetPolyFillMode(HDC Dc);
COLORREF SetDCBrushColor(HDC Dc, COLORREF Color);
COLORREF SetDCPenColor(HDC Dc, COLORREF Color);
COLORREF GetDCBrushColor(HDC Dc);
COLORREF GetDCPenColor(HDC Dc);

// ---------------------------------------------------------------------------------------
// Bitmaps
HBITMAP CreateDIBSection(HDC Dc, const BITMAPINFO* Info, UINT Usage, void** Bits, HANDLE Section,
                         DWORD Offset);
HBITMAP CreateCompatibleBitmap(HDC Dc, int Width, int Height);
HBITMAP CreateBitmap(int Width, int Height, UINT Planes, UINT BitCount, const void* Bits);
int GetDIBits(HDC Dc, HBITMAP Bitmap, UINT Start, UINT Lines, LPVOID Bits, BITMAPINFO* Info,
              UINT Usage);
int SetDIBits(HDC Dc, HBITMAP Bitmap, UINT Start, UINT Lines, const void* Bits,
              const BITMAPINFO* Info, UINT Usage);
int SetDIBitsToDevice(HDC Dc, int XDest, int YDest, DWORD Width, DWORD Height, int XSrc, int YSrc,
                      UINT StartScan, UINT Lines, const void* Bits, const BITMAPINFO* Info,
                      UINT Usage);
int StretchDIBits(HDC Dc, int XDest, int YDest, int DestWidth, int DestHeight, int XSrc, int YSrc,
                  int SrcWidth, int SrcHeight, const void* Bits, const BITMAPINFO* Info, UINT Usage,
                  DWORD Rop);
UINT GetDIBColorTable(HDC Dc, UINT Start, UINT Entries, RGBQUAD* Colors);
UINT SetDIBColorTable(HDC Dc, UINT Start, UINT Entries, const RGBQUAD* Colors);

// Blits
BOOL BitBlt(HDC Dest, int X, int Y, int Width, int Height, HDC Src, int XSrc, int YSrc, DWORD Rop);
BOOL StretchBlt(HDC Dest, int X, int Y, int Width, int Height, HDC Src, int XSrc, int YSrc,
                int SrcWidth, int SrcHeight, DWORD Rop);
BOOL PatBlt(HDC Dc, int X, int Y, int Width, int Height, DWORD Rop);
// Copies (and stretches) every source pixel whose colour is not Transparent.
BOOL TransparentBlt(HDC Dest, int X, int Y, int Width, int Height, HDC Src, int XSrc, int YSrc,
                    int SrcWidth, int SrcHeight, UINT Transparent);

// Pixels
COLORREF SetPixel(HDC Dc, int X, int Y, COLORREF Color);
BOOL SetPixelV(HDC Dc, int X, int Y, COLORREF Color);
COLORREF GetPixel(HDC Dc, int X, int Y);

// ---------------------------------------------------------------------------------------
// Pens, brushes and shapes
HPEN CreatePen(int Style, int Width, COLORREF Color);
HPEN CreatePenIndirect(const LOGPEN* Pen);
HPEN ExtCreatePen(DWORD Style, DWORD Width, const LOGBRUSH* Brush, DWORD StyleCount,
                  const DWORD* StyleEntries);
HBRUSH CreateSolidBrush(COLORREF Color);
HBRUSH CreateBrushIndirect(const LOGBRUSH* Brush);
HBRUSH CreateHatchBrush(int Style, COLORREF Color);

// FillRect and FrameRect accept a brush or a system colour index + 1, as on Windows.
int FillRect(HDC Dc, const RECT* R, HBRUSH Brush);
int FrameRect(HDC Dc, const RECT* R, HBRUSH Brush);
BOOL InvertRect(HDC Dc, const RECT* R);
BOOL FillRgn(HDC Dc, HRGN Rgn, HBRUSH Brush);
BOOL FrameRgn(HDC Dc, HRGN Rgn, HBRUSH Brush, int Width, int Height);
BOOL PaintRgn(HDC Dc, HRGN Rgn);
BOOL InvertRgn(HDC Dc, HRGN Rgn);

BOOL MoveToEx(HDC Dc, int X, int Y, LPPOINT Old);
BOOL GetCurrentPositionEx(HDC Dc, LPPOINT Out);
BOOL LineTo(HDC Dc, int X, int Y);
BOOL Polyline(HDC Dc, const POINT* Points, int Count);
BOOL PolylineTo(HDC Dc, const POINT* Points, DWORD Count);
BOOL PolyPolyline(HDC Dc, const POINT* Points, const DWORD* Counts, DWORD Polylines);
BOOL Polygon(HDC Dc, const POINT* Points, int Count);
BOOL PolyPolygon(HDC Dc, const POINT* Points, const INT* Counts, int Polygons);
BOOL Rectangle(HDC Dc, int Left, int Top, int Right, int Bottom);
BOOL RoundRect(HDC Dc, int Left, int Top, int Right, int Bottom, int Width, int Height);
BOOL Ellipse(HDC Dc, int Left, int Top, int Right, int Bottom);

// ---------------------------------------------------------------------------------------
// Regions
HRGN CreateRectRgn(int Left, int Top, int Right, int Bottom);
HRGN CreateRectRgnIndirect(const RECT* R);
HRGN CreateEllipticRgn(int Left, int Top, int Right, int Bottom);
HRGN CreateEllipticRgnIndirect(const RECT* R);
HRGN CreateRoundRectRgn(int Left, int Top, int Right, int Bottom, int Width, int Height);
HRGN CreatePolygonRgn(const POINT* Points, int Count, int FillMode);
HRGN ExtCreateRegion(const XFORM* Transform, DWORD Count, const RGNDATA* Data);
DWORD GetRegionData(HRGN Rgn, DWORD Count, RGNDATA* Data);  // Data == nullptr: size needed
int CombineRgn(HRGN Dest, HRGN Src1, HRGN Src2, int Mode);
BOOL SetRectRgn(HRGN Rgn, int Left, int Top, int Right, int Bottom);
int OffsetRgn(HRGN Rgn, int DX, int DY);
int GetRgnBox(HRGN Rgn, LPRECT Out);
BOOL PtInRegion(HRGN Rgn, int X, int Y);
BOOL RectInRegion(HRGN Rgn, const RECT* R);
BOOL EqualRgn(HRGN A, HRGN B);

// ---------------------------------------------------------------------------------------
// Rectangle helpers of the window system
BOOL SetRect(LPRECT R, int Left, int Top, int Right, int Bottom);
BOOL SetRectEmpty(LPRECT R);
BOOL CopyRect(LPRECT Dest, const RECT* Src);
BOOL InflateRect(LPRECT R, int DX, int DY);
BOOL OffsetRect(LPRECT R, int DX, int DY);
BOOL IsRectEmpty(const RECT* R);
BOOL PtInRect(const RECT* R, POINT P);
BOOL IntersectRect(LPRECT Dest, const RECT* A, const RECT* B);
BOOL UnionRect(LPRECT Dest, const RECT* A, const RECT* B);
BOOL SubtractRect(LPRECT Dest, const RECT* A, const RECT* B);
BOOL EqualRect(const RECT* A, const RECT* B);

namespace vantrel::win {

// Restores a DC's saved state when the scope ends, also when a painter raises.
class SavedDC {
 public:
  explicit SavedDC(HDC DC) : FDC(DC), FIndex(SaveDC(DC)) {}
  ~SavedDC() { RestoreDC(FDC, FIndex); }
  SavedDC(const SavedDC&) = delete;
  SavedDC& operator=(const SavedDC&) = delete;

 private:
  HDC FDC;
  int FIndex;
};

}  // namespace vantrel::win
