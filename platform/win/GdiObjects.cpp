// The GDI handle table. Handles count up from a base and are never handed out twice;
// the table holds shared owners so an object selected into a DC outlives its handle.
#include "platform/win/GdiObjects.h"

#include <unordered_map>

namespace vantrel::win {
namespace {

struct HandleTable {
  std::mutex Lock;  // guards Objects and Next
  std::unordered_map<uintptr_t, std::shared_ptr<GdiObject>> Objects;
  uintptr_t Next = 0x10000;
};

HandleTable& Table() {
  static HandleTable* T = new HandleTable;  // never destroyed: stock objects live to exit
  return *T;
}

}  // namespace

int GdiObject::GetObjectData(int, void*) const { return 0; }

HGDIOBJ RegisterGdiObject(std::shared_ptr<GdiObject> Obj, bool Stock) {
  if (!Obj) return nullptr;
  auto& T = Table();
  std::lock_guard<std::mutex> G(T.Lock);
  T.Next += 4;
  auto Handle = reinterpret_cast<HGDIOBJ>(T.Next);
  Obj->FHandle = Handle;
  Obj->FStock = Stock;
  T.Objects.emplace(T.Next, std::move(Obj));
  return Handle;
}

bool UnregisterGdiObject(HGDIOBJ Handle) {
  std::shared_ptr<GdiObject> Dying;  // released outside the lock
  auto& T = Table();
  std::lock_guard<std::mutex> G(T.Lock);
  auto It = T.Objects.find(reinterpret_cast<uintptr_t>(Handle));
  if (It == T.Objects.end()) return false;
  Dying = std::move(It->second);
  T.Objects.erase(It);
  return true;
}

std::shared_ptr<GdiObject> FindGdiObject(HGDIOBJ Handle) {
  if (!Handle) return nullptr;
  auto& T = Table();
  std::lock_guard<std::mutex> G(T.Lock);
  auto It = T.Objects.find(reinterpret_cast<uintptr_t>(Handle));
  return It == T.Objects.end() ? nullptr : It->second;
}

size_t GdiObjectCount() {
  auto& T = Table();
  std::lock_guard<std::mutex> G(T.Lock);
  return T.Objects.size();
}

}  // namespace vantrel::win
