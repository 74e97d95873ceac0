// Blits between DCs and from memory DIBs: BitBlt, StretchBlt (nearest pixel), PatBlt,
// TransparentBlt, SetDIBitsToDevice, StretchDIBits, and single pixels.
#include <algorithm>
#include <cstring>

#include <pixman.h>

#include "platform/win/GdiInternal.h"

namespace vantrel::win {
namespace {

// A three-operand raster operation on pattern, source and destination bits: bit
// (P*4 + S*2 + D) of the operation's index byte gives the result.
inline uint32_t Rop3(uint32_t Index, uint32_t P, uint32_t S, uint32_t D) {
  switch (Index) {
    case 0xCC: return S;
    case 0xF0: return P;
    case 0x00: return 0;
    case 0xFF: return 0xFFFFFFFFu;
    case 0x55: return ~D;
    case 0x88: return S & D;
    case 0xEE: return S | D;
    case 0x66: return S ^ D;
    case 0x33: return ~S;
    case 0x5A: return P ^ D;
    case 0xC0: return P & S;
    default: break;
  }
  uint32_t R = 0;
  for (uint32_t i = 0; i < 8; ++i) {
    if (!((Index >> i) & 1)) continue;
    R |= ((i & 4) ? P : ~P) & ((i & 2) ? S : ~S) & ((i & 1) ? D : ~D);
  }
  return R;
}

bool RopUsesSource(uint32_t Index) { return ((Index >> 2) & 0x33) != (Index & 0x33); }
bool RopUsesPattern(uint32_t Index) { return ((Index >> 4) & 0x0F) != (Index & 0x0F); }

// The brush colour a blit's pattern uses (its solid colour, DC_BRUSH's DC colour).
uint32_t PatternPixel(DcObject& D) {
  auto& B = D.State().Brush;
  if (!B) return 0;
  if (B == StockObjectPtr(DC_BRUSH)) return PixelOf(D.State().DcBrushColor);
  return PixelOf(B->FColor);
}

bool IsMonoDdb(DcObject& D) {
  auto& B = D.State().Bitmap;
  return D.Memory() && B && B->Mono() && !B->IsDib();
}

// How source pixels change on their way between a monochrome and a colour bitmap.
struct SourceMap {
  enum { None, MonoToColor, ColorToMono } Kind = None;
  uint32_t Zero = 0, One = 0, Bk = 0;
  uint32_t operator()(uint32_t S) const {
    switch (Kind) {
      case MonoToColor: return (S & 0xFFFFFF) ? One : Zero;
      case ColorToMono: return (S & 0xFFFFFF) == Bk ? 0xFFFFFF : 0;
      default: return S;
    }
  }
};

SourceMap MapBetween(DcObject& Dest, DcObject* Src) {
  SourceMap M;
  if (!Src) return M;
  bool SrcMono = IsMonoDdb(*Src), DestMono = IsMonoDdb(Dest);
  if (SrcMono && !DestMono) {
    M.Kind = SourceMap::MonoToColor;
    M.Zero = PixelOf(Dest.State().TextColor);
    M.One = PixelOf(Dest.State().BkColor);
  } else if (!SrcMono && DestMono) {
    M.Kind = SourceMap::ColorToMono;
    M.Bk = PixelOf(Src->State().BkColor);
  }
  return M;
}

// An extent with its sign: the covered pixels [Lo, Lo + Len) and whether it runs backwards.
struct Span1 {
  int Lo, Len;
  bool Back;
};
Span1 SpanOf(int Start, int Extent) {
  return Extent >= 0 ? Span1{Start, Extent, false} : Span1{Start + Extent, -Extent, true};
}

// Nearest-pixel column/row map: destination index i of N samples source index
// floor((2i + 1) * M / (2N)) of M, the source pixel under the destination pixel's centre.
inline int NearestIndex(int64_t i, int64_t N, int64_t M) { return static_cast<int>(((2 * i + 1) * M) / (2 * N)); }

struct BlitJob {
  DcObject* Dest = nullptr;
  RECT DestRect{};  // surface coordinates
  const Surface* Src = nullptr;
  RECT SrcRect{};  // source surface coordinates (may reach outside the surface)
  bool MirrorX = false, MirrorY = false;
  uint32_t RopIndex = 0xCC;
  uint32_t Pattern = 0;
  SourceMap Map;
  bool Keyed = false;
  uint32_t Key = 0;
};

// A plain copy of the rows [T, B) of Dst's columns [L, R) from Src, row y taking source row
// y + DY from column SX on: pixman's block copy, which beats a copy row by row. False where
// it does not apply (the two run in opposite row orders); rows outside Src are left alone.
bool CopyRows(const Surface& Src, int SX, int DY, Surface& Dst, int L, int T, int R, int B) {
  if (Src.BottomUp() != Dst.BottomUp()) return false;
  T = std::max(T, -DY);
  B = std::min(B, Src.Height() - DY);
  if (T >= B) return true;
  const int SrcTop = T + DY, Rows = B - T;
  // Visual rows of a bottom-up surface lie in memory from the last one up.
  const int DstMem = Dst.BottomUp() ? Dst.Height() - B : T;
  const int SrcMem = Src.BottomUp() ? Src.Height() - (SrcTop + Rows) : SrcTop;
  return pixman_blt(const_cast<uint32_t*>(Src.Bits()), Dst.Bits(), Src.Width(), Dst.Width(), 32, 32, SX, SrcMem, L,
                    DstMem, R - L, Rows);
}

void RunBlit(BlitJob& J) {
  Surface* DS = J.Dest->Target();
  if (!DS) return;
  const int DW = J.DestRect.Right - J.DestRect.Left, DH = J.DestRect.Bottom - J.DestRect.Top;
  if (DW <= 0 || DH <= 0) return;
  const int SW = J.SrcRect.Right - J.SrcRect.Left, SH = J.SrcRect.Bottom - J.SrcRect.Top;
  const bool UsesSrc = J.Src != nullptr;
  if (UsesSrc && (SW <= 0 || SH <= 0)) return;

  // A source that is also the destination is read from a snapshot where the two areas
  // overlap, so that no pixel is read after the blit wrote it; apart, it is read in place
  // (a tile doubled within one bitmap).
  std::unique_ptr<Surface> Snapshot;
  const Surface* Src = J.Src;
  RECT SrcRect = J.SrcRect;
  if (UsesSrc && Src == DS) {
    RECT Area{std::max(0, SrcRect.Left), std::max(0, SrcRect.Top), std::min(Src->Width(), SrcRect.Right),
              std::min(Src->Height(), SrcRect.Bottom)};
    if (Area.Right <= Area.Left || Area.Bottom <= Area.Top) return;
    const bool Overlap = Area.Left < J.DestRect.Right && J.DestRect.Left < Area.Right &&
                         Area.Top < J.DestRect.Bottom && J.DestRect.Top < Area.Bottom;
    if (Overlap) {
      Snapshot = std::make_unique<Surface>(Area.Right - Area.Left, Area.Bottom - Area.Top, false,
                                           Surface::Uncleared{});
      for (int y = Area.Top; y < Area.Bottom; ++y)
        std::memcpy(Snapshot->Row(y - Area.Top), Src->Row(y) + Area.Left, static_cast<size_t>(Snapshot->Width()) * 4);
      SrcRect = {SrcRect.Left - Area.Left, SrcRect.Top - Area.Top, SrcRect.Right - Area.Left, SrcRect.Bottom - Area.Top};
      Src = Snapshot.get();
    }
  }

  std::vector<int> XMap;
  if (UsesSrc) {
    XMap.resize(static_cast<size_t>(DW));
    for (int i = 0; i < DW; ++i) {
      int s = DW == SW ? i : NearestIndex(i, DW, SW);
      if (J.MirrorX) s = SW - 1 - s;
      int x = SrcRect.Left + s;
      XMap[static_cast<size_t>(i)] = (x >= 0 && x < Src->Width()) ? x : -1;
    }
  }
  const bool Straight = UsesSrc && DW == SW && !J.MirrorX && !J.Keyed && J.Map.Kind == SourceMap::None &&
                        SrcRect.Left >= 0 && SrcRect.Right <= Src->Width();

  for (const RECT& C : J.Dest->ClipRects()) {
    if (C.Top >= J.DestRect.Bottom) break;
    const int L = std::max(C.Left, J.DestRect.Left), R = std::min(C.Right, J.DestRect.Right);
    const int T = std::max(C.Top, J.DestRect.Top), B = std::min(C.Bottom, J.DestRect.Bottom);
    if (L >= R || T >= B) continue;
    if (Straight && J.RopIndex == 0xCC && DH == SH && !J.MirrorY && CopyRows(*Src, SrcRect.Left + (L - J.DestRect.Left),
                                                                           SrcRect.Top - J.DestRect.Top, *DS, L, T, R, B))
      continue;
    // A plain copy that stretches rows writes the same row again for a repeated source
    // row: it copies the row it wrote before.
    const uint32_t* Written = nullptr;
    int WrittenFrom = -1;
    for (int y = T; y < B; ++y) {
      uint32_t* Row = DS->Row(y);
      if (!UsesSrc) {
        for (int x = L; x < R; ++x) Row[x] = Rop3(J.RopIndex, J.Pattern, 0, Row[x]);
        continue;
      }
      const int i = y - J.DestRect.Top;
      int s = DH == SH ? i : NearestIndex(i, DH, SH);
      if (J.MirrorY) s = SH - 1 - s;
      const int sy = SrcRect.Top + s;
      if (sy < 0 || sy >= Src->Height()) continue;
      const uint32_t* SRow = Src->Row(sy);
      const int* Map = XMap.data() - J.DestRect.Left;
      if (Straight && J.RopIndex == 0xCC) {
        std::memcpy(Row + L, SRow + Map[L], static_cast<size_t>(R - L) * 4);
      } else if (J.RopIndex == 0xCC && !J.Keyed && J.Map.Kind == SourceMap::None) {
        if (sy == WrittenFrom) {
          std::memcpy(Row + L, Written + L, static_cast<size_t>(R - L) * 4);
          continue;
        }
        for (int x = L; x < R; ++x)
          if (Map[x] >= 0) Row[x] = SRow[Map[x]];
        Written = Row;
        WrittenFrom = sy;
      } else {
        for (int x = L; x < R; ++x) {
          if (Map[x] < 0) continue;
          uint32_t S = SRow[Map[x]];
          if (J.Keyed) {
            if ((S & 0xFFFFFF) == J.Key) continue;
            Row[x] = S;
            continue;
          }
          Row[x] = Rop3(J.RopIndex, J.Pattern, J.Map(S), Row[x]);
        }
      }
    }
  }
}

// Fills in a blit between two DCs in logical coordinates of each.
bool DcBlit(HDC Dest, int X, int Y, int W, int H, HDC Src, int XSrc, int YSrc, int SW, int SH, DWORD Rop,
            bool Keyed, UINT Key) {
  auto D = DcOf(Dest);
  if (!D) return false;
  const uint32_t Index = (Rop >> 16) & 0xFF;
  const bool UsesSrc = Keyed || RopUsesSource(Index);
  std::shared_ptr<DcObject> S;
  if (UsesSrc) {
    S = DcOf(Src);
    if (!S) return false;
  }
  if (!D->Begin()) return false;
  BlitJob J;
  J.Dest = D.get();
  Span1 DX = SpanOf(X, W), DY = SpanOf(Y, H);
  POINT DO = D->ToSurface(POINT{DX.Lo, DY.Lo});
  J.DestRect = {DO.X, DO.Y, DO.X + DX.Len, DO.Y + DY.Len};
  J.RopIndex = Keyed ? 0xCC : Index;
  if (RopUsesPattern(Index) && !Keyed) J.Pattern = PatternPixel(*D);
  if (UsesSrc) {
    J.Src = S.get() == D.get() ? D->Target() : S->Begin();
    if (!J.Src) return false;
    Span1 SX = SpanOf(XSrc, SW), SY = SpanOf(YSrc, SH);
    POINT SO = S->ToSurface(POINT{SX.Lo, SY.Lo});
    J.SrcRect = {SO.X, SO.Y, SO.X + SX.Len, SO.Y + SY.Len};
    J.MirrorX = DX.Back != SX.Back;
    J.MirrorY = DY.Back != SY.Back;
    J.Map = MapBetween(*D, S.get());
    J.Keyed = Keyed;
    J.Key = PixelOf(Key) & 0xFFFFFF;
  }
  RunBlit(J);
  D->Commit(J.DestRect.Top, J.DestRect.Bottom);
  return true;
}

// A DIB in memory as a surface: 32 bpp bits are wrapped, other depths converted.
std::unique_ptr<Surface> DibSurface(const DibFormat& F, const void* Bits, std::vector<uint32_t>& Store) {
  if (F.BitCount == 32)
    return std::make_unique<Surface>(F.Width, F.Height, F.BottomUp, static_cast<uint32_t*>(const_cast<void*>(Bits)));
  Store.resize(static_cast<size_t>(F.Width) * F.Height);
  auto S = std::make_unique<Surface>(F.Width, F.Height, false, Store.data());
  for (int y = 0; y < F.Height; ++y)
    ReadDibRow(F, static_cast<const uint8_t*>(Bits) + F.RowOffset(y), S->Row(y));
  return S;
}

}  // namespace
}  // namespace vantrel::win

