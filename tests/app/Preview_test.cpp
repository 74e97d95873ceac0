// The main window's preview on the real clock with SDL's dummy drivers: playing the selected
// file to its end, the buttons, bars and time label, and snapshots of the picture on screen.
#include <gtest/gtest.h>

#include <cstdlib>

#include "app/main.h"
#include "media/FFPlay.h"
#include "platform/rtl/FileUtils.h"
#include "platform/rtl/Threads.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/Jpeg.h"
#include "platform/win/Shell.h"
#include "skin/controls/SkinCtrls.h"
#include "tests/app/PreviewFixture.h"
#include "tests/media/PlayerTestKit.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestPaths.h"
#include "tests/support/UiFormsFixture.h"

using namespace vantrel::app;
using vantrel::apptest::StubEntry;
using vantrel::test::FixturePath;
using vantrel::test::TTempDir;

namespace {

class PreviewPlayer : public vantrel::apptest::PreviewWindowTest {
 protected:
  void SetUp() override {
    PreviewWindowTest::SetUp();
    if (HasFatalFailure()) return;
    Files.Entries = {StubEntry{FixturePath("v.mp4"), "holiday"}};
    Files.Row = 1;
  }
  void PlayAndPauseOnAPicture() {
    Main->PlayButtonClick(nullptr);
    // A position comes from the running event loop, which has reported its start by then:
    // a pause before that start would be answered by the loop's own "playing".
    ASSERT_TRUE(PumpUntil([&] {
      return Main->PreviewPlayState == vantrel::media::psPlay && Main->DODodeve->CurrentPTS() >= 0 &&
             Main->DODodeve->CurrentFrame()->Width() > 0;
    }));
    Main->PauseButtonClick(nullptr);
    ASSERT_TRUE(PumpUntil([&] { return Main->PreviewPlayState == vantrel::media::psPause; }));
  }
};

}  // namespace

TEST_F(PreviewPlayer, PlaysTheSelectedFileIntoThePanelToItsEnd) {
  struct Seen {
    Int64 PTS;
    Integer Bar;
    String Label;
    bool Playing;
  };
  std::vector<Seen> Positions;
  auto Original = Main->DODodeve->OnPosition;
  Main->DODodeve->OnPosition = [&](TObject* Sender, Int64 APTS) {
    const String Before = Main->lblPlayTime->Caption();
    const bool Playing = Main->PreviewPlayState == vantrel::media::psPlay;
    Original(Sender, APTS);
    Positions.push_back({APTS, Main->VideoTrackBar->Value(), APTS > 0 ? Main->lblPlayTime->Caption() : Before, Playing});
  };
  const TPoint Play = vantrel::uitest::CentreOf(Main->PlayButton);
  S.Session.Press(Play.X, Play.Y);
  S.Session.Release(Play.X, Play.Y);
  S.Session.PumpUntilIdle();
  EXPECT_EQ(Main->DODodeve->ScreenHandle(), Main->panPreview->Handle());
  EXPECT_TRUE(Main->PauseButton->Visible());
  EXPECT_FALSE(Main->panPlayerArea->Visible());
  EXPECT_EQ(Main->lblPreview->Caption(), "Preview: v.mp4");
  EXPECT_EQ(Main->FDuration / 1000000, 2);

  ASSERT_TRUE(PumpUntil([&] { return !Main->PauseButton->Visible(); }));
  EXPECT_TRUE(Main->panPlayerArea->Visible());
  EXPECT_EQ(Main->VideoTrackBar->Value(), 0);
  EXPECT_EQ(Main->lblPlayTime->Caption(), "00:00:02 / 00:00:02");
  // Positions the player queued before it stopped leave the bar at 0.
  Main->FFPlayerPosition(nullptr, Main->FDuration);
  EXPECT_EQ(Main->VideoTrackBar->Value(), 0);
  ASSERT_FALSE(Positions.empty());
  bool Moved = false;
  for (const Seen& P : Positions) {
    SCOPED_TRACE(P.PTS);
    if (P.PTS < 0 || !P.Playing) continue;
    EXPECT_EQ(P.Bar, P.PTS * 1000 / Main->FDuration);
    const Int64 S2 = P.PTS / 1000000;
    if (P.PTS > 0) {
      EXPECT_EQ(P.Label.substr(0, 8), "00:00:0" + std::to_string(S2));
    }
    Moved = Moved || P.Bar > 0;
  }
  EXPECT_TRUE(Moved);
  EXPECT_TRUE(MainUnit().ErrorReports.empty());
}

