// DrawText: the layout rules on a fixed-width fake font (every printable code point 10
// pixels), then measuring and drawing with real fonts on a DIB section.
#include "platform/win/DrawText.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/rtl/Utf8.h"
#include "platform/win/Fonts.h"
#include "platform/win/Text.h"
#include "tests/support/TextDib.h"

using namespace vantrel::win::detail;

namespace {

int FakeAdvance(char32_t C) { return C < 0x20 ? 0 : 10; }

std::vector<std::string> Lay(const std::string& Text, UINT Format, int Avail, int TabWidth = 80) {
  TextLayoutOptions O;
  O.Format = Format;
  O.AvailWidth = Avail;
  O.TabWidth = TabWidth;
  std::vector<std::string> Out;
  for (const TextLine& L : LayoutText(Utf8ToCodePoints(Text), O, FakeAdvance))
    Out.push_back(CodePointsToUtf8(L.Text));
  return Out;
}

using Lines = std::vector<std::string>;

TEST(DrawTextLayout, WordBreakFillsLinesGreedilyAndLetsLongWordsOverflow) {
  struct Case {
    const char* Text;
    int Width;
    Lines Expected;
  };
  const Case Cases[] = {
      {"aaa bbb ccc", 200, {"aaa bbb ccc"}},
      {"aaa bbb ccc", 70, {"aaa bbb", "ccc"}},
      {"aaa bbb ccc", 69, {"aaa", "bbb", "ccc"}},
      {"aaa bbb ccc", 20, {"aaa", "bbb", "ccc"}},  // words wider than the line stand alone
      {"aaa   bbb", 50, {"aaa", "bbb"}},           // blanks at the break are dropped
      {"  aaa bbb", 60, {"  aaa", "bbb"}},         // leading blanks of a paragraph stay
      {"aaa\tbbb", 50, {"aaa", "bbb"}},            // a tab is a break opportunity
      {"aaa bbb\r\nc d", 200, {"aaa bbb", "c d"}},
      {"", 100, {}},
      {"a\n", 100, {"a", ""}},  // a break at the end leaves an empty line
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(std::string(C.Text) + " @" + std::to_string(C.Width));
    EXPECT_EQ(Lay(C.Text, DT_WORDBREAK, C.Width), C.Expected);
  }
}

TEST(DrawTextLayout, LineBreaksSplitUnlessSingleLine) {
  EXPECT_EQ(Lay("a\r\nb\nc\rd", 0, 100), (Lines{"a", "b", "c", "d"}));
  EXPECT_EQ(Lay("a\n\nb", 0, 100), (Lines{"a", "", "b"}));
  EXPECT_EQ(Lay("a\n\rb\r\rc", 0, 100), (Lines{"a", "b", "", "c"}));  // LF CR is one break
  EXPECT_EQ(Lay("a\r\nb", DT_SINGLELINE, 100), (Lines{"a\r\nb"}));
  EXPECT_EQ(Lay("aaa bbb", DT_SINGLELINE | DT_WORDBREAK, 30), (Lines{"aaa bbb"}));
  EXPECT_EQ(Lay("aaa bbb", 0, 30), (Lines{"aaa bbb"}));  // no wrap without DT_WORDBREAK
}

TEST(DrawTextLayout, AmpersandPrefixUnderlinesNextCharacter) {
  struct Case {
    const char* Text;
    UINT Format;
    const char* Shown;
    std::vector<bool> Underline;
  };
  const Case Cases[] = {
      {"&File", 0, "File", {true, false, false, false}},
      {"Save &As", 0, "Save As", {false, false, false, false, false, true, false}},
      {"A&&B", 0, "A&B", {false, false, false}},
      {"&&&x", 0, "&x", {false, true}},
      {"ab&", 0, "ab", {false, false}},
      {"&File", DT_NOPREFIX, "&File", {false, false, false, false, false}},
      {"&File", DT_HIDEPREFIX, "File", {false, false, false, false}},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Text);
    TextLayoutOptions O;
    O.Format = C.Format | DT_SINGLELINE;
    O.AvailWidth = 1000;
    auto L = LayoutText(Utf8ToCodePoints(C.Text), O, FakeAdvance);
    ASSERT_EQ(L.size(), 1u);
    EXPECT_EQ(CodePointsToUtf8(L[0].Text), C.Shown);
    EXPECT_EQ(L[0].Underline, C.Underline);
    EXPECT_EQ(L[0].Width, 10 * Utf8Length(C.Shown));
  }
}

