// Text output and measuring on a DIB section: extents against FreeType's own advances,
// metrics, where the ink lands for each alignment, origin, clip and escapement, and the
// backgrounds, lines and tab stops.
#include "platform/win/Text.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "platform/rtl/Utf8.h"
#include "platform/win/DrawText.h"
#include "tests/support/TextDib.h"
#include "tests/support/TextFreeType.h"

using vantrel::test::FontFileOf;
using vantrel::test::FreeTypeFace;
using vantrel::test::MakeFont;
using vantrel::test::TextDib;

namespace {

int ExtentOfText(HDC Dc, const std::string& S, int Count = -1) {
  SIZE Sz{};
  EXPECT_TRUE(GetTextExtentPoint32(Dc, S, Count, &Sz));
  return Sz.cx;
}

TEXTMETRIC MetricsOfDc(HDC Dc) {
  TEXTMETRIC Tm{};
  EXPECT_TRUE(GetTextMetrics(Dc, &Tm));
  return Tm;
}

RECT Offset(RECT R, int DX, int DY) { return {R.Left + DX, R.Top + DY, R.Right + DX, R.Bottom + DY}; }

TEST(TextMeasure, ArialWidthIsTheSumOfFreeTypeAdvancesOfLiberationSans) {
  const std::string File = FontFileOf("Liberation Sans");
  ASSERT_FALSE(File.empty());
  FreeTypeFace Ref(File);
  ASSERT_TRUE(Ref.Valid());
  const std::string Text = "The quick brown fox jumps over 13 lazy dogs, \xC3\xA9t\xC3\xA9!";
  struct Case {
    int Height;
    int Em;
  };
  const Case Cases[] = {{14, Ref.EmForCellHeight(14)}, {-11, 11}};
  TextDib Dib(10, 10);
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Height);
    Dib.Select(MakeFont("Arial", C.Height));
    SIZE Sz{};
    ASSERT_TRUE(GetTextExtentPoint32(Dib.Dc(), Text, -1, &Sz));
    EXPECT_EQ(Sz.cx, Ref.Advances(Utf8ToCodePoints(Text), C.Em));
    EXPECT_EQ(Sz.cy, MetricsOfDc(Dib.Dc()).tmHeight);
  }
}

TEST(TextMeasure, MetricsFollowTheCellOrCharacterHeight) {
  FreeTypeFace Ref(FontFileOf("Liberation Sans"));
  ASSERT_TRUE(Ref.Valid());
  const int A = Ref.WinAscent(), D = Ref.WinDescent(), Upem = Ref.UnitsPerEm();
  TextDib Dib(10, 10);

  Dib.Select(MakeFont("Arial", 14));
  TEXTMETRIC Tm = MetricsOfDc(Dib.Dc());
  EXPECT_EQ(Tm.tmHeight, 14);
  EXPECT_EQ(Tm.tmAscent, static_cast<LONG>(std::lround(14.0 * A / (A + D))));
  EXPECT_EQ(Tm.tmAscent + Tm.tmDescent, Tm.tmHeight);
  EXPECT_EQ(Tm.tmInternalLeading, 14 - Ref.EmForCellHeight(14));

  Dib.Select(MakeFont("Arial", -11));
  Tm = MetricsOfDc(Dib.Dc());
  EXPECT_EQ(Tm.tmAscent, static_cast<LONG>(std::lround(11.0 * A / Upem)));
  EXPECT_EQ(Tm.tmDescent, static_cast<LONG>(std::lround(11.0 * D / Upem)));
  EXPECT_EQ(Tm.tmHeight - Tm.tmInternalLeading, 11);
  EXPECT_EQ(Tm.tmAveCharWidth, static_cast<LONG>(std::lround(11.0 * Ref.Os2().xAvgCharWidth / Upem)));
  EXPECT_GE(Tm.tmMaxCharWidth, Tm.tmAveCharWidth);
  EXPECT_EQ(Tm.tmWeight, FW_NORMAL);
  EXPECT_EQ(Tm.tmItalic, 0);
  EXPECT_EQ(Tm.tmCharSet, ANSI_CHARSET);  // DEFAULT_CHARSET reports the ANSI set
  EXPECT_TRUE(Tm.tmPitchAndFamily & TMPF_TRUETYPE);
  EXPECT_TRUE(Tm.tmPitchAndFamily & TMPF_FIXED_PITCH);  // set means variable pitch

  LOGFONT Lf = MakeFont("Courier New", -12, 0, FW_BOLD);
  Lf.lfItalic = 1;
  Lf.lfCharSet = RUSSIAN_CHARSET;
  Dib.Select(Lf);
  Tm = MetricsOfDc(Dib.Dc());
  EXPECT_EQ(Tm.tmCharSet, RUSSIAN_CHARSET);
  EXPECT_EQ(Tm.tmWeight, FW_BOLD);
  EXPECT_NE(Tm.tmItalic, 0);
  EXPECT_FALSE(Tm.tmPitchAndFamily & TMPF_FIXED_PITCH);
  EXPECT_EQ(ExtentOfText(Dib.Dc(), "iiii"), ExtentOfText(Dib.Dc(), "MMMM"));
}

