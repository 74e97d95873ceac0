// Files, folders, directory search, file-name parts, special folders and the private
// temporary folder.
#include "platform/rtl/FileUtils.h"

#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <pwd.h>
#include <random>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/Utf8.h"

namespace fs = std::filesystem;

namespace vantrel::rtl::detail {

// An open directory search (FindFirst .. FindClose).
struct FindState {
  DIR* Dir = nullptr;
  String Folder;  // with a trailing '/'
  String Mask;
  ~FindState() {
    if (Dir) closedir(Dir);
  }
};

}  // namespace vantrel::rtl::detail

namespace {

using vantrel::rtl::detail::FindState;

char LowerAscii(char C) { return (C >= 'A' && C <= 'Z') ? static_cast<char>(C - 'A' + 'a') : C; }

bool Match(const char* N, const char* M) {
  // Iterative wildcard match with one backtrack point: linear in practice.
  const char* StarM = nullptr;
  const char* StarN = nullptr;
  while (*N) {
    if (*M == '*') {
      StarM = ++M;
      StarN = N;
    } else if (*M == '?' || (*M && LowerAscii(*M) == LowerAscii(*N))) {
      ++M;
      ++N;
    } else if (StarM) {
      M = StarM;
      N = ++StarN;
    } else {
      return false;
    }
  }
  while (*M == '*') ++M;
  return *M == 0;
}

// Local time of a file's modification, as TDateTime and as DOS packed date-time.
void FileTimes(const struct stat& St, TDateTime& Stamp, Integer& Dos) {
  Stamp = UnixToLocalDateTime(static_cast<Int64>(St.st_mtim.tv_sec)) +
          St.st_mtim.tv_nsec / 1e9 / SecsPerDay;
  Dos = DateTimeToFileDate(Stamp);
}

// Attributes of a directory entry as the search reports them.
Integer AttrOf(const String& Name, const struct stat& St, bool IsLink) {
  Integer A = 0;
  if (S_ISDIR(St.st_mode)) A |= faDirectory;
  else A |= faArchive;
  if (Name.size() > 1 && Name[0] == '.' && Name != "..") A |= faHidden;
  if (!(St.st_mode & S_IWUSR)) A |= faReadOnly;
  if (!S_ISDIR(St.st_mode) && !S_ISREG(St.st_mode)) A |= faSysFile;
  if (IsLink) A |= faSymLink;
  return A;
}

String HomeDir() {
  String Home = GetEnvironmentVariable("HOME");
  if (Home.empty()) {
    if (const passwd* Pw = getpwuid(getuid())) Home = Pw->pw_dir ? Pw->pw_dir : "";
  }
  return ExcludeTrailingPathDelimiter(Home);
}

String XdgDir(const char* Var, const char* Default) {
  String V = GetEnvironmentVariable(Var);
  if (!V.empty() && V[0] == '/') return ExcludeTrailingPathDelimiter(V);
  const String Home = HomeDir();
  return Home.empty() ? String() : Home + "/" + Default;
}

// The folder of an XDG user-dirs key (XDG_VIDEOS_DIR ...) from user-dirs.dirs, else Default
// under the home folder.
String UserDir(const char* Key, const char* Default) {
  const String Home = HomeDir();
  if (Home.empty()) return String();
  const String Config = XdgDir("XDG_CONFIG_HOME", ".config");
  std::ifstream In(Config + "/user-dirs.dirs");
  String Line;
  const String Prefix = String(Key) + "=";
  while (std::getline(In, Line)) {
    Line = Trim(Line);
    if (Line.compare(0, Prefix.size(), Prefix) != 0) continue;
    String V = Line.substr(Prefix.size());
    if (V.size() >= 2 && V.front() == '"' && V.back() == '"') V = V.substr(1, V.size() - 2);
    // Values are "$HOME/..." or absolute; backslash escapes are allowed.
    String Unescaped;
    for (size_t i = 0; i < V.size(); ++i) {
      if (V[i] == '\\' && i + 1 < V.size()) ++i;
      Unescaped += V[i];
    }
    if (Unescaped.compare(0, 5, "$HOME") == 0) Unescaped = Home + Unescaped.substr(5);
    if (!Unescaped.empty() && Unescaped[0] == '/') return ExcludeTrailingPathDelimiter(Unescaped);
  }
  return Home + "/" + Default;
}

// The private temporary folder, made once and removed by the process that made it.
class TTempFolder {
 public:
  TTempFolder() {
    String Base = GetEnvironmentVariable("TMPDIR");
    if (Base.empty() || !DirectoryExists(Base)) Base = "/tmp";
    String Template = IncludeTrailingPathDelimiter(Base) + "vantrel-XXXXXX";
    if (!mkdtemp(Template.data()))
      throw EInOutError(Format("Cannot create the temporary folder in %s. %s",
                               {Base, SysErrorMessage(errno)}));
    FPath = IncludeTrailingPathDelimiter(Template);
    FOwner = getpid();
  }
  ~TTempFolder() {
    // A forked child shares the name but must not remove the parent's folder.
    if (getpid() != FOwner) return;
    std::error_code Ec;
    fs::remove_all(FPath, Ec);
  }
  TTempFolder(const TTempFolder&) = delete;
  TTempFolder& operator=(const TTempFolder&) = delete;
  const String& Path() const { return FPath; }

