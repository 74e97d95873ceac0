// Drawing of the working bitmap onto device contexts, canvases, 32-bit DIB sections and
// other working bitmaps: the routine table, the stretch workers with their
// nearest-neighbour index tables, and tiling.
#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/ui/Graphics.h"
#include "skin/core/bitmaps/spEffBmp.h"

namespace {

constexpr UINT KeyColorRef = 0x7F007F;

TRect Intersect(const TRect& A, const TRect& B) {
  return Rect(std::max(A.Left, B.Left), std::max(A.Top, B.Top), std::min(A.Right, B.Right),
              std::min(A.Bottom, B.Bottom));
}

inline bool IsEmptyDrawRect(const TRect& R) { return R.Right <= R.Left || R.Bottom <= R.Top; }

TRect MoveRect(const TRect& R, Integer DX, Integer DY) {
  return Rect(R.Left + DX, R.Top + DY, R.Right + DX, R.Bottom + DY);
}

// Row addressing of the two kinds of target.
struct DibTarget {
  TspColor* Bits;
  Integer Width, Height;
  TspColor* Row(Integer Y) const {
    return Bits + static_cast<ptrdiff_t>(Height - 1 - Y) * Width;  // bottom-up
  }
};

struct BitmapTarget {
  TspBitmap* Dest;
  TspColor* Row(Integer Y) const { return Dest->GetScanLinePtr(Y); }
};

enum class RowOp { Copy, Keyed, Blend };

// Truncation for the bitmap workers, nearest with ties to even for the DIB workers. The
// product and the sum are exact in extended precision.
template <bool Round>
inline Integer SourceIndex(Integer Step, Single Ratio, Integer Origin) {
  const long double v = static_cast<long double>(Step) * Ratio + Origin;
  return static_cast<Integer>(Round ? std::rint(v) : std::trunc(v));
}

// The six stretch workers: Target gives the target's rows, Op the row operation,
// Round the rounding of the index tables.
template <RowOp Op, bool Round, class Target>
void StretchWorker(const Target& T, Integer TargetWidth, Integer TargetHeight, const TRect& DstRect,
                   TRect ClipRect, TspBitmap* Source, const TRect& SrcRect) {
  if (!Source || !Source->Bits()) return;
  const Integer sw = SrcRect.Right - SrcRect.Left, sh = SrcRect.Bottom - SrcRect.Top;
  if (sw <= 0 || sh <= 0) return;
  ClipRect = Intersect(Intersect(ClipRect, Rect(0, 0, TargetWidth, TargetHeight)), DstRect);
  if (IsEmptyDrawRect(ClipRect)) return;
  if (SrcRect.Left < 0 || SrcRect.Top < 0 || SrcRect.Right > Source->Width() ||
      SrcRect.Bottom > Source->Height())
    return;

  const Integer dw = DstRect.Right - DstRect.Left, dh = DstRect.Bottom - DstRect.Top;
  const Integer cw = ClipRect.Right - ClipRect.Left, ch = ClipRect.Bottom - ClipRect.Top;

  auto rowOp = [](const TspColor* src, TspColor* dst, Integer count) {
    if constexpr (Op == RowOp::Copy)
      PixelKernels.MoveRow(src, dst, count);
    else if constexpr (Op == RowOp::Keyed)
      PixelKernels.CopyRowKeyed(src, dst, count);
    else
      PixelKernels.BlendRow(src, dst, count);
  };

  if (sw == dw && sh == dh) {
    const Integer sx = SrcRect.Left + ClipRect.Left - DstRect.Left;
    const Integer sy = SrcRect.Top + ClipRect.Top - DstRect.Top;
    for (Integer j = 0; j < ch; ++j)
      rowOp(Source->GetPixelPtr(sx, sy + j), T.Row(ClipRect.Top + j) + ClipRect.Left, cw);
    EmptyMMXState();
    return;
  }

  // Column table. The clamp only guards memory: the index stays inside SrcRect anyway.
  std::vector<Integer> xs(static_cast<size_t>(cw));
  if (dw > 1) {
    const Single kx = static_cast<Single>(static_cast<long double>(sw - 1) / (dw - 1));
    for (Integer i = 0; i < cw; ++i)
      xs[i] = std::clamp(SourceIndex<Round>(i + ClipRect.Left - DstRect.Left, kx, SrcRect.Left),
                         SrcRect.Left, SrcRect.Right - 1);
  } else {
    std::fill(xs.begin(), xs.end(), (SrcRect.Left + SrcRect.Right - 1) / 2);
  }
  const Single ky =
      dh > 1 ? static_cast<Single>(static_cast<long double>(sh - 1) / (dh - 1)) : Single(0);
  auto sourceRow = [&](Integer j) {
    if (dh <= 1) return (SrcRect.Top + SrcRect.Bottom - 1) / 2;
    return std::clamp(SourceIndex<Round>(j + ClipRect.Top - DstRect.Top, ky, SrcRect.Top),
                      SrcRect.Top, SrcRect.Bottom - 1);
  };

  Integer lastSy = -1;
  if constexpr (Op == RowOp::Copy) {
    TspColor* lastRow = nullptr;
    for (Integer j = 0; j < ch; ++j) {
      const Integer sy = sourceRow(j);
      TspColor* dst = T.Row(ClipRect.Top + j) + ClipRect.Left;
      if (lastRow && sy == lastSy) {
        PixelKernels.MoveRow(lastRow, dst, cw);
      } else {
        const TspColor* src = Source->GetScanLinePtr(sy);
        for (Integer i = 0; i < cw; ++i) dst[i] = src[xs[i]];
      }
      lastRow = dst;
      lastSy = sy;
    }
  } else {
    std::vector<TspColor> buffer(static_cast<size_t>(cw));
    for (Integer j = 0; j < ch; ++j) {
      EmptyMMXState();
      const Integer sy = sourceRow(j);
      if (sy != lastSy) {
        const TspColor* src = Source->GetScanLinePtr(sy);
        for (Integer i = 0; i < cw; ++i) buffer[i] = src[xs[i]];
        lastSy = sy;
      }
      rowOp(buffer.data(), T.Row(ClipRect.Top + j) + ClipRect.Left, cw);
    }
  }
  EmptyMMXState();
}

template <RowOp Op>
void DIBWorker(TspColor* Bits, const TRect& DstRect, const TRect& ClipRect, Integer DIBWidth,
               Integer DIBHeight, TspBitmap* Source, const TRect& SrcRect) {
  if (!Bits) return;
  StretchWorker<Op, true>(DibTarget{Bits, DIBWidth, DIBHeight}, DIBWidth, DIBHeight, DstRect,
                          ClipRect, Source, SrcRect);
}

template <RowOp Op>
void BitmapWorker(TspBitmap* Dest, const TRect& DstRect, const TRect& ClipRect,
                  const TRect& SrcRect, TspBitmap* Source) {
  if (!Dest || !Dest->Bits()) return;
  StretchWorker<Op, false>(BitmapTarget{Dest}, Dest->Width(), Dest->Height(), DstRect, ClipRect,
                           Source, SrcRect);
}

// Unscaled rows: ClipRect's rows from Source at (SrcX, SrcY) onwards. The caller keeps
// both rectangles inside the bitmaps.
template <RowOp Op>
void RowsWorker(TspBitmap* Dest, const TRect& ClipRect, TspBitmap* Source, Integer SrcY,
                Integer SrcX) {
  const Integer cw = ClipRect.Right - ClipRect.Left;
  for (Integer j = 0; j < ClipRect.Bottom - ClipRect.Top; ++j) {
    const TspColor* src = Source->GetPixelPtr(SrcX, SrcY + j);
    TspColor* dst = Dest->GetPixelPtr(ClipRect.Left, ClipRect.Top + j);
    if constexpr (Op == RowOp::Copy)
      PixelKernels.MoveRow(src, dst, cw);
    else if constexpr (Op == RowOp::Keyed)
      PixelKernels.CopyRowKeyed(src, dst, cw);
    else
      PixelKernels.BlendRow(src, dst, cw);
  }
  EmptyMMXState();
}

void DCCopyRoutine(HDC DC, Integer X, Integer Y, Integer W, Integer H, TspBitmap* Bitmap,
                   Integer SX, Integer SY, Integer SW, Integer SH) {
  SetStretchBltMode(DC, COLORONCOLOR);
  StretchBlt(DC, X, Y, W, H, Bitmap->DC(), SX, SY, SW, SH, SRCCOPY);
}

// Through a working bitmap holding the target area: the bitmap-to-bitmap path does the
// blend or the key, then the area goes back.
void DCThroughBitmap(HDC DC, Integer X, Integer Y, Integer W, Integer H, TspBitmap* Bitmap,
                     Integer SX, Integer SY, Integer SW, Integer SH) {
  if (W <= 0 || H <= 0) return;
  TspBitmap tmp;
  tmp.SetSize(W, H);
  BitBlt(tmp.DC(), 0, 0, W, H, DC, X, Y, SRCCOPY);
  Bitmap->Draw(&tmp, Rect(0, 0, W, H), Rect(SX, SY, SX + SW, SY + SH));
  BitBlt(DC, X, Y, W, H, tmp.DC(), 0, 0, SRCCOPY);
}

void DCTransparentBlt(HDC DC, Integer X, Integer Y, Integer W, Integer H, TspBitmap* Bitmap,
                      Integer SX, Integer SY, Integer SW, Integer SH) {
  TransparentBlt(DC, X, Y, W, H, Bitmap->DC(), SX, SY, SW, SH, KeyColorRef);
}

void* GetDIBInfoRoutine(HDC DC, Integer& Width, Integer& Height, Integer& BitCount) {
  Width = Height = BitCount = 0;
  HGDIOBJ bmp = GetCurrentObject(DC, OBJ_BITMAP);
  DIBSECTION ds{};
  if (!bmp || GetObjectW(bmp, sizeof ds, &ds) != static_cast<int>(sizeof ds)) return nullptr;
  Width = ds.dsBmih.biWidth;
  Height = ds.dsBmih.biHeight;
  BitCount = ds.dsBmih.biBitCount;
  return ds.dsBm.bmBits;
}

TPoint WindowOrigin(HDC DC) {
  TPoint p{};
  GetWindowOrgEx(DC, &p);
  return p;
}

}  // namespace

