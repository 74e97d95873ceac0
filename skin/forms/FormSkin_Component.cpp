// The frame component's construction and destruction, its property setters and the
// predicates the rest of the frame rests on.
#include "skin/forms/FormSkin.h"
#include "skin/forms/FormSkinLayerBorder.h"
#include "skin/forms/FormSkinQuickButtons.h"
#include "skin/forms/SkinMenus.h"

#include "platform/win/Layered.h"
#include "platform/win/SysMetrics.h"
#include "platform/win/WindowManager.h"

namespace {

TOwned<TFont> MakeFormSkinCaptionFont(TColor Colour) {
  TOwned<TFont> Font = CreateOwned<TFont>();
  Font->SetName("Arial");
  Font->SetStyle(TFontStyles{fsBold});
  Font->SetHeight(14);
  Font->SetColor(Colour);
  return Font;
}

TTimer* MakeFormSkinTimer(TComponent* Owner, Cardinal Interval, TNotifyEvent Tick) {
  TTimer* Timer = ::Create<TTimer>(Owner);
  Timer->SetEnabled(false);
  Timer->SetInterval(Interval);
  Timer->OnTimer = std::move(Tick);
  return Timer;
}

}  // namespace

TspFormSkin::TspFormSkin(TComponent* AOwner) : TComponent(AOwner) {
  FBorderLayer = ::Create<TspFormLayerBorder>(this);
  FLayerManager = ::Create<TspLayerManager>(this);
  FMenuLayerManager = ::Create<TspLayerManager>(this);
  FLogoBitMap = CreateOwned<TBitmap>();
  FQuickButtons = CreateOwned<TspQuickButtonItems>(this);
  FDefCaptionFont = MakeFormSkinCaptionFont(clBtnText);
  FDefInActiveCaptionFont = MakeFormSkinCaptionFont(clBtnShadow);
  FDefMenuItemFont = CreateOwned<TFont>();
  FDefMenuItemFont->SetName("Arial");
  FDefMenuItemFont->SetHeight(14);
  RMTop = CreateOwned<TBitmap>();
  RMBottom = CreateOwned<TBitmap>();
  RMLeft = CreateOwned<TBitmap>();
  RMRight = CreateOwned<TBitmap>();
  MorphTimer = MakeFormSkinTimer(this, 25, [this](TObject* Sender) { MorphTimerTick(Sender); });
  MouseTimer = MakeFormSkinTimer(this, 50, [this](TObject* Sender) { MouseTimerTick(Sender); });
  AnimateTimer = MakeFormSkinTimer(this, 25, [this](TObject* Sender) { AnimateTimerTick(Sender); });

  FIsLayerEnabled = IsWin2000OrLater();
  FIsVistaOS = IsVistaOrLater();
  FIsW7 = IsWindows7();

  FForm = dynamic_cast<TCustomForm*>(AOwner);
  if (!FForm) throw EInvalidCast("Invalid class typecast");

  FForm->SetBorderIcons(TBorderIcons{});
  FForm->OnShortCut = [this](TWMKey& Msg, Boolean& Handled) { FormShortCut(Msg, Handled); };
  FForm->SetAutoSize(false);

  FSysMenu = ::Create<TPopupMenu>(this);
  FSysTrayMenu = ::Create<TspSkinPopupMenu>(this);
  FSysTrayMenu->SetComponentForm(dynamic_cast<TForm*>(FForm));
  FillTrayMenu();
  SkinMenu = ::Create<TspSkinMenu>(this, dynamic_cast<TForm*>(FForm));

  if (!ComponentState().Contains(csDesigning)) InstallHook();
}

TspFormSkin::~TspFormSkin() {
  // Deleted without Free: the hooks must not outlive the component all the same.
  *FAlive = false;
  try {
    UnHookAppMessages();
    if (FHookInstalled) RemoveHooks();
  } catch (...) {
    // A destructor lets nothing through; the form is going too.
  }
  ClearObjects();
}

