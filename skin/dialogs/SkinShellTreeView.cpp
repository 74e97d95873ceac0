// The folder tree: one top node for the root, children filled on first expansion, a path
// selected by expanding its ancestors, links to a file list and a look-in box, in-place
// rename, verbs and change watching of the selected folder.
#include "platform/rtl/FileUtils.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/SysEnv.h"
#include "platform/rtl/Utf8.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Menus.h"
#include "platform/win/Shell.h"
#include "platform/win/ShellFileInfo.h"
#include "platform/win/ShellSpecialFolders.h"
#include "skin/dialogs/SkinShellViews.h"

using vantrel::win::ComPtr;
using vantrel::win::ItemIdList;

// The system's small icons as the tree's image list.
class TspCustomShellTreeView::SystemImages : public vantrel::win::TreeImageSource {
 public:
  explicit SystemImages(HIMAGELIST List) : FList(List) {}
  SIZE ImageSize() const override {
    int CX = 16, CY = 16;
    ImageList_GetIconSize(FList, &CX, &CY);
    return SIZE{CX, CY};
  }
  int ImageCount() const override { return ImageList_GetImageCount(FList); }
  void Draw(int Index, HDC Dc, int X, int Y) const override { ImageList_Draw(FList, Index, Dc, X, Y, ILD_NORMAL); }

 private:
  HIMAGELIST FList;
};

namespace {

struct TreeHourglass {
  TCursor Old = Screen ? Screen->Cursor() : crDefault;
  TreeHourglass() {
    if (Screen) Screen->SetCursor(crHourGlass);
  }
  ~TreeHourglass() {
    if (Screen) Screen->SetCursor(Old);
  }
};

struct TreeFlagScope {
  Boolean& Flag;
  explicit TreeFlagScope(Boolean& F) : Flag(F) { Flag = true; }
  ~TreeFlagScope() { Flag = false; }
};

struct TreeNodeBatch {
  TTreeNodes* Nodes;
  explicit TreeNodeBatch(TTreeNodes* N) : Nodes(N) { Nodes->BeginUpdate(); }
  ~TreeNodeBatch() { Nodes->EndUpdate(); }
};

Integer TreeCompareResult(HRESULT R) { return static_cast<int16_t>(static_cast<uint16_t>(R & 0xFFFF)); }

}  // namespace

