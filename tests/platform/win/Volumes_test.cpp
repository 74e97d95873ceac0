#include <gtest/gtest.h>

#include "platform/win/Volumes.h"

using vantrel::win::Volume;

namespace {

const char* const kTable =
    "proc /proc proc rw,nosuid 0 0\n"
    "sysfs /sys sysfs rw 0 0\n"
    "tmpfs /run tmpfs rw 0 0\n"
    "/dev/sda2 / ext4 rw 0 0\n"
    "/dev/sda3 /home ext4 rw 0 0\n"
    "/dev/sdb1 /data\\040disk vfat rw 0 0\n"
    "/dev/sr0 /run/media/me/MOVIE iso9660 ro 0 0\n"
    "server:/export /net/films nfs4 rw 0 0\n"
    "//nas/share /srv/share cifs rw 0 0\n"
    "tmpfs /mnt/ram tmpfs rw 0 0\n"
    "overlay /var/lib/thing overlay rw 0 0\n";

vantrel::win::VolumeProbe FakeProbe() {
  vantrel::win::VolumeProbe P;
  P.IsRemovable = [](const std::string& Device) { return Device == "/dev/sdb1"; };
  P.LabelOf = [](const std::string& Device) { return Device == "/dev/sda3" ? std::string("Users") : std::string(); };
  return P;
}

}  // namespace

TEST(Volumes, MountTableGivesVolumesOnly) {
  const std::vector<Volume> V = vantrel::win::ParseMountTable(kTable, FakeProbe());
  struct Expect {
    const char* Point;
    UINT Type;
    const char* Name;
    const char* Fs;
    const char* Source;
  } Want[] = {
      {"/", DRIVE_FIXED, "File System", "ext4", ""},
      {"/home", DRIVE_FIXED, "Users", "ext4", ""},
      {"/data disk", DRIVE_REMOVABLE, "data disk", "vfat", ""},
      {"/run/media/me/MOVIE", DRIVE_CDROM, "MOVIE", "iso9660", ""},
      {"/net/films", DRIVE_REMOTE, "films", "nfs4", "server:/export"},
      {"/srv/share", DRIVE_REMOTE, "share", "cifs", "//nas/share"},
      {"/mnt/ram", DRIVE_RAMDISK, "ram", "tmpfs", ""},
  };
  ASSERT_EQ(V.size(), std::size(Want));
  for (size_t i = 0; i < V.size(); ++i) {
    SCOPED_TRACE(Want[i].Point);
    EXPECT_EQ(V[i].MountPoint, Want[i].Point);
    EXPECT_EQ(V[i].Type, Want[i].Type);
    EXPECT_EQ(V[i].DisplayName, Want[i].Name);
    EXPECT_EQ(V[i].FsType, Want[i].Fs);
    EXPECT_EQ(V[i].Source, Want[i].Source);
  }
  EXPECT_EQ(V[1].Label, "Users");
  EXPECT_EQ(V[0].Label, "");
}

TEST(Volumes, RootIsAlwaysThereAndDriveCallsUseTheSource) {
  auto Only = vantrel::win::ParseMountTable("proc /proc proc rw 0 0\n", FakeProbe());
  ASSERT_EQ(Only.size(), 1u);
  EXPECT_EQ(Only[0].MountPoint, "/");

  auto Old = vantrel::win::SetVolumeSource(
      std::make_unique<vantrel::win::FixedVolumes>(vantrel::win::ParseMountTable(kTable, FakeProbe())));
  EXPECT_EQ(GetDriveType("/net/films/"), DRIVE_REMOTE);
  EXPECT_EQ(GetDriveType("/home"), DRIVE_FIXED);
  EXPECT_EQ(GetDriveType("/home/me"), DRIVE_NO_ROOT_DIR);
  char Label[32], Fs[16];
  DWORD Serial = 1, MaxLen = 0, Flags = 1;
  ASSERT_TRUE(GetVolumeInformation("/home", Label, sizeof Label, &Serial, &MaxLen, &Flags, Fs, sizeof Fs));
  EXPECT_STREQ(Label, "Users");
  EXPECT_STREQ(Fs, "ext4");
  EXPECT_EQ(Flags, FILE_CASE_SENSITIVE_SEARCH | FILE_CASE_PRESERVED_NAMES);
  // A vfat stick finds names in any case but shows them as they were written.
  ASSERT_TRUE(GetVolumeInformation("/data disk/", nullptr, 0, nullptr, nullptr, &Flags, nullptr, 0));
  EXPECT_EQ(Flags, FILE_CASE_PRESERVED_NAMES);
  EXPECT_FALSE(GetVolumeInformation("/nowhere", Label, sizeof Label, nullptr, nullptr, nullptr, Fs, sizeof Fs));
  Volume Of;
  ASSERT_TRUE(vantrel::win::VolumeOfPath("/home/me/clip.avi", Of));
  EXPECT_EQ(Of.MountPoint, "/home");
  ASSERT_TRUE(vantrel::win::VolumeOfPath("/homework", Of));
  EXPECT_EQ(Of.MountPoint, "/");
  vantrel::win::SetVolumeSource(std::move(Old));
}
