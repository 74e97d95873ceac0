// The "Profile Settings" dialog: choice lists, the resolution check, storing the choices into
// the catalogue record, and what reaches the settings store.
#include <gtest/gtest.h>

#include <cstdlib>

#include "app/settings.h"
#include "platform/rtl/Registry.h"
#include "skin/controls/SkinBoxCtrls.h"
#include "tests/app/FileListStub.h"
#include "tests/support/TempDir.h"
#include "tests/support/UiFormsFixture.h"

using namespace vantrel::app;
using vantrel::apptest::StubFileList;

namespace {

std::vector<String> ListOf(const TStringList& L) {
  std::vector<String> Out;
  for (Integer I = 0; I < L.Count(); ++I) Out.push_back(L.Get(I));
  return Out;
}

TFormat VideoFormat() {
  TFormat F;
  F.Title = "MP4 H.264 Video";
  F.Resolutions = "640*480,1280*720";
  F.Width = "1280";
  F.Height = "720";
  F.FrameRates = "24000$23.976 fps,25000$25 fps";
  F.FrameRate = "24000";
  F.VideoCodecs = "libx264$H.264";
  F.VideoCodecName = "libx264";
  F.VideoBitRates = "1000$1000 kbps,2000$2000 kbps";
  F.VideoBitRate = "1000";
  F.SampleRates = "44100$44100 Hz";
  F.SampleRate = "44100";
  F.Channels = "2$Stereo";
  F.Channel = "2";
  F.AudioCodecs = "aac$AAC";
  F.AudioCodecName = "aac";
  F.AudioBitRates = "128$128 kbps,192$192 kbps";
  F.AudioBitRate = "128";
  return F;
}

TFormat AudioOnlyFormat() {
  TFormat F = VideoFormat();
  F.Title = "MP3 Audio";
  F.Resolutions = F.Width = F.Height = "";
  F.FrameRates = F.FrameRate = F.VideoCodecs = F.VideoCodecName = "";
  F.VideoBitRates = F.VideoBitRate = "";
  return F;
}

class SettingsDialog : public testing::Test {
 protected:
  void Open(const TFormat& F) {
    State.Profiles = {{"Video", "1", "video", {TFormat(), F}}};
    State.CurrentProfileInd = 0;
    State.CurrentFormatInd = 1;
    Application->CreateForm(Form);
    Form->State = &State;
    Form->FileList = &Files;
    Form->Show();
  }
  TFormat& Stored() { return State.Profiles[0].Formats[1]; }
  vantrel::uitest::FormsSession S;
  TMainUnitState State;
  StubFileList Files;
  Tsettingsform* Form = nullptr;
};

}  // namespace

TEST(SettingsChoiceLists, SplitIntoLabelsAndValues) {
  struct Case {
    const char* Text;
    std::vector<String> Labels, Values;
  } Cases[] = {
      {"24000$23.976 fps,25000$25 fps", {"23.976 fps", "25 fps"}, {"24000", "25000"}},
      // A bare item has a label and no value: the later values move up one place.
      {"Auto,25000$25 fps,30000$30 fps", {"Auto", "25 fps", "30 fps"}, {"25000", "30000"}},
      {"640*480,1280*720", {"640*480", "1280*720"}, {}},
      {"", {""}, {}},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Text);
    EXPECT_EQ(ListOf(*SplitChoiceList(C.Text, false)), C.Labels);
    EXPECT_EQ(ListOf(*SplitChoiceList(C.Text, true)), C.Values);
  }
}

TEST(SettingsChoiceLists, ResolutionParts) {
  struct Case {
    const char* Text;
    const char* Width;
    const char* Height;
  } Cases[] = {
      {"640*480", "640", "480"},   {"640*360*2", "640", "2"}, {"640x480", "-1", "-1"},
      {"*480", "-1", "480"},       {"abc*480", "-1", "480"},  {"640*", "640", "-1"},
      {"", "-1", "-1"},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Text);
    EXPECT_EQ(ResolutionWidthPart(C.Text), C.Width);
    EXPECT_EQ(ResolutionHeightPart(C.Text), C.Height);
  }
}

