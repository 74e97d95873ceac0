// A skinned headless form over a scratch home folder (HOME and the XDG folders point into
// it), a scratch folder outside it and a volume table of "/" alone, for the tests of the
// shell views. Everything is put back when the test ends.
#pragma once

#include <limits.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <map>
#include <string>
#include <vector>

#include "platform/rtl/FileUtils.h"
#include "platform/win/Volumes.h"
#include "skin/dialogs/SkinShellViews.h"
#include "tests/support/SkinFormFixture.h"
#include "tests/support/TempDir.h"

namespace vantrel::uitest {

class ShellViewFixture : public SkinFormFixture {
 protected:
  test::TTempDir Temp;
  std::string Home, Outside;

  void SetUp() override {
    SkinFormFixture::SetUp();
    char Real[PATH_MAX];
    ASSERT_NE(realpath(Temp.Path().c_str(), Real), nullptr);
    chmod(Real, 0755);
    Home = std::string(Real) + "/home";
    Outside = std::string(Real) + "/outside";
    mkdir(Home.c_str(), 0755);
    mkdir(Outside.c_str(), 0755);
    for (const char* V : {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME"})
      if (const char* Old = getenv(V)) FSavedEnv[V] = Old;
    setenv("HOME", Home.c_str(), 1);
    setenv("XDG_CONFIG_HOME", (Home + "/.config").c_str(), 1);
    setenv("XDG_DATA_HOME", (Home + "/.local/share").c_str(), 1);
    win::Volume Rootfs;
    Rootfs.MountPoint = "/";
    Rootfs.DisplayName = "File System";
    Rootfs.FsType = "ext4";
    FOldVolumes = win::SetVolumeSource(std::make_unique<win::FixedVolumes>(std::vector<win::Volume>{Rootfs}));
  }

  void TearDown() override {
    win::SetVolumeSource(std::move(FOldVolumes));
    for (const char* V : {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME"}) {
      auto It = FSavedEnv.find(V);
      if (It != FSavedEnv.end()) setenv(V, It->second.c_str(), 1);
      else unsetenv(V);
    }
  }

  // Folders (names ending in "/") and files (with Bytes) under Base.
  static void MakeTree(const std::string& Base, std::initializer_list<std::string> Entries,
                       const std::string& Bytes = "x") {
    for (const std::string& E : Entries) {
      if (E.back() == '/') ForceDirectories(Base + "/" + E);
      else test::WriteFileBytes(Base + "/" + E, Bytes);
    }
  }

  template <class T>
  T* AddView(int X, int Y, int W, int H) {
    T* C = Create<T>(Form.get());
    C->SetParent(Form.get());
    C->SetBounds(X, Y, W, H);
    return C;
  }

  // The rows' names in row order.
  static std::vector<std::string> RowNames(TspCustomShellListView* V) {
    std::vector<std::string> R;
    for (Integer I = 0; I < V->FolderCount(); ++I) R.push_back(V->FolderAt(I)->DisplayName());
    return R;
  }

 private:
  std::map<std::string, std::string> FSavedEnv;
  std::unique_ptr<win::VolumeSource> FOldVolumes;
};

}  // namespace vantrel::uitest