void TspFormSkin::BeforeDestruction() {
  *FAlive = false;
  MouseTimer->SetEnabled(false);
  MorphTimer->SetEnabled(false);
  AnimateTimer->SetEnabled(false);
  ClearObjects();
  UnHookAppMessages();
  if (FHookInstalled) RemoveHooks();
  TComponent::BeforeDestruction();
}

void TspFormSkin::InstallHook() {
  OldWindowProc = FForm->WindowProc;
  FForm->WindowProc = [this](TMessage& Message) { FormWindowProc(Message); };
  FHookInstalled = true;
  FForm->RecreateWnd();
  if (!FIsVistaOS && (IsMDIChildForm() || IsMDIMainForm()) && FForm->HandleAllocated()) {
    const HWND Wnd = FForm->Handle();
    SetWindowLongPtr(Wnd, GWL_STYLE, GetWindowLongPtr(Wnd, GWL_STYLE) & 0xFF3FFFFF);
  }
}

void TspFormSkin::RemoveHooks() {
  FHookInstalled = false;
  RemoveClientHook();
  if (FForm) FForm->WindowProc = OldWindowProc;
}

// The MDI client window gets its earlier procedure back before the thunk is freed: the
// window would otherwise call a freed procedure.
void TspFormSkin::RemoveClientHook() {
  if (!FClientInstance) return;
  const HWND Client = FForm ? FForm->ClientHandle() : nullptr;
  if (Client && IsWindow(Client) && GetWindowLongPtr(Client, GWL_WNDPROC) == WndProcToLong(FClientInstance))
    SetWindowLongPtr(Client, GWL_WNDPROC, WndProcToLong(FPrevClientProc));
  FreeObjectInstance(FClientInstance);
  FClientInstance = nullptr;
}

void TspFormSkin::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FSD) FSD = nullptr;
  if (AComponent == FMenusSkinData) FMenusSkinData = nullptr;
  if (AComponent == FMainMenu) FMainMenu = nullptr;
  if (AComponent == FSystemMenu) FSystemMenu = nullptr;
  if (AComponent == FQuickImageList) FQuickImageList = nullptr;
  std::erase_if(AreaList, [AComponent](const TspLinkedArea& L) { return L.Control == AComponent; });
  // The menu bar, tabs bar, tray icon, hint and status bar are components of later
  // work; their references are compared as plain addresses.
  const void* Gone = AComponent;
  if (Gone == static_cast<const void*>(FMainMenuBar)) FMainMenuBar = nullptr;
  if (Gone == static_cast<const void*>(FMDITabsBar)) FMDITabsBar = nullptr;
  if (Gone == static_cast<const void*>(FTrayIcon)) FTrayIcon = nullptr;
  if (Gone == static_cast<const void*>(FSkinHint)) FSkinHint = nullptr;
  if (Gone == static_cast<const void*>(FStatusBar)) FStatusBar = nullptr;
}

// --- Property setters -------------------------------------------------------------------------

void TspFormSkin::SetSkinData(TspSkinData* Value) {
  if (FSD && FSD != Value) FSD->RemoveFreeNotification(this);
  FSD = Value;
  if (FSD) FSD->FreeNotification(this);
  if (FSD && !IsMDIChildForm()) FSkinnableForm = FSD->SkinnableForm();
  if (!ComponentState().Contains(csDesigning)) ApplySkinData();
  if (FSysTrayMenu) FSysTrayMenu->SetSkinData(Value);
}

void TspFormSkin::SetMenusSkinData(TspSkinData* Value) {
  if (FMenusSkinData && FMenusSkinData != Value && FMenusSkinData != FSD) FMenusSkinData->RemoveFreeNotification(this);
  FMenusSkinData = Value;
  if (FMenusSkinData) FMenusSkinData->FreeNotification(this);
}

void TspFormSkin::SetSupportNCArea(Boolean Value) {
  FSupportNCArea = Value;
  if (!Value && ComponentState().Contains(csDesigning)) FForm->SetBorderStyle(bsNone);
}

