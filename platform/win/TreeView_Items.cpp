// The tree view's items: inserting, deleting, reading and changing them, expanding,
// selection, sorting and walking the hierarchy.
#include <algorithm>
#include <cstring>

#include "platform/rtl/Utf8.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Paint.h"
#include "platform/win/TreeView_State.h"
#include "platform/win/WindowManager.h"

namespace vantrel::win::tree {

namespace {

void TreeUnlink(TreeItemRec* Item) {
  TreeItemRec* P = Item->Parent;
  (Item->Prev ? Item->Prev->Next : P->First) = Item->Next;
  (Item->Next ? Item->Next->Prev : P->Last) = Item->Prev;
  Item->Prev = Item->Next = nullptr;
}

// Links Item into Parent's children after After (nullptr: first).
void TreeLinkAfter(TreeItemRec* Parent, TreeItemRec* Item, TreeItemRec* After) {
  Item->Parent = Parent;
  Item->Prev = After;
  Item->Next = After ? After->Next : Parent->First;
  (Item->Next ? Item->Next->Prev : Parent->Last) = Item;
  (After ? After->Next : Parent->First) = Item;
}

bool TreeIsAncestor(const TreeItemRec* Ancestor, const TreeItemRec* Item) {
  for (const TreeItemRec* P = Item ? Item->Parent : nullptr; P; P = P->Parent)
    if (P == Ancestor) return true;
  return false;
}

int TreeCompareText(const std::string& A, const std::string& B) {
  const std::u32string X = Utf8ToCodePoints(A), Y = Utf8ToCodePoints(B);
  const size_t N = std::min(X.size(), Y.size());
  for (size_t I = 0; I < N; ++I) {
    const char32_t CA = LowerCaseChar(X[I]), CB = LowerCaseChar(Y[I]);
    if (CA != CB) return CA < CB ? -1 : 1;
  }
  return X.size() == Y.size() ? 0 : (X.size() < Y.size() ? -1 : 1);
}

}  // namespace

TreeControl::TreeControl(HWND AWnd) : Wnd(AWnd) {}

TreeControl::~TreeControl() = default;

DWORD TreeControl::Style() const { return static_cast<DWORD>(GetWindowLongPtr(Wnd, GWL_STYLE)); }

TreeItemRec* TreeControl::Find(HTREEITEM H, bool AllowRoot) {
  if (!H || H == TVI_ROOT) return AllowRoot ? &Root : nullptr;
  auto* I = reinterpret_cast<TreeItemRec*>(H);
  return Items.count(I) ? I : nullptr;
}

LRESULT TreeControl::Notify(UINT Code) {
  NMHDR Hdr;
  Hdr.hwndFrom = Wnd;
  Hdr.idFrom = static_cast<UINT_PTR>(GetWindowLongPtr(Wnd, GWL_ID));
  Hdr.code = Code;
  HWND Parent = GetParent(Wnd);
  return Parent ? SendMessage(Parent, WM_NOTIFY, Hdr.idFrom, reinterpret_cast<LPARAM>(&Hdr)) : 0;
}

LRESULT TreeControl::NotifyTree(UINT Code, UINT Action, TreeItemRec* Old, TreeItemRec* New) {
  NMTREEVIEW N;
  N.hdr.hwndFrom = Wnd;
  N.hdr.idFrom = static_cast<UINT_PTR>(GetWindowLongPtr(Wnd, GWL_ID));
  N.hdr.code = Code;
  N.action = Action;
  auto Fill = [](TVITEM& T, TreeItemRec* I) {
    if (!I) return;
    T.mask = TVIF_HANDLE | TVIF_PARAM | TVIF_STATE;
    T.hItem = I->Handle();
    T.lParam = I->Param;
    T.state = I->State;
  };
  Fill(N.itemOld, Old);
  Fill(N.itemNew, New);
  HWND Parent = GetParent(Wnd);
  return Parent ? SendMessage(Parent, WM_NOTIFY, N.hdr.idFrom, reinterpret_cast<LPARAM>(&N)) : 0;
}

HTREEITEM TreeControl::Insert(const TVINSERTSTRUCT& In) {
  TreeItemRec* Parent = Find(In.hParent, true);
  if (!Parent || Parent->Deleting) return nullptr;
  auto Owned = std::make_unique<TreeItemRec>();
  TreeItemRec* Item = Owned.get();
  Items.emplace(Item, std::move(Owned));
  TVITEM Values = In.item;
  Values.mask &= ~TVIF_STATE;
  SetItem(Item, Values);
  if (In.item.mask & TVIF_STATE) Item->State = In.item.state & In.item.stateMask & ~TVIS_SELECTED;
  TreeItemRec* After = Parent->Last;
  if (In.hInsertAfter == TVI_FIRST) {
    After = nullptr;
  } else if (In.hInsertAfter == TVI_SORT) {
    After = nullptr;
    const std::string Text = TextOf(Item);
    for (TreeItemRec* C = Parent->First; C && TreeCompareText(TextOf(C), Text) <= 0; C = C->Next) After = C;
  } else if (In.hInsertAfter != TVI_LAST) {
    TreeItemRec* Sibling = Find(In.hInsertAfter);
    if (Sibling && Sibling->Parent == Parent) After = Sibling;
  }
  TreeLinkAfter(Parent, Item, After);
  Changed();
  return Item->Handle();
}

void TreeControl::Delete(TreeItemRec* Item) {
  if (!Item || !Alive(Item) || Item->Deleting) return;
  if (EditItem && (EditItem == Item || TreeIsAncestor(Item, EditItem) || Item == &Root)) EndEdit(true);
  Item->Deleting = true;
  // Children first; a handler may delete further items, so the walk re-reads the list.
  while (TreeItemRec* C = Item->First) {
    Delete(C);
    if (Item->First == C) {
      // A child whose own deletion is further up the stack: it leaves this branch now.
      TreeUnlink(C);
      C->Parent = nullptr;
    }
  }
  if (Item == &Root) {
    Item->Deleting = false;
    Caret = nullptr;
    TopRow = XOffset = 0;
    Changed();
    return;
  }
  const bool WasCaret = Caret == Item;
  TreeItemRec* Successor = Item->Next ? Item->Next : Item->Prev ? Item->Prev : Item->Parent;
  if (WasCaret) Caret = nullptr;
  NotifyTree(TVN_DELETEITEM, 0, Item, nullptr);
  if (Caret == Item) Caret = nullptr;
  TreeItemRec* Parent = Item->Parent;
  if (Parent && Alive(Item)) TreeUnlink(Item);
  Items.erase(Item);
  // A branch without children left is no longer open.
  if (Parent && Parent != &Root && Alive(Parent) && !Parent->First) Parent->State &= ~TVIS_EXPANDED;
  if (WasCaret && !Caret && Successor && Successor != &Root && Alive(Successor) && !Destroying)
    Select(Successor, TVC_UNKNOWN);
  Changed();
}

void TreeControl::SetItem(TreeItemRec* Item, const TVITEM& In) {
  if (In.mask & TVIF_TEXT) {
    Item->TextCallback = In.pszText == LPSTR_TEXTCALLBACK;
    Item->Text = Item->TextCallback || !In.pszText ? std::string() : std::string(In.pszText);
  }
  if (In.mask & TVIF_IMAGE) Item->Image = In.iImage;
  if (In.mask & TVIF_SELECTEDIMAGE) Item->SelectedImage = In.iSelectedImage;
  if (In.mask & TVIF_CHILDREN) Item->Children = In.cChildren;
  if (In.mask & TVIF_PARAM) Item->Param = In.lParam;
  if (In.mask & TVIF_STATE) {
    // The caret is moved by selecting, never by a state change.
    const UINT Mask = In.stateMask & ~TVIS_SELECTED;
    Item->State = (Item->State & ~Mask) | (In.state & Mask);
  }
  Changed();
}

bool TreeControl::GetItem(TreeItemRec* Item, TVITEM& Out) {
  if (Out.mask & TVIF_TEXT) {
    if (Out.pszText && Out.cchTextMax > 0) {
      const std::string T = TextOf(Item);
      size_t N = std::min(T.size(), static_cast<size_t>(Out.cchTextMax - 1));
      while (N > 0 && N < T.size() && (static_cast<unsigned char>(T[N]) & 0xC0) == 0x80) --N;
      std::memcpy(Out.pszText, T.data(), N);
      Out.pszText[N] = '\0';
    }
  }
  if (Out.mask & TVIF_IMAGE) Out.iImage = ImageOf(Item, false);
  if (Out.mask & TVIF_SELECTEDIMAGE) Out.iSelectedImage = ImageOf(Item, true);
  if (Out.mask & TVIF_CHILDREN) Out.cChildren = HasButton(Item) ? 1 : 0;
  if (Out.mask & TVIF_PARAM) Out.lParam = Item->Param;
  if (Out.mask & TVIF_STATE) Out.state = Item->State & (Out.stateMask ? Out.stateMask : 0xFFFFFFFFu);
  return true;
}

std::string TreeControl::TextOf(TreeItemRec* Item) {
  if (!Item->TextCallback) return Item->Text;
  char Buffer[1024] = {};
  NMTVDISPINFO D;
  D.hdr.hwndFrom = Wnd;
  D.hdr.idFrom = static_cast<UINT_PTR>(GetWindowLongPtr(Wnd, GWL_ID));
  D.hdr.code = TVN_GETDISPINFO;
  D.item.mask = TVIF_TEXT;
  D.item.hItem = Item->Handle();
  D.item.lParam = Item->Param;
  D.item.pszText = Buffer;
  D.item.cchTextMax = sizeof Buffer;
  if (HWND Parent = GetParent(Wnd)) SendMessage(Parent, WM_NOTIFY, D.hdr.idFrom, reinterpret_cast<LPARAM>(&D));
  if (!D.item.pszText || D.item.pszText == LPSTR_TEXTCALLBACK) return {};
  if (D.item.pszText == Buffer) return std::string(Buffer, strnlen(Buffer, sizeof Buffer));
  return std::string(D.item.pszText);
}

int TreeControl::ImageOf(TreeItemRec* Item, bool Selected) {
  const int Value = Selected ? Item->SelectedImage : Item->Image;
  if (Value != I_IMAGECALLBACK) return Value;
  NMTVDISPINFO D;
  D.hdr.hwndFrom = Wnd;
  D.hdr.idFrom = static_cast<UINT_PTR>(GetWindowLongPtr(Wnd, GWL_ID));
  D.hdr.code = TVN_GETDISPINFO;
  D.item.mask = Selected ? TVIF_SELECTEDIMAGE : TVIF_IMAGE;
  D.item.hItem = Item->Handle();
  D.item.lParam = Item->Param;
  D.item.state = Item->State;
  D.item.iImage = D.item.iSelectedImage = -1;
  if (HWND Parent = GetParent(Wnd)) SendMessage(Parent, WM_NOTIFY, D.hdr.idFrom, reinterpret_cast<LPARAM>(&D));
  return Selected ? D.item.iSelectedImage : D.item.iImage;
}

bool TreeControl::HasButton(TreeItemRec* Item) {
  if (Item->First) return true;
  if (Item->Children != I_CHILDRENCALLBACK) return Item->Children != 0;
  NMTVDISPINFO D;
  D.hdr.hwndFrom = Wnd;
  D.hdr.idFrom = static_cast<UINT_PTR>(GetWindowLongPtr(Wnd, GWL_ID));
  D.hdr.code = TVN_GETDISPINFO;
  D.item.mask = TVIF_CHILDREN;
  D.item.hItem = Item->Handle();
  D.item.lParam = Item->Param;
  if (HWND Parent = GetParent(Wnd)) SendMessage(Parent, WM_NOTIFY, D.hdr.idFrom, reinterpret_cast<LPARAM>(&D));
  return D.item.cChildren != 0;
}

bool TreeControl::Expand(TreeItemRec* Item, UINT Code) {
  if (!Item || Item == &Root) return false;
  UINT Action = Code & 0x3;
  if (Action == TVE_TOGGLE) Action = Expanded(Item) ? TVE_COLLAPSE : TVE_EXPAND;
  if (Action == TVE_EXPAND) {
    if (Expanded(Item)) return true;
    if (!HasButton(Item)) return false;
    if (NotifyTree(TVN_ITEMEXPANDING, TVE_EXPAND, nullptr, Item) != 0) return false;
    // The handler may have filled, emptied or deleted the item: read it again.
    if (!Alive(Item)) return false;
    if (!Item->First) {
      Changed();
      return false;
    }
    Item->State |= TVIS_EXPANDED | TVIS_EXPANDEDONCE;
    Changed();
    if (Alive(Item)) NotifyTree(TVN_ITEMEXPANDED, TVE_EXPAND, nullptr, Item);
    return true;
  }
  if (Action != TVE_COLLAPSE) return false;
  if (!Expanded(Item) && !(Code & TVE_COLLAPSERESET)) return false;
  if (Expanded(Item)) {
    if (NotifyTree(TVN_ITEMEXPANDING, TVE_COLLAPSE, nullptr, Item) != 0) return false;
    if (!Alive(Item)) return false;
  }
  Item->State &= ~TVIS_EXPANDED;
  if (EditItem && TreeIsAncestor(Item, EditItem)) EndEdit(true);
  if (Code & TVE_COLLAPSERESET) {
    Item->State &= ~TVIS_EXPANDEDONCE;
    while (Item->First && Alive(Item)) Delete(Item->First);
    if (!Alive(Item)) return false;
  }
  // A caret inside the collapsed branch moves up to it.
  if (Caret && TreeIsAncestor(Item, Caret)) Select(Item, TVC_UNKNOWN);
  Changed();
  if (Alive(Item)) NotifyTree(TVN_ITEMEXPANDED, TVE_COLLAPSE, nullptr, Item);
  return true;
}

bool TreeControl::Select(TreeItemRec* Item, UINT Action) {
  if (Item == &Root) Item = nullptr;
  if (Item == Caret) {
    if (Item) EnsureVisible(Item);
    return true;
  }
  TreeItemRec* Old = Caret;
  if (NotifyTree(TVN_SELCHANGING, Action, Old, Item) != 0) return false;
  if (Item && !Alive(Item)) return false;
  if (Old && !Alive(Old)) Old = nullptr;
  if (Caret && Alive(Caret)) Caret->State &= ~TVIS_SELECTED;
  Caret = Item;
  if (Item) {
    Item->State |= TVIS_SELECTED;
    // Its branch opens so it can be seen.
    for (TreeItemRec* P = Item->Parent; P && P != &Root; P = P->Parent) P->State |= TVIS_EXPANDED | TVIS_EXPANDEDONCE;
    Changed();
    EnsureVisible(Item);
  }
  Changed();
  NotifyTree(TVN_SELCHANGED, Action, Old, Caret);
  return true;
}

void TreeControl::Sort(TreeItemRec* Parent, PFNTVCOMPARE Compare, LPARAM Data) {
  if (!Parent || !Compare) return;
  std::vector<TreeItemRec*> Kids;
  for (TreeItemRec* C = Parent->First; C; C = C->Next) Kids.push_back(C);
  std::stable_sort(Kids.begin(), Kids.end(),
                   [&](TreeItemRec* A, TreeItemRec* B) { return Compare(A->Param, B->Param, Data) < 0; });
  Parent->First = Parent->Last = nullptr;
  for (TreeItemRec* C : Kids) TreeLinkAfter(Parent, C, Parent->Last);
  Changed();
}

void TreeControl::SortByText(TreeItemRec* Parent) {
  if (!Parent) return;
  std::vector<std::pair<std::string, TreeItemRec*>> Kids;
  for (TreeItemRec* C = Parent->First; C; C = C->Next) Kids.emplace_back(TextOf(C), C);
  std::stable_sort(Kids.begin(), Kids.end(),
                   [](const auto& A, const auto& B) { return TreeCompareText(A.first, B.first) < 0; });
  Parent->First = Parent->Last = nullptr;
  for (auto& K : Kids) TreeLinkAfter(Parent, K.second, Parent->Last);
  Changed();
}

HTREEITEM TreeControl::NextItem(TreeItemRec* Item, UINT Code) {
  auto H = [](TreeItemRec* I) { return I ? I->Handle() : nullptr; };
  switch (Code) {
    case TVGN_ROOT: return H(Root.First);
    case TVGN_CARET: return H(Caret);
    case TVGN_FIRSTVISIBLE: {
      const std::vector<TreeRow> R = Rows();
      return TopRow < static_cast<int>(R.size()) ? H(R[static_cast<size_t>(TopRow)].Item) : nullptr;
    }
    case TVGN_LASTVISIBLE: {
      const std::vector<TreeRow> R = Rows();
      return R.empty() ? nullptr : H(R.back().Item);
    }
    default:
      break;
  }
  if (!Item) return nullptr;
  switch (Code) {
    case TVGN_NEXT: return Item == &Root ? nullptr : H(Item->Next);
    case TVGN_PREVIOUS: return Item == &Root ? nullptr : H(Item->Prev);
    case TVGN_PARENT: return Item->Parent == &Root ? nullptr : H(Item->Parent);
    case TVGN_CHILD: return H(Item->First);
    case TVGN_NEXTVISIBLE:
    case TVGN_PREVIOUSVISIBLE: {
      const std::vector<TreeRow> R = Rows();
      const int Row = RowOf(Item);
      if (Row < 0) return nullptr;
      const int Want = Row + (Code == TVGN_NEXTVISIBLE ? 1 : -1);
      return Want >= 0 && Want < static_cast<int>(R.size()) ? H(R[static_cast<size_t>(Want)].Item) : nullptr;
    }
    default:
      return nullptr;
  }
}

std::shared_ptr<TreeControl> TreeOf(HWND Wnd) {
  WindowManager* M = WindowManager::Instance();
  Window* W = M ? M->Find(Wnd) : nullptr;
  // Only state made by MakeTreeControl carries its deleter: other classes' data is not ours.
  if (!W || !W->ClassData || !std::get_deleter<TreeControlDeleter>(W->ClassData)) return nullptr;
  return std::static_pointer_cast<TreeControl>(W->ClassData);
}

std::shared_ptr<TreeControl> MakeTreeControl(HWND Wnd) {
  return std::shared_ptr<TreeControl>(new TreeControl(Wnd), TreeControlDeleter{});
}

}  // namespace vantrel::win::tree
