// TPngImage: a PNG picture read and written with libpng. Every colour type of the format
// loads (grey, truecolour, palette, grey with alpha, truecolour with alpha, 1 to 16 bits
// per sample, interlaced or not) and is held at 8 bits per sample in its own colour type:
// one byte per pixel for grey and palette pictures, blue-green-red for truecolour, with a
// separate alpha plane for the alpha colour types. Drawing blends by the pixels' alpha.
#pragma once

#include <vector>

#include "platform/ui/Graphics.h"

// PNG colour types.
constexpr Byte COLOR_GRAYSCALE = 0;
constexpr Byte COLOR_RGB = 2;
constexpr Byte COLOR_PALETTE = 3;
constexpr Byte COLOR_GRAYSCALEALPHA = 4;
constexpr Byte COLOR_RGBALPHA = 6;

// ptmBit: a single transparent colour (or palette entries fully transparent or opaque);
// ptmPartial: an alpha channel or partly transparent palette entries.
enum TPNGTransparencyMode { ptmNone, ptmBit, ptmPartial };

struct TPngHeader {
  Integer Width = 0;
  Integer Height = 0;
  Byte BitDepth = 8;
  Byte ColorType = COLOR_RGB;
  Byte CompressionMethod = 0;
  Byte FilterMethod = 0;
  Byte InterlaceMethod = 0;
};

class TPngImage : public TGraphic {
  VANTREL_CLASS(TPngImage)
  TPngImage() = default;
  ~TPngImage() override = default;

  // From a TPngImage: a copy; from a TBitmap: a truecolour picture of its colours; nil: empty.
  void Assign(TPersistent* Source) override;

  bool Empty() const override { return FHeader.Width == 0 || FHeader.Height == 0; }
  Integer Width() const override { return FHeader.Width; }
  Integer Height() const override { return FHeader.Height; }
  // Resizes keeping the picture at the top left; new pixels are zero.
  void SetWidth(Integer Value) override { Resize(Value, FHeader.Height); }
  void SetHeight(Integer Value) override { Resize(FHeader.Width, Value); }
  void Resize(Integer AWidth, Integer AHeight);

  const TPngHeader& Header() const { return FHeader; }
  // A picture of that colour type and size, every sample zero (bit depth is always 8).
  void CreateBlank(Byte ColorType, Byte BitDepth, Integer AWidth, Integer AHeight);
  // Gives a grey or truecolour picture an alpha channel (types 4 and 6): opaque, but 0
  // where it had a single transparent colour; a palette picture gets an alpha per entry.
  void CreateAlpha();

  TPNGTransparencyMode TransparencyMode() const;
  // The single transparent colour of a grey or truecolour picture; clNone without one.
  TColor TransparentColor() const;
  void SetTransparentColor(TColor Value);

  // The colour of a pixel as RGB, whatever the colour type.
  TColor Pixels(Integer X, Integer Y) const;
  // Grey pictures take the colour's luminance, palette pictures the nearest entry.
  void SetPixels(Integer X, Integer Y, TColor Value);
  // The pixel's opacity from the alpha channel, the palette's alpha or the transparent
  // colour; 255 for an opaque picture.
  Byte PixelAlpha(Integer X, Integer Y) const;
  // Row Y of the samples (1 byte a pixel, or blue, green, red); of the alpha plane (nil
  // without an alpha channel).
  void* Scanline(Integer Y);
  Byte* AlphaScanline(Integer Y);

  // Palette pictures: the colours and the alpha of each entry (255 past the tRNS list).
  std::vector<TColor> PaletteColors() const;
  void SetPaletteColors(const std::vector<TColor>& Colors);
  Byte PaletteAlpha(Integer Index) const;
  void SetPaletteAlpha(Integer Index, Byte Alpha);

  // Reads exactly one PNG datastream (up to IEND). Raises EInvalidGraphic for data that is
  // not a PNG picture or is damaged.
  void LoadFromStream(TStream* Stream) override;
  void SaveToStream(TStream* Stream) override;

  TOwned<TGraphic> NewEmpty() const override;

  // Blends the picture by its alpha into Rect of ACanvas (stretched by the nearest pixel).
  void Draw(TCanvas* ACanvas, const TRect& Rect) override;

 protected:
  // To a TBitmap: pf32bit with the straight alpha for a picture with transparency,
  // otherwise pf24bit. To a TIcon: an icon of the picture's size, transparent where the
  // picture is.
  void AssignTo(TPersistent* Dest) override;

 private:
  int SamplesPerPixel() const;
  // The pixels as 0xAARRGGBB with straight alpha, rows top first.
  std::vector<uint32_t> ToArgb() const;
  size_t Index(Integer X, Integer Y) const { return static_cast<size_t>(Y) * FHeader.Width + X; }
  bool HasAlphaChannel() const {
    return FHeader.ColorType == COLOR_GRAYSCALEALPHA || FHeader.ColorType == COLOR_RGBALPHA;
  }
  void CheckPoint(Integer X, Integer Y) const;

  TPngHeader FHeader;
  std::vector<Byte> FData;    // top-down rows of 1 (grey, palette) or 3 (B, G, R) bytes a pixel
  std::vector<Byte> FAlpha;   // one byte a pixel for the alpha colour types
  std::vector<TColor> FPalette;
  std::vector<Byte> FPaletteAlpha;  // tRNS of a palette picture
  bool FHasTransparentColor = false;
  TColor FTransparentColorValue = 0;  // RGB at 8 bits; grey pictures have R = G = B
};