// Play and Pause share one place: a press there plays, the next one pauses (Pause covers
// Play while the file plays), the next resumes, and with Play left showing the one after
// that opens the file anew.
TEST_F(PreviewPlayer, OnePlaceOfTheButtonsPlaysPausesResumesAndReopens) {
  const TPoint At = vantrel::uitest::CentreOf(Main->PlayButton);
  ASSERT_EQ(vantrel::uitest::CentreOf(Main->PauseButton), At);
  const auto PressAt = [&] {
    S.Session.Press(At.X, At.Y);
    S.Session.Release(At.X, At.Y);
    S.Session.PumpUntilIdle();
  };
  Integer Opens = 0;
  auto Original = Main->DODodeve->OnFileOpen;
  Main->DODodeve->OnFileOpen = [&](TObject* Sd, Int64 D, Integer W, Integer H, Integer& SW, Integer& SH) {
    ++Opens;
    Original(Sd, D, W, H, SW, SH);
  };
  PressAt();
  ASSERT_TRUE(PumpUntil([&] {
    return Main->PreviewPlayState == vantrel::media::psPlay && Main->DODodeve->CurrentFrame()->Width() > 0;
  }));
  EXPECT_EQ(Opens, 1);
  PressAt();
  ASSERT_TRUE(PumpUntil([&] { return Main->PreviewPlayState == vantrel::media::psPause; }));
  EXPECT_EQ(Opens, 1);
  EXPECT_FALSE(Main->PauseButton->Visible());
  EXPECT_TRUE(Main->PlayButton->Visible());
  PressAt();
  ASSERT_TRUE(PumpUntil([&] { return Main->PreviewPlayState == vantrel::media::psResume; }));
  EXPECT_EQ(Opens, 1);
  EXPECT_FALSE(Main->PauseButton->Visible());
  PressAt();
  ASSERT_TRUE(PumpUntil([&] { return Opens == 2; }));
  EXPECT_TRUE(Main->PauseButton->Visible());
  EXPECT_TRUE(MainUnit().ErrorReports.empty());
}

TEST_F(PreviewPlayer, PlayWithTheHeaderRowOrAnEmptyListDoesNothing) {
  for (bool Empty : {false, true}) {
    SCOPED_TRACE(Empty);
    Files.Row = Empty ? 1 : 0;
    if (Empty) Files.Entries.clear();
    Main->PlayButtonClick(nullptr);
    S.Session.PumpUntilIdle();
    EXPECT_TRUE(Main->DODodeve->FileName().empty());
    EXPECT_TRUE(Main->panPlayerArea->Visible());
    EXPECT_FALSE(Main->PauseButton->Visible());
    EXPECT_EQ(Main->lblPreview->Caption(), "Preview:");
  }
}

TEST_F(PreviewPlayer, AMissingFileIsReportedAsAnOpenFailure) {
  Files.Entries[0].Source = Temp.File("gone.mp4");
  Main->PlayButtonClick(nullptr);
  ASSERT_EQ(MainUnit().ErrorReports.size(), 1u);
  EXPECT_EQ(MainUnit().ErrorReports[0].Mark, "CLM_FFPlayerOpen");
  EXPECT_EQ(MainUnit().ErrorReports[0].Text, Main->DODodeve->LastErrMsg());
  ASSERT_EQ(MainUnit().ActionLog.size(), 1u);
  EXPECT_NE(MainUnit().ActionLog[0].find("-> " + Main->DODodeve->LastErrMsg()), String::npos);
  EXPECT_EQ(Main->lblPreview->Caption(), "Preview:");
  EXPECT_FALSE(Main->PauseButton->Visible());
}

