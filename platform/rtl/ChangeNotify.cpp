#include "platform/rtl/ChangeNotify.h"

#include <dirent.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <map>
#include <string>

#include "platform/rtl/FileUtils.h"  // ERROR_PATH_NOT_FOUND, ERROR_ACCESS_DENIED
#include "platform/rtl/WaitObjectTable.h"

namespace vantrel::rtl {

namespace {

constexpr uint32_t kNotifyErrorInvalidParameter = 87;
constexpr uint32_t kNamingEvents = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO;
constexpr uint32_t kNotifyKnownFilters = FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME |
                                         FILE_NOTIFY_CHANGE_ATTRIBUTES | FILE_NOTIFY_CHANGE_SIZE |
                                         FILE_NOTIFY_CHANGE_LAST_WRITE | FILE_NOTIFY_CHANGE_LAST_ACCESS |
                                         FILE_NOTIFY_CHANGE_CREATION | FILE_NOTIFY_CHANGE_SECURITY;

// The inotify events a filter needs on each watched folder.
uint32_t WatchMaskOf(uint32_t Filter, bool Subtree) {
  uint32_t Mask = IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR | IN_EXCL_UNLINK;
  if (Filter & (FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME)) Mask |= kNamingEvents;
  if (Filter & (FILE_NOTIFY_CHANGE_ATTRIBUTES | FILE_NOTIFY_CHANGE_SECURITY | FILE_NOTIFY_CHANGE_CREATION))
    Mask |= IN_ATTRIB;
  if (Filter & (FILE_NOTIFY_CHANGE_SIZE | FILE_NOTIFY_CHANGE_LAST_WRITE)) Mask |= IN_MODIFY;
  if (Filter & FILE_NOTIFY_CHANGE_LAST_ACCESS) Mask |= IN_ACCESS;
  if (Subtree) Mask |= IN_CREATE | IN_MOVED_TO;  // to follow folders made later
  return Mask;
}

uint32_t ErrorOfErrno(int E) {
  switch (E) {
    case EACCES:
    case EPERM: return ERROR_ACCESS_DENIED;
    case ENOTDIR: return ERROR_DIRECTORY;
    default: return ERROR_PATH_NOT_FOUND;
  }
}

class ChangeNotification final : public WaitObject {
 public:
  ChangeNotification(uint32_t Filter, bool Subtree)
      : FFd(inotify_init1(IN_NONBLOCK | IN_CLOEXEC)), FFilter(Filter), FSubtree(Subtree) {}
  ~ChangeNotification() override {
    if (FFd >= 0) close(FFd);
  }

  // 0 or the error of the first watch.
  uint32_t Start(const std::string& Root) {
    if (FFd < 0) return kNotifyErrorInvalidParameter;
    const int Wd = inotify_add_watch(FFd, Root.c_str(), WatchMaskOf(FFilter, FSubtree));
    if (Wd < 0) return ErrorOfErrno(errno);
    FRootWd = Wd;
    FFolders[Wd] = Root;
    if (FSubtree) WatchBelow(Root);
    return 0;
  }

  int ExtraFd() const override { return FFd; }

  bool TryTake(uint32_t) override {
    ReadEvents();
    return FSignalled;
  }

  // False when the folder is gone.
  bool Rearm() {
    ReadEvents();
    FSignalled = false;
    if (FGone) {
      FBroken = true;
      Raise();  // waits fail from now on
      return false;
    }
    Lower();
    return true;
  }

 protected:
  bool Broken() const override { return FBroken; }

 private:
  void Signal() {
    FSignalled = true;
    Raise();
  }

  // Watches every folder below Folder (the folders made later are added as they come).
  void WatchBelow(const std::string& Folder) {
    DIR* D = opendir(Folder.c_str());
    if (!D) return;
    while (dirent* E = readdir(D)) {
      if (std::strcmp(E->d_name, ".") == 0 || std::strcmp(E->d_name, "..") == 0) continue;
      const std::string Path = Folder + "/" + E->d_name;
      struct stat St {};
      if (E->d_type != DT_DIR && !(E->d_type == DT_UNKNOWN && lstat(Path.c_str(), &St) == 0 && S_ISDIR(St.st_mode)))
        continue;
      AddFolder(Path);
    }
    closedir(D);
  }

  void AddFolder(const std::string& Path) {
    const int Wd = inotify_add_watch(FFd, Path.c_str(), WatchMaskOf(FFilter, true));
    if (Wd < 0) return;
    const bool Known = FFolders.count(Wd) != 0;
    FFolders[Wd] = Path;
    if (!Known) WatchBelow(Path);
  }

