// The path helpers of the file-system controls: folder tests, joining, shortening a path
// to a width, volume labels and sources, and splitting a typed path into folder and name.
#include <algorithm>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FileUtils.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/SysEnv.h"
#include "platform/rtl/Utf8.h"
#include "platform/win/Volumes.h"
#include "skin/dialogs/SkinFileCtrl.h"

namespace {

// What an earlier cut leaves in front of the remaining folders.
const String kFileCtrlCutMark = ".../";

// Restores the process's current folder when the scope ends, if it still exists.
class TCurrentDirKeeper {
 public:
  TCurrentDirKeeper() : FSaved(GetCurrentDir()) {}
  ~TCurrentDirKeeper() {
    if (DirectoryExists(FSaved)) SetCurrentDir(FSaved);
  }
  TCurrentDirKeeper(const TCurrentDirKeeper&) = delete;
  TCurrentDirKeeper& operator=(const TCurrentDirKeeper&) = delete;
  const String& Saved() const { return FSaved; }

 private:
  String FSaved;
};

String FileCtrlApplyCase(const String& S, TTextCase TextCase) {
  return TextCase == tcUpperCase ? UpperCase(S) : LowerCase(S);
}

bool FileCtrlHasWildcard(const String& S) { return S.find_first_of("*?") != String::npos; }

}  // namespace

Boolean IsExistingDirectory(const String& Path) { return !Path.empty() && DirectoryExists(Path); }

String SlashSep(const String& Path, const String& S) {
  if (!Path.empty() && Path.back() == PathDelim) return Path + S;
  return Path + PathDelim + S;
}

void CutFirstDirectory(String& S) {
  if (S == "/") {
    S.clear();
    return;
  }
  const bool Root = !S.empty() && S.front() == PathDelim;
  if (Root) S.erase(0, 1);
  // Only the mark of an earlier cut goes here: a folder may well start with a dot.
  if (S.compare(0, kFileCtrlCutMark.size(), kFileCtrlCutMark) == 0) S.erase(0, kFileCtrlCutMark.size());
  const size_t Slash = S.find(PathDelim);
  S = Slash == String::npos ? String() : kFileCtrlCutMark + S.substr(Slash + 1);
  if (Root) S.insert(0, 1, PathDelim);
}

String MinimizeName(const String& FileName, TCanvas* Canvas, Integer MaxLen) {
  String Result = FileName;
  String Dir = ExtractFilePath(FileName);
  const String Name = ExtractFileName(FileName);
  while (!Dir.empty() && Canvas->TextWidth(Result) > MaxLen) {
    if (Dir == "/" + kFileCtrlCutMark)
      Dir = kFileCtrlCutMark;
    else
      CutFirstDirectory(Dir);
    Result = Dir + Name;
  }
  return Result;
}

String VolumeID(const String& Drive, TTextCase TextCase) {
  char Label[256] = {};
  if (!GetVolumeInformation(Drive.c_str(), Label, sizeof Label, nullptr, nullptr, nullptr, nullptr, 0) ||
      Label[0] == 0)
    return String();
  return Format("[%s]", {FileCtrlApplyCase(Label, TextCase)});
}

String NetworkVolume(const String& Drive, TTextCase TextCase) {
  vantrel::win::Volume V;
  if (vantrel::win::VolumeOfPath(Drive, V) && V.MountPoint == ExcludeTrailingPathDelimiter(Drive) &&
      V.Type == DRIVE_REMOTE && !V.Source.empty())
    return V.Source;
  return VolumeID(Drive, TextCase);
}

Integer DirLevel(const String& PathName) {
  return static_cast<Integer>(std::count(PathName.begin(), PathName.end(), PathDelim));
}

void ProcessPath(const String& EditText, String& Drive, String& DirPart, String& FilePart) {
  TCurrentDirKeeper Keeper;
  DirPart = EditText;
  FilePart.clear();
  // "[name]" is a folder entry of a file list.
  if (DirPart.size() >= 2 && DirPart.front() == '[' && DirPart.back() == ']')
    DirPart = DirPart.substr(1, DirPart.size() - 2);
  FilePart = ExtractFileName(DirPart);
  if (DirPart.size() == FilePart.size() + 1)
    DirPart = "/";
  else if (DirPart.size() > FilePart.size())
    DirPart.erase(DirPart.size() - FilePart.size() - 1);
  else
    DirPart = GetCurrentDir();
  if (!DirPart.empty()) ChDir(DirPart);
  if (!FilePart.empty() && !FileCtrlHasWildcard(FilePart) && !FileExists(FilePart)) {
    ChDir(FilePart);
    DirPart = DirPart == "/" ? "/" + FilePart : DirPart + "/" + FilePart;
    FilePart.clear();
  }
  // A relative folder is answered as the folder it led to: the lists may first move to
  // another volume's mount point, where it would mean something else.
  if (DirPart.empty() || DirPart.front() != PathDelim) DirPart = GetCurrentDir();
  vantrel::win::Volume V;
  Drive = vantrel::win::VolumeOfPath(GetCurrentDir(), V) ? V.MountPoint : String();
}
