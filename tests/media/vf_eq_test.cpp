// EqProcess: the brightness and contrast arithmetic on the luma plane.
#include "media/vf_eq.h"

#include <gtest/gtest.h>

#include <vector>

using namespace vantrel::media;

namespace {

// Every sample 0..255 once, in a 16x16 plane with 4 bytes of padding per row.
std::vector<uint8_t> Ramp() {
  std::vector<uint8_t> P(20 * 16, 0xEE);
  for (int Y = 0; Y < 16; ++Y)
    for (int X = 0; X < 16; ++X) P[Y * 20 + X] = static_cast<uint8_t>(Y * 16 + X);
  return P;
}

int Clamp(int V) { return V < 0 ? 0 : V > 255 ? 255 : V; }

}  // namespace

TEST(EqProcess, MapsEverySampleAsTheTablesSay) {
  const struct {
    int Brightness;
    int Contrast;
    int (*Expected)(int);
  } Cases[] = {
      {0, -100, [](int) { return 127; }},
      {0, 100, [](int P) { return Clamp(2 * P - 129); }},
      {100, 0, [](int) { return 255; }},
      {-100, 0, [](int P) { return Clamp(P - 256); }},
      // Neutral values are not the identity: the fixed-point offset loses one.
      {0, 0, [](int P) { return Clamp(P - 1); }},
      // Brightness 20: offset 120 * 511 / 200 - 256 = 50.
      {20, 0, [](int P) { return Clamp(P + 50); }},
      // Contrast 50: factor 98304 / 65536, offset 255 - 128 - 192 = -65.
      {0, 50, [](int P) { return Clamp(((P * 98304) >> 16) - 65); }},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(testing::Message() << C.Brightness << ":" << C.Contrast);
    std::vector<uint8_t> P = Ramp();
    EqProcess(P.data(), 20, 16, 16, C.Brightness, C.Contrast);
    for (int Y = 0; Y < 16; ++Y) {
      for (int X = 0; X < 16; ++X) ASSERT_EQ(P[Y * 20 + X], C.Expected(Y * 16 + X)) << Y * 16 + X;
      for (int X = 16; X < 20; ++X) ASSERT_EQ(P[Y * 20 + X], 0xEE) << "padding touched";
    }
  }
}

// Rows wide enough for the vector steps and a tail, every sample value, the extreme and
// some middle settings: in place and from a separate source, each sample as the scalar
// formula gives it (factor (contrast + 100) / 100 in 16.16, offset
// (brightness + 100) * 511 / 200 - 128 - factor / 512).
TEST(EqProcess, WideRowsFromASourceOrInPlaceGiveTheFormulasBytes) {
  constexpr int W = 269, H = 3, Stride = 288;
  std::vector<uint8_t> Source(Stride * H, 0xEE);
  for (int Y = 0; Y < H; ++Y)
    for (int X = 0; X < W; ++X) Source[Y * Stride + X] = static_cast<uint8_t>(X * 7 + Y * 3);
  for (int B : {-100, -37, 0, 20, 100})
    for (int C : {-100, -1, 0, 30, 99, 100}) {
      SCOPED_TRACE(testing::Message() << B << ":" << C);
      const int CF = (C + 100) * 65536 / 100;
      const int BO = (B + 100) * 511 / 200 - 128 - (CF >> 9);
      std::vector<uint8_t> From(Stride * H, 0xEE), InPlace = Source;
      EqProcess(Source.data(), From.data(), Stride, W, H, B, C);
      EqProcess(InPlace.data(), Stride, W, H, B, C);
      for (int Y = 0; Y < H; ++Y) {
        for (int X = 0; X < W; ++X) {
          const int S = Source[Y * Stride + X];
          const int Expected = Clamp(static_cast<int>((static_cast<long long>(S) * CF) >> 16) + BO);
          ASSERT_EQ(From[Y * Stride + X], Expected) << "sample " << S << " at " << X;
          ASSERT_EQ(InPlace[Y * Stride + X], Expected) << "sample " << S << " at " << X;
        }
        for (int X = W; X < Stride; ++X) {
          ASSERT_EQ(From[Y * Stride + X], 0xEE) << "padding touched";
          ASSERT_EQ(InPlace[Y * Stride + X], 0xEE) << "padding touched";
        }
      }
    }
}
