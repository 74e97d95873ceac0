// The "Trim" dialog: markers, "Set start"/"Set end" rules, typed times, Reset, OK and Stop
// on a file whose duration is known, a file that cannot be opened, and the looping
// playback of the trimmed part on the real clock.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "app/clip.h"
#include "app/clip_Times.h"
#include "platform/rtl/Exceptions.h"
#include "platform/ui/ExtCtrls.h"
#include "skin/controls/SkinBoxCtrls.h"
#include "skin/controls/SkinCtrls.h"
#include "tests/app/EditorHostFake.h"
#include "tests/support/PumpUntil.h"
#include "tests/support/TestPaths.h"
#include "tests/support/UiFormsFixture.h"

using namespace vantrel::app;

namespace {

constexpr Int64 ClipMinute = 60000000;

class ClipForm : public vantrel::test::EditorDialogTest<TClipForm> {
 protected:
  Integer LeftMarker() const { return Form->imgTrimLeft->Left(); }
  Integer RightMarker() const { return Form->imgTrimRight->Left(); }
  void Type(TspSkinTimeEdit* Edit, const char* Text) { Edit->SetText(Text); }
};

}  // namespace

TEST_F(ClipForm, AFileThatCannotOpenLeavesTheMarkersAtRestAndTheRulesFollowAKnownDuration) {
  Host.Trim = {vantrel::test::FixtureDir() + "/no-such-file.mp4", 0, 0};
  Form->Show();
  // The failure is reported; without a duration the markers rest at both ends.
  ASSERT_EQ(Host.Marks(), std::vector<String>{"CLM_FFPlayer2Open"});
  EXPECT_EQ(Host.State.ErrorReports[0].Text.rfind("Error open file: ", 0), 0u);
  const Integer Width = Form->videotrackbar2->Width();
  ASSERT_EQ(Width, 456);
  EXPECT_EQ(LeftMarker(), 10);
  EXPECT_EQ(RightMarker(), Width + 10);

  // A minute long file: what the player's open event tells.
  Integer SW = 0, SH = 0;
  Form->FFPlayer2FileOpen(Form->FFPlayer2, ClipMinute, 640, 480, SW, SH);
  EXPECT_EQ(SW, Form->panPreview->Width());
  EXPECT_EQ(SH, Form->panPreview->Height());
  Form->spSkinButton6Click(nullptr);  // Reset
  EXPECT_EQ(Form->Trim.TrimStartTime, 0);
  EXPECT_EQ(Form->Trim.TrimEndTime, ClipMinute);
  EXPECT_EQ(Form->TimeEnd->Text(), "00:01:00");
  EXPECT_EQ(LeftMarker(), 10);
  EXPECT_EQ(RightMarker(), 466);
  EXPECT_EQ(Form->TrimmedTimeLine->Left(), 10 + 6 + 6);
  EXPECT_EQ(Form->TrimmedTimeLine->Width(), 466 - 10 - 12);

  // Typed start 15 s: 250 x 456 div 1000 + 10.
  Type(Form->TimeStart, "00:00:15");
  Form->spSkinSpeedButton1Click(nullptr);
  EXPECT_EQ(Form->Trim.TrimStartTime, 15000000);
  EXPECT_EQ(LeftMarker(), 124);

  // A typed time that is no time raises and changes nothing.
  Type(Form->TimeStart, "12:61:00");
  EXPECT_THROW(Form->spSkinSpeedButton1Click(nullptr), EConvertError);
  EXPECT_EQ(Form->Trim.TrimStartTime, 15000000);
  EXPECT_EQ(LeftMarker(), 124);

  // Times past a day.
  Type(Form->TimeEnd, "25:00:00");
  Form->spSkinSpeedButton2Click(nullptr);
  EXPECT_EQ(Form->Trim.TrimEndTime, 90000000000);

  // A start typed at the end moves the end there; the markers stand 11 apart, no line.
  Type(Form->TimeEnd, "00:00:40");
  Form->spSkinSpeedButton2Click(nullptr);
  Type(Form->TimeStart, "00:00:40");
  Form->spSkinSpeedButton1Click(nullptr);
  EXPECT_EQ(Form->Trim.TrimStartTime, 40000000);
  EXPECT_EQ(Form->Trim.TrimEndTime, 40000000);
  EXPECT_EQ(RightMarker() - LeftMarker(), 11);
  EXPECT_EQ(Form->TrimmedTimeLine->Width(), 0);

  // "Set start" at a position after the end does the same.
  Form->spSkinButton6Click(nullptr);
  Type(Form->TimeEnd, "00:00:30");
  Form->spSkinSpeedButton2Click(nullptr);
  Form->Trim.TrimCurrentPosition = 45000000;
  Form->videotrackbar2->SetValue(750);
  Form->spSkinButton1Click(nullptr);
  EXPECT_EQ(Form->Trim.TrimStartTime, 45000000);
  EXPECT_EQ(Form->Trim.TrimEndTime, 45000000);
  EXPECT_EQ(RightMarker(), 456 * 750 / 1000 + 10);
  EXPECT_EQ(RightMarker() - LeftMarker(), 11);
  EXPECT_EQ(Form->TrimmedTimeLine->Width(), 0);
  EXPECT_EQ(Form->TimeStart->Text(), "00:00:45");

  // Stop shows the duration on both sides.
  Form->StopButtonClick(nullptr);
  EXPECT_EQ(Form->lblPlayTime->Caption(), "00:01:00 / 00:01:00");

  // OK stores the times and the trimmed length.
  Type(Form->TimeStart, "00:00:10");
  Form->spSkinSpeedButton1Click(nullptr);
  Type(Form->TimeEnd, "00:00:25");
  Form->spSkinSpeedButton2Click(nullptr);
  Form->spSkinButton4Click(nullptr);
  EXPECT_EQ(Host.Stores, 1);
  EXPECT_EQ(Host.Trim.TimeStart, 10000000);
  EXPECT_EQ(Host.Trim.TimeEnd, 25000000);
  EXPECT_EQ(Host.TrimmedLength_, 15000000);
  EXPECT_FALSE(Form->Visible());
}

