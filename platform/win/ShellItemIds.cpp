#include "platform/win/ShellItemIds.h"

#include <cstring>

namespace {

// cb, kind, attributes, mode, size, modified, created, then the name's bytes.
constexpr size_t kShellRecordHead = 2 + 1 + 4 + 4 + 8 + 8 + 8;

template <class T>
void ShellIdPut(uint8_t*& P, T V) {
  std::memcpy(P, &V, sizeof V);
  P += sizeof V;
}

template <class T>
T ShellIdGet(const uint8_t*& P) {
  T V;
  std::memcpy(&V, P, sizeof V);
  P += sizeof V;
  return V;
}

uint16_t ShellIdCount(const uint8_t* P) {
  uint16_t N;
  std::memcpy(&N, P, 2);
  return N;
}

}  // namespace

UINT ILGetSize(LPCITEMIDLIST List) {
  if (!List) return 0;
  const auto* P = reinterpret_cast<const uint8_t*>(List);
  size_t Size = 0;
  while (uint16_t N = ShellIdCount(P + Size)) Size += N;
  return static_cast<UINT>(Size + 2);
}

LPITEMIDLIST ILClone(LPCITEMIDLIST List) {
  if (!List) return nullptr;
  const UINT Size = ILGetSize(List);
  void* Copy = CoTaskMemAlloc(Size);
  if (Copy) std::memcpy(Copy, List, Size);
  return static_cast<LPITEMIDLIST>(Copy);
}

void ILFree(LPITEMIDLIST List) { CoTaskMemFree(List); }

namespace vantrel::win {

bool DecodeItemIdList(LPCITEMIDLIST List, std::vector<ShellItemRecord>& Records) {
  Records.clear();
  if (!List) return false;
  const auto* P = reinterpret_cast<const uint8_t*>(List);
  while (uint16_t N = ShellIdCount(P)) {
    if (N < kShellRecordHead) return false;
    const uint8_t* Q = P + 2;
    ShellItemRecord R;
    const uint8_t Kind = ShellIdGet<uint8_t>(Q);
    if (Kind < 1 || Kind > 5) return false;
    R.Kind = static_cast<ShellItemKind>(Kind);
    R.Attributes = ShellIdGet<uint32_t>(Q);
    R.Mode = ShellIdGet<uint32_t>(Q);
    R.Size = ShellIdGet<uint64_t>(Q);
    R.Modified = ShellIdGet<int64_t>(Q);
    R.Created = ShellIdGet<int64_t>(Q);
    R.Name.assign(reinterpret_cast<const char*>(Q), N - kShellRecordHead);
    Records.push_back(std::move(R));
    P += N;
  }
  return true;
}

LPITEMIDLIST EncodeItemIdList(const std::vector<ShellItemRecord>& Records) {
  size_t Size = 2;
  for (const ShellItemRecord& R : Records) {
    const size_t N = kShellRecordHead + R.Name.size();
    if (N > 0xFFFF) return nullptr;
    Size += N;
  }
  auto* Out = static_cast<uint8_t*>(CoTaskMemAlloc(Size));
  if (!Out) return nullptr;
  uint8_t* P = Out;
  for (const ShellItemRecord& R : Records) {
    ShellIdPut(P, static_cast<uint16_t>(kShellRecordHead + R.Name.size()));
    ShellIdPut(P, static_cast<uint8_t>(R.Kind));
    ShellIdPut(P, R.Attributes);
    ShellIdPut(P, R.Mode);
    ShellIdPut(P, R.Size);
    ShellIdPut(P, R.Modified);
    ShellIdPut(P, R.Created);
    std::memcpy(P, R.Name.data(), R.Name.size());
    P += R.Name.size();
  }
  ShellIdPut(P, static_cast<uint16_t>(0));
  return reinterpret_cast<LPITEMIDLIST>(Out);
}

}  // namespace vantrel::win
