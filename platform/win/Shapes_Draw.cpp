// The drawing calls: lines with cosmetic (styled) and wide pens, rectangles, ellipses,
// polygons, and the brush fills. Pixel rules follow GDI: a line covers its start and not
// its end; a rectangle covers Left..Right-1; with a null pen a figure's fill loses its
// right column and bottom row.
#include <algorithm>

#include "platform/win/GdiInternal.h"
#include "platform/win/Shapes.h"
#include "platform/win/SysColors.h"

namespace vantrel::win {

bool ResolveBrush(HBRUSH Brush, COLORREF& Color) {
  const auto Raw = reinterpret_cast<uintptr_t>(Brush);
  if (Raw >= 1 && Raw <= static_cast<uintptr_t>(COLOR_COUNT)) {
    Color = GetSysColor(static_cast<int>(Raw - 1));
    return true;
  }
  auto B = BrushOf(Brush);
  if (!B || B->Null()) return false;
  Color = B->FColor;
  return true;
}

namespace {

// ---------------------------------------------------------------------------------------
// Brushes

struct BrushPaint {
  bool Null = true;
  uint32_t Pixel = 0;
  bool Hatched = false;
  int Hatch = 0;
};

BrushPaint BrushOfDc(DcObject& D, const std::shared_ptr<BrushObject>& B) {
  BrushPaint P;
  if (!B || B->Null()) return P;
  P.Null = false;
  P.Pixel = PixelOf(B == StockObjectPtr(DC_BRUSH) ? D.State().DcBrushColor : B->FColor);
  P.Hatched = B->FStyle == BS_HATCHED;
  P.Hatch = static_cast<int>(B->FHatch);
  return P;
}

bool HatchOn(int Hatch, int X, int Y) {
  X &= 7, Y &= 7;
  switch (Hatch) {
    case HS_HORIZONTAL: return Y == 0;
    case HS_VERTICAL: return X == 0;
    case HS_FDIAGONAL: return X == Y;
    case HS_BDIAGONAL: return X + Y == 7;
    case HS_CROSS: return X == 0 || Y == 0;
    default: return X == Y || X + Y == 7;  // HS_DIAGCROSS
  }
}

// Fills a region (surface coordinates) with a brush under a mix mode.
void PaintRegion(DcObject& D, const Region& R, const BrushPaint& B, int Rop2) {
  if (B.Null) return;
  if (!B.Hatched) {
    D.FillRegionPixels(R, B.Pixel, Rop2);
    return;
  }
  // Hatch lines align to the brush origin in device coordinates; gaps take the
  // background colour when the background mode is opaque.
  const POINT O = D.DeviceOrigin(), Org = D.State().BrushOrg;
  const bool Opaque = D.State().BkMode == OPAQUE;
  const uint32_t Bk = PixelOf(D.State().BkColor);
  for (const RECT& Rc : R.Rects())
    for (int y = Rc.Top; y < Rc.Bottom; ++y)
      for (int x = Rc.Left; x < Rc.Right; ++x) {
        if (HatchOn(B.Hatch, x - O.X - Org.X, y - O.Y - Org.Y)) D.PutPixel(x, y, B.Pixel, Rop2);
        else if (Opaque) D.PutPixel(x, y, Bk, Rop2);
      }
}

void PaintRect(DcObject& D, const RECT& R, const BrushPaint& B, int Rop2) {
  if (B.Null) return;
  if (!B.Hatched) {
    D.FillRectPixels(R, B.Pixel, Rop2);
    return;
  }
  PaintRegion(D, Region(R), B, Rop2);
}

// ---------------------------------------------------------------------------------------
// Pens

struct PenPaint {
  bool Null = true;
  uint32_t Pixel = 0;
  int Width = 1;
  UINT Style = PS_SOLID;
  std::vector<DWORD> Dashes;  // on/off lengths in pixels; empty: solid
  bool Wide() const { return Width > 1; }
};

PenPaint PenOfDc(DcObject& D) {
  PenPaint P;
  const auto& Pen = D.State().Pen;
  if (!Pen || Pen->Null()) return P;
  P.Null = false;
  P.Pixel = PixelOf(Pen == StockObjectPtr(DC_PEN) ? D.State().DcPenColor : Pen->FColor);
  P.Width = std::max(1, Pen->FWidth);
  P.Style = Pen->FStyle;
  if (P.Wide()) return P;  // styled wide pens draw solid
  switch (Pen->LineStyle()) {
    case PS_DASH: P.Dashes = {18, 6}; break;
    case PS_DOT: P.Dashes = {3, 3}; break;
    case PS_DASHDOT: P.Dashes = {9, 6, 3, 6}; break;
    case PS_DASHDOTDOT: P.Dashes = {9, 3, 3, 3, 3, 3}; break;
    case PS_ALTERNATE: P.Dashes = {1, 1}; break;
    case PS_USERSTYLE: P.Dashes = Pen->FUserStyle; break;
    default: break;
  }
  if (std::all_of(P.Dashes.begin(), P.Dashes.end(), [](DWORD v) { return v == 0; })) P.Dashes.clear();
  return P;
}

// Position in a styled pen's on/off pattern, carried along a polyline.
struct DashState {
  size_t Index = 0;
  DWORD Done = 0;
  bool On(const PenPaint& P) const { return P.Dashes.empty() || Index % 2 == 0; }
  void Step(const PenPaint& P) {
    if (P.Dashes.empty()) return;
    ++Done;
    while (Done >= P.Dashes[Index]) {
      Done = 0;
      Index = (Index + 1) % P.Dashes.size();
      if (P.Dashes[Index] != 0) break;
    }
  }
};

// A one-pixel line from A to B in surface coordinates, A included and B excluded. Along
// the major axis every step sets one pixel; the minor coordinate is rounded to nearest
// with halves toward the start.
void CosmeticLine(DcObject& D, POINT A, POINT B, const PenPaint& P, DashState& S) {
  const int Rop2 = D.State().Rop2;
  const bool Opaque = D.State().BkMode == OPAQUE;
  const uint32_t Bk = PixelOf(D.State().BkColor);
  const int64_t DX = int64_t{B.X} - A.X, DY = int64_t{B.Y} - A.Y;
  const int64_t AX = DX < 0 ? -DX : DX, AY = DY < 0 ? -DY : DY;
  const int64_t Steps = std::max(AX, AY);
  const int SX = DX < 0 ? -1 : 1, SY = DY < 0 ? -1 : 1;
  for (int64_t i = 0; i < Steps; ++i) {
    int64_t Major = i, Minor;
    if (AX >= AY) {
      Minor = (2 * i * AY + Steps - 1) / (2 * Steps);
      const int x = A.X + static_cast<int>(Major) * SX, y = A.Y + static_cast<int>(Minor) * SY;
      if (S.On(P)) D.PutPixel(x, y, P.Pixel, Rop2);
      else if (Opaque) D.PutPixel(x, y, Bk, Rop2);
    } else {
      Minor = (2 * i * AX + Steps - 1) / (2 * Steps);
      const int x = A.X + static_cast<int>(Minor) * SX, y = A.Y + static_cast<int>(Major) * SY;
      if (S.On(P)) D.PutPixel(x, y, P.Pixel, Rop2);
      else if (Opaque) D.PutPixel(x, y, Bk, Rop2);
    }
    S.Step(P);
  }
}

std::vector<POINT> ToSurface(DcObject& D, const POINT* Points, int Count) {
  std::vector<POINT> Out(static_cast<size_t>(std::max(0, Count)));
  for (int i = 0; i < Count; ++i) Out[static_cast<size_t>(i)] = D.ToSurface(Points[i]);
  return Out;
}

// The pen along a polyline (surface coordinates); Closed adds the closing segment.
void StrokePolyline(DcObject& D, const std::vector<POINT>& Pts, bool Closed, const PenPaint& P) {
  if (P.Null || Pts.empty()) return;
  if (P.Wide()) {
    D.FillRegionPixels(StrokePixels(Pts.data(), static_cast<int>(Pts.size()), P.Width, P.Style, Closed), P.Pixel,
                       D.State().Rop2);
    return;
  }
  DashState S;
  for (size_t i = 0; i + 1 < Pts.size(); ++i) CosmeticLine(D, Pts[i], Pts[i + 1], P, S);
  if (Closed && Pts.size() > 1) CosmeticLine(D, Pts.back(), Pts.front(), P, S);
}

RECT Normalised(DcObject& D, int L, int T, int R, int B) {
  if (L > R) std::swap(L, R);
  if (T > B) std::swap(T, B);
  POINT A = D.ToSurface(POINT{L, T});
  return {A.X, A.Y, A.X + (R - L), A.Y + (B - T)};
}

RECT Grow(const RECT& R, int By) { return {R.Left - By, R.Top - By, R.Right + By, R.Bottom + By}; }

// A closed figure: Pixels(box) gives the shape of a box. The pen's border is the
// figure's inner border (one-pixel pens) or the band between a box grown outwards and
// one shrunk inwards (wide pens, centred on the border pixels; PS_INSIDEFRAME inside).
template <class F>
void DrawFigure(DcObject& D, RECT Box, F Pixels) {
  PenPaint P = PenOfDc(D);
  BrushPaint B = BrushOfDc(D, D.State().Brush);
  const int Rop2 = D.State().Rop2;
  if (P.Null) {
    PaintRegion(D, Pixels(RECT{Box.Left, Box.Top, Box.Right - 1, Box.Bottom - 1}), B, Rop2);
    return;
  }
  Region Outer, Inner;
  if (!P.Wide()) {
    Outer = Pixels(Box);
    Region Border = InnerBorder(Outer);
    Inner = Outer;
    Inner.Subtract(Border);
  } else {
    const bool InsideFrame = (P.Style & PS_STYLE_MASK) == PS_INSIDEFRAME;
    const int Out = InsideFrame ? 0 : (P.Width - 1) / 2;
    Outer = Pixels(Grow(Box, Out));
    Inner = Pixels(Grow(Box, Out - P.Width));
  }
  PaintRegion(D, Inner, B, Rop2);
  Outer.Subtract(Inner);
  D.FillRegionPixels(Outer, P.Pixel, Rop2);
}

// Runs a drawing call on a DC: resolves it, prepares its target and writes back after.
template <class F>
BOOL Draw(HDC Dc, F Body) {
  auto D = DcOf(Dc);
  if (!D) return FALSE;
  if (!D->Begin()) return TRUE;  // nothing to draw on: nothing drawn, no failure
  Body(*D);
  D->Commit();
  return TRUE;
}

Region LogicalRegion(DcObject& D, const Region& R) {
  Region Out(R);
  POINT O = D.LogicalToSurfaceOffset();
  Out.Translate(O.X, O.Y);
  return Out;
}

}  // namespace
}  // namespace vantrel::win

