// The class library's tree view on the native SysTreeView32 window: TTreeNode (one item
// with text, data, images and its place in the hierarchy), TTreeNodes (the collection
// that adds, inserts and deletes them) and TCustomTreeView/TTreeView with its events and
// the overridable hooks behind them. Nodes outlive a re-created window: DestroyWnd keeps
// them and CreateWnd puts them back with their expanded and selected states.
#pragma once

#include <functional>
#include <memory>
#include <unordered_map>
#include <vector>

#include "platform/ui/Controls.h"
#include "platform/ui/ImgList.h"
#include "platform/win/TreeView.h"

class TTreeNode;
class TTreeNodes;
class TCustomTreeView;

using TTVChangingEvent = std::function<void(TObject* Sender, TTreeNode* Node, Boolean& AllowChange)>;
using TTVChangedEvent = std::function<void(TObject* Sender, TTreeNode* Node)>;
using TTVExpandingEvent = std::function<void(TObject* Sender, TTreeNode* Node, Boolean& AllowExpansion)>;
using TTVCollapsingEvent = std::function<void(TObject* Sender, TTreeNode* Node, Boolean& AllowCollapse)>;
using TTVExpandedEvent = std::function<void(TObject* Sender, TTreeNode* Node)>;
using TTVEditingEvent = std::function<void(TObject* Sender, TTreeNode* Node, Boolean& AllowEdit)>;
using TTVEditedEvent = std::function<void(TObject* Sender, TTreeNode* Node, String& S)>;
// <0, 0, >0 as Node1 sorts before, with or after Node2.
using TTVCompare = std::function<Integer(TTreeNode* Node1, TTreeNode* Node2, intptr_t Data)>;

class TTreeNode {
 public:
  TTreeNode(const TTreeNode&) = delete;
  TTreeNode& operator=(const TTreeNode&) = delete;

  String Text() const { return FText; }
  void SetText(const String& Value);
  void* Data() const { return FData; }
  void SetData(void* Value) { FData = Value; }
  Integer ImageIndex() const { return FImageIndex; }
  void SetImageIndex(Integer Value);
  Integer SelectedIndex() const { return FSelectedIndex; }
  void SetSelectedIndex(Integer Value);
  // -1: no state image.
  Integer StateIndex() const { return FStateIndex; }
  void SetStateIndex(Integer Value);
  // Whether the node shows a button: it has children, or is marked to get them when
  // first expanded.
  Boolean HasChildren();
  void SetHasChildren(Boolean Value);
  Boolean Expanded();
  void SetExpanded(Boolean Value);
  // Both ask the tree's hooks (CanExpand/CanCollapse) themselves on every call.
  void Expand(Boolean Recursive);
  void Collapse(Boolean Recursive);

  Integer Level();
  TTreeNode* Parent();
  Integer Count();
  TTreeNode* Item(Integer Index);
  TTreeNode* getFirstChild();
  TTreeNode* GetLastChild();
  // Tree order: the first child, else the next sibling, else an ancestor's.
  TTreeNode* GetNext();
  TTreeNode* GetPrev();
  TTreeNode* GetNextSibling();
  TTreeNode* GetPrevSibling();
  TTreeNode* GetNextVisible();
  TTreeNode* GetPrevVisible();
  Integer Index();
  Integer AbsoluteIndex();
  Boolean Selected();
  void SetSelected(Boolean Value);
  Boolean Focused();
  // Deletes the node with its subtree; the node object is gone afterwards.
  void Delete();
  void DeleteChildren();
  // Starts in-place editing of the label; false when refused.
  Boolean EditText();
  void EndEdit(Boolean Cancel);
  TRect DisplayRect(Boolean TextOnly);
  void MakeVisible();
  Boolean AlphaSort();
  Boolean CustomSort(const TTVCompare& SortProc, intptr_t Data);
  // The node lies in an expanded branch.
  Boolean IsVisible();
  HTREEITEM ItemId() const { return FItemId; }
  TCustomTreeView* TreeView() const;
  TTreeNodes* Owner() const { return FOwner; }

 private:
  friend class TTreeNodes;
  friend class TCustomTreeView;
  explicit TTreeNode(TTreeNodes* AOwner) : FOwner(AOwner) {}
  HWND Wnd() const;
  TTreeNode* Related(UINT Code);
  void ExpandItem(Boolean Expand, Boolean Recursive);
  void SetItemField(UINT Mask, const TVITEM& Values);

