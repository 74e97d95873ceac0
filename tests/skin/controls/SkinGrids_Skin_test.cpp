// The grid's skinned look: a grid descriptor whose fixed, selected and focused pictures
// are flat colours, the row height a skin change brings, the text area of a cell, and
// the backdrop of a transparent grid.
#include <gtest/gtest.h>

#include "skin/core/data/SkinDescriptors.h"
#include "tests/skin/controls/SkinGridsRecorder.h"
#include "tests/support/SkinFormFixture.h"

namespace sg = vantrel::skingen;
using vantrel::gridtest::TRecordingGrid;
using vantrel::uitest::SkinFormFixture;

namespace {

constexpr TColor GridFixedPicture = 0x0000C0;    // red
constexpr TColor GridSelectPicture = 0x00C000;   // green
constexpr TColor GridFocusPicture = 0xC00000;    // blue
constexpr TColor GridSkinBackground = 0x40E0E0;  // yellowish

class SkinGridSkinTest : public SkinFormFixture {
 protected:
  TRecordingGrid* G = nullptr;
  TspDataSkinGridControl* D = nullptr;

  // Three 60 x 20 pictures side by side: fixed, selected, focused.
  void SetUp() override {
    SkinFormFixture::SetUp();
    D = dynamic_cast<TspDataSkinGridControl*>(Skin->CtrlList.Items(Skin->GetControlIndex("grid")));
    ASSERT_NE(D, nullptr);
    auto B = CreateOwned<TBitmap>();
    B->SetSize(180, 20);
    const TColor Colours[3] = {GridFixedPicture, GridSelectPicture, GridFocusPicture};
    for (int I = 0; I < 3; ++I) {
      B->Canvas()->Brush()->SetColor(Colours[I]);
      B->Canvas()->FillRect(Rect(I * 60, 0, I * 60 + 60, 20));
    }
    D->PictureIndex = Skin->FActivePictures.Add(std::move(B));
    D->FixedCellRect = Rect(0, 0, 60, 20);
    D->SelectCellRect = Rect(60, 0, 120, 20);
    D->FocusCellRect = Rect(120, 0, 180, 20);
    D->FixedCellLeftOffset = D->FixedCellRightOffset = D->CellLeftOffset = D->CellRightOffset = 2;
    D->BGColor = GridSkinBackground;
    D->BGPictureIndex = -1;
    D->ShowFocus = false;
  }
  void AddGrid(bool Skinned = true) {
    G = Create<TRecordingGrid>(Form.get());
    G->SetParent(Form.get());
    G->SetBounds(0, 0, 400, 200);
    if (Skinned) G->SetSkinData(Skin);
    ShowForm();
  }
  void Repaint() {
    G->Invalidate();
    Session.PumpUntilIdle();
  }
  // The middle of cell (Col, Row) of 64-pixel columns and 20-pixel rows with 1-pixel lines.
  sg::Colour CellColour(int Col, int Row) { return PixelAt(G, Col * 65 + 32, Row * 21 + 10); }
  static sg::Colour Rgb(TColor C) { return static_cast<sg::Colour>(ColorToRGB(C)); }
};

TEST_F(SkinGridSkinTest, FixedSelectedAndFocusedCellsShowTheirPictures) {
  AddGrid();
  ASSERT_EQ(G->DefaultRowHeight(), 20);
  G->SetFocus();
  G->SetSelection({1, 1, 2, 2});
  Repaint();
  EXPECT_EQ(CellColour(0, 0), Rgb(GridFixedPicture));
  EXPECT_EQ(CellColour(3, 0), Rgb(GridFixedPicture));
  EXPECT_EQ(CellColour(0, 3), Rgb(GridFixedPicture));
  EXPECT_EQ(CellColour(1, 1), Rgb(GridSelectPicture));
  EXPECT_EQ(CellColour(2, 2), Rgb(GridFocusPicture));
  EXPECT_EQ(CellColour(3, 3), Rgb(GridSkinBackground));
  // Right of the last column: the skin's background colour.
  EXPECT_EQ(PixelAt(G, 380, 50), Rgb(GridSkinBackground));
}

TEST_F(SkinGridSkinTest, RowSelectAndAMissingSelectPictureUseTheFocusPicture) {
  AddGrid();
  G->SetOptions(G->Options() + TGridOptions{goRowSelect});
  G->SetRow(2);
  Repaint();
  for (int Col = 1; Col < 5; ++Col) EXPECT_EQ(CellColour(Col, 2), Rgb(GridFocusPicture)) << Col;
  G->SetOptions(G->Options() - TGridOptions{goRowSelect});
  D->SelectCellRect = Rect(0, 0, 0, 0);
  G->SetSelection({1, 1, 2, 2});
  Repaint();
  EXPECT_EQ(CellColour(1, 1), Rgb(GridFocusPicture));
}

TEST_F(SkinGridSkinTest, ASkinChangeBringsThePictureHeightOnlyWithUseSkinCellHeight) {
  for (bool UseHeight : {true, false}) {
    SCOPED_TRACE(UseHeight);
    G = Create<TRecordingGrid>(Form.get());
    G->SetParent(Form.get());
    G->SetUseSkinCellHeight(UseHeight);
    G->SetRowHeights(2, 50);
    G->SetSkinData(Skin);
    EXPECT_EQ(G->DefaultRowHeight(), UseHeight ? 20 : 24);
    EXPECT_EQ(G->GetRowHeights(2), UseHeight ? 20 : 50);
    G->Free();
  }
}

TEST_F(SkinGridSkinTest, ASkinWithoutCellPicturesKeepsTheRowHeight) {
  D->SelectCellRect = D->FocusCellRect = Rect(0, 0, 0, 0);
  AddGrid();
  EXPECT_EQ(G->DefaultRowHeight(), 24);
  EXPECT_GE(G->FIndex, 0);
  EXPECT_EQ(PixelAt(G, 32, 10), Rgb(GridFixedPicture));
}

TEST_F(SkinGridSkinTest, AnEmptyFixedPictureOrAnotherKindOfDescriptorLeavesTheGridUnskinned) {
  D->FixedCellRect = Rect(0, 0, 0, 0);
  AddGrid();
  EXPECT_EQ(G->FIndex, -1);
  EXPECT_EQ(CellColour(0, 1), Rgb(clBtnFace));
  G->SetSkinDataName("button");
  Repaint();
  EXPECT_EQ(G->FIndex, -1);
  EXPECT_EQ(CellColour(3, 3), Rgb(clWindow));
}

TEST_F(SkinGridSkinTest, TheTextAreaKeepsItsDistancesToThePictureEdges) {
  D->SelectCellRect = Rect(0, 0, 60, 20);
  D->CellTextRect = Rect(4, 2, 56, 18);
  AddGrid();
  const TRect Cell{10, 5, 110, 35};
  G->SetUseSkinCellHeight(false);
  EXPECT_EQ(G->GetNewTextRect(Cell, {}), (TRect{14, 7, 106, 33}));
  G->SetUseSkinCellHeight(true);
  EXPECT_EQ(G->GetNewTextRect(Cell, {}), (TRect{14, 7, 106, 23}));
  G->SetSkinData(nullptr);
  G->GetSkinData();
  EXPECT_EQ(G->GetNewTextRect(Cell, {}), Cell);
}

TEST_F(SkinGridSkinTest, ATransparentGridShowsItsParentAndAWallpaperMakesItTransparent) {
  Form->SetColor(clYellow);
  AddGrid(false);
  EXPECT_EQ(CellColour(3, 3), Rgb(clWindow));
  G->SetTransparent(true);
  Session.PumpUntilIdle();
  EXPECT_EQ(PixelAt(G, 3 * 65 + 32, 3 * 25 + 10), Rgb(clYellow));
  G->SetTransparent(false);
  auto W = CreateOwned<TBitmap>();
  W->SetSize(16, 16);
  W->Canvas()->Brush()->SetColor(clFuchsia);
  W->Canvas()->FillRect(Rect(0, 0, 16, 16));
  G->SetWallpaper(W.get());
  EXPECT_TRUE(G->Transparent());
  Session.PumpUntilIdle();
  EXPECT_EQ(PixelAt(G, 3 * 65 + 32, 3 * 25 + 10), Rgb(clFuchsia));
  // Fixed cells stay filled and framed.
  EXPECT_EQ(PixelAt(G, 32, 3 * 25 + 10), Rgb(clBtnFace));
}

}  // namespace
