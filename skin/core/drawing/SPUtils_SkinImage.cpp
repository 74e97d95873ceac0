// Skin-image composition: 3-part strips, 9-part images and their variants, and the four
// border strips of a frame, built from one rectangle of a skin picture at any size.
#include <algorithm>
#include <cstdint>
#include <cstring>

#include "platform/ui/Graphics.h"
#include "skin/core/drawing/SPUtils.h"

namespace {

TRect Piece(const TRect& R, Integer X1, Integer Y1, Integer X2, Integer Y2) {
  return Rect(R.Left + X1, R.Top + Y1, R.Left + X2, R.Top + Y2);
}

// Puts pieces of Source (given relative to R) into Dest.
class TComposer {
 public:
  TComposer(TBitmap* Dest, TBitmap* Source, const TRect& R) : FDest(Dest), FSource(Source), FR(R) {}

  // For a composition of many pieces: R of a source of another depth than 32 bits is
  // copied once to a 32-bit bitmap, and the pieces come from there. Every copy straight
  // from such a source would first compare all its bits with the pixels last read from
  // them. A rectangle reaching outside the source stays where it is, so that pieces
  // outside it keep copying nothing.
  void SnapshotSource() {
    if (!Ready() || FSource->PixelFormat() == pf32bit || FR.Left < 0 || FR.Top < 0 ||
        FR.Right > FSource->Width() || FR.Bottom > FSource->Height() || FR.Right <= FR.Left ||
        FR.Bottom <= FR.Top)
      return;
    FSnapshot = CreateOwned<TBitmap>();
    FSnapshot->SetPixelFormat(pf32bit);
    FSnapshot->SetSize(RectWidth(FR), RectHeight(FR));
    FSnapshot->Canvas()->CopyRect(Rect(0, 0, RectWidth(FR), RectHeight(FR)), FSource->Canvas(), FR);
    FSource = FSnapshot.get();
    FR = Rect(0, 0, RectWidth(FR), RectHeight(FR));
  }

  bool Ready() const { return FDest && FSource && !FDest->Empty() && !FSource->Empty(); }

  // Scaled rectangle copy (plain copy when the sizes agree). Pieces or targets without
  // extent copy nothing: with crossed corner points the corners drawn afterwards cover
  // the target anyway, and a mirrored copy is never what a skin means.
  void Copy(Integer X1, Integer Y1, Integer X2, Integer Y2, const TRect& Dst) {
    if (!Ready() || X2 <= X1 || Y2 <= Y1 || Dst.Right <= Dst.Left || Dst.Bottom <= Dst.Top) return;
    FDest->Canvas()->CopyRect(Dst, FSource->Canvas(), Piece(FR, X1, Y1, X2, Y2));
  }

  // The piece copied 1:1 into a bitmap of its own, which is then drawn scaled.
  void Stretch(Integer X1, Integer Y1, Integer X2, Integer Y2, const TRect& Dst) {
    if (!Ready() || X2 <= X1 || Y2 <= Y1 || Dst.Right <= Dst.Left || Dst.Bottom <= Dst.Top) return;
    TOwned<TBitmap> B = CreateOwned<TBitmap>();
    B->SetSize(X2 - X1, Y2 - Y1);
    B->Canvas()->CopyRect(Rect(0, 0, X2 - X1, Y2 - Y1), FSource->Canvas(),
                          Piece(FR, X1, Y1, X2, Y2));
    FDest->Canvas()->StretchDraw(Dst, B.get());
  }