TEST(DrawTextLayout, NothingToShowGivesNoLine) {
  EXPECT_EQ(Lay("", 0, 100), Lines{});
  EXPECT_EQ(Lay("&", 0, 100), Lines{});
  EXPECT_EQ(Lay("&", DT_NOPREFIX, 100), Lines{"&"});
  EXPECT_EQ(Lay(" ", 0, 100), Lines{" "});
}

TEST(DrawTextLayout, TabsExpandToMultiplesOfTheTabWidth) {
  struct Case {
    const char* Text;
    UINT Format;
    int Width;
  };
  const Case Cases[] = {
      {"a\tb", DT_EXPANDTABS, 80 + 10},
      {"\tb", DT_EXPANDTABS, 80 + 10},
      {"abcdefgh\tb", DT_EXPANDTABS, 160 + 10},  // exactly at a stop: on to the next
      {"a\t\tb", DT_EXPANDTABS, 160 + 10},
      {"a\tb", 0, 20},  // unexpanded, a tab is a zero-width control character
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Text);
    TextLayoutOptions O;
    O.Format = C.Format | DT_SINGLELINE;
    O.AvailWidth = 1000;
    O.TabWidth = 80;
    auto L = LayoutText(Utf8ToCodePoints(C.Text), O, FakeAdvance);
    ASSERT_EQ(L.size(), 1u);
    EXPECT_EQ(L[0].Width, C.Width);
  }
}

TEST(DrawTextLayout, EndEllipsisKeepsTheLongestPrefixThatFits) {
  struct Case {
    const char* Text;
    int Width;
    const char* Shown;
  };
  const Case Cases[] = {
      {"abcdefghij", 100, "abcdefghij"},  // fits: unchanged
      {"abcdefghij", 99, "abcdef..."},
      {"abcdefghij", 65, "abc..."},
      {"abcdefghij", 40, "a..."},
      {"abcdefghij", 35, "..."},
      {"abcdefghij", 25, ".."},  // not even the dots fit: as many as fit
      {"abcdefghij", 0, ""},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(std::string(C.Text) + " @" + std::to_string(C.Width));
    TextLayoutOptions O;
    O.Format = DT_SINGLELINE | DT_END_ELLIPSIS;
    O.AvailWidth = C.Width;
    auto L = LayoutText(Utf8ToCodePoints(C.Text), O, FakeAdvance);
    ASSERT_EQ(L.size(), 1u);
    EXPECT_EQ(CodePointsToUtf8(L[0].Text), C.Shown);
    EXPECT_LE(L[0].Width, C.Width);
  }
}

TEST(DrawTextLayout, EllipsisAppliesToEachOverlongLineAndKeepsPrefixMarks) {
  TextLayoutOptions O;
  O.Format = DT_END_ELLIPSIS;
  O.AvailWidth = 60;
  auto L = LayoutText(Utf8ToCodePoints("&abcdefgh\nxy\nlongline"), O, FakeAdvance);
  ASSERT_EQ(L.size(), 3u);
  EXPECT_EQ(CodePointsToUtf8(L[0].Text), "abc...");
  EXPECT_EQ(L[0].Underline, (std::vector<bool>{true, false, false, false, false, false}));
  EXPECT_EQ(CodePointsToUtf8(L[1].Text), "xy");
  EXPECT_EQ(CodePointsToUtf8(L[2].Text), "lon...");
}

TEST(DrawTextLayout, PathEllipsisKeepsTheLastPathElement) {
  struct Case {
    const char* Text;
    int Width;
    const char* Shown;
  };
  const Case Cases[] = {
      {"/home/user/clip.mp4", 190, "/home/user/clip.mp4"},
      {"/home/user/clip.mp4", 150, "/ho.../clip.mp4"},
      {"C:\\Videos\\Holiday\\clip.avi", 170, "C:\\Vi...\\clip.avi"},
      {"/home/user/clip.mp4", 50, ".../clip.mp4"},  // the file name stays whole
      {"noseparator", 70, "nose..."},              // no separator: as an end ellipsis
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(std::string(C.Text) + " @" + std::to_string(C.Width));
    TextLayoutOptions O;
    O.Format = DT_SINGLELINE | DT_PATH_ELLIPSIS | DT_NOPREFIX;
    O.AvailWidth = C.Width;
    auto L = LayoutText(Utf8ToCodePoints(C.Text), O, FakeAdvance);
    ASSERT_EQ(L.size(), 1u);
    EXPECT_EQ(CodePointsToUtf8(L[0].Text), C.Shown);
  }
}

// ---------------------------------------------------------------------------------------
// With a real font on a device context

