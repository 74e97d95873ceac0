// The file list's report columns and row order: the shown folder's detail columns (or the
// fixed file columns), folders first in the shell's order after every fill, and a column
// order on a header click.
#include <algorithm>
#include <unordered_map>

#include "platform/rtl/FileUtils.h"
#include "platform/rtl/Utf8.h"
#include "platform/win/Paint.h"
#include "skin/core/data/SkinData.h"
#include "skin/dialogs/SkinShellViews.h"

namespace {

struct FileColumn {
  const char* Key;
  const char* Text;
  TAlignment Alignment;
  Integer WidthInX;
};
constexpr FileColumn kFileColumns[] = {
    {"FLV_NAME", "Name", taLeftJustify, 25},
    {"FLV_SIZE", "Size", taRightJustify, 10},
    {"FLV_TYPE", "Type", taLeftJustify, 10},
    {"FLV_MODIFIED", "Modified", taLeftJustify, 14},
};

// What one comparison needs of a row, read once before a sort.
struct SortRow {
  TspShellFolder* Folder = nullptr;
  Integer Rank = 0;  // 1 a folder, 0 anything else
  TspFindData Find;
  TDateTime Written = 0;  // local last-write time as a packed file date holds it
  bool TimeRule = true;   // the column's order applies (detail 4 holds a time)
  String Name, Type;
};

// The sort under way: the GUI thread sorts one view at a time.
struct ShellSortContext {
  TspShellFolder* Folder = nullptr;
  HWND Window = nullptr;
  bool ColumnSort = false;
  Integer Column = 0;
  bool Descending = false;
};
ShellSortContext& SortContext() {
  static ShellSortContext Context;
  return Context;
}

TDateTime WrittenDate(const TspFindData& Data) {
  return FileDateToDateTime(DateTimeToFileDate(UnixToLocalDateTime(Data.Modified)));
}

Integer LowSigned16(HRESULT R) { return static_cast<int16_t>(static_cast<uint16_t>(R & 0xFFFF)); }

Integer FolderFirst(const SortRow& A, const SortRow& B, Integer Otherwise) {
  if (A.Rank && !B.Rank) return -1;
  if (B.Rank && !A.Rank) return 1;
  return Otherwise;
}

template <class T>
Integer Order(T A, T B) {
  return A == B ? 0 : (A > B ? 1 : -1);
}

String DetailOrEmpty(TspShellFolder* F, Integer Index) { return F->DetailsLoaded() ? F->DetailText(Index) : String(); }

// Reads what a comparison in the current sort needs of Folder; raises EInvalidPath for an
// item whose file is gone when its find data are needed.
SortRow ReadSortRow(TspShellFolder* Folder) {
  const ShellSortContext& Ctx = SortContext();
  SortRow R;
  R.Folder = Folder;
  R.Rank = Folder->IsFolder() ? 1 : 0;
  if (!Ctx.ColumnSort) return R;
  if (Ctx.Column == 0) {
    R.Name = Folder->DisplayName();
    return R;
  }
  Folder->LoadColumnDetails(Ctx.Folder, Ctx.Window, 4);
  R.TimeRule = DetailOrEmpty(Folder, 4).find(':') != String::npos;
  R.Type = DetailOrEmpty(Folder, 2);
  if ((Ctx.Column == 1 && !R.Rank) || Ctx.Column == 3) {
    Folder->ReadFindData(R.Find);
    R.Written = WrittenDate(R.Find);
  }
  return R;
}

// The shell's order of two rows of one rank.
Integer ShellOrder(const SortRow& A, const SortRow& B) {
  IShellFolder* Parent = A.Folder->ParentShellFolder();
  return Parent ? LowSigned16(Parent->CompareIDs(0, A.Folder->RelativeID(), B.Folder->RelativeID())) : 0;
}

// The standard order is worked out only where the column's own order leaves it standing.
Integer CompareSortRows(const SortRow& A, const SortRow& B) {
  const ShellSortContext& Ctx = SortContext();
  const Integer Rank = B.Rank - A.Rank;
  auto Standard = [&] { return Rank != 0 ? Rank : ShellOrder(A, B); };
  if (!Ctx.ColumnSort) return Standard();
  const bool Rule = Ctx.Column == 0 || A.TimeRule;
  Integer C = 0;
  if (!Rule) {
    C = Standard();
  } else {
    switch (Ctx.Column) {
      case 0:
        C = FolderFirst(A, B, CompareText(A.Name, B.Name));
        break;
      case 1:
        if (A.Rank != B.Rank) C = FolderFirst(A, B, 0);
        else if (!A.Rank) C = Order(FindDataSize(A.Find), FindDataSize(B.Find));
        else C = Standard();
        break;
      case 2:
        C = FolderFirst(A, B, CompareText(A.Type, B.Type));
        break;
      case 3:
        C = FolderFirst(A, B, Order(A.Written, B.Written));
        break;
      default:
        C = Standard();
        break;
    }
  }
  return Ctx.Descending ? -C : C;
}

}  // namespace

