// A scratch home folder with XDG variables pointing into it, a scratch folder outside it and a
// volume table of "/" alone, all put back when the test ends.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <map>
#include <string>
#include <vector>

#include "platform/win/ShellFolder.h"
#include "platform/win/Volumes.h"
#include "tests/support/TempDir.h"

namespace vantrel::test {

class ShellNamespaceTest : public testing::Test {
 protected:
  void SetUp() override {
    chmod(Root.Path().c_str(), 0755);
    Home = Root.File("home");
    Outside = Root.File("outside");
    mkdir(Home.c_str(), 0755);
    mkdir(Outside.c_str(), 0755);
    for (const char* V : {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME"}) {
      const char* Old = getenv(V);
      if (Old) FSaved[V] = Old;
    }
    setenv("HOME", Home.c_str(), 1);
    setenv("XDG_CONFIG_HOME", (Home + "/.config").c_str(), 1);
    setenv("XDG_DATA_HOME", (Home + "/.local/share").c_str(), 1);
    win::Volume Rootfs;
    Rootfs.MountPoint = "/";
    Rootfs.DisplayName = "File System";
    Rootfs.FsType = "ext4";
    FOldVolumes = win::SetVolumeSource(std::make_unique<win::FixedVolumes>(std::vector<win::Volume>{Rootfs}));
    ASSERT_EQ(SHGetDesktopFolder(Desktop.Put()), S_OK);
  }

  void TearDown() override {
    Desktop.Reset();
    win::SetVolumeSource(std::move(FOldVolumes));
    for (const char* V : {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME"}) {
      auto It = FSaved.find(V);
      if (It != FSaved.end()) setenv(V, It->second.c_str(), 1);
      else unsetenv(V);
    }
  }

  // The absolute list of Path (fails the test when it cannot be parsed).
  win::ItemIdList Parse(const std::string& Path) {
    win::ItemIdList L;
    EXPECT_EQ(Desktop->ParseDisplayName(nullptr, nullptr, Path.c_str(), nullptr, L.Put(), nullptr), S_OK) << Path;
    return L;
  }

  static std::string Text(STRRET& S) {
    std::string T = S.uType == STRRET_WSTR && S.pOleStr ? S.pOleStr : "";
    if (S.uType == STRRET_WSTR) CoTaskMemFree(S.pOleStr);
    return T;
  }

  std::string NameOf(IShellFolder* F, LPCITEMIDLIST L, DWORD Flags) {
    STRRET S;
    if (FAILED(F->GetDisplayNameOf(L, Flags, &S))) return "<failed>";
    return Text(S);
  }

  static std::vector<win::ShellItemRecord> Records(LPCITEMIDLIST L) {
    std::vector<win::ShellItemRecord> R;
    EXPECT_TRUE(win::DecodeItemIdList(L, R));
    return R;
  }

  TTempDir Root;
  std::string Home, Outside;
  win::ComPtr<IShellFolder> Desktop;

 private:
  std::map<std::string, std::string> FSaved;
  std::unique_ptr<win::VolumeSource> FOldVolumes;
};

}  // namespace vantrel::test
