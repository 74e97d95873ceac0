// A memory DC on a white 32 bpp top-down DIB section for text tests, with the ink's
// bounding box (pixels that are no longer white).
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "platform/win/Fonts.h"
#include "platform/win/Gdi.h"

namespace vantrel::test {

class TextDib {
 public:
  TextDib(int Width, int Height) : FWidth(Width), FHeight(Height) {
    BITMAPINFO Bi{};
    Bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    Bi.bmiHeader.biWidth = Width;
    Bi.bmiHeader.biHeight = -Height;
    Bi.bmiHeader.biPlanes = 1;
    Bi.bmiHeader.biBitCount = 32;
    Bi.bmiHeader.biCompression = BI_RGB;
    void* Bits = nullptr;
    FDc = CreateCompatibleDC(nullptr);
    FBitmap = CreateDIBSection(FDc, &Bi, DIB_RGB_COLORS, &Bits, nullptr, 0);
    FBits = static_cast<uint32_t*>(Bits);
    FOld = SelectObject(FDc, FBitmap);
    Clear();
  }
  ~TextDib() {
    SelectObject(FDc, FOld);
    DeleteDC(FDc);
    DeleteObject(FBitmap);
    for (HFONT F : FFonts) DeleteObject(F);
  }
  TextDib(const TextDib&) = delete;
  TextDib& operator=(const TextDib&) = delete;

  HDC Dc() const { return FDc; }
  bool Valid() const { return FDc && FBitmap && FBits; }
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }

  void Clear(uint32_t Pixel = 0x00FFFFFF) {
    for (int I = 0; I < FWidth * FHeight; ++I) FBits[I] = Pixel;
  }
  // Pixel as 0x00RRGGBB (alpha dropped).
  uint32_t At(int X, int Y) const { return FBits[Y * FWidth + X] & 0xFFFFFF; }

  // Creates a font (freed with the DIB) and selects it.
  HFONT Select(const LOGFONT& Lf) {
    HFONT F = CreateFontIndirect(&Lf);
    FFonts.push_back(F);
    SelectObject(FDc, F);
    return F;
  }

  // Bounding box of the pixels that differ from Background; empty when none do.
  RECT Ink(uint32_t Background = 0xFFFFFF) const {
    RECT R{FWidth, FHeight, 0, 0};
    for (int Y = 0; Y < FHeight; ++Y)
      for (int X = 0; X < FWidth; ++X)
        if (At(X, Y) != Background) {
          R.Left = std::min(R.Left, X);
          R.Top = std::min(R.Top, Y);
          R.Right = std::max(R.Right, X + 1);
          R.Bottom = std::max(R.Bottom, Y + 1);
        }
    if (R.Right <= R.Left) return RECT{};
    return R;
  }

 private:
  int FWidth;
  int FHeight;
  HDC FDc = nullptr;
  HBITMAP FBitmap = nullptr;
  HGDIOBJ FOld = nullptr;
  uint32_t* FBits = nullptr;
  std::vector<HFONT> FFonts;
};

inline LOGFONT MakeFont(const char* Face, int Height, LONG Escapement = 0, int Weight = FW_NORMAL) {
  LOGFONT Lf;
  Lf.lfHeight = Height;
  Lf.lfEscapement = Escapement;
  Lf.lfOrientation = Escapement;
  Lf.lfWeight = Weight;
  Lf.lfCharSet = DEFAULT_CHARSET;
  snprintf(Lf.lfFaceName, sizeof(Lf.lfFaceName), "%s", Face);
  return Lf;
}

}  // namespace vantrel::test