// Without a sound device (an audio driver that cannot reach its server) a clip with
// pictures plays silently, and a sound-only file's open failure says why: SDL's audio
// error, not only that no stream could be played.
TEST_F(PreviewPlayer, WithoutASoundDeviceVideoPlaysSilentlyAndASoundFileTellsWhy) {
  setenv("PULSE_SERVER", "unix:/nonexistent/vantrel-test/native", 1);
  Main->DODodeve->SetAudioDriver(vantrel::media::adDirectSound);
  Main->PlayButtonClick(nullptr);
  EXPECT_TRUE(PumpUntil([&] {
    return Main->PreviewPlayState == vantrel::media::psPlay && Main->DODodeve->CurrentFrame()->Width() > 0;
  }));
  EXPECT_TRUE(MainUnit().ErrorReports.empty());
  Main->StopButtonClick(nullptr);

  Files.Entries = {StubEntry{FixturePath("task-c.wav"), "tone"}};
  Main->PlayButtonClick(nullptr);
  Main->DODodeve->SetAudioDriver(vantrel::media::adDefault);
  unsetenv("PULSE_SERVER");
  ASSERT_EQ(MainUnit().ErrorReports.size(), 1u);
  const String Text = MainUnit().ErrorReports[0].Text;
  EXPECT_EQ(MainUnit().ErrorReports[0].Mark, "CLM_FFPlayerOpen");
  EXPECT_NE(Text.find("task-c.wav: could not open codecs, no stream to play."), String::npos) << Text;
  const size_t Cause = Text.find("SDL_OpenAudio() failed: ");
  ASSERT_NE(Cause, String::npos) << Text;
  EXPECT_GT(Text.size(), Cause + 24) << "the device's own error is missing: " << Text;
}

TEST_F(PreviewPlayer, TheVolumeBarSetsTheVolume) {
  Main->VolumeTrackBar->SetValue(40);
  EXPECT_EQ(Main->DODodeve->AudioVolume(), 40);
  Main->VolumeTrackBar->SetValue(128);
  EXPECT_EQ(Main->DODodeve->AudioVolume(), 128);
}

TEST_F(PreviewPlayer, AThumbDragSeeksOnceAtRelease) {
  PlayAndPauseOnAPicture();
  Integer Releases = 0;
  auto Original = Main->VideoTrackBar->OnLastChange;
  Main->VideoTrackBar->OnLastChange = [&](TObject* Sender) {
    ++Releases;
    Original(Sender);
  };
  Main->VideoTrackBar->SetValue(0);
  const TPoint Thumb = Main->VideoTrackBar->ClientToScreen(Point(4, Main->VideoTrackBar->Height() / 2));
  S.Session.Press(Thumb.X, Thumb.Y);
  S.Session.Move(Thumb.X + 60, Thumb.Y);
  S.Session.Move(Thumb.X + 120, Thumb.Y);
  S.Session.PumpUntilIdle();
  EXPECT_TRUE(Main->PreviewSeekDragging);
  EXPECT_EQ(Releases, 0);
  const Integer Held = Main->VideoTrackBar->Value();
  EXPECT_GT(Held, 0);
  Main->FFPlayerPosition(nullptr, 100000);  // the player's position does not move a held thumb
  EXPECT_EQ(Main->VideoTrackBar->Value(), Held);
  S.Session.Release(Thumb.X + 120, Thumb.Y);
  S.Session.PumpUntilIdle();
  EXPECT_EQ(Releases, 1);
  EXPECT_FALSE(Main->PreviewSeekDragging);
  Main->FFPlayerPosition(nullptr, 1000000);
  EXPECT_EQ(Main->VideoTrackBar->Value(), 1000000 * 1000 / Main->FDuration);
}

