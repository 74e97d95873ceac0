// The objects behind the waitable handles (WaitObjects.h) and their table. Each object
// keeps an event descriptor that is readable while a wait could take the object (or
// must fail on it); a wait checks the objects under their locks, then polls the
// descriptors until one of them moves.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>

#include "platform/rtl/WaitObjects.h"

namespace vantrel::rtl {

class WaitObject {
 public:
  WaitObject();
  virtual ~WaitObject();
  WaitObject(const WaitObject&) = delete;
  WaitObject& operator=(const WaitObject&) = delete;

  // False when the event descriptor could not be made.
  bool Valid() const { return FWakeFd >= 0; }
  int WakeFd() const { return FWakeFd; }
  // A second descriptor a wait polls (-1: none).
  virtual int ExtraFd() const { return -1; }

  // Guards the object's state; held while a wait looks at it.
  std::mutex Lock;
  // Under Lock: the object is gone for waits (closed, or broken by itself).
  bool FailsWaits() const { return FClosed || Broken(); }
  // Under Lock: takes the object for the calling thread when it is signalled.
  virtual bool TryTake(uint32_t Thread) = 0;
  // Under Lock: closed by CloseHandle; wakes every wait on it.
  void MarkClosed();

 protected:
  virtual bool Broken() const { return false; }
  // Under Lock: makes the event descriptor readable, or not.
  void Raise();
  void Lower();

 private:
  int FWakeFd = -1;
  bool FRaised = false;
  bool FClosed = false;
};

// Enters an object into the table; null (last error ERROR_NOT_ENOUGH_MEMORY) when its
// descriptor could not be made.
HANDLE AddWaitObject(std::shared_ptr<WaitObject> Object);
// The open object of a handle, or null.
std::shared_ptr<WaitObject> FindWaitObject(HANDLE Handle);
template <class T>
std::shared_ptr<T> FindWaitObjectOf(HANDLE Handle) {
  return std::dynamic_pointer_cast<T>(FindWaitObject(Handle));
}

}  // namespace vantrel::rtl
