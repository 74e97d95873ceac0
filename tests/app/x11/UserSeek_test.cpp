// Seeking as a user does it under a window manager, on clips with one key frame whose
// every picture is a flat grey of its own (luma 40 + n for picture n), so a capture tells
// which picture is on screen (black: none): the main preview's thumb dragged to the middle of the bar
// shows the middle picture and its time, and in the Trim dialog the start marker dragged
// to 2 s sets the start field to 00:00:02 and "Play trimmed part" starts at that picture.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include <unistd.h>

#include <X11/extensions/XTest.h>

#include "tests/app/x11/X11ProgramRun.h"

namespace {

using namespace vantrel::x11apptest;

// The main window's client area and points of it (as in the preview's own cases).
constexpr int SeekClientWidth = 792;
constexpr int SeekClientHeight = 449;
constexpr int SeekTrimX = 45, SeekTrimY = 120 + 45;
constexpr int SeekRowX = 92 + 60, SeekRowY = 29 + 40;
constexpr int SeekPlayX = 530 + 12, SeekPlayY = 309 + 12;
constexpr int SeekStopX = 555 + 12, SeekStopY = 309 + 12;
constexpr int SeekPanelX = 530, SeekPanelY = 71, SeekPanelW = 250, SeekPanelH = 160;
constexpr int SeekTimeX = 530, SeekTimeY = 252, SeekTimeW = 250, SeekTimeH = 16;
constexpr int SeekBarX = 530, SeekBarY = 277, SeekBarW = 250, SeekBarH = 20;
// Points of the Trim dialog's client area.
constexpr int TrimPanelX = 18, TrimPanelY = 17, TrimPanelW = 461, TrimPanelH = 271;
constexpr int TrimBarLeft = 10, TrimBarWidth = 456;  // a marker's left edge at time 0, the bar's width
constexpr int TrimMarkerY = 327 + 8, TrimMarkerGrab = 6;
constexpr int TrimStartOkX = 434 + 17;
constexpr int TrimStartFieldX = 342, TrimStartFieldY = 352, TrimStartFieldW = 88, TrimStartFieldH = 21;
constexpr int TrimStopX = 64 + 12, TrimPlayTrimmedX = 183 + 12, TrimButtonY = 348 + 12;
constexpr int SeekRate = 20;  // pictures a second of the clips

// A drag at a hand's pace: a moment after the press, between the moves and before the
// release.
void SeekDrag(Display* Dpy, Window W, int X0, int Y0, int X1, int Y1) {
  MovePointerTo(Dpy, W, X0, Y0);
  usleep(50000);
  XTestFakeButtonEvent(Dpy, 1, True, CurrentTime);
  XSync(Dpy, False);
  for (int Step = 1; Step <= 10; ++Step) {
    usleep(50000);
    MovePointerTo(Dpy, W, X0 + (X1 - X0) * Step / 10, Y0 + (Y1 - Y0) * Step / 10);
  }
  usleep(50000);
  XTestFakeButtonEvent(Dpy, 1, False, CurrentTime);
  XSync(Dpy, False);
}

int SeekWindowSize(Display* Dpy, Window W, bool AWidth) {
  XWindowAttributes A{};
  XGetWindowAttributes(Dpy, W, &A);
  return AWidth ? A.width : A.height;
}

// The picture number a grey pixel shows (the overlay shows luma 40 + n as that grey);
// below 0 for black.
// Not grey (the placeholder, a button): a large negative number.
int SeekPictureOf(uint32_t APixel) {
  const int R = static_cast<int>((APixel >> 16) & 0xFF), G = static_cast<int>((APixel >> 8) & 0xFF),
            B = static_cast<int>(APixel & 0xFF);
  if (std::abs(R - G) > 3 || std::abs(B - G) > 3) return -1000;
  return G - 40;
}

class UserSeek : public UserLevelTest {
 protected:
  void SetUp() override {
    UserLevelTest::SetUp();
    if (HasFatalFailure() || IsSkipped()) return;
    Border = (SeekWindowSize(Dpy, Main, true) - SeekClientWidth) / 2;
    ClientTop = SeekWindowSize(Dpy, Main, false) - SeekClientHeight - Border;
  }

