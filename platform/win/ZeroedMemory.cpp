#include "platform/win/ZeroedMemory.h"

#include <sys/mman.h>

#include <cstdlib>
#include <new>

namespace vantrel::win {

namespace {

// Below this, calloc's own free lists serve better than a mapping of pages. A sanitized
// build keeps every block on its allocator, which guards the ends of each one.
#if defined(__SANITIZE_ADDRESS__)
constexpr size_t kMapFromBytes = static_cast<size_t>(-1);
#else
constexpr size_t kMapFromBytes = 64 * 1024;
#endif

}  // namespace

void ZeroedRelease::operator()(void* Block) const {
  if (!Block) return;
  if (MappedBytes)
    munmap(Block, MappedBytes);
  else
    std::free(Block);
}

std::unique_ptr<unsigned char[], ZeroedRelease> MapZeroedBytes(size_t Bytes) {
  void* Block = mmap(nullptr, Bytes ? Bytes : 1, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (Block == MAP_FAILED) throw std::bad_alloc();
  return {static_cast<unsigned char*>(Block), ZeroedRelease{Bytes ? Bytes : 1}};
}

std::unique_ptr<unsigned char[], ZeroedRelease> AllocateZeroedBytes(size_t Bytes) {
  if (Bytes >= kMapFromBytes) return MapZeroedBytes(Bytes);
  void* Block = std::calloc(Bytes ? Bytes : 1, 1);
  if (!Block) throw std::bad_alloc();
  return {static_cast<unsigned char*>(Block), ZeroedRelease{}};
}

std::unique_ptr<unsigned char[], ZeroedRelease> AllocateBytesForOverwrite(size_t Bytes) {
  void* Block = std::malloc(Bytes ? Bytes : 1);
  if (!Block) throw std::bad_alloc();
  return {static_cast<unsigned char*>(Block), ZeroedRelease{}};
}

}  // namespace vantrel::win
