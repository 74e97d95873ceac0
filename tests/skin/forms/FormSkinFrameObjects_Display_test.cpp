// The frame's progress gauges, bitmap-font labels and text labels: where the gauge is
// cut, which cells the label takes from the sheet, and when the text label is drawn.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/skin/forms/FrameObjects_TestKit.h"

using namespace vantrel::frameobjtest;

namespace {

constexpr TColor FoGlyphEdge = 0x00FFFF;  // first two columns of a glyph cell (yellow)
constexpr TColor FoGlyph = 0xFF00FF;      // the rest of a glyph cell (magenta)
constexpr TColor FoGlyphRow2 = 0xFFFF00;  // the cells of the sheet's second row (cyan)

class DisplayObjectTest : public FrameObjectsFixture {
 protected:
  // A horizontal gauge 100 pixels wide at (10, 10), range 0..200.
  Counted<TspSkinGaugeObject>* MakeGauge(Integer Min = 0, Integer Max = 200) {
    auto* D = Descriptor<TspDataSkinGauge>("progress", Rect(10, 10, 110, 20));
    D->ActiveSkinRect = Rect(0, 0, 100, 10);
    D->MinValue = Min;
    D->MaxValue = Max;
    return Add<TspSkinGaugeObject>(D);
  }
};

TEST_F(DisplayObjectTest, TheGaugeIsCutAtTheValuesPlace) {
  auto* G = MakeGauge();
  G->SetValue(50);
  EXPECT_EQ(G->FProgressPos, Point(25, 0));
  TOwned<TBitmap> Shot = DrawOnTarget(G);
  EXPECT_EQ(Shot->Canvas()->Pixels(10 + 24, 15), FoActive);
  EXPECT_EQ(Shot->Canvas()->Pixels(10 + 25, 15), FoNormal);
}

TEST_F(DisplayObjectTest, TheGaugeHoldsItsRangeAndRedrawsEvenForTheSameValue) {
  auto* G = MakeGauge();
  G->SetValue(300);
  EXPECT_EQ(G->Value(), 200);
  EXPECT_EQ(G->FProgressPos, Point(100, 0));
  EXPECT_EQ(DrawOnTarget(G)->Canvas()->Pixels(10 + 99, 15), FoActive);
  const int Draws = G->Draws;
  G->SetValue(200);
  EXPECT_EQ(G->Draws, Draws + 1);
  G->SimplySetValue(-5);
  EXPECT_EQ(G->Value(), 0);
  EXPECT_EQ(G->Draws, Draws + 1);
}

TEST_F(DisplayObjectTest, AGaugeWithoutARangeShowsTheEmptyPicture) {
  auto* G = MakeGauge(5, 5);
  G->SetValue(7);
  EXPECT_EQ(G->Value(), 5);
  TOwned<TBitmap> Shot = DrawOnTarget(G);
  EXPECT_EQ(Shot->Canvas()->Pixels(10, 15), FoNormal);
  EXPECT_EQ(Shot->Canvas()->Pixels(10 + 99, 15), FoNormal);
}

class BitLabelTest : public DisplayObjectTest {
 protected:
  // A sheet at (0, 60) of active picture 0: row 0 holds ten digits, row 1 ":" and ".".
  void SetUp() override {
    DisplayObjectTest::SetUp();
    TCanvas* C = Skin->FActivePictures.Items(0)->Canvas();
    for (int Cell = 0; Cell < 10; ++Cell) {
      C->Brush()->SetColor(FoGlyphEdge);
      C->FillRect(Rect(Cell * 12, 60, Cell * 12 + 2, 72));
      C->Brush()->SetColor(FoGlyph);
      C->FillRect(Rect(Cell * 12 + 2, 60, Cell * 12 + 12, 72));
    }
    C->Brush()->SetColor(FoGlyphRow2);
    C->FillRect(Rect(0, 72, 24, 84));
  }

