// The class library's graphics classes: colours, the font/pen/brush objects, the canvas
// on a device context, and the pictures (TGraphic, TBitmap, TPicture, TIcon). They sit
// on the GDI raster core of platform/win; the JPEG and PNG classes are in Jpeg.h and
// PngImage.h.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/rtl/Classes.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/Types.h"
#include "platform/win/Fonts.h"
#include "platform/win/SysColors.h"
#include "platform/win/WinTypes.h"

// ---------------------------------------------------------------------------------------
// Colours: TColor is 0x00BBGGRR; the system colours (clBtnFace ...) and ColorToRGB are in
// platform/win/SysColors.h.
constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;

constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clLtGray = 0xC0C0C0;
constexpr TColor clDkGray = 0x808080;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clMoneyGreen = 0xC0DCC0;
constexpr TColor clSkyBlue = 0xF0CAA6;
constexpr TColor clCream = 0xF0FBFF;
constexpr TColor clMedGray = 0xA4A0A0;

// ---------------------------------------------------------------------------------------
// Enumerations and sets

enum TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = TSet<TFontStyle>;
enum TFontPitch { fpDefault, fpVariable, fpFixed };
using TFontCharset = Byte;
using TFontName = String;

enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
enum TPenMode {
  pmBlack,
  pmWhite,
  pmNop,
  pmNot,
  pmCopy,
  pmNotCopy,
  pmMergePenNot,
  pmMaskPenNot,
  pmMergeNotPen,
  pmMaskNotPen,
  pmMerge,
  pmNotMerge,
  pmMask,
  pmNotMask,
  pmXor,
  pmNotXor
};
enum TBrushStyle { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross };

enum TCanvasStates { csHandleValid, csFontValid, csPenValid, csBrushValid };
using TCanvasState = TSet<TCanvasStates>;

// Raster operations of CopyRect and Draw (Windows' values).
using TCopyMode = Integer;
constexpr TCopyMode cmBlackness = 0x00000042;
constexpr TCopyMode cmDstInvert = 0x00550009;
constexpr TCopyMode cmMergeCopy = 0x00C000CA;
constexpr TCopyMode cmMergePaint = 0x00BB0226;
constexpr TCopyMode cmNotSrcCopy = 0x00330008;
constexpr TCopyMode cmNotSrcErase = 0x001100A6;
constexpr TCopyMode cmPatCopy = 0x00F00021;
constexpr TCopyMode cmPatInvert = 0x005A0049;
constexpr TCopyMode cmPatPaint = 0x00FB0A09;
constexpr TCopyMode cmSrcAnd = 0x008800C6;
constexpr TCopyMode cmSrcCopy = 0x00CC0020;
constexpr TCopyMode cmSrcErase = 0x00440328;
constexpr TCopyMode cmSrcInvert = 0x00660046;
constexpr TCopyMode cmSrcPaint = 0x00EE0086;
constexpr TCopyMode cmWhiteness = 0x00FF0062;

enum TPixelFormat { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfCustom };
enum TBitmapHandleType { bmDIB, bmDDB };
enum TTransparentMode { tmAuto, tmFixed };

class TCanvas;
class TGraphic;
class TBitmap;

// A named resource that the module does not hold.
VANTREL_EXCEPTION(EResNotFound, Exception);

// ---------------------------------------------------------------------------------------
// Font, pen and brush: each owns its GDI handle, made on first use and remade after a
// change. OnChange fires after every change (a canvas using the object deselects the old
// handle then).

class TGraphicsObject : public TPersistent {
  VANTREL_CLASS(TGraphicsObject)
  TNotifyEvent OnChange;

 protected:
  virtual void Changed();
};

class TFont : public TGraphicsObject {
  VANTREL_CLASS(TFont)
  TFont();
  ~TFont() override;

  // Copies name, height, style, colour, charset and pitch from another TFont.
  void Assign(TPersistent* Source) override;

