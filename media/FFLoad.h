// Run-time loading of the FFmpeg libraries: one process-wide loader opens them by file
// name and major version (from a private folder when it holds them, else from the
// system), has their entry points bound, and counts the components that use each one.
// Also the process-wide codec open/close lock and the per-thread I/O interrupt list.
#pragma once

#include <mutex>
#include <vector>

#include "media/FFLog.h"
#include "platform/rtl/Classes.h"
#include "platform/rtl/DynLibs.h"
#include "platform/rtl/SyncObjs.h"

struct AVFormatContext;

namespace vantrel::media {

// In load order, which is also the bit order of the set: a library follows those it
// depends on, so copies in a private folder bind to each other.
enum TLibrary { avUtil, swResample, swScale, postProc, avCodec, avFormat, avFilter, avDevice };
using TLibraries = TSet<TLibrary>;

// Binds a loaded library's entry points (raises on a missing one) / sets them to nil.
using TFixupProc = void (*)(const TPathFileName& ALibName, void* AHandle);
using TUnfixProc = void (*)();

struct TLibraryItem {
  TLibrary Lib;
  TPathFileName Name;  // "avcodec" -> libavcodec.so.<Version>
  bool SysLib;         // always loaded by plain name, never from LibraryPath
  Integer Version;     // major version, -1: none
  TFixupProc Fixup;
  TUnfixProc Unfix;
};

// The libraries each component loads. libavdevice is listed but never loaded: it
// brings a second SDL into the process.
inline constexpr TLibraries EncoderLibraries{avUtil, swResample, swScale, postProc,
                                             avCodec, avFormat, avFilter};
inline constexpr TLibraries PlayerLibraries = EncoderLibraries;
inline constexpr TLibraries DecoderLibraries{avUtil, swResample, swScale, avCodec, avFormat};

class TFFLoader : public TObject {
  VANTREL_CLASS(TFFLoader)

  TFFLoader() = default;

  // The text of the last failure of any component's load; successes keep it.
  const String& LastErrMsg() const;
  // The folder to load from; empty: the system's.
  const TPathFileName& LibraryPath() const;
  void SetLibraryPath(const TPathFileName& Value);
  // Install the logger's FFmpeg callback whenever libavutil is loaded.
  bool InstallLogger() const { return FInstallLogger; }
  void SetInstallLogger(bool Value) { FInstallLogger = Value; }

  // "lib<name>.so.<major>" ("lib<name>.so" without a version).
  TPathFileName GetLibraryFileName(TLibrary ALibrary) const;

  // Each successful Load counts one use of the library; Unload gives one use back and
  // unloads the library when no use is left. A set loads in TLibrary order; when a
  // member fails, the uses this call took are given back and false is returned with
  // the failure in LastErrMsg. A set must not be empty (EArgumentException).
  bool Load(TLibrary ALibrary);
  bool Load(TLibraries ALibraries);
  bool Loaded(TLibrary ALibrary) const;
  bool Loaded(TLibraries ALibraries) const;
  void Unload(TLibrary ALibrary);
  void Unload(TLibraries ALibraries);
  // Unloads every library whatever its count (at exit).
  void UnloadAll();

  // Number of uses of the library (0: not loaded).
  Integer LoadCount(TLibrary ALibrary) const;
  // The library's own version number (major << 16 | minor << 8 | micro), 0 when it is
  // not loaded.
  Cardinal LibraryVersion(TLibrary ALibrary) const;

 private:
  void DoUnload(TLibrary ALibrary);
  bool FInstallLogger = true;
};

// The process-wide loader.
TFFLoader& FFLoader();

// Opens Dir + Name when Dir is not empty and that file exists, else Name by the
// system's search. Nil on failure, with the system's text in Error.
TLibHandle LoadLibraryFromDir(const TPathFileName& Dir, const TPathFileName& Name,
                              String& Error, int Flags = DL_NOW | DL_LOCAL | DL_NODELETE);

// The process-wide lock around codec open and close. A holder's log lines are
// delivered after it leaves the lock (see TLogDeferral).
TCriticalSection& CodecLock();
class TCodecLockGuard {
 public:
  TCodecLockGuard() = default;
  TCodecLockGuard(const TCodecLockGuard&) = delete;
  TCodecLockGuard& operator=(const TCodecLockGuard&) = delete;

 private:
  TLogDeferral FDefer;  // declared first: flushes after the lock is left
  std::lock_guard<TCriticalSection> FLock{CodecLock()};
};

// A thread's stop test for blocking FFmpeg I/O, asked with the Sender it was added with.
using TInterruptProc = bool (*)(TObject* Sender);

// The per-thread stop tests that FFmpeg's I/O interrupt callback consults.
class TInterruptCB : public TObject {
  VANTREL_CLASS(TInterruptCB)

  TInterruptCB() = default;

  // Appends the entry unless one with the same thread, sender and test exists.
  void Add(Cardinal AThreadID, TObject* ASender, TInterruptProc AInterrupt);
  // Removes the first entry with the same thread, sender and test.
  void Remove(Cardinal AThreadID, TObject* ASender, TInterruptProc AInterrupt);
  void Clear();
  // The answer of the thread's first entry (tested under the list's lock), false when
  // the thread has none.
  bool Interrupt(Cardinal AThreadID);
  Integer Count() const;

 private:
  struct TEntry {
    Cardinal ThreadID;
    TInterruptProc Interrupt;
    TObject* Sender;
  };
  mutable std::mutex FLock;  // guards FList
  std::vector<TEntry> FList;
};

// The process-wide interrupt list.
TInterruptCB& InterruptCB();

// FFmpeg's interrupt callback: 1 when the calling thread's first entry says stop.
int InterruptCallback(void* AOpaque);
// Points the context's interrupt_callback at InterruptCallback.
void SetInterruptCallback(AVFormatContext* AContext);

namespace detail {
// Test hook: the loader's table row of a library, to change its name or version.
TLibraryItem& LibraryTableRow(TLibrary ALibrary);
// Puts the built-in table back.
void RestoreLibraryTable();
}  // namespace detail

}  // namespace vantrel::media
