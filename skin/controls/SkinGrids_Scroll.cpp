// Scrolling the grid: moving the top-left cell (or the only column by pixels), moving the
// window's pixels, and keeping the two external scroll bars in step with the content.
// A bar that scrolls by cells runs from 0 to 127; one that scrolls a single column by
// pixels runs in pixels.
#include <algorithm>

#include "platform/rtl/NumConv.h"
#include "platform/win/Paint.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Scroll.h"
#include "platform/win/WindowManager.h"
#include "skin/controls/SkinGrids.h"
#include "skin/core/drawing/SPUtils.h"

namespace {

constexpr Integer GridScrollScale = 127;

// The first parameter of a scroll message: the code with the position in the high word.
WPARAM GridScrollParam(Integer Code, Integer Pos) {
  return static_cast<WPARAM>((static_cast<uint32_t>(Pos) & 0xFFFF) << 16 | (static_cast<uint32_t>(Code) & 0xFFFF));
}

// Pixels taken by the cells First..Last-1 of an axis with their lines.
Integer GridCellsSpan(const TGridAxisLayout& A, Integer First, Integer Last) {
  Integer Result = 0;
  for (Integer I = First; I < Last; ++I) Result = CheckedAdd(Result, CheckedAdd(A.CellExtent(I), A.LineWidth));
  return Result;
}

}  // namespace

void TspSkinCustomGrid::MoveTopLeft(Integer ALeft, Integer ATop) {
  if (ALeft == FTopLeft.X && ATop == FTopLeft.Y) return;
  Update();
  const TGridCoord OldTopLeft = FTopLeft;
  FTopLeft = {ALeft, ATop};
  TopLeftMoved(OldTopLeft);
}

void TspSkinCustomGrid::TopLeftMoved(TGridCoord OldTopLeft) {
  if (OldTopLeft == FTopLeft) return;
  UpdateScrollPos(true);
  if (!HandleAllocated()) {
    TopLeftChanged();
    return;
  }
  TGridLayout L;
  CalcLayout(L);
  // Distance of one axis, or false when it is more than the scrolling part can show.
  auto Distance = [](const TGridAxisLayout& A, Integer OldFirst, Integer NewFirst, Integer& D) {
    D = GridCellsSpan(A, std::min(OldFirst, NewFirst), std::max(OldFirst, NewFirst));
    if (D > CheckedSub(A.GridEnd, A.FixedEnd)) return false;
    if (NewFirst > OldFirst) D = -D;
    return true;
  };
  Integer DX = 0, DY = 0;
  if (Distance(L.Horz, OldTopLeft.X, FTopLeft.X, DX) && Distance(L.Vert, OldTopLeft.Y, FTopLeft.Y, DY))
    ScrollLayout(DX, DY, L);
  else
    InvalidateGrid();
  TopLeftChanged();
  const Integer StripLeft = std::min(L.Horz.GridEnd, Width() - 1);
  if (FIndex >= 0 && (FTransparent || BGPicture)) {
    // The background stays where it is while the cells move over it.
    const TRect Client = ClientRect();
    const TRect Body{L.Horz.FixedEnd, L.Vert.FixedEnd, Client.Right, Client.Bottom};
    InvalidateRect(Handle(), &Body, true);
    const TRect Strip{StripLeft, 0, Width(), L.Vert.FixedEnd};
    InvalidateRect(Handle(), &Strip, true);
  } else {
    const TRect Strip{StripLeft, 0, Width(), Height()};
    InvalidateRect(Handle(), &Strip, true);
  }
}

