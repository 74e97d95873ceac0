// The encoder component and its conversion tasks: the option records with which the
// application describes each input and output file, the text form of extra options,
// how an output record becomes a task's option state, the task class (a transcoder
// with one decoder and one stored record per file), the ordered task list, and the
// component that runs the list and turns the tasks' notifications into its events.
#pragma once

#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "media/FFDecode.h"
#include "media/FFmpeg.h"
#include "platform/rtl/DateUtils.h"

class TStream;

namespace vantrel::media {

// --- option records ---

struct TInputOptions {
  String FileName;   // filled with the input's name when empty
  String ForceFormat;  // demuxer forced for this input; empty: detected
  Int64 TimeStart = NoPTSValue;  // start position, microseconds
  Integer ProgramID = -1;        // program of a multi-program input; -1 all
  String ExtOptions;             // extra options (see ParseExtOptions)
  Integer Tag = 0;
  void* Data = nullptr;
};
using PInputOptions = TInputOptions*;

// Metadata written into an output.
struct TStreamInfo {
  TDateTime TimeStamp = -1.0;  // recording date: 0 now, > 0 that local date, < 0 none
  Integer Year = -1;           // > 0: "year"
  Integer Track = -1;          // > 0: "track"
  String Title;
  String Author;
  String Copyright;
  String Comment;
  String Album;
  String Genre;
};

enum TOptionTargetType { ttIgnore, ttVCD, ttSVCD, ttDVD };
enum TOptionNormType { ntAuto, ntPAL, ntNTSC };
// ntPAL..ntNTSC.
using TOptionNormDefault = TOptionNormType;

struct TOutputOptions {
  String FileName;  // filled with the output's name when empty
  String FileExt;   // the application's; not read here
  String ForceFormat;
  Integer PacketSize = -1;
  Integer MuxRate = -1;
  Single MuxDelay = -1.0f;    // seconds
  Single MuxPreload = -1.0f;  // seconds
  String AudioCodec;          // "copy": stream copy
  String AudioPreset;
  bool DisableAudio = false;
  Integer AudioVolume = -1;  // 256: unchanged
  Integer AudioChannels = -1;
  Integer AudioSampleRate = -1;
  Integer AudioBitrate = -1;
  Integer AudioBitRateTolerance = -1;
  String AudioLanguage;
  Integer AudioSyncMethod = 0;
  String AudioTag;
  String VideoCodec;  // "copy": stream copy
  String VideoPreset;
  bool DisableVideo = false;
  String FrameRate;
  String FrameSize;
  String FrameAspectRatio;
  Integer GroupPictureSize = -1;
  Integer VideoBitrate = -1;
  Integer VideoMaxRate = -1;
  Integer VideoMinRate = -1;
  Integer VideoBitRateTolerance = -1;
  Integer VideoBufSize = -1;
  Integer VideoSyncMethod = -1;  // -1: automatic
  String VideoTag;
  String VideoFilters;
  String VideoLanguage;
  String SubtitleCodec;
  String SubtitlePreset;
  bool DisableSubtitle = false;
  String SubtitleLanguage;
  bool InputSync = false;
  bool CopyTimestamp = false;
  Int64 TimeStart = NoPTSValue;
  Int64 TimeLength = NoPTSValue;
  TStreamInfo Info;
  TOptionTargetType TargetType = ttIgnore;
  TOptionNormType NormType = ntAuto;
  TOptionNormDefault NormDefault = ntPAL;
  bool AudioHook = false;
  bool VideoInputHook = false;
  bool VideoOutputHook = false;
  Integer VideoHookBitsPixel = 24;
  bool Join = false;
  String ExtOptions;
  Integer Tag = 0;
  void* Data = nullptr;
};
using POutputOptions = TOutputOptions*;

void ResetInputOptions(TInputOptions& AOptions);
void ResetOutputOptions(TOutputOptions& AOptions);

// Days to add to UTC for the local standard time (daylight saving left out).
double LocalTimeZoneOffset();
// The local date and time as seconds since 1970-01-01 00:00 UTC, with the time-zone
// bias in effect at that date (daylight saving included).
Int64 DateTimeToUnixUTC(TDateTime D);

// --- extra options ---

// One line of an extra-options text.
struct TExtOption {
  String Name;
  String Value;
};

// The lines of an extra-options text: trimmed, every line break (CR LF, CR, LF) and
// every "<CRLF>" made one line break, each line split at its first "=" (no "=": all of
// it is the name). Empty lines are no options. ALowerCase lower-cases the names.
std::vector<TExtOption> ParseExtOptions(const String& AText, bool ALowerCase = true);

// --- applying an output record (the order matters: see TFFmpeg::OpenOutput) ---

// The per-stream defaults of a record ("def_acodec" ... "def_vf", empty ones left out)
// followed by the per-stream lines of its extra options, in text order.
void CollectStreamDefaults(TOptionList& AList, const TOutputOptions& AOptions);
// The value of the first entry named AName, empty when none.
String StreamListValue(const TOptionList& AList, const String& AName);
// The VCD/SVCD/DVD preset of the record's target type.
void ApplyOutputTarget(TCustomFFmpeg& ATask, const TOutputOptions& AOptions);
// The record's fields, in the record's order; applied after the extra options, so a
// field that is applied wins over an extra option of the same meaning.
void ApplyOutputOptions(TCustomFFmpeg& ATask, const TOutputOptions& AOptions);
// The "newaudio", "newvideo", "newsubtitle" lines of the extra options, after the output
// is open: each new stream first takes its kind's next per-stream lines from AList.
void ApplyNewStreams(TCustomFFmpeg& ATask, const String& AExtOptions, TOptionList& AList);

// --- the task ---

// One conversion task: a transcoder that keeps, per input, a decoder over the opened
// input and a copy of its record, and per output a copy of its record.
class TFFmpeg : public TCustomFFmpeg {
  VANTREL_CLASS(TFFmpeg)

