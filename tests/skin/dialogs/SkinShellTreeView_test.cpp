#include <gtest/gtest.h>

#include "platform/win/Shell.h"
#include "tests/skin/dialogs/ShellViewFixture.h"
#include "tests/support/PumpUntil.h"

namespace vantrel::uitest {
namespace {

class ShellTreeViewTest : public ShellViewFixture {
 protected:
  TspSkinDirTreeView* Tree = nullptr;
  int Added = 0;

  void ShowTree(TShellObjectTypes Types = TShellObjectTypes{otFolders}) {
    Tree = AddView<TspSkinDirTreeView>(0, 0, 380, 380);
    Tree->OnAddFolder = [this](TObject*, TspShellFolder*, Boolean&) { ++Added; };
    Tree->SetObjectTypes(Types);
    ShowForm();
  }

  static std::vector<std::string> ChildTexts(TTreeNode* Node) {
    std::vector<std::string> R;
    for (TTreeNode* C = Node->getFirstChild(); C; C = C->GetNextSibling()) R.push_back(C->Text());
    return R;
  }

  TTreeNode* ChildNamed(TTreeNode* Node, const std::string& Text) {
    for (TTreeNode* C = Node->getFirstChild(); C; C = C->GetNextSibling())
      if (C->Text() == Text) return C;
    return nullptr;
  }

  // The expanded nodes' texts in tree order.
  std::vector<std::string> ExpandedTexts() {
    std::vector<std::string> R;
    for (TTreeNode* N = Tree->Items()->GetFirstNode(); N; N = N->GetNext())
      if (N->Expanded()) R.push_back(N->Text());
    return R;
  }
};

TEST_F(ShellTreeViewTest, ANewTreeShowsTheDesktopExpandedOneLevel) {
  ShowTree();
  TTreeNode* Top = Tree->Items()->GetFirstNode();
  ASSERT_NE(Top, nullptr);
  EXPECT_EQ(Top->GetNextSibling(), nullptr);
  EXPECT_TRUE(Top->Expanded());
  EXPECT_TRUE(Top->Selected());
  EXPECT_FALSE(Tree->ShowRoot());
  // The shell's order: Home, then Computer.
  EXPECT_EQ(ChildTexts(Top), (std::vector<std::string>{"Home", "Computer"}));
  for (TTreeNode* C = Top->getFirstChild(); C; C = C->GetNextSibling()) EXPECT_FALSE(C->Expanded()) << C->Text();
}

TEST_F(ShellTreeViewTest, APathExpandsItsAncestorsOnceAndSelectsIt) {
  MakeTree(Home, {"Videos/2011/Trips/"});
  ShowTree();
  const std::string Deep = Home + "/Videos/2011/Trips";
  Tree->SetPath(Deep);
  EXPECT_EQ(Tree->Path(), Deep);
  EXPECT_EQ(ExpandedTexts(), (std::vector<std::string>{"Desktop", "Home", "Videos", "2011"}));
  ASSERT_NE(Tree->Selected(), nullptr);
  EXPECT_EQ(Tree->Selected()->Text(), "Trips");
  const int After = Added;
  Tree->SetPath(Deep);
  EXPECT_EQ(Added, After);
  // A second expansion of a filled node reads nothing.
  TTreeNode* Videos = Tree->Selected()->Parent()->Parent();
  Videos->Collapse(false);
  Videos->Expand(false);
  EXPECT_EQ(Added, After);
  EXPECT_THROW(Tree->SetPath(Home + "/missing"), EInvalidPath);
}

TEST_F(ShellTreeViewTest, RefreshShowsNewFoldersAndKeepsExpandedNodes) {
  MakeTree(Home, {"a/b/c/", "a/d/"});
  ShowTree();
  Tree->SetPath(Home + "/a/b");
  TTreeNode* A = Tree->Selected()->Parent();
  ASSERT_EQ(A->Text(), "a");
  MakeTree(Home, {"a/0new/"});
  Tree->Refresh(A);
  TTreeNode* Fresh = ChildNamed(ChildNamed(Tree->Items()->GetFirstNode(), "Home"), "a");
  ASSERT_NE(Fresh, nullptr);
  EXPECT_EQ(ChildTexts(Fresh), (std::vector<std::string>{"0new", "b", "d"}));
  EXPECT_TRUE(Fresh->Expanded());
  EXPECT_TRUE(ChildNamed(Fresh, "b")->Expanded());
  EXPECT_EQ(Tree->Path(), Home + "/a/b");
}

TEST_F(ShellTreeViewTest, WithFilesAFilesOnlyFolderHasAButtonAndAFileNodeIsLaunched) {
  MakeTree(Home, {"films/", "films/clip.mp4", "empty/", "nested/inner/"});
  auto* Recorder = new win::RecordingLauncher;
  auto Old = Session.Manager().Shell().SetLauncher(std::unique_ptr<win::Launcher>(Recorder));
  ShowTree(TShellObjectTypes{otFolders, otNonFolders});
  Tree->SetPath(Home);
  TTreeNode* HomeNode = Tree->Selected();
  EXPECT_TRUE(ChildNamed(HomeNode, "films")->HasChildren());
  EXPECT_FALSE(ChildNamed(HomeNode, "empty")->HasChildren());
  TTreeNode* Films = ChildNamed(HomeNode, "films");
  Films->Expand(false);
  TTreeNode* Clip = ChildNamed(Films, "clip.mp4");
  ASSERT_NE(Clip, nullptr);
  EXPECT_FALSE(Clip->HasChildren());
  Clip->SetHasChildren(true);  // as an item shown with a button would be
  Clip->Expand(false);
  EXPECT_FALSE(Clip->HasChildren());
  ASSERT_EQ(Recorder->Calls.size(), 1u);
  EXPECT_EQ(Recorder->Calls[0].Argv, (std::vector<std::string>{"xdg-open", Home + "/films/clip.mp4"}));
  Session.Manager().Shell().SetLauncher(std::move(Old));
}

TEST_F(ShellTreeViewTest, AFolderIndexOutsideTheNodesAnswersNone) {
  ShowTree();
  EXPECT_EQ(Tree->FolderAt(-1), nullptr);
  EXPECT_EQ(Tree->FolderAt(Tree->Items()->Count()), nullptr);
  ASSERT_NE(Tree->FolderAt(0), nullptr);
  EXPECT_EQ(Tree->FolderAt(0), Tree->SelectedFolder());
}

TEST_F(ShellTreeViewTest, WatchingFollowsTheSelectedFolderAndRefreshesItsNode) {
  MakeTree(Home, {"a/", "b/"});
  ShowTree();
  Tree->SetAutoRefresh(true);
  Tree->SetPath(Home + "/a");
  ASSERT_NE(Tree->Notifier(), nullptr);
  EXPECT_EQ(Tree->Notifier()->Root(), Home + "/a");
  testsupport::PumpFor(50);
  MakeTree(Home, {"a/new/"});
  EXPECT_TRUE(testsupport::PumpUntil([&] { return Tree->Selected() && Tree->Selected()->HasChildren(); }));
  EXPECT_EQ(Tree->Path(), Home + "/a");
  Tree->SetAutoRefresh(false);
  EXPECT_EQ(Tree->Notifier(), nullptr);
}

}  // namespace
}  // namespace vantrel::uitest
