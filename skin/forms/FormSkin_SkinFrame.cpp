// The skinned frame: the non-client area painted from the skin's frame picture as four
// border strips with the skin objects on them, single objects redrawn between paints, the
// sizes a form may take with and without a skin, and rolling a window up to its caption
// (frame mode) or to the skin's roll-up picture (client mode).
#include <algorithm>

#include "platform/ui/Forms.h"
#include "platform/ui/Timers.h"
#include "platform/win/Gdi.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/WindowDc.h"
#include "platform/win/WindowRegion.h"
#include "skin/core/bitmaps/spEffBmp.h"
#include "skin/core/drawing/SPUtils.h"
#include "skin/forms/FormSkin.h"
#include "skin/forms/FormSkinLayerBorder.h"
#include "skin/forms/FormSkinFrameObjects.h"
#include "skin/forms/FormSkinObjects.h"

namespace {

// The skin's effect for an inactive frame rendered from the active picture.
void ApplyInActiveFrameEffect(TspEffectBmp* B, TspInActiveEffect Effect) {
  switch (Effect) {
    case ieBrightness: B->ChangeBrightness(0.5); break;
    case ieDarkness: B->ChangeDarkness(0.3); break;
    case ieGrayScale: B->GrayScale(); break;
    case ieNoise: B->AddMonoNoise(50); break;
    case ieSplitBlur: B->SplitBlur(1); break;
    case ieInvert: B->Invert(); break;
  }
}

// Draws a border strip at (X, Y) of DC, through the inactive effect when one is given.
void DrawFrameStrip(HDC DC, TBitmap* Strip, Integer X, Integer Y, Boolean WithEffect,
                    TspInActiveEffect Effect) {
  if (Strip->Empty()) return;
  if (WithEffect) {
    auto E = CreateOwned<TspEffectBmp>(Strip->Handle());
    ApplyInActiveFrameEffect(E.get(), Effect);
    E->Draw(DC, X, Y);
    return;
  }
  auto C = CreateOwned<TCanvas>();
  C->SetHandle(DC);
  C->Draw(X, Y, Strip);
  C->SetHandle(nullptr);
}

}  // namespace

void TspFormSkin::PaintNCSkin(HDC DC, Boolean AUseExternalDC) {
  if (!IsSkinNCArea()) return;
  if (FFormWidth == 0) FFormWidth = FForm->Width();
  if (FFormHeight == 0) FFormHeight = FForm->Height();
  if (GetMinWidth() > FFormWidth || GetMinHeight() > FFormHeight) return;
  CalcSkinFrameRects();
  CalcObjectRects();

  HWND Wnd = nullptr;
  if (!AUseExternalDC) {
    Wnd = FForm->Handle();
    DC = GetWindowDC(Wnd);
  }
  if (!DC) return;

  const Boolean FormActive = GetFormActive();
  TBitmap* Source = FormActive || FSD->FInActivePicture->Empty() ? FSD->FPicture.get()
                                                                 : FSD->FInActivePicture.get();
  auto LeftB = CreateOwned<TBitmap>();
  auto TopB = CreateOwned<TBitmap>();
  auto RightB = CreateOwned<TBitmap>();
  auto BottomB = CreateOwned<TBitmap>();
  CreateSkinBorderStrips(FSD->LTPoint, FSD->RTPoint, FSD->LBPoint, FSD->RBPoint, FSD->ClRect,
                         NewLTPoint, NewRTPoint, NewLBPoint, NewRBPoint, NewClRect, LeftB.get(),
                         TopB.get(), RightB.get(), BottomB.get(), Source,
                         Rect(0, 0, Source->Width(), Source->Height()), FFormWidth, FFormHeight,
                         FSD->LeftStretch, FSD->TopStretch, FSD->RightStretch, FSD->BottomStretch);

  // Main-menu items lie in the band above the client area; a main menu placed lower has
  // no strip to be drawn into, so it is left out like every object beside the client area.
  if (NewMainMenuRect.Top <= NewClRect.Top && !TopB->Empty()) {
    for (Integer I = 0; I < ObjectCount(); ++I)
      if (auto* M = dynamic_cast<TspSkinMainMenuItem*>(ObjectAt(I))) M->Draw(TopB->Canvas(), false);
  }
  for (Integer I = 0; I < ObjectCount(); ++I) {
    TspActiveSkinObject* O = ObjectAt(I);
    if (dynamic_cast<TspSkinMainMenuItem*>(O) || !O->Visible || !RollUpObjectVisible(O->RollUp))
      continue;
    if (O->ObjectRect.Bottom <= NewClRect.Top) {
      if (!TopB->Empty()) O->Draw(TopB->Canvas(), false);
    } else if (!BottomB->Empty()) {
      OffsetRect(&O->ObjectRect, 0, -NewClRect.Bottom);
      O->Draw(BottomB->Canvas(), false);
      OffsetRect(&O->ObjectRect, 0, NewClRect.Bottom);
    }
  }

  // A caller's DC gets its clipping back.
  const int SavedState = SaveDC(DC);
  if (NewClRect.Bottom > NewClRect.Top)
    ExcludeClipRect(DC, NewClRect.Left, NewClRect.Top, NewClRect.Right, NewClRect.Bottom);
  const Boolean Effect = !FormActive && FSD->AutoRenderingInActiveImage;
  const Integer TopH = TopB->Height();
  DrawFrameStrip(DC, TopB.get(), 0, 0, Effect, FSD->InActiveEffect);
  DrawFrameStrip(DC, LeftB.get(), 0, TopH, Effect, FSD->InActiveEffect);
  DrawFrameStrip(DC, RightB.get(), FFormWidth - RightB->Width(), TopH, Effect, FSD->InActiveEffect);
  DrawFrameStrip(DC, BottomB.get(), 0, FFormHeight - BottomB->Height(), Effect, FSD->InActiveEffect);
  RestoreDC(DC, SavedState);
  if (Wnd) ReleaseDC(Wnd, DC);
}

