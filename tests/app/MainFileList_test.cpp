// The main window's file list: adding through the open dialog and by a drop, the entries'
// table, the rejected files' boxes, the enabled commands, the list operations, renaming in
// the grid, and the grid's look.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "app/log.h"
#include "app/conversion.h"
#include "app/main_FileList.h"
#include "app/main_Job.h"
#include "platform/display/HeadlessPng.h"
#include "platform/ui/ExtCtrls.h"
#include "skin/controls/SkinBoxCtrls.h"
#include "skin/controls/SkinCtrls.h"
#include "skin/controls/SkinExCtrls.h"
#include "platform/win/Keyboard.h"
#include "skin/dialogs/SkinMessageDlg.h"
#include "skin/dialogs/SkinShellDialogs.h"
#include "platform/ui/Timers.h"
#include "tests/app/MainWindowFixture.h"
#include "platform/win/Shell.h"
#include "tests/support/RealTimeModal.h"
#include "tests/support/TempDir.h"
#include "tests/support/UiTestControls.h"

using namespace vantrel::app;

namespace {

class MainFileList : public vantrel::apptest::MainWindowTest {
 protected:
  std::vector<String> Boxes;

  // Starts the window, shown, and answers every skinned message box with OK.
  TMainForm& StartShown() {
    TMainForm& M = Start();
    Application->OnIdle = [this](TObject*, Boolean& Done) {
      Done = true;
      for (Integer I = 0; I < Screen->CustomFormCount(); ++I)
        if (auto* F = dynamic_cast<TspMessageForm*>(Screen->CustomForms(I)); F && F->Visible() && F->ModalResult() == mrNone) {
          Boxes.push_back(F->Message->Caption());
          F->SetModalResult(mrOk);
        }
    };
    M.Show();
    S.Session.PumpUntilIdle();
    return M;
  }
  void AddThroughDialog(TMainForm& M, std::vector<String> Files) {
    M.RunOpenDialog = [Files](std::vector<String>& Chosen) {
      Chosen = Files;
      return true;
    };
    M.AddButtonClick(M.AddButton);
    S.Session.PumpUntilIdle();
  }
  std::vector<String> LogLines() const {
    std::vector<String> R;
    for (Integer I = 0; I < LogForm->mmoLog->Lines()->Count(); ++I) R.push_back(LogForm->mmoLog->Lines()->Get(I));
    return R;
  }
  Integer LogCount(const String& Text) const {
    Integer N = 0;
    for (const String& L : LogLines()) N += L.find(Text) != String::npos;
    return N;
  }
};

}  // namespace

TEST_F(MainFileList, AddingThroughTheDialogAndByADrop) {
  TMainForm& M = StartShown();
  const String V = vantrel::test::FixturePath("v.mp4");
  const String Mp3 = vantrel::test::FixturePath("probe-title.mp3");
  const String AudioFirst = vantrel::test::FixturePath("audio-first.mp4");
  vantrel::test::TTempDir Dir;
  const String Text = Dir.File("readme.txt");
  vantrel::test::WriteFileBytes(Text, "words\n");

  AddThroughDialog(M, {V, Mp3});
  ASSERT_EQ(MainUnit().VideoFiles.size(), 2u);
  EXPECT_EQ(M.sgList->Row(), 2);
  EXPECT_EQ(M.sgList->RowCount(), 3);
  for (TControl* C : std::initializer_list<TControl*>{M.EditButton, M.ClipButton, M.SettingsButton})
    EXPECT_TRUE(C->Enabled()) << C->Name();
  for (TMenuItem* Item : {M.Remove2, M.ClearAll2, M.Rename2, M.MoveUp2, M.MoveDown2, M.EditVideo2, M.TrimVideo2,
                          M.FileInformation2, M.FileInformation1, M.StartConversion1, M.Remove1, M.ClearAll1,
                          M.Rename1, M.MoveUp1, M.MoveDown1, M.TrimVideo1, M.EditVideo1})
    EXPECT_TRUE(Item->Enabled()) << Item->Name();
  EXPECT_FALSE(M.GettingStartedPanel->Visible());

  const TPoint At = M.sgList->ClientToScreen(Point(100, 60));
  S.Session.Drop({AudioFirst, Dir.Path(), Text}, At.X, At.Y);
  S.Session.PumpUntilIdle();
  ASSERT_EQ(MainUnit().VideoFiles.size(), 3u);
  EXPECT_EQ(M.sgList->RowCount(), 4);
  EXPECT_EQ(M.sgList->Row(), 2);  // a drop leaves the selection

  struct Want {
    String Source;
    bool Audio;
    Integer Width, Height;
  };
  const Want Entries[] = {{V, false, 320, 240}, {Mp3, true, -1, -1}, {AudioFirst, false, 320, 240}};
  for (size_t I = 0; I < std::size(Entries); ++I) {
    SCOPED_TRACE(Entries[I].Source);
    const TVideoFile& E = MainUnit().VideoFiles[I];
    EXPECT_EQ(E.Source, Entries[I].Source);
    EXPECT_EQ(E.isSourceAudioFormat, Entries[I].Audio);
    EXPECT_EQ(E.SourceWidth, Entries[I].Width);
    EXPECT_EQ(E.SourceHeight, Entries[I].Height);
    EXPECT_EQ(LogCount("File added: " + Entries[I].Source), 1);
  }
  EXPECT_EQ(Boxes, (std::vector<String>{
                       "File " + ExtractFileName(Dir.Path()) + " is not a valid media file or its format is not supported.",
                       "File readme.txt is not a valid media file or its format is not supported."}));
  EXPECT_EQ(LogCount("File load error: "), 2);
  vantrel::display::SavePng(S.Session.Capture(M.Handle()), vantrel::test::FixtureDir() + "/../main-file-list.png");
}

