// Window regions from mask pictures: a fast 24-bit copy of the mask, its black runs as
// region data, and the region of a mask fitted to another size through its border strips.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/ui/Graphics.h"
#include "skin/core/drawing/SPUtils.h"

static_assert(sizeof(RGNDATAHEADER) == 32, "region data header of 32 bytes");
static_assert(sizeof(RECT) == 16, "region rectangles of 16 bytes");

TFBitmap::TFBitmap(HBITMAP HBmp) {
  BITMAP bm{};
  if (!HBmp || GetObjectW(HBmp, sizeof bm, &bm) == 0) return;
  Width = bm.bmWidth;
  Height = bm.bmHeight < 0 ? -bm.bmHeight : bm.bmHeight;
  if (Width <= 0 || Height <= 0) {
    Width = Height = 0;
    return;
  }
  bmHeader.biSize = sizeof(BITMAPINFOHEADER);
  bmHeader.biWidth = Width;
  bmHeader.biHeight = -Height;  // top-down
  bmHeader.biPlanes = 1;
  bmHeader.biBitCount = 24;
  bmHeader.biCompression = BI_RGB;
  bmInfo.bmiHeader = bmHeader;

  void* bits = nullptr;
  Handle = CreateDIBSection(nullptr, &bmInfo, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!Handle || !bits) {
    Width = Height = 0;
    return;
  }
  Bits = static_cast<Byte*>(bits);
  HDC screen = CreateDC("DISPLAY", nullptr, nullptr, nullptr);
  GetDIBits(screen, HBmp, 0, static_cast<UINT>(Height), Bits, &bmInfo, DIB_RGB_COLORS);
  DeleteDC(screen);

  Gap = Width % 4;
  RowInc = Width * 3 + Gap;
  Size = RowInc * Height;
  Pixels.resize(static_cast<size_t>(Height));
  for (Integer y = 0; y < Height; ++y) Pixels[y] = Bits + static_cast<size_t>(y) * RowInc;
  hDC = CreateCompatibleDC(nullptr);
  FOldBitmap = SelectObject(hDC, Handle);
}

TFBitmap::~TFBitmap() {
  if (hDC) {
    SelectObject(hDC, FOldBitmap);
    DeleteDC(hDC);
  }
  if (Handle) DeleteObject(Handle);
}

Integer BuildMaskRegionData(TBitmap* Mask, Integer OffsetX, Integer OffsetY, TRegionData& Data) {
  if (!Mask || Mask->Empty()) return 0;
  // The runs go into a growing table: a mask may have any number of them.
  std::vector<RECT> rects;
  {
    TOwned<TFBitmap> fb = CreateOwned<TFBitmap>(Mask->Handle());
    for (Integer y = 0; y < fb->Height; ++y) {
      const Byte* row = fb->Pixels[y];
      auto black = [row](Integer x) { return row[3 * x] + row[3 * x + 1] + row[3 * x + 2] == 0; };
      Integer x = 0;
      while (x < fb->Width) {
        if (!black(x)) {
          ++x;
          continue;
        }
        const Integer x0 = x;
        while (x < fb->Width && black(x)) ++x;
        rects.push_back(Rect(OffsetX + x0, OffsetY + y, OffsetX + x, OffsetY + y + 1));
      }
    }
  }
  const size_t size = sizeof(RGNDATAHEADER) + rects.size() * sizeof(RECT);
  if (size > static_cast<size_t>(INT32_MAX)) throw EOutOfMemory("Out of memory");
  // Never less than the declared structure, so its fields are all addressable.
  void* block = std::calloc(1, std::max(size, sizeof(RGNDATA)));
  if (!block) throw EOutOfMemory("Out of memory");
  TRegionData data(static_cast<RGNDATA*>(block));
  data->rdh.dwSize = sizeof(RGNDATAHEADER);
  data->rdh.iType = RDH_RECTANGLES;
  data->rdh.nCount = static_cast<DWORD>(rects.size());
  data->rdh.nRgnSize = 0;
  data->rdh.rcBound = Rect(OffsetX, OffsetY, OffsetX + Mask->Width(), OffsetY + Mask->Height());
  if (!rects.empty()) std::memcpy(data->Buffer, rects.data(), rects.size() * sizeof(RECT));
  Data = std::move(data);
  return static_cast<Integer>(size);
}

