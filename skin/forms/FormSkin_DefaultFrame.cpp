// The frame without skin: a plain three-dimensional border, a striped caption and the
// default caption buttons; the plain client backgrounds and the frame's icon.
#include "skin/forms/FormSkin.h"

Integer TspFormSkin::GetDefCaptionHeight() const {
  return FForm->BorderStyle() == bsToolWindow || FForm->BorderStyle() == bsSizeToolWin ? 15 : 19;
}
Integer TspFormSkin::GetDefButtonSize() const {
  return FForm->BorderStyle() == bsToolWindow || FForm->BorderStyle() == bsSizeToolWin ? 13 : 17;
}
void TspFormSkin::CalcDefRects() {}
void TspFormSkin::GetDefCaptionRect(TRect& R) {
  CalcDefRects();
  R = NewDefCaptionRect;
}
void TspFormSkin::PaintNCDefault(HDC, Boolean) {}
void TspFormSkin::PaintBGDefault(HDC) {}
void TspFormSkin::PaintMDIBGDefault(HDC) {}
void TspFormSkin::DrawLogoBitMap(TCanvas*) {}
void TspFormSkin::GetIconSize(Integer& W, Integer& H) const {
  W = 16;
  H = 16;
}
void TspFormSkin::MakeFormIcon() {}
void TspFormSkin::DrawFormIcon(TCanvas*, Integer, Integer) {}
Boolean TspFormSkin::FormIconHasAlpha() { return false; }
