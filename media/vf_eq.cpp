// "nativeeq": brightness and contrast of the luma plane in fixed-point arithmetic.
#include "media/vf_eq.h"

#include <algorithm>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif

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

  // The luma goes from its source into the fresh plane in the one pass.
  bool ProcessFrom(AVFrame* AFrame, const uint8_t* const ASource[4]) override {
    Integer Brightness, Contrast;
    if (!FValues.Read(Brightness, Contrast)) return false;
    EqProcess(ASource[0], AFrame->data[0], AFrame->linesize[0], AFrame->width, AFrame->height,
              Brightness, Contrast);
    return true;
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
// clamped to a byte.
inline uint8_t EqSample(uint8_t S, Integer CF, Integer BO) {
  const int32_t V = ((static_cast<int32_t>(S) * CF) >> 16) + BO;
  return static_cast<uint8_t>(V < 0 ? 0 : V > 255 ? 255 : V);
}

void EqRowPlain(const uint8_t* S, uint8_t* D, Integer AWidth, Integer CF, Integer BO) {
  for (Integer X = 0; X < AWidth; ++X) D[X] = EqSample(S[X], CF, BO);
}

using TEqRow = void (*)(const uint8_t*, uint8_t*, Integer, Integer, Integer);

#if defined(__x86_64__) || defined(__i386__)
// The same 32 samples a step in 16-bit lanes. With the factor split as Q * 65536 + R
// (R below 65536), (S * CF) >> 16 is exactly Q * S plus the high half of S * R; the sum
// with the offset stays within a signed 16-bit lane, and the packing clamps it to a byte.
__attribute__((target("avx2"))) inline __m256i EqHalf(__m256i V, __m256i Q, __m256i R,
                                                      __m256i Offset) {
  return _mm256_add_epi16(_mm256_add_epi16(_mm256_mullo_epi16(V, Q), _mm256_mulhi_epu16(V, R)),
                          Offset);
}

__attribute__((target("avx2"))) void EqRowAVX2(const uint8_t* S, uint8_t* D, Integer AWidth,
                                               Integer CF, Integer BO) {
  const __m256i Zero = _mm256_setzero_si256();
  const __m256i Q = _mm256_set1_epi16(static_cast<short>(CF >> 16));
  const __m256i R = _mm256_set1_epi16(static_cast<short>(CF & 0xFFFF));
  const __m256i Offset = _mm256_set1_epi16(static_cast<short>(BO));
  Integer X = 0;
  for (; X + 32 <= AWidth; X += 32) {
    const __m256i V = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(S + X));
    const __m256i Lo = EqHalf(_mm256_unpacklo_epi8(V, Zero), Q, R, Offset);
    const __m256i Hi = EqHalf(_mm256_unpackhi_epi8(V, Zero), Q, R, Offset);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(D + X), _mm256_packus_epi16(Lo, Hi));
  }
  EqRowPlain(S + X, D + X, AWidth - X, CF, BO);
}

TEqRow PickEqRow() { return __builtin_cpu_supports("avx2") ? EqRowAVX2 : EqRowPlain; }
#else
TEqRow PickEqRow() { return EqRowPlain; }
#endif

// The 16.16 contrast factor (0..2.0) and the brightness offset of the row formula.
void EqFactors(Integer ABrightness, Integer AContrast, Integer& CF, Integer& BO) {
  CF = ((AContrast + 100) * 65536) / 100;
  BO = ((ABrightness + 100) * 511) / 200 - 128 - (CF >> 9);
}

}  // namespace

void EqProcess(uint8_t* P, Integer AStride, Integer AWidth, Integer ARows, Integer ABrightness,
               Integer AContrast) {
  EqProcess(P, P, AStride, AWidth, ARows, ABrightness, AContrast);
}

void EqProcess(const uint8_t* ASource, uint8_t* P, Integer AStride, Integer AWidth, Integer ARows,
               Integer ABrightness, Integer AContrast) {
  static const TEqRow Row = PickEqRow();
  // Values outside -100..100 are clamped, so the factor stays within 0..2.0 and the sums
  // within the vector lanes.
  Integer CF, BO;
  EqFactors(std::clamp<Integer>(ABrightness, -100, 100), std::clamp<Integer>(AContrast, -100, 100),
            CF, BO);
  for (Integer Y = 0; Y < ARows; ++Y, P += AStride, ASource += AStride) Row(ASource, P, AWidth, CF, BO);
}

}  // namespace vantrel::media