void CreateRegionFromMask(HRGN& Rgn, TBitmap* Mask) {
  TRegionData data;
  const Integer size = BuildMaskRegionData(Mask, 0, 0, data);
  Rgn = size ? ExtCreateRegion(nullptr, static_cast<DWORD>(size), data.get()) : nullptr;
}

namespace {

// Copies and tiles of mask pieces in mask coordinates, as the skin-image routines do.
class TMaskComposer {
 public:
  TMaskComposer(TBitmap* Dest, TBitmap* Mask) : FDest(Dest), FMask(Mask) {}

  void Copy(Integer X1, Integer Y1, Integer X2, Integer Y2, const TRect& Dst) {
    if (X2 <= X1 || Y2 <= Y1 || Dst.Right <= Dst.Left || Dst.Bottom <= Dst.Top) return;
    FDest->Canvas()->CopyRect(Dst, FMask->Canvas(), Rect(X1, Y1, X2, Y2));
  }
  void TileH(Integer X1, Integer Y1, Integer X2, Integer Y2, Integer S, Integer E, Integer Top,
             Integer Bottom) {
    const Integer L = X2 - X1;
    if (L <= 0) return;
    for (Integer k = 0; k <= (E - S) / L; ++k) {
      const Integer P = S + k * L;
      const Integer O = P + L > E ? P + L - E : 0;
      Copy(X1, Y1, X2 - O, Y2, Rect(P, Top, P + L - O, Bottom));
    }
  }
  void TileV(Integer X1, Integer Y1, Integer X2, Integer Y2, Integer S, Integer E, Integer Left,
             Integer Right) {
    const Integer L = Y2 - Y1;
    if (L <= 0) return;
    for (Integer k = 0; k <= (E - S) / L; ++k) {
      const Integer P = S + k * L;
      const Integer O = P + L > E ? P + L - E : 0;
      Copy(X1, Y1, X2, Y2 - O, Rect(Left, P, Right, P + L - O));
    }
  }

 private:
  TBitmap* FDest;
  TBitmap* FMask;
};

// Deletes a region handle when it goes out of scope.
struct TRegionHandle {
  HRGN Handle = nullptr;
  TRegionHandle() = default;
  TRegionHandle(const TRegionHandle&) = delete;
  TRegionHandle& operator=(const TRegionHandle&) = delete;
  ~TRegionHandle() {
    if (Handle) DeleteObject(Handle);
  }
};

}  // namespace

