// The path helpers of the file-system controls: shortening a path to a width, cutting the
// first folder, counting levels, joining, folder tests, volume labels and sources, and
// splitting typed paths into folder and name without moving the current folder.
#include <gtest/gtest.h>

#include "platform/rtl/Exceptions.h"
#include "tests/skin/dialogs/SkinFileCtrlFixture.h"

using vantrel::uitest::FileCtrlFixture;

namespace {

class FileCtrlPathsTest : public FileCtrlFixture {};

}  // namespace

TEST_F(FileCtrlPathsTest, MinimizeNameDropsLeadingFoldersUntilTheNameFits) {
  auto B = std::make_unique<TBitmap>();
  B->SetWidth(10);
  B->SetHeight(10);
  TCanvas* C = B->Canvas();
  C->Font()->SetName("Arial");
  C->Font()->SetHeight(14);
  const String Full = "/Program Files/Vendor/App/file.txt";
  EXPECT_EQ(MinimizeName(Full, C, C->TextWidth(Full)), Full);
  const char* Steps[] = {"/.../Vendor/App/file.txt", "/.../App/file.txt", "/.../file.txt", ".../file.txt", "file.txt"};
  for (const char* S : Steps) {
    SCOPED_TRACE(S);
    EXPECT_EQ(MinimizeName(Full, C, C->TextWidth(S)), S);
  }
  EXPECT_EQ(MinimizeName(Full, C, 0), "file.txt");
}

TEST_F(FileCtrlPathsTest, CutFirstDirectoryDirLevelAndSlashSep) {
  const struct {
    const char* In;
    const char* Out;
  } Cuts[] = {{"/.../Vendor/App/", "/.../App/"}, {"/", ""},           {"/a/b/", "/.../b/"},
              {"/.../b/", "/.../"},             {".../x/", ".../"},   {"/.a/b/c/", "/.../b/c/"},
              {"a", ""}};
  for (const auto& T : Cuts) {
    SCOPED_TRACE(T.In);
    String S = T.In;
    CutFirstDirectory(S);
    EXPECT_EQ(S, T.Out);
  }
  const struct {
    const char* Path;
    Integer Level;
  } Levels[] = {{"/a/b", 2}, {"/", 1}, {"", 0}, {"/home/me/docs", 3}};
  for (const auto& T : Levels) {
    SCOPED_TRACE(T.Path);
    EXPECT_EQ(DirLevel(T.Path), T.Level);
  }
  EXPECT_EQ(SlashSep("/tmp/", "x"), "/tmp/x");
  EXPECT_EQ(SlashSep("/tmp", "x"), "/tmp/x");
  EXPECT_EQ(SlashSep("/", "x"), "/x");
}

TEST_F(FileCtrlPathsTest, IsExistingDirectoryIsTrueForFoldersOnly) {
  MakeTree({"dir/", "file.txt"});
  EXPECT_TRUE(IsExistingDirectory(Root + "/dir"));
  EXPECT_FALSE(IsExistingDirectory(Root + "/file.txt"));
  EXPECT_FALSE(IsExistingDirectory(Root + "/missing"));
  EXPECT_FALSE(IsExistingDirectory(""));
}

TEST_F(FileCtrlPathsTest, VolumeIdAndNetworkVolumeReadTheVolumeTable) {
  Mount("/dev/sda1 / ext4 rw 0 0\n/dev/sda3 /home ext4 rw 0 0\nserver:/Export /net/films nfs4 rw 0 0\n",
        {{"/dev/sda1", "System"}});
  EXPECT_EQ(VolumeID("/"), "[system]");
  EXPECT_EQ(VolumeID("/", tcUpperCase), "[SYSTEM]");
  EXPECT_EQ(VolumeID("/home"), "");
  EXPECT_EQ(VolumeID("/nowhere"), "");
  EXPECT_EQ(NetworkVolume("/net/films"), "server:/Export");
  EXPECT_EQ(NetworkVolume("/", tcUpperCase), "[SYSTEM]");
}

TEST_F(FileCtrlPathsTest, ProcessPathSplitsFolderAndNameAndKeepsTheCurrentFolder) {
  MakeTree({"sub/deeper/", "sub/clip.mp4", "vol/"});
  Mount("/dev/sda1 / ext4 rw 0 0\n/dev/sdb1 " + Root + "/vol ext4 rw 0 0\n");
  ASSERT_TRUE(SetCurrentDir(Root));
  const struct {
    std::string Text, Dir, File, Drive;
  } Cases[] = {
      {Root + "/sub/clip.mp4", Root + "/sub", "clip.mp4", "/"},
      {Root + "/sub", Root + "/sub", "", "/"},
      {Root + "/sub/", Root + "/sub", "", "/"},
      {"*.mp4", Root, "*.mp4", "/"},
      {"[sub]", Root + "/sub", "", "/"},
      {"sub/deeper", Root + "/sub/deeper", "", "/"},
      {"/", "/", "", "/"},
      {Root + "/vol", Root + "/vol", "", Root + "/vol"},
  };
  for (const auto& T : Cases) {
    SCOPED_TRACE(T.Text);
    String Drive, Dir, File;
    ProcessPath(T.Text, Drive, Dir, File);
    EXPECT_EQ(Dir, T.Dir);
    EXPECT_EQ(File, T.File);
    EXPECT_EQ(Drive, T.Drive);
    EXPECT_EQ(GetCurrentDir(), Root);
  }
  String Drive, Dir, File;
  EXPECT_THROW(ProcessPath(Root + "/missing/x", Drive, Dir, File), EInOutError);
  EXPECT_EQ(GetCurrentDir(), Root);
}