 private:
  String FPath;
  pid_t FOwner = 0;
};

// rename() that fails when NewName exists, without a window between test and rename where
// the file system supports it.
bool RenameNoReplace(const String& OldName, const String& NewName) {
  if (::renameat2(AT_FDCWD, OldName.c_str(), AT_FDCWD, NewName.c_str(), RENAME_NOREPLACE) == 0)
    return true;
  if (errno != EINVAL && errno != ENOSYS) return false;
  struct stat S {};
  if (lstat(NewName.c_str(), &S) == 0) return false;
  return ::rename(OldName.c_str(), NewName.c_str()) == 0;
}

}  // namespace

bool MatchesSearchMask(const String& Name, const String& Mask) {
  if (Mask == "*.*" || Mask == "*") return true;
  return Match(Name.c_str(), Mask.c_str());
}

namespace {

Integer FindMatching(TSearchRec& F) {
  FindState* St = F.FindHandle.get();
  if (!St || !St->Dir) return ERROR_NO_MORE_FILES;
  while (dirent* E = readdir(St->Dir)) {
    const String Name = E->d_name;
    if (!MatchesSearchMask(Name, St->Mask)) continue;
    const String Full = St->Folder + Name;
    struct stat S {};
    bool IsLink = false;
    if (lstat(Full.c_str(), &S) != 0) continue;  // vanished meanwhile
    if (S_ISLNK(S.st_mode)) {
      IsLink = true;
      struct stat Target {};
      if (stat(Full.c_str(), &Target) == 0) S = Target;
    }
    const Integer Attr = AttrOf(Name, S, IsLink);
    if (Attr & F.ExcludeAttr) continue;
    F.Name = Name;
    F.Attr = Attr;
    F.Size = S_ISDIR(S.st_mode) ? 0 : static_cast<Int64>(S.st_size);
    FileTimes(S, F.TimeStamp, F.Time);
    return 0;
  }
  return ERROR_NO_MORE_FILES;
}

}  // namespace

