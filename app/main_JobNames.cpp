// The output names of a conversion job: made from the destination titles, unique within
// the job, and never one of the job's sources.
#include <sys/stat.h>

#include <set>
#include <utility>

#include "app/main_Job.h"
#include "platform/rtl/FileUtils.h"
#include "platform/rtl/NumConv.h"
#include "platform/rtl/SysEnv.h"
#include "platform/rtl/Utf8.h"

namespace vantrel::app {

namespace {

// The identity of an existing file: its device and inode.
using TFileIdentity = std::pair<dev_t, ino_t>;

bool JobFileIdentity(const String& FileName, TFileIdentity& Id) {
  struct stat St {};
  if (::stat(FileName.c_str(), &St) != 0) return false;
  Id = {St.st_dev, St.st_ino};
  return true;
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

// Picks the first of Stem + Ext, Stem + " (2)" + Ext, ... that is not taken and no source.
class TJobNamer {
 public:
  explicit TJobNamer(const TMainUnitState& State) {
    for (const TVideoFile& E : State.VideoFiles) {
      TFileIdentity Id;
      if (JobFileIdentity(E.Source, Id)) FSources.insert(Id);
    }
  }

  String Pick(const String& Stem, const String& Ext) {
    String Name = Stem + Ext;
    for (Integer N = 2; Taken(Name); ++N) Name = Stem + " (" + IntToStr(N) + ")" + Ext;
    FTaken.insert(Name);
    return Name;
  }

 private:
  bool Taken(const String& Name) const {
    if (FTaken.count(Name)) return true;
    TFileIdentity Id;
    return JobFileIdentity(Name, Id) && FSources.count(Id);
  }

  std::set<TFileIdentity> FSources;
  std::set<String> FTaken;
};

}  // namespace

std::vector<String> SingleOutputNames(const TMainUnitState& State, const String& Folder) {
  TJobNamer Namer(State);
  const String Dir = IncludeTrailingPathDelimiter(Folder);
  std::vector<String> Names;
  for (const TVideoFile& E : State.VideoFiles)
    Names.push_back(Namer.Pick(Dir + OutputTitle(E), EntryFormat(State, E).FormatExt));
  return Names;
}

String JoinedOutputName(const TMainUnitState& State, const String& Folder, const String& Ext) {
  return TJobNamer(State).Pick(IncludeTrailingPathDelimiter(Folder) + "Joined", Ext);
}

}  // namespace vantrel::app
