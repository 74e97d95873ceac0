// The "LISTBOX" window procedure: hands each message to the list's state.
#include <cstring>

#include "platform/win/ListBox_State.h"
#include "platform/win/NativeControl.h"
#include "platform/win/Paint.h"
#include "platform/win/Scroll.h"
#include "platform/win/Input.h"
#include "platform/win/Keyboard.h"

namespace vantrel::win {

namespace {

std::string ListBoxTextArg(LPARAM LParam) {
  const char* Text = reinterpret_cast<const char*>(LParam);
  return Text ? std::string(Text) : std::string();
}

// Adds or inserts: the text, or for an owner-drawn list without strings the item data.
LRESULT ListBoxAddMessage(ListBoxState& S, int Index, bool Insert, LPARAM LParam) {
  std::string Text;
  ULONG_PTR Data = 0;
  if (S.HasStrings())
    Text = ListBoxTextArg(LParam);
  else
    Data = static_cast<ULONG_PTR>(LParam);
  return Insert ? S.Insert(Index, Text, Data) : S.Add(Text, Data);
}

LRESULT ListBoxSelectionMessage(ListBoxState& S, UINT Msg, WPARAM WParam, LPARAM LParam) {
  const int Index = static_cast<int>(static_cast<LONG_PTR>(WParam));
  switch (Msg) {
    case LB_SETCURSEL:
      if (S.MultiSel()) return LB_ERR;
      S.SetCurrent(Index);
      if (!S.Valid(Index)) return LB_ERR;
      S.MakeVisible(Index);
      return Index;
    case LB_GETCURSEL:
      if (S.MultiSel()) return S.Count() ? S.Caret() : LB_ERR;
      return S.Current() >= 0 ? S.Current() : LB_ERR;
    case LB_SETSEL: {
      if (!S.MultiSel()) return LB_ERR;
      const int Which = static_cast<int>(LParam);
      if (Which == -1) {
        S.SelectRange(0, S.Count() - 1, WParam != 0);
        return LB_OKAY;
      }
      if (!S.Valid(Which)) return LB_ERR;
      S.SelectRange(Which, Which, WParam != 0);
      return LB_OKAY;
    }
    case LB_GETSEL:
      return S.Valid(Index) ? (S.IsSelected(Index) ? 1 : 0) : LB_ERR;
    case LB_GETSELCOUNT:
      return S.MultiSel() ? S.SelCount() : LB_ERR;
    case LB_GETSELITEMS: {
      if (!S.MultiSel()) return LB_ERR;
      int* Out = reinterpret_cast<int*>(LParam);
      const int Max = static_cast<int>(WParam);
      int N = 0;
      for (int I = 0; I < S.Count() && Out && N < Max; ++I)
        if (S.Item(I).Selected) Out[N++] = I;
      return N;
    }
    case LB_SELITEMRANGE:
      if (!S.MultiSel()) return LB_ERR;
      S.SelectRange(LOWORD(static_cast<uintptr_t>(LParam)), HIWORD(static_cast<uintptr_t>(LParam)), WParam != 0);
      return LB_OKAY;
    case LB_SELITEMRANGEEX: {
      if (!S.MultiSel()) return LB_ERR;
      const int First = Index, Last = static_cast<int>(LParam);
      S.SelectRange(First, Last, First <= Last);
      return LB_OKAY;
    }
    case LB_SETCARETINDEX:
      if (!S.Valid(Index)) return LB_ERR;
      S.SetCaret(Index);
      S.MakeVisible(Index);
      return LB_OKAY;
    case LB_GETCARETINDEX:
      return S.MultiSel() || S.Current() < 0 ? S.Caret() : S.Current();
    case LB_SETANCHORINDEX:
      if (!S.Valid(Index)) return LB_ERR;
      S.SetAnchor(Index);
      return LB_OKAY;
    case LB_GETANCHORINDEX:
      return S.Anchor();
    default:
      return LB_ERR;
  }
}

LRESULT ListBoxDataMessage(ListBoxState& S, UINT Msg, WPARAM WParam, LPARAM LParam) {
  const int Index = static_cast<int>(static_cast<LONG_PTR>(WParam));
  switch (Msg) {
    case LB_ADDSTRING: return ListBoxAddMessage(S, -1, false, LParam);
    case LB_INSERTSTRING: return ListBoxAddMessage(S, Index, true, LParam);
    case LB_DELETESTRING: return S.Remove(Index);
    case LB_RESETCONTENT: S.Reset(); return LB_OKAY;
    case LB_GETCOUNT: return S.Count();
    case LB_GETTEXT: {
      if (!S.Valid(Index) || !LParam) return LB_ERR;
      if (!S.HasStrings()) {
        const ULONG_PTR Data = S.Item(Index).Data;
        std::memcpy(reinterpret_cast<void*>(LParam), &Data, sizeof Data);
        return sizeof Data;
      }
      const std::string& T = S.Item(Index).Text;
      std::memcpy(reinterpret_cast<char*>(LParam), T.c_str(), T.size() + 1);
      return static_cast<LRESULT>(T.size());
    }
    case LB_GETTEXTLEN:
      if (!S.Valid(Index)) return LB_ERR;
      return S.HasStrings() ? static_cast<LRESULT>(S.Item(Index).Text.size()) : sizeof(ULONG_PTR);
    case LB_GETITEMDATA:
      return S.Valid(Index) ? static_cast<LRESULT>(S.Item(Index).Data) : LB_ERR;
    case LB_SETITEMDATA:
      if (!S.Valid(Index)) return LB_ERR;
      S.Item(Index).Data = static_cast<ULONG_PTR>(LParam);
      return LB_OKAY;
    case LB_FINDSTRING: return S.Find(Index, ListBoxTextArg(LParam), false);
    case LB_FINDSTRINGEXACT: return S.Find(Index, ListBoxTextArg(LParam), true);
    case LB_SELECTSTRING: {
      const LRESULT Found = S.Find(Index, ListBoxTextArg(LParam), false);
      if (Found == LB_ERR) return LB_ERR;
      if (S.MultiSel()) {
        S.SelectRange(static_cast<int>(Found), static_cast<int>(Found), true);
        S.SetCaret(static_cast<int>(Found));
      } else {
        S.SetCurrent(static_cast<int>(Found));
      }
      S.MakeVisible(static_cast<int>(Found));
      return Found;
    }
    default: return ListBoxSelectionMessage(S, Msg, WParam, LParam);
  }
}

LRESULT ListBoxViewMessage(ListBoxState& S, UINT Msg, WPARAM WParam, LPARAM LParam) {
  const int Index = static_cast<int>(static_cast<LONG_PTR>(WParam));
  switch (Msg) {
    case LB_SETTOPINDEX:
      if (Index < 0 || (Index >= S.Count() && S.Count() > 0)) return LB_ERR;
      S.SetTop(Index);
      return LB_OKAY;
    case LB_GETTOPINDEX: return S.Top();
    case LB_SETITEMHEIGHT:
      return S.SetItemHeight(static_cast<int>(static_cast<int16_t>(LOWORD(static_cast<uintptr_t>(LParam)))))
                 ? LB_OKAY
                 : LB_ERR;
    case LB_GETITEMHEIGHT: return S.ItemHeight();
    case LB_GETITEMRECT: {
      RECT* Out = reinterpret_cast<RECT*>(LParam);
      if (!Out || (!S.Valid(Index) && !(Index == 0 && S.Count() == 0))) return LB_ERR;
      *Out = S.ItemRect(Index);
      return 1;
    }
    case LB_ITEMFROMPOINT: {
      bool Outside = false;
      const int Found = S.ItemFromPoint(POINT{GET_X_LPARAM(LParam), GET_Y_LPARAM(LParam)}, Outside);
      return MAKELRESULT(static_cast<WORD>(Found < 0 ? 0 : Found), Outside ? 1 : 0);
    }
    case LB_SETCOLUMNWIDTH: S.SetColumnWidth(Index); return LB_OKAY;
    case LB_SETHORIZONTALEXTENT: S.SetHorizontalExtent(Index); return 0;
    case LB_GETHORIZONTALEXTENT: return S.HorizontalExtent();
    default: return ListBoxDataMessage(S, Msg, WParam, LParam);
  }
}

}  // namespace

LRESULT ListBoxWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  if (Msg == WM_NCCREATE) {
    const auto* Create = reinterpret_cast<const CREATESTRUCT*>(LParam);
    if (!AttachNativeState<ListBoxState>(Wnd, Wnd, static_cast<DWORD>(Create->style))) return FALSE;
    return DefWindowProc(Wnd, Msg, WParam, LParam);
  }
  ListBoxState* S = ListBoxOf(Wnd);
  if (!S) return DefWindowProc(Wnd, Msg, WParam, LParam);
  if (Msg >= LB_ADDSTRING && Msg <= LB_ITEMFROMPOINT) return ListBoxViewMessage(*S, Msg, WParam, LParam);
  switch (Msg) {
    case WM_CREATE: S->Created(); return 0;
    case WM_NCDESTROY:
      DetachNativeState<ListBoxState>(Wnd);
      return DefWindowProc(Wnd, Msg, WParam, LParam);
    case WM_SIZE:
      S->FitIntegralHeight();
      S->SetTop(S->Top());
      S->InvalidateAll();
      return 0;
    case WM_STYLECHANGED:
      if (WParam == static_cast<WPARAM>(GWL_STYLE)) S->StyleChanged(reinterpret_cast<STYLESTRUCT*>(LParam)->styleNew);
      return 0;
    case WM_SETFONT: S->SetFont(reinterpret_cast<HFONT>(WParam), LOWORD(static_cast<uintptr_t>(LParam)) != 0); return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(S->Font());
    case WM_SETREDRAW: S->SetRedraw(WParam != 0); return 0;
    case WM_ENABLE: S->InvalidateAll(); return 0;
    case WM_ERASEBKGND: S->EraseBackground(reinterpret_cast<HDC>(WParam)); return 1;
    case WM_PAINT:
    case WM_PRINTCLIENT: {
      if (HDC Dc = reinterpret_cast<HDC>(WParam)) {
        S->Paint(Dc, nullptr);
        return 0;
      }
      PAINTSTRUCT Ps{};
      if (HDC Dc = BeginPaint(Wnd, &Ps)) {
        S->Paint(Dc, &Ps.rcPaint);
        EndPaint(Wnd, &Ps);
      }
      return 0;
    }
    case WM_VSCROLL: S->OnVScroll(LOWORD(WParam), static_cast<int16_t>(HIWORD(WParam))); return 0;
    case WM_HSCROLL: S->OnHScroll(LOWORD(WParam), static_cast<int16_t>(HIWORD(WParam))); return 0;
    case WM_MOUSEWHEEL: S->Wheel(GET_WHEEL_DELTA_WPARAM(WParam)); return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      S->MouseDown(POINT{GET_X_LPARAM(LParam), GET_Y_LPARAM(LParam)}, WParam, Msg == WM_LBUTTONDBLCLK);
      return 0;
    case WM_MOUSEMOVE: S->MouseMove(POINT{GET_X_LPARAM(LParam), GET_Y_LPARAM(LParam)}); return 0;
    case WM_LBUTTONUP: S->MouseUp(); return 0;
    case WM_CAPTURECHANGED: S->CaptureLost(); return 0;
    case WM_KEYDOWN: S->KeyDown(WParam); return 0;
    case WM_CHAR: S->Char(static_cast<char32_t>(WParam)); return 0;
    case WM_SETFOCUS: S->FocusChanged(true); return 0;
    case WM_KILLFOCUS: S->FocusChanged(false); return 0;
    case WM_GETDLGCODE: return DLGC_WANTARROWS | DLGC_WANTCHARS;
    default: return DefWindowProc(Wnd, Msg, WParam, LParam);
  }
}

}  // namespace vantrel::win