TEST_F(MainFileList, ListOperationsKeepTheEntriesAndClearAllDisablesTheCommands) {
  TMainForm& M = StartShown();
  const String Names[] = {"v.mp4", "probe-title.mp3", "audio-first.mp4"};
  std::vector<String> Files;
  for (const String& N : Names) Files.push_back(vantrel::test::FixturePath(N));
  AddThroughDialog(M, Files);
  ASSERT_EQ(MainUnit().VideoFiles.size(), 3u);
  auto Order = [] {
    String R;
    for (const TVideoFile& E : MainUnit().VideoFiles) R += E.SourceTitleExt.substr(0, 1);
    return R;
  };
  struct Step {
    TMenuItem* TMainForm::*Item;
    Integer Row;
    const char* WantOrder;
    Integer WantRow;
  };
  const Step Steps[] = {
      {&TMainForm::MoveUp1, 1, "vpa", 1},
      {&TMainForm::MoveDown1, 3, "vpa", 3},
      {&TMainForm::MoveUp2, 3, "vap", 2},
      {&TMainForm::MoveDown2, 1, "avp", 2},
      {&TMainForm::Remove1, 2, "ap", 2},
  };
  for (const Step& St : Steps) {
    SCOPED_TRACE(St.WantOrder);
    M.sgList->SetRow(St.Row);
    (M.*St.Item)->Click();
    EXPECT_EQ(Order(), St.WantOrder);
    EXPECT_EQ(M.sgList->Row(), St.WantRow);
    EXPECT_EQ(M.sgList->RowCount(), static_cast<Integer>(MainUnit().VideoFiles.size()) + 1);
  }
  EXPECT_EQ(MainUnit().VideoFiles[1].SourceWidth, -1);
  M.sgList->SetRow(1);
  M.Remove2->Click();
  ASSERT_EQ(Order(), "p");
  M.spSkinButton1->OnClick(M.spSkinButton1);  // the only entry: Clear All
  EXPECT_TRUE(MainUnit().VideoFiles.empty());
  for (TControl* C : std::initializer_list<TControl*>{M.EditButton, M.ClipButton, M.SettingsButton})
    EXPECT_FALSE(C->Enabled()) << C->Name();
  for (TMenuItem* Item : {M.Remove2, M.ClearAll2, M.Rename2, M.MoveUp2, M.MoveDown2})
    EXPECT_FALSE(Item->Enabled()) << Item->Name();
  // The main menu's items stay as they are.
  EXPECT_TRUE(M.Remove1->Enabled());
}

