// The object model of the shell namespace: result codes, interface ids, the counted base
// interface with a counted pointer that owns one reference, the task allocator the shell
// hands its item id lists out of, and the process start-up calls of the object layer.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <utility>

#include "platform/win/SysMetrics.h"
#include "platform/win/WinTypes.h"

// HRESULT and S_OK come with SysMetrics.h.
constexpr HRESULT S_FALSE = 1;
constexpr HRESULT E_NOTIMPL = static_cast<HRESULT>(0x80004001);
constexpr HRESULT E_NOINTERFACE = static_cast<HRESULT>(0x80004002);
constexpr HRESULT E_POINTER = static_cast<HRESULT>(0x80004003);
constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005);
constexpr HRESULT E_OUTOFMEMORY = static_cast<HRESULT>(0x8007000E);
constexpr HRESULT E_INVALIDARG = static_cast<HRESULT>(0x80070057);

constexpr bool SUCCEEDED(HRESULT R) { return R >= 0; }
constexpr bool FAILED(HRESULT R) { return R < 0; }
// A system error code as a failure result (0 stays S_OK).
constexpr HRESULT HRESULT_FROM_WIN32(uint32_t Code) {
  return static_cast<HRESULT>(Code) <= 0 ? static_cast<HRESULT>(Code)
                                          : static_cast<HRESULT>((Code & 0xFFFF) | 0x80070000u);
}
constexpr int HRESULT_CODE(HRESULT R) { return static_cast<int>(static_cast<uint32_t>(R) & 0xFFFF); }
// A success result carrying a 16-bit value (comparison results).
constexpr HRESULT MAKE_COMPARE_RESULT(int Value) {
  return static_cast<HRESULT>(static_cast<uint16_t>(static_cast<int16_t>(Value)));
}

struct GUID {
  uint32_t Data1;
  uint16_t Data2;
  uint16_t Data3;
  uint8_t Data4[8];
};
using IID = GUID;
using CLSID = GUID;
using REFIID = const IID&;
inline bool operator==(const GUID& A, const GUID& B) { return std::memcmp(&A, &B, sizeof A) == 0; }
inline bool IsEqualIID(REFIID A, REFIID B) { return A == B; }

// Our interface ids.
extern const IID IID_IUnknown;
extern const IID IID_IMalloc;
extern const IID IID_IShellFolder;
extern const IID IID_IShellFolder2;
extern const IID IID_IShellDetails;
extern const IID IID_IEnumIDList;
extern const IID IID_IContextMenu;
extern const IID IID_IContextMenu2;

class IUnknown {
 public:
  // S_OK with *Object holding a new reference, or E_NOINTERFACE with *Object null.
  virtual HRESULT QueryInterface(REFIID Iid, void** Object) = 0;
  virtual ULONG AddRef() = 0;
  // Frees the object with its last reference.
  virtual ULONG Release() = 0;

 protected:
  virtual ~IUnknown() = default;
};

class IMalloc : public IUnknown {
 public:
  virtual void* Alloc(size_t Size) = 0;
  virtual void* Realloc(void* Block, size_t Size) = 0;
  virtual void Free(void* Block) = 0;
  virtual size_t GetSize(void* Block) = 0;
};

// The task allocator: blocks that pass between the shell and its callers.
void* CoTaskMemAlloc(size_t Size);
void* CoTaskMemRealloc(void* Block, size_t Size);
void CoTaskMemFree(void* Block);
// The process's allocator object (never fails here; a new reference each call).
HRESULT SHGetMalloc(IMalloc** Malloc);

// The object layer needs no start-up here; both are accepted and counted.
HRESULT OleInitialize(void* Reserved);
void OleUninitialize();

constexpr UINT SEM_FAILCRITICALERRORS = 0x0001;
constexpr UINT SEM_NOGPFAULTERRORBOX = 0x0002;
constexpr UINT SEM_NOOPENFILEERRORBOX = 0x8000;
// Kept and returned (the previous mode); nothing on this system shows error boxes by itself.
UINT SetErrorMode(UINT Mode);

namespace vantrel::win {

// A pointer owning one reference of an interface.
template <class T>
class ComPtr {
 public:
  ComPtr() = default;
  ComPtr(std::nullptr_t) {}
  // Takes over a reference the caller owns.
  static ComPtr Attach(T* P) {
    ComPtr R;
    R.FPtr = P;
    return R;
  }
  // Adds a reference of its own.
  explicit ComPtr(T* P) : FPtr(P) {
    if (FPtr) FPtr->AddRef();
  }
  ComPtr(const ComPtr& O) : ComPtr(O.FPtr) {}
  ComPtr(ComPtr&& O) noexcept : FPtr(std::exchange(O.FPtr, nullptr)) {}
  ComPtr& operator=(ComPtr O) noexcept {
    std::swap(FPtr, O.FPtr);
    return *this;
  }
  ~ComPtr() { Reset(); }

  void Reset() {
    if (T* P = std::exchange(FPtr, nullptr)) P->Release();
  }
  T* Get() const { return FPtr; }
  T* operator->() const { return FPtr; }
  explicit operator bool() const { return FPtr != nullptr; }
  // For out arguments: releases what it holds and lends its slot.
  T** Put() {
    Reset();
    return &FPtr;
  }
  void** PutVoid() { return reinterpret_cast<void**>(Put()); }
  // Hands the reference to the caller.
  T* Detach() { return std::exchange(FPtr, nullptr); }

 private:
  T* FPtr = nullptr;
};

// Reference counting for an implementation of one or more interfaces; the object is
// deleted with its last reference. Created with a count of 1 (see MakeCounted).
template <class Base>
class Counted : public Base {
 public:
  ULONG AddRef() override { return ++FCount; }
  ULONG Release() override {
    const ULONG N = --FCount;
    if (N == 0) delete this;
    return N;
  }

 private:
  std::atomic<ULONG> FCount{1};
};

// A new object owned by the returned pointer.
template <class T, class... Args>
ComPtr<T> MakeCounted(Args&&... A) {
  return ComPtr<T>::Attach(new T(std::forward<Args>(A)...));
}

// Answers QueryInterface from a pointer the implementation found for Iid (or none).
inline HRESULT AnswerInterface(IUnknown* Found, void** Object) {
  if (!Object) return E_POINTER;
  *Object = Found;
  if (!Found) return E_NOINTERFACE;
  Found->AddRef();
  return S_OK;
}

}  // namespace vantrel::win
