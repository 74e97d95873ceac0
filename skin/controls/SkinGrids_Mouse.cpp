// The grid under the mouse: selecting cells and ranges with auto-scroll while the pointer
// is held outside the cells, resizing columns and rows by their header edges, dragging
// them by their header cells, the XOR feedback lines and the sizing cursors.
#include <algorithm>

#include "platform/ui/Forms.h"
#include "platform/win/Capture.h"
#include "platform/win/Cursor.h"
#include "platform/win/Input.h"
#include "platform/win/WindowManager.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Scroll.h"
#include "platform/win/Timers.h"
#include "skin/controls/SkinGrids.h"

namespace {

constexpr UINT_PTR GridScrollTimer = 1;
constexpr UINT GridScrollPeriod = 60;

// The pen of a canvas kept while feedback lines are drawn with another one. The end lets
// go of the window DC the canvas took, so the lines reach the screen at once.
class TGridSavedPen {
 public:
  explicit TGridSavedPen(TCanvas* C) : FCanvas(C), FSaved(CreateOwned<TPen>()) { FSaved->Assign(C->Pen()); }
  ~TGridSavedPen() {
    FCanvas->Pen()->Assign(FSaved.get());
    if (auto* Own = dynamic_cast<TControlCanvas*>(FCanvas)) Own->FreeHandle();
  }
  TGridSavedPen(const TGridSavedPen&) = delete;
  TGridSavedPen& operator=(const TGridSavedPen&) = delete;

 private:
  TCanvas* FCanvas;
  TOwned<TPen> FSaved;
};

// The zone search on one axis: the cell whose trailing edge lies within the hot zone
// around P. False when there is none.
bool GridSizingZone(const TGridAxisLayout& A, Integer P, Integer& Index, Integer& SizingPos, Integer& SizingOfs) {
  Integer Line = A.FixedEnd;
  Integer Range = A.LineWidth;
  Integer Back = 0;
  if (Range < 7) {
    Back = (7 - Range) / 2;
    Range = 7;
  }
  Integer Cut = -1;
  for (Integer I = A.FirstGridCell; I < A.GridCellCount; ++I) {
    Line += A.CellExtent(I);
    if (Line > A.GridEnd) {
      Cut = I;
      break;
    }
    if (Line - Back <= P && P <= Line - Back + Range) {
      SizingPos = Line;
      SizingOfs = Line - P;
      Index = I;
      return true;
    }
    Line += A.LineWidth;
  }
  // The cell cut at the client's edge is sized from that edge.
  if (Cut >= 0 && A.GridEnd == A.GridExtent && A.GridExtent - Back <= P && P <= A.GridExtent) {
    SizingPos = A.GridExtent;
    SizingOfs = A.GridExtent - P;
    Index = Cut;
    return true;
  }
  return false;
}

}  // namespace

void TspSkinCustomGrid::CalcSizingState(Integer X, Integer Y, TGridState& State, Integer& Index, Integer& SizingPos,
                                        Integer& SizingOfs, TGridLayout& L) {
  State = gsNormal;
  Index = -1;
  if (!FOptions.Contains(goColSizing) && !FOptions.Contains(goRowSizing)) return;
  L.Vert.GridExtent = ClientHeight();
  L.Horz.GridExtent = ClientWidth();
  if (X > L.Horz.FixedEnd && FOptions.Contains(goColSizing)) {
    if (Y < L.Vert.FixedEnd && GridSizingZone(L.Horz, X, Index, SizingPos, SizingOfs)) State = gsColSizing;
  } else if (Y > L.Vert.FixedEnd && FOptions.Contains(goRowSizing) && X < L.Horz.FixedEnd) {
    if (GridSizingZone(L.Vert, Y, Index, SizingPos, SizingOfs)) State = gsRowSizing;
  }
}

Boolean TspSkinCustomGrid::IsSizingZone(Integer X, Integer Y) {
  if (FGridState != gsNormal) return true;
  TGridLayout L;
  CalcLayout(L);
  TGridState State;
  Integer Index, Pos = 0, Ofs = 0;
  CalcSizingState(X, Y, State, Index, Pos, Ofs, L);
  return State != gsNormal;
}

void TspSkinCustomGrid::DrawSizingLine(const TGridLayout& L) {
  TCanvas* C = Canvas();
  TGridSavedPen Saved(C);
  C->Pen()->SetStyle(psDot);
  C->Pen()->SetMode(pmXor);
  C->Pen()->SetWidth(1);
  C->Pen()->SetColor(clRed);
  if (FGridState == gsRowSizing) {
    C->MoveTo(0, FSizingPos);
    C->LineTo(L.Horz.GridEnd, FSizingPos);
  } else {
    C->MoveTo(FSizingPos, 0);
    C->LineTo(FSizingPos, L.Vert.GridEnd);
  }
}

