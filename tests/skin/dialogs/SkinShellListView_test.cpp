#include <gtest/gtest.h>

#include <algorithm>

#include "platform/rtl/Masks.h"
#include "platform/rtl/StringList.h"
#include "platform/win/Keyboard.h"
#include "platform/win/ListView.h"
#include "tests/skin/dialogs/ShellViewFixture.h"
#include "tests/support/PumpUntil.h"

namespace vantrel::uitest {
namespace {

class ShellListViewTest : public ShellViewFixture {
 protected:
  TspSkinFileListView* View = nullptr;
  int Added = 0;

  void ShowList(const std::string& Root, TViewStyle Style = vsList) {
    View = AddView<TspSkinFileListView>(0, 0, 380, 380);
    View->SetViewStyle(Style);
    View->OnAddFolder = [this](TObject*, TspShellFolder*, Boolean&) { ++Added; };
    View->SetRoot(Root);
    ShowForm();
  }

  static std::vector<std::string> Sorted(std::vector<std::string> V) {
    std::sort(V.begin(), V.end());
    return V;
  }

  // The rows' selected states as the window holds them.
  std::vector<int> SelectedRows() {
    std::vector<int> R;
    for (Integer I = 0; I < View->FolderCount(); ++I)
      if (SendMessage(View->Handle(), LVM_GETITEMSTATE, static_cast<WPARAM>(I), LVIS_SELECTED) & LVIS_SELECTED)
        R.push_back(I);
    return R;
  }

