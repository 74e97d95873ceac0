// The drop-down list combo box: its rows live in a list box inside a pop-up window that
// never takes the activation; while it is dropped the combo box holds the mouse capture,
// tracks the row under the pointer, and closes on a choice, a click elsewhere, Esc or the
// loss of the focus.
#include "platform/win/ComboBox.h"

#include <algorithm>
#include <string>

#include "platform/win/Capture.h"
#include "platform/win/DrawText.h"
#include "platform/win/Focus.h"
#include "platform/win/Fonts.h"
#include "platform/win/Keyboard.h"
#include "platform/win/ListBox.h"
#include "platform/win/NativeControl.h"
#include "platform/win/Paint.h"
#include "platform/win/SysColors.h"
#include "platform/win/WindowErrors.h"

namespace vantrel::win {

namespace {

constexpr int ComboButtonWidth = 17;
constexpr UINT CB_SETMINVISIBLE_MSG = 0x1701;
constexpr UINT CB_GETMINVISIBLE_MSG = 0x1702;

struct ComboState {
  ComboState(HWND W, DWORD S) : Wnd(W), Style(S) {}
  HWND Wnd;
  DWORD Style;
  HWND Drop = nullptr;
  HWND List = nullptr;
  int Cur = -1;
  int MinVisible = 30;
  bool Dropped = false;
  bool Focused = false;
  bool PressOpened = false;  // the press that dropped the list is still down
  HFONT Font = nullptr;

  LRESULT ToList(UINT Msg, WPARAM WParam, LPARAM LParam) const { return SendMessage(List, Msg, WParam, LParam); }
  int Count() const { return static_cast<int>(ToList(LB_GETCOUNT, 0, 0)); }
  std::string TextOf(int Index) const {
    const LRESULT Len = ToList(LB_GETTEXTLEN, static_cast<WPARAM>(Index), 0);
    if (Len < 0) return {};
    std::string S(static_cast<size_t>(Len) + 1, '\0');
    ToList(LB_GETTEXT, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(S.data()));
    S.resize(static_cast<size_t>(Len));
    return S;
  }

  void Create() {
    Font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    RECT R{};
    GetWindowRect(Wnd, &R);
    Drop = CreateWindowEx(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE | WS_EX_TOPMOST, ComboDropClassName, "",
                          WS_POPUP | WS_BORDER, R.Left, R.Bottom, R.Right - R.Left, 100, GetAncestor(Wnd, GA_ROOT),
                          nullptr, nullptr, nullptr);
    if (!Drop) return;
    SetWindowLongPtr(Drop, 0, reinterpret_cast<LONG_PTR>(Wnd));
    RECT C{};
    GetClientRect(Drop, &C);
    DWORD ListStyle = WS_CHILD | WS_VISIBLE | LBS_NOTIFY | LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT | WS_VSCROLL;
    if (Style & CBS_SORT) ListStyle |= LBS_SORT;
    List = CreateWindowEx(0, "LISTBOX", "", ListStyle, 0, 0, C.Right, C.Bottom, Drop, reinterpret_cast<HMENU>(1000),
                          nullptr, nullptr);
  }

  void SetCur(int Index) {
    if (Index < 0 || Index >= Count()) Index = -1;
    Cur = Index;
    const std::string Text = Index >= 0 ? TextOf(Index) : std::string();
    DefWindowProc(Wnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Text.c_str()));
    InvalidateRect(Wnd, nullptr, TRUE);
  }
  void Choose(int Index) {
    if (Index == Cur || Index < 0 || Index >= Count()) return;
    SetCur(Index);
    NotifyParentCommand(Wnd, CBN_SELCHANGE);
  }

  void Open() {
    if (Dropped || !Drop || !List) return;
    NotifyParentCommand(Wnd, CBN_DROPDOWN);
    if (!IsWindow(Wnd)) return;
    RECT R{};
    GetWindowRect(Wnd, &R);
    const int Rows = std::clamp(Count(), 1, std::max(1, MinVisible));
    const int ItemH = static_cast<int>(ToList(LB_GETITEMHEIGHT, 0, 0));
    RECT Frame{};
    GetWindowRect(Drop, &Frame);
    RECT Inner{};
    GetClientRect(Drop, &Inner);
    const int Extra = (Frame.Bottom - Frame.Top) - Inner.Bottom;
    const int H = Rows * ItemH + Extra;
    SetWindowPos(Drop, HWND_TOPMOST, R.Left, R.Bottom, R.Right - R.Left, H, SWP_NOACTIVATE | SWP_SHOWWINDOW);
    RECT C{};
    GetClientRect(Drop, &C);
    SetWindowPos(List, nullptr, 0, 0, C.Right, C.Bottom, SWP_NOZORDER | SWP_NOACTIVATE);
    ToList(LB_SETCURSEL, static_cast<WPARAM>(Cur), 0);
    Dropped = true;
    SetCapture(Wnd);
    InvalidateRect(Wnd, nullptr, TRUE);
  }

