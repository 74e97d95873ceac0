// The converter driven as a user drives it: the program's windows made as the program
// entry makes them, with the built default skin and catalogue, files dropped on the list,
// formats chosen in the chooser, the Trim and Edit dialogs, the preview and a snapshot,
// then the conversion; the files written are checked with ffprobe and ffmpeg. Headless,
// with the real clock for the work of other threads and SDL's dummy drivers.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "app/MakerService.h"
#include "app/clip.h"
#include "app/conversion.h"
#include "app/crop.h"
#include "app/log.h"
#include "app/main_Job.h"
#include "app/profilechoosing.h"
#include "platform/rtl/Registry.h"
#include "platform/display/HeadlessPng.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/win/Keyboard.h"
#include "platform/win/Power.h"
#include "skin/controls/SkinBoxCtrls.h"
#include "skin/controls/SkinCtrls.h"
#include "skin/controls/SkinExCtrls.h"
#include "skin/controls/SkinGrids.h"
#include "tests/app/MainWindowFixture.h"
#include "tests/media/PlayerTestKit.h"
#include "tests/support/PumpUntil.h"
#include "tests/support/RealTimeModal.h"
#include "tests/support/TestPaths.h"

using namespace vantrel::app;

namespace {

// What ffprobe prints for the entries asked, lines joined by ",".
std::string E2eProbe(const std::string& File, const std::string& Args) {
  const std::string Cmd = "ffprobe -v error " + Args + " -of csv=p=0 '" + File + "' 2>/dev/null";
  std::string Out;
  if (std::FILE* P = ::popen(Cmd.c_str(), "r")) {
    char Buf[256];
    while (std::fgets(Buf, sizeof Buf, P)) Out += Buf;
    ::pclose(P);
  }
  while (!Out.empty() && (Out.back() == '\n' || Out.back() == '\r' || Out.back() == ',')) Out.pop_back();
  for (char& C : Out)
    if (C == '\n') C = ',';
  return Out;
}

double E2eDuration(const std::string& File) {
  return std::strtod(E2eProbe(File, "-show_entries format=duration").c_str(), nullptr);
}

// The mean luma (0 to 255) of the rectangle W x H at X, Y over every picture of the file,
// as ffmpeg decodes it.
double E2eMeanLuma(const std::string& File, int X, int Y, int W, int H) {
  const std::string Cmd = "ffmpeg -nostdin -v error -i '" + File + "' -vf crop=" + std::to_string(W) + ":" +
                          std::to_string(H) + ":" + std::to_string(X) + ":" + std::to_string(Y) +
                          ",format=gray -f rawvideo -";
  double Sum = 0;
  size_t N = 0;
  if (std::FILE* P = ::popen(Cmd.c_str(), "r")) {
    unsigned char Buf[65536];
    size_t Got = 0;
    while ((Got = std::fread(Buf, 1, sizeof Buf, P)) > 0)
      for (size_t I = 0; I < Got; ++I) Sum += Buf[I], ++N;
    ::pclose(P);
  }
  return N ? Sum / N : -1;
}

class EndToEnd : public vantrel::apptest::MainWindowTest {
 protected:
  void SetUp() override {
    vantrel::test::UseHeadlessSDL();
    auto P = std::make_unique<vantrel::win::RecordingPowerControl>();
    Power = P.get();
    S.Session.Manager().Shell().SetPower(std::move(P));
  }
  void TearDown() override {
    if (Main && Main->DODodeve) Main->DODodeve->Stop(true);
  }

