// What the raster core shares with the rest of the platform layer (text, the window
// manager, the class library): the objects behind pens, brushes, bitmaps, regions and
// icons, and the device context with its target surface, coordinate transform, effective
// clip and a clipped pixel/span writer that honours the pen mix mode.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "platform/win/DibFormat.h"
#include "platform/win/Fonts.h"  // the font a new DC selects, the stock fonts
#include "platform/win/Gdi.h"
#include "platform/win/GdiObjects.h"
#include "platform/win/Regions.h"
#include "platform/win/Surface.h"

namespace vantrel::win {

// 32-bit pixel value (B,G,R,A in memory) of a COLORREF, alpha 0 as GDI writes it.
constexpr uint32_t PixelOf(COLORREF C) {
  return ((C & 0xFF) << 16) | (C & 0xFF00) | ((C >> 16) & 0xFF);
}
// COLORREF of a pixel (alpha dropped).
constexpr COLORREF ColorOfPixel(uint32_t P) {
  return ((P >> 16) & 0xFF) | (P & 0xFF00) | ((P & 0xFF) << 16);
}

// Applies a pen mix mode (R2_*) of pen pixel P onto destination pixel D. Modes that read
// the destination keep its alpha; the others write alpha 0.
uint32_t ApplyRop2(int Rop2, uint32_t D, uint32_t P);

class PenObject : public GdiObject {
 public:
  static bool IsKind(DWORD K) { return K == OBJ_PEN || K == OBJ_EXTPEN; }
  PenObject(DWORD Kind, UINT Style, int Width, COLORREF Color)
      : GdiObject(Kind), FStyle(Style), FWidth(Width), FColor(Color) {}
  int GetObjectData(int Size, void* Out) const override;

  UINT FStyle;  // PS_* style, type, end cap and join bits
  int FWidth;
  COLORREF FColor;
  UINT FBrushStyle = BS_SOLID;  // of an extended pen
  std::vector<DWORD> FUserStyle;

  UINT LineStyle() const { return FStyle & PS_STYLE_MASK; }
  bool Geometric() const { return (FStyle & PS_TYPE_MASK) == PS_GEOMETRIC; }
  bool Null() const { return LineStyle() == PS_NULL || FBrushStyle == BS_NULL; }
};

class BrushObject : public GdiObject {
 public:
  static bool IsKind(DWORD K) { return K == OBJ_BRUSH; }
  BrushObject(UINT Style, COLORREF Color, ULONG_PTR Hatch)
      : GdiObject(OBJ_BRUSH), FStyle(Style), FColor(Color), FHatch(Hatch) {}
  int GetObjectData(int Size, void* Out) const override;

  UINT FStyle;
  COLORREF FColor;
  ULONG_PTR FHatch;
  bool Null() const { return FStyle == BS_NULL; }
};

class RegionObject : public GdiObject {
 public:
  static bool IsKind(DWORD K) { return K == OBJ_REGION; }
  RegionObject() : GdiObject(OBJ_REGION) {}
  explicit RegionObject(Region R) : GdiObject(OBJ_REGION), FRegion(std::move(R)) {}
  int GetObjectData(int Size, void* Out) const override;
  Region FRegion;
};

// A bitmap: a DIB section (1, 4, 8, 16, 24 or 32 bpp, bits owned here and handed to the
// caller) or a device-dependent bitmap (32 bpp, or 1 bpp monochrome). Drawing always goes
// to a 32-bit Surface: for a 32 bpp DIB it wraps the caller's bits; for other depths it
// is a copy brought in before GDI reads (Pull) and written back after GDI draws (Push).
class BitmapObject : public GdiObject {
 public:
  static bool IsKind(DWORD K) { return K == OBJ_BITMAP; }
  // A DIB section from its header and colour table: bits zeroed, or left as they come
  // when the caller fills every byte of them right away (a picture being decoded).
  static std::shared_ptr<BitmapObject> CreateDib(const BITMAPINFO* Info, bool ClearBits = true);
  // A device-dependent bitmap: BitCount 1 (monochrome) or 32; top-down.
  static std::shared_ptr<BitmapObject> CreateDdb(int Width, int Height, int BitCount);
  int GetObjectData(int Size, void* Out) const override;

  int Width() const { return FFormat.Width; }
  int Height() const { return FFormat.Height; }
  int BitCount() const { return FFormat.BitCount; }
  bool IsDib() const { return FIsDib; }
  bool Mono() const { return FFormat.BitCount == 1; }
  bool BottomUp() const { return FFormat.BottomUp; }
  int RowBytes() const { return FFormat.RowBytes(); }
  uint8_t* Bits() { return FBits.get(); }
  const DibFormat& Format() const { return FFormat; }
  std::vector<RGBQUAD>& ColorTable() { return FFormat.Colors; }