void TspSkinCustomGrid::ScrollLayout(Integer DX, Integer DY, const TGridLayout& L) {
  const UINT Flags = SW_INVALIDATE | (FDefaultDrawing ? 0 : SW_ERASE);
  auto Move = [&](Integer X, Integer Y, const TRect& Area) {
    ScrollWindowEx(Handle(), X, Y, &Area, &Area, nullptr, nullptr, Flags);
  };
  if (DY == 0)
    Move(DX, 0, {L.Horz.FixedEnd, 0, L.Horz.GridExtent - 1, L.Vert.GridExtent});
  else if (DX == 0)
    Move(0, DY, {0, L.Vert.FixedEnd, L.Horz.GridExtent, L.Vert.GridExtent});
  else {
    Move(DX, 0, {L.Horz.FixedEnd, 0, L.Horz.GridExtent - 1, L.Vert.FixedEnd});
    Move(0, DY, {0, L.Vert.FixedEnd, L.Horz.FixedEnd, L.Vert.GridExtent});
    Move(DX, DY, {L.Horz.FixedEnd, L.Vert.FixedEnd, L.Horz.GridExtent, L.Vert.GridExtent});
  }
  if (FOptions.Contains(goRowSelect)) InvalidateGridRect(Selection());
}

void TspSkinCustomGrid::ScrollData(Integer DX, Integer DY) {
  TGridLayout L;
  CalcLayout(L);
  ScrollLayout(DX, DY, L);
}

void TspSkinCustomGrid::ModifyScrollBar(Integer ScrollBar, Integer ScrollCode, Integer Pos, Boolean) {
  // No right-to-left mode: requests always run in reading order.
  constexpr Integer Factor = 1;
  if (Visible() && CanFocus() && TabStop() && !ComponentState().Contains(csDesigning)) SetFocus();
  TGridLayout L;
  CalcLayout(L);
  const Boolean Tracking = FOptions.Contains(goThumbTracking);
  if (ScrollBar == SB_HORZ && FColCount == 1) {
    const Integer W = GetColWidths(L.Horz.FirstGridCell);
    const Integer Space = CheckedSub(ClientWidth(), L.Horz.FixedEnd);
    const Integer C = Canvas()->TextWidth("0");
    Integer NewOffset = FColOffset;
    switch (ScrollCode) {
      case SB_LINEUP: NewOffset = CheckedSub(FColOffset, C * Factor); break;
      case SB_LINEDOWN: NewOffset = CheckedAdd(FColOffset, C * Factor); break;
      case SB_PAGEUP: NewOffset = CheckedSub(FColOffset, Space * Factor); break;
      case SB_PAGEDOWN: NewOffset = CheckedAdd(FColOffset, Space * Factor); break;
      case SB_THUMBPOSITION: NewOffset = Pos; break;
      case SB_THUMBTRACK:
        if (Tracking) NewOffset = Pos;
        break;
      case SB_TOP: NewOffset = 0; break;
      case SB_BOTTOM: NewOffset = CheckedSub(W, Space); break;
      default: break;
    }
    // A column narrower than the space has nowhere to go.
    NewOffset = std::clamp(NewOffset, 0, std::max(0, CheckedSub(W, Space)));
    if (NewOffset == FColOffset) return;
    const Integer OldOffset = FColOffset;
    FColOffset = NewOffset;
    ScrollData(CheckedSub(OldOffset, NewOffset), 0);
    InvalidateGridRect({0, 0, 0, FFixedRows});
    Update();
    UpdateScrollPos(true);
    return;
  }
  const TGridCoord Max = CalcMaxTopLeft({FColCount - 1, FRowCount - 1}, L);
  TGridCoord New = FTopLeft;
  auto CellValue = [&](const TGridAxisLayout& A, Integer V, Integer Min, Integer AMax, Integer PageBack) {
    switch (ScrollCode) {
      case SB_LINEUP: return CheckedSub(V, Factor);
      case SB_LINEDOWN: return CheckedAdd(V, Factor);
      case SB_PAGEUP: return CheckedSub(V, std::max(PageBack, 1) * Factor);
      case SB_PAGEDOWN: return CheckedAdd(V, std::max(CheckedSub(A.LastFullVisibleCell, A.FirstGridCell), 1) * Factor);
      case SB_THUMBPOSITION: return CheckedAdd(Min, MulDiv(Pos, CheckedSub(AMax, Min), GridScrollScale));
      case SB_THUMBTRACK:
        return Tracking ? CheckedAdd(Min, MulDiv(Pos, CheckedSub(AMax, Min), GridScrollScale)) : V;
      case SB_TOP: return Min;
      case SB_BOTTOM: return AMax;
      default: return V;
    }
  };
  const TGridCoord PageStart = CalcMaxTopLeft(FTopLeft, L);
  if (ScrollBar == SB_HORZ) {
    Integer Old;
    do {
      Old = New.X;
      New.X = CellValue(L.Horz, New.X, FFixedCols, Max.X, CheckedSub(L.Horz.FirstGridCell, PageStart.X));
    } while (New.X != Old && New.X > FFixedCols && New.X < Max.X && GetColWidths(New.X) <= 0);
  } else {
    Integer Old;
    do {
      Old = New.Y;
      New.Y = CellValue(L.Vert, New.Y, FFixedRows, Max.Y, CheckedSub(L.Vert.FirstGridCell, PageStart.Y));
    } while (New.Y != Old && New.Y > FFixedRows && New.Y < Max.Y && GetRowHeights(New.Y) <= 0);
  }
  New.X = std::max(FFixedCols, std::min(Max.X, New.X));
  New.Y = std::max(FFixedRows, std::min(Max.Y, New.Y));
  if (!(New == FTopLeft)) MoveTopLeft(New.X, New.Y);
}

