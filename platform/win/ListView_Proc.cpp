// The "SysListView32" window procedure: hands each message to the view's state.
#include <algorithm>
#include <vector>

#include "platform/win/Edit.h"
#include "platform/win/Input.h"
#include "platform/win/Keyboard.h"
#include "platform/win/ListView_State.h"
#include "platform/win/NativeControl.h"
#include "platform/win/Paint.h"

namespace vantrel::win {

namespace {

LRESULT ListViewItemMessage(ListViewState& S, UINT Msg, WPARAM WParam, LPARAM LParam) {
  const int Index = static_cast<int>(static_cast<LONG_PTR>(WParam));
  switch (Msg) {
    case LVM_GETITEMCOUNT: return S.Count();
    case LVM_SETITEMCOUNT: S.SetItemCount(Index); return TRUE;
    case LVM_INSERTITEM: return LParam ? S.InsertItem(*reinterpret_cast<const LVITEM*>(LParam)) : -1;
    case LVM_DELETEITEM: return S.DeleteItem(Index) ? TRUE : FALSE;
    case LVM_DELETEALLITEMS: S.DeleteAll(); return TRUE;
    case LVM_SETITEM: return LParam && S.SetItem(*reinterpret_cast<const LVITEM*>(LParam)) ? TRUE : FALSE;
    case LVM_GETITEM: return LParam && S.GetItem(*reinterpret_cast<LVITEM*>(LParam)) ? TRUE : FALSE;
    case LVM_SETITEMTEXT: {
      if (!LParam) return FALSE;
      LVITEM Item = *reinterpret_cast<const LVITEM*>(LParam);
      Item.iItem = Index;
      Item.mask = LVIF_TEXT;
      return S.SetItem(Item) ? TRUE : FALSE;
    }
    case LVM_GETITEMTEXT: {
      if (!LParam) return 0;
      LVITEM& Item = *reinterpret_cast<LVITEM*>(LParam);
      Item.iItem = Index;
      Item.mask = LVIF_TEXT;
      if (!S.GetItem(Item)) return 0;
      return static_cast<LRESULT>(std::char_traits<char>::length(Item.pszText));
    }
    case LVM_SETITEMSTATE: {
      if (!LParam) return FALSE;
      const LVITEM& Item = *reinterpret_cast<const LVITEM*>(LParam);
      S.SetState(Index, Item.state, Item.stateMask);
      return TRUE;
    }
    case LVM_GETITEMSTATE: return S.State(Index) & static_cast<UINT>(LParam);
    case LVM_GETNEXTITEM: return S.NextItem(Index, LOWORD(static_cast<uintptr_t>(LParam)));
    case LVM_GETSELECTEDCOUNT: return S.SelectedCount();
    case LVM_FINDITEM: return LParam ? S.FindItem(Index, *reinterpret_cast<const LVFINDINFO*>(LParam)) : -1;
    case LVM_GETCOUNTPERPAGE: return S.CountPerPage();
    case LVM_GETTOPINDEX: return S.TopIndex();
    case LVM_ENSUREVISIBLE: return S.EnsureVisible(Index) ? TRUE : FALSE;
    case LVM_SCROLL: S.Scroll(static_cast<int>(WParam), static_cast<int>(LParam)); return TRUE;
    case LVM_GETITEMRECT: {
      auto* R = reinterpret_cast<RECT*>(LParam);
      if (!R || !S.Valid(Index)) return FALSE;
      *R = S.ItemRect(Index, R->Left);
      return TRUE;
    }
    case LVM_HITTEST:
    case LVM_SUBITEMHITTEST: {
      auto* Info = reinterpret_cast<LVHITTESTINFO*>(LParam);
      if (!Info) return -1;
      Info->iItem = S.HitTest(Info->pt, Info->flags, Msg == LVM_SUBITEMHITTEST ? &Info->iSubItem : nullptr);
      return Info->iItem;
    }
    case LVM_REDRAWITEMS:
      for (int I = std::max(0, Index); I <= static_cast<int>(LParam) && I < S.Count(); ++I) {
        S.LabelChanged(I);
        S.InvalidateItem(I);
      }
      return TRUE;
    case LVM_UPDATE:
      S.LabelChanged(Index);
      S.InvalidateItem(Index);
      return TRUE;
    case LVM_ARRANGE: S.Invalidate(); return TRUE;
    case LVM_EDITLABEL:
      if (Index < 0) {  // -1 ends editing without the new text
        S.EndEdit(true);
        return 0;
      }
      return reinterpret_cast<LRESULT>(S.EditLabel(Index));
    case LVM_GETEDITCONTROL: return reinterpret_cast<LRESULT>(S.EditWindow());
    case LVM_GETSTRINGWIDTH: return LParam ? S.StringWidth(reinterpret_cast<const char*>(LParam)) : 0;
    default: return -1;
  }
}

LRESULT ListViewColumnMessage(ListViewState& S, UINT Msg, WPARAM WParam, LPARAM LParam) {
  const int Index = static_cast<int>(static_cast<LONG_PTR>(WParam));
  switch (Msg) {
    case LVM_INSERTCOLUMN: return LParam ? S.InsertColumn(Index, *reinterpret_cast<const LVCOLUMN*>(LParam)) : -1;
    case LVM_DELETECOLUMN: return S.DeleteColumn(Index) ? TRUE : FALSE;
    case LVM_SETCOLUMN: return LParam && S.SetColumn(Index, *reinterpret_cast<const LVCOLUMN*>(LParam)) ? TRUE : FALSE;
    case LVM_GETCOLUMN: return LParam && S.GetColumn(Index, *reinterpret_cast<LVCOLUMN*>(LParam)) ? TRUE : FALSE;
    case LVM_GETCOLUMNWIDTH: return S.ColumnWidth(Index);
    case LVM_SETCOLUMNWIDTH: return S.SetColumnWidth(Index, static_cast<int>(static_cast<SHORT>(LOWORD(static_cast<uintptr_t>(LParam))))) ? TRUE : FALSE;
    case LVM_GETHEADER: return reinterpret_cast<LRESULT>(S.Header());
    case LVM_GETCOLUMNORDERARRAY: {
      auto* Out = reinterpret_cast<int*>(LParam);
      const std::vector<int> Order = S.ColumnOrder();
      if (!Out || Index < static_cast<int>(Order.size())) return FALSE;
      std::copy(Order.begin(), Order.end(), Out);
      return TRUE;
    }
    case LVM_SETCOLUMNORDERARRAY: {
      const auto* In = reinterpret_cast<const int*>(LParam);
      if (!In || Index < 0) return FALSE;
      return S.SetColumnOrder(std::vector<int>(In, In + Index)) ? TRUE : FALSE;
    }
    case LVM_GETIMAGELIST: return reinterpret_cast<LRESULT>(S.ImageList(WParam));
    case LVM_SETIMAGELIST: return reinterpret_cast<LRESULT>(S.SetImageList(WParam, reinterpret_cast<HIMAGELIST>(LParam)));
    case LVM_SETEXTENDEDLISTVIEWSTYLE: return S.SetExStyle(static_cast<DWORD>(WParam), static_cast<DWORD>(LParam));
    case LVM_GETEXTENDEDLISTVIEWSTYLE: return S.ExStyle();
    case LVM_GETBKCOLOR: return S.BkColor();
    case LVM_SETBKCOLOR: S.SetBkColor(static_cast<COLORREF>(LParam)); return TRUE;
    default: return ListViewItemMessage(S, Msg, WParam, LParam);
  }
}

}  // namespace

LRESULT ListViewWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  if (Msg == WM_NCCREATE) {
    const auto* Create = reinterpret_cast<const CREATESTRUCT*>(LParam);
    if (!AttachNativeState<ListViewState>(Wnd, Wnd, static_cast<DWORD>(Create->style))) return FALSE;
    return DefWindowProc(Wnd, Msg, WParam, LParam);
  }
  ListViewState* S = ListViewOf(Wnd);
  if (!S) return DefWindowProc(Wnd, Msg, WParam, LParam);
  if (Msg >= LVM_FIRST && Msg <= LVM_GETCOLUMNORDERARRAY) return ListViewColumnMessage(*S, Msg, WParam, LParam);
  const POINT P{GET_X_LPARAM(LParam), GET_Y_LPARAM(LParam)};
  switch (Msg) {
    case WM_CREATE: S->Created(); return 0;
    case WM_DESTROY:
      S->EndEdit(true, false);
      S->DisarmSlowEdit();
      return DefWindowProc(Wnd, Msg, WParam, LParam);
    case WM_COMMAND:
      // The caption editor lost the focus: editing ends with its text.
      if (S->EditWindow() && reinterpret_cast<HWND>(LParam) == S->EditWindow()) {
        if (HIWORD(WParam) == EN_KILLFOCUS) S->EndEdit(false);
        else if (HIWORD(WParam) == EN_CHANGE) S->FitEditor();
      }
      return 0;
    case WM_TIMER:
      if (WParam == ListViewSlowEditTimer) {
        S->SlowEditDue();
        return 0;
      }
      return DefWindowProc(Wnd, Msg, WParam, LParam);
    case WM_NCDESTROY:
      DetachNativeState<ListViewState>(Wnd);
      return DefWindowProc(Wnd, Msg, WParam, LParam);
    case WM_SIZE: S->Resized(); return 0;
    case WM_STYLECHANGED:
      if (WParam == static_cast<WPARAM>(GWL_STYLE)) S->StyleChanged(reinterpret_cast<STYLESTRUCT*>(LParam)->styleNew);
      return 0;
    case WM_NOTIFY: {
      const auto* Hdr = reinterpret_cast<const NMHDR*>(LParam);
      if (Hdr && Hdr->hwndFrom == S->Header()) {
        S->HeaderNotify(*reinterpret_cast<const NMHEADER*>(LParam));
        if (Hdr->code == HDN_ENDDRAG) return (S->ExStyle() & LVS_EX_HEADERDRAGDROP) ? FALSE : TRUE;
      }
      return 0;
    }
    case WM_SETFONT: S->SetFont(reinterpret_cast<HFONT>(WParam)); return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(S->Font());
    case WM_SETREDRAW: S->SetRedraw(WParam != 0); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_PAINT:
    case WM_PRINTCLIENT: return PaintNativeControl(Wnd, WParam, *S);
    case WM_VSCROLL: S->OnScroll(true, LOWORD(WParam), static_cast<SHORT>(HIWORD(WParam))); return 0;
    case WM_HSCROLL: S->OnScroll(false, LOWORD(WParam), static_cast<SHORT>(HIWORD(WParam))); return 0;
    case WM_MOUSEWHEEL: S->Wheel(GET_WHEEL_DELTA_WPARAM(WParam)); return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: S->MouseDown(P, WParam, false, Msg == WM_LBUTTONDBLCLK); return 0;
    case WM_RBUTTONDOWN: S->MouseDown(P, WParam, true, false); return 0;
    case WM_LBUTTONUP: S->MouseUp(P, false); return 0;
    case WM_RBUTTONUP:
      S->MouseUp(P, true);
      return DefWindowProc(Wnd, Msg, WParam, LParam);  // WM_CONTEXTMENU follows
    case WM_KEYDOWN: S->KeyDown(WParam); return 0;
    case WM_CHAR: S->Char(static_cast<char32_t>(WParam)); return 0;
    case WM_SETFOCUS: S->FocusChanged(true); return 0;
    case WM_KILLFOCUS: S->FocusChanged(false); return 0;
    case WM_GETDLGCODE: return DLGC_WANTARROWS | DLGC_WANTCHARS;
    default: return DefWindowProc(Wnd, Msg, WParam, LParam);
  }
}

}  // namespace vantrel::win
