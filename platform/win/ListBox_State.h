// The state behind a "LISTBOX" window, shared by the files of the class: items,
// selection, caret and anchor, the first visible row, geometry and the scroll state it
// publishes. Private to the window class.
#pragma once

#include <string>
#include <vector>

#include "platform/win/ListBox.h"
#include "platform/win/WinTypes.h"

namespace vantrel::win {

struct ListBoxItem {
  std::string Text;
  ULONG_PTR Data = 0;
  bool Selected = false;  // lists with several selected rows
};

class ListBoxState {
 public:
  ListBoxState(HWND Wnd, DWORD Style);

  // --- Items and selection (ListBox_Items.cpp) ---
  LRESULT Add(const std::string& Text, ULONG_PTR Data);
  LRESULT Insert(int Index, const std::string& Text, ULONG_PTR Data);
  LRESULT Remove(int Index);
  void Reset();
  int Count() const { return static_cast<int>(FItems.size()); }
  bool Valid(int Index) const { return Index >= 0 && Index < Count(); }
  const ListBoxItem& Item(int Index) const { return FItems[static_cast<size_t>(Index)]; }
  ListBoxItem& Item(int Index) { return FItems[static_cast<size_t>(Index)]; }
  // Case-insensitive prefix (or, Exact, whole-text) search after Start, wrapping; -1
  // searches from the first row. LB_ERR when nothing matches.
  LRESULT Find(int Start, const std::string& Text, bool Exact) const;
  bool MultiSel() const { return (FStyle & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL)) != 0; }
  bool Extended() const { return (FStyle & LBS_EXTENDEDSEL) != 0; }
  bool HasStrings() const { return (FStyle & LBS_HASSTRINGS) || !OwnerDraw(); }
  bool OwnerDraw() const { return (FStyle & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE)) != 0; }
  bool NoSel() const { return (FStyle & LBS_NOSEL) != 0; }
  bool IsSelected(int Index) const;
  // Single selection: the selected row or -1.
  int Current() const { return FCurrent; }
  // Single selection: selects Index (-1: none), the caret follows; true when it changed.
  bool SetCurrent(int Index);
  // Several selected rows: sets or clears rows First..Last (any order).
  void SelectRange(int First, int Last, bool Select);
  void SelectOnly(int Index);
  int SelCount() const;
  int Caret() const { return FCaret; }
  void SetCaret(int Index);
  int Anchor() const { return FAnchor; }
  void SetAnchor(int Index) { FAnchor = Index; }
  // The selection as one value, to tell whether a gesture changed it.
  std::vector<int> SelectionSnapshot() const;

  // --- Geometry and scrolling (ListBox_View.cpp) ---
  int ItemHeight() const { return FItemHeight; }
  bool SetItemHeight(int Height);
  bool MultiColumn() const { return (FStyle & LBS_MULTICOLUMN) != 0; }
  int ColumnWidth() const { return FColumnWidth; }
  void SetColumnWidth(int Width);
  int HorizontalExtent() const { return FHorzExtent; }
  void SetHorizontalExtent(int Extent);
  RECT Client() const;
  // Whole rows in the client height (at least 1).
  int WholeRows() const;
  // Rows of one column in a multi-column list, or the whole rows of a plain one.
  int RowsPerColumn() const { return WholeRows(); }
  int WholeColumns() const;
  int Top() const { return FTop; }
  // Clamps so the last page stays full, scrolls the pixels and republishes the state.
  void SetTop(int Index);
  int MaxTop() const;
  // Scrolls so Index is fully visible.
  void MakeVisible(int Index);
  RECT ItemRect(int Index) const;
  // The row at a client point, clamped to the nearest; Outside is set when the point lies
  // outside every row. -1 for an empty list.
  int ItemFromPoint(POINT P, bool& Outside) const;
  // Publishes the scroll state (range, page, position).
  void UpdateScroll();
  void OnVScroll(WORD Code, int Thumb);
  void OnHScroll(WORD Code, int Thumb);
  void InvalidateItem(int Index);
  void InvalidateAll();
  void Paint(HDC Dc, const RECT* Area);
  void EraseBackground(HDC Dc);
  HFONT Font() const { return FFont; }
  void SetFont(HFONT Font, bool Redraw);
  void SetRedraw(bool On);
  void StyleChanged(DWORD Style);
  void Created();  // WM_CREATE: item height from the font or the parent (owner draw)
  // Without LBS_NOINTEGRALHEIGHT the window drops the part of a row at its bottom.
  void FitIntegralHeight();

  // --- Input (ListBox_Input.cpp) ---
  void MouseDown(POINT P, WPARAM Keys, bool Double);
  void MouseMove(POINT P);
  void MouseUp();
  void CaptureLost();
  void KeyDown(WPARAM Vk);
  void Char(char32_t C);
  void Wheel(int Delta);
  void FocusChanged(bool Focused);
  bool Focused() const { return FFocused; }

  void Notify(WORD Code);

 private:
  bool InsertItem(int Index, ListBoxItem Item);
  void ShiftAfterInsert(int Index);
  void ShiftAfterRemove(int Index);
  void DrawItem(HDC Dc, int Index, UINT Action);
  void MoveCaretTo(int Index, bool Shift, bool Ctrl);
  void TrackTo(int Index);
  HBRUSH BackgroundBrush(HDC Dc);
  int HorzOffset() const;

  HWND FWnd;
  DWORD FStyle;
  std::vector<ListBoxItem> FItems;
  int FCurrent = -1;  // single selection
  int FCaret = 0;
  int FAnchor = -1;
  int FTop = 0;
  int FItemHeight = 16;
  // Whole rows (without LBS_NOINTEGRALHEIGHT): the client height asked for from outside,
  // the one we cut it to, and whether our own cut is under way.
  int FAskedHeight = 0;
  int FFittedHeight = -1;
  bool FFitting = false;
  int FColumnWidth = 64;
  int FHorzExtent = 0;
  int FHorzPos = 0;
  HFONT FFont = nullptr;
  bool FRedraw = true;
  bool FFocused = false;
  // Mouse selection under capture.
  bool FTracking = false;
  std::vector<int> FPressSelection;
  bool FTrackSelect = true;  // extended drag: the rows become selected (not cleared)
  std::vector<bool> FTrackBase;  // extended drag with Ctrl: the rows' state at the press
  int FWheelRest = 0;
};

ListBoxState* ListBoxOf(HWND Wnd);

}  // namespace vantrel::win
