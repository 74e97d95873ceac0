// The tray icon: an icon in the desktop's notification area standing in for the
// program. It turns the tray's mouse notifications into events (click one double-click
// time after the press, double click, mouse down/up/move, balloon click), pops a skinned
// menu at the cursor, cycles its icon through an image list, shows balloon hints, and
// hides or brings back the main form (minimize to tray). It watches the application
// window (a minimize while MinimizeToTray is set sends the program to the tray; a new
// tray gets the icon again) and its owner's window.
//
// Sources: TrayIcon.cpp (creation, properties, the tray calls), TrayIcon_Messages.cpp
// (the hidden window, the two watched windows, the timers, the menu).
#pragma once

#include <functional>
#include <memory>

#include "platform/ui/Controls.h"
#include "platform/ui/Graphics.h"
#include "platform/ui/ImgList.h"
#include "platform/ui/Timers.h"
#include "platform/win/TrayArea.h"
#include "platform/win/WndProc.h"

class TspSkinPopupMenu;

enum TspBalloonHintIcon { spbitNone, spbitInfo, spbitWarning, spbitError };
using TCycleEvent = std::function<void(TObject* Sender, Integer NextIndex)>;

// The message the tray sends the hidden window; LParam holds the mouse message.
constexpr UINT WM_SPTRAYICON = 2048;

class TspTrayIcon : public TComponent {
  VANTREL_CLASS(TspTrayIcon)
  explicit TspTrayIcon(TComponent* AOwner);
  ~TspTrayIcon() override;
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

  // --- Published properties ---------------------------------------------------------------
  Boolean Enabled() const { return FEnabled; }
  void SetEnabled(Boolean Value) { FEnabled = Value; }
  TIcon* Icon() const { return FIcon.get(); }
  void SetIcon(TIcon* Value);
  Boolean IconVisible() const { return FIconVisible; }
  void SetIconVisible(Boolean Value);
  TCustomImageList* IconList() const { return FIconList; }
  void SetIconList(TCustomImageList* Value);
  Integer IconIndex() const { return FIconIndex; }
  void SetIconIndex(Integer Value);
  Boolean CycleIcons() const { return FCycleIcons; }
  void SetCycleIcons(Boolean Value);
  Cardinal AnimateTimerInterval() const { return FAnimateTimerInterval; }
  void SetAnimateTimerInterval(Cardinal Value);
  const String& Hint() const { return FHint; }
  void SetHint(const String& Value);
  Boolean ShowHint() const { return FShowHint; }
  void SetShowHint(Boolean Value);
  TspSkinPopupMenu* PopupMenu() const { return FPopupMenu; }
  void SetPopupMenu(TspSkinPopupMenu* Value);
  Boolean PopupByLeftButton() const { return FPopupByLeftButton; }
  void SetPopupByLeftButton(Boolean Value) { FPopupByLeftButton = Value; }
  Boolean MinimizedOnStart() const { return FMinimizedOnStart; }
  void SetMinimizedOnStart(Boolean Value) { FMinimizedOnStart = Value; }
  Boolean MinimizeToTray() const { return FMinimizeToTray; }
  void SetMinimizeToTray(Boolean Value) { FMinimizeToTray = Value; }
  Boolean DesignPreview() const { return FDesignPreview; }
  void SetDesignPreview(Boolean Value);

  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TMouseEvent OnMouseDown;
  TMouseEvent OnMouseUp;
  TMouseMoveEvent OnMouseMove;
  TCycleEvent OnCycle;
  TNotifyEvent OnBalloonHintClick;

  // --- Public -------------------------------------------------------------------------------
  // The hidden window the tray talks to.
  HWND Handle() const { return IconData.Wnd; }
  void ShowMainForm();
  void HideMainForm();
  void ShowBalloonHint(const String& Title, const String& Text, TspBalloonHintIcon IconType);
  void HideBalloonHint();
  // Icon gets Bitmap as a 16 x 16 icon whose MaskColor pixels are transparent.
  Boolean BitmapToIcon(TBitmap* Bitmap, TIcon* Icon, TColor MaskColor);
  void Refresh() { ModifyIcon(); }

 protected:
  virtual Boolean LoadDefaultIcon() { return true; }
  virtual void ShowIcon();
  virtual void HideIcon();
  virtual void ModifyIcon();
  virtual void Click();
  virtual void DblClick();
  virtual void CycleIcon();
  virtual void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y);
  virtual void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y);
  virtual void MouseMove(TShiftState Shift, Integer X, Integer Y);
  virtual void DoMinimizeToTray();

  NOTIFYICONDATAW IconData{};

 private:
  Boolean PrepareIconData();
  Boolean Designing() const { return ComponentState().Contains(csDesigning); }
  TWinControl* OwnerControl() const;
  void Notify(DWORD Message);
  void PopupAtCursor();
  void ClickDefaultItem();
  void TimerClick(TObject* Sender);
  void TimerCycle(TObject* Sender);
  void WndProc(TMessage& Message);
  void HandleTrayMessage(LPARAM MouseMessage);
  void AppWndProc(TMessage& Message);
  void ParentWndProc(TMessage& Message);
  void CreateHiddenWindow();
  void Subclass();
  void RemoveSubclass();

  Boolean FEnabled = true;
  TOwned<TIcon> FIcon;
  Boolean FIconVisible = true;
  String FHint;
  Boolean FShowHint = true;
  TspSkinPopupMenu* FPopupMenu = nullptr;
  Boolean FPopupByLeftButton = false;
  Boolean FMinimizedOnStart = false;
  Boolean FMinimizeToTray = false;
  Boolean FClickStart = false;
  Boolean FClickReady = false;
  TOwned<TTimer> FAnimateTimer;
  TOwned<TTimer> FClickTimer;
  Boolean IsDblClick = false;
  Integer FIconIndex = 0;
  Boolean FDesignPreview = false;
  Boolean SettingPreview = false;
  Boolean SettingMDIForm = true;
  TCustomImageList* FIconList = nullptr;
  Boolean FCycleIcons = false;
  Cardinal FAnimateTimerInterval = 0;
  WNDPROC OldAppProc = nullptr;
  WNDPROC NewAppProc = nullptr;
  WNDPROC OldWndProc = nullptr;
  WNDPROC NewWndProc = nullptr;
  HWND FAppWindow = nullptr;     // the application window, while subclassed
  HWND FWindowHandle = nullptr;  // the owner's window, while subclassed
  WNDPROC FHiddenProc = nullptr;
  // Liveness for the loops that handle messages while they run (the menu's pop-up).
  std::shared_ptr<bool> FAlive = std::make_shared<bool>(true);
};
