// What the shell tells of one item: its icon in the system image list, its display name,
// type name and attributes.
#pragma once

#include "platform/win/ShellFolder.h"
#include "platform/win/SystemImageList.h"

constexpr UINT SHGFI_LARGEICON = 0x000000;
constexpr UINT SHGFI_SMALLICON = 0x000001;
constexpr UINT SHGFI_OPENICON = 0x000002;
constexpr UINT SHGFI_PIDL = 0x000008;
constexpr UINT SHGFI_USEFILEATTRIBUTES = 0x000010;
constexpr UINT SHGFI_ICON = 0x000100;
constexpr UINT SHGFI_DISPLAYNAME = 0x000200;
constexpr UINT SHGFI_TYPENAME = 0x000400;
constexpr UINT SHGFI_ATTRIBUTES = 0x000800;
constexpr UINT SHGFI_SYSICONINDEX = 0x004000;

constexpr DWORD FILE_ATTRIBUTE_DIRECTORY = 0x10;
constexpr DWORD FILE_ATTRIBUTE_NORMAL = 0x80;

struct SHFILEINFO {
  HICON hIcon = nullptr;     // SHGFI_ICON: a new icon, freed with DestroyIcon
  int iIcon = 0;             // SHGFI_SYSICONINDEX
  DWORD dwAttributes = 0;    // SHGFI_ATTRIBUTES: every SFGAO_* bit known of the item
  char szDisplayName[MAX_PATH] = {};
  char szTypeName[80] = {};
};
using SHFILEINFOW = SHFILEINFO;

// Path: an existing path, or with SHGFI_PIDL an absolute item id list, or with
// SHGFI_USEFILEATTRIBUTES a name taken as a file (or, with FILE_ATTRIBUTE_DIRECTORY in
// FileAttributes, a folder) without looking at the disk. With SHGFI_SYSICONINDEX the
// result is the system image list (small with SHGFI_SMALLICON), else non-zero; 0 on failure.
DWORD_PTR SHGetFileInfo(LPCSTR Path, DWORD FileAttributes, SHFILEINFO* Info, UINT InfoSize, UINT Flags);
inline DWORD_PTR SHGetFileInfoW(LPCSTR P, DWORD A, SHFILEINFO* I, UINT S, UINT F) {
  return SHGetFileInfo(P, A, I, S, F);
}