TEST_F(SettingsDialog, ShowsTheFormatsValuesAndLabels) {
  Open(VideoFormat());
  EXPECT_EQ(Form->edProfile->Text(), "MP4 H.264 Video");
  EXPECT_EQ(Form->cmbVideoResolution->Text(), "1280*720");
  ASSERT_EQ(Form->cmbVideoFrameRate->Items()->Count(), 2);
  EXPECT_EQ(Form->cmbVideoFrameRate->Items()->Get(0), "23.976 fps");
  EXPECT_EQ(Form->cmbVideoFrameRate->Items()->Get(1), "25 fps");
  EXPECT_EQ(Form->cmbVideoFrameRate->ItemIndex(), 0);
  EXPECT_EQ(Form->cmbAudioBitRate->Text(), "128 kbps");
  EXPECT_TRUE(Form->cmbVideoFrameRate->Enabled());
}

TEST_F(SettingsDialog, AcceptsOnlyEvenResolutionsWithinTheRange) {
  struct Case {
    const char* Text;
    bool Accepted;
  } Cases[] = {
      {"640*480", true},    {"1920*1280", true},  {"64*64", true},     {"641*480", false},
      {"62*480", false},    {"1920*1282", false}, {"640x480", false},  {"1922*1080", false},
      {"640*360*2", false}, {"", false},
  };
  Open(VideoFormat());
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Text);
    Stored() = VideoFormat();
    Files.Messages.clear();
    Files.Reestimates = 0;
    State.LastEditedFormatInd = -1;
    Form->FormShow(nullptr);
    Form->cmbVideoResolution->SetText(C.Text);
    Form->spSkinButton1Click(nullptr);
    if (C.Accepted) {
      EXPECT_TRUE(Files.Messages.empty());
      EXPECT_EQ(Stored().Width + "*" + Stored().Height, C.Text);
      EXPECT_EQ(Files.Reestimates, 1);
      EXPECT_EQ(Form->ModalResult(), mrOk);
    } else {
      ASSERT_EQ(Files.Messages.size(), 1u);
      EXPECT_EQ(Files.Messages[0],
                "Please input valid resolution. Both width and height must be multiples of 2, and "
                "range from 64*64 to 1920*1280.");
      EXPECT_EQ(Files.MessageTypes[0], mtWarning);
      EXPECT_EQ(Stored().Width, "1280");
      EXPECT_EQ(Stored().Height, "720");
      EXPECT_EQ(State.LastEditedFormatInd, -1);
      EXPECT_EQ(Files.Reestimates, 0);
    }
  }
}

TEST_F(SettingsDialog, AChosenLabelStoresItsValueAndMarksTheFormatChanged) {
  Open(VideoFormat());
  Form->cmbVideoFrameRate->SetItemIndex(1);
  Form->spSkinButton1Click(nullptr);
  EXPECT_EQ(Stored().FrameRate, "25000");
  EXPECT_TRUE(Stored().AreSettingsChanged);
  EXPECT_EQ(State.LastEditedProfileInd, 0);
  EXPECT_EQ(State.LastEditedFormatInd, 1);
}

TEST_F(SettingsDialog, TheSameValuesKeepTheChangedMarkAnotherBitRateSetsIt) {
  for (bool Before : {false, true}) {
    SCOPED_TRACE(Before);
    TFormat F = VideoFormat();
    F.AreSettingsChanged = Before;
    Open(F);
    Form->spSkinButton1Click(nullptr);
    EXPECT_EQ(Stored().AreSettingsChanged, Before);
    Form->FormShow(nullptr);
    Form->cmbVideoBitRate->SetItemIndex(1);
    Form->spSkinButton1Click(nullptr);
    EXPECT_TRUE(Stored().AreSettingsChanged);
    EXPECT_EQ(Stored().VideoBitRate, "2000");
  }
}

