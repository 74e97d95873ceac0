// Drawing routines of skingen: an RGBA pixel buffer with anti-aliased shapes (sampled on a
// 4 x 4 grid per pixel) or crisp ones (for pictures with a key colour, whose edges must not
// blend into the key), and its conversion to a 24-bit TBitmap or a PNG with alpha.
#pragma once

#include <functional>
#include <vector>

#include "platform/rtl/Types.h"
#include "platform/ui/Graphics.h"
#include "platform/ui/PngImage.h"
#include "tools/skingen/SkinGenSpec.h"

namespace vantrel::skingen {

struct PointF {
  double X;
  double Y;
};

class Raster {
 public:
  Raster(int AWidth, int AHeight, Colour Background, int Alpha = 255);

  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  // Adds rows of Background at the bottom.
  void GrowTo(int AHeight, Colour Background);

  Colour Pixel(int X, int Y) const;
  int Alpha(int X, int Y) const;
  void Set(int X, int Y, Colour C, int A = 255);
  // Draws C over the pixel with Coverage (0..1) of opacity.
  void Blend(int X, int Y, Colour C, double Coverage);

  void FillRect(const TRect& R, Colour C);
  // Sets the pixels of R to C with alpha A, whatever was there.
  void ClearRect(const TRect& R, Colour C, int A);
  void FrameRect(const TRect& R, Colour C);
  void VerticalGradient(const TRect& R, Colour Top, Colour Bottom);

  // Shapes in pixel coordinates (pixel X covers X..X+1). Crisp: every pixel whose centre
  // lies inside takes the colour fully.
  void FillShape(const TRect& Bounds, const std::function<bool(double, double)>& Inside, Colour C,
                 bool Crisp = false);
  void FillRoundRect(double L, double T, double R, double B, double Radius, Colour C,
                     bool Crisp = false);
  // A rounded rectangle with a one-pixel border: Border outside, Fill inside.
  void BorderedRoundRect(const TRect& R, double Radius, Colour Border, Colour Fill,
                         bool Crisp = false);
  void FillEllipse(double CX, double CY, double RX, double RY, Colour C, bool Crisp = false);
  void FillPolygon(const std::vector<PointF>& Points, Colour C, bool Crisp = false);
  void Line(double X0, double Y0, double X1, double Y1, double Width, Colour C, bool Crisp = false);

  // Makes the pixels of a shape transparent (by its coverage): holes in glyphs.
  void EraseShape(const TRect& Bounds, const std::function<bool(double, double)>& Inside);
  void EraseEllipse(double CX, double CY, double RX, double RY);
  void EraseRoundRect(double L, double T, double R, double B, double Radius);

  // Draws Source over the pixels at (X, Y) by its alpha.
  void Blend(const Raster& Source, int X, int Y);

  // 24-bit bitmap of the colours (alpha dropped).
  TOwned<TBitmap> ToBitmap() const;
  // Truecolour PNG with an alpha channel.
  TOwned<TPngImage> ToPng() const;

 private:
  int FWidth;
  int FHeight;
  std::vector<Colour> FColours;
  std::vector<uint8_t> FAlpha;
};

// Colour arithmetic.
Colour Mix(Colour A, Colour B, double T);

}  // namespace vantrel::skingen
