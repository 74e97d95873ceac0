// The side windows of the layered border and the mouse on them: sizing and moving the
// form, double clicks on its caption, the caption objects of a full border with their
// hover and hints, and the hover watchdog.
#include "platform/win/Focus.h"
#include "platform/win/Input.h"
#include "platform/win/SysMetrics.h"
#include "platform/win/WindowDc.h"
#include "platform/win/WindowManager.h"
#include <algorithm>

#include "platform/win/Layered.h"
#include "skin/forms/FormSkin.h"
#include "skin/forms/FormSkinCaption.h"
#include "skin/forms/FormSkinLayerBorder.h"
#include "skin/forms/SkinHint.h"
#include "skin/forms/SkinMenus.h"

namespace {

constexpr UINT CM_CANCELMODE_LAYER = 45060;

Boolean LayerPtIn(const TRect& R, const TPoint& P) {
  return P.X >= R.Left && P.X < R.Right && P.Y >= R.Top && P.Y < R.Bottom;
}

TCursor LayerCursorFor(TspFormLayerBorderHit Hit) {
  switch (Hit) {
    case spflhLeft:
    case spflhRight:
      return crSizeWE;
    case spflhTop:
    case spflhBottom:
      return crSizeNS;
    case spflhTopLeft:
    case spflhBottomRight:
      return crSizeNWSE;
    case spflhTopRight:
    case spflhBottomLeft:
      return crSizeNESW;
    default:
      return crDefault;
  }
}

}  // namespace

TspFormLayerWindow* TspFormLayerWindow::CreateEx(TComponent* AOwner, TForm* AForm) {
  auto* W = ::Create<TspFormLayerWindow>(AOwner);
  W->FLayerBorder = dynamic_cast<TspFormLayerBorder*>(AOwner);
  W->FForm = AForm;
  const TspDataSkinLayerFrame* D = W->FLayerBorder ? W->FLayerBorder->Data() : nullptr;
  W->FTransparentToMouse = D && (D->BorderRect.Right - D->BorderRect.Left <= 0 || D->BorderRect.Bottom - D->BorderRect.Top <= 0);
  W->SetBorderStyle(bsNone);
  if (AForm && AForm->FormStyle() == fsStayOnTop) W->SetFormStyle(fsStayOnTop);
  return W;
}

void TspFormLayerWindow::CreateParams(TCreateParams& Params) {
  TForm::CreateParams(Params);
  Params.ExStyle |= WS_EX_LAYERED;
  if (FTransparentToMouse) Params.ExStyle |= WS_EX_TRANSPARENT;
}

Boolean TspFormLayerWindow::CanSize() {
  TspFormSkin* DSF = FLayerBorder ? FLayerBorder->DSF : nullptr;
  return DSF && DSF->IsSizeAble() && !DSF->RollUpState() && DSF->WindowState() == wsNormal;
}

