// Working buffers the engine hands to FFmpeg's SIMD routines (the spectrum's real DFT,
// the resampler, sample conversion): they need their start aligned as av_malloc aligns
// (up to 64 bytes, for AVX-512), which std::allocator does not promise. The allocator
// needs no loaded FFmpeg library, so the buffers may live in objects made before it loads.
#pragma once

#include <cstddef>
#include <new>
#include <vector>

namespace vantrel::media {

inline constexpr std::size_t FFBufferAlignment = 64;

template <class T>
struct TFFAlignedAllocator {
  using value_type = T;
  TFFAlignedAllocator() noexcept = default;
  template <class U>
  TFFAlignedAllocator(const TFFAlignedAllocator<U>&) noexcept {}
  T* allocate(std::size_t N) {
    return static_cast<T*>(::operator new(N * sizeof(T), std::align_val_t{FFBufferAlignment}));
  }
  void deallocate(T* P, std::size_t) noexcept { ::operator delete(P, std::align_val_t{FFBufferAlignment}); }
  template <class U>
  bool operator==(const TFFAlignedAllocator<U>&) const noexcept {
    return true;
  }
};

// A std::vector whose data() is aligned for FFmpeg's SIMD routines.
template <class T>
using TFFAlignedVector = std::vector<T, TFFAlignedAllocator<T>>;

}  // namespace vantrel::media