  // ASeconds of grey pictures, one key frame.
  std::string MakeGreyClip(const std::string& AName, int ASeconds) {
    const std::string Path = Program->Home().File(AName);
    const std::string Cmd = "ffmpeg -nostdin -v error -y -f lavfi -i 'color=c=black:size=160x120:rate=" +
                            std::to_string(SeekRate) + ":duration=" + std::to_string(ASeconds) +
                            ",format=yuv420p,geq=lum=40+N:cb=128:cr=128' -c:v libx264 -qp 0 -g 100000 "
                            "-keyint_min 100000 -sc_threshold 0 '" + Path + "'";
    EXPECT_EQ(std::system(Cmd.c_str()), 0) << Cmd;
    return Path;
  }
  void Click(int X, int Y) { ClickAt(Dpy, Main, Border + X, ClientTop + Y); }

  // "Add Video", the name typed into the open dialog, Open.
  void AddThroughTheOpenDialog(const std::string& APath) {
    ASSERT_TRUE(AddThroughOpenDialog(Dpy, Main, APath)) << APath;
  }

  std::vector<uint32_t> Part(Window W, int AX0, int AY0, int X, int Y, int Width, int Height) {
    const TCapture C = CaptureWindow(Dpy, W);
    std::vector<uint32_t> Out;
    for (int Row = Y; Row < Y + Height; ++Row)
      for (int Col = X; Col < X + Width; ++Col) Out.push_back(C.At(AX0 + Col, AY0 + Row));
    return Out;
  }
  std::vector<uint32_t> TimeLabel() { return Part(Main, Border, ClientTop, SeekTimeX, SeekTimeY, SeekTimeW, SeekTimeH); }
  // Above the placeholder's play sign, which is white.
  int MainPicture() {
    return SeekPictureOf(CaptureWindow(Dpy, Main).At(Border + SeekPanelX + SeekPanelW / 2,
                                                      ClientTop + SeekPanelY + SeekPanelH / 4));
  }
  // The columns of the bar's middle row where the thumb stands: those that differ clearly
  // from the groove, which is the colour most of the row has (the groove's played part
  // left of the thumb has a shade of its own, a few levels off).
  std::pair<int, int> ThumbSpan() {
    const std::vector<uint32_t> Row = Part(Main, Border, ClientTop, SeekBarX, SeekBarY + SeekBarH / 2, SeekBarW, 1);
    std::vector<uint32_t> Sorted = Row;
    std::sort(Sorted.begin(), Sorted.end());
    uint32_t Groove = Sorted[0];
    size_t Best = 0;
    for (size_t I = 0; I < Sorted.size();) {
      size_t J = I;
      while (J < Sorted.size() && Sorted[J] == Sorted[I]) ++J;
      if (J - I > Best) {
        Best = J - I;
        Groove = Sorted[I];
      }
      I = J;
    }
    int First = -1, Last = -1;
    // Skip the bar's own ends (a few columns of frame each side).
    const auto Level = [](uint32_t P, int Shift) { return static_cast<int>((P >> Shift) & 0xFF); };
    const auto FarFromGroove = [&](uint32_t P) {
      int D = 0;
      for (int Shift : {0, 8, 16}) D += std::abs(Level(P, Shift) - Level(Groove, Shift));
      return D > 24;
    };
    for (int X = 4; X < SeekBarW - 4; ++X)
      if (FarFromGroove(Row[static_cast<size_t>(X)])) {
        if (First < 0) First = X;
        Last = X;
      }
    return {First, Last};
  }