TEST_F(ClipForm, CancelStoresNothing) {
  Host.Trim = {vantrel::test::FixtureDir() + "/no-such-file.mp4", 1000000, 2000000};
  Form->Show();
  Type(Form->TimeStart, "00:00:00");
  Form->spSkinSpeedButton1Click(nullptr);
  Form->spSkinButton5Click(nullptr);
  EXPECT_EQ(Host.Stores, 0);
  EXPECT_EQ(Host.Trim.TimeStart, 1000000);
  EXPECT_FALSE(Form->Visible());
}

TEST_F(ClipForm, TheTrimmedPartPlaysInALoop) {
  const std::string File = vantrel::test::FixturePath("play-10s.wav");
  Host.Trim = {File, 2000000, 3000000};
  std::vector<Int64> Positions;
  auto Shown = Form->FFPlayer2->OnPosition;
  Form->FFPlayer2->OnPosition = [&](TObject* Sender, Int64 P) {
    Positions.push_back(P);
    Shown(Sender, P);
  };
  Form->Show();
  ASSERT_TRUE(Host.State.ErrorReports.empty()) << Host.State.ErrorReports[0].Text;
  ASSERT_GT(Form->FDuration, 9000000);
  EXPECT_EQ(Form->Trim.TrimStartTime, 2000000);
  EXPECT_EQ(LeftMarker(), TrimMarkerLeft(2000000, Form->FDuration, 456));
  Form->spSkinButton2Click(nullptr);  // "Play trimmed part"
  EXPECT_TRUE(Form->Trim.PlayTrimmedPart);
  // Past the end the player goes back to the start: a later position is below the end
  // again, and none reaches far past the end.
  Positions.clear();
  auto LoopedBack = [&] {
    bool PastEnd = false;
    for (Int64 P : Positions) {
      if (P >= 3000000) PastEnd = true;
      else if (PastEnd && P < 2600000) return true;
    }
    return false;
  };
  ASSERT_TRUE(vantrel::testsupport::PumpUntil(LoopedBack, std::chrono::milliseconds(15000)));
  EXPECT_LT(*std::max_element(Positions.begin(), Positions.end()), 4500000);
  // Pause ends the loop.
  Form->PauseButtonClick(nullptr);
  EXPECT_FALSE(Form->Trim.PlayTrimmedPart);
  Form->StopButtonClick(nullptr);
}
