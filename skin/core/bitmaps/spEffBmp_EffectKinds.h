// The skin's choices of effect: the transition method of each morph kind and the filter,
// with its fixed arguments, of each inactive-window effect.
#pragma once

#include "skin/core/data/SkinValues.h"
#include "skin/core/bitmaps/spEffBmp_Effects.h"

namespace vantrel::skin {

// Self moves toward BMP by the method of Kind (mkDefault: Morph, mkGradient: MorphGrad ...).
void MorphByKind(TspEffectBmp* Self, const TspEffectBmp* BMP, TMorphKind Kind, Double Kf);
// ieBrightness: ChangeBrightness(0.5); ieDarkness: ChangeDarkness(0.3); ieGrayScale;
// ieNoise: AddMonoNoise(50); ieSplitBlur: SplitBlur(1); ieInvert.
void ApplyInActiveEffect(TspEffectBmp* Bmp, TspInActiveEffect Effect);

}  // namespace vantrel::skin