  explicit TFFmpeg(Integer AMaxFiles);
  ~TFFmpeg() override;

  // The decoder of input AIndex, made on first use.
  TFFDecoder* GetDecoder(Integer AIndex);
  // Stores a copy of the record for input / output AIndex.
  void SetInputOptions(Integer AIndex, const TInputOptions* AOptions);
  void SetOutputOptions(Integer AIndex, const TOutputOptions* AOptions);
  // Resets a stored record to its defaults (nothing when none is stored).
  void ClearInputOptions(Integer AIndex);
  void ClearOutputOptions(Integer AIndex);
  // The stored record, nil when none.
  const TInputOptions* InputOptions(Integer AIndex) const;
  const TOutputOptions* OutputOptions(Integer AIndex) const;

  // Applies an extra-options text to the option state. Per-stream names of outputs
  // ("newvideo" ... "vf") are skipped; "acodec", "vcodec", "scodec" and "s" only with
  // AAllowCodecs. A rejected option raises (with HaltOnInvalidOption).
  void ApplyExtOptions(const String& AText, bool AAllowCodecs);

  // Bits per pixel of the pictures the video hooks receive.
  Integer VideoHookBitsPixel() const { return FVideoHookBitsPixel; }
  void SetVideoHookBitsPixel(Integer N) {
    FVideoHookBitsPixel = N;
    TCustomFFmpeg::SetVideoHookBitsPixel(N);  // the engine's picture converters follow
  }

  // The task's part of adding an input: the record (nil: none) is stored and applied,
  // the input opened and its decoder given the opened file. False with LastErrMsg
  // ("max input files %d reached" when the table is full); nothing stays open.
  bool OpenInput(const String& AFileName, TInputOptions* AOptions);
  // The task's part of giving it an output: the record (nil: none) is applied in its
  // order, the output opened, new streams added and a join prepared. False with
  // LastErrMsg; a failed output leaves no entry and no file it created.
  bool OpenOutput(const String& AFileName, TOutputOptions* AOptions);

