// The library loader, the codec lock and the interrupt list.
#include "media/FFLoad.h"

#include <array>

#include "media/AVCodecAPI.h"
#include "media/AVFilterAPI.h"
#include "media/AVFormatAPI.h"
#include "media/AVUtilAPI.h"
#include "media/PostProcAPI.h"
#include "media/SWResampleAPI.h"
#include "media/SWScaleAPI.h"
#include "platform/rtl/FileUtils.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/SysEnv.h"
#include "platform/rtl/Threads.h"

namespace vantrel::media {

namespace {

constexpr size_t LibraryCount = static_cast<size_t>(avDevice) + 1;

using TLibraryTable = std::array<TLibraryItem, LibraryCount>;

const TLibraryTable& BuiltInTable() {
  static const TLibraryTable Table{{
      {avUtil, "avutil", false, 57, FixupAVUtil, UnfixAVUtil},
      {swResample, "swresample", false, 4, FixupSWResample, UnfixSWResample},
      {swScale, "swscale", false, 6, FixupSWScale, UnfixSWScale},
      {postProc, "postproc", false, 56, FixupPostProc, UnfixPostProc},
      {avCodec, "avcodec", false, 59, FixupAVCodec, UnfixAVCodec},
      {avFormat, "avformat", false, 59, FixupAVFormat, UnfixAVFormat},
      {avFilter, "avfilter", false, 8, FixupAVFilter, UnfixAVFilter},
      {avDevice, "avdevice", false, 59, nullptr, nullptr},
  }};
  return Table;
}

struct TLibraryStatus {
  TLibHandle Handle = nullptr;
  bool Fixuped = false;
  Integer LoadCount = 0;
};

// The load state of the unit, shared by every component.
struct TLoadState {
  std::recursive_mutex Lock;  // guards everything below: loads may come from any thread
  TLibraryTable Table = BuiltInTable();
  std::array<TLibraryStatus, LibraryCount> Status{};
  String LastErrMsg;
  TPathFileName LibraryPath;
  bool LoggerInstalled = false;

