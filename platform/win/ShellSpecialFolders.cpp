#include "platform/win/ShellSpecialFolders.h"

#include <sys/stat.h>

#include <cstring>

#include "platform/win/ShellItemRecords.h"

namespace {

bool SpecialIsDir(const std::string& Path) {
  struct stat St {};
  return stat(Path.c_str(), &St) == 0 && S_ISDIR(St.st_mode);
}

// The trash's "files" folder under the XDG data folder.
std::string TrashFilesPath() {
  const std::string Data = LocateSpecialFolder(CSIDL_LOCAL_APPDATA);
  return Data.empty() ? std::string() : Data + "/Trash/files";
}

// The file-system folder of a number; empty when it has none.
std::string SpecialFolderPathOf(int Folder) {
  switch (Folder) {
    case CSIDL_DESKTOP: return LocateSpecialFolder(CSIDL_DESKTOPDIRECTORY);
    case CSIDL_BITBUCKET: return TrashFilesPath();
    case CSIDL_PROFILE:
    case CSIDL_PERSONAL:
    case CSIDL_MYVIDEO:
    case CSIDL_MYMUSIC:
    case CSIDL_MYPICTURES:
    case CSIDL_DESKTOPDIRECTORY:
    case CSIDL_TEMPLATES:
    case CSIDL_APPDATA:
    case CSIDL_LOCAL_APPDATA: return LocateSpecialFolder(static_cast<Word>(Folder));
    default: return std::string();
  }
}

}  // namespace

HRESULT SHGetSpecialFolderLocation(HWND, int Folder, LPITEMIDLIST* Result) {
  if (!Result) return E_INVALIDARG;
  *Result = nullptr;
  std::vector<vantrel::win::ShellItemRecord> Chain;
  if (Folder == CSIDL_DESKTOP) {
  } else if (Folder == CSIDL_DRIVES) {
    Chain.push_back(vantrel::win::ComputerRecord());
  } else if (Folder == CSIDL_PROFILE) {
    vantrel::win::ShellItemRecord Home;
    if (!vantrel::win::HomeShellRecord(Home)) return E_FAIL;
    Chain.push_back(std::move(Home));
  } else {
    const std::string Path = SpecialFolderPathOf(Folder);
    if (Path.empty() || !SpecialIsDir(Path)) return E_FAIL;
    return SUCCEEDED(vantrel::win::ParseShellPath(Path, Result)) ? S_OK : E_FAIL;
  }
  *Result = vantrel::win::EncodeItemIdList(Chain);
  return *Result ? S_OK : E_OUTOFMEMORY;
}

BOOL SHGetSpecialFolderPath(HWND, char* Path, int Folder, BOOL Create) {
  if (!Path) return FALSE;
  Path[0] = 0;
  std::string Dir = SpecialFolderPathOf(Folder);
  if (Dir.empty()) return FALSE;
  if (!SpecialIsDir(Dir) && !(Create && ForceDirectories(Dir))) return FALSE;
  if (Dir.size() >= MAX_PATH) return FALSE;
  std::memcpy(Path, Dir.c_str(), Dir.size() + 1);
  return TRUE;
}