Integer FindFirst(const String& Path, Integer Attr, TSearchRec& F) {
  FindClose(F);
  auto St = std::make_shared<FindState>();
  const size_t Slash = Path.rfind('/');
  St->Folder = Slash == String::npos ? String() : Path.substr(0, Slash + 1);
  St->Mask = Slash == String::npos ? Path : Path.substr(Slash + 1);
  St->Dir = opendir(St->Folder.empty() ? "." : St->Folder.c_str());
  if (!St->Dir) return errno == EACCES ? ERROR_ACCESS_DENIED : ERROR_PATH_NOT_FOUND;
  F.ExcludeAttr = ~Attr & (faHidden | faSysFile | faDirectory);
  F.FindHandle = St;
  const Integer R = FindMatching(F);
  if (R != 0) {
    FindClose(F);
    return ERROR_FILE_NOT_FOUND;
  }
  return 0;
}

Integer FindNext(TSearchRec& F) { return FindMatching(F); }

void FindClose(TSearchRec& F) { F.FindHandle.reset(); }

bool FileExists(const String& FileName) {
  struct stat S {};
  return !FileName.empty() && stat(FileName.c_str(), &S) == 0 && !S_ISDIR(S.st_mode);
}

bool DirectoryExists(const String& Directory) {
  struct stat S {};
  return !Directory.empty() && stat(Directory.c_str(), &S) == 0 && S_ISDIR(S.st_mode);
}

bool CreateDir(const String& Dir) { return !Dir.empty() && mkdir(Dir.c_str(), 0777) == 0; }

bool ForceDirectories(const String& Dir) {
  const String D = ExcludeTrailingPathDelimiter(Dir);
  if (D.empty()) return false;
  if (DirectoryExists(D)) return true;
  const size_t Slash = D.rfind('/');
  if (Slash != String::npos && Slash > 0 && !ForceDirectories(D.substr(0, Slash))) return false;
  return CreateDir(D) || DirectoryExists(D);  // another process may have made it meanwhile
}

bool RemoveDir(const String& Dir) { return !Dir.empty() && rmdir(Dir.c_str()) == 0; }

bool DeleteFile(const String& FileName) {
  if (DirectoryExists(FileName)) return false;
  return !FileName.empty() && unlink(FileName.c_str()) == 0;
}

bool RenameFile(const String& OldName, const String& NewName) {
  if (OldName.empty() || NewName.empty()) return false;
  // Like the platform's rename: an existing target is not replaced.
  return RenameNoReplace(OldName, NewName);
}

bool CopyFile(const String& ExistingFile, const String& NewFile, bool FailIfExists) {
  if (!FileExists(ExistingFile) || NewFile.empty()) return false;
  std::error_code Ec;
  if (fs::exists(NewFile, Ec)) {
    if (FailIfExists) return false;
    if (fs::equivalent(ExistingFile, NewFile, Ec)) return false;
  }
  // Copy into a temporary name next to the target, then rename: a failed copy leaves neither
  // a partial file nor a damaged old target.
  const String Temp = GetTempFileName("." + ExtractFileName(NewFile) + ".", ExtractFilePath(ExpandFileName(NewFile)));
  if (Temp.empty()) return false;
  const bool Ok = fs::copy_file(ExistingFile, Temp, fs::copy_options::overwrite_existing, Ec) &&
                  !Ec;
  if (Ok) {
    fs::permissions(Temp, fs::status(ExistingFile, Ec).permissions(), Ec);
    if (FailIfExists ? RenameNoReplace(Temp, NewFile) : ::rename(Temp.c_str(), NewFile.c_str()) == 0)
      return true;
  }
  ::unlink(Temp.c_str());
  return false;
}

Int64 FileSize(const String& FileName) {
  struct stat S {};
  if (FileName.empty() || stat(FileName.c_str(), &S) != 0 || S_ISDIR(S.st_mode)) return -1;
  return static_cast<Int64>(S.st_size);
}

bool FileAge(const String& FileName, TDateTime& FileDateTime) {
  struct stat S {};
  if (FileName.empty() || stat(FileName.c_str(), &S) != 0 || S_ISDIR(S.st_mode)) return false;
  Integer Dos;
  FileTimes(S, FileDateTime, Dos);
  return true;
}