TEST(TextMeasure, CountsAreCodePointsAndExtentsAccumulate) {
  TextDib Dib(10, 10);
  Dib.Select(MakeFont("Arial", -16));
  const HDC Dc = Dib.Dc();
  EXPECT_EQ(ExtentOfText(Dc, "\xC3\xA9""ab", 1), ExtentOfText(Dc, "\xC3\xA9"));
  EXPECT_EQ(ExtentOfText(Dc, "ab", 99), ExtentOfText(Dc, "ab"));
  EXPECT_EQ(ExtentOfText(Dc, "ab", 0), 0);

  int Fit = -1;
  int Dx[3] = {};
  SIZE Sz{};
  ASSERT_TRUE(GetTextExtentExPoint(Dc, "abc", -1, ExtentOfText(Dc, "ab"), &Fit, Dx, &Sz));
  EXPECT_EQ(Fit, 2);
  EXPECT_EQ(Dx[0], ExtentOfText(Dc, "a"));
  EXPECT_EQ(Dx[1], ExtentOfText(Dc, "ab"));
  EXPECT_EQ(Dx[2], ExtentOfText(Dc, "abc"));
  EXPECT_EQ(Sz.cx, Dx[2]);

  SetTextCharacterExtra(Dc, 3);
  EXPECT_EQ(ExtentOfText(Dc, "abc"), Dx[2] + 9);
}

TEST(TextMeasure, BadHandlesAndArgumentsFail) {
  SIZE Sz{};
  TEXTMETRIC Tm{};
  EXPECT_FALSE(GetTextExtentPoint32(nullptr, "a", -1, &Sz));
  EXPECT_FALSE(GetTextMetrics(nullptr, &Tm));
  EXPECT_FALSE(TextOut(nullptr, 0, 0, "a", -1));
  EXPECT_EQ(GetTabbedTextExtent(nullptr, "a", -1, 0, nullptr), 0u);
  TextDib Dib(10, 10);
  EXPECT_FALSE(GetTextExtentPoint32(Dib.Dc(), "a", -1, nullptr));
  EXPECT_FALSE(GetTextMetrics(Dib.Dc(), nullptr));
}

TEST(TextMeasure, ADeletedSelectedFontFallsBackHarmlessly) {
  TextDib Dib(10, 10);
  LOGFONT Lf = MakeFont("Arial", -16);
  HFONT F = CreateFontIndirect(&Lf);
  HGDIOBJ Old = SelectObject(Dib.Dc(), F);
  const int Before = ExtentOfText(Dib.Dc(), "abc");
  DeleteObject(F);
  EXPECT_EQ(ExtentOfText(Dib.Dc(), "abc"), Before);  // the DC keeps what it selected
  SelectObject(Dib.Dc(), Old);
}

