// TCustomTreeView: the window's creation and re-creation (nodes kept), its properties,
// and the notifications it turns into hooks and events.
#include "platform/ui/TreeView.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Paint.h"
#include "platform/win/Timers.h"
#include "platform/win/WindowManager.h"

namespace {

constexpr UINT_PTR kTreeChangeTimer = 0x7E01;

LPARAM TreeViewArg(HTREEITEM Item) { return reinterpret_cast<LPARAM>(Item); }

}  // namespace

// Hands the tree an image list of the class library (drawn with its background colour).
class TCustomTreeView::ImageSource : public vantrel::win::TreeImageSource {
 public:
  explicit ImageSource(TCustomImageList* AList) : FList(AList) {}
  SIZE ImageSize() const override { return SIZE{FList->Width(), FList->Height()}; }
  int ImageCount() const override { return FList->Count(); }
  void Draw(int Index, HDC Dc, int X, int Y) const override {
    // The canvas selects its own objects: the tree's DC gets its state back afterwards.
    const int Saved = SaveDC(Dc);
    {
      TCanvas Canvas;
      Canvas.SetHandle(Dc);
      FList->Draw(&Canvas, X, Y, Index);
      Canvas.SetHandle(nullptr);
    }
    RestoreDC(Dc, Saved);
  }

 private:
  TCustomImageList* FList;
};

TCustomTreeView::TCustomTreeView(TComponent* AOwner) : TWinControl(AOwner) {
  FItems = std::make_unique<TTreeNodes>(this);
  ControlStyle = {csCaptureMouse, csDoubleClicks};
  SetBounds(0, 0, 121, 97);
  SetTabStop(true);
  SetParentColor(false);
  SetColor(clWindow);
}

TCustomTreeView::~TCustomTreeView() = default;

void TCustomTreeView::BeforeDestruction() {
  if (!ComponentState().Contains(csDestroying)) Destroying();
  FItems->Clear();
  if (HandleAllocated()) KillTimer(FHandle, kTreeChangeTimer);
  TWinControl::BeforeDestruction();
}

void TCustomTreeView::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  CreateSubClass(Params, "SysTreeView32");
  Params.Style |= WS_BORDER | TVS_DISABLEDRAGDROP;
  if (FShowButtons) Params.Style |= TVS_HASBUTTONS;
  if (FShowLines) Params.Style |= TVS_HASLINES;
  if (FShowRoot) Params.Style |= TVS_LINESATROOT;
  if (!FReadOnly) Params.Style |= TVS_EDITLABELS;
  if (!FHideSelection) Params.Style |= TVS_SHOWSELALWAYS;
}

void TCustomTreeView::CreateWnd() {
  TWinControl::CreateWnd();
  SendMessage(FHandle, TVM_SETINDENT, static_cast<WPARAM>(FIndent), 0);
  SendMessage(FHandle, TVM_SETBKCOLOR, 0, static_cast<LPARAM>(ColorToRGB(Color())));
  SendMessage(FHandle, TVM_SETTEXTCOLOR, 0, static_cast<LPARAM>(ColorToRGB(Font()->Color())));
  ApplyImages();
  RestoreNodes();
}

void TCustomTreeView::DestroyWnd() {
  if (!ComponentState().Contains(csDestroying) && FHandle) {
    // Remember the nodes in tree order with their depth; the window lets go of them
    // without running any hook.
    FSaved.clear();
    FSavedSelected = Selected();
    FSavedTop = TopItem();
    for (TTreeNode* N = FItems->GetFirstNode(); N; N = N->GetNext()) {
      N->HasChildren();
      FSaved.push_back({N, N->Level(), N->Expanded()});
    }
    KillTimer(FHandle, kTreeChangeTimer);
    FSaving = true;
    try {
      TWinControl::DestroyWnd();
    } catch (...) {
      FSaving = false;
      throw;
    }
    FSaving = false;
    for (const SavedNode& S : FSaved) S.Node->FItemId = nullptr;
    return;
  }
  TWinControl::DestroyWnd();
}

