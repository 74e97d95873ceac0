// Region values on pixman's 32-bit regions.
#include "platform/win/Regions.h"

#include <pixman.h>

namespace vantrel::win {

struct Region::Impl {
  pixman_region32_t R;
  Impl() { pixman_region32_init(&R); }
  Impl(const Impl& O) {
    pixman_region32_init(&R);
    pixman_region32_copy(&R, &O.R);
  }
  Impl& operator=(const Impl&) = delete;
  ~Impl() { pixman_region32_fini(&R); }
};

namespace {

bool Valid(const RECT& R) { return R.Right > R.Left && R.Bottom > R.Top; }

}  // namespace

Region::Region() : FImpl(std::make_unique<Impl>()) {}

Region::Region(const RECT& R) : Region() { Reset(R); }

Region::Region(const RECT* Rects, size_t Count) : Region() {
  std::vector<pixman_box32_t> Boxes;
  Boxes.reserve(Count);
  for (size_t i = 0; i < Count; ++i)
    if (Valid(Rects[i])) Boxes.push_back({Rects[i].Left, Rects[i].Top, Rects[i].Right, Rects[i].Bottom});
  if (Boxes.empty()) return;
  pixman_region32_t Tmp;
  pixman_region32_init_rects(&Tmp, Boxes.data(), static_cast<int>(Boxes.size()));
  // init_rects does not merge overlapping input: a union with nothing normalises it.
  pixman_region32_union(&FImpl->R, &FImpl->R, &Tmp);
  pixman_region32_fini(&Tmp);
}

Region::Region(const Region& Other) : FImpl(std::make_unique<Impl>(*Other.FImpl)) {}
// A moved-from region stays a valid empty region.
Region::Region(Region&& Other) noexcept : FImpl(std::make_unique<Impl>()) { std::swap(FImpl, Other.FImpl); }

Region& Region::operator=(const Region& Other) {
  if (this != &Other) {
    if (!FImpl) FImpl = std::make_unique<Impl>();
    pixman_region32_copy(&FImpl->R, &Other.FImpl->R);
  }
  return *this;
}

Region& Region::operator=(Region&& Other) noexcept {
  std::swap(FImpl, Other.FImpl);
  return *this;
}

Region::~Region() = default;

bool Region::Empty() const { return !pixman_region32_not_empty(&FImpl->R); }

RECT Region::Extents() const {
  if (Empty()) return {};
  const pixman_box32_t* B = pixman_region32_extents(&FImpl->R);
  return {B->x1, B->y1, B->x2, B->y2};
}

std::vector<RECT> Region::Rects() const {
  int N = 0;
  const pixman_box32_t* B = pixman_region32_rectangles(&FImpl->R, &N);
  std::vector<RECT> Out;
  Out.reserve(N);
  for (int i = 0; i < N; ++i) Out.push_back({B[i].x1, B[i].y1, B[i].x2, B[i].y2});
  return Out;
}

size_t Region::RectCount() const {
  return static_cast<size_t>(pixman_region32_n_rects(&FImpl->R));
}

int Region::Complexity() const {
  int N = pixman_region32_n_rects(&FImpl->R);
  return N == 0 ? 1 : N == 1 ? 2 : 3;  // NULLREGION, SIMPLEREGION, COMPLEXREGION
}

void Region::Clear() { pixman_region32_clear(&FImpl->R); }

void Region::Reset(const RECT& R) {
  if (!Valid(R)) {
    Clear();
    return;
  }
  pixman_box32_t B{R.Left, R.Top, R.Right, R.Bottom};
  pixman_region32_reset(&FImpl->R, &B);
}

void Region::Translate(int DX, int DY) { pixman_region32_translate(&FImpl->R, DX, DY); }

void Region::Intersect(const Region& O) { pixman_region32_intersect(&FImpl->R, &FImpl->R, &O.FImpl->R); }
void Region::Union(const Region& O) { pixman_region32_union(&FImpl->R, &FImpl->R, &O.FImpl->R); }
void Region::Subtract(const Region& O) { pixman_region32_subtract(&FImpl->R, &FImpl->R, &O.FImpl->R); }

void Region::Xor(const Region& O) {
  Region Both(*this);
  Both.Intersect(O);
  Union(O);
  Subtract(Both);
}

void Region::IntersectRect(const RECT& R) {
  if (!Valid(R)) {
    Clear();
    return;
  }
  pixman_region32_intersect_rect(&FImpl->R, &FImpl->R, R.Left, R.Top, static_cast<unsigned>(R.Right - R.Left),
                                 static_cast<unsigned>(R.Bottom - R.Top));
}

void Region::UnionRect(const RECT& R) {
  if (!Valid(R)) return;
  pixman_region32_union_rect(&FImpl->R, &FImpl->R, R.Left, R.Top, static_cast<unsigned>(R.Right - R.Left),
                             static_cast<unsigned>(R.Bottom - R.Top));
}

void Region::SubtractRect(const RECT& R) {
  if (!Valid(R)) return;
  Subtract(Region(R));
}

bool Region::Contains(int X, int Y) const {
  return pixman_region32_contains_point(&FImpl->R, X, Y, nullptr) != 0;
}

int Region::ContainsRect(const RECT& R) const {
  if (!Valid(R)) return 0;
  pixman_box32_t B{R.Left, R.Top, R.Right, R.Bottom};
  switch (pixman_region32_contains_rectangle(&FImpl->R, &B)) {
    case PIXMAN_REGION_IN: return 1;
    case PIXMAN_REGION_PART: return 2;
    default: return 0;
  }
}

bool operator==(const Region& A, const Region& B) {
  return pixman_region32_equal(&A.FImpl->R, &B.FImpl->R) != 0;
}

}  // namespace vantrel::win