TEST(TextMeasure, ExtremeCoordinatesAndSizesAreHarmless) {
  TextDib Dib(40, 40);
  LOGFONT Lf = MakeFont("Arial", INT_MIN);
  Lf.lfWidth = INT_MIN;
  Lf.lfEscapement = INT_MIN;
  Dib.Select(Lf);
  SIZE Sz{};
  EXPECT_TRUE(GetTextExtentPoint32(Dib.Dc(), "x", -1, &Sz));
  Dib.Select(MakeFont("Arial", -12));
  RECT Huge{INT_MIN, INT_MIN, INT_MAX, INT_MAX};
  EXPECT_TRUE(ExtTextOut(Dib.Dc(), INT_MAX, INT_MIN, ETO_CLIPPED | ETO_OPAQUE, &Huge, "abc", -1, nullptr));
  const INT Dx[2] = {INT_MAX, INT_MAX};
  EXPECT_TRUE(ExtTextOut(Dib.Dc(), 0, 0, 0, nullptr, "ab", 2, Dx));
  SetTextCharacterExtra(Dib.Dc(), INT_MAX);
  EXPECT_TRUE(GetTextExtentPoint32(Dib.Dc(), "abc", -1, &Sz));
  const INT Stops[2] = {INT_MIN, INT_MAX};
  TabbedTextOut(Dib.Dc(), INT_MAX, 0, "a\tb\tc", -1, 2, Stops, INT_MIN);
  RECT R = Huge;
  EXPECT_GT(DrawText(Dib.Dc(), "a b c", -1, &R, DT_WORDBREAK | DT_CENTER | DT_CALCRECT), 0);
  R = Huge;
  EXPECT_GT(DrawText(Dib.Dc(), "a b c", -1, &R, DT_SINGLELINE | DT_CENTER | DT_VCENTER), 0);
  DRAWTEXTPARAMS P;
  P.iLeftMargin = INT_MAX;
  P.iRightMargin = INT_MIN;
  R = Huge;
  DrawTextEx(Dib.Dc(), "a b", -1, &R, DT_CALCRECT, &P);
}

class TextOutDc : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(Dib.Valid());
    Dib.Select(MakeFont("Arial", -20));
    Tm = MetricsOfDc(Dc());
    SetBkMode(Dc(), TRANSPARENT);
  }
  HDC Dc() { return Dib.Dc(); }
  RECT InkOf(int X, int Y, const std::string& S) {
    Dib.Clear();
    EXPECT_TRUE(TextOut(Dc(), X, Y, S, -1));
    return Dib.Ink();
  }
  TextDib Dib{300, 200};
  TEXTMETRIC Tm{};
};

TEST_F(TextOutDc, InkLiesInTheTextCellInTheTextColour) {
  SetTextColor(Dc(), RGB(0, 0, 200));
  const std::string S = "HIH lil";
  const RECT Ink = InkOf(40, 50, S);
  const int W = ExtentOfText(Dc(), S);
  EXPECT_GE(Ink.Left, 40);
  EXPECT_LE(Ink.Right, 40 + W + 1);
  EXPECT_GE(Ink.Top, 50);
  EXPECT_LE(Ink.Bottom, 50 + Tm.tmAscent);  // no descenders in the text
  bool FullInk = false;
  for (int Y = Ink.Top; Y < Ink.Bottom; ++Y)
    for (int X = Ink.Left; X < Ink.Right; ++X) FullInk |= Dib.At(X, Y) == 0x0000C8u;
  EXPECT_TRUE(FullInk);
}

TEST_F(TextOutDc, AlignmentMovesTheReferencePoint) {
  const std::string S = "Hxg";
  const int W = ExtentOfText(Dc(), S);
  const RECT Base = InkOf(150, 100, S);
  struct Case {
    UINT Align;
    int DX;
    int DY;
  };
  const Case Cases[] = {
      {TA_RIGHT | TA_TOP, -W, 0},
      {TA_CENTER | TA_TOP, -(W / 2), 0},
      {TA_LEFT | TA_BASELINE, 0, -Tm.tmAscent},
      {TA_LEFT | TA_BOTTOM, 0, -Tm.tmHeight},
      {TA_CENTER | TA_BASELINE, -(W / 2), -Tm.tmAscent},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Align);
    SetTextAlign(Dc(), C.Align);
    EXPECT_EQ(InkOf(150, 100, S), Offset(Base, C.DX, C.DY));
  }
}

