// The string grid: a text and an object per cell in sparse row lists, the row and column
// views made on first write, the default text drawing, and the editor fed from the cells.
#include <algorithm>
#include <vector>

#include "skin/controls/SkinGrids.h"

namespace {

const char* const GridViewInsertDeleteText = "Cannot insert or delete rows from grid";

// Columns past 512 (rows past 256) make the wider sections pay off.
TSPAQuantum GridColQuantum(Integer ColCount) { return ColCount > 512 ? SPALarge : SPASmall; }
TSPAQuantum GridRowQuantum(Integer RowCount) { return RowCount > 256 ? SPALarge : SPASmall; }

// Frees the items of a sparse list of owned objects of type T.
template <class T>
void FreeSparseItems(const TSparseList& List) {
  List.ForAll([](Integer, void* Item) {
    delete static_cast<T*>(Item);
    return 0;
  });
}

}  // namespace

// --- Row and column views ----------------------------------------------------------------

TGridCoord TspSkinStringGridStrings::CalcXY(Integer Index) const {
  if (FIndex > 0) return {Index, FIndex - 1};
  if (FIndex < 0) return {-FIndex - 1, Index};
  return {-1, -1};
}

Integer TspSkinStringGridStrings::Count() const {
  if (FIndex > 0) return FGrid->ColCount();
  if (FIndex < 0) return FGrid->RowCount();
  return 0;
}

String TspSkinStringGridStrings::Get(Integer Index) const {
  const TGridCoord C = CalcXY(Index);
  return C.X < 0 ? String() : FGrid->Cells(C.X, C.Y);
}

TObject* TspSkinStringGridStrings::GetObject(Integer Index) const {
  const TGridCoord C = CalcXY(Index);
  return C.X < 0 ? nullptr : FGrid->Objects(C.X, C.Y);
}

void TspSkinStringGridStrings::Put(Integer Index, const String& S) {
  const TGridCoord C = CalcXY(Index);
  FGrid->SetCells(C.X, C.Y, S);
}

void TspSkinStringGridStrings::PutObject(Integer Index, TObject* AObject) {
  const TGridCoord C = CalcXY(Index);
  FGrid->SetObjects(C.X, C.Y, AObject);
}

Integer TspSkinStringGridStrings::Add(const String& S) {
  for (Integer I = 0; I < Count(); ++I)
    if (Get(I).empty()) {
      Put(I, S.empty() ? String(" ") : S);
      return I;
    }
  return -1;
}

