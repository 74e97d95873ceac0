// Scan conversion for the shape calls and shaped regions. Everything here is exact
// integer or centre-sampled arithmetic, no anti-aliasing.
#include "platform/win/Shapes.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace vantrel::win {

namespace {

struct Pt {
  double X, Y;
};

// Appends the run [X0, X1) on row Y, merging with the previous run of the same row.
void AddRun(std::vector<RECT>& Out, int Y, int X0, int X1) {
  if (X0 >= X1) return;
  if (!Out.empty() && Out.back().Top == Y && Out.back().Right >= X0) {
    Out.back().Right = std::max(Out.back().Right, X1);
    return;
  }
  Out.push_back({X0, Y, X1, Y + 1});
}

// Centre-sampled scan of closed polygons in continuous coordinates (pixel x covers
// [x, x + 1)); a pixel is inside when its centre is.
void ScanPolygons(const std::vector<std::vector<Pt>>& Polys, bool Winding, std::vector<RECT>& Out) {
  double MinY = 1e18, MaxY = -1e18;
  for (const auto& P : Polys)
    for (const Pt& V : P) MinY = std::min(MinY, V.Y), MaxY = std::max(MaxY, V.Y);
  if (MinY > MaxY) return;
  const int Y0 = static_cast<int>(std::floor(MinY)), Y1 = static_cast<int>(std::ceil(MaxY));
  std::vector<std::pair<double, int>> Cross;
  for (int y = Y0; y < Y1; ++y) {
    const double Yc = y + 0.5;
    Cross.clear();
    for (const auto& P : Polys) {
      const size_t N = P.size();
      for (size_t i = 0; i < N; ++i) {
        const Pt& A = P[i];
        const Pt& B = P[(i + 1) % N];
        if (A.Y == B.Y) continue;
        const bool Down = A.Y < B.Y;
        const double Lo = Down ? A.Y : B.Y, Hi = Down ? B.Y : A.Y;
        if (Yc < Lo || Yc >= Hi) continue;
        Cross.push_back({A.X + (Yc - A.Y) * (B.X - A.X) / (B.Y - A.Y), Down ? 1 : -1});
      }
    }
    std::sort(Cross.begin(), Cross.end());
    auto PixelOf = [](double X) { return static_cast<int>(std::ceil(X - 0.5 - 1e-9)); };
    if (!Winding) {
      for (size_t i = 0; i + 1 < Cross.size(); i += 2) AddRun(Out, y, PixelOf(Cross[i].first), PixelOf(Cross[i + 1].first));
    } else {
      int W = 0;
      for (size_t i = 0; i + 1 < Cross.size(); ++i) {
        W += Cross[i].second;
        if (W != 0) AddRun(Out, y, PixelOf(Cross[i].first), PixelOf(Cross[i + 1].first));
      }
    }
  }
}

// Pixels whose centres lie within radius R of the centre of pixel (CX, CY).
void AddDisk(std::vector<RECT>& Out, int CX, int CY, double R) {
  const int N = static_cast<int>(std::floor(R));
  const double R2 = R * R + 1e-9;
  for (int dy = -N; dy <= N; ++dy) {
    const int Half = static_cast<int>(std::floor(std::sqrt(std::max(0.0, R2 - dy * dy))));
    Out.push_back({CX - Half, CY + dy, CX + Half + 1, CY + dy + 1});
  }
}

}  // namespace

