// The skin engine's working bitmap: 32-bit top-down pixels addressed directly, the
// pixel-kernel table its loops run through, the drawing routines that put it on device
// contexts, canvases and other working bitmaps, colour values and HSL adjustments, fills,
// merging and reflections.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <limits>

#include "platform/rtl/Classes.h"
#include "platform/rtl/Types.h"
#include "platform/win/Gdi.h"
#include "platform/win/SysColors.h"
#include "platform/win/WinTypes.h"

class TCanvas;
class TBitmap;
class TGraphic;
class TStream;

// The pixel of the working bitmaps: alpha in the top byte, then red, green, blue (bytes
// blue, green, red, alpha in memory). Not premultiplied.
using TspColor = uint32_t;
using PspColorArray = TspColor*;

// Pixels whose low 24 bits are the key colour are not drawn.
constexpr TspColor spKeyColor = 0x7F007F;
// A key pixel as the transparency check writes it (alpha 0).
constexpr TspColor spTransparentKey = 0x007F007F;

static_assert(std::numeric_limits<long double>::digits == 64,
              "pixel arithmetic expects the 64-bit mantissa of x87 extended precision");

// ---------------------------------------------------------------------------------------
// Pixel kernels
// ---------------------------------------------------------------------------------------

// Counts are in pixels; a count of 0 or less, and a rectangle with X2 < X1 or Y2 < Y1, do
// nothing. Rectangles are inclusive and use row stride Width.
struct TspPixelKernels {
  TspColor (*BlendPixel)(TspColor F, TspColor B);
  void (*BlendRow)(const TspColor* Src, TspColor* Dst, Integer Count);
  void (*CopyRowKeyed)(const TspColor* Src, TspColor* Dst, Integer Count);
  void (*MoveRow)(const TspColor* Src, TspColor* Dst, Integer Count);
  void (*FillRow)(TspColor* Dst, Integer Count, TspColor Value);
  void (*FillPixelRect)(TspColor* Bits, Integer Width, Integer Height, Integer X1, Integer Y1,
                        Integer X2, Integer Y2, TspColor Value);
  void (*SetRowAlpha)(TspColor* Dst, Integer Count, Byte Alpha);
  void (*SetRectAlpha)(TspColor* Bits, Integer Width, Integer Height, Integer X1, Integer Y1,
                       Integer X2, Integer Y2, Byte Alpha);
};

// Filled at start-up, read-only afterwards (GUI thread).
extern TspPixelKernels PixelKernels;
extern Boolean MMXEnabled;

Boolean IsMMXSupported();
Boolean InitPixelKernels();
void EmptyMMXState();
void LoadTransparentBlt();
Boolean IsTransparentBltAvailable();

namespace vantrel::skin {

// The two forms of the blends. Plain: channel = (F*a + B*(255-a)) div 256, result opaque,
// alpha 0 and 255 short-cut. MMX (run on SSE2): each of the four bytes =
// (F*a + B*(256-a)) div 256, no short-cut in BlendPixel; BlendRow skips alpha 0 and copies
// alpha 255.
TspColor BlendPixelPlain(TspColor F, TspColor B);
void BlendRowPlain(const TspColor* Src, TspColor* Dst, Integer Count);
TspColor BlendPixelMMX(TspColor F, TspColor B);
void BlendRowMMX(const TspColor* Src, TspColor* Dst, Integer Count);
// BlendRowMMX's results, eight pixels a step where the processor has AVX2 (elsewhere it is
// BlendRowMMX); the vector forms use it when HasAVX2().
void BlendRowAVX2(const TspColor* Src, TspColor* Dst, Integer Count);
bool HasAVX2();

// The single-form entries of the table.
void CopyRowKeyed(const TspColor* Src, TspColor* Dst, Integer Count);
void MoveRow(const TspColor* Src, TspColor* Dst, Integer Count);
void FillRow(TspColor* Dst, Integer Count, TspColor Value);
void FillPixelRect(TspColor* Bits, Integer Width, Integer Height, Integer X1, Integer Y1,
                   Integer X2, Integer Y2, TspColor Value);
void SetRowAlpha(TspColor* Dst, Integer Count, Byte Alpha);
void SetRectAlpha(TspColor* Bits, Integer Width, Integer Height, Integer X1, Integer Y1, Integer X2,
                  Integer Y2, Byte Alpha);

// Puts the MMX (with the AVX2 row where the processor has it) or the plain blends into
// the table (tests and benchmarks).
void SelectBlendForms(Boolean UseMMX);

}  // namespace vantrel::skin