  // Ends a task that never started without converting: its files are released and its
  // termination is raised at once in the calling thread (nothing when it has started
  // or already ended).
  void TerminateUnstarted();

 protected:
  void CheckSlot(Integer AIndex) const;

  std::vector<TOwned<TFFDecoder>> FDecoders;
  std::vector<std::unique_ptr<TInputOptions>> FInputOptions;
  std::vector<std::unique_ptr<TOutputOptions>> FOutputOptions;
  Integer FVideoHookBitsPixel = 24;
};

// The component's ordered task list; a task's index is the one its events report. The
// list owns its tasks.
class TFFmpegList : public TObject {
  VANTREL_CLASS(TFFmpegList)

  TFFmpegList() = default;
  ~TFFmpegList() override;

  Integer Add(TFFmpeg* ATask);  // takes ownership
  void Clear();
  void Delete(Integer AIndex);
  void Exchange(Integer AIndex1, Integer AIndex2);
  // Raises EListError "List index out of bounds (%d)" outside 0..Count-1.
  TFFmpeg* GetItem(Integer AIndex) const;
  TFFmpeg* operator[](Integer AIndex) const { return GetItem(AIndex); }
  Integer IndexOf(const TFFmpeg* ATask) const;
  Integer GetCount() const { return static_cast<Integer>(FList.size()); }
  Integer Count() const { return GetCount(); }

  void PauseAll();
  void ResumeAll();
  void StopAll(bool AWaitForStop);
  void SetPreview(bool AValue);
  void SetPreviewBitmap(bool AValue);

 private:
  void CheckIndex(Integer AIndex) const;
  void SetPostHook(TPostHook AFlag, bool AValue);
  std::vector<TOwned<TFFmpeg>> FList;
};

// --- the encoder component ---

// What OnProgress receives.
struct TProgressInfo {
  Integer TaskIndex = 0;
  Integer FileIndex = 0;  // input of the last packet read; -1 in a conversion's last report
  Integer FrameNumber = 0;
  Integer FPS = 0;
  Single Quality = 0;
  Single BitRate = 0;  // kbit/s
  Int64 CurrentSize = 0;
  Int64 CurrentDuration = 0;  // microseconds of output written
  Int64 TotalDuration = 0;    // microseconds expected, -1 when unknown
};
using PProgressInfo = TProgressInfo*;

// What OnTerminate receives; TaskIndex -1 in the notification after the last task.
struct TTerminateInfo {
  Integer TaskIndex = 0;
  bool Finished = false;   // ran to its end without a stop
  bool Exception = false;  // an error ended it
  String ExceptionMsg;
  // A task's own record: the name its (first) output was written under, which may be a
  // numbered name when the planned one was taken by then; empty when nothing was written.
  String OutputFileName;
};

// What OnPreviewBitmap receives; the bitmap belongs to the task.
struct TPreviewInfo {
  Integer TaskIndex = 0;
  TBitmap* Bitmap = nullptr;
  Integer FrameNumber = 0;
  Int64 PTS = 0;
};

// What the video hooks receive; the handler may draw on the bitmap and sets Update when
// it did, StopHook to get no further calls of this hook for the task.
struct THookInfo {
  Integer TaskIndex = 0;
  TBitmap* Bitmap = nullptr;
  Integer FrameNumber = 0;
  Int64 PTS = 0;
  bool Update = false;
  bool StopHook = false;
};
using PHookInfo = THookInfo*;

class TCustomEncoder;

// Delivers the component's termination notifications in thread mode, one at a time and
// in the order they were posted, so the notification after the last task always comes
// last. Each entry carries its own copy of the record.
class TEncoderNotifier : public TThread {
  VANTREL_CLASS(TEncoderNotifier)
  using TTerminateEvent = std::function<void(TObject* Sender, const TTerminateInfo& ATerminateInfo)>;

