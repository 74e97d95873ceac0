// The main window as started: its controls at their places, its menus with their captions,
// separators and enabled states, and the open dialog's filter.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/display/HeadlessPng.h"
#include "skin/controls/SkinCtrls.h"
#include "skin/controls/SkinBoxCtrls.h"
#include "skin/controls/SkinExCtrls.h"
#include "skin/controls/SkinGrids.h"
#include "skin/dialogs/SkinShellDialogs.h"
#include "skin/dialogs/SkinShellViews.h"
#include "platform/ui/Timers.h"
#include "skin/core/data/SkinData.h"
#include "skin/forms/FormSkin.h"
#include "skin/forms/FormSkinCaption.h"
#include "skin/forms/SkinHint.h"
#include "skin/forms/SkinMenus.h"
#include "tests/app/MainWindowFixture.h"
#include "tests/support/AppPump.h"
#include "tests/support/GlyphInk.h"
#include "tests/support/UiTestControls.h"

using namespace vantrel::app;
using vantrel::apptest::MainWindowTest;

namespace {

// "caption" for an enabled item, "caption (off)" for a disabled one, "-" for a separator;
// sub-items indented by two blanks under their item.
void DescribeMenu(TMenuItem* Parent, const std::string& Indent, std::vector<std::string>& Out) {
  for (Integer I = 0; I < Parent->Count(); ++I) {
    TMenuItem* Item = Parent->Items(I);
    Out.push_back(Indent + Item->Caption() + (Item->Enabled() ? "" : " (off)"));
    DescribeMenu(Item, Indent + "  ", Out);
  }
}

std::vector<String> SplitFilterText(const String& Text) {
  std::vector<String> Parts(1);
  for (char C : Text) {
    if (C == '|')
      Parts.emplace_back();
    else
      Parts.back() += C;
  }
  return Parts;
}

}  // namespace

