// Zero-filled pixel memory, from calloc or mapped pages.
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/win/ZeroedMemory.h"

using vantrel::win::AllocateZeroedBytes;
using vantrel::win::MapZeroedBytes;

TEST(ZeroedMemory, BlocksOfEverySizeStartAtZeroAndTakeWrites) {
  for (const bool Mapped : {false, true}) {
    for (const size_t Bytes : {size_t{0}, size_t{1}, size_t{4095}, size_t{64 * 1024}, size_t{3 * 1024 * 1024 + 5}}) {
      SCOPED_TRACE(testing::Message() << (Mapped ? "mapped " : "allocated ") << Bytes << " bytes");
      auto Block = Mapped ? MapZeroedBytes(Bytes) : AllocateZeroedBytes(Bytes);
      ASSERT_NE(Block.get(), nullptr);
      EXPECT_TRUE(std::all_of(Block.get(), Block.get() + Bytes, [](unsigned char B) { return B == 0; }));
      if (Bytes == 0) continue;
      Block[0] = 0xAB;
      Block[Bytes - 1] = 0xCD;
      EXPECT_EQ(Block[0], Bytes == 1 ? 0xCD : 0xAB);
      EXPECT_EQ(Block[Bytes - 1], 0xCD);
    }
  }
}

TEST(ZeroedMemory, TypedArraysReleaseTheirBlock) {
  auto Pixels = vantrel::win::AllocateZeroed<uint32_t>(1 << 20);
  Pixels[(1 << 20) - 1] = 0xFF00FF00u;
  EXPECT_EQ(Pixels[0], 0u);
  Pixels.reset();
  EXPECT_EQ(Pixels.get(), nullptr);
}
