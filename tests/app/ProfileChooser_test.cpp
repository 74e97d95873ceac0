// The profile chooser on the virtual clock: the delay before the formats follow the mouse,
// the bands of the highlighted profile and the hovered format, applying a format, and a
// drawing failure reported once per showing.
#include <gtest/gtest.h>

#include "app/profilechoosing.h"
#include "skin/controls/SkinCtrls.h"
#include "skin/controls/SkinGrids.h"
#include "skin/core/data/SkinData.h"
#include "tests/support/TestPaths.h"
#include "tools/skingen/SkinGenSpec.h"
#include "tests/app/FileListStub.h"
#include "tests/support/UiFormsFixture.h"

using namespace vantrel::app;
using vantrel::apptest::StubEntry;
using vantrel::apptest::StubFileList;

namespace {

std::unique_ptr<TPicture> ChooserTestIcon(TColor Colour) {
  TBitmap B;
  B.SetSize(24, 24);
  B.Canvas()->Brush()->SetColor(Colour);
  B.Canvas()->FillRect(Rect(0, 0, 24, 24));
  auto P = std::make_unique<TPicture>();
  P->Assign(&B);
  return P;
}

TFormat ChooserFormat(const char* Title, const char* Icon) {
  TFormat F;
  F.Title = Title;
  F.Description = "A format for the tests";
  F.Icon = Icon;
  return F;
}

class ProfileChooser : public testing::Test {
 protected:
  void SetUp() override {
    State.Profiles = {
        {"Video", "1", "video", {ChooserFormat("MP4", "MP4ICON"), ChooserFormat("AVI", "aviicon")}},
        {"Audio", "2", "audio", {ChooserFormat("MP3", "mp3icon"), ChooserFormat("WAV", "wavicon"),
                                 ChooserFormat("OGG", "oggicon")}},
        {"Empty", "3", "video", {}},
    };
    State.ProfileIcons.clear();
    for (const char* Id : {"video", "audio", "mp4icon", "aviicon"})
      State.ProfileIcons.push_back({Id, ChooserTestIcon(clGreen)});
    Files.Entries = {StubEntry{"/v/a.mp4", "a"}, StubEntry{"/v/b.mp4", "b"}, StubEntry{"/v/c.mp3", "c"}};
    Files.Row = 2;
  }
  void ShowChooser() {
    if (!Form) {
      Application->CreateForm(Form);
      Form->State = &State;
      Form->FileList = &Files;
      Form->SetBounds(100, 100, Form->Width(), Form->Height());
    }
    Form->Show();
    S.Session.PumpUntilIdle();
  }
  TPoint ProfileRow(Integer Row) {
    return Form->sgProfiles->ClientToScreen(Point(60, Row * 25 + 12));
  }
  TPoint FormatRow(Integer Row) {
    return Form->sgFormats->ClientToScreen(Point(100, Row * 50 + 25));
  }
  void MoveTo(TPoint P) {
    S.Session.Move(P.X, P.Y);
    S.Session.PumpUntilIdle();
  }
  uint32_t PixelAt(TPoint Screen) {
    const vantrel::win::Surface Shot = S.Session.CaptureScreen();
    return Shot.Row(Screen.Y)[Screen.X] & 0xFFFFFF;
  }
  vantrel::uitest::FormsSession S;
  TMainUnitState State;
  StubFileList Files;
  Tproform* Form = nullptr;
};

}  // namespace

TEST_F(ProfileChooser, RestingOnAProfileListsItsFormatsAndClearsTheHover) {
  ShowChooser();
  EXPECT_EQ(Form->sgProfiles->RowCount(), 3);
  EXPECT_EQ(Form->sgFormats->RowCount(), 2);
  EXPECT_EQ(Form->HoveredFormat, 0);
  MoveTo(ProfileRow(1));
  EXPECT_EQ(Form->ShownProfile, 1);
  S.Session.Advance(ChooserDelay - 1);
  EXPECT_EQ(Form->ConfirmedProfile, 0);
  EXPECT_EQ(Form->sgFormats->RowCount(), 2);
  S.Session.Advance(1);
  EXPECT_EQ(Form->ConfirmedProfile, 1);
  EXPECT_EQ(Form->sgFormats->RowCount(), 3);
  EXPECT_EQ(Form->HoveredFormat, -1);
}