TEST_F(TextOutDc, WindowAndViewportOriginsAndClipApply) {
  const RECT Base = InkOf(100, 80, "Origin");
  SetWindowOrgEx(Dc(), 10, 5, nullptr);
  SetViewportOrgEx(Dc(), 3, 20, nullptr);
  EXPECT_EQ(InkOf(100, 80, "Origin"), Offset(Base, -10 + 3, -5 + 20));
  SetWindowOrgEx(Dc(), 0, 0, nullptr);
  SetViewportOrgEx(Dc(), 0, 0, nullptr);

  const int Mid = (Base.Left + Base.Right) / 2;
  IntersectClipRect(Dc(), 0, 0, Mid, 200);
  const RECT Clipped = InkOf(100, 80, "Origin");
  EXPECT_EQ(Clipped.Left, Base.Left);
  EXPECT_LE(Clipped.Right, Mid);
}

TEST_F(TextOutDc, BackgroundModeFillsTheCellOrLeavesIt) {
  SetBkColor(Dc(), RGB(0, 255, 0));
  const int W = ExtentOfText(Dc(), "ab");
  Dib.Clear();
  TextOut(Dc(), 20, 30, "ab", -1);
  EXPECT_EQ(Dib.At(20, 30), 0xFFFFFFu);

  SetBkMode(Dc(), OPAQUE);
  Dib.Clear();
  TextOut(Dc(), 20, 30, "ab", -1);
  EXPECT_EQ(Dib.At(20, 30), 0x00FF00u);
  EXPECT_EQ(Dib.At(20 + W - 1, 30 + Tm.tmHeight - 1), 0x00FF00u);
  EXPECT_EQ(Dib.Ink(), (RECT{20, 30, 20 + W, 30 + Tm.tmHeight}));
}

TEST_F(TextOutDc, ExtTextOutFillsAndClipsToItsRectangle) {
  SetBkColor(Dc(), RGB(255, 0, 0));
  const RECT R{10, 10, 60, 40};
  Dib.Clear();
  EXPECT_TRUE(ExtTextOut(Dc(), 0, 0, ETO_OPAQUE, &R, "", 0, nullptr));
  EXPECT_EQ(Dib.Ink(), R);
  EXPECT_EQ(Dib.At(10, 10), 0xFF0000u);
  EXPECT_EQ(Dib.At(59, 39), 0xFF0000u);

  const std::string S = "Clipped output text";
  ASSERT_GT(ExtentOfText(Dc(), S), 60);
  Dib.Clear();
  ExtTextOut(Dc(), 15, 15, ETO_CLIPPED, &R, S, -1, nullptr);
  const RECT Ink = Dib.Ink();
  EXPECT_GE(Ink.Left, R.Left);
  EXPECT_LE(Ink.Right, R.Right);
  EXPECT_LE(Ink.Bottom, R.Bottom);

  // Explicit advances place each character.
  const INT Dx[3] = {40, 40, 40};
  const RECT One = InkOf(20, 100, "I");
  Dib.Clear();
  ExtTextOut(Dc(), 20, 100, 0, nullptr, "III", 3, Dx);
  EXPECT_EQ(Dib.Ink(), (RECT{One.Left, One.Top, One.Right + 80, One.Bottom}));
}

TEST_F(TextOutDc, UnderlineAndStrikeOutSpanTheText) {
  // Blanks have no glyph ink, so what is drawn is the line alone.
  const std::string S = "      ";
  for (bool Strike : {false, true}) {
    SCOPED_TRACE(Strike);
    LOGFONT Lf = MakeFont("Arial", -20);
    Lf.lfUnderline = !Strike;
    Lf.lfStrikeOut = Strike;
    Dib.Select(Lf);
    const RECT Ink = InkOf(30, 40, S);
    EXPECT_EQ(Ink.Left, 30);
    EXPECT_EQ(Ink.Right, 30 + ExtentOfText(Dc(), S));
    EXPECT_GE(Ink.Bottom - Ink.Top, 1);
    EXPECT_LE(Ink.Bottom - Ink.Top, 3);
    if (Strike) {
      EXPECT_LT(Ink.Bottom, 40 + Tm.tmAscent);
      EXPECT_GT(Ink.Top, 40 + Tm.tmInternalLeading);
    } else {
      EXPECT_GE(Ink.Top, 40 + Tm.tmAscent);
      EXPECT_LE(Ink.Bottom, 40 + Tm.tmHeight);
    }
  }
}

