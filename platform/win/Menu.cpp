#include "platform/win/Menu.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <mutex>

#include "platform/win/MenuData.h"
#include "platform/win/WindowErrors.h"

namespace vantrel::win {

namespace {

struct MenuHandleTable {
  uintptr_t Next = 0x4D000001;
  std::map<uintptr_t, std::unique_ptr<MenuRecord>> Live;
};

// Menus belong to the GUI thread; the table is the process's, as the window system's is.
MenuHandleTable& MenuHandles() {
  static MenuHandleTable* Table = new MenuHandleTable;
  return *Table;
}

// The index of the item Item names (a position or a command id searched depth first in
// sub-menus), with the menu that holds it; -1 when there is none.
int FindMenuItem(HMENU& Menu, UINT Item, UINT Flags) {
  MenuRecord* R = FindMenuRecord(Menu);
  if (!R) return -1;
  if (Flags & MF_BYPOSITION) return Item < R->Items.size() ? static_cast<int>(Item) : -1;
  for (size_t I = 0; I < R->Items.size(); ++I) {
    const MenuItemRecord& It = R->Items[I];
    if (It.SubMenu) {
      HMENU Sub = It.SubMenu;
      const int Found = FindMenuItem(Sub, Item, Flags);
      if (Found >= 0) {
        Menu = Sub;
        return Found;
      }
    } else if (!It.IsSeparator() && It.Id == Item) {
      return static_cast<int>(I);
    }
  }
  return -1;
}

MenuItemRecord* MenuItemOf(HMENU Menu, UINT Item, UINT Flags) {
  const int I = FindMenuItem(Menu, Item, Flags);
  if (I < 0) return nullptr;
  return &FindMenuRecord(Menu)->Items[static_cast<size_t>(I)];
}

BOOL InsertMenuRecord(HMENU Menu, UINT Item, bool ByPosition, MenuItemRecord Record) {
  MenuRecord* R = FindMenuRecord(Menu);
  if (!R) return FALSE;
  if (Record.SubMenu && (!FindMenuRecord(Record.SubMenu) || Record.SubMenu == Menu)) return FALSE;
  size_t At = R->Items.size();
  HMENU Holder = Menu;
  if (ByPosition) {
    At = std::min<size_t>(Item, R->Items.size());  // (UINT)-1 appends
  } else if (Item != static_cast<UINT>(-1)) {
    const int Found = FindMenuItem(Holder, Item, MF_BYCOMMAND);
    if (Found < 0) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return FALSE;
    }
    R = FindMenuRecord(Holder);
    At = static_cast<size_t>(Found);
  }
  R->Items.insert(R->Items.begin() + static_cast<std::ptrdiff_t>(At), std::move(Record));
  return TRUE;
}

MenuItemRecord RecordOfFlags(UINT Flags, UINT_PTR Id, LPCSTR NewItem) {
  MenuItemRecord It;
  It.Type = Flags & (MF_SEPARATOR | MF_OWNERDRAW | MF_RADIOCHECK);
  It.State = Flags & (MF_GRAYED | MF_DISABLED | MF_CHECKED);
  It.Default = Flags & MF_DEFAULT;
  if (Flags & MF_POPUP) {
    It.SubMenu = reinterpret_cast<HMENU>(Id);
  } else {
    It.Id = Id;
  }
  if (It.IsOwnerDrawn()) {
    It.Data = reinterpret_cast<ULONG_PTR>(NewItem);
  } else if (!It.IsSeparator() && NewItem) {
    It.Text = NewItem;
  }
  return It;
}

}  // namespace

MenuRecord* FindMenuRecord(HMENU Menu) {
  MenuHandleTable& T = MenuHandles();
  const auto It = T.Live.find(reinterpret_cast<uintptr_t>(Menu));
  if (It == T.Live.end()) {
    SetLastError(ERROR_INVALID_MENU_HANDLE);
    return nullptr;
  }
  return It->second.get();
}

}  // namespace vantrel::win

using vantrel::win::FindMenuRecord;
using vantrel::win::MenuItemRecord;
using vantrel::win::MenuRecord;

HMENU CreatePopupMenu() {
  vantrel::win::MenuHandleTable& T = vantrel::win::MenuHandles();
  const uintptr_t Id = T.Next++;
  T.Live.emplace(Id, std::make_unique<MenuRecord>());
  return reinterpret_cast<HMENU>(Id);
}

BOOL DestroyMenu(HMENU Menu) {
  MenuRecord* R = FindMenuRecord(Menu);
  if (!R) return FALSE;
  std::vector<HMENU> Subs;
  for (const MenuItemRecord& It : R->Items)
    if (It.SubMenu) Subs.push_back(It.SubMenu);
  vantrel::win::MenuHandles().Live.erase(reinterpret_cast<uintptr_t>(Menu));
  for (HMENU S : Subs) DestroyMenu(S);
  return TRUE;
}

BOOL IsMenu(HMENU Menu) {
  const auto& Live = vantrel::win::MenuHandles().Live;
  return Live.count(reinterpret_cast<uintptr_t>(Menu)) ? TRUE : FALSE;
}

BOOL AppendMenu(HMENU Menu, UINT Flags, UINT_PTR IdNewItem, LPCSTR NewItem) {
  return vantrel::win::InsertMenuRecord(Menu, static_cast<UINT>(-1), true,
                                        vantrel::win::RecordOfFlags(Flags, IdNewItem, NewItem));
}