TspCustomShellTreeView::TspCustomShellTreeView(TComponent* AOwner) : TspSkinCustomTreeView(AOwner) {
  SetShowRoot(false);
  SetRightClickSelect(true);
  SHFILEINFO Info;
  FImages = reinterpret_cast<HIMAGELIST>(
      SHGetFileInfoW("/", 0, &Info, sizeof Info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
  if (FImages) ImageList_SetBkColor(FImages, CLR_NONE);
  FSystemImages = std::make_unique<SystemImages>(FImages);
  FNotifier = TspShellChangeNotifier::Create(this);
}

TspCustomShellTreeView::~TspCustomShellTreeView() { FreeAndNil(FRootFolder); }

void TspCustomShellTreeView::BeforeDestruction() {
  SetShellListView(nullptr);
  SetShellComboBox(nullptr);
  TspSkinCustomTreeView::BeforeDestruction();
}

void TspCustomShellTreeView::Loaded() {
  TspSkinCustomTreeView::Loaded();
  BuildRootNode();
}

void TspCustomShellTreeView::Notification(TComponent* AComponent, TOperation Operation) {
  TspSkinCustomTreeView::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FListView) FListView = nullptr;
  if (AComponent == FComboBox) FComboBox = nullptr;
  if (AComponent == FNotifier) FNotifier = nullptr;
}

// ---- root and nodes ----

void TspCustomShellTreeView::SetRoot(const TRoot& Value) {
  if (SameText(Value, FRoot)) return;
  FOldRoot = FRoot;
  FRoot = Value;
  ApplyRoot();
}

void TspCustomShellTreeView::SetObjectTypes(TShellObjectTypes Value) {
  FObjectTypes = Value;
  ApplyRoot();
}

void TspCustomShellTreeView::ApplyRoot() {
  if (FUpdating) return;
  TreeFlagScope Updating(FUpdating);
  BuildRootNode();
  if (FListView) FListView->SetRoot(FRoot);
}

void TspCustomShellTreeView::BuildRootNode() {
  if (Loading()) return;
  String Failure;
  try {
    FRootFolder = ResolveRootFolder(FRootFolder, FOldRoot, FRoot);
  } catch (const Exception& E) {
    Failure = E.Message();
  }
  if (FRootFolder) {
    TreeFlagScope LoadingRoot(FLoadingRoot);
    ClearNodes();
    TTreeNode* Node = Items()->AddObject(nullptr, "", nullptr);
    auto* Folder = TspShellFolder::Create(nullptr, ComPtr<IShellFolder>(FRootFolder->ShellFolder()),
                                          FRootFolder->AbsoluteID());
    Node->SetData(Folder);
    ComPtr<IShellFolder> Desktop = DesktopIShellFolder();
    Node->SetText(GetShellDisplayName(Desktop.Get(), Folder->AbsoluteID(), SHGDN_NORMAL));
    if (FUseShellImages && !Images()) {
      Node->SetImageIndex(SystemIconIndex(Folder->AbsoluteID(), false, false));
      Node->SetSelectedIndex(SystemIconIndex(Folder->AbsoluteID(), false, true));
    }
    Node->SetHasChildren(Folder->SubFolders());
    Node->Expand(false);
    Node->SetSelected(true);
  }
  if (!Failure.empty()) throw Exception(Failure);
}

void TspCustomShellTreeView::SetupNode(TTreeNode* Node, LPCITEMIDLIST ID, TTreeNode* ParentNode) {
  TspShellFolder* ParentFolder = NodeFolder(ParentNode);
  ComPtr<IShellFolder> SF;
  BindShellFolder(ParentFolder->ShellFolder(), ID, nullptr, SF);
  auto* Folder = TspShellFolder::Create(ParentFolder, SF, ID);
  Node->SetData(Folder);
  Node->SetText(Folder->DisplayName());
  if (FUseShellImages && !Images()) {
    Node->SetImageIndex(SystemIconIndex(Folder->AbsoluteID(), false, false));
    Node->SetSelectedIndex(SystemIconIndex(Folder->AbsoluteID(), false, true));
  }
  if (Node->SelectedIndex() == 0) Node->SetSelectedIndex(Node->ImageIndex());
  Node->SetHasChildren(Folder->SubFolders());
  if (FObjectTypes.Contains(otNonFolders) && Folder->ShellFolder())
    Node->SetHasChildren(FolderHasItems(Folder->ShellFolder(), EnumerationFlags(FObjectTypes)));
  Boolean CanAdd = true;
  if (OnAddFolder) OnAddFolder(this, Folder, CanAdd);
  if (!CanAdd) Node->Delete();
}

void TspCustomShellTreeView::FillNode(TTreeNode* Node) {
  TreeHourglass Busy;
  TreeNodeBatch Batch(Items());
  TspShellFolder* Folder = NodeFolder(Node);
  if (!Folder || !Folder->ShellFolder()) return;
  ComPtr<IEnumIDList> Enum;
  HRESULT R = E_FAIL;
  try {
    R = Folder->ShellFolder()->EnumObjects(Application ? Application->Handle() : nullptr,
                                           EnumerationFlags(FObjectTypes), Enum.Put());
  } catch (const Exception&) {
    return;
  }
  if (FAILED(R) || !Enum) return;
  LPITEMIDLIST Raw = nullptr;
  ULONG Fetched = 0;
  while (Enum->Next(1, &Raw, &Fetched) == S_OK && Fetched == 1) {
    ItemIdList ID(Raw);
    TTreeNode* Child = Items()->AddChildObject(Node, "", nullptr);
    SetupNode(Child, ID.Get(), Node);
  }
  IShellFolder* Parent = Folder->ShellFolder();
  Node->CustomSort(
      [Parent](TTreeNode* A, TTreeNode* B, intptr_t) {
        return TreeCompareResult(Parent->CompareIDs(0, NodeFolder(A)->RelativeID(), NodeFolder(B)->RelativeID()));
      },
      0);
}

void TspCustomShellTreeView::ClearNodes() {
  TreeNodeBatch Batch(Items());
  for (TTreeNode* N = Items()->GetFirstNode(); N; N = N->GetNext()) {
    FreeObject(NodeFolder(N));
    N->SetData(nullptr);
  }
  Items()->Clear();
}

// ---- hooks ----

Boolean TspCustomShellTreeView::CanExpand(TTreeNode* Node) {
  if (ComponentState().Contains(csDesigning) && Node->Level() > 0) return true;
  Boolean Allow = TspSkinCustomTreeView::CanExpand(Node);
  if (Allow) {
    TspShellFolder* Folder = NodeFolder(Node);
    if (Folder && Folder->IsFolder()) {
      if (Node->HasChildren() && Node->Count() == 0) FillNode(Node);
    } else if (Folder) {
      const String Path = Folder->PathName();
      ShellExecuteW(HandleAllocated() ? Handle() : nullptr, nullptr, Path.c_str(), nullptr,
                    ExtractFileDir(Path).c_str(), SW_HIDE);
    }
  }
  Node->SetHasChildren(Node->Count() > 0);
  return Allow;
}

void TspCustomShellTreeView::FollowNode(TTreeNode* Node) {
  TspShellFolder* Folder = NodeFolder(Node);
  if (!Folder) return;
  if (!Folder->IsFolder() && Folder->Parent()) Folder = Folder->Parent();
  TreeFlagScope Updating(FUpdating);
  if (FComboBox) FComboBox->FollowLinkedView(Folder->AbsoluteID());
  if (FListView) FListView->FollowLinkedView(Folder->AbsoluteID());
}

Boolean TspCustomShellTreeView::CanChange(TTreeNode* Node) {
  const Boolean Result = TspSkinCustomTreeView::CanChange(Node);
  if (!Result || FUpdating || !Node) return Result;
  const Boolean Watching = FAutoRefresh;
  SetAutoRefresh(false);
  FollowNode(Node);
  FNodeToMonitor = Node;
  SetAutoRefresh(Watching);
  FNodeToMonitor = nullptr;
  return Result;
}

void TspCustomShellTreeView::Delete(TTreeNode* Node) {
  FreeObject(NodeFolder(Node));
  Node->SetData(nullptr);
  TspSkinCustomTreeView::Delete(Node);
}

void TspCustomShellTreeView::Edit(const TVITEM& Item) {
  TTreeNode* Node = Items()->NodeFromItem(Item.hItem);
  if (!Node || !Item.pszText) return;
  String S = Item.pszText;
  if (OnEdited) OnEdited(this, Node, S);
  TspShellFolder* Folder = NodeFolder(Node);
  if (Folder && Folder->Rename(S)) Node->SetText(S);
  if (TTreeNode* Parent = Node->Parent()) Refresh(Parent);
}

void TspCustomShellTreeView::GetImageIndex(TTreeNode* Node) {
  if (Images()) TspSkinCustomTreeView::GetImageIndex(Node);
}

void TspCustomShellTreeView::GetSelectedIndex(TTreeNode* Node) {
  if (Images()) TspSkinCustomTreeView::GetSelectedIndex(Node);
}

void TspCustomShellTreeView::DoContextPopup(TPoint MousePos, Boolean& Handled) {
  if (FAutoContext && !(PopupMenu() && PopupMenu()->AutoPopup())) {
    ShowShellContextMenu(this, SelectedFolder(), MousePos.X, MousePos.Y);
    Handled = true;
    return;
  }
  TspSkinCustomTreeView::DoContextPopup(MousePos, Handled);
}

// ---- path and selection ----

TspShellFolder* TspCustomShellTreeView::SelectedFolder() { return NodeFolder(Selected()); }

String TspCustomShellTreeView::Path() {
  TspShellFolder* Folder = SelectedFolder();
  return Folder ? Folder->PathName() : String();
}

void TspCustomShellTreeView::SetPath(const String& Value) {
  ComPtr<IShellFolder> Desktop = DesktopIShellFolder();
  ItemIdList List;
  ULONG Eaten = 0;
  if (FAILED(Desktop->ParseDisplayName(nullptr, nullptr, Value.c_str(), &Eaten, List.Put(), nullptr)) || !List.Get())
    throw EInvalidPath(Format("Error setting path: \"%s\"", {Value}));
  ShowIDList(List.Get());
  if (TTreeNode* Node = Selected()) {
    Node->Expand(false);
    CanChange(Node);
  }
  FPath = Value;
}

TspShellFolder* TspCustomShellTreeView::FolderAt(Integer Index) {
  if (Index < 0 || Index >= Items()->Count()) return nullptr;
  return NodeFolder(Items()->Item(Index));
}

TTreeNode* TspCustomShellTreeView::FindNodeByID(LPCITEMIDLIST ID, TTreeNode* Start) {
  if (!Start) return nullptr;
  ComPtr<IShellFolder> Desktop = DesktopIShellFolder();
  const Integer Level = Start->Level();
  for (TTreeNode* N = Start; N; N = N->GetNext()) {
    if (N != Start && N->Level() <= Level) break;
    TspShellFolder* Folder = NodeFolder(N);
    if (Folder && TreeCompareResult(Desktop->CompareIDs(0, Folder->AbsoluteID(), ID)) == 0) return N;
  }
  return nullptr;
}

void TspCustomShellTreeView::ShowIDList(LPCITEMIDLIST ID) {
  // A tree busy following its own selection is already on its way there.
  if (Loading() || FUpdating) return;
  if (TspShellFolder* Current = SelectedFolder(); Current && SameShellItem(Current->AbsoluteID(), ID)) return;
  TTreeNode* Found = nullptr;
  {
    TreeFlagScope Updating(FUpdating);
    TreeNodeBatch Batch(Items());
    TTreeNode* From = Items()->GetFirstNode();
    for (const ItemIdList& Ancestor : AncestorIDLists(ID)) {
      if (TTreeNode* Node = FindNodeByID(Ancestor.Get(), From)) {
        Node->Expand(false);
        From = Node;
      }
    }
    Found = FindNodeByID(ID, From);
    if (Found) SetSelected(Found);
  }
  if (Found) {
    TreeFlagScope Updating(FUpdating);
    if (FListView) FListView->FollowLinkedView(NodeFolder(Found)->AbsoluteID());
    if (FComboBox) FComboBox->FollowLinkedView(NodeFolder(Found)->AbsoluteID());
  }
}

void TspCustomShellTreeView::ExpandMyComputer() {
  ItemIdList Computer;
  if (FAILED(SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, Computer.Put()))) return;
  ShowIDList(Computer.Get());
  if (TTreeNode* Node = Selected()) Node->Expand(false);
}

