// Conversion jobs run in real time with the "Conversion" dialog: outputs checked with
// ffprobe, the gauges, the log, the end message, the shell's requests, a failing task,
// Pause/Resume, Cancel and the shut-down at the end.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "app/MakerService.h"
#include "platform/win/Power.h"
#include "skin/controls/SkinCtrls.h"
#include "tests/app/ConversionFixture.h"
#include "tests/support/PumpUntil.h"

using namespace vantrel::app;

namespace {

double RunDuration(const std::string& File) { return vantrel::apptest::ConversionDuration(File); }
std::string RunStreamTypes(const std::string& File) { return vantrel::apptest::ConversionStreamTypes(File); }

bool LineEndsWith(const String& Line, const String& Text) {
  return Line.size() >= Text.size() && Line.compare(Line.size() - Text.size(), Text.size(), Text) == 0;
}

// Jobs of fixtures into 160 x 120 MP4, with the power control, the window's calls and the
// gauges' highest values recorded.
class ConversionRun : public vantrel::apptest::ConversionJobTest {
 protected:
  vantrel::win::RecordingPowerControl* Power = nullptr;
  std::vector<String> Calls;  // warnings, settings saves, preview stops
  Integer MaxCurrent = 0, MaxTotal = 0;

  void SetUp() override {
    auto P = std::make_unique<vantrel::win::RecordingPowerControl>();
    Power = P.get();
    S.Session.Manager().Shell().SetPower(std::move(P));
    ConversionJobTest::SetUp();
    if (HasFatalFailure()) return;
    auto Shown = Tarnwell->OnProgress;
    Tarnwell->OnProgress = [this, Shown](TObject* Sender, vantrel::media::PProgressInfo Info) {
      Shown(Sender, Info);
      MaxCurrent = std::max(MaxCurrent, Form->ProgressCurrent->Value());
      MaxTotal = std::max(MaxTotal, Form->ProgressTotal->Value());
    };
    TFormat F = vantrel::apptest::ConversionVideoFormat("160", "120");
    F.Title = "MP4";
    F.VideoBitRate = "300000";
    State.Profiles.push_back({"Profile", "id", "icon", {F}});
  }

  void AddEntry(const String& Fixture, const String& Title) {
    TVideoFile E = vantrel::apptest::ConversionEntry(vantrel::test::FixturePath(Fixture), 320, 240);
    E.SourceTitleExt = Fixture;
    E.DestinationTitle = Title;
    E.SourceHasAudio = RunStreamTypes(E.Source).find("audio") != std::string::npos;
    State.VideoFiles.push_back(E);
  }
  bool Logged(const String& Text) const {
    for (const String& L : State.ActionLog)
      if (LineEndsWith(L, Text)) return true;
    return false;
  }

 public:
  void ShowWarning(const String& Text) override { Calls.push_back("warning: " + Text); }
  void StopPreview() override { Calls.push_back("preview stopped"); }
  void SaveSettings() override {
    Calls.push_back("settings saved, power calls " + std::to_string(Power->Calls.size()));
  }
};

}  // namespace

TEST_F(ConversionRun, TwoEntriesGiveTwoFilesWithoutSound) {
  AddEntry("v.mp4", "first");
  AddEntry("v.mp4", "second");
  Run();
  EXPECT_FALSE(Form->Visible());
  EXPECT_FALSE(Form->JobRunning());
  for (const char* Name : {"first.mp4", "second.mp4"}) {
    SCOPED_TRACE(Name);
    EXPECT_EQ(RunStreamTypes(Out.File(Name)), "video");
    EXPECT_NEAR(RunDuration(Out.File(Name)), 2.0, 0.2);
  }
  // The last report of a task comes close to its end; the second task fills the upper half.
  EXPECT_GE(MaxCurrent, 90);
  EXPECT_GT(MaxTotal, 90);
  EXPECT_TRUE(State.ErrorReports.empty());
  ASSERT_EQ(State.ActionLog.size(), 2u);
  EXPECT_TRUE(LineEndsWith(State.ActionLog[0], StartedConversionText));
  EXPECT_TRUE(LineEndsWith(State.ActionLog[1], JobDoneText));
  EXPECT_EQ(S.Boxes, std::vector<std::string>{NoAudioNoticeText});
  EXPECT_EQ(Opened(), (std::vector<std::string>{RecommendationPage, Out.Path()}));
  EXPECT_TRUE(State.OutputOptionsList.empty());
  EXPECT_TRUE(State.InputOptionsList.empty());
  EXPECT_EQ(Calls, std::vector<String>{"preview stopped"});
  EXPECT_TRUE(Power->Calls.empty());
}