Integer FileAge(const String& FileName) {
  TDateTime T;
  return FileAge(FileName, T) ? DateTimeToFileDate(T) : -1;
}

Integer DateTimeToFileDate(TDateTime DateTime) {
  Word Y, Mo, D, H, Mi, S, Ms;
  DecodeDateTime(DateTime, Y, Mo, D, H, Mi, S, Ms);
  if (Y < 1980 || Y > 2107) return 0;  // outside the packed format's range
  const UInt64 Date = static_cast<UInt64>((Y - 1980) << 9 | Mo << 5 | D);
  const UInt64 Time = static_cast<UInt64>(H << 11 | Mi << 5 | S / 2);
  return static_cast<Integer>(static_cast<uint32_t>(Date << 16 | Time));
}

TDateTime FileDateToDateTime(Integer FileDate) {
  const uint32_t F = static_cast<uint32_t>(FileDate);
  const uint32_t Date = F >> 16, Time = F & 0xFFFF;
  TDateTime D, T;
  if (!TryEncodeDate(static_cast<Word>((Date >> 9) + 1980), static_cast<Word>(Date >> 5 & 15),
                     static_cast<Word>(Date & 31), D) ||
      !TryEncodeTime(static_cast<Word>(Time >> 11), static_cast<Word>(Time >> 5 & 63),
                     static_cast<Word>((Time & 31) * 2), 0, T))
    return 0;
  return D + T;
}

String ExtractFileName(const String& FileName) {
  const size_t P = FileName.rfind('/');
  return P == String::npos ? FileName : FileName.substr(P + 1);
}

String ExtractFilePath(const String& FileName) {
  const size_t P = FileName.rfind('/');
  return P == String::npos ? String() : FileName.substr(0, P + 1);
}

String ExtractFileDir(const String& FileName) {
  const size_t P = FileName.rfind('/');
  if (P == String::npos) return String();
  return P == 0 ? String("/") : FileName.substr(0, P);
}

String ExtractFileExt(const String& FileName) {
  const size_t P = FileName.find_last_of("./");
  return (P == String::npos || FileName[P] != '.') ? String() : FileName.substr(P);
}

String ExtractFileDrive(const String&) { return String(); }

String ChangeFileExt(const String& FileName, const String& Extension) {
  const size_t P = FileName.find_last_of("./");
  if (P == String::npos || FileName[P] != '.') return FileName + Extension;
  return FileName.substr(0, P) + Extension;
}

String ExpandFileName(const String& FileName) {
  if (FileName.empty()) return String();
  const bool Trailing = FileName.back() == '/';
  fs::path P = FileName[0] == '/' ? fs::path(FileName)
                                  : fs::path(IncludeTrailingPathDelimiter(GetCurrentDir())) / FileName;
  String R = P.lexically_normal().string();
  // lexically_normal keeps "dir/" and turns "dir/." into "dir/": keep the caller's form.
  if (!Trailing && R.size() > 1 && R.back() == '/') R.pop_back();
  return R;
}

String GetSpecialFolder(Word CSIDL) {
  const String Dir = LocateSpecialFolder(CSIDL);
  if (Dir.empty() || !ForceDirectories(Dir)) return String();
  return Dir;
}

String LocateSpecialFolder(Word CSIDL) {
  String Dir;
  switch (CSIDL) {
    case CSIDL_PERSONAL: Dir = UserDir("XDG_DOCUMENTS_DIR", "Documents"); break;
    case CSIDL_MYVIDEO: Dir = UserDir("XDG_VIDEOS_DIR", "Videos"); break;
    case CSIDL_MYMUSIC: Dir = UserDir("XDG_MUSIC_DIR", "Music"); break;
    case CSIDL_MYPICTURES: Dir = UserDir("XDG_PICTURES_DIR", "Pictures"); break;
    case CSIDL_DESKTOP:
    case CSIDL_DESKTOPDIRECTORY: Dir = UserDir("XDG_DESKTOP_DIR", "Desktop"); break;
    case CSIDL_APPDATA: Dir = XdgDir("XDG_CONFIG_HOME", ".config"); break;
    case CSIDL_LOCAL_APPDATA: Dir = XdgDir("XDG_DATA_HOME", ".local/share"); break;
    case CSIDL_TEMPLATES: Dir = UserDir("XDG_TEMPLATES_DIR", "Templates"); break;
    case CSIDL_PROFILE: Dir = HomeDir(); break;
    default: return String();
  }
  return Dir;
}

