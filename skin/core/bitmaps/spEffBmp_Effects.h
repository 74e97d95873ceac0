// The effect bitmap: a 24-bit top-down DIB section that skinned elements cross-fade
// between state images with (the morphs) and run the inactive-window look and other
// whole-image filters on. Also the bitmap link, a named rectangle of a working bitmap.
#pragma once

#include <functional>

#include "platform/rtl/Classes.h"
#include "platform/rtl/Types.h"
#include "platform/win/Gdi.h"
#include "platform/win/WinTypes.h"
#include "skin/core/bitmaps/spEffBmp.h"

class TCanvas;
class TStream;

namespace vantrel::skin {

// Random(n) of the noise filters: a uniformly distributed integer 0..n - 1, 0 when n <= 0.
using TRandomFunc = std::function<Integer(Integer Range)>;
// The process's generator (per thread, seeded once).
Integer ProcessRandom(Integer Range);

}  // namespace vantrel::skin

// ---------------------------------------------------------------------------------------
// The effect bitmap
// ---------------------------------------------------------------------------------------

// Rows top to bottom, each pixel blue, green, red; a row takes 3 * Width + Width mod 4
// bytes. The pixel helpers do not check bounds; every other operation stays inside both
// bitmaps it touches.
class TspEffectBmp : public TObject {
  VANTREL_CLASS(TspEffectBmp)

  // A new DIB section of cx x cy zero pixels; a size of 0 or less gives an empty bitmap
  // (no DIB, Width and Height 0). Raises EOutOfResources when the DIB cannot be made.
  TspEffectBmp(Integer cx, Integer cy);
  // The pixels of a bitmap handle (any GDI bitmap); empty when hBmp is not a bitmap.
  explicit TspEffectBmp(HBITMAP hBmp);
  // A copy of another effect bitmap.
  explicit TspEffectBmp(const TspEffectBmp* hBmp);
  ~TspEffectBmp() override;

  static TspEffectBmp* CreateFromhWnd(HBITMAP hBmp) { return Create(hBmp); }
  static TspEffectBmp* CreateCopy(const TspEffectBmp* hBmp) { return Create(hBmp); }

  HBITMAP Handle = nullptr;
  Integer Width = 0;
  Integer Height = 0;
  // Row stride x Height.
  Integer Size = 0;
  Byte* Bits = nullptr;
  BITMAPINFOHEADER BmpHeader{};
  BITMAPINFO BmpInfo{};

  Integer RowStride() const { return Width * 3 + Width % 4; }
  Byte* ScanLinePtr(Integer y) const { return Bits + static_cast<ptrdiff_t>(y) * RowStride(); }
  // blue + green * 2^8 + red * 2^16.
  Cardinal GetPixelRGB(Integer x, Integer y) const {
    const Byte* p = ScanLinePtr(y) + x * 3;
    return p[0] | (p[1] << 8) | (static_cast<Cardinal>(p[2]) << 16);
  }
  void SetPixelRGB(Integer x, Integer y, Cardinal Value) {
    Byte* p = ScanLinePtr(y) + x * 3;
    p[0] = static_cast<Byte>(Value);
    p[1] = static_cast<Byte>(Value >> 8);
    p[2] = static_cast<Byte>(Value >> 16);
  }
  // Width * 3 bytes of row y to / from Line.
  void GetScanLine(Integer y, void* Line) const;
  void SetScanLine(Integer y, const void* Line);

  void Draw(HDC hDC, Integer x, Integer y) const;
  void Stretch(HDC hDC, Integer x, Integer y, Integer cx, Integer cy) const;
  // The cx x cy part at (x, y) onto (hx, hy), unscaled.
  void DrawRect(HDC hDC, Integer hx, Integer hy, Integer x, Integer y, Integer cx,
                Integer cy) const;

  // Enlarging block copy into Dst.
  void Resize(TspEffectBmp* Dst) const;
  // Rows Rct.Top..Rct.Bottom and columns Rct.Left..Rct.Right, both inclusive (the right
  // and bottom edges lowered to the last column and row), from BMP at (StartX, StartY).
  void CopyRect(const TspEffectBmp* BMP, const TRect& Rct, Integer StartX, Integer StartY);

  // Transitions from this image (Kf 0) to BMP's (Kf 1). Kf is limited to 0..1, not a
  // number counting as 0. All but MorphRect do nothing unless BMP has this size.
  void Morph(const TspEffectBmp* BMP, Double Kf);
  // Rct (right and bottom excluded) mixed with BMP's pixels from (StartX, StartY); pixels
  // that fall outside either bitmap are skipped.
  void MorphRect(const TspEffectBmp* BMP, Double Kf, const TRect& Rct, Integer StartX,
                 Integer StartY);
  void MorphGrad(const TspEffectBmp* BMP, Double Kf);
  void MorphHGrad(const TspEffectBmp* BMP, Double Kf);
  void MorphVGrad(const TspEffectBmp* BMP, Double Kf);
  void MorphLeftGrad(const TspEffectBmp* BMP, Double Kf);
  void MorphRightGrad(const TspEffectBmp* BMP, Double Kf);
  void MorphLeftSlide(const TspEffectBmp* BMP, Double Kf);
  void MorphRightSlide(const TspEffectBmp* BMP, Double Kf);
  void MorphPush(const TspEffectBmp* BMP, Double Kf);

