// The folder list and the file list on a scratch tree: the entries and the selected
// current folder, opening entries by double click and Return, the linked file list and
// label following, the file kinds and patterns, typed paths, and failures that leave the
// lists and the current folder where they were.
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/display/HeadlessPng.h"
#include "platform/rtl/Exceptions.h"
#include "platform/win/Keyboard.h"
#include "tests/skin/dialogs/SkinFileCtrlFixture.h"

using vantrel::uitest::FileCtrlFixture;

namespace {

class FileListsTest : public FileCtrlFixture {
 protected:
  void SetUp() override {
    FileCtrlFixture::SetUp();
    MakeTree({"Me/beta/", "Me/Alpha/", "Me/gamma/", "Me/.cache/", "Me/clip.mp4", "Me/song.ts", "Me/notes.txt",
              "Me/.hidden.mp4"});
    ASSERT_TRUE(SetCurrentDir(Root + "/Me"));
  }
  // The folders of Root, "/" first, as the list shows them.
  std::vector<std::string> RootParts() {
    std::vector<std::string> R{"/"};
    std::string Rest = Root.substr(1);
    for (size_t S = Rest.find('/'); S != std::string::npos; S = Rest.find('/')) {
      R.push_back(Rest.substr(0, S));
      Rest.erase(0, S + 1);
    }
    R.push_back(Rest);
    return R;
  }
  void DoubleClick(TspSkinCustomListBox* L, Integer Index) {
    const TRect R = L->ItemRect(Index);
    const TPoint P = L->ListBox->ClientToScreen(Point(R.Left + 20, (R.Top + R.Bottom) / 2));
    Session.Move(P.X, P.Y);
    for (int I = 0; I < 2; ++I) {
      Session.Press(P.X, P.Y);
      Session.Release(P.X, P.Y);
    }
    Session.PumpUntilIdle();
  }
  static bool Has(const std::vector<std::string>& V, const std::string& S) {
    return std::find(V.begin(), V.end(), S) != V.end();
  }
};

}  // namespace

TEST_F(FileListsTest, FolderListShowsAncestorsCurrentFolderAndSortedSubFolders) {
  auto* D = Add<TspSkinDirectoryListBox>(10, 10, 200, 300);
  D->SetSkinData(Skin);
  ShowForm();
  std::vector<std::string> Want = RootParts();
  Want.push_back("Me");
  const Integer Current = static_cast<Integer>(Want.size()) - 1;
  for (const char* S : {"Alpha", "beta", "gamma"}) Want.push_back(S);
  EXPECT_EQ(ItemsOf(D->Items()), Want);
  EXPECT_EQ(D->ItemIndex(), Current);
  EXPECT_EQ(D->Directory(), Root + "/Me");
  EXPECT_EQ(D->GetItemPath(0), "/");
  EXPECT_EQ(D->GetItemPath(1), "/" + Want[1]);
  EXPECT_EQ(D->GetItemPath(Current - 1), Root);
  EXPECT_EQ(D->GetItemPath(Current), Root + "/Me");
  EXPECT_EQ(D->GetItemPath(Current + 1), Root + "/Me/Alpha");
  EXPECT_EQ(D->GetItemPath(D->Items()->Count()), "");
  ASSERT_TRUE(vantrel::display::SavePng(Session.Capture(Form->Handle()), testing::TempDir() + "FolderList.png"));
}

TEST_F(FileListsTest, AtTheRootTheRootEntryIsTheSelectedCurrentFolder) {
  ASSERT_TRUE(SetCurrentDir("/"));
  auto* D = Add<TspSkinDirectoryListBox>(10, 10, 200, 300);
  ShowForm();
  EXPECT_EQ(D->Directory(), "/");
  ASSERT_GT(D->Items()->Count(), 1);
  EXPECT_EQ(D->Items()->Get(0), "/");
  EXPECT_EQ(D->ItemIndex(), 0);
  EXPECT_EQ(D->GetItemPath(1), "/" + D->Items()->Get(1));
  EXPECT_EQ(DirLevel(D->Directory()), 1);
}

