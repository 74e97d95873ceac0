// The skinned grid engine: a rectangular array of cells whose first columns and rows stay
// in place as headers, with per-cell extents, a current cell and a selection. The cell
// contents belong to descendants: every visible cell is handed to DrawCell.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/StringList.h"
#include "platform/ui/Mask.h"
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

class TspSkinCustomGrid;
class TspSkinPopupMenu;

// A masked edit that, with Transparent on, paints no background and lets its parent show
// through, repainting the parent below it after every change.
class TspSkinTransparentMaskEdit : public TCustomMaskEdit {
  VANTREL_CLASS(TspSkinTransparentMaskEdit)
  explicit TspSkinTransparentMaskEdit(TComponent* AOwner);

  Boolean Transparent() const { return FTransparent; }
  // Recreates the window on a change.
  void SetTransparent(Boolean Value);
  void Invalidate() override;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void Dispatch(TMessage& Message) override;
  void RedrawTransparent();

  Boolean FTransparent = false;
  Boolean FDown = false;  // the left button is held inside
};

// The grid's in-place editor: placed over the current cell, it hands navigation keys to
// the grid and asks it before every change of the text.
class TspSkinInplaceEdit : public TspSkinTransparentMaskEdit {
  VANTREL_CLASS(TspSkinInplaceEdit)
  explicit TspSkinInplaceEdit(TComponent* AOwner);
  ~TspSkinInplaceEdit() override;

  TspSkinCustomGrid* Grid() const { return FGrid; }
  void SetGrid(TspSkinCustomGrid* Value) { FGrid = Value; }
  // Empties the text, then takes mask, text and length limit of the grid's current cell.
  virtual void UpdateContents();
  // Caret after the last character, nothing selected.
  void Deselect();
  void Invalidate() override;
  void Hide();
  // The editor's window rectangle in the grid's client coordinates equals Rect.
  Boolean PosEqual(const TRect& Rect);
  // Places the editor over Loc (an empty Loc hides it); Move redraws, UpdateLoc only
  // when the editor was hidden.
  void Move(const TRect& Loc) { InternalMove(Loc, true); }
  void UpdateLoc(const TRect& Loc) { InternalMove(Loc, false); }
  Boolean Visible();
  void SetFocus() override;
  TspSkinPopupMenu* SysPopupMenu() const { return FSysPopupMenu; }
  // The length limit as the grid gave it: -1 for a cell that may not be modified (the
  // edit itself takes no negative limit).
  Integer EditLimit() const { return FEditLimit; }

  // Message time of the grid's last left-button press; 0 once the editor used it.
  LONG FClickTime = 0;

 protected:
  virtual void BoundsChanged();
  Boolean EditCanModify() override;
  void CreateParams(TCreateParams& Params) override;
  void WndProc(TMessage& Message) override;
  void Dispatch(TMessage& Message) override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void KeyPress(char32_t& Key) override;
  void KeyUp(Word& Key, TShiftState Shift) override;
  void DblClick() override;
  void InternalMove(const TRect& Loc, Boolean Redraw);
  void CreateSysPopupMenu();
  void ShowContextMenu(TMessage& Message);

  TspSkinCustomGrid* FGrid = nullptr;
  void Notification(TComponent* AComponent, TOperation Operation) override;

  TspSkinPopupMenu* FSysPopupMenu = nullptr;  // owned
  Integer FEditLimit = 0;
};

class TspSkinCustomGrid : public TspSkinControl {
  VANTREL_CLASS(TspSkinCustomGrid)
  // The editor hands keys, clicks and the question whether it may modify to the grid.
  friend class TspSkinInplaceEdit;
  explicit TspSkinCustomGrid(TComponent* AOwner);

  ~TspSkinCustomGrid() override;

  // Engine properties.
  Boolean Transparent() const { return FTransparent; }
  void SetTransparent(Boolean Value);
  Boolean UseSkinFont() const { return FUseSkinFont; }
  void SetUseSkinFont(Boolean Value) { FUseSkinFont = Value; }
  Boolean UseSkinCellHeight() const { return FUseSkinCellHeight; }
  void SetUseSkinCellHeight(Boolean Value) { FUseSkinCellHeight = Value; }
  TColor GridLineColor() const { return FGridLineColor; }
  void SetGridLineColor(TColor Value);
  TBitmap* Wallpaper() const { return FWallpaper.get(); }
  // Copies the picture; any picture (even an empty one) switches Transparent on.
  void SetWallpaper(TBitmap* Value);
  Boolean WallpaperStretch() const { return FWallpaperStretch; }
  void SetWallpaperStretch(Boolean Value);
  TspSkinScrollBar* HScrollBar() const { return FHScrollBar; }
  TspSkinScrollBar* VScrollBar() const { return FVScrollBar; }
  virtual void SetHScrollBar(TspSkinScrollBar* Value);
  virtual void SetVScrollBar(TspSkinScrollBar* Value);

