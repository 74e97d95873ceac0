// DrawText layout and drawing: "&" prefixes, line breaks, word wrap, tab expansion,
// end and path ellipses, alignment in the rectangle, and DT_CALCRECT measuring.
#include "platform/win/DrawText.h"

#include <algorithm>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Utf8.h"
#include "platform/win/FontEngine.h"
#include "platform/win/Text.h"

namespace vantrel::win::detail {

namespace {

constexpr char32_t kTab = U'\t';
constexpr std::u32string_view kEllipsis = U"...";

bool IsBlank(char32_t C) { return C == U' ' || C == kTab; }

// A run of text with its prefix underline flags.
struct Marked {
  std::u32string Text;
  std::vector<bool> Underline;

  void Push(char32_t C, bool U) {
    Text.push_back(C);
    Underline.push_back(U);
  }
  Marked Slice(size_t From, size_t To) const {
    Marked M;
    M.Text.assign(Text, From, To - From);
    M.Underline.assign(Underline.begin() + static_cast<ptrdiff_t>(From),
                       Underline.begin() + static_cast<ptrdiff_t>(To));
    return M;
  }
  void Append(const Marked& Other) {
    Text += Other.Text;
    Underline.insert(Underline.end(), Other.Underline.begin(), Other.Underline.end());
  }
  void AppendPlain(std::u32string_view S) {
    for (char32_t C : S) Push(C, false);
  }
};

// "&x" underlines x, "&&" is a literal "&", a lone "&" at the end is dropped. With
// DT_HIDEPREFIX the prefixes are removed but nothing is underlined.
Marked ApplyPrefixes(std::u32string_view Text, UINT Format) {
  Marked M;
  M.Text.reserve(Text.size());
  if (Format & DT_NOPREFIX) {
    M.AppendPlain(Text);
    return M;
  }
  const bool Show = !(Format & DT_HIDEPREFIX);
  for (size_t I = 0; I < Text.size(); ++I) {
    if (Text[I] != U'&') {
      M.Push(Text[I], false);
      continue;
    }
    if (I + 1 >= Text.size()) break;
    const char32_t Next = Text[++I];
    M.Push(Next, Show && Next != U'&' && Next != U'\r' && Next != U'\n');
  }
  return M;
}

// Splits at CR LF, LF CR, CR or LF; a break at the very end leaves an empty last line.
std::vector<Marked> SplitParagraphs(const Marked& Text) {
  std::vector<Marked> Out;
  size_t Start = 0;
  for (size_t I = 0; I < Text.Text.size(); ++I) {
    const char32_t C = Text.Text[I];
    if (C != U'\r' && C != U'\n') continue;
    Out.push_back(Text.Slice(Start, I));
    const char32_t Pair = C == U'\r' ? U'\n' : U'\r';
    if (I + 1 < Text.Text.size() && Text.Text[I + 1] == Pair) ++I;
    Start = I + 1;
  }
  Out.push_back(Text.Slice(Start, Text.Text.size()));
  return Out;
}

struct Measurer {
  bool Expand;
  int TabWidth;
  const AdvanceFn& Advance;
  int operator()(std::u32string_view S) const { return LineWidth(S, Expand, TabWidth, Advance); }
};

// Greedy word wrap: a line takes whole words while they fit; a word wider than the whole
// line stands alone and overflows. Blanks where a line breaks are dropped; blanks at the
// end of the paragraph stay while they fit.
void WrapParagraph(const Marked& P, int Avail, const Measurer& Measure, std::vector<Marked>& Out) {
  const std::u32string& T = P.Text;
  const size_t N = T.size();
  size_t Start = 0;
  while (true) {
    size_t End = Start;  // end of the last word taken
    size_t J = Start;
    bool Any = false;
    while (J < N) {
      size_t K = J;
      while (K < N && IsBlank(T[K])) ++K;
      size_t W = K;
      while (W < N && !IsBlank(T[W])) ++W;
      if (W == K) {  // only blanks remain
        if (Measure(std::u32string_view(T).substr(Start, N - Start)) <= Avail || !Any) End = N;
        J = N;
        break;
      }
      if (Any && Measure(std::u32string_view(T).substr(Start, W - Start)) > Avail) break;
      End = W;
      J = W;
      Any = true;
    }
    Out.push_back(P.Slice(Start, End));
    if (J >= N) return;
    Start = End;
    while (Start < N && IsBlank(T[Start])) ++Start;
    if (Start >= N) return;
  }
}

// Longest prefix of Line that fits in Avail together with Tail (after it).
size_t FitPrefix(const Marked& Line, size_t Limit, std::u32string_view Tail, int Avail,
                 const Measurer& Measure) {
  size_t Lo = 0, Hi = Limit;
  while (Lo < Hi) {
    const size_t Mid = (Lo + Hi + 1) / 2;
    std::u32string S = Line.Text.substr(0, Mid);
    S += Tail;
    if (Measure(S) <= Avail)
      Lo = Mid;
    else
      Hi = Mid - 1;
  }
  return Lo;
}

Marked EndEllipsis(const Marked& Line, int Avail, const Measurer& Measure) {
  const size_t Keep = FitPrefix(Line, Line.Text.size(), kEllipsis, Avail, Measure);
  Marked M = Line.Slice(0, Keep);
  if (Keep == 0) {
    // Not even one character and the dots fit: as many dots as fit.
    std::u32string_view Dots = kEllipsis;
    while (!Dots.empty() && Measure(Dots) > Avail) Dots.remove_suffix(1);
    M.AppendPlain(Dots);
    return M;
  }
  M.AppendPlain(kEllipsis);
  return M;
}

// Keeps the text from the last path separator on and shortens what precedes it.
Marked PathEllipsis(const Marked& Line, int Avail, const Measurer& Measure) {
  const size_t Sep = Line.Text.find_last_of(U"\\/");
  if (Sep == std::u32string::npos || Sep == 0) return EndEllipsis(Line, Avail, Measure);
  const Marked Tail = Line.Slice(Sep, Line.Text.size());
  std::u32string TailWithDots(kEllipsis);
  TailWithDots += Tail.Text;
  const size_t Keep = FitPrefix(Line, Sep, TailWithDots, Avail, Measure);
  Marked M = Line.Slice(0, Keep);
  M.AppendPlain(kEllipsis);
  M.Append(Tail);
  return M;
}

}  // namespace

int LineWidth(std::u32string_view Line, bool Expand, int TabWidth, const AdvanceFn& Advance) {
  int X = 0;
  for (char32_t C : Line) {
    if (C == kTab && Expand) {
      if (TabWidth > 0) X = (X / TabWidth + 1) * TabWidth;
      continue;
    }
    X += Advance(C);
  }
  return X;
}

std::vector<TextLine> LayoutText(std::u32string_view Text, const TextLayoutOptions& Options,
                                 const AdvanceFn& Advance) {
  const UINT F = Options.Format;
  const Measurer Measure{(F & DT_EXPANDTABS) != 0, Options.TabWidth, Advance};
  const Marked All = ApplyPrefixes(Text, F);
  if (All.Text.empty()) return {};  // nothing to show: no line at all

  std::vector<Marked> Lines;
  if (F & DT_SINGLELINE) {
    Lines.push_back(All);
  } else {
    for (const Marked& P : SplitParagraphs(All)) {
      if (F & DT_WORDBREAK)
        WrapParagraph(P, Options.AvailWidth, Measure, Lines);
      else
        Lines.push_back(P);
    }
  }

  std::vector<TextLine> Out;
  Out.reserve(Lines.size());
  for (Marked& L : Lines) {
    int W = Measure(L.Text);
    if (W > Options.AvailWidth && (F & (DT_END_ELLIPSIS | DT_PATH_ELLIPSIS))) {
      L = (F & DT_PATH_ELLIPSIS) ? PathEllipsis(L, Options.AvailWidth, Measure)
                                 : EndEllipsis(L, Options.AvailWidth, Measure);
      W = Measure(L.Text);
    }
    Out.push_back(TextLine{std::move(L.Text), std::move(L.Underline), W});
  }
  return Out;
}

}  // namespace vantrel::win::detail

