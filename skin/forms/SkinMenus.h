// Skinned menus: any TMenuItem tree shown as a cascade of skinned popup windows.
//
// TspSkinMenu is the engine a form frame owns: it keeps the stack of open levels, opens a
// submenu after a delay or at once, closes levels, runs the chosen command once every menu
// window is gone and tells the opener and the form that the menu closed.
// TspSkinPopupWindow is one level: a top-most pop-up that never takes activation or focus,
// sizes and places itself inside the work area, scrolls when too long and polls the cursor.
// TspSkinMenuItem is one visible item of a level: its state and its drawing (skinned from
// the skin's menu-item descriptor, or in a flat built-in look).
#pragma once

#include <memory>
#include <vector>

#include "platform/ui/Controls.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Menus.h"
#include "platform/ui/Timers.h"
#include "skin/core/bitmaps/spEffBmp.h"
#include "skin/core/data/SkinData.h"
#include "skin/core/data/SkinDescriptors.h"

class TspSkinMenu;
class TspSkinPopupWindow;
class TspFormSkin;

// One-colour glyphs of the menus.
void DrawMenuCheckMark(TCanvas* Canvas, Integer X, Integer Y, TColor Color);
void DrawMenuSubArrow(TCanvas* Canvas, Integer X, Integer Y, TColor Color);
void DrawMenuRadioMark(TCanvas* Canvas, Integer X, Integer Y, TColor Color);

// What a menu draws on its window's own canvas outside a paint (a hot item, a morphing
// step) reaches the screen once the canvas lets go of the window DC it took.
void ShowMenuDrawing(TCanvas* Canvas);

class TspSkinMenuItem : public TObject {
  VANTREL_CLASS(TspSkinMenuItem)
  TspSkinMenuItem(TspSkinPopupWindow* AParent, TMenuItem* AMenuItem, TspDataSkinMenuItem* AData);

  TspSkinPopupWindow* Parent;
  TspDataSkinMenuItem* MI;
  TBitmap* ActivePicture = nullptr;
  TMenuItem* MenuItem;
  TRect ObjectRect{};
  Boolean Active = false;
  Boolean Down = false;
  Boolean FVisible = true;
  Boolean WaitCommand = false;
  Integer CurrentFrame = 0;

  Double MorphKf() const { return FMorphKf; }
  void SetMorphKf(Double Value);

  // Frame animation: a skin animation picture and skin effects on.
  Boolean EnableAnimation() const;
  // Cross-fade between the normal and the hot look.
  Boolean EnableMorphing() const;
  // The morph factor has a step to go toward the item's state (an item out of view is reset).
  virtual Boolean CanMorphing();
  void DoMorphing();

  // Paints the item at ObjectRect.
  void Draw(TCanvas* Cnvs);
  void DefaultDraw(TCanvas* Cnvs);
  // Repaints the item on its level after a state change.
  void ReDraw();

  // The level logic of the item (the engine decides what follows).
  void MouseEnter(Boolean Kb);
  void MouseLeave();
  void MouseDown(Integer X, Integer Y);

  // A separator.
  Boolean IsSeparator() const { return MenuItem->IsLine(); }
  // Enabled and not a separator: can be selected.
  Boolean Selectable() const { return MenuItem->Enabled() && !IsSeparator(); }
  Boolean HasSubItems() const { return MenuItem->Count() > 0; }

 private:
  // The item in the skinned look, normal or hot, into B (sized to the item).
  void DrawSkinItem(TBitmap* B, Boolean AActive, Boolean AFrame = false);
  TRect FrameRect() const;
  void DrawSkinGlyph(TCanvas* Cnvs, const TRect& R, const TRect& Src);
  void DrawHeader(TCanvas* Cnvs, const TRect& R, const String& Caption);
  // The image of the item (bitmap or image list), nullptr-free test first.
  Boolean HasImage() const;
  TSize ImageSize() const;
  void DrawImage(TCanvas* Cnvs, Integer X, Integer Y);
  // The glyph of a frame system-menu item by its name; false when the name has none.
  Boolean DrawNamedGlyph(TCanvas* Cnvs, Integer X, Integer Y, TColor Color);
  // Caption and short-cut text in T; ShortcutRight: where the short cut text ends.
  void DrawCaption(TCanvas* Cnvs, const TRect& T, Integer GlyphW, Integer RightGap);

