// Painting the grid: the skin's background picture or the backdrop of a transparent grid,
// the lines of the four areas in batched strokes, every visible cell's background (system
// colours or the skin's cell pictures) handed on to DrawCell, the focus frames and the
// space outside the cells.
#include <algorithm>
#include <vector>

#include "platform/rtl/NumConv.h"
#include "platform/win/Focus.h"
#include "platform/win/Gdi.h"
#include "platform/win/WindowManager.h"
#include "skin/controls/SkinGrids.h"
#include "skin/core/data/SkinData.h"

namespace {

constexpr COLORREF GridSilverRgb = 0xC0C0C0;
constexpr TColor GridGreyLines = 0x808080;

// A GDI pen selected into a device context for one batch of strokes.
class TGridStrokePen {
 public:
  TGridStrokePen(HDC Dc, Integer Width, TColor Color) : FDc(Dc) {
    const COLORREF Rgb = ColorToRGB(Color);
    if (Width > 1) {
      LOGBRUSH Brush{};
      Brush.lbStyle = BS_SOLID;
      Brush.lbColor = Rgb;
      FPen = ExtCreatePen(PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_FLAT | PS_JOIN_MITER, static_cast<DWORD>(Width),
                          &Brush, 0, nullptr);
    } else
      FPen = CreatePen(PS_SOLID, Width, Rgb);
    FOld = SelectObject(FDc, FPen);
  }
  ~TGridStrokePen() {
    SelectObject(FDc, FOld);
    DeleteObject(FPen);
  }
  TGridStrokePen(const TGridStrokePen&) = delete;
  TGridStrokePen& operator=(const TGridStrokePen&) = delete;

 private:
  HDC FDc;
  HPEN FPen = nullptr;
  HGDIOBJ FOld = nullptr;
};

}  // namespace

Boolean TspSkinCustomGrid::IsActiveControl() {
  if (TCustomForm* Form = GetParentForm(this)) return Form->ActiveControl() == this;
  if (!HandleAllocated()) return false;
  const HWND Focus = GetFocus();
  return Focus != nullptr && (Focus == Handle() || IsChild(Handle(), Focus));
}

void TspSkinCustomGrid::Paint() {
  if (Width() <= 0 || Height() <= 0) return;
  GetSkinData();
  const Boolean Skinned = FIndex >= 0;
  if (Skinned && BGPicture && !FTransparent)
    DrawBGPicture();
  else if (FTransparent) {
    auto ParentImage = CreateOwned<TBitmap>();
    SetParentImage(ParentImage.get());
    Canvas()->Draw(0, 0, ParentImage.get());
  }
  GridPaintState S;
  CalcLayout(S.L);
  if (S.L.Horz.LineWidth > 0 || S.L.Vert.LineWidth > 0) {
    S.LineColor = ColorToRGB(Color()) == GridSilverRgb ? GridGreyLines : Skinned ? LinesColor : FGridLineColor;
    const Integer MaxStroke =
        CheckedAdd(std::max(CheckedAdd(CheckedSub(S.L.Horz.LastFullVisibleCell, FTopLeft.X), FFixedCols),
                            CheckedAdd(CheckedSub(S.L.Vert.LastFullVisibleCell, FTopLeft.Y), FFixedRows)),
                   3);
    S.MaxStroke = std::max(MaxStroke, 0);
    S.Points.resize(static_cast<size_t>(S.MaxStroke) * 2);
    S.Counts.assign(static_cast<size_t>(S.MaxStroke), 2);
    DrawLines(S, FOptions.Contains(goFixedHorzLine), FOptions.Contains(goFixedVertLine), 0, 0,
              {0, 0, S.L.Horz.FixedEnd, S.L.Vert.FixedEnd}, FFixedColor);
    DrawLines(S, FOptions.Contains(goFixedHorzLine), FOptions.Contains(goFixedVertLine), FTopLeft.X, 0,
              {S.L.Horz.FixedEnd, 0, S.L.Horz.GridEnd, S.L.Vert.FixedEnd}, FFixedColor);
    DrawLines(S, FOptions.Contains(goFixedHorzLine), FOptions.Contains(goFixedVertLine), 0, FTopLeft.Y,
              {0, S.L.Vert.FixedEnd, S.L.Horz.FixedEnd, S.L.Vert.GridEnd}, FFixedColor);
    DrawLines(S, FOptions.Contains(goHorzLine), FOptions.Contains(goVertLine), FTopLeft.X, FTopLeft.Y,
              {S.L.Horz.FixedEnd, S.L.Vert.FixedEnd, S.L.Horz.GridEnd, S.L.Vert.GridEnd}, Color());
    S.Points.clear();
    S.Counts.clear();
  }
  S.Sel = Selection();
  const Integer ScrolledX = CheckedSub(S.L.Horz.FixedEnd, FColOffset);
  DrawCells(S, 0, 0, 0, 0, S.L.Horz.FixedEnd, S.L.Vert.FixedEnd, FFixedColor, {gdFixed});
  DrawCells(S, FTopLeft.X, 0, ScrolledX, 0, S.L.Horz.GridEnd, S.L.Vert.FixedEnd, FFixedColor, {gdFixed});
  DrawCells(S, 0, FTopLeft.Y, 0, S.L.Vert.FixedEnd, S.L.Horz.FixedEnd, S.L.Vert.GridEnd, FFixedColor, {gdFixed});
  DrawCells(S, FTopLeft.X, FTopLeft.Y, ScrolledX, S.L.Vert.FixedEnd, S.L.Horz.GridEnd, S.L.Vert.GridEnd, Color(),
            {});
  const Boolean Designing = ComponentState().Contains(csDesigning);
  if (!Designing && FOptions.Contains(goRowSelect) && FDefaultDrawing && Focused() && !Skinned) {
    TRect R;
    GridRectToClientRect(S.Sel, R, false);
    DrawSkinFocusRect(Canvas(), R);
  }
  if ((!Skinned || !BGPicture) && !FTransparent) {
    Canvas()->Brush()->SetColor(Skinned ? BGColor : Color());
    if (S.L.Horz.GridEnd < S.L.Horz.GridExtent)
      Canvas()->FillRect({S.L.Horz.GridEnd, 0, CheckedAdd(S.L.Horz.GridExtent, 1), S.L.Vert.GridEnd});
    if (S.L.Vert.GridEnd < S.L.Vert.GridExtent)
      Canvas()->FillRect({0, S.L.Vert.GridEnd, S.L.Horz.GridExtent, S.L.Vert.GridExtent});
  }
}

