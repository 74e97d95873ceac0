// The skinned grid engine: a rectangular array of cells whose first columns and rows stay
// in place as headers, with per-cell extents, a current cell and a selection. The cell
// contents belong to descendants: every visible cell is handed to DrawCell.
#pragma once

#include <functional>
#include <vector>

#include "platform/rtl/Exceptions.h"
#include "skin/controls/SkinCtrls.h"

enum TGridOption {
  goFixedVertLine,
  goFixedHorzLine,
  goVertLine,
  goHorzLine,
  goRangeSelect,
  goDrawFocusSelected,
  goRowSizing,
  goColSizing,
  goRowMoving,
  goColMoving,
  goEditing,
  goTabs,
  goRowSelect,
  goAlwaysShowEditor,
  goThumbTracking
};
using TGridOptions = TSet<TGridOption>;

enum TGridState { gsNormal, gsSelecting, gsRowSizing, gsColSizing, gsRowMoving, gsColMoving };

enum TGridDrawStateItem { gdSelected, gdFocused, gdFixed };
using TGridDrawState = TSet<TGridDrawStateItem>;

struct TGridCoord {
  Integer X = 0;
  Integer Y = 0;
  friend bool operator==(const TGridCoord&, const TGridCoord&) = default;
};

// Inclusive column and row bounds, also seen as its two corner cells.
struct TGridRect {
  Integer Left = 0;
  Integer Top = 0;
  Integer Right = 0;
  Integer Bottom = 0;
  TGridCoord TopLeft() const { return {Left, Top}; }
  TGridCoord BottomRight() const { return {Right, Bottom}; }
  void SetTopLeft(TGridCoord C) { Left = C.X, Top = C.Y; }
  void SetBottomRight(TGridCoord C) { Right = C.X, Bottom = C.Y; }
  friend bool operator==(const TGridRect&, const TGridRect&) = default;
};

class TspSkinCustomGrid;
using TDrawCellEvent = std::function<void(TObject* Sender, Integer ACol, Integer ARow, TRect Rect, TGridDrawState State)>;
using TSelectCellEvent = std::function<void(TObject* Sender, Integer ACol, Integer ARow, Boolean& CanSelect)>;
using TGetEditEvent = std::function<void(TObject* Sender, Integer ACol, Integer ARow, String& Value)>;
using TSetEditEvent = std::function<void(TObject* Sender, Integer ACol, Integer ARow, const String& Value)>;
using TMovedEvent = std::function<void(TObject* Sender, Integer FromIndex, Integer ToIndex)>;

// Raises EInvalidGridOperation with Msg.
[[noreturn]] void InvalidOp(const String& Msg);
// The range spanned by two cells, bounds ordered.
TGridRect GridRect(TGridCoord Coord1, TGridCoord Coord2);
Boolean PointInGridRect(Integer Col, Integer Row, const TGridRect& Rect);
// Four rectangles (unused ones empty) whose union is every pixel in exactly one of R1, R2.
void XorRects(const TRect& R1, const TRect& R2, TRect (&Result)[4]);

// Per-cell values of one axis: absent (every cell has the default) or one value per cell.
class TGridExtents {
 public:
  static constexpr Integer MaxCount = 134217725;

  Boolean Exists() const { return FExists; }
  Integer Count() const { return static_cast<Integer>(FValues.size()); }
  Integer operator[](Integer Cell) const { return FValues[static_cast<size_t>(Cell)]; }
  Integer& operator[](Integer Cell) { return FValues[static_cast<size_t>(Cell)]; }

  // Grows or shrinks by Amount at the end; the cells from Index on are reset to Default.
  // A count of 0 leaves the array absent.
  void Modify(Integer Index, Integer Amount, Integer Default);
  // Appends Default values or truncates at the end; 0 makes the array absent.
  void Update(Integer NewSize, Integer Default) { Modify(Count(), NewSize - Count(), Default); }
  // Takes the value of cell FromCell out and inserts it at ToCell; nothing when absent.
  void Move(Integer FromCell, Integer ToCell);
  friend bool operator==(const TGridExtents&, const TGridExtents&) = default;

 private:
  Boolean FExists = false;
  std::vector<Integer> FValues;
};

