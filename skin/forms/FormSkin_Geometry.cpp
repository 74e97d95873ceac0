// The skin's frame geometry mapped to the form's current size, the placing of the skin
// objects, and the window region.
#include "skin/forms/FormSkin.h"

#include <algorithm>

#include "platform/win/Gdi.h"
#include "platform/win/WindowRegion.h"
#include "skin/forms/FormSkinFrameObjects.h"
#include "skin/forms/FormSkinObjects.h"

namespace {

// A temporary region, deleted when it goes.
struct FormSkinTempRegion {
  HRGN Handle = nullptr;
  FormSkinTempRegion() = default;
  FormSkinTempRegion(const FormSkinTempRegion&) = delete;
  FormSkinTempRegion& operator=(const FormSkinTempRegion&) = delete;
  ~FormSkinTempRegion() {
    if (Handle) DeleteObject(Handle);
  }
};

// A point of a corner zone: inside, the right and bottom edges excluded.
bool FormSkinZoneHolds(const TRect& Zone, const TPoint& P) {
  return P.X >= Zone.Left && P.Y >= Zone.Top && P.X < Zone.Right && P.Y < Zone.Bottom;
}

// A corner of a mapped rectangle in a corner zone, every edge included: a rectangle
// that ends on the zone's right or bottom edge (a caption button as high as the top
// corners) still lies in it.
bool FormSkinZoneTouches(const TRect& Zone, const TPoint& P) {
  return P.X >= Zone.Left && P.Y >= Zone.Top && P.X <= Zone.Right && P.Y <= Zone.Bottom;
}

TRect FormSkinMoved(TRect R, Integer DX, Integer DY) {
  R.Left += DX;
  R.Right += DX;
  R.Top += DY;
  R.Bottom += DY;
  return R;
}

}  // namespace

void TspFormSkin::UpdateFrameGeometry(Boolean AUpdateObjects) {
  if (ComponentState().Contains(csDesigning) || !HasSkin()) return;
  if (FSkinnableForm) {
    CalcSkinFrameRects();
    if (AUpdateObjects) CalcObjectRects();
  }
  UpdateFormRegion(AUpdateObjects);
  if (OnChangeClientRect) OnChangeClientRect(NewClRect);
  if (FSupportNCArea) {
    if (!FRgn && FSkinnableForm && FForm->HandleAllocated()) SendMessage(FForm->Handle(), WM_NCPAINT, 0, 0);
    if (FSkinSupport && FSD->StretchEffect) {
      FForm->Invalidate();
      CheckControlsBackground();
    }
  } else {
    FForm->Invalidate();
    UpdateLinkedControls();
  }
}

void TspFormSkin::CalcSkinFrameRects() {
  if (FFormWidth == 0) FFormWidth = FForm->Width();
  if (FFormHeight == 0) FFormHeight = FForm->Height();
  if (!HasSkin()) return;
  const TspSkinData& S = *FSD;
  const Integer PW = S.FPicture->Width();
  const Integer PH = S.FPicture->Height();
  const Integer DX = FFormWidth - PW;
  const Integer DY = FFormHeight - PH;

  NewLTPoint = S.LTPoint;
  NewRTPoint = Point(S.RTPoint.X + DX, S.RTPoint.Y);
  NewLBPoint = Point(S.LBPoint.X, S.LBPoint.Y + DY);
  NewRBPoint = Point(S.RBPoint.X + DX, S.RBPoint.Y + DY);
  NewClRect = Rect(S.ClRect.Left, S.ClRect.Top, S.ClRect.Right + DX, S.ClRect.Bottom + DY);

  NewCaptionRect = S.CaptionRect;
  if (!IsNullRect(S.CaptionRect)) NewCaptionRect.Right += DX;

  NewButtonsRect = S.ButtonsRect;
  NewButtonsInLeft = S.CapButtonsInLeft;
  if (!IsNullRect(S.ButtonsRect) && S.ButtonsRect.Left > PW / 2) NewButtonsRect = FormSkinMoved(S.ButtonsRect, DX, 0);
  NewButtonsOffset = S.ButtonsOffset;

  NewHitTestLTPoint = S.HitTestLTPoint;
  NewHitTestRTPoint = Point(S.HitTestRTPoint.X + DX, S.HitTestRTPoint.Y);
  NewHitTestLBPoint = Point(S.HitTestLBPoint.X, S.HitTestLBPoint.Y + DY);
  NewHitTestRBPoint = Point(S.HitTestRBPoint.X + DX, S.HitTestRBPoint.Y + DY);

  NewMaskRectArea = Rect(S.MaskRectArea.Left, S.MaskRectArea.Top, S.MaskRectArea.Right + DX, S.MaskRectArea.Bottom + DY);
  CalcNewRect(S.IconRect, NewIconRect);

  NewMainMenuRect = S.MainMenuRect;
  if (IsSkinResizable()) {
    NewMainMenuRect.Right += DX;
    const TRect LBZone = Rect(0, S.LBPoint.Y, S.LBPoint.X, PH);
    if (FormSkinZoneHolds(LBZone, Point(S.MainMenuRect.Left, S.MainMenuRect.Top)))
      NewMainMenuRect = FormSkinMoved(NewMainMenuRect, 0, DY);
  }
}