  // Skin layer.
  void GetSkinData() override;
  void ChangeSkinData() override;
  // Where a cell's text goes: the skin picture's text area kept at its distances to the
  // picture's edges while the picture is stretched to the cell.
  TRect GetNewTextRect(const TRect& CellR, TGridDrawState AState) const;

  // Values copied from the skin's grid descriptor.
  TRect FixedCellRect, SelectCellRect, FocusCellRect;
  Integer FixedCellLeftOffset = 0, FixedCellRightOffset = 0;
  TRect FixedCellTextRect;
  Integer CellLeftOffset = 0, CellRightOffset = 0;
  TRect CellTextRect;
  TColor LinesColor = 0, BGColor = 0;
  Integer BGPictureIndex = -1;
  String FontName;
  TFontStyles FontStyle;
  Integer FontHeight = 0;
  TColor FontColor = 0, SelectFontColor = 0, FocusFontColor = 0;
  String FixedFontName;
  TFontStyles FixedFontStyle;
  Integer FixedFontHeight = 0;
  TColor FixedFontColor = 0;
  TBitmap* Picture = nullptr;    // not owned: the skin's
  TBitmap* BGPicture = nullptr;  // not owned: the skin's
  Boolean CellStretchEffect = false, FixedCellStretchEffect = false, ShowFocus = false;

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
  void SetEditorMode(Boolean Value);
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

  // Scrolling.
  void ModifyScrollBar(Integer ScrollBar, Integer ScrollCode, Integer Pos, Boolean UseRightToLeft);
  void ScrollData(Integer DX, Integer DY);
  void ScrollLayout(Integer DX, Integer DY, const TGridLayout& L);

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
  virtual Boolean CanEditAcceptKey(char32_t Key);
  virtual Boolean CanGridAcceptKey(Word Key, TShiftState Shift);
  virtual Boolean CanEditModify();
  virtual String GetEditText(Integer ACol, Integer ARow);
  virtual void SetEditText(Integer ACol, Integer ARow, const String& Value);
  virtual String GetEditMask(Integer ACol, Integer ARow);
  virtual Integer GetEditLimit();
  // The editor forgets the cell it was loaded for and loads the current one again.
  void InvalidateEditor();
  // Editing is on and may show now: goEditing without goRowSelect, a window, and the
  // focus (or goAlwaysShowEditor).
  virtual Boolean CanEditShow();
  void ShowEditor();
  void HideEditor();
  void ShowEditorChar(char32_t Ch);
  // A new editor owned by the grid.
  virtual TspSkinInplaceEdit* CreateEditor();
  TspSkinInplaceEdit* InplaceEditor() const { return FInplaceEdit; }
  // Hands the editor's text to SetEditText for the cell it was loaded for.
  void UpdateText();

