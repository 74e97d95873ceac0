// Applying the skin to the frame: the object list rebuilt from the skin's descriptors,
// the form fitted to the skin's minimum or picture size, geometry and region recomputed.
#include "skin/forms/FormSkin.h"

#include "platform/win/Paint.h"
#include "skin/controls/SkinCtrls.h"
#include "skin/forms/FormSkinFrameObjects.h"
#include "skin/forms/FormSkinLayerBorder.h"
#include "skin/forms/FormSkinObjects.h"

namespace {

// A descriptor that makes no object here: menu items serve the menus and the menu bar,
// the main-menu item is the template of the frame's own menu items.
bool FormSkinSkipsDescriptor(TspDataSkinObject* D) {
  return dynamic_cast<TspDataSkinMainMenuItem*>(D) || dynamic_cast<TspDataSkinMenuItem*>(D) ||
         dynamic_cast<TspDataSkinMainMenuBarButton*>(D);
}

// The object a descriptor makes, in the order the kinds are tested; nil for the menu
// descriptors and for a descriptor of no kind of its own.
TspActiveSkinObject* FormSkinMakeObject(TspFormSkin* FS, TspDataSkinObject* D) {
  if (FormSkinSkipsDescriptor(D)) return nullptr;
  if (dynamic_cast<TspDataSkinGauge*>(D)) return new TspSkinGaugeObject(FS, D);
  if (auto* SB = dynamic_cast<TspDataSkinStdButton*>(D)) return new TspSkinStdButtonObject(FS, SB);
  if (auto* B = dynamic_cast<TspDataSkinButton*>(D)) return new TspSkinButtonObject(FS, B);
  if (auto* C = dynamic_cast<TspDataSkinCaption*>(D)) return new TspSkinCaptionObject(FS, C);
  if (dynamic_cast<TspDataUserObject*>(D)) return new TspUserObject(FS, D);
  if (dynamic_cast<TspDataSkinSwitch*>(D)) return new TspSkinSwitchObject(FS, D);
  if (dynamic_cast<TspDataSkinTrackBar*>(D)) return new TspSkinTrackBarObject(FS, D);
  if (dynamic_cast<TspDataSkinLabel*>(D)) return new TspSkinLabelObject(FS, D);
  if (dynamic_cast<TspDataSkinAnimate*>(D)) return new TspSkinAnimateObject(FS, D);
  if (dynamic_cast<TspDataSkinBitLabel*>(D)) return new TspSkinBitLabelObject(FS, D);
  if (dynamic_cast<TspDataSkinFrameRegulatorObject*>(D)) return new TspSkinFrameRegulatorObject(FS, D);
  if (dynamic_cast<TspDataSkinFrameGaugeObject*>(D)) return new TspSkinFrameGaugeObject(FS, D);
  return nullptr;
}

}  // namespace

void TspFormSkin::ClearObjects() {
  std::vector<TspActiveSkinObject*> Objects;
  Objects.swap(ObjectList);
  for (TspActiveSkinObject* Obj : Objects) FreeObject(Obj);
  for (const TspLinkedArea& L : AreaList) L.Control->RemoveFreeNotification(this);
  AreaList.clear();
}

void TspFormSkin::CreateSkinObjects() {
  ClearObjects();
  if (!FSD) return;
  for (TspDataSkinObject* D : FSD->ObjectList)
    if (TspActiveSkinObject* Obj = FormSkinMakeObject(this, D)) ObjectList.push_back(Obj);
  CreateMenuItemObjects();
}

void TspFormSkin::CreateMenuItemObjects() {
  if (!FMainMenu || !FSD) return;
  const Integer Index = FSD->GetIndex("MAINMENUITEM");
  if (Index == -1) return;
  auto* Data = dynamic_cast<TspDataSkinMainMenuItem*>(FSD->ObjectList[Index]);
  if (!Data) return;
  TMenuItem* Items = FMainMenu->Items();
  for (Integer I = 0; I < Items->Count(); ++I) {
    TMenuItem* Item = Items->Items(I);
    if (!Item->Visible()) continue;
    auto* Obj = new TspSkinMainMenuItem(this, Data);
    Obj->IDName = Item->Name();
    Obj->Enabled = Item->Enabled();
    Obj->OldEnabled = Obj->Enabled;
    Obj->MenuItem = Item;
    ObjectList.push_back(Obj);
  }
}


void TspFormSkin::UpdateMainMenu(Boolean ARedraw) {
  for (Integer I = ObjectCount() - 1; I >= 0; --I) {
    if (!dynamic_cast<TspSkinMainMenuItem*>(ObjectList[static_cast<size_t>(I)])) continue;
    FreeObject(ObjectList[static_cast<size_t>(I)]);
    ObjectList.erase(ObjectList.begin() + I);
  }
  CreateMenuItemObjects();
  if (!ARedraw || !FForm->HandleAllocated()) return;
  if (FSupportNCArea)
    SendMessage(FForm->Handle(), WM_NCPAINT, 0, 0);
  else
    InvalidateRect(FForm->Handle(), &NewMainMenuRect, TRUE);
}