void TspFormSkin::SetBorderIcons(TspBorderIcons Value) {
  FBorderIcons = Value;
  const TComponentState State = ComponentState();
  if (State.Contains(csDesigning) || State.Contains(csLoading)) return;
  if (FSupportNCArea || FSkinSupport) {
    UpdateCaptionButtonStates();
    if (FForm->HandleAllocated()) SendMessage(FForm->Handle(), WM_NCPAINT, 0, 0);
  } else if (FHideCaptionButtons) {
    UpdateCaptionButtonStates();
  }
}

void TspFormSkin::SetAlphaBlend(Boolean Value) {
  if (FAlphaBlend == Value) return;
  FAlphaBlend = Value;
  if (!ComponentState().Empty() || !FForm->HandleAllocated()) return;
  const HWND Wnd = FForm->Handle();
  const LONG_PTR ExStyle = GetWindowLongPtr(Wnd, GWL_EXSTYLE);
  if (Value) {
    if (!(ExStyle & WS_EX_LAYERED)) SetWindowLongPtr(Wnd, GWL_EXSTYLE, ExStyle | WS_EX_LAYERED);
    SetLayeredAlpha(Wnd, FAlphaBlendValue);
  } else if (ExStyle & WS_EX_LAYERED) {
    SetWindowLongPtr(Wnd, GWL_EXSTYLE, ExStyle & ~static_cast<LONG_PTR>(WS_EX_LAYERED));
  }
}

void TspFormSkin::SetAlphaBlendValue(Byte Value) {
  if (FAlphaBlendValue == Value) return;
  FAlphaBlendValue = Value;
  if (FAlphaBlend && ComponentState().Empty() && FForm->HandleAllocated()) SetLayeredAlpha(FForm->Handle(), Value);
}

void TspFormSkin::SetMenusAlphaBlend(Boolean Value) { SkinMenu->AlphaBlend = FMenusAlphaBlend = Value; }
void TspFormSkin::SetMenusAlphaBlendValue(Byte Value) { SkinMenu->AlphaBlendValue = FMenusAlphaBlendValue = Value; }
void TspFormSkin::SetMenusAlphaBlendAnimation(Boolean Value) {
  SkinMenu->AlphaBlendAnimation = FMenusAlphaBlendAnimation = Value;
}

void TspFormSkin::SetMainMenu(TMainMenu* Value) {
  FMainMenu = Value;
  if (FMainMenu) FMainMenu->FreeNotification(this);
  if (HasSkin() && !ComponentState().Contains(csDesigning)) UpdateMainMenu(true);
}

void TspFormSkin::SetSystemMenu(TPopupMenu* Value) {
  FSystemMenu = Value;
  if (FSystemMenu) FSystemMenu->FreeNotification(this);
}

void TspFormSkin::SetShowIcon(Boolean Value) {
  FShowIcon = Value;
  const TComponentState State = ComponentState();
  if (!State.Contains(csDesigning) && !State.Contains(csLoading)) UpDateFormNC();
}

void TspFormSkin::SetLogoBitMap(TBitmap* Value) { FLogoBitMap->Assign(Value); }

void TspFormSkin::SetDefCaptionFont(TFont* Value) {
  FDefCaptionFont->Assign(Value);
  const TComponentState State = ComponentState();
  if (!State.Contains(csDesigning) && !State.Contains(csLoading) && !FSkinSupport && FForm->HandleAllocated())
    SendMessage(FForm->Handle(), WM_NCPAINT, 0, 0);
}

void TspFormSkin::SetDefInActiveCaptionFont(TFont* Value) {
  FDefInActiveCaptionFont->Assign(Value);
  const TComponentState State = ComponentState();
  if (!State.Contains(csDesigning) && !State.Contains(csLoading) && !FSkinSupport && FForm->HandleAllocated())
    SendMessage(FForm->Handle(), WM_NCPAINT, 0, 0);
}

void TspFormSkin::SetDefMenuItemHeight(Integer Value) {
  if (Value <= 0) return;
  FDefMenuItemHeight = Value;
  SkinMenu->SetDefaultMenuItemHeight(Value);
}

void TspFormSkin::SetDefMenuItemFont(TFont* Value) {
  FDefMenuItemFont->Assign(Value);
  SkinMenu->SetDefaultMenuItemFont(Value);
}