TEST_F(MainWindowTest, ControlsStandAtTheirPlacesWithTheirCaptions) {
  TMainForm& M = Start();
  struct Place {
    const char* Name;
    Integer Left, Top, Width, Height;
    const char* Caption;
  } Places[] = {
      {"AddButton", 0, 29, 90, 90, "Add Video"},
      {"ClipButton", 0, 120, 90, 90, "Trim"},
      {"EditButton", 0, 212, 90, 90, "Edit"},
      {"StartButton", 659, 345, 90, 90, ""},
      {"LikeButton", 662, 25, 54, 21, ""},
      {"TweetButton", 723, 25, 55, 20, ""},
      {"spSkinNotebook1", 92, 29, 423, 273, nullptr},
      {"spSkinButton1", 92, 307, 80, 25, "Remove"},
      {"spSkinButton2", 176, 307, 80, 25, "Move Up"},
      {"spSkinButton3", 261, 307, 80, 25, "Move Down"},
      {"spSkinButton4", 346, 307, 80, 25, "Rename"},
      {"spSkinButton5", 431, 307, 80, 25, "File Info"},
      // Under the grid's header row, which it would otherwise cut.
      {"GettingStartedPanel", 92, 50, 423, 251, nullptr},
      {"BottomPanel", 12, 348, 616, 84, nullptr},
  };
  for (const Place& P : Places) {
    SCOPED_TRACE(P.Name);
    auto* C = dynamic_cast<TControl*>(M.FindComponent(P.Name));
    ASSERT_NE(C, nullptr);
    EXPECT_EQ(C->Parent(), &M);
    EXPECT_EQ(C->BoundsRect(), Rect(P.Left, P.Top, P.Left + P.Width, P.Top + P.Height));
    if (P.Caption) {
      auto* Picture = dynamic_cast<TspSkinButtonLabel*>(C);
      auto* Button = dynamic_cast<TspSkinButton*>(C);
      ASSERT_TRUE(Picture || Button);
      EXPECT_EQ(Picture ? Picture->Caption() : Button->Caption(), P.Caption);
    }
  }
  EXPECT_EQ(M.StartButton->Hint(), "Convert All Files");
  EXPECT_EQ(M.LikeButton->PopupMenu(), M.spSkinPopupMenu1);
  EXPECT_EQ(M.TweetButton->PopupMenu(), M.spSkinPopupMenu1);
  EXPECT_TRUE(M.StartButton->ShowHint());
  EXPECT_EQ(M.SettingsButton->Caption(), "Advanced...");
  EXPECT_FALSE(M.SettingsButton->Enabled());
  EXPECT_EQ(M.FindTargetButton->Caption(), "Find target");
  EXPECT_EQ(M.chApplyToAll->Caption(), "Apply to all");
  EXPECT_TRUE(M.chApplyToAll->Checked());
  EXPECT_EQ(M.chMerge->Caption(), "Merge into one file");
  EXPECT_FALSE(M.chMerge->Checked());
  EXPECT_TRUE(M.edDestinationFolder->ReadOnly());
  EXPECT_EQ(M.edDestinationFolder->DlgSkinData(), M.spSkinData1);
  EXPECT_EQ(M.dlgopen->Title(), "Open file");
  EXPECT_TRUE(M.dlgopen->MultiSelection());
  EXPECT_TRUE(M.dlgopen->CheckFileExists());
  EXPECT_EQ(M.dlgopen->SkinData(), M.spSkinData1);
  EXPECT_EQ(M.spSkinSelectDirectoryDialog1->Title(), "Select folder");
  EXPECT_EQ(M.spSkinSelectDirectoryDialog1->SkinData(), M.spSkinData1);
  EXPECT_FALSE(M.edDestinationTitle->Visible());
  for (TControl* Hidden : {static_cast<TControl*>(M.imgTableRow), static_cast<TControl*>(M.imgTableColumnCaptionBar),
                           static_cast<TControl*>(M.Image3), static_cast<TControl*>(M.ProfileComboImage),
                           static_cast<TControl*>(M.ProfileComboImageOver)})
    EXPECT_FALSE(Hidden->Visible()) << Hidden->Name();
  // The file grid fills the shown page of the notebook.
  EXPECT_EQ(M.spSkinNotebook1->PageIndex(), 1);
  EXPECT_EQ(M.sgList->Parent()->Parent(), M.spSkinNotebook1);
  EXPECT_EQ(M.sgList->Align(), alClient);
  EXPECT_EQ(M.sgList->ColCount(), 5);
  EXPECT_EQ(M.sgList->FixedRows(), 1);
  EXPECT_EQ(M.sgList->FixedCols(), 0);
  EXPECT_EQ(M.sgList->DefaultRowHeight(), 20);
  EXPECT_FALSE(M.sgList->DefaultDrawing());
  EXPECT_EQ(M.sgList->Options(), (TGridOptions{goFixedVertLine, goFixedHorzLine, goColSizing, goRowSelect}));
  EXPECT_EQ(M.sgList->PopupMenu(), M.ListMenu);
  std::vector<Integer> Widths;
  for (Integer Col = 0; Col < 5; ++Col) Widths.push_back(M.sgList->GetColWidths(Col));
  EXPECT_EQ(Widths, (std::vector<Integer>{132, 70, 70, 100, 48}));
  EXPECT_EQ(M.sgList->GetRowHeights(0), 20);
  EXPECT_EQ(M.Timer1->Interval(), 5u);
  EXPECT_TRUE(M.Timer1->Enabled());

  M.Show();
  S.Session.PumpUntilIdle();
  vantrel::display::SavePng(S.Session.CaptureScreen(), testing::TempDir() + "MainWindow.png");
  // The convert button's hint shows in the skinned hint window.
  const TPoint P = vantrel::uitest::CentreOf(M.StartButton);
  S.Session.Move(P.X, P.Y);
  S.Session.PumpUntilIdle();
  S.Session.Advance(static_cast<uint64_t>(Application->HintPause()) + 20);
  S.Session.PumpUntilIdle();
  auto* HintWindow = dynamic_cast<TspSkinHintWindow*>(Application->HintWindow());
  ASSERT_NE(HintWindow, nullptr);
  ASSERT_TRUE(HintWindow->HandleAllocated() && IsWindowVisible(HintWindow->Handle()));
  EXPECT_EQ(HintWindow->FSD, M.spSkinData1);
  EXPECT_EQ(HintWindow->Caption(), "Convert All Files");
  vantrel::display::SavePng(S.Session.CaptureScreen(), testing::TempDir() + "MainWindowHint.png");
}