using namespace vantrel::win;

BOOL MoveToEx(HDC Dc, int X, int Y, LPPOINT Old) {
  auto D = DcOf(Dc);
  if (!D) return FALSE;
  if (Old) *Old = D->State().CurrentPos;
  D->State().CurrentPos = {X, Y};
  return TRUE;
}

BOOL GetCurrentPositionEx(HDC Dc, LPPOINT Out) {
  auto D = DcOf(Dc);
  if (!D || !Out) return FALSE;
  *Out = D->State().CurrentPos;
  return TRUE;
}

BOOL LineTo(HDC Dc, int X, int Y) {
  return Draw(Dc, [&](DcObject& D) {
    POINT From = D.State().CurrentPos;
    D.State().CurrentPos = {X, Y};
    POINT Pts[2] = {From, {X, Y}};
    StrokePolyline(D, ToSurface(D, Pts, 2), false, PenOfDc(D));
  });
}

BOOL Polyline(HDC Dc, const POINT* Points, int Count) {
  if (!Points || Count < 2) return FALSE;
  return Draw(Dc, [&](DcObject& D) { StrokePolyline(D, ToSurface(D, Points, Count), false, PenOfDc(D)); });
}

BOOL PolylineTo(HDC Dc, const POINT* Points, DWORD Count) {
  if (!Points || Count == 0) return FALSE;
  return Draw(Dc, [&](DcObject& D) {
    std::vector<POINT> Pts{D.State().CurrentPos};
    Pts.insert(Pts.end(), Points, Points + Count);
    D.State().CurrentPos = Points[Count - 1];
    StrokePolyline(D, ToSurface(D, Pts.data(), static_cast<int>(Pts.size())), false, PenOfDc(D));
  });
}