  TMainForm& StartShown() {
    TMainForm& M = Start();
    M.Show();
    S.Session.PumpUntilIdle();
    return M;
  }
  void Click(TPoint P) {
    S.Session.Move(P.X, P.Y);
    S.Session.Press(P.X, P.Y);
    S.Session.Release(P.X, P.Y);
    S.Session.PumpUntilIdle();
    S.Session.Advance(600);  // the next click is no double click
  }
  void Click(TControl* C) { Click(vantrel::uitest::CentreOf(C)); }
  void ClickRow(Integer Row) {
    const TRect Cell = Main->sgList->CellRect(1, Row);
    Click(Main->sgList->ClientToScreen(Point((Cell.Left + Cell.Right) / 2, (Cell.Top + Cell.Bottom) / 2)));
  }
  // Index of the profile called Title and of its format called Format.
  std::pair<Integer, Integer> FindFormat(const String& Title, const String& Format) const {
    const auto& Profiles = MainUnit().Profiles;
    for (size_t P = 0; P < Profiles.size(); ++P) {
      if (Profiles[P].Title != Title) continue;
      for (size_t F = 0; F < Profiles[P].Formats.size(); ++F)
        if (Profiles[P].Formats[F].Title == Format) return {Integer(P), Integer(F)};
    }
    ADD_FAILURE() << "no format " << Format << " under " << Title;
    return {-1, -1};
  }
  template <class T>
  T* Dialog() const {
    for (Integer I = 0; I < Screen->FormCount(); ++I)
      if (T* F = dynamic_cast<T*>(Screen->Forms(I))) return F;
    return nullptr;
  }
  // Opens the chooser from the profile field, rests on the profile and clicks the format.
  void ChooseFormat(const String& Profile, const String& Format) {
    const auto [P, F] = FindFormat(Profile, Format);
    ASSERT_GE(P, 0);
    Click(Main->imgProfileField);
    auto* Chooser = Dialog<Tproform>();
    ASSERT_NE(Chooser, nullptr);
    ASSERT_TRUE(Chooser->Visible()) << "the profile field opens no chooser";
    const TPoint ProfileAt = Chooser->sgProfiles->ClientToScreen(
        Point(60, (P - Chooser->sgProfiles->TopRow()) * Chooser->sgProfiles->DefaultRowHeight() + 12));
    S.Session.Move(ProfileAt.X, ProfileAt.Y);
    S.Session.PumpUntilIdle();
    S.Session.Advance(ChooserDelay);
    S.Session.PumpUntilIdle();
    ASSERT_EQ(Chooser->ConfirmedProfile, P);
    const TPoint FormatAt = Chooser->sgFormats->ClientToScreen(
        Point(100, (F - Chooser->sgFormats->TopRow()) * Chooser->sgFormats->DefaultRowHeight() + 25));
    S.Session.Move(FormatAt.X, FormatAt.Y);
    S.Session.PumpUntilIdle();
    ASSERT_EQ(Chooser->HoveredFormat, F);
    Click(FormatAt);
    EXPECT_FALSE(Chooser->Visible());
  }
  // Runs Open (which shows a modal dialog) and, inside its loop, the moves one after the
  // other; each move returns true once done. The loop ends when the dialog closes.
  void InModal(const std::function<void()>& Open, std::vector<std::function<bool()>> Moves, int Seconds = 60) {
    vantrel::testsupport::RealTimeModal Wait(std::chrono::milliseconds(Seconds * 1000));
    size_t Next = 0;
    bool Busy = false;
    Wait.OnStep = [&] {
      if (Busy || Next >= Moves.size()) return;
      Busy = true;  // a move that pumps must not start the next one
      if (Moves[Next]()) ++Next;
      Busy = false;
    };
    Wait.OnDeadline = [] {
      if (Screen->ActiveForm()) Screen->ActiveForm()->SetModalResult(mrCancel);
    };
    Open();
    EXPECT_EQ(Next, Moves.size()) << "the dialog closed after " << Next << " of " << Moves.size() << " moves";
  }
  // Clicks the field, then queues the keys the user presses there and the text typed
  // after them; the dialog's own loop takes them.
  void ClickAndType(TControl* Field, const std::vector<std::pair<WORD, UINT>>& Keys, const std::string& Text) {
    Click(Field);
    for (const auto& [Vk, Modifiers] : Keys) S.Session.Key(Vk, Modifiers);
    S.Session.Type(Text);
  }
  // Opens the combo box's list with a click and clicks the row with the text Item.
  void ChooseInCombo(TspSkinCustomComboBox* Combo, const String& Item) {
    Click(Combo);
    ASSERT_TRUE(Combo->IsPopupVisible()) << "a click on the combo box opens no list";
    const Integer Row = Combo->Items()->IndexOf(Item);
    ASSERT_GE(Row, 0);
    TspListBox* List = Combo->PopupList()->ListBox;
    const TRect R = List->ItemRect(Row);
    const TPoint At = List->ClientToScreen(Point(R.Left + 10, (R.Top + R.Bottom) / 2));
    S.Session.Move(At.X, At.Y);
    S.Session.PumpUntilIdle();
    Click(At);
    EXPECT_FALSE(Combo->IsPopupVisible());
  }
  Integer LogCount(const String& Text) const {
    Integer N = 0;
    for (Integer I = 0; I < LogForm->mmoLog->Lines()->Count(); ++I) N += LogForm->mmoLog->Lines()->Get(I).find(Text) != String::npos;
    return N;
  }
  String Output() const { return Documents() + "/Quillmoor/Vantrel/Output"; }

