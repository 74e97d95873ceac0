// The look-in box: the root, its children and (under the Desktop) the volumes below
// Computer, each indented by its depth with its icon, plus the chain of folders down to
// the selected one; choosing an entry shows it in the linked tree and file list.
#include <algorithm>

#include "platform/rtl/Format.h"
#include "platform/rtl/Utf8.h"
#include "platform/win/ShellFileInfo.h"
#include "platform/win/ShellSpecialFolders.h"
#include "skin/dialogs/SkinShellViews.h"

using vantrel::win::ComPtr;
using vantrel::win::ItemIdList;

namespace {

struct ComboFlagScope {
  Boolean& Flag;
  explicit ComboFlagScope(Boolean& F) : Flag(F) { Flag = true; }
  ~ComboFlagScope() { Flag = false; }
};

// Entry updates: the strings change once and the box's own selection is no choice.
struct EntryBatch {
  Integer& Count;
  TStrings* Strings;
  EntryBatch(Integer& C, TStrings* S) : Count(C), Strings(S) {
    ++Count;
    Strings->BeginUpdate();
  }
  ~EntryBatch() {
    Strings->EndUpdate();
    --Count;
  }
};

Integer ComboCompareResult(HRESULT R) { return static_cast<int16_t>(static_cast<uint16_t>(R & 0xFFFF)); }

TspShellFolder* ComboChildFolder(TspShellFolder* Parent, LPCITEMIDLIST ID) {
  ComPtr<IShellFolder> SF;
  BindShellFolder(Parent->ShellFolder(), ID, nullptr, SF);
  return TspShellFolder::Create(Parent, SF, ID);
}

}  // namespace

TspCustomShellComboBox::TspCustomShellComboBox(TComponent* AOwner) : TspSkinCustomComboBox(AOwner) {
  SHFILEINFO Info;
  FImages = reinterpret_cast<HIMAGELIST>(
      SHGetFileInfoW("/", 0, &Info, sizeof Info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
  ApplyShellImages(true);
  OnComboBoxDrawItem = [this](TCanvas* C, Integer Index, Integer, Integer, const TRect& R, TOwnerDrawState) {
    DrawEditRow(C, Index, R);
  };
  SetOnListBoxDrawItem([this](TCanvas* C, Integer Index, Integer, Integer, const TRect& R, TOwnerDrawState) {
    DrawListRow(C, Index, R);
  });
}

TspCustomShellComboBox::~TspCustomShellComboBox() {
  for (TspItemEx& E : FItemsEx) FreeObject(E.Data);
  FItemsEx.clear();
  FreeAndNil(FRootFolder);
}

void TspCustomShellComboBox::BeforeDestruction() {
  SetShellTreeView(nullptr);
  SetShellListView(nullptr);
  TspSkinCustomComboBox::BeforeDestruction();
}

void TspCustomShellComboBox::Loaded() {
  TspSkinCustomComboBox::Loaded();
  RefillEntries();
}

void TspCustomShellComboBox::Notification(TComponent* AComponent, TOperation Operation) {
  TspSkinCustomComboBox::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FTreeView) FTreeView = nullptr;
  if (AComponent == FListView) FListView = nullptr;
}

// ---- root and path ----

void TspCustomShellComboBox::SetRoot(const TRoot& Value) {
  if (SameText(Value, FRoot)) return;
  FOldRoot = FRoot;
  FRoot = Value;
  ApplyRoot();
}

void TspCustomShellComboBox::SetObjectTypes(TShellObjectTypes Value) {
  FObjectTypes = Value;
  ApplyRoot();
}

void TspCustomShellComboBox::ApplyRoot() {
  ComboFlagScope Updating(FUpdating);
  RefillEntries();
  if (FTreeView) FTreeView->SetRoot(FRoot);
  if (FListView) FListView->SetRoot(FRoot);
}

String TspCustomShellComboBox::Path() {
  const Integer I = ItemIndex();
  if (I < 0 || I >= static_cast<Integer>(FItemsEx.size())) return String();
  return FItemsEx[static_cast<size_t>(I)].Data->PathName();
}

void TspCustomShellComboBox::SetPath(const String& Value) {
  ComPtr<IShellFolder> Desktop = DesktopIShellFolder();
  ItemIdList List;
  ULONG Eaten = 0;
  if (FAILED(Desktop->ParseDisplayName(nullptr, nullptr, Value.c_str(), &Eaten, List.Put(), nullptr)) || !List.Get())
    throw EInvalidPath(Format("Error setting path: \"%s\"", {Value}));
  ShowIDList(List.Get());
}

TspShellFolder* TspCustomShellComboBox::FolderAt(Integer Index) const {
  if (Index < 0 || FItemsEx.empty()) return nullptr;
  return FItemsEx[std::min(static_cast<size_t>(Index), FItemsEx.size() - 1)].Data;
}

// ---- entries ----

void TspCustomShellComboBox::ClearEntries() {
  EntryBatch Batch(FEntryUpdate, Items());
  for (TspItemEx& E : FItemsEx) FreeObject(E.Data);
  FItemsEx.clear();
  RebuildStrings();
}

void TspCustomShellComboBox::RebuildStrings() {
  EntryBatch Batch(FEntryUpdate, Items());
  const Integer Selected = ItemIndex();
  Items()->Clear();
  for (const TspItemEx& E : FItemsEx) Items()->Add(E.Caption);
  if (Selected >= 0 && Selected < Items()->Count()) SetItemIndex(Selected);
}

Integer TspCustomShellComboBox::EntryImage(TspShellFolder* Folder) const {
  return FUseShellImages ? SystemIconIndex(Folder->AbsoluteID(), false, false) : -1;
}

void TspCustomShellComboBox::InsertEntry(Integer Index, TspShellFolder* Folder) {
  TspItemEx E;
  E.Caption = Folder->DisplayName();
  E.Data = Folder;
  E.Indent = Folder->Level();
  E.ImageIndex = E.SelectedImageIndex = EntryImage(Folder);
  const size_t At = std::min(static_cast<size_t>(std::max<Integer>(Index, 0)), FItemsEx.size());
  FItemsEx.insert(FItemsEx.begin() + static_cast<std::ptrdiff_t>(At), E);
}

void TspCustomShellComboBox::RefillEntries() {
  if (Loading()) return;
  EntryBatch Batch(FEntryUpdate, Items());
  // A root that cannot be resolved leaves the entries as they were.
  TspShellFolder* Fresh = ResolveRootFolder(nullptr, FOldRoot, FRoot);
  ClearEntries();
  FreeObject(FRootFolder);
  FRootFolder = Fresh;
  auto* Top = TspShellFolder::Create(nullptr, ComPtr<IShellFolder>(FRootFolder->ShellFolder()), FRootFolder->AbsoluteID());
  TspItemEx E;
  E.Caption = Top->DisplayName();
  E.Data = Top;
  E.Indent = 0;
  E.ImageIndex = E.SelectedImageIndex = EntryImage(Top);
  FItemsEx.push_back(E);
  FillEntries();
  RebuildStrings();
  SetItemIndex(0);
  if (FUseShellImages) {
    ApplyShellImages(false);
    ApplyShellImages(true);
  }
}

void TspCustomShellComboBox::FillEntries() {
  EntryBatch Batch(FEntryUpdate, Items());
  InsertChildren(0, FRootFolder);
  if (FRoot != "rfDesktop") return;
  ItemIdList Computer;
  if (FAILED(SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, Computer.Put()))) return;
  const Integer At = FindEntry(Computer.Get());
  if (At >= 0) InsertChildren(At, FItemsEx[static_cast<size_t>(At)].Data);
}