Region EllipsePixels(const RECT& Box) {
  const int64_t A = Box.Right - Box.Left, B = Box.Bottom - Box.Top;
  if (A <= 0 || B <= 0) return Region();
  std::vector<RECT> Out;
  // Pixel (x, y) is inside when its centre is: with X = 2x + 1 - (L + R) and
  // Y = 2y + 1 - (T + B), X^2 B^2 + Y^2 A^2 <= A^2 B^2.
  const int64_t Limit = A * A * B * B;
  for (int y = Box.Top; y < Box.Bottom; ++y) {
    const int64_t Y = 2 * int64_t{y} + 1 - (int64_t{Box.Top} + Box.Bottom);
    const int64_t Rest = Limit - Y * Y * A * A;
    if (Rest < 0) continue;
    auto Inside = [&](int64_t x) {
      const int64_t X = 2 * x + 1 - (int64_t{Box.Left} + Box.Right);
      return X * X * B * B <= Rest;
    };
    // Start from the floating estimate of the right end and settle it exactly.
    const double Cx = (Box.Left + Box.Right) / 2.0;
    const double Half = std::sqrt(static_cast<double>(Rest)) / static_cast<double>(2 * B);
    int64_t XR = static_cast<int64_t>(std::floor(Cx + Half - 0.5));
    while (XR + 1 < Box.Right && Inside(XR + 1)) ++XR;
    while (XR >= Box.Left && !Inside(XR)) --XR;
    if (XR < Box.Left) continue;
    const int64_t XL = int64_t{Box.Left} + Box.Right - 1 - XR;  // symmetric
    AddRun(Out, y, static_cast<int>(XL), static_cast<int>(XR + 1));
  }
  return Region(Out.data(), Out.size());
}

Region RoundRectPixels(const RECT& Box, int EllipseWidth, int EllipseHeight) {
  const int W = Box.Right - Box.Left, H = Box.Bottom - Box.Top;
  if (W <= 0 || H <= 0) return Region();
  const int EW = std::clamp(EllipseWidth, 0, W), EH = std::clamp(EllipseHeight, 0, H);
  if (EW < 2 || EH < 2) return Region(Box);
  Region R(RECT{Box.Left + EW / 2, Box.Top, Box.Right - EW / 2, Box.Bottom});
  R.UnionRect(RECT{Box.Left, Box.Top + EH / 2, Box.Right, Box.Bottom - EH / 2});
  R.Union(EllipsePixels({Box.Left, Box.Top, Box.Left + EW, Box.Top + EH}));
  R.Union(EllipsePixels({Box.Right - EW, Box.Top, Box.Right, Box.Top + EH}));
  R.Union(EllipsePixels({Box.Left, Box.Bottom - EH, Box.Left + EW, Box.Bottom}));
  R.Union(EllipsePixels({Box.Right - EW, Box.Bottom - EH, Box.Right, Box.Bottom}));
  return R;
}

Region PolygonPixels(const POINT* Points, const int* Counts, int Polygons, int FillMode) {
  std::vector<std::vector<Pt>> Polys;
  const POINT* P = Points;
  for (int i = 0; i < Polygons; ++i) {
    std::vector<Pt> Poly;
    for (int k = 0; k < Counts[i]; ++k) Poly.push_back({static_cast<double>(P[k].X), static_cast<double>(P[k].Y)});
    P += Counts[i];
    if (Poly.size() >= 3) Polys.push_back(std::move(Poly));
  }
  std::vector<RECT> Out;
  ScanPolygons(Polys, FillMode == 2 /* WINDING */, Out);
  return Region(Out.data(), Out.size());
}

Region InnerBorder(const Region& R) {
  Region Core(R);
  for (auto [dx, dy] : {std::pair{1, 0}, std::pair{-1, 0}, std::pair{0, 1}, std::pair{0, -1}}) {
    Region S(R);
    S.Translate(dx, dy);
    Core.Intersect(S);
  }
  Region Border(R);
  Border.Subtract(Core);
  return Border;
}