void TspFormSkin::DrawSkinObject(TspActiveSkinObject* AObject) {
  if (!AObject || !RollUpObjectVisible(AObject->RollUp)) return;
  if (!FForm->HandleAllocated()) return;
  if (!FSupportNCArea) {
    HDC DC = GetDC(FForm->Handle());
    auto C = CreateOwned<TCanvas>();
    C->SetHandle(DC);
    AObject->Draw(C.get(), true);
    C->SetHandle(nullptr);
    ReleaseDC(FForm->Handle(), DC);
    return;
  }
  // A full layered border draws the frame's objects: it is built anew around the form.
  if (FullLayeredBorderShown()) {
    FBorderLayer->SetBoundsWithForm();
    return;
  }
  if (FForm->FormStyle() == fsMDIChild && FWindowState == wsMaximized) return;
  if (FForm->BorderStyle() == bsNone) return;
  HWND Wnd = FForm->Handle();
  HDC DC = GetWindowDC(Wnd);
  auto C = CreateOwned<TCanvas>();
  C->SetHandle(DC);
  AObject->Draw(C.get(), true);
  C->SetHandle(nullptr);
  ReleaseDC(Wnd, DC);
}

void TspFormSkin::UpDateFormNC() {
  // A full layered border holds the whole frame: it is built anew around the form.
  if (FullLayeredBorderShown()) {
    FBorderLayer->SetBoundsWithForm();
    return;
  }
  if (FForm->HandleAllocated()) SendMessage(FForm->Handle(), WM_NCPAINT, 0, 0);
}

Boolean TspFormSkin::RollUpObjectVisible(Boolean ARollUp) const {
  return FSupportNCArea ? !ARollUp : ARollUp == FRollUpState;
}

void TspFormSkin::PointToFrame(TPoint& P) {
  if (FForm->FormStyle() == fsMDIChild) {
    P = FForm->ScreenToClient(P);
    if (FSkinSupport) {
      P.X += NewClRect.Left;
      P.Y += NewClRect.Top;
    } else {
      P.X += 3;
      P.Y += GetDefCaptionHeight() + 3;
    }
    return;
  }
  P.X -= FForm->Left();
  P.Y -= FForm->Top();
}

void TspFormSkin::ResetObjectStates() {
  for (Integer I = 0; I < ObjectCount(); ++I) {
    TspActiveSkinObject* O = ObjectAt(I);
    if (auto* A = dynamic_cast<TspSkinAnimateObject*>(O)) {
      A->FMouseIn = false;
      A->Active = false;
      A->FFrame = 1;
    } else if (dynamic_cast<TspSkinSwitchObject*>(O)) {
      // A switch's active look is its state, not a hover: it stays as it is.
      O->FMouseIn = false;
    } else if (!dynamic_cast<TspSkinCaptionObject*>(O)) {
      O->FMouseIn = false;
      O->Active = false;
      O->SetMorphKf(0);
    }
  }
}

