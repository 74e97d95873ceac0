// The tree view's window procedure: creation and teardown of its state, focus, painting,
// input, scrolling and the TVM_* requests.
#include <algorithm>
#include <cstring>

#include "platform/win/Edit.h"
#include "platform/win/Input.h"
#include "platform/win/Keyboard.h"
#include "platform/win/Paint.h"
#include "platform/win/Scroll.h"
#include "platform/win/SysMetrics.h"
#include "platform/win/TreeView_State.h"
#include "platform/win/WindowManager.h"

using vantrel::win::Window;
using vantrel::win::WindowManager;
using vantrel::win::tree::TreeControl;
using vantrel::win::tree::TreeItemRec;
using vantrel::win::tree::TreeRow;

namespace {

LRESULT TreeHandle(HTREEITEM H) { return reinterpret_cast<LRESULT>(H); }

LRESULT TreeGetItemRect(TreeControl& T, WPARAM TextOnly, LPARAM LParam) {
  auto* R = reinterpret_cast<RECT*>(LParam);
  if (!R) return FALSE;
  HTREEITEM Wanted = nullptr;
  std::memcpy(&Wanted, reinterpret_cast<const void*>(LParam), sizeof Wanted);
  TreeItemRec* Item = T.Find(Wanted);
  if (!Item) return FALSE;
  const int Row = T.RowOf(Item);
  if (Row < 0) return FALSE;
  if (TextOnly) {
    const std::vector<TreeRow> Rows = T.Rows();
    *R = T.LabelRect(Rows[static_cast<size_t>(Row)], Row);
  } else {
    *R = T.ItemRect(Row);
  }
  return TRUE;
}

LRESULT TreeMessage(TreeControl& T, UINT Msg, WPARAM WParam, LPARAM LParam) {
  const HWND Wnd = T.Wnd;
  switch (Msg) {
    case WM_CREATE:
      T.Measure();
      T.Changed();
      return 0;
    case WM_SIZE:
      T.Changed();
      return 0;
    case WM_SETFONT:
      T.Font = reinterpret_cast<HFONT>(WParam);
      T.Measure();
      T.Changed();
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(T.Font);
    case WM_SETREDRAW:
      T.NoRedraw = WParam == 0;
      T.Changed();
      return 0;
    case WM_SETFOCUS:
      T.Focused = true;
      InvalidateRect(Wnd, nullptr, TRUE);
      T.Notify(NM_SETFOCUS);
      return 0;
    case WM_KILLFOCUS:
      T.Focused = false;
      InvalidateRect(Wnd, nullptr, TRUE);
      T.Notify(NM_KILLFOCUS);
      return 0;
    case WM_ERASEBKGND:
      return 1;  // painting fills the background
    case WM_PAINT: {
      if (WParam) {
        T.Paint(reinterpret_cast<HDC>(WParam));
        return 0;
      }
      PAINTSTRUCT Ps{};
      HDC Dc = BeginPaint(Wnd, &Ps);
      if (Dc) T.Paint(Dc);
      EndPaint(Wnd, &Ps);
      return 0;
    }
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_KEYDOWN: T.KeyDown(WParam); return 0;
    case WM_CHAR: T.Char(static_cast<char32_t>(WParam)); return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      T.MouseDown(GET_X_LPARAM(LParam), GET_Y_LPARAM(LParam), Msg == WM_LBUTTONDBLCLK);
      return 0;
    case WM_RBUTTONDOWN:
      T.RightDown(GET_X_LPARAM(LParam), GET_Y_LPARAM(LParam));
      return 0;
    case WM_RBUTTONUP:
      return 0;  // the context menu came with the press
    case WM_MOUSEWHEEL: {
      UINT Lines = 3;
      SystemParametersInfo(SPI_GETWHEELSCROLLLINES, 0, &Lines, 0);
      const int Delta = GET_WHEEL_DELTA_WPARAM(WParam);
      const int Rows = static_cast<int>(T.Rows().size());
      const int To = std::clamp(T.TopRow - Delta * static_cast<int>(Lines) / 120, 0,
                                std::max(0, Rows - T.PageRows()));
      T.ScrollTo(To, T.XOffset);
      return 0;
    }
    case WM_VSCROLL:
    case WM_HSCROLL:
      T.Scroll(Msg == WM_VSCROLL, LOWORD(WParam), HIWORD(WParam));
      return 0;
    case WM_COMMAND:
      if (T.EditWnd && reinterpret_cast<HWND>(LParam) == T.EditWnd && HIWORD(WParam) == EN_KILLFOCUS) T.EndEdit(false);
      return 0;
    case TVM_INSERTITEM: {
      const auto* In = reinterpret_cast<const TVINSERTSTRUCT*>(LParam);
      return In ? TreeHandle(T.Insert(*In)) : 0;
    }
    case TVM_DELETEITEM: {
      const auto H = reinterpret_cast<HTREEITEM>(LParam);
      TreeItemRec* Item = T.Find(H, H == TVI_ROOT);
      if (!Item) return FALSE;
      T.Delete(Item);
      return TRUE;
    }
    case TVM_EXPAND:
      return T.Expand(T.Find(reinterpret_cast<HTREEITEM>(LParam)), static_cast<UINT>(WParam)) ? TRUE : FALSE;
    case TVM_GETITEMRECT:
      return TreeGetItemRect(T, WParam, LParam);
    case TVM_GETCOUNT:
      return static_cast<LRESULT>(T.Items.size());
    case TVM_GETINDENT:
      return T.Indent;
    case TVM_SETINDENT:
      T.Indent = std::max(static_cast<int>(WParam), 4);
      T.Changed();
      return 0;
    case TVM_GETIMAGELIST:
      return reinterpret_cast<LRESULT>(WParam == TVSIL_STATE ? T.StateImages : WParam == TVSIL_NORMAL ? T.Images : nullptr);
    case TVM_SETIMAGELIST: {
      if (WParam != TVSIL_NORMAL && WParam != TVSIL_STATE) return 0;
      HTREEIMAGES& Slot = WParam == TVSIL_STATE ? T.StateImages : T.Images;
      const HTREEIMAGES Old = Slot;
      Slot = reinterpret_cast<HTREEIMAGES>(LParam);
      T.Measure();
      T.Changed();
      return reinterpret_cast<LRESULT>(Old);
    }
    case TVM_GETNEXTITEM:
      return TreeHandle(T.NextItem(T.Find(reinterpret_cast<HTREEITEM>(LParam), true), static_cast<UINT>(WParam)));
    case TVM_SELECTITEM: {
      const auto H = reinterpret_cast<HTREEITEM>(LParam);
      TreeItemRec* Item = T.Find(H);
      if (WParam == TVGN_CARET) return (H == nullptr || Item) && T.Select(Item, TVC_UNKNOWN) ? TRUE : FALSE;
      if (WParam == TVGN_FIRSTVISIBLE && Item) {
        for (TreeItemRec* P = Item->Parent; P && P != &T.Root; P = P->Parent) T.Expand(P, TVE_EXPAND);
        const int Row = T.RowOf(Item);
        if (Row < 0) return FALSE;
        T.ScrollTo(Row, T.XOffset);
        T.UpdateScroll();
        return TRUE;
      }
      return FALSE;
    }
    case TVM_GETITEM:
    case TVM_SETITEM: {
      auto* Item = reinterpret_cast<TVITEM*>(LParam);
      TreeItemRec* Rec = Item ? T.Find(Item->hItem) : nullptr;
      if (!Rec) return FALSE;
      if (Msg == TVM_GETITEM) return T.GetItem(Rec, *Item) ? TRUE : FALSE;
      T.SetItem(Rec, *Item);
      return TRUE;
    }
    case TVM_EDITLABEL:
      return reinterpret_cast<LRESULT>(T.EditLabel(T.Find(reinterpret_cast<HTREEITEM>(LParam))));
    case TVM_GETEDITCONTROL:
      return reinterpret_cast<LRESULT>(T.EditWnd);
    case TVM_ENDEDITLABELNOW: {
      const bool Was = T.EditWnd != nullptr;
      T.EndEdit(WParam != 0);
      return Was ? TRUE : FALSE;
    }
    case TVM_GETVISIBLECOUNT:
      return T.PageRows();
    case TVM_HITTEST: {
      auto* Info = reinterpret_cast<TVHITTESTINFO*>(LParam);
      if (!Info) return 0;
      T.HitTest(*Info);
      return TreeHandle(Info->hItem);
    }
    case TVM_ENSUREVISIBLE: {
      TreeItemRec* Item = T.Find(reinterpret_cast<HTREEITEM>(LParam));
      if (!Item) return FALSE;
      // Its branch opens from the top down.
      std::vector<TreeItemRec*> Chain;
      for (TreeItemRec* P = Item->Parent; P && P != &T.Root; P = P->Parent) Chain.insert(Chain.begin(), P);
      for (TreeItemRec* P : Chain)
        if (T.Alive(P)) T.Expand(P, TVE_EXPAND);
      if (!T.Alive(Item)) return FALSE;
      T.EnsureVisible(Item);
      return TRUE;
    }
    case TVM_SORTCHILDREN:
      T.SortByText(T.Find(reinterpret_cast<HTREEITEM>(LParam), true));
      return TRUE;
    case TVM_SORTCHILDRENCB: {
      const auto* S = reinterpret_cast<const TVSORTCB*>(LParam);
      if (!S) return FALSE;
      TreeItemRec* Parent = T.Find(S->hParent, true);
      if (!Parent) return FALSE;
      T.Sort(Parent, S->lpfnCompare, S->lParam);
      return TRUE;
    }
    case TVM_GETITEMHEIGHT:
      return T.ItemHeight;
    case TVM_SETBKCOLOR:
    case TVM_SETTEXTCOLOR: {
      COLORREF& Slot = Msg == TVM_SETBKCOLOR ? T.BkColor : T.TextColor;
      const COLORREF Old = Slot;
      Slot = static_cast<COLORREF>(LParam);
      InvalidateRect(Wnd, nullptr, TRUE);
      return static_cast<LRESULT>(Old);
    }
    default:
      break;
  }
  return DefWindowProc(Wnd, Msg, WParam, LParam);
}

}  // namespace

LRESULT TreeViewWindowProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  if (Msg == WM_NCCREATE) {
    WindowManager* M = WindowManager::Instance();
    Window* W = M ? M->Find(Wnd) : nullptr;
    if (!W) return FALSE;
    W->ClassData = vantrel::win::tree::MakeTreeControl(Wnd);
    return DefWindowProc(Wnd, Msg, WParam, LParam);
  }
  // Held for the call, so a handler that destroys the window leaves the state alive.
  const std::shared_ptr<TreeControl> T = vantrel::win::tree::TreeOf(Wnd);
  if (!T) return DefWindowProc(Wnd, Msg, WParam, LParam);
  if (Msg == WM_DESTROY) {
    // The parent hears of every item going while the window still exists.
    T->EndEdit(true);
    T->Destroying = true;
    T->Delete(&T->Root);
    return DefWindowProc(Wnd, Msg, WParam, LParam);
  }
  return TreeMessage(*T, Msg, WParam, LParam);
}