  // The Trim dialog on a grey clip of ASeconds, playing for a second.
  Window OpenTrimOn(const std::string& AName, int ASeconds) {
    const std::string Clip = MakeGreyClip(AName, ASeconds);
    AddThroughTheOpenDialog(Clip);
    if (HasFatalFailure()) return 0;
    Click(SeekRowX, SeekRowY);
    Click(SeekTrimX, SeekTrimY);
    const Window Trim = WaitForWindow(Dpy, "Trim", 20);
    if (Trim == 0) return 0;
    WaitForPaintedCaption(Dpy, Trim, 4);
    usleep(1000000);  // it plays: the drag comes before its end
    return Trim;
  }
  // The Trim dialog has the main window's frame.
  std::vector<uint32_t> TrimStartField(Window Trim) {
    return Part(Trim, Border, ClientTop, TrimStartFieldX, TrimStartFieldY, TrimStartFieldW, TrimStartFieldH);
  }
  // The start field after "00:00:02" is typed into it and taken with its "OK".
  std::vector<uint32_t> TrimStartFieldTyped(Window Trim, const std::string& AText) {
    DoubleClickAt(Dpy, Trim, Border + TrimStartFieldX + 20, ClientTop + TrimStartFieldY + 10);
    PressKeys(Dpy, "ctrl+a");
    EXPECT_TRUE(TypeText(Dpy, AText));
    ClickAt(Dpy, Trim, Border + TrimStartOkX, ClientTop + TrimStartFieldY + 10);
    usleep(800000);
    return TrimStartField(Trim);
  }

