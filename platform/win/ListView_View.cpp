// The list view's layout per style (report rows under the header, list columns, icon
// grids), its scroll state, scrolling by pixels, hit testing and painting. Only rows in
// view are drawn, so an owner-data view fetches only those.
#include <algorithm>

#include "platform/win/DrawText.h"
#include "platform/win/FocusRect.h"
#include "platform/win/Fonts.h"
#include "platform/win/ListView_State.h"
#include "platform/win/NativeControl.h"
#include "platform/win/Paint.h"
#include "platform/win/Scroll.h"
#include "platform/win/SysColors.h"
#include "platform/win/Text.h"
#include "platform/win/WindowDc.h"

namespace vantrel::win {

namespace {

RECT ListViewClient(HWND Wnd) {
  RECT R{};
  GetClientRect(Wnd, &R);
  return R;
}

// List style: a column's width before any label is known, the least one, and the room
// after the widest label.
constexpr int ListViewDefaultListWidth = 120;
constexpr int ListViewMinimumListWidth = 24;
constexpr int ListViewLabelSpace = 8;

int ListViewRound(int Value, int Step) {
  if (Step <= 0) return 0;
  return Value >= 0 ? (Value + Step / 2) / Step : -((-Value + Step / 2) / Step);
}

}  // namespace

void ListViewState::Created() {
  SetFont(static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)));
  if (ViewType() == LVS_REPORT && !(FStyle & LVS_NOCOLUMNHEADER)) CreateHeader();
  UpdateScroll();
}

void ListViewState::CreateHeader() {
  if (FHeader) return;
  DWORD Style = WS_CHILD | HDS_BUTTONS | HDS_HORZ;
  if (FExStyle & LVS_EX_HEADERDRAGDROP) Style |= HDS_DRAGDROP;
  // Made hidden: the parent hears of it (WM_PARENTNOTIFY) before it is first placed.
  FHeader = CreateWindowEx(0, WC_HEADER, "", Style, 0, 0, 0, 0, FWnd, nullptr, nullptr, nullptr);
  if (!FHeader) return;
  SendMessage(FHeader, WM_SETFONT, reinterpret_cast<WPARAM>(FFont), 0);
  for (int I = 0; I < ColumnCount(); ++I) {
    const ListViewColumn& C = FColumns[static_cast<size_t>(I)];
    HDITEM H;
    H.mask = HDI_TEXT | HDI_WIDTH | HDI_FORMAT;
    H.pszText = const_cast<char*>(C.Text.c_str());
    H.cxy = C.Width;
    H.fmt = C.Fmt | HDF_STRING;
    SendMessage(FHeader, HDM_INSERTITEM, static_cast<WPARAM>(I), reinterpret_cast<LPARAM>(&H));
  }
  if (!FOrder.empty()) SendMessage(FHeader, HDM_SETORDERARRAY, FOrder.size(), reinterpret_cast<LPARAM>(FOrder.data()));
  PlaceHeader();
}