void TspSkinCustomGrid::DrawLines(GridPaintState& S, Boolean DoHorz, Boolean DoVert, Integer ACol, Integer ARow,
                                  const TRect& Bounds, TColor OffColor) {
  if (Bounds.Left == Bounds.Right || Bounds.Top == Bounds.Bottom) return;
  if (!DoHorz) {
    DrawAxisLines(S, S.L.Vert, ARow, 1, false, Bounds, OffColor);
    DrawAxisLines(S, S.L.Horz, ACol, 0, DoVert, Bounds, OffColor);
  } else {
    DrawAxisLines(S, S.L.Horz, ACol, 0, DoVert, Bounds, OffColor);
    DrawAxisLines(S, S.L.Vert, ARow, 1, true, Bounds, OffColor);
  }
}

void TspSkinCustomGrid::DrawAxisLines(GridPaintState& S, const TGridAxisLayout& Axis, Integer Cell, Integer Major,
                                      Boolean UseOnColor, const TRect& Bounds, TColor OffColor) {
  if (Axis.LineWidth == 0 || S.MaxStroke == 0) return;
  const Integer B[4] = {Bounds.Left, Bounds.Top, Bounds.Right, Bounds.Bottom};
  Integer Line = CheckedAdd(CheckedAdd(B[Major], Axis.LineWidth / 2), Axis.CellExtent(Cell));
  const Integer StartMinor = B[Major ^ 1];
  const Integer StopMinor = B[2 + (Major ^ 1)];
  const Integer StopMajor = CheckedAdd(B[2 + Major], Axis.LineWidth);
  Integer Strokes = 0;
  do {
    POINT* P = &S.Points[static_cast<size_t>(Strokes) * 2];
    if (Major == 0) {
      P[0] = {Line, StartMinor};
      P[1] = {Line, StopMinor};
    } else {
      P[0] = {StartMinor, Line};
      P[1] = {StopMinor, Line};
    }
    ++Strokes;
    ++Cell;
    Line = CheckedAdd(Line, CheckedAdd(Axis.CellExtent(Cell), Axis.LineWidth));
  } while (Line <= StopMajor && Strokes < S.MaxStroke);
  const HDC Dc = Canvas()->Handle();
  TGridStrokePen Pen(Dc, FGridLineWidth, UseOnColor ? S.LineColor : OffColor);
  PolyPolyline(Dc, S.Points.data(), S.Counts.data(), static_cast<DWORD>(Strokes));
}