TEST_F(MainFileList, AClickInTheDestinationColumnRenamesThatEntry) {
  TMainForm& M = StartShown();
  AddThroughDialog(M, {vantrel::test::FixturePath("v.mp4"), vantrel::test::FixturePath("probe-title.mp3")});
  const TRect Cell = M.sgList->CellRect(3, 1);
  const TPoint P = M.sgList->ClientToScreen(Point(Cell.Left + 10, Cell.Top + 5));
  S.Session.Press(P.X, P.Y);
  S.Session.Release(P.X, P.Y);
  S.Session.PumpUntilIdle();
  ASSERT_TRUE(M.edDestinationTitle->Visible());
  EXPECT_EQ(M.TitleEditorRow(), 1);
  EXPECT_EQ(M.edDestinationTitle->Text(), "v");
  EXPECT_EQ(M.edDestinationTitle->Width(), M.sgList->GetColWidths(3));
  const TPoint EditorAt =
      M.edDestinationTitle->Parent()->ClientToScreen(Point(M.edDestinationTitle->Left(), M.edDestinationTitle->Top()));
  const TPoint CellAt = M.sgList->ClientToScreen(Point(Cell.Left, Cell.Top - 1));
  EXPECT_EQ(EditorAt.X, CellAt.X);
  EXPECT_EQ(EditorAt.Y, CellAt.Y);
  // The selection moves on; the text still goes to the entry the editor opened on.
  M.sgList->SetRow(2);
  M.edDestinationTitle->SelectAll();
  S.Session.Type("renamed");
  S.Session.Key(VK_RETURN);
  S.Session.PumpUntilIdle();
  EXPECT_FALSE(M.edDestinationTitle->Visible());
  EXPECT_EQ(MainUnit().VideoFiles[0].DestinationTitle, "renamed");
  EXPECT_EQ(MainUnit().VideoFiles[1].DestinationTitle, "probe-title");
}

// A right press makes the pressed row current before the list menu opens: its Remove
// removes the row the user pointed at, not the one clicked before.
TEST_F(MainFileList, ARightPressMakesThatRowCurrentForTheListMenu) {
  TMainForm& M = StartShown();
  AddThroughDialog(M, {vantrel::test::FixturePath("v.mp4"), vantrel::test::FixturePath("probe-title.mp3"),
                       vantrel::test::FixturePath("audio-first.mp4")});
  ASSERT_EQ(MainUnit().VideoFiles.size(), 3u);
  M.sgList->SetRow(1);
  // Column 1: a press in the destination column would open the title editor too.
  const TRect Cell = M.sgList->CellRect(1, 3);
  const TPoint P = M.sgList->ClientToScreen(Point(Cell.Left + 10, Cell.Top + 5));
  S.Session.Press(P.X, P.Y, vantrel::win::rbRight);
  S.Session.PumpUntilIdle();
  EXPECT_EQ(M.sgList->Row(), 3);
  S.Session.Release(P.X, P.Y, vantrel::win::rbRight);
  S.Session.PumpUntilIdle();
  ASSERT_TRUE(M.spFormSkin1->SkinMenuVisible());
  M.spFormSkin1->HideSkinMenu();
  S.Session.PumpUntilIdle();
  M.Remove2->Click();
  ASSERT_EQ(MainUnit().VideoFiles.size(), 2u);
  EXPECT_EQ(MainUnit().VideoFiles[0].SourceTitleExt, "v.mp4");
  EXPECT_EQ(MainUnit().VideoFiles[1].SourceTitleExt, "probe-title.mp3");
  // A right press below the entries leaves the current row as it is.
  M.sgList->SetRow(1);
  const TPoint Below = M.sgList->ClientToScreen(Point(Cell.Left + 10, M.sgList->ClientHeight() - 3));
  S.Session.Press(Below.X, Below.Y, vantrel::win::rbRight);
  S.Session.Release(Below.X, Below.Y, vantrel::win::rbRight);
  S.Session.PumpUntilIdle();
  M.spFormSkin1->HideSkinMenu();
  S.Session.PumpUntilIdle();
  EXPECT_EQ(M.sgList->Row(), 1);
}

