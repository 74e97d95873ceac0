// The alpha-blend row kernel over a 1920x1080 working bitmap: the vector (MMX-form) kernel
// the skin engine picks on this processor (AVX2 where it has it, else SSE2) against the
// plain integer kernel, same pixels, several rounds, medians.
// Last line: ratio <picked vector time / plain time>.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>
#include <vector>

#include "skin/core/bitmaps/spEffBmp.h"

namespace {

constexpr Integer W = 1920, H = 1080, Rounds = 21;

using Row = void (*)(const TspColor*, TspColor*, Integer);

// Median nanoseconds of each kernel over the frame. The kernels take turns round by round,
// so a change in the machine's pace during the run weighs on each of them alike.
std::vector<double> MedianNs(const std::vector<Row>& Kernels, const std::vector<TspColor>& Src,
                             const std::vector<TspColor>& Dst, std::vector<TspColor>& Work,
                             uint64_t& Checksum) {
  std::vector<std::vector<double>> times(Kernels.size());
  for (int r = 0; r < Rounds; ++r)
    for (size_t k = 0; k < Kernels.size(); ++k) {
      Work = Dst;
      const auto t0 = std::chrono::steady_clock::now();
      for (Integer y = 0; y < H; ++y)
        Kernels[k](Src.data() + static_cast<size_t>(y) * W, Work.data() + static_cast<size_t>(y) * W, W);
      const auto t1 = std::chrono::steady_clock::now();
      times[k].push_back(std::chrono::duration<double, std::nano>(t1 - t0).count());
      for (size_t i = 0; i < Work.size(); i += 997) Checksum += Work[i];
    }
  std::vector<double> medians;
  for (auto& t : times) {
    std::sort(t.begin(), t.end());
    medians.push_back(t[t.size() / 2]);
  }
  return medians;
}

}  // namespace

int main() {
  std::mt19937 rng(2024);
  std::vector<TspColor> src(static_cast<size_t>(W) * H), dst(src.size()), work;
  // A skin-like mix: a quarter transparent, a quarter opaque, the rest partly transparent.
  for (size_t i = 0; i < src.size(); ++i) {
    TspColor c = rng() & 0x00FFFFFF;
    const unsigned kind = (i / 64) % 4;
    const TspColor a = kind == 0 ? 0 : kind == 1 ? 255 : 1 + rng() % 254;
    src[i] = c | (a << 24);
    dst[i] = rng() | 0xFF000000;
  }
  uint64_t checksum = 0;
  vantrel::skin::SelectBlendForms(true);
  const bool avx2 = PixelKernels.BlendRow == vantrel::skin::BlendRowAVX2;
  std::vector<Row> kernels = {vantrel::skin::BlendRowPlain, vantrel::skin::BlendRowMMX};
  if (avx2) kernels.push_back(PixelKernels.BlendRow);
  const std::vector<double> t = MedianNs(kernels, src, dst, work, checksum);
  const double plain = t[0], sse2 = t[1], vec = t.back();
  const double pixels = static_cast<double>(W) * H;
  std::printf("blend row 1920x1080, median of %d rounds (checksum %llu)\n", Rounds,
              static_cast<unsigned long long>(checksum));
  std::printf("plain  %.3f pixels/ns  %.3f ms\n", pixels / plain, plain / 1e6);
  std::printf("sse2   %.3f pixels/ns  %.3f ms\n", pixels / sse2, sse2 / 1e6);
  if (avx2) std::printf("avx2   %.3f pixels/ns  %.3f ms\n", pixels / vec, vec / 1e6);
  std::printf("ratio %.3f\n", vec / plain);
  return 0;
}