  void ReadEvents() {
    alignas(inotify_event) char Buffer[8192];
    for (;;) {
      const ssize_t N = read(FFd, Buffer, sizeof Buffer);
      if (N <= 0) return;  // nothing more (EAGAIN) or a failed read
      for (ssize_t At = 0; At < N;) {
        const auto* E = reinterpret_cast<const inotify_event*>(Buffer + At);
        At += static_cast<ssize_t>(sizeof(inotify_event) + E->len);
        Handle(*E);
      }
    }
  }

  void Handle(const inotify_event& E) {
    if (E.mask & IN_Q_OVERFLOW) {  // changes were lost: one of them may have mattered
      Signal();
      return;
    }
    if (E.wd == FRootWd && (E.mask & (IN_DELETE_SELF | IN_MOVE_SELF | IN_UNMOUNT))) {
      if (!FGone) Signal();  // the folder itself went: one change, then waits fail
      FGone = true;
      return;
    }
    if (E.mask & IN_IGNORED) {
      FFolders.erase(E.wd);
      if (E.wd == FRootWd) FGone = true;
      return;
    }
    if (FSubtree && (E.mask & IN_ISDIR) && (E.mask & (IN_CREATE | IN_MOVED_TO)) && E.len > 0) {
      const auto It = FFolders.find(E.wd);
      if (It != FFolders.end()) AddFolder(It->second + "/" + E.name);
    }
    if (E.wd != FRootWd && !FSubtree) return;
    if (E.mask & (IN_DELETE_SELF | IN_MOVE_SELF)) return;  // a sub-folder's own end: its parent told
    if (ChangeMatchesFilter(FFilter, E.mask)) Signal();
  }

  const int FFd;
  const uint32_t FFilter;
  const bool FSubtree;
  int FRootWd = -1;
  std::map<int, std::string> FFolders;  // watch descriptor -> folder
  bool FSignalled = false;
  bool FGone = false;    // the watched folder was deleted or moved away
  bool FBroken = false;  // re-armed after it went: waits fail
};

}  // namespace

bool ChangeMatchesFilter(uint32_t Filter, uint32_t Mask) {
  const bool Dir = Mask & IN_ISDIR;
  if (Mask & kNamingEvents) return Filter & (Dir ? FILE_NOTIFY_CHANGE_DIR_NAME : FILE_NOTIFY_CHANGE_FILE_NAME);
  if (Mask & IN_ATTRIB)
    return Filter & (FILE_NOTIFY_CHANGE_ATTRIBUTES | FILE_NOTIFY_CHANGE_SECURITY | FILE_NOTIFY_CHANGE_CREATION);
  if (Mask & IN_MODIFY) return Filter & (FILE_NOTIFY_CHANGE_SIZE | FILE_NOTIFY_CHANGE_LAST_WRITE);
  if (Mask & IN_ACCESS) return Filter & FILE_NOTIFY_CHANGE_LAST_ACCESS;
  return false;
}

}  // namespace vantrel::rtl

HANDLE FindFirstChangeNotification(const char* Path, int32_t WatchSubtree, uint32_t Filter) {
  if (!Path || !*Path || (Filter & vantrel::rtl::kNotifyKnownFilters) == 0) {
    SetLastError(vantrel::rtl::kNotifyErrorInvalidParameter);
    return INVALID_HANDLE_VALUE;
  }
  std::string Root = Path;
  while (Root.size() > 1 && Root.back() == '/') Root.pop_back();
  auto N = std::make_shared<vantrel::rtl::ChangeNotification>(Filter, WatchSubtree != 0);
  uint32_t Error;
  {
    std::lock_guard G(N->Lock);
    Error = N->Start(Root);
  }
  if (Error) {
    SetLastError(Error);
    return INVALID_HANDLE_VALUE;
  }
  HANDLE H = vantrel::rtl::AddWaitObject(std::move(N));
  return H ? H : INVALID_HANDLE_VALUE;
}

int32_t FindNextChangeNotification(HANDLE Notification) {
  const auto N = vantrel::rtl::FindWaitObjectOf<vantrel::rtl::ChangeNotification>(Notification);
  if (!N) {
    SetLastError(ERROR_INVALID_HANDLE);
    return 0;
  }
  std::lock_guard G(N->Lock);
  if (!N->Rearm()) {
    SetLastError(ERROR_PATH_NOT_FOUND);
    return 0;
  }
  return 1;
}

int32_t FindCloseChangeNotification(HANDLE Notification) {
  if (!vantrel::rtl::FindWaitObjectOf<vantrel::rtl::ChangeNotification>(Notification)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return 0;
  }
  return CloseHandle(Notification);
}