  TEncoderNotifier();

  void Post(const TTerminateEvent& AHandler, TObject* ASender, const TTerminateInfo& AInfo);
  // Ends the thread once the notification being delivered has returned; with ADropPending
  // the ones still queued are dropped, else they are delivered first.
  void Shutdown(bool ADropPending);

 protected:
  void Execute() override;

 private:
  struct TItem {
    TTerminateEvent Handler;
    TObject* Sender = nullptr;
    TTerminateInfo Info;
  };
  std::mutex FLock;  // guards FQueue, FShutdown, FDropPending
  std::condition_variable FChanged;
  std::deque<TItem> FQueue;
  bool FShutdown = false;
  bool FDropPending = false;
};

// Runs a list of conversion tasks, one after another, several at once or all in the
// caller's thread, and raises the tasks' events with their index in the list.
class TCustomEncoder : public TFFBaseComponent {
  VANTREL_CLASS(TCustomEncoder)

  // ASampleFormat is FFmpeg's AVSampleFormat.
  using TAudioHookEvent = std::function<void(TObject* Sender, Integer ATaskIndex, Int64 APTS, Byte* ASample,
                                             Integer ASize, Integer ASampleRate, Integer AChannels,
                                             Integer ASampleFormat)>;
  using TVideoHookEvent = std::function<void(TObject* Sender, PHookInfo AHookInfo)>;
  using TPreviewBitmapEvent = std::function<void(TObject* Sender, const TPreviewInfo& APreviewInfo)>;
  using TProgressEvent = std::function<void(TObject* Sender, PProgressInfo AProgressInfo)>;
  using TTerminateEvent = TEncoderNotifier::TTerminateEvent;

  explicit TCustomEncoder(TComponent* AOwner);
  ~TCustomEncoder() override;
  void BeforeDestruction() override;

  // --- libraries ---
  bool AVLibLoaded() const;
  // Loads the encoder's library set from APath (the system's when empty); false with
  // the loader's text in LastErrMsg. Each component gives back only its own load.
  bool LoadAVLib(const TPathFileName& APath);
  void UnloadAVLib();

  // --- tasks (refused with "Cannot %s while working." after Start until ClearTasks) ---
  // A new task whose first input is AFileName: its index, or -1 with LastErrMsg. An
  // empty AOptions->FileName is set to AFileName.
  Integer AddTask(const String& AFileName, TInputOptions* AOptions);
  // The same with a record built from option lines ("TimeStart" read as microseconds,
  // every other line kept as an extra option).
  Integer AddTask(const String& AFileName, const String& AExtOptions);
  // The input named "stream:<identity of AStream>:<APrivateData>".
  Integer AddTask(TStream* AStream, const String& APrivateData, TInputOptions* AOptions);
  // A further input of a task (joined into its output): false with LastErrMsg. An index
  // outside the list raises the list's index error.
  bool AddInputFile(Integer ATaskIndex, const String& AFileName, TInputOptions* AOptions);
  bool AddInputFile(Integer ATaskIndex, const String& AFileName, const String& AExtOptions);
  // A task's output: false with LastErrMsg.
  bool SetOutputFile(Integer ATaskIndex, const String& AFileName, TOutputOptions* AOptions);
  // The same from option lines: "AudioHook", "VideoInputHook", "VideoOutputHook", "Join"
  // (value not "0"), "VideoHookBitsPixel", "TimeStart", "TimeLength"; others are extra
  // options.
  bool SetOutputFile(Integer ATaskIndex, const String& AFileName, const String& AExtOptions);
  bool SetOutputStream(Integer ATaskIndex, TStream* AStream, const String& APrivateData,
                       TOutputOptions* AOptions);
  // Frees every task and resets the run; "Cannot ClearTasks while working." before the
  // final notification of a run.
  void ClearTasks();
  void Exchange(Integer ATaskIndex1, Integer ATaskIndex2);
  void RemoveTask(Integer ATaskIndex);
  // The task's index in the list, -1 when absent.
  Integer GetTaskIndex(const TFFmpeg* AFFmpeg) const;
  Integer TasksCount() const;
  Integer GetTasksCount() const { return TasksCount(); }