TEST_F(ProfileChooser, MovingFastIntoTheFormatsReturnsToTheListedProfile) {
  ShowChooser();
  MoveTo(ProfileRow(1));
  S.Session.Advance(200);
  MoveTo(ProfileRow(2));
  S.Session.Advance(200);
  MoveTo(FormatRow(1));
  EXPECT_EQ(Form->ShownProfile, 0);
  EXPECT_EQ(Form->ConfirmedProfile, 0);
  EXPECT_FALSE(Form->ProfileChangeDelayTimer->Enabled());
  S.Session.Advance(2000);
  EXPECT_EQ(Form->ConfirmedProfile, 0);
  EXPECT_EQ(Form->sgFormats->RowCount(), 2);
  EXPECT_EQ(Form->HoveredFormat, 1);
}

TEST_F(ProfileChooser, TheHighlightedProfileAndTheHoveredFormatHaveTheirBands) {
  ShowChooser();
  MoveTo(FormatRow(1));
  const TPoint Shown = Form->sgProfiles->ClientToScreen(Point(31, 1));
  const TPoint Other = Form->sgProfiles->ClientToScreen(Point(31, 25 + 1));
  const TPoint Hovered = Form->sgFormats->ClientToScreen(Point(42, 50 + 1));
  const TPoint NotHovered = Form->sgFormats->ClientToScreen(Point(42, 1));
  EXPECT_EQ(PixelAt(Shown), 0xA8A8A8u);
  EXPECT_EQ(PixelAt(Other), 0xFFFFFFu);
  EXPECT_EQ(PixelAt(Hovered), 0xCAD7E3u);  // red 0xCA, green 0xD7, blue 0xE3
  EXPECT_EQ(PixelAt(NotHovered), 0xFFFFFFu);
}

TEST_F(ProfileChooser, AClickAppliesTheFormatToTheSelectedEntryOrToAll) {
  for (bool All : {false, true}) {
    SCOPED_TRACE(All);
    SetUp();
    Files.AllBox = All;
    Files.Reestimates = 0;
    S.Session.Advance(2000);  // apart from the last click: not a double click
    ShowChooser();
    MoveTo(ProfileRow(1));
    S.Session.Advance(ChooserDelay);
    MoveTo(FormatRow(2));
    S.Session.Press(FormatRow(2).X, FormatRow(2).Y);
    S.Session.PumpUntilIdle();
    S.Session.Release(FormatRow(2).X, FormatRow(2).Y);
    S.Session.PumpUntilIdle();
    EXPECT_FALSE(Form->Visible());
    EXPECT_EQ(Files.Entries[1].ProfileInd, 1);
    EXPECT_EQ(Files.Entries[1].FormatInd, 2);
    EXPECT_EQ(Files.Entries[1].Status, "-");
    for (size_t I : {size_t(0), size_t(2)}) {
      EXPECT_EQ(Files.Entries[I].ProfileInd, All ? 1 : 0);
      EXPECT_EQ(Files.Entries[I].FormatInd, All ? 2 : 0);
    }
    EXPECT_EQ(State.CurrentProfileInd, 1);
    EXPECT_EQ(State.CurrentFormatInd, 2);
    EXPECT_EQ(State.RecentProfileInd, 1);
    EXPECT_EQ(State.RecentFormatInd, 2);
    EXPECT_EQ(Files.ProfileTitle, "OGG");
    EXPECT_EQ(Files.ProfileIcon, State.ProfileIcons[1].Picture.get());
    EXPECT_EQ(Files.Reestimates, 1);
    State.CurrentProfileInd = State.CurrentFormatInd = 0;
  }
}