  // The 32-bit pixels GDI draws on. A DIB section of another depth gets them when they
  // are first asked for (read from its bits), so a picture that is loaded and never drawn
  // costs no second copy.
  Surface& Pixels() {
    if (!FSurface) Pull();
    return *FSurface;
  }
  // Brings the caller's bits of another depth into Pixels() (no-op for 32 bpp and DDBs);
  // GDI calls it once at the start of an operation that reads the bitmap.
  void Pull();
  // Writes Pixels() back into bits of another depth (a monochrome DDB is quantised in
  // place; no-op for 32 bpp).
  void Push();
  // The same for the rows [Top, Bottom) of Pixels() alone, the only ones drawn on since the
  // last Pull: they are written and read back, as the next Pull would, so the bitmap stays
  // read and the next operation converts nothing but its own rows.
  void Push(int Top, int Bottom);

 private:
  void ReadAllRows();
  BitmapObject() : GdiObject(OBJ_BITMAP) {}
  DibFormat FFormat;
  bool FIsDib = false;
  ZeroedArray<uint8_t> FBits;  // the caller's row data (DIB sections)
  std::unique_ptr<Surface> FSurface;  // for a DIB section of another depth: made by Pull
  // The bits and colours Pixels() was last read from, while it still holds exactly that
  // reading: a Pull of unchanged bits then reads nothing (a skin picture is drawn from
  // many times and changed seldom).
  ZeroedArray<uint8_t> FPulledBits;
  std::vector<RGBQUAD> FPulledColors;
};

// An icon: non-premultiplied 32-bit colour pixels with alpha plus an AND mask
// (1 = transparent). DrawIconEx blends the colour by alpha where the icon has any,
// else applies the mask.
class IconObject : public GdiObject {
 public:
  static bool IsKind(DWORD K) { return K == OBJ_ICON_KIND; }
  IconObject(int Width, int Height)
      : GdiObject(OBJ_ICON_KIND), FColor(Width, Height, false),
        FMask(static_cast<size_t>(Width > 0 ? Width : 0) * (Height > 0 ? Height : 0), 0) {}
  int Width() const { return FColor.Width(); }
  int Height() const { return FColor.Height(); }
  bool MaskAt(int X, int Y) const { return FMask[static_cast<size_t>(Y) * Width() + X] != 0; }
  void SetMask(int X, int Y, bool Transparent) {
    FMask[static_cast<size_t>(Y) * Width() + X] = Transparent ? 1 : 0;
  }
  // Every fully transparent colour pixel becomes transparent in the mask.
  void MaskFromAlpha() {
    for (int Y = 0; Y < Height(); ++Y)
      for (int X = 0; X < Width(); ++X) SetMask(X, Y, (FColor.Row(Y)[X] >> 24) == 0);
  }
  Surface FColor;
  std::vector<uint8_t> FMask;
  bool FIsIcon = true;
  POINT FHotspot{};
  bool FShared = false;  // a system icon: DestroyIcon leaves it alone
};

// Everything SaveDC keeps.
struct DcState {
  std::shared_ptr<PenObject> Pen;
  std::shared_ptr<BrushObject> Brush;
  std::shared_ptr<GdiObject> Font;
  std::shared_ptr<BitmapObject> Bitmap;  // memory DCs
  COLORREF TextColor = 0x000000;
  COLORREF BkColor = 0xFFFFFF;
  int BkMode = OPAQUE;
  int Rop2 = R2_COPYPEN;
  int StretchMode = BLACKONWHITE;
  int PolyFillMode = ALTERNATE;
  UINT TextAlign = 0;
  int CharExtra = 0;
  COLORREF DcBrushColor = 0xFFFFFF;
  COLORREF DcPenColor = 0x000000;
  POINT WindowOrg{};
  POINT ViewportOrg{};
  POINT BrushOrg{};
  POINT CurrentPos{};
  std::optional<Region> Clip;  // the selected clip, device coordinates
};

// A device context. Its device coordinates start at DeviceOrigin of the target surface;
// BaseClip (surface coordinates) is what the owner allows (a window's visible area), the
// selected clip narrows it. Memory DCs draw on their selected bitmap.
class DcObject : public GdiObject {
 public:
  static bool IsKind(DWORD K) { return K == OBJ_DC || K == OBJ_MEMDC; }
  DcObject(DWORD Kind, Surface* Target, POINT DeviceOrigin, std::optional<Region> BaseClip);
  ~DcObject() override;

  bool Memory() const { return Kind() == OBJ_MEMDC; }
  // The surface drawn on (null for a DC with nothing to draw on).
  Surface* Target();
  // Start of an operation: brings a selected bitmap's bits in and returns the target.
  // Commit() ends a drawing operation.
  Surface* Begin();
  POINT DeviceOrigin() const { return FDeviceOrigin; }
  // Re-targets a DC (the window manager, when a window's backing store changes).
  void SetTarget(Surface* Target, POINT DeviceOrigin, std::optional<Region> BaseClip);

  DcState& State() { return FState; }
  const DcState& State() const { return FState; }
  std::vector<DcState>& Saved() { return FSaved; }