  void Select(std::initializer_list<int> Rows) {
    for (int Row : Rows) {
      LVITEM Item;
      Item.stateMask = LVIS_SELECTED;
      Item.state = LVIS_SELECTED;
      SendMessage(View->Handle(), LVM_SETITEMSTATE, static_cast<WPARAM>(Row), reinterpret_cast<LPARAM>(&Item));
    }
  }
};

TEST_F(ShellListViewTest, TheMaskListsEveryFolderAndTheFilesOneOfItsPatternsAccepts) {
  MakeTree(Outside, {"sub/", "a.avi", "b.MP4", "c.mkv", "readme", "d.ts", "e.tsx"});
  ShowList(Outside);
  struct Case {
    const char* Mask;
    std::vector<std::string> Rows;
  };
  const Case Cases[] = {
      {"*.avi;*.mp4", {"a.avi", "b.MP4", "sub"}},
      {"readme", {"sub"}},
      {"*", {"a.avi", "b.MP4", "c.mkv", "d.ts", "e.tsx", "readme", "sub"}},
      {"*.*", {"a.avi", "b.MP4", "c.mkv", "d.ts", "e.tsx", "sub"}},
      // Blanks around a pattern, as a filter joined with "; " gives them.
      {"*.mp4; *.ts", {"b.MP4", "d.ts", "sub"}},
      {" *.mkv | *.avi ", {"a.avi", "c.mkv", "sub"}},
      {"[a-c].*", {"a.avi", "b.MP4", "c.mkv", "sub"}},
      {"[!a-c].*", {"d.ts", "e.tsx", "sub"}},
      {"?.ts", {"d.ts", "sub"}},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Mask);
    View->SetMask(C.Mask);
    EXPECT_EQ(Sorted(RowNames(View)), C.Rows);
  }
  EXPECT_THROW(View->SetMask("[ab.*"), EMaskException);
}

TEST_F(ShellListViewTest, TheSameMaskAgainReadsNothing) {
  MakeTree(Outside, {"a.avi", "b.mp4"});
  ShowList(Outside);
  View->SetMask("*.avi");
  const int After = Added;
  View->SetMask("*.avi");
  EXPECT_EQ(Added, After);
  View->SetRoot(Outside);  // the same root again
  EXPECT_EQ(Added, After);
}

TEST_F(ShellListViewTest, FoldersComeFirstThenTheShellsOrder) {
  MakeTree(Outside, {"b.avi", "zeta/", "A.avi", "alpha/"});
  ShowList(Outside);
  EXPECT_EQ(RowNames(View), (std::vector<std::string>{"alpha", "zeta", "A.avi", "b.avi"}));
  EXPECT_EQ(View->FolderAt(-1), nullptr);
  EXPECT_EQ(View->FolderAt(4), nullptr);
  EXPECT_EQ(View->FolderAt(3)->DisplayName(), "b.avi");
}

TEST_F(ShellListViewTest, SelectedFilesAreTheSelectedRowsThatAreNoFolders) {
  MakeTree(Outside, {"sub/", "a.avi", "b.avi", "c.avi"});
  ShowList(Outside);
  View->SetMultiSelect(true);
  Select({0, 1, 3});  // sub, a.avi, c.avi
  TOwned<TStringList> Files = CreateOwned<TStringList>();
  Files->Add("stale");
  View->GetSelectedFiles(Files.get());
  ASSERT_EQ(Files->Count(), 2);
  EXPECT_EQ(Files->Get(0), Outside + "/a.avi");
  EXPECT_EQ(Files->Get(1), Outside + "/c.avi");
}

TEST_F(ShellListViewTest, DoubleClickOnAFolderShowsItBeforeOnDblClick) {
  MakeTree(Outside, {"sub/", "sub/inner.avi", "a.avi"});
  ShowList(Outside);
  std::vector<std::string> Events;
  View->OnPathChanged = [&](TObject*) { Events.push_back("path " + View->Path()); };
  View->OnDblClick = [&](TObject*) { Events.push_back("dblclick " + View->Path()); };
  View->SetItemIndex(0);
  const TRect R = View->Items()->Item(0)->DisplayRect(drLabel);
  const TPoint P = View->ClientToScreen(Point((R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2));
  for (int I = 0; I < 2; ++I) {
    Session.Press(P.X, P.Y);
    Session.Release(P.X, P.Y);
  }
  Session.PumpUntilIdle();
  EXPECT_EQ(Events, (std::vector<std::string>{"path " + Outside + "/sub", "dblclick " + Outside + "/sub"}));
  EXPECT_EQ(RowNames(View), (std::vector<std::string>{"inner.avi"}));
}

TEST_F(ShellListViewTest, KeysNavigateUpRefreshAndFindRowsByTheirFirstLetters) {
  MakeTree(Outside, {"sub/", "Beta.avi", "alpha.avi", "bravo.avi"});
  ShowList(Outside);
  View->SetFocus();
  // Type-ahead: case is ignored, and the search wraps to the first rows.
  View->SetItemIndex(3);  // bravo.avi
  Session.Type("A");
  Session.PumpUntilIdle();
  EXPECT_EQ(View->ItemIndex(), 1);  // alpha.avi
  // F5 keeps the last row selected.
  View->SetItemIndex(3);
  MakeTree(Outside, {"0new/"});
  int Changes = 0;
  View->OnPathChanged = [&](TObject*) { ++Changes; };
  Session.Key(VK_F5);
  Session.PumpUntilIdle();
  EXPECT_EQ(Changes, 1);
  EXPECT_EQ(View->FolderCount(), 5);
  EXPECT_EQ(View->ItemIndex(), 3);
  // Enter on a file does nothing here; on a folder it opens it; Backspace goes up and at
  // the Desktop does nothing.
  View->SetItemIndex(2);  // alpha.avi
  Session.Key(VK_RETURN);
  Session.PumpUntilIdle();
  EXPECT_EQ(View->Path(), Outside);
  View->SetItemIndex(1);  // sub
  Session.Key(VK_RETURN);
  Session.PumpUntilIdle();
  EXPECT_EQ(View->Path(), Outside + "/sub");
  Session.Key(VK_BACK);
  Session.PumpUntilIdle();
  EXPECT_EQ(View->Path(), Outside);
  Session.Key(VK_BACK);
  Session.PumpUntilIdle();
  EXPECT_EQ(View->Path(), ExtractFileDir(Outside));
  View->SetRoot("rfDesktop");
  const std::string AtDesktop = View->Path();
  Changes = 0;
  Session.Key(VK_BACK);
  Session.PumpUntilIdle();
  EXPECT_EQ(Changes, 0);
  EXPECT_EQ(View->Path(), AtDesktop);
}

TEST_F(ShellListViewTest, APathThatCannotBeParsedRaisesAndTheFolderStays) {
  MakeTree(Outside, {"a.avi"});
  ShowList(Outside);
  try {
    View->SetPath(Outside + "/missing");
    ADD_FAILURE() << "no exception";
  } catch (const EInvalidPath& E) {
    EXPECT_EQ(E.Message(), "Error setting path: \"" + Outside + "/missing\"");
  }
  try {
    View->SetRoot(Outside + "/missing");
    ADD_FAILURE() << "no exception";
  } catch (const Exception& E) {
    EXPECT_EQ(E.Message(), "Error setting path: \"" + Outside + "/missing\"");
  }
  EXPECT_EQ(View->Root(), Outside);
  EXPECT_EQ(View->Path(), Outside);
  EXPECT_EQ(RowNames(View), (std::vector<std::string>{"a.avi"}));
}

TEST_F(ShellListViewTest, EditingACaptionRenamesTheItemOrRaisesAndKeepsBoth) {
  MakeTree(Outside, {"a.avi", "b.avi"});
  ShowList(Outside);
  View->SetFocus();
  struct Case {
    const char* Typed;
    bool Renamed;
  };
  for (const Case& C : {Case{"c.avi", true}, Case{"b.avi", false}, Case{"..", false}}) {
    SCOPED_TRACE(C.Typed);
    const std::string From = RowNames(View)[0];
    View->SetItemIndex(0);
    ASSERT_TRUE(View->Items()->Item(0)->EditCaption());
    HWND Editor = reinterpret_cast<HWND>(SendMessage(View->Handle(), LVM_GETEDITCONTROL, 0, 0));
    ASSERT_NE(Editor, nullptr);
    SetWindowText(Editor, C.Typed);
    std::vector<std::string> Shown;
    Application->OnException = [&](TObject*, const Exception& E) { Shown.push_back(E.Message()); };
    Session.Key(VK_RETURN);
    Session.PumpUntilIdle();
    Application->OnException = nullptr;
    EXPECT_EQ(Shown, C.Renamed ? std::vector<std::string>{}
                               : std::vector<std::string>{std::string("Rename to ") + C.Typed + " failed"});
    if (std::string(C.Typed) != "..") {
      EXPECT_TRUE(FileExists(Outside + "/" + C.Typed));
    }
    EXPECT_EQ(FileExists(Outside + "/" + From), !C.Renamed);
    EXPECT_EQ(RowNames(View)[0], C.Renamed ? C.Typed : From);
  }
}

TEST_F(ShellListViewTest, WatchingReReadsTheFolderAfterAChange) {
  MakeTree(Outside, {"a.avi"});
  ShowList(Outside);
  View->SetAutoRefresh(true);
  ASSERT_NE(View->Notifier(), nullptr);
  EXPECT_EQ(View->Notifier()->Root(), Outside);
  EXPECT_FALSE(View->Notifier()->WatchSubTree());
  // The watch stands once auto-refresh is on: a change made at once is not missed.
  MakeTree(Outside, {"b.avi"});
  EXPECT_TRUE(testsupport::PumpUntil([&] { return View->FolderCount() == 2; }));
  // A new folder moves the watch along.
  MakeTree(Outside, {"sub/"});
  testsupport::PumpUntil([&] { return View->FolderCount() == 3; });
  View->SetPath(Outside + "/sub");
  ASSERT_NE(View->Notifier(), nullptr);
  EXPECT_EQ(View->Notifier()->Root(), Outside + "/sub");
  View->SetAutoRefresh(false);
  EXPECT_EQ(View->Notifier(), nullptr);
}

}  // namespace
}  // namespace vantrel::uitest