  // The piece (X1, Y1)-(X2, Y2) repeated over Dst from its top-left corner, the last
  // column and row of tiles cut at Dst's edges. One tile is copied from the source; the
  // rest is copied from what is already filled, doubling each time, so a run of N tiles
  // takes about log2(N) copies per direction instead of N (a one-pixel piece over a wide
  // panel would otherwise be a million copies).
  void Tile(Integer X1, Integer Y1, Integer X2, Integer Y2, const TRect& Dst) {
    const Integer PW = X2 - X1, PH = Y2 - Y1;
    const Integer W = Dst.Right - Dst.Left, H = Dst.Bottom - Dst.Top;
    if (!Ready() || PW <= 0 || PH <= 0 || W <= 0 || H <= 0) return;
    const Integer FW = std::min(PW, W), FH = std::min(PH, H);
    Copy(X1, Y1, X1 + FW, Y1 + FH, Rect(Dst.Left, Dst.Top, Dst.Left + FW, Dst.Top + FH));
    if (RepeatInRows(Dst, FW, FH)) return;
    TCanvas* C = FDest->Canvas();
    for (Integer Done = FW; Done < W;) {
      const Integer N = std::min(Done, W - Done);
      C->CopyRect(Rect(Dst.Left + Done, Dst.Top, Dst.Left + Done + N, Dst.Top + FH), C,
                  Rect(Dst.Left, Dst.Top, Dst.Left + N, Dst.Top + FH));
      Done += N;
    }
    for (Integer Done = FH; Done < H;) {
      const Integer N = std::min(Done, H - Done);
      C->CopyRect(Rect(Dst.Left, Dst.Top + Done, Dst.Right, Dst.Top + Done + N), C,
                  Rect(Dst.Left, Dst.Top, Dst.Right, Dst.Top + N));
      Done += N;
    }
  }

  // The tile in the top-left FW x FH corner of Dst repeated over the rest of Dst straight
  // in the rows of a 32-bit destination, when a copy within its canvas would land on the
  // same pixels: Dst inside the bitmap, no clipping and no moved origin on its canvas. A
  // copy within one canvas reads from a snapshot of the source area first, which for a
  // big image costs as much as the copy again in new pages. False when it cannot.
  bool RepeatInRows(const TRect& Dst, Integer FW, Integer FH) {
    if (FDest->PixelFormat() != pf32bit || Dst.Left < 0 || Dst.Top < 0 || Dst.Right > FDest->Width() ||
        Dst.Bottom > FDest->Height())
      return false;
    HDC DC = FDest->Canvas()->Handle();
    POINT WindowOrg{}, ViewportOrg{};
    if (!GetWindowOrgEx(DC, &WindowOrg) || !GetViewportOrgEx(DC, &ViewportOrg) || WindowOrg.X != 0 ||
        WindowOrg.Y != 0 || ViewportOrg.X != 0 || ViewportOrg.Y != 0)
      return false;
    HRGN Clip = CreateRectRgn(0, 0, 0, 0);
    const int Clipped = GetClipRgn(DC, Clip);
    DeleteObject(Clip);
    if (Clipped != 0) return false;
    GdiFlush();
    const size_t Bytes = static_cast<size_t>(Dst.Right - Dst.Left) * 4;
    for (Integer Y = Dst.Top; Y < Dst.Top + FH; ++Y) {
      uint32_t* Row = static_cast<uint32_t*>(FDest->ScanLine(Y)) + Dst.Left;
      for (Integer Done = FW, W = Dst.Right - Dst.Left; Done < W;) {
        const Integer N = std::min(Done, W - Done);
        std::memcpy(Row + Done, Row, static_cast<size_t>(N) * 4);
        Done += N;
      }
    }
    for (Integer Y = Dst.Top + FH; Y < Dst.Bottom; ++Y)
      std::memcpy(static_cast<uint32_t*>(FDest->ScanLine(Y)) + Dst.Left,
                  static_cast<const uint32_t*>(FDest->ScanLine(Dst.Top + (Y - Dst.Top) % FH)) + Dst.Left, Bytes);
    return true;
  }

  // Tiles of length L from S to E along x, each from Top to Bottom; the last one is cut
  // at E. A piece narrower than L leaves the rest of each tile as it was; a piece of
  // another height than the band is scaled to it, tile by tile.
  void TileH(Integer X1, Integer Y1, Integer X2, Integer Y2, Integer L, Integer S, Integer E,
             Integer Top, Integer Bottom) {
    if (L <= 0 || E <= S) return;
    if (X2 - X1 == L && Y2 - Y1 == Bottom - Top) return Tile(X1, Y1, X2, Y2, Rect(S, Top, E, Bottom));
    for (Integer P = S; P < E; P += L)
      Copy(X1, Y1, X2 - std::max(0, P + L - E), Y2, Rect(P, Top, std::min(P + L, E), Bottom));
  }