TEST_F(MainFileList, TheGridShowsItsPicturesWhiteRowsAndColumnLines) {
  TMainForm& M = StartShown();
  AddThroughDialog(M, {vantrel::test::FixturePath("v.mp4"), vantrel::test::FixturePath("probe-title.mp3")});
  M.sgList->SetRow(1);
  M.sgList->Repaint();
  S.Session.PumpUntilIdle();
  M.Timer1Timer(M.Timer1);
  const vantrel::win::Surface Grid = S.Session.Capture(M.sgList->Handle());
  vantrel::display::SavePng(Grid, vantrel::test::FixtureDir() + "/../main-file-grid.png");
  auto Pixel = [&](Integer X, Integer Y) { return Grid.Row(Y)[X] & 0xFFFFFF; };
  // The picture's pixel that a stretch over R shows at (X, Y) of R, its bottom half taken.
  auto PictureAt = [](TImage* Image, const TRect& R, Integer X, Integer Y) {
    TBitmap* B = Image->Picture()->Bitmap();
    return static_cast<uint32_t>(B->Canvas()->Pixels(X * B->Width() / (R.Right - R.Left),
                                                     Y * B->Height() / (R.Bottom - R.Top))) & 0xFFFFFF;
  };
  const TRect Header = M.sgList->CellRect(2, 0);
  const TRect Selected = M.sgList->CellRect(1, 1);
  const TRect Other = M.sgList->CellRect(1, 2);
  // The stretched pictures (BGR colour values) and white: compare by their channels.
  auto Rgb = [](uint32_t Bgr) { return ((Bgr & 0xFF) << 16) | (Bgr & 0xFF00) | ((Bgr >> 16) & 0xFF); };
  EXPECT_EQ(Pixel(Header.Left + 3, Header.Top + 2), Rgb(PictureAt(M.imgTableColumnCaptionBar, Header, 3, 2)));
  EXPECT_EQ(Pixel(Selected.Left + 3, Selected.Bottom - 3),
            Rgb(PictureAt(M.imgTableRow, Selected, 3, Selected.Bottom - Selected.Top - 3)));
  EXPECT_EQ(Pixel(Other.Left + 3, Other.Bottom - 3), 0xFFFFFFu);
  // Silver lines at the sums of the column widths.
  Integer X = 0;
  for (Integer I = 0; I < 4; ++I) {
    X += M.sgList->GetColWidths(I);
    SCOPED_TRACE(I);
    EXPECT_EQ(Pixel(X + I, Other.Top + 10), 0xC0C0C0u);
  }
}

