// The media engine's single logger: FFmpeg's own messages (through the log callback the
// loader installs with libavutil) and the engine's messages become one OnLog event per
// line, filtered by level and raised by default on the GUI thread.
#pragma once

#include <cstdarg>
#include <functional>
#include <initializer_list>

#include "media/FFBaseComponent.h"
#include "platform/rtl/Format.h"

namespace vantrel::media {

// FFmpeg's levels -8, 0, 8, 16, 24, 32, 40, 48 in this order.
enum TLogLevel { llQuiet, llPanic, llFatal, llError, llWarning, llInfo, llVerbose, llDebug };

using TLogEvent = std::function<void(TObject* Sender, Cardinal AThreadID, TLogLevel ALogLevel,
                                     const String& ALogMsg)>;

// The arguments of one OnLog call.
struct TLogInfo {
  TObject* Sender = nullptr;
  Cardinal ThreadID = 0;
  TLogLevel LogLevel = llInfo;
  String LogMsg;
};

Integer LogLevelToAVLogLevel(TLogLevel ALogLevel);
// Below -8 quiet, 48 and above debug, otherwise level / 8 + 1 rounded toward zero.
TLogLevel AVLogLevelToLogLevel(Integer ALevel);

class TFFLogger : public TFFBaseComponent {
  VANTREL_CLASS(TFFLogger)

  // Replaces an auto-created logger; raises Exception "Allow creating only one instance
  // of TFFLogger." while another placed logger exists.
  explicit TFFLogger(TComponent* AOwner);
  ~TFFLogger() override;

  TLogLevel LogLevel() const { return FLogLevel; }
  void SetLogLevel(TLogLevel Value);
  bool TriggerEventInMainThread() const { return FTriggerEventInMainThread; }
  void SetTriggerEventInMainThread(bool Value) { FTriggerEventInMainThread = Value; }
  bool AutoCreated() const { return FAutoCreated; }

  TLogEvent OnLog;

  // Deliver when OnLog is set and the level passes: ALogLevel <= LogLevel, or llVerbose
  // while LogLevel is not llQuiet.
  void Log(TObject* Sender, TLogLevel ALogLevel, const String& ALogMsg);
  void Log(TObject* Sender, TLogLevel ALogLevel, const String& AFormat,
           std::initializer_list<TVarRec> Args);
  // A complete line of FFmpeg's (already filtered by the callback's threshold).
  void LogAVLine(Cardinal AThreadID, Integer AVLevel, const String& AText);
  // Hands LogLevel to FFmpeg and the callback's threshold when libavutil is bound.
  void ApplyLogLevel();
  // The "loglevel" option: a level name (any case) or a decimal FFmpeg level; a text
  // that is neither raises EConvertError.
  void OptLogLevel(const String& arg);

 private:
  friend TFFLogger* GetFFLogger();
  friend class TLogDeferral;
  void CallOnLog(const TLogInfo& AInfo);

  bool FAutoCreated = false;
  bool FTriggerEventInMainThread = true;
  TLogLevel FLogLevel = llInfo;
};

// The process-wide logger; created without owner (and freed at exit) when the
// application has placed none.
TFFLogger* GetFFLogger();

// FFmpeg's log callback: joins a thread's pieces into whole lines, collapses repeated
// lines and delivers every complete line after leaving the log lock.
void AVLogCallback(void* Ptr, int Level, const char* Fmt, va_list Args);
// Installs AVLogCallback and the logger's level; libavutil must be bound.
void InstallAVLogCallback();
// Gives FFmpeg its default callback back (before libavutil is unbound).
void UninstallAVLogCallback();

// While one exists in a thread, that thread's log lines are kept and delivered when the
// last one goes. A thread holds one while it holds a lock the GUI thread may wait for
// (the codec lock), so a line delivered on the GUI thread cannot deadlock against it.
class TLogDeferral {
 public:
  TLogDeferral();
  ~TLogDeferral();
  TLogDeferral(const TLogDeferral&) = delete;
  TLogDeferral& operator=(const TLogDeferral&) = delete;
};

}  // namespace vantrel::media
