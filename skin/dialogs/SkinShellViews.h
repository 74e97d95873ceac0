// The three shell views over the folder layer: the folder tree, the file list and the
// look-in box. Each shows the shell namespace below a root, and linked together they
// keep showing the same folder. GUI thread only.
#pragma once

#include <memory>
#include <vector>

#include "platform/rtl/Classes.h"
#include "platform/ui/ComCtrls.h"
#include "platform/ui/TreeView.h"
#include "skin/controls/SkinBoxCtrls.h"
#include "skin/controls/SkinCtrls.h"
#include "skin/dialogs/SkinShellChangeNotifier.h"
#include "skin/dialogs/SkinShellCtrls.h"
#include "skin/dialogs/SkinShellVerbs.h"

class TspCustomShellTreeView;
class TspCustomShellListView;
class TspCustomShellComboBox;

// Posted to a view by its change watch: the view re-reads its folder once the watch's
// call has returned (re-reading replaces the watch, which cannot be freed inside its own
// call).
constexpr UINT SM_SHELLCHANGED = 0x8000 + 0x5C1;

// A veto per enumerated item: CanAdd := false drops it.
using TAddFolderEvent = std::function<void(TObject* Sender, TspShellFolder* AFolder, Boolean& CanAdd)>;

// Trims the blanks around each pattern of a mask list split at ";" and "|".
std::vector<String> SplitMaskList(const String& Mask);
// Whether a file name passes a mask list: a pattern with a dot through the file mask, or
// the pattern "*"; malformed patterns raise EMaskException.
bool MatchesMaskList(const String& FileName, const String& Mask);

// The rows' order: folders first, then the shell's order; during a column sort the
// clicked column's order. Negative when A comes first.
Integer CompareListFolders(TspShellFolder* A, TspShellFolder* B);

// ---- the file list ----

class TspCustomShellListView : public TspSkinCustomListView, public IspShellVerbHandler {
  VANTREL_CLASS(TspCustomShellListView)
  explicit TspCustomShellListView(TComponent* AOwner);
  ~TspCustomShellListView() override;
  void BeforeDestruction() override;
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

  const TRoot& Root() const { return FRoot; }
  void SetRoot(const TRoot& Value);
  String Path() const;
  void SetPath(const String& Value);
  TspShellFolder* RootFolder() const { return FRootFolder; }
  const String& Mask() const { return FMask; }
  void SetMask(const String& Value);
  TShellObjectTypes ObjectTypes() const { return FObjectTypes; }
  virtual void SetObjectTypes(TShellObjectTypes Value);
  Boolean Sorted() const { return FSorted; }
  void SetSorted(Boolean Value);
  Boolean AutoContextMenus() const { return FAutoContext; }
  void SetAutoContextMenus(Boolean Value) { FAutoContext = Value; }
  Boolean AutoNavigate() const { return FAutoNavigate; }
  void SetAutoNavigate(Boolean Value) { FAutoNavigate = Value; }
  Boolean AutoRefresh() const { return FAutoRefresh; }
  void SetAutoRefresh(Boolean Value);
  TspCustomShellTreeView* ShellTreeView() const { return FTreeView; }
  void SetShellTreeView(TspCustomShellTreeView* Value);
  TspCustomShellComboBox* ShellComboBox() const { return FComboBox; }
  void SetShellComboBox(TspCustomShellComboBox* Value);
  TspShellChangeNotifier* Notifier() const { return FNotifier; }

  Integer FolderCount() const { return static_cast<Integer>(FFolders.size()); }
  // The row's folder; none for an index outside the rows.
  TspShellFolder* FolderAt(Integer Index) const;
  TspShellFolder* SelectedFolder();
  String GetSelectedFile();
  void GetSelectedFiles(TStrings* List);

  void Back();
  void Refresh();
  void ShowIDList(LPCITEMIDLIST ID);
  void FollowLinkedView(LPCITEMIDLIST ID);
  virtual void FillList();
  void SetViewStyle(TViewStyle Value) override;

  // Sort state: -1 before any column click; true = descending.
  Integer SortColumn() const { return FSortColumn; }
  Boolean SortDirection() const { return FSortDirection; }

  void ExecuteCommand(const String& Verb, Boolean& Handled) override;
  void CommandCompleted(const String& Verb, Boolean Succeeded) override;

  TAddFolderEvent OnAddFolder;
  TNotifyEvent OnPathChanged;

 protected:
  void CreateWnd() override;
  void DestroyWnd() override;
  void WndProc(TMessage& Message) override;
  Boolean OwnerDataFetch(TListItem* Item) override;
  Integer OwnerDataFind(TItemFind Find, const String& FindString, const TPoint& FindPosition, void* FindData,
                        Integer StartIndex, TSearchDirection Direction, Boolean Wrap) override;
  void ColClick(TListColumn* Column) override;
  void Edit(TListItem* Item, String& S) override;
  void DoContextPopup(const TPoint& MousePos, Boolean& Handled) override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void DblClick() override;