HTREEITEM TCustomTreeView::InsertItem(TTreeNode* Node, HTREEITEM Parent, HTREEITEM After) {
  TVINSERTSTRUCT In;
  In.hParent = Parent;
  In.hInsertAfter = After;
  In.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM | TVIF_CHILDREN | TVIF_STATE;
  In.item.pszText = Node->FText.data();
  In.item.iImage = I_IMAGECALLBACK;
  In.item.iSelectedImage = I_IMAGECALLBACK;
  In.item.cChildren = Node->FHasChildren ? 1 : 0;
  In.item.lParam = reinterpret_cast<LPARAM>(Node);
  In.item.stateMask = TVIS_STATEIMAGEMASK;
  In.item.state = Node->FStateIndex > 0 ? static_cast<UINT>(Node->FStateIndex) << 12 : 0;
  return reinterpret_cast<HTREEITEM>(SendMessage(Handle(), TVM_INSERTITEM, 0, reinterpret_cast<LPARAM>(&In)));
}

void TCustomTreeView::RestoreNodes() {
  if (FSaved.empty()) return;
  std::vector<SavedNode> Saved;
  Saved.swap(FSaved);
  FRestoring = true;
  FItems->BeginUpdate();
  try {
    std::vector<HTREEITEM> Parents;  // by level
    for (const SavedNode& S : Saved) {
      if (!FItems->Contains(S.Node)) continue;
      Parents.resize(static_cast<size_t>(S.Level));
      const HTREEITEM Parent = S.Level == 0 ? TVI_ROOT : Parents.back();
      S.Node->FItemId = InsertItem(S.Node, Parent, TVI_LAST);
      Parents.push_back(S.Node->FItemId);
    }
    for (const SavedNode& S : Saved)
      if (S.Expanded && S.Node->FItemId)
        SendMessage(FHandle, TVM_EXPAND, TVE_EXPAND, TreeViewArg(S.Node->FItemId));
    if (FSavedSelected && FItems->Contains(FSavedSelected))
      SendMessage(FHandle, TVM_SELECTITEM, TVGN_CARET, TreeViewArg(FSavedSelected->FItemId));
    if (FSavedTop && FItems->Contains(FSavedTop))
      SendMessage(FHandle, TVM_SELECTITEM, TVGN_FIRSTVISIBLE, TreeViewArg(FSavedTop->FItemId));
  } catch (...) {
    FItems->EndUpdate();
    FRestoring = false;
    throw;
  }
  FItems->EndUpdate();
  FRestoring = false;
  FSavedSelected = FSavedTop = nullptr;
}

void TCustomTreeView::ApplyImages() {
  if (!HandleAllocated()) return;
  // The old sources live until the window has the new ones.
  std::unique_ptr<ImageSource> OldImages = std::move(FImageSource);
  std::unique_ptr<ImageSource> OldStateImages = std::move(FStateImageSource);
  FImageSource = FImages ? std::make_unique<ImageSource>(FImages) : nullptr;
  FStateImageSource = FStateImages ? std::make_unique<ImageSource>(FStateImages) : nullptr;
  // Through the window's own procedure, so a subclass of it hears of the change.
  SendMessage(FHandle, TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(FImageSource.get()));
  SendMessage(FHandle, TVM_SETIMAGELIST, TVSIL_STATE, reinterpret_cast<LPARAM>(FStateImageSource.get()));
}

void TCustomTreeView::SetImages(TCustomImageList* Value) {
  if (FImages == Value) return;
  if (FImages) FImages->RemoveFreeNotification(this);
  FImages = Value;
  if (Value) Value->FreeNotification(this);
  ApplyImages();
}

void TCustomTreeView::SetStateImages(TCustomImageList* Value) {
  if (FStateImages == Value) return;
  if (FStateImages) FStateImages->RemoveFreeNotification(this);
  FStateImages = Value;
  if (Value) Value->FreeNotification(this);
  ApplyImages();
}

void TCustomTreeView::Notification(TComponent* AComponent, TOperation Operation) {
  TWinControl::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  // A list going away leaves the tree without it, never with a dangling one.
  if (AComponent == FImages) SetImages(nullptr);
  if (AComponent == FStateImages) SetStateImages(nullptr);
}

TTreeNode* TCustomTreeView::Selected() {
  if (!HandleAllocated()) return nullptr;
  return FItems->NodeFromItem(reinterpret_cast<HTREEITEM>(SendMessage(FHandle, TVM_GETNEXTITEM, TVGN_CARET, 0)));
}

