// Reading a small glyph (an arrow, three dots) out of a picture: which pixels are ink, far
// darker than the light faces of the default skin, how wide each row of ink is and how
// many separate runs of ink a row holds.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/ui/Graphics.h"

namespace vantrel::test {

// A colour (either byte order) whose mean channel lies below the middle grey.
inline bool IsGlyphInk(uint32_t Colour) {
  const uint32_t Sum = (Colour & 0xFF) + ((Colour >> 8) & 0xFF) + ((Colour >> 16) & 0xFF);
  return Sum < 3 * 128;
}

// The ink count of each row of R that holds ink, top to bottom. Pixel(X, Y) gives a colour.
template <class PixelFn>
std::vector<int> GlyphInkRows(PixelFn Pixel, const TRect& R) {
  std::vector<int> Rows;
  for (int Y = R.Top; Y < R.Bottom; ++Y) {
    int Ink = 0;
    for (int X = R.Left; X < R.Right; ++X) Ink += IsGlyphInk(Pixel(X, Y)) ? 1 : 0;
    if (Ink > 0) Rows.push_back(Ink);
  }
  return Rows;
}

// A downward arrow: rows of ink that narrow from top to bottom, the top one wider.
inline bool IsDownArrowInk(const std::vector<int>& Rows) {
  if (Rows.size() < 2 || Rows.front() <= Rows.back()) return false;
  for (size_t I = 1; I < Rows.size(); ++I)
    if (Rows[I] > Rows[I - 1]) return false;
  return true;
}

// The most separate runs of ink on one row of R.
template <class PixelFn>
int MostGlyphInkRuns(PixelFn Pixel, const TRect& R) {
  int Most = 0;
  for (int Y = R.Top; Y < R.Bottom; ++Y) {
    int Runs = 0;
    bool In = false;
    for (int X = R.Left; X < R.Right; ++X) {
      const bool Ink = IsGlyphInk(Pixel(X, Y));
      if (Ink && !In) ++Runs;
      In = Ink;
    }
    if (Runs > Most) Most = Runs;
  }
  return Most;
}

}  // namespace vantrel::test