  void TileV(Integer X1, Integer Y1, Integer X2, Integer Y2, Integer L, Integer S, Integer E,
             Integer Left, Integer Right) {
    if (L <= 0 || E <= S) return;
    if (Y2 - Y1 == L && X2 - X1 == Right - Left) return Tile(X1, Y1, X2, Y2, Rect(Left, S, Right, E));
    for (Integer P = S; P < E; P += L)
      Copy(X1, Y1, X2, Y2 - std::max(0, P + L - E), Rect(Left, P, Right, std::min(P + L, E)));
  }

  // An edge piece stretched into Dst or tiled along its length.
  void Edge(bool Stretched, bool Horizontal, Integer X1, Integer Y1, Integer X2, Integer Y2,
            const TRect& Dst) {
    if (Stretched)
      Stretch(X1, Y1, X2, Y2, Dst);
    else if (Horizontal)
      TileH(X1, Y1, X2, Y2, X2 - X1, Dst.Left, Dst.Right, Dst.Top, Dst.Bottom);
    else
      TileV(X1, Y1, X2, Y2, Y2 - Y1, Dst.Top, Dst.Bottom, Dst.Left, Dst.Right);
  }

  // The client piece ClRect put into E: tiled in both directions (columns outermost) or
  // stretched by StretchType. Clip limits the two repeating stretch modes to E.
  void Client(const TRect& ClRect, const TRect& E, bool StretchEffect, TspStretchType StretchType,
              bool Clip) {
    const Integer cw = ClRect.Right - ClRect.Left, ch = ClRect.Bottom - ClRect.Top;
    const Integer NW = E.Right - E.Left, NH = E.Bottom - E.Top;
    if (!Ready() || cw <= 0 || ch <= 0) return;
    if (!StretchEffect) {
      Tile(ClRect.Left, ClRect.Top, ClRect.Right, ClRect.Bottom, E);
      return;
    }
    TOwned<TBitmap> B = CreateOwned<TBitmap>();
    B->SetSize(cw, ch);
    B->Canvas()->CopyRect(Rect(0, 0, cw, ch), FSource->Canvas(),
                          Piece(FR, ClRect.Left, ClRect.Top, ClRect.Right, ClRect.Bottom));
    if (NW <= 0 || NH <= 0) return;
    TCanvas* canvas = FDest->Canvas();
    if (StretchType == spstFull) {
      canvas->StretchDraw(E, B.get());
      return;
    }
    if (StretchType != spstHorz && StretchType != spstVert) return;
    const bool horz = StretchType == spstHorz;
    int saved = 0;
    if (Clip) {
      saved = SaveDC(canvas->Handle());
      IntersectClipRect(canvas->Handle(), E.Left, E.Top, E.Right, E.Bottom);
    }
    TOwned<TBitmap> C = CreateOwned<TBitmap>();
    C->SetSize(horz ? cw : NW, horz ? NH : ch);
    C->Canvas()->StretchDraw(Rect(0, 0, C->Width(), C->Height()), B.get());
    if (horz)
      for (Integer i = 0; i <= NW / cw; ++i) canvas->Draw(E.Left + i * cw, E.Top, C.get());
    else
      for (Integer j = 0; j <= NH / ch; ++j) canvas->Draw(E.Left, E.Top + j * ch, C.get());
    if (Clip) RestoreDC(canvas->Handle(), saved);
  }

 private:
  TBitmap* FDest;
  TBitmap* FSource;
  TRect FR;
  TOwned<TBitmap> FSnapshot;
};

// Every copy onto a bitmap of another depth than 32 bits converts that bitmap's rows;
// an image put together from many pieces is therefore composed on a 32-bit copy of it
// (what it showed before included) and converted back once, when this goes.
class TWorkBitmap {
 public:
  explicit TWorkBitmap(TBitmap* Dest) : FDest(Dest) {
    if (Dest->PixelFormat() == pf32bit || Dest->Empty()) return;
    FWork = CreateOwned<TBitmap>();
    FWork->SetPixelFormat(pf32bit);
    FWork->SetSize(Dest->Width(), Dest->Height());
    const TRect All = Rect(0, 0, Dest->Width(), Dest->Height());
    FWork->Canvas()->CopyRect(All, Dest->Canvas(), All);
  }
  ~TWorkBitmap() {
    if (!FWork) return;
    const TRect All = Rect(0, 0, FDest->Width(), FDest->Height());
    FDest->Canvas()->CopyRect(All, FWork->Canvas(), All);
  }
  TWorkBitmap(const TWorkBitmap&) = delete;
  TWorkBitmap& operator=(const TWorkBitmap&) = delete;
  TBitmap* Get() const { return FWork ? FWork.get() : FDest; }