  Counted<TspSkinBitLabelObject>* MakeLabel(const String& Text) {
    auto* D = Descriptor<TspDataSkinBitLabel>("time", Rect(10, 10, 60, 22));
    D->ActiveSkinRect = Rect(0, 60, 120, 84);
    D->SymbolWidth = 12;
    D->SymbolHeight = 12;
    D->Symbols->Add("0123456789");
    D->Symbols->Add(":.");
    D->TextValue = Text;
    return Add<TspSkinBitLabelObject>(D);
  }
};

TEST_F(BitLabelTest, TextLongerThanTheLabelIsCutAtTheFirstCellThatDoesNotFit) {
  auto* L = MakeLabel("123456");
  TOwned<TBitmap> Shot = DrawOnTarget(L);
  TCanvas* C = Shot->Canvas();
  for (int Cell = 0; Cell < 4; ++Cell) {
    SCOPED_TRACE(Cell);
    EXPECT_EQ(C->Pixels(10 + Cell * 12, 15), FoGlyphEdge);
    EXPECT_EQ(C->Pixels(10 + Cell * 12 + 11, 15), FoGlyph);
  }
  // The fifth cell keeps its two first columns, unstretched; nothing lies beyond.
  EXPECT_EQ(C->Pixels(10 + 48, 15), FoGlyphEdge);
  EXPECT_EQ(C->Pixels(10 + 49, 15), FoGlyphEdge);
  EXPECT_EQ(C->Pixels(10 + 50, 15), FoTarget);
}

TEST_F(BitLabelTest, CharactersComeFromTheirRowAndUnknownOnesLeaveTheBackground) {
  auto* L = MakeLabel(":x1");
  TOwned<TBitmap> Shot = DrawOnTarget(L);
  TCanvas* C = Shot->Canvas();
  EXPECT_EQ(C->Pixels(10 + 5, 15), FoGlyphRow2);
  EXPECT_EQ(C->Pixels(10 + 12 + 5, 15), FoNormal);
  EXPECT_EQ(C->Pixels(10 + 24 + 5, 15), FoGlyph);
  L->SetTextValue("2", false);
  EXPECT_EQ(L->Draws, 1);
  L->SetTextValue("3", true);
  EXPECT_EQ(L->Draws, 2);
}

class TextLabelTest : public DisplayObjectTest {
 protected:
  Counted<TspSkinLabelObject>* MakeLabel(TAlignment Alignment, TColor Hot) {
    auto* D = Descriptor<TspDataSkinLabel>("title", Rect(10, 10, 210, 40));
    D->ActivePictureIndex = -1;
    D->FontName = "DejaVu Sans";
    D->FontHeight = 14;
    D->FontColor = clBlack;
    D->ActiveFontColor = Hot;
    D->Alignment = Alignment;
    D->TextValue = "Vantrel";
    return Add<TspSkinLabelObject>(D);
  }

  // First and last column of the object holding text (not the background).
  static std::pair<int, int> InkColumns(TCanvas* C) {
    int First = -1, Last = -1;
    for (int X = 10; X < 210; ++X)
      for (int Y = 10; Y < 40; ++Y)
        if (C->Pixels(X, Y) != FoNormal) {
          if (First < 0) First = X;
          Last = X;
          break;
        }
    return {First, Last};
  }
};

TEST_F(TextLabelTest, AHotLabelWithNothingToChangeIsNotRedrawn) {
  auto* L = MakeLabel(taLeftJustify, clBlack);
  L->MouseEnter();
  EXPECT_EQ(L->Draws, 0);
  auto Target = FlatBitmap(300, 120, FoTarget);
  L->TspSkinLabelObject::Draw(Target->Canvas(), true);
  EXPECT_EQ(Target->Canvas()->Pixels(20, 25), FoTarget);

  auto* H = MakeLabel(taLeftJustify, clRed);
  H->MouseEnter();
  EXPECT_EQ(H->Draws, 1);
}

TEST_F(TextLabelTest, ACentredLabelIsCentredByItsTextWidth) {
  auto* L = MakeLabel(taCenter, clBlack);
  TOwned<TBitmap> Shot = DrawOnTarget(L);
  const auto [First, Last] = InkColumns(Shot->Canvas());
  ASSERT_GE(First, 0);
  const int Middle = (First + Last) / 2;
  EXPECT_NEAR(Middle, 110, 3);

  auto* R = MakeLabel(taRightJustify, clBlack);
  const auto [RFirst, RLast] = InkColumns(DrawOnTarget(R)->Canvas());
  EXPECT_GE(RLast, 205);
  EXPECT_GT(RFirst, First);
}

}  // namespace
