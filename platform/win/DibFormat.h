// Pixel rows of device-independent bitmaps in their own depth (1, 4, 8, 16, 24, 32 bpp)
// to and from our 32-bit pixels; shared by DIB sections, GetDIBits/SetDIBits and the
// DIB blits.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/win/Gdi.h"

namespace vantrel::win {

struct DibFormat {
  int Width = 0;
  int Height = 0;  // rows, positive
  int BitCount = 32;
  bool BottomUp = true;
  bool Rgb565 = false;  // 16 bpp with 5-6-5 bit fields (else 5-5-5)
  std::vector<RGBQUAD> Colors;
  int RowBytes() const { return DibRowBytes(Width, BitCount); }
  size_t ImageBytes() const { return static_cast<size_t>(RowBytes()) * Height; }
  // Offset of visual row Y in the bits.
  size_t RowOffset(int Y) const { return static_cast<size_t>(BottomUp ? Height - 1 - Y : Y) * RowBytes(); }
};

// Reads a BITMAPINFO (uncompressed or 16/32 bpp bit fields). False for a format we do not
// draw: compressed, zero size, a depth other than 1/4/8/16/24/32, or too large.
bool ParseDibFormat(const BITMAPINFO* Info, DibFormat& Out);

// One row of Width pixels in the DIB's depth -> 32-bit pixels (alpha 0 except 32 bpp).
void ReadDibRow(const DibFormat& F, const uint8_t* Row, uint32_t* Out);

// 32-bit pixels -> one DIB row; palette depths take the nearest table colour.
class DibRowWriter {
 public:
  explicit DibRowWriter(const DibFormat& F) : FFormat(F) {}
  void Write(const uint32_t* In, uint8_t* Row);
  // The table index nearest to a pixel.
  int Nearest(uint32_t P);

 private:
  const DibFormat& FFormat;
  uint32_t FLastPixel = 0xFFFFFFFF;
  int FLastIndex = 0;
};

// The 32-bit value a pixel keeps after a trip through the format.
uint32_t QuantisePixel(const DibFormat& F, DibRowWriter& W, uint32_t P);

}  // namespace vantrel::win