  // Logical -> surface coordinates (and the device step alone).
  POINT ToDevice(POINT P) const {
    return {P.X - FState.WindowOrg.X + FState.ViewportOrg.X, P.Y - FState.WindowOrg.Y + FState.ViewportOrg.Y};
  }
  POINT ToSurface(POINT P) const {
    POINT D = ToDevice(P);
    return {D.X + FDeviceOrigin.X, D.Y + FDeviceOrigin.Y};
  }
  RECT ToSurface(const RECT& R) const {
    POINT A = ToSurface(POINT{R.Left, R.Top});
    return {A.X, A.Y, A.X + (R.Right - R.Left), A.Y + (R.Bottom - R.Top)};
  }
  // Offset from logical to surface coordinates.
  POINT LogicalToSurfaceOffset() const { return ToSurface(POINT{0, 0}); }

  // The effective clip in surface coordinates: base clip, selected clip and the surface's
  // bounds. Rectangles are banded (sorted by top, then left).
  const std::vector<RECT>& ClipRects();
  const RECT& ClipBox();  // surface coordinates, empty when nothing is visible
  Region EffectiveClip();
  void InvalidateClip() { FClipValid = false; }

  // Clipped writers in surface coordinates. Rop2 is an R2_* mode.
  void FillSpan(int Y, int X0, int X1, uint32_t Pixel, int Rop2);
  void FillRectPixels(RECT R, uint32_t Pixel, int Rop2);
  void PutPixel(int X, int Y, uint32_t Pixel, int Rop2);
  bool Visible(int X, int Y);
  // Blends Color over the destination by Coverage (0..255), writing alpha 0.
  void BlendPixel(int X, int Y, COLORREF Color, uint8_t Coverage);
  // Fills a region (surface coordinates) through the clip.
  void FillRegionPixels(const Region& R, uint32_t Pixel, int Rop2);

  // After drawing: writes a non-32-bit selected bitmap back; with the surface rows the
  // operation drew on ([Top, Bottom)), only those.
  void Commit();
  void Commit(int Top, int Bottom);

  HWND FWindow = nullptr;  // the window a window DC belongs to (window manager's use)
  bool FScreen = false;    // draws on whatever ScreenSurface() is now
  // A screen DC brings the screen surface up to date when it first touches pixels, so
  // one taken only to measure text costs no read of the screen.
  std::function<void()> FComposeOnUse;

 private:
  void RecomputeClip();
  Surface* FTarget;
  POINT FDeviceOrigin;
  std::optional<Region> FBaseClip;
  DcState FState;
  std::vector<DcState> FSaved;
  bool FClipValid = false;
  std::vector<RECT> FClipRects;
  RECT FClipBox{};
  const Surface* FClipSurface = nullptr;  // the surface the cached clip was made for
  int FClipW = 0;
  int FClipH = 0;
};

// A DC drawing on any surface: window DCs of the window manager use this with the
// window's offset in its top-level surface and its visible region (surface coordinates,
// nullopt = the whole surface). DeleteDC ends it.
HDC CreateDcOnSurface(Surface* Target, POINT DeviceOrigin, std::optional<Region> BaseClip);

// The screen as GetDC(0) and CreateDC("DISPLAY") see it. The window manager installs a
// provider that returns its composed screen; the default is an off-screen 1024x768 surface.
using ScreenSurfaceProvider = std::function<Surface*()>;
void SetScreenSurfaceProvider(ScreenSurfaceProvider Provider);
Surface* ScreenSurface();
// A DC on the screen (what GetDC(0) returns; the window manager's GetDC calls this for a
// null window, and ReleaseDC / DeleteDC end it).
HDC CreateScreenDc();

// Stock objects by GetStockObject index; DEFAULT_BITMAP_INDEX is the 1x1 monochrome
// bitmap a new memory DC holds.
constexpr int DEFAULT_BITMAP_INDEX = 21;
std::shared_ptr<GdiObject> StockObjectPtr(int Index);

// CreateDIBSection for a caller that writes every byte of the bits before anything reads
// them (a picture decoder): the bits are not cleared first.
HBITMAP CreateDibSectionForOverwrite(const BITMAPINFO* Info, void** Bits);

// Typed lookups.
inline std::shared_ptr<DcObject> DcOf(HDC Dc) { return GdiCast<DcObject>(Dc); }
inline std::shared_ptr<BitmapObject> BitmapOf(HBITMAP B) { return GdiCast<BitmapObject>(B); }
inline std::shared_ptr<RegionObject> RegionOf(HRGN R) { return GdiCast<RegionObject>(R); }
inline std::shared_ptr<PenObject> PenOf(HPEN P) { return GdiCast<PenObject>(P); }
inline std::shared_ptr<BrushObject> BrushOf(HBRUSH B) { return GdiCast<BrushObject>(B); }
inline std::shared_ptr<IconObject> IconOf(HICON I) { return GdiCast<IconObject>(I); }

// The brush FillRect and friends take: a brush handle or a system colour index + 1.
// Returns false for a null brush or an invalid handle.
bool ResolveBrush(HBRUSH Brush, COLORREF& Color);

}  // namespace vantrel::win