TspFormLayerBorderHit TspFormLayerWindow::GetHitMode(Integer X, Integer Y) {
  TspFormLayerBorder* LB = FLayerBorder;
  if (!LB || !LB->Data() || !FForm) return spflhNone;
  if (LB->FullBorder() && BorderType == spflTop)
    LB->TestActiveObject(X, Y);
  else if (!LB->FullBorder())
    LB->ActiveObject = -1;
  if (LB->ActiveObject != -1)
    return dynamic_cast<TspSkinCaptionObject*>(LB->DSF->ObjectAt(LB->ActiveObject)) ? spflCaption : spflObject;
  if (!CanSize()) return spflhNone;
  POINT C{};
  GetCursorPos(&C);
  const TPoint P = Point(C.X, C.Y);
  const TRect F = Rect(FForm->Left(), FForm->Top(), FForm->Left() + FForm->Width(), FForm->Top() + FForm->Height());
  const TRect W = Rect(Left(), Top(), Left() + Width(), Top() + Height());
  const TspDataSkinLayerFrame& D = *LB->Data();
  switch (BorderType) {
    case spflLeft:
      return P.X >= F.Left - LB->LeftSize ? spflhLeft : spflhNone;
    case spflRight:
      return P.X <= F.Right + LB->RightSize ? spflhRight : spflhNone;
    case spflTop: {
      const TRect TL = Rect(F.Left - LB->LeftSize, F.Top - LB->TopSize, F.Left - LB->LeftSize + LB->HitTopLeftX,
                            F.Top - LB->TopSize + LB->HitTopLeftY);
      const TRect TR = Rect(F.Right + LB->RightSize - LB->HitTopRightX, F.Top - LB->TopSize, F.Right + LB->RightSize,
                            F.Top - LB->TopSize + LB->HitTopRightY);
      const TRect T = Rect(TL.Right, TL.Top, TR.Left, TL.Top + D.HitTestSize);
      const TRect L = Rect(TL.Left, TL.Bottom, TL.Left + D.HitTestSize, W.Bottom);
      const TRect R = Rect(TR.Left, TR.Bottom, TR.Right, W.Bottom);
      TRect Cap = Rect(D.CaptionRect.Left, D.BorderRect.Top + D.HitTestSize,
                       D.CaptionRect.Right + FForm->Width() - (D.ClRect.Right - D.ClRect.Left), D.CaptionRect.Bottom);
      OffsetRect(&Cap, W.Left, W.Top);
      if (LayerPtIn(TL, P) && !LayerPtIn(Cap, P)) return spflhTopLeft;
      if (LayerPtIn(T, P)) return spflhTop;
      if (LayerPtIn(TR, P) && !LayerPtIn(Cap, P)) return spflhTopRight;
      if (LayerPtIn(L, P) && !LayerPtIn(Cap, P)) return spflhLeft;
      if (LayerPtIn(R, P) && !LayerPtIn(Cap, P)) return spflhRight;
      return spflhNone;
    }
    case spflBottom: {
      const TRect BL = Rect(F.Left - LB->LeftSize, F.Bottom + LB->BottomSize - LB->HitBottomLeftY,
                            F.Left - LB->LeftSize + LB->HitBottomLeftX, F.Bottom + LB->BottomSize);
      const TRect BR = Rect(F.Right + LB->RightSize - LB->HitBottomRightX, F.Bottom + LB->BottomSize - LB->HitBottomRightY,
                            F.Right + LB->RightSize, F.Bottom + LB->BottomSize);
      const TRect B = Rect(BL.Right, BL.Top, BR.Left, F.Bottom + LB->BottomSize);
      const TRect L = Rect(BL.Left, W.Top, F.Left, BL.Top);
      const TRect R = Rect(F.Right, W.Top, F.Right + LB->RightSize, BR.Top);
      if (LayerPtIn(BL, P)) return spflhBottomLeft;
      if (LayerPtIn(B, P)) return spflhBottom;
      if (LayerPtIn(BR, P)) return spflhBottomRight;
      if (LayerPtIn(L, P)) return spflhLeft;
      if (LayerPtIn(R, P)) return spflhRight;
      return spflhNone;
    }
  }
  return spflhNone;
}

void TspFormLayerWindow::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TForm::MouseDown(Button, Shift, X, Y);
  TspFormLayerBorder* LB = FLayerBorder;
  if (!LB || !LB->Data() || !LB->DSF || !FForm) return;
  TspFormSkin* DSF = LB->DSF;
  if (DSF->SkinMenuVisible()) DSF->HideSkinMenu();
  if (TWinControl* AC = FForm->ActiveControl(); AC && AC->HandleAllocated()) SendMessage(AC->Handle(), CM_CANCELMODE_LAYER, 0, 0);
  const TspFormLayerBorderHit Hit = GetHitMode(X, Y);
  if (!LB->Data()->HitTestEnable) return;
  if (!CanSize() && Hit != spflCaption && Hit != spflObject) return;
  FInProcessMessages = false;
  FDown = Hit != spflObject && Hit != spflhNone && DSF->WindowState() != wsMaximized && Button == mbLeft;
  POINT C{};
  GetCursorPos(&C);
  MousePos1 = MousePos2 = Point(C.X, C.Y);
  FHitMode = Hit;
  if (LB->FullBorder() && LB->ActiveObject != -1) {
    TspActiveSkinObject* O = DSF->ObjectAt(LB->ActiveObject);
    if (O) O->MouseDown(X, Y, Button);
    if (auto* Cap = dynamic_cast<TspSkinCaptionObject*>(O); Cap && Cap->ActiveQuickButton != -1) FDown = false;
    LB->MouseCaptureObject = LB->ActiveObject;
  }
}