TEST_F(MainWindowTest, MenusHoldTheirItemsSeparatorsAndEnabledStates) {
  TMainForm& M = Start();
  std::vector<std::string> Main;
  DescribeMenu(M.spSkinMainMenu1->Items(), "", Main);
  // Without a command-line argument the Tools menu opens the events log.
  const std::vector<std::string> ExpectedMain = {
      "File ", "  Add video files", "  -", "  File Information (off)", "  Start Conversion (off)", "  -", "  Exit",
      "Edit ", "  Remove (off)", "  Clear All (off)", "  Rename (off)", "  -", "  Move Up (off)", "  Move Down (off)",
      "  -", "  Trim Video... (off)", "  Edit Video... (off)",
      "Tools", "  Events Log",
      "Help ", "  Home Page", "  -", "  Support", "  -", "  About"};
  EXPECT_EQ(Main, ExpectedMain);
  std::vector<std::string> List;
  DescribeMenu(M.ListMenu->Items(), "", List);
  const std::vector<std::string> ExpectedList = {
      "Add Video Files...", "-", "Remove", "Clear All", "Rename", "-", "Move Up", "Move Down", "-",
      "Trim Video...", "Edit Video...", "-", "File Information"};
  EXPECT_EQ(List, ExpectedList);
  EXPECT_EQ(M.spSkinMainMenuBar1->MainMenu(), M.spSkinMainMenu1);
}

// A click on each title of the menu bar opens that title's menu under it, whichever title
// was clicked before (the last title first, then each in turn, then the last again).
TEST_F(MainWindowTest, AClickOnEachTitleOfTheMenuBarOpensItsMenu) {
  TMainForm& M = Start();
  M.Show();
  S.Session.PumpUntilIdle();
  TspSkinMainMenuBar* Bar = M.spSkinMainMenuBar1;
  const auto TitleOf = [&](TMenuItem* Item) -> TspSkinMainMenuBarItem* {
    for (TspMenuBarObject* O : Bar->ObjectList)
      if (auto* T = dynamic_cast<TspSkinMainMenuBarItem*>(O); T && T->MenuItem == Item) return T;
    return nullptr;
  };
  struct Case {
    TMenuItem* Item;
    const char* FirstEntry;
  };
  const Case Cases[] = {{M.Help1, "Home Page"},         {M.FileMenuItem, "Add video files"},
                        {M.EditMenuItem, "Remove"},     {M.ToolsMenuItem, "Events Log"},
                        {M.Help1, "Home Page"}};
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Item->Caption());
    TspSkinMainMenuBarItem* T = TitleOf(C.Item);
    ASSERT_NE(T, nullptr);
    // Titles stand side by side inside the bar.
    EXPECT_GT(T->ObjectRect.Left, 0);
    EXPECT_LE(T->ObjectRect.Right, Bar->Width());
    const TPoint P = Bar->ClientToScreen(Point((T->ObjectRect.Left + T->ObjectRect.Right) / 2,
                                               (T->ObjectRect.Top + T->ObjectRect.Bottom) / 2));
    S.Session.Move(P.X, P.Y);
    S.Session.PumpUntilIdle();
    S.Session.Press(P.X, P.Y);
    S.Session.PumpUntilIdle();
    S.Session.Release(P.X, P.Y);
    S.Session.PumpUntilIdle();
    ASSERT_TRUE(M.spFormSkin1->SkinMenuVisible());
    TspSkinPopupWindow* Level = M.spFormSkin1->SkinMenu->Level(0);
    ASSERT_FALSE(Level->ItemList.empty());
    EXPECT_EQ(Level->ItemList.front()->MenuItem->Caption(), C.FirstEntry);
    EXPECT_TRUE(T->FDown);
    // The menu drops below its title.
    EXPECT_EQ(Level->Top(), Bar->ClientToScreen(Point(0, T->ObjectRect.Bottom)).Y);
    if (C.Item == M.Help1)
      vantrel::display::SavePng(S.Session.CaptureScreen(), testing::TempDir() + "MainWindowHelpMenu.png");
    M.spFormSkin1->HideSkinMenu();
    S.Session.PumpUntilIdle();
    EXPECT_FALSE(M.spFormSkin1->SkinMenuVisible());
  }
}

