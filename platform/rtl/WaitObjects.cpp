#include "platform/rtl/WaitObjects.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <map>
#include <vector>

#include "platform/rtl/Threads.h"
#include "platform/rtl/WaitObjectTable.h"

namespace vantrel::rtl {

namespace {

constexpr uint32_t kWaitErrorNotEnoughMemory = 8;
constexpr uint32_t kWaitErrorInvalidParameter = 87;
constexpr uint32_t kWaitErrorInvalidName = 123;
// Handle values of waitable objects start here and only grow; anything below is some
// other handle of the system.
constexpr uintptr_t kFirstWaitHandle = 0x57A10000;

struct WaitHandleTable {
  std::mutex Lock;
  uintptr_t Next = kFirstWaitHandle;
  std::map<uintptr_t, std::shared_ptr<WaitObject>> Open;
};

WaitHandleTable& WaitHandles() {
  static WaitHandleTable* Table = new WaitHandleTable;  // outlives every static user
  return *Table;
}

class WaitMutex final : public WaitObject {
 public:
  explicit WaitMutex(uint32_t Owner) {
    std::lock_guard G(Lock);
    if (Owner) {
      FOwner = Owner;
      FDepth = 1;
    } else {
      Raise();
    }
  }
  bool TryTake(uint32_t Thread) override {
    if (FOwner != 0 && FOwner != Thread) return false;
    if (FOwner == 0) Lower();
    FOwner = Thread;
    ++FDepth;
    return true;
  }
  bool Release(uint32_t Thread) {
    if (FOwner != Thread || FDepth == 0) return false;
    if (--FDepth == 0) {
      FOwner = 0;
      Raise();
    }
    return true;
  }

 private:
  uint32_t FOwner = 0;
  uint32_t FDepth = 0;
};

class WaitEvent final : public WaitObject {
 public:
  WaitEvent(bool ManualReset, bool Initial) : FManual(ManualReset) {
    std::lock_guard G(Lock);
    if (Initial) Set();
  }
  bool TryTake(uint32_t) override {
    if (!FSignalled) return false;
    if (!FManual) Reset();
    return true;
  }
  void Set() {
    FSignalled = true;
    Raise();
  }
  void Reset() {
    FSignalled = false;
    Lower();
  }

