// The class library's list view on the native "SysListView32" window: columns, rows
// (kept by the control, or with OwnerData only counted and fetched through OnData when
// drawn), view styles, image lists through their handles, selection, focus, type-ahead
// through OnDataFind, and the events and hooks a derived view overrides.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "platform/rtl/StringList.h"
#include "platform/ui/ImgList.h"
#include "platform/ui/NativeWinControl.h"

class TCustomListView;
class TListItems;

enum TViewStyle { vsIcon, vsSmallIcon, vsList, vsReport };
enum TItemFind { ifData, ifPartialString, ifExactString, ifNearest };
enum TSearchDirection { sdLeft, sdRight, sdAbove, sdBelow, sdAll };
enum TDisplayCode { drBounds, drIcon, drLabel, drSelectBounds };
enum TIconArrangement { iaTop, iaLeft };

class TListColumn {
 public:
  TListColumn(TCustomListView* Owner, Integer Index) : FOwner(Owner), FIndex(Index) {}
  const String& Caption() const { return FCaption; }
  void SetCaption(const String& Value);
  Integer Width();
  void SetWidth(Integer Value);
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  Integer ImageIndex() const { return FImageIndex; }
  void SetImageIndex(Integer Value) { FImageIndex = Value; }
  Integer Index() const { return FIndex; }

 private:
  friend class TListColumns;
  friend class TCustomListView;
  void Push();
  TCustomListView* FOwner;
  Integer FIndex;
  String FCaption;
  Integer FWidth = 50;
  TAlignment FAlignment = taLeftJustify;
  Integer FImageIndex = -1;
};

class TListColumns {
 public:
  explicit TListColumns(TCustomListView* Owner) : FOwner(Owner) {}
  TListColumn* Add();
  void Clear();
  Integer Count() const { return static_cast<Integer>(FItems.size()); }
  TListColumn* Items(Integer Index) const;
  TListColumn* operator[](Integer Index) const { return Items(Index); }
  void BeginUpdate() { ++FUpdate; }
  void EndUpdate() { if (FUpdate > 0) --FUpdate; }

 private:
  friend class TCustomListView;
  TCustomListView* FOwner;
  std::vector<std::unique_ptr<TListColumn>> FItems;
  Integer FUpdate = 0;
};

class TListItem {
 public:
  TListItem(TListItems* Owner) : FOwner(Owner), FSubItems(std::make_unique<TStringList>()) {}
  const String& Caption() const { return FCaption; }
  void SetCaption(const String& Value);
  TStrings* SubItems() const { return FSubItems.get(); }
  Integer ImageIndex() const { return FImageIndex; }
  void SetImageIndex(Integer Value);
  void* Data() const { return FData; }
  void SetData(void* Value) { FData = Value; }
  Integer Index() const { return FIndex; }
  Boolean Selected();
  void SetSelected(Boolean Value);
  Boolean Focused();
  void SetFocused(Boolean Value);
  TRect DisplayRect(TDisplayCode Code);
  void MakeVisible(Boolean PartialOK);
  // Starts editing the caption in place; false when the view refuses.
  Boolean EditCaption();
  // Ends editing without the new text.
  void CancelEdit();
  TListItems* Owner() const { return FOwner; }

 private:
  friend class TListItems;
  friend class TCustomListView;
  TListItems* FOwner;
  Integer FIndex = -1;
  String FCaption;
  std::unique_ptr<TStringList> FSubItems;
  Integer FImageIndex = -1;
  void* FData = nullptr;
};

class TListItems {
 public:
  explicit TListItems(TCustomListView* Owner) : FOwner(Owner) {}
  ~TListItems();
  TListItem* Add();
  TListItem* Insert(Integer Index);
  void Delete(Integer Index);
  void Clear();
  // Owner data: the row count the view shows.
  Integer Count() const;
  void SetCount(Integer Value);
  // Owner data: a row filled by OnData.
  TListItem* Item(Integer Index);
  TListItem* operator[](Integer Index) { return Item(Index); }
  void BeginUpdate();
  void EndUpdate();
  TCustomListView* Owner() const { return FOwner; }

 private:
  friend class TCustomListView;
  void Reindex();
  TCustomListView* FOwner;
  std::vector<std::unique_ptr<TListItem>> FItems;
  Integer FCount = 0;  // owner data
  std::unique_ptr<TListItem> FTemp;  // owner data: the row last fetched
  Integer FUpdate = 0;
};

using TLVNotifyEvent = std::function<void(TObject* Sender, TListItem* Item)>;
using TLVChangeEvent = std::function<void(TObject* Sender, TListItem* Item, Integer Change)>;
using TLVColumnClickEvent = std::function<void(TObject* Sender, TListColumn* Column)>;
using TLVOwnerDataFindEvent =
    std::function<void(TObject* Sender, TItemFind Find, const String& FindString, const TPoint& FindPosition,
                       void* FindData, Integer StartIndex, TSearchDirection Direction, Boolean Wrap, Integer& Index)>;
using TLVEditingEvent = std::function<void(TObject* Sender, TListItem* Item, Boolean& AllowEdit)>;
using TLVEditedEvent = std::function<void(TObject* Sender, TListItem* Item, String& S)>;