void CreateSkinMaskStrips(TPoint LTPoint, TPoint RTPoint, TPoint LBPoint, TPoint RBPoint,
                          TRect MaskRectArea, TPoint NewLTPoint, TPoint NewRTPoint,
                          TPoint NewLBPoint, TPoint NewRBPoint, TRect NewMaskRectArea,
                          TBitmap* Mask, TBitmap* RMTop, TBitmap* RMLeft, TBitmap* RMRight,
                          TBitmap* RMBottom, Integer AW, Integer /*AH*/) {
  if (!Mask || Mask->Empty()) return;
  const Integer MW = Mask->Width(), MH = Mask->Height();
  const TRect& A = MaskRectArea;
  const Integer H = RectHeight(NewMaskRectArea);

  auto Side = [&](TBitmap* B, Integer X1, Integer X2, TPoint TopPt, TPoint BottomPt) {
    const Integer w = X2 - X1;
    B->SetSize(w, H);
    TMaskComposer c(B, Mask);
    if (BottomPt.Y != TopPt.Y) c.TileV(X1, TopPt.Y, X2, BottomPt.Y, 0, H, 0, w);
    if (TopPt.Y > A.Top) c.Copy(X1, A.Top, X2, TopPt.Y, Rect(0, 0, w, TopPt.Y - A.Top));
    if (A.Bottom > BottomPt.Y)
      c.Copy(X1, BottomPt.Y, X2, A.Bottom, Rect(0, H - (A.Bottom - BottomPt.Y), w, H));
  };
  if (RMLeft && A.Left > 0 && H > 0) Side(RMLeft, 0, A.Left, LTPoint, LBPoint);
  if (RMRight && MW - A.Right > 0 && H > 0) Side(RMRight, A.Right, MW, RTPoint, RBPoint);

  auto Band = [&](TBitmap* B, Integer Y1, Integer Y2, TPoint LeftPt, TPoint RightPt,
                  TPoint NewLeftPt, TPoint NewRightPt) {
    const Integer h = Y2 - Y1;
    B->SetSize(AW, h);
    TMaskComposer c(B, Mask);
    if (RightPt.X != LeftPt.X)
      c.TileH(LeftPt.X, Y1, RightPt.X, Y2, NewLeftPt.X, NewRightPt.X, 0, h);
    c.Copy(0, Y1, LeftPt.X, Y2, Rect(0, 0, LeftPt.X, h));
    c.Copy(RightPt.X, Y1, MW, Y2, Rect(NewRightPt.X, 0, AW, h));
  };
  if (RMTop && AW > 0 && A.Top > 0) Band(RMTop, 0, A.Top, LTPoint, RTPoint, NewLTPoint, NewRTPoint);
  if (RMBottom && AW >= 1 && MH - A.Bottom >= 1)
    Band(RMBottom, A.Bottom, MH, LBPoint, RBPoint, NewLBPoint, NewRBPoint);
}

void CreateSkinRegion(HRGN& Rgn, TPoint LTPoint, TPoint RTPoint, TPoint LBPoint, TPoint RBPoint,
                      TRect MaskRectArea, TPoint NewLTPoint, TPoint NewRTPoint, TPoint NewLBPoint,
                      TPoint NewRBPoint, TRect NewMaskRectArea, TBitmap* Mask, Integer AW,
                      Integer AH) {
  if (NewRTPoint.X < NewLTPoint.X || NewLBPoint.Y < NewLTPoint.Y) {
    Rgn = nullptr;
    return;
  }
  const TRect& NA = NewMaskRectArea;
  TOwned<TBitmap> top = CreateOwned<TBitmap>(), left = CreateOwned<TBitmap>(),
                  right = CreateOwned<TBitmap>(), bottom = CreateOwned<TBitmap>();
  CreateSkinMaskStrips(LTPoint, RTPoint, LBPoint, RBPoint, MaskRectArea, NewLTPoint, NewRTPoint,
                       NewLBPoint, NewRBPoint, NewMaskRectArea, Mask, top.get(), left.get(),
                       right.get(), bottom.get(), AW, AH);

  TRegionHandle strips[4];
  const struct {
    TBitmap* Strip;
    TPoint At;
  } placed[4] = {{top.get(), {0, 0}},
                 {bottom.get(), {0, NA.Bottom}},
                 {left.get(), {0, NA.Top}},
                 {right.get(), {NA.Right, NA.Top}}};
  for (Integer i = 0; i < 4; ++i) {
    if (placed[i].Strip->Width() <= 0 || placed[i].Strip->Height() <= 0) continue;
    TRegionData data;
    const Integer size = BuildMaskRegionData(placed[i].Strip, placed[i].At.X, placed[i].At.Y, data);
    if (size) strips[i].Handle = ExtCreateRegion(nullptr, static_cast<DWORD>(size), data.get());
  }

  if (IsNullRect(NA)) {
    Rgn = nullptr;
    return;
  }
  Rgn = CreateRectRgn(NA.Left, NA.Top, NA.Right, NA.Bottom);
  for (const TRegionHandle& s : strips)
    if (s.Handle) CombineRgn(Rgn, Rgn, s.Handle, RGN_OR);
}
