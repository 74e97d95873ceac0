// The native tree view (window class "SysTreeView32"): a hierarchy of items with text,
// images, a children flag for branches filled on demand, expanding and collapsing,
// selection, in-place label editing on an EDIT child and scroll state for bars drawn
// elsewhere (SB_VERT in rows, SB_HORZ in pixels). It tells its parent what happens
// through WM_NOTIFY. Text is UTF-8.
#pragma once

#include "platform/win/Gdi.h"
#include "platform/win/Messages.h"

VANTREL_DECLARE_HANDLE(HTREEITEM);

namespace vantrel::win {

// What the tree needs of an image list. TVM_SETIMAGELIST hands the tree a pointer to one
// (as the image-list handle); the owner keeps it alive while the tree uses it.
class TreeImageSource {
 public:
  virtual ~TreeImageSource() = default;
  virtual SIZE ImageSize() const = 0;
  virtual int ImageCount() const = 0;
  // Draws image Index at (X, Y); masked pixels take the list's background colour unless
  // it has none.
  virtual void Draw(int Index, HDC Dc, int X, int Y) const = 0;
};

}  // namespace vantrel::win

using HTREEIMAGES = vantrel::win::TreeImageSource*;

// --- Styles -------------------------------------------------------------------------------
constexpr DWORD TVS_HASBUTTONS = 0x0001;
constexpr DWORD TVS_HASLINES = 0x0002;
constexpr DWORD TVS_LINESATROOT = 0x0004;
constexpr DWORD TVS_EDITLABELS = 0x0008;
constexpr DWORD TVS_DISABLEDRAGDROP = 0x0010;
constexpr DWORD TVS_SHOWSELALWAYS = 0x0020;

// --- Messages -----------------------------------------------------------------------------
constexpr UINT TV_FIRST = 0x1100;
constexpr UINT TVM_INSERTITEM = TV_FIRST + 0;
constexpr UINT TVM_DELETEITEM = TV_FIRST + 1;
constexpr UINT TVM_EXPAND = TV_FIRST + 2;
constexpr UINT TVM_GETITEMRECT = TV_FIRST + 4;
constexpr UINT TVM_GETCOUNT = TV_FIRST + 5;
constexpr UINT TVM_GETINDENT = TV_FIRST + 6;
constexpr UINT TVM_SETINDENT = TV_FIRST + 7;
constexpr UINT TVM_GETIMAGELIST = TV_FIRST + 8;
constexpr UINT TVM_SETIMAGELIST = TV_FIRST + 9;
constexpr UINT TVM_GETNEXTITEM = TV_FIRST + 10;
constexpr UINT TVM_SELECTITEM = TV_FIRST + 11;
constexpr UINT TVM_GETITEM = TV_FIRST + 12;
constexpr UINT TVM_SETITEM = TV_FIRST + 13;
constexpr UINT TVM_EDITLABEL = TV_FIRST + 14;
constexpr UINT TVM_GETEDITCONTROL = TV_FIRST + 15;
constexpr UINT TVM_GETVISIBLECOUNT = TV_FIRST + 16;
constexpr UINT TVM_HITTEST = TV_FIRST + 17;
constexpr UINT TVM_SORTCHILDREN = TV_FIRST + 19;
constexpr UINT TVM_ENSUREVISIBLE = TV_FIRST + 20;
constexpr UINT TVM_SORTCHILDRENCB = TV_FIRST + 21;
constexpr UINT TVM_ENDEDITLABELNOW = TV_FIRST + 22;
constexpr UINT TVM_GETITEMHEIGHT = TV_FIRST + 28;
constexpr UINT TVM_SETBKCOLOR = TV_FIRST + 29;
constexpr UINT TVM_SETTEXTCOLOR = TV_FIRST + 30;

// Insert positions and the root.
inline const HTREEITEM TVI_ROOT = reinterpret_cast<HTREEITEM>(static_cast<ULONG_PTR>(-0x10000));
inline const HTREEITEM TVI_FIRST = reinterpret_cast<HTREEITEM>(static_cast<ULONG_PTR>(-0x0FFFF));
inline const HTREEITEM TVI_LAST = reinterpret_cast<HTREEITEM>(static_cast<ULONG_PTR>(-0x0FFFE));
inline const HTREEITEM TVI_SORT = reinterpret_cast<HTREEITEM>(static_cast<ULONG_PTR>(-0x0FFFD));

// TVITEM masks.
constexpr UINT TVIF_TEXT = 0x0001;
constexpr UINT TVIF_IMAGE = 0x0002;
constexpr UINT TVIF_PARAM = 0x0004;
constexpr UINT TVIF_STATE = 0x0008;
constexpr UINT TVIF_HANDLE = 0x0010;
constexpr UINT TVIF_SELECTEDIMAGE = 0x0020;
constexpr UINT TVIF_CHILDREN = 0x0040;

// Item states.
constexpr UINT TVIS_SELECTED = 0x0002;
constexpr UINT TVIS_CUT = 0x0004;
constexpr UINT TVIS_DROPHILITED = 0x0008;
constexpr UINT TVIS_BOLD = 0x0010;
constexpr UINT TVIS_EXPANDED = 0x0020;
constexpr UINT TVIS_EXPANDEDONCE = 0x0040;
constexpr UINT TVIS_OVERLAYMASK = 0x0F00;
constexpr UINT TVIS_STATEIMAGEMASK = 0xF000;