void TspSkinCustomGrid::DrawMoveMarker() {
  TCanvas* C = Canvas();
  TGridSavedPen Saved(C);
  C->Pen()->SetStyle(psDot);
  C->Pen()->SetMode(pmXor);
  C->Pen()->SetWidth(5);
  if (FGridState == gsRowMoving) {
    const TRect R = CellRect(0, FMovePos);
    const Integer Y = FMoveIndex < FMovePos ? R.Bottom : R.Top;
    C->MoveTo(0, Y);
    C->LineTo(ClientWidth(), Y);
  } else {
    const TRect R = CellRect(FMovePos, 0);
    const Integer X = FMoveIndex < FMovePos ? R.Right : R.Left;
    C->MoveTo(X, 0);
    C->LineTo(X, ClientHeight());
  }
}

void TspSkinCustomGrid::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  HideEdit();
  if (!ComponentState().Contains(csDesigning) && (CanFocus() || !GetParentForm(this))) {
    SetFocus();
    if (!IsActiveControl()) {
      SetMouseCapture(false);
      return;
    }
  }
  Boolean MarkerDrawn = false;
  if (Button == mbLeft && Shift.Contains(ssDouble))
    DblClick();
  else if (Button == mbLeft) {
    TGridLayout L;
    CalcLayout(L);
    CalcSizingState(X, Y, FGridState, FSizingIndex, FSizingPos, FSizingOfs, L);
    if (FGridState != gsNormal) {
      DrawSizingLine(L);
      return;
    }
    const TGridCoord Cell = CellAtPoint(X, Y, L);
    if (Cell.X >= FFixedCols && Cell.Y >= FFixedRows) {
      if (FOptions.Contains(goEditing)) {
        if (Cell == FCurrent)
          ShowEditor();
        else {
          MoveCurrent(Cell.X, Cell.Y, true, true);
          UpdateEdit();
        }
        Click();
      } else {
        FGridState = gsSelecting;
        SetTimer(Handle(), GridScrollTimer, GridScrollPeriod, nullptr);
        if (Shift.Contains(ssShift))
          MoveAnchor(Cell);
        else
          MoveCurrent(Cell.X, Cell.Y, true, true);
      }
    } else if (FOptions.Contains(goRowMoving) && Cell.X >= 0 && Cell.X < FFixedCols && Cell.Y >= FFixedRows) {
      FMoveIndex = FMovePos = Cell.Y;
      if (BeginRowDrag(FMoveIndex, FMovePos, Point(X, Y))) {
        FGridState = gsRowMoving;
        Update();
        DrawMoveMarker();
        MarkerDrawn = true;
        SetTimer(Handle(), GridScrollTimer, GridScrollPeriod, nullptr);
      }
    } else if (FOptions.Contains(goColMoving) && Cell.Y >= 0 && Cell.Y < FFixedRows && Cell.X >= FFixedCols) {
      FMoveIndex = FMovePos = Cell.X;
      if (BeginColumnDrag(FMoveIndex, FMovePos, Point(X, Y))) {
        FGridState = gsColMoving;
        Update();
        DrawMoveMarker();
        MarkerDrawn = true;
        SetTimer(Handle(), GridScrollTimer, GridScrollPeriod, nullptr);
      }
    }
  }
  try {
    TspSkinControl::MouseDown(Button, Shift, X, Y);
  } catch (...) {
    // A failing handler must not leave the marker on screen nor break the press.
    if (MarkerDrawn) DrawMoveMarker();
  }
}

void TspSkinCustomGrid::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  TGridLayout L;
  CalcLayout(L);
  switch (FGridState) {
    case gsSelecting:
    case gsRowMoving:
    case gsColMoving: {
      const TGridCoord Cell = CellAtPoint(X, Y, L);
      if (Cell.X >= FFixedCols && Cell.X <= L.Horz.LastFullVisibleCell + 1 && Cell.Y >= FFixedRows &&
          Cell.Y <= L.Vert.LastFullVisibleCell + 1) {
        if (FGridState == gsSelecting) {
          if (!(Cell == FAnchor)) MoveAnchor(Cell);
        } else if (FGridState == gsRowMoving)
          MoveAndScroll(Y, Cell.Y, L, false, Point(X, Y));
        else
          MoveAndScroll(X, Cell.X, L, true, Point(X, Y));
      }
      break;
    }
    case gsRowSizing:
    case gsColSizing:
      DrawSizingLine(L);
      FSizingPos = (FGridState == gsRowSizing ? Y : X) + FSizingOfs;
      DrawSizingLine(L);
      break;
    default: break;
  }
  TspSkinControl::MouseMove(Shift, X, Y);
}