void TspSkinCustomGrid::DrawCells(GridPaintState& S, Integer ACol, Integer ARow, Integer StartX, Integer StartY,
                                  Integer StopX, Integer StopY, TColor AColor, TGridDrawState IncludeDrawState) {
  const Boolean Designing = ComponentState().Contains(csDesigning);
  const Boolean Active = IsActiveControl();
  const HDC Dc = Canvas()->Handle();
  Integer Row = ARow;
  Integer Top = StartY;
  while (Top < StopY && Row < FRowCount) {
    Integer Col = ACol;
    TRect Where{StartX, Top, 0, CheckedAdd(Top, GetRowHeights(Row))};
    while (Where.Left < StopX && Col < FColCount) {
      Where.Right = CheckedAdd(Where.Left, GetColWidths(Col));
      if (Where.Right > Where.Left && RectVisible(Dc, &Where)) {
        TGridDrawState State = IncludeDrawState;
        const Boolean Focus = Active && Col == FCurrent.X && Row == FCurrent.Y;
        if (Focus) State.Include(gdFocused);
        if (PointInGridRect(Col, Row, S.Sel)) State.Include(gdSelected);
        if (Focus && FOptions.Contains(goEditing) && FEditorMode && !Designing) {
          // The editor covers this cell.
        } else {
          if ((FDefaultDrawing || Designing) && FIndex >= 0) {
            if (!(State * TGridDrawState{gdSelected, gdFocused, gdFixed}).Empty()) {
              auto B = CreateOwned<TBitmap>();
              DrawSkinCell(B.get(), State, Where.Right - Where.Left, Where.Bottom - Where.Top);
              Canvas()->Draw(Where.Left, Where.Top, B.get());
            } else {
              SetSkinCellFont(FontName, FontHeight, FontStyle, FontColor);
              if (!BGPicture && !FTransparent) {
                Canvas()->Brush()->SetColor(BGColor);
                Canvas()->FillRect(Where);
              }
            }
          } else if (FDefaultDrawing || Designing) {
            Canvas()->SetFont(Font());
            if (State.Contains(gdSelected) &&
                (!Focus || FOptions.Contains(goDrawFocusSelected) || FOptions.Contains(goRowSelect))) {
              Canvas()->Brush()->SetColor(clHighlight);
              Canvas()->Font()->SetColor(clHighlightText);
              Canvas()->FillRect(Where);
            } else if (!(FTransparent && !State.Contains(gdFixed))) {
              Canvas()->Brush()->SetColor(AColor);
              Canvas()->FillRect(Where);
              if (State.Contains(gdFixed)) Draw3DFrame(Canvas(), Where, clBtnHighlight, clBtnShadow);
            }
          }
          DrawCell(Col, Row, Where, State);
          if (FIndex < 0 && FDefaultDrawing && !Designing && Focus &&
              !(FOptions.Contains(goEditing) && FOptions.Contains(goAlwaysShowEditor)) &&
              !FOptions.Contains(goRowSelect))
            DrawSkinFocusRect(Canvas(), Where);
        }
      }
      Where.Left = CheckedAdd(Where.Right, S.L.Horz.LineWidth);
      ++Col;
    }
    Top = CheckedAdd(Where.Bottom, S.L.Vert.LineWidth);
    ++Row;
  }
}

void TspSkinCustomGrid::DrawBGPicture() {
  const Integer W = BGPicture->Width();
  const Integer H = BGPicture->Height();
  if (W <= 0 || H <= 0) return;
  for (Integer I = 0; I <= Width() / W; ++I)
    for (Integer J = 0; J <= Height() / H; ++J) Canvas()->Draw(I * W, J * H, BGPicture);
}

void TspSkinCustomGrid::SetSkinCellFont(const String& Name, Integer Height, TFontStyles Style, TColor Color) {
  TFont* F = Canvas()->Font();
  if (FUseSkinFont) {
    F->SetName(Name);
    F->SetHeight(Height);
    F->SetStyle(Style);
    F->SetColor(Color);
  } else {
    F->Assign(Font());
    F->SetColor(Color);
  }
  TspResourceStrData* Texts = FSD ? FSD->ResourceStrData() : nullptr;
  F->SetCharset(Texts ? Texts->CharSet() : Font()->Charset());
}

void TspSkinCustomGrid::DrawSkinCell(TBitmap* B, TGridDrawState DrawState, Integer AWidth, Integer AHeight) {
  if (!FUseSkinCellHeight) B->SetSize(AWidth, AHeight);
  // One cell picture of the skin with its unstretched ends and text area.
  auto Compose = [&](const TRect& R, Integer LeftOffset, Integer RightOffset, const TRect& TextRect,
                     Boolean Stretch) {
    if (!Picture || IsNullRect(R)) return;
    if (FUseSkinCellHeight)
      CreateHSkinImage(LeftOffset, RightOffset, B, Picture, R, AWidth, AHeight, Stretch);
    else
      CreateStretchSkinImage(B, Picture, R,
                             Rect(LeftOffset, TextRect.Top, RectWidth(R) - RightOffset, TextRect.Bottom), true);
  };
  if (DrawState.Contains(gdFixed)) {
    Compose(FixedCellRect, FixedCellLeftOffset, FixedCellRightOffset, FixedCellTextRect, FixedCellStretchEffect);
    SetSkinCellFont(FixedFontName, FixedFontHeight, FixedFontStyle, FixedFontColor);
  } else if (DrawState.Contains(gdFocused) || FOptions.Contains(goRowSelect)) {
    Compose(FocusCellRect, CellLeftOffset, CellRightOffset, CellTextRect, CellStretchEffect);
    SetSkinCellFont(FontName, FontHeight, FontStyle, FocusFontColor);
  } else {
    Compose(SelectCellRect, CellLeftOffset, CellRightOffset, CellTextRect, CellStretchEffect);
    SetSkinCellFont(FontName, FontHeight, FontStyle, SelectFontColor);
  }
  if (ShowFocus && DrawState.Contains(gdFocused) && !FOptions.Contains(goRowSelect) && FIndex >= 0 &&
      B->Width() > 0 && B->Height() > 0) {
    TCanvas* C = B->Canvas();
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(FSD->SkinColors()->cBtnFace());
    DrawSkinFocusRect(C, Rect(0, 0, B->Width(), B->Height()));
    C->Brush()->SetStyle(bsClear);
  }
}
