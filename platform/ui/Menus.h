// Menus of the class library: menu items in a tree (caption with "&" hot key, "-" for a
// separator, short cut, check mark, radio groups, image, command id, action link), the
// main menu of a form, and the popup menu. A plain popup builds a menu handle of its
// items and tracks it with TrackPopupMenu (items 20 pixels high); the skinned menus
// replace that loop.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "platform/ui/ActnList.h"
#include "platform/ui/Controls.h"

class TMenu;
class TMenuItem;
class TCustomImageList;

// --- Short cuts ------------------------------------------------------------------------------
// A short cut is a virtual key in the low byte with the modifier bits below.
constexpr TShortCut scShift = 0x2000;
constexpr TShortCut scCtrl = 0x4000;
constexpr TShortCut scAlt = 0x8000;
constexpr TShortCut scNone = 0;

TShortCut ShortCut(Word Key, TShiftState Shift);
void ShortCutToKey(TShortCut ShortCut, Word& Key, TShiftState& Shift);
// "Ctrl+O", "Shift+Ctrl+F5", "Alt+Enter"; the empty text for scNone.
String ShortCutToText(TShortCut ShortCut);
// The inverse of ShortCutToText (modifier names in any order and case); scNone for a
// text it cannot read.
TShortCut TextToShortCut(const String& Text);
// The short cut of a key message with the modifiers held while it was sent.
TShortCut ShortCutFromMessage(TWMKey& Message);

// The caption of a separator.
inline const String cLineCaption = "-";
// Caption without its "&" marks ("&&" stays as one "&").
String StripHotkey(const String& Text);
// The hot-key character of a caption (upper case), 0 when it has none.
char32_t GetHotkey(const String& Text);

// --- Items -----------------------------------------------------------------------------------

enum TMenuItemAutoFlag { maAutomatic, maManual, maParent };
enum TFindItemKind { fkCommand, fkHandle, fkShortCut };

using TMenuDrawItemEvent =
    std::function<void(TObject* Sender, TCanvas* ACanvas, TRect ARect, Boolean Selected)>;
using TMenuMeasureItemEvent =
    std::function<void(TObject* Sender, TCanvas* ACanvas, Integer& Width, Integer& Height)>;

// The link of a menu item to its action.
class TMenuActionLink : public TActionLink {
  VANTREL_CLASS(TMenuActionLink)
  explicit TMenuActionLink(TMenuItem* AClient);

 protected:
  void SetCaption(const String& Value) override;
  void SetChecked(Boolean Value) override;
  void SetEnabled(Boolean Value) override;
  void SetHint(const String& Value) override;
  void SetImageIndex(Integer Value) override;
  void SetShortCut(TShortCut Value) override;
  void SetVisible(Boolean Value) override;

 private:
  TMenuItem* FItem;
};

class TMenuItem : public TComponent {
  VANTREL_CLASS(TMenuItem)
  explicit TMenuItem(TComponent* AOwner);
  ~TMenuItem() override;
  // Leaves the parent, frees the sub-items, gives back the command id.
  void BeforeDestruction() override;

  const String& Caption() const { return FCaption; }
  void SetCaption(const String& Value);
  // A separator: the caption "-".
  Boolean IsLine() const { return FCaption == cLineCaption; }
  Boolean Checked() const { return FChecked; }
  // Checking a radio item unchecks the other radio items of its group.
  void SetChecked(Boolean Value);
  Boolean RadioItem() const { return FRadioItem; }
  void SetRadioItem(Boolean Value);
  Byte GroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(Byte Value);
  Boolean Default() const { return FDefault; }
  void SetDefault(Boolean Value);
  Boolean Enabled() const { return FEnabled; }
  void SetEnabled(Boolean Value);
  Boolean Visible() const { return FVisible; }
  void SetVisible(Boolean Value);
  TShortCut ShortCut() const { return FShortCut; }
  void SetShortCut(TShortCut Value);
  // Created on first use.
  TBitmap* Bitmap();
  void SetBitmap(TBitmap* Value);
  Boolean HasBitmap() const { return FBitmap != nullptr; }
  Integer ImageIndex() const { return FImageIndex; }
  void SetImageIndex(Integer Value);
  const String& Hint() const { return FHint; }
  void SetHint(const String& Value);
  TMenuItemAutoFlag AutoLineReduction() const { return FAutoLineReduction; }
  void SetAutoLineReduction(TMenuItemAutoFlag Value) { FAutoLineReduction = Value; }
  // Whether this item's lines are reduced (maParent follows the parent, then the menu).
  Boolean IsLineReduced() const;
  // The item's command id: unique among the live items of the process.
  Word Command() const { return FCommand; }

  TBasicAction* Action() const;
  void SetAction(TBasicAction* Value);

