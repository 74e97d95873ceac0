// The form's window procedure while the frame component exists: the dispatch (close
// menus, first phase, the form's own procedure, second phase) and the non-client
// handlers: size, hit test, paint and activation of the frame.
#include "skin/forms/FormSkin.h"

#include "platform/win/Gdi.h"
#include "platform/win/Input.h"
#include "platform/win/Paint.h"
#include "skin/forms/FormSkinLayerBorder.h"
#include "skin/forms/FormSkinObjects.h"
#include "skin/forms/SkinMenus.h"

namespace {

// The messages after which an open skin menu closes.
bool FormSkinClosesMenus(UINT Msg) {
  switch (Msg) {
    case WM_MOVE:
    case WM_SIZE:
    case WM_ACTIVATE:
    case WM_KILLFOCUS:
    case WM_CANCELMODE:
    case WM_MOUSEACTIVATE:
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
    case WM_NCMBUTTONDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_PARENTNOTIFY:
      return true;
    default:
      return false;
  }
}

}  // namespace

void TspFormSkin::FormWindowProc(TMessage& Message) {
  CloseMenusOnMessage(Message);
  // A handler may free the component (a close from a caption button); the form goes on.
  const std::shared_ptr<bool> Alive = FAlive;
  const Boolean PassOn = HandleFirstPhase(Message);
  if (!*Alive) return;
  if (PassOn && OldWindowProc) OldWindowProc(Message);
  if (!*Alive) return;
  HandleSecondPhase(Message);
}

void TspFormSkin::CloseMenusOnMessage(TMessage& Message) {
  if (!FormSkinClosesMenus(Message.Msg)) return;
  if (FShowObjectHint && FSkinHint) HideObjectHint();
  if (InMainMenu && !InMenu) {
    ExitMainMenuMode();
  } else if (SkinMenuVisible() || InMenu) {
    if (SkinMenuVisible())
      HideSkinMenu();
    else
      SkinMenuClose();
  } else if (IsMDIMainForm() && FForm->Visible()) {
    if (TForm* Child = FForm->ActiveMDIChild())
      if (TspFormSkin* ChildSkin = FindSkinFormComponent(Child)) ChildSkin->CloseMenusOnMessage(Message);
  }
  CancelControlsDropDown();
}

