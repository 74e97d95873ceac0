// Text output and measuring on a device context with its selected font: TextOut,
// ExtTextOut, TabbedTextOut, extents and text metrics. Text is UTF-8; counts are code
// points, -1 meaning the whole string. Extents run along the baseline whatever the
// font's escapement; a font with escapement 900 draws upwards, glyphs turned 90 degrees
// counter-clockwise (other escapements go to the nearest quarter turn). The colour, background and alignment setters are in Gdi.h.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/win/Fonts.h"
#include "platform/win/Gdi.h"

// Text alignment (SetTextAlign)
constexpr UINT TA_NOUPDATECP = 0;
constexpr UINT TA_UPDATECP = 1;
constexpr UINT TA_LEFT = 0;
constexpr UINT TA_RIGHT = 2;
constexpr UINT TA_CENTER = 6;
constexpr UINT TA_TOP = 0;
constexpr UINT TA_BOTTOM = 8;
constexpr UINT TA_BASELINE = 24;
constexpr UINT TA_RTLREADING = 256;
constexpr UINT TA_MASK = TA_BASELINE | TA_CENTER | TA_UPDATECP | TA_RTLREADING;

// ExtTextOut options
constexpr UINT ETO_OPAQUE = 0x0002;
constexpr UINT ETO_CLIPPED = 0x0004;
constexpr UINT ETO_RTLREADING = 0x0080;
constexpr UINT ETO_IGNORELANGUAGE = 0x1000;

BOOL GetTextExtentPoint32(HDC Dc, const String& Text, int Count, SIZE* Size);
inline BOOL GetTextExtentPoint32W(HDC Dc, const String& Text, int Count, SIZE* Size) {
  return GetTextExtentPoint32(Dc, Text, Count, Size);
}
inline BOOL GetTextExtentPoint(HDC Dc, const String& Text, int Count, SIZE* Size) {
  return GetTextExtentPoint32(Dc, Text, Count, Size);
}
// How many code points fit in MaxExtent (Fit) and the extent after each one (Dx).
BOOL GetTextExtentExPoint(HDC Dc, const String& Text, int Count, int MaxExtent, int* Fit,
                          int* Dx, SIZE* Size);
BOOL GetTextMetrics(HDC Dc, TEXTMETRIC* Metrics);
inline BOOL GetTextMetricsW(HDC Dc, TEXTMETRIC* Metrics) { return GetTextMetrics(Dc, Metrics); }

BOOL TextOut(HDC Dc, int X, int Y, const String& Text, int Count);
inline BOOL TextOutW(HDC Dc, int X, int Y, const String& Text, int Count) {
  return TextOut(Dc, X, Y, Text, Count);
}
// Rect (may be null) is filled with the background colour by ETO_OPAQUE and clips the
// text by ETO_CLIPPED; Dx (may be null) gives the advance of each code point.
BOOL ExtTextOut(HDC Dc, int X, int Y, UINT Options, const RECT* Rect, const String& Text,
                int Count, const INT* Dx);
inline BOOL ExtTextOutW(HDC Dc, int X, int Y, UINT Options, const RECT* Rect, const String& Text,
                        int Count, const INT* Dx) {
  return ExtTextOut(Dc, X, Y, Options, Rect, Text, Count, Dx);
}
// Tabs go to the stops (positions from TabOrigin): none given = every 8 average character
// widths, one = every that many pixels, several = those positions, then every 8 average
// widths. Returns the text's width (low word) and height (high word); 0 on failure.
LONG TabbedTextOut(HDC Dc, int X, int Y, const String& Text, int Count, int TabPositions,
                   const INT* TabStops, int TabOrigin);
inline LONG TabbedTextOutW(HDC Dc, int X, int Y, const String& Text, int Count,
                           int TabPositions, const INT* TabStops, int TabOrigin) {
  return TabbedTextOut(Dc, X, Y, Text, Count, TabPositions, TabStops, TabOrigin);
}
DWORD GetTabbedTextExtent(HDC Dc, const String& Text, int Count, int TabPositions,
                          const INT* TabStops);
inline DWORD GetTabbedTextExtentW(HDC Dc, const String& Text, int Count, int TabPositions,
                                  const INT* TabStops) {
  return GetTabbedTextExtent(Dc, Text, Count, TabPositions, TabStops);
}

namespace vantrel::win {

class FontFace;

// Shared with DrawText.
namespace detail {

// Coordinates are kept within +-2^27, as GDI's own limit, so text arithmetic on them never
// overflows.
constexpr int kCoordLimit = 1 << 27;
constexpr int ClampCoord(long long V) {
  return static_cast<int>(V < -kCoordLimit ? -kCoordLimit : V > kCoordLimit ? kCoordLimit : V);
}
constexpr RECT ClampRect(const RECT& R) {
  return {ClampCoord(R.Left), ClampCoord(R.Top), ClampCoord(R.Right), ClampCoord(R.Bottom)};
}

// Tab stops every this many average character widths unless told otherwise.
constexpr int kDefaultTabChars = 8;

// The first Count code points of UTF-8 Text (all of them for a negative Count).
std::u32string CutText(const String& Text, int Count);

// Whether Dc is a live device context.
bool IsTextDc(HDC Dc);
// The face of the DC's selected font (the default DC font when none is selected).
std::shared_ptr<FontFace> DcFontFace(HDC Dc);
// Draws one line of DrawText with its top-left at logical (X, Y): tabs to multiples of
// TabWidth from X (0: tabs take no room), Underline marks prefixed code points, Clip (may
// be null) is logical. Background by the DC's mode; the DC's text alignment is ignored.
void DrawTextLine(HDC Dc, int X, int Y, const std::u32string& Text,
                  const std::vector<bool>& Underline, int TabWidth, const RECT* Clip);

}  // namespace detail

}  // namespace vantrel::win