using vantrel::test::MakeFont;
using vantrel::test::TextDib;

int Extent(HDC Dc, const std::string& S) {
  SIZE Sz{};
  EXPECT_TRUE(GetTextExtentPoint32(Dc, S, -1, &Sz));
  return Sz.cx;
}

TEXTMETRIC Metrics(HDC Dc) {
  TEXTMETRIC Tm{};
  EXPECT_TRUE(GetTextMetrics(Dc, &Tm));
  return Tm;
}

// DT_CALCRECT from (5, 7): the measured width and height.
SIZE Calc(HDC Dc, const std::string& S, UINT Format, int Width = 0, int* Result = nullptr,
          int Count = -1) {
  RECT R{5, 7, 5 + Width, 7};
  const int H = DrawText(Dc, S, Count, &R, Format | DT_CALCRECT);
  if (Result) *Result = H;
  EXPECT_EQ(R.Left, 5);
  EXPECT_EQ(R.Top, 7);
  EXPECT_EQ(R.Bottom - R.Top, H);
  return SIZE{R.Right - R.Left, R.Bottom - R.Top};
}

class DrawTextDc : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(Dib.Valid());
    Dib.Select(MakeFont("Arial", -13));
    Tm = Metrics(Dib.Dc());
  }
  HDC Dc() { return Dib.Dc(); }
  TextDib Dib{240, 120};
  TEXTMETRIC Tm{};
};

TEST_F(DrawTextDc, CalcRectOfOneLineIsTheTextExtentAndCellHeight) {
  int H = 0;
  const SIZE S = Calc(Dc(), "Hello, world", DT_SINGLELINE, 0, &H);
  EXPECT_EQ(S.cx, Extent(Dc(), "Hello, world"));
  EXPECT_EQ(S.cy, Tm.tmHeight);
  EXPECT_EQ(H, Tm.tmHeight);
  // Without DT_SINGLELINE, alignment and vertical centring change nothing in the measure.
  EXPECT_EQ(Calc(Dc(), "Hello, world", DT_CENTER | DT_VCENTER).cx, S.cx);
}

TEST_F(DrawTextDc, CalcRectWordBreakAtGivenWidths) {
  const std::string Text = "one two three";
  const int OneTwo = Extent(Dc(), "one two");
  const int Widest = std::max({Extent(Dc(), "one"), Extent(Dc(), "two"), Extent(Dc(), "three")});
  struct Case {
    int Width;
    int Lines;
    int MeasuredWidth;
  };
  const Case Cases[] = {
      {Extent(Dc(), Text), 1, Extent(Dc(), Text)},
      {OneTwo, 2, std::max(OneTwo, Extent(Dc(), "three"))},
      {OneTwo - 1, 3, Widest},
      {1, 3, Widest},  // a word wider than the rectangle widens it
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Width);
    int H = 0;
    const SIZE S = Calc(Dc(), Text, DT_WORDBREAK, C.Width, &H);
    EXPECT_EQ(S.cy, C.Lines * Tm.tmHeight);
    EXPECT_EQ(H, C.Lines * Tm.tmHeight);
    EXPECT_EQ(S.cx, C.MeasuredWidth);
  }
}

TEST_F(DrawTextDc, CalcRectHandlesPrefixesTabsAndCounts) {
  const int Ave = Tm.tmAveCharWidth;
  ASSERT_GT(Ave, 0);
  DRAWTEXTPARAMS P;
  P.iTabLength = 2;
  RECT R{0, 0, 0, 0};
  DrawTextEx(Dc(), "a\tb", -1, &R, DT_CALCRECT | DT_SINGLELINE | DT_EXPANDTABS, &P);
  struct Case {
    const char* Text;
    UINT Format;
    int Width;
  };
  const Case Cases[] = {
      {"&&", DT_SINGLELINE, Extent(Dc(), "&")},
      {"Fish && Chips", DT_SINGLELINE, Extent(Dc(), "Fish & Chips")},
      {"&File", DT_SINGLELINE, Extent(Dc(), "File")},
      {"&File", DT_SINGLELINE | DT_NOPREFIX, Extent(Dc(), "&File")},
      {"a\tb", DT_SINGLELINE | DT_EXPANDTABS, 8 * Ave + Extent(Dc(), "b")},
      {"a\tb", DT_SINGLELINE, Extent(Dc(), "ab")},  // unexpanded tabs take no room
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Text);
    EXPECT_EQ(Calc(Dc(), C.Text, C.Format).cx, C.Width);
  }
  EXPECT_EQ(R.Right, 2 * Ave + Extent(Dc(), "b"));
  EXPECT_EQ(P.uiLengthDrawn, 3u);
  // Counts are code points.
  EXPECT_EQ(Calc(Dc(), "h\u00e9llo", DT_SINGLELINE, 0, nullptr, 2).cx, Extent(Dc(), "h\u00e9"));
}