BOOL PolyPolyline(HDC Dc, const POINT* Points, const DWORD* Counts, DWORD Polylines) {
  if (!Points || !Counts) return FALSE;
  for (DWORD i = 0; i < Polylines; ++i)
    if (Counts[i] < 2) return FALSE;
  return Draw(Dc, [&](DcObject& D) {
    const POINT* P = Points;
    PenPaint Pen = PenOfDc(D);
    for (DWORD i = 0; i < Polylines; ++i) {
      StrokePolyline(D, ToSurface(D, P, static_cast<int>(Counts[i])), false, Pen);
      P += Counts[i];
    }
  });
}

BOOL Polygon(HDC Dc, const POINT* Points, int Count) {
  if (!Points || Count < 2) return FALSE;
  return PolyPolygon(Dc, Points, &Count, 1);
}

BOOL PolyPolygon(HDC Dc, const POINT* Points, const INT* Counts, int Polygons) {
  if (!Points || !Counts || Polygons <= 0) return FALSE;
  int Total = 0;
  for (int i = 0; i < Polygons; ++i) {
    if (Counts[i] < 2) return FALSE;
    Total += Counts[i];
  }
  return Draw(Dc, [&](DcObject& D) {
    std::vector<POINT> Pts = ToSurface(D, Points, Total);
    PaintRegion(D, PolygonPixels(Pts.data(), Counts, Polygons, D.State().PolyFillMode),
                BrushOfDc(D, D.State().Brush), D.State().Rop2);
    PenPaint Pen = PenOfDc(D);
    size_t At = 0;
    for (int i = 0; i < Polygons; ++i) {
      std::vector<POINT> One(Pts.begin() + static_cast<long>(At), Pts.begin() + static_cast<long>(At + Counts[i]));
      StrokePolyline(D, One, true, Pen);
      At += static_cast<size_t>(Counts[i]);
    }
  });
}

