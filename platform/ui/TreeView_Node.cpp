// TTreeNode and TTreeNodes: a node's values go to its native item at once and are kept on
// the node too, so a re-created window gets them back; the hierarchy is read from the
// window.
#include <cstring>

#include "platform/rtl/Format.h"
#include "platform/ui/TreeView.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Paint.h"

namespace {

LPARAM TreeNodeArg(HTREEITEM Item) { return reinterpret_cast<LPARAM>(Item); }

// TVSORTCB's plain callback calls the caller's comparison through the sort's own record.
struct TreeNodeSortCall {
  TTreeNodes* Nodes;
  const TTVCompare* Compare;
  intptr_t Data;
};

int TreeNodeSortTrampoline(LPARAM A, LPARAM B, LPARAM Call) {
  const auto* C = reinterpret_cast<const TreeNodeSortCall*>(Call);
  auto* N1 = reinterpret_cast<TTreeNode*>(A);
  auto* N2 = reinterpret_cast<TTreeNode*>(B);
  return static_cast<int>((*C->Compare)(N1, N2, C->Data));
}

}  // namespace

// --- TTreeNode ------------------------------------------------------------------------------

TCustomTreeView* TTreeNode::TreeView() const { return FOwner->Owner(); }

HWND TTreeNode::Wnd() const { return TreeView()->Handle(); }

void TTreeNode::SetItemField(UINT Mask, const TVITEM& Values) {
  if (!FItemId || !TreeView()->HandleAllocated()) return;
  TVITEM Item = Values;
  Item.mask = Mask | TVIF_HANDLE;
  Item.hItem = FItemId;
  SendMessage(Wnd(), TVM_SETITEM, 0, reinterpret_cast<LPARAM>(&Item));
}

void TTreeNode::SetText(const String& Value) {
  FText = Value;
  TVITEM Item;
  Item.pszText = FText.data();
  SetItemField(TVIF_TEXT, Item);
}

void TTreeNode::SetImageIndex(Integer Value) {
  // Unchanged values repaint nothing: an image-index handler runs while painting.
  if (FImageIndex == Value) return;
  FImageIndex = Value;
  if (TreeView()->HandleAllocated()) InvalidateRect(Wnd(), nullptr, TRUE);
}

void TTreeNode::SetSelectedIndex(Integer Value) {
  if (FSelectedIndex == Value) return;
  FSelectedIndex = Value;
  if (TreeView()->HandleAllocated()) InvalidateRect(Wnd(), nullptr, TRUE);
}

void TTreeNode::SetStateIndex(Integer Value) {
  FStateIndex = Value < 0 ? -1 : Value;
  TVITEM Item;
  Item.stateMask = TVIS_STATEIMAGEMASK;
  Item.state = FStateIndex > 0 ? static_cast<UINT>(FStateIndex) << 12 : 0;
  SetItemField(TVIF_STATE, Item);
}

Boolean TTreeNode::HasChildren() {
  if (!FItemId) return FHasChildren;
  TVITEM Item;
  Item.mask = TVIF_HANDLE | TVIF_CHILDREN;
  Item.hItem = FItemId;
  SendMessage(Wnd(), TVM_GETITEM, 0, reinterpret_cast<LPARAM>(&Item));
  FHasChildren = Item.cChildren != 0;
  return FHasChildren;
}

void TTreeNode::SetHasChildren(Boolean Value) {
  FHasChildren = Value;
  TVITEM Item;
  Item.cChildren = Value ? 1 : 0;
  SetItemField(TVIF_CHILDREN, Item);
}

Boolean TTreeNode::Expanded() {
  if (!FItemId) return false;
  TVITEM Item;
  Item.mask = TVIF_HANDLE | TVIF_STATE;
  Item.hItem = FItemId;
  Item.stateMask = TVIS_EXPANDED;
  SendMessage(Wnd(), TVM_GETITEM, 0, reinterpret_cast<LPARAM>(&Item));
  return (Item.state & TVIS_EXPANDED) != 0;
}

void TTreeNode::SetExpanded(Boolean Value) {
  if (Value)
    Expand(false);
  else
    Collapse(false);
}

