// The tree view's rows: layout of lines, buttons, images and labels, hit testing, the
// scroll state (rows vertically, pixels sideways) and painting.
#include <algorithm>

#include "platform/rtl/Utf8.h"
#include "platform/win/DrawText.h"
#include "platform/win/Paint.h"
#include "platform/win/Scroll.h"
#include "platform/win/SysColors.h"
#include "platform/win/Text.h"
#include "platform/win/TreeView_State.h"
#include "platform/win/WindowManager.h"

namespace vantrel::win::tree {

namespace {

constexpr COLORREF kTreeLineColour = 0x808080;
constexpr int kTreeButtonSize = 9;
constexpr int kTreeImageGap = 3;
constexpr int kTreeLabelPad = 2;

// A screen-compatible DC with the tree's font selected, for measuring.
class TreeMeasureDc {
 public:
  explicit TreeMeasureDc(HFONT Font) : FDc(CreateCompatibleDC(nullptr)) {
    if (FDc) FOld = SelectObject(FDc, Font ? static_cast<HGDIOBJ>(Font) : GetStockObject(DEFAULT_GUI_FONT));
  }
  ~TreeMeasureDc() {
    if (!FDc) return;
    SelectObject(FDc, FOld);
    DeleteDC(FDc);
  }
  TreeMeasureDc(const TreeMeasureDc&) = delete;
  TreeMeasureDc& operator=(const TreeMeasureDc&) = delete;
  HDC Dc() const { return FDc; }
  int Width(const std::string& Text) const {
    SIZE S{};
    if (FDc) GetTextExtentPoint32(FDc, Text, static_cast<int>(Utf8Length(Text)), &S);
    return S.cx;
  }