  HFONT Handle();
  const TFontName& Name() const { return FName; }
  void SetName(const TFontName& Value);
  // > 0: cell height; < 0: character height, in pixels.
  Integer Height() const { return FHeight; }
  void SetHeight(Integer Value);
  // Points at PixelsPerInch: Size = -Height * 72 / PixelsPerInch, rounded.
  Integer Size() const;
  void SetSize(Integer Value);
  TFontStyles Style() const { return FStyle; }
  void SetStyle(TFontStyles Value);
  TColor Color() const { return FColor; }
  void SetColor(TColor Value);
  TFontCharset Charset() const { return FCharset; }
  void SetCharset(TFontCharset Value);
  TFontPitch Pitch() const { return FPitch; }
  void SetPitch(TFontPitch Value);
  Integer PixelsPerInch() const { return FPixelsPerInch; }
  void SetPixelsPerInch(Integer Value) { FPixelsPerInch = Value; }

 protected:
  void Changed() override;

 private:
  void FreeHandle();
  TFontName FName;
  Integer FHeight;
  TFontStyles FStyle;
  TColor FColor;
  TFontCharset FCharset = DEFAULT_CHARSET;
  TFontPitch FPitch = fpDefault;
  Integer FPixelsPerInch = 96;
  HFONT FHandle = nullptr;
};

class TPen : public TGraphicsObject {
  VANTREL_CLASS(TPen)
  TPen() = default;
  ~TPen() override;

  void Assign(TPersistent* Source) override;

  HPEN Handle();
  TColor Color() const { return FColor; }
  void SetColor(TColor Value);
  Integer Width() const { return FWidth; }
  void SetWidth(Integer Value);
  TPenStyle Style() const { return FStyle; }
  void SetStyle(TPenStyle Value);
  TPenMode Mode() const { return FMode; }
  void SetMode(TPenMode Value);

 protected:
  void Changed() override;

 private:
  void FreeHandle();
  TColor FColor = clBlack;
  Integer FWidth = 1;
  TPenStyle FStyle = psSolid;
  TPenMode FMode = pmCopy;
  HPEN FHandle = nullptr;
};

class TBrush : public TGraphicsObject {
  VANTREL_CLASS(TBrush)
  TBrush() = default;
  ~TBrush() override;

  void Assign(TPersistent* Source) override;

  HBRUSH Handle();
  TColor Color() const { return FColor; }
  // A colour makes a clear brush solid again.
  void SetColor(TColor Value);
  TBrushStyle Style() const { return FStyle; }
  void SetStyle(TBrushStyle Value);

 protected:
  void Changed() override;

 private:
  void FreeHandle();
  TColor FColor = clWhite;
  TBrushStyle FStyle = bsSolid;
  HBRUSH FHandle = nullptr;
};

// ---------------------------------------------------------------------------------------
// A drawing surface on a device context. The handle is either set from outside (a
// window's or a foreign DC, which the canvas never deletes; SetHandle(0) detaches it and
// leaves the stock objects selected) or made on demand by a derived class (a bitmap's
// canvas). Pen, brush and font are selected lazily before each drawing operation.
class TCanvas : public TPersistent {
  VANTREL_CLASS(TCanvas)
  TCanvas();
  ~TCanvas() override;

  // Raises EInvalidOperation "Canvas does not allow drawing" when no handle can be made.
  HDC Handle();
  void SetHandle(HDC Value);
  bool HandleAllocated() const { return FHandle != nullptr; }

