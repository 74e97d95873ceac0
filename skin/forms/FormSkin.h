// The frame component: every window owns one TspFormSkin. It takes over its form's
// window procedure and from then on measures, paints, shapes and hit-tests the form's
// frame from the loaded skin (frame mode) or draws the whole skin picture as the form's
// client background (client mode); without a skin it draws a plain default frame. It
// owns the frame's skin objects (caption, caption buttons and the other kinds), their
// timers, and the bookkeeping of moving, sizing, rolling up and fading in.
//
// Sources, by concern: FormSkin_Component.cpp (construction, properties, predicates),
// FormSkin_WndProc*.cpp (the window procedure), FormSkin_Apply.cpp (skin application,
// the object list), FormSkin_Geometry.cpp (frame geometry, window region),
// FormSkin_Show.cpp (showing, fade-in, size tracking, the MDI client hook),
// FormSkin_Hit*.cpp (object hit-testing, mouse routing, timers),
// FormSkin_DefaultFrame.cpp (the frame without skin), FormSkin_SkinFrame.cpp (the skinned
// frame, size limits, roll-up). The skin objects are in FormSkinObjects.h.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "platform/ui/Forms.h"
#include "platform/ui/Graphics.h"
#include "platform/ui/ImgList.h"
#include "platform/ui/Menus.h"
#include "platform/ui/Timers.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/WindowManager.h"
#include "skin/controls/SkinMessages.h"
#include "skin/core/data/SkinData.h"
#include "skin/core/drawing/SPUtils.h"

class TspActiveSkinObject;
class TspSkinMenu;
class TspSkinPopupMenu;
class TspFormLayerBorder;
class TspSkinHint;
class TspSkinMainMenuBar;
class TspSkinMDITabsBar;
class TspTrayIcon;
class TspSkinStatusBar;
class TspQuickButtonItems;
class TspClientInActivePanel;

// The caption buttons a frame may show. Scoped: the class library's TBorderIcon uses
// some of the same names.
enum class TspBorderIcon { biSystemMenu, biMinimize, biMaximize, biRollUp, biMinimizeToTray };
using TspBorderIcons = TSet<TspBorderIcon>;
enum TspPositionInMonitor { sppDefault, sppScreenCenter, sppDesktopCenter };
enum TspClientInActiveEffect { spieSemiTransparent, spieBlur };
enum TSwitchState { swsOn, swsOff };

// Events of the frame and its objects; the objects' events carry the object's IDName
// and no sender.
using TspCaptionPaintEvent = std::function<void(TCanvas* Cnvs, TRect R, Boolean AActive)>;
using TChangeClientRectEvent = std::function<void(TRect NewClientRect)>;
using TMouseEnterEvent = std::function<void(const String& IDName)>;
using TMouseLeaveEvent = std::function<void(const String& IDName)>;
using TMouseDownEvent =
    std::function<void(const String& IDName, Integer X, Integer Y, TRect ObjectRect, TMouseButton Button)>;
using TspMouseUpEvent =
    std::function<void(const String& IDName, Integer X, Integer Y, TRect ObjectRect, TMouseButton Button)>;
// (The class library's TMouseMoveEvent is another shape; this is the objects' one.)
using TspMouseMoveEvent = std::function<void(const String& IDName, Integer X, Integer Y, TRect ObjectRect)>;
using TPaintEvent = std::function<void(const String& IDName, TCanvas* Canvas, TRect ObjectRect)>;
using TSwitchChangeStateEvent = std::function<void(const String& IDName, TSwitchState State)>;
using TTrackBarChangeValueEvent = std::function<void(const String& IDName, Integer Value)>;
using TFrameRegulatorChangeValueEvent = std::function<void(const String& IDName, Integer Value)>;
using TspActivateCustomObjectEvent = std::function<void(const String& IDName, Boolean& ObjectVisible)>;
using TspOnAcceptToMDITabsBar = std::function<void(Boolean& Accept)>;

class TspFormSkin : public TComponent {
  VANTREL_CLASS(TspFormSkin)
  // EInvalidCast "Invalid class typecast" when AOwner is not a form.
  explicit TspFormSkin(TComponent* AOwner);
  ~TspFormSkin() override;
  // Stops the timers and puts the form's window procedures back while the whole object
  // exists.
  void BeforeDestruction() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

