// The encoder component: its settings, the libraries it loads, and the task operations
// with which the application builds the task list before a run.
#include "media/FFEncode.h"
#include "media/FFLoad.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/NumConv.h"
#include "platform/rtl/Utf8.h"

namespace vantrel::media {

namespace {

constexpr Integer MinProgressInterval = 100;  // milliseconds
constexpr Integer DefaultHookBitsPixel = 24;

Int64 TimeOrNone(const String& AText) {
  Int64 Value;
  return TryStrToInt64(AText, Value) ? Value : NoPTSValue;
}

// "name=value" and a line feed: how option lines not read here are passed on.
void KeepLine(String& AExtOptions, const TExtOption& AOption) {
  AExtOptions += AOption.Name + "=" + AOption.Value + "\n";
}

TInputOptions InputOptionsFromText(const String& AExtOptions) {
  TInputOptions O;
  ResetInputOptions(O);
  for (const TExtOption& L : ParseExtOptions(AExtOptions, false)) {
    if (SameText(L.Name, "TimeStart"))
      O.TimeStart = TimeOrNone(L.Value);
    else
      KeepLine(O.ExtOptions, L);
  }
  return O;
}

TOutputOptions OutputOptionsFromText(const String& AExtOptions) {
  TOutputOptions O;
  ResetOutputOptions(O);
  for (const TExtOption& L : ParseExtOptions(AExtOptions, false)) {
    const String& N = L.Name;
    if (SameText(N, "AudioHook"))
      O.AudioHook = L.Value != "0";
    else if (SameText(N, "VideoInputHook"))
      O.VideoInputHook = L.Value != "0";
    else if (SameText(N, "VideoOutputHook"))
      O.VideoOutputHook = L.Value != "0";
    else if (SameText(N, "Join"))
      O.Join = L.Value != "0";
    else if (SameText(N, "VideoHookBitsPixel"))
      O.VideoHookBitsPixel = StrToIntDef(L.Value, DefaultHookBitsPixel);
    else if (SameText(N, "TimeStart"))
      O.TimeStart = TimeOrNone(L.Value);
    else if (SameText(N, "TimeLength"))
      O.TimeLength = TimeOrNone(L.Value);
    else
      KeepLine(O.ExtOptions, L);
  }
  return O;
}

String StreamName(const TStream* AStream, const String& APrivateData) {
  return Format("stream:%d:%s", {static_cast<Int64>(reinterpret_cast<intptr_t>(AStream)), APrivateData});
}

}  // namespace

TCustomEncoder::TCustomEncoder(TComponent* AOwner)
    : TFFBaseComponent(AOwner),
      FDecoder(CreateOwned<TFFDecoder>(nullptr)),
      FFFmpegList(CreateOwned<TFFmpegList>()) {
  FVersion = "3.9";
}

TCustomEncoder::~TCustomEncoder() {
  // Reached without Free as well.
  StopForDestroy();
  FFFmpegList.reset();
  FDecoder.reset();
  if (FLibLoaded) FFLoader().Unload(EncoderLibraries);
}

void TCustomEncoder::BeforeDestruction() {
  // The tasks are stopped and their threads ended before anything they use goes (a
  // worker may be waiting for the GUI thread inside an event path).
  StopForDestroy();
  FFFmpegList->Clear();
  TFFBaseComponent::BeforeDestruction();
}

TFFmpeg* TCustomEncoder::CreateTask(Integer AMaxFiles) { return TFFmpeg::Create(AMaxFiles); }

// --- libraries ---

bool TCustomEncoder::AVLibLoaded() const { return FFLoader().Loaded(EncoderLibraries); }

bool TCustomEncoder::LoadAVLib(const TPathFileName& APath) {
  FFLoader().SetLibraryPath(APath);
  if (FLibLoaded) return true;
  if (!FFLoader().Load(EncoderLibraries)) {
    FLastErrMsg = FFLoader().LastErrMsg();
    return false;
  }
  FLibLoaded = true;
  return true;
}

void TCustomEncoder::UnloadAVLib() {
  if (!FLibLoaded) return;
  FFLoader().Unload(EncoderLibraries);
  FLibLoaded = false;
}

// --- tasks ---

void TCustomEncoder::CheckNotWorking(const String& AOperation) const {
  if (FWorking) throw Exception(Format("Cannot %s while working.", {AOperation}));
}

void TCustomEncoder::ConnectTask(TFFmpeg& ATask) {
  ATask.OnProgress = [this](TObject* Sender, Integer AFileIndex, Integer AFrameNumber, Integer AFPS,
                            Single AQuality, Single ABitRate, Int64 ACurrentSize, Int64 ACurrentDuration,
                            Int64 ATotalDuration) {
    DoTaskProgress(Sender, AFileIndex, AFrameNumber, AFPS, AQuality, ABitRate, ACurrentSize, ACurrentDuration,
                   ATotalDuration);
  };
  ATask.OnTerminate = [this](TObject* Sender) { DoTaskTerminate(Sender); };
}

Integer TCustomEncoder::AddTask(const String& AFileName, TInputOptions* AOptions) {
  CheckNotWorking("AddTask");
  TOwned<TFFmpeg> Task(CreateTask(FCustomMaxFiles));
  Task->HaltOnInvalidOption = FHaltOnInvalidOption;
  try {
    Task->SetVerbose(FVerbose);
    TPostHooks Hooks;
    if (FPreview) Hooks.Include(phPreview);
    if (FPreviewBitmap) Hooks.Include(phBitmap);
    Task->ChangePostHooks(Hooks);
    Task->OnBeforeFindStreamInfo = [this](TObject* Sender, void* AFormatContext) {
      DoTaskBeforeFindStreamInfo(Sender, AFormatContext);
    };
    Task->OnPreviewBitmap = [this](TObject* Sender, TBitmap* ABitmap, Integer AFrameNumber, Int64 APTS) {
      DoTaskPreviewBitmap(Sender, ABitmap, AFrameNumber, APTS);
    };
    Task->SetReadTimeout(FReadTimeout);
    if (!Task->OpenInput(AFileName, AOptions)) {
      FLastErrMsg = Task->LastErrMsg();
      return -1;
    }
    ConnectTask(*Task);
    return FFFmpegList->Add(Task.release());
  } catch (const Exception& E) {
    FLastErrMsg = E.Message();
    return -1;
  }
}

Integer TCustomEncoder::AddTask(const String& AFileName, const String& AExtOptions) {
  TInputOptions O = InputOptionsFromText(AExtOptions);
  return AddTask(AFileName, &O);
}

Integer TCustomEncoder::AddTask(TStream* AStream, const String& APrivateData, TInputOptions* AOptions) {
  return AddTask(StreamName(AStream, APrivateData), AOptions);
}

bool TCustomEncoder::AddInputFile(Integer ATaskIndex, const String& AFileName, TInputOptions* AOptions) {
  CheckNotWorking("AddInputFile");
  TFFmpeg* Task = FFFmpegList->GetItem(ATaskIndex);
  if (Task->InputFileCount() >= FCustomMaxFiles) {
    FLastErrMsg = Format("max input files %d reached", {FCustomMaxFiles});
    return false;
  }
  try {
    Task->HaltOnInvalidOption = FHaltOnInvalidOption;
    Task->SetReadTimeout(FReadTimeout);
    if (Task->OpenInput(AFileName, AOptions)) return true;
    FLastErrMsg = Task->LastErrMsg();
  } catch (const Exception& E) {
    FLastErrMsg = E.Message();
  }
  return false;
}

bool TCustomEncoder::AddInputFile(Integer ATaskIndex, const String& AFileName, const String& AExtOptions) {
  TInputOptions O = InputOptionsFromText(AExtOptions);
  return AddInputFile(ATaskIndex, AFileName, &O);
}

bool TCustomEncoder::SetOutputFile(Integer ATaskIndex, const String& AFileName, TOutputOptions* AOptions) {
  CheckNotWorking("SetOutputFile");
  TFFmpeg* Task = FFFmpegList->GetItem(ATaskIndex);
  if (Task->OutputFileCount() >= FCustomMaxFiles) {
    FLastErrMsg = Format("max output files %d reached", {FCustomMaxFiles});
    return false;
  }
  try {
    Task->HaltOnInvalidOption = FHaltOnInvalidOption;
    Task->SetReadTimeout(FReadTimeout);
    if (AOptions && AOptions->AudioHook)
      Task->OnAudioHook = [this](TObject* Sender, Int64 APTS, Byte* ASample, Integer ASize, Integer ASampleRate,
                                 Integer AChannels, Integer ASampleFormat) {
        DoTaskAudioHook(Sender, APTS, ASample, ASize, ASampleRate, AChannels, ASampleFormat);
      };
    if (AOptions && AOptions->VideoInputHook)
      Task->OnInputVideoHook = [this](TObject* Sender, TBitmap* ABitmap, Integer AFrameNumber, Int64 APTS,
                                      bool& AUpdate, bool& AStopHook) {
        DoTaskInputVideoHook(Sender, ABitmap, AFrameNumber, APTS, AUpdate, AStopHook);
      };
    if (AOptions && AOptions->VideoOutputHook)
      Task->OnOutputVideoHook = [this](TObject* Sender, TBitmap* ABitmap, Integer AFrameNumber, Int64 APTS,
                                       bool& AUpdate, bool& AStopHook) {
        DoTaskOutputVideoHook(Sender, ABitmap, AFrameNumber, APTS, AUpdate, AStopHook);
      };
    if (Task->OpenOutput(AFileName, AOptions)) return true;
    FLastErrMsg = Task->LastErrMsg();
  } catch (const Exception& E) {
    FLastErrMsg = E.Message();
  }
  return false;
}

bool TCustomEncoder::SetOutputFile(Integer ATaskIndex, const String& AFileName, const String& AExtOptions) {
  TOutputOptions O = OutputOptionsFromText(AExtOptions);
  return SetOutputFile(ATaskIndex, AFileName, &O);
}

bool TCustomEncoder::SetOutputStream(Integer ATaskIndex, TStream* AStream, const String& APrivateData,
                                     TOutputOptions* AOptions) {
  return SetOutputFile(ATaskIndex, StreamName(AStream, APrivateData), AOptions);
}

void TCustomEncoder::ClearTasks() {
  {
    // Taken so that a task still ending finishes its bookkeeping first.
    std::lock_guard<TCriticalSection> L(FTerminateLock);
    if (FWorking && !FTerminated) throw Exception("Cannot ClearTasks while working.");
  }
  FFFmpegList->Clear();
  FLastErrMsg.clear();
  FCompleteTasks = 0;
  FCurrentTask = -1;
  FPendingTasks = 0;
  FTerminated = false;
  FThreadMode = false;
  FWorking = false;
  FPaused = false;
  FStopped = false;
}

void TCustomEncoder::Exchange(Integer ATaskIndex1, Integer ATaskIndex2) {
  CheckNotWorking("Exchange");
  FFFmpegList->Exchange(ATaskIndex1, ATaskIndex2);
}

void TCustomEncoder::RemoveTask(Integer ATaskIndex) {
  CheckNotWorking("RemoveTask");
  FFFmpegList->Delete(ATaskIndex);
}

Integer TCustomEncoder::GetTaskIndex(const TFFmpeg* AFFmpeg) const { return FFFmpegList->IndexOf(AFFmpeg); }

Integer TCustomEncoder::TasksCount() const { return FFFmpegList->Count(); }

// --- properties ---

void TCustomEncoder::SetPreview(bool Value) {
  FFFmpegList->SetPreview(Value);
  FPreview = Value;
}

void TCustomEncoder::SetPreviewBitmap(bool Value) {
  FFFmpegList->SetPreviewBitmap(Value);
  FPreviewBitmap = Value;
}

void TCustomEncoder::SetProgressInterval(Integer Value) {
  FProgressInterval = Value <= MinProgressInterval ? MinProgressInterval : Value;
}

}  // namespace vantrel::media