class TCustomListView : public TNativeWinControl {
  VANTREL_CLASS(TCustomListView)
  explicit TCustomListView(TComponent* AOwner);
  ~TCustomListView() override;

  TViewStyle ViewStyle() const { return FViewStyle; }
  virtual void SetViewStyle(TViewStyle Value);
  TListColumns* Columns() const { return FColumns.get(); }
  TListItems* Items() const { return FItems.get(); }
  TCustomImageList* LargeImages() const { return FLargeImages; }
  void SetLargeImages(TCustomImageList* Value);
  TCustomImageList* SmallImages() const { return FSmallImages; }
  void SetSmallImages(TCustomImageList* Value);
  TCustomImageList* StateImages() const { return FStateImages; }
  void SetStateImages(TCustomImageList* Value);
  Boolean ShowColumnHeaders() const { return FShowColumnHeaders; }
  void SetShowColumnHeaders(Boolean Value);
  Boolean ColumnClick() const { return FColumnClick; }
  void SetColumnClick(Boolean Value);
  Boolean MultiSelect() const { return FMultiSelect; }
  void SetMultiSelect(Boolean Value);
  Boolean ReadOnly() const { return FReadOnly; }
  void SetReadOnly(Boolean Value);
  Boolean RowSelect() const { return FRowSelect; }
  void SetRowSelect(Boolean Value);
  Boolean HideSelection() const { return FHideSelection; }
  void SetHideSelection(Boolean Value);
  TIconArrangement IconArrangement() const { return FArrangement; }
  void SetIconArrangement(TIconArrangement Value) { FArrangement = Value; }
  Boolean AutoArrange() const { return FAutoArrange; }
  void SetAutoArrange(Boolean Value);
  Boolean WrapText() const { return FWrapText; }
  void SetWrapText(Boolean Value);
  Boolean OwnerData() const { return FOwnerData; }
  void SetOwnerData(Boolean Value);
  // Sections of the header can be dragged to a new order, drawn live while dragged.
  Boolean FullDrag() const { return FFullDrag; }
  void SetFullDrag(Boolean Value);

  TListItem* Selected();
  void SetSelected(TListItem* Value);
  TListItem* ItemFocused();
  void SetItemFocused(TListItem* Value);
  Integer ItemIndex();
  void SetItemIndex(Integer Value);
  Integer SelCount();
  // A caption is being edited in place.
  Boolean IsEditing();
  TListItem* TopItem();
  Integer VisibleRowCount();
  TListItem* GetItemAt(Integer X, Integer Y);
  void Scroll(Integer DX, Integer DY);

  TLVNotifyEvent OnData;
  TLVOwnerDataFindEvent OnDataFind;
  TLVChangeEvent OnChange;
  TLVColumnClickEvent OnColumnClick;
  TLVEditingEvent OnEditing;
  TLVEditedEvent OnEdited;
  TContextPopupEvent OnContextPopup;

 protected:
  friend class TListColumn;
  friend class TListColumns;
  friend class TListItem;
  friend class TListItems;
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  void Dispatch(TMessage& Message) override;
  virtual void CNNotify(TWMNotify& Message);
  // The hooks a derived view replaces.
  virtual Boolean OwnerDataFetch(TListItem* Item);
  virtual Integer OwnerDataFind(TItemFind Find, const String& FindString, const TPoint& FindPosition,
                                void* FindData, Integer StartIndex, TSearchDirection Direction, Boolean Wrap);
  virtual void ColClick(TListColumn* Column);
  virtual void Change(TListItem* Item, Integer Change);
  virtual Boolean CanEdit(TListItem* Item);
  virtual void Edit(TListItem* Item, String& S);
  virtual void DoContextPopup(const TPoint& MousePos, Boolean& Handled);
  void KeyDown(Word& Key, TShiftState Shift) override;
  void DblClick() override;

 private:
  void UpdateStyle();
  void PushColumns();
  void PushItems();
  HIMAGELIST HandleOf(TCustomImageList* List) const { return List ? List->Handle() : nullptr; }
  void PushImages();
  TListItem* ItemOfIndex(Integer Index);

  std::unique_ptr<TListColumns> FColumns;
  std::unique_ptr<TListItems> FItems;
  TViewStyle FViewStyle = vsIcon;
  TCustomImageList* FLargeImages = nullptr;
  TCustomImageList* FSmallImages = nullptr;
  TCustomImageList* FStateImages = nullptr;
  Boolean FShowColumnHeaders = true;
  Boolean FColumnClick = true;
  Boolean FMultiSelect = false;
  Boolean FReadOnly = false;
  Boolean FRowSelect = false;
  Boolean FHideSelection = true;
  TIconArrangement FArrangement = iaTop;
  Boolean FAutoArrange = false;
  Boolean FWrapText = true;
  Boolean FOwnerData = false;
  Boolean FFullDrag = false;
  Integer FSaveTop = 0;
};

class TListView : public TCustomListView {
  VANTREL_CLASS(TListView)
  explicit TListView(TComponent* AOwner) : TCustomListView(AOwner) {}
};
