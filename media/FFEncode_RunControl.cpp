// Running the encoder's task list: starting tasks one after another or several at once,
// pausing, stopping, and turning each task's engine events into the component's events.
// Termination notifications keep their order: in thread mode they go through one queue
// delivered by one notifier thread, so the final one (TaskIndex -1) always comes last.
#include <algorithm>

#include "media/FFEncode.h"
#include "media/FFLog.h"
#include "platform/ui/Graphics.h"

namespace vantrel::media {

namespace {
constexpr Int64 MicrosecondsPerMs = 1000;
}  // namespace

// --- the notifier thread ---

TEncoderNotifier::TEncoderNotifier() : TThread(false) {}

void TEncoderNotifier::Post(const TTerminateEvent& AHandler, TObject* ASender, const TTerminateInfo& AInfo) {
  {
    std::lock_guard<std::mutex> L(FLock);
    FQueue.push_back({AHandler, ASender, AInfo});
  }
  FChanged.notify_one();
}

void TEncoderNotifier::Shutdown(bool ADropPending) {
  {
    std::lock_guard<std::mutex> L(FLock);
    FShutdown = true;
    if (ADropPending) FDropPending = true;
  }
  FChanged.notify_one();
}

void TEncoderNotifier::Execute() {
  for (;;) {
    TItem Item;
    {
      std::unique_lock<std::mutex> L(FLock);
      FChanged.wait(L, [this] { return FShutdown || !FQueue.empty(); });
      if (FQueue.empty() || FDropPending) return;
      Item = std::move(FQueue.front());
      FQueue.pop_front();
    }
    // A handler that raises must not cost the notifications after it.
    try {
      if (Item.Handler) Item.Handler(Item.Sender, Item.Info);
    } catch (const Exception& E) {
      GetFFLogger()->Log(Item.Sender, llError, E.Message());
    } catch (const std::exception& E) {
      GetFFLogger()->Log(Item.Sender, llError, E.what());
    }
  }
}

// --- the task's part ---

void TFFmpeg::TerminateUnstarted() {
  if (Converting() || Terminated()) return;
  // Its files go now, as after a conversion: an output that received nothing is removed.
  Guarded([this] { FreeState(); });
  FFinished = false;
  DoTerminate();
}

// --- run control ---

void TCustomEncoder::Start(Integer AThreadCount) {
  CheckNotWorking("StartTask");
  std::unique_lock<TCriticalSection> L(FTerminateLock);
  FCompleteTasks = 0;
  FCurrentTask = 0;
  FPendingTasks = TasksCount();
  FTerminated = false;
  FThreadMode = AThreadCount > 0;
  FWorking = true;
  FPaused = false;
  FStopped = false;
  // An empty list has nothing to wait for: the run ends at once.
  if (TasksCount() == 0) {
    DoAllTasksTerminated();
    return;
  }
  L.unlock();
  while (FPendingTasks > 0) {
    StartNextTask();
    if (FThreadMode) {
      if (AThreadCount <= 1) break;
      --AThreadCount;
    }
  }
}

void TCustomEncoder::StartNextTask() {
  TFFmpeg* Task;
  {
    std::lock_guard<TCriticalSection> L(FTerminateLock);
    if (FPendingTasks <= 0) return;
    --FPendingTasks;
    Task = FFFmpegList->GetItem(FCurrentTask);
    // Advanced before the task starts: a task that ends at once comes back here from
    // its termination and must find the next one.
    ++FCurrentTask;
    Task->ReportInterval = Int64{FProgressInterval} * MicrosecondsPerMs;
    if (FThreadMode) {
      // Started under the lock, so that a Stop sees either a running task or none.
      if (TThread* Worker = Task->StartConvert(true, FThreadPriority)) {
        Worker->Start();
        if (FPaused) Task->Pause();
      }
      return;
    }
  }
  // Synchronous: the whole conversion runs here; Stop from another thread must not
  // wait for it behind the lock.
  Task->StartConvert(false, FThreadPriority);
}

void TCustomEncoder::Pause() {
  if (!FWorking || FPaused) return;
  std::lock_guard<TCriticalSection> L(FTerminateLock);
  FFFmpegList->PauseAll();
  FPaused = true;
}

void TCustomEncoder::Resume() {
  if (!FWorking || !FPaused) return;
  std::lock_guard<TCriticalSection> L(FTerminateLock);
  FFFmpegList->ResumeAll();
  FPaused = false;
}

void TCustomEncoder::Stop(bool AWaitForStop) {
  Integer Started;
  {
    std::lock_guard<TCriticalSection> L(FTerminateLock);
    FPendingTasks = 0;
    if (!FWorking) return;
    if (!FTerminated) FStopped = true;
    FPaused = false;
    Started = FCurrentTask;
    // Only asked here: a task's end takes this lock, so nothing waits while holding it.
    for (Integer I = 0; I < Started; ++I) FFFmpegList->GetItem(I)->StopOrTerminate(false);
    if (FCompleteTasks >= Started) TerminateUnstartedTasks();
  }
  if (!AWaitForStop) return;
  for (Integer I = 0; I < Started && I < TasksCount(); ++I) FFFmpegList->GetItem(I)->StopOrTerminate(true);
}

void TCustomEncoder::TerminateUnstartedTasks() {
  if (FCancelling) return;
  FCancelling = true;
  // In list order, each raising its termination in this thread, after the started ones.
  while (FCurrentTask < TasksCount()) {
    TFFmpeg* Task = FFFmpegList->GetItem(FCurrentTask);
    ++FCurrentTask;
    Task->TerminateUnstarted();
  }
  FCancelling = false;
  if (FPendingTasks <= 0 && !FTerminated && TasksCount() <= FCompleteTasks) DoAllTasksTerminated();
}

void TCustomEncoder::StopForDestroy() {
  FDestroying = true;
  Integer Started;
  {
    std::lock_guard<TCriticalSection> L(FTerminateLock);
    FPendingTasks = 0;
    Started = FWorking ? std::min<Integer>(FCurrentTask, TasksCount()) : 0;
    for (Integer I = 0; I < Started; ++I) FFFmpegList->GetItem(I)->StopOrTerminate(false);
  }
  for (Integer I = 0; I < Started && I < TasksCount(); ++I) FFFmpegList->GetItem(I)->StopOrTerminate(true);
  if (!FNotifier) return;
  FNotifier->Shutdown(true);
  if (FNotifier->ThreadID() == GetCurrentThreadId()) {
    // Freed from its own OnTerminate: the notifier cannot join itself; it ends after
    // the handler returns and frees itself.
    FNotifier->SetFreeOnTerminate(true);
    (void)FNotifier.release();
  } else {
    FNotifier.reset();  // joins, serving main-thread calls on the main thread
  }
}

// --- termination ---

void TCustomEncoder::DoTaskTerminate(TObject* ATask) {
  if (FDestroying) return;
  std::lock_guard<TCriticalSection> L(FTerminateLock);
  if (OnTerminate) {
    auto* Task = static_cast<TFFmpeg*>(ATask);
    FTerminateInfo.TaskIndex = FFFmpegList->IndexOf(Task);
    FTerminateInfo.Finished = Task->Finished();
    FTerminateInfo.Exception = Task->FatalException();
    FTerminateInfo.ExceptionMsg = Task->FatalMessage();
    FTerminateInfo.OutputFileName = Task->Finished() ? Task->OutputFileName(0) : String();
    DeliverTerminate(FTerminateInfo);
  }
  ++FCompleteTasks;
  if (FPendingTasks > 0) {
    if (FThreadMode) StartNextTask();
  } else if (FStopped && FCompleteTasks >= FCurrentTask) {
    TerminateUnstartedTasks();
  } else if (!FTerminated && TasksCount() <= FCompleteTasks) {
    DoAllTasksTerminated();
  }
}

void TCustomEncoder::DoAllTasksTerminated() {
  // Set first: a handler of the final notification may clear the list.
  FTerminated = true;
  if (!OnTerminate) return;
  FTerminateInfo.TaskIndex = -1;
  // A stopped run is no success: the application reports success on Finished.
  FTerminateInfo.Finished = !FStopped;
  FTerminateInfo.Exception = false;
  FTerminateInfo.ExceptionMsg.clear();
  FTerminateInfo.OutputFileName.clear();
  DeliverTerminate(FTerminateInfo);
}

void TCustomEncoder::DeliverTerminate(const TTerminateInfo& AInfo) {
  if (!FThreadMode && FWorking) {
    // Synchronous run: in this thread, under the lock, so the order holds as well.
    try {
      OnTerminate(this, AInfo);
    } catch (const Exception& E) {
      GetFFLogger()->Log(this, llError, E.Message());
    }
    return;
  }
  if (!FNotifier) FNotifier = CreateOwned<TEncoderNotifier>();
  FNotifier->Post(OnTerminate, this, AInfo);
}

// --- the other event paths ---

void TCustomEncoder::DoTaskProgress(TObject* ATask, Integer AFileIndex, Integer AFrameNumber, Integer AFPS,
                                    Single AQuality, Single ABitRate, Int64 ACurrentSize, Int64 ACurrentDuration,
                                    Int64 ATotalDuration) {
  if (FDestroying || !OnProgress) return;
  // Held until the handler has returned: the record is the component's.
  std::lock_guard<TCriticalSection> L(FProgressLock);
  FProgressInfo = {FFFmpegList->IndexOf(static_cast<TFFmpeg*>(ATask)),
                   AFileIndex,
                   AFrameNumber,
                   AFPS,
                   AQuality,
                   ABitRate,
                   ACurrentSize,
                   ACurrentDuration,
                   ATotalDuration};
  // A call that waited for the main thread while the component began to go is dropped.
  if (FTriggerEventInMainThread)
    CallInMainThread([this] {
      if (!FDestroying) OnProgress(this, &FProgressInfo);
    });
  else
    OnProgress(this, &FProgressInfo);
}

void TCustomEncoder::DoTaskPreviewBitmap(TObject* ATask, TBitmap* ABitmap, Integer AFrameNumber, Int64 APTS) {
  if (FDestroying || !OnPreviewBitmap) return;
  std::lock_guard<TCriticalSection> L(FPreviewLock);
  FPreviewInfo = {FFFmpegList->IndexOf(static_cast<TFFmpeg*>(ATask)), ABitmap, AFrameNumber, APTS};
  if (FTriggerEventInMainThread)
    CallInMainThread([this] {
      if (!FDestroying) OnPreviewBitmap(this, FPreviewInfo);
    });
  else
    OnPreviewBitmap(this, FPreviewInfo);
}

void TCustomEncoder::VideoHook(const TVideoHookEvent& AEvent, TObject* ATask, TBitmap* ABitmap,
                               Integer AFrameNumber, Int64 APTS, bool& AUpdate, bool& AStopHook) {
  if (FDestroying || !AEvent) return;
  // One lock and one record for both hooks of every task.
  std::lock_guard<TCriticalSection> L(FVideoHookLock);
  FVideoHookInfo = {FFFmpegList->IndexOf(static_cast<TFFmpeg*>(ATask)), ABitmap, AFrameNumber, APTS, AUpdate,
                    AStopHook};
  TCanvas* Canvas = ABitmap ? ABitmap->Canvas() : nullptr;
  if (Canvas) Canvas->Lock();
  try {
    AEvent(this, &FVideoHookInfo);
  } catch (...) {
    if (Canvas) Canvas->Unlock();
    throw;
  }
  if (Canvas) Canvas->Unlock();
  AUpdate = FVideoHookInfo.Update;
  AStopHook = FVideoHookInfo.StopHook;
}

void TCustomEncoder::DoTaskInputVideoHook(TObject* ATask, TBitmap* ABitmap, Integer AFrameNumber, Int64 APTS,
                                          bool& AUpdate, bool& AStopHook) {
  VideoHook(OnVideoInputHook, ATask, ABitmap, AFrameNumber, APTS, AUpdate, AStopHook);
}

void TCustomEncoder::DoTaskOutputVideoHook(TObject* ATask, TBitmap* ABitmap, Integer AFrameNumber, Int64 APTS,
                                           bool& AUpdate, bool& AStopHook) {
  VideoHook(OnVideoOutputHook, ATask, ABitmap, AFrameNumber, APTS, AUpdate, AStopHook);
}

void TCustomEncoder::DoTaskAudioHook(TObject* ATask, Int64 APTS, Byte* ASample, Integer ASize,
                                     Integer ASampleRate, Integer AChannels, Integer ASampleFormat) {
  if (FDestroying || !OnAudioHook) return;
  std::lock_guard<TCriticalSection> L(FAudioHookLock);
  OnAudioHook(this, FFFmpegList->IndexOf(static_cast<TFFmpeg*>(ATask)), APTS, ASample, ASize, ASampleRate,
              AChannels, ASampleFormat);
}

void TCustomEncoder::DoTaskBeforeFindStreamInfo(TObject* ATask, void* AFormatContext) {
  if (OnBeforeFindStreamInfo) OnBeforeFindStreamInfo(ATask, AFormatContext);
}

}  // namespace vantrel::media
