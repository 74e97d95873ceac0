// Item id lists of the shell namespace: records of a 16-bit byte count (itself included), a
// kind byte and the item's data; a count of 0 ends the list. The Desktop is the empty list;
// its children are Home and Computer, Computer's children the volumes, and below Home and
// the volumes lie folders and files named by their file names. A file-system record keeps
// what was read of the item when it was enumerated or parsed, so the attributes and detail
// columns of one list never change under a view.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/win/ShellCom.h"

#pragma pack(push, 1)
struct SHITEMID {
  uint16_t cb;
  uint8_t abID[1];
};
struct ITEMIDLIST {
  SHITEMID mkid;
};
#pragma pack(pop)
using LPITEMIDLIST = ITEMIDLIST*;
using LPCITEMIDLIST = const ITEMIDLIST*;
using PIDLIST_ABSOLUTE = ITEMIDLIST*;
using PCIDLIST_ABSOLUTE = const ITEMIDLIST*;
using PITEMID_CHILD = ITEMIDLIST*;
using PCUITEMID_CHILD = const ITEMIDLIST*;

// Byte size including the terminator; 0 for none.
UINT ILGetSize(LPCITEMIDLIST List);
// A copy from the task allocator; none for none.
LPITEMIDLIST ILClone(LPCITEMIDLIST List);
// Frees a list from the task allocator.
void ILFree(LPITEMIDLIST List);

namespace vantrel::win {

enum class ShellItemKind : uint8_t { Home = 1, Computer = 2, Volume = 3, Folder = 4, File = 5 };

// One record, decoded. Name: "Home" and "Computer" for those, a volume's mount point, else
// the file name. The rest is what was read of a file-system item.
struct ShellItemRecord {
  ShellItemKind Kind = ShellItemKind::File;
  uint32_t Attributes = 0;  // SFGAO_* bits known when the record was made
  uint32_t Mode = 0;        // st_mode of the item (links followed)
  uint64_t Size = 0;
  int64_t Modified = 0;     // seconds since 1970
  int64_t Created = 0;      // birth time, else change time
  std::string Name;

  bool IsFolderKind() const { return Kind != ShellItemKind::File; }
};

// The records of List up to its terminator; false when a record is malformed.
bool DecodeItemIdList(LPCITEMIDLIST List, std::vector<ShellItemRecord>& Records);
// A new list from the task allocator; none when a record does not fit or memory runs out.
LPITEMIDLIST EncodeItemIdList(const std::vector<ShellItemRecord>& Records);

// A list that frees itself.
class ItemIdList {
 public:
  ItemIdList() = default;
  explicit ItemIdList(LPITEMIDLIST Owned) : FList(Owned) {}
  ItemIdList(const ItemIdList&) = delete;
  ItemIdList& operator=(const ItemIdList&) = delete;
  ItemIdList(ItemIdList&& O) noexcept : FList(O.Release()) {}
  ItemIdList& operator=(ItemIdList&& O) noexcept {
    if (this != &O) Reset(O.Release());
    return *this;
  }
  ~ItemIdList() { ILFree(FList); }
  LPITEMIDLIST Get() const { return FList; }
  LPITEMIDLIST Release() {
    LPITEMIDLIST L = FList;
    FList = nullptr;
    return L;
  }
  void Reset(LPITEMIDLIST L = nullptr) {
    ILFree(FList);
    FList = L;
  }
  LPITEMIDLIST* Put() {
    Reset();
    return &FList;
  }

 private:
  LPITEMIDLIST FList = nullptr;
};

}  // namespace vantrel::win
