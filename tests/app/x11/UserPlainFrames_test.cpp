// What a desktop user sees of the program beyond its skin, driven by pointer and keys under
// a window manager: the program's icon on its main window (_NET_WM_ICON, as task lists and
// window switchers read it); a title typed into the file grid's rename editor under the
// French layout naming the output file; the plain message box at the end of a job and after
// an error report, with its title, border and close button, closed by that button; and the
// main window free of any trace of the "Error!" window once it is gone.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/app/x11/X11ProgramRun.h"
#include "tests/support/ProbeFixtures.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestPaths.h"

#include <X11/XKBlib.h>
#include <X11/Xatom.h>

namespace {

using namespace vantrel::x11apptest;

// The main window's client area and points in it: the first grid row (its
// name column, and its title column where the rename editor opens), the preview's play
// button and the convert button.
constexpr int PlainClientWidth = 792, PlainClientHeight = 449;
constexpr int PlainRowX = 92 + 60, PlainRowY = 29 + 40;
constexpr int PlainTitleX = 92 + 2 + 132 + 70 + 70 + 50;
constexpr int PlainPlayX = 530 + 12, PlainPlayY = 309 + 12;
constexpr int PlainConvertX = 659 + 45, PlainConvertY = 345 + 45;
// Where the pointer rests between steps: empty rows of the grid, over no control that
// changes its look under the pointer.
constexpr int PlainRestX = 92 + 60, PlainRestY = 29 + 200;
// The "Error!" window's client area (375 wide, 255 high for a short message) and its
// Cancel button.
constexpr int PlainReportClientWidth = 375, PlainReportClientHeight = 255;
constexpr int PlainCancelX = 262, PlainCancelY = 222, PlainCancelW = 92, PlainCancelH = 25;

int PlainChannel(uint32_t P, int Shift) { return static_cast<int>((P >> Shift) & 0xFF); }
// The largest difference of one colour channel.
int PlainDistance(uint32_t A, uint32_t B) {
  int D = 0;
  for (int Shift : {0, 8, 16}) D = std::max(D, std::abs(PlainChannel(A, Shift) - PlainChannel(B, Shift)));
  return D;
}
bool PlainDark(uint32_t P) { return PlainChannel(P, 16) < 0x60 && PlainChannel(P, 8) < 0x60 && PlainChannel(P, 0) < 0x60; }

// The server's layout for the test's life (the US one after it), checked first: the key
// that layout moves must give the layout's keysym.
class TPlainLayout {
 public:
  TPlainLayout(const std::string& AName, unsigned AKeyCode, unsigned long AKeysym) {
    if (std::system(("setxkbmap -layout " + AName).c_str()) != 0) return;
    Display* D = XOpenDisplay(nullptr);  // a fresh copy of the map
    if (!D) return;
    FSet = XkbKeycodeToKeysym(D, static_cast<KeyCode>(AKeyCode), 0, 0) == AKeysym;
    XCloseDisplay(D);
  }
  ~TPlainLayout() {
    if (std::system("setxkbmap -layout us") != 0) ADD_FAILURE() << "the US layout could not be restored";
  }
  TPlainLayout(const TPlainLayout&) = delete;
  TPlainLayout& operator=(const TPlainLayout&) = delete;
  bool Set() const { return FSet; }

