// The label: AutoSize measures with DT_CALCRECT exactly as DrawText does (compared with
// DrawText's own answer, not with glyph pixels), the vertical layout, the embossed
// disabled look, transparency, and the focus control.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>

#include "platform/display/HeadlessSession.h"
#include "platform/ui/StdCtrls.h"
#include "platform/win/DrawText.h"
#include "platform/win/Gdi.h"
#include "platform/win/WindowDc.h"
#include "tests/support/UiTestControls.h"

using vantrel::display::HeadlessSession;
using vantrel::uitest::RgbAt;
using vantrel::uitest::RgbOf;
using vantrel::uitest::TTestForm;
using vantrel::uitest::TTestPanel;

namespace {

// DrawText's DT_CALCRECT answer for Text in Font, starting from Start.
RECT Measure(TFont* Font, const String& Text, RECT Start, UINT Flags) {
  const HDC DC = GetDC(nullptr);
  const HGDIOBJ Old = SelectObject(DC, Font->Handle());
  RECT R = Start;
  DrawText(DC, Text, -1, &R, Flags | DT_CALCRECT);
  SelectObject(DC, Old);
  ReleaseDC(nullptr, DC);
  return R;
}

struct LabelTest : ::testing::Test {
  HeadlessSession Session;
  TOwned<TTestForm> Form = CreateOwned<TTestForm>(nullptr);
  void SetUp() override {
    Form->SetBounds(40, 30, 300, 200);
    Form->SetColor(clWhite);
  }
  // Without AutoSize at first: a label sizes itself as soon as it gets its parent's font.
  TLabel* NewLabel(TRect R) {
    auto* L = Create<TLabel>(Form.get());
    L->SetAutoSize(false);
    L->SetBoundsRect(R);
    L->SetParent(Form.get());
    return L;
  }
  vantrel::win::Surface Shown() {
    ShowWindow(Form->Handle(), SW_SHOW);
    Session.PumpUntilIdle();
    return Session.Capture(Form->Handle());
  }
};

// The first and last rows of R (counted from R's top) holding a pixel that Match accepts;
// -1 when none. Glyphs are anti-aliased, so pixels are told by brightness.
template <class Pred>
std::pair<int, int> RowsWith(const vantrel::win::Surface& S, TRect R, Pred Match) {
  int First = -1;
  int Last = -1;
  for (int Y = R.Top; Y < R.Bottom; ++Y)
    for (int X = R.Left; X < R.Right; ++X)
      if (Match(RgbAt(S, X, Y))) {
        if (First < 0) First = Y - R.Top;
        Last = Y - R.Top;
        break;
      }
  return {First, Last};
}

// The brightest channel of a 0x00RRGGBB pixel.
int Brightest(uint32_t Rgb) { return std::max({int(Rgb >> 16), int((Rgb >> 8) & 0xFF), int(Rgb & 0xFF)}); }
bool Dark(uint32_t Rgb) { return Brightest(Rgb) < 0x80; }

}  // namespace

TEST_F(LabelTest, AutoSizeTakesTheSizeDrawTextMeasures) {
  struct Case {
    const char* Name;
    const char* Caption;
    bool WordWrap;
    const char* Measured;  // what the measurement must see
  };
  const Case Cases[] = {
      {"one line", "Convert the selected files", false, "Convert the selected files"},
      {"wrapped", "Convert the selected files to the target format now", true,
       "Convert the selected files to the target format now"},
      {"tabs expand", "Name\tSize", false, "Name\tSize"},
      {"accelerator", "&Open file", false, "&Open file"},
      {"empty: one line high", "", false, " "},
      {"lone ampersand", "&", false, "& "},
  };
  for (const Case& K : Cases) {
    SCOPED_TRACE(K.Name);
    auto* L = NewLabel(Bounds(10, 10, 80, 17));
    L->SetWordWrap(K.WordWrap);
    L->SetCaption(K.Caption);
    L->SetAutoSize(true);
    const UINT Flags = DT_EXPANDTABS | (K.WordWrap ? DT_WORDBREAK : 0);
    const RECT R = Measure(L->Font(), K.Measured, Rect(0, 0, 80, 17), Flags);
    EXPECT_EQ(L->BoundsRect(), Bounds(10, 10, R.Right, R.Bottom));
    if (K.WordWrap) {
      const RECT One = Measure(L->Font(), K.Measured, Rect(0, 0, 80, 17), DT_EXPANDTABS);
      EXPECT_GT(R.Bottom, One.Bottom);  // really more than one line
      EXPECT_LE(R.Right, 80);
    }
    L->Free();
  }
}

