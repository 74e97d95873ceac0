// The main window's preview as a user drives it under a window manager: a clip added
// through the open dialog plays in the preview, the place of the Play button pauses it
// (the picture and the time label stand still), plays on, and Stop covers the preview
// again; without a sound device a clip with pictures still plays and a sound-only file
// brings up the error report.
#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <string>

#include <unistd.h>

#include "tests/app/x11/X11ProgramRun.h"

namespace {

using namespace vantrel::x11apptest;

// The main window's client area, and points of it: the first grid row, the Play/Pause
// place and Stop; the preview panel and the time label.
constexpr int PreviewClientWidth = 792;
constexpr int PreviewClientHeight = 449;
constexpr int PreviewRowX = 92 + 60, PreviewRowY = 29 + 40;
constexpr int PreviewPlayX = 530 + 12, PreviewPlayY = 309 + 12;
constexpr int PreviewStopX = 555 + 12, PreviewStopY = 309 + 12;
constexpr int PreviewPanelX = 530, PreviewPanelY = 71, PreviewPanelW = 250, PreviewPanelH = 160;
constexpr int PreviewTimeX = 530, PreviewTimeY = 252, PreviewTimeW = 250, PreviewTimeH = 16;

int PreviewSize(Display* Dpy, Window W, bool AWidth) {
  XWindowAttributes A{};
  XGetWindowAttributes(Dpy, W, &A);
  return AWidth ? A.width : A.height;
}

class UserPreview : public UserLevelTest {
 protected:
  void SetUp() override {
    UserLevelTest::SetUp();
    if (HasFatalFailure() || IsSkipped()) return;
    Border = (PreviewSize(Dpy, Main, true) - PreviewClientWidth) / 2;
    ClientTop = PreviewSize(Dpy, Main, false) - PreviewClientHeight - Border;
  }

  std::string MakeClip(const std::string& AName, const std::string& AInputs) {
    const std::string Path = Program->Home().File(AName);
    const std::string Cmd = "ffmpeg -nostdin -v error -y " + AInputs + " '" + Path + "'";
    EXPECT_EQ(std::system(Cmd.c_str()), 0) << Cmd;
    return Path;
  }
  void Click(int X, int Y) { ClickAt(Dpy, Main, Border + X, ClientTop + Y); }

  // The pixels of a part of the client area.
  std::vector<uint32_t> Part(int X, int Y, int W, int H) {
    const TCapture C = CaptureWindow(Dpy, Main);
    std::vector<uint32_t> Out;
    for (int Row = Y; Row < Y + H; ++Row)
      for (int Col = X; Col < X + W; ++Col) Out.push_back(C.At(Border + Col, ClientTop + Row));
    return Out;
  }
  std::vector<uint32_t> Panel() { return Part(PreviewPanelX, PreviewPanelY, PreviewPanelW, PreviewPanelH); }
  std::vector<uint32_t> TimeLabel() { return Part(PreviewTimeX, PreviewTimeY, PreviewTimeW, PreviewTimeH); }
  // The picture moves: two captures 0.6 s apart differ.
  bool Moving() {
    const auto Before = Panel();
    usleep(600000);
    return Panel() != Before;
  }