  // Filters, in place; rows from the top, pixels from the left.
  void ChangeBrightness(Double Kf);
  void ChangeDarkness(Double Kf);
  void Invert();
  void GrayScale();
  void SplitBlur(Integer Amount);
  void Mosaic(Integer ASize);
  void AddMonoNoise(Integer Amount);
  void AddMonoNoise(Integer Amount, const vantrel::skin::TRandomFunc& Random);
  void AddColorNoise(Integer Amount);
  void AddColorNoise(Integer Amount, const vantrel::skin::TRandomFunc& Random);
  // Into Dst, which must be Height wide and Width high (Rotate90_*) or of this size
  // (FlipVert); another size leaves Dst alone.
  void Rotate90_1(TspEffectBmp* Dst) const;
  void Rotate90_2(TspEffectBmp* Dst) const;
  void FlipVert(TspEffectBmp* Dst) const;
  void Wave(Integer XDIV, Integer YDIV, Integer RatioVal);
  // Pixels under a non-white pixel of Msk (white: red, green and blue all 255).
  void MaskAntialiasing(const TspEffectBmp* Msk, Integer Amount);
  void MaskBlur(const TspEffectBmp* Msk, Integer Amount);
  void MaskFillColor(const TspEffectBmp* Msk, TColor C, Double kf);

 private:
  void Allocate(Integer cx, Integer cy);
  void MaskFilter(const TspEffectBmp* Msk, Integer Amount, Boolean EdgesOnly);
};

// ---------------------------------------------------------------------------------------
// Bitmap links
// ---------------------------------------------------------------------------------------

// A named rectangle of a working bitmap (referenced, not owned), with whether its corners,
// edges or centre hold transparent or semi-transparent pixels.
class TspBitmapLink : public TPersistent {
  VANTREL_CLASS(TspBitmapLink)

  TspBitmapLink() = default;

  void Assign(TPersistent* Source) override;
  // The name (int32 count of UTF-16 units, then the units), then Left, Top, Right, Bottom
  // as int32; image and flags are not stored.
  void SaveToStream(TStream& Stream) const;
  void LoadFromStream(TStream& Stream);
  // Margin gives the corner and edge sizes; all zero: only Masked, for the whole rectangle.
  void CheckingMasked(const TRect& Margin);
  void CheckingMasked();
  // The rectangle of Image, unscaled at (X, Y); nothing without an image or an empty
  // rectangle.
  void Draw(TCanvas* Canvas, Integer X, Integer Y) const;
  void Draw(TspBitmap* Bitmap, Integer X, Integer Y) const;

  const String& Name() const { return FName; }
  void SetName(const String& Value) { FName = Value; }
  Integer Left() const { return FRect.Left; }
  void SetLeft(Integer Value) { FRect.Left = Value; }
  Integer Top() const { return FRect.Top; }
  void SetTop(Integer Value) { FRect.Top = Value; }
  Integer Right() const { return FRect.Right; }
  void SetRight(Integer Value) { FRect.Right = Value; }
  Integer Bottom() const { return FRect.Bottom; }
  void SetBottom(Integer Value) { FRect.Bottom = Value; }
  TspBitmap* Image() const { return FImage; }
  void SetImage(TspBitmap* Value) { FImage = Value; }
  const TRect& Rect() const { return FRect; }
  void SetRect(const TRect& Value) { FRect = Value; }
  Boolean Masked() const { return FMasked; }
  void SetMasked(Boolean Value) { FMasked = Value; }
  Boolean MaskedBorder() const { return FMaskedBorder; }
  void SetMaskedBorder(Boolean Value) { FMaskedBorder = Value; }
  Boolean MaskedAngles() const { return FMaskedAngles; }
  void SetMaskedAngles(Boolean Value) { FMaskedAngles = Value; }
  // An image and a rectangle of positive area.
  Boolean Assigned() const;

 private:
  TspBitmap* FImage = nullptr;
  TRect FRect{};
  String FName;
  Boolean FMaskedBorder = false;
  Boolean FMaskedAngles = false;
  Boolean FMasked = false;
};

// A new link to Rect of Bitmap, named after the bitmap (TspBitmap.GetBitmapLink); the
// string form reads the rectangle with TextToRect.
TOwned<TspBitmapLink> GetBitmapLink(TspBitmap* Bitmap, const TRect& Rect);
TOwned<TspBitmapLink> GetBitmapLink(TspBitmap* Bitmap, const String& Rect);

// Four integers separated by blanks or any of "(),:;=" into Left, Top, Right, Bottom;
// (0, 0, 0, 0) when any of them does not convert. Never raises.
void TextToRect(const String& S, TRect& R);
