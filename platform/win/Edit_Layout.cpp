// The edit control's layout: measuring with the window's font, breaking the text into
// lines (at line breaks, and at the text rectangle's width when a multi-line control
// wraps), mapping positions to points and back, and the scroll position.
#include <algorithm>

#include "platform/rtl/Utf8.h"
#include "platform/win/Edit_State.h"
#include "platform/win/Keyboard.h"
#include "platform/win/Scroll.h"
#include "platform/win/Text.h"
#include "platform/win/WindowManager.h"

namespace vantrel::win::edit {

namespace {

// Tab stops every this many average character widths.
constexpr int kEditTabChars = 8;

// A screen-compatible DC with the control's font selected, for measuring.
class EditMeasureDc {
 public:
  explicit EditMeasureDc(HFONT Font) : FDc(CreateCompatibleDC(nullptr)) {
    if (FDc && Font) SelectObject(FDc, Font);
  }
  ~EditMeasureDc() {
    if (FDc) DeleteDC(FDc);
  }
  EditMeasureDc(const EditMeasureDc&) = delete;
  EditMeasureDc& operator=(const EditMeasureDc&) = delete;
  HDC Dc() const { return FDc; }

 private:
  HDC FDc;
};

// Left edges of each code point of Text (and its width last), tabs going to the stops.
std::vector<int> EditMeasureRun(HDC Dc, const std::u32string& Text, int TabWidth) {
  std::vector<int> X(Text.size() + 1, 0);
  size_t I = 0;
  int Base = 0;
  while (I < Text.size()) {
    if (Text[I] == U'\t') {
      Base = TabWidth > 0 ? (Base / TabWidth + 1) * TabWidth : Base;
      X[++I] = Base;
      continue;
    }
    size_t J = I;
    while (J < Text.size() && Text[J] != U'\t') ++J;
    const int Count = static_cast<int>(J - I);
    std::vector<int> Dx(static_cast<size_t>(Count), 0);
    SIZE Size{};
    int Fit = 0;
    GetTextExtentExPoint(Dc, CodePointsToUtf8(Text.substr(I, J - I)), Count, 0, &Fit, Dx.data(), &Size);
    for (int K = 0; K < Count; ++K) X[I + static_cast<size_t>(K) + 1] = Base + Dx[static_cast<size_t>(K)];
    Base = X[J];
    I = J;
  }
  return X;
}

bool EditIsBlank(char32_t C) { return C == U' ' || C == U'\t'; }

}  // namespace

EditControl::EditControl(HWND AWnd) : Wnd(AWnd) {}

DWORD EditControl::Style() const { return static_cast<DWORD>(GetWindowLongPtr(Wnd, GWL_STYLE)); }

std::shared_ptr<EditControl> ControlOf(HWND Wnd) {
  WindowManager* M = WindowManager::Instance();
  Window* W = M ? M->Find(Wnd) : nullptr;
  return W ? std::static_pointer_cast<EditControl>(W->ClassData) : nullptr;
}

RECT EditControl::DefaultFormat() const {
  RECT R{};
  GetClientRect(Wnd, &R);
  return R;
}

void EditControl::Relayout() {
  if (!FormatSet) Format = DefaultFormat();
  EditMeasureDc Measure(Font);
  TEXTMETRIC Tm{};
  if (GetTextMetrics(Measure.Dc(), &Tm)) {
    LineHeight = std::max<int>(1, Tm.tmHeight);
    AveCharWidth = std::max<int>(1, Tm.tmAveCharWidth);
  }
  const int TabWidth = AveCharWidth * kEditTabChars;
  const std::u32string S = Shown();
  Lines.clear();
  const int N = static_cast<int>(S.size());
  if (!Multi()) {
    LineRec L{0, N, 0, EditMeasureRun(Measure.Dc(), S, 0)};
    Lines.push_back(std::move(L));
  } else {
    const bool Wrap = !(Style() & ES_AUTOHSCROLL);
    const int Width = std::max(1, static_cast<int>(Format.Right - Format.Left) - LeftMargin - RightMargin);
    int P = 0;
    while (true) {
      int E = P;
      while (E < N && S[static_cast<size_t>(E)] != U'\r') ++E;
      const int Break = (E + 1 < N && S[static_cast<size_t>(E) + 1] == U'\n') ? 2 : (E < N ? 1 : 0);
      const std::u32string Para = S.substr(static_cast<size_t>(P), static_cast<size_t>(E - P));
      const std::vector<int> X = EditMeasureRun(Measure.Dc(), Para, TabWidth);
      int S0 = 0;
      const int Len = static_cast<int>(Para.size());
      while (true) {
        int End = Len;
        if (Wrap && X[static_cast<size_t>(Len)] - X[static_cast<size_t>(S0)] > Width) {
          // The longest start that fits, broken after the last blank in it; a word wider
          // than the rectangle breaks between characters.
          int Fit = S0 + 1;
          while (Fit < Len && X[static_cast<size_t>(Fit) + 1] - X[static_cast<size_t>(S0)] <= Width) ++Fit;
          int Cut = Fit;
          for (int K = Fit; K > S0; --K)
            if (EditIsBlank(Para[static_cast<size_t>(K) - 1])) {
              Cut = K;
              break;
            }
          while (Cut < Len && EditIsBlank(Para[static_cast<size_t>(Cut)])) ++Cut;  // blanks hang
          End = Cut;
        }
        LineRec L;
        L.Start = P + S0;
        L.Length = End - S0;
        L.BreakLength = End == Len ? Break : 0;
        L.X.resize(static_cast<size_t>(L.Length) + 1);
        for (int K = 0; K <= L.Length; ++K)
          L.X[static_cast<size_t>(K)] = X[static_cast<size_t>(S0 + K)] - X[static_cast<size_t>(S0)];
        Lines.push_back(std::move(L));
        if (End >= Len) break;
        S0 = End;
      }
      if (E >= N) break;
      P = E + Break;
      if (P > N) break;
    }
  }
  ClampScroll();
}

int EditControl::LineOf(int Pos) const {
  int L = 0;
  for (int I = 0; I < static_cast<int>(Lines.size()); ++I) {
    if (Lines[static_cast<size_t>(I)].Start > Pos) break;
    L = I;
  }
  // A position at a wrap belongs to the next line, except after the text's last line.
  return L;
}

int EditControl::VisibleLines() const {
  return std::max(1, static_cast<int>(Format.Bottom - Format.Top) / std::max(1, LineHeight));
}

namespace {

int EditLineLeft(const EditControl& E, const LineRec& L) {
  const int AreaLeft = E.Format.Left + E.LeftMargin;
  const int AreaWidth = static_cast<int>(E.Format.Right - E.Format.Left) - E.LeftMargin - E.RightMargin;
  const DWORD Align = E.Style() & (ES_CENTER | ES_RIGHT);
  int Offset = 0;
  if (L.Width() < AreaWidth) {
    if (Align == ES_CENTER)
      Offset = (AreaWidth - L.Width()) / 2;
    else if (Align == ES_RIGHT)
      Offset = AreaWidth - L.Width();
  }
  return AreaLeft + Offset - E.XOffset;
}

}  // namespace

POINT EditControl::PosToPoint(int Pos) const {
  if (Lines.empty()) return POINT{Format.Left + LeftMargin, Format.Top};
  Pos = std::clamp(Pos, 0, Length());
  const int LI = LineOf(Pos);
  const LineRec& L = Lines[static_cast<size_t>(LI)];
  const int Col = std::clamp(Pos - L.Start, 0, L.Length);
  const int Y = Multi() ? Format.Top + (LI - FirstLine) * LineHeight : Format.Top;
  return POINT{EditLineLeft(*this, L) + L.X[static_cast<size_t>(Col)], Y};
}

int EditControl::PointToPos(int X, int Y) const {
  if (Lines.empty()) return 0;
  int LI = 0;
  if (Multi()) {
    const int Row = Y < Format.Top ? -1 - (Format.Top - Y - 1) / LineHeight : (Y - Format.Top) / LineHeight;
    LI = std::clamp(FirstLine + Row, 0, static_cast<int>(Lines.size()) - 1);
  }
  const LineRec& L = Lines[static_cast<size_t>(LI)];
  const int Rel = X - EditLineLeft(*this, L);
  int Col = 0;
  while (Col < L.Length) {
    const int Mid = (L.X[static_cast<size_t>(Col)] + L.X[static_cast<size_t>(Col) + 1]) / 2;
    if (Rel < Mid) break;
    ++Col;
  }
  // A wrapped line's last position is the next line's first; stay on this line.
  if (Col == L.Length && L.BreakLength == 0 && LI + 1 < static_cast<int>(Lines.size()) && Col > 0) --Col;
  return L.Start + Col;
}

bool EditControl::ClampScroll() {
  const int OldFirst = FirstLine, OldX = XOffset;
  const int MaxFirst = std::max(0, static_cast<int>(Lines.size()) - VisibleLines());
  FirstLine = Multi() ? std::clamp(FirstLine, 0, MaxFirst) : 0;
  int Widest = 0;
  for (const LineRec& L : Lines) Widest = std::max(Widest, L.Width());
  const int AreaWidth = static_cast<int>(Format.Right - Format.Left) - LeftMargin - RightMargin;
  // Room for the caret after the last character.
  XOffset = std::clamp(XOffset, 0, std::max(0, Widest + 1 - AreaWidth));
  return OldFirst != FirstLine || OldX != XOffset;
}

bool EditControl::ScrollToCaret() {
  const int OldFirst = FirstLine, OldX = XOffset;
  if (Multi()) {
    const int LI = LineOf(Caret);
    if (LI < FirstLine) FirstLine = LI;
    if (LI >= FirstLine + VisibleLines()) FirstLine = LI - VisibleLines() + 1;
  }
  if (!Multi() || (Style() & ES_AUTOHSCROLL)) {
    const LineRec& L = Lines[static_cast<size_t>(LineOf(Caret))];
    const int Col = std::clamp(Caret - L.Start, 0, L.Length);
    const int CX = L.X[static_cast<size_t>(Col)];
    const int AreaWidth = static_cast<int>(Format.Right - Format.Left) - LeftMargin - RightMargin;
    if (L.Width() < AreaWidth)
      XOffset = 0;
    else if (CX < XOffset)
      XOffset = std::max(0, CX - AreaWidth / 3);
    else if (CX >= XOffset + AreaWidth)
      XOffset = CX - AreaWidth + std::min(AreaWidth / 3, L.Width() - CX) + 1;
  }
  ClampScroll();
  return OldFirst != FirstLine || OldX != XOffset;
}

bool EditControl::ScrollBy(int DLines, int DX) {
  const int OldFirst = FirstLine, OldX = XOffset;
  FirstLine += DLines;
  XOffset += DX;
  ClampScroll();
  if (OldFirst == FirstLine && OldX == XOffset) return false;
  Refresh();
  PlaceCaret();
  UpdateScrollInfo();
  if (OldFirst != FirstLine) Notify(EN_VSCROLL);
  if (OldX != XOffset) Notify(EN_HSCROLL);
  return true;
}

void EditControl::PlaceCaret() const {
  if (!Focused) return;
  const POINT P = PosToPoint(Caret);
  SetCaretPos(P.X, P.Y);
}

void EditControl::UpdateScrollInfo() const {
  if (!Multi()) return;
  const DWORD S = Style();
  if (S & WS_VSCROLL) {
    SCROLLINFO Info;
    Info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    Info.nMin = 0;
    Info.nMax = std::max(0, static_cast<int>(Lines.size()) - 1);
    Info.nPage = static_cast<UINT>(std::max(0, static_cast<int>(Format.Bottom - Format.Top) / std::max(1, LineHeight)));
    Info.nPos = FirstLine;
    SetScrollInfo(Wnd, SB_VERT, &Info, FALSE);
  }
  if (S & WS_HSCROLL) {
    int Widest = 0;
    for (const LineRec& L : Lines) Widest = std::max(Widest, L.Width());
    SCROLLINFO Info;
    Info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    Info.nMin = 0;
    Info.nMax = Widest;
    Info.nPage = static_cast<UINT>(std::max(0, static_cast<int>(Format.Right - Format.Left)));
    Info.nPos = XOffset;
    SetScrollInfo(Wnd, SB_HORZ, &Info, FALSE);
  }
}

}  // namespace vantrel::win::edit