void TspFormSkin::CalcNewRect(const TRect& R, TRect& NewR) const {
  NewR = R;
  if (!HasSkin()) return;
  const TspSkinData& S = *FSD;
  const Integer PW = S.FPicture->Width();
  const Integer PH = S.FPicture->Height();
  const TRect LT = Rect(0, 0, S.LTPoint.X, S.LTPoint.Y);
  const TRect RT = Rect(S.RTPoint.X, 0, PW, S.RTPoint.Y);
  const TRect LB = Rect(0, S.LBPoint.Y, S.LBPoint.X, PH);
  const TRect RB = Rect(S.RBPoint.X, S.RBPoint.Y, PW, PH);
  const Integer DX = NewRBPoint.X - S.RBPoint.X;
  const Integer DY = NewRBPoint.Y - S.RBPoint.Y;
  if (IsNullRect(LT) && IsNullRect(RT) && IsNullRect(LB) && IsNullRect(RB)) return;

  const TPoint TL = Point(R.Left, R.Top);
  const TPoint BR = Point(R.Right, R.Bottom);
  const auto Within = [&](const TRect& Zone) { return FormSkinZoneTouches(Zone, TL) && FormSkinZoneTouches(Zone, BR); };
  if (Within(LT)) return;
  if (Within(RT)) {
    NewR = FormSkinMoved(R, DX, 0);
  } else if (Within(LB)) {
    NewR = FormSkinMoved(R, 0, DY);
  } else if (Within(RB)) {
    NewR = FormSkinMoved(R, DX, DY);
  } else if (FormSkinZoneTouches(LT, TL) && FormSkinZoneTouches(RB, BR)) {
    NewR.Right += DX;
    NewR.Bottom += DY;
  } else if (FormSkinZoneTouches(LT, TL) && FormSkinZoneTouches(RT, BR)) {
    NewR.Right += DX;
  } else if (FormSkinZoneTouches(LB, TL) && FormSkinZoneTouches(RB, BR)) {
    NewR.Right += DX;
    NewR = FormSkinMoved(NewR, 0, DY);
  } else if (FormSkinZoneTouches(LT, TL) && FormSkinZoneTouches(LB, BR)) {
    NewR.Bottom += DY;
  } else if (FormSkinZoneTouches(RT, TL) && FormSkinZoneTouches(RB, BR)) {
    NewR = FormSkinMoved(R, DX, 0);
    NewR.Bottom += DY;
  }
}

