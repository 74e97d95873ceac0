// Scroll state of the standard bars and ScrollWindowEx on the top-level backing store.
#include "platform/win/Scroll.h"

#include <algorithm>
#include <vector>

#include "platform/win/GdiInternal.h"
#include "platform/win/Paint.h"
#include "platform/win/PaintState.h"

using namespace vantrel::win;

namespace {

Window* Find(HWND Wnd, WindowManager** Out = nullptr) {
  WindowManager* M = WindowManager::Instance();
  if (Out) *Out = M;
  if (!M) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  return M->FindOrFail(Wnd);
}

// The bar's state; Create makes it exist (a setter), else a window without the bar's
// style and without state set before has none.
ScrollBarState* Bar(HWND Wnd, int Which, bool Create) {
  if (Which != SB_HORZ && Which != SB_VERT) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  Window* W = Find(Wnd);
  if (!W) return nullptr;
  ScrollBarState& S = Which == SB_HORZ ? PaintDataOf(W).Horz : PaintDataOf(W).Vert;
  if (W->Style & (Which == SB_HORZ ? WS_HSCROLL : WS_VSCROLL)) S.Exists = true;
  if (Create) S.Exists = true;
  if (!S.Exists) {
    SetLastError(ERROR_NO_SCROLLBARS);
    return nullptr;
  }
  return &S;
}

// Page within the range's size, position within the range less the page.
void Normalize(ScrollBarState& S) {
  const int64_t Span = static_cast<int64_t>(S.Max) - S.Min + 1;
  if (static_cast<int64_t>(S.Page) > Span) S.Page = static_cast<UINT>(std::max<int64_t>(Span, 0));
  const int64_t Last = std::max<int64_t>(S.Min, static_cast<int64_t>(S.Max) - std::max<int64_t>(S.Page, 1) + 1);
  S.Pos = static_cast<int>(std::clamp<int64_t>(S.Pos, S.Min, Last));
}

RECT Intersection(const RECT& A, const RECT& B) {
  RECT R{std::max(A.Left, B.Left), std::max(A.Top, B.Top), std::min(A.Right, B.Right), std::min(A.Bottom, B.Bottom)};
  if (R.Right < R.Left) R.Right = R.Left;
  if (R.Bottom < R.Top) R.Bottom = R.Top;
  return R;
}

// Copies the pixels of Dst (top-level coordinates) from DX, DY pixels back. All sources
// are read before anything is written, so overlapping moves come out right.
void MovePixels(Surface& S, const Region& Dst, int DX, int DY) {
  const RECT Bounds{0, 0, S.Width(), S.Height()};
  const RECT E = Dst.Extents();
  const RECT Src = Intersection(RECT{E.Left - DX, E.Top - DY, E.Right - DX, E.Bottom - DY}, Bounds);
  const int W = Src.Right - Src.Left, H = Src.Bottom - Src.Top;
  if (W <= 0 || H <= 0) return;
  std::vector<uint32_t> Copy(static_cast<size_t>(W) * H);
  for (int Y = 0; Y < H; ++Y) std::copy_n(S.Row(Src.Top + Y) + Src.Left, W, Copy.data() + static_cast<size_t>(Y) * W);
  for (const RECT& Rc : Dst.Rects()) {
    // The part of this rectangle whose source lies in the copy.
    const RECT D = Intersection(Intersection(Rc, Bounds), RECT{Src.Left + DX, Src.Top + DY, Src.Right + DX, Src.Bottom + DY});
    for (int Y = D.Top; Y < D.Bottom; ++Y)
      std::copy_n(Copy.data() + static_cast<size_t>(Y - DY - Src.Top) * W + (D.Left - DX - Src.Left),
                  D.Right - D.Left, S.Row(Y) + D.Left);
  }
}

}  // namespace