  // --- Published properties ---------------------------------------------------------------
  TspSkinData* SkinData() const { return FSD; }
  void SetSkinData(TspSkinData* Value);
  TspSkinData* MenusSkinData() const { return FMenusSkinData; }
  void SetMenusSkinData(TspSkinData* Value);
  Boolean SupportNCArea() const { return FSupportNCArea; }
  void SetSupportNCArea(Boolean Value);
  TspBorderIcons BorderIcons() const { return FBorderIcons; }
  void SetBorderIcons(TspBorderIcons Value);
  Boolean Sizeable() const { return FSizeable; }
  void SetSizeable(Boolean Value) { FSizeable = Value; }
  Boolean DraggAble() const { return FDraggAble; }
  void SetDraggAble(Boolean Value) { FDraggAble = Value; }
  Boolean Magnetic() const { return FMagnetic; }
  void SetMagnetic(Boolean Value) { FMagnetic = Value; }
  Byte MagneticSize() const { return FMagneticSize; }
  void SetMagneticSize(Byte Value) { FMagneticSize = Value; }
  Boolean AlphaBlend() const { return FAlphaBlend; }
  void SetAlphaBlend(Boolean Value);
  Byte AlphaBlendValue() const { return FAlphaBlendValue; }
  void SetAlphaBlendValue(Byte Value);
  Boolean AlphaBlendAnimation() const { return FAlphaBlendAnimation; }
  void SetAlphaBlendAnimation(Boolean Value) { FAlphaBlendAnimation = Value; }
  Boolean MenusAlphaBlend() const { return FMenusAlphaBlend; }
  void SetMenusAlphaBlend(Boolean Value);
  Byte MenusAlphaBlendValue() const { return FMenusAlphaBlendValue; }
  void SetMenusAlphaBlendValue(Byte Value);
  Boolean MenusAlphaBlendAnimation() const { return FMenusAlphaBlendAnimation; }
  void SetMenusAlphaBlendAnimation(Boolean Value);
  TMainMenu* MainMenu() const { return FMainMenu; }
  void SetMainMenu(TMainMenu* Value);
  TspSkinMainMenuBar* MainMenuBar() const { return FMainMenuBar; }
  void SetMainMenuBar(TspSkinMainMenuBar* Value);
  TspSkinMDITabsBar* MDITabsBar() const { return FMDITabsBar; }
  void SetMDITabsBar(TspSkinMDITabsBar* Value);  // FormSkin_TabsBar.cpp
  TPopupMenu* SystemMenu() const { return FSystemMenu; }
  void SetSystemMenu(TPopupMenu* Value);
  Boolean UseDefaultSysMenu() const { return FUseDefaultSysMenu; }
  void SetUseDefaultSysMenu(Boolean Value) { FUseDefaultSysMenu = Value; }
  Boolean DisableSystemMenu() const { return FDisableSystemMenu; }
  void SetDisableSystemMenu(Boolean Value) { FDisableSystemMenu = Value; }
  TspTrayIcon* TrayIcon() const { return FTrayIcon; }
  void SetTrayIcon(TspTrayIcon* Value);  // FormSkin_Tray.cpp
  Boolean AlwaysShowInTray() const { return FAlwaysShowInTray; }
  void SetAlwaysShowInTray(Boolean Value) { FAlwaysShowInTray = Value; }
  Boolean AlwaysMinimizeToTray() const { return FAlwaysMinimizeToTray; }
  void SetAlwaysMinimizeToTray(Boolean Value) { FAlwaysMinimizeToTray = Value; }
  Boolean HideCaptionButtons() const { return FHideCaptionButtons; }
  void SetHideCaptionButtons(Boolean Value) { FHideCaptionButtons = Value; }
  Integer MinWidth() const { return FMinWidth; }
  void SetMinWidth(Integer Value) { FMinWidth = Value; }
  Integer MinHeight() const { return FMinHeight; }
  void SetMinHeight(Integer Value) { FMinHeight = Value; }
  Integer MaxWidth() const { return FMaxWidth; }
  void SetMaxWidth(Integer Value) { FMaxWidth = Value; }
  Integer MaxHeight() const { return FMaxHeight; }
  void SetMaxHeight(Integer Value) { FMaxHeight = Value; }
  Integer ClientWidth() const { return FClientWidth; }
  void SetClientWidth(Integer Value) { FClientWidth = Value; }
  Integer ClientHeight() const { return FClientHeight; }
  void SetClientHeight(Integer Value) { FClientHeight = Value; }
  Boolean MaximizeOnFullScreen() const { return FMaximizeOnFullScreen; }
  void SetMaximizeOnFullScreen(Boolean Value) { FMaximizeOnFullScreen = Value; }
  TspPositionInMonitor PositionInMonitor() const { return FPositionInMonitor; }
  void SetPositionInMonitor(TspPositionInMonitor Value) { FPositionInMonitor = Value; }
  Boolean ShowIcon() const { return FShowIcon; }
  void SetShowIcon(Boolean Value);
  TBitmap* LogoBitMap() const { return FLogoBitMap.get(); }
  void SetLogoBitMap(TBitmap* Value);
  Boolean LogoBitMapTransparent() const { return FLogoBitMapTransparent; }
  void SetLogoBitMapTransparent(Boolean Value) { FLogoBitMapTransparent = Value; }
  TFont* DefCaptionFont() const { return FDefCaptionFont.get(); }
  void SetDefCaptionFont(TFont* Value);
  TFont* DefInActiveCaptionFont() const { return FDefInActiveCaptionFont.get(); }
  void SetDefInActiveCaptionFont(TFont* Value);
  // Written through to the skin menu once it exists; kept here until then.
  Integer DefMenuItemHeight() const { return FDefMenuItemHeight; }
  void SetDefMenuItemHeight(Integer Value);
  TFont* DefMenuItemFont() const { return FDefMenuItemFont.get(); }
  void SetDefMenuItemFont(TFont* Value);
  Boolean UseSkinFontInMenu() const { return FUseSkinFontInMenu; }
  void SetUseSkinFontInMenu(Boolean Value);
  Integer MaxMenuItemsInWindow() const { return FMaxMenuItemsInWindow; }
  void SetMaxMenuItemsInWindow(Integer Value);
  TspSkinHint* SkinHint() const { return FSkinHint; }
  void SetSkinHint(TspSkinHint* Value) { FSkinHint = Value; }
  Boolean ShowObjectHint() const { return FShowObjectHint; }
  void SetShowObjectHint(Boolean Value) { FShowObjectHint = Value; }
  Boolean UseDefaultObjectHint() const { return FUseDefaultObjectHint; }
  void SetUseDefaultObjectHint(Boolean Value) { FUseDefaultObjectHint = Value; }
  Boolean UseSkinCursors() const { return FUseSkinCursors; }
  void SetUseSkinCursors(Boolean Value) { FUseSkinCursors = Value; }
  Boolean UseFormCursorInNCArea() const { return FUseFormCursorInNCArea; }
  void SetUseFormCursorInNCArea(Boolean Value) { FUseFormCursorInNCArea = Value; }
  TspSkinStatusBar* StatusBar() const { return FStatusBar; }
  void SetStatusBar(TspSkinStatusBar* Value) { FStatusBar = Value; }
  Boolean ClientInActiveEffect() const { return FClientInActiveEffect; }
  void SetClientInActiveEffect(Boolean Value) { FClientInActiveEffect = Value; }
  TspClientInActiveEffect ClientInActiveEffectType() const { return FClientInActiveEffectType; }
  void SetClientInActiveEffectType(TspClientInActiveEffect Value) { FClientInActiveEffectType = Value; }
  TspQuickButtonItems* QuickButtons() const { return FQuickButtons.get(); }
  // Copies Value's items into the owned collection.
  void SetQuickButtons(TspQuickButtonItems* Value);
  TCustomImageList* QuickImageList() const { return FQuickImageList; }
  void SetQuickImageList(TCustomImageList* Value) { FQuickImageList = Value; }
  Boolean QuickButtonsShowHint() const { return FQuickButtonsShowHint; }
  void SetQuickButtonsShowHint(Boolean Value) { FQuickButtonsShowHint = Value; }
  Boolean UseRibbon() const { return FUseRibbon; }
  void SetUseRibbon(Boolean Value);