// A drag step lets the application work through what it has queued; a skin change in
// there may take this window away from the border or free the border's form.
void TspFormLayerWindow::ProcessDragMessages() {
  FInProcessMessages = true;
  const std::shared_ptr<bool> Alive = FAlive;
  Application->ProcessMessages();
  if (!*Alive) return;
  FInProcessMessages = false;
}

void TspFormLayerWindow::DragStep(Integer L, Integer T, Integer W, Integer H) {
  FForm->SetBounds(L, T, W, H);
  MousePos1 = MousePos2;
  ProcessDragMessages();
}

void TspFormLayerWindow::DragMove(Integer dx, Integer dy) {
  TspFormLayerBorder* LB = FLayerBorder;
  TspFormSkin* DSF = LB->DSF;
  Integer NL = FForm->Left() + dx, NT = FForm->Top() + dy;
  Boolean Place = true;
  if (DSF->Magnetic() && (dx != 0 || dy != 0)) {
    const Integer RL = NL, RT = NT;
    const Integer H = DSF->IsLayerFrameRolledUp() ? LB->Data()->RollUpFormHeight : FForm->Height();
    DSF->MagneticMove(NL, NT, FForm->Width(), H);
    MousePos1 = MousePos2;
    if (NL != RL || NT != RT)
      Place = (dx > 0 && NL > RL) || (dx < 0 && NL < RL) || (dy > 0 && NT > RT) || (dy < 0 && NT < RT);
  }
  FInProcessMessages = true;
  if (Place) FForm->SetBounds(NL, NT, FForm->Width(), FForm->Height());
  LB->MoveWithForm();
  ProcessDragMessages();
}

void TspFormLayerWindow::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  if (FInProcessMessages) {
    FInProcessMessages = false;
    MousePos1 = MousePos2;
    return;
  }
  TForm::MouseMove(Shift, X, Y);
  TspFormLayerBorder* LB = FLayerBorder;
  if (!LB || !LB->Data() || !LB->DSF || !FForm || !LB->Data()->HitTestEnable) return;
  TspFormSkin* DSF = LB->DSF;
  POINT C{};
  GetCursorPos(&C);
  MousePos2 = Point(C.X, C.Y);
  const Integer dx = MousePos2.X - MousePos1.X, dy = MousePos2.Y - MousePos1.Y;
  if (!FDown) {
    DSF->FBorderLayerChangeSize = false;
    FHitMode = GetHitMode(X, Y);
    SetCursor(LayerCursorFor(FHitMode));
    if (LB->FullBorder() && LB->ActiveObject != -1)
      if (TspActiveSkinObject* O = DSF->ObjectAt(LB->ActiveObject)) O->MouseMove(X, Y);
    MousePos1 = MousePos2;
    return;
  }
  DSF->FBorderLayerChangeSize = true;
  const Integer FL = FForm->Left(), FT = FForm->Top(), FW = FForm->Width(), FH = FForm->Height();
  auto ClampW = [DSF](Integer V) { return std::clamp(V, DSF->GetMinWidth(), std::max(DSF->GetMinWidth(), DSF->GetMaxWidth())); };
  auto ClampH = [DSF](Integer V) { return std::clamp(V, DSF->GetMinHeight(), std::max(DSF->GetMinHeight(), DSF->GetMaxHeight())); };
  const std::shared_ptr<bool> Alive = FAlive;
  switch (FHitMode) {
    case spflhLeft: {
      const Integer NW = ClampW(FW - dx);
      if (NW == FW - dx && dx != 0 && NW != FW) DragStep(FL + dx, FT, NW, FH);
      break;
    }
    case spflhTop: {
      const Integer NH = ClampH(FH - dy);
      if (NH == FH - dy && dy != 0 && NH != FH) {
        DragStep(FL, FT + dy, FW, NH);
        if (*Alive && FLayerBorder && FForm->Height() == FH) FLayerBorder->MoveWithForm();
      }
      break;
    }
    case spflhRight: {
      const Integer NW = ClampW(FW + dx);
      if (dx != 0 && NW != FW) DragStep(FL, FT, NW, FH);
      break;
    }
    case spflhBottom: {
      const Integer NH = ClampH(FH + dy);
      if (dy != 0 && NH != FH) DragStep(FL, FT, FW, NH);
      break;
    }
    case spflhTopLeft: {
      const Integer NW = ClampW(FW - dx), NH = ClampH(FH - dy);
      if (NW != FW - dx || NH != FH - dy) break;
      if ((dx == 0 && dy == 0) || (NW == FW && NH == FH)) break;
      DragStep(FL + dx, FT + dy, NW, NH);
      if (*Alive && FLayerBorder && FForm->Height() == FH) FLayerBorder->MoveWithForm();
      break;
    }
    case spflhTopRight: {
      const Integer NW = ClampW(FW + dx), NH = ClampH(FH - dy);
      if (NH != FH - dy) break;
      if ((dx == 0 && dy == 0) || (NW == FW && NH == FH)) break;
      DragStep(FL, FT + dy, NW, NH);
      if (*Alive && FLayerBorder && FForm->Height() == FH) FLayerBorder->MoveWithForm();
      break;
    }
    case spflhBottomLeft: {
      const Integer NW = ClampW(FW - dx), NH = ClampH(FH + dy);
      if (NW != FW - dx) break;
      if ((dx == 0 && dy == 0) || (NW == FW && NH == FH)) break;
      DragStep(FL + dx, FT, NW, NH);
      break;
    }
    case spflhBottomRight: {
      const Integer NW = ClampW(FW + dx), NH = ClampH(FH + dy);
      if ((dx == 0 && dy == 0) || (NW == FW && NH == FH)) break;
      DragStep(FL, FT, NW, NH);
      break;
    }
    case spflCaption:
      DragMove(dx, dy);
      break;
    default:
      break;
  }
  if (!*Alive) return;
  MousePos1 = MousePos2;
}