BOOL Rectangle(HDC Dc, int Left, int Top, int Right, int Bottom) {
  return Draw(Dc, [&](DcObject& D) {
    DrawFigure(D, Normalised(D, Left, Top, Right, Bottom), [](const RECT& R) { return Region(R); });
  });
}

BOOL RoundRect(HDC Dc, int Left, int Top, int Right, int Bottom, int Width, int Height) {
  return Draw(Dc, [&](DcObject& D) {
    DrawFigure(D, Normalised(D, Left, Top, Right, Bottom),
               [&](const RECT& R) { return RoundRectPixels(R, Width, Height); });
  });
}

BOOL Ellipse(HDC Dc, int Left, int Top, int Right, int Bottom) {
  return Draw(Dc, [&](DcObject& D) {
    DrawFigure(D, Normalised(D, Left, Top, Right, Bottom), [](const RECT& R) { return EllipsePixels(R); });
  });
}

int FillRect(HDC Dc, const RECT* R, HBRUSH Brush) {
  if (!R) return 0;
  auto D = DcOf(Dc);
  if (!D) return 0;
  BrushPaint B;
  const auto Raw = reinterpret_cast<uintptr_t>(Brush);
  if (Raw >= 1 && Raw <= static_cast<uintptr_t>(COLOR_COUNT)) {
    B.Null = false;
    B.Pixel = PixelOf(GetSysColor(static_cast<int>(Raw - 1)));
  } else {
    auto Obj = BrushOf(Brush);
    if (!Obj) return 0;
    B = BrushOfDc(*D, Obj);
  }
  return Draw(Dc, [&](DcObject& Dc2) {
    if (R->Right <= R->Left || R->Bottom <= R->Top) return;
    PaintRect(Dc2, Dc2.ToSurface(*R), B, R2_COPYPEN);
  });
}