void TspCustomShellTreeView::Refresh(TTreeNode* Node) {
  TspShellFolder* Folder = NodeFolder(Node);
  if (!Folder || !Folder->ShellFolder()) return;
  ItemIdList TopCopy(TopItem() && NodeFolder(TopItem()) ? CloneIDList(NodeFolder(TopItem())->AbsoluteID()) : nullptr);
  ItemIdList SelectedCopy(SelectedFolder() ? CloneIDList(SelectedFolder()->AbsoluteID()) : nullptr);
  TreeHourglass Busy;
  {
    TreeFlagScope Updating(FUpdating);
    TreeNodeBatch Batch(Items());
    TTreeNode* Fresh = Items()->InsertObject(Node, "", nullptr);
    auto* FreshFolder =
        TspShellFolder::Create(NodeFolder(Node->Parent()), ComPtr<IShellFolder>(Folder->ShellFolder()), Folder->RelativeID());
    Fresh->SetData(FreshFolder);
    FillNode(Fresh);
    Fresh->SetImageIndex(SystemIconIndex(FreshFolder->AbsoluteID(), false, false));
    Fresh->SetSelectedIndex(SystemIconIndex(FreshFolder->AbsoluteID(), false, true));
    Fresh->SetHasChildren(FreshFolder->SubFolders() || Fresh->Count() > 0);
    Fresh->SetText(FreshFolder->DisplayName());
    const Integer Level = Node->Level();
    for (TTreeNode* N = Node; N; N = N->GetNext()) {
      if (N != Node && N->Level() <= Level) break;
      if (!N->Expanded() || !NodeFolder(N)) continue;
      if (TTreeNode* Twin = FindNodeByID(NodeFolder(N)->AbsoluteID(), Fresh)) Twin->Expand(false);
    }
    Node->Delete();
  }
  if (SelectedCopy.Get())
    if (TTreeNode* N = FindNodeByID(SelectedCopy.Get(), Items()->GetFirstNode())) SetSelected(N);
  if (TopCopy.Get())
    if (TTreeNode* N = FindNodeByID(TopCopy.Get(), Items()->GetFirstNode())) SetTopItem(N);
}