TEST_F(DrawTextDc, EmptyTextOrLonePrefixMeasuresNothing) {
  for (const char* Text : {"", "&"}) {
    SCOPED_TRACE(Text);
    int H = -1;
    const SIZE S = Calc(Dc(), Text, 0, 50, &H);
    EXPECT_EQ(H, 0);
    EXPECT_EQ(S.cx, 0);
    EXPECT_EQ(S.cy, 0);
  }
  // A blank is one line.
  EXPECT_EQ(Calc(Dc(), " ", 0).cy, Tm.tmHeight);
}

TEST_F(DrawTextDc, EndEllipsisMeasuresAndDrawsWithinTheWidth) {
  const std::string Text = "A rather long caption for a small button";
  const int Width = 70;
  ASSERT_GT(Extent(Dc(), Text), Width);
  const SIZE S = Calc(Dc(), Text, DT_SINGLELINE | DT_END_ELLIPSIS, Width);
  EXPECT_LE(S.cx, Width);
  EXPECT_GT(S.cx, Width - Extent(Dc(), "W..."));  // uses the room it has
  RECT R{10, 10, 10 + Width, 40};
  DrawText(Dc(), Text, -1, &R, DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOCLIP);
  const RECT Ink = Dib.Ink();
  EXPECT_GE(Ink.Left, 10);
  EXPECT_LE(Ink.Right, 10 + Width + 1);
}

TEST_F(DrawTextDc, VerticalFontMeasuresAlongItsBaseline) {
  const SIZE Flat = Calc(Dc(), "Vertical text", DT_SINGLELINE);
  Dib.Select(MakeFont("Arial", -13, 900));
  EXPECT_EQ(Calc(Dc(), "Vertical text", DT_SINGLELINE), Flat);
  EXPECT_EQ(Calc(Dc(), "one two", DT_WORDBREAK, 1).cy, 2 * Tm.tmHeight);
}

TEST_F(DrawTextDc, AlignmentPlacesTheTextInTheRectangle) {
  const RECT Box{20, 10, 220, 110};
  const std::string Text = "Align me";
  const int W = Extent(Dc(), Text);
  auto InkFor = [&](UINT Format, int* Result = nullptr) {
    Dib.Clear();
    RECT R = Box;
    const int H = DrawText(Dc(), Text, -1, &R, Format);
    if (Result) *Result = H;
    EXPECT_EQ(R, Box);  // drawing leaves the rectangle alone
    return Dib.Ink();
  };
  const RECT Base = InkFor(DT_SINGLELINE);
  ASSERT_GT(Base.Right, Base.Left);
  EXPECT_GE(Base.Left, Box.Left);
  EXPECT_LE(Base.Left, Box.Left + 2);
  struct Case {
    UINT Format;
    int DX;
    int DY;
    int Result;
  };
  const int Free = Box.Bottom - Box.Top - Tm.tmHeight;
  const Case Cases[] = {
      {DT_SINGLELINE | DT_CENTER, (Box.Right - Box.Left - W) / 2, 0, Tm.tmHeight},
      {DT_SINGLELINE | DT_RIGHT, Box.Right - Box.Left - W, 0, Tm.tmHeight},
      {DT_SINGLELINE | DT_VCENTER, 0, Free / 2, Free / 2 + Tm.tmHeight},
      {DT_SINGLELINE | DT_BOTTOM, 0, Free, Free + Tm.tmHeight},
      {DT_VCENTER, 0, 0, Tm.tmHeight},  // vertical alignment needs DT_SINGLELINE
      {DT_SINGLELINE | DT_CENTER | DT_VCENTER, (Box.Right - Box.Left - W) / 2, Free / 2,
       Free / 2 + Tm.tmHeight},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Format);
    int Result = 0;
    const RECT Ink = InkFor(C.Format, &Result);
    EXPECT_EQ(Ink.Left, Base.Left + C.DX);
    EXPECT_EQ(Ink.Top, Base.Top + C.DY);
    EXPECT_EQ(Ink.Right - Ink.Left, Base.Right - Base.Left);
    EXPECT_EQ(Result, C.Result);
  }
}