// Paused late in the file, the thumb dragged back: the player goes back to the thumb's
// time and stays paused, and the bar and the label follow it there.
TEST_F(PreviewPlayer, AThumbDraggedBackWhilePausedSeeksBack) {
  PlayAndPauseOnAPicture();
  const Int64 Duration = Main->FDuration;
  ASSERT_GT(Duration, 0);
  Main->DODodeve->Seek(Duration * 7 / 10, {}, true);
  ASSERT_TRUE(PumpUntil([&] { return std::abs(Main->VideoTrackBar->Value() - 700) <= 20; }));
  const String LabelAt70 = Main->lblPlayTime->Caption();
  const Integer Width = Main->VideoTrackBar->Width(), Y = Main->VideoTrackBar->Height() / 2;
  const TPoint Thumb = Main->VideoTrackBar->ClientToScreen(Point(Width * 7 / 10, Y));
  const TPoint Drop = Main->VideoTrackBar->ClientToScreen(Point(Width * 3 / 10, Y));
  S.Session.Press(Thumb.X, Thumb.Y);
  S.Session.Move((Thumb.X + Drop.X) / 2, Thumb.Y);
  S.Session.Move(Drop.X, Drop.Y);
  S.Session.Release(Drop.X, Drop.Y);
  S.Session.PumpUntilIdle();
  const Integer Dropped = Main->VideoTrackBar->Value();
  EXPECT_NEAR(Dropped, 300, 40);
  const Int64 Target = Duration * Dropped / 1000;
  // The picture on screen at the target started up to one picture (40 ms) before it.
  EXPECT_TRUE(PumpUntil([&] {
    const Int64 At = Main->DODodeve->CurrentPTS();
    return At <= Target && At > Target - 40000 && !Main->DODodeve->Seeking();
  })) << "the player stands at " << Main->DODodeve->CurrentPTS() << ", the thumb at " << Target;
  PumpUntil([] { return false; }, 0.3);
  EXPECT_TRUE(Main->DODodeve->Paused());
  EXPECT_EQ(Main->PreviewPlayState, vantrel::media::psPause);
  EXPECT_NEAR(Main->VideoTrackBar->Value(), Dropped, 20);
  // 1.4 s and 0.6 s of the 2 s clip: the label's seconds go from 1 back to 0.
  EXPECT_EQ(LabelAt70.substr(0, 8), "00:00:01");
  EXPECT_EQ(Main->lblPlayTime->Caption().substr(0, 8), "00:00:00");
}

TEST_F(PreviewPlayer, PositionZeroMovesTheBarButLeavesTheLabel) {
  Main->FDuration = 10 * 3600 * 1000000LL;
  Main->FFPlayerPosition(nullptr, (3600 + 2 * 60 + 3) * 1000000LL);
  EXPECT_EQ(Main->lblPlayTime->Caption(), "01:02:03 / 10:00:00");
  Main->FFPlayerPosition(nullptr, 0);
  EXPECT_EQ(Main->VideoTrackBar->Value(), 0);
  EXPECT_EQ(Main->lblPlayTime->Caption(), "01:02:03 / 10:00:00");
  Main->FDuration = 0;
  Main->FFPlayerPosition(nullptr, 5000000);
  EXPECT_EQ(Main->VideoTrackBar->Value(), 0);
}

TEST_F(PreviewPlayer, SnapshotsAreNumberedPerFormatAndNeverOverwrite) {
  TTempDir Shots;
  MainUnit().SnapshotFolder = Shots.Path();
  PlayAndPauseOnAPicture();
  Main->spSkinMenuButton1Click(nullptr);
  Main->spSkinMenuButton1Click(nullptr);
  Main->BMP1Click(nullptr);
  Main->spSkinMenuButton1Click(nullptr);
  EXPECT_TRUE(Files.Messages.empty());
  for (const char* Name : {"holiday_1.jpg", "holiday_2.jpg"}) {
    SCOPED_TRACE(Name);
    TJPEGImage Jpeg;
    Jpeg.LoadFromFile(Shots.File(Name));
    EXPECT_EQ(Jpeg.Width(), 320);  // the fixture's picture size
    EXPECT_EQ(Jpeg.Height(), 240);
  }
  TBitmap Bmp;
  Bmp.LoadFromFile(Shots.File("holiday_1.bmp"));
  EXPECT_EQ(Bmp.Width(), 320);
  EXPECT_EQ(Bmp.Height(), 240);
  EXPECT_FALSE(FileExists(Shots.File("holiday_3.jpg")));

  // The next run starts counting at 1 again: the snapshot left by the earlier run stays.
  TTempDir Next;
  MainUnit().SnapshotFolder = Next.Path();
  vantrel::test::WriteFileBytes(Next.File("holiday_1.jpg"), "an earlier run");
  Main->JPEG1Click(nullptr);
  MainUnit().JpegSnapshotCounter = 1;
  Main->spSkinMenuButton1Click(nullptr);
  EXPECT_EQ(vantrel::test::ReadFileBytes(Next.File("holiday_1.jpg")), "an earlier run");
  EXPECT_TRUE(FileExists(Next.File("holiday_2.jpg")));
  EXPECT_EQ(MainUnit().JpegSnapshotCounter, 3);
}