  // --- run control ---
  // AThreadCount > 0: that many tasks at once, each in its own conversion thread, the
  // rest started as running ones end; returns at once. <= 0: every task in this thread,
  // in list order, before it returns. OnTerminate follows every task and, once all have
  // ended, once more with TaskIndex -1.
  void Start(Integer AThreadCount);
  void Pause();
  void Resume();
  // No further task starts; running ones are stopped (AWaitForStop: the call returns
  // after their threads have ended, serving main-thread calls meanwhile); tasks not
  // started report Finished false without converting. The final notification then
  // reports Finished false.
  void Stop(bool AWaitForStop);

  // --- properties ---
  TFFDecoder* Decoder() const { return FDecoder.get(); }
  const String& LastErrMsg() const { return FLastErrMsg; }
  bool Terminated() const { return FTerminated.load(); }
  bool Working() const { return FWorking.load(); }
  bool Paused() const { return FPaused.load(); }
  Integer CustomMaxFiles() const { return FCustomMaxFiles; }
  void SetCustomMaxFiles(Integer Value) { FCustomMaxFiles = Value; }
  bool HaltOnInvalidOption() const { return FHaltOnInvalidOption; }
  void SetHaltOnInvalidOption(bool Value) { FHaltOnInvalidOption = Value; }
  bool Preview() const { return FPreview; }
  void SetPreview(bool Value);
  bool PreviewBitmap() const { return FPreviewBitmap; }
  void SetPreviewBitmap(bool Value);
  Integer ProgressInterval() const { return FProgressInterval; }
  // Milliseconds; 100 or less becomes 100.
  void SetProgressInterval(Integer Value);
  Integer ReadTimeout() const { return FReadTimeout; }
  void SetReadTimeout(Integer Value) { FReadTimeout = Value; }
  TThreadPriority ThreadPriority() const { return FThreadPriority; }
  void SetThreadPriority(TThreadPriority Value) { FThreadPriority = Value; }
  bool TriggerEventInMainThread() const { return FTriggerEventInMainThread; }
  void SetTriggerEventInMainThread(bool Value) { FTriggerEventInMainThread = Value; }
  void* UserData() const { return FData; }
  void SetUserData(void* Value) { FData = Value; }
  Integer Verbose() const { return FVerbose; }
  void SetVerbose(Integer Value) { FVerbose = Value; }

  // The hooks run in the task's conversion thread, OnBeforeFindStreamInfo in the thread
  // that opens the input (Sender: the task). OnProgress and OnPreviewBitmap run in the
  // main thread when TriggerEventInMainThread is set. OnTerminate runs in the notifier
  // thread in thread mode, in the thread that called Start in synchronous mode.
  TAudioHookEvent OnAudioHook;
  TBeforeFindStreamInfoEvent OnBeforeFindStreamInfo;
  TVideoHookEvent OnVideoInputHook;
  TVideoHookEvent OnVideoOutputHook;
  TPreviewBitmapEvent OnPreviewBitmap;
  TProgressEvent OnProgress;
  TTerminateEvent OnTerminate;

 protected:
  // The task object of AddTask; tests hand in their own transcoder.
  virtual TFFmpeg* CreateTask(Integer AMaxFiles);