void ListViewState::PlaceHeader() {
  if (!FHeader) return;
  if (ViewType() != LVS_REPORT || (FStyle & LVS_NOCOLUMNHEADER)) {
    ShowWindow(FHeader, SW_HIDE);
    return;
  }
  RECT C = ListViewClient(FWnd);
  WINDOWPOS Pos{};
  HDLAYOUT Layout{&C, &Pos};
  SendMessage(FHeader, HDM_LAYOUT, 0, reinterpret_cast<LPARAM>(&Layout));
  SetWindowPos(FHeader, nullptr, Pos.x, Pos.y, Pos.cx, Pos.cy, SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void ListViewState::StyleChanged(DWORD Style) {
  FStyle = Style;
  LabelsChanged();
  if (ViewType() == LVS_REPORT && !(FStyle & LVS_NOCOLUMNHEADER) && !FHeader) CreateHeader();
  PlaceHeader();
  ClampScroll();
  UpdateScroll();
  Invalidate();
}

void ListViewState::Resized() {
  PlaceHeader();
  ClampScroll();
  UpdateScroll();
  Invalidate();
}

void ListViewState::SetFont(HFONT Font) {
  FFont = Font ? Font : GetDefaultDcFont();
  HDC Dc = GetDC(FWnd);
  HGDIOBJ Old = SelectObject(Dc, FFont);
  TEXTMETRIC Tm{};
  GetTextMetrics(Dc, &Tm);
  SelectObject(Dc, Old);
  ReleaseDC(FWnd, Dc);
  FLineHeight = Tm.tmHeight > 0 ? static_cast<int>(Tm.tmHeight) : 16;
  LabelsChanged();
  if (FHeader) SendMessage(FHeader, WM_SETFONT, reinterpret_cast<WPARAM>(FFont), 1);
  PlaceHeader();
  UpdateScroll();
  Invalidate();
}

int ListViewState::StringWidth(const std::string& Text) const {
  HDC Dc = GetDC(FWnd);
  HGDIOBJ Old = SelectObject(Dc, FFont);
  SIZE S{};
  GetTextExtentPoint32(Dc, Text, -1, &S);
  SelectObject(Dc, Old);
  ReleaseDC(FWnd, Dc);
  return S.cx;
}

int ListViewState::RowHeight() const {
  int H = FLineHeight + 3;
  int CX = 0, CY = 0;
  if (FSmall && ImageList_GetIconSize(FSmall, &CX, &CY)) H = std::max(H, CY + 1);
  return std::max(1, H);
}

int ListViewState::HeaderHeight() const {
  if (!FHeader || ViewType() != LVS_REPORT || !IsWindowVisible(FHeader)) return 0;
  RECT R{};
  GetWindowRect(FHeader, &R);
  return R.Bottom - R.Top;
}

int ListViewState::TotalColumnWidth() const {
  int W = 0;
  for (const ListViewColumn& C : FColumns) W += C.Width;
  return W;
}

int ListViewState::ListColumnWidth() const {
  if (FListWidth > 0) return FListWidth;
  // Measured only where the list style needs it: the other styles never ask their parent
  // for every row.
  if (ViewType() != LVS_LIST) return FMeasuredListWidth > 0 ? FMeasuredListWidth : ListViewDefaultListWidth;
  if (FMeasuredListWidth < 0) FMeasuredListWidth = const_cast<ListViewState*>(this)->MeasureListColumn();
  return FMeasuredListWidth;
}

int ListViewState::MeasureListColumn() {
  const int N = Count();
  if (N == 0 || !FRedraw) return ListViewDefaultListWidth;
  int Widest = 0;
  HDC Dc = GetDC(FWnd);
  HGDIOBJ Old = SelectObject(Dc, FFont ? FFont : GetDefaultDcFont());
  for (int I = 0; I < N; ++I) {
    SIZE S{};
    GetTextExtentPoint32(Dc, CellText(I, 0), -1, &S);
    Widest = std::max(Widest, static_cast<int>(S.cx));
  }
  SelectObject(Dc, Old);
  ReleaseDC(FWnd, Dc);
  int IconW = 0, IconH = 0;
  if (FSmall) ImageList_GetIconSize(FSmall, &IconW, &IconH);
  // The icon and its gaps, the label and room for the focus frame and the next column.
  int Width = 2 + IconW + 2 + Widest + ListViewLabelSpace;
  const int ClientW = ListViewClient(FWnd).Right;
  if (ClientW > 0) Width = std::min(Width, ClientW);
  return std::max(Width, ListViewMinimumListWidth);
}

void ListViewState::LabelChanged(int Index) {
  if (FMeasuredListWidth < 0 || FListWidth > 0) return;
  if (ViewType() != LVS_LIST || !Valid(Index) || !FRedraw) {
    LabelsChanged();
    return;
  }
  int IconW = 0, IconH = 0;
  if (FSmall) ImageList_GetIconSize(FSmall, &IconW, &IconH);
  int Width = 2 + IconW + 2 + StringWidth(CellText(Index, 0)) + ListViewLabelSpace;
  const int ClientW = ListViewClient(FWnd).Right;
  if (ClientW > 0) Width = std::min(Width, ClientW);
  if (Width <= FMeasuredListWidth) return;
  FMeasuredListWidth = Width;
  ClampScroll();
  UpdateScroll();
  Invalidate();
}

bool ListViewState::SetListColumnWidth(int Width) {
  if (Width == LVSCW_AUTOSIZE || Width == LVSCW_AUTOSIZE_USEHEADER)
    FListWidth = 0;
  else if (Width > 0)
    FListWidth = Width;
  else
    return false;
  LabelsChanged();
  ClampScroll();
  UpdateScroll();
  Invalidate();
  return true;
}

int ListViewState::RowsPerColumn() const {
  return std::max(1, ListViewClient(FWnd).Bottom / RowHeight());
}

SIZE ListViewState::CellSize() const {
  if (ViewType() == LVS_ICON) {
    int CX = 32, CY = 32;
    if (FLarge) ImageList_GetIconSize(FLarge, &CX, &CY);
    return SIZE{std::max(75, CX + 20), CY + 6 + 2 * FLineHeight + 4};
  }
  return SIZE{ListColumnWidth(), RowHeight()};
}

int ListViewState::PerRow() const { return std::max(1, ListViewClient(FWnd).Right / std::max(1, CellSize().cx)); }

int ListViewState::CountPerPage() const {
  const RECT C = ListViewClient(FWnd);
  switch (ViewType()) {
    case LVS_REPORT: return std::max(0, (C.Bottom - HeaderHeight()) / RowHeight());
    case LVS_LIST: return RowsPerColumn() * std::max(1, C.Right / std::max(1, ListColumnWidth()));
    default: return PerRow() * std::max(1, C.Bottom / std::max(1, CellSize().cy));
  }
}

int ListViewState::TopIndex() const {
  switch (ViewType()) {
    case LVS_REPORT: return FTop;
    case LVS_LIST: return FTopColumn * RowsPerColumn();
    default: return 0;
  }
}

RECT ListViewState::ItemRect(int Index, int Code) const {
  int SmallW = 0, SmallH = 0;
  if (FSmall) ImageList_GetIconSize(FSmall, &SmallW, &SmallH);
  RECT Bounds{}, Icon{}, Label{};
  switch (ViewType()) {
    case LVS_REPORT: {
      const int Y = HeaderHeight() + (Index - FTop) * RowHeight();
      const int X0 = -FXPos;
      Bounds = RECT{X0, Y, X0 + TotalColumnWidth(), Y + RowHeight()};
      const RECT First = SubItemRect(Index, 0);
      Icon = RECT{First.Left + 2, Y, First.Left + 2 + SmallW, Y + RowHeight()};
      Label = RECT{Icon.Right, Y, First.Right, Y + RowHeight()};
      break;
    }
    case LVS_LIST:
    case LVS_SMALLICON: {
      int X, Y;
      const SIZE Cell = CellSize();
      if (ViewType() == LVS_LIST) {
        const int Rows = RowsPerColumn();
        X = (Index / Rows - FTopColumn) * Cell.cx;
        Y = (Index % Rows) * Cell.cy;
      } else {
        X = (Index % PerRow()) * Cell.cx - FXPos;
        Y = (Index / PerRow()) * Cell.cy - FYPos;
      }
      Bounds = RECT{X, Y, X + Cell.cx, Y + Cell.cy};
      Icon = RECT{X + 2, Y, X + 2 + SmallW, Y + Cell.cy};
      Label = RECT{Icon.Right + 2, Y, X + Cell.cx, Y + Cell.cy};
      break;
    }
    default: {
      const SIZE Cell = CellSize();
      const int X = (Index % PerRow()) * Cell.cx - FXPos, Y = (Index / PerRow()) * Cell.cy - FYPos;
      int CX = 32, CY = 32;
      if (FLarge) ImageList_GetIconSize(FLarge, &CX, &CY);
      Bounds = RECT{X, Y, X + Cell.cx, Y + Cell.cy};
      Icon = RECT{X + (Cell.cx - CX) / 2, Y + 2, X + (Cell.cx + CX) / 2, Y + 2 + CY};
      Label = RECT{X + 2, Icon.Bottom + 2, X + Cell.cx - 2, Y + Cell.cy};
      break;
    }
  }
  if (Code == LVIR_ICON) return Icon;
  if (Code == LVIR_LABEL) return Label;
  if (Code == LVIR_SELECTBOUNDS) {
    RECT U{};
    UnionRect(&U, &Icon, &Label);
    return U;
  }
  return Bounds;
}

RECT ListViewState::SubItemRect(int Index, int Column) const {
  const int Y = HeaderHeight() + (Index - FTop) * RowHeight();
  int X = -FXPos;
  for (int C : ColumnOrder()) {
    const int W = FColumns[static_cast<size_t>(C)].Width;
    if (C == Column) return RECT{X, Y, X + W, Y + RowHeight()};
    X += W;
  }
  return RECT{X, Y, X, Y + RowHeight()};
}

int ListViewState::HitTest(POINT P, UINT& Flags, int* SubItem) const {
  const RECT C = ListViewClient(FWnd);
  Flags = 0;
  if (SubItem) *SubItem = 0;
  if (P.Y < 0) Flags |= LVHT_ABOVE;
  if (P.Y >= C.Bottom) Flags |= LVHT_BELOW;
  if (P.X < 0) Flags |= LVHT_TOLEFT;
  if (P.X >= C.Right) Flags |= LVHT_TORIGHT;
  if (Flags) return -1;
  int Index = -1;
  switch (ViewType()) {
    case LVS_REPORT:
      if (P.Y >= HeaderHeight()) Index = FTop + (P.Y - HeaderHeight()) / RowHeight();
      break;
    case LVS_LIST: {
      const int Col = P.X / std::max(1, ListColumnWidth());
      const int Row = P.Y / RowHeight();
      if (Row < RowsPerColumn()) Index = (FTopColumn + Col) * RowsPerColumn() + Row;
      break;
    }
    default: {
      const SIZE Cell = CellSize();
      const int Col = (P.X + FXPos) / std::max(1, static_cast<int>(Cell.cx));
      const int Row = (P.Y + FYPos) / std::max(1, static_cast<int>(Cell.cy));
      if (Col < PerRow()) Index = Row * PerRow() + Col;
      break;
    }
  }
  if (!Valid(Index)) {
    Flags = LVHT_NOWHERE;
    return -1;
  }
  const RECT Icon = ItemRect(Index, LVIR_ICON), Label = ItemRect(Index, LVIR_LABEL);
  if (ViewType() == LVS_REPORT) {
    int X = -FXPos, Column = -1;
    for (int Ci : ColumnOrder()) {
      const int W = FColumns[static_cast<size_t>(Ci)].Width;
      if (P.X >= X && P.X < X + W) Column = Ci;
      X += W;
    }
    if (SubItem) *SubItem = std::max(0, Column);
    if (PtInRect(&Icon, P))
      Flags = LVHT_ONITEMICON;
    else if (PtInRect(&Label, P) || (Column >= 0 && (FExStyle & LVS_EX_FULLROWSELECT)))
      Flags = LVHT_ONITEMLABEL;
    else
      Flags = LVHT_NOWHERE;
    return Flags == LVHT_NOWHERE ? -1 : Index;
  }
  if (PtInRect(&Icon, P))
    Flags = LVHT_ONITEMICON;
  else if (PtInRect(&Label, P))
    Flags = LVHT_ONITEMLABEL;
  else
    Flags = LVHT_NOWHERE;
  return Flags == LVHT_NOWHERE ? -1 : Index;
}

void ListViewState::ClampScroll() {
  const RECT C = ListViewClient(FWnd);
  FTop = std::clamp(FTop, 0, std::max(0, Count() - CountPerPage()));
  const int Rows = RowsPerColumn();
  const int Columns = (Count() + Rows - 1) / Rows;
  FTopColumn = std::clamp(FTopColumn, 0, std::max(0, Columns - C.Right / std::max(1, ListColumnWidth())));
  if (ViewType() == LVS_REPORT) {
    FXPos = std::clamp(FXPos, 0, std::max(0, TotalColumnWidth() - C.Right));
    FYPos = 0;
  } else if (ViewType() != LVS_LIST) {
    const SIZE Cell = CellSize();
    const int ContentH = ((Count() + PerRow() - 1) / PerRow()) * Cell.cy;
    FYPos = std::clamp(FYPos, 0, std::max(0, ContentH - C.Bottom));
    FXPos = std::clamp(FXPos, 0, std::max(0, PerRow() * static_cast<int>(Cell.cx) - C.Right));
  }
}

void ListViewState::UpdateScroll() {
  const RECT C = ListViewClient(FWnd);
  SCROLLINFO V{}, H{};
  V.fMask = H.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  switch (ViewType()) {
    case LVS_REPORT:
      if (Count() > 0) {
        V.nMax = Count() - 1;
        V.nPage = static_cast<UINT>(CountPerPage());
        V.nPos = FTop;
      }
      if (TotalColumnWidth() > 0) {
        H.nMax = TotalColumnWidth() - 1;
        H.nPage = static_cast<UINT>(std::max(0, static_cast<int>(C.Right)));
        H.nPos = FXPos;
      }
      break;
    case LVS_LIST: {
      const int Rows = RowsPerColumn();
      const int Columns = (Count() + Rows - 1) / Rows;
      if (Columns > 0) {
        H.nMax = Columns - 1;
        H.nPage = static_cast<UINT>(std::max(1, static_cast<int>(C.Right) / std::max(1, ListColumnWidth())));
        H.nPos = FTopColumn;
      }
      break;
    }
    default: {
      const SIZE Cell = CellSize();
      const int ContentH = ((Count() + PerRow() - 1) / PerRow()) * Cell.cy;
      const int ContentW = Count() > 0 ? std::min(Count(), PerRow()) * static_cast<int>(Cell.cx) : 0;
      if (ContentH > 0) {
        V.nMax = ContentH - 1;
        V.nPage = static_cast<UINT>(std::max(0, static_cast<int>(C.Bottom)));
        V.nPos = FYPos;
      }
      if (ContentW > 0) {
        H.nMax = ContentW - 1;
        H.nPage = static_cast<UINT>(std::max(0, static_cast<int>(C.Right)));
        H.nPos = FXPos;
      }
      break;
    }
  }
  SetScrollInfo(FWnd, SB_VERT, &V, FALSE);
  SetScrollInfo(FWnd, SB_HORZ, &H, FALSE);
}

void ListViewState::ScrollRowsFrom(int OldTop) {
  // Only the rows that come into view are painted (and, for owner data, fetched).
  if (!FRedraw || OldTop == FTop) return;
  RECT Area = ListViewClient(FWnd);
  Area.Top = HeaderHeight();
  ScrollWindowEx(FWnd, 0, (OldTop - FTop) * RowHeight(), &Area, &Area, nullptr, nullptr, SW_INVALIDATE);
}

void ListViewState::Scroll(int DX, int DY) {
  if (ViewType() == LVS_REPORT && DX == 0) {
    const int Old = FTop;
    FTop += ListViewRound(DY, RowHeight());
    ClampScroll();
    UpdateScroll();
    ScrollRowsFrom(Old);
    return;
  }
  switch (ViewType()) {
    case LVS_REPORT:
      FTop += ListViewRound(DY, RowHeight());
      FXPos += DX;
      break;
    case LVS_LIST: FTopColumn += ListViewRound(DX, ListColumnWidth()); break;
    default:
      FXPos += DX;
      FYPos += DY;
      break;
  }
  ClampScroll();
  UpdateScroll();
  Invalidate();
}

void ListViewState::OnScroll(bool Vertical, WORD Code, int Thumb) {
  if (FEditWnd && Code != SB_ENDSCROLL) EndEdit(false);  // the label moves away from its editor
  const RECT C = ListViewClient(FWnd);
  const DWORD Type = ViewType();
  // Steps in the bar's own units: rows, columns or pixels.
  int Pos, Line, Page;
  if (Type == LVS_REPORT && Vertical) {
    Pos = FTop, Line = 1, Page = std::max(1, CountPerPage());
  } else if (Type == LVS_LIST) {
    if (Vertical) return;
    Pos = FTopColumn, Line = 1, Page = std::max(1, static_cast<int>(C.Right) / std::max(1, ListColumnWidth()));
  } else if (Vertical) {
    Pos = FYPos, Line = std::max(1, static_cast<int>(CellSize().cy) / 2), Page = std::max(1, static_cast<int>(C.Bottom));
  } else {
    Pos = FXPos, Line = Type == LVS_REPORT ? 8 : std::max(1, static_cast<int>(CellSize().cx) / 2);
    Page = std::max(1, static_cast<int>(C.Right));
  }
  switch (Code) {
    case SB_LINEUP: Pos -= Line; break;
    case SB_LINEDOWN: Pos += Line; break;
    case SB_PAGEUP: Pos -= Page; break;
    case SB_PAGEDOWN: Pos += Page; break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: Pos = Thumb; break;
    case SB_TOP: Pos = 0; break;
    case SB_BOTTOM: Pos = 1 << 28; break;
    default: return;
  }
  if (Type == LVS_REPORT && Vertical) {
    const int Old = FTop;
    FTop = Pos;
    ClampScroll();
    UpdateScroll();
    ScrollRowsFrom(Old);
    return;
  }
  if (Type == LVS_LIST)
    FTopColumn = Pos;
  else if (Vertical)
    FYPos = Pos;
  else
    FXPos = Pos;
  ClampScroll();
  UpdateScroll();
  Invalidate();
}

bool ListViewState::EnsureVisible(int Index) {
  if (!Valid(Index)) return false;
  const RECT C = ListViewClient(FWnd);
  switch (ViewType()) {
    case LVS_REPORT: {
      const int Page = std::max(1, CountPerPage());
      if (Index < FTop) FTop = Index;
      else if (Index >= FTop + Page) FTop = Index - Page + 1;
      break;
    }
    case LVS_LIST: {
      const int Col = Index / RowsPerColumn();
      const int Whole = std::max(1, static_cast<int>(C.Right) / std::max(1, ListColumnWidth()));
      if (Col < FTopColumn) FTopColumn = Col;
      else if (Col >= FTopColumn + Whole) FTopColumn = Col - Whole + 1;
      break;
    }
    default: {
      const SIZE Cell = CellSize();
      const int Y = (Index / PerRow()) * Cell.cy;
      if (Y < FYPos) FYPos = Y;
      else if (Y + Cell.cy > FYPos + C.Bottom) FYPos = Y + Cell.cy - C.Bottom;
      break;
    }
  }
  ClampScroll();
  UpdateScroll();
  Invalidate();
  return true;
}

void ListViewState::Invalidate() {
  if (FRedraw) InvalidateRect(FWnd, nullptr, TRUE);
}

void ListViewState::InvalidateItem(int Index) {
  if (!FRedraw || !Valid(Index)) return;
  RECT R = ItemRect(Index, LVIR_BOUNDS);
  if (ViewType() == LVS_REPORT) {
    R.Left = 0;
    R.Right = ListViewClient(FWnd).Right;
  }
  InvalidateRect(FWnd, &R, TRUE);
}

void ListViewState::SetRedraw(bool On) {
  FRedraw = On;
  if (On) LabelsChanged();
  if (On) Invalidate();
}

void ListViewState::SetBkColor(COLORREF C) {
  FBkColor = C;
  Invalidate();
}

void ListViewState::PaintRow(HDC Dc, int Index) {
  const bool Selected = State(Index) & LVIS_SELECTED;
  const bool Shown = Selected && (FFocused || (FStyle & LVS_SHOWSELALWAYS));
  const RECT Bounds = ItemRect(Index, LVIR_BOUNDS);
  RECT Highlight = (FExStyle & LVS_EX_FULLROWSELECT) ? Bounds : ItemRect(Index, LVIR_LABEL);
  if (Shown) FillRect(Dc, &Highlight, GetSysColorBrush(FFocused ? COLOR_HIGHLIGHT : COLOR_BTNFACE));
  const COLORREF Text = GetSysColor(COLOR_WINDOWTEXT);
  const COLORREF SelectedText = GetSysColor(FFocused ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT);
  for (int Column : ColumnOrder()) {
    RECT Cell = SubItemRect(Index, Column);
    if (Cell.Right <= 0) continue;
    const ListViewColumn& Col = FColumns[static_cast<size_t>(Column)];
    UINT Align = DT_LEFT;
    if ((Col.Fmt & 3) == LVCFMT_RIGHT) Align = DT_RIGHT;
    if ((Col.Fmt & 3) == LVCFMT_CENTER) Align = DT_CENTER;
    RECT T = Cell;
    if (Column == 0) {
      const RECT Icon = ItemRect(Index, LVIR_ICON);
      if (FSmall) {
        const int Image = CellImage(Index);
        int CX = 0, CY = 0;
        ImageList_GetIconSize(FSmall, &CX, &CY);
        if (Image >= 0) ImageList_Draw(FSmall, Image, Dc, Icon.Left, Icon.Top + (RowHeight() - CY) / 2, ILD_TRANSPARENT);
      }
      T.Left = Icon.Right + 2;
      T.Right -= 2;
    } else {
      T.Left += 6;
      T.Right -= 6;
    }
    const bool InHighlight = Shown && (Column == 0 || (FExStyle & LVS_EX_FULLROWSELECT));
    SetTextColor(Dc, InHighlight ? SelectedText : Text);
    DrawText(Dc, CellText(Index, Column), -1, &T, Align | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
  }
  if (ColumnCount() == 0) {
    RECT T = ItemRect(Index, LVIR_LABEL);
    SetTextColor(Dc, Shown ? SelectedText : Text);
    DrawText(Dc, CellText(Index, 0), -1, &T, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
  }
  if (FFocused && Index == FFocus) DrawFocusRect(Dc, &Highlight);
}

void ListViewState::PaintIconCell(HDC Dc, int Index, bool Large) {
  const bool Selected = State(Index) & LVIS_SELECTED;
  const bool Shown = Selected && (FFocused || (FStyle & LVS_SHOWSELALWAYS));
  const RECT Icon = ItemRect(Index, LVIR_ICON);
  RECT Label = ItemRect(Index, LVIR_LABEL);
  HIMAGELIST List = Large ? FLarge : FSmall;
  const int Image = List ? CellImage(Index) : -1;
  if (List && Image >= 0) {
    int CX = 0, CY = 0;
    ImageList_GetIconSize(List, &CX, &CY);
    ImageList_Draw(List, Image, Dc, Icon.Left, Icon.Top + ((Icon.Bottom - Icon.Top) - CY) / 2,
                   Shown && FFocused ? ILD_SELECTED : ILD_TRANSPARENT);
  }
  const std::string Text = CellText(Index, 0);
  const UINT Format = Large ? (DT_CENTER | DT_WORDBREAK | DT_NOPREFIX | DT_END_ELLIPSIS)
                            : (DT_LEFT | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
  if (Shown) {
    FillRect(Dc, &Label, GetSysColorBrush(FFocused ? COLOR_HIGHLIGHT : COLOR_BTNFACE));
    SetTextColor(Dc, GetSysColor(FFocused ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
  } else {
    SetTextColor(Dc, GetSysColor(COLOR_WINDOWTEXT));
  }
  DrawText(Dc, Text, -1, &Label, Format);
  if (FFocused && Index == FFocus) DrawFocusRect(Dc, &Label);
}

void ListViewState::Paint(HDC Dc) {
  SavedDC Saved(Dc);
  const RECT C = ListViewClient(FWnd);
  HBRUSH Back = FBkColor == CLR_NONE ? GetSysColorBrush(COLOR_WINDOW) : CreateSolidBrush(FBkColor);
  FillRect(Dc, &C, Back);
  if (FBkColor != CLR_NONE) DeleteObject(Back);
  SetBkMode(Dc, TRANSPARENT);
  SelectObject(Dc, FFont ? FFont : GetDefaultDcFont());
  const int N = Count();
  switch (ViewType()) {
    case LVS_REPORT: {
      const int Rows = (C.Bottom - HeaderHeight() + RowHeight() - 1) / RowHeight();
      RECT Clip{};
      GetClipBox(Dc, &Clip);
      for (int I = FTop; I < N && I < FTop + Rows; ++I) {
        const RECT Row{0, HeaderHeight() + (I - FTop) * RowHeight(), C.Right, HeaderHeight() + (I - FTop + 1) * RowHeight()};
        RECT Hit{};
        if (IntersectRect(&Hit, &Row, &Clip)) PaintRow(Dc, I);
      }
      break;
    }
    case LVS_LIST: {
      const int Rows = RowsPerColumn();
      const int Columns = (C.Right + ListColumnWidth() - 1) / std::max(1, ListColumnWidth());
      for (int I = FTopColumn * Rows; I < N && I < (FTopColumn + Columns) * Rows; ++I) PaintIconCell(Dc, I, false);
      break;
    }
    default: {
      const SIZE Cell = CellSize();
      const int First = (FYPos / std::max(1, static_cast<int>(Cell.cy))) * PerRow();
      const int Last = ((FYPos + C.Bottom) / std::max(1, static_cast<int>(Cell.cy)) + 1) * PerRow();
      for (int I = First; I < N && I < Last; ++I) PaintIconCell(Dc, I, ViewType() == LVS_ICON);
      break;
    }
  }
}

}  // namespace vantrel::win
