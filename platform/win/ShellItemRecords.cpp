#include "platform/win/ShellItemRecords.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/rtl/FileUtils.h"
#include "platform/win/ShellFolder.h"

namespace vantrel::win {

namespace {

int64_t RecordBirthTime(const std::string& Path, const struct stat& St) {
  struct statx X {};
  if (statx(AT_FDCWD, Path.c_str(), 0, STATX_BTIME, &X) == 0 && (X.stx_mask & STATX_BTIME))
    return X.stx_btime.tv_sec;
  return St.st_ctime;
}

void FillFromStat(ShellItemRecord& R, const std::string& Path, const struct stat& St) {
  R.Mode = St.st_mode;
  R.Size = static_cast<uint64_t>(St.st_size);
  R.Modified = St.st_mtime;
  R.Created = RecordBirthTime(Path, St);
}

}  // namespace

std::string JoinShellPath(const std::string& Folder, const std::string& Name) {
  return Folder == "/" ? "/" + Name : Folder + "/" + Name;
}

std::string ShellHomePath() {
  std::string H = GetEnvironmentVariable("HOME");
  while (H.size() > 1 && H.back() == '/') H.pop_back();
  return H;
}

bool ReadShellRecord(const std::string& Folder, const std::string& Name, ShellItemRecord& R) {
  const std::string Path = JoinShellPath(Folder, Name);
  struct stat L {}, St {};
  if (lstat(Path.c_str(), &L) != 0) return false;
  const bool Link = S_ISLNK(L.st_mode);
  if (!Link || stat(Path.c_str(), &St) != 0) St = L;  // a dangling link stands for itself
  R = ShellItemRecord();
  R.Name = Name;
  const bool Dir = S_ISDIR(St.st_mode);
  R.Kind = Dir ? ShellItemKind::Folder : ShellItemKind::File;
  FillFromStat(R, Path, St);
  ULONG A = SFGAO_FILESYSTEM | SFGAO_CANCOPY | SFGAO_CANLINK | SFGAO_HASPROPSHEET;
  if (Dir) A |= SFGAO_FOLDER | SFGAO_FILESYSANCESTOR | SFGAO_DROPTARGET;
  if (access(Folder.c_str(), W_OK | X_OK) == 0) A |= SFGAO_CANMOVE | SFGAO_CANRENAME | SFGAO_CANDELETE;
  if (Link) A |= SFGAO_LINK;
  if ((St.st_mode & 0222) == 0) A |= SFGAO_READONLY;
  if (!Name.empty() && Name[0] == '.') A |= SFGAO_GHOSTED;
  R.Attributes = A;
  return true;
}

bool HomeShellRecord(ShellItemRecord& R) {
  const std::string Home = ShellHomePath();
  struct stat St {};
  if (Home.empty() || Home[0] != '/' || stat(Home.c_str(), &St) != 0 || !S_ISDIR(St.st_mode)) return false;
  R = ShellItemRecord();
  R.Kind = ShellItemKind::Home;
  R.Name = "Home";
  FillFromStat(R, Home, St);
  R.Attributes = SFGAO_FOLDER | SFGAO_FILESYSTEM | SFGAO_FILESYSANCESTOR | SFGAO_DROPTARGET | SFGAO_HASPROPSHEET;
  return true;
}

ShellItemRecord ComputerRecord() {
  ShellItemRecord R;
  R.Kind = ShellItemKind::Computer;
  R.Name = "Computer";
  R.Attributes = SFGAO_FOLDER | SFGAO_FILESYSANCESTOR | SFGAO_HASPROPSHEET;
  return R;
}

ShellItemRecord VolumeShellRecord(const Volume& V) {
  ShellItemRecord R;
  R.Kind = ShellItemKind::Volume;
  R.Name = V.MountPoint;
  struct stat St {};
  if (stat(V.MountPoint.c_str(), &St) == 0) FillFromStat(R, V.MountPoint, St);
  R.Attributes = SFGAO_FOLDER | SFGAO_FILESYSTEM | SFGAO_FILESYSANCESTOR | SFGAO_DROPTARGET | SFGAO_HASPROPSHEET |
                 SFGAO_CANLINK;
  if (V.Type == DRIVE_REMOVABLE || V.Type == DRIVE_CDROM) R.Attributes |= SFGAO_REMOVABLE;
  return R;
}

bool ShellRecordsPath(const std::vector<ShellItemRecord>& Chain, std::string& Path) {
  if (Chain.empty()) return false;
  size_t i = 0;
  if (Chain[0].Kind == ShellItemKind::Home) {
    Path = ShellHomePath();
    if (Path.empty()) return false;
    i = 1;
  } else if (Chain[0].Kind == ShellItemKind::Computer) {
    if (Chain.size() < 2 || Chain[1].Kind != ShellItemKind::Volume || Chain[1].Name.empty() ||
        Chain[1].Name[0] != '/')
      return false;
    Path = Chain[1].Name;
    i = 2;
  } else {
    return false;
  }
  for (; i < Chain.size(); ++i) {
    const ShellItemRecord& R = Chain[i];
    if ((R.Kind != ShellItemKind::Folder && R.Kind != ShellItemKind::File) || R.Name.empty() || R.Name == "." ||
        R.Name == ".." || R.Name.find('/') != std::string::npos)
      return false;
    Path = JoinShellPath(Path, R.Name);
  }
  return true;
}

HRESULT RenameShellItem(const std::string& OldPath, const std::string& NewPath) {
  if (renameat2(AT_FDCWD, OldPath.c_str(), AT_FDCWD, NewPath.c_str(), RENAME_NOREPLACE) == 0) return S_OK;
  int E = errno;
  if (E == EINVAL || E == ENOSYS) {
    // A file system without no-replace renames: look first.
    struct stat St {};
    if (lstat(NewPath.c_str(), &St) == 0) return HRESULT_FROM_WIN32(ERROR_ALREADY_EXISTS);
    if (::rename(OldPath.c_str(), NewPath.c_str()) == 0) return S_OK;
    E = errno;
  }
  switch (E) {
    case EEXIST:
    case ENOTEMPTY: return HRESULT_FROM_WIN32(ERROR_ALREADY_EXISTS);
    case EACCES:
    case EPERM: return HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED);
    case ENOENT: return HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
    default: return E_FAIL;
  }
}

}  // namespace vantrel::win
