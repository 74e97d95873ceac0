// The file grid, the profile chooser and the Events Log as a user meets them under a window
// manager, with files added through the open dialog: a clicked row shows in the row colour,
// Remove from a right-click removes the row under the pointer, the wheel scrolls the Audio
// formats down to "MP2 Audio", and a long log shows its scroll bar and follows the wheel.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "tests/app/x11/X11ProgramRun.h"
#include "tests/support/TestPaths.h"

namespace {

using namespace vantrel::x11apptest;

// The main window's client area as the program lays it out.
constexpr int GlClientWidth = 792;
constexpr int GlClientHeight = 449;
constexpr int GlAddVideoX = 45, GlAddVideoY = 29 + 45;
// The file grid: its rows are 20 high below a 20-high header, from the grid's top at 29
// (plus its frame); a point in the Source column right of the names, and where the names
// are written.
constexpr int GlGridTop = 29 + 4;
constexpr int GlRowHeight = 20;
constexpr int GlRowBlankX = 92 + 120;
constexpr int GlNameLeft = 92 + 24, GlNameRight = 92 + 110;
// The menu bar's "Tools" title.
constexpr int GlToolsX = 94, GlToolsY = 10;
// The profile field (the chooser opens above it with its left edge on the field's) and
// the chooser: profiles in rows of 25 from 5, formats right of 148, its lowest format row
// 47 above its bottom edge.
constexpr int GlFieldX = 12 + 70, GlFieldY = 348 + 6;
constexpr int GlProfileRowsTop = 5, GlProfileRowHeight = 25;
constexpr int GlFormatsX = 148 + 170;
constexpr int GlLastFormatFromBottom = 47;
// The band of the profile the chooser shows.
constexpr uint32_t GlShownProfileGrey = 0xA8A8A8;
// The open dialog: the file list's first row, and the Open button from the bottom band.
constexpr int GlListFirstX = 51, GlListFirstY = 66;
constexpr int GlBandHeight = 80;
constexpr int GlOpenFromRight = 45, GlOpenY = 22;
// The Events Log's memo, in the log window: the text area and its vertical bar's column.
constexpr int GlLogTextLeft = 14, GlLogTextRight = 360, GlLogTop = 40, GlLogBottom = 245;
constexpr int GlLogBarX = 384;

void GlWait(double ASeconds) {
  WaitUntil([] { return false; }, ASeconds);
}

bool GlInk(uint32_t P) { return ((P >> 16) & 0xFF) < 0x70 && ((P >> 8) & 0xFF) < 0x70 && (P & 0xFF) < 0x70; }

// Relative luminance of an sRGB colour 0xRRGGBB, and the contrast ratio of two colours.
double GlLuminance(uint32_t P) {
  const auto Lin = [](int C) {
    const double S = C / 255.0;
    return S <= 0.03928 ? S / 12.92 : std::pow((S + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * Lin((P >> 16) & 0xFF) + 0.7152 * Lin((P >> 8) & 0xFF) + 0.0722 * Lin(P & 0xFF);
}

double GlContrast(uint32_t A, uint32_t B) {
  const double La = GlLuminance(A), Lb = GlLuminance(B);
  return (std::max(La, Lb) + 0.05) / (std::min(La, Lb) + 0.05);
}

class UserGridAndLists : public UserLevelTest {
 protected:
  int Border = 0, ClientTop = 0;

  void SetUp() override {
    UserLevelTest::SetUp();
    if (HasFatalFailure() || IsSkipped()) return;
    const TClientOrigin O = ClientOrigin(Dpy, Main, GlClientWidth, GlClientHeight);
    Border = O.Border;
    ClientTop = O.Top;
  }
  int X(int AClientX) const { return Border + AClientX; }
  int Y(int AClientY) const { return ClientTop + AClientY; }
  // The middle of file row ARow (1 = the first file).
  int RowY(int ARow) const { return Y(GlGridTop + ARow * GlRowHeight + GlRowHeight / 2); }

  // Copies of the media fixture in the dialog's first folder (~/Videos), named ANames.
  void PutClips(const std::vector<std::string>& ANames) {
    for (const std::string& Name : ANames)
      vantrel::test::CopyMediaFile(vantrel::test::FixturePath("v.mp4"), Program->Home().File("Videos/" + Name));
  }
  // "Add Video"; in the open dialog a click on the first file, Shift+End to the last, Open.
  void AddAllThroughTheDialog(int AExpectedRows) {
    ClickAt(Dpy, Main, X(GlAddVideoX), Y(GlAddVideoY));
    const Window Dialog = WaitForWindow(Dpy, "Open file", 20);
    ASSERT_NE(Dialog, 0u);
    WaitForPaintedCaption(Dpy, Dialog, 8);
    const auto [DW, DH] = WindowSize(Dpy, Dialog);
    const int OpenX = DW - Border - GlOpenFromRight, OpenY = DH - Border - GlBandHeight + GlOpenY;
    // The list is filled once the first row shows a name.
    ASSERT_TRUE(WaitUntil(
        [&] {
          const TCapture C = CaptureWindow(Dpy, Dialog);
          for (int Dx = 0; Dx < 60; ++Dx)
            if (GlInk(C.At(GlListFirstX + Dx, GlListFirstY))) return true;
          return false;
        },
        20));
    ClickAt(Dpy, Dialog, GlListFirstX, GlListFirstY);
    GlWait(0.5);
    PressKeys(Dpy, "shift+End");
    GlWait(0.5);
    ClickAt(Dpy, Dialog, OpenX, OpenY);
    ASSERT_TRUE(WaitForUnmap(Dpy, Dialog, 20));
    // Every file is in once the last row shown (of eleven) holds a name and the grid stays
    // the same for a second.
    const int LastShown = std::min(AExpectedRows, 11);
    std::vector<uint32_t> Last;
    WaitUntil(
        [&] {
          const TCapture Now = CaptureWindow(Dpy, Main);
          const bool Same = Now.Pixels == Last && !RowInk(Now, LastShown).empty();
          Last = Now.Pixels;
          if (!Same) GlWait(1);
          return Same;
        },
        60);
    const TCapture C = CaptureWindow(Dpy, Main);
    SaveCapture(C, testing::TempDir() + "x11-grid-files-added.png");
    ASSERT_FALSE(RowInk(C, LastShown).empty()) << "not every file arrived in the grid";
  }
  // Where the name in file row ARow begins and ends (its leftmost and rightmost ink), to
  // tell names of different lengths apart whatever colour the row has; {-1, -1} when empty.
  std::pair<int, int> NameExtent(const TCapture& C, int ARow) const {
    std::pair<int, int> E{-1, -1};
    for (int V : RowInk(C, ARow)) {
      const int Xx = V % 1000;
      E.first = E.first < 0 ? Xx : std::min(E.first, Xx);
      E.second = std::max(E.second, Xx);
    }
    return E;
  }
  // The dark pixels of the name in file row ARow, as offsets within the name's area.
  std::vector<int> RowInk(const TCapture& C, int ARow) const {
    std::vector<int> Ink;
    const int Top = Y(GlGridTop + ARow * GlRowHeight);
    for (int Yy = Top + 2; Yy < Top + GlRowHeight - 2; ++Yy)
      for (int Xx = X(GlNameLeft); Xx < X(GlNameRight); ++Xx)
        if (GlInk(C.At(Xx, Yy))) Ink.push_back((Yy - Top) * 1000 + Xx);
    return Ink;
  }
};

// A click on the second file shows its row in a colour that stands out from the white rows
// (3:1 at least) and keeps the black names readable on it (4.5:1); the others stay white.
TEST_F(UserGridAndLists, AClickedRowShowsInTheRowColour) {
  PutClips({"first.mp4", "second.mp4", "third.mp4"});
  AddAllThroughTheDialog(3);
  if (HasFatalFailure()) return;
  ClickAt(Dpy, Main, X(GlRowBlankX), RowY(2));
  GlWait(0.5);
  const TCapture C = CaptureWindow(Dpy, Main);
  SaveCapture(C, testing::TempDir() + "x11-grid-row-colour.png");
  const uint32_t Row2 = C.At(X(GlRowBlankX), RowY(2)) & 0xFFFFFF;
  EXPECT_EQ(C.At(X(GlRowBlankX), RowY(1)) & 0xFFFFFF, 0xFFFFFFu);
  EXPECT_EQ(C.At(X(GlRowBlankX), RowY(3)) & 0xFFFFFF, 0xFFFFFFu);
  EXPECT_GE(GlContrast(Row2, 0xFFFFFF), 3.0) << std::hex << Row2;
  EXPECT_GE(GlContrast(Row2, 0x000000), 4.5) << std::hex << Row2;
}

// With the first file current, a right-click on the third and Remove from its menu (Down
// past "Add Video Files...", Enter) removes the third; the first two stay as they were.
TEST_F(UserGridAndLists, RemoveFromTheRightClickMenuRemovesThePointedRow) {
  PutClips({"a.mp4", "bb bb.mp4", "ccc ccc ccc.mp4"});
  AddAllThroughTheDialog(3);
  if (HasFatalFailure()) return;
  ClickAt(Dpy, Main, X(GlRowBlankX), RowY(1));
  GlWait(0.3);
  const TCapture Before = CaptureWindow(Dpy, Main);
  ASSERT_FALSE(RowInk(Before, 3).empty());
  ClickAt(Dpy, Main, X(GlRowBlankX), RowY(3), 3);
  GlWait(0.6);
  SaveCapture(CaptureScreen(Dpy), testing::TempDir() + "x11-grid-row-menu.png");
  PressKeys(Dpy, "Down");
  PressKeys(Dpy, "Return");
  ASSERT_TRUE(WaitUntil([&] { return RowInk(CaptureWindow(Dpy, Main), 3).empty(); }, 10))
      << "the third row is still there";
  const TCapture After = CaptureWindow(Dpy, Main);
  SaveCapture(After, testing::TempDir() + "x11-grid-row-removed.png");
  // The three names differ in length: the first two rows still end where they did.
  EXPECT_NEAR(NameExtent(After, 1).second, NameExtent(Before, 1).second, 1) << "the first file moved";
  EXPECT_NEAR(NameExtent(After, 2).second, NameExtent(Before, 2).second, 1) << "the second file moved";
  EXPECT_GT(NameExtent(Before, 3).second, NameExtent(Before, 2).second + 10);
}

// In the chooser, the pointer rests on "Audio" (its fourth profile); the wheel over the
// formats brings the last one, "MP2 Audio", into view at the bottom, where a click chooses
// it: the settings written at exit name Audio (3) and its tenth format (9).
TEST_F(UserGridAndLists, TheWheelBringsMp2AudioIntoViewInTheChooser) {
  PutClips({"clip.mp4"});
  AddAllThroughTheDialog(1);
  if (HasFatalFailure()) return;
  const auto [MainX, MainY] = RootOrigin(Dpy, Main);
  const Window Root = DefaultRootWindow(Dpy);
  const int Left = MainX + X(GlFieldX), Bottom = MainY + Y(GlFieldY);
  ClickAt(Dpy, Main, X(GlFieldX + 120), Y(GlFieldY + 14));
  GlWait(1);
  // The chooser opens on the current profile, the first, whose row is drawn grey: the
  // chooser's top lies just above that band.
  int Top = -1;
  ASSERT_TRUE(WaitUntil(
      [&] {
        const TCapture Shown = CaptureScreen(Dpy);
        for (int Yy = std::max(0, Bottom - 600); Yy < Bottom && Top < 0; ++Yy)
          if ((Shown.At(Left + 60, Yy) & 0xFFFFFF) == GlShownProfileGrey) Top = Yy - GlProfileRowsTop;
        return Top >= 0;
      },
      10))
      << "the chooser did not open";
  SaveCapture(CaptureScreen(Dpy), testing::TempDir() + "x11-chooser-open.png");
  MovePointerTo(Dpy, Root, Left + 60, Top + GlProfileRowsTop + 3 * GlProfileRowHeight + 12);
  GlWait(0.9);  // the formats follow a profile the pointer rests on
  MovePointerTo(Dpy, Root, Left + GlFormatsX, Top + 200);
  GlWait(0.3);
  const TCapture BeforeWheel = CaptureScreen(Dpy);
  TurnWheel(Dpy, Root, Left + GlFormatsX, Top + 200, 12);
  GlWait(0.6);
  const TCapture AfterWheel = CaptureScreen(Dpy);
  SaveCapture(AfterWheel, testing::TempDir() + "x11-chooser-wheel.png");
  int Changed = 0;
  for (int Yy = Top + 10; Yy < Bottom - 10; ++Yy)
    for (int Xx = Left + 150; Xx < Left + 480; ++Xx) Changed += BeforeWheel.At(Xx, Yy) != AfterWheel.At(Xx, Yy);
  ASSERT_GT(Changed, 2000) << "the wheel did not move the formats";
  ClickAt(Dpy, Root, Left + GlFormatsX, Bottom - GlLastFormatFromBottom);
  GlWait(0.6);
  AskToClose(Dpy, Main);
  ASSERT_EQ(Program->WaitExit(30), 0);
  std::ifstream In(Program->Home().File("config/vantrel/registry.ini"));
  std::stringstream Settings;
  Settings << In.rdbuf();
  EXPECT_NE(Settings.str().find("recentprofileind=dword:3"), std::string::npos) << Settings.str();
  EXPECT_NE(Settings.str().find("recentformatind=dword:9"), std::string::npos) << Settings.str();
}

// Sixty files added at once write sixty lines into the Events Log: its memo shows a
// vertical scroll bar, and the wheel over the text scrolls both the text and the thumb.
TEST_F(UserGridAndLists, ALongEventsLogShowsItsScrollBarAndFollowsTheWheel) {
  std::vector<std::string> Names;
  for (int I = 10; I < 70; ++I) Names.push_back("clip" + std::to_string(I) + ".mp4");
  PutClips(Names);
  AddAllThroughTheDialog(60);
  if (HasFatalFailure()) return;
  ClickAt(Dpy, Main, X(GlToolsX), Y(GlToolsY));
  GlWait(0.5);
  PressKeys(Dpy, "Return");  // "Events Log", the menu's only item
  const Window Log = WaitForWindow(Dpy, "Events Log", 20);
  ASSERT_NE(Log, 0u);
  GlWait(1);
  const TCapture Before = CaptureWindow(Dpy, Log);
  SaveCapture(Before, testing::TempDir() + "x11-events-log.png");
  // The bar: more than the white of an empty memo in its column (arrows, track, thumb).
  std::vector<uint32_t> Column;
  for (int Yy = GlLogTop - 5; Yy < GlLogBottom + 5; ++Yy) Column.push_back(Before.At(GlLogBarX, Yy));
  std::sort(Column.begin(), Column.end());
  EXPECT_GE(std::unique(Column.begin(), Column.end()) - Column.begin(), 3) << "no vertical scroll bar";
  TurnWheel(Dpy, Log, (GlLogTextLeft + GlLogTextRight) / 2, (GlLogTop + GlLogBottom) / 2, 5);
  GlWait(0.6);
  const TCapture After = CaptureWindow(Dpy, Log);
  SaveCapture(After, testing::TempDir() + "x11-events-log-wheel.png");
  int Text = 0, Bar = 0;
  for (int Yy = GlLogTop; Yy < GlLogBottom; ++Yy) {
    for (int Xx = GlLogTextLeft; Xx < GlLogTextRight; ++Xx) Text += Before.At(Xx, Yy) != After.At(Xx, Yy);
    Bar += Before.At(GlLogBarX, Yy) != After.At(GlLogBarX, Yy);
  }
  EXPECT_GT(Text, 500) << "the text did not scroll";
  EXPECT_GT(Bar, 5) << "the thumb did not move";
  PressKeys(Dpy, "Escape");
}

}  // namespace