Boolean TspFormSkin::HandleFirstPhase(TMessage& Message) {
  switch (Message.Msg) {
    case WM_DESTROY:
      // The window frees its region with itself; a new window starts without one.
      FRgn = nullptr;
      MouseTimer->SetEnabled(false);
      MorphTimer->SetEnabled(false);
      AnimateTimer->SetEnabled(false);
      if (IsMDIChildForm()) {
        FWindowState = wsNormal;
        if (Application->MainForm() && Application->MainForm()->HandleAllocated())
          SendMessage(Application->MainForm()->Handle(), WM_MDICHILD_RESTORED, 0, 0);
        UpdateMDIMainMenuBar();
        UpdateActiveMDIBarTab();
      }
      return true;
    case WM_SIZE:
      return WMSize(Message);
    case WM_ACTIVATE:
      return WMActivate(Message);
    case WM_SETTEXT:
      return WMSetText(Message);
    case WM_ERASEBKGND:
      return WMEraseBkgnd(Message);
    case WM_SHOWWINDOW:
      return WMShowWindow(Message);
    case WM_SETCURSOR:
      if (FSupportNCArea && FUseFormCursorInNCArea && FSkinnableForm) {
        const WORD Code = LOWORD(static_cast<uintptr_t>(Message.LParam));
        const bool Keep = Code == HTCLIENT || (Code >= HTLEFT && Code <= HTBOTTOMRIGHT);
        if (!Keep)
          Message.LParam = static_cast<LPARAM>(
              (static_cast<uintptr_t>(Message.LParam) & ~static_cast<uintptr_t>(0xFFFF)) | HTCLIENT);
      }
      return true;
    case WM_MOUSEACTIVATE:
      if (FSkinnableForm && IsMDIChildForm() && !FFormActive && Application->MainForm() &&
          Application->MainForm()->ActiveMDIChild() == FForm) {
        FFormActive = true;
        UpdateActiveState(!IsMaximizedMDIChild());
      }
      return true;
    case WM_GETMINMAXINFO:
      if (FSkinnableForm) {
        auto* Info = reinterpret_cast<MINMAXINFO*>(Message.LParam);
        Info->ptMinTrackSize = Point(GetMinWidth(), GetMinHeight());
        Info->ptMaxTrackSize = Point(GetMaxWidth(), GetMaxHeight());
        Message.Result = 0;
      }
      return true;
    case WM_WINDOWPOSCHANGED:
      WMWindowPosChanged(Message);
      return true;
    case WM_DISPLAYCHANGE:
      if (FSupportNCArea && FForm->BorderStyle() != bsNone &&
          (GetMaxWidth() < FForm->Width() || GetMaxHeight() < FForm->Height()))
        ForceNCCalcSize();
      return true;
    case WM_NCCALCSIZE:
      return WMNCCalcSize(Message);
    case WM_NCHITTEST:
      return WMNCHitTest(Message);
    case WM_NCPAINT:
      return WMNCPaint(Message);
    case WM_NCACTIVATE:
      return WMNCActivate(Message);
    case WM_SYNCPAINT:
      if (FSkinnableForm && FRollUpState && FSupportNCArea) {
        SendMessage(FForm->Handle(), WM_NCPAINT, 0, 0);
        Message.Result = 0;
        return false;
      }
      return true;
    case WM_SYSCOMMAND:
      return WMSysCommand(Message);
    case WM_TIMER:
      if (Message.WParam == 1) return WMFadeTimer(Message);
      return true;
    case WM_SIZING:
      return WMSizing(Message);
    case WM_MOVING:
      if (FSkinnableForm) {
        auto* R = reinterpret_cast<RECT*>(Message.LParam);
        if (FWindowState == wsMaximized && !IsMDIChildForm()) {
          *R = FForm->BoundsRect();
        } else if (FMagnetic) {
          Integer L = R->Left, T = R->Top;
          MagneticMove(L, T, FForm->Width(), FForm->Height());
          *R = Rect(L, T, L + FForm->Width(), T + FForm->Height());
        }
      }
      return true;
    case WM_ENTERSIZEMOVE:
      GetCursorPos(&FOnMouseDownCoord);
      if (FSupportNCArea && FSkinnableForm) {
        ResetObjectStates();
        MouseTimer->SetEnabled(false);
        ActiveObject = -1;
        MouseCaptureObject = -1;
        FSizeMove = true;
        FFullDrag = GetDragFullWindows();
      }
      return true;
    case WM_EXITSIZEMOVE:
      if (FSupportNCArea && FSkinnableForm) WMExitSizeMove(Message);
      return true;
    case CM_SKIN_PAINT_FRAME:
    case CN_SKIN_PAINT_FRAME:
      return WMPaintFrameRequest(Message);
    default:
      return WMSkinMessage(Message);
  }
}

Boolean TspFormSkin::WMActivate(TMessage& Message) {
  if (!FSkinnableForm) return true;
  FIsDragging = false;
  const std::shared_ptr<bool> Alive = FAlive;
  if (OldWindowProc) OldWindowProc(Message);
  if (!*Alive) return false;
  if (IsMaximizedMDIChild()) {
    UpdateActiveState(false);
  } else if (FSupportNCArea) {
    TestActiveObject(-1, -1, false);
    ResetObjectStates();
    if (FForm->HandleAllocated()) SendMessage(FForm->Handle(), WM_NCPAINT, 0, 0);
    UpdateActiveState(true);
  } else {
    FForm->Invalidate();
  }
  if (IsMDIMainForm()) UpdateMDIMainMenuBar();
  return false;
}

Boolean TspFormSkin::WMSetText(TMessage& Message) {
  if (!FSkinnableForm) return true;
  const std::shared_ptr<bool> Alive = FAlive;
  if (OldWindowProc) OldWindowProc(Message);
  if (!*Alive) return false;
  if (FForm->BorderStyle() != bsNone && !IsMaximizedMDIChild() && FForm->HandleAllocated()) {
    if (FSkinSupport && !FSupportNCArea)
      UpdateCaptionObjectsText();
    else if (FSkinSupport && FBorderLayer && FBorderLayer->Visible() && UseLayeredBorder())
      FBorderLayer->SetBoundsWithForm();  // its top window may carry the caption
    else
      SendMessage(FForm->Handle(), WM_NCPAINT, 0, 0);
  }
  if (IsMDIChildForm()) {
    UpDateChildCaptionInMenu(FForm);
    RefreshMDIBarTab(FForm);
  }
  return false;
}