  TTreeNodes* FOwner;
  HTREEITEM FItemId = nullptr;
  String FText;
  void* FData = nullptr;
  Integer FImageIndex = 0;
  Integer FSelectedIndex = 0;
  Integer FStateIndex = -1;
  Boolean FHasChildren = false;  // kept for a re-created window
};

class TTreeNodes {
 public:
  explicit TTreeNodes(TCustomTreeView* AOwner) : FOwner(AOwner) {}
  ~TTreeNodes();
  TTreeNodes(const TTreeNodes&) = delete;
  TTreeNodes& operator=(const TTreeNodes&) = delete;

  // After Sibling (nullptr: at the top level) as the last of its siblings.
  TTreeNode* Add(TTreeNode* Sibling, const String& S) { return AddObject(Sibling, S, nullptr); }
  TTreeNode* AddObject(TTreeNode* Sibling, const String& S, void* Ptr);
  TTreeNode* AddFirst(TTreeNode* Sibling, const String& S) { return AddObjectFirst(Sibling, S, nullptr); }
  TTreeNode* AddObjectFirst(TTreeNode* Sibling, const String& S, void* Ptr);
  TTreeNode* AddChild(TTreeNode* Parent, const String& S) { return AddChildObject(Parent, S, nullptr); }
  TTreeNode* AddChildObject(TTreeNode* Parent, const String& S, void* Ptr);
  TTreeNode* AddChildFirst(TTreeNode* Parent, const String& S) { return AddChildObjectFirst(Parent, S, nullptr); }
  TTreeNode* AddChildObjectFirst(TTreeNode* Parent, const String& S, void* Ptr);
  // Before Sibling (nullptr: last at the top level).
  TTreeNode* Insert(TTreeNode* Sibling, const String& S) { return InsertObject(Sibling, S, nullptr); }
  TTreeNode* InsertObject(TTreeNode* Sibling, const String& S, void* Ptr);
  void Delete(TTreeNode* Node);
  void Clear();
  // Batches changes: the window redraws once at the last EndUpdate.
  void BeginUpdate();
  void EndUpdate();
  TTreeNode* GetFirstNode();
  Integer Count();
  // In tree order; raises EListError for an index out of range.
  TTreeNode* Item(Integer Index);
  TCustomTreeView* Owner() const { return FOwner; }
  // Whether Node is one of this collection's live nodes.
  bool Contains(const TTreeNode* Node) const { return FNodes.count(const_cast<TTreeNode*>(Node)) != 0; }
  // The node of a native item (nullptr for none or an unknown one).
  TTreeNode* NodeFromItem(HTREEITEM Item);

 private:
  friend class TTreeNode;
  friend class TCustomTreeView;
  TTreeNode* InternalAdd(HTREEITEM Parent, HTREEITEM After, const String& S, void* Ptr);
  // Frees a node the window has let go of.
  void Release(TTreeNode* Node);

  TCustomTreeView* FOwner;
  std::unordered_map<TTreeNode*, std::unique_ptr<TTreeNode>> FNodes;
  int FUpdateCount = 0;
};

class TCustomTreeView : public TWinControl {
  VANTREL_CLASS(TCustomTreeView)
  explicit TCustomTreeView(TComponent* AOwner);
  ~TCustomTreeView() override;
  // Every node goes (with its deletion hook) while the hooks still reach descendants.
  void BeforeDestruction() override;
  // An image list being freed is dropped first.
  void Notification(TComponent* AComponent, TOperation Operation) override;

