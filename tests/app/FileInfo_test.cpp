// The "File Information" dialog: the texts of its values, what a probed file fills in,
// what a file that cannot be read gives, and that no probed file stays open.
#include <gtest/gtest.h>

#include "app/clip_Times.h"
#include "app/main_FileList.h"
#include "app/fileinfo.h"
#include "app/main.h"
#include "media/FFDecode.h"
#include "platform/rtl/NumConv.h"
#include "skin/controls/SkinCtrls.h"
#include "tests/support/ProbeFixtures.h"
#include "tests/support/TestPaths.h"
#include "tests/support/UiFormsFixture.h"

using namespace vantrel::app;
using vantrel::media::TAVRational;
using vantrel::media::TFFDecoder;

TEST(FileInfoTexts, FrameRatesBitRatesAndLengths) {
  struct RateCase {
    TAVRational Rate;
    const char* Text;
  } Rates[] = {{{30000, 1001}, "30 fps"}, {{25, 1}, "25 fps"}, {{5, 2}, "2 fps"}, {{7, 2}, "4 fps"},
               {{-1, -1}, ""},          {{0, 1}, ""},        {{25, 0}, ""}};
  for (const RateCase& C : Rates) {
    SCOPED_TRACE(testing::Message() << C.Rate.num << "/" << C.Rate.den);
    EXPECT_EQ(FrameRateText(C.Rate), C.Text);
  }
  struct BitCase {
    Integer BitRate;
    const char* Text;
  } Bits[] = {{1499999, "1499 Kb"}, {128000, "128 Kb"}, {999, "0 Kb"}, {0, "is not preseted"}, {-1, "is not preseted"}};
  for (const BitCase& C : Bits) {
    SCOPED_TRACE(C.BitRate);
    EXPECT_EQ(BitRateText(C.BitRate), C.Text);
  }
  struct TimeCase {
    Int64 Us;
    const char* Text;
  } Times[] = {{-1, "00:00:00"}, {999999, "00:00:00"}, {3723000000, "01:02:03"}, {360000000000, "100:00:00"}};
  for (const TimeCase& C : Times) {
    SCOPED_TRACE(C.Us);
    EXPECT_EQ(FormatMicroseconds(C.Us), C.Text);
  }
}

class FileInfo : public testing::Test {
 protected:
  vantrel::uitest::FormsSession S;
  TFileInfoForm* Form = nullptr;
  TOwned<TFFDecoder> Decoder{TFFDecoder::Create(nullptr)};
  TMainUnitState State;

  void SetUp() override {
    ASSERT_TRUE(Decoder->LoadAVLib("")) << Decoder->LastErrMsg();
    Application->CreateForm(Form);
  }
  bool Read(const std::string& Name) {
    const bool Ok = ReadFileInformation(*Form, *Decoder, vantrel::test::FixturePath(Name), State);
    EXPECT_EQ(Decoder->FileHandle(), nullptr) << "the probed file stays open";
    return Ok;
  }
  // ffprobe's value of one entry of the first stream of a kind.
  static std::string Probe(const std::string& Name, const std::string& Entry, const std::string& Streams) {
    std::string V = vantrel::test::FFProbeEntries(vantrel::test::FixturePath(Name), "stream=" + Entry, Streams);
    while (!V.empty() && (V.back() == '\n' || V.back() == '\r')) V.pop_back();
    return V;
  }
};

