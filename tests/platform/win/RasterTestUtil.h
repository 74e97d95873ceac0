// Helpers of the raster tests: a memory DC on a fresh 32 bpp DIB, pixel reads, and
// pictures of a DC as rows of characters so pixel tables read as drawings.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "platform/win/Gdi.h"

namespace raster_test {

constexpr uint32_t kBlack = 0x000000, kWhite = 0xFFFFFF, kRed = 0xFF0000, kGreen = 0x00FF00,
                   kBlue = 0x0000FF;

// A memory DC with a W x H 32 bpp DIB section selected, every pixel Fill (0x00RRGGBB).
struct Canvas {
  HDC Dc = nullptr;
  HBITMAP Bitmap = nullptr;
  HGDIOBJ Old = nullptr;
  uint32_t* Bits = nullptr;
  int W, H;
  bool BottomUp;

  Canvas(int Width, int Height, uint32_t Fill = 0x00FFFFFF, bool IsBottomUp = false)
      : W(Width), H(Height), BottomUp(IsBottomUp) {
    BITMAPINFO Bi{};
    Bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    Bi.bmiHeader.biWidth = W;
    Bi.bmiHeader.biHeight = BottomUp ? H : -H;
    Bi.bmiHeader.biPlanes = 1;
    Bi.bmiHeader.biBitCount = 32;
    void* P = nullptr;
    Bitmap = CreateDIBSection(nullptr, &Bi, DIB_RGB_COLORS, &P, nullptr, 0);
    Bits = static_cast<uint32_t*>(P);
    Dc = CreateCompatibleDC(nullptr);
    Old = SelectObject(Dc, Bitmap);
    for (int i = 0; i < W * H; ++i) Bits[i] = Fill;
  }
  ~Canvas() {
    SelectObject(Dc, Old);
    DeleteDC(Dc);
    DeleteObject(Bitmap);
  }
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  // The pixel at visual (X, Y), alpha included.
  uint32_t& At(int X, int Y) { return Bits[(BottomUp ? H - 1 - Y : Y) * W + X]; }

  // One character per pixel: the legend's characters for its colours, '.' for Paper and
  // '?' for anything else (colours as 0x00RRGGBB pixels).
  std::vector<std::string> Picture(std::initializer_list<std::pair<uint32_t, char>> Legend,
                                   uint32_t Paper = 0x00FFFFFF) {
    std::vector<std::string> Rows;
    for (int y = 0; y < H; ++y) {
      std::string R;
      for (int x = 0; x < W; ++x) {
        uint32_t P = At(x, y) & 0x00FFFFFF;
        char C = P == (Paper & 0xFFFFFF) ? '.' : '?';
        for (auto [Color, Ch] : Legend)
          if (P == (Color & 0xFFFFFF)) C = Ch;
        R += C;
      }
      Rows.push_back(R);
    }
    return Rows;
  }
  std::vector<std::string> Picture(uint32_t Ink) { return Picture({{Ink, '#'}}); }
};

inline std::string Joined(const std::vector<std::string>& Rows) {
  std::string S;
  for (const auto& R : Rows) S += R + "\n";
  return S;
}

}  // namespace raster_test

// Compares a picture with an expected drawing, printing both on failure.
#define EXPECT_PICTURE(Picture, ...) \
  EXPECT_EQ(raster_test::Joined(Picture), raster_test::Joined(std::vector<std::string>{__VA_ARGS__}))
