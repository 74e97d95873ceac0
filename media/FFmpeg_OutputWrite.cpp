// Writing the output files of a conversion task. Nothing is made on disk when the task is
// set up: only the place is checked. When the task starts, each output is written into a
// part file next to it; a task that finishes moves it to its name, or to the first free
// "name (2).ext", "name (3).ext", ... when a file has that name, and never replaces a
// file. A task that does not finish leaves no file behind, and a part file that a run
// which crashed left is removed by the next task writing into that folder.
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <ctime>
#include <random>
#include <string_view>

#include "media/AVFormatAPI.h"
#include "media/AVUtilAPI.h"
#include "media/FFmpeg.h"
#include "media/UnicodeProtocol.h"
#include "platform/rtl/FileUtils.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/NumConv.h"
#include "platform/rtl/SysEnv.h"

namespace vantrel::media {

namespace {

// Tries of a part-file name and of numbered names before giving up.
constexpr Integer MaxPartTries = 100;
constexpr Integer MaxNumberedNames = 10000;
// A part file's name: "." + the output's name + PartMark + PartLetters letters + PartExt.
constexpr std::string_view PartMark = ".vantrel-";
constexpr size_t PartLetters = 6;
constexpr std::string_view PartExt = ".part";
constexpr size_t PartNameExtra = 1 + PartMark.size() + PartLetters + PartExt.size();
constexpr char PartLetterSet[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
// A part file nobody holds is left alone this long after its last change: the task that
// made it may not have locked it yet.
constexpr time_t StalePartSeconds = 60;

String OutputFolderOf(const String& AFileName) {
  const size_t Slash = AFileName.rfind('/');
  if (Slash == String::npos) return ".";
  return Slash == 0 ? String("/") : AFileName.substr(0, Slash);
}

// The longest entry name the folder takes.
size_t EntryNameMax(const String& AFolder) {
  const long N = ::pathconf(AFolder.c_str(), _PC_NAME_MAX);
  return N > 0 ? static_cast<size_t>(N) : 255;
}

// At most AMax bytes of a UTF-8 text, cut between two characters.
String CutUtf8(const String& AText, size_t AMax) {
  if (AText.size() <= AMax) return AText;
  size_t N = AMax;
  while (N > 0 && (static_cast<unsigned char>(AText[N]) & 0xC0) == 0x80) --N;
  return AText.substr(0, N);
}

String RandomLetters(size_t ACount) {
  thread_local std::mt19937 Gen{std::random_device{}()};
  std::uniform_int_distribution<size_t> Pick(0, sizeof PartLetterSet - 2);
  String S;
  for (size_t I = 0; I < ACount; ++I) S += PartLetterSet[Pick(Gen)];
  return S;
}

// Whether AName is named as CreatePartFile names part files.
bool IsPartFileName(std::string_view AName) {
  if (AName.size() <= PartNameExtra || AName[0] != '.' || !AName.ends_with(PartExt)) return false;
  const std::string_view Letters = AName.substr(AName.size() - PartExt.size() - PartLetters, PartLetters);
  const std::string_view Mark =
      AName.substr(AName.size() - PartExt.size() - PartLetters - PartMark.size(), PartMark.size());
  return Mark == PartMark && Letters.find_first_not_of(PartLetterSet) == std::string_view::npos;
}

// Moves AFrom to ATo unless something has the name ATo: 0, or the error number
// (EEXIST when the name is taken).
int MoveNoReplace(const String& AFrom, const String& ATo) {
  if (::renameat2(AT_FDCWD, AFrom.c_str(), AT_FDCWD, ATo.c_str(), RENAME_NOREPLACE) == 0) return 0;
  int Err = errno;
  if (Err != EINVAL && Err != ENOSYS && Err != EOPNOTSUPP) return Err;
  // A file system without that kind of rename: a second link never replaces either.
  if (::link(AFrom.c_str(), ATo.c_str()) == 0) {
    ::unlink(AFrom.c_str());
    return 0;
  }
  Err = errno;
  if (Err != EPERM && Err != EOPNOTSUPP && Err != ENOSYS) return Err;
  // Nor links: the name is looked at just before the move.
  struct stat St;
  if (::lstat(ATo.c_str(), &St) == 0) return EEXIST;
  return ::rename(AFrom.c_str(), ATo.c_str()) == 0 ? 0 : errno;
}

}  // namespace

int CheckOutputPlace(const String& AFileName, bool& ADirect) {
  ADirect = false;
  if (IsProtocolName(AFileName)) {
    ADirect = true;
    return 0;
  }
  struct stat St;
  if (::stat(AFileName.c_str(), &St) == 0) {
    if (S_ISDIR(St.st_mode)) return AVERROR(EISDIR);
    // A device or a pipe is written as it is.
    if (!S_ISREG(St.st_mode)) {
      ADirect = true;
      return ::access(AFileName.c_str(), W_OK) == 0 ? 0 : AVERROR(errno);
    }
  }
  const String Folder = OutputFolderOf(AFileName);
  if (::stat(Folder.c_str(), &St) != 0) return AVERROR(errno);
  if (!S_ISDIR(St.st_mode)) return AVERROR(ENOTDIR);
  if (::access(Folder.c_str(), W_OK | X_OK) != 0) return AVERROR(errno);
  if (ExtractFileName(AFileName).size() > EntryNameMax(Folder)) return AVERROR(ENAMETOOLONG);
  return 0;
}

TPartFileLock& TPartFileLock::operator=(TPartFileLock&& A) noexcept {
  if (this != &A) {
    Release();
    FFd = std::exchange(A.FFd, -1);
  }
  return *this;
}

void TPartFileLock::Release() {
  if (FFd >= 0) ::close(FFd);  // the lock goes with the descriptor
  FFd = -1;
}

String CreatePartFile(const String& AFileName, int& AError, TPartFileLock* ALock) {
  AError = 0;
  const String Folder = OutputFolderOf(AFileName);
  const size_t Max = EntryNameMax(Folder);
  const String Stem = CutUtf8(ExtractFileName(AFileName), Max > PartNameExtra ? Max - PartNameExtra : 1);
  const size_t Slash = AFileName.rfind('/');
  const String Dir = Slash == String::npos ? String() : AFileName.substr(0, Slash + 1);
  for (Integer Try = 0; Try < MaxPartTries; ++Try) {
    const String Name = Dir + "." + Stem + String(PartMark) + RandomLetters(PartLetters) + String(PartExt);
    const int Fd = ::open(Name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (Fd >= 0) {
      if (ALock && ::flock(Fd, LOCK_EX | LOCK_NB) == 0) {
        *ALock = TPartFileLock(Fd);
      } else {
        ::close(Fd);
      }
      return Name;
    }
    if (errno != EEXIST) {
      AError = errno;
      return String();
    }
  }
  AError = EEXIST;
  return String();
}

std::vector<String> RemoveStalePartFiles(const String& AFolder) {
  std::vector<String> Removed;
  DIR* D = ::opendir(AFolder.c_str());
  if (!D) return Removed;
  const int DirFd = ::dirfd(D);
  const time_t Now = ::time(nullptr);
  while (const dirent* E = ::readdir(D)) {
    if (!IsPartFileName(E->d_name)) continue;
    // Opened without following a link: only a plain file of ours, as it is now.
    const int Fd = ::openat(DirFd, E->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (Fd < 0) continue;
    struct stat St;
    const bool Ours = ::fstat(Fd, &St) == 0 && S_ISREG(St.st_mode) && St.st_uid == ::geteuid() &&
                      Now - St.st_mtime >= StalePartSeconds;
    // A task that writes it holds its lock; a run that ended took its lock along.
    if (Ours && ::flock(Fd, LOCK_EX | LOCK_NB) == 0) {
      struct stat Named;
      // Still the same file under that name.
      if (::fstatat(DirFd, E->d_name, &Named, AT_SYMLINK_NOFOLLOW) == 0 && Named.st_ino == St.st_ino &&
          Named.st_dev == St.st_dev && ::unlinkat(DirFd, E->d_name, 0) == 0)
        Removed.push_back(IncludeTrailingPathDelimiter(AFolder) + E->d_name);
    }
    ::close(Fd);
  }
  ::closedir(D);
  return Removed;
}

String NumberedFileName(const String& AFileName, Integer AN) {
  const String Ext = ExtractFileExt(AFileName);
  return AFileName.substr(0, AFileName.size() - Ext.size()) + " (" + IntToStr(AN) + ")" + Ext;
}

String MoveToFreeName(const String& APart, const String& AFileName) {
  for (Integer N = 1; N <= MaxNumberedNames; ++N) {
    const String Name = N == 1 ? AFileName : NumberedFileName(AFileName, N);
    const int Err = MoveNoReplace(APart, Name);
    if (Err == 0) return Name;
    if (Err != EEXIST) throw FFmpegException(PrintError(Name, AVERROR(Err)));
  }
  throw FFmpegException(PrintError(AFileName, AVERROR(EEXIST)));
}

void TCustomFFmpeg::OpenOutputFiles() {
  const Integer Outputs = FJoinMode ? std::min(Fnb_output_files, 1) : Fnb_output_files;
  for (Integer i = 0; i < Outputs; ++i) {
    AVFormatContext* oc = Foutput_files[i];
    if (!oc || (oc->oformat->flags & AVFMT_NOFILE) || oc->pb) continue;
    TOutputFileSettings& Settings = Foutput_file_settings[i];
    const String& Name = Foutput_file_names[i];
    String Target = Name;
    if (!Settings.direct) {
      for (const String& Stale : RemoveStalePartFiles(OutputFolderOf(Name)))
        Log(llInfo, Format("Removed '%s', a part file that an unfinished run left", {Stale}));
      int Err = 0;
      Settings.part_name = CreatePartFile(Name, Err, &Settings.part_lock);
      if (Settings.part_name.empty()) throw FFmpegException(PrintError(Name, AVERROR(Err)));
      Target = Settings.part_name;
      // A muxer that reads its file back (an index moved to the front) finds it by name.
      char* Url = ff::av_strdup(ToFFmpegFileName(Target).c_str());
      if (!Url) throw EOutOfMemory("Out of memory");
      ff::av_freep(&oc->url);
      oc->url = Url;
    }
    ArmReadTimeout();
    const int Err = OpenFFmpegIO(&oc->pb, Target, AVIO_FLAG_WRITE, nullptr);
    DisarmReadTimeout();
    if (Err < 0) throw FFmpegException(PrintError(Name, Err));
  }
}

void TCustomFFmpeg::CommitOutputFiles() {
  const Integer Outputs = FJoinMode ? std::min(Fnb_output_files, 1) : Fnb_output_files;
  for (Integer i = 0; i < Outputs; ++i) {
    AVFormatContext* oc = Foutput_files[i];
    if (!oc || !oc->pb) continue;
    TOutputFileSettings& Settings = Foutput_file_settings[i];
    const String Name = Foutput_file_names[i];
    const int Err = CloseFFmpegIO(&oc->pb);
    if (Err < 0) throw FFmpegException(PrintError(Name, Err));
    if (Settings.part_name.empty()) continue;
    const String Written = MoveToFreeName(Settings.part_name, Name);
    Settings.part_name.clear();
    Settings.part_lock.Release();
    Foutput_file_names[i] = Written;
    if (Written != Name)
      Log(llInfo, Format("A file named '%s' exists: the output was written to '%s'", {Name, Written}));
  }
}

void TCustomFFmpeg::DropOutputFile(Integer AIndex) {
  AVFormatContext* oc = Foutput_files[AIndex];
  if (oc && oc->pb) CloseFFmpegIO(&oc->pb);
  if (AIndex >= static_cast<Integer>(Foutput_file_settings.size())) return;
  TOutputFileSettings& Settings = Foutput_file_settings[AIndex];
  if (!Settings.part_name.empty()) ::unlink(Settings.part_name.c_str());
  Settings.part_name.clear();
  Settings.part_lock.Release();
}

String TCustomFFmpeg::OutputFileName(Integer AIndex) const {
  if (AIndex < 0 || AIndex >= static_cast<Integer>(Foutput_file_names.size())) return String();
  return Foutput_file_names[AIndex];
}

}  // namespace vantrel::media