  // --- Published events ---------------------------------------------------------------------
  TspCaptionPaintEvent OnCaptionPaint;
  TChangeClientRectEvent OnChangeClientRect;
  TNotifyEvent OnChangeSkinData;
  TspMouseUpEvent OnMouseUpEvent;
  TMouseDownEvent OnMouseDownEvent;
  TspMouseMoveEvent OnMouseMoveEvent;
  TMouseEnterEvent OnMouseEnterEvent;
  TMouseLeaveEvent OnMouseLeaveEvent;
  TPaintEvent OnPaintEvent;
  TNotifyEvent OnActivate;
  TNotifyEvent OnDeActivate;
  TNotifyEvent OnMinimize;
  TNotifyEvent OnRestore;
  TNotifyEvent OnMaximize;
  TSwitchChangeStateEvent OnSwitchChangeStateEvent;
  TTrackBarChangeValueEvent OnTrackBarChangeValueEvent;
  TFrameRegulatorChangeValueEvent OnFrameRegulatorChangeValueEvent;
  TNotifyEvent OnSkinMenuOpen;
  TNotifyEvent OnSkinMenuClose;
  TNotifyEvent OnMainMenuEnter;
  TNotifyEvent OnMainMenuExit;
  TShortCutEvent OnShortCut;
  TNotifyEvent OnChangeRollUpState;
  TNotifyEvent OnMinimizeToTray;
  TNotifyEvent OnRestoreFromTray;
  TspActivateCustomObjectEvent OnActivateCustomObject;
  TspOnAcceptToMDITabsBar OnAcceptToMDITabsBar;

  // --- Public properties ----------------------------------------------------------------------
  Boolean RollUpState() const { return FRollUpState; }
  void SetRollUpState(Boolean Value);  // FormSkin_SkinFrame.cpp
  TWindowState WindowState() const { return FWindowState; }
  void SetWindowState(TWindowState Value);
  Integer RealHeight() const { return GetRealHeight(); }
  void SetRealHeight(Integer Value) { OldHeight = Value; }
  Integer GetRealHeight() const;  // FormSkin_SkinFrame.cpp
  Boolean MinimizeDefault() const { return FMinimizeDefault; }
  void SetMinimizeDefault(Boolean Value) { FMinimizeDefault = Value; }
  Boolean SkinnableForm() const { return FSkinnableForm; }