TspDrawRoutines DrawRoutines = {
    DCCopyRoutine,
    DCThroughBitmap,
    DCThroughBitmap,
    GetDIBInfoRoutine,
    DIBWorker<RowOp::Copy>,
    DIBWorker<RowOp::Keyed>,
    DIBWorker<RowOp::Blend>,
    BitmapWorker<RowOp::Copy>,
    BitmapWorker<RowOp::Keyed>,
    BitmapWorker<RowOp::Blend>,
    RowsWorker<RowOp::Copy>,
    RowsWorker<RowOp::Keyed>,
    RowsWorker<RowOp::Blend>,
};

Integer BitmapRectWidth(const TRect& R) { return R.Right - R.Left; }
Integer BitmapRectHeight(const TRect& R) { return R.Bottom - R.Top; }

Integer GetScreenColorDepth() {
  HDC dc = CreateDC("DISPLAY", nullptr, nullptr, nullptr);
  const Integer depth = GetDeviceCaps(dc, BITSPIXEL) * GetDeviceCaps(dc, PLANES);
  DeleteDC(dc);
  return depth;
}

Boolean IsScreenTrueColor() { return GetScreenColorDepth() >= 24; }

Boolean InitDrawRoutines() {
  const Boolean useTransparentBlt = IsTransparentBltAvailable() && IsScreenTrueColor();
  DrawRoutines.DCCopy = DCCopyRoutine;
  DrawRoutines.DCAlphaBlend = DCThroughBitmap;
  DrawRoutines.DCTransparent = useTransparentBlt ? DCTransparentBlt : DCThroughBitmap;
  DrawRoutines.GetDIBInfo = GetDIBInfoRoutine;
  return useTransparentBlt;
}

