// The class library's list box on the native "LISTBOX" window: its items as a TStrings
// (the window's rows while it exists, a string list while not), single, multiple or
// extended selection, owner drawing through OnDrawItem on the control's canvas, columns,
// and typing to find a row. Recreating the window keeps items, objects, selection and
// the first visible row.
#pragma once

#include <memory>
#include <vector>

#include "platform/rtl/StringList.h"
#include "platform/ui/NativeListStrings.h"
#include "platform/ui/NativeWinControl.h"

enum TListBoxStyle { lbStandard, lbOwnerDrawFixed };

// The ODS_* bits of an owner-draw request, bit for bit.
enum TOwnerDrawStateItem {
  odSelected,
  odGrayed,
  odDisabled,
  odChecked,
  odFocused,
  odDefault,
  odHotLight,
  odInactive,
  odNoAccel,
  odNoFocusRect,
  odReserved1,
  odReserved2,
  odComboBoxEdit
};
using TOwnerDrawState = TSet<TOwnerDrawStateItem>;

using TDrawItemEvent =
    std::function<void(TWinControl* Control, Integer Index, const TRect& Rect, TOwnerDrawState State)>;

class TCustomListBox : public TNativeWinControl {
  VANTREL_CLASS(TCustomListBox)
  explicit TCustomListBox(TComponent* AOwner);
  ~TCustomListBox() override;

  TStrings* Items() const { return FItems.get(); }
  void SetItems(TStrings* Value) { FItems->Assign(Value); }
  Integer Count() const { return FItems->Count(); }
  // The selected row (single selection) or the caret row (multiple selection); -1: none.
  Integer ItemIndex();
  void SetItemIndex(Integer Value);
  // Owner drawing: the fixed row height; a standard list: the font's. Values below 1 are
  // ignored.
  Integer ItemHeight();
  void SetItemHeight(Integer Value);
  Integer TopIndex();
  void SetTopIndex(Integer Value);
  TListBoxStyle Style() const { return FStyle; }
  void SetStyle(TListBoxStyle Value);
  Boolean Sorted() const { return FSorted; }
  void SetSorted(Boolean Value);
  Boolean MultiSelect() const { return FMultiSelect; }
  void SetMultiSelect(Boolean Value);
  Boolean ExtendedSelect() const { return FExtendedSelect; }
  void SetExtendedSelect(Boolean Value);
  Integer Columns() const { return FColumns; }
  void SetColumns(Integer Value);
  Boolean IntegralHeight() const { return FIntegralHeight; }
  void SetIntegralHeight(Boolean Value);
  Boolean AutoComplete() const { return FAutoComplete; }
  void SetAutoComplete(Boolean Value) { FAutoComplete = Value; }
  // -1 for a list with single selection, as the window answers.
  Integer SelCount();
  Boolean Selected(Integer Index);
  void SetSelected(Integer Index, Boolean Value);
  // The row at a client point; outside every row -1 (Existing) or Count.
  Integer ItemAtPos(const TPoint& Pos, Boolean Existing);
  TRect ItemRect(Integer Index);
  void Clear() { FItems->Clear(); }
  void ClearSelection();
  void SelectAll();
  void DeleteSelected();
  TCanvas* Canvas() const { return FCanvas.get(); }

  TDrawItemEvent OnDrawItem;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  void Dispatch(TMessage& Message) override;
  void KeyPress(char32_t& Key) override;
  // Paints row Index of an owner-drawn list: OnDrawItem, else the text on the brush.
  virtual void DrawItem(Integer Index, const TRect& Rect, TOwnerDrawState State);
  virtual void CNDrawItem(TWMDrawItem& Message);
  virtual void CNCommand(TWMCommand& Message);
  // The rows while there is no window.
  TStringList* SavedItems() const { return FSaveItems.get(); }

 private:
  std::unique_ptr<TNativeListStrings> FItems;
  std::unique_ptr<TStringList> FSaveItems;  // the rows while there is no window
  std::vector<Integer> FSaveSelection;
  Integer FSaveItemIndex = -1;
  Integer FSaveTopIndex = 0;
  std::unique_ptr<TControlCanvas> FCanvas;
  TListBoxStyle FStyle = lbStandard;
  Integer FItemHeight = 16;
  Boolean FSorted = false;
  Boolean FMultiSelect = false;
  Boolean FExtendedSelect = true;
  Integer FColumns = 0;
  Boolean FIntegralHeight = false;
  Boolean FAutoComplete = true;
  String FFilter;
  UInt64 FLastTime = 0;
};

class TListBox : public TCustomListBox {
  VANTREL_CLASS(TListBox)
  explicit TListBox(TComponent* AOwner) : TCustomListBox(AOwner) {}
};