void TspSkinCustomGrid::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  try {
    switch (FGridState) {
      case gsSelecting:
        MouseMove(Shift, X, Y);
        KillTimer(Handle(), GridScrollTimer);
        UpdateEdit();
        Click();
        break;
      case gsRowSizing:
      case gsColSizing: {
        TGridLayout L;
        CalcLayout(L);
        DrawSizingLine(L);
        const Boolean Cols = FGridState == gsColSizing;
        const TGridAxisLayout& A = Cols ? L.Horz : L.Vert;
        Integer Start = A.FixedEnd;
        for (Integer I = A.FirstGridCell; I < FSizingIndex; ++I) Start += A.CellExtent(I) + A.LineWidth;
        const Integer NewSize = FSizingPos - Start;
        if (NewSize > 1) {
          if (Cols)
            SetColWidths(FSizingIndex, NewSize);
          else
            SetRowHeights(FSizingIndex, NewSize);
        }
        break;
      }
      case gsRowMoving:
      case gsColMoving: {
        DrawMoveMarker();
        KillTimer(Handle(), GridScrollTimer);
        const Boolean Rows = FGridState == gsRowMoving;
        const Boolean Drop = Rows ? EndRowDrag(FMoveIndex, FMovePos, Point(X, Y))
                                  : EndColumnDrag(FMoveIndex, FMovePos, Point(X, Y));
        if (Drop && FMoveIndex != FMovePos) {
          if (Rows)
            MoveRow(FMoveIndex, FMovePos);
          else
            MoveColumn(FMoveIndex, FMovePos);
        }
        UpdateEdit();
        break;
      }
      default: UpdateEdit(); break;
    }
    TspSkinControl::MouseUp(Button, Shift, X, Y);
  } catch (...) {
    FGridState = gsNormal;
    throw;
  }
  FGridState = gsNormal;
}

void TspSkinCustomGrid::MoveAndScroll(Integer Mouse, Integer CellHit, TGridLayout& L, Boolean Horz,
                                      TPoint MousePt) {
  const TGridAxisLayout* A = Horz ? &L.Horz : &L.Vert;
  if (CellHit == FMovePos) return;
  if (FMovePos == A->FixedCellCount && Mouse < A->FixedEnd) return;
  if (FMovePos == A->GridCellCount - 1 && Mouse > A->GridEnd) return;
  DrawMoveMarker();
  const Integer Bar = Horz ? SB_HORZ : SB_VERT;
  if (Mouse < A->FixedEnd) {
    if (FMovePos > A->FixedCellCount) {
      ModifyScrollBar(Bar, SB_LINEUP, 0, false);
      Update();
      CalcLayout(L);
    }
    CellHit = A->FirstGridCell;
  } else if (Mouse >= A->FullVisibleEnd) {
    if (FMovePos == A->LastFullVisibleCell && FMovePos < A->GridCellCount - 1) {
      ModifyScrollBar(Bar, SB_LINEDOWN, 0, false);
      Update();
      CalcLayout(L);
    }
    CellHit = A->LastFullVisibleCell;
  } else if (CellHit < 0)
    CellHit = FMovePos;
  if ((FGridState == gsColMoving && CheckColumnDrag(FMoveIndex, CellHit, MousePt)) ||
      (FGridState == gsRowMoving && CheckRowDrag(FMoveIndex, CellHit, MousePt)))
    FMovePos = CellHit;
  DrawMoveMarker();
}

void TspSkinCustomGrid::TimedScroll(Integer Direction) {
  TGridCoord NewAnchor = FAnchor;
  if ((Direction & sdLeft) && NewAnchor.X > FFixedCols) --NewAnchor.X;
  if ((Direction & sdRight) && NewAnchor.X < FColCount - 1) ++NewAnchor.X;
  if ((Direction & sdUp) && NewAnchor.Y > FFixedRows) --NewAnchor.Y;
  if ((Direction & sdDown) && NewAnchor.Y < FRowCount - 1) ++NewAnchor.Y;
  if (!(NewAnchor == FAnchor)) MoveAnchor(NewAnchor);
}

