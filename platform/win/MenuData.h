// The records behind menu handles, shared by the item calls and the tracking loop.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/win/Menu.h"

namespace vantrel::win {

struct MenuItemRecord {
  UINT Type = MF_STRING;  // MF_STRING, MF_SEPARATOR or MF_OWNERDRAW, with MF_RADIOCHECK
  UINT State = 0;         // MF_GRAYED, MF_DISABLED, MF_CHECKED
  UINT_PTR Id = 0;
  HMENU SubMenu = nullptr;
  std::string Text;
  ULONG_PTR Data = 0;
  bool Default = false;

  bool IsSeparator() const { return Type & MF_SEPARATOR; }
  bool IsOwnerDrawn() const { return Type & MF_OWNERDRAW; }
  bool Selectable() const { return !IsSeparator() && !(State & (MF_GRAYED | MF_DISABLED)); }
};

struct MenuRecord {
  std::vector<MenuItemRecord> Items;
  HWND Window = nullptr;       // while tracked
  std::vector<RECT> OpenRects;  // the items' screen rectangles while tracked
};

// The record of a live menu, else null (last error ERROR_INVALID_MENU_HANDLE).
MenuRecord* FindMenuRecord(HMENU Menu);

}  // namespace vantrel::win