 private:
  TBitmap* FDest;
  TOwned<TBitmap> FWork;
};

enum class HStripKind { Full, NoRight, Middle };

void HSkinImage(HStripKind Kind, Integer LeftOffset, Integer RightOffset, TBitmap* Dest,
                TBitmap* Source, const TRect& R, Integer AWidth, Boolean AStretch) {
  if (!Dest) return;
  const Integer WR = RectWidth(R), HR = RectHeight(R);
  Dest->SetSize(AWidth, HR);
  TComposer c(Dest, Source, R);
  if (!c.Ready()) return;
  const Integer DW = Dest->Width(), DH = Dest->Height();
  if (Kind != HStripKind::Middle && LeftOffset != 0)
    c.Copy(0, 0, LeftOffset, HR, Rect(0, 0, LeftOffset, DH));
  if (Kind == HStripKind::Full && RightOffset != 0)
    c.Copy(WR - RightOffset, 0, WR, HR, Rect(DW - RightOffset, 0, DW, DH));
  // A middle without width still counts as one pixel per tile (and copies nothing).
  const Integer w = std::max(WR - RightOffset - LeftOffset, 0);
  const Integer S = Kind == HStripKind::Middle ? 0 : LeftOffset;
  const Integer E = Kind == HStripKind::Full ? DW - RightOffset : DW;
  if (AStretch)
    c.Stretch(LeftOffset, 0, WR - RightOffset, HR, Rect(S, 0, E, DH));
  else
    c.TileH(LeftOffset, 0, WR - RightOffset, HR, w == 0 ? 1 : w, S, E, 0, DH);
}

struct TNinePart {
  TPoint LT, RT, LB, RB;
  TRect Cl;
  TPoint NLT, NRT, NLB, NRB;
  TRect NCl;
};

// Steps shared by the 9-part image and its variant without the right band.
void NinePart(const TNinePart& G, TBitmap* Dest, TBitmap* Source, const TRect& R, Integer AW,
              Integer AH, Boolean DrawClient, Boolean LeftStretch, Boolean TopStretch,
              Boolean RightStretch, Boolean BottomStretch, Boolean StretchEffect,
              TspStretchType StretchType, bool NoRight) {
  if (!Dest) return;
  Dest->SetSize(AW, AH);
  if (G.RB.X == G.LT.X || G.RB.Y == G.LT.Y || !Source || Source->Empty()) return;
  const TWorkBitmap Work(Dest);
  TComposer c(Work.Get(), Source, R);
  if (!c.Ready()) return;
  c.SnapshotSource();
  const Integer WR = RectWidth(R), HR = RectHeight(R);

  // Edges: top, bottom, left, right.
  if (NoRight) {
    if (TopStretch)
      c.Stretch(G.LT.X, 0, G.RT.X, G.Cl.Top, Rect(G.NLT.X, 0, AW, G.NCl.Top));
    else
      c.TileH(G.LT.X, 0, G.RT.X, G.Cl.Top, G.RT.X - G.LT.X, G.NLT.X, AW, 0, G.NCl.Top);
    if (BottomStretch)
      c.Stretch(G.LB.X, G.Cl.Bottom, G.RB.X, HR, Rect(G.NLB.X, G.NCl.Bottom, AW, AH));
    else
      c.TileH(G.LB.X, G.Cl.Bottom, G.RB.X, HR, G.RB.X - G.LB.X, G.NLB.X, AW, G.NCl.Bottom, AH);
  } else {
    c.Edge(TopStretch, true, G.LT.X, 0, G.RT.X, G.Cl.Top, Rect(G.NLT.X, 0, G.NRT.X, G.NCl.Top));
    c.Edge(BottomStretch, true, G.LB.X, G.Cl.Bottom, G.RB.X, HR,
           Rect(G.NLB.X, G.NCl.Bottom, G.NRB.X, AH));
  }
  c.Edge(LeftStretch, false, 0, G.LT.Y, G.Cl.Left, G.LB.Y, Rect(0, G.NLT.Y, G.NCl.Left, G.NLB.Y));
  if (!NoRight)
    c.Edge(RightStretch, false, G.Cl.Right, G.RT.Y, WR, G.RB.Y,
           Rect(G.NCl.Right, G.NRT.Y, AW, G.NRB.Y));

  // Corners, each cut into two rectangles; the order decides which piece ends on top
  // when the new corner points cross.
  c.Copy(0, 0, G.LT.X, G.Cl.Top, Rect(0, 0, G.NLT.X, G.NCl.Top));
  c.Copy(0, G.Cl.Top, G.Cl.Left, G.LT.Y, Rect(0, G.NCl.Top, G.NCl.Left, G.NLT.Y));
  if (!NoRight) {
    c.Copy(G.RT.X, 0, WR, G.Cl.Top, Rect(G.NRT.X, 0, AW, G.NCl.Top));
    c.Copy(G.Cl.Right, G.Cl.Top, WR, G.RT.Y, Rect(G.NCl.Right, G.NCl.Top, AW, G.NRT.Y));
  }
  c.Copy(0, G.LB.Y, G.Cl.Left, HR, Rect(0, G.NLB.Y, G.NCl.Left, AH));
  c.Copy(G.Cl.Left, G.Cl.Bottom, G.LB.X, HR, Rect(G.NCl.Left, G.NCl.Bottom, G.NLB.X, AH));
  if (!NoRight) {
    c.Copy(G.RB.X, G.Cl.Bottom, WR, HR, Rect(G.NRB.X, G.NCl.Bottom, AW, AH));
    c.Copy(G.Cl.Right, G.RB.Y, WR, G.Cl.Bottom, Rect(G.NCl.Right, G.NRB.Y, AW, G.NCl.Bottom));
  }

  if (!DrawClient) return;
  const TRect E = NoRight ? Rect(G.NCl.Left, G.NCl.Top, AW, G.NCl.Bottom) : G.NCl;
  c.Client(G.Cl, E, StretchEffect, StretchType, true);
}

}  // namespace

