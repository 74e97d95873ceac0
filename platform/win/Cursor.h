// Cursors: the standard shapes (painted by our code, shared, never destroyed), cursor
// files (.cur: the image of the size nearest 32 x 32, with its hot spot), and the shape
// the pointer shows now, which the display is told about. A cursor is an icon object
// with fIcon FALSE, so GetIconInfo, CopyImage and DrawIconEx work on it.
#pragma once

#include <string>

#include "platform/win/Messages.h"
#include "platform/win/Resources.h"

#define IDC_ARROW MAKEINTRESOURCE(32512)
#define IDC_IBEAM MAKEINTRESOURCE(32513)
#define IDC_WAIT MAKEINTRESOURCE(32514)
#define IDC_CROSS MAKEINTRESOURCE(32515)
#define IDC_UPARROW MAKEINTRESOURCE(32516)
#define IDC_SIZE MAKEINTRESOURCE(32640)
#define IDC_ICON MAKEINTRESOURCE(32641)
#define IDC_SIZENWSE MAKEINTRESOURCE(32642)
#define IDC_SIZENESW MAKEINTRESOURCE(32643)
#define IDC_SIZEWE MAKEINTRESOURCE(32644)
#define IDC_SIZENS MAKEINTRESOURCE(32645)
#define IDC_SIZEALL MAKEINTRESOURCE(32646)
#define IDC_NO MAKEINTRESOURCE(32648)
#define IDC_HAND MAKEINTRESOURCE(32649)
#define IDC_APPSTARTING MAKEINTRESOURCE(32650)
#define IDC_HELP MAKEINTRESOURCE(32651)

// Instance 0: a standard shape (IDC_*), shared. The program has no cursor resources of
// its own, so any other instance gives 0 (ERROR_RESOURCE_NAME_NOT_FOUND).
HCURSOR LoadCursor(HINSTANCE Instance, LPCSTR Name);
inline HCURSOR LoadCursorA(HINSTANCE I, LPCSTR N) { return LoadCursor(I, N); }
inline HCURSOR LoadCursorW(HINSTANCE I, LPCSTR N) { return LoadCursor(I, N); }
// A .cur file (UTF-8 path). 0 with ERROR_FILE_NOT_FOUND when it cannot be opened, with
// ERROR_ACCESS_DENIED for a folder or a file that fails while it is read, with
// ERROR_INVALID_DATA when it is not a cursor file we can read (animated cursors and
// PNG-compressed images are not read).
HCURSOR LoadCursorFromFile(LPCSTR FileName);
inline HCURSOR LoadCursorFromFileA(LPCSTR F) { return LoadCursorFromFile(F); }
inline HCURSOR LoadCursorFromFileW(LPCSTR F) { return LoadCursorFromFile(F); }
// A cursor from a memory image of a .cur file.
HCURSOR CreateCursorFromFileData(const void* Data, size_t Size);
HCURSOR CopyCursor(HCURSOR Cursor);
// Shared (standard) cursors stay; TRUE for them as for a destroyed one.
BOOL DestroyCursor(HCURSOR Cursor);

// The shape the pointer shows (0: none); returns the previous one. The display is told.
HCURSOR SetCursor(HCURSOR Cursor);
HCURSOR GetCursor();

namespace vantrel::win {

// The IDC_* id of a standard cursor handle, or 0.
uintptr_t StandardCursorId(HCURSOR Cursor);

}  // namespace vantrel::win