TEST_F(SettingsDialog, AnEmptyFrameRateListGivesADisabledComboAndKeepsTheRate) {
  TFormat F = VideoFormat();
  F.FrameRates = "";
  F.FrameRate = "30000";
  Open(F);
  EXPECT_FALSE(Form->cmbVideoFrameRate->Enabled());
  EXPECT_EQ(Form->cmbVideoFrameRate->Text(), "");
  EXPECT_TRUE(Form->cmbVideoBitRate->Enabled());
  Form->spSkinButton1Click(nullptr);
  EXPECT_EQ(Stored().FrameRate, "30000");
  EXPECT_TRUE(State.ErrorReports.empty());
}

TEST_F(SettingsDialog, AnAudioOnlyFormatsBitRateCanBeChanged) {
  Open(AudioOnlyFormat());
  EXPECT_FALSE(Form->cmbVideoResolution->Enabled());
  EXPECT_FALSE(Form->cmbVideoEncoder->Enabled());
  Form->cmbAudioBitRate->SetItemIndex(1);
  Form->spSkinButton1Click(nullptr);
  EXPECT_TRUE(Files.Messages.empty());
  EXPECT_EQ(Stored().AudioBitRate, "192");
  EXPECT_EQ(Stored().Width, "");
  EXPECT_TRUE(Stored().AreSettingsChanged);
}

TEST_F(SettingsDialog, AChoiceWithoutAValueIsReportedAndTheDialogStillCloses) {
  TFormat F = VideoFormat();
  F.AudioBitRates = "Auto,128$128 kbps";  // two labels, one value
  Open(F);
  Form->cmbVideoBitRate->SetItemIndex(1);
  Form->cmbAudioBitRate->SetItemIndex(1);
  Form->spSkinButton1Click(nullptr);
  ASSERT_EQ(State.ErrorReports.size(), 1u);
  EXPECT_EQ(State.ErrorReports[0].Text, "Error setting profile");
  EXPECT_EQ(State.ErrorReports[0].Mark, "CLM_SettingProfile");
  EXPECT_EQ(Stored().VideoBitRate, "2000");  // stored before the failure
  EXPECT_FALSE(Stored().AreSettingsChanged);
  EXPECT_EQ(Files.Reestimates, 1);
  EXPECT_EQ(Form->ModalResult(), mrOk);
}

TEST_F(SettingsDialog, DefaultDiscardsUnconfirmedEdits) {
  Open(VideoFormat());
  Form->cmbVideoBitRate->SetItemIndex(1);
  Form->cmbVideoResolution->SetText("640*480");
  Form->spSkinButton3Click(nullptr);
  EXPECT_EQ(Form->cmbVideoBitRate->ItemIndex(), 0);
  EXPECT_EQ(Form->cmbVideoResolution->Text(), "1280*720");
  Form->spSkinButton2Click(nullptr);
  EXPECT_EQ(Stored().VideoBitRate, "1000");
  EXPECT_EQ(Form->ModalResult(), mrCancel);
}

TEST_F(SettingsDialog, TheLastEditedValuesReachTheSettingsStore) {
  vantrel::test::TTempDir Config;
  setenv("XDG_CONFIG_HOME", Config.Path().c_str(), 1);
  Open(VideoFormat());
  Form->cmbVideoResolution->SetText("640*480");
  Form->cmbAudioBitRate->SetItemIndex(1);
  Form->spSkinButton1Click(nullptr);
  class NoWindow : public TMainWindowSeam {
    void ShowProfile(const String&, TPicture*) override {}
    String DestinationFolder() override { return "/tmp"; }
    void SetDestinationFolder(const String&) override {}
    void SetOpenDialogFolder(const String&) override {}
    String FirstChosenFile() override { return ""; }
  } Window;
  State.SettingsRead = true;
  SaveSettings(State, Window);
  TRegistry Reg;
  ASSERT_TRUE(Reg.OpenKeyReadOnly(SettingsKeyPath));
  EXPECT_EQ(Reg.ReadInteger("lasteditedprofileind"), 0);
  EXPECT_EQ(Reg.ReadInteger("lasteditedformatind"), 1);
  EXPECT_EQ(Reg.ReadString("videowidth"), "640");
  EXPECT_EQ(Reg.ReadString("videoheight"), "480");
  EXPECT_EQ(Reg.ReadString("audiobitrate"), "192");
}