  int Border = 0, ClientTop = 0;
};

TEST_F(UserSeek, TheThumbDraggedToTheMiddleShowsTheMiddle) {
  constexpr int Seconds = 10;
  const std::string Clip = MakeGreyClip("grey10.mp4", Seconds);
  AddThroughTheOpenDialog(Clip);
  Click(SeekRowX, SeekRowY);

  // Played and paused at its first pictures.
  Click(SeekPlayX, SeekPlayY);
  ASSERT_TRUE(WaitUntil([&] { return MainPicture() >= 0; }, 30)) << "the clip does not play";
  Click(SeekPlayX, SeekPlayY);
  usleep(500000);
  const int PausedAt = MainPicture();
  ASSERT_LT(PausedAt, Seconds * SeekRate / 4);

  // The thumb's centre dragged to the bar's centre: half of the clip.
  const auto [First, Last] = ThumbSpan();
  ASSERT_GE(First, 0) << "no thumb on the bar";
  const int Grab = (First + Last) / 2;
  SeekDrag(Dpy, Main, Border + SeekBarX + Grab, ClientTop + SeekBarY + SeekBarH / 2, Border + SeekBarX + SeekBarW / 2,
           ClientTop + SeekBarY + SeekBarH / 2);
  const int Middle = Seconds * SeekRate / 2;
  EXPECT_TRUE(WaitUntil([&] { return std::abs(MainPicture() - Middle) <= SeekRate; }, 10))
      << "the picture after the drag is " << MainPicture() << ", the middle is " << Middle;
  usleep(500000);
  SaveCapture(CaptureWindow(Dpy, Main), testing::TempDir() + "x11-seek-after-drag.png");
  const auto Label = TimeLabel();

  // That time label is one the clip shows, played from its start, while its pictures
  // are within a second of the middle.
  Click(SeekStopX, SeekStopY);
  usleep(1000000);
  Click(SeekPlayX, SeekPlayY);
  bool Near = false, Restarted = false;
  WaitUntil([&] {
    const int Now = MainPicture();
    Restarted = Restarted || (Now >= 0 && Now < Middle - 2 * SeekRate);
    if (Restarted && std::abs(Now - Middle) <= SeekRate && TimeLabel() == Label) Near = true;
    return Near || Now > Middle + 2 * SeekRate;
  }, 30);
  EXPECT_TRUE(Near) << "the time label is not within a second of the middle (restarted: " << Restarted
                    << ", last picture " << MainPicture() << ")";
}

TEST_F(UserSeek, TheThumbDraggedBackWhilePausedShowsThatTime) {
  constexpr int Seconds = 10;
  const std::string Clip = MakeGreyClip("grey10back.mp4", Seconds);
  AddThroughTheOpenDialog(Clip);
  Click(SeekRowX, SeekRowY);

  // Played up to about 7 s, then paused there (Pause lies over Play).
  Click(SeekPlayX, SeekPlayY);
  ASSERT_TRUE(WaitUntil([&] { return MainPicture() >= 7 * SeekRate - SeekRate / 4; }, 40)) << "the clip does not play";
  Click(SeekPlayX, SeekPlayY);
  usleep(800000);
  const int PausedAt = MainPicture();
  ASSERT_GE(PausedAt, 6 * SeekRate);
  ASSERT_LT(PausedAt, 9 * SeekRate) << "not paused";
  const auto PausedLabel = TimeLabel();

  // The thumb dragged leftwards to 30 % of the bar.
  const auto [First, Last] = ThumbSpan();
  ASSERT_GE(First, 0) << "no thumb on the bar";
  ASSERT_GT(First, SeekBarW / 2) << "the thumb does not stand near 7 s";
  const int Grab = (First + Last) / 2;
  SeekDrag(Dpy, Main, Border + SeekBarX + Grab, ClientTop + SeekBarY + SeekBarH / 2,
           Border + SeekBarX + SeekBarW * 3 / 10, ClientTop + SeekBarY + SeekBarH / 2);
  const int Target = Seconds * SeekRate * 3 / 10;
  EXPECT_TRUE(WaitUntil([&] { return std::abs(MainPicture() - Target) <= SeekRate; }, 10))
      << "the picture after the drag is " << MainPicture() << ", 3 s is " << Target;
  const auto [NewFirst, NewLast] = ThumbSpan();
  EXPECT_LT(NewLast, SeekBarW / 2) << "the thumb went back to " << NewFirst;
  // Still paused: the picture stays.
  usleep(700000);
  const int Settled = MainPicture();
  usleep(700000);
  EXPECT_EQ(MainPicture(), Settled) << "the clip plays on after a seek while paused";
  SaveCapture(CaptureWindow(Dpy, Main), testing::TempDir() + "x11-seek-back-paused.png");
  const auto Label = TimeLabel();
  EXPECT_FALSE(Label == PausedLabel) << "the time label stayed at the paused time";

  // That label is one the clip shows, played from its start, within a second of 3 s.
  Click(SeekStopX, SeekStopY);
  usleep(1000000);
  Click(SeekPlayX, SeekPlayY);
  bool Near = false;
  WaitUntil([&] {
    const int Now = MainPicture();
    if (Now >= 0 && std::abs(Now - Target) <= SeekRate && TimeLabel() == Label) Near = true;
    return Near || Now > Target + 2 * SeekRate;
  }, 30);
  EXPECT_TRUE(Near) << "the time label is not within a second of 3 s (last picture " << MainPicture() << ")";
}

TEST_F(UserSeek, TheTrimStartMarkerDraggedTo2sStartsThePartThere) {
  constexpr int Seconds = 8;  // 2 s is a whole pixel of the bar: 456 / 4
  const std::string Clip = MakeGreyClip("grey8.mp4", Seconds);
  AddThroughTheOpenDialog(Clip);
  Click(SeekRowX, SeekRowY);
  Click(SeekTrimX, SeekTrimY);
  const Window Trim = WaitForWindow(Dpy, "Trim", 20);
  ASSERT_NE(Trim, 0u);
  WaitForPaintedCaption(Dpy, Trim, 4);
  // The dialog has the main window's frame.
  const int TB = Border, TT = ClientTop;
  const auto TrimPicture = [&] {
    return SeekPictureOf(CaptureWindow(Dpy, Trim).At(TB + TrimPanelX + TrimPanelW / 2, TT + TrimPanelY + TrimPanelH / 2));
  };
  const auto StartField = [&] {
    return Part(Trim, TB, TT, TrimStartFieldX, TrimStartFieldY, TrimStartFieldW, TrimStartFieldH);
  };
  usleep(1000000);  // it plays: the drag comes before its end
  SaveCapture(CaptureWindow(Dpy, Trim), testing::TempDir() + "x11-seek-trim-opened.png");
  const int To = TrimBarLeft + TrimBarWidth * 2 / Seconds;
  SeekDrag(Dpy, Trim, TB + TrimBarLeft + TrimMarkerGrab, TT + TrimMarkerY, TB + To + TrimMarkerGrab, TT + TrimMarkerY);
  usleep(1500000);
  SaveCapture(CaptureWindow(Dpy, Trim), testing::TempDir() + "x11-seek-trim-dragged.png");
  const auto Dragged = StartField();

  // Stopped, then "Play trimmed part": the first picture seen is the one at 2 s, none
  // before it.
  ClickAt(Dpy, Trim, TB + TrimStopX, TT + TrimButtonY);
  usleep(1000000);
  const int Stopped = TrimPicture();
  std::vector<int> Seen;
  ClickAt(Dpy, Trim, TB + TrimPlayTrimmedX, TT + TrimButtonY);
  WaitUntil([&] {
    const int Now = TrimPicture();
    if (Now >= 0 && (Now != Stopped || !Seen.empty())) Seen.push_back(Now);
    return !Seen.empty() && Seen.back() >= 3 * SeekRate;
  }, 10);
  ASSERT_FALSE(Seen.empty()) << "the trimmed part shows no picture";
  const int At2s = 2 * SeekRate;
  EXPECT_GE(*std::min_element(Seen.begin(), Seen.end()), At2s - 1) << "a picture before the start marker showed";
  EXPECT_LE(Seen.front(), At2s + SeekRate / 2) << "the part did not start at the marker";

  // The start field shows what "00:00:02" typed into it shows.
  DoubleClickAt(Dpy, Trim, TB + TrimStartFieldX + 20, TT + TrimStartFieldY + 10);
  PressKeys(Dpy, "ctrl+a");
  ASSERT_TRUE(TypeText(Dpy, "00:00:02"));
  ClickAt(Dpy, Trim, TB + TrimStartOkX, TT + TrimStartFieldY + 10);
  usleep(800000);
  SaveCapture(CaptureWindow(Dpy, Trim), testing::TempDir() + "x11-seek-trim-typed.png");
  EXPECT_TRUE(Dragged == StartField()) << "the start field does not show 00:00:02 after the drag";
  PressKeys(Dpy, "Escape");
}

// A user drags fast: the kit's drag moves in 10 ms steps, the press and the first move at
// once. The marker stands where it was dropped and the start field shows its time.
TEST_F(UserSeek, TheTrimStartMarkerDraggedFastKeepsTheDropTime) {
  constexpr int Seconds = 8;
  const Window Trim = OpenTrimOn("grey8fast.mp4", Seconds);
  ASSERT_NE(Trim, 0u);
  const int To = TrimBarLeft + TrimBarWidth * 2 / Seconds;
  DragFromTo(Dpy, Trim, Border + TrimBarLeft + TrimMarkerGrab, ClientTop + TrimMarkerY, Border + To + TrimMarkerGrab,
             ClientTop + TrimMarkerY);
  usleep(1500000);
  SaveCapture(CaptureWindow(Dpy, Trim), testing::TempDir() + "x11-seek-trim-fast.png");
  // The marker (in the line's colour, 0x3C8ABF) stands at its drop point, not at the start.
  const TCapture C = CaptureWindow(Dpy, Trim);
  const auto IsMarker = [](uint32_t P) { return (P & 0xFFFFFF) == 0x3C8ABFu; };
  EXPECT_TRUE(IsMarker(C.At(Border + To + TrimMarkerGrab, ClientTop + TrimMarkerY)))
      << "the start marker is not at its drop point";
  EXPECT_FALSE(IsMarker(C.At(Border + TrimBarLeft + TrimMarkerGrab, ClientTop + TrimMarkerY)))
      << "the start marker stayed at the start";
  const auto Dragged = TrimStartField(Trim);
  EXPECT_TRUE(Dragged == TrimStartFieldTyped(Trim, "00:00:02")) << "the start field does not show 00:00:02 after the drag";
  PressKeys(Dpy, "Escape");
}

}  // namespace
