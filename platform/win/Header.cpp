// The column header: sections in display order, hit testing with dividers, divider
// tracking, clicks, section dragging with HDS_DRAGDROP, and flat-button painting.
#include "platform/win/Header.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "platform/win/Capture.h"
#include "platform/win/DrawText.h"
#include "platform/win/Fonts.h"
#include "platform/win/NativeControl.h"
#include "platform/win/Paint.h"
#include "platform/win/SysColors.h"
#include "platform/win/Text.h"
#include "platform/win/WindowDc.h"

namespace vantrel::win {

namespace {

constexpr int HeaderDividerSlop = 4;
constexpr int HeaderDragStart = 4;

struct HeaderSection {
  std::string Text;
  int Width = 50;
  int Fmt = HDF_LEFT | HDF_STRING;
  LPARAM Param = 0;
  int Image = -1;
};

struct HeaderState {
  HeaderState(HWND W, DWORD S) : Wnd(W), Style(S) {}
  HWND Wnd;
  DWORD Style;
  std::vector<HeaderSection> Sections;
  std::vector<int> Order;  // display position -> section index
  HFONT Font = nullptr;
  // Mouse.
  enum class Mode { None, Track, Press, Drag } MouseMode = Mode::None;
  int Item = -1;
  int StartX = 0;
  int StartWidth = 0;
  int DragX = 0;

  int Count() const { return static_cast<int>(Sections.size()); }
  int Left(int Index) const {
    int X = 0;
    for (int I : Order) {
      if (I == Index) return X;
      X += Sections[static_cast<size_t>(I)].Width;
    }
    return X;
  }
  RECT Rect(int Index) const {
    RECT C{};
    GetClientRect(Wnd, &C);
    const int L = Left(Index);
    return RECT{L, 0, L + Sections[static_cast<size_t>(Index)].Width, C.Bottom};
  }
  int OrderOf(int Index) const {
    auto It = std::find(Order.begin(), Order.end(), Index);
    return It == Order.end() ? -1 : static_cast<int>(It - Order.begin());
  }

  int HitTest(POINT P, UINT& Flags) const {
    RECT C{};
    GetClientRect(Wnd, &C);
    Flags = 0;
    if (P.Y < 0) Flags |= HHT_ABOVE;
    if (P.Y >= C.Bottom) Flags |= HHT_BELOW;
    if (P.X < 0) Flags |= HHT_TOLEFT;
    if (Flags) return -1;
    // Dividers first: the few pixels around a section's right edge belong to it.
    int X = 0;
    for (int I : Order) {
      X += Sections[static_cast<size_t>(I)].Width;
      if (P.X >= X - HeaderDividerSlop && P.X < X + HeaderDividerSlop) {
        Flags = HHT_ONDIVIDER;
        return I;
      }
    }
    X = 0;
    for (int I : Order) {
      const int W = Sections[static_cast<size_t>(I)].Width;
      if (P.X >= X && P.X < X + W) {
        Flags = HHT_ONHEADER;
        return I;
      }
      X += W;
    }
    Flags = HHT_NOWHERE | HHT_TORIGHT;
    return -1;
  }

  LRESULT Notify(UINT Code, int Index, HDITEM* Item = nullptr) {
    NMHEADER N{};
    N.iItem = Index;
    N.pitem = Item;
    return NotifyParent(Wnd, Code, N);
  }
  void NotifyWidth(UINT Code, int Index) {
    HDITEM Item;
    Item.mask = HDI_WIDTH;
    Item.cxy = Sections[static_cast<size_t>(Index)].Width;
    Notify(Code, Index, &Item);
  }