  void Close(bool Commit) {
    if (!Dropped) return;
    Dropped = false;
    PressOpened = false;
    if (GetCapture() == Wnd) ReleaseCapture();
    ShowWindow(Drop, SW_HIDE);
    const int Chosen = static_cast<int>(ToList(LB_GETCURSEL, 0, 0));
    InvalidateRect(Wnd, nullptr, TRUE);
    NotifyParentCommand(Wnd, Commit ? CBN_SELENDOK : CBN_SELENDCANCEL);
    NotifyParentCommand(Wnd, CBN_CLOSEUP);
    if (Commit && IsWindow(Wnd)) Choose(Chosen);
  }

  // A point of the combo's client area in the list's client coordinates; true inside it.
  bool InList(LPARAM LParam, POINT& P) const {
    P = POINT{GET_X_LPARAM(LParam), GET_Y_LPARAM(LParam)};
    MapWindowPoints(Wnd, List, &P, 1);
    RECT C{};
    GetClientRect(List, &C);
    return IsWindowVisible(Drop) && PtInRect(&C, P);
  }
  int RowAt(POINT P) const {
    const LRESULT R = ToList(LB_ITEMFROMPOINT, 0, PointToLParam(P.X, P.Y));
    return HIWORD(static_cast<uintptr_t>(R)) ? -1 : LOWORD(static_cast<uintptr_t>(R));
  }

  void MouseDown(LPARAM LParam) {
    if (!Dropped) {
      if (GetFocus() != Wnd) SetFocus(Wnd);
      Open();
      PressOpened = true;
      return;
    }
    POINT P{};
    if (!InList(LParam, P)) Close(false);
  }
  void MouseMove(LPARAM LParam) {
    POINT P{};
    if (!Dropped || !InList(LParam, P)) return;
    const int Row = RowAt(P);
    if (Row >= 0 && Row != ToList(LB_GETCURSEL, 0, 0)) ToList(LB_SETCURSEL, static_cast<WPARAM>(Row), 0);
  }
  void MouseUp(LPARAM LParam) {
    if (!Dropped) return;
    POINT P{};
    if (InList(LParam, P)) {
      if (const int Row = RowAt(P); Row >= 0) {
        ToList(LB_SETCURSEL, static_cast<WPARAM>(Row), 0);
        Close(true);
      }
      return;
    }
    PressOpened = false;
  }

  void Step(int Delta, bool ToEnd) {
    const int N = Count();
    if (N == 0) return;
    const int From = Dropped ? static_cast<int>(ToList(LB_GETCURSEL, 0, 0)) : Cur;
    int To = ToEnd ? (Delta < 0 ? 0 : N - 1) : (From < 0 ? 0 : From + Delta);
    To = std::clamp(To, 0, N - 1);
    if (Dropped)
      ToList(LB_SETCURSEL, static_cast<WPARAM>(To), 0);
    else
      Choose(To);
  }
  bool KeyDown(WPARAM Vk) {
    const int Page = std::max(1, std::min(Count(), MinVisible) - 1);
    switch (Vk) {
      case VK_F4: Dropped ? Close(true) : Open(); return true;
      case VK_UP: Step(-1, false); return true;
      case VK_DOWN: Step(1, false); return true;
      case VK_PRIOR: Step(-Page, false); return true;
      case VK_NEXT: Step(Page, false); return true;
      case VK_HOME: Step(-1, true); return true;
      case VK_END: Step(1, true); return true;
      case VK_RETURN: if (Dropped) Close(true); return Dropped;
      case VK_ESCAPE: if (Dropped) Close(false); return Dropped;
      default: return false;
    }
  }
  void Char(char32_t C) {
    if (C < 0x20 || C == 0x7F) return;
    const int From = Dropped ? static_cast<int>(ToList(LB_GETCURSEL, 0, 0)) : Cur;
    std::string Prefix;
    if (C < 0x80) Prefix = std::string(1, static_cast<char>(C));
    else return;
    const LRESULT Found = ToList(LB_FINDSTRING, static_cast<WPARAM>(From), reinterpret_cast<LPARAM>(Prefix.c_str()));
    if (Found < 0) return;
    if (Dropped)
      ToList(LB_SETCURSEL, static_cast<WPARAM>(Found), 0);
    else
      Choose(static_cast<int>(Found));
  }

