// "nativeeq": brightness and contrast of the luma plane in fixed-point arithmetic.
#include "media/vf_eq.h"


#include "media/AVUtilAPI.h"
#include "media/vf_Values.h"

namespace vantrel::media {

namespace {

constexpr Integer EqPixFmts[] = {
    AV_PIX_FMT_YUV420P,  AV_PIX_FMT_YUV422P,  AV_PIX_FMT_YUV444P,  AV_PIX_FMT_YUV410P,
    AV_PIX_FMT_YUV411P,  AV_PIX_FMT_YUV440P,  AV_PIX_FMT_YUVJ420P, AV_PIX_FMT_YUVJ422P,
    AV_PIX_FMT_YUVJ444P, AV_PIX_FMT_YUVJ440P, -1};

class TEqInstance : public TNativeFilterInstance {
 public:
  explicit TEqInstance(const String& AArgs)
      : FValues("nativeeq", "brightness", "contrast", AArgs) {}

  // Changes the luma plane alone.
  uint32_t PlanesWritten() const override { return 1u; }

  void Process(AVFrame* AFrame) override {
    Integer Brightness, Contrast;
    if (!FValues.Read(Brightness, Contrast)) return;
    EqProcess(AFrame->data[0], AFrame->linesize[0], AFrame->width, AFrame->height, Brightness,
              Contrast);
  }

 private:
  detail::TFilterValuePair FValues;
};

std::unique_ptr<TNativeFilterInstance> EqInit(const String& AArgs) {
  return std::make_unique<TEqInstance>(AArgs);
}

}  // namespace

const TNativeFilterDef EqFilter = {"nativeeq", "Software video equalizer(brightness and contrast)",
                                   EqPixFmts, EqInit};

void RegisterEqFilter() { RegisterAVFilter(&EqFilter); }

namespace {

// One row: the sample scaled by the contrast factor (16.16) plus the brightness offset,
// clamped to a byte. Plain arithmetic on each sample, so the compiler runs it on whole
// vectors (AVX2 where the processor has it).
__attribute__((target_clones("avx2", "default"))) void EqRow(uint8_t* P, Integer AWidth,
                                                             Integer CF, Integer BO) {
  for (Integer X = 0; X < AWidth; ++X) {
    const int32_t V = ((static_cast<int32_t>(P[X]) * CF) >> 16) + BO;
    P[X] = static_cast<uint8_t>(V < 0 ? 0 : V > 255 ? 255 : V);
  }
}

}  // namespace

void EqProcess(uint8_t* P, Integer AStride, Integer AWidth, Integer ARows, Integer ABrightness,
               Integer AContrast) {
  const Integer CF = ((AContrast + 100) * 65536) / 100;
  const Integer BO = ((ABrightness + 100) * 511) / 200 - 128 - (CF >> 9);
  for (Integer Y = 0; Y < ARows; ++Y, P += AStride) EqRow(P, AWidth, CF, BO);
}

}  // namespace vantrel::media
