// The images menu: a picker that drops down a grid of images (with full-width button and
// header rows) instead of a menu. Its popup is a window of its own that holds the mouse
// capture and an application-message hook while open; it does not go through the skin
// menu engine. Included by SkinMenus.h.
#pragma once

#include "platform/ui/Collection.h"

class TspSkinImagesMenu;
class TspSkinImagesMenuPopupWindow;
class TspSkinHint;

class TspImagesMenuItem : public TCollectionItem {
  VANTREL_CLASS(TspImagesMenuItem)
  explicit TspImagesMenuItem(TCollection* Collection) : TCollectionItem(Collection) {}

  Integer ImageIndex() const { return FImageIndex; }
  void SetImageIndex(Integer Value) { FImageIndex = Value; }
  const String& Caption() const { return FCaption; }
  void SetCaption(const String& Value) { FCaption = Value; }
  const String& Hint() const { return FHint; }
  void SetHint(const String& Value) { FHint = Value; }
  Boolean Button() const { return FButton; }
  void SetButton(Boolean Value) { FButton = Value; }
  Boolean Header() const { return FHeader; }
  void SetHeader(Boolean Value) { FHeader = Value; }
  TNotifyEvent OnClick;
  // From another entry: image, caption, button and hint (not the header flag or handler).
  void Assign(TPersistent* Source) override;

  // The entry's cell in the popup's client area, set by the layout.
  TRect ItemRect{};
  TColor FColor = 0;

 private:
  Integer FImageIndex = -1;
  String FCaption;
  Boolean FButton = false;
  Boolean FHeader = false;
  String FHint;
};

class TspImagesMenuItems : public TOwnedCollection {
  VANTREL_CLASS(TspImagesMenuItems)
  explicit TspImagesMenuItems(TspSkinImagesMenu* AImagesMenu);
  TspImagesMenuItem* Items(Integer Index) const { return static_cast<TspImagesMenuItem*>(TCollection::Items(Index)); }
  TspImagesMenuItem* Add() { return static_cast<TspImagesMenuItem*>(TCollection::Add()); }
  TspSkinImagesMenu* ImagesMenu;
};

class TspSkinImagesMenu : public TComponent {
  VANTREL_CLASS(TspSkinImagesMenu)
  explicit TspSkinImagesMenu(TComponent* AOwner);
  ~TspSkinImagesMenu() override;
  void BeforeDestruction() override;

  TCustomImageList* Images() const { return FImages; }
  void SetImages(TCustomImageList* Value);
  TspImagesMenuItems* ImagesItems() const { return FImagesItems.get(); }
  void SetImagesItems(TspImagesMenuItems* Value) { FImagesItems->Assign(Value); }
  Integer ItemIndex = -1;
  Integer ColumnsCount() const { return FColumnsCount; }
  // 1 .. 50; anything else is ignored.
  void SetColumnsCount(Integer Value);
  TspSkinData* SkinData() const { return FSkinData; }
  void SetSkinData(TspSkinData* Value);
  Boolean ShowSelectedItem = true;
  Boolean AlphaBlend = false;
  Boolean AlphaBlendAnimation = false;
  Byte AlphaBlendValue = 200;
  TFont* DefaultFont() const { return FDefaultFont.get(); }
  void SetDefaultFont(TFont* Value) { FDefaultFont->Assign(Value); }
  Boolean UseSkinFont = true;
  // The entries' hints show through SkinHint while ShowHints is set.
  Boolean ShowHints = true;
  TspSkinHint* SkinHint() const { return FSkinHint; }
  void SetSkinHint(TspSkinHint* Value);
  // The entry at ItemIndex; nil outside the collection.
  TspImagesMenuItem* SelectedItem() const;
  TspSkinImagesMenuPopupWindow* PopupWindow() const { return FPopupWindow; }

  TNotifyEvent OnItemClick, OnChange, OnMenuClose, OnMenuPopup;
  TNotifyEvent OnInternalChange, OnInternalMenuClose;

  void Popup(Integer X, Integer Y);
  void PopupFromRect(const TRect& R);
  // Closes an open popup without entry events.
  void Hide();
  // Run by the popup's Hide: the window goes, the close events, then with AProcessEvents
  // the selected entry's events.
  void CloseProc(Boolean AProcessEvents);

  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  TCustomImageList* FImages = nullptr;
  TOwned<TspImagesMenuItems> FImagesItems;
  Integer FColumnsCount = 1;
  TspSkinData* FSkinData = nullptr;
  TspSkinHint* FSkinHint = nullptr;
  TspSkinImagesMenuPopupWindow* FPopupWindow = nullptr;
  // A closed popup is freed later, never from inside its own handlers.
  TOwned<TspSkinImagesMenuPopupWindow> FClosedWindow;
  // Set while the menu is being freed: closing raises no events then.
  Boolean FDestroying = false;
  Integer FOldItemIndex = -1;
  TOwned<TFont> FDefaultFont;
};

class TspSkinImagesMenuPopupWindow : public TCustomControl {
  VANTREL_CLASS(TspSkinImagesMenuPopupWindow)
  explicit TspSkinImagesMenuPopupWindow(TspSkinImagesMenu* AOwner);
  ~TspSkinImagesMenuPopupWindow() override;

  void Show(const TRect& PopupRect);
  void Hide(Boolean AProcessEvents);
  void ProcessKey(Word Key);

  Boolean FSkinSupport = false;
  TspSkinImagesMenu* ImagesMenu;
  TPoint NewLTPoint{}, NewRTPoint{}, NewLBPoint{}, NewRBPoint{};
  TRect NewItemsRect{};
  TBitmap* WindowPicture = nullptr;
  TBitmap* MaskPicture = nullptr;
  Integer MouseInItem = -1;
  Integer OldMouseInItem = -1;
  Boolean FDown = false;
  Boolean FItemDown = false;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void WndProc(TMessage& Message) override;
  void Paint() override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;

 private:
  TspDataSkinPopupWindow* SkinWindow() const;
  // Lays the entries out; returns the grid's height.
  Integer LayoutItems();
  void AppMessageHook(MSG& Msg, Boolean& Handled);
  Integer ItemAt(Integer X, Integer Y) const;
  Boolean Selectable(Integer I) const;
  void SetMouseInItem(Integer I);
  // The hint component the entries' hints go through; nil without one or with hints off.
  TspSkinHint* EntryHint() const;
  void HideEntryHint();
  // The skin's button control that frames a cell ("menuitembutton", else "resizebutton");
  // nil in the plain look.
  TspDataSkinButtonControl* CellButton() const;
  void DrawCellFrame(TCanvas* C, const TRect& R, Boolean Pressed);
  void SetButtonCaptionFont(TCanvas* C, Boolean Pressed, Boolean Hot) const;
  // A header row: the skin's label look across the row with the caption, else the caption.
  void DrawHeader(TCanvas* C, TRect R, const String& Caption);

  TMessageEvent OldAppMessage;
  Boolean FHooked = false;
  Boolean FClosing = false;
};
