// The tree view's state behind one SysTreeView32 window and the operations its message
// handlers share: the items (TreeView_Items.cpp), the rows, scrolling and painting
// (TreeView_View.cpp) and input and label editing (TreeView_Input.cpp).
#pragma once

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/win/TreeView.h"
#include "platform/win/WndProc.h"

namespace vantrel::win::tree {

struct TreeItemRec {
  TreeItemRec* Parent = nullptr;  // nullptr for the hidden root
  TreeItemRec* First = nullptr;
  TreeItemRec* Last = nullptr;
  TreeItemRec* Next = nullptr;
  TreeItemRec* Prev = nullptr;
  std::string Text;
  bool TextCallback = false;
  int Image = 0;
  int SelectedImage = 0;
  int Children = 0;  // 1: shows a button without children; I_CHILDRENCALLBACK asks
  UINT State = 0;
  LPARAM Param = 0;
  bool Deleting = false;
  HTREEITEM Handle() { return reinterpret_cast<HTREEITEM>(this); }
};

// A visible row: the item and its depth (0 for top items).
struct TreeRow {
  TreeItemRec* Item;
  int Level;
};

class TreeControl {
 public:
  explicit TreeControl(HWND AWnd);
  ~TreeControl();

  HWND Wnd;
  TreeItemRec Root;
  std::unordered_map<TreeItemRec*, std::unique_ptr<TreeItemRec>> Items;
  TreeItemRec* Caret = nullptr;
  int TopRow = 0;
  int XOffset = 0;
  int Indent = 19;
  int ItemHeight = 16;
  HFONT Font = nullptr;
  HTREEIMAGES Images = nullptr;
  HTREEIMAGES StateImages = nullptr;
  COLORREF BkColor = static_cast<COLORREF>(-1);    // -1: the system's window colour
  COLORREF TextColor = static_cast<COLORREF>(-1);  // -1: the system's window text colour
  bool Focused = false;
  bool Destroying = false;
  bool NoRedraw = false;  // WM_SETREDRAW FALSE: changes wait for TRUE
  // Label editing.
  HWND EditWnd = nullptr;
  TreeItemRec* EditItem = nullptr;
  WNDPROC EditOldProc = nullptr;
  WNDPROC EditProc = nullptr;
  // Type-ahead.
  std::u32string Search;
  DWORD SearchTime = 0;
  bool SkipChar = false;

  DWORD Style() const;

  // --- Items (TreeView_Items.cpp) ---
  // The record of a live handle; TVI_ROOT and nullptr give the root when AllowRoot.
  TreeItemRec* Find(HTREEITEM H, bool AllowRoot = false);
  bool Alive(TreeItemRec* I) const { return I == &Root || Items.count(I) != 0; }
  HTREEITEM Insert(const TVINSERTSTRUCT& In);
  // Deletes the item and its subtree (children before the parent, one TVN_DELETEITEM
  // each); the root deletes every item.
  void Delete(TreeItemRec* Item);
  void SetItem(TreeItemRec* Item, const TVITEM& In);
  bool GetItem(TreeItemRec* Item, TVITEM& Out);
  // The text, image or children flag with callbacks answered by the parent.
  std::string TextOf(TreeItemRec* Item);
  int ImageOf(TreeItemRec* Item, bool Selected);
  bool HasButton(TreeItemRec* Item);
  bool Expanded(const TreeItemRec* Item) const { return (Item->State & TVIS_EXPANDED) != 0; }
  // TVM_EXPAND; false when refused or nothing to do.
  bool Expand(TreeItemRec* Item, UINT Code);
  // Makes Item the caret (nullptr: none) and tells the parent; false when refused.
  bool Select(TreeItemRec* Item, UINT Action);
  void Sort(TreeItemRec* Parent, PFNTVCOMPARE Compare, LPARAM Data);
  void SortByText(TreeItemRec* Parent);
  HTREEITEM NextItem(TreeItemRec* Item, UINT Code);
  LRESULT NotifyTree(UINT Code, UINT Action, TreeItemRec* Old, TreeItemRec* New);

  // --- View (TreeView_View.cpp) ---
  void Measure();
  std::vector<TreeRow> Rows();
  int RowOf(TreeItemRec* Item);  // -1 when not in a visible row
  int PageRows() const;          // whole rows in the client area
  int ContentLeft(int Level) const;
  // The label's rectangle of a row (client coordinates).
  RECT LabelRect(const TreeRow& Row, int RowIndex);
  RECT ItemRect(int RowIndex) const;
  void HitTest(TVHITTESTINFO& Info);
  // Keeps TopRow and XOffset valid and publishes the scroll state.
  void UpdateScroll();
  void ScrollTo(int Row, int X);
  void Scroll(bool Vertical, WORD Code, int Thumb);
  void EnsureVisible(TreeItemRec* Item);
  void Changed();  // after the rows changed: scroll state and a repaint
  void Paint(HDC Dc);

  // --- Input (TreeView_Input.cpp) ---
  void MouseDown(int X, int Y, bool Double);
  void RightDown(int X, int Y);
  void KeyDown(WPARAM Key);
  void Char(char32_t Ch);
  HWND EditLabel(TreeItemRec* Item);
  // Ends label editing: the parent hears TVN_ENDLABELEDIT with the text (nullptr when
  // cancelled) and a TRUE answer keeps it.
  void EndEdit(bool Cancel);
  LRESULT Notify(UINT Code);
};

struct TreeControlDeleter {
  void operator()(TreeControl* T) const { delete T; }
};

// The state of a live tree view window (nullptr for other windows).
std::shared_ptr<TreeControl> TreeOf(HWND Wnd);
// New state for a window being made.
std::shared_ptr<TreeControl> MakeTreeControl(HWND Wnd);

}  // namespace vantrel::win::tree