  // The event paths the tasks' engine events point at.
  virtual void DoTaskInputVideoHook(TObject* ATask, TBitmap* ABitmap, Integer AFrameNumber, Int64 APTS,
                                    bool& AUpdate, bool& AStopHook);
  virtual void DoTaskOutputVideoHook(TObject* ATask, TBitmap* ABitmap, Integer AFrameNumber, Int64 APTS,
                                     bool& AUpdate, bool& AStopHook);
  virtual void DoTaskPreviewBitmap(TObject* ATask, TBitmap* ABitmap, Integer AFrameNumber, Int64 APTS);
  virtual void DoTaskProgress(TObject* ATask, Integer AFileIndex, Integer AFrameNumber, Integer AFPS,
                              Single AQuality, Single ABitRate, Int64 ACurrentSize, Int64 ACurrentDuration,
                              Int64 ATotalDuration);
  virtual void DoTaskTerminate(TObject* ATask);
  void DoTaskAudioHook(TObject* ATask, Int64 APTS, Byte* ASample, Integer ASize, Integer ASampleRate,
                       Integer AChannels, Integer ASampleFormat);
  void DoTaskBeforeFindStreamInfo(TObject* ATask, void* AFormatContext);

 private:
  void CheckNotWorking(const String& AOperation) const;
  void ConnectTask(TFFmpeg& ATask);
  void StartNextTask();
  // Ends the tasks of a stopped run that never started, in list order (FTerminateLock held).
  void TerminateUnstartedTasks();
  void DoAllTasksTerminated();
  void DeliverTerminate(const TTerminateInfo& AInfo);
  void VideoHook(const TVideoHookEvent& AEvent, TObject* ATask, TBitmap* ABitmap, Integer AFrameNumber,
                 Int64 APTS, bool& AUpdate, bool& AStopHook);
  // Stops the started tasks and waits for their threads (the first step of Destroy).
  void StopForDestroy();

  String FLastErrMsg;
  void* FData = nullptr;
  Integer FCustomMaxFiles = 20;
  bool FHaltOnInvalidOption = true;
  bool FPreview = false;
  bool FPreviewBitmap = false;
  Integer FProgressInterval = 500;
  Integer FReadTimeout = 10000;
  TThreadPriority FThreadPriority = tpNormal;
  bool FTriggerEventInMainThread = true;
  Integer FVerbose = 1;
  TProgressInfo FProgressInfo;    // guarded by FProgressLock
  TTerminateInfo FTerminateInfo;  // guarded by FTerminateLock
  TPreviewInfo FPreviewInfo;      // guarded by FPreviewLock
  THookInfo FVideoHookInfo;       // guarded by FVideoHookLock
  TCriticalSection FAudioHookLock;
  TCriticalSection FPreviewLock;
  TCriticalSection FProgressLock;
  // Guards the run's bookkeeping (counters, starting the next task, stopping) and the
  // order of the termination notifications.
  TCriticalSection FTerminateLock;
  TCriticalSection FVideoHookLock;
  TOwned<TFFDecoder> FDecoder;
  TOwned<TFFmpegList> FFFmpegList;
  std::atomic<Integer> FCompleteTasks{0};
  std::atomic<Integer> FCurrentTask{-1};  // the next task to start
  std::atomic<Integer> FPendingTasks{0};
  std::atomic<bool> FTerminated{false};
  std::atomic<bool> FThreadMode{false};
  std::atomic<bool> FWorking{false};
  std::atomic<bool> FPaused{false};
  std::atomic<bool> FStopped{false};     // Stop came before the final notification
  std::atomic<bool> FDestroying{false};  // no event is raised any more
  bool FCancelling = false;              // TerminateUnstartedTasks runs (FTerminateLock)
  bool FLibLoaded = false;
  TOwned<TEncoderNotifier> FNotifier;  // made by the first notification of thread mode
};

// The component as the application places it.
class TFFEncoder : public TCustomEncoder {
  VANTREL_CLASS(TFFEncoder)
  using TCustomEncoder::TCustomEncoder;
};

}  // namespace vantrel::media
