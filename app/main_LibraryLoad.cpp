// The media libraries load on a worker thread while the main window shows itself. Adding,
// dropping and previewing wait for that load first; a failure is reported and logged on
// the GUI thread, when the load ends or when something first waits for it.
#include <atomic>

#include "app/main.h"
#include "media/FFEncode.h"
#include "media/FFLoad.h"
#include "platform/rtl/Threads.h"

namespace vantrel::app {

namespace {

// Loads a set of libraries and holds that use until it is given back (or the thread goes).
class TLibraryLoadThread : public TThread {
  VANTREL_CLASS(TLibraryLoadThread)
  explicit TLibraryLoadThread(media::TLibraries ALibraries) : TThread(true), FLibraries(ALibraries) {}
  ~TLibraryLoadThread() override { GiveBack(); }

  void GiveBack() {
    if (FLoaded.exchange(false)) media::FFLoader().Unload(FLibraries);
  }

 protected:
  void Execute() override { FLoaded = media::FFLoader().Load(FLibraries); }

 private:
  media::TLibraries FLibraries;
  std::atomic<bool> FLoaded{false};
};

}  // namespace

void TMainForm::StartMediaLibraryLoad() {
  if (Tarnwell->AVLibLoaded()) return;
  media::FFLoader().SetLibraryPath(ProgramFolder + "LibAV");
  FLibraryLoadPending = true;
  TOwned<TLibraryLoadThread> Thread(TLibraryLoadThread::Create(media::EncoderLibraries));
  Thread->OnTerminate = [this](TObject*) { FinishMediaLibraryLoad(); };
  Thread->Start();
  FLibraryLoad = std::move(Thread);
  // The other windows go before this one when the program ends, their players' decoders
  // with them, and those look at the libraries' entry points: each window's going is
  // announced here first (Notification).
  for (Integer I = 0; I < Screen->FormCount(); ++I)
    if (Screen->Forms(I) != this) Screen->Forms(I)->FreeNotification(this);
}

void TMainForm::WaitForMediaLibraries() {
  if (!FLibraryLoadPending) return;
  // Ending, the thread hands its last step to this thread, which runs it meanwhile.
  if (FLibraryLoad) FLibraryLoad->WaitFor();
  FinishMediaLibraryLoad();
}

void TMainForm::FinishMediaLibraryLoad() {
  if (!FLibraryLoadPending) return;
  FLibraryLoadPending = false;
  // The encoder takes its own use of what the thread loaded, or meets the failure itself
  // and keeps its text.
  const bool Loaded = Tarnwell->LoadAVLib(ProgramFolder + "LibAV");
  if (auto* Thread = dynamic_cast<TLibraryLoadThread*>(FLibraryLoad.get())) Thread->GiveBack();
  if (Loaded) return;
  TMainUnitState& State = MainUnit();
  ReportError(State, Tarnwell->LastErrMsg(), CLM_FFAVLibLoad);
  AddActionLogLine(State, Tarnwell->LastErrMsg());
}

void TMainForm::DropMediaLibraryLoad() {
  // Nothing is reported any more; the thread gives back what it loaded.
  FLibraryLoadPending = false;
  FLibraryLoad.reset();
}

void TMainForm::Notification(TComponent* AComponent, TOperation Operation) {
  TForm::Notification(AComponent, Operation);
  // The application takes its windows down: a load still running ends before the first.
  if (Operation == opRemove && FLibraryLoad && Application && Application->ComponentState().Contains(csDestroying))
    DropMediaLibraryLoad();
}

void TMainForm::BeforeDestruction() {
  // A load still running ends here at the latest, while the window's components exist.
  DropMediaLibraryLoad();
  TForm::BeforeDestruction();
}

}  // namespace vantrel::app
