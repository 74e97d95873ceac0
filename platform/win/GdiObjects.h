// The handle table of GDI objects: every pen, brush, font, bitmap, region, DC and icon is
// a GdiObject registered under a handle that is never reused, so a stale or doubly
// deleted handle is detected and fails harmlessly. Lookups are typed by kind.
#pragma once

#include <memory>
#include <mutex>

#include "platform/win/Gdi.h"

namespace vantrel::win {

// Kinds beyond Windows' OBJ_* values for objects that live in the same table.
constexpr DWORD OBJ_ICON_KIND = 0x100;

class GdiObject : public std::enable_shared_from_this<GdiObject> {
 public:
  explicit GdiObject(DWORD Kind) : FKind(Kind) {}
  virtual ~GdiObject() = default;
  GdiObject(const GdiObject&) = delete;
  GdiObject& operator=(const GdiObject&) = delete;

  DWORD Kind() const { return FKind; }
  HGDIOBJ Handle() const { return FHandle; }
  bool Stock() const { return FStock; }

  // GetObject's data: with Out == nullptr the size the object's record needs; else
  // writes at most Size bytes and returns the bytes written (0 when Size is too small).
  virtual int GetObjectData(int Size, void* Out) const;

  // A region owned by a window (after SetWindowRgn) refuses DeleteObject, harmlessly.
  bool Owned() const { return FOwned; }
  void SetOwned(bool Value) { FOwned = Value; }

  // Number of DCs this object is selected into (a selected bitmap cannot be deleted).
  int Selections() const { return FSelections; }
  void AddSelection() { ++FSelections; }
  void RemoveSelection() { --FSelections; }

 private:
  friend HGDIOBJ RegisterGdiObject(std::shared_ptr<GdiObject>, bool);
  DWORD FKind;
  HGDIOBJ FHandle = nullptr;
  bool FStock = false;
  bool FOwned = false;
  int FSelections = 0;
};

// Puts Obj in the table and returns its new handle. Stock objects refuse deletion.
HGDIOBJ RegisterGdiObject(std::shared_ptr<GdiObject> Obj, bool Stock = false);
// Removes a handle from the table (the object lives on while others hold it).
bool UnregisterGdiObject(HGDIOBJ Handle);
// The object behind a handle, or null for a stale or unknown handle.
std::shared_ptr<GdiObject> FindGdiObject(HGDIOBJ Handle);

// Typed lookup: T declares `static bool IsKind(DWORD Kind)`.
template <class T>
std::shared_ptr<T> GdiCast(HGDIOBJ Handle) {
  auto Obj = FindGdiObject(Handle);
  if (!Obj || !T::IsKind(Obj->Kind())) return nullptr;
  return std::static_pointer_cast<T>(Obj);
}

template <class T, class H>
H RegisterAs(std::shared_ptr<T> Obj, bool Stock = false) {
  return static_cast<H>(RegisterGdiObject(std::move(Obj), Stock));
}

// Number of live handles (tests use it to check that nothing leaks).
size_t GdiObjectCount();

}  // namespace vantrel::win
