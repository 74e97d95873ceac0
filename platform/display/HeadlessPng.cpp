// PNG output with libpng, straight from a surface.
#include "platform/display/HeadlessPng.h"

#include <png.h>

#include <cstdio>
#include <memory>
#include <vector>

namespace vantrel::display {

bool SavePng(const win::Surface& Pixels, const std::string& FileName) {
  std::unique_ptr<FILE, int (*)(FILE*)> File(std::fopen(FileName.c_str(), "wb"), &std::fclose);
  if (!File) return false;
  png_structp Png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (!Png) return false;
  png_infop Info = png_create_info_struct(Png);
  struct Guard {
    png_structp& P;
    png_infop& I;
    ~Guard() { png_destroy_write_struct(&P, &I); }
  } G{Png, Info};
  if (!Info) return false;
  // Rows are converted before libpng is called, so nothing below allocates after a
  // longjmp point.
  const int W = Pixels.Width(), H = Pixels.Height();
  std::vector<png_byte> Rgba(static_cast<size_t>(W) * H * 4);
  for (int Y = 0; Y < H; ++Y) {
    const uint32_t* Row = Pixels.Row(Y);
    png_byte* D = Rgba.data() + static_cast<size_t>(Y) * W * 4;
    for (int X = 0; X < W; ++X) {
      const uint32_t P = Row[X];
      D[X * 4 + 0] = static_cast<png_byte>(P >> 16);
      D[X * 4 + 1] = static_cast<png_byte>(P >> 8);
      D[X * 4 + 2] = static_cast<png_byte>(P);
      D[X * 4 + 3] = 255;  // window pixels are opaque on screen
    }
  }
  std::vector<png_bytep> Rows(static_cast<size_t>(H));
  for (int Y = 0; Y < H; ++Y) Rows[static_cast<size_t>(Y)] = Rgba.data() + static_cast<size_t>(Y) * W * 4;
  if (setjmp(png_jmpbuf(Png))) return false;
  png_init_io(Png, File.get());
  png_set_IHDR(Png, Info, static_cast<png_uint_32>(W), static_cast<png_uint_32>(H), 8, PNG_COLOR_TYPE_RGB_ALPHA,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(Png, Info);
  png_write_image(Png, Rows.data());
  png_write_end(Png, nullptr);
  return true;
}

}  // namespace vantrel::display
