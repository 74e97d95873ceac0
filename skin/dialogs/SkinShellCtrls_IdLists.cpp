// Item id list helpers of the shell views: raw records in blocks of the task allocator.
#include <cstring>

#include "platform/rtl/Format.h"
#include "platform/win/ShellSpecialFolders.h"
#include "skin/dialogs/SkinShellCtrls.h"

using vantrel::win::ComPtr;
using vantrel::win::ItemIdList;

namespace {

uint16_t IdRecordBytes(LPCITEMIDLIST List) {
  uint16_t N;
  std::memcpy(&N, List, sizeof N);
  return N;
}

[[noreturn]] void RaiseShellResult(HRESULT R) {
  throw EOleSysError(Format("Shell call failed ($%x)", {static_cast<uint32_t>(R)}), R);
}

}  // namespace

LPITEMIDLIST AllocatePIDL(UINT Size) {
  ComPtr<IMalloc> Malloc;
  const HRESULT R = SHGetMalloc(Malloc.Put());
  if (FAILED(R)) RaiseShellResult(R);
  void* Block = Malloc->Alloc(Size);
  if (!Block) throw EOutOfMemory("Out of memory");
  std::memset(Block, 0, Size);
  return static_cast<LPITEMIDLIST>(Block);
}

void FreeIDList(LPITEMIDLIST List) {
  if (!List) return;
  ComPtr<IMalloc> Malloc;
  if (SUCCEEDED(SHGetMalloc(Malloc.Put()))) Malloc->Free(List);
}

LPITEMIDLIST NextItemID(LPCITEMIDLIST List) {
  auto* Bytes = reinterpret_cast<const uint8_t*>(List);
  return reinterpret_cast<LPITEMIDLIST>(const_cast<uint8_t*>(Bytes + IdRecordBytes(List)));
}

Integer ItemIDCount(LPCITEMIDLIST List) {
  Integer N = 0;
  if (!List) return 0;
  while (IdRecordBytes(List) != 0) {
    ++N;
    List = NextItemID(List);
  }
  return N;
}

UINT ItemIDListSize(LPCITEMIDLIST List) {
  if (!List) return 0;
  UINT Size = 2;
  while (IdRecordBytes(List) != 0) {
    Size += IdRecordBytes(List);
    List = NextItemID(List);
  }
  return Size;
}

LPITEMIDLIST CloneIDList(LPCITEMIDLIST List) {
  const UINT Size = List ? ItemIDListSize(List) : 2;
  LPITEMIDLIST Copy = AllocatePIDL(Size);
  if (List) std::memcpy(Copy, List, Size);
  return Copy;
}

LPITEMIDLIST JoinIDLists(LPCITEMIDLIST First, LPCITEMIDLIST Second) {
  const UINT Head = First ? ItemIDListSize(First) - 2 : 0;
  const UINT Tail = Second ? ItemIDListSize(Second) : 2;
  LPITEMIDLIST Joined = AllocatePIDL(Head + Tail);
  auto* Bytes = reinterpret_cast<uint8_t*>(Joined);
  if (Head) std::memcpy(Bytes, First, Head);
  if (Second) std::memcpy(Bytes + Head, Second, Tail);
  return Joined;
}

void TrimLastItemID(LPITEMIDLIST List) {
  if (!List || IdRecordBytes(List) == 0) return;
  LPITEMIDLIST Last = List;
  for (LPITEMIDLIST Next = NextItemID(List); IdRecordBytes(Next) != 0; Next = NextItemID(Next)) Last = Next;
  std::memset(Last, 0, 2);
}

LPITEMIDLIST LastItemIDCopy(LPCITEMIDLIST List) {
  if (!List || IdRecordBytes(List) == 0) return CloneIDList(nullptr);
  LPCITEMIDLIST Last = List;
  for (LPCITEMIDLIST Next = NextItemID(List); IdRecordBytes(Next) != 0; Next = NextItemID(Next)) Last = Next;
  const uint16_t N = IdRecordBytes(Last);
  LPITEMIDLIST Copy = AllocatePIDL(N + 2u);
  std::memcpy(Copy, Last, N);
  return Copy;
}

std::vector<ItemIdList> AncestorIDLists(LPCITEMIDLIST List) {
  std::vector<ItemIdList> Result;
  const Integer Count = ItemIDCount(List);
  for (Integer Keep = 0; Keep < Count; ++Keep) {
    ItemIdList Copy(CloneIDList(List));
    LPITEMIDLIST Cut = Copy.Get();
    for (Integer i = 0; i < Keep; ++i) Cut = NextItemID(Cut);
    std::memset(Cut, 0, 2);
    Result.push_back(std::move(Copy));
  }
  return Result;
}

bool SameShellItem(LPCITEMIDLIST A, LPCITEMIDLIST B) {
  ComPtr<IShellFolder> Desktop = DesktopIShellFolder();
  const HRESULT R = Desktop->CompareIDs(0, A, B);
  return SUCCEEDED(R) && static_cast<int16_t>(R & 0xFFFF) == 0;
}

LPITEMIDLIST GetDesktopIDList() {
  LPITEMIDLIST List = nullptr;
  const HRESULT R = SHGetSpecialFolderLocation(nullptr, CSIDL_DESKTOP, &List);
  if (FAILED(R)) RaiseShellResult(R);
  return List;
}

ComPtr<IShellFolder> DesktopIShellFolder() {
  ComPtr<IShellFolder> Desktop;
  const HRESULT R = SHGetDesktopFolder(Desktop.Put());
  if (FAILED(R)) RaiseShellResult(R);
  return Desktop;
}