TEST_F(LabelTest, AutoSizeFollowsTextFontAndKeepsTheRightEdgeOfARightAlignedLabel) {
  auto* L = NewLabel(Bounds(100, 10, 65, 17));
  L->SetAlignment(taRightJustify);
  L->SetAutoSize(true);
  EXPECT_EQ(L->Left() + L->Width(), 165);
  L->SetCaption("Short");
  EXPECT_EQ(L->Left() + L->Width(), 165);
  const int ShortWidth = L->Width();
  L->SetCaption("A much longer caption");
  EXPECT_GT(L->Width(), ShortWidth);
  EXPECT_EQ(L->Left() + L->Width(), 165);
  const int Height = L->Height();
  L->Font()->SetHeight(-30);
  EXPECT_GT(L->Height(), Height);
  // Without AutoSize the label keeps the size it is given.
  L->SetAutoSize(false);
  L->SetBounds(0, 0, 40, 40);
  L->SetCaption("Another caption that is long");
  EXPECT_EQ(L->BoundsRect(), Bounds(0, 0, 40, 40));
  L->SetAutoSize(true);
  EXPECT_EQ(L->Height(), Measure(L->Font(), "Another caption that is long", Rect(0, 0, 40, 40), DT_EXPANDTABS).Bottom);
}

TEST_F(LabelTest, LayoutPlacesTheTextAtTheTopMiddleOrBottom) {
  const int LineHeight = [&] {
    TFont Font;
    return static_cast<int>(Measure(&Font, "HIH", Rect(0, 0, 100, 10), 0).Bottom);
  }();
  struct Case {
    TTextLayout Layout;
    int Top;  // where the line's box starts in the 60-pixel label
  };
  for (const Case& K : {Case{tlTop, 0}, Case{tlCenter, (60 - LineHeight) / 2}, Case{tlBottom, 60 - LineHeight}}) {
    SCOPED_TRACE(static_cast<int>(K.Layout));
    Form = CreateOwned<TTestForm>(nullptr);
    Form->SetBounds(40, 30, 300, 200);
    auto* L = NewLabel(Bounds(10, 10, 100, 60));
    L->SetColor(clWhite);
    L->Font()->SetColor(clBlack);
    L->SetLayout(K.Layout);
    L->SetCaption("HIH");
    const auto [First, Last] = RowsWith(Shown(), Bounds(10, 10, 100, 60), Dark);
    ASSERT_GE(First, 0) << "no text drawn";
    EXPECT_GE(First, K.Top);
    EXPECT_LT(Last, K.Top + LineHeight);
  }
}

TEST_F(LabelTest, DisabledTextIsEmbossedInHighlightAndShadow) {
  auto* L = NewLabel(Bounds(10, 10, 100, 30));
  L->SetColor(clBtnFace);
  L->Font()->SetColor(clBlack);
  L->SetCaption("Disabled");
  L->SetEnabled(false);
  const auto S = Shown();
  const TRect Area = Bounds(10, 10, 100, 30);
  // On the button face (240): the highlight (255) is brighter, the shadow (160) darker.
  const int Face = Brightest(RgbOf(ColorToRGB(clBtnFace)));
  const auto Highlight = RowsWith(S, Area, [&](uint32_t P) { return Brightest(P) > Face; });
  const auto Shadow = RowsWith(S, Area, [&](uint32_t P) { return Brightest(P) <= 0xA0; });
  ASSERT_GE(Highlight.first, 0);
  ASSERT_GE(Shadow.first, 0);
  EXPECT_GT(Highlight.second, Shadow.second);  // the highlight copy lies one pixel lower
  EXPECT_EQ(RowsWith(S, Area, Dark).first, -1);  // no trace of the black font colour
}

TEST_F(LabelTest, TransparentLabelLeavesTheBackgroundAlone) {
  Form->SetColor(clRed);
  auto* Opaque = NewLabel(Bounds(10, 10, 60, 20));
  Opaque->SetColor(clWhite);
  auto* Clear = NewLabel(Bounds(10, 40, 60, 20));
  Clear->SetColor(clWhite);
  Clear->SetTransparent(true);
  EXPECT_FALSE(Opaque->Transparent());
  const auto S = Shown();
  EXPECT_EQ(RgbAt(S, 65, 15), RgbOf(clWhite));
  EXPECT_EQ(RgbAt(S, 65, 45), RgbOf(clRed));
}

TEST_F(LabelTest, FocusControlIsForgottenWhenItGoes) {
  auto* L = NewLabel(Bounds(0, 0, 10, 10));
  auto* Edit = Create<TTestPanel>(Form.get());
  L->SetFocusControl(Edit);
  Edit->Free();
  EXPECT_EQ(L->FocusControl(), nullptr);
}