Boolean TspFormSkin::WMEraseBkgnd(TMessage& Message) {
  if (IsMDIMainForm() && !FClientInActiveDraw) return false;
  const HDC DC = reinterpret_cast<HDC>(Message.WParam);
  if (!FSupportNCArea) {
    Paint(DC);
  } else if (FSkinSupport) {
    if (FUseRibbon && FSD->MDIBGPictureIndex != -1)
      PaintBG3(DC);
    else if (FSD->BGPictureIndex == -1)
      PaintBG(DC);
    else
      PaintBG2(DC);
  } else {
    PaintBGDefault(DC);
  }
  return false;
}

Boolean TspFormSkin::WMNCCalcSize(TMessage& Message) {
  if (!FSkinnableForm) return true;
  if (!FSupportNCArea || IsMaximizedMDIChild() || FForm->BorderStyle() == bsNone) return false;
  // Without WParam the parameter is one rectangle, with it the first of three.
  RECT& R = Message.WParam ? reinterpret_cast<NCCALCSIZE_PARAMS*>(Message.LParam)->rgrc[0]
                           : *reinterpret_cast<RECT*>(Message.LParam);
  if (IsSkinNCArea()) {
    CalcSkinFrameRects();
    // A full layered border draws the whole frame: the form is all client.
    if (FBorderLayer->FullBorder() && UseLayeredBorder()) {
      Message.Result = 1;
      return false;
    }
    const TspSkinData& S = *FSD;
    R.Left += S.ClRect.Left;
    R.Top += S.ClRect.Top;
    R.Right -= S.FPicture->Width() - S.ClRect.Right;
    R.Bottom -= S.FPicture->Height() - S.ClRect.Bottom;
  } else {
    R.Left += 3;
    R.Top += GetDefCaptionHeight() + 3;
    R.Right -= 3;
    R.Bottom -= 3;
  }
  if (R.Right < R.Left) R.Right = R.Left;
  if (R.Bottom < R.Top) R.Bottom = R.Top;
  return false;
}

Boolean TspFormSkin::WMNCHitTest(TMessage& Message) {
  TPoint P = Point(GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam));
  if (FSupportNCArea) {
    if (FBorderLayer->Visible() && FBorderLayer->FullBorder()) {
      Message.Result = HTCLIENT;
      return false;
    }
    if (!FSkinnableForm) return true;
    PointToFrame(P);
    Message.Result = FSkinSupport ? SkinNCHitTest(P) : DefaultNCHitTest(P);
    if (Message.Result == HTOBJECT && !MouseTimer->Enabled()) {
      TestActiveObject(P.X, P.Y, true);
      MouseTimer->SetEnabled(true);
    }
    return false;
  }
  if (!FSkinSupport) return true;
  P = FForm->ScreenToClient(P);
  if (!MouseIn) {
    MouseIn = true;
    TestActiveObject(P.X, P.Y, true);
    MouseTimer->SetEnabled(true);
  }
  Message.Result = ClientModeHitTest(P);
  return false;
}

Boolean TspFormSkin::WMNCPaint(TMessage&) {
  if (!FSkinnableForm) return true;
  if (FForm->BorderStyle() == bsNone || IsMaximizedMDIChild() || !FSupportNCArea) return false;
  if (FSkinSupport && FBorderLayer->FullBorder() && UseLayeredBorder()) return false;
  if (FSkinSupport) {
    if (!FStopPainting) PaintNCSkin(nullptr, false);
  } else if (!FStopPainting) {
    PaintNCDefault(nullptr, false);
  }
  return false;
}

