// The logger component, the FFmpeg log callback and the deferral of deliveries while a
// thread holds the codec lock.
#include "media/FFLog.h"

#include <atomic>
#include <cstdio>
#include <map>
#include <mutex>
#include <utility>
#include <vector>

#include "media/AVUtilAPI.h"
#include "platform/rtl/NumConv.h"
#include "platform/rtl/Threads.h"
#include "platform/rtl/Utf8.h"

namespace vantrel::media {

namespace {

// The global logger: a placed one, or an auto-created one owned by AutoLogger.
// Recursive: GetFFLogger holds it while the constructor of the logger it makes takes it.
std::recursive_mutex GlobalLock;  // guards Global and AutoLogger
TFFLogger* Global = nullptr;
TOwned<TFFLogger> AutoLogger;

// The FFmpeg level above which the callback drops a message at once.
std::atomic<int> CallbackThreshold{32};

// Per-thread unfinished lines and the repeat state of the callback.
struct TLogState {
  std::mutex Lock;                   // guards everything below
  std::map<Cardinal, String> Items;  // thread id -> text of its unfinished line
  String PrevLine;
  Integer RepeatCount = 0;
};
TLogState& LogState() {
  static TLogState State;
  return State;
}

// Deliveries kept while the thread holds a TLogDeferral.
struct TDeferred {
  TFFLogger* Logger;
  TLogInfo Info;
};
thread_local int DeferDepth = 0;
thread_local std::vector<TDeferred> DeferredLines;

struct TAVLine {
  Cardinal ThreadID;
  int Level;
  String Text;
};

// The message with FFmpeg's "[%s @ %p] " prefixes, whole whatever its length.
String FormatAVLine(void* Ptr, int Level, const char* Fmt, va_list Args, bool StartOfLine) {
  char Line[2048];
  va_list Copy;
  if (!ff::av_log_format_line2) {
    va_copy(Copy, Args);
    int N = std::vsnprintf(Line, sizeof Line, Fmt, Copy);
    va_end(Copy);
    if (N < 0) return String();
    if (static_cast<size_t>(N) < sizeof Line) return String(Line, N);
    std::vector<char> Big(static_cast<size_t>(N) + 1);
    va_copy(Copy, Args);
    std::vsnprintf(Big.data(), Big.size(), Fmt, Copy);
    va_end(Copy);
    return String(Big.data(), N);
  }
  int PrintPrefix = StartOfLine ? 1 : 0;
  va_copy(Copy, Args);
  int N = ff::av_log_format_line2(Ptr, Level, Fmt, Copy, Line, sizeof Line, &PrintPrefix);
  va_end(Copy);
  if (N < 0) return String();
  if (static_cast<size_t>(N) < sizeof Line) return String(Line, N);
  // The result is the length the whole line needs: format again into that much.
  std::vector<char> Big(static_cast<size_t>(N) + 1);
  PrintPrefix = StartOfLine ? 1 : 0;
  va_copy(Copy, Args);
  ff::av_log_format_line2(Ptr, Level, Fmt, Copy, Big.data(), static_cast<int>(Big.size()),
                          &PrintPrefix);
  va_end(Copy);
  return String(Big.data(), N);
}

}  // namespace

Integer LogLevelToAVLogLevel(TLogLevel ALogLevel) { return static_cast<Integer>(ALogLevel) * 8 - 8; }

TLogLevel AVLogLevelToLogLevel(Integer ALevel) {
  if (ALevel < -8) return llQuiet;
  if (ALevel >= 48) return llDebug;
  return static_cast<TLogLevel>(ALevel / 8 + 1);
}

TFFLogger::TFFLogger(TComponent* AOwner) : TFFBaseComponent(AOwner) {
  std::lock_guard<std::recursive_mutex> G(GlobalLock);
  if (Global && !Global->FAutoCreated)
    throw Exception("Allow creating only one instance of TFFLogger.");
  AutoLogger.reset();  // a placed logger replaces the auto-created one
  FTriggerEventInMainThread = true;
  FLogLevel = AVLogLevelToLogLevel(CallbackThreshold.load());
  Global = this;
}

TFFLogger::~TFFLogger() {
  std::lock_guard<std::recursive_mutex> G(GlobalLock);
  if (Global == this) Global = nullptr;
}

TFFLogger* GetFFLogger() {
  std::lock_guard<std::recursive_mutex> G(GlobalLock);
  if (!Global) {
    AutoLogger = CreateOwned<TFFLogger>(nullptr);
    AutoLogger->FAutoCreated = true;
  }
  return Global;
}

void TFFLogger::SetLogLevel(TLogLevel Value) {
  if (Value == FLogLevel) return;
  FLogLevel = Value;
  ApplyLogLevel();
}

void TFFLogger::ApplyLogLevel() {
  if (!ff::av_log_set_level) return;
  CallbackThreshold.store(LogLevelToAVLogLevel(FLogLevel));
  ff::av_log_set_level(CallbackThreshold.load());
}

void TFFLogger::OptLogLevel(const String& arg) {
  static const struct {
    const char* Name;
    Integer Level;
  } Names[] = {{"quiet", -8},    {"panic", 0}, {"fatal", 8},    {"error", 16},
               {"warning", 24},  {"info", 32}, {"verbose", 40}, {"debug", 48}};
  for (const auto& N : Names)
    if (SameText(arg, N.Name)) return SetLogLevel(AVLogLevelToLogLevel(N.Level));
  SetLogLevel(AVLogLevelToLogLevel(StrToInt(arg)));
}

void TFFLogger::Log(TObject* Sender, TLogLevel ALogLevel, const String& ALogMsg) {
  if (!OnLog) return;
  if (ALogLevel <= FLogLevel || (ALogLevel == llVerbose && FLogLevel != llQuiet))
    CallOnLog({Sender, GetCurrentThreadId(), ALogLevel, ALogMsg});
}

void TFFLogger::Log(TObject* Sender, TLogLevel ALogLevel, const String& AFormat,
                    std::initializer_list<TVarRec> Args) {
  Log(Sender, ALogLevel, Format(AFormat, Args));
}

void TFFLogger::LogAVLine(Cardinal AThreadID, Integer AVLevel, const String& AText) {
  if (OnLog) CallOnLog({this, AThreadID, AVLogLevelToLogLevel(AVLevel), AText});
}

void TFFLogger::CallOnLog(const TLogInfo& AInfo) {
  if (DeferDepth > 0) {
    DeferredLines.push_back({this, AInfo});
    return;
  }
  if (FTriggerEventInMainThread) {
    // The arguments travel by value: several threads may deliver at once.
    CallInMainThread([this, AInfo] {
      if (OnLog) OnLog(AInfo.Sender, AInfo.ThreadID, AInfo.LogLevel, AInfo.LogMsg);
    });
  } else if (OnLog) {
    OnLog(AInfo.Sender, AInfo.ThreadID, AInfo.LogLevel, AInfo.LogMsg);
  }
}

TLogDeferral::TLogDeferral() { ++DeferDepth; }

TLogDeferral::~TLogDeferral() {
  if (--DeferDepth > 0) return;
  std::vector<TDeferred> Lines;
  Lines.swap(DeferredLines);
  for (const TDeferred& D : Lines) {
    {
      // A logger freed while the lines waited gets none of them.
      std::lock_guard<std::recursive_mutex> G(GlobalLock);
      if (D.Logger != Global) continue;
    }
    try {
      D.Logger->CallOnLog(D.Info);
    } catch (...) {
      // A failing handler must not escape a destructor; the line is lost, not the program.
    }
  }
}

void AVLogCallback(void* Ptr, int Level, const char* Fmt, va_list Args) {
  // FFmpeg keeps a colour in the bits above the level of non-negative levels.
  if (Level >= 0) Level &= 0xff;
  if (Level > CallbackThreshold.load()) return;
  const Cardinal ThreadID = GetCurrentThreadId();
  std::vector<TAVLine> Ready;
  {
    TLogState& S = LogState();
    std::lock_guard<std::mutex> G(S.Lock);
    String& Item = S.Items[ThreadID];
    // Text stays UTF-8 as FFmpeg wrote it.
    String Text = FormatAVLine(Ptr, Level, Fmt, Args, Item.empty());
    if (!Text.empty() && Text.back() == '\n' && Text == S.PrevLine) {
      ++S.RepeatCount;
      if (Item.empty()) S.Items.erase(ThreadID);
      return;
    }
    if (S.RepeatCount > 0) {
      Ready.push_back({ThreadID, Level, Format("    Last message repeated %d times", {S.RepeatCount})});
      S.RepeatCount = 0;
    }
    S.PrevLine = Text;
    Item += Text;
    size_t Start = 0;
    for (size_t Eol; (Eol = Item.find('\n', Start)) != String::npos; Start = Eol + 1)
      Ready.push_back({ThreadID, Level, Item.substr(Start, Eol - Start)});
    Item.erase(0, Start);
    if (Item.empty()) S.Items.erase(ThreadID);
  }
  // Delivered after leaving the log lock: delivery may wait for the GUI thread, which
  // may itself be logging.
  if (Ready.empty()) return;
  TFFLogger* Logger = GetFFLogger();
  for (const TAVLine& L : Ready) {
    try {
      Logger->LogAVLine(L.ThreadID, L.Level, L.Text);
    } catch (...) {
      // Nothing may unwind through FFmpeg's C frames; the handler's failure costs the line.
    }
  }
}

void InstallAVLogCallback() {
  if (!ff::av_log_set_callback || !ff::av_log_set_level)
    throw EInvalidOperation("InstallAVLogCallback: libavutil is not loaded");
  ff::av_log_set_callback(AVLogCallback);
  GetFFLogger()->ApplyLogLevel();
}

void UninstallAVLogCallback() {
  if (ff::av_log_set_callback && ff::av_log_default_callback)
    ff::av_log_set_callback(ff::av_log_default_callback);
}

}  // namespace vantrel::media
