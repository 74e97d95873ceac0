#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>

#include "platform/rtl/Utf8.h"
#include "tests/skin/dialogs/ShellViewFixture.h"

namespace vantrel::uitest {

// A file list whose header clicks a test can make.
class ClickableFileList : public TspSkinFileListView {
  VANTREL_CLASS(ClickableFileList)
  using TspSkinFileListView::TspSkinFileListView;
  void ClickColumn(Integer Index) { ColClick(Columns()->Items(Index)); }
};

namespace {

class ShellListColumnsTest : public ShellViewFixture {
 protected:
  ClickableFileList* View = nullptr;

  void SetUp() override {
    ShellViewFixture::SetUp();
    MakeTree(Outside, {"d1/", "d2/"});
    test::WriteFileBytes(Outside + "/a.avi", std::string(30, 'a'));
    test::WriteFileBytes(Outside + "/b.avi", std::string(10, 'b'));
    test::WriteFileBytes(Outside + "/c.txt", std::string(20, 'c'));
    View = AddView<ClickableFileList>(0, 0, 380, 380);
    View->SetViewStyle(vsReport);
    View->SetRoot(Outside);
    ShowForm();
  }

  // The shell's type text of a row.
  std::string TypeOf(const std::string& Name) {
    for (Integer I = 0; I < View->FolderCount(); ++I)
      if (View->FolderAt(I)->DisplayName() == Name) return View->FolderAt(I)->DetailText(2);
    return "<none>";
  }

  std::vector<std::string> Captions() {
    std::vector<std::string> R;
    for (Integer I = 0; I < View->Columns()->Count(); ++I) R.push_back(View->Columns()->Items(I)->Caption());
    return R;
  }
};

TEST_F(ShellListColumnsTest, AFileSystemFolderShowsNameSizeTypeAndModified) {
  EXPECT_EQ(Captions(), (std::vector<std::string>{"Name", "Size", "Type", "Modified"}));
  EXPECT_EQ(View->Columns()->Items(1)->Alignment(), taRightJustify);
  // A row shows its details in the columns after the first.
  TListItem* Row = View->Items()->Item(3);  // b.avi after the folders and a.avi
  EXPECT_EQ(Row->Caption(), "b.avi");
  ASSERT_EQ(Row->SubItems()->Count(), 3);
  EXPECT_EQ(Row->SubItems()->Get(0), "1 KB");
}

TEST_F(ShellListColumnsTest, SizeSortsAscendingThenDescendingAndTypeStartsAscending) {
  EXPECT_EQ(RowNames(View), (std::vector<std::string>{"d1", "d2", "a.avi", "b.avi", "c.txt"}));
  View->ClickColumn(1);
  EXPECT_EQ(RowNames(View), (std::vector<std::string>{"d1", "d2", "b.avi", "c.txt", "a.avi"}));
  EXPECT_FALSE(View->SortDirection());
  View->ClickColumn(1);
  EXPECT_EQ(RowNames(View), (std::vector<std::string>{"a.avi", "c.txt", "b.avi", "d2", "d1"}));
  EXPECT_TRUE(View->SortDirection());
  View->ClickColumn(2);
  EXPECT_FALSE(View->SortDirection());
  // Folders first; the files grouped by their type text, ties keeping the size order.
  const std::vector<std::string> Rows = RowNames(View);
  EXPECT_EQ(std::vector<std::string>(Rows.begin(), Rows.begin() + 2), (std::vector<std::string>{"d2", "d1"}));
  const std::vector<std::string> Files(Rows.begin() + 2, Rows.end());
  const std::vector<std::string> Expected = CompareText(TypeOf("a.avi"), TypeOf("c.txt")) < 0
                                                ? std::vector<std::string>{"a.avi", "b.avi", "c.txt"}
                                                : std::vector<std::string>{"c.txt", "a.avi", "b.avi"};
  EXPECT_EQ(Files, Expected);
}

TEST_F(ShellListColumnsTest, WithThreeColumnsOnlyTheFirstSorts) {
  View->Columns()->Clear();
  for (const char* C : {"Name", "Size", "Type"}) View->Columns()->Add()->SetCaption(C);
  View->ClickColumn(1);
  EXPECT_EQ(View->SortColumn(), -1);
  EXPECT_EQ(RowNames(View), (std::vector<std::string>{"d1", "d2", "a.avi", "b.avi", "c.txt"}));
  View->ClickColumn(0);
  EXPECT_EQ(View->SortColumn(), 0);
  View->ClickColumn(0);
  EXPECT_EQ(RowNames(View), (std::vector<std::string>{"c.txt", "b.avi", "a.avi", "d2", "d1"}));
}

TEST_F(ShellListColumnsTest, AFileGoneBeforeASizeSortRaisesAndTheRowsStay) {
  const std::vector<std::string> Before = RowNames(View);
  ASSERT_EQ(unlink((Outside + "/b.avi").c_str()), 0);
  try {
    View->ClickColumn(1);
    ADD_FAILURE() << "no exception";
  } catch (const EInvalidPath& E) {
    EXPECT_EQ(E.Message().rfind("Unable to retrieve folder details for \"b.avi\". Error code $2", 0), 0u) << E.Message();
  }
  EXPECT_EQ(RowNames(View), Before);
  // The sort context is gone: a fill sorts in the standard order again.
  View->Refresh();
  EXPECT_EQ(RowNames(View), (std::vector<std::string>{"d1", "d2", "a.avi", "c.txt"}));
}

TEST_F(ShellListColumnsTest, LinkedViewsShowOneFolderAfterAChangeInAny) {
  MakeTree(Home, {"Videos/", "Videos/clip.avi", "Music/"});
  auto* Tree = AddView<TspSkinDirTreeView>(0, 0, 100, 300);
  auto* Box = AddView<TspSkinShellComboBox>(100, 0, 200, 22);
  View->SetRoot("rfDesktop");
  int Filled = 0;
  View->OnAddFolder = [&](TObject*, TspShellFolder*, Boolean&) { ++Filled; };
  View->SetShellTreeView(Tree);
  View->SetShellComboBox(Box);
  Tree->SetShellComboBox(Box);
  Session.PumpUntilIdle();
  Filled = 0;
  View->SetPath(Home + "/Videos");
  EXPECT_EQ(Filled, 1);  // clip.avi, read once
  EXPECT_EQ(Tree->Path(), Home + "/Videos");
  EXPECT_EQ(Box->Path(), Home + "/Videos");
  Filled = 0;
  Tree->SetPath(Home + "/Music");
  EXPECT_EQ(Filled, 0);
  EXPECT_EQ(View->Path(), Home + "/Music");
  EXPECT_EQ(Box->Path(), Home + "/Music");
  Box->SetItemIndex(1);  // Home
  EXPECT_EQ(View->Path(), Home);
  EXPECT_EQ(Tree->Path(), Home);
  EXPECT_EQ(Box->Path(), Home);
}

}  // namespace
}  // namespace vantrel::uitest