// ---------------------------------------------------------------------------------------
// Draw

void TspBitmap::Draw(HDC DC, Integer X, Integer Y) { Draw(DC, X, Y, Rect(0, 0, FWidth, FHeight)); }

void TspBitmap::Draw(HDC DC, Integer X, Integer Y, const TRect& SrcRect) {
  Draw(DC, Rect(X, Y, X + BitmapRectWidth(SrcRect), Y + BitmapRectHeight(SrcRect)), SrcRect);
}

void TspBitmap::Draw(HDC DC, const TRect& DstRect) {
  Draw(DC, DstRect, Rect(0, 0, FWidth, FHeight));
}

void TspBitmap::Draw(HDC DC, const TRect& DstRect, const TRect& SrcRect) {
  if (TspBitmap* target = FindBitmapByDC(DC)) {
    const TPoint org = WindowOrigin(DC);
    Draw(target, MoveRect(DstRect, -org.X, -org.Y), SrcRect);
    return;
  }
  const auto routine = FAlphaBlend    ? DrawRoutines.DCAlphaBlend
                       : FTransparent ? DrawRoutines.DCTransparent
                                      : DrawRoutines.DCCopy;
  routine(DC, DstRect.Left, DstRect.Top, BitmapRectWidth(DstRect), BitmapRectHeight(DstRect), this,
          SrcRect.Left, SrcRect.Top, BitmapRectWidth(SrcRect), BitmapRectHeight(SrcRect));
}

