// The special folders of the shell: the Desktop, Computer and Home of the namespace, the
// user's XDG folders and the trash. Every other folder number fails with E_FAIL.
#pragma once

#include "platform/rtl/FileUtils.h"
#include "platform/win/ShellFolder.h"

// Folder numbers beside those of FileUtils.h.
constexpr int CSIDL_INTERNET = 0x0001;
constexpr int CSIDL_PROGRAMS = 0x0002;
constexpr int CSIDL_CONTROLS = 0x0003;
constexpr int CSIDL_PRINTERS = 0x0004;
constexpr int CSIDL_FAVORITES = 0x0006;
constexpr int CSIDL_STARTUP = 0x0007;
constexpr int CSIDL_RECENT = 0x0008;
constexpr int CSIDL_SENDTO = 0x0009;
constexpr int CSIDL_BITBUCKET = 0x000A;
constexpr int CSIDL_STARTMENU = 0x000B;
constexpr int CSIDL_DRIVES = 0x0011;
constexpr int CSIDL_NETWORK = 0x0012;
constexpr int CSIDL_FONTS = 0x0014;
constexpr int CSIDL_COMMON_STARTMENU = 0x0016;
constexpr int CSIDL_COMMON_PROGRAMS = 0x0017;
constexpr int CSIDL_COMMON_STARTUP = 0x0018;
constexpr int CSIDL_COMMON_DESKTOPDIRECTORY = 0x0019;
constexpr int CSIDL_PRINTHOOD = 0x001B;

// The folder's absolute list: CSIDL_DESKTOP the Desktop, CSIDL_DRIVES Computer,
// CSIDL_PROFILE Home, the XDG folders when they exist (none is created), CSIDL_BITBUCKET
// the trash's "files" folder when it exists. E_FAIL otherwise.
HRESULT SHGetSpecialFolderLocation(HWND Owner, int Folder, LPITEMIDLIST* Result);
// The folder's path into Path (MAX_PATH bytes): CSIDL_DESKTOP is the desktop folder of the
// file system. A missing folder is created when Create is TRUE, else the call fails.
// Computer has no path.
BOOL SHGetSpecialFolderPath(HWND Owner, char* Path, int Folder, BOOL Create);
inline BOOL SHGetSpecialFolderPathW(HWND O, char* P, int F, BOOL C) { return SHGetSpecialFolderPath(O, P, F, C); }