void TspCustomShellTreeView::RefreshSelected() {
  if (TTreeNode* Node = Selected()) Refresh(Node);
}

// ---- links, images, watching ----

void TspCustomShellTreeView::SetShellListView(TspCustomShellListView* Value) {
  if (Value == FListView) return;
  if (FListView) {
    FListView->RemoveFreeNotification(this);
    if (FListView->FTreeView == this) FListView->FTreeView = nullptr;
  }
  FListView = Value;
  if (!Value) return;
  Value->FreeNotification(this);
  Value->SetRoot(FRoot);
  Value->FTreeView = this;
}

void TspCustomShellTreeView::SetShellComboBox(TspCustomShellComboBox* Value) {
  if (Value == FComboBox) return;
  if (FComboBox) {
    FComboBox->RemoveFreeNotification(this);
    if (FComboBox->FTreeView == this) FComboBox->FTreeView = nullptr;
  }
  FComboBox = Value;
  if (!Value) return;
  Value->FreeNotification(this);
  Value->SetRoot(FRoot);
  Value->FTreeView = this;
}

void TspCustomShellTreeView::SetUseShellImages(Boolean Value) {
  FUseShellImages = Value;
  if (HandleAllocated() && !Images()) SendMessage(Handle(), TVM_SETIMAGELIST, TVSIL_NORMAL, 0);
}

