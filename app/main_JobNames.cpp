// The output names of a conversion job: made from the destination titles, unique within
// the job, and never the name of anything on disk (a source or an earlier output).
#include <sys/stat.h>

#include <set>

#include "app/main_Job.h"
#include "platform/rtl/FileUtils.h"
#include "platform/rtl/NumConv.h"
#include "platform/rtl/SysEnv.h"
#include "platform/rtl/Utf8.h"

namespace vantrel::app {

namespace {

// Anything on disk under that name: a file, a folder, a link (even one that leads nowhere).
bool JobNameOnDisk(const String& FileName) {
  struct stat St {};
  return ::lstat(FileName.c_str(), &St) == 0;
}

bool OnlyDots(const String& S) { return S.find_first_not_of('.') == String::npos; }

// A title that names one file in the output folder.
String OutputTitle(const TVideoFile& E) {
  String Title = StringReplace(E.DestinationTitle, "/", "_", {rfReplaceAll});
  if (!OnlyDots(Title)) return Title;
  const String Name = ExtractFileName(E.Source);
  const String Ext = ExtractFileExt(Name);
  Title = Name.substr(0, Name.size() - Ext.size());
  return OnlyDots(Title) ? Name : Title;
}

// Picks the first of Stem + Ext, Stem + " (2)" + Ext, ... that is neither another output
// of the job nor anything on disk (a source, an earlier output): no file is ever replaced.
class TJobNamer {
 public:
  String Pick(const String& Stem, const String& Ext) {
    String Name = Stem + Ext;
    for (Integer N = 2; Taken(Name); ++N) Name = Stem + " (" + IntToStr(N) + ")" + Ext;
    FTaken.insert(Name);
    return Name;
  }

 private:
  bool Taken(const String& Name) const { return FTaken.count(Name) || JobNameOnDisk(Name); }

  std::set<String> FTaken;
};

}  // namespace

std::vector<String> SingleOutputNames(const TMainUnitState& State, const String& Folder) {
  TJobNamer Namer;
  const String Dir = IncludeTrailingPathDelimiter(Folder);
  std::vector<String> Names;
  for (const TVideoFile& E : State.VideoFiles)
    Names.push_back(Namer.Pick(Dir + OutputTitle(E), EntryFormat(State, E).FormatExt));
  return Names;
}

String JoinedOutputName(const TMainUnitState&, const String& Folder, const String& Ext) {
  return TJobNamer().Pick(IncludeTrailingPathDelimiter(Folder) + "Joined", Ext);
}

}  // namespace vantrel::app
