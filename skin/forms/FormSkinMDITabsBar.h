// The MDI tabs bar: one tab per MDI child of the main form, in a tab or a button look.
// A click shows the tab's child, tabs are dragged into a new order, a tab may carry a
// close button, a right click opens the child's system menu; when the tabs do not fit,
// list buttons open menus of all children and of the hidden ones. The main form's frame
// component adds and removes the tabs as children come and go.
//
// Sources: FormSkinMDITabsBar.cpp (tabs, layout, mouse, list menus),
// FormSkinMDITabsBar_Paint.cpp (the bar's and the tabs' drawing).
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "platform/ui/Forms.h"
#include "skin/controls/SkinCtrls.h"

class TspFormSkin;
class TspSkinMDITabsBar;
class TspSkinPopupMenu;

enum TspSkinMDITabKind { sptkTab, sptkButton };

class TspMDITab {
 public:
  TspMDITab(TspSkinMDITabsBar* AParentBar, TCustomForm* AChild) : TabsBar(AParentBar), Child(AChild) {}

  TspSkinMDITabsBar* TabsBar;
  Boolean Active = false;
  Boolean MouseIn = false;
  TRect ObjectRect{};  // in bar coordinates; empty while hidden
  TCustomForm* Child;
  Boolean Visible = false;
  TRect ButtonRect{};  // the close button, relative to ObjectRect
  Boolean ButtonMouseIn = false;
  Boolean ButtonMouseDown = false;

  // Draw the tab at its ObjectRect into Cnvs.
  void Draw(TCanvas* Cnvs);
  void ButtonDraw(TCanvas* Cnvs);
  void ResizeDraw(TCanvas* Cnvs);
  void DrawCloseButton(TCanvas* Cnvs, TRect R);

 private:
  void DrawText(TCanvas* Cnvs, TRect R);
};

using TspTabMouseEvent = std::function<void(TspMDITab* MDITab)>;
using TspTabMouseButtonEvent = std::function<void(TMouseButton Button, TShiftState Shift, TspMDITab* MDITab)>;
using TspTabGetDrawParamsEvent = std::function<void(TspMDITab* MDITab, TCanvas* Cnvs)>;

class TspSkinMDITabsBar : public TspSkinControl {
  VANTREL_CLASS(TspSkinMDITabsBar)
  explicit TspSkinMDITabsBar(TComponent* AOwner);
  ~TspSkinMDITabsBar() override;

  // --- Published properties ---------------------------------------------------------------
  Boolean ShowCloseButtons() const { return FShowCloseButtons; }
  void SetShowCloseButtons(Boolean Value);
  TspSkinMDITabKind TabKind() const { return FTabKind; }
  void SetTabKind(TspSkinMDITabKind Value);
  TspFormSkin* FormSkin() const { return FFormSkin; }
  void SetFormSkin(TspFormSkin* Value);
  Boolean SupportChildMenus() const { return FSupportChildMenus; }
  void SetSupportChildMenus(Boolean Value) { FSupportChildMenus = Value; }
  Boolean UseSkinSize() const { return FUseSkinSize; }
  void SetUseSkinSize(Boolean Value) { FUseSkinSize = Value; }
  Boolean UseSkinFont() const { return FUseSkinFont; }
  void SetUseSkinFont(Boolean Value) { FUseSkinFont = Value; }
  Boolean MoveTabs() const { return FMoveTabs; }
  void SetMoveTabs(Boolean Value) { FMoveTabs = Value; }
  Integer DefaultHeight() const { return FDefaultHeight; }
  void SetDefaultHeight(Integer Value);
  TFont* DefaultFont() const { return FDefaultFont.get(); }
  void SetDefaultFont(TFont* Value) { FDefaultFont->Assign(Value); }
  Integer DefaultTabWidth() const { return FDefaultTabWidth; }
  void SetDefaultTabWidth(Integer Value) { FDefaultTabWidth = Value; }
  Integer MinTabWidth() const { return FMinTabWidth; }
  void SetMinTabWidth(Integer Value) { FMinTabWidth = Value; }

  TspTabMouseEvent OnTabMouseEnter;
  TspTabMouseEvent OnTabMouseLeave;
  TspTabMouseButtonEvent OnTabMouseUp;
  TspTabMouseButtonEvent OnTabMouseDown;
  TspTabGetDrawParamsEvent OnTabGetDrawParamsEvent;