void TspFormSkin::SetUseSkinFontInMenu(Boolean Value) { SkinMenu->UseSkinFont = FUseSkinFontInMenu = Value; }

void TspFormSkin::SetMaxMenuItemsInWindow(Integer Value) {
  if (Value < 0) return;
  FMaxMenuItemsInWindow = Value;
  SkinMenu->MaxMenuItemsInWindow = Value;
}

void TspFormSkin::SetUseRibbon(Boolean Value) {
  FUseRibbon = Value;
  if (Value && !ComponentState().Contains(csDesigning)) SetSkinnableForm(false);
}

// --- Public operations ------------------------------------------------------------------------

Boolean TspFormSkin::IsSizeAble() {
  return FSizeable || FForm->BorderStyle() == bsSizeable || FForm->BorderStyle() == bsSizeToolWin;
}

void TspFormSkin::SetSkinnableForm(Boolean Value) {
  FFormActive = GetFormActive();
  if ((IsMDIMainForm() && FForm->MDIChildCount() > 0) || ComponentState().Contains(csDesigning)) return;
  Boolean WasMaximized = false;
  if (FWindowState == wsMaximized && FSkinnableForm) {
    if (!IsMDIMainForm()) FForm->Hide();
    SetWindowState(wsNormal);
    WasMaximized = true;
  } else if (FForm->WindowState() == wsMaximized && !FSkinnableForm) {
    FForm->SetWindowState(wsNormal);
    if (!IsMDIMainForm()) FForm->Hide();
    WasMaximized = true;
  }
  FSkinnableForm = Value && !FUseRibbon;
  ApplySkinData();
  SendChangeToControls(nullptr, FForm);
  FForm->WindowProc = [this](TMessage& Message) { FormWindowProc(Message); };
  if (IsMDIMainForm()) {
    if (FPrevClientProc) FForm->RecreateWnd();
    HookMDIClient(true);
  } else if (FIsVistaOS && !FSkinnableForm) {
    FForm->RecreateWnd();
  }
  if (WasMaximized) {
    if (!FSkinnableForm)
      FForm->SetWindowState(wsMaximized);
    else
      SetWindowState(wsMaximized);
    if (!IsMDIMainForm()) FForm->Show();
  }
}

String TspFormSkin::GetProductVersion() const { return "11.27"; }

TPoint TspFormSkin::GetPositionInMonitor(Integer AX, Integer AY, Integer AW, Integer AH) {
  if (FPositionInMonitor == sppDefault) return Point(AX, AY);
  TRect R{};
  GetMonitorArea(FForm->HandleAllocated() ? FForm->Handle() : nullptr, FPositionInMonitor == sppDesktopCenter, R);
  return Point(R.Left + RectWidth(R) / 2 - AW / 2, R.Top + RectHeight(R) / 2 - AH / 2);
}

void TspFormSkin::ApplyPositionInMonitor() {
  if (FPositionInMonitor == sppDefault) return;
  const TPoint P = GetPositionInMonitor(FForm->Left(), FForm->Top(), FForm->Width(), FForm->Height());
  FForm->SetBounds(P.X, P.Y, FForm->Width(), FForm->Height());
}

void TspFormSkin::SetFormBorderStyle(TFormBorderStyle BS) {
  FForm->SetBorderStyle(BS);
  SendChangeToControls(nullptr, FForm);
}

void TspFormSkin::SetFormStyle(TFormStyle FS) {
  if (FS != fsNormal && FS != fsStayOnTop) return;
  FForm->SetFormStyle(FS);
  if (FAlphaBlend) SendChangeToControls(nullptr, FForm);
}

Boolean TspFormSkin::HasSkin() const { return FSD && !FSD->Empty; }

Boolean TspFormSkin::IsSkinNCArea() const { return FSupportNCArea && HasSkin() && !IsNullRect(FSD->ClRect); }

Boolean TspFormSkin::IsSkinResizable() const {
  return FSD && FSD->RBPoint.X != FSD->LTPoint.X && FSD->RBPoint.Y != FSD->LTPoint.Y;
}