void TspBitmap::Draw(TCanvas* Canvas, Integer X, Integer Y) { Draw(Canvas->Handle(), X, Y); }
void TspBitmap::Draw(TCanvas* Canvas, Integer X, Integer Y, const TRect& SrcRect) {
  Draw(Canvas->Handle(), X, Y, SrcRect);
}
void TspBitmap::Draw(TCanvas* Canvas, const TRect& DstRect) { Draw(Canvas->Handle(), DstRect); }
void TspBitmap::Draw(TCanvas* Canvas, const TRect& DstRect, const TRect& SrcRect) {
  Draw(Canvas->Handle(), DstRect, SrcRect);
}

void TspBitmap::Draw(TspBitmap* Bitmap, Integer X, Integer Y) {
  Draw(Bitmap, X, Y, Rect(0, 0, FWidth, FHeight));
}

void TspBitmap::Draw(TspBitmap* Bitmap, Integer X, Integer Y, const TRect& SrcRect) {
  Draw(Bitmap, Rect(X, Y, X + BitmapRectWidth(SrcRect), Y + BitmapRectHeight(SrcRect)), SrcRect);
}

void TspBitmap::Draw(TspBitmap* Bitmap, const TRect& DstRect) {
  Draw(Bitmap, DstRect, Rect(0, 0, FWidth, FHeight));
}

void TspBitmap::Draw(TspBitmap* Bitmap, const TRect& DstRect, const TRect& SrcRect) {
  const auto worker = FAlphaBlend    ? DrawRoutines.BitmapAlphaBlend
                      : FTransparent ? DrawRoutines.BitmapTransparent
                                     : DrawRoutines.BitmapCopy;
  worker(Bitmap, DstRect, DstRect, SrcRect, this);
}

// ---------------------------------------------------------------------------------------
// Tiling

