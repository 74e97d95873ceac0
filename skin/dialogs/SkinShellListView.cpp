// The file list: one row per item of the shown folder (owner data), its mask, navigation,
// links to a tree and a look-in box, in-place rename, verbs and change watching.
#include "platform/rtl/FileUtils.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/Masks.h"
#include "platform/rtl/SysEnv.h"
#include "platform/rtl/Utf8.h"
#include "platform/ui/Forms.h"
#include "platform/win/Keyboard.h"
#include "platform/win/ShellFileInfo.h"
#include "skin/dialogs/SkinShellViews.h"

using vantrel::win::ComPtr;
using vantrel::win::ItemIdList;

namespace {

// The hourglass for the time of a long step.
struct ListHourglass {
  TCursor Old = Screen ? Screen->Cursor() : crDefault;
  ListHourglass() {
    if (Screen) Screen->SetCursor(crHourGlass);
  }
  ~ListHourglass() {
    if (Screen) Screen->SetCursor(Old);
  }
};

// A flag set for the time of one step.
struct ListFlagScope {
  Boolean& Flag;
  explicit ListFlagScope(Boolean& F) : Flag(F) { Flag = true; }
  ~ListFlagScope() { Flag = false; }
};

HIMAGELIST ListSystemImages(bool Small) {
  SHFILEINFO Info;
  return reinterpret_cast<HIMAGELIST>(
      SHGetFileInfoW("/", 0, &Info, sizeof Info, SHGFI_SYSICONINDEX | (Small ? SHGFI_SMALLICON : 0u)));
}

}  // namespace

std::vector<String> SplitMaskList(const String& Mask) {
  std::vector<String> Patterns;
  String Part;
  for (char C : Mask) {
    if (C == ';' || C == '|') {
      Patterns.push_back(Trim(Part));
      Part.clear();
    } else {
      Part += C;
    }
  }
  Patterns.push_back(Trim(Part));
  return Patterns;
}

bool MatchesMaskList(const String& FileName, const String& Mask) {
  for (const String& Pattern : SplitMaskList(Mask)) {
    if (Pattern == "*") return true;
    if (Pattern.find('.') != String::npos && TMask(Pattern).Matches(FileName)) return true;
  }
  return false;
}

TspCustomShellListView::TspCustomShellListView(TComponent* AOwner) : TspSkinCustomListView(AOwner) {
  SetOwnerData(true);
  SetHideSelection(false);
  FSmallImages = ListSystemImages(true);
  FLargeImages = ListSystemImages(false);
}

TspCustomShellListView::~TspCustomShellListView() {
  FreeAndNil(FRootFolder);
  FFolders.clear();
}

void TspCustomShellListView::BeforeDestruction() {
  SetShellTreeView(nullptr);
  SetShellComboBox(nullptr);
  TspSkinCustomListView::BeforeDestruction();
}

void TspCustomShellListView::Loaded() {
  TspSkinCustomListView::Loaded();
  FillList();
  SetAutoRefresh(FAutoRefresh);
}

void TspCustomShellListView::Notification(TComponent* AComponent, TOperation Operation) {
  TspSkinCustomListView::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FTreeView) FTreeView = nullptr;
  if (AComponent == FComboBox) FComboBox = nullptr;
  if (AComponent == FNotifier) FNotifier = nullptr;
}

// ---- root, path, mask ----

// The rows point at the root object: they go before it does.
void TspCustomShellListView::MakeRootFolder() {
  TspShellFolder* Fresh = ResolveRootFolder(nullptr, FOldRoot, FRoot);
  ClearFolders();
  FreeObject(FRootFolder);
  FRootFolder = Fresh;
}

void TspCustomShellListView::SetRoot(const TRoot& Value) {
  if (SameText(Value, FRoot)) return;
  FOldRoot = FRoot;
  FRoot = Value;
  MakeRootFolder();
  FSettingRoot = true;
  ApplyRoot();
}

String TspCustomShellListView::Path() const { return FRootFolder ? FRootFolder->PathName() : String(); }

void TspCustomShellListView::SetPath(const String& Value) {
  ComPtr<IShellFolder> Desktop = DesktopIShellFolder();
  ItemIdList List;
  ULONG Eaten = 0;
  if (FAILED(Desktop->ParseDisplayName(nullptr, nullptr, Value.c_str(), &Eaten, List.Put(), nullptr)) || !List.Get())
    throw EInvalidPath(Format("Error setting path: \"%s\"", {Value}));
  ShowIDList(List.Get());
}

