// The preview's files: the players' private SDL copies, the snapshot names and the time
// label's text.
#include <cstdio>
#include <memory>

#include "app/log.h"
#include "app/main.h"
#include "media/MyUtils.h"
#include "platform/rtl/FileUtils.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/NumConv.h"
#include "platform/rtl/SysEnv.h"

namespace vantrel::app {

namespace {

constexpr const char* SdlLibraryName = "libSDL-1.2.so.0";

// The multiarch library folder of the platform the program was built for.
#if defined(__x86_64__)
constexpr const char* MultiarchTriplet = "x86_64-linux-gnu";
#elif defined(__aarch64__)
constexpr const char* MultiarchTriplet = "aarch64-linux-gnu";
#elif defined(__i386__)
constexpr const char* MultiarchTriplet = "i386-linux-gnu";
#else
constexpr const char* MultiarchTriplet = "";
#endif

struct PipeCloser {
  void operator()(FILE* F) const { pclose(F); }
};

// The path the dynamic linker's cache lists for Name (the first entry), "" when none.
String LinkerCacheEntry(const String& Name) {
  for (const char* Tool : {"/sbin/ldconfig", "/usr/sbin/ldconfig"}) {
    if (!FileExists(Tool)) continue;
    std::unique_ptr<FILE, PipeCloser> Pipe(popen((String(Tool) + " -p 2>/dev/null").c_str(), "r"));
    if (!Pipe) continue;
    char Line[1024];
    while (std::fgets(Line, sizeof Line, Pipe.get())) {
      String L = Line;
      while (!L.empty() && (L.back() == '\n' || L.back() == ' ')) L.pop_back();
      const size_t Start = L.find_first_not_of(" \t");
      const size_t Arrow = L.find(" => ");
      if (Start == String::npos || Arrow == String::npos) continue;
      if (L.compare(Start, Name.size() + 1, Name + " ") != 0) continue;
      const String Path = L.substr(Arrow + 4);
      if (FileExists(Path)) return Path;
    }
  }
  return "";
}

}  // namespace

String SdlSourceFile() {
  const String Own = GetExeFolder() + "LibAV/" + SdlLibraryName;
  if (FileExists(Own)) return Own;
  const String Listed = LinkerCacheEntry(SdlLibraryName);
  if (!Listed.empty()) return Listed;
  const String Triplet = MultiarchTriplet;
  for (const String& Dir : {"/usr/lib/" + Triplet, "/lib/" + Triplet, String("/usr/lib"), String("/lib")})
    if (FileExists(Dir + "/" + SdlLibraryName)) return Dir + "/" + SdlLibraryName;
  return "";
}

String PrepareSdlCopy(Integer Index, const String& Folder, const String& Source) {
  const String FileName = "SDL_" + IntToStr(Index) + ".so";
  const String Copy = IncludeTrailingPathDelimiter(Folder) + FileName;
  // A copy, never a link: the player refuses a second load of one file.
  if (!FileExists(Copy) && !Source.empty()) CopyFile(Source, Copy, false);
  return FileName;
}

String PrepareSdlCopy(Integer Index) { return PrepareSdlCopy(Index, GetTempFolder(), SdlSourceFile()); }

bool LoadPreviewSdl(TMainUnitState& State, media::TCustomPlayer& Player, const String& Folder,
                    const String& Source) {
  if (Player.SDLLibLoaded()) return true;
  const String FileName = PrepareSdlCopy(0, Folder, Source);
  if (Player.LoadSDLLib(IncludeTrailingPathDelimiter(Folder), FileName)) return true;
  if (LogForm)
    LogForm->AddLine(Player.LastErrMsg());
  else
    State.ActionLog.push_back(Player.LastErrMsg());
  ReportError(State, "Error loading SDL library", "CLM_SDlLibLoad");
  return false;
}

String PlayTimeText(Int64 Microseconds) {
  const Int64 S = Microseconds / 1000000;
  return Format("%.2d:%.2d:%.2d", {S / 3600, (S / 60) % 60, S % 60});
}

String SnapshotStem(const String& Title, const String& Source) {
  String Stem = Title;
  for (char& C : Stem)
    if (C == '/') C = '_';
  if (Stem.find_first_not_of('.') == String::npos) Stem = ChangeFileExt(ExtractFileName(Source), "");
  return Stem;
}

String NextSnapshotFile(const String& Folder, const String& Stem, const String& Ext, Integer& Counter) {
  for (;; ++Counter) {
    const String Name = IncludeTrailingPathDelimiter(Folder) + Stem + "_" + IntToStr(Counter) + Ext;
    if (!FileExists(Name) && !DirectoryExists(Name)) return Name;
  }
}

}  // namespace vantrel::app