  ~TLoadState() {
    // At exit every library goes, whatever its count; the pointers become nil.
    for (size_t I = LibraryCount; I-- > 0;) {
      TLibraryStatus& S = Status[I];
      if (S.Fixuped && Table[I].Unfix) {
        if (I == avUtil && LoggerInstalled) UninstallAVLogCallback();
        Table[I].Unfix();
      }
      if (S.Handle) FreeDynLibrary(S.Handle);
      S = TLibraryStatus{};
    }
  }
};

TLoadState& State() {
  static TLoadState S;
  return S;
}

size_t Index(TLibrary L) { return static_cast<size_t>(L); }

}  // namespace

TFFLoader& FFLoader() {
  static TOwned<TFFLoader> Loader = CreateOwned<TFFLoader>();
  return *Loader;
}

const String& TFFLoader::LastErrMsg() const { return State().LastErrMsg; }

const TPathFileName& TFFLoader::LibraryPath() const { return State().LibraryPath; }

void TFFLoader::SetLibraryPath(const TPathFileName& Value) {
  std::lock_guard<std::recursive_mutex> G(State().Lock);
  State().LibraryPath = Value;
}

TPathFileName TFFLoader::GetLibraryFileName(TLibrary ALibrary) const {
  const TLibraryItem& Row = State().Table[Index(ALibrary)];
  if (Row.Version >= 0) return Format("lib%s.so.%d", {Row.Name, Row.Version});
  return "lib" + Row.Name + ".so";
}

TLibHandle LoadLibraryFromDir(const TPathFileName& Dir, const TPathFileName& Name,
                              String& Error, int Flags) {
  // Opened by full path, a library's dependencies that are already loaded (by their
  // soname) are taken as they are: loading in dependency order makes a private
  // folder's copies bind to each other, with no change to the current folder or PATH.
  TLibHandle Handle = nullptr;
  if (!Dir.empty() && FileExists(Dir + Name))
    Handle = LoadDynLibrary(Dir + Name, Flags);
  else
    Handle = LoadDynLibrary(Name, Flags);
  Error = Handle ? String() : DynLibError();
  return Handle;
}

bool TFFLoader::Load(TLibrary ALibrary) {
  TLoadState& S = State();
  std::lock_guard<std::recursive_mutex> G(S.Lock);
  const TLibraryItem& Row = S.Table[Index(ALibrary)];
  TLibraryStatus& Status = S.Status[Index(ALibrary)];
  const TPathFileName FileName = GetLibraryFileName(ALibrary);
  if (!Status.Handle) {
    TPathFileName Dir;
    if (!S.LibraryPath.empty() && !Row.SysLib)
      Dir = IncludeTrailingPathDelimiter(S.LibraryPath);
    String Error;
    if (ALibrary == avDevice) {
      // Never loaded: it depends on a second SDL, which would take over the player's copy.
      Error = "not used by this program";
    } else {
      Status.Handle = LoadLibraryFromDir(Dir, FileName, Error);
    }
    if (!Status.Handle) {
      S.LastErrMsg = Format("Load library %s error: %s", {Dir + FileName, Error});
      return false;
    }
  }
  if (!Status.Fixuped) {
    try {
      if (Row.Fixup) Row.Fixup(FileName, Status.Handle);
      Status.Fixuped = true;
    } catch (const std::exception& E) {
      S.LastErrMsg = E.what();
      // The entry points bound before the missing one must not outlive the library.
      if (Row.Unfix) Row.Unfix();
    }
  }
  if (!Status.Fixuped) {
    DoUnload(ALibrary);  // no one uses it yet: a bound library has a use
    return false;
  }
  // The post-load step runs on every successful load, also of a loaded library.
  if (ALibrary == avUtil && FInstallLogger) {
    InstallAVLogCallback();
    S.LoggerInstalled = true;
  }
  ++Status.LoadCount;
  return true;
}

bool TFFLoader::Load(TLibraries ALibraries) {
  if (ALibraries.Empty()) throw EArgumentException("TFFLoader.Load: empty library set");
  TLoadState& S = State();
  std::lock_guard<std::recursive_mutex> G(S.Lock);
  TLibraries Done;
  for (size_t I = 0; I < LibraryCount; ++I) {
    const TLibrary L = static_cast<TLibrary>(I);
    if (!ALibraries.Contains(L)) continue;
    if (!Load(L)) {
      // Only this call's uses go back: what other components loaded stays loaded.
      Unload(Done);
      return false;
    }
    Done.Include(L);
  }
  return true;
}

bool TFFLoader::Loaded(TLibrary ALibrary) const {
  TLoadState& S = State();
  std::lock_guard<std::recursive_mutex> G(S.Lock);
  const TLibraryStatus& Status = S.Status[Index(ALibrary)];
  return Status.Handle && Status.Fixuped;
}

bool TFFLoader::Loaded(TLibraries ALibraries) const {
  if (ALibraries.Empty()) throw EArgumentException("TFFLoader.Loaded: empty library set");
  for (size_t I = 0; I < LibraryCount; ++I) {
    const TLibrary L = static_cast<TLibrary>(I);
    if (ALibraries.Contains(L) && !Loaded(L)) return false;
  }
  return true;
}

void TFFLoader::Unload(TLibrary ALibrary) {
  TLoadState& S = State();
  std::lock_guard<std::recursive_mutex> G(S.Lock);
  TLibraryStatus& Status = S.Status[Index(ALibrary)];
  if (Status.LoadCount > 0 && --Status.LoadCount > 0) return;
  DoUnload(ALibrary);
}

void TFFLoader::Unload(TLibraries ALibraries) {
  // Empty only when a set load failed at its first member.
  for (size_t I = 0; I < LibraryCount; ++I)
    if (ALibraries.Contains(static_cast<TLibrary>(I))) Unload(static_cast<TLibrary>(I));
}

void TFFLoader::UnloadAll() {
  TLoadState& S = State();
  std::lock_guard<std::recursive_mutex> G(S.Lock);
  for (size_t I = 0; I < LibraryCount; ++I) {
    S.Status[I].LoadCount = 0;
    DoUnload(static_cast<TLibrary>(I));
  }
}

void TFFLoader::DoUnload(TLibrary ALibrary) {
  TLoadState& S = State();
  const TLibraryItem& Row = S.Table[Index(ALibrary)];
  TLibraryStatus& Status = S.Status[Index(ALibrary)];
  if (Status.Fixuped) {
    if (ALibrary == avUtil && S.LoggerInstalled) {
      UninstallAVLogCallback();
      S.LoggerInstalled = false;
    }
    if (Row.Unfix) Row.Unfix();
    Status.Fixuped = false;
  }
  if (Status.Handle) {
    // Opened with RTLD_NODELETE, the library stays mapped: FFmpeg's one-time
    // allocations live on, and nothing of ours can call into unmapped code.
    FreeDynLibrary(Status.Handle);
    Status.Handle = nullptr;
  }
  Status.LoadCount = 0;
}

Integer TFFLoader::LoadCount(TLibrary ALibrary) const {
  TLoadState& S = State();
  std::lock_guard<std::recursive_mutex> G(S.Lock);
  return S.Status[Index(ALibrary)].LoadCount;
}

Cardinal TFFLoader::LibraryVersion(TLibrary ALibrary) const {
  if (!Loaded(ALibrary)) return 0;
  switch (ALibrary) {
    case avUtil: return ff::avutil_version();
    case swResample: return ff::swresample_version();
    case swScale: return ff::swscale_version();
    case postProc: return ff::postproc_version();
    case avCodec: return ff::avcodec_version();
    case avFormat: return ff::avformat_version();
    case avFilter: return ff::avfilter_version();
    case avDevice: break;
  }
  return 0;
}

TCriticalSection& CodecLock() {
  static TCriticalSection Lock;
  return Lock;
}

void TInterruptCB::Add(Cardinal AThreadID, TObject* ASender, TInterruptProc AInterrupt) {
  std::lock_guard<std::mutex> G(FLock);
  for (const TEntry& E : FList)
    if (E.ThreadID == AThreadID && E.Sender == ASender && E.Interrupt == AInterrupt) return;
  FList.push_back({AThreadID, AInterrupt, ASender});
}

void TInterruptCB::Remove(Cardinal AThreadID, TObject* ASender, TInterruptProc AInterrupt) {
  std::lock_guard<std::mutex> G(FLock);
  for (auto It = FList.begin(); It != FList.end(); ++It)
    if (It->ThreadID == AThreadID && It->Sender == ASender && It->Interrupt == AInterrupt) {
      FList.erase(It);
      return;
    }
}

void TInterruptCB::Clear() {
  std::lock_guard<std::mutex> G(FLock);
  FList.clear();
}

bool TInterruptCB::Interrupt(Cardinal AThreadID) {
  std::lock_guard<std::mutex> G(FLock);
  for (const TEntry& E : FList)
    if (E.ThreadID == AThreadID) return E.Interrupt && E.Interrupt(E.Sender);
  return false;
}

Integer TInterruptCB::Count() const {
  std::lock_guard<std::mutex> G(FLock);
  return static_cast<Integer>(FList.size());
}

TInterruptCB& InterruptCB() {
  static TOwned<TInterruptCB> List = CreateOwned<TInterruptCB>();
  return *List;
}

int InterruptCallback(void*) { return InterruptCB().Interrupt(GetCurrentThreadId()) ? 1 : 0; }

void SetInterruptCallback(AVFormatContext* AContext) {
  AContext->interrupt_callback.callback = InterruptCallback;
  AContext->interrupt_callback.opaque = nullptr;
}

namespace detail {

TLibraryItem& LibraryTableRow(TLibrary ALibrary) { return State().Table[Index(ALibrary)]; }

void RestoreLibraryTable() {
  std::lock_guard<std::recursive_mutex> G(State().Lock);
  State().Table = BuiltInTable();
}

}  // namespace detail

}  // namespace vantrel::media