// A profile or format whose icon the catalogue lacks is drawn without one, nothing is
// reported, and choosing such a format leaves the main window's icon empty.
TEST_F(ProfileChooser, WithoutItsIconAProfileOrFormatIsDrawnWithoutOne) {
  State.Profiles[1].Icon = "noicon";
  ShowChooser();
  const uint32_t Green = 0x008000u;
  EXPECT_EQ(PixelAt(Form->sgProfiles->ClientToScreen(Point(15, 12))), Green);
  EXPECT_EQ(PixelAt(Form->sgFormats->ClientToScreen(Point(20, 20))), Green);
  EXPECT_EQ(PixelAt(Form->sgProfiles->ClientToScreen(Point(15, 25 + 12))), 0xFFFFFFu);
  MoveTo(ProfileRow(1));
  S.Session.Advance(ChooserDelay);
  ASSERT_EQ(Form->sgFormats->RowCount(), 3);
  for (Integer Row = 0; Row < 3; ++Row)
    EXPECT_EQ(PixelAt(Form->sgFormats->ClientToScreen(Point(20, Row * 50 + 20))), 0xFFFFFFu) << Row;
  Files.ProfileIcon = State.ProfileIcons[0].Picture.get();
  MoveTo(FormatRow(1));
  S.Session.Press(FormatRow(1).X, FormatRow(1).Y);
  S.Session.PumpUntilIdle();
  S.Session.Release(FormatRow(1).X, FormatRow(1).Y);
  S.Session.PumpUntilIdle();
  EXPECT_FALSE(Form->Visible());
  EXPECT_EQ(Files.ProfileTitle, "WAV");
  EXPECT_EQ(Files.ProfileIcon, nullptr);
  EXPECT_TRUE(State.ErrorReports.empty());
}

TEST_F(ProfileChooser, AProfileWithoutFormatsTakesNoClick) {
  ShowChooser();
  MoveTo(ProfileRow(2));
  S.Session.Advance(ChooserDelay);
  MoveTo(FormatRow(0));
  EXPECT_EQ(Form->HoveredFormat, -1);
  S.Session.Press(FormatRow(0).X, FormatRow(0).Y);
  S.Session.PumpUntilIdle();
  S.Session.Release(FormatRow(0).X, FormatRow(0).Y);
  S.Session.PumpUntilIdle();
  EXPECT_TRUE(Form->Visible());
  EXPECT_EQ(Files.Reestimates, 0);
  EXPECT_EQ(Files.Entries[1].Status, "ready");
}

TEST_F(ProfileChooser, LosingActivationHidesWithoutChanges) {
  TForm* Other = nullptr;
  Application->CreateForm(Other);
  Other->SetBounds(700, 100, 200, 200);
  Other->Show();
  ShowChooser();
  MoveTo(FormatRow(1));
  const TPoint Elsewhere = Other->ClientToScreen(Point(50, 50));
  S.Session.Press(Elsewhere.X, Elsewhere.Y);
  S.Session.Release(Elsewhere.X, Elsewhere.Y);
  S.Session.PumpUntilIdle();
  EXPECT_FALSE(Form->Visible());
  EXPECT_EQ(Files.Entries[1].Status, "ready");
  EXPECT_EQ(State.CurrentFormatInd, 0);
  EXPECT_EQ(Files.Reestimates, 0);
}

TEST_F(ProfileChooser, AFailingDrawIsReportedOncePerShowingAndLeavesTheCellBlank) {
  for (TProfileIcon& I : State.ProfileIcons) I.Picture.reset();  // icons that lost their pictures
  State.RecentFormatInd = 4;
  ShowChooser();
  S.Session.Advance(100);
  ASSERT_EQ(State.ErrorReports.size(), 1u);
  EXPECT_EQ(State.ErrorReports[0].Text, "Error Drawing Cell: profile 0, format 4");
  EXPECT_TRUE(State.ErrorReports[0].Mark == "CLM_ProfileDrawCell" || State.ErrorReports[0].Mark == "CLM_FormatsDrawCell");
  EXPECT_EQ(PixelAt(Form->sgProfiles->ClientToScreen(Point(31, 1))), 0xFFFFFFu);
  Form->sgProfiles->Invalidate();
  Form->sgFormats->Invalidate();
  S.Session.PumpUntilIdle();
  EXPECT_EQ(State.ErrorReports.size(), 1u);
  Form->Hide();
  ShowChooser();
  EXPECT_EQ(State.ErrorReports.size(), 2u);
}

