// The state behind a "SysListView32" window, shared by the files of the class. Private
// to the window class.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/win/ListView.h"
#include "platform/win/WndProc.h"

namespace vantrel::win {

struct ListViewRow {
  std::string Text;
  bool Callback = false;  // LPSTR_TEXTCALLBACK: the parent tells the text
  std::vector<std::string> SubItems;
  int Image = -1;
  LPARAM Param = 0;
};

struct ListViewColumn {
  std::string Text;
  int Width = 50;
  int Fmt = LVCFMT_LEFT;
  int SubItem = 0;
  int Image = -1;
};

class ListViewState {
 public:
  ListViewState(HWND Wnd, DWORD Style);

  // --- Rows, columns, state (ListView_Items.cpp) ---
  int Count() const;
  bool Valid(int Index) const { return Index >= 0 && Index < Count(); }
  bool OwnerData() const { return (FStyle & LVS_OWNERDATA) != 0; }
  DWORD ViewType() const { return FStyle & LVS_TYPEMASK; }
  LRESULT InsertItem(const LVITEM& Item);
  bool DeleteItem(int Index);
  void DeleteAll();
  void SetItemCount(int Count);
  bool SetItem(const LVITEM& Item);
  bool GetItem(LVITEM& Item);
  // The text of a cell (0: the caption), from the parent when it keeps it.
  std::string CellText(int Index, int SubItem);
  int CellImage(int Index);
  UINT State(int Index) const;
  // Sets the masked state bits of one row (-1: all rows), telling the parent.
  void SetState(int Index, UINT State, UINT Mask);
  int Focus() const { return FFocus; }
  int SelectedCount() const;
  int NextItem(int Start, UINT Flags) const;
  LRESULT FindItem(int Start, const LVFINDINFO& Find);
  LRESULT InsertColumn(int Index, const LVCOLUMN& Column);
  bool DeleteColumn(int Index);
  bool SetColumn(int Index, const LVCOLUMN& Column);
  bool GetColumn(int Index, LVCOLUMN& Column) const;
  int ColumnWidth(int Index) const;
  bool SetColumnWidth(int Index, int Width);
  std::vector<int> ColumnOrder() const;
  bool SetColumnOrder(const std::vector<int>& Order);
  int ColumnCount() const { return static_cast<int>(FColumns.size()); }
  HWND Header() const { return FHeader; }
  void HeaderNotify(const NMHEADER& N);
  HIMAGELIST ImageList(WPARAM Which) const;
  HIMAGELIST SetImageList(WPARAM Which, HIMAGELIST List);
  DWORD ExStyle() const { return FExStyle; }
  DWORD SetExStyle(DWORD Mask, DWORD Style);

  // --- Layout, scrolling and painting (ListView_View.cpp) ---
  void Created();
  void StyleChanged(DWORD Style);
  void Resized();
  int RowHeight() const;
  int HeaderHeight() const;
  int TotalColumnWidth() const;
  // List style: the width of every column, set (LVM_SETCOLUMNWIDTH) or that of the
  // widest label.
  int ListColumnWidth() const;
  bool SetListColumnWidth(int Width);
  // The labels changed: the list style measures them again when it next needs to.
  void LabelsChanged() { FMeasuredListWidth = -1; }
  // One row's label changed or came: the columns widen when it is the widest now.
  void LabelChanged(int Index);
  int RowsPerColumn() const;  // list style
  int PerRow() const;         // icon styles: cells in a row
  SIZE CellSize() const;      // icon styles
  int CountPerPage() const;
  int TopIndex() const;
  RECT ItemRect(int Index, int Code) const;
  RECT SubItemRect(int Index, int Column) const;
  int HitTest(POINT P, UINT& Flags, int* SubItem) const;
  void UpdateScroll();
  // Scrolls by pixels (rounded to rows in report style, to columns in list style).
  void Scroll(int DX, int DY);
  void OnScroll(bool Vertical, WORD Code, int Thumb);
  bool EnsureVisible(int Index);
  void Invalidate();
  void InvalidateItem(int Index);
  void Paint(HDC Dc);
  HFONT Font() const { return FFont; }
  void SetFont(HFONT Font);
  int StringWidth(const std::string& Text) const;
  void SetRedraw(bool On);
  COLORREF BkColor() const { return FBkColor; }
  void SetBkColor(COLORREF C);