TEST_F(PreviewPlayer, ASnapshotWithoutAPictureWritesNothing) {
  TTempDir Shots;
  MainUnit().SnapshotFolder = Shots.Path();
  Main->spSkinMenuButton1Click(nullptr);
  EXPECT_TRUE(Files.Messages.empty());
  EXPECT_FALSE(FileExists(Shots.File("holiday_1.jpg")));
}

TEST_F(PreviewPlayer, ASnapshotThatCannotBeWrittenOrHasNoEntryShowsTheMessage) {
  TTempDir Shots;
  vantrel::test::WriteFileBytes(Shots.File("plain"), "x");
  PlayAndPauseOnAPicture();
  for (bool NoEntry : {false, true}) {
    SCOPED_TRACE(NoEntry);
    Files.Messages.clear();
    // A folder below a regular file cannot exist (ENOTDIR).
    MainUnit().SnapshotFolder = NoEntry ? Shots.Path() : Shots.File("plain") + "/shots";
    if (NoEntry) Files.Entries.clear();
    Main->spSkinMenuButton1Click(nullptr);
    ASSERT_EQ(Files.Messages.size(), 1u);
    EXPECT_EQ(Files.Messages[0], "Cannot take snapshot.\nMake sure Snapshot Folder is available.");
    EXPECT_EQ(Files.MessageTypes[0], mtError);
    EXPECT_EQ(MainUnit().JpegSnapshotCounter, 1);
  }
}

TEST_F(PreviewPlayer, TheSnapshotFolderOpensAndChanges) {
  auto* Recorder = new vantrel::win::RecordingLauncher;
  S.Session.Manager().Shell().SetLauncher(std::unique_ptr<vantrel::win::Launcher>(Recorder));
  TTempDir Shots;
  MainUnit().SnapshotFolder = Shots.Path();
  Main->Item22Click(nullptr);
  ASSERT_EQ(Recorder->Calls.size(), 1u);
  EXPECT_EQ(Recorder->Calls[0].Argv.back(), Shots.Path());
  String Asked;
  Main->PickSnapshotFolder = [&](const String& Start) {
    Asked = Start;
    return String("/home/u/Pictures");
  };
  Main->Item32Click(nullptr);
  EXPECT_EQ(Asked, Shots.Path());
  EXPECT_EQ(MainUnit().SnapshotFolder, "/home/u/Pictures");
  Main->PickSnapshotFolder = [](const String&) { return String(); };
  Main->Item32Click(nullptr);
  EXPECT_EQ(MainUnit().SnapshotFolder, "/home/u/Pictures");
}

TEST_F(PreviewPlayer, TheBarsTakeNoFocusAndDoNotJumpToAClickBesideTheThumb) {
  struct Case {
    const char* Name;
    TspSkinTrackBar* Bar;
    Integer ClickX;  // beside the thumb
    Integer Value;
  } Cases[] = {
      {"position", Main->VideoTrackBar, Main->VideoTrackBar->Width() - 10, 0},
      {"volume", Main->VolumeTrackBar, 10, 128},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    EXPECT_FALSE(C.Bar->CanFocused());
    const TPoint At = C.Bar->ClientToScreen(Point(C.ClickX, C.Bar->Height() / 2));
    S.Session.Advance(1000);
    S.Session.Press(At.X, At.Y);
    S.Session.PumpUntilIdle();
    S.Session.Release(At.X, At.Y);
    S.Session.PumpUntilIdle();
    EXPECT_EQ(C.Bar->Value(), C.Value);
    EXPECT_FALSE(C.Bar->Focused());
  }
  EXPECT_EQ(Main->DODodeve->AudioVolume(), 128);
}