void TTreeNode::Expand(Boolean Recursive) { ExpandItem(true, Recursive); }

void TTreeNode::Collapse(Boolean Recursive) { ExpandItem(false, Recursive); }

void TTreeNode::ExpandItem(Boolean DoExpand, Boolean Recursive) {
  TTreeNodes* Nodes = FOwner;
  TCustomTreeView* Tree = TreeView();
  TTreeNode* Self = this;
  // A leaf has nothing to open; a branch's hook is asked here, every time, and the
  // window's own question is then answered yes.
  if (!DoExpand || HasChildren()) {
    const Boolean Allowed = DoExpand ? Tree->CanExpand(Self) : Tree->CanCollapse(Self);
    if (!Nodes->Contains(Self)) return;  // the hook deleted it
    if (!Allowed || !Self->FItemId) return;
    TTreeNode* Before = Tree->FAskedNode;
    Tree->FAskedNode = Self;
    SendMessage(Tree->Handle(), TVM_EXPAND, DoExpand ? TVE_EXPAND : TVE_COLLAPSE, TreeNodeArg(Self->FItemId));
    Tree->FAskedNode = Before;
    if (!Nodes->Contains(Self)) return;
  }
  if (!Recursive) return;
  std::vector<TTreeNode*> Kids;
  for (TTreeNode* C = Self->getFirstChild(); C; C = C->GetNextSibling()) Kids.push_back(C);
  for (TTreeNode* C : Kids)
    if (Nodes->Contains(C)) C->ExpandItem(DoExpand, true);
}

TTreeNode* TTreeNode::Related(UINT Code) {
  if (!FItemId) return nullptr;
  return FOwner->NodeFromItem(
      reinterpret_cast<HTREEITEM>(SendMessage(Wnd(), TVM_GETNEXTITEM, Code, TreeNodeArg(FItemId))));
}

Integer TTreeNode::Level() {
  Integer L = 0;
  for (TTreeNode* P = Parent(); P; P = P->Parent()) ++L;
  return L;
}

TTreeNode* TTreeNode::Parent() { return Related(TVGN_PARENT); }
TTreeNode* TTreeNode::getFirstChild() { return Related(TVGN_CHILD); }
TTreeNode* TTreeNode::GetNextSibling() { return Related(TVGN_NEXT); }
TTreeNode* TTreeNode::GetPrevSibling() { return Related(TVGN_PREVIOUS); }
TTreeNode* TTreeNode::GetNextVisible() { return IsVisible() ? Related(TVGN_NEXTVISIBLE) : nullptr; }
TTreeNode* TTreeNode::GetPrevVisible() { return Related(TVGN_PREVIOUSVISIBLE); }

TTreeNode* TTreeNode::GetLastChild() {
  TTreeNode* C = getFirstChild();
  while (C)
    if (TTreeNode* N = C->GetNextSibling())
      C = N;
    else
      break;
  return C;
}

Integer TTreeNode::Count() {
  Integer N = 0;
  for (TTreeNode* C = getFirstChild(); C; C = C->GetNextSibling()) ++N;
  return N;
}

TTreeNode* TTreeNode::Item(Integer Index) {
  TTreeNode* C = getFirstChild();
  for (Integer I = 0; C && I < Index; ++I) C = C->GetNextSibling();
  if (!C || Index < 0) throw EListError(Format(SListIndexError, {Index}));
  return C;
}

TTreeNode* TTreeNode::GetNext() {
  if (TTreeNode* C = getFirstChild()) return C;
  for (TTreeNode* N = this; N; N = N->Parent())
    if (TTreeNode* S = N->GetNextSibling()) return S;
  return nullptr;
}

TTreeNode* TTreeNode::GetPrev() {
  TTreeNode* P = GetPrevSibling();
  if (!P) return Parent();
  while (TTreeNode* L = P->GetLastChild()) P = L;
  return P;
}

Integer TTreeNode::Index() {
  Integer I = 0;
  for (TTreeNode* P = GetPrevSibling(); P; P = P->GetPrevSibling()) ++I;
  return I;
}

Integer TTreeNode::AbsoluteIndex() {
  Integer I = 0;
  for (TTreeNode* P = GetPrev(); P; P = P->GetPrev()) ++I;
  return I;
}

