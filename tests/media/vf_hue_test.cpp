// HueProcess: the hue rotation and saturation arithmetic on the chroma planes.
#include "media/vf_hue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

using namespace vantrel::media;

namespace {

struct TPlanes {
  std::vector<uint8_t> U, V;
};

// Every (U, V) pair on a grid of steps of 17 (0, 17 ... 255): 16 x 16 samples, rows of
// 16 samples plus 3 bytes of padding.
TPlanes Grid() {
  TPlanes P{std::vector<uint8_t>(19 * 16, 0xEE), std::vector<uint8_t>(19 * 16, 0xEE)};
  for (int Y = 0; Y < 16; ++Y)
    for (int X = 0; X < 16; ++X) {
      P.U[Y * 19 + X] = static_cast<uint8_t>(X * 17);
      P.V[Y * 19 + X] = static_cast<uint8_t>(Y * 17);
    }
  return P;
}

}  // namespace

TEST(HueProcess, RotatesAndScalesChroma) {
  const struct {
    int Hue;
    int Sat;
    int (*U)(int U, int V);
    int (*V)(int U, int V);
  } Cases[] = {
      {0, 0, [](int U, int) { return U; }, [](int, int V) { return V; }},
      // Grey at saturation -100, whatever the hue.
      {0, -100, [](int, int) { return 128; }, [](int, int) { return 128; }},
      {37, -100, [](int, int) { return 128; }, [](int, int) { return 128; }},
      // Half a turn: mirrored around 128 (0 becomes 256, clamped).
      {100, 0, [](int U, int) { return std::min(256 - U, 255); },
       [](int, int V) { return std::min(256 - V, 255); }},
      {-100, 0, [](int U, int) { return std::min(256 - U, 255); },
       [](int, int V) { return std::min(256 - V, 255); }},
      // A quarter turn: (u, v) -> (-v, u), rounded down after adding half.
      {50, 0, [](int, int V) { return std::clamp(256 - V, 0, 255); },
       [](int U, int) { return U; }},
      // Saturation 100 doubles the distance from 128.
      {0, 100, [](int U, int) { return std::clamp(2 * U - 128, 0, 255); },
       [](int, int V) { return std::clamp(2 * V - 128, 0, 255); }},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(testing::Message() << C.Hue << ":" << C.Sat);
    TPlanes P = Grid();
    HueProcess(P.U.data(), P.V.data(), 19, 16, 16, C.Hue, C.Sat);
    for (int Y = 0; Y < 16; ++Y) {
      for (int X = 0; X < 16; ++X) {
        const int U = X * 17, V = Y * 17;
        ASSERT_EQ(P.U[Y * 19 + X], C.U(U, V)) << U << "," << V;
        ASSERT_EQ(P.V[Y * 19 + X], C.V(U, V)) << U << "," << V;
      }
      for (int X = 16; X < 19; ++X) ASSERT_EQ(P.U[Y * 19 + X], 0xEE) << "padding touched";
    }
  }
}

TEST(HueProcess, ChromaBelowZeroBecomesZeroNotWrapped) {
  uint8_t U = 128, V = 255;
  HueProcess(&U, &V, 1, 1, 1, 50, 100);
  EXPECT_EQ(U, 0);
  EXPECT_EQ(V, 128);
}