TEST(OpenDialogFilter, ListsThreeCollectiveEntriesOnePerTypeAndAllFiles) {
  const std::vector<String> Parts = SplitFilterText(BuildOpenDialogFilter({}));
  ASSERT_EQ(Parts.size(), 76u);  // 38 entries of description and patterns
  EXPECT_EQ(Parts[0], "All Supported Formats");
  EXPECT_EQ(Parts[2], "Video Formats");
  EXPECT_EQ(Parts[4], "Audio Formats");
  EXPECT_EQ(Parts[74], "All Files (*)");
  EXPECT_EQ(Parts[75], "*");
  // Every pattern list of the per-type entries ends with ";" and stands in the collective
  // entry, in order; the collective entry adds the .m2ts no type entry names with its dot.
  String All;
  for (size_t I = 6; I < 74; I += 2) {
    EXPECT_EQ(Parts[I + 1].back(), ';') << Parts[I];
    All += Parts[I + 1];
  }
  EXPECT_EQ(Parts[1], All + "*.m2ts;");
  EXPECT_EQ(Parts[3] + Parts[5], All);
  struct Entry {
    size_t Index;
    const char* Description;
    const char* Patterns;
  } Entries[] = {
      {6, "MOD files (*.mod)", "*.mod;"},
      {8, "High-definition files (*.mts; *.ts; *m2ts; *.tp)", "*.mts; *.ts; *m2ts; *.tp;"},
      {38, "Video Object files (*.vob)", "*.vob;"},
      {40, "Advanced Audio Coding (*.aac)", "*.aac;"},
      {44, "Monkey's Audio (*.ape)", "*.ape;"},
      {72, "Windows Media Audio (*.wma)", "*.wma;"},
  };
  for (const Entry& E : Entries) {
    SCOPED_TRACE(E.Description);
    EXPECT_EQ(Parts[E.Index], E.Description);
    EXPECT_EQ(Parts[E.Index + 1], E.Patterns);
  }
}

