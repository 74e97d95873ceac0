// Which skin object of the frame is under the mouse, and the mouse input, hover, capture,
// cursor and timers that follow from it; client-mode dragging of the window by its skin.
#include "platform/ui/Forms.h"
#include "platform/ui/Timers.h"
#include "platform/win/Capture.h"
#include "platform/win/Input.h"
#include "platform/win/WindowManager.h"
#include "skin/core/drawing/SPUtils.h"
#include "skin/forms/FormSkin.h"
#include "skin/forms/FormSkinFrameObjects.h"
#include "skin/forms/FormSkinObjects.h"

void TspFormSkin::TestActiveObject(Integer X, Integer Y, Boolean ACanActivate) {
  if (ObjectCount() == 0) return;
  if (!GetFormActive() && FSupportNCArea) return;
  if (FSizeMove || FBorderLayerChangeSize || PreviewMode) return;
  // A full layered border does its own hover.
  if (UseFullLayeredBorder()) return;
  if (IsMaximizedMDIChild()) return;
  if (FForm->BorderStyle() == bsNone && FSupportNCArea) return;

  OldActiveObject = ActiveObject;
  Integer Hit = -1;
  const TPoint P = Point(X, Y);
  for (Integer I = 0; I < ObjectCount(); ++I) {
    TspActiveSkinObject* O = ObjectAt(I);
    if (!RollUpObjectVisible(O->RollUp) || !O->Enabled || !O->Visible) continue;
    if (!PtInRect(&O->ObjectRect, P)) continue;
    if (!O->PointInMask(X - O->ObjectRect.Left, Y - O->ObjectRect.Top)) continue;
    Hit = I;
    break;
  }
  ActiveObject = ACanActivate ? Hit : -1;
  if (MouseCaptureObject != -1 && ActiveObject != MouseCaptureObject) ActiveObject = -1;
  if (OldActiveObject >= ObjectCount()) OldActiveObject = -1;
  if (ActiveObject >= ObjectCount()) ActiveObject = -1;
  if (ActiveObject == OldActiveObject) return;

  // The objects' events reach the application, which may rebuild the list meanwhile:
  // every object is looked up by its index again before it is used.
  if (TspActiveSkinObject* Old = ObjectAt(OldActiveObject)) {
    const Boolean HideHint = FShowObjectHint && FSkinHint && Old->Enabled && !Old->Hint.empty() && Old->Visible;
    if (Old->Enabled && Old->Visible) Old->MouseLeave();
    if (HideHint) HideObjectHint();
  }
  if (TspActiveSkinObject* New = ObjectAt(ActiveObject)) {
    if (New->Enabled && New->Visible) New->MouseEnter();
  }
  if (TspActiveSkinObject* New = ObjectAt(ActiveObject)) {
    if (GetFormActive() && FShowObjectHint && FSkinHint && New->Enabled && New->Visible && !New->Hint.empty())
      ActivateObjectHint(New->Hint);
  }
}

void TspFormSkin::ObjectsMouseMove(Integer X, Integer Y) {
  if (!FSupportNCArea && FIsDragging) return;
  if (TspActiveSkinObject* O = ObjectAt(MouseCaptureObject))
    O->MouseMove(X, Y);
  else if (TspActiveSkinObject* A = ObjectAt(ActiveObject))
    A->MouseMove(X, Y);
}

void TspFormSkin::ObjectsMouseDown(TMouseButton Button, Integer X, Integer Y) {
  if (FSupportNCArea) {
    TestActiveObject(X, Y, true);
    TspActiveSkinObject* O = ObjectAt(ActiveObject);
    if (!O) return;
    if (!dynamic_cast<TspSkinCaptionObject*>(O)) SetCapture(FForm->Handle());
    MouseCaptureObject = ActiveObject;
    O->MouseDown(X, Y, Button);
    return;
  }
  FIsDragging = false;
  TestActiveObject(X, Y, true);
  if (TspActiveSkinObject* O = ObjectAt(ActiveObject)) {
    MouseCaptureObject = ActiveObject;
    O->MouseDown(X, Y, Button);
  } else if (Button == mbLeft && FWindowState != wsMaximized && FDraggAble) {
    StartDragging(X, Y);
  }
}