// ---------------------------------------------------------------------------------------
// Colour values and HSL
// ---------------------------------------------------------------------------------------

// $00BBGGRR -> $FFRRGGBB.
TspColor ColorRefToSpColor(COLORREF C);
// The colour's current RGB value (system colours resolved) with the given alpha.
TspColor ColorToSpColor(TColor Color, Byte Alpha);
// R, G, B clamped to 0..255.
TspColor MakeSpColor(SmallInt R, SmallInt G, SmallInt B, Byte A);
// Hue, saturation and lightness in 0..1 as singles.
void SpColorToHSL(TspColor C, Single& H, Single& S, Single& L);
TspColor HSLToSpColor(Single H, Single S, Single L);
TspColor SetColorHue(TspColor C, Integer Hue);
TspColor ChangeColorHue(TspColor C, Integer Delta);
TspColor ChangeColorSat(TspColor C, Integer Delta);
TspColor ChangeColorBrightness(TspColor C, Integer Delta);

// ---------------------------------------------------------------------------------------
// The working bitmap
// ---------------------------------------------------------------------------------------

// A 32-bit top-down DIB section with its own memory device context: row y starts at
// Bits() + y * Width(). Empty (no DIB) until the first successful SetSize; never empty
// again afterwards.
class TspBitmap : public TPersistent {
  VANTREL_CLASS(TspBitmap)

  TspBitmap();
  ~TspBitmap() override;

  // Negative sizes count as their absolute values; a zero width or height, or the current
  // size, changes nothing. A real resize makes a new DIB of zero pixels. Raises Exception
  // when the DIB, the DC or the selection fails.
  void SetSize(Integer AWidth, Integer AHeight);
  Boolean Empty() const { return FHandle == nullptr; }
  void Clear(TspColor Color);

  HBITMAP Handle() const { return FHandle; }
  HDC DC() const { return FDC; }
  // Made on first use, on the bitmap's device context.
  TCanvas* Canvas();
  PspColorArray Bits() const { return FBits; }
  Integer Width() const { return FWidth; }
  Integer Height() const { return FHeight; }
  Boolean AlphaBlend() const { return FAlphaBlend; }
  void SetAlphaBlend(Boolean Value) { FAlphaBlend = Value; }
  Boolean Transparent() const { return FTransparent; }
  void SetTransparent(Boolean Value) { FTransparent = Value; }
  const String& Name() const { return FName; }
  void SetName(const String& Value) { FName = Value; }
  Boolean NewFormat() const { return FNewFormat; }
  void SetNewFormat(Boolean Value) { FNewFormat = Value; }

  // No bounds checks.
  TspColor* GetScanLinePtr(Integer Y) const;
  TspColor* GetPixelPtr(Integer X, Integer Y) const;
  // 0 / nothing outside the bitmap.
  TspColor GetPixelValue(Integer X, Integer Y) const;
  void SetPixelValue(Integer X, Integer Y, TspColor Value);

  void Assign(TPersistent* Source) override;
  void LoadFromResource(const String& ResFileName, const String& ResName);
  // Name (UTF-16 code units), width, height, pixels top row first; a negative height
  // means rows stored bottom-up.
  void LoadFromStream(TStream& Stream);
  void SaveToStream(TStream& Stream) const;
  // 8-bit palettised PCX.
  void LoadFromPcxStream(TStream& Stream);
  // Graphic stretched into DstRect; pixels where the graphic leaves fuchsia stay as they are.
  void DrawGraphic(TGraphic* Graphic, const TRect& DstRect);
  void FlipVert();

  // Alpha checks.
  void CheckRGBA();
  void CheckingAlphaBlend();
  void CheckingAlphaBlend(const TRect& ARect);
  void CheckingTransparent(TspColor Color);
  void CheckingTransparent(const TRect& ARect, TspColor Color);
  void SetAlpha(Byte Alpha);
  void SetAlpha(Byte Alpha, const TRect& Rect);

  // Colour adjustments of every pixel whose alpha is not 0; the alpha byte is kept.
  void SetBitmapHue(Integer Hue);
  void ChangeBitmapHue(Integer DeltaHue);
  void ChangeBitmapSat(Integer DeltaSat);
  void ChangeBitmapBrightness(Integer DeltaBrightness);