TEST_F(ConversionRun, MergeGivesOneJoinedFileWithBothLengthsAndSound) {
  AddEntry("v.mp4", "first");
  AddEntry("v.mp4", "second");
  Merge = true;
  Run();
  EXPECT_EQ(RunStreamTypes(Out.File("Joined.mp4")), "video,audio");
  EXPECT_NEAR(RunDuration(Out.File("Joined.mp4")), 4.0, 0.3);
  EXPECT_FALSE(std::ifstream(Out.File("first.mp4")).good());
  EXPECT_TRUE(Logged(JobDoneText));
}

TEST_F(ConversionRun, AFailingTaskIsReportedAndTheOthersGoOn) {
  AddEntry("v.mp4", "broken");
  // The file holds a smaller picture than the one it was added with (it was replaced
  // since): the crop, inside the picture the list knows, is wider than the file's own
  // and fails once the task runs.
  State.VideoFiles[0].SourceWidth = 1000;
  State.VideoFiles[0].CropLeft = State.VideoFiles[0].CropRight = 10;
  AddEntry("v.mp4", "good");
  bool ShownAtFailure = false;
  Run([&] {
    if (State.ErrorReports.size() == 1 && !ShownAtFailure) ShownAtFailure = Form->Visible() && Form->JobRunning();
  });
  ASSERT_EQ(State.ErrorReports.size(), 1u);
  EXPECT_EQ(State.ErrorReports[0].Mark, CLM_Terminate);
  EXPECT_EQ(State.ErrorReports[0].Text.rfind("Conversion terminated with error: ", 0), 0u);
  EXPECT_TRUE(ShownAtFailure);
  EXPECT_EQ(RunStreamTypes(Out.File("good.mp4")), "video");
  EXPECT_TRUE(Logged("Conversion finished with errors: 1 of 2 files failed."));
  EXPECT_FALSE(Logged(JobDoneText));
  EXPECT_TRUE(S.Boxes.empty());
  EXPECT_EQ(Opened(), std::vector<std::string>{Out.Path()});
  // The encoder is free for the next job.
  EXPECT_NO_THROW(Tarnwell->ClearTasks());
}

TEST_F(ConversionRun, PauseTwiceThenTheJobEnds) {
  AddEntry("long.mp4", "long");
  State.VideoFiles[0].TimeEnd = State.VideoFiles[0].TrimmedLength = 20000000;
  int Step = 0;
  bool PausedSeen = false, ResumedSeen = false, EndedWhilePaused = false;
  uint64_t PausedAt = 0;
  Run([&] {
    if (!Form->Visible()) return;
    if (Step == 0) {
      Form->PauseButtonClick(Form->PauseButton);
      PausedSeen = Tarnwell->Paused() && Form->PauseButton->Caption() == "Resume";
      PausedAt = vantrel::win::RealMilliseconds();
      Step = 1;
    } else if (Step == 1 && vantrel::win::RealMilliseconds() - PausedAt > 300) {
      EndedWhilePaused = !Form->JobRunning();
      Form->PauseButtonClick(Form->PauseButton);
      ResumedSeen = !Tarnwell->Paused() && Form->PauseButton->Caption() == "Pause";
      Step = 2;
    }
  });
  EXPECT_TRUE(PausedSeen);
  EXPECT_FALSE(EndedWhilePaused);
  EXPECT_TRUE(ResumedSeen);
  EXPECT_TRUE(Logged(JobDoneText));
  EXPECT_NEAR(RunDuration(Out.File("long.mp4")), 20.0, 0.5);
}

TEST_F(ConversionRun, CancelEndsTheJobWithItsLineAndNothingMore) {
  AddEntry("long.mp4", "long");
  State.VideoFiles[0].TimeEnd = State.VideoFiles[0].TrimmedLength = 20000000;
  Form->cbShutdownPC->SetChecked(true);
  Run([&] {
    if (Form->Visible() && Form->JobRunning()) Form->CancelButtonClick(Form->CancelButton);
  });
  // The job's final notification comes after the dialog closed.
  vantrel::testsupport::PumpFor(300);
  ASSERT_FALSE(State.ActionLog.empty());
  EXPECT_TRUE(LineEndsWith(State.ActionLog.back(), "Conversion cancelled by user."));
  EXPECT_FALSE(Logged(JobDoneText));
  EXPECT_TRUE(S.Boxes.empty());
  EXPECT_TRUE(Launcher->Calls.empty());
  EXPECT_TRUE(Power->Calls.empty());
  EXPECT_EQ(Calls, std::vector<String>{"preview stopped"});
}