TEST_F(FileListsTest, OpeningAnEntryMovesTheFileListAndTheLabel) {
  auto* D = Add<TspSkinDirectoryListBox>(10, 10, 150, 300);
  auto* F = Add<TspSkinFileListBox>(170, 10, 150, 300);
  auto* Label = Add<TspSkinStdLabel>(10, 320, 150, 20);
  Label->SetAutoSize(false);
  D->SetFileList(F);
  D->SetDirLabel(Label);
  int Changes = 0;
  D->OnChange = [&](TObject*) { ++Changes; };
  ShowForm();
  const Integer Alpha = D->Items()->IndexOf("Alpha");
  ASSERT_GE(Alpha, 0);
  DoubleClick(D, Alpha);
  EXPECT_EQ(D->Directory(), Root + "/Me/Alpha");
  EXPECT_EQ(GetCurrentDir(), Root + "/Me/Alpha");
  EXPECT_EQ(F->Directory(), Root + "/Me/Alpha");
  EXPECT_EQ(D->Items()->Get(D->ItemIndex()), "Alpha");
  EXPECT_GE(Changes, 1);
  Label->ApplyTextFont();
  EXPECT_EQ(Label->Caption(), MinimizeName(Root + "/Me/Alpha", Label->Canvas(), 150));
  EXPECT_NE(Label->Caption(), Root + "/Me/Alpha");  // the scratch path never fits 150 pixels
  // Return on the parent's entry goes back up.
  D->SetItemIndex(D->Items()->IndexOf("Me"));
  D->ListBox->SetFocus();
  Session.Key(VK_RETURN);
  Session.PumpUntilIdle();
  EXPECT_EQ(D->Directory(), Root + "/Me");
  EXPECT_EQ(F->Directory(), Root + "/Me");
}

TEST_F(FileListsTest, AMissingFolderRaisesAndLeavesTheListsWhereTheyWere) {
  auto* D = Add<TspSkinDirectoryListBox>(10, 10, 150, 300);
  auto* F = Add<TspSkinFileListBox>(170, 10, 150, 300);
  D->SetFileList(F);
  ShowForm();
  EXPECT_THROW(D->SetDirectory(Root + "/Me/missing"), EInOutError);
  EXPECT_EQ(D->Directory(), Root + "/Me");
  EXPECT_THROW(F->ApplyFilePath(Root + "/nowhere/clip.mp4"), EInOutError);
  EXPECT_EQ(F->Directory(), Root + "/Me");
  EXPECT_EQ(GetCurrentDir(), Root + "/Me");
}

TEST_F(FileListsTest, FileListShowsKindsAndPatterns) {
  auto* F = Add<TspSkinFileListBox>(10, 10, 200, 300);
  F->SetSkinData(Skin);
  ShowForm();
  EXPECT_EQ(ItemsOf(F->Items()), (std::vector<std::string>{"clip.mp4", "notes.txt", "song.ts"}));
  F->SetFileType({spftNormal, spftDirectory});
  const std::vector<std::string> WithDirs = ItemsOf(F->Items());
  for (const char* S : {"[Alpha]", "[beta]", "[gamma]", "clip.mp4", "notes.txt", "song.ts"}) {
    SCOPED_TRACE(S);
    EXPECT_TRUE(Has(WithDirs, S));
  }
  EXPECT_FALSE(Has(WithDirs, "[.cache]"));
  EXPECT_FALSE(Has(WithDirs, ".hidden.mp4"));
  F->SetFileType({spftNormal, spftHidden});
  EXPECT_TRUE(Has(ItemsOf(F->Items()), ".hidden.mp4"));
  F->SetFileType({spftNormal});
  F->SetMask("*.mp4; *.ts");
  EXPECT_EQ(ItemsOf(F->Items()), (std::vector<std::string>{"clip.mp4", "song.ts"}));
  F->SetMask("*.MP4");
  EXPECT_EQ(ItemsOf(F->Items()), (std::vector<std::string>{"clip.mp4"}));
  ASSERT_TRUE(vantrel::display::SavePng(Session.Capture(Form->Handle()), testing::TempDir() + "FileList.png"));
}