 private:
  const bool FManual;
  bool FSignalled = false;
};

bool UnnamedObject(const char* Name) {
  if (Name && *Name) {
    SetLastError(kWaitErrorInvalidName);
    return false;
  }
  return true;
}

}  // namespace

WaitObject::WaitObject() : FWakeFd(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

WaitObject::~WaitObject() {
  if (FWakeFd >= 0) close(FWakeFd);
}

void WaitObject::Raise() {
  if (FRaised || FWakeFd < 0) return;
  const uint64_t One = 1;
  if (write(FWakeFd, &One, sizeof One) == sizeof One) FRaised = true;
}

void WaitObject::Lower() {
  if (!FRaised || FClosed) return;  // a closed object stays readable for its waits
  uint64_t Count = 0;
  if (read(FWakeFd, &Count, sizeof Count) == sizeof Count) FRaised = false;
}

void WaitObject::MarkClosed() {
  FClosed = true;
  Raise();
}

HANDLE AddWaitObject(std::shared_ptr<WaitObject> Object) {
  if (!Object || !Object->Valid()) {
    SetLastError(kWaitErrorNotEnoughMemory);
    return nullptr;
  }
  WaitHandleTable& T = WaitHandles();
  std::lock_guard G(T.Lock);
  const uintptr_t Id = T.Next++;
  T.Open.emplace(Id, std::move(Object));
  return reinterpret_cast<HANDLE>(Id);
}

std::shared_ptr<WaitObject> FindWaitObject(HANDLE Handle) {
  WaitHandleTable& T = WaitHandles();
  std::lock_guard G(T.Lock);
  const auto It = T.Open.find(reinterpret_cast<uintptr_t>(Handle));
  return It == T.Open.end() ? nullptr : It->second;
}

}  // namespace vantrel::rtl

using vantrel::rtl::FindWaitObjectOf;
using vantrel::rtl::WaitObject;

HANDLE CreateMutex(void*, int32_t InitialOwner, const char* Name) {
  if (!vantrel::rtl::UnnamedObject(Name)) return nullptr;
  return vantrel::rtl::AddWaitObject(
      std::make_shared<vantrel::rtl::WaitMutex>(InitialOwner ? GetCurrentThreadId() : 0));
}

int32_t ReleaseMutex(HANDLE Mutex) {
  const auto M = FindWaitObjectOf<vantrel::rtl::WaitMutex>(Mutex);
  if (!M) {
    SetLastError(ERROR_INVALID_HANDLE);
    return 0;
  }
  std::lock_guard G(M->Lock);
  if (!M->Release(GetCurrentThreadId())) {
    SetLastError(ERROR_NOT_OWNER);
    return 0;
  }
  return 1;
}

HANDLE CreateEvent(void*, int32_t ManualReset, int32_t InitialState, const char* Name) {
  if (!vantrel::rtl::UnnamedObject(Name)) return nullptr;
  return vantrel::rtl::AddWaitObject(std::make_shared<vantrel::rtl::WaitEvent>(ManualReset != 0, InitialState != 0));
}

int32_t SetEvent(HANDLE Event) {
  const auto E = FindWaitObjectOf<vantrel::rtl::WaitEvent>(Event);
  if (!E) {
    SetLastError(ERROR_INVALID_HANDLE);
    return 0;
  }
  std::lock_guard G(E->Lock);
  E->Set();
  return 1;
}

int32_t ResetEvent(HANDLE Event) {
  const auto E = FindWaitObjectOf<vantrel::rtl::WaitEvent>(Event);
  if (!E) {
    SetLastError(ERROR_INVALID_HANDLE);
    return 0;
  }
  std::lock_guard G(E->Lock);
  E->Reset();
  return 1;
}

int32_t CloseHandle(HANDLE Object) {
  const uintptr_t Id = reinterpret_cast<uintptr_t>(Object);
  if (!Object || Object == INVALID_HANDLE_VALUE) {
    SetLastError(ERROR_INVALID_HANDLE);
    return 0;
  }
  vantrel::rtl::WaitHandleTable& T = vantrel::rtl::WaitHandles();
  std::shared_ptr<WaitObject> Found;
  {
    std::lock_guard G(T.Lock);
    if (Id < vantrel::rtl::kFirstWaitHandle || Id >= T.Next) return 1;  // owns nothing of ours
    const auto It = T.Open.find(Id);
    if (It == T.Open.end()) {
      SetLastError(ERROR_INVALID_HANDLE);
      return 0;
    }
    Found = std::move(It->second);
    T.Open.erase(It);
  }
  std::lock_guard G(Found->Lock);
  Found->MarkClosed();
  return 1;  // the descriptors go with the last wait that holds the object
}

uint32_t WaitForMultipleObjects(uint32_t Count, const HANDLE* Handles, int32_t WaitAll, uint32_t Milliseconds) {
  if (Count == 0 || Count > MAXIMUM_WAIT_OBJECTS || !Handles || WaitAll) {
    SetLastError(vantrel::rtl::kWaitErrorInvalidParameter);
    return WAIT_FAILED;
  }
  std::vector<std::shared_ptr<WaitObject>> Objects;
  for (uint32_t I = 0; I < Count; ++I) {
    Objects.push_back(vantrel::rtl::FindWaitObject(Handles[I]));
    if (!Objects.back()) {
      SetLastError(ERROR_INVALID_HANDLE);
      return WAIT_FAILED;
    }
  }
  using Clock = std::chrono::steady_clock;
  const auto Deadline = Clock::now() + std::chrono::milliseconds(Milliseconds);
  const uint32_t Me = GetCurrentThreadId();
  std::vector<pollfd> Fds;
  for (;;) {
    for (uint32_t I = 0; I < Count; ++I) {
      WaitObject& O = *Objects[I];
      std::lock_guard G(O.Lock);
      if (O.FailsWaits()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return WAIT_FAILED;
      }
      if (O.TryTake(Me)) return WAIT_OBJECT_0 + I;
    }
    int Timeout = -1;
    if (Milliseconds != INFINITE) {
      const auto Left = std::chrono::duration_cast<std::chrono::milliseconds>(Deadline - Clock::now()).count();
      if (Left <= 0) return WAIT_TIMEOUT;
      Timeout = static_cast<int>(Left);
    }
    Fds.clear();
    for (const auto& O : Objects) {
      Fds.push_back({O->WakeFd(), POLLIN, 0});
      if (O->ExtraFd() >= 0) Fds.push_back({O->ExtraFd(), POLLIN, 0});
    }
    if (poll(Fds.data(), Fds.size(), Timeout) < 0 && errno != EINTR) {
      SetLastError(vantrel::rtl::kWaitErrorInvalidParameter);
      return WAIT_FAILED;
    }
  }
}

uint32_t WaitForSingleObject(HANDLE Object, uint32_t Milliseconds) {
  return WaitForMultipleObjects(1, &Object, 0, Milliseconds);
}