TEST_F(ConversionRun, ShutDownAtTheEndSavesSettingsFirstAndReportsARefusal) {
  AddEntry("v.mp4", "first");
  Form->cbShutdownPC->SetChecked(true);
  Run();
  EXPECT_EQ(Calls, (std::vector<String>{"preview stopped", "settings saved, power calls 0"}));
  EXPECT_EQ(Power->Calls, std::vector<vantrel::win::PowerAction>{vantrel::win::PowerAction::PowerOff});
  EXPECT_TRUE(S.Boxes.empty());
  EXPECT_TRUE(Launcher->Calls.empty());
  EXPECT_FALSE(Logged(JobDoneText));
  EXPECT_TRUE(State.ErrorReports.empty());

  Power->Fail = true;
  Run();
  ASSERT_EQ(State.ErrorReports.size(), 1u);
  EXPECT_EQ(State.ErrorReports[0].Text, "Error trying shut down the Windows");
  EXPECT_EQ(State.ErrorReports[0].Mark, CLM_Shut);
}

TEST_F(ConversionRun, AMissingOutputFolderFallsBackToTheTemporaryOne) {
  vantrel::test::TTempDir Home;
  struct RestoreHome {
    std::string Saved = getenv("HOME") ? getenv("HOME") : "";
    ~RestoreHome() { setenv("HOME", Saved.c_str(), 1); }
  } Restore;
  setenv("HOME", Home.Path().c_str(), 1);
  AddEntry("v.mp4", "first");
  const String Fallback = Home.File("Quillmoor_temp");
  class Seam : public TJobWindowSeam {
   public:
    explicit Seam(ConversionRun& R) : FR(R) {}
    String DestinationFolder() override { return "/nonexistent/vantrel-out"; }
    bool MergeChecked() override { return false; }
    Integer CurrentRow() override { return 1; }
    void ShowWarning(const String& Text) override { Warnings.push_back(Text); }
    void StopPreview() override {}
    vantrel::media::TCustomEncoder& Encoder() override { return FR.Encoder(); }
    void ShowProgress() override { FR.ShowProgress(); }
    std::vector<String> Warnings;

   private:
    ConversionRun& FR;
  } Window(*this);
  {
    vantrel::testsupport::RealTimeModal Wait;
    StartConversion(State, Window);
  }
  EXPECT_EQ(Window.Warnings,
            std::vector<String>{"Output folder does not exit. Converting to \"" + Fallback + "\"."});
  EXPECT_EQ(RunStreamTypes(Fallback + "/first.mp4"), "video");

  // No folder can be made there: nothing starts.
  Window.Warnings.clear();
  setenv("HOME", "/proc/vantrel-no-home", 1);
  State.ActionLog.clear();
  StartConversion(State, Window);
  ASSERT_EQ(Window.Warnings.size(), 2u);
  EXPECT_EQ(Window.Warnings[1], NoTemporaryFolderText);
  EXPECT_TRUE(State.ActionLog.empty());
}

TEST(ConversionProgress, GaugesAndTitleFollowTheRecords) {
  vantrel::uitest::FormsSession S;
  TConvForm* Form = nullptr;
  Application->CreateForm(Form);
  TMainUnitState State;
  TFormat F;
  F.FormatExt = ".avi";
  State.Profiles.push_back({"Profile", "id", "icon", {F}});
  for (const char* Name : {"a.mp4", "b.mkv"}) {
    TVideoFile E;
    E.SourceTitleExt = Name;
    E.DestinationTitle = String(Name).substr(0, 1);
    State.VideoFiles.push_back(E);
  }
  struct Case {
    Integer Task, Tasks;
    Int64 Current, Total;
    Integer WantCurrent, WantTotal;
    const char* WantTitle;
  };
  const Case Cases[] = {
      {1, 2, 500, 1000, 50, 75, "Converting \"b.mkv\" to \"b.avi\""},
      {0, 2, 0, 1000, 0, 0, "Converting \"a.mp4\" to \"a.avi\""},
      {0, 1, 1000, 1000, 100, 100, "Converting \"a.mp4\" to \"a.avi\""},
      {0, 3, 1, 3, 33, 11, "Converting \"a.mp4\" to \"a.avi\""},
      // Unknown or empty totals leave the gauges as they were.
      {1, 2, 500, 0, 33, 11, "Converting \"b.mkv\" to \"b.avi\""},
      {1, 2, 500, -1, 33, 11, "Converting \"b.mkv\" to \"b.avi\""},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.WantTitle);
    vantrel::media::TProgressInfo Info;
    Info.TaskIndex = C.Task;
    Info.CurrentDuration = C.Current;
    Info.TotalDuration = C.Total;
    ShowJobProgress(State, *Form, C.Tasks, Info);
    EXPECT_EQ(Form->ProgressCurrent->Value(), C.WantCurrent);
    EXPECT_EQ(Form->ProgressTotal->Value(), C.WantTotal);
    EXPECT_EQ(Form->lblConvertingTitle->Caption(), C.WantTitle);
  }
}