void CreateHSkinImage(Integer LeftOffset, Integer RightOffset, TBitmap* Dest, TBitmap* Source,
                      const TRect& R, Integer AWidth, Integer /*AHeight*/, Boolean AStretch) {
  HSkinImage(HStripKind::Full, LeftOffset, RightOffset, Dest, Source, R, AWidth, AStretch);
}

void CreateHSkinImageNoRight(Integer LeftOffset, Integer RightOffset, TBitmap* Dest,
                             TBitmap* Source, const TRect& R, Integer AWidth, Integer /*AHeight*/,
                             Boolean AStretch) {
  HSkinImage(HStripKind::NoRight, LeftOffset, RightOffset, Dest, Source, R, AWidth, AStretch);
}

void CreateHSkinImageMiddle(Integer LeftOffset, Integer RightOffset, TBitmap* Dest, TBitmap* Source,
                            const TRect& R, Integer AWidth, Integer /*AHeight*/, Boolean AStretch) {
  HSkinImage(HStripKind::Middle, LeftOffset, RightOffset, Dest, Source, R, AWidth, AStretch);
}

void CreateVSkinImage(Integer TopOffset, Integer BottomOffset, TBitmap* Dest, TBitmap* Source,
                      const TRect& R, Integer /*AWidth*/, Integer AHeight, Boolean AStretch) {
  if (!Dest) return;
  const Integer WR = RectWidth(R), HR = RectHeight(R);
  Dest->SetSize(WR, AHeight);
  TComposer c(Dest, Source, R);
  if (!c.Ready()) return;
  const Integer DW = Dest->Width(), DH = Dest->Height();
  if (TopOffset != 0) c.Copy(0, 0, WR, TopOffset, Rect(0, 0, DW, TopOffset));
  if (BottomOffset != 0) c.Copy(0, HR - BottomOffset, WR, HR, Rect(0, DH - BottomOffset, DW, DH));
  const Integer h = HR - BottomOffset - TopOffset;
  if (h == 0) return;
  if (AStretch)
    c.Stretch(0, TopOffset, WR, HR - BottomOffset, Rect(0, TopOffset, DW, DH - BottomOffset));
  else
    c.TileV(0, TopOffset, WR, HR - BottomOffset, h, TopOffset, DH - BottomOffset, 0, DW);
}

