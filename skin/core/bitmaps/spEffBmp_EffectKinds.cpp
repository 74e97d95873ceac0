// Morph kinds and inactive-window effects mapped to the effect bitmap's operations.
#include "skin/core/bitmaps/spEffBmp_EffectKinds.h"

namespace vantrel::skin {

namespace {

constexpr Double InActiveBrightness = 0.5;
constexpr Double InActiveDarkness = 0.3;
constexpr Integer InActiveNoise = 50;
constexpr Integer InActiveSplitBlur = 1;

}  // namespace

void MorphByKind(TspEffectBmp* Self, const TspEffectBmp* BMP, TMorphKind Kind, Double Kf) {
  if (!Self) return;
  switch (Kind) {
    case mkDefault: Self->Morph(BMP, Kf); break;
    case mkGradient: Self->MorphGrad(BMP, Kf); break;
    case mkLeftGradient: Self->MorphLeftGrad(BMP, Kf); break;
    case mkRightGradient: Self->MorphRightGrad(BMP, Kf); break;
    case mkLeftSlide: Self->MorphLeftSlide(BMP, Kf); break;
    case mkRightSlide: Self->MorphRightSlide(BMP, Kf); break;
    case mkPush: Self->MorphPush(BMP, Kf); break;
  }
}

void ApplyInActiveEffect(TspEffectBmp* Bmp, TspInActiveEffect Effect) {
  if (!Bmp) return;
  switch (Effect) {
    case ieBrightness: Bmp->ChangeBrightness(InActiveBrightness); break;
    case ieDarkness: Bmp->ChangeDarkness(InActiveDarkness); break;
    case ieGrayScale: Bmp->GrayScale(); break;
    case ieNoise: Bmp->AddMonoNoise(InActiveNoise); break;
    case ieSplitBlur: Bmp->SplitBlur(InActiveSplitBlur); break;
    case ieInvert: Bmp->Invert(); break;
  }
}

}  // namespace vantrel::skin
