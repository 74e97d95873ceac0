// DrawText and DrawTextEx: formatted text in a rectangle with the DC's font, colours and
// background mode. The layout (prefix "&", line breaks, word wrap, tab expansion and
// ellipses) is our own and is exposed below for tests, written against a per-code-point
// advance so it runs without a device context.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/win/Gdi.h"

constexpr UINT DT_TOP = 0x00000000;
constexpr UINT DT_LEFT = 0x00000000;
constexpr UINT DT_CENTER = 0x00000001;
constexpr UINT DT_RIGHT = 0x00000002;
constexpr UINT DT_VCENTER = 0x00000004;
constexpr UINT DT_BOTTOM = 0x00000008;
constexpr UINT DT_WORDBREAK = 0x00000010;
constexpr UINT DT_SINGLELINE = 0x00000020;
constexpr UINT DT_EXPANDTABS = 0x00000040;
constexpr UINT DT_TABSTOP = 0x00000080;
constexpr UINT DT_NOCLIP = 0x00000100;
constexpr UINT DT_EXTERNALLEADING = 0x00000200;
constexpr UINT DT_CALCRECT = 0x00000400;
constexpr UINT DT_NOPREFIX = 0x00000800;
constexpr UINT DT_INTERNAL = 0x00001000;
constexpr UINT DT_EDITCONTROL = 0x00002000;
constexpr UINT DT_PATH_ELLIPSIS = 0x00004000;
constexpr UINT DT_END_ELLIPSIS = 0x00008000;
constexpr UINT DT_MODIFYSTRING = 0x00010000;
constexpr UINT DT_RTLREADING = 0x00020000;
constexpr UINT DT_WORD_ELLIPSIS = 0x00040000;
constexpr UINT DT_NOFULLWIDTHCHARBREAK = 0x00080000;
constexpr UINT DT_HIDEPREFIX = 0x00100000;
constexpr UINT DT_PREFIXONLY = 0x00200000;

struct DRAWTEXTPARAMS {
  UINT cbSize = sizeof(DRAWTEXTPARAMS);
  int iTabLength = 0;  // tab stops every iTabLength average character widths
  int iLeftMargin = 0;
  int iRightMargin = 0;
  UINT uiLengthDrawn = 0;  // out: code points processed
};
using LPDRAWTEXTPARAMS = DRAWTEXTPARAMS*;

// Draws Text (Count code points, -1 = all) in R by Format. Returns the text height (with
// DT_VCENTER or DT_BOTTOM: from R.Top to the bottom of the text), 0 on failure. With
// DT_CALCRECT nothing is drawn and R becomes the text's extent from R's top-left corner.
int DrawText(HDC Dc, const String& Text, int Count, LPRECT R, UINT Format);
int DrawTextEx(HDC Dc, const String& Text, int Count, LPRECT R, UINT Format,
               DRAWTEXTPARAMS* Params);
inline int DrawTextW(HDC Dc, const String& Text, int Count, LPRECT R, UINT Format) {
  return DrawText(Dc, Text, Count, R, Format);
}
inline int DrawTextA(HDC Dc, const String& Text, int Count, LPRECT R, UINT Format) {
  return DrawText(Dc, Text, Count, R, Format);
}
inline int DrawTextExW(HDC Dc, const String& Text, int Count, LPRECT R, UINT Format,
                       DRAWTEXTPARAMS* Params) {
  return DrawTextEx(Dc, Text, Count, R, Format, Params);
}

namespace vantrel::win::detail {

// Pixel advance of one code point in the current font.
using AdvanceFn = std::function<int(char32_t)>;

// One laid-out line: its code points, which of them the "&" prefix underlines, and its
// width with tabs expanded.
struct TextLine {
  std::u32string Text;
  std::vector<bool> Underline;
  int Width = 0;
};

struct TextLayoutOptions {
  UINT Format = 0;
  int AvailWidth = 0;  // width the text is fitted to (word wrap, ellipses)
  int TabWidth = 0;    // pixels between tab stops (used with DT_EXPANDTABS); <= 0: none
};

// Width of Line from a pen at 0: with Expand a tab moves the pen to the next multiple of
// TabWidth, without it a tab is an ordinary (zero-width control) character.
int LineWidth(std::u32string_view Line, bool Expand, int TabWidth, const AdvanceFn& Advance);

// Lays out Text (already cut to its count) into lines; no line at all when nothing is left
// to show (empty text, or a lone prefix "&").
std::vector<TextLine> LayoutText(std::u32string_view Text, const TextLayoutOptions& Options,
                                 const AdvanceFn& Advance);

}  // namespace vantrel::win::detail