void CreateSkinImage(TPoint LTPoint, TPoint RTPoint, TPoint LBPoint, TPoint RBPoint, TRect ClRect,
                     TPoint NewLTPoint, TPoint NewRTPoint, TPoint NewLBPoint, TPoint NewRBPoint,
                     TRect NewClRect, TBitmap* Dest, TBitmap* Source, const TRect& R, Integer AW,
                     Integer AH, Boolean DrawClient, Boolean LeftStretch, Boolean TopStretch,
                     Boolean RightStretch, Boolean BottomStretch, Boolean StretchEffect,
                     TspStretchType StretchType) {
  NinePart({LTPoint, RTPoint, LBPoint, RBPoint, ClRect, NewLTPoint, NewRTPoint, NewLBPoint,
            NewRBPoint, NewClRect},
           Dest, Source, R, AW, AH, DrawClient, LeftStretch, TopStretch, RightStretch,
           BottomStretch, StretchEffect, StretchType, false);
}

void CreateSkinImage2(TPoint LTPoint, TPoint RTPoint, TPoint LBPoint, TPoint RBPoint, TRect ClRect,
                      TPoint NewLTPoint, TPoint NewRTPoint, TPoint NewLBPoint, TPoint NewRBPoint,
                      TRect NewClRect, TBitmap* Dest, TBitmap* Source, const TRect& R, Integer AW,
                      Integer AH, Boolean DrawClient, Boolean LeftStretch, Boolean TopStretch,
                      Boolean RightStretch, Boolean BottomStretch, Boolean StretchEffect,
                      TspStretchType StretchType) {
  CreateSkinImage(LTPoint, RTPoint, LBPoint, RBPoint, ClRect, NewLTPoint, NewRTPoint, NewLBPoint,
                  NewRBPoint, NewClRect, Dest, Source, R, AW, AH, DrawClient, LeftStretch,
                  TopStretch, RightStretch, BottomStretch, StretchEffect, StretchType);
}

void CreateSkinImageNoRight(TPoint LTPoint, TPoint RTPoint, TPoint LBPoint, TPoint RBPoint,
                            TRect ClRect, TPoint NewLTPoint, TPoint NewRTPoint, TPoint NewLBPoint,
                            TPoint NewRBPoint, TRect NewClRect, TBitmap* Dest, TBitmap* Source,
                            const TRect& R, Integer AW, Integer AH, Boolean DrawClient,
                            Boolean LeftStretch, Boolean TopStretch, Boolean /*RightStretch*/,
                            Boolean BottomStretch, Boolean StretchEffect,
                            TspStretchType StretchType) {
  NinePart({LTPoint, RTPoint, LBPoint, RBPoint, ClRect, NewLTPoint, NewRTPoint, NewLBPoint,
            NewRBPoint, NewClRect},
           Dest, Source, R, AW, AH, DrawClient, LeftStretch, TopStretch, false, BottomStretch,
           StretchEffect, StretchType, true);
}

void CreateStretchSkinImage(TBitmap* Dest, TBitmap* Source, const TRect& R, const TRect& ClRect,
                            Boolean DrawClient) {
  if (!Dest) return;
  const Integer AW = Dest->Width(), AH = Dest->Height();
  const TPoint LT{ClRect.Left, ClRect.Top}, RT{ClRect.Right, ClRect.Top};
  const TPoint LB{ClRect.Left, ClRect.Bottom}, RB{ClRect.Right, ClRect.Bottom};
  const TRect NCl = Rect(ClRect.Left, ClRect.Top, AW - (RectWidth(R) - ClRect.Right),
                         AH - (RectHeight(R) - ClRect.Bottom));
  CreateSkinImage(LT, RT, LB, RB, ClRect, TPoint{NCl.Left, NCl.Top}, TPoint{NCl.Right, NCl.Top},
                  TPoint{NCl.Left, NCl.Bottom}, TPoint{NCl.Right, NCl.Bottom}, NCl, Dest, Source, R,
                  AW, AH, DrawClient, true, true, true, true, true, spstFull);
}