void TspCustomShellComboBox::InsertChildren(Integer Index, TspShellFolder* Folder) {
  IShellFolder* SF = Folder->ShellFolder();
  ComPtr<IEnumIDList> Enum;
  const HRESULT R = SF ? SF->EnumObjects(nullptr, EnumerationFlags(FObjectTypes), Enum.Put()) : E_FAIL;
  if (FAILED(R) || !Enum) throw EOleSysError(Format("OLE error %.8X", {static_cast<Int64>(static_cast<uint32_t>(R))}), R);
  std::vector<ItemIdList> IDs;
  LPITEMIDLIST Raw = nullptr;
  ULONG Fetched = 0;
  while (Enum->Next(1, &Raw, &Fetched) == S_OK && Fetched == 1) IDs.emplace_back(Raw);
  std::stable_sort(IDs.begin(), IDs.end(), [SF](const ItemIdList& A, const ItemIdList& B) {
    return ComboCompareResult(SF->CompareIDs(0, A.Get(), B.Get())) < 0;
  });
  for (size_t K = 0; K < IDs.size(); ++K)
    InsertEntry(Index + static_cast<Integer>(K) + 1, ComboChildFolder(Folder, IDs[K].Get()));
}

Integer TspCustomShellComboBox::FindEntry(LPCITEMIDLIST ID) const {
  ComPtr<IShellFolder> Desktop = DesktopIShellFolder();
  for (Integer I = static_cast<Integer>(FItemsEx.size()) - 1; I >= 0; --I)
    if (ComboCompareResult(Desktop->CompareIDs(0, FItemsEx[static_cast<size_t>(I)].Data->AbsoluteID(), ID)) == 0)
      return I;
  return -1;
}

