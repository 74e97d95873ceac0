// "nativehue": hue rotation and saturation of the chroma planes in fixed-point arithmetic.
#include "media/vf_hue.h"

#include <cmath>
#include <numbers>

#include "media/AVUtilAPI.h"
#include "media/vf_Values.h"

namespace vantrel::media {

namespace {

constexpr Integer HuePixFmts[] = {
    AV_PIX_FMT_YUV420P,  AV_PIX_FMT_YUV422P,  AV_PIX_FMT_YUV444P,  AV_PIX_FMT_YUV410P,
    AV_PIX_FMT_YUV411P,  AV_PIX_FMT_YUV440P,  AV_PIX_FMT_YUVJ420P, AV_PIX_FMT_YUVJ422P,
    AV_PIX_FMT_YUVJ444P, AV_PIX_FMT_YUVJ440P, -1};

// Chroma sizes round up, so an odd last column or row is adjusted too.
Integer ShiftUp(Integer AValue, Integer AShift) { return -((-AValue) >> AShift); }

class THueInstance : public TNativeFilterInstance {
 public:
  explicit THueInstance(const String& AArgs)
      : FValues("nativehue", "hue", "saturation", AArgs) {}

  void ConfigProps(Integer APixFmt, Integer, Integer) override {
    const AVPixFmtDescriptor* D = ff::av_pix_fmt_desc_get(static_cast<AVPixelFormat>(APixFmt));
    FHSub = D ? D->log2_chroma_w : 0;
    FVSub = D ? D->log2_chroma_h : 0;
  }

  // Changes the two chroma planes.
  uint32_t PlanesWritten() const override { return 0b110u; }

  void Process(AVFrame* AFrame) override {
    Integer Hue, Sat;
    if (!FValues.Read(Hue, Sat)) return;
    const Integer W = ShiftUp(AFrame->width, FHSub);
    const Integer H = ShiftUp(AFrame->height, FVSub);
    if (AFrame->linesize[1] == AFrame->linesize[2]) {
      HueProcess(AFrame->data[1], AFrame->data[2], AFrame->linesize[1], W, H, Hue, Sat);
      return;
    }
    // Planes with line sizes of their own: row by row.
    for (Integer Y = 0; Y < H; ++Y)
      HueProcess(AFrame->data[1] + Y * AFrame->linesize[1],
                 AFrame->data[2] + Y * AFrame->linesize[2], 0, W, 1, Hue, Sat);
  }

 private:
  detail::TFilterValuePair FValues;
  Integer FHSub = 0;
  Integer FVSub = 0;
};

std::unique_ptr<TNativeFilterInstance> HueInit(const String& AArgs) {
  return std::make_unique<THueInstance>(AArgs);
}

}  // namespace

const TNativeFilterDef HueFilter = {"nativehue", "Software video equalizer(hue and saturation)",
                                    HuePixFmts, HueInit};

void RegisterHueFilter() { RegisterAVFilter(&HueFilter); }

namespace {

// One row of both chroma planes turned by the angle whose sine and cosine (scaled by the
// saturation, 16.16) are S and C. Plain arithmetic on each sample, so the compiler runs
// it on whole vectors (AVX2 where the processor has it).
__attribute__((target_clones("avx2", "default"))) void HueRow(uint8_t* U, uint8_t* V,
                                                              Integer AWidth, Integer S,
                                                              Integer C) {
  constexpr int32_t K = 128 * 65536 + 32768;
  for (Integer X = 0; X < AWidth; ++X) {
    const int32_t Du = U[X] - 128;
    const int32_t Dv = V[X] - 128;
    // >> of a negative value is an arithmetic shift (C++20): a division rounding down.
    const int32_t Nu = (C * Du - S * Dv + K) >> 16;
    const int32_t Nv = (S * Du + C * Dv + K) >> 16;
    U[X] = static_cast<uint8_t>(Nu < 0 ? 0 : Nu > 255 ? 255 : Nu);
    V[X] = static_cast<uint8_t>(Nv < 0 ? 0 : Nv > 255 ? 255 : Nv);
  }
}

}  // namespace

void HueProcess(uint8_t* U, uint8_t* V, Integer AStride, Integer AWidth, Integer ARows,
                Integer AHue, Integer ASat) {
  const long double A = AHue * std::numbers::pi_v<long double> / 100;
  const long double F = ASat + 100;
  const Integer S = static_cast<Integer>(std::floor(std::sin(A) * 65536 * F / 100 + 0.5L));
  const Integer C = static_cast<Integer>(std::floor(std::cos(A) * 65536 * F / 100 + 0.5L));
  for (Integer Y = 0; Y < ARows; ++Y, U += AStride, V += AStride) HueRow(U, V, AWidth, S, C);
}

}  // namespace vantrel::media