// A profile with more formats than the list shows: its skinned bar is drawn over its whole
// height, the wheel over the list brings the last format into view, and a description too
// long for its two lines stays inside its row.
TEST_F(ProfileChooser, ALongListShowsItsWholeBarAndScrollsByTheWheel) {
  std::vector<TFormat> Many;
  for (int I = 0; I < 14; ++I) Many.push_back(ChooserFormat(("Format " + std::to_string(I)).c_str(), "mp3icon"));
  Many[0].Description =
      "A description long enough to need far more than the two lines its row has room for, so that "
      "whatever does not fit is cut at the bottom of its own row";
  State.Profiles[1].Formats = Many;
  TOwned<TspSkinData> Skin = CreateOwned<TspSkinData>(nullptr);
  Skin->LoadFromFile(vantrel::test::BinDir() + "/" + vantrel::skingen::DefaultSkinFolder + "/" +
                     vantrel::skingen::SkinIniName);
  ShowChooser();
  Form->BindSkin(Skin.get());
  MoveTo(ProfileRow(1));
  S.Session.Advance(ChooserDelay);
  MoveTo(FormatRow(1));
  ASSERT_EQ(Form->sgFormats->RowCount(), 14);
  TspSkinScrollBar* Bar = Form->spSkinScrollBar1;
  ASSERT_TRUE(Bar->Visible());
  // The bar runs down the whole list, at its right edge.
  EXPECT_EQ(Bar->Top(), Form->sgFormats->Top());
  EXPECT_EQ(Bar->Height(), Form->sgFormats->Height());
  EXPECT_EQ(Bar->Left() + Bar->Width(), Form->sgFormats->Left() + Form->sgFormats->Width());
  {
    const vantrel::win::Surface Shot = S.Session.CaptureScreen();
    const TPoint BarAt = Bar->ClientToScreen(Point(0, 0));
    Integer BlankRows = 0;
    for (Integer Y = 0; Y < Bar->Height(); ++Y) {
      bool Ink = false;
      for (Integer X = 0; X < Bar->Width(); ++X) Ink |= (Shot.Row(BarAt.Y + Y)[BarAt.X + X] & 0xFFFFFF) != 0xFFFFFFu;
      BlankRows += !Ink;
    }
    EXPECT_EQ(BlankRows, 0) << "of " << Bar->Height();
    // The last two pixel rows of the first format's row hold no text.
    const TPoint Cell = Form->sgFormats->ClientToScreen(Point(0, 0));
    Integer Ink = 0;
    for (Integer Y = 48; Y < 50; ++Y)
      for (Integer X = 45; X < 350 - 20; ++X) Ink += (Shot.Row(Cell.Y + Y)[Cell.X + X] & 0xFFFFFF) != 0xFFFFFFu;
    EXPECT_EQ(Ink, 0);
  }
  // Turns of the wheel over the list (the list holds the focus, as the click into it gives).
  Form->sgFormats->SetFocus();
  const TPoint Over = FormatRow(1);
  for (int I = 0; I < 20; ++I) S.Session.Wheel(Over.X, Over.Y, -120);
  S.Session.PumpUntilIdle();
  const Integer Visible = Form->sgFormats->VisibleRowCount();
  EXPECT_EQ(Form->sgFormats->TopRow(), 14 - Visible);
  EXPECT_GE(Bar->Position(), Bar->Max() - Bar->PageSize());
  // The pointer's row is hovered after the list moved under it.
  EXPECT_EQ(Form->HoveredFormat, Form->sgFormats->TopRow() + 1);
  S.Session.Wheel(Over.X, Over.Y, 120);
  S.Session.PumpUntilIdle();
  EXPECT_EQ(Form->sgFormats->TopRow(), 14 - Visible - 1);
}
