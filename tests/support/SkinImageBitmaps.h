// Small 32-bit bitmaps for the skin drawing tests: pixels that name their own position,
// masks painted from text art, and pixel reads as 0x00RRGGBB.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/rtl/Classes.h"
#include "platform/ui/Graphics.h"

namespace vantrel::test {

// 0x00RRGGBB of a pixel read through the bitmap's scan line.
inline uint32_t PixelOf(TBitmap& B, int X, int Y) {
  if (B.PixelFormat() != pf32bit) B.SetPixelFormat(pf32bit);
  return static_cast<uint32_t*>(B.ScanLine(Y))[X] & 0xFFFFFF;
}

inline void SetPixelOf(TBitmap& B, int X, int Y, uint32_t Rgb) {
  static_cast<uint32_t*>(B.ScanLine(Y))[X] = 0xFF000000u | Rgb;
}

// A pixel that names its place: red = x, green = y, blue = 0x80.
constexpr uint32_t Coded(int X, int Y) {
  return (static_cast<uint32_t>(X) << 16) | (static_cast<uint32_t>(Y) << 8) | 0x80;
}

inline TOwned<TBitmap> NewBitmap(int W, int H, uint32_t Fill = 0xFFFFFF) {
  TOwned<TBitmap> B = CreateOwned<TBitmap>();
  B->SetPixelFormat(pf32bit);
  B->SetSize(W, H);
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) SetPixelOf(*B, x, y, Fill);
  return B;
}

// A W x H picture whose every pixel is Coded(x, y).
inline TOwned<TBitmap> CodedBitmap(int W, int H) {
  TOwned<TBitmap> B = NewBitmap(W, H);
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) SetPixelOf(*B, x, y, Coded(x, y));
  return B;
}

// A mask from rows of text: '#' black, anything else white.
inline TOwned<TBitmap> MaskFromArt(const std::vector<std::string>& Rows) {
  const int h = static_cast<int>(Rows.size()), w = h ? static_cast<int>(Rows[0].size()) : 0;
  TOwned<TBitmap> B = NewBitmap(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      if (Rows[y][x] == '#') SetPixelOf(*B, x, y, 0);
  return B;
}

}  // namespace vantrel::test