void TspFormSkin::ObjectsMouseUp(TMouseButton Button, Integer X, Integer Y) {
  if (!FSupportNCArea) StopDragging();
  if (TspActiveSkinObject* O = ObjectAt(MouseCaptureObject)) {
    if (FSupportNCArea && !dynamic_cast<TspSkinCaptionObject*>(O)) ReleaseCapture();
    O->MouseUp(X, Y, Button);
  }
  MouseCaptureObject = -1;
}

void TspFormSkin::ObjectsDblClick() {
  if (TspActiveSkinObject* O = ObjectAt(ActiveObject)) O->DblClick();
}

void TspFormSkin::StartDragging(Integer X, Integer Y) {
  FIsDragging = true;
  const TPoint P = FForm->ClientToScreen(Point(X, Y));
  FOldX = P.X;
  FOldY = P.Y;
}

void TspFormSkin::StopDragging() { FIsDragging = false; }

Boolean TspFormSkin::IsFormWindowAt(TPoint P) {
  return FForm->HandleAllocated() && WindowFromPoint(P) == FForm->Handle();
}

void TspFormSkin::MouseTimerTick(TObject*) {
  TPoint Cursor;
  GetCursorPos(&Cursor);
  if (FSupportNCArea) {
    if (!IsFormWindowAt(Cursor)) {
      MouseTimer->SetEnabled(false);
      TestActiveObject(-1, -1, false);
      return;
    }
    if (FSizeMove || FBorderLayerChangeSize) {
      MouseTimer->SetEnabled(false);
      return;
    }
    TPoint P = Cursor;
    PointToFrame(P);
    if (!PtInRect(&NewClRect, P))
      TestActiveObject(P.X, P.Y, true);
    else if (ActiveObject != -1)
      TestActiveObject(-1, -1, true);
    return;
  }
  if (!FSkinSupport) return;
  if (!FIsDragging) {
    if (IsFormWindowAt(Cursor)) {
      const TPoint P = FForm->ScreenToClient(Cursor);
      TestActiveObject(P.X, P.Y, true);
    } else {
      TestActiveObject(-1, -1, false);
      MouseIn = false;
      MouseTimer->SetEnabled(false);
    }
  }
  if (FUseSkinCursors) UpdateSkinCursor();
}

void TspFormSkin::UpdateSkinCursor() {
  TCursor C = crDefault;
  TspActiveSkinObject* O = ObjectAt(ActiveObject);
  if (O && O->CursorIndex != -1 && FSD)
    C = static_cast<TCursor>(FSD->StartCursorIndex + O->CursorIndex);
  else if (FSD && FSD->CursorIndex != -1)
    C = static_cast<TCursor>(FSD->StartCursorIndex + FSD->CursorIndex);
  if (FForm->Cursor() != C) FForm->SetCursor(C);
}

void TspFormSkin::AnimateTimerTick(TObject*) {
  Boolean Running = false;
  for (Integer I = 0; I < ObjectCount(); ++I) {
    TspActiveSkinObject* O = ObjectAt(I);
    if (!O) break;
    if (auto* A = dynamic_cast<TspSkinAnimateObject*>(O)) {
      if (A->Active && (!A->FDown || IsNullRect(A->DownSkinRect))) {
        A->ChangeFrame();
        Running = true;
      }
    } else if (auto* C = dynamic_cast<TspSkinCaptionObject*>(O); C && C->EnableAnimation()) {
      if (C->FIncTime < C->AnimateInterval) {
        C->FIncTime += 25;
        Running = true;
      } else if (C->Active && C->CurrentFrame <= C->FrameCount) {
        ++C->CurrentFrame;
        DrawSkinObject(C);
        C->FIncTime = 25;
        Running = true;
      } else if (!C->Active && C->CurrentFrame > 0) {
        --C->CurrentFrame;
        DrawSkinObject(C);
        C->FIncTime = 25;
        Running = true;
      }
    }
  }
  if (!Running) AnimateTimer->SetEnabled(false);
}

void TspFormSkin::MorphTimerTick(TObject*) {
  Boolean Moved = false;
  for (Integer I = 0; I < ObjectCount(); ++I) {
    TspActiveSkinObject* O = ObjectAt(I);
    if (!O) break;
    if (O->EnableMorphing() && O->CanMorphing()) {
      O->DoMorphing();
      Moved = true;
    }
  }
  if (!Moved) MorphTimer->SetEnabled(false);
}