 private:
  friend class TspCustomShellTreeView;
  friend class TspCustomShellComboBox;
  void MakeRootFolder();
  void ApplyRoot();
  void SyncLinkedViews();
  void ClearFolders();
  void StartEditingSelected();
  void BuildReportColumns();
  Boolean AddDetailColumn(SHELLDETAILS& Detail, std::vector<String>& Used);
  void AddFileColumns(Integer Count);
  void SortRows();
  void SortByColumn(Integer Column);
  Boolean Loading() const { return ComponentState().Contains(csLoading); }

  Integer FOldSortColumn = -1;
  Integer FSortColumn = -1;
  Boolean FSortDirection = false;
  TRoot FOldRoot;
  TRoot FRoot = "rfDesktop";
  TspShellFolder* FRootFolder = nullptr;  // owned
  Boolean FAutoContext = true;
  Boolean FAutoRefresh = false;
  Boolean FAutoNavigate = true;
  Boolean FSorted = true;
  Boolean FUpdating = false;
  TShellObjectTypes FObjectTypes{otFolders, otNonFolders};
  HIMAGELIST FLargeImages = nullptr;
  HIMAGELIST FSmallImages = nullptr;
  std::vector<TOwned<TspShellFolder>> FFolders;
  TspCustomShellTreeView* FTreeView = nullptr;
  TspCustomShellComboBox* FComboBox = nullptr;
  TspShellChangeNotifier* FNotifier = nullptr;  // owned sub-component
  Boolean FSettingRoot = false;
  String FSavePath;
  String FMask = "*.*|*.*";
};

class TspSkinFileListView : public TspCustomShellListView {
  VANTREL_CLASS(TspSkinFileListView)
  using TspCustomShellListView::TspCustomShellListView;
};

// ---- the folder tree ----

class TspCustomShellTreeView : public TspSkinCustomTreeView, public IspShellVerbHandler {
  VANTREL_CLASS(TspCustomShellTreeView)
  explicit TspCustomShellTreeView(TComponent* AOwner);
  ~TspCustomShellTreeView() override;
  void BeforeDestruction() override;
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

  const TRoot& Root() const { return FRoot; }
  void SetRoot(const TRoot& Value);
  String Path();
  void SetPath(const String& Value);
  TShellObjectTypes ObjectTypes() const { return FObjectTypes; }
  virtual void SetObjectTypes(TShellObjectTypes Value);
  Boolean AutoContextMenus() const { return FAutoContext; }
  void SetAutoContextMenus(Boolean Value) { FAutoContext = Value; }
  Boolean AutoRefresh() const { return FAutoRefresh; }
  void SetAutoRefresh(Boolean Value);
  Boolean UseShellImages() const { return FUseShellImages; }
  void SetUseShellImages(Boolean Value);
  TspCustomShellListView* ShellListView() const { return FListView; }
  void SetShellListView(TspCustomShellListView* Value);
  TspCustomShellComboBox* ShellComboBox() const { return FComboBox; }
  void SetShellComboBox(TspCustomShellComboBox* Value);
  TspShellChangeNotifier* Notifier() const { return FNotifier; }

  TspShellFolder* RootFolder() const { return FRootFolder; }
  TspShellFolder* SelectedFolder();
  // The folder of the node at Index in tree order; none outside the nodes.
  TspShellFolder* FolderAt(Integer Index);
  void ShowIDList(LPCITEMIDLIST ID);
  void ExpandMyComputer();
  void Refresh(TTreeNode* Node);
  virtual void ClearNodes();

  void ExecuteCommand(const String& Verb, Boolean& Handled) override;
  void CommandCompleted(const String& Verb, Boolean Succeeded) override;

  TAddFolderEvent OnAddFolder;

 protected:
  void CreateWnd() override;
  void DestroyWnd() override;
  void WndProc(TMessage& Message) override;
  Boolean CanExpand(TTreeNode* Node) override;
  Boolean CanChange(TTreeNode* Node) override;
  void Delete(TTreeNode* Node) override;
  void Edit(const TVITEM& Item) override;
  void GetImageIndex(TTreeNode* Node) override;
  void GetSelectedIndex(TTreeNode* Node) override;
  void DoContextPopup(TPoint MousePos, Boolean& Handled) override;

 private:
  friend class TspCustomShellListView;
  friend class TspCustomShellComboBox;
  class SystemImages;
  void ApplyRoot();
  void BuildRootNode();
  void SetupNode(TTreeNode* Node, LPCITEMIDLIST ID, TTreeNode* ParentNode);
  void FillNode(TTreeNode* Node);
  TTreeNode* FindNodeByID(LPCITEMIDLIST ID, TTreeNode* Start);
  void RefreshSelected();
  void FollowNode(TTreeNode* Node);
  Boolean Loading() const { return ComponentState().Contains(csLoading); }
  static TspShellFolder* NodeFolder(TTreeNode* Node) {
    return Node ? static_cast<TspShellFolder*>(Node->Data()) : nullptr;
  }