  // Mouse: sizing zones, drags and auto-scroll.
  TGridState GridState() const { return FGridState; }
  virtual void CalcSizingState(Integer X, Integer Y, TGridState& State, Integer& Index, Integer& SizingPos,
                               Integer& SizingOfs, TGridLayout& L);
  Boolean IsSizingZone(Integer X, Integer Y);
  // Directions of TimedScroll.
  static constexpr Integer sdLeft = 1, sdRight = 2, sdUp = 4, sdDown = 8;
  virtual void TimedScroll(Integer Direction);
  virtual Boolean BeginColumnDrag(Integer& Origin, Integer& Destination, TPoint MousePt);
  virtual Boolean BeginRowDrag(Integer& Origin, Integer& Destination, TPoint MousePt);
  virtual Boolean CheckColumnDrag(Integer& Origin, Integer& Destination, TPoint MousePt);
  virtual Boolean CheckRowDrag(Integer& Origin, Integer& Destination, TPoint MousePt);
  virtual Boolean EndColumnDrag(Integer& Origin, Integer& Destination, TPoint MousePt);
  virtual Boolean EndRowDrag(Integer& Origin, Integer& Destination, TPoint MousePt);
  void DrawSizingLine(const TGridLayout& L);
  void DrawMoveMarker();
  // The wheel: the event first; unhandled, it moves the current row by one (and always
  // counts as handled).
  Boolean DoMouseWheelDown(TShiftState Shift, TPoint MousePos) override;
  Boolean DoMouseWheelUp(TShiftState Shift, TPoint MousePos) override;

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
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Dispatch(TMessage& Message) override;
  void WMPaint(TWMPaint& Message) override;
  void Paint() override;
  void DrawBGPicture();
  void DrawSkinCell(TBitmap* B, TGridDrawState DrawState, Integer AWidth, Integer AHeight);
  // The canvas font of normal cells, or of cells with a skin picture in colour Color.
  void SetSkinCellFont(const String& Name, Integer Height, TFontStyles Style, TColor Color);
  void SetParentImage(TBitmap* ParentImage);
  // One axis of UpdateScrollRange; Change and Show say whether and how the bar's
  // visibility is to change.
  void UpdateScrollAxis(Boolean Horz, Integer AvailW, Integer AvailH, TGridCoord OldTopLeft,
                        Boolean& Flushed, Boolean& Change, Boolean& Show);
  void AttachScrollBar(TspSkinScrollBar* Bar, Boolean Horz);
  // Unbinds the bar's events and forgets it.
  void DetachScrollBar(TspSkinScrollBar*& Bar);
  void DrawLines(GridPaintState& S, Boolean DoHorz, Boolean DoVert, Integer ACol, Integer ARow, const TRect& Bounds,
                 TColor OffColor);
  void DrawAxisLines(GridPaintState& S, const TGridAxisLayout& Axis, Integer Cell, Integer Major,
                     Boolean UseOnColor, const TRect& Bounds, TColor OffColor);
  void DrawCells(GridPaintState& S, Integer ACol, Integer ARow, Integer StartX, Integer StartY, Integer StopX,
                 Integer StopY, TColor AColor, TGridDrawState IncludeDrawState);
  void ChangeSize(Integer NewColCount, Integer NewRowCount);
  void SelectionMoved(const TGridRect& OldSel);
  void TopLeftMoved(TGridCoord OldTopLeft);
  void UpdateEdit();
  // Stores the editor's text and hides it.
  void HideEdit();
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MoveAndScroll(Integer Mouse, Integer CellHit, TGridLayout& L, Boolean Horz, TPoint MousePt);
  void CancelMode();
  // The mouse messages of the grid; false for any other message.
  Boolean MouseMessage(TMessage& Message);
  void KeyDown(Word& Key, TShiftState Shift) override;
  void KeyPress(char32_t& Key) override;
  void DoExit() override;
  // The keyboard and focus messages; false for any other message.
  Boolean KeyboardMessage(TMessage& Message);
  Integer ExtentOf(Boolean Horz, Integer Index) const;

  TOwned<TBitmap> FWallpaper;
  Boolean FWallpaperStretch = false;
  TspSkinScrollBar* FHScrollBar = nullptr;
  TspSkinScrollBar* FVScrollBar = nullptr;
  Boolean FInCheckScrollBars = false;
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
  Integer FSizingIndex = 0, FSizingPos = 0, FSizingOfs = 0;
  Integer FMoveIndex = 0, FMovePos = 0;
  TPoint FHitTest;
  TspSkinInplaceEdit* FInplaceEdit = nullptr;  // owned through the component tree
  Integer FInplaceCol = -1;
  Integer FInplaceRow = -1;
  Integer FColOffset = 0;
  Boolean FDefaultDrawing = true;
  Boolean FEditorMode = false;
  TGridState FGridState = gsNormal;
};

// ---------------------------------------------------------------------------------------
// Sparse storage of the string grid's cells: memory grows with the cells written, not
// with the grid's dimensions.

enum TSPAQuantum { SPASmall, SPALarge };

// Untyped item pointers indexed from 0, kept in sections of 16 or 256 items that are
// allocated on the first write into them. The directory holds at most 65535 sections.
class TSparsePointerArray {
 public:
  using TSPAApply = std::function<Integer(Integer Index, void* Item)>;
  static constexpr Integer MaxSections = 65535;