  // --- Public -------------------------------------------------------------------------------
  void AddTab(TCustomForm* Child);
  void DeleteTab(TCustomForm* Child);
  void UpdateActiveTab();
  Integer GetTabIndex(Integer X, Integer Y);
  TspMDITab* GetTab(Integer X, Integer Y);
  Integer GetCloseSize() const;
  Integer TabCount() const { return static_cast<Integer>(ObjectList.size()); }
  TspMDITab* Tabs(Integer Index) const { return ObjectList[static_cast<size_t>(Index)].get(); }
  Integer InVisibleCount() const { return FInVisibleCount; }
  TspSkinMenuSpeedButton* ListButton() const { return FListButton; }
  TspSkinMenuSpeedButton* HideListButton() const { return FHideListButton; }
  TspSkinPopupMenu* ListMenu() const { return FListMenu; }
  TspSkinPopupMenu* HideListMenu() const { return FHideListMenu; }

  void GetSkinData() override;
  void ChangeSkinData() override;
  void DrawDefaultImage(TBitmap* B) override;
  void DrawSkinImage(TBitmap* B) override;
  void AdjustClientRect(TRect& Rect) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

 protected:
  void Paint() override;
  void Dispatch(TMessage& Message) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void CMMouseLeave(TWMNoParams& Message) override;

 private:
  friend class TspMDITab;
  void CalcTabRects();
  void DrawTabs(TCanvas* Cnvs);
  void DrawDropMark(TCanvas* Cnvs, Integer DropIndex);
  Integer GetDropIndex();
  Integer IndexOfTab(const TspMDITab* Tab) const;
  void TestActiveTab(Integer X, Integer Y);
  void RedrawTab(TspMDITab* Tab);
  void CreateListButton();
  void CreateHideListButton();
  void FreeListButton(TspSkinMenuSpeedButton*& Button);
  void FillListMenu(TspSkinPopupMenu* Menu, Boolean HiddenOnly, const char* Suffix);
  void ListItemClick(TObject* Sender);
  // Shows Child, restoring it first when its frame has it minimized.
  void ShowChild(TCustomForm* Child);
  TspFormSkin* ChildFormSkin(TCustomForm* Child) const;
  TFontCharset SkinCharset() const;
  Boolean Skinned() const { return FIndex != -1; }

  Integer FBottomOffset = 0;
  Boolean FShowCloseButtons = false;
  Integer FMinTabWidth = 0;
  TspSkinMDITabKind FTabKind = sptkTab;
  Boolean FSupportChildMenus = true;
  Boolean IsDrag = false;
  Integer DX = 0;
  Integer TabDX = 0;
  Boolean FDown = false;
  Integer DragIndex = -1;
  Integer FDefaultTabWidth = 100;
  Integer FDefaultHeight = 21;
  TOwned<TFont> FDefaultFont;
  Integer ActiveTabIndex = -1;
  Integer OldTabIndex = -1;
  Boolean FMoveTabs = true;
  Boolean FUseSkinSize = true;
  Boolean FUseSkinFont = true;
  TspFormSkin* FFormSkin = nullptr;
  TspSkinMenuSpeedButton* FListButton = nullptr;
  TspSkinMenuSpeedButton* FHideListButton = nullptr;
  TspSkinPopupMenu* FListMenu = nullptr;
  TspSkinPopupMenu* FHideListMenu = nullptr;
  Integer FInVisibleCount = 0;
  Integer FCloseSize = 14;
  std::vector<std::unique_ptr<TspMDITab>> ObjectList;
  // Copies of the skin's "tab" descriptor.
  TBitmap* Picture = nullptr;
  TRect TabRect{}, ActiveTabRect{}, MouseInTabRect{}, TabsBGRect{};
  Integer TabLeftOffset = 0, TabRightOffset = 0;
  String FontName;
  TFontStyles FontStyle;
  Integer FontHeight = 0;
  TColor FontColor = 0, ActiveFontColor = 0, MouseInFontColor = 0;
  String UpDown;
  Boolean TabStretchEffect = false;
  TRect CloseButtonRect{}, ClosebuttonActiveRect{}, CloseButtonDownRect{};
  Boolean ButtonTransparent = false;
  TColor ButtonTransparentColor = 0;
  TPoint LTPoint{}, RTPoint{}, LBPoint{}, RBPoint{};
  TRect SkinRect{}, ClRect{};
  Boolean LeftStretch = false, TopStretch = false, RightStretch = false, BottomStretch = false;
  Boolean StretchEffect = false;
  TspStretchType StretchType = spstFull;
  Integer FActiveTabOffset = 0;
};
