// Watching one folder (optionally with the folders below it) for changes: a worker thread
// waits on a folder change notification and a wake-up mutex and runs OnChange on the GUI
// thread after each change.
#pragma once

#include "platform/rtl/ChangeNotify.h"
#include "platform/rtl/Classes.h"
#include "platform/rtl/SyncObjs.h"
#include "platform/rtl/Threads.h"
#include "skin/dialogs/SkinShellCtrls.h"

enum TNotifyFilter { nfFileNameChange, nfDirNameChange, nfAttributeChange, nfSizeChange, nfWriteChange, nfSecurityChange };
using TNotifyFilters = TSet<TNotifyFilter>;

uint32_t FiltersToNotifyFlags(TNotifyFilters Filters);

// Guards the watch threads' options and the opening and closing of their notifications.
TCriticalSection& ChangeThreadLock();

class TspShellChangeThread : public TThread {
  VANTREL_CLASS(TspShellChangeThread)
  // Made suspended; the calling (GUI) thread holds the wake-up mutex until it releases it
  // with WakeUp.
  explicit TspShellChangeThread(TThreadMethod ChangeEvent);
  ~TspShellChangeThread() override;

  // GUI thread: new options; the notification waited on is closed and the thread opens
  // one with the new options.
  void SetDirectoryOptions(const String& Directory, bool WatchSubTree, uint32_t NotifyOptionFlags);
  // GUI thread (the mutex's holder): ends the current wait.
  void WakeUp();
  // Starts watching now, before the thread runs, so no change made after the notifier
  // was set up can slip by.
  void OpenWatch();
  const TThreadMethod& ChangeEvent() const { return FChangeEvent; }
  void SetChangeEvent(TThreadMethod Value) { FChangeEvent = std::move(Value); }

 protected:
  void Execute() override;

 private:
  // Under ChangeThreadLock: a notification with the current options.
  void OpenNotificationLocked();
  void RunChangeEvent();

  HANDLE FMutex = nullptr;
  HANDLE FWaitHandle = INVALID_HANDLE_VALUE;
  TThreadMethod FChangeEvent;
  String FDirectory;
  bool FWatchSubTree = false;
  bool FWaitChanged = false;
  uint32_t FNotifyOptionFlags = 0;
  bool FWokenUp = false;
};

class TspCustomShellChangeNotifier : public TComponent {
  VANTREL_CLASS(TspCustomShellChangeNotifier)
  explicit TspCustomShellChangeNotifier(TComponent* AOwner);
  ~TspCustomShellChangeNotifier() override;

  TNotifyFilters NotifyFilters() const { return FFilters; }
  void SetNotifyFilters(TNotifyFilters Value);
  const TRoot& Root() const { return FRoot; }
  void SetRoot(const TRoot& Value);
  bool WatchSubTree() const { return FWatchSubTree; }
  void SetWatchSubTree(bool Value);
  const TThreadMethod& OnChange() const { return FOnChange; }
  void SetOnChange(TThreadMethod Value);

 private:
  void StartWatch();
  void ApplyOptions();
  void StopWatch();

  TNotifyFilters FFilters{nfFileNameChange, nfDirNameChange};
  bool FWatchSubTree = true;
  TRoot FRoot = "/";
  TspShellChangeThread* FThread = nullptr;  // owned; joined when the watch stops
  TThreadMethod FOnChange;
};

class TspShellChangeNotifier : public TspCustomShellChangeNotifier {
  VANTREL_CLASS(TspShellChangeNotifier)
  using TspCustomShellChangeNotifier::TspCustomShellChangeNotifier;
};