  TFont* Font() const { return FFont.get(); }
  void SetFont(TFont* Value) { FFont->Assign(Value); }
  TPen* Pen() const { return FPen.get(); }
  void SetPen(TPen* Value) { FPen->Assign(Value); }
  TBrush* Brush() const { return FBrush.get(); }
  void SetBrush(TBrush* Value) { FBrush->Assign(Value); }
  TCopyMode CopyMode() const { return FCopyMode; }
  void SetCopyMode(TCopyMode Value) { FCopyMode = Value; }
  // Flags of ExtTextOut in TextRect (ETO_CLIPPED is always added there).
  Integer TextFlags() const { return FTextFlags; }
  void SetTextFlags(Integer Value) { FTextFlags = Value; }
  TPoint PenPos();
  void SetPenPos(TPoint Value) { MoveTo(Value.X, Value.Y); }
  TRect ClipRect();
  TColor Pixels(Integer X, Integer Y);
  void SetPixels(Integer X, Integer Y, TColor Value);

  void MoveTo(Integer X, Integer Y);
  void LineTo(Integer X, Integer Y);
  void Polyline(const std::vector<TPoint>& Points);
  void Polygon(const std::vector<TPoint>& Points);
  void Rectangle(Integer X1, Integer Y1, Integer X2, Integer Y2);
  void Rectangle(const TRect& Rect) { Rectangle(Rect.Left, Rect.Top, Rect.Right, Rect.Bottom); }
  void RoundRect(Integer X1, Integer Y1, Integer X2, Integer Y2, Integer X3, Integer Y3);
  void Ellipse(Integer X1, Integer Y1, Integer X2, Integer Y2);
  void Ellipse(const TRect& Rect) { Ellipse(Rect.Left, Rect.Top, Rect.Right, Rect.Bottom); }
  void FillRect(const TRect& Rect);
  void FrameRect(const TRect& Rect);
  // The dotted focus rectangle; drawn twice it is gone.
  void DrawFocusRect(const TRect& Rect);

  // Draws Graphic at its own size / stretched into Rect (transparency as the graphic says).
  void Draw(Integer X, Integer Y, TGraphic* Graphic);
  void StretchDraw(const TRect& Rect, TGraphic* Graphic);
  // Stretches Source of Canvas into Dest with CopyMode.
  void CopyRect(const TRect& Dest, TCanvas* Canvas, const TRect& Source);

  void TextOut(Integer X, Integer Y, const String& Text);
  // Text at (X, Y) clipped to Rect; the rectangle is filled first unless the brush is clear.
  void TextRect(const TRect& Rect, Integer X, Integer Y, const String& Text);
  TSize TextExtent(const String& Text);
  Integer TextWidth(const String& Text) { return TextExtent(Text).cx; }
  Integer TextHeight(const String& Text) { return TextExtent(Text).cy; }

  // Deselects the canvas's objects so the next operation selects them afresh.
  void Refresh();

  // Serialises drawing between threads (a recursive lock).
  void Lock();
  void Unlock();
  bool TryLock();
  Integer LockCount() const { return FLockCount; }

  TNotifyEvent OnChange;
  TNotifyEvent OnChanging;

 protected:
  virtual void CreateHandle() {}
  virtual void Changing();
  virtual void Changed();
  void RequiredState(TCanvasState ReqState);
  // Detaches the handle without touching the derived class's own objects.
  void DeselectHandles();

 private:
  void CreateFont();
  void CreatePen();
  void CreateBrush();
  void FontChanged(TObject*);
  void PenChanged(TObject*);
  void BrushChanged(TObject*);

  HDC FHandle = nullptr;
  TCanvasState FState;
  std::unique_ptr<TFont> FFont;
  std::unique_ptr<TPen> FPen;
  std::unique_ptr<TBrush> FBrush;
  TCopyMode FCopyMode = cmSrcCopy;
  Integer FTextFlags = 0;
  std::recursive_mutex FLock;
  Integer FLockCount = 0;
};

// ---------------------------------------------------------------------------------------
// Pictures

class TGraphic : public TPersistent {
 public:
  const char* ClassName() const override { return "TGraphic"; }

  virtual bool Empty() const = 0;
  virtual Integer Width() const = 0;
  virtual Integer Height() const = 0;
  virtual void SetWidth(Integer Value) = 0;
  virtual void SetHeight(Integer Value) = 0;
  virtual void SetSize(Integer AWidth, Integer AHeight);
  virtual bool Transparent() const { return FTransparent; }
  virtual void SetTransparent(bool Value);
  bool Modified() const { return FModified; }
  void SetModified(bool Value);