// Values asked of the parent through TVN_GETDISPINFO.
constexpr int I_CHILDRENCALLBACK = -1;

// TVM_EXPAND actions.
constexpr UINT TVE_COLLAPSE = 0x0001;
constexpr UINT TVE_EXPAND = 0x0002;
constexpr UINT TVE_TOGGLE = 0x0003;
constexpr UINT TVE_COLLAPSERESET = 0x8000;

// TVM_GETNEXTITEM / TVM_SELECTITEM.
constexpr UINT TVGN_ROOT = 0x0000;
constexpr UINT TVGN_NEXT = 0x0001;
constexpr UINT TVGN_PREVIOUS = 0x0002;
constexpr UINT TVGN_PARENT = 0x0003;
constexpr UINT TVGN_CHILD = 0x0004;
constexpr UINT TVGN_FIRSTVISIBLE = 0x0005;
constexpr UINT TVGN_NEXTVISIBLE = 0x0006;
constexpr UINT TVGN_PREVIOUSVISIBLE = 0x0007;
constexpr UINT TVGN_DROPHILITE = 0x0008;
constexpr UINT TVGN_CARET = 0x0009;
constexpr UINT TVGN_LASTVISIBLE = 0x000A;

// TVM_GET/SETIMAGELIST.
constexpr WPARAM TVSIL_NORMAL = 0;
constexpr WPARAM TVSIL_STATE = 2;

// TVM_HITTEST results.
constexpr UINT TVHT_NOWHERE = 0x0001;
constexpr UINT TVHT_ONITEMICON = 0x0002;
constexpr UINT TVHT_ONITEMLABEL = 0x0004;
constexpr UINT TVHT_ONITEMINDENT = 0x0008;
constexpr UINT TVHT_ONITEMBUTTON = 0x0010;
constexpr UINT TVHT_ONITEMRIGHT = 0x0020;
constexpr UINT TVHT_ONITEMSTATEICON = 0x0040;
constexpr UINT TVHT_ONITEM = TVHT_ONITEMICON | TVHT_ONITEMLABEL | TVHT_ONITEMSTATEICON;
constexpr UINT TVHT_ABOVE = 0x0100;
constexpr UINT TVHT_BELOW = 0x0200;
constexpr UINT TVHT_TORIGHT = 0x0400;
constexpr UINT TVHT_TOLEFT = 0x0800;

// What caused a selection change.
constexpr UINT TVC_UNKNOWN = 0x0000;
constexpr UINT TVC_BYMOUSE = 0x0001;
constexpr UINT TVC_BYKEYBOARD = 0x0002;

// --- Notifications ------------------------------------------------------------------------
constexpr UINT TVN_FIRST = static_cast<UINT>(-400);
constexpr UINT TVN_SELCHANGING = TVN_FIRST - 1;
constexpr UINT TVN_SELCHANGED = TVN_FIRST - 2;
constexpr UINT TVN_GETDISPINFO = TVN_FIRST - 3;
constexpr UINT TVN_SETDISPINFO = TVN_FIRST - 4;
constexpr UINT TVN_ITEMEXPANDING = TVN_FIRST - 5;
constexpr UINT TVN_ITEMEXPANDED = TVN_FIRST - 6;
constexpr UINT TVN_BEGINDRAG = TVN_FIRST - 7;
constexpr UINT TVN_BEGINRDRAG = TVN_FIRST - 8;
constexpr UINT TVN_DELETEITEM = TVN_FIRST - 9;
constexpr UINT TVN_BEGINLABELEDIT = TVN_FIRST - 10;
constexpr UINT TVN_ENDLABELEDIT = TVN_FIRST - 11;
constexpr UINT TVN_KEYDOWN = TVN_FIRST - 12;

// --- Records ------------------------------------------------------------------------------
struct TVITEM {
  UINT mask = 0;
  HTREEITEM hItem = nullptr;
  UINT state = 0;
  UINT stateMask = 0;
  LPSTR pszText = nullptr;
  int cchTextMax = 0;
  int iImage = 0;
  int iSelectedImage = 0;
  int cChildren = 0;
  LPARAM lParam = 0;
};
using LPTVITEM = TVITEM*;

struct TVINSERTSTRUCT {
  HTREEITEM hParent = nullptr;
  HTREEITEM hInsertAfter = nullptr;
  TVITEM item;
};

struct TVHITTESTINFO {
  POINT pt{};
  UINT flags = 0;
  HTREEITEM hItem = nullptr;
};

struct NMTREEVIEW {
  NMHDR hdr;
  UINT action = 0;
  TVITEM itemOld;
  TVITEM itemNew;
  POINT ptDrag{};
};

struct NMTVDISPINFO {
  NMHDR hdr;
  TVITEM item;
};

struct NMTVKEYDOWN {
  NMHDR hdr;
  WORD wVKey = 0;
  UINT flags = 0;
};

using PFNTVCOMPARE = int (*)(LPARAM Param1, LPARAM Param2, LPARAM ParamSort);

struct TVSORTCB {
  HTREEITEM hParent = nullptr;
  PFNTVCOMPARE lpfnCompare = nullptr;
  LPARAM lParam = 0;
};

// The class's window procedure (registered as "SysTreeView32" when the window manager
// starts).
LRESULT TreeViewWindowProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);