 private:
  HDC FDc;
  HGDIOBJ FOld = nullptr;
};

COLORREF TreeResolve(COLORREF Value, int SysIndex) {
  return Value == static_cast<COLORREF>(-1) ? static_cast<COLORREF>(GetSysColor(SysIndex)) : Value;
}

void TreeDottedH(HDC Dc, int X1, int X2, int Y) {
  for (int X = X1; X < X2; ++X)
    if (((X + Y) & 1) == 0) SetPixelV(Dc, X, Y, kTreeLineColour);
}

void TreeDottedV(HDC Dc, int X, int Y1, int Y2) {
  for (int Y = Y1; Y < Y2; ++Y)
    if (((X + Y) & 1) == 0) SetPixelV(Dc, X, Y, kTreeLineColour);
}

void TreeFill(HDC Dc, const RECT& R, COLORREF Colour) {
  HBRUSH B = CreateSolidBrush(Colour);
  FillRect(Dc, &R, B);
  DeleteObject(B);
}

}  // namespace

void TreeControl::Measure() {
  TreeMeasureDc M(Font);
  TEXTMETRIC Tm{};
  int H = 16;
  if (M.Dc() && GetTextMetrics(M.Dc(), &Tm)) H = std::max(H, static_cast<int>(Tm.tmHeight) + 3);
  if (Images) H = std::max(H, static_cast<int>(Images->ImageSize().cy) + 1);
  if (StateImages) H = std::max(H, static_cast<int>(StateImages->ImageSize().cy) + 1);
  ItemHeight = H;
}

std::vector<TreeRow> TreeControl::Rows() {
  std::vector<TreeRow> Out;
  std::vector<std::pair<TreeItemRec*, int>> Stack;
  for (TreeItemRec* C = Root.Last; C; C = C->Prev) Stack.emplace_back(C, 0);
  while (!Stack.empty()) {
    auto [Item, Level] = Stack.back();
    Stack.pop_back();
    Out.push_back({Item, Level});
    if (Expanded(Item))
      for (TreeItemRec* C = Item->Last; C; C = C->Prev) Stack.emplace_back(C, Level + 1);
  }
  return Out;
}

int TreeControl::RowOf(TreeItemRec* Item) {
  const std::vector<TreeRow> R = Rows();
  for (size_t I = 0; I < R.size(); ++I)
    if (R[I].Item == Item) return static_cast<int>(I);
  return -1;
}

int TreeControl::PageRows() const {
  RECT C{};
  GetClientRect(Wnd, &C);
  return std::max(0, static_cast<int>(C.Bottom - C.Top) / std::max(1, ItemHeight));
}

int TreeControl::ContentLeft(int Level) const {
  const DWORD S = Style();
  const int RootColumn = (S & TVS_LINESATROOT) && (S & (TVS_HASLINES | TVS_HASBUTTONS)) ? 1 : 0;
  return (Level + RootColumn) * Indent - XOffset + 2;
}

RECT TreeControl::ItemRect(int RowIndex) const {
  RECT C{};
  GetClientRect(Wnd, &C);
  const int Y = (RowIndex - TopRow) * ItemHeight;
  return RECT{0, Y, C.Right, Y + ItemHeight};
}

RECT TreeControl::LabelRect(const TreeRow& Row, int RowIndex) {
  int X = ContentLeft(Row.Level);
  if (StateImages && (Row.Item->State & TVIS_STATEIMAGEMASK)) X += StateImages->ImageSize().cx;
  if (Images) X += Images->ImageSize().cx + kTreeImageGap;
  TreeMeasureDc M(Font);
  const int W = M.Width(TextOf(Row.Item)) + 2 * kTreeLabelPad;
  const RECT R = ItemRect(RowIndex);
  return RECT{X, R.Top, X + W, R.Bottom};
}

void TreeControl::HitTest(TVHITTESTINFO& Info) {
  Info.hItem = nullptr;
  Info.flags = 0;
  RECT C{};
  GetClientRect(Wnd, &C);
  const int X = Info.pt.X, Y = Info.pt.Y;
  if (X < 0) Info.flags |= TVHT_TOLEFT;
  if (X >= C.Right) Info.flags |= TVHT_TORIGHT;
  if (Y < 0) Info.flags |= TVHT_ABOVE;
  if (Y >= C.Bottom) Info.flags |= TVHT_BELOW;
  if (Info.flags) return;
  const std::vector<TreeRow> R = Rows();
  const int Row = TopRow + Y / std::max(1, ItemHeight);
  if (Row >= static_cast<int>(R.size())) {
    Info.flags = TVHT_NOWHERE;
    return;
  }
  const TreeRow& T = R[static_cast<size_t>(Row)];
  Info.hItem = T.Item->Handle();
  const int Left = ContentLeft(T.Level);
  const RECT L = LabelRect(T, Row);
  if (X < Left) {
    const bool Button = (Style() & TVS_HASBUTTONS) && X >= Left - Indent && HasButton(T.Item) &&
                        (T.Level > 0 || (Style() & TVS_LINESATROOT));
    Info.flags = Button ? TVHT_ONITEMBUTTON : TVHT_ONITEMINDENT;
  } else if (X >= L.Right) {
    Info.flags = TVHT_ONITEMRIGHT;
  } else if (X >= L.Left) {
    Info.flags = TVHT_ONITEMLABEL;
  } else if (Images && X >= L.Left - Images->ImageSize().cx - kTreeImageGap) {
    Info.flags = TVHT_ONITEMICON;
  } else {
    Info.flags = TVHT_ONITEMSTATEICON;
  }
}

void TreeControl::UpdateScroll() {
  const std::vector<TreeRow> R = Rows();
  const int N = static_cast<int>(R.size());
  const int Page = PageRows();
  TopRow = std::clamp(TopRow, 0, std::max(0, N - Page));
  RECT C{};
  GetClientRect(Wnd, &C);
  int Widest = 0;
  {
    TreeMeasureDc M(Font);
    for (const TreeRow& T : R) {
      int X = ContentLeft(T.Level) + XOffset;
      if (StateImages && (T.Item->State & TVIS_STATEIMAGEMASK)) X += StateImages->ImageSize().cx;
      if (Images) X += Images->ImageSize().cx + kTreeImageGap;
      Widest = std::max(Widest, X + M.Width(TextOf(T.Item)) + 2 * kTreeLabelPad);
    }
  }
  XOffset = std::clamp(XOffset, 0, std::max(0, Widest - static_cast<int>(C.Right)));
  SCROLLINFO V;
  V.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  V.nMin = 0;
  V.nMax = std::max(0, N - 1);
  V.nPage = static_cast<UINT>(Page);
  V.nPos = TopRow;
  SetScrollInfo(Wnd, SB_VERT, &V, TRUE);
  SCROLLINFO H;
  H.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  H.nMin = 0;
  H.nMax = std::max(0, Widest - 1);
  H.nPage = static_cast<UINT>(std::max(0, static_cast<int>(C.Right)));
  H.nPos = XOffset;
  SetScrollInfo(Wnd, SB_HORZ, &H, TRUE);
}

void TreeControl::Changed() {
  if (Destroying || NoRedraw) return;
  UpdateScroll();
  InvalidateRect(Wnd, nullptr, TRUE);
}

void TreeControl::ScrollTo(int Row, int X) {
  if (Row == TopRow && X == XOffset) return;
  if (EditWnd) EndEdit(false);
  TopRow = Row;
  XOffset = X;
  UpdateScroll();
  InvalidateRect(Wnd, nullptr, TRUE);
}

void TreeControl::Scroll(bool Vertical, WORD Code, int Thumb) {
  SCROLLINFO Si;
  Si.fMask = SIF_ALL;
  GetScrollInfo(Wnd, Vertical ? SB_VERT : SB_HORZ, &Si);
  const int Pos = Vertical ? TopRow : XOffset;
  const int Line = Vertical ? 1 : std::max(1, Indent);
  const int Page = std::max(1, static_cast<int>(Si.nPage));
  int To = Pos;
  switch (Code) {
    case SB_LINEUP: To = Pos - Line; break;
    case SB_LINEDOWN: To = Pos + Line; break;
    case SB_PAGEUP: To = Pos - Page; break;
    case SB_PAGEDOWN: To = Pos + Page; break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK:
      // The message carries 16 bits; a position set beforehand that matches them
      // gives the full value.
      To = (Si.nPos & 0xFFFF) == (Thumb & 0xFFFF) ? Si.nPos : (Thumb & 0xFFFF);
      if (Code == SB_THUMBTRACK && (Si.nTrackPos & 0xFFFF) == (Thumb & 0xFFFF)) To = Si.nTrackPos;
      break;
    case SB_TOP: To = 0; break;
    case SB_BOTTOM: To = Si.nMax; break;
    default: return;
  }
  const int Max = std::max(0, Si.nMax - Page + 1);
  To = std::clamp(To, 0, Max);
  if (Vertical)
    ScrollTo(To, XOffset);
  else
    ScrollTo(TopRow, To);
}

void TreeControl::EnsureVisible(TreeItemRec* Item) {
  int Row = RowOf(Item);
  if (Row < 0) return;
  const int Page = std::max(1, PageRows());
  int Top = TopRow;
  if (Row < Top) Top = Row;
  if (Row >= Top + Page) Top = Row - Page + 1;
  if (Top != TopRow) ScrollTo(Top, XOffset);
}

void TreeControl::Paint(HDC Dc) {
  RECT C{};
  GetClientRect(Wnd, &C);
  const COLORREF Back = TreeResolve(BkColor, COLOR_WINDOW);
  const COLORREF Fore = TreeResolve(TextColor, COLOR_WINDOWTEXT);
  TreeFill(Dc, C, Back);
  const HGDIOBJ OldFont = SelectObject(Dc, Font ? static_cast<HGDIOBJ>(Font) : GetStockObject(DEFAULT_GUI_FONT));
  SetBkMode(Dc, TRANSPARENT);
  const DWORD S = Style();
  const bool Lines = (S & TVS_HASLINES) != 0;
  const bool Buttons = (S & TVS_HASBUTTONS) != 0;
  const bool AtRoot = (S & TVS_LINESATROOT) != 0;
  const std::vector<TreeRow> R = Rows();
  const int Last = std::min(static_cast<int>(R.size()), TopRow + PageRows() + 1);
  for (int Row = TopRow; Row < Last; ++Row) {
    const TreeRow& T = R[static_cast<size_t>(Row)];
    const RECT IR = ItemRect(Row);
    const int Left = ContentLeft(T.Level);
    const int MidY = IR.Top + ItemHeight / 2;
    const bool Column = T.Level > 0 || AtRoot;
    if (Lines && Column) {
      const int MidX = Left - Indent + Indent / 2;
      TreeDottedH(Dc, MidX, Left, MidY);
      TreeDottedV(Dc, MidX, T.Level == 0 && !T.Item->Prev ? MidY : IR.Top, T.Item->Next ? IR.Bottom : MidY + 1);
      // The lines of ancestors that continue below this row.
      int Level = T.Level - 1;
      for (TreeItemRec* A = T.Item->Parent; A && A != &Root; A = A->Parent, --Level) {
        if (!A->Next || (Level == 0 && !AtRoot)) continue;
        TreeDottedV(Dc, ContentLeft(Level) - Indent + Indent / 2, IR.Top, IR.Bottom);
      }
    }
    if (Buttons && Column && HasButton(T.Item)) {
      const int BX = Left - Indent + (Indent - kTreeButtonSize) / 2;
      const int BY = MidY - kTreeButtonSize / 2;
      const RECT Box{BX, BY, BX + kTreeButtonSize, BY + kTreeButtonSize};
      TreeFill(Dc, Box, Back);
      HBRUSH Frame = CreateSolidBrush(kTreeLineColour);
      FrameRect(Dc, &Box, Frame);
      DeleteObject(Frame);
      const RECT Minus{BX + 2, MidY, BX + kTreeButtonSize - 2, MidY + 1};
      TreeFill(Dc, Minus, Fore);
      if (!Expanded(T.Item)) {
        const RECT Plus{BX + kTreeButtonSize / 2, BY + 2, BX + kTreeButtonSize / 2 + 1, BY + kTreeButtonSize - 2};
        TreeFill(Dc, Plus, Fore);
      }
    }
    int X = Left;
    if (StateImages && (T.Item->State & TVIS_STATEIMAGEMASK)) {
      const SIZE Sz = StateImages->ImageSize();
      StateImages->Draw(static_cast<int>((T.Item->State & TVIS_STATEIMAGEMASK) >> 12), Dc, X, MidY - Sz.cy / 2);
      X += Sz.cx;
    }
    if (Images) {
      const SIZE Sz = Images->ImageSize();
      const int Index = ImageOf(T.Item, T.Item == Caret);
      if (Index >= 0 && Index < Images->ImageCount()) Images->Draw(Index, Dc, X, MidY - Sz.cy / 2);
    }
    RECT L = LabelRect(T, Row);
    COLORREF TextColour = Fore;
    if (T.Item == Caret && T.Item != EditItem) {
      if (Focused) {
        TreeFill(Dc, L, GetSysColor(COLOR_HIGHLIGHT));
        TextColour = GetSysColor(COLOR_HIGHLIGHTTEXT);
      } else if (S & TVS_SHOWSELALWAYS) {
        TreeFill(Dc, L, GetSysColor(COLOR_BTNFACE));
      }
    }
    SetTextColor(Dc, TextColour);
    RECT TextR{L.Left + kTreeLabelPad, L.Top, L.Right, L.Bottom};
    DrawText(Dc, TextOf(T.Item), -1, &TextR, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_LEFT);
  }
  SelectObject(Dc, OldFont);
}

}  // namespace vantrel::win::tree