// The names the dialog's own matcher lets through each entry, with the catalogue giving
// the program's own output types: those join "All Supported Formats" once each, "All Files"
// takes every name, also one without a dot.
TEST(OpenDialogFilter, SupportedFormatsTakeTheCatalogueOutputsAndAllFilesTakesEveryName) {
  std::vector<TFormat> Formats(7);
  const char* Exts[] = {".webm", ".ogv", ".opus", ".flac", ".m4a", ".MP4", ".webm"};
  for (size_t I = 0; I < Formats.size(); ++I) Formats[I].FormatExt = Exts[I];
  const std::vector<String> Parts = SplitFilterText(BuildOpenDialogFilter(Formats));
  ASSERT_EQ(Parts.size(), 76u);
  const String& Supported = Parts[1];
  const String& Everything = Parts[75];
  struct Case {
    const char* Name;
    bool InSupported;
  } Cases[] = {
      {"clip.webm", true},   {"clip.ogv", true},      {"song.opus", true},   {"song.flac", true},
      {"song.m4a", true},    {"CLIP.WEBM", true},     {"movie.mkv", true},   {"cam.MTS", true},
      {"disc.m2ts", true},   {"clip.mp4", true},      {"notes.txt", false},  {"README", false},
      {"archive.tar.gz", false}, {".hidden", false},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    EXPECT_EQ(MatchesMaskList(C.Name, Supported), C.InSupported);
    EXPECT_TRUE(MatchesMaskList(C.Name, Everything));
  }
  // Each pattern once: ".MP4" is the listed "*.mp4", the second ".webm" adds nothing.
  for (const char* Pattern : {"*.webm;", "*.mp4;"}) {
    const size_t First = Supported.find(Pattern);
    ASSERT_NE(First, String::npos) << Pattern;
    EXPECT_EQ(Supported.find(Pattern, First + 1), String::npos) << Pattern;
  }
}

TEST_F(MainWindowTest, SkinEffectsStartOnAndSwitchTogether) {
  TMainForm& M = Start();
  TspSkinData& D = *M.spSkinData1;
  auto Flags = [&D] {
    return std::vector<bool>{D.EnableSkinEffects(), D.AeroBlurEnabled(), D.ShowLayeredBorders(),
                             D.ShowButtonGlowFrames(), D.ShowCaptionButtonGlowFrames()};
  };
  EXPECT_EQ(Flags(), (std::vector<bool>{true, true, true, true, true}));
  M.SetSkinEffects(false);
  // The caption buttons' glow frames are not among the effects.
  EXPECT_EQ(Flags(), (std::vector<bool>{false, false, false, false, true}));
  M.SetSkinEffects(true);
  EXPECT_EQ(Flags(), (std::vector<bool>{true, true, true, true, true}));
}

TEST_F(MainWindowTest, AddVideoOpensTheOpenDialogWithEveryFileType) {
  TMainForm& M = Start();
  M.Show();
  S.Session.PumpUntilIdle();
  String Caption;
  Integer Types = -1;
  TOwned<TTimer> Close = CreateOwned<TTimer>(nullptr);
  Close->SetInterval(20);
  Close->OnTimer = [&](TObject*) {
    TspOpenDlgForm* F = M.dlgopen->Form();
    if (!F || !F->Visible() || F->ModalResult() != mrNone) return;
    Caption = F->Caption();
    Types = F->FilterComboBox->Items()->Count();
    vantrel::display::SavePng(S.Session.CaptureScreen(), testing::TempDir() + "OpenDialog.png");
    F->SetModalResult(mrCancel);
  };
  const TPoint P = vantrel::uitest::CentreOf(M.AddButton);
  S.Session.Press(P.X, P.Y);
  S.Session.Release(P.X, P.Y);
  S.Session.PumpUntilIdle();
  EXPECT_EQ(Caption, "Open file");
  EXPECT_EQ(Types, 38);  // the last one all files
  EXPECT_TRUE(MainUnit().VideoFiles.empty());
}

TEST_F(MainWindowTest, TheProfileFieldLightsUpUnderThePointer) {
  TMainForm& M = Start();
  M.Show();
  S.Session.PumpUntilIdle();
  // A point of the field's picture left of the icon and the label.
  const TPoint Probe = M.imgProfileField->ClientToScreen(Point(3, M.imgProfileField->Height() / 2));
  const auto FieldColour = [&] { return vantrel::uitest::RgbAt(S.Session.CaptureScreen(), Probe.X, Probe.Y); };
  const uint32_t Normal = FieldColour();
  const TPoint Away = vantrel::uitest::CentreOf(M.StartButton);
  struct Step {
    TControl* Over;  // where the pointer goes; nullptr: off the field
    bool Lit;
  };
  for (const Step& Step : {Step{M.imgProfileField, true}, Step{nullptr, false}, Step{M.lblProfile, true},
                           Step{nullptr, false}, Step{M.imgProfileIcon, true}}) {
    const TPoint P = Step.Over ? vantrel::uitest::CentreOf(Step.Over) : Away;
    SCOPED_TRACE(Step.Over ? Step.Over->Name() : String("away"));
    S.Session.Move(P.X, P.Y);
    S.Session.PumpUntilIdle();
    EXPECT_EQ(FieldColour() != Normal, Step.Lit);
  }
}