using namespace vantrel::win;

BOOL BitBlt(HDC Dest, int X, int Y, int Width, int Height, HDC Src, int XSrc, int YSrc, DWORD Rop) {
  return DcBlit(Dest, X, Y, Width, Height, Src, XSrc, YSrc, Width, Height, Rop, false, 0) ? TRUE : FALSE;
}

BOOL StretchBlt(HDC Dest, int X, int Y, int Width, int Height, HDC Src, int XSrc, int YSrc, int SrcWidth,
                int SrcHeight, DWORD Rop) {
  return DcBlit(Dest, X, Y, Width, Height, Src, XSrc, YSrc, SrcWidth, SrcHeight, Rop, false, 0) ? TRUE : FALSE;
}

BOOL PatBlt(HDC Dc, int X, int Y, int Width, int Height, DWORD Rop) {
  if (RopUsesSource((Rop >> 16) & 0xFF)) return FALSE;
  return DcBlit(Dc, X, Y, Width, Height, nullptr, 0, 0, 0, 0, Rop, false, 0) ? TRUE : FALSE;
}

BOOL TransparentBlt(HDC Dest, int X, int Y, int Width, int Height, HDC Src, int XSrc, int YSrc, int SrcWidth,
                    int SrcHeight, UINT Transparent) {
  if (Width < 0 || Height < 0 || SrcWidth < 0 || SrcHeight < 0) return FALSE;
  return DcBlit(Dest, X, Y, Width, Height, Src, XSrc, YSrc, SrcWidth, SrcHeight, SRCCOPY, true, Transparent)
             ? TRUE
             : FALSE;
}