  // Steps shared by the scenarios.
  void DropBoth() {
    const TPoint At = Main->sgList->ClientToScreen(Point(100, 60));
    S.Session.Drop({A, B}, At.X, At.Y);
    S.Session.PumpUntilIdle();
    ASSERT_EQ(MainUnit().VideoFiles.size(), 2u);
    EXPECT_EQ(Main->sgList->RowCount(), 3);
    EXPECT_EQ(LogCount("File added: " + A), 1);
    EXPECT_EQ(LogCount("File added: " + B), 1);
  }
  // Presses the convert button and waits for the job's end; the gauges' values are kept.
  void Convert() {
    {
      vantrel::testsupport::RealTimeModal Wait(std::chrono::milliseconds(240000));
      Wait.OnStep = [&] {
        Current.push_back(ConvForm->ProgressCurrent->Value());
        Total.push_back(ConvForm->ProgressTotal->Value());
      };
      Wait.OnDeadline = [] { ConvForm->CloseJob(); };
      Click(Main->StartButton);
    }
    EXPECT_FALSE(ConvForm->Visible());
    EXPECT_FALSE(ConvForm->JobRunning());
  }
  static bool StrictlyBetween(const std::vector<Integer>& Values) {
    for (Integer V : Values)
      if (V > 0 && V < 100) return true;
    return false;
  }