void TspCustomShellTreeView::SetAutoRefresh(Boolean Value) {
  FAutoRefresh = Value;
  if (Loading()) return;
  FreeAndNil(FNotifier);
  if (!Value) return;
  TspShellFolder* Watched = FNodeToMonitor ? NodeFolder(FNodeToMonitor) : FRootFolder;
  FNotifier = TspShellChangeNotifier::Create(this);
  FNotifier->SetWatchSubTree(false);
  FNotifier->SetRoot(Watched ? Watched->PathName() : String());
  FNotifier->SetOnChange([this] {
    if (HandleAllocated()) PostMessage(Handle(), SM_SHELLCHANGED, 0, 0);
  });
}

// ---- verbs ----

void TspCustomShellTreeView::ExecuteCommand(const String& Verb, Boolean& Handled) {
  if (SameText(Verb, "rename")) {
    if (TTreeNode* Node = Selected()) {
      Node->EditText();
      Handled = true;
    }
  } else if (SameText(Verb, "open")) {
    FSavePath = GetCurrentDir();
    if (TspShellFolder* Folder = SelectedFolder()) SetCurrentDir(ExtractFileDir(Folder->PathName()));
  }
}

void TspCustomShellTreeView::CommandCompleted(const String& Verb, Boolean Succeeded) {
  TTreeNode* Node = Selected();
  if (!Succeeded || !Node) return;
  if (SameText(Verb, "delete")) {
    if (!FileExists(NodeFolder(Node)->PathName())) Node->Delete();
  } else if (SameText(Verb, "paste")) {
    Refresh(Node);
  } else if (SameText(Verb, "open")) {
    SetCurrentDir(FSavePath);
  }
}

// ---- window life ----

void TspCustomShellTreeView::CreateWnd() {
  TspSkinCustomTreeView::CreateWnd();
  if (FLoadingRoot) return;
  ClearNodes();
  if (!Images()) SendMessage(Handle(), TVM_SETIMAGELIST, TVSIL_NORMAL, 0);
  BuildRootNode();
  if (!FPath.empty()) SetPath(FPath);
}

void TspCustomShellTreeView::DestroyWnd() {
  ClearNodes();
  TspSkinCustomTreeView::DestroyWnd();
}

void TspCustomShellTreeView::WndProc(TMessage& Message) {
  if (Message.Msg == SM_SHELLCHANGED) {
    RefreshSelected();
    return;
  }
  if (ForwardTrackedMenuMessage(Message)) return;
  if (Message.Msg == TVM_SETIMAGELIST && Message.WParam == TVSIL_NORMAL && !Images() && !FImageListChanging) {
    FImageListChanging = true;
    Message.LParam = FUseShellImages ? reinterpret_cast<LPARAM>(FSystemImages.get()) : 0;
    TspSkinCustomTreeView::WndProc(Message);
    FImageListChanging = false;
    return;
  }
  TspSkinCustomTreeView::WndProc(Message);
}