void TspCustomShellListView::SetMask(const String& Value) {
  if (Value == FMask) return;
  FMask = Value;
  ApplyRoot();
}

void TspCustomShellListView::SetObjectTypes(TShellObjectTypes Value) {
  FObjectTypes = Value;
  if (!Loading()) ApplyRoot();
}

void TspCustomShellListView::SetSorted(Boolean Value) {
  if (FSorted == Value) return;
  FSorted = Value;
  FillList();
}

void TspCustomShellListView::ApplyRoot() {
  if (FUpdating) return;
  ListFlagScope Updating(FUpdating);
  const Boolean Watching = FAutoRefresh;
  SetAutoRefresh(false);
  SyncLinkedViews();
  FillList();
  if (ViewStyle() == vsReport) BuildReportColumns();
  SetAutoRefresh(Watching);
}

void TspCustomShellListView::SyncLinkedViews() {
  struct ClearSettingRoot {
    Boolean& Flag;
    ~ClearSettingRoot() { Flag = false; }
  } Clear{FSettingRoot};
  if (FSettingRoot) {
    if (FTreeView) FTreeView->SetRoot(FRoot);
  } else if (FRootFolder) {
    if (FTreeView) FTreeView->ShowIDList(FRootFolder->AbsoluteID());
    if (FComboBox) FComboBox->FollowLinkedView(FRootFolder->AbsoluteID());
  }
}

// ---- rows ----

void TspCustomShellListView::ClearFolders() {
  if (!ComponentState().Contains(csDestroying)) Items()->SetCount(0);
  FFolders.clear();
}

void TspCustomShellListView::FillList() {
  if (Loading() && !HandleAllocated()) return;
  Items()->BeginUpdate();
  struct EndRowUpdate {
    TListItems* Rows;
    ~EndRowUpdate() { Rows->EndUpdate(); }
  } End{Items()};
  ClearFolders();
  ListHourglass Busy;
  if (!FRootFolder || !FRootFolder->ShellFolder()) return;
  IShellFolder* Folder = FRootFolder->ShellFolder();
  ComPtr<IEnumIDList> Enum;
  if (FAILED(Folder->EnumObjects(Application ? Application->Handle() : nullptr, EnumerationFlags(FObjectTypes),
                                 Enum.Put())) ||
      !Enum)
    return;
  LPITEMIDLIST Raw = nullptr;
  ULONG Fetched = 0;
  while (Enum->Next(1, &Raw, &Fetched) == S_OK && Fetched == 1) {
    ItemIdList ID(Raw);
    ComPtr<IShellFolder> SF;
    BindShellFolder(Folder, ID.Get(), nullptr, SF);
    TOwned<TspShellFolder> Item(TspShellFolder::Create(FRootFolder, SF, ID.Get()));
    Boolean CanAdd = true;
    if (!Item->IsFolder()) CanAdd = MatchesMaskList(ExtractFileName(Item->FullObjectName()), FMask);
    if (OnAddFolder) OnAddFolder(this, Item.get(), CanAdd);
    if (CanAdd) FFolders.push_back(std::move(Item));
  }
  Items()->SetCount(FolderCount());
  if (FSorted) SortRows();
}

TspShellFolder* TspCustomShellListView::FolderAt(Integer Index) const {
  if (Index < 0 || Index >= FolderCount()) return nullptr;
  return FFolders[static_cast<size_t>(Index)].get();
}

TspShellFolder* TspCustomShellListView::SelectedFolder() {
  if (!HandleAllocated()) return nullptr;
  return FolderAt(ItemIndex());
}

String TspCustomShellListView::GetSelectedFile() {
  TspShellFolder* Folder = SelectedFolder();
  return Folder && !Folder->IsFolder() ? Folder->FullObjectName() : String();
}

void TspCustomShellListView::GetSelectedFiles(TStrings* List) {
  List->Clear();
  if (!HandleAllocated()) return;
  for (Integer I = 0; I < FolderCount(); ++I) {
    if (!(SendMessage(Handle(), LVM_GETITEMSTATE, static_cast<WPARAM>(I), LVIS_SELECTED) & LVIS_SELECTED)) continue;
    TspShellFolder* Folder = FolderAt(I);
    if (!Folder->IsFolder()) List->Add(Folder->FullObjectName());
  }
}