Region StrokePixels(const POINT* Points, int Count, int Width, unsigned Style, bool Closed) {
  constexpr unsigned kCapMask = 0xF00, kCapSquare = 0x100, kCapFlat = 0x200;
  constexpr unsigned kJoinMask = 0xF000, kJoinBevel = 0x1000, kJoinMiter = 0x2000;
  constexpr double kMiterLimit = 10.0;
  std::vector<RECT> Out;
  if (Count <= 0 || Width <= 0) return Region();
  const double Hw = Width / 2.0;
  // Centre line through pixel centres, repeated points dropped.
  std::vector<Pt> V;
  for (int i = 0; i < Count; ++i) {
    Pt p{Points[i].X + 0.5, Points[i].Y + 0.5};
    if (V.empty() || V.back().X != p.X || V.back().Y != p.Y) V.push_back(p);
  }
  if (Closed && V.size() > 2 && V.front().X == V.back().X && V.front().Y == V.back().Y) V.pop_back();
  const unsigned Cap = Style & kCapMask, Join = Style & kJoinMask;
  if (V.size() == 1) {
    if (Cap != kCapFlat) AddDisk(Out, Points[0].X, Points[0].Y, Hw);
    return Region(Out.data(), Out.size());
  }
  std::vector<std::vector<Pt>> Quads;
  const size_t Segs = Closed ? V.size() : V.size() - 1;
  auto Dir = [&](size_t i) {
    const Pt& A = V[i];
    const Pt& B = V[(i + 1) % V.size()];
    double dx = B.X - A.X, dy = B.Y - A.Y, L = std::hypot(dx, dy);
    return Pt{dx / L, dy / L};
  };
  for (size_t i = 0; i < Segs; ++i) {
    Pt A = V[i], B = V[(i + 1) % V.size()], D = Dir(i);
    if (!Closed && Cap == kCapSquare) {
      if (i == 0) A = {A.X - D.X * Hw, A.Y - D.Y * Hw};
      if (i + 1 == Segs) B = {B.X + D.X * Hw, B.Y + D.Y * Hw};
    }
    Pt N{-D.Y * Hw, D.X * Hw};
    Quads.push_back({{A.X + N.X, A.Y + N.Y}, {B.X + N.X, B.Y + N.Y}, {B.X - N.X, B.Y - N.Y}, {A.X - N.X, A.Y - N.Y}});
  }
  // Joins at interior vertices (and every vertex of a closed figure).
  for (size_t k = 0; k < V.size(); ++k) {
    const bool Interior = Closed || (k > 0 && k + 1 < V.size());
    if (!Interior) continue;
    const size_t In = (k + V.size() - 1) % V.size(), OutSeg = k;
    Pt D1 = Dir(In), D2 = Dir(OutSeg), C = V[k];
    if (Join == kJoinMask || (Join != kJoinBevel && Join != kJoinMiter)) {
      AddDisk(Out, static_cast<int>(std::floor(C.X)), static_cast<int>(std::floor(C.Y)), Hw);
      continue;
    }
    for (double Side : {1.0, -1.0}) {
      Pt N1{-D1.Y * Hw * Side, D1.X * Hw * Side}, N2{-D2.Y * Hw * Side, D2.X * Hw * Side};
      if (N1.X * D2.X + N1.Y * D2.Y > 0) continue;  // the inner side is covered by the segments
      Pt A{C.X + N1.X, C.Y + N1.Y}, B{C.X + N2.X, C.Y + N2.Y};
      double Cos = D1.X * D2.X + D1.Y * D2.Y;
      double HalfAngleCos = std::sqrt(std::max(0.0, (1 + Cos) / 2));  // cos of half the turn
      if (Join == kJoinMiter && HalfAngleCos > 1.0 / kMiterLimit) {
        // Miter point: along the bisector of the two normals at Hw / cos(half turn).
        Pt Bis{N1.X + N2.X, N1.Y + N2.Y};
        double L = std::hypot(Bis.X, Bis.Y);
        if (L > 1e-9) {
          double M = Hw / HalfAngleCos;
          Pt P{C.X + Bis.X / L * M, C.Y + Bis.Y / L * M};
          Quads.push_back({C, A, P, B});
          continue;
        }
      }
      Quads.push_back({C, A, B});
    }
  }
  // Round caps at the ends of an open line.
  if (!Closed && Cap != kCapFlat && Cap != kCapSquare) {
    AddDisk(Out, static_cast<int>(std::floor(V.front().X)), static_cast<int>(std::floor(V.front().Y)), Hw);
    AddDisk(Out, static_cast<int>(std::floor(V.back().X)), static_cast<int>(std::floor(V.back().Y)), Hw);
  }
  Region R(Out.data(), Out.size());
  for (const auto& Q : Quads) {
    std::vector<RECT> Runs;
    ScanPolygons({Q}, true, Runs);
    R.Union(Region(Runs.data(), Runs.size()));
  }
  return R;
}

}  // namespace vantrel::win