void TspFormSkin::ApplySkinData() {
  if (FUseRibbon) FSkinnableForm = false;
  OldActiveObject = ActiveObject = MouseCaptureObject = -1;
  FSkinSupport = HasSkin();
  if (FLayerManager->IsVisible) FLayerManager->Hide();
  if (FMenuLayerManager->IsVisible) FMenuLayerManager->Hide();
  if (FBorderLayer->Visible()) FBorderLayer->Hide();

  if (FSupportNCArea) {
    if (FSkinSupport && FSkinnableForm) {
      CreateSkinObjects();
      UpdateCaptionButtonStates();
      if (!PreviewMode) FBorderLayer->InitFrame(FSD, dynamic_cast<TForm*>(FForm));
    } else {
      ClearObjects();
      FFormWidth = FForm->Width();
      FFormHeight = FForm->Height();
      UpdateFormRegion(true);
    }
    if (FSkinnableForm) {
      if (!FForm->BorderIcons().Empty()) FForm->SetBorderIcons(TBorderIcons{});
    } else {
      UpdateFormBorderIcons();
    }
    FInChangeSkinData = true;
    const Integer MinW = GetMinWidth();
    const Integer MinH = GetMinHeight();
    const bool Narrow = FForm->Width() < MinW;
    const bool Low = FForm->Height() < MinH;
    if (Narrow && Low)
      FForm->SetBounds(FForm->Left(), FForm->Top(), MinW, MinH);
    else if (Low)
      FForm->SetHeight(MinH);
    else if (Narrow)
      FForm->SetWidth(MinW);
    else
      ForceNCCalcSize();
    if ((FRollUpState || FWindowState == wsMinimized) && FForm->Height() != GetMinHeight())
      FForm->SetHeight(GetMinHeight());
    if (FWindowState == wsMinimized && FForm->Width() != GetMinWidth()) FForm->SetWidth(GetMinWidth());
    FFormWidth = FForm->Width();
    FFormHeight = FForm->Height();
    if (FSkinSupport) UpdateFrameGeometry(true);
    if (IsMDIMainForm()) {
      if (FForm->ClientHandle())
        RedrawWindow(FForm->ClientHandle(), nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE);
      RefitMDIChildren();
    } else {
      FForm->Invalidate();
      if (FForm->HandleAllocated()) SendMessage(FForm->Handle(), WM_NCPAINT, 0, 0);
    }
    UpdateActiveState(!IsMaximizedMDIChild());
    MouseTimer->SetEnabled(true);
    if (OnChangeSkinData) OnChangeSkinData(this);
    FInChangeSkinData = false;
    if (!FRollUpState) {
      if (FClientWidth > 0) FForm->SetClientWidth(FClientWidth);
      if (FClientHeight > 0) FForm->SetClientHeight(FClientHeight);
    }
  } else if (FSkinSupport) {
    const Boolean Resizable = IsSkinResizable();
    bool RolledDown = false;
    if (FRollUpState && FSD->FRollUpPicture->Empty()) {
      FRollUpState = false;
      SkinRollDown();
      RolledDown = true;
    }
    if (!FRollUpState) ApplySkinClientSize();
    CreateSkinObjects();
    UpdateCaptionButtonStates();
    FBorderLayer->InitFrame(FSD, dynamic_cast<TForm*>(FForm));
    if (FRollUpState && !RolledDown) SkinRollUp();
    FInChangeSkinData = true;
    if (OnChangeSkinData) OnChangeSkinData(this);
    if (!FRollUpState && (Resizable || (FForm->ClientWidth() == FSD->FPicture->Width() &&
                                        FForm->ClientHeight() == FSD->FPicture->Height())))
      UpdateFrameGeometry(Resizable);
    CalcObjectRects();
    LinkSkinControlsToAreas();
    UpdateLinkedControls();
    UpdateActiveState(true);
    FInChangeSkinData = false;
    MouseTimer->SetEnabled(true);
  }
  if (UseLayeredBorder() && FForm->Visible()) {
    FBorderLayer->ShowWithForm();
    FForm->Show();
    FBorderLayer->SetBoundsWithForm();
  }
  KeepBoundsOnBorderChange();
}

void TspFormSkin::ApplySkinClientSize() {
  if (!HasSkin()) return;
  const Integer W = FSD->FPicture->Width();
  const Integer H = FSD->FPicture->Height();
  if (IsSkinResizable()) {
    if (FMinWidth > 0 && FMinHeight > 0) return;
    if (FForm->ClientWidth() < W) FForm->SetClientWidth(W);
    if (FForm->ClientHeight() < H) FForm->SetClientHeight(H);
  } else {
    if (FForm->ClientWidth() != W) FForm->SetClientWidth(W);
    if (FForm->ClientHeight() != H) FForm->SetClientHeight(H);
    FSizeable = false;
  }
}

void TspFormSkin::ForceNCCalcSize() {
  const Integer W = FForm->Width();
  if (W - 1 < GetMinWidth()) {
    FForm->SetWidth(W + 1);
    FForm->SetWidth(W);
  } else {
    FForm->SetWidth(W - 1);
    FForm->SetWidth(W);
  }
}

void TspFormSkin::LinkSkinControlsToAreas() {
  for (Integer I = 0; I < FForm->ControlCount(); ++I) {
    TControl* C = FForm->Controls(I);
    String Area;
    if (auto* SC = dynamic_cast<TspSkinControl*>(C))
      Area = SC->AreaName();
    else if (auto* GC = dynamic_cast<TspGraphicSkinControl*>(C))
      Area = GC->AreaName();
    if (!Area.empty()) LinkControlToArea(Area, C);
  }
}