// The snapshot button shows a drop-down arrow in its right part, and a press there opens
// the snapshot menu under the button without taking a snapshot.
TEST_F(MainWindowTest, TheSnapshotButtonShowsItsArrowPartAndOpensTheMenuFromIt) {
  TMainForm& M = Start();
  M.Show();
  S.Session.PumpUntilIdle();
  TspSkinMenuButton* B = M.spSkinMenuButton1;
  const TPoint Origin = B->ClientToScreen(Point(0, 0));
  const auto Screen = S.Session.CaptureScreen();
  const auto Pixel = [&](int X, int Y) { return vantrel::uitest::RgbAt(Screen, Origin.X + X, Origin.Y + Y); };
  const TRect Track = B->GetTrackPartRect();
  ASSERT_FALSE(IsRectEmpty(&Track));
  EXPECT_EQ(Track.Right, B->Width());
  EXPECT_TRUE(vantrel::test::IsDownArrowInk(vantrel::test::GlyphInkRows(Pixel, Track)));
  // The camera picture sits in the main part, left of the arrow part.
  EXPECT_FALSE(vantrel::test::GlyphInkRows(Pixel, Rect(0, 0, Track.Left, B->Height())).empty());
  const TPoint P = B->ClientToScreen(Point((Track.Left + Track.Right) / 2, B->Height() / 2));
  S.Session.Move(P.X, P.Y);
  S.Session.Press(P.X, P.Y);
  S.Session.PumpUntilIdle();
  EXPECT_TRUE(B->MenuTracked());
  ASSERT_TRUE(M.spFormSkin1->SkinMenuVisible());
  // The menu drops below the button.
  EXPECT_EQ(M.spFormSkin1->SkinMenu->Level(0)->Top(), Origin.Y + B->Height());
  vantrel::display::SavePng(S.Session.CaptureScreen(), testing::TempDir() + "SnapshotMenu.png");
  S.Session.Release(P.X, P.Y);
  S.Session.PumpUntilIdle();
  EXPECT_TRUE(B->Down());
  M.spFormSkin1->HideSkinMenu();
  S.Session.PumpUntilIdle();
  EXPECT_FALSE(B->Down());
}

// The output-folder field's button opens the folder dialog: it shows three dots, not the
// drop-down arrow of a list.
TEST_F(MainWindowTest, TheOutputFolderButtonShowsThreeDots) {
  TMainForm& M = Start();
  M.Show();
  S.Session.PumpUntilIdle();
  TspSkinDirectoryEdit* E = M.edDestinationFolder;
  // The button lies in the edit's frame: its place is in window coordinates.
  const TPoint Origin = E->Parent()->ClientToScreen(Point(E->Left(), E->Top()));
  const auto Screen = S.Session.CaptureScreen();
  const auto Pixel = [&](int X, int Y) { return vantrel::uitest::RgbAt(Screen, Origin.X + X, Origin.Y + Y); };
  const TRect Button = E->EditButtonRect();
  ASSERT_FALSE(IsRectEmpty(&Button));
  EXPECT_EQ(vantrel::test::MostGlyphInkRuns(Pixel, Button), 3);
  EXPECT_FALSE(vantrel::test::IsDownArrowInk(vantrel::test::GlyphInkRows(Pixel, Button)));
}

