// Folders of the shell namespace: the Desktop at the root, Home and Computer below it, the
// volumes below Computer and the file system below Home and the volumes. Each folder is an
// object with a counted reference; it enumerates, binds, names, parses, compares, renames
// and describes the items of its item id lists (ShellItemIds.h). Names are UTF-8.
#pragma once

#include "platform/win/ShellCom.h"
#include "platform/win/ListView.h"
#include "platform/win/ShellItemIds.h"
#include "platform/win/ListView.h"  // LVCFMT_LEFT, LVCFMT_RIGHT

// The size of path buffers handed to the shell (the longest path of this system).
constexpr size_t MAX_PATH = 4096;

// EnumObjects flags.
constexpr DWORD SHCONTF_FOLDERS = 0x0020;
constexpr DWORD SHCONTF_NONFOLDERS = 0x0040;
constexpr DWORD SHCONTF_INCLUDEHIDDEN = 0x0080;

// GetDisplayNameOf flags.
constexpr DWORD SHGDN_NORMAL = 0x0000;
constexpr DWORD SHGDN_INFOLDER = 0x0001;
constexpr DWORD SHGDN_FOREDITING = 0x1000;
constexpr DWORD SHGDN_FORADDRESSBAR = 0x4000;
constexpr DWORD SHGDN_FORPARSING = 0x8000;

// Item attributes.
constexpr ULONG SFGAO_CANCOPY = 0x00000001;
constexpr ULONG SFGAO_CANMOVE = 0x00000002;
constexpr ULONG SFGAO_CANLINK = 0x00000004;
constexpr ULONG SFGAO_CANRENAME = 0x00000010;
constexpr ULONG SFGAO_CANDELETE = 0x00000020;
constexpr ULONG SFGAO_HASPROPSHEET = 0x00000040;
constexpr ULONG SFGAO_DROPTARGET = 0x00000100;
constexpr ULONG SFGAO_GHOSTED = 0x00008000;
constexpr ULONG SFGAO_LINK = 0x00010000;
constexpr ULONG SFGAO_SHARE = 0x00020000;
constexpr ULONG SFGAO_READONLY = 0x00040000;
constexpr ULONG SFGAO_VALIDATE = 0x01000000;
constexpr ULONG SFGAO_REMOVABLE = 0x02000000;
constexpr ULONG SFGAO_FILESYSANCESTOR = 0x10000000;
constexpr ULONG SFGAO_FOLDER = 0x20000000;
constexpr ULONG SFGAO_FILESYSTEM = 0x40000000;
constexpr ULONG SFGAO_HASSUBFOLDER = 0x80000000;

// A text handed out by a folder. Ours are STRRET_WSTR: a UTF-8 text from the task
// allocator that the caller frees with CoTaskMemFree.
constexpr UINT STRRET_WSTR = 0;
constexpr UINT STRRET_OFFSET = 1;
constexpr UINT STRRET_CSTR = 2;
struct STRRET {
  UINT uType = STRRET_WSTR;
  union {
    char* pOleStr;
    UINT uOffset;
    char cStr[260];
  };
  STRRET() : cStr{} {}
};

// States of the detail columns (their formats are the list view's LVCFMT_*).
constexpr DWORD SHCOLSTATE_TYPE_STR = 0x1;
constexpr DWORD SHCOLSTATE_TYPE_INT = 0x2;
constexpr DWORD SHCOLSTATE_TYPE_DATE = 0x3;
constexpr DWORD SHCOLSTATE_ONBYDEFAULT = 0x10;

struct SHELLDETAILS {
  int fmt = LVCFMT_LEFT;
  int cxChar = 0;
  STRRET str;
};

class IEnumIDList : public IUnknown {
 public:
  // Up to Count new child lists (the caller frees them); S_FALSE when fewer came.
  virtual HRESULT Next(ULONG Count, LPITEMIDLIST* Items, ULONG* Fetched) = 0;
  virtual HRESULT Skip(ULONG Count) = 0;
  virtual HRESULT Reset() = 0;
  virtual HRESULT Clone(IEnumIDList** Enum) = 0;
};

class IShellFolder : public IUnknown {
 public:
  // Name: an absolute path (it must exist) or a "::{...}" name. Eaten (optional) gets the
  // characters used; Attributes (optional) is in-out as for GetAttributesOf.
  virtual HRESULT ParseDisplayName(HWND Owner, void* BindContext, LPCSTR Name, ULONG* Eaten,
                                   LPITEMIDLIST* Result, ULONG* Attributes) = 0;
  virtual HRESULT EnumObjects(HWND Owner, DWORD Flags, IEnumIDList** Enum) = 0;
  virtual HRESULT BindToObject(LPCITEMIDLIST Item, void* BindContext, REFIID Iid, void** Object) = 0;
  virtual HRESULT BindToStorage(LPCITEMIDLIST Item, void* BindContext, REFIID Iid, void** Object) = 0;
  // LParam's low 16 bits: the detail column to compare by. The result's low 16 bits, read
  // as a signed value, are below, at or above 0.
  virtual HRESULT CompareIDs(LPARAM LParam, LPCITEMIDLIST A, LPCITEMIDLIST B) = 0;
  virtual HRESULT CreateViewObject(HWND Owner, REFIID Iid, void** Object) = 0;
  // In: the bits asked for; out: the asked bits that every item has.
  virtual HRESULT GetAttributesOf(UINT Count, LPCITEMIDLIST* Items, ULONG* InOut) = 0;
  virtual HRESULT GetUIObjectOf(HWND Owner, UINT Count, LPCITEMIDLIST* Items, REFIID Iid, UINT* Reserved,
                                void** Object) = 0;
  virtual HRESULT GetDisplayNameOf(LPCITEMIDLIST Item, DWORD Flags, STRRET* Name) = 0;
  // Renames in place; Result (optional) gets the item's new child list.
  virtual HRESULT SetNameOf(HWND Owner, LPCITEMIDLIST Item, LPCSTR Name, DWORD Flags, LPITEMIDLIST* Result) = 0;
};

class IShellFolder2 : public IShellFolder {
 public:
  virtual HRESULT GetDefaultColumnState(UINT Column, DWORD* State) = 0;
  // Item none: the column's heading. E_FAIL past the last column.
  virtual HRESULT GetDetailsOf(LPCITEMIDLIST Item, UINT Column, SHELLDETAILS* Details) = 0;
};

class IShellDetails : public IUnknown {
 public:
  virtual HRESULT GetDetailsOf(LPCITEMIDLIST Item, UINT Column, SHELLDETAILS* Details) = 0;
  virtual HRESULT ColumnClick(UINT Column) = 0;
};

// The Desktop folder (a new reference).
HRESULT SHGetDesktopFolder(IShellFolder** Folder);
// The file-system path of an absolute list into Path (MAX_PATH bytes); FALSE for items
// outside the file system.
BOOL SHGetPathFromIDList(LPCITEMIDLIST List, char* Path);
inline BOOL SHGetPathFromIDListW(LPCITEMIDLIST L, char* P) { return SHGetPathFromIDList(L, P); }

namespace vantrel::win {

// The parsing names of the Desktop and Computer.
extern const char* const kDesktopParsingName;
extern const char* const kComputerParsingName;

// The absolute list of an existing path (normalised first): [Home] + components under
// $HOME, else [Computer][volume] + components below the longest mount point.
HRESULT ParseShellPath(const std::string& Path, LPITEMIDLIST* Result);
// The file-system path of an absolute list; false for the Desktop, Computer or a bad list.
bool ShellPathOf(LPCITEMIDLIST Absolute, std::string& Path);

}  // namespace vantrel::win