void TCustomTreeView::SetSelected(TTreeNode* Value) {
  SendMessage(Handle(), TVM_SELECTITEM, TVGN_CARET, TreeViewArg(Value && FItems->Contains(Value) ? Value->FItemId : nullptr));
}

TTreeNode* TCustomTreeView::TopItem() {
  if (!HandleAllocated()) return nullptr;
  return FItems->NodeFromItem(
      reinterpret_cast<HTREEITEM>(SendMessage(FHandle, TVM_GETNEXTITEM, TVGN_FIRSTVISIBLE, 0)));
}

void TCustomTreeView::SetTopItem(TTreeNode* Value) {
  if (Value && FItems->Contains(Value) && Value->FItemId)
    SendMessage(Handle(), TVM_SELECTITEM, TVGN_FIRSTVISIBLE, TreeViewArg(Value->FItemId));
}

Integer TCustomTreeView::Indent() {
  if (HandleAllocated()) FIndent = static_cast<Integer>(SendMessage(FHandle, TVM_GETINDENT, 0, 0));
  return FIndent;
}

void TCustomTreeView::SetIndent(Integer Value) {
  FIndent = Value;
  if (HandleAllocated()) SendMessage(FHandle, TVM_SETINDENT, static_cast<WPARAM>(Value), 0);
}

void TCustomTreeView::SetStyleBit(DWORD Bit, bool On) {
  if (!HandleAllocated()) return;
  const LONG_PTR Old = GetWindowLongPtr(FHandle, GWL_STYLE);
  SetWindowLongPtr(FHandle, GWL_STYLE, On ? (Old | static_cast<LONG_PTR>(Bit)) : (Old & ~static_cast<LONG_PTR>(Bit)));
  InvalidateRect(FHandle, nullptr, TRUE);
}

void TCustomTreeView::SetShowButtons(Boolean Value) {
  FShowButtons = Value;
  SetStyleBit(TVS_HASBUTTONS, Value);
}

void TCustomTreeView::SetShowLines(Boolean Value) {
  FShowLines = Value;
  SetStyleBit(TVS_HASLINES, Value);
}

void TCustomTreeView::SetShowRoot(Boolean Value) {
  FShowRoot = Value;
  SetStyleBit(TVS_LINESATROOT, Value);
}

void TCustomTreeView::SetHideSelection(Boolean Value) {
  FHideSelection = Value;
  SetStyleBit(TVS_SHOWSELALWAYS, !Value);
}

void TCustomTreeView::SetReadOnly(Boolean Value) {
  FReadOnly = Value;
  SetStyleBit(TVS_EDITLABELS, !Value);
}

Boolean TCustomTreeView::IsEditing() {
  return HandleAllocated() && SendMessage(FHandle, TVM_GETEDITCONTROL, 0, 0) != 0;
}

TTreeNode* TCustomTreeView::GetNodeAt(Integer X, Integer Y) {
  TVHITTESTINFO Hit;
  Hit.pt = POINT{X, Y};
  SendMessage(Handle(), TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&Hit));
  return (Hit.flags & (TVHT_ONITEM | TVHT_ONITEMBUTTON | TVHT_ONITEMINDENT | TVHT_ONITEMRIGHT))
             ? FItems->NodeFromItem(Hit.hItem)
             : nullptr;
}

void TCustomTreeView::FullExpand() {
  std::vector<TTreeNode*> Tops;
  for (TTreeNode* N = FItems->GetFirstNode(); N; N = N->GetNextSibling()) Tops.push_back(N);
  for (TTreeNode* N : Tops)
    if (FItems->Contains(N)) N->Expand(true);
}

void TCustomTreeView::FullCollapse() {
  std::vector<TTreeNode*> Tops;
  for (TTreeNode* N = FItems->GetFirstNode(); N; N = N->GetNextSibling()) Tops.push_back(N);
  for (TTreeNode* N : Tops)
    if (FItems->Contains(N)) N->Collapse(true);
}

Boolean TCustomTreeView::AlphaSort() { return SendMessage(Handle(), TVM_SORTCHILDREN, 0, TreeViewArg(TVI_ROOT)) != 0; }