void TspFormLayerWindow::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TForm::MouseUp(Button, Shift, X, Y);
  FDown = false;
  FInProcessMessages = false;
  MousePos1 = MousePos2 = Point(0, 0);
  TspFormLayerBorder* LB = FLayerBorder;
  if (!LB || !LB->Data() || !LB->DSF) return;
  TspFormSkin* DSF = LB->DSF;
  DSF->FBorderLayerChangeSize = false;
  if (LB->FullBorder()) {
    const Integer Captured = LB->MouseCaptureObject;
    LB->MouseCaptureObject = -1;
    if (Captured != -1 && Captured != LB->ActiveObject)
      if (TspActiveSkinObject* O = DSF->ObjectAt(Captured)) O->MouseUp(X, Y, Button);
  } else {
    LB->MouseCaptureObject = -1;
  }
  if (!LB->Data()->HitTestEnable) return;
  if (!CanSize() && FHitMode != spflCaption && FHitMode != spflObject) return;
  if (LB->FullBorder() && LB->ActiveObject != -1)
    if (TspActiveSkinObject* O = DSF->ObjectAt(LB->ActiveObject)) O->MouseUp(X, Y, Button);
}

void TspFormLayerWindow::WMLButtonDblClk(TMessage& Message) {
  TspFormLayerBorder* LB = FLayerBorder;
  if (LB && LB->FullBorder() && LB->DSF && FForm) {
    TspFormSkin* DSF = LB->DSF;
    TspFormLayerBorderHit Hit = GetHitMode(GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam));
    if (Hit == spflCaption)
      if (auto* Cap = dynamic_cast<TspSkinCaptionObject*>(DSF->ObjectAt(LB->ActiveObject)); Cap && Cap->ActiveQuickButton != -1)
        Hit = spflObject;
    MousePos1 = MousePos2;
    const std::shared_ptr<bool> Alive = FAlive;
    if (Hit == spflObject) {
      if (auto* B = dynamic_cast<TspSkinStdButtonObject*>(DSF->ObjectAt(LB->ActiveObject)); B && B->Command == cmSysMenu) {
        FForm->Close();
        if (!*Alive) return;
      }
    } else if (Hit == spflCaption) {
      const Boolean Rolled = DSF->RollUpState();
      if (DSF->Sizeable() && DSF->WindowState() == wsMinimized) {
        DSF->SetWindowState(wsNormal);
      } else if (DSF->Sizeable() && DSF->WindowState() != wsMaximized && !Rolled &&
                 DSF->BorderIcons().Contains(TspBorderIcon::biMaximize)) {
        DSF->SetWindowState(wsMaximized);
        FDown = false;
      } else if (DSF->Sizeable() && DSF->WindowState() == wsMaximized && !DSF->MaxRollUpState) {
        DSF->SetWindowState(wsNormal);
        FDown = false;
      } else {
        DSF->SetRollUpState(!DSF->RollUpState());
      }
      if (!*Alive) return;
    }
    if (FLayerBorder) FLayerBorder->MouseCaptureObject = -1;
  }
  TForm::WndProc(Message);
}