Boolean TspFormSkin::UseLayeredBorder() const {
  if (!FSD || FSD->Empty || !FSD->ShowLayeredBorders() || FSD->LayerFrame->PictureIndex == -1) return false;
  if (!FIsLayerEnabled || !FSkinnableForm || AlwaysDisableLayeredFrames || PreviewMode) return false;
  if (FForm->BorderStyle() == bsNone && FSupportNCArea) return false;
  return !IsMDIChildForm() && !FSmartEffectsShow;
}

Boolean TspFormSkin::UseFullLayeredBorder() const { return UseLayeredBorder() && FSD->LayerFrame && FSD->LayerFrame->FullBorder; }

Boolean TspFormSkin::FullLayeredBorderShown() const {
  return FBorderLayer && FBorderLayer->Visible() && FBorderLayer->FullBorder() && UseLayeredBorder();
}

Boolean TspFormSkin::IsLayerFrameRolledUp() const {
  if (!FBorderLayer || !FBorderLayer->FullBorder()) return false;
  if (FRollUpState) return true;
  return FWindowState == wsMinimized && !FMinimizeDefault && FForm != Application->MainForm();
}

Boolean TspFormSkin::UseLayeredShow() const {
  return FIsVistaOS && UseLayeredBorder() && !FAlphaBlend && !FAlphaBlendAnimation &&
         (!FSD || !FSD->AnimationForAllWindows());
}

Boolean TspFormSkin::GetAutoRenderingInActiveImage() const { return HasSkin() && FSD->AutoRenderingInActiveImage; }

HWND TspFormSkin::FindStayOnTopForm() const {
  for (Integer I = 0; I < Screen->CustomFormCount(); ++I) {
    TCustomForm* F = Screen->CustomForms(I);
    if (F->Visible() && F->FormStyle() == fsStayOnTop) return F->Handle();
  }
  return nullptr;
}

Boolean TspFormSkin::GetDragFullWindows() const {
  BOOL Full = FALSE;
  SystemParametersInfo(SPI_GETDRAGFULLWINDOWS, 0, &Full, 0);
  return Full != FALSE;
}

Boolean TspFormSkin::GetFormActive() {
  if (PreviewMode) return true;
  if (IsMDIMainForm() || IsMDIChildForm()) return FFormActive;
  return FForm->Active() && Screen->ActiveCustomForm() == FForm;
}

Boolean TspFormSkin::IsMDIChildForm() const { return FForm && FForm->FormStyle() == fsMDIChild; }
Boolean TspFormSkin::IsMDIMainForm() const { return FForm && FForm->FormStyle() == fsMDIForm; }
Boolean TspFormSkin::IsMaximizedMDIChild() const { return IsMDIChildForm() && FWindowState == wsMaximized; }

void TspFormSkin::EnableShadow(Boolean AShowShadow, Boolean AHideFormBefore) {
  if (!IsWin2000OrLater() || AShowShadow == FHaveShadow) return;
  FHaveShadow = AShowShadow;
  if (AHideFormBefore) FForm->Hide();
  const HWND Wnd = FForm->Handle();
  constexpr LONG_PTR DropShadow = 0x20000;
  const LONG_PTR Style = static_cast<LONG_PTR>(GetClassLongPtr(Wnd, GCL_STYLE));
  SetClassLongPtr(Wnd, GCL_STYLE, AShowShadow ? (Style | DropShadow) : (Style & ~DropShadow));
  if (AHideFormBefore) FForm->Show();
}

TspActiveSkinObject* TspFormSkin::ObjectAt(Integer Index) const {
  if (Index < 0 || Index >= ObjectCount()) return nullptr;
  return ObjectList[static_cast<size_t>(Index)];
}

TspFormSkin* FindSkinFormComponent(TCustomForm* Form) {
  if (!Form) return nullptr;
  for (Integer I = 0; I < Form->ComponentCount(); ++I)
    if (auto* FS = dynamic_cast<TspFormSkin*>(Form->Components(I))) return FS;
  return nullptr;
}