Boolean TTreeNode::Selected() { return TreeView()->Selected() == this; }

void TTreeNode::SetSelected(Boolean Value) {
  if (Value)
    TreeView()->SetSelected(this);
  else if (Selected())
    TreeView()->SetSelected(nullptr);
}

Boolean TTreeNode::Focused() { return Selected(); }

void TTreeNode::Delete() {
  if (FItemId && TreeView()->HandleAllocated()) {
    SendMessage(Wnd(), TVM_DELETEITEM, 0, TreeNodeArg(FItemId));
    return;
  }
  // A node without an item (no window): the hook and the freeing happen here.
  TTreeNodes* Nodes = FOwner;
  Nodes->Owner()->Delete(this);
  Nodes->Release(this);
}

void TTreeNode::DeleteChildren() {
  TTreeNodes* Nodes = FOwner;
  TTreeNode* Self = this;
  while (Nodes->Contains(Self)) {
    TTreeNode* C = Self->getFirstChild();
    if (!C) break;
    C->Delete();
  }
  if (Nodes->Contains(Self)) Self->SetHasChildren(false);
}

Boolean TTreeNode::EditText() {
  return FItemId && SendMessage(Wnd(), TVM_EDITLABEL, 0, TreeNodeArg(FItemId)) != 0;
}

void TTreeNode::EndEdit(Boolean Cancel) {
  if (TreeView()->HandleAllocated()) SendMessage(Wnd(), TVM_ENDEDITLABELNOW, Cancel ? 1 : 0, 0);
}

TRect TTreeNode::DisplayRect(Boolean TextOnly) {
  RECT R{};
  if (!FItemId) return R;
  std::memcpy(static_cast<void*>(&R), &FItemId, sizeof FItemId);  // the item goes in where the rectangle comes back
  if (!SendMessage(Wnd(), TVM_GETITEMRECT, TextOnly ? 1 : 0, reinterpret_cast<LPARAM>(&R))) return RECT{};
  return R;
}

void TTreeNode::MakeVisible() {
  if (FItemId) SendMessage(Wnd(), TVM_ENSUREVISIBLE, 0, TreeNodeArg(FItemId));
}

Boolean TTreeNode::AlphaSort() {
  return FItemId && SendMessage(Wnd(), TVM_SORTCHILDREN, 0, TreeNodeArg(FItemId)) != 0;
}

Boolean TTreeNode::CustomSort(const TTVCompare& SortProc, intptr_t Data) {
  if (!SortProc) return AlphaSort();
  if (!FItemId) return false;
  TreeNodeSortCall Call{FOwner, &SortProc, Data};
  TVSORTCB Sort;
  Sort.hParent = FItemId;
  Sort.lpfnCompare = &TreeNodeSortTrampoline;
  Sort.lParam = reinterpret_cast<LPARAM>(&Call);
  return SendMessage(Wnd(), TVM_SORTCHILDRENCB, 0, reinterpret_cast<LPARAM>(&Sort)) != 0;
}

Boolean TTreeNode::IsVisible() {
  RECT R{};
  if (!FItemId) return false;
  std::memcpy(static_cast<void*>(&R), &FItemId, sizeof FItemId);  // the item goes in where the rectangle comes back
  return SendMessage(Wnd(), TVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&R)) != 0;
}

// --- TTreeNodes -----------------------------------------------------------------------------

TTreeNodes::~TTreeNodes() = default;

TTreeNode* TTreeNodes::NodeFromItem(HTREEITEM Item) {
  if (!Item || !FOwner->HandleAllocated()) return nullptr;
  TVITEM V;
  V.mask = TVIF_HANDLE | TVIF_PARAM;
  V.hItem = Item;
  if (!SendMessage(FOwner->Handle(), TVM_GETITEM, 0, reinterpret_cast<LPARAM>(&V))) return nullptr;
  auto* Node = reinterpret_cast<TTreeNode*>(V.lParam);
  return Contains(Node) ? Node : nullptr;
}