// The main window's frame draws the skin's minimize, maximize and roll-up buttons; a click on
// minimize puts the window away and restoring brings it back at its size.
TEST_F(MainWindowTest, TheCaptionButtonsMinimizeTheMainWindow) {
  TMainForm& M = Start();
  M.Show();
  S.Session.PumpUntilIdle();
  const TRect Before = M.BoundsRect();
  TspActiveSkinObject* Min = nullptr;
  for (TspActiveSkinObject* O : M.spFormSkin1->ObjectList)
    if (auto* B = dynamic_cast<TspSkinStdButtonObject*>(O); B && B->Command == cmMinimize && B->Visible) Min = B;
  ASSERT_NE(Min, nullptr);
  ASSERT_TRUE(Min->Enabled);
  const TPoint P = Point(M.Left() + (Min->ObjectRect.Left + Min->ObjectRect.Right) / 2,
                         M.Top() + (Min->ObjectRect.Top + Min->ObjectRect.Bottom) / 2);
  S.Session.Move(P.X, P.Y);
  S.Session.PumpUntilIdle();
  S.Session.Advance(100);  // the frame's mouse timer follows the pointer
  S.Session.Press(P.X, P.Y);
  S.Session.PumpUntilIdle();
  S.Session.Release(P.X, P.Y);
  S.Session.PumpUntilIdle();
  EXPECT_TRUE(IsIconic(M.Handle()));
  ShowWindow(M.Handle(), SW_RESTORE);
  S.Session.PumpUntilIdle();
  EXPECT_FALSE(IsIconic(M.Handle()));
  EXPECT_EQ(M.BoundsRect(), Before);
}

// A title pushed out of a narrowed window comes back, and opens by a click, once the window
// has its width again, whether it was widened while shown or while hidden.
TEST_F(MainWindowTest, ATitlePushedOutOfANarrowWindowOpensByAClickOnceItIsBack) {
  TMainForm& M = Start();
  M.Show();
  S.Session.PumpUntilIdle();
  TspSkinMainMenuBar* Bar = M.spSkinMainMenuBar1;
  const Integer Width = M.ClientWidth();
  TspSkinMainMenuBarItem* Help = nullptr;
  for (TspMenuBarObject* O : Bar->ObjectList)
    if (auto* T = dynamic_cast<TspSkinMainMenuBarItem*>(O); T && T->MenuItem == M.Help1) Help = T;
  ASSERT_NE(Help, nullptr);
  // Where the title stands in the window at its own width.
  const TPoint P = Bar->ClientToScreen(
      Point((Help->ObjectRect.Left + Help->ObjectRect.Right) / 2, (Help->ObjectRect.Top + Help->ObjectRect.Bottom) / 2));
  for (const bool WhileHidden : {false, true}) {
    SCOPED_TRACE(WhileHidden ? "widened while hidden" : "widened while shown");
    M.SetClientWidth(150);
    S.Session.PumpUntilIdle();
    EXPECT_FALSE(Help->Visible);
    if (WhileHidden) M.Hide();
    S.Session.PumpUntilIdle();
    M.SetClientWidth(Width);
    S.Session.PumpUntilIdle();
    if (WhileHidden) M.Show();
    S.Session.PumpUntilIdle();
    EXPECT_TRUE(Help->Visible);
    S.Session.Move(P.X, P.Y);
    S.Session.PumpUntilIdle();
    S.Session.Press(P.X, P.Y);
    S.Session.PumpUntilIdle();
    S.Session.Release(P.X, P.Y);
    S.Session.PumpUntilIdle();
    ASSERT_TRUE(M.spFormSkin1->SkinMenuVisible());
    EXPECT_EQ(M.spFormSkin1->SkinMenu->Level(0)->ItemList.front()->MenuItem, M.Help2);
    M.spFormSkin1->HideSkinMenu();
    S.Session.PumpUntilIdle();
  }
}

