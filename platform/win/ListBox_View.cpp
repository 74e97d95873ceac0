// The list box's geometry, scrolling and painting: rows (or columns of rows) from the
// first visible one, the scroll state it publishes instead of drawing bars, plain rows
// with the selection in the highlight colour and a focus rectangle, or rows drawn by the
// parent (WM_DRAWITEM).
#include <algorithm>

#include "platform/win/DrawText.h"
#include "platform/win/FocusRect.h"
#include "platform/win/Fonts.h"
#include "platform/win/ListBox_State.h"
#include "platform/win/NativeControl.h"
#include "platform/win/Paint.h"
#include "platform/win/Scroll.h"
#include "platform/win/SysColors.h"
#include "platform/win/Text.h"
#include "platform/win/WindowDc.h"

namespace vantrel::win {

namespace {

int LineHeightOfFont(HWND Wnd, HFONT Font) {
  HDC Dc = GetDC(Wnd);
  if (!Dc) return 16;
  HGDIOBJ Old = SelectObject(Dc, Font);
  TEXTMETRIC Tm{};
  GetTextMetrics(Dc, &Tm);
  SelectObject(Dc, Old);
  ReleaseDC(Wnd, Dc);
  return Tm.tmHeight > 0 ? static_cast<int>(Tm.tmHeight) : 16;
}

}  // namespace

RECT ListBoxState::Client() const {
  RECT R{};
  GetClientRect(FWnd, &R);
  return R;
}

int ListBoxState::WholeRows() const { return std::max(1, Client().Bottom / std::max(1, FItemHeight)); }

int ListBoxState::WholeColumns() const { return std::max(1, Client().Right / std::max(1, FColumnWidth)); }

int ListBoxState::MaxTop() const {
  if (!MultiColumn()) return std::max(0, Count() - WholeRows());
  const int Rows = RowsPerColumn();
  const int Columns = (Count() + Rows - 1) / Rows;
  return std::max(0, Columns - WholeColumns()) * Rows;
}

int ListBoxState::HorzOffset() const { return MultiColumn() ? 0 : FHorzPos; }

void ListBoxState::SetTop(int Index) {
  Index = std::clamp(Index, 0, MaxTop());
  if (MultiColumn()) Index -= Index % RowsPerColumn();
  if (Index != FTop) {
    FTop = Index;
    InvalidateAll();
  }
  UpdateScroll();
}

void ListBoxState::MakeVisible(int Index) {
  if (!Valid(Index)) return;
  if (!MultiColumn()) {
    if (Index < FTop)
      SetTop(Index);
    else if (Index >= FTop + WholeRows())
      SetTop(Index - WholeRows() + 1);
    return;
  }
  const int Rows = RowsPerColumn();
  const int Column = Index / Rows, TopColumn = FTop / Rows;
  if (Column < TopColumn)
    SetTop(Column * Rows);
  else if (Column >= TopColumn + WholeColumns())
    SetTop((Column - WholeColumns() + 1) * Rows);
}

RECT ListBoxState::ItemRect(int Index) const {
  const RECT C = Client();
  if (!MultiColumn()) {
    const int Y = (Index - FTop) * FItemHeight;
    const int Right = std::max<int>(C.Right, FHorzExtent) - FHorzPos;
    return RECT{-FHorzPos, Y, Right, Y + FItemHeight};
  }
  const int Rows = RowsPerColumn();
  const int Column = Index / Rows - FTop / Rows;
  const int X = Column * FColumnWidth, Y = (Index % Rows) * FItemHeight;
  return RECT{X, Y, X + FColumnWidth, Y + FItemHeight};
}

int ListBoxState::ItemFromPoint(POINT P, bool& Outside) const {
  const RECT C = Client();
  Outside = P.X < 0 || P.Y < 0 || P.X >= C.Right || P.Y >= C.Bottom;
  if (Count() == 0) {
    Outside = true;
    return -1;
  }
  const int H = std::max(1, FItemHeight);
  const int Row = P.Y < 0 ? -1 - (-P.Y - 1) / H : P.Y / H;
  int Index;
  if (!MultiColumn()) {
    Index = FTop + Row;
  } else {
    const int Rows = RowsPerColumn();
    const int Column = P.X < 0 ? -1 : P.X / std::max(1, FColumnWidth);
    Index = FTop + Column * Rows + std::clamp(Row, 0, Rows - 1);
    if (Row >= Rows) Outside = true;
  }
  if (Index < 0 || Index >= Count()) Outside = true;
  return std::clamp(Index, 0, Count() - 1);
}

void ListBoxState::UpdateScroll() {
  SCROLLINFO V{}, H{};
  V.fMask = H.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  if (!MultiColumn()) {
    const int Rows = WholeRows();
    if (Count() > Rows) {
      V.nMax = Count() - 1;
      V.nPage = static_cast<UINT>(Rows);
      V.nPos = FTop;
    }
    const int Width = Client().Right;
    FHorzPos = FHorzExtent > Width ? std::clamp(FHorzPos, 0, FHorzExtent - Width) : 0;
    if (FHorzExtent > Width) {
      H.nMax = FHorzExtent - 1;
      H.nPage = static_cast<UINT>(std::max(0, Width));
      H.nPos = FHorzPos;
    }
  } else {
    const int Rows = RowsPerColumn();
    const int Columns = (Count() + Rows - 1) / Rows;
    if (Columns > WholeColumns()) {
      H.nMax = Columns - 1;
      H.nPage = static_cast<UINT>(WholeColumns());
      H.nPos = FTop / Rows;
    }
  }
  SetScrollInfo(FWnd, SB_VERT, &V, FALSE);
  SetScrollInfo(FWnd, SB_HORZ, &H, FALSE);
}

void ListBoxState::OnVScroll(WORD Code, int Thumb) {
  if (MultiColumn()) return;
  const int Page = WholeRows();
  switch (Code) {
    case SB_LINEUP: SetTop(FTop - 1); break;
    case SB_LINEDOWN: SetTop(FTop + 1); break;
    case SB_PAGEUP: SetTop(FTop - Page); break;
    case SB_PAGEDOWN: SetTop(FTop + Page); break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: SetTop(Thumb); break;
    case SB_TOP: SetTop(0); break;
    case SB_BOTTOM: SetTop(MaxTop()); break;
    default: break;
  }
}

void ListBoxState::OnHScroll(WORD Code, int Thumb) {
  if (MultiColumn()) {
    const int Rows = RowsPerColumn(), Column = FTop / Rows, Page = WholeColumns();
    switch (Code) {
      case SB_LINELEFT: SetTop((Column - 1) * Rows); break;
      case SB_LINERIGHT: SetTop((Column + 1) * Rows); break;
      case SB_PAGELEFT: SetTop((Column - Page) * Rows); break;
      case SB_PAGERIGHT: SetTop((Column + Page) * Rows); break;
      case SB_THUMBPOSITION:
      case SB_THUMBTRACK: SetTop(Thumb * Rows); break;
      case SB_LEFT: SetTop(0); break;
      case SB_RIGHT: SetTop(MaxTop()); break;
      default: break;
    }
    return;
  }
  const int Width = Client().Right, Max = std::max(0, FHorzExtent - Width);
  int Pos = FHorzPos;
  switch (Code) {
    case SB_LINELEFT: Pos -= 8; break;
    case SB_LINERIGHT: Pos += 8; break;
    case SB_PAGELEFT: Pos -= Width; break;
    case SB_PAGERIGHT: Pos += Width; break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: Pos = Thumb; break;
    case SB_LEFT: Pos = 0; break;
    case SB_RIGHT: Pos = Max; break;
    default: return;
  }
  Pos = std::clamp(Pos, 0, Max);
  if (Pos != FHorzPos) {
    FHorzPos = Pos;
    InvalidateAll();
  }
  UpdateScroll();
}

bool ListBoxState::SetItemHeight(int Height) {
  if (Height < 1 || Height > 255) return false;
  if (Height != FItemHeight) {
    FItemHeight = Height;
    FTop = std::clamp(FTop, 0, MaxTop());
    InvalidateAll();
    FitIntegralHeight();
  }
  UpdateScroll();
  return true;
}

void ListBoxState::FitIntegralHeight() {
  if ((FStyle & (LBS_NOINTEGRALHEIGHT | LBS_OWNERDRAWVARIABLE)) || FFitting) return;
  const int Height = Client().Bottom;
  // A height given from outside is what the rows are fitted into, also when the rows
  // change height later (so fitting twice never cuts twice).
  if (FFittedHeight < 0 || Height != FFittedHeight) FAskedHeight = Height;
  const int Part = FAskedHeight % std::max(1, FItemHeight);
  // A list shorter than one row keeps its size.
  const int Want = FAskedHeight <= FItemHeight ? FAskedHeight : FAskedHeight - Part;
  FFittedHeight = Want;
  if (Want == Height) return;
  RECT W{};
  GetWindowRect(FWnd, &W);
  FFitting = true;
  SetWindowPos(FWnd, nullptr, 0, 0, W.Right - W.Left, W.Bottom - W.Top - (Height - Want),
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  FFitting = false;
}

void ListBoxState::SetColumnWidth(int Width) {
  if (Width <= 0) return;
  FColumnWidth = Width;
  FTop = std::clamp(FTop, 0, MaxTop());
  UpdateScroll();
  InvalidateAll();
}

void ListBoxState::SetHorizontalExtent(int Extent) {
  FHorzExtent = std::max(0, Extent);
  UpdateScroll();
  InvalidateAll();
}

void ListBoxState::InvalidateItem(int Index) {
  if (!FRedraw || !Valid(Index)) return;
  const RECT R = ItemRect(Index);
  InvalidateRect(FWnd, &R, FALSE);
}

void ListBoxState::InvalidateAll() {
  if (FRedraw) InvalidateRect(FWnd, nullptr, TRUE);
}

void ListBoxState::SetRedraw(bool On) {
  FRedraw = On;
  if (On) InvalidateAll();
}

void ListBoxState::SetFont(HFONT Font, bool Redraw) {
  FFont = Font;
  if (!OwnerDraw()) SetItemHeight(std::clamp(LineHeightOfFont(FWnd, Font ? Font : GetDefaultDcFont()), 1, 255));
  if (Redraw) InvalidateAll();
}

void ListBoxState::StyleChanged(DWORD Style) {
  FStyle = Style;
  UpdateScroll();
  InvalidateAll();
}

void ListBoxState::Created() {
  FFont = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  FItemHeight = std::clamp(LineHeightOfFont(FWnd, FFont), 1, 255);
  if (FStyle & LBS_OWNERDRAWFIXED) {
    MEASUREITEMSTRUCT Measure;
    Measure.CtlType = ODT_LISTBOX;
    Measure.CtlID = static_cast<UINT>(ControlId(FWnd));
    Measure.itemWidth = static_cast<UINT>(std::max(0, Client().Right));
    Measure.itemHeight = static_cast<UINT>(FItemHeight);
    if (HWND Parent = GetParent(FWnd))
      SendMessage(Parent, WM_MEASUREITEM, Measure.CtlID, reinterpret_cast<LPARAM>(&Measure));
    if (Measure.itemHeight >= 1 && Measure.itemHeight <= 255) FItemHeight = static_cast<int>(Measure.itemHeight);
  }
  FitIntegralHeight();
  UpdateScroll();
}

HBRUSH ListBoxState::BackgroundBrush(HDC Dc) {
  SetTextColor(Dc, GetSysColor(COLOR_WINDOWTEXT));
  SetBkColor(Dc, GetSysColor(COLOR_WINDOW));
  HBRUSH Brush = nullptr;
  if (HWND Parent = GetParent(FWnd))
    Brush = reinterpret_cast<HBRUSH>(
        SendMessage(Parent, WM_CTLCOLORLISTBOX, reinterpret_cast<WPARAM>(Dc), reinterpret_cast<LPARAM>(FWnd)));
  return Brush ? Brush : GetSysColorBrush(COLOR_WINDOW);
}

void ListBoxState::EraseBackground(HDC Dc) {
  SavedDC Saved(Dc);
  const RECT C = Client();
  FillRect(Dc, &C, BackgroundBrush(Dc));
}

void ListBoxState::DrawItem(HDC Dc, int Index, UINT Action) {
  const RECT R = ItemRect(Index);
  UINT State = 0;
  if (IsSelected(Index)) State |= ODS_SELECTED;
  if (FFocused && Index == FCaret) State |= ODS_FOCUS;
  if (!IsWindowEnabled(FWnd)) State |= ODS_DISABLED;
  if (OwnerDraw()) {
    DRAWITEMSTRUCT Draw;
    Draw.CtlType = ODT_LISTBOX;
    Draw.CtlID = static_cast<UINT>(ControlId(FWnd));
    Draw.itemID = static_cast<UINT>(Index);
    Draw.itemAction = Action;
    Draw.itemState = State;
    Draw.hwndItem = FWnd;
    Draw.hDC = Dc;
    Draw.rcItem = R;
    Draw.itemData = Item(Index).Data;
    SavedDC Saved(Dc);
    if (HWND Parent = GetParent(FWnd))
      SendMessage(Parent, WM_DRAWITEM, Draw.CtlID, reinterpret_cast<LPARAM>(&Draw));
    return;
  }
  SavedDC Saved(Dc);
  HBRUSH Back = BackgroundBrush(Dc);
  if (State & ODS_SELECTED) {
    FillRect(Dc, &R, GetSysColorBrush(COLOR_HIGHLIGHT));
    SetTextColor(Dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
  } else {
    FillRect(Dc, &R, Back);
  }
  if (State & ODS_DISABLED) SetTextColor(Dc, GetSysColor(COLOR_GRAYTEXT));
  SetBkMode(Dc, TRANSPARENT);
  SelectObject(Dc, FFont ? FFont : GetDefaultDcFont());
  RECT T = R;
  T.Left += 2;
  UINT Format = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;
  if (FStyle & LBS_USETABSTOPS) Format |= DT_EXPANDTABS;
  DrawText(Dc, Item(Index).Text, -1, &T, Format);
  if (State & ODS_FOCUS) DrawFocusRect(Dc, &R);
}

void ListBoxState::Paint(HDC Dc, const RECT* Area) {
  const RECT C = Client();
  if (C.Right <= 0 || C.Bottom <= 0) return;
  RECT Clip = Area ? *Area : C;
  int Bottom = 0;  // below the rows of a single-column list
  for (int I = FTop; I < Count(); ++I) {
    const RECT R = ItemRect(I);
    if (R.Top >= C.Bottom && !MultiColumn()) break;
    if (R.Left >= C.Right) break;
    Bottom = std::max<int>(Bottom, R.Bottom);
    RECT Hit{};
    if (IntersectRect(&Hit, &R, &Clip)) DrawItem(Dc, I, ODA_DRAWENTIRE);
  }
  if (!MultiColumn() && Bottom < C.Bottom) {
    SavedDC Saved(Dc);
    const RECT Rest{0, Bottom, C.Right, C.Bottom};
    FillRect(Dc, &Rest, BackgroundBrush(Dc));
  }
  if (Count() == 0 && FFocused && !OwnerDraw()) {
    const RECT R{0, 0, C.Right, FItemHeight};
    DrawFocusRect(Dc, &R);
  }
}

}  // namespace vantrel::win
