// A region value (a set of pixels as y-x banded rectangles) on pixman, kept behind a
// pointer so no pixman header leaks out of this unit. Region GDI objects (HRGN), clip
// regions and window regions all hold one.
#pragma once

#include <memory>
#include <vector>

#include "platform/win/WinTypes.h"

namespace vantrel::win {

class Region {
 public:
  Region();  // empty
  explicit Region(const RECT& R);
  Region(const RECT* Rects, size_t Count);  // the union of the rectangles
  Region(const Region& Other);
  Region(Region&& Other) noexcept;
  Region& operator=(const Region& Other);
  Region& operator=(Region&& Other) noexcept;
  ~Region();

  bool Empty() const;
  RECT Extents() const;  // all zero when empty
  // The rectangles, sorted by bands (top to bottom, then left to right).
  std::vector<RECT> Rects() const;
  size_t RectCount() const;
  // NULLREGION, SIMPLEREGION or COMPLEXREGION.
  int Complexity() const;

  void Clear();
  void Reset(const RECT& R);
  void Translate(int DX, int DY);
  void Intersect(const Region& Other);
  void Union(const Region& Other);
  void Subtract(const Region& Other);
  void Xor(const Region& Other);
  void IntersectRect(const RECT& R);
  void UnionRect(const RECT& R);
  void SubtractRect(const RECT& R);

  bool Contains(int X, int Y) const;
  // 0: R is outside, 1: inside, 2: partly in.
  int ContainsRect(const RECT& R) const;
  bool Overlaps(const RECT& R) const { return ContainsRect(R) != 0; }
  friend bool operator==(const Region& A, const Region& B);

 private:
  struct Impl;
  std::unique_ptr<Impl> FImpl;
};

}  // namespace vantrel::win