  // --- Component (FormSkin_Component.cpp) ---------------------------------------------------
  Boolean IsSizeAble();
  void SetSkinnableForm(Boolean Value);
  Boolean GetSkinnableForm() const { return FSkinnableForm; }
  String GetProductVersion() const;
  void ApplyPositionInMonitor();
  TPoint GetPositionInMonitor(Integer AX, Integer AY, Integer AW, Integer AH);
  void SetFormBorderStyle(TFormBorderStyle BS);
  void SetFormStyle(TFormStyle FS);
  Boolean IsSkinNCArea() const;
  Boolean IsSkinResizable() const;
  Boolean UseLayeredBorder() const;
  // The layered border applies and its frame data draw the whole frame, caption included.
  Boolean UseFullLayeredBorder() const;
  // A full layered border is in use and shown around the form.
  Boolean FullLayeredBorderShown() const;
  // A full layered border shows the form at its rolled-up height.
  Boolean IsLayerFrameRolledUp() const;
  void WMSkinLayeredBordersChanged();
  TspFormLayerBorder* BorderLayer() const { return FBorderLayer; }
  Boolean UseLayeredShow() const;
  Boolean GetAutoRenderingInActiveImage() const;
  HWND FindStayOnTopForm() const;
  Boolean GetDragFullWindows() const;
  Boolean GetFormActive();
  // The form is an MDI child / an MDI main form / an MDI child maximized by the frame.
  Boolean IsMDIChildForm() const;
  Boolean IsMDIMainForm() const;
  Boolean IsMaximizedMDIChild() const;
  // A loaded, non-empty skin is assigned.
  Boolean HasSkin() const;
  void EnableShadow(Boolean AShowShadow, Boolean AHideFormBefore);

  // --- Window procedure (FormSkin_WndProc*.cpp) -----------------------------------------------
  void FormWindowProc(TMessage& Message);
  void CloseMenusOnMessage(TMessage& Message);
  void UpdateActiveState(Boolean ARedraw);

  // --- Skin application and objects (FormSkin_Apply.cpp) --------------------------------------
  void ApplySkinData();
  void CreateSkinObjects();
  void CreateMenuItemObjects();
  void CreateDefaultCaptionButtons();
  void ClearObjects();
  void UpdateMainMenu(Boolean ARedraw);
  void ApplySkinClientSize();
  void ForceNCCalcSize();
  void LinkSkinControlsToAreas();
  // The object at Index, nil for -1 or an index past the end of the list.
  TspActiveSkinObject* ObjectAt(Integer Index) const;
  Integer ObjectCount() const { return static_cast<Integer>(ObjectList.size()); }

  // --- Geometry and region (FormSkin_Geometry.cpp) --------------------------------------------
  void UpdateFrameGeometry(Boolean AUpdateObjects);
  void CalcSkinFrameRects();
  void CalcNewRect(const TRect& R, TRect& NewR) const;
  void CalcObjectRects();
  void UpdateFormRegion(Boolean AUpdate);

  // --- Showing, fade-in, size tracking, MDI client (FormSkin_Show.cpp) ------------------------
  void MDIClientWindowProc(TMessage& Message);

  // --- Hit-testing and mouse routing (FormSkin_Hit*.cpp) --------------------------------------
  void TestActiveObject(Integer X, Integer Y, Boolean ACanActivate);
  void ObjectsMouseMove(Integer X, Integer Y);
  void ObjectsMouseDown(TMouseButton Button, Integer X, Integer Y);
  void ObjectsMouseUp(TMouseButton Button, Integer X, Integer Y);
  void ObjectsDblClick();
  void StartDragging(Integer X, Integer Y);
  void StopDragging();
  LRESULT SkinNCHitTest(TPoint P);
  LRESULT DefaultNCHitTest(TPoint P);
  LRESULT ClientModeHitTest(TPoint P);
  Boolean NearSizingEdge(TPoint P);
  Boolean PointInFrameMask(TPoint P);
  Boolean PointOnCaption(TPoint P);
  Boolean IsFormWindowAt(TPoint P);
  void MouseTimerTick(TObject* Sender);
  void AnimateTimerTick(TObject* Sender);
  void MorphTimerTick(TObject* Sender);
  void UpdateSkinCursor();
  void DoMouseDownEvent(const String& IDName, Integer X, Integer Y, TRect ObjectRect, TMouseButton Button) {
    if (OnMouseDownEvent) OnMouseDownEvent(IDName, X, Y, ObjectRect, Button);
  }
  void DoMouseUpEvent(const String& IDName, Integer X, Integer Y, TRect ObjectRect, TMouseButton Button) {
    if (OnMouseUpEvent) OnMouseUpEvent(IDName, X, Y, ObjectRect, Button);
  }
  void DoMouseMoveEvent(const String& IDName, Integer X, Integer Y, TRect ObjectRect) {
    if (OnMouseMoveEvent) OnMouseMoveEvent(IDName, X, Y, ObjectRect);
  }
  void DoMouseEnterEvent(const String& IDName) {
    if (OnMouseEnterEvent) OnMouseEnterEvent(IDName);
  }
  void DoMouseLeaveEvent(const String& IDName) {
    if (OnMouseLeaveEvent) OnMouseLeaveEvent(IDName);
  }
  void DoPaintEvent(const String& IDName, TCanvas* Canvas, TRect ObjectRect) {
    if (OnPaintEvent) OnPaintEvent(IDName, Canvas, ObjectRect);
  }

