// The skin's frame geometry mapped to the form's current size, and the window region.
#include "skin/forms/FormSkin.h"

void TspFormSkin::UpdateFrameGeometry(Boolean) {}
void TspFormSkin::CalcSkinFrameRects() {}
void TspFormSkin::CalcNewRect(const TRect& R, TRect& NewR) const { NewR = R; }
void TspFormSkin::CalcObjectRects() {}
void TspFormSkin::UpdateFormRegion(Boolean) {}
