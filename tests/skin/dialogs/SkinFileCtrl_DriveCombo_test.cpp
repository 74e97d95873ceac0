// The volume box over a fixed volume table: which volumes get entries, their texts and
// icons, the label case, and a choice moving the linked folder list.
#include <gtest/gtest.h>

#include "platform/display/HeadlessPng.h"
#include "tests/skin/dialogs/SkinFileCtrlFixture.h"

using vantrel::uitest::FileCtrlFixture;

namespace {

class DriveComboTest : public FileCtrlFixture {
 protected:
  void MountSample() {
    Mount(
        "proc /proc proc rw 0 0\n"
        "sysfs /sys sysfs rw 0 0\n"
        "tmpfs /run tmpfs rw 0 0\n"
        "/dev/sda1 / ext4 rw 0 0\n"
        "/dev/sda3 /home ext4 rw 0 0\n"
        "/dev/sdz1 /media/me/STICK vfat rw 0 0\n"
        "/dev/sr0 /run/media/me/Movie iso9660 ro 0 0\n"
        "server:/Export /net/films nfs4 rw 0 0\n"
        "tmpfs /mnt/ram tmpfs rw 0 0\n",
        {{"/dev/sda1", "System"}, {"/dev/sr0", "Movie"}, {"/dev/sdz1", "Stick"}});
  }
  // Whether the entry's icon has the pixels of the named picture.
  static bool IconIs(TObject* Object, const char* Name) {
    auto* B = dynamic_cast<TBitmap*>(Object);
    if (!B) return false;
    TBitmap Want;
    Want.LoadFromResourceName(nullptr, Name);
    if (B->Width() != Want.Width() || B->Height() != Want.Height()) return false;
    for (int Y = 0; Y < B->Height(); ++Y)
      for (int X = 0; X < B->Width(); ++X)
        if (B->Canvas()->Pixels(X, Y) != Want.Canvas()->Pixels(X, Y)) return false;
    return true;
  }
};

}  // namespace

TEST_F(DriveComboTest, VolumesBecomeEntriesWithTheIconOfTheirKind) {
  MountSample();
  auto* C = Add<TspSkinDriveComboBox>(10, 10, 250, 22);
  C->SetSkinData(Skin);
  ShowForm();
  const struct {
    const char* Text;
    const char* Drive;
    const char* Icon;
  } Want[] = {
      {"/ [system]", "/", "SP_HARD"},
      {"/home ", "/home", "SP_HARD"},
      {"/media/me/STICK", "/media/me/STICK", "SP_FLOPPY"},
      {"/run/media/me/Movie [movie]", "/run/media/me/Movie", "SP_CDROM"},
      {"/net/films server:/Export", "/net/films", "SP_NETWORK"},
      {"/mnt/ram ", "/mnt/ram", "SP_RAM"},
  };
  ASSERT_EQ(C->Items()->Count(), static_cast<Integer>(std::size(Want)));
  for (Integer I = 0; I < C->Items()->Count(); ++I) {
    SCOPED_TRACE(Want[I].Text);
    EXPECT_EQ(C->Items()->Get(I), Want[I].Text);
    EXPECT_EQ(C->EntryDrive(I), Want[I].Drive);
    EXPECT_TRUE(IconIs(C->Items()->Objects(I), Want[I].Icon));
  }
  // The current folder's volume is chosen.
  EXPECT_EQ(C->Drive(), "/");
  EXPECT_EQ(C->ItemIndex(), 0);
  C->SetTextCase(tcUpperCase);
  EXPECT_EQ(C->Items()->Get(0), "/ [SYSTEM]");
  EXPECT_EQ(C->Items()->Get(2), "/media/me/STICK");
  EXPECT_EQ(C->Items()->Get(3), "/run/media/me/Movie [MOVIE]");
  EXPECT_EQ(C->Items()->Get(4), "/net/films server:/Export");
  EXPECT_EQ(C->ItemIndex(), 0);
  C->DropDown();
  Session.PumpUntilIdle();
  ASSERT_TRUE(vantrel::display::SavePng(Session.CaptureScreen(), testing::TempDir() + "DriveCombo.png"));
  C->CloseUp(false);
}

TEST_F(DriveComboTest, AChoiceMovesTheFolderListAndAFolderElsewhereMovesTheChoice) {
  MakeTree({"vol/films/", "plain/"});
  Mount("/dev/sda1 / ext4 rw 0 0\n/dev/sdb1 " + Root + "/vol ext4 rw 0 0\n", {{"/dev/sdb1", "Films"}});
  ASSERT_TRUE(SetCurrentDir(Root + "/plain"));
  auto* C = Add<TspSkinDriveComboBox>(10, 10, 250, 22);
  auto* D = Add<TspSkinDirectoryListBox>(10, 40, 250, 200);
  auto* F = Add<TspSkinFileListBox>(10, 250, 250, 100);
  C->SetDirList(D);
  D->SetFileList(F);
  ShowForm();
  ASSERT_EQ(C->Items()->Count(), 2);
  EXPECT_EQ(C->Items()->Get(1), Root + "/vol [films]");
  C->SetItemIndex(1);
  EXPECT_EQ(C->Drive(), Root + "/vol");
  EXPECT_EQ(D->Directory(), Root + "/vol");
  EXPECT_EQ(F->Directory(), Root + "/vol");
  // Within the volume the choice stays; a folder on another volume moves it.
  D->SetDirectory(Root + "/vol/films");
  EXPECT_EQ(C->ItemIndex(), 1);
  D->SetDirectory(Root + "/plain");
  EXPECT_EQ(C->ItemIndex(), 0);
  EXPECT_EQ(C->Drive(), "/");
  EXPECT_EQ(D->Directory(), Root + "/plain");
  EXPECT_EQ(GetCurrentDir(), Root + "/plain");
}