Boolean TCustomTreeView::CustomSort(const TTVCompare& SortProc, intptr_t Data) {
  if (!SortProc) return AlphaSort();
  struct Call {
    const TTVCompare* Compare;
    intptr_t Data;
  } C{&SortProc, Data};
  TVSORTCB Sort;
  Sort.hParent = TVI_ROOT;
  Sort.lpfnCompare = [](LPARAM A, LPARAM B, LPARAM P) -> int {
    const auto* K = reinterpret_cast<const Call*>(P);
    return static_cast<int>((*K->Compare)(reinterpret_cast<TTreeNode*>(A), reinterpret_cast<TTreeNode*>(B), K->Data));
  };
  Sort.lParam = reinterpret_cast<LPARAM>(&C);
  return SendMessage(Handle(), TVM_SORTCHILDRENCB, 0, reinterpret_cast<LPARAM>(&Sort)) != 0;
}

// --- Hooks ----------------------------------------------------------------------------------

Boolean TCustomTreeView::CanExpand(TTreeNode* Node) {
  Boolean Allow = true;
  if (OnExpanding) OnExpanding(this, Node, Allow);
  return Allow;
}

void TCustomTreeView::Expand(TTreeNode* Node) {
  if (OnExpanded) OnExpanded(this, Node);
}

Boolean TCustomTreeView::CanCollapse(TTreeNode* Node) {
  Boolean Allow = true;
  if (OnCollapsing) OnCollapsing(this, Node, Allow);
  return Allow;
}

void TCustomTreeView::Collapse(TTreeNode* Node) {
  if (OnCollapsed) OnCollapsed(this, Node);
}

Boolean TCustomTreeView::CanChange(TTreeNode* Node) {
  Boolean Allow = true;
  if (OnChanging) OnChanging(this, Node, Allow);
  return Allow;
}

void TCustomTreeView::Change(TTreeNode* Node) {
  if (OnChange) OnChange(this, Node);
}

void TCustomTreeView::Delete(TTreeNode* Node) {
  if (OnDeletion) OnDeletion(this, Node);
}

Boolean TCustomTreeView::CanEdit(TTreeNode* Node) {
  Boolean Allow = !FReadOnly;
  if (Allow && OnEditing) OnEditing(this, Node, Allow);
  return Allow;
}

void TCustomTreeView::Edit(const TVITEM& Item) {
  TTreeNode* Node = FItems->NodeFromItem(Item.hItem);
  if (!Node || !Item.pszText) return;
  String S = Item.pszText;
  if (OnEdited) OnEdited(this, Node, S);
  if (FItems->Contains(Node)) Node->SetText(S);
}

void TCustomTreeView::GetImageIndex(TTreeNode* Node) {
  if (OnGetImageIndex) OnGetImageIndex(this, Node);
}

void TCustomTreeView::GetSelectedIndex(TTreeNode* Node) {
  if (OnGetSelectedIndex) OnGetSelectedIndex(this, Node);
}

void TCustomTreeView::DoContextPopup(TPoint MousePos, Boolean& Handled) {
  if (OnContextPopup) OnContextPopup(this, MousePos, Handled);
}

// --- Messages -------------------------------------------------------------------------------

void TCustomTreeView::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CN_NOTIFY: {
      TWMNotify M(Message);
      CNNotify(M);
      return;
    }
    case WM_TIMER:
      if (Message.WParam == kTreeChangeTimer) {
        KillTimer(FHandle, kTreeChangeTimer);
        Change(Selected());
        return;
      }
      break;
    case WM_RBUTTONDOWN:
      if (FRightClickSelect) {
        TTreeNode* Node = GetNodeAt(GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam));
        if (Node) Node->SetSelected(true);
      }
      [[fallthrough]];
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_LBUTTONUP:
    case WM_MOUSEMOVE:
      // The window acts on the mouse first (selecting, opening); then the events.
      DefaultHandler(Message);
      if (!HandleAllocated()) return;
      break;
    case WM_CONTEXTMENU: {
      TPoint P{GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)};
      if (P.X != -1 || P.Y != -1) ::ScreenToClient(FHandle, &P);
      Boolean Handled = false;
      DoContextPopup(P, Handled);
      if (Handled) {
        Message.Result = 1;
        return;
      }
      break;
    }
    default:
      break;
  }
  TWinControl::Dispatch(Message);
}

