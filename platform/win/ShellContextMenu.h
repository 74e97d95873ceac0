// Context menus of shell items: the commands a folder offers for one of its items (open,
// delete into the Trash, rename, properties), added to a menu handle and run by offset or
// verb. Folders hand them out through GetUIObjectOf (ShellFolder.h).
#pragma once

#include <string>
#include <vector>

#include "platform/win/Menu.h"
#include "platform/win/Resources.h"  // MAKEINTRESOURCE, IS_INTRESOURCE
#include "platform/win/ShellFolder.h"

// QueryContextMenu flags.
constexpr UINT CMF_NORMAL = 0x0000;
constexpr UINT CMF_DEFAULTONLY = 0x0001;
constexpr UINT CMF_VERBSONLY = 0x0002;
constexpr UINT CMF_EXPLORE = 0x0004;
constexpr UINT CMF_NOVERBS = 0x0008;
constexpr UINT CMF_CANRENAME = 0x0010;

// GetCommandString types.
constexpr UINT GCS_VERBA = 0x0000;
constexpr UINT GCS_HELPTEXTA = 0x0001;
constexpr UINT GCS_VALIDATEA = 0x0002;
constexpr UINT GCS_VERBW = 0x0004;
constexpr UINT GCS_HELPTEXTW = 0x0005;
constexpr UINT GCS_VALIDATEW = 0x0006;
constexpr UINT GCS_HELPTEXT = GCS_HELPTEXTW;
constexpr UINT GCS_VERB = GCS_VERBW;

// CMINVOKECOMMANDINFO masks.
constexpr DWORD CMIC_MASK_FLAG_NO_UI = 0x00000400;
constexpr DWORD CMIC_MASK_ASYNCOK = 0x00100000;

constexpr uint32_t ERROR_CANCELLED = 1223;

// lpVerb: a verb text, or a command offset made with MAKEINTRESOURCE (below 0x10000).
struct CMINVOKECOMMANDINFO {
  DWORD cbSize = sizeof(CMINVOKECOMMANDINFO);
  DWORD fMask = 0;
  HWND hwnd = nullptr;
  LPCSTR lpVerb = nullptr;
  LPCSTR lpParameters = nullptr;
  LPCSTR lpDirectory = nullptr;
  int nShow = 0;
  DWORD dwHotKey = 0;
  HANDLE hIcon = nullptr;
};
using LPCMINVOKECOMMANDINFO = CMINVOKECOMMANDINFO*;


class IContextMenu : public IUnknown {
 public:
  // Inserts the commands at position IndexMenu with ids IdCmdFirst + offset (none past
  // IdCmdLast); the number of commands added as a success result.
  virtual HRESULT QueryContextMenu(HMENU Menu, UINT IndexMenu, UINT IdCmdFirst, UINT IdCmdLast, UINT Flags) = 0;
  virtual HRESULT InvokeCommand(LPCMINVOKECOMMANDINFO Info) = 0;
  // The verb (GCS_VERB*) or help text (GCS_HELPTEXT*) of command offset IdCmd into Name
  // (MaxChars bytes); GCS_VALIDATE* answers S_OK for a known offset, S_FALSE otherwise.
  virtual HRESULT GetCommandString(UINT_PTR IdCmd, UINT Type, UINT* Reserved, LPSTR Name, UINT MaxChars) = 0;
};

class IContextMenu2 : public IContextMenu {
 public:
  // Menu messages of a tracked menu that owner-drawn or self-filling sub-menus need.
  virtual HRESULT HandleMenuMsg(UINT Msg, WPARAM WParam, LPARAM LParam) = 0;
};

// Offsets and results of a success result (SCODE with facility 0).
constexpr HRESULT MAKE_SUCCESS_RESULT(UINT Code) { return static_cast<HRESULT>(Code & 0xFFFF); }

namespace vantrel::win {

// The context menu of one item: Path its file-system path, Child its child list in
// Parent. Whether it can be deleted or renamed is looked up when the menu is filled.
HRESULT CreateShellContextMenu(IShellFolder2* Parent, LPCITEMIDLIST Child, const std::string& Path, REFIID Iid,
                               void** Object);

}  // namespace vantrel::win