 private:
  bool FSet = false;
};

// What a frame the program paints itself shows: a dark outer line, a caption band with
// title ink in its left half, and a close button at the band's right end with a dark
// cross. CloseX/CloseY: the button's centre in the window.
struct TPlainFrameSeen {
  bool Border = false;
  int TitleInk = 0;
  int CrossInk = 0;
  int CloseX = -1, CloseY = -1;
};

TPlainFrameSeen PlainLookAtFrame(const TCapture& C) {
  TPlainFrameSeen Seen;
  if (C.Width < 40 || C.Height < 30) return Seen;
  const uint32_t Inside = C.At(C.Width / 2, C.Height - 8);
  Seen.Border = PlainDistance(C.At(0, C.Height / 2), Inside) > 0x40 &&
                PlainDistance(C.At(C.Width / 2, C.Height - 1), Inside) > 0x40;
  // The caption band: from the first row down to where its colour ends.
  const uint32_t Band = C.At(C.Width / 2, 3);
  int Bottom = 3;
  while (Bottom < C.Height / 2 && PlainDistance(C.At(C.Width / 2, Bottom), Band) < 0x10) ++Bottom;
  const int Middle = (3 + Bottom) / 2;
  for (int Y = 2; Y < Bottom; ++Y)
    for (int X = 2; X < C.Width / 2; ++X) Seen.TitleInk += PlainDistance(C.At(X, Y), Band) > 0x60;
  // From the right edge: the border, then the band's colour, then the button up to the
  // band's colour again.
  int X = C.Width - 1;
  while (X > C.Width / 2 && PlainDistance(C.At(X, Middle), Band) >= 0x10) --X;
  while (X > C.Width / 2 && PlainDistance(C.At(X, Middle), Band) < 0x10) --X;
  const int Right = X;
  while (X > C.Width / 2 && PlainDistance(C.At(X, Middle), Band) >= 0x10) --X;
  const int Left = X + 1;
  if (Right - Left < 6) return Seen;
  for (int Y = 3; Y < Bottom - 1; ++Y)
    for (int Xi = Left + 2; Xi < Right - 1; ++Xi) Seen.CrossInk += PlainDark(C.At(Xi, Y));
  Seen.CloseX = (Left + Right) / 2;
  Seen.CloseY = Middle;
  return Seen;
}

// A screen rectangle: left, top, width, height.
struct TPlainRect {
  int X = 0, Y = 0, W = 0, H = 0;
  bool Holds(int AX, int AY) const { return AX >= X && AX < X + W && AY >= Y && AY < Y + H; }
};

// The pixels of a screen rectangle that differ between two captures, leaving out the
// pixels inside ASkips (a window that covers part of it now, a control whose look follows
// the window's activation).
int PlainChangedPixels(const TCapture& ABefore, const TCapture& AAfter, const TPlainRect& AArea,
                       const std::vector<TPlainRect>& ASkips = {}) {
  int Changed = 0;
  for (int Y = AArea.Y; Y < AArea.Y + AArea.H; ++Y)
    for (int X = AArea.X; X < AArea.X + AArea.W; ++X) {
      if (X < 0 || Y < 0 || X >= ABefore.Width || Y >= ABefore.Height) continue;
      bool Skipped = false;
      for (const TPlainRect& S : ASkips) Skipped = Skipped || S.Holds(X, Y);
      if (!Skipped) Changed += ABefore.At(X, Y) != AAfter.At(X, Y);
    }
  return Changed;
}

class UserPlainFrames : public UserLevelTest {
 protected:
  void SetUp() override {
    UserLevelTest::SetUp();
    if (HasFatalFailure() || IsSkipped()) return;
    const TClientOrigin O = ClientOrigin(Dpy, Main, PlainClientWidth, PlainClientHeight);
    Border = O.Border;
    ClientTop = O.Top;
  }
  void Click(int X, int Y) { ClickAt(Dpy, Main, Border + X, ClientTop + Y); }

  // "Add Video", the path typed over the "File name" field's text, Open; returns once the
  // grid shows a first row.
  void AddThroughTheDialog(const std::string& APath) {
    ASSERT_TRUE(AddThroughOpenDialog(Dpy, Main, APath)) << APath;
    // The grid's first row shows the file's name in dark ink.
    ASSERT_TRUE(WaitUntil(
        [&] {
          const TCapture C = CaptureWindow(Dpy, Main);
          for (int Y = ClientTop + 29 + 25; Y < ClientTop + 29 + 45; ++Y)
            for (int X = Border + 100; X < Border + 220; ++X)
              if (PlainDark(C.At(X, Y))) return true;
          return false;
        },
        20))
        << "the file did not reach the grid";
  }

  // The plain message box titled "Vantrel" (the main window's own title) that is up now,
  // or 0 after ASeconds.
  Window WaitForPlainBox(double ASeconds) {
    Window Box = 0;
    WaitUntil(
        [&] {
          Box = FindOtherWindow(Dpy, "Vantrel", Main);
          return Box != 0;
        },
        ASeconds);
    return Box;
  }

  // Looks at the box's frame (saved as AName on failure), then closes it with a click on
  // its close button.
  void CloseThePlainBoxByItsButton(Window ABox, const std::string& AName) {
    WaitForPaintedCaption(Dpy, ABox, 2);
    usleep(300000);
    const TCapture C = CaptureWindow(Dpy, ABox);
    const TPlainFrameSeen Seen = PlainLookAtFrame(C);
    EXPECT_TRUE(Seen.Border) << "no border around the box";
    EXPECT_GT(Seen.TitleInk, 20) << "no title on the box's caption";
    ASSERT_GE(Seen.CloseX, 0) << "no close button at the caption's right end";
    EXPECT_GT(Seen.CrossInk, 6) << "the close button shows no cross";
    if (HasFailure()) SaveCapture(C, testing::TempDir() + AName);
    ClickAt(Dpy, ABox, Seen.CloseX, Seen.CloseY);
    EXPECT_TRUE(WaitForUnmap(Dpy, ABox, 10)) << "a click on the close button left the box up";
  }

