// Menu handles: popup menus built item by item (texts with a tab before the short-cut
// text, separators, grayed, checked and radio-checked items, owner-drawn items, sub-menus,
// one default item) and TrackPopupMenu, which shows one as a top-most window and runs a
// modal tracking loop over the GUI thread's queue until an item is chosen or the menu is
// dismissed. Handles are never reused, so a destroyed menu is detectably invalid.
#pragma once

#include "platform/win/Messages.h"

// Item flags of AppendMenu/InsertMenu, and the states GetMenuState returns.
constexpr UINT MF_STRING = 0x00000000;
constexpr UINT MF_BYCOMMAND = 0x00000000;
constexpr UINT MF_ENABLED = 0x00000000;
constexpr UINT MF_UNCHECKED = 0x00000000;
constexpr UINT MF_GRAYED = 0x00000001;
constexpr UINT MF_DISABLED = 0x00000002;
constexpr UINT MF_CHECKED = 0x00000008;
constexpr UINT MF_POPUP = 0x00000010;
constexpr UINT MF_HILITE = 0x00000080;
constexpr UINT MF_OWNERDRAW = 0x00000100;
constexpr UINT MF_RADIOCHECK = 0x00000200;
constexpr UINT MF_BYPOSITION = 0x00000400;
constexpr UINT MF_SEPARATOR = 0x00000800;
constexpr UINT MF_DEFAULT = 0x00001000;

// MENUITEMINFO.
constexpr UINT MIIM_STATE = 0x0001;
constexpr UINT MIIM_ID = 0x0002;
constexpr UINT MIIM_SUBMENU = 0x0004;
constexpr UINT MIIM_TYPE = 0x0010;
constexpr UINT MIIM_DATA = 0x0020;
constexpr UINT MIIM_STRING = 0x0040;
constexpr UINT MIIM_FTYPE = 0x0100;
constexpr UINT MFT_STRING = MF_STRING;
constexpr UINT MFT_OWNERDRAW = MF_OWNERDRAW;
constexpr UINT MFT_RADIOCHECK = MF_RADIOCHECK;
constexpr UINT MFT_SEPARATOR = MF_SEPARATOR;
constexpr UINT MFS_GRAYED = 0x00000003;
constexpr UINT MFS_DISABLED = MFS_GRAYED;
constexpr UINT MFS_CHECKED = MF_CHECKED;
constexpr UINT MFS_HILITE = MF_HILITE;
constexpr UINT MFS_ENABLED = 0;
constexpr UINT MFS_DEFAULT = MF_DEFAULT;

struct MENUITEMINFO {
  UINT cbSize = sizeof(MENUITEMINFO);
  UINT fMask = 0;
  UINT fType = 0;
  UINT fState = 0;
  UINT wID = 0;
  HMENU hSubMenu = nullptr;
  HBITMAP hbmpChecked = nullptr;
  HBITMAP hbmpUnchecked = nullptr;
  ULONG_PTR dwItemData = 0;
  LPSTR dwTypeData = nullptr;
  UINT cch = 0;
  HBITMAP hbmpItem = nullptr;
};
using MENUITEMINFOW = MENUITEMINFO;
using LPCMENUITEMINFO = const MENUITEMINFO*;

// TrackPopupMenu flags.
constexpr UINT TPM_LEFTBUTTON = 0x0000;
constexpr UINT TPM_RIGHTBUTTON = 0x0002;
constexpr UINT TPM_LEFTALIGN = 0x0000;
constexpr UINT TPM_CENTERALIGN = 0x0004;
constexpr UINT TPM_RIGHTALIGN = 0x0008;
constexpr UINT TPM_TOPALIGN = 0x0000;
constexpr UINT TPM_VCENTERALIGN = 0x0010;
constexpr UINT TPM_BOTTOMALIGN = 0x0020;
constexpr UINT TPM_NONOTIFY = 0x0080;
constexpr UINT TPM_RETURNCMD = 0x0100;

// WM_ENTERIDLE's wParam while a menu idles (its lParam: the menu's window).
constexpr WPARAM MSGF_MENU = 2;

struct TPMPARAMS {
  UINT cbSize = sizeof(TPMPARAMS);
  RECT rcExclude{};
};

HMENU CreatePopupMenu();
// Destroys the menu and its sub-menus. FALSE with ERROR_INVALID_MENU_HANDLE for a menu
// that does not exist (any more).
BOOL DestroyMenu(HMENU Menu);
BOOL IsMenu(HMENU Menu);

