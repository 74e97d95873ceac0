// The edit control's painting: the parent chooses brush, text colour and background mode
// through WM_CTLCOLOREDIT (WM_CTLCOLORSTATIC when read-only or disabled); the brush fills
// the client area (a null brush leaves what lies beneath) and the lines are drawn
// clipped to it, the selection in the highlight colours while it shows.
#include <algorithm>

#include "platform/rtl/Utf8.h"
#include "platform/win/Edit_State.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/SysColors.h"
#include "platform/win/Text.h"
#include "platform/win/WindowManager.h"

namespace vantrel::win::edit {

namespace {

bool EditIsNullBrush(HBRUSH Brush) {
  if (!Brush) return true;
  LOGBRUSH Lb{};
  return GetObject(Brush, sizeof Lb, &Lb) == static_cast<int>(sizeof Lb) && Lb.lbStyle == BS_NULL;
}

struct EditDcColours {
  COLORREF Text;
  COLORREF Back;
  int Mode;
};

}  // namespace

void EditControl::Paint(HDC Dc) {
  const int Saved = SaveDC(Dc);
  const DWORD S = Style();
  const bool Disabled = (S & WS_DISABLED) != 0;
  const UINT Ask = (ReadOnly() || Disabled) ? WM_CTLCOLORSTATIC : WM_CTLCOLOREDIT;
  SetTextColor(Dc, GetSysColor(COLOR_WINDOWTEXT));
  SetBkColor(Dc, GetSysColor(COLOR_WINDOW));
  SetBkMode(Dc, OPAQUE);
  HBRUSH Brush = nullptr;
  const HWND Parent = GetParent(Wnd);
  if (Parent) Brush = reinterpret_cast<HBRUSH>(SendMessage(Parent, Ask, reinterpret_cast<WPARAM>(Dc), reinterpret_cast<LPARAM>(Wnd)));
  if (!IsWindow(Wnd)) return;
  if (!Brush) {
    // Nobody answered: the window's standard colours.
    SetTextColor(Dc, GetSysColor(COLOR_WINDOWTEXT));
    SetBkColor(Dc, GetSysColor(COLOR_WINDOW));
    SetBkMode(Dc, OPAQUE);
    Brush = GetSysColorBrush(COLOR_WINDOW);
  }
  if (Disabled) SetTextColor(Dc, GetSysColor(COLOR_GRAYTEXT));
  const EditDcColours Normal{GetTextColor(Dc), GetBkColor(Dc), GetBkMode(Dc)};
  // The brush covers the whole client area, so a text rectangle that moved leaves nothing
  // of the old text behind.
  RECT Client{};
  GetClientRect(Wnd, &Client);
  if (!EditIsNullBrush(Brush)) FillRect(Dc, &Client, Brush);
  IntersectClipRect(Dc, Format.Left, Format.Top, Format.Right, Format.Bottom);
  SelectObject(Dc, Font ? static_cast<HGDIOBJ>(Font) : static_cast<HGDIOBJ>(GetDefaultDcFont()));
  SetTextAlign(Dc, TA_LEFT | TA_TOP | TA_NOUPDATECP);

  const bool ShowSel = (Focused || (S & ES_NOHIDESEL)) && SelStart() != SelEnd();
  const int SelA = ShowSel ? SelStart() : 0, SelB = ShowSel ? SelEnd() : 0;
  const std::u32string Shown = this->Shown();
  const int First = Multi() ? FirstLine : 0;
  const int Last = Multi() ? std::min(static_cast<int>(Lines.size()), First + VisibleLines() + 1) : 1;
  const HBRUSH Highlight = GetSysColorBrush(COLOR_HIGHLIGHT);
  for (int LI = First; LI < Last; ++LI) {
    const LineRec& L = Lines[static_cast<size_t>(LI)];
    const POINT Origin = PosToPoint(L.Start);
    const int Y = Origin.Y;
    // Runs of the line that share selection state and hold no tab.
    int C = 0;
    while (C < L.Length) {
      const int P = L.Start + C;
      const bool Sel = P >= SelA && P < SelB;
      int E = C + 1;
      if (Shown[static_cast<size_t>(P)] != U'\t')
        while (E < L.Length && Shown[static_cast<size_t>(L.Start + E)] != U'\t' &&
               ((L.Start + E >= SelA && L.Start + E < SelB) == Sel))
          ++E;
      const int X0 = Origin.X + L.X[static_cast<size_t>(C)], X1 = Origin.X + L.X[static_cast<size_t>(E)];
      if (Sel) {
        const RECT R{X0, Y, X1, Y + LineHeight};
        FillRect(Dc, &R, Highlight);
        SetTextColor(Dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
        SetBkMode(Dc, TRANSPARENT);
      } else {
        SetTextColor(Dc, Normal.Text);
        SetBkColor(Dc, Normal.Back);
        SetBkMode(Dc, Normal.Mode);
      }
      if (Shown[static_cast<size_t>(P)] != U'\t') {
        const String Run = CodePointsToUtf8(Shown.substr(static_cast<size_t>(P), static_cast<size_t>(E - C)));
        TextOut(Dc, X0, Y, Run, E - C);
      } else if (!Sel && Normal.Mode == OPAQUE) {
        const RECT R{X0, Y, X1, Y + LineHeight};
        const HBRUSH Back = CreateSolidBrush(Normal.Back);
        FillRect(Dc, &R, Back);
        DeleteObject(Back);
      }
      C = E;
    }
  }
  RestoreDC(Dc, Saved);
}

}  // namespace vantrel::win::edit