TEST_F(FileInfo, AVideoFillsEveryBoxAndAnAudioFileAfterItClearsTheVideoBoxes) {
  ASSERT_TRUE(Read("v.mp4"));
  EXPECT_EQ(Form->spSkinLabel2->Caption(), "v.mp4");
  EXPECT_EQ(Form->spSkinLabel3->Caption(), "00:00:02");
  EXPECT_EQ(Form->spSkinLabel1->Caption(), Probe("v.mp4", "width", "v:0") + "x" + Probe("v.mp4", "height", "v:0"));
  EXPECT_EQ(Form->spSkinLabel5->Caption(), "25 fps");
  const Integer VideoBits = StrToInt(Probe("v.mp4", "bit_rate", "v:0"));
  EXPECT_EQ(Form->spSkinLabel4->Caption(), IntToStr(VideoBits / 1000) + " Kb");
  EXPECT_EQ(Form->spSkinLabel6->Caption(), Probe("v.mp4", "sample_rate", "a:0") + " Hz");
  EXPECT_EQ(Form->spSkinLabel7->Caption(), Probe("v.mp4", "channels", "a:0") + " channel");
  EXPECT_NE(Form->spSkinLabel8->Caption(), "");
  EXPECT_TRUE(State.ErrorReports.empty());

  ASSERT_TRUE(Read("dec-mono.mp3"));
  EXPECT_EQ(Form->spSkinLabel2->Caption(), "dec-mono.mp3");
  EXPECT_EQ(Form->spSkinLabel7->Caption(), "1 channel");
  EXPECT_EQ(Form->spSkinLabel6->Caption(), Probe("dec-mono.mp3", "sample_rate", "a:0") + " Hz");
  EXPECT_EQ(Form->spSkinLabel8->Caption(), "64 Kb");
  for (TspSkinLabel* Box : {Form->spSkinLabel1, Form->spSkinLabel4, Form->spSkinLabel5}) {
    SCOPED_TRACE(Box->Name());
    EXPECT_EQ(Box->Caption(), "");
  }
}

TEST_F(FileInfo, TwoAudioStreamsShowTheSecond) {
  ASSERT_TRUE(Read("probe-2audio.mkv"));
  EXPECT_EQ(Form->spSkinLabel6->Caption(), Probe("probe-2audio.mkv", "sample_rate", "a:1") + " Hz");
  EXPECT_EQ(Form->spSkinLabel6->Caption(), "22050 Hz");
}

TEST_F(FileInfo, AnUnreadableFileLogsThreeLinesAndReportsWithoutTheDialog) {
  const std::string Missing = vantrel::test::FixtureDir() + "/no-such-file.mp4";
  EXPECT_FALSE(ReadFileInformation(*Form, *Decoder, Missing, State));
  EXPECT_EQ(Decoder->FileHandle(), nullptr);
  EXPECT_FALSE(Form->Visible());
  ASSERT_FALSE(Decoder->LastErrMsg().empty());
  ASSERT_EQ(State.ActionLog.size(), 3u);
  EXPECT_EQ(State.ActionLog[0], "");
  const String Stamped = State.ActionLog[1];
  const String Tail = "-> File load error: " + Decoder->LastErrMsg();
  ASSERT_GE(Stamped.size(), Tail.size());
  EXPECT_EQ(Stamped.substr(Stamped.size() - Tail.size()), Tail);
  EXPECT_EQ(State.ActionLog[2], "");
  ASSERT_EQ(State.ErrorReports.size(), 1u);
  EXPECT_EQ(State.ErrorReports[0].Text, "The information for this media is unavailable." + Decoder->LastErrMsg());
  EXPECT_EQ(State.ErrorReports[0].Mark, "CLM_ProbeLoadFile");
}

TEST_F(FileInfo, TheCommandDoesNothingWithoutAnEntryAndReportsTheSelectedRowsFile) {
  FileInformationForRow(*Form, *Decoder, State, 1);
  EXPECT_TRUE(State.ErrorReports.empty());
  EXPECT_TRUE(State.ActionLog.empty());
  EXPECT_FALSE(Form->Visible());
  // The second row's entry is the one read.
  TVideoFile First, Second;
  First.Source = vantrel::test::FixturePath("v.mp4");
  Second.Source = vantrel::test::FixtureDir() + "/no-such-file.mp4";
  State.VideoFiles = {First, Second};
  FileInformationForRow(*Form, *Decoder, State, 2);
  ASSERT_EQ(State.ErrorReports.size(), 1u);
  EXPECT_EQ(State.ErrorReports[0].Mark, "CLM_ProbeLoadFile");
  FileInformationForRow(*Form, *Decoder, State, 3);
  EXPECT_EQ(State.ErrorReports.size(), 1u);
}