// NewItem: the text ("&" marks the hot key, a tab starts the short-cut text) of a string
// item, the item data of an MF_OWNERDRAW item, ignored for a separator. With MF_POPUP,
// IdNewItem is the sub-menu's handle (the menu then owns it).
BOOL AppendMenu(HMENU Menu, UINT Flags, UINT_PTR IdNewItem, LPCSTR NewItem);
// Before the item at Position (MF_BYPOSITION; -1 or past the end appends) or before the
// item with that command id (MF_BYCOMMAND).
BOOL InsertMenu(HMENU Menu, UINT Position, UINT Flags, UINT_PTR IdNewItem, LPCSTR NewItem);
BOOL InsertMenuItem(HMENU Menu, UINT Item, BOOL ByPosition, LPCMENUITEMINFO Info);
inline BOOL AppendMenuW(HMENU M, UINT F, UINT_PTR I, LPCSTR N) { return AppendMenu(M, F, I, N); }
inline BOOL InsertMenuW(HMENU M, UINT P, UINT F, UINT_PTR I, LPCSTR N) { return InsertMenu(M, P, F, I, N); }
inline BOOL InsertMenuItemW(HMENU M, UINT I, BOOL B, LPCMENUITEMINFO Info) { return InsertMenuItem(M, I, B, Info); }

// Makes the item (by command id, or by position when ByPos) the default item, drawn in
// bold; Item (UINT)-1 leaves none.
BOOL SetMenuDefaultItem(HMENU Menu, UINT Item, UINT ByPos);
// -1 for an invalid menu.
int GetMenuItemCount(HMENU Menu);
// The command id of the item at Pos; (UINT)-1 for a sub-menu item or no such item.
UINT GetMenuItemID(HMENU Menu, int Pos);
HMENU GetSubMenu(HMENU Menu, int Pos);
// Copies the item's text (at most MaxCount - 1 characters and a 0); with no buffer, the
// text's length. 0 for no such item.
int GetMenuString(HMENU Menu, UINT Item, LPSTR Buffer, int MaxCount, UINT Flags);
// The item's flags (MF_GRAYED, MF_CHECKED, MF_POPUP, MF_SEPARATOR, ...); (UINT)-1 for
// no such item.
UINT GetMenuState(HMENU Menu, UINT Item, UINT Flags);
// Enable: MF_ENABLED, MF_GRAYED or MF_DISABLED, with MF_BYCOMMAND or MF_BYPOSITION. The
// previous state (MF_GRAYED, MF_DISABLED bits), or (DWORD)-1 for no such item.
DWORD EnableMenuItem(HMENU Menu, UINT Item, UINT Enable);
// Check: MF_CHECKED or MF_UNCHECKED, by command or position. The previous MF_CHECKED
// bit, or (DWORD)-1 for no such item.
DWORD CheckMenuItem(HMENU Menu, UINT Item, UINT Check);
// The screen rectangle of the item at position Item of a menu that is open now.
BOOL GetMenuItemRect(HWND Wnd, HMENU Menu, UINT Item, LPRECT Rect);

// Shows the menu at the screen point (aligned by the flags, and flipped to the other side
// of the point where it would leave the screen) and tracks it: the owner gets
// WM_ENTERMENULOOP, WM_INITMENUPOPUP before each (sub-)menu shows, WM_MEASUREITEM and
// WM_DRAWITEM (ODT_MENU) for owner-drawn items, and WM_EXITMENULOOP (none of them with
// TPM_NONOTIFY). A left click chooses (a right click too with TPM_RIGHTBUTTON); Esc, Alt
// or a press outside dismisses. With TPM_RETURNCMD the chosen command id comes back (0
// for none); otherwise the owner is posted WM_COMMAND with it and the result is TRUE. On
// the virtual clock of tests the end of the queued input dismisses the menu.
BOOL TrackPopupMenu(HMENU Menu, UINT Flags, int X, int Y, int Reserved, HWND Owner, const RECT* Ignored);
BOOL TrackPopupMenuEx(HMENU Menu, UINT Flags, int X, int Y, HWND Owner, TPMPARAMS* Params);

namespace vantrel::win {

// Height of a plain item or a separator.
constexpr int MenuItemHeight = 20;
// The screen rectangle item Pos would have when the menu opened at (X, Y) with Flags
// (owner-drawn items are measured by Owner); empty when there is no such item.
RECT PopupMenuItemRect(HMENU Menu, HWND Owner, int X, int Y, UINT Flags, int Pos);
// The window of a menu while it is tracked, else null.
HWND MenuWindow(HMENU Menu);

}  // namespace vantrel::win
