// Frame-hook plug-ins: the process-wide cache of loaded plug-ins and the per-conversion
// lists of configured ones.
#include "media/FrameHook.h"

#include <map>
#include <mutex>

#include "media/FFLog.h"
#include "platform/rtl/DynLibs.h"

namespace vantrel::media {

namespace {

// Plug-in path -> module handle. Modules stay loaded until the process ends: a
// configured plug-in's code may still be referenced by a list being released.
struct TPluginCache {
  std::mutex Lock;  // guards Handles
  std::map<String, TLibHandle> Handles;
};
TPluginCache& PluginCache() {
  static TPluginCache Cache;
  return Cache;
}

void LogError(const String& AMsg) { GetFFLogger()->Log(nullptr, llError, AMsg); }

}  // namespace

TFrameHookList::~TFrameHookList() { FrameHookRelease(*this); }

// The plug-in is opened by its full path, so its folder needs to be neither current nor
// on a search path; its own dependencies resolve through its run-time search path.
int FrameHookAdd(TFrameHookList& AFirst, const std::vector<String>& AArgv) {
  if (AArgv.empty()) return -2;
  const String& Path = AArgv[0];
  TLibHandle Handle = nullptr;
  {
    TPluginCache& Cache = PluginCache();
    std::lock_guard<std::mutex> L(Cache.Lock);
    auto It = Cache.Handles.find(Path);
    if (It != Cache.Handles.end()) {
      Handle = It->second;
    } else {
      Handle = LoadDynLibrary(Path, DL_NOW | DL_LOCAL | DL_NODELETE);
      if (!Handle) {
        LogError(DynLibError());
        return -1;
      }
      Cache.Handles.emplace(Path, Handle);
    }
  }

  TFrameHookEntry Entry;
  Entry.Configure = reinterpret_cast<TFrameHookConfigureFn>(GetDynProc(Handle, "Configure"));
  Entry.Process = reinterpret_cast<TFrameHookProcessFn>(GetDynProc(Handle, "Process"));
  Entry.Release = reinterpret_cast<TFrameHookReleaseFn>(GetDynProc(Handle, "Release"));
  const int Argc = static_cast<int>(AArgv.size());
  if (!Entry.Process) {
    LogError("Failed to find Process entrypoint in " + Path);
    return -2;
  }
  if (!Entry.Configure && Argc > 1) {
    LogError("Failed to find Configure entrypoint in " + Path);
    return -2;
  }
  if (Entry.Configure) {
    // A plug-in may keep the argument strings in its context: they live with the entry.
    Entry.Args = std::make_shared<std::vector<String>>(AArgv);
    std::vector<char*> Argv;
    for (String& S : *Entry.Args) Argv.push_back(S.data());
    Argv.push_back(nullptr);
    if (Entry.Configure(&Entry.ctx, Argc, Argv.data()) != 0) {
      LogError("Failed to Configure " + Path);
      return -22;
    }
  }
  AFirst.FEntries.push_back(Entry);
  return 0;
}

void FrameHookProcess(const TFrameHookList& AFirst, TFrameHookPicture* APicture, int APixFmt,
                      int AWidth, int AHeight, Int64 APts) {
  for (size_t I = 0; I < AFirst.Count(); ++I)
    AFirst[I].Process(AFirst[I].ctx, APicture, APixFmt, AWidth, AHeight, APts);
}

void FrameHookRelease(TFrameHookList& AFirst) {
  std::vector<TFrameHookEntry> Entries;
  Entries.swap(AFirst.FEntries);
  for (TFrameHookEntry& E : Entries)
    if (E.Release) E.Release(E.ctx);
}

namespace detail {
int FrameHookCacheCount() {
  TPluginCache& Cache = PluginCache();
  std::lock_guard<std::mutex> L(Cache.Lock);
  return static_cast<int>(Cache.Handles.size());
}
}  // namespace detail

}  // namespace vantrel::media
