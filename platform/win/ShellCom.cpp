#include "platform/win/ShellCom.h"

#include <cstdlib>

const IID IID_IUnknown = {0x7a1e0000, 0x51c3, 0x4d2e, {0x9b, 0x10, 0x5e, 0x61, 0x0c, 0x00, 0x00, 0x01}};
const IID IID_IMalloc = {0x7a1e0000, 0x51c3, 0x4d2e, {0x9b, 0x10, 0x5e, 0x61, 0x0c, 0x00, 0x00, 0x02}};
const IID IID_IShellFolder = {0x7a1e0000, 0x51c3, 0x4d2e, {0x9b, 0x10, 0x5e, 0x61, 0x0c, 0x00, 0x00, 0x03}};
const IID IID_IShellFolder2 = {0x7a1e0000, 0x51c3, 0x4d2e, {0x9b, 0x10, 0x5e, 0x61, 0x0c, 0x00, 0x00, 0x04}};
const IID IID_IShellDetails = {0x7a1e0000, 0x51c3, 0x4d2e, {0x9b, 0x10, 0x5e, 0x61, 0x0c, 0x00, 0x00, 0x05}};
const IID IID_IEnumIDList = {0x7a1e0000, 0x51c3, 0x4d2e, {0x9b, 0x10, 0x5e, 0x61, 0x0c, 0x00, 0x00, 0x06}};
const IID IID_IContextMenu = {0x7a1e0000, 0x51c3, 0x4d2e, {0x9b, 0x10, 0x5e, 0x61, 0x0c, 0x00, 0x00, 0x07}};
const IID IID_IContextMenu2 = {0x7a1e0000, 0x51c3, 0x4d2e, {0x9b, 0x10, 0x5e, 0x61, 0x0c, 0x00, 0x00, 0x08}};

namespace {

// Blocks carry their size in front so that GetSize can answer.
struct alignas(std::max_align_t) ShellComBlockHead {
  size_t Size;
};

ShellComBlockHead* ShellComHeadOf(void* Block) { return static_cast<ShellComBlockHead*>(Block) - 1; }

class TaskAllocator final : public IMalloc {
 public:
  HRESULT QueryInterface(REFIID Iid, void** Object) override {
    return vantrel::win::AnswerInterface(Iid == IID_IUnknown || Iid == IID_IMalloc ? this : nullptr, Object);
  }
  // One allocator for the process's life.
  ULONG AddRef() override { return 2; }
  ULONG Release() override { return 1; }
  void* Alloc(size_t Size) override { return CoTaskMemAlloc(Size); }
  void* Realloc(void* Block, size_t Size) override { return CoTaskMemRealloc(Block, Size); }
  void Free(void* Block) override { CoTaskMemFree(Block); }
  size_t GetSize(void* Block) override { return Block ? ShellComHeadOf(Block)->Size : 0; }
};

std::atomic<UINT> GErrorMode{0};

}  // namespace

void* CoTaskMemAlloc(size_t Size) {
  auto* H = static_cast<ShellComBlockHead*>(std::calloc(1, sizeof(ShellComBlockHead) + Size));
  if (!H) return nullptr;
  H->Size = Size;
  return H + 1;
}

void* CoTaskMemRealloc(void* Block, size_t Size) {
  if (!Block) return CoTaskMemAlloc(Size);
  auto* H = static_cast<ShellComBlockHead*>(std::realloc(ShellComHeadOf(Block), sizeof(ShellComBlockHead) + Size));
  if (!H) return nullptr;
  H->Size = Size;
  return H + 1;
}

void CoTaskMemFree(void* Block) {
  if (Block) std::free(ShellComHeadOf(Block));
}

HRESULT SHGetMalloc(IMalloc** Malloc) {
  static TaskAllocator Allocator;
  if (!Malloc) return E_INVALIDARG;
  *Malloc = &Allocator;
  return S_OK;
}

HRESULT OleInitialize(void*) { return S_OK; }
void OleUninitialize() {}

UINT SetErrorMode(UINT Mode) { return GErrorMode.exchange(Mode); }
