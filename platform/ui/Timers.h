// TTimer: a non-visual component that raises OnTimer every Interval milliseconds while
// Enabled. It runs on a thread timer of the GUI thread's queue, so OnTimer may change the
// interval, disable the timer or free it without harm.
#pragma once

#include "platform/rtl/Classes.h"
#include "platform/win/Messages.h"

class TTimer : public TComponent {
  VANTREL_CLASS(TTimer)
  explicit TTimer(TComponent* AOwner);
  ~TTimer() override;
  void BeforeDestruction() override;

  Boolean Enabled() const { return FEnabled; }
  void SetEnabled(Boolean Value);
  // Milliseconds; 0 stops the timer.
  Cardinal Interval() const { return FInterval; }
  void SetInterval(Cardinal Value);
  // Raised on the GUI thread; runs whenever Enabled and Interval > 0, handler or not.
  TNotifyEvent OnTimer;

 protected:
  virtual void Timer();

 private:
  friend struct TTimerAccess;
  void UpdateTimer();
  void StopTimer();

  Boolean FEnabled = true;
  Cardinal FInterval = 1000;
  UINT_PTR FTimerId = 0;  // the running thread timer, 0: none
};