  // Opens the file (TFileStream errors pass on) and reads/writes it as a stream.
  virtual void LoadFromFile(const String& FileName);
  virtual void SaveToFile(const String& FileName);
  virtual void LoadFromStream(TStream* Stream) = 0;
  virtual void SaveToStream(TStream* Stream) = 0;

  // An empty graphic of the same class (TPicture copies graphics through it).
  virtual TOwned<TGraphic> NewEmpty() const = 0;

  TNotifyEvent OnChange;

 protected:
  friend class TCanvas;
  virtual void Draw(TCanvas* ACanvas, const TRect& Rect) = 0;
  virtual void Changed(TObject* Sender);

 private:
  bool FTransparent = false;
  bool FModified = false;
};

namespace vantrel::ui {
struct BitmapImage;
}

// A bitmap on a DIB section. pfDevice (the default) is a device bitmap (bmDDB) of the
// screen's depth, 32 bpp; every explicit pixel format is a bottom-up DIB (bmDIB) of that
// depth, with a colour table up to 8 bpp. ScanLine(y) is the visual row y. New pixels are
// white; resizing keeps the picture at the top left.
class TBitmap : public TGraphic {
  VANTREL_CLASS(TBitmap)
  TBitmap();
  ~TBitmap() override;

  void Assign(TPersistent* Source) override;

  bool Empty() const override;
  Integer Width() const override;
  Integer Height() const override;
  void SetWidth(Integer Value) override;
  void SetHeight(Integer Value) override;
  void SetSize(Integer AWidth, Integer AHeight) override;

  TCanvas* Canvas();
  // The bitmap's handle (made when needed for a non-empty size; 0 when empty).
  HBITMAP Handle();
  bool HandleAllocated() const;
  // Takes Value over (it becomes this bitmap's own); 0 empties the bitmap. A DIB section
  // is kept as it is; a device bitmap is copied into a 32 bpp one and freed.
  void SetHandle(HBITMAP Value);
  // Gives the handle up to the caller; the bitmap becomes empty.
  HBITMAP ReleaseHandle();

  TBitmapHandleType HandleType() const;
  void SetHandleType(TBitmapHandleType Value);
  TPixelFormat PixelFormat() const;
  // Converts the pixels (nearest colour of the table below 16 bpp).
  void SetPixelFormat(TPixelFormat Value);
  // Address of the visual row Row; raises EInvalidGraphicOperation "Scan line index out
  // of range" outside 0..Height-1. A device bitmap becomes a 32 bpp DIB first.
  void* ScanLine(Integer Row);

  // Colour table of a 1, 4 or 8 bpp bitmap (as RGB TColor values), empty otherwise.
  std::vector<TColor> ColorTable() const;
  void SetColorTable(const std::vector<TColor>& Colors);

  // tmAuto: the bottom-left pixel; tmFixed: the colour set.
  TColor TransparentColor();
  void SetTransparentColor(TColor Value);
  TTransparentMode TransparentMode() const { return FTransparentMode; }
  void SetTransparentMode(TTransparentMode Value);

  // The BMP file image: 14-byte file header, 40-byte info header, colour table up to
  // 8 bpp, rows bottom-up padded to 4 bytes. Reading consumes exactly one image.
  void LoadFromStream(TStream* Stream) override;
  void SaveToStream(TStream* Stream) override;
  // Loads the RT_BITMAP resource ResName (a packed DIB, every depth and its alpha kept).
  // Raises EResNotFound "Resource %s not found" when the module has none of that name.
  void LoadFromResourceName(HINSTANCE Instance, const String& ResName);

  // Nothing to release here: the pixels always live in the handle.
  void Dormant() {}
  void FreeImage() {}

  TOwned<TGraphic> NewEmpty() const override;