  Double FMorphKf = 0;
  // The descriptor's rectangles as this item uses them (emptied when the picture is missing).
  TRect FSkinRect{}, FActiveSkinRect{};
};

class TspSkinPopupWindow : public TCustomControl {
  VANTREL_CLASS(TspSkinPopupWindow)
  TspSkinPopupWindow(TComponent* AOwner, TspSkinMenu* AParentMenu, TspDataSkinPopupWindow* AData);
  ~TspSkinPopupWindow() override;

  TspDataSkinMenuItem* DSMI = nullptr;
  Integer VisibleCount = 0;
  Integer VisibleStartIndex = 0;
  Boolean Scroll = false;
  Boolean Scroll2 = false;
  Integer ScrollCode = 0;
  TPoint NewLTPoint{}, NewRTPoint{}, NewLBPoint{}, NewRBPoint{};
  TRect NewItemsRect{};
  Integer ShowX = 0, ShowY = 0;
  Integer OMX = -1, OMY = -1;
  TCustomImageList* ImgL = nullptr;
  Integer GlyphWidth = 16;
  TBitmap* WindowPicture = nullptr;
  TBitmap* MaskPicture = nullptr;
  Integer OldActiveItem = -1;
  TspSkinMenu* ParentMenu;
  TspSkinData* SD = nullptr;
  TspDataSkinPopupWindow* PW = nullptr;
  std::vector<std::unique_ptr<TspSkinMenuItem>> ItemList;
  Integer ActiveItem = -1;
  std::unique_ptr<TBitmap> FPaintBuffer;
  Boolean AlphaBlend = false;
  Byte AlphaBlendValue = 200;
  Boolean AlphaBlendAnimation = false;
  // The screen under the window, for translucency where layered windows are missing.
  std::unique_ptr<TBitmap> Sc;
  TOwned<TspEffectBmp> ESc;

  void Show(const TRect& R, TMenuItem* AItem, Integer StartIndex, Boolean PopupByItem, Boolean PopupUp);
  void Show2(const TRect& R, TMenuItem* AItem, TMenuItem* AItem2, Integer StartIndex,
             Boolean PopupByItem, Boolean PopupUp);
  void Hide();
  void PaintMenu(HDC DC);
  void PopupKeyDown(Integer CharCode);
  void NextItem();
  void PriorItem();
  void CloseChildLevels();

  // Item heights: a separator and a normal item.
  Integer ItemHeight(const TspSkinMenuItem& Item) const;
  Integer NormalItemHeight() const;
  // The point (client coordinates) as the mouse timer would see it there.
  void TestActive(Integer X, Integer Y);
  // A mouse button released at the point (client coordinates).
  void MouseUpAt(TMouseButton Button, Integer X, Integer Y);
  void MouseTimerProc(TObject* Sender);
  void ScrollUp(Boolean Cycle);
  void ScrollDown(Boolean Cycle);
  Boolean CanScroll(Integer Code) const;
  Integer GetLastPageStart() const;
  // Draws the item area's background at R (used behind items and in the marker gap).
  void DrawItemBackground(TCanvas* Cnvs, const TRect& R);
  TTimer* MouseTimer() const { return FMouseTimer; }
  // Drives item morphing and frame animation; stops itself when nothing changes.
  TTimer* MorphTimer() const { return FMorphTimer; }
  // Deferred showing (translucency without layered windows).
  TTimer* WT() const { return FWT; }
  void ShowDeferred(TObject* Sender);
  // Where layered windows are missing, a translucent level pre-blends B (placed at X, Y of
  // the window) with the screen under it.
  void BlendWithScreen(TBitmap* B, Integer X, Integer Y);
  Boolean LayeredWindows() const;
  void MorphTimerProc(TObject* Sender);
  TCanvas* MeasureCanvas() { return FMeasure.Canvas(); }