int FrameRect(HDC Dc, const RECT* R, HBRUSH Brush) {
  if (!R) return 0;
  COLORREF C;
  auto Obj = BrushOf(Brush);
  const auto Raw = reinterpret_cast<uintptr_t>(Brush);
  if (!Obj && !(Raw >= 1 && Raw <= static_cast<uintptr_t>(COLOR_COUNT))) return 0;
  if (!ResolveBrush(Brush, C)) return 1;  // a null brush frames nothing
  return Draw(Dc, [&](DcObject& D) {
    if (R->Right <= R->Left || R->Bottom <= R->Top) return;
    RECT S = D.ToSurface(*R);
    Region Frame(S);
    Frame.SubtractRect({S.Left + 1, S.Top + 1, S.Right - 1, S.Bottom - 1});
    D.FillRegionPixels(Frame, PixelOf(C), R2_COPYPEN);
  });
}

BOOL InvertRect(HDC Dc, const RECT* R) {
  if (!R) return FALSE;
  return Draw(Dc, [&](DcObject& D) { D.FillRectPixels(D.ToSurface(*R), 0, R2_NOT); });
}

BOOL FillRgn(HDC Dc, HRGN Rgn, HBRUSH Brush) {
  auto R = RegionOf(Rgn);
  auto Obj = BrushOf(Brush);
  if (!R || !Obj) return FALSE;
  return Draw(Dc, [&](DcObject& D) { PaintRegion(D, LogicalRegion(D, R->FRegion), BrushOfDc(D, Obj), R2_COPYPEN); });
}

BOOL PaintRgn(HDC Dc, HRGN Rgn) {
  auto R = RegionOf(Rgn);
  if (!R) return FALSE;
  return Draw(Dc, [&](DcObject& D) {
    PaintRegion(D, LogicalRegion(D, R->FRegion), BrushOfDc(D, D.State().Brush), D.State().Rop2);
  });
}

BOOL InvertRgn(HDC Dc, HRGN Rgn) {
  auto R = RegionOf(Rgn);
  if (!R) return FALSE;
  return Draw(Dc, [&](DcObject& D) { D.FillRegionPixels(LogicalRegion(D, R->FRegion), 0, R2_NOT); });
}

BOOL FrameRgn(HDC Dc, HRGN Rgn, HBRUSH Brush, int Width, int Height) {
  auto R = RegionOf(Rgn);
  auto Obj = BrushOf(Brush);
  if (!R || !Obj || Width <= 0 || Height <= 0) return FALSE;
  return Draw(Dc, [&](DcObject& D) {
    Region Shape = LogicalRegion(D, R->FRegion);
    Region Core(Shape);
    for (auto [dx, dy] : {std::pair{Width, 0}, std::pair{-Width, 0}, std::pair{0, Height}, std::pair{0, -Height}}) {
      Region S(Shape);
      S.Translate(dx, dy);
      Core.Intersect(S);
    }
    Shape.Subtract(Core);
    PaintRegion(D, Shape, BrushOfDc(D, Obj), R2_COPYPEN);
  });
}