void TspFormSkin::CalcObjectRects() {
  // A full layered border lays out its caption objects itself, in its own coordinates.
  if (UseFullLayeredBorder()) return;
  for (TspActiveSkinObject* Obj : ObjectList) CalcNewRect(Obj->SkinRect, Obj->ObjectRect);
  if (HasSkin() && !IsNullRect(FSD->SizeGripArea))
    CalcNewRect(FSD->SizeGripArea, FSizeGripArea);
  else
    FSizeGripArea = NullRect();
  if (!FSupportNCArea) return;

  TRect Layout{};
  if (!IsNullRect(NewButtonsRect))
    Layout = NewButtonsRect;
  else if (!IsNullRect(NewCaptionRect))
    Layout = NewCaptionRect;
  else
    return;
  const bool InCaption = IsNullRect(NewButtonsRect);
  const Integer Y = Layout.Top;

  // A caption button: a visible standard or animate button drawn from the active
  // picture, with that command.
  const auto CommandOf = [](TspActiveSkinObject* Obj, TStdCommand& Command) {
    if (auto* B = dynamic_cast<TspSkinStdButtonObject*>(Obj)) {
      Command = B->Command;
      return true;
    }
    if (auto* A = dynamic_cast<TspSkinAnimateObject*>(Obj)) {
      Command = A->Command;
      return true;
    }
    return false;
  };
  const auto IsCaptionButton = [&](TspActiveSkinObject* Obj, TStdCommand Wanted) {
    TStdCommand Command = cmDefault;
    return CommandOf(Obj, Command) && Command == Wanted && Obj->Visible && Obj->SkinRectInAPicture;
  };
  const auto FindButton = [&](TStdCommand Wanted) -> TspActiveSkinObject* {
    for (TspActiveSkinObject* Obj : ObjectList)
      if (IsCaptionButton(Obj, Wanted)) return Obj;
    return nullptr;
  };
  const auto SizeOf = [&](TspActiveSkinObject* Obj, Integer& W, Integer& H) {
    W = RectWidth(Obj->SkinRect);
    H = RectHeight(Obj->SkinRect);
    TStdCommand Command = cmDefault;
    if (FShowIcon && dynamic_cast<TspSkinStdButtonObject*>(Obj) && CommandOf(Obj, Command) && Command == cmSysMenu)
      GetIconSize(W, H);
  };
  TspSkinCaptionObject* Caption = nullptr;
  for (TspActiveSkinObject* Obj : ObjectList)
    if ((Caption = dynamic_cast<TspSkinCaptionObject*>(Obj))) break;

  std::vector<TspActiveSkinObject*> Order;
  for (TStdCommand C : {cmClose, cmMaximize, cmMinimize, cmRollUp, cmMinimizeToTray})
    if (TspActiveSkinObject* Obj = FindButton(C)) Order.push_back(Obj);
  for (TspActiveSkinObject* Obj : ObjectList)
    if (IsCaptionButton(Obj, cmDefault)) Order.push_back(Obj);
  TspActiveSkinObject* SysMenu = FindButton(cmSysMenu);

  Integer W = 0, H = 0;
  if (!NewButtonsInLeft) {
    Integer X = Layout.Right;
    for (TspActiveSkinObject* Obj : Order) {
      SizeOf(Obj, W, H);
      Obj->ObjectRect = Rect(X - W, Y, X, Y + H);
      X = X - NewButtonsOffset - W;
    }
    if (Caption && InCaption) Caption->ObjectRect.Right = X + NewButtonsOffset;
    if (SysMenu) {
      SizeOf(SysMenu, W, H);
      X = NewCaptionRect.Left;
      const Integer Top = NewCaptionRect.Top + RectHeight(NewCaptionRect) / 2 - H / 2;
      SysMenu->ObjectRect = Rect(X, Top, X + W, Top + H);
      X = X + NewButtonsOffset + W;
      if (Caption) Caption->ObjectRect.Left = X - NewButtonsOffset;
    }
  } else {
    Integer X = Layout.Left;
    if (InCaption && SysMenu) Order.push_back(SysMenu);
    for (TspActiveSkinObject* Obj : Order) {
      SizeOf(Obj, W, H);
      Obj->ObjectRect = Rect(X, Y, X + W, Y + H);
      X = X + NewButtonsOffset + W;
    }
    if (Caption && InCaption) Caption->ObjectRect.Left = X + NewButtonsOffset;
  }
}