void TspSkinCustomGrid::UpdateScrollPos(Boolean UpdateVert) {
  if (!HandleAllocated()) return;
  TGridLayout L;
  CalcLayout(L);
  const TGridCoord Max = CalcMaxTopLeft({FColCount - 1, FRowCount - 1}, L);
  if (FColCount == 1) {
    const Integer W = GetColWidths(L.Horz.FirstGridCell);
    const Integer Space = CheckedSub(ClientWidth(), L.Horz.FixedEnd);
    if (FColOffset > 0 && CheckedSub(W, FColOffset) < Space)
      // The column's end came inside the client: pull the offset back.
      ModifyScrollBar(SB_HORZ, SB_THUMBPOSITION, CheckedSub(W, Space), true);
    else if (FHScrollBar)
      FHScrollBar->SimplySetPosition(FColOffset);
  } else if (FHScrollBar)
    FHScrollBar->SimplySetPosition(
        MulDiv(CheckedSub(FTopLeft.X, FFixedCols), GridScrollScale, CheckedSub(Max.X, FFixedCols)));
  if (FVScrollBar && UpdateVert)
    FVScrollBar->SimplySetPosition(
        MulDiv(CheckedSub(FTopLeft.Y, FFixedRows), GridScrollScale, CheckedSub(Max.Y, FFixedRows)));
}

void TspSkinCustomGrid::UpdateScrollAxis(Boolean Horz, Integer AvailW, Integer AvailH, TGridCoord OldTopLeft,
                                         Boolean& Flushed, Boolean& Change, Boolean& Show) {
  TspSkinScrollBar* Bar = Horz ? FHScrollBar : FVScrollBar;
  TGridLayout L;
  CalcLayoutXY(L, AvailW, AvailH);
  const TGridCoord Max = CalcMaxTopLeft({FColCount - 1, FRowCount - 1}, L);
  const Integer Fixed = Horz ? FFixedCols : FFixedRows;
  const Integer AxisMax = Horz ? Max.X : Max.Y;
  if (Fixed < AxisMax) {
    if (Bar) {
      Bar->SetRange(0, GridScrollScale, Bar->Position(), 0);
      const Integer Count = Horz ? FColCount : FRowCount;
      const Integer Shown = Horz ? VisibleColCount() : VisibleRowCount();
      const Integer N = std::max(CheckedSub(CheckedSub(Count, Shown), Fixed), 1);
      const Integer Step = std::max(GridScrollScale / N, 1);
      Bar->SetSmallChange(Step);
      Bar->SetLargeChange(Step);
      if (!Bar->Visible()) Change = Show = true;
    }
  } else if (Bar) {
    Bar->SetRange(0, 0, 0, 0);
    if (Bar->Visible()) {
      Change = true;
      Show = false;
    }
  }
  if (AxisMax < (Horz ? OldTopLeft.X : OldTopLeft.Y)) {
    if (!Flushed) Update();
    Flushed = true;
    (Horz ? FTopLeft.X : FTopLeft.Y) = AxisMax;
  }
}