  // --- Default frame (FormSkin_DefaultFrame.cpp) ----------------------------------------------
  Integer GetDefCaptionHeight() const;
  Integer GetDefButtonSize() const;
  void CalcDefRects();
  void GetDefCaptionRect(TRect& R);
  void PaintNCDefault(HDC DC, Boolean AUseExternalDC);
  void PaintBGDefault(HDC DC);
  void PaintMDIBGDefault(HDC DC);
  void DrawLogoBitMap(TCanvas* Canvas);
  void GetIconSize(Integer& W, Integer& H) const;
  void MakeFormIcon();
  void DrawFormIcon(TCanvas* Canvas, Integer X, Integer Y);
  Boolean FormIconHasAlpha();

  // --- Skinned frame, size limits, roll-up (FormSkin_SkinFrame.cpp) ---------------------------
  void PaintNCSkin(HDC DC, Boolean AUseExternalDC);
  void DrawSkinObject(TspActiveSkinObject* AObject);
  void UpDateFormNC();
  Boolean RollUpObjectVisible(Boolean ARollUp) const;
  void PointToFrame(TPoint& P);
  void ResetObjectStates();
  void UpdateCaptionObjectsText();
  void CaptionDblClick();
  Integer GetMinWidth();
  Integer GetMinHeight();
  Integer GetMaxWidth();
  Integer GetMaxHeight();
  void SkinRollUp();
  void SkinRollDown();
  void ApplyRollUpRegion();

  // --- Window states, snapping, the MDI window menu and tabs, the inactive panel -------------
  void MagneticMove(Integer& ALeft, Integer& ATop, Integer AWidth, Integer AHeight);
  void KeepBoundsOnBorderChange();
  void FindMinimizedPos(TPoint& P);
  void RefitMDIChildren();
  void GetMDIWorkArea(TRect& R);
  TCustomForm* GetMaximizedMDIChild();
  void UpdateMDIMainMenuBar();
  void UpdateActiveMDIBarTab();
  void UpDateChildCaptionInMenu(TCustomForm* Child);
  void UpDateChildActiveInMenu();
  void AddChildToMenu(TCustomForm* Child);
  void DeleteChildFromMenu(TCustomForm* Child);
  void AddChildToBar(TCustomForm* Child);
  void DeleteChildFromBar(TCustomForm* Child);
  void RefreshMDIBarTab(TCustomForm* Child);
  void ShowClientInActiveEffect();
  void HideClientInActiveEffect();
  // Skin-change walks, linked controls, backgrounds, client painters, quick buttons.
  void SendBeforeChangeToControls(TspSkinData* ASkinData, TWinControl* Control);
  void SendChangeToControls(TspSkinData* ASkinData, TWinControl* Control);
  void SendBeforeChangeToComponents(TspSkinData* ASkinData);
  void SendChangeToComponents(TspSkinData* ASkinData);
  // Client mode: Control keeps the bounds of the skin area named AreaName (mapped to the
  // frame's size when the frame stretches); nothing when the skin has no such area.
  void UpdateLinkedControls();
  void LinkControlToArea(const String& AreaName, TControl* Control);
  void UnLinkControlFromArea(TControl* Control);
  // The rectangle of the first area of that name; the null rectangle without a skin.
  TRect GetAreaRect(const String& AIDName) const;
  void CheckControlsBackground();
  // The client-area painters: the background from the frame picture's client part, from
  // the skin's background picture, from its MDI background picture; and in client mode
  // the whole window.
  void PaintBG(HDC DC);
  void PaintBG2(HDC DC);
  void PaintBG3(HDC DC);
  void Paint(HDC DC);
  // Source composed in nine parts at the frame's current size into Dest.
  void BuildFrameImage(TBitmap* Dest, TBitmap* Source);
  // The client-mode window's size grip, from the skin's status-bar descriptor.
  void DrawSizeGrip(TCanvas* C);
  // Picture P laid over the client area as the skin asks, then the logo.
  void LayBackground(TCanvas* C, TBitmap* P, Boolean Stretch, TspStretchType Kind);
  void LayPicture(TCanvas* C, TBitmap* P, Boolean Stretch, TspStretchType Kind);
  void UpdateCaptionButtonStates();
  void UpdateFormBorderIcons();
  void UpdateObjectHints();
  void CancelControlsDropDown();

  // --- Skin menus and menu mode (FormSkin_Menus.cpp) ------------------------------------------
  // Everyone about to show a skin menu of this form calls SkinMenuOpen; the form's
  // WM_SKINMENU_CLOSED (or a popup menu) calls SkinMenuClose, which releases the object
  // that opened the menu.
  void SkinMenuOpen();
  void SkinMenuClose();
  void ExitMainMenuMode();
  void ReleaseMainMenuItem();
  // While hooked, Application->OnMessage is MenuAppMessageHook (the earlier handler is kept
  // and put back).
  void HookAppMessages();
  void UnHookAppMessages();
  void PopupSkinMenu(TMenu* Menu, TPoint P);
  void PopupSkinMenu1(TMenu* Menu, const TRect& R, Boolean PopupUp);
  void DoPopupMenu(TPopupMenu* Menu, Integer X, Integer Y);
  // The form's OnShortCut while the component exists.
  void FormShortCut(TWMKey& Msg, Boolean& Handled);
  void HideSkinMenu();
  Boolean SkinMenuVisible() const;
  // The menus skin when set, else the frame's skin.
  TspSkinData* MenuSkin() const { return FMenusSkinData ? FMenusSkinData : FSD; }
  // Screen position of the frame's (0, 0), where ObjectRect is measured from.
  TPoint FrameScreenOrigin() const;
  // Screen position the frame's objects (their glow, their menus) are placed from: the top
  // window of a shown full layered border, which draws them, else the frame's origin.
  TPoint ObjectScreenOrigin() const;
  // Drops Item's sub-items down from a frame object's rectangle: through the skinned popup
  // menu Item belongs to, else through the skin menu (with the skin of a skinned main menu
  // Item belongs to when AMainMenuSkin).
  void TrackObjectMenu(TMenuItem* Item, const TRect& AObjectRect, Boolean PopupUp, Boolean AMainMenuSkin);