void TspSkinStringGridStrings::Assign(TPersistent* Source) {
  auto* Src = dynamic_cast<TStrings*>(Source);
  if (!Src) {
    TStrings::Assign(Source);
    return;
  }
  BeginUpdate();
  try {
    const Integer N = std::min(Src->Count(), Count());
    for (Integer I = 0; I < N; ++I) {
      Put(I, Src->Get(I));
      PutObject(I, Src->GetObject(I));
    }
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TspSkinStringGridStrings::Clear() {
  if (FIndex > 0) {
    const Integer Row = FIndex - 1;
    TStringSparseList* L = FGrid->DataRow(Row);
    if (!L) return;
    std::vector<Integer> Stored;
    L->List().ForAll([&](Integer Col, void*) {
      Stored.push_back(Col);
      return 0;
    });
    for (Integer Col : Stored) {
      FGrid->SetObjects(Col, Row, nullptr);
      FGrid->SetCells(Col, Row, String());
    }
  } else if (FIndex < 0) {
    for (Integer I = Count() - 1; I >= 0; --I) {
      PutObject(I, nullptr);
      Put(I, String());
    }
  }
}

void TspSkinStringGridStrings::Insert(Integer, const String&) { InvalidOp(GridViewInsertDeleteText); }
void TspSkinStringGridStrings::Delete(Integer) { InvalidOp(GridViewInsertDeleteText); }
void TspSkinStringGridStrings::SetUpdateState(bool Updating) { FGrid->SetUpdateState(Updating); }

// --- The grid ----------------------------------------------------------------------------

TspSkinStringGrid::TspSkinStringGrid(TComponent* AOwner) : TspSkinDrawGrid(AOwner) {
  FCols = std::make_unique<TSparseList>(GridColQuantum(FColCount));
  FRows = std::make_unique<TSparseList>(GridRowQuantum(FRowCount));
  FData = std::make_unique<TSparseList>(GridRowQuantum(FRowCount));
}

TspSkinStringGrid::~TspSkinStringGrid() {
  FreeSparseItems<TspSkinStringGridStrings>(*FRows);
  FRows.reset();
  FreeSparseItems<TspSkinStringGridStrings>(*FCols);
  FCols.reset();
  FreeSparseItems<TStringSparseList>(*FData);
  FData.reset();
}

String TspSkinStringGrid::Cells(Integer ACol, Integer ARow) const {
  const TStringSparseList* L = DataRow(ARow);
  return L ? L->Get(ACol) : String();
}

TObject* TspSkinStringGrid::Objects(Integer ACol, Integer ARow) const {
  const TStringSparseList* L = DataRow(ARow);
  return L ? L->GetObject(ACol) : nullptr;
}

TStringSparseList* TspSkinStringGrid::EnsureDataRow(Integer ARow) {
  if (TStringSparseList* L = DataRow(ARow)) return L;
  auto L = std::make_unique<TStringSparseList>(GridColQuantum(FColCount));
  FData->Put(ARow, L.get());
  return L.release();
}

TspSkinStringGridStrings* TspSkinStringGrid::EnsureColRow(Integer Index, Boolean IsCol) {
  TSparseList& Views = IsCol ? *FCols : *FRows;
  if (auto* V = static_cast<TspSkinStringGridStrings*>(Views.Get(Index))) return V;
  auto V = std::make_unique<TspSkinStringGridStrings>(this, IsCol ? -(Index + 1) : Index + 1);
  Views.Put(Index, V.get());
  return V.release();
}

void TspSkinStringGrid::SetCells(Integer ACol, Integer ARow, const String& Value) {
  EnsureDataRow(ARow)->Put(ACol, Value);
  EnsureColRow(ACol, true);
  EnsureColRow(ARow, false);
  Update(ACol, ARow);
}

void TspSkinStringGrid::SetObjects(Integer ACol, Integer ARow, TObject* AObject) {
  EnsureDataRow(ARow)->PutObject(ACol, AObject);
  EnsureColRow(ACol, true);
  EnsureColRow(ARow, false);
  Update(ACol, ARow);
}

void TspSkinStringGrid::Update(Integer ACol, Integer ARow) {
  if (FUpdating)
    FNeedsUpdating = true;
  else
    InvalidateCell(ACol, ARow);
  if (ACol == Col() && ARow == Row() && FEditUpdate == 0) InvalidateEditor();
}

void TspSkinStringGrid::SetUpdateState(Boolean Updating) {
  FUpdating = Updating;
  if (!Updating && FNeedsUpdating) {
    InvalidateGrid();
    FNeedsUpdating = false;
  }
}

void TspSkinStringGrid::DrawCell(Integer ACol, Integer ARow, TRect ARect, TGridDrawState AState) {
  if (FDefaultDrawing) {
    TCanvas* C = Canvas();
    if (OnGetCellParam) {
      TColor FontColor = C->Font()->Color();
      TColor BGColor = C->Brush()->Color();
      Boolean FillBG = false;
      OnGetCellParam(this, ACol, ARow, AState, BGColor, FillBG, FontColor);
      C->Font()->SetColor(FontColor);
      if (FillBG) {
        C->Brush()->SetColor(BGColor);
        C->FillRect(ARect);
      }
    }
    const TRect R = GetNewTextRect(ARect, AState);
    C->Brush()->SetStyle(bsClear);
    const String S = Cells(ACol, ARow);
    const Integer X = R.Left + 2;
    const Integer Y = R.Top + (R.Bottom - R.Top) / 2 - C->TextHeight(S) / 2;
    C->TextRect(R, X, Y, S);
    C->Brush()->SetStyle(bsSolid);
  }
  TspSkinDrawGrid::DrawCell(ACol, ARow, ARect, AState);
}

String TspSkinStringGrid::GetEditText(Integer ACol, Integer ARow) {
  String Value = Cells(ACol, ARow);
  if (OnGetEditText) OnGetEditText(this, ACol, ARow, Value);
  return Value;
}

void TspSkinStringGrid::SetEditText(Integer ACol, Integer ARow, const String& Value) {
  ++FEditUpdate;
  try {
    if (Value != Cells(ACol, ARow)) SetCells(ACol, ARow, Value);
  } catch (...) {
    --FEditUpdate;
    throw;
  }
  --FEditUpdate;
  TspSkinDrawGrid::SetEditText(ACol, ARow, Value);
}

void TspSkinStringGrid::ColumnMoved(Integer FromIndex, Integer ToIndex) {
  FData->ForAll([&](Integer, void* Item) {
    static_cast<TStringSparseList*>(Item)->Move(FromIndex, ToIndex);
    return 0;
  });
  Invalidate();
  TspSkinDrawGrid::ColumnMoved(FromIndex, ToIndex);
}

void TspSkinStringGrid::RowMoved(Integer FromIndex, Integer ToIndex) {
  FData->Move(FromIndex, ToIndex);
  Invalidate();
  TspSkinDrawGrid::RowMoved(FromIndex, ToIndex);
}