void TspFormLayerWindow::WMMouseActivate(TMessage& Message) {
  Message.Result = MA_NOACTIVATE;
  TspFormLayerBorder* LB = FLayerBorder;
  if (!LB || !LB->Data() || !LB->Data()->HitTestEnable || !FForm) return;
  if (!FForm->Active()) {
    FForm->Show();
    FForm->BringToFront();
    if (FForm->HandleAllocated()) SetForegroundWindow(FForm->Handle());
  }
  if (!HandleAllocated()) return;
  POINT C{};
  GetCursorPos(&C);
  ::ScreenToClient(Handle(), &C);
  FHitMode = GetHitMode(C.X, C.Y);
}

void TspFormLayerWindow::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_MOUSEACTIVATE:
      WMMouseActivate(Message);
      return;
    case WM_LBUTTONDBLCLK:
      WMLButtonDblClk(Message);
      return;
    case CM_MOUSEENTER:
      if (FLayerBorder && FLayerBorder->FullBorder() && FLayerBorder->MouseTimer)
        FLayerBorder->MouseTimer->SetEnabled(true);
      break;
    case CM_MOUSELEAVE:
      if (FLayerBorder && FLayerBorder->FullBorder()) {
        if (FLayerBorder->MouseTimer) FLayerBorder->MouseTimer->SetEnabled(false);
        FLayerBorder->MouseCaptureObject = -1;
        FLayerBorder->TestActiveObject(-1, -1);
      }
      break;
    default:
      break;
  }
  TForm::WndProc(Message);
}

// --- The border's object hover ------------------------------------------------------------

void TspFormLayerBorder::TestActiveObject(Integer X, Integer Y) {
  if (!DSF || DSF->ObjectList.empty() || !FForm) return;
  if (!DSF->GetFormActive() && DSF->SupportNCArea()) return;
  if (DSF->FSizeMove || DSF->FBorderLayerChangeSize || DSF->PreviewMode) return;
  if (DSF->IsMaximizedMDIChild()) return;
  if (FForm->BorderStyle() == bsNone && DSF->SupportNCArea()) return;
  if (FData && !FData->FullBorder) return;
  OldActiveObject = ActiveObject;
  ActiveObject = -1;
  const Integer Count = static_cast<Integer>(DSF->ObjectList.size());
  for (Integer I = 0; I < Count; ++I) {
    TspActiveSkinObject* O = DSF->ObjectList[static_cast<size_t>(I)];
    if (!O->Enabled || !O->Visible) continue;
    if (!LayerPtIn(O->ObjectRect, Point(X, Y))) continue;
    if (!O->PointInMask(X - O->ObjectRect.Left, Y - O->ObjectRect.Top)) continue;
    ActiveObject = I;
    break;
  }
  if (MouseCaptureObject != -1 && ActiveObject != MouseCaptureObject && ActiveObject != -1) ActiveObject = -1;
  if (ActiveObject >= Count) ActiveObject = -1;
  if (ActiveObject == OldActiveObject) return;
  TspSkinHint* Hint = DSF->SkinHint();
  if (TspActiveSkinObject* Old = DSF->ObjectAt(OldActiveObject)) {
    if (Old->Enabled && Old->Visible) Old->MouseLeave();
    if (DSF->ShowObjectHint() && Hint && Old->Enabled && Old->Visible && !Old->Hint.empty()) Hint->HideHint();
  }
  if (TspActiveSkinObject* New = DSF->ObjectAt(ActiveObject)) {
    if (New->Enabled && New->Visible) New->MouseEnter();
    if (FForm->Active() && DSF->ShowObjectHint() && Hint && New->Enabled && New->Visible && !New->Hint.empty())
      Hint->ActivateHint2(New->Hint);
  }
}

void TspFormLayerBorder::MouseTimerProc(TObject*) {
  if (!MouseTimer) return;
  if (FData && !FData->FullBorder) {
    MouseTimer->SetEnabled(false);
    return;
  }
  if (!TopBorder || !TopBorder->HandleAllocated()) return;
  POINT C{};
  GetCursorPos(&C);
  if (WindowFromPoint(C) == TopBorder->Handle()) return;
  MouseTimer->SetEnabled(false);
  MouseCaptureObject = -1;
  TestActiveObject(-1, -1);
}
