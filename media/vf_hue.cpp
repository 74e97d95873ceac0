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

void HueProcess(uint8_t* U, uint8_t* V, Integer AStride, Integer AWidth, Integer ARows,
                Integer AHue, Integer ASat) {
  const long double A = AHue * std::numbers::pi_v<long double> / 100;
  const long double F = ASat + 100;
  const Integer S = static_cast<Integer>(std::floor(std::sin(A) * 65536 * F / 100 + 0.5L));
  const Integer C = static_cast<Integer>(std::floor(std::cos(A) * 65536 * F / 100 + 0.5L));
  constexpr Integer K = 128 * 65536 + 32768;
  auto Clamp = [](Integer X) { return static_cast<uint8_t>(X < 0 ? 0 : X > 255 ? 255 : X); };
  for (Integer Y = 0; Y < ARows; ++Y, U += AStride, V += AStride) {
    for (Integer X = 0; X < AWidth; ++X) {
      const Integer Du = U[X] - 128;
      const Integer Dv = V[X] - 128;
      // >> of a negative value is an arithmetic shift (C++20): a division rounding down.
      U[X] = Clamp((C * Du - S * Dv + K) >> 16);
      V[X] = Clamp((S * Du + C * Dv + K) >> 16);
    }
  }
}

}  // namespace vantrel::media
