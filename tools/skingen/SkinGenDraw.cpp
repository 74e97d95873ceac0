// Drawing routines of skingen.
#include "tools/skingen/SkinGenDraw.h"

#include <algorithm>
#include <cmath>

namespace vantrel::skingen {

namespace {

constexpr int kDrawSamples = 4;

int ClampByte(double V) { return std::clamp(static_cast<int>(std::lround(V)), 0, 255); }

// Distance-based inside test of a rounded rectangle.
bool InsideRoundRect(double X, double Y, double L, double T, double R, double B, double Rad) {
  if (X < L || X > R || Y < T || Y > B) return false;
  const double CX = std::clamp(X, L + Rad, R - Rad);
  const double CY = std::clamp(Y, T + Rad, B - Rad);
  const double DX = X - CX;
  const double DY = Y - CY;
  return DX * DX + DY * DY <= Rad * Rad;
}

double SegmentDistance(double PX, double PY, double X0, double Y0, double X1, double Y1) {
  const double VX = X1 - X0;
  const double VY = Y1 - Y0;
  const double Len = VX * VX + VY * VY;
  double T = Len > 0 ? ((PX - X0) * VX + (PY - Y0) * VY) / Len : 0;
  T = std::clamp(T, 0.0, 1.0);
  const double DX = PX - (X0 + T * VX);
  const double DY = PY - (Y0 + T * VY);
  return std::sqrt(DX * DX + DY * DY);
}

}  // namespace

Colour Mix(Colour A, Colour B, double T) {
  return Rgb(ClampByte(RedOf(A) + (RedOf(B) - RedOf(A)) * T),
             ClampByte(GreenOf(A) + (GreenOf(B) - GreenOf(A)) * T),
             ClampByte(BlueOf(A) + (BlueOf(B) - BlueOf(A)) * T));
}

Raster::Raster(int AWidth, int AHeight, Colour Background, int Alpha)
    : FWidth(AWidth),
      FHeight(AHeight),
      FColours(static_cast<size_t>(AWidth) * AHeight, Background),
      FAlpha(static_cast<size_t>(AWidth) * AHeight, static_cast<uint8_t>(Alpha)) {}

void Raster::GrowTo(int AHeight, Colour Background) {
  if (AHeight <= FHeight) return;
  FColours.resize(static_cast<size_t>(FWidth) * AHeight, Background);
  FAlpha.resize(static_cast<size_t>(FWidth) * AHeight, 255);
  FHeight = AHeight;
}

Colour Raster::Pixel(int X, int Y) const { return FColours[static_cast<size_t>(Y) * FWidth + X]; }
int Raster::Alpha(int X, int Y) const { return FAlpha[static_cast<size_t>(Y) * FWidth + X]; }

void Raster::Set(int X, int Y, Colour C, int A) {
  if (X < 0 || Y < 0 || X >= FWidth || Y >= FHeight) return;
  FColours[static_cast<size_t>(Y) * FWidth + X] = C;
  FAlpha[static_cast<size_t>(Y) * FWidth + X] = static_cast<uint8_t>(A);
}

void Raster::Blend(int X, int Y, Colour C, double Coverage) {
  if (X < 0 || Y < 0 || X >= FWidth || Y >= FHeight || Coverage <= 0) return;
  const size_t I = static_cast<size_t>(Y) * FWidth + X;
  if (Coverage >= 1) {
    FColours[I] = C;
    FAlpha[I] = 255;
    return;
  }
  const double DA = FAlpha[I] / 255.0;
  const double OA = Coverage + DA * (1 - Coverage);
  if (OA <= 0) return;
  auto Channel = [&](int Src, int Dst) {
    return ClampByte((Src * Coverage + Dst * DA * (1 - Coverage)) / OA);
  };
  const Colour D = FColours[I];
  FColours[I] = Rgb(Channel(RedOf(C), RedOf(D)), Channel(GreenOf(C), GreenOf(D)),
                    Channel(BlueOf(C), BlueOf(D)));
  FAlpha[I] = static_cast<uint8_t>(ClampByte(OA * 255));
}

void Raster::FillRect(const TRect& R, Colour C) { ClearRect(R, C, 255); }

void Raster::ClearRect(const TRect& R, Colour C, int A) {
  for (int Y = std::max(0, R.Top); Y < std::min(FHeight, R.Bottom); ++Y)
    for (int X = std::max(0, R.Left); X < std::min(FWidth, R.Right); ++X) Set(X, Y, C, A);
}

void Raster::FrameRect(const TRect& R, Colour C) {
  FillRect(TRect{R.Left, R.Top, R.Right, R.Top + 1}, C);
  FillRect(TRect{R.Left, R.Bottom - 1, R.Right, R.Bottom}, C);
  FillRect(TRect{R.Left, R.Top, R.Left + 1, R.Bottom}, C);
  FillRect(TRect{R.Right - 1, R.Top, R.Right, R.Bottom}, C);
}

void Raster::VerticalGradient(const TRect& R, Colour Top, Colour Bottom) {
  const int H = std::max(1, R.Bottom - R.Top - 1);
  for (int Y = R.Top; Y < R.Bottom; ++Y)
    FillRect(TRect{R.Left, Y, R.Right, Y + 1}, Mix(Top, Bottom, double(Y - R.Top) / H));
}

void Raster::FillShape(const TRect& Bounds, const std::function<bool(double, double)>& Inside,
                       Colour C, bool Crisp) {
  for (int Y = std::max(0, Bounds.Top); Y < std::min(FHeight, Bounds.Bottom); ++Y)
    for (int X = std::max(0, Bounds.Left); X < std::min(FWidth, Bounds.Right); ++X) {
      if (Crisp) {
        if (Inside(X + 0.5, Y + 0.5)) Set(X, Y, C);
        continue;
      }
      int Hits = 0;
      for (int SY = 0; SY < kDrawSamples; ++SY)
        for (int SX = 0; SX < kDrawSamples; ++SX)
          if (Inside(X + (SX + 0.5) / kDrawSamples, Y + (SY + 0.5) / kDrawSamples)) ++Hits;
      Blend(X, Y, C, double(Hits) / (kDrawSamples * kDrawSamples));
    }
}

void Raster::EraseShape(const TRect& Bounds, const std::function<bool(double, double)>& Inside) {
  for (int Y = std::max(0, Bounds.Top); Y < std::min(FHeight, Bounds.Bottom); ++Y)
    for (int X = std::max(0, Bounds.Left); X < std::min(FWidth, Bounds.Right); ++X) {
      int Hits = 0;
      for (int SY = 0; SY < kDrawSamples; ++SY)
        for (int SX = 0; SX < kDrawSamples; ++SX)
          if (Inside(X + (SX + 0.5) / kDrawSamples, Y + (SY + 0.5) / kDrawSamples)) ++Hits;
      const size_t I = static_cast<size_t>(Y) * FWidth + X;
      const double Keep = 1 - double(Hits) / (kDrawSamples * kDrawSamples);
      FAlpha[I] = static_cast<uint8_t>(ClampByte(FAlpha[I] * Keep));
    }
}

void Raster::EraseEllipse(double CX, double CY, double RX, double RY) {
  const TRect Bounds{static_cast<int>(std::floor(CX - RX)), static_cast<int>(std::floor(CY - RY)),
                     static_cast<int>(std::ceil(CX + RX)), static_cast<int>(std::ceil(CY + RY))};
  EraseShape(Bounds, [=](double X, double Y) {
    const double DX = (X - CX) / RX;
    const double DY = (Y - CY) / RY;
    return DX * DX + DY * DY <= 1;
  });
}

void Raster::EraseRoundRect(double L, double T, double R, double B, double Radius) {
  const TRect Bounds{static_cast<int>(std::floor(L)), static_cast<int>(std::floor(T)),
                     static_cast<int>(std::ceil(R)), static_cast<int>(std::ceil(B))};
  const double Rad = std::max(0.0, std::min({Radius, (R - L) / 2, (B - T) / 2}));
  EraseShape(Bounds, [=](double X, double Y) { return InsideRoundRect(X, Y, L, T, R, B, Rad); });
}

void Raster::FillRoundRect(double L, double T, double R, double B, double Radius, Colour C,
                           bool Crisp) {
  const TRect Bounds{static_cast<int>(std::floor(L)), static_cast<int>(std::floor(T)),
                     static_cast<int>(std::ceil(R)), static_cast<int>(std::ceil(B))};
  const double Rad = std::max(0.0, std::min({Radius, (R - L) / 2, (B - T) / 2}));
  FillShape(
      Bounds, [=](double X, double Y) { return InsideRoundRect(X, Y, L, T, R, B, Rad); }, C, Crisp);
}

void Raster::BorderedRoundRect(const TRect& R, double Radius, Colour Border, Colour Fill,
                               bool Crisp) {
  FillRoundRect(R.Left, R.Top, R.Right, R.Bottom, Radius, Border, Crisp);
  FillRoundRect(R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1, std::max(0.0, Radius - 1), Fill,
                Crisp);
}

void Raster::FillEllipse(double CX, double CY, double RX, double RY, Colour C, bool Crisp) {
  const TRect Bounds{static_cast<int>(std::floor(CX - RX)), static_cast<int>(std::floor(CY - RY)),
                     static_cast<int>(std::ceil(CX + RX)), static_cast<int>(std::ceil(CY + RY))};
  FillShape(
      Bounds,
      [=](double X, double Y) {
        const double DX = (X - CX) / RX;
        const double DY = (Y - CY) / RY;
        return DX * DX + DY * DY <= 1;
      },
      C, Crisp);
}

void Raster::FillPolygon(const std::vector<PointF>& Points, Colour C, bool Crisp) {
  if (Points.size() < 3) return;
  double L = Points[0].X, T = Points[0].Y, R = L, B = T;
  for (const PointF& P : Points) {
    L = std::min(L, P.X), R = std::max(R, P.X);
    T = std::min(T, P.Y), B = std::max(B, P.Y);
  }
  const TRect Bounds{static_cast<int>(std::floor(L)), static_cast<int>(std::floor(T)),
                     static_cast<int>(std::ceil(R)), static_cast<int>(std::ceil(B))};
  FillShape(
      Bounds,
      [&Points](double X, double Y) {
        bool In = false;  // even-odd rule
        for (size_t i = 0, j = Points.size() - 1; i < Points.size(); j = i++) {
          const PointF& A = Points[i];
          const PointF& Bp = Points[j];
          if ((A.Y > Y) != (Bp.Y > Y) && X < (Bp.X - A.X) * (Y - A.Y) / (Bp.Y - A.Y) + A.X)
            In = !In;
        }
        return In;
      },
      C, Crisp);
}

void Raster::Line(double X0, double Y0, double X1, double Y1, double Width, Colour C, bool Crisp) {
  const double H = Width / 2;
  const TRect Bounds{static_cast<int>(std::floor(std::min(X0, X1) - H)),
                     static_cast<int>(std::floor(std::min(Y0, Y1) - H)),
                     static_cast<int>(std::ceil(std::max(X0, X1) + H)),
                     static_cast<int>(std::ceil(std::max(Y0, Y1) + H))};
  FillShape(
      Bounds, [=](double X, double Y) { return SegmentDistance(X, Y, X0, Y0, X1, Y1) <= H; }, C,
      Crisp);
}

void Raster::Blend(const Raster& Source, int X, int Y) {
  for (int SY = 0; SY < Source.Height(); ++SY)
    for (int SX = 0; SX < Source.Width(); ++SX)
      Blend(X + SX, Y + SY, Source.Pixel(SX, SY), Source.Alpha(SX, SY) / 255.0);
}

TOwned<TBitmap> Raster::ToBitmap() const {
  TOwned<TBitmap> B = CreateOwned<TBitmap>();
  B->SetPixelFormat(pf24bit);
  B->SetSize(FWidth, FHeight);
  for (int Y = 0; Y < FHeight; ++Y) {
    auto* Row = static_cast<uint8_t*>(B->ScanLine(Y));
    for (int X = 0; X < FWidth; ++X) {
      const Colour C = Pixel(X, Y);
      Row[3 * X] = static_cast<uint8_t>(BlueOf(C));
      Row[3 * X + 1] = static_cast<uint8_t>(GreenOf(C));
      Row[3 * X + 2] = static_cast<uint8_t>(RedOf(C));
    }
  }
  return B;
}

TOwned<TPngImage> Raster::ToPng() const {
  TOwned<TPngImage> P = CreateOwned<TPngImage>();
  P->CreateBlank(COLOR_RGBALPHA, 8, FWidth, FHeight);
  for (int Y = 0; Y < FHeight; ++Y) {
    auto* Row = static_cast<uint8_t*>(P->Scanline(Y));
    Byte* A = P->AlphaScanline(Y);
    for (int X = 0; X < FWidth; ++X) {
      const int Al = Alpha(X, Y);
      // Fully transparent pixels carry black so two runs write the same bytes.
      const Colour C = Al == 0 ? 0 : Pixel(X, Y);
      Row[3 * X] = static_cast<uint8_t>(BlueOf(C));
      Row[3 * X + 1] = static_cast<uint8_t>(GreenOf(C));
      Row[3 * X + 2] = static_cast<uint8_t>(RedOf(C));
      A[X] = static_cast<Byte>(Al);
    }
  }
  return P;
}

}  // namespace vantrel::skingen
