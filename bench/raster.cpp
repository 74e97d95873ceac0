// Raster core against pixman on 800 x 600 32-bit surfaces: a full-surface BitBlt, a 2x
// StretchBlt (nearest pixel) and a FillRect, each beside pixman's composite of the same
// work. Prints the medians and, last, the geometric mean of the three ratios ours/pixman.
#include <pixman.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <functional>
#include <vector>

#include "platform/win/Gdi.h"

namespace {

constexpr int kW = 800, kH = 600;
constexpr int kRounds = 15, kReps = 20;

double MedianMs(const std::function<void()>& Work) {
  std::vector<double> T;
  Work();  // warm up
  for (int r = 0; r < kRounds; ++r) {
    auto A = std::chrono::steady_clock::now();
    for (int i = 0; i < kReps; ++i) Work();
    auto B = std::chrono::steady_clock::now();
    T.push_back(std::chrono::duration<double, std::milli>(B - A).count() / kReps);
  }
  std::sort(T.begin(), T.end());
  return T[T.size() / 2];
}

struct GdiSurface {
  HDC Dc;
  HBITMAP Bm;
  HGDIOBJ Old;
  uint32_t* Bits;
  GdiSurface(int W, int H) {
    BITMAPINFO Bi{};
    Bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    Bi.bmiHeader.biWidth = W;
    Bi.bmiHeader.biHeight = H;  // bottom-up, as the class library's 32-bit bitmaps
    Bi.bmiHeader.biPlanes = 1;
    Bi.bmiHeader.biBitCount = 32;
    void* P = nullptr;
    Bm = CreateDIBSection(nullptr, &Bi, DIB_RGB_COLORS, &P, nullptr, 0);
    Bits = static_cast<uint32_t*>(P);
    Dc = CreateCompatibleDC(nullptr);
    Old = SelectObject(Dc, Bm);
    for (int i = 0; i < W * H; ++i) Bits[i] = static_cast<uint32_t>(i * 2654435761u);
  }
  ~GdiSurface() {
    SelectObject(Dc, Old);
    DeleteDC(Dc);
    DeleteObject(Bm);
  }
};

struct PixmanSurface {
  std::vector<uint32_t> Bits;
  pixman_image_t* Img;
  PixmanSurface(int W, int H) : Bits(static_cast<size_t>(W) * H) {
    for (size_t i = 0; i < Bits.size(); ++i) Bits[i] = static_cast<uint32_t>(i * 2654435761u);
    Img = pixman_image_create_bits(PIXMAN_x8r8g8b8, W, H, Bits.data(), W * 4);
  }
  ~PixmanSurface() { pixman_image_unref(Img); }
};

}  // namespace

int main() {
  GdiSurface Src(kW, kH), Dst(kW, kH), Half(kW / 2, kH / 2);
  PixmanSurface PSrc(kW, kH), PDst(kW, kH), PHalf(kW / 2, kH / 2);

  const double OurBlit = MedianMs([&] { BitBlt(Dst.Dc, 0, 0, kW, kH, Src.Dc, 0, 0, SRCCOPY); });
  const double PixBlit = MedianMs([&] {
    pixman_image_composite32(PIXMAN_OP_SRC, PSrc.Img, nullptr, PDst.Img, 0, 0, 0, 0, 0, 0, kW, kH);
  });

  SetStretchBltMode(Dst.Dc, COLORONCOLOR);
  const double OurStretch =
      MedianMs([&] { StretchBlt(Dst.Dc, 0, 0, kW, kH, Half.Dc, 0, 0, kW / 2, kH / 2, SRCCOPY); });
  pixman_transform_t Scale;
  pixman_transform_init_scale(&Scale, pixman_double_to_fixed(0.5), pixman_double_to_fixed(0.5));
  pixman_image_set_transform(PHalf.Img, &Scale);
  pixman_image_set_filter(PHalf.Img, PIXMAN_FILTER_NEAREST, nullptr, 0);
  const double PixStretch = MedianMs([&] {
    pixman_image_composite32(PIXMAN_OP_SRC, PHalf.Img, nullptr, PDst.Img, 0, 0, 0, 0, 0, 0, kW, kH);
  });

  HBRUSH Brush = CreateSolidBrush(RGB(12, 34, 56));
  RECT All{0, 0, kW, kH};
  const double OurFill = MedianMs([&] { FillRect(Dst.Dc, &All, Brush); });
  pixman_color_t Color{0x3838, 0x2222, 0x0c0c, 0xffff};
  pixman_box32_t Box{0, 0, kW, kH};
  const double PixFill = MedianMs([&] { pixman_image_fill_boxes(PIXMAN_OP_SRC, PDst.Img, &Color, 1, &Box); });
  DeleteObject(Brush);

  const double R1 = OurBlit / PixBlit, R2 = OurStretch / PixStretch, R3 = OurFill / PixFill;
  std::printf("BitBlt      ours %.3f ms  pixman %.3f ms  ratio %.2f\n", OurBlit, PixBlit, R1);
  std::printf("StretchBlt  ours %.3f ms  pixman %.3f ms  ratio %.2f\n", OurStretch, PixStretch, R2);
  std::printf("FillRect    ours %.3f ms  pixman %.3f ms  ratio %.2f\n", OurFill, PixFill, R3);
  std::printf("ratio %.3f\n", std::cbrt(R1 * R2 * R3));
  return 0;
}