// Where the cells of one axis lie on the client area.
struct TGridAxisLayout {
  Integer LineWidth = 0;
  Integer FixedEnd = 0;
  Integer GridEnd = 0;
  Integer GridExtent = 0;
  Integer LastFullVisibleCell = 0;
  Integer FullVisibleEnd = 0;
  Integer FixedCellCount = 0;
  Integer FirstGridCell = 0;
  Integer GridCellCount = 0;
  std::function<Integer(Integer)> CellExtent;
};

struct TGridLayout {
  TGridAxisLayout Horz;
  TGridAxisLayout Vert;
};

class TspSkinCustomGrid : public TspSkinControl {
  VANTREL_CLASS(TspSkinCustomGrid)
  explicit TspSkinCustomGrid(TComponent* AOwner);

  // Engine properties.
  Boolean Transparent() const { return FTransparent; }
  void SetTransparent(Boolean Value);
  Boolean UseSkinFont() const { return FUseSkinFont; }
  void SetUseSkinFont(Boolean Value) { FUseSkinFont = Value; }
  Boolean UseSkinCellHeight() const { return FUseSkinCellHeight; }
  void SetUseSkinCellHeight(Boolean Value) { FUseSkinCellHeight = Value; }
  TColor GridLineColor() const { return FGridLineColor; }
  void SetGridLineColor(TColor Value);