TTreeNode* TTreeNodes::InternalAdd(HTREEITEM Parent, HTREEITEM After, const String& S, void* Ptr) {
  auto Owned = std::unique_ptr<TTreeNode>(new TTreeNode(this));
  TTreeNode* Node = Owned.get();
  Node->FText = S;
  Node->FData = Ptr;
  FNodes.emplace(Node, std::move(Owned));
  Node->FItemId = FOwner->InsertItem(Node, Parent, After);
  if (!Node->FItemId) {
    FNodes.erase(Node);
    throw EOutOfResources("Failed to create tree node");
  }
  return Node;
}

TTreeNode* TTreeNodes::AddObject(TTreeNode* Sibling, const String& S, void* Ptr) {
  TTreeNode* Parent = Sibling ? Sibling->Parent() : nullptr;
  return InternalAdd(Parent ? Parent->FItemId : TVI_ROOT, TVI_LAST, S, Ptr);
}

TTreeNode* TTreeNodes::AddObjectFirst(TTreeNode* Sibling, const String& S, void* Ptr) {
  TTreeNode* Parent = Sibling ? Sibling->Parent() : nullptr;
  return InternalAdd(Parent ? Parent->FItemId : TVI_ROOT, TVI_FIRST, S, Ptr);
}

TTreeNode* TTreeNodes::AddChildObject(TTreeNode* Parent, const String& S, void* Ptr) {
  return InternalAdd(Parent ? Parent->FItemId : TVI_ROOT, TVI_LAST, S, Ptr);
}

TTreeNode* TTreeNodes::AddChildObjectFirst(TTreeNode* Parent, const String& S, void* Ptr) {
  return InternalAdd(Parent ? Parent->FItemId : TVI_ROOT, TVI_FIRST, S, Ptr);
}

TTreeNode* TTreeNodes::InsertObject(TTreeNode* Sibling, const String& S, void* Ptr) {
  if (!Sibling) return AddObject(nullptr, S, Ptr);
  TTreeNode* Parent = Sibling->Parent();
  TTreeNode* Prev = Sibling->GetPrevSibling();
  return InternalAdd(Parent ? Parent->FItemId : TVI_ROOT, Prev ? Prev->FItemId : TVI_FIRST, S, Ptr);
}

void TTreeNodes::Delete(TTreeNode* Node) {
  if (Node && Contains(Node)) Node->Delete();
}

void TTreeNodes::Clear() {
  BeginUpdate();
  try {
    if (FOwner->HandleAllocated()) SendMessage(FOwner->Handle(), TVM_DELETEITEM, 0, TreeNodeArg(TVI_ROOT));
    // Nodes kept while the window is away go here, children before their parent.
    std::vector<TCustomTreeView::SavedNode> Saved;
    Saved.swap(FOwner->FSaved);
    for (auto It = Saved.rbegin(); It != Saved.rend(); ++It)
      if (Contains(It->Node)) It->Node->Delete();
    while (!FNodes.empty()) FNodes.begin()->first->Delete();
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TTreeNodes::BeginUpdate() {
  if (FUpdateCount++ == 0 && FOwner->HandleAllocated()) SendMessage(FOwner->Handle(), WM_SETREDRAW, 0, 0);
}

void TTreeNodes::EndUpdate() {
  if (FUpdateCount == 0) return;
  if (--FUpdateCount == 0 && FOwner->HandleAllocated()) SendMessage(FOwner->Handle(), WM_SETREDRAW, 1, 0);
}

TTreeNode* TTreeNodes::GetFirstNode() {
  if (!FOwner->HandleAllocated() && FNodes.empty()) return nullptr;
  return NodeFromItem(reinterpret_cast<HTREEITEM>(SendMessage(FOwner->Handle(), TVM_GETNEXTITEM, TVGN_ROOT, 0)));
}

Integer TTreeNodes::Count() { return static_cast<Integer>(FNodes.size()); }

TTreeNode* TTreeNodes::Item(Integer Index) {
  TTreeNode* N = Index >= 0 ? GetFirstNode() : nullptr;
  for (Integer I = 0; N && I < Index; ++I) N = N->GetNext();
  if (!N) throw EListError(Format(SListIndexError, {Index}));
  return N;
}

void TTreeNodes::Release(TTreeNode* Node) { FNodes.erase(Node); }