  int Border = 0, ClientTop = 0;
};

// The icon the desktop shows for the main window: a picture with the caption's mark, a
// white play triangle on the accent square the caption's system-menu button shows.
TEST_F(UserPlainFrames, TheMainWindowCarriesTheProgramsIconForTheDesktop) {
  const Atom NetWmIcon = XInternAtom(Dpy, "_NET_WM_ICON", False);
  Atom Type = 0;
  int Format = 0;
  unsigned long Count = 0, After = 0;
  unsigned char* Data = nullptr;
  ASSERT_EQ(XGetWindowProperty(Dpy, Main, NetWmIcon, 0, 1 << 20, False, XA_CARDINAL, &Type, &Format, &Count, &After,
                               &Data),
            Success);
  ASSERT_NE(Data, nullptr) << "the main window has no _NET_WM_ICON";
  // Format 32 arrives as one long a value: width, height, then ARGB pixels by rows.
  const std::vector<unsigned long> Values(reinterpret_cast<unsigned long*>(Data),
                                          reinterpret_cast<unsigned long*>(Data) + Count);
  XFree(Data);
  ASSERT_EQ(Type, XA_CARDINAL);
  ASSERT_GE(Values.size(), 2u);
  const unsigned long W = Values[0], H = Values[1];
  ASSERT_GE(W, 16u);
  ASSERT_EQ(Values.size(), 2 + W * H) << "one picture of " << W << " x " << H;
  auto Pixel = [&](unsigned long X, unsigned long Y) { return static_cast<uint32_t>(Values[2 + Y * W + X]); };
  EXPECT_EQ(Pixel(W / 2, H / 2), 0xFFFFFFFFu) << "the play triangle is opaque white";
  EXPECT_EQ(Pixel(0, 0) >> 24, 0u) << "the rounded corner is transparent";
  const uint32_t Square = Pixel(W / 6, H / 2);
  EXPECT_EQ(Square >> 24, 0xFFu);
  // The caption's mark, left in the caption band, shows the same square colour.
  const TCapture C = CaptureWindow(Dpy, Main);
  int Same = 0;
  for (int Y = 0; Y < ClientTop; ++Y)
    for (int X = 0; X < std::min(C.Width, 60); ++X) Same += C.At(X, Y) == (Square & 0xFFFFFF);
  EXPECT_GT(Same, 20) << "the caption's mark does not show the icon's colour";
}

// Under the French layout the title typed into the rename editor ("é" and "à" on their
// own keys, "1" shifted) names the output; the notice at the end of the job is a plain
// message box whose close button closes it.
TEST_F(UserPlainFrames, ATitleTypedUnderTheFrenchLayoutNamesTheOutput) {
  const std::string Source = Program->Home().File("clip.mp4");
  vantrel::test::CopyMediaFile(vantrel::test::FixturePath("v.mp4"), Source);
  AddThroughTheDialog(Source);
  if (HasFatalFailure()) return;

  const std::string Title = "\xC3\xA9" "1\xC3\xA0";  // e-acute, 1, a-grave
  const TPlainLayout French("fr", 11, 0xe9);
  ASSERT_TRUE(French.Set()) << "the French layout did not take effect on the server";
  Click(PlainTitleX, PlainRowY);  // the title column opens the editor with its text selected
  usleep(300000);
  ASSERT_TRUE(TypeText(Dpy, Title));
  PressKeys(Dpy, "Return");

  Click(PlainConvertX, PlainConvertY);
  const Window Progress = WaitForWindow(Dpy, "Conversion", 30);
  ASSERT_NE(Progress, 0u) << "the convert button started no conversion";
  // The default format keeps no sound: the job ends with a notice.
  const Window Notice = WaitForPlainBox(150);
  ASSERT_NE(Notice, 0u) << "no notice at the end of the job";
  CloseThePlainBoxByItsButton(Notice, "x11-plain-notice.png");
  ASSERT_TRUE(WaitForUnmap(Dpy, Progress, 30)) << "the job did not end";

  const std::string Folder = Program->Home().File("Documents/Quillmoor/Vantrel/Output");
  ASSERT_EQ(FolderEntries(Folder), std::vector<std::string>{Title + ".mp4"});
  EXPECT_FALSE(vantrel::test::FFProbeEntries(Folder + "/" + Title + ".mp4", "format=duration").empty())
      << "ffprobe cannot read the output";
}

// A file gone before it plays: the "Error!" window reports it; closed by Cancel, it is
// followed by a plain message box. Neither the report's Cancel button nor the box leaves
// a trace on the main window. The first report sets the main window as a failed play
// leaves it; the second is the one watched.
TEST_F(UserPlainFrames, TheErrorWindowAndTheBoxAfterItLeaveNoTrace) {
  const std::string Clip = Program->Home().File("gone.mp4");
  const std::string Make = "ffmpeg -nostdin -v error -y -f lavfi -i testsrc=size=160x120:rate=25:duration=2 "
                           "-c:v libx264 -pix_fmt yuv420p '" + Clip + "'";
  ASSERT_EQ(std::system(Make.c_str()), 0) << Make;
  AddThroughTheDialog(Clip);
  if (HasFatalFailure()) return;
  std::filesystem::remove(Clip);
  Click(PlainRowX, PlainRowY);
  TCapture Before;
  for (int Round = 0; Round < 2; ++Round) {
    SCOPED_TRACE(Round == 0 ? "first report" : "second report");
    MovePointerTo(Dpy, Main, Border + PlainRestX, ClientTop + PlainRestY);
    usleep(500000);
    Before = CaptureScreen(Dpy);
    Click(PlainPlayX, PlainPlayY);
    const Window Report = WaitForWindow(Dpy, "Error!", 20);
    ASSERT_NE(Report, 0u) << "the missing file is not reported";
    WaitForPaintedCaption(Dpy, Report, 4);
    usleep(500000);
    const auto [ReportX, ReportY] = RootOrigin(Dpy, Report);
    const auto [ReportW, ReportH] = WindowSize(Dpy, Report);
    const TClientOrigin ReportClient = ClientOrigin(Dpy, Report, PlainReportClientWidth, PlainReportClientHeight);
    const int CancelX = ReportClient.Border + PlainCancelX + PlainCancelW / 2;
    const int CancelY = ReportClient.Top + PlainCancelY + PlainCancelH / 2;
    // The pointer rests on Cancel (its hover look shows), then clicks it.
    MovePointerTo(Dpy, Report, CancelX, CancelY);
    usleep(500000);
    ClickAt(Dpy, Report, CancelX, CancelY);
    ASSERT_TRUE(WaitForUnmap(Dpy, Report, 10)) << "Cancel left the report up";

    const Window Box = WaitForPlainBox(20);
    ASSERT_NE(Box, 0u) << "no message box after the report";
    WaitForPaintedCaption(Dpy, Box, 2);
    usleep(500000);
    const auto [BoxX, BoxY] = RootOrigin(Dpy, Box);
    const auto [BoxW, BoxH] = WindowSize(Dpy, Box);
    const TCapture WithBox = CaptureScreen(Dpy);
    CloseThePlainBoxByItsButton(Box, "x11-plain-report-box.png");
    MovePointerTo(Dpy, Main, Border + PlainRestX, ClientTop + PlainRestY);
    usleep(500000);
    const TCapture After = CaptureScreen(Dpy);
    if (Round == 0) continue;
    // The play button shows its focus only while the main window is active.
    const auto [MainX, MainY] = RootOrigin(Dpy, Main);
    const TPlainRect Play{MainX + Border + PlainPlayX - 14, MainY + ClientTop + PlainPlayY - 14, 28, 28};
    const TPlainRect Cancel{ReportX + CancelX - PlainCancelW / 2 - 4, ReportY + CancelY - PlainCancelH / 2 - 4,
                            PlainCancelW + 8, PlainCancelH + 8};
    EXPECT_EQ(PlainChangedPixels(Before, WithBox, Cancel, {TPlainRect{BoxX, BoxY, BoxW, BoxH}, Play}), 0)
        << "the report's Cancel button left a trace while the box is up";
    EXPECT_EQ(PlainChangedPixels(Before, After, TPlainRect{ReportX, ReportY, ReportW, ReportH}), 0)
        << "the main window shows a trace where the report was";
    EXPECT_EQ(PlainChangedPixels(Before, After, TPlainRect{BoxX, BoxY, BoxW, BoxH}), 0)
        << "the main window shows a trace where the box was";
    if (HasFailure()) {
      SaveCapture(Before, testing::TempDir() + "x11-plain-before.png");
      SaveCapture(WithBox, testing::TempDir() + "x11-plain-with-box.png");
      SaveCapture(After, testing::TempDir() + "x11-plain-after.png");
    }
  }
}

}  // namespace
