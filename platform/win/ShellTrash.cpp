#include "platform/win/ShellTrash.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>

#include "platform/rtl/FileUtils.h"
#include "platform/rtl/SysEnv.h"
#include "platform/win/ShellItemRecords.h"

namespace vantrel::win {

namespace {

// Makes Folder (and its parents) with mode 0700 where missing.
bool TrashMakeFolder(const std::string& Folder) {
  struct stat St {};
  if (stat(Folder.c_str(), &St) == 0) return S_ISDIR(St.st_mode);
  const std::string Parent = ExtractFileDir(Folder);
  if (!Parent.empty() && Parent != Folder && !TrashMakeFolder(Parent)) return false;
  return mkdir(Folder.c_str(), 0700) == 0 || errno == EEXIST;
}

std::string TrashDeletionDate() {
  const time_t Now = time(nullptr);
  tm Local{};
  localtime_r(&Now, &Local);
  char B[32];
  std::strftime(B, sizeof B, "%Y-%m-%dT%H:%M:%S", &Local);
  return B;
}

// The N-th candidate name for Name in the Trash: "name", "name.2", "name.3", ...
std::string TrashCandidate(const std::string& Name, int N) {
  if (N == 1) return Name;
  const size_t Dot = Name.rfind('.');
  if (Dot == std::string::npos || Dot == 0) return Name + "." + std::to_string(N);
  return Name.substr(0, Dot) + "." + std::to_string(N) + Name.substr(Dot);
}

}  // namespace

std::string TrashFolder() {
  std::string Data = GetEnvironmentVariable("XDG_DATA_HOME");
  if (Data.empty() || Data[0] != '/') {
    const std::string Home = ShellHomePath();
    if (Home.empty()) return {};
    Data = Home + "/.local/share";
  }
  while (Data.size() > 1 && Data.back() == '/') Data.pop_back();
  return Data + "/Trash";
}

std::string TrashEscapePath(const std::string& Path) {
  static const char* const Hex = "0123456789ABCDEF";
  std::string Out;
  for (unsigned char C : Path) {
    if (std::isalnum(C) || std::strchr("/-_.~!$&'()*+,;=:@", C)) {
      Out += static_cast<char>(C);
    } else {
      Out += '%';
      Out += Hex[C >> 4];
      Out += Hex[C & 15];
    }
  }
  return Out;
}

bool MoveToTrash(const std::string& Path, std::string& TrashedAs, std::string& Error) {
  const std::string Name = ExtractFileName(Path);
  struct stat Item {};
  if (Path.empty() || Path[0] != '/' || Name.empty() || lstat(Path.c_str(), &Item) != 0) {
    Error = "\"" + Path + "\" does not exist.";
    return false;
  }
  const std::string Trash = TrashFolder();
  const std::string Files = Trash + "/files", Info = Trash + "/info";
  if (Trash.empty() || !TrashMakeFolder(Files) || !TrashMakeFolder(Info)) {
    Error = "The Trash folder \"" + Trash + "\" cannot be made.";
    return false;
  }
  struct stat TrashSt {};
  if (stat(Files.c_str(), &TrashSt) != 0 || TrashSt.st_dev != Item.st_dev) {
    Error = "\"" + Name + "\" is on another file system than the Trash and cannot be moved there.";
    return false;
  }
  if (Path == Trash || Trash.compare(0, Path.size() + 1, Path + "/") == 0) {
    Error = "The Trash cannot be moved into itself.";
    return false;
  }
  const std::string Record = "[Trash Info]\nPath=" + TrashEscapePath(Path) + "\nDeletionDate=" + TrashDeletionDate() + "\n";
  for (int N = 1; N < 10000; ++N) {
    const std::string Candidate = TrashCandidate(Name, N);
    const std::string InfoPath = Info + "/" + Candidate + ".trashinfo";
    // The record is made first and exclusively: it reserves the name.
    const int Fd = open(InfoPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (Fd < 0) {
      if (errno == EEXIST) continue;
      Error = "The Trash's record for \"" + Name + "\" cannot be written: " + std::strerror(errno) + ".";
      return false;
    }
    const bool Written = write(Fd, Record.data(), Record.size()) == static_cast<ssize_t>(Record.size());
    const bool Closed = close(Fd) == 0;
    if (!Written || !Closed) {
      unlink(InfoPath.c_str());
      Error = "The Trash's record for \"" + Name + "\" cannot be written.";
      return false;
    }
    const std::string Target = Files + "/" + Candidate;
    const HRESULT R = RenameShellItem(Path, Target);
    if (R == HRESULT_FROM_WIN32(ERROR_ALREADY_EXISTS)) {  // a stray file without a record
      unlink(InfoPath.c_str());
      continue;
    }
    if (FAILED(R)) {
      unlink(InfoPath.c_str());
      Error = "\"" + Name + "\" cannot be moved to the Trash" +
              (R == HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED) ? ": access is denied." : ".");
      return false;
    }
    TrashedAs = Target;
    return true;
  }
  Error = "The Trash has no free name for \"" + Name + "\".";
  return false;
}

}  // namespace vantrel::win
