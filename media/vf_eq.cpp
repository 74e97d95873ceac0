// "nativeeq": brightness and contrast of the luma plane in fixed-point arithmetic.
#include "media/vf_eq.h"

#include <array>

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

void EqProcess(uint8_t* P, Integer AStride, Integer AWidth, Integer ARows, Integer ABrightness,
               Integer AContrast) {
  const Integer CF = ((AContrast + 100) * 65536) / 100;
  const Integer BO = ((ABrightness + 100) * 511) / 200 - 128 - (CF >> 9);
  // The result depends on the sample alone: one table per call.
  std::array<uint8_t, 256> Lut;
  for (Integer I = 0; I < 256; ++I) {
    const Integer V = ((I * CF) >> 16) + BO;
    Lut[I] = static_cast<uint8_t>(V < 0 ? 0 : V > 255 ? 255 : V);
  }
  for (Integer Y = 0; Y < ARows; ++Y, P += AStride)
    for (Integer X = 0; X < AWidth; ++X) P[X] = Lut[P[X]];
}

}  // namespace vantrel::media
