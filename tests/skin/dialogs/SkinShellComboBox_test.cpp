#include <gtest/gtest.h>

#include "platform/ui/Graphics.h"
#include "platform/win/SystemImageList.h"
#include "tests/skin/dialogs/ShellViewFixture.h"

namespace vantrel::uitest {
namespace {

class ShellComboBoxTest : public ShellViewFixture {
 protected:
  TspSkinShellComboBox* Box = nullptr;

  void ShowBox(const std::string& Root = "rfDesktop") {
    Box = AddView<TspSkinShellComboBox>(0, 0, 300, 22);
    Box->SetRoot(Root);
    ShowForm();
  }

  // "caption/indent" per entry.
  std::vector<std::string> Entries() {
    std::vector<std::string> R;
    for (const TspItemEx& E : Box->ItemsEx()) R.push_back(E.Caption + "/" + std::to_string(E.Indent));
    return R;
  }

  // "name/indent" for each folder of Path below the volume "/", starting at Indent.
  static std::vector<std::string> ChainOf(const std::string& Path, int Indent) {
    std::vector<std::string> R;
    size_t Start = 1;
    while (Start <= Path.size()) {
      size_t End = Path.find('/', Start);
      if (End == std::string::npos) End = Path.size();
      R.push_back(Path.substr(Start, End - Start) + "/" + std::to_string(Indent++));
      Start = End + 1;
    }
    return R;
  }
};

TEST_F(ShellComboBoxTest, TheDesktopRootListsItsChildrenAndTheVolumesAfterComputer) {
  ShowBox();
  // The Desktop's children in the shell's order (Home, then Computer), the volume after Computer.
  EXPECT_EQ(Entries(), (std::vector<std::string>{"Desktop/0", "Home/1", "Computer/1", "File System/2"}));
  EXPECT_EQ(Box->ItemIndex(), 0);
  EXPECT_EQ(Box->Items()->Count(), 4);
  // Past the last entry gives the last; below the first none.
  EXPECT_EQ(Box->FolderAt(99), Box->ItemsEx().back().Data);
  EXPECT_EQ(Box->FolderAt(-1), nullptr);
  // The drive step needs the root's exact text.
  Box->SetRoot("RFDESKTOP");  // the same root without regard to case: nothing changes
  EXPECT_EQ(Box->ItemsEx().size(), 4u);
  Box->SetRoot(Home);
  Box->SetRoot("RFDESKTOP");
  EXPECT_EQ(Entries(), (std::vector<std::string>{"Desktop/0", "Home/1", "Computer/1"}));
}

TEST_F(ShellComboBoxTest, ADeepFolderGetsItsChainBelowHomeOrItsVolume) {
  MakeTree(Home, {"Videos/2011/"});
  MakeTree(Outside, {"deep/"});
  ShowBox();
  Box->SetPath(Home + "/Videos/2011");
  EXPECT_EQ(Entries(), (std::vector<std::string>{"Desktop/0", "Home/1", "Videos/2", "2011/3", "Computer/1",
                                                 "File System/2"}));
  EXPECT_EQ(Box->ItemIndex(), 3);
  EXPECT_EQ(Box->Path(), Home + "/Videos/2011");
  // Another folder replaces the chain.
  Box->SetPath(Outside + "/deep");
  std::vector<std::string> Expected = {"Desktop/0", "Home/1", "Computer/1", "File System/2"};
  for (const std::string& E : ChainOf(Outside + "/deep", 3)) Expected.push_back(E);
  EXPECT_EQ(Entries(), Expected);
  EXPECT_EQ(Box->Path(), Outside + "/deep");
  EXPECT_THROW(Box->SetPath(Outside + "/missing"), EInvalidPath);
  // A root that cannot be resolved reverts and the entries stay.
  const std::vector<std::string> Before = Entries();
  try {
    Box->SetRoot(Outside + "/missing");
    ADD_FAILURE() << "no exception";
  } catch (const Exception& E) {
    EXPECT_EQ(E.Message(), "Error setting path: \"" + Outside + "/missing\"");
  }
  EXPECT_EQ(Box->Root(), "rfDesktop");
  EXPECT_EQ(Entries(), Before);
}

TEST_F(ShellComboBoxTest, AChoiceNavigatesTheLinkedListOnlyWithTheDropDownClosed) {
  MakeTree(Home, {"Videos/"});
  ShowBox();
  auto* List = AddView<TspSkinFileListView>(0, 30, 300, 200);
  Box->SetShellListView(List);
  Session.PumpUntilIdle();
  const std::string Start = List->Path();
  Box->DropDown();
  ASSERT_TRUE(Box->IsPopupVisible());
  Box->SetItemIndex(1);  // Home
  EXPECT_EQ(List->Path(), Start);
  Box->CloseUp(false);
  Box->SetItemIndex(1);
  EXPECT_EQ(List->Path(), Home);
}

TEST_F(ShellComboBoxTest, AnIndentTwoRowDrawsItsIconSixteenPixelsRight) {
  ShowBox();
  TOwned<TBitmap> Row = CreateOwned<TBitmap>();
  Row->SetWidth(120);
  Row->SetHeight(20);
  Row->Canvas()->Brush()->SetColor(clWhite);
  Row->Canvas()->FillRect(Rect(0, 0, 120, 20));
  ASSERT_EQ(Box->ItemsEx()[3].Indent, 2);  // File System
  Box->OnListBoxDrawItem()(Row->Canvas(), 3, 120, 20, Rect(0, 0, 120, 20), TOwnerDrawState());
  // The same icon drawn straight from the system list at (16, 2).
  TOwned<TBitmap> Icon = CreateOwned<TBitmap>();
  Icon->SetWidth(120);
  Icon->SetHeight(20);
  Icon->Canvas()->Brush()->SetColor(clWhite);
  Icon->Canvas()->FillRect(Rect(0, 0, 120, 20));
  ImageList_Draw(win::SystemImageList(false), Box->ItemsEx()[3].ImageIndex, Icon->Canvas()->Handle(), 16, 2,
                 ILD_NORMAL);
  for (int Y = 0; Y < 20; ++Y)
    for (int X = 0; X < 32; ++X) ASSERT_EQ(Row->Canvas()->Pixels(X, Y), Icon->Canvas()->Pixels(X, Y)) << X << "," << Y;
}

}  // namespace
}  // namespace vantrel::uitest