using namespace vantrel::win;
using namespace vantrel::win::detail;

namespace {

int DrawTextChecked(HDC Dc, const String& Text, int Count, LPRECT R, UINT Format,
                    DRAWTEXTPARAMS* Params) {
  UINT F = Format;
  int TabChars = kDefaultTabChars;
  if (F & DT_TABSTOP) {
    // The tab size sits in bits 8..15, where it hides DT_NOCLIP .. DT_INTERNAL.
    TabChars = static_cast<int>((F >> 8) & 0xFF);
    F &= ~0xFF00u;
  }
  if (Params && Params->iTabLength > 0) TabChars = Params->iTabLength;
  const int LeftMargin = Params ? ClampCoord(Params->iLeftMargin) : 0;
  const int RightMargin = Params ? ClampCoord(Params->iRightMargin) : 0;
  const RECT In = ClampRect(*R);

  const std::u32string Cps = CutText(Text, Count);
  if (Params) Params->uiLengthDrawn = static_cast<UINT>(Cps.size());

  std::shared_ptr<FontFace> Face = DcFontFace(Dc);
  if (!Face) return 0;
  const FaceMetrics& M = Face->Metrics();
  const int LineHeight = M.Height + ((F & DT_EXTERNALLEADING) ? M.ExternalLeading : 0);

  const RECT Box{In.Left + LeftMargin, In.Top, In.Right - RightMargin, In.Bottom};
  TextLayoutOptions Opt;
  Opt.Format = F;
  Opt.AvailWidth = Box.Right - Box.Left;
  Opt.TabWidth = ClampCoord(static_cast<long long>(TabChars) * M.AveCharWidth);
  const AdvanceFn Advance = [&Face](char32_t C) { return Face->Advance(C); };
  const std::vector<TextLine> Lines = LayoutText(Cps, Opt, Advance);
  if (Lines.empty()) {  // empty text, or only a prefix "&"
    if (F & DT_CALCRECT) {
      R->Right = In.Left;
      R->Bottom = In.Top;
    }
    return 0;
  }

  const int TextHeight = ClampCoord(static_cast<long long>(Lines.size()) * LineHeight);
  int MaxWidth = 0;
  for (const TextLine& L : Lines) MaxWidth = std::max(MaxWidth, L.Width);

  if (F & DT_CALCRECT) {
    R->Left = In.Left;
    R->Top = In.Top;
    R->Right = ClampCoord(static_cast<long long>(In.Left) + LeftMargin + MaxWidth + RightMargin);
    R->Bottom = ClampCoord(static_cast<long long>(In.Top) + TextHeight);
    return TextHeight;
  }

  int Y = Box.Top;
  if (F & DT_SINGLELINE) {
    if (F & DT_VCENTER)
      Y = Box.Top + (Box.Bottom - Box.Top - LineHeight) / 2;
    else if (F & DT_BOTTOM)
      Y = Box.Bottom - LineHeight;
  }
  const int Top = Y;
  const RECT* Clip = (F & DT_NOCLIP) ? nullptr : &In;
  for (const TextLine& L : Lines) {
    if (Y >= kCoordLimit || (Clip && Y >= Clip->Bottom)) break;  // nothing more is visible
    int X = Box.Left;
    if (F & DT_CENTER)
      X = Box.Left + (Box.Right - Box.Left - L.Width) / 2;
    else if (F & DT_RIGHT)
      X = Box.Right - L.Width;
    DrawTextLine(Dc, X, Y, L.Text, L.Underline, (F & DT_EXPANDTABS) ? Opt.TabWidth : 0, Clip);
    Y += LineHeight;
  }
  return ClampCoord(static_cast<long long>(Top) - In.Top + TextHeight);
}

}  // namespace

int DrawTextEx(HDC Dc, const String& Text, int Count, LPRECT R, UINT Format,
               DRAWTEXTPARAMS* Params) {
  if (!R || !IsTextDc(Dc)) return 0;
  try {
    return DrawTextChecked(Dc, Text, Count, R, Format, Params);
  } catch (const Exception&) {  // no font could be opened
    return 0;
  }
}

int DrawText(HDC Dc, const String& Text, int Count, LPRECT R, UINT Format) {
  return DrawTextEx(Dc, Text, Count, R, Format, nullptr);
}