  int Insert(int At, const HDITEM& Item) {
    HeaderSection S;
    Apply(S, Item);
    At = std::clamp(At, 0, Count());
    Sections.insert(Sections.begin() + At, S);
    for (int& I : Order)
      if (I >= At) ++I;
    const int Pos = std::clamp((Item.mask & HDI_ORDER) ? Item.iOrder : At, 0, static_cast<int>(Order.size()));
    Order.insert(Order.begin() + Pos, At);
    InvalidateRect(Wnd, nullptr, TRUE);
    return At;
  }
  static void Apply(HeaderSection& S, const HDITEM& Item) {
    if (Item.mask & HDI_WIDTH) S.Width = std::max(0, Item.cxy);
    if ((Item.mask & HDI_TEXT) && Item.pszText) S.Text = Item.pszText;
    if (Item.mask & HDI_FORMAT) S.Fmt = Item.fmt;
    if (Item.mask & HDI_LPARAM) S.Param = Item.lParam;
    if (Item.mask & HDI_IMAGE) S.Image = Item.iImage;
  }
  bool Remove(int Index) {
    if (Index < 0 || Index >= Count()) return false;
    Sections.erase(Sections.begin() + Index);
    Order.erase(Order.begin() + OrderOf(Index));
    for (int& I : Order)
      if (I > Index) --I;
    InvalidateRect(Wnd, nullptr, TRUE);
    return true;
  }
  bool Get(int Index, HDITEM& Item) const {
    if (Index < 0 || Index >= Count()) return false;
    const HeaderSection& S = Sections[static_cast<size_t>(Index)];
    if (Item.mask & HDI_WIDTH) Item.cxy = S.Width;
    if ((Item.mask & HDI_TEXT) && Item.pszText && Item.cchTextMax > 0) {
      const size_t N = std::min(S.Text.size(), static_cast<size_t>(Item.cchTextMax - 1));
      std::memcpy(Item.pszText, S.Text.data(), N);
      Item.pszText[N] = '\0';
    }
    if (Item.mask & HDI_FORMAT) Item.fmt = S.Fmt;
    if (Item.mask & HDI_LPARAM) Item.lParam = S.Param;
    if (Item.mask & HDI_IMAGE) Item.iImage = S.Image;
    if (Item.mask & HDI_ORDER) Item.iOrder = OrderOf(Index);
    return true;
  }
  bool Set(int Index, const HDITEM& Item) {
    if (Index < 0 || Index >= Count()) return false;
    Apply(Sections[static_cast<size_t>(Index)], Item);
    if (Item.mask & HDI_ORDER) MoveTo(Index, Item.iOrder);
    InvalidateRect(Wnd, nullptr, TRUE);
    if (Item.mask & HDI_WIDTH) NotifyWidth(HDN_ITEMCHANGED, Index);
    return true;
  }
  void MoveTo(int Index, int Position) {
    const int From = OrderOf(Index);
    if (From < 0) return;
    Order.erase(Order.begin() + From);
    Position = std::clamp(Position, 0, static_cast<int>(Order.size()));
    Order.insert(Order.begin() + Position, Index);
  }
  // The display position a section dropped at X takes.
  int DropPosition(int X) const {
    int Left = 0, Pos = 0;
    for (int I : Order) {
      const int W = Sections[static_cast<size_t>(I)].Width;
      if (X < Left + W / 2) return Pos;
      Left += W;
      ++Pos;
    }
    return static_cast<int>(Order.size()) - 1;
  }

  void MouseDown(POINT P) {
    UINT Flags = 0;
    const int Hit = HitTest(P, Flags);
    if (Hit < 0) return;
    Item = Hit;
    StartX = DragX = P.X;
    if (Flags & HHT_ONDIVIDER) {
      StartWidth = Sections[static_cast<size_t>(Hit)].Width;
      HDITEM I;
      I.mask = HDI_WIDTH;
      I.cxy = StartWidth;
      if (Notify(HDN_BEGINTRACK, Hit, &I)) return;  // refused
      MouseMode = Mode::Track;
    } else {
      MouseMode = Mode::Press;
    }
    SetCapture(Wnd);
    InvalidateRect(Wnd, nullptr, TRUE);
  }
  void MouseMove(POINT P) {
    if (MouseMode == Mode::Track) {
      const int W = std::max(0, StartWidth + P.X - StartX);
      HDITEM I;
      I.mask = HDI_WIDTH;
      I.cxy = W;
      if (Notify(HDN_TRACK, Item, &I)) return;
      if (W != Sections[static_cast<size_t>(Item)].Width) {
        Sections[static_cast<size_t>(Item)].Width = W;
        InvalidateRect(Wnd, nullptr, TRUE);
        NotifyWidth(HDN_ITEMCHANGED, Item);
      }
    } else if (MouseMode == Mode::Press && (Style & HDS_DRAGDROP) && std::abs(P.X - StartX) > HeaderDragStart) {
      if (!Notify(HDN_BEGINDRAG, Item)) {
        MouseMode = Mode::Drag;
        DragX = P.X;
        InvalidateRect(Wnd, nullptr, TRUE);
      }
    } else if (MouseMode == Mode::Drag) {
      DragX = P.X;
      InvalidateRect(Wnd, nullptr, TRUE);
    }
  }
  void MouseUp(POINT P) {
    const Mode Was = MouseMode;
    MouseMode = Mode::None;
    if (GetCapture() == Wnd) ReleaseCapture();
    InvalidateRect(Wnd, nullptr, TRUE);
    if (Was == Mode::Track) {
      NotifyWidth(HDN_ENDTRACK, Item);
      NotifyWidth(HDN_ITEMCHANGED, Item);
    } else if (Was == Mode::Drag) {
      HDITEM I;
      I.mask = HDI_ORDER;
      I.iOrder = DropPosition(P.X);
      if (!Notify(HDN_ENDDRAG, Item, &I)) {
        MoveTo(Item, I.iOrder);
        HDITEM Changed;
        Changed.mask = HDI_ORDER;
        Changed.iOrder = I.iOrder;
        Notify(HDN_ITEMCHANGED, Item, &Changed);
      }
    } else if (Was == Mode::Press) {
      UINT Flags = 0;
      if (HitTest(P, Flags) == Item && (Flags & HHT_ONHEADER)) Notify(HDN_ITEMCLICK, Item);
    }
  }