namespace {

// Calls Each(tile, source) for every tile of SrcRect over DstRect, column by column; the
// last column and row are cut to DstRect and take the top-left part of SrcRect.
template <class F>
void ForEachTile(const TRect& DstRect, const TRect& SrcRect, F Each) {
  const Integer w = SrcRect.Right - SrcRect.Left, h = SrcRect.Bottom - SrcRect.Top;
  if (w <= 0 || h <= 0) return;
  const Integer dw = DstRect.Right - DstRect.Left, dh = DstRect.Bottom - DstRect.Top;
  if (dw <= 0 || dh <= 0) return;
  const Integer nx = (dw + w - 1) / w, ny = (dh + h - 1) / h;
  for (Integer i = 0; i <= nx; ++i) {
    for (Integer j = 0; j <= ny; ++j) {
      const Int64 left = static_cast<Int64>(DstRect.Left) + static_cast<Int64>(i) * w;
      const Int64 top = static_cast<Int64>(DstRect.Top) + static_cast<Int64>(j) * h;
      if (left >= DstRect.Right || top >= DstRect.Bottom) break;
      const TRect tile =
          Intersect(Rect(static_cast<Integer>(left), static_cast<Integer>(top),
                         static_cast<Integer>(std::min<Int64>(left + w, DstRect.Right)),
                         static_cast<Integer>(std::min<Int64>(top + h, DstRect.Bottom))),
                    DstRect);
      if (IsEmptyDrawRect(tile)) break;
      const Integer tw = tile.Right - tile.Left, th = tile.Bottom - tile.Top;
      const TRect source = (tw == w && th == h) ? SrcRect
                                                : Rect(SrcRect.Left, SrcRect.Top, SrcRect.Left + tw,
                                                       SrcRect.Top + th);
      Each(tile, source);
    }
  }
}

bool TileMeetsClip(const TRect& Tile, const TRect& Clip) {
  return IsEmptyDrawRect(Clip) || !IsEmptyDrawRect(Intersect(Tile, Clip));
}

}  // namespace

void TspBitmap::Tile(TspBitmap* Bitmap, const TRect& DstRect, const TRect& SrcRect) {
  ForEachTile(DstRect, SrcRect,
              [&](const TRect& tile, const TRect& source) { Draw(Bitmap, tile, source); });
}

void TspBitmap::Tile(HDC DC, const TRect& DstRect, const TRect& SrcRect) {
  TspBitmap* found = FindBitmapByDC(DC);
  Integer dibWidth = 0, dibHeight = 0, bitCount = 0;
  void* dibBits = found ? nullptr : DrawRoutines.GetDIBInfo(DC, dibWidth, dibHeight, bitCount);
  const TPoint org = WindowOrigin(DC);
  const bool toDib = dibBits && bitCount == 32 && dibHeight > 0;
  ForEachTile(DstRect, SrcRect, [&](const TRect& tile, const TRect& source) {
    if (found) {
      Draw(found, MoveRect(tile, -org.X, -org.Y), source);
    } else if (toDib) {
      const TRect moved = MoveRect(tile, -org.X, -org.Y);
      const auto worker = FAlphaBlend    ? DrawRoutines.DIBAlphaBlend
                          : FTransparent ? DrawRoutines.DIBTransparent
                                         : DrawRoutines.DIBCopy;
      worker(static_cast<TspColor*>(dibBits), moved, moved, dibWidth, dibHeight, this, source);
    } else {
      const auto routine = FAlphaBlend    ? DrawRoutines.DCAlphaBlend
                           : FTransparent ? DrawRoutines.DCTransparent
                                          : DrawRoutines.DCCopy;
      routine(DC, tile.Left, tile.Top, BitmapRectWidth(tile), BitmapRectHeight(tile), this,
              source.Left, source.Top, BitmapRectWidth(source), BitmapRectHeight(source));
    }
  });
}

void TspBitmap::Tile(TCanvas* Canvas, const TRect& DstRect, const TRect& SrcRect) {
  Tile(Canvas->Handle(), DstRect, SrcRect);
}

void TspBitmap::TileClip(TspBitmap* Bitmap, const TRect& DstRect, const TRect& DstClip,
                         const TRect& SrcRect) {
  ForEachTile(DstRect, SrcRect, [&](const TRect& tile, const TRect& source) {
    if (TileMeetsClip(tile, DstClip)) Draw(Bitmap, tile, source);
  });
}

void TspBitmap::TileClip(HDC DC, const TRect& DstRect, const TRect& DstClip, const TRect& SrcRect) {
  ForEachTile(DstRect, SrcRect, [&](const TRect& tile, const TRect& source) {
    if (TileMeetsClip(tile, DstClip)) Draw(DC, tile, source);
  });
}

void TspBitmap::TileClip(TCanvas* Canvas, const TRect& DstRect, const TRect& DstClip,
                         const TRect& SrcRect) {
  TileClip(Canvas->Handle(), DstRect, DstClip, SrcRect);
}