// ---- columns ----

void TspCustomShellListView::BuildReportColumns() {
  if (!FRootFolder || !FRootFolder->ShellFolder()) return;
  TListColumns* Cols = Columns();
  Cols->BeginUpdate();
  struct EndColumnUpdate {
    TListColumns* C;
    ~EndColumnUpdate() { C->EndUpdate(); }
  } End{Cols};
  Cols->Clear();
  std::vector<String> Used;
  FRootFolder->SetViewHandle(HandleAllocated() ? Handle() : nullptr);
  if (IShellFolder2* SF2 = FRootFolder->ShellFolder2()) {
    bool SeenDefault = false;
    for (UINT I = 0;; ++I) {
      SHELLDETAILS Detail;
      if (FAILED(SF2->GetDetailsOf(nullptr, I, &Detail))) break;
      DWORD State = 0;
      SF2->GetDefaultColumnState(I, &State);
      const bool OnByDefault = State & SHCOLSTATE_ONBYDEFAULT;
      if (SeenDefault && !OnByDefault) {
        StrRetText(nullptr, Detail.str);  // frees the text
        break;
      }
      SeenDefault = SeenDefault || OnByDefault;
      AddDetailColumn(Detail, Used);
    }
  } else if (IShellDetails* SD = FRootFolder->ShellDetails()) {
    for (UINT I = 0;; ++I) {
      SHELLDETAILS Detail;
      if (FAILED(SD->GetDetailsOf(nullptr, I, &Detail))) break;
      if (!AddDetailColumn(Detail, Used)) break;
    }
  } else {
    AddFileColumns(FRootFolder->Properties().Contains(fpFileSystem) ? 4 : 1);
  }
}

namespace {

Integer WidthOfX(TControl* Control, TFont* Font) {
  TOwned<TControlCanvas> Canvas = CreateOwned<TControlCanvas>();
  Canvas->SetControl(Control);
  Canvas->Font()->Assign(Font);
  const Integer W = Canvas->TextWidth("X");
  return W > 0 ? W : 8;
}

}  // namespace

Boolean TspCustomShellListView::AddDetailColumn(SHELLDETAILS& Detail, std::vector<String>& Used) {
  const String Caption = StrRetText(nullptr, Detail.str);
  if (Caption.empty()) return true;
  for (const String& U : Used)
    if (SameText(U, Caption)) return false;
  TListColumn* Column = Columns()->Add();
  Column->SetCaption(Caption);
  switch (Detail.fmt) {
    case LVCFMT_LEFT: Column->SetAlignment(taLeftJustify); break;
    case LVCFMT_RIGHT: Column->SetAlignment(taRightJustify); break;
    case LVCFMT_CENTER: Column->SetAlignment(taCenter); break;
    default: break;
  }
  Column->SetWidth(WidthOfX(this, Font()) * Detail.cxChar);
  Used.push_back(Caption);
  return true;
}