  // Drawing: AlphaBlend first, then Transparent (key colour), else a copy; a destination
  // rectangle of another size stretches by nearest-neighbour index tables.
  void Draw(HDC DC, Integer X, Integer Y);
  void Draw(HDC DC, Integer X, Integer Y, const TRect& SrcRect);
  void Draw(HDC DC, const TRect& DstRect);
  void Draw(HDC DC, const TRect& DstRect, const TRect& SrcRect);
  void Draw(TCanvas* Canvas, Integer X, Integer Y);
  void Draw(TCanvas* Canvas, Integer X, Integer Y, const TRect& SrcRect);
  void Draw(TCanvas* Canvas, const TRect& DstRect);
  void Draw(TCanvas* Canvas, const TRect& DstRect, const TRect& SrcRect);
  void Draw(TspBitmap* Bitmap, Integer X, Integer Y);
  void Draw(TspBitmap* Bitmap, Integer X, Integer Y, const TRect& SrcRect);
  void Draw(TspBitmap* Bitmap, const TRect& DstRect);
  void Draw(TspBitmap* Bitmap, const TRect& DstRect, const TRect& SrcRect);
  // SrcRect repeated over DstRect; the last column and row are cut (top-left part of the
  // source).
  void Tile(HDC DC, const TRect& DstRect, const TRect& SrcRect);
  void Tile(TCanvas* Canvas, const TRect& DstRect, const TRect& SrcRect);
  void Tile(TspBitmap* Bitmap, const TRect& DstRect, const TRect& SrcRect);
  // As Tile, drawing only the tiles that meet DstClip (all when DstClip is empty).
  void TileClip(HDC DC, const TRect& DstRect, const TRect& DstClip, const TRect& SrcRect);
  void TileClip(TCanvas* Canvas, const TRect& DstRect, const TRect& DstClip, const TRect& SrcRect);
  void TileClip(TspBitmap* Bitmap, const TRect& DstRect, const TRect& DstClip,
                const TRect& SrcRect);
  // Bitmap drawn behind this bitmap's pixels, SrcRect's top-left at (X, Y).
  void MergeDraw(TspBitmap* Bitmap, Integer X, Integer Y, const TRect& SrcRect);

  // Fills R clipped to the bitmap: blended with AlphaBlend set, else all four bytes set.
  void FillRect(const TRect& R, TspColor Color);
  // Flipped and faded from alpha / 3 (/ 4, / 2) at the top to 0 at the middle.
  void Reflection();
  void Reflection2();
  void Reflection3();

  // Declared for compatibility; they draw nothing (the text operations return 0).
  void DrawBevel(const TRect& /*R*/, TspColor /*Color*/, Integer /*Width*/, Boolean /*Down*/) {}
  void DrawEdge(const TRect& /*R*/, TspColor /*RaisedColor*/, TspColor /*SunkenColor*/) {}
  void DrawEllipse(const TRect& /*R*/, TspColor /*Color*/) {}
  void DrawFocusRect(const TRect& /*R*/, TspColor /*Color*/) {}
  void DrawLine(const TRect& /*R*/, TspColor /*Color*/) {}
  void DrawRect(const TRect& /*R*/, TspColor /*Color*/) {}
  void FillEllipse(const TRect& /*R*/, TspColor /*Color*/) {}
  void DrawRoundRect(const TRect& /*R*/, Integer /*Radius*/, TspColor /*Color*/) {}
  void FillRoundRect(const TRect& /*R*/, Integer /*Radius*/, TspColor /*Color*/) {}
  void DrawPolygon(std::initializer_list<TPoint> /*Points*/, TspColor /*Color*/) {}
  void FillPolygon(std::initializer_list<TPoint> /*Points*/, TspColor /*Color*/) {}
  void FillHalftonePolygon(std::initializer_list<TPoint> /*Points*/, TspColor /*Color*/,
                           TspColor /*HalfColor*/) {}
  void FillHalftoneRect(const TRect& /*R*/, TspColor /*Color*/, TspColor /*HalfColor*/) {}
  void FillGradientRect(const TRect& /*Rect*/, TspColor /*BeginColor*/, TspColor /*EndColor*/,
                        Boolean /*Vertical*/) {}
  void FillRadialGradientRect(const TRect& /*Rect*/, TspColor /*BeginColor*/, TspColor /*EndColor*/,
                              const TPoint& /*Pos*/) {}
  void MoveTo(Integer /*X*/, Integer /*Y*/) {}
  void LineTo(Integer /*X*/, Integer /*Y*/, TspColor /*Color*/) {}
  Integer DrawText(const WideString& /*AText*/, TRect& /*Bounds*/, Cardinal /*Flag*/) { return 0; }
  Integer DrawText(const WideString& /*AText*/, Integer /*X*/, Integer /*Y*/) { return 0; }
  Integer DrawVerticalText(const WideString& /*AText*/, const TRect& /*Bounds*/, Cardinal /*Flag*/,
                           Boolean /*FromTop*/) {
    return 0;
  }
  Integer TextWidth(const WideString& /*AText*/, Integer /*Flags*/ = 0) { return 0; }
  Integer TextHeight(const WideString& /*AText*/) { return 0; }