TEST_F(FileListsTest, TypedPathsOpenFoldersSetPatternsAndSelectFiles) {
  auto* F = Add<TspSkinFileListBox>(10, 10, 200, 300);
  auto* E = Add<TspSkinEdit>(10, 320, 200, 22);
  F->SetFileEdit(E);
  EXPECT_EQ(E->Text(), "*.*");
  F->SetFileType({spftNormal, spftDirectory});
  ShowForm();
  F->ApplyFilePath("clip.mp4");
  EXPECT_EQ(F->FileName(), Root + "/Me/clip.mp4");
  EXPECT_EQ(E->Text(), "clip.mp4");
  F->ApplyFilePath("*.ts");
  EXPECT_EQ(F->Mask(), "*.ts");
  EXPECT_EQ(F->Directory(), Root + "/Me");
  EXPECT_EQ(E->Text(), "*.ts");
  F->SetMask("*.*");
  F->ApplyFilePath("[beta]");
  EXPECT_EQ(F->Directory(), Root + "/Me/beta");
  EXPECT_EQ(F->FileName(), "");
  F->ApplyFilePath(Root + "/Me/song.ts");
  EXPECT_EQ(F->Directory(), Root + "/Me");
  EXPECT_EQ(F->FileName(), Root + "/Me/song.ts");
}

TEST_F(FileListsTest, FreeingAPartnerClearsTheLinks) {
  auto* Drives = Add<TspSkinDriveComboBox>(10, 10, 150, 22);
  auto* D = Add<TspSkinDirectoryListBox>(10, 40, 150, 200);
  auto* F = Add<TspSkinFileListBox>(170, 40, 150, 200);
  auto* Filter = Add<TspSkinFilterComboBox>(170, 10, 150, 22);
  auto* Label = Add<TspSkinStdLabel>(10, 250, 150, 20);
  auto* E = Add<TspSkinEdit>(170, 250, 150, 22);
  Drives->SetDirList(D);
  D->SetFileList(F);
  D->SetDirLabel(Label);
  Filter->SetFileList(F);
  F->SetFileEdit(E);
  ShowForm();
  EXPECT_EQ(D->DriveCombo(), Drives);
  EXPECT_EQ(F->DirList(), D);
  D->Free();
  EXPECT_EQ(Drives->DirList(), nullptr);
  EXPECT_EQ(F->DirList(), nullptr);
  E->Free();
  EXPECT_EQ(F->FileEdit(), nullptr);
  F->Free();
  EXPECT_EQ(Filter->FileList(), nullptr);
  Filter->SetItemIndex(0);
  Drives->SetItemIndex(0);
  Label->Free();
}

TEST_F(FileListsTest, OnAVolumeThatIgnoresCaseTheSameFolderInAnotherCaseIsNoMove) {
  Mount("/dev/sda1 / ext4 rw 0 0\n/dev/sdb1 " + Root + " vfat rw 0 0\n");
  auto* D = Add<TspSkinDirectoryListBox>(10, 10, 150, 300);
  ShowForm();
  EXPECT_FALSE(D->CaseSensitive());
  EXPECT_TRUE(D->PreserveCase());
  EXPECT_EQ(D->Items()->IndexOf("Alpha"), D->Items()->Count() - 3);  // names keep their case
  EXPECT_EQ(D->FileCompareText("Me/ALPHA", "me/alpha"), 0);
  EXPECT_NO_THROW(D->SetDirectory(Root + "/ME"));
  EXPECT_EQ(D->Directory(), Root + "/Me");
  // On a volume that tells case apart the other case is another (here missing) folder.
  Mount("/dev/sda1 / ext4 rw 0 0\n");
  D->UpdateList();
  EXPECT_TRUE(D->CaseSensitive());
  EXPECT_NE(D->FileCompareText("ALPHA", "alpha"), 0);
  EXPECT_THROW(D->SetDirectory(Root + "/ME"), EInOutError);
}