int SetScrollInfo(HWND Wnd, int Which, LPCSCROLLINFO Info, BOOL) {
  if (!Info || Info->cbSize != sizeof(SCROLLINFO)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  ScrollBarState* S = Bar(Wnd, Which, true);
  if (!S) return 0;
  if (Info->fMask & SIF_RANGE) {
    S->Min = Info->nMin;
    S->Max = std::max(Info->nMax, Info->nMin);
  }
  if (Info->fMask & SIF_PAGE) S->Page = Info->nPage;
  if (Info->fMask & SIF_POS) S->Pos = Info->nPos;
  Normalize(*S);
  return S->Pos;
}

BOOL GetScrollInfo(HWND Wnd, int Which, LPSCROLLINFO Info) {
  if (!Info || Info->cbSize != sizeof(SCROLLINFO)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const ScrollBarState* S = Bar(Wnd, Which, false);
  if (!S) return FALSE;
  if (Info->fMask & SIF_RANGE) {
    Info->nMin = S->Min;
    Info->nMax = S->Max;
  }
  if (Info->fMask & SIF_PAGE) Info->nPage = S->Page;
  if (Info->fMask & SIF_POS) Info->nPos = S->Pos;
  // No bar is dragged here: the track position is the position.
  if (Info->fMask & SIF_TRACKPOS) Info->nTrackPos = S->Pos;
  return TRUE;
}

int GetScrollPos(HWND Wnd, int Which) {
  const ScrollBarState* S = Bar(Wnd, Which, false);
  return S ? S->Pos : 0;
}

int SetScrollPos(HWND Wnd, int Which, int Pos, BOOL) {
  ScrollBarState* S = Bar(Wnd, Which, true);
  if (!S) return 0;
  const int Old = S->Pos;
  S->Pos = Pos;
  Normalize(*S);
  return Old;
}

BOOL GetScrollRange(HWND Wnd, int Which, int* MinPos, int* MaxPos) {
  if (!MinPos || !MaxPos) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  *MinPos = *MaxPos = 0;
  const ScrollBarState* S = Bar(Wnd, Which, false);
  if (!S) return FALSE;
  *MinPos = S->Min;
  *MaxPos = S->Max;
  return TRUE;
}

BOOL SetScrollRange(HWND Wnd, int Which, int MinPos, int MaxPos, BOOL) {
  if (MaxPos < MinPos) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  ScrollBarState* S = Bar(Wnd, Which, true);
  if (!S) return FALSE;
  S->Min = MinPos;
  S->Max = MaxPos;
  Normalize(*S);
  return TRUE;
}

int ScrollWindowEx(HWND Wnd, int DX, int DY, const RECT* Scroll, const RECT* Clip, HRGN UpdateRgn,
                   LPRECT UpdateRect, UINT Flags) {
  WindowManager* M;
  Window* W = Find(Wnd, &M);
  if (!W) return ERROR;
  std::shared_ptr<RegionObject> UpdateOut;
  if (UpdateRgn && !(UpdateOut = RegionOf(UpdateRgn))) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return ERROR;
  }
  const RECT Client{0, 0, W->ClientRect.Right - W->ClientRect.Left, W->ClientRect.Bottom - W->ClientRect.Top};
  const RECT Area = Scroll ? Intersection(*Scroll, Client) : Client;
  const RECT Allowed = Intersection(Area, Clip ? Intersection(*Clip, Client) : Client);
  const POINT CO = OffsetInTop(*M, W, true);
  Region Visible = VisibleRegion(*M, W, true, (W->Style & WS_CLIPCHILDREN) != 0);
  Visible.Translate(-CO.X, -CO.Y);

  // Pixels that show inside the scroll area land DX, DY further, where allowed and shown.
  Region Moved(Area);
  Moved.Intersect(Visible);
  Moved.Translate(DX, DY);
  Moved.IntersectRect(Allowed);
  Moved.Intersect(Visible);
  Region Strip(Allowed);
  Strip.Intersect(Visible);
  Strip.Subtract(Moved);

  Window* Top = TopLevelOf(W);
  if ((DX || DY) && !Moved.Empty() && Top->BackingStore) {
    Region InTop(Moved);
    InTop.Translate(CO.X, CO.Y);
    MovePixels(*Top->BackingStore, InTop, DX, DY);
    MarkDirty(Top, InTop);
  }
  // A pending update region moves with the pixels.
  WindowPaintData& D = PaintDataOf(W);
  Region Pending(D.Update);
  Pending.IntersectRect(Allowed);
  if (!Pending.Empty() && (DX || DY)) {
    D.Update.Subtract(Pending);
    Pending.Translate(DX, DY);
    Pending.IntersectRect(Allowed);
    D.Update.Union(Pending);
  }

  if (Flags & SW_SCROLLCHILDREN) {
    std::vector<HWND> Kids;
    for (Window* C : W->Children) {
      const RECT& R = C->Rect;
      if (!Scroll || (R.Left < Scroll->Right && Scroll->Left < R.Right && R.Top < Scroll->Bottom && Scroll->Top < R.Bottom))
        Kids.push_back(C->Handle);
    }
    for (HWND K : Kids)
      if (Window* C = M->Find(K))
        M->SetPos(C, nullptr, C->Rect.Left + DX, C->Rect.Top + DY, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (!(W = M->Find(Wnd))) return ERROR;
  }
  if (UpdateOut) UpdateOut->FRegion = Strip;
  if (UpdateRect) *UpdateRect = Strip.Extents();
  if ((Flags & SW_INVALIDATE) && !Strip.Empty())
    RedrawTree(*M, W, &Strip, RDW_INVALIDATE | ((Flags & SW_ERASE) ? RDW_ERASE : 0));
  return Strip.Complexity();
}

BOOL ScrollWindow(HWND Wnd, int DX, int DY, const RECT* Scroll, const RECT* Clip) {
  const UINT Flags = SW_INVALIDATE | SW_ERASE | (Scroll ? 0 : SW_SCROLLCHILDREN);
  return ScrollWindowEx(Wnd, DX, DY, Scroll, Clip, nullptr, nullptr, Flags) != ERROR ? TRUE : FALSE;
}
