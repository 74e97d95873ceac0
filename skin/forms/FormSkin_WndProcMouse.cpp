// The window procedure's second phase: after the form's own handling, mouse input goes
// on to the frame's skin objects, and a shown or hidden form gets its show work.
#include "skin/forms/FormSkin.h"

#include "platform/win/Input.h"

void TspFormSkin::HandleSecondPhase(TMessage& Message) {
  switch (Message.Msg) {
    case WM_SHOWWINDOW:
      WMShowWindowAfter(Message);
      return;
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
      ClientMouseSecondPhase(Message);
      return;
    case WM_NCMOUSEMOVE:
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONUP:
    case WM_NCLBUTTONDBLCLK:
    case WM_NCRBUTTONDOWN:
    case WM_NCRBUTTONUP:
    case WM_NCRBUTTONDBLCLK:
      if (FSupportNCArea && FSkinnableForm) NCMouseSecondPhase(Message);
      return;
    default:
      return;
  }
}

void TspFormSkin::ClientMouseSecondPhase(TMessage& Message) {
  // Client coordinates, read unsigned as the window system packs them.
  const Integer X = LOWORD(static_cast<uintptr_t>(Message.LParam));
  const Integer Y = HIWORD(static_cast<uintptr_t>(Message.LParam));
  switch (Message.Msg) {
    case WM_MOUSEMOVE:
      if (FSupportNCArea) return;
      ObjectsMouseMove(X, Y);
      if (FIsDragging) {
        TPoint P{};
        GetCursorPos(&P);
        if (P.X != FOldX || P.Y != FOldY) {
          Integer L = FForm->Left() + P.X - FOldX;
          Integer T = FForm->Top() + P.Y - FOldY;
          if (FMagnetic) MagneticMove(L, T, FForm->Width(), FForm->Height());
          FForm->SetBounds(L, T, FForm->Width(), FForm->Height());
          FOldX = P.X;
          FOldY = P.Y;
        }
      }
      return;
    case WM_LBUTTONDOWN:
      if (FSupportNCArea) return;
      GetCursorPos(&FOnMouseDownCoord);
      ObjectsMouseDown(mbLeft, X, Y);
      return;
    case WM_RBUTTONDOWN:
      if (!FSupportNCArea) ObjectsMouseDown(mbRight, X, Y);
      return;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP: {
      const TMouseButton Button = Message.Msg == WM_LBUTTONUP ? mbLeft : mbRight;
      if (FSupportNCArea)
        ObjectsMouseUp(Button, -1, -1);
      else
        ObjectsMouseUp(Button, X, Y);
      return;
    }
    case WM_LBUTTONDBLCLK:
      ObjectsMouseDown(mbLeft, X, Y);
      ObjectsDblClick();
      CaptionDblClick();
      return;
    case WM_RBUTTONDBLCLK:
      ObjectsMouseDown(mbRight, X, Y);
      return;
    default:
      return;
  }
}

void TspFormSkin::NCMouseSecondPhase(TMessage& Message) {
  TPoint P = Point(GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam));
  PointToFrame(P);
  const bool OnCaption = Message.WParam == HTCAPTION;
  switch (Message.Msg) {
    case WM_NCMOUSEMOVE:
      ObjectsMouseMove(P.X, P.Y);
      return;
    case WM_NCLBUTTONDOWN:
      // The press that ended a move or size loop.
      if (FSizeMove) {
        FSizeMove = false;
        return;
      }
      TestActiveObject(P.X, P.Y, true);
      ObjectsMouseDown(mbLeft, P.X, P.Y);
      if (OnCaption) MouseCaptureObject = -1;
      return;
    case WM_NCLBUTTONUP:
      try {
        ObjectsMouseUp(mbLeft, P.X, P.Y);
      } catch (...) {
        // A failing release on the frame must not break the form's message handling.
      }
      return;
    case WM_NCLBUTTONDBLCLK:
      TestActiveObject(P.X, P.Y, true);
      ObjectsMouseDown(mbLeft, P.X, P.Y);
      ObjectsDblClick();
      if (OnCaption) {
        if (FSizeable && FWindowState == wsMinimized)
          SetWindowState(wsNormal);
        else if (FSizeable && FWindowState != wsMaximized && !FRollUpState &&
                 FBorderIcons.Contains(TspBorderIcon::biMaximize))
          SetWindowState(wsMaximized);
        else if (FSizeable && FWindowState == wsMaximized && !MaxRollUpState)
          SetWindowState(wsNormal);
        else
          SetRollUpState(!FRollUpState);
        MouseCaptureObject = -1;
      }
      return;
    case WM_NCRBUTTONDOWN:
      TestActiveObject(P.X, P.Y, true);
      ObjectsMouseDown(mbRight, P.X, P.Y);
      if (OnCaption) {
        MouseCaptureObject = -1;
        if (!FDisableSystemMenu) {
          TPoint C{};
          GetCursorPos(&C);
          PopupSystemMenu(C.X, C.Y);
        }
      }
      return;
    case WM_NCRBUTTONUP:
      ObjectsMouseUp(mbRight, P.X, P.Y);
      return;
    case WM_NCRBUTTONDBLCLK:
      TestActiveObject(P.X, P.Y, true);
      ObjectsMouseDown(mbRight, P.X, P.Y);
      if (OnCaption) MouseCaptureObject = -1;
      return;
    default:
      return;
  }
}