void TspCustomShellListView::AddFileColumns(Integer Count) {
  TspResourceStrData* Texts = SkinData() ? SkinData()->ResourceStrData() : nullptr;
  const Integer X = WidthOfX(this, Font());
  for (Integer I = 0; I < Count && I < static_cast<Integer>(std::size(kFileColumns)); ++I) {
    const FileColumn& F = kFileColumns[I];
    String Caption = Texts ? Texts->GetResStr(F.Key) : String();
    if (Caption.empty()) Caption = F.Text;
    TListColumn* Column = Columns()->Add();
    Column->SetCaption(Caption);
    Column->SetAlignment(F.Alignment);
    Column->SetWidth(X * F.WidthInX);
  }
}

void TspCustomShellListView::SetViewStyle(TViewStyle Value) {
  TspSkinCustomListView::SetViewStyle(Value);
  if (Value == vsReport) BuildReportColumns();
}

// ---- order ----

namespace {

// Sorts Rows (a copy of the view's rows) with the context set up; raises what reading the
// rows raises, leaving the view's rows as they were.
std::vector<TspShellFolder*> SortedCopy(const std::vector<TOwned<TspShellFolder>>& Rows) {
  std::vector<SortRow> Copy;
  Copy.reserve(Rows.size());
  for (const auto& Row : Rows) Copy.push_back(ReadSortRow(Row.get()));
  std::stable_sort(Copy.begin(), Copy.end(),
                   [](const SortRow& A, const SortRow& B) { return CompareSortRows(A, B) < 0; });
  std::vector<TspShellFolder*> Order;
  Order.reserve(Copy.size());
  for (const SortRow& R : Copy) Order.push_back(R.Folder);
  return Order;
}

}  // namespace

Integer CompareListFolders(TspShellFolder* A, TspShellFolder* B) {
  if (!A || !B) return 0;
  return CompareSortRows(ReadSortRow(A), ReadSortRow(B));
}

void TspCustomShellListView::SortRows() {
  std::vector<TspShellFolder*> Order = SortedCopy(FFolders);
  std::unordered_map<TspShellFolder*, size_t> Slot;
  for (size_t I = 0; I < FFolders.size(); ++I) Slot[FFolders[I].get()] = I;
  std::vector<TOwned<TspShellFolder>> Sorted;
  Sorted.reserve(FFolders.size());
  for (TspShellFolder* F : Order) Sorted.push_back(std::move(FFolders[Slot[F]]));
  FFolders = std::move(Sorted);
}

void TspCustomShellListView::ColClick(TListColumn* Column) {
  TspSkinCustomListView::ColClick(Column);
  if (Column) SortByColumn(Column->Index());
}

void TspCustomShellListView::SortByColumn(Integer Column) {
  if (Columns()->Count() < 4 && Column != 0) return;
  FOldSortColumn = FSortColumn;
  FSortColumn = Column;
  if (FOldSortColumn == FSortColumn && FSortColumn != -1) FSortDirection = !FSortDirection;
  else FSortDirection = false;
  ShellSortContext& Ctx = SortContext();
  Ctx.ColumnSort = true;
  Ctx.Folder = FRootFolder;
  Ctx.Window = HandleAllocated() ? Handle() : nullptr;
  Ctx.Column = FSortColumn;
  Ctx.Descending = FSortDirection;
  struct ClearContext {
    ~ClearContext() { SortContext() = ShellSortContext(); }
  } Clear;
  Items()->BeginUpdate();
  struct EndRowUpdate {
    TListItems* Rows;
    ~EndRowUpdate() { Rows->EndUpdate(); }
  } End{Items()};
  SortRows();
  if (HandleAllocated()) InvalidateRect(Handle(), nullptr, TRUE);
}