// ---- navigation ----

void TspCustomShellListView::ShowIDList(LPCITEMIDLIST ID) {
  if (FUpdating) return;
  if (FRootFolder && SameShellItem(FRootFolder->AbsoluteID(), ID)) return;
  ClearFolders();
  FreeAndNil(FRootFolder);
  FSettingRoot = false;
  FRootFolder = RootFolderFromIDList(ID);
  ApplyRoot();
  if (OnPathChanged) OnPathChanged(this);
}

void TspCustomShellListView::FollowLinkedView(LPCITEMIDLIST ID) {
  if (FUpdating) return;
  if (FRootFolder && SameShellItem(FRootFolder->AbsoluteID(), ID)) return;
  ShowIDList(ID);
}

void TspCustomShellListView::Back() {
  if (!FRootFolder) return;
  ItemIdList Parent(CloneIDList(FRootFolder->AbsoluteID()));
  TrimLastItemID(Parent.Get());
  ShowIDList(Parent.Get());
}

void TspCustomShellListView::Refresh() {
  // Mid re-fill the folder is being replaced anyway.
  if (FUpdating) return;
  const Integer Selected = HandleAllocated() ? ItemIndex() : -1;
  if (HandleAllocated()) SetItemIndex(-1);
  if (!FRootFolder) return;
  ItemIdList Copy(CloneIDList(FRootFolder->AbsoluteID()));
  ClearFolders();
  FreeAndNil(FRootFolder);
  ShowIDList(Copy.Get());
  if (Selected != -1 && Selected < FolderCount() && HandleAllocated()) SetItemIndex(Selected);
}

void TspCustomShellListView::DblClick() {
  if (FAutoNavigate) {
    TspShellFolder* Folder = SelectedFolder();
    if (Folder && Folder->IsFolder()) {
      ItemIdList ID(CloneIDList(Folder->AbsoluteID()));
      ShowIDList(ID.Get());
    }
  }
  TspSkinCustomListView::DblClick();
}

void TspCustomShellListView::KeyDown(Word& Key, TShiftState Shift) {
  TspSkinCustomListView::KeyDown(Key, Shift);
  if (!FAutoNavigate) return;
  switch (Key) {
    case VK_BACK:
      if (!IsEditing()) Back();
      break;
    case VK_RETURN:
      if (Shift.Contains(ssAlt)) {
        RunShellVerb(SelectedFolder(), "properties");
        Key = 0;
      } else if (TspShellFolder* Folder = SelectedFolder(); Folder && Folder->IsFolder()) {
        ItemIdList ID(CloneIDList(Folder->AbsoluteID()));
        ShowIDList(ID.Get());
      }
      break;
    case VK_F5:
      Refresh();
      break;
    default:
      break;
  }
}

// ---- owner data ----

Boolean TspCustomShellListView::OwnerDataFetch(TListItem* Item) {
  TspShellFolder* Folder = FolderAt(Item->Index());
  if (!Folder) return true;
  Item->SetCaption(Folder->DisplayName());
  Item->SetImageIndex(Folder->ImageIndex(ViewStyle() == vsIcon));
  if (ViewStyle() == vsReport) {
    const Integer Columns = this->Columns()->Count();
    Folder->LoadColumnDetails(FRootFolder, Handle(), Columns);
    for (Integer C = 1; C < Columns; ++C) Item->SubItems()->Add(Folder->DetailText(C));
  }
  return true;
}

Integer TspCustomShellListView::OwnerDataFind(TItemFind Find, const String& FindString, const TPoint&, void*,
                                              Integer StartIndex, TSearchDirection, Boolean Wrap) {
  if ((Find != ifPartialString && Find != ifExactString) || StartIndex == -1) return -1;
  const String Wanted = UpperCase(FindString);
  const Integer Count = FolderCount();
  Integer I = StartIndex;
  for (Integer Seen = 0; Seen < Count; ++Seen) {
    if (I >= Count) {
      if (!Wrap) return -1;
      I = 0;
    }
    if (UpperCase(FolderAt(I)->DisplayName()).rfind(Wanted, 0) == 0) return I;
    ++I;
  }
  return -1;
}

