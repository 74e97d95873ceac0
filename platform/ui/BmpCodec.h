// BMP files as the class library reads and writes them: a device-independent picture
// (bottom-up rows padded to 4 bytes, a colour table up to 8 bpp) and its file image
// (14-byte file header, 40-byte info header, colour table, rows).
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

namespace vantrel::ui {

// One colour-table entry in file order: blue, green, red, reserved.
struct DibColor {
  uint8_t Blue = 0;
  uint8_t Green = 0;
  uint8_t Red = 0;
  uint8_t Reserved = 0;
  friend bool operator==(const DibColor&, const DibColor&) = default;
};

struct DibImage {
  int Width = 0;
  int Height = 0;
  int BitCount = 0;            // 1, 4, 8, 16, 24 or 32
  bool Rgb565 = false;         // 16 bpp: 5-6-5 instead of 5-5-5
  std::vector<DibColor> Colors;  // colour table for 1, 4 and 8 bpp
  std::vector<uint8_t> Bits;     // rows bottom-up, Stride() bytes each

  static size_t StrideFor(int Width, int BitCount) {
    return ((static_cast<size_t>(Width) * BitCount + 31) / 32) * 4;
  }
  size_t Stride() const { return StrideFor(Width, BitCount); }
  // The visual row y (0 = top).
  uint8_t* Row(int y) { return Bits.data() + static_cast<size_t>(Height - 1 - y) * Stride(); }
  const uint8_t* Row(int y) const {
    return Bits.data() + static_cast<size_t>(Height - 1 - y) * Stride();
  }
};

// Reads exactly Count bytes or raises (a stream's ReadBuffer).
using ReadExactFn = std::function<void(void* Buffer, size_t Count)>;

// Reads one BMP file image, consuming exactly its bytes up to the end of the pixel data.
// Accepts BI_RGB at 1, 4, 8, 16, 24 and 32 bpp and BI_BITFIELDS at 16 and 32 bpp, core,
// info, V4 and V5 headers, top-down rows. Anything else raises EInvalidGraphic, and so
// does a header that needs more than the Available bytes the source holds from the
// image's start: that is found from the headers, before the picture is allocated.
DibImage ReadBmp(const ReadExactFn& Read, uint64_t Available);

// Gives the memory the rows of a picture go into, Picture.Stride() * Picture.Height bytes
// bottom-up, once its size, depth and colours are known (Picture.Bits is empty).
using PixelTargetFn = std::function<uint8_t*(const DibImage& Picture)>;

// The same read with the rows stored straight into Target's memory instead of the returned
// picture's Bits (which stay empty): a loader keeps no second copy of them.
DibImage ReadBmp(const ReadExactFn& Read, uint64_t Available, const PixelTargetFn& Target);

// The file image of Image: file header, 40-byte info header (BI_BITFIELDS with its three
// masks for 16 bpp), the colour table (1, 4, 8 bpp), rows bottom-up.
std::vector<uint8_t> WriteBmp(const DibImage& Image);

}  // namespace vantrel::ui