  TTreeNodes* Items() const { return FItems.get(); }
  TTreeNode* Selected();
  void SetSelected(TTreeNode* Value);
  TTreeNode* TopItem();
  void SetTopItem(TTreeNode* Value);
  TCustomImageList* Images() const { return FImages; }
  void SetImages(TCustomImageList* Value);
  TCustomImageList* StateImages() const { return FStateImages; }
  void SetStateImages(TCustomImageList* Value);
  Integer Indent();
  void SetIndent(Integer Value);
  Boolean ShowButtons() const { return FShowButtons; }
  void SetShowButtons(Boolean Value);
  Boolean ShowLines() const { return FShowLines; }
  void SetShowLines(Boolean Value);
  Boolean ShowRoot() const { return FShowRoot; }
  void SetShowRoot(Boolean Value);
  Boolean RightClickSelect() const { return FRightClickSelect; }
  void SetRightClickSelect(Boolean Value) { FRightClickSelect = Value; }
  Boolean HideSelection() const { return FHideSelection; }
  void SetHideSelection(Boolean Value);
  Boolean ReadOnly() const { return FReadOnly; }
  void SetReadOnly(Boolean Value);
  // Milliseconds between a selection change and OnChange (0: at once).
  Integer ChangeDelay() const { return FChangeDelay; }
  void SetChangeDelay(Integer Value) { FChangeDelay = Value < 0 ? 0 : Value; }
  Boolean IsEditing();
  TTreeNode* GetNodeAt(Integer X, Integer Y);
  void FullExpand();
  void FullCollapse();
  Boolean AlphaSort();
  Boolean CustomSort(const TTVCompare& SortProc, intptr_t Data);

  TTVChangedEvent OnChange;
  TTVChangingEvent OnChanging;
  TTVExpandingEvent OnExpanding;
  TTVExpandedEvent OnExpanded;
  TTVCollapsingEvent OnCollapsing;
  TTVExpandedEvent OnCollapsed;
  TTVEditingEvent OnEditing;
  TTVEditedEvent OnEdited;
  TTVExpandedEvent OnDeletion;
  TTVExpandedEvent OnGetImageIndex;
  TTVExpandedEvent OnGetSelectedIndex;
  TContextPopupEvent OnContextPopup;

 protected:
  virtual Boolean CanExpand(TTreeNode* Node);
  virtual void Expand(TTreeNode* Node);
  virtual Boolean CanCollapse(TTreeNode* Node);
  virtual void Collapse(TTreeNode* Node);
  virtual Boolean CanChange(TTreeNode* Node);
  virtual void Change(TTreeNode* Node);
  // The node is going: OnDeletion, once per node, before it is freed.
  virtual void Delete(TTreeNode* Node);
  virtual Boolean CanEdit(TTreeNode* Node);
  // The label editor ended with new text (Item.pszText; nullptr when cancelled).
  virtual void Edit(const TVITEM& Item);
  virtual void GetImageIndex(TTreeNode* Node);
  virtual void GetSelectedIndex(TTreeNode* Node);
  virtual void DoContextPopup(TPoint MousePos, Boolean& Handled);

  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  void Dispatch(TMessage& Message) override;
  void CMColorChanged(TWMNoParams& Message) override;
  void CMFontChanged(TWMNoParams& Message) override;
  virtual void CNNotify(TWMNotify& Message);

 private:
  friend class TTreeNode;
  friend class TTreeNodes;
  class ImageSource;
  struct SavedNode {
    TTreeNode* Node;
    int Level;
    bool Expanded;
  };
  void SetStyleBit(DWORD Bit, bool On);
  void ApplyImages();
  HTREEITEM InsertItem(TTreeNode* Node, HTREEITEM Parent, HTREEITEM After);
  void RestoreNodes();

  std::unique_ptr<TTreeNodes> FItems;
  std::unique_ptr<ImageSource> FImageSource;
  std::unique_ptr<ImageSource> FStateImageSource;
  TCustomImageList* FImages = nullptr;
  TCustomImageList* FStateImages = nullptr;
  Integer FIndent = 19;
  Boolean FShowButtons = true;
  Boolean FShowLines = true;
  Boolean FShowRoot = true;
  Boolean FRightClickSelect = false;
  Boolean FHideSelection = true;
  Boolean FReadOnly = false;
  Integer FChangeDelay = 0;
  // The node whose expansion or collapse was already allowed by its own call.
  TTreeNode* FAskedNode = nullptr;
  // Re-creating the window: nodes stay, and the window's work on them runs no hooks.
  Boolean FSaving = false;
  Boolean FRestoring = false;
  std::vector<SavedNode> FSaved;
  TTreeNode* FSavedSelected = nullptr;
  TTreeNode* FSavedTop = nullptr;
};

class TTreeView : public TCustomTreeView {
  VANTREL_CLASS(TTreeView)
  explicit TTreeView(TComponent* AOwner) : TCustomTreeView(AOwner) {}
};
