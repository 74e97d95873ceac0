// A skinned form over a scratch folder tree for the file-system controls: the process's
// current folder and the volume table are put back when the test ends; the volume table is
// a fixed one ("/" alone unless a test mounts more) so the machine's mounts play no part.
#pragma once

#include <limits.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/rtl/FileUtils.h"
#include "platform/rtl/SysEnv.h"
#include "platform/win/Volumes.h"
#include "skin/dialogs/SkinFileCtrl.h"
#include "tests/support/SkinFormFixture.h"
#include "tests/support/TempDir.h"

namespace vantrel::uitest {

class FileCtrlFixture : public SkinFormFixture {
 protected:
  test::TTempDir Temp;
  std::string Root;  // Temp's real path (the current folder is read back resolved)
  std::string SavedDir;
  std::unique_ptr<win::VolumeSource> SavedVolumes;

  void SetUp() override {
    SkinFormFixture::SetUp();
    char Real[PATH_MAX];
    ASSERT_NE(realpath(Temp.Path().c_str(), Real), nullptr);
    Root = Real;
    SavedDir = GetCurrentDir();
    Mount("/dev/sda1 / ext4 rw 0 0\n");
  }
  void TearDown() override {
    SetCurrentDir(SavedDir);
    win::SetVolumeSource(std::move(SavedVolumes));
  }

  // Puts a volume table in /proc/self/mounts form in place; Labels gives device labels.
  void Mount(const std::string& Table, std::vector<std::pair<std::string, std::string>> Labels = {}) {
    win::VolumeProbe P;
    P.IsRemovable = [](const std::string& Device) { return Device.find("/dev/sdz") == 0; };
    P.LabelOf = [Labels](const std::string& Device) {
      for (const auto& L : Labels)
        if (L.first == Device) return L.second;
      return std::string();
    };
    auto Old = win::SetVolumeSource(std::make_unique<win::FixedVolumes>(win::ParseMountTable(Table, P)));
    if (!SavedVolumes) SavedVolumes = std::move(Old);
  }

  // Folders (names ending in "/") and files (with a few bytes) under Root.
  void MakeTree(std::initializer_list<std::string> Entries) {
    for (const std::string& E : Entries) {
      if (E.back() == '/')
        ASSERT_TRUE(ForceDirectories(Root + "/" + E));
      else
        test::WriteFileBytes(Root + "/" + E, "x");
    }
  }

  static std::vector<std::string> ItemsOf(TStrings* S) {
    std::vector<std::string> R;
    for (Integer I = 0; I < S->Count(); ++I) R.push_back(S->Get(I));
    return R;
  }

  template <class T>
  T* Add(int X, int Y, int W, int H) {
    T* C = Create<T>(Form.get());
    C->SetParent(Form.get());
    C->SetBounds(X, Y, W, H);
    return C;
  }
};

}  // namespace vantrel::uitest