  explicit TSparsePointerArray(TSPAQuantum Quantum);
  TSparsePointerArray(const TSparsePointerArray&) = delete;
  TSparsePointerArray& operator=(const TSparsePointerArray&) = delete;

  // Nil for an index never written or outside the array's range.
  void* GetAt(Integer Index);
  // The slot of Index, with its section made when missing; an index outside the range
  // raises EListError "SListIndexError" and changes nothing.
  void** MakeAt(Integer Index);
  void PutAt(Integer Index, void* Item);
  // Calls Apply for each item in ascending index order until it answers non-zero; that
  // answer, or 0.
  Integer ForAll(const TSPAApply& Apply) const;
  void ResetHighBound();

  Integer HighBound() const { return FHighBound; }
  Integer SectionSize() const { return FSectionSize; }
  Integer SlotsInDir() const { return static_cast<Integer>(FSecDir.size()); }
  Integer SectionCount() const;
  // The highest index the array can hold.
  Integer MaxIndex() const { return MaxSections * FSectionSize - 1; }

 private:
  std::vector<std::unique_ptr<void*[]>> FSecDir;
  Integer FIndexMask;
  Integer FSecShift;
  Integer FHighBound = -1;
  Integer FSectionSize;
  Integer FCachedIndex = -1;
  void* FCachedPointer = nullptr;
};

// A list of untyped pointers with a count on one sparse array.
class TSparseList {
 public:
  explicit TSparseList(TSPAQuantum Quantum);

  Integer Count() const { return FCount; }
  void* Get(Integer Index);
  void Put(Integer Index, void* Item);
  void Insert(Integer Index, void* Item);
  void Delete(Integer Index);
  void Exchange(Integer Index1, Integer Index2);
  void Move(Integer CurIndex, Integer NewIndex);
  void Clear();
  Integer ForAll(const TSparsePointerArray::TSPAApply& Apply) const { return FList->ForAll(Apply); }
  const TSparsePointerArray& Items() const { return *FList; }

 private:
  std::unique_ptr<TSparsePointerArray> FList;
  Integer FCount = 0;
  TSPAQuantum FQuantum;
};

// One item of a sparse string list: its text and an object it does not own.
struct TStrItem {
  TObject* FObject = nullptr;
  String FString;
};

// A string list whose items exist only while they hold text or an object.
class TStringSparseList : public TStrings {
  VANTREL_CLASS(TStringSparseList)
  explicit TStringSparseList(TSPAQuantum Quantum);
  ~TStringSparseList() override;

  Integer Count() const override { return FList->Count(); }
  String Get(Integer Index) const override;
  TObject* GetObject(Integer Index) const override;
  void Put(Integer Index, const String& S) override;
  void PutObject(Integer Index, TObject* AObject) override;
  void Insert(Integer Index, const String& S) override;
  void Delete(Integer Index) override;
  void Exchange(Integer Index1, Integer Index2) override;
  // Moves the item with its object; the list grows when NewIndex lies beyond its end.
  void Move(Integer CurIndex, Integer NewIndex) override;
  void Clear() override;
  virtual void Changed();
  TNotifyEvent OnChange;
  const TSparseList& List() const { return *FList; }

 private:
  TStrItem* ItemAt(Integer Index) const { return static_cast<TStrItem*>(FList->Get(Index)); }
  // Frees every item; the slots keep their stale pointers until the list is cleared.
  void DisposeItems();
  std::unique_ptr<TSparseList> FList;
};

// ---------------------------------------------------------------------------------------
// The owner-drawn grid: the engine's hooks as events.

class TspSkinDrawGrid : public TspSkinCustomGrid {
  VANTREL_CLASS(TspSkinDrawGrid)
  explicit TspSkinDrawGrid(TComponent* AOwner) : TspSkinCustomGrid(AOwner) {}

  // The column and row under a client point, each -1 outside the cells.
  void MouseToCell(Integer X, Integer Y, Integer& ACol, Integer& ARow);

  TMovedEvent OnColumnMoved;
  TDrawCellEvent OnDrawCell;
  TGetEditEvent OnGetEditMask, OnGetEditText;
  TMovedEvent OnRowMoved;
  TSelectCellEvent OnSelectCell;
  TSetEditEvent OnSetEditText;
  TNotifyEvent OnTopLeftChanged;