  // Model.
  TFormBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TFormBorderStyle Value);
  Integer ColCount() const { return FColCount; }
  Integer RowCount() const { return FRowCount; }
  Integer FixedCols() const { return FFixedCols; }
  void SetFixedCols(Integer Value);
  Integer FixedRows() const { return FFixedRows; }
  void SetFixedRows(Integer Value);
  Integer DefaultColWidth() const { return FDefaultColWidth; }
  void SetDefaultColWidth(Integer Value);
  Integer DefaultRowHeight() const { return FDefaultRowHeight; }
  void SetDefaultRowHeight(Integer Value);
  Boolean DefaultDrawing() const { return FDefaultDrawing; }
  void SetDefaultDrawing(Boolean Value) { FDefaultDrawing = Value; }
  TColor FixedColor() const { return FFixedColor; }
  void SetFixedColor(TColor Value);
  Integer GridLineWidth() const { return FGridLineWidth; }
  void SetGridLineWidth(Integer Value);
  TGridOptions Options() const { return FOptions; }
  void SetOptions(TGridOptions Value);
  Integer GetColWidths(Integer Index) const;
  void SetColWidths(Integer Index, Integer Value);
  Integer GetRowHeights(Integer Index) const;
  void SetRowHeights(Integer Index, Integer Value);
  Boolean GetTabStops(Integer Index) const;

  Integer Col() const { return FCurrent.X; }
  void SetCol(Integer Value);
  Integer Row() const { return FCurrent.Y; }
  void SetRow(Integer Value);
  Integer LeftCol() const { return FTopLeft.X; }
  void SetLeftCol(Integer Value);
  Integer TopRow() const { return FTopLeft.Y; }
  void SetTopRow(Integer Value);
  TGridCoord TopLeft() const { return FTopLeft; }
  TGridCoord Anchor() const { return FAnchor; }
  TGridRect Selection() const;
  void SetSelection(const TGridRect& Value);
  Boolean EditorMode() const { return FEditorMode; }
  Integer VisibleColCount();
  Integer VisibleRowCount();
  Integer GridWidth();
  Integer GridHeight();

  // Layout.
  void CalcFixedLayout(TGridLayout& Layout) const;
  void CalcLayoutXY(TGridLayout& Layout, Integer UseWidth, Integer UseHeight) const;
  void CalcLayout(TGridLayout& Layout);
  void GridRectToClientRect(const TGridRect& AGridRect, TRect& R, Boolean IncludeLine);
  TRect RangeRect(Integer ALeft, Integer ATop, Integer ARight, Integer ABottom);
  TRect CellRect(Integer ACol, Integer ARow);
  TGridCoord CellAtPoint(Integer X, Integer Y, const TGridLayout& Layout) const;
  TGridCoord MouseCoord(Integer X, Integer Y);
  TGridCoord CalcMaxTopLeft(TGridCoord Coord, const TGridLayout& Layout) const;
  void InvalidateGridRect(const TGridRect& AGridRect);
  void InvalidateCell(Integer ACol, Integer ARow);
  void InvalidateGrid();
  // The grid's form has it as the active control, or (without a form) it holds the focus.
  Boolean IsActiveControl();

  // Current cell, selection, moving and deleting.
  void InitializeCurrent();
  void MoveCurrent(Integer ACol, Integer ARow, Boolean MoveAnchor, Boolean Show);
  void MoveAnchor(TGridCoord NewAnchor);
  void FocusCell(Integer ACol, Integer ARow, Boolean MoveAnchor);
  void ScrollIntoView(TGridCoord Coord);
  void MoveColumn(Integer FromIndex, Integer ToIndex);
  void MoveRow(Integer FromIndex, Integer ToIndex);
  virtual void DeleteColumn(Integer ACol);
  virtual void DeleteRow(Integer ARow);
  virtual void SetColCount(Integer Value);
  virtual void SetRowCount(Integer Value);
  void MoveTopLeft(Integer ALeft, Integer ATop);

  // Overridable hooks.
  virtual void DrawCell(Integer ACol, Integer ARow, TRect ARect, TGridDrawState AState) = 0;
  virtual Boolean SelectCell(Integer ACol, Integer ARow);
  virtual void InsertDeleteCells(Integer Index, Integer Amount, Boolean Rows);
  virtual void ColumnMoved(Integer FromIndex, Integer ToIndex);
  virtual void RowMoved(Integer FromIndex, Integer ToIndex);
  virtual void SizeChanged(Integer OldColCount, Integer OldRowCount);
  virtual void TopLeftChanged();
  virtual void ColWidthsChanged();
  virtual void RowHeightsChanged();
  virtual void UpdateScrollPos(Boolean UpdateVert);
  virtual void UpdateScrollRange(Boolean UpdateVert);

  // Repaints the whole control on any count change when set.
  Boolean VirtualView = false;

 protected:
  // What one paint shares between its steps: the layout, the selection, the line colour
  // and the stroke buffers.
  struct GridPaintState {
    TGridLayout L;
    TGridRect Sel;
    TColor LineColor = 0;
    Integer MaxStroke = 0;
    std::vector<POINT> Points;
    std::vector<DWORD> Counts;
  };

  void CreateParams(TCreateParams& Params) override;
  void Paint() override;
  void DrawLines(GridPaintState& S, Boolean DoHorz, Boolean DoVert, Integer ACol, Integer ARow, const TRect& Bounds,
                 TColor OffColor);
  void DrawAxisLines(GridPaintState& S, const TGridAxisLayout& Axis, Integer Cell, Integer Major,
                     Boolean UseOnColor, const TRect& Bounds, TColor OffColor);
  void DrawCells(GridPaintState& S, Integer ACol, Integer ARow, Integer StartX, Integer StartY, Integer StopX,
                 Integer StopY, TColor AColor, TGridDrawState IncludeDrawState);
  void ChangeSize(Integer NewColCount, Integer NewRowCount);
  void SelectionMoved(const TGridRect& OldSel);
  void TopLeftMoved(TGridCoord OldTopLeft);
  void HideEditor();
  void ShowEditor();
  void UpdateEdit();
  Integer ExtentOf(Boolean Horz, Integer Index) const;

  Boolean FUseSkinFont = true;
  Boolean FUseSkinCellHeight = true;
  Boolean FTransparent = false;
  TColor FGridLineColor = clWindowText;
  TGridCoord FAnchor;
  TFormBorderStyle FBorderStyle = bsSingle;
  Boolean FCanEditModify = true;
  Integer FColCount = 5;
  TGridExtents FColWidths;
  TGridExtents FTabStops;
  TGridCoord FCurrent;
  Integer FDefaultColWidth = 64;
  Integer FDefaultRowHeight = 24;
  Integer FFixedCols = 1;
  Integer FFixedRows = 1;
  TColor FFixedColor = clBtnFace;
  Integer FGridLineWidth = 1;
  TGridOptions FOptions{goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect};
  Integer FRowCount = 5;
  TGridExtents FRowHeights;
  TGridCoord FTopLeft;
  Integer FInplaceCol = -1;
  Integer FInplaceRow = -1;
  Integer FColOffset = 0;
  Boolean FDefaultDrawing = true;
  Boolean FEditorMode = false;
  TGridState FGridState = gsNormal;
};