TEST_F(DrawTextDc, LinesAreStackedAndEachOneAligned) {
  RECT R{0, 0, 240, 120};
  EXPECT_EQ(DrawText(Dc(), "I\nI", -1, &R, DT_CENTER), 2 * Tm.tmHeight);
  const RECT Two = Dib.Ink();
  Dib.Clear();
  DrawText(Dc(), "I", -1, &R, DT_CENTER);
  const RECT One = Dib.Ink();
  EXPECT_EQ(Two.Left, One.Left);
  EXPECT_EQ(Two.Right, One.Right);
  EXPECT_EQ(Two.Bottom, One.Bottom + Tm.tmHeight);
}

TEST_F(DrawTextDc, TextIsClippedToTheRectangleUnlessNoClip) {
  const std::string Text = "Much too long for the box";
  RECT R{30, 20, 70, 40};
  DrawText(Dc(), Text, -1, &R, DT_SINGLELINE);
  const RECT Clipped = Dib.Ink();
  EXPECT_GE(Clipped.Left, 30);
  EXPECT_LE(Clipped.Right, 70);
  EXPECT_GT(Clipped.Right, Clipped.Left);
  Dib.Clear();
  DrawText(Dc(), Text, -1, &R, DT_SINGLELINE | DT_NOCLIP);
  EXPECT_GT(Dib.Ink().Right, 70);
}

TEST_F(DrawTextDc, PrefixUnderlinesItsCharacterOnly) {
  RECT R{10, 10, 200, 60};
  SetBkMode(Dc(), TRANSPARENT);
  DrawText(Dc(), "HHH", -1, &R, DT_SINGLELINE);
  const RECT Plain = Dib.Ink();
  for (UINT Hide : {0u, DT_HIDEPREFIX}) {
    Dib.Clear();
    DrawText(Dc(), "H&HH", -1, &R, DT_SINGLELINE | Hide);
    const RECT Marked = Dib.Ink();
    EXPECT_EQ(Marked.Left, Plain.Left);
    if (Hide) {
      EXPECT_EQ(Marked, Plain);
      continue;
    }
    // A line under the middle H: below the plain text's ink, between its neighbours.
    ASSERT_GT(Marked.Bottom, Plain.Bottom);
    const int Row = Marked.Bottom - 1;
    const int H = Extent(Dc(), "H");
    EXPECT_EQ(Dib.At(R.Left + H + H / 2, Row), 0x000000u);
    EXPECT_EQ(Dib.At(R.Left + H / 2, Row), 0xFFFFFFu);
    EXPECT_EQ(Dib.At(R.Left + 2 * H + H / 2, Row), 0xFFFFFFu);
  }
}

TEST_F(DrawTextDc, OpaqueModeFillsTheTextCells) {
  SetBkMode(Dc(), OPAQUE);
  SetBkColor(Dc(), RGB(255, 0, 0));
  RECT R{10, 10, 200, 100};
  DrawText(Dc(), "ab", -1, &R, 0);
  const int W = Extent(Dc(), "ab");
  EXPECT_EQ(Dib.At(10, 10), 0xFF0000u);
  EXPECT_EQ(Dib.At(10 + W - 1, 10 + Tm.tmHeight - 1), 0xFF0000u);
  EXPECT_EQ(Dib.At(10 + W, 10), 0xFFFFFFu);
  EXPECT_EQ(Dib.At(10, 10 + Tm.tmHeight), 0xFFFFFFu);
}

TEST_F(DrawTextDc, MarginsOfDrawTextExWidenTheMeasure) {
  DRAWTEXTPARAMS P;
  P.iLeftMargin = 4;
  P.iRightMargin = 6;
  RECT R{0, 0, 0, 0};
  const int H = DrawTextEx(Dc(), "h\u00e9llo", -1, &R, DT_CALCRECT | DT_SINGLELINE, &P);
  EXPECT_EQ(H, Tm.tmHeight);
  EXPECT_EQ(R.Right, 4 + Extent(Dc(), "h\u00e9llo") + 6);
  EXPECT_EQ(P.uiLengthDrawn, 5u);
}

TEST(DrawTextErrors, BadArgumentsFailWithZero) {
  RECT R{0, 0, 10, 10};
  EXPECT_EQ(DrawText(nullptr, "x", -1, &R, 0), 0);
  TextDib Dib(10, 10);
  EXPECT_EQ(DrawText(Dib.Dc(), "x", -1, nullptr, 0), 0);
  HDC Stale = CreateCompatibleDC(nullptr);
  DeleteDC(Stale);
  EXPECT_EQ(DrawText(Stale, "x", -1, &R, DT_CALCRECT), 0);
}

}  // namespace