  // --- Input (ListView_Input.cpp) ---
  void MouseDown(POINT P, WPARAM Keys, bool Right, bool Double);
  void MouseUp(POINT P, bool Right);
  void KeyDown(WPARAM Vk);
  void Char(char32_t C);
  void Wheel(int Delta);
  void FocusChanged(bool Focused);

  // --- Caption editing (ListView_Input.cpp) ---
  // Puts an EDIT over the row's label unless the parent refuses (LVN_BEGINLABELEDIT);
  // the edit, or nullptr.
  HWND EditLabel(int Index);
  // Ends editing: the parent hears LVN_ENDLABELEDIT with the text (none when
  // cancelled); Notify false ends it silently (the view is going).
  void EndEdit(bool Cancel, bool Notify = true);
  HWND EditWindow() const { return FEditWnd; }
  WNDPROC EditOldProc() const { return FEditOldProc; }
  int EditItem() const { return FEditWnd ? FEditItem : -1; }
  // A second click on the focused, selected row's label: editing starts when no double
  // click follows within the double-click time.
  // Widens the editor to its text.
  void FitEditor();
  void ArmSlowEdit(int Index);
  void DisarmSlowEdit();
  void SlowEditDue();
  // The row Index goes away (-1: all of them, or those at and past Count()).
  void RowsVanish(int Index);

  NMLISTVIEW ItemRecord(int Index) const;

 private:
  void PlaceHeader();
  void CreateHeader();
  void PaintRow(HDC Dc, int Index);
  void PaintIconCell(HDC Dc, int Index, bool Large);
  void SelectRange(int From, int To, bool Clear);
  void MoveFocus(int Index, bool Shift, bool Ctrl);
  void ClampScroll();
  void ScrollRowsFrom(int OldTop);
  int MeasureListColumn();

  HWND FWnd;
  DWORD FStyle;
  DWORD FExStyle = 0;
  HWND FHeader = nullptr;
  std::vector<ListViewRow> FRows;
  int FOwnerCount = 0;
  std::vector<bool> FSelected;  // by row
  int FFocus = -1;
  int FAnchor = -1;
  std::vector<ListViewColumn> FColumns;
  std::vector<int> FOrder;  // without a header
  HIMAGELIST FLarge = nullptr, FSmall = nullptr, FStateImages = nullptr;
  HFONT FFont = nullptr;
  COLORREF FBkColor;
  bool FRedraw = true;
  bool FFocused = false;
  // Scrolling: first row (report), first column (list), pixels (icon styles and the
  // report's horizontal offset).
  int FTop = 0;
  int FTopColumn = 0;
  int FXPos = 0;
  int FYPos = 0;
  int FWheelRest = 0;
  int FLineHeight = 16;
  int FListWidth = 0;  // list style: the width of a column as set; 0: measured
  mutable int FMeasuredListWidth = -1;  // -1: not measured since the labels changed
  std::string FTyped;
  uint64_t FTypedAt = 0;
  // Caption editing.
  HWND FEditWnd = nullptr;
  int FEditItem = -1;
  WNDPROC FEditProc = nullptr;
  WNDPROC FEditOldProc = nullptr;
  int FSlowEditItem = -1;  // armed by a second click, -1: none
};

// The timer of the slow second click.
constexpr UINT_PTR ListViewSlowEditTimer = 0x4C45;

ListViewState* ListViewOf(HWND Wnd);

}  // namespace vantrel::win