Boolean TspFormSkin::WMNCActivate(TMessage& Message) {
  if (!FSkinnableForm) return true;
  FBorderLayerChangeSize = false;
  if (SkinMenuVisible()) HideSkinMenu();
  if (FLayerManager->IsVisible) FLayerManager->Hide();
  if (FMenuLayerManager->IsVisible) FMenuLayerManager->Hide();
  FFormActive = Message.WParam != 0;
  if (!FFormActive) TestActiveObject(-1, -1, false);
  const std::shared_ptr<bool> Alive = FAlive;
  if (IsMDIChildForm() || (IsMDIMainForm() && !FIsVistaOS)) {
    if (OldWindowProc) OldWindowProc(Message);
    if (!*Alive) return false;
    if (IsMDIChildForm()) FForm->Invalidate();
  } else {
    Message.Result = 1;
  }
  if (IsMaximizedMDIChild() || FForm->BorderStyle() == bsNone) {
    UpdateActiveState(false);
  } else {
    if (FForm->HandleAllocated()) SendMessage(FForm->Handle(), WM_NCPAINT, 0, 0);
    UpdateActiveState(true);
  }
  if (!*Alive) return false;
  if (IsMaximizedMDIChild() && Application->MainForm()) Application->MainForm()->Perform(WM_NCPAINT, 0, 0);
  if (FForm->Visible() && FClientInActiveEffect) {
    if (FFormActive)
      HideClientInActiveEffect();
    else
      ShowClientInActiveEffect();
  }
  if (IsMDIChildForm()) {
    UpdateMDIMainMenuBar();
    UpdateActiveMDIBarTab();
    UpDateChildActiveInMenu();
  }
  if (FBorderLayer->Data() && UseLayeredBorder()) {
    if (FForm->Visible())
      FBorderLayer->SetActive(FFormActive, true);
    else if (FForm->Tag() != -10000)
      FBorderLayer->Hide();
  }
  return false;
}

Boolean TspFormSkin::WMSysCommand(TMessage& Message) {
  if (Message.WParam == SC_RESTORE) {
    if (OnRestore) OnRestore(this);
    // A main form on the task bar comes back with its layered border around it.
    if (FSupportNCArea && UseLayeredBorder() && Application->MainFormOnTaskBar() && FForm == Application->MainForm()) {
      OldWindowProc(Message);
      FBorderLayer->ShowWithForm();
      return false;
    }
    return true;
  }
  if (Message.WParam == SC_KEYMENU) {
    if (!InMainMenu) {
      if (SkinMenuVisible())
        SkinMenu->Hide();
      else
        SkinMenuClose();
      if (FMainMenuBar)
        FMainMenuBar->EnterMenuMode();
      else
        EnterFrameMainMenu();
    } else {
      ExitMainMenuMode();
    }
    return false;
  }
  return true;
}

Boolean TspFormSkin::WMPaintFrameRequest(TMessage& Message) {
  if (!FSkinnableForm) return true;
  if (Message.Msg == CN_SKIN_PAINT_FRAME && Message.LParam != SKIN_PAINT_KEY) return true;
  const HDC DC = reinterpret_cast<HDC>(Message.WParam);
  if (DC && FSupportNCArea && FForm->BorderStyle() != bsNone && !IsMaximizedMDIChild()) {
    if (FSkinSupport)
      PaintNCSkin(DC, true);
    else if (!FStopPainting)
      PaintNCDefault(DC, true);
  }
  Message.Result = Message.Msg == CN_SKIN_PAINT_FRAME ? SKIN_PAINT_KEY : SKIN_ANSWER_FRAME_PAINTED;
  return false;
}

void TspFormSkin::UpdateActiveState(Boolean ARedraw) {
  const Boolean Active = GetFormActive();
  for (TspActiveSkinObject* Obj : ObjectList) {
    auto* Caption = dynamic_cast<TspSkinCaptionObject*>(Obj);
    if (!Caption) continue;
    if (ARedraw && RollUpObjectVisible(Caption->RollUp)) {
      if (!FSupportNCArea) Caption->Active = Active;
      if (Caption->EnableAnimation()) {
        Caption->FIncTime = 25;
        Caption->CurrentFrame = Active ? 1 : (Caption->InActiveAnimation ? Caption->FrameCount : 0);
        AnimateTimer->SetEnabled(true);
      }
      if (!FSupportNCArea || !IsNullRect(Caption->ActiveSkinRect)) Caption->ReDraw();
    } else if (Caption->Morphing) {
      Caption->SetMorphKf(Active ? 1.0 : 0.0);
    }
  }
  if (Active) {
    if (OnActivate) OnActivate(this);
  } else if (OnDeActivate) {
    OnDeActivate(this);
  }
}