TEST_F(TextOutDc, EscapementTurnsTextUpwards) {
  const std::string S = "Vertical";
  const int W = ExtentOfText(Dc(), S);
  const RECT Flat = InkOf(20, 20, S);
  struct Case {
    LONG Escapement;
    int Y;      // reference point (150, Y)
    RECT Cell;  // where the text cell lies
  };
  const Case Cases[] = {
      {900, 150, {150, 150 - W, 150 + Tm.tmHeight, 150}},
      {2700, 50, {150 - Tm.tmHeight, 50, 150, 50 + W}},
      {1800, 150, {150 - W, 150 - Tm.tmHeight, 150, 150}},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Escapement);
    Dib.Select(MakeFont("Arial", -20, C.Escapement));
    EXPECT_EQ(ExtentOfText(Dc(), S), W);
    const RECT Ink = InkOf(150, C.Y, S);
    EXPECT_GE(Ink.Left, C.Cell.Left - 1);
    EXPECT_LE(Ink.Right, C.Cell.Right + 1);
    EXPECT_GE(Ink.Top, C.Cell.Top - 1);
    EXPECT_LE(Ink.Bottom, C.Cell.Bottom + 1);
    // The same glyphs turned: the ink's sides swap for quarter turns.
    const bool Quarter = C.Escapement != 1800;
    EXPECT_EQ(Quarter ? Ink.Bottom - Ink.Top : Ink.Right - Ink.Left, Flat.Right - Flat.Left);
    EXPECT_EQ(Quarter ? Ink.Right - Ink.Left : Ink.Bottom - Ink.Top, Flat.Bottom - Flat.Top);
  }
  // Escapement 900 at (150, 150): the baseline runs up the column at 150 + ascent.
  Dib.Select(MakeFont("Arial", -20, 900));
  const RECT Up = InkOf(150, 150, S);
  EXPECT_EQ(Up.Left - 150, Flat.Top - 20);
  EXPECT_EQ(150 - Up.Bottom, Flat.Left - 20);
}

TEST_F(TextOutDc, TabbedTextGoesToTheTabStops) {
  const HDC D = Dc();
  const int Ave = Tm.tmAveCharWidth;
  const int B = ExtentOfText(D, "b");
  const int C = ExtentOfText(D, "c");
  const INT One[] = {50};
  const INT Two[] = {30, 70};
  const INT Zero[] = {0};
  struct Case {
    const char* Text;
    int Count;
    const INT* Stops;
    int Width;
  };
  const int After = 70 + C;  // past the last of two stops: every 8 average widths
  const Case Cases[] = {
      {"a\tb", 0, nullptr, 8 * Ave + B},
      {"a\tb\tc", 1, One, 100 + C},
      {"a\tb", 1, Zero, 8 * Ave + B},  // a zero interval falls back to the default
      {"a\tb\tc\td", 2, Two, (After / (8 * Ave) + 1) * 8 * Ave + ExtentOfText(D, "d")},
  };
  for (const Case& K : Cases) {
    SCOPED_TRACE(K.Text);
    const DWORD E = GetTabbedTextExtent(D, K.Text, -1, K.Count, K.Stops);
    EXPECT_EQ(LOWORD(E), K.Width);
    EXPECT_EQ(HIWORD(E), Tm.tmHeight);
  }
  // Stops are positions from the tab origin, not from the start of the text.
  Dib.Clear();
  const LONG R = TabbedTextOut(D, 10, 20, "a\tb", -1, 1, One, 0);
  EXPECT_EQ(LOWORD(R), 50 - 10 + B);
  EXPECT_EQ(HIWORD(R), Tm.tmHeight);
  const RECT Ink = Dib.Ink();
  EXPECT_GE(Ink.Right, 50 + B - 2);
  EXPECT_LE(Ink.Right, 50 + B + 1);
}

}  // namespace