void TCustomTreeView::CNNotify(TWMNotify& Message) {
  NMHDR* Hdr = Message.NMHdr();
  if (!Hdr) return;
  Message.M.Result = 0;
  switch (Hdr->code) {
    case TVN_DELETEITEM: {
      if (FSaving) return;
      auto* Node = reinterpret_cast<TTreeNode*>(reinterpret_cast<NMTREEVIEW*>(Hdr)->itemOld.lParam);
      // Once per node: the node leaves the collection before anything else can see it.
      if (!FItems->Contains(Node)) return;
      auto Owned = std::move(FItems->FNodes[Node]);
      FItems->FNodes.erase(Node);
      Node->FItemId = nullptr;
      if (FSavedSelected == Node) FSavedSelected = nullptr;
      if (FSavedTop == Node) FSavedTop = nullptr;
      Delete(Node);
      return;
    }
    case TVN_ITEMEXPANDING: {
      auto* N = reinterpret_cast<NMTREEVIEW*>(Hdr);
      TTreeNode* Node = FItems->NodeFromItem(N->itemNew.hItem);
      if (!Node || FRestoring || Node == FAskedNode) return;
      const Boolean Allow = N->action == TVE_EXPAND ? CanExpand(Node) : CanCollapse(Node);
      Message.M.Result = Allow ? 0 : 1;
      return;
    }
    case TVN_ITEMEXPANDED: {
      auto* N = reinterpret_cast<NMTREEVIEW*>(Hdr);
      TTreeNode* Node = FItems->NodeFromItem(N->itemNew.hItem);
      if (!Node || FRestoring) return;
      if (N->action == TVE_EXPAND)
        Expand(Node);
      else
        Collapse(Node);
      return;
    }
    case TVN_SELCHANGING: {
      if (FRestoring) return;
      auto* N = reinterpret_cast<NMTREEVIEW*>(Hdr);
      TTreeNode* Node = FItems->NodeFromItem(N->itemNew.hItem);
      Message.M.Result = CanChange(Node) ? 0 : 1;
      return;
    }
    case TVN_SELCHANGED: {
      if (FRestoring) return;
      auto* N = reinterpret_cast<NMTREEVIEW*>(Hdr);
      if (FChangeDelay > 0) {
        KillTimer(FHandle, kTreeChangeTimer);
        SetTimer(FHandle, kTreeChangeTimer, static_cast<UINT>(FChangeDelay), nullptr);
      } else {
        Change(FItems->NodeFromItem(N->itemNew.hItem));
      }
      return;
    }
    case TVN_BEGINLABELEDIT: {
      auto* D = reinterpret_cast<NMTVDISPINFO*>(Hdr);
      TTreeNode* Node = FItems->NodeFromItem(D->item.hItem);
      Message.M.Result = Node && CanEdit(Node) ? 0 : 1;
      return;
    }
    case TVN_ENDLABELEDIT:
      Edit(reinterpret_cast<NMTVDISPINFO*>(Hdr)->item);
      return;  // the hook set the text itself
    case TVN_GETDISPINFO: {
      auto* D = reinterpret_cast<NMTVDISPINFO*>(Hdr);
      auto* Node = reinterpret_cast<TTreeNode*>(D->item.lParam);
      if (!FItems->Contains(Node)) return;
      if (D->item.mask & TVIF_IMAGE) {
        GetImageIndex(Node);
        if (FItems->Contains(Node)) D->item.iImage = Node->FImageIndex;
      }
      if ((D->item.mask & TVIF_SELECTEDIMAGE) && FItems->Contains(Node)) {
        GetSelectedIndex(Node);
        if (FItems->Contains(Node)) D->item.iSelectedImage = Node->FSelectedIndex;
      }
      return;
    }
    default:
      return;
  }
}

void TCustomTreeView::CMColorChanged(TWMNoParams& Message) {
  TWinControl::CMColorChanged(Message);
  if (HandleAllocated()) SendMessage(FHandle, TVM_SETBKCOLOR, 0, static_cast<LPARAM>(ColorToRGB(Color())));
}

void TCustomTreeView::CMFontChanged(TWMNoParams& Message) {
  TWinControl::CMFontChanged(Message);
  if (HandleAllocated()) SendMessage(FHandle, TVM_SETTEXTCOLOR, 0, static_cast<LPARAM>(ColorToRGB(Font()->Color())));
}
