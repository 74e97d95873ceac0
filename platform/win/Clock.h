// The GUI thread's time: a real monotonic clock in the program, a virtual one in tests
// (starting at 1,000,000 ms, moved only on purpose). The message loop waits through the
// clock for a due time or the loop's wake-up, whichever comes first.
#pragma once

#include <atomic>
#include <cstdint>

namespace vantrel::win {

// One wake-up for the GUI thread's loop: posted messages, calls queued from other
// threads and display events all signal it. An eventfd, so a display can poll it
// together with its own descriptor.
class WakeUp {
 public:
  WakeUp();
  ~WakeUp();
  WakeUp(const WakeUp&) = delete;
  WakeUp& operator=(const WakeUp&) = delete;

  void Signal();
  // Consumes pending signals; true when there were any.
  bool Drain();
  // Waits up to TimeoutMs (negative: for ever) for a signal without consuming it; also
  // returns when ExtraFd (>= 0) becomes readable. True when something arrived.
  bool Wait(int TimeoutMs, int ExtraFd = -1);
  int Fd() const { return FFd; }

 private:
  int FFd;
};

constexpr uint64_t NoDeadline = UINT64_MAX;

class Clock {
 public:
  virtual ~Clock() = default;
  virtual bool IsVirtual() const = 0;
  // Milliseconds; monotonic.
  virtual uint64_t Now() const = 0;
  // Waits until Deadline (NoDeadline: until woken) or until Wake is signalled or
  // ExtraFd is readable. A virtual clock waits for the wake-up only a moment and then
  // moves its time to Deadline, so a blocked loop goes on to its next timer.
  virtual void WaitUntil(uint64_t Deadline, WakeUp& Wake, int ExtraFd = -1) = 0;
  // Moves time forward (virtual clocks only; a real clock ignores it).
  virtual void Advance(uint64_t Ms) = 0;
};

class RealClock final : public Clock {
 public:
  bool IsVirtual() const override { return false; }
  uint64_t Now() const override;
  void WaitUntil(uint64_t Deadline, WakeUp& Wake, int ExtraFd = -1) override;
  void Advance(uint64_t) override {}
};

class VirtualClock final : public Clock {
 public:
  static constexpr uint64_t StartTime = 1000000;
  bool IsVirtual() const override { return true; }
  uint64_t Now() const override { return FNow.load(); }
  void WaitUntil(uint64_t Deadline, WakeUp& Wake, int ExtraFd = -1) override;
  void Advance(uint64_t Ms) override { FNow.fetch_add(Ms); }
  // Moves time to T when T is later than now.
  void AdvanceTo(uint64_t T);

 private:
  std::atomic<uint64_t> FNow{StartTime};
};

// Real monotonic milliseconds, whatever clock the GUI thread has.
uint64_t RealMilliseconds();

}  // namespace vantrel::win
