// The change notifier of the shell views and its watch thread.
#include "skin/dialogs/SkinShellChangeNotifier.h"

uint32_t FiltersToNotifyFlags(TNotifyFilters Filters) {
  uint32_t Flags = static_cast<uint32_t>(Filters.Bits() & 0x1F);
  if (Filters.Contains(nfSecurityChange)) Flags |= FILE_NOTIFY_CHANGE_SECURITY;
  return Flags;
}

TCriticalSection& ChangeThreadLock() {
  static TCriticalSection Lock;
  return Lock;
}

namespace {

struct ChangeLockScope {
  ChangeLockScope() { ChangeThreadLock().Enter(); }
  ~ChangeLockScope() { ChangeThreadLock().Leave(); }
  ChangeLockScope(const ChangeLockScope&) = delete;
  ChangeLockScope& operator=(const ChangeLockScope&) = delete;
};

}  // namespace

// ---- the watch thread ----

TspShellChangeThread::TspShellChangeThread(TThreadMethod ChangeEvent)
    : TThread(true), FMutex(CreateMutex(nullptr, 1, nullptr)), FChangeEvent(std::move(ChangeEvent)) {}

TspShellChangeThread::~TspShellChangeThread() {
  if (FWaitHandle != INVALID_HANDLE_VALUE) FindCloseChangeNotification(FWaitHandle);
  if (FMutex) CloseHandle(FMutex);
}

void TspShellChangeThread::SetDirectoryOptions(const String& Directory, bool WatchSubTree, uint32_t NotifyOptionFlags) {
  ChangeLockScope Lock;
  FDirectory = Directory;
  FWatchSubTree = WatchSubTree;
  FNotifyOptionFlags = NotifyOptionFlags;
  // Closing it ends a wait on it; the thread re-opens with the new options.
  if (FWaitHandle != INVALID_HANDLE_VALUE) FindCloseChangeNotification(FWaitHandle);
  FWaitHandle = INVALID_HANDLE_VALUE;
  FWaitChanged = true;
}

void TspShellChangeThread::WakeUp() {
  if (FWokenUp) return;
  FWokenUp = true;
  ReleaseMutex(FMutex);
}

void TspShellChangeThread::OpenNotificationLocked() {
  if (FWaitHandle != INVALID_HANDLE_VALUE) FindCloseChangeNotification(FWaitHandle);
  FWaitHandle = FindFirstChangeNotificationW(FDirectory.c_str(), FWatchSubTree ? 1 : 0, FNotifyOptionFlags);
  FWaitChanged = false;
}

void TspShellChangeThread::OpenWatch() {
  ChangeLockScope Lock;
  OpenNotificationLocked();
}

void TspShellChangeThread::RunChangeEvent() {
  // A notifier that is going drops the change.
  if (Terminated()) return;
  if (FChangeEvent) FChangeEvent();
}

void TspShellChangeThread::Execute() {
  {
    ChangeLockScope Lock;
    if (FWaitHandle == INVALID_HANDLE_VALUE || FWaitChanged) OpenNotificationLocked();
    if (FWaitHandle == INVALID_HANDLE_VALUE) return;
  }
  while (!Terminated()) {
    HANDLE Handles[2];
    {
      ChangeLockScope Lock;
      Handles[0] = FWaitHandle;
    }
    Handles[1] = FMutex;
    const uint32_t R = WaitForMultipleObjects(2, Handles, 0, INFINITE);
    if (R == WAIT_FAILED) {
      // The notification was closed for new options: wait again with them.
      ChangeLockScope Lock;
      if (!FWaitChanged || Terminated()) return;
      OpenNotificationLocked();
      if (FWaitHandle == INVALID_HANDLE_VALUE) return;
      continue;
    }
    if (R == WAIT_OBJECT_0) {
      try {
        Synchronize([this] { RunChangeEvent(); });
      } catch (...) {
        // OnChange's own failures stay on the GUI thread's side.
      }
      FindNextChangeNotification(Handles[0]);
    } else if (R == WAIT_OBJECT_0 + 1) {
      ReleaseMutex(FMutex);
    }
    ChangeLockScope Lock;
    if (FWaitChanged) OpenNotificationLocked();
  }
}

// ---- the notifier ----

TspCustomShellChangeNotifier::TspCustomShellChangeNotifier(TComponent* AOwner) : TComponent(AOwner) { StartWatch(); }

TspCustomShellChangeNotifier::~TspCustomShellChangeNotifier() { StopWatch(); }

void TspCustomShellChangeNotifier::StartWatch() {
  if (!FOnChange || FThread) return;
  FThread = TspShellChangeThread::Create(FOnChange);
  FThread->SetDirectoryOptions(FRoot, FWatchSubTree, FiltersToNotifyFlags(FFilters));
  FThread->OpenWatch();
  FThread->Resume();
}

void TspCustomShellChangeNotifier::StopWatch() {
  TspShellChangeThread* Thread = FThread;
  if (!Thread) return;
  FThread = nullptr;
  Thread->Terminate();
  Thread->WakeUp();
  Thread->Free();
}

void TspCustomShellChangeNotifier::ApplyOptions() {
  if (!FThread) return;
  if (FThread->Finished()) {
    // The last folder could not be watched: a new watch takes the new options.
    StopWatch();
    StartWatch();
    return;
  }
  FThread->SetDirectoryOptions(FRoot, FWatchSubTree, FiltersToNotifyFlags(FFilters));
}

void TspCustomShellChangeNotifier::SetRoot(const TRoot& Value) {
  // Folder names differ by case here: only the same text is the same folder.
  if (Value == FRoot) return;
  FRoot = Value;
  ApplyOptions();
}

void TspCustomShellChangeNotifier::SetNotifyFilters(TNotifyFilters Value) {
  FFilters = Value;
  ApplyOptions();
}

void TspCustomShellChangeNotifier::SetWatchSubTree(bool Value) {
  FWatchSubTree = Value;
  ApplyOptions();
}

void TspCustomShellChangeNotifier::SetOnChange(TThreadMethod Value) {
  FOnChange = std::move(Value);
  if (FThread) FThread->SetChangeEvent(FOnChange);
  else StartWatch();
}
