// The skinned frame: painting from the skin's pictures, single objects redrawn, the size
// limits and the roll-up state.
#include "skin/forms/FormSkin.h"

void TspFormSkin::SetRollUpState(Boolean Value) { FRollUpState = Value; }
Integer TspFormSkin::GetRealHeight() const { return FRollUpState ? OldHeight : FFormHeight; }
void TspFormSkin::PaintNCSkin(HDC, Boolean) {}
void TspFormSkin::DrawSkinObject(TspActiveSkinObject*) {}
void TspFormSkin::UpDateFormNC() {
  if (FForm->HandleAllocated()) SendMessage(FForm->Handle(), WM_NCPAINT, 0, 0);
}
Boolean TspFormSkin::RollUpObjectVisible(Boolean ARollUp) const {
  return FSupportNCArea ? !ARollUp : ARollUp == FRollUpState;
}
void TspFormSkin::PointToFrame(TPoint& P) {
  P.X -= FForm->Left();
  P.Y -= FForm->Top();
}
void TspFormSkin::ResetObjectStates() {}
void TspFormSkin::UpdateCaptionObjectsText() {}
void TspFormSkin::CaptionDblClick() {}
Integer TspFormSkin::GetMinWidth() { return 0; }
Integer TspFormSkin::GetMinHeight() { return 0; }
Integer TspFormSkin::GetMaxWidth() { return 0; }
Integer TspFormSkin::GetMaxHeight() { return 0; }
void TspFormSkin::SkinRollUp() {}
void TspFormSkin::SkinRollDown() {}
void TspFormSkin::ApplyRollUpRegion() {}
