// Writing the output files of a conversion task. Nothing is made on disk when the task is
// set up: only the place is checked. When the task starts, each output is written into a
// part file next to it; a task that finishes moves it to its name, or to the first free
// "name (2).ext", "name (3).ext", ... when a file has that name, and never replaces a
// file. A task that does not finish leaves no file behind.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <random>

#include "media/AVFormatAPI.h"
#include "media/AVUtilAPI.h"
#include "media/FFmpeg.h"
#include "media/UnicodeProtocol.h"
#include "platform/rtl/FileUtils.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/NumConv.h"

namespace vantrel::media {

namespace {

// Tries of a part-file name and of numbered names before giving up.
constexpr Integer MaxPartTries = 100;
constexpr Integer MaxNumberedNames = 10000;
// What a part-file name adds to the output's own: "." before, "." + 6 letters + ".part" after.
constexpr size_t PartNameExtra = 1 + 1 + 6 + 5;

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
  static const char Letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  thread_local std::mt19937 Gen{std::random_device{}()};
  std::uniform_int_distribution<size_t> Pick(0, sizeof Letters - 2);
  String S;
  for (size_t I = 0; I < ACount; ++I) S += Letters[Pick(Gen)];
  return S;
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

String CreatePartFile(const String& AFileName, int& AError) {
  AError = 0;
  const String Folder = OutputFolderOf(AFileName);
  const size_t Max = EntryNameMax(Folder);
  const String Stem = CutUtf8(ExtractFileName(AFileName), Max > PartNameExtra ? Max - PartNameExtra : 1);
  const size_t Slash = AFileName.rfind('/');
  const String Dir = Slash == String::npos ? String() : AFileName.substr(0, Slash + 1);
  for (Integer Try = 0; Try < MaxPartTries; ++Try) {
    const String Name = Dir + "." + Stem + "." + RandomLetters(6) + ".part";
    const int Fd = ::open(Name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (Fd >= 0) {
      ::close(Fd);
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
      int Err = 0;
      Settings.part_name = CreatePartFile(Name, Err);
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
}

String TCustomFFmpeg::OutputFileName(Integer AIndex) const {
  if (AIndex < 0 || AIndex >= static_cast<Integer>(Foutput_file_names.size())) return String();
  return Foutput_file_names[AIndex];
}

}  // namespace vantrel::media
