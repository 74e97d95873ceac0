// Clipboard text through the display (the headless display keeps it for tests to read):
// OpenClipboard/EmptyClipboard/SetClipboardData/GetClipboardData/CloseClipboard with
// CF_TEXT and CF_UNICODETEXT, both NUL-terminated UTF-8 in memory blocks of
// GlobalAlloc. Other formats are refused.
#pragma once

#include <cstddef>
#include <string>

#include "platform/win/Messages.h"

constexpr UINT CF_TEXT = 1;
constexpr UINT CF_BITMAP = 2;
constexpr UINT CF_DIB = 8;
constexpr UINT CF_UNICODETEXT = 13;
constexpr UINT CF_HDROP = 15;

// Memory blocks that travel through the clipboard. The handle is the block's address;
// a handle that is not a live block is refused (0 / FALSE).
using HGLOBAL = void*;
constexpr UINT GMEM_FIXED = 0x0000;
constexpr UINT GMEM_MOVEABLE = 0x0002;
constexpr UINT GMEM_ZEROINIT = 0x0040;
constexpr UINT GHND = GMEM_MOVEABLE | GMEM_ZEROINIT;
constexpr UINT GPTR = GMEM_FIXED | GMEM_ZEROINIT;
HGLOBAL GlobalAlloc(UINT Flags, size_t Bytes);
LPVOID GlobalLock(HGLOBAL Mem);
BOOL GlobalUnlock(HGLOBAL Mem);
// 0 on success, the handle when it is not a block.
HGLOBAL GlobalFree(HGLOBAL Mem);
size_t GlobalSize(HGLOBAL Mem);

// Fails while another window has the clipboard open.
BOOL OpenClipboard(HWND NewOwner);
BOOL CloseClipboard();
// Clears the clipboard and makes the window that opened it the owner (clipboard open).
BOOL EmptyClipboard();
// The clipboard takes the block (the caller must not free it); returns it, or 0 when
// the clipboard is not open, the format is not text or the block is not valid.
HANDLE SetClipboardData(UINT Format, HANDLE Mem);
// A block owned by the clipboard, valid until it closes (clipboard open); 0 without text.
HANDLE GetClipboardData(UINT Format);
BOOL IsClipboardFormatAvailable(UINT Format);
HWND GetClipboardOwner();
HWND GetOpenClipboardWindow();

namespace vantrel::win {

struct ClipboardState {
  bool Open = false;
  HWND OpenedBy = nullptr;
  HWND Owner = nullptr;
  HGLOBAL Given = nullptr;  // the block last set, owned here
  HGLOBAL Lent = nullptr;   // the block GetClipboardData handed out, freed on close
  ~ClipboardState();
};

}  // namespace vantrel::win