void TspFormSkin::UpdateCaptionObjectsText() {
  if (!FSD || FSD->Empty) return;
  const String AText = FForm->Caption();
  for (Integer I = 0; I < ObjectCount(); ++I)
    if (auto* C = dynamic_cast<TspSkinCaptionObject*>(ObjectAt(I)); C && C->DefaultCaption)
      C->SetTextValue(AText);
}

void TspFormSkin::CaptionDblClick() {
  if (!dynamic_cast<TspSkinCaptionObject*>(ObjectAt(ActiveObject))) return;
  if (FRollUpState)
    SetRollUpState(false);
  else if (FSizeable)
    SetWindowState(FWindowState == wsNormal ? wsMaximized : wsNormal);
  else
    SetRollUpState(true);
}

// ---------------------------------------------------------------------------------------
// Size limits

Integer TspFormSkin::GetMinWidth() {
  const Boolean Minimized = FWindowState == wsMinimized;
  if (FSupportNCArea) {
    if (!IsSkinNCArea()) return FMinWidth > 0 ? FMinWidth : 130;
    const Integer PW = FSD->FPicture->Width();
    if (PW < FMinWidth && !Minimized) return FMinWidth;
    if (FSD->FormMinWidth > 0)
      return FMinWidth > FSD->FormMinWidth && !Minimized ? FMinWidth : FSD->FormMinWidth;
    return PW;
  }
  if (!FSkinSupport) return 0;
  const Integer PW = FSD->FPicture->Width();
  return FMinWidth == 0 ? PW : std::min(PW, FMinWidth);
}

Integer TspFormSkin::GetMinHeight() {
  const Boolean Keep = !FRollUpState && FWindowState != wsMinimized;
  if (FSupportNCArea) {
    if (!IsSkinNCArea()) {
      const Integer V = GetDefCaptionHeight() + 6;
      return V < FMinHeight && Keep ? FMinHeight : V;
    }
    const Integer V = FSD->FPicture->Height() - RectHeight(FSD->ClRect);
    // The full layered border draws the frame outside the window, which keeps 10 pixels.
    if (UseFullLayeredBorder()) return V < FMinHeight && Keep ? FMinHeight : 10;
    if (FSD->FormMinHeight <= 0) return V < FMinHeight && Keep ? FMinHeight : V;
    const Integer F = FSD->FormMinHeight;
    return F >= FMinHeight || !Keep ? F : FMinHeight;
  }
  if (!FSkinSupport) return 0;
  const Integer PH = FSD->FPicture->Height();
  return FMinHeight == 0 ? PH : std::min(PH, FMinHeight);
}

Integer TspFormSkin::GetMaxWidth() {
  if (FMaxWidth != 0) return FMaxWidth;
  TRect R;
  GetMonitorArea(FForm->Handle(), !FMaximizeOnFullScreen, R);
  return RectWidth(R);
}

Integer TspFormSkin::GetMaxHeight() {
  if (FMaxHeight != 0) return FMaxHeight;
  TRect R;
  GetMonitorArea(FForm->Handle(), !FMaximizeOnFullScreen, R);
  return RectHeight(R);
}

// ---------------------------------------------------------------------------------------
// Roll-up

Integer TspFormSkin::GetRealHeight() const { return FRollUpState ? OldHeight : FFormHeight; }

void TspFormSkin::SetRollUpState(Boolean Value) {
  if (!FSkinSupport && !FSupportNCArea) return;
  if (!FBorderIcons.Contains(TspBorderIcon::biRollUp)) return;
  if (FRollUpState && FWindowState == wsMaximized && !MaxRollUpState) return;
  if (FWindowState == wsMinimized) return;
  // Rolling up twice would keep the rolled-up height as the one to come back to.
  const Boolean Changed = Value != FRollUpState;
  if (FWindowState == wsMaximized) MaxRollUpState = Value;
  FRollUpState = Value;
  if (Changed) {
    if (FSupportNCArea) {
      if (Value) {
        OldHeight = FForm->Height();
        const Integer Rolled = GetMinHeight();
        // The border is rebuilt on a size change: one must happen even at the rolled height.
        if (FullLayeredBorderShown() && OldHeight == Rolled) {
          FForm->SetHeight(Rolled + 1);
          OldHeight = FForm->Height();
        }
        FForm->SetHeight(Rolled);
      } else if (FClientHeight != 0) {
        FForm->SetClientHeight(FClientHeight);
      } else {
        FForm->SetHeight(OldHeight);
      }
    } else if (FSD->FRollUpPicture->Empty()) {
      FRollUpState = false;
    } else if (Value) {
      OldHeight = FForm->Height();
      SkinRollUp();
    } else {
      SkinRollDown();
    }
  }
  if (OnChangeRollUpState) OnChangeRollUpState(this);
}

