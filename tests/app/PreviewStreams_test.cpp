// The preview's stream lists, filled from the file being played when it opens.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "platform/ui/ComboBox.h"
#include "tests/app/PreviewFixture.h"

using namespace vantrel::app;
using vantrel::apptest::StubEntry;

namespace {

class PreviewStreamLists : public vantrel::apptest::PreviewWindowTest {
 protected:
  static std::vector<String> ItemsOf(TComboBox* ABox) {
    std::vector<String> Items;
    for (Integer I = 0; I < ABox->Items()->Count(); ++I) Items.push_back(ABox->Items()->Get(I));
    return Items;
  }
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
