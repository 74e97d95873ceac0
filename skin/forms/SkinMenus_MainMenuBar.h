// The skinned main menu bar: a TMainMenu shown as a bar of skinned titles inside a form,
// with the buttons of a maximized MDI child at its ends. Titles and buttons are light
// objects of the bar (not controls): the bar routes the mouse to them, runs their timers
// and lends them its canvas. Drop-downs open through the skin menu of the bar's frame
// component. Included by SkinMenus.h.
#pragma once

#include <functional>

#include "skin/controls/SkinCtrls.h"
#include "skin/forms/FormSkin.h"

class TspSkinMainMenuBar;

using TspItemEnterEvent = std::function<void(TMenuItem* MenuItem)>;
using TspItemLeaveEvent = std::function<void(TMenuItem* MenuItem)>;
using TMainMenuItemClick = std::function<void(const String& IDName)>;

// The base of the bar's objects: hover, pressed and morphing.
class TspMenuBarObject : public TObject {
  VANTREL_CLASS(TspMenuBarObject)
  TspMenuBarObject(TspSkinMainMenuBar* AParent, TspDataSkinObject* AData);

  virtual void ReDraw();
  virtual void Draw(TCanvas* /*Cnvs*/) {}
  virtual void DblClick() {}
  virtual void MouseDown(Integer /*X*/, Integer /*Y*/, TMouseButton /*Button*/) {}
  virtual void MouseUp(Integer /*X*/, Integer /*Y*/, TMouseButton /*Button*/) {}
  virtual void MouseEnter();
  virtual void MouseLeave();
  virtual Boolean CanMorphing();

  Boolean EnableMorphing() const;
  void DoMorphing();
  Double MorphKf() const { return FMorphKf; }
  void SetMorphKf(Double Value);

  TspSkinMainMenuBar* Parent;
  Double FMorphKf = 0;
  Boolean FMouseIn = false;
  TBitmap* Picture = nullptr;
  Boolean FDown = false;
  String IDName;
  TRect SkinRect{}, ActiveSkinRect{}, DownRect{};
  Boolean Morphing = false;
  TMorphKind MorphKind = mkDefault;
  TRect ObjectRect{};
  Boolean Active = false;
  Boolean Enabled = true;
  Boolean Visible = true;

 protected:
  // Normal morphed toward Hot (both of ObjectRect's size) by MorphKf, drawn at ObjectRect.
  void DrawMorphed(TCanvas* Cnvs, TBitmap* Normal, TBitmap* Hot);
};

// A system button of a maximized MDI child: minimize, restore, close or system menu.
class TspSkinMainMenuBarButton : public TspMenuBarObject {
  VANTREL_CLASS(TspSkinMainMenuBarButton)
  TspSkinMainMenuBarButton(TspSkinMainMenuBar* AParent, TspDataSkinMainMenuBarButton* AData);

  void Draw(TCanvas* Cnvs) override;
  void DefaultDraw(TCanvas* Cnvs);
  void DblClick() override;
  void MouseDown(Integer X, Integer Y, TMouseButton Button) override;
  void MouseUp(Integer X, Integer Y, TMouseButton Button) override;
  void MouseEnter() override;
  void MouseLeave() override;
  void DoCommand();

  Boolean FSkinSupport = false;
  TStdCommand Command = cmClose;
};

// A title of the bar bound to a top-level menu item.
class TspSkinMainMenuBarItem : public TspMenuBarObject {
  VANTREL_CLASS(TspSkinMainMenuBarItem)
  TspSkinMainMenuBarItem(TspSkinMainMenuBar* AParent, TspDataSkinMainMenuBarItem* AData);

  void ReDraw() override;
  void Draw(TCanvas* Cnvs) override;
  void DefaultDraw(TCanvas* Cnvs);
  void MouseDown(Integer X, Integer Y, TMouseButton Button) override;
  void MouseEnter() override;
  void MouseLeave() override;

  Boolean EnableAnimation() const;
  void SetDown(Boolean Value);
  void PopupSubMenu();
  // Places the title after the one before it; false (and pushed out) when it does not fit.
  Boolean CalcObjectRect(TCanvas* Cnvs);

  Boolean FSkinSupport = false;
  TRect TempObjectRect{};
  Boolean OldEnabled = true;
  // The title fits into the bar; hides the base's Visible (drawn at all) on purpose.
  Boolean Visible = true;
  TMenuItem* MenuItem = nullptr;
  String FontName;
  Integer FontHeight = 0;
  TFontStyles FontStyle;
  TColor UnEnabledFontColor = 0, FontColor = 0, ActiveFontColor = 0, DownFontColor = 0;
  TRect TextRct{};
  // The pressed image of the title (the base's DownRect is the data's active image).
  TRect DownRect{};
  Integer LO = 0, RO = 0;
  Boolean StretchEffect = false;
  TRect AnimateSkinRect{};
  Integer FrameCount = 0;
  Integer AnimateInterval = 0;
  Integer CurrentFrame = 0;
  Boolean InActiveAnimation = false;