 protected:
  void CreateParams(TCreateParams& Params) override;
  void WndProc(TMessage& Message) override;

 private:
  void CreateMenu(TMenuItem* AItem, TMenuItem* AItem2, Integer StartIndex);
  void AddItems(TMenuItem* AItem, Integer StartIndex);
  void SizeWindow();
  void ArrangeItems();
  void CalcPopupPosition(const TRect& R, Boolean PopupByItem, Boolean PopupUp);
  void ShowWindowAt(TMenuItem* AItem, TMenuItem* AItem2, const TRect& R, Integer StartIndex,
                    Boolean PopupByItem, Boolean PopupUp);
  void CreateWindowImage(TBitmap* B, Boolean DrawClient);
  void DrawMarker(TCanvas* Cnvs, Boolean Up);
  TRect MarkerRect(Boolean Up) const;
  Boolean IsCursorOverWindow(const TPoint& ScreenP);
  void StartScroll();
  void StopScroll();
  void Repaint();
  Integer LastLaidOut() const { return VisibleStartIndex + VisibleCount - 1; }
  Boolean IsLastVisible(Integer I) const { return Scroll && I == LastLaidOut(); }
  Boolean IsFirstVisible(Integer I) const { return Scroll && I == VisibleStartIndex; }
  void SetActive(Integer NewIndex, Integer OldIndex);

  TTimer* FMouseTimer;
  TTimer* FMorphTimer;
  TTimer* FWT;
  TBitmap FMeasure;
  std::shared_ptr<bool> FAlive = std::make_shared<bool>(true);  // text measuring only
};

class TspSkinMenu : public TComponent {
  VANTREL_CLASS(TspSkinMenu)
  TspSkinMenu(TComponent* AOwner, TForm* AForm);
  ~TspSkinMenu() override;
  void BeforeDestruction() override;

  Boolean UseSkinFont = true;
  Integer MaxMenuItemsInWindow = 0;
  Boolean AlphaBlend = false;
  Byte AlphaBlendValue = 200;
  Boolean AlphaBlendAnimation = false;
  TspSkinData* SkinData = nullptr;
  TRect WorkArea{};
  TspSkinMenuItem* WItem = nullptr;
  TNotifyEvent OnMenuClose;

  Boolean First() const { return FFirst; }
  Boolean Visible() const { return FVisible; }
  Integer DefaultMenuItemHeight() const { return FDefaultMenuItemHeight; }
  void SetDefaultMenuItemHeight(Integer Value) { FDefaultMenuItemHeight = Value; }
  TFont* DefaultMenuItemFont() const { return FDefaultMenuItemFont.get(); }
  void SetDefaultMenuItemFont(TFont* Value) { FDefaultMenuItemFont->Assign(Value); }
  TForm* Form() const { return FForm; }
  TControl* PopupCtrl() const { return FPopupCtrl; }
  TTimer* WaitTimer() const { return FWaitTimer; }