TEST(ConversionDialog, ControlsShowAndTheSystemCloseWaitsForTheJob) {
  vantrel::uitest::FormsSession S;
  TForm* Main = nullptr;
  Application->CreateForm(Main);
  TConvForm* Form = nullptr;
  Application->CreateForm(Form);
  EXPECT_EQ(Form->Caption(), "Conversion");
  EXPECT_EQ(Form->ClientWidth(), 389);
  EXPECT_EQ(Form->lblConvertingTitle->Caption(), "Converting ...");
  EXPECT_TRUE(Form->cbOpenOutput->Checked());
  EXPECT_FALSE(Form->cbShutdownPC->Checked());
  EXPECT_EQ(Form->cbOpenOutput->Caption(), "Open output folder when conversion completed");
  EXPECT_EQ(Form->cbShutdownPC->Caption(), "Shut down computer when conversion completed");
  EXPECT_EQ(Form->PauseButton->Caption(), "Pause");
  EXPECT_EQ(Form->CancelButton->Caption(), "Cancel");
  EXPECT_EQ(Form->PauseButton->BoundsRect(), Rect(219, 142, 294, 167));
  EXPECT_EQ(Form->ProgressTotal->BoundsRect(), Rect(9, 59, 378, 79));
  Form->Show();
  EXPECT_EQ(Form->Height(), 213);
  Form->JobStarted();
  SendMessage(Form->Handle(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(Form->Visible());
  Form->CloseJob();
  EXPECT_FALSE(Form->Visible());
}

TEST(ConversionDialog, VersionTextOfTheSystem) {
  // The platform reports NT 6.1, build 7601, without a service pack.
  EXPECT_EQ(GetOSVersionText(), "Windows NT Version 6.1\r\n (Build 7601: )");
}

// A file of the output's name appears after the job picked its names (another program
// writes it while the sources are read): the earlier file stays, the output takes the
// next free name, and the job's record and log say the name really written.
TEST_F(ConversionRun, AnOutputNameTakenAfterTheJobStartedIsTheNumberedNameInTheRecordAndTheLog) {
  AddEntry("v.mp4", "first");
  AddEntry("v.mp4", "second");
  const std::string Taken = Out.File("first.mp4");
  Tarnwell->OnBeforeFindStreamInfo = [&](TObject*, void*) {
    if (!std::ifstream(Taken).good()) std::ofstream(Taken) << "another program's";
  };
  std::vector<String> Recorded;  // the records' names after each task's end was handled
  auto Ended = Tarnwell->OnTerminate;
  Tarnwell->OnTerminate = [&, Ended](TObject* Sender, const vantrel::media::TTerminateInfo& Info) {
    Ended(Sender, Info);
    if (Info.TaskIndex >= 0) Recorded.push_back(State.OutputOptionsList.at(Info.TaskIndex).FileName);
  };
  Run();
  ASSERT_TRUE(State.ErrorReports.empty()) << State.ErrorReports[0].Text;
  std::string Kept;
  std::getline(std::ifstream(Taken), Kept);
  EXPECT_EQ(Kept, "another program's");
  EXPECT_EQ(RunStreamTypes(Out.File("first (2).mp4")), "video");
  EXPECT_EQ(Recorded, (std::vector<String>{Out.File("first (2).mp4"), Out.File("second.mp4")}));
  bool Named = false;
  for (const String& L : State.ActionLog) Named = Named || L.find(Out.File("first (2).mp4")) != String::npos;
  EXPECT_TRUE(Named) << "no log line names the file written";
  EXPECT_TRUE(Logged(JobDoneText));
}