  void Paint(HDC Dc) {
    SavedDC Saved(Dc);
    RECT C{};
    GetClientRect(Wnd, &C);
    HBRUSH Back = nullptr;
    SetTextColor(Dc, GetSysColor(COLOR_WINDOWTEXT));
    if (HWND Parent = GetParent(Wnd))
      Back = reinterpret_cast<HBRUSH>(
          SendMessage(Parent, WM_CTLCOLORLISTBOX, reinterpret_cast<WPARAM>(Dc), reinterpret_cast<LPARAM>(Wnd)));
    FillRect(Dc, &C, Back ? Back : GetSysColorBrush(COLOR_WINDOW));
    FrameRect(Dc, &C, GetSysColorBrush(COLOR_BTNSHADOW));
    RECT Button{C.Right - ComboButtonWidth, C.Top + 1, C.Right - 1, C.Bottom - 1};
    FillRect(Dc, &Button, GetSysColorBrush(COLOR_BTNFACE));
    const int Cx = (Button.Left + Button.Right) / 2, Cy = (Button.Top + Button.Bottom) / 2 - 1;
    for (int I = 0; I < 4; ++I) {
      RECT Line{Cx - 3 + I, Cy + I, Cx + 4 - I, Cy + I + 1};
      FillRect(Dc, &Line, GetSysColorBrush(IsWindowEnabled(Wnd) ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
    }
    RECT Field{C.Left + 2, C.Top + 2, Button.Left - 1, C.Bottom - 2};
    if (Focused && !Dropped) {
      FillRect(Dc, &Field, GetSysColorBrush(COLOR_HIGHLIGHT));
      SetTextColor(Dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
    }
    if (!IsWindowEnabled(Wnd)) SetTextColor(Dc, GetSysColor(COLOR_GRAYTEXT));
    if (Cur >= 0) {
      SetBkMode(Dc, TRANSPARENT);
      SelectObject(Dc, Font ? Font : GetDefaultDcFont());
      RECT T = Field;
      T.Left += 2;
      DrawText(Dc, TextOf(Cur), -1, &T, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    }
  }
};

ComboState* ComboOf(HWND Wnd) { return NativeState<ComboState>(Wnd); }

LRESULT ComboListMessage(ComboState& S, UINT Msg, WPARAM WParam, LPARAM LParam) {
  const int Index = static_cast<int>(static_cast<LONG_PTR>(WParam));
  switch (Msg) {
    case CB_ADDSTRING: {
      const LRESULT At = S.ToList(LB_ADDSTRING, 0, LParam);
      if (At >= 0 && S.Cur >= 0 && At <= S.Cur) ++S.Cur;
      return At;
    }
    case CB_INSERTSTRING: {
      const LRESULT At = S.ToList(LB_INSERTSTRING, WParam, LParam);
      if (At >= 0 && S.Cur >= 0 && At <= S.Cur) ++S.Cur;
      return At;
    }
    case CB_DELETESTRING: {
      const LRESULT Left = S.ToList(LB_DELETESTRING, WParam, 0);
      if (Left >= 0) {
        if (Index == S.Cur)
          S.SetCur(-1);
        else if (Index < S.Cur)
          --S.Cur;
      }
      return Left;
    }
    case CB_RESETCONTENT: S.ToList(LB_RESETCONTENT, 0, 0); S.SetCur(-1); return CB_OKAY;
    case CB_GETCOUNT: return S.Count();
    case CB_GETLBTEXT: return S.ToList(LB_GETTEXT, WParam, LParam);
    case CB_GETLBTEXTLEN: return S.ToList(LB_GETTEXTLEN, WParam, 0);
    case CB_FINDSTRING: return S.ToList(LB_FINDSTRING, WParam, LParam);
    case CB_FINDSTRINGEXACT: return S.ToList(LB_FINDSTRINGEXACT, WParam, LParam);
    case CB_GETITEMDATA: return S.ToList(LB_GETITEMDATA, WParam, 0);
    case CB_SETITEMDATA: return S.ToList(LB_SETITEMDATA, WParam, LParam);
    case CB_SETITEMHEIGHT: return S.ToList(LB_SETITEMHEIGHT, 0, LParam);
    case CB_GETITEMHEIGHT: return S.ToList(LB_GETITEMHEIGHT, 0, 0);
    case CB_GETCURSEL: return S.Cur >= 0 ? S.Cur : CB_ERR;
    case CB_SETCURSEL:
      S.SetCur(Index);
      return S.Cur >= 0 ? S.Cur : CB_ERR;
    case CB_SELECTSTRING: {
      const LRESULT Found = S.ToList(LB_FINDSTRING, WParam, LParam);
      if (Found >= 0) S.SetCur(static_cast<int>(Found));
      return Found >= 0 ? Found : CB_ERR;
    }
    case CB_SHOWDROPDOWN:
      WParam ? S.Open() : S.Close(false);
      return TRUE;
    case CB_GETDROPPEDSTATE: return S.Dropped ? TRUE : FALSE;
    case CB_GETDROPPEDCONTROLRECT:
      if (auto* R = reinterpret_cast<RECT*>(LParam)) GetWindowRect(S.Drop, R);
      return TRUE;
    case CB_SETMINVISIBLE_MSG:
      if (Index < 1) return FALSE;
      S.MinVisible = Index;
      return TRUE;
    case CB_GETMINVISIBLE_MSG: return S.MinVisible;
    default: return CB_ERR;
  }
}

}  // namespace

LRESULT ComboDropWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  const HWND Combo = reinterpret_cast<HWND>(GetWindowLongPtr(Wnd, 0));
  switch (Msg) {
    case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
    case WM_COMMAND:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_CTLCOLORLISTBOX:
      return Combo && IsWindow(Combo) ? SendMessage(Combo, Msg, WParam, LParam) : 0;
    default: return DefWindowProc(Wnd, Msg, WParam, LParam);
  }
}

LRESULT ComboBoxWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  if (Msg == WM_NCCREATE) {
    const auto* Create = reinterpret_cast<const CREATESTRUCT*>(LParam);
    const DWORD Style = static_cast<DWORD>(Create->style);
    if ((Style & 0x3) != CBS_DROPDOWNLIST) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return FALSE;
    }
    if (!AttachNativeState<ComboState>(Wnd, Wnd, Style)) return FALSE;
    return DefWindowProc(Wnd, Msg, WParam, LParam);
  }
  ComboState* S = ComboOf(Wnd);
  if (!S) return DefWindowProc(Wnd, Msg, WParam, LParam);
  if ((Msg >= CB_ADDSTRING && Msg <= CB_FINDSTRINGEXACT) || Msg == CB_SETMINVISIBLE_MSG || Msg == CB_GETMINVISIBLE_MSG)
    return ComboListMessage(*S, Msg, WParam, LParam);
  switch (Msg) {
    case WM_CREATE:
      S->Create();
      return S->List ? 0 : -1;
    case WM_DESTROY:
      if (S->Drop) DestroyWindow(S->Drop);
      S->Drop = S->List = nullptr;
      return 0;
    case WM_NCDESTROY:
      DetachNativeState<ComboState>(Wnd);
      return DefWindowProc(Wnd, Msg, WParam, LParam);
    case WM_SETFONT:
      S->Font = reinterpret_cast<HFONT>(WParam);
      S->ToList(WM_SETFONT, WParam, LParam);
      InvalidateRect(Wnd, nullptr, TRUE);
      return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(S->Font);
    case WM_CTLCOLORLISTBOX:
      if (HWND Parent = GetParent(Wnd))
        return SendMessage(Parent, WM_CTLCOLORLISTBOX, WParam, reinterpret_cast<LPARAM>(Wnd));
      return 0;
    case WM_COMMAND:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
      return 0;  // the dropped list's own notifications: the combo box tracks the choice itself
    case WM_ERASEBKGND: return 1;
    case WM_PAINT:
    case WM_PRINTCLIENT: return PaintNativeControl(Wnd, WParam, *S);
    case WM_ENABLE:
    case WM_SIZE: InvalidateRect(Wnd, nullptr, TRUE); return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: S->MouseDown(LParam); return 0;
    case WM_MOUSEMOVE: S->MouseMove(LParam); return 0;
    case WM_LBUTTONUP: S->MouseUp(LParam); return 0;
    case WM_CAPTURECHANGED:
      if (S->Dropped && reinterpret_cast<HWND>(LParam) != Wnd) S->Close(false);
      return 0;
    case WM_KEYDOWN:
      if (!S->KeyDown(WParam)) return DefWindowProc(Wnd, Msg, WParam, LParam);
      return 0;
    case WM_SYSKEYDOWN:
      if (WParam == VK_DOWN || WParam == VK_UP) {
        S->Dropped ? S->Close(true) : S->Open();
        return 0;
      }
      return DefWindowProc(Wnd, Msg, WParam, LParam);
    case WM_CHAR: S->Char(static_cast<char32_t>(WParam)); return 0;
    case WM_SETFOCUS:
      S->Focused = true;
      InvalidateRect(Wnd, nullptr, TRUE);
      NotifyParentCommand(Wnd, CBN_SETFOCUS);
      return 0;
    case WM_KILLFOCUS:
      S->Focused = false;
      S->Close(false);
      InvalidateRect(Wnd, nullptr, TRUE);
      NotifyParentCommand(Wnd, CBN_KILLFOCUS);
      return 0;
    case WM_GETDLGCODE: return DLGC_WANTARROWS | DLGC_WANTCHARS | (S->Dropped ? DLGC_WANTALLKEYS : 0);
    default: return DefWindowProc(Wnd, Msg, WParam, LParam);
  }
}

}  // namespace vantrel::win