 private:
  void SetTitleFont(TCanvas* Cnvs) const;
  // The title's image from rectangle R (of Picture), hot or not, into B.
  void CreateTitleImage(TBitmap* B, const TRect& R, Boolean AActive);
  void DrawCaption(TCanvas* C, TRect T, Boolean Selected);
  TRect FrameRect(Integer K) const;
};

class TspSkinMainMenuBar : public TspSkinControl {
  VANTREL_CLASS(TspSkinMainMenuBar)
  explicit TspSkinMainMenuBar(TComponent* AOwner);
  ~TspSkinMainMenuBar() override;

  // --- Properties ---
  TMainMenu* MainMenu() const { return FMainMenu; }
  void SetMainMenu(TMainMenu* Value);
  TspFormSkin* FormSkin() const { return DSF; }
  void SetFormSkin(TspFormSkin* Value);
  Boolean UseSkinFont() const { return FUseSkinFont; }
  void SetUseSkinFont(Boolean Value) { FUseSkinFont = Value; }
  Boolean ScrollMenu() const { return FScrollMenu; }
  void SetScrollMenu(Boolean Value) { FScrollMenu = Value; }
  Boolean PopupToUp() const { return FPopupToUp; }
  void SetPopupToUp(Boolean Value) { FPopupToUp = Value; }
  TFont* DefItemFont() const { return FDefItemFont.get(); }
  void SetDefItemFont(TFont* Value);
  Integer DefaultWidth() const { return FDefaultWidth; }
  void SetDefaultWidth(Integer Value);
  Integer DefaultHeight() const { return FDefaultHeight; }
  void SetDefaultHeight(Integer Value);
  TspItemEnterEvent OnItemMouseEnter;
  TspItemLeaveEvent OnItemMouseLeave;
  TMainMenuItemClick OnMainMenuItemClick;

  // --- Operations ---
  void Merge(TMainMenu* Menu);
  void UnMerge();
  TMainMenu* GetChildMainMenu() const;
  void UpDateItems();
  void UpDateEnabledItems();
  void CreateMenu();
  void EnterMenuMode();
  void ExitMenuMode();
  void ReleaseDownItem();
  void NextMainMenuItem();
  void PriorMainMenuItem();
  Boolean PressActiveItem();
  Boolean CheckHotKey(Word Key);
  void MDIChildMaximize();
  void MDIChildRestore();
  void DrawSkinObject(TspMenuBarObject* Obj);
  void CalcItemsRect();
  void PaintBar(HDC DC);
  TRect GetMarkerRect() const;
  void DrawMarker(TCanvas* Cnvs);
  void PopupHiddenItems();
  void AddSysButtons();
  void RemoveSysButtons();
  void EnableSysButtons(TspBorderIcons Icons);
  void ReleaseSysMenuButton();
  // The mouse at (X, Y) of the client area; (-1, -1) for outside.
  void TestActive(Integer X, Integer Y);
  Integer ObjectCount() const { return static_cast<Integer>(ObjectList.size()); }
  TspMenuBarObject* ObjectAt(Integer I) const;
  TTimer* MouseTimerOf() const { return MouseTimer; }

  void GetSkinData() override;
  void ChangeSkinData() override;
  void BeforeChangeSkinData() override;
  void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) override;

  // --- State (public: the objects and the frame read it) ---
  Boolean FSkinSupport = false;
  Integer ButtonsCount = 0;
  Boolean FMDIChildMax = false;
  Boolean MenuActive = false;
  Boolean Scroll = false;
  Boolean MarkerActive = false;
  Integer ActiveObject = -1, OldActiveObject = -1, MouseCaptureObject = -1;
  TRect NewItemsRect{};
  TRect SkinRect{}, ItemsRect{};
  String MenuBarItem, MaxButton, MinButton, SysMenuButton, CloseButton;
  TColor TrackMarkColor = 0, TrackMarkActiveColor = 0;
  TBitmap* Picture = nullptr;
  Boolean StretchEffect = false, ItemTransparent = false;
  std::vector<TspMenuBarObject*> ObjectList;  // owned
  Boolean ChildMenuIn = false;
  // The image of the bar under the titles (the last paint), for transparent titles.
  TBitmap BarImage;
  TTimer* MorphTimer;
  TTimer* MouseTimer;
  TTimer* AnimateTimer;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Paint() override {}
  void WndProc(TMessage& Message) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void CMMouseEnter(TWMNoParams& Message) override;
  void CMMouseLeave(TWMNoParams& Message) override;

 private:
  void ClearObjects();
  void MouseTimerTick(TObject* Sender);
  void MorphTimerTick(TObject* Sender);
  void AnimateTimerTick(TObject* Sender);
  // The titles in list order.
  std::vector<TspSkinMainMenuBarItem*> Titles() const;
  static Boolean Usable(const TspSkinMainMenuBarItem* T) { return T->Enabled && T->Visible; }

  Boolean FUseSkinFont = true;
  Boolean FScrollMenu = true;
  TOwned<TFont> FDefItemFont;
  Boolean FPopupToUp = false;
  TspFormSkin* DSF = nullptr;
  TMainMenu* FMainMenu = nullptr;
  TMainMenu* FMergeMenu = nullptr;
  Integer FDefaultWidth = 0;
  Integer FDefaultHeight = 22;
};