  // --- Menu keys (FormSkin_MenuKeys.cpp) ------------------------------------------------------
  void MenuAppMessageHook(MSG& Msg, Boolean& Handled);
  void MenuKeyDown(WPARAM WParam, LPARAM LParam);
  Boolean CheckMainMenuHotKey(Word Key);
  void EnterFrameMainMenu();
  void NextFrameMainMenuItem();
  void PriorFrameMainMenuItem();
  Boolean PressFrameMainMenuItem();
  Boolean CanNextFrameMainMenuItem() const;
  Boolean CanPriorFrameMainMenuItem() const;

  // --- System menu, caption-button states, hints (FormSkin_SystemMenu.cpp) --------------------
  TMenuItem* GetSystemMenuItems();
  void PopupSystemMenu(Integer X, Integer Y);
  void PopupSystemMenuAt(const TRect& R);
  void PopupSysMenuFromButton();
  // The text of a skin string: the skin's strings when it has them, else Text.
  String SkinString(const String& Key, const String& Text) const;
  // Sending the program to the tray icon and back (FormSkin_Tray.cpp); without a tray
  // icon both do nothing.
  void MinimizeToTray();
  void RestoreFromTray();
  // Object hints.
  void HideObjectHint();
  void ActivateObjectHint(const String& AHint);

  // --- State (public, as the other frame parts read and write it) ----------------------------
  TCustomForm* FForm = nullptr;
  TWndMethod OldWindowProc;
  WNDPROC FClientInstance = nullptr;
  WNDPROC FPrevClientProc = nullptr;

