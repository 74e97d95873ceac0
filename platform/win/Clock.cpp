// Real and virtual clocks and the eventfd wake-up of the GUI thread's loop.
#include "platform/win/Clock.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <system_error>

namespace vantrel::win {

WakeUp::WakeUp() : FFd(eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {
  if (FFd < 0) throw std::system_error(errno, std::generic_category(), "eventfd");
}

WakeUp::~WakeUp() { close(FFd); }

void WakeUp::Signal() {
  uint64_t One = 1;
  // A full counter already wakes the loop; nothing else can fail here.
  [[maybe_unused]] ssize_t N = write(FFd, &One, sizeof One);
}

bool WakeUp::Drain() {
  uint64_t Count = 0;
  return read(FFd, &Count, sizeof Count) == static_cast<ssize_t>(sizeof Count) && Count > 0;
}

bool WakeUp::Wait(int TimeoutMs, int ExtraFd) {
  pollfd Fds[2] = {{FFd, POLLIN, 0}, {ExtraFd, POLLIN, 0}};
  const nfds_t Count = ExtraFd >= 0 ? 2 : 1;
  for (;;) {
    int R = poll(Fds, Count, TimeoutMs);
    if (R >= 0) return R > 0;
    if (errno != EINTR) return false;
  }
}

uint64_t RealMilliseconds() {
  using namespace std::chrono;
  return static_cast<uint64_t>(
      duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

uint64_t RealClock::Now() const { return RealMilliseconds(); }

void RealClock::WaitUntil(uint64_t Deadline, WakeUp& Wake, int ExtraFd) {
  if (Deadline == NoDeadline) {
    Wake.Wait(-1, ExtraFd);
    return;
  }
  const uint64_t T = Now();
  if (Deadline <= T) return;
  const uint64_t Left = Deadline - T;
  Wake.Wait(Left > 60000 ? 60000 : static_cast<int>(Left), ExtraFd);
}

void VirtualClock::AdvanceTo(uint64_t T) {
  uint64_t Cur = FNow.load();
  while (T > Cur && !FNow.compare_exchange_weak(Cur, T)) {
  }
}

void VirtualClock::WaitUntil(uint64_t Deadline, WakeUp& Wake, int ExtraFd) {
  if (Deadline == NoDeadline) {
    Wake.Wait(-1, ExtraFd);
    return;
  }
  // Give other threads a moment to post before time jumps ahead.
  if (Wake.Wait(1, ExtraFd)) return;
  AdvanceTo(Deadline);
}

}  // namespace vantrel::win