void TspSkinCustomGrid::CancelMode() {
  const TGridState State = FGridState;
  FGridState = gsNormal;
  if (!HandleAllocated()) return;
  switch (State) {
    case gsSelecting: KillTimer(Handle(), GridScrollTimer); break;
    case gsRowSizing:
    case gsColSizing: {
      TGridLayout L;
      CalcLayout(L);
      FGridState = State;
      DrawSizingLine(L);
      FGridState = gsNormal;
      break;
    }
    case gsRowMoving:
    case gsColMoving:
      FGridState = State;
      DrawMoveMarker();
      FGridState = gsNormal;
      KillTimer(Handle(), GridScrollTimer);
      break;
    default: break;
  }
}

Boolean TspSkinCustomGrid::BeginColumnDrag(Integer&, Integer&, TPoint) { return true; }
Boolean TspSkinCustomGrid::BeginRowDrag(Integer&, Integer&, TPoint) { return true; }
Boolean TspSkinCustomGrid::CheckColumnDrag(Integer&, Integer&, TPoint) { return true; }
Boolean TspSkinCustomGrid::CheckRowDrag(Integer&, Integer&, TPoint) { return true; }
Boolean TspSkinCustomGrid::EndColumnDrag(Integer&, Integer&, TPoint) { return true; }
Boolean TspSkinCustomGrid::EndRowDrag(Integer&, Integer&, TPoint) { return true; }

Boolean TspSkinCustomGrid::DoMouseWheelDown(TShiftState Shift, TPoint MousePos) {
  if (!TspSkinControl::DoMouseWheelDown(Shift, MousePos) && Row() < FRowCount - 1) SetRow(Row() + 1);
  return true;
}

Boolean TspSkinCustomGrid::DoMouseWheelUp(TShiftState Shift, TPoint MousePos) {
  if (!TspSkinControl::DoMouseWheelUp(Shift, MousePos) && Row() > FFixedRows) SetRow(Row() - 1);
  return true;
}

Boolean TspSkinCustomGrid::MouseMessage(TMessage& Message) {
  switch (Message.Msg) {
    case WM_TIMER: {
      if (FGridState != gsSelecting && FGridState != gsRowMoving && FGridState != gsColMoving) return false;
      POINT P{};
      GetCursorPos(&P);
      ::ScreenToClient(Handle(), &P);
      TGridLayout L;
      CalcLayout(L);
      const TGridCoord Cell = CellAtPoint(P.X, P.Y, L);
      if (FGridState == gsSelecting) {
        Integer Direction = 0;
        if (P.X < L.Horz.FixedEnd)
          Direction |= sdLeft;
        else if (P.X > L.Horz.FullVisibleEnd)
          Direction |= sdRight;
        if (P.Y < L.Vert.FixedEnd)
          Direction |= sdUp;
        else if (P.Y > L.Vert.FullVisibleEnd)
          Direction |= sdDown;
        if (Direction != 0) TimedScroll(Direction);
      } else if (FGridState == gsRowMoving)
        MoveAndScroll(P.Y, Cell.Y, L, false, Point(P.X, P.Y));
      else
        MoveAndScroll(P.X, Cell.X, L, true, Point(P.X, P.Y));
      Message.Result = 0;
      return true;
    }
    case WM_SETCURSOR: {
      if (LOWORD(Message.LParam) != HTCLIENT) return false;
      TGridState State = FGridState;
      if (State == gsNormal) {
        TGridLayout L;
        CalcLayout(L);
        Integer Index, Pos = 0, Ofs = 0;
        CalcSizingState(FHitTest.X, FHitTest.Y, State, Index, Pos, Ofs, L);
      }
      if (State != gsRowSizing && State != gsColSizing) return false;
      ::SetCursor(Screen->Cursors(State == gsRowSizing ? crVSplit : crHSplit));
      Message.Result = 1;
      return true;
    }
    case WM_NCHITTEST: {
      TspSkinControl::Dispatch(Message);
      POINT P{static_cast<SHORT>(LOWORD(Message.LParam)), static_cast<SHORT>(HIWORD(Message.LParam))};
      ::ScreenToClient(Handle(), &P);
      FHitTest = Point(P.X, P.Y);
      return true;
    }
    case WM_LBUTTONDOWN:
      TspSkinControl::Dispatch(Message);
      // A click on the freshly shown editor within the double-click time is a double click.
      if (FInplaceEdit) FInplaceEdit->FClickTime = GetMessageTime();
      return true;
    case WM_CANCELMODE:
      TspSkinControl::Dispatch(Message);
      CancelMode();
      return true;
    case CM_CANCELMODE:
      if (FInplaceEdit) FInplaceEdit->Perform(Message.Msg, Message.WParam, Message.LParam);
      TspSkinControl::Dispatch(Message);
      CancelMode();
      return true;
    default:
      return false;
  }
}