// A file chosen in the open dialog, by its row or by its name typed in the name box, fills
// the list's first row: its name and length over a row picture, not a second copy of the
// header. Emptied, the list shows blank space under its one header.
TEST_F(MainFileList, AFileChosenInTheOpenDialogFillsTheFirstRow) {
  TMainForm& M = StartShown();
  vantrel::test::TTempDir Dir;
  const String Clip = Dir.File("clip.mp4");
  std::filesystem::copy_file(vantrel::test::FixturePath("v.mp4"), Clip);
  M.dlgopen->SetInitialDir(Dir.Path());
  auto ClickAt = [&](TControl* C) {
    const TPoint P = vantrel::uitest::CentreOf(C);
    S.Session.Press(P.X, P.Y);
    S.Session.Release(P.X, P.Y);
  };
  auto GridNow = [&] {
    vantrel::win::Surface Grid = S.Session.Capture(M.sgList->Handle());
    vantrel::display::SavePng(Grid, vantrel::test::FixtureDir() + "/../main-file-grid-one.png");
    return Grid;
  };
  auto Rgb = [](const vantrel::win::Surface& G, Integer X, Integer Y) { return G.Row(Y)[X] & 0xFFFFFF; };
  auto Dark = [](uint32_t P) { return ((P >> 16) & 0xFF) + ((P >> 8) & 0xFF) + (P & 0xFF) < 300; };
  const TRect Header = M.sgList->CellRect(1, 0);
  const TRect Row = M.sgList->CellRect(1, 1);
  ASSERT_EQ(Header.Bottom - Header.Top, Row.Bottom - Row.Top);
  const Integer W = Row.Right - Row.Left, H = Row.Bottom - Row.Top;

  struct Way {
    const char* How;
    std::function<void(TspOpenDlgForm*)> Choose;
  };
  const Way Ways[] = {
      {"its row selected, Open clicked",
       [&](TspOpenDlgForm* F) {
         F->FileListView->Items()->Item(0)->SetSelected(true);
         ClickAt(F->OpenButton);
       }},
      {"its full name typed, Enter pressed",
       [&](TspOpenDlgForm* F) {
         F->FileNameEdit->SetText(Clip);
         S.Session.Key(VK_RETURN);
       }},
  };
  for (const Way& Way : Ways) {
    SCOPED_TRACE(Way.How);
    M.ClearAll1Click(nullptr);
    S.Session.PumpUntilIdle();
    TOwned<TTimer> Pick = CreateOwned<TTimer>(nullptr);
    Pick->SetInterval(20);
    bool Chosen = false;
    Pick->OnTimer = [&](TObject*) {
      TspOpenDlgForm* F = M.dlgopen->Form();
      if (Chosen || !F || !F->Visible() || F->FileListView->FolderCount() != 1) return;
      Chosen = true;
      Way.Choose(F);
    };
    ClickAt(M.AddButton);
    S.Session.PumpUntilIdle();
    ASSERT_TRUE(Chosen);
    EXPECT_EQ(MainUnit().VideoFiles.size(), 1u);
    if (!MainUnit().VideoFiles.empty()) {
      EXPECT_EQ(MainUnit().VideoFiles[0].Source, Clip);
    }
    ASSERT_TRUE(M.sgList->Visible());
    const vantrel::win::Surface Grid = GridNow();
    // Row 1's picture differs from the header's at its foot, and its text ("00:00:02") from
    // the header's "Length"; there is text.
    EXPECT_NE(Rgb(Grid, Row.Left + 3, Row.Bottom - 3), Rgb(Grid, Header.Left + 3, Header.Bottom - 3));
    Integer Differing = 0, Ink = 0;
    for (Integer Y = 0; Y < H; ++Y)
      for (Integer X = 0; X < W; ++X) {
        const uint32_t P = Rgb(Grid, Row.Left + X, Row.Top + Y);
        Differing += P != Rgb(Grid, Header.Left + X, Header.Top + Y);
        Ink += Dark(P);
      }
    EXPECT_GT(Differing, W * H / 4);
    EXPECT_GT(Ink, 10) << "no length shown in row 1";
  }

  M.ClearAll1Click(nullptr);
  S.Session.PumpUntilIdle();
  const vantrel::win::Surface Empty = GridNow();
  EXPECT_EQ(Rgb(Empty, Row.Left + 3, Row.Bottom - 3), 0xFFFFFFu);
  Integer Ink = 0;
  for (Integer Y = 0; Y < H; ++Y)
    for (Integer X = 0; X < W; ++X) Ink += Dark(Rgb(Empty, Row.Left + X, Row.Top + Y));
  EXPECT_EQ(Ink, 0) << "the empty list's first row shows text";
}

TEST_F(MainFileList, TheConvertCommandRunsTheJobInTheConversionDialog) {
  TMainForm& M = StartShown();
  auto L = std::make_unique<vantrel::win::RecordingLauncher>();
  vantrel::win::RecordingLauncher* Launcher = L.get();
  S.Session.Manager().Shell().SetLauncher(std::move(L));
  vantrel::test::TTempDir Out;
  AddThroughDialog(M, {vantrel::test::FixturePath("long.mp4")});
  M.SetDestinationFolder(Out.Path());
  bool Captured = false;
  {
    // Twenty seconds of video run through the sanitized engine on a machine that runs
    // other tests beside it: that can take a minute or more.
    vantrel::testsupport::RealTimeModal Wait(std::chrono::milliseconds(180000));
    Wait.OnDeadline = [] { ConvForm->CloseJob(); };
    Wait.OnStep = [&] {
      if (Captured || !ConvForm->Visible() || ConvForm->ProgressTotal->Value() < 10) return;
      Captured = true;
      const vantrel::win::Surface Shot = S.Session.Capture(ConvForm->Handle());
      vantrel::display::SavePng(Shot, vantrel::test::FixtureDir() + "/../conversion-dialog.png");
      EXPECT_EQ(ConvForm->lblConvertingTitle->Caption(), "Converting \"long.mp4\" to \"long.mp4\"");
    };
    M.StartConversion1->Click();
  }
  EXPECT_TRUE(Captured);
  EXPECT_FALSE(ConvForm->Visible());
  EXPECT_EQ(LogCount("Started Conversion"), 1);
  EXPECT_EQ(LogCount("Conversion successfully done."), 1);
  // long.mp4 has no sound: no output was written without it, so no notice says so.
  EXPECT_TRUE(S.Boxes.empty());
  ASSERT_EQ(Launcher->Calls.size(), 2u);
  EXPECT_EQ(Launcher->Calls[1].Argv.back(), Out.Path());
  EXPECT_TRUE(std::filesystem::exists(Out.File("long.mp4")));
}