void TspFormSkin::UpdateFormRegion(Boolean AUpdate) {
  const HWND Wnd = FForm->HandleAllocated() ? FForm->Handle() : nullptr;
  const auto Remove = [&] {
    if (!FRgn) return;
    if (Wnd) SetWindowRgn(Wnd, nullptr, TRUE);
    FRgn = nullptr;
  };
  // The window takes the region (and frees the one it had): FRgn only records it.
  const auto Apply = [&](HRGN Rgn) {
    if (!Wnd) {
      DeleteObject(Rgn);
      return;
    }
    SetWindowRgn(Wnd, Rgn, TRUE);
    FRgn = Rgn;
  };
  const auto ApplyWhole = [&] { Apply(CreateRectRgn(0, 0, FFormWidth, FFormHeight)); };

  if (!FSkinnableForm) {
    Remove();
    return;
  }
  // The full layered border draws the frame outside the window: the window is its client,
  // or while rolled up the frame data's rolled height of it (none when that is 0).
  if (HasSkin() && FSupportNCArea && FForm->BorderStyle() != bsNone && UseFullLayeredBorder()) {
    const Integer H = IsLayerFrameRolledUp() ? FSD->LayerFrame->RollUpFormHeight : FFormHeight;
    Apply(CreateRectRgn(0, 0, FFormWidth, std::max<Integer>(H, 0)));
    return;
  }
  if (FSupportNCArea && FForm->BorderStyle() == bsNone) {
    Remove();
    return;
  }
  if (HasSkin() && (FSD->FMask->Empty() || IsMaximizedMDIChild())) {
    ApplyWhole();
    return;
  }
  if (!HasSkin()) {
    ApplyWhole();
    for (TBitmap* Strip : {RMTop.get(), RMBottom.get(), RMLeft.get(), RMRight.get()}) Strip->SetSize(0, 0);
    return;
  }
  const TspSkinData& S = *FSD;
  if (!AUpdate) {
    TRegionData Data;
    const Integer Size = BuildMaskRegionData(S.FMask.get(), 0, 0, Data);
    if (Size && Data->rdh.nCount > 0) Apply(ExtCreateRegion(nullptr, static_cast<DWORD>(Size), Data.get()));
    return;
  }
  CreateSkinMaskStrips(S.LTPoint, S.RTPoint, S.LBPoint, S.RBPoint, S.MaskRectArea, NewLTPoint, NewRTPoint,
                       NewLBPoint, NewRBPoint, NewMaskRectArea, S.FMask.get(), RMTop.get(), RMLeft.get(),
                       RMRight.get(), RMBottom.get(), FFormWidth, FFormHeight);
  const TRect& NA = NewMaskRectArea;
  HRGN Rgn = CreateRectRgn(NA.Left, NA.Top, NA.Right, NA.Bottom);
  const struct {
    TBitmap* Strip;
    TPoint At;
  } Placed[4] = {{RMTop.get(), {0, 0}},
                 {RMBottom.get(), {0, NA.Bottom}},
                 {RMLeft.get(), {0, NA.Top}},
                 {RMRight.get(), {NA.Right, NA.Top}}};
  for (const auto& P : Placed) {
    if (P.Strip->Width() <= 0 || P.Strip->Height() <= 0) continue;
    TRegionData Data;
    const Integer Size = BuildMaskRegionData(P.Strip, P.At.X, P.At.Y, Data);
    if (!Size) continue;
    FormSkinTempRegion Part;
    Part.Handle = ExtCreateRegion(nullptr, static_cast<DWORD>(Size), Data.get());
    if (Part.Handle) CombineRgn(Rgn, Rgn, Part.Handle, RGN_OR);
  }
  Apply(Rgn);
}
