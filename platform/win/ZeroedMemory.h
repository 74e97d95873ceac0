// Zero-filled memory for pixels. A large block is fresh pages from the system: they read
// as zeros and cost nothing until written, so a surface made and dropped again while a
// form is laid out, or a bitmap its loader fills at once, is never cleared by hand.
// Small blocks come from calloc.
#pragma once

#include <cstddef>
#include <memory>

namespace vantrel::win {

struct ZeroedRelease {
  size_t MappedBytes = 0;  // 0: the block came from calloc
  void operator()(void* Block) const;
};

template <class T>
using ZeroedArray = std::unique_ptr<T[], ZeroedRelease>;

// Both throw std::bad_alloc when the system has no memory for the block. The first
// always maps pages; the second maps them for a large block only.
std::unique_ptr<unsigned char[], ZeroedRelease> MapZeroedBytes(size_t Bytes);
std::unique_ptr<unsigned char[], ZeroedRelease> AllocateZeroedBytes(size_t Bytes);
// A block whose every byte its owner writes at once (a decoded picture, a converted copy):
// from malloc, not cleared and not mapped, so that neither clearing nor first-touch page
// faults are paid for bytes overwritten right after. Same release as the zeroed blocks.
std::unique_ptr<unsigned char[], ZeroedRelease> AllocateBytesForOverwrite(size_t Bytes);

template <class T>
ZeroedArray<T> AllocateZeroed(size_t Count) {
  auto Raw = AllocateZeroedBytes(Count * sizeof(T));
  const ZeroedRelease Release = Raw.get_deleter();
  return ZeroedArray<T>(reinterpret_cast<T*>(Raw.release()), Release);
}

template <class T>
ZeroedArray<T> AllocateForOverwrite(size_t Count) {
  auto Raw = AllocateBytesForOverwrite(Count * sizeof(T));
  const ZeroedRelease Release = Raw.get_deleter();
  return ZeroedArray<T>(reinterpret_cast<T*>(Raw.release()), Release);
}

}  // namespace vantrel::win