void TspCustomShellComboBox::ShowIDList(LPCITEMIDLIST ID) {
  EntryBatch Batch(FEntryUpdate, Items());
  RefillEntries();
  std::vector<ItemIdList> Ancestors = AncestorIDLists(ID);
  Integer Found = -1;
  size_t Level = Ancestors.size();
  while (Level > 0 && Found < 0) {
    --Level;
    Found = FindEntry(Ancestors[Level].Get());
  }
  if (Found < 0) return;
  for (size_t L = Level + 1; L < Ancestors.size(); ++L) {
    ItemIdList Last(LastItemIDCopy(Ancestors[L].Get()));
    InsertEntry(Found + 1, ComboChildFolder(FItemsEx[static_cast<size_t>(Found)].Data, Last.Get()));
    ++Found;
  }
  if (FindEntry(ID) < 0) {
    ItemIdList Last(LastItemIDCopy(ID));
    InsertEntry(Found + 1, ComboChildFolder(FItemsEx[static_cast<size_t>(Found)].Data, Last.Get()));
  }
  RebuildStrings();
  SetItemIndex(FindEntry(ID));
}

void TspCustomShellComboBox::FollowLinkedView(LPCITEMIDLIST ID) {
  if (FUpdating) return;
  if (TspShellFolder* Current = ItemIndex() >= 0 ? FolderAt(ItemIndex()) : nullptr;
      Current && SameShellItem(Current->AbsoluteID(), ID))
    return;
  ComboFlagScope Updating(FUpdating);
  ShowIDList(ID);
}

// ---- choosing ----

void TspCustomShellComboBox::Change() {
  if (FEntryUpdate > 0) return;
  TspSkinCustomComboBox::Change();
  const Integer I = ItemIndex();
  if (I < 0 || I >= static_cast<Integer>(FItemsEx.size()) || FUpdating || IsPopupVisible()) return;
  ComboFlagScope Updating(FUpdating);
  ItemIdList Chosen(CloneIDList(FItemsEx[static_cast<size_t>(I)].Data->AbsoluteID()));
  if (FTreeView) FTreeView->ShowIDList(Chosen.Get());
  if (FListView) FListView->FollowLinkedView(Chosen.Get());
  // The entries are rebuilt around the choice: its chain down from the root.
  ShowIDList(Chosen.Get());
}

// ---- links ----

void TspCustomShellComboBox::SetShellTreeView(TspCustomShellTreeView* Value) {
  if (Value == FTreeView) return;
  if (FTreeView) {
    FTreeView->RemoveFreeNotification(this);
    if (FTreeView->FComboBox == this) FTreeView->FComboBox = nullptr;
  }
  FTreeView = Value;
  if (!Value) return;
  Value->FreeNotification(this);
  Value->SetRoot(FRoot);
  Value->FComboBox = this;
}

void TspCustomShellComboBox::SetShellListView(TspCustomShellListView* Value) {
  if (Value == FListView) return;
  if (FListView) {
    FListView->RemoveFreeNotification(this);
    if (FListView->FComboBox == this) FListView->FComboBox = nullptr;
  }
  FListView = Value;
  if (!Value) return;
  Value->FreeNotification(this);
  Value->SetRoot(FRoot);
  Value->FComboBox = this;
}

// ---- drawing ----

void TspCustomShellComboBox::ApplyShellImages(Boolean Value) {
  FUseShellImages = Value;
  int W = 16, H = 16;
  if (Value && FImages) ImageList_GetIconSize(FImages, &W, &H);
  FImageWidth = W;
  FImageHeight = H;
}

void TspCustomShellComboBox::DrawEntry(TCanvas* Cnvs, Integer Index, const TRect& R, Integer Offset) {
  if (Index < 0 || Index >= static_cast<Integer>(FItemsEx.size())) return;
  const TspItemEx& E = FItemsEx[static_cast<size_t>(Index)];
  if (E.ImageIndex != -1)
    ImageList_Draw(FImages, E.ImageIndex, Cnvs->Handle(), R.Left + Offset, R.Top + (R.Bottom - R.Top - FImageHeight) / 2,
                   ILD_NORMAL);
  const Integer TextTop = R.Top + (R.Bottom - R.Top) / 2 - Cnvs->TextHeight("Wg") / 2;
  Cnvs->TextOut(R.Left + Offset + FImageWidth + 4, TextTop, E.Caption);
}

void TspCustomShellComboBox::DrawEditRow(TCanvas* Cnvs, Integer Index, const TRect& R) { DrawEntry(Cnvs, Index, R, 0); }

void TspCustomShellComboBox::DrawListRow(TCanvas* Cnvs, Integer Index, const TRect& R) {
  const Integer Indent = Index >= 0 && Index < static_cast<Integer>(FItemsEx.size())
                             ? FItemsEx[static_cast<size_t>(Index)].Indent
                             : 0;
  DrawEntry(Cnvs, Index, R, Indent * FImageWidth / 2);
}

// ---- window life ----

void TspCustomShellComboBox::CreateWnd() {
  TspSkinCustomComboBox::CreateWnd();
  ApplyShellImages(FUseShellImages);
  if (FItemsEx.empty()) RefillEntries();
  RebuildStrings();
}

void TspCustomShellComboBox::DestroyWnd() {
  ClearEntries();
  TspSkinCustomComboBox::DestroyWnd();
}
