// Folder change notifications: a waitable handle (WaitObjects.h) that becomes signalled
// when something the filter names changes in a folder (and, when asked, in every folder
// below it, also those made later). Built on inotify.
#pragma once

#include <cstdint>

#include "platform/rtl/WaitObjects.h"

// Files created, deleted or moved in or out.
constexpr uint32_t FILE_NOTIFY_CHANGE_FILE_NAME = 0x00000001;
// Folders created, deleted or moved in or out.
constexpr uint32_t FILE_NOTIFY_CHANGE_DIR_NAME = 0x00000002;
// Attributes (permissions, owner, times set by hand) changed.
constexpr uint32_t FILE_NOTIFY_CHANGE_ATTRIBUTES = 0x00000004;
// Files written (their size or their last write time changes).
constexpr uint32_t FILE_NOTIFY_CHANGE_SIZE = 0x00000008;
constexpr uint32_t FILE_NOTIFY_CHANGE_LAST_WRITE = 0x00000010;
constexpr uint32_t FILE_NOTIFY_CHANGE_LAST_ACCESS = 0x00000020;
constexpr uint32_t FILE_NOTIFY_CHANGE_CREATION = 0x00000040;
constexpr uint32_t FILE_NOTIFY_CHANGE_SECURITY = 0x00000100;

// INVALID_HANDLE_VALUE with ERROR_PATH_NOT_FOUND (no such folder), ERROR_ACCESS_DENIED
// (unreadable), ERROR_DIRECTORY (not a folder) or ERROR_INVALID_PARAMETER (no filter).
// A folder that is deleted while it is watched signals once; its next wait after
// FindNextChangeNotification fails.
HANDLE FindFirstChangeNotification(const char* Path, int32_t WatchSubtree, uint32_t Filter);
inline HANDLE FindFirstChangeNotificationW(const char* P, int32_t S, uint32_t F) {
  return FindFirstChangeNotification(P, S, F);
}
// Re-arms: what arrived so far is dropped and the handle is no longer signalled. FALSE
// when the folder is gone (ERROR_PATH_NOT_FOUND) or the handle is not a notification.
int32_t FindNextChangeNotification(HANDLE Notification);
// Closes it as CloseHandle does (a running wait on it fails).
int32_t FindCloseChangeNotification(HANDLE Notification);

constexpr uint32_t ERROR_DIRECTORY = 267;

namespace vantrel::rtl {

// Whether one inotify event (its mask) is a change the filter asks for.
bool ChangeMatchesFilter(uint32_t Filter, uint32_t InotifyMask);

}  // namespace vantrel::rtl