  String FPath;
  TRoot FRoot = "rfDesktop";
  TRoot FOldRoot;
  TspShellFolder* FRootFolder = nullptr;  // owned
  TShellObjectTypes FObjectTypes{otFolders};
  Boolean FLoadingRoot = false;
  Boolean FAutoContext = true;
  Boolean FUpdating = false;
  TspCustomShellListView* FListView = nullptr;
  TspCustomShellComboBox* FComboBox = nullptr;
  Boolean FAutoRefresh = false;
  Boolean FImageListChanging = false;
  Boolean FUseShellImages = true;
  TspShellChangeNotifier* FNotifier = nullptr;  // owned sub-component
  String FSavePath;
  TTreeNode* FNodeToMonitor = nullptr;
  HIMAGELIST FImages = nullptr;
  std::unique_ptr<SystemImages> FSystemImages;
};

class TspSkinDirTreeView : public TspCustomShellTreeView {
  VANTREL_CLASS(TspSkinDirTreeView)
  using TspCustomShellTreeView::TspCustomShellTreeView;
};

// ---- the look-in box ----

// One entry of the look-in box: its folder is owned by the box.
struct TspItemEx {
  String Caption;
  TspShellFolder* Data = nullptr;
  Integer Indent = 0;
  Integer ImageIndex = -1;
  Integer SelectedImageIndex = -1;
};

class TspCustomShellComboBox : public TspSkinCustomComboBox {
  VANTREL_CLASS(TspCustomShellComboBox)
  explicit TspCustomShellComboBox(TComponent* AOwner);
  ~TspCustomShellComboBox() override;
  void BeforeDestruction() override;
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

  const TRoot& Root() const { return FRoot; }
  void SetRoot(const TRoot& Value);
  String Path();
  void SetPath(const String& Value);
  TShellObjectTypes ObjectTypes() const { return FObjectTypes; }
  virtual void SetObjectTypes(TShellObjectTypes Value);
  TspCustomShellTreeView* ShellTreeView() const { return FTreeView; }
  void SetShellTreeView(TspCustomShellTreeView* Value);
  TspCustomShellListView* ShellListView() const { return FListView; }
  void SetShellListView(TspCustomShellListView* Value);
  TspShellFolder* RootFolder() const { return FRootFolder; }

  const std::vector<TspItemEx>& ItemsEx() const { return FItemsEx; }
  // The folder of entry Index; past the last entry the last one's; none below 0.
  TspShellFolder* FolderAt(Integer Index) const;
  void FollowLinkedView(LPCITEMIDLIST ID);
  void ShowIDList(LPCITEMIDLIST ID);
  virtual void FillEntries();

  // A chosen entry (not while the drop-down shows) is shown in the linked views.
  void Change() override;

 protected:
  void CreateWnd() override;
  void DestroyWnd() override;

 private:
  friend class TspCustomShellListView;
  friend class TspCustomShellTreeView;
  void ApplyRoot();
  void RefillEntries();
  void ClearEntries();
  void RebuildStrings();
  void InsertChildren(Integer Index, TspShellFolder* Folder);
  Integer FindEntry(LPCITEMIDLIST ID) const;
  void InsertEntry(Integer Index, TspShellFolder* Folder);
  void ApplyShellImages(Boolean Value);
  Integer EntryImage(TspShellFolder* Folder) const;
  void DrawEditRow(TCanvas* Cnvs, Integer Index, const TRect& R);
  void DrawListRow(TCanvas* Cnvs, Integer Index, const TRect& R);
  void DrawEntry(TCanvas* Cnvs, Integer Index, const TRect& R, Integer Offset);
  Boolean Loading() const { return ComponentState().Contains(csLoading); }

  std::vector<TspItemEx> FItemsEx;
  HIMAGELIST FImages = nullptr;
  Integer FImageHeight = 16, FImageWidth = 16;
  TRoot FOldRoot;
  TRoot FRoot = "rfDesktop";
  TspShellFolder* FRootFolder = nullptr;  // owned
  TspCustomShellTreeView* FTreeView = nullptr;
  TspCustomShellListView* FListView = nullptr;
  TShellObjectTypes FObjectTypes{otFolders};
  Boolean FUseShellImages = true;
  Boolean FUpdating = false;
  Integer FEntryUpdate = 0;
};

class TspSkinShellComboBox : public TspCustomShellComboBox {
  VANTREL_CLASS(TspSkinShellComboBox)
  using TspCustomShellComboBox::TspCustomShellComboBox;
};