  // Sub-items.
  Integer Count() const { return static_cast<Integer>(FItems.size()); }
  // EMenuError "Menu index out of range" outside the list.
  TMenuItem* Items(Integer Index) const;
  TMenuItem* Parent() const { return FParent; }
  Integer IndexOf(const TMenuItem* Item) const;
  Integer MenuIndex() const { return FParent ? FParent->IndexOf(this) : -1; }
  // Index -1 (or past the end) appends. EMenuError "Menu inserted twice" for an item that
  // already has a parent.
  void Insert(Integer Index, TMenuItem* Item);
  void Add(TMenuItem* Item) { Insert(-1, Item); }
  // Frees the sub-item.
  void Delete(Integer Index);
  // Frees every sub-item.
  void Clear();
  // Takes the sub-item out without freeing it.
  void Remove(TMenuItem* Item);
  // The sub-item with this caption ("&" marks ignored, ASCII case ignored), nil if none.
  TMenuItem* Find(const String& ACaption) const;
  // The menu the item tree belongs to (nil when it hangs nowhere).
  TMenu* GetParentMenu() const;

  // Hides separators that lead, trail or repeat among the visible sub-items when line
  // reduction is on (shows them again otherwise); true when any visibility changed.
  Boolean RethinkLines();
  // Updates the action (OnUpdate) behind the item.
  void InitiateAction();
  // Runs OnClick, or without one the linked action. Nothing for a disabled item.
  virtual void Click();

  TNotifyEvent OnClick;
  TMenuDrawItemEvent OnDrawItem;
  TMenuMeasureItemEvent OnMeasureItem;

  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  friend class TMenu;
  friend class TMenuActionLink;
  void ActionChange(TObject* Sender);
  void TurnSiblingsOff();

  String FCaption;
  Boolean FChecked = false;
  Boolean FRadioItem = false;
  Byte FGroupIndex = 0;
  Boolean FDefault = false;
  Boolean FEnabled = true;
  Boolean FVisible = true;
  TShortCut FShortCut = 0;
  std::unique_ptr<TBitmap> FBitmap;
  Integer FImageIndex = -1;
  String FHint;
  TMenuItemAutoFlag FAutoLineReduction = maParent;
  Word FCommand = 0;
  TMenuItem* FParent = nullptr;
  TMenu* FMenu = nullptr;  // set on a menu's root item
  std::vector<TMenuItem*> FItems;
  std::unique_ptr<TMenuActionLink> FActionLink;
};


// --- Menus -----------------------------------------------------------------------------------

class TMenu : public TComponent {
  VANTREL_CLASS(TMenu)
  explicit TMenu(TComponent* AOwner);
  ~TMenu() override;
  void BeforeDestruction() override;

  // The root item; its sub-items are the menu's items.
  TMenuItem* Items() const { return FItems.get(); }
  TCustomImageList* Images() const { return FImages; }
  void SetImages(TCustomImageList* Value);
  TMenuItemAutoFlag AutoLineReduction() const { return FAutoLineReduction; }
  void SetAutoLineReduction(TMenuItemAutoFlag Value) { FAutoLineReduction = Value; }

  // A key message that is the short cut of a visible item (searched depth first): the
  // item's action is updated and the item clicked when enabled; true when found.
  virtual Boolean IsShortCut(TWMKey& Message);
  // Clicks the item with that command id; true when found.
  Boolean DispatchCommand(Word ACommand);
  TMenuItem* FindItem(uintptr_t Value, TFindItemKind Kind) const;

  void Notification(TComponent* AComponent, TOperation Operation) override;

 protected:
  TOwned<TMenuItem> FItems;

 private:
  TCustomImageList* FImages = nullptr;
  TMenuItemAutoFlag FAutoLineReduction = maAutomatic;
};

class TMainMenu : public TMenu {
  VANTREL_CLASS(TMainMenu)
  explicit TMainMenu(TComponent* AOwner) : TMenu(AOwner) {}
};

enum TPopupAlignment { paLeft, paRight, paCenter };

class TPopupMenu : public TMenu {
  VANTREL_CLASS(TPopupMenu)
  explicit TPopupMenu(TComponent* AOwner);
  ~TPopupMenu() override;

  // Opens the menu with its top-left corner at the screen point (kept on the screen) and
  // tracks it modally: a click on an enabled item ends it and runs that item; a click
  // outside or Esc ends it with nothing run (on the virtual clock of tests, so does the
  // end of the queued input).
  virtual void Popup(Integer X, Integer Y);
  Boolean AutoPopup() const { return FAutoPopup; }
  void SetAutoPopup(Boolean Value) { FAutoPopup = Value; }
  // The control the menu was last opened for (set by the auto popup).
  TComponent* PopupComponent() const { return FPopupComponent; }
  void SetPopupComponent(TComponent* Value);
  TPoint PopupPoint() const { return FPopupPoint; }
  TPopupAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TPopupAlignment Value) { FAlignment = Value; }

  // The screen rectangle of sub-item Index of Items when the menu opens at (X, Y); empty
  // for an invisible item. The tracking loop uses the same layout.
  TRect MenuItemRect(Integer X, Integer Y, Integer Index);
  // Height of one item of a plain popup.
  static constexpr Integer ItemHeight = 20;
  // The popup window while the tracking loop runs (0 otherwise).
  HWND PopupWindow() const;

  TNotifyEvent OnPopup;

  void Notification(TComponent* AComponent, TOperation Operation) override;

 protected:
  virtual void DoPopup(TObject* Sender);

 private:
  TPoint FPopupPoint{-1, -1};
  TComponent* FPopupComponent = nullptr;
  Boolean FAutoPopup = true;
  TPopupAlignment FAlignment = paLeft;
  HMENU FHandle = nullptr;  // the menu handle while the menu is open
};
