// The cursor file of the test skins: a black arrow with a white outline, 1-bit colour with
// its AND mask, the layout the platform's cursor-file reader takes.
#include <cstdint>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "tools/skingen/SkinGenBuild.h"

namespace vantrel::skingen {

namespace {

// 0 outside, 1 outline (white), 2 body (black) of the arrow at (X, Y).
int CursorArrowCell(int X, int Y) {
  const int Tip = 20;  // rows of the arrow head
  if (Y >= Tip + 8 || X < 0) return 0;
  const int Width = Y < Tip ? Y * 2 / 3 + 1 : 0;
  if (Y < Tip) {
    if (X > Width) return 0;
    return (X == 0 || X == Width || Y == 0 || Y == Tip - 1) ? 1 : 2;
  }
  // The stem.
  if (X < 3 || X > 7) return 0;
  return (X == 3 || X == 7 || Y == Tip + 7) ? 1 : 2;
}

}  // namespace

void WriteCursorFile(const std::string& FileName) {
  const int N = CursorSize;
  const int RowBytes = N / 8;  // 1 bit a pixel, already a multiple of 4 bytes for 32
  std::vector<uint8_t> B;
  auto U16 = [&B](int V) {
    B.push_back(static_cast<uint8_t>(V & 0xFF));
    B.push_back(static_cast<uint8_t>((V >> 8) & 0xFF));
  };
  auto U32 = [&U16](uint32_t V) {
    U16(static_cast<int>(V & 0xFFFF));
    U16(static_cast<int>(V >> 16));
  };
  const int ImageSize = 40 + 8 + 2 * RowBytes * N;
  U16(0), U16(2), U16(1);  // a cursor file with one image
  B.push_back(static_cast<uint8_t>(N)), B.push_back(static_cast<uint8_t>(N)), B.push_back(0),
      B.push_back(0);
  U16(CursorHotSpotX), U16(CursorHotSpotY), U32(ImageSize), U32(22);
  U32(40), U32(N), U32(2 * N), U16(1), U16(1), U32(0);  // info header, height doubled
  U32(0), U32(0), U32(0), U32(0), U32(0);
  U32(0x000000), U32(0xFFFFFF);  // palette: black, white
  // Rows bottom-up: the colour (XOR) rows, then the AND mask rows.
  for (int Pass = 0; Pass < 2; ++Pass)
    for (int Y = N - 1; Y >= 0; --Y)
      for (int Byte = 0; Byte < RowBytes; ++Byte) {
        uint8_t V = 0;
        for (int Bit = 0; Bit < 8; ++Bit) {
          const int Cell = CursorArrowCell(Byte * 8 + Bit, Y);
          const bool Set = Pass == 0 ? Cell == 1 : Cell == 0;  // white outline; mask outside
          if (Set) V |= static_cast<uint8_t>(0x80 >> Bit);
        }
        B.push_back(V);
      }
  std::ofstream F(FileName, std::ios::binary | std::ios::trunc);
  F.write(reinterpret_cast<const char*>(B.data()), static_cast<std::streamsize>(B.size()));
  if (!F) throw std::runtime_error("Cannot create file " + FileName);
}

}  // namespace vantrel::skingen