 protected:
  void Draw(TCanvas* ACanvas, const TRect& Rect) override;
  void Changed(TObject* Sender) override;

 private:
  friend class TBitmapCanvas;
  void ReplaceImage(std::unique_ptr<vantrel::ui::BitmapImage> Image);
  void FreeCanvasContext();
  std::unique_ptr<vantrel::ui::BitmapImage> NewImage(Integer AWidth, Integer AHeight);
  void ReadBmpImage(const std::function<void(void*, size_t)>& Read, uint64_t Available);

  std::unique_ptr<vantrel::ui::BitmapImage> FImage;  // nil while empty
  std::unique_ptr<TCanvas> FCanvas;
  Integer FWidth = 0;
  Integer FHeight = 0;
  TPixelFormat FPixelFormat = pfDevice;
  TColor FTransparentColor = clDefault;
  TTransparentMode FTransparentMode = tmAuto;
};

// A picture of any graphic class, loaded by file extension.
class TPicture : public TPersistent {
  VANTREL_CLASS(TPicture)
  TPicture();
  ~TPicture() override;

  void Assign(TPersistent* Source) override;

  TGraphic* Graphic() const { return FGraphic.get(); }
  // Holds a copy of Value (of Value's class); nil clears.
  void SetGraphic(TGraphic* Value);
  // The graphic as a bitmap; another class of graphic is replaced by an empty bitmap.
  TBitmap* Bitmap();
  void SetBitmap(TBitmap* Value) { SetGraphic(Value); }
  Integer Width() const;
  Integer Height() const;

  // ".bmp", ".jpg"/".jpeg"/".jpe", ".png" (any letter case); another extension raises
  // EInvalidGraphic "Unknown picture file extension (.%s)".
  void LoadFromFile(const String& FileName);
  void SaveToFile(const String& FileName);

  TNotifyEvent OnChange;

 protected:
  void AssignTo(TPersistent* Dest) override;
  virtual void Changed(TObject* Sender);

 private:
  void TakeGraphic(TOwned<TGraphic> Value);
  TOwned<TGraphic> FGraphic;
};

// An icon handle with its size. Drawing uses DrawIconEx.
class TIcon : public TGraphic {
  VANTREL_CLASS(TIcon)
  TIcon() = default;
  ~TIcon() override;

  // From another TIcon: a copy of its icon.
  void Assign(TPersistent* Source) override;

  HICON Handle() const { return FHandle; }
  // Takes Value over; the previous icon is destroyed.
  void SetHandle(HICON Value);
  HICON ReleaseHandle();
  bool HandleAllocated() const { return FHandle != nullptr; }

  bool Empty() const override { return FHandle == nullptr; }
  Integer Width() const override { return FWidth; }
  Integer Height() const override { return FHeight; }
  // An icon's size comes from its handle: raises EInvalidGraphicOperation "Cannot change
  // the size of an icon".
  void SetWidth(Integer Value) override;
  void SetHeight(Integer Value) override;

  // Icon files are not read or written here: raise EInvalidGraphicOperation.
  void LoadFromStream(TStream* Stream) override;
  void SaveToStream(TStream* Stream) override;

  TOwned<TGraphic> NewEmpty() const override;

 protected:
  void Draw(TCanvas* ACanvas, const TRect& Rect) override;

 private:
  HICON FHandle = nullptr;
  Integer FWidth = 0;
  Integer FHeight = 0;
};

// ---------------------------------------------------------------------------------------
// Free routines

namespace vantrel::ui {

// Blends Width x Height straight-alpha pixels (0xAARRGGBB, top-down rows) onto Canvas,
// stretched into Dest by the nearest pixel: each channel = (src * a + dst * (255 - a) +
// 127) / 255. Honours the canvas's clip and origins.
void BlendPixels(TCanvas* Canvas, const TRect& Dest, Integer Width, Integer Height,
                 const uint32_t* Pixels);

}  // namespace vantrel::ui