 protected:
  void AssignTo(TPersistent* Dest) override;

 private:
  void ReleaseDib();
  void ReflectionWith(Integer Divisor);
  template <class Adjust>
  void AdjustColors(Adjust adjust);

  PspColorArray FBits = nullptr;
  Integer FWidth = 0;
  Integer FHeight = 0;
  String FName;
  BITMAPINFO FBitmapInfo{};
  HBITMAP FHandle = nullptr;
  HDC FDC = nullptr;
  TOwned<TCanvas> FCanvas;
  Boolean FAlphaBlend = false;
  Boolean FTransparent = false;
  Boolean FNewFormat = false;
};

// The first live bitmap whose device context is DC, nil when none.
TspBitmap* FindBitmapByDC(HDC DC);

// The name field of the stream format: int32 count of UTF-16 code units, then the units.
void WriteStringToStream(TStream& Stream, const String& S);
String ReadStringFromStream(TStream& Stream);

// ---------------------------------------------------------------------------------------
// Drawing routines
// ---------------------------------------------------------------------------------------

struct TspDrawRoutines {
  using TDCRoutine = void (*)(HDC DC, Integer X, Integer Y, Integer W, Integer H, TspBitmap* Bitmap,
                              Integer SX, Integer SY, Integer SW, Integer SH);
  using TDIBWorker = void (*)(TspColor* Bits, const TRect& DstRect, const TRect& ClipRect,
                              Integer DIBWidth, Integer DIBHeight, TspBitmap* Source,
                              const TRect& SrcRect);
  using TBitmapWorker = void (*)(TspBitmap* Dest, const TRect& DstRect, const TRect& ClipRect,
                                 const TRect& SrcRect, TspBitmap* Source);
  using TRowsWorker = void (*)(TspBitmap* Dest, const TRect& ClipRect, TspBitmap* Source,
                               Integer SrcY, Integer SrcX);

  TDCRoutine DCCopy;
  TDCRoutine DCAlphaBlend;
  TDCRoutine DCTransparent;
  // Pixels of the 32-bit DIB section selected in DC with its header's size and bit count;
  // nil and zeros when DC holds no DIB section.
  void* (*GetDIBInfo)(HDC DC, Integer& Width, Integer& Height, Integer& BitCount);
  TDIBWorker DIBCopy;
  TDIBWorker DIBTransparent;
  TDIBWorker DIBAlphaBlend;
  TBitmapWorker BitmapCopy;
  TBitmapWorker BitmapTransparent;
  TBitmapWorker BitmapAlphaBlend;
  TRowsWorker BitmapCopyRows;
  TRowsWorker BitmapTransparentRows;
  TRowsWorker BitmapAlphaBlendRows;
};

extern TspDrawRoutines DrawRoutines;

Integer BitmapRectWidth(const TRect& R);
Integer BitmapRectHeight(const TRect& R);
Integer GetScreenColorDepth();
Boolean IsScreenTrueColor();

// ---------------------------------------------------------------------------------------
// Unit start-up and the live-bitmap list
// ---------------------------------------------------------------------------------------

// Fills DrawRoutines; returns whether TransparentBlt is used for keyed drawing onto DCs.
Boolean InitDrawRoutines();
// Frees the list of live bitmaps (unit finalization).
void FreeBitmapList();

// ---------------------------------------------------------------------------------------
// Stack blur and alpha from grey
// ---------------------------------------------------------------------------------------

// Blurs red, green and blue in place with triangle weights over 2 * Radius + 1 pixels,
// first along the rows, then along the columns, each pass truncated; edge pixels repeat.
// Every alpha becomes 255. Nothing for Radius <= 0.
void StackBlur(TspBitmap* Bitmap, Integer Radius);
// Alpha of every pixel := (red + green + blue) div 3 of Mask's pixel at the same place;
// colours unchanged. Pixels outside Mask keep their alpha.
void SetAlphaFromGray(TspBitmap* Bitmap, TspBitmap* Mask);

#include "skin/core/bitmaps/spEffBmp_Effects.h"