void TspSkinCustomGrid::UpdateScrollRange(Boolean UpdateVert) {
  if (!HandleAllocated() || !IsWindowVisible(Handle()) || FInCheckScrollBars) return;
  Boolean HChange = false, HShow = false, VChange = false, VShow = false, Flushed = false;
  Integer AvailW = ClientWidth();
  Integer AvailH = ClientHeight();
  const TGridCoord OldTopLeft = FTopLeft;
  auto HorzStep = [&] {
    if (FColCount != 1) {
      UpdateScrollAxis(true, AvailW, AvailH, OldTopLeft, Flushed, HChange, HShow);
      return;
    }
    const Integer Max = std::max(CheckedSub(GetColWidths(0), ClientWidth()), 0);
    if (!FHScrollBar) return;
    if (Max < 1) {
      if (FHScrollBar->Visible()) {
        HChange = true;
        HShow = false;
      }
      return;
    }
    FHScrollBar->SetRange(0, Max, FHScrollBar->Position(), 0);
    Integer N = FColCount - VisibleColCount() - FFixedCols;
    if (N == 0) N = 1;
    Integer Step = Max / N;
    if (Step == 0) Step = 1;
    FHScrollBar->SetSmallChange(Step);
    FHScrollBar->SetLargeChange(Step);
    if (!FHScrollBar->Visible()) HChange = HShow = true;
  };
  HorzStep();
  AvailH = ClientHeight();
  if (UpdateVert) UpdateScrollAxis(false, AvailW, AvailH, OldTopLeft, Flushed, VChange, VShow);
  if (ClientWidth() != AvailW) {
    AvailW = ClientWidth();
    HorzStep();
  }
  UpdateScrollPos(true);
  if (!(FTopLeft == OldTopLeft)) TopLeftMoved(OldTopLeft);
  FInCheckScrollBars = true;
  try {
    if (VChange) FVScrollBar->SetVisible(VShow);
    if (HChange) FHScrollBar->SetVisible(HShow);
  } catch (...) {
    FInCheckScrollBars = false;
    throw;
  }
  FInCheckScrollBars = false;
  if (FHScrollBar && FVScrollBar && FHScrollBar->Both() != FVScrollBar->Visible())
    FHScrollBar->SetBoth(FVScrollBar->Visible());
  if (Align() != alNone && (HChange || VChange) && Parent()) {
    FInCheckScrollBars = true;
    try {
      Parent()->Realign();
      Invalidate();
    } catch (...) {
      FInCheckScrollBars = false;
      throw;
    }
    FInCheckScrollBars = false;
  }
}

void TspSkinCustomGrid::DetachScrollBar(TspSkinScrollBar*& Bar) {
  if (!Bar) return;
  // The bar outlives its link: its events must no longer reach the grid (unless it
  // serves the other axis as well).
  if (FHScrollBar != FVScrollBar) {
    Bar->OnChange = Bar->OnLastChange = Bar->OnUpButtonClick = Bar->OnDownButtonClick = Bar->OnPageUp =
        Bar->OnPageDown = nullptr;
    Bar->RemoveFreeNotification(this);
  }
  Bar = nullptr;
}