int StretchDIBits(HDC Dc, int XDest, int YDest, int DestWidth, int DestHeight, int XSrc, int YSrc, int SrcWidth,
                  int SrcHeight, const void* Bits, const BITMAPINFO* Info, UINT, DWORD Rop) {
  auto D = DcOf(Dc);
  DibFormat F;
  if (!D || !Bits || !ParseDibFormat(Info, F)) return 0;
  if (!D->Begin()) return 0;
  std::vector<uint32_t> Store;
  auto S = DibSurface(F, Bits, Store);
  BlitJob J;
  J.Dest = D.get();
  Span1 DX = SpanOf(XDest, DestWidth), DY = SpanOf(YDest, DestHeight);
  POINT DO = D->ToSurface(POINT{DX.Lo, DY.Lo});
  J.DestRect = {DO.X, DO.Y, DO.X + DX.Len, DO.Y + DY.Len};
  Span1 SX = SpanOf(XSrc, SrcWidth), SY = SpanOf(YSrc, SrcHeight);
  // A bottom-up DIB's source rows count upwards from its last row.
  int Top = F.BottomUp ? F.Height - (SY.Lo + SY.Len) : SY.Lo;
  J.Src = S.get();
  J.SrcRect = {SX.Lo, Top, SX.Lo + SX.Len, Top + SY.Len};
  J.MirrorX = DX.Back != SX.Back;
  J.MirrorY = DY.Back != SY.Back;
  J.RopIndex = (Rop >> 16) & 0xFF;
  J.Pattern = PatternPixel(*D);
  if (!RopUsesSource(J.RopIndex)) J.Src = nullptr;
  RunBlit(J);
  D->Commit();
  return SY.Len;
}