  const std::string A = vantrel::test::FixturePath("e2e-a.mp4");
  const std::string B = vantrel::test::FixturePath("e2e-b.avi");
  vantrel::win::RecordingPowerControl* Power = nullptr;
  std::vector<Integer> Current, Total;
};

TEST_F(EndToEnd, TwoFilesWithTheirOwnFormatsTrimCropAndBrightnessConvert) {
  TMainForm& M = StartShown();
  ASSERT_TRUE(M.Tarnwell->AVLibLoaded());
  {
    SCOPED_TRACE("step 1: drop two files on the list");
    ASSERT_NO_FATAL_FAILURE(DropBoth());
  }
  const auto Mkv = FindFormat("Common Video", "MKV H.264/AAC");
  const auto Webm = FindFormat("Web", "WebM VP9/Opus");
  {
    SCOPED_TRACE("step 2: a format for each row");
    ASSERT_TRUE(M.chApplyToAll->Checked());
    Click(M.chApplyToAll);
    ASSERT_FALSE(M.chApplyToAll->Checked());
    ClickRow(1);
    ASSERT_EQ(M.sgList->Row(), 1);
    ASSERT_NO_FATAL_FAILURE(ChooseFormat("Common Video", "MKV H.264/AAC"));
    ClickRow(2);
    ASSERT_EQ(M.sgList->Row(), 2);
    ASSERT_NO_FATAL_FAILURE(ChooseFormat("Web", "WebM VP9/Opus"));
    const TVideoFile &First = MainUnit().VideoFiles[0], &Second = MainUnit().VideoFiles[1];
    EXPECT_EQ(std::make_pair(First.ProfileInd, First.FormatInd), Mkv);
    EXPECT_EQ(std::make_pair(Second.ProfileInd, Second.FormatInd), Webm);
  }
  {
    SCOPED_TRACE("step 3: trim row 1 to 1 s .. 3 s");
    ClickRow(1);
    auto* Trim = Dialog<TClipForm>();
    ASSERT_NE(Trim, nullptr);
    // In a time field Home and typing over it give the whole time, separators included.
    const std::vector<std::pair<WORD, UINT>> ToStart = {{VK_HOME, 0}};
    InModal([&] { Click(M.ClipButton); },
            {[&] { return Trim->Visible() && Trim->FDuration > 0; },
             [&] {
               ClickAndType(Trim->TimeStart, ToStart, "00:00:01");
               EXPECT_TRUE(Trim->TimeStart->Focused()) << "a click on the start time gives it no focus";
               return true;
             },
             [&] {
               if (Trim->TimeStart->Text() != "00:00:01") return false;
               Click(Trim->spSkinSpeedButton1);
               return true;
             },
             [&] {
               ClickAndType(Trim->TimeEnd, ToStart, "00:00:03");
               EXPECT_TRUE(Trim->TimeEnd->Focused()) << "a click on the end time gives it no focus";
               return true;
             },
             [&] {
               if (Trim->TimeEnd->Text() != "00:00:03") return false;
               vantrel::display::SavePng(S.Session.Capture(Trim->Handle()), testing::TempDir() + "e2e-trim-dialog.png");
               Click(Trim->spSkinSpeedButton2);
               return true;
             },
             [&] {
               Click(Trim->spSkinButton4);
               return true;
             }});
    EXPECT_FALSE(Trim->Visible());
    EXPECT_EQ(MainUnit().VideoFiles[0].TimeStart, 1000000);
    EXPECT_EQ(MainUnit().VideoFiles[0].TimeEnd, 3000000);
  }
  {
    SCOPED_TRACE("step 4: crop, brightness and aspect of row 2");
    ClickRow(2);
    auto* Edit = Dialog<TCropForm>();
    ASSERT_NE(Edit, nullptr);
    // A number field's text is selected with Home and Shift+End and cleared before typing.
    const std::vector<std::pair<WORD, UINT>> SelectAllAndClear = {{VK_HOME, 0}, {VK_END, MOD_SHIFT}, {VK_DELETE, 0}};
    InModal([&] { Click(M.EditButton); },
            {[&] { return Edit->Visible() && !Edit->Crop.CropFirstOpen; },
             [&] {
               ClickAndType(Edit->edLeft, SelectAllAndClear, "16");
               EXPECT_TRUE(Edit->edLeft->FEdit->Focused()) << "a click on the left field gives it no focus";
               return true;
             },
             [&] { return Edit->edLeft->Value() == 16; },
             [&] {
               ClickAndType(Edit->edWidth, SelectAllAndClear, "288");
               EXPECT_TRUE(Edit->edWidth->FEdit->Focused()) << "a click on the width field gives it no focus";
               return true;
             },
             [&] {
               if (Edit->edWidth->Value() != 288) return false;
               EXPECT_EQ(Edit->edLeft->Value(), 16);
               // How the user sees it: the width field focused, its caret after the number.
               vantrel::display::SavePng(S.Session.Capture(Edit->Handle()), testing::TempDir() + "e2e-edit-dialog.png");
               return true;
             },
             [&] {
               Click(Edit->chBrightness);
               EXPECT_TRUE(Edit->chBrightness->Checked());
               // Drags the bar's thumb (in the middle at 0) to the right until it shows 20.
               TspSkinTrackBar* Bar = Edit->tbBrightness;
               const TPoint Thumb = vantrel::uitest::CentreOf(Bar);
               S.Session.Move(Thumb.X, Thumb.Y);
               S.Session.Press(Thumb.X, Thumb.Y);
               S.Session.PumpUntilIdle();
               int Dx = 0;
               while (Dx < Bar->Width() / 2 && Bar->Value() < 20) {
                 S.Session.Move(Thumb.X + ++Dx, Thumb.Y);
                 S.Session.PumpUntilIdle();
               }
               S.Session.Release(Thumb.X + Dx, Thumb.Y);
               S.Session.PumpUntilIdle();
               EXPECT_EQ(Bar->Value(), 20);
               return true;
             },
             [&] {
               ChooseInCombo(Edit->cmbAspectRatio, "4:3");
               EXPECT_EQ(Edit->cmbAspectRatio->Text(), "4:3");
               return true;
             },
             [&] {
               Click(Edit->spSkinButton4);
               return true;
             }});
    const TVideoFile& E = MainUnit().VideoFiles[1];
    EXPECT_EQ(E.CropLeft, 16);
    EXPECT_EQ(E.CropRight, 320 - 16 - 288);
    EXPECT_EQ(E.CropTop, 0);
    EXPECT_EQ(E.CropBottom, 0);
    EXPECT_EQ(E.Brightness, 20);
    EXPECT_EQ(E.AspectRatio, 2);
  }
  {
    SCOPED_TRACE("step 5: play row 1 and take a snapshot");
    ClickRow(1);
    Click(M.PlayButton);
    ASSERT_TRUE(vantrel::testsupport::PumpUntil(
        [&] {
          return M.PreviewPlayState == vantrel::media::psPlay && M.DODodeve->CurrentPTS() >= 0 &&
                 M.DODodeve->CurrentFrame()->Width() > 0;
        },
        std::chrono::milliseconds(20000)));
    // The button's face takes the snapshot (its arrow at the right opens the menu).
    Click(M.spSkinMenuButton1->ClientToScreen(Point(M.spSkinMenuButton1->Width() / 3, M.spSkinMenuButton1->Height() / 2)));
    Click(M.StopButton);
    std::vector<std::string> Shots;
    for (const auto& F : std::filesystem::directory_iterator(MainUnit().SnapshotFolder))
      Shots.push_back(F.path().filename().string());
    ASSERT_EQ(Shots.size(), 1u);
    EXPECT_EQ(Shots[0].rfind("e2e-a", 0), 0u) << Shots[0];
    EXPECT_EQ(E2eProbe(MainUnit().SnapshotFolder + "/" + Shots[0], "-show_entries stream=codec_name"), "mjpeg");
  }
  {
    SCOPED_TRACE("step 6: convert");
    ASSERT_NO_FATAL_FAILURE(Convert());
    EXPECT_TRUE(StrictlyBetween(Current));
    EXPECT_TRUE(StrictlyBetween(Total));
  }
  {
    SCOPED_TRACE("the files written");
    const std::string First = Output() + "/e2e-a.mkv", Second = Output() + "/e2e-b.webm";
    EXPECT_EQ(E2eProbe(First, "-show_entries stream=codec_type,codec_name,width,height"), "h264,video,1280,720");
    EXPECT_NEAR(E2eDuration(First), 2.0, 0.1);
    EXPECT_EQ(E2eProbe(Second, "-show_entries stream=codec_type,codec_name,width,height"), "vp9,video,1280,720");
    EXPECT_NEAR(E2eDuration(Second), 4.0, 0.1);
    // The 288 x 240 picture shown 4:3 is 960 x 720 in the middle of 1280 x 720: bars of 160
    // on both sides.
    const double Left = E2eMeanLuma(Second, 0, 0, 150, 720), Right = E2eMeanLuma(Second, 1130, 0, 150, 720);
    const double Picture = E2eMeanLuma(Second, 180, 20, 920, 680);
    EXPECT_LT(Left, 20);
    EXPECT_LT(Right, 20);
    EXPECT_GT(Picture, 40);
    // The same picture without brightness: the source's cropped area.
    const double Plain = E2eMeanLuma(B, 16 + 6, 7, 276, 226);
    EXPECT_GT(Picture, Plain + 5);
  }
  {
    SCOPED_TRACE("the action log, the pages opened and the settings");
    std::vector<String> Wanted = {"File added: " + A, "File added: " + B, StartedConversionText, JobDoneText};
    size_t Next = 0;
    for (Integer I = 0; I < LogForm->mmoLog->Lines()->Count(); ++I)
      if (const String L = LogForm->mmoLog->Lines()->Get(I); true)
      if (Next < Wanted.size() && L.find(Wanted[Next]) != String::npos) ++Next;
    EXPECT_EQ(Next, Wanted.size()) << "the log lacks, in order: " << (Next < Wanted.size() ? Wanted[Next] : "");
    const std::vector<std::string> Pages = Opened();
    EXPECT_NE(std::find(Pages.begin(), Pages.end(), std::string(RecommendationPage)), Pages.end());
    EXPECT_NE(std::find(Pages.begin(), Pages.end(), Output()), Pages.end());
    M.Close();
    S.Session.PumpUntilIdle();
    TRegistry Reg;
    ASSERT_TRUE(Reg.OpenKeyReadOnly(SettingsKeyPath));
    EXPECT_EQ(Reg.ReadInteger("recentprofileind"), Webm.first);
    EXPECT_EQ(Reg.ReadInteger("recentformatind"), Webm.second);
  }
}

// The join scenario runs in a process of its own.
class EndToEndJoin : public EndToEnd {};

TEST_F(EndToEndJoin, MergingJoinsBothFilesWithSoundIntoTheCurrentRowsFormat) {
  TMainForm& M = StartShown();
  {
    SCOPED_TRACE("step 1: drop two files on the list");
    ASSERT_NO_FATAL_FAILURE(DropBoth());
  }
  {
    SCOPED_TRACE("step 2: merge and convert");
    ClickRow(1);
    Click(M.chMerge);
    ASSERT_TRUE(M.chMerge->Checked());
    ASSERT_NO_FATAL_FAILURE(Convert());
  }
  {
    SCOPED_TRACE("the joined file");
    const TVideoFile& Row = MainUnit().VideoFiles[0];
    const String Ext = MainUnit().Profiles[Row.ProfileInd].Formats[Row.FormatInd].FormatExt;
    const std::string Joined = Output() + "/Joined" + Ext;
    EXPECT_EQ(E2eProbe(Joined, "-show_entries stream=codec_type"), "video,audio");
    EXPECT_NEAR(E2eDuration(Joined), E2eDuration(A) + E2eDuration(B), 0.2);
    EXPECT_FALSE(std::filesystem::exists(Output() + "/e2e-a" + Ext));
  }
}

}  // namespace