TEST_F(MainFileList, ApplyToAllGivesEveryEntryTheCurrentFormatAndItsEstimate) {
  TMainForm& M = StartShown();
  AddThroughDialog(M, {vantrel::test::FixturePath("v.mp4"), vantrel::test::FixturePath("long.mp4")});
  TMainUnitState& State = MainUnit();
  // A format of the catalogue with both bit rates.
  Integer Profile = -1, Format = -1;
  for (Integer P = 0; P < static_cast<Integer>(State.Profiles.size()) && Profile < 0; ++P)
    for (Integer F = 0; F < static_cast<Integer>(State.Profiles[P].Formats.size()); ++F)
      if (!State.Profiles[P].Formats[F].VideoBitRate.empty() && !State.Profiles[P].Formats[F].AudioBitRate.empty() &&
          (P != State.CurrentProfileInd || F != State.CurrentFormatInd)) {
        Profile = P;
        Format = F;
        break;
      }
  ASSERT_GE(Profile, 0);
  State.CurrentProfileInd = Profile;
  State.CurrentFormatInd = Format;
  const TFormat& Chosen = State.Profiles[Profile].Formats[Format];
  M.chApplyToAll->SetChecked(true);
  M.chApplyToAllClick(M.chApplyToAll);
  for (const TVideoFile& E : State.VideoFiles) {
    SCOPED_TRACE(E.Source);
    EXPECT_EQ(E.ProfileInd, Profile);
    EXPECT_EQ(E.FormatInd, Format);
    const double Seconds = static_cast<double>(E.TrimmedLength / 1000000);
    const double Want = (std::stod(Chosen.VideoBitRate) + std::stod(Chosen.AudioBitRate)) / 8000 * Seconds / 1024;
    EXPECT_NEAR(E.EstimatedSize, Want, 1e-9);
  }
}

TEST_F(MainFileList, ADropOfRejectedFilesOnlyLeavesTheCommandsAsTheyWere) {
  TMainForm& M = StartShown();
  vantrel::test::TTempDir Dir;
  const String Text = Dir.File("list.txt");
  vantrel::test::WriteFileBytes(Text, "1\n2\n");
  ASSERT_FALSE(M.SettingsButton->Enabled());
  const TPoint At = M.sgList->ClientToScreen(Point(100, 60));
  S.Session.Drop({Text}, At.X, At.Y);
  S.Session.PumpUntilIdle();
  EXPECT_TRUE(MainUnit().VideoFiles.empty());
  EXPECT_EQ(Boxes.size(), 1u);
  EXPECT_FALSE(M.SettingsButton->Enabled());
}

// Selecting an entry shows its format with its profile's icon; a profile whose icon the
// catalogue lacks shows none (not some other profile's) and reports nothing.
TEST_F(MainFileList, ARowClickShowsTheProfilesIconOrNone) {
  TMainForm& M = StartShown();
  AddThroughDialog(M, {vantrel::test::FixturePath("v.mp4"), vantrel::test::FixturePath("long.mp4")});
  TMainUnitState& State = MainUnit();
  ASSERT_FALSE(State.ProfileIcons.empty());
  TVideoFile& E = State.VideoFiles[1];
  TProfile& P = State.Profiles.at(static_cast<size_t>(E.ProfileInd));
  const size_t Reports = State.ErrorReports.size();
  M.sgList->SetRow(2);
  M.sgListClick(M.sgList);
  ASSERT_NE(FindProfileIcon(State.ProfileIcons, P.Icon, true), -1) << P.Icon;
  EXPECT_NE(M.imgProfileIcon->Picture()->Graphic(), nullptr);
  P.Icon = "no such icon";
  M.sgListClick(M.sgList);
  EXPECT_EQ(M.lblProfile->Caption(), P.Formats.at(static_cast<size_t>(E.FormatInd)).Title);
  EXPECT_EQ(M.imgProfileIcon->Picture()->Graphic(), nullptr);
  EXPECT_EQ(State.ErrorReports.size(), Reports);
}