  void Popup(TControl* APopupCtrl, TspSkinData* ASkinData, Integer StartIndex, const TRect& R,
             TMenuItem* AItem, Boolean PopupUp);
  void Popup2(TControl* APopupCtrl, TspSkinData* ASkinData, Integer StartIndex, const TRect& R,
              TMenuItem* AItem, TMenuItem* AItem2, Boolean PopupUp);
  void Hide();
  void CheckItem(TspSkinPopupWindow* Sender, TspSkinMenuItem* Item, Boolean Execute, Boolean Kb);
  void CloseMenu(Integer EndIndex);
  void PopupSub(const TRect& R, TMenuItem* AItem, Integer StartIndex, Boolean PopupByItem,
                Boolean PopupUp);
  void PopupSub2(const TRect& R, TMenuItem* AItem, TMenuItem* AItem2, Integer StartIndex,
                 Boolean PopupByItem, Boolean PopupUp);
  Integer GetPopupIndex(const TspSkinPopupWindow* Window) const;
  Integer LevelCount() const { return static_cast<Integer>(FPopupList.size()); }
  TspSkinPopupWindow* Level(Integer I) const { return FPopupList[static_cast<size_t>(I)].get(); }
  TRect GetMenuWorkArea() const;
  void WaitTimerProc(TObject* Sender);
  // The messages to a form that close its open skin menu.
  static Boolean IsMenuCloseMessage(UINT Msg);

  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  void SetPopupCtrl(TControl* Value);
  void SetDCtrl(TControl* Value);
  void StopWaiting();
  void CloseDeeperThan(TspSkinPopupWindow* Sender);

  Boolean FFirst = false;
  Boolean FVisible = false;
  Integer FDefaultMenuItemHeight = 20;
  std::unique_ptr<TFont> FDefaultMenuItemFont;
  TControl* FPopupCtrl = nullptr;
  TControl* FDCtrl = nullptr;
  TForm* FForm;
  TTimer* FWaitTimer;
  std::vector<TOwned<TspSkinPopupWindow>> FPopupList;
};

// A popup menu of the class library that opens as skinned popup windows through the skin
// menu of the frame component of its form.
class TspSkinPopupMenu : public TPopupMenu {
  VANTREL_CLASS(TspSkinPopupMenu)
  explicit TspSkinPopupMenu(TComponent* AOwner);

  TspSkinData* SkinData() const { return FSD; }
  void SetSkinData(TspSkinData* Value);
  // A form whose frame component is to be used instead of the owner's.
  TForm* ComponentForm() const { return FComponentForm; }
  void SetComponentForm(TForm* Value);
  // The frame component to use directly; another kind of component counts as none.
  TComponent* SkinComponent() const { return FSkinComponent; }
  void SetSkinComponent(TComponent* Value);
  TPoint PopupPointOfMenu() const { return FPopupPoint; }
  TNotifyEvent OnMenuClose;

  void Popup(Integer X, Integer Y) override;
  void PopupFromRect(const TRect& R, Boolean APopupUp);
  void Popup2(TControl* ACtrl, Integer X, Integer Y);
  void PopupFromRect2(TControl* ACtrl, const TRect& R, Boolean APopupUp);
  // The first component AComponent owns that is a frame component; nil when none.
  static TspFormSkin* FindFormSkin(TComponent* AComponent);

  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  void PopupAt(TControl* ACtrl, const TRect& R, Boolean Up, Boolean NeedsSkin);
  TspFormSkin* FindFrame() const;

  TPoint FPopupPoint{-1, -1};
  TspSkinData* FSD = nullptr;
  TForm* FComponentForm = nullptr;
  TComponent* FSkinComponent = nullptr;
};

// The main menu of a form with a skin of its own for the drop-downs of the frame's
// main-menu items.
class TspSkinMainMenu : public TMainMenu {
  VANTREL_CLASS(TspSkinMainMenu)
  explicit TspSkinMainMenu(TComponent* AOwner) : TMainMenu(AOwner) {}
  TspSkinData* SkinData() const { return FSD; }
  void SetSkinData(TspSkinData* Value);
  void Notification(TComponent* AComponent, TOperation Operation) override;

  TspFormSkin* DSF = nullptr;

 private:
  TspSkinData* FSD = nullptr;
};

#include "skin/forms/SkinMenus_MainMenuBar.h"
#include "skin/forms/SkinMenus_ImagesMenu.h"
