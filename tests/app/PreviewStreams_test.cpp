// The preview's stream lists, filled from the file being played when it opens.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <string>

#include "app/main.h"
#include "media/FFPlay.h"
#include "platform/rtl/Threads.h"
#include "platform/ui/ComboBox.h"
#include "tests/app/FileListStub.h"
#include "tests/media/PlayerTestKit.h"
#include "tests/support/TempDir.h"
#include "tests/support/UiFormsFixture.h"

using namespace vantrel::app;
using vantrel::apptest::StubEntry;
using vantrel::apptest::StubFileList;
using vantrel::test::TTempDir;

namespace {

class PreviewStreamLists : public testing::Test {
 protected:
  void SetUp() override {
    vantrel::test::UseHeadlessSDL();
    MainUnit().ErrorReports.clear();
    MainUnit().ActionLog.clear();
    Application->CreateForm(Main);
    Main->FileList = &Files;
    Main->SetBounds(0, 0, 800, 480);
    Main->Show();
    S.Session.PumpUntilIdle();
    ASSERT_TRUE(LoadPreviewSdl(MainUnit(), *Main->DODodeve, Temp.Path(), vantrel::test::SystemSDLFile()));
  }
  void TearDown() override {
    if (Main && Main->DODodeve) Main->DODodeve->Stop(true);
  }
  bool PumpUntil(const std::function<bool()>& Pred, double Seconds = 20) {
    const auto End = std::chrono::steady_clock::now() + std::chrono::duration<double>(Seconds);
    while (!Pred()) {
      if (std::chrono::steady_clock::now() > End) return false;
      CheckSynchronize(10);
      S.Session.PumpUntilIdle();
    }
    return true;
  }
  static std::vector<String> ItemsOf(TComboBox* ABox) {
    std::vector<String> Items;
    for (Integer I = 0; I < ABox->Items()->Count(); ++I) Items.push_back(ABox->Items()->Get(I));
    return Items;
  }
  vantrel::uitest::FormsSession S;
  TTempDir Temp;
  StubFileList Files;
  TMainForm* Main = nullptr;
};

// A picture and two sound streams: the lists name each stream by its index, and the
// audio list (two entries) is enabled on the stream played.
TEST_F(PreviewStreamLists, PlayingAFileWithTwoSoundStreamsListsBoth) {
  const std::string Clip = Temp.File("twoaudio.mkv");
  ASSERT_EQ(std::system(("ffmpeg -nostdin -loglevel error -y -f lavfi -i testsrc=size=160x120:rate=25:duration=2 "
                         "-f lavfi -i sine=frequency=440:duration=2 -f lavfi -i sine=frequency=880:duration=2 "
                         "-map 0 -map 1 -map 2 -c:v mpeg4 -c:a pcm_s16le '" + Clip + "'")
                            .c_str()),
            0);
  Files.Entries = {StubEntry{Clip, "two"}};
  Files.Row = 1;
  Main->PlayButtonClick(nullptr);
  ASSERT_TRUE(PumpUntil([&] { return Main->DODodeve->VideoState() != nullptr; }));
  EXPECT_TRUE(MainUnit().ErrorReports.empty());
  EXPECT_EQ(Main->DODodeve->Decoder()->StreamCount(), 3);
  EXPECT_EQ(ItemsOf(Main->cboVideo), (std::vector<String>{"Video#0"}));
  EXPECT_EQ(ItemsOf(Main->cboAudio), (std::vector<String>{"Audio#1", "Audio#2"}));
  EXPECT_TRUE(Main->cboAudio->Enabled());
  const Integer Chosen = Main->cboAudio->ItemIndex();
  ASSERT_GE(Chosen, 0);
  EXPECT_EQ(Main->cboAudio->Items()->Get(Chosen), "Audio#" + std::to_string(Main->DODodeve->AudioStreamIndex()));
  EXPECT_FALSE(Main->cboVideo->Enabled());
}

}  // namespace