void TspSkinCustomGrid::AttachScrollBar(TspSkinScrollBar* Bar, Boolean Horz) {
  TspSkinScrollBar*& Slot = Horz ? FHScrollBar : FVScrollBar;
  if (Slot != Bar) DetachScrollBar(Slot);
  Slot = Bar;
  if (Bar) {
    Bar->FreeNotification(this);
    Bar->SetEnabled(true);
    Bar->SetVisible(false);
    const UINT Msg = Horz ? WM_HSCROLL : WM_VSCROLL;
    auto Send = [this, Msg](Integer Code, Integer Pos) {
      if (HandleAllocated()) SendMessage(Handle(), Msg, GridScrollParam(Code, Pos), 0);
    };
    auto PositionEvent = [Bar, Send](TObject*) { Send(SB_THUMBPOSITION, Bar->Position()); };
    const Boolean OnEveryChange = !Horz && FOptions.Contains(goThumbTracking);
    Bar->OnChange = OnEveryChange ? TNotifyEvent(PositionEvent) : TNotifyEvent();
    Bar->OnLastChange = OnEveryChange ? TNotifyEvent() : TNotifyEvent(PositionEvent);
    if (Horz) {
      // The horizontal buttons step the bar first and scroll to its new position.
      Bar->OnUpButtonClick = [Bar, Send](TObject*) {
        Bar->SetPosition(Bar->Position() + Bar->SmallChange());
        Send(SB_THUMBPOSITION, Bar->Position());
      };
      Bar->OnDownButtonClick = [Bar, Send](TObject*) {
        Bar->SetPosition(Bar->Position() - Bar->SmallChange());
        Send(SB_THUMBPOSITION, Bar->Position());
      };
    } else {
      Bar->OnUpButtonClick = [Bar, Send](TObject*) { Send(SB_LINEDOWN, Bar->Position()); };
      Bar->OnDownButtonClick = [Bar, Send](TObject*) { Send(SB_LINEUP, Bar->Position()); };
    }
    Bar->OnPageUp = [Send](TObject*) { Send(SB_PAGEUP, 0); };
    Bar->OnPageDown = [Send](TObject*) { Send(SB_PAGEDOWN, 0); };
  }
  UpdateScrollRange(true);
}

void TspSkinCustomGrid::SetHScrollBar(TspSkinScrollBar* Value) { AttachScrollBar(Value, true); }
void TspSkinCustomGrid::SetVScrollBar(TspSkinScrollBar* Value) { AttachScrollBar(Value, false); }

void TspSkinCustomGrid::Notification(TComponent* AComponent, TOperation Operation) {
  TspSkinControl::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FHScrollBar) FHScrollBar = nullptr;
  if (AComponent == FVScrollBar) FVScrollBar = nullptr;
  if (AComponent == FInplaceEdit) FInplaceEdit = nullptr;
}

void TspSkinCustomGrid::WMPaint(TWMPaint& Message) {
  TspSkinControl::WMPaint(Message);
  if (!FInCheckScrollBars && HandleAllocated()) UpdateScrollRange(true);
}

void TspSkinCustomGrid::Dispatch(TMessage& Message) {
  if (KeyboardMessage(Message) || MouseMessage(Message)) return;
  switch (Message.Msg) {
    case WM_HSCROLL:
    case WM_VSCROLL:
      ModifyScrollBar(Message.Msg == WM_HSCROLL ? SB_HORZ : SB_VERT, LOWORD(Message.WParam),
                      HIWORD(Message.WParam), true);
      Message.Result = 0;
      return;
    case WM_SIZE:
      TspSkinControl::Dispatch(Message);
      if (FIndex < 0 && FOptions.Contains(goRowSelect)) Invalidate();
      UpdateScrollRange(true);
      return;
    case CM_VISIBLECHANGED:
      TspSkinControl::Dispatch(Message);
      if (FHScrollBar) FHScrollBar->SetVisible(Visible());
      if (FVScrollBar) FVScrollBar->SetVisible(Visible());
      return;
    default:
      TspSkinControl::Dispatch(Message);
  }
}