void CreateSkinClientImage(TRect ClRect, TRect NewClRect, TBitmap* Dest, TBitmap* Source,
                           const TRect& R, Integer AW, Integer AH, Boolean StretchEffect,
                           TspStretchType StretchType) {
  if (!Dest) return;
  Dest->SetSize(AW, AH);
  if (IsNullRect(NewClRect)) return;
  const TWorkBitmap Work(Dest);
  TComposer c(Work.Get(), Source, R);
  if (!c.Ready()) return;
  c.Client(ClRect, Rect(0, 0, RectWidth(NewClRect), RectHeight(NewClRect)), StretchEffect,
           StretchType, false);
}

void CreateSkinBorderStrips(TPoint LTPoint, TPoint RTPoint, TPoint LBPoint, TPoint RBPoint,
                            TRect ClRect, TPoint NewLTPoint, TPoint NewRTPoint, TPoint NewLBPoint,
                            TPoint NewRBPoint, TRect NewClRect, TBitmap* LeftB, TBitmap* TopB,
                            TBitmap* RightB, TBitmap* BottomB, TBitmap* Source, const TRect& R,
                            Integer AW, Integer AH, Boolean LeftStretch, Boolean TopStretch,
                            Boolean RightStretch, Boolean BottomStretch) {
  if (!LeftB || !TopB || !RightB || !BottomB) return;
  const Integer WR = RectWidth(R), HR = RectHeight(R);

  Integer h = NewClRect.Top;
  if (AW > 0 && h > 0 && RTPoint.X > LTPoint.X) {
    TopB->SetSize(AW, h);
    TComposer c(TopB, Source, R);
    if (TopStretch)
      c.Stretch(LTPoint.X, 0, RTPoint.X, h, Rect(NewLTPoint.X, 0, NewRTPoint.X, h));
    else
      c.TileH(LTPoint.X, 0, RTPoint.X, h, RTPoint.X - LTPoint.X, 0, AW, 0, h);
    c.Copy(0, 0, LTPoint.X, h, Rect(0, 0, NewLTPoint.X, h));
    c.Copy(RTPoint.X, 0, WR, h, Rect(NewRTPoint.X, 0, AW, h));
  }

  h = AH - NewClRect.Bottom;
  if (AW > 0 && h > 0 && RBPoint.X > LBPoint.X) {
    BottomB->SetSize(AW, h);
    TComposer c(BottomB, Source, R);
    const Integer y1 = HR - h;
    if (BottomStretch)
      c.Stretch(LBPoint.X, y1, RBPoint.X, HR, Rect(NewLBPoint.X, 0, NewRBPoint.X, h));
    else
      c.TileH(LBPoint.X, y1, RBPoint.X, HR, RBPoint.X - LBPoint.X, 0, AW, 0, h);
    c.Copy(0, y1, LBPoint.X, HR, Rect(0, 0, NewLBPoint.X, h));
    c.Copy(RBPoint.X, y1, WR, HR, Rect(NewRBPoint.X, 0, AW, h));
  }

  // The side strips fit between the heights the top and bottom strips have now, made
  // by this call or left from an earlier one.
  const Integer H = AH - TopB->Height() - BottomB->Height();
  auto Side = [&](TBitmap* B, Integer X1, Integer X2, Integer w, Integer TopY, Integer BottomY,
                  bool Stretched) {
    B->SetSize(w, H);
    TComposer c(B, Source, R);
    if (Stretched)
      c.Stretch(X1, TopY, X2, BottomY,
                Rect(0, TopY - ClRect.Top, w, H - (ClRect.Bottom - BottomY)));
    else
      c.TileV(X1, TopY, X2, BottomY, BottomY - TopY, 0, H, 0, w);
    if (TopY > ClRect.Top) c.Copy(X1, ClRect.Top, X2, TopY, Rect(0, 0, w, TopY - ClRect.Top));
    if (ClRect.Bottom > BottomY)
      c.Copy(X1, BottomY, X2, ClRect.Bottom, Rect(0, H - (ClRect.Bottom - BottomY), w, H));
  };

  const Integer wl = NewClRect.Left;
  if (wl > 0 && H > 0 && LBPoint.Y > LTPoint.Y)
    Side(LeftB, 0, wl, wl, LTPoint.Y, LBPoint.Y, LeftStretch);

  const Integer wr = AW - NewClRect.Right;
  if (wr >= 1 && H >= 1 && RBPoint.Y - RTPoint.Y >= 1)
    Side(RightB, ClRect.Right, WR, wr, RTPoint.Y, RBPoint.Y, RightStretch);
}