  Boolean DisableDWMAnimation = false;
  Integer FOldFullBorder = -1;
  TRect FOldFormBounds{};
  Boolean FUseRibbon = false;
  TspLayerManager* FLayerManager = nullptr;      // owned
  TspLayerManager* FMenuLayerManager = nullptr;  // owned
  TspFormLayerBorder* FBorderLayer = nullptr;    // owned
  TOwned<TspQuickButtonItems> FQuickButtons;
  TCustomImageList* FQuickImageList = nullptr;
  Boolean FClientInActiveDraw = false;
  Boolean FClientInActiveEffect = false;
  TspClientInActiveEffect FClientInActiveEffectType = spieSemiTransparent;
  Boolean FSmartEffectsShow = false;
  Boolean FDisableSystemMenu = false;
  Boolean FSkinnableForm = true;
  Boolean FIsW7 = false;
  Boolean FIsVistaOS = false;
  Boolean FIsLayerEnabled = false;
  Boolean FHaveShadow = false;
  Boolean FRollUpBeforeMaximize = false;
  Boolean FStopPainting = false;
  Boolean FStartShow = true;
  TspPositionInMonitor FPositionInMonitor = sppDefault;
  Boolean HMagnetized = false;
  Boolean VMagnetized = false;
  Boolean HMagnetized2 = false;
  Boolean VMagnetized2 = false;
  TPoint FOnMouseDownCoord{-1, -1};
  Boolean FMinimizeDefault = false;
  TspSkinStatusBar* FStatusBar = nullptr;
  Boolean FUseFormCursorInNCArea = false;
  Integer FClientWidth = 0;
  Integer FClientHeight = 0;
  TOwned<TBitmap> FLogoBitMap;
  Boolean FLogoBitMapTransparent = false;
  Boolean FMaximizeOnFullScreen = false;
  TspSkinHint* FSkinHint = nullptr;
  Boolean FShowObjectHint = false;
  Boolean FUseDefaultObjectHint = true;
  Boolean FUseSkinCursors = false;
  Boolean FSkinSupport = false;
  Boolean FMDIChildMaximized = false;
  Boolean FFormActive = false;
  TspSkinPopupMenu* FSysTrayMenu = nullptr;  // owned
  TPopupMenu* FSysMenu = nullptr;            // owned
  TPopupMenu* FSystemMenu = nullptr;
  Boolean FUseDefaultSysMenu = true;
  TspSkinMainMenuBar* FMainMenuBar = nullptr;
  TspSkinMDITabsBar* FMDITabsBar = nullptr;
  TspTrayIcon* FTrayIcon = nullptr;
  Boolean FAlwaysShowInTray = false;
  Boolean FAlwaysMinimizeToTray = false;
  Boolean FHideCaptionButtons = false;
  Boolean FFullDrag = false;
  Integer FFormWidth = 0;
  Integer FFormHeight = 0;
  Integer FFormLeft = 0;
  Integer FFormTop = 0;
  Integer FOldFormLeft = 0;
  Integer FOldFormTop = 0;
  Boolean FSizeMove = false;
  Boolean FSizing = false;
  Boolean FSupportNCArea = true;
  Boolean FRollUpState = false;
  Boolean MaxRollUpState = false;
  Integer OldHeight = 0;
  TspBorderIcons FBorderIcons{TspBorderIcon::biSystemMenu, TspBorderIcon::biMinimize, TspBorderIcon::biMaximize,
                              TspBorderIcon::biRollUp};
  // The skin mask cut into four strips at the current size, and the colour of their
  // solid pixels.
  TOwned<TBitmap> RMTop, RMBottom, RMLeft, RMRight;
  TColor BlackColor = 0;
  Boolean MouseIn = false;
  TRect OldBoundsRect{};
  // The skin's geometry mapped to the current frame size (frame coordinates).
  TPoint NewLTPoint{}, NewRTPoint{}, NewLBPoint{}, NewRBPoint{};
  TRect NewClRect{};
  TRect NewCaptionRect{};
  TRect NewButtonsRect{};
  Integer NewButtonsOffset = 0;
  Boolean NewButtonsInLeft = false;
  Boolean ButtonsInLeft = false;
  TRect NewMaskRectArea{};
  TPoint NewHitTestLTPoint{}, NewHitTestRTPoint{}, NewHitTestLBPoint{}, NewHitTestRBPoint{};
  TRect NewDefCaptionRect{};
  Boolean FSizeable = true;
  Integer FMinHeight = 0;
  Integer FMinWidth = 0;
  Integer FMaxHeight = 0;
  Integer FMaxWidth = 0;
  TspSkinData* FSD = nullptr;
  TspSkinData* FMenusSkinData = nullptr;
  TMainMenu* FMainMenu = nullptr;
  Boolean FDraggAble = false;
  Boolean FIsDragging = false;
  Integer FOldX = 0;
  Integer FOldY = 0;
  Boolean FInChangeSkinData = false;
  TWindowState FWindowState = wsNormal;
  TWindowState OldWindowState = wsNormal;
  Byte FMagneticSize = 10;
  Boolean FAlphaBlend = false;
  Boolean FAlphaBlendAnimation = false;
  Byte FAlphaBlendValue = 200;
  Boolean FMenusAlphaBlend = false;
  Byte FMenusAlphaBlendValue = 200;
  Boolean FMenusAlphaBlendAnimation = false;
  Integer FDefMenuItemHeight = 20;
  TOwned<TFont> FDefMenuItemFont;
  Boolean FUseSkinFontInMenu = true;
  Integer FMaxMenuItemsInWindow = 0;
  Boolean InMenu = false;
  Boolean InMainMenu = false;
  Boolean FInAppHook = false;
  TMessageEvent OldAppMessage;
  Boolean FInShortCut = false;
  Boolean FQuickButtonsShowHint = false;
  // The window region given to the form. The window owns a region once it has it (and
  // frees the one it replaces): this is only a record of which one it is.
  HRGN FRgn = nullptr;
  TRect NewMainMenuRect{};
  TRect NewIconRect{};
  TTimer* MorphTimer = nullptr;    // owned
  TTimer* AnimateTimer = nullptr;  // owned
  TTimer* MouseTimer = nullptr;    // owned
  Boolean FMagnetic = false;
  TRect FSizeGripArea{};
  Integer ActiveObject = -1;
  Integer OldActiveObject = -1;
  Integer MouseCaptureObject = -1;
  TspSkinMenu* SkinMenu = nullptr;  // owned
  // The frame's skin objects, owned, in creation order; the indexes above point here.
  std::vector<TspActiveSkinObject*> ObjectList;
  // The controls kept on skin areas, with the area's rectangle in the unstretched frame.
  struct TspLinkedArea {
    TControl* Control;
    TRect Area;
  };
  std::vector<TspLinkedArea> AreaList;
  std::vector<TControl*> VisibleControls;
  Boolean PreviewMode = false;
  Boolean FBorderLayerChangeSize = false;
  Boolean AlwaysDisableLayeredFrames = false;
  Boolean FShowIcon = false;
  Boolean IsAlphaIcon = false;
  TOwned<TFont> FDefCaptionFont;
  TOwned<TFont> FDefInActiveCaptionFont;
  TOwned<TIcon> FIcon;  // made on first use
  TspClientInActivePanel* FInActivePanel = nullptr;

 private:
  // Liveness of the component for the loops that handle messages while they run (the
  // fade-in): they hold a copy and stop when it reads false.
  std::shared_ptr<bool> FAlive = std::make_shared<bool>(true);
  friend struct TspFormSkinFade;

  // System and tray menu items (FormSkin_SystemMenu.cpp), owned by the component.
  TMenuItem* MakeSysItem(const char* Name, const char* Key, const char* Text, TNotifyEvent Click);
  std::vector<TMenuItem*> MakeSysItems();
  void FillTrayMenu();