String GetTempFolder() {
  static const TTempFolder Folder;
  return Folder.Path();
}

String GetTempFileName(const String& Prefix, const String& Dir) {
  String Template;
  try {
    Template = IncludeTrailingPathDelimiter(Dir.empty() ? GetTempFolder() : Dir) + Prefix + "XXXXXX";
  } catch (const Exception&) {
    return String();
  }
  const int Fd = mkostemp(Template.data(), O_CLOEXEC);
  if (Fd < 0) return String();
  ::close(Fd);
  return Template;
}

namespace vantrel::rtl {

void SaveFileAtomically(const String& FileName, const String& Data,
                        const std::function<void(const String& TempName)>& BeforeRename) {
  auto Fail = [&](int Err) {
    throw EFCreateError(Format("Cannot create file \"%s\". %s", {FileName, SysErrorMessage(Err)}));
  };
  if (FileName.empty()) Fail(ENOENT);
  String Target = FileName;
  struct stat Old {};
  const bool Exists = ::lstat(FileName.c_str(), &Old) == 0;
  if (Exists && S_ISLNK(Old.st_mode)) {
    if (char* Real = ::realpath(FileName.c_str(), nullptr)) {
      Target = Real;
      ::free(Real);
    }
  }
  struct stat TargetStat {};
  const bool TargetExists = ::stat(Target.c_str(), &TargetStat) == 0;
  if (TargetExists && S_ISDIR(TargetStat.st_mode)) Fail(EISDIR);

  // A new name in the target's folder, so the rename stays within one file system.
  std::random_device Rd;
  String Temp;
  int Fd = -1;
  for (int Try = 0; Try < 100 && Fd < 0; ++Try) {
    Temp = ExtractFilePath(Target) + "." + ExtractFileName(Target) + ".tmp" + IntToHex(Rd(), 8);
    Fd = ::open(Temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (Fd < 0 && errno != EEXIST) Fail(errno);
  }
  if (Fd < 0) Fail(EEXIST);
  int Err = 0;
  size_t Done = 0;
  while (Done < Data.size() && Err == 0) {
    const ssize_t N = ::write(Fd, Data.data() + Done, Data.size() - Done);
    if (N < 0 && errno == EINTR) continue;
    if (N <= 0) Err = N < 0 ? errno : EIO;
    else Done += static_cast<size_t>(N);
  }
  if (Err == 0 && TargetExists) ::fchmod(Fd, TargetStat.st_mode & 07777);
  if (Err == 0 && ::fsync(Fd) != 0) Err = errno;
  if (::close(Fd) != 0 && Err == 0) Err = errno;
  if (Err != 0) {
    ::unlink(Temp.c_str());
    Fail(Err);
  }
  if (BeforeRename) {
    try {
      BeforeRename(Temp);
    } catch (...) {
      ::unlink(Temp.c_str());
      throw;
    }
  }
  if (::rename(Temp.c_str(), Target.c_str()) != 0) {
    Err = errno;
    ::unlink(Temp.c_str());
    Fail(Err);
  }
  // Make the rename itself durable.
  const String Dir = ExtractFilePath(Target).empty() ? String(".") : ExtractFilePath(Target);
  const int DirFd = ::open(Dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (DirFd >= 0) {
    ::fsync(DirFd);
    ::close(DirFd);
  }
}

}  // namespace vantrel::rtl