int SetDIBitsToDevice(HDC Dc, int XDest, int YDest, DWORD Width, DWORD Height, int XSrc, int YSrc, UINT StartScan,
                      UINT Lines, const void* Bits, const BITMAPINFO* Info, UINT) {
  auto D = DcOf(Dc);
  DibFormat F;
  if (!D || !Bits || !ParseDibFormat(Info, F) || Lines == 0) return 0;
  if (!D->Begin()) return 0;
  // Bits hold scan lines StartScan .. StartScan + Lines - 1 (counted from the bottom in a
  // bottom-up DIB): make a DIB of just those lines.
  UINT First = std::min<UINT>(StartScan, static_cast<UINT>(F.Height));
  UINT N = std::min<UINT>(Lines, static_cast<UINT>(F.Height) - First);
  if (N == 0) return 0;
  DibFormat Band = F;
  Band.Height = static_cast<int>(N);
  std::vector<uint32_t> Store;
  auto S = DibSurface(Band, Bits, Store);
  // Source rows of the band in visual order of the whole image.
  const int BandTop = F.BottomUp ? F.Height - static_cast<int>(First + N) : static_cast<int>(First);
  const int Top = F.BottomUp ? F.Height - (YSrc + static_cast<int>(Height)) : YSrc;
  BlitJob J;
  J.Dest = D.get();
  POINT DO = D->ToSurface(POINT{XDest, YDest});
  J.DestRect = {DO.X, DO.Y, DO.X + static_cast<int>(Width), DO.Y + static_cast<int>(Height)};
  J.Src = S.get();
  J.SrcRect = {XSrc, Top - BandTop, XSrc + static_cast<int>(Width), Top - BandTop + static_cast<int>(Height)};
  RunBlit(J);
  D->Commit();
  return static_cast<int>(N);
}

COLORREF SetPixel(HDC Dc, int X, int Y, COLORREF Color) {
  auto D = DcOf(Dc);
  if (!D || !D->Begin()) return CLR_INVALID;
  POINT P = D->ToSurface(POINT{X, Y});
  if (!D->Visible(P.X, P.Y)) return CLR_INVALID;
  uint32_t& Px = D->Target()->Row(P.Y)[P.X];
  Px = PixelOf(Color);
  D->Commit();
  return ColorOfPixel(D->Target()->Row(P.Y)[P.X]);
}

BOOL SetPixelV(HDC Dc, int X, int Y, COLORREF Color) { return SetPixel(Dc, X, Y, Color) != CLR_INVALID; }

COLORREF GetPixel(HDC Dc, int X, int Y) {
  auto D = DcOf(Dc);
  if (!D || !D->Begin()) return CLR_INVALID;
  POINT P = D->ToSurface(POINT{X, Y});
  if (!D->Visible(P.X, P.Y)) return CLR_INVALID;
  return ColorOfPixel(D->Target()->Row(P.Y)[P.X]);
}