  void DrawCell(Integer ACol, Integer ARow, TRect ARect, TGridDrawState AState) override;
  Boolean SelectCell(Integer ACol, Integer ARow) override;
  String GetEditMask(Integer ACol, Integer ARow) override;
  String GetEditText(Integer ACol, Integer ARow) override;
  void SetEditText(Integer ACol, Integer ARow, const String& Value) override;
  void ColumnMoved(Integer FromIndex, Integer ToIndex) override;
  void RowMoved(Integer FromIndex, Integer ToIndex) override;
  void TopLeftChanged() override;
};

// ---------------------------------------------------------------------------------------
// The string grid: a text and an object per cell, kept sparsely by row.

using TspGetCellParamEvent = std::function<void(TObject* Sender, Integer ACol, Integer ARow, TGridDrawState AState,
                                                TColor& ABGColor, Boolean& AFillBG, TColor& AFontColor)>;

class TspSkinStringGrid;

// One row or one column of a string grid seen as a string list; it stores nothing itself.
class TspSkinStringGridStrings : public TStrings {
  VANTREL_CLASS(TspSkinStringGridStrings)
  // AIndex: row r as r + 1, column c as -(c + 1), 0 for none.
  TspSkinStringGridStrings(TspSkinStringGrid* AGrid, Integer AIndex) : FGrid(AGrid), FIndex(AIndex) {}

  Integer Count() const override;
  String Get(Integer Index) const override;
  TObject* GetObject(Integer Index) const override;
  void Put(Integer Index, const String& S) override;
  void PutObject(Integer Index, TObject* AObject) override;
  // Stores S (" " for an empty S) in the first empty item; its index, or -1 when none.
  Integer Add(const String& S) override;
  void Assign(TPersistent* Source) override;
  void Clear() override;
  void Insert(Integer Index, const String& S) override;
  void Delete(Integer Index) override;

 protected:
  void SetUpdateState(bool Updating) override;

 private:
  TGridCoord CalcXY(Integer Index) const;
  TspSkinStringGrid* FGrid;
  Integer FIndex;
};

class TspSkinStringGrid : public TspSkinDrawGrid {
  VANTREL_CLASS(TspSkinStringGrid)
  explicit TspSkinStringGrid(TComponent* AOwner);
  ~TspSkinStringGrid() override;
  using TspSkinDrawGrid::Update;

  String Cells(Integer ACol, Integer ARow) const;
  void SetCells(Integer ACol, Integer ARow, const String& Value);
  TObject* Objects(Integer ACol, Integer ARow) const;
  void SetObjects(Integer ACol, Integer ARow, TObject* AObject);
  // The view of a whole row or column, made on first use.
  TspSkinStringGridStrings* Rows(Integer ARow) { return EnsureColRow(ARow, false); }
  TspSkinStringGridStrings* Cols(Integer ACol) { return EnsureColRow(ACol, true); }
  TspGetCellParamEvent OnGetCellParam;

  // Holds the repainting of changed cells; the end repaints the grid once when any changed.
  void SetUpdateState(Boolean Updating);
  // Storage seen from outside (what was written, not what is shown).
  const TSparseList& DataRows() const { return *FData; }
  const TSparseList& RowViews() const { return *FRows; }
  const TSparseList& ColViews() const { return *FCols; }

  void DrawCell(Integer ACol, Integer ARow, TRect ARect, TGridDrawState AState) override;
  String GetEditText(Integer ACol, Integer ARow) override;
  void SetEditText(Integer ACol, Integer ARow, const String& Value) override;
  void ColumnMoved(Integer FromIndex, Integer ToIndex) override;
  void RowMoved(Integer FromIndex, Integer ToIndex) override;

 private:
  friend class TspSkinStringGridStrings;
  // A changed cell: repainted (or noted while held) and, as the current cell, reloaded
  // into the editor unless the editor itself wrote it.
  void Update(Integer ACol, Integer ARow);
  TStringSparseList* DataRow(Integer ARow) const { return static_cast<TStringSparseList*>(FData->Get(ARow)); }
  TStringSparseList* EnsureDataRow(Integer ARow);
  TspSkinStringGridStrings* EnsureColRow(Integer Index, Boolean IsCol);

  std::unique_ptr<TSparseList> FData;  // owns its row lists
  std::unique_ptr<TSparseList> FRows;  // owns its views
  std::unique_ptr<TSparseList> FCols;  // owns its views
  Boolean FUpdating = false;
  Boolean FNeedsUpdating = false;
  Integer FEditUpdate = 0;
};