  int Border = 0, ClientTop = 0;
};

TEST_F(UserPreview, PlayPauseResumeAndStopOnOnePlace) {
  // A clip whose picture changes with every frame (a moving counter), 30 s long.
  const std::string Clip = MakeClip(
      "moving.mp4", "-f lavfi -i testsrc=size=320x240:rate=25:duration=30 -c:v libx264 -pix_fmt yuv420p");
  ASSERT_TRUE(AddThroughOpenDialog(Dpy, Main, Clip));
  Click(PreviewRowX, PreviewRowY);
  const auto Placeholder = Panel();

  Click(PreviewPlayX, PreviewPlayY);
  ASSERT_TRUE(WaitUntil([&] { return Panel() != Placeholder && Moving(); }, 30)) << "the clip does not play";
  const auto TimeBefore = TimeLabel();
  ASSERT_TRUE(WaitUntil([&] { return TimeLabel() != TimeBefore; }, 5)) << "the time label stands still";
  SaveCapture(CaptureWindow(Dpy, Main), testing::TempDir() + "x11-preview-playing.png");

  // The same place now pauses: picture and time label stop.
  Click(PreviewPlayX, PreviewPlayY);
  ASSERT_TRUE(WaitUntil([&] { return !Moving(); }, 10)) << "the picture goes on after Pause";
  const auto PausedPicture = Panel();
  const auto PausedTime = TimeLabel();
  usleep(1500000);
  EXPECT_EQ(Panel(), PausedPicture) << "the picture goes on while paused";
  EXPECT_EQ(TimeLabel(), PausedTime) << "the time goes on while paused";
  EXPECT_NE(PausedPicture, Placeholder);
  SaveCapture(CaptureWindow(Dpy, Main), testing::TempDir() + "x11-preview-paused.png");

  // Again: it plays on from there.
  Click(PreviewPlayX, PreviewPlayY);
  EXPECT_TRUE(WaitUntil([&] { return Moving(); }, 10)) << "the clip does not play on";
  EXPECT_TRUE(WaitUntil([&] { return TimeLabel() != PausedTime; }, 5));

  // Stop covers the preview with its placeholder again.
  Click(PreviewStopX, PreviewStopY);
  EXPECT_TRUE(WaitUntil([&] { return !Moving(); }, 10)) << "Stop did not stop the picture";
  EXPECT_EQ(FindWindow(Dpy, "Error!"), 0u);
}

// The Edit dialog, paused: a crop typed into the width and height fields shows in the
// output preview at once, the paused picture zoomed to the new crop.
TEST_F(UserPreview, ThePausedEditDialogShowsANewCropInItsOutputPreview) {
  // Blue with a red top-left quarter.
  const std::string Clip = MakeClip("quarters.mp4",
                                    "-f lavfi -i color=c=blue:s=320x240:r=25:d=30 -f lavfi -i color=c=red:s=160x120:r=25:d=30 "
                                    "-filter_complex overlay=shortest=1 -c:v libx264 -pix_fmt yuv420p");
  ASSERT_TRUE(AddThroughOpenDialog(Dpy, Main, Clip));
  Click(PreviewRowX, PreviewRowY);
  Click(45, 212 + 45);  // Edit
  const Window Edit = WaitForWindow(Dpy, "Edit", 20);
  ASSERT_NE(Edit, 0u);
  WaitForPaintedCaption(Dpy, Edit, 4);
  const int EB = (PreviewSize(Dpy, Edit, true) - 700) / 2;
  const int ET = PreviewSize(Dpy, Edit, false) - 466 - EB;
  const auto At = [&](int X, int Y) {
    const uint32_t P = CaptureWindow(Dpy, Edit).At(EB + X, ET + Y);
    return std::array<int, 3>{static_cast<int>((P >> 16) & 0xFF), static_cast<int>((P >> 8) & 0xFF),
                              static_cast<int>(P & 0xFF)};
  };
  const auto Red = [](std::array<int, 3> C) { return C[0] > 180 && C[1] < 80 && C[2] < 80; };
  const auto Blue = [](std::array<int, 3> C) { return C[2] > 180 && C[0] < 80 && C[1] < 80; };
  // A point of the output preview in the picture's bottom-right quarter.
  constexpr int ProbeX = 368 + 319 * 3 / 4, ProbeY = 35 + 222 * 3 / 4;
  ASSERT_TRUE(WaitUntil([&] { return Blue(At(ProbeX, ProbeY)); }, 20)) << "the output preview shows no picture";
  ClickAt(Dpy, Edit, EB + 43 + 12, ET + 279 + 12);  // Pause
  usleep(800000);
  for (const auto& [X, Value] : {std::pair{110 + 30, "160"}, std::pair{288 + 30, "120"}}) {
    DoubleClickAt(Dpy, Edit, EB + X, ET + 384 + 10);
    ASSERT_TRUE(WaitForFocus(Dpy, Edit, 10)) << "the editor never took the keyboard focus";
    PressKeys(Dpy, "ctrl+a");
    ASSERT_TRUE(TypeText(Dpy, Value));
    PressKeys(Dpy, "Tab");
  }
  EXPECT_TRUE(WaitUntil([&] { return Red(At(ProbeX, ProbeY)) && Red(At(368 + 20, 35 + 20)); }, 30))
      << "the paused output preview does not show the crop";
  SaveCapture(CaptureWindow(Dpy, Edit), testing::TempDir() + "x11-preview-edit-paused-crop.png");
  PressKeys(Dpy, "Escape");
}

class UserPreviewWithoutSound : public UserPreview {
 protected:
  TProgramOptions Options() const override { return {{}, {"SDL_AUDIODRIVER=no-such-sound-device"}}; }
};

TEST_F(UserPreviewWithoutSound, AClipPlaysSilentlyAndASoundFileIsReported) {
  const std::string Clip =
      MakeClip("with-sound.mp4",
               "-f lavfi -i testsrc=size=320x240:rate=25:duration=20 -f lavfi -i sine=frequency=440:duration=20 "
               "-c:v libx264 -pix_fmt yuv420p -c:a aac -shortest");
  ASSERT_TRUE(AddThroughOpenDialog(Dpy, Main, Clip));
  Click(PreviewRowX, PreviewRowY);
  const auto Placeholder = Panel();
  Click(PreviewPlayX, PreviewPlayY);
  EXPECT_TRUE(WaitUntil([&] { return Panel() != Placeholder && Moving(); }, 30)) << "the clip does not play";
  EXPECT_EQ(FindWindow(Dpy, "Error!"), 0u);
  Click(PreviewStopX, PreviewStopY);
  ASSERT_TRUE(WaitUntil([&] { return !Moving(); }, 10)) << "Stop did not stop the clip";

  const std::string Tone = MakeClip("tone.wav", "-f lavfi -i sine=frequency=440:duration=3 -c:a pcm_s16le");
  ASSERT_TRUE(AddThroughOpenDialog(Dpy, Main, Tone));
  Click(PreviewRowX, PreviewRowY + 20);  // the second row
  Click(PreviewPlayX, PreviewPlayY);
  const Window Report = WaitForWindow(Dpy, "Error!", 20);
  ASSERT_NE(Report, 0u) << "a file that cannot play is not reported";
  WaitForPaintedCaption(Dpy, Report, 4);
  const int ReportW = PreviewSize(Dpy, Report, true), ReportH = PreviewSize(Dpy, Report, false);
  EXPECT_TRUE(WaitUntil([&] { return CaptureWindow(Dpy, Report).At(ReportW / 2, ReportH / 2) != 0; }, 10));
  SaveCapture(CaptureScreen(Dpy), testing::TempDir() + "x11-preview-no-sound-device.png");
}

}  // namespace
