// The draw grid's events and the string grid's storage: rows made only on write, items
// kept while they hold text or an object, the views of rows and columns, moved columns,
// held repaints, and the default text drawing with its colour hook.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/win/Paint.h"
#include "platform/win/UpdateRegion.h"
#include "tests/skin/controls/SkinGridsRecorder.h"
#include "tests/support/SkinFormFixture.h"

using vantrel::gridtest::ExpectGridError;
using vantrel::uitest::SkinFormFixture;

namespace {

Integer StoredCount(const TSparseList& L) {
  Integer N = 0;
  L.ForAll([&](Integer, void*) {
    ++N;
    return 0;
  });
  return N;
}

class SkinStringGridTest : public SkinFormFixture {
 protected:
  TspSkinStringGrid* G = nullptr;
  void AddGrid(bool Show = true) {
    G = Create<TspSkinStringGrid>(Form.get());
    G->SetParent(Form.get());
    G->SetBounds(0, 0, 400, 200);
    if (Show) ShowForm();
  }
};

TEST_F(SkinStringGridTest, TheDrawGridRaisesItsHooksAsEvents) {
  auto* D = Create<TspSkinDrawGrid>(Form.get());
  D->SetParent(Form.get());
  D->SetBounds(0, 0, 400, 200);
  std::vector<std::string> Seen;
  D->OnSelectCell = [](TObject*, Integer ACol, Integer, Boolean& CanSelect) { CanSelect = ACol != 3; };
  D->OnColumnMoved = [&](TObject*, Integer F, Integer T) { Seen.push_back("col " + std::to_string(F) + std::to_string(T)); };
  D->OnRowMoved = [&](TObject*, Integer F, Integer T) { Seen.push_back("row " + std::to_string(F) + std::to_string(T)); };
  D->OnTopLeftChanged = [&](TObject*) { Seen.push_back("topleft"); };
  D->OnGetEditText = [](TObject*, Integer ACol, Integer ARow, String& V) { V = std::to_string(ACol * 10 + ARow); };
  std::vector<TRect> Drawn;
  D->OnDrawCell = [&](TObject*, Integer, Integer, TRect R, TGridDrawState) { Drawn.push_back(R); };
  ShowForm();
  Drawn.clear();
  D->Invalidate();
  Session.PumpUntilIdle();
  ASSERT_EQ(Drawn.size(), 25u);
  EXPECT_EQ(Drawn[0], (TRect{0, 0, 64, 24}));
  D->SetCol(3);
  EXPECT_EQ(D->Col(), 1);
  D->SetCol(2);
  EXPECT_EQ(D->Col(), 2);
  D->MoveColumn(1, 2);
  D->MoveRow(2, 1);
  D->SetRowCount(30);
  D->SetTopRow(3);
  EXPECT_EQ(Seen, (std::vector<std::string>{"col 12", "row 21", "topleft"}));
  EXPECT_EQ(D->GetEditText(2, 4), "24");
  Integer C = 0, R = 0;
  D->MouseToCell(100, 30, C, R);
  EXPECT_EQ(C, 1);
  EXPECT_EQ(R, 3);
  D->MouseToCell(390, 30, C, R);
  EXPECT_EQ(C, -1);
  EXPECT_EQ(R, -1);
}

TEST_F(SkinStringGridTest, ReadingAllocatesNothingAndAWriteMakesOneRowAndTwoViews) {
  AddGrid(false);
  EXPECT_EQ(G->Cells(3, 1000000), "");
  EXPECT_EQ(G->DataRows().Items().SectionCount(), 0);
  EXPECT_EQ(G->DataRows().Count(), 0);
  G->SetCells(3, 1000000, "x");
  EXPECT_EQ(G->Cells(3, 1000000), "x");
  EXPECT_EQ(StoredCount(G->DataRows()), 1);
  EXPECT_EQ(StoredCount(G->RowViews()), 1);
  EXPECT_EQ(StoredCount(G->ColViews()), 1);
  EXPECT_EQ(G->Rows(1000000)->Get(3), "x");
  EXPECT_EQ(G->Cols(3)->Count(), G->RowCount());
}

TEST_F(SkinStringGridTest, AnEmptyTextRemovesATextOnlyItemButKeepsAnObject) {
  AddGrid(false);
  auto O = CreateOwned<TObject>();
  G->SetCells(1, 1, "text");
  G->SetObjects(2, 1, O.get());
  G->SetCells(2, 1, "both");
  G->SetCells(1, 1, "");
  G->SetCells(2, 1, "");
  const auto* Row = static_cast<TStringSparseList*>(const_cast<TSparseList&>(G->DataRows()).Get(1));
  ASSERT_NE(Row, nullptr);
  EXPECT_EQ(StoredCount(Row->List()), 1);
  EXPECT_EQ(G->Objects(2, 1), O.get());
  EXPECT_EQ(G->Cells(2, 1), "");
  ExpectGridError([&] { G->Rows(1)->Insert(0, "a"); }, "Cannot insert or delete rows from grid");
  ExpectGridError([&] { G->Cols(1)->Delete(0); }, "Cannot insert or delete rows from grid");
}

TEST_F(SkinStringGridTest, AViewAddsIntoTheFirstEmptyCell) {
  AddGrid(false);
  TStrings* Row = G->Rows(2);
  EXPECT_EQ(Row->Add(""), 0);
  EXPECT_EQ(G->Cells(0, 2), " ");
  EXPECT_EQ(Row->Add("b"), 1);
  for (Integer C = 2; C < 5; ++C) G->SetCells(C, 2, "full");
  EXPECT_EQ(Row->Add("c"), -1);
  EXPECT_EQ(Row->Count(), 5);
  Row->Clear();
  for (Integer C = 0; C < 5; ++C) EXPECT_EQ(G->Cells(C, 2), "") << C;
}

TEST_F(SkinStringGridTest, MovingAColumnShiftsTheWrittenRowsOnly) {
  AddGrid(false);
  for (Integer C = 0; C < 3; ++C) G->SetCells(C, 1, std::string(1, static_cast<char>('a' + C)));
  G->SetCells(0, 4, "only");
  G->MoveColumn(0, 2);
  EXPECT_EQ(G->Cells(0, 1), "b");
  EXPECT_EQ(G->Cells(1, 1), "c");
  EXPECT_EQ(G->Cells(2, 1), "a");
  EXPECT_EQ(G->Cells(2, 4), "only");
  EXPECT_EQ(G->Cells(0, 4), "");
  EXPECT_EQ(StoredCount(G->DataRows()), 2);
  G->MoveRow(1, 3);
  EXPECT_EQ(G->Cells(0, 3), "b");
  EXPECT_EQ(G->Cells(0, 1), "");
}

TEST_F(SkinStringGridTest, WritesInsideAViewsUpdateRepaintTheGridOnceAtTheEnd) {
  AddGrid();
  TStrings* View = G->Cols(1);
  View->BeginUpdate();
  for (Integer I = 0; I < 50; ++I) G->SetCells(I % 5, I / 5 % 5, "v" + std::to_string(I));
  RECT R{};
  EXPECT_FALSE(GetUpdateRect(G->Handle(), &R, false));
  View->EndUpdate();
  ASSERT_TRUE(GetUpdateRect(G->Handle(), &R, false));
  EXPECT_EQ(R, (RECT{0, 0, 400, 200}));
  Session.PumpUntilIdle();
  // Outside an update each write invalidates its own cell.
  G->SetCells(2, 2, "w");
  ASSERT_TRUE(GetUpdateRect(G->Handle(), &R, false));
  EXPECT_EQ(R, (RECT{130, 50, 195, 75}));
}

TEST_F(SkinStringGridTest, TheCellColourHookRecoloursTheTextWithoutFillingUnlessAsked) {
  AddGrid(false);
  G->Font()->SetHeight(-20);
  G->SetCells(2, 2, "WWWWWW");
  Boolean Fill = false;
  G->OnGetCellParam = [&](TObject*, Integer ACol, Integer ARow, TGridDrawState, TColor& BG, Boolean& FillBG,
                          TColor& FontColor) {
    if (ACol != 2 || ARow != 2) return;
    BG = clLime;
    FillBG = Fill;
    FontColor = clRed;
  };
  ShowForm();
  auto Count = [&](TColor C) {
    const vantrel::win::Surface S = Session.CaptureScreen();
    const TPoint O = G->ClientToScreen(Point(130, 50));
    int N = 0;
    for (int Y = O.Y; Y < O.Y + 24; ++Y)
      for (int X = O.X; X < O.X + 64; ++X)
        N += SurfacePixel(S, X, Y) == static_cast<uint32_t>(ColorToRGB(C)) ? 1 : 0;
    return N;
  };
  EXPECT_GT(Count(clRed), 10);
  EXPECT_EQ(Count(clLime), 0);
  EXPECT_GT(Count(clWindow), 500);
  Fill = true;
  G->Invalidate();
  Session.PumpUntilIdle();
  EXPECT_GT(Count(clLime), 500);
}

}  // namespace