void TspFormSkin::SkinRollUp() {
  TBitmap* Pic = FSD->FRollUpPicture.get();
  const Integer H = Pic->Height();
  const Boolean Stretch = FSD->RollUpLeftPoint.X < FSD->RollUpRightPoint.X;
  const Integer W = Stretch ? FForm->Width() : Pic->Width();
  const Integer D = Stretch ? FForm->Width() - Pic->Width() : 0;
  if (Stretch) {
    for (Integer I = 0; I < ObjectCount(); ++I) {
      TspActiveSkinObject* O = ObjectAt(I);
      if (!O->RollUp) continue;
      O->ObjectRect = O->SkinRect;
      if (O->SkinRect.Left >= FSD->RollUpRightPoint.X)
        OffsetRect(&O->ObjectRect, D, 0);
      else if (O->SkinRect.Left <= FSD->RollUpLeftPoint.X && O->SkinRect.Right >= FSD->RollUpRightPoint.X)
        O->ObjectRect.Right += D;
    }
  }
  TestActiveObject(-1, -1, true);
  MouseTimer->SetEnabled(false);
  MorphTimer->SetEnabled(false);
  if (VisibleControls.empty()) {
    for (Integer I = 0; I < FForm->ControlCount(); ++I) {
      TControl* C = FForm->Controls(I);
      if (!C->Visible()) continue;
      VisibleControls.push_back(C);
    }
    for (TControl* C : VisibleControls) C->Hide();
  }
  if (Stretch)
    FForm->SetHeight(H);
  else
    FForm->SetBounds(FForm->Left(), FForm->Top(), W, H);
  ApplyRollUpRegion();
  if (FSupportNCArea)
    UpDateFormNC();
  else
    FForm->Repaint();
  MouseTimer->SetEnabled(true);
  MorphTimer->SetEnabled(true);
}

void TspFormSkin::SkinRollDown() {
  TestActiveObject(-1, -1, true);
  MouseTimer->SetEnabled(false);
  MorphTimer->SetEnabled(false);
  for (TControl* C : VisibleControls) C->Show();
  VisibleControls.clear();
  if (IsSkinResizable()) FForm->SetHeight(OldHeight);
  ApplySkinClientSize();
  MouseTimer->SetEnabled(true);
  MorphTimer->SetEnabled(true);
}

void TspFormSkin::ApplyRollUpRegion() {
  HWND Wnd = FForm->Handle();
  TBitmap* Mask = FSD ? FSD->FRollUpMask.get() : nullptr;
  if (!Mask || Mask->Empty()) {
    // The window frees the region it holds; FRgn only records which one that is.
    if (FRgn) {
      SetWindowRgn(Wnd, nullptr, TRUE);
      FRgn = nullptr;
    }
    return;
  }
  TOwned<TBitmap> Stretched;
  if (FSD->RollUpLeftPoint.X < FSD->RollUpRightPoint.X) {
    Stretched = CreateOwned<TBitmap>();
    CreateHSkinImage(FSD->RollUpLeftPoint.X, Mask->Width() - FSD->RollUpRightPoint.X, Stretched.get(),
                     Mask, Rect(0, 0, Mask->Width(), Mask->Height()), FForm->Width(), Mask->Height(), true);
    Mask = Stretched.get();
  }
  TRegionData Data;
  const Integer Size = BuildMaskRegionData(Mask, 0, 0, Data);
  if (Size == 0) return;
  HRGN Rgn = ExtCreateRegion(nullptr, static_cast<DWORD>(Size), Data.get());
  if (!Rgn) return;
  SetWindowRgn(Wnd, Rgn, TRUE);
  FRgn = Rgn;
}
