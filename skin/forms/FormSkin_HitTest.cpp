// Which skin object lies under the mouse, the routing of mouse input to the objects, the
// frame's hit-test codes and the objects' timers.
#include "skin/forms/FormSkin.h"

void TspFormSkin::TestActiveObject(Integer, Integer, Boolean) {}
void TspFormSkin::ObjectsMouseMove(Integer, Integer) {}
void TspFormSkin::ObjectsMouseDown(TMouseButton, Integer, Integer) {}
void TspFormSkin::ObjectsMouseUp(TMouseButton, Integer, Integer) { MouseCaptureObject = -1; }
void TspFormSkin::ObjectsDblClick() {}
void TspFormSkin::StartDragging(Integer, Integer) { FIsDragging = true; }
void TspFormSkin::StopDragging() { FIsDragging = false; }
LRESULT TspFormSkin::SkinNCHitTest(TPoint P) { return PtInRect(&NewClRect, P) ? HTCLIENT : HTCAPTION; }
LRESULT TspFormSkin::DefaultNCHitTest(TPoint) { return HTCAPTION; }
LRESULT TspFormSkin::ClientModeHitTest(TPoint) { return HTCLIENT; }
Boolean TspFormSkin::NearSizingEdge(TPoint) { return false; }
Boolean TspFormSkin::PointInFrameMask(TPoint) { return true; }
Boolean TspFormSkin::PointOnCaption(TPoint) { return false; }
Boolean TspFormSkin::IsFormWindowAt(TPoint) { return false; }
void TspFormSkin::MouseTimerTick(TObject*) { MouseTimer->SetEnabled(false); }
void TspFormSkin::AnimateTimerTick(TObject*) { AnimateTimer->SetEnabled(false); }
void TspFormSkin::MorphTimerTick(TObject*) { MorphTimer->SetEnabled(false); }
void TspFormSkin::UpdateSkinCursor() {}
