// The tree view's input: clicks on buttons and labels, keys and type-ahead, and label
// editing on an EDIT child.
#include <algorithm>

#include "platform/rtl/Utf8.h"
#include "platform/win/Edit.h"
#include "platform/win/Focus.h"
#include "platform/win/Keyboard.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Paint.h"
#include "platform/win/Timers.h"
#include "platform/win/TreeView_State.h"
#include "platform/win/WindowManager.h"

namespace vantrel::win::tree {

namespace {

constexpr DWORD kTreeSearchGatherMs = 1000;

bool TreeStartsWith(const std::string& Text, const std::u32string& Prefix) {
  const std::u32string T = Utf8ToCodePoints(Text);
  if (T.size() < Prefix.size()) return false;
  for (size_t I = 0; I < Prefix.size(); ++I)
    if (LowerCaseChar(T[I]) != LowerCaseChar(Prefix[I])) return false;
  return true;
}

}  // namespace

void TreeControl::MouseDown(int X, int Y, bool Double) {
  if (GetFocus() != Wnd) SetFocus(Wnd);
  TVHITTESTINFO Hit;
  Hit.pt = POINT{X, Y};
  HitTest(Hit);
  TreeItemRec* Item = Find(Hit.hItem);
  if (Double) {
    if (Notify(NM_DBLCLK) != 0) return;
    if (Item && Alive(Item) && (Hit.flags & (TVHT_ONITEM | TVHT_ONITEMBUTTON))) Expand(Item, TVE_TOGGLE);
    return;
  }
  if (Item && (Hit.flags & TVHT_ONITEMBUTTON)) {
    Expand(Item, TVE_TOGGLE);
  } else if (Item && (Hit.flags & TVHT_ONITEM)) {
    Select(Item, TVC_BYMOUSE);
  }
  Notify(NM_CLICK);
}

void TreeControl::RightDown(int X, int Y) {
  if (GetFocus() != Wnd) SetFocus(Wnd);
  if (Notify(NM_RCLICK) != 0) return;
  POINT P{X, Y};
  ClientToScreen(Wnd, &P);
  SendMessage(Wnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(Wnd),
              MAKELPARAM(static_cast<WORD>(static_cast<SHORT>(P.X)), static_cast<WORD>(static_cast<SHORT>(P.Y))));
}

void TreeControl::KeyDown(WPARAM Key) {
  NMTVKEYDOWN K;
  K.hdr.hwndFrom = Wnd;
  K.hdr.idFrom = static_cast<UINT_PTR>(GetWindowLongPtr(Wnd, GWL_ID));
  K.hdr.code = TVN_KEYDOWN;
  K.wVKey = static_cast<WORD>(Key);
  if (HWND Parent = GetParent(Wnd)) SendMessage(Parent, WM_NOTIFY, K.hdr.idFrom, reinterpret_cast<LPARAM>(&K));
  // The character these keys bring is not part of a search.
  SkipChar = Key == VK_ADD || Key == VK_SUBTRACT || Key == VK_MULTIPLY;
  const std::vector<TreeRow> R = Rows();
  if (R.empty()) return;
  const int N = static_cast<int>(R.size());
  const int Row = Caret ? RowOf(Caret) : -1;
  const int Page = std::max(1, PageRows());
  auto Go = [&](int To) { Select(R[static_cast<size_t>(std::clamp(To, 0, N - 1))].Item, TVC_BYKEYBOARD); };
  switch (Key) {
    case VK_UP: Go(Row < 0 ? 0 : Row - 1); break;
    case VK_DOWN: Go(Row + 1); break;
    case VK_HOME: Go(0); break;
    case VK_END: Go(N - 1); break;
    case VK_PRIOR: Go(Row < 0 ? 0 : Row - Page + 1 == Row ? Row - 1 : Row - Page + 1); break;
    case VK_NEXT: Go(Row + Page - 1 == Row ? Row + 1 : Row + Page - 1); break;
    case VK_LEFT:
      if (!Caret) break;
      if (Expanded(Caret)) {
        Expand(Caret, TVE_COLLAPSE);
      } else if (Caret->Parent && Caret->Parent != &Root) {
        Select(Caret->Parent, TVC_BYKEYBOARD);
      }
      break;
    case VK_RIGHT:
      if (!Caret) break;
      if (!Expanded(Caret)) {
        Expand(Caret, TVE_EXPAND);
      } else if (Caret->First) {
        Select(Caret->First, TVC_BYKEYBOARD);
      }
      break;
    case VK_ADD:
      if (Caret) Expand(Caret, TVE_EXPAND);
      break;
    case VK_SUBTRACT:
      if (Caret) Expand(Caret, TVE_COLLAPSE);
      break;
    case VK_MULTIPLY: {
      // Opens the whole branch below the caret.
      if (!Caret) break;
      std::vector<TreeItemRec*> Work{Caret};
      while (!Work.empty()) {
        TreeItemRec* I = Work.back();
        Work.pop_back();
        if (!Alive(I)) continue;
        Expand(I, TVE_EXPAND);
        if (!Alive(I)) continue;
        for (TreeItemRec* C = I->First; C; C = C->Next) Work.push_back(C);
      }
      break;
    }
    case VK_F2:
      if (Caret && (Style() & TVS_EDITLABELS)) EditLabel(Caret);
      break;
    case VK_RETURN:
      Notify(NM_RETURN);
      break;
    default:
      break;
  }
}

void TreeControl::Char(char32_t Ch) {
  if (SkipChar) {
    SkipChar = false;
    return;
  }
  if (Ch < 0x20 || Ch == 0x7F) return;
  const DWORD Now = GetTickCount();
  const bool Gathering = !Search.empty() && Now - SearchTime < kTreeSearchGatherMs;
  Search = Gathering ? Search + Ch : std::u32string(1, Ch);
  SearchTime = Now;
  const std::vector<TreeRow> R = Rows();
  const int N = static_cast<int>(R.size());
  if (N == 0) return;
  const int Row = Caret ? RowOf(Caret) : -1;
  // A new search starts after the caret; a longer prefix may stay on it.
  const int Start = Gathering ? std::max(Row, 0) : Row + 1;
  for (int K = 0; K < N; ++K) {
    TreeItemRec* I = R[static_cast<size_t>((Start + K) % N)].Item;
    if (TreeStartsWith(TextOf(I), Search)) {
      Select(I, TVC_BYKEYBOARD);
      return;
    }
  }
}

HWND TreeControl::EditLabel(TreeItemRec* Item) {
  if (!Item || Item == &Root) return nullptr;
  if (EditWnd) EndEdit(false);
  EnsureVisible(Item);
  NMTVDISPINFO D;
  D.hdr.hwndFrom = Wnd;
  D.hdr.idFrom = static_cast<UINT_PTR>(GetWindowLongPtr(Wnd, GWL_ID));
  D.hdr.code = TVN_BEGINLABELEDIT;
  std::string Text = TextOf(Item);
  D.item.mask = TVIF_HANDLE | TVIF_TEXT | TVIF_PARAM | TVIF_STATE;
  D.item.hItem = Item->Handle();
  D.item.lParam = Item->Param;
  D.item.state = Item->State;
  D.item.pszText = Text.data();
  D.item.cchTextMax = static_cast<int>(Text.size()) + 1;
  HWND Parent = GetParent(Wnd);
  if (Parent && SendMessage(Parent, WM_NOTIFY, D.hdr.idFrom, reinterpret_cast<LPARAM>(&D)) != 0) return nullptr;
  if (!Alive(Item)) return nullptr;
  const int Row = RowOf(Item);
  if (Row < 0) return nullptr;
  const std::vector<TreeRow> R = Rows();
  RECT L = LabelRect(R[static_cast<size_t>(Row)], Row);
  RECT C{};
  GetClientRect(Wnd, &C);
  const int Width = std::max(static_cast<int>(L.Right - L.Left) + 40, 60);
  HWND E = CreateWindowEx(0, "EDIT", TextOf(Item).c_str(), WS_CHILD | WS_BORDER | ES_AUTOHSCROLL, L.Left - 1, L.Top,
                          std::min(Width, std::max(20, static_cast<int>(C.Right - L.Left) + 1)), ItemHeight, Wnd,
                          nullptr, nullptr, nullptr);
  if (!E) return nullptr;
  EditWnd = E;
  EditItem = Item;
  SendMessage(E, WM_SETFONT, reinterpret_cast<WPARAM>(Font), 0);
  // Enter and Esc end editing; the edit itself ignores them.
  const HWND Tree = Wnd;
  EditProc = MakeWndProcInstance([Tree](HWND W, UINT Msg, WPARAM WParam, LPARAM LParam) -> LRESULT {
    const std::shared_ptr<TreeControl> T = TreeOf(Tree);
    const WNDPROC Old = T ? T->EditOldProc : nullptr;
    if (T && T->EditWnd == W) {
      if (Msg == WM_GETDLGCODE) return DLGC_WANTALLKEYS | CallWindowProc(Old, W, Msg, WParam, LParam);
      if (Msg == WM_KEYDOWN && (WParam == VK_RETURN || WParam == VK_ESCAPE)) {
        T->EndEdit(WParam == VK_ESCAPE);
        return 0;
      }
      if (Msg == WM_CHAR && (WParam == '\r' || WParam == 0x1B)) return 0;
    }
    return Old ? CallWindowProc(Old, W, Msg, WParam, LParam) : DefWindowProc(W, Msg, WParam, LParam);
  });
  EditOldProc = LongToWndProc(SetWindowLongPtr(E, GWLP_WNDPROC, WndProcToLong(EditProc)));
  SendMessage(E, EM_SETSEL, 0, -1);
  ShowWindow(E, SW_SHOW);
  SetFocus(E);
  InvalidateRect(Wnd, nullptr, TRUE);
  return E;
}

void TreeControl::EndEdit(bool Cancel) {
  if (!EditWnd) return;
  const HWND E = EditWnd;
  TreeItemRec* Item = EditItem;
  EditWnd = nullptr;
  EditItem = nullptr;
  std::string Text;
  const int Len = static_cast<int>(SendMessage(E, WM_GETTEXTLENGTH, 0, 0));
  std::string Buffer(static_cast<size_t>(Len) * 4 + 1, '\0');
  SendMessage(E, WM_GETTEXT, Buffer.size(), reinterpret_cast<LPARAM>(Buffer.data()));
  Text = Buffer.c_str();
  const bool HadFocus = GetFocus() == E;
  // The edit goes first, so the focus it loses ends nothing a second time.
  if (EditOldProc) SetWindowLongPtr(E, GWLP_WNDPROC, WndProcToLong(EditOldProc));
  EditOldProc = nullptr;
  DestroyWindow(E);
  FreeObjectInstance(EditProc);
  EditProc = nullptr;
  if (HadFocus && !Destroying) SetFocus(Wnd);
  if (Item && Alive(Item)) {
    NMTVDISPINFO D;
    D.hdr.hwndFrom = Wnd;
    D.hdr.idFrom = static_cast<UINT_PTR>(GetWindowLongPtr(Wnd, GWL_ID));
    D.hdr.code = TVN_ENDLABELEDIT;
    D.item.mask = TVIF_HANDLE | TVIF_TEXT | TVIF_PARAM;
    D.item.hItem = Item->Handle();
    D.item.lParam = Item->Param;
    D.item.pszText = Cancel ? nullptr : Text.data();
    D.item.cchTextMax = static_cast<int>(Text.size()) + 1;
    HWND Parent = GetParent(Wnd);
    const LRESULT Keep = Parent ? SendMessage(Parent, WM_NOTIFY, D.hdr.idFrom, reinterpret_cast<LPARAM>(&D)) : 0;
    if (!Cancel && Keep && Alive(Item)) {
      Item->Text = Text;
      Item->TextCallback = false;
    }
  }
  if (!Destroying) Changed();
}

}  // namespace vantrel::win::tree
