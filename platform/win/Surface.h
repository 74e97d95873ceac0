// A 32-bit pixel surface: the backing store of a top-level window or the pixels of a
// 32 bpp DIB section. Pixels are 0xAARRGGBB in memory order B, G, R, A, rows either
// bottom-up (as Windows DIBs) or top-down. Row(y) always takes the visual row y.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/win/ZeroedMemory.h"

namespace vantrel::win {

class Surface {
 public:
  // Owns zeroed pixels.
  Surface(int Width, int Height, bool BottomUp)
      : FWidth(Width < 0 ? 0 : Width), FHeight(Height < 0 ? 0 : Height), FBottomUp(BottomUp),
        FOwned(AllocateZeroed<uint32_t>(static_cast<size_t>(FWidth) * FHeight)), FBits(FOwned.get()) {}
  // Owns pixels its maker writes in full at once, so they are not cleared first.
  struct Uncleared {};
  Surface(int Width, int Height, bool BottomUp, Uncleared)
      : FWidth(Width < 0 ? 0 : Width), FHeight(Height < 0 ? 0 : Height), FBottomUp(BottomUp),
        FOwned(AllocateForOverwrite<uint32_t>(static_cast<size_t>(FWidth) * FHeight)), FBits(FOwned.get()) {}
  // Wraps pixels owned elsewhere (Stride in pixels).
  Surface(int Width, int Height, bool BottomUp, uint32_t* Bits)
      : FWidth(Width), FHeight(Height), FBottomUp(BottomUp), FBits(Bits) {}

  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  bool BottomUp() const { return FBottomUp; }
  uint32_t* Bits() { return FBits; }
  const uint32_t* Bits() const { return FBits; }
  size_t StrideBytes() const { return static_cast<size_t>(FWidth) * 4; }

  uint32_t* Row(int y) {
    return FBits + static_cast<size_t>(FBottomUp ? FHeight - 1 - y : y) * FWidth;
  }
  const uint32_t* Row(int y) const {
    return FBits + static_cast<size_t>(FBottomUp ? FHeight - 1 - y : y) * FWidth;
  }
  bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < FWidth && y < FHeight; }

 private:
  int FWidth;
  int FHeight;
  bool FBottomUp;
  ZeroedArray<uint32_t> FOwned;
  uint32_t* FBits;
};

}  // namespace vantrel::win