BOOL InsertMenu(HMENU Menu, UINT Position, UINT Flags, UINT_PTR IdNewItem, LPCSTR NewItem) {
  return vantrel::win::InsertMenuRecord(Menu, Position, Flags & MF_BYPOSITION,
                                        vantrel::win::RecordOfFlags(Flags, IdNewItem, NewItem));
}

BOOL InsertMenuItem(HMENU Menu, UINT Item, BOOL ByPosition, LPCMENUITEMINFO Info) {
  if (!Info) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  MenuItemRecord It;
  if (Info->fMask & (MIIM_FTYPE | MIIM_TYPE)) It.Type = Info->fType & (MF_SEPARATOR | MF_OWNERDRAW | MF_RADIOCHECK);
  if (Info->fMask & MIIM_STATE) {
    It.State = Info->fState & (MF_GRAYED | MF_DISABLED | MF_CHECKED);
    It.Default = Info->fState & MFS_DEFAULT;
  }
  if (Info->fMask & MIIM_ID) It.Id = Info->wID;
  if (Info->fMask & MIIM_SUBMENU) It.SubMenu = Info->hSubMenu;
  if (Info->fMask & MIIM_DATA) It.Data = Info->dwItemData;
  if ((Info->fMask & MIIM_STRING) || ((Info->fMask & MIIM_TYPE) && !It.IsSeparator() && !It.IsOwnerDrawn()))
    if (Info->dwTypeData) It.Text = Info->dwTypeData;
  return vantrel::win::InsertMenuRecord(Menu, Item, ByPosition, std::move(It));
}

BOOL SetMenuDefaultItem(HMENU Menu, UINT Item, UINT ByPos) {
  MenuRecord* R = FindMenuRecord(Menu);
  if (!R) return FALSE;
  int Index = -1;
  if (Item != static_cast<UINT>(-1)) {
    for (size_t I = 0; I < R->Items.size() && Index < 0; ++I)
      if (ByPos ? I == Item : (!R->Items[I].SubMenu && !R->Items[I].IsSeparator() && R->Items[I].Id == Item))
        Index = static_cast<int>(I);
    if (Index < 0) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return FALSE;
    }
  }
  for (size_t I = 0; I < R->Items.size(); ++I) R->Items[I].Default = static_cast<int>(I) == Index;
  return TRUE;
}

int GetMenuItemCount(HMENU Menu) {
  MenuRecord* R = FindMenuRecord(Menu);
  return R ? static_cast<int>(R->Items.size()) : -1;
}

UINT GetMenuItemID(HMENU Menu, int Pos) {
  MenuRecord* R = FindMenuRecord(Menu);
  if (!R || Pos < 0 || static_cast<size_t>(Pos) >= R->Items.size()) return static_cast<UINT>(-1);
  const MenuItemRecord& It = R->Items[static_cast<size_t>(Pos)];
  return It.SubMenu ? static_cast<UINT>(-1) : static_cast<UINT>(It.Id);
}

HMENU GetSubMenu(HMENU Menu, int Pos) {
  MenuRecord* R = FindMenuRecord(Menu);
  if (!R || Pos < 0 || static_cast<size_t>(Pos) >= R->Items.size()) return nullptr;
  return R->Items[static_cast<size_t>(Pos)].SubMenu;
}

int GetMenuString(HMENU Menu, UINT Item, LPSTR Buffer, int MaxCount, UINT Flags) {
  const MenuItemRecord* It = vantrel::win::MenuItemOf(Menu, Item, Flags);
  if (!It) return 0;
  const int Length = static_cast<int>(It->Text.size());
  if (!Buffer || MaxCount <= 0) return Length;
  const int N = std::min(Length, MaxCount - 1);
  std::memcpy(Buffer, It->Text.data(), static_cast<size_t>(N));
  Buffer[N] = 0;
  return N;
}

UINT GetMenuState(HMENU Menu, UINT Item, UINT Flags) {
  const MenuItemRecord* It = vantrel::win::MenuItemOf(Menu, Item, Flags);
  if (!It) return static_cast<UINT>(-1);
  UINT S = It->Type | It->State;
  if (It->Default) S |= MF_DEFAULT;
  if (It->SubMenu) S |= MF_POPUP | (static_cast<UINT>(std::max(GetMenuItemCount(It->SubMenu), 0)) << 8);
  return S;
}

DWORD EnableMenuItem(HMENU Menu, UINT Item, UINT Enable) {
  MenuItemRecord* It = vantrel::win::MenuItemOf(Menu, Item, Enable);
  if (!It) return static_cast<DWORD>(-1);
  const DWORD Old = It->State & (MF_GRAYED | MF_DISABLED);
  It->State = (It->State & ~(MF_GRAYED | MF_DISABLED)) | (Enable & (MF_GRAYED | MF_DISABLED));
  return Old;
}

DWORD CheckMenuItem(HMENU Menu, UINT Item, UINT Check) {
  MenuItemRecord* It = vantrel::win::MenuItemOf(Menu, Item, Check);
  if (!It) return static_cast<DWORD>(-1);
  const DWORD Old = It->State & MF_CHECKED;
  It->State = (It->State & ~MF_CHECKED) | (Check & MF_CHECKED);
  return Old;
}

BOOL GetMenuItemRect(HWND, HMENU Menu, UINT Item, LPRECT Rect) {
  MenuRecord* R = FindMenuRecord(Menu);
  if (!R || !Rect || Item >= R->OpenRects.size()) return FALSE;
  *Rect = R->OpenRects[Item];
  return TRUE;
}
