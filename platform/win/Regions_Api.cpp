// Region objects (HRGN): creation, combination, RGNDATA in and out, queries.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/win/GdiInternal.h"
#include "platform/win/Shapes.h"

using namespace vantrel::win;

namespace {

HRGN NewRegion(Region R) { return RegisterAs<RegionObject, HRGN>(std::make_shared<RegionObject>(std::move(R))); }

RECT Ordered(int L, int T, int R, int B) {
  if (L > R) std::swap(L, R);
  if (T > B) std::swap(T, B);
  return {L, T, R, B};
}

}  // namespace

HRGN CreateRectRgn(int Left, int Top, int Right, int Bottom) {
  return NewRegion(Region(Ordered(Left, Top, Right, Bottom)));
}

HRGN CreateRectRgnIndirect(const RECT* R) {
  return R ? CreateRectRgn(R->Left, R->Top, R->Right, R->Bottom) : nullptr;
}

HRGN CreateEllipticRgn(int Left, int Top, int Right, int Bottom) {
  return NewRegion(EllipsePixels(Ordered(Left, Top, Right, Bottom)));
}

HRGN CreateEllipticRgnIndirect(const RECT* R) {
  return R ? CreateEllipticRgn(R->Left, R->Top, R->Right, R->Bottom) : nullptr;
}

HRGN CreateRoundRectRgn(int Left, int Top, int Right, int Bottom, int Width, int Height) {
  return NewRegion(RoundRectPixels(Ordered(Left, Top, Right, Bottom), Width, Height));
}

HRGN CreatePolygonRgn(const POINT* Points, int Count, int FillMode) {
  if (!Points || Count < 3 || (FillMode != ALTERNATE && FillMode != WINDING)) return nullptr;
  return NewRegion(PolygonPixels(Points, &Count, 1, FillMode));
}

HRGN ExtCreateRegion(const XFORM* Transform, DWORD Count, const RGNDATA* Data) {
  if (!Data || Count < sizeof(RGNDATAHEADER)) return nullptr;
  const RGNDATAHEADER& H = Data->rdh;
  if (H.dwSize != sizeof(RGNDATAHEADER) || H.iType != RDH_RECTANGLES) return nullptr;
  if (H.nCount > (Count - sizeof(RGNDATAHEADER)) / sizeof(RECT)) return nullptr;
  std::vector<RECT> Rects(H.nCount);
  if (H.nCount) std::memcpy(Rects.data(), Data->Buffer, H.nCount * sizeof(RECT));
  if (Transform) {
    // Scaling and translation only; a rotating or shearing transform is refused.
    if (Transform->eM12 != 0 || Transform->eM21 != 0 || Transform->eM11 <= 0 || Transform->eM22 <= 0) return nullptr;
    for (RECT& R : Rects) {
      auto Map = [](float M, float D, int V) { return static_cast<int>(std::lround(V * M + D)); };
      R = {Map(Transform->eM11, Transform->eDx, R.Left), Map(Transform->eM22, Transform->eDy, R.Top),
           Map(Transform->eM11, Transform->eDx, R.Right), Map(Transform->eM22, Transform->eDy, R.Bottom)};
    }
  }
  return NewRegion(Region(Rects.data(), Rects.size()));
}

DWORD GetRegionData(HRGN Rgn, DWORD Count, RGNDATA* Data) {
  auto R = RegionOf(Rgn);
  if (!R) return 0;
  std::vector<RECT> Rects = R->FRegion.Rects();
  const DWORD Need = static_cast<DWORD>(sizeof(RGNDATAHEADER) + Rects.size() * sizeof(RECT));
  if (!Data) return Need;
  if (Count < Need) return 0;
  RGNDATAHEADER H{};
  H.dwSize = sizeof(RGNDATAHEADER);
  H.iType = RDH_RECTANGLES;
  H.nCount = static_cast<DWORD>(Rects.size());
  H.nRgnSize = static_cast<DWORD>(Rects.size() * sizeof(RECT));
  H.rcBound = R->FRegion.Extents();
  std::memcpy(&Data->rdh, &H, sizeof H);
  if (!Rects.empty()) std::memcpy(Data->Buffer, Rects.data(), Rects.size() * sizeof(RECT));
  return Count;
}

int CombineRgn(HRGN Dest, HRGN Src1, HRGN Src2, int Mode) {
  auto D = RegionOf(Dest);
  auto A = RegionOf(Src1);
  if (!D || !A) return ERROR;
  Region Out(A->FRegion);
  if (Mode == RGN_COPY) {
    D->FRegion = std::move(Out);
    return D->FRegion.Complexity();
  }
  auto B = RegionOf(Src2);
  if (!B) return ERROR;
  switch (Mode) {
    case RGN_AND: Out.Intersect(B->FRegion); break;
    case RGN_OR: Out.Union(B->FRegion); break;
    case RGN_XOR: Out.Xor(B->FRegion); break;
    case RGN_DIFF: Out.Subtract(B->FRegion); break;
    default: return ERROR;
  }
  D->FRegion = std::move(Out);
  return D->FRegion.Complexity();
}

BOOL SetRectRgn(HRGN Rgn, int Left, int Top, int Right, int Bottom) {
  auto R = RegionOf(Rgn);
  if (!R) return FALSE;
  R->FRegion.Reset(Ordered(Left, Top, Right, Bottom));
  return TRUE;
}

int OffsetRgn(HRGN Rgn, int DX, int DY) {
  auto R = RegionOf(Rgn);
  if (!R) return ERROR;
  R->FRegion.Translate(DX, DY);
  return R->FRegion.Complexity();
}

int GetRgnBox(HRGN Rgn, LPRECT Out) {
  auto R = RegionOf(Rgn);
  if (!R || !Out) return ERROR;
  *Out = R->FRegion.Extents();
  return R->FRegion.Complexity();
}

BOOL PtInRegion(HRGN Rgn, int X, int Y) {
  auto R = RegionOf(Rgn);
  return R && R->FRegion.Contains(X, Y) ? TRUE : FALSE;
}

BOOL RectInRegion(HRGN Rgn, const RECT* Rc) {
  auto R = RegionOf(Rgn);
  if (!R || !Rc) return FALSE;
  return R->FRegion.Overlaps(Ordered(Rc->Left, Rc->Top, Rc->Right, Rc->Bottom)) ? TRUE : FALSE;
}

BOOL EqualRgn(HRGN A, HRGN B) {
  auto RA = RegionOf(A), RB = RegionOf(B);
  if (!RA || !RB) return ERROR;
  return RA->FRegion == RB->FRegion ? TRUE : FALSE;
}