  void InstallHook();
  void RemoveHooks();
  void RemoveClientHook();
  Boolean FHookInstalled = false;

  // Window-procedure handlers (FormSkin_WndProc*.cpp); each returns whether the message
  // is still to be passed on.
  Boolean HandleFirstPhase(TMessage& Message);
  void HandleSecondPhase(TMessage& Message);
  Boolean WMNCCalcSize(TMessage& Message);
  Boolean WMNCHitTest(TMessage& Message);
  Boolean WMNCPaint(TMessage& Message);
  Boolean WMNCActivate(TMessage& Message);
  Boolean WMActivate(TMessage& Message);
  Boolean WMSetText(TMessage& Message);
  Boolean WMEraseBkgnd(TMessage& Message);
  Boolean WMSysCommand(TMessage& Message);
  Boolean WMSkinMessage(TMessage& Message);
  Boolean WMPaintFrameRequest(TMessage& Message);
  void NCMouseSecondPhase(TMessage& Message);
  void ClientMouseSecondPhase(TMessage& Message);
  void KeepBoundsForChange();
  // Showing and size tracking (FormSkin_Show.cpp).
  Boolean WMShowWindow(TMessage& Message);
  void WMShowWindowAfter(TMessage& Message);
  Boolean WMFadeTimer(TMessage& Message);
  Boolean WMSizing(TMessage& Message);
  Boolean WMSize(TMessage& Message);
  void LayerWhileHiding();
  void WMWindowPosChanged(TMessage& Message);
  void WMExitSizeMove(TMessage& Message);
  void HookMDIClient(Boolean AReplace);
  Boolean FadeWanted() const;

 public:
  // Frame objects by name ------------------------------------------------------------------
  // (FormSkin_ObjectAccess.cpp) Every lookup takes the first object of exactly that name;
  // an unknown name or an object of another kind does nothing (getters give 0 / swsOff).
  // While a skin is applied values are stored without drawing.
  Integer GetIndex(const String& AIDName) const;
  void UserObjectDraw(const String& AIDName);
  void AnimateStart(const String& AIDName);
  void AnimateStop(const String& AIDName);
  Integer TrackBarGetValue(const String& AIDName) const;
  void TrackBarSetValue(const String& AIDName, Integer AValue);
  Integer FrameRegulatorGetValue(const String& AIDName) const;
  void FrameRegulatorSetValue(const String& AIDName, Integer AValue);
  void GaugeSetValue(const String& AIDName, Integer AValue);
  void FrameGaugeSetValue(const String& AIDName, Integer AValue);
  void BitLabelSetText(const String& AIDName, const String& AValue);
  void LabelSetText(const String& AIDName, const String& ATextValue);
  void SwitchSetState(const String& AIDName, TSwitchState Value);
  // Enables or disables the object of that name (no redraw).
  void SetEnabled(const String& AIDName, Boolean Value);
  // The caption's text; quietly while a skin is applied.
  void CaptionSetText(const String& AIDName, const String& AText);
  Boolean ButtonGetDown(const String& AIDName) const;
  void ButtonSetDown(const String& AIDName, Boolean ADown);
  TSwitchState SwitchGetState(const String& AIDName) const;
  // From then on pressing the button or animated button opens AMenu's items.
  void LinkMenu(const String& AIDName, TMenu* AMenu, Boolean APopupUp);
  void DoSwitchChangeStateEvent(const String& IDName, TSwitchState State) {
    if (OnSwitchChangeStateEvent) OnSwitchChangeStateEvent(IDName, State);
  }
  void DoTrackBarChangeValueEvent(const String& IDName, Integer Value) {
    if (OnTrackBarChangeValueEvent) OnTrackBarChangeValueEvent(IDName, Value);
  }
  void DoFrameRegulatorChangeValueEvent(const String& IDName, Integer Value) {
    if (OnFrameRegulatorChangeValueEvent) OnFrameRegulatorChangeValueEvent(IDName, Value);
  }

  // Window states, snapping, MDI ---------------------------------------------------------------
  // The three state changes of the WindowState setter (FormSkin_States.cpp).
  void MinimizeFrame();
  void MaximizeFrame();
  void RestoreFrame();
  // The main form's Window menu and the arrangements of the MDI children
  // (FormSkin_MDI.cpp).
  void MDIItemClick(TObject* Sender);
  void Tile();
  void Cascade();
  void MinimizeAll();
  void MaximizeAll();
  void RestoreAll();
  void CloseAll();
  void ArrangeMinimizedChildren();
  Boolean GetMDIChildMaximized() const { return FMDIChildMaximized; }
};

// The frame component of a form: the first TspFormSkin among its components; nil when
// there is none.
TspFormSkin* FindSkinFormComponent(TCustomForm* Form);
// The frame component of the first MDI child of the main form (in MDIChildren order)
// whose frame is maximized; nil when there is none.
TspFormSkin* FindMaximizedChildSkinForm();
// The frame component of the main form's active MDI child; nil when there is none.
TspFormSkin* FindActiveChildSkinForm();