  void PaintSection(HDC Dc, int Index, RECT R, bool Pressed) {
    const HeaderSection& S = Sections[static_cast<size_t>(Index)];
    FillRect(Dc, &R, GetSysColorBrush(Pressed ? COLOR_BTNSHADOW : COLOR_BTNFACE));
    RECT Line{R.Right - 1, R.Top, R.Right, R.Bottom};
    FillRect(Dc, &Line, GetSysColorBrush(COLOR_BTNSHADOW));
    Line = RECT{R.Left, R.Bottom - 1, R.Right, R.Bottom};
    FillRect(Dc, &Line, GetSysColorBrush(COLOR_BTNSHADOW));
    RECT T{R.Left + 6, R.Top, R.Right - 6, R.Bottom};
    UINT Align = DT_LEFT;
    if ((S.Fmt & HDF_JUSTIFYMASK) == HDF_RIGHT) Align = DT_RIGHT;
    if ((S.Fmt & HDF_JUSTIFYMASK) == HDF_CENTER) Align = DT_CENTER;
    SetTextColor(Dc, GetSysColor(COLOR_BTNTEXT));
    DrawText(Dc, S.Text, -1, &T, Align | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
  }
  void Paint(HDC Dc) {
    SavedDC Saved(Dc);
    RECT C{};
    GetClientRect(Wnd, &C);
    SetBkMode(Dc, TRANSPARENT);
    SelectObject(Dc, Font ? Font : GetDefaultDcFont());
    int X = 0;
    for (int I : Order) {
      const RECT R{X, 0, X + Sections[static_cast<size_t>(I)].Width, C.Bottom};
      PaintSection(Dc, I, R, MouseMode == Mode::Press && I == Item);
      X = R.Right;
    }
    if (X < C.Right) {
      RECT Rest{X, 0, C.Right, C.Bottom};
      FillRect(Dc, &Rest, GetSysColorBrush(COLOR_BTNFACE));
      RECT Line{X, C.Bottom - 1, C.Right, C.Bottom};
      FillRect(Dc, &Line, GetSysColorBrush(COLOR_BTNSHADOW));
    }
    if (MouseMode == Mode::Drag && Item >= 0) {  // the dragged section follows the pointer
      RECT R = Rect(Item);
      OffsetRect(&R, DragX - StartX, 0);
      PaintSection(Dc, Item, R, true);
    }
  }
  int PreferredHeight() const {
    HDC Dc = GetDC(Wnd);
    HGDIOBJ Old = SelectObject(Dc, Font ? Font : GetDefaultDcFont());
    TEXTMETRIC Tm{};
    GetTextMetrics(Dc, &Tm);
    SelectObject(Dc, Old);
    ReleaseDC(Wnd, Dc);
    return static_cast<int>(Tm.tmHeight) + 8;
  }
};

HeaderState* HeaderOf(HWND Wnd) { return NativeState<HeaderState>(Wnd); }

}  // namespace

LRESULT HeaderWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  if (Msg == WM_NCCREATE) {
    const auto* Create = reinterpret_cast<const CREATESTRUCT*>(LParam);
    if (!AttachNativeState<HeaderState>(Wnd, Wnd, static_cast<DWORD>(Create->style))) return FALSE;
    return DefWindowProc(Wnd, Msg, WParam, LParam);
  }
  HeaderState* S = HeaderOf(Wnd);
  if (!S) return DefWindowProc(Wnd, Msg, WParam, LParam);
  const int Index = static_cast<int>(static_cast<LONG_PTR>(WParam));
  const POINT P{GET_X_LPARAM(LParam), GET_Y_LPARAM(LParam)};
  switch (Msg) {
    case WM_NCDESTROY:
      DetachNativeState<HeaderState>(Wnd);
      return DefWindowProc(Wnd, Msg, WParam, LParam);
    case WM_CREATE: S->Font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)); return 0;
    case HDM_GETITEMCOUNT: return S->Count();
    case HDM_INSERTITEM: return LParam ? S->Insert(Index, *reinterpret_cast<const HDITEM*>(LParam)) : -1;
    case HDM_DELETEITEM: return S->Remove(Index) ? TRUE : FALSE;
    case HDM_GETITEM: return LParam && S->Get(Index, *reinterpret_cast<HDITEM*>(LParam)) ? TRUE : FALSE;
    case HDM_SETITEM: return LParam && S->Set(Index, *reinterpret_cast<const HDITEM*>(LParam)) ? TRUE : FALSE;
    case HDM_GETITEMRECT:
      if (Index < 0 || Index >= S->Count() || !LParam) return FALSE;
      *reinterpret_cast<RECT*>(LParam) = S->Rect(Index);
      return TRUE;
    case HDM_HITTEST: {
      auto* Info = reinterpret_cast<HDHITTESTINFO*>(LParam);
      if (!Info) return -1;
      Info->iItem = S->HitTest(Info->pt, Info->flags);
      return Info->iItem;
    }
    case HDM_ORDERTOINDEX:
      return Index >= 0 && Index < S->Count() ? S->Order[static_cast<size_t>(Index)] : Index;
    case HDM_GETORDERARRAY: {
      auto* Out = reinterpret_cast<int*>(LParam);
      if (!Out || Index < S->Count()) return FALSE;
      std::copy(S->Order.begin(), S->Order.end(), Out);
      return TRUE;
    }
    case HDM_SETORDERARRAY: {
      const auto* In = reinterpret_cast<const int*>(LParam);
      if (!In || Index != S->Count()) return FALSE;
      std::vector<int> Order(In, In + Index), Sorted(Order);
      std::sort(Sorted.begin(), Sorted.end());
      for (int I = 0; I < Index; ++I)
        if (Sorted[static_cast<size_t>(I)] != I) return FALSE;
      S->Order = Order;
      InvalidateRect(Wnd, nullptr, TRUE);
      return TRUE;
    }
    case HDM_LAYOUT: {
      auto* Layout = reinterpret_cast<HDLAYOUT*>(LParam);
      if (!Layout || !Layout->prc || !Layout->pwpos) return FALSE;
      const int H = (GetWindowLong(Wnd, GWL_STYLE) & HDS_HIDDEN) ? 0 : S->PreferredHeight();
      RECT& R = *Layout->prc;
      *Layout->pwpos = WINDOWPOS{Wnd, nullptr, R.Left, R.Top, R.Right - R.Left, H, 0};
      R.Top += H;
      return TRUE;
    }
    case WM_SETFONT: S->Font = reinterpret_cast<HFONT>(WParam); InvalidateRect(Wnd, nullptr, TRUE); return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(S->Font);
    case WM_STYLECHANGED:
      if (WParam == static_cast<WPARAM>(GWL_STYLE)) S->Style = reinterpret_cast<STYLESTRUCT*>(LParam)->styleNew;
      return 0;
    case WM_ERASEBKGND: return 1;
    case WM_PAINT:
    case WM_PRINTCLIENT: return PaintNativeControl(Wnd, WParam, *S);
    case WM_LBUTTONDOWN: S->MouseDown(P); return 0;
    case WM_MOUSEMOVE: S->MouseMove(P); return 0;
    case WM_LBUTTONUP: S->MouseUp(P); return 0;
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(LParam) != Wnd) S->MouseMode = HeaderState::Mode::None;
      return 0;
    default: return DefWindowProc(Wnd, Msg, WParam, LParam);
  }
}

}  // namespace vantrel::win
