// The settings kept between runs, in a private settings store per test.
#include <gtest/gtest.h>

#include <cstdlib>

#include "app/main.h"
#include "platform/rtl/Registry.h"
#include "tests/support/TempDir.h"

using namespace vantrel::app;
using vantrel::test::ReadFileBytes;
using vantrel::test::TTempDir;

namespace {

class SettingsWindow : public TMainWindowSeam {
 public:
  void ShowProfile(const String&, TPicture*) override {}
  String DestinationFolder() override { return Destination; }
  void SetDestinationFolder(const String& F) override { Destination = F; }
  void SetOpenDialogFolder(const String& F) override { OpenFolder = F; }
  String FirstChosenFile() override { return Chosen; }
  std::function<void(const String&)> SettingsCommitHook() override { return Hook; }
  String Destination;
  std::optional<String> OpenFolder;
  String Chosen;
  std::function<void(const String&)> Hook;
};

class SettingsStore : public testing::Test {
 protected:
  void SetUp() override { setenv("XDG_CONFIG_HOME", Config.Path().c_str(), 1); }
  String StoreBytes() { return ReadFileBytes(TRegistry::StoreFileName()); }
  bool HasValue(const char* Name) {
    TRegistry Reg;
    return Reg.OpenKeyReadOnly(SettingsKeyPath) && Reg.ValueExists(Name);
  }
  TTempDir Config;
};

TMainUnitState OneEditableFormat() {
  TMainUnitState S;
  TFormat F;
  F.VideoCodecName = "libx264";
  F.VideoCodecs = "libx264$H.264,libx265$H.265";
  F.AudioCodecName = "aac";
  F.AudioCodecs = "aac$AAC";
  F.Width = "1280";
  S.AllFormats = {F, F};
  S.Profiles = {{"Common Video", "1", "common", {}}};
  S.AllFormats[0].Category = S.AllFormats[1].Category = "1";
  return S;
}

}  // namespace

TEST_F(SettingsStore, FirstRunWritesTheKeyWithoutLastEditedValues) {
  TMainUnitState S;
  SettingsWindow W;
  W.Destination = "/home/u/Documents/Quillmoor/Vantrel/Output";
  ReadSettings(S, W);
  EXPECT_TRUE(S.SettingsRead);
  EXPECT_FALSE(W.OpenFolder.has_value());
  SaveSettings(S, W);
  EXPECT_TRUE(S.ErrorReports.empty());
  for (const char* Name : {"OutputPath", "ScreenShotsPath", "recentformatind", "recentprofileind"})
    EXPECT_TRUE(HasValue(Name)) << Name;
  for (const char* Name : {"OpenVideoDialogPath", "lasteditedformatind", "lasteditedprofileind",
                           "videocodecname", "channels"})
    EXPECT_FALSE(HasValue(Name)) << Name;
  TRegistry Reg;
  ASSERT_TRUE(Reg.OpenKeyReadOnly("Software\\Quillmoor\\Vantrel"));
  EXPECT_EQ(Reg.ReadString("OutputPath"), W.Destination);
  EXPECT_EQ(Reg.GetDataType("recentformatind"), rdInteger);
}

TEST_F(SettingsStore, AnEditComesBackAtTheNextStart) {
  TTempDir Files;
  {
    TMainUnitState S = OneEditableFormat();
    SettingsWindow W;
    ReadSettings(S, W);
    DistributeFormats(S, W);
    TFormat& F = S.Profiles[0].Formats[1];
    F.VideoCodecName = "libx265";
    F.Width = "640";
    F.Height = "360";
    F.FrameRate = "30000";
    F.SampleRate = "48000";
    F.Channel = "1";
    S.LastEditedProfileInd = 0;
    S.LastEditedFormatInd = 1;
    S.RecentFormatInd = 1;
    W.Chosen = Files.File("clip.mp4");
    SaveSettings(S, W);
    ASSERT_TRUE(S.ErrorReports.empty());
  }
  TMainUnitState S = OneEditableFormat();
  SettingsWindow W;
  ReadSettings(S, W);
  EXPECT_EQ(W.OpenFolder, Files.Path());
  EXPECT_EQ(S.RecentFormatInd, 1);
  DistributeFormats(S, W);
  const TFormat& F = S.Profiles[0].Formats[1];
  EXPECT_EQ(F.VideoCodecName, "libx265");
  EXPECT_EQ(F.Width, "640");
  EXPECT_EQ(F.Height, "360");
  EXPECT_EQ(F.FrameRate, "30000");
  EXPECT_EQ(F.SampleRate, "48000");
  EXPECT_EQ(F.Channel, "1");
  EXPECT_EQ(S.Profiles[0].Formats[0].Width, "1280");
}

TEST_F(SettingsStore, VanishedOpenFolderGivesAnEmptyFolder) {
  {
    TRegistry Reg;
    ASSERT_TRUE(Reg.OpenKey(SettingsKeyPath, true));
    Reg.WriteString("OpenVideoDialogPath", Config.File("gone"));
  }
  TMainUnitState S;
  SettingsWindow W;
  ReadSettings(S, W);
  EXPECT_EQ(W.OpenFolder, String());
}

TEST_F(SettingsStore, WronglyTypedValueRaisesAndTheStoreStaysUnchanged) {
  {
    TRegistry Reg;
    ASSERT_TRUE(Reg.OpenKey(SettingsKeyPath, true));
    Reg.WriteString("OutputPath", "/saved");
    Reg.WriteString("recentformatind", "three");
  }
  const String Before = StoreBytes();
  TMainUnitState S;
  SettingsWindow W;
  EXPECT_ANY_THROW(ReadSettings(S, W));
  EXPECT_FALSE(S.SettingsRead);
  SaveSettings(S, W);
  EXPECT_EQ(StoreBytes(), Before);
  EXPECT_TRUE(S.ErrorReports.empty());
}

TEST_F(SettingsStore, FailingWriteIsReportedAndLeavesTheOldFile) {
  {
    TRegistry Reg;
    ASSERT_TRUE(Reg.OpenKey(SettingsKeyPath, true));
    Reg.WriteString("OutputPath", "/saved");
  }
  const String Before = StoreBytes();
  TMainUnitState S;
  SettingsWindow W;
  ReadSettings(S, W);
  W.Destination = "/new";
  int Calls = 0;
  W.Hook = [&Calls](const String&) {
    if (++Calls == 1) throw std::runtime_error("disk full");
  };
  SaveSettings(S, W);
  ASSERT_EQ(S.ErrorReports.size(), 1u);
  EXPECT_EQ(S.ErrorReports[0].Text, "Error writing data to Registry");
  EXPECT_EQ(S.ErrorReports[0].Mark, "CLM_RegDataWrite");
  EXPECT_EQ(StoreBytes(), Before);
  EXPECT_EQ(Calls, 1);
}