// The highlight of an open menu of the bar follows the keys and the pointer: opened, the
// first enabled item is lit; Down lights the second enabled item and Up the first again;
// the pointer on the last enabled item lights that one and no other.
TEST_F(MainWindowTest, TheHighlightOfEachMenuOfTheBarFollowsKeysAndPointer) {
  TMainForm& M = Start();
  M.Show();
  S.Session.PumpUntilIdle();
  // The Edit menu's commands, as a first file enables them.
  for (Integer I = 0; I < M.EditMenuItem->Count(); ++I) M.EditMenuItem->Items(I)->SetEnabled(true);
  TspSkinMainMenuBar* Bar = M.spSkinMainMenuBar1;
  // Tools holds one item only.
  for (TMenuItem* Title : {M.FileMenuItem, M.EditMenuItem, M.Help1}) {
    SCOPED_TRACE(Title->Caption());
    TspSkinMainMenuBarItem* T = nullptr;
    for (TspMenuBarObject* O : Bar->ObjectList)
      if (auto* B = dynamic_cast<TspSkinMainMenuBarItem*>(O); B && B->MenuItem == Title) T = B;
    ASSERT_NE(T, nullptr);
    const TPoint At = Bar->ClientToScreen(Point((T->ObjectRect.Left + T->ObjectRect.Right) / 2,
                                                (T->ObjectRect.Top + T->ObjectRect.Bottom) / 2));
    S.Session.Move(At.X, At.Y);
    S.Session.Press(At.X, At.Y);
    S.Session.Release(At.X, At.Y);
    S.Session.PumpUntilIdle();
    S.Session.Advance(300);
    ASSERT_TRUE(M.spFormSkin1->SkinMenuVisible());
    TspSkinPopupWindow* Level = M.spFormSkin1->SkinMenu->Level(0);
    std::vector<TspSkinMenuItem*> Enabled;
    for (const auto& It : Level->ItemList)
      if (It->MenuItem->Enabled() && It->MenuItem->Caption() != "-") Enabled.push_back(It.get());
    ASSERT_GE(Enabled.size(), 2u);
    // A point in the item's left margin, clear of its text, on the screen.
    const auto Spot = [&](TspSkinMenuItem* It) {
      return Level->ClientToScreen(Point(It->ObjectRect.Left + 3, (It->ObjectRect.Top + It->ObjectRect.Bottom) / 2));
    };
    const auto Looks = [&] {
      const auto Screen = S.Session.CaptureScreen();
      std::vector<uint32_t> L;
      for (TspSkinMenuItem* It : Enabled) L.push_back(vantrel::uitest::RgbAt(Screen, Spot(It).X, Spot(It).Y));
      return L;
    };
    const std::vector<uint32_t> Opened = Looks();
    const uint32_t Lit = Opened[0], Plain = Opened[1];
    ASSERT_NE(Lit, Plain);
    const auto LitOnly = [&](size_t K) {
      const std::vector<uint32_t> L = Looks();
      for (size_t I = 0; I < L.size(); ++I) EXPECT_EQ(L[I], I == K ? Lit : Plain) << "item " << I << " of " << K;
    };
    S.Session.Key(VK_DOWN);
    vantrel::testsupport::PumpApplication(S.Session);
    S.Session.Advance(300);
    LitOnly(1);
    S.Session.Key(VK_UP);
    vantrel::testsupport::PumpApplication(S.Session);
    S.Session.Advance(300);
    LitOnly(0);
    const TPoint Last = Spot(Enabled.back());
    S.Session.Move(Last.X + 10, Last.Y);
    S.Session.PumpUntilIdle();
    S.Session.Advance(300);
    LitOnly(Enabled.size() - 1);
    M.spFormSkin1->HideSkinMenu();
    S.Session.PumpUntilIdle();
  }
}