// ---- rename, verbs, context menu ----

void TspCustomShellListView::StartEditingSelected() {
  if (HandleAllocated() && ItemIndex() >= 0) SendMessage(Handle(), LVM_EDITLABEL, static_cast<WPARAM>(ItemIndex()), 0);
}

void TspCustomShellListView::Edit(TListItem* Item, String& S) {
  TspShellFolder* Folder = Item ? FolderAt(Item->Index()) : nullptr;
  if (!Folder || S.empty()) return;
  Folder->Rename(S);
  SendMessage(Handle(), LVM_REDRAWITEMS, static_cast<WPARAM>(Item->Index()), static_cast<LPARAM>(Item->Index()));
  if (FTreeView && FTreeView->Selected()) FTreeView->Refresh(FTreeView->Selected());
}

void TspCustomShellListView::ExecuteCommand(const String& Verb, Boolean& Handled) {
  if (SameText(Verb, "rename")) {
    StartEditingSelected();
    Handled = true;
  } else if (SameText(Verb, "open")) {
    FSavePath = GetCurrentDir();
    if (TspShellFolder* Folder = SelectedFolder()) SetCurrentDir(ExtractFileDir(Folder->PathName()));
  }
}

void TspCustomShellListView::CommandCompleted(const String& Verb, Boolean Succeeded) {
  if (!Succeeded) return;
  if (SameText(Verb, "delete") || SameText(Verb, "paste")) Refresh();
  else if (SameText(Verb, "open")) SetCurrentDir(FSavePath);
}

void TspCustomShellListView::DoContextPopup(const TPoint& MousePos, Boolean& Handled) {
  TspShellFolder* Folder = SelectedFolder();
  if (FAutoContext && Folder) {
    ShowShellContextMenu(this, Folder, MousePos.X, MousePos.Y);
    Handled = true;
    return;
  }
  TspSkinCustomListView::DoContextPopup(MousePos, Handled);
}

// ---- links ----

void TspCustomShellListView::SetShellTreeView(TspCustomShellTreeView* Value) {
  if (Value == FTreeView) return;
  if (FTreeView) {
    FTreeView->RemoveFreeNotification(this);
    if (FTreeView->FListView == this) FTreeView->FListView = nullptr;
  }
  FTreeView = Value;
  if (!Value) return;
  Value->FreeNotification(this);
  Value->SetRoot(FRoot);
  Value->FListView = this;
}

void TspCustomShellListView::SetShellComboBox(TspCustomShellComboBox* Value) {
  if (Value == FComboBox) return;
  if (FComboBox) {
    FComboBox->RemoveFreeNotification(this);
    if (FComboBox->FListView == this) FComboBox->FListView = nullptr;
  }
  FComboBox = Value;
  if (!Value) return;
  Value->FreeNotification(this);
  Value->SetRoot(FRoot);
  Value->FListView = this;
}

// ---- watching ----

void TspCustomShellListView::SetAutoRefresh(Boolean Value) {
  FAutoRefresh = Value;
  if (Loading()) return;
  FreeAndNil(FNotifier);
  if (!Value) return;
  FNotifier = TspShellChangeNotifier::Create(this);
  FNotifier->SetWatchSubTree(false);
  FNotifier->SetRoot(FRootFolder ? FRootFolder->PathName() : String());
  FNotifier->SetOnChange([this] {
    if (HandleAllocated()) PostMessage(Handle(), SM_SHELLCHANGED, 0, 0);
  });
}

// ---- window life ----

void TspCustomShellListView::CreateWnd() {
  TspSkinCustomListView::CreateWnd();
  SendMessage(Handle(), LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(FSmallImages));
  SendMessage(Handle(), LVM_SETIMAGELIST, LVSIL_NORMAL, reinterpret_cast<LPARAM>(FLargeImages));
  // A re-created window keeps the folder it showed.
  if (!FRootFolder) MakeRootFolder();
  ApplyRoot();
}

void TspCustomShellListView::DestroyWnd() {
  ClearFolders();
  TspSkinCustomListView::DestroyWnd();
}

void TspCustomShellListView::WndProc(TMessage& Message) {
  if (Message.Msg == SM_SHELLCHANGED) {
    Refresh();
    return;
  }
  ForwardTrackedMenuMessage(Message);
  TspSkinCustomListView::WndProc(Message);
}
