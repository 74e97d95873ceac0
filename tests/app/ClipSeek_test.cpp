// The "Trim" dialog on a clip with a single key frame: a start marker dragged to a time
// sets the start the marker shows, and the trimmed part plays from its own first picture.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <mutex>
#include <string>
#include <vector>

#include "app/clip.h"
#include "app/clip_Times.h"
#include "media/FFPlay.h"
#include "platform/ui/ExtCtrls.h"
#include "skin/controls/SkinBoxCtrls.h"
#include "tests/app/EditorHostFake.h"
#include "tests/support/PumpUntil.h"
#include "tests/support/TempDir.h"

using namespace vantrel::app;

namespace {

class ClipSeek : public vantrel::test::EditorDialogTest<TClipForm> {
 protected:
  void TearDown() override {
    vantrel::media::detail::SetPlayerShowHook(*Form->FFPlayer2, nullptr);
    EditorDialogTest<TClipForm>::TearDown();
  }
  // 4 s at 25 pictures a second, its first picture the only key frame, with sound.
  std::string MakeClip() {
    const std::string Clip = Temp.File("onekey.mp4");
    const std::string Cmd =
        "ffmpeg -nostdin -loglevel error -y -f lavfi -i testsrc=size=160x120:rate=25:duration=4 -f lavfi -i "
        "sine=duration=4 -c:v libx264 -g 1000 -keyint_min 1000 -sc_threshold 0 -c:a aac -shortest '" + Clip + "'";
    return std::system(Cmd.c_str()) == 0 ? Clip : std::string();
  }
  std::vector<double> ShownPictures() {
    std::lock_guard<std::mutex> G(Lock);
    return Shown;
  }
  vantrel::test::TTempDir Temp;
  std::mutex Lock;
  std::vector<double> Shown;
};

}  // namespace

TEST_F(ClipSeek, AStartMarkerDraggedToTwoSecondsStartsThePartThere) {
  const std::string Clip = MakeClip();
  ASSERT_FALSE(Clip.empty());
  Host.Trim = {Clip, 0, 4000000};
  Form->Show();
  ASSERT_TRUE(Host.State.ErrorReports.empty()) << Host.State.ErrorReports[0].Text;
  ASSERT_GE(Form->FDuration, 4000000);
  ASSERT_LT(Form->FDuration, 4100000);
  const Integer Width = Form->videotrackbar2->Width();
  const Integer Target = TrimMarkerLeft(2000000, Form->FDuration, Width);
  const Int64 MarkerTime = TrimMarkerTime(Target, Form->FDuration, Width);
  ASSERT_GE(MarkerTime, 2000000);
  ASSERT_LT(MarkerTime, 2040000);

  // Grabbed 6 pixels into the marker and dragged in two moves to the 2 s place.
  const Integer Grab = 6, From = Form->imgTrimLeft->Left();
  Form->imgTrimLeftMouseDown(nullptr, mbLeft, {}, Grab, 6);
  Form->imgTrimLeftMouseMove(nullptr, {}, Grab + (Target - From) / 2, 6);
  Form->imgTrimLeftMouseMove(nullptr, {}, Grab + (Target - From) - (Target - From) / 2, 6);
  ASSERT_EQ(Form->imgTrimLeft->Left(), Target);
  Form->imgTrimLeftMouseUp(nullptr, mbLeft, {}, Grab, 6);
  ASSERT_TRUE(vantrel::testsupport::PumpUntil([&] { return !Form->Trim.StartMarkerReleased; },
                                              std::chrono::milliseconds(10000)));
  EXPECT_EQ(Form->TimeStart->Text(), "00:00:02");
  EXPECT_GE(Form->Trim.TrimStartTime, 2000000);
  EXPECT_LT(Form->Trim.TrimStartTime, 2100000);

  // Stopped, then the trimmed part: the first picture on screen is the one at its start.
  Form->StopButtonClick(nullptr);
  vantrel::media::detail::SetPlayerShowHook(*Form->FFPlayer2, [this](double APTS, Int64) {
    std::lock_guard<std::mutex> G(Lock);
    Shown.push_back(APTS);
  });
  Form->spSkinButton2Click(nullptr);
  ASSERT_TRUE(vantrel::testsupport::PumpUntil([&] { return ShownPictures().size() >= 3; },
                                              std::chrono::milliseconds(10000)));
  // The start is where the player stood at the next position after the release (the
  // release resumes playing): the picture on screen at that time comes first.
  EXPECT_NEAR(ShownPictures().front(), 0.04 * (Form->Trim.TrimStartTime / 40000), 0.001);
  EXPECT_GE(ShownPictures().front(), 2.0);
  Form->StopButtonClick(nullptr);
}
